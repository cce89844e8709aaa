#include "two_pass_reference.hpp"

#include <cstdint>

namespace napinavost::testing {

namespace {

struct Point {
    std::int32_t first;
    std::int32_t second;
};

std::int32_t turn(Point a, Point b, Point c) {
    return (c.first - a.first) * (c.second - b.second) -
           (c.first - b.first) * (c.second - a.second);
}

struct Chain {
    const std::vector<Point>& path;
    std::vector<std::int32_t> stack;
    std::int32_t top = 0;

    void push(std::int32_t r) {
        while (top > 1 && turn(path[stack[top - 2]], path[stack[top - 1]], path[r]) < 0) --top;
        stack[top++] = r;
    }

    void add_area(float& area_sum) const {
        for (std::int32_t i = 0; i + 1 < top; ++i) {
            const auto term = turn(path[stack[i]], path[stack[i + 1]], path[0]);
            area_sum = static_cast<float>(static_cast<double>(area_sum) + term);
        }
    }
};

}  // namespace

TwoPassResult two_pass_index(const std::vector<bool>& goals) {
    TwoPassResult result;
    const auto count = static_cast<std::int32_t>(goals.size());
    std::vector<Point> path(count + 1, Point{0, 0});
    Chain chain{path, std::vector<std::int32_t>(count + 1), 0};
    chain.stack[0] = 0;
    chain.top = 1;
    for (std::int32_t r = 1; r <= count; ++r) {
        const std::int32_t code = goals[r - 1] ? 1 : 0;
        path[r] = Point{path[r - 1].first + (1 - code), path[r - 1].second + code};
        chain.push(r);
    }

    result.forward_top = chain.top;
    chain.add_area(result.area_sum);
    chain.top = 0;
    for (std::int32_t r = count; r >= 0; --r) chain.push(r);
    result.backward_top = chain.top;
    chain.add_area(result.area_sum);

    const auto [a, b] = path[count];
    result.normaliser = a * a >= b * b ? a * a : b * b;
    result.index = static_cast<float>(static_cast<double>(result.area_sum) / 2 / result.normaliser);
    return result;
}

}  // namespace napinavost::testing
