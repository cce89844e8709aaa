#include "ranking/pictures.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "ranking/exports.hpp"

namespace napinavost::ranking {

namespace {

// The drawing's measures in pixels.
constexpr double plot_size = 360;   // the longer side of the grid
constexpr double margin_left = 56;  // at least; wider for long tick labels
constexpr double margin_right = 28;
constexpr double margin_top = 78;
constexpr double margin_bottom = 62;
// Widths of a character, with room to spare: 13 px labels, 11 px ticks, 16 px bold title.
constexpr double character_width = 7.4;
constexpr double digit_width = 6.8;
constexpr double title_character_width = 10.2;

void append_number(std::string& out, double value) {
    char text[32];
    const double rounded = std::round(value * 100) / 100;
    const auto result = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed,
                                      rounded == std::floor(rounded) ? 0 : 2);
    out.append(text, result.ptr);
}

// Two numbers with the separator between them, as in "0 0 480 520" or "12,3".
void append_pair(std::string& out, double a, char separator, double b) {
    append_number(out, a);
    out += separator;
    append_number(out, b);
}

void append_point(std::string& out, ScorePoint point) {
    out += std::to_string(point.first);
    out += ',';
    out += std::to_string(point.second);
}

std::string points_text(const std::vector<ScorePoint>& points) {
    std::string text;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i > 0) text += ' ';
        append_point(text, points[i]);
    }
    return text;
}

// A round step between labelled or drawn lines that leaves at least `pixels` between them.
std::int64_t nice_step(double unit, double pixels) {
    for (std::int64_t step = 1;; step *= 10) {
        for (std::int64_t factor : {1, 2, 5}) {
            if (static_cast<double>(step * factor) * unit >= pixels) return step * factor;
        }
        if (step > (std::int64_t{1} << 40)) return step;
    }
}

// The length in bytes of the UTF-8 character at the start of `text`, or 0
// when it is not one.
std::size_t utf8_length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    const bool not_a_character = code == 0xFFFE || code == 0xFFFF || code > 0x10FFFF;
    return overlong || surrogate || not_a_character ? 0 : length;
}

std::string goal_tooltip(const Goal& goal, ScorePoint after) {
    std::string text = (goal.minute.empty() ? "?" : goal.minute) + "'";
    if (!goal.scorer.empty()) text += " " + goal.scorer;
    if (goal.penalty) text += ", z penalty";
    if (goal.own_goal) text += ", vlastny gol";
    text += " (" + std::to_string(after.first) + ":" + std::to_string(after.second) + ")";
    return xml_text(text);
}

}  // namespace

const std::string_view picture_style =
    ".background{fill:#fffdf8}"
    ".grid{stroke:#e4e0d6;stroke-width:1;fill:none;vector-effect:non-scaling-stroke}"
    ".frame{stroke:#8c867a;stroke-width:1.2;fill:none;vector-effect:non-scaling-stroke}"
    ".hull{fill:#f4c04e;stroke:#b9831a;stroke-width:1.5;stroke-linejoin:round;"
    "vector-effect:non-scaling-stroke}"
    ".diagonal{stroke:#2f2b25;stroke-width:1.4;stroke-dasharray:6 4;"
    "vector-effect:non-scaling-stroke}"
    ".path{fill:none;stroke:#17406b;stroke-width:2.6;stroke-linejoin:round;"
    "stroke-linecap:round;vector-effect:non-scaling-stroke}"
    ".goal{stroke:transparent;stroke-width:10;vector-effect:non-scaling-stroke}"
    ".goal:hover{stroke:rgba(23,64,107,.25)}"
    ".ends{fill:#17406b}"
    ".label{font:13px sans-serif;fill:#3b372f}"
    ".tick{font:11px sans-serif;fill:#6f6a60}"
    ".title{font:bold 16px sans-serif;fill:#1d1b17}"
    ".subtitle{font:13px sans-serif;fill:#3b372f}";

MatchShape match_shape(const MatchRecord& match) {
    MatchShape shape;
    SuspenseIndex suspense;
    suspense.begin(static_cast<std::int32_t>(match.goals.size()));
    ScorePoint score;
    shape.path.push_back(score);
    for (std::size_t i = 0; i < match.goals.size(); ++i) {
        const bool up = match.goals[i].second_team;
        suspense.add_goal(up);
        (up ? score.second : score.first) += 1;
        const bool turns_next = i + 1 < match.goals.size() && match.goals[i + 1].second_team != up;
        if (turns_next || i + 1 == match.goals.size()) shape.path.push_back(score);
    }
    suspense.finish();
    shape.hull = suspense.corners();
    return shape;
}

std::string match_picture(const MatchRecord& match, const RatedMatch& rated,
                          const MatchShape& shape, bool standalone) {
    const std::int64_t across = std::max(match.score1, 1);
    const std::int64_t up = std::max(match.score2, 1);
    const double unit = plot_size / static_cast<double>(std::max(across, up));
    const double grid_width = static_cast<double>(across) * unit;
    const double grid_height = static_cast<double>(up) * unit;

    const std::string team1 = xml_text(match.team1);
    const std::string team2 = xml_text(match.team2);
    const std::string title =
        xml_text(match.team1 + " - " + match.team2 + "  " + std::to_string(match.score1) + ":" +
                 std::to_string(match.score2));
    const std::string subtitle =
        xml_text(match.date + (match.competition.empty() ? "" : ", " + match.competition) +
                 ", Index napinavosti: " + std::string(rated.text.view()));
    const std::string across_label = team1 + " (" + std::to_string(match.score1) + ")";
    const std::string up_label = team2 + " (" + std::to_string(match.score2) + ")";
    // Wide enough for the longest line of text, which never shrinks with the score.
    const auto characters = [](const std::string& text) {
        return static_cast<double>(text_width(text));
    };
    const double digits = static_cast<double>(std::to_string(std::max(across, up)).size());
    const double left = std::max(margin_left, digits * digit_width + 22);
    const double text_room =
        std::max({title_character_width * (characters(match.team1 + match.team2) + 12),
                  character_width * (characters(match.date + match.competition) + 30),
                  character_width * (characters(match.team1) + 10) + left});
    const double width = std::max(left + grid_width + margin_right, text_room + 32);
    const double height = margin_top + grid_height + margin_bottom;
    const double bottom = margin_top + grid_height;

    std::string svg;
    svg.reserve(4096 + match.goals.size() * 96);
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"match\" width=\"";
    append_number(svg, width);
    svg += "\" height=\"";
    append_number(svg, height);
    svg += "\" viewBox=\"0 0 ";
    append_pair(svg, width, ' ', height);
    svg += "\" role=\"img\">";
    svg += "<title>" + title + "</title>";
    if (standalone) svg += "<style>" + std::string(picture_style) + "</style>";
    svg += "<rect class=\"background\" width=\"100%\" height=\"100%\"/>";
    svg += "<text class=\"title\" x=\"16\" y=\"26\">" + title + "</text>";
    svg += "<text class=\"subtitle\" x=\"16\" y=\"46\">" + subtitle + "</text>";

    // Score coordinates from here on: one goal is one unit, the second team's goals go up.
    svg += "<g transform=\"translate(";
    append_pair(svg, left, ' ', bottom);
    svg += ") scale(";
    append_pair(svg, unit, ' ', -unit);
    svg += ")\">";
    const std::int64_t grid_step = nice_step(unit, 7);
    svg += "<path class=\"grid\" d=\"";
    for (std::int64_t x = grid_step; x < across; x += grid_step) {
        svg += "M" + std::to_string(x) + " 0V" + std::to_string(up);
    }
    for (std::int64_t y = grid_step; y < up; y += grid_step) {
        svg += "M0 " + std::to_string(y) + "H" + std::to_string(across);
    }
    svg += "\"/>";
    svg += "<rect class=\"frame\" width=\"" + std::to_string(across) + "\" height=\"" +
           std::to_string(up) + "\"/>";
    svg += "<polygon class=\"hull\" points=\"" + points_text(shape.hull) + "\"/>";
    svg += "<line class=\"diagonal\" x1=\"0\" y1=\"0\" x2=\"" + std::to_string(match.score1) +
           "\" y2=\"" + std::to_string(match.score2) + "\"/>";
    svg += "<polyline class=\"path\" points=\"" + points_text(shape.path) + "\"/>";
    // Both ends, so that even a match without goals shows where it stands.
    const double dot = 3.5 / unit;
    for (ScorePoint end : {shape.path.front(), shape.path.back()}) {
        svg += "<circle class=\"ends\" cx=\"" + std::to_string(end.first) + "\" cy=\"" +
               std::to_string(end.second) + "\" r=\"";
        append_number(svg, dot);
        svg += "\"/>";
    }
    svg += "<g class=\"goals\">";
    ScorePoint score;
    for (const Goal& goal : match.goals) {
        ScorePoint next = score;
        (goal.second_team ? next.second : next.first) += 1;
        svg += "<line class=\"goal\" x1=\"" + std::to_string(score.first) + "\" y1=\"" +
               std::to_string(score.second) + "\" x2=\"" + std::to_string(next.first) + "\" y2=\"" +
               std::to_string(next.second) + "\"><title>" + goal_tooltip(goal, next) +
               "</title></line>";
        score = next;
    }
    svg += "</g></g>";

    // Labels stay upright, in pixels, whatever the score.
    const std::int64_t label_step = nice_step(unit, std::max(28.0, digits * digit_width + 14));
    const auto tick = [&](double x, double y, std::int64_t value, const char* anchor) {
        svg += "<text class=\"tick\" text-anchor=\"";
        svg += anchor;
        svg += "\" x=\"";
        append_number(svg, x);
        svg += "\" y=\"";
        append_number(svg, y);
        svg += "\">" + std::to_string(value) + "</text>";
    };
    for (std::int64_t x = 0; x <= across; x += label_step) {
        tick(left + static_cast<double>(x) * unit, bottom + 16, x, "middle");
    }
    for (std::int64_t y = label_step; y <= up; y += label_step) {
        tick(left - 8, bottom - static_cast<double>(y) * unit + 4, y, "end");
    }
    // Centred under the grid, but never out of the picture for a narrow one.
    const double across_label_width =
        character_width * static_cast<double>(text_width(match.team1) + 8);
    svg += "<text class=\"label\" text-anchor=\"middle\" x=\"";
    append_number(svg, std::max(left + grid_width / 2, across_label_width / 2 + 8));
    svg += "\" y=\"";
    append_number(svg, bottom + 40);
    svg += "\">" + across_label + " &#8594;</text>";
    svg += "<text class=\"label\" x=\"";
    append_number(svg, left - 8);
    svg += "\" y=\"";
    append_number(svg, margin_top - 12);
    svg += "\">&#8593; " + up_label + "</text>";
    svg += "</svg>";
    return svg;
}

std::string match_thumbnail(const MatchShape& shape) {
    const ScorePoint end = shape.path.back();
    const std::int64_t side = std::max({end.first, end.second, 1});
    const std::string extent = std::to_string(side + 1);
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"thumbnail\" width=\"56\" "
        "height=\"56\" viewBox=\"-0.5 " +
        std::to_string(-side) + ".5 " + extent + " " + extent + "\">";
    svg += "<g transform=\"scale(1 -1)\">";
    svg += "<polygon class=\"hull\" points=\"" + points_text(shape.hull) + "\"/>";
    svg += "<polyline class=\"path\" points=\"" + points_text(shape.path) + "\"/>";
    svg += "</g></svg>";
    return svg;
}

std::string picture_file_name(std::size_t position, const MatchRecord& match) {
    std::string number = std::to_string(position);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    const std::string text = match.date + "-" + match.team1 + "-" + match.team2;
    std::string name = number;
    bool in_run = true;  // the "-" after the number stands for the first run
    name += '-';
    for (char c : text) {
        const bool kept =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (kept) {
            name += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            in_run = false;
        } else if (!in_run) {
            name += '-';
            in_run = true;
        }
    }
    while (name.back() == '-') name.pop_back();
    return name + ".svg";
}

std::string xml_text(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    while (!text.empty()) {
        const std::size_t length = utf8_length(text);
        const char c = text.front();
        if (length == 0 || (length == 1 && static_cast<unsigned char>(c) < 0x20 && c != '\t' &&
                            c != '\n' && c != '\r')) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

}  // namespace napinavost::ranking
