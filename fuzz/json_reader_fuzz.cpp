// The openfootball reader over arbitrary bytes: no crash, and whatever it
// reads ranks and exports soundly.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "ranking/openfootball.hpp"
#include "ranking_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace napinavost;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<ranking::MatchRecord> matches;
    const auto error = ranking::read_openfootball(text, "fuzz.json", matches);
    fuzzing::require(!error || error->starts_with("fuzz.json"));
    fuzzing::check_ranking(matches);
    return 0;
}
