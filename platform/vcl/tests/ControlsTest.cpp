#include "VisualTestSupport.h"

#include "platform/win/DefWindowProc.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

namespace {

using ControlsTest = VisualTest;

// Records the messages that pass through it, then hands them to the
// WindowProc it replaced.
struct TMessageSpy : TObject {
    TWndMethod previous;
    std::vector<UINT> seen;
    void Hook(TMessage& Message) {
        seen.push_back(Message.Msg);
        previous(Message);
    }
    bool Saw(UINT Msg) const { return std::find(seen.begin(), seen.end(), Msg) != seen.end(); }
};

// Logs the events of the controls it is connected to.
struct TEventLog : TObject {
    std::vector<std::string> lines;
    void Add(TObject* Sender, const std::string& What) {
        lines.push_back(static_cast<TComponent*>(Sender)->Name() + " " + What);
    }
    void Click(TObject* Sender) { Add(Sender, "Click"); }
    void DblClick(TObject* Sender) { Add(Sender, "DblClick"); }
    void Enter(TObject* Sender) { Add(Sender, "Enter"); }
    void Exit(TObject* Sender) { Add(Sender, "Exit"); }
    void MouseDown(TObject* Sender, TMouseButton, TShiftState Shift, Integer X, Integer Y) {
        Add(Sender, "Down " + std::to_string(X) + "," + std::to_string(Y) +
                        (Shift.Contains(ssDouble) ? " double" : ""));
    }
    void MouseUp(TObject* Sender, TMouseButton, TShiftState, Integer X, Integer Y) {
        Add(Sender, "Up " + std::to_string(X) + "," + std::to_string(Y));
    }
    void KeyDown(TObject* Sender, Word& Key, TShiftState) {
        Add(Sender, "Key " + std::to_string(Key));
        if (Key == 'Q') Key = 0;
    }
};

// Wants the arrow keys for itself (WM_GETDLGCODE), as a list or an editor does.
class TArrowBox : public TBox {
public:
    using TBox::TBox;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_GETDLGCODE) {
            Message.Result = DLGC_WANTARROWS;
            return;
        }
        TBox::Dispatch(Message);
    }
};

// Answers Enter as a default button does.
class TDefaultBox : public TBox {
public:
    using TBox::TBox;
    bool pressed = false;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_DIALOGKEY && TWMKey(Message).CharCode() == VK_RETURN) {
            pressed = true;
            Message.Result = 1;
            return;
        }
        TBox::Dispatch(Message);
    }
};

LRESULT recordingDefaultProcedure(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
std::vector<UINT> defaultProcedureSaw;

LRESULT recordingDefaultProcedure(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    defaultProcedureSaw.push_back(Msg);
    return DefWindowProcA(Window, Msg, WParam, LParam);
}

// Notes the control state its window is made in and the one it paints in.
class TStateBox : public TBox {
public:
    using TBox::TBox;
    bool creatingSeen = false;
    bool paintCopySeen = false;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override {
        creatingSeen = ControlState().Contains(csCreating);
        TBox::CreateWindowHandle(Params);
    }
    void Paint() override {
        paintCopySeen = ControlState().Contains(csPaintCopy);
        TBox::Paint();
    }
};

const TClass defaultBoxClass = DescribeClass<TDefaultBox, TBox>();
const TClass arrowBoxClass = DescribeClass<TArrowBox, TBox>();

} // namespace

TEST_F(ControlsTest, AlignPlacesTopBottomLeftRightAndClientChildrenAndSkipsHiddenOnes) {
    auto form = plainForm(300, 200);
    // Alignment alone: no range from the children's places before they are aligned.
    form->SetAutoScroll(false);
    form->HandleNeeded();
    TBox* top = child<TBox>(form.get(), alTop, {0, 0, 10, 20});
    TBox* lowerTop = child<TBox>(form.get(), alTop, {0, 50, 10, 10});
    TBox* hidden = new TBox(form.get());
    hidden->SetVisible(false);
    hidden->SetBounds(0, 100, 10, 100);
    hidden->SetParent(form.get());
    hidden->SetAlign(alTop);
    TBox* bottom = child<TBox>(form.get(), alBottom, {0, 0, 10, 30});
    TBox* left = child<TBox>(form.get(), alLeft, {0, 0, 40, 10});
    TMark* leftMark = child<TMark>(form.get(), alLeft, {100, 0, 5, 10});
    TBox* right = child<TBox>(form.get(), alRight, {0, 0, 50, 10});
    TBox* client = child<TBox>(form.get(), alClient, {0, 0, 10, 10});
    TBox* anchored = child<TBox>(form.get(), alNone, {250, 150, 20, 20});
    anchored->SetAnchors({akRight, akBottom});
    TBox* centred = child<TBox>(form.get(), alNone, {140, 90, 20, 20});
    centred->SetAnchors({});

    struct Expected {
        TControl* control;
        TRect bounds;
    };
    auto check = [](std::initializer_list<Expected> cases) {
        for (const Expected& each : cases)
            EXPECT_EQ(each.control->BoundsRect(), each.bounds)
                << each.control->ClassName() << " at " << each.bounds.Left << "," << each.bounds.Top;
    };
    check({{top, {0, 0, 300, 20}},
           {lowerTop, {0, 20, 300, 30}},
           {bottom, {0, 170, 300, 200}},
           {left, {0, 30, 40, 170}},
           {leftMark, {40, 30, 45, 170}},
           {right, {250, 30, 300, 170}},
           {client, {45, 30, 250, 170}},
           {anchored, {250, 150, 270, 170}}});

    // One pixel wider: what stretches stretches, what is anchored to the right moves.
    form->SetWidth(301);
    check({{top, {0, 0, 301, 20}},
           {right, {251, 30, 301, 170}},
           {client, {45, 30, 251, 170}},
           {anchored, {251, 150, 271, 170}},
           {centred, {141, 90, 161, 110}}});
    form->SetWidth(320);
    EXPECT_EQ(centred->BoundsRect(), (TRect{150, 90, 170, 110}));

    // Shown, the hidden child takes its place among the top-aligned ones.
    hidden->SetVisible(true);
    check({{hidden, {0, 30, 320, 130}}, {left, {0, 130, 40, 170}}, {client, {45, 130, 270, 170}}});
}

TEST_F(ControlsTest, ConstraintsAndOnCanResizeLimitTheBounds) {
    auto form = plainForm();
    form->HandleNeeded();
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    box->Constraints()->SetMinWidth(30);
    box->Constraints()->SetMaxHeight(40);
    EXPECT_EQ(box->Height(), 40);
    box->SetBounds(0, 0, 10, 100);
    EXPECT_EQ(box->BoundsRect(), (TRect{0, 0, 30, 40}));

    // An aligned child that keeps a smaller size leaves the rest to the others.
    TBox* top = child<TBox>(form.get(), alTop, {0, 0, 10, 60});
    TBox* client = child<TBox>(form.get(), alClient, {0, 0, 10, 10});
    top->Constraints()->SetMaxHeight(25);
    form->Realign();
    EXPECT_EQ(top->Height(), 25);
    EXPECT_EQ(client->Top(), 25);
}

TEST_F(ControlsTest, WindowProcCanBeReplacedAndRestoredLikeASubclass) {
    auto form = plainForm();
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    box->HandleNeeded();
    TMessageSpy outer;
    TMessageSpy inner;
    inner.previous = box->WindowProc;
    box->WindowProc = TWndMethod(&inner, &TMessageSpy::Hook);
    outer.previous = box->WindowProc;
    box->WindowProc = TWndMethod(&outer, &TMessageSpy::Hook);

    // Both the framework's own messages and the window's pass through the chain to WndProc.
    box->SetText("abc");
    SendMessageA(box->Handle(), WM_USER + 5, 0, 0);
    for (TMessageSpy* spy : {&outer, &inner}) {
        EXPECT_TRUE(spy->Saw(WM_SETTEXT));
        EXPECT_TRUE(spy->Saw(CM_TEXTCHANGED));
        EXPECT_TRUE(spy->Saw(WM_USER + 5));
    }
    char text[8] = {};
    GetWindowTextA(box->Handle(), text, sizeof(text));
    EXPECT_STREQ(text, "abc");

    box->WindowProc = outer.previous;
    box->WindowProc = inner.previous;
    EXPECT_TRUE(box->WindowProc == TWndMethod(box, &TControl::WndProc));
    outer.seen.clear();
    inner.seen.clear();
    SendMessageA(box->Handle(), WM_USER + 6, 0, 0);
    EXPECT_TRUE(outer.seen.empty());
    EXPECT_TRUE(inner.seen.empty());
}

TEST_F(ControlsTest, ANotificationToTheParentComesBackToTheChildAsCN) {
    auto form = plainForm();
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    box->HandleNeeded();
    TMessageSpy spy;
    spy.previous = box->WindowProc;
    box->WindowProc = TWndMethod(&spy, &TMessageSpy::Hook);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(1, 0), reinterpret_cast<LPARAM>(box->Handle()));
    SendMessageA(form->Handle(), WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(box->Handle()));
    EXPECT_EQ(spy.seen, (std::vector<UINT>{CN_COMMAND, CN_CTLCOLOREDIT}));
    box->WindowProc = spy.previous;
}

TEST_F(ControlsTest, MessagesNobodyHandlesGoToTheDefaultWindowProcedure) {
    auto form = plainForm();
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    box->HandleNeeded();
    const WNDPROC original = box->DefWndProc();
    box->SetDefWndProc(WindowProcFromFunction(&recordingDefaultProcedure));
    defaultProcedureSaw.clear();
    box->Perform(WM_USER + 7, 0, 0);
    EXPECT_EQ(defaultProcedureSaw, std::vector<UINT>{WM_USER + 7});
    box->SetDefWndProc(original);
}

TEST_F(ControlsTest, TextLivesInTheControlUntilTheWindowExistsAndChangesAreTold) {
    auto form = plainForm();
    TBox* box = new TBox(form.get());
    TMessageSpy spy;
    spy.previous = box->WindowProc;
    box->WindowProc = TWndMethod(&spy, &TMessageSpy::Hook);
    box->SetCaption("first");
    EXPECT_EQ(box->Caption(), "first");
    box->SetParent(form.get());
    box->HandleNeeded();
    char text[16] = {};
    GetWindowTextA(box->Handle(), text, sizeof(text));
    EXPECT_STREQ(text, "first");
    spy.seen.clear();
    box->SetText("first");
    EXPECT_FALSE(spy.Saw(CM_TEXTCHANGED));
    box->SetText("second");
    EXPECT_TRUE(spy.Saw(CM_TEXTCHANGED));
    box->RecreateWnd();
    EXPECT_EQ(box->Text(), "second");
    box->WindowProc = spy.previous;
}

TEST_F(ControlsTest, ChildrenFollowTheParentsColourAndFontUntilGivenTheirOwn) {
    auto form = plainForm();
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    TMark* mark = child<TMark>(box, alNone, {0, 0, 5, 5});
    form->SetColor(clYellow);
    form->Font()->SetName("Courier New");
    EXPECT_EQ(box->Color(), clYellow);
    EXPECT_EQ(mark->Color(), clYellow);
    EXPECT_EQ(mark->Font()->Name(), "Courier New");
    EXPECT_TRUE(mark->ParentColor());

    box->SetColor(clRed);
    EXPECT_FALSE(box->ParentColor());
    EXPECT_EQ(mark->Color(), clRed);
    form->SetColor(clBlue);
    EXPECT_EQ(box->Color(), clRed);
    box->SetParentColor(true);
    EXPECT_EQ(box->Color(), clBlue);
    EXPECT_EQ(mark->Color(), clBlue);
}

TEST_F(ControlsTest, MouseClicksReachWindowedAndGraphicControls) {
    auto form = plainForm();
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 100, 100});
    box->SetName("Box");
    TMark* mark = child<TMark>(box, alNone, {50, 50, 20, 20});
    mark->SetName("Mark");
    TEventLog log;
    for (TControl* control : std::initializer_list<TControl*>{box, mark}) {
        control->OnClick = TNotifyEvent(&log, &TEventLog::Click);
        control->OnDblClick = TNotifyEvent(&log, &TEventLog::DblClick);
        control->OnMouseDown = TMouseEvent(&log, &TEventLog::MouseDown);
        control->OnMouseUp = TMouseEvent(&log, &TEventLog::MouseUp);
    }
    form->Show();
    Application->ProcessMessages();

    backend.Click(box->Handle(), {5, 6});
    backend.Click(box->Handle(), {55, 57});
    Application->ProcessMessages();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Box Down 5,6", "Box Click", "Box Up 5,6", "Mark Down 5,7",
                                                   "Mark Click", "Mark Up 5,7"}));

    log.lines.clear();
    backend.DoubleClick(box->Handle(), {5, 6});
    Application->ProcessMessages();
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Box Down 5,6", "Box Click", "Box Up 5,6", "Box DblClick",
                                                   "Box Down 5,6 double", "Box Up 5,6"}));
}

TEST_F(ControlsTest, TabAndArrowsMoveTheFocusAndEnterReachesTheDefaultButton) {
    auto form = plainForm();
    TEventLog log;
    std::vector<TBox*> boxes;
    for (int i = 0; i < 3; ++i) {
        TBox* box = child<TBox>(form.get(), alNone, {i * 60, 0, 50, 50});
        box->SetName("Box" + std::to_string(i));
        box->SetTabStop(true);
        box->OnEnter = TNotifyEvent(&log, &TEventLog::Enter);
        box->OnExit = TNotifyEvent(&log, &TEventLog::Exit);
        boxes.push_back(box);
    }
    auto* defaultBox = child<TDefaultBox>(form.get(), alNone, {200, 100, 50, 50});
    boxes[2]->SetTabOrder(0);
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(form->ActiveControl(), boxes[2]);
    EXPECT_TRUE(boxes[2]->Focused());

    backend.PressKey(VK_TAB);
    Application->ProcessMessages();
    EXPECT_TRUE(boxes[0]->Focused());
    backend.PressKey(VK_TAB, {VK_SHIFT});
    Application->ProcessMessages();
    EXPECT_TRUE(boxes[2]->Focused());
    backend.PressKey(VK_RIGHT);
    Application->ProcessMessages();
    EXPECT_TRUE(boxes[0]->Focused());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Box2 Enter", "Box2 Exit", "Box0 Enter", "Box0 Exit",
                                                   "Box2 Enter", "Box2 Exit", "Box0 Enter"}));

    backend.PressKey(VK_RETURN);
    Application->ProcessMessages();
    EXPECT_TRUE(defaultBox->pressed);

    // A control that wants the arrows gets them as keys; the focus stays.
    auto* arrows = child<TArrowBox>(form.get(), alNone, {0, 100, 50, 50});
    arrows->SetName("Arrows");
    arrows->SetTabStop(true);
    arrows->OnKeyDown = TKeyEvent(&log, &TEventLog::KeyDown);
    arrows->SetFocus();
    log.lines.clear();
    backend.PressKey(VK_RIGHT);
    Application->ProcessMessages();
    EXPECT_TRUE(arrows->Focused());
    EXPECT_EQ(log.lines, std::vector<std::string>{"Arrows Key 39"});
}

TEST_F(ControlsTest, KeyPreviewLetsTheFormTakeKeysFirst) {
    auto form = plainForm();
    form->SetName("Form");
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    box->SetName("Box");
    box->SetTabStop(true);
    TEventLog log;
    form->OnKeyDown = TKeyEvent(&log, &TEventLog::KeyDown);
    box->OnKeyDown = TKeyEvent(&log, &TEventLog::KeyDown);
    form->Show();
    Application->ProcessMessages();

    backend.PressKey('A');
    Application->ProcessMessages();
    form->SetKeyPreview(true);
    backend.PressKey('B');
    backend.PressKey('Q');
    Application->ProcessMessages();
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Box Key 65", "Form Key 66", "Box Key 66", "Form Key 81"}));
}

TEST_F(ControlsTest, GraphicChildrenPaintOnTheirParentsWindow) {
    auto form = plainForm(100, 100);
    form->SetColor(clWhite);
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 60, 60});
    box->SetColor(clBlue);
    TMark* mark = child<TMark>(box, alNone, {10, 20, 10, 10});
    mark->SetColor(clRed);
    form->Show();
    form->Update();
    box->Update();
    EXPECT_EQ(PixelAt(box->Handle(), {15, 25}), clRed);
    EXPECT_EQ(PixelAt(box->Handle(), {5, 5}), clBlue);
    EXPECT_EQ(PixelAt(form->Handle(), {80, 80}), clWhite);

    mark->SetVisible(false);
    box->Update();
    EXPECT_EQ(PixelAt(box->Handle(), {15, 25}), clBlue);
}

TEST_F(ControlsTest, DraggingAControlTellsTheTargetAndTheSource) {
    struct DragLog : TObject {
        std::vector<std::string> lines;
        void Over(TObject*, TObject* Source, Integer, Integer, TDragState State, bool& Accept) {
            lines.push_back(std::string("over ") +
                            (State == dsDragEnter  ? "enter"
                             : State == dsDragMove ? "move"
                                                   : "leave") +
                            (static_cast<TComponent*>(Source)->Name() == "Source" ? " from source" : ""));
            Accept = true;
        }
        void Drop(TObject*, TObject*, Integer X, Integer Y) {
            lines.push_back("drop " + std::to_string(X) + "," + std::to_string(Y));
        }
        void End(TObject*, TObject* Target, Integer, Integer) {
            lines.push_back(std::string("end on ") +
                            (Target ? static_cast<TComponent*>(Target)->Name() : "nothing"));
        }
    } log;
    auto form = plainForm();
    TBox* source = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    source->SetName("Source");
    TBox* target = child<TBox>(form.get(), alNone, {100, 0, 50, 50});
    target->SetName("Target");
    target->OnDragOver = TDragOverEvent(&log, &DragLog::Over);
    target->OnDragDrop = TDragDropEvent(&log, &DragLog::Drop);
    source->OnEndDrag = TEndDragEvent(&log, &DragLog::End);
    form->Show();
    Application->ProcessMessages();

    backend.MouseDown(source->Handle(), {10, 10});
    Application->ProcessMessages();
    source->BeginDrag(false);
    EXPECT_TRUE(source->Dragging());
    backend.MoveMouse(target->Handle(), {7, 8});
    backend.MouseUp(target->Handle(), {7, 8});
    Application->ProcessMessages();
    EXPECT_FALSE(source->Dragging());
    EXPECT_EQ(log.lines, (std::vector<std::string>{"over enter from source", "over move from source",
                                                   "over leave from source", "drop 7,8", "end on Target"}));
}

TEST_F(ControlsTest, DestroyingAParentFreesItsChildrenAndForgetsThemAsFocus) {
    auto form = plainForm();
    TBox* box = child<TBox>(form.get(), alNone, {0, 0, 50, 50});
    TBox* inner = child<TBox>(box, alNone, {0, 0, 20, 20});
    inner->SetTabStop(true);
    form->Show();
    Application->ProcessMessages();
    inner->SetFocus();
    EXPECT_EQ(form->ActiveControl(), inner);
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(box->ComponentCount(), 1);
    delete box;
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(form->ControlCount(), 0);
}

namespace {

// Changes the hint it is about to show, as a control may in CM_HINTSHOW.
class THintedBox : public TBox {
public:
    using TBox::TBox;
    AnsiString replacement;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_HINTSHOW && !replacement.empty())
            reinterpret_cast<THintInfo*>(Message.LParam)->HintStr = replacement;
        TBox::Dispatch(Message);
    }
};

const TClass hintedBoxClass = DescribeClass<THintedBox, TBox>();

struct HintListener : TObject {
    int changes = 0;
    void HintChanged(TObject*) { ++changes; }
};

TEST_F(ControlsTest, CreatingAndPaintingIntoAnotherDCAreMarked) {
    std::unique_ptr<TForm> form = plainForm();
    auto* outer = child<TStateBox>(form.get(), alNone, {10, 10, 60, 40});
    outer->SetColor(clRed);
    auto* inner = child<TStateBox>(outer, alNone, {20, 10, 20, 20});
    inner->SetColor(clBlue);
    form->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(outer->creatingSeen);
    EXPECT_FALSE(outer->ControlState().Contains(csCreating));
    EXPECT_FALSE(outer->paintCopySeen) << "its own window";
    TBitmap copy;
    copy.SetSize(100, 60);
    outer->PaintTo(copy.Canvas()->Handle(), 5, 5);
    EXPECT_TRUE(outer->paintCopySeen);
    EXPECT_TRUE(inner->paintCopySeen);
    EXPECT_FALSE(outer->ControlState().Contains(csPaintCopy));
    EXPECT_EQ(copy.Canvas()->Pixels(6, 6), clRed);
    EXPECT_EQ(copy.Canvas()->Pixels(5 + 25, 5 + 15), clBlue);
    EXPECT_EQ(copy.Canvas()->Pixels(5 + 70, 5), clWhite) << "outside the control";
}

} // namespace

TEST_F(ControlsTest, AHintShowsAfterThePauseAndHidesAfterItsTime) {
    auto form = plainForm();
    auto* box = child<THintedBox>(form.get(), alNone, {20, 20, 60, 40});
    box->SetHint("Short|The long part");
    box->SetShowHint(true);
    HintListener listener;
    Application->OnHint = TNotifyEvent(&listener, &HintListener::HintChanged);
    Application->SetShowHint(true);
    form->Show();
    Application->ProcessMessages();
    backend.UseSteppedTime(true);
    auto wait = [&](DWORD Milliseconds) {
        backend.AdvanceTime(Milliseconds);
        Application->ProcessMessages();
    };

    backend.MoveMouse(box->Handle(), {5, 5});
    Application->ProcessMessages();
    wait(Application->HintPause() - 100);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    wait(200);
    ASSERT_NE(Application->HintWindow(), nullptr);
    THintWindow* hint = Application->HintWindow();
    EXPECT_EQ(hint->Caption(), "Short");
    EXPECT_TRUE(IsWindowVisible(hint->Handle()));
    EXPECT_EQ(hint->Color(), Application->HintColor());
    const TPoint boxOrigin = box->ClientToScreen({0, 0});
    EXPECT_EQ(hint->Left(), boxOrigin.x + 5);
    EXPECT_GT(hint->Top(), boxOrigin.y + 5);

    wait(Application->HintHidePause() + 100);
    EXPECT_EQ(Application->HintWindow(), nullptr);

    // The idle work makes the long part the application's hint.
    backend.SetIdleHandler([] { PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0); });
    Application->HandleMessage();
    EXPECT_EQ(Application->Hint(), "The long part");
    EXPECT_GE(listener.changes, 1);

    // Back over the control after leaving it, the hint comes again: this
    // time as the control changes it in CM_HINTSHOW. A press hides it at once.
    box->replacement = "Changed";
    backend.MoveMouse(form->Handle(), {200, 150});
    Application->ProcessMessages();
    backend.MoveMouse(box->Handle(), {30, 30});
    Application->ProcessMessages();
    wait(Application->HintPause());
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_EQ(Application->HintWindow()->Caption(), "Changed");
    backend.Click(box->Handle(), {30, 30});
    Application->ProcessMessages();
    EXPECT_EQ(Application->HintWindow(), nullptr);

    backend.UseSteppedTime(false);
    Application->OnHint = nullptr;
}

TEST(Hints, TheShortPartGoesToTheHintWindowAndTheLongPartToTheApplication) {
    EXPECT_EQ(GetShortHint("Open|Opens a file"), "Open");
    EXPECT_EQ(GetLongHint("Open|Opens a file"), "Opens a file");
    EXPECT_EQ(GetShortHint("Plain"), "Plain");
    EXPECT_EQ(GetLongHint("Plain"), "Plain");
    EXPECT_EQ(GetLongHint("a|b|c"), "b|c");
}
