#include "ranking/csv.hpp"

namespace napinavost::ranking {

namespace {

// A quoted field from its opening quote; false when the text ends inside it.
bool read_quoted(CsvReader& reader, CsvReader::Span& span) {
    const std::string_view text = reader.text;
    span.quoted = true;
    span.begin = reader.unquoted.size();
    std::size_t at = reader.position + 1;
    for (;;) {
        const std::size_t quote = text.find('"', at);
        if (quote == std::string_view::npos) return false;
        const std::string_view piece = text.substr(at, quote - at);
        for (char c : piece) reader.line += c == '\n';
        reader.unquoted.append(piece);
        if (quote + 1 < text.size() && text[quote + 1] == '"') {
            reader.unquoted += '"';
            at = quote + 2;
            continue;
        }
        at = quote + 1;
        break;
    }
    // Anything between the closing quote and the separator is kept as it stands.
    while (at < text.size() && text[at] != ',' && text[at] != '\n' &&
           !(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
        reader.unquoted += text[at++];
    }
    span.end = reader.unquoted.size();
    reader.position = at;
    return true;
}

void read_plain(CsvReader& reader, CsvReader::Span& span) {
    const std::string_view text = reader.text;
    std::size_t at = reader.position;
    while (at < text.size() && text[at] != ',' && text[at] != '\n' &&
           !(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
        ++at;
    }
    span = {false, reader.position, at};
    reader.position = at;
}

}  // namespace

CsvReader csv_reader(std::string_view text) {
    CsvReader reader;
    reader.text = text;
    return reader;
}

CsvStep next_row(CsvReader& reader) {
    const std::string_view text = reader.text;
    // Empty lines carry no row.
    for (;;) {
        if (reader.position < text.size() && text[reader.position] == '\n') {
            ++reader.position;
            ++reader.line;
        } else if (text.substr(reader.position, 2) == "\r\n") {
            reader.position += 2;
            ++reader.line;
        } else {
            break;
        }
    }
    reader.fields.clear();
    if (reader.position >= text.size()) return CsvStep::end;

    reader.row_line = reader.line;
    reader.spans.clear();
    reader.unquoted.clear();
    for (;;) {
        CsvReader::Span span;
        if (reader.position < text.size() && text[reader.position] == '"') {
            if (!read_quoted(reader, span)) {
                reader.position = text.size();
                return CsvStep::unterminated_quote;
            }
        } else {
            read_plain(reader, span);
        }
        reader.spans.push_back(span);
        if (reader.position < text.size() && text[reader.position] == ',') {
            ++reader.position;
            continue;
        }
        break;
    }
    if (reader.position < text.size()) {
        reader.position += text[reader.position] == '\r' ? 2 : 1;
        ++reader.line;
    }
    for (const auto& span : reader.spans) {
        const std::string_view from = span.quoted ? std::string_view(reader.unquoted) : text;
        reader.fields.push_back(from.substr(span.begin, span.end - span.begin));
    }
    return CsvStep::row;
}

void append_csv_field(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace napinavost::ranking
