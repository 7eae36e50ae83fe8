// What the editor-control tests share: a borderless editor placed on a form
// of the headless backend.
#pragma once

#include "editor/SynEdit.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Clipboard.h"

// Leaves the clipboard empty, so that no test sees what an earlier one copied.
inline void emptyClipboard() {
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
}

// Creates an editor of class Editor owned by and shown on Form at the given bounds.
template <class Editor = TSynEdit>
Editor* placeEditor(TForm& Form, Integer Left = 0, Integer Top = 0, Integer Width = 400,
                    Integer Height = 300) {
    auto* edit = new Editor(&Form);
    edit->SetBounds(Left, Top, Width, Height);
    edit->SetBorderStyle(bsNone);
    edit->SetParent(&Form);
    return edit;
}

// A test with one borderless 400 x 300 editor on a shown form.
class SynEditOnFormTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TSynEdit* edit = nullptr;

    void SetUp() override {
        VisualTest::SetUp();
        edit = placeEditor(*form);
        form->Show();
    }
};
