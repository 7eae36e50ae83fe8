// Edge layers are drawn side by side as one-pixel strips in system colours.
#include "platform/win/Edges.h"

#include "platform/win/GdiObjects.h"
#include "platform/win/Painter.h"
#include "platform/win/SysColors.h"

#include <algorithm>
#include <array>

namespace {

constexpr UINT buttonKindMask = 0x001F;
constexpr UINT pushButtonEdgeWidth = 2;

struct LayerColours {
    int topLeft, bottomRight;
};

// A layer whose both bits are set (raised and sunken) is drawn raised.
LayerColours outerColours(UINT edge, UINT flags) {
    bool soft = flags & BF_SOFT;
    if (flags & BF_MONO) return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
    if (flags & BF_FLAT) return {COLOR_BTNSHADOW, COLOR_BTNSHADOW};
    if (edge & BDR_RAISEDOUTER) return {soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    return {soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
}

LayerColours innerColours(UINT edge, UINT flags) {
    bool soft = flags & BF_SOFT;
    if (flags & BF_MONO) return {COLOR_WINDOW, COLOR_WINDOW};
    if (flags & BF_FLAT) return {COLOR_BTNFACE, COLOR_BTNFACE};
    if (edge & BDR_RAISEDINNER) return {soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
    return {soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

class EdgePainter {
public:
    explicit EdgePainter(DeviceContext& dc) : dc_(dc), painter_(dc) {}

    void Fill(const TRect& logical, int systemColour) {
        painter_.FillRect(dc_.ToDevice(logical), Paint::Solid(ResolveColour(dc_, GetSysColor(systemColour))),
                          RopTableOf(PATCOPY));
    }

    void FillRegion(const Region& logical, int systemColour) {
        Region device = logical;
        TPoint shift = dc_.ToDevice(TPoint{0, 0});
        device.Offset(shift.x, shift.y);
        painter_.FillRegion(device, Paint::Solid(ResolveColour(dc_, GetSysColor(systemColour))),
                            RopTableOf(PATCOPY));
    }

    // One layer on the sides in `flags`; `rect` shrinks by the sides drawn.
    void Layer(TRect& rect, LayerColours colours, UINT flags) {
        if (rect.Left >= rect.Right || rect.Top >= rect.Bottom) return;
        if (flags & BF_LEFT) Fill({rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, colours.topLeft);
        if (flags & BF_TOP) Fill({rect.Left, rect.Top, rect.Right, rect.Top + 1}, colours.topLeft);
        if (flags & BF_RIGHT) Fill({rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, colours.bottomRight);
        if (flags & BF_BOTTOM)
            Fill({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, colours.bottomRight);
        rect.Left += (flags & BF_LEFT) ? 1 : 0;
        rect.Top += (flags & BF_TOP) ? 1 : 0;
        rect.Right -= (flags & BF_RIGHT) ? 1 : 0;
        rect.Bottom -= (flags & BF_BOTTOM) ? 1 : 0;
    }

    // A diagonal from the corner opposite the one named by the flags to that corner.
    void Diagonal(const TRect& rect, int colour, UINT flags, int inset) {
        int size = std::min(rect.Width(), rect.Height()) - inset;
        bool endsTop = flags & BF_TOP, endsRight = flags & BF_RIGHT;
        for (int i = 0; i < size; ++i) {
            int x = endsRight ? rect.Left + i : rect.Right - 1 - i;
            int y = endsTop ? rect.Bottom - 1 - i - inset : rect.Top + i + inset;
            Fill({x, y, x + 1, y + 1}, colour);
        }
    }

private:
    DeviceContext& dc_;
    Painter painter_;
};

void drawDiagonalEdge(EdgePainter& painter, const TRect& rect, UINT edge, UINT flags) {
    bool endsTop = flags & BF_TOP;
    if (edge & BDR_OUTER) {
        LayerColours colours = outerColours(edge, flags);
        painter.Diagonal(rect, endsTop ? colours.topLeft : colours.bottomRight, flags, 0);
    }
    if (edge & BDR_INNER) {
        LayerColours colours = innerColours(edge, flags);
        painter.Diagonal(rect, endsTop ? colours.topLeft : colours.bottomRight, flags, 1);
    }
}

// ---- Menu glyphs ----

constexpr int checkPatternSize = 7;
constexpr std::array<const char*, checkPatternSize> checkPattern = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

Region checkMarkRegion(const TRect& box) {
    int side = std::min(box.Width(), box.Height());
    int size = std::max(checkPatternSize, side * checkPatternSize / 13);
    size = std::min(size, side);
    int left = box.Left + (box.Width() - size) / 2, top = box.Top + (box.Height() - size) / 2;
    std::vector<std::vector<RegionSpan>> rows(static_cast<std::size_t>(size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (checkPattern[static_cast<std::size_t>(y * checkPatternSize / size)]
                            [x * checkPatternSize / size] != '#')
                continue;
            auto& row = rows[static_cast<std::size_t>(y)];
            if (!row.empty() && row.back().right == left + x)
                row.back().right++;
            else
                row.push_back({left + x, left + x + 1});
        }
    return Region::FromRows(top, rows);
}

Region bulletRegion(const TRect& box) {
    int side = std::min(box.Width(), box.Height());
    int diameter = std::max(2, side * 3 / 8);
    int left = box.Left + (box.Width() - diameter) / 2, top = box.Top + (box.Height() - diameter) / 2;
    return Region::Ellipse({left, top, left + diameter, top + diameter});
}

Region arrowRegion(const TRect& box, bool pointsRight) {
    int side = std::min(box.Width(), box.Height());
    int height = std::max(3, (side / 2) | 1);
    int width = height / 2 + 1;
    int left = box.Left + (box.Width() - width) / 2, top = box.Top + (box.Height() - height) / 2;
    std::vector<std::vector<RegionSpan>> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        int length = width - std::abs(y - height / 2);
        int start = pointsRight ? left : left + width - length;
        rows[static_cast<std::size_t>(y)].push_back({start, start + length});
    }
    return Region::FromRows(top, rows);
}

BOOL drawMenuGlyph(EdgePainter& painter, const TRect& rect, UINT state) {
    Region glyph;
    switch (state & buttonKindMask) {
    case DFCS_MENUCHECK:
        glyph = checkMarkRegion(rect);
        break;
    case DFCS_MENUBULLET:
        glyph = bulletRegion(rect);
        break;
    case DFCS_MENUARROW:
        glyph = arrowRegion(rect, true);
        break;
    case DFCS_MENUARROWRIGHT:
        glyph = arrowRegion(rect, false);
        break;
    default:
        return FALSE;
    }
    constexpr int white = COLOR_WINDOW, black = COLOR_WINDOWTEXT;
    painter.Fill(rect, white);
    painter.FillRegion(glyph, black);
    return TRUE;
}

} // namespace

BOOL DrawEdge(HDC dcHandle, LPRECT rect, UINT edge, UINT flags) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !rect) return FALSE;
    EdgePainter painter(*dc);
    if (flags & BF_DIAGONAL) {
        drawDiagonalEdge(painter, *rect, edge, flags);
        return TRUE;
    }
    TRect inside = *rect;
    if (edge & BDR_OUTER) painter.Layer(inside, outerColours(edge, flags), flags);
    if (edge & BDR_INNER) painter.Layer(inside, innerColours(edge, flags), flags);
    if (flags & BF_MIDDLE) painter.Fill(inside, (flags & (BF_FLAT | BF_MONO)) ? COLOR_WINDOW : COLOR_BTNFACE);
    if (flags & BF_ADJUST) *rect = inside;
    return TRUE;
}

BOOL DrawFrameControl(HDC dcHandle, LPRECT rect, UINT type, UINT state) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !rect) return FALSE;
    if (type == DFC_MENU) {
        EdgePainter painter(*dc);
        return drawMenuGlyph(painter, *rect, state);
    }
    if (type != DFC_BUTTON || (state & buttonKindMask) != DFCS_BUTTONPUSH) return FALSE;
    UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
    UINT flags =
        BF_RECT | BF_MIDDLE | ((state & DFCS_FLAT) ? BF_FLAT : BF_SOFT) | ((state & DFCS_MONO) ? BF_MONO : 0);
    TRect frame = *rect;
    DrawEdge(dcHandle, &frame, edge, flags);
    if (state & DFCS_ADJUSTRECT) {
        rect->Left += pushButtonEdgeWidth;
        rect->Top += pushButtonEdgeWidth;
        rect->Right -= pushButtonEdgeWidth;
        rect->Bottom -= pushButtonEdgeWidth;
    }
    return TRUE;
}
