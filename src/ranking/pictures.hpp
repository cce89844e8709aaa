#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ranking/match_record.hpp"
#include "ranking/ranking.hpp"
#include "suspense/suspense_index.hpp"

namespace napinavost::ranking {

// What a picture of a match draws, in score coordinates: the path through
// 0:0, its turning points and the final score, and the hull's corners as the
// suspense index library finds them.
struct MatchShape {
    std::vector<ScorePoint> path;
    std::vector<ScorePoint> hull;
};

MatchShape match_shape(const MatchRecord& match);

// The whole picture: grid, hull, the straight line to the final score, the
// path with a tooltip per goal, axes with the teams and a title line. A picture
// that stands alone carries its own style; one inside the report uses the
// report's.
std::string match_picture(const MatchRecord& match, const RatedMatch& rated,
                          const MatchShape& shape, bool standalone);

// A small picture of the path and hull alone, for a table row.
std::string match_thumbnail(const MatchShape& shape);

// "001-2012-10-16-germany-sweden.svg": the position in the table with three
// digits or more, then the date and both teams with ASCII letters and digits
// kept (lower case) and every other run of bytes turned into one "-".
std::string picture_file_name(std::size_t position, const MatchRecord& match);

// Text for XML and HTML: markup characters escaped, and bytes that are not
// UTF-8 or characters XML does not allow replaced by U+FFFD.
std::string xml_text(std::string_view text);

// The style of the pictures' elements, for a picture or a page that holds them.
extern const std::string_view picture_style;

}  // namespace napinavost::ranking
