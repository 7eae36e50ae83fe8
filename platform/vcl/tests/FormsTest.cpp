#include "VisualTestSupport.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Thread.h"
#include "platform/win/Cursors.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Messages.h"
#include "platform/win/ResourceImages.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

namespace {

std::vector<std::string> formLog;

// The form of the TLayoutForm resource: every event logs itself.
class TLayoutForm : public TForm {
public:
    using TForm::TForm;
    ~TLayoutForm() override { formLog.push_back("gone"); }

    TBox* Toolbar = nullptr;
    TMark* Button = nullptr;
    TBox* Body = nullptr;
    TBox* First = nullptr;
    TBox* Second = nullptr;
    TTimer* Clock = nullptr;
    bool controlsExistedAtCreate = false;
    std::function<void()> onButton;
    std::function<void(TCloseAction&)> onClose;
    std::function<void(bool&)> onCloseQuery;

    void FormCreate(TObject*) {
        formLog.push_back("create");
        controlsExistedAtCreate = First && Second && Clock;
    }
    void FormShow(TObject*) { formLog.push_back("show"); }
    void FormActivate(TObject*) { formLog.push_back("activate"); }
    void FormPaint(TObject*) {
        if (formLog.empty() || formLog.back() != "paint") formLog.push_back("paint");
    }
    void FormResize(TObject*) {
        if (formLog.empty() || formLog.back() != "resize") formLog.push_back("resize");
    }
    void FormCloseQuery(TObject*, bool& CanClose) {
        formLog.push_back("close query");
        if (onCloseQuery) onCloseQuery(CanClose);
    }
    void FormClose(TObject*, TCloseAction& Action) {
        formLog.push_back("close");
        if (onClose) onClose(Action);
    }
    void FormDestroy(TObject*) { formLog.push_back("destroy"); }
    void ButtonClick(TObject*) {
        formLog.push_back("button");
        if (onButton) onButton();
    }
    void ClockTimer(TObject*) { formLog.push_back("tick"); }
};

const TClass layoutFormClass = DescribeClass<TLayoutForm, TForm>([](TClassBuilder<TLayoutForm>& c) {
    c.Field("Toolbar", &TLayoutForm::Toolbar);
    c.Field("Button", &TLayoutForm::Button);
    c.Field("Body", &TLayoutForm::Body);
    c.Field("First", &TLayoutForm::First);
    c.Field("Second", &TLayoutForm::Second);
    c.Field("Clock", &TLayoutForm::Clock);
    c.Method("FormCreate", &TLayoutForm::FormCreate);
    c.Method("FormShow", &TLayoutForm::FormShow);
    c.Method("FormActivate", &TLayoutForm::FormActivate);
    c.Method("FormPaint", &TLayoutForm::FormPaint);
    c.Method("FormResize", &TLayoutForm::FormResize);
    c.Method("FormCloseQuery", &TLayoutForm::FormCloseQuery);
    c.Method("FormClose", &TLayoutForm::FormClose);
    c.Method("FormDestroy", &TLayoutForm::FormDestroy);
    c.Method("ButtonClick", &TLayoutForm::ButtonClick);
    c.Method("ClockTimer", &TLayoutForm::ClockTimer);
});

class FormsTest : public VisualTest {
protected:
    void SetUp() override {
        VisualTest::SetUp();
        formLog.clear();
    }

    // Clicks the form's button the next time the program waits for input.
    void clickButtonWhenIdle(TLayoutForm* Form) {
        backend.SetIdleHandler([this, Form] {
            backend.SetIdleHandler(nullptr);
            clickButton(Form);
        });
    }
    // Each click lands elsewhere on the button, so that two never make a double click.
    void clickButton(TLayoutForm* Form) {
        const Integer offset = (clicksMade_++ % 2) * 12;
        backend.Click(Form->Toolbar->Handle(), {5 + offset, 5 + offset});
    }

private:
    int clicksMade_ = 0;
};

struct MessageBoxSeen {
    WideString caption;
    WideString text;
};

MessageBoxSeen readMessageBox(HWND Box) {
    MessageBoxSeen seen;
    WCHAR buffer[256] = {};
    GetWindowTextW(Box, buffer, 256);
    seen.caption = buffer;
    GetWindowTextW(FindWindowExW(Box, nullptr, MessageBoxTextClassName, nullptr), buffer, 256);
    seen.text = buffer;
    return seen;
}

// ---- Stock form properties, the menu bar and actions ----------------------------------

// Disables its action while `locked`, as an OnUpdate handler does.
struct TLockUpdater : TObject {
    bool locked = false;
    Integer updates = 0;
    void Update(TObject* Sender) {
        ++updates;
        static_cast<TAction*>(Sender)->SetEnabled(!locked);
    }
};

class StockFormTest : public VisualTest {};

TEST_F(StockFormTest, AFormResourceOfThePeriodLoadsWithItsMenuAndActions) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n  Width = 300\n  Height = 200\n"
                      "  Menu = MainMenu1\n  Scaled = False\n  PixelsPerInch = 120\n  TextHeight = 16\n"
                      "  OldCreateOrder = True\n  Position = poScreenCenter\n  FormStyle = fsStayOnTop\n"
                      "  KeyPreview = True\n  WindowState = wsNormal\n"
                      "  object Save: TButton\n    Left = 8\n    Top = 8\n    Width = 75\n"
                      "    Height = 25\n    Action = SaveAction\n  end\n"
                      "  object MainMenu1: TMainMenu\n    object FileItem: TMenuItem\n"
                      "      Caption = '&File'\n    end\n  end\n"
                      "  object Actions: TActionList\n    object SaveAction: TAction\n"
                      "      Caption = '&Save'\n      Hint = 'Saves'\n    end\n  end\nend\n",
                      &read);
    auto* menu = static_cast<TMainMenu*>(read.FindComponent("MainMenu1"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(read.Menu(), menu);
    EXPECT_EQ(GetFormMenu(&read), menu);
    EXPECT_FALSE(read.Scaled());
    EXPECT_TRUE(read.KeyPreview());
    EXPECT_EQ(read.Position(), poScreenCenter);
    EXPECT_EQ(read.FormStyle(), fsStayOnTop);
    auto* save = static_cast<TButton*>(read.FindComponent("Save"));
    auto* action = static_cast<TAction*>(read.FindComponent("SaveAction"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->Action(), action);
    EXPECT_EQ(save->Caption(), "&Save");
    EXPECT_EQ(save->Hint(), "Saves");
    const AnsiString written = WriteComponentText(&read);
    for (const char* expected : {"Action = SaveAction", "Menu = MainMenu1", "Scaled = False"})
        EXPECT_NE(written.find(expected), AnsiString::npos) << expected << "\n" << written;
    read.SetMenu(nullptr);
    EXPECT_EQ(read.Menu(), nullptr);
}

// A form is read before it has a window: a control anchored to all sides
// must keep the room it was given to the client edges, below the menu bar
// and inside the frame, not to the window's outer edges.
TEST_F(StockFormTest, AControlAnchoredInAFormResourceKeepsItsDistancesToTheClientEdges) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n  Width = 300\n  Height = 200\n  Menu = MainMenu1\n"
                      "  object MainMenu1: TMainMenu\n    object FileItem: TMenuItem\n"
                      "      Caption = '&File'\n    end\n  end\n"
                      "  object Body: TPanel\n    Left = 10\n    Top = 10\n    Width = 100\n    Height = 50\n"
                      "    Anchors = [akLeft, akTop, akRight, akBottom]\n  end\nend\n",
                      &read);
    auto* body = static_cast<TPanel*>(read.FindComponent("Body"));
    ASSERT_NE(body, nullptr);
    const TRect designed = read.ClientRect();
    const Integer rightGap = designed.Right - body->Left() - body->Width();
    const Integer bottomGap = designed.Bottom - body->Top() - body->Height();
    read.Show();
    read.SetBounds(read.Left(), read.Top(), 400, 300);
    EXPECT_EQ(read.ClientWidth() - body->Left() - body->Width(), rightGap);
    EXPECT_EQ(read.ClientHeight() - body->Top() - body->Height(), bottomGap);
}

TEST_F(StockFormTest, IdleTimeUpdatesTheActionsOfVisibleControls) {
    std::unique_ptr<TForm> form = plainForm();
    TActionList actions(form.get());
    auto* action = new TAction(form.get());
    action->SetActionList(&actions);
    TLockUpdater updater;
    action->OnUpdate = TNotifyEvent(&updater, &TLockUpdater::Update);
    auto* shown = child<TButton>(form.get(), alNone, {0, 0, 50, 20});
    shown->SetAction(action);
    auto* hidden = child<TButton>(form.get(), alNone, {0, 30, 50, 20});
    auto* other = new TAction(form.get());
    other->SetActionList(&actions);
    hidden->SetAction(other);
    hidden->SetVisible(false);
    TLockUpdater otherUpdater;
    other->OnUpdate = TNotifyEvent(&otherUpdater, &TLockUpdater::Update);
    form->UpdateActions();
    EXPECT_EQ(updater.updates, 0) << "a form that is not showing";
    form->Show();
    updater.locked = true;
    form->UpdateActions();
    EXPECT_FALSE(shown->Enabled());
    EXPECT_EQ(otherUpdater.updates, 0) << "hidden controls are left out";
    updater.locked = false;
    form->UpdateActions();
    EXPECT_TRUE(shown->Enabled());
    shown->SetAction(nullptr);
    EXPECT_EQ(shown->Action(), nullptr);
}

TEST_F(StockFormTest, TheIconGoesToTheWindow) {
    std::unique_ptr<TForm> form = plainForm();
    form->Show();
    TIcon icon;
    icon.SetHandle(CopyIcon(LoadIconA(nullptr, IDI_QUESTION)));
    form->SetIcon(&icon);
    EXPECT_NE(SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0)),
              form->Icon()->Handle());
}

// A form scrolls its controls as a scroll box does; a form resource may turn it off.
TEST_F(StockFormTest, AFormScrollsControlsReachingPastItsClientArea) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n  AutoScroll = False\n  HorzScrollBar.Increment = 12\nend\n",
                      &read);
    EXPECT_FALSE(read.AutoScroll());
    EXPECT_EQ(read.HorzScrollBar()->Increment(), 12);

    std::unique_ptr<TForm> form = plainForm(300, 200);
    auto* low = child<TBox>(form.get(), alNone, {10, 150, 50, 150});
    form->Show();
    Application->ProcessMessages();
    EXPECT_NE(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(form->VertScrollBar()->Range(), 300);
    form->VertScrollBar()->SetPosition(60);
    EXPECT_EQ(low->Top(), 90);
    form->SetAutoScroll(false);
    EXPECT_EQ(GetWindowLongA(form->Handle(), GWL_STYLE) & WS_VSCROLL, 0);
}

// A window of the system's own controls made the application's dialog:
// the loop lets IsDialogMessage move the focus with Tab.
TEST_F(StockFormTest, TheLoopHandsTheDialogWindowsKeysToIsDialogMessage) {
    const HWND dialog = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                        nullptr, nullptr, nullptr);
    auto edit = [dialog](int top) {
        return CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, top, 100, 20, dialog,
                               nullptr, nullptr, nullptr);
    };
    const HWND first = edit(0);
    const HWND second = edit(30);
    SetFocus(first);
    backend.PressKey(VK_TAB);
    Application->ProcessMessages();
    EXPECT_EQ(GetFocus(), first) << "without a dialog handle the edit takes the Tab";
    Application->SetDialogHandle(dialog);
    backend.PressKey(VK_TAB);
    Application->ProcessMessages();
    Application->SetDialogHandle(nullptr);
    EXPECT_EQ(GetFocus(), second);
    DestroyWindow(dialog);
}

// A form that keeps the accelerator characters its controls pass up to it.
class TAcceleratorForm : public TForm {
public:
    using TForm::TForm;
    std::vector<WPARAM> dialogChars;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_DIALOGCHAR) dialogChars.push_back(Message.WParam);
        TForm::Dispatch(Message);
    }
};

// The key step reaches the form as CM_DIALOGCHAR with all 16 bits of a
// character beyond the ANSI code page; a message that is no key is not its.
TEST_F(FormsTest, TheKeyStepPassesAWideSystemCharacterToTheFormWhole) {
    TAcceleratorForm form(nullptr);
    auto* edit = child<TEdit>(&form, alNone, {10, 10, 100, 20});
    form.Show();
    MSG character{edit->Handle(), WM_SYSCHAR, 0x0416, 1, 0, {}};
    EXPECT_FALSE(Application->IsKeyMsg(character));
    EXPECT_EQ(form.dialogChars, std::vector<WPARAM>{0x0416});
    MSG paint{edit->Handle(), WM_PAINT, 0, 0, 0, {}};
    EXPECT_FALSE(Application->IsKeyMsg(paint));
    EXPECT_EQ(form.dialogChars.size(), 1u);
}

TEST_F(FormsTest, AnMdiChildFindsNoMdiForm) {
    auto form = plainForm();
    form->SetFormStyle(fsMDIChild);
    try {
        form->HandleNeeded();
        FAIL() << "an MDI child was made";
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.Message, "Cannot create form. No MDI forms are currently active");
    }
    EXPECT_FALSE(form->HandleAllocated());
}

} // namespace

TEST_F(FormsTest, AFormIsBuiltFromItsTextResourceWithNestedControls) {
    std::unique_ptr<TLayoutForm> form(NewForm<TLayoutForm>(nullptr));
    ASSERT_NE(form->Button, nullptr);
    EXPECT_EQ(form->Name(), "LayoutForm");
    EXPECT_EQ(form->Caption(), "Layout test");
    EXPECT_EQ(form->Color(), clWindow);
    EXPECT_EQ(form->BorderStyle(), bsSingle);
    EXPECT_EQ(form->ClientWidth(), 240);
    EXPECT_EQ(form->ClientHeight(), 150);
    EXPECT_EQ(form->Toolbar->Parent(), form.get());
    EXPECT_EQ(form->Button->Parent(), form->Toolbar);
    EXPECT_EQ(form->First->Parent(), form->Body);
    EXPECT_EQ(form->Button->Owner(), form.get());
    EXPECT_EQ(form->Button->Color(), clRed);
    EXPECT_EQ(form->Clock->Interval(), 250u);
    EXPECT_FALSE(form->Clock->Enabled());
    EXPECT_EQ(form->Second->TabOrder(), 0);
    EXPECT_EQ(form->First->TabOrder(), 1);
    EXPECT_EQ(form->ActiveControl(), form->Second);
    EXPECT_TRUE(form->controlsExistedAtCreate);
    EXPECT_EQ(formLog, std::vector<std::string>{"create"});
    EXPECT_FALSE(form->Visible());

    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(form->Toolbar->BoundsRect(), (TRect{0, 0, 240, 24}));
    EXPECT_EQ(form->Body->BoundsRect(), (TRect{0, 24, 240, 150}));
    EXPECT_EQ(form->Left(), (Screen->Width() - form->Width()) / 2);
    EXPECT_TRUE(form->Second->Focused());
}

TEST_F(FormsTest, EventsComeInTheFrameworksOrder) {
    TLayoutForm* form = NewForm<TLayoutForm>(nullptr);
    form->Show();
    form->Update();
    Application->ProcessMessages();
    form->SetWidth(form->Width() + 10);
    form->onCloseQuery = [](bool& CanClose) { CanClose = formLog.size() > 20; };
    form->Close();
    EXPECT_TRUE(form->Visible());
    form->onCloseQuery = nullptr;
    form->Close();
    EXPECT_FALSE(form->Visible());
    delete form;
    // The window's first size comes with its making, before it shows.
    EXPECT_EQ(formLog, (std::vector<std::string>{"create", "resize", "show", "activate", "paint", "resize",
                                                 "close query", "close query", "close", "destroy", "gone"}));
}

TEST_F(FormsTest, AModalFormRunsUntilModalResultIsSet) {
    auto owner = plainForm();
    owner->Show();
    std::unique_ptr<TLayoutForm> form(NewForm<TLayoutForm>(nullptr));
    bool ownerDisabled = false;
    form->onButton = [&] {
        ownerDisabled = !IsWindowEnabled(owner->Handle());
        form->SetModalResult(mrOk);
    };
    clickButtonWhenIdle(form.get());
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->FormState().Contains(fsModal));
    EXPECT_EQ(formLog, (std::vector<std::string>{"create", "resize", "show", "activate", "paint", "button",
                                                 "close query", "close"}));
}

TEST_F(FormsTest, CloseQueryCanKeepAModalFormOpenAndCloseEndsItWithCancel) {
    std::unique_ptr<TLayoutForm> form(NewForm<TLayoutForm>(nullptr));
    int queries = 0;
    form->onCloseQuery = [&](bool& CanClose) { CanClose = ++queries > 1; };
    form->onButton = [&] {
        if (queries == 0) {
            form->SetModalResult(mrYes);
            clickButtonWhenIdle(form.get());
        } else {
            form->Close();
        }
    };
    clickButtonWhenIdle(form.get());
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

TEST_F(FormsTest, AnExceptionInAnEventIsShownInTheErrorBoxAndTheLoopGoesOn) {
    std::unique_ptr<TLayoutForm> form(NewForm<TLayoutForm>(nullptr));
    Application->SetTitle("Layout program");
    int clicks = 0;
    std::vector<MessageBoxSeen> boxes;
    form->onButton = [&] {
        if (++clicks == 1) throw EConvertError("'x' is not a valid integer value");
        form->SetModalResult(mrOk);
    };
    backend.SetIdleHandler([&] {
        if (HWND box = FindWindowW(MessageBoxClassName, nullptr)) {
            boxes.push_back(readMessageBox(box));
            backend.PressKey(VK_RETURN);
        } else if (clicks < 2 && boxes.size() == static_cast<std::size_t>(clicks)) {
            clickButton(form.get());
        }
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"'x' is not a valid integer value.");
    EXPECT_EQ(boxes[0].caption, u"Layout program");
}

TEST_F(FormsTest, OnExceptionTakesTheExceptionsOfTheLoopInsteadOfTheBox) {
    struct Catcher : TObject {
        std::vector<std::string> messages;
        TObject* sender = nullptr;
        void Caught(TObject* Sender, Exception& E) {
            sender = Sender;
            messages.push_back(E.Message);
        }
    } catcher;
    Application->OnException = TExceptionEvent(&catcher, &Catcher::Caught);
    TTimer timer(nullptr);
    struct Thrower : TObject {
        int ticks = 0;
        void Tick(TObject*) {
            ++ticks;
            if (ticks == 1) throw Exception("first tick failed");
            if (ticks == 2) Abort();
        }
    } thrower;
    backend.UseSteppedTime(true);
    timer.SetInterval(100);
    timer.SetOnTimer(TNotifyEvent(&thrower, &Thrower::Tick));
    for (int i = 0; i < 3; ++i) {
        backend.AdvanceTime(100);
        Application->ProcessMessages();
    }
    backend.UseSteppedTime(false);
    Application->OnException = nullptr;
    EXPECT_EQ(thrower.ticks, 3);
    EXPECT_EQ(catcher.messages, std::vector<std::string>{"first tick failed"});
    EXPECT_EQ(catcher.sender, &timer);
}

TEST_F(FormsTest, ATimerTicksEveryIntervalWhileEnabledWithAHandler) {
    struct Counter : TObject {
        int ticks = 0;
        void Tick(TObject*) { ++ticks; }
    } counter;
    backend.UseSteppedTime(true);
    TTimer timer(nullptr);
    timer.SetInterval(50);
    auto step = [&](int times) {
        for (int i = 0; i < times; ++i) {
            backend.AdvanceTime(50);
            Application->ProcessMessages();
        }
    };
    step(2);
    EXPECT_EQ(counter.ticks, 0);
    timer.SetOnTimer(TNotifyEvent(&counter, &Counter::Tick));
    step(3);
    EXPECT_EQ(counter.ticks, 3);
    timer.SetEnabled(false);
    step(2);
    EXPECT_EQ(counter.ticks, 3);
    timer.SetEnabled(true);
    timer.SetInterval(0);
    step(2);
    EXPECT_EQ(counter.ticks, 3);
    backend.UseSteppedTime(false);
}

TEST_F(FormsTest, CloseWithCaFreeReleasesTheFormAfterPendingMessages) {
    TLayoutForm* form = NewForm<TLayoutForm>(nullptr);
    form->onClose = [](TCloseAction& Action) { Action = caFree; };
    form->Show();
    Application->ProcessMessages();
    form->Close();
    EXPECT_EQ(formLog.back(), "close");
    Application->ProcessMessages();
    EXPECT_EQ(formLog.back(), "gone");
    EXPECT_EQ(formLog[formLog.size() - 2], "destroy");
}

TEST_F(FormsTest, AWorkersSynchronizeRunsInTheApplicationsLoop) {
    class TWorker : public TThread {
    public:
        TWorker() : TThread(true) {}
        ~TWorker() override {
            Terminate();
            WaitFor();
        }
        bool done = false;
        std::thread::id ranOn;

    protected:
        void Execute() override {
            Synchronize(TThreadMethod(this, &TWorker::OnMain));
            done = true;
        }

    private:
        void OnMain() { ranOn = std::this_thread::get_id(); }
    };
    Application->Handle();
    TWorker worker;
    worker.Resume();
    // The call itself ends the waiting: the loop wakes for it and runs it.
    while (worker.ranOn == std::thread::id())
        Application->HandleMessage();
    worker.WaitFor();
    EXPECT_EQ(worker.ranOn, std::this_thread::get_id());
    EXPECT_TRUE(worker.done);
}

TEST_F(FormsTest, TheFirstFormMadeIsTheMainFormAndClosingItEndsRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Terminating the application is for good, so it happens in a process of its own.
    EXPECT_EXIT(
        {
            TLayoutForm* main = nullptr;
            TLayoutForm* second = nullptr;
            Application->CreateForm(main);
            Application->CreateForm(second);
            const bool mainChosen = Application->MainForm() == main && main->HandleAllocated();
            Headless().SetIdleHandler([&] {
                Headless().SetIdleHandler(nullptr);
                main->Close();
            });
            Application->Run();
            const bool ended = Application->Terminated() && formLog.back() == "close";
            DoneApplication();
            std::exit(mainChosen && ended && Application->ComponentCount() == 0 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(FormsTest, ScreenKeepsTheProgramsCursorsAndKnowsItsSize) {
    const HCURSOR hand = Screen->Cursors(crHandPoint);
    EXPECT_NE(hand, nullptr);
    EXPECT_EQ(Screen->Cursors(1234), Screen->Cursors(crDefault));
    Screen->SetCursors(14000, hand);
    EXPECT_EQ(Screen->Cursors(14000), hand);
    Screen->SetCursors(14000, nullptr);
    EXPECT_EQ(Screen->Cursors(14000), Screen->Cursors(crDefault));
    EXPECT_EQ(Screen->Width(), HeadlessBackend::DefaultScreenWidth);
    EXPECT_EQ(Screen->Height(), HeadlessBackend::DefaultScreenHeight);
    EXPECT_GE(Screen->Fonts()->IndexOf("Courier New"), 0);
}

TEST_F(FormsTest, TheProgramsCursorFilesLoadByNameForTheScreen) {
    Screen->Cursors(crDefault);
    HCURSOR cursor = LoadCursorA(HInstance(), "TESTARROW");
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 5u);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    Screen->SetCursors(14000, cursor);
    EXPECT_EQ(Screen->Cursors(14000), cursor);
    EXPECT_EQ(LoadCursorA(HInstance(), "NOSUCHCURSOR"), nullptr);
}

TEST_F(FormsTest, PositionPlacesTheFormEachTimeItShows) {
    auto owner = plainForm(300, 200);
    owner->SetBounds(100, 100, 300, 200);
    struct Case {
        TPosition position;
        TPoint expected;
    };
    const Case cases[] = {
        {poDesigned, {10, 10}},
        {poScreenCenter,
         {(HeadlessBackend::DefaultScreenWidth - 200) / 2, (HeadlessBackend::DefaultScreenHeight - 100) / 2}},
        {poDesktopCenter,
         {(HeadlessBackend::DefaultScreenWidth - 200) / 2, (HeadlessBackend::DefaultScreenHeight - 100) / 2}},
        {poOwnerFormCenter, {150, 150}},
    };
    for (const Case& each : cases) {
        auto* form = new TForm(owner.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, 200, 100);
        form->SetPosition(each.position);
        form->Show();
        EXPECT_EQ((TPoint{form->Left(), form->Top()}), each.expected) << each.position;
        form->SetBounds(10, 10, 200, 100);
        form->Hide();
        form->Show();
        EXPECT_EQ((TPoint{form->Left(), form->Top()}), each.expected) << each.position;
        delete form;
    }
}

TEST_F(FormsTest, AStayOnTopFormIsATopmostWindow) {
    auto form = plainForm();
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    form->SetFormStyle(fsNormal);
    EXPECT_FALSE(GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(FormsTest, ShowModalRefusesAVisibleForm) {
    auto form = plainForm();
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}
