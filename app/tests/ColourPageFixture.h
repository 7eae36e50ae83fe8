// The main window on its colour page, for the colour page's tests: a window
// large enough to show the whole page, the program's own settings file out of
// the way, and a press on a slider's thumb as the user gives it.
#pragma once

#include "ScratchFolder.h"

#include "app/Main.h"
#include "app/Settings.h"
#include "colour/ColorTab.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "rx/RXSlider.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntStdCtrls.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0;
constexpr Integer ColorPage = 3;

class ColourPageTest : public VisualTest {
protected:
    ProgramFolderLock lock{SettingsFileName() + ".lock"};
    ScratchFolder scratch;
    std::string iniName = SettingsFileName();
    std::unique_ptr<TMainForm> form;
    TColorTab* tab = nullptr;
    // The window's outer size, as the settings file gives it.
    TSize windowSize{1000, 760};

    void SetUp() override {
        VisualTest::SetUp();
        setenv("TMPDIR", scratch.Path().c_str(), 1);
        std::remove(iniName.c_str());
        backend.SetIdleHandler([] { FAIL() << "the program waited for input"; });
        WriteFile(iniName, "[Form]\nTop=0\nLeft=0\nWidth=" + std::to_string(windowSize.cx) +
                               "\nHeight=" + std::to_string(windowSize.cy) + "\n");
        form.reset(NewForm<TMainForm>(nullptr));
        form->Show();
        form->PageControl1->SetActivePageIndex(ColorPage);
        form->PageControl1->OnChange(form->PageControl1);
        HeadlessBackend::ProcessMessages();
        tab = form->ColourTab();
    }
    void TearDown() override {
        form.reset();
        std::remove(iniName.c_str());
        VisualTest::TearDown();
    }

    // A press on the slider's thumb: the value stays, the mode follows the slider.
    void press(TRxSlider* Slider) {
        const TRect thumb = Slider->ThumbRect();
        const POINT centre{(thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2};
        backend.MouseDown(Slider->Handle(), centre);
        backend.MouseUp(Slider->Handle(), centre);
        HeadlessBackend::ProcessMessages();
    }
    void setRGB(Integer Red, Integer Green, Integer Blue) {
        press(form->RSlider);
        form->RSlider->SetValue(Red);
        form->GSlider->SetValue(Green);
        form->BSlider->SetValue(Blue);
    }
    std::array<Integer, 3> rgb() const {
        return {form->RSlider->Value(), form->GSlider->Value(), form->BSlider->Value()};
    }
    AnsiString status() const { return WideToAnsi(form->ErColLabel->Caption()); }
};
