// Stock icons and bitmaps, the program's icons through the loader, and the
// colour depth a DC reports.
#include "platform/win/ResourceImages.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/LastError.h"
#include "platform/win/SysColors.h"

#include <gtest/gtest.h>

namespace {

COLORREF pixelOf(HBITMAP bitmap, int x, int y) {
    return ColorRefFromPixel(BitmapSurface(bitmap)->At(x, y) & PixelColourMask);
}

TEST(ResourceImages, StockIconsAreSharedAndSurviveDestroyIcon) {
    HICON hand = LoadIconW(nullptr, IDI_HAND);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), hand);
    EXPECT_NE(LoadIconA(nullptr, IDI_APPLICATION), hand);
    DestroyIcon(hand);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    BITMAP description{};
    GetObjectW(info.hbmColor, sizeof(description), &description);
    EXPECT_EQ(description.bmWidth, 32);
    // The red disc is opaque in its middle, its corners transparent.
    EXPECT_EQ(pixelOf(info.hbmMask, 16, 4), RGB(0, 0, 0));
    EXPECT_EQ(pixelOf(info.hbmColor, 6, 16), RGB(255, 0, 0));
    EXPECT_EQ(pixelOf(info.hbmMask, 0, 0), RGB(255, 255, 255));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(ResourceImages, OtherIconsComeFromTheLoader) {
    SetLastError(0);
    EXPECT_EQ(LoadIconA(nullptr, "MAINICON"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    HICON made = CopyIcon(LoadIconW(nullptr, IDI_QUESTION));
    std::vector<std::string> asked;
    SetIconResourceLoader([&](HINSTANCE, const AnsiString& name) -> HICON {
        asked.push_back(name);
        return name == "MAINICON" ? made : nullptr;
    });
    EXPECT_EQ(LoadIconW(nullptr, u"MAINICON"), made);
    EXPECT_EQ(LoadIconA(reinterpret_cast<HINSTANCE>(1), MAKEINTRESOURCEA(7)), nullptr);
    EXPECT_EQ(asked, (std::vector<std::string>{"MAINICON", "#7"}));
    SetIconResourceLoader(nullptr);
    DestroyIcon(made);
}

TEST(ResourceImages, TheComboArrowIsAFreshBitmapEachTime) {
    HBITMAP arrow = LoadBitmapW(nullptr, OBM_COMBO);
    ASSERT_NE(arrow, nullptr);
    HBITMAP again = LoadBitmapA(nullptr, OBM_COMBO);
    EXPECT_NE(arrow, again);
    EXPECT_EQ(pixelOf(arrow, 0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(pixelOf(arrow, 8, 6), GetSysColor(COLOR_BTNTEXT)) << "the arrow's wide top row";
    EXPECT_EQ(pixelOf(arrow, 7, 9), GetSysColor(COLOR_BTNTEXT)) << "its tip";
    EXPECT_EQ(pixelOf(arrow, 8, 9), GetSysColor(COLOR_BTNFACE));
    DeleteObject(arrow);
    DeleteObject(again);
    EXPECT_EQ(LoadBitmapA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
}

TEST(ResourceImages, ColourDepthAndNearestColourFollowTheDC) {
    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(memory, BITSPIXEL), 1) << "a new memory DC holds a monochrome bitmap";
    EXPECT_EQ(GetNearestColor(memory, RGB(200, 180, 190)), RGB(255, 255, 255));
    EXPECT_EQ(GetNearestColor(memory, RGB(20, 80, 10)), RGB(0, 0, 0));
    HBITMAP colour = CreateBitmap(4, 4, 1, 32, nullptr);
    HGDIOBJ previous = SelectObject(memory, colour);
    EXPECT_EQ(GetDeviceCaps(memory, BITSPIXEL), 32);
    EXPECT_EQ(GetNearestColor(memory, RGB(20, 80, 10)), RGB(20, 80, 10));
    EXPECT_TRUE(SetDeviceColourDepth(memory, 8));
    EXPECT_EQ(GetDeviceCaps(memory, BITSPIXEL), 8);
    SetDeviceColourDepth(memory, 0);
    EXPECT_EQ(GetDeviceCaps(memory, BITSPIXEL), 32);
    SelectObject(memory, previous);
    DeleteObject(colour);
    DeleteDC(memory);
    EXPECT_EQ(GetNearestColor(memory, RGB(1, 2, 3)), CLR_INVALID);
}

} // namespace
