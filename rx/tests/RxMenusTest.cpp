// The owner-drawn popup menu: which styles draw their own items, the
// measures of separators and of shortcut columns, disabled items, the
// background that OnDrawItem finds already filled, a nested menu of tags
// chosen by keys, help on an item, and a right-to-left menu. The menu opened on a sub-menu is saved under the build
// folder (rx-popupmenu.png).
#include "rx/RxMenus.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Cursors.h"
#include "platform/win/Icons.h"
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

// Hovering an item with a sub-menu shows that item's own long hint.
TEST_F(RxMenusTest, AnItemWithASubMenuShowsItsOwnHint) {
    auto form = plainForm(300, 200);
    form->Show();
    Application->ProcessMessages();
    TMenuItem* block = add(menu.Items(), "Block");
    block->SetHint("Block|Tags that make a block");
    add(block, "<p>")->SetHint("Paragraph|A paragraph");
    TMenuItem* plain = add(menu.Items(), "Plain");
    plain->SetHint("Plain|Text without tags");
    std::vector<AnsiString> hints;
    steps = {[&] { backend.PressKey(VK_DOWN); },
             [&] {
                 hints.push_back(Application->Hint());
                 backend.PressKey(VK_DOWN);
             },
             [&] {
                 hints.push_back(Application->Hint());
                 backend.PressKey(VK_ESCAPE);
             }};
    runSteps();
    menu.Popup(20, 20);
    Application->ProcessMessages();
    EXPECT_EQ(hints, (std::vector<AnsiString>{"Tags that make a block", "Text without tags"}));
}

// Images decide owner drawing as soon as they are set or change, not only
// at the next popup.
TEST_F(RxMenusTest, ImagesMakeTheMenuOwnerDrawnAtOnce) {
    menu.SetStyle(msStandard);
    TImageList images(nullptr);
    images.SetWidth(16);
    images.SetHeight(16);
    menu.SetImages(&images);
    EXPECT_FALSE(menu.OwnerDraw()) << "an empty list draws nothing";
    TBitmap picture;
    picture.SetSize(16, 16);
    images.AddMasked(&picture, clFuchsia);
    EXPECT_TRUE(menu.OwnerDraw()) << "the list's change";
    menu.SetImages(nullptr);
    EXPECT_FALSE(menu.OwnerDraw());
    menu.SetImages(&images);
    EXPECT_TRUE(menu.OwnerDraw());
    images.Clear();
    EXPECT_FALSE(menu.OwnerDraw());
}

// A list freed under the menu leaves it without images.
TEST_F(RxMenusTest, AFreedImageListIsForgotten) {
    menu.SetStyle(msStandard);
    auto images = std::make_unique<TImageList>(nullptr);
    TBitmap picture;
    picture.SetSize(16, 16);
    images->AddMasked(&picture, clFuchsia);
    menu.SetImages(images.get());
    images.reset();
    EXPECT_EQ(menu.Images(), nullptr);
    EXPECT_FALSE(menu.OwnerDraw());
}

struct IconParams : TObject {
    TIcon* icon = nullptr;
    void Params(TRxPopupMenu*, TMenuItem*, TOwnerDrawState, TFont*, TColor&, TGraphic*& Graphic, Integer&) {
        Graphic = icon;
    }
};

// A small icon keeps its own size in the item: measured and drawn 16 x 16,
// not stretched to the system's icon size.
TEST_F(RxMenusTest, AnIconIsMeasuredAndDrawnAtItsOwnSize) {
    TBitmap colour;
    colour.SetSize(16, 16);
    colour.Canvas()->Brush()->SetColor(clRed);
    colour.Canvas()->FillRect({0, 0, 16, 16});
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(16, 16);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect({0, 0, 16, 16});
    ICONINFO info{TRUE, 0, 0, mask.Handle(), colour.Handle()};
    TIcon icon;
    icon.SetHandle(CreateIconIndirect(&info));
    IconParams params;
    params.icon = &icon;
    menu.OnGetItemParams = TItemParamsEvent(&params, &IconParams::Params);
    TMenuItem* item = add(menu.Items(), "Icon");
    EXPECT_EQ(measured(item).cy, std::max<LONG>(measured(add(menu.Items(), "Text")).cy, 16 + 4));
    auto bitmap = drawn(item, 0);
    EXPECT_EQ(pixelsWhere(*bitmap, [](TColor C) { return C == clRed; }), 16 * 16);
}

// In the older look a separator is one double line in the menu text colour.
TEST_F(RxMenusTest, TheOlderLookDrawsSeparatorsAsADoubleLine) {
    TMenuItem* line = add(menu.Items(), "-");
    const bool saved = NewStyleControls;
    NewStyleControls = false;
    auto older = drawn(line, 0);
    NewStyleControls = saved;
    auto newer = drawn(line, 0);
    auto rowsOf = [](TBitmap& Bitmap, TColor Color) {
        std::vector<Integer> rows;
        for (Integer y = 0; y < Bitmap.Height(); ++y)
            if (Bitmap.Canvas()->Pixels(100, y) == ColorToRGB(Color)) rows.push_back(y);
        return rows;
    };
    EXPECT_EQ(rowsOf(*older, clMenuText).size(), 2u);
    EXPECT_TRUE(rowsOf(*older, clBtnHighlight).empty());
    EXPECT_EQ(rowsOf(*newer, clBtnShadow), std::vector<Integer>{9});
    EXPECT_EQ(rowsOf(*newer, clBtnHighlight), std::vector<Integer>{10});
}

// The menu's Cursor is the pointer while the menu is open.
TEST_F(RxMenusTest, TheMenusCursorIsShownWhileItIsOpen) {
    auto form = plainForm(300, 200);
    form->Show();
    Application->ProcessMessages();
    add(menu.Items(), "Item");
    menu.SetCursor(crHandPoint);
    HCURSOR shown = nullptr;
    steps = {[&] { shown = GetCursor(); }};
    runSteps();
    menu.Popup(20, 20);
    Application->ProcessMessages();
    EXPECT_EQ(shown, Screen->Cursors(crHandPoint));
}

// A selected row of a bevelled style is framed like a button instead of
// highlighted.
TEST_F(RxMenusTest, BevelledStylesFrameTheSelectedRow) {
    TMenuItem* item = add(menu.Items(), "Item");
    struct Case {
        TRxMenuStyle style;
        TColor topLeft;
        TColor bottomRight;
    };
    for (const Case& c :
         {Case{msBtnLowered, clBtnShadow, clBtnHighlight}, Case{msBtnRaised, clBtnHighlight, clBtnShadow}}) {
        menu.SetStyle(c.style);
        auto bitmap = drawn(item, ODS_SELECTED);
        // The menu's own items start one pixel in, past the (empty) margin.
        EXPECT_EQ(bitmap->Canvas()->Pixels(1, 5), ColorToRGB(c.topLeft)) << c.style;
        EXPECT_EQ(bitmap->Canvas()->Pixels(5, 0), ColorToRGB(c.topLeft)) << c.style;
        EXPECT_EQ(bitmap->Canvas()->Pixels(199, 5), ColorToRGB(c.bottomRight)) << c.style;
        EXPECT_EQ(bitmap->Canvas()->Pixels(5, 19), ColorToRGB(c.bottomRight)) << c.style;
        EXPECT_EQ(bitmap->Canvas()->Pixels(150, 10), ColorToRGB(clMenu)) << "no highlight fill";
    }
}

// The left margin of the menu's own items: a blue gradient down to a quarter
// of blue, then a shadow and a highlight line.
TEST_F(RxMenusTest, TheLeftMarginIsABlueGradientWithAnEdge) {
    menu.SetLeftMargin(20);
    TMenuItem* item = add(menu.Items(), "Item");
    auto bitmap = drawn(item, 0);
    EXPECT_EQ(bitmap->Canvas()->Pixels(5, 0), clBlue);
    EXPECT_EQ(bitmap->Canvas()->Pixels(5, 19), static_cast<TColor>(RGB(0, 0, 0xFF / 4)));
    EXPECT_GT(GetBValue(bitmap->Canvas()->Pixels(5, 5)), GetBValue(bitmap->Canvas()->Pixels(5, 15)));
    EXPECT_EQ(bitmap->Canvas()->Pixels(18, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(bitmap->Canvas()->Pixels(19, 10), ColorToRGB(clBtnHighlight));
    TMenuItem* nested = add(item, "Nested");
    auto inner = drawn(nested, 0);
    EXPECT_EQ(inner->Canvas()->Pixels(5, 0), ColorToRGB(clMenu)) << "only the menu's own items";
}

// A checked item shows the check mark left of its text, a radio item a bullet.
TEST_F(RxMenusTest, CheckedItemsShowTheirMark) {
    TMenuItem* item = add(menu.Items(), "Item");
    const Integer markWidth = LOWORD(static_cast<DWORD>(GetMenuCheckMarkDimensions()));
    auto markInk = [&](TBitmap& Bitmap) {
        int ink = 0;
        for (Integer y = 0; y < 20; ++y)
            for (Integer x = 0; x < markWidth + 4; ++x)
                if (brightest(Bitmap.Canvas()->Pixels(x, y)) < 0x60) ++ink;
        return ink;
    };
    auto unchecked = drawn(item, 0);
    EXPECT_EQ(markInk(*unchecked), 0);
    item->SetChecked(true);
    auto checked = drawn(item, ODS_CHECKED);
    const int check = markInk(*checked);
    EXPECT_GT(check, 0);
    item->SetRadioItem(true);
    auto bullet = drawn(item, ODS_CHECKED);
    EXPECT_GT(markInk(*bullet), 0);
    EXPECT_NE(markInk(*bullet), check);
}

struct StripParams : TObject {
    TBitmap* strip = nullptr;
    void Params(TRxPopupMenu*, TMenuItem*, TOwnerDrawState, TFont*, TColor&, TGraphic*& Graphic,
                Integer& Count) {
        Graphic = strip;
        Count = 4;
    }
};

// A strip of four glyphs: the second for a disabled item, the third for a
// selected one, the fourth for a checked one, else the first.
TEST_F(RxMenusTest, AGlyphStripGivesEachStateItsPicture) {
    const TColor colours[] = {clRed, clLime, clBlue, clYellow};
    TBitmap strip;
    strip.SetSize(48, 12);
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect({0, 0, 48, 12});
    for (Integer i = 0; i < 4; ++i) {
        strip.Canvas()->Brush()->SetColor(colours[i]);
        strip.Canvas()->FillRect({12 * i + 2, 2, 12 * i + 10, 10});
    }
    StripParams params;
    params.strip = &strip;
    menu.OnGetItemParams = TItemParamsEvent(&params, &StripParams::Params);
    menu.SetStyle(msBtnRaised);
    TMenuItem* item = add(menu.Items(), "Strip");
    auto shows = [&](TBitmap& Bitmap) {
        std::vector<TColor> seen;
        for (TColor colour : colours)
            if (pixelsWhere(Bitmap, [&](TColor C) { return C == colour; }) == 8 * 8) seen.push_back(colour);
        EXPECT_EQ(pixelsWhere(Bitmap, [](TColor C) { return C == clFuchsia; }), 0);
        return seen;
    };
    EXPECT_EQ(shows(*drawn(item, 0)), std::vector<TColor>{clRed});
    EXPECT_EQ(shows(*drawn(item, ODS_SELECTED)), std::vector<TColor>{clBlue});
    item->SetChecked(true);
    EXPECT_EQ(shows(*drawn(item, ODS_CHECKED)), std::vector<TColor>{clYellow});
    item->SetChecked(false);
    item->SetEnabled(false);
    EXPECT_EQ(shows(*drawn(item, ODS_DISABLED)), std::vector<TColor>{clLime});
}

// An image of the menu's list: as it is, or, for a disabled item, embossed
// in the shadow colour over a highlight copy.
TEST_F(RxMenusTest, ImageListPicturesAreEmbossedForDisabledItems) {
    TImageList images(nullptr);
    images.SetWidth(12);
    images.SetHeight(12);
    TBitmap picture;
    picture.SetSize(12, 12);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect({0, 0, 12, 12});
    picture.Canvas()->Brush()->SetColor(clRed);
    picture.Canvas()->FillRect({2, 2, 10, 10});
    images.AddMasked(&picture, clFuchsia);
    menu.SetImages(&images);
    TMenuItem* item = add(menu.Items(), "Image");
    item->SetImageIndex(0);
    auto enabled = drawn(item, 0);
    EXPECT_EQ(pixelsWhere(*enabled, [](TColor C) { return C == clRed; }), 8 * 8);
    item->SetEnabled(false);
    auto disabled = drawn(item, ODS_DISABLED);
    EXPECT_EQ(pixelsWhere(*disabled, [](TColor C) { return C == clRed; }), 0);
    EXPECT_GE(pixelsWhere(*disabled, [](TColor C) { return C == ColorToRGB(clBtnShadow); }), 8 * 8);
    EXPECT_GE(pixelsWhere(*disabled, [](TColor C) { return C == ColorToRGB(clBtnHighlight); }), 8 + 7);
}

} // namespace
