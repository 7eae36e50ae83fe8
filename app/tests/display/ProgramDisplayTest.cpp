// The program on a real (virtual) display: the splash window's bar must be
// seen advancing step by step while the main window is made and the program
// does nothing but pause, and the main window must follow. Screenshots go to
// the build folder for a person to look at.
#include "platform/backend/tests/PrivateXServer.h"
#include "platform/backend/tests/ScreenShot.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr auto watchTime = 12s;
constexpr auto screenshotInterval = 60ms;
// The splash bar is drawn in yellow blocks across the splash window's width.
constexpr guchar barYellow[] = {255, 255, 0};
constexpr int fullBar = 400;
// The main window is mostly button face.
constexpr guchar buttonFace[] = {192, 192, 192};
constexpr int enoughButtonFace = 100000;

// The most bar yellow in any row, and how much button face there is.
struct Seen {
    int barWidth = 0;
    int buttonFace = 0;
};

Seen look(GdkPixbuf* shot) {
    Seen seen;
    const int channels = gdk_pixbuf_get_n_channels(shot);
    const int stride = gdk_pixbuf_get_rowstride(shot);
    const guchar* pixels = gdk_pixbuf_get_pixels(shot);
    for (int y = 0; y < gdk_pixbuf_get_height(shot); ++y) {
        int yellow = 0;
        for (int x = 0; x < gdk_pixbuf_get_width(shot); ++x) {
            const guchar* pixel = pixels + y * stride + x * channels;
            if (std::equal(pixel, pixel + 3, barYellow)) ++yellow;
            if (std::equal(pixel, pixel + 3, buttonFace)) ++seen.buttonFace;
        }
        seen.barWidth = std::max(seen.barWidth, yellow);
    }
    return seen;
}

void save(GdkPixbuf* shot, const std::string& name) {
    std::filesystem::create_directories(QUORVANE_SCREENSHOT_DIR);
    gdk_pixbuf_save(shot, (std::string(QUORVANE_SCREENSHOT_DIR) + "/" + name).c_str(), "png", nullptr,
                    nullptr);
}

TEST(ProgramDisplayTest, TheSplashBarAdvancesOnScreenAndTheMainWindowFollows) {
    if (!PrivateXServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    ASSERT_TRUE(std::filesystem::exists(QUORVANE_PROGRAM)) << "build Quorvane first";
    PrivateXServer server;
    ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
    std::string folderTemplate =
        (std::filesystem::temp_directory_path() / "quorvane-program-XXXXXX").string();
    ASSERT_NE(mkdtemp(folderTemplate.data()), nullptr);
    const std::filesystem::path folder = folderTemplate;
    const Environment environment{
        {"DISPLAY", server.Display()},
        {"QUORVANE_BACKEND", "gtk"},
        {"TMPDIR", folder.string()},
        {"XDG_CACHE_HOME", (folder / "cache").string()},
        {"XDG_DATA_HOME", (folder / "data").string()},
        {"XDG_CONFIG_HOME", (folder / "config").string()},
        {"QUORVANE_REGISTRY_FILE", (folder / "registry").string()},
        {"NO_AT_BRIDGE", "1"},
    };
    ChildProcess program({QUORVANE_PROGRAM}, environment, (folder / "errors.txt").string());
    ASSERT_TRUE(program.Started());

    std::set<int> partialBars;
    bool mainWindowSeen = false;
    bool splashSaved = false;
    const auto deadline = std::chrono::steady_clock::now() + watchTime;
    while (!mainWindowSeen && std::chrono::steady_clock::now() < deadline) {
        GdkPixbuf* shot = ScreenShot(server.Display());
        ASSERT_NE(shot, nullptr);
        const Seen seen = look(shot);
        if (seen.barWidth > 0 && seen.barWidth < fullBar) partialBars.insert(seen.barWidth);
        if (partialBars.size() == 3 && !splashSaved) splashSaved = (save(shot, "splash.png"), true);
        if (seen.buttonFace >= enoughButtonFace && seen.barWidth == 0) {
            mainWindowSeen = true;
            save(shot, "program.png");
        }
        g_object_unref(shot);
        std::this_thread::sleep_for(screenshotInterval);
    }
    std::ifstream errorFile(folder / "errors.txt");
    const std::string errors{std::istreambuf_iterator<char>(errorFile), std::istreambuf_iterator<char>()};
    std::filesystem::remove_all(folder);
    EXPECT_GE(partialBars.size(), 3u) << "the bar was not seen advancing" << errors;
    EXPECT_TRUE(mainWindowSeen) << errors;
}

} // namespace
