// Menu items in the classic look. Metrics follow the system's: items of a
// pop-up are a little shorter than the bar, separators half as tall, and the
// check-mark column as wide as the check mark with a margin on each side.
#include "platform/win/MenuDrawing.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"

#include <algorithm>

namespace {

constexpr int checkMargin = 2;
constexpr int textItemPadding = 4;
constexpr int barPadding = 6;
constexpr int shortcutGap = 16;
// Copies the brush where the source is black and leaves the destination
// where it is white: a monochrome glyph painted in the brush's colour.
constexpr DWORD paintBrushThroughMask = 0x00B8074A;

HFONT createMenuFont(bool bold) {
    NONCLIENTMETRICSW metrics;
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&metrics.lfMenuFont);
}

int menuFontHeight() {
    static int height = [] {
        HDC screen = GetDC(nullptr);
        HGDIOBJ previous = SelectObject(screen, MenuFont(false));
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen, &metrics);
        SelectObject(screen, previous);
        ReleaseDC(nullptr, screen);
        return static_cast<int>(metrics.tmHeight);
    }();
    return height;
}

SIZE checkMarkSize() {
    return {GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK)};
}

TRect centredIn(const TRect& box, SIZE size) {
    int left = box.Left + (box.Width() - size.cx) / 2;
    int top = box.Top + (box.Height() - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
}

// Paints a DrawFrameControl menu glyph (check, bullet, arrow) in a colour,
// leaving the background as it is.
void drawGlyph(HDC dc, const TRect& box, UINT glyph, COLORREF colour) {
    HDC mask = CreateCompatibleDC(dc);
    HBITMAP bits = CreateBitmap(box.Width(), box.Height(), 1, 1, nullptr);
    HGDIOBJ previousBits = SelectObject(mask, bits);
    RECT area{0, 0, box.Width(), box.Height()};
    DrawFrameControl(mask, &area, DFC_MENU, glyph);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF previousBack = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, box.Left, box.Top, box.Width(), box.Height(), mask, 0, 0, paintBrushThroughMask);
    SetBkColor(dc, previousBack);
    SetTextColor(dc, previousText);
    SelectObject(dc, previousBrush);
    DeleteObject(brush);
    SelectObject(mask, previousBits);
    DeleteObject(bits);
    DeleteDC(mask);
}

// A monochrome bitmap takes the DC's text and background colours, as the
// system draws check-mark bitmaps.
void drawBitmap(HDC dc, HBITMAP bitmap, const TRect& box) {
    SIZE size = MenuBitmapSize(bitmap);
    TRect place = centredIn(box, size);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(dc, place.Left, place.Top, std::min<int>(size.cx, box.Width()),
           std::min<int>(size.cy, box.Height()), source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

void drawText(HDC dc, const WideString& text, TRect rect, UINT format, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

// Disabled text is embossed on the menu colour and plain grey on the highlight.
void drawItemText(HDC dc, const WideString& text, const TRect& rect, UINT format, bool disabled,
                  bool selected) {
    if (!disabled) {
        drawText(dc, text, rect, format, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
        return;
    }
    if (selected) {
        drawText(dc, text, rect, format, GetSysColor(COLOR_GRAYTEXT));
        return;
    }
    drawText(dc, text, {rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1}, format,
             GetSysColor(COLOR_3DHILIGHT));
    drawText(dc, text, rect, format, GetSysColor(COLOR_3DSHADOW));
}

COLORREF glyphColour(const MenuItemObject& item, bool selected) {
    if (IsDisabled(item)) return GetSysColor(COLOR_GRAYTEXT);
    return GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
}

void drawCheckColumn(HDC dc, const MenuItemObject& item, const TRect& column, bool selected) {
    bool checked = item.state & MFS_CHECKED;
    HBITMAP picture = checked ? item.checkedBitmap : item.uncheckedBitmap;
    if (!picture && !checked && !(item.type & MFT_BITMAP)) picture = item.bitmap;
    if (picture) {
        drawBitmap(dc, picture, column);
        return;
    }
    if (!checked) return;
    UINT glyph = (item.type & MFT_RADIOCHECK) ? DFCS_MENUBULLET : DFCS_MENUCHECK;
    drawGlyph(dc, centredIn(column, checkMarkSize()), glyph, glyphColour(item, selected));
}

UINT ownerDrawState(const MenuItemObject& item, bool selected) {
    UINT state = selected ? ODS_SELECTED : 0;
    if (item.state & MF_GRAYED) state |= ODS_GRAYED;
    if (item.state & MF_DISABLED) state |= ODS_DISABLED;
    if (item.state & MFS_CHECKED) state |= ODS_CHECKED;
    if (item.state & MFS_DEFAULT) state |= ODS_DEFAULT;
    return state;
}

} // namespace

HFONT MenuFont(bool bold) {
    static HFONT normal = createMenuFont(false);
    static HFONT heavy = createMenuFont(true);
    return bold ? heavy : normal;
}

SIZE MenuTextExtent(const WideString& text, bool bold) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, MenuFont(bold));
    RECT area{};
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &area, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return {area.Width(), menuFontHeight()};
}

int PopupTextItemHeight() {
    return std::max(GetSystemMetrics(SM_CYMENU) - 2, menuFontHeight() + textItemPadding);
}

int PopupSeparatorHeight() {
    return GetSystemMetrics(SM_CYMENU) / 2;
}

int PopupCheckColumnWidth() {
    return checkMarkSize().cx + 2 * checkMargin;
}

int PopupArrowColumnWidth() {
    return checkMarkSize().cx + 2 * checkMargin;
}

int PopupShortcutGap() {
    return shortcutGap;
}

int BarItemPadding() {
    return barPadding;
}

SIZE OwnerDrawnItemSize(HWND owner, MenuItemObject& item, bool inBar) {
    if (item.ownerSize) return *item.ownerSize;
    MEASUREITEMSTRUCT measure;
    measure.CtlType = ODT_MENU;
    measure.itemID = item.id;
    measure.itemHeight = static_cast<UINT>(PopupTextItemHeight());
    measure.itemData = item.data;
    SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    // A pop-up gives every owner-drawn item room for a check mark besides.
    int extra = inBar ? 0 : checkMarkSize().cx - 1;
    SIZE size{static_cast<LONG>(measure.itemWidth) + extra, static_cast<LONG>(measure.itemHeight)};
    item.ownerSize = size;
    return size;
}

void DrawOwnerDrawnItem(HWND owner, HMENU menu, const MenuItemObject& item, HDC dc, const TRect& rect,
                        UINT action, bool selected) {
    DRAWITEMSTRUCT draw;
    draw.CtlType = ODT_MENU;
    draw.itemID = item.id;
    draw.itemAction = action;
    draw.itemState = ownerDrawState(item, selected);
    draw.hwndItem = reinterpret_cast<HWND>(menu);
    draw.hDC = dc;
    draw.rcItem = rect;
    draw.itemData = item.data;
    int saved = SaveDC(dc);
    SelectObject(dc, MenuFont(item.state & MFS_DEFAULT));
    SetBkColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    RestoreDC(dc, saved);
}

SIZE MenuBitmapSize(HBITMAP bitmap) {
    BITMAP description{};
    if (!bitmap || !GetObjectW(bitmap, sizeof description, &description)) return {0, 0};
    return {description.bmWidth, description.bmHeight};
}

void DrawPopupItem(HDC dc, const MenuItemObject& item, const TRect& rect, const PopupColumns& columns,
                   bool selected) {
    RECT area = rect;
    FillRect(dc, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (IsSeparator(item)) {
        int middle = rect.Top + rect.Height() / 2 - 1;
        RECT line{rect.Left + 1, middle, rect.Right - 1, middle + 2};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, MenuFont(item.state & MFS_DEFAULT));
    TRect check{rect.Left, rect.Top, rect.Left + PopupCheckColumnWidth(), rect.Bottom};
    drawCheckColumn(dc, item, check, selected);
    int arrowLeft = rect.Right - PopupArrowColumnWidth();
    if (item.type & MFT_BITMAP) {
        drawBitmap(dc, item.bitmap, {check.Right, rect.Top, arrowLeft, rect.Bottom});
    } else {
        bool disabled = IsDisabled(item);
        UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
        drawItemText(dc, LabelOf(item.text), {check.Right, rect.Top, arrowLeft, rect.Bottom}, format,
                     disabled, selected);
        int shortcutLeft = check.Right + columns.labelWidth + PopupShortcutGap();
        drawItemText(dc, ShortcutTextOf(item.text), {shortcutLeft, rect.Top, arrowLeft, rect.Bottom},
                     format | DT_NOPREFIX, disabled, selected);
    }
    if (item.subMenu)
        drawGlyph(dc, centredIn({arrowLeft, rect.Top, rect.Right, rect.Bottom}, checkMarkSize()),
                  DFCS_MENUARROW, glyphColour(item, selected));
    RestoreDC(dc, saved);
}

void DrawBarItem(HDC dc, const MenuItemObject& item, const TRect& rect) {
    bool highlighted = item.state & MFS_HILITE;
    RECT area = rect;
    FillRect(dc, &area, GetSysColorBrush(highlighted ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (item.type & MFT_BITMAP) {
        drawBitmap(dc, item.bitmap, rect);
        return;
    }
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, MenuFont(item.state & MFS_DEFAULT));
    drawItemText(dc, LabelOf(item.text), rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER, IsDisabled(item),
                 highlighted);
    RestoreDC(dc, saved);
}

void DrawMenuGlyph(HDC dc, const RECT& box, UINT glyph, COLORREF colour) {
    drawGlyph(dc, centredIn(box, checkMarkSize()), glyph, colour);
}
