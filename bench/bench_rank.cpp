// Times napinavost-rank on synthetic international results of the published
// data set's size (about 50,000 results rows and 48,000 goal rows) and of ten
// times that: wall time, rows per second and peak memory.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "child_timing.hpp"

namespace {

namespace fs = std::filesystem;
using napinavost::bench::Timing;

constexpr int runs = 7;

// At the published size: 15,000 matches with goal rows, 4,500 goalless and
// the rest with a score but no goal rows.
struct DataSize {
    int results_rows;
    int matches_with_goals;
    int goalless;
};

struct DataFiles {
    fs::path goals;
    fs::path results;
    long goal_rows = 0;
    long results_rows = 0;
};

const std::vector<std::string> teams = [] {
    std::vector<std::string> names = {"Côte d'Ivoire", "São Tomé and Príncipe",
                                      "Curaçao",       "Germany",
                                      "Sweden",        "Brazil",
                                      "Argentina",     "Slovakia"};
    for (int i = names.size(); i < 220; ++i) names.push_back("Team " + std::to_string(i));
    return names;
}();

std::string date_of(int day) {
    // Distinct dates, one match a day from 1872 on; a plain calendar is enough here.
    const int year = 1872 + day / 336;
    const int month = 1 + day % 336 / 28;
    const int date = 1 + day % 28;
    const auto two = [](int value) {
        return std::string(value < 10 ? "0" : "") + std::to_string(value);
    };
    return std::to_string(year) + "-" + two(month) + "-" + two(date);
}

DataFiles write_data(const fs::path& folder, const std::string& name, DataSize size) {
    DataFiles files{folder / (name + "-goalscorers.csv"), folder / (name + "-results.csv")};
    std::mt19937_64 random(2026);
    std::ofstream goals(files.goals, std::ios::binary);
    std::ofstream results(files.results, std::ios::binary);
    goals << "date,home_team,away_team,team,scorer,minute,own_goal,penalty\n";
    results << "date,home_team,away_team,home_score,away_score,tournament,city,country,neutral\n";
    std::string goal_block, result_block;
    for (int i = 0; i < size.results_rows; ++i) {
        const std::string date = date_of(i);
        const std::string& home = teams[random() % teams.size()];
        std::string away = teams[random() % teams.size()];
        if (away == home) away = "Other " + home;
        int home_score = 0, away_score = 0;
        if (i < size.matches_with_goals) {
            // 3.2 goals a match on average, in the order they fell.
            const int count = 1 + static_cast<int>(random() % 5) + (random() % 5 == 0);
            int minute = 0;
            for (int g = 0; g < count; ++g) {
                minute = std::min(120, minute + 1 + static_cast<int>(random() % 30));
                const bool second = random() & 1;
                (second ? away_score : home_score) += 1;
                goal_block += date + ',' + home + ',' + away + ',' + (second ? away : home) +
                              ",\"Player \"\"" + std::to_string(random() % 1000) + "\"\"\"," +
                              std::to_string(minute) + (random() % 30 == 0 ? ",TRUE" : ",FALSE") +
                              (random() % 10 == 0 ? ",TRUE\n" : ",FALSE\n");
                ++files.goal_rows;
            }
        } else if (i >= size.matches_with_goals + size.goalless) {
            home_score = 1 + static_cast<int>(random() % 4);
            away_score = static_cast<int>(random() % 3);
        }
        result_block += date + ',' + home + ',' + away + ',' + std::to_string(home_score) + ',' +
                        std::to_string(away_score) + ",Friendly,\"Town, Region\",Country,FALSE\n";
        ++files.results_rows;
        if (goal_block.size() > 65536) goals << goal_block, goal_block.clear();
        if (result_block.size() > 65536) results << result_block, result_block.clear();
    }
    goals << goal_block;
    results << result_block;
    return files;
}

void print_run(const char* what, const DataFiles& files, const Timing& timing) {
    const double rows = static_cast<double>(files.goal_rows + files.results_rows);
    std::printf("%-24s %7ld + %7ld rows %9.1f ms  %9.3g rows/s  peak RSS %7.2f MiB\n", what,
                files.results_rows, files.goal_rows, timing.best_seconds * 1e3,
                rows / timing.best_seconds, timing.peak_kib / 1024.0);
}

}  // namespace

int main() {
    const fs::path folder = BENCH_DATA_DIR;
    const DataFiles published = write_data(folder, "published", {50'000, 15'000, 4'500});
    const DataFiles tenfold = write_data(folder, "tenfold", {500'000, 150'000, 45'000});

    const auto time_ranking = [](const DataFiles& files) {
        return napinavost::bench::time_command(
            {NAPINAVOST_RANK_EXECUTABLE, "--results", files.results.string(), files.goals.string(),
             "--csv", "/dev/null"},
            "/dev/null", runs);
    };
    std::printf(
        "napinavost-rank --results RESULTS GOALS --csv /dev/null\n"
        "best of %d runs; results rows + goal rows\n\n",
        runs);
    const Timing one = time_ranking(published);
    const Timing ten = time_ranking(tenfold);
    print_run("published size", published, one);
    print_run("ten times the size", tenfold, ten);
    std::printf("\ntime ten times the size / published size: %.2fx\n",
                ten.best_seconds / one.best_seconds);

    // Every rated match drawn, and the report of the first hundred.
    const fs::path pictures = folder / "pictures";
    const fs::path report = folder / "report.html";
    const auto source =
        std::vector<std::string>{"--results", published.results.string(), published.goals.string()};
    auto draw_all = std::vector<std::string>{NAPINAVOST_RANK_EXECUTABLE};
    draw_all.insert(draw_all.end(), source.begin(), source.end());
    auto write_report = draw_all;
    draw_all.insert(draw_all.end(), {"--top", "0", "--svg", pictures.string()});
    write_report.insert(write_report.end(), {"--top", "100", "--html", report.string()});
    const Timing drawn = napinavost::bench::time_command(draw_all, "/dev/null", runs);
    const Timing reported = napinavost::bench::time_command(write_report, "/dev/null", runs);
    std::size_t files = 0, bytes = 0;
    for (const auto& entry : fs::directory_iterator(pictures)) {
        ++files;
        bytes += entry.file_size();
    }
    std::printf("\npublished size, pictures and report:\n");
    std::printf("  --top 0 --svg DIR      %6zu pictures, %6.1f MiB %9.1f ms  peak RSS %7.2f MiB\n",
                files, bytes / 1048576.0, drawn.best_seconds * 1e3, drawn.peak_kib / 1024.0);
    std::printf("  --top 100 --html FILE  report %13.1f KiB %9.1f ms  peak RSS %7.2f MiB\n",
                fs::file_size(report) / 1024.0, reported.best_seconds * 1e3,
                reported.peak_kib / 1024.0);
    std::printf("  both together                                %9.1f ms\n",
                (drawn.best_seconds + reported.best_seconds) * 1e3);
    return 0;
}
