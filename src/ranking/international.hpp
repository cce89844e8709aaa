#pragma once

#include <absl/container/flat_hash_map.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ranking/match_record.hpp"

namespace napinavost::ranking {

// The columns each file of the international results data set must have.
inline constexpr std::string_view goalscorers_columns[] = {
    "date", "home_team", "away_team", "team", "scorer", "minute", "own_goal", "penalty"};
inline constexpr std::string_view results_columns[] = {"date",       "home_team",  "away_team",
                                                       "home_score", "away_score", "tournament",
                                                       "city",       "country",    "neutral"};

// Every date and teams seen, in goal rows and results rows alike, with where
// each first stood. The keys live in blocks that never move, so that the table
// can hold views of them: one allocation per block instead of one per key.
struct MatchKeys {
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    struct Entry {
        std::size_t goal_match = none;  // position among the goal-row matches
        std::size_t result = none;      // position of its first results row
    };

    Entry& find_or_add(std::string_view date, std::string_view home, std::string_view away);

    absl::flat_hash_map<std::string_view, Entry> entries;
    std::vector<std::unique_ptr<char[]>> blocks;
    std::size_t block_used = 0;
    std::size_t block_size = 0;
    std::string key;  // the key being looked up
};

// Goal rows of goalscorers.csv files, gathered into one match per date and teams.
struct GoalRows {
    std::vector<MatchRecord> matches;  // in the order of their first row
    MatchKeys keys;
    std::vector<bool> named;  // whether a results row has taken the match

    // What the order check needs of each match's latest goal.
    struct Latest {
        int minute = -1;  // -1: unknown
        bool second_team = false;
    };
    std::vector<Latest> latest;
};

// Each returns an error message naming the file and line, or nothing. The
// file's name must outlive the records read (see Place).
std::optional<std::string> read_goalscorers(std::string_view text, std::string_view file,
                                            GoalRows& rows);

// One match per results row, joined with its goal rows; a date and teams that
// stand on several rows are ambiguous on each. Read after all goal rows.
std::optional<std::string> read_results(std::string_view text, std::string_view file,
                                        GoalRows& rows, std::vector<MatchRecord>& matches);

// The goal-row matches that no results row has taken, scored by their rows.
void add_unnamed_matches(GoalRows& rows, std::vector<MatchRecord>& matches);

}  // namespace napinavost::ranking
