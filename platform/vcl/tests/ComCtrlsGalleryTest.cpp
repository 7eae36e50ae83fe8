// Renders a form with every common control into one picture under the build
// folder (common-controls.png), for a person to look at.
#include "VisualTestSupport.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/win/Messages.h"

#include <filesystem>

namespace {

using ComCtrlsGalleryTest = VisualTest;

std::filesystem::path buildFolder() {
    // The tests run from the build folder's bin folder.
    return std::filesystem::path(ProgramFolder()).parent_path();
}

TEST_F(ComCtrlsGalleryTest, FormWithEveryControlIsSavedAsAPicture) {
    auto form = plainForm(640, 480);
    form->SetColor(clBtnFace);

    auto* pages = new TPageControl(form.get());
    pages->SetBounds(8, 8, 300, 200);
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
    smooth->SetBounds(8, 220, 300, 12);
    smooth->SetSmooth(true);
    smooth->SetMax(8);
    smooth->SetPosition(5);
    SendMessageA(smooth->Handle(), PBM_SETBARCOLOR, 0, 0x0000FFFF);

    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(320, 8, 300, 120);
    tabs->SetMultiLine(true);
    for (const char* caption : {"One", "Two", "Three", "Four", "Five", "Six", "Seven"})
        tabs->Tabs()->Add(caption);
    tabs->SetTabIndex(2);

    auto* buttons = new TTabControl(form.get());
    buttons->SetParent(form.get());
    buttons->SetBounds(320, 140, 300, 60);
    buttons->SetStyle(tsButtons);
    for (const char* caption : {"Left", "Middle", "Right"})
        buttons->Tabs()->Add(caption);
    buttons->SetTabIndex(0);

    form->Show();
    Application->ProcessMessages();
    const std::filesystem::path path = buildFolder() / "common-controls.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
    EXPECT_TRUE(std::filesystem::exists(path));
}

} // namespace
