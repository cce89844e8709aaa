// Times the program on a ten-million-goal match read from a file, against the
// floor of merely reading that file, and on a huge count with a short input;
// then the suspense index alone, in process. With --windows BUILD, the Windows
// build in that build folder too, under Wine.
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "child_timing.hpp"
#include "index_figures.hpp"

namespace {

namespace bench = napinavost::bench;
using bench::Timing;

// Written in pieces, so that this process stays small: a child started by
// fork counts the parent's memory in its own peak until it runs its program.
void write_match_file(const std::filesystem::path& path, std::int32_t goals) {
    std::mt19937_64 random(bench::match_seed);
    std::ofstream file(path, std::ios::binary);
    file << goals << '\n';
    std::string line;
    for (std::int32_t i = 0; i < goals; ++i) {
        line += static_cast<char>('0' + bench::random_code(random));
        line += (i % 40 == 39) ? '\n' : ' ';
        if (line.size() > 4096) {
            file << line;
            line.clear();
        }
    }
    file << line << '\n';
}

Timing time_program(const std::vector<std::string>& command, const std::filesystem::path& input) {
    return bench::time_command(command, input, bench::runs);
}

void print_run(const char* what, const Timing& timing) {
    std::printf("%-40s %9.1f ms  peak RSS %6.2f MiB\n", what, timing.best_seconds * 1e3,
                timing.peak_kib / 1024.0);
}

struct Inputs {
    std::filesystem::path match;
    std::filesystem::path huge_count;
    std::filesystem::path one_goal;
};

// The Windows build's time of its own is its time on the big match less its
// time on a one-goal match, which is all that starting Wine and the pause costs.
int time_windows_build(const std::filesystem::path& build, const Inputs& inputs,
                       double native_own_seconds) {
    const std::string session = (build / "tests/wine/wine-session").string();
    const std::string index_bench = (build / "bench/bench_index.exe").string();
    std::printf("\nWindows build under Wine: %s\n", build.c_str());
    std::fflush(stdout);
    // The session script says why where this host cannot run the build at all.
    const int probe = std::system(("'" + session + "' probe").c_str());
    if (probe != 0) {
        std::printf("  not run: %s probe exited with status %d\n", session.c_str(),
                    WIFEXITED(probe) ? WEXITSTATUS(probe) : -1);
        return 1;
    }
    const Timing one_goal = time_program({session}, inputs.one_goal);
    if (!one_goal.succeeded) {
        std::printf("  not run: %s could not run the program (see above)\n", session.c_str());
        return 1;
    }
    const Timing match = time_program({session}, inputs.match);
    const Timing huge = time_program({session}, inputs.huge_count);
    print_run("napinavost.exe, 10,000,000 goals", match);
    print_run("napinavost.exe, 1 goal", one_goal);
    print_run("napinavost.exe, count 2147483647, \"0 1\"", huge);
    const double own = match.best_seconds - one_goal.best_seconds;
    std::printf("\nown time, 10,000,000 goals less 1 goal:\n");
    std::printf("  Windows build %9.1f ms   native build %9.1f ms   Windows / native %.2fx\n\n",
                own * 1e3, native_own_seconds * 1e3, own / native_own_seconds);
    std::fflush(stdout);
    const std::string command = "'" + session + "' exec '" + index_bench + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}

}  // namespace

// The same three inputs for another build of the program, such as an earlier
// version, with the ratio of its times to this build's.
void time_baseline(const std::string& baseline, const Inputs& inputs, const Timing& program,
                   const Timing& huge) {
    std::printf("\nbaseline: %s\n", baseline.c_str());
    const Timing match = time_program({baseline}, inputs.match);
    const Timing baseline_huge = time_program({baseline}, inputs.huge_count);
    const Timing one_goal = time_program({baseline}, inputs.one_goal);
    print_run("baseline, 10,000,000 goals", match);
    print_run("baseline, count 2147483647, \"0 1\"", baseline_huge);
    print_run("baseline, 1 goal", one_goal);
    std::printf("baseline / this build: 10,000,000 goals %.2fx, huge count %.2fx\n",
                match.best_seconds / program.best_seconds,
                baseline_huge.best_seconds / huge.best_seconds);
}

int main(int argc, char** argv) {
    std::filesystem::path windows_build;
    std::string baseline;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 < argc && std::strcmp(argv[i], "--windows") == 0) {
            windows_build = argv[i + 1];
        } else if (i + 1 < argc && std::strcmp(argv[i], "--baseline") == 0) {
            baseline = argv[i + 1];
        } else {
            std::fprintf(stderr, "usage: %s [--baseline PROGRAM] [--windows BUILD_FOLDER]\n",
                         argv[0]);
            return 2;
        }
    }
    const std::filesystem::path folder = BENCH_DATA_DIR;
    const Inputs inputs{folder / "match_10m.txt", folder / "huge_count.txt",
                        folder / "one_goal.txt"};
    if (!std::filesystem::exists(inputs.match)) write_match_file(inputs.match, bench::match_goals);
    std::ofstream(inputs.huge_count, std::ios::binary) << "2147483647\n0 1";
    std::ofstream(inputs.one_goal, std::ios::binary) << "1\n0\n";

    std::printf("best of %d runs; input from a file, output to /dev/null\n\n", bench::runs);
    const Timing program = time_program({NAPINAVOST_EXECUTABLE}, inputs.match);
    const Timing floor = time_program({READ_FLOOR_EXECUTABLE}, inputs.match);
    const Timing huge = time_program({NAPINAVOST_EXECUTABLE}, inputs.huge_count);
    const Timing one_goal = time_program({NAPINAVOST_EXECUTABLE}, inputs.one_goal);

    print_run("napinavost, 10,000,000 goals", program);
    print_run("floor (read 64 KiB blocks, count)", floor);
    print_run("napinavost, count 2147483647, \"0 1\"", huge);
    print_run("napinavost, 1 goal", one_goal);
    std::printf("\ngoals per second:   %.3g\n", bench::match_goals / program.best_seconds);
    std::printf("program / floor:    %.2fx\n", program.best_seconds / floor.best_seconds);
    if (!baseline.empty()) time_baseline(baseline, inputs, program, huge);
    std::printf("\n");
    bench::print_index_figures();

    if (windows_build.empty()) return 0;
    return time_windows_build(windows_build, inputs, program.best_seconds - one_goal.best_seconds);
}
