#include "ranking/international.hpp"

#include <charconv>
#include <span>

#include "ranking/csv.hpp"

namespace napinavost::ranking {

namespace {

std::string match_key(std::string_view date, std::string_view home, std::string_view away) {
    std::string key;
    key.reserve(date.size() + home.size() + away.size() + 2);
    key.append(date).append(1, '\x1f').append(home).append(1, '\x1f').append(away);
    return key;
}

std::string position(std::string_view file, std::size_t line) {
    return std::string(file) + ":" + std::to_string(line);
}

// A whole non-negative number that fits an int.
std::optional<int> whole_number(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        value < 0) {
        return std::nullopt;
    }
    return value;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

// TRUE or FALSE; NA and an empty field mean false.
std::optional<bool> truth(std::string_view text) {
    if (equals_ignoring_case(text, "TRUE")) return true;
    if (equals_ignoring_case(text, "FALSE") || text == "NA" || text.empty()) return false;
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

// The match that the goal rows alone describe: its score is the count of its goals.
void score_from_goals(MatchRecord& match) {
    match.score1 = 0;
    match.score2 = 0;
    for (const Goal& goal : match.goals) (goal.second_team ? match.score2 : match.score1) += 1;
}

}  // namespace

std::optional<std::string> read_goalscorers(std::string_view text, std::string_view file,
                                            GoalRows& rows) {
    return read_table(
        text, file, goalscorers_columns,
        [&](const std::vector<std::string_view>& row, std::size_t line) {
            const std::string_view date = row[0], home = row[1], away = row[2], team = row[3];
            auto [entry, added] =
                rows.by_key.try_emplace(match_key(date, home, away), rows.matches.size());
            if (added) {
                MatchRecord match;
                match.source = position(file, line);
                match.date = date;
                match.team1 = home;
                match.team2 = away;
                if (!is_date(date) || home.empty() || away.empty()) {
                    note_fault(match, SkipReason::invalid_match);
                }
                rows.matches.push_back(std::move(match));
                rows.latest.emplace_back();
            }
            MatchRecord& match = rows.matches[entry->second];
            GoalRows::Latest& latest = rows.latest[entry->second];

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
                                        std::vector<ResultRow>& rows) {
    return read_table(
        text, file, results_columns,
        [&](const std::vector<std::string_view>& row, std::size_t line) {
            rows.push_back({position(file, line), std::string(row[0]), std::string(row[1]),
                            std::string(row[2]), std::string(row[3]), std::string(row[4]),
                            std::string(row[5])});
        });
}

std::vector<MatchRecord> international_matches(GoalRows rows,
                                               const std::vector<ResultRow>* results) {
    std::vector<MatchRecord> matches;
    std::vector<bool> named(rows.matches.size(), false);
    if (results) {
        std::unordered_map<std::string, std::size_t> rows_per_key;
        for (const ResultRow& row : *results) {
            ++rows_per_key[match_key(row.date, row.home_team, row.away_team)];
        }
        for (const ResultRow& row : *results) {
            MatchRecord match;
            match.source = row.source;
            match.date = row.date;
            match.team1 = row.home_team;
            match.team2 = row.away_team;
            match.competition = row.tournament;
            const std::string key = match_key(row.date, row.home_team, row.away_team);
            const auto goals = rows.by_key.find(key);
            if (goals != rows.by_key.end()) named[goals->second] = true;
            if (!is_date(row.date) || row.home_team.empty() || row.away_team.empty()) {
                note_fault(match, SkipReason::invalid_match);
            }
            if (rows_per_key[key] > 1) note_fault(match, SkipReason::ambiguous_match);

            const auto home = whole_number(row.home_score);
            const auto away = whole_number(row.away_score);
            if (row.home_score == "NA" || row.away_score == "NA" || row.home_score.empty() ||
                row.away_score.empty()) {
                note_fault(match, SkipReason::no_score);
            } else if (!home || !away) {
                note_fault(match, SkipReason::invalid_match);
            } else {
                match.score1 = *home;
                match.score2 = *away;
            }

            if (goals != rows.by_key.end()) {
                MatchRecord& from_rows = rows.matches[goals->second];
                if (from_rows.skipped) note_fault(match, *from_rows.skipped);
                match.uncertain = from_rows.uncertain;
                // A date and teams on several results rows keep their goals for none.
                if (rows_per_key[key] == 1) match.goals = std::move(from_rows.goals);
                int first = 0, second = 0;
                for (const Goal& goal : match.goals) (goal.second_team ? second : first) += 1;
                if (first != match.score1 || second != match.score2) {
                    note_fault(match, SkipReason::goals_do_not_match_score);
                }
            } else if (match.score1 + match.score2 > 0) {
                note_fault(match, SkipReason::no_goal_order);
            }
            matches.push_back(std::move(match));
        }
    }
    for (std::size_t i = 0; i < rows.matches.size(); ++i) {
        if (named[i]) continue;
        MatchRecord& match = rows.matches[i];
        score_from_goals(match);
        matches.push_back(std::move(match));
    }
    return matches;
}

}  // namespace napinavost::ranking
