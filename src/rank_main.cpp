#include "ranking/rank_tool.hpp"

int main(int argc, char** argv) { return napinavost::ranking::run_rank(argc, argv); }
