#include "ranking/ranking.hpp"

#include <algorithm>
#include <tuple>

#include "suspense/suspense_index.hpp"

namespace napinavost::ranking {

namespace {}  // namespace

bool passes(const MatchRecord& match, const Filters& filters) {
    if (!filters.team.empty() && !same_ignoring_ascii_case(match.team1, filters.team) &&
        !same_ignoring_ascii_case(match.team2, filters.team)) {
        return false;
    }
    if (!filters.from.empty() && (!is_date(match.date) || match.date < filters.from)) return false;
    if (!filters.to.empty() && (!is_date(match.date) || match.date > filters.to)) return false;
    return true;
}

std::string goal_codes(const MatchRecord& match) {
    std::string codes;
    codes.reserve(match.goals.size());
    for (const Goal& goal : match.goals) codes += goal.second_team ? '1' : '0';
    return codes;
}

float match_index(const MatchRecord& match) {
    SuspenseIndex suspense;
    suspense.begin(static_cast<std::int32_t>(match.goals.size()));
    for (const Goal& goal : match.goals) suspense.add_goal(goal.second_team);
    return suspense.finish();
}

std::size_t shown_count(const Ranking& ranking, std::size_t top) {
    return top == 0 ? ranking.rated.size() : std::min(top, ranking.rated.size());
}

std::size_t Summary::skipped_total() const {
    std::size_t total = 0;
    for (std::size_t count : skipped) total += count;
    return total;
}

Ranking rank_matches(const std::vector<MatchRecord>& matches, const Filters& filters) {
    Ranking ranking;
    ranking.summary.read = matches.size();
    for (std::size_t i = 0; i < matches.size(); ++i) {
        const MatchRecord& match = matches[i];
        if (!passes(match, filters)) {
            ++ranking.summary.outside_filters;
        } else if (match.skipped) {
            ++ranking.summary.skipped[static_cast<std::size_t>(*match.skipped)];
            ranking.skipped.push_back(i);
        } else {
            RatedMatch rated;
            rated.match = i;
            rated.index = match_index(match);
            rated.text = index_text(rated.index);
            ranking.rated.push_back(rated);
        }
    }
    ranking.summary.rated = ranking.rated.size();

    std::sort(ranking.rated.begin(), ranking.rated.end(),
              [&](const RatedMatch& a, const RatedMatch& b) {
                  const MatchRecord& x = matches[a.match];
                  const MatchRecord& y = matches[b.match];
                  if (a.index != b.index) return a.index > b.index;
                  if (x.goals.size() != y.goals.size()) return x.goals.size() > y.goals.size();
                  return std::tie(x.date, x.team1, x.team2, a.match) <
                         std::tie(y.date, y.team1, y.team2, b.match);
              });
    for (std::size_t i = 0; i < ranking.rated.size(); ++i) {
        const bool tied = i > 0 && ranking.rated[i].index == ranking.rated[i - 1].index;
        ranking.rated[i].rank = tied ? ranking.rated[i - 1].rank : static_cast<int>(i) + 1;
    }
    return ranking;
}

}  // namespace napinavost::ranking
