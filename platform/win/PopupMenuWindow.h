// An open pop-up menu: a window of the pop-up menu class that shows one
// menu's items in a column inside a raised frame (check marks, labels and
// shortcut texts in columns, sub-menu arrows), laid out when it opens, with
// the item under a point and the selection drawn at once. Where pop-ups go
// on the screen is decided here too.
#pragma once

#include "platform/win/MenuDrawing.h"

#include <vector>

class PopupMenuWindow {
public:
    // Lays the menu out (the owner measures its owner-drawn items) and makes
    // the window, hidden.
    PopupMenuWindow(HWND owner, HMENU menu);
    ~PopupMenuWindow();
    PopupMenuWindow(const PopupMenuWindow&) = delete;
    PopupMenuWindow& operator=(const PopupMenuWindow&) = delete;

    HWND Handle() const { return window_; }
    HMENU Menu() const { return menu_; }
    SIZE Size() const { return size_; }
    // Shows the window with its top-left corner at a screen point, without activating it.
    void ShowAt(POINT topLeft);
    TRect BoundsOnScreen() const;
    std::size_t ItemCount() const { return items_.size(); }
    // The item under a screen point, or -1.
    int ItemAt(POINT screen) const;
    TRect ItemRectOnScreen(int index) const;
    int Selected() const { return selected_; }
    // Draws the previous and the new selection; -1 selects nothing.
    void Select(int index);
    void Paint(HDC dc, const TRect& update);

private:
    void layout();
    void drawItem(HDC dc, int index, UINT action);

    HWND owner_;
    HMENU menu_;
    HWND window_ = nullptr;
    std::vector<TRect> items_;
    PopupColumns columns_;
    SIZE size_{0, 0};
    int selected_ = -1;
};

// A hidden window of the pop-up class that holds the mouse capture while a
// menu is open, so that every click, inside the menus or not, reaches the menu.
HWND CreateMenuCaptureWindow();

// Where a pop-up of `size` goes for TrackPopupMenuEx's point and TPM_
// alignment flags: beside the excluded rectangle rather than over it, and
// turned to the other side of the point where the screen ends.
POINT PlacePopup(SIZE size, POINT point, UINT flags, const TRect* exclude);
// Where a sub-menu goes: right of its parent pop-up, level with its item, or
// left of the parent where the screen ends.
POINT PlaceSubMenu(SIZE size, const TRect& parent, const TRect& item);
