// The status bar: parts and their texts, layout along the parent and drawing.
#include "platform/win/StatusBarControl.h"

#include "platform/win/CommonControls.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF defaultColour = 0xFF000000;
constexpr int maximumParts = 256;
// The borders SB_GETBORDERS reports: none at the sides, above the parts and between them.
constexpr int horizontalBorder = 0;
constexpr int verticalBorder = 2;
constexpr int partGap = 2;
constexpr int textMargin = 2;
// Height of the bar beyond its text: the borders and the parts' edges.
constexpr int heightBeyondText = 6;
constexpr int iconSize = 16;
constexpr UINT partIndexMask = 0xFF;
constexpr UINT textFlagsMask = 0xFF00;

struct Part {
    WideString text;
    UINT flags = 0;
    // What an owner-drawn part was given in place of a text.
    LPARAM ownerData = 0;
    HICON icon = nullptr;
};

class StatusBar : public DrawnControl {
public:
    using DrawnControl::DrawnControl;

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            alignToParent();
            return Default(message, wParam, lParam);
        case SB_SETTEXTA:
            return setText(wParam, lParam, false);
        case SB_SETTEXTW:
            return setText(wParam, lParam, true);
        case SB_GETTEXTA:
            return getText(wParam, reinterpret_cast<char*>(lParam));
        case SB_GETTEXTW:
            return getText(wParam, reinterpret_cast<WCHAR*>(lParam));
        case SB_GETTEXTLENGTHA:
        case SB_GETTEXTLENGTHW:
            return textLength(wParam);
        case SB_SETPARTS:
            return setParts(static_cast<int>(wParam), reinterpret_cast<const int*>(lParam));
        case SB_GETPARTS:
            return getParts(static_cast<int>(wParam), reinterpret_cast<int*>(lParam));
        case SB_GETBORDERS:
            return getBorders(reinterpret_cast<int*>(lParam));
        case SB_SETMINHEIGHT:
            minimumHeight_ = static_cast<int>(wParam);
            return 0;
        case SB_SIMPLE:
            setSimple(wParam != 0);
            return 0;
        case SB_ISSIMPLE:
            return simple_;
        case SB_GETRECT:
            return getRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
        case SB_SETICON:
            return setIcon(static_cast<int>(wParam), reinterpret_cast<HICON>(lParam));
        case SB_GETICON:
            return reinterpret_cast<LRESULT>(
                validPart(static_cast<int>(wParam)) ? partAt(static_cast<int>(wParam)).icon : nullptr);
        case SB_SETBKCOLOR: {
            const COLORREF previous = std::exchange(backgroundColour_, static_cast<COLORREF>(lParam));
            Invalidate();
            return previous;
        }
        case WM_SETTEXT:
            Default(message, wParam, lParam);
            return setText(0, lParam, true);
        case WM_GETTEXT:
            return CopyText(parts_.front().text, reinterpret_cast<WCHAR*>(lParam), static_cast<int>(wParam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(parts_.front().text.size());
        case WM_SIZE:
            alignToParent();
            Invalidate();
            return 0;
        case WM_SETFONT:
            if (lParam) Invalidate();
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    bool validPart(int index) const { return index >= 0 && index < static_cast<int>(parts_.size()); }
    Part& partAt(int index) { return parts_[static_cast<std::size_t>(index)]; }
    const Part& partAt(int index) const { return parts_[static_cast<std::size_t>(index)]; }

    // The part a message's wParam names: the simple part for SB_SIMPLEID.
    Part* partOf(WPARAM wParam) {
        const UINT index = static_cast<UINT>(wParam) & partIndexMask;
        if (index == SB_SIMPLEID) return &simplePart_;
        return validPart(static_cast<int>(index)) ? &partAt(static_cast<int>(index)) : nullptr;
    }

    LRESULT setText(WPARAM wParam, LPARAM lParam, bool wide) {
        Part* part = partOf(wParam);
        if (!part) return FALSE;
        part->flags = static_cast<UINT>(wParam) & textFlagsMask;
        if (part->flags & SBT_OWNERDRAW) {
            // An owner-drawn part keeps the value as it came: it is no text.
            part->ownerData = lParam;
            part->text.clear();
        } else {
            part->ownerData = 0;
            part->text = wide ? TextOf(reinterpret_cast<const WCHAR*>(lParam))
                              : TextOf(reinterpret_cast<const char*>(lParam));
        }
        invalidatePart(wParam);
        return TRUE;
    }

    template <typename Char> LRESULT getText(WPARAM wParam, Char* buffer) {
        const Part* part = partOf(wParam);
        if (!part) return 0;
        if (part->flags & SBT_OWNERDRAW) return part->ownerData;
        const int length = buffer ? CopyText(part->text, buffer, static_cast<int>(part->text.size()) + 1)
                                  : static_cast<int>(part->text.size());
        return MAKELONG(static_cast<WORD>(length), static_cast<WORD>(part->flags));
    }

    LRESULT textLength(WPARAM wParam) {
        const Part* part = partOf(wParam);
        if (!part) return 0;
        return MAKELONG(static_cast<WORD>(part->text.size()), static_cast<WORD>(part->flags));
    }

    LRESULT setParts(int count, const int* edges) {
        if (count <= 0 || count > maximumParts || !edges) return FALSE;
        parts_.resize(static_cast<std::size_t>(count));
        edges_.assign(edges, edges + count);
        Invalidate();
        return TRUE;
    }

    LRESULT getParts(int size, int* edges) const {
        if (edges)
            for (int i = 0; i < std::min(size, static_cast<int>(edges_.size())); ++i)
                edges[i] = edges_[static_cast<std::size_t>(i)];
        return static_cast<LRESULT>(edges_.size());
    }

    static LRESULT getBorders(int* borders) {
        if (!borders) return FALSE;
        borders[0] = horizontalBorder;
        borders[1] = verticalBorder;
        borders[2] = partGap;
        return TRUE;
    }

    void setSimple(bool simple) {
        if (simple == simple_) return;
        simple_ = simple;
        NMHDR header;
        Notify(header, SBN_SIMPLEMODECHANGE);
        Invalidate();
    }

    LRESULT getRect(int index, RECT* rect) const {
        if (!rect) return FALSE;
        if (simple_) {
            *rect = simpleRect();
            return TRUE;
        }
        if (!validPart(index)) return FALSE;
        *rect = partRect(index);
        return TRUE;
    }

    LRESULT setIcon(int index, HICON icon) {
        Part* part = index == -1 ? &simplePart_ : validPart(index) ? &partAt(index) : nullptr;
        if (!part) return FALSE;
        part->icon = icon;
        Invalidate();
        return TRUE;
    }

    // ---- Layout ----

    int naturalHeight() const { return std::max(FontHeight(), minimumHeight_) + heightBeyondText; }

    // Unless told not to, the bar sits along the bottom (or top) of its
    // parent, as wide as its client area and as high as its text needs.
    void alignToParent() {
        if (HasStyle(CCS_NORESIZE)) return;
        HWND parent = GetParent(Window());
        if (!parent) return;
        RECT parentRect;
        GetClientRect(parent, &parentRect);
        RECT own;
        GetWindowRect(Window(), &own);
        POINT topLeft{own.Left, own.Top};
        ScreenToClient(parent, &topLeft);
        const int height = naturalHeight();
        int y = topLeft.y;
        if (!HasStyle(CCS_NOPARENTALIGN))
            y = (Style() & CCS_BOTTOM) == CCS_TOP ? 0 : parentRect.Bottom - height;
        const int x = HasStyle(CCS_NOPARENTALIGN) ? topLeft.x : 0;
        const int width = HasStyle(CCS_NOPARENTALIGN) ? own.Width() : parentRect.Width();
        if (topLeft.x != x || topLeft.y != y || own.Width() != width || own.Height() != height)
            SetWindowPos(Window(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    int gripSize() const { return HasStyle(SBARS_SIZEGRIP) ? GetSystemMetrics(SM_CXVSCROLL) : 0; }

    // The right end of the parts: short of the size grip.
    int usableRight() const { return std::max(0, ClientRect().Right - gripSize()); }

    RECT simpleRect() const {
        const RECT client = ClientRect();
        return {horizontalBorder, verticalBorder, usableRight(), client.Bottom};
    }

    RECT partRect(int index) const {
        const RECT client = ClientRect();
        const int left = index == 0 ? horizontalBorder : edgeOf(index - 1) + partGap;
        const int right = edgeOf(index);
        return {left, verticalBorder, std::max(left, right), client.Bottom};
    }

    // A right edge of -1 (or beyond the bar) stops at the usable width.
    int edgeOf(int index) const {
        const int edge = edges_[static_cast<std::size_t>(index)];
        return edge < 0 ? usableRight() : std::min(edge, ClientRect().Right);
    }

    void invalidatePart(WPARAM wParam) {
        const UINT index = static_cast<UINT>(wParam) & partIndexMask;
        if (index == SB_SIMPLEID) {
            if (simple_) InvalidateRect(simpleRect());
        } else if (!simple_ && validPart(static_cast<int>(index))) {
            InvalidateRect(partRect(static_cast<int>(index)));
        }
    }

    // ---- Drawing ----

    COLORREF backgroundColour() const {
        return backgroundColour_ == defaultColour ? GetSysColor(COLOR_BTNFACE) : backgroundColour_;
    }

    void Paint(HDC dc) override {
        FillSolidRect(dc, ClientRect(), backgroundColour());
        HGDIOBJ previousFont = SelectObject(dc, Font());
        if (simple_) {
            paintPart(dc, simplePart_, simpleRect(), SB_SIMPLEID);
        } else {
            for (int i = 0; i < static_cast<int>(parts_.size()); ++i)
                paintPart(dc, partAt(i), partRect(i), static_cast<UINT>(i));
        }
        paintGrip(dc);
        SelectObject(dc, previousFont);
    }

    void paintPart(HDC dc, const Part& part, RECT rect, UINT index) {
        if (rect.Width() <= 0) return;
        if (!(part.flags & SBT_NOBORDERS))
            DrawEdge(dc, &rect, (part.flags & SBT_POPOUT) ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
        RECT inside{rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
        if (part.flags & SBT_OWNERDRAW) {
            drawOwnerPart(dc, part, inside, index);
            return;
        }
        if (part.icon) {
            DrawIconEx(dc, inside.Left + textMargin, inside.Top + (inside.Height() - iconSize) / 2, part.icon,
                       iconSize, iconSize, 0, nullptr, DI_NORMAL);
            inside.Left += iconSize + textMargin;
        }
        drawTabbedText(dc, part, inside);
    }

    // Text before the first tab is left-aligned, after it centred, after the second right-aligned.
    void drawTabbedText(HDC dc, const Part& part, const RECT& inside) {
        RECT textRect{inside.Left + textMargin, inside.Top, inside.Right - textMargin, inside.Bottom};
        const COLORREF colour = GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
        if (part.flags & SBT_NOTABPARSING) {
            DrawTextIn(dc, part.text, textRect, format | DT_LEFT, colour);
            return;
        }
        const UINT alignments[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
        std::size_t start = 0;
        for (UINT alignment : alignments) {
            const std::size_t tab = alignment == DT_RIGHT ? WideString::npos : part.text.find(u'\t', start);
            const WideString piece =
                part.text.substr(start, tab == WideString::npos ? WideString::npos : tab - start);
            if (!piece.empty()) DrawTextIn(dc, piece, textRect, format | alignment, colour);
            if (tab == WideString::npos) break;
            start = tab + 1;
        }
    }

    void drawOwnerPart(HDC dc, const Part& part, const RECT& inside, UINT index) {
        DRAWITEMSTRUCT item;
        item.CtlID = static_cast<UINT>(ControlId());
        item.itemID = index;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = Window();
        item.hDC = dc;
        item.rcItem = inside;
        item.itemData = static_cast<ULONG_PTR>(part.ownerData);
        HWND parent = NotifyWindow();
        if (parent) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    }

    // Three pairs of diagonal lines in the bottom right corner.
    void paintGrip(HDC dc) {
        const int size = gripSize();
        if (size == 0) return;
        const RECT client = ClientRect();
        HPEN highlight = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ previous = SelectObject(dc, shadow);
        for (int offset = 4; offset < size; offset += 4) {
            for (int line = 0; line < 2; ++line) {
                SelectObject(dc, line == 0 ? highlight : shadow);
                const int start = offset - line - 1;
                MoveToEx(dc, client.Right - start, client.Bottom - 1, nullptr);
                LineTo(dc, client.Right, client.Bottom - 1 - start);
            }
        }
        SelectObject(dc, previous);
        DeleteObject(highlight);
        DeleteObject(shadow);
    }

    std::vector<Part> parts_{Part{}};
    std::vector<int> edges_{-1};
    Part simplePart_;
    bool simple_ = false;
    int minimumHeight_ = 0;
    COLORREF backgroundColour_ = defaultColour;
};

} // namespace

void RegisterStatusBarClass() {
    RegisterControlClass(STATUSCLASSNAMEW, &CommonControlProcedure<StatusBar>, CS_HREDRAW | CS_VREDRAW,
                         COLOR_BTNFACE);
}
