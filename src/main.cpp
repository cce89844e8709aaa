#include "dialogue/match.hpp"

int main() { return napinavost::run_match(); }
