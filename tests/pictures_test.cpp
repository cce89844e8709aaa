// The pictures and the report, read back with a real XML parser.
#include "ranking/pictures.hpp"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ranking/report.hpp"
#include "reference_hull.hpp"
#include "xml_document.hpp"

namespace napinavost {

void PrintTo(const ScorePoint& point, std::ostream* out) {
    *out << point.first << "," << point.second;
}

namespace ranking {
namespace {

using testing::XmlDocument;

const std::string hostile = "<script>&\"'";

MatchRecord match_of(const std::string& codes, std::string team1 = "Home",
                     std::string team2 = "Away") {
    MatchRecord match;
    match.date = "2012-10-16";
    match.team1 = std::move(team1);
    match.team2 = std::move(team2);
    match.competition = "Test Cup";
    for (std::size_t i = 0; i < codes.size(); ++i) {
        Goal goal;
        goal.second_team = codes[i] == '1';
        goal.minute = std::to_string(i + 1);
        goal.scorer = "Scorer " + std::to_string(i);
        match.goals.push_back(goal);
        (goal.second_team ? match.score2 : match.score1) += 1;
    }
    return match;
}

RatedMatch rated_of(const MatchRecord& match) {
    RatedMatch rated;
    rated.index = match_index(match);
    rated.text = index_text(rated.index);
    rated.rank = 1;
    return rated;
}

std::string picture_of(const MatchRecord& match) {
    return match_picture(match, rated_of(match), match_shape(match), true);
}

std::vector<ScorePoint> points_of(const std::string& text) {
    std::vector<ScorePoint> points;
    std::istringstream in(text);
    ScorePoint point;
    char comma = 0;
    while (in >> point.first >> comma >> point.second) points.push_back(point);
    return points;
}

std::vector<ScorePoint> drawn(const XmlDocument& svg, const std::string& element) {
    const auto values = svg.values("//s:" + element + "/@points");
    EXPECT_EQ(values.size(), 1u) << element;
    return values.empty() ? std::vector<ScorePoint>{} : points_of(values[0]);
}

testing::Runs runs_of(const std::string& codes) {
    testing::Runs runs;
    for (char c : codes) {
        if (!runs.empty() && runs.back().first == (c == '1')) {
            ++runs.back().second;
        } else {
            runs.push_back({c == '1', 1});
        }
    }
    return runs;
}

TEST(Pictures, DrawTheLibrarysHullAndThePathsTurnsInScoreCoordinates) {
    struct Case {
        std::string codes;
        std::vector<ScorePoint> hull;
        std::vector<ScorePoint> path;
    };
    const std::vector<Case> cases = {
        {"", {{0, 0}}, {{0, 0}}},
        {"000", {{0, 0}, {3, 0}}, {{0, 0}, {3, 0}}},
        {"1", {{0, 0}, {0, 1}}, {{0, 0}, {0, 1}}},
        {"0011", {{0, 0}, {2, 0}, {2, 2}}, {{0, 0}, {2, 0}, {2, 2}}},
        // 2:2 lies on the straight side from 0:0 to 3:3.
        {"001101", {{0, 0}, {2, 0}, {3, 2}, {3, 3}}, {{0, 0}, {2, 0}, {2, 2}, {3, 2}, {3, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codes);
        const MatchRecord match = match_of(c.codes);
        const XmlDocument svg = XmlDocument::parse_xml(picture_of(match));
        ASSERT_TRUE(svg.ok()) << svg.error;
        EXPECT_EQ(drawn(svg, "polygon[@class='hull']"), c.hull);
        EXPECT_EQ(drawn(svg, "polyline[@class='path']"), c.path);
        EXPECT_EQ(svg.count("//s:line[@class='goal']"), c.codes.size());
        EXPECT_EQ(svg.count("//s:line[@class='diagonal']"), 1u);
    }
}

// Random matches up to thousands of goals, long runs of one team included:
// the hull drawn is the library's and that of an independent hull.
TEST(Pictures, HullEqualsAnIndependentHullOnRandomMatches) {
    std::mt19937_64 random(9);
    for (int trial = 0; trial < 150; ++trial) {
        const int goals = std::uniform_int_distribution<int>(0, 4000)(random);
        const double keep = std::uniform_real_distribution<double>(0.0, 0.995)(random);
        std::string codes;
        for (int i = 0; i < goals; ++i) {
            const bool same = !codes.empty() && std::bernoulli_distribution(keep)(random);
            codes += same ? codes.back() : (random() & 1 ? '1' : '0');
        }
        const MatchRecord match = match_of(codes);
        const MatchShape shape = match_shape(match);
        const XmlDocument svg = XmlDocument::parse_xml(picture_of(match));
        ASSERT_TRUE(svg.ok()) << svg.error;
        const auto hull = drawn(svg, "polygon[@class='hull']");
        ASSERT_EQ(hull, shape.hull) << "trial " << trial;
        ASSERT_EQ(hull, testing::reference_hull(testing::path_vertices(runs_of(codes))))
            << "trial " << trial;
        ASSERT_EQ(drawn(svg, "polyline[@class='path']"), testing::path_vertices(runs_of(codes)));
    }
}

// However many goals, the labels and the grid stay a handful of elements.
TEST(Pictures, LabelsAndGridStayFewForThousandsOfGoals) {
    for (const std::string& codes :
         {std::string("0"), std::string(3000, '0') + std::string(2500, '1')}) {
        const XmlDocument svg = XmlDocument::parse_xml(picture_of(match_of(codes)));
        ASSERT_TRUE(svg.ok()) << svg.error;
        EXPECT_LE(svg.count("//s:text"), 30u);
        EXPECT_EQ(svg.count("//s:path[@class='grid']"), 1u);
        const std::string grid = svg.values("//s:path[@class='grid']/@d").at(0);
        EXPECT_LE(std::count(grid.begin(), grid.end(), 'M'), 120);
    }
}

TEST(Pictures, TooltipsTellMinuteScorerAndMarks) {
    MatchRecord match = match_of("01");
    match.goals[0].minute = "45+1";
    match.goals[0].scorer = "Raheem Sterling";
    match.goals[0].penalty = true;
    match.goals[1].minute = "";
    match.goals[1].scorer = "Nayef Aguerd";
    match.goals[1].own_goal = true;
    const XmlDocument svg = XmlDocument::parse_xml(picture_of(match));
    ASSERT_TRUE(svg.ok()) << svg.error;
    EXPECT_EQ(svg.values("//s:line[@class='goal']/s:title"),
              (std::vector<std::string>{"45+1' Raheem Sterling, z penalty (1:0)",
                                        "?' Nayef Aguerd, vlastny gol (1:1)"}));
    EXPECT_EQ(svg.values("/s:svg/s:text[@class='title']"),
              std::vector<std::string>{"Home - Away  1:1"});
    EXPECT_EQ(svg.values("/s:svg/s:text[@class='subtitle']"),
              std::vector<std::string>{"2012-10-16, Test Cup, Index napinavosti: 0.5"});
}

TEST(Pictures, TextFromTheDataComesOutAsThoseCharacters) {
    MatchRecord match = match_of("10", hostile,
                                 "Bad\xff"
                                 "Bytes\x01");
    match.goals[0].scorer = hostile;
    const std::string text = picture_of(match);
    EXPECT_EQ(text.find("<script>"), std::string::npos);
    const XmlDocument svg = XmlDocument::parse_xml(text);
    ASSERT_TRUE(svg.ok()) << svg.error;
    EXPECT_EQ(svg.values("/s:svg/s:text[@class='title']"),
              std::vector<std::string>{hostile + " - Bad\xEF\xBF\xBD"
                                                 "Bytes\xEF\xBF\xBD  1:1"});
    EXPECT_EQ(svg.values("//s:line[@class='goal']/s:title")[0], "1' " + hostile + " (0:1)");
}

TEST(Pictures, FileNamesKeepLettersAndDigitsAndJoinEverythingElse) {
    struct Case {
        std::size_t position;
        std::string team1;
        std::string team2;
        std::string name;
    };
    const Case cases[] = {
        {1, "Germany", "Sweden", "001-2012-10-16-germany-sweden.svg"},
        {42, "Côte d'Ivoire", "São Tomé", "042-2012-10-16-c-te-d-ivoire-s-o-tom.svg"},
        {1000, "A  &  B", "C", "1000-2012-10-16-a-b-c.svg"},
        {7, "日本", "Korea Republic", "007-2012-10-16-korea-republic.svg"},
        {8, "../..", "x/y", "008-2012-10-16-x-y.svg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(picture_file_name(c.position, match_of("", c.team1, c.team2)), c.name);
    }
}

TEST(Report, ParsesAndLinksEveryRowToItsPicture) {
    std::vector<MatchRecord> matches = {
        match_of("1100010", hostile, "Rusko"),
        match_of("01", "Germany", "Sweden"),
        match_of("0000", "Seven", "Nil"),
        match_of("", "Goalless", "Draw"),
    };
    matches[0].goals[0].scorer = hostile;
    const Ranking ranking = rank_matches(matches, {});
    const std::string html = report_html(ranking, matches, {{"a.json", hostile}, {}, 3});
    const XmlDocument page = XmlDocument::parse_xml(html);
    ASSERT_TRUE(page.ok()) << page.error;
    EXPECT_EQ(page.count("//h:table[@class='ranking']/h:tbody/h:tr"), 3u);
    EXPECT_EQ(page.count("//h:tbody//s:svg[@class='thumbnail']"), 3u);
    EXPECT_EQ(page.count("//h:figure/s:svg[@class='match']"), 3u);
    const auto links = page.values("//h:tbody/h:tr/h:td/h:a/@href");
    const auto anchors = page.values("//h:figure/@id");
    ASSERT_EQ(links.size(), 3u);
    for (std::size_t i = 0; i < links.size(); ++i) EXPECT_EQ(links[i], "#" + anchors[i]);
    EXPECT_EQ(page.values("//h:tbody/h:tr[2]/h:td/h:a")[0], hostile + " - Rusko");
    EXPECT_EQ(page.values("//h:figure[2]//s:line[@class='goal']/s:title")[0],
              "1' " + hostile + " (0:1)");
    EXPECT_NE(page.values("//h:p[@class='scope']")[0].find(hostile), std::string::npos);
    EXPECT_EQ(page.values("//h:p[@class='summary']")[0], "Zapasy: 4, hodnotene: 4, vynechane: 0.");
    EXPECT_EQ(page.count("//h:script"), 0u);
    // Nothing from outside: every link stays in the page, nothing is loaded.
    EXPECT_EQ(page.count("//@src"), 0u);
    EXPECT_EQ(page.count("//h:link"), 0u);
    for (const auto& link : page.values("//@href")) EXPECT_TRUE(link.starts_with("#")) << link;
}

}  // namespace
}  // namespace ranking
}  // namespace napinavost
