#pragma once

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ranking/csv.hpp"
#include "ranking/exports.hpp"
#include "ranking/ranking.hpp"

namespace napinavost::fuzzing {

inline void require(bool condition) {
    if (!condition) std::abort();
}

// Every match read is rated or skipped, every rated match has one code per
// goal of its score, and both exports read back with what they hold.
inline void check_ranking(const std::vector<ranking::MatchRecord>& matches) {
    using namespace ranking;
    const Ranking result = rank_matches(matches, {});
    const Summary& summary = result.summary;
    require(summary.read == matches.size());
    require(summary.rated + summary.skipped_total() == summary.read);
    for (const RatedMatch& rated : result.rated) {
        const MatchRecord& match = matches[rated.match];
        require(goal_codes(match).size() ==
                static_cast<std::size_t>(match.score1) + static_cast<std::size_t>(match.score2));
        require(rated.index >= 0.0f && rated.index <= 0.5f);
    }

    const std::string csv = csv_export(result, matches);
    CsvReader reader = csv_reader(csv);
    require(next_row(reader) == CsvStep::row && reader.fields.size() == 10);
    for (const RatedMatch& rated : result.rated) {
        const MatchRecord& match = matches[rated.match];
        require(next_row(reader) == CsvStep::row && reader.fields.size() == 10);
        require(reader.fields[0] == std::to_string(rated.rank));
        require(reader.fields[1] == match.date && reader.fields[2] == match.team1 &&
                reader.fields[3] == match.team2 && reader.fields[9] == match.competition);
        require(reader.fields[6] == rated.text.view() && reader.fields[7] == goal_codes(match));
    }
    require(next_row(reader) == CsvStep::end);

    const auto json = nlohmann::json::parse(json_export(result, matches), nullptr, false);
    require(!json.is_discarded() && json["rated"] == summary.rated);
    require(json["matches"].size() == result.rated.size());
    for (std::size_t i = 0; i < result.rated.size(); ++i) {
        require(json["matches"][i]["goals"] == goal_codes(matches[result.rated[i].match]));
    }
}

}  // namespace napinavost::fuzzing
