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

// One build of the program on each of the inputs.
struct ProgramRuns {
    Timing match;
    Timing huge_count;
    Timing one_goal;

    // What is left once starting the program is taken off: the big match less one goal.
    double own_seconds() const { return match.best_seconds - one_goal.best_seconds; }
};

ProgramRuns time_program_runs(const std::string& program, const Inputs& inputs) {
    return {time_program({program}, inputs.match), time_program({program}, inputs.huge_count),
            time_program({program}, inputs.one_goal)};
}

void print_program_runs(const std::string& name, const ProgramRuns& runs) {
    print_run((name + ", 10,000,000 goals").c_str(), runs.match);
    print_run((name + ", count 2147483647, \"0 1\"").c_str(), runs.huge_count);
    print_run((name + ", 1 goal").c_str(), runs.one_goal);
}

// The Windows build's time of its own is its time on the big match less its
// time on a one-goal match, which is all that starting Wine and the pause costs.
int time_windows_build(const std::filesystem::path& build, const Inputs& inputs,
                       const ProgramRuns& native) {
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
    const ProgramRuns windows = time_program_runs(session, inputs);
    if (!windows.match.succeeded || !windows.huge_count.succeeded || !windows.one_goal.succeeded) {
        std::printf("  not run: %s could not run the program (see above)\n", session.c_str());
        return 1;
    }
    print_program_runs("napinavost.exe", windows);
    std::printf("\nown time, 10,000,000 goals less 1 goal:\n");
    std::printf("  Windows build %9.1f ms   native build %9.1f ms   Windows / native %.2fx\n\n",
                windows.own_seconds() * 1e3, native.own_seconds() * 1e3,
                windows.own_seconds() / native.own_seconds());
    std::fflush(stdout);
    const std::string command = "'" + session + "' exec '" + index_bench + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}

// The same inputs for another build of the program, such as an earlier
// version, with the ratio of its times to this build's.
void time_baseline(const std::string& baseline, const Inputs& inputs, const ProgramRuns& program) {
    std::printf("\nbaseline: %s\n", baseline.c_str());
    const ProgramRuns runs = time_program_runs(baseline, inputs);
    print_program_runs("baseline", runs);
    std::printf("baseline / this build: 10,000,000 goals %.2fx, huge count %.2fx\n",
                runs.match.best_seconds / program.match.best_seconds,
                runs.huge_count.best_seconds / program.huge_count.best_seconds);
}

}  // namespace

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
    const ProgramRuns program = time_program_runs(NAPINAVOST_EXECUTABLE, inputs);
    const Timing floor = time_program({READ_FLOOR_EXECUTABLE}, inputs.match);

    print_program_runs("napinavost", program);
    print_run("floor (read 64 KiB blocks, count)", floor);
    std::printf("\ngoals per second:   %.3g\n", bench::match_goals / program.match.best_seconds);
    std::printf("program / floor:    %.2fx\n", program.match.best_seconds / floor.best_seconds);
    if (!baseline.empty()) time_baseline(baseline, inputs, program);
    std::printf("\n");
    bench::print_index_figures();

    if (windows_build.empty()) return 0;
    return time_windows_build(windows_build, inputs, program);
}
