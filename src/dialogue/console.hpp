#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

namespace napinavost {

// Once set, a flag stays set for the rest of the run.
struct InputState {
    bool at_end = false;  // the input ended while a number was being looked for
    bool failed = false;  // an extraction failed
};

// Fills `buffer` with whatever input is available now, waiting only while none
// is; returns 0 at the end of the input.
using ReadSome = std::size_t (*)(void* source, char* buffer, std::size_t capacity);

// Where the dialogue's texts go: `write` hands text over at once, `flush`
// delivers everything handed over so far to its destination.
struct Output {
    void (*write)(void* sink, std::string_view text) = nullptr;
    void (*flush)(void* sink) = nullptr;
    void* sink = nullptr;
};

// Output through a C stream, such as the process's standard output.
Output stream_output(std::FILE* stream);

// Where the dialogue reads its numbers and writes its texts; every run starts
// with clear flags. `output_pending` tells whether anything written since the
// last flush still has to be delivered.
struct Console {
    ReadSome read_some = nullptr;
    void* source = nullptr;
    Output output;
    // Waits for a key where a person may be watching; the dialogue calls it once.
    void (*pause)() = nullptr;

    InputState state;
    bool output_pending = false;
    bool source_ended = false;
    std::size_t next = 0;
    std::size_t filled = 0;
    std::array<char, 64 * 1024> buffer;
};

Console make_console(ReadSome read_some, void* source, Output output, void (*pause)());

// One whole number in base 10, wrapped modulo 2^64; nothing when none can be read.
std::optional<std::int64_t> read_integer(Console& console);
// The low 32 bits of the number; the count stays as it was when no number is read.
void read_count(Console& console, std::int32_t& count);
// Whether the number is nonzero; the code stays as it was when no number is read.
void read_goal(Console& console, bool& code);

void write_text(Console& console, std::string_view text);
// Six significant digits in the shortest general form, as C's "%g" writes them.
void write_index(Console& console, float value);
// A line end, then everything written so far is delivered.
void write_line_end(Console& console);
void flush_output(Console& console);

}  // namespace napinavost
