#include "unicode/TntControls.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Atoms.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Focus.h"
#include "platform/win/LastError.h"
#include "platform/win/Messages.h"
#include "platform/win/Props.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/Windows.h"
#include "unicode/TntClasses.h"
#include "unicode/TntFormatStrUtils.h"
#include "unicode/TntGraphics.h"
#include "unicode/TntMenus.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

namespace {

constexpr const char* SUnicodeClassSuffix = ".UnicodeClass";
constexpr const char* SControlNotUnicode = "Internal Error: SubClassUnicodeControl.Control is not Unicode.";
// The border a hint window keeps around its text.
constexpr Integer HintTextInset = 2;
constexpr Integer HintExtraWidth = 6;
constexpr Integer HintExtraHeight = 2;
constexpr Integer HintSizeExtra = 6;

bool controlsFinalized = false;
TWinControl* unicodeCreationControl = nullptr;

// The wide properties of one control: its caption (or text) and its hint.
class TWideControlHelper : public TWideComponentHelper {
public:
    TWideControlHelper(TControl* AControl, TComponentList* List)
        : TWideComponentHelper(AControl, List), control(AControl) {}

    // The ANSI setters of the synchronisation: the caption through the
    // framework (its change handling runs), the hint straight into the field.
    void SetAnsiCaption(const AnsiString& Value) { control->SetText(Value); }
    void SetAnsiHint(const AnsiString& Value) { control->SetHint(Value); }

    TControl* control;
    WideString caption;
    WideString hint;
};

class TWinControlTrap;

// The process-wide lists of the unit. They go at the end of the program;
// windows still alive then keep a trap that passes nothing on.
struct ControlLists {
    TComponentList wideControlHelpers{true};
    TComponentList pendingTraps{false};
    ~ControlLists() { controlsFinalized = true; }
};

ControlLists& lists() {
    static ControlLists instance;
    return instance;
}

TWideControlHelper* lookupControlHelper(TControl* Control, bool Create) {
    auto* helper =
        static_cast<TWideControlHelper*>(FindWideComponentHelper(&lists().wideControlHelpers, Control));
    if (!helper && Create) helper = new TWideControlHelper(Control, &lists().wideControlHelpers);
    return helper;
}

// The message that came in through the window procedure and has not reached
// the control's WindowProc yet.
struct Win32Message {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool pending = false;
};

// One per subclassed window: the window procedure in front of the control's
// object instance, the default procedure behind its handlers, and a method
// in front of its WindowProc. Text the framework sends itself goes to the
// window through SendMessageA, so the system converts it to the window's UTF-16.
class TWinControlTrap : public TComponent {
public:
    explicit TWinControlTrap(TWinControl* AControl) : TComponent(nullptr), control(AControl) {
        AControl->FreeNotification(this);
        controlInstance = MakeObjectInstance(TWndMethod(AControl, &TWinControl::MainWndProc));
        trapInstance = MakeObjectInstance(TWndMethod(this, &TWinControlTrap::TrapWin32Proc));
        defTrapInstance = MakeObjectInstance(TWndMethod(this, &TWinControlTrap::TrapDefWin32Proc));
    }
    ~TWinControlTrap() override {
        FreeObjectInstance(defTrapInstance);
        FreeObjectInstance(trapInstance);
        FreeObjectInstance(controlInstance);
    }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove || AComponent != control) return;
        control = nullptr;
        if (nestingLevel > 0)
            freePending = true;
        else
            delete this;
    }

    void SubClass(bool IdeWindow);
    bool IsInWindowProcChain();

    WNDPROC controlInstance = nullptr;
    WNDPROC trapInstance = nullptr;
    WNDPROC defTrapInstance = nullptr;
    TWinControl* control;
    HWND handle = nullptr;
    WNDPROC priorWindowProc = nullptr;
    WNDPROC priorDefWindowProc = nullptr;
    TWndMethod priorMethod;
    Win32Message lastWin32Message;
    Integer nestingLevel = 0;
    bool ideWindow = false;
    bool freePending = false;
    bool probeActive = false;
    bool probeFoundNull = false;

private:
    void TrapWin32Proc(TMessage& Message);
    void TrapWindowProc(TMessage& Message);
    void TrapDefWin32Proc(TMessage& Message);
    bool takeFromWindow(const TMessage& Message);
    bool deliveredByWindow(const TMessage& Message) const;
    void unSubClass();
};

// The trap of Control among the pending ones (searched from the end), or a
// new one; with Requeue it goes (back) to the end of the pending list.
TWinControlTrap* trapOf(TWinControl* Control, bool Requeue) {
    TComponentList& pending = lists().pendingTraps;
    TWinControlTrap* trap = nullptr;
    for (Integer i = pending.Count() - 1; i >= 0 && !trap; --i) {
        auto* candidate = static_cast<TWinControlTrap*>(pending.Items(i));
        if (candidate->control == Control) trap = candidate;
    }
    if (!trap) trap = new TWinControlTrap(Control);
    if (Requeue) {
        pending.Extract(trap);
        pending.Add(trap);
    }
    return trap;
}

bool TWinControlTrap::IsInWindowProcChain() {
    if (control->WindowProc.SameCode(TWndMethod(control, &TControl::WndProc))) return false;
    if (control->WindowProc.SameCode(TWndMethod(this, &TWinControlTrap::TrapWindowProc))) return true;
    // Someone hooked in front: a null message tells whether it reaches us.
    probeActive = true;
    probeFoundNull = false;
    TMessage probe;
    control->WindowProc(probe);
    return probeFoundNull;
}

void TWinControlTrap::SubClass(bool IdeWindow) {
    lists().pendingTraps.Extract(this);
    handle = control->WindowHandle();
    priorWindowProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC));
    priorDefWindowProc = control->DefWndProc();
    SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(trapInstance));
    control->SetDefWndProc(defTrapInstance);
    if (!IsInWindowProcChain()) {
        priorMethod = control->WindowProc;
        control->WindowProc = TWndMethod(this, &TWinControlTrap::TrapWindowProc);
    }
    ideWindow = IdeWindow;
}

// The previous record comes back afterwards, so that a message sent while
// another is being handled does not hide the outer one.
void TWinControlTrap::TrapWin32Proc(TMessage& Message) {
    if (controlsFinalized) {
        if (Message.Msg == WM_DESTROY && control) control->SetWindowHandle(nullptr);
        return;
    }
    const Win32Message outer = lastWin32Message;
    ++nestingLevel;
    lastWin32Message = {Message.Msg, Message.WParam, Message.LParam, true};
    try {
        Message.Result =
            CallWindowProcW(priorWindowProc, handle, Message.Msg, Message.WParam, Message.LParam);
    } catch (...) {
        lastWin32Message = outer;
        --nestingLevel;
        throw;
    }
    lastWin32Message = outer;
    if (--nestingLevel == 0 && freePending) delete this;
}

// Only that very message (number and parameters) counts as the window's own:
// a text message the framework performs on itself while the window's message
// is on its way holds an ANSI buffer.
bool TWinControlTrap::takeFromWindow(const TMessage& Message) {
    const bool fromWindow = lastWin32Message.pending && lastWin32Message.msg == Message.Msg &&
                            lastWin32Message.wParam == Message.WParam &&
                            lastWin32Message.lParam == Message.LParam;
    if (fromWindow) lastWin32Message.pending = false;
    return fromWindow;
}

void TWinControlTrap::TrapWindowProc(TMessage& Message) {
    if (probeActive && Message.Msg == 0) probeFoundNull = true;
    if (!control->HandleAllocated()) {
        control->WndProc(Message);
        return;
    }
    const bool fromWindow = takeFromWindow(Message);
    if (Message.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(Message);
    if (IsTextMessage(Message.Msg) && !fromWindow) {
        Message.Result = SendMessageA(handle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    if (Message.Msg == WM_CHAR) MakeWMCharMsgSafeForAnsi(Message);
    priorMethod(Message);
}

// Whether the window's procedure is delivering this very message now.
bool TWinControlTrap::deliveredByWindow(const TMessage& Message) const {
    return nestingLevel > 0 && lastWin32Message.msg == Message.Msg &&
           lastWin32Message.wParam == Message.WParam && lastWin32Message.lParam == Message.LParam;
}

void TWinControlTrap::TrapDefWin32Proc(TMessage& Message) {
    // The framework's destructor takes WindowProc back (so this trap's
    // TrapWindowProc is passed by) and then reads the text with an ANSI
    // buffer: a text message that is not the window's own goes through the
    // ANSI entry point here too, or UTF-16 would overrun the buffer.
    if (IsTextMessage(Message.Msg) && !deliveredByWindow(Message)) {
        Message.Result = SendMessageA(handle, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    switch (Message.Msg) {
    case WM_NOTIFYFORMAT: {
        const auto window = reinterpret_cast<HWND>(Message.WParam);
        const bool wide = Win32PlatformIsUnicode &&
                          (IsWindowUnicode(window) ||
                           (unicodeCreationControl && unicodeCreationControl->WindowHandle() == window));
        Message.Result = wide ? NFR_UNICODE : NFR_ANSI;
        return;
    }
    case WM_CHAR:
        RestoreWMCharMsg(Message);
        break;
    case WM_IME_CHAR:
        if (!Win32PlatformIsXP) {
            Message.Result = SendMessageW(handle, WM_CHAR, Message.WParam, Message.LParam);
            return;
        }
        break;
    default:
        break;
    }
    const WNDPROC defaultProc = priorDefWindowProc;
    const HWND window = handle;
    if (Message.Msg == WM_DESTROY) unSubClass();
    Message.Result = CallWindowProcW(defaultProc, window, Message.Msg, Message.WParam, Message.LParam);
}

// The text survives in the side object until the next window; the trap
// waits among the pending ones for that window.
void TWinControlTrap::unSubClass() {
    const bool controlGoes = control->ComponentState().Contains(csDestroying);
    if (!controlGoes) TntControl_SetStoredText(control, TntControl_GetText(control));
    if (control->WindowProc.SameCode(TWndMethod(this, &TWinControlTrap::TrapWindowProc)))
        control->WindowProc = priorMethod;
    control->SetDefWndProc(priorDefWindowProc);
    SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(priorWindowProc));
    if (ideWindow)
        freePending = true;
    else if (!controlGoes)
        lists().pendingTraps.Add(this);
}

// The first message of every Unicode window: the control that the framework
// is creating gets its handle, and the window its trap's object instance.
LRESULT unicodeInitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWinControl* control = CreationControl;
    if (!control) return DefWindowProcW(Window, Msg, WParam, LParam);
    control->SetWindowHandle(Window);
    TWinControlTrap* trap = trapOf(control, true);
    SetWindowLongPtrW(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(trap->controlInstance));
    if ((GetWindowLongPtrW(Window, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrW(Window, GWLP_ID) == 0)
        SetWindowLongPtrW(Window, GWLP_ID, reinterpret_cast<LONG_PTR>(Window));
    SetPropA(Window, MAKEINTATOM(ControlAtom()), control);
    SetPropA(Window, MAKEINTATOM(WindowAtom()), control);
    CreationControl = nullptr;
    return CallWindowProcW(trap->controlInstance, Window, Msg, WParam, LParam);
}

WNDPROC initialProcedure(bool IdeWindow) {
    return IdeWindow ? TWinControl::InitialWindowProc() : WindowProcFromFunction(&unicodeInitWndProc);
}

bool isWindowed(TControl* Control) {
    return dynamic_cast<TWinControl*>(Control) != nullptr;
}

// The ANSI road, and windows that are not Unicode windows.
bool usesAnsiText(TControl* Control) {
    if (!Win32PlatformIsUnicode) return true;
    auto* winControl = dynamic_cast<TWinControl*>(Control);
    return winControl && winControl->HandleAllocated() && !IsWindowUnicode(winControl->WindowHandle());
}

WideString unicodeWindowText(HWND Window) {
    const int length = GetWindowTextLengthW(Window);
    WideString text(static_cast<std::size_t>(length) + 1, u'\0');
    GetWindowTextW(Window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The hint window a hint was marked for, while its hint is being shown.
const THintInfo* markedHintInfo = nullptr;

bool isWideHintWindowClass(TClass Class) {
    return Class && Class->InheritsFrom(ClassOf<TTntCustomHintWindow>());
}

bool isMarkedWideHint(void* Data) {
    return Win32PlatformIsUnicode && Data && Data == markedHintInfo && markedHintInfo->HintData == Data &&
           isWideHintWindowClass(markedHintInfo->HintWindowClass);
}

// The framework adds " (shortcut)" to the hint of a control whose action has a shortcut.
WideString shortCutDecoratedHint(const THintInfo& Info, const WideString& ShortHint) {
    if (!Application->HintShortCuts() || !Info.HintControl) return {};
    auto* action = dynamic_cast<TCustomAction*>(Info.HintControl->Action());
    if (!action || action->ShortCut() == scNone) return {};
    const AnsiString ansiForm =
        Format("%s (%s)", {WideToAnsi(ShortHint), ShortCutToText(action->ShortCut())});
    if (Info.HintStr != ansiForm) return {};
    return Tnt_WideFormat(u"%s (%s)", {ShortHint, WideShortCutToText(action->ShortCut())});
}

WideString wideTextOfMarkedHint(const THintInfo& Info) {
    const WideString hint = AnsiToWide(Info.HintStr);
    if (hint.empty()) return hint;
    const WideString shortHint = WideGetShortHint(WideGetHint(Info.HintControl));
    if (WideToAnsi(shortHint) == Info.HintStr) return shortHint;
    const WideString decorated = shortCutDecoratedHint(Info, shortHint);
    return decorated.empty() ? hint : decorated;
}

void requireWMChar(const TMessage& Message) {
    Assert(Message.Msg == WM_CHAR);
}

Word charCode(const TMessage& Message) {
    return LOWORD(Message.WParam);
}
Word spareWord(const TMessage& Message) {
    return HIWORD(Message.WParam);
}
void setCharWords(TMessage& Message, Word Code, Word Spare) {
    Message.WParam = MAKEWPARAM(Code, Spare);
}

} // namespace

// ---- Window creation ----------------------------------------------------------------------

void RegisterUnicodeClass(const TCreateParams& Params, WideString& WideWinClassName, bool IdeWindow) {
    WideWinClassName = AnsiToWide(Params.WinClassName + SUnicodeClassSuffix);
    const WNDPROC initial = initialProcedure(IdeWindow);
    const HINSTANCE instance = HInstance();
    WNDCLASSW existing;
    if (GetClassInfoW(instance, WideWinClassName.c_str(), &existing)) {
        if (existing.lpfnWndProc == initial) return;
        if (!UnregisterClassW(WideWinClassName.c_str(), instance)) RaiseLastOSError();
    }
    const WNDCLASSA& source = Params.WindowClass;
    const bool menuIsNumber = Tnt_Is_IntResource(source.lpszMenuName);
    const WideString menuName =
        menuIsNumber || !source.lpszMenuName ? WideString() : AnsiToWide(source.lpszMenuName);
    WNDCLASSW windowClass;
    windowClass.style = source.style;
    windowClass.lpfnWndProc = initial;
    windowClass.cbClsExtra = source.cbClsExtra;
    windowClass.cbWndExtra = source.cbWndExtra;
    windowClass.hInstance = instance;
    windowClass.hIcon = source.hIcon;
    windowClass.hCursor = source.hCursor;
    windowClass.hbrBackground = source.hbrBackground;
    windowClass.lpszMenuName = menuIsNumber          ? reinterpret_cast<LPCWSTR>(source.lpszMenuName)
                               : source.lpszMenuName ? menuName.c_str()
                                                     : nullptr;
    windowClass.lpszClassName = WideWinClassName.c_str();
    if (!RegisterClassW(&windowClass)) RaiseLastOSError();
}

void CreateUnicodeHandle(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass,
                         bool IdeWindow) {
    if (!Win32PlatformIsUnicode) {
        Control->SetWindowHandle(CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(),
                                                 Params.Caption.c_str(), Params.Style, Params.X, Params.Y,
                                                 Params.Width, Params.Height, Params.WndParent, nullptr,
                                                 Params.WindowClass.hInstance, Params.Param));
        return;
    }
    WNDCLASSW subClassInfo;
    if (!SubClass.empty() && GetClassInfoW(Params.WindowClass.hInstance, SubClass.c_str(), &subClassInfo))
        Control->SetDefWndProc(subClassInfo.lpfnWndProc);
    else
        Control->SetDefWndProc(WindowProcFromFunction(&DefWindowProcW));
    WideString className;
    RegisterUnicodeClass(Params, className, IdeWindow);
    unicodeCreationControl = Control;
    HWND window = nullptr;
    try {
        window = CreateWindowExW(Params.ExStyle, className.c_str(), nullptr, Params.Style, Params.X, Params.Y,
                                 Params.Width, Params.Height, Params.WndParent, nullptr, HInstance(),
                                 Params.Param);
    } catch (...) {
        unicodeCreationControl = nullptr;
        throw;
    }
    unicodeCreationControl = nullptr;
    if (!window) {
        // A window that refused creation is gone: the control must not keep
        // the handle its first message gave it.
        const DWORD error = GetLastError();
        Control->SetWindowHandle(nullptr);
        RaiseLastOSError(error);
    }
    Control->SetWindowHandle(window);
    if (IdeWindow) SetWindowLongPtrW(window, GWLP_WNDPROC, GetWindowLongPtrA(window, GWLP_WNDPROC));
    SubClassUnicodeControl(Control, Params.Caption.c_str(), IdeWindow);
}

void SubClassUnicodeControl(TWinControl* Control, const char* Caption, bool IdeWindow) {
    if (!IsWindowUnicode(Control->WindowHandle())) throw ETntInternalError(SControlNotUnicode);
    trapOf(Control, false)->SubClass(IdeWindow);
    TntControl_SetText(Control, TntControl_GetStoredText(Control, AnsiToWide(Caption ? Caption : "")));
}

namespace {

// The creation steps a windowed control keeps to itself, reached as the
// control's own class would reach them.
class WinControlSteps : public TWinControl {
public:
    static void CreateParamsOf(TWinControl* Control, TCreateParams& Params) {
        (Control->*&WinControlSteps::CreateParams)(Params);
    }
    static void AdjustSizeOf(TWinControl* Control) { (Control->*&WinControlSteps::AdjustSize)(); }
    static void DestroyHandleOf(TWinControl* Control) { (Control->*&WinControlSteps::DestroyHandle)(); }
};

} // namespace

void ReCreateUnicodeWnd(TWinControl* Control, const WideString& SubClass, bool IdeWindow) {
    const bool wasFocused = Control->Focused();
    WinControlSteps::DestroyHandleOf(Control);
    TCreateParams params;
    WinControlSteps::CreateParamsOf(Control, params);
    CreationControl = Control;
    try {
        CreateUnicodeHandle(Control, params, SubClass, IdeWindow);
    } catch (...) {
        CreationControl = nullptr;
        throw;
    }
    Control->Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Control->Font()->Handle()), 1);
    if (Control->AutoSize()) WinControlSteps::AdjustSizeOf(Control);
    Control->UpdateControlState();
    if (wasFocused && Control->WindowHandle()) SetFocus(Control->WindowHandle());
}

// ---- Text and hint ------------------------------------------------------------------------------

WideString TntControl_GetStoredText(TControl* Control, const WideString& Default) {
    TWideControlHelper* helper = lookupControlHelper(Control, false);
    return helper ? helper->caption : Default;
}

void TntControl_SetStoredText(TControl* Control, const WideString& Value) {
    lookupControlHelper(Control, true)->caption = Value;
    Control->SetText(WideToAnsi(Value));
}

WideString TntControl_GetText(TControl* Control) {
    if (usesAnsiText(Control)) return AnsiToWide(Control->Text());
    if (!isWindowed(Control)) {
        TWideControlHelper* helper = lookupControlHelper(Control, false);
        return helper ? GetSyncedWideString(helper->caption, Control->Text()) : AnsiToWide(Control->Text());
    }
    auto* winControl = static_cast<TWinControl*>(Control);
    if (winControl->HandleAllocated()) return unicodeWindowText(winControl->WindowHandle());
    return TntControl_GetStoredText(Control, AnsiToWide(Control->Text()));
}

void TntControl_SetText(TControl* Control, const WideString& Text) {
    if (usesAnsiText(Control)) {
        Control->SetText(WideToAnsi(Text));
        return;
    }
    if (!isWindowed(Control)) {
        TWideControlHelper* helper = lookupControlHelper(Control, true);
        SetSyncedWideString(Text, helper->caption, Control->Text(),
                            TSetAnsiStrEvent(helper, &TWideControlHelper::SetAnsiCaption));
        return;
    }
    auto* winControl = static_cast<TWinControl*>(Control);
    if (!winControl->HandleAllocated()) {
        TntControl_SetStoredText(Control, Text);
        return;
    }
    if (Text == TntControl_GetText(Control)) return;
    Tnt_SetWindowTextW(winControl->WindowHandle(), Text.c_str());
    Control->Perform(CM_TEXTCHANGED, 0, 0);
}

bool TntControl_IsCaptionStored(TControl* Control) {
    TControlActionLink* link = Control->ActionLink();
    return !link || !link->IsCaptionLinked();
}

bool TntControl_IsHintStored(TControl* Control) {
    TControlActionLink* link = Control->ActionLink();
    return !link || !link->IsHintLinked();
}

WideString TntControl_GetHint(TControl* Control) {
    if (!Win32PlatformIsUnicode) return AnsiToWide(Control->Hint());
    TWideControlHelper* helper = lookupControlHelper(Control, false);
    return helper ? GetSyncedWideString(helper->hint, Control->Hint()) : AnsiToWide(Control->Hint());
}

void TntControl_SetHint(TControl* Control, const WideString& Value) {
    if (!Win32PlatformIsUnicode) {
        Control->SetHint(WideToAnsi(Value));
        return;
    }
    TWideControlHelper* helper = lookupControlHelper(Control, true);
    SetSyncedWideString(Value, helper->hint, Control->Hint(),
                        TSetAnsiStrEvent(helper, &TWideControlHelper::SetAnsiHint));
}

WideString WideGetHint(TControl* Control) {
    for (TControl* control = Control; control; control = control->Parent()) {
        WideString hint = TntControl_GetHint(control);
        if (!hint.empty()) return hint;
    }
    return {};
}

WideString WideGetShortHint(const WideString& Hint) {
    const auto bar = Hint.find(u'|');
    return bar == WideString::npos ? Hint : Hint.substr(0, bar);
}

WideString WideGetLongHint(const WideString& Hint) {
    const auto bar = Hint.find(u'|');
    return bar == WideString::npos ? Hint : Hint.substr(bar + 1);
}

void WideListControl_AddItem(TCustomListControl* Control, const WideString& Item, TObject* AObject) {
    if (auto* wide = dynamic_cast<IWideCustomListControl*>(Control))
        wide->AddItem(Item, AObject);
    else
        Control->AddItem(WideToAnsi(Item), AObject);
}

// ---- Character messages -----------------------------------------------------------------------

bool IsTextMessage(UINT Msg) {
    return Msg == WM_SETTEXT || Msg == WM_GETTEXT || Msg == WM_GETTEXTLENGTH;
}

void MakeWMCharMsgSafeForAnsi(TMessage& Message) {
    requireWMChar(Message);
    Assert(spareWord(Message) == 0);
    if (charCode(Message) > 255) setCharWords(Message, 255, charCode(Message));
}

void RestoreWMCharMsg(TMessage& Message) {
    requireWMChar(Message);
    const bool carried = spareWord(Message) != 0 && charCode(Message) == 255;
    setCharWords(Message, carried ? spareWord(Message) : charCode(Message), 0);
}

WideChar GetWideCharFromWMCharMsg(const TMessage& Message) {
    requireWMChar(Message);
    const bool carried = spareWord(Message) != 0 && charCode(Message) == 255;
    return static_cast<WideChar>(carried ? spareWord(Message) : charCode(Message));
}

void SetWideCharForWMCharMsg(TMessage& Message, WideChar Char) {
    requireWMChar(Message);
    setCharWords(Message, Char, 0);
    MakeWMCharMsgSafeForAnsi(Message);
}

// ---- Hints ----------------------------------------------------------------------------------------

void ProcessCMHintShowMsg(TMessage& Message) {
    if (!Win32PlatformIsUnicode) return;
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    if (!info) return;
    if (info->HintWindowClass == ClassOf<THintWindow>())
        info->HintWindowClass = ClassOf<TTntCustomHintWindow>();
    else if (!isWideHintWindowClass(info->HintWindowClass))
        return;
    info->HintData = info;
    markedHintInfo = info;
    info->HintStr = WideToAnsi(WideGetShortHint(WideGetHint(info->HintControl)));
}

TTntCustomHintWindow::TTntCustomHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

WideString TTntCustomHintWindow::Caption() {
    return TntControl_GetText(this);
}

void TTntCustomHintWindow::SetCaption(const WideString& Value) {
    TntControl_SetText(this, Value);
}

void TTntCustomHintWindow::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

void TTntCustomHintWindow::CreateParams(TCreateParams& Params) {
    THintWindow::CreateParams(Params);
    if (Win32PlatformIsXP) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TTntCustomHintWindow::Paint() {
    if (suppressPaint_) return;
    if (!Win32PlatformIsUnicode) {
        THintWindow::Paint();
        return;
    }
    TRect rect = ClientRect();
    rect.Left += HintTextInset;
    rect.Top += HintTextInset;
    Canvas()->Font()->SetColor(Screen->HintFont()->Color());
    const WideString text = Caption();
    Tnt_DrawTextW(Canvas()->Handle(), text.c_str(), -1, &rect,
                  DT_LEFT | DT_NOPREFIX | DT_WORDBREAK |
                      static_cast<UINT>(DrawTextBiDiModeFlagsReadingOnly()));
}

void TTntCustomHintWindow::Dispatch(TMessage& Message) {
    if (Message.Msg != CM_TEXTCHANGED) {
        THintWindow::Dispatch(Message);
        return;
    }
    if (suppressResize_) return;
    const WideString text = Caption();
    SetBounds(Left(), Top(), WideCanvasTextWidth(Canvas(), text) + HintSizeExtra,
              WideCanvasTextHeight(Canvas(), text) + HintSizeExtra);
}

void TTntCustomHintWindow::ActivateHint(TRect Rect, const AnsiString& AHint) {
    suppressResize_ = true;
    try {
        THintWindow::ActivateHint(Rect, AHint);
    } catch (...) {
        suppressResize_ = false;
        throw;
    }
    suppressResize_ = false;
}

void TTntCustomHintWindow::ActivateHintData(TRect Rect, const AnsiString& AHint, void* AData) {
    if (!isMarkedWideHint(AData)) {
        THintWindow::ActivateHintData(Rect, AHint, AData);
        return;
    }
    suppressResize_ = suppressPaint_ = true;
    try {
        SetCaption(wideTextOfMarkedHint(*static_cast<THintInfo*>(AData)));
        THintWindow::ActivateHintData(Rect, AHint, AData);
    } catch (...) {
        suppressResize_ = suppressPaint_ = false;
        throw;
    }
    suppressResize_ = suppressPaint_ = false;
    Invalidate();
}

TRect TTntCustomHintWindow::calcWideHintRect(Integer MaxWidth, const WideString& AHint) {
    TRect rect{0, 0, MaxWidth, 0};
    Tnt_DrawTextW(Canvas()->Handle(), AHint.c_str(), -1, &rect,
                  DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX |
                      static_cast<UINT>(DrawTextBiDiModeFlagsReadingOnly()));
    rect.Right += HintExtraWidth;
    rect.Bottom += HintExtraHeight;
    return rect;
}

TRect TTntCustomHintWindow::CalcHintRect(Integer MaxWidth, const AnsiString& AHint, void* AData) {
    if (!isMarkedWideHint(AData)) return THintWindow::CalcHintRect(MaxWidth, AHint, AData);
    return calcWideHintRect(MaxWidth, wideTextOfMarkedHint(*static_cast<THintInfo*>(AData)));
}

void TTntHintWindow::ActivateHint(TRect Rect, const WideString& AHint) {
    suppressResize_ = true;
    try {
        SetCaption(AHint);
        THintWindow::ActivateHint(Rect, WideToAnsi(AHint));
    } catch (...) {
        suppressResize_ = false;
        throw;
    }
    suppressResize_ = false;
}

void TTntHintWindow::ActivateHintData(TRect Rect, const WideString& AHint, void* AData) {
    suppressResize_ = suppressPaint_ = true;
    try {
        SetCaption(AHint);
        THintWindow::ActivateHintData(Rect, WideToAnsi(AHint), AData);
    } catch (...) {
        suppressResize_ = suppressPaint_ = false;
        throw;
    }
    suppressResize_ = suppressPaint_ = false;
    Invalidate();
}

TRect TTntHintWindow::CalcHintRect(Integer MaxWidth, const WideString& AHint, void*) {
    return calcWideHintRect(MaxWidth, AHint);
}

namespace {
const TClass tntCustomHintWindowClass = DescribeClass<TTntCustomHintWindow, THintWindow>();
const TClass tntHintWindowClass = DescribeClass<TTntHintWindow, TTntCustomHintWindow>();
} // namespace
