#include "ranking/match_record.hpp"

namespace napinavost::ranking {

namespace {

// Each reason's key in the JSON export and its words for a person, in the enum's order.
struct ReasonNames {
    std::string_view key;
    std::string_view text;
};
constexpr ReasonNames reason_names[skip_reason_count] = {
    {"invalid_match", "chybne udaje zapasu"},
    {"ambiguous_match", "nejednoznacny zapas"},
    {"no_score", "bez skore"},
    {"team_not_in_match", "gol timu mimo zapasu"},
    {"no_goal_order", "bez poradia golov"},
    {"goals_do_not_match_score", "goly nesedia so skore"},
    {"goal_without_time", "gol bez casu"},
};

}  // namespace

std::string_view reason_key(SkipReason reason) {
    return reason_names[static_cast<std::size_t>(reason)].key;
}

std::string_view reason_text(SkipReason reason) {
    return reason_names[static_cast<std::size_t>(reason)].text;
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
