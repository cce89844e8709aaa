// The report as a reader meets it: rendered by headless Chromium, the DOM it
// builds and the pixels it paints.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.hpp"
#include "ranking_fixtures.hpp"
#include "xml_document.hpp"

namespace napinavost::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string chromium = NAPINAVOST_CHROMIUM;

// The hull's fill in the pictures' style.
constexpr unsigned char hull_red = 0xf4, hull_green = 0xc0, hull_blue = 0x4e;

class ReportInBrowser : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(chromium.empty()) << "chromium is not installed: scripts/setup tests "
                                          "installs it, and this test needs it";
        ASSERT_EQ(access(chromium.c_str(), X_OK), 0) << chromium << " cannot be run";
        folder = fs::temp_directory_path() / ("napinavost-browser-" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        report = (folder / "report.html").string();
        const RunResult run =
            run_program({NAPINAVOST_RANK_EXECUTABLE, fixture_path("world-cup.json"),
                         fixture_path("euro.json"), fixture_path("goalscorers.csv"), "--results",
                         fixture_path("results.csv"), "--top", "10", "--html", report},
                        "", 60s);
        ASSERT_EQ(run.status, 0) << run.errors;
    }
    void TearDown() override { fs::remove_all(folder); }

    // Chromium, headless and cut off from the network, on the report.
    RunResult browse(std::vector<std::string> arguments) const {
        Command command = {chromium,
                           "--headless",
                           "--no-sandbox",
                           "--disable-gpu",
                           "--disable-quic",
                           "--no-first-run",
                           "--disable-background-networking",
                           "--disable-component-update",
                           "--disable-sync",
                           "--hide-scrollbars",
                           "--force-color-profile=srgb",
                           "--user-data-dir=" + (folder / "profile").string()};
        command.insert(command.end(), arguments.begin(), arguments.end());
        command.push_back("file://" + report);
        return run_program(command, "", 120s);
    }

    fs::path folder;
    std::string report;
};

TEST_F(ReportInBrowser, BuildsOneRowAndOnePicturePerMatchOfTheTable) {
    const RunResult run = browse({"--dump-dom"});
    ASSERT_EQ(run.status, 0) << run.errors;
    const XmlDocument dom = XmlDocument::parse_html(run.output);
    ASSERT_TRUE(dom.ok());
    EXPECT_EQ(dom.count("//table[@class='ranking']/tbody/tr"), 10u);
    EXPECT_EQ(dom.count("//table[@class='ranking']/tbody/tr/td/svg[@class='thumbnail']"), 10u);
    EXPECT_EQ(dom.count("//figure/svg[@class='match']"), 10u);
    EXPECT_EQ(dom.count("//figure/svg[@class='match']//polygon[@class='hull']"), 10u);
    EXPECT_EQ(dom.values("//h1").at(0), "Napinavost zapasov");
}

// Pixels of exactly the hull's fill: the hull is painted, and opaque.
TEST_F(ReportInBrowser, PaintsTheHullInItsFillColour) {
    const std::string shot = (folder / "report.png").string();
    const RunResult run = browse({"--window-size=1100,1600", "--screenshot=" + shot});
    ASSERT_EQ(run.status, 0) << run.errors;

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&image, shot.c_str()), 0) << image.message;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_NE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr), 0)
        << image.message;
    std::size_t hull_pixels = 0;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
        hull_pixels +=
            pixels[i] == hull_red && pixels[i + 1] == hull_green && pixels[i + 2] == hull_blue;
    }
    EXPECT_EQ(image.width, 1100u);
    EXPECT_GT(hull_pixels, 5000u);
}

}  // namespace
}  // namespace napinavost::testing
