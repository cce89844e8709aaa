#pragma once

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
    std::vector<HullCorner> corners;
};

// Suspense of one match, built while its goals arrive. Memory grows with the
// hull's corners, never with the number of goals.
struct SuspenseIndex {
    // The direction of the latest goal: 0 across, 1 up, 2 before the first goal.
    static constexpr std::uint8_t no_goal_yet = 2;

    ScorePoint score;
    std::uint8_t last_step = no_goal_yet;
    HullChain lower_right;
    HullChain upper_left;

    void begin(std::int32_t count);
    // code: false when the first team scored, true when the second did.
    void add_goal(bool code) { add_goals(code, 1); }
    // Same as add_goal(code) repeated `times` times, in one step.
    void add_goals(bool code, std::int64_t times);
    float finish() const;

  private:
    void add_turn(bool code);
};

// Only a point where the path turns can be a corner of the hull, and only on
// one side: across-then-up on the lower right, up-then-across on the upper left.
// The goals in between cost a few additions.
inline void SuspenseIndex::add_goals(bool code, std::int64_t times) {
    if (times <= 0) return;
    if ((last_step ^ code) == 1) add_turn(code);
    last_step = code;
    const auto step = static_cast<std::int32_t>(times);
    score.first += code ? 0 : step;
    score.second += code ? step : 0;
}

}  // namespace napinavost
