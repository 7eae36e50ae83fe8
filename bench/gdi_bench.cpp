// Speed of the graphics layer's hot paths: rectangle fills, block transfers
// with the copy fast path and with a general raster operation, and text
// output with a spacing array, up to a whole editor window of text.
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Drawing.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/TextOut.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int surfaceWidth = 800, surfaceHeight = 600;
constexpr int cellWidth = 8, cellHeight = 15;

struct Surface {
    Surface() {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateBitmapFromSurface(std::make_shared<PixelSurface>(surfaceWidth, surfaceHeight));
        previous = SelectObject(dc, bitmap);
    }
    ~Surface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

HFONT editorFont() {
    LOGFONTA logFont{};
    logFont.lfHeight = -13;
    logFont.lfWeight = FW_NORMAL;
    std::strcpy(logFont.lfFaceName, "Courier New");
    return CreateFontIndirectA(&logFont);
}

void FillRect800x600(benchmark::State& state) {
    Surface target;
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    RECT all{0, 0, surfaceWidth, surfaceHeight};
    for (auto _ : state)
        FillRect(target.dc, &all, brush);
    DeleteObject(brush);
}
BENCHMARK(FillRect800x600);

void BitBltSrcCopy800x600(benchmark::State& state) {
    Surface source, target;
    for (auto _ : state)
        BitBlt(target.dc, 0, 0, surfaceWidth, surfaceHeight, source.dc, 0, 0, SRCCOPY);
}
BENCHMARK(BitBltSrcCopy800x600);

// DSPDxax, the brush through a mask: evaluated by the general truth-table path.
void BitBltGeneralRop800x600(benchmark::State& state) {
    Surface source, target;
    HBRUSH brush = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
    HGDIOBJ previous = SelectObject(target.dc, brush);
    for (auto _ : state)
        BitBlt(target.dc, 0, 0, surfaceWidth, surfaceHeight, source.dc, 0, 0, 0x00E20746);
    SelectObject(target.dc, previous);
    DeleteObject(brush);
}
BENCHMARK(BitBltGeneralRop800x600);

std::string sampleLine(int columns, int seed) {
    std::string line;
    const char* words[] = {"function ", "var ", "document.", "write(", "\"text\" ", "+ ", "if ", "return "};
    for (int i = seed; static_cast<int>(line.size()) < columns; ++i)
        line += words[i % 8];
    line.resize(static_cast<std::size_t>(columns));
    return line;
}

void ExtTextOut80Columns(benchmark::State& state) {
    Surface target;
    HGDIOBJ previous = SelectObject(target.dc, editorFont());
    std::string line = sampleLine(80, 0);
    std::vector<INT> distances(line.size(), cellWidth);
    for (auto _ : state) {
        RECT row{0, 0, 80 * cellWidth, cellHeight};
        ExtTextOutA(target.dc, 0, 0, ETO_OPAQUE, &row, line.data(), static_cast<UINT>(line.size()),
                    distances.data());
    }
    DeleteObject(SelectObject(target.dc, previous));
}
BENCHMARK(ExtTextOut80Columns);

// A full editor window: 50 rows of 120 columns, one run per row.
void EditorWindow50x120(benchmark::State& state) {
    Surface target;
    HGDIOBJ previous = SelectObject(target.dc, editorFont());
    std::vector<std::string> lines;
    for (int row = 0; row < 50; ++row)
        lines.push_back(sampleLine(120, row));
    std::vector<INT> distances(120, cellWidth);
    for (auto _ : state)
        for (int row = 0; row < 50; ++row) {
            RECT rect{0, row * cellHeight, 120 * cellWidth, (row + 1) * cellHeight};
            ExtTextOutA(target.dc, 0, rect.Top, ETO_OPAQUE, &rect,
                        lines[static_cast<std::size_t>(row)].data(), 120, distances.data());
        }
    DeleteObject(SelectObject(target.dc, previous));
}
BENCHMARK(EditorWindow50x120)->Unit(benchmark::kMillisecond);

} // namespace
