// Renders a sample of every drawing call into one picture under the build
// folder (gdi-gallery.png), for a person to look at.
#include "TestCanvas.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Blit.h"
#include "platform/win/DrawText.h"
#include "platform/win/Edges.h"
#include "platform/win/Fonts.h"
#include "platform/win/Icons.h"
#include "platform/win/Regions.h"
#include "platform/win/SysColors.h"
#include "platform/win/TextOut.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

HFONT font(const char* face, int height, int weight = FW_NORMAL, bool italic = false, bool underline = false,
           bool strikeOut = false, int escapement = 0) {
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic;
    logFont.lfUnderline = underline;
    logFont.lfStrikeOut = strikeOut;
    logFont.lfEscapement = escapement;
    std::strcpy(logFont.lfFaceName, face);
    return CreateFontIndirectA(&logFont);
}

class Gallery {
public:
    Gallery() : canvas_(800, 720, GetSysColor(COLOR_BTNFACE)) { SetBkMode(dc(), TRANSPARENT); }
    HDC dc() { return canvas_.DC; }
    TestCanvas& Canvas() { return canvas_; }

    void Label(int x, int y, const char* text) {
        Selected gui(dc(), font("MS Sans Serif", -11, FW_BOLD));
        SetTextColor(dc(), RGB(0, 0, 128));
        TextOutA(dc(), x, y, text, static_cast<int>(std::strlen(text)));
        SetTextColor(dc(), RGB(0, 0, 0));
    }

    void Lines(int x, int y) {
        Label(x, y, "Pens: solid, dash, dot, dash-dot, dash-dot-dot, wide, polyline");
        UINT styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
        for (int i = 0; i < 5; ++i) {
            Selected pen(dc(), CreatePen(static_cast<int>(styles[i]), 1, RGB(0, 0, 0)));
            MoveToEx(dc(), x, y + 18 + 5 * i, nullptr);
            LineTo(dc(), x + 180, y + 18 + 5 * i);
        }
        Selected wide(dc(), CreatePen(PS_SOLID, 5, RGB(200, 0, 0)));
        MoveToEx(dc(), x + 200, y + 20, nullptr);
        LineTo(dc(), x + 260, y + 42);
        Selected thin(dc(), CreatePen(PS_SOLID, 1, RGB(0, 128, 0)));
        POINT zigzag[] = {
            {x + 270, y + 42}, {x + 285, y + 18}, {x + 300, y + 42}, {x + 315, y + 18}, {x + 330, y + 42}};
        Polyline(dc(), zigzag, 5);
    }

    void Shapes(int x, int y) {
        Label(x, y, "Rectangle, RoundRect, Ellipse, Pie, Arc, Polygon (alternate, winding)");
        Selected brush(dc(), CreateSolidBrush(RGB(255, 255, 160)));
        Rectangle(dc(), x, y + 16, x + 40, y + 56);
        RoundRect(dc(), x + 50, y + 16, x + 90, y + 56, 16, 16);
        Ellipse(dc(), x + 100, y + 16, x + 150, y + 56);
        Pie(dc(), x + 160, y + 16, x + 200, y + 56, x + 200, y + 36, x + 180, y + 16);
        Arc(dc(), x + 210, y + 16, x + 250, y + 56, x + 210, y + 36, x + 250, y + 36);
        POINT star[] = {
            {x + 280, y + 16}, {x + 292, y + 56}, {x + 260, y + 31}, {x + 300, y + 31}, {x + 268, y + 56}};
        Polygon(dc(), star, 5);
        SetPolyFillMode(dc(), WINDING);
        for (POINT& point : star)
            point.x += 50;
        Polygon(dc(), star, 5);
        SetPolyFillMode(dc(), ALTERNATE);
        Selected lens(dc(), CreatePen(PS_SOLID, 4, RGB(0, 0, 128)));
        SelectObject(dc(), GetStockObject(NULL_BRUSH));
        Ellipse(dc(), x + 360, y + 16, x + 400, y + 56);
    }

    void Brushes(int x, int y) {
        Label(x, y, "Hatches (opaque, transparent), 8 x 8 dither pattern, system colour brush");
        SetBkColor(dc(), RGB(255, 255, 255));
        for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
            Selected brush(dc(), CreateHatchBrush(hatch, RGB(0, 0, 160)));
            SetBkMode(dc(), hatch % 2 ? TRANSPARENT : OPAQUE);
            PatBlt(dc(), x + 40 * hatch, y + 16, 34, 34, PATCOPY);
        }
        SetBkMode(dc(), TRANSPARENT);
        TestCanvas checker(8, 8, GetSysColor(COLOR_BTNFACE));
        for (int row = 0; row < 8; ++row)
            for (int column = row % 2; column < 8; column += 2)
                SetPixel(checker.DC, column, row, RGB(255, 255, 255));
        Selected dither(dc(), CreatePatternBrush(checker.Bitmap));
        PatBlt(dc(), x + 250, y + 16, 34, 34, PATCOPY);
        RECT info{x + 290, y + 16, x + 324, y + 50};
        FillRect(dc(), &info, reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1));
        FrameRect(dc(), &info, GetSysColorBrush(COLOR_WINDOWFRAME));
    }

    void MixModes(int x, int y) {
        Label(x, y, "The sixteen mix modes R2_BLACK .. R2_WHITE over stripes");
        for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
            int left = x + (mode - 1) * 24;
            for (int stripe = 0; stripe < 4; ++stripe) {
                RECT band{left, y + 16 + stripe * 8, left + 20, y + 24 + stripe * 8};
                HBRUSH brush = CreateSolidBrush(stripe % 2 ? RGB(0, 0, 0) : RGB(255, 200, 0));
                FillRect(dc(), &band, brush);
                DeleteObject(brush);
            }
            Selected brush(dc(), CreateSolidBrush(RGB(0, 160, 255)));
            SelectObject(dc(), GetStockObject(NULL_PEN));
            SetROP2(dc(), mode);
            Rectangle(dc(), left + 4, y + 16, left + 17, y + 49);
            SetROP2(dc(), R2_COPYPEN);
            SelectObject(dc(), GetStockObject(BLACK_PEN));
        }
    }

    void RasterOperations(int x, int y) {
        Label(x, y, "BitBlt raster operations, then a glyph embossed through 0xE20746");
        TestCanvas source(32, 32, RGB(255, 255, 255));
        {
            Selected brush(source.DC, CreateSolidBrush(RGB(200, 0, 0)));
            Ellipse(source.DC, 2, 2, 30, 30);
        }
        const DWORD rops[] = {SRCCOPY,    SRCAND,    SRCPAINT,  SRCINVERT, SRCERASE,
                              NOTSRCCOPY, MERGECOPY, PATINVERT, DSTINVERT};
        Selected brush(dc(), CreateHatchBrush(HS_DIAGCROSS, RGB(0, 128, 0)));
        SetBkMode(dc(), OPAQUE);
        SetBkColor(dc(), RGB(220, 220, 255));
        for (int i = 0; i < 9; ++i) {
            RECT back{x + i * 40, y + 16, x + i * 40 + 32, y + 48};
            FillRect(dc(), &back, GetSysColorBrush(COLOR_HIGHLIGHT));
            RECT half{x + i * 40, y + 32, x + i * 40 + 32, y + 48};
            FillRect(dc(), &half, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            BitBlt(dc(), x + i * 40, y + 16, 32, 32, source.DC, 0, 0, rops[i]);
        }
        SetBkMode(dc(), TRANSPARENT);
        // The disabled, embossed glyph: a monochrome mask painted twice through 0xE20746.
        TestCanvas mask(32, 32, RGB(255, 255, 255), true);
        SetBkColor(source.DC, RGB(255, 255, 255));
        BitBlt(mask.DC, 0, 0, 32, 32, source.DC, 0, 0, SRCCOPY);
        BitBlt(mask.DC, 0, 0, 32, 32, nullptr, 0, 0, DSTINVERT);
        SetTextColor(dc(), RGB(0, 0, 0));
        SetBkColor(dc(), RGB(255, 255, 255));
        HBRUSH highlight = CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)),
               shadow = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ previous = SelectObject(dc(), highlight);
        BitBlt(dc(), x + 361, y + 17, 32, 32, mask.DC, 0, 0, 0x00E20746);
        SelectObject(dc(), shadow);
        BitBlt(dc(), x + 360, y + 16, 32, 32, mask.DC, 0, 0, 0x00E20746);
        SelectObject(dc(), previous);
        DeleteObject(highlight);
        DeleteObject(shadow);
    }

    void Stretching(int x, int y) {
        Label(x, y, "Monochrome to colour; StretchBlt: larger, mirrored, shrunk");
        TestCanvas mono(16, 16, RGB(255, 255, 255), true);
        for (int i = 0; i < 16; ++i) {
            SetPixel(mono.DC, i, i, RGB(0, 0, 0));
            SetPixel(mono.DC, 15 - i, i, RGB(0, 0, 0));
            SetPixel(mono.DC, i, 0, RGB(0, 0, 0));
            SetPixel(mono.DC, 2, i, RGB(0, 0, 0));
        }
        SetTextColor(dc(), RGB(200, 0, 0));
        SetBkColor(dc(), RGB(255, 255, 200));
        BitBlt(dc(), x, y + 16, 16, 16, mono.DC, 0, 0, SRCCOPY);
        StretchBlt(dc(), x + 24, y + 16, 48, 48, mono.DC, 0, 0, 16, 16, SRCCOPY);
        StretchBlt(dc(), x + 127, y + 16, -48, 48, mono.DC, 0, 0, 16, 16, SRCCOPY);
        for (int mode = BLACKONWHITE; mode <= HALFTONE; ++mode) {
            SetStretchBltMode(dc(), mode);
            StretchBlt(dc(), x + 140 + (mode - 1) * 16, y + 16, 8, 8, mono.DC, 0, 0, 16, 16, SRCCOPY);
        }
        SetTextColor(dc(), RGB(0, 0, 0));
    }

    void Edges(int x, int y) {
        Label(x, y,
              "DrawEdge: outer, inner, raised, sunken, etched, bump, soft, flat, mono, sides; "
              "DrawFrameControl");
        const UINT edges[] = {BDR_RAISEDOUTER, BDR_SUNKENOUTER, BDR_RAISEDINNER, BDR_SUNKENINNER,
                              EDGE_RAISED,     EDGE_SUNKEN,     EDGE_ETCHED,     EDGE_BUMP};
        const UINT flags[] = {BF_RECT | BF_MIDDLE,    BF_RECT | BF_SOFT, BF_RECT | BF_FLAT | BF_MIDDLE,
                              BF_RECT | BF_MONO,      BF_TOPLEFT,        BF_BOTTOMRIGHT,
                              BF_DIAGONAL_ENDTOPRIGHT};
        for (int e = 0; e < 8; ++e)
            for (int f = 0; f < 7; ++f) {
                RECT rect{x + e * 30, y + 16 + f * 14, x + e * 30 + 26, y + 28 + f * 14};
                DrawEdge(dc(), &rect, edges[e], flags[f]);
            }
        RECT push{x + 250, y + 16, x + 310, y + 40};
        DrawFrameControl(dc(), &push, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
        DrawTextA(dc(), "Push", -1, &push, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        RECT pushed{x + 250, y + 46, x + 310, y + 70};
        DrawFrameControl(dc(), &pushed, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
        const UINT glyphs[] = {DFCS_MENUCHECK, DFCS_MENUBULLET, DFCS_MENUARROW, DFCS_MENUARROWRIGHT};
        for (int i = 0; i < 4; ++i) {
            RECT glyph{x + 250 + i * 18, y + 80, x + 266 + i * 18, y + 96};
            DrawFrameControl(dc(), &glyph, DFC_MENU, glyphs[i]);
        }
    }

    void Fonts(int x, int y) {
        Label(x, y, "Fonts and ExtTextOut");
        struct Sample {
            const char* face;
            int height, weight;
            bool italic, underline, strikeOut;
        };
        const Sample samples[] = {{"Courier New", -13, FW_NORMAL, false, false, false},
                                  {"Courier New", -13, FW_BOLD, false, false, false},
                                  {"Arial", -11, FW_NORMAL, false, false, false},
                                  {"Arial", -16, FW_BOLD, true, false, false},
                                  {"Times New Roman", -16, FW_NORMAL, false, true, false},
                                  {"Tahoma", -11, FW_NORMAL, false, false, true},
                                  {"MS Sans Serif", -11, FW_NORMAL, false, false, false}};
        int top = y + 16;
        for (const Sample& sample : samples) {
            Selected selected(dc(), font(sample.face, sample.height, sample.weight, sample.italic,
                                         sample.underline, sample.strikeOut));
            std::string text = std::string(sample.face) + " " + std::to_string(-sample.height) +
                               ": The quick brown fox \x80 \xE9\xE8 &";
            TextOutA(dc(), x, top, text.c_str(), static_cast<int>(text.size()));
            TEXTMETRICA metrics;
            GetTextMetricsA(dc(), &metrics);
            top += metrics.tmHeight;
        }
        Selected mono(dc(), font("Courier New", -13));
        INT spacing[12];
        for (int i = 0; i < 12; ++i)
            spacing[i] = 8 + i;
        SetBkColor(dc(), RGB(255, 255, 255));
        RECT box{x, top + 2, x + 150, top + 17};
        ExtTextOutA(dc(), x + 2, top + 2, ETO_OPAQUE | ETO_CLIPPED, &box, "spacing array", 12, spacing);
        SetBkMode(dc(), OPAQUE);
        SetBkColor(dc(), RGB(255, 255, 0));
        TextOutA(dc(), x + 160, top + 2, "opaque", 6);
        SetBkMode(dc(), TRANSPARENT);
        for (int angle : {450, 900}) {
            Selected rotated(dc(), font("Arial", -13, FW_NORMAL, false, true, false, angle));
            TextOutA(dc(), x + 250 + angle / 15, y + 110, "Rotated", 7);
        }
    }

    void Texts(int x, int y) {
        Label(x, y, "DrawText: alignment, wrapping, ellipsis, prefix, tabs");
        Selected gui(dc(), GetStockObject(DEFAULT_GUI_FONT));
        auto boxed = [&](RECT rect, const char* text, UINT format) {
            FrameRect(dc(), &rect, GetSysColorBrush(COLOR_BTNSHADOW));
            DrawTextA(dc(), text, -1, &rect, format);
        };
        boxed({x, y + 16, x + 100, y + 46}, "Left top", DT_SINGLELINE);
        boxed({x + 105, y + 16, x + 205, y + 46}, "Centred", DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        boxed({x + 210, y + 16, x + 310, y + 46}, "Bottom right", DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
        boxed({x, y + 50, x + 100, y + 100}, "Words that wrap onto further lines here", DT_WORDBREAK);
        boxed({x + 105, y + 50, x + 205, y + 64}, "A long line that is shortened",
              DT_SINGLELINE | DT_END_ELLIPSIS);
        boxed({x + 105, y + 68, x + 205, y + 82}, "&File && &Edit", DT_SINGLELINE);
        boxed({x + 105, y + 86, x + 205, y + 100}, "a\tb\tc", DT_SINGLELINE | DT_EXPANDTABS);
        boxed({x + 210, y + 50, x + 310, y + 64}, "Clipped text runs out of the box", DT_SINGLELINE);
        RECT measured{x + 210, y + 70, x + 310, y + 70};
        DrawTextA(dc(), "Measured", -1, &measured, DT_CALCRECT | DT_SINGLELINE);
        FrameRect(dc(), &measured, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DrawTextA(dc(), "Measured", -1, &measured, DT_SINGLELINE);
    }

    void RegionsAndMore(int x, int y) {
        Label(x, y, "Regions, clipping, focus, inversion, pixels, icon");
        HRGN lens = CreateEllipticRgn(x, y + 16, x + 60, y + 76);
        HRGN tab = CreateRoundRectRgn(x, y + 70, x + 52, y + 86, 12, 12);
        CombineRgn(lens, lens, tab, RGN_OR);
        HBRUSH fill = CreateSolidBrush(RGB(160, 200, 255));
        FillRgn(dc(), lens, fill);
        FrameRgn(dc(), lens, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 2, 2);
        DeleteObject(fill);
        OffsetRgn(lens, 70, 0);
        SelectClipRgn(dc(), lens);
        for (int line = 0; line < 90; line += 4) {
            MoveToEx(dc(), x + 70, y + 16 + line, nullptr);
            LineTo(dc(), x + 130, y + 16 + line);
        }
        SelectClipRgn(dc(), nullptr);
        DeleteObject(lens);
        DeleteObject(tab);

        RECT focus{x + 140, y + 20, x + 200, y + 40};
        DrawFocusRect(dc(), &focus);
        RECT inverted{x + 140, y + 46, x + 200, y + 66};
        InvertRect(dc(), &inverted);
        for (int i = 0; i < 20; ++i)
            SetPixel(dc(), x + 140 + 3 * i, y + 75, RGB(12 * i, 0, 255 - 12 * i));

        TestCanvas colour(16, 16, RGB(0, 0, 0));
        TestCanvas mask(16, 16, RGB(255, 255, 255), true);
        {
            Selected brush(colour.DC, CreateSolidBrush(RGB(255, 128, 0)));
            SelectObject(colour.DC, GetStockObject(NULL_PEN));
            Ellipse(colour.DC, 0, 0, 17, 17);
            SelectObject(mask.DC, GetStockObject(NULL_PEN));
            SelectObject(mask.DC, GetStockObject(BLACK_BRUSH));
            Ellipse(mask.DC, 0, 0, 17, 17);
        }
        ICONINFO info{TRUE, 8, 8, mask.Bitmap, colour.Bitmap};
        HICON icon = CreateIconIndirect(&info);
        DrawIconEx(dc(), x + 210, y + 20, icon, 0, 0, 0, nullptr, DI_NORMAL);
        DrawIconEx(dc(), x + 230, y + 20, icon, 32, 32, 0, GetSysColorBrush(COLOR_WINDOW), DI_NORMAL);
        DestroyIcon(icon);
    }

private:
    TestCanvas canvas_;
};

} // namespace

TEST(Gallery, RendersASampleOfEveryCallToAPicture) {
    Gallery gallery;
    gallery.Lines(10, 8);
    gallery.Shapes(400, 8);
    gallery.Brushes(10, 80);
    gallery.MixModes(400, 80);
    gallery.RasterOperations(10, 150);
    gallery.Stretching(420, 150);
    gallery.Edges(10, 230);
    gallery.Fonts(10, 360);
    gallery.Texts(420, 360);
    gallery.RegionsAndMore(420, 500);
    auto path = std::filesystem::path(QUORVANE_TEST_OUTPUT_DIR) / "gdi-gallery.png";
    ASSERT_TRUE(WritePngFile(gallery.Canvas().Bitmap, path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 10000u);
}
