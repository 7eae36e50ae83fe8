#include "VisualTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/vcl/Grids.h"

namespace {

using Lines = std::vector<std::string>;

class GridsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
};

TEST_F(GridsTest, AHiddenStringGridKeepsTextsByColumnAndRow) {
    TStringGrid grid(nullptr);
    EXPECT_EQ(grid.ColCount(), 5);
    EXPECT_EQ(grid.RowCount(), 5);
    grid.SetColCount(10);
    grid.SetCells(9, 0, "Files");
    grid.SetCells(2, 7, "beyond the rows");
    EXPECT_EQ(grid.Cells(9, 0), "Files");
    EXPECT_EQ(grid.Cells(2, 7), "beyond the rows");
    EXPECT_EQ(grid.Cells(3, 3), "");
    grid.SetObjects(1, 1, &grid);
    EXPECT_EQ(grid.Objects(1, 1), &grid);

    TStrings* row = grid.Rows(0);
    EXPECT_EQ(row->Count(), 10);
    EXPECT_EQ(row->Strings(9), "Files");
    EXPECT_EQ(row->Add("first"), 0);
    EXPECT_EQ(grid.Cells(0, 0), "first");
    row->Clear();
    EXPECT_EQ(grid.Cells(9, 0), "");
    grid.Cols(2)->SetStrings(4, "down");
    EXPECT_EQ(grid.Cells(2, 4), "down");
}

TEST_F(GridsTest, FixedRowsAndColumnsStayFewerThanTheRowsAndColumns) {
    TStringGrid grid(nullptr);
    grid.SetRowCount(1);
    EXPECT_EQ(grid.FixedRows(), 0);
    try {
        grid.SetFixedRows(1);
        FAIL() << "as many fixed rows as rows";
    } catch (const EInvalidGridOperation& error) {
        EXPECT_EQ(error.Message, "Fixed row count must be less than row count");
    }
    EXPECT_THROW(grid.SetFixedCols(5), EInvalidGridOperation);
    grid.SetRowCount(3);
    grid.SetFixedRows(1);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_THROW(grid.ColWidths(7), EInvalidGridOperation);
}

TEST_F(GridsTest, APlainGridPaintsFixedCellsLinesAndTexts) {
    auto* grid = child<TStringGrid>(form.get(), alNone, {0, 0, 300, 200});
    grid->SetBorderStyle(bsNone);
    grid->SetScrollBars(ssNone);
    grid->SetCells(1, 1, "Cell");
    form->Show();
    Application->ProcessMessages();
    HWND window = grid->Handle();
    // Column 0 and row 0 are fixed: 64 x 24 cells with one-pixel lines.
    EXPECT_EQ(PixelAt(window, {30, 5}), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(window, {60, 45}), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(window, {130, 45}), ColorToRGB(clWindow));
    EXPECT_EQ(PixelAt(window, {64, 45}), clBlack);
    EXPECT_EQ(PixelAt(window, {140, 49}), clSilver);
    EXPECT_EQ(PixelAt(window, {129, 45}), clSilver);
    std::shared_ptr<PixelSurface> pixels = backend.Capture(window, true);
    bool text = false;
    for (Integer x = 66; x < 128; ++x)
        for (Integer y = 26; y < 48; ++y)
            text |= (pixels->At(x, y) & 0xFF) < 96;
    EXPECT_TRUE(text);
}

TEST_F(GridsTest, ClicksAndKeysMoveTheCurrentCellAsSelectCellAllows) {
    auto* grid = child<TDrawGrid>(form.get(), alNone, {0, 0, 300, 100});
    grid->SetRowCount(20);
    struct Guard : TObject {
        std::vector<std::pair<Integer, Integer>> asked;
        void Select(TObject*, Integer ACol, Integer ARow, bool& CanSelect) {
            asked.emplace_back(ACol, ARow);
            CanSelect = ACol != 3;
        }
    } guard;
    grid->OnSelectCell = TSelectCellEvent(&guard, &Guard::Select);
    form->Show();
    Application->ProcessMessages();
    TRect cell = grid->CellRect(2, 2);
    backend.Click(grid->Handle(), {cell.Left + 5, cell.Top + 5});
    Application->ProcessMessages();
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(grid->Focused());
    backend.PressKey(VK_RIGHT);
    Application->ProcessMessages();
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(guard.asked.back(), std::make_pair(3, 2));
    for (int step = 0; step < 6; ++step)
        backend.PressKey(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(grid->Row(), 8);
    // The current row stays in view.
    EXPECT_GE(8, grid->TopRow());
    EXPECT_LT(8, grid->TopRow() + grid->VisibleRowCount());
    EXPECT_GT(grid->TopRow(), 1);
}

TEST_F(GridsTest, GridsAreReadFromFormResources) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
                      "  object StringGrid1: TStringGrid\n    Left = 0\n    Top = 0\n    ColCount = 10\n"
                      "    RowCount = 2\n    FixedCols = 0\n    Visible = False\n  end\n"
                      "end\n",
                      &read);
    auto* grid = static_cast<TStringGrid*>(read.FindComponent("StringGrid1"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->ColCount(), 10);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_FALSE(grid->Visible());
}

} // namespace
