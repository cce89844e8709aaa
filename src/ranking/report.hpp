#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ranking/match_record.hpp"
#include "ranking/ranking.hpp"

namespace napinavost::ranking {

// What the report says was rated.
struct ReportScope {
    std::vector<std::string> files;
    Filters filters;
    std::size_t top = 20;  // 0 for all
};

// One self-contained HTML5 page, without scripts or outside resources: what
// was rated, the summary, the table of the first `top` matches with a small
// picture each, and below it each of their full pictures, linked from the
// table. Well-formed XML too, so that any XML parser reads it.
std::string report_html(const Ranking& ranking, const std::vector<MatchRecord>& matches,
                        const ReportScope& scope);

}  // namespace napinavost::ranking
