// How the program's windows look on a private X server, where the form
// resources' values show: the wizard's colour edit and caption, the colour
// picker's drop-down with its comb, and the About box. The program runs from
// a copy of its folder and is driven with xdotool; where its controls are
// comes from the same main window made here on the headless backend over
// the same settings and library. Screenshots go to the build folder.
#include "app/Main.h"
#include "app/Settings.h"
#include "components/ColorPickerButton.h"
#include "gl/glGrBox.h"
#include "platform/backend/tests/PrivateXServer.h"
#include "platform/backend/tests/ScreenShot.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"
#include "rx/ToolEdit.h"
#include "tests/program/PrivateFolder.h"
#include "tests/program/TestDatabases.h"
#include "unicode/TntForms.h"

#include <fstream>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

const std::filesystem::path programFolder = QUORVANE_PROGRAM_FOLDER;
const std::filesystem::path screenshots = QUORVANE_SCREENSHOTS_DIR;
const std::vector<std::string> programItems = {
    "Quorvane", "quorvane-webengine.so", "demo.zelk", "Scripts", "Lang", "Help", "Color"};
constexpr const char* libraryName = "tests.zelk";
constexpr const char* windowCaption = "^Quorvane v2\\.0$";
const TRect windowBounds{40, 4, 40 + 860, 4 + 760};
// The main window is never lower; the caption that flies out as it opens is far lower.
constexpr int mainWindowMinimumHeight = 550;
constexpr const char* screenSize = "1024x768x24";
constexpr auto startTimeout = 20s;
constexpr auto settleTimeout = 10s;
constexpr auto pollInterval = 50ms;
// The About box's client width, which no other window of the program has.
constexpr int aboutWidth = 305;

struct Rgb {
    int red, green, blue;
    bool operator==(const Rgb&) const = default;
};

Rgb pixelOf(GdkPixbuf* Shot, int X, int Y) {
    const guchar* pixel = gdk_pixbuf_get_pixels(Shot) + Y * gdk_pixbuf_get_rowstride(Shot) +
                          X * gdk_pixbuf_get_n_channels(Shot);
    return {pixel[0], pixel[1], pixel[2]};
}

Rgb rgbOf(Pixel Value) {
    const COLORREF colour = ColorRefFromPixel(Value & PixelColourMask);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// Text drawn in black on a light ground.
bool isInk(const Rgb& Colour) {
    return std::max({Colour.red, Colour.green, Colour.blue}) < 100;
}

bool isRed(const Rgb& Colour) {
    return Colour.red > 200 && Colour.green < 60 && Colour.blue < 60;
}

// The columns of `Area` that hold ink, first and last; {0, -1} when none.
std::pair<int, int> inkColumns(GdkPixbuf* Shot, const TRect& Area) {
    int first = 0;
    int last = -1;
    for (int x = Area.Left; x < Area.Right; ++x)
        for (int y = Area.Top; y < Area.Bottom; ++y)
            if (isInk(pixelOf(Shot, x, y))) {
                if (last < first) first = x;
                last = x;
                break;
            }
    return {first, last};
}

// The rows of `Area` that hold ink, counted.
int inkRows(GdkPixbuf* Shot, const TRect& Area) {
    int rows = 0;
    for (int y = Area.Top; y < Area.Bottom; ++y)
        for (int x = Area.Left; x < Area.Right; ++x)
            if (isInk(pixelOf(Shot, x, y))) {
                ++rows;
                break;
            }
    return rows;
}

TRect screenRectOf(HWND Window) {
    RECT rect;
    GetWindowRect(Window, &rect);
    return Rect(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

TPoint centreOf(const TRect& Rect) {
    return {(Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2};
}

void writeSettings(const std::filesystem::path& File, const std::string& Library) {
    std::ofstream(File) << "[Form]\nLeft=" << windowBounds.Left << "\nTop=" << windowBounds.Top
                        << "\nWidth=" << windowBounds.Width() << "\nHeight=" << windowBounds.Height()
                        << "\n[Database]\nLastDBase=" << Library << "\n";
}

// The program started on a private X server from a copy of its folder, with
// the wizard test library.
class ShownProgram {
public:
    explicit ShownProgram(const std::filesystem::path& Folder) : folder_(Folder) {
        const std::filesystem::path program = Folder / "program";
        std::filesystem::create_directories(program);
        for (const std::string& item : programItems)
            if (std::filesystem::exists(programFolder / item))
                std::filesystem::copy(programFolder / item, program / item,
                                      std::filesystem::copy_options::recursive);
        WriteDatabase((program / libraryName).string(), WizardTestDatabase());
        writeSettings(program / "Quorvane.ini", libraryName);
        std::filesystem::create_directories(Folder / "temp");
        if (server_.Display().empty()) return;
        process_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{(program / "Quorvane").string()},
            Environment{{"DISPLAY", server_.Display()},
                        {"QUORVANE_BACKEND", "gtk"},
                        {"QUORVANE_NO_PAUSES", "1"},
                        {"TMPDIR", (Folder / "temp").string()},
                        {"XDG_CACHE_HOME", (Folder / "cache").string()},
                        {"XDG_DATA_HOME", (Folder / "data").string()},
                        {"XDG_CONFIG_HOME", (Folder / "config").string()},
                        {"QUORVANE_REGISTRY_FILE", (Folder / "registry").string()},
                        {"NO_AT_BRIDGE", "1"}},
            (Folder / "errors.txt").string());
    }

    // The main window mapped and given the input focus.
    bool Shown() {
        if (!process_ || !process_->Started()) return false;
        return FocusShownWindow(server_.Display(), windowCaption, mainWindowMinimumHeight / 2, startTimeout)
            .has_value();
    }
    void Click(TPoint Screen) {
        std::vector<std::string> arguments = PointerMoveTo(Screen.x, Screen.y);
        arguments.insert(arguments.end(), {"click", "1"});
        xdotool(arguments);
    }
    void Key(const std::string& Name) { xdotool({"key", Name}); }
    void Type(const std::string& Text) { xdotool({"type", Text}); }

    // The screen rectangle of a shown top-level window of that width, if one comes.
    std::optional<TRect> WindowOfWidth(int Width) {
        const auto deadline = std::chrono::steady_clock::now() + settleTimeout;
        while (std::chrono::steady_clock::now() < deadline) {
            std::istringstream windows(xdotool({"search", "--onlyvisible", "--name", ".*"}).value_or(""));
            for (std::string window; std::getline(windows, window);) {
                std::istringstream shell(xdotool({"getwindowgeometry", "--shell", window}).value_or(""));
                std::map<std::string, int> geometry;
                for (std::string line; std::getline(shell, line);)
                    if (const std::size_t equals = line.find('='); equals != std::string::npos)
                        geometry[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
                if (geometry["WIDTH"] == Width)
                    return Rect(geometry["X"], geometry["Y"], geometry["X"] + Width,
                                geometry["Y"] + geometry["HEIGHT"]);
            }
            std::this_thread::sleep_for(pollInterval);
        }
        return std::nullopt;
    }

    // Takes screenshots until `Seen` holds for one (saved under `Name`) or
    // the time is up; false then, the last one saved all the same.
    bool WaitToSee(const std::string& Name, const std::function<bool(GdkPixbuf*)>& Seen) {
        const auto deadline = std::chrono::steady_clock::now() + settleTimeout;
        for (;;) {
            GdkPixbuf* shot = ScreenShot(server_.Display());
            const bool seen = shot && Seen(shot);
            const bool late = std::chrono::steady_clock::now() >= deadline;
            if (shot && (seen || late)) {
                std::filesystem::create_directories(screenshots);
                gdk_pixbuf_save(shot, (screenshots / (Name + ".png")).c_str(), "png", nullptr, nullptr);
            }
            if (shot) g_object_unref(shot);
            if (seen || late) return seen;
            std::this_thread::sleep_for(pollInterval);
        }
    }

    std::string Errors() const {
        std::ifstream file(folder_ / "errors.txt");
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

private:
    std::optional<std::string> xdotool(std::vector<std::string> Arguments,
                                       std::chrono::seconds Limit = settleTimeout) {
        Arguments.insert(Arguments.begin(), {"timeout", std::to_string(Limit.count()), "xdotool"});
        return RunOnDisplay(server_.Display(), Arguments);
    }

    std::filesystem::path folder_;
    PrivateXServer server_{screenSize};
    std::unique_ptr<ChildProcess> process_;
};

class ProgramLookDisplayTest : public VisualTest {
protected:
    PrivateFolder folder{"quorvane-look"};
    std::unique_ptr<ShownProgram> program;
    std::unique_ptr<TMainForm> twin;
    std::optional<std::string> userTemporaryFolder;

    void SetUp() override {
        if (!PrivateXServer::Installed() || !ProgramOnPath("xdotool"))
            GTEST_SKIP() << "Xvfb or xdotool is missing";
        VisualTest::SetUp();
        if (const char* temporary = std::getenv("TMPDIR")) userTemporaryFolder = temporary;
        setenv("TMPDIR", folder.Path().c_str(), 1);
        program = std::make_unique<ShownProgram>(folder.Path());
        ASSERT_TRUE(program->Shown()) << program->Errors();
        static const bool formsReady = (InitializeTntForms(), Application->Initialize(), true);
        (void)formsReady;
        writeSettings(SettingsFileName(), (folder.Path() / "program" / libraryName).string());
        twin.reset(NewForm<TMainForm>(nullptr));
        std::filesystem::remove(SettingsFileName());
        twin->Show();
        HeadlessBackend::ProcessMessages();
    }
    void TearDown() override {
        twin.reset();
        program.reset();
        if (userTemporaryFolder)
            setenv("TMPDIR", userTemporaryFolder->c_str(), 1);
        else
            unsetenv("TMPDIR");
        VisualTest::TearDown();
    }

    // A click on the program and on its headless twin at the same screen point.
    void clickBoth(TWinControl* Under, TPoint Screen) {
        program->Click(Screen);
        backend.Click(Under->Handle(), Under->ScreenToClient(Screen));
        HeadlessBackend::ProcessMessages();
    }

    // The wizard's script chosen and its box expanded on both.
    void openWizard() {
        twin->TypeComboBox->SetItemIndex(twin->TypeComboBox->Items()->IndexOf(wizardtest::Category));
        const TPoint combo = centreOf(screenRectOf(twin->TypeComboBox->Handle()));
        program->Click(combo);
        program->Key("Down");
        program->Key("Return");
        twin->SelectScriptType(twin->TypeComboBox);
        waitToSeeAsHere("category", twin->TitleBox);
        RECT item{};
        SendMessageA(twin->TitleBox->Handle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        clickBoth(twin->TitleBox,
                  twin->TitleBox->ClientToScreen(TPoint{item.Left + 5, (item.Top + item.Bottom) / 2}));
        ASSERT_EQ(twin->TitleBox->ItemIndex(), 0);
        TglGroupBox* box = twin->WizGroupBox;
        waitToSeeAsHere("title", box);
        box->Repaint();
        clickBoth(box, box->ClientToScreen(centreOf(box->CaptionRect())));
        ASSERT_FALSE(box->Collapsed());
        waitToSeeAsHere("wizard", static_cast<TWinControl*>(twin->WizardControl("WizColorPanel", 1)));
    }

    // Whether the shot shows `Area` of the top-level window `Window` as it is drawn here.
    static bool looksAsDrawnHere(HWND Window, const TRect& Area, GdkPixbuf* Shot) {
        const TRect window = screenRectOf(Window);
        std::shared_ptr<PixelSurface> drawn = Headless().Capture(Window);
        for (int y = Area.Top; y < Area.Bottom; ++y)
            for (int x = Area.Left; x < Area.Right; ++x)
                if (rgbOf(drawn->At(x - window.Left, y - window.Top)) != pixelOf(Shot, x, y)) return false;
        return true;
    }
    static bool looksAsDrawnHere(HWND Window, GdkPixbuf* Shot) {
        return looksAsDrawnHere(Window, screenRectOf(Window), Shot);
    }
    // The program shows `Control` as the twin does, within the time.
    void waitToSeeAsHere(const std::string& Name, TWinControl* Control) {
        ASSERT_TRUE(program->WaitToSee(Name,
                                       [&](GdkPixbuf* shot) {
                                           return looksAsDrawnHere(twin->Handle(),
                                                                   screenRectOf(Control->Handle()), shot);
                                       }))
            << Name << ": not drawn as headless";
    }
};

// The colour edit is 65 wide with a button of 10: a colour's whole text fits beside it.
TEST_F(ProgramLookDisplayTest, TheWizardsColourEditShowsAWholeColourBesideItsButton) {
    openWizard();
    auto* edit = static_cast<TComboEdit*>(twin->WizardControl("WColorEdit", 1));
    const AnsiString colour = "#33FF33";
    program->Click(centreOf(screenRectOf(edit->Handle())));
    program->Key("End");
    program->Key("shift+Home");
    program->Type(colour);
    TBitmap measure;
    measure.Canvas()->Font()->Assign(edit->Font());
    const int textWidth = measure.Canvas()->TextWidth(colour);
    const TRect field = screenRectOf(edit->Handle());
    const TRect button = screenRectOf(static_cast<TWinControl*>(edit->Button()->Parent())->Handle());
    const TRect textArea = Rect(field.Left + 2, field.Top + 2, button.Left, field.Bottom - 2);
    std::pair<int, int> ink;
    const bool whole = program->WaitToSee("wizard-colour-edit", [&](GdkPixbuf* shot) {
        ink = inkColumns(shot, textArea);
        return ink.second - ink.first + 1 >= textWidth - 2 && ink.second < button.Left - 1;
    });
    EXPECT_TRUE(whole) << "the text's ink spans x " << ink.first << ".." << ink.second << ", the text is "
                       << textWidth << " wide and the button starts at x " << button.Left;
}

TEST_F(ProgramLookDisplayTest, TheWizardsCaptionIsRed) {
    openWizard();
    TglGroupBox* box = twin->WizGroupBox;
    const TRect bar = box->CaptionRect();
    const TPoint topLeft = box->ClientToScreen(TPoint{bar.Left, bar.Top});
    const TRect area = Rect(topLeft.x, topLeft.y, topLeft.x + bar.Width(), topLeft.y + bar.Height());
    constexpr int enoughRed = 20;
    int red = 0;
    EXPECT_TRUE(program->WaitToSee("wizard-caption",
                                   [&](GdkPixbuf* shot) {
                                       red = 0;
                                       for (int y = area.Top; y < area.Bottom; ++y)
                                           for (int x = area.Left; x < area.Right; ++x)
                                               red += isRed(pixelOf(shot, x, y));
                                       return red >= enoughRed;
                                   }))
        << red << " red pixels in the caption bar";
}

// The drop-down offers "Default" and "More Colors..."; the second opens the comb.
TEST_F(ProgramLookDisplayTest, ThePickersDropDownOffersItsEntriesAndOpensTheComb) {
    openWizard();
    auto* picker = static_cast<TColorPickerButton*>(twin->WizardControl("WColorBtn", 1));
    const TPoint arrow =
        picker->ClientToScreen(TPoint{picker->Width() - picker->DropDownWidth() / 2, picker->Height() / 2});
    clickBoth(picker->Parent(), arrow);
    TColorPopup* popup = picker->ColorPopup();
    ASSERT_TRUE(picker->DroppedDown());
    ASSERT_GT(popup->DefaultTextRect().Height(), 0);
    ASSERT_GT(popup->CustomTextRect().Height(), 0);
    const auto entryHasText = [&](GdkPixbuf* shot, const TRect& Entry) {
        const TPoint topLeft = popup->ClientToScreen(TPoint{Entry.Left, Entry.Top});
        return inkRows(shot,
                       Rect(topLeft.x, topLeft.y, topLeft.x + Entry.Width(), topLeft.y + Entry.Height())) > 3;
    };
    EXPECT_TRUE(program->WaitToSee("picker-drop-down", [&](GdkPixbuf* shot) {
        return looksAsDrawnHere(popup->Handle(), shot) && entryHasText(shot, popup->DefaultTextRect()) &&
               entryHasText(shot, popup->CustomTextRect());
    })) << "the drop-down does not show its Default and More Colors... entries as drawn headless";

    clickBoth(popup, popup->ClientToScreen(centreOf(popup->CustomTextRect())));
    ASSERT_TRUE(picker->DroppedDown());
    ASSERT_GT(popup->CombRect().Height(), 0);
    EXPECT_TRUE(program->WaitToSee("picker-comb", [&](GdkPixbuf* shot) {
        return looksAsDrawnHere(popup->Handle(), shot);
    })) << "the comb did not open below the entries as drawn headless";
}

TEST_F(ProgramLookDisplayTest, TheAboutBoxShowsItsLastLineWhole) {
    RECT help{};
    GetMenuItemRect(twin->Handle(), GetMenu(twin->Handle()), 2, &help);
    program->Click(TPoint{(help.Left + help.Right) / 2, (help.Top + help.Bottom) / 2});
    program->Key("Up");
    program->Key("Return");
    const std::optional<TRect> about = program->WindowOfWidth(aboutWidth);
    ASSERT_TRUE(about) << "no About box " << aboutWidth << " wide";
    // "Memory in Use:" is the lowest text of the box; its lowest ink must
    // lie above the box's bottom edge, with a row of ground below it.
    constexpr int lastLineTop = 312;
    constexpr int labelWidth = 150;
    const TRect line =
        Rect(about->Left + 8, about->Top + lastLineTop, about->Left + 8 + labelWidth, about->Bottom);
    int rows = 0;
    bool clearBelow = false;
    EXPECT_TRUE(program->WaitToSee("about-box",
                                   [&](GdkPixbuf* shot) {
                                       rows = inkRows(shot, line);
                                       clearBelow = inkRows(shot, Rect(line.Left, line.Bottom - 1, line.Right,
                                                                       line.Bottom)) == 0;
                                       return rows > 5 && clearBelow;
                                   }))
        << rows << " rows of the last line drawn; a row of ground below it: " << clearBelow;
}

} // namespace
