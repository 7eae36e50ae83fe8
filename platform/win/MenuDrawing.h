// How menu items look in the classic style: the menu font, the sizes of items
// in pop-ups and in bars, their drawing (highlight, check marks and radio
// bullets, embossed disabled text, default items in bold, sub-menu arrows),
// and the owner-draw messages through which an owner measures and draws its
// own items. Shared by the bar and the pop-up windows.
#pragma once

#include "platform/win/MenuObjects.h"

// The widths a pop-up's text items share, so that labels and shortcut texts
// line up in columns.
struct PopupColumns {
    int labelWidth = 0;
    int shortcutWidth = 0;
};

HFONT MenuFont(bool bold);
// The extent of a label as drawn ("&" prefixes taken out).
SIZE MenuTextExtent(const WideString& text, bool bold);

int PopupTextItemHeight();
int PopupSeparatorHeight();
// Left of the labels: room for a check mark or a bitmap.
int PopupCheckColumnWidth();
// Right of the labels and shortcut texts: room for a sub-menu's arrow.
int PopupArrowColumnWidth();
// The space between a label and its shortcut text.
int PopupShortcutGap();
int BarItemPadding();

// Asks the owner once (WM_MEASUREITEM) and keeps the answer with the item.
SIZE OwnerDrawnItemSize(HWND owner, MenuItemObject& item, bool inBar);
// WM_DRAWITEM to the owner; `selected` adds ODS_SELECTED.
void DrawOwnerDrawnItem(HWND owner, HMENU menu, const MenuItemObject& item, HDC dc, const TRect& rect,
                        UINT action, bool selected);

// The size of an MFT_BITMAP item's picture.
SIZE MenuBitmapSize(HBITMAP bitmap);

void DrawPopupItem(HDC dc, const MenuItemObject& item, const TRect& rect, const PopupColumns& columns,
                   bool selected);
// A bar item is highlighted while it has MFS_HILITE.
void DrawBarItem(HDC dc, const MenuItemObject& item, const TRect& rect);
