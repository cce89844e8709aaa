#pragma once

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace napinavost::testing {

// One whole run of the program: what goes to standard input and the program's
// own standard output, byte for byte, with a single line feed for a line end.
// Anything a pause command prints would follow it.
struct EndToEndCase {
    std::string name;
    std::string input;
    std::string output;
};

// Test reports name the case rather than dump its bytes.
inline void PrintTo(const EndToEndCase& c, std::ostream* out) { *out << c.name; }

inline const std::string count_prompt = "Celkovy pocet golov: ";
inline const std::string goal_prompt = "Zadaj postupne goly - 0 prve muzstvo, 1 druhe muzstvo: ";
inline const std::string reference_line =
    "Index napinavosti finale MS 2002 Slovensko - Rusko: 0.3125.\n";

inline std::string full_run(const std::string& index) {
    return count_prompt + goal_prompt + "Index napinavosti: " + index + "\n" + reference_line;
}

inline std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

inline const std::vector<EndToEndCase> end_to_end_cases = {
    {"typical match", "7\n1 1 0 0 0 1 0\n", full_run("0.3125")},
    {"zero count", "0\n", count_prompt + "Index napinavosti: 0"},
    {"count that is not a number", "abc\n1 0\n", count_prompt + "Index napinavosti: 0"},
    {"no input at all", "", count_prompt + "Index napinavosti: 0"},
    {"one goal for the first team", "1\n0\n", full_run("0")},
    {"one goal for the second team", "1\n1\n", full_run("0")},
    {"goals on separate lines", "2\n0\n1\n", full_run("0.5")},
    {"signed count", "+2\n1\n0\n", full_run("0.5")},
    {"goal codes other than 0 and 1", "4\n0 2 0 -1\n", full_run("0.375")},
    {"input ends before the last goal", "3\n0 1", full_run("0.25")},
    {"letter where a goal should be", "2\n0 x\n", full_run("0")},
    {"first goal cannot be read", "2\nx\n", full_run("0")},
    {"text after the last goal is never read", "2\n0 1 garbage 7\n", full_run("0.5")},
    {"windows line ends", "3\r\n0\r\n0\r\n1\r\n", full_run("0.25")},
    {"negative count", "-5\n0 1\n", full_run("0")},
    {"count wraps to zero", "4294967296\n1\n", count_prompt + "Index napinavosti: 0"},
    {"huge count with short input", "2147483647\n0 1", full_run("2.32831e-10")},
    {"six digits, a tie going to even", "513\n" + repeated("0 ", 512) + "1\n",
     full_run("0.000976562")},
};

// A match of `goals` goals with white space of every kind, signs, other
// nonzero codes and numbers of several digits, the same for the same seed.
inline std::string random_match_text(unsigned seed, int goals) {
    std::mt19937 random(seed);
    const char* const spaces[] = {" ", "\n", "\r\n", "\t", "  ", "\v\f"};
    const char* const codes[] = {"0", "1", "0", "1", "+1", "- 0", "00", "17", "-1"};
    std::string text = std::to_string(goals);
    for (int i = 0; i < goals; ++i) {
        text += spaces[random() % std::size(spaces)];
        text += codes[random() % std::size(codes)];
    }
    return text + "\n";
}

}  // namespace napinavost::testing
