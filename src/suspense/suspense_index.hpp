#pragma once

#include <array>
#include <bit>
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
    // Same as add_goal for each of the `count` (at most 64) lowest bits of
    // `codes`, lowest first.
    void add_goal_block(std::uint64_t codes, int count);
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
    // A block of 64 goals turns at most 32 times each way and may settle one
    // more turn, all stored before the batch is merged; the merge takes one
    // more entry.
    static constexpr std::size_t batch_room = batch + 32 + 2;

    template <bool starts_up>
    void walk_changes(std::uint64_t changes, std::uint32_t count);
    void merge_turns();

    PackedScore packed_score_ = 0;
    Step last_step_ = Step::none;
    std::uint32_t lower_right_turns_ = 0;
    std::uint32_t upper_left_turns_ = 0;
    std::array<PackedScore, batch_room> lower_right_batch_{};
    std::array<PackedScore, batch_room> upper_left_batch_{};
    // The score where the latest block left the walk, or no score at all when
    // anything else happened since; then the last turn on each side is still
    // the block's to judge. Also the three latest runs between changes, newest
    // first, and the goals since the latest change.
    static constexpr PackedScore no_block = ~PackedScore{0};
    PackedScore block_end_ = no_block;
    std::uint32_t runs_[3] = {};
    std::uint32_t since_change_ = 0;
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

// A turn is where a goal's bit differs from the one before it. Walking from
// one such change to the next, the goals between all go the same way, so the
// score at each turn follows from the distance alone; the goals in between
// cost nothing, and everything per turn is 32-bit arithmetic.
inline void SuspenseIndex::add_goal_block(std::uint64_t codes, int count) {
    if (count <= 0) return;
    const std::uint64_t in_block =
        count == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
    codes &= in_block;
    // Before the first goal of a match there is no direction to turn from.
    const std::uint64_t before =
        last_step_ == Step::none ? (codes & 1) : static_cast<std::uint64_t>(last_step_);
    const std::uint64_t changes = (codes ^ ((codes << 1) | before)) & in_block;
    if (before == 0) {
        walk_changes<false>(changes, static_cast<std::uint32_t>(count));
    } else {
        walk_changes<true>(changes, static_cast<std::uint32_t>(count));
    }
}

// Changes alternate: one that ends a run in the direction the block starts
// in (call it x), then one that ends a run the other way (y), and so on.
// Walking them in such pairs fixes which score each run adds to and which
// side each turn lies on: across then up turns on the lower right, up then
// across on the upper left.
//
// A turn's neighbours on its own side are the changes two before and two
// after it, and whether it turns the side's way follows from the four runs
// between them: with runs a, b before it and c, d after, it does when
// b * c > a * d. A turn that does not is no corner and never reaches the
// batch. The latest turn on each side is kept for now, and the next block
// takes it back to judge it, unless anything else came in between; the first
// two turns after the start or after anything else have no neighbours before
// them to be judged by and are kept.
template <bool starts_up>
inline void SuspenseIndex::walk_changes(std::uint64_t changes, std::uint32_t count) {
    std::uint32_t first = static_cast<std::uint32_t>(packed_score_);
    std::uint32_t second = static_cast<std::uint32_t>(packed_score_ >> 32);
    std::uint32_t& x_score = starts_up ? second : first;
    std::uint32_t& y_score = starts_up ? first : second;
    PackedScore* const x_batch = starts_up ? upper_left_batch_.data() : lower_right_batch_.data();
    PackedScore* const y_batch = starts_up ? lower_right_batch_.data() : upper_left_batch_.data();
    std::uint32_t& x_turns = starts_up ? upper_left_turns_ : lower_right_turns_;
    std::uint32_t& y_turns = starts_up ? lower_right_turns_ : upper_left_turns_;
    const auto score = [&] { return PackedScore{first} | (PackedScore{second} << 32); };
    // Runs are counted from the latest change, which may lie in an earlier
    // block; the score is taken back there too.
    const bool goes_on = packed_score_ == block_end_;
    if (!goes_on) since_change_ = 0;
    std::uint32_t at = 0 - since_change_;
    x_score -= since_change_;
    // The changes in machine words: a 32-bit processor takes several
    // instructions for each operation on 64 bits, so there they are walked
    // as two halves.
    using Word = std::uintptr_t;
    constexpr std::uint32_t word_bits = sizeof(Word) * 8;
    Word low = static_cast<Word>(changes);
    Word high = word_bits < 64 ? static_cast<Word>(changes >> (word_bits % 64)) : 0;
    std::uint32_t word_start = 0;
    const auto next_run = [&] {
        if constexpr (word_bits < 64) {
            if (low == 0) {
                low = high;
                high = 0;
                word_start = word_bits;
            }
        }
        const auto change = word_start + static_cast<std::uint32_t>(std::countr_zero(low));
        low &= low - 1;
        const std::uint32_t run = change - at;
        at = change;
        return run;
    };
    const auto changes_left = [&] { return (low | high) != 0; };
    // Runs reach 2^31 - 1 goals; their products need 64 bits.
    const auto turns_its_way = [](std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                  std::uint32_t d) {
        return static_cast<std::uint32_t>(std::uint64_t{b} * c > std::uint64_t{a} * d);
    };

    std::uint32_t x_lot = x_turns;
    std::uint32_t y_lot = y_turns;
    PackedScore x_turn = 0;
    PackedScore y_turn = 0;
    // The three latest runs, newest first; the newest ends at a y change.
    std::uint32_t run_1 = runs_[0], run_2 = runs_[1], run_3 = runs_[2];
    bool ends_on_x = false;
    // Whether this block's latest turns wait for the next block to judge them.
    bool judged = true;
    if (goes_on) {
        x_turn = x_batch[--x_lot];
        y_turn = y_batch[--y_lot];
    } else {
        int changed = 0;
        for (std::uint64_t rest = changes; rest != 0 && changed < 4; rest &= rest - 1) ++changed;
        if (changed < 4) {
            // Too few changes to judge any turn by: all of them are kept.
            for (int k = 0; k < changed; ++k) {
                if (k % 2 == 0) {
                    x_score += next_run();
                    x_batch[x_lot++] = score();
                } else {
                    y_score += next_run();
                    y_batch[y_lot++] = score();
                }
            }
            ends_on_x = changed % 2 == 1;
            judged = false;
        } else {
            // The first two changes only start the history; the next two keep
            // the first two turns.
            x_score += next_run();
            x_turn = score();
            run_3 = next_run();
            y_score += run_3;
            y_turn = score();
            run_2 = next_run();
            x_score += run_2;
            x_batch[x_lot++] = x_turn;
            x_turn = score();
            run_1 = next_run();
            y_score += run_1;
            y_batch[y_lot++] = y_turn;
            y_turn = score();
        }
    }
    if (judged) {
        while (changes_left()) {
            const std::uint32_t x_run = next_run();
            x_score += x_run;
            x_batch[x_lot] = x_turn;
            x_lot += turns_its_way(run_3, run_2, run_1, x_run);
            x_turn = score();
            if (!changes_left()) {
                run_3 = run_2;
                run_2 = run_1;
                run_1 = x_run;
                ends_on_x = true;
                break;
            }
            const std::uint32_t y_run = next_run();
            y_score += y_run;
            y_batch[y_lot] = y_turn;
            y_lot += turns_its_way(run_2, run_1, x_run, y_run);
            y_turn = score();
            run_3 = run_1;
            run_2 = x_run;
            run_1 = y_run;
        }
        x_batch[x_lot++] = x_turn;
        y_batch[y_lot++] = y_turn;
        runs_[0] = run_1;
        runs_[1] = run_2;
        runs_[2] = run_3;
    }
    x_turns = x_lot;
    y_turns = y_lot;
    since_change_ = count - at;
    (ends_on_x ? y_score : x_score) += since_change_;
    packed_score_ = score();
    last_step_ = static_cast<Step>(ends_on_x != starts_up);
    // A merge takes the last turns along with the rest; the next block starts afresh then.
    block_end_ = judged ? packed_score_ : no_block;
    if (x_turns >= batch || y_turns >= batch) {
        merge_turns();
        block_end_ = no_block;
    }
}

}  // namespace napinavost
