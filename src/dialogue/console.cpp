#include "dialogue/console.hpp"

#include <charconv>
#include <system_error>

namespace napinavost {

namespace {

constexpr int end_of_input = -1;

// The next input character without taking it; refills only when the buffer is
// used up, so a read never waits for more than the number it is reading.
int peek(Console& console) {
    if (console.next == console.filled) {
        if (console.source_ended) return end_of_input;
        console.next = 0;
        console.filled =
            console.read_some(console.source, console.buffer.data(), console.buffer.size());
        if (console.filled == 0) {
            console.source_ended = true;
            return end_of_input;
        }
    }
    return static_cast<unsigned char>(console.buffer[console.next]);
}

bool is_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// The first character after any white space, not taken.
int skip_space(Console& console) {
    int c = peek(console);
    while (is_space(c)) {
        ++console.next;
        c = peek(console);
    }
    return c;
}

bool fail_at_end(Console& console) {
    console.state.at_end = true;
    console.state.failed = true;
    return false;
}

// One number, wrapped modulo 2^64; false when none can be read. Kept apart from
// its callers' types so that the goal loop compiles to plain register code.
inline bool take_integer(Console& console, std::uint64_t& result) {
    if (console.state.at_end || console.state.failed) {
        console.state.failed = true;
        return false;
    }
    // A prompt written without a line end must be visible before we wait.
    flush_output(console);

    int c = skip_space(console);
    if (c == end_of_input) return fail_at_end(console);

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        ++console.next;
        c = skip_space(console);
        if (c == end_of_input) return fail_at_end(console);
    }
    if (!is_digit(c)) {
        console.state.failed = true;
        return false;
    }

    std::uint64_t value = 0;
    while (is_digit(c)) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        ++console.next;
        c = peek(console);
    }
    result = negative ? 0 - value : value;
    return true;
}

}  // namespace

Console make_console(ReadSome read_some, void* source, std::FILE* output, void (*pause)()) {
    Console console;
    console.read_some = read_some;
    console.source = source;
    console.output = output;
    console.pause = pause;
    return console;
}

std::optional<std::int64_t> read_integer(Console& console) {
    std::uint64_t value = 0;
    if (!take_integer(console, value)) return std::nullopt;
    return static_cast<std::int64_t>(value);
}

void read_count(Console& console, std::int32_t& count) {
    std::uint64_t value = 0;
    if (take_integer(console, value)) count = static_cast<std::int32_t>(value);
}

void read_goal(Console& console, bool& code) {
    std::uint64_t value = 0;
    if (take_integer(console, value)) code = value != 0;
}

void write_text(Console& console, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), console.output);
    console.output_pending = true;
}

void write_index(Console& console, float value) {
    std::array<char, 32> text;
    const auto result = std::to_chars(text.data(), text.data() + text.size(),
                                      static_cast<double>(value), std::chars_format::general, 6);
    write_text(console, std::string_view(text.data(), result.ptr - text.data()));
}

void write_line_end(Console& console) {
    write_text(console, "\n");
    flush_output(console);
}

void flush_output(Console& console) {
    // Flushing with nothing written since the last flush changes nothing; skipping
    // it keeps the per-goal read cheap.
    if (!console.output_pending) return;
    std::fflush(console.output);
    console.output_pending = false;
}

}  // namespace napinavost
