#include "dialogue/console.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "memory_console.hpp"

namespace napinavost {
namespace {

using testing::memory_console;
using testing::MemoryInput;
using testing::MemoryOutput;
using testing::unread;

struct Read {
    std::optional<std::int64_t> value;
    bool at_end;
    bool failed;
    std::string rest;  // input left for the next read
};

struct ReaderCase {
    std::string name;
    std::string input;
    std::vector<Read> reads;
};

constexpr std::optional<std::int64_t> none = std::nullopt;

const std::vector<ReaderCase> reader_cases = {
    {"plus sign after spaces", "  +3", {{3, false, false, ""}}},
    {"space between sign and digits", "+ 3\n", {{3, false, false, "\n"}}},
    {"line end between sign and digits", "- \n 5 ", {{-5, false, false, " "}}},
    {"minus zero", "-0", {{0, false, false, ""}}},
    {"leading zeros mean nothing", "007 ", {{7, false, false, " "}}},
    {"no prefix for other bases", "0x1A", {{0, false, false, "x1A"}}},
    {"every kind of white space", "\t\n\v\f\r 42", {{42, false, false, ""}}},
    {"several numbers on one line", "1 2\n", {{1, false, false, " 2\n"}, {2, false, false, "\n"}}},
    {"digits run together are one number", "01", {{1, false, false, ""}}},
    {"one-digit and longer numbers in a row",
     " 1 23 0\n",
     {{1, false, false, " 23 0\n"}, {23, false, false, " 0\n"}, {0, false, false, "\n"}}},
    {"letter right after a one-digit number",
     " 5x 6",
     {{5, false, false, "x 6"}, {none, false, true, "x 6"}}},
    {"letter ends the number and stays",
     "12abc",
     {{12, false, false, "abc"}, {none, false, true, "abc"}, {none, false, true, "abc"}}},
    {"failed stays set before a valid number",
     "x 5",
     {{none, false, true, "x 5"}, {none, false, true, "x 5"}}},
    {"sign without digits", "+-5", {{none, false, true, "-5"}}},
    {"end right after the digits",
     "5",
     {{5, false, false, ""}, {none, true, true, ""}, {none, true, true, ""}}},
    {"empty input", "", {{none, true, true, ""}}},
    {"only white space", " \n\t ", {{none, true, true, ""}}},
    {"sign at the end", "12 -  ", {{12, false, false, " -  "}, {none, true, true, ""}}},
    {"2^64 wraps to zero", "18446744073709551616", {{0, false, false, ""}}},
    {"2^64 - 1 is minus one", "18446744073709551615", {{-1, false, false, ""}}},
    {"twenty nines wrap", "99999999999999999999", {{7766279631452241919, false, false, ""}}},
    {"most negative", "-9223372036854775808", {{INT64_MIN, false, false, ""}}},
    {"minus wraps the other way", "-18446744073709551615", {{1, false, false, ""}}},
};

// Every case holds however the input is cut into pieces.
TEST(ReadInteger, FollowsTheSyntaxAndFailureRules) {
    for (const auto& c : reader_cases) {
        for (std::size_t chunk : {std::size_t{0}, std::size_t{1}, std::size_t{3}}) {
            MemoryInput input{c.input, chunk};
            MemoryOutput output;
            Console console = memory_console(input, output);
            for (std::size_t i = 0; i < c.reads.size(); ++i) {
                const auto& expected = c.reads[i];
                SCOPED_TRACE(c.name + ", read " + std::to_string(i + 1) + ", chunk " +
                             std::to_string(chunk));
                EXPECT_EQ(read_integer(console), expected.value);
                EXPECT_EQ(console.input.state.at_end, expected.at_end);
                EXPECT_EQ(console.input.state.failed, expected.failed);
                EXPECT_EQ(unread(console, input), expected.rest);
            }
        }
    }
}

TEST(ReadCount, KeepsTheLow32BitsOrTheOldCount) {
    struct Case {
        std::string input;
        std::int32_t count;
    };
    const Case cases[] = {
        {"7", 7},           {"4294967296", 0},
        {"4294967297", 1},  {"2147483648", -2147483648},
        {"4294967295", -1}, {"-1", -1},
        {"+2", 2},          {"x", 77},
        {"", 77},           {"-2147483649", 2147483647},
    };
    for (const auto& c : cases) {
        MemoryInput input{c.input};
        MemoryOutput output;
        Console console = memory_console(input, output);
        std::int32_t count = 77;
        read_count(console, count);
        EXPECT_EQ(count, c.count) << "input '" << c.input << "'";
    }
}

// A count read first leaves the goal in the buffer, where the first rows are
// one digit after one white-space character; the next ones stand just beside
// that form. Every row must read the same when the input comes byte by byte.
TEST(ReadGoal, AnyNonzeroNumberIsTheSecondTeam) {
    struct Case {
        std::string input;
        bool before;
        bool after;
        bool read;
        std::string rest;
    };
    const Case cases[] = {
        {" 0 ", true, false, true, " "}, {" 1\n", false, true, true, "\n"},
        {" 5x", false, true, true, "x"}, {" 12 ", false, true, true, " "},
        {" 1", false, true, true, ""},   {"\n\n0 ", true, false, true, " "},
        {"0", true, false, true, ""},    {"2", false, true, true, ""},
        {"-1", false, true, true, ""},   {"18446744073709551616", true, false, true, ""},
        {"a", true, true, false, "a"},   {"a", false, false, false, "a"},
        {"", true, true, false, ""},
    };
    for (const auto& c : cases) {
        for (std::size_t chunk : {std::size_t{0}, std::size_t{1}}) {
            const std::string text = (c.input.starts_with(' ') ? "9" : "9 ") + c.input;
            MemoryInput input{text, chunk};
            MemoryOutput output;
            Console console = memory_console(input, output);
            std::int32_t count = 0;
            read_count(console, count);
            ASSERT_EQ(count, 9);
            bool code = c.before;
            EXPECT_EQ(read_goal(console, code), c.read) << "input '" << c.input << "'";
            EXPECT_EQ(code, c.after) << "input '" << c.input << "' after " << c.before;
            EXPECT_EQ(unread(console, input), c.rest) << "input '" << c.input << "'";
        }
    }
}

// With the buffer already holding the goals, as after the count's read.
TEST(ReadGoal, TakesOneDigitGoalsStraightFromTheBuffer) {
    MemoryInput input{"3 0 1 1\n"};
    MemoryOutput output;
    Console console = memory_console(input, output);
    std::int32_t count = 0;
    read_count(console, count);
    ASSERT_EQ(count, 3);
    const int reads = input.reads;
    bool code = true;
    EXPECT_TRUE(read_goal(console, code));
    EXPECT_FALSE(code);
    EXPECT_TRUE(read_goal(console, code));
    EXPECT_TRUE(code);
    EXPECT_TRUE(read_goal(console, code));
    EXPECT_TRUE(code);
    EXPECT_EQ(input.reads, reads);
    EXPECT_EQ(unread(console, input), "\n");
    EXPECT_FALSE(read_goal(console, code));
    EXPECT_TRUE(console.input.state.at_end);
}

// Goals from a pattern of codes repeated, each after one separator in turn.
std::string goal_text(int goals, const std::string& separators = " ") {
    std::string text;
    for (int goal = 0; goal < goals; ++goal) {
        text += separators[goal % separators.size()];
        text += "0110100"[goal % 7];
    }
    return text;
}

// The codes goal_text gives its first `goals` goals.
std::uint64_t goal_codes(int goals) {
    std::uint64_t codes = 0;
    for (int goal = 0; goal < goals; ++goal) {
        if ("0110100"[goal % 7] == '1') codes |= std::uint64_t{1} << goal;
    }
    return codes;
}

struct BlockCase {
    std::string name;
    std::string goals;  // after a count of 9
    int most;
    int taken;
    std::string rest_starts;  // what the next read meets
    bool output_pending = false;
};

// A block ends where its form ends: at the edge of a goal of any other form,
// at the block's or the caller's limit, and it takes nothing where too little
// is at hand or output is waiting.
TEST(ReadGoalBlock, TakesWhatReadGoalWouldInOneCall) {
    const std::vector<BlockCase> cases = {
        {"a full block", goal_text(100), 64, 64, goal_text(100).substr(128, 4)},
        {"the caller's limit", goal_text(100), 10, 10, goal_text(100).substr(20, 4)},
        {"every kind of white space", goal_text(100, " \t\n\v\f\r"), 64, 64,
         goal_text(100, " \t\n\v\f\r").substr(128, 4)},
        {"a two-digit goal", goal_text(29) + " 10" + goal_text(70), 64, 29, " 10 "},
        {"a line end of two characters", goal_text(20) + "\r\n1" + goal_text(70), 64, 20, "\r\n1 "},
        {"a sign", goal_text(5) + " -1" + goal_text(70), 64, 5, " -1 "},
        {"a letter after a digit", goal_text(40) + "a0" + goal_text(70), 64, 40, "a0 "},
        {"the last full goal's digit followed by more", goal_text(63) + " 12" + goal_text(70), 64,
         63, " 12"},
        {"too little left for a block", goal_text(64), 64, 0, " 0"},
        {"output waiting", goal_text(100), 64, 0, " 0", true},
    };
    for (const auto& c : cases) {
        const std::string text = "9" + c.goals;
        MemoryInput input{text};
        MemoryOutput output;
        Console console = memory_console(input, output);
        std::int32_t count = 0;
        read_count(console, count);
        if (c.output_pending) write_text(console, "?");
        std::uint64_t codes = 0xabcdef;
        const int taken = read_goal_block(console, codes, c.most);
        EXPECT_EQ(taken, c.taken) << c.name;
        EXPECT_EQ(codes, taken == 0 ? 0xabcdef : goal_codes(taken)) << c.name;
        EXPECT_TRUE(unread(console, input).starts_with(c.rest_starts)) << c.name;
    }
}

TEST(ReadGoalBlock, TakesNothingAfterAFailedRead) {
    const std::string text = "x" + goal_text(100);
    MemoryInput input{text};
    MemoryOutput output;
    Console console = memory_console(input, output);
    EXPECT_EQ(read_integer(console), none);
    std::uint64_t codes = 0;
    EXPECT_EQ(read_goal_block(console, codes, 64), 0);
}

TEST(ReadInteger, DeliversPendingOutputBeforeReading) {
    MemoryInput input{"3 4"};
    MemoryOutput output;
    Console console = memory_console(input, output);
    write_text(console, "prompt: ");
    EXPECT_EQ(output.text(), "");
    read_integer(console);
    EXPECT_EQ(output.text(), "prompt: ");
}

// A number is complete at the first character after it: reading it never asks
// the input for more than the piece that holds that character.
TEST(ReadInteger, AsksForNoMoreInputThanTheNumberNeeds) {
    MemoryInput input{"3\n1\n", 2};
    MemoryOutput output;
    Console console = memory_console(input, output);
    EXPECT_EQ(read_integer(console), 3);
    EXPECT_EQ(input.reads, 1);
    EXPECT_EQ(read_integer(console), 1);
    EXPECT_EQ(input.reads, 2);
}

TEST(ReadInteger, AsksNoMoreAfterTheInputHasEnded) {
    MemoryInput input{"5"};
    MemoryOutput output;
    Console console = memory_console(input, output);
    EXPECT_EQ(read_integer(console), 5);
    EXPECT_EQ(read_integer(console), none);
    EXPECT_EQ(input.reads, 2);
}

TEST(WriteIndex, SixSignificantDigitsInGeneralForm) {
    struct Case {
        float value;
        std::string text;
    };
    const Case cases[] = {
        {0.0f, "0"},
        {0.5f, "0.5"},
        {0.25f, "0.25"},
        {0.3125f, "0.3125"},
        {0.375f, "0.375"},
        {1.0f / 6.0f, "0.166667"},
        {0.1f, "0.1"},
        {1.0f / 1024.0f, "0.000976562"},  // a tie at the seventh digit goes to even
        {1.0f / 262144.0f, "3.8147e-06"},
        {0.0001f, "0.0001"},
        {0.00001f, "1e-05"},
        {1.0f / (2.0f * 2147483646.0f), "2.32831e-10"},
        {100000.0f, "100000"},
        {123456.0f, "123456"},
        {1000000.0f, "1e+06"},
        {1234567.0f, "1.23457e+06"},
        {3e38f, "3e+38"},
        {1e-40f, "9.99995e-41"},
    };
    for (const auto& c : cases) {
        MemoryInput input{""};
        MemoryOutput output;
        Console console = memory_console(input, output);
        write_index(console, c.value);
        flush_output(console);
        EXPECT_EQ(output.text(), c.text);
    }
}

TEST(WriteLineEnd, DeliversEverythingWritten) {
    MemoryInput input{""};
    MemoryOutput output;
    Console console = memory_console(input, output);
    write_text(console, "Index napinavosti: ");
    write_index(console, 0.5f);
    EXPECT_EQ(output.text(), "");
    write_line_end(console);
    EXPECT_EQ(output.text(), "Index napinavosti: 0.5\n");
}

}  // namespace
}  // namespace napinavost
