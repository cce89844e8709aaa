#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "child_process.hpp"
#include "end_to_end_cases.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;

const std::string program = NAPINAVOST_EXECUTABLE;

class EndToEnd : public ::testing::TestWithParam<EndToEndCase> {};

// Piped runs have no person at the console, so nothing follows the program's
// own output.
TEST_P(EndToEnd, WritesExactlyItsOwnTextAndExitsWithZero) {
    const auto& c = GetParam();
    const RunResult run = run_program(program, c.input, 60s);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEnd, ::testing::ValuesIn(end_to_end_cases),
                         [](const auto& info) {
                             std::string name;
                             for (char c : info.param.name) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(EndToEndOutput, ClosedEarlyStillExitsWithZero) {
    ChildProcess child = start_child(program);
    std::string collected;
    ASSERT_TRUE(read_until(child.output, collected, count_prompt, 10s));
    close_fd(child.output);
    write_to(child.input, "3\n0 1 1\n");
    close_fd(child.input);
    EXPECT_EQ(wait_for_exit(child.pid, 10s), 0);
    EXPECT_EQ(read_rest(child.errors, 1s), "");
    close_fd(child.errors);
}

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
