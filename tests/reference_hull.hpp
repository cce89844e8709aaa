#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "suspense/suspense_index.hpp"

namespace napinavost::testing {

// A match as runs of goals by one team: (code, length), in order.
using Runs = std::vector<std::pair<bool, std::int64_t>>;

// The points where the path of the runs starts, turns and ends.
inline std::vector<ScorePoint> path_vertices(const Runs& runs) {
    std::vector<ScorePoint> points{{0, 0}};
    for (const auto& [code, length] : runs) {
        ScorePoint next = points.back();
        (code ? next.second : next.first) += static_cast<std::int32_t>(length);
        points.push_back(next);
    }
    return points;
}

// The convex hull of some points by Andrew's monotone chain, written apart from
// the library: counter-clockwise from the lowest point of the leftmost ones,
// with no point on a straight side. Points on one line give their two ends.
// Within a score path's box the cross products stay below 2^61.
inline std::vector<ScorePoint> reference_hull(std::vector<ScorePoint> points) {
    std::sort(points.begin(), points.end(), [](ScorePoint a, ScorePoint b) {
        return std::pair(a.first, a.second) < std::pair(b.first, b.second);
    });
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3) return points;
    const auto cross = [](ScorePoint o, ScorePoint a, ScorePoint b) {
        return (a.first - std::int64_t{o.first}) * (b.second - o.second) -
               (a.second - std::int64_t{o.second}) * (b.first - o.first);
    };
    std::vector<ScorePoint> hull;
    for (int pass = 0; pass < 2; ++pass) {
        const std::size_t floor = hull.size();
        for (ScorePoint p : points) {
            while (hull.size() >= floor + 2 && cross(hull[hull.size() - 2], hull.back(), p) <= 0) {
                hull.pop_back();
            }
            hull.push_back(p);
        }
        hull.pop_back();
        std::reverse(points.begin(), points.end());
    }
    if (hull.size() == 2 && hull[0] == hull[1]) hull.pop_back();
    return hull;
}

// Twice the area of a polygon, by the shoelace formula. With a corner at the
// origin every term is a triangle of the fan from it, so no partial sum exceeds
// the whole, which a score path bounds by 2^61.
inline std::int64_t doubled_polygon_area(const std::vector<ScorePoint>& corners) {
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const ScorePoint a = corners[i], b = corners[(i + 1) % corners.size()];
        sum += std::int64_t{a.first} * b.second - std::int64_t{b.first} * a.second;
    }
    return sum;
}

}  // namespace napinavost::testing
