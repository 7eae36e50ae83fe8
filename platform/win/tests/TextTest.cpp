#include "platform/win/TextOut.h"

#include "TestCanvas.h"
#include "platform/win/DrawText.h"
#include "platform/win/FontFace.h"
#include "platform/win/Fonts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include <fontconfig/fontconfig.h>

namespace {

HFONT makeFont(const char* face, int height, int weight = FW_NORMAL, bool underline = false,
               int escapement = 0) {
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfUnderline = underline;
    logFont.lfEscapement = escapement;
    std::strcpy(logFont.lfFaceName, face);
    return CreateFontIndirectA(&logFont);
}

// Courier New at 13 pixels: cells of 8 x 15 pixels, ascent 11.
constexpr int cellWidth = 8, cellHeight = 15, cellAscent = 11;

struct TextCanvas : TestCanvas {
    explicit TextCanvas(int width, int height, HFONT font = makeFont("Courier New", -13))
        : TestCanvas(width, height), FontSelection(DC, font) {}
    Selected FontSelection;
};

} // namespace

TEST(Fonts, WindowsFaceNamesGetMetricCompatibleMetrics) {
    struct Case {
        const char* face;
        int height, weight;
        LONG cellHeight, ascent, averageWidth;
        int widthOfM;
        bool fixedPitch;
    };
    const Case cases[] = {
        {"Courier New", -13, FW_NORMAL, 15, 11, 8, 8, true},
        {"Courier New", -13, FW_BOLD, 15, 11, 8, 8, true},
        {"Arial", -11, FW_NORMAL, 12, 10, 5, 9, false},
        {"Tahoma", -11, FW_NORMAL, 12, 10, 5, 9, false},
        {"MS Sans Serif", -11, FW_NORMAL, 12, 10, 5, 9, false},
        {"Times New Roman", -16, FW_NORMAL, 17, 14, 6, 14, false},
        {"Arial", 16, FW_NORMAL, 16, 13, 6, 12, false},
    };
    TestCanvas canvas(1, 1);
    for (const Case& c : cases) {
        Selected font(canvas.DC, makeFont(c.face, c.height, c.weight));
        TEXTMETRICA metrics;
        ASSERT_TRUE(GetTextMetricsA(canvas.DC, &metrics));
        EXPECT_EQ(metrics.tmHeight, c.cellHeight) << c.face << " " << c.height;
        EXPECT_EQ(metrics.tmAscent, c.ascent) << c.face;
        EXPECT_EQ(metrics.tmAveCharWidth, c.averageWidth) << c.face;
        EXPECT_EQ((metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0, c.fixedPitch) << c.face;
        EXPECT_EQ(metrics.tmWeight, c.weight >= FW_BOLD ? FW_BOLD : FW_NORMAL);
        // A negative height is the character height, a positive one the cell height.
        if (c.height < 0) {
            EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, -c.height) << c.face;
        }
        int width = 0;
        GetCharWidth32A(canvas.DC, 'M', 'M', &width);
        EXPECT_EQ(width, c.widthOfM) << c.face;
    }
}

TEST(Fonts, MetricsAreNeverZero) {
    TestCanvas canvas(1, 1);
    for (int height : {0, -1, 1}) {
        Selected font(canvas.DC, makeFont("No Such Face Anywhere", height));
        TEXTMETRICW metrics;
        ASSERT_TRUE(GetTextMetricsW(canvas.DC, &metrics));
        EXPECT_GT(metrics.tmHeight, 0);
        EXPECT_GT(metrics.tmAscent, 0);
        EXPECT_GT(metrics.tmAveCharWidth, 0);
        SIZE size;
        GetTextExtentPoint32W(canvas.DC, u"x", 1, &size);
        EXPECT_GT(size.cy, 0);
    }
    char face[LF_FACESIZE];
    Selected font(canvas.DC, makeFont("Courier New", -13));
    EXPECT_EQ(GetTextFaceA(canvas.DC, LF_FACESIZE, face), 11);
    EXPECT_STREQ(face, "Courier New");
}

TEST(Fonts, ExtentsCountExtraSpacingAndAbcWidthsAddUp) {
    TextCanvas canvas(1, 1, makeFont("Arial", -13));
    SIZE plain, spaced;
    GetTextExtentPoint32A(canvas.DC, "Wide", 4, &plain);
    SetTextCharacterExtra(canvas.DC, 3);
    GetTextExtentPoint32A(canvas.DC, "Wide", 4, &spaced);
    EXPECT_EQ(spaced.cx, plain.cx + 12);
    EXPECT_EQ(spaced.cy, plain.cy);
    ABC abc[4];
    int widths[4];
    ASSERT_TRUE(GetCharABCWidthsA(canvas.DC, 'A', 'D', abc));
    ASSERT_TRUE(GetCharWidth32A(canvas.DC, 'A', 'D', widths));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(abc[i].abcA + static_cast<int>(abc[i].abcB) + abc[i].abcC, widths[i]);
    // 8-bit text is Windows-1252: 0x80 is the euro sign.
    SIZE euroAnsi, euroWide;
    GetTextExtentPoint32A(canvas.DC, "\x80", 1, &euroAnsi);
    GetTextExtentPoint32W(canvas.DC, u"\u20AC", 1, &euroWide);
    EXPECT_EQ(euroAnsi, euroWide);
    EXPECT_FALSE(GetCharWidth32A(canvas.DC, 'A', 0x100, widths));
}

TEST(TextOutput, SpacingArraysPlaceEveryCharacter) {
    TextCanvas canvas(80, 20);
    const INT distances[] = {20, 12, 30, 8};
    ExtTextOutA(canvas.DC, 2, 0, 0, nullptr, "IIII", 4, distances);
    TestCanvas each(80, 20);
    Selected eachFont(each.DC, makeFont("Courier New", -13));
    for (int start : {2, 22, 34, 64})
        TextOutA(each.DC, start, 0, "I", 1);
    EXPECT_EQ(each.Picture(), canvas.Picture());
    // The DC's extra spacing applies only without a spacing array.
    SetTextCharacterExtra(canvas.DC, 5);
    canvas.Fill(RGB(255, 255, 255));
    ExtTextOutA(canvas.DC, 2, 0, 0, nullptr, "IIII", 4, distances);
    EXPECT_EQ(each.Picture(), canvas.Picture());
}

TEST(TextOutput, OpaqueRectanglesClippingAndBackgroundModes) {
    TextCanvas canvas(60, 20);
    SetBkColor(canvas.DC, RGB(0, 0, 255));
    RECT box{4, 2, 20, 12};
    ExtTextOutA(canvas.DC, 4, 0, ETO_OPAQUE | ETO_CLIPPED, &box, "MMMMMM", 6, nullptr);
    EXPECT_EQ(canvas.InkBox(), box) << "the text is clipped to the rectangle, which is filled";
    EXPECT_EQ(canvas.At(19, 11), RGB(0, 0, 255));

    canvas.Fill(RGB(255, 255, 255));
    TextOutA(canvas.DC, 3, 2, "ab", 2);
    EXPECT_EQ(canvas.InkBox(), (RECT{3, 2, 3 + 2 * cellWidth, 2 + cellHeight}))
        << "opaque mode fills the cells";
    canvas.Fill(RGB(255, 255, 255));
    SetBkMode(canvas.DC, TRANSPARENT);
    TextOutA(canvas.DC, 3, 2, "ab", 2);
    EXPECT_NE(canvas.InkBox(), RECT{});
    for (int x = 0; x < canvas.Width; ++x)
        for (int y = 0; y < canvas.Height; ++y)
            EXPECT_NE(canvas.At(x, y), RGB(0, 0, 255));
}

TEST(TextOutput, AlignmentMovesTheReferencePoint) {
    TextCanvas canvas(100, 40);
    SetBkMode(canvas.DC, OPAQUE);
    SetBkColor(canvas.DC, RGB(0, 0, 0));
    SetTextAlign(canvas.DC, TA_RIGHT | TA_BASELINE);
    TextOutA(canvas.DC, 50, 20, "abc", 3);
    EXPECT_EQ(canvas.InkBox(), (RECT{50 - 3 * cellWidth, 20 - cellAscent, 50, 20 - cellAscent + cellHeight}));

    canvas.Fill(RGB(255, 255, 255));
    SetTextAlign(canvas.DC, TA_CENTER | TA_BOTTOM);
    TextOutA(canvas.DC, 50, 30, "abcd", 4);
    EXPECT_EQ(canvas.InkBox(), (RECT{50 - 2 * cellWidth, 30 - cellHeight, 50 + 2 * cellWidth, 30}));

    SetTextAlign(canvas.DC, TA_UPDATECP);
    MoveToEx(canvas.DC, 5, 0, nullptr);
    TextOutA(canvas.DC, 999, 999, "ab", 2);
    TextOutA(canvas.DC, 999, 999, "c", 1);
    POINT position;
    GetCurrentPositionEx(canvas.DC, &position);
    EXPECT_EQ(position, (POINT{5 + 3 * cellWidth, 0}));
}

TEST(TextOutput, UnderlineRunsUnderTheWholeText) {
    TextCanvas canvas(60, 20, makeFont("Courier New", -13, FW_NORMAL, true));
    SetBkMode(canvas.DC, TRANSPARENT);
    TextOutA(canvas.DC, 2, 0, "a b", 3);
    int underlineRow = -1;
    for (int y = cellAscent; y < cellHeight && underlineRow < 0; ++y)
        if (canvas.At(2, y) == RGB(0, 0, 0) && canvas.At(2 + 3 * cellWidth - 1, y) == RGB(0, 0, 0))
            underlineRow = y;
    ASSERT_GT(underlineRow, 0);
    for (int x = 2; x < 2 + 3 * cellWidth; ++x)
        EXPECT_EQ(canvas.At(x, underlineRow), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(1, underlineRow), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(2 + 3 * cellWidth, underlineRow), RGB(255, 255, 255));
}

TEST(TextOutput, GlyphsAreRenderedOncePerFont) {
    // A size no other test draws in, so that "Q" has not been rendered before.
    constexpr int ownHeight = -17;
    TextCanvas canvas(200, 20, makeFont("Courier New", ownHeight));
    TextOutA(canvas.DC, 0, 0, "cache me", 8);
    std::size_t rendered = GlyphRenderCount();
    for (int i = 0; i < 5; ++i)
        TextOutA(canvas.DC, 0, 0, "me cache", 8);
    EXPECT_EQ(GlyphRenderCount(), rendered);
    TextOutA(canvas.DC, 0, 0, "Q", 1);
    EXPECT_EQ(GlyphRenderCount(), rendered + 1);
    // Another font handle with the same look shares the cache.
    Selected same(canvas.DC, makeFont("Courier New", ownHeight));
    TextOutA(canvas.DC, 0, 0, "cache Q", 7);
    EXPECT_EQ(GlyphRenderCount(), rendered + 1);
}

// A character the face lacks is drawn from an installed font that has it:
// two different ideographs must not come out as the same empty box.
TEST(TextOutput, CharactersTheFaceLacksComeFromAnotherFont) {
    FcCharSet* ideograph = FcCharSetCreate();
    FcCharSetAddChar(ideograph, 0x4E2D);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddCharSet(pattern, FC_CHARSET, ideograph);
    FcObjectSet* files = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* covering = FcFontList(nullptr, pattern, files);
    const bool installed = covering && covering->nfont > 0;
    if (covering) FcFontSetDestroy(covering);
    FcObjectSetDestroy(files);
    FcPatternDestroy(pattern);
    FcCharSetDestroy(ideograph);
    if (!installed) GTEST_SKIP() << "no installed font has U+4E2D";

    auto draw = [](const std::u16string& text) {
        TextCanvas canvas(40, 30, makeFont("Arial", -20));
        TextOutW(canvas.DC, 2, 2, reinterpret_cast<LPCWSTR>(text.c_str()), static_cast<int>(text.size()));
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) pixels.push_back(canvas.At(x, y));
        return pixels;
    };
    EXPECT_NE(draw(u"\u4E2D"), draw(u"\u6587"));
    EXPECT_NE(draw(u"\u4E2D"), draw(u""));
}

TEST(TextOutput, EscapementRotatesTheBaseline) {
    TextCanvas canvas(40, 80, makeFont("Arial", -13, FW_NORMAL, false, 900));
    SetBkMode(canvas.DC, TRANSPARENT);
    TextOutA(canvas.DC, 5, 70, "Upwards", 7);
    RECT ink = canvas.InkBox();
    EXPECT_GT(ink.Bottom - ink.Top, 2 * (ink.Right - ink.Left));
    EXPECT_LE(ink.Bottom, 71);
    EXPECT_GE(ink.Left, 5);
}

TEST(DrawText, MeasuresWithCalcRect) {
    struct Case {
        const char* text;
        UINT format;
        int width;
        RECT expected;
        int height;
    };
    const Case cases[] = {
        {"Hello", DT_SINGLELINE, 100, {0, 0, 5 * cellWidth, cellHeight}, cellHeight},
        {"aaa bbb ccc", DT_WORDBREAK, 60, {0, 0, 7 * cellWidth, 2 * cellHeight}, 2 * cellHeight},
        {"abcdefghij", DT_WORDBREAK, 40, {0, 0, 10 * cellWidth, cellHeight}, cellHeight},
        {"a\r\nbb\ncc c\rd", 0, 10, {0, 0, 4 * cellWidth, 4 * cellHeight}, 4 * cellHeight},
        {"a\r\nbb", DT_SINGLELINE, 100, {0, 0, 5 * cellWidth, cellHeight}, cellHeight},
        {"&File", DT_SINGLELINE, 100, {0, 0, 4 * cellWidth, cellHeight}, cellHeight},
        {"&File", DT_SINGLELINE | DT_NOPREFIX, 100, {0, 0, 5 * cellWidth, cellHeight}, cellHeight},
        {"a&&b", DT_SINGLELINE, 100, {0, 0, 3 * cellWidth, cellHeight}, cellHeight},
        {"a\tb", DT_SINGLELINE | DT_EXPANDTABS, 100, {0, 0, 9 * cellWidth, cellHeight}, cellHeight},
        {"abcdefghij", DT_SINGLELINE | DT_END_ELLIPSIS, 50, {0, 0, 6 * cellWidth, cellHeight}, cellHeight},
        {"", DT_SINGLELINE, 100, {0, 0, 0, 0}, 0},
    };
    TextCanvas canvas(1, 1);
    for (const Case& c : cases) {
        RECT rect{0, 0, c.width, 1};
        EXPECT_EQ(DrawTextA(canvas.DC, c.text, -1, &rect, c.format | DT_CALCRECT), c.height) << c.text;
        EXPECT_EQ(rect, c.expected) << c.text;
    }
    RECT offset{10, 20, 30, 21};
    DrawTextW(canvas.DC, u"wide", 4, &offset, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(offset, (RECT{10, 20, 10 + 4 * cellWidth, 20 + cellHeight}));
}

TEST(DrawText, PlacesLinesByTheAlignmentFlags) {
    struct Case {
        UINT format;
        RECT cells; // where the opaque cells of "ab" must land
        int result;
    };
    const RECT area{0, 0, 100, 45};
    const Case cases[] = {
        {DT_SINGLELINE, {0, 0, 16, 15}, 15},
        {DT_SINGLELINE | DT_CENTER, {42, 0, 58, 15}, 15},
        {DT_SINGLELINE | DT_RIGHT, {84, 0, 100, 15}, 15},
        {DT_SINGLELINE | DT_VCENTER, {0, 15, 16, 30}, 30},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, {84, 30, 100, 45}, 45},
        {DT_SINGLELINE | DT_CENTER | DT_RTLREADING, {42, 0, 58, 15}, 15},
        {DT_VCENTER, {0, 0, 16, 15}, 15}, // vertical centring needs a single line
    };
    // With DT_TABSTOP the second byte of the format is the tab width in characters.
    TextCanvas tabs(100, 20);
    SetBkColor(tabs.DC, RGB(0, 0, 0));
    RECT tabArea{0, 0, 100, 20};
    DrawTextA(tabs.DC, "a\tb", -1, &tabArea, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (2 << 8));
    EXPECT_EQ(tabs.InkBox(), (RECT{0, 0, 3 * cellWidth, cellHeight}));
    for (const Case& c : cases) {
        TextCanvas canvas(100, 45);
        SetBkColor(canvas.DC, RGB(0, 0, 0));
        RECT rect = area;
        EXPECT_EQ(DrawTextA(canvas.DC, "ab", 2, &rect, c.format), c.result) << std::hex << c.format;
        EXPECT_EQ(canvas.InkBox(), c.cells) << std::hex << c.format;
    }
}

TEST(DrawText, WrapsClipsShortensAndUnderlinesPrefixes) {
    TextCanvas canvas(60, 40);
    SetBkColor(canvas.DC, RGB(0, 0, 0));
    RECT rect{0, 0, 60, 40};
    EXPECT_EQ(DrawTextA(canvas.DC, "aaa bbb ccc", -1, &rect, DT_WORDBREAK), 2 * cellHeight);
    EXPECT_EQ(canvas.InkBox(), (RECT{0, 0, 7 * cellWidth, 2 * cellHeight}));

    canvas.Fill(RGB(255, 255, 255));
    RECT narrow{0, 0, 20, 15};
    DrawTextA(canvas.DC, "abcdefg", -1, &narrow, DT_SINGLELINE);
    EXPECT_EQ(canvas.InkBox(), narrow);
    canvas.Fill(RGB(255, 255, 255));
    DrawTextA(canvas.DC, "abcdefg", -1, &narrow, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(canvas.InkBox(), (RECT{0, 0, 7 * cellWidth, cellHeight}));

    canvas.Fill(RGB(255, 255, 255));
    SetBkMode(canvas.DC, TRANSPARENT);
    RECT fifty{0, 0, 50, 15};
    DrawTextA(canvas.DC, "abcdefghij", -1, &fifty, DT_SINGLELINE | DT_END_ELLIPSIS);
    TestCanvas reference(60, 40);
    Selected font(reference.DC, makeFont("Courier New", -13));
    SetBkMode(reference.DC, TRANSPARENT);
    TextOutA(reference.DC, 0, 0, "abc...", 6);
    EXPECT_EQ(canvas.Picture(), reference.Picture());

    // "&F" underlines the F; DT_HIDEPREFIX drops the "&" without the line.
    auto underlinePixels = [&](UINT format) {
        canvas.Fill(RGB(255, 255, 255));
        RECT box{0, 0, 60, 40};
        DrawTextA(canvas.DC, "&F", -1, &box, DT_SINGLELINE | format);
        int count = 0;
        for (int x = 0; x < cellWidth; ++x)
            for (int y = cellAscent; y < cellHeight; ++y)
                count +=
                    canvas.At(x, y) == RGB(0, 0, 0) && canvas.At(x + (x < 4 ? 1 : -1), y) == RGB(0, 0, 0);
        return count;
    };
    EXPECT_GE(underlinePixels(0), cellWidth);
    EXPECT_EQ(underlinePixels(DT_HIDEPREFIX), 0);
}
