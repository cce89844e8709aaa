// The case table against the built executable: natively, or the Windows
// executable under Wine.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <string>

#include "child_process.hpp"
#include "end_to_end_cases.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;

const Command program = {NAPINAVOST_EXECUTABLE};
constexpr bool under_wine = NAPINAVOST_UNDER_WINE;

std::string with_crlf_line_ends(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

// Windows text mode turns each line feed the program writes into CR LF.
std::string with_platform_line_ends(const std::string& text) {
    return under_wine ? with_crlf_line_ends(text) : text;
}

// What the pause prints after the program's own text: the native stand-in
// prints nothing without a terminal; the Windows command processor prints its
// prompt and returns at the end of the input.
bool is_pause_output(const std::string& rest) {
    return under_wine ? rest.starts_with("Press any key to continue") : rest.empty();
}

void expect_run(const std::string& input, const std::string& own_output) {
    const RunResult run = run_program(program, input, 60s);
    const std::string expected = with_platform_line_ends(own_output);
    EXPECT_EQ(run.output.substr(0, expected.size()), expected);
    if (run.output.size() >= expected.size()) {
        EXPECT_TRUE(is_pause_output(run.output.substr(expected.size()))) << run.output;
    }
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.status, 0);
}

// Under Wine, on a host that cannot run Wine's 32-bit side at all, every case
// is skipped with the reason the session script gives.
class WineHostCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!under_wine) return;
        static const RunResult probe = run_program({NAPINAVOST_EXECUTABLE, "probe"}, "", 30s);
        if (probe.status == 77) GTEST_SKIP() << probe.errors;
    }
};

class EndToEnd : public WineHostCheck, public ::testing::WithParamInterface<EndToEndCase> {};

TEST_P(EndToEnd, WritesExactlyItsOwnTextThenPausesAndExitsWithZero) {
    expect_run(GetParam().input, GetParam().output);
}

TEST_P(EndToEnd, ReadsCarriageReturnLineEndsAsLineFeeds) {
    expect_run(with_crlf_line_ends(GetParam().input), GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(Cases, EndToEnd, ::testing::ValuesIn(end_to_end_cases),
                         [](const auto& info) {
                             std::string name;
                             for (char c : info.param.name) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

using EndToEndOutput = WineHostCheck;

TEST_F(EndToEndOutput, ClosedEarlyStillExitsWithZero) {
    ChildProcess child = start_child(program);
    std::string collected;
    ASSERT_TRUE(read_until(child.output, collected, count_prompt, 30s));
    close_fd(child.output);
    write_to(child.input, "3\n0 1 1\n");
    close_fd(child.input);
    EXPECT_EQ(wait_for_exit(child.pid, 30s), 0);
    EXPECT_EQ(read_rest(child.errors, 1s), "");
    close_fd(child.errors);
}

}  // namespace
}  // namespace napinavost::testing
