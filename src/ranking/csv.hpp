#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace napinavost::ranking {

// Reads RFC 4180 text one row at a time. Fields are views into the text, or,
// for quoted fields, into the reader's own storage; they stay valid until the
// next row is read. Line ends are LF or CR LF; empty lines are no rows.
// Hand-written: no maintained C++ CSV reader is packaged for Debian.
struct CsvReader {
    std::string_view text;
    std::size_t position = 0;
    std::size_t line = 1;      // the line the reader stands on
    std::size_t row_line = 0;  // the line the current row starts on
    std::vector<std::string_view> fields;

    // Where each field of the current row lies: in `text`, or in `unquoted`.
    struct Span {
        bool quoted = false;
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    std::vector<Span> spans;
    std::string unquoted;
};

enum class CsvStep {
    row,                 // `fields` holds the next row
    end,                 // no rows are left
    unterminated_quote,  // a quoted field runs to the end of the text; `row_line` says where
};

CsvReader csv_reader(std::string_view text);
CsvStep next_row(CsvReader& reader);

// A field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line end.
void append_csv_field(std::string& out, std::string_view field);

}  // namespace napinavost::ranking
