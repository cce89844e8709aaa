#include "ranking/report.hpp"

#include <algorithm>
#include <set>

#include "ranking/exports.hpp"
#include "ranking/pictures.hpp"

namespace napinavost::ranking {

namespace {

constexpr std::string_view page_style =
    "body{margin:24px auto;max-width:1040px;padding:0 16px;font:15px/1.45 sans-serif;"
    "color:#1d1b17;background:#fbf8f1}"
    "h1{font-size:26px;margin:0 0 6px}"
    "h2{font-size:19px;margin:32px 0 10px}"
    ".scope,.summary{margin:4px 0;color:#3b372f}"
    "table{border-collapse:collapse;margin-top:14px;background:#fffdf8}"
    "th,td{padding:4px 12px;border-bottom:1px solid #e4e0d6;text-align:left;"
    "vertical-align:middle}"
    "th{font-size:13px;color:#6f6a60;font-weight:600}"
    "td.number{text-align:right;font-variant-numeric:tabular-nums}"
    "td a{color:#17406b;text-decoration:none}td a:hover{text-decoration:underline}"
    ".uncertain{color:#b9831a}"
    "figure{margin:18px 0;padding:8px;background:#fffdf8;border:1px solid #e4e0d6;"
    "display:inline-block}"
    "figcaption{font-size:13px;color:#6f6a60;margin-top:4px}"
    ".thumbnail .hull{stroke-width:1}.thumbnail .path{stroke-width:1.6}";

std::string anchor(std::size_t position) { return "zapas-" + std::to_string(position); }

std::string listed(const std::vector<std::string>& items, std::size_t most) {
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < most; ++i) {
        if (i > 0) text += ", ";
        text += items[i];
    }
    if (items.size() > most) text += " a " + std::to_string(items.size() - most) + " dalsich";
    return text;
}

std::string scope_text(const Ranking& ranking, const std::vector<MatchRecord>& matches,
                       const ReportScope& scope) {
    std::set<std::string> seen;
    std::vector<std::string> competitions;
    for (const RatedMatch& rated : ranking.rated) {
        const std::string& name = matches[rated.match].competition;
        if (!name.empty() && seen.insert(name).second) competitions.push_back(name);
    }
    std::sort(competitions.begin(), competitions.end());
    std::string text = "Subory: " + listed(scope.files, 12) + ".";
    if (!competitions.empty()) text += " Sutaze: " + listed(competitions, 12) + ".";
    std::vector<std::string> filters;
    if (!scope.filters.team.empty()) filters.push_back("tim " + scope.filters.team);
    if (!scope.filters.from.empty()) filters.push_back("od " + scope.filters.from);
    if (!scope.filters.to.empty()) filters.push_back("do " + scope.filters.to);
    text += filters.empty() ? " Bez filtrov." : " Filtre: " + listed(filters, 3) + ".";
    return xml_text(text);
}

}  // namespace

std::string report_html(const Ranking& ranking, const std::vector<MatchRecord>& matches,
                        const ReportScope& scope) {
    const std::size_t shown = shown_count(ranking, scope.top);
    std::vector<MatchShape> shapes;
    shapes.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i) {
        shapes.push_back(match_shape(matches[ranking.rated[i].match]));
    }

    std::string page =
        "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"sk\">\n<head>\n"
        "<meta charset=\"utf-8\"/>\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
        "<title>Napinavost zapasov</title>\n<style>";
    page += page_style;
    page += picture_style;
    page += "</style>\n</head>\n<body>\n<h1>Napinavost zapasov</h1>\n";
    page += "<p class=\"scope\">" + scope_text(ranking, matches, scope) + "</p>\n";
    std::string summary = summary_text(ranking.summary);
    summary[0] = 'Z';
    page += "<p class=\"summary\">" + xml_text(summary) + ".</p>\n";

    if (shown == 0) {
        page += "<p>Ziadny hodnoteny zapas.</p>\n</body>\n</html>\n";
        return page;
    }
    page +=
        "<h2>Poradie</h2>\n<table class=\"ranking\">\n<thead><tr><th>Por.</th>"
        "<th>Datum</th><th>Zapas</th><th>Skore</th><th>Index</th><th>Priebeh</th>"
        "</tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < shown; ++i) {
        const RatedMatch& rated = ranking.rated[i];
        const MatchRecord& match = matches[rated.match];
        page += "<tr><td class=\"number\">" + std::to_string(rated.rank) + "</td><td>" +
                xml_text(match.date) + "</td><td><a href=\"#" + anchor(i + 1) + "\">" +
                xml_text(match.team1 + " - " + match.team2) + "</a>";
        if (match.uncertain) {
            page +=
                " <span class=\"uncertain\" title=\"poradie niektorych golov nie je "
                "iste\">?</span>";
        }
        page += "</td><td class=\"number\">" + std::to_string(match.score1) + ":" +
                std::to_string(match.score2) + "</td><td class=\"number\">" +
                std::string(rated.text.view()) + "</td><td>" + match_thumbnail(shapes[i]) +
                "</td></tr>\n";
    }
    page += "</tbody>\n</table>\n<h2>Zapasy</h2>\n";
    for (std::size_t i = 0; i < shown; ++i) {
        const RatedMatch& rated = ranking.rated[i];
        const MatchRecord& match = matches[rated.match];
        page += "<figure id=\"" + anchor(i + 1) + "\">" +
                match_picture(match, rated, shapes[i], false) + "<figcaption>" +
                std::to_string(rated.rank) + ". " + xml_text(match.team1 + " - " + match.team2) +
                "</figcaption></figure>\n";
    }
    page += "</body>\n</html>\n";
    return page;
}

}  // namespace napinavost::ranking
