#include "ranking/openfootball.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

namespace napinavost::ranking {

namespace {

using nlohmann::json;

// A goal's time as the sort sees it.
struct GoalTime {
    std::int64_t minute = 0;
    std::int64_t offset = 0;
};

struct TimedGoal {
    Goal goal;
    GoalTime time;
};

// What one match's fields say, before the reasons are weighed.
struct MatchFacts {
    bool invalid = false;
    bool has_score = false;
    bool has_lists = false;
    bool goal_without_time = false;
};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// "67", "90+4" or "120+1".
std::optional<GoalTime> minute_from_text(std::string_view text) {
    const std::size_t plus = text.find('+');
    const auto minute = whole_number(trimmed(text.substr(0, plus)));
    if (!minute) return std::nullopt;
    if (plus == std::string_view::npos) return GoalTime{*minute, 0};
    const auto offset = whole_number(trimmed(text.substr(plus + 1)));
    if (!offset) return std::nullopt;
    return GoalTime{*minute, *offset};
}

std::optional<std::int64_t> non_negative_integer(const json& value) {
    if (value.is_number_unsigned()) {
        const auto v = value.get<std::uint64_t>();
        if (v <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            return static_cast<std::int64_t>(v);
        }
        return std::nullopt;
    }
    if (value.is_number_integer()) {
        const auto v = value.get<std::int64_t>();
        if (v >= 0 && v <= std::numeric_limits<std::int32_t>::max()) return v;
    }
    return std::nullopt;
}

// A team is a name, or an object with a name and a code.
std::optional<std::string> team_name(const json& match, const char* key) {
    const auto it = match.find(key);
    if (it == match.end()) return std::nullopt;
    if (it->is_string()) return it->get<std::string>();
    if (it->is_object()) {
        const auto name = it->find("name");
        if (name != it->end() && name->is_string()) return name->get<std::string>();
    }
    return std::nullopt;
}

// A flag that is absent counts as false; any value but true or false is a fault.
bool read_flag(const json& goal, const char* key, bool& flag) {
    const auto it = goal.find(key);
    if (it == goal.end() || it->is_null()) return true;
    if (!it->is_boolean()) return false;
    flag = it->get<bool>();
    return true;
}

void read_goal(const json& entry, bool second_team, MatchFacts& facts,
               std::vector<TimedGoal>& goals) {
    if (!entry.is_object()) {
        facts.invalid = true;
        return;
    }
    TimedGoal timed;
    timed.goal.second_team = second_team;
    if (const auto name = entry.find("name"); name != entry.end()) {
        if (name->is_string()) {
            timed.goal.scorer = name->get<std::string>();
        } else if (!name->is_null()) {
            facts.invalid = true;
        }
    }
    if (!read_flag(entry, "penalty", timed.goal.penalty) ||
        !read_flag(entry, "owngoal", timed.goal.own_goal)) {
        facts.invalid = true;
    }

    std::optional<GoalTime> time;
    const auto minute = entry.find("minute");
    if (minute == entry.end() || minute->is_null()) {
        time = std::nullopt;
    } else if (minute->is_string()) {
        const std::string text = minute->get<std::string>();
        time = minute_from_text(text);
        if (time) timed.goal.minute = std::string(trimmed(text));
    } else if (minute->is_number_integer()) {
        if (const auto value = non_negative_integer(*minute)) {
            time = GoalTime{*value, 0};
            timed.goal.minute = std::to_string(*value);
        }
    } else {
        facts.invalid = true;
    }
    // An offset counts only where the minute does not already carry one.
    if (const auto offset = entry.find("offset"); offset != entry.end() && !offset->is_null()) {
        const auto value = non_negative_integer(*offset);
        if (!value) {
            facts.invalid = true;
        } else if (time && time->offset == 0 && *value > 0 &&
                   timed.goal.minute.find('+') == std::string::npos) {
            time->offset = *value;
            timed.goal.minute += "+" + std::to_string(*value);
        }
    }
    if (time) {
        timed.time = *time;
    } else {
        facts.goal_without_time = true;
        timed.goal.minute.clear();
    }
    goals.push_back(std::move(timed));
}

// A score such as [6, 2]; false for anything else.
bool read_pair(const json& value, int& first, int& second) {
    if (!value.is_array() || value.size() != 2) return false;
    const auto a = non_negative_integer(value[0]);
    const auto b = non_negative_integer(value[1]);
    if (!a || !b) return false;
    first = static_cast<int>(*a);
    second = static_cast<int>(*b);
    return true;
}

void read_score(const json& match, MatchRecord& record, MatchFacts& facts) {
    const auto score = match.find("score");
    if (score == match.end() || score->is_null()) return;
    if (!score->is_object()) {
        facts.invalid = true;
        return;
    }
    // The goals' final score is after extra time where there was one.
    for (const char* key : {"ft", "et"}) {
        const auto part = score->find(key);
        if (part == score->end() || part->is_null()) continue;
        if (!read_pair(*part, record.score1, record.score2)) {
            facts.invalid = true;
            return;
        }
        facts.has_score = true;
    }
}

MatchRecord read_match(const json& match, Place place, const std::string& competition) {
    MatchRecord record;
    record.place = place;
    record.competition = competition;
    MatchFacts facts;
    if (!match.is_object()) {
        note_fault(record, SkipReason::invalid_match);
        return record;
    }

    const auto team1 = team_name(match, "team1");
    const auto team2 = team_name(match, "team2");
    if (team1) record.team1 = *team1;
    if (team2) record.team2 = *team2;
    const auto date = match.find("date");
    if (date != match.end() && date->is_string()) record.date = date->get<std::string>();
    facts.invalid = !team1 || !team2 || team1->empty() || team2->empty() || !is_date(record.date);

    read_score(match, record, facts);

    std::vector<TimedGoal> goals;
    int listed1 = 0, listed2 = 0;
    for (const char* key : {"goals1", "goals2"}) {
        const auto list = match.find(key);
        if (list == match.end() || list->is_null()) continue;
        facts.has_lists = true;
        if (!list->is_array()) {
            facts.invalid = true;
            continue;
        }
        const bool second_team = key[5] == '2';
        for (const json& entry : *list) read_goal(entry, second_team, facts, goals);
        (second_team ? listed2 : listed1) = static_cast<int>(list->size());
    }

    if (facts.invalid) note_fault(record, SkipReason::invalid_match);
    if (!facts.has_score) note_fault(record, SkipReason::no_score);
    if (!facts.has_lists && record.score1 + record.score2 > 0) {
        note_fault(record, SkipReason::no_goal_order);
    }
    if (listed1 != record.score1 || listed2 != record.score2) {
        note_fault(record, SkipReason::goals_do_not_match_score);
    }
    if (facts.goal_without_time) note_fault(record, SkipReason::goal_without_time);
    if (record.skipped) return record;

    // The lists are grouped by scorer: put them in time order, team1 first at equal times.
    std::stable_sort(goals.begin(), goals.end(), [](const TimedGoal& a, const TimedGoal& b) {
        return std::tie(a.time.minute, a.time.offset) < std::tie(b.time.minute, b.time.offset);
    });
    for (std::size_t i = 0; i < goals.size(); ++i) {
        if (i > 0 && goals[i].time.minute == goals[i - 1].time.minute &&
            goals[i].time.offset == goals[i - 1].time.offset &&
            goals[i].goal.second_team != goals[i - 1].goal.second_team) {
            record.uncertain = true;
        }
        record.goals.push_back(std::move(goals[i].goal));
    }
    return record;
}

std::string line_and_column(std::string_view text, std::size_t byte) {
    // `byte` counts from 1 and may stand one past the end, as the parser reports it.
    std::size_t line = 1, line_start = 0;
    for (std::size_t i = 0; i + 1 < byte && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            line_start = i + 1;
        }
    }
    const std::size_t column = byte > line_start ? byte - line_start : 1;
    return std::to_string(line) + ":" + std::to_string(column);
}

// The library's own words for an error, without its label and position.
std::string error_detail(const char* what) {
    std::string_view text = what;
    if (const std::size_t label = text.find("] "); text.starts_with('[') && label != text.npos) {
        text.remove_prefix(label + 2);
    }
    if (const std::size_t colon = text.find(": ");
        text.starts_with("parse error") && colon != text.npos) {
        text.remove_prefix(colon + 2);
    }
    return std::string(text);
}

}  // namespace

std::optional<std::string> read_openfootball(std::string_view text, std::string_view file,
                                             std::vector<MatchRecord>& matches) {
    json document;
    try {
        document = json::parse(text.begin(), text.end());
    } catch (const json::parse_error& error) {
        return std::string(file) + ":" + line_and_column(text, error.byte) +
               ": chybny JSON: " + error_detail(error.what());
    } catch (const json::exception& error) {
        // A number too large for any type, say; the parser tells no position then.
        return std::string(file) + ": chybny JSON: " + error_detail(error.what());
    }

    const std::string where = std::string(file);
    if (!document.is_object() || (!document.contains("matches") && !document.contains("rounds"))) {
        return where +
               ": nie je subor zapasov openfootball (objekt s \"matches\" alebo \"rounds\")";
    }
    std::string competition;
    if (const auto name = document.find("name"); name != document.end() && name->is_string()) {
        competition = name->get<std::string>();
    }

    std::uint32_t number = 0;
    const auto read_list = [&](const json& list) {
        for (const json& match : list) {
            matches.push_back(read_match(match, {file, 0, ++number}, competition));
        }
    };
    if (const auto list = document.find("matches"); list != document.end()) {
        if (!list->is_array()) return where + ": \"matches\" nie je zoznam";
        read_list(*list);
    }
    if (const auto rounds = document.find("rounds"); rounds != document.end()) {
        if (!rounds->is_array()) return where + ": \"rounds\" nie je zoznam";
        std::size_t round_number = 0;
        for (const json& round : *rounds) {
            ++round_number;
            const auto list = round.is_object() ? round.find("matches") : round.end();
            if (!round.is_object() || list == round.end() || !list->is_array()) {
                return where + ": kolo " + std::to_string(round_number) +
                       " nema zoznam \"matches\"";
            }
            read_list(*list);
        }
    }
    return std::nullopt;
}

}  // namespace napinavost::ranking
