#include "unicode/TntForms.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Menus.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/Hooks.h"
#include "platform/win/Messages.h"
#include "platform/win/Profile.h"
#include "platform/win/Windows.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdActns.h"
#include "unicode/TntSystem.h"

#include <iostream>
#include <memory>
#include <typeinfo>

DWORD _SettingChangeTime = 0;

namespace {

constexpr Word MenuClosedFlags = 0xFFFF;
// A scroll box follows size changes this deep (exclusive).
constexpr Integer DeepestSizeNesting = 32;

std::unique_ptr<TTntApplication>& tntApplicationInstance() {
    static std::unique_ptr<TTntApplication> instance;
    return instance;
}

HHOOK messageHook = nullptr;
Cardinal manualPeekCounter = 0;

LRESULT getMessageHookProc(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code >= 0 && WParam == PM_REMOVE && manualPeekCounter == 0 && tntApplicationInstance()) {
        auto* msg = reinterpret_cast<MSG*>(LParam);
        if (tntApplicationInstance()->ProcessMessage(*msg)) msg->message = WM_NULL;
    }
    return CallNextHookEx(messageHook, Code, WParam, LParam);
}

// Owns an action whose update (at idle time, as the framework updates the
// actions of a form's controls) refreshes the wide application hint.
class TTntAppIdleEventControl : public TControl {
public:
    explicit TTntAppIdleEventControl(TComponent* AOwner) : TControl(AOwner) {
        auto* action = new TAction(this);
        action->OnUpdate = TNotifyEvent(this, &TTntAppIdleEventControl::onIdle);
        action->SetOnExecute(TNotifyEvent(this, &TTntAppIdleEventControl::onIdle));
        SetControlAction(this, action);
    }

private:
    void onIdle(TObject*) { TntApplication()->DoIdle(); }
};

WideString windowTextThroughDefWindowProc(HWND Window) {
    const auto length = static_cast<std::size_t>(DefWindowProcW(Window, WM_GETTEXTLENGTH, 0, 0));
    WideString text(length + 1, u'\0');
    DefWindowProcW(Window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

// Alt with a letter beyond the ANSI code page: the framework's key step
// (CM_DIALOGCHAR with the 16-bit character) before the menu bar sees it.
bool isWideAccelerator(MSG& Msg) {
    return Msg.message == WM_SYSCHAR && Application->IsKeyMsg(Msg);
}

} // namespace

// ---- TTntApplication -------------------------------------------------------------------------

TTntApplication::TTntApplication(TComponent* AOwner) : TComponent(AOwner) {
    Application->HookMainWindow(TWindowHook(this, &TTntApplication::WndProc));
    settingChangeTime_ = GetTickCount();
    _SettingChangeTime = settingChangeTime_;
}

TTntApplication::~TTntApplication() {
    delete idleEventControl_;
    Application->UnhookMainWindow(TWindowHook(this, &TTntApplication::WndProc));
}

void TTntApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == idleEventControl_) idleEventControl_ = nullptr;
}

WideString TTntApplication::Hint() {
    return GetSyncedWideString(hint_, Application->Hint());
}

void TTntApplication::SetHint(const WideString& Value) {
    SetSyncedWideString(Value, hint_, Application->Hint(),
                        TSetAnsiStrEvent(this, &TTntApplication::setAnsiHint));
}

WideString TTntApplication::Title() {
    if (Application->HandleAllocated() && Win32PlatformIsUnicode)
        return windowTextThroughDefWindowProc(Application->Handle());
    return GetSyncedWideString(title_, Application->Title());
}

void TTntApplication::SetTitle(const WideString& Value) {
    if (!Application->HandleAllocated() || !Win32PlatformIsUnicode) {
        SetSyncedWideString(Value, title_, Application->Title(),
                            TSetAnsiStrEvent(this, &TTntApplication::setAnsiTitle));
        return;
    }
    if (Value == Title() && title_.empty()) return;
    DefWindowProcW(Application->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
    title_.clear();
}

WideString TTntApplication::ExeName() const {
    return WideParamStr(0);
}

void TTntApplication::DoIdle() {
    SetHint(WideGetLongHint(WideGetHint(Application->MouseControl())));
}

bool TTntApplication::IsDlgMsg(MSG& Msg) {
    const HWND dialog = Application->DialogHandle();
    if (!dialog) return false;
    return IsWindowUnicode(dialog) ? IsDialogMessageW(dialog, &Msg) != FALSE
                                   : IsDialogMessageA(dialog, &Msg) != FALSE;
}

void TTntApplication::checkMainForm() {
    if (mainFormChecked_ || !Application->MainForm()) return;
    TCustomForm* mainForm = Application->MainForm();
    if (!dynamic_cast<TTntForm*>(mainForm)) {
        idleEventControl_ = new TTntAppIdleEventControl(mainForm);
        idleEventControl_->FreeNotification(this);
        idleEventControl_->SetParent(mainForm);
    }
    mainFormChecked_ = true;
}

bool TTntApplication::ProcessMessage(MSG& Msg) {
    checkMainForm();
    const HWND dialog = Application->DialogHandle();
    if ((Msg.message != WM_CHAR && Msg.message != WM_SYSCHAR) || static_cast<Integer>(Msg.wParam) < 256 ||
        !IsWindowUnicode(Msg.hwnd) || (dialog && !IsWindowUnicode(dialog)))
        return false;
    bool handled = false;
    if (Application->OnMessage) Application->OnMessage(Msg, handled);
    Application->CancelHint();
    if (!handled && !isWideAccelerator(Msg) && !IsDlgMsg(Msg)) DispatchMessageW(&Msg);
    return true;
}

// The framework's own hint action (not a descendant) carrying the ANSI form
// of the wide hint is replaced by a wide one, so that a status bar showing
// hints gets the UTF-16 text.
bool TTntApplication::executeHintAction(TMessage& Message) {
    auto* action = reinterpret_cast<TBasicAction*>(Message.LParam);
    if (!action || typeid(*action) != typeid(THintAction)) return false;
    if (static_cast<THintAction*>(action)->Hint() != WideToAnsi(Hint())) return false;
    TTntHintAction wideAction(nullptr);
    wideAction.SetHint(Hint());
    wideAction.Execute();
    Message.Result = 1;
    return true;
}

bool TTntApplication::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_WININICHANGE:
        settingChangeTime_ = GetTickCount();
        _SettingChangeTime = settingChangeTime_;
        return false;
    case WM_CREATE:
        if (!title_.empty()) SetTitle(WideString(title_));
        return false;
    case CM_ACTIONEXECUTE:
        return executeHintAction(Message);
    default:
        return false;
    }
}

TTntApplication* TntApplication() {
    std::unique_ptr<TTntApplication>& instance = tntApplicationInstance();
    if (!instance) instance = std::make_unique<TTntApplication>(nullptr);
    return instance.get();
}

namespace {
constexpr const char* FontSubstitutesSection = "FontSubstitutes";
constexpr const char* ShellDialogFont = "MS Shell Dlg";
constexpr const char* ShellDialog2Font = "MS Shell Dlg 2";
constexpr const char* ShellDialogFontStandIn = "MS Sans Serif";
constexpr const char* ShellDialog2FontStandIn = "Tahoma";
constexpr UINT SettingChangeTimeout = 250;
// Longer than any face name, so that a substitute is never cut.
constexpr DWORD SubstituteBufferSize = 256;

AnsiString fontSubstitute(const char* face) {
    char buffer[SubstituteBufferSize];
    const DWORD length = GetProfileStringA(FontSubstitutesSection, face, "", buffer, SubstituteBufferSize);
    return AnsiString(buffer, length);
}

// Every window learns that the substitutes changed, so that it can pick up the new fonts.
void announceSubstitutesChange() {
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(FontSubstitutesSection),
                        SMTO_NORMAL, SettingChangeTimeout, nullptr);
}

void ensureFontSubstitute(const char* face, const AnsiString& standIn) {
    if (!fontSubstitute(face).empty()) return;
    WriteProfileStringA(FontSubstitutesSection, face, standIn.c_str());
    announceSubstitutesChange();
}

// "MS Shell Dlg 2" stands for Tahoma when the screen has it, else for what "MS Shell Dlg" stands for.
void ensureShellDialogSubstitutes() {
    ensureFontSubstitute(ShellDialogFont, ShellDialogFontStandIn);
    ensureFontSubstitute(ShellDialog2Font, Screen->Fonts()->IndexOf(ShellDialog2FontStandIn) >= 0
                                               ? AnsiString(ShellDialog2FontStandIn)
                                               : fontSubstitute(ShellDialogFont));
}
} // namespace

// This system is never a library loaded by a development environment, and its
// platform is never Windows 9x, so neither of their cases arises here.
void InitTntEnvironment() {
    ensureShellDialogSubstitutes();
    SetDefaultNewFontName(fontSubstitute(ShellDialog2Font));
    HintWindowClass = ClassOf<TTntHintWindow>();
}

void InitializeTntForms() {
    TntApplication();
    if (messageHook) return;
    messageHook = SetWindowsHookExW(WH_GETMESSAGE, &getMessageHookProc, nullptr, GetCurrentThreadId());
    if (!messageHook) RaiseLastOSError();
}

// Tear-down never throws: a hook that will not go is reported.
void FinalizeTntForms() {
    if (messageHook && !UnhookWindowsHookEx(messageHook))
        std::cerr << "Could not remove the message hook of the Unicode controls (error " << GetLastError()
                  << ")\n";
    messageHook = nullptr;
    tntApplicationInstance().reset();
}

void EnableManualPeekMessageWithRemove() {
    ++manualPeekCounter;
}

void DisableManualPeekMessageWithRemove() {
    if (manualPeekCounter > 0) --manualPeekCounter;
}

bool IsWideCharAccel(Word CharCode, const WideString& Caption) {
    const WideString hotkey = WideGetHotkey(Caption);
    const WideChar character = KeyUnicode(CharCode);
    return !hotkey.empty() && LocaleCompareWide(WideString(1, character), hotkey, true) == 0;
}

// ---- TTntForm ---------------------------------------------------------------------------------------

WideString TTntForm::Caption() {
    return TntControl_GetText(this);
}

void TTntForm::SetCaption(const WideString& Value) {
    TntControl_SetText(this, Value);
}

bool TTntForm::IsCaptionStored() const {
    return TntControl_IsCaptionStored(const_cast<TTntForm*>(this));
}

void TTntForm::CreateWindowHandle(const TCreateParams& Params) {
    if (!Win32PlatformIsUnicode) {
        TForm::CreateWindowHandle(Params);
        return;
    }
    TCreateParams params = Params;
    params.ExStyle &= ~WS_EX_LAYERED;
    CreateUnicodeHandle(this, params, WideString());
}

void TTntForm::UpdateActions() {
    TTntHinted::UpdateActions();
    TntApplication()->DoIdle();
}

// The system loses a wide menu's first caption when the reading order
// changes or the window moves: it is written again.
void TTntForm::Dispatch(TMessage& Message) {
    TTntHinted::Dispatch(Message);
    if (Message.Msg == CM_BIDIMODECHANGED) {
        for (Integer i = 0; i < ComponentCount(); ++i)
            if (auto* menu = dynamic_cast<TMenu*>(Components(i))) FixMenuBiDiProblem(menu);
    } else if (Message.Msg == WM_WINDOWPOSCHANGING) {
        if (TMainMenu* menu = Menu()) FixMenuBiDiProblem(menu);
    }
}

void TTntForm::WMMenuSelect(TMessage& Message) {
    TMainMenu* menu = GetFormMenu(this);
    if (!menu) return;
    const Word flags = HIWORD(Message.WParam);
    const auto menuHandle = reinterpret_cast<HMENU>(Message.LParam);
    TMenuItem* item = nullptr;
    if (flags != MenuClosedFlags || LOWORD(Message.WParam) != 0) {
        if (flags & MF_POPUP)
            item = menu->FindItem(reinterpret_cast<UINT_PTR>(GetSubMenu(menuHandle, LOWORD(Message.WParam))),
                                  fkHandle);
        else
            item = menu->FindItem(LOWORD(Message.WParam), fkCommand);
    }
    TntApplication()->SetHint(item ? WideGetLongHint(WideGetMenuItemHint(item)) : WideString());
}

// ---- TTntScrollBox, TTntCustomFrame -------------------------------------------------------------

void TTntScrollBox::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

void TTntScrollBox::Dispatch(TMessage& Message) {
    if (Message.Msg != WM_SIZE) {
        TTntHinted::Dispatch(Message);
        return;
    }
    ++sizeNesting_;
    try {
        if (sizeNesting_ < DeepestSizeNesting) TTntHinted::Dispatch(Message);
    } catch (...) {
        --sizeNesting_;
        throw;
    }
    --sizeNesting_;
}

void TTntCustomFrame::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

namespace {
const TClass tntFormClass = DescribeClass<TTntForm, TForm>([](TClassBuilder<TTntForm>& c) {
    c.Property("Caption", &TTntForm::Caption, &TTntForm::SetCaption).Stored(&TTntForm::IsCaptionStored);
    c.Property("Hint", &TTntForm::Hint, &TTntForm::SetHint).Stored(&TTntForm::IsHintStored);
});
const TClass tntScrollBoxClass =
    DescribeClass<TTntScrollBox, TScrollBox>([](TClassBuilder<TTntScrollBox>& c) {
        c.Property("Hint", &TTntScrollBox::Hint, &TTntScrollBox::SetHint)
            .Stored(&TTntScrollBox::IsHintStored);
    });
const TClass tntCustomFrameClass = DescribeClass<TTntCustomFrame, TCustomFrame>();
const TClass tntFrameClass = DescribeClass<TTntFrame, TTntCustomFrame>([](TClassBuilder<TTntFrame>& c) {
    c.Property("Hint", &TTntFrame::Hint, &TTntFrame::SetHint).Stored(&TTntFrame::IsHintStored);
});

struct RegisterTntFormClasses {
    RegisterTntFormClasses() {
        RegisterClass(tntScrollBoxClass);
        RegisterClass(tntFrameClass);
    }
} registerTntFormClasses;
} // namespace
