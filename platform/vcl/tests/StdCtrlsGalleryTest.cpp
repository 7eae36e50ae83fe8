// Renders a form holding one of each standard control (with the panels,
// shapes, images, file lists and grids) into one picture under the build
// folder (standard-controls.png), for a person to look at.
#include "VisualTestSupport.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"

#include <filesystem>

namespace {

using StdCtrlsGalleryTest = VisualTest;

std::filesystem::path buildFolder() {
    // The tests run from the build folder's bin folder.
    return std::filesystem::path(ProgramFolder()).parent_path();
}

template <typename T> T* place(TWinControl* Parent, TRect Bounds) {
    auto* control = new T(Parent->Owner() ? Parent->Owner() : Parent);
    control->SetParent(Parent);
    control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom);
    return control;
}

void fillLists(TWinControl* Form) {
    auto* list = place<TListBox>(Form, {8, 150, 120, 90});
    for (const char* item : {"Apple", "Banana", "Cherry", "Date", "Elderberry", "Fig", "Grape"})
        list->Items()->Add(item);
    list->SetItemIndex(1);
    auto* dropDownList = place<TComboBox>(Form, {136, 150, 120, 21});
    dropDownList->SetStyle(csDropDownList);
    for (const char* item : {"Red", "Green", "Blue"})
        dropDownList->Items()->Add(item);
    dropDownList->SetItemIndex(1);
    auto* dropDown = place<TComboBox>(Form, {136, 180, 120, 21});
    dropDown->Items()->Add("Typed");
    dropDown->SetText("Typed text");
    auto* files = place<TFileListBox>(Form, {264, 150, 120, 90});
    files->SetMask("*.cpp;*.h");
    files->SetDirectory(QUORVANE_SOURCE_DIR "/platform/vcl");
    auto* filter = place<TFilterComboBox>(Form, {264, 246, 120, 21});
    filter->SetFilter("Sources (*.cpp)|*.cpp|Headers (*.h)|*.h");
    auto* grid = place<TStringGrid>(Form, {392, 150, 240, 110});
    grid->SetDefaultColWidth(56);
    grid->SetDefaultRowHeight(18);
    for (Integer col = 0; col < grid->ColCount(); ++col)
        for (Integer row = 0; row < grid->RowCount(); ++row)
            grid->SetCells(col, row, col == 0 || row == 0 ? "Head" : "Cell");
}

void fillButtons(TWinControl* Form) {
    auto* label = place<TLabel>(Form, {8, 8, 0, 0});
    label->SetCaption("&Label");
    auto* button = place<TButton>(Form, {8, 28, 75, 25});
    button->SetCaption("&Button");
    button->SetDefault(true);
    auto* check = place<TCheckBox>(Form, {90, 32, 100, 17});
    check->SetCaption("&Check box");
    check->SetChecked(true);
    auto* radio = place<TRadioButton>(Form, {90, 52, 100, 17});
    radio->SetCaption("&Radio button");
    radio->SetChecked(true);
    auto* text = place<TStaticText>(Form, {8, 60, 0, 0});
    text->SetCaption("Static text");
    text->SetBorderStyle(sbsSunken);
    auto* group = place<TGroupBox>(Form, {200, 8, 150, 70});
    group->SetCaption("Group box");
    auto* inner = place<TCheckBox>(group, {10, 20, 120, 17});
    inner->SetCaption("Inside");
    auto* radios = place<TRadioGroup>(Form, {360, 8, 130, 70});
    radios->SetCaption("Radio group");
    for (const char* item : {"First", "Second", "Third"})
        radios->Items()->Add(item);
    radios->SetItemIndex(2);
    auto* edit = place<TEdit>(Form, {8, 90, 120, 21});
    edit->SetText("Edit");
    auto* disabled = place<TButton>(Form, {8, 118, 75, 25});
    disabled->SetCaption("Disabled");
    disabled->SetEnabled(false);
}

void fillShapes(TWinControl* Form) {
    auto* panel = place<TPanel>(Form, {500, 8, 130, 40});
    panel->SetCaption("Panel");
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    auto* bevel = place<TBevel>(Form, {500, 56, 60, 40});
    bevel->SetShape(bsFrame);
    auto* shape = place<TShape>(Form, {570, 56, 40, 40});
    shape->SetShape(stCircle);
    shape->Brush()->SetColor(clYellow);
    auto* image = place<TImage>(Form, {200, 90, 48, 48});
    TCanvas* canvas = image->Canvas();
    canvas->Brush()->SetColor(clNavy);
    canvas->FillRect({0, 0, 48, 48});
    canvas->Brush()->SetColor(clLime);
    canvas->Ellipse(8, 8, 40, 40);
    auto* box = place<TPaintBox>(Form, {260, 90, 48, 48});
    box->SetColor(clTeal);
}

TEST_F(StdCtrlsGalleryTest, FormWithEveryControlIsSavedAsAPicture) {
    auto form = plainForm(640, 280);
    form->SetColor(clBtnFace);
    fillButtons(form.get());
    fillShapes(form.get());
    fillLists(form.get());
    form->Show();
    Application->ProcessMessages();
    const std::filesystem::path path = buildFolder() / "standard-controls.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
    EXPECT_TRUE(std::filesystem::exists(path));
}

} // namespace
