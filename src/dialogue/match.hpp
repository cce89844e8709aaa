#pragma once

#include "dialogue/console.hpp"

namespace napinavost {

// One match over the process's console; returns the exit status, always 0.
int run_match();

// One match over any console: asks for the goals, writes the suspense index and
// the reference line, then pauses once. Returns 0.
int play_match(Console& console);

}  // namespace napinavost
