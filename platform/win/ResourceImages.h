// Icons and bitmaps loaded by name: the system's stock icons (IDI_) and
// bitmaps (OBM_), and the program's own icon resources, which the framework
// finds for this layer through a loader.
#pragma once

#include "platform/core/System.h"
#include "platform/win/WinUser.h"

#include <functional>

constexpr IntegerResourceName IDI_APPLICATION{32512};
constexpr IntegerResourceName IDI_HAND{32513};
constexpr IntegerResourceName IDI_QUESTION{32514};
constexpr IntegerResourceName IDI_EXCLAMATION{32515};
constexpr IntegerResourceName IDI_ASTERISK{32516};
constexpr IntegerResourceName IDI_WINLOGO{32517};
constexpr IntegerResourceName IDI_WARNING = IDI_EXCLAMATION;
constexpr IntegerResourceName IDI_ERROR = IDI_HAND;
constexpr IntegerResourceName IDI_INFORMATION = IDI_ASTERISK;

constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// The drop-down arrow of a combo box.
constexpr IntegerResourceName OBM_COMBO{32738};

// With no instance, an IDI_ name gives the shared stock icon (32 x 32;
// DestroyIcon leaves it alone). Other names go to the program's resources;
// null with ERROR_RESOURCE_NAME_NOT_FOUND when there is none.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
// With no instance, an OBM_ name gives a new copy of the stock bitmap, which
// the caller deletes; null with ERROR_RESOURCE_NAME_NOT_FOUND otherwise.
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// Draws the picture of a stock icon (IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION,
// IDI_ASTERISK; the others as the application icon) into Box.
void DrawStockIcon(HDC dc, WORD iconId, const TRect& box);

// Finds an icon resource of the program by name ("#12" for a number).
using IconResourceLoader = std::function<HICON(HINSTANCE instance, const AnsiString& name)>;
void SetIconResourceLoader(IconResourceLoader loader);
