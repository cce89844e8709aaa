// How input arrives through a pipe must never change what the program writes,
// and the program must never wait for more input than the next number needs.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

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

// A writer that pauses inside and between goals: the last goal is only
// complete once the character after it arrives, and then the result follows
// at once, with the input still open.
TEST(EndToEndOrder, SlowWriterIsAnsweredAsSoonAsTheLastGoalIsComplete) {
    ChildProcess child = start_child(program);
    std::string seen;
    ASSERT_TRUE(read_until(child.output, seen, count_prompt, 10s));
    for (const char* piece : {"+", " 4", "\n", "0", " ", "-", "1", "\t", "1", "0", " ", "1"}) {
        write_to(child.input, piece);
        std::this_thread::sleep_for(20ms);
    }
    EXPECT_FALSE(read_until(child.output, seen, "Index", 300ms)) << seen;
    write_to(child.input, "\n");
    EXPECT_TRUE(read_until(child.output, seen, "Index napinavosti: 0.166667\n", 10s)) << seen;
    EXPECT_TRUE(read_until(child.output, seen, reference_line, 10s)) << seen;
    close_fd(child.input);
    EXPECT_EQ(wait_for_exit(child.pid, 10s), 0);
    close_fd(child.output);
    close_fd(child.errors);
}

std::vector<std::string> stream_inputs() {
    std::vector<std::string> inputs;
    for (const auto& c : end_to_end_cases) inputs.push_back(c.input);
    for (unsigned seed = 1; seed <= 3; ++seed) inputs.push_back(random_match_text(seed, 700));
    return inputs;
}

TEST(PipeDelivery, SameOutputInOnePieceByteByByteAndInRandomPieces) {
    std::mt19937 random(7);
    std::vector<std::size_t> random_pieces(50);
    for (auto& piece : random_pieces) piece = 1 + random() % 40;
    const Delivery deliveries[] = {
        {{1}, 50us},
        {random_pieces, 200us},
    };
    for (const std::string& input : stream_inputs()) {
        const RunResult whole = run_program(program, input, 30s);
        EXPECT_EQ(whole.status, 0);
        for (const Delivery& delivery : deliveries) {
            const RunResult pieces = run_program(program, input, 30s, delivery);
            EXPECT_EQ(pieces.output, whole.output) << input.substr(0, 40);
            EXPECT_EQ(pieces.errors, "");
            EXPECT_EQ(pieces.status, 0);
        }
    }
}

}  // namespace
}  // namespace napinavost::testing
