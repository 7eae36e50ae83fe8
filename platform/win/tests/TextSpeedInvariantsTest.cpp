// Exact pixels of text output. Each scene is drawn over a many-coloured
// backdrop and the whole surface is reduced to a fingerprint; the table holds
// the fingerprints of a build known to be right, so that work on the speed of
// the text paths can be shown to leave every pixel as it was.
#include "platform/win/TextOut.h"

#include "TestCanvas.h"
#include "platform/win/DrawText.h"
#include "platform/win/FontFace.h"
#include "platform/win/Fonts.h"
#include "platform/win/Regions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int sceneWidth = 200, sceneHeight = 80;
constexpr std::uint64_t fnvOffset = 0xcbf29ce484222325ull, fnvPrime = 0x100000001b3ull;

struct FontLook {
    const char* face;
    int height;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int escapement = 0;
    BYTE quality = DEFAULT_QUALITY;
};

LOGFONTA logFontOf(const FontLook& look) {
    LOGFONTA logFont{};
    logFont.lfHeight = look.height;
    logFont.lfWeight = look.weight;
    logFont.lfItalic = look.italic;
    logFont.lfUnderline = look.underline;
    logFont.lfStrikeOut = look.strikeOut;
    logFont.lfEscapement = look.escapement;
    logFont.lfQuality = look.quality;
    std::strcpy(logFont.lfFaceName, look.face);
    return logFont;
}

HFONT makeFont(const FontLook& look) {
    LOGFONTA logFont = logFontOf(look);
    return CreateFontIndirectA(&logFont);
}

void mix(std::uint64_t& hash, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        hash ^= (value >> shift) & 0xFF;
        hash *= fnvPrime;
    }
}

std::uint64_t fingerprint(const PixelSurface& surface) {
    std::uint64_t hash = fnvOffset;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            mix(hash, surface.At(x, y));
    return hash;
}

// Every pixel different from its neighbours in all three channels, so that a
// blend that mixes up channels or rounds differently shows; black and white
// stripes on a monochrome surface.
void paintBackdrop(PixelSurface& surface) {
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) {
            Pixel colour =
                static_cast<Pixel>(((x * 37 + y * 11) & 0xFF) << 16 | ((x * 5 + y * 29) & 0xFF) << 8 |
                                   ((x * 13 + y * 3 + 128) & 0xFF));
            surface.Set(x, y, surface.IsMonochrome() ? NearestMonochrome(colour) : colour);
        }
}

// Draws in `font` and deletes it afterwards.
struct WithFont : Selected {
    WithFont(HDC dc, const FontLook& look) : Selected(dc, makeFont(look)) {}
};

HRGN twoRectangles(RECT first, RECT second) {
    HRGN region = CreateRectRgnIndirect(&first);
    HRGN other = CreateRectRgnIndirect(&second);
    CombineRgn(region, region, other, RGN_OR);
    DeleteObject(other);
    return region;
}

void selectClip(HDC dc, HRGN region) {
    SelectClipRgn(dc, region);
    DeleteObject(region);
}

const FontLook courier{"Courier New", -13};
const FontLook courierBold{"Courier New", -13, FW_BOLD};
const FontLook courierItalic{"Courier New", -13, FW_NORMAL, true};
const FontLook courierBoldItalic{"Courier New", -13, FW_BOLD, true};
const FontLook courierUnderlined{"Courier New", -13, FW_NORMAL, false, true};
const FontLook arial{"Arial", -11};
const FontLook arialLarge{"Arial", -40, FW_BOLD, false, true, true};
const FontLook timesStruck{"Times New Roman", -16, FW_NORMAL, false, false, true};
const FontLook arialUpwards{"Arial", -13, FW_NORMAL, false, true, true, 900};
const FontLook arialSlanted{"Arial", -15, FW_BOLD, true, true, false, 450};
const FontLook courierJagged{"Courier New", -13, FW_NORMAL, false, true, false, 0, NONANTIALIASED_QUALITY};

// A row of highlighted tokens the way the editor paints them: a font, colours
// and an opaque cell rectangle per token, with a spacing array.
void drawTokenRows(HDC dc) {
    struct Token {
        const char* text;
        const FontLook* look;
        COLORREF foreground, background;
    };
    const Token tokens[] = {
        {"function", &courierBold, RGB(0, 0, 128), RGB(255, 255, 255)},
        {" ", &courier, RGB(0, 0, 0), RGB(255, 255, 255)},
        {"showTitle", &courier, RGB(200, 30, 90), RGB(255, 255, 0)},
        {"(text)", &courierItalic, RGB(0, 128, 0), RGB(255, 255, 255)},
        {"{var", &courierBoldItalic, RGB(128, 0, 128), RGB(255, 255, 0)},
        {" title", &courierUnderlined, RGB(0, 128, 128), RGB(255, 255, 255)},
        {"=null;", &courierBold, RGB(128, 0, 0), RGB(255, 255, 0)},
    };
    const std::vector<INT> distances(16, 8);
    for (int row = 0; row < 3; ++row) {
        int column = row; // a different cut for every row
        for (const Token& token : tokens) {
            WithFont font(dc, *token.look);
            SetTextColor(dc, token.foreground);
            SetBkColor(dc, token.background);
            int length = static_cast<int>(std::strlen(token.text));
            RECT cells{column * 8, row * 15, (column + length) * 8, (row + 1) * 15};
            ExtTextOutA(dc, cells.Left, cells.Top, ETO_OPAQUE, &cells, token.text, static_cast<UINT>(length),
                        distances.data());
            column += length;
        }
    }
}

void drawOpaqueRectangles(HDC dc) {
    WithFont font(dc, arial);
    SetBkColor(dc, RGB(10, 200, 240));
    SetTextColor(dc, RGB(90, 20, 0));
    RECT narrow{10, 4, 40, 10};
    ExtTextOutA(dc, 8, 2, ETO_OPAQUE, &narrow, "Narrow rectangle", 16, nullptr);
    RECT wide{0, 20, 190, 45};
    ExtTextOutA(dc, 30, 25, ETO_OPAQUE, &wide, "Wide rectangle, opaque mode", 27, nullptr);
    SetBkMode(dc, TRANSPARENT);
    RECT aside{150, 50, 195, 75};
    ExtTextOutA(dc, 5, 55, ETO_OPAQUE, &aside, "Transparent beside", 18, nullptr);
}

void drawClippedToTheRectangle(HDC dc) {
    WithFont font(dc, courierBoldItalic);
    SetBkColor(dc, RGB(250, 240, 200));
    SetTextColor(dc, RGB(30, 60, 200));
    RECT box{13, 5, 97, 14};
    ExtTextOutA(dc, 5, 2, ETO_OPAQUE | ETO_CLIPPED, &box, "Clipped across the glyphs", 25, nullptr);
    SetBkMode(dc, TRANSPARENT);
    RECT lower{21, 30, 150, 38};
    const INT distances[] = {9, 9, 11, 7, 8, 12, 9, 9, 10, 8, 9, 9, 9, 9, 9, 9, 9};
    ExtTextOutA(dc, 18, 28, ETO_CLIPPED, &lower, "Transparent clip!", 17, distances);
}

void drawTransparently(HDC dc) {
    WithFont font(dc, timesStruck);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, 3, 3, "Struck out, see-through", 23);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, 3, 30, "Overstrike \x80 \xE9\xE8\xFC", 17);
    SetTextColor(dc, RGB(1, 254, 127));
    TextOutA(dc, 7, 55, "Odd colour", 10);
}

void drawInsideOneClipRectangle(HDC dc) {
    WithFont font(dc, courierUnderlined);
    IntersectClipRect(dc, 17, 6, 143, 52);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 200, 0));
    RECT cells{0, 0, 200, 15};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &cells, "Past both edges of the clip", 27, nullptr);
    TextOutA(dc, 10, 20, "Band crosses the clip", 21);
    const INT distances[] = {8, 8, 8, 8, 8, 8, 8, 8};
    RECT row{100, 40, 164, 55};
    ExtTextOutA(dc, 100, 40, ETO_OPAQUE, &row, "clipped!", 8, distances);
}

void drawInClipRectangles(HDC dc) {
    WithFont font(dc, courierBold);
    selectClip(dc, twoRectangles({5, 5, 70, 40}, {60, 30, 180, 70}));
    ExcludeClipRect(dc, 30, 10, 40, 60);
    SetBkColor(dc, RGB(230, 230, 250));
    SetTextColor(dc, RGB(160, 0, 40));
    const INT spread[] = {8, 20, 8, 30, 8, 8, 3, 8, 8, 8, 8, 8};
    RECT row{0, 8, 200, 23};
    ExtTextOutA(dc, 0, 8, ETO_OPAQUE, &row, "Spread apart", 12, spread);
    TextOutA(dc, 2, 35, "Through three clip pieces", 25);
    RECT box{50, 50, 120, 60};
    ExtTextOutA(dc, 45, 48, ETO_OPAQUE | ETO_CLIPPED, &box, "Clipped twice", 13, nullptr);
}

void drawInsideAnEllipse(HDC dc) {
    WithFont font(dc, courierBoldItalic);
    selectClip(dc, CreateEllipticRgn(10, 0, 190, 80));
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 255));
    for (int row = 0; row < 6; ++row)
        TextOutA(dc, 0, row * 14, "Round clip region text for rows", 31);
}

void drawFormattedText(HDC dc) {
    WithFont font(dc, arial);
    SetBkColor(dc, RGB(255, 230, 230));
    SetTextColor(dc, RGB(20, 20, 20));
    RECT wrapped{5, 2, 100, 78};
    DrawTextA(dc, "Words wrap &inside a centred box of text", -1, &wrapped, DT_WORDBREAK | DT_CENTER);
    SetBkMode(dc, TRANSPARENT);
    RECT shortened{105, 2, 195, 20};
    DrawTextA(dc, "An &ellipsis ends this line", -1, &shortened, DT_SINGLELINE | DT_END_ELLIPSIS);
    RECT bottom{105, 20, 195, 78};
    DrawTextA(dc, "Right\tand bottom", -1, &bottom, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM | DT_EXPANDTABS);
}

void drawRotatedText(HDC dc) {
    {
        WithFont font(dc, arialUpwards);
        SetBkColor(dc, RGB(200, 255, 200));
        SetTextColor(dc, RGB(0, 90, 0));
        TextOutA(dc, 10, 78, "Upwards text", 12);
    }
    WithFont font(dc, arialSlanted);
    selectClip(dc, twoRectangles({30, 0, 120, 50}, {100, 40, 200, 80}));
    SetBkColor(dc, RGB(255, 255, 200));
    SetTextColor(dc, RGB(120, 0, 160));
    RECT box{40, 5, 170, 75};
    ExtTextOutA(dc, 40, 70, ETO_OPAQUE | ETO_CLIPPED, &box, "At forty-five", 13, nullptr);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 120, 78, "Slant", 5);
}

void drawOnMonochrome(HDC dc) {
    {
        WithFont font(dc, courier);
        TextOutA(dc, 2, 2, "Monochrome opaque", 17);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutA(dc, 2, 20, "White see-through", 17);
    }
    WithFont font(dc, courierJagged);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(200, 200, 200));
    RECT row{0, 40, 120, 55};
    ExtTextOutA(dc, 4, 40, ETO_OPAQUE, &row, "Light on dark", 13, nullptr);
}

void drawWithoutAntialiasing(HDC dc) {
    WithFont font(dc, courierJagged);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 170));
    TextOutA(dc, 4, 4, "Jagged edges only", 17);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 4, 30, "No blending at all", 18);
}

void drawWithOriginsAndAlignment(HDC dc) {
    WithFont font(dc, courierItalic);
    SetViewportOrgEx(dc, 12, 7, nullptr);
    SetWindowOrgEx(dc, 5, -3, nullptr);
    SetBkColor(dc, RGB(220, 220, 255));
    SetTextColor(dc, RGB(100, 0, 0));
    SetTextAlign(dc, TA_RIGHT | TA_BASELINE);
    TextOutA(dc, 150, 20, "Right, baseline", 15);
    SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
    SetTextCharacterExtra(dc, 2);
    TextOutA(dc, 90, 45, "Centred, spaced", 15);
    SetTextCharacterExtra(dc, 0);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_UPDATECP);
    MoveToEx(dc, 0, 50, nullptr);
    TextOutA(dc, 0, 0, "Moves ", 6);
    RECT cells{44, 48, 110, 66};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &cells, "the pen", 7, nullptr);
}

void drawWideTextOverTheEdges(HDC dc) {
    WithFont font(dc, arial);
    SetBkColor(dc, RGB(40, 40, 40));
    SetTextColor(dc, RGB(255, 128, 0));
    const WCHAR greek[] = u"\u20AC \u03B1\u03B2\u03B3 \u03A9mega";
    ExtTextOutW(dc, -9, -4, 0, nullptr, greek, 11, nullptr);
    RECT low{150, 70, 230, 90};
    ExtTextOutW(dc, 150, 72, ETO_OPAQUE, &low, greek, 11, nullptr);
    const INT backwards[] = {12, -20, 15, 30, -7, 9};
    ExtTextOutA(dc, 60, 30, 0, nullptr, "Overlap", 6, backwards);
    const INT negative[] = {8, -20, 4};
    ExtTextOutA(dc, 100, 50, 0, nullptr, "abc", 3, negative);
    RECT empty{20, 50, 60, 70};
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &empty, "", 0, nullptr);
}

void drawLargeText(HDC dc) {
    WithFont font(dc, arialLarge);
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(50, 100, 150));
    RECT half{0, 0, 100, 80};
    ExtTextOutA(dc, 2, 10, ETO_OPAQUE, &half, "Big g", 5, nullptr);
}

// The glyph images the fingerprints were recorded with, one column of the
// table each: versions 1 and 2 of the Liberation fonts draw differently, and
// any other font files or rasteriser change every fingerprint with them.
constexpr std::uint64_t recordedGlyphs[] = {0x44a082a17de8c659ull, 0xdb3d4085f429b62bull};
constexpr std::size_t recordingCount = std::size(recordedGlyphs);

struct Scene {
    const char* name;
    void (*draw)(HDC dc);
    std::array<std::uint64_t, recordingCount> expected;
    bool monochrome = false;
};

const Scene scenes[] = {
    {"token rows", drawTokenRows, {0x11aec83975515151ull, 0x46032657f62c0812ull}},
    {"opaque rectangles", drawOpaqueRectangles, {0xce726de4266ee7a5ull, 0x56e8ab8b7de251f5ull}},
    {"clipped to the rectangle", drawClippedToTheRectangle, {0xe99767663dea5294ull, 0x03bb5a37e6edad0aull}},
    {"transparent mode", drawTransparently, {0xef29a6b5378c1409ull, 0x7a1b469066e36161ull}},
    {"one clip rectangle", drawInsideOneClipRectangle, {0x12695177b108d76full, 0x04af0daaac8821c5ull}},
    {"several clip rectangles", drawInClipRectangles, {0x27158aa17b342723ull, 0xa000caa32f0630b1ull}},
    {"elliptic clip", drawInsideAnEllipse, {0xd98f419ac29d2297ull, 0xf77a3e2e1a2276a7ull}},
    {"formatted text", drawFormattedText, {0xb914c1a1a356ed5dull, 0x44bc5b68b2768bfdull}},
    {"rotated text", drawRotatedText, {0xa949809e4f8c3047ull, 0x558d140745071e77ull}},
    {"monochrome surface", drawOnMonochrome, {0xf10811f0fa3d62a5ull, 0x82da073fc7298715ull}, true},
    {"no antialiasing", drawWithoutAntialiasing, {0xb767513a2447523aull, 0xcb387b8434b0e7f8ull}},
    {"origins and alignment", drawWithOriginsAndAlignment, {0xa65ae9e6d6e7e30full, 0x9667c65b2e2ce74bull}},
    {"wide text over the edges", drawWideTextOverTheEdges, {0x9ec2855e5a02e5e0ull, 0x59c7af83dc046fabull}},
    {"large text", drawLargeText, {0x1a804a7754099470ull, 0xd26c51fcbd40e0eaull}},
};

std::uint64_t glyphFingerprint() {
    const FontLook* looks[] = {&courier,    &courierBold, &courierItalic, &courierBoldItalic, &arial,
                               &arialLarge, &timesStruck, &arialUpwards,  &arialSlanted,      &courierJagged};
    std::uint64_t hash = fnvOffset;
    for (const FontLook* look : looks) {
        LOGFONTA narrow = logFontOf(*look);
        LOGFONTW logFont{};
        std::memcpy(&logFont, &narrow, offsetof(LOGFONTA, lfFaceName));
        for (int i = 0; narrow.lfFaceName[i]; ++i)
            logFont.lfFaceName[i] = static_cast<WCHAR>(narrow.lfFaceName[i]);
        FontFace& face = *FontFace::ForLogFont(logFont);
        std::u16string characters = u"\u20AC\u03B1\u03B2\u03B3\u03A9\u00E9\u00E8\u00FC.";
        for (char16_t c = u' '; c <= u'~'; ++c)
            characters += c;
        for (char16_t c : characters) {
            const GlyphImage& glyph = face.Glyph(c);
            for (int value : {glyph.advance, glyph.left, glyph.top, glyph.width, glyph.height})
                mix(hash, static_cast<std::uint32_t>(value));
            for (Byte coverage : glyph.coverage)
                mix(hash, coverage);
        }
    }
    return hash;
}

} // namespace

TEST(TextPixels, EveryScenePaintsTheRecordedPixels) {
    std::uint64_t glyphs = glyphFingerprint();
    auto recording = std::find(std::begin(recordedGlyphs), std::end(recordedGlyphs), glyphs);
    if (recording == std::end(recordedGlyphs))
        GTEST_SKIP() << "the glyph images (0x" << std::hex << glyphs
                     << ") are not those of any column of the table: record a column for them from a build "
                        "known to be right";
    std::size_t column = static_cast<std::size_t>(recording - std::begin(recordedGlyphs));
    for (const Scene& scene : scenes) {
        TestCanvas canvas(sceneWidth, sceneHeight, RGB(255, 255, 255), scene.monochrome);
        PixelSurface& surface = *BitmapSurface(canvas.Bitmap);
        paintBackdrop(surface);
        scene.draw(canvas.DC);
        EXPECT_EQ(fingerprint(surface), scene.expected[column])
            << scene.name << ": 0x" << std::hex << fingerprint(surface);
    }
}

// Every destination, colour and coverage in every channel, against the plain
// rounded division; each channel gets a different value from its neighbours,
// and the destination's top byte must not leak into the result.
TEST(TextPixels, BlendingMatchesTheRoundedDivisionEverywhere) {
    auto spread = [](unsigned value) { return value | (255 - value) << 8 | ((value * 7) & 0xFF) << 16; };
    auto expected = [](Pixel destination, Pixel colour, unsigned coverage) {
        Pixel result = 0;
        for (int shift : {0, 8, 16}) {
            unsigned d = (destination >> shift) & 0xFF, c = (colour >> shift) & 0xFF;
            result |= ((d * (255 - coverage) + c * coverage + 127) / 255) << shift;
        }
        return result;
    };
    int mismatches = 0;
    for (unsigned coverage = 0; coverage <= 255; ++coverage)
        for (unsigned d = 0; d <= 255; ++d)
            for (unsigned c = 0; c <= 255; ++c) {
                Pixel destination = spread(d) | 0xFF000000, colour = spread(c);
                if (BlendPixel(destination, colour, coverage) != expected(destination, colour, coverage) &&
                    ++mismatches <= 5)
                    ADD_FAILURE() << std::hex << destination << " under " << colour << " at " << coverage;
            }
    EXPECT_EQ(mismatches, 0);
}
