// Renders a form with every common control into one picture under the build
// folder (common-controls.png), for a person to look at.
#include "VisualTestSupport.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ListViews.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/TreeViews.h"
#include "platform/win/Messages.h"

#include <filesystem>

namespace {

using ComCtrlsGalleryTest = VisualTest;

std::filesystem::path buildFolder() {
    // The tests run from the build folder's bin folder.
    return std::filesystem::path(ProgramFolder()).parent_path();
}

// A 16 x 16 glyph: a coloured disc on a transparent (fuchsia) square.
std::unique_ptr<TBitmap> glyph(TColor Colour) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(16, 16);
    bitmap->Canvas()->Brush()->SetColor(clFuchsia);
    bitmap->Canvas()->FillRect(Rect(0, 0, 16, 16));
    bitmap->Canvas()->Brush()->SetColor(Colour);
    bitmap->Canvas()->Pen()->SetColor(clBlack);
    bitmap->Canvas()->Ellipse(2, 2, 14, 14);
    return bitmap;
}

void addToolBar(TForm* form, TImageList* images) {
    auto* bar = new TToolBar(form);
    bar->SetParent(form);
    bar->SetFlat(true);
    bar->SetImages(images);
    const struct {
        TToolButtonStyle style;
        Integer image;
        bool down;
        bool grouped;
        bool enabled;
    } buttons[] = {{tbsButton, 0, false, false, true},    {tbsButton, 1, false, false, true},
                   {tbsSeparator, 0, false, false, true}, {tbsCheck, 2, true, false, true},
                   {tbsCheck, 3, false, true, true},      {tbsCheck, 0, true, true, true},
                   {tbsSeparator, 0, false, false, true}, {tbsButton, 1, false, false, false}};
    for (const auto& b : buttons) {
        auto* button = new TToolButton(form);
        button->SetStyle(b.style);
        button->SetImageIndex(b.image);
        button->SetGrouped(b.grouped);
        button->SetEnabled(b.enabled);
        button->SetParent(bar);
        button->SetDown(b.down);
    }
}

TEST_F(ComCtrlsGalleryTest, FormWithEveryControlIsSavedAsAPicture) {
    auto form = plainForm(640, 560);
    form->SetColor(clBtnFace);
    TImageList images(16, 16);
    for (TColor colour : {clRed, clLime, clBlue, clYellow})
        images.AddMasked(glyph(colour).get(), clFuchsia);
    addToolBar(form.get(), &images);

    auto* pages = new TPageControl(form.get());
    pages->SetBounds(8, 40, 300, 200);
    pages->SetParent(form.get());
    for (const char* caption : {"Source", "Preview", "Summary", "Color Chooser"}) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    pages->SetActivePageIndex(1);
    auto* inner = new TProgressBar(form.get());
    inner->SetParent(pages->ActivePage());
    inner->SetBounds(10, 10, 200, 16);
    inner->SetPosition(60);

    auto* status = new TStatusBar(form.get());
    status->SetParent(form.get());
    for (Integer width : {50, 50, 200, 50})
        status->Panels()->Add()->SetWidth(width);
    status->Panels()->Items(0)->SetText("Ready");
    status->Panels()->Items(1)->SetAlignment(taCenter);
    status->Panels()->Items(1)->SetText("12");
    status->Panels()->Items(3)->SetText("Hint text for the control under the mouse");
    auto* progress = new TProgressBar(status);
    progress->SetParent(status);
    progress->SetBounds(102, 2, 198, status->Height() - 3);
    progress->SetPosition(40);

    auto* smooth = new TProgressBar(form.get());
    smooth->SetParent(form.get());
    smooth->SetBounds(8, 248, 300, 12);
    smooth->SetSmooth(true);
    smooth->SetMax(8);
    smooth->SetPosition(5);
    SendMessageA(smooth->Handle(), PBM_SETBARCOLOR, 0, 0x0000FFFF);

    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(320, 40, 300, 90);
    tabs->SetMultiLine(true);
    for (const char* caption : {"One", "Two", "Three", "Four", "Five", "Six", "Seven"})
        tabs->Tabs()->Add(caption);
    tabs->SetTabIndex(2);

    auto* buttons = new TTabControl(form.get());
    buttons->SetParent(form.get());
    buttons->SetBounds(320, 136, 300, 26);
    buttons->SetStyle(tsButtons);
    for (const char* caption : {"Left", "Middle", "Right"})
        buttons->Tabs()->Add(caption);
    buttons->SetTabIndex(0);

    auto* track = new TTrackBar(form.get());
    track->SetParent(form.get());
    track->SetBounds(320, 168, 220, 45);
    track->SetPosition(6);
    auto* vertical = new TTrackBar(form.get());
    vertical->SetParent(form.get());
    vertical->SetOrientation(trVertical);
    vertical->SetBounds(580, 168, 45, 120);
    vertical->SetTickMarks(tmBoth);
    vertical->SetPosition(3);
    auto* number = new TEdit(form.get());
    number->SetParent(form.get());
    number->SetBounds(320, 220, 80, 21);
    auto* spin = new TUpDown(form.get());
    spin->SetParent(form.get());
    spin->SetAssociate(number);
    spin->SetMax(5000);
    spin->SetPosition(1234);

    auto* list = new TListView(form.get());
    list->SetParent(form.get());
    list->SetBounds(320, 250, 250, 120);
    list->SetViewStyle(vsReport);
    list->SetGridLines(true);
    list->SetCheckboxes(true);
    list->SetSmallImages(&images);
    list->SetHideSelection(false);
    list->Columns()->Add()->SetCaption("Title");
    list->Columns()->Items(0)->SetWidth(110);
    list->Columns()->Add()->SetCaption("Category");
    list->Columns()->Items(1)->SetWidth(110);
    const char* titles[] = {"Falling snow", "Digital clock", "Menu bar", "Rollover"};
    for (int i = 0; i < 4; ++i) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(titles[i]);
        item->SetImageIndex(i);
        item->SubItems()->Add(i % 2 ? "Text effects" : "Animation");
    }
    list->Items()->Item(1)->SetSelected(true);
    list->Items()->Item(2)->SetChecked(true);

    auto* tree = new TTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetBounds(8, 268, 300, 120);
    tree->SetImages(&images);
    tree->SetHideSelection(false);
    TTreeNode* root = tree->Items()->Add(nullptr, "Scripts");
    root->SetImageIndex(2);
    root->SetSelectedIndex(2);
    TTreeNode* animations = tree->Items()->AddChild(root, "Animations");
    tree->Items()->AddChild(animations, "Falling snow");
    tree->Items()->AddChild(animations, "Fireworks");
    tree->Items()->AddChild(root, "Menus");
    tree->Items()->Add(root, "Colours");
    tree->FullExpand();
    tree->SetSelected(animations);

    auto* rich = new TRichEdit(form.get());
    rich->SetParent(form.get());
    rich->SetBounds(8, 396, 300, 110);
    form->Show();
    SendMessageA(rich->Handle(), EM_SETEVENTMASK, 0,
                 SendMessageA(rich->Handle(), EM_GETEVENTMASK, 0, 0) | ENM_LINK);
    SendMessageA(rich->Handle(), EM_AUTOURLDETECT, TRUE, 0);
    rich->SetText(
        "-= Quorvane =-\r\nMarrowind, Inc.\r\nOur site: http://www.marrowind.example/\r\nVisit us!");
    Application->ProcessMessages();
    const std::filesystem::path path = buildFolder() / "common-controls.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
    EXPECT_TRUE(std::filesystem::exists(path));
}

} // namespace
