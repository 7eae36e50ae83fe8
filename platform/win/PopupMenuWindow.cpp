// Pop-up menu windows. The frame is the classic raised edge with one pixel of
// menu colour inside it; a sub-menu overlaps its parent by that frame.
#include "platform/win/PopupMenuWindow.h"

#include "platform/win/DefWindowProc.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Gdi.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

constexpr int frameWidth = 3;

PopupMenuWindow* popupOf(HWND window) {
    return reinterpret_cast<PopupMenuWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT popupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (PopupMenuWindow* popup = popupOf(window)) popup->Paint(dc, paint.rcPaint);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerPopupClass() {
    static bool registered = [] {
        WNDCLASSEXW popupClass;
        popupClass.style = CS_SAVEBITS | CS_DROPSHADOW;
        popupClass.lpfnWndProc = WindowProcFromFunction(popupProcedure);
        popupClass.lpszClassName = PopupMenuClassName;
        return RegisterSystemClassW(&popupClass) != 0;
    }();
    (void)registered;
}

SIZE screenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool overlaps(const TRect& a, const TRect& b) {
    return !IsEmptyRect(IntersectRects(a, b));
}

} // namespace

PopupMenuWindow::PopupMenuWindow(HWND owner, HMENU menu) : owner_(owner), menu_(menu) {
    registerPopupClass();
    layout();
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, PopupMenuClassName, u"", WS_POPUP, 0, 0,
                              size_.cx, size_.cy, nullptr, nullptr, nullptr, this);
}

PopupMenuWindow::~PopupMenuWindow() {
    if (IsWindow(window_)) DestroyWindow(window_);
}

void PopupMenuWindow::layout() {
    MenuObject* menu = FindMenuObject(menu_);
    if (!menu) return;
    for (const MenuItemObject& item : menu->items) {
        if (!IsTextItem(item)) continue;
        bool bold = item.state & MFS_DEFAULT;
        columns_.labelWidth = std::max<int>(columns_.labelWidth, MenuTextExtent(LabelOf(item.text), bold).cx);
        WideString shortcut = ShortcutTextOf(item.text);
        if (!shortcut.empty())
            columns_.shortcutWidth = std::max<int>(columns_.shortcutWidth, MenuTextExtent(shortcut, bold).cx);
    }
    int sides = PopupCheckColumnWidth() + PopupArrowColumnWidth();
    int width = sides + columns_.labelWidth;
    if (columns_.shortcutWidth) width += PopupShortcutGap() + columns_.shortcutWidth;
    int y = frameWidth;
    for (MenuItemObject& item : menu->items) {
        int height = PopupTextItemHeight();
        if (IsOwnerDrawn(item)) {
            SIZE size = OwnerDrawnItemSize(owner_, item, false);
            width = std::max<int>(width, size.cx);
            height = size.cy;
        } else if (IsSeparator(item)) {
            height = PopupSeparatorHeight();
        } else if (item.type & MFT_BITMAP) {
            SIZE size = MenuBitmapSize(item.bitmap);
            width = std::max<int>(width, sides + size.cx);
            height = std::max<int>(height, size.cy);
        }
        items_.push_back({frameWidth, y, 0, y + height});
        y += height;
    }
    for (TRect& item : items_)
        item.Right = frameWidth + width;
    size_ = {width + 2 * frameWidth, y + frameWidth};
}

void PopupMenuWindow::ShowAt(POINT topLeft) {
    SetWindowPos(window_, HWND_TOPMOST, topLeft.x, topLeft.y, size_.cx, size_.cy,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(window_);
}

TRect PopupMenuWindow::BoundsOnScreen() const {
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    return bounds;
}

int PopupMenuWindow::ItemAt(POINT screen) const {
    POINT client = screen;
    ScreenToClient(window_, &client);
    for (std::size_t index = 0; index < items_.size(); ++index)
        if (RectContains(items_[index], client)) return static_cast<int>(index);
    return -1;
}

TRect PopupMenuWindow::ItemRectOnScreen(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= items_.size()) return {};
    TRect bounds = BoundsOnScreen();
    return OffsetRectBy(items_[static_cast<std::size_t>(index)], bounds.Left, bounds.Top);
}

void PopupMenuWindow::Select(int index) {
    if (index == selected_) return;
    int previous = std::exchange(selected_, index);
    if (!IsWindowVisible(window_)) return;
    HDC dc = GetDC(window_);
    if (previous >= 0) drawItem(dc, previous, ODA_SELECT);
    if (index >= 0) drawItem(dc, index, ODA_SELECT);
    ReleaseDC(window_, dc);
}

void PopupMenuWindow::Paint(HDC dc, const TRect& update) {
    RECT frame{0, 0, size_.cx, size_.cy};
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_ADJUST);
    FillRect(dc, &frame, GetSysColorBrush(COLOR_MENU));
    for (std::size_t index = 0; index < items_.size(); ++index)
        if (overlaps(items_[index], update)) drawItem(dc, static_cast<int>(index), ODA_DRAWENTIRE);
}

void PopupMenuWindow::drawItem(HDC dc, int index, UINT action) {
    MenuObject* menu = FindMenuObject(menu_);
    auto position = static_cast<std::size_t>(index);
    if (!menu || position >= menu->items.size() || position >= items_.size()) return;
    const MenuItemObject& item = menu->items[position];
    bool selected = index == selected_;
    if (IsOwnerDrawn(item))
        DrawOwnerDrawnItem(owner_, menu_, item, dc, items_[position], action, selected);
    else
        DrawPopupItem(dc, item, items_[position], columns_, selected);
}

HWND CreateMenuCaptureWindow() {
    registerPopupClass();
    return CreateWindowExW(WS_EX_TOOLWINDOW, PopupMenuClassName, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           nullptr, nullptr);
}

POINT PlacePopup(SIZE size, POINT point, UINT flags, const TRect* exclude) {
    SIZE screen = screenSize();
    int x = point.x;
    int y = point.y;
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    if (exclude && overlaps({x, y, x + size.cx, y + size.cy}, *exclude)) {
        if (flags & TPM_VERTICAL)
            y = exclude->Bottom + size.cy <= screen.cy ? exclude->Bottom : exclude->Top - size.cy;
        else
            x = exclude->Right + size.cx <= screen.cx ? exclude->Right : exclude->Left - size.cx;
    }
    if (x + size.cx > screen.cx) x = point.x - size.cx >= 0 ? point.x - size.cx : screen.cx - size.cx;
    if (y + size.cy > screen.cy) y = point.y - size.cy >= 0 ? point.y - size.cy : screen.cy - size.cy;
    return {std::max(x, 0), std::max(y, 0)};
}

POINT PlaceSubMenu(SIZE size, const TRect& parent, const TRect& item) {
    SIZE screen = screenSize();
    int x = parent.Right - frameWidth;
    if (x + size.cx > screen.cx) x = parent.Left - size.cx + frameWidth;
    int y = std::min<int>(item.Top - frameWidth, screen.cy - size.cy);
    return {std::max(x, 0), std::max(y, 0)};
}
