#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace napinavost {

// Where the dialogue reads: `read_some` fills `buffer` with whatever input is
// available now, waiting only while none is, and returns 0 at the end of the
// input. Each port hands its context back to its functions.
struct InputPort {
    std::size_t (*read_some)(void* context, char* buffer, std::size_t capacity) = nullptr;
    void* context = nullptr;
};

// Where the dialogue writes: `write` hands text over at once, `flush` delivers
// everything handed over so far to its destination.
struct OutputPort {
    void (*write)(void* context, std::string_view text) = nullptr;
    void (*flush)(void* context) = nullptr;
    void* context = nullptr;
};

// Waits for a key where a person may be watching; the dialogue calls it once.
struct PausePort {
    void (*pause)(void* context) = nullptr;
    void* context = nullptr;
};

struct ConsolePorts {
    InputPort input;
    OutputPort output;
    PausePort pause;
};

// Output through a C stream, such as the process's standard output.
OutputPort stream_output(std::FILE* stream);

// Once set, a flag stays set for the rest of the run.
struct InputState {
    bool at_end = false;  // the input ended while a number was being looked for
    bool failed = false;  // an extraction failed
};

// What reading has taken from the input port and how far it has got.
struct InputBuffer {
    InputState state;
    bool source_ended = false;
    std::size_t next = 0;
    std::size_t filled = 0;
    std::array<char, 64 * 1024> bytes;
};

// The ports the dialogue talks through and its reading state; every run
// starts with clear flags. `output_pending` tells whether anything written
// since the last flush still has to be delivered.
struct Console {
    ConsolePorts ports;
    InputBuffer input;
    bool output_pending = false;
};

Console make_console(ConsolePorts ports);

// One whole number in base 10, wrapped modulo 2^64; nothing when none can be read.
std::optional<std::int64_t> read_integer(Console& console);
// The low 32 bits of the number; the count stays as it was when no number is read.
void read_count(Console& console, std::int32_t& count);
// Whether the number is nonzero; the code stays as it was when no number is
// read. Returns whether a number was read.
bool read_goal(Console& console, bool& code);
// Up to `most` (at most 64) goals at once, where the input allows it: reads
// what as many read_goal calls would, for the goals it takes, and returns how
// many it took, each one's code in `codes`, the first in the lowest bit. It
// takes none, and `codes` is left as it was, where the first goal is not one
// white-space character and one digit, with the character after it at hand
// and output delivered; read_goal takes it then.
int read_goal_block(Console& console, std::uint64_t& codes, int most);

void write_text(Console& console, std::string_view text);
// Six significant digits in the shortest general form, as C's "%g" writes them.
void write_index(Console& console, float value);
// A line end, then everything written so far is delivered.
void write_line_end(Console& console);
void flush_output(Console& console);
// Delivers everything written so far, then waits for a key through the pause port.
void pause_after_output(Console& console);

}  // namespace napinavost
