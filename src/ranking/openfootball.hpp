#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ranking/match_record.hpp"

namespace napinavost::ranking {

// The matches of an openfootball World Cup or Euro file, in either layout
// ("matches" at the top, or inside "rounds"). Returns an error message naming
// the file, with line and column for a syntax error, or nothing.
std::optional<std::string> read_openfootball(std::string_view text, std::string_view file,
                                             std::vector<MatchRecord>& matches);

}  // namespace napinavost::ranking
