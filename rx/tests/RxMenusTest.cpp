// The owner-drawn popup menu: which styles draw their own items, the
// measures of separators and of shortcut columns, disabled items, the
// background that OnDrawItem finds already filled, a nested menu of tags
// chosen by keys, help on an item, and a right-to-left menu. The menu opened on a sub-menu is saved under the build
// folder (rx-popupmenu.png).
#include "rx/RxMenus.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/MenuLoop.h"
#include "platform/win/Menus.h"
#include "platform/win/Painting.h"
#include "platform/win/PopupMenuWindow.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"

#include <algorithm>
#include <deque>
#include <functional>

namespace {

struct MenuLog : TObject {
    std::vector<AnsiString> clicks;
    TColor backgroundSeen = clNone;
    void Clicked(TObject* Sender) { clicks.push_back(static_cast<TMenuItem*>(Sender)->Caption()); }
    void DrawnByHand(TRxPopupMenu* Sender, TMenuItem*, const TRect& Rect, TOwnerDrawState) {
        backgroundSeen = Sender->Canvas()->Pixels(Rect.Left + 1, Rect.Top + 1);
    }
    void Params(TRxPopupMenu*, TMenuItem*, TOwnerDrawState, TFont*, TColor& Color, TGraphic*&, Integer&) {
        Color = clYellow;
    }
};

class RxMenusTest : public VisualTest {
protected:
    MenuLog log;
    TRxPopupMenu menu{nullptr};
    std::deque<std::function<void()>> steps;

    void SetUp() override {
        VisualTest::SetUp();
        menu.SetStyle(msOwnerDraw);
        menu.SetAutoHotkeys(maManual);
    }

    TMenuItem* add(TMenuItem* Parent, const AnsiString& Caption, TShortCut Keys = scNone) {
        TMenuItem* item = NewItem(Caption, Keys, false, true, TNotifyEvent(&log, &MenuLog::Clicked), 0, "");
        Parent->Add(item);
        return item;
    }

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

    SIZE measured(TMenuItem* Item) {
        MEASUREITEMSTRUCT measure{};
        measure.CtlType = ODT_MENU;
        measure.itemID = Item->Command();
        EXPECT_TRUE(menu.HandleMeasureItem(measure));
        return {static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
    }

    // Draws Item into a bitmap of 200 x 20 with the item state given.
    std::unique_ptr<TBitmap> drawn(TMenuItem* Item, UINT ItemState) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(200, 20);
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_MENU;
        draw.itemID = Item->Command();
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = ItemState;
        draw.hDC = bitmap->Canvas()->Handle();
        draw.rcItem = {0, 0, 200, 20};
        EXPECT_TRUE(menu.HandleDrawItem(draw));
        return bitmap;
    }

    // Text is smoothed: its pixels are counted by brightness.
    template <typename Test> static int pixelsWhere(TBitmap& Bitmap, Test Matches) {
        int count = 0;
        for (Integer y = 0; y < Bitmap.Height(); ++y)
            for (Integer x = 1; x < Bitmap.Width(); ++x)
                if (Matches(Bitmap.Canvas()->Pixels(x, y))) ++count;
        return count;
    }
    static int brightest(TColor Color) { return std::max({GetRValue(Color), GetGValue(Color), GetBValue(Color)}); }
};

TEST_F(RxMenusTest, OnlyTheStandardStyleLeavesDrawingToTheSystem) {
    EXPECT_TRUE(menu.OwnerDraw());
    menu.SetStyle(msStandard);
    EXPECT_FALSE(menu.IsOwnerDrawMenu());
    EXPECT_FALSE(menu.OwnerDraw());
    menu.SetStyle(msBtnRaised);
    EXPECT_TRUE(menu.OwnerDraw());
}

TEST_F(RxMenusTest, SeparatorsAreNinePixelsHigh) {
    add(menu.Items(), "Text");
    TMenuItem* line = add(menu.Items(), "-");
    EXPECT_EQ(measured(line).cy, 9);
}

TEST_F(RxMenusTest, ShortcutColumnsAlignAcrossTheParentsItems) {
    TMenuItem* tags = add(menu.Items(), "Tags");
    TMenuItem* shortOne = add(tags, "<b>", scCtrl | 'B');
    TMenuItem* longOne = add(tags, "<blockquote>", scShift | scCtrl | VK_F5);
    EXPECT_EQ(measured(shortOne).cx, measured(longOne).cx);
    TMenuItem* withoutKeys = add(tags, "<i>");
    EXPECT_LT(measured(withoutKeys).cx, measured(shortOne).cx);
    // The shortcut text starts at the same place in both rows.
    auto first = drawn(shortOne, 0);
    auto second = drawn(longOne, 0);
    // The first ink after a gap of 8 blank columns past the caption.
    auto shortcutColumn = [](TBitmap& Bitmap) {
        Integer blank = 0;
        bool caption = false;
        for (Integer x = 1; x < Bitmap.Width(); ++x) {
            bool ink = false;
            for (Integer y = 0; y < Bitmap.Height(); ++y)
                ink = ink || brightest(Bitmap.Canvas()->Pixels(x, y)) < 0x60;
            if (ink && caption && blank >= 8) return x;
            caption = caption || ink;
            blank = ink ? 0 : blank + 1;
        }
        return -1;
    };
    const Integer column = shortcutColumn(*second);
    ASSERT_GT(column, 0);
    EXPECT_EQ(shortcutColumn(*first), column);
}

TEST_F(RxMenusTest, ADisabledItemIsEtchedUnlessSelectedOnTheHighlight) {
    TMenuItem* item = add(menu.Items(), "Disabled");
    item->SetEnabled(false);
    // On the menu colour: the shadow colour's text over its white highlight.
    auto plain = drawn(item, ODS_DISABLED);
    EXPECT_GT(pixelsWhere(*plain, [](TColor C) { return brightest(C) < 0x98; }), 0);
    EXPECT_GT(pixelsWhere(*plain, [](TColor C) { return brightest(C) > 0xE0; }), 0);
    // Selected: grey text on the highlight, without the white.
    auto selected = drawn(item, ODS_DISABLED | ODS_SELECTED);
    EXPECT_GT(pixelsWhere(*selected, [](TColor C) { return C == ColorToRGB(clHighlight); }), 1000);
    EXPECT_GT(pixelsWhere(*selected, [](TColor C) { return GetGValue(C) > 0x40; }), 0);
    EXPECT_EQ(pixelsWhere(*selected, [](TColor C) { return brightest(C) > 0xE0; }), 0);
}

TEST_F(RxMenusTest, TheBackgroundIsFilledBeforeOnDrawItem) {
    TMenuItem* item = add(menu.Items(), "Custom");
    menu.OnGetItemParams = TItemParamsEvent(&log, &MenuLog::Params);
    menu.OnDrawItem = TDrawMenuItemEvent(&log, &MenuLog::DrawnByHand);
    auto bitmap = drawn(item, 0);
    EXPECT_EQ(log.backgroundSeen, clYellow);
}

TEST_F(RxMenusTest, ANestedTagIsChosenByKeysAndTheOpenMenuIsSaved) {
    auto form = plainForm(300, 200);
    form->Show();
    Application->ProcessMessages();
    TMenuItem* block = add(menu.Items(), "Block");
    add(block, "<p>", scCtrl | 'P');
    add(block, "<div>", scShift | scCtrl | 'D');
    add(menu.Items(), "-");
    TMenuItem* inline_ = add(menu.Items(), "Inline");
    add(inline_, "<b>", scCtrl | 'B');
    add(inline_, "<i>");
    TMenuItem* disabled = add(inline_, "<blink>");
    disabled->SetEnabled(false);
    std::shared_ptr<PixelSurface> screen;
    steps = {[&] {
                 backend.PressKey(VK_DOWN);
                 backend.PressKey(VK_DOWN);
                 backend.PressKey(VK_RIGHT);
             },
             [&] { backend.PressKey(VK_DOWN); },
             [&] {
                 screen = std::make_shared<PixelSurface>(320, 220);
                 ComposeScreen({0, 0, 320, 220}, *screen);
                 backend.PressKey(VK_RETURN);
             }};
    runSteps();
    menu.Popup(20, 20);
    Application->ProcessMessages();
    // Opening a sub-menu clicks its item, as the framework's menus do.
    EXPECT_EQ(log.clicks, (std::vector<AnsiString>{"Inline", "<i>"}));
    ASSERT_TRUE(screen);
    EXPECT_TRUE(WritePngFile(*screen, ScreenshotPath("rx-popupmenu.png")));
}

struct HelpLog : TObject {
    std::vector<std::pair<Word, Integer>> requests;
    bool Help(Word Command, Integer Data, bool&) {
        requests.emplace_back(Command, Data);
        return true;
    }
};

TEST_F(RxMenusTest, F1AsksTheApplicationForTheSelectedItemsHelp) {
    auto form = plainForm(300, 200);
    form->Show();
    Application->ProcessMessages();
    add(menu.Items(), "First")->SetHelpContext(11);
    add(menu.Items(), "Second")->SetHelpContext(22);
    HelpLog help;
    Application->OnHelp = THelpEvent(&help, &HelpLog::Help);
    steps = {[&] {
                 backend.PressKey(VK_DOWN);
                 backend.PressKey(VK_DOWN);
             },
             [&] { backend.PressKey(VK_F1); }, [&] { backend.PressKey(VK_ESCAPE); }};
    runSteps();
    menu.Popup(20, 20);
    Application->ProcessMessages();
    Application->OnHelp = nullptr;
    EXPECT_EQ(help.requests, (std::vector<std::pair<Word, Integer>>{{HELP_CONTEXT, 22}}));
    EXPECT_TRUE(log.clicks.empty()) << "help chooses nothing";
}

// On a right-to-left system a menu that follows its parent takes the
// reading order of the control under its point: a left-aligned menu then
// opens to the left of the point, and the parent flag survives.
TEST_F(RxMenusTest, ARightToLeftControlUnderThePointTurnsTheMenu) {
    auto form = plainForm(300, 200);
    form->SetBiDiMode(bdRightToLeft);
    form->Show();
    Application->ProcessMessages();
    add(menu.Items(), "Item");
    struct Case {
        bool middleEast;
        bool parentBiDiMode;
        bool opensLeft;
    };
    const bool savedLocale = SysLocaleMiddleEast;
    for (const Case& c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}}) {
        SysLocaleMiddleEast = c.middleEast;
        menu.SetParentBiDiMode(c.parentBiDiMode);
        menu.SetBiDiMode(bdLeftToRight);
        RECT placed{};
        steps = {[&] {
            const PopupMenuWindow* shown = OpenPopupShowing(menu.Items()->Handle());
            if (shown) GetWindowRect(shown->Handle(), &placed);
        }};
        runSteps();
        const TPoint point = form->ClientToScreen({150, 100});
        menu.Popup(point.x, point.y);
        Application->ProcessMessages();
        EXPECT_EQ(placed.Right == point.x, c.opensLeft) << c.middleEast << c.parentBiDiMode;
        EXPECT_EQ(placed.Left == point.x, !c.opensLeft) << c.middleEast << c.parentBiDiMode;
        EXPECT_EQ(menu.ParentBiDiMode(), c.parentBiDiMode);
    }
    SysLocaleMiddleEast = savedLocale;
}

} // namespace
