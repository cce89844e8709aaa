#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace napinavost::ranking {

// One goal as the data gives it.
struct Goal {
    bool second_team = false;  // the goal code: false for team1, true for team2
    std::string minute;        // as written in the data ("45+1", "90"), empty when unknown
    std::string scorer;
    bool penalty = false;
    bool own_goal = false;
};

// Why a match could not be rated. The order is the order of precedence when a
// match has several faults.
enum class SkipReason {
    invalid_match,
    ambiguous_match,
    no_score,
    team_not_in_match,
    no_goal_order,
    goals_do_not_match_score,
    goal_without_time,
};
constexpr std::size_t skip_reason_count = 7;

// The order in which exports and summaries list the reasons.
constexpr std::array<SkipReason, skip_reason_count> reasons_in_export_order = {
    SkipReason::no_score,          SkipReason::no_goal_order, SkipReason::goals_do_not_match_score,
    SkipReason::goal_without_time, SkipReason::invalid_match, SkipReason::team_not_in_match,
    SkipReason::ambiguous_match,
};

// The reason's key in the JSON export.
std::string_view reason_key(SkipReason reason);
// The reason as the program tells it to a person.
std::string_view reason_text(SkipReason reason);

// Where a match stands in its file: the line of its first CSV row, or its
// number among the matches of a JSON file. The file's name is a view of the
// name the reader was given, which its caller keeps for as long as the records.
struct Place {
    std::string_view file;
    std::uint32_t line = 0;
    std::uint32_t match = 0;
};

// "file:line" or "file, zapas N".
std::string place_text(const Place& place);

// A match read from a data file, rated or not. `score1` and `score2` are the
// final score (after extra time, without a shoot-out) when it is known.
struct MatchRecord {
    Place place;
    std::string date;  // YYYY-MM-DD
    std::string team1;
    std::string team2;
    std::string competition;
    int score1 = 0;
    int score2 = 0;
    std::vector<Goal> goals;  // in the order they fell
    bool uncertain = false;   // the data cannot tell the order of some goals
    std::optional<SkipReason> skipped;
};

// The first of several faults, by precedence.
void note_fault(MatchRecord& match, SkipReason reason);

// Whether the text is a date of the form YYYY-MM-DD.
bool is_date(std::string_view text);

// A whole non-negative number in decimal that fits an int, and nothing else.
std::optional<int> whole_number(std::string_view text);

// Whether two names are the same with ASCII letters' case ignored.
bool same_ignoring_ascii_case(std::string_view a, std::string_view b);

// How many of the goals each team scored: team1's, then team2's.
std::pair<int, int> goals_per_team(const std::vector<Goal>& goals);

}  // namespace napinavost::ranking
