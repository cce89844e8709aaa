#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ranking/match_record.hpp"

namespace napinavost::ranking {

// The columns each file of the international results data set must have.
inline constexpr std::string_view goalscorers_columns[] = {
    "date", "home_team", "away_team", "team", "scorer", "minute", "own_goal", "penalty"};
inline constexpr std::string_view results_columns[] = {"date",       "home_team",  "away_team",
                                                       "home_score", "away_score", "tournament",
                                                       "city",       "country",    "neutral"};

// Goal rows of goalscorers.csv files, gathered into one match per date and teams.
struct GoalRows {
    std::vector<MatchRecord> matches;  // in the order of their first row
    std::unordered_map<std::string, std::size_t> by_key;

    // What the order check needs of each match's latest goal.
    struct Latest {
        int minute = -1;  // -1: unknown
        bool second_team = false;
    };
    std::vector<Latest> latest;
};

// One row of results.csv, kept as text until it is matched with its goals.
struct ResultRow {
    std::string source;
    std::string date;
    std::string home_team;
    std::string away_team;
    std::string home_score;
    std::string away_score;
    std::string tournament;
};

// Each returns an error message naming the file and line, or nothing.
std::optional<std::string> read_goalscorers(std::string_view text, std::string_view file,
                                            GoalRows& rows);
std::optional<std::string> read_results(std::string_view text, std::string_view file,
                                        std::vector<ResultRow>& rows);

// Every match of the data set: one per results row when there are results,
// and one per goal-row match that no results row names.
std::vector<MatchRecord> international_matches(GoalRows rows,
                                               const std::vector<ResultRow>* results);

}  // namespace napinavost::ranking
