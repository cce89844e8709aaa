#include "ranking/exports.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "ranking/csv.hpp"

namespace napinavost::ranking {

namespace {

constexpr std::string_view program = "napinavost-rank: ";

std::string match_name(const MatchRecord& match) { return match.team1 + " - " + match.team2; }

std::string score_text(const MatchRecord& match) {
    return std::to_string(match.score1) + ":" + std::to_string(match.score2);
}

void pad(std::string& line, const std::string& text, std::size_t width, bool right) {
    const std::string fill(width - std::min(width, text_width(text)), ' ');
    line += right ? fill + text : text + fill;
}

// A JSON string; bytes that are not UTF-8 become U+FFFD, so the file stays valid.
std::string json_string(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::size_t text_width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string ranking_table(const Ranking& ranking, const std::vector<MatchRecord>& matches,
                          std::size_t top) {
    const std::size_t shown = shown_count(ranking, top);
    if (shown == 0) return "Ziadny hodnoteny zapas.\n";

    const std::string headers[] = {"Por.", "Datum", "Zapas", "Skore", "Index"};
    std::size_t widths[5];
    for (std::size_t c = 0; c < 5; ++c) widths[c] = text_width(headers[c]);
    bool any_uncertain = false;
    for (std::size_t i = 0; i < shown; ++i) {
        const RatedMatch& rated = ranking.rated[i];
        const MatchRecord& match = matches[rated.match];
        widths[0] = std::max(widths[0], std::to_string(rated.rank).size());
        widths[1] = std::max(widths[1], text_width(match.date));
        widths[2] = std::max(widths[2], text_width(match_name(match)));
        widths[3] = std::max(widths[3], score_text(match).size());
        widths[4] = std::max(widths[4], rated.text.size);
        any_uncertain = any_uncertain || match.uncertain;
    }

    std::string table;
    const auto add_row = [&](const std::string(&cells)[5], bool uncertain) {
        std::string line;
        for (std::size_t c = 0; c < 5; ++c) {
            if (c > 0) line += "  ";
            pad(line, cells[c], widths[c], c == 0);
        }
        if (uncertain) line += "  ?";
        while (!line.empty() && line.back() == ' ') line.pop_back();
        table += line + "\n";
    };
    add_row(headers, false);
    for (std::size_t i = 0; i < shown; ++i) {
        const RatedMatch& rated = ranking.rated[i];
        const MatchRecord& match = matches[rated.match];
        const std::string cells[] = {std::to_string(rated.rank), match.date, match_name(match),
                                     score_text(match), std::string(rated.text.view())};
        add_row(cells, match.uncertain);
    }
    if (shown < ranking.rated.size()) {
        table += "... a dalsich " + std::to_string(ranking.rated.size() - shown) +
                 " (vsetky: --top 0)\n";
    }
    if (any_uncertain) table += "? poradie niektorych golov nie je iste\n";
    return table;
}

std::string summary_line(const Summary& summary) {
    return std::string(program) + summary_text(summary) + "\n";
}

std::string summary_text(const Summary& summary) {
    std::string line = "zapasy: " + std::to_string(summary.read);
    if (summary.outside_filters > 0) {
        line += ", mimo filtra: " + std::to_string(summary.outside_filters);
    }
    line += ", hodnotene: " + std::to_string(summary.rated);
    line += ", vynechane: " + std::to_string(summary.skipped_total());
    std::string reasons;
    for (SkipReason reason : reasons_in_export_order) {
        const std::size_t count = summary.skipped[static_cast<std::size_t>(reason)];
        if (count == 0) continue;
        if (!reasons.empty()) reasons += ", ";
        reasons += std::string(reason_text(reason)) + ": " + std::to_string(count);
    }
    if (!reasons.empty()) line += " (" + reasons + ")";
    return line;
}

std::string skipped_lines(const Ranking& ranking, const std::vector<MatchRecord>& matches) {
    std::string lines;
    for (std::size_t i : ranking.skipped) {
        const MatchRecord& match = matches[i];
        const auto known = [](const std::string& text) { return text.empty() ? "?" : text; };
        lines += std::string(program) + "vynechany " + place_text(match.place) + " (" +
                 known(match.date) + " " + known(match.team1) + " - " + known(match.team2) +
                 "): " + std::string(reason_text(*match.skipped)) + "\n";
    }
    return lines;
}

std::string csv_export(const Ranking& ranking, const std::vector<MatchRecord>& matches) {
    std::string out = "rank,date,team1,team2,score1,score2,index,goals,order,competition\n";
    for (const RatedMatch& rated : ranking.rated) {
        const MatchRecord& match = matches[rated.match];
        out += std::to_string(rated.rank) + ',';
        append_csv_field(out, match.date);
        out += ',';
        append_csv_field(out, match.team1);
        out += ',';
        append_csv_field(out, match.team2);
        out += ',' + std::to_string(match.score1) + ',' + std::to_string(match.score2) + ',';
        out.append(rated.text.view());
        out += ',' + goal_codes(match) + ',' + (match.uncertain ? "uncertain" : "exact") + ',';
        append_csv_field(out, match.competition);
        out += '\n';
    }
    return out;
}

std::string json_export(const Ranking& ranking, const std::vector<MatchRecord>& matches) {
    std::string out =
        "{\n  \"rated\": " + std::to_string(ranking.summary.rated) + ",\n  \"skipped\": {";
    bool first = true;
    for (SkipReason reason : reasons_in_export_order) {
        out += first ? "" : ", ";
        first = false;
        out += "\"" + std::string(reason_key(reason)) +
               "\": " + std::to_string(ranking.summary.skipped[static_cast<std::size_t>(reason)]);
    }
    out += "},\n  \"matches\": [";
    first = true;
    for (const RatedMatch& rated : ranking.rated) {
        const MatchRecord& match = matches[rated.match];
        out += first ? "\n    {" : ",\n    {";
        first = false;
        out += "\"rank\": " + std::to_string(rated.rank);
        out += ", \"date\": " + json_string(match.date);
        out += ", \"team1\": " + json_string(match.team1);
        out += ", \"team2\": " + json_string(match.team2);
        out += ", \"score1\": " + std::to_string(match.score1);
        out += ", \"score2\": " + std::to_string(match.score2);
        // The same six-digit text as everywhere else, as a JSON number.
        out += ", \"index\": " + std::string(rated.text.view());
        out += ", \"goals\": \"" + goal_codes(match) + "\"";
        out += std::string(", \"order\": ") + (match.uncertain ? "\"uncertain\"" : "\"exact\"");
        out += ", \"competition\": " + json_string(match.competition) + "}";
    }
    out += first ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

}  // namespace napinavost::ranking
