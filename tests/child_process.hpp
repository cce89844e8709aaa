#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace napinavost::testing {

// A program started with its standard streams on pipes held by the test.
struct ChildProcess {
    pid_t pid = -1;
    int input = -1;   // the child's standard input, for writing
    int output = -1;  // the child's standard output, for reading
    int errors = -1;  // the child's standard error, for reading
};

// The program and its arguments; the first entry is a path to execute.
using Command = std::vector<std::string>;

// `closed` names a standard stream the child starts without, not even open;
// its end in the returned record is then -1.
ChildProcess start_child(const Command& command, int closed = -1);

void write_to(int fd, const std::string& text);
void close_fd(int& fd);

// Reads from `fd` until `collected` holds `wanted`, the stream ends or the
// time is up; returns whether `wanted` arrived.
bool read_until(int fd, std::string& collected, const std::string& wanted,
                std::chrono::milliseconds limit);

// Everything left on `fd` until it ends (or the time is up).
std::string read_rest(int fd, std::chrono::milliseconds limit);

// The exit status, or -1 for a process killed by a signal or still running at
// the limit (it is killed then).
int wait_for_exit(pid_t pid, std::chrono::milliseconds limit);

struct RunResult {
    std::string output;
    std::string errors;
    int status = -1;
};

// How the input goes into the pipe: in writes of these sizes, taken in turn
// (everything in one write when there are none), with `gap` between writes.
struct Delivery {
    std::vector<std::size_t> pieces;
    std::chrono::microseconds gap{0};
};

// Feeds `input` in full, closes standard input, and collects both outputs.
RunResult run_program(const Command& command, const std::string& input,
                      std::chrono::milliseconds limit, const Delivery& delivery = {});

}  // namespace napinavost::testing
