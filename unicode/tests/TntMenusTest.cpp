// Wide menus: hot-key and shortcut routines, wide captions written into the
// system's menus (and kept through the framework's rebuilds), the "&" of
// automatic hot keys, shortcuts left off the menu bar, and the wide hint of
// a popup menu's item.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowTree.h"
#include "unicode/TntControls.h"
#include "unicode/TntForms.h"
#include "unicode/TntMenus.h"
#include "unicode/TntSystem.h"

#include <filesystem>

namespace {

TEST(WideHotkeys, StripFindAndCompare) {
    struct Case {
        WideString caption, stripped, hotkey;
    };
    const Case cases[] = {
        {u"&File", u"File", u"F"},         {u"A&&B", u"A&B", u""}, {u"&&&x", u"&x", u"x"}, {u"x&", u"x", u""},
        {u"Файл (&F)", u"Файл (F)", u"F"}, {u"&Ж", u"Ж", u"Ж"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideStripHotkey(c.caption), c.stripped) << WideToAnsi(c.caption);
        EXPECT_EQ(WideGetHotkey(c.caption), c.hotkey) << WideToAnsi(c.caption);
    }
    EXPECT_TRUE(WideSameCaption(u"&Файл", u"файл"));
    EXPECT_FALSE(WideSameCaption(u"&Файл", u"Файлы"));
}

TEST(WideHotkeys, AFarEastLocaleDropsBracketedHotkeysWhole) {
    SysLocaleFarEast = true;
    EXPECT_EQ(WideStripHotkey(u"ファイル(&F)"), u"ファイル");
    EXPECT_EQ(WideStripHotkey(u"A&&B"), u"A&B");
    EXPECT_TRUE(WideSameCaption(u"ファイル(&F)", u"ファイル"));
    SysLocaleFarEast = false;
    EXPECT_EQ(WideStripHotkey(u"ファイル(&F)"), u"ファイル(F)");
}

TEST(WideShortCuts, TextAndParsing) {
    struct Case {
        TShortCut shortCut;
        WideString text;
    };
    const Case cases[] = {
        {scCtrl | 'A', u"Ctrl+A"},
        {scShift | scCtrl | VK_F5, u"Shift+Ctrl+F5"},
        {scAlt | VK_BACK, u"Alt+BkSp"},
        {scCtrl | (VK_NUMPAD0 + 3), u"Ctrl+3"},
        {VK_DELETE, u"Del"},
        // Keys the framework does not name take the keyboard's name of their scan code.
        {scCtrl | VK_OEM_PLUS, u"Ctrl+="},
        {scShift | VK_OEM_COMMA, u"Shift+,"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideShortCutToText(c.shortCut), c.text) << WideToAnsi(c.text);
        // "3" names the digit key before the numeric pad's.
        const TShortCut parsed = c.shortCut == (scCtrl | (VK_NUMPAD0 + 3)) ? scCtrl | '3' : c.shortCut;
        EXPECT_EQ(WideTextToShortCut(c.text), parsed) << WideToAnsi(c.text);
    }
    EXPECT_EQ(WideTextToShortCut(u"Ctrl+Shift+A"), WideTextToShortCut(u"Shift+Ctrl+A"));
    EXPECT_EQ(WideTextToShortCut(u"^A"), scCtrl | 'A');
    EXPECT_EQ(WideTextToShortCut(u"ctrl+a"), scNone);
    EXPECT_EQ(WideTextToShortCut(u"Ctrl+f5"), scCtrl | VK_F5);
    EXPECT_EQ(WideTextToShortCut(u"Ctrl+Banana"), scNone);
    EXPECT_EQ(WideTextToShortCut(u"Ctrl+"), scNone);
}

class WideMenusTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm();
    TTntMainMenu* menu = new TTntMainMenu(form.get());
    TTntMenuItem* fileMenu = addItem(menu->Items(), u"&Файл");
    TTntMenuItem* openItem = addItem(fileMenu, u"Открыть");

    TTntMenuItem* addItem(TMenuItem* Parent, const WideString& Caption) {
        auto* item = new TTntMenuItem(form.get());
        item->SetCaption(Caption);
        Parent->Add(item);
        return item;
    }
    static WideString systemText(TMenuItem* Item) {
        WCHAR buffer[80] = {};
        GetMenuStringW(Item->Parent()->Handle(), Item->Command(), buffer, 80, MF_BYCOMMAND);
        return buffer;
    }
};

TEST_F(WideMenusTest, ACyrillicCaptionIsTheSystemsItemTextAndSurvivesRebuilds) {
    SetFormMenu(form.get(), menu);
    form->Show();
    EXPECT_EQ(systemText(fileMenu), u"&Файл");
    EXPECT_EQ(systemText(openItem), u"Открыть");
    openItem->SetEnabled(false);
    openItem->SetEnabled(true);
    EXPECT_EQ(systemText(openItem), u"Открыть");
    openItem->SetCaption(u"Сохранить");
    EXPECT_EQ(systemText(openItem), u"Сохранить");
    EXPECT_EQ(openItem->TMenuItem::Caption(), "?????????");
}

TEST_F(WideMenusTest, ShortcutsShowOnlyBelowTheMenuBar) {
    fileMenu->SetShortCut(scCtrl | 'F');
    openItem->SetShortCut(scCtrl | 'O');
    SetFormMenu(form.get(), menu);
    form->Show();
    EXPECT_EQ(systemText(fileMenu), u"&Файл");
    EXPECT_EQ(systemText(openItem), u"Открыть\tCtrl+O");
}

TEST_F(WideMenusTest, TheWideCaptionTakesTheAutomaticHotkey) {
    TTntMenuItem* mixed = addItem(fileMenu, u"Open файл");
    SetFormMenu(form.get(), menu);
    form->Show();
    EXPECT_EQ(mixed->TMenuItem::Caption(), "&Open ????");
    EXPECT_EQ(mixed->Caption(), u"&Open файл");
    EXPECT_EQ(systemText(mixed), u"&Open файл");
}

TEST_F(WideMenusTest, TheAnsiRoadLeavesTheFrameworksText) {
    SetFormMenu(form.get(), menu);
    form->Show();
    Win32PlatformIsUnicode = false;
    openItem->SetCaption(u"Закрыть");
    Win32PlatformIsUnicode = true;
    EXPECT_EQ(systemText(openItem), u"???????");
}

TEST_F(WideMenusTest, OwnerDrawnBarItemsWithoutDrawingOfTheirOwnBecomeText) {
    TTntMenuItem* drawn = addItem(menu->Items(), u"Вид");
    struct TDrawing {
        void Draw(TObject*, TCanvas*, const TRect&, bool) {}
    } drawing;
    drawn->OnDrawItem = TMenuDrawItemEvent(&drawing, &TDrawing::Draw);
    menu->SetOwnerDraw(true);
    SetFormMenu(form.get(), menu);
    form->Show();
    auto typeAt = [&](UINT Position) {
        MENUITEMINFOW info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu->Handle(), Position, TRUE, &info);
        return info.fType;
    };
    ASSERT_TRUE(typeAt(0) & MFT_OWNERDRAW);
    NoOwnerDrawTopLevelItems(menu);
    EXPECT_FALSE(typeAt(0) & MFT_OWNERDRAW);
    EXPECT_EQ(systemText(fileMenu), u"&Файл");
    EXPECT_TRUE(typeAt(1) & MFT_OWNERDRAW) << "an item with a draw event keeps drawing itself";
}

TEST_F(WideMenusTest, SelectingAPopupItemSetsTheWideApplicationHint) {
    TTntPopupMenu popup(nullptr);
    auto* item = new TTntMenuItem(&popup);
    item->SetCaption(u"Копировать");
    item->SetHint(u"Копия|Копирует выделенное");
    popup.Items()->Add(item);
    form->Show();
    WideString hintWhileSelected;
    Integer step = 0;
    backend.SetIdleHandler([&] {
        if (step++ == 0) {
            backend.PressKey(VK_DOWN);
            return;
        }
        hintWhileSelected = TntApplication()->Hint();
        EndMenu();
    });
    popup.Popup(100, 100);
    backend.SetIdleHandler(nullptr);
    EXPECT_EQ(hintWhileSelected, u"Копирует выделенное");
}

} // namespace

namespace {

// An owner-drawn popup menu of wide items, pictured while open with its
// second item selected, left to right and right to left.
class OwnerDrawnMenuTest : public VisualTest {
protected:
    TTntPopupMenu popup{nullptr};
    TBitmap picture;

    void SetUp() override {
        VisualTest::SetUp();
        popup.SetOwnerDraw(true);
        picture.SetWidth(16);
        picture.SetHeight(16);
        picture.Canvas()->Brush()->SetColor(clRed);
        picture.Canvas()->FillRect({0, 0, 16, 16});
        TTntMenuItem* open = addItem(u"&Открыть", scCtrl | 'O');
        open->SetDefault(true);
        addItem(u"Сохранить как…", scNone)->SetEnabled(false);
        TTntMenuItem* greek = addItem(u"Ελληνικά", scNone);
        greek->SetChecked(true);
        greek->Bitmap()->Assign(&picture);
        addItem(u"-", scNone);
        addItem(u"中文 項目", scShift | scCtrl | VK_F5);
    }
    TTntMenuItem* addItem(const WideString& Caption, TShortCut ShortCut) {
        auto* item = new TTntMenuItem(&popup);
        item->SetCaption(Caption);
        item->SetShortCut(ShortCut);
        popup.Items()->Add(item);
        return item;
    }
    // The open menu's pixels, with the item at Selected highlighted.
    std::shared_ptr<PixelSurface> capture(const char* Name) {
        std::shared_ptr<PixelSurface> pixels;
        Integer step = 0;
        backend.SetIdleHandler([&] {
            if (step++ < 2) {
                backend.PressKey(VK_DOWN);
                return;
            }
            const HWND window = FindWindowW(PopupMenuClassName, nullptr);
            pixels = backend.Capture(window);
            const std::filesystem::path folder =
                std::filesystem::path(ProgramFolder()).parent_path() / "screenshots";
            std::filesystem::create_directories(folder);
            EXPECT_TRUE(backend.SavePng(window, (folder / Name).string()));
            EndMenu();
        });
        popup.Popup(300, 100);
        backend.SetIdleHandler(nullptr);
        return pixels;
    }
    static Integer countColour(const PixelSurface& Pixels, TColor Colour) {
        Integer count = 0;
        for (Integer y = 0; y < Pixels.Height(); ++y)
            for (Integer x = 0; x < Pixels.Width(); ++x)
                if (static_cast<TColor>(ColorRefFromPixel(Pixels.Row(y)[x] & PixelColourMask)) ==
                    ColorToRGB(Colour))
                    ++count;
        return count;
    }
};

TEST_F(OwnerDrawnMenuTest, WideItemsAreDrawnLeftToRightAndRightToLeft) {
    auto form = plainForm();
    form->Show();
    std::shared_ptr<PixelSurface> leftToRight = capture("unicode-owner-drawn-menu.png");
    ASSERT_TRUE(leftToRight);
    // The disabled item is embossed: a highlight copy under the shadow-coloured text.
    EXPECT_GT(countColour(*leftToRight, clBtnShadow), 0);
    EXPECT_GT(countColour(*leftToRight, clRed), 0);
    popup.SetBiDiMode(bdRightToLeft);
    std::shared_ptr<PixelSurface> rightToLeft = capture("unicode-owner-drawn-menu-rtl.png");
    ASSERT_TRUE(rightToLeft);
    // The picture moved to the right half.
    Integer redLeft = rightToLeft->Width();
    for (Integer y = 0; y < rightToLeft->Height(); ++y)
        for (Integer x = 0; x < rightToLeft->Width(); ++x)
            if (static_cast<TColor>(ColorRefFromPixel(rightToLeft->Row(y)[x] & PixelColourMask)) == clRed)
                redLeft = std::min(redLeft, x);
    EXPECT_GT(redLeft, rightToLeft->Width() / 2);
}

} // namespace
