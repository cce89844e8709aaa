// The international results readers over arbitrary bytes: no crash, and
// whatever they read ranks and exports soundly. The first byte chooses whether
// the text gets the goal scorers' header and whether a results file follows,
// after the first NUL byte.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ranking/international.hpp"
#include "ranking_checks.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace napinavost;
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string_view results_text;
    const bool with_results = (mode & 2) != 0;
    if (with_results) {
        const std::size_t split = text.find('\0');
        if (split != std::string_view::npos) {
            results_text = text.substr(split + 1);
            text = text.substr(0, split);
        }
    }
    std::string goals_text;
    if (mode & 1) goals_text = "date,home_team,away_team,team,scorer,minute,own_goal,penalty\n";
    goals_text.append(text);

    ranking::GoalRows rows;
    if (ranking::read_goalscorers(goals_text, "g.csv", rows)) return 0;
    std::vector<ranking::MatchRecord> matches;
    if (with_results) {
        std::string full =
            "date,home_team,away_team,home_score,away_score,tournament,city,"
            "country,neutral\n";
        if (mode & 4) full.clear();
        full.append(results_text);
        if (ranking::read_results(full, "r.csv", rows, matches)) return 0;
    }
    const std::size_t results_rows = matches.size();
    const std::size_t goal_matches = rows.matches.size();
    ranking::add_unnamed_matches(rows, matches);
    fuzzing::require(matches.size() <= goal_matches + results_rows);
    fuzzing::require(matches.size() >= results_rows);
    fuzzing::check_ranking(matches);
    return 0;
}
