#pragma once

// The suspense index alone, in process, on the benchmark's ten-million-goal
// match: goal by goal, in blocks of 64 as the console reads them, and a long
// run of one team's goals. Portable, so that the Windows build prints the
// same figures.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "suspense/suspense_index.hpp"

namespace napinavost::bench {

constexpr std::int32_t match_goals = 10'000'000;
constexpr int runs = 7;

// The match file and the in-process figures use the same match: one seed, one rule.
constexpr std::uint64_t match_seed = 12345;

inline std::uint8_t random_code(std::mt19937_64& random) { return random() & 1; }

template <typename Work>
double best_in_process_seconds(Work work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, std::chrono::duration<double>(elapsed).count());
    }
    return best;
}

inline void print_index_figures() {
    std::mt19937_64 random(match_seed);
    std::vector<std::uint8_t> codes(match_goals);
    for (auto& code : codes) code = random_code(random);
    std::vector<std::uint64_t> blocks((codes.size() + 63) / 64);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        blocks[i / 64] |= std::uint64_t{codes[i]} << (i % 64);
    }

    float sink = 0;
    const double goal_by_goal = best_in_process_seconds([&] {
        SuspenseIndex suspense;
        suspense.begin(match_goals);
        for (std::uint8_t code : codes) suspense.add_goal(code != 0);
        sink += suspense.finish();
    });
    const double in_blocks = best_in_process_seconds([&] {
        SuspenseIndex suspense;
        suspense.begin(match_goals);
        std::int32_t left = match_goals;
        for (std::uint64_t block : blocks) {
            const int count = std::min(left, 64);
            suspense.add_goal_block(block, count);
            left -= count;
        }
        sink += suspense.finish();
    });
    constexpr std::int64_t run_length = 100'000'000;
    const double stepwise = best_in_process_seconds([&] {
        SuspenseIndex suspense;
        suspense.begin(match_goals);
        suspense.add_goal(false);
        for (std::int64_t i = 0; i < run_length; ++i) suspense.add_goal(true);
        sink += suspense.finish();
    });
    const double one_step = best_in_process_seconds([&] {
        SuspenseIndex suspense;
        suspense.begin(match_goals);
        suspense.add_goal(false);
        suspense.add_goals(true, run_length);
        sink += suspense.finish();
    });
    std::printf("in process, suspense index only (best of %d):\n", runs);
    std::printf("  10,000,000 random goals one by one: %9.1f ms\n", goal_by_goal * 1e3);
    std::printf("  the same in blocks of 64:           %9.1f ms\n", in_blocks * 1e3);
    std::printf("  run of 100,000,000 goal by goal:    %9.1f ms\n", stepwise * 1e3);
    std::printf("  run of 100,000,000 in one step:     %9.4f ms\n", one_step * 1e3);
    // Keeps the work from being optimised away.
    if (sink < 0) std::printf("%g\n", sink);
}

}  // namespace napinavost::bench
