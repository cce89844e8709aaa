// Times the program on a ten-million-goal match read from a file, against the
// floor of merely reading that file, and on a huge count with a short input.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "child_timing.hpp"
#include "suspense/suspense_index.hpp"

namespace {

using napinavost::bench::Clock;
using napinavost::bench::Timing;

constexpr std::int32_t match_goals = 10'000'000;
constexpr int runs = 7;

// The file and the in-process figures use the same match: one seed, one rule.
constexpr std::uint64_t match_seed = 12345;

std::uint8_t random_code(std::mt19937_64& random) { return random() & 1; }

std::vector<std::uint8_t> random_match(std::int32_t goals) {
    std::mt19937_64 random(match_seed);
    std::vector<std::uint8_t> codes(goals);
    for (auto& code : codes) code = random_code(random);
    return codes;
}

// Written in pieces, so that this process stays small: a child started by
// fork counts the parent's memory in its own peak until it runs its program.
void write_match_file(const std::filesystem::path& path, std::int32_t goals) {
    std::mt19937_64 random(match_seed);
    std::ofstream file(path, std::ios::binary);
    file << goals << '\n';
    std::string line;
    for (std::int32_t i = 0; i < goals; ++i) {
        line += static_cast<char>('0' + random_code(random));
        line += (i % 40 == 39) ? '\n' : ' ';
        if (line.size() > 4096) {
            file << line;
            line.clear();
        }
    }
    file << line << '\n';
}

Timing time_program(const std::string& program, const std::filesystem::path& input) {
    return napinavost::bench::time_command({program}, input, runs);
}

template <typename Work>
double best_in_process_seconds(Work work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

void print_run(const char* what, const Timing& timing) {
    std::printf("%-36s %9.1f ms  peak RSS %6.2f MiB\n", what, timing.best_seconds * 1e3,
                timing.peak_kib / 1024.0);
}

}  // namespace

// An argument names another program to time in place of the native build, such
// as the script that starts the Windows build under Wine.
int main(int argc, char** argv) {
    const std::string tested = argc > 1 ? argv[1] : NAPINAVOST_EXECUTABLE;
    const std::filesystem::path folder = BENCH_DATA_DIR;
    const auto match_file = folder / "match_10m.txt";
    const auto huge_file = folder / "huge_count.txt";
    if (!std::filesystem::exists(match_file)) write_match_file(match_file, match_goals);
    std::ofstream(huge_file, std::ios::binary) << "2147483647\n0 1";

    std::printf("%s\nbest of %d runs; input from a file, output to /dev/null\n\n", tested.c_str(),
                runs);
    const Timing program = time_program(tested, match_file);
    const Timing floor = time_program(READ_FLOOR_EXECUTABLE, match_file);
    const Timing huge = time_program(tested, huge_file);

    print_run("napinavost, 10,000,000 goals", program);
    print_run("floor (read 64 KiB blocks, count)", floor);
    print_run("napinavost, count 2147483647, \"0 1\"", huge);
    std::printf("\ngoals per second:   %.3g\n", match_goals / program.best_seconds);
    std::printf("program / floor:    %.2fx\n", program.best_seconds / floor.best_seconds);

    // The computation alone, and what a run of goals costs one by one and in one step.
    const auto codes = random_match(match_goals);
    float sink = 0;
    const double hull_seconds = best_in_process_seconds([&] {
        napinavost::SuspenseIndex suspense;
        suspense.begin(match_goals);
        for (std::uint8_t code : codes) suspense.add_goal(code != 0);
        sink += suspense.finish();
    });
    constexpr std::int64_t run_length = 100'000'000;
    const double stepwise_seconds = best_in_process_seconds([&] {
        napinavost::SuspenseIndex suspense;
        suspense.begin(match_goals);
        suspense.add_goal(false);
        for (std::int64_t i = 0; i < run_length; ++i) suspense.add_goal(true);
        sink += suspense.finish();
    });
    const double one_step_seconds = best_in_process_seconds([&] {
        napinavost::SuspenseIndex suspense;
        suspense.begin(match_goals);
        suspense.add_goal(false);
        suspense.add_goals(true, run_length);
        sink += suspense.finish();
    });
    std::printf("\nin process, suspense index only:\n");
    std::printf("  10,000,000 random goals:           %9.1f ms\n", hull_seconds * 1e3);
    std::printf("  run of 100,000,000 goal by goal:   %9.1f ms\n", stepwise_seconds * 1e3);
    std::printf("  run of 100,000,000 in one step:    %9.4f ms\n", one_step_seconds * 1e3);
    return sink < 0 ? 1 : 0;
}
