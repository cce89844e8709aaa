// The suspense index's in-process figures alone, for builds where the whole
// program cannot be timed from here, such as the Windows build under Wine.
#include "index_figures.hpp"

int main() {
    napinavost::bench::print_index_figures();
    return 0;
}
