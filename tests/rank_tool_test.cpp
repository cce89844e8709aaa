// napinavost-rank as a user meets it: the built executable with its options,
// files, outputs and exit statuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.hpp"
#include "ranking/csv.hpp"
#include "ranking_fixtures.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string rank_program = NAPINAVOST_RANK_EXECUTABLE;

RunResult rank(std::vector<std::string> arguments, const std::string& input = "") {
    arguments.insert(arguments.begin(), rank_program);
    return run_program(arguments, input, 60s);
}

// A folder of its own for each test, removed afterwards.
class RankTool : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("napinavost-rank-test-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
        return path(name);
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

std::string read_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

const std::vector<std::string> all_fixtures = {
    fixture_path("world-cup.json"), fixture_path("euro.json"), fixture_path("goalscorers.csv"),
    "--results", fixture_path("results.csv")};

TEST_F(RankTool, HelpAndVersionFitAScreenAndExitWithZero) {
    const RunResult help = rank({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.errors, "");
    std::istringstream lines(help.output);
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_LE(line.size(), 80u) << line;
    }
    EXPECT_LE(count, 24);
    for (const char* option : {"--results", "--team", "--from", "--to", "--top", "--csv", "--json",
                               "--svg", "--html", "--verbose", "--version"}) {
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(rank({"-h"}).output, help.output);
    const RunResult version = rank({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "napinavost-rank 1.0\n");
}

TEST_F(RankTool, UsageErrorsExitWithTwoAndAShortUsageLine) {
    const std::string file = fixture_path("world-cup.json");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{}, "chyba SUBOR so zapasmi"},
        {{"--bogus", file}, "neznama volba: --bogus"},
        {{"--top", "many", file}, "--top: cakam cele cislo 0 alebo vacsie, nie many"},
        {{"--top", "-1", file}, "--top: cakam cele cislo 0 alebo vacsie, nie -1"},
        {{"--from", "2020-13-01", file}, "--from: datum ma tvar RRRR-MM-DD, nie 2020-13-01"},
        {{"--to", "yesterday", file}, "--to: datum ma tvar RRRR-MM-DD, nie yesterday"},
        {{"--csv", "-", "--json", "-", file},
         "--csv, --json a --html nemozu ist viacere na standardny vystup"},
        {{"--html", "-", "--json", "-", file},
         "--csv, --json a --html nemozu ist viacere na standardny vystup"},
        {{"--svg", "-", file}, "--svg: cakam priecinok, nie -"},
        {{"-", "--results", "-"}, "standardny vstup (-) sa da citat len raz"},
        {{file, "--top"}, "chybne volanie ("},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const RunResult run = rank(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_TRUE(run.errors.starts_with("napinavost-rank: " + c.message)) << run.errors;
        EXPECT_TRUE(run.errors.ends_with("\nPouzitie: napinavost-rank [volby] SUBOR...\n"))
            << run.errors;
    }
}

TEST_F(RankTool, FileErrorsExitWithOneAndNameTheFileAndPosition) {
    const std::string header = "date,home_team,away_team,team,scorer,minute,own_goal,penalty\n";
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{path("missing.json")}, path("missing.json") + ": neda sa otvorit ("},
        {{path("")}, path("") + ": neda sa citat ("},
        {{write("broken.json", "{\"matches\": [\n  {\"date\": ]\n}")},
         path("broken.json") + ":2:12: chybny JSON: "},
        {{write("fields.csv", header + "2000-01-01,A,B,A,X,1,FALSE,FALSE\n2000-01-01,A,B\n")},
         path("fields.csv") + ":3: riadok ma 3 poli, hlavicka 8"},
        {{write("quote.csv", header + "2000-01-01,A,B,A,\"X,1,FALSE,FALSE\n")},
         path("quote.csv") + ":2: neukoncene uvodzovky"},
        {{write("notes.txt", "just some notes\n")},
         path("notes.txt") + ": nie je zapasovy JSON openfootball ani goalscorers.csv"},
        {{write("empty.csv", "")},
         path("empty.csv") + ": nie je zapasovy JSON openfootball ani goalscorers.csv"},
        {{fixture_path("results.csv")},
         fixture_path("results.csv") + ": toto je results.csv, zadajte ho volbou --results"},
        {{fixture_path("goalscorers.csv"), "--results", fixture_path("goalscorers.csv")},
         fixture_path("goalscorers.csv") + ":1: v hlavicke chyba stlpec home_score"},
        {{"-"}, "standardny vstup:1:5: chybny JSON: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const RunResult run = rank(c.arguments, "[1, }");
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.output, "");
        EXPECT_TRUE(run.errors.starts_with("napinavost-rank: " + c.message)) << run.errors;
    }
}

TEST_F(RankTool, PrintsTheTableAndASummaryOfEveryMatch) {
    const RunResult run = rank(all_fixtures);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.output.starts_with("Por.  Datum       Zapas")) << run.output;
    EXPECT_NE(run.output.find("   1  2012-10-16  Germany - Sweden"), std::string::npos)
        << run.output;
    EXPECT_EQ(run.errors,
              "napinavost-rank: zapasy: 32, hodnotene: 16, vynechane: 16 (bez skore: 2, "
              "bez poradia golov: 2, goly nesedia so skore: 2, gol bez casu: 2, "
              "chybne udaje zapasu: 5, gol timu mimo zapasu: 1, nejednoznacny zapas: 2)\n");
}

TEST_F(RankTool, VerboseNamesEachSkippedMatchWhereItStands) {
    const RunResult run = rank({"-v", fixture_path("euro.json"), fixture_path("goalscorers.csv"),
                                "--results", fixture_path("results.csv")});
    EXPECT_EQ(run.status, 0);
    const std::string euro = fixture_path("euro.json");
    const std::string results = fixture_path("results.csv");
    const std::string goals = fixture_path("goalscorers.csv");
    for (const std::string& line : {
             euro + ", zapas 3 (2024-06-19 Bad - Minute): gol bez casu",
             euro + ", zapas 4 (2024-06-20 Nameless - ?): chybne udaje zapasu",
             results + ":5 (2000-01-02 No - Rows): bez poradia golov",
             results + ":6 (2000-01-03 Twice - Listed): nejednoznacny zapas",
             results + ":7 (2000-01-03 Twice - Listed): nejednoznacny zapas",
             results + ":8 (2000-01-04 Wrong - Count): goly nesedia so skore",
             results + ":9 (2030-06-01 Future - Match): bez skore",
             goals + ":21 (1963-01-01 Stranger - Goal): gol timu mimo zapasu",
         }) {
        EXPECT_NE(run.errors.find("napinavost-rank: vynechany " + line + "\n"), std::string::npos)
            << line << "\n"
            << run.errors;
    }
}

// The exports read back with a CSV reader and a JSON parser, field by field.
TEST_F(RankTool, ExportsReadBackWithEveryField) {
    const std::string csv_path = path("ranked.csv");
    const std::string json_path = path("ranked.json");
    auto arguments = all_fixtures;
    arguments.insert(arguments.end(), {"--csv", csv_path, "--json", json_path});
    const RunResult run = rank(arguments);
    ASSERT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(entries(), (std::vector<std::string>{"ranked.csv", "ranked.json"}));

    const nlohmann::json json = nlohmann::json::parse(read_file(json_path));
    EXPECT_EQ(json["rated"], 16);
    EXPECT_EQ(json["skipped"], nlohmann::json::parse(R"({"no_score": 2, "no_goal_order": 2,
                  "goals_do_not_match_score": 2, "goal_without_time": 2, "invalid_match": 5,
                  "team_not_in_match": 1, "ambiguous_match": 2})"));
    const auto& matches = json["matches"];
    ASSERT_EQ(matches.size(), 16u);

    const std::string csv = read_file(csv_path);
    ranking::CsvReader reader = ranking::csv_reader(csv);
    ASSERT_EQ(ranking::next_row(reader), ranking::CsvStep::row);
    EXPECT_EQ(std::vector<std::string>(reader.fields.begin(), reader.fields.end()),
              (std::vector<std::string>{"rank", "date", "team1", "team2", "score1", "score2",
                                        "index", "goals", "order", "competition"}));
    EXPECT_EQ(csv.find('\r'), std::string::npos);

    int previous_rank = 0;
    for (const auto& match : matches) {
        ASSERT_EQ(ranking::next_row(reader), ranking::CsvStep::row);
        const auto& f = reader.fields;
        ASSERT_EQ(f.size(), 10u);
        EXPECT_EQ(f[0], std::to_string(match["rank"].get<int>()));
        EXPECT_EQ(f[1], match["date"]);
        EXPECT_EQ(f[2], match["team1"]);
        EXPECT_EQ(f[3], match["team2"]);
        EXPECT_EQ(f[4], std::to_string(match["score1"].get<int>()));
        EXPECT_EQ(f[5], std::to_string(match["score2"].get<int>()));
        EXPECT_DOUBLE_EQ(std::stod(std::string(f[6])), match["index"].get<double>());
        EXPECT_EQ(f[7], match["goals"]);
        EXPECT_EQ(f[8], match["order"]);
        EXPECT_EQ(f[9], match["competition"]);
        const std::string goals = match["goals"];
        EXPECT_EQ(goals.size(),
                  match["score1"].get<std::size_t>() + match["score2"].get<std::size_t>());
        EXPECT_GE(match["rank"].get<int>(), previous_rank);
        previous_rank = match["rank"];
    }
    EXPECT_EQ(ranking::next_row(reader), ranking::CsvStep::end);

    // The index stands in the JSON text exactly as the console program writes it.
    const std::string json_text = read_file(json_path);
    EXPECT_NE(json_text.find("\"team1\": \"Argentina\", \"team2\": \"France\", \"score1\": 3, "
                             "\"score2\": 3, \"index\": 0.388889, \"goals\": \"001101\", "
                             "\"order\": \"exact\", \"competition\": \"World Cup Fixture\""),
              std::string::npos);
    EXPECT_NE(json_text.find("\"index\": 0, \"goals\": \"\""), std::string::npos);
    EXPECT_NE(csv.find("2000-01-01,Goalless,Draw,0,0,0,,exact,Friendly\n"), std::string::npos);
    EXPECT_NE(csv.find(",Same,Minute,1,1,0.5,01,uncertain,World Cup Fixture\n"), std::string::npos);
}

TEST_F(RankTool, ExportToStandardOutputReplacesTheTable) {
    const RunResult csv = rank({fixture_path("euro.json"), "--csv", "-"});
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.output,
              "rank,date,team1,team2,score1,score2,index,goals,order,competition\n"
              "1,2024-06-15,Late,Extra,1,2,0.25,101,exact,Euro Fixture\n"
              "2,2024-06-14,Germany,Scotland,5,1,0.1,000010,exact,Euro Fixture\n");
    const RunResult json = rank({fixture_path("euro.json"), "--json", "-", "--top", "1"});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(nlohmann::json::parse(json.output)["matches"].size(), 2u);
}

TEST_F(RankTool, FailedExportLeavesNoFileAndExitsWithOne) {
    fs::create_directory(folder / "a-folder");
    const std::string kept = write("kept.csv", "old content\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::string euro = fixture_path("euro.json");
    const std::vector<Case> cases = {
        {{euro, "--csv", path("a-folder")}, path("a-folder") + ": neda sa zapisat ("},
        {{euro, "--json", path("no-such-folder/out.json")},
         path("no-such-folder/out.json") + ": neda sa zapisat ("},
        {{euro, "--csv", "/dev/full"}, "/dev/full: zapis zlyhal ("},
        // A run that fails on its input writes no export at all.
        {{euro, write("broken.json", "{"), "--csv", kept},
         path("broken.json") + ":1:2: chybny JSON: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const RunResult run = rank(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.errors.starts_with("napinavost-rank: " + c.message)) << run.errors;
    }
    EXPECT_EQ(entries(), (std::vector<std::string>{"a-folder", "broken.json", "kept.csv"}));
    EXPECT_TRUE(fs::is_empty(folder / "a-folder"));
    EXPECT_EQ(read_file(kept), "old content\n");
}

TEST_F(RankTool, ExportReplacesAnEarlierOneAndWritesToDevices) {
    const std::string target = write("out.csv", "old content that is longer than the new one\n");
    const RunResult run = rank({fixture_path("euro.json"), "--csv", target});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(read_file(target).starts_with("rank,date,"));
    EXPECT_EQ(entries(), (std::vector<std::string>{"out.csv"}));
    EXPECT_EQ(rank({fixture_path("euro.json"), "--csv", "/dev/null"}).status, 0);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(RankTool, NamesThatAreNotUtf8KeepTheJsonExportValid) {
    const std::string file = write(
        "names.json",
        "{\"matches\": [{\"date\": \"2020-01-01\", \"team1\": \"Bad\xff\", \"team2\": \"<&>\\\"\","
        " \"score\": {\"ft\": [1, 0]}, \"goals1\": [{\"minute\": 3}]}]}");
    // The JSON reader refuses bytes that are not UTF-8, so the CSV reader carries them.
    const std::string csv = write("names.csv",
                                  "date,home_team,away_team,team,scorer,minute,own_goal,penalty\n"
                                  "2020-01-01,Bad\xff,\"Quote\"\"d\",Bad\xff,X,3,FALSE,FALSE\n");
    EXPECT_EQ(rank({file}).status, 1);
    const RunResult run = rank({csv, "--json", "-"});
    ASSERT_EQ(run.status, 0);
    const auto json = nlohmann::json::parse(run.output);
    EXPECT_EQ(json["matches"][0]["team1"], "Bad\xEF\xBF\xBD");
    EXPECT_EQ(json["matches"][0]["team2"], "Quote\"d");
    const RunResult table = rank({csv, "--csv", "-"});
    EXPECT_NE(table.output.find("2020-01-01,Bad\xff,\"Quote\"\"d\""), std::string::npos);
}

TEST_F(RankTool, PicturesForTheTableAndAReport) {
    const std::string pictures = path("deep/er/pictures");
    const RunResult run = rank({fixture_path("world-cup.json"), "--top", "3", "--svg", pictures,
                                "--html", path("report.html")});
    ASSERT_EQ(run.status, 0) << run.errors;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pictures)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"001-2022-12-02-same-minute.svg",
                                               "002-2022-12-18-argentina-france.svg",
                                               "003-2022-12-01-canada-morocco.svg"}));
    EXPECT_TRUE(read_file(path("report.html")).starts_with("<!DOCTYPE html>"));
    EXPECT_TRUE(run.output.starts_with("Por.  Datum"));

    const RunResult report = rank({fixture_path("euro.json"), "--html", "-"});
    EXPECT_EQ(report.status, 0);
    EXPECT_TRUE(report.output.starts_with("<!DOCTYPE html>"));
    EXPECT_EQ(report.output.find("Por.  Datum"), std::string::npos);

    const std::string file = write("a-file", "x");
    const RunResult blocked = rank({fixture_path("euro.json"), "--svg", file + "/pictures"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_TRUE(blocked.errors.starts_with("napinavost-rank: " + file +
                                           "/pictures: priecinok sa neda vytvorit ("))
        << blocked.errors;
}

// Every rated match of the fixtures, typed into the console program as its
// count and goal codes, gives the index that the ranking tool exported.
TEST_F(RankTool, EveryRatedMatchHasTheIndexTheConsoleProgramPrints) {
    const RunResult run = rank([] {
        auto arguments = all_fixtures;
        arguments.insert(arguments.end(), {"--json", "-"});
        return arguments;
    }());
    ASSERT_EQ(run.status, 0);
    const auto matches = nlohmann::json::parse(run.output)["matches"];
    ASSERT_EQ(matches.size(), 16u);
    for (const auto& match : matches) {
        const std::string codes = match["goals"];
        SCOPED_TRACE(codes);
        std::string input = std::to_string(codes.size()) + "\n";
        for (char code : codes) input += std::string(1, code) + " ";
        const RunResult console = run_program({NAPINAVOST_EXECUTABLE}, input + "\n", 60s);
        const std::string label = "Index napinavosti: ";
        const std::size_t start = console.output.find(label);
        ASSERT_NE(start, std::string::npos) << console.output;
        const std::size_t end = console.output.find_first_of("\n", start);
        const std::string printed =
            console.output.substr(start + label.size(), end - start - label.size());
        EXPECT_EQ(printed, match["index"].dump());
    }
}

}  // namespace
}  // namespace napinavost::testing
