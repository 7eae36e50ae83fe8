// The program on a private X server, driven the way a user drives it: keys
// and clicks through xdotool (there is no window manager, so the window is
// given the input focus first), and its screen read back. Where controls are
// and what they must look like comes from the same main window made here on
// the headless backend over the same settings and library. The program runs
// from a copy of its folder, so nothing of the build tree is at hand for it.
// Screenshots of every step go to the build folder for a person to look at.
#include "app/Main.h"
#include "app/Settings.h"
#include "editor/SynEdit.h"
#include "gl/glGrBox.h"
#include "platform/backend/tests/PrivateXServer.h"
#include "platform/backend/tests/ScreenShot.h"
#include "platform/core/CodePages.h"
#include "platform/core/IniFiles.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/ScrollBoxes.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/WebBrowser.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Focus.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"
#include "rx/ToolEdit.h"
#include "tests/program/PrivateFolder.h"
#include "tests/program/TestDatabases.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntForms.h"
#include "unicode/TntStdCtrls.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

const std::filesystem::path programFolder = QUORVANE_PROGRAM_FOLDER;
const std::filesystem::path screenshots = QUORVANE_SCREENSHOTS_DIR;
// What makes up the program: it must run with these alone.
const std::vector<std::string> programItems = {
    "Quorvane", "quorvane-webengine.so", "demo.zelk", "Scripts", "Lang", "Help", "Color"};
constexpr const char* libraryName = "tests.zelk";
constexpr const char* windowCaption = "^Quorvane v2\\.0$";
// Tall enough for the colour page to show its zoom box whole.
const TRect windowBounds{40, 4, 40 + 860, 4 + 760};
// The window's size on a first start: the settings' default height, and
// their default width raised to the window's least width.
const TRect defaultBounds{40, 4, 40 + 800, 4 + 600};
constexpr const char* screenSize = "1024x768x24";
// The main window's constraints in its form resource.
constexpr SIZE mainWindowMinimum{800, 550};
constexpr auto startTimeout = 20s;
constexpr auto settleTimeout = 10s;
constexpr auto pollInterval = 50ms;
// How long a page must stay on the screen after something changed around it.
constexpr auto watchTime = 2s;

constexpr Integer SourceTab = 1;
constexpr Integer ColourTab = 3;
constexpr Integer SettingsTab = 4;
constexpr const char* secondLanguage = "German.lng";
// What the user enters in the wizard.
constexpr const char* newColour = "#0000FF";
constexpr Rgb newColourOnScreen{0, 0, 255};
constexpr const char* newTitle = "Applied title";
constexpr Integer maxTabs = 20;

// The bounds in hexadecimal, which the program reads but never writes: the
// file after closing shows that closing wrote them.
void writeSettings(const std::filesystem::path& File, const std::string& Library, const TRect& Bounds) {
    std::ofstream(File) << std::hex << std::showbase << "[Form]\nLeft=" << Bounds.Left
                        << "\nTop=" << Bounds.Top << "\nWidth=" << Bounds.Width()
                        << "\nHeight=" << Bounds.Height() << "\n[Database]\nLastDBase=" << Library << "\n";
}

// How a test's copy of the program folder is set up: the test library's
// contents, the library the settings open, the window's bounds, and whether
// openbox runs on the server before the program starts.
struct ProgramSetup {
    std::string Library = WizardTestDatabase();
    std::string Opened = libraryName;
    TRect Bounds = windowBounds;
    bool WindowManager = false;
};

// The program folder's items copied to `Target` as `Setup` says.
void copyProgram(const std::filesystem::path& Target, const ProgramSetup& Setup) {
    for (const std::string& item : programItems)
        if (std::filesystem::exists(programFolder / item))
            std::filesystem::copy(programFolder / item, Target / item,
                                  std::filesystem::copy_options::recursive);
    WriteDatabase((Target / libraryName).string(), Setup.Library);
    writeSettings(Target / "Quorvane.ini", Setup.Opened, Setup.Bounds);
}

void writeFile(const std::filesystem::path& File, const std::string& Text) {
    std::filesystem::create_directories(File.parent_path());
    std::ofstream(File, std::ios::binary) << Text;
}

std::string readFile(const std::filesystem::path& File) {
    std::ifstream file(File, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The desktop's browser for pages, as the program's private desktop
// settings name it: a script that notes each page it is given (the desktop
// hands a local page over as its path) in `Folder`/opened.txt, so no real
// browser starts.
void installRecordingBrowser(const std::filesystem::path& Folder) {
    const std::filesystem::path browser = Folder / "record-browser";
    writeFile(browser, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + (Folder / "opened.txt").string() + "'\n");
    std::filesystem::permissions(browser, std::filesystem::perms::owner_all);
    writeFile(Folder / "data/applications/quorvane-test-browser.desktop",
              "[Desktop Entry]\nType=Application\nName=Recording browser\nExec=" + browser.string() +
                  " %u\nMimeType=text/html;\n");
    writeFile(Folder / "config/mimeapps.list",
              "[Default Applications]\ntext/html=quorvane-test-browser.desktop\n");
}

Rgb pixelOf(GdkPixbuf* Shot, int X, int Y) {
    const guchar* pixel = gdk_pixbuf_get_pixels(Shot) + Y * gdk_pixbuf_get_rowstride(Shot) +
                          X * gdk_pixbuf_get_n_channels(Shot);
    return {pixel[0], pixel[1], pixel[2]};
}

// The pixels of `Area` of the screenshot, row by row.
std::vector<Rgb> pixelsIn(GdkPixbuf* Shot, const TRect& Area) {
    std::vector<Rgb> pixels;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x)
            pixels.push_back(pixelOf(Shot, x, y));
    return pixels;
}

Rgb rgbOf(Pixel Value) {
    const COLORREF colour = ColorRefFromPixel(Value & PixelColourMask);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// The longest run of black pixels along a row of `Area`: a message written
// on a black bar instead of the box's face shows as one run across the text.
int longestBlackRun(GdkPixbuf* Shot, const TRect& Area) {
    int longest = 0;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left, run = 0; x < Area.Right; ++x) {
            run = pixelOf(Shot, x, y) == Rgb{0, 0, 0} ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    return longest;
}

std::string hexText(const Rgb& Colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", Colour.red, Colour.green, Colour.blue);
    return text;
}

// The program started on a private X server from a copy of its folder.
class DisplayedProgram {
public:
    explicit DisplayedProgram(const std::filesystem::path& Folder, const ProgramSetup& Setup = {})
        : folder_(Folder) {
        std::filesystem::create_directories(Folder / "program");
        copyProgram(Folder / "program", Setup);
        installRecordingBrowser(Folder);
        if (server_.Display().empty()) return;
        if (Setup.WindowManager && !startWindowManager()) return;
        program_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{(Folder / "program" / "Quorvane").string()},
            Environment{
                {"DISPLAY", server_.Display()},
                {"QUORVANE_BACKEND", "gtk"},
                {"QUORVANE_NO_PAUSES", "1"},
                {"TMPDIR", (Folder / "temp").string()},
                {"XDG_CACHE_HOME", (Folder / "cache").string()},
                {"XDG_DATA_HOME", (Folder / "data").string()},
                {"XDG_CONFIG_HOME", (Folder / "config").string()},
                {"QUORVANE_REGISTRY_FILE", (Folder / "registry").string()},
                {"NO_AT_BRIDGE", "1"},
            },
            (Folder / "errors.txt").string());
        std::filesystem::create_directories(Folder / "temp");
    }

    bool Started() const { return program_ && program_->Started(); }

    // The main window's X window once it is mapped, with the input focus.
    bool FindWindow() {
        const std::optional<std::string> found =
            FocusShownWindow(server_.Display(), windowCaption, mainWindowMinimum.cy / 2, startTimeout);
        window_ = found.value_or("");
        return found.has_value();
    }

    void Click(TPoint Screen, int Clicks = 1) {
        std::vector<std::string> arguments = PointerMoveTo(Screen.x, Screen.y);
        arguments.insert(arguments.end(), {"click", "--repeat", std::to_string(Clicks), "1"});
        xdotool(arguments);
    }
    void MoveMouse(TPoint Screen) { xdotool(PointerMoveTo(Screen.x, Screen.y)); }
    void Key(const std::string& Name) { xdotool({"key", Name}); }
    void Type(const std::string& Text) { xdotool({"type", Text}); }
    // The text of the focused edit replaced by `Text`, as a user types it.
    void Retype(TPoint Edit, const std::string& Text) {
        Click(Edit);
        Key("End");
        Key("shift+Home");
        Type(Text);
    }

    // Gives the input focus to the top-level window whose caption matches
    // `Caption` once it is shown; false when none came.
    bool FocusWindow(const std::string& Caption) {
        const std::optional<std::string> found =
            xdotool({"search", "--sync", "--onlyvisible", "--name", Caption}, startTimeout);
        if (!found || found->empty()) return false;
        return xdotool({"windowfocus", "--sync", found->substr(0, found->find('\n'))}).has_value();
    }
    // Where the shown top-level window captioned `Caption` lies on the screen.
    std::optional<TRect> WindowBounds(const std::string& Caption) {
        const std::optional<std::string> found =
            xdotool({"search", "--onlyvisible", "--name", Caption, "getwindowgeometry", "--shell"});
        if (!found) return std::nullopt;
        std::map<std::string, int> values;
        std::istringstream lines(*found);
        for (std::string line; std::getline(lines, line);)
            if (const std::size_t equals = line.find('='); equals != std::string::npos)
                values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
        if (!values.count("WIDTH")) return std::nullopt;
        return Rect(values["X"], values["Y"], values["X"] + values["WIDTH"], values["Y"] + values["HEIGHT"]);
    }
    // Whether every screenshot for a while holds `Seen`; the last (or the
    // first that does not) saved under `Name`.
    bool KeepsSeeing(const std::string& Name, const std::function<bool(GdkPixbuf*)>& Seen) {
        const auto deadline = std::chrono::steady_clock::now() + watchTime;
        for (;;) {
            GdkPixbuf* shot = Shot();
            const bool seen = shot && Seen(shot);
            const bool over = std::chrono::steady_clock::now() >= deadline;
            if (shot && (!seen || over)) save(shot, Name);
            if (shot) g_object_unref(shot);
            if (!seen || over) return seen;
            std::this_thread::sleep_for(pollInterval);
        }
    }
    // Whether no window captioned so is shown any more, within the time.
    bool WindowGone(const std::string& Caption) {
        const auto deadline = std::chrono::steady_clock::now() + settleTimeout;
        while (std::chrono::steady_clock::now() < deadline) {
            const std::optional<std::string> found = xdotool({"search", "--onlyvisible", "--name", Caption});
            if (!found || found->empty()) return true;
            std::this_thread::sleep_for(pollInterval);
        }
        return false;
    }
    // What another program reads from the clipboard now.
    std::optional<std::string> ClipboardText() const {
        return RunOnDisplay(server_.Display(), {"timeout", std::to_string(settleTimeout.count()), "xclip",
                                                "-o", "-selection", "clipboard"});
    }
    // The addresses the desktop's browser was given, one a line.
    std::string OpenedAddresses() const {
        const auto deadline = std::chrono::steady_clock::now() + settleTimeout;
        while (!std::filesystem::exists(folder_ / "opened.txt") &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(pollInterval);
        return readFile(folder_ / "opened.txt");
    }

    GdkPixbuf* Shot() const { return ScreenShot(server_.Display()); }

    // The size of the main window's content on the screen, as the window system has it.
    std::optional<SIZE> WindowSize() {
        const std::optional<std::string> shell = xdotool({"getwindowgeometry", "--shell", window_});
        if (!shell) return std::nullopt;
        const auto value = [&](const std::string& Key) {
            const std::size_t at = shell->find(Key + "=");
            return at == std::string::npos ? -1 : std::atoi(shell->c_str() + at + Key.size() + 1);
        };
        return SIZE{value("WIDTH"), value("HEIGHT")};
    }
    // The least content size the window asks the window manager for.
    std::optional<SIZE> MinimumSizeHint() const {
        const std::optional<std::string> hints =
            RunOnDisplay(server_.Display(), {"xprop", "-id", window_, "WM_NORMAL_HINTS"});
        const std::string key = "program specified minimum size: ";
        const std::size_t at = hints ? hints->find(key) : std::string::npos;
        if (at == std::string::npos) return std::nullopt;
        SIZE size{};
        if (std::sscanf(hints->c_str() + at + key.size(), "%d by %d", &size.cx, &size.cy) != 2)
            return std::nullopt;
        return size;
    }
    // The window's content resized by another program, as a window manager would.
    void ResizeWindow(SIZE Size) {
        xdotool({"windowsize", window_, std::to_string(Size.cx), std::to_string(Size.cy)});
    }
    // Waits until the content has `Size`; the size it has at the end.
    std::optional<SIZE> WaitForWindowSize(SIZE Size) {
        const auto deadline = std::chrono::steady_clock::now() + settleTimeout;
        std::optional<SIZE> size = WindowSize();
        while (!(size && size->cx == Size.cx && size->cy == Size.cy) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(pollInterval);
            size = WindowSize();
        }
        return size;
    }

    // Takes screenshots until `Seen` holds for one (saved under `Name`) or
    // the time is up; false then, the last one saved all the same.
    bool WaitToSee(const std::string& Name, const std::function<bool(GdkPixbuf*)>& Seen) {
        const auto deadline = std::chrono::steady_clock::now() + settleTimeout;
        for (;;) {
            GdkPixbuf* shot = Shot();
            const bool seen = shot && Seen(shot);
            const bool late = std::chrono::steady_clock::now() >= deadline;
            if (shot && (seen || late)) save(shot, Name);
            if (shot) g_object_unref(shot);
            if (seen || late) return seen;
            std::this_thread::sleep_for(pollInterval);
        }
    }

    bool Ended() { return program_->WaitForExit(settleTimeout); }
    std::string SettingsFile() const { return (folder_ / "program" / "Quorvane.ini").string(); }
    std::vector<std::string> FilesLeftInTemporaryFolder() const {
        std::vector<std::string> left;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_ / "temp"))
            if (!entry.is_directory()) left.push_back(entry.path().filename().string());
        return left;
    }

    std::string Errors() const { return readFile(folder_ / "errors.txt"); }

private:
    std::optional<std::string> xdotool(std::vector<std::string> Arguments,
                                       std::chrono::seconds Limit = settleTimeout) {
        Arguments.insert(Arguments.begin(), {"timeout", std::to_string(Limit.count()), "xdotool"});
        return RunOnDisplay(server_.Display(), Arguments);
    }
    // True once openbox manages the screen: it runs its start-up command
    // only when it is ready.
    bool startWindowManager() {
        const std::filesystem::path ready = folder_ / "window-manager-ready";
        windowManager_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"openbox", "--sm-disable", "--startup", "touch " + ready.string()},
            Environment{{"DISPLAY", server_.Display()}, {"XDG_CONFIG_HOME", (folder_ / "config").string()}});
        const auto deadline = std::chrono::steady_clock::now() + startTimeout;
        while (!std::filesystem::exists(ready) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(pollInterval);
        return std::filesystem::exists(ready);
    }
    static void save(GdkPixbuf* Shot, const std::string& Name) {
        const std::filesystem::path file = screenshots / (Name + ".png");
        std::filesystem::create_directories(file.parent_path());
        gdk_pixbuf_save(Shot, file.c_str(), "png", nullptr, nullptr);
    }

    std::filesystem::path folder_;
    PrivateXServer server_{screenSize};
    std::unique_ptr<ChildProcess> windowManager_;
    std::unique_ptr<ChildProcess> program_;
    std::string window_;
};

// The same main window on the headless backend, over the same library and
// window bounds: where the controls are on the screen and how they look.
class HeadlessTwin {
public:
    explicit HeadlessTwin(const std::filesystem::path& Library, const TRect& Bounds = windowBounds) {
        static const bool formsReady = (InitializeTntForms(), Application->Initialize(), true);
        (void)formsReady;
        writeSettings(SettingsFileName(), Library.string(), Bounds);
        form_.reset(NewForm<TMainForm>(nullptr));
        std::filesystem::remove(SettingsFileName());
        form_->Show();
        HeadlessBackend::ProcessMessages();
    }
    // Picking a language writes the settings file.
    ~HeadlessTwin() {
        form_.reset();
        std::filesystem::remove(SettingsFileName());
    }
    TMainForm& Form() { return *form_; }

    static TPoint CentreOf(TWinControl* Control) {
        RECT rect;
        GetWindowRect(Control->Handle(), &rect);
        return {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
    }
    TPoint TitleItem(Integer Index) { return ListItem(form_->TitleBox, Index); }
    static TPoint ListItem(TWinControl* List, Integer Index) {
        RECT item{};
        SendMessageA(List->Handle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&item));
        return List->ClientToScreen(TPoint{item.Left + 5, (item.Top + item.Bottom) / 2});
    }
    TPoint TabItem(Integer Index) {
        RECT item{};
        SendMessageA(form_->PageControl1->Handle(), TCM_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&item));
        return form_->PageControl1->ClientToScreen(
            TPoint{(item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2});
    }
    void ShowTab(Integer Index) {
        const TPoint item = TabItem(Index);
        Headless().Click(form_->PageControl1->Handle(), form_->PageControl1->ScreenToClient(item));
        HeadlessBackend::ProcessMessages();
    }
    TPoint ToolButton(TToolButton* Button) {
        return form_->ToolBar1->ClientToScreen(
            TPoint{Button->Left() + Button->Width() / 2, Button->Top() + Button->Height() / 2});
    }
    // Whether the screenshot shows `Control` as the window is drawn here,
    // read from the whole window so that what its parents hide counts too.
    bool LooksTheSame(TWinControl* Control, GdkPixbuf* Shot) {
        RECT control;
        GetWindowRect(Control->Handle(), &control);
        return areaLooksTheSame(control, Shot);
    }
    // The part of `Control` on the screen that the windows holding it show.
    static TRect ShownPartOf(TWinControl* Control) {
        RECT shown;
        GetWindowRect(Control->Handle(), &shown);
        for (TWinControl* parent = Control->Parent(); parent; parent = parent->Parent()) {
            const TPoint client = parent->ClientToScreen(TPoint{0, 0});
            shown = IntersectRects(shown, Rect(client.x, client.y, client.x + parent->ClientWidth(),
                                               client.y + parent->ClientHeight()));
        }
        return shown;
    }
    // The same as LooksTheSame for the part of `Control` that shows.
    bool ShownPartLooksTheSame(TWinControl* Control, GdkPixbuf* Shot) {
        return areaLooksTheSame(ShownPartOf(Control), Shot);
    }
    // The pixels of `Control` as the window shows it here, row by row.
    std::vector<Rgb> PixelsOf(TWinControl* Control) {
        RECT control, window;
        GetWindowRect(Control->Handle(), &control);
        GetWindowRect(form_->Handle(), &window);
        std::shared_ptr<PixelSurface> drawn = Headless().Capture(form_->Handle());
        std::vector<Rgb> pixels;
        for (int y = control.Top; y < control.Bottom; ++y)
            for (int x = control.Left; x < control.Right; ++x)
                pixels.push_back(rgbOf(drawn->At(x - window.Left, y - window.Top)));
        return pixels;
    }
    // Whether the screenshot shows `Pixels` where `Control` lies here.
    bool Shows(TWinControl* Control, const std::vector<Rgb>& Pixels, GdkPixbuf* Shot) {
        RECT control;
        GetWindowRect(Control->Handle(), &control);
        std::size_t next = 0;
        for (int y = control.Top; y < control.Bottom; ++y)
            for (int x = control.Left; x < control.Right; ++x)
                if (next >= Pixels.size() || pixelOf(Shot, x, y) != Pixels[next++]) return false;
        return next == Pixels.size();
    }
    // The centre of a group box's caption bar, as its last paint laid it out.
    TPoint CaptionBarOf(TglGroupBox* Box) {
        Box->Repaint();
        const TRect bar = Box->CaptionRect();
        return Box->ClientToScreen(TPoint{(bar.Left + bar.Right) / 2, (bar.Top + bar.Bottom) / 2});
    }
    // A click here at `Screen`, on the window under it.
    void Click(TWinControl* Control, TPoint Screen) {
        Headless().Click(Control->Handle(), Control->ScreenToClient(Screen));
        HeadlessBackend::ProcessMessages();
    }
    TPoint MenuBarItem(UINT Index) {
        RECT item{};
        GetMenuItemRect(form_->Handle(), GetMenu(form_->Handle()), Index, &item);
        return {(item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2};
    }
    // The same for the menu bar, the strip above the client area.
    bool MenuBarLooksTheSame(GdkPixbuf* Shot) {
        const TPoint client = form_->ClientOrigin();
        return areaLooksTheSame(
            Rect(client.x, client.y - GetSystemMetrics(SM_CYMENU), client.x + form_->ClientWidth(), client.y),
            Shot);
    }
    // The same for the strip of the window between the pages and the status bar.
    bool BelowThePagesLooksTheSame(GdkPixbuf* Shot) {
        TWinControl* pages = form_->PageControl1;
        const TPoint corner = pages->ClientToScreen(TPoint{0, pages->Height()});
        const TPoint bar = form_->StatusBar->ClientToScreen(TPoint{0, 0});
        return areaLooksTheSame(Rect(corner.x, corner.y, corner.x + pages->Width(), bar.y), Shot);
    }

private:
    bool areaLooksTheSame(const TRect& Area, GdkPixbuf* Shot) {
        RECT window;
        GetWindowRect(form_->Handle(), &window);
        std::shared_ptr<PixelSurface> drawn = Headless().Capture(form_->Handle());
        for (int y = Area.Top; y < Area.Bottom; ++y)
            for (int x = Area.Left; x < Area.Right; ++x)
                if (rgbOf(drawn->At(x - window.Left, y - window.Top)) != pixelOf(Shot, x, y)) return false;
        return true;
    }

    std::unique_ptr<TMainForm> form_;
};

// The widest glyph of the message font is far narrower than this; the box's
// icon is 32 pixels wide.
constexpr int longestBlackInANote = 36;
// The buttons' row at the bottom of a message box, whose default button has a black frame.
constexpr int noteButtonRow = 40;

// A message box whose text shows as text: nothing black above its buttons
// wider than a glyph.
bool NoteIsReadable(DisplayedProgram& Program, const std::string& Caption, GdkPixbuf* Shot) {
    std::optional<TRect> note = Program.WindowBounds(Caption);
    if (!note) return false;
    note->Bottom -= noteButtonRow;
    return longestBlackRun(Shot, *note) < longestBlackInANote;
}

class WholeProgramDisplayTest : public VisualTest {
protected:
    PrivateFolder folder{"quorvane-display"};

    void SetUp() override {
        if (!PrivateXServer::Installed() || !ProgramOnPath("xdotool"))
            GTEST_SKIP() << "Xvfb or xdotool is missing";
        VisualTest::SetUp();
        setenv("TMPDIR", folder.Path().c_str(), 1);
    }

    // The test library's coloured-block script picked as a user picks it,
    // in the program and in its twin; true once the page its script paints
    // shows in the preview. Screenshots are saved under `Name` and a suffix.
    bool PickScript(DisplayedProgram& Program, HeadlessTwin& Twin, const std::string& Name) {
        TMainForm& form = Twin.Form();
        // The title list, whose look does not depend on where the focus settled at the start.
        if (!Program.WaitToSee(Name + "-started",
                               [&](GdkPixbuf* shot) { return Twin.LooksTheSame(form.TitleBox, shot); }))
            return false;
        Program.Click(HeadlessTwin::CentreOf(form.TypeComboBox));
        Program.Key("Down");
        Program.Key("Return");
        SetFocus(form.TypeComboBox->Handle());
        backend.PressKey(VK_DOWN);
        HeadlessBackend::ProcessMessages();
        if (!Program.WaitToSee(Name + "-category",
                               [&](GdkPixbuf* shot) { return Twin.LooksTheSame(form.TitleBox, shot); }))
            return false;
        Program.Click(Twin.TitleItem(0));
        Twin.Click(form.TitleBox, Twin.TitleItem(0));
        return Program.WaitToSee(Name + "-page", [&](GdkPixbuf* shot) { return ShowsTheBlock(Twin, shot); });
    }

    // Whether the page's script painted its block in the default colour.
    static bool ShowsTheBlock(HeadlessTwin& Twin, GdkPixbuf* Shot) {
        const TPoint page = HeadlessTwin::CentreOf(Twin.Form().CppWebBrowser1);
        return pixelOf(Shot, page.x, page.y) == Rgb{255, 0, 0};
    }
};

TEST_F(WholeProgramDisplayTest, ACopyOfTheProgramFolderRunsAndAnswersKeysAndClicks) {
    DisplayedProgram program(folder.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName);
    TMainForm& form = twin.Form();

    ASSERT_TRUE(program.WaitToSee("01-started", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.TypeComboBox, shot);
    })) << "the category box is not where the headless window has it";

    program.Click(HeadlessTwin::CentreOf(form.TypeComboBox));
    program.Key("Down");
    program.Key("Return");
    SetFocus(form.TypeComboBox->Handle());
    backend.PressKey(VK_DOWN);
    HeadlessBackend::ProcessMessages();
    ASSERT_EQ(form.TypeComboBox->Text(), wizardtest::Category);
    EXPECT_TRUE(program.WaitToSee("02-category", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.TitleBox, shot);
    })) << "the title list does not show the second category's titles";

    program.Click(twin.TitleItem(0));
    backend.Click(form.TitleBox->Handle(), form.TitleBox->ScreenToClient(twin.TitleItem(0)));
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(program.WaitToSee("03-title", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.TitleBox, shot);
    })) << "the title was not picked";

    const TPoint page = HeadlessTwin::CentreOf(form.CppWebBrowser1);
    EXPECT_TRUE(program.WaitToSee("04-page", [&](GdkPixbuf* shot) {
        return pixelOf(shot, page.x, page.y) == Rgb{255, 0, 0};
    })) << "the page's script did not paint the block in the wizard's default colour";
    // The page's script names the page with the wizard's default text; the
    // browser's title shows above it.
    form.CppWebBrowser1TitleChange(form.CppWebBrowser1, AnsiToWide(wizardtest::DefaultText));
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(program.WaitToSee("04-caption", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.CaptionPanel, shot);
    })) << "the caption above the page is not drawn as headless";

    // The wizard expanded, a colour and a text typed in and applied: the
    // page's script runs again with them.
    const TPoint wizardBar = twin.CaptionBarOf(form.WizGroupBox);
    program.Click(wizardBar);
    twin.Click(form.WizGroupBox, wizardBar);
    ASSERT_FALSE(form.WizGroupBox->Collapsed());
    EXPECT_TRUE(program.WaitToSee("05-wizard", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.WizGroupBox, shot);
    })) << "the expanded wizard is not drawn as headless";
    auto* colourEdit = static_cast<TComboEdit*>(form.WizardControl("WColorEdit", 1));
    auto* textEdit = static_cast<TTntEdit*>(form.WizardControl("WTextEdit", 1));
    program.Retype(HeadlessTwin::CentreOf(colourEdit), newColour);
    colourEdit->SetText(newColour);
    // The text row lies out of view below the colour rows' container, which
    // keeps its full height however few rows it shows: Tab reaches it.
    Integer tabs = 0;
    for (TWinControl* next = colourEdit; next != textEdit && tabs < maxTabs; ++tabs)
        next = form.FindNextControl(next, true, true, false);
    ASSERT_LT(tabs, maxTabs) << "the text row is not in the tab order";
    for (Integer tab = 0; tab < tabs; ++tab)
        program.Key("Tab");
    program.Key("End");
    program.Key("shift+Home");
    program.Type(newTitle);
    textEdit->SetText(AnsiToWide(newTitle));
    auto* applyButton = static_cast<TWinControl*>(form.FindComponent("WizApplytBtn"));
    const TPoint apply = HeadlessTwin::CentreOf(applyButton);
    program.Click(apply);
    twin.Click(applyButton, apply);
    EXPECT_TRUE(program.WaitToSee("06-applied", [&](GdkPixbuf* shot) {
        return pixelOf(shot, page.x, page.y) == newColourOnScreen;
    })) << "the page's script did not paint the block in the colour applied";
    form.CppWebBrowser1TitleChange(form.CppWebBrowser1, AnsiToWide(newTitle));
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(program.WaitToSee("07-caption-applied", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.CaptionPanel, shot);
    })) << "the caption above the page does not show the title applied";

    // A double click copies the HEAD part; another program reads it from
    // the clipboard while the note is open and after it was answered.
    program.Click(twin.TabItem(SourceTab));
    twin.ShowTab(SourceTab);
    program.Click(HeadlessTwin::CentreOf(form.HeadEdit), 2);
    ASSERT_TRUE(program.FocusWindow("^Copy text$")) << "no note on the copied part";
    EXPECT_TRUE(program.WaitToSee("08-copy-note", [&](GdkPixbuf* shot) {
        return NoteIsReadable(program, "^Copy text$", shot);
    })) << "the note's text stands on a black bar";
    std::string copied = WizardTestHead(newTitle);
    for (std::size_t at; (at = copied.find("\r\n")) != std::string::npos;)
        copied.erase(at, 1);
    EXPECT_EQ(program.ClipboardText(), copied) << "while the note is open";
    program.Key("Return");
    EXPECT_TRUE(program.WindowGone("^Copy text$"));
    EXPECT_EQ(program.ClipboardText(), copied) << "after the note";

    // The export, through the desktop's save dialog: the page with the
    // values applied and the attached file beside it, then the page opened
    // in the desktop's browser.
    const std::filesystem::path exported = folder.Path() / "export";
    std::filesystem::create_directories(exported);
    program.Click(twin.ToolButton(form.ExportButton));
    ASSERT_TRUE(program.FocusWindow("^Save As$")) << "no save dialog";
    program.Key("ctrl+a");
    program.Type((exported / "page.htm").string());
    program.WaitToSee("09-save-dialog", [](GdkPixbuf*) { return true; });
    program.Key("Return");
    ASSERT_TRUE(program.FocusWindow("^Export$")) << "no note on the exported files";
    EXPECT_TRUE(program.WaitToSee("10-export-note", [&](GdkPixbuf* shot) {
        return NoteIsReadable(program, "^Export$", shot);
    })) << "the note's text stands on a black bar";
    program.Key("Return");
    EXPECT_TRUE(program.WindowGone("^Export$"));
    EXPECT_EQ(readFile(exported / "page.htm"), WizardTestPage(newColour, newTitle));
    EXPECT_EQ(readFile(exported / wizardtest::AttachedFile),
              readFile(programFolder / "Scripts/Images" / wizardtest::AttachedFile));
    EXPECT_EQ(program.OpenedAddresses(), (exported / "page.htm").string() + "\n");

    // The magnifier reads the real screen: over the chosen title it must
    // report the highlight's colour as the screen shows it.
    program.Click(twin.TabItem(ColourTab));
    twin.ShowTab(ColourTab);
    program.Click(twin.ToolButton(form.ZoomButton));
    const TPoint pointer = twin.TitleItem(0);
    // The magnifier reports the pixel up and left of the pointer.
    const TPoint spot{pointer.x - 1, pointer.y - 1};
    program.MoveMouse(pointer);
    GdkPixbuf* shot = program.Shot();
    ASSERT_NE(shot, nullptr);
    form.ZoomColorEd->SetText(hexText(pixelOf(shot, spot.x, spot.y)));
    g_object_unref(shot);
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(program.WaitToSee("11-magnifier",
                                  [&](GdkPixbuf* shot) { return twin.LooksTheSame(form.ZoomColorEd, shot); }))
        << "the magnifier did not report " << form.ZoomColorEd->Text();
    program.Click(twin.ToolButton(form.ZoomButton));

    // The second language, picked on the settings page, renames the menus.
    program.Click(twin.TabItem(SettingsTab));
    twin.ShowTab(SettingsTab);
    const TPoint german = twin.ListItem(form.LangListBox, 1);
    program.Click(german);
    Headless().Click(form.LangListBox->Handle(), form.LangListBox->ScreenToClient(german));
    HeadlessBackend::ProcessMessages();
    ASSERT_EQ(LangFile, secondLanguage);
    EXPECT_TRUE(program.WaitToSee("12-language", [&](GdkPixbuf* shot) {
        return twin.MenuBarLooksTheSame(shot);
    })) << "the menu bar does not read as in the second language";

    // Exit, the last item of the first menu, whatever its language.
    program.Click(twin.MenuBarItem(0));
    program.Key("Up");
    program.Key("Return");
    ASSERT_TRUE(program.Ended()) << "the program did not end through its menu";
    const TIniFile settingsFile(program.SettingsFile());
    EXPECT_EQ(settingsFile.ReadString(settings::FormSection, "Left", ""), std::to_string(windowBounds.Left));
    const TQuorvaneSettings written = ReadSettings(settingsFile);
    EXPECT_EQ(Rect(written.Left, written.Top, written.Left + written.Width, written.Top + written.Height),
              windowBounds);
    EXPECT_EQ(written.LangFile, secondLanguage);
    EXPECT_EQ(written.LastDBase, libraryName);
    EXPECT_EQ(program.FilesLeftInTemporaryFolder(), std::vector<std::string>{});
}

// The window's constraints reach the desktop: the window manager is told
// the least size the main window takes, and a resize below it from outside
// ends at that size instead of clipping the window.
TEST_F(WholeProgramDisplayTest, TheDesktopKeepsTheMainWindowAtItsMinimumSize) {
    DisplayedProgram program(folder.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    const std::optional<SIZE> content = program.WindowSize();
    ASSERT_TRUE(content.has_value());
    // The frame and caption are the window manager's: the content is smaller by them.
    const SIZE frame{windowBounds.Width() - content->cx, windowBounds.Height() - content->cy};
    const SIZE minimum{mainWindowMinimum.cx - frame.cx, mainWindowMinimum.cy - frame.cy};
    const std::optional<SIZE> hint = program.MinimumSizeHint();
    ASSERT_TRUE(hint.has_value()) << "the window names no minimum size";
    EXPECT_EQ(hint->cx, minimum.cx);
    EXPECT_EQ(hint->cy, minimum.cy);

    program.ResizeWindow({minimum.cx - 130, minimum.cy - 70});
    const std::optional<SIZE> resized = program.WaitForWindowSize(minimum);
    ASSERT_TRUE(resized.has_value());
    EXPECT_EQ(resized->cx, minimum.cx);
    EXPECT_EQ(resized->cy, minimum.cy);
    program.WaitToSee("13-minimum-size", [](GdkPixbuf*) { return true; });
}

// A script chosen again after another: its wizard rows stand in number
// order, as on a window that shows that script alone.
TEST_F(WholeProgramDisplayTest, WizardRowsKeepTheirOrderWhenAScriptIsChosenAgain) {
    constexpr const char* demoLibrary = "demo.zelk";
    constexpr const char* scriptTitle = "Form validation";
    DisplayedProgram program(folder.Path(), {.Opened = demoLibrary});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / demoLibrary);
    TMainForm& form = twin.Form();
    Integer category = 0;
    Integer title = -1;
    for (; category < form.TypeComboBox->Items()->Count(); ++category) {
        form.TypeComboBox->SetItemIndex(category);
        form.SelectScriptType(form.TypeComboBox);
        title = form.TitleBox->Items()->IndexOf(scriptTitle);
        if (title >= 0) break;
    }
    ASSERT_GE(title, 0) << "the demo library has no script " << scriptTitle;
    ASSERT_GT(form.TitleBox->Items()->Count(), 1) << "its category has no other script";
    const Integer otherTitle = title == 0 ? 1 : 0;
    ASSERT_TRUE(program.WaitToSee("14-started",
                                  [&](GdkPixbuf* shot) { return twin.LooksTheSame(form.ToolBar1, shot); }));

    program.Click(HeadlessTwin::CentreOf(form.TypeComboBox));
    for (Integer step = 0; step < category; ++step)
        program.Key("Down");
    program.Key("Return");
    program.Click(twin.TitleItem(title));
    form.TitleBox->SetItemIndex(title);
    form.SelectTitleBox(form.TitleBox);
    // The wizard open while the scripts change, as a user keeps it.
    const TPoint wizardBar = twin.CaptionBarOf(form.WizGroupBox);
    program.WaitToSee("14-title", [&](GdkPixbuf*) { return true; });
    program.Click(wizardBar);
    twin.Click(form.WizGroupBox, wizardBar);
    ASSERT_FALSE(form.WizGroupBox->Collapsed());
    for (Integer pick : {otherTitle, title}) {
        program.WaitToSee("14-title", [&](GdkPixbuf*) { return true; });
        program.Click(twin.TitleItem(pick));
    }
    EXPECT_TRUE(program.WaitToSee("14-form-validation-wizard", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.WizGroupBox, shot);
    })) << "the rows do not stand in number order as on a window that showed the script alone";
}

// On a first start the window has its default size, and the settings page
// shows every field whole: the sample editor below them covers none, as the
// same page on a taller window shows them.
TEST_F(WholeProgramDisplayTest, TheSettingsPageShowsItsFieldsWholeAtTheDefaultSize) {
    DisplayedProgram program(folder.Path(), {.Bounds = defaultBounds});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    const std::filesystem::path library = folder.Path() / "program" / libraryName;
    std::vector<Rgb> wholeField;
    {
        HeadlessTwin tall(library);
        tall.ShowTab(SettingsTab);
        wholeField = tall.PixelsOf(tall.Form().FireFoxEdit);
    }
    HeadlessTwin twin(library, defaultBounds);
    TMainForm& form = twin.Form();
    ASSERT_TRUE(program.WaitToSee("pages/started-800x600",
                                  [&](GdkPixbuf* shot) { return twin.LooksTheSame(form.ToolBar1, shot); }));
    twin.ShowTab(SettingsTab);
    program.Click(twin.TabItem(SettingsTab));
    EXPECT_TRUE(program.WaitToSee("pages/settings-800x600", [&](GdkPixbuf* shot) {
        return twin.Shows(form.FireFoxEdit, wholeField, shot);
    })) << "the FireFox path is covered at 800 x 600";
}

// At the default size the colour page's help browser reaches below the
// page; like any child window it shows only inside the windows that hold it.
TEST_F(WholeProgramDisplayTest, TheColourHelpShowsOnlyInsideItsPageAtTheDefaultSize) {
    DisplayedProgram program(folder.Path(), {.Bounds = defaultBounds});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName, defaultBounds);
    ASSERT_TRUE(PickScript(program, twin, "pages/colour-help")) << "the page never showed";
    program.Click(twin.TabItem(ColourTab));
    twin.ShowTab(ColourTab);
    EXPECT_TRUE(program.KeepsSeeing("pages/colour-help-800x600", [&](GdkPixbuf* shot) {
        return twin.BelowThePagesLooksTheSame(shot);
    })) << "the colour help is drawn outside its page";
}

// The colour page is wider and higher than the page control at the default
// size; it scrolls, so that its last palette column can be brought into view.
TEST_F(WholeProgramDisplayTest, TheColourPageScrollsToItsLastPaletteColumnAtTheDefaultSize) {
    DisplayedProgram program(folder.Path(), {.Bounds = defaultBounds});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName, defaultBounds);
    TMainForm& form = twin.Form();
    program.Click(twin.TabItem(ColourTab));
    twin.ShowTab(ColourTab);
    TScrollBox* page = form.ColorScrollBox;
    ASSERT_TRUE(page->HorzScrollBar()->IsScrollBarVisible()) << "the page fits; nothing to scroll";
    // A click on the bar's track, left of its right arrow, scrolls a page to the right.
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    const TPoint track =
        page->ClientToScreen(TPoint{page->ClientWidth() - 2 * arrow, page->ClientHeight() + arrow / 2});
    program.Click(track);
    twin.Click(page, track);
    RECT column, shown;
    GetWindowRect(form.ClPanel6->Handle(), &column);
    GetWindowRect(page->Handle(), &shown);
    ASSERT_LE(column.Right, shown.Left + page->ClientWidth()) << "the last column stays out of view";
    EXPECT_TRUE(program.WaitToSee("pages/colour-scrolled-800x600", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.ClPanel6, shot);
    })) << "the last palette column does not show";
}

// At the default size the expanded palette reaches over the colour help;
// lying above the help's panel it shows whole, as a sibling above a child
// window does, and takes the click that collapses it, after which the help
// shows whole again.
TEST_F(WholeProgramDisplayTest, AnExpandedPaletteShowsAboveTheColourHelp) {
    DisplayedProgram program(folder.Path(), {.Bounds = defaultBounds});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName, defaultBounds);
    TMainForm& form = twin.Form();
    auto* palette = static_cast<TglGroupBox*>(form.FindComponent("Palette1GroupBox"));
    auto* help = static_cast<TWinControl*>(form.FindComponent("ColorHelpWebBrowser"));
    ASSERT_TRUE(palette && help);
    ASSERT_TRUE(program.WaitToSee("pages/palette-started",
                                  [&](GdkPixbuf* shot) { return twin.LooksTheSame(form.ToolBar1, shot); }));
    program.Click(twin.TabItem(ColourTab));
    twin.ShowTab(ColourTab);
    const TRect helpArea = HeadlessTwin::ShownPartOf(help);
    // The help's text is black on the page; our window shows nothing black
    // there. The page's scroll indicator shows as it loads, then fades: the
    // help is taken once it stays the same.
    constexpr int enoughText = 200;
    std::vector<Rgb> helpShown;
    const auto showsTheHelp = [&](GdkPixbuf* shot) { return pixelsIn(shot, helpArea) == helpShown; };
    ASSERT_TRUE(program.WaitToSee("pages/palette-help", [&](GdkPixbuf* shot) {
        helpShown = pixelsIn(shot, helpArea);
        return std::count(helpShown.begin(), helpShown.end(), Rgb{0, 0, 0}) >= enoughText &&
               program.KeepsSeeing("pages/palette-help-stays", showsTheHelp);
    })) << "the colour help never showed";

    const TPoint caption = twin.CaptionBarOf(palette);
    program.Click(caption);
    twin.Click(palette, caption);
    ASSERT_FALSE(palette->Collapsed());
    ASSERT_FALSE(IsEmptyRect(IntersectRects(HeadlessTwin::ShownPartOf(palette), helpArea)))
        << "the palette no longer reaches the help";
    EXPECT_TRUE(program.WaitToSee("pages/palette-expanded", [&](GdkPixbuf* shot) {
        return twin.ShownPartLooksTheSame(palette, shot);
    })) << "the colour help hides the palette";

    // A second click on the same spot at once would be a double click.
    std::this_thread::sleep_for(std::chrono::milliseconds(GetDoubleClickTime()));
    program.Click(caption);
    twin.Click(palette, caption);
    ASSERT_TRUE(palette->Collapsed());
    EXPECT_TRUE(program.WaitToSee("pages/palette-collapsed", showsTheHelp))
        << "the colour help does not show whole after the palette collapsed";
}

} // namespace

namespace {

// The page stays on the screen wherever the keys go: into the page, to a
// wizard row, on with Tab, into the description.
TEST_F(WholeProgramDisplayTest, ThePreviewKeepsShowingItsPageWhereverTheFocusGoes) {
    DisplayedProgram program(folder.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName);
    TMainForm& form = twin.Form();
    ASSERT_TRUE(PickScript(program, twin, "focus")) << "the page never showed";
    const auto showsTheBlock = [&](GdkPixbuf* shot) { return ShowsTheBlock(twin, shot); };

    program.Click(HeadlessTwin::CentreOf(form.CppWebBrowser1));
    EXPECT_TRUE(program.KeepsSeeing("focus-in-page", showsTheBlock)) << "after a click into the page";
    const TPoint wizardBar = twin.CaptionBarOf(form.WizGroupBox);
    program.Click(wizardBar);
    twin.Click(form.WizGroupBox, wizardBar);
    program.Click(HeadlessTwin::CentreOf(static_cast<TWinControl*>(form.WizardControl("WColorEdit", 1))));
    EXPECT_TRUE(program.KeepsSeeing("focus-in-wizard-row", showsTheBlock))
        << "after a click into a wizard row";
    program.Key("Tab");
    EXPECT_TRUE(program.KeepsSeeing("focus-tabbed-on", showsTheBlock)) << "after Tab";
    program.Click(HeadlessTwin::CentreOf(form.RemarksEdit));
    EXPECT_TRUE(program.KeepsSeeing("preview-after-focus-moves", showsTheBlock))
        << "after a click into the description";
}

// A library that is no database at all: its error page shows in the
// preview as soon as the window does, red text on the page.
TEST_F(WholeProgramDisplayTest, TheErrorPageOfALibraryThatCannotBeReadShowsInThePreview) {
    DisplayedProgram program(folder.Path(), {.Library = ""});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName);
    RECT page;
    GetWindowRect(twin.Form().CppWebBrowser1->Handle(), &page);
    // A few lines of the page's heading font.
    constexpr int enoughRed = 300;
    const auto showsTheError = [&](GdkPixbuf* shot) {
        int red = 0;
        for (int y = page.Top; y < page.Bottom; ++y)
            for (int x = page.Left; x < page.Right; ++x)
                red += pixelOf(shot, x, y) == Rgb{255, 0, 0};
        return red >= enoughRed;
    };
    ASSERT_TRUE(program.WaitToSee("error-page", showsTheError)) << "the error page is not in the preview";
    // The window goes on drawing itself after its first paint: the page stays.
    program.Click(HeadlessTwin::CentreOf(twin.Form().RemarksEdit));
    EXPECT_TRUE(program.KeepsSeeing("error-page-stays", showsTheError)) << "the error page did not stay";
}

// While the page has the keys, Alt and a letter still open the window's
// menu: Alt+F, Up and Return choose Exit.
TEST_F(WholeProgramDisplayTest, AltAndALetterOpenTheMenuWhileThePageHasTheKeys) {
    DisplayedProgram program(folder.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName);
    ASSERT_TRUE(PickScript(program, twin, "menu-keys")) << "the page never showed";

    program.Click(HeadlessTwin::CentreOf(twin.Form().CppWebBrowser1));
    program.Key("alt+f");
    program.WaitToSee("menu-keys-file-menu", [](GdkPixbuf*) { return true; });
    program.Key("Up");
    program.Key("Return");
    EXPECT_TRUE(program.Ended()) << "the File menu did not open from the page";
}

// Each opening of the magnifier reads the screen as it is then: over the
// same spot of the title list it reports the chosen title's highlight, and
// after the list changed, the colour the list shows there now.
TEST_F(WholeProgramDisplayTest, TheMagnifierReadsTheScreenAsItIsAtEachOpening) {
    DisplayedProgram program(folder.Path());
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName);
    TMainForm& form = twin.Form();
    ASSERT_TRUE(PickScript(program, twin, "magnifier")) << "the page never showed";
    program.Click(twin.TabItem(ColourTab));
    twin.ShowTab(ColourTab);
    const TPoint pointer = twin.TitleItem(0);
    // The magnifier reports the pixel up and left of the pointer.
    const TPoint spot{pointer.x - 1, pointer.y - 1};
    const auto reportsTheSpot = [&](const std::string& Name) {
        program.Click(twin.ToolButton(form.ZoomButton));
        program.MoveMouse(pointer);
        GdkPixbuf* shot = program.Shot();
        const Rgb seen = shot ? pixelOf(shot, spot.x, spot.y) : Rgb{};
        if (shot) g_object_unref(shot);
        form.ZoomColorEd->SetText(hexText(seen));
        HeadlessBackend::ProcessMessages();
        const bool reported = program.WaitToSee(
            Name, [&](GdkPixbuf* shot) { return twin.LooksTheSame(form.ZoomColorEd, shot); });
        program.Click(twin.ToolButton(form.ZoomButton));
        return std::pair{seen, reported};
    };

    const auto [highlight, firstReported] = reportsTheSpot("magnifier-first");
    EXPECT_TRUE(firstReported) << "the first opening did not report " << hexText(highlight);
    // The other category: the list holds a title no longer chosen.
    program.Click(HeadlessTwin::CentreOf(form.TypeComboBox));
    program.Key("Up");
    program.Key("Return");
    SetFocus(form.TypeComboBox->Handle());
    backend.PressKey(VK_UP);
    HeadlessBackend::ProcessMessages();
    ASSERT_TRUE(program.WaitToSee("magnifier-list-changed", [&](GdkPixbuf* shot) {
        return twin.LooksTheSame(form.TitleBox, shot);
    })) << "the title list did not change";
    const auto [plain, secondReported] = reportsTheSpot("magnifier-second");
    EXPECT_NE(plain, highlight) << "the spot did not change between the openings";
    EXPECT_TRUE(secondReported) << "the second opening did not report " << hexText(plain);
}

// Under a window manager, which moves the desktop's focus in its own order
// while the program shows the magnifier and makes it active, every opening
// shows the screen under the pointer and reports its colour: also the one
// after Esc stopped the capture and the button closed the lens.
TEST_F(WholeProgramDisplayTest, UnderAWindowManagerEachOpeningOfTheMagnifierShowsTheLiveScreen) {
    if (!ProgramOnPath("openbox")) GTEST_SKIP() << "openbox is not installed";
    DisplayedProgram program(folder.Path(), {.WindowManager = true});
    ASSERT_TRUE(program.Started());
    ASSERT_TRUE(program.FindWindow()) << program.Errors();
    HeadlessTwin twin(folder.Path() / "program" / libraryName);
    TMainForm& form = twin.Form();
    // The manager frames the window where the program placed it: the twin's points hold.
    const TPoint zoomButton = twin.ToolButton(form.ZoomButton);
    // The lens at the screen's top right: a source pixel is 8 x 8 there at the
    // initial factor 4; (60, 60) shows the pixel 2 up and 2 left of the
    // pointer, off the cross-hair. The swatch is the circle on the tab.
    const TPoint lens{std::atoi(screenSize) - 150, 0};
    const auto showsTheSpot = [&](TPoint Pointer, const std::string& Name) {
        program.MoveMouse(Pointer);
        return program.WaitToSee(Name, [&](GdkPixbuf* shot) {
            return pixelOf(shot, lens.x + 60, lens.y + 60) == pixelOf(shot, Pointer.x - 2, Pointer.y - 2) &&
                   pixelOf(shot, lens.x + 12, lens.y + 162) == pixelOf(shot, Pointer.x - 1, Pointer.y - 1);
        });
    };

    program.Click(zoomButton);
    EXPECT_TRUE(showsTheSpot(twin.TitleItem(0), "magnifier-wm-first"));
    program.Key("Escape");
    program.Click(zoomButton);
    // The screen changes in between: the title is chosen.
    program.Click(twin.TitleItem(0));
    program.Click(zoomButton);
    EXPECT_TRUE(showsTheSpot(twin.TitleItem(0), "magnifier-wm-second"));
    program.Click(zoomButton);
}

} // namespace
