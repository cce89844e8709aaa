#include "dialogue/match.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "end_to_end_cases.hpp"
#include "memory_console.hpp"

namespace napinavost {
namespace {

using testing::memory_console;
using testing::MemoryInput;
using testing::MemoryOutput;

// What had reached the output each time the dialogue paused.
struct PauseRecord {
    const MemoryOutput* output = nullptr;
    std::vector<std::string> output_at_pause;

    PausePort port() {
        return {[](void* context) {
                    auto& record = *static_cast<PauseRecord*>(context);
                    record.output_at_pause.push_back(record.output->text());
                },
                this};
    }
};

struct PauseCase {
    std::string input;
    std::string output;
};

TEST(PlayMatch, PausesOnceAfterAllOfItsOutput) {
    const PauseCase cases[] = {
        {"0", "Celkovy pocet golov: Index napinavosti: 0"},
        {"2 0 1",
         "Celkovy pocet golov: Zadaj postupne goly - 0 prve muzstvo, 1 druhe muzstvo: "
         "Index napinavosti: 0.5\n"
         "Index napinavosti finale MS 2002 Slovensko - Rusko: 0.3125.\n"},
    };
    for (const auto& c : cases) {
        MemoryInput input{c.input};
        MemoryOutput output;
        PauseRecord record{&output, {}};
        Console console = memory_console(input, output, record.port());
        EXPECT_EQ(play_match(console), 0);
        EXPECT_EQ(record.output_at_pause, std::vector<std::string>{c.output}) << c.input;
        EXPECT_EQ(output.text(), c.output);
    }
}

// Once the input has ended, every remaining goal repeats the last one read.
TEST(PlayMatch, CountFarBeyondTheGoalsGiven) {
    MemoryInput input{"2147483647 0 1"};
    MemoryOutput output;
    Console console = memory_console(input, output);
    play_match(console);
    EXPECT_NE(output.text().find("Index napinavosti: 2.32831e-10\n"), std::string::npos);
}

// Mostly one-digit goals after one white-space character, which are read in
// blocks, with now and then a goal of another form; the count is sometimes
// short of the goals given and sometimes beyond them.
std::string mostly_plain_match(std::mt19937& random, int goals) {
    const char* const odd_goals[] = {"\r\n1", "  0", " 10", " +1", " -0", " 7x", "\t01"};
    std::string text = std::to_string(goals - 40 + static_cast<int>(random() % 80));
    for (int i = 0; i < goals; ++i) {
        if (random() % 40 == 0) {
            text += odd_goals[random() % std::size(odd_goals)];
        } else {
            text += " \n\t"[random() % 3];
            text += static_cast<char>('0' + random() % 2);
        }
    }
    return text;
}

// However the input is cut into pieces, the dialogue writes the same bytes.
TEST(PlayMatch, SameOutputHoweverTheInputArrives) {
    std::vector<std::string> inputs;
    for (const auto& c : testing::end_to_end_cases) inputs.push_back(c.input);
    for (unsigned seed = 1; seed <= 20; ++seed) {
        inputs.push_back(testing::random_match_text(seed, static_cast<int>(seed) * 97));
    }
    std::mt19937 random(11);
    for (int match = 0; match < 40; ++match) {
        inputs.push_back(mostly_plain_match(random, 50 + static_cast<int>(random() % 3000)));
    }
    for (const std::string& text : inputs) {
        // Small pieces, and pieces large enough for whole blocks that still
        // cut some of them short.
        std::vector<std::size_t> pieces(1 + random() % 30);
        const std::size_t largest = random() % 2 == 0 ? 9 : 400;
        for (auto& piece : pieces) piece = 1 + random() % largest;
        const std::string whole = testing::play_in_memory(MemoryInput(text));
        EXPECT_EQ(testing::play_in_memory(MemoryInput(text, 1)), whole) << text.substr(0, 40);
        EXPECT_EQ(testing::play_in_memory(MemoryInput(text, 0, pieces)), whole)
            << text.substr(0, 40);
    }
}

}  // namespace
}  // namespace napinavost
