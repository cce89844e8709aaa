// The suspense index against the two-pass method it replaces, on matches short
// enough for that method's 32-bit arithmetic to be exact: the same index to the
// bit and the same final score.
//
// Input: the first byte chooses the form, by its remainder modulo 3. 0: every
// bit of the rest is one goal. 1: every byte of the rest is a run of goals, its
// low bit the team and the other bits the length less one, and runs are added
// in one step. 2: every nine bytes are a block: how many goals (modulo 65),
// then their codes, lowest bit first, added in one call.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "suspense/suspense_index.hpp"
#include "two_pass_reference.hpp"

namespace {

constexpr std::size_t most_goals = 8192;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int form = data[0] % 3;
    std::vector<bool> goals;
    napinavost::SuspenseIndex suspense;
    suspense.begin(static_cast<std::int32_t>(most_goals));
    if (form == 2) {
        for (std::size_t i = 1; i + 9 <= size; i += 9) {
            const int count = data[i] % 65;
            if (goals.size() + count > most_goals) break;
            std::uint64_t codes = 0;
            std::memcpy(&codes, data + i + 1, sizeof codes);
            for (int bit = 0; bit < count; ++bit) goals.push_back(((codes >> bit) & 1) != 0);
            suspense.add_goal_block(codes, count);
        }
    }
    for (std::size_t i = 1; form != 2 && i < size; ++i) {
        if (form == 1) {
            const bool code = (data[i] & 1) != 0;
            const std::size_t length = (data[i] >> 1) + 1u;
            if (goals.size() + length > most_goals) break;
            goals.insert(goals.end(), length, code);
            if (length == 1) {
                suspense.add_goal(code);
            } else {
                suspense.add_goals(code, static_cast<std::int64_t>(length));
            }
        } else {
            if (goals.size() + 8 > most_goals) break;
            for (int bit = 0; bit < 8; ++bit) {
                const bool code = ((data[i] >> bit) & 1) != 0;
                goals.push_back(code);
                suspense.add_goal(code);
            }
        }
    }
    if (goals.empty()) return 0;

    const float index = suspense.finish();
    const float expected = napinavost::testing::two_pass_index(goals).index;
    if (std::memcmp(&index, &expected, sizeof index) != 0) std::abort();

    std::int32_t second = 0;
    for (bool code : goals) second += code;
    const napinavost::ScorePoint final_score{static_cast<std::int32_t>(goals.size()) - second,
                                             second};
    if (suspense.score() != final_score) std::abort();
    return 0;
}
