#include "dialogue/console.hpp"

#include <algorithm>
#include <bit>
#include <cassert>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Of 16 goals in 32 bytes, each one white-space character and one digit, which
// have that form (bit i for the goal at bytes 2i and 2i + 1) and which digits
// are not 0.
struct GoalBits {
    std::uint32_t formed = 0;
    std::uint32_t nonzero = 0;
};

#if defined(__SSE2__)
// Bytes from `low` to `low + span`, as all ones; the rest as zero.
__m128i in_range(__m128i bytes, char low, char span) {
    const __m128i offset = _mm_sub_epi8(bytes, _mm_set1_epi8(low));
    return _mm_cmpeq_epi8(_mm_min_epu8(offset, _mm_set1_epi8(span)), offset);
}

// Each 16-bit lane is one goal: the white space in its low byte, the digit in
// its high byte. A lane comes out all ones where the goal has the form.
void classify(__m128i bytes, __m128i& formed, __m128i& zero) {
    const __m128i space =
        _mm_or_si128(in_range(bytes, '\t', '\r' - '\t'), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')));
    const __m128i digit = in_range(bytes, '0', 9);
    formed = _mm_srai_epi16(_mm_and_si128(digit, _mm_slli_epi16(space, 8)), 8);
    zero = _mm_srai_epi16(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('0')), 8);
}

// Both builds run on processors with SSE2: 32 bytes are looked at in a few
// instructions instead of a loop over each.
GoalBits sixteen_goals(const char* bytes) {
    __m128i formed_low, zero_low, formed_high, zero_high;
    classify(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), formed_low, zero_low);
    classify(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16)), formed_high, zero_high);
    const auto formed = _mm_movemask_epi8(_mm_packs_epi16(formed_low, formed_high));
    const auto zero = _mm_movemask_epi8(_mm_packs_epi16(zero_low, zero_high));
    return {static_cast<std::uint32_t>(formed), static_cast<std::uint32_t>(~zero & 0xffff)};
}
#else
GoalBits sixteen_goals(const char* bytes) {
    GoalBits bits;
    for (int goal = 0; goal < 16; ++goal) {
        const int space = static_cast<unsigned char>(bytes[2 * goal]);
        const int digit = static_cast<unsigned char>(bytes[2 * goal + 1]);
        bits.formed |= std::uint32_t{is_space(space) && is_digit(digit)} << goal;
        bits.nonzero |= std::uint32_t{digit != '0'} << goal;
    }
    return bits;
}
#endif

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
    const auto value = take_integer(console);
    if (value) code = *value != 0;
    return value.has_value();
}

// Most goal text is nothing but one digit after one white-space character,
// goal after goal: a whole block of that is recognised at once, and each goal
// in it is taken exactly as the one reader would take it, which would flush
// nothing, find no flag set (the end of the input always comes with a
// failure) and ask the source for nothing.
int read_goal_block(Console& console, std::uint64_t& codes, int most) {
    constexpr int block = 64;
    InputBuffer& input = console.input;
    // A full block takes 128 bytes, and the byte after it must be at hand too.
    if (most <= 0 || input.filled - input.next <= 2 * block || input.state.failed ||
        console.output_pending) {
        return 0;
    }
    assert(!input.state.at_end);
    const char* ahead = input.bytes.data() + input.next;
    std::uint64_t formed = 0;
    std::uint64_t nonzero = 0;
    for (int group = 0; group < block / 16; ++group) {
        const GoalBits bits = sixteen_goals(ahead + 32 * group);
        formed |= std::uint64_t{bits.formed} << (16 * group);
        nonzero |= std::uint64_t{bits.nonzero} << (16 * group);
        if (bits.formed != 0xffff) break;
    }
    int taken = std::min({std::countr_one(formed), most, block});
    // A digit straight after the last goal's digit makes that goal a longer number.
    if (taken > 0 && is_digit(static_cast<unsigned char>(ahead[2 * taken]))) --taken;
    if (taken == 0) return 0;
    codes = taken == block ? nonzero : nonzero & ((std::uint64_t{1} << taken) - 1);
    input.next += 2 * static_cast<std::size_t>(taken);
    return taken;
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
