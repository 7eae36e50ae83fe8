// Speed of the editor's text drawer: a whole screen of 50 rows by 120 columns
// of highlighted text, token by token in changing styles and colours, into a
// memory device context.
#include "editor/SynTextDrawer.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Gdi.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Rows = 50;
constexpr int Columns = 120;
constexpr int LongestToken = 12;

struct Token {
    int column;
    int length;
    TFontStyles style;
    TColor foreground;
    TColor background;
};

struct Screen {
    std::vector<std::string> lines;
    std::vector<std::vector<Token>> tokens;
};

// A line of script source of the given width, starting at a different place for every row.
std::string sourceLine(int row) {
    const std::string source =
        "function showTitle(text) { var title = document.getElementById(\"title\"); "
        "if (title != null) title.innerHTML = text + \" #\" + (row * 16); return 0; } ";
    std::string line;
    for (std::size_t i = static_cast<std::size_t>(row) * 7; line.size() < Columns; ++i)
        line += source[i % source.size()];
    return line;
}

// Rows of script text cut into tokens of random length and attributes, the
// way a highlighter hands them out.
Screen mixedAttributeScreen() {
    const TFontStyles styles[] = {{}, {fsBold}, {fsItalic}, {fsBold, fsItalic}, {fsUnderline}};
    const TColor colours[] = {clBlack, clNavy, clMaroon, clGreen, clPurple, clTeal};
    const TColor backgrounds[] = {clWhite, clWhite, clWhite, clYellow};
    std::mt19937 random(16);
    auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    Screen screen;
    for (int row = 0; row < Rows; ++row) {
        std::string line = sourceLine(row);
        std::vector<Token> tokens;
        for (int column = 0; column < Columns;) {
            const int length = std::min(1 + pick(LongestToken), Columns - column);
            tokens.push_back({column, length, styles[pick(5)], colours[pick(6)], backgrounds[pick(4)]});
            column += length;
        }
        screen.lines.push_back(std::move(line));
        screen.tokens.push_back(std::move(tokens));
    }
    return screen;
}

void DrawScreenOfMixedAttributes(benchmark::State& state) {
    TFont font;
    font.SetName("Courier New");
    font.SetSize(10);
    TheTextDrawer drawer({fsBold}, &font);
    const int cellWidth = drawer.GetCharWidth(), cellHeight = drawer.GetCharHeight();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap =
        CreateBitmapFromSurface(std::make_shared<PixelSurface>(Columns * cellWidth, Rows * cellHeight));
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const Screen screen = mixedAttributeScreen();

    for (auto _ : state) {
        drawer.BeginDrawing(dc);
        for (int row = 0; row < Rows; ++row) {
            const int top = row * cellHeight;
            for (const Token& token : screen.tokens[row]) {
                drawer.SetStyle(token.style);
                drawer.SetForeColor(token.foreground);
                drawer.SetBackColor(token.background);
                const int left = token.column * cellWidth;
                drawer.ExtTextOut(left, top, ETO_OPAQUE,
                                  Rect(left, top, left + token.length * cellWidth, top + cellHeight),
                                  screen.lines[row].data() + token.column, token.length);
            }
        }
        drawer.EndDrawing();
    }
    state.SetItemsProcessed(state.iterations() * Rows * Columns);

    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

} // namespace

BENCHMARK(DrawScreenOfMixedAttributes)->Unit(benchmark::kMillisecond);
