// The program started without standard input or output open at all, as
// `napinavost <&-` and `napinavost >&-` start it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "child_process.hpp"
#include "end_to_end_cases.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;

const Command program = {NAPINAVOST_EXECUTABLE};

std::string descriptor_target(pid_t pid, int fd) {
    char target[256] = {};
    const std::string link = "/proc/" + std::to_string(pid) + "/fd/" + std::to_string(fd);
    const ssize_t size = readlink(link.c_str(), target, sizeof target - 1);
    return size > 0 ? std::string(target, static_cast<std::size_t>(size)) : std::string();
}

TEST(ClosedStreams, AClosedInputReadsAsTheEndOfTheInput) {
    ChildProcess child = start_child(program, STDIN_FILENO);
    EXPECT_EQ(read_rest(child.output, 30s), count_prompt + "Index napinavosti: 0");
    EXPECT_EQ(wait_for_exit(child.pid, 30s), 0);
    EXPECT_EQ(read_rest(child.errors, 1s), "");
    close_fd(child.output);
    close_fd(child.errors);
}

// While it waits for the count, its output is /dev/null: no file the process
// might open could take that number and receive the dialogue.
TEST(ClosedStreams, AClosedOutputGoesNowhereAndTheRunEndsAsUsual) {
    ChildProcess child = start_child(program, STDOUT_FILENO);
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(descriptor_target(child.pid, STDOUT_FILENO), "/dev/null");
    write_to(child.input, "3\n0 1 1\n");
    close_fd(child.input);
    EXPECT_EQ(wait_for_exit(child.pid, 30s), 0);
    EXPECT_EQ(read_rest(child.errors, 1s), "");
    close_fd(child.errors);
}

}  // namespace
}  // namespace napinavost::testing
