#pragma once

#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ranking/match_record.hpp"

namespace napinavost::ranking {

inline void PrintTo(SkipReason reason, std::ostream* out) { *out << reason_key(reason); }

}  // namespace napinavost::ranking

namespace napinavost::testing {

inline std::string fixture_path(const std::string& name) {
    return std::string(RANKING_FIXTURES) + "/" + name;
}

inline std::string fixture(const std::string& name) {
    std::ifstream file(fixture_path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What a reader should make of one match of a fixture.
struct ExpectedMatch {
    std::string team1;
    std::string team2;
    std::optional<ranking::SkipReason> skipped;
    std::string codes;  // when rated
    int score1 = 0;
    int score2 = 0;
    bool uncertain = false;
};

inline void PrintTo(const ExpectedMatch& m, std::ostream* out) {
    *out << m.team1 << " - " << m.team2;
}

inline const ranking::MatchRecord* find_match(const std::vector<ranking::MatchRecord>& matches,
                                              const std::string& team1, const std::string& team2) {
    for (const auto& match : matches) {
        if (match.team1 == team1 && match.team2 == team2) return &match;
    }
    return nullptr;
}

}  // namespace napinavost::testing
