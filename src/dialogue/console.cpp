#include "dialogue/console.hpp"

#include <cassert>

#include "suspense/index_text.hpp"

namespace napinavost {

namespace {

constexpr int end_of_input = -1;

// Asks the source for more once the buffer is used up; false at the end of the input.
bool refill(Console& console) {
    InputBuffer& input = console.input;
    if (input.source_ended) return false;
    input.next = 0;
    input.filled = console.ports.input.read_some(console.ports.input.context, input.bytes.data(),
                                                 input.bytes.size());
    input.source_ended = input.filled == 0;
    return !input.source_ended;
}

// The reading position during one number, held apart from the console so that
// the character loop runs in registers; `save` hands it back.
struct Cursor {
    Console& console;
    std::size_t next = console.input.next;
    std::size_t filled = console.input.filled;

    // The next character without taking it. Only an empty buffer asks the source
    // for more, so a read never waits for more than the number it is reading.
    int peek() {
        if (next == filled) [[unlikely]] {
            save();
            const bool more = refill(console);
            next = console.input.next;
            filled = console.input.filled;
            if (!more) return end_of_input;
        }
        return static_cast<unsigned char>(console.input.bytes[next]);
    }
    void take() { ++next; }
    void save() { console.input.next = next; }
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

std::optional<std::uint64_t> fail(InputState& state, int c) {
    state.at_end = state.at_end || c == end_of_input;
    state.failed = true;
    return std::nullopt;
}

// White space, an optional sign, white space again, then the digits.
std::optional<std::uint64_t> scan_integer(Cursor& in) {
    int c = skip_space(in);
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        in.take();
        c = skip_space(in);
    }
    if (!is_digit(c)) return fail(in.console.input.state, c);

    std::uint64_t value = 0;
    do {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        in.take();
        c = in.peek();
    } while (is_digit(c));
    return negative ? 0 - value : value;
}

// The one reader every number goes through, wrapped modulo 2^64.
std::optional<std::uint64_t> take_integer(Console& console) {
    InputState& state = console.input.state;
    if (state.at_end || state.failed) {
        state.failed = true;
        return std::nullopt;
    }
    // A prompt written without a line end must be visible before we wait.
    flush_output(console);
    Cursor in{console};
    const auto value = scan_integer(in);
    in.save();
    return value;
}

}  // namespace

OutputPort stream_output(std::FILE* stream) {
    return {[](void* context, std::string_view text) {
                std::fwrite(text.data(), 1, text.size(), static_cast<std::FILE*>(context));
            },
            [](void* context) { std::fflush(static_cast<std::FILE*>(context)); }, stream};
}

Console make_console(ConsolePorts ports) {
    Console console;
    console.ports = ports;
    return console;
}

std::optional<std::int64_t> read_integer(Console& console) {
    const auto value = take_integer(console);
    if (!value) return std::nullopt;
    return static_cast<std::int64_t>(*value);
}

void read_count(Console& console, std::int32_t& count) {
    if (const auto value = take_integer(console)) count = static_cast<std::int32_t>(*value);
}

bool read_goal(Console& console, bool& code) {
    // Most goals are one digit after one white-space character, with the
    // character that ends them already in the buffer: take those directly,
    // which is what the one reader would do for them, only with less work.
    InputBuffer& input = console.input;
    const char* ahead = input.bytes.data() + input.next;
    if (input.filled - input.next > 2 && !input.state.failed && !console.output_pending &&
        is_space(ahead[0]) && is_digit(ahead[1]) && !is_digit(ahead[2])) {
        // The one reader would flush nothing, find no flag set (the end of the
        // input always comes with a failure) and ask the source for nothing.
        assert(!input.state.at_end && input.next + 2 < input.filled);
        code = ahead[1] != '0';
        input.next += 2;
        return true;
    }
    const auto value = take_integer(console);
    if (value) code = *value != 0;
    return value.has_value();
}

void write_text(Console& console, std::string_view text) {
    console.ports.output.write(console.ports.output.context, text);
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
    console.ports.output.flush(console.ports.output.context);
    console.output_pending = false;
}

void pause_after_output(Console& console) {
    // The program's own text always reaches the output before anything the pause writes.
    flush_output(console);
    console.ports.pause.pause(console.ports.pause.context);
}

}  // namespace napinavost
