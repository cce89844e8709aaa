#pragma once

#include <cstddef>

// Everything that differs between the platforms the program runs on.
namespace napinavost::platform {

// Makes writes to a closed output fail quietly instead of ending the process.
void prepare_process();

// An input port's reader over the process's standard input; `context` is unused.
std::size_t read_standard_input(void* context, char* buffer, std::size_t capacity);

// Keeps the console open until a key is pressed: the command processor's PAUSE
// on Windows; elsewhere a stand-in that does nothing when no person is at the
// console.
// A pause port's function; `context` is unused.
void pause_console(void* context);

}  // namespace napinavost::platform
