// The tree view: items and their navigation, expanding, selection, the rows
// shown and their scrolling, input, label editing and drawing.
#include "platform/win/TreeViewControl.h"

#include "platform/core/CodePages.h"
#include "platform/win/CommonControls.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
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
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>

// An item of a tree view; its address is the HTREEITEM handed out.
struct TreeItem {
    TreeItem* parent = nullptr;
    std::vector<std::unique_ptr<TreeItem>> children;
    WideString text;
    bool textCallback = false;
    int image = 0;
    int selectedImage = 0;
    // -1 (I_CHILDRENCALLBACK) asks the parent; otherwise set by TVIF_CHILDREN, or none given.
    int childrenFlag = 0;
    bool childrenGiven = false;
    UINT state = 0;
    LPARAM param = 0;
};

namespace {

constexpr COLORREF noColour = 0xFFFFFFFF;
constexpr int defaultIndent = 19;
constexpr int buttonSize = 9;
constexpr int textMargin = 2;
constexpr int rowPadding = 2;
constexpr int checkBoxSize = 13;
constexpr int dispInfoBufferSize = 260;
constexpr DWORD searchTimeout = 1000;
constexpr int checkedImage = 2;
constexpr int uncheckedImage = 1;
constexpr int stateImageShift = 12;
constexpr int wheelRows = 3;
constexpr int minimumLabelWidth = 50;

struct Row {
    TreeItem* item;
    int level;
};

class TreeView : public DrawnControl {
public:
    explicit TreeView(HWND window)
        : DrawnControl(window), editor_([this](bool accepted) { endLabelEdit(accepted); }) {}
    ~TreeView() override {
        if (boldFont_) DeleteObject(boldFont_);
    }

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        // ---- Items ----
        case TVM_INSERTITEMA:
            return reinterpret_cast<LRESULT>(insertItem(reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
        case TVM_INSERTITEMW:
            return reinterpret_cast<LRESULT>(insertItem(reinterpret_cast<const TVINSERTSTRUCTW*>(lParam)));
        case TVM_DELETEITEM:
            return deleteItem(reinterpret_cast<HTREEITEM>(lParam));
        case TVM_SETITEMA:
            return setItem(reinterpret_cast<const TVITEMA*>(lParam));
        case TVM_SETITEMW:
            return setItem(reinterpret_cast<const TVITEMW*>(lParam));
        case TVM_GETITEMA:
            return getItem(reinterpret_cast<TVITEMA*>(lParam));
        case TVM_GETITEMW:
            return getItem(reinterpret_cast<TVITEMW*>(lParam));
        case TVM_GETCOUNT:
            return static_cast<LRESULT>(live_.size());
        case TVM_GETNEXTITEM:
            return reinterpret_cast<LRESULT>(
                nextItem(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
        case TVM_GETITEMSTATE: {
            TreeItem* item = valid(reinterpret_cast<HTREEITEM>(wParam));
            return item ? item->state & static_cast<UINT>(lParam) : 0;
        }
        case TVM_EXPAND:
            return expand(valid(reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam), TVC_UNKNOWN);
        case TVM_SELECTITEM:
            return selectItem(static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam));
        case TVM_SORTCHILDREN:
            return sortChildren(reinterpret_cast<HTREEITEM>(lParam), wParam != 0, nullptr, 0);
        case TVM_SORTCHILDRENCB: {
            const auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
            return sort ? sortChildren(sort->hParent, wParam != 0, sort->lpfnCompare, sort->lParam) : FALSE;
        }
        case TVM_ENSUREVISIBLE:
            return ensureVisible(valid(reinterpret_cast<HTREEITEM>(lParam)));
        // ---- Geometry ----
        case TVM_GETITEMRECT:
            return getItemRect(wParam != 0, reinterpret_cast<RECT*>(lParam));
        case TVM_HITTEST:
            return reinterpret_cast<LRESULT>(hitTest(reinterpret_cast<TVHITTESTINFO*>(lParam)));
        case TVM_GETVISIBLECOUNT:
            return visibleCount();
        case TVM_GETINDENT:
            return indent_;
        case TVM_SETINDENT:
            indent_ = std::max(static_cast<int>(wParam), buttonSize + 2 * textMargin);
            layoutChanged();
            return 0;
        case TVM_GETITEMHEIGHT:
            return itemHeight();
        case TVM_SETITEMHEIGHT: {
            const int previous = itemHeight();
            itemHeight_ = static_cast<SHORT>(wParam) == -1 ? 0 : static_cast<int>(wParam);
            layoutChanged();
            return previous;
        }
        // ---- Looks ----
        case TVM_SETIMAGELIST:
            return setImageList(static_cast<int>(wParam), reinterpret_cast<HIMAGELIST>(lParam));
        case TVM_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE    ? stateImages_
                                             : wParam == TVSIL_NORMAL ? images_
                                                                      : nullptr);
        case TVM_SETBKCOLOR:
            return exchangeColour(backgroundColour_, static_cast<COLORREF>(lParam));
        case TVM_GETBKCOLOR:
            return backgroundColour_ == noColour ? -1 : static_cast<LRESULT>(backgroundColour_);
        case TVM_SETTEXTCOLOR:
            return exchangeColour(textColour_, static_cast<COLORREF>(lParam));
        case TVM_GETTEXTCOLOR:
            return textColour_ == noColour ? -1 : static_cast<LRESULT>(textColour_);
        case TVM_SETLINECOLOR:
            return exchangeColour(lineColour_, static_cast<COLORREF>(lParam));
        case TVM_GETLINECOLOR:
            return lineColour_;
        case TVM_SETTOOLTIPS:
            return reinterpret_cast<LRESULT>(std::exchange(tooltips_, reinterpret_cast<HWND>(wParam)));
        case TVM_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(tooltips_);
        case TVM_GETISEARCHSTRINGA:
            return getSearchString(reinterpret_cast<char*>(lParam));
        case TVM_GETISEARCHSTRINGW:
            return getSearchString(reinterpret_cast<WCHAR*>(lParam));
        // ---- Label editing ----
        case TVM_EDITLABELA:
        case TVM_EDITLABELW:
            return reinterpret_cast<LRESULT>(beginLabelEdit(valid(reinterpret_cast<HTREEITEM>(lParam))));
        case TVM_GETEDITCONTROL:
            return reinterpret_cast<LRESULT>(editor_.Window());
        case TVM_ENDEDITLABELNOW:
            if (editing_) endLabelEdit(wParam == 0);
            return TRUE;
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
            mouseDown(PointFromLParam(lParam), message == WM_RBUTTONDOWN);
            return 0;
        case WM_LBUTTONDBLCLK:
            doubleClick(PointFromLParam(lParam));
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(PointFromLParam(lParam));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            mouseUp(message == WM_RBUTTONUP);
            return 0;
        case WM_CAPTURECHANGED:
            pressed_ = nullptr;
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
            scrollTo(scrollX_, firstRow_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * wheelRows);
            return 0;
        case WM_SETFONT:
            if (boldFont_) DeleteObject(std::exchange(boldFont_, nullptr));
            layoutChanged();
            return 0;
        case WM_SIZE:
        case WM_STYLECHANGED:
            layoutChanged();
            return 0;
        case WM_DESTROY:
            editor_.Close();
            deleteChildren(&root_);
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    // A handle of this tree, or null.
    TreeItem* valid(HTREEITEM handle) const { return handle && live_.count(handle) ? handle : nullptr; }

    TreeItem* parentOf(HTREEITEM handle) {
        if (!handle || handle == TVI_ROOT) return &root_;
        return valid(handle);
    }

    static int indexIn(const TreeItem* item) {
        const auto& siblings = item->parent->children;
        for (std::size_t i = 0; i < siblings.size(); ++i)
            if (siblings[i].get() == item) return static_cast<int>(i);
        return -1;
    }

    TreeItem* sibling(const TreeItem* item, int offset) const {
        const int index = indexIn(item) + offset;
        const auto& siblings = item->parent->children;
        return index >= 0 && index < static_cast<int>(siblings.size())
                   ? siblings[static_cast<std::size_t>(index)].get()
                   : nullptr;
    }

    bool isAncestor(const TreeItem* ancestor, const TreeItem* item) const {
        for (const TreeItem* walk = item ? item->parent : nullptr; walk; walk = walk->parent)
            if (walk == ancestor) return true;
        return false;
    }

    // ---- Items ----

    template <typename Char> void applyItem(TreeItem& item, const TVITEM_T<Char>& source) {
        if (source.mask & TVIF_TEXT) {
            item.textCallback = source.pszText == reinterpret_cast<Char*>(static_cast<INT_PTR>(-1));
            item.text = item.textCallback ? WideString() : TextOf(source.pszText);
        }
        if (source.mask & TVIF_IMAGE) item.image = source.iImage;
        if (source.mask & TVIF_SELECTEDIMAGE) item.selectedImage = source.iSelectedImage;
        if (source.mask & TVIF_PARAM) item.param = source.lParam;
        if (source.mask & TVIF_CHILDREN) {
            item.childrenFlag = source.cChildren;
            item.childrenGiven = true;
        }
        if (source.mask & TVIF_STATE) {
            const UINT mask = source.stateMask & ~TVIS_SELECTED;
            item.state = (item.state & ~mask) | (source.state & mask);
        }
    }

    template <typename Char> HTREEITEM insertItem(const TVINSERTSTRUCT_T<Char>* insert) {
        if (!insert) return nullptr;
        TreeItem* parent = parentOf(insert->hParent);
        if (!parent) return nullptr;
        auto item = std::make_unique<TreeItem>();
        item->parent = parent;
        applyItem(*item, insert->item);
        auto& siblings = parent->children;
        std::size_t position = siblings.size();
        if (insert->hInsertAfter == TVI_FIRST) {
            position = 0;
        } else if (insert->hInsertAfter == TVI_SORT) {
            position = sortedPosition(*parent, *item);
        } else if (insert->hInsertAfter != TVI_LAST && insert->hInsertAfter != nullptr) {
            TreeItem* after = valid(insert->hInsertAfter);
            if (after && after->parent == parent) position = static_cast<std::size_t>(indexIn(after)) + 1;
        }
        TreeItem* handle = item.get();
        siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
        live_.insert(handle);
        layoutChanged();
        return handle;
    }

    std::size_t sortedPosition(TreeItem& parent, TreeItem& item) {
        const WideString text = textOf(&item);
        for (std::size_t i = 0; i < parent.children.size(); ++i)
            if (LocaleCompareWide(text, textOf(parent.children[i].get()), true) < 0) return i;
        return parent.children.size();
    }

    LRESULT deleteItem(HTREEITEM handle) {
        if (!handle || handle == TVI_ROOT) {
            if (editing_) endLabelEdit(false);
            deleteChildren(&root_);
            setSelection(nullptr, TVC_UNKNOWN);
            firstRow_ = 0;
            layoutChanged();
            return TRUE;
        }
        TreeItem* item = valid(handle);
        if (!item) return FALSE;
        if (editing_ && (editing_ == item || isAncestor(item, editing_))) endLabelEdit(false);
        if (selected_ == item || isAncestor(item, selected_)) moveSelectionOffDeleted(item);
        TreeItem* parent = item->parent;
        deleteChildren(item);
        notifyDeleted(item);
        if (dropTarget_ == item) dropTarget_ = nullptr;
        if (pressed_ == item) pressed_ = nullptr;
        live_.erase(item);
        parent->children.erase(parent->children.begin() + indexIn(item));
        if (parent != &root_ && parent->children.empty()) parent->state &= ~TVIS_EXPANDED;
        layoutChanged();
        return TRUE;
    }

    // The selection goes to a neighbour of a deleted item, or to its parent.
    void moveSelectionOffDeleted(TreeItem* item) {
        TreeItem* next = sibling(item, 1);
        if (!next) next = sibling(item, -1);
        if (!next && item->parent != &root_) next = item->parent;
        setSelection(next, TVC_UNKNOWN);
        if (selected_ == item || isAncestor(item, selected_)) selected_ = nullptr;
    }

    void deleteChildren(TreeItem* item) {
        while (!item->children.empty()) {
            TreeItem* child = item->children.back().get();
            if (selected_ == child) selected_ = nullptr;
            if (dropTarget_ == child) dropTarget_ = nullptr;
            if (pressed_ == child) pressed_ = nullptr;
            deleteChildren(child);
            notifyDeleted(child);
            live_.erase(child);
            item->children.pop_back();
        }
    }

    void notifyDeleted(TreeItem* item) {
        NMTREEVIEWW info;
        info.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
        info.itemOld.hItem = item;
        info.itemOld.lParam = item->param;
        Notify(info.hdr, NotifiesUnicode() ? TVN_DELETEITEMW : TVN_DELETEITEMA);
    }

    template <typename Char> LRESULT setItem(const TVITEM_T<Char>* source) {
        if (!source) return FALSE;
        TreeItem* item = valid(source->hItem);
        if (!item) return FALSE;
        applyItem(*item, *source);
        if ((source->mask & TVIF_STATE) && (source->stateMask & TVIS_SELECTED) &&
            (source->state & TVIS_SELECTED))
            setSelection(item, TVC_UNKNOWN);
        layoutChanged();
        return TRUE;
    }

    template <typename Char> LRESULT getItem(TVITEM_T<Char>* target) {
        if (!target) return FALSE;
        TreeItem* item = valid(target->hItem);
        if (!item) return FALSE;
        if (target->mask & TVIF_TEXT) CopyText(textOf(item), target->pszText, target->cchTextMax);
        if (target->mask & TVIF_IMAGE) target->iImage = item->image;
        if (target->mask & TVIF_SELECTEDIMAGE) target->iSelectedImage = item->selectedImage;
        if (target->mask & TVIF_PARAM) target->lParam = item->param;
        if (target->mask & TVIF_STATE) target->state = stateOf(item) & target->stateMask;
        if (target->mask & TVIF_CHILDREN)
            target->cChildren = item->childrenGiven ? item->childrenFlag : !item->children.empty();
        return TRUE;
    }

    UINT stateOf(const TreeItem* item) const {
        UINT state = item->state & ~(TVIS_SELECTED | TVIS_DROPHILITED);
        if (item == selected_) state |= TVIS_SELECTED;
        if (item == dropTarget_) state |= TVIS_DROPHILITED;
        return state;
    }

    bool hasChildren(TreeItem* item) {
        if (!item->children.empty()) return true;
        if (!item->childrenGiven) return false;
        if (item->childrenFlag != I_CHILDRENCALLBACK) return item->childrenFlag > 0;
        NMTVDISPINFOW info;
        prepareDispInfo(info.item, item, TVIF_CHILDREN);
        Notify(info.hdr, NotifiesUnicode() ? TVN_GETDISPINFOW : TVN_GETDISPINFOA);
        return info.item.cChildren > 0;
    }

    bool expanded(const TreeItem* item) const { return (item->state & TVIS_EXPANDED) != 0; }

    // ---- Texts and images the parent keeps ----

    template <typename Char> void prepareDispInfo(TVITEM_T<Char>& item, TreeItem* source, UINT mask) const {
        item.mask = mask;
        item.hItem = source;
        item.state = stateOf(source);
        item.lParam = source->param;
        item.iImage = source->image;
        item.iSelectedImage = source->selectedImage;
    }

    WideString textOf(TreeItem* item) {
        if (!item->textCallback) return item->text;
        WideString text;
        if (NotifiesUnicode()) {
            WCHAR buffer[dispInfoBufferSize] = {};
            NMTVDISPINFOW info;
            prepareDispInfo(info.item, item, TVIF_TEXT);
            info.item.pszText = buffer;
            info.item.cchTextMax = dispInfoBufferSize;
            Notify(info.hdr, TVN_GETDISPINFOW);
            text = info.item.pszText ? TextOf(info.item.pszText) : WideString();
            if (info.item.mask & TVIF_DI_SETITEM) keepText(item, text);
        } else {
            char buffer[dispInfoBufferSize] = {};
            NMTVDISPINFOA info;
            prepareDispInfo(info.item, item, TVIF_TEXT);
            info.item.pszText = buffer;
            info.item.cchTextMax = dispInfoBufferSize;
            Notify(info.hdr, TVN_GETDISPINFOA);
            text = info.item.pszText ? TextOf(info.item.pszText) : WideString();
            if (info.item.mask & TVIF_DI_SETITEM) keepText(item, text);
        }
        return text;
    }

    static void keepText(TreeItem* item, const WideString& text) {
        item->text = text;
        item->textCallback = false;
    }

    int imageOf(TreeItem* item) {
        const bool selected = item == selected_;
        const int image = selected ? item->selectedImage : item->image;
        if (image != I_IMAGECALLBACK) return image;
        NMTVDISPINFOW info;
        prepareDispInfo(info.item, item, selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE);
        Notify(info.hdr, NotifiesUnicode() ? TVN_GETDISPINFOW : TVN_GETDISPINFOA);
        return selected ? info.item.iSelectedImage : info.item.iImage;
    }

    // ---- Navigation ----

    std::vector<Row> rows() {
        std::vector<Row> list;
        addRows(&root_, 0, list);
        return list;
    }

    void addRows(TreeItem* parent, int level, std::vector<Row>& list) {
        for (auto& child : parent->children) {
            list.push_back({child.get(), level});
            if (expanded(child.get())) addRows(child.get(), level + 1, list);
        }
    }

    int rowOf(TreeItem* item) {
        const std::vector<Row> all = rows();
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i].item == item) return static_cast<int>(i);
        return -1;
    }

    HTREEITEM nextItem(UINT flag, HTREEITEM handle) {
        TreeItem* item = valid(handle);
        switch (flag) {
        case TVGN_ROOT:
            return root_.children.empty() ? nullptr : root_.children.front().get();
        case TVGN_CARET:
            return selected_;
        case TVGN_DROPHILITE:
            return dropTarget_;
        case TVGN_FIRSTVISIBLE: {
            const std::vector<Row> all = rows();
            return firstRow_ < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(firstRow_)].item
                                                            : nullptr;
        }
        case TVGN_LASTVISIBLE: {
            const std::vector<Row> all = rows();
            return all.empty() ? nullptr : all.back().item;
        }
        default:
            break;
        }
        if (!item) return nullptr;
        switch (flag) {
        case TVGN_NEXT:
            return sibling(item, 1);
        case TVGN_PREVIOUS:
            return sibling(item, -1);
        case TVGN_PARENT:
            return item->parent == &root_ ? nullptr : item->parent;
        case TVGN_CHILD:
            return item->children.empty() ? nullptr : item->children.front().get();
        case TVGN_NEXTVISIBLE:
        case TVGN_PREVIOUSVISIBLE: {
            const std::vector<Row> all = rows();
            const int row = rowOfIn(all, item);
            const int target = row + (flag == TVGN_NEXTVISIBLE ? 1 : -1);
            return row >= 0 && target >= 0 && target < static_cast<int>(all.size())
                       ? all[static_cast<std::size_t>(target)].item
                       : nullptr;
        }
        default:
            return nullptr;
        }
    }

    static int rowOfIn(const std::vector<Row>& all, const TreeItem* item) {
        for (std::size_t i = 0; i < all.size(); ++i)
            if (all[i].item == item) return static_cast<int>(i);
        return -1;
    }

    // ---- Expanding ----

    LRESULT expand(TreeItem* item, UINT flags, UINT action) {
        if (!item) return FALSE;
        const UINT how = flags & TVE_ACTIONMASK;
        const bool open = how == TVE_EXPAND || (how == TVE_TOGGLE && !expanded(item));
        if (open == expanded(item) && !(flags & TVE_COLLAPSERESET)) return FALSE;
        if (open && !hasChildren(item)) return FALSE;
        NMTREEVIEWW info;
        info.action = open ? TVE_EXPAND : TVE_COLLAPSE;
        info.itemNew.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
        info.itemNew.hItem = item;
        info.itemNew.state = stateOf(item);
        info.itemNew.lParam = item->param;
        if (Notify(info.hdr, NotifiesUnicode() ? TVN_ITEMEXPANDINGW : TVN_ITEMEXPANDINGA)) return FALSE;
        if (!open && isAncestor(item, selected_)) setSelection(item, action);
        if (open)
            item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        else
            item->state &= ~TVIS_EXPANDED;
        if (!open && (flags & TVE_COLLAPSERESET)) {
            deleteChildren(item);
            item->state &= ~TVIS_EXPANDEDONCE;
        }
        info.itemNew.state = stateOf(item);
        NMTREEVIEWW done = info;
        Notify(done.hdr, NotifiesUnicode() ? TVN_ITEMEXPANDEDW : TVN_ITEMEXPANDEDA);
        layoutChanged();
        return TRUE;
    }

    void expandAll(TreeItem* item) {
        expand(item, TVE_EXPAND, TVC_BYKEYBOARD);
        for (auto& child : item->children)
            expandAll(child.get());
    }

    // ---- Selection ----

    // Asks the parent, moves the selection and tells the parent; false when refused.
    bool setSelection(TreeItem* item, UINT action) {
        if (item == selected_) return true;
        NMTREEVIEWW info;
        info.action = action;
        fillNotifyItem(info.itemOld, selected_);
        fillNotifyItem(info.itemNew, item);
        if (Notify(info.hdr, NotifiesUnicode() ? TVN_SELCHANGINGW : TVN_SELCHANGINGA)) return false;
        TreeItem* old = std::exchange(selected_, item);
        if (old) invalidateItem(old);
        if (item) {
            for (TreeItem* walk = item->parent; walk && walk != &root_; walk = walk->parent)
                if (!expanded(walk)) expand(walk, TVE_EXPAND, action);
            invalidateItem(item);
        }
        fillNotifyItem(info.itemOld, old);
        fillNotifyItem(info.itemNew, item);
        NMTREEVIEWW done = info;
        Notify(done.hdr, NotifiesUnicode() ? TVN_SELCHANGEDW : TVN_SELCHANGEDA);
        if (HasStyle(TVS_SINGLEEXPAND) && item && action != TVC_UNKNOWN) expand(item, TVE_EXPAND, action);
        ensureVisible(selected_);
        return true;
    }

    void fillNotifyItem(TVITEMW& target, TreeItem* item) const {
        target = TVITEMW();
        if (!item) return;
        target.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
        target.hItem = item;
        target.state = stateOf(item);
        target.lParam = item->param;
    }

    LRESULT selectItem(UINT flag, HTREEITEM handle) {
        TreeItem* item = valid(handle);
        if (handle && !item) return FALSE;
        switch (flag) {
        case TVGN_CARET:
            return setSelection(item, TVC_UNKNOWN);
        case TVGN_DROPHILITE:
            if (dropTarget_) invalidateItem(dropTarget_);
            dropTarget_ = item;
            if (item) invalidateItem(item);
            return TRUE;
        case TVGN_FIRSTVISIBLE:
            if (item) scrollTo(scrollX_, rowOf(item));
            return item != nullptr;
        default:
            return FALSE;
        }
    }

    // ---- Sorting ----

    LRESULT sortChildren(HTREEITEM handle, bool recurse, PFNTVCOMPARE compare, LPARAM sortParam) {
        TreeItem* parent = parentOf(handle);
        if (!parent) return FALSE;
        sortLevel(*parent, recurse, compare, sortParam);
        layoutChanged();
        return TRUE;
    }

    void sortLevel(TreeItem& parent, bool recurse, PFNTVCOMPARE compare, LPARAM sortParam) {
        auto& children = parent.children;
        if (compare) {
            std::stable_sort(children.begin(), children.end(), [&](const auto& a, const auto& b) {
                return compare(a->param, b->param, sortParam) < 0;
            });
        } else {
            std::vector<std::pair<WideString, std::unique_ptr<TreeItem>>> keyed;
            for (auto& child : children)
                keyed.emplace_back(textOf(child.get()), std::move(child));
            std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
                return LocaleCompareWide(a.first, b.first, true) < 0;
            });
            for (std::size_t i = 0; i < keyed.size(); ++i)
                children[i] = std::move(keyed[i].second);
        }
        if (recurse)
            for (auto& child : children)
                sortLevel(*child, true, compare, sortParam);
    }

    // ---- Layout and scrolling ----

    int itemHeight() const {
        if (itemHeight_ > 0) return itemHeight_;
        int height = FontHeight();
        if (images_) height = std::max<int>(height, images_->ImageSize().cy);
        if (HasStyle(TVS_CHECKBOXES)) height = std::max(height, checkBoxSize);
        return height + rowPadding;
    }

    int visibleCount() const { return std::max(1, static_cast<int>(ClientRect().Height() / itemHeight())); }

    // Where a row's parts begin: its level's indent, then button, state image, image and label.
    int levelLeft(int level) const {
        const bool rootLines =
            HasStyle(TVS_LINESATROOT) && (HasStyle(TVS_HASLINES) || HasStyle(TVS_HASBUTTONS));
        return (level + (rootLines ? 1 : 0)) * indent_ - scrollX_;
    }

    int stateImageWidth() const {
        if (HasStyle(TVS_CHECKBOXES)) return checkBoxSize + textMargin;
        return stateImages_ ? stateImages_->ImageSize().cx : 0;
    }

    int imageWidth() const { return images_ ? images_->ImageSize().cx + textMargin : 0; }

    RECT rowRect(int row) const {
        const int top = (row - firstRow_) * itemHeight();
        return {0, top, ClientRect().Right, top + itemHeight()};
    }

    RECT labelRect(const Row& row, int index) {
        const RECT bounds = rowRect(index);
        const int left = levelLeft(row.level) + stateImageWidth() + imageWidth();
        HFONT font = (row.item->state & TVIS_BOLD) ? boldFont() : Font();
        FontMeasure measure(font);
        const int width = TextExtent(measure.DC(), textOf(row.item)).cx + 2 * textMargin;
        return {left, bounds.Top, left + width, bounds.Bottom};
    }

    RECT buttonRect(const Row& row, int index) const {
        const RECT bounds = rowRect(index);
        const int centreX = levelLeft(row.level) - indent_ / 2;
        const int centreY = bounds.Top + bounds.Height() / 2;
        return {centreX - buttonSize / 2, centreY - buttonSize / 2, centreX + buttonSize / 2 + 1,
                centreY + buttonSize / 2 + 1};
    }

    bool showsButton(const Row& row) const {
        return HasStyle(TVS_HASBUTTONS) && (row.level > 0 || HasStyle(TVS_LINESATROOT));
    }

    LRESULT getItemRect(bool textOnly, RECT* rect) {
        if (!rect) return FALSE;
        TreeItem* item = valid(*reinterpret_cast<HTREEITEM*>(rect));
        if (!item) return FALSE;
        const std::vector<Row> all = rows();
        const int index = rowOfIn(all, item);
        if (index < 0) return FALSE;
        *rect = textOnly ? labelRect(all[static_cast<std::size_t>(index)], index) : rowRect(index);
        return TRUE;
    }

    HTREEITEM hitTest(TVHITTESTINFO* info) {
        if (!info) return nullptr;
        info->hItem = nullptr;
        const RECT client = ClientRect();
        if (info->pt.y < 0)
            info->flags = TVHT_ABOVE;
        else if (info->pt.y >= client.Bottom)
            info->flags = TVHT_BELOW;
        else if (info->pt.x < 0)
            info->flags = TVHT_TOLEFT;
        else if (info->pt.x >= client.Right)
            info->flags = TVHT_TORIGHT;
        else
            info->flags = TVHT_NOWHERE;
        if (info->flags != TVHT_NOWHERE) return nullptr;
        const std::vector<Row> all = rows();
        const int index = firstRow_ + info->pt.y / itemHeight();
        if (index < 0 || index >= static_cast<int>(all.size())) return nullptr;
        const Row& row = all[static_cast<std::size_t>(index)];
        info->hItem = row.item;
        info->flags = partAt(row, index, info->pt);
        return row.item;
    }

    UINT partAt(const Row& row, int index, POINT point) {
        const RECT label = labelRect(row, index);
        if (point.x >= label.Right) return TVHT_ONITEMRIGHT;
        if (point.x >= label.Left) return TVHT_ONITEMLABEL;
        const int stateLeft = levelLeft(row.level);
        if (point.x >= stateLeft + stateImageWidth()) return TVHT_ONITEMICON;
        if (point.x >= stateLeft) return TVHT_ONITEMSTATEICON;
        if (showsButton(row) && hasChildren(row.item) &&
            PointInRect(InflatedRect(buttonRect(row, index), 2, 2), point))
            return TVHT_ONITEMBUTTON;
        return TVHT_ONITEMINDENT;
    }

    void layoutChanged() {
        if (layingOut_) return;
        layingOut_ = true;
        updateScrollBars();
        layingOut_ = false;
        Invalidate();
    }

    void invalidateItem(TreeItem* item) {
        const int row = rowOf(item);
        if (row >= 0) InvalidateRect(rowRect(row));
    }

    int contentWidth() {
        int widest = 0;
        const std::vector<Row> all = rows();
        for (std::size_t i = 0; i < all.size(); ++i)
            widest =
                std::max(widest, static_cast<int>(labelRect(all[i], static_cast<int>(i)).Right + scrollX_));
        return widest;
    }

    void updateScrollBars() {
        if (HasStyle(TVS_NOSCROLL)) return;
        const int count = static_cast<int>(rows().size());
        SCROLLINFO vertical;
        vertical.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        vertical.nMax = std::max(0, count - 1);
        vertical.nPage = static_cast<UINT>(visibleCount());
        firstRow_ = std::clamp(firstRow_, 0, std::max(0, count - visibleCount()));
        vertical.nPos = firstRow_;
        SetScrollInfo(Window(), SB_VERT, &vertical, TRUE);
        if (HasStyle(TVS_NOHSCROLL)) return;
        SCROLLINFO horizontal = vertical;
        horizontal.nMax = std::max(0, contentWidth() - 1);
        horizontal.nPage = static_cast<UINT>(std::max(1, static_cast<int>(ClientRect().Right)));
        scrollX_ =
            std::clamp(scrollX_, 0, std::max(0, horizontal.nMax - static_cast<int>(horizontal.nPage) + 1));
        horizontal.nPos = scrollX_;
        SetScrollInfo(Window(), SB_HORZ, &horizontal, TRUE);
    }

    void scrollTo(int x, int row) {
        scrollX_ = x;
        firstRow_ = row;
        layoutChanged();
    }

    void scrollMessage(int bar, WORD code) {
        SCROLLINFO info;
        info.fMask = SIF_ALL;
        GetScrollInfo(Window(), bar, &info);
        const int line = bar == SB_VERT ? 1 : FontHeight();
        const std::optional<int> scrolled = ScrolledPosition(info, code, line);
        if (!scrolled) return;
        const int position = *scrolled;
        if (bar == SB_VERT)
            scrollTo(scrollX_, position);
        else
            scrollTo(position, firstRow_);
    }

    LRESULT ensureVisible(TreeItem* item) {
        if (!item) return FALSE;
        for (TreeItem* walk = item->parent; walk && walk != &root_; walk = walk->parent)
            if (!expanded(walk)) expand(walk, TVE_EXPAND, TVC_UNKNOWN);
        const int row = rowOf(item);
        if (row < firstRow_)
            scrollTo(scrollX_, row);
        else if (row >= firstRow_ + visibleCount())
            scrollTo(scrollX_, row - visibleCount() + 1);
        return TRUE;
    }

    // ---- Mouse ----

    void mouseDown(POINT point, bool right) {
        if (editing_) endLabelEdit(true);
        if (GetFocus() != Window()) SetFocus(Window());
        TVHITTESTINFO hit;
        hit.pt = point;
        TreeItem* item = hitTest(&hit);
        pressPoint_ = point;
        pressedRight_ = right;
        dragStarted_ = false;
        pressed_ = item;
        if (!item) return;
        if (!right && hit.flags == TVHT_ONITEMBUTTON) {
            expand(item, TVE_TOGGLE, TVC_BYMOUSE);
            pressed_ = nullptr;
            return;
        }
        if (!right && hit.flags == TVHT_ONITEMSTATEICON && HasStyle(TVS_CHECKBOXES)) {
            toggleCheck(item);
            return;
        }
        const bool onItem =
            (hit.flags & TVHT_ONITEM) || (HasStyle(TVS_FULLROWSELECT) && hit.flags == TVHT_ONITEMRIGHT);
        if (!right && onItem) setSelection(item, TVC_BYMOUSE);
        SetCapture(Window());
    }

    void mouseMove(POINT point) {
        if (!pressed_ || dragStarted_ || GetCapture() != Window() || HasStyle(TVS_DISABLEDRAGDROP)) return;
        if (std::abs(point.x - pressPoint_.x) <= GetSystemMetrics(SM_CXDRAG) &&
            std::abs(point.y - pressPoint_.y) <= GetSystemMetrics(SM_CYDRAG))
            return;
        dragStarted_ = true;
        TreeItem* item = std::exchange(pressed_, nullptr);
        ReleaseCapture();
        NMTREEVIEWW drag;
        drag.action = 0;
        fillNotifyItem(drag.itemNew, item);
        drag.ptDrag = pressPoint_;
        Notify(drag.hdr, pressedRight_ ? (NotifiesUnicode() ? TVN_BEGINRDRAGW : TVN_BEGINRDRAGA)
                                       : (NotifiesUnicode() ? TVN_BEGINDRAGW : TVN_BEGINDRAGA));
    }

    void mouseUp(bool right) {
        if (GetCapture() == Window()) ReleaseCapture();
        pressed_ = nullptr;
        if (dragStarted_) return;
        NMHDR header;
        // A right click the parent leaves alone asks for a context menu.
        if (Notify(header, right ? NM_RCLICK : NM_CLICK) == 0 && right)
            SendMessageW(Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window()),
                         static_cast<LPARAM>(GetMessagePos()));
    }

    void doubleClick(POINT point) {
        TVHITTESTINFO hit;
        hit.pt = point;
        TreeItem* item = hitTest(&hit);
        NMHDR header;
        if (Notify(header, NM_DBLCLK)) return;
        if (item && (hit.flags & TVHT_ONITEM))
            expand(item, TVE_TOGGLE, TVC_BYMOUSE);
        else if (item && hit.flags == TVHT_ONITEMBUTTON)
            expand(item, TVE_TOGGLE, TVC_BYMOUSE);
    }

    void toggleCheck(TreeItem* item) {
        const UINT image = (item->state & TVIS_STATEIMAGEMASK) >> stateImageShift;
        const UINT next = image == checkedImage ? uncheckedImage : checkedImage;
        item->state = (item->state & ~TVIS_STATEIMAGEMASK) | (next << stateImageShift);
        invalidateItem(item);
    }

    // ---- Keys ----

    void keyDown(UINT key, LPARAM keyData) {
        NMTVKEYDOWN info;
        info.wVKey = static_cast<WORD>(key);
        info.flags = static_cast<UINT>(HIWORD(static_cast<UINT_PTR>(keyData)));
        if (Notify(info.hdr, TVN_KEYDOWN)) return;
        const std::vector<Row> all = rows();
        if (all.empty()) return;
        const int current = rowOfIn(all, selected_);
        auto rowAt = [&](int index) {
            return all[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(all.size()) - 1))].item;
        };
        switch (key) {
        case VK_UP:
            setSelection(rowAt(current < 0 ? 0 : current - 1), TVC_BYKEYBOARD);
            break;
        case VK_DOWN:
            setSelection(rowAt(current + 1), TVC_BYKEYBOARD);
            break;
        case VK_HOME:
            setSelection(rowAt(0), TVC_BYKEYBOARD);
            break;
        case VK_END:
            setSelection(rowAt(static_cast<int>(all.size()) - 1), TVC_BYKEYBOARD);
            break;
        case VK_PRIOR:
            setSelection(rowAt(current - visibleCount() + 1), TVC_BYKEYBOARD);
            break;
        case VK_NEXT:
            setSelection(rowAt(current + visibleCount() - 1), TVC_BYKEYBOARD);
            break;
        case VK_LEFT:
            if (!selected_) break;
            if (expanded(selected_))
                expand(selected_, TVE_COLLAPSE, TVC_BYKEYBOARD);
            else if (selected_->parent != &root_)
                setSelection(selected_->parent, TVC_BYKEYBOARD);
            break;
        case VK_BACK:
            if (selected_ && selected_->parent != &root_) setSelection(selected_->parent, TVC_BYKEYBOARD);
            break;
        case VK_RIGHT:
            if (!selected_) break;
            if (!expanded(selected_))
                expand(selected_, TVE_EXPAND, TVC_BYKEYBOARD);
            else if (!selected_->children.empty())
                setSelection(selected_->children.front().get(), TVC_BYKEYBOARD);
            break;
        case VK_ADD:
            if (selected_) expand(selected_, TVE_EXPAND, TVC_BYKEYBOARD);
            break;
        case VK_SUBTRACT:
            if (selected_) expand(selected_, TVE_COLLAPSE, TVC_BYKEYBOARD);
            break;
        case VK_MULTIPLY:
            if (selected_) expandAll(selected_);
            break;
        case VK_SPACE:
            if (selected_ && HasStyle(TVS_CHECKBOXES)) toggleCheck(selected_);
            break;
        case VK_RETURN: {
            NMHDR header;
            Notify(header, NM_RETURN);
            break;
        }
        case VK_F2:
            if (selected_) beginLabelEdit(selected_);
            break;
        default:
            break;
        }
    }

    void character(WCHAR typed) {
        if (typed <= u' ') return;
        const std::vector<Row> all = rows();
        if (all.empty()) return;
        const DWORD now = CurrentMilliseconds();
        if (now - lastTyped_ > searchTimeout) search_.clear();
        lastTyped_ = now;
        search_ += typed;
        const int current = rowOfIn(all, selected_);
        const int start = current < 0 ? 0 : current + (search_.size() == 1 ? 1 : 0);
        for (std::size_t step = 0; step < all.size(); ++step) {
            TreeItem* item = all[(static_cast<std::size_t>(start) + step) % all.size()].item;
            const WideString text = textOf(item);
            if (LocaleCompareWide(text.substr(0, search_.size()), search_, true) == 0) {
                setSelection(item, TVC_BYKEYBOARD);
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

    HWND beginLabelEdit(TreeItem* item) {
        if (!item) return nullptr;
        if (editing_) endLabelEdit(true);
        ensureVisible(item);
        const std::vector<Row> all = rows();
        const int index = rowOfIn(all, item);
        RECT label = labelRect(all[static_cast<std::size_t>(index)], index);
        label.Right = std::max(label.Right, label.Left + minimumLabelWidth);
        // The edit exists while the parent hears of the edit, so that it can
        // take the edit's window (TVM_GETEDITCONTROL) or refuse.
        const bool focused = GetFocus() == Window();
        HWND edit = editor_.Open(Window(), label, textOf(item), Font());
        if (NotifiesUnicode() ? notifyLabelEdit<WCHAR>(TVN_BEGINLABELEDITW, item, nullptr)
                              : notifyLabelEdit<char>(TVN_BEGINLABELEDITA, item, nullptr)) {
            editor_.Close();
            if (focused) SetFocus(Window());
            return nullptr;
        }
        editing_ = item;
        return edit;
    }

    template <typename Char> LRESULT notifyLabelEdit(UINT code, TreeItem* item, const WideString* text) {
        NMTVDISPINFO_T<Char> info;
        info.item.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_TEXT;
        info.item.hItem = item;
        info.item.lParam = item->param;
        std::basic_string<Char> buffer;
        if (text) {
            buffer = TextAs<Char>(*text);
            info.item.pszText = buffer.data();
            info.item.cchTextMax = static_cast<int>(buffer.size()) + 1;
        }
        return Notify(info.hdr, code);
    }

    void endLabelEdit(bool accepted) {
        TreeItem* item = std::exchange(editing_, nullptr);
        if (!item || !valid(item)) {
            editor_.Close();
            return;
        }
        const WideString text = editor_.Text();
        const bool focused = GetFocus() == editor_.Window();
        const WideString* offered = accepted ? &text : nullptr;
        const LRESULT take = NotifiesUnicode() ? notifyLabelEdit<WCHAR>(TVN_ENDLABELEDITW, item, offered)
                                               : notifyLabelEdit<char>(TVN_ENDLABELEDITA, item, offered);
        editor_.Close();
        if (accepted && take && valid(item)) {
            keepText(item, text);
            layoutChanged();
        }
        if (focused) SetFocus(Window());
    }

    // ---- Drawing ----

    LRESULT setImageList(int which, HIMAGELIST list) {
        HIMAGELIST* slot = which == TVSIL_NORMAL ? &images_ : which == TVSIL_STATE ? &stateImages_ : nullptr;
        if (!slot) return 0;
        HIMAGELIST previous = std::exchange(*slot, list);
        layoutChanged();
        return reinterpret_cast<LRESULT>(previous);
    }

    LRESULT exchangeColour(COLORREF& slot, COLORREF colour) {
        const COLORREF previous = std::exchange(slot, colour);
        Invalidate();
        return previous == noColour ? -1 : static_cast<LRESULT>(previous);
    }

    HFONT boldFont() {
        if (boldFont_) return boldFont_;
        LOGFONTW font{};
        GetObjectW(Font(), sizeof font, &font);
        font.lfWeight = FW_BOLD;
        boldFont_ = CreateFontIndirectW(&font);
        return boldFont_;
    }

    bool showsSelection() const { return GetFocus() == Window() || HasStyle(TVS_SHOWSELALWAYS); }

    void Paint(HDC dc) override {
        const RECT client = ClientRect();
        FillSolidRect(dc, client,
                      backgroundColour_ == noColour ? GetSysColor(COLOR_WINDOW) : backgroundColour_);
        const std::vector<Row> all = rows();
        const int last = std::min(static_cast<int>(all.size()), firstRow_ + visibleCount() + 1);
        for (int index = firstRow_; index < last; ++index)
            paintRow(dc, all, index);
    }

    void paintRow(HDC dc, const std::vector<Row>& all, int index) {
        const Row& row = all[static_cast<std::size_t>(index)];
        if (HasStyle(TVS_HASLINES)) paintLines(dc, all, index);
        if (showsButton(row) && hasChildren(row.item))
            paintButton(dc, buttonRect(row, index), expanded(row.item));
        const RECT bounds = rowRect(index);
        int x = levelLeft(row.level);
        if (HasStyle(TVS_CHECKBOXES)) {
            const int top = bounds.Top + (bounds.Height() - checkBoxSize) / 2;
            paintCheckBox(dc, {x, top, x + checkBoxSize, top + checkBoxSize},
                          (row.item->state & TVIS_STATEIMAGEMASK) >> stateImageShift == checkedImage);
        } else if (stateImages_) {
            const int image = static_cast<int>((row.item->state & TVIS_STATEIMAGEMASK) >> stateImageShift);
            if (image > 0) stateImages_->DrawImage(dc, image, x, bounds.Top, ImageDrawTransparent);
        }
        x += stateImageWidth();
        const bool highlighted = (row.item == selected_ && showsSelection()) || row.item == dropTarget_;
        if (images_) {
            const int image = imageOf(row.item);
            if (image >= 0 && image < images_->ImageCount())
                images_->DrawImage(dc, image, x, bounds.Top + (bounds.Height() - images_->ImageSize().cy) / 2,
                                   highlighted && GetFocus() == Window() ? ImageDrawSelected
                                                                         : ImageDrawTransparent);
        }
        paintLabel(dc, row, index, highlighted);
    }

    void paintLabel(HDC dc, const Row& row, int index, bool highlighted) {
        RECT label = labelRect(row, index);
        const bool focused = GetFocus() == Window();
        if (HasStyle(TVS_FULLROWSELECT) && highlighted) label.Right = ClientRect().Right;
        if (highlighted)
            FillSolidRect(dc, label,
                          GetSysColor(focused || row.item == dropTarget_ ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        const COLORREF normal = textColour_ == noColour ? GetSysColor(COLOR_WINDOWTEXT) : textColour_;
        const COLORREF colour =
            highlighted
                ? GetSysColor(focused || row.item == dropTarget_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT)
                : normal;
        HGDIOBJ previous = SelectObject(dc, (row.item->state & TVIS_BOLD) ? boldFont() : Font());
        DrawTextIn(dc, textOf(row.item), {label.Left + textMargin, label.Top, label.Right, label.Bottom},
                   DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, colour);
        SelectObject(dc, previous);
        if (row.item == selected_ && focused) {
            RECT focus = label;
            DrawFocusRect(dc, &focus);
        }
    }

    // Dotted lines: down from the parent, across to the item, and on to the next sibling.
    void paintLines(HDC dc, const std::vector<Row>& all, int index) {
        const Row& row = all[static_cast<std::size_t>(index)];
        const RECT bounds = rowRect(index);
        const COLORREF colour = lineColour_ == noColour ? GetSysColor(COLOR_GRAYTEXT) : lineColour_;
        const int centreY = bounds.Top + bounds.Height() / 2;
        const bool rootLines = HasStyle(TVS_LINESATROOT);
        if (row.level > 0 || rootLines) {
            const int x = levelLeft(row.level) - indent_ / 2;
            dottedLine(dc, x, centreY, levelLeft(row.level), centreY, colour);
            const bool first = row.item->parent == &root_ && indexIn(row.item) == 0;
            dottedLine(dc, x, first ? centreY : bounds.Top, x,
                       sibling(row.item, 1) ? bounds.Bottom : centreY + 1, colour);
        }
        // The lines of the ancestors that still have siblings to come pass through this row.
        int level = row.level - 1;
        for (TreeItem* ancestor = row.item->parent; ancestor != &root_ && level >= 0;
             ancestor = ancestor->parent, --level) {
            if (level == 0 && !rootLines) break;
            if (sibling(ancestor, 1)) {
                const int x = levelLeft(level) - indent_ / 2;
                dottedLine(dc, x, bounds.Top, x, bounds.Bottom, colour);
            }
        }
    }

    static void dottedLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
        if (x1 == x2)
            for (int y = std::min(y1, y2); y < std::max(y1, y2); ++y)
                if ((x1 + y) % 2 == 0) SetPixelV(dc, x1, y, colour);
        if (y1 == y2)
            for (int x = std::min(x1, x2); x < std::max(x1, x2); ++x)
                if ((x + y1) % 2 == 0) SetPixelV(dc, x, y1, colour);
    }

    void paintButton(HDC dc, const RECT& box, bool open) {
        FillSolidRect(dc, box, GetSysColor(COLOR_WINDOW));
        HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
        FrameRect(dc, &box, frame);
        DeleteObject(frame);
        const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
        const int centreX = box.Left + box.Width() / 2;
        const int centreY = box.Top + box.Height() / 2;
        FillSolidRect(dc, {box.Left + 2, centreY, box.Right - 2, centreY + 1}, ink);
        if (!open) FillSolidRect(dc, {centreX, box.Top + 2, centreX + 1, box.Bottom - 2}, ink);
    }

    static void paintCheckBox(HDC dc, const RECT& box, bool checked) {
        RECT edge = box;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillSolidRect(dc, edge, GetSysColor(COLOR_WINDOW));
        if (!checked) return;
        const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
        const int left = edge.Left + 1;
        const int top = edge.Top + 3;
        for (int i = 0; i < 3; ++i)
            FillSolidRect(dc, {left + i, top + i, left + i + 1, top + i + 3}, ink);
        for (int i = 0; i < 4; ++i)
            FillSolidRect(dc, {left + 3 + i, top + 1 - i, left + 4 + i, top + 4 - i}, ink);
    }

    TreeItem root_;
    std::unordered_set<const TreeItem*> live_;
    TreeItem* selected_ = nullptr;
    TreeItem* dropTarget_ = nullptr;
    HIMAGELIST images_ = nullptr;
    HIMAGELIST stateImages_ = nullptr;
    COLORREF backgroundColour_ = noColour;
    COLORREF textColour_ = noColour;
    COLORREF lineColour_ = noColour;
    HFONT boldFont_ = nullptr;
    HWND tooltips_ = nullptr;
    int indent_ = defaultIndent;
    int itemHeight_ = 0;
    int firstRow_ = 0;
    int scrollX_ = 0;
    bool layingOut_ = false;
    TreeItem* pressed_ = nullptr;
    bool pressedRight_ = false;
    POINT pressPoint_;
    bool dragStarted_ = false;
    WideString search_;
    DWORD lastTyped_ = 0;
    TreeItem* editing_ = nullptr;
    LabelEditor editor_;
};

} // namespace

void RegisterTreeViewClass() {
    RegisterControlClass(WC_TREEVIEWW, &CommonControlProcedure<TreeView>, CS_DBLCLKS, COLOR_WINDOW);
}
