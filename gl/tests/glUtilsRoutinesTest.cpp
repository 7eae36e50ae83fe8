// The small routines of the utility unit: strings, rectangles, boxes,
// justified text, keys, window images, component text and transliteration.
#include "gl/glUtils.h"
#include "gl/tests/glDrawingSupport.h"
#include "gl/tests/glTestSupport.h"
#include "platform/core/FileUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/win/Fonts.h"

#include <cmath>
#include <cstring>

namespace {

constexpr TColor Marker = 0x010203;

TEST(UtilityRoutines, NumbersAndStrings) {
    EXPECT_EQ(MinSingle(1.5f, 2.5f), 1.5f);
    EXPECT_EQ(MaxSingle(1.5f, 2.5f), 2.5f);
    EXPECT_TRUE(IsEven(-4));
    EXPECT_FALSE(IsEven(7));
    Integer a = 1, b = 2;
    SwapInt(a, b);
    EXPECT_EQ(a * 10 + b, 21);
    EXPECT_EQ(Spaces(3), "   ");
    EXPECT_EQ(Spaces(0), "");
    EXPECT_EQ(DupChar('x', 0x10002), "xx");
    EXPECT_EQ(DupStr("ab", 3), "ababab");
    EXPECT_EQ(ExpandString("abcde", 3), "abcde");
    EXPECT_EQ(ExpandString("ab", 4), "ab  ");
    EXPECT_EQ(IIF<AnsiString>(true, "yes", "no"), "yes");
}

TEST(UtilityRoutines, StrPosExtSearchesPastZeroBytes) {
    const char text[] = {'a', '\0', 'b', 'c', 'd'};
    EXPECT_EQ(StrPosExt(text, "cd", 5), text + 3);
    EXPECT_EQ(StrPosExt(text, "cd", 4), nullptr);
    EXPECT_EQ(StrPosExt(text, "", 5), nullptr);
    EXPECT_EQ(StrPosExt(nullptr, "a", 5), nullptr);
    EXPECT_EQ(StrPosExt(text, nullptr, 5), nullptr);
    EXPECT_EQ(StrPosExt(text, "abcdef", 5), nullptr);
}

TEST(UtilityRoutines, RectanglesAndCorners) {
    const TRect rect{10, 10, 20, 20};
    EXPECT_FALSE(IsPointInRect({10, 15}, rect));
    EXPECT_FALSE(IsPointInRect({15, 10}, rect));
    EXPECT_TRUE(IsPointInRect({11, 11}, rect));
    EXPECT_EQ(RectW(rect), 10);
    EXPECT_EQ(RectH({0, 5, 0, 12}), 7);
    TBitmap bitmap;
    EXPECT_FALSE(IsItAFilledBitmap(&bitmap));
    EXPECT_EQ(GetTransparentColor(&bitmap, ftcLeftTopPixel), 0);
    bitmap.SetSize(3, 2);
    bitmap.Canvas()->SetPixels(0, 0, RGB(1, 0, 0));
    bitmap.Canvas()->SetPixels(0, 1, RGB(2, 0, 0));
    bitmap.Canvas()->SetPixels(2, 0, RGB(3, 0, 0));
    bitmap.Canvas()->SetPixels(2, 1, RGB(4, 0, 0));
    EXPECT_TRUE(IsItAFilledBitmap(&bitmap));
    const struct {
        TglAutoTransparentColor corner;
        TColor color;
    } cases[] = {{ftcUser, 0},
                 {ftcLeftTopPixel, RGB(1, 0, 0)},
                 {ftcLeftBottomPixel, RGB(2, 0, 0)},
                 {ftcRightTopPixel, RGB(3, 0, 0)},
                 {ftcRightBottomPixel, RGB(4, 0, 0)}};
    for (const auto& each : cases)
        EXPECT_EQ(GetTransparentColor(&bitmap, each.corner), each.color) << each.corner;
}

TEST(UtilityRoutines, DevicesAndFonts) {
    Surface target(1, 1, Marker);
    const Integer perInch = GetDeviceCaps(target.DC(), LOGPIXELSX);
    EXPECT_EQ(SantimsToPixels(target.DC(), true, 1.0f),
              static_cast<Integer>(std::lrint(perInch * 1.541f * 2.54f / 10)));
    EXPECT_EQ(IsSmallFonts(), GetDeviceCaps(target.DC(), LOGPIXELSX) == 96);
    EXPECT_GE(SystemColorDepth(), 16);
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-20);
    font.SetStyle({fsBold, fsUnderline});
    font.SetPitch(fpFixed);
    HFONT rotated = CreateRotatedFont(&font, 900);
    LOGFONTA logFont{};
    GetObjectA(rotated, sizeof(logFont), &logFont);
    EXPECT_EQ(logFont.lfHeight, -20);
    EXPECT_EQ(logFont.lfEscapement, 900);
    EXPECT_EQ(logFont.lfOrientation, 0);
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_TRUE(logFont.lfUnderline);
    EXPECT_FALSE(logFont.lfItalic);
    EXPECT_EQ(logFont.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_STREQ(logFont.lfFaceName, "Arial");
    DeleteObject(rotated);
}

TEST(UtilityRoutines, FileTypesByExtension) {
    const struct {
        const char* name;
        TglFileType type;
    } cases[] = {{"a.gif", fftGif}, {"b.JPG", fftJpeg},      {"c.jpeg", fftJpeg},
                 {"d.Bmp", fftBmp}, {"e.png", fftUndefined}, {"noextension", fftUndefined}};
    for (const auto& each : cases)
        EXPECT_EQ(GetFileType(each.name), each.type) << each.name;
    EXPECT_EQ(ExtractFileExt(CreateIniFileName()), ".ini");
}

TEST(UtilityRoutines, WaveResourcesNeedTheResourceAndASoundDevice) {
    EXPECT_FALSE(PlayWaveResource("NO_SUCH_SOUND"));
    // A bitmap is not a data resource.
    EXPECT_FALSE(PlayWaveResource("DropDown"));
}

TEST(UtilityRoutines, TransliterationBothWays) {
    const struct {
        const char* text;
        bool toLatin;
        const char* expected;
    } cases[] = {
        {"\xD9\xF3\xEA\xE0", true, "Shchuka"},         // Щука
        {"Chai", false, "\xD7\xE0\xE8"},               // Чаи
        {"\xC6\xE8\xEC\xFB", true, "Gimy"},            // Жимы: Ж has the single letter G
        {"\xDA\xFA\xDC\xFC", true, "\"\"''"},          // hard and soft signs
        {"QWXqwx 123", false, "QWXqwx 123"},           // no Cyrillic letter: they stay
        {"shch", false, "\xF8\xF7"},                   // "ch" is replaced before "shch"
        {"Moskva", false, "\xCC\xEE\xF1\xEA\xE2\xE0"}, // Москва
    };
    for (const auto& each : cases)
        EXPECT_EQ(Transliterate(each.text, each.toLatin), AnsiString(each.expected)) << each.text;
}

TEST(UtilityRoutines, DrawBoxShrinksByStyle) {
    const struct {
        TglBoxStyle style;
        TRect inside;
        bool draws;
    } cases[] = {
        {fbsFlat, {0, 0, 20, 20}, false},         {fbsStatusControl, {0, 0, 20, 20}, false},
        {fbsCtl3D, {2, 2, 18, 19}, false},        {fbsRecessed, {3, 3, 19, 18}, true},
        {fbsRaised, {3, 3, 16, 16}, true},        {fbsRaisedFrame, {5, 5, 16, 16}, true},
        {fbsRecessedFrame, {5, 5, 16, 16}, true},
    };
    for (const auto& each : cases) {
        Surface target(20, 20, Marker);
        TRect rect{0, 0, 20, 20};
        DrawBox(target.DC(), rect, each.style);
        EXPECT_EQ(rect, each.inside) << each.style;
        const bool drew = target.Picture({{Marker, '.'}}).find('?') != std::string::npos;
        EXPECT_EQ(drew, each.draws) << each.style;
    }
    // The raised box: its outer edge lies two pixels in, highlight above shadow.
    Surface raised(20, 20, Marker);
    TRect rect{0, 0, 20, 20};
    DrawBox(raised.DC(), rect, fbsRaised);
    EXPECT_EQ(raised.Pixel(1, 1), Marker);
    EXPECT_EQ(raised.Pixel(17, 17), static_cast<TColor>(ColorToRGB(cl3DDkShadow)));
}

TEST(UtilityRoutines, JustifiedTextFillsEveryLineButTheLast) {
    Surface target(120, 80, RGB(255, 255, 255));
    TCanvas* canvas = target.Bitmap().Canvas();
    canvas->Font()->SetHeight(-12);
    canvas->Brush()->SetStyle(bsClear);
    const TRect rect{0, 0, 100, 80};
    DrawTextExtAligned(canvas, "one two three four five six seven eight nine ten eleven", rect, ftaBroadwise,
                       false);
    const Integer lineHeight = canvas->TextHeight("one");
    auto rightmostInk = [&](Integer Line) {
        Integer rightmost = -1;
        for (Integer y = Line * lineHeight; y < (Line + 1) * lineHeight; ++y)
            for (Integer x = 0; x < target.Width(); ++x)
                if (target.Pixel(x, y) != RGB(255, 255, 255)) rightmost = std::max(rightmost, x);
        return rightmost;
    };
    Integer lines = 0;
    while (rightmostInk(lines) >= 0)
        ++lines;
    ASSERT_GE(lines, 3);
    for (Integer line = 0; line + 1 < lines; ++line) {
        EXPECT_GE(rightmostInk(line), 95) << line;
        EXPECT_LT(rightmostInk(line), 100) << line;
    }
    EXPECT_LT(rightmostInk(lines - 1), 90);
    // Left, right and centred lines go through the platform's DrawText.
    Surface right(120, 20, RGB(255, 255, 255));
    right.Bitmap().Canvas()->Brush()->SetStyle(bsClear);
    DrawTextExtAligned(right.Bitmap().Canvas(), "x", {0, 0, 100, 20}, ftaRightJustify, false);
    EXPECT_NE(right.Pixel(98, 8) & 0xFFFFFF, 0xFFFFFF);
}

TEST(UtilityRoutines, TextInRectDrawsNothingWithoutAFont) {
    Surface target(40, 20, Marker);
    DrawTextInRect(target.DC(), {0, 0, 40, 20}, "Ab", fstRaised, nullptr, 0);
    EXPECT_EQ(target.Picture({{Marker, '.'}}).find('?'), std::string::npos);
    TFont font;
    font.SetColor(RGB(200, 0, 0));
    DrawTextInRectWithAlign(target.DC(), {0, 0, 40, 20}, "Ab", fhaCenter, fvaCenter, fstShadow, &font, 0);
    EXPECT_NE(target.Picture({{Marker, '.'}}).find('?'), std::string::npos);
}

class WindowRoutines : public GlVisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(200, 150);
};

TEST_F(WindowRoutines, ImagesOfControlsAndWhatLiesUnderThem) {
    form->SetColor(clWhite);
    auto* panel = child<TBox>(form.get(), alNone, {10, 10, 100, 80});
    panel->SetColor(clBlue);
    auto* mark = child<TMark>(panel, alNone, {20, 20, 10, 10});
    mark->SetColor(clRed);
    auto* above = child<TBox>(panel, alNone, {60, 20, 20, 20});
    above->SetColor(clLime);
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(FindControlAtPt<TControl>(panel, {25, 25}), mark);
    EXPECT_EQ(FindControlAtPt<TWinControl>(panel, {25, 25}), nullptr);
    EXPECT_EQ(FindControlAtPt<TBox>(panel, {65, 25}), above);
    EXPECT_EQ(glUtils::GetParentForm(mark), form.get());

    Surface image(100, 80, Marker);
    GetWindowImage(panel, true, true, image.DC());
    EXPECT_EQ(image.Pixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(image.Pixel(25, 25), RGB(255, 0, 0));
    EXPECT_EQ(image.Pixel(65, 25), RGB(0, 255, 0));
    Surface withoutWindows(100, 80, Marker);
    GetWindowImage(panel, true, false, withoutWindows.DC());
    EXPECT_EQ(withoutWindows.Pixel(65, 25), RGB(0, 0, 255));

    // Under the lime box: the panel and the red mark, which comes before it.
    above->SetBounds(15, 15, 20, 20);
    Surface under(20, 20, Marker);
    GetParentImageRect(above, {15, 15, 35, 35}, under.DC());
    EXPECT_EQ(under.Pixel(1, 1), RGB(0, 0, 255));
    EXPECT_EQ(under.Pixel(10, 10), RGB(255, 0, 0));
}

TEST_F(WindowRoutines, TypingSendsTheKeyOfEachCharacter) {
    auto* edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(0, 0, 150, 21);
    form->Show();
    edit->SetFocus();
    Application->ProcessMessages();
    TypeStringOnKeyboard("Ab1!x Z");
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "Ab1!x Z");
}

TEST_F(WindowRoutines, ComponentTextRoundTripsThroughStringsAndFiles) {
    TPanel source(nullptr);
    source.SetName("Source");
    source.SetCaption("Hello");
    source.SetBounds(1, 2, 33, 44);
    const AnsiString text = ComponentToString(&source);
    TPanel copy(nullptr);
    StringToComponent(&copy, text);
    EXPECT_EQ(copy.Caption(), "Hello");
    EXPECT_EQ(copy.Width(), 33);
    const AnsiString file = GetTempFolder() + "gl-component.txt";
    source.SetCaption("From file");
    SaveComponentToTextFile(&source, file);
    TPanel loaded(nullptr);
    LoadComponentFromTextFile(&loaded, file);
    EXPECT_EQ(loaded.Caption(), "From file");
    DeleteFile(file);
    EXPECT_THROW(LoadComponentFromTextFile(&loaded, file), Exception);
}

} // namespace
