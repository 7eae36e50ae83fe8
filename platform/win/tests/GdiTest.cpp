#include "platform/win/Gdi.h"

#include "TestCanvas.h"
#include "platform/win/Blit.h"
#include "platform/win/Fonts.h"
#include "platform/win/Icons.h"
#include "platform/win/SysColors.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GdiObjects, StockObjectsAreSharedAndNeverDeleted) {
    HGDIOBJ pen = GetStockObject(BLACK_PEN);
    EXPECT_EQ(pen, GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    EXPECT_EQ(GetStockObject(99), nullptr);
    LOGFONTA guiFont;
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof guiFont, &guiFont), 60);
    EXPECT_EQ(guiFont.lfHeight, -11);
    EXPECT_STREQ(guiFont.lfFaceName, "MS Shell Dlg");
    EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), OBJ_FONT);
}

TEST(GdiObjects, AnObjectDeletedWhileSelectedGoesWhenItIsDeselected) {
    TestCanvas canvas(3, 1);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ previous = SelectObject(canvas.DC, pen);
    EXPECT_EQ(previous, GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(pen));
    MoveToEx(canvas.DC, 0, 0, nullptr);
    LineTo(canvas.DC, 1, 0);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
    SelectObject(canvas.DC, previous);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(canvas.DC, pen), nullptr);
}

TEST(GdiObjects, GetObjectDescribesEachKind) {
    LOGPEN logPen;
    HPEN pen = CreatePen(PS_DASH, 3, RGB(1, 2, 3));
    EXPECT_EQ(GetObjectA(pen, 0, nullptr), static_cast<int>(sizeof(LOGPEN)));
    ASSERT_EQ(GetObjectA(pen, sizeof logPen, &logPen), static_cast<int>(sizeof(LOGPEN)));
    EXPECT_EQ(logPen.lopnStyle, PS_DASH);
    EXPECT_EQ(logPen.lopnWidth.x, 3);
    EXPECT_EQ(logPen.lopnColor, RGB(1, 2, 3));
    DeleteObject(pen);

    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
    LOGBRUSH logBrush;
    GetObjectA(hatch, sizeof logBrush, &logBrush);
    EXPECT_EQ(logBrush.lbStyle, BS_HATCHED);
    EXPECT_EQ(logBrush.lbHatch, static_cast<ULONG_PTR>(HS_CROSS));
    DeleteObject(hatch);
    EXPECT_EQ(CreateHatchBrush(6, 0), nullptr);

    // The font cache compares the whole 60-byte ANSI logical font, so bytes after the name are zero.
    LOGFONTA logFont{};
    logFont.lfHeight = -13;
    std::strcpy(logFont.lfFaceName, "Courier New");
    HFONT font = CreateFontIndirectA(&logFont);
    LOGFONTA back;
    std::memset(static_cast<void*>(&back), 0xAB, sizeof back);
    ASSERT_EQ(GetObjectA(font, sizeof back, &back), 60);
    EXPECT_EQ(std::memcmp(&back, &logFont, sizeof back), 0);
    LOGFONTW wide;
    EXPECT_EQ(GetObjectW(font, sizeof wide, &wide), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(WideString(wide.lfFaceName), u"Courier New");
    DeleteObject(font);

    HBITMAP monochrome = CreateBitmap(17, 3, 1, 1, nullptr);
    BITMAP description;
    ASSERT_EQ(GetObjectA(monochrome, sizeof description, &description), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(description.bmWidth, 17);
    EXPECT_EQ(description.bmBitsPixel, 1);
    EXPECT_EQ(description.bmWidthBytes, 4);
    DeleteObject(monochrome);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(CreateBitmap(0, 5, 1, 32, nullptr), CreateCompatibleBitmap(screen, 5, 0))
        << "the shared 1 x 1 bitmap";
    ReleaseDC(nullptr, screen);
}

TEST(GdiObjects, CompatibleBitmapsFollowTheBitmapInTheDC) {
    HDC memory = CreateCompatibleDC(nullptr);
    BITMAP description;
    HBITMAP fromMemory = CreateCompatibleBitmap(memory, 4, 4);
    GetObjectA(fromMemory, sizeof description, &description);
    EXPECT_EQ(description.bmBitsPixel, 1) << "a new memory DC holds a monochrome bitmap";
    HDC screen = GetDC(nullptr);
    HBITMAP fromScreen = CreateCompatibleBitmap(screen, 4, 4);
    GetObjectA(fromScreen, sizeof description, &description);
    EXPECT_EQ(description.bmBitsPixel, 32);

    HDC other = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, fromScreen);
    EXPECT_EQ(SelectObject(other, fromScreen), nullptr) << "a bitmap lives in one DC at a time";
    SelectObject(memory, previous);
    EXPECT_NE(SelectObject(other, fromScreen), nullptr);
    DeleteDC(other);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DeleteObject(fromMemory);
    DeleteObject(fromScreen);
}

TEST(DeviceContexts, SaveAndRestoreBringBackTheState) {
    TestCanvas canvas(2, 2);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    EXPECT_EQ(SaveDC(canvas.DC), 1);
    SetTextColor(canvas.DC, RGB(1, 1, 1));
    SelectObject(canvas.DC, red);
    SetWindowOrgEx(canvas.DC, 5, 5, nullptr);
    EXPECT_EQ(SaveDC(canvas.DC), 2);
    SetTextColor(canvas.DC, RGB(2, 2, 2));
    EXPECT_EQ(SaveDC(canvas.DC), 3);
    EXPECT_TRUE(RestoreDC(canvas.DC, -1));
    EXPECT_EQ(GetTextColor(canvas.DC), RGB(2, 2, 2));
    EXPECT_TRUE(RestoreDC(canvas.DC, 2));
    EXPECT_EQ(GetTextColor(canvas.DC), RGB(1, 1, 1));
    EXPECT_EQ(GetCurrentObject(canvas.DC, OBJ_BRUSH), red);
    EXPECT_FALSE(RestoreDC(canvas.DC, 2));
    EXPECT_TRUE(RestoreDC(canvas.DC, 1));
    EXPECT_EQ(GetTextColor(canvas.DC), RGB(0, 0, 0));
    EXPECT_EQ(GetCurrentObject(canvas.DC, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    POINT origin;
    GetWindowOrgEx(canvas.DC, &origin);
    EXPECT_EQ(origin, (POINT{0, 0}));
    EXPECT_FALSE(RestoreDC(canvas.DC, -1));
    DeleteObject(red);
}

TEST(DeviceContexts, ModesRejectUnknownValues) {
    TestCanvas canvas(1, 1);
    EXPECT_EQ(SetBkMode(canvas.DC, 7), 0);
    EXPECT_EQ(GetBkMode(canvas.DC), OPAQUE);
    EXPECT_EQ(SetROP2(canvas.DC, 0), 0);
    EXPECT_EQ(SetMapMode(canvas.DC, 8), 0);
    EXPECT_EQ(GetMapMode(canvas.DC), MM_TEXT);
    EXPECT_EQ(SetStretchBltMode(canvas.DC, HALFTONE), BLACKONWHITE);
    EXPECT_EQ(SetTextAlign(canvas.DC, TA_BASELINE), TA_LEFT | TA_TOP);
    EXPECT_EQ(GetTextColor(nullptr), CLR_INVALID);
}

TEST(SystemColours, ClassicSchemeAndDevice) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
    EXPECT_EQ(GetSysColor(COLOR_INFOBK), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(31), 0u);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_EQ(face, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(GetObjectType(face), OBJ_BRUSH);
    EXPECT_EQ(GetSysColorBrush(40), nullptr);

    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, NUMCOLORS), -1);
    ReleaseDC(nullptr, screen);
}

TEST(Palettes, PaletteIndexesResolveThroughTheSelectedPalette) {
    TestCanvas canvas(1, 1);
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } storage;
    storage.header.palVersion = 0x300;
    storage.header.palNumEntries = 2;
    storage.header.palPalEntry[0] = {10, 20, 30, 0};
    storage.more[0] = {40, 50, 60, 0};
    HPALETTE palette = CreatePalette(&storage.header);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 2u);
    HPALETTE previous = SelectPalette(canvas.DC, palette, FALSE);
    EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
    RealizePalette(canvas.DC);
    SetPixel(canvas.DC, 0, 0, PALETTEINDEX(1));
    EXPECT_EQ(canvas.At(0, 0), RGB(40, 50, 60));
    SetPixel(canvas.DC, 0, 0, PALETTERGB(7, 8, 9));
    EXPECT_EQ(canvas.At(0, 0), RGB(7, 8, 9));
    SelectPalette(canvas.DC, previous, FALSE);
    DeleteObject(palette);
}

TEST(DeviceContexts, WindowDCsDrawIntoTheirAreaOfTheWindowSurface) {
    auto surface = std::make_shared<PixelSurface>(10, 10);
    surface->Fill(PixelWhite);
    HWND window = reinterpret_cast<HWND>(0x1234);
    WindowDrawingAreaLookup windows =
        SetWindowDrawingAreaLookup([&](HWND which, bool, WindowDrawingArea& area) {
            if (which != window) return false;
            area.surface = surface;
            area.origin = {2, 3};
            area.visible = Region(TRect{0, 0, 4, 4}).Subtract(Region(TRect{0, 0, 1, 1}));
            return true;
        });
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x999)), nullptr);
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), window);
    RECT clipBox;
    EXPECT_EQ(GetClipBox(dc, &clipBox), COMPLEXREGION);
    EXPECT_EQ(clipBox, (RECT{0, 0, 4, 4}));
    RECT all{-5, -5, 20, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_EQ(surface->At(2, 3), PixelWhite);
    EXPECT_EQ(surface->At(3, 3), PixelBlack);
    EXPECT_EQ(surface->At(5, 6), PixelBlack);
    EXPECT_EQ(surface->At(6, 6), PixelWhite);
    EXPECT_EQ(surface->At(1, 4), PixelWhite);
    SetWindowDrawingAreaLookup(windows);
}

TEST(DeviceContexts, TheScreenIsReadThroughTheBackend) {
    const SIZE size = ScreenSize();
    ScreenPixelReader backend = SetScreenPixelReader(
        [](const TRect& rect, PixelSurface& screen) {
            for (int y = rect.Top; y < rect.Bottom; ++y)
                for (int x = rect.Left; x < rect.Right; ++x)
                    screen.Set(x, y, PixelFromColorRef(RGB(x, y, 7)));
        },
        640, 480);
    EXPECT_EQ(ScreenSize(), (SIZE{640, 480}));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 640);
    EXPECT_EQ(GetPixel(screen, 30, 40), RGB(30, 40, 7));
    TestCanvas canvas(4, 2);
    BitBlt(canvas.DC, 0, 0, 4, 2, screen, 100, 50, SRCCOPY);
    EXPECT_EQ(canvas.At(3, 1), RGB(103, 51, 7));
    ReleaseDC(nullptr, screen);
    SetScreenPixelReader(backend, size.cx, size.cy);
}

TEST(Bitmaps, DibSectionsShareTheirBitsWithDrawing) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    ASSERT_NE(bits, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, section);
    SetPixel(dc, 2, 0, RGB(0x11, 0x22, 0x33));
    // Bottom-up: the top row is the last one in memory; pixels are blue, green, red, unused.
    const Byte* topRow = static_cast<const Byte*>(bits) + 3 * 4;
    EXPECT_EQ(topRow[2 * 4 + 0], 0x33);
    EXPECT_EQ(topRow[2 * 4 + 1], 0x22);
    EXPECT_EQ(topRow[2 * 4 + 2], 0x11);
    DIBSECTION description;
    EXPECT_EQ(GetObjectA(section, sizeof description, &description), static_cast<int>(sizeof(DIBSECTION)));
    EXPECT_EQ(description.dsBm.bmBits, bits);
    EXPECT_EQ(description.dsBmih.biHeight, 2);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(section);
    info.bmiHeader.biBitCount = 24;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(Bitmaps, ScanLinesGoOutAndComeBackIn) {
    TestCanvas canvas(3, 2);
    SetPixel(canvas.DC, 0, 0, RGB(1, 2, 3));
    SetPixel(canvas.DC, 2, 1, RGB(4, 5, 6));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_EQ(GetDIBits(canvas.DC, canvas.Bitmap, 0, 2, nullptr, &info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(info.bmiHeader.biWidth, 3);
    EXPECT_EQ(info.bmiHeader.biBitCount, 32);
    info.bmiHeader.biBitCount = 24;
    std::vector<Byte> bits(12 * 2);
    ASSERT_EQ(GetDIBits(canvas.DC, canvas.Bitmap, 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(bits[12 + 0], 3); // bottom-up: the top row comes second
    EXPECT_EQ(bits[6], 6);
    TestCanvas copy(3, 2);
    ASSERT_EQ(SetDIBits(copy.DC, copy.Bitmap, 0, 2, bits.data(), &info, DIB_RGB_COLORS), 2);
    EXPECT_EQ(copy.At(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(copy.At(2, 1), RGB(4, 5, 6));
    EXPECT_EQ(copy.At(1, 1), RGB(255, 255, 255));
}

TEST(Icons, MaskAndImageCombineOverTheBackground) {
    // A 2 x 1 icon: the left pixel opaque red, the right one transparent.
    TestCanvas colour(2, 1, RGB(0, 0, 0));
    SetPixel(colour.DC, 0, 0, RGB(255, 0, 0));
    TestCanvas mask(2, 1, RGB(255, 255, 255), true);
    SetPixel(mask.DC, 0, 0, RGB(0, 0, 0));
    ICONINFO info{TRUE, 1, 0, mask.Bitmap, colour.Bitmap};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    TestCanvas canvas(4, 2, RGB(0, 0, 255));
    SetTextColor(canvas.DC, RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(canvas.DC, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    ASSERT_TRUE(DrawIconEx(canvas.DC, 0, 1, icon, 4, 1, 0, nullptr, DI_NORMAL));
    std::map<COLORREF, char> key{{RGB(0, 0, 255), 'b'}, {RGB(255, 0, 0), 'r'}};
    EXPECT_EQ(canvas.Picture(key), Rows({"rbbb", "rrbb"}));
    EXPECT_EQ(GetTextColor(canvas.DC), RGB(0, 255, 0));

    ICONINFO back;
    ASSERT_TRUE(GetIconInfo(icon, &back));
    EXPECT_NE(back.hbmMask, mask.Bitmap);
    EXPECT_EQ(back.xHotspot, 1u);
    BITMAP description;
    GetObjectA(back.hbmColor, sizeof description, &description);
    EXPECT_EQ(description.bmWidth, 2);
    DeleteObject(back.hbmMask);
    DeleteObject(back.hbmColor);
    HICON copy = CopyIcon(icon);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_TRUE(DrawIconEx(canvas.DC, 0, 0, copy, 0, 0, 0, nullptr, DI_NORMAL));
    DestroyIcon(copy);
}
