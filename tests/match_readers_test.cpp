// The two readers of match data on small fixtures written for these tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ranking/files.hpp"
#include "ranking/international.hpp"
#include "ranking/openfootball.hpp"
#include "ranking/ranking.hpp"
#include "ranking_fixtures.hpp"

namespace napinavost::ranking {
namespace {

using testing::ExpectedMatch;
using testing::find_match;
using testing::fixture;
using enum SkipReason;

std::vector<MatchRecord> read_json(const std::string& text) {
    std::vector<MatchRecord> matches;
    const auto error = read_openfootball(text, "test.json", matches);
    EXPECT_FALSE(error) << *error;
    return matches;
}

std::vector<MatchRecord> read_international(bool with_results) {
    GoalRows rows;
    const std::string goals = fixture("goalscorers.csv");
    EXPECT_EQ(read_goalscorers(without_byte_order_mark(goals), "goalscorers.csv", rows),
              std::nullopt);
    std::vector<MatchRecord> matches;
    if (with_results) {
        EXPECT_EQ(read_results(fixture("results.csv"), "results.csv", rows, matches), std::nullopt);
    }
    add_unnamed_matches(rows, matches);
    return matches;
}

void expect_matches(const std::vector<MatchRecord>& matches,
                    const std::vector<ExpectedMatch>& expected) {
    EXPECT_EQ(matches.size(), expected.size());
    for (const ExpectedMatch& want : expected) {
        SCOPED_TRACE(want.team1 + " - " + want.team2);
        const MatchRecord* match = find_match(matches, want.team1, want.team2);
        ASSERT_NE(match, nullptr);
        EXPECT_EQ(match->skipped, want.skipped);
        if (want.skipped) continue;
        EXPECT_EQ(goal_codes(*match), want.codes);
        EXPECT_EQ(match->score1, want.score1);
        EXPECT_EQ(match->score2, want.score2);
        EXPECT_EQ(match->uncertain, want.uncertain);
    }
}

TEST(OpenfootballReader, MatchesLayoutWithEveryKindOfMatch) {
    const auto matches = read_json(fixture("world-cup.json"));
    expect_matches(
        matches, {
                     {"England", "Iran", {}, "00001001", 6, 2},    // sorted, 45+1 before 62
                     {"Canada", "Morocco", {}, "110", 1, 2},       // own goal counted for Canada
                     {"Argentina", "France", {}, "001101", 3, 3},  // after extra time, no shoot-out
                     {"Morocco", "Croatia", {}, "", 0, 0},         // goalless, no lists
                     {"Denmark", "Tunisia", {}, "", 0, 0},         // goalless, empty lists
                     {"Lists", "Missing", no_goal_order, "", 0, 0},
                     {"Cancelled", "Match", no_score, "", 0, 0},
                     {"Wrong", "List", goals_do_not_match_score, "", 0, 0},
                     {"No", "Minute", goal_without_time, "", 0, 0},
                     {"", "Number", invalid_match, "", 0, 0},  // team1 is a number
                     {"Score", "Text", invalid_match, "", 0, 0},
                     {"Minute", "Boolean", invalid_match, "", 0, 0},
                     {"Without", "Date", invalid_match, "", 0, 0},  // invalid wins over no score
                     {"Same", "Minute", {}, "01", 1, 1, true},
                     {"Same", "Team", {}, "00", 2, 0, false},
                 });
    for (const auto& match : matches) EXPECT_EQ(match.competition, "World Cup Fixture");
}

TEST(OpenfootballReader, GoalDetailsFollowTheSortedOrder) {
    const auto matches = read_json(fixture("world-cup.json"));
    const MatchRecord* england = find_match(matches, "England", "Iran");
    ASSERT_NE(england, nullptr);
    std::vector<std::string> minutes;
    for (const auto& goal : england->goals) minutes.push_back(goal.minute);
    EXPECT_EQ(minutes,
              (std::vector<std::string>{"35", "43", "45+1", "62", "65", "71", "90", "90+13"}));
    EXPECT_EQ(england->goals.back().scorer, "Mehdi Taremi");
    EXPECT_TRUE(england->goals.back().penalty);
    const MatchRecord* canada = find_match(matches, "Canada", "Morocco");
    ASSERT_NE(canada, nullptr);
    EXPECT_TRUE(canada->goals.back().own_goal);
    EXPECT_EQ(canada->goals.front().scorer, "Hakim Ziyech");
}

TEST(OpenfootballReader, RoundsLayoutWithTeamObjectsAndTextMinutes) {
    const auto matches = read_json(fixture("euro.json"));
    expect_matches(matches, {
                                {"Germany", "Scotland", {}, "000010", 5, 1},
                                {"Late", "Extra", {}, "101", 1, 2},  // 90, 90+4, 120+1
                                {"Bad", "Minute", goal_without_time, "", 0, 0},
                                {"Nameless", "", invalid_match, "", 0, 0},
                            });
    EXPECT_EQ(matches.front().competition, "Euro Fixture");
    EXPECT_EQ(matches.front().goals[2].minute, "45+1");
}

TEST(OpenfootballReader, AcceptsByteOrderMarkAndCarriageReturns) {
    const std::string text =
        "\xEF\xBB\xBF{\"matches\": [{\"date\": \"2020-01-01\",\r\n \"team1\": \"A\", \"team2\": "
        "\"B\",\r\n \"score\": {\"ft\": [1, 0]}, \"goals1\": [{\"minute\": 5}]}]}\r\n";
    const auto matches = read_json(std::string(without_byte_order_mark(text)));
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_FALSE(matches[0].skipped);
    EXPECT_EQ(matches[0].competition, "");
}

struct BadJson {
    std::string name;
    std::string text;
    std::string message;
};

void PrintTo(const BadJson& c, std::ostream* out) { *out << c.name; }

class OpenfootballErrors : public ::testing::TestWithParam<BadJson> {};

TEST_P(OpenfootballErrors, NameTheFileAndWhere) {
    std::vector<MatchRecord> matches;
    const auto error = read_openfootball(GetParam().text, "bad.json", matches);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->starts_with(GetParam().message)) << *error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenfootballErrors,
    ::testing::ValuesIn(std::vector<BadJson>{
        {"syntax error on a later line", "{\"matches\": [\n  {\"date\": x}\n]}",
         "bad.json:2:12: chybny JSON: "},
        {"unterminated document", "{\"matches\": [", "bad.json:1:14: chybny JSON: "},
        {"top level is a list", "[]", "bad.json: nie je subor zapasov openfootball"},
        {"number too large for any type", "{\"matches\": [1e999]}",
         "bad.json: chybny JSON: number overflow"},
        {"object without matches or rounds", "{\"name\": \"x\"}",
         "bad.json: nie je subor zapasov openfootball"},
        {"matches is not a list", "{\"matches\": {}}", "bad.json: \"matches\" nie je zoznam"},
        {"round without matches", "{\"rounds\": [{\"matches\": []}, {\"name\": \"x\"}]}",
         "bad.json: kolo 2 nema zoznam \"matches\""},
    }));

TEST(InternationalReader, GoalRowsAlone) {
    expect_matches(read_international(false),
                   {
                       {"Germany", "Sweden", {}, "00001111", 4, 4},
                       {"Canada", "Morocco", {}, "110", 1, 2},
                       {"Colombia", "Ecuador", {}, "01", 1, 1},
                       {"Unknown", "Minute", {}, "01", 1, 1, true},   // NA minute
                       {"Shared", "Minute", {}, "01", 1, 1, true},    // both teams at 30
                       {"Falling", "Minutes", {}, "10", 1, 1, true},  // 50 then 20
                       {"Stranger", "Goal", team_not_in_match, "", 0, 0},
                       {"Twice", "Listed", {}, "0", 1, 0},
                       {"Wrong", "Count", {}, "00", 2, 0},
                   });
}

TEST(InternationalReader, WithResultsEveryResultsRowIsAMatch) {
    const auto matches = read_international(true);
    expect_matches(matches, {
                                {"Germany", "Sweden", {}, "00001111", 4, 4},
                                {"Canada", "Morocco", {}, "110", 1, 2},
                                {"Goalless", "Draw", {}, "", 0, 0},
                                {"No", "Rows", no_goal_order, "", 0, 0},
                                {"Twice", "Listed", ambiguous_match, "", 0, 0},
                                {"Twice", "Listed", ambiguous_match, "", 0, 0},
                                {"Wrong", "Count", goals_do_not_match_score, "", 0, 0},
                                {"Future", "Match", no_score, "", 0, 0},
                                // goal rows that no results row names are rated from the rows alone
                                {"Colombia", "Ecuador", {}, "01", 1, 1},
                                {"Unknown", "Minute", {}, "01", 1, 1, true},
                                {"Shared", "Minute", {}, "01", 1, 1, true},
                                {"Falling", "Minutes", {}, "10", 1, 1, true},
                                {"Stranger", "Goal", team_not_in_match, "", 0, 0},
                            });
    int twice = 0;
    for (const auto& match : matches) twice += match.team1 == "Twice";
    EXPECT_EQ(twice, 2);
    const MatchRecord* germany = find_match(matches, "Germany", "Sweden");
    ASSERT_NE(germany, nullptr);
    EXPECT_EQ(germany->competition, "FIFA World Cup qualification");
    EXPECT_EQ(place_text(germany->place), "results.csv:2");
}

TEST(InternationalReader, KeepsScorersFlagsAndMinutesOfEachRow) {
    const auto matches = read_international(false);
    const MatchRecord* colombia = find_match(matches, "Colombia", "Ecuador");
    ASSERT_NE(colombia, nullptr);
    ASSERT_EQ(colombia->goals.size(), 2u);
    EXPECT_EQ(colombia->goals[0].scorer, "Delio \"Maravilla\" Gamboa");
    EXPECT_EQ(colombia->goals[1].scorer, "Scorer, With Comma");
    EXPECT_TRUE(colombia->goals[1].penalty);
    EXPECT_EQ(colombia->goals[1].minute, "55");
    EXPECT_EQ(place_text(colombia->place), "goalscorers.csv:13");
    const MatchRecord* canada = find_match(matches, "Canada", "Morocco");
    ASSERT_NE(canada, nullptr);
    EXPECT_TRUE(canada->goals[2].own_goal);
    const MatchRecord* unknown = find_match(matches, "Unknown", "Minute");
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->goals[0].minute, "");
}

struct BadCsv {
    std::string name;
    std::string text;
    std::string message;
};

void PrintTo(const BadCsv& c, std::ostream* out) { *out << c.name; }

class InternationalErrors : public ::testing::TestWithParam<BadCsv> {};

TEST_P(InternationalErrors, NameTheFileAndLine) {
    GoalRows rows;
    const auto error = read_goalscorers(GetParam().text, "g.csv", rows);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, GetParam().message);
}

const std::string header = "date,home_team,away_team,team,scorer,minute,own_goal,penalty\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, InternationalErrors,
    ::testing::ValuesIn(std::vector<BadCsv>{
        {"missing column", "date,home_team,away_team,team,scorer,own_goal,penalty\n",
         "g.csv:1: v hlavicke chyba stlpec minute"},
        {"empty file", "", "g.csv:1: prazdny subor, chyba hlavicka"},
        {"row with too few fields", header + "2000-01-01,A,B,A,X,1,FALSE,FALSE\n2000-01-01,A,B\n",
         "g.csv:3: riadok ma 3 poli, hlavicka 8"},
        {"row with too many fields", header + "2000-01-01,A,B,A,X,1,FALSE,FALSE,extra\n",
         "g.csv:2: riadok ma 9 poli, hlavicka 8"},
        {"unterminated quote", header + "2000-01-01,A,B,A,\"X,1,FALSE,FALSE\n",
         "g.csv:2: neukoncene uvodzovky"},
    }));

TEST(InternationalReader, BadFlagOrDateMakesTheMatchInvalid) {
    GoalRows rows;
    ASSERT_EQ(read_goalscorers(header + "2000-01-01,A,B,A,X,1,maybe,FALSE\n"
                                        "01/02/2000,C,D,C,Y,1,FALSE,FALSE\n",
                               "g.csv", rows),
              std::nullopt);
    std::vector<MatchRecord> matches;
    add_unnamed_matches(rows, matches);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].skipped, invalid_match);
    EXPECT_EQ(matches[1].skipped, invalid_match);
}

}  // namespace
}  // namespace napinavost::ranking
