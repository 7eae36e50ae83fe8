// Menu bar layout and painting. A row is as tall as the system's menu height
// or the tallest owner-drawn item in the bar; a menu without items still
// shows an empty row.
#include "platform/win/MenuBar.h"

#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/MenuDrawing.h"
#include "platform/win/NonClient.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"

#include <algorithm>

namespace {

struct BarLayout {
    std::vector<TRect> items;
    int height = 0;
};

SIZE barItemSize(HWND window, MenuItemObject& item) {
    int padding = 2 * BarItemPadding();
    if (IsOwnerDrawn(item)) return OwnerDrawnItemSize(window, item, true);
    if (item.type & MFT_BITMAP) {
        SIZE picture = MenuBitmapSize(item.bitmap);
        return {picture.cx + padding, picture.cy};
    }
    if (IsSeparator(item)) return {padding, 0};
    SIZE text = MenuTextExtent(LabelOf(item.text), item.state & MFS_DEFAULT);
    return {text.cx + padding, text.cy};
}

// The first right-justified item of a row and those after it move to its right end.
void justifyRow(const MenuObject& menu, BarLayout& layout, std::size_t first, std::size_t end, int width) {
    for (std::size_t index = first; index < end; ++index) {
        if (!(menu.items[index].type & MFT_RIGHTJUSTIFY)) continue;
        int shift = width - layout.items[end - 1].Right;
        if (shift <= 0) return;
        for (std::size_t moved = index; moved < end; ++moved)
            layout.items[moved] = OffsetRectBy(layout.items[moved], shift, 0);
        return;
    }
}

BarLayout layoutBar(HWND window, MenuObject& menu, int width) {
    std::vector<SIZE> sizes;
    int rowHeight = GetSystemMetrics(SM_CYMENU);
    for (MenuItemObject& item : menu.items) {
        sizes.push_back(barItemSize(window, item));
        rowHeight = std::max<int>(rowHeight, sizes.back().cy);
    }
    BarLayout layout;
    int x = 0;
    int row = 0;
    std::size_t rowStart = 0;
    for (std::size_t index = 0; index < sizes.size(); ++index) {
        int itemWidth = sizes[index].cx;
        bool forcedBreak = menu.items[index].type & (MFT_MENUBREAK | MFT_MENUBARBREAK);
        if (index > rowStart && (forcedBreak || x + itemWidth > width)) {
            justifyRow(menu, layout, rowStart, index, width);
            ++row;
            x = 0;
            rowStart = index;
        }
        layout.items.push_back({x, row * rowHeight, x + itemWidth, (row + 1) * rowHeight});
        x += itemWidth;
    }
    justifyRow(menu, layout, rowStart, sizes.size(), width);
    layout.height = (row + 1) * rowHeight;
    return layout;
}

} // namespace

int MenuBarHeight(HWND window, int width) {
    MenuObject* menu = FindMenuObject(MenuOfWindow(window));
    return menu ? layoutBar(window, *menu, width).height : 0;
}

std::vector<TRect> LayoutMenuBar(HWND window, HMENU handle, int width) {
    MenuObject* menu = FindMenuObject(handle);
    return menu ? layoutBar(window, *menu, width).items : std::vector<TRect>{};
}

void PaintMenuBar(HWND window, HDC dc, const TRect& bar) {
    HMENU handle = MenuOfWindow(window);
    MenuObject* menu = FindMenuObject(handle);
    if (!menu) return;
    RECT area = bar;
    FillRect(dc, &area, GetSysColorBrush(COLOR_MENU));
    std::vector<TRect> places = layoutBar(window, *menu, bar.Width()).items;
    for (std::size_t index = 0; index < places.size() && index < menu->items.size(); ++index) {
        TRect rect = OffsetRectBy(places[index], bar.Left, bar.Top);
        rect = IntersectRects(rect, bar);
        const MenuItemObject& item = menu->items[index];
        if (IsOwnerDrawn(item))
            DrawOwnerDrawnItem(window, handle, item, dc, rect, ODA_DRAWENTIRE, item.state & MFS_HILITE);
        else
            DrawBarItem(dc, item, rect);
    }
}

TRect MenuBarRectOnScreen(HWND handle) {
    Window* window = FindWindowObject(handle);
    if (!window) return {};
    NonClientLayout layout = LayoutNonClient(*window);
    TPoint origin = WindowOriginOnScreen(*window);
    return OffsetRectBy(layout.menuBar, origin.x, origin.y);
}

TRect MenuBarItemRectOnScreen(HWND window, std::size_t index) {
    TRect bar = MenuBarRectOnScreen(window);
    std::vector<TRect> places = LayoutMenuBar(window, MenuOfWindow(window), bar.Width());
    if (IsEmptyRect(bar) || index >= places.size()) return {};
    return OffsetRectBy(places[index], bar.Left, bar.Top);
}

int MenuBarItemAt(HWND window, POINT screen) {
    TRect bar = MenuBarRectOnScreen(window);
    if (!RectContains(bar, screen)) return -1;
    std::vector<TRect> places = LayoutMenuBar(window, MenuOfWindow(window), bar.Width());
    for (std::size_t index = 0; index < places.size(); ++index)
        if (RectContains(OffsetRectBy(places[index], bar.Left, bar.Top), screen))
            return static_cast<int>(index);
    return -1;
}

void RepaintMenuBar(HWND handle) {
    Window* window = FindWindowObject(handle);
    if (!window || !IsShowing(*window)) return;
    TRect bar = LayoutNonClient(*window).menuBar;
    if (IsEmptyRect(bar)) return;
    HDC dc = GetWindowDC(handle);
    if (!dc) return;
    PaintMenuBar(handle, dc, bar);
    ReleaseDC(handle, dc);
}
