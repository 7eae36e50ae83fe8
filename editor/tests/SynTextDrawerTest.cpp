#include "editor/SynTextDrawer.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Drawing.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"
#include "platform/win/TextOut.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

std::unique_ptr<TFont> makeFont(const char* name, Integer size, TFontStyles style = {}) {
    auto font = std::make_unique<TFont>();
    font->SetName(name);
    font->SetSize(size);
    font->SetStyle(style);
    return font;
}

PheSharedFontsInfo sharedInfoOf(TFont* font) {
    PheSharedFontsInfo info = GetFontsInfoManager()->GetFontsInfo(font);
    GetFontsInfoManager()->ReleaseFontsInfo(info);
    return info;
}

// A memory device context over a 32-bit surface, filled white.
struct Surface {
    Surface(int width, int height) : Width(width), Height(height) {
        DC = CreateCompatibleDC(nullptr);
        Bitmap = CreateBitmapFromSurface(std::make_shared<PixelSurface>(width, height));
        Previous = SelectObject(DC, Bitmap);
        PixelSurface& pixels = *BitmapSurface(Bitmap);
        pixels.Fill(PixelWhite);
    }
    ~Surface() {
        SelectObject(DC, Previous);
        DeleteObject(Bitmap);
        DeleteDC(DC);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    COLORREF At(int x, int y) const { return ColorRefFromPixel(BitmapSurface(Bitmap)->At(x, y)); }
    bool SamePixels(const Surface& other) const {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (At(x, y) != other.At(x, y)) return false;
        return true;
    }
    int Count(COLORREF colour, TRect area) const {
        int count = 0;
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                count += At(x, y) == colour;
        return count;
    }

    int Width, Height;
    HDC DC;
    HBITMAP Bitmap;
    HGDIOBJ Previous;
};

// The advance of "M" in the font described, measured without the drawer.
Integer advanceOfM(TFont* font, bool bold) {
    LOGFONTA logFont{};
    GetObjectA(font->Handle(), sizeof(logFont), &logFont);
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    HDC screen = GetDC(nullptr);
    HFONT measured = CreateFontIndirectA(&logFont);
    HGDIOBJ previous = SelectObject(screen, measured);
    ABC widths{};
    GetCharABCWidthsA(screen, 'M', 'M', &widths);
    SelectObject(screen, previous);
    DeleteObject(measured);
    ReleaseDC(nullptr, screen);
    return widths.abcA + static_cast<Integer>(widths.abcB) + widths.abcC;
}

// Exposes the size of the distance buffer.
struct InspectedDrawer : TheTextDrawer {
    using TheTextDrawer::TheTextDrawer;
    Integer DistanceCount() const { return etoDistCount(); }
};

} // namespace

// ---- Font cache ------------------------------------------------------------------

TEST(FontCache, StocksOfTheSameFontShareOneEntryAndItsHandles) {
    auto font = makeFont("Courier New", 10);
    auto first = std::make_unique<TheFontStock>(font.get());
    TheFontStock second(font.get());
    PheSharedFontsInfo info = sharedInfoOf(font.get());
    EXPECT_EQ(info->RefCount, 2);
    EXPECT_EQ(info->LockCount, 2);
    EXPECT_EQ(first->FontHandle(), second.FontHandle());
    EXPECT_EQ(second.GetFontData(0), &info->FontsData[0]);

    HFONT shared = second.FontHandle();
    first.reset();
    EXPECT_EQ(info->RefCount, 1);
    EXPECT_EQ(GetObjectType(shared), OBJ_FONT) << "the other stock's handle must survive";
    EXPECT_EQ(second.FontHandle(), shared);
}

TEST(FontCache, ItalicUnderlineAndStrikeOutShareTheEntryButWeightDoesNot) {
    auto plain = makeFont("Courier New", 11);
    auto slanted = makeFont("Courier New", 11, {fsItalic, fsUnderline, fsStrikeOut});
    auto heavy = makeFont("Courier New", 11, {fsBold});
    auto larger = makeFont("Courier New", 12);
    TheFontStock stock(plain.get());
    EXPECT_EQ(sharedInfoOf(slanted.get()), sharedInfoOf(plain.get()));
    TheFontStock heavyStock(heavy.get());
    TheFontStock largerStock(larger.get());
    EXPECT_NE(sharedInfoOf(heavy.get()), sharedInfoOf(plain.get()));
    EXPECT_NE(sharedInfoOf(larger.get()), sharedInfoOf(plain.get()));
}

TEST(FontCache, TheLastReleaseDeletesTheHandlesAndTheEntry) {
    auto font = makeFont("Courier New", 13);
    auto stock = std::make_unique<TheFontStock>(font.get());
    stock->SetStyle({fsBold});
    HFONT bold = stock->FontHandle();
    stock->ReleaseFontHandles();
    EXPECT_EQ(GetObjectType(bold), 0u);
    EXPECT_EQ(stock->FontHandle(), nullptr);

    stock->SetStyle({fsBold});
    EXPECT_EQ(GetObjectType(stock->FontHandle()), OBJ_FONT) << "handles are made again on the next style";
    PheSharedFontsInfo info = sharedInfoOf(font.get());
    EXPECT_EQ(info->RefCount, 1);
    stock.reset();
    PheSharedFontsInfo fresh = GetFontsInfoManager()->GetFontsInfo(font.get());
    EXPECT_EQ(fresh->RefCount, 1) << "a new entry after the last release";
    EXPECT_EQ(fresh->FontsData[1].Handle, nullptr);
    GetFontsInfoManager()->ReleaseFontsInfo(fresh);
}

TEST(FontCache, ReleasingAnEntryStillLockedIsAConsistencyFailure) {
    auto font = makeFont("Courier New", 14);
    TheFontsInfoManager* manager = GetFontsInfoManager();
    PheSharedFontsInfo info = manager->GetFontsInfo(font.get());
    manager->LockFontsInfo(info);
    try {
        manager->ReleaseFontsInfo(info);
        ADD_FAILURE() << "no exception";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(
            e.Message.rfind("Call DeactivateFontsInfo before calling this. (SynTextDrawer.cpp, line ", 0), 0u)
            << e.Message;
    }
    manager->UnLockFontsInfo(info);
    manager->ReleaseFontsInfo(info);
}

TEST(FontCache, StyleVariantsAreMeasuredOnce) {
    auto font = makeFont("Courier New", 10);
    TheFontStock stock(font.get());
    EXPECT_FALSE(stock.GetIsDBCSFont());
    stock.SetStyle({fsBold, fsItalic});
    PheFontData boldItalic = stock.GetFontData(3);
    EXPECT_EQ(boldItalic->Handle, stock.FontHandle());
    EXPECT_EQ(stock.GetCharAdvance(), advanceOfM(font.get(), true));
    EXPECT_GT(stock.GetCharHeight(), 0);
    LOGFONTA logFont{};
    GetObjectA(stock.FontHandle(), sizeof(logFont), &logFont);
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    EXPECT_EQ(logFont.lfItalic, 1);
    EXPECT_EQ(logFont.lfUnderline, 0);
}

TEST(FontCache, AMissingBaseFontIsRejected) {
    auto font = makeFont("Courier New", 10);
    TheFontStock stock(font.get());
    TheTextDrawer drawer({fsBold}, font.get());
    for (const auto& call : {std::function<void()>([&] { stock.SetBaseFont(nullptr); }),
                             std::function<void()>([&] { drawer.SetBaseFont(nullptr); })}) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, "SetBaseFont: 'Value' must be specified.");
        }
    }
    EXPECT_THROW(stock.SetBaseFont(nullptr), EheFontStockException);
    EXPECT_THROW(drawer.SetBaseFont(nullptr), EheTextDrawerException);
}

// ---- Text drawer -------------------------------------------------------------------

TEST(TextDrawer, CellsAreMeasuredInTheMeasuringStyle) {
    for (const char* name : {"Courier New", "Arial"}) {
        auto font = makeFont(name, 10);
        TheTextDrawer boldCells({fsBold}, font.get());
        TheTextDrawer plainCells({}, font.get());
        EXPECT_EQ(boldCells.GetCharWidth(), advanceOfM(font.get(), true)) << name;
        EXPECT_EQ(plainCells.GetCharWidth(), advanceOfM(font.get(), false)) << name;
        plainCells.SetBaseStyle({fsBold});
        EXPECT_EQ(plainCells.GetCharWidth(), boldCells.GetCharWidth()) << name;
        plainCells.SetCharExtra(3);
        EXPECT_EQ(plainCells.GetCharWidth(), boldCells.GetCharWidth() + 3) << name;
        EXPECT_EQ(plainCells.GetCharHeight(), boldCells.GetCharHeight()) << name;
    }
}

TEST(TextDrawer, TheDistanceBufferGrowsInStepsOf64) {
    auto font = makeFont("Courier New", 10);
    Surface surface(8, 8);
    const std::string text(200, 'x');
    // Each row: the runs drawn one after the other and the buffer's size after the last.
    struct Case {
        std::vector<Integer> runs;
        Integer size;
    };
    for (const Case& c : {Case{{63}, 64}, Case{{64}, 128}, Case{{1}, 64}, Case{{63, 64}, 64},
                          Case{{63, 65}, 128}, Case{{129, 10}, 192}}) {
        InspectedDrawer drawer({fsBold}, font.get());
        drawer.BeginDrawing(surface.DC);
        for (Integer length : c.runs)
            drawer.ExtTextOut(0, 0, 0, Rect(0, 0, 8, 8), text.data(), length);
        EXPECT_EQ(drawer.DistanceCount(), c.size) << c.runs.back();
        drawer.SetBaseStyle({});
        EXPECT_EQ(drawer.DistanceCount(), 0) << "dropped with the measuring style";
        drawer.EndDrawing();
    }
}

TEST(TextDrawer, NestedDrawingRestoresTheContextAtTheLastEnd) {
    auto font = makeFont("Courier New", 10);
    Surface surface(8, 8), other(8, 8);
    TheTextDrawer drawer({fsBold}, font.get());
    SetTextColor(surface.DC, RGB(1, 2, 3));
    drawer.BeginDrawing(surface.DC);
    EXPECT_EQ(GetTextColor(surface.DC), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(GetBkColor(surface.DC), GetSysColor(COLOR_WINDOW));
    drawer.BeginDrawing(surface.DC);
    EXPECT_THROW(drawer.BeginDrawing(other.DC), EAssertionFailed);
    drawer.SetForeColor(clRed);
    drawer.EndDrawing();
    EXPECT_EQ(GetTextColor(surface.DC), COLORREF(clRed)) << "still drawing after the inner end";
    drawer.EndDrawing();
    EXPECT_EQ(GetTextColor(surface.DC), RGB(1, 2, 3));
    EXPECT_THROW(drawer.EndDrawing(), EAssertionFailed);
    EXPECT_THROW(drawer.BeginDrawing(nullptr), EAssertionFailed);
    drawer.BeginDrawing(other.DC);
    drawer.EndDrawing();
}

namespace {

constexpr TColor Ink = 0x3020C0;
constexpr TColor Paper = 0x80F0F0;
constexpr int Left = 3, Top = 2;
const char Sample[] = "Wim";
constexpr int SampleLength = 3;
const TFontStyles RowStyles[] = {{}, {fsBold}, {fsItalic}, {fsBold, fsItalic}};
constexpr int RowStyleCount = 4;

// Draws the sample once in each style along one row, each run filling its
// cells opaquely.
void drawRow(TheTextDrawer& drawer, HDC dc) {
    const int cell = drawer.GetCharWidth();
    drawer.BeginDrawing(dc);
    drawer.SetForeColor(Ink);
    drawer.SetBackColor(Paper);
    for (int run = 0; run < RowStyleCount; ++run) {
        drawer.SetStyle(RowStyles[run]);
        const int x = Left + run * SampleLength * cell;
        drawer.ExtTextOut(x, Top, ETO_OPAQUE,
                          Rect(x, Top, x + SampleLength * cell, Top + drawer.GetCharHeight()), Sample,
                          SampleLength);
    }
    drawer.EndDrawing();
}

// The same row drawn without the drawer: each run's background, then every
// character on its own at the left edge of its cell.
void drawRowByCells(TheTextDrawer& drawer, TFont* font, HDC dc) {
    const int cell = drawer.GetCharWidth();
    HBRUSH paper = CreateSolidBrush(Paper);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Ink);
    LOGFONTA logFont{};
    GetObjectA(font->Handle(), sizeof(logFont), &logFont);
    for (int run = 0; run < RowStyleCount; ++run) {
        const int x = Left + run * SampleLength * cell;
        TRect background = Rect(x, Top, x + SampleLength * cell, Top + drawer.GetCharHeight());
        FillRect(dc, &background, paper);
        logFont.lfWeight = RowStyles[run].Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        logFont.lfItalic = RowStyles[run].Contains(fsItalic);
        HFONT styled = CreateFontIndirectA(&logFont);
        HGDIOBJ previous = SelectObject(dc, styled);
        for (int i = 0; i < SampleLength; ++i)
            TextOutA(dc, Left + (run * SampleLength + i) * cell, Top, Sample + i, 1);
        SelectObject(dc, previous);
        DeleteObject(styled);
    }
    DeleteObject(paper);
}

} // namespace

TEST(TextDrawer, EveryStyleLandsInWholeCellsWithTheColoursAsked) {
    for (const char* name : {"Courier New", "Arial"}) {
        auto font = makeFont(name, 10);
        TheTextDrawer drawer({fsBold}, font.get());
        const int cell = drawer.GetCharWidth(), height = drawer.GetCharHeight();
        const int width = Left + RowStyleCount * SampleLength * cell + 2 * cell;
        Surface drawn(width, Top + height + 3), expected(width, Top + height + 3);
        drawRow(drawer, drawn.DC);
        drawRowByCells(drawer, font.get(), expected.DC);
        EXPECT_TRUE(drawn.SamePixels(expected)) << name;

        int inkOfRun[RowStyleCount];
        for (int run = 0; run < RowStyleCount; ++run) {
            const int x = Left + run * SampleLength * cell;
            const TRect cells = Rect(x, Top, x + SampleLength * cell, Top + height);
            inkOfRun[run] = cells.Width() * cells.Height() - drawn.Count(Paper, cells);
            EXPECT_GT(inkOfRun[run], 0) << name << " run " << run;
            EXPECT_EQ(drawn.At(x, Top), COLORREF(Paper)) << name << " run " << run;
        }
        EXPECT_GT(drawn.Count(Ink, Rect(0, Top, width, Top + height)), 0) << name;
        EXPECT_GT(inkOfRun[1], inkOfRun[0]) << name << ": bold is heavier";
        EXPECT_EQ(drawn.Count(RGB(255, 255, 255), Rect(0, Top + height, width, Top + height + 3)), width * 3)
            << name << ": nothing below the row";
    }
}

TEST(TextDrawer, EveryDrawerKindDrawsAMonospacedRowAlike) {
    auto font = makeFont("Courier New", 10);
    TheTextDrawer reference({fsBold}, font.get());
    TheTextDrawer2 remembering({fsBold}, font.get());
    TheTextDrawerEx fitting({fsBold}, font.get());
    const int width = Left + RowStyleCount * SampleLength * reference.GetCharWidth() + 8;
    const int height = Top + reference.GetCharHeight() + 2;
    Surface expected(width, height);
    drawRow(reference, expected.DC);
    for (TheTextDrawer* drawer :
         {static_cast<TheTextDrawer*>(&remembering), static_cast<TheTextDrawer*>(&fitting)}) {
        for (int pass = 0; pass < 2; ++pass) {
            Surface drawn(width, height);
            drawRow(*drawer, drawn.DC);
            EXPECT_TRUE(drawn.SamePixels(expected)) << drawer->ClassName() << " pass " << pass;
        }
    }
}

TEST(TextDrawer, ReleasedResourcesAreMadeAgainForTheNextStyle) {
    auto font = makeFont("Courier New", 9);
    TheTextDrawer drawer({fsBold}, font.get());
    Surface before(60, 20), after(60, 20);
    drawRow(drawer, before.DC);
    drawer.ReleaseTemporaryResources();
    drawRow(drawer, after.DC);
    EXPECT_TRUE(after.SamePixels(before));
}
