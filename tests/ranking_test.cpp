#include "ranking/ranking.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ranking/exports.hpp"
#include "ranking_fixtures.hpp"

namespace napinavost::ranking {
namespace {

MatchRecord match(std::string date, std::string team1, std::string team2,
                  const std::string& codes) {
    MatchRecord m;
    m.date = std::move(date);
    m.team1 = std::move(team1);
    m.team2 = std::move(team2);
    for (char code : codes) {
        Goal goal;
        goal.second_team = code == '1';
        m.goals.push_back(goal);
        (goal.second_team ? m.score2 : m.score1) += 1;
    }
    return m;
}

MatchRecord skipped(std::string date, std::string team1, SkipReason reason) {
    MatchRecord m = match(std::move(date), std::move(team1), "Other", "");
    m.skipped = reason;
    return m;
}

struct Placed {
    std::string team1;
    int rank;
    std::string index;

    friend bool operator==(const Placed&, const Placed&) = default;
};

void PrintTo(const Placed& p, std::ostream* out) {
    *out << p.team1 << " #" << p.rank << " " << p.index;
}

std::vector<Placed> placed(const Ranking& ranking, const std::vector<MatchRecord>& matches) {
    std::vector<Placed> result;
    for (const auto& rated : ranking.rated) {
        result.push_back({matches[rated.match].team1, rated.rank, std::string(rated.text.view())});
    }
    return result;
}

TEST(Ranking, HigherIndexFirstThenMoreGoalsDateAndTeamsAndEqualIndexesShareARank) {
    const std::vector<MatchRecord> matches = {
        match("2001-01-01", "two goals late", "x", "01"),
        match("2001-01-01", "one", "x", "0"),
        match("2001-01-01", "four goals", "x", "0011"),
        match("2000-01-01", "two goals early", "x", "10"),
        match("2001-01-01", "none", "x", ""),
        match("2001-01-01", "comeback", "x", "1100010"),
        match("2001-01-01", "B", "x", "00"),
        match("2001-01-01", "b", "x", "00"),
        match("2001-01-01", "\xC3\x84", "x", "00"),  // bytewise after every ASCII letter
        match("2001-01-01", "b", "a", "00"),
    };
    const Ranking ranking = rank_matches(matches, {});
    EXPECT_EQ(placed(ranking, matches), (std::vector<Placed>{
                                            {"four goals", 1, "0.5"},
                                            {"two goals early", 1, "0.5"},
                                            {"two goals late", 1, "0.5"},
                                            {"comeback", 4, "0.3125"},
                                            {"B", 5, "0"},
                                            {"b", 5, "0"},
                                            {"b", 5, "0"},
                                            {"\xC3\x84", 5, "0"},
                                            {"one", 5, "0"},
                                            {"none", 5, "0"},
                                        }));
    EXPECT_EQ(matches[ranking.rated[5].match].team2, "a");
}

TEST(Ranking, FiltersSelectBeforeRankingAndTheSummaryAccountsForEveryMatch) {
    const std::vector<MatchRecord> matches = {
        match("2012-10-16", "Germany", "Sweden", "00001111"),
        match("2014-07-08", "Brazil", "Germany", "11111110"),
        match("2014-07-09", "Netherlands", "Argentina", ""),
        skipped("2014-07-10", "Germany", SkipReason::no_goal_order),
        skipped("2014-07-11", "Germany", SkipReason::no_goal_order),
        skipped("1930-07-30", "Uruguay", SkipReason::no_score),
        skipped("", "", SkipReason::invalid_match),
    };
    struct Case {
        Filters filters;
        std::vector<std::string> rated;
        std::size_t outside;
        std::size_t no_goal_order;
    };
    const std::vector<Case> cases = {
        {{}, {"Germany", "Brazil", "Netherlands"}, 0, 2},
        {{"gERMANY", "", ""}, {"Germany", "Brazil"}, 3, 2},
        {{"Germanyy", "", ""}, {}, 7, 0},
        {{"", "2014-07-08", ""}, {"Brazil", "Netherlands"}, 3, 2},
        {{"", "", "2014-07-08"}, {"Germany", "Brazil"}, 4, 0},
        {{"", "2014-07-08", "2014-07-08"}, {"Brazil"}, 6, 0},
        {{"germany", "2014-07-09", "2014-07-10"}, {}, 6, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filters.team + " " + c.filters.from + " " + c.filters.to);
        const Ranking ranking = rank_matches(matches, c.filters);
        std::vector<std::string> rated;
        for (const auto& r : ranking.rated) rated.push_back(matches[r.match].team1);
        EXPECT_EQ(rated, c.rated);
        const Summary& s = ranking.summary;
        EXPECT_EQ(s.read, matches.size());
        EXPECT_EQ(s.outside_filters, c.outside);
        EXPECT_EQ(s.skipped[static_cast<std::size_t>(SkipReason::no_goal_order)], c.no_goal_order);
        EXPECT_EQ(s.read, s.outside_filters + s.rated + s.skipped_total());
        EXPECT_EQ(ranking.skipped.size(), s.skipped_total());
    }
}

TEST(RankingTable, AlignsColumnsByCharactersAndMarksUncertainOrders) {
    std::vector<MatchRecord> matches = {
        match("2012-10-16", "Germany", "Sweden", "00001111"),
        match("2020-01-01", "Österreich", "Česko", "011"),
    };
    matches[1].uncertain = true;
    const Ranking ranking = rank_matches(matches, {});
    EXPECT_EQ(ranking_table(ranking, matches, 20),
              "Por.  Datum       Zapas               Skore  Index\n"
              "   1  2012-10-16  Germany - Sweden    4:4    0.5\n"
              "   2  2020-01-01  Österreich - Česko  1:2    0.25   ?\n"
              "? poradie niektorych golov nie je iste\n");
    EXPECT_EQ(ranking_table(ranking, matches, 1),
              "Por.  Datum       Zapas             Skore  Index\n"
              "   1  2012-10-16  Germany - Sweden  4:4    0.5\n"
              "... a dalsich 1 (vsetky: --top 0)\n");
    EXPECT_EQ(ranking_table(rank_matches({}, {}), {}, 20), "Ziadny hodnoteny zapas.\n");
}

TEST(RankingSummary, NamesEachReasonThatOccurs) {
    Summary summary;
    summary.read = 10;
    summary.outside_filters = 3;
    summary.rated = 4;
    summary.skipped[static_cast<std::size_t>(SkipReason::no_score)] = 1;
    summary.skipped[static_cast<std::size_t>(SkipReason::ambiguous_match)] = 2;
    EXPECT_EQ(summary_line(summary),
              "napinavost-rank: zapasy: 10, mimo filtra: 3, hodnotene: 4, vynechane: 3 "
              "(bez skore: 1, nejednoznacny zapas: 2)\n");
}

}  // namespace
}  // namespace napinavost::ranking
