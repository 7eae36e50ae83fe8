// The tab control: items, their layout in rows, selection by mouse and keys, and drawing.
#include "platform/win/TabControl.h"

#include "platform/win/CommonControls.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int defaultPaddingX = 6;
constexpr int defaultPaddingY = 3;
// The selected tab stands out this much at its sides and top.
constexpr int selectedGrowth = 2;
// Room above the first row for the selected tab to grow into.
constexpr int headerMargin = 2;
// The frame around the display area and the gap inside it.
constexpr int frameWidth = 2;
constexpr int displayGap = 2;
constexpr int scrollButtonWidth = 16;
constexpr int buttonGap = 3;

struct TabItem {
    WideString text;
    int image = -1;
    LPARAM param = 0;
    DWORD state = 0;
    // Where the tab lies (not grown for selection); empty when scrolled out of sight.
    RECT rect;
    int row = 0;
};

class TabControl : public DrawnControl {
public:
    using DrawnControl::DrawnControl;

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case TCM_GETITEMCOUNT:
            return static_cast<LRESULT>(items_.size());
        case TCM_INSERTITEMA:
            return insertItem(static_cast<int>(wParam), reinterpret_cast<const TCITEMA*>(lParam));
        case TCM_INSERTITEMW:
            return insertItem(static_cast<int>(wParam), reinterpret_cast<const TCITEMW*>(lParam));
        case TCM_SETITEMA:
            return setItem(static_cast<int>(wParam), reinterpret_cast<const TCITEMA*>(lParam));
        case TCM_SETITEMW:
            return setItem(static_cast<int>(wParam), reinterpret_cast<const TCITEMW*>(lParam));
        case TCM_GETITEMA:
            return getItem(static_cast<int>(wParam), reinterpret_cast<TCITEMA*>(lParam));
        case TCM_GETITEMW:
            return getItem(static_cast<int>(wParam), reinterpret_cast<TCITEMW*>(lParam));
        case TCM_DELETEITEM:
            return deleteItem(static_cast<int>(wParam));
        case TCM_DELETEALLITEMS:
            items_.clear();
            selected_ = focused_ = -1;
            firstVisible_ = 0;
            relayout();
            return TRUE;
        case TCM_GETCURSEL:
            return selected_;
        case TCM_SETCURSEL:
            return setSelection(static_cast<int>(wParam));
        case TCM_GETCURFOCUS:
            return focused_ >= 0 ? focused_ : selected_;
        case TCM_SETCURFOCUS:
            setFocusItem(static_cast<int>(wParam));
            return 0;
        case TCM_GETITEMRECT:
            return getItemRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
        case TCM_HITTEST:
            return hitTest(reinterpret_cast<TCHITTESTINFO*>(lParam));
        case TCM_ADJUSTRECT:
            adjustRect(wParam != 0, reinterpret_cast<RECT*>(lParam));
            return 0;
        case TCM_SETITEMSIZE:
            return setItemSize(LOWORD(static_cast<UINT_PTR>(lParam)), HIWORD(static_cast<UINT_PTR>(lParam)));
        case TCM_SETPADDING:
            padding_ = {LOWORD(static_cast<UINT_PTR>(lParam)), HIWORD(static_cast<UINT_PTR>(lParam))};
            relayout();
            return 0;
        case TCM_GETROWCOUNT:
            return rowCount_;
        case TCM_SETMINTABWIDTH:
            return std::exchange(minimumWidth_, static_cast<int>(lParam));
        case TCM_SETIMAGELIST: {
            HIMAGELIST previous = std::exchange(images_, reinterpret_cast<HIMAGELIST>(lParam));
            relayout();
            return reinterpret_cast<LRESULT>(previous);
        }
        case TCM_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(images_);
        case TCM_REMOVEIMAGE:
            removeImage(static_cast<int>(wParam));
            return 0;
        case TCM_DESELECTALL:
            for (TabItem& item : items_)
                item.state &= ~TCIS_BUTTONPRESSED;
            Invalidate();
            return 0;
        case TCM_HIGHLIGHTITEM:
            return highlightItem(static_cast<int>(wParam), lParam != 0);
        case TCM_SETEXTENDEDSTYLE:
            return std::exchange(extendedStyle_,
                                 (extendedStyle_ & ~static_cast<DWORD>(wParam)) |
                                     (static_cast<DWORD>(lParam) & static_cast<DWORD>(wParam)));
        case TCM_GETEXTENDEDSTYLE:
            return extendedStyle_;
        case TCM_SETTOOLTIPS:
            tooltips_ = reinterpret_cast<HWND>(wParam);
            return 0;
        case TCM_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(tooltips_);
        case TCM_SETITEMEXTRA:
            return wParam == sizeof(LPARAM) && items_.empty();
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_LBUTTONDOWN:
            mouseDown(PointFromLParam(lParam));
            return 0;
        case WM_LBUTTONUP: {
            NMHDR header;
            Notify(header, NM_CLICK);
            return 0;
        }
        case WM_RBUTTONUP: {
            NMHDR header;
            if (!Notify(header, NM_RCLICK)) Default(message, wParam, lParam);
            return 0;
        }
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wParam), lParam);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (selected_ >= 0) InvalidateRect(grownRect(selected_));
            return 0;
        case WM_SIZE:
        case WM_STYLECHANGED:
            relayout();
            return 0;
        case WM_SETFONT:
            relayout();
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    bool validItem(int index) const { return index >= 0 && index < static_cast<int>(items_.size()); }
    TabItem& itemAt(int index) { return items_[static_cast<std::size_t>(index)]; }
    const TabItem& itemAt(int index) const { return items_[static_cast<std::size_t>(index)]; }
    bool buttons() const { return HasStyle(TCS_BUTTONS); }
    bool bottom() const { return HasStyle(TCS_BOTTOM); }
    bool multiLine() const { return HasStyle(TCS_MULTILINE); }

    // ---- Items ----

    template <typename Char> void applyItem(TabItem& item, const TCITEM_T<Char>& source) {
        if (source.mask & TCIF_TEXT) item.text = TextOf(source.pszText);
        if (source.mask & TCIF_IMAGE) item.image = source.iImage;
        if (source.mask & TCIF_PARAM) item.param = source.lParam;
        if (source.mask & TCIF_STATE)
            item.state = (item.state & ~source.dwStateMask) | (source.dwState & source.dwStateMask);
    }

    template <typename Char> LRESULT insertItem(int index, const TCITEM_T<Char>* source) {
        if (!source || index < 0) return -1;
        index = std::min(index, static_cast<int>(items_.size()));
        TabItem item;
        applyItem(item, *source);
        items_.insert(items_.begin() + index, std::move(item));
        // The first tab is selected as it arrives; later ones keep the selection where it is.
        if (selected_ < 0 && items_.size() == 1)
            selected_ = 0;
        else if (selected_ >= index && items_.size() > 1)
            ++selected_;
        if (focused_ >= index) ++focused_;
        relayout();
        return index;
    }

    template <typename Char> LRESULT setItem(int index, const TCITEM_T<Char>* source) {
        if (!source || !validItem(index)) return FALSE;
        applyItem(itemAt(index), *source);
        relayout();
        return TRUE;
    }

    template <typename Char> LRESULT getItem(int index, TCITEM_T<Char>* target) const {
        if (!target || !validItem(index)) return FALSE;
        const TabItem& item = itemAt(index);
        if (target->mask & TCIF_TEXT) CopyText(item.text, target->pszText, target->cchTextMax);
        if (target->mask & TCIF_IMAGE) target->iImage = item.image;
        if (target->mask & TCIF_PARAM) target->lParam = item.param;
        if (target->mask & TCIF_STATE) target->dwState = item.state & target->dwStateMask;
        return TRUE;
    }

    LRESULT deleteItem(int index) {
        if (!validItem(index)) return FALSE;
        items_.erase(items_.begin() + index);
        if (selected_ == index)
            selected_ = -1;
        else if (selected_ > index)
            --selected_;
        if (focused_ == index)
            focused_ = -1;
        else if (focused_ > index)
            --focused_;
        firstVisible_ = std::clamp(firstVisible_, 0, std::max(0, static_cast<int>(items_.size()) - 1));
        relayout();
        return TRUE;
    }

    LRESULT setSelection(int index) {
        const int previous = selected_;
        if (index != -1 && !validItem(index)) return -1;
        selected_ = index;
        focused_ = index;
        if (multiLine() && !buttons())
            relayout();
        else
            ensureVisible(index);
        Invalidate();
        return previous;
    }

    void setFocusItem(int index) {
        if (!validItem(index)) return;
        if (buttons()) {
            focused_ = index;
            Invalidate();
        } else {
            changeSelection(index);
        }
    }

    LRESULT highlightItem(int index, bool on) {
        if (!validItem(index)) return FALSE;
        DWORD& state = itemAt(index).state;
        state = on ? state | TCIS_HIGHLIGHTED : state & ~TCIS_HIGHLIGHTED;
        InvalidateRect(grownRect(index));
        return TRUE;
    }

    void removeImage(int image) {
        for (TabItem& item : items_) {
            if (item.image == image)
                item.image = -1;
            else if (item.image > image)
                --item.image;
        }
        relayout();
    }

    LRESULT setItemSize(int width, int height) {
        const LRESULT previous = MAKELONG(static_cast<WORD>(lastWidth_), static_cast<WORD>(tabHeight()));
        fixedWidth_ = width;
        fixedHeight_ = height;
        relayout();
        return previous;
    }

    // ---- Changing the selection as the user does ----

    // Asks the parent, then selects and tells it; false when the parent refused.
    bool changeSelection(int index) {
        if (!validItem(index) || index == selected_) return false;
        NMHDR header;
        if (Notify(header, TCN_SELCHANGING)) return false;
        setSelection(index);
        Notify(header, TCN_SELCHANGE);
        return true;
    }

    void mouseDown(POINT point) {
        if (HasStyle(TCS_FOCUSONBUTTONDOWN) && !HasStyle(TCS_FOCUSNEVER)) SetFocus(Window());
        if (scrolling_) {
            if (PointInRect(scrollButton(false), point)) return scrollBy(-1);
            if (PointInRect(scrollButton(true), point)) return scrollBy(1);
        }
        const int index = itemAtPoint(point);
        if (index >= 0) changeSelection(index);
    }

    void keyDown(UINT key, LPARAM keyData) {
        NMTCKEYDOWN info;
        info.wVKey = static_cast<WORD>(key);
        info.flags = static_cast<UINT>(HIWORD(static_cast<UINT_PTR>(keyData)));
        Notify(info.hdr, TCN_KEYDOWN);
        const int count = static_cast<int>(items_.size());
        if (count == 0) return;
        const int current = selected_ < 0 ? 0 : selected_;
        switch (key) {
        case VK_LEFT:
        case VK_UP:
            if (current > 0) changeSelection(current - 1);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            if (current < count - 1) changeSelection(current + 1);
            break;
        case VK_HOME:
            changeSelection(0);
            break;
        case VK_END:
            changeSelection(count - 1);
            break;
        default:
            break;
        }
    }

    void scrollBy(int delta) {
        const int first =
            std::clamp(firstVisible_ + delta, 0, std::max(0, static_cast<int>(items_.size()) - 1));
        if (first == firstVisible_) return;
        firstVisible_ = first;
        relayout();
    }

    void ensureVisible(int index) {
        if (!validItem(index) || multiLine()) return;
        if (index < firstVisible_) firstVisible_ = index;
        relayout();
        while (scrolling_ && itemAt(index).rect.Right > scrollButton(false).Left && firstVisible_ < index) {
            ++firstVisible_;
            relayout();
        }
    }

    // ---- Layout ----

    int textHeight() const {
        int height = FontHeight();
        if (images_) height = std::max(height, static_cast<int>(images_->ImageSize().cy));
        return height;
    }

    int tabHeight() const { return fixedHeight_ > 0 ? fixedHeight_ : textHeight() + 2 * padding_.y; }

    int naturalWidth(const TabItem& item, HDC dc) const {
        if (HasStyle(TCS_FIXEDWIDTH) && fixedWidth_ > 0) return fixedWidth_;
        int width = TextExtent(dc, item.text).cx + 2 * padding_.x;
        if (images_ && item.image >= 0) width += images_->ImageSize().cx + padding_.x;
        return std::max(width, minimumWidth_);
    }

    // The band the tabs occupy: above the display area, or below it.
    int headerHeight() const { return rowCount_ * tabHeight() + (buttons() ? 0 : headerMargin); }

    void relayout() {
        const RECT client = ClientRect();
        FontMeasure measure(Font());
        std::vector<int> widths;
        for (const TabItem& item : items_)
            widths.push_back(naturalWidth(item, measure.DC()));
        if (!widths.empty()) lastWidth_ = widths.back();
        const int left = buttons() ? 0 : selectedGrowth;
        const int right = client.Right - (buttons() ? 0 : selectedGrowth);
        if (multiLine())
            layoutRows(widths, left, right);
        else
            layoutSingleRow(widths, left, right);
        placeRows(client);
        Invalidate();
    }

    void layoutSingleRow(const std::vector<int>& widths, int left, int right) {
        rowCount_ = items_.empty() ? 0 : 1;
        int total = 0;
        for (int width : widths)
            total += width + (buttons() ? buttonGap : 0);
        scrolling_ = total > right - left && items_.size() > 1;
        if (!scrolling_) firstVisible_ = 0;
        int x = left;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            TabItem& item = items_[i];
            item.row = 0;
            if (static_cast<int>(i) < firstVisible_) {
                item.rect = {};
                continue;
            }
            item.rect = {x, 0, x + widths[i], 0};
            x += widths[i] + (buttons() ? buttonGap : 0);
        }
    }

    void layoutRows(const std::vector<int>& widths, int left, int right) {
        scrolling_ = false;
        firstVisible_ = 0;
        int row = 0;
        int x = left;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (x > left && x + widths[i] > right) {
                ++row;
                x = left;
            }
            items_[i].row = row;
            items_[i].rect = {x, 0, x + widths[i], 0};
            x += widths[i] + (buttons() ? buttonGap : 0);
        }
        rowCount_ = items_.empty() ? 0 : row + 1;
        if (rowCount_ > 1 && !HasStyle(TCS_RAGGEDRIGHT)) stretchRows(right);
        // The row of the selected tab moves next to the display area, as on a card index.
        if (!buttons() && validItem(selected_) && rowCount_ > 1) {
            const int selectedRow = itemAt(selected_).row;
            for (TabItem& item : items_)
                item.row = (item.row - selectedRow + rowCount_ - 1 + rowCount_) % rowCount_;
        }
    }

    // Tabs of a row share out the room left at its end, so that the rows line up.
    void stretchRows(int right) {
        for (int row = 0; row < rowCount_; ++row) {
            std::vector<TabItem*> members;
            for (TabItem& item : items_)
                if (item.row == row) members.push_back(&item);
            const int spare = right - members.back()->rect.Right;
            const int count = static_cast<int>(members.size());
            int shift = 0;
            for (int i = 0; i < count; ++i) {
                const int extra = spare * (i + 1) / count - spare * i / count;
                members[static_cast<std::size_t>(i)]->rect.Left += shift;
                shift += extra;
                members[static_cast<std::size_t>(i)]->rect.Right += shift;
            }
        }
    }

    // Row 0 lies farthest from the display area.
    void placeRows(const RECT& client) {
        const int height = tabHeight();
        for (TabItem& item : items_) {
            if (item.rect.Right == item.rect.Left) continue;
            int top = (buttons() ? 0 : headerMargin) + item.row * height;
            if (bottom()) top = client.Bottom - headerHeight() + (rowCount_ - 1 - item.row) * height;
            item.rect.Top = top;
            item.rect.Bottom = top + height;
        }
    }

    RECT scrollButton(bool forward) const {
        const RECT client = ClientRect();
        const int size = std::min(tabHeight(), scrollButtonWidth);
        const int top = bottom() ? client.Bottom - size - 1 : headerMargin + tabHeight() - size - 1;
        const int right = client.Right - (forward ? 0 : size);
        return {right - size, top, right, top + size};
    }

    RECT frameRect() const {
        RECT client = ClientRect();
        if (bottom())
            client.Bottom -= headerHeight();
        else
            client.Top += headerHeight();
        return client;
    }

    void adjustRect(bool toWindow, RECT* rect) const {
        if (!rect) return;
        const int inset = buttons() ? 0 : frameWidth + displayGap;
        const int header = headerHeight();
        const int top = bottom() ? inset : header + inset;
        const int below = bottom() ? header + inset : inset;
        const int sign = toWindow ? -1 : 1;
        rect->Left += sign * inset;
        rect->Right -= sign * inset;
        rect->Top += sign * top;
        rect->Bottom -= sign * below;
    }

    RECT grownRect(int index) const {
        RECT rect = itemAt(index).rect;
        if (index != selected_ || buttons()) return rect;
        return bottom() ? RECT{rect.Left - selectedGrowth, rect.Top - 1, rect.Right + selectedGrowth,
                               rect.Bottom + selectedGrowth}
                        : RECT{rect.Left - selectedGrowth, rect.Top - selectedGrowth,
                               rect.Right + selectedGrowth, rect.Bottom + 1};
    }

    bool shown(int index) const { return itemAt(index).rect.Right > itemAt(index).rect.Left; }

    int itemAtPoint(POINT point) const {
        if (validItem(selected_) && shown(selected_) && PointInRect(grownRect(selected_), point))
            return selected_;
        for (int i = 0; i < static_cast<int>(items_.size()); ++i)
            if (shown(i) && PointInRect(itemAt(i).rect, point)) return i;
        return -1;
    }

    LRESULT getItemRect(int index, RECT* rect) const {
        if (!rect || !validItem(index)) return FALSE;
        *rect = itemAt(index).rect;
        return TRUE;
    }

    LRESULT hitTest(TCHITTESTINFO* info) const {
        if (!info) return -1;
        const int index = itemAtPoint(info->pt);
        info->flags = index < 0 ? TCHT_NOWHERE : TCHT_ONITEMLABEL;
        return index;
    }

    // ---- Drawing ----

    void Paint(HDC dc) override {
        FillSolidRect(dc, ClientRect(), GetSysColor(COLOR_BTNFACE));
        HGDIOBJ previousFont = SelectObject(dc, Font());
        if (!buttons()) paintFrame(dc);
        for (int i = 0; i < static_cast<int>(items_.size()); ++i)
            if (i != selected_ && shown(i)) paintTab(dc, i);
        if (validItem(selected_) && shown(selected_)) paintTab(dc, selected_);
        if (scrolling_) paintScrollButtons(dc);
        SelectObject(dc, previousFont);
    }

    void paintFrame(HDC dc) {
        RECT frame = frameRect();
        DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT | BF_SOFT);
    }

    void paintTab(HDC dc, int index) {
        const TabItem& item = itemAt(index);
        const bool isSelected = index == selected_;
        RECT rect = grownRect(index);
        if (buttons())
            paintButtonFace(dc, item, rect, isSelected);
        else
            paintTabShape(dc, rect, isSelected);
        if (HasStyle(TCS_OWNERDRAWFIXED)) return drawOwnerTab(dc, index, rect);
        paintContents(dc, item, rect);
        const bool hasFocus = GetFocus() == Window() && !HasStyle(TCS_FOCUSNEVER);
        if (hasFocus && index == (buttons() && focused_ >= 0 ? focused_ : selected_)) {
            RECT focus = InflatedRect(rect, -3, -3);
            DrawFocusRect(dc, &focus);
        }
    }

    void paintButtonFace(HDC dc, const TabItem& item, const RECT& rect, bool isSelected) {
        const bool down = isSelected || (item.state & TCIS_BUTTONPRESSED);
        if (item.state & TCIS_HIGHLIGHTED) FillSolidRect(dc, rect, GetSysColor(COLOR_HIGHLIGHT));
        RECT edge = rect;
        if (HasStyle(TCS_FLATBUTTONS)) {
            if (down) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        } else {
            DrawEdge(dc, &edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
        }
    }

    // A tab's outline: light at the left and top, dark at the right, rounded
    // at the outer corners (drawn for tabs on top and mirrored for tabs
    // below); the selected tab covers the frame next to it.
    void paintTabShape(HDC dc, const RECT& rect, bool isSelected) {
        FillSolidRect(dc, rect, GetSysColor(COLOR_BTNFACE));
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
        const int inner = rect.Bottom - (isSelected ? 0 : 1);
        auto line = [&](RECT part, COLORREF colour) {
            if (bottom())
                part = {part.Left, rect.Top + rect.Bottom - part.Bottom, part.Right,
                        rect.Top + rect.Bottom - part.Top};
            fillLine(dc, part, colour);
        };
        line({rect.Left, rect.Top + 2, rect.Left + 1, inner}, light);
        line({rect.Left + 1, rect.Top + 1, rect.Left + 2, rect.Top + 2}, light);
        line({rect.Left + 2, rect.Top, rect.Right - 2, rect.Top + 1}, bottom() ? dark : light);
        line({rect.Right - 2, rect.Top + 1, rect.Right - 1, rect.Top + 2}, dark);
        line({rect.Right - 1, rect.Top + 2, rect.Right, inner}, dark);
        line({rect.Right - 2, rect.Top + 2, rect.Right - 1, inner}, shadow);
    }

    static void fillLine(HDC dc, const RECT& rect, COLORREF colour) {
        if (rect.Right > rect.Left && rect.Bottom > rect.Top) FillSolidRect(dc, rect, colour);
    }

    void paintContents(HDC dc, const TabItem& item, const RECT& rect) {
        RECT content = InflatedRect(rect, -padding_.x / 2, 0);
        int imageWidth = 0;
        if (images_ && item.image >= 0) imageWidth = images_->ImageSize().cx + padding_.x;
        const int textWidth = TextExtent(dc, item.text).cx;
        int x = content.Left + (content.Width() - imageWidth - textWidth) / 2;
        if (imageWidth > 0) {
            const int y = content.Top + (content.Height() - images_->ImageSize().cy) / 2;
            images_->DrawImage(dc, item.image, x, y, ImageDrawTransparent);
            x += imageWidth;
        }
        RECT textRect{x, content.Top, x + textWidth + 1, content.Bottom};
        const bool highlighted = (item.state & TCIS_HIGHLIGHTED) != 0;
        const COLORREF colour = !Enabled()                 ? GetSysColor(COLOR_GRAYTEXT)
                                : highlighted && buttons() ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                           : GetSysColor(COLOR_BTNTEXT);
        DrawTextIn(dc, item.text, textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT, colour);
    }

    void drawOwnerTab(HDC dc, int index, const RECT& rect) {
        DRAWITEMSTRUCT item;
        item.CtlType = ODT_TAB;
        item.CtlID = static_cast<UINT>(ControlId());
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = (index == selected_ ? ODS_SELECTED : 0) | (Enabled() ? 0 : ODS_DISABLED) |
                         (GetFocus() == Window() ? ODS_FOCUS : 0);
        item.hwndItem = Window();
        item.hDC = dc;
        item.rcItem = InflatedRect(rect, -frameWidth, -frameWidth);
        item.itemData = static_cast<ULONG_PTR>(itemAt(index).param);
        HWND parent = NotifyWindow();
        if (parent) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }

    void paintScrollButtons(HDC dc) {
        for (bool forward : {false, true}) {
            RECT button = scrollButton(forward);
            FillSolidRect(dc, button, GetSysColor(COLOR_BTNFACE));
            RECT edge = button;
            DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT);
            const bool canMove =
                forward ? firstVisible_ < static_cast<int>(items_.size()) - 1 : firstVisible_ > 0;
            DrawArrowGlyph(dc, button, forward ? ArrowDirection::Right : ArrowDirection::Left,
                           GetSysColor(canMove ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        }
    }

    std::vector<TabItem> items_;
    int selected_ = -1;
    int focused_ = -1;
    int firstVisible_ = 0;
    int rowCount_ = 0;
    bool scrolling_ = false;
    POINT padding_{defaultPaddingX, defaultPaddingY};
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
    int minimumWidth_ = 0;
    int lastWidth_ = 0;
    HIMAGELIST images_ = nullptr;
    HWND tooltips_ = nullptr;
    DWORD extendedStyle_ = 0;
};

} // namespace

void RegisterTabControlClass() {
    RegisterControlClass(WC_TABCONTROLW, &CommonControlProcedure<TabControl>,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE);
}
