// The list view: items, columns and their texts, the four views' layout and
// scrolling, selection by mouse and keys, notifications, label editing and drawing.
#include "platform/win/ListViewControl.h"

#include "platform/core/CodePages.h"
#include "platform/win/CommonControls.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF noColour = 0xFFFFFFFF;
constexpr int textMargin = 2;
constexpr int headerPadding = 6;
constexpr int rowPadding = 2;
constexpr int columnGap = 6;
constexpr int defaultColumnWidth = 50;
constexpr int iconCellWidth = 75;
constexpr int iconTextLines = 2;
constexpr int defaultIconSize = 32;
constexpr int checkBoxSize = 13;
constexpr int dividerGrip = 4;
constexpr int dispInfoBufferSize = 260;
constexpr DWORD searchTimeout = 1000;
constexpr int checkedImage = 2;
constexpr int uncheckedImage = 1;
constexpr int stateImageShift = 12;
constexpr int wheelRows = 3;
// The longest info tip the parent may write.
constexpr int infoTipSize = 1024;

struct SubItem {
    WideString text;
    bool callback = false;
};

struct Item {
    std::vector<SubItem> texts{SubItem{}};
    int image = 0;
    UINT state = 0;
    LPARAM param = 0;
    int indent = 0;
    POINT position{-1, -1};
};

struct Column {
    WideString text;
    int width = defaultColumnWidth;
    int format = LVCFMT_LEFT;
    int subItem = 0;
    int image = -1;
};

class ListView : public DrawnControl {
public:
    explicit ListView(HWND window)
        : DrawnControl(window), editor_([this](bool accepted) { endLabelEdit(accepted); }) {}

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) relayToInfoTip(message, wParam, lParam);
        switch (message) {
        // ---- Items ----
        case LVM_GETITEMCOUNT:
            return itemCount();
        case LVM_SETITEMCOUNT:
            return setItemCount(static_cast<int>(wParam));
        case LVM_INSERTITEMA:
            return insertItem(reinterpret_cast<const LVITEMA*>(lParam));
        case LVM_INSERTITEMW:
            return insertItem(reinterpret_cast<const LVITEMW*>(lParam));
        case LVM_SETITEMA:
            return setItem(reinterpret_cast<const LVITEMA*>(lParam));
        case LVM_SETITEMW:
            return setItem(reinterpret_cast<const LVITEMW*>(lParam));
        case LVM_GETITEMA:
            return getItem(reinterpret_cast<LVITEMA*>(lParam));
        case LVM_GETITEMW:
            return getItem(reinterpret_cast<LVITEMW*>(lParam));
        case LVM_SETITEMTEXTA:
            return setItemText(static_cast<int>(wParam), reinterpret_cast<const LVITEMA*>(lParam));
        case LVM_SETITEMTEXTW:
            return setItemText(static_cast<int>(wParam), reinterpret_cast<const LVITEMW*>(lParam));
        case LVM_GETITEMTEXTA:
            return getItemText(static_cast<int>(wParam), reinterpret_cast<LVITEMA*>(lParam));
        case LVM_GETITEMTEXTW:
            return getItemText(static_cast<int>(wParam), reinterpret_cast<LVITEMW*>(lParam));
        case LVM_DELETEITEM:
            return deleteItem(static_cast<int>(wParam));
        case LVM_DELETEALLITEMS:
            return deleteAllItems();
        case LVM_SETITEMSTATE:
            return setItemStateMessage(static_cast<int>(wParam), reinterpret_cast<const LVITEMA*>(lParam));
        case LVM_GETITEMSTATE:
            return validItem(static_cast<int>(wParam))
                       ? stateOf(static_cast<int>(wParam)) & static_cast<UINT>(lParam)
                       : 0;
        case LVM_GETNEXTITEM:
            return nextItem(static_cast<int>(wParam), LOWORD(lParam));
        case LVM_GETSELECTEDCOUNT:
            return selectedCount();
        case LVM_FINDITEMA:
            return findItem(static_cast<int>(wParam), reinterpret_cast<const LVFINDINFOA*>(lParam));
        case LVM_FINDITEMW:
            return findItem(static_cast<int>(wParam), reinterpret_cast<const LVFINDINFOW*>(lParam));
        case LVM_SORTITEMS:
            return sortItems(reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
        case LVM_UPDATE:
        case LVM_REDRAWITEMS:
            Invalidate();
            return TRUE;
        case LVM_SETCALLBACKMASK:
            callbackMask_ = static_cast<UINT>(wParam);
            return TRUE;
        case LVM_GETCALLBACKMASK:
            return callbackMask_;
        case LVM_GETSELECTIONMARK:
            return anchor_;
        case LVM_SETSELECTIONMARK:
            return std::exchange(anchor_, static_cast<int>(lParam));
        // ---- Columns ----
        case LVM_INSERTCOLUMNA:
            return insertColumn(static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNA*>(lParam));
        case LVM_INSERTCOLUMNW:
            return insertColumn(static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNW*>(lParam));
        case LVM_SETCOLUMNA:
            return setColumn(static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNA*>(lParam));
        case LVM_SETCOLUMNW:
            return setColumn(static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNW*>(lParam));
        case LVM_GETCOLUMNA:
            return getColumn(static_cast<int>(wParam), reinterpret_cast<LVCOLUMNA*>(lParam));
        case LVM_GETCOLUMNW:
            return getColumn(static_cast<int>(wParam), reinterpret_cast<LVCOLUMNW*>(lParam));
        case LVM_DELETECOLUMN:
            return deleteColumn(static_cast<int>(wParam));
        case LVM_GETCOLUMNWIDTH:
            return columnWidth(static_cast<int>(wParam));
        case LVM_SETCOLUMNWIDTH:
            return setColumnWidth(static_cast<int>(wParam), static_cast<SHORT>(LOWORD(lParam)));
        case LVM_GETHEADER:
            return 0;
        // ---- Geometry ----
        case LVM_GETITEMRECT:
            return getItemRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
        case LVM_GETSUBITEMRECT:
            return getSubItemRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
        case LVM_HITTEST:
            return hitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), false);
        case LVM_SUBITEMHITTEST:
            return hitTest(reinterpret_cast<LVHITTESTINFO*>(lParam), true);
        case LVM_ENSUREVISIBLE:
            ensureVisible(static_cast<int>(wParam));
            return TRUE;
        case LVM_SCROLL:
            scrollBy(static_cast<int>(wParam), static_cast<int>(lParam));
            return TRUE;
        case LVM_GETTOPINDEX:
            return topIndex();
        case LVM_GETCOUNTPERPAGE:
            return countPerPage();
        case LVM_GETORIGIN:
            if (lParam) *reinterpret_cast<POINT*>(lParam) = {scrollX_, scrollY_};
            return TRUE;
        case LVM_GETVIEWRECT:
            if (lParam) *reinterpret_cast<RECT*>(lParam) = viewRect();
            return TRUE;
        case LVM_GETITEMPOSITION:
            return getItemPosition(static_cast<int>(wParam), reinterpret_cast<POINT*>(lParam));
        case LVM_SETITEMPOSITION:
            return setItemPosition(static_cast<int>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case LVM_ARRANGE:
            for (Item& item : items_)
                item.position = {-1, -1};
            layoutChanged();
            return TRUE;
        case LVM_GETITEMSPACING: {
            const SIZE cell = iconCell(wParam != 0);
            return MAKELONG(static_cast<WORD>(cell.cx), static_cast<WORD>(cell.cy));
        }
        case LVM_GETSTRINGWIDTHA:
            return stringWidth(TextOf(reinterpret_cast<const char*>(lParam)));
        case LVM_GETSTRINGWIDTHW:
            return stringWidth(TextOf(reinterpret_cast<const WCHAR*>(lParam)));
        // ---- Looks ----
        case LVM_SETIMAGELIST:
            return setImageList(static_cast<int>(wParam), reinterpret_cast<HIMAGELIST>(lParam));
        case LVM_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(imageList(static_cast<int>(wParam)));
        case LVM_SETBKCOLOR:
            backgroundColour_ = static_cast<COLORREF>(lParam);
            Invalidate();
            return TRUE;
        case LVM_GETBKCOLOR:
            return backgroundColour();
        case LVM_SETTEXTCOLOR:
            textColour_ = static_cast<COLORREF>(lParam);
            Invalidate();
            return TRUE;
        case LVM_GETTEXTCOLOR:
            return textColour_;
        case LVM_SETTEXTBKCOLOR:
            textBackgroundColour_ = static_cast<COLORREF>(lParam);
            Invalidate();
            return TRUE;
        case LVM_GETTEXTBKCOLOR:
            return textBackgroundColour_;
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            const DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFF;
            const DWORD previous = extendedStyle_;
            extendedStyle_ = (extendedStyle_ & ~mask) | (static_cast<DWORD>(lParam) & mask);
            if (infoTips()) makeInfoTipWindow();
            layoutChanged();
            return previous;
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return extendedStyle_;
        case LVM_SETTOOLTIPS:
            ownsTooltips_ = false;
            return reinterpret_cast<LRESULT>(std::exchange(tooltips_, reinterpret_cast<HWND>(wParam)));
        case LVM_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(tooltips_);
        case LVM_GETISEARCHSTRINGA:
            return getSearchString(reinterpret_cast<char*>(lParam));
        case LVM_GETISEARCHSTRINGW:
            return getSearchString(reinterpret_cast<WCHAR*>(lParam));
        // ---- Label editing ----
        case LVM_EDITLABELA:
        case LVM_EDITLABELW:
            return reinterpret_cast<LRESULT>(beginLabelEdit(static_cast<int>(wParam)));
        case LVM_GETEDITCONTROL:
            return reinterpret_cast<LRESULT>(editor_.Window());
        // ---- Window messages ----
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wParam), lParam);
            return 0;
        case WM_CHAR:
            character(static_cast<WCHAR>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            mouseDown(PointFromLParam(lParam), message == WM_RBUTTONDOWN, static_cast<UINT>(wParam));
            return 0;
        case WM_LBUTTONDBLCLK:
            doubleClick(PointFromLParam(lParam));
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(PointFromLParam(lParam));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            mouseUp(PointFromLParam(lParam), message == WM_RBUTTONUP);
            return 0;
        case WM_CAPTURECHANGED:
            pressedItem_ = -1;
            resizingColumn_ = -1;
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            NMHDR header;
            Notify(header, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
            Invalidate();
            return 0;
        }
        case WM_VSCROLL:
            scrollMessage(SB_VERT, LOWORD(wParam));
            return 0;
        case WM_HSCROLL:
            scrollMessage(SB_HORZ, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            wheel(GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
            return 0;
        case WM_STYLECHANGED:
        case WM_SETFONT:
            ownerRowHeight_ = 0;
            layoutChanged();
            return 0;
        case WM_NOTIFY:
            return tipNotification(reinterpret_cast<NMHDR*>(lParam));
        case WM_DESTROY:
            if (ownsTooltips_ && IsWindow(tooltips_)) DestroyWindow(tooltips_);
            tooltips_ = nullptr;
            return Default(message, wParam, lParam);
        case WM_SIZE:
            layoutChanged();
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    DWORD view() const { return Style() & LVS_TYPEMASK; }
    bool report() const { return view() == LVS_REPORT; }
    bool listMode() const { return view() == LVS_LIST; }
    bool iconMode() const { return view() == LVS_ICON || view() == LVS_SMALLICON; }
    bool ownerData() const { return HasStyle(LVS_OWNERDATA); }
    bool singleSelection() const { return HasStyle(LVS_SINGLESEL); }
    bool checkBoxes() const { return (extendedStyle_ & LVS_EX_CHECKBOXES) != 0; }
    bool infoTips() const { return (extendedStyle_ & LVS_EX_INFOTIP) != 0; }
    // Owner drawing applies to the report view only; the other views draw themselves.
    bool ownerDrawn() const { return report() && HasStyle(LVS_OWNERDRAWFIXED); }
    int itemCount() const { return ownerData() ? ownerCount_ : static_cast<int>(items_.size()); }
    bool validItem(int index) const { return index >= 0 && index < itemCount(); }
    bool validColumn(int index) const { return index >= 0 && index < static_cast<int>(columns_.size()); }
    Item& itemAt(int index) { return items_[static_cast<std::size_t>(index)]; }
    const Item& itemAt(int index) const { return items_[static_cast<std::size_t>(index)]; }

    // ---- States (owner data keeps only them) ----

    UINT stateOf(int index) const {
        UINT state = ownerData() ? ownerStates_[static_cast<std::size_t>(index)] : itemAt(index).state;
        if (index == focused_)
            state |= LVIS_FOCUSED;
        else
            state &= ~LVIS_FOCUSED;
        return state;
    }

    void storeState(int index, UINT state) {
        if (ownerData())
            ownerStates_[static_cast<std::size_t>(index)] = state;
        else
            itemAt(index).state = state;
    }

    LPARAM paramOf(int index) const { return ownerData() ? 0 : itemAt(index).param; }

    // Asks the parent, changes the state and tells the parent; false when refused.
    bool changeState(int index, UINT state, UINT mask) {
        const UINT old = stateOf(index);
        const UINT updated = (old & ~mask) | (state & mask);
        if (updated == old) return true;
        NMLISTVIEW change;
        change.iItem = index;
        change.uNewState = updated;
        change.uOldState = old;
        change.uChanged = LVIF_STATE;
        change.lParam = paramOf(index);
        if (Notify(change.hdr, LVN_ITEMCHANGING)) return false;
        if ((updated & LVIS_FOCUSED) && focused_ != index) {
            if (validItem(focused_)) changeState(focused_, 0, LVIS_FOCUSED);
            focused_ = index;
        } else if (!(updated & LVIS_FOCUSED) && focused_ == index) {
            focused_ = -1;
        }
        storeState(index, updated & ~LVIS_FOCUSED);
        NMLISTVIEW changed = change;
        Notify(changed.hdr, LVN_ITEMCHANGED);
        invalidateItem(index);
        return true;
    }

    // With `dropFocus` the focused item loses its focus in the same change.
    void deselectAllBut(int keep, bool dropFocus = false) {
        for (int i = 0; i < itemCount(); ++i) {
            if (i == keep) continue;
            const UINT mask = LVIS_SELECTED | (dropFocus && i == focused_ ? LVIS_FOCUSED : 0);
            if (stateOf(i) & mask) changeState(i, 0, mask);
        }
    }

    // One item selected and focused, the others not.
    void selectOnly(int index) {
        deselectAllBut(index, true);
        if (validItem(index)) changeState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        anchor_ = index;
    }

    void selectRange(int from, int to, int focus) {
        const int low = std::min(from, to);
        const int high = std::max(from, to);
        for (int i = 0; i < itemCount(); ++i)
            if ((i < low || i > high) && (stateOf(i) & LVIS_SELECTED)) changeState(i, 0, LVIS_SELECTED);
        for (int i = low; i <= high; ++i)
            if (!(stateOf(i) & LVIS_SELECTED)) changeState(i, LVIS_SELECTED, LVIS_SELECTED);
        changeState(focus, LVIS_FOCUSED, LVIS_FOCUSED);
    }

    // LVM_SETITEMSTATE: item -1 stands for every item; one selection only with LVS_SINGLESEL.
    LRESULT setItemStateMessage(int index, const LVITEMA* item) {
        if (!item) return FALSE;
        if (index == -1) {
            for (int i = 0; i < itemCount(); ++i)
                changeState(i, item->state, item->stateMask);
            return TRUE;
        }
        if (!validItem(index)) return FALSE;
        if (singleSelection() && (item->stateMask & LVIS_SELECTED) && (item->state & LVIS_SELECTED))
            deselectAllBut(index);
        return changeState(index, item->state, item->stateMask);
    }

    int selectedCount() const {
        int count = 0;
        for (int i = 0; i < itemCount(); ++i)
            if (stateOf(i) & LVIS_SELECTED) ++count;
        return count;
    }

    LRESULT nextItem(int start, UINT flags) const {
        const UINT wanted = flags & (LVNI_SELECTED | LVNI_FOCUSED | LVNI_CUT | LVNI_DROPHILITED);
        const bool backwards = (flags & LVNI_ABOVE) || (flags & LVNI_TOLEFT);
        const int step = backwards ? -1 : 1;
        for (int i = start + step; i >= 0 && i < itemCount(); i += step)
            if ((stateOf(i) & wanted) == wanted) return i;
        return -1;
    }

    // ---- Items ----

    template <typename Char> void applyText(SubItem& target, const Char* text) {
        const bool callback = text == reinterpret_cast<const Char*>(static_cast<INT_PTR>(-1));
        target.callback = callback;
        target.text = callback ? WideString() : TextOf(text);
    }

    template <typename Char> void applyItem(Item& item, const LVITEM_T<Char>& source) {
        if (source.mask & LVIF_TEXT) applyText(item.texts.front(), source.pszText);
        if (source.mask & LVIF_IMAGE) item.image = source.iImage;
        if (source.mask & LVIF_PARAM) item.param = source.lParam;
        if (source.mask & LVIF_INDENT) item.indent = source.iIndent;
    }

    template <typename Char> LRESULT insertItem(const LVITEM_T<Char>* source) {
        if (!source || ownerData() || source->iSubItem != 0) return -1;
        Item item;
        applyItem(item, *source);
        int index = std::clamp(source->iItem, 0, itemCount());
        if (HasStyle(LVS_SORTASCENDING) || HasStyle(LVS_SORTDESCENDING)) index = sortedPosition(item);
        items_.insert(items_.begin() + index, std::move(item));
        if (focused_ >= index) ++focused_;
        if (anchor_ >= index) ++anchor_;
        if (source->mask & LVIF_STATE) {
            storeState(index, source->state & source->stateMask & ~LVIS_FOCUSED);
            if (source->state & source->stateMask & LVIS_FOCUSED) focused_ = index;
        }
        NMLISTVIEW inserted;
        inserted.iItem = index;
        inserted.lParam = itemAt(index).param;
        Notify(inserted.hdr, LVN_INSERTITEM);
        layoutChanged();
        return index;
    }

    int sortedPosition(const Item& item) const {
        const bool descending = HasStyle(LVS_SORTDESCENDING);
        const WideString& text = item.texts.front().text;
        for (int i = 0; i < itemCount(); ++i) {
            const int order = LocaleCompareWide(text, itemAt(i).texts.front().text, true);
            if (descending ? order > 0 : order < 0) return i;
        }
        return itemCount();
    }

    template <typename Char> LRESULT setItem(const LVITEM_T<Char>* source) {
        if (!source || !validItem(source->iItem)) return FALSE;
        const int index = source->iItem;
        if (!ownerData()) {
            Item& item = itemAt(index);
            if (source->iSubItem == 0) {
                applyItem(item, *source);
            } else if (source->mask & LVIF_TEXT) {
                applyText(subItem(item, source->iSubItem), source->pszText);
            }
        }
        if (source->mask & LVIF_STATE) {
            if (singleSelection() && (source->stateMask & LVIS_SELECTED) && (source->state & LVIS_SELECTED))
                deselectAllBut(index);
            changeState(index, source->state, source->stateMask);
        }
        invalidateItem(index);
        return TRUE;
    }

    SubItem& subItem(Item& item, int sub) {
        if (static_cast<int>(item.texts.size()) <= sub) item.texts.resize(static_cast<std::size_t>(sub) + 1);
        return item.texts[static_cast<std::size_t>(sub)];
    }

    template <typename Char> LRESULT getItem(LVITEM_T<Char>* target) {
        if (!target || !validItem(target->iItem)) return FALSE;
        const int index = target->iItem;
        if (target->mask & LVIF_TEXT)
            CopyText(itemText(index, target->iSubItem), target->pszText, target->cchTextMax);
        if (target->mask & LVIF_IMAGE) target->iImage = imageOf(index);
        if (target->mask & LVIF_STATE) target->state = stateOf(index) & target->stateMask;
        if (target->mask & LVIF_PARAM) target->lParam = paramOf(index);
        if ((target->mask & LVIF_INDENT) && !ownerData()) target->iIndent = itemAt(index).indent;
        return TRUE;
    }

    template <typename Char> LRESULT setItemText(int index, const LVITEM_T<Char>* source) {
        if (!source || !validItem(index) || ownerData()) return FALSE;
        applyText(subItem(itemAt(index), source->iSubItem), source->pszText);
        invalidateItem(index);
        return TRUE;
    }

    template <typename Char> LRESULT getItemText(int index, LVITEM_T<Char>* target) {
        if (!target || !validItem(index)) return 0;
        return CopyText(itemText(index, target->iSubItem), target->pszText, target->cchTextMax);
    }

    LRESULT deleteItem(int index) {
        if (!validItem(index)) return FALSE;
        if (editing_ == index) cancelLabelEdit();
        NMLISTVIEW deleted;
        deleted.iItem = index;
        deleted.lParam = paramOf(index);
        Notify(deleted.hdr, LVN_DELETEITEM);
        if (ownerData()) {
            ownerStates_.erase(ownerStates_.begin() + index);
            --ownerCount_;
        } else {
            items_.erase(items_.begin() + index);
        }
        for (int* tracked : {&focused_, &anchor_, &editing_}) {
            if (*tracked == index)
                *tracked = -1;
            else if (*tracked > index)
                --*tracked;
        }
        layoutChanged();
        return TRUE;
    }

    // The parent answering TRUE to LVN_DELETEALLITEMS hears of no item alone.
    LRESULT deleteAllItems() {
        cancelLabelEdit();
        NMLISTVIEW all;
        all.iItem = -1;
        const bool quiet = Notify(all.hdr, LVN_DELETEALLITEMS) != 0;
        if (!quiet) {
            for (int i = 0; i < itemCount(); ++i) {
                NMLISTVIEW deleted;
                deleted.iItem = i;
                deleted.lParam = paramOf(i);
                Notify(deleted.hdr, LVN_DELETEITEM);
            }
        }
        items_.clear();
        ownerStates_.clear();
        ownerCount_ = 0;
        focused_ = anchor_ = -1;
        scrollX_ = scrollY_ = 0;
        layoutChanged();
        return TRUE;
    }

    LRESULT setItemCount(int count) {
        if (!ownerData()) {
            items_.reserve(static_cast<std::size_t>(std::max(count, 0)));
            return TRUE;
        }
        ownerCount_ = std::max(count, 0);
        ownerStates_.resize(static_cast<std::size_t>(ownerCount_));
        if (focused_ >= ownerCount_) focused_ = -1;
        layoutChanged();
        return TRUE;
    }

    // Stable, as the parent's comparison decides.
    LRESULT sortItems(PFNLVCOMPARE compare, LPARAM sortParam) {
        if (!compare || ownerData()) return FALSE;
        const LPARAM focusedParam = validItem(focused_) ? itemAt(focused_).param : 0;
        const bool hadFocus = validItem(focused_);
        std::stable_sort(items_.begin(), items_.end(), [&](const Item& a, const Item& b) {
            return compare(a.param, b.param, sortParam) < 0;
        });
        if (hadFocus)
            for (int i = 0; i < itemCount(); ++i)
                if (itemAt(i).param == focusedParam) focused_ = i;
        layoutChanged();
        return TRUE;
    }

    template <typename Char> LRESULT findItem(int start, const LVFINDINFO_T<Char>* info) {
        if (!info || itemCount() == 0) return -1;
        if (ownerData())
            return NotifiesUnicode() ? askParentToFind<WCHAR>(start, *info)
                                     : askParentToFind<char>(start, *info);
        const WideString wanted =
            (info->flags & (LVFI_STRING | LVFI_PARTIAL)) ? TextOf(info->psz) : WideString();
        const int count = itemCount();
        const int first = start + 1;
        const int span = (info->flags & LVFI_WRAP) ? count : count - std::max(first, 0);
        for (int step = 0; step < span; ++step) {
            const int index = (std::max(first, 0) + step) % count;
            if ((info->flags & LVFI_PARAM) && paramOf(index) != info->lParam) continue;
            if (info->flags & (LVFI_STRING | LVFI_PARTIAL)) {
                const WideString text = itemText(index, 0);
                const bool partial = (info->flags & LVFI_PARTIAL) != 0;
                const WideString compared = partial ? text.substr(0, wanted.size()) : text;
                if (LocaleCompareWide(compared, wanted, true) != 0) continue;
            }
            return index;
        }
        return -1;
    }

    // An owner-data list holds no texts: its parent finds the item
    // (LVN_ODFINDITEM), starting after Start, and answers its index or -1.
    template <typename Char, typename Given>
    LRESULT askParentToFind(int start, const LVFINDINFO_T<Given>& given) {
        NMLVFINDITEM_T<Char> find;
        find.iStart = start + 1;
        find.lvfi.flags = given.flags;
        find.lvfi.lParam = given.lParam;
        find.lvfi.pt = given.pt;
        find.lvfi.vkDirection = given.vkDirection;
        const std::basic_string<Char> wanted = TextAs<Char>(given.psz ? TextOf(given.psz) : WideString());
        if (given.psz) find.lvfi.psz = wanted.c_str();
        const LRESULT index = Notify(find.hdr, NotifiesUnicode() ? LVN_ODFINDITEMW : LVN_ODFINDITEMA);
        return index >= 0 && index < itemCount() ? index : -1;
    }

    // ---- Texts and images (asking the parent for those it keeps) ----

    WideString itemText(int index, int sub) {
        if (!ownerData()) {
            const Item& item = itemAt(index);
            if (sub < static_cast<int>(item.texts.size()) &&
                !item.texts[static_cast<std::size_t>(sub)].callback)
                return item.texts[static_cast<std::size_t>(sub)].text;
            if (sub >= static_cast<int>(item.texts.size())) return {};
        }
        return askForText(index, sub);
    }

    WideString askForText(int index, int sub) {
        if (NotifiesUnicode()) {
            WCHAR buffer[dispInfoBufferSize] = {};
            NMLVDISPINFOW info;
            prepareDispInfo(info.item, index, sub, LVIF_TEXT);
            info.item.pszText = buffer;
            info.item.cchTextMax = dispInfoBufferSize;
            Notify(info.hdr, LVN_GETDISPINFOW);
            return keepSuppliedText(index, sub, info.item);
        }
        char buffer[dispInfoBufferSize] = {};
        NMLVDISPINFOA info;
        prepareDispInfo(info.item, index, sub, LVIF_TEXT);
        info.item.pszText = buffer;
        info.item.cchTextMax = dispInfoBufferSize;
        Notify(info.hdr, LVN_GETDISPINFOA);
        return keepSuppliedText(index, sub, info.item);
    }

    template <typename Char> void prepareDispInfo(LVITEM_T<Char>& item, int index, int sub, UINT mask) const {
        item.mask = mask;
        item.iItem = index;
        item.iSubItem = sub;
        item.lParam = paramOf(index);
        item.state = stateOf(index);
        item.stateMask = callbackMask_;
    }

    // The parent may point at its own text, and may ask that it be kept (LVIF_DI_SETITEM).
    template <typename Char> WideString keepSuppliedText(int index, int sub, const LVITEM_T<Char>& item) {
        const WideString text =
            item.pszText && item.pszText != reinterpret_cast<Char*>(static_cast<INT_PTR>(-1))
                ? TextOf(item.pszText)
                : WideString();
        if ((item.mask & LVIF_DI_SETITEM) && !ownerData()) subItem(itemAt(index), sub) = SubItem{text, false};
        return text;
    }

    int imageOf(int index) {
        if (!ownerData() && itemAt(index).image != I_IMAGECALLBACK) return itemAt(index).image;
        NMLVDISPINFOA info;
        prepareDispInfo(info.item, index, 0, LVIF_IMAGE);
        info.item.iImage = 0;
        Notify(info.hdr, NotifiesUnicode() ? LVN_GETDISPINFOW : LVN_GETDISPINFOA);
        if ((info.item.mask & LVIF_DI_SETITEM) && !ownerData()) itemAt(index).image = info.item.iImage;
        return info.item.iImage;
    }

    // ---- Columns ----

    template <typename Char> void applyColumn(Column& column, const LVCOLUMN_T<Char>& source) {
        if (source.mask & LVCF_TEXT) column.text = TextOf(source.pszText);
        if (source.mask & LVCF_WIDTH) column.width = std::max(0, source.cx);
        if (source.mask & LVCF_FMT) column.format = source.fmt;
        if (source.mask & LVCF_SUBITEM) column.subItem = source.iSubItem;
        if (source.mask & LVCF_IMAGE) column.image = source.iImage;
    }

    template <typename Char> LRESULT insertColumn(int index, const LVCOLUMN_T<Char>* source) {
        if (!source || index < 0) return -1;
        index = std::min(index, static_cast<int>(columns_.size()));
        Column column;
        column.subItem = index;
        applyColumn(column, *source);
        // The first column always lines up on the left.
        if (index == 0) column.format = (column.format & ~LVCFMT_JUSTIFYMASK) | LVCFMT_LEFT;
        columns_.insert(columns_.begin() + index, std::move(column));
        layoutChanged();
        return index;
    }

    template <typename Char> LRESULT setColumn(int index, const LVCOLUMN_T<Char>* source) {
        if (!source || !validColumn(index)) return FALSE;
        applyColumn(columns_[static_cast<std::size_t>(index)], *source);
        layoutChanged();
        return TRUE;
    }

    template <typename Char> LRESULT getColumn(int index, LVCOLUMN_T<Char>* target) const {
        if (!target || !validColumn(index)) return FALSE;
        const Column& column = columns_[static_cast<std::size_t>(index)];
        if (target->mask & LVCF_TEXT) CopyText(column.text, target->pszText, target->cchTextMax);
        if (target->mask & LVCF_WIDTH) target->cx = column.width;
        if (target->mask & LVCF_FMT) target->fmt = column.format;
        if (target->mask & LVCF_SUBITEM) target->iSubItem = column.subItem;
        if (target->mask & LVCF_IMAGE) target->iImage = column.image;
        if (target->mask & LVCF_ORDER) target->iOrder = index;
        return TRUE;
    }

    LRESULT deleteColumn(int index) {
        if (!validColumn(index)) return FALSE;
        columns_.erase(columns_.begin() + index);
        layoutChanged();
        return TRUE;
    }

    LRESULT columnWidth(int index) const {
        if (listMode()) return listColumnWidth();
        return validColumn(index) ? columns_[static_cast<std::size_t>(index)].width : 0;
    }

    LRESULT setColumnWidth(int index, int width) {
        if (listMode()) {
            listColumnWidth_ = std::max(1, width);
            layoutChanged();
            return TRUE;
        }
        if (!validColumn(index)) return FALSE;
        Column& column = columns_[static_cast<std::size_t>(index)];
        if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
            FontMeasure measure(Font());
            int widest = width == LVSCW_AUTOSIZE_USEHEADER
                             ? TextExtent(measure.DC(), column.text).cx + 2 * headerPadding
                             : 0;
            for (int i = 0; i < itemCount(); ++i)
                widest = std::max(widest,
                                  static_cast<int>(TextExtent(measure.DC(), itemText(i, column.subItem)).cx) +
                                      columnGap + (column.subItem == 0 ? labelIndent() : 0));
            width = widest;
        }
        column.width = std::max(0, width);
        layoutChanged();
        return TRUE;
    }

    // ---- Layout ----

    HIMAGELIST imageList(int which) const {
        switch (which) {
        case LVSIL_NORMAL:
            return normalImages_;
        case LVSIL_SMALL:
            return smallImages_;
        case LVSIL_STATE:
            return stateImages_;
        default:
            return nullptr;
        }
    }

    LRESULT setImageList(int which, HIMAGELIST list) {
        HIMAGELIST* slot = which == LVSIL_NORMAL  ? &normalImages_
                           : which == LVSIL_SMALL ? &smallImages_
                           : which == LVSIL_STATE ? &stateImages_
                                                  : nullptr;
        if (!slot) return 0;
        HIMAGELIST previous = std::exchange(*slot, list);
        layoutChanged();
        return reinterpret_cast<LRESULT>(previous);
    }

    SIZE smallImageSize() const { return smallImages_ ? smallImages_->ImageSize() : SIZE{0, 0}; }

    // Room before the label: check box or state image, then the small image.
    int labelIndent() const {
        int indent = 0;
        if (checkBoxes())
            indent += checkBoxSize + textMargin;
        else if (stateImages_)
            indent += stateImages_->ImageSize().cx;
        if (smallImages_) indent += smallImageSize().cx + textMargin;
        return indent;
    }

    int rowHeight() const {
        if (ownerDrawn()) return ownerRowHeight();
        return ownRowHeight();
    }

    int ownRowHeight() const {
        int height = FontHeight();
        if (smallImages_) height = std::max<int>(height, smallImageSize().cy);
        if (checkBoxes()) height = std::max(height, checkBoxSize);
        return height + rowPadding;
    }

    // The parent names the row height of an owner-drawn list (WM_MEASUREITEM),
    // asked once and again after the font or the style changes; it starts from
    // the height the list would take itself.
    int ownerRowHeight() const {
        if (ownerRowHeight_ > 0) return ownerRowHeight_;
        MEASUREITEMSTRUCT measure;
        measure.CtlType = ODT_LISTVIEW;
        measure.CtlID = static_cast<UINT>(ControlId());
        measure.itemHeight = static_cast<UINT>(ownRowHeight());
        HWND parent = NotifyWindow();
        if (parent) SendMessageW(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
        ownerRowHeight_ = std::max(1, static_cast<int>(measure.itemHeight));
        return ownerRowHeight_;
    }

    int headerHeight() const {
        return report() && !HasStyle(LVS_NOCOLUMNHEADER) ? FontHeight() + headerPadding : 0;
    }

    int totalColumnWidth() const {
        int total = 0;
        for (const Column& column : columns_)
            total += column.width;
        return total;
    }

    int listColumnWidth() const {
        if (listColumnWidth_ > 0) return listColumnWidth_;
        FontMeasure measure(Font());
        int widest = defaultColumnWidth;
        for (int i = 0; i < itemCount() && !ownerData(); ++i)
            widest =
                std::max(widest, static_cast<int>(TextExtent(measure.DC(), itemAt(i).texts.front().text).cx));
        return widest + labelIndent() + columnGap;
    }

    SIZE iconCell(bool small) const {
        if (small) {
            return {listColumnWidth(), rowHeight()};
        }
        const int imageSize = normalImages_ ? normalImages_->ImageSize().cx : defaultIconSize;
        return {std::max(iconCellWidth, imageSize + 2 * columnGap),
                imageSize + iconTextLines * FontHeight() + 3 * textMargin};
    }

    int rowsPerColumn() const { return std::max(1, (ClientRect().Height() - headerHeight()) / rowHeight()); }

    int iconsPerRow() const {
        return std::max(1, static_cast<int>(ClientRect().Width() / iconCell(view() == LVS_SMALLICON).cx));
    }

    // The item's whole rectangle in client coordinates, scrolling included.
    RECT itemBounds(int index) const {
        if (report()) {
            const int top = headerHeight() + (index - scrollY_) * rowHeight();
            const int width = std::max(totalColumnWidth(), ClientRect().Width());
            return {-scrollX_, top, -scrollX_ + (columns_.empty() ? width : totalColumnWidth()),
                    top + rowHeight()};
        }
        if (listMode()) {
            const int column = index / rowsPerColumn() - scrollX_;
            const int row = index % rowsPerColumn();
            const int width = listColumnWidth();
            return {column * width, row * rowHeight(), (column + 1) * width, (row + 1) * rowHeight()};
        }
        const SIZE cell = iconCell(view() == LVS_SMALLICON);
        POINT position = ownerData() ? POINT{-1, -1} : itemAt(index).position;
        if (position.x < 0) {
            position = {static_cast<int>((index % iconsPerRow()) * cell.cx),
                        static_cast<int>((index / iconsPerRow()) * cell.cy)};
        }
        return {position.x - scrollX_, position.y - scrollY_, position.x - scrollX_ + cell.cx,
                position.y - scrollY_ + cell.cy};
    }

    RECT iconRect(int index) const {
        const RECT bounds = itemBounds(index);
        if (view() == LVS_ICON) {
            const int size = normalImages_ ? normalImages_->ImageSize().cx : defaultIconSize;
            const int left = bounds.Left + (bounds.Width() - size) / 2;
            return {left, bounds.Top + textMargin, left + size, bounds.Top + textMargin + size};
        }
        const int indent = labelIndent() - (smallImages_ ? smallImageSize().cx + textMargin : 0);
        const SIZE size = smallImageSize();
        return {bounds.Left + indent, bounds.Top, bounds.Left + indent + size.cx,
                bounds.Top + std::max<int>(size.cy, 1)};
    }

    RECT labelRect(int index) {
        const RECT bounds = itemBounds(index);
        if (view() == LVS_ICON) {
            const RECT icon = iconRect(index);
            return {bounds.Left, icon.Bottom + textMargin, bounds.Right, bounds.Bottom};
        }
        int right = bounds.Right;
        if (report() && !columns_.empty()) right = bounds.Left + columns_.front().width;
        if (!report()) {
            FontMeasure measure(Font());
            right = std::min(right, bounds.Left + labelIndent() +
                                        static_cast<int>(TextExtent(measure.DC(), itemText(index, 0)).cx) +
                                        2 * textMargin);
        }
        return {bounds.Left + labelIndent(), bounds.Top, right, bounds.Bottom};
    }

    RECT checkBoxRect(int index) const {
        const RECT bounds = itemBounds(index);
        const int top = bounds.Top + (bounds.Height() - checkBoxSize) / 2;
        return {bounds.Left + textMargin / 2, top, bounds.Left + textMargin / 2 + checkBoxSize,
                top + checkBoxSize};
    }

    RECT subItemRect(int index, int column) const {
        const RECT bounds = itemBounds(index);
        int left = bounds.Left;
        for (int i = 0; i < column; ++i)
            left += columns_[static_cast<std::size_t>(i)].width;
        return {left, bounds.Top, left + columns_[static_cast<std::size_t>(column)].width, bounds.Bottom};
    }

    LRESULT getItemRect(int index, RECT* rect) {
        if (!rect || !validItem(index)) return FALSE;
        switch (rect->Left) {
        case LVIR_ICON:
            *rect = iconRect(index);
            break;
        case LVIR_LABEL:
            *rect = labelRect(index);
            break;
        case LVIR_SELECTBOUNDS: {
            const RECT label = labelRect(index);
            const RECT bounds = itemBounds(index);
            *rect = {bounds.Left, bounds.Top, label.Right, bounds.Bottom};
            break;
        }
        default:
            *rect = itemBounds(index);
            break;
        }
        return TRUE;
    }

    LRESULT getSubItemRect(int index, RECT* rect) {
        if (!rect || !validItem(index)) return FALSE;
        const int column = rect->Top;
        if (column == 0) return getItemRect(index, rect);
        if (!report() || !validColumn(column)) return FALSE;
        *rect = subItemRect(index, column);
        return TRUE;
    }

    LRESULT getItemPosition(int index, POINT* position) const {
        if (!position || !validItem(index)) return FALSE;
        const RECT bounds = itemBounds(index);
        *position = {bounds.Left, bounds.Top};
        return TRUE;
    }

    LRESULT setItemPosition(int index, POINT position) {
        if (!validItem(index) || ownerData() || !iconMode()) return FALSE;
        itemAt(index).position = {position.x + scrollX_, position.y + scrollY_};
        layoutChanged();
        return TRUE;
    }

    RECT viewRect() const {
        RECT view{0, 0, 0, 0};
        for (int i = 0; i < itemCount(); ++i) {
            const RECT bounds = itemBounds(i);
            view = {std::min(view.Left, bounds.Left + scrollX_), std::min(view.Top, bounds.Top + scrollY_),
                    std::max(view.Right, bounds.Right + scrollX_),
                    std::max(view.Bottom, bounds.Bottom + scrollY_)};
        }
        return view;
    }

    int stringWidth(const WideString& text) const {
        FontMeasure measure(Font());
        return TextExtent(measure.DC(), text).cx;
    }

    // ---- Hit testing ----

    int itemAtPoint(POINT point, UINT& flags) {
        flags = LVHT_NOWHERE;
        if (report() && point.y < headerHeight()) return -1;
        for (int i = firstVisible(); i < itemCount() && i <= lastVisible(); ++i) {
            RECT bounds = itemBounds(i);
            if (!report() || (extendedStyle_ & LVS_EX_FULLROWSELECT)) {
                if (!PointInRect(bounds, point)) continue;
            } else {
                bounds.Right = labelRect(i).Right;
                if (!PointInRect(bounds, point)) continue;
            }
            if (checkBoxes() && PointInRect(checkBoxRect(i), point))
                flags = LVHT_ONITEMSTATEICON;
            else if (point.x < labelRect(i).Left && !PointInRect(labelRect(i), point))
                flags = LVHT_ONITEMICON;
            else
                flags = LVHT_ONITEMLABEL;
            return i;
        }
        if (point.y < 0)
            flags = LVHT_ABOVE;
        else if (point.y >= ClientRect().Bottom)
            flags = LVHT_BELOW;
        return -1;
    }

    LRESULT hitTest(LVHITTESTINFO* info, bool subItems) {
        if (!info) return -1;
        UINT flags = 0;
        info->iItem = itemAtPoint(info->pt, flags);
        info->flags = flags;
        info->iSubItem = 0;
        if (subItems && info->iItem >= 0 && report()) {
            for (int column = 0; column < static_cast<int>(columns_.size()); ++column)
                if (PointInRect(subItemRect(info->iItem, column), info->pt)) info->iSubItem = column;
        }
        return info->iItem;
    }

    int columnAtX(int x) const {
        int left = -scrollX_;
        for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
            left += columns_[static_cast<std::size_t>(i)].width;
            if (x < left) return i;
        }
        return -1;
    }

    // The column whose right edge lies under x, for resizing.
    int dividerAtX(int x) const {
        int right = -scrollX_;
        for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
            right += columns_[static_cast<std::size_t>(i)].width;
            if (std::abs(x - right) <= dividerGrip) return i;
        }
        return -1;
    }

    // ---- Scrolling ----

    int topIndex() const {
        if (report()) return std::clamp(scrollY_, 0, std::max(0, itemCount() - 1));
        if (listMode()) return std::min(scrollX_ * rowsPerColumn(), std::max(0, itemCount() - 1));
        return 0;
    }

    int countPerPage() const {
        if (report()) return std::max(1, (ClientRect().Height() - headerHeight()) / rowHeight());
        if (listMode())
            return rowsPerColumn() * std::max(1, static_cast<int>(ClientRect().Width() / listColumnWidth()));
        return itemCount();
    }

    int firstVisible() const { return report() ? std::max(0, scrollY_) : 0; }
    int lastVisible() const { return report() ? scrollY_ + countPerPage() : itemCount() - 1; }

    int rowStep() const { return report() ? 1 : iconMode() ? iconCell(view() == LVS_SMALLICON).cy : 1; }

    void layoutChanged() {
        if (layingOut_) return;
        layingOut_ = true;
        updateScrollBars();
        layingOut_ = false;
        Invalidate();
    }

    // Report: rows vertically, pixels across; list: columns across; icons: pixels down.
    void updateScrollBars() {
        if (HasStyle(LVS_NOSCROLL)) return;
        const RECT client = ClientRect();
        SCROLLINFO vertical;
        vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        SCROLLINFO horizontal = vertical;
        if (report()) {
            vertical.nMax = std::max(0, itemCount() - 1);
            vertical.nPage = static_cast<UINT>(countPerPage());
            horizontal.nMax = std::max(0, totalColumnWidth() - 1);
            horizontal.nPage = static_cast<UINT>(std::max(1, static_cast<int>(client.Right)));
        } else if (listMode()) {
            vertical.nMax = 0;
            vertical.nPage = 1;
            const int columns = (itemCount() + rowsPerColumn() - 1) / rowsPerColumn();
            horizontal.nMax = std::max(0, columns - 1);
            horizontal.nPage =
                static_cast<UINT>(std::max(1, static_cast<int>(client.Right / listColumnWidth())));
        } else {
            const RECT view = viewRect();
            vertical.nMax = std::max(0, view.Bottom - 1);
            vertical.nPage = static_cast<UINT>(std::max(1, static_cast<int>(client.Bottom)));
            horizontal.nMax = 0;
            horizontal.nPage = 1;
        }
        scrollY_ = std::clamp(scrollY_, 0, std::max(0, vertical.nMax - static_cast<int>(vertical.nPage) + 1));
        scrollX_ =
            std::clamp(scrollX_, 0, std::max(0, horizontal.nMax - static_cast<int>(horizontal.nPage) + 1));
        vertical.nPos = scrollY_;
        horizontal.nPos = scrollX_;
        SetScrollInfo(Window(), SB_VERT, &vertical, TRUE);
        SetScrollInfo(Window(), SB_HORZ, &horizontal, TRUE);
    }

    void scrollTo(int x, int y) {
        const int oldX = scrollX_;
        const int oldY = scrollY_;
        scrollX_ = x;
        scrollY_ = y;
        layoutChanged();
        if (scrollX_ != oldX || scrollY_ != oldY) Invalidate();
    }

    // A count of pixels as whole rows or columns, rounded away from zero.
    static int unitsOf(int pixels, int unit) {
        if (pixels == 0) return 0;
        const int units = (std::abs(pixels) + unit - 1) / unit;
        return pixels > 0 ? units : -units;
    }

    // LVM_SCROLL's distances are pixels; the report scrolls by rows, the list by columns.
    void scrollBy(int dx, int dy) {
        if (report())
            scrollTo(scrollX_ + dx, scrollY_ + unitsOf(dy, rowHeight()));
        else if (listMode())
            scrollTo(scrollX_ + unitsOf(dx, listColumnWidth()), scrollY_);
        else
            scrollTo(scrollX_ + dx, scrollY_ + dy);
    }

    void wheel(int notches) {
        const int rows = -notches * wheelRows;
        if (report())
            scrollTo(scrollX_, scrollY_ + rows);
        else if (listMode())
            scrollTo(scrollX_ + (rows > 0 ? 1 : -1), scrollY_);
        else
            scrollTo(scrollX_, scrollY_ + rows * rowStep());
    }

    void scrollMessage(int bar, WORD code) {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        GetScrollInfo(Window(), bar, &info);
        const int line = bar == SB_VERT ? rowStep() : (report() ? FontHeight() : 1);
        const std::optional<int> scrolled = ScrolledPosition(info, code, line);
        if (!scrolled) return;
        const int position = *scrolled;
        if (bar == SB_VERT)
            scrollTo(scrollX_, position);
        else
            scrollTo(position, scrollY_);
    }

    void ensureVisible(int index) {
        if (!validItem(index)) return;
        if (report()) {
            if (index < scrollY_)
                scrollTo(scrollX_, index);
            else if (index >= scrollY_ + countPerPage())
                scrollTo(scrollX_, index - countPerPage() + 1);
            return;
        }
        if (listMode()) {
            const int column = index / rowsPerColumn();
            const int visibleColumns =
                std::max(1, static_cast<int>(ClientRect().Width() / listColumnWidth()));
            if (column < scrollX_)
                scrollTo(column, scrollY_);
            else if (column >= scrollX_ + visibleColumns)
                scrollTo(column - visibleColumns + 1, scrollY_);
            return;
        }
        const RECT bounds = itemBounds(index);
        const RECT client = ClientRect();
        if (bounds.Top < 0)
            scrollTo(scrollX_, scrollY_ + bounds.Top);
        else if (bounds.Bottom > client.Bottom)
            scrollTo(scrollX_, scrollY_ + bounds.Bottom - client.Bottom);
    }

    void invalidateItem(int index) {
        if (!validItem(index)) return;
        RECT bounds = itemBounds(index);
        bounds.Right = std::max(bounds.Right, static_cast<int>(ClientRect().Right));
        InvalidateRect(bounds);
    }

    // ---- Mouse ----

    void mouseDown(POINT point, bool right, UINT keys) {
        if (editing_ >= 0) endLabelEdit(true);
        if (GetFocus() != Window()) SetFocus(Window());
        if (!right && report() && point.y < headerHeight()) return headerPress(point);
        UINT flags = 0;
        const int index = itemAtPoint(point, flags);
        pressPoint_ = point;
        pressedItem_ = index;
        pressedRight_ = right;
        dragStarted_ = false;
        if (index >= 0 && flags == LVHT_ONITEMSTATEICON && checkBoxes() && !right) {
            toggleCheck(index);
            return;
        }
        const bool control = (keys & MK_CONTROL) != 0;
        const bool shift = (keys & MK_SHIFT) != 0;
        if (index < 0) {
            if (!control && !right) deselectAllBut(-1);
        } else if (right) {
            if (!(stateOf(index) & LVIS_SELECTED))
                selectOnly(index);
            else
                changeState(index, LVIS_FOCUSED, LVIS_FOCUSED);
        } else if (control && !singleSelection()) {
            changeState(index, (stateOf(index) & LVIS_SELECTED) ? LVIS_FOCUSED : LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
            anchor_ = index;
        } else if (shift && !singleSelection() && validItem(anchor_)) {
            selectRange(anchor_, index, index);
        } else {
            selectOnly(index);
        }
        SetCapture(Window());
    }

    void headerPress(POINT point) {
        const int divider = dividerAtX(point.x);
        if (divider >= 0) {
            resizingColumn_ = divider;
            resizeStart_ = point.x - columns_[static_cast<std::size_t>(divider)].width;
            SetCapture(Window());
            return;
        }
        const int column = columnAtX(point.x);
        if (column < 0 || HasStyle(LVS_NOSORTHEADER)) return;
        NMLISTVIEW click;
        click.iItem = -1;
        click.iSubItem = column;
        Notify(click.hdr, LVN_COLUMNCLICK);
    }

    void mouseMove(POINT point) {
        if (resizingColumn_ >= 0) {
            columns_[static_cast<std::size_t>(resizingColumn_)].width =
                std::max(0, static_cast<int>(point.x - resizeStart_));
            layoutChanged();
            return;
        }
        if (pressedItem_ < 0 || dragStarted_ || GetCapture() != Window()) return;
        if (std::abs(point.x - pressPoint_.x) <= GetSystemMetrics(SM_CXDRAG) &&
            std::abs(point.y - pressPoint_.y) <= GetSystemMetrics(SM_CYDRAG))
            return;
        dragStarted_ = true;
        const int index = pressedItem_;
        pressedItem_ = -1;
        ReleaseCapture();
        NMLISTVIEW drag;
        drag.iItem = index;
        drag.ptAction = pressPoint_;
        drag.lParam = paramOf(index);
        Notify(drag.hdr, pressedRight_ ? LVN_BEGINRDRAG : LVN_BEGINDRAG);
    }

    void mouseUp(POINT point, bool right) {
        if (resizingColumn_ >= 0) {
            resizingColumn_ = -1;
            ReleaseCapture();
            return;
        }
        if (GetCapture() == Window()) ReleaseCapture();
        if (dragStarted_) return;
        UINT flags = 0;
        NMITEMACTIVATE click;
        click.iItem = itemAtPoint(point, flags);
        click.ptAction = point;
        click.uKeyFlags = 0;
        Notify(click.hdr, right ? NM_RCLICK : NM_CLICK);
        pressedItem_ = -1;
    }

    void doubleClick(POINT point) {
        UINT flags = 0;
        NMITEMACTIVATE click;
        click.iItem = itemAtPoint(point, flags);
        click.ptAction = point;
        Notify(click.hdr, NM_DBLCLK);
        if (click.iItem >= 0) {
            NMITEMACTIVATE activate = click;
            Notify(activate.hdr, LVN_ITEMACTIVATE);
        }
    }

    void toggleCheck(int index) {
        const UINT image = (stateOf(index) & LVIS_STATEIMAGEMASK) >> stateImageShift;
        const UINT next = image == checkedImage ? uncheckedImage : checkedImage;
        changeState(index, next << stateImageShift, LVIS_STATEIMAGEMASK);
    }

    // ---- Keys ----

    void keyDown(UINT key, LPARAM keyData) {
        NMLVKEYDOWN info;
        info.wVKey = static_cast<WORD>(key);
        info.flags = static_cast<UINT>(HIWORD(static_cast<UINT_PTR>(keyData)));
        Notify(info.hdr, LVN_KEYDOWN);
        if (itemCount() == 0) return;
        const int current = validItem(focused_) ? focused_ : -1;
        int target = current;
        const int page = std::max(1, countPerPage() - 1);
        const int across = listMode() ? rowsPerColumn() : iconMode() ? iconsPerRow() : 1;
        const int down = listMode() ? 1 : iconMode() ? iconsPerRow() : 1;
        switch (key) {
        case VK_UP:
            target = current - (report() || listMode() ? 1 : down);
            break;
        case VK_DOWN:
            target = current + (report() || listMode() ? 1 : down);
            break;
        case VK_LEFT:
            if (report()) return scrollBy(-FontHeight(), 0);
            target = current - (listMode() ? across : 1);
            break;
        case VK_RIGHT:
            if (report()) return scrollBy(FontHeight(), 0);
            target = current + (listMode() ? across : 1);
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = itemCount() - 1;
            break;
        case VK_PRIOR:
            target = current - page;
            break;
        case VK_NEXT:
            target = current + page;
            break;
        case VK_SPACE:
            if (GetKeyState(VK_CONTROL) < 0 && validItem(current) && !singleSelection())
                changeState(current, stateOf(current) ^ LVIS_SELECTED, LVIS_SELECTED);
            else if (checkBoxes() && validItem(current))
                toggleCheck(current);
            else if (validItem(current))
                changeState(current, LVIS_SELECTED, LVIS_SELECTED);
            return;
        case VK_RETURN: {
            NMHDR header;
            Notify(header, NM_RETURN);
            NMITEMACTIVATE activate;
            activate.iItem = current;
            Notify(activate.hdr, LVN_ITEMACTIVATE);
            return;
        }
        case VK_F2:
            if (validItem(current)) beginLabelEdit(current);
            return;
        default:
            return;
        }
        if (current < 0) target = 0;
        target = std::clamp(target, 0, itemCount() - 1);
        moveFocusTo(target);
    }

    void moveFocusTo(int target) {
        const bool shift = GetKeyState(VK_SHIFT) < 0 && !singleSelection();
        const bool control = GetKeyState(VK_CONTROL) < 0 && !singleSelection();
        if (shift)
            selectRange(validItem(anchor_) ? anchor_ : target, target, target);
        else if (control)
            changeState(target, LVIS_FOCUSED, LVIS_FOCUSED);
        else
            selectOnly(target);
        ensureVisible(target);
    }

    // Typed characters find the next item starting with what was typed lately.
    void character(WCHAR typed) {
        if (typed < u' ' || itemCount() == 0) return;
        const DWORD now = CurrentMilliseconds();
        if (now - lastTyped_ > searchTimeout) search_.clear();
        lastTyped_ = now;
        search_ += typed;
        const bool repeated = search_.size() > 1 && std::all_of(search_.begin(), search_.end(), [&](WCHAR c) {
                                  return c == search_.front();
                              });
        const WideString wanted = repeated ? search_.substr(0, 1) : search_;
        const int start = validItem(focused_) ? focused_ + (search_.size() == 1 || repeated ? 1 : 0) : 0;
        for (int step = 0; step < itemCount(); ++step) {
            const int index = (start + step) % itemCount();
            const WideString text = itemText(index, 0);
            if (LocaleCompareWide(text.substr(0, wanted.size()), wanted, true) == 0) {
                selectOnly(index);
                ensureVisible(index);
                return;
            }
        }
    }

    template <typename Char> LRESULT getSearchString(Char* buffer) const {
        if (CurrentMilliseconds() - lastTyped_ > searchTimeout || search_.empty()) return 0;
        if (buffer) CopyText(search_, buffer, static_cast<int>(search_.size()) + 1);
        return static_cast<LRESULT>(search_.size());
    }

    // ---- Label editing ----

    HWND beginLabelEdit(int index) {
        if (!validItem(index)) return nullptr;
        if (editing_ >= 0) endLabelEdit(true);
        ensureVisible(index);
        RECT label = labelRect(index);
        label.Right = std::max(label.Right, label.Left + defaultColumnWidth);
        // The edit exists while the parent hears of the edit, so that it can
        // take the edit's window (LVM_GETEDITCONTROL) or refuse.
        const bool focused = GetFocus() == Window();
        HWND edit = editor_.Open(Window(), label, itemText(index, 0), Font());
        if (NotifiesUnicode() ? notifyLabelEdit<WCHAR>(LVN_BEGINLABELEDITW, index, nullptr)
                              : notifyLabelEdit<char>(LVN_BEGINLABELEDITA, index, nullptr)) {
            editor_.Close();
            if (focused) SetFocus(Window());
            return nullptr;
        }
        editing_ = index;
        return edit;
    }

    template <typename Char> LRESULT notifyLabelEdit(UINT code, int index, const WideString* text) {
        NMLVDISPINFO_T<Char> info;
        info.item.mask = LVIF_TEXT | LVIF_PARAM;
        info.item.iItem = index;
        info.item.lParam = paramOf(index);
        std::basic_string<Char> buffer;
        if (text) {
            buffer = TextAs<Char>(*text);
            info.item.pszText = buffer.data();
            info.item.cchTextMax = static_cast<int>(buffer.size()) + 1;
        }
        return Notify(info.hdr, code);
    }

    // The parent answers TRUE to take the new text; a cancelled edit carries none.
    void endLabelEdit(bool accepted) {
        const int index = std::exchange(editing_, -1);
        if (index < 0 || !validItem(index)) {
            editor_.Close();
            return;
        }
        const WideString text = editor_.Text();
        const bool focused = GetFocus() == editor_.Window();
        const WideString* offered = accepted ? &text : nullptr;
        const LRESULT take = NotifiesUnicode() ? notifyLabelEdit<WCHAR>(LVN_ENDLABELEDITW, index, offered)
                                               : notifyLabelEdit<char>(LVN_ENDLABELEDITA, index, offered);
        editor_.Close();
        if (accepted && take && validItem(index) && !ownerData()) {
            itemAt(index).texts.front() = SubItem{text, false};
            invalidateItem(index);
        }
        if (focused) SetFocus(Window());
    }

    void cancelLabelEdit() {
        if (editing_ >= 0) endLabelEdit(false);
    }

    // ---- Info tips ----

    // The list view's tooltip has one tool, the whole window, whose text is
    // asked for each time the tip shows (TTN_GETDISPINFO).
    void makeInfoTipWindow() {
        if (tooltips_) return;
        tooltips_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            0, 0, 0, 0, Window(), nullptr, nullptr, nullptr);
        if (!tooltips_) return;
        ownsTooltips_ = true;
        TTTOOLINFOW tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = Window();
        tool.uId = reinterpret_cast<UINT_PTR>(Window());
        tool.lpszText = LPSTR_TEXTCALLBACKW();
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }

    // Moving onto another item takes the tip down, so that the wait starts
    // again and the next tip is that item's.
    void relayToInfoTip(UINT message, WPARAM wParam, LPARAM lParam) {
        if (!tooltips_ || !infoTips()) return;
        if (message == WM_MOUSEMOVE) {
            UINT flags = 0;
            const int item = itemAtPoint(PointFromLParam(lParam), flags);
            if (item != tipItem_) SendMessageW(tooltips_, TTM_POP, 0, 0);
            tipItem_ = item;
        }
        MSG msg;
        msg.hwnd = Window();
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        SendMessageW(tooltips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }

    LRESULT tipNotification(NMHDR* header) {
        if (!header || header->hwndFrom != tooltips_ || header->code != TTN_GETDISPINFOW) return 0;
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        tipText_ = validItem(tipItem_) && infoTips() ? askInfoTip(tipItem_) : WideString();
        info->lpszText = tipText_.data();
        return 0;
    }

    // LVN_GETINFOTIP: the parent is offered the caption when the item shows it
    // cut short, else an empty text marked unfolded.
    WideString askInfoTip(int index) {
        const WideString caption = itemText(index, 0);
        const bool folded = labelCutShort(index, caption);
        return NotifiesUnicode()
                   ? notifyInfoTip<WCHAR>(LVN_GETINFOTIPW, index, folded ? caption : WideString())
                   : notifyInfoTip<char>(LVN_GETINFOTIPA, index, folded ? caption : WideString());
    }

    template <typename Char> WideString notifyInfoTip(UINT code, int index, const WideString& offered) {
        std::vector<Char> buffer(infoTipSize);
        CopyText(offered, buffer.data(), infoTipSize);
        NMLVGETINFOTIP_T<Char> info;
        info.dwFlags = offered.empty() ? LVGIT_UNFOLDED : 0;
        info.pszText = buffer.data();
        info.cchTextMax = infoTipSize;
        info.iItem = index;
        info.iSubItem = 0;
        info.lParam = paramOf(index);
        Notify(info.hdr, code);
        buffer.back() = 0;
        return TextOf(buffer.data());
    }

    bool labelCutShort(int index, const WideString& caption) {
        const RECT label = labelRect(index);
        FontMeasure measure(Font());
        return TextExtent(measure.DC(), caption).cx > label.Width() - 2 * textMargin;
    }

    // ---- Drawing ----

    COLORREF backgroundColour() const {
        return backgroundColour_ == noColour ? GetSysColor(COLOR_WINDOW) : backgroundColour_;
    }

    void Paint(HDC dc) override {
        const RECT client = ClientRect();
        FillSolidRect(dc, client, backgroundColour());
        HGDIOBJ previousFont = SelectObject(dc, Font());
        const int first = report() ? std::max(0, scrollY_) : 0;
        const int last = report() ? std::min(itemCount() - 1, scrollY_ + countPerPage()) : itemCount() - 1;
        for (int i = first; i <= last; ++i) {
            const RECT bounds = itemBounds(i);
            if (bounds.Bottom <= headerHeight() || bounds.Top >= client.Bottom || bounds.Right <= 0 ||
                bounds.Left >= client.Right)
                continue;
            if (ownerDrawn())
                drawOwnerItem(dc, i, bounds);
            else
                paintItem(dc, i);
        }
        if (report() && (extendedStyle_ & LVS_EX_GRIDLINES)) paintGridLines(dc);
        if (headerHeight() > 0) paintHeader(dc);
        SelectObject(dc, previousFont);
    }

    bool showsSelection() const { return GetFocus() == Window() || HasStyle(LVS_SHOWSELALWAYS); }

    void paintItem(HDC dc, int index) {
        const UINT state = stateOf(index);
        const bool selected = (state & LVIS_SELECTED) && showsSelection();
        const bool focusedControl = GetFocus() == Window();
        RECT label = labelRect(index);
        if (checkBoxes())
            paintCheckBox(dc, checkBoxRect(index),
                          (state & LVIS_STATEIMAGEMASK) >> stateImageShift == checkedImage);
        paintImage(dc, index, selected && focusedControl);
        RECT highlight = label;
        if (report() && (extendedStyle_ & LVS_EX_FULLROWSELECT)) highlight.Right = itemBounds(index).Right;
        const COLORREF selectionColour = GetSysColor(focusedControl ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        if (selected) FillSolidRect(dc, highlight, selectionColour);
        const COLORREF normalText = textColour_ == noColour ? GetSysColor(COLOR_WINDOWTEXT) : textColour_;
        const COLORREF selectedText =
            focusedControl ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_BTNTEXT);
        const UINT lineFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (view() == LVS_ICON) {
            DrawTextIn(dc, itemText(index, 0), InflatedRect(label, -textMargin, 0),
                       DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS,
                       selected ? selectedText : normalText);
        } else {
            DrawTextIn(dc, itemText(index, 0),
                       {label.Left + textMargin, label.Top, label.Right - textMargin, label.Bottom},
                       lineFormat | alignment(0), selected ? selectedText : normalText);
        }
        if (report())
            paintSubItems(dc, index,
                          selected && (extendedStyle_ & LVS_EX_FULLROWSELECT) ? selectedText : normalText);
        if ((state & LVIS_FOCUSED) && focusedControl) {
            RECT focus = highlight;
            DrawFocusRect(dc, &focus);
        }
    }

    // The parent paints the whole row of an owner-drawn item (WM_DRAWITEM).
    void drawOwnerItem(HDC dc, int index, const RECT& bounds) {
        const UINT state = stateOf(index);
        const bool focusedControl = GetFocus() == Window();
        DRAWITEMSTRUCT item;
        item.CtlType = ODT_LISTVIEW;
        item.CtlID = static_cast<UINT>(ControlId());
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = ((state & LVIS_SELECTED) && showsSelection() ? ODS_SELECTED : 0) |
                         ((state & LVIS_FOCUSED) && focusedControl ? ODS_FOCUS : 0) |
                         (Enabled() ? 0 : ODS_DISABLED);
        item.hwndItem = Window();
        item.hDC = dc;
        item.rcItem = bounds;
        item.itemData = static_cast<ULONG_PTR>(paramOf(index));
        HWND parent = NotifyWindow();
        if (parent) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }

    UINT alignment(int column) const {
        if (!report() || !validColumn(column)) return DT_LEFT;
        const int format = columns_[static_cast<std::size_t>(column)].format & LVCFMT_JUSTIFYMASK;
        return format == LVCFMT_RIGHT ? DT_RIGHT : format == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
    }

    void paintSubItems(HDC dc, int index, COLORREF colour) {
        for (int column = 1; column < static_cast<int>(columns_.size()); ++column) {
            const RECT cell = subItemRect(index, column);
            if (cell.Right <= 0 || cell.Left >= ClientRect().Right) continue;
            const WideString text = itemText(index, columns_[static_cast<std::size_t>(column)].subItem);
            DrawTextIn(dc, text, {cell.Left + columnGap, cell.Top, cell.Right - textMargin, cell.Bottom},
                       DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | alignment(column),
                       colour);
        }
    }

    void paintImage(HDC dc, int index, bool selected) {
        HIMAGELIST images = view() == LVS_ICON ? normalImages_ : smallImages_;
        if (!images) return;
        const int image = imageOf(index);
        if (image < 0 || image >= images->ImageCount()) return;
        const RECT icon = iconRect(index);
        const int y = icon.Top + (itemBounds(index).Height() - images->ImageSize().cy) / 2 *
                                     (view() == LVS_ICON ? 0 : 1);
        images->DrawImage(dc, image, icon.Left, y, selected ? ImageDrawSelected : ImageDrawTransparent);
    }

    static void paintCheckBox(HDC dc, const RECT& box, bool checked) {
        RECT edge = box;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillSolidRect(dc, edge, GetSysColor(COLOR_WINDOW));
        if (!checked) return;
        // A tick of two strokes, three pixels thick.
        const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
        const int left = edge.Left + 1;
        const int top = edge.Top + 3;
        for (int i = 0; i < 3; ++i)
            FillSolidRect(dc, {left + i, top + i, left + i + 1, top + i + 3}, ink);
        for (int i = 0; i < 4; ++i)
            FillSolidRect(dc, {left + 3 + i, top + 1 - i, left + 4 + i, top + 4 - i}, ink);
    }

    void paintGridLines(HDC dc) {
        const RECT client = ClientRect();
        const COLORREF line = GetSysColor(COLOR_BTNFACE);
        for (int row = 0; headerHeight() + row * rowHeight() < client.Bottom; ++row) {
            const int y = headerHeight() + (row + 1) * rowHeight() - 1;
            FillSolidRect(dc, {0, y, std::min<int>(client.Right, totalColumnWidth() - scrollX_), y + 1},
                          line);
        }
        int x = -scrollX_;
        for (const Column& column : columns_) {
            x += column.width;
            FillSolidRect(dc, {x - 1, headerHeight(), x, client.Bottom}, line);
        }
    }

    void paintHeader(HDC dc) {
        const RECT client = ClientRect();
        const int height = headerHeight();
        FillSolidRect(dc, {0, 0, client.Right, height}, GetSysColor(COLOR_BTNFACE));
        int x = -scrollX_;
        for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
            const Column& column = columns_[static_cast<std::size_t>(i)];
            RECT cell{x, 0, x + column.width, height};
            x += column.width;
            if (cell.Right <= 0 || cell.Width() <= 0) continue;
            RECT edge = cell;
            DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT);
            DrawTextIn(dc, column.text,
                       {cell.Left + headerPadding, cell.Top, cell.Right - headerPadding, cell.Bottom},
                       DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | alignment(i),
                       GetSysColor(COLOR_BTNTEXT));
        }
        if (x < client.Right) {
            RECT rest{x, 0, client.Right, height};
            DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
        }
    }

    std::vector<Item> items_;
    std::vector<Column> columns_;
    int ownerCount_ = 0;
    std::vector<UINT> ownerStates_;
    int focused_ = -1;
    int anchor_ = -1;
    UINT callbackMask_ = 0;
    DWORD extendedStyle_ = 0;
    HIMAGELIST normalImages_ = nullptr;
    HIMAGELIST smallImages_ = nullptr;
    HIMAGELIST stateImages_ = nullptr;
    COLORREF backgroundColour_ = noColour;
    COLORREF textColour_ = noColour;
    COLORREF textBackgroundColour_ = noColour;
    int listColumnWidth_ = 0;
    // 0 until the parent of an owner-drawn list has named its row height.
    mutable int ownerRowHeight_ = 0;
    int scrollX_ = 0;
    int scrollY_ = 0;
    bool layingOut_ = false;
    int pressedItem_ = -1;
    bool pressedRight_ = false;
    POINT pressPoint_;
    bool dragStarted_ = false;
    int resizingColumn_ = -1;
    int resizeStart_ = 0;
    WideString search_;
    DWORD lastTyped_ = 0;
    int editing_ = -1;
    LabelEditor editor_;
    HWND tooltips_ = nullptr;
    bool ownsTooltips_ = false;
    int tipItem_ = -1;
    WideString tipText_;
};

} // namespace

void RegisterListViewClass() {
    RegisterControlClass(WC_LISTVIEWW, &CommonControlProcedure<ListView>, CS_DBLCLKS, COLOR_WINDOW);
}
