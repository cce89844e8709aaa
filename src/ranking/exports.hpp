#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ranking/match_record.hpp"
#include "ranking/ranking.hpp"

namespace napinavost::ranking {

// The table for a person at a terminal: the first `top` ranked matches (all
// for 0), columns aligned by characters, not bytes.
std::string ranking_table(const Ranking& ranking, const std::vector<MatchRecord>& matches,
                          std::size_t top);

// Matches read, outside the filters, rated and skipped per reason.
std::string summary_text(const Summary& summary);
// The same as the program's line on standard error.
std::string summary_line(const Summary& summary);

// One line per skipped match, with where it stands and why.
std::string skipped_lines(const Ranking& ranking, const std::vector<MatchRecord>& matches);

// Every rated match in rank order, with the fields
// rank, date, team1, team2, score1, score2, index, goals, order, competition.
std::string csv_export(const Ranking& ranking, const std::vector<MatchRecord>& matches);
std::string json_export(const Ranking& ranking, const std::vector<MatchRecord>& matches);

// Characters of UTF-8 text: every byte that does not continue a sequence.
std::size_t text_width(const std::string& text);

}  // namespace napinavost::ranking
