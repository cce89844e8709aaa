#include "dialogue/match.hpp"

#include <cstdint>
#include <string_view>

#include "dialogue/platform.hpp"
#include "suspense/suspense_index.hpp"

namespace napinavost {

namespace {

constexpr std::string_view count_prompt = "Celkovy pocet golov: ";
constexpr std::string_view goal_prompt = "Zadaj postupne goly - 0 prve muzstvo, 1 druhe muzstvo: ";
constexpr std::string_view index_label = "Index napinavosti: ";
constexpr std::string_view zero_answer = "Index napinavosti: 0";
constexpr std::string_view reference_line =
    "Index napinavosti finale MS 2002 Slovensko - Rusko: 0.3125.";

}  // namespace

int run_match() {
    platform::prepare_process();
    Console console = make_console({{platform::read_standard_input, nullptr},
                                    stream_output(stdout),
                                    {platform::pause_console, nullptr}});
    return play_match(console);
}

int play_match(Console& console) {
    write_text(console, count_prompt);
    std::int32_t count = 0;
    read_count(console, count);
    if (count == 0) {
        write_text(console, zero_answer);
        pause_after_output(console);
        return 0;
    }

    write_text(console, goal_prompt);
    SuspenseIndex suspense;
    suspense.begin(count);
    bool code = false;
    for (std::int32_t goal = 0; goal < count;) {
        std::uint64_t codes = 0;
        if (const int taken = read_goal_block(console, codes, count - goal)) {
            suspense.add_goal_block(codes, taken);
            code = (codes >> (taken - 1)) & 1;
            goal += taken;
            continue;
        }
        // After a failed read every later read fails too, so the remaining goals
        // all repeat the last code: add them as one run.
        if (!read_goal(console, code)) {
            suspense.add_goals(code, std::int64_t{count} - goal);
            break;
        }
        suspense.add_goal(code);
        ++goal;
    }

    write_text(console, index_label);
    write_index(console, suspense.finish());
    write_line_end(console);
    write_text(console, reference_line);
    write_line_end(console);
    pause_after_output(console);
    return 0;
}

}  // namespace napinavost
