#include "suspense/suspense_index.hpp"

#include <algorithm>

namespace napinavost {

namespace {

// Which turns a side keeps: +1 counter-clockwise (lower right), -1 clockwise.
constexpr int lower_right_side = +1;
constexpr int upper_left_side = -1;

// Twice the signed area of the triangle origin, a, b: what an edge a -> b adds to a side.
std::int64_t edge_area(ScorePoint a, ScorePoint b) {
    return std::int64_t{a.first} * b.second - std::int64_t{b.first} * a.second;
}

// How many corners stay when `next` follows them: a corner that does not turn
// the side's way, points on a line included, adds nothing to the hull.
std::size_t corners_kept(const std::vector<HullCorner>& corners, ScorePoint next, int side) {
    std::size_t kept = corners.size();
    while (kept > 1 &&
           side * orientation(corners[kept - 2].point, corners[kept - 1].point, next) <= 0) {
        --kept;
    }
    return kept;
}

void extend(HullChain& chain, ScorePoint next, int side) {
    auto& corners = chain.corners;
    corners.resize(corners_kept(corners, next, side));
    const HullCorner& last = corners.back();
    corners.push_back({next, last.doubled_area + edge_area(last.point, next)});
}

// Twice the area the side sweeps once it is closed by `end`.
std::int64_t closed_area(const HullChain& chain, ScorePoint end, int side) {
    const HullCorner& last = chain.corners[corners_kept(chain.corners, end, side) - 1];
    return last.doubled_area + edge_area(last.point, end);
}

void start(HullChain& chain, std::size_t capacity) {
    chain.corners.clear();
    chain.corners.reserve(capacity);
    chain.corners.push_back(HullCorner{});
}

}  // namespace

std::int64_t orientation(ScorePoint a, ScorePoint b, ScorePoint c) {
    return (std::int64_t{c.first} - a.first) * (std::int64_t{c.second} - b.second) -
           (std::int64_t{c.first} - b.first) * (std::int64_t{c.second} - a.second);
}

void SuspenseIndex::begin(std::int32_t count) {
    // A short match never has more corners than goals; long ones grow on demand.
    const auto capacity = static_cast<std::size_t>(std::clamp<std::int64_t>(count + 1LL, 1, 64));
    score = ScorePoint{};
    last_step = no_goal_yet;
    start(lower_right, capacity);
    start(upper_left, capacity);
}

void SuspenseIndex::add_turn(bool code) {
    if (code) {
        extend(lower_right, score, lower_right_side);
    } else {
        extend(upper_left, score, upper_left_side);
    }
}

float SuspenseIndex::finish() const {
    const std::int64_t area_sum = closed_area(lower_right, score, lower_right_side) -
                                  closed_area(upper_left, score, upper_left_side);
    const std::int64_t first_squared = std::int64_t{score.first} * score.first;
    const std::int64_t second_squared = std::int64_t{score.second} * score.second;
    const std::int64_t normaliser = std::max(first_squared, second_squared);
    // A match without goals encloses nothing.
    if (normaliser == 0) return 0.0f;
    return static_cast<float>(static_cast<double>(area_sum) / 2.0 /
                              static_cast<double>(normaliser));
}

}  // namespace napinavost
