// The desktop backend on a real (virtual) display: the demonstration program
// runs on a private X server with a settings folder of its own, is typed into
// and clicked with xdotool, its clipboard is read and filled with xclip, and
// a screenshot of the screen must show both our own pixels and the page the
// web engine drew. The screenshot is kept in the build folder for a person
// to look at.
#include "platform/backend/tests/PrivateXServer.h"
#include "platform/backend/tests/ScreenShot.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr auto startTimeout = 30s;
constexpr auto stepTimeout = 10s;
constexpr auto screenshotInterval = 100ms;
constexpr const char* demoTitle = "Quorvane backend demo";
constexpr const char* pageTitle = "Quorvane display page";
// The demonstration paints a block in this orange and its note in this
// green; the page fills its body with this blue.
constexpr guchar ourOrange[] = {255, 140, 0};
constexpr guchar noteGreen[] = {34, 139, 34};
constexpr guchar pageBlue[] = {30, 144, 255};
// Pixels of each colour a screenshot must hold: most of the painted block,
// and a good part of the page.
constexpr int enoughOrange = 8000;
constexpr int enoughBlue = 50000;
// The whole note, 200 by 80 pixels.
constexpr int wholeNote = 200 * 80;

constexpr const char* page = R"(<!DOCTYPE html>
<html><head><title>Quorvane display page</title></head>
<body style="margin: 0; background: #1e90ff; height: 100vh">
<p style="margin: 0; padding: 8px; color: white">Drawn by the web engine</p>
<script>
let typed = "";
document.addEventListener("keypress", key => { typed += key.key; document.title = "typed " + typed; });
</script>
</body></html>
)";

struct Point {
    std::string x;
    std::string y;
};

class DesktopDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* needed : {"xdotool", "xclip"})
            if (!ProgramOnPath(needed)) GTEST_SKIP() << needed << " is not installed";
        if (!PrivateXServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(std::filesystem::exists(QUORVANE_BACKEND_DEMO)) << "build backend-demo first";
        server_ = std::make_unique<PrivateXServer>();
        ASSERT_FALSE(server_->Display().empty()) << "Xvfb did not start";
        std::string folderTemplate =
            (std::filesystem::temp_directory_path() / "quorvane-display-XXXXXX").string();
        ASSERT_NE(mkdtemp(folderTemplate.data()), nullptr);
        folder_ = folderTemplate;
        std::ofstream(folder_ / "page.html") << page;
        startDemo();
    }

    void TearDown() override {
        demo_.reset();
        server_.reset();
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }

    void startDemo() {
        Environment environment{
            {"DISPLAY", server_->Display()},
            {"QUORVANE_BACKEND", "gtk"},
            {"XDG_CACHE_HOME", (folder_ / "cache").string()},
            {"XDG_DATA_HOME", (folder_ / "data").string()},
            {"XDG_CONFIG_HOME", (folder_ / "config").string()},
            {"QUORVANE_REGISTRY_FILE", (folder_ / "registry").string()},
            // The plain input method of GTK, the same everywhere, does dead keys and compose.
            {"GTK_IM_MODULE", "gtk-im-context-simple"},
            {"NO_AT_BRIDGE", "1"},
        };
        demo_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{QUORVANE_BACKEND_DEMO, "--page", (folder_ / "page.html").string()},
            environment, (folder_ / "demo-errors.txt").string());
        ASSERT_TRUE(demo_->Started());
        bool ready = false;
        auto deadline = std::chrono::steady_clock::now() + startTimeout;
        while (!(ready && title_) && std::chrono::steady_clock::now() < deadline) {
            std::optional<std::string> line = demo_->ReadLine(stepTimeout);
            if (!line) break;
            std::istringstream words(*line);
            std::string word, name;
            words >> word;
            if (word == "ready") ready = true;
            if (word == "at" && words >> name) words >> places_[name].x >> places_[name].y;
            if (line->rfind("title: ", 0) == 0) title_ = line->substr(7);
        }
        ASSERT_TRUE(ready) << "the demonstration never painted its window" << errors();
        ASSERT_TRUE(title_) << "no title event from the web view" << errors();
        std::optional<std::string> found =
            RunOnDisplay(server_->Display(), {"xdotool", "search", "--sync", "--name", demoTitle});
        ASSERT_TRUE(found && !found->empty());
        window_ = found->substr(0, found->find('\n'));
        // Without a window manager nothing gives the window the keyboard but us.
        ASSERT_TRUE(xdotool({"windowfocus", "--sync", window_}));
    }

    std::string errors() const {
        std::ifstream file(folder_ / "demo-errors.txt");
        std::stringstream text;
        text << file.rdbuf();
        return "\n" + text.str();
    }

    bool xdotool(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "xdotool");
        return RunOnDisplay(server_->Display(), arguments).has_value();
    }

    bool clickOn(const std::string& name) {
        const Point& place = places_.at(name);
        std::vector<std::string> arguments = PointerMoveTo(std::stoi(place.x), std::stoi(place.y));
        arguments.insert(arguments.end(), {"click", "1"});
        return xdotool(arguments);
    }

    std::optional<std::string> clipboard() {
        return RunOnDisplay(server_->Display(), {"xclip", "-o", "-selection", "clipboard"});
    }

    // Copies the edit's text with the Copy button and reads it from the desktop's clipboard.
    std::optional<std::string> copiedText() {
        if (!clickOn("copy") || !demo_->WaitForLine("copied", stepTimeout)) return std::nullopt;
        return clipboard();
    }

    std::unique_ptr<PrivateXServer> server_;
    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> demo_;
    std::map<std::string, Point> places_;
    std::optional<std::string> title_;
    std::string window_;
};

struct ColourCounts {
    int orange = 0;
    int green = 0;
    int blue = 0;
};

const guchar* pixelAt(GdkPixbuf* shot, int x, int y) {
    return gdk_pixbuf_read_pixels(shot) + y * gdk_pixbuf_get_rowstride(shot) +
           x * gdk_pixbuf_get_n_channels(shot);
}

ColourCounts countColours(GdkPixbuf* shot) {
    ColourCounts counts;
    for (int y = 0; y < gdk_pixbuf_get_height(shot); ++y)
        for (int x = 0; x < gdk_pixbuf_get_width(shot); ++x) {
            const guchar* pixel = pixelAt(shot, x, y);
            if (std::equal(pixel, pixel + 3, ourOrange)) ++counts.orange;
            if (std::equal(pixel, pixel + 3, noteGreen)) ++counts.green;
            if (std::equal(pixel, pixel + 3, pageBlue)) ++counts.blue;
        }
    return counts;
}

// Takes screenshots until one has `seen` or the time is up; the last one
// saved in the build folder under `name` either way.
bool waitToSee(const std::string& display, const std::string& name,
               const std::function<bool(GdkPixbuf*)>& seen) {
    auto deadline = std::chrono::steady_clock::now() + stepTimeout;
    for (;;) {
        GdkPixbuf* shot = ScreenShot(display);
        if (!shot) return false;
        const bool found = seen(shot);
        const bool late = std::chrono::steady_clock::now() >= deadline;
        if (found || late) {
            std::filesystem::create_directories(QUORVANE_SCREENSHOT_DIR);
            gdk_pixbuf_save(shot, (std::string(QUORVANE_SCREENSHOT_DIR) + "/" + name + ".png").c_str(), "png",
                            nullptr, nullptr);
        }
        g_object_unref(shot);
        if (found || late) return found;
        std::this_thread::sleep_for(screenshotInterval);
    }
}

TEST_F(DesktopDisplayTest, ShowsOurPixelsAndTheWebPageAndReportsTheTitle) {
    EXPECT_EQ(*title_, pageTitle);
    // The title is known before the web engine has drawn the page.
    GdkPixbuf* shot = nullptr;
    ColourCounts counts;
    auto deadline = std::chrono::steady_clock::now() + stepTimeout;
    do {
        if (shot) {
            g_object_unref(shot);
            std::this_thread::sleep_for(screenshotInterval);
        }
        shot = ScreenShot(server_->Display());
        ASSERT_NE(shot, nullptr);
        counts = countColours(shot);
    } while (counts.blue < enoughBlue && std::chrono::steady_clock::now() < deadline);
    std::filesystem::create_directories(QUORVANE_SCREENSHOT_DIR);
    std::string saved = std::string(QUORVANE_SCREENSHOT_DIR) + "/backend-demo.png";
    EXPECT_TRUE(gdk_pixbuf_save(shot, saved.c_str(), "png", nullptr, nullptr));
    g_object_unref(shot);
    EXPECT_GE(counts.orange, enoughOrange) << "our painted block is missing from " << saved;
    EXPECT_GE(counts.blue, enoughBlue) << "the web page is missing from " << saved;
}

// A window of ours above the page shows above it whole and takes the
// clicks there, as it would above a child window; hidden again, it leaves
// the page whole.
TEST_F(DesktopDisplayTest, AWindowAboveThePageShowsAboveItAndTakesItsClicks) {
    const Point& note = places_.at("note");
    const int noteX = std::stoi(note.x), noteY = std::stoi(note.y);
    const auto pageAtNote = [&](GdkPixbuf* shot) {
        return std::equal(pageBlue, pageBlue + 3, pixelAt(shot, noteX, noteY));
    };
    ASSERT_TRUE(waitToSee(server_->Display(), "page-before-note", pageAtNote)) << "the page never showed";
    ASSERT_TRUE(clickOn("cover"));
    EXPECT_TRUE(waitToSee(server_->Display(), "note-above-page", [](GdkPixbuf* shot) {
        return countColours(shot).green >= wholeNote;
    })) << "the page hides the note";
    ASSERT_TRUE(clickOn("note"));
    EXPECT_TRUE(demo_->WaitForLine("note hidden", stepTimeout)) << "the click went to the page" << errors();
    EXPECT_TRUE(waitToSee(server_->Display(), "page-after-note", pageAtNote))
        << "the page does not show where the note was";
}

TEST_F(DesktopDisplayTest, TypedTextWithADeadKeyReachesTheDesktopClipboard) {
    ASSERT_TRUE(clickOn("edit"));
    ASSERT_TRUE(xdotool({"type", "--delay", "30", "Caf"}));
    ASSERT_TRUE(xdotool({"key", "--delay", "30", "dead_acute", "e"}));
    EXPECT_EQ(copiedText(), "Café");
}

// The keys follow the focus: to the page after a click into it (the edit
// told it lost the focus), to the edit again after a click back.
TEST_F(DesktopDisplayTest, AClickIntoThePageTakesTheFocusAndAClickBackGivesItBack) {
    ASSERT_TRUE(clickOn("edit"));
    ASSERT_TRUE(xdotool({"type", "--delay", "30", "ab"}));
    ASSERT_TRUE(clickOn("page"));
    EXPECT_TRUE(demo_->WaitForLine("focus out edit", stepTimeout)) << errors();
    EXPECT_TRUE(demo_->WaitForLine("focus in page", stepTimeout)) << errors();
    ASSERT_TRUE(xdotool({"type", "--delay", "30", "xy"}));
    EXPECT_TRUE(demo_->WaitForLine("title: typed xy", stepTimeout)) << "the page did not get the keys";
    // The engine reports the title before it is done with the keys; a click
    // back at once can reach it while it still holds them.
    ASSERT_TRUE(xdotool({"sleep", "1"}));
    ASSERT_TRUE(clickOn("edit"));
    EXPECT_TRUE(demo_->WaitForLine("focus out page", stepTimeout)) << errors();
    EXPECT_TRUE(demo_->WaitForLine("focus in edit", stepTimeout)) << errors();
    ASSERT_TRUE(xdotool({"type", "--delay", "30", "c"}));
    EXPECT_EQ(copiedText(), "abc");
}

TEST_F(DesktopDisplayTest, TextSelectedInTheEditIsOfferedAsThePrimarySelection) {
    ASSERT_TRUE(clickOn("edit"));
    ASSERT_TRUE(xdotool({"type", "--delay", "30", "middle"}));
    ASSERT_TRUE(xdotool({"key", "shift+Home"}));
    std::optional<std::string> primary;
    auto deadline = std::chrono::steady_clock::now() + stepTimeout;
    do {
        std::this_thread::sleep_for(screenshotInterval);
        primary = RunOnDisplay(server_->Display(), {"xclip", "-o", "-selection", "primary"});
    } while (primary != "middle" && std::chrono::steady_clock::now() < deadline);
    EXPECT_EQ(primary, "middle");
}

TEST_F(DesktopDisplayTest, PastesTheDesktopClipboardIntoTheEdit) {
    ASSERT_TRUE(RunOnDisplay(server_->Display(), {"xclip", "-i", "-selection", "clipboard"},
                             "from the desktop", false));
    ASSERT_TRUE(clickOn("edit"));
    ASSERT_TRUE(xdotool({"key", "ctrl+v"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "30", "!"}));
    EXPECT_EQ(copiedText(), "from the desktop!");
}

} // namespace
