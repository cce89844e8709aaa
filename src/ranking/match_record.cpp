#include "ranking/match_record.hpp"

#include <algorithm>
#include <charconv>

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

std::optional<int> whole_number(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || result.ec != std::errc{} || result.ptr != text.data() + text.size() ||
        value < 0) {
        return std::nullopt;
    }
    return value;
}

bool same_ignoring_ascii_case(std::string_view a, std::string_view b) {
    const auto upper = [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return upper(x) == upper(y); });
}

std::pair<int, int> goals_per_team(const std::vector<Goal>& goals) {
    std::pair<int, int> counts;
    for (const Goal& goal : goals) (goal.second_team ? counts.second : counts.first) += 1;
    return counts;
}

}  // namespace napinavost::ranking
