#include "suspense/suspense_index.hpp"

#include <algorithm>

namespace napinavost {

namespace {

// Which turns a side keeps: +1 counter-clockwise (lower right), -1 clockwise.
constexpr int lower_right_side = +1;
constexpr int upper_left_side = -1;

using Side = std::vector<HullCorner>;

// Twice the signed area of the triangle origin, a, b: what an edge a -> b adds to a side.
std::int64_t edge_area(ScorePoint a, ScorePoint b) {
    return std::int64_t{a.first} * b.second - std::int64_t{b.first} * a.second;
}

// How many corners stay when `next` follows them: a corner that does not turn
// the side's way, points on a line included, adds nothing to the hull.
std::size_t corners_kept(const Side& corners, ScorePoint next, int side) {
    std::size_t kept = corners.size();
    while (kept > 1 &&
           side * orientation(corners[kept - 2].point, corners[kept - 1].point, next) <= 0) {
        --kept;
    }
    return kept;
}

void extend(Side& corners, ScorePoint next, int side) {
    corners.resize(corners_kept(corners, next, side));
    const HullCorner& last = corners.back();
    corners.push_back({next, last.doubled_area + edge_area(last.point, next)});
}

// Twice the area the side sweeps once it is closed by `end`.
std::int64_t closed_area(const Side& corners, ScorePoint end, int side) {
    const HullCorner& last = corners[corners_kept(corners, end, side) - 1];
    return last.doubled_area + edge_area(last.point, end);
}

// Drops the turns that lie on the wrong side of their neighbours, or on their
// line: such a point is no corner of any hull that holds the neighbours too.
// Each pass compares with the neighbours as they stood before it, which keeps
// the loop free of branches and of dependencies between its steps. Passes go
// on while they drop more than an eighth of the turns: past that, the merge
// below, which drops the rest anyway, is cheaper than another whole pass.
// `turns` has room for one more entry, where `after` stands in for the next
// turn. Coordinates are taken from `before`, in `Number`: every turn lies
// between `before` and `after`.
template <int side, typename Number>
std::size_t drop_inner_turns(PackedScore* turns, std::size_t count, ScorePoint before,
                             ScorePoint after) {
    const auto across = [&](PackedScore turn) { return Number{unpack(turn).first} - before.first; };
    const auto up = [&](PackedScore turn) { return Number{unpack(turn).second} - before.second; };
    for (;;) {
        turns[count] = static_cast<std::uint32_t>(after.first) |
                       (PackedScore{static_cast<std::uint32_t>(after.second)} << 32);
        std::size_t kept = 0;
        Number previous_first = 0, previous_second = 0;
        PackedScore turn = turns[0];
        Number turn_first = across(turn), turn_second = up(turn);
        for (std::size_t i = 0; i < count; ++i) {
            const PackedScore next = turns[i + 1];
            const Number next_first = across(next), next_second = up(next);
            const Number turning = (next_first - previous_first) * (next_second - turn_second) -
                                   (next_first - turn_first) * (next_second - previous_second);
            turns[kept] = turn;
            kept += side * turning > 0;
            previous_first = turn_first;
            previous_second = turn_second;
            turn = next;
            turn_first = next_first;
            turn_second = next_second;
        }
        const bool few_dropped = count - kept <= count / 8;
        count = kept;
        if (few_dropped) return count;
    }
}

template <int side>
void merge(Side& corners, PackedScore* turns, std::size_t count, ScorePoint after) {
    if (count == 0) return;
    const ScorePoint before = corners.back().point;
    // Within 2^15 of `before` every product fits in 32 bits, which a 32-bit
    // processor multiplies in one instruction instead of several.
    constexpr std::int32_t near = 1 << 15;
    if (after.first - before.first < near && after.second - before.second < near) {
        count = drop_inner_turns<side, std::int32_t>(turns, count, before, after);
    } else {
        count = drop_inner_turns<side, std::int64_t>(turns, count, before, after);
    }
    for (std::size_t i = 0; i < count; ++i) extend(corners, unpack(turns[i]), side);
}

void start(Side& corners, std::size_t capacity) {
    corners.clear();
    corners.reserve(capacity);
    corners.push_back(HullCorner{});
}

}  // namespace

std::int64_t orientation(ScorePoint a, ScorePoint b, ScorePoint c) {
    return (std::int64_t{c.first} - a.first) * (std::int64_t{c.second} - b.second) -
           (std::int64_t{c.first} - b.first) * (std::int64_t{c.second} - a.second);
}

void SuspenseIndex::begin(std::int32_t count) {
    // A short match never has more corners than goals; long ones grow on demand.
    const auto capacity = static_cast<std::size_t>(std::clamp<std::int64_t>(count + 1LL, 1, 64));
    packed_score_ = 0;
    last_step_ = Step::none;
    lower_right_turns_ = 0;
    upper_left_turns_ = 0;
    block_end_ = no_block;
    start(lower_right_, capacity);
    start(upper_left_, capacity);
    finished_score_ = {};
    doubled_area_ = 0;
}

void SuspenseIndex::merge_turns() {
    const ScorePoint now = score();
    merge<lower_right_side>(lower_right_, lower_right_batch_.data(), lower_right_turns_, now);
    merge<upper_left_side>(upper_left_, upper_left_batch_.data(), upper_left_turns_, now);
    lower_right_turns_ = 0;
    upper_left_turns_ = 0;
}

float SuspenseIndex::finish() {
    block_end_ = no_block;
    merge_turns();
    const ScorePoint end = score();
    finished_score_ = end;
    doubled_area_ = closed_area(lower_right_, end, lower_right_side) -
                    closed_area(upper_left_, end, upper_left_side);
    const std::int64_t first_squared = std::int64_t{end.first} * end.first;
    const std::int64_t second_squared = std::int64_t{end.second} * end.second;
    const std::int64_t normaliser = std::max(first_squared, second_squared);
    // A match without goals encloses nothing.
    if (normaliser == 0) return 0.0f;
    return static_cast<float>(static_cast<double>(doubled_area_) / 2.0 /
                              static_cast<double>(normaliser));
}

std::vector<ScorePoint> SuspenseIndex::corners() const {
    const ScorePoint end = finished_score_;
    std::vector<ScorePoint> points;
    const std::size_t lower = corners_kept(lower_right_, end, lower_right_side);
    const std::size_t upper = corners_kept(upper_left_, end, upper_left_side);
    points.reserve(lower + upper + 1);
    for (std::size_t i = 0; i < lower; ++i) points.push_back(lower_right_[i].point);
    if (end != ScorePoint{}) points.push_back(end);
    // The upper left side runs from the origin too; walk it back, origin excluded.
    for (std::size_t i = upper; i-- > 1;) points.push_back(upper_left_[i].point);
    return points;
}

}  // namespace napinavost
