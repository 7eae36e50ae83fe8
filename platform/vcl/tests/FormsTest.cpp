#include "VisualTestSupport.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Thread.h"
#include "platform/win/Cursors.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Messages.h"
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
