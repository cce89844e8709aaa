#include <io.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "dialogue/platform.hpp"

namespace napinavost::platform {

// Windows sends no signal for a write to a closed pipe; the write just fails.
void prepare_process() {}

// Standard input stays in the C library's text mode, as for any console
// program: CR LF arrives as LF and a Ctrl-Z ends the input. A console hands
// over one line per read, so a read never waits beyond the line being typed.
std::size_t read_standard_input(void*, char* buffer, std::size_t capacity) {
    const unsigned wanted = static_cast<unsigned>(std::min<std::size_t>(capacity, INT_MAX));
    const int got = _read(0, buffer, wanted);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

// The command processor's own pause; when it cannot run, the program ends as usual.
void pause_console(void*) { static_cast<void>(std::system("PAUSE")); }

}  // namespace napinavost::platform
