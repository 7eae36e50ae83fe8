// The main window as a user meets it, for the wizard and export tests: shown
// at a size that holds the wizard, the program's own settings file out of
// the way, the temporary folder a scratch folder of the test's own, and
// every message box read and answered.
#pragma once

#include "MainFormFixture.h"

#include "editor/SynEdit.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/MessageBox.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"
#include "unicode/TntStdCtrls.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

struct SeenMessageBox {
    WideString caption;
    WideString text;
};

class WizardFixture : public MainFormFixture {
protected:
    std::vector<SeenMessageBox> boxes;

    void SetUp() override {
        MainFormFixture::SetUp();
        setenv("TMPDIR", (scratch / "temp").c_str(), 1);
        WriteFile(scratch / "temp/.keep", "");
        tempDir = TemporaryFolder();
        answerMessageBoxes();
        start("[Form]\nTop=0\nLeft=0\nWidth=1000\nHeight=760\n");
        form->Show();
        HeadlessBackend::ProcessMessages();
    }

    // Every box shown is read, then answered with Enter after `meanwhile`.
    void answerMessageBoxes(std::function<void()> meanwhile = {}) {
        backend.SetIdleHandler([this, meanwhile] {
            HWND box = FindWindowW(MessageBoxClassName, nullptr);
            if (!box) return;
            boxes.push_back(SeenMessageBox{
                windowText(box), windowText(FindWindowExW(box, nullptr, MessageBoxTextClassName, nullptr))});
            if (meanwhile) meanwhile();
            backend.PressKey(VK_RETURN);
        });
    }

    static WideString windowText(HWND Window) {
        std::vector<WCHAR> buffer(GetWindowTextLengthW(Window) + 1);
        GetWindowTextW(Window, buffer.data(), static_cast<int>(buffer.size()));
        return buffer.data();
    }

    template <typename T> T* control(const char* Prefix, Integer Row) const {
        return static_cast<T*>(form->WizardControl(Prefix, Row));
    }

    TTntButton* applyButton() const { return static_cast<TTntButton*>(form->FindComponent("WizApplytBtn")); }
    std::string attachedList() const { return ReadFile(tempDir + AttachedListFile); }

    // Calls Visit with each demo script chosen, by its id.
    template <typename Visit> void forEachDemoScript(Visit visit) {
        for (Integer category = 0; category < form->TypeComboBox->Items()->Count(); ++category) {
            form->TypeComboBox->SetItemIndex(category);
            form->SelectScriptType(form->TypeComboBox);
            for (Integer index = 0; index < form->TitleBox->Items()->Count(); ++index) {
                chooseTitle(index);
                visit(form->StringGrid1->Cells(0, index + 1));
            }
        }
    }
    void chooseTitle(Integer Index) {
        form->TitleBox->SetItemIndex(Index);
        form->SelectTitleBox(form->TitleBox);
    }

    // A script of the test's own in the editors and templates, then the wizard built.
    void showScript(const AnsiString& Wizard, const AnsiString& Head, const AnsiString& BodyTag = {},
                    const AnsiString& Body = {}) {
        form->HeadEdit->SetText(Head);
        form->Body_Edit->SetText(BodyTag);
        form->BodyEdit->SetText(Body);
        form->TmpHeadEdit->SetText(Head);
        form->TmpBody_Edit->SetText(BodyTag);
        form->TmpBodyEdit->SetText(Body);
        form->WizardLines->SetText(Wizard);
        form->WizardAction(form.get());
    }
};
