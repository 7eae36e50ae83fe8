// What the colour picker tests share: a shown form holding one picker set up
// as the application's wizard sets up its colour buttons, the height of the
// popup's font, and a recorder of the button's events.
#pragma once

#include "components/ColorPickerButton.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"

#include <filesystem>
#include <string>
#include <vector>

// The text height of the stock DEFAULT_GUI_FONT, on which the popup's layout rests.
inline Integer GuiFontTextHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32A(dc, "More Colors...", 14, &extent);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return extent.cy;
}

// Counts and remembers what the button reports.
class PickerEvents : public TObject {
public:
    std::vector<TColor> changes;
    Integer defaultSelects = 0;
    Integer dropChanges = 0;
    bool allowDrop = true;
    AnsiString hintText;
    std::vector<Integer> hintCells;

    void Changed(TObject* Sender) { changes.push_back(static_cast<TColorPickerButton*>(Sender)->SelectionColor()); }
    void DefaultSelected(TObject*) { ++defaultSelects; }
    void DropChanged(TObject*) { ++dropChanges; }
    void DropChanging(TObject*, bool& Allowed) { Allowed = allowDrop; }
    void Hint(TObject*, Integer Cell, AnsiString& Text) {
        hintCells.push_back(Cell);
        Text = hintText;
    }
};

class ColorPickerTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TColorPickerButton* button = nullptr;
    PickerEvents events;

    void SetUp() override {
        VisualTest::SetUp();
        button = new TColorPickerButton(form.get());
        button->SetBounds(20, 30, 45, 21);
        button->SetFlat(true);
        button->SetCustomText("More Colors...");
        button->SetDefaultText("Default");
        button->SetPopupSpacing(8);
        button->SetParent(form.get());
        button->OnChange = TNotifyEvent(&events, &PickerEvents::Changed);
        button->OnDefaultSelect = TNotifyEvent(&events, &PickerEvents::DefaultSelected);
        button->OnDropChanged = TNotifyEvent(&events, &PickerEvents::DropChanged);
        button->OnDropChanging = TDropChangingEvent(&events, &PickerEvents::DropChanging);
        form->Show();
        Application->ProcessMessages();
    }

    void TearDown() override {
        if (button->DroppedDown()) button->SetDroppedDown(false);
        VisualTest::TearDown();
    }

    TColorPopup* popup() const { return button->ColorPopup(); }
    HWND popupWindow() const { return popup()->Handle(); }

    // A press on the arrow part, as the user makes it.
    void dropDown() {
        backend.MouseDown(form->Handle(), {button->Left() + button->Width() - 5, button->Top() + 10});
        Application->ProcessMessages();
        backend.MouseUp(form->Handle(), {button->Left() + button->Width() - 5, button->Top() + 10});
        Application->ProcessMessages();
    }
    // A click at a client point of the popup, delivered through the capture window.
    void clickPopup(TPoint Point) {
        backend.MouseDown(popupWindow(), Point);
        Application->ProcessMessages();
        backend.MouseUp(popupWindow(), Point);
        Application->ProcessMessages();
    }
    void movePopup(TPoint Point) {
        backend.MoveMouse(popupWindow(), Point);
        Application->ProcessMessages();
    }
    void pressKey(UINT Key) {
        backend.PressKey(Key);
        Application->ProcessMessages();
    }
    TPoint cellCentre(Integer Index) const {
        TRect R;
        popup()->GetCellRect(Index, R);
        return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }

    static std::string screenshotPath(const std::string& Name) {
        std::filesystem::create_directories(QUORVANE_SCREENSHOT_DIR);
        return std::string(QUORVANE_SCREENSHOT_DIR) + "/" + Name + ".png";
    }
};
