#include "ranking/rank_tool.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "ranking/csv.hpp"
#include "ranking/exports.hpp"
#include "ranking/files.hpp"
#include "ranking/international.hpp"
#include "ranking/openfootball.hpp"
#include "ranking/pictures.hpp"
#include "ranking/ranking.hpp"
#include "ranking/report.hpp"

namespace napinavost::ranking {

namespace {

constexpr int exit_done = 0;
constexpr int exit_file_error = 1;
constexpr int exit_usage = 2;

constexpr const char* usage_line = "Pouzitie: napinavost-rank [volby] SUBOR...\n";

constexpr const char* help_text =
    "Pouzitie: napinavost-rank [volby] SUBOR...\n"
    "\n"
    "Ohodnoti napinavost odohranych zapasov podla poradia golov a zoradi ich od\n"
    "najnapinavejsieho. SUBOR je zapasovy JSON openfootball (majstrovstva sveta\n"
    "a Europy) alebo goalscorers.csv medzinarodnych vysledkov; - cita vstup.\n"
    "\n"
    "Volby:\n"
    "  --results SUBOR  results.csv k tymto golom: skore, turnaj, zapasy bez golov\n"
    "  --team MENO      len zapasy timu MENO (presny nazov, na velkosti nezalezi)\n"
    "  --from DATUM     len zapasy od DATUM (RRRR-MM-DD) vratane\n"
    "  --to DATUM       len zapasy do DATUM vratane\n"
    "  --top N          tabulka prvych N zapasov (predvolene 20, 0 vsetky)\n"
    "  --csv SUBOR      vsetky hodnotene zapasy do CSV (- na standardny vystup)\n"
    "  --json SUBOR     vsetky hodnotene zapasy do JSON (- na standardny vystup)\n"
    "  --svg PRIECINOK  obrazok SVG kazdeho zapasu tabulky do PRIECINKA\n"
    "  --html SUBOR     sprava HTML s tabulkou a obrazkami zapasov tabulky\n"
    "  -v, --verbose    kazdy vynechany zapas s dovodom na chybovy vystup\n"
    "  -h, --help       tento text\n"
    "      --version    verzia programu\n"
    "\n"
    "Tabulka ide na standardny vystup, suhrn na chybovy vystup.\n"
    "Navratovy kod: 0 hotovo, 1 subor sa neda citat alebo zapisat, 2 chybne volanie.\n";

struct Options {
    std::vector<std::string> files;
    std::string results;
    Filters filters;
    std::string top = "20";
    std::string csv;
    std::string json;
    std::string svg;
    std::string html;
    bool verbose = false;
    bool help = false;
    bool version = false;
};

void print_error(const std::string& message) {
    std::fprintf(stderr, "napinavost-rank: %s\n", message.c_str());
}

int usage_error(const std::string& message) {
    print_error(message);
    std::fputs(usage_line, stderr);
    return exit_usage;
}

// Parses the command line; a message when it is wrong.
std::optional<std::string> parse_options(int argc, const char* const* argv, Options& options) {
    CLI::App app{"napinavost-rank"};
    app.set_help_flag();
    app.allow_extras();
    app.add_flag("-h,--help", options.help);
    app.add_flag("--version", options.version);
    app.add_flag("-v,--verbose", options.verbose);
    app.add_option("--results", options.results);
    app.add_option("--team", options.filters.team);
    app.add_option("--from", options.filters.from);
    app.add_option("--to", options.filters.to);
    app.add_option("--top", options.top);
    app.add_option("--csv", options.csv);
    app.add_option("--json", options.json);
    app.add_option("--svg", options.svg);
    app.add_option("--html", options.html);
    app.add_option("files", options.files);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return std::string("chybne volanie (") + error.what() + ")";
    }
    if (const auto extras = app.remaining(); !extras.empty()) {
        return "neznama volba: " + extras.front();
    }
    return std::nullopt;
}

std::optional<std::string> check_options(const Options& options, std::size_t& top) {
    if (options.files.empty()) return std::string("chyba SUBOR so zapasmi");
    for (const auto& [name, date] :
         {std::pair{"--from", &options.filters.from}, std::pair{"--to", &options.filters.to}}) {
        if (!date->empty() && !is_date(*date)) {
            return std::string(name) + ": datum ma tvar RRRR-MM-DD, nie " + *date;
        }
    }
    const auto parsed =
        std::from_chars(options.top.data(), options.top.data() + options.top.size(), top);
    if (options.top.empty() || parsed.ec != std::errc{} ||
        parsed.ptr != options.top.data() + options.top.size()) {
        return "--top: cakam cele cislo 0 alebo vacsie, nie " + options.top;
    }
    int to_standard_output = 0;
    for (const std::string* path : {&options.csv, &options.json, &options.html}) {
        to_standard_output += *path == "-";
    }
    if (to_standard_output > 1) {
        return std::string("--csv, --json a --html nemozu ist viacere na standardny vystup");
    }
    if (options.svg == "-") return std::string("--svg: cakam priecinok, nie -");
    std::size_t from_input = options.results == "-";
    for (const auto& file : options.files) from_input += file == "-";
    if (from_input > 1) return std::string("standardny vstup (-) sa da citat len raz");
    return std::nullopt;
}

// Which of the known layouts a file holds, told by its content.
enum class Layout { openfootball, goalscorers, results, unknown };

Layout layout_of(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start != std::string_view::npos && (text[start] == '{' || text[start] == '[')) {
        return Layout::openfootball;
    }
    CsvReader reader = csv_reader(text);
    if (next_row(reader) != CsvStep::row) return Layout::unknown;
    const auto has = [&](std::string_view name) {
        for (std::string_view field : reader.fields) {
            if (field == name) return true;
        }
        return false;
    };
    if (has("home_score") && !has("scorer")) return Layout::results;
    if (has("date") && has("home_team") && has("away_team")) return Layout::goalscorers;
    return Layout::unknown;
}

struct Loaded {
    std::vector<MatchRecord> matches;
    GoalRows goal_rows;
};

constexpr std::string_view standard_input_name = "standardny vstup";

// The name that messages and records give a file; it lives as long as the options.
std::string_view file_name(const std::string& path) {
    return path == "-" ? standard_input_name : std::string_view(path);
}

std::optional<std::string> load_match_file(const std::string& path, Loaded& loaded) {
    std::string bytes;
    if (auto error = read_whole_file(path, bytes)) return error;
    const std::string_view name = file_name(path);
    const std::string_view text = without_byte_order_mark(bytes);
    switch (layout_of(text)) {
        case Layout::openfootball:
            return read_openfootball(text, name, loaded.matches);
        case Layout::goalscorers:
            return read_goalscorers(text, name, loaded.goal_rows);
        case Layout::results:
            return std::string(name) + ": toto je results.csv, zadajte ho volbou --results";
        case Layout::unknown:
            break;
    }
    return std::string(name) + ": nie je zapasovy JSON openfootball ani goalscorers.csv";
}

std::optional<std::string> load_results(const std::string& path, Loaded& loaded) {
    std::string bytes;
    if (auto error = read_whole_file(path, bytes)) return error;
    return read_results(without_byte_order_mark(bytes), file_name(path), loaded.goal_rows,
                        loaded.matches);
}

// One picture per match of the table, in a folder made where needed.
std::optional<std::string> write_pictures(const std::string& folder, const Ranking& ranking,
                                          const std::vector<MatchRecord>& matches,
                                          std::size_t top) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) return folder + ": priecinok sa neda vytvorit (" + code.message() + ")";
    const std::size_t shown = shown_count(ranking, top);
    for (std::size_t i = 0; i < shown; ++i) {
        const RatedMatch& rated = ranking.rated[i];
        const MatchRecord& match = matches[rated.match];
        const std::string path =
            (std::filesystem::path(folder) / picture_file_name(i + 1, match)).string();
        const std::string picture = match_picture(match, rated, match_shape(match), true);
        if (auto error = write_whole_file(path, picture)) return error;
    }
    return std::nullopt;
}

}  // namespace

int run_rank(int argc, const char* const* argv) {
    Options options;
    if (auto error = parse_options(argc, argv, options)) return usage_error(*error);
    if (options.help) {
        std::fputs(help_text, stdout);
        return exit_done;
    }
    if (options.version) {
        std::puts("napinavost-rank 1.0");
        return exit_done;
    }
    std::size_t top = 0;
    if (auto error = check_options(options, top)) return usage_error(*error);

    Loaded loaded;
    for (const auto& path : options.files) {
        if (auto error = load_match_file(path, loaded)) {
            print_error(*error);
            return exit_file_error;
        }
    }
    if (!options.results.empty()) {
        if (auto error = load_results(options.results, loaded)) {
            print_error(*error);
            return exit_file_error;
        }
    }
    add_unnamed_matches(loaded.goal_rows, loaded.matches);
    const std::vector<MatchRecord>& matches = loaded.matches;

    const Ranking ranking = rank_matches(matches, options.filters);
    int status = exit_done;
    // Each output is made only when it is asked for, and none after a failure.
    const auto write = [&](const std::string& path, auto make_content) {
        if (path.empty() || status != exit_done) return;
        if (auto error = write_whole_file(path, make_content())) {
            print_error(*error);
            status = exit_file_error;
        }
    };
    write(options.csv, [&] { return csv_export(ranking, matches); });
    write(options.json, [&] { return json_export(ranking, matches); });
    write(options.html, [&] {
        return report_html(ranking, matches, {options.files, options.filters, top});
    });
    if (!options.svg.empty() && status == exit_done) {
        if (auto error = write_pictures(options.svg, ranking, matches, top)) {
            print_error(*error);
            status = exit_file_error;
        }
    }
    if (options.csv != "-" && options.json != "-" && options.html != "-") {
        write("-", [&] { return ranking_table(ranking, matches, top); });
    }
    if (options.verbose) std::fputs(skipped_lines(ranking, matches).c_str(), stderr);
    std::fputs(summary_line(ranking.summary).c_str(), stderr);
    return status;
}

}  // namespace napinavost::ranking
