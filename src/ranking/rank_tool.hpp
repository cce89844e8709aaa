#pragma once

namespace napinavost::ranking {

// The whole napinavost-rank run: options, reading, ranking and the outputs.
// Returns the exit status: 0 done, 1 a file could not be read, parsed or
// written, 2 the call itself was wrong.
int run_rank(int argc, const char* const* argv);

}  // namespace napinavost::ranking
