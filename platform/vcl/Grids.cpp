// The grids. Cells are laid out from the fixed rows and columns, then from
// the first scrollable row and column in view; each cell is followed by a
// grid line on its right and bottom.
#include "platform/vcl/Grids.h"

#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/ScrollBars.h"

#include <algorithm>

namespace {

constexpr const char* SFixedColTooBig = "Fixed column count must be less than column count";
constexpr const char* SFixedRowTooBig = "Fixed row count must be less than row count";
constexpr const char* SIndexOutOfRange = "Grid index out of range";
constexpr Integer CellTextIndent = 2;
// Lines between fixed cells are drawn black, between the others in silver.
constexpr TColor FixedLineColour = clBlack;
constexpr TColor CellLineColour = clSilver;

} // namespace

// ---- TCustomGrid ------------------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner), colWidths_(5, 64), rowHeights_(5, 24) {
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
    SetBounds(Left(), Top(), 320, 120);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

void TCustomGrid::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) Params.Style |= WS_VSCROLL;
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) Params.Style |= WS_HSCROLL;
    if (borderStyle_ == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    updateScrollBars();
}

// ---- Sizes ----

void TCustomGrid::changeSize(Integer NewColCount, Integer NewRowCount) {
    Integer oldCols = colCount_;
    Integer oldRows = rowCount_;
    colWidths_.resize(static_cast<std::size_t>(NewColCount), defaultColWidth_);
    rowHeights_.resize(static_cast<std::size_t>(NewRowCount), defaultRowHeight_);
    colCount_ = NewColCount;
    rowCount_ = NewRowCount;
    current_ = {std::clamp(current_.X, fixedCols_, std::max(colCount_ - 1, fixedCols_)),
                std::clamp(current_.Y, fixedRows_, std::max(rowCount_ - 1, fixedRows_))};
    selection_ = {current_.X, current_.Y, current_.X, current_.Y};
    topLeft_ = {std::clamp(topLeft_.X, fixedCols_, std::max(colCount_ - 1, fixedCols_)),
                std::clamp(topLeft_.Y, fixedRows_, std::max(rowCount_ - 1, fixedRows_))};
    SizeChanged(oldCols, oldRows);
    updateScrollBars();
    Invalidate();
}

void TCustomGrid::SizeChanged(Integer, Integer) {}

void TCustomGrid::SetColCount(Integer Value) {
    Value = std::max(Value, 1);
    if (Value == colCount_) return;
    if (Value <= fixedCols_) fixedCols_ = Value - 1;
    changeSize(Value, rowCount_);
}

void TCustomGrid::SetRowCount(Integer Value) {
    Value = std::max(Value, 1);
    if (Value == rowCount_) return;
    if (Value <= fixedRows_) fixedRows_ = Value - 1;
    changeSize(colCount_, Value);
}

void TCustomGrid::SetFixedCols(Integer Value) {
    if (Value < 0 || Value >= colCount_) throw EInvalidGridOperation(SFixedColTooBig);
    fixedCols_ = Value;
    changeSize(colCount_, rowCount_);
}

void TCustomGrid::SetFixedRows(Integer Value) {
    if (Value < 0 || Value >= rowCount_) throw EInvalidGridOperation(SFixedRowTooBig);
    fixedRows_ = Value;
    changeSize(colCount_, rowCount_);
}

void TCustomGrid::SetDefaultColWidth(Integer Value) {
    defaultColWidth_ = Value;
    std::fill(colWidths_.begin(), colWidths_.end(), Value);
    updateScrollBars();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(Integer Value) {
    defaultRowHeight_ = Value;
    std::fill(rowHeights_.begin(), rowHeights_.end(), Value);
    updateScrollBars();
    Invalidate();
}

Integer TCustomGrid::ColWidths(Integer Index) const {
    if (Index < 0 || Index >= colCount_) throw EInvalidGridOperation(SIndexOutOfRange);
    return colWidths_[static_cast<std::size_t>(Index)];
}

void TCustomGrid::SetColWidths(Integer Index, Integer Value) {
    if (Index < 0 || Index >= colCount_) throw EInvalidGridOperation(SIndexOutOfRange);
    colWidths_[static_cast<std::size_t>(Index)] = Value;
    updateScrollBars();
    Invalidate();
}

Integer TCustomGrid::RowHeights(Integer Index) const {
    if (Index < 0 || Index >= rowCount_) throw EInvalidGridOperation(SIndexOutOfRange);
    return rowHeights_[static_cast<std::size_t>(Index)];
}

void TCustomGrid::SetRowHeights(Integer Index, Integer Value) {
    if (Index < 0 || Index >= rowCount_) throw EInvalidGridOperation(SIndexOutOfRange);
    rowHeights_[static_cast<std::size_t>(Index)] = Value;
    updateScrollBars();
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(Integer Value) {
    gridLineWidth_ = std::max(Value, 0);
    updateScrollBars();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    options_ = Value;
    Invalidate();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    if (scrollBars_ == Value) return;
    scrollBars_ = Value;
    RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    fixedColor_ = Value;
    Invalidate();
}

// ---- Geometry ----

Integer TCustomGrid::columnLeft(Integer ACol) {
    Integer x = 0;
    for (Integer c = 0; c < std::min(ACol, fixedCols_); ++c)
        x += colWidths_[static_cast<std::size_t>(c)] + gridLineWidth_;
    if (ACol < fixedCols_) return x;
    if (ACol < topLeft_.X) return -1;
    for (Integer c = topLeft_.X; c < ACol; ++c)
        x += colWidths_[static_cast<std::size_t>(c)] + gridLineWidth_;
    return x;
}

Integer TCustomGrid::rowTop(Integer ARow) {
    Integer y = 0;
    for (Integer r = 0; r < std::min(ARow, fixedRows_); ++r)
        y += rowHeights_[static_cast<std::size_t>(r)] + gridLineWidth_;
    if (ARow < fixedRows_) return y;
    if (ARow < topLeft_.Y) return -1;
    for (Integer r = topLeft_.Y; r < ARow; ++r)
        y += rowHeights_[static_cast<std::size_t>(r)] + gridLineWidth_;
    return y;
}

TRect TCustomGrid::CellRect(Integer ACol, Integer ARow) {
    if (ACol < 0 || ACol >= colCount_ || ARow < 0 || ARow >= rowCount_) return {};
    Integer left = columnLeft(ACol);
    Integer top = rowTop(ARow);
    TRect client = ClientRect();
    if (left < 0 || top < 0 || left >= client.Right || top >= client.Bottom) return {};
    return {left, top, left + colWidths_[static_cast<std::size_t>(ACol)],
            top + rowHeights_[static_cast<std::size_t>(ARow)]};
}

Integer TCustomGrid::VisibleColCount() {
    Integer width = ClientWidth() - columnLeft(std::min(topLeft_.X, colCount_ - 1));
    Integer count = 0;
    for (Integer c = topLeft_.X; c < colCount_; ++c) {
        width -= colWidths_[static_cast<std::size_t>(c)] + gridLineWidth_;
        if (width < 0) break;
        ++count;
    }
    return count;
}

Integer TCustomGrid::VisibleRowCount() {
    Integer height = ClientHeight() - rowTop(std::min(topLeft_.Y, rowCount_ - 1));
    Integer count = 0;
    for (Integer r = topLeft_.Y; r < rowCount_; ++r) {
        height -= rowHeights_[static_cast<std::size_t>(r)] + gridLineWidth_;
        if (height < 0) break;
        ++count;
    }
    return count;
}

TGridCoord TCustomGrid::MouseCoord(Integer X, Integer Y) {
    TGridCoord coord{-1, -1};
    for (Integer c = 0; c < colCount_; ++c) {
        TRect rect = CellRect(c, std::min(fixedRows_, rowCount_ - 1));
        if (rect.Right > rect.Left && X >= rect.Left && X < rect.Right + gridLineWidth_) coord.X = c;
    }
    for (Integer r = 0; r < rowCount_; ++r) {
        TRect rect = CellRect(std::min(fixedCols_, colCount_ - 1), r);
        if (rect.Bottom > rect.Top && Y >= rect.Top && Y < rect.Bottom + gridLineWidth_) coord.Y = r;
    }
    if (coord.X < 0 || coord.Y < 0) return {-1, -1};
    return coord;
}

void TCustomGrid::MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow) {
    TGridCoord coord = MouseCoord(X, Y);
    ACol = coord.X;
    ARow = coord.Y;
}

// ---- Current cell and scrolling ----

bool TCustomGrid::SelectCell(Integer, Integer) {
    return true;
}

void TCustomGrid::moveCurrent(Integer ACol, Integer ARow) {
    if (colCount_ <= fixedCols_ || rowCount_ <= fixedRows_) return;
    ACol = std::clamp(ACol, fixedCols_, colCount_ - 1);
    ARow = std::clamp(ARow, fixedRows_, rowCount_ - 1);
    if (TGridCoord{ACol, ARow} == current_ || !SelectCell(ACol, ARow)) return;
    current_ = {ACol, ARow};
    selection_ = {ACol, ARow, ACol, ARow};
    if (ARow < topLeft_.Y) SetTopRow(ARow);
    while (ARow >= topLeft_.Y + std::max(VisibleRowCount(), 1) && topLeft_.Y < ARow)
        SetTopRow(topLeft_.Y + 1);
    if (ACol < topLeft_.X) SetLeftCol(ACol);
    while (ACol >= topLeft_.X + std::max(VisibleColCount(), 1) && topLeft_.X < ACol)
        SetLeftCol(topLeft_.X + 1);
    Invalidate();
    Click();
}

void TCustomGrid::SetCol(Integer Value) {
    moveCurrent(Value, current_.Y);
}

void TCustomGrid::SetRow(Integer Value) {
    moveCurrent(current_.X, Value);
}

void TCustomGrid::SetTopRow(Integer Value) {
    Value = std::clamp(Value, fixedRows_, std::max(rowCount_ - 1, fixedRows_));
    if (Value == topLeft_.Y) return;
    topLeft_.Y = Value;
    updateScrollBars();
    Invalidate();
}

void TCustomGrid::SetLeftCol(Integer Value) {
    Value = std::clamp(Value, fixedCols_, std::max(colCount_ - 1, fixedCols_));
    if (Value == topLeft_.X) return;
    topLeft_.X = Value;
    updateScrollBars();
    Invalidate();
}

void TCustomGrid::updateScrollBars() {
    if (!HandleAllocated()) return;
    auto update = [this](int Bar, Integer First, Integer Count, Integer Position, Integer Visible) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = First;
        info.nMax = std::max(Count - 1, First);
        info.nPage = static_cast<UINT>(std::max(Visible, 1));
        info.nPos = Position;
        SetScrollInfo(Handle(), Bar, &info, TRUE);
    };
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth)
        update(SB_VERT, fixedRows_, rowCount_, topLeft_.Y, VisibleRowCount());
    if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth)
        update(SB_HORZ, fixedCols_, colCount_, topLeft_.X, VisibleColCount());
}

void TCustomGrid::scrollMessage(TMessage& Message, bool Vertical) {
    Integer position = Vertical ? topLeft_.Y : topLeft_.X;
    Integer page = std::max(Vertical ? VisibleRowCount() : VisibleColCount(), 1);
    switch (LOWORD(Message.WParam)) {
    case SB_LINEUP:
        --position;
        break;
    case SB_LINEDOWN:
        ++position;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = HIWORD(Message.WParam);
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = Vertical ? rowCount_ : colCount_;
        break;
    default:
        return;
    }
    if (Vertical)
        SetTopRow(position);
    else
        SetLeftCol(position);
}

// ---- Input ----

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (CanFocus() && !Focused()) SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    TGridCoord cell = MouseCoord(X, Y);
    if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) moveCurrent(cell.X, cell.Y);
}

void TCustomGrid::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    Integer page = std::max(VisibleRowCount(), 1);
    bool control = Shift.Contains(ssCtrl);
    switch (Key) {
    case VK_UP:
        moveCurrent(current_.X, current_.Y - 1);
        break;
    case VK_DOWN:
        moveCurrent(current_.X, current_.Y + 1);
        break;
    case VK_LEFT:
        moveCurrent(current_.X - 1, current_.Y);
        break;
    case VK_RIGHT:
        moveCurrent(current_.X + 1, current_.Y);
        break;
    case VK_PRIOR:
        moveCurrent(current_.X, current_.Y - page);
        break;
    case VK_NEXT:
        moveCurrent(current_.X, current_.Y + page);
        break;
    case VK_HOME:
        moveCurrent(fixedCols_, control ? fixedRows_ : current_.Y);
        break;
    case VK_END:
        moveCurrent(colCount_ - 1, control ? rowCount_ - 1 : current_.Y);
        break;
    }
}

void TCustomGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | (options_.Contains(goTabs) ? DLGC_WANTTAB : 0);
        break;
    case WM_VSCROLL:
        scrollMessage(Message, true);
        break;
    case WM_HSCROLL:
        scrollMessage(Message, false);
        break;
    case WM_SIZE:
        TCustomControl::Dispatch(Message);
        updateScrollBars();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::Dispatch(Message);
        Invalidate();
        break;
    default:
        TCustomControl::Dispatch(Message);
    }
}

// ---- Painting ----

void TCustomGrid::paintCell(Integer ACol, Integer ARow, const TRect& Rect) {
    TCanvas* canvas = Canvas();
    bool fixed = ACol < fixedCols_ || ARow < fixedRows_;
    bool focusedCell = ACol == current_.X && ARow == current_.Y;
    bool inSelection = ACol >= selection_.Left && ACol <= selection_.Right && ARow >= selection_.Top &&
                       ARow <= selection_.Bottom;
    TGridDrawState state;
    if (fixed) state.Include(gdFixed);
    if (focusedCell && Focused()) state.Include(gdFocused);
    if (!fixed && inSelection &&
        (!focusedCell || options_.Contains(goDrawFocusSelected) || options_.Contains(goRowSelect)))
        state.Include(gdSelected);
    if (defaultDrawing_) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(fixed ? fixedColor_ : state.Contains(gdSelected) ? clHighlight : Color());
        canvas->SetFont(Font());
        if (state.Contains(gdSelected)) canvas->Font()->SetColor(clHighlightText);
        canvas->FillRect(Rect);
    }
    DrawCell(ACol, ARow, Rect, state);
    HDC dc = canvas->Handle();
    if (defaultDrawing_ && fixed && Ctl3D()) {
        TRect edge = Rect;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    if (state.Contains(gdFocused) && !options_.Contains(goRowSelect)) DrawFocusRect(dc, &Rect);
}

// The grid lines right of and below each cell of the area.
void TCustomGrid::paintLines(const TRect& Cells, bool Fixed) {
    bool vertical = options_.Contains(Fixed ? goFixedVertLine : goVertLine);
    bool horizontal = options_.Contains(Fixed ? goFixedHorzLine : goHorzLine);
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Fixed ? FixedLineColour : CellLineColour);
    if (vertical)
        canvas->FillRect(
            {Cells.Right, Cells.Top, Cells.Right + gridLineWidth_, Cells.Bottom + gridLineWidth_});
    if (horizontal)
        canvas->FillRect(
            {Cells.Left, Cells.Bottom, Cells.Right + gridLineWidth_, Cells.Bottom + gridLineWidth_});
}

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    for (Integer row = 0; row < rowCount_; ++row) {
        if (row >= fixedRows_ && row < topLeft_.Y) continue;
        for (Integer col = 0; col < colCount_; ++col) {
            if (col >= fixedCols_ && col < topLeft_.X) continue;
            TRect rect = CellRect(col, row);
            if (rect.Right <= rect.Left) continue;
            paintCell(col, row, rect);
            if (gridLineWidth_ > 0) paintLines(rect, col < fixedCols_ || row < fixedRows_);
        }
    }
}

// ---- TDrawGrid ------------------------------------------------------------------------------

void TDrawGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) {
    if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(Integer ACol, Integer ARow) {
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

// ---- TStringGrid ------------------------------------------------------------------------------

// One row or column of a string grid as a string list. Its length is the
// grid's; adding fills the first empty cell, inserting writes the cell.
class TStringGrid::LineStrings : public TStrings {
public:
    LineStrings(TStringGrid* Grid, bool IsRow, Integer Index) : grid_(Grid), isRow_(IsRow), index_(Index) {}

    AnsiString Get(Integer Index) const override { return grid_->Cells(col(Index), row(Index)); }
    Integer GetCount() const override { return isRow_ ? grid_->ColCount() : grid_->RowCount(); }
    TObject* GetObject(Integer Index) const override { return grid_->Objects(col(Index), row(Index)); }
    void Put(Integer Index, const AnsiString& S) override { grid_->SetCells(col(Index), row(Index), S); }
    void PutObject(Integer Index, TObject* AObject) override {
        grid_->SetObjects(col(Index), row(Index), AObject);
    }
    Integer Add(const AnsiString& S) override {
        for (Integer i = 0; i < GetCount(); ++i) {
            if (!Get(i).empty()) continue;
            Put(i, S);
            return i;
        }
        return -1;
    }
    void Insert(Integer Index, const AnsiString& S) override { Put(Index, S); }
    void Delete(Integer Index) override {
        Put(Index, "");
        PutObject(Index, nullptr);
    }
    void Clear() override {
        for (Integer i = 0; i < GetCount(); ++i)
            Delete(i);
    }

private:
    Integer col(Integer Index) const { return isRow_ ? Index : index_; }
    Integer row(Integer Index) const { return isRow_ ? index_ : Index; }

    TStringGrid* grid_;
    bool isRow_;
    Integer index_;
};

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

AnsiString TStringGrid::Cells(Integer ACol, Integer ARow) const {
    auto found = cells_.find({ACol, ARow});
    return found == cells_.end() ? AnsiString() : found->second.text;
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, const AnsiString& Value) {
    cells_[{ACol, ARow}].text = Value;
    Invalidate();
}

TObject* TStringGrid::Objects(Integer ACol, Integer ARow) const {
    auto found = cells_.find({ACol, ARow});
    return found == cells_.end() ? nullptr : found->second.object;
}

void TStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* Value) {
    cells_[{ACol, ARow}].object = Value;
}

TStrings* TStringGrid::line(bool IsRow, Integer Index) {
    auto& slot = lines_[{IsRow, Index}];
    if (!slot) slot = std::make_unique<LineStrings>(this, IsRow, Index);
    return slot.get();
}

TStrings* TStringGrid::Rows(Integer Index) {
    return line(true, Index);
}

TStrings* TStringGrid::Cols(Integer Index) {
    return line(false, Index);
}

void TStringGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) {
    if (DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + CellTextIndent, ARect.Top + CellTextIndent, Cells(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const gridOptionType = DefineEnum<TGridOption>(
    "TGridOption", {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                    "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
                    "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"});
const TTypeInfo* const gridDrawStateType =
    DefineEnum<TGridDrawStateItem>("TGridDrawStateItem", {"gdSelected", "gdFocused", "gdFixed"});

const TClass customGridClass = DescribeClass<TCustomGrid, TCustomControl>([](TClassBuilder<TCustomGrid>& c) {
    c.Property("BorderStyle", &TCustomGrid::BorderStyle, &TCustomGrid::SetBorderStyle).Default(bsSingle);
    c.Property("Color", &TCustomGrid::Color, &TCustomGrid::SetColor)
        .Type(TypeInfoColor())
        .Default(clWindow)
        .Stored(&TCustomGrid::IsColorStored);
    c.Property("ColCount", &TCustomGrid::ColCount, &TCustomGrid::SetColCount).Default(5);
    c.Property("DefaultColWidth", &TCustomGrid::DefaultColWidth, &TCustomGrid::SetDefaultColWidth)
        .Default(64);
    c.Property("DefaultDrawing", &TCustomGrid::DefaultDrawing, &TCustomGrid::SetDefaultDrawing).Default(true);
    c.Property("DefaultRowHeight", &TCustomGrid::DefaultRowHeight, &TCustomGrid::SetDefaultRowHeight)
        .Default(24);
    c.Property("FixedColor", &TCustomGrid::FixedColor, &TCustomGrid::SetFixedColor)
        .Type(TypeInfoColor())
        .Default(clBtnFace);
    c.Property("FixedCols", &TCustomGrid::FixedCols, &TCustomGrid::SetFixedCols).Default(1);
    c.Property("FixedRows", &TCustomGrid::FixedRows, &TCustomGrid::SetFixedRows).Default(1);
    c.Property("GridLineWidth", &TCustomGrid::GridLineWidth, &TCustomGrid::SetGridLineWidth).Default(1);
    c.Property("Options", &TCustomGrid::Options, &TCustomGrid::SetOptions)
        .Default(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
    c.Property("ParentColor", &TCustomGrid::ParentColor, &TCustomGrid::SetParentColor).Default(false);
    c.Property("RowCount", &TCustomGrid::RowCount, &TCustomGrid::SetRowCount).Default(5);
    c.Property("ScrollBars", &TCustomGrid::ScrollBars, &TCustomGrid::SetScrollBars).Default(ssBoth);
    c.Property("TabStop", &TCustomGrid::TabStop, &TCustomGrid::SetTabStop).Default(true);
});

const TClass drawGridClass = DescribeClass<TDrawGrid, TCustomGrid>([](TClassBuilder<TDrawGrid>& c) {
    c.Property("OnDrawCell", &TDrawGrid::OnDrawCell, &TDrawGrid::OnDrawCell);
    c.Property("OnSelectCell", &TDrawGrid::OnSelectCell, &TDrawGrid::OnSelectCell);
});
const TClass stringGridClass = DescribeClass<TStringGrid, TDrawGrid>();

struct RegisterGrids {
    RegisterGrids() { RegisterClasses({ClassOf<TDrawGrid>(), ClassOf<TStringGrid>()}); }
} registerGrids;

} // namespace
