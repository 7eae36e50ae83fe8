// Menus of the framework: shortcut texts, the system menus built from item
// trees, pop-up menus chosen by keys and on a right click, owner drawing, and
// a form's main menu read from a form resource with its hot keys and
// shortcuts. A picture of a form with an open menu goes to the build folder.
#include "VisualTestSupport.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Menus.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Painting.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"

#include <deque>
#include <filesystem>
#include <functional>

namespace {

// Records which item was clicked.
class TClickLog : public TObject {
public:
    std::vector<AnsiString> clicks;
    void ItemClick(TObject* Sender) { clicks.push_back(static_cast<TMenuItem*>(Sender)->Name()); }
    void Popped(TObject*) { clicks.push_back("popup"); }
    TNotifyEvent OnClick() { return TNotifyEvent(this, &TClickLog::ItemClick); }
};

class TMenuForm : public TForm {
public:
    using TForm::TForm;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* FileOpen = nullptr;
    TMenuItem* FileSave = nullptr;
    std::vector<AnsiString> clicks;
    void OpenClick(TObject*) { clicks.push_back("open"); }
    void SaveClick(TObject*) { clicks.push_back("save"); }
    void CutClick(TObject*) { clicks.push_back("cut"); }
};

const TClass menuFormClass = DescribeClass<TMenuForm, TForm>([](TClassBuilder<TMenuForm>& c) {
    c.Field("MainMenu1", &TMenuForm::MainMenu1);
    c.Field("FileOpen", &TMenuForm::FileOpen);
    c.Field("FileSave", &TMenuForm::FileSave);
    c.Method("OpenClick", &TMenuForm::OpenClick);
    c.Method("SaveClick", &TMenuForm::SaveClick);
    c.Method("CutClick", &TMenuForm::CutClick);
});

const char* const menuFormText = "object MenuForm: TMenuForm\n"
                                 "  Left = 60\n  Top = 60\n  Width = 360\n  Height = 240\n"
                                 "  Caption = 'Menus'\n"
                                 "  object MainMenu1: TMainMenu\n"
                                 "    object FileMenu: TMenuItem\n"
                                 "      Caption = '&File'\n"
                                 "      object FileOpen: TMenuItem\n"
                                 "        Caption = '&Open...'\n"
                                 "        ShortCut = 16463\n"
                                 "        OnClick = OpenClick\n"
                                 "      end\n"
                                 "      object FileSave: TMenuItem\n"
                                 "        Caption = '&Save'\n"
                                 "        Checked = True\n"
                                 "        ShortCut = 16467\n"
                                 "        OnClick = SaveClick\n"
                                 "      end\n"
                                 "      object FileLine: TMenuItem\n"
                                 "        Caption = '-'\n"
                                 "      end\n"
                                 "      object FileExit: TMenuItem\n"
                                 "        Caption = 'Exit'\n"
                                 "        Enabled = False\n"
                                 "      end\n"
                                 "    end\n"
                                 "    object EditMenu: TMenuItem\n"
                                 "      Caption = 'Edit'\n"
                                 "      object EditCut: TMenuItem\n"
                                 "        Caption = 'Cu&t'\n"
                                 "        ShortCut = 16472\n"
                                 "        OnClick = CutClick\n"
                                 "      end\n"
                                 "    end\n"
                                 "  end\n"
                                 "end\n";

AnsiString menuText(HMENU menu, UINT position) {
    char text[128] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

HWND openPopup() {
    return FindWindowW(PopupMenuClassName, nullptr);
}

class MenusTest : public VisualTest {
protected:
    // One step runs each time an open menu waits for input; with none left it closes.
    std::deque<std::function<void()>> steps;

    void runSteps() {
        backend.SetIdleHandler([this] {
            if (steps.empty()) {
                EndMenu();
                return;
            }
            auto step = std::move(steps.front());
            steps.pop_front();
            step();
        });
    }

    static TMenuItem* item(const AnsiString& caption, TNotifyEvent onClick, const AnsiString& name,
                           TShortCut shortCut = scNone) {
        return NewItem(caption, shortCut, false, true, onClick, 0, name);
    }
};

TEST(ShortCuts, TextsUseTheFrameworksKeyNames) {
    struct Case {
        TShortCut shortCut;
        const char* text;
    };
    for (Case test : {Case{scCtrl | 'O', "Ctrl+O"}, Case{scShift | scCtrl | VK_F5, "Shift+Ctrl+F5"},
                      Case{VK_DELETE, "Del"}, Case{scAlt | VK_RETURN, "Alt+Enter"}, Case{VK_BACK, "BkSp"},
                      Case{scCtrl | VK_NEXT, "Ctrl+PgDn"}, Case{scShift | VK_INSERT, "Shift+Ins"},
                      Case{scCtrl | '7', "Ctrl+7"}}) {
        EXPECT_EQ(ShortCutToText(test.shortCut), test.text);
        EXPECT_EQ(TextToShortCut(test.text), test.shortCut) << test.text;
    }
    EXPECT_EQ(ShortCutToText(scCtrl | (VK_NUMPAD0 + 3)), "Ctrl+3");
    EXPECT_EQ(ShortCutToText(VK_OEM_1), "");
    EXPECT_EQ(TextToShortCut("Ctrl+Shift+A"), TextToShortCut("Shift+Ctrl+A"));
    EXPECT_EQ(TextToShortCut("^C"), scCtrl | 'C');
    EXPECT_EQ(TextToShortCut("ctrl+f1"), scCtrl | VK_F1);
    EXPECT_EQ(TextToShortCut("Ctrl+Banana"), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(ShortCut('A', {ssCtrl, ssAlt}), scCtrl | scAlt | 'A');
}

TEST(ShortCuts, HotKeysAreFoundAndStripped) {
    EXPECT_EQ(StripHotkey("&File"), "File");
    EXPECT_EQ(GetHotkey("&File"), "F");
    EXPECT_EQ(StripHotkey("Save && E&xit"), "Save & Exit");
    EXPECT_EQ(GetHotkey("Save && E&xit"), "x");
    EXPECT_EQ(GetHotkey("A&&B"), "");
    EXPECT_TRUE(AnsiSameCaption("&Open", "oPEN"));
    EXPECT_FALSE(AnsiSameCaption("&Open", "Opens"));
}

TEST_F(MenusTest, ItemTreesBuildTheSystemMenuAgainAfterEachChange) {
    TClickLog log;
    TPopupMenu menu(nullptr);
    std::vector<bool> rebuilds;
    struct ChangeLog : TObject {
        std::vector<TMenuItem*> sources;
        void Changed(TObject*, TMenuItem* Source, bool) { sources.push_back(Source); }
    } changes;
    menu.OnChange = TMenuChangeEvent(&changes, &ChangeLog::Changed);
    TMenuItem* open = item("&Open...", log.OnClick(), "Open", scCtrl | 'O');
    TMenuItem* hidden = item("Hidden", log.OnClick(), "Hidden");
    hidden->SetVisible(false);
    TMenuItem* save = NewItem("Save", scNone, true, false, log.OnClick(), 0, "Save");
    TMenuItem* recent = NewSubMenu("Recent", 0, "Recent", {item("One", log.OnClick(), "One")});
    for (TMenuItem* each : {NewLine(), open, NewLine(), NewLine(), hidden, save, recent, NewLine()})
        menu.Items()->Add(each);

    HMENU handle = menu.Handle();
    ASSERT_EQ(GetMenuItemCount(handle), 4);
    EXPECT_EQ(menuText(handle, 0), "&Open...\tCtrl+O");
    EXPECT_EQ(GetMenuState(handle, 1, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(menuText(handle, 2), "&Save");
    EXPECT_EQ(save->Caption(), "&Save");
    EXPECT_EQ(GetMenuState(handle, 2, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED), MF_CHECKED | MF_GRAYED);
    EXPECT_EQ(GetSubMenu(handle, 3), recent->Handle());
    EXPECT_EQ(GetMenuItemID(handle, 0), open->Command());

    changes.sources.clear();
    open->SetCaption("&Open file");
    EXPECT_EQ(menuText(handle, 0), "&Open file\tCtrl+O");
    EXPECT_EQ(changes.sources, std::vector<TMenuItem*>{open});
    hidden->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(handle), 5);
    delete recent;
    EXPECT_EQ(GetMenuItemCount(handle), 4);
    EXPECT_EQ(menu.Items()->Find("open FILE"), open);
    EXPECT_THROW(menu.Items()->Items(20), EMenuError);
    EXPECT_THROW(menu.Items()->Add(open), EMenuError);
}

TEST_F(MenusTest, ManualHotKeysAndLinesAreLeftAsTheyAre) {
    TPopupMenu menu(nullptr);
    menu.SetAutoHotkeys(maManual);
    menu.SetAutoLineReduction(maManual);
    menu.Items()->Add(NewLine());
    menu.Items()->Add(NewItem("Tags", scNone, false, true, nullptr, 0, "Tags"));
    HMENU handle = menu.Handle();
    EXPECT_EQ(GetMenuItemCount(handle), 2);
    EXPECT_EQ(menuText(handle, 1), "Tags");
}

TEST_F(MenusTest, APopupMenuIsChosenByKeysAndClicksTheItemAfterwards) {
    TClickLog log;
    TPopupMenu menu(nullptr);
    menu.OnPopup = TNotifyEvent(&log, &TClickLog::Popped);
    menu.Items()->Add(item("&Copy", log.OnClick(), "Copy"));
    menu.Items()->Add(item("&Paste", log.OnClick(), "Paste"));
    auto form = plainForm();
    form->Show();
    Application->ProcessMessages();
    steps = {[&] {
        backend.PressKey(VK_DOWN);
        backend.PressKey(VK_DOWN);
        backend.PressKey(VK_RETURN);
    }};
    runSteps();
    menu.Popup(100, 100);
    EXPECT_EQ(menu.PopupPoint(), (TPoint{100, 100}));
    EXPECT_EQ(log.clicks, std::vector<AnsiString>{"popup"});
    Application->ProcessMessages();
    EXPECT_EQ(log.clicks, (std::vector<AnsiString>{"popup", "Paste"}));

    steps = {[&] { backend.PressKey('C'); }};
    menu.Popup(100, 100);
    Application->ProcessMessages();
    EXPECT_EQ(log.clicks.back(), "Copy");
}

TEST_F(MenusTest, ARightClickShowsTheControlsPopupMenu) {
    TClickLog log;
    auto form = plainForm();
    auto* menu = new TPopupMenu(form.get());
    menu->Items()->Add(item("&Insert", log.OnClick(), "Insert"));
    auto* box = child<TBox>(form.get(), alNone, {20, 20, 120, 120});
    box->SetPopupMenu(menu);
    form->Show();
    Application->ProcessMessages();
    steps = {[&] {
        backend.PressKey(VK_DOWN);
        backend.PressKey(VK_RETURN);
    }};
    runSteps();
    backend.Click(box->Handle(), {10, 10}, MouseButton::Right);
    Application->ProcessMessages();
    EXPECT_EQ(menu->PopupComponent(), box);
    EXPECT_EQ(log.clicks, std::vector<AnsiString>{"Insert"});
    TPoint expected = box->ClientToScreen({10, 10});
    EXPECT_EQ(menu->PopupPoint(), expected);

    menu->SetAutoPopup(false);
    log.clicks.clear();
    steps.clear();
    backend.Click(box->Handle(), {10, 10}, MouseButton::Right);
    Application->ProcessMessages();
    EXPECT_TRUE(log.clicks.empty());
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheirEvents) {
    struct Painter : TObject {
        std::vector<TOwnerDrawState> states;
        void Measure(TObject*, TCanvas*, Integer& Width, Integer& Height) {
            Width = 140;
            Height = 26;
        }
        void Draw(TObject*, TCanvas* Canvas, const TRect& Rect, TOwnerDrawState State) {
            states.push_back(State);
            Canvas->Brush()->SetColor(State.Contains(odSelected) ? clRed : clLime);
            Canvas->FillRect(Rect);
        }
    } painter;
    TClickLog log;
    TPopupMenu menu(nullptr);
    menu.SetOwnerDraw(true);
    TMenuItem* drawn = item("Drawn", log.OnClick(), "Drawn");
    drawn->OnMeasureItem = TMenuMeasureItemEvent(&painter, &Painter::Measure);
    drawn->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent(&painter, &Painter::Draw);
    menu.Items()->Add(drawn);
    menu.Items()->Add(NewItem("Plain", scNone, true, true, log.OnClick(), 0, "Plain"));
    auto form = plainForm();
    form->Show();
    Application->ProcessMessages();
    RECT first{};
    TColor selectedPixel = clNone;
    TColor plainItemLeft = clNone;
    steps = {[&] { backend.PressKey(VK_DOWN); },
             [&] {
                 GetMenuItemRect(nullptr, menu.Handle(), 0, &first);
                 std::shared_ptr<PixelSurface> pixels = backend.Capture(openPopup());
                 RECT bounds;
                 GetWindowRect(openPopup(), &bounds);
                 auto at = [&](int x, int y) {
                     return static_cast<TColor>(
                         ColorRefFromPixel(pixels->At(x - bounds.Left, y - bounds.Top) & PixelColourMask));
                 };
                 selectedPixel = at(first.Left + 5, first.Top + 5);
                 RECT second;
                 GetMenuItemRect(nullptr, menu.Handle(), 1, &second);
                 plainItemLeft = at(second.Right - 3, second.Top + 3);
             }};
    runSteps();
    menu.Popup(100, 100);
    EXPECT_EQ(first.Bottom - first.Top, 26);
    EXPECT_EQ(first.Right - first.Left, 140 + GetSystemMetrics(SM_CXMENUCHECK) - 1);
    EXPECT_EQ(selectedPixel, clRed);
    EXPECT_EQ(plainItemLeft, ColorToRGB(clMenu));
    ASSERT_GE(painter.states.size(), 2u);
    EXPECT_FALSE(painter.states.front().Contains(odSelected));
    EXPECT_TRUE(painter.states.back().Contains(odSelected));
}

TEST_F(MenusTest, AFormsMainMenuAnswersHotKeysAndShortCutsAndSurvivesANewWindow) {
    TMenuForm form(nullptr);
    ReadComponentText(menuFormText, &form);
    ASSERT_NE(form.MainMenu1, nullptr);
    ASSERT_EQ(form.MainMenu1->Items()->Count(), 2);
    EXPECT_EQ(form.FileOpen->ShortCut(), scCtrl | 'O');
    EXPECT_EQ(form.FileOpen->Parent()->Caption(), "&File");
    SetFormMenu(&form, form.MainMenu1);
    EXPECT_EQ(GetFormMenu(&form), form.MainMenu1);
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(GetMenu(form.Handle()), form.MainMenu1->Handle());
    EXPECT_EQ(form.MainMenu1->WindowHandle(), form.Handle());
    // Top-level items show no shortcut; the automatic hot key went to "Edit".
    EXPECT_EQ(menuText(form.MainMenu1->Handle(), 1), "&Edit");

    steps = {[&] { backend.PressKey(VK_RETURN); }};
    runSteps();
    backend.PressKey('F', {VK_MENU});
    Application->ProcessMessages();
    EXPECT_EQ(form.clicks, std::vector<AnsiString>{"open"});

    form.clicks.clear();
    backend.PressKey('X', {VK_CONTROL});
    backend.PressKey('S', {VK_CONTROL});
    Application->ProcessMessages();
    EXPECT_EQ(form.clicks, (std::vector<AnsiString>{"cut", "save"}));

    form.RecreateWnd();
    Application->ProcessMessages();
    EXPECT_EQ(GetMenu(form.Handle()), form.MainMenu1->Handle());

    SetFormMenu(&form, nullptr);
    EXPECT_EQ(GetMenu(form.Handle()), nullptr);
    form.clicks.clear();
    backend.PressKey('S', {VK_CONTROL});
    Application->ProcessMessages();
    EXPECT_TRUE(form.clicks.empty());
}

// The highlighted item of a menu bar's menu is the form's to show: its long
// hint becomes the application's while the menu is open.
TEST_F(MenusTest, AHighlightedItemsLongHintBecomesTheApplicationsHint) {
    TMenuForm form(nullptr);
    ReadComponentText(menuFormText, &form);
    form.FileOpen->SetHint("Open|Opens a file");
    SetFormMenu(&form, form.MainMenu1);
    form.Show();
    Application->ProcessMessages();
    AnsiString hintWhileOpen;
    steps = {[&] { hintWhileOpen = Application->Hint(); }};
    runSteps();
    backend.PressKey('F', {VK_MENU});
    Application->ProcessMessages();
    EXPECT_EQ(hintWhileOpen, "Opens a file");
    EXPECT_EQ(Application->Hint(), "") << "the closed menu takes the hint away";
}

TEST_F(MenusTest, AFormWithAnOpenMenuIsSavedAsAPicture) {
    TMenuForm form(nullptr);
    ReadComponentText(menuFormText, &form);
    SetFormMenu(&form, form.MainMenu1);
    form.Show();
    Application->ProcessMessages();
    std::shared_ptr<PixelSurface> screen;
    steps = {[&] { backend.PressKey(VK_DOWN); },
             [&] {
                 RECT frame;
                 GetWindowRect(form.Handle(), &frame);
                 screen = std::make_shared<PixelSurface>(frame.Right + 20, frame.Bottom + 20);
                 ComposeScreen({0, 0, screen->Width(), screen->Height()}, *screen);
             }};
    runSteps();
    backend.PressKey('F', {VK_MENU});
    Application->ProcessMessages();
    ASSERT_TRUE(screen);
    std::filesystem::path path =
        std::filesystem::path(ProgramFolder()).parent_path() / "vcl-form-open-menu.png";
    EXPECT_TRUE(WritePngFile(*screen, path.string()));
    EXPECT_TRUE(form.clicks.empty());
}

} // namespace
