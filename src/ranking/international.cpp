#include "ranking/international.hpp"

#include <algorithm>
#include <span>
#include <tuple>

#include "ranking/csv.hpp"

namespace napinavost::ranking {

namespace {

std::string position(std::string_view file, std::size_t line) {
    return std::string(file) + ":" + std::to_string(line);
}

Place place_of(std::string_view file, std::size_t line) {
    return {file, static_cast<std::uint32_t>(line), 0};
}

// TRUE or FALSE; NA and an empty field mean false.
std::optional<bool> truth(std::string_view text) {
    if (same_ignoring_ascii_case(text, "TRUE")) return true;
    if (same_ignoring_ascii_case(text, "FALSE") || text == "NA" || text.empty()) return false;
    return std::nullopt;
}

// Reads the header and then every row with the header's number of fields;
// `columns` gets the position of each wanted column.
template <typename OnRow>
std::optional<std::string> read_table(std::string_view text, std::string_view file,
                                      std::span<const std::string_view> wanted, OnRow on_row) {
    CsvReader reader = csv_reader(text);
    CsvStep step = next_row(reader);
    if (step == CsvStep::end) return position(file, 1) + ": prazdny subor, chyba hlavicka";
    if (step == CsvStep::unterminated_quote) {
        return position(file, reader.row_line) + ": neukoncene uvodzovky";
    }
    std::vector<std::size_t> columns;
    for (std::string_view name : wanted) {
        std::size_t found = reader.fields.size();
        for (std::size_t i = 0; i < reader.fields.size(); ++i) {
            if (reader.fields[i] == name) found = i;
        }
        if (found == reader.fields.size()) {
            return position(file, reader.row_line) + ": v hlavicke chyba stlpec " +
                   std::string(name);
        }
        columns.push_back(found);
    }
    const std::size_t width = reader.fields.size();
    std::vector<std::string_view> row(wanted.size());
    while ((step = next_row(reader)) == CsvStep::row) {
        if (reader.fields.size() != width) {
            return position(file, reader.row_line) + ": riadok ma " +
                   std::to_string(reader.fields.size()) + " poli, hlavicka " +
                   std::to_string(width);
        }
        for (std::size_t i = 0; i < columns.size(); ++i) row[i] = reader.fields[columns[i]];
        on_row(row, reader.row_line);
    }
    if (step == CsvStep::unterminated_quote) {
        return position(file, reader.row_line) + ": neukoncene uvodzovky";
    }
    return std::nullopt;
}

// At most one row a line: enough room for every row, so nothing grows while reading.
std::size_t lines_in(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

}  // namespace

MatchKeys::Entry& MatchKeys::find_or_add(std::string_view date, std::string_view home,
                                         std::string_view away) {
    key.clear();
    key.append(date).append(1, '\x1f').append(home).append(1, '\x1f').append(away);
    if (const auto found = entries.find(key); found != entries.end()) return found->second;
    if (block_size - block_used < key.size()) {
        block_size = std::max<std::size_t>(key.size(), 1 << 20);
        blocks.push_back(std::make_unique<char[]>(block_size));
        block_used = 0;
    }
    char* stored = blocks.back().get() + block_used;
    std::copy(key.begin(), key.end(), stored);
    block_used += key.size();
    return entries.try_emplace(std::string_view(stored, key.size())).first->second;
}

std::optional<std::string> read_goalscorers(std::string_view text, std::string_view file,
                                            GoalRows& rows) {
    rows.keys.entries.reserve(rows.keys.entries.size() + lines_in(text));
    return read_table(
        text, file, goalscorers_columns,
        [&](const std::vector<std::string_view>& row, std::size_t line) {
            const std::string_view date = row[0], home = row[1], away = row[2], team = row[3];
            MatchKeys::Entry& entry = rows.keys.find_or_add(date, home, away);
            if (entry.goal_match == MatchKeys::none) {
                entry.goal_match = rows.matches.size();
                MatchRecord match;
                match.place = place_of(file, line);
                match.date = date;
                match.team1 = home;
                match.team2 = away;
                if (!is_date(date) || home.empty() || away.empty()) {
                    note_fault(match, SkipReason::invalid_match);
                }
                rows.matches.push_back(std::move(match));
                rows.latest.emplace_back();
                rows.named.push_back(false);
            }
            MatchRecord& match = rows.matches[entry.goal_match];
            GoalRows::Latest& latest = rows.latest[entry.goal_match];

            Goal goal;
            if (team == home) {
                goal.second_team = false;
            } else if (team == away) {
                goal.second_team = true;
            } else {
                note_fault(match, SkipReason::team_not_in_match);
                return;
            }
            goal.scorer = row[4];
            const auto own_goal = truth(row[6]);
            const auto penalty = truth(row[7]);
            if (!own_goal || !penalty) note_fault(match, SkipReason::invalid_match);
            goal.own_goal = own_goal.value_or(false);
            goal.penalty = penalty.value_or(false);

            // The rows give the order; the minutes only say how sure it is.
            const std::optional<int> minute = whole_number(row[5]);
            if (minute) goal.minute = row[5];
            const bool first_goal = match.goals.empty();
            if (!minute) {
                match.uncertain = true;
            } else if (!first_goal && latest.minute >= 0 &&
                       (*minute < latest.minute ||
                        (*minute == latest.minute && latest.second_team != goal.second_team))) {
                match.uncertain = true;
            }
            latest = {minute.value_or(-1), goal.second_team};
            match.goals.push_back(std::move(goal));
        });
}

std::optional<std::string> read_results(std::string_view text, std::string_view file,
                                        GoalRows& rows, std::vector<MatchRecord>& matches) {
    rows.keys.entries.reserve(rows.keys.entries.size() + lines_in(text));
    matches.reserve(matches.size() + lines_in(text));
    return read_table(
        text, file, results_columns,
        [&](const std::vector<std::string_view>& row, std::size_t line) {
            MatchRecord match;
            match.place = place_of(file, line);
            match.date = row[0];
            match.team1 = row[1];
            match.team2 = row[2];
            match.competition = row[5];
            if (!is_date(match.date) || match.team1.empty() || match.team2.empty()) {
                note_fault(match, SkipReason::invalid_match);
            }
            const std::string_view home_score = row[3], away_score = row[4];
            const auto home = whole_number(home_score);
            const auto away = whole_number(away_score);
            if (home_score == "NA" || away_score == "NA" || home_score.empty() ||
                away_score.empty()) {
                note_fault(match, SkipReason::no_score);
            } else if (!home || !away) {
                note_fault(match, SkipReason::invalid_match);
            } else {
                match.score1 = *home;
                match.score2 = *away;
            }

            MatchKeys::Entry& entry = rows.keys.find_or_add(row[0], row[1], row[2]);
            if (entry.result != MatchKeys::none) {
                // No row can say which of them the goals belong to.
                note_fault(match, SkipReason::ambiguous_match);
                note_fault(matches[entry.result], SkipReason::ambiguous_match);
                matches[entry.result].goals.clear();
            } else if (entry.goal_match != MatchKeys::none) {
                entry.result = matches.size();
                rows.named[entry.goal_match] = true;
                MatchRecord& from_rows = rows.matches[entry.goal_match];
                if (from_rows.skipped) note_fault(match, *from_rows.skipped);
                match.uncertain = from_rows.uncertain;
                match.goals = std::move(from_rows.goals);
                if (goals_per_team(match.goals) != std::pair(match.score1, match.score2)) {
                    note_fault(match, SkipReason::goals_do_not_match_score);
                }
            } else {
                entry.result = matches.size();
                if (match.score1 + match.score2 > 0) note_fault(match, SkipReason::no_goal_order);
            }
            matches.push_back(std::move(match));
        });
}

void add_unnamed_matches(GoalRows& rows, std::vector<MatchRecord>& matches) {
    for (std::size_t i = 0; i < rows.matches.size(); ++i) {
        if (rows.named[i]) continue;
        // The goal rows alone describe it: its score is the count of its goals.
        MatchRecord& match = rows.matches[i];
        std::tie(match.score1, match.score2) = goals_per_team(match.goals);
        matches.push_back(std::move(match));
    }
    rows = GoalRows{};
}

}  // namespace napinavost::ranking
