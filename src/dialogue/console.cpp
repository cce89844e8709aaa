#include "dialogue/console.hpp"

#include "suspense/index_text.hpp"

namespace napinavost {

namespace {

constexpr int end_of_input = -1;

// Asks the source for more once the buffer is used up; false at the end of the input.
bool refill(Console& console) {
    if (console.source_ended) return false;
    console.next = 0;
    console.filled =
        console.read_some(console.source, console.buffer.data(), console.buffer.size());
    console.source_ended = console.filled == 0;
    return !console.source_ended;
}

// The reading position during one number, held apart from the console so that
// the character loop runs in registers; `save` hands it back.
struct Cursor {
    Console& console;
    std::size_t next = console.next;
    std::size_t filled = console.filled;

    // The next character without taking it. Only an empty buffer asks the source
    // for more, so a read never waits for more than the number it is reading.
    int peek() {
        if (next == filled) [[unlikely]] {
            save();
            const bool more = refill(console);
            next = console.next;
            filled = console.filled;
            if (!more) return end_of_input;
        }
        return static_cast<unsigned char>(console.buffer[next]);
    }
    void take() { ++next; }
    void save() { console.next = next; }
};

bool is_space(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// The first character after any white space, not taken.
int skip_space(Cursor& in) {
    int c = in.peek();
    while (is_space(c)) {
        in.take();
        c = in.peek();
    }
    return c;
}

bool fail(Console& console, int c) {
    console.state.at_end = console.state.at_end || c == end_of_input;
    console.state.failed = true;
    return false;
}

bool scan_integer(Cursor& in, std::uint64_t& result) {
    // White space may stand before the number and between its sign and digits.
    int c = 0;
    bool signed_number = false;
    bool negative = false;
    for (;;) {
        c = skip_space(in);
        if (signed_number || (c != '+' && c != '-')) break;
        signed_number = true;
        negative = c == '-';
        in.take();
    }
    if (!is_digit(c)) return fail(in.console, c);

    std::uint64_t value = 0;
    do {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        in.take();
        c = in.peek();
    } while (is_digit(c));
    result = negative ? 0 - value : value;
    return true;
}

// One number, wrapped modulo 2^64; false when none can be read.
bool take_integer(Console& console, std::uint64_t& result) {
    if (console.state.at_end || console.state.failed) {
        console.state.failed = true;
        return false;
    }
    // A prompt written without a line end must be visible before we wait.
    flush_output(console);
    Cursor in{console};
    const bool taken = scan_integer(in, result);
    in.save();
    return taken;
}

}  // namespace

Output stream_output(std::FILE* stream) {
    return {[](void* sink, std::string_view text) {
                std::fwrite(text.data(), 1, text.size(), static_cast<std::FILE*>(sink));
            },
            [](void* sink) { std::fflush(static_cast<std::FILE*>(sink)); }, stream};
}

Console make_console(ReadSome read_some, void* source, Output output, void (*pause)()) {
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
    // Most goals are one digit after one white-space character, with the
    // character that ends them already in the buffer: take those directly. What
    // the general path would do for them is exactly the same.
    const char* ahead = console.buffer.data() + console.next;
    if (console.filled - console.next > 2 && !console.state.failed && !console.output_pending &&
        is_space(ahead[0]) && is_digit(ahead[1]) && !is_digit(ahead[2])) {
        code = ahead[1] != '0';
        console.next += 2;
        return;
    }
    std::uint64_t value = 0;
    if (take_integer(console, value)) code = value != 0;
}

void write_text(Console& console, std::string_view text) {
    console.output.write(console.output.sink, text);
    console.output_pending = true;
}

void write_index(Console& console, float value) { write_text(console, index_text(value).view()); }

void write_line_end(Console& console) {
    write_text(console, "\n");
    flush_output(console);
}

void flush_output(Console& console) {
    // Flushing with nothing written since the last flush changes nothing; skipping
    // it keeps the per-goal read cheap.
    if (!console.output_pending) return;
    console.output.flush(console.output.sink);
    console.output_pending = false;
}

}  // namespace napinavost
