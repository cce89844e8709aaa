// The console's number reading against a small model of its rules, written
// apart from it: same values, same success or failure, same flags and the
// same position after every read, however the input arrives.
//
// Input: one byte for the size of the pieces the input arrives in (0: all at
// once), three bytes choosing the reading call for each read in turn, then the
// text to read. A block of goals counts as one read, of as many goals as it
// takes.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "dialogue/console.hpp"
#include "memory_console.hpp"

namespace {

using namespace napinavost;

// Reads as the rules say, one character at a time over the whole text.
struct ModelReader {
    std::string_view text;
    std::size_t position = 0;
    bool at_end = false;
    bool failed = false;

    bool ended() const { return position == text.size(); }
    unsigned char current() const { return static_cast<unsigned char>(text[position]); }
    void skip_white_space() {
        while (!ended() && std::isspace(current())) ++position;
    }
    std::optional<std::int64_t> give_up(bool input_ended) {
        at_end = at_end || input_ended;
        failed = true;
        return std::nullopt;
    }

    std::optional<std::int64_t> read() {
        if (at_end || failed) return give_up(false);
        skip_white_space();
        if (ended()) return give_up(true);
        bool minus = false;
        if (current() == '+' || current() == '-') {
            minus = current() == '-';
            ++position;
            skip_white_space();
            if (ended()) return give_up(true);
        }
        if (!std::isdigit(current())) return give_up(false);
        std::uint64_t value = 0;
        while (!ended() && std::isdigit(current())) {
            value = value * 10u + (current() - '0');
            ++position;
        }
        if (minus) value = ~value + 1u;
        return static_cast<std::int64_t>(value);
    }
};

enum class Call {
    integer,
    count,
    goal,
    goal_after_output,
    block_of_64,
    block_of_1,
    block_of_7,
    block_after_output,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::size_t piece = data[0];
    const unsigned plan = data[1] | (data[2] << 8) | (data[3] << 16);
    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);

    testing::MemoryInput input{text, piece};
    testing::MemoryOutput output;
    Console console = testing::memory_console(input, output);
    ModelReader model{text};

    std::int32_t count = 12345;
    bool code = true;
    int reads_after_failure = 0;
    // Blocks in a row that took nothing: with a plan of blocks alone, input
    // they cannot take would otherwise be read forever.
    int idle_blocks = 0;
    for (int read = 0; reads_after_failure < 3 && idle_blocks < 16; ++read) {
        const auto call = static_cast<Call>((plan >> (3 * (read % 8))) & 7u);
        if (call >= Call::block_of_64) {
            const int most = call == Call::block_of_1 ? 1 : call == Call::block_of_7 ? 7 : 64;
            if (call == Call::block_after_output) write_text(console, "?");
            constexpr std::uint64_t untouched = 0x5a5a5a5a5a5a5a5a;
            std::uint64_t codes = untouched;
            const int taken = read_goal_block(console, codes, most);
            if (taken < 0 || taken > most) std::abort();
            if (taken == 0 && codes != untouched) std::abort();
            idle_blocks = taken == 0 ? idle_blocks + 1 : 0;
            // Each goal taken is what the rules read next, and nothing else is taken.
            for (int goal = 0; goal < taken; ++goal) {
                const std::optional<std::int64_t> expected = model.read();
                if (!expected || ((codes >> goal) & 1) != (*expected != 0)) std::abort();
            }
            if (taken > 0 && taken < 64 && (codes >> taken) != 0) std::abort();
        } else {
            idle_blocks = 0;
            const std::optional<std::int64_t> expected = model.read();
            switch (call) {
                case Call::integer:
                    if (read_integer(console) != expected) std::abort();
                    break;
                case Call::count: {
                    const std::int32_t before = count;
                    read_count(console, count);
                    if (count != (expected ? static_cast<std::int32_t>(*expected) : before)) {
                        std::abort();
                    }
                    break;
                }
                case Call::goal_after_output:
                    // Output waiting to be flushed takes the read off its quick paths.
                    write_text(console, "?");
                    [[fallthrough]];
                default: {
                    const bool before = code;
                    if (read_goal(console, code) != expected.has_value()) std::abort();
                    if (code != (expected ? *expected != 0 : before)) std::abort();
                    break;
                }
            }
            if (model.failed) ++reads_after_failure;
        }
        const InputState& state = console.input.state;
        if (state.at_end != model.at_end || state.failed != model.failed) std::abort();
        const std::size_t taken = input.delivered - (console.input.filled - console.input.next);
        if (taken != model.position) std::abort();
    }
    return 0;
}
