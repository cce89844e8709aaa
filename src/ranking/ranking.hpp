#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "ranking/match_record.hpp"
#include "suspense/index_text.hpp"

namespace napinavost::ranking {

// Which matches take part; empty fields select everything.
struct Filters {
    std::string team;  // a team that played, exact name with ASCII case ignored
    std::string from;  // YYYY-MM-DD, inclusive
    std::string to;    // YYYY-MM-DD, inclusive
};

bool passes(const MatchRecord& match, const Filters& filters);

// The goal codes as the console program reads them, one digit per goal: "1100010".
std::string goal_codes(const MatchRecord& match);

// The suspense index of the match's goals, by the suspense index library.
float match_index(const MatchRecord& match);

struct RatedMatch {
    std::size_t match = 0;  // position in the matches that were ranked
    float index = 0;
    IndexText text;
    int rank = 0;  // 1 + the number of matches with a greater index
};

struct Summary {
    std::size_t read = 0;
    std::size_t outside_filters = 0;
    std::size_t rated = 0;
    std::array<std::size_t, skip_reason_count> skipped{};

    std::size_t skipped_total() const;
};

struct Ranking {
    std::vector<RatedMatch> rated;     // best first
    std::vector<std::size_t> skipped;  // positions of the skipped matches, in reading order
    Summary summary;
};

// Rates every match that passes the filters and ranks them: highest index
// first, then more goals, then date, team1 and team2.
Ranking rank_matches(const std::vector<MatchRecord>& matches, const Filters& filters);

// How many matches a table of the first `top` shows: all of them for 0.
std::size_t shown_count(const Ranking& ranking, std::size_t top);

}  // namespace napinavost::ranking
