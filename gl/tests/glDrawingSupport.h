// A small off-screen drawing surface for the gl drawing tests, and its pixels
// as text: one character per pixel from a legend of colours.
#pragma once

#include "platform/vcl/Graphics.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"

#include <map>
#include <string>

class Surface {
public:
    Surface(Integer Width, Integer Height, TColor Background) {
        bitmap_.SetSize(Width, Height);
        Fill({0, 0, Width, Height}, Background);
    }
    HDC DC() { return bitmap_.Canvas()->Handle(); }
    TBitmap& Bitmap() { return bitmap_; }
    Integer Width() const { return bitmap_.Width(); }
    Integer Height() const { return bitmap_.Height(); }
    TColor Pixel(Integer X, Integer Y) { return static_cast<TColor>(GetPixel(DC(), X, Y)); }
    void Fill(const TRect& Rect, TColor Color) {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
        RECT area{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
        FillRect(DC(), &area, brush);
        DeleteObject(brush);
    }
    // Rows separated by "|"; colours missing from the legend show as "?".
    std::string Picture(const std::map<TColor, char>& Legend) {
        std::string rows;
        for (Integer y = 0; y < Height(); ++y) {
            if (y) rows += '|';
            for (Integer x = 0; x < Width(); ++x) {
                auto found = Legend.find(Pixel(x, y));
                rows += found == Legend.end() ? '?' : found->second;
            }
        }
        return rows;
    }
    bool SameAs(Surface& Other) {
        for (Integer y = 0; y < Height(); ++y)
            for (Integer x = 0; x < Width(); ++x)
                if (Pixel(x, y) != Other.Pixel(x, y)) return false;
        return true;
    }

private:
    TBitmap bitmap_;
};
