#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ranking/csv.hpp"

namespace napinavost::ranking {
namespace {

struct Row {
    std::size_t line;
    std::vector<std::string> fields;

    friend bool operator==(const Row&, const Row&) = default;
};

struct CsvCase {
    std::string name;
    std::string text;
    std::vector<Row> rows;
    bool unterminated = false;
    std::size_t error_line = 0;
};

void PrintTo(const CsvCase& c, std::ostream* out) { *out << c.name; }
void PrintTo(const Row& row, std::ostream* out) {
    *out << row.line << ":";
    for (const auto& field : row.fields) *out << " [" << field << "]";
}

const std::vector<CsvCase> csv_cases = {
    {"plain rows", "a,b\n1,2\n", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
    {"no line end at the end", "a,b\n1,2", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
    {"CR LF line ends", "a,b\r\n1,2\r\n", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
    {"empty fields", ",x,\n", {{1, {"", "x", ""}}}},
    {"quoted comma", "\"a,b\",c\n", {{1, {"a,b", "c"}}}},
    {"doubled quotes",
     "\"Delio \"\"Maravilla\"\" Gamboa\",30\n",
     {{1, {"Delio \"Maravilla\" Gamboa", "30"}}}},
    {"quoted line end counts lines",
     "\"two\nlines\",x\nnext\n",
     {{1, {"two\nlines", "x"}}, {3, {"next"}}}},
    {"quoted CR LF kept inside", "\"a\r\nb\"\r\nc\r\n", {{1, {"a\r\nb"}}, {3, {"c"}}}},
    {"empty quoted field", "\"\",x\n", {{1, {"", "x"}}}},
    {"empty lines are no rows", "\n\na\n\r\n\nb\n", {{3, {"a"}}, {6, {"b"}}}},
    {"quote inside a plain field is kept", "ab\"c,d\n", {{1, {"ab\"c", "d"}}}},
    {"text after a closing quote is kept", "\"ab\"c,d\n", {{1, {"abc", "d"}}}},
    {"lone CR stays in the field", "a\rb,c\n", {{1, {"a\rb", "c"}}}},
    {"unterminated quote", "a\n\"open,\nstill open\n", {{1, {"a"}}}, true, 2},
    {"nothing", "", {}},
};

class CsvReading : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvReading, GivesFieldsAndTheLineEachRowStartsOn) {
    const CsvCase& c = GetParam();
    CsvReader reader = csv_reader(c.text);
    std::vector<Row> rows;
    CsvStep step;
    while ((step = next_row(reader)) == CsvStep::row) {
        rows.push_back({reader.row_line, {reader.fields.begin(), reader.fields.end()}});
    }
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(step == CsvStep::unterminated_quote, c.unterminated);
    if (c.unterminated) {
        EXPECT_EQ(reader.row_line, c.error_line);
    }
    EXPECT_EQ(next_row(reader), CsvStep::end);
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvReading, ::testing::ValuesIn(csv_cases));

TEST(CsvWriting, QuotesOnlyWhatNeedsItAndReadsBackTheSame) {
    const std::vector<std::string> fields = {"plain",  "with,comma", "with \"quote\"", "two\nlines",
                                             "cr\rlf", "",           "Ibrahimović"};
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        append_csv_field(line, fields[i]);
    }
    EXPECT_TRUE(line.starts_with("plain,\"with,comma\",\"with \"\"quote\"\"\","));
    EXPECT_TRUE(line.ends_with(",,Ibrahimović"));
    CsvReader reader = csv_reader(line);
    ASSERT_EQ(next_row(reader), CsvStep::row);
    EXPECT_EQ(std::vector<std::string>(reader.fields.begin(), reader.fields.end()), fields);
}

}  // namespace
}  // namespace napinavost::ranking
