#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace napinavost::bench {

using Clock = std::chrono::steady_clock;

struct Timing {
    double best_seconds = 1e9;
    long peak_kib = 0;
    bool succeeded = true;  // every run exited with status 0
};

// The best wall time of `runs` runs of a command, with standard input from
// `input` and both outputs discarded, and the largest peak memory of any run.
inline Timing time_command(const std::vector<std::string>& command,
                           const std::filesystem::path& input, int runs) {
    std::vector<char*> arguments;
    for (const auto& argument : command) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    Timing timing;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            const int in = open(input.c_str(), O_RDONLY);
            const int out = open("/dev/null", O_WRONLY);
            dup2(in, STDIN_FILENO);
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
            execv(arguments[0], arguments.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s exited with status %d\n", command[0].c_str(), status);
            timing.succeeded = false;
        }
        timing.best_seconds = std::min(timing.best_seconds, seconds);
        timing.peak_kib = std::max(timing.peak_kib, usage.ru_maxrss);
    }
    return timing;
}

}  // namespace napinavost::bench
