#include "suspense/suspense_index.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "reference_hull.hpp"
#include "two_pass_reference.hpp"

namespace napinavost {

// Failure reports show corners as coordinates.
void PrintTo(const ScorePoint& point, std::ostream* out) {
    *out << "(" << point.first << ", " << point.second << ")";
}

namespace {

using testing::doubled_polygon_area;
using testing::path_vertices;
using testing::reference_hull;
using testing::Runs;
using testing::two_pass_index;

std::vector<bool> goals_from(const std::string& codes) {
    std::vector<bool> goals;
    for (char c : codes) goals.push_back(c == '1');
    return goals;
}

float streamed_index(const std::vector<bool>& goals) {
    SuspenseIndex suspense;
    suspense.begin(static_cast<std::int32_t>(goals.size()));
    for (bool code : goals) suspense.add_goal(code);
    return suspense.finish();
}

struct IndexCase {
    std::string goals;
    float index;
};

TEST(SuspenseIndex, KnownMatches) {
    const IndexCase cases[] = {
        {"0", 0.0f},          {"1", 0.0f},    {"01", 0.5f},      {"10", 0.5f},
        {"0011", 0.5f},       {"0000", 0.0f}, {"1111", 0.0f},    {"0101", 0.375f},
        {"1010", 0.375f},     {"001", 0.25f}, {"000011", 0.25f}, {"1100010", 0.3125f},
        {"0011101", 0.3125f}, {"011", 0.25f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(streamed_index(goals_from(c.goals)), c.index) << "goals " << c.goals;
        EXPECT_EQ(two_pass_index(goals_from(c.goals)).index, c.index) << "goals " << c.goals;
    }
}

// The reference keeps every point on a line and every path index on its stack
// where the path allows; these are the figures the original method states.
TEST(TwoPassReference, KeepsPointsOnALineAndStatesItsSums) {
    EXPECT_EQ(two_pass_index(goals_from("0011")).forward_top, 5);
    for (const char* straight : {"0000", "1111"}) {
        const auto result = two_pass_index(goals_from(straight));
        EXPECT_EQ(result.forward_top, 5) << straight;
        EXPECT_EQ(result.backward_top, 5) << straight;
    }
    for (const char* alternating : {"0101", "1010"}) {
        const auto result = two_pass_index(goals_from(alternating));
        EXPECT_EQ(result.area_sum, 3.0f) << alternating;
        EXPECT_EQ(result.normaliser, 4) << alternating;
    }
    const auto reference_match = two_pass_index(goals_from("1100010"));
    EXPECT_EQ(reference_match.area_sum, 10.0f);
    EXPECT_EQ(reference_match.normaliser, 16);
}

void expect_same_as_two_pass(const std::vector<bool>& goals) {
    const float expected = two_pass_index(goals).index;
    const float actual = streamed_index(goals);
    ASSERT_EQ(std::bit_cast<std::uint32_t>(actual), std::bit_cast<std::uint32_t>(expected))
        << "after " << goals.size() << " goals: " << actual << " vs " << expected;
}

TEST(SuspenseIndex, EqualsTwoPassForEveryMatchUpToTwelveGoals) {
    for (int count = 1; count <= 12; ++count) {
        for (std::uint32_t bits = 0; bits < (1u << count); ++bits) {
            std::vector<bool> goals(count);
            for (int i = 0; i < count; ++i) goals[i] = (bits >> i) & 1u;
            expect_same_as_two_pass(goals);
        }
    }
}

// Random matches up to the largest size where the two-pass arithmetic is exact,
// from lopsided to even, with streaks of varying length.
TEST(SuspenseIndex, EqualsTwoPassOnRandomMatches) {
    std::mt19937_64 random(20261211);
    for (int match = 0; match < 3000; ++match) {
        const int count = std::uniform_int_distribution<int>(1, 8192)(random);
        const double second_share = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        const double keep_streak = std::uniform_real_distribution<double>(0.0, 0.99)(random);
        std::bernoulli_distribution second_scores(second_share), streak(keep_streak);
        std::vector<bool> goals(count);
        for (int i = 0; i < count; ++i) {
            goals[i] = (i > 0 && streak(random)) ? goals[i - 1] : second_scores(random);
        }
        expect_same_as_two_pass(goals);
    }
}

TEST(SuspenseIndex, StaysExactForLargeMatches) {
    struct Large {
        std::int64_t first_goals;
        std::int64_t second_goals;
        float index;
    };
    const Large cases[] = {
        {131072, 1, 1.0f / 262144},  // prints 3.8147e-06
        {15000, 15000, 0.5f},
        {1000000, 1000000, 0.5f},
        {30000, 30000, 0.5f},
        // Products near 2^62: only 64-bit arithmetic holds them.
        {1073741823, 1073741824, static_cast<float>(1073741823.0 / 2147483648.0)},
        {2147483646, 1, static_cast<float>(1.0 / (2.0 * 2147483646.0))},
    };
    for (const auto& c : cases) {
        SuspenseIndex goal_by_goal;
        goal_by_goal.begin(static_cast<std::int32_t>(c.first_goals + c.second_goals));
        if (c.first_goals + c.second_goals <= 2000000) {
            for (std::int64_t i = 0; i < c.first_goals; ++i) goal_by_goal.add_goal(false);
            for (std::int64_t i = 0; i < c.second_goals; ++i) goal_by_goal.add_goal(true);
        } else {
            goal_by_goal.add_goals(false, c.first_goals);
            goal_by_goal.add_goals(true, c.second_goals);
        }
        EXPECT_EQ(goal_by_goal.finish(), c.index) << c.first_goals << " then " << c.second_goals;
    }
}

// Feeds the runs to the index, short runs goal by goal and long ones in one step.
SuspenseIndex index_of_runs(const Runs& runs) {
    SuspenseIndex suspense;
    suspense.begin(0x7fffffff);
    for (const auto& [code, length] : runs) {
        if (length <= 16) {
            for (std::int64_t i = 0; i < length; ++i) suspense.add_goal(code);
        } else {
            suspense.add_goals(code, length);
        }
    }
    suspense.finish();
    return suspense;
}

void expect_reference_hull(const Runs& runs) {
    const SuspenseIndex suspense = index_of_runs(runs);
    const std::vector<ScorePoint> expected = reference_hull(path_vertices(runs));
    ASSERT_EQ(suspense.corners(), expected) << runs.size() << " runs";
    EXPECT_EQ(suspense.doubled_area(), doubled_polygon_area(expected));
}

TEST(SuspenseIndex, CornersAndAreaOfSmallShapes) {
    const std::vector<std::pair<std::string, std::vector<ScorePoint>>> cases = {
        {"", {{0, 0}}},
        {"0", {{0, 0}, {1, 0}}},
        {"1111", {{0, 0}, {0, 4}}},
        {"01", {{0, 0}, {1, 0}, {1, 1}}},
        {"10", {{0, 0}, {1, 1}, {0, 1}}},
        {"0011", {{0, 0}, {2, 0}, {2, 2}}},
        // The upper left points 0:0, 1:1 and 2:2 lie on the straight side.
        {"0101", {{0, 0}, {1, 0}, {2, 1}, {2, 2}}},
        {"1100010", {{0, 0}, {3, 2}, {4, 3}, {3, 3}, {0, 2}}},
    };
    for (const auto& [codes, expected] : cases) {
        SuspenseIndex suspense;
        suspense.begin(static_cast<std::int32_t>(codes.size()));
        for (char code : codes) suspense.add_goal(code == '1');
        suspense.finish();
        EXPECT_EQ(suspense.corners(), expected) << codes;
        EXPECT_EQ(suspense.doubled_area(), doubled_polygon_area(expected)) << codes;
    }
}

// A path whose turns all bend the same way keeps thousands of corners: every
// turn from across to up that is not on a line with its neighbours. The single
// precision index cannot show one corner lost at this size, so the corners and
// the exact area are compared.
TEST(SuspenseIndex, KeepsEveryCornerOfAPathWithThousandsOfThem) {
    Runs runs;
    for (std::int64_t k = 1400; k >= 1; --k) runs.insert(runs.end(), {{false, k}, {true, 1}});
    for (std::int64_t k = 2; k <= 1400; ++k) runs.insert(runs.end(), {{false, 1}, {true, k}});
    expect_reference_hull(runs);
    EXPECT_GT(index_of_runs(runs).corners().size(), 2700u);
}

// Random matches far beyond one batch of turns, from short alternations to
// runs that take the score to the top of the 32-bit range.
TEST(SuspenseIndex, CornersAndAreaEqualAnIndependentHullOnLongPaths) {
    std::mt19937_64 random(20261211);
    for (int match = 0; match < 300; ++match) {
        const int run_count = std::uniform_int_distribution<int>(1, 20000)(random);
        const double long_share = std::uniform_real_distribution<double>(0.0, 0.01)(random);
        std::int64_t budget = 0x7fffffff;
        Runs runs;
        bool code = std::bernoulli_distribution(0.5)(random);
        for (int r = 0; r < run_count && budget > 0; ++r) {
            std::int64_t length = std::uniform_int_distribution<std::int64_t>(1, 6)(random);
            if (std::bernoulli_distribution(long_share)(random)) {
                length = std::uniform_int_distribution<std::int64_t>(1, budget / 4 + 1)(random);
            }
            length = std::min(length, budget);
            budget -= length;
            runs.push_back({code, length});
            code = !code;
        }
        expect_reference_hull(runs);
    }
    // One team's goals alone, then the other's, at the very top of the range.
    expect_reference_hull({{false, 0x7ffffffe}, {true, 1}});
    expect_reference_hull({{true, 0x7fffffff}});
}

// Matches whose final score lies near 2^15 and 2^16 goals each way, where
// products of coordinate differences pass 32 bits: the hull stays exact.
TEST(SuspenseIndex, CornersStayExactWhereProductsPass32Bits) {
    std::mt19937_64 random(215);
    for (int match = 0; match < 300; ++match) {
        const std::int64_t reach =
            std::uniform_int_distribution<std::int64_t>(20000, 70000)(random);
        const std::int64_t longest = std::uniform_int_distribution<std::int64_t>(1, 9000)(random);
        Runs runs;
        std::int64_t score[2] = {0, 0};
        bool code = std::bernoulli_distribution(0.5)(random);
        while (score[0] < reach || score[1] < reach) {
            const auto length = std::uniform_int_distribution<std::int64_t>(1, longest)(random);
            runs.push_back({code, length});
            score[code] += length;
            code = !code;
        }
        expect_reference_hull(runs);
    }
}

TEST(SuspenseIndex, KeepsOnlyHullCorners) {
    SuspenseIndex suspense;
    suspense.begin(1000000);
    for (int i = 0; i < 500000; ++i) suspense.add_goal(i % 2 == 0);
    suspense.finish();
    // The lower right side is the diagonal itself; the upper left one a line above it.
    EXPECT_EQ(suspense.corners(),
              (std::vector<ScorePoint>{{0, 0}, {250000, 250000}, {249999, 250000}, {0, 1}}));
}

// A straight run added in one step leaves the same state as the same goals
// added one by one, wherever it stands in the match.
TEST(SuspenseIndex, RunInOneStepEqualsGoalByGoal) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 2000; ++trial) {
        const int prefix = std::uniform_int_distribution<int>(0, 200)(random);
        const int run = std::uniform_int_distribution<int>(0, 300)(random);
        const int suffix = std::uniform_int_distribution<int>(0, 50)(random);
        const bool run_code = std::bernoulli_distribution(0.5)(random);
        std::bernoulli_distribution coin(std::uniform_real_distribution<double>(0.1, 0.9)(random));

        SuspenseIndex stepwise, in_one_step;
        stepwise.begin(prefix + run + suffix);
        in_one_step.begin(prefix + run + suffix);
        for (int i = 0; i < prefix; ++i) {
            const bool code = coin(random);
            stepwise.add_goal(code);
            in_one_step.add_goal(code);
        }
        for (int i = 0; i < run; ++i) stepwise.add_goal(run_code);
        in_one_step.add_goals(run_code, run);
        ASSERT_EQ(in_one_step.finish(), stepwise.finish()) << "trial " << trial;
        for (int i = 0; i < suffix; ++i) {
            const bool code = coin(random);
            stepwise.add_goal(code);
            in_one_step.add_goal(code);
        }
        ASSERT_EQ(in_one_step.score(), stepwise.score());
        ASSERT_EQ(in_one_step.finish(), stepwise.finish()) << "trial " << trial;
        ASSERT_EQ(in_one_step.corners(), stepwise.corners()) << "trial " << trial;
        ASSERT_EQ(in_one_step.doubled_area(), stepwise.doubled_area()) << "trial " << trial;
    }
}

// Blocks of up to 64 goals, anywhere in a match and mixed with single goals
// and long runs, leave the same state as the same goals one by one: random
// matches from lopsided to even, with streaks both shorter and longer than a
// block, some starting from scores near the top of the 32-bit range.
TEST(SuspenseIndex, GoalBlocksEqualGoalByGoal) {
    std::mt19937_64 random(20261212);
    for (int match = 0; match < 3000; ++match) {
        const double second_share = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        const double keep_streak = std::uniform_real_distribution<double>(0.0, 0.995)(random);
        std::bernoulli_distribution second_scores(second_share), streak(keep_streak);
        bool last = second_scores(random);
        auto next_code = [&] { return last = streak(random) ? last : second_scores(random); };

        SuspenseIndex goal_by_goal, in_blocks;
        goal_by_goal.begin(0x7fffffff);
        in_blocks.begin(0x7fffffff);
        if (match % 10 == 0) {
            const bool code = next_code();
            const std::int64_t length = 0x7fffffff - 100000;
            goal_by_goal.add_goals(code, length);
            in_blocks.add_goals(code, length);
        }
        const int steps = std::uniform_int_distribution<int>(1, 400)(random);
        for (int step = 0; step < steps; ++step) {
            // Matches that start near the top of the range have room for short steps only.
            const int kinds = match % 10 == 0 ? 5 : 6;
            switch (std::uniform_int_distribution<int>(0, kinds)(random)) {
                case 6: {
                    // Runs long enough that products of run lengths pass 2^32,
                    // each the other way from the goal before.
                    const bool code = last = !last;
                    const int blocks = std::uniform_int_distribution<int>(1, 3000)(random);
                    goal_by_goal.add_goals(code, std::int64_t{blocks} * 64);
                    for (int block = 0; block < blocks; ++block) {
                        in_blocks.add_goal_block(code ? ~std::uint64_t{0} : 0, 64);
                    }
                    break;
                }
                case 0: {
                    const bool code = next_code();
                    goal_by_goal.add_goal(code);
                    in_blocks.add_goal(code);
                    break;
                }
                case 1: {
                    const bool code = next_code();
                    const auto length = std::uniform_int_distribution<std::int64_t>(0, 200)(random);
                    goal_by_goal.add_goals(code, length);
                    in_blocks.add_goals(code, length);
                    break;
                }
                default: {
                    const int count = std::uniform_int_distribution<int>(0, 64)(random);
                    // Bits above the block's count are not goals.
                    std::uint64_t codes = count == 64 ? 0 : random() << count;
                    for (int bit = 0; bit < count; ++bit) {
                        const bool code = next_code();
                        if (code) codes |= std::uint64_t{1} << bit;
                        goal_by_goal.add_goal(code);
                    }
                    in_blocks.add_goal_block(codes, count);
                }
            }
            if (step % 50 == 49 || step + 1 == steps) {
                ASSERT_EQ(std::bit_cast<std::uint32_t>(in_blocks.finish()),
                          std::bit_cast<std::uint32_t>(goal_by_goal.finish()))
                    << "match " << match << ", step " << step;
                ASSERT_EQ(in_blocks.score(), goal_by_goal.score()) << "match " << match;
                ASSERT_EQ(in_blocks.corners(), goal_by_goal.corners()) << "match " << match;
                ASSERT_EQ(in_blocks.doubled_area(), goal_by_goal.doubled_area())
                    << "match " << match;
            }
        }
    }
}

TEST(SuspenseIndex, MatchWithoutGoalsScoresZero) {
    SuspenseIndex suspense;
    suspense.begin(-5);
    EXPECT_EQ(suspense.finish(), 0.0f);
}

TEST(Orientation, SignFollowsTheTurn) {
    EXPECT_GT(orientation({0, 0}, {1, 0}, {1, 1}), 0);
    EXPECT_LT(orientation({0, 0}, {0, 1}, {1, 1}), 0);
    EXPECT_EQ(orientation({0, 0}, {1, 1}, {2, 2}), 0);
    // Coordinates at the top of the 32-bit range: the exact 64-bit product.
    const std::int32_t big = 2147483647;
    EXPECT_EQ(orientation({0, 0}, {big, 0}, {big, big}), std::int64_t{big} * big);
}

}  // namespace
}  // namespace napinavost
