#pragma once

#include <cstdint>
#include <vector>

namespace napinavost::testing {

// The suspense index by the original two-pass method: the whole score path in
// one array, a forward and a backward chain over one shared stack, 32-bit
// products and a single-precision area sum. Exact only for matches of up to
// 8,192 goals; used to check the streaming computation against.
struct TwoPassResult {
    float index = 0.0f;
    float area_sum = 0.0f;
    std::int32_t normaliser = 0;
    std::int32_t forward_top = 0;   // stack entries after the forward chain
    std::int32_t backward_top = 0;  // stack entries after the backward chain
};

// Needs at least one goal.
TwoPassResult two_pass_index(const std::vector<bool>& goals);

}  // namespace napinavost::testing
