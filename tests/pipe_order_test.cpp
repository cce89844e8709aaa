#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "child_process.hpp"
#include "end_to_end_cases.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;

const Command program = {NAPINAVOST_EXECUTABLE};

// Each prompt must arrive before the program waits, and each number must be
// taken as soon as it is complete: the test answers only what it has seen.
TEST(EndToEndOrder, AnswersArriveOnlyAfterTheirPrompts) {
    ChildProcess child = start_child(program);
    std::string seen;
    ASSERT_TRUE(read_until(child.output, seen, count_prompt, 10s));
    write_to(child.input, "3\n");
    ASSERT_TRUE(read_until(child.output, seen, goal_prompt, 10s)) << seen;
    for (const char* goal : {"0\n", "1\n", "1\n"}) {
        std::this_thread::sleep_for(50ms);
        write_to(child.input, goal);
    }
    EXPECT_TRUE(read_until(child.output, seen, "Index napinavosti: 0.25\n", 10s)) << seen;
    EXPECT_TRUE(read_until(child.output, seen, reference_line, 10s)) << seen;
    close_fd(child.input);
    EXPECT_EQ(read_rest(child.output, 10s), "");
    EXPECT_EQ(wait_for_exit(child.pid, 10s), 0);
    close_fd(child.output);
    close_fd(child.errors);
}

}  // namespace
}  // namespace napinavost::testing
