// The Rx drawing and utility routines (gradients, text shortening, cells,
// file names, command-line words, transparent and disabled bitmaps, quit
// requests) and the speed button (glyph counts, the grey of an inactive
// glyph, glyph and caption placement, groups, the drop-down menu and its
// mark, transparency, accelerators). The five button states are
// saved under the build folder (rx-speedbuttons.png) for a person to look at.
#include "rx/RXCtrls.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/vcl/ActnList.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Messages.h"

namespace {

TColor pixel(TBitmap& Bitmap, Integer X, Integer Y) {
    return Bitmap.Canvas()->Pixels(X, Y);
}

std::unique_ptr<TBitmap> filledBitmap(Integer Width, Integer Height, TColor Color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(Width, Height);
    bitmap->Canvas()->Brush()->SetColor(Color);
    bitmap->Canvas()->FillRect({0, 0, Width, Height});
    return bitmap;
}

struct GradientCase {
    const char* name;
    Integer height;
    Byte colors;
    TFillDirection direction;
    std::vector<TColor> rows;
};

TEST(GradientFillRect, BandsEndOnTheEndColourAndTheRestTakesIt) {
    const TColor black = 0x000000;
    const TColor white = 0xFFFFFF;
    const TColor middle = 0x808080;
    const std::vector<GradientCase> cases = {
        {"3 colours in 10 pixels", 10, 3, fdTopToBottom,
         {black, black, black, middle, middle, middle, white, white, white, white}},
        // White to black: the middle band rounds 127.5 steps down to 0x7F.
        {"reversed", 10, 3, fdBottomToTop,
         {white, white, white, 0x7F7F7F, 0x7F7F7F, 0x7F7F7F, black, black, black, black}},
        {"under 2 colours", 4, 1, fdTopToBottom, {black, black, black, black}},
    };
    for (const GradientCase& c : cases) {
        auto bitmap = filledBitmap(4, c.height, clRed);
        GradientFillRect(bitmap->Canvas(), {0, 0, 4, c.height}, black, white, c.direction, c.colors);
        for (Integer y = 0; y < c.height; ++y)
            EXPECT_EQ(pixel(*bitmap, 2, y), c.rows[static_cast<std::size_t>(y)]) << c.name << " row " << y;
    }
}

TEST(GradientFillRect, SixteenPixelsOfThirtyTwoColoursGiveOnePixelBands) {
    auto bitmap = filledBitmap(16, 2, clRed);
    GradientFillRect(bitmap->Canvas(), {0, 0, 16, 2}, 0x000000, 0x0000F0, fdLeftToRight, 32);
    for (Integer x = 0; x < 16; ++x)
        EXPECT_EQ(pixel(*bitmap, x, 0), static_cast<TColor>(x * 16)) << x;
}

TEST(GradientFillRect, AnEmptyRectangleDrawsNothing) {
    auto bitmap = filledBitmap(4, 4, clRed);
    GradientFillRect(bitmap->Canvas(), {2, 2, 2, 4}, clBlack, clWhite, fdTopToBottom, 8);
    EXPECT_EQ(pixel(*bitmap, 2, 2), clRed);
}

TEST(ShortenText, CutsCharactersUntilTheEllipsisFits) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    TCanvas* canvas = bitmap.Canvas();
    EXPECT_EQ(ShortenText("abcdef", canvas, canvas->TextWidth("abcdef")), "abcdef");
    EXPECT_EQ(ShortenText("abcdef", canvas, canvas->TextWidth("abc...")), "abc...");
    EXPECT_EQ(ShortenText("abcdef", canvas, 1), "...");
}

TEST(AssignBitmapCell, CutsTheCellOfTheIndex) {
    auto strip = filledBitmap(64, 32, clWhite);
    strip->Canvas()->SetPixels(16, 16, clRed);
    strip->Canvas()->SetPixels(31, 31, clBlue);
    TBitmap cell;
    AssignBitmapCell(strip.get(), &cell, 4, 2, 5);
    EXPECT_EQ(cell.Width(), 16);
    EXPECT_EQ(cell.Height(), 16);
    EXPECT_EQ(pixel(cell, 0, 0), clRed);
    EXPECT_EQ(pixel(cell, 15, 15), clBlue);
}

TEST(FileNames, ValidNamesHoldNoneOfTheSixCharacters) {
    EXPECT_TRUE(ValidFileName("C:\\Program Files\\app.exe"));
    EXPECT_TRUE(ValidFileName("/home/user/a b.txt"));
    for (const char* name : {"", "a|b", "a[b", "a]b", "a\"b", "a<b", "a>b"})
        EXPECT_FALSE(ValidFileName(name)) << name;
}

TEST(CommandLine, WordsSkipBlanksAndEmptyQuotePairs) {
    struct Case {
        const char* text;
        std::vector<AnsiString> words;
    };
    const std::vector<Case> cases = {
        {"prog a \"b c\"", {"prog", "a", "b c"}},
        {"  \"\" x  \"\"y", {"x", "y"}},
        {"one \"unterminated rest", {"one", "unterminated rest"}},
        {"a\"b c\"d", {"ab cd"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(ParamCountOf(c.text), static_cast<Integer>(c.words.size())) << c.text;
        for (std::size_t i = 0; i < c.words.size(); ++i)
            EXPECT_EQ(ParamStrOf(c.text, static_cast<Integer>(i)), c.words[i]) << c.text;
    }
    const AnsiString longWord(400, 'x');
    EXPECT_EQ(ParamStrOf(longWord + " y", 0), longWord);
}

TEST(CommandLine, SplitQuotesParametersThatHoldABlank) {
    AnsiString program;
    AnsiString params;
    SplitCommandLine("prog a \"b c\"", program, params);
    EXPECT_EQ(program, "prog");
    EXPECT_EQ(params, "a \"b c\"");
}

TEST(RxResources, TheHandCursorsAndTheIconFormatAreRegistered) {
    RegisterRxResources();
    const HCURSOR arrow = Screen->Cursors(crDefault);
    EXPECT_NE(Screen->Cursors(crHand), arrow);
    EXPECT_NE(Screen->Cursors(crDragHand), arrow);
    EXPECT_NE(Screen->Cursors(crHand), Screen->Cursors(crDragHand));
    EXPECT_NE(CF_ICON(), 0u);
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(static_cast<Word>(CF_ICON())))
        << "the icon format is announced to the picture class";
}

TEST(KillMessage, KeepsAPendingQuitRequest) {
    PostQuitMessage(7);
    KillMessage(nullptr, WM_QUIT);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

class TransparentDrawing : public ::testing::Test {
protected:
    std::unique_ptr<TBitmap> target = filledBitmap(4, 4, clBlue);
    // Magenta except a red top-left pixel; magenta is the bottom-left pixel.
    std::unique_ptr<TBitmap> source = [] {
        auto bitmap = filledBitmap(2, 2, clFuchsia);
        bitmap->Canvas()->SetPixels(0, 0, clRed);
        return bitmap;
    }();
};

TEST_F(TransparentDrawing, DefaultKeysOnTheBottomLeftPixel) {
    DrawTransparentBitmap(target->Canvas(), 1, 1, source.get(), clDefault);
    EXPECT_EQ(pixel(*target, 1, 1), clRed);
    EXPECT_EQ(pixel(*target, 2, 1), clBlue);
    EXPECT_EQ(pixel(*target, 2, 2), clBlue);
}

TEST_F(TransparentDrawing, NoneDrawsOpaque) {
    DrawTransparentBitmap(target->Canvas(), 1, 1, source.get(), clNone);
    EXPECT_EQ(pixel(*target, 1, 1), clRed);
    EXPECT_EQ(pixel(*target, 2, 2), clFuchsia);
}

TEST_F(TransparentDrawing, AMonochromeBitmapKeysOnWhite) {
    auto mono = filledBitmap(2, 2, clWhite);
    mono->Canvas()->SetPixels(0, 0, clBlack);
    mono->Canvas()->Brush()->SetColor(clWhite);
    mono->SetMonochrome(true);
    DrawTransparentBitmap(target->Canvas(), 1, 1, mono.get(), clRed);
    EXPECT_EQ(pixel(*target, 1, 1), clBlack);
    EXPECT_EQ(pixel(*target, 2, 1), clBlue);
}

TEST(CreateDisabledBitmap, EmbossesThePixelsOfTheMaskColour) {
    auto glyph = filledBitmap(4, 4, clWhite);
    glyph->Canvas()->SetPixels(1, 1, clBlack);
    auto disabled = CreateDisabledBitmap(glyph.get(), clBlack, clSilver, true, clGray, clWhite);
    EXPECT_EQ(pixel(*disabled, 1, 1), clGray);
    EXPECT_EQ(pixel(*disabled, 2, 2), clWhite);
    EXPECT_EQ(pixel(*disabled, 0, 0), clSilver);
    EXPECT_EQ(pixel(*disabled, 3, 3), clSilver);
}

// ---- The speed button -----------------------------------------------------------

TEST(RxButtonGlyph, CountsImagesOfASquareStrip) {
    struct Case {
        Integer width;
        Integer height;
        TRxNumGlyphs count;
    };
    for (const Case& c : {Case{40, 10, 4}, Case{70, 10, 1}, Case{20, 10, 2}, Case{0, 0, 3}}) {
        TRxButtonGlyph glyph;
        glyph.SetNumGlyphs(3);
        auto strip = filledBitmap(c.width, c.height, clWhite);
        glyph.SetGlyph(c.width ? strip.get() : nullptr);
        EXPECT_EQ(glyph.NumGlyphs(), c.count) << c.width << " x " << c.height;
        if (c.width == 0) {
            EXPECT_EQ(glyph.CreateButtonGlyph(rbsUp), -1);
        }
    }
}

class SpeedButtonTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(200, 60);

    TRxSpeedButton* button(Integer Left, TBitmap* Glyph = nullptr) {
        auto* created = child<TRxSpeedButton>(form.get(), alNone, {Left, 5, 30, 30});
        if (Glyph) created->SetGlyph(Glyph);
        return created;
    }

    void show() {
        form->Show();
        Application->ProcessMessages();
    }

    TColor at(TControl* Control, Integer X, Integer Y) {
        return PixelAt(form->Handle(), {Control->Left() + X, Control->Top() + Y});
    }
};

// A 10 x 10 glyph: a black frame around a colour, on a fuchsia key.
std::unique_ptr<TBitmap> framedGlyph(TColor Inside) {
    auto glyph = filledBitmap(10, 10, clFuchsia);
    glyph->Canvas()->Brush()->SetColor(clBlack);
    glyph->Canvas()->FillRect({2, 2, 8, 8});
    glyph->Canvas()->Brush()->SetColor(Inside);
    glyph->Canvas()->FillRect({3, 3, 7, 7});
    return glyph;
}

TEST_F(SpeedButtonTest, AnInactiveFlatButtonShowsItsGlyphInGrey) {
    auto glyph = framedGlyph(RGB(200, 100, 50));
    auto* flat = button(10, glyph.get());
    flat->SetFlat(true);
    show();
    const Integer gray = (77 * 200 + 150 * 100 + 29 * 50) >> 8;
    // The glyph sits at (10, 10): its frame from 12 to 17, the colour inside.
    EXPECT_EQ(at(flat, 14, 14), static_cast<TColor>(RGB(gray, gray, gray)));
    EXPECT_EQ(at(flat, 12, 12), clBlack);
    EXPECT_EQ(at(flat, 11, 11), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButtonTest, ADisabledSingleGlyphIsEmbossed) {
    auto glyph = framedGlyph(clRed);
    auto* disabled = button(10, glyph.get());
    disabled->SetEnabled(false);
    show();
    // The black frame in the shadow colour, its highlight one pixel down and right.
    EXPECT_EQ(at(disabled, 12, 12), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(disabled, 18, 18), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(disabled, 13, 13), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(disabled, 15, 15), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButtonTest, MarginAndSpacingOfMinusOneShareTheFreeSpace) {
    auto glyph = framedGlyph(clRed);
    auto* shared = button(10, glyph.get());
    shared->SetBounds(10, 5, 60, 30);
    shared->SetLayout(blGlyphLeft);
    shared->SetSpacing(-1);
    shared->SetCaption("ab");
    show();
    TRect textRect = shared->ButtonGlyph()->Draw(form->Canvas(), {0, 0, 56, 26}, {0, 0}, "ab", blGlyphLeft,
                                                -1, -1, false, rbsUp);
    const Integer gap = (56 - 10 - textRect.Width()) / 3;
    EXPECT_EQ(textRect.Left, gap + 10 + gap);
    // The glyph's red middle at the margin (the frame is 2 pixels in from its edge).
    EXPECT_EQ(at(shared, 2 + gap + 3, 15), clRed);
}

TEST_F(SpeedButtonTest, ButtonsOfAGroupReleaseEachOther) {
    auto* first = button(10);
    auto* second = button(50);
    auto* other = button(90);
    first->SetGroupIndex(1);
    second->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    show();
    first->SetDown(true);
    EXPECT_TRUE(first->Down());
    second->SetDown(true);
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(other->Down());
    second->SetDown(false);
    EXPECT_TRUE(second->Down()) << "one button of a group stays down without AllowAllUp";
    second->SetAllowAllUp(true);
    EXPECT_TRUE(first->AllowAllUp());
    second->SetDown(false);
    EXPECT_FALSE(second->Down());
    TRxSpeedButton plain(nullptr);
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down()) << "a button without a group is never down";
}

TEST_F(SpeedButtonTest, AClickInsideFiresOnClickAndThePictureIsSaved) {
    auto glyph = framedGlyph(clRed);
    auto* up = button(5, glyph.get());
    auto* disabled = button(40, glyph.get());
    disabled->SetEnabled(false);
    auto* down = button(75, glyph.get());
    down->SetGroupIndex(3);
    down->SetDown(true);
    auto* flat = button(110, glyph.get());
    flat->SetFlat(true);
    auto* pressed = button(145, glyph.get());
    show();
    int clicks = 0;
    struct Counter : TObject {
        int* count;
        void Clicked(TObject*) { ++*count; }
    } counter;
    counter.count = &clicks;
    up->OnClick = TNotifyEvent(&counter, &Counter::Clicked);
    backend.Click(form->Handle(), {20, 20});
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 1);
    backend.MouseDown(form->Handle(), {160, 20});
    Application->ProcessMessages();
    EXPECT_EQ(pressed->ButtonState(), rbsDown);
    EXPECT_TRUE(backend.SavePng(form->Handle(), ScreenshotPath("rx-speedbuttons.png")));
    backend.MouseUp(form->Handle(), {160, 20});
    Application->ProcessMessages();
}

// A drop-down menu that only notes where it was asked to open.
class TNotedMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    std::vector<TPoint> popups;
    void Popup(Integer X, Integer Y) override { popups.push_back({X, Y}); }
};

struct DropDownCase {
    TRxDropDownMenuPos position;
    TPopupAlignment alignment;
    TPoint client;
};

TEST_F(SpeedButtonTest, APressOpensTheDropDownMenuBesideTheButtonAndClicksNothing) {
    auto* dropDown = button(50);
    TNotedMenu menu(nullptr);
    dropDown->SetDropDownMenu(&menu);
    int clicks = 0;
    struct Counter : TObject {
        int* count;
        void Clicked(TObject*) { ++*count; }
    } counter;
    counter.count = &clicks;
    dropDown->OnClick = TNotifyEvent(&counter, &Counter::Clicked);
    show();
    // The button is 30 x 30.
    const DropDownCase cases[] = {
        {dmpBottom, paLeft, {-1, 30}},  {dmpBottom, paRight, {31, 30}}, {dmpBottom, paCenter, {15, 30}},
        {dmpRight, paLeft, {30, -1}},   {dmpRight, paRight, {-1, -1}},  {dmpRight, paCenter, {15, 30}},
    };
    for (const DropDownCase& c : cases) {
        dropDown->SetMenuPosition(c.position);
        menu.SetAlignment(c.alignment);
        menu.popups.clear();
        backend.Click(form->Handle(), {60, 20});
        Application->ProcessMessages();
        const TPoint expected = dropDown->ClientToScreen(c.client);
        ASSERT_EQ(menu.popups.size(), 1u) << c.position << " " << c.alignment;
        EXPECT_EQ(menu.popups[0].x, expected.x) << c.position << " " << c.alignment;
        EXPECT_EQ(menu.popups[0].y, expected.y) << c.position << " " << c.alignment;
        EXPECT_EQ(dropDown->ButtonState(), rbsUp);
    }
    EXPECT_EQ(clicks, 0);
    menu.SetAutoPopup(false);
    backend.Click(form->Handle(), {60, 20});
    Application->ProcessMessages();
    EXPECT_EQ(clicks, 1) << "a menu without AutoPopup leaves the press a click";
}

TEST_F(SpeedButtonTest, AFreedDropDownMenuIsForgotten) {
    auto* dropDown = button(50);
    auto menu = std::make_unique<TNotedMenu>(nullptr);
    dropDown->SetDropDownMenu(menu.get());
    menu.reset();
    EXPECT_EQ(dropDown->DropDownMenu(), nullptr);
    show();
    backend.Click(form->Handle(), {60, 20});
    Application->ProcessMessages();
}

// The mark: rows of 7, 5, 3 and 1 pixels, centred in a button without glyph
// or caption; embossed when disabled; absent with MarkDropDown off.
TEST_F(SpeedButtonTest, TheDropDownMarkIsATriangleOfFourRows) {
    TNotedMenu menu(nullptr);
    auto* marked = button(10);
    marked->SetDropDownMenu(&menu);
    auto* unmarked = button(50);
    unmarked->SetDropDownMenu(&menu);
    unmarked->SetMarkDropDown(false);
    auto* disabled = button(90);
    disabled->SetDropDownMenu(&menu);
    disabled->SetEnabled(false);
    show();
    // Inside the frame (3 pixels with the last shrink) the client is 24 wide
    // and high: the mark's top left at (3 + (24 - 7) / 2, 3 + 24 / 2) = (11, 15).
    const TColor text = ColorToRGB(clBtnText);
    const TColor face = ColorToRGB(clBtnFace);
    for (Integer row = 0; row < 4; ++row) {
        EXPECT_EQ(at(marked, 11 + row - 1, 15 + row), face) << "row " << row;
        EXPECT_EQ(at(marked, 11 + row, 15 + row), text) << "row " << row;
        EXPECT_EQ(at(marked, 11 + 6 - row, 15 + row), text) << "row " << row;
        EXPECT_EQ(at(marked, 11 + 7 - row, 15 + row), face) << "row " << row;
        EXPECT_EQ(at(unmarked, 11 + 3, 15 + row), face) << "row " << row;
    }
    EXPECT_EQ(at(disabled, 11, 15), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(disabled, 11 + 7, 15 + 1), ColorToRGB(clBtnHighlight));
}

// A transparent button shows the form's colour and a shape below it where
// it paints nothing itself.
TEST_F(SpeedButtonTest, ATransparentButtonShowsWhatLiesUnderIt) {
    form->SetColor(clYellow);
    auto* shape = child<TShape>(form.get(), alNone, {50, 5, 15, 30});
    shape->Brush()->SetColor(clBlue);
    shape->Pen()->SetColor(clBlue);
    auto* transparent = button(50);
    transparent->SetTransparent(true);
    auto* opaque = button(90);
    show();
    EXPECT_EQ(at(transparent, 8, 15), clBlue);
    EXPECT_EQ(at(transparent, 22, 15), clYellow);
    EXPECT_EQ(at(opaque, 22, 15), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButtonTest, ItsCaptionsAcceleratorClicksAnEnabledButton) {
    auto* accelerated = button(10);
    accelerated->SetCaption("&Go");
    int clicks = 0;
    struct Counter : TObject {
        int* count;
        void Clicked(TObject*) { ++*count; }
    } counter;
    counter.count = &clicks;
    accelerated->OnClick = TNotifyEvent(&counter, &Counter::Clicked);
    EXPECT_EQ(accelerated->Perform(CM_DIALOGCHAR, 'g', 0), 1);
    EXPECT_EQ(accelerated->Perform(CM_DIALOGCHAR, 'o', 0), 0);
    accelerated->SetEnabled(false);
    EXPECT_EQ(accelerated->Perform(CM_DIALOGCHAR, 'G', 0), 0);
    EXPECT_EQ(clicks, 1);
}

struct ButtonLog : TObject {
    int clicks = 0;
    int doubleClicks = 0;
    int entered = 0;
    void Clicked(TObject*) { ++clicks; }
    void DoubleClicked(TObject*) { ++doubleClicks; }
    void Entered(TObject*) { ++entered; }
};

// Only a button that is down hears a double click: a grouped one, which its
// first click put down.
TEST_F(SpeedButtonTest, ADoubleClickOnADownButtonFiresOnDblClick) {
    auto* single = button(10);
    auto* grouped = button(50);
    grouped->SetGroupIndex(1);
    grouped->SetAllowAllUp(true);
    ButtonLog singleLog;
    ButtonLog groupedLog;
    single->OnDblClick = TNotifyEvent(&singleLog, &ButtonLog::DoubleClicked);
    grouped->OnDblClick = TNotifyEvent(&groupedLog, &ButtonLog::DoubleClicked);
    show();
    backend.DoubleClick(form->Handle(), {20, 20});
    Application->ProcessMessages();
    EXPECT_EQ(singleLog.doubleClicks, 0) << "a button without a group is never down";
    backend.DoubleClick(form->Handle(), {60, 20});
    Application->ProcessMessages();
    EXPECT_EQ(groupedLog.doubleClicks, 1);
}

// Bound to an action: down with the checked action of its group, and the
// action's picture as glyph where the button has none.
TEST_F(SpeedButtonTest, AnActionGivesItsCheckAndItsImage) {
    TImageList images(nullptr);
    images.SetWidth(10);
    images.SetHeight(10);
    auto picture = framedGlyph(clLime);
    images.AddMasked(picture.get(), clFuchsia);
    TActionList actions(nullptr);
    actions.SetImages(&images);
    TAction action(nullptr);
    action.SetActionList(&actions);
    action.SetImageIndex(0);
    action.SetChecked(true);
    auto* bound = button(10);
    bound->SetGroupIndex(2);
    bound->SetAllowAllUp(true);
    bound->SetAction(&action);
    EXPECT_TRUE(bound->Down());
    action.SetChecked(false);
    EXPECT_FALSE(bound->Down());
    action.SetChecked(true);
    EXPECT_TRUE(bound->Down());
    ASSERT_EQ(bound->Glyph()->Width(), 10);
    EXPECT_EQ(bound->Glyph()->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(bound->Glyph()->Canvas()->Pixels(5, 5), clLime);
    bound->SetDown(false);
    show();
    // Drawn without its fuchsia key: the lime centre sits on the button face.
    EXPECT_EQ(at(bound, 15, 15), clLime);
    EXPECT_EQ(at(bound, 9, 9), ColorToRGB(clBtnFace));

    auto* ownGlyph = button(50, framedGlyph(clRed).get());
    ownGlyph->SetAction(&action);
    EXPECT_EQ(ownGlyph->Glyph()->Canvas()->Pixels(5, 5), clRed) << "a glyph of its own stays";
}

// A flat button that appears under the mouse knows it at once.
TEST_F(SpeedButtonTest, AButtonShownUnderTheMouseTakesTheMouseIn) {
    auto* flat = button(10);
    flat->SetFlat(true);
    ButtonLog log;
    flat->OnMouseEnter = TNotifyEvent(&log, &ButtonLog::Entered);
    flat->SetVisible(false);
    show();
    backend.MoveMouse(form->Handle(), {20, 20});
    Application->ProcessMessages();
    flat->SetVisible(true);
    Application->ProcessMessages();
    EXPECT_TRUE(flat->MouseInControl());
    EXPECT_EQ(log.entered, 1);
}

// Held down, a repeating button clicks after InitPause and then every
// RepeatInterval, until it is let go.
TEST_F(SpeedButtonTest, AllowTimerRepeatsTheClickWhileHeld) {
    backend.UseSteppedTime(true);
    auto wait = [&](DWORD Milliseconds) {
        backend.AdvanceTime(Milliseconds);
        Application->ProcessMessages();
    };
    auto* repeating = button(10);
    repeating->SetAllowTimer(true);
    ButtonLog log;
    repeating->OnClick = TNotifyEvent(&log, &ButtonLog::Clicked);
    show();
    backend.MouseDown(form->Handle(), {20, 20});
    Application->ProcessMessages();
    wait(499);
    EXPECT_EQ(log.clicks, 0);
    wait(1);
    EXPECT_EQ(log.clicks, 1);
    wait(99);
    EXPECT_EQ(log.clicks, 1);
    wait(1);
    EXPECT_EQ(log.clicks, 2);
    wait(100);
    EXPECT_EQ(log.clicks, 3);
    backend.MouseUp(form->Handle(), {20, 20});
    Application->ProcessMessages();
    EXPECT_EQ(log.clicks, 4) << "the release inside clicks once more";
    wait(500);
    EXPECT_EQ(log.clicks, 4);
    backend.UseSteppedTime(false);
}

} // namespace
