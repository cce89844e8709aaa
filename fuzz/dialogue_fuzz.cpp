// The whole dialogue over arbitrary input: it always ends with one of the two
// shapes of output, with an index between 0 and 0.5, and pauses exactly once.
// The same input delivered one byte per read gives the same output.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dialogue/match.hpp"
#include "end_to_end_cases.hpp"
#include "memory_console.hpp"

namespace {

using namespace napinavost;
using namespace std::string_view_literals;

using testing::count_prompt;
using testing::goal_prompt;
using testing::reference_line;
constexpr auto index_label = "Index napinavosti: "sv;

std::string play(std::string_view text, std::size_t chunk) {
    testing::MemoryInput input{text, chunk};
    testing::MemoryOutput output;
    testing::CountedPause pause;
    Console console = testing::memory_console(input, output, pause.port());
    if (play_match(console) != 0) std::abort();
    if (pause.pauses != 1) std::abort();
    return output.text();
}

// Takes `part` off the front of `rest`, or stops the run.
void expect_prefix(std::string_view& rest, std::string_view part) {
    if (!rest.starts_with(part)) std::abort();
    rest.remove_prefix(part.size());
}

void check_shape(std::string_view rest) {
    expect_prefix(rest, count_prompt);
    if (rest == "Index napinavosti: 0") return;
    expect_prefix(rest, goal_prompt);
    expect_prefix(rest, index_label);
    const std::size_t line_end = rest.find('\n');
    if (line_end == std::string_view::npos || line_end == 0) std::abort();
    const std::string_view number = rest.substr(0, line_end);
    double index = -1;
    const auto parsed = std::from_chars(number.data(), number.data() + number.size(), index);
    if (parsed.ec != std::errc() || parsed.ptr != number.data() + number.size()) std::abort();
    if (!(index >= 0 && index <= 0.5)) std::abort();
    rest.remove_prefix(line_end + 1);
    if (rest != reference_line) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string whole = play(text, 0);
    check_shape(whole);
    if (play(text, 1) != whole) std::abort();
    return 0;
}
