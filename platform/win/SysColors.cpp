// The classic scheme's colours, one brush per colour made on first request.
#include "platform/win/SysColors.h"

#include "platform/win/GdiObjects.h"

#include <array>

namespace {

constexpr int systemColourCount = COLOR_MENUBAR + 1;

constexpr std::array<COLORREF, systemColourCount> classicScheme = {
    RGB(192, 192, 192), // COLOR_SCROLLBAR
    RGB(0, 128, 128),   // COLOR_BACKGROUND
    RGB(0, 0, 128),     // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(192, 192, 192), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(192, 192, 192), // COLOR_ACTIVEBORDER
    RGB(192, 192, 192), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(0, 0, 128),     // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(192, 192, 192), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),       // COLOR_3DDKSHADOW
    RGB(192, 192, 192), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(192, 192, 192), // 25, no longer named
    RGB(0, 0, 128),     // COLOR_HOTLIGHT
    RGB(16, 132, 208),  // COLOR_GRADIENTACTIVECAPTION
    RGB(181, 181, 181), // COLOR_GRADIENTINACTIVECAPTION
    RGB(0, 0, 128),     // COLOR_MENUHILIGHT
    RGB(192, 192, 192), // COLOR_MENUBAR
};

bool isSystemColour(int index) {
    return index >= 0 && index < systemColourCount;
}

} // namespace

DWORD GetSysColor(int index) {
    return isSystemColour(index) ? classicScheme[static_cast<std::size_t>(index)] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    if (!isSystemColour(index)) return nullptr;
    GdiLock lock(GdiMutex());
    static std::array<HBRUSH, systemColourCount> brushes{};
    HBRUSH& brush = brushes[static_cast<std::size_t>(index)];
    if (!brush) {
        auto object = std::make_unique<BrushObject>();
        object->logBrush = {BS_SOLID, GetSysColor(index), 0};
        object->stock = true;
        brush = static_cast<HBRUSH>(InsertObject(std::move(object)));
    }
    return brush;
}
