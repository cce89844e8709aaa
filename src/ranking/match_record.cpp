#include "ranking/match_record.hpp"

namespace napinavost::ranking {

std::string_view reason_key(SkipReason reason) {
    switch (reason) {
        case SkipReason::invalid_match:
            return "invalid_match";
        case SkipReason::ambiguous_match:
            return "ambiguous_match";
        case SkipReason::no_score:
            return "no_score";
        case SkipReason::team_not_in_match:
            return "team_not_in_match";
        case SkipReason::no_goal_order:
            return "no_goal_order";
        case SkipReason::goals_do_not_match_score:
            return "goals_do_not_match_score";
        case SkipReason::goal_without_time:
            return "goal_without_time";
    }
    return "";
}

std::string_view reason_text(SkipReason reason) {
    switch (reason) {
        case SkipReason::invalid_match:
            return "chybne udaje zapasu";
        case SkipReason::ambiguous_match:
            return "nejednoznacny zapas";
        case SkipReason::no_score:
            return "bez skore";
        case SkipReason::team_not_in_match:
            return "gol timu mimo zapasu";
        case SkipReason::no_goal_order:
            return "bez poradia golov";
        case SkipReason::goals_do_not_match_score:
            return "goly nesedia so skore";
        case SkipReason::goal_without_time:
            return "gol bez casu";
    }
    return "";
}

std::string place_text(const Place& place) {
    if (place.line > 0) return std::string(place.file) + ":" + std::to_string(place.line);
    return std::string(place.file) + ", zapas " + std::to_string(place.match);
}

void note_fault(MatchRecord& match, SkipReason reason) {
    if (!match.skipped || reason < *match.skipped) match.skipped = reason;
}

bool is_date(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    const int month = (text[5] - '0') * 10 + (text[6] - '0');
    const int day = (text[8] - '0') * 10 + (text[9] - '0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

}  // namespace napinavost::ranking
