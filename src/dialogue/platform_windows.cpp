#include <io.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "dialogue/platform.hpp"

namespace napinavost::platform {

namespace {

bool input_is_console() {
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(0)), &mode) != 0;
}

}  // namespace

// Windows sends no signal for a write to a closed pipe; the write just fails.
void prepare_process() {}

// Standard input stays in the C library's text mode, as for any console
// program: CR LF arrives as LF and a Ctrl-Z ends the input. A console hands
// over one line per read, so a read never waits beyond the line being typed.
std::size_t read_standard_input(void*, char* buffer, std::size_t capacity) {
    // On Windows 7 and earlier a console read of 64 KiB can fail for want of
    // storage, which would end the input at once; consoles get 4 KiB a read.
    static const bool console = input_is_console();
    const std::size_t most = console ? 4096 : INT_MAX;
    const unsigned wanted = static_cast<unsigned>(std::min(capacity, most));
    const int got = _read(0, buffer, wanted);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// The command processor's own pause; when it cannot run, the program ends as usual.
void pause_console(void*) { static_cast<void>(std::system("PAUSE")); }

}  // namespace napinavost::platform
