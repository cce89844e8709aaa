#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace napinavost {

// The score after some goal: first team's goals across, second team's goals up.
struct ScorePoint {
    std::int32_t first = 0;
    std::int32_t second = 0;

    friend bool operator==(const ScorePoint&, const ScorePoint&) = default;
};

// Twice the signed area of the triangle a, b, c: positive for a counter-clockwise turn.
// Computed in 64 bits so that coordinates up to 2^31 - 1 never overflow.
std::int64_t orientation(ScorePoint a, ScorePoint b, ScorePoint c);

// A corner of one side of the hull, with twice the signed area that the side
// sweeps, as seen from the origin, from its start up to this corner.
struct HullCorner {
    ScorePoint point;
    std::int64_t doubled_area = 0;

    friend bool operator==(const HullCorner&, const HullCorner&) = default;
};

// One side of the hull from the origin towards the current score, which
// always closes it and is not stored.
struct HullChain {
    std::vector<HullCorner> corners{HullCorner{}};
};

// A score in one word: the first team's goals in the low half, the second
// team's in the high half. A goal is then one addition, with no branch.
using PackedScore = std::uint64_t;

constexpr ScorePoint unpack(PackedScore score) {
    return {static_cast<std::int32_t>(score & 0xffffffffu), static_cast<std::int32_t>(score >> 32)};
}

// Suspense of one match, built while its goals arrive. Memory grows with the
// hull's corners, never with the number of goals. A match may have up to
// 2^31 - 1 goals.
//
// Only a point where the path turns can be a corner of the hull, and only on
// one side: across-then-up on the lower right, up-then-across on the upper
// left. Such turns are collected without branching on the goals, then merged
// into the sides a batch at a time.
struct SuspenseIndex {
    static constexpr std::size_t batch = 512;
    // The direction of the latest goal: 0 across, 1 up, 2 before the first goal.
    static constexpr std::uint8_t no_goal_yet = 2;

    PackedScore packed_score = 0;
    std::uint8_t last_step = no_goal_yet;
    std::uint32_t lower_right_turns = 0;
    std::uint32_t upper_left_turns = 0;
    std::array<PackedScore, batch> lower_right_batch{};
    std::array<PackedScore, batch> upper_left_batch{};
    HullChain lower_right;
    HullChain upper_left;

    void begin(std::int32_t count);
    // code: false when the first team scored, true when the second did.
    void add_goal(bool code) { add_goals(code, 1); }
    // Same as add_goal(code) repeated `times` times, in one step.
    void add_goals(bool code, std::int64_t times);
    float finish();

    ScorePoint score() const { return unpack(packed_score); }

  private:
    void merge_turns();
};

inline void SuspenseIndex::add_goals(bool code, std::int64_t times) {
    if (times <= 0) return;
    const std::uint32_t up = code;
    // Always written, kept only when the goal makes a turn there.
    lower_right_batch[lower_right_turns] = packed_score;
    upper_left_batch[upper_left_turns] = packed_score;
    lower_right_turns += static_cast<std::uint32_t>(last_step == 0) & up;
    upper_left_turns += static_cast<std::uint32_t>(last_step == 1) & (up ^ 1);
    last_step = static_cast<std::uint8_t>(up);
    packed_score += static_cast<PackedScore>(times) << (32 * up);
    if (lower_right_turns == batch || upper_left_turns == batch) merge_turns();
}

}  // namespace napinavost
