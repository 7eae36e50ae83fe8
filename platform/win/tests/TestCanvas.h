// A memory DC over a fresh bitmap, with helpers to read its pixels as text
// pictures, for the graphics tests.
#pragma once

#include "platform/win/Bitmaps.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"

#include <map>
#include <string>

struct TestCanvas {
    TestCanvas(int width, int height, COLORREF fill = RGB(255, 255, 255), bool monochrome = false)
        : Width(width), Height(height) {
        DC = CreateCompatibleDC(nullptr);
        Bitmap = monochrome ? CreateBitmap(width, height, 1, 1, nullptr)
                            : CreateBitmapFromSurface(std::make_shared<PixelSurface>(width, height));
        Previous = SelectObject(DC, Bitmap);
        Fill(fill);
    }
    ~TestCanvas() {
        SelectObject(DC, Previous);
        DeleteObject(Bitmap);
        DeleteDC(DC);
    }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    void Fill(COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all{0, 0, Width, Height};
        FillRect(DC, &all, brush);
        DeleteObject(brush);
    }
    // Read from the bitmap itself, whatever the DC's origins and clip.
    COLORREF At(int x, int y) const { return ColorRefFromPixel(BitmapSurface(Bitmap)->At(x, y)); }

    // One character per pixel, rows separated by newlines; colours not in the key show as '?'.
    std::string Picture(const std::map<COLORREF, char>& key, RECT area) const {
        std::string text;
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                auto found = key.find(At(x, y));
                text.push_back(found == key.end() ? '?' : found->second);
            }
            text.push_back('\n');
        }
        return text;
    }
    std::string Picture(const std::map<COLORREF, char>& key) const {
        return Picture(key, {0, 0, Width, Height});
    }
    // White '.', black '#'.
    std::string Picture() const { return Picture({{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}}); }

    // The bounding box of pixels that differ from `background`; empty when none.
    RECT InkBox(COLORREF background = RGB(255, 255, 255)) const {
        RECT box{Width, Height, 0, 0};
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if (At(x, y) != background) {
                    box.Left = std::min<int>(box.Left, x);
                    box.Top = std::min<int>(box.Top, y);
                    box.Right = std::max<int>(box.Right, x + 1);
                    box.Bottom = std::max<int>(box.Bottom, y + 1);
                }
        return box.Right == 0 ? RECT{} : box;
    }

    int Width, Height;
    HDC DC;
    HBITMAP Bitmap;
    HGDIOBJ Previous;
};

// Selects an object for the life of the scope and deletes it afterwards.
struct Selected {
    Selected(HDC dc, HGDIOBJ object) : Dc(dc), Object(object), Previous(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(Dc, Previous);
        DeleteObject(Object);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    HDC Dc;
    HGDIOBJ Object;
    HGDIOBJ Previous;
};

inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string text;
    for (const char* row : rows)
        text += std::string(row) + "\n";
    return text;
}
