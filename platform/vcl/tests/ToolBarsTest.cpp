#include "VisualTestSupport.h"

#include "platform/vcl/Menus.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/ToolBars.h"
#include "platform/win/Messages.h"

namespace {

using ToolBarsTest = VisualTest;

// Records what tool buttons report, and may turn Down over as the program's
// handlers do at their end.
struct TButtonEvents : TObject {
    std::vector<std::string> lines;
    bool invertDown = false;
    void Click(TObject* Sender) {
        auto* button = static_cast<TToolButton*>(Sender);
        lines.push_back(button->Name() + (button->Down() ? " click down" : " click up"));
        if (invertDown) button->SetDown(!button->Down());
    }
    void MouseMove(TObject* Sender, TShiftState, Integer, Integer) {
        const std::string line = static_cast<TToolButton*>(Sender)->Name() + " move";
        if (lines.empty() || lines.back() != line) lines.push_back(line);
    }
};

std::unique_ptr<TBitmap> filledBitmap(Integer Width, Integer Height, TColor Color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(Width, Height);
    bitmap->Canvas()->Brush()->SetColor(Color);
    bitmap->Canvas()->FillRect(Rect(0, 0, Width, Height));
    return bitmap;
}

struct BarFixture {
    std::unique_ptr<TForm> form;
    TToolBar* bar = nullptr;
    TButtonEvents events;

    explicit BarFixture(std::unique_ptr<TForm> Form) : form(std::move(Form)) {
        bar = new TToolBar(form.get());
        bar->SetParent(form.get());
        bar->SetFlat(true);
    }

    TToolButton* add(const char* Name, TToolButtonStyle Style, bool Grouped = false) {
        auto* button = new TToolButton(form.get());
        button->SetName(Name);
        button->SetStyle(Style);
        button->SetGrouped(Grouped);
        button->SetParent(bar);
        button->OnClick = TNotifyEvent(&events, &TButtonEvents::Click);
        return button;
    }

    void show() {
        form->Show();
        Application->ProcessMessages();
    }

    TPoint centre(TToolButton* Button) const {
        return {Button->Left() + Button->Width() / 2, Button->Top() + Button->Height() / 2};
    }
};

TEST_F(ToolBarsTest, ButtonsTakeThePlacesTheBarGivesThem) {
    BarFixture f(plainForm());
    TToolButton* first = f.add("First", tbsButton);
    TToolButton* gap = f.add("Gap", tbsSeparator);
    TToolButton* second = f.add("Second", tbsCheck);
    f.show();
    EXPECT_EQ(f.bar->ButtonCount(), 3);
    EXPECT_EQ(first->BoundsRect(), Rect(0, 0, 23, 22));
    EXPECT_EQ(gap->BoundsRect(), Rect(23, 0, 31, 22));
    EXPECT_EQ(second->Left(), 31);
    EXPECT_EQ(second->Index(), 2);
    f.bar->SetButtonWidth(30);
    EXPECT_EQ(second->Left(), 38);
    first->SetVisible(false);
    EXPECT_EQ(gap->Left(), 0);
    delete gap;
    EXPECT_EQ(f.bar->ButtonCount(), 2);
    EXPECT_EQ(second->Left(), 0);
}

TEST_F(ToolBarsTest, ACheckButtonsClickSeesDownAsItWasThenDownFollows) {
    BarFixture f(plainForm());
    TToolButton* wrap = f.add("Wrap", tbsCheck);
    wrap->SetDown(true);
    f.show();
    backend.Click(f.bar->Handle(), f.centre(wrap));
    Application->ProcessMessages();
    EXPECT_FALSE(wrap->Down());
    backend.Click(f.bar->Handle(), f.centre(wrap));
    Application->ProcessMessages();
    EXPECT_TRUE(wrap->Down());
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"Wrap click down", "Wrap click up"}));
    EXPECT_TRUE(SendMessageA(f.bar->Handle(), TB_ISBUTTONCHECKED, 1, 0));
}

TEST_F(ToolBarsTest, AHandlerThatTurnsDownOverItselfKeepsItsState) {
    BarFixture f(plainForm());
    TToolButton* wrap = f.add("Wrap", tbsCheck);
    wrap->SetDown(true);
    f.events.invertDown = true;
    f.show();
    backend.Click(f.bar->Handle(), f.centre(wrap));
    Application->ProcessMessages();
    EXPECT_FALSE(wrap->Down());
    EXPECT_FALSE(SendMessageA(f.bar->Handle(), TB_ISBUTTONCHECKED, 1, 0));
    backend.Click(f.bar->Handle(), f.centre(wrap));
    Application->ProcessMessages();
    EXPECT_TRUE(wrap->Down());
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"Wrap click down", "Wrap click up"}));
}

TEST_F(ToolBarsTest, GroupedButtonsTakeTurnsAndMayAllComeUp) {
    BarFixture f(plainForm());
    TToolButton* left = f.add("Left", tbsCheck, true);
    TToolButton* right = f.add("Right", tbsCheck, true);
    left->SetDown(true);
    f.show();
    backend.Click(f.bar->Handle(), f.centre(right));
    Application->ProcessMessages();
    EXPECT_TRUE(right->Down());
    EXPECT_FALSE(left->Down());
    backend.Click(f.bar->Handle(), f.centre(right));
    Application->ProcessMessages();
    EXPECT_TRUE(right->Down());
    right->SetAllowAllUp(true);
    backend.Click(f.bar->Handle(), f.centre(right));
    Application->ProcessMessages();
    EXPECT_FALSE(right->Down());
    EXPECT_FALSE(left->Down());
    left->SetDown(true);
    EXPECT_TRUE(SendMessageA(f.bar->Handle(), TB_ISBUTTONCHECKED, 1, 0));
}

TEST_F(ToolBarsTest, ImagesComeFromTheImageListAndTheMouseReachesTheButtons) {
    BarFixture f(plainForm());
    TImageList images(16, 16);
    images.Add(filledBitmap(16, 16, clRed).get(), nullptr);
    images.Add(filledBitmap(16, 16, clBlue).get(), nullptr);
    f.bar->SetImages(&images);
    TToolButton* open = f.add("Open", tbsButton);
    open->SetImageIndex(1);
    open->OnMouseMove = TMouseMoveEvent(&f.events, &TButtonEvents::MouseMove);
    TToolButton* disabled = f.add("Disabled", tbsButton);
    disabled->SetImageIndex(0);
    disabled->SetEnabled(false);
    f.show();
    EXPECT_EQ(PixelAt(f.bar->Handle(), f.centre(open)), clBlue);
    EXPECT_NE(PixelAt(f.bar->Handle(), f.centre(disabled)), clRed);
    open->SetImageIndex(0);
    Application->ProcessMessages();
    EXPECT_EQ(PixelAt(f.bar->Handle(), f.centre(open)), clRed);

    backend.MoveMouse(f.bar->Handle(), f.centre(open));
    backend.Click(f.bar->Handle(), f.centre(open));
    backend.Click(f.bar->Handle(), f.centre(disabled));
    Application->ProcessMessages();
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"Open move", "Open click up"}));
    f.bar->SetImages(nullptr);
    Application->ProcessMessages();
    EXPECT_NE(PixelAt(f.bar->Handle(), f.centre(open)), clRed);
}

struct TMenuLog : TObject {
    std::vector<std::string> lines;
    void Click(TObject* Sender) { lines.push_back("menu " + static_cast<TMenuItem*>(Sender)->Name()); }
};

TEST_F(ToolBarsTest, AButtonStandsForAMenuItem) {
    BarFixture f(plainForm());
    f.bar->SetShowCaptions(true);
    TMenuLog log;
    auto* save = new TMenuItem(f.form.get());
    save->SetName("Save");
    save->SetCaption("&Save");
    save->SetHint("Save the page");
    save->SetChecked(true);
    save->SetImageIndex(2);
    save->OnClick = TNotifyEvent(&log, &TMenuLog::Click);
    TToolButton* button = f.add("SaveButton", tbsCheck);
    button->SetMenuItem(save);
    EXPECT_EQ(button->Caption(), "&Save");
    EXPECT_EQ(button->Hint(), "Save the page");
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->ImageIndex(), 2);
    f.show();
    backend.Click(f.bar->Handle(), f.centre(button));
    Application->ProcessMessages();
    EXPECT_EQ(f.events.lines, std::vector<std::string>{"SaveButton click down"});
    EXPECT_EQ(log.lines, std::vector<std::string>{"menu Save"});

    delete save;
    EXPECT_EQ(button->MenuItem(), nullptr);
    backend.Click(f.bar->Handle(), f.centre(button));
    Application->ProcessMessages();
    EXPECT_EQ(log.lines.size(), 1u);
}

TEST_F(ToolBarsTest, ADropDownButtonShowsItsMenuBelowIt) {
    BarFixture f(plainForm());
    TMenuLog log;
    auto* menu = new TPopupMenu(f.form.get());
    menu->Items()->Add(
        NewItem("First", scNone, false, true, TNotifyEvent(&log, &TMenuLog::Click), 0, "First"));
    menu->Items()->Add(
        NewItem("Second", scNone, false, true, TNotifyEvent(&log, &TMenuLog::Click), 0, "Second"));
    f.add("Plain", tbsButton);
    TToolButton* drop = f.add("Drop", tbsDropDown);
    drop->SetDropdownMenu(menu);
    f.show();
    bool chosen = false;
    backend.SetIdleHandler([&] {
        if (std::exchange(chosen, true)) {
            EndMenu();
            return;
        }
        backend.PressKey(VK_DOWN);
        backend.PressKey(VK_DOWN);
        backend.PressKey(VK_RETURN);
    });
    backend.Click(f.bar->Handle(), f.centre(drop));
    Application->ProcessMessages();
    backend.SetIdleHandler(nullptr);
    EXPECT_EQ(log.lines, std::vector<std::string>{"menu Second"});
    EXPECT_EQ(menu->PopupComponent(), drop);
    EXPECT_EQ(menu->PopupPoint(), drop->ClientToScreen(TPoint{0, drop->Height()}));

    delete menu;
    EXPECT_EQ(drop->DropdownMenu(), nullptr);
    backend.Click(f.bar->Handle(), f.centre(drop));
    Application->ProcessMessages();
    EXPECT_EQ(log.lines.size(), 1u);
}

} // namespace
