// The console's number reading against a small model of its rules, written
// apart from it: same values, same success or failure, same flags and the
// same position after every read, however the input arrives.
//
// Input: one byte for the size of the pieces the input arrives in (0: all at
// once), two bytes choosing the reading call for each read in turn, then the
// text to read.
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

enum class Call { integer, count, goal, goal_after_output };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::size_t piece = data[0] % 17;
    const unsigned plan = data[1] | (data[2] << 8);
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    testing::MemoryInput input{text, piece};
    testing::MemoryOutput output;
    Console console = testing::memory_console(input, output);
    ModelReader model{text};

    std::int32_t count = 12345;
    bool code = true;
    int reads_after_failure = 0;
    for (int read = 0; reads_after_failure < 3; ++read) {
        const auto call = static_cast<Call>((plan >> (2 * (read % 8))) & 3u);
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
                // Output waiting to be flushed takes the read off its quick path.
                write_text(console, "?");
                [[fallthrough]];
            case Call::goal: {
                const bool before = code;
                if (read_goal(console, code) != expected.has_value()) std::abort();
                if (code != (expected ? *expected != 0 : before)) std::abort();
                break;
            }
        }
        const InputState& state = console.input.state;
        if (state.at_end != model.at_end || state.failed != model.failed) std::abort();
        const std::size_t taken = input.delivered - (console.input.filled - console.input.next);
        if (taken != model.position) std::abort();
        if (model.failed) ++reads_after_failure;
    }
    return 0;
}
