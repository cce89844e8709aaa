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
class SuspenseIndex {
  public:
    void begin(std::int32_t count);
    // code: false when the first team scored, true when the second did.
    void add_goal(bool code) { add_goals(code, 1); }
    // Same as add_goal(code) repeated `times` times, in one step.
    void add_goals(bool code, std::int64_t times);
    // The index of the goals so far. More goals may follow; finish again then.
    float finish();

    ScorePoint score() const { return unpack(packed_score_); }

    // Twice the area of the hull of the path, exactly, as of the last finish().
    std::int64_t doubled_area() const { return doubled_area_; }
    // The hull's corners as of the last finish(), each once, counter-clockwise
    // from 0:0: the lower right side up to the final score, then the upper left
    // side back. No point between two corners on a straight side is one. A
    // match without goals gives 0:0 alone; one whose points lie on one line
    // gives its two ends.
    std::vector<ScorePoint> corners() const;

  private:
    // The direction of the latest goal; its value is the goal code it came from.
    enum class Step : std::uint8_t { across = 0, up = 1, none = 2 };

    // Turns wait in a batch of this many before they are thinned and merged:
    // large enough that the merge's fixed cost is spread thin, small enough
    // that both batches stay in the first-level cache (2 x 4 KiB).
    static constexpr std::size_t batch = 512;

    void merge_turns();

    PackedScore packed_score_ = 0;
    Step last_step_ = Step::none;
    std::uint32_t lower_right_turns_ = 0;
    std::uint32_t upper_left_turns_ = 0;
    std::array<PackedScore, batch> lower_right_batch_{};
    std::array<PackedScore, batch> upper_left_batch_{};
    // Each side from the origin towards the current score, which always
    // closes it and is not stored.
    std::vector<HullCorner> lower_right_{HullCorner{}};
    std::vector<HullCorner> upper_left_{HullCorner{}};
    ScorePoint finished_score_;
    std::int64_t doubled_area_ = 0;
};

inline void SuspenseIndex::add_goals(bool code, std::int64_t times) {
    if (times <= 0) return;
    const std::uint32_t up = code;
    // Always written, kept only when the goal makes a turn there.
    lower_right_batch_[lower_right_turns_] = packed_score_;
    upper_left_batch_[upper_left_turns_] = packed_score_;
    lower_right_turns_ += static_cast<std::uint32_t>(last_step_ == Step::across) & up;
    upper_left_turns_ += static_cast<std::uint32_t>(last_step_ == Step::up) & (up ^ 1);
    last_step_ = static_cast<Step>(up);
    packed_score_ += static_cast<PackedScore>(times) << (32 * up);
    if (lower_right_turns_ == batch || upper_left_turns_ == batch) merge_turns();
}

}  // namespace napinavost
