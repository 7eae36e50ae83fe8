// The framework's grids: TCustomGrid lays out rows and columns (the fixed
// ones first), scrolls the others and keeps a current cell; TDrawGrid lets
// the program draw the cells; TStringGrid keeps a text and an object per
// cell and draws the texts.
#pragma once

#include "platform/vcl/StdCtrls.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
};

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptions = TSet<TGridOption>;
enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
    Integer X = 0;
    Integer Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Columns Left..Right, rows Top..Bottom.
struct TGridRect {
    Integer Left = 0;
    Integer Top = 0;
    Integer Right = 0;
    Integer Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

using TDrawCellEvent =
    Closure<void(TObject* Sender, Integer ACol, Integer ARow, const TRect& Rect, TGridDrawState State)>;
using TSelectCellEvent = Closure<void(TObject* Sender, Integer ACol, Integer ARow, bool& CanSelect)>;

class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);

    Integer ColCount() const { return colCount_; }
    void SetColCount(Integer Value);
    Integer RowCount() const { return rowCount_; }
    void SetRowCount(Integer Value);
    Integer FixedCols() const { return fixedCols_; }
    void SetFixedCols(Integer Value);
    Integer FixedRows() const { return fixedRows_; }
    void SetFixedRows(Integer Value);
    Integer DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(Integer Value);
    Integer DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(Integer Value);
    Integer ColWidths(Integer Index) const;
    void SetColWidths(Integer Index, Integer Value);
    Integer RowHeights(Integer Index) const;
    void SetRowHeights(Integer Index, Integer Value);
    Integer GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(Integer Value);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions Value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor Value);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool Value) { defaultDrawing_ = Value; }

    // The current cell; moving it asks SelectCell first.
    Integer Col() const { return current_.X; }
    void SetCol(Integer Value);
    Integer Row() const { return current_.Y; }
    void SetRow(Integer Value);
    TGridRect Selection() const { return selection_; }
    // The first scrollable row and column in view.
    Integer TopRow() const { return topLeft_.Y; }
    void SetTopRow(Integer Value);
    Integer LeftCol() const { return topLeft_.X; }
    void SetLeftCol(Integer Value);
    // The scrollable columns and rows wholly in view.
    Integer VisibleColCount();
    Integer VisibleRowCount();

    // The cell's rectangle in client coordinates; empty when it is out of view.
    TRect CellRect(Integer ACol, Integer ARow);
    // The cell under a client point; -1, -1 outside the cells.
    TGridCoord MouseCoord(Integer X, Integer Y);
    void MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow);

    void Dispatch(TMessage& Message) override;

protected:
    virtual void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) = 0;
    // Whether the cell may become the current one.
    virtual bool SelectCell(Integer ACol, Integer ARow);
    // The grid grew or shrank to ColCount x RowCount.
    virtual void SizeChanged(Integer OldColCount, Integer OldRowCount);
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    void changeSize(Integer NewColCount, Integer NewRowCount);
    void moveCurrent(Integer ACol, Integer ARow);
    void updateScrollBars();
    void scrollMessage(TMessage& Message, bool Vertical);
    // The first column (row) of the view and the client positions of the lines.
    Integer columnLeft(Integer ACol);
    Integer rowTop(Integer ARow);
    void paintCell(Integer ACol, Integer ARow, const TRect& Rect);
    void paintLines(const TRect& Cells, bool Fixed);

    Integer colCount_ = 5;
    Integer rowCount_ = 5;
    Integer fixedCols_ = 1;
    Integer fixedRows_ = 1;
    Integer defaultColWidth_ = 64;
    Integer defaultRowHeight_ = 24;
    Integer gridLineWidth_ = 1;
    std::vector<Integer> colWidths_;
    std::vector<Integer> rowHeights_;
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    TGridCoord current_{1, 1};
    TGridRect selection_{1, 1, 1, 1};
    TGridCoord topLeft_{1, 1};
};

// A grid whose cells the program draws in OnDrawCell.
class TDrawGrid : public TCustomGrid {
public:
    using TCustomGrid::TCustomGrid;
    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(Integer ACol, Integer ARow) override;
};

// A grid of texts, each with an object. Rows(i) and Cols(i) are string
// lists over one row or column of cells.
class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    AnsiString Cells(Integer ACol, Integer ARow) const;
    void SetCells(Integer ACol, Integer ARow, const AnsiString& Value);
    TObject* Objects(Integer ACol, Integer ARow) const;
    void SetObjects(Integer ACol, Integer ARow, TObject* Value);
    TStrings* Rows(Integer Index);
    TStrings* Cols(Integer Index);

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override;

private:
    class LineStrings;
    struct Cell {
        AnsiString text;
        TObject* object = nullptr;
    };
    TStrings* line(bool IsRow, Integer Index);

    // By column and row; cells outside the grid's size keep their values too.
    std::map<std::pair<Integer, Integer>, Cell> cells_;
    std::map<std::pair<bool, Integer>, std::unique_ptr<LineStrings>> lines_;
};
