#include "platform/vcl/Forms.h"

#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Resources.h"
#include "platform/vcl/StdActns.h"
#include "platform/vcl/Thread.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/DibFormat.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/ResourceImages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <span>

TClass HintWindowClass = nullptr;

namespace {

// WM_MENUSELECT's flags when the menu closes.
constexpr Word MenuClosedFlags = 0xFFFF;

constexpr const char* SParentRequired = "Control '%s' has no parent window";
constexpr const char* SCannotShowModal = "Cannot make a visible window modal";
constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";
constexpr const char* SResNotFound = "Resource %s not found";
constexpr const char* SNoMDIForm = "Cannot create form. No MDI forms are currently active";
constexpr const char* ApplicationClassName = "TApplication";

constexpr UINT_PTR HintShowTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;

// A form made with the framework's defaults.
constexpr Integer DefaultFormWidth = 320;
constexpr Integer DefaultFormHeight = 240;
constexpr LONG BoldWeight = 700;

bool pointInRect(const TRect& Rect, const TPoint& Point) {
    return Point.x >= Rect.Left && Point.x < Rect.Right && Point.y >= Rect.Top && Point.y < Rect.Bottom;
}

// The hint of a control, or of the nearest parent that has one.
AnsiString hintOf(TControl* Control) {
    for (; Control; Control = Control->Parent())
        if (!Control->Hint().empty()) return Control->Hint();
    return AnsiString();
}

// The control that shows hints for Control: itself or the nearest parent with ShowHint.
TControl* hintControlOf(TControl* Control) {
    while (Control && !Control->ShowHint())
        Control = Control->Parent();
    return Control;
}

void assignLogFont(TFont* Font, const LOGFONTA& LogFont) {
    Font->SetName(LogFont.lfFaceName);
    Font->SetHeight(LogFont.lfHeight);
    TFontStyles style;
    if (LogFont.lfWeight >= BoldWeight) style.Include(fsBold);
    if (LogFont.lfItalic) style.Include(fsItalic);
    if (LogFont.lfUnderline) style.Include(fsUnderline);
    if (LogFont.lfStrikeOut) style.Include(fsStrikeOut);
    Font->SetStyle(style);
    Font->SetCharset(LogFont.lfCharSet);
}

// The windows of the program that a modal form disables meanwhile.
struct DisabledWindows {
    HWND keep = nullptr;
    std::vector<HWND> windows;
};

BOOL disableWindow(HWND Window, LPARAM Param) {
    auto* disabled = reinterpret_cast<DisabledWindows*>(Param);
    if (Window != disabled->keep && IsWindowVisible(Window) && IsWindowEnabled(Window)) {
        disabled->windows.push_back(Window);
        EnableWindow(Window, FALSE);
    }
    return TRUE;
}

} // namespace

// ---- Parent forms ------------------------------------------------------------------------

TCustomForm* GetParentForm(TControl* Control) {
    if (!Control) return nullptr;
    while (Control->Parent())
        Control = Control->Parent();
    return dynamic_cast<TCustomForm*>(Control);
}

TCustomForm* ValidParentForm(TControl* Control) {
    TCustomForm* form = GetParentForm(Control);
    if (!form) throw EInvalidOperation(Format(SParentRequired, {Control ? Control->Name() : AnsiString()}));
    return form;
}

// ---- TCustomForm: life -----------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* AOwner)
    : TScrollingWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>()),
      icon_(std::make_unique<TIcon>()) {
    controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    canvas_->SetControl(this);
    icon_->OnChange = TNotifyEvent(this, &TCustomForm::iconChanged);
    width_ = DefaultFormWidth;
    height_ = DefaultFormHeight;
    visible_ = false;
    SetColor(clBtnFace);
    SetParentFont(false);
    Screen->addForm(this);
}

TCustomForm::~TCustomForm() {
    icon_->OnChange = nullptr;
    canvas_->SetControl(nullptr);
    Screen->removeForm(this);
}

void TCustomForm::LoadFormResource() {
    if (resourceLoaded_) return;
    resourceLoaded_ = true;
    if (ClassTypeOf(this) == ClassOf<TForm>()) return;
    formState_.Include(fsCreating);
    try {
        if (!InitInheritedComponent(this, ClassOf<TForm>()))
            throw EResNotFound(Format(SResNotFound, {ClassName()}));
    } catch (...) {
        formState_.Exclude(fsCreating);
        throw;
    }
    formState_.Exclude(fsCreating);
}

void TCustomForm::AfterConstruction() {
    if (constructionFinished_) return;
    constructionFinished_ = true;
    LoadFormResource();
    DoCreate();
    if (formState_.Contains(fsVisible)) {
        formState_.Exclude(fsVisible);
        SetVisible(true);
    }
}

void TCustomForm::BeforeDestruction() {
    if (DestructionPrepared()) return;
    if (WindowHandle() && Visible()) Hide();
    DoDestroy();
    TScrollingWinControl::BeforeDestruction();
}

// An exception of OnCreate or OnDestroy is shown, and making or freeing the form goes on.
void TCustomForm::DoCreate() {
    try {
        if (OnCreate) OnCreate(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::DoDestroy() {
    try {
        if (OnDestroy) OnDestroy(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Paint() {
    if (OnPaint) OnPaint(this);
}

void TCustomForm::Loaded() {
    TScrollingWinControl::Loaded();
    if (pendingClientWidth_ > 0) TControl::SetClientWidth(pendingClientWidth_);
    if (pendingClientHeight_ > 0) TControl::SetClientHeight(pendingClientHeight_);
    pendingClientWidth_ = pendingClientHeight_ = 0;
    if (TWinControl* control = activeControl_) {
        activeControl_ = nullptr;
        if (control->CanFocus()) SetActiveControl(control);
    }
}

void TCustomForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (Integer i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent()) Proc(Components(i));
    TScrollingWinControl::GetChildren(Proc, Root);
}

// ---- TCustomForm: the window ------------------------------------------------------------

TMainMenu* TCustomForm::Menu() const {
    return GetFormMenu(const_cast<TCustomForm*>(this));
}

void TCustomForm::SetMenu(TMainMenu* Value) {
    SetFormMenu(this, Value);
}

void TCustomForm::UpdateActions() {
    if (!Showing()) return;
    if (TMainMenu* menu = Menu())
        for (Integer index = 0; index < menu->Items()->Count(); ++index)
            if (menu->Items()->Items(index)->Visible()) menu->Items()->Items(index)->InitiateAction();
    UpdateControlActions(this);
}

// A dialog frame shows no icon.
void TCustomForm::iconChanged(TObject*) {
    if (HandleAllocated() && borderStyle_ != bsDialog)
        SendMessageA(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Handle()));
}

void TCustomForm::CreateWnd() {
    TScrollingWinControl::CreateWnd();
    if (!icon_->Empty()) iconChanged(icon_.get());
}

// There are no MDI frame windows here, so an MDI child never finds one.
void TCustomForm::CreateParams(TCreateParams& Params) {
    if (formStyle_ == fsMDIChild) throw EInvalidOperation(SNoMDIForm);
    TScrollingWinControl::CreateParams(Params);
    Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
    Params.ExStyle &= ~WS_EX_CONTROLPARENT;
    if (!parent_ && !ParentWindow()) Params.WndParent = Application->Handle();
    Params.WindowClass.style = CS_DBLCLKS;
    TBorderIcons icons = borderIcons_;
    switch (borderStyle_) {
    case bsNone:
        if (!parent_ && !ParentWindow()) Params.Style |= WS_POPUP;
        icons = {};
        break;
    case bsSingle:
    case bsToolWindow:
        Params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        Params.WindowClass.style |= CS_SAVEBITS;
        break;
    }
    if (borderStyle_ == bsDialog || borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
        icons = icons * TBorderIcons{biSystemMenu, biHelp};
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (icons.Contains(biSystemMenu)) Params.Style |= WS_SYSMENU;
    if (icons.Contains(biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (icons.Contains(biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    if (formStyle_ == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
    if (windowState_ == wsMinimized) Params.Style |= WS_MINIMIZE;
    if (windowState_ == wsMaximized) Params.Style |= WS_MAXIMIZE;
}

// Without a window the client area is what the window's frame and menu bar would leave.
TRect TCustomForm::GetClientRect() {
    if (WindowHandle()) return TScrollingWinControl::GetClientRect();
    return clientRectOfStyle();
}

TRect TCustomForm::clientRectOfStyle() {
    TCreateParams params;
    CreateParams(params);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, params.Style, Menu() != nullptr, params.ExStyle);
    return {0, 0, std::max(width_ - frame.Width(), 0), std::max(height_ - frame.Height(), 0)};
}

void TCustomForm::SetClientWidth(Integer Value) {
    if (controlState_.Contains(csReadingState))
        pendingClientWidth_ = Value;
    else
        TControl::SetClientWidth(Value);
}

void TCustomForm::SetClientHeight(Integer Value) {
    if (controlState_.Contains(csReadingState))
        pendingClientHeight_ = Value;
    else
        TControl::SetClientHeight(Value);
}

void TCustomForm::PaintWindow(HDC DC) {
    canvas_->Lock();
    canvas_->SetHandle(DC);
    try {
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        canvas_->Unlock();
        throw;
    }
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (borderIcons_ == Value) return;
    borderIcons_ = Value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
    if (formStyle_ == Value) return;
    const bool topmostChanged = Value == fsStayOnTop || formStyle_ == fsStayOnTop;
    formStyle_ = Value;
    if (topmostChanged && WindowHandle())
        SetWindowPos(WindowHandle(), Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TCustomForm::showCommand() const {
    switch (windowState_) {
    case wsMinimized:
        return SW_SHOWMINIMIZED;
    case wsMaximized:
        return SW_SHOWMAXIMIZED;
    default:
        return SW_SHOWNORMAL;
    }
}

void TCustomForm::SetWindowState(TWindowState Value) {
    if (windowState_ == Value) return;
    windowState_ = Value;
    if (WindowHandle() && Showing()) ShowWindow(WindowHandle(), showCommand());
}

// ---- TCustomForm: showing and closing ----------------------------------------------------

void TCustomForm::SetVisible(bool Value) {
    if (formState_.Contains(fsCreating)) {
        if (Value)
            formState_.Include(fsVisible);
        else
            formState_.Exclude(fsVisible);
        return;
    }
    TControl::SetVisible(Value);
}

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
    if (WindowHandle()) SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// OnShow comes before the window appears, at the place Position asks for.
void TCustomForm::CMShowingChanged(TMessage&) {
    if (Showing()) {
        try {
            DoShow();
        } catch (...) {
            Application->HandleException(this);
        }
        placeWindow();
        ShowWindow(WindowHandle(), showCommand());
    } else {
        try {
            DoHide();
        } catch (...) {
            Application->HandleException(this);
        }
        ShowWindow(WindowHandle(), SW_HIDE);
    }
}

void TCustomForm::placeWindow() {
    TRect area{0, 0, Screen->Width(), Screen->Height()};
    TCustomForm* around = nullptr;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        break;
    case poOwnerFormCenter:
        around = dynamic_cast<TCustomForm*>(Owner());
        [[fallthrough]];
    case poMainFormCenter:
        if (!around) around = Application->MainForm();
        if (around && around != this) area = around->BoundsRect();
        break;
    default:
        return;
    }
    const Integer x = std::max(area.Left + (area.Width() - width_) / 2, 0);
    const Integer y = std::max(area.Top + (area.Height() - height_) / 2, 0);
    SetWindowPos(WindowHandle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Integer TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || formState_.Contains(fsModal)) throw EInvalidOperation(SCannotShowModal);
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    formState_.Include(fsModal);
    const HWND activeWindow = GetActiveWindow();
    // The modal form is the focused one from the start: ShowModal tells it CM_ACTIVATE itself.
    TCustomForm* savedFocusedForm = Screen->focusedForm_;
    Screen->focusedForm_ = this;
    DisabledWindows disabled;
    disabled.keep = Handle();
    EnumThreadWindows(GetCurrentThreadId(), &disableWindow, reinterpret_cast<LPARAM>(&disabled));
    auto restore = [&] {
        for (HWND window : disabled.windows)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        if (activeWindow && IsWindow(activeWindow)) SetActiveWindow(activeWindow);
        const auto& forms = Screen->customForms_;
        Screen->focusedForm_ = std::find(forms.begin(), forms.end(), savedFocusedForm) != forms.end()
                                   ? savedFocusedForm
                                   : nullptr;
        formState_.Exclude(fsModal);
    };
    Integer result;
    try {
        Show();
        SendMessageA(Handle(), CM_ACTIVATE, 0, 0);
        modalResult_ = mrNone;
        do {
            Application->HandleMessage();
            if (Application->Terminated())
                modalResult_ = mrCancel;
            else if (modalResult_ != mrNone)
                closeModal();
        } while (modalResult_ == mrNone);
        result = modalResult_;
        SendMessageA(Handle(), CM_DEACTIVATE, 0, 0);
        Hide();
    } catch (...) {
        if (WindowHandle()) Hide();
        restore();
        throw;
    }
    restore();
    return result;
}

void TCustomForm::closeModal() {
    try {
        TCloseAction action = caNone;
        if (CloseQuery()) {
            action = caHide;
            DoClose(action);
        }
        if (action == caNone)
            modalResult_ = mrNone;
        else if (action == caFree)
            Release();
    } catch (...) {
        modalResult_ = mrNone;
        Application->HandleException(this);
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (formState_.Contains(fsModal)) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
}

void TCustomForm::Release() {
    PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

// ---- TCustomForm: focus -----------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (activeControl_ == Control) return;
    const bool loading = ComponentState().Contains(csLoading);
    if (Control && (Control == this || GetParentForm(Control) != this || (!loading && !Control->CanFocus())))
        throw EInvalidOperation(SCannotFocus);
    activeControl_ = Control;
    if (!loading && active_) setWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
    const bool wasActive = active_;
    SetActiveControl(Control);
    if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus() {
    if (active_) return;
    if (!Visible() || !Enabled()) throw EInvalidOperation(SCannotFocus);
    setWindowFocus();
}

void TCustomForm::setWindowFocus() {
    HWND focus = activeControl_ ? activeControl_->Handle() : Handle();
    if (focus) ::SetFocus(focus);
}

void TCustomForm::setActive(bool Value) {
    active_ = Value;
    if (!Value) return;
    if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true, false);
    setWindowFocus();
}

namespace {
// Counts focus changes, so that a handler that moved the focus is noticed.
Integer focusCount = 0;
} // namespace

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
    const Integer count = ++focusCount;
    activeControl_ = Control != this ? Control : nullptr;
    Screen->setFocusedForm(this, Control);
    if (Screen->focusedForm_ != this) {
        if (TCustomForm* previous = Screen->focusedForm_) {
            Screen->focusedForm_ = nullptr;
            previous->Perform(CM_DEACTIVATE, 0, 0);
            if (count != focusCount) return false;
        }
        Screen->focusedForm_ = this;
        Perform(CM_ACTIVATE, 0, 0);
        if (count != focusCount) return false;
    }
    while (focusedControl_ && !focusedControl_->ContainsControl(Control)) {
        focusedControl_->Perform(CM_EXIT, 0, 0);
        if (count != focusCount) return false;
        focusedControl_ = focusedControl_->Parent();
    }
    while (focusedControl_ != Control) {
        TWinControl* next = Control;
        while (next->Parent() != focusedControl_)
            next = next->Parent();
        focusedControl_ = next;
        next->Perform(CM_ENTER, 0, 0);
        if (count != focusCount) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    // Every scrolling container round the control brings it into view.
    for (TWinControl* container = Control->Parent(); container; container = container->Parent())
        if (auto* scrolling = dynamic_cast<TScrollingWinControl*>(container)) scrolling->AutoScrollInView(Control);
    return true;
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
    if (Removing && focusedControl_ && Control->ContainsControl(focusedControl_))
        focusedControl_ = Control->Parent();
    if (activeControl_ && Control->ContainsControl(activeControl_)) {
        activeControl_ = nullptr;
        if (Removing && active_ && Control->Focused()) ::SetFocus(Handle());
    }
}

bool TCustomForm::IsShortCut(TMessage& Message) {
    bool handled = false;
    if (OnShortCut) OnShortCut(Message, handled);
    return handled;
}

void TCustomForm::SendCancelMode(TControl* Sender) {
    if (active_ && activeControl_)
        activeControl_->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

LRESULT TCustomForm::MouseWheelHandler(WPARAM WParam, LPARAM LParam) {
    TControl* target = focusedControl_ ? static_cast<TControl*>(focusedControl_) : this;
    return target->Perform(CM_MOUSEWHEEL, WParam, LParam);
}

// ---- TCustomForm: messages --------------------------------------------------------------

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ACTIVATE:
        WMActivate(Message);
        break;
    case WM_CLOSE:
        WMClose(Message);
        break;
    case WM_MENUSELECT:
        WMMenuSelect(Message);
        break;
    case WM_PAINT:
        controlState_.Include(csCustomPaint);
        try {
            TScrollingWinControl::Dispatch(Message);
        } catch (...) {
            controlState_.Exclude(csCustomPaint);
            throw;
        }
        controlState_.Exclude(csCustomPaint);
        break;
    case WM_SIZE:
        if (Showing()) {
            if (Message.WParam == SIZE_MINIMIZED)
                windowState_ = wsMinimized;
            else if (Message.WParam == SIZE_MAXIMIZED)
                windowState_ = wsMaximized;
            else if (Message.WParam == SIZE_RESTORED)
                windowState_ = wsNormal;
        }
        TScrollingWinControl::Dispatch(Message);
        break;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(Message);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(Message);
        break;
    case CM_ACTIVATE:
        Activate();
        break;
    case CM_DEACTIVATE:
        Deactivate();
        break;
    case CM_RELEASE:
        delete this;
        break;
    default:
        TScrollingWinControl::Dispatch(Message);
    }
}

// The focus stays where SetActive puts it: the window's default handling would take it.
void TCustomForm::WMActivate(TMessage& Message) {
    setActive(LOWORD(Message.WParam) != WA_INACTIVE);
}

void TCustomForm::WMClose(TMessage&) {
    Close();
}

void TCustomForm::WMMenuSelect(TMessage& Message) {
    TMainMenu* menu = Menu();
    if (!menu) return;
    const Word item = LOWORD(Message.WParam);
    const Word flags = HIWORD(Message.WParam);
    TMenuItem* found = nullptr;
    if (flags != MenuClosedFlags || item != 0) {
        if (flags & MF_POPUP)
            found = menu->FindItem(
                reinterpret_cast<UINT_PTR>(GetSubMenu(reinterpret_cast<HMENU>(Message.LParam), item)),
                fkHandle);
        else
            found = menu->FindItem(item, fkCommand);
    }
    Application->SetHint(found ? GetLongHint(found->Hint()) : AnsiString());
}

// Tab and Shift+Tab walk the tab order, the arrows the active control's siblings.
void TCustomForm::CMDialogKey(TMessage& Message) {
    if (GetKeyState(VK_MENU) >= 0) {
        const Word key = TWMKey(Message).CharCode();
        if (key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
            Message.Result = 1;
            return;
        }
        if (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) {
            if (activeControl_ && activeControl_->Parent()) {
                activeControl_->Parent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN,
                                                     false);
                Message.Result = 1;
            }
            return;
        }
    }
    TScrollingWinControl::CMDialogKey(Message);
}

// ---- TScreen ------------------------------------------------------------------------------

namespace {

struct StandardCursor {
    TCursor cursor;
    IntegerResourceName name;
};

// The framework's own drag and split cursors take the nearest standard shape.
const StandardCursor standardCursors[] = {
    {crArrow, IDC_ARROW},
    {crCross, IDC_CROSS},
    {crIBeam, IDC_IBEAM},
    {crSizeNESW, IDC_SIZENESW},
    {crSizeNS, IDC_SIZENS},
    {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},
    {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},
    {crDrag, IDC_ARROW},
    {crNoDrop, IDC_NO},
    {crHSplit, IDC_SIZEWE},
    {crVSplit, IDC_SIZENS},
    {crMultiDrag, IDC_ARROW},
    {crSQLWait, IDC_WAIT},
    {crNo, IDC_NO},
    {crAppStart, IDC_APPSTARTING},
    {crHelp, IDC_HELP},
    {crHandPoint, IDC_HAND},
    {crSizeAll, IDC_SIZEALL},
};

// A cursor file: a directory of images, each a DIB of twice the cursor's
// height (the colour image, then the AND mask) with the hot spot in its entry.
constexpr std::size_t CursorHeaderSize = 6;
constexpr std::size_t CursorEntrySize = 16;
constexpr Word CursorFileType = 2;

Word readWord(const Byte* Data) {
    return static_cast<Word>(Data[0] | (Data[1] << 8));
}

DWORD readDword(const Byte* Data) {
    return static_cast<DWORD>(Data[0]) | (static_cast<DWORD>(Data[1]) << 8) |
           (static_cast<DWORD>(Data[2]) << 16) | (static_cast<DWORD>(Data[3]) << 24);
}

// The AND mask's set bits (transparent pixels) white, the others black; rows bottom up.
std::shared_ptr<PixelSurface> decodeCursorMask(const Byte* Bits, std::size_t Size, int Width, int Height) {
    const std::size_t stride = DibStride(Width, 1);
    if (Size < stride * static_cast<std::size_t>(Height)) return nullptr;
    auto mask = std::make_shared<PixelSurface>(Width, Height, true);
    for (int y = 0; y < Height; ++y) {
        const Byte* row = Bits + stride * static_cast<std::size_t>(Height - 1 - y);
        for (int x = 0; x < Width; ++x)
            mask->Row(y)[x] = (row[x / 8] & (0x80 >> (x % 8))) ? PixelWhite : PixelBlack;
    }
    return mask;
}

// The first image of a cursor file as a cursor; null for a damaged file.
HCURSOR cursorFromFile(std::span<const Byte> File) {
    if (File.size() < CursorHeaderSize + CursorEntrySize || readWord(File.data() + 2) != CursorFileType ||
        readWord(File.data() + 4) == 0)
        return nullptr;
    const Byte* entry = File.data() + CursorHeaderSize;
    const DWORD hotX = readWord(entry + 4);
    const DWORD hotY = readWord(entry + 6);
    const std::size_t offset = readDword(entry + 12);
    if (offset >= File.size()) return nullptr;
    DibLayout layout;
    if (!ReadDibLayout(File.data() + offset, File.size() - offset, layout) || layout.height < 2)
        return nullptr;
    layout.height /= 2;
    const Byte* bits = File.data() + offset + layout.headerBytes;
    const std::size_t available = File.size() - offset - layout.headerBytes;
    auto colour = std::make_shared<PixelSurface>(layout.width, layout.height);
    if (!DecodeDibScanLines(layout, bits, available, 0, layout.height, *colour)) return nullptr;
    const std::size_t colourSize =
        DibStride(layout.width, layout.bitCount) * static_cast<std::size_t>(layout.height);
    if (available < colourSize) return nullptr;
    auto mask = decodeCursorMask(bits + colourSize, available - colourSize, layout.width, layout.height);
    if (!mask) return nullptr;
    ICONINFO info{FALSE, hotX, hotY, CreateBitmapFromSurface(mask), CreateBitmapFromSurface(colour)};
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return cursor;
}

// The program's cursors are its embedded cursor files, found by name.
HCURSOR loadCursorResource(HINSTANCE, const AnsiString& Name) {
    const TResourceFile* file = FindResource(Name, rkCursor);
    return file ? cursorFromFile(file->Data) : nullptr;
}

// An icon resource as LoadIcon gives it; a damaged one is not found.
HICON loadIconResource(HINSTANCE, const AnsiString& Name) {
    const TResourceFile* file = FindResource(Name, rkIcon);
    if (!file) return nullptr;
    TMemoryStream stream;
    stream.Write(file->Data.data(), static_cast<Integer>(file->Data.size()));
    stream.SetPosition(0);
    TIcon icon;
    try {
        icon.LoadFromStream(&stream);
    } catch (const EInvalidGraphic&) {
        return nullptr;
    }
    return icon.ReleaseHandle();
}

// The Windows face names that text can be drawn in here (each maps to an installed font).
const char* const fontFaceNames[] = {"Arial", "Courier New", "MS Sans Serif", "Tahoma", "Times New Roman"};

} // namespace

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner), hintFont_(std::make_unique<TFont>()), menuFont_(std::make_unique<TFont>()),
      iconFont_(std::make_unique<TFont>()) {
    NONCLIENTMETRICSA metrics;
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        assignLogFont(hintFont_.get(), metrics.lfStatusFont);
        assignLogFont(menuFont_.get(), metrics.lfMenuFont);
        assignLogFont(iconFont_.get(), metrics.lfMessageFont);
    }
    hintFont_->SetColor(clInfoText);
    menuFont_->SetColor(clMenuText);
    SetCursorResourceLoader(&loadCursorResource);
    SetIconResourceLoader(&loadIconResource);
}

TScreen::~TScreen() = default;

void TScreen::loadStandardCursors() {
    if (defaultCursor_) return;
    defaultCursor_ = LoadCursorA(nullptr, IDC_ARROW);
    for (const StandardCursor& standard : standardCursors)
        cursors_[standard.cursor] = LoadCursorA(nullptr, standard.name);
    cursors_[crNone] = nullptr;
}

HCURSOR TScreen::Cursors(Integer Index) const {
    const_cast<TScreen*>(this)->loadStandardCursors();
    if (Index != crDefault) {
        auto found = cursors_.find(Index);
        if (found != cursors_.end()) return found->second;
    }
    return defaultCursor_;
}

void TScreen::SetCursors(Integer Index, HCURSOR Handle) {
    loadStandardCursors();
    if (Index == crDefault)
        defaultCursor_ = Handle ? Handle : LoadCursorA(nullptr, IDC_ARROW);
    else if (Handle)
        cursors_[Index] = Handle;
    else
        cursors_.erase(Index);
}

// Back to crDefault, the window under the mouse is asked for its cursor again.
void TScreen::SetCursor(TCursor Value) {
    if (cursor_ == Value) return;
    cursor_ = Value;
    if (Value != crDefault) {
        ::SetCursor(Cursors(Value));
        return;
    }
    POINT pos;
    GetCursorPos(&pos);
    if (HWND window = WindowFromPoint(pos))
        SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

Integer TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

Integer TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

TStrings* TScreen::Fonts() {
    if (!fonts_) {
        fonts_ = std::make_unique<TStringList>();
        for (const char* name : fontFaceNames)
            fonts_->Add(name);
        fonts_->SetSorted(true);
    }
    return fonts_.get();
}

TCustomForm* TScreen::CustomForms(Integer Index) const {
    if (Index < 0 || Index >= CustomFormCount()) throw EListError(Format(SListIndexError, {Index}));
    return customForms_[static_cast<std::size_t>(Index)];
}

TForm* TScreen::Forms(Integer Index) const {
    Integer seen = 0;
    for (TCustomForm* form : customForms_)
        if (auto* plain = dynamic_cast<TForm*>(form); plain && seen++ == Index) return plain;
    throw EListError(Format(SListIndexError, {Index}));
}

Integer TScreen::FormCount() const {
    return static_cast<Integer>(std::count_if(customForms_.begin(), customForms_.end(),
                                              [](TCustomForm* f) { return dynamic_cast<TForm*>(f); }));
}

void TScreen::addForm(TCustomForm* Form) {
    customForms_.push_back(Form);
}

void TScreen::removeForm(TCustomForm* Form) {
    std::erase(customForms_, Form);
    if (focusedForm_ == Form) focusedForm_ = nullptr;
    if (activeCustomForm_ == Form) {
        activeCustomForm_ = nullptr;
        activeForm_ = nullptr;
        activeControl_ = nullptr;
        if (OnActiveFormChange) OnActiveFormChange(this);
    }
}

// The focused form goes to the front of the list, where the most recently active forms are.
void TScreen::setFocusedForm(TCustomForm* Form, TWinControl* Control) {
    const bool formChanged = activeCustomForm_ != Form;
    const bool controlChanged = activeControl_ != Control;
    activeControl_ = Control;
    activeCustomForm_ = Form;
    activeForm_ = dynamic_cast<TForm*>(Form);
    std::erase(customForms_, Form);
    customForms_.insert(customForms_.begin(), Form);
    if (controlChanged && OnActiveControlChange) OnActiveControlChange(this);
    if (formChanged && OnActiveFormChange) OnActiveFormChange(this);
}

// ---- TApplication: the window -------------------------------------------------------------

namespace {

TApplication* applicationInstance = nullptr;
TScreen* screenInstance = nullptr;

} // namespace

TApplication* TApplicationAccess::get() const {
    if (!applicationInstance) applicationInstance = new TApplication(nullptr);
    return applicationInstance;
}

TScreen* TScreenAccess::get() const {
    if (!screenInstance) screenInstance = new TScreen(nullptr);
    return screenInstance;
}

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), objectInstance_(MakeObjectInstance(TWndMethod(this, &TApplication::WndProc))) {
    title_ = ChangeFileExt(ExtractFileName(ProgramFileName()), "");
    SetWakeMainThread(TNotifyEvent(this, &TApplication::wakeMainThread));
}

TApplication::~TApplication() {
    SetWakeMainThread(nullptr);
    DestroyComponents();
    if (handle_) DestroyWindow(handle_);
    FreeObjectInstance(objectInstance_);
}

HWND TApplication::Handle() {
    if (!handle_) createHandle();
    return handle_;
}

void TApplication::createHandle() {
    WNDCLASSA existing;
    if (!GetClassInfoA(HInstance(), ApplicationClassName, &existing)) {
        WNDCLASSA windowClass;
        windowClass.lpfnWndProc = WindowProcFromFunction(&TApplication::InitWndProc);
        windowClass.hInstance = HInstance();
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ApplicationClassName;
        if (!RegisterClassA(&windowClass)) RaiseLastOSError();
    }
    const HWND window = CreateWindowExA(0, ApplicationClassName, title_.c_str(),
                                        WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                        GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                                        0, 0, nullptr, nullptr, HInstance(), nullptr);
    if (!window) RaiseLastOSError();
    handle_ = window;
}

LRESULT TApplication::InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TApplication* application = Application;
    application->handle_ = Window;
    SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(application->objectInstance_));
    return CallWindowProcA(application->objectInstance_, Window, Msg, WParam, LParam);
}

void TApplication::WndProc(TMessage& Message) {
    try {
        for (const TWindowHook& hook : std::vector<TWindowHook>(windowHooks_))
            if (hook(Message)) return;
        switch (Message.Msg) {
        case WM_NULL:
            CheckSynchronize();
            break;
        case WM_CLOSE:
            if (mainForm_) mainForm_->Close();
            break;
        case WM_ACTIVATEAPP:
            Message.Result = DefWindowProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
            active_ = Message.WParam != 0;
            PostMessageA(handle_, active_ ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
            break;
        case CM_ACTIVATE:
            if (OnActivate) OnActivate(this);
            break;
        case CM_DEACTIVATE:
            if (OnDeactivate) OnDeactivate(this);
            break;
        case CM_ACTIONEXECUTE:
        case CM_ACTIONUPDATE:
            Message.Result =
                DispatchActionToTargets(Message.Msg, reinterpret_cast<TBasicAction*>(Message.LParam)) ? 1 : 0;
            break;
        case WM_TIMER:
            hintTimerExpired(Message.WParam);
            break;
        default:
            Message.Result = DefWindowProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
        }
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::HookMainWindow(TWindowHook Hook) {
    windowHooks_.push_back(Hook);
}

void TApplication::UnhookMainWindow(TWindowHook Hook) {
    std::erase(windowHooks_, Hook);
}

void TApplication::wakeMainThread(TObject*) {
    PostMessageA(Handle(), WM_NULL, 0, 0);
}

AnsiString TApplication::Title() {
    if (!handle_) return title_;
    const int length = GetWindowTextLengthA(handle_);
    AnsiString text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(std::max(GetWindowTextA(handle_, text.data(), length + 1), 0)));
    return text;
}

void TApplication::SetTitle(const AnsiString& Value) {
    title_ = Value;
    if (handle_) SetWindowTextA(handle_, Value.c_str());
}

AnsiString TApplication::ExeName() const {
    return ProgramFileName();
}

void TApplication::BringToFront() {
    if (TCustomForm* form = Screen->ActiveCustomForm(); form && form->HandleAllocated())
        SetForegroundWindow(form->WindowHandle());
    else if (mainForm_ && mainForm_->HandleAllocated())
        SetForegroundWindow(mainForm_->WindowHandle());
}

// ---- TApplication: the loop ------------------------------------------------------------------

void TApplication::Initialize() {}

void TApplication::registerMainForm(TCustomForm* Form) {
    if (mainForm_) return;
    Form->HandleNeeded();
    mainForm_ = Form;
}

void TApplication::Run() {
    running_ = true;
    try {
        if (mainForm_) {
            if (showMainForm_) mainForm_->SetVisible(true);
            do {
                try {
                    HandleMessage();
                } catch (...) {
                    HandleException(this);
                }
            } while (!terminated_);
        }
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (processMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!processMessage(msg)) idle();
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

bool TApplication::processMessage(MSG& Msg) {
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) OnMessage(Msg, handled);
    if (hintActive_ && hintWindow_ && hintWindow_->IsHintMsg(Msg)) CancelHint();
    if (!handled && !IsKeyMsg(Msg) && !isDialogMessage(Msg)) {
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
    }
    return true;
}

// A modeless dialog of the system's kind (Application->DialogHandle) moves
// its focus with Tab and the arrows and presses its buttons with Enter and Esc.
bool TApplication::isDialogMessage(MSG& Msg) {
    return dialogHandle_ && IsDialogMessageA(dialogHandle_, &Msg) != FALSE;
}

// Keys go first to the framework control that would get them (or holds the
// mouse) as CN_ messages: a non-zero answer means the control used the key.
bool TApplication::IsKeyMsg(MSG& Msg) {
    if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
    HWND target = GetCapture();
    if (!target) {
        target = Msg.hwnd;
        while (target && !IsVCLControl(target))
            target = GetParent(target);
        if (!target) target = Msg.hwnd;
    } else if (reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(target, GWLP_HINSTANCE)) != HInstance()) {
        return false;
    }
    return target && SendMessageA(target, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::idle() {
    trackMouseControl();
    bool done = true;
    try {
        if (OnIdle) OnIdle(this, done);
        if (done) updateActions();
    } catch (...) {
        HandleException(this);
    }
    if (CheckSynchronize()) done = false;
    if (done) WaitMessage();
}

void TApplication::updateActions() {
    for (TCustomForm* form : std::vector<TCustomForm*>(Screen->customForms_))
        if (form->HandleAllocated() && IsWindowVisible(form->WindowHandle()) &&
            IsWindowEnabled(form->WindowHandle()))
            form->UpdateActions();
}

// The control under the mouse hears CM_MOUSEENTER and CM_MOUSELEAVE, and its
// long hint becomes the application's.
void TApplication::trackMouseControl() {
    POINT pos;
    GetCursorPos(&pos);
    TControl* control = FindDragTarget(pos, true);
    TControl* capture = GetCaptureControl();
    if (mouseControl_ != control) {
        auto told = [capture](TControl* c) { return c && (!capture || c == capture); };
        if (told(mouseControl_)) mouseControl_->Perform(CM_MOUSELEAVE, 0, 0);
        mouseControl_ = control;
        if (told(mouseControl_)) mouseControl_->Perform(CM_MOUSEENTER, 0, 0);
    }
    if (showHint_ && !mouseControl_) CancelHint();
    SetHint(GetLongHint(hintOf(mouseControl_)));
}

void TApplication::ControlDestroyed(TControl* Control) {
    if (mouseControl_ == Control) mouseControl_ = nullptr;
    if (hintControl_ == Control) CancelHint();
    if (mainForm_ == Control) mainForm_ = nullptr;
    if (hintWindow_ == Control) {
        hintWindow_ = nullptr;
        hintActive_ = false;
    }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == mainForm_) mainForm_ = nullptr;
    if (AComponent == hintWindow_) {
        hintWindow_ = nullptr;
        hintActive_ = false;
    }
}

// ---- TApplication: exceptions --------------------------------------------------------------

void TApplication::HandleException(TObject* Sender) {
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    if (std::exception_ptr error = std::current_exception()) handleException(Sender, error);
}

void TApplication::handleException(TObject* Sender, std::exception_ptr Error) {
    auto report = [&](Exception& error) {
        if (OnException)
            OnException(Sender, error);
        else
            ShowException(error);
    };
    try {
        std::rethrow_exception(Error);
    } catch (const EAbort&) {
        // The framework's silent exception: it ends an action without a word.
    } catch (Exception& error) {
        report(error);
    } catch (const std::exception& error) {
        Exception wrapped(error.what());
        report(wrapped);
    } catch (...) {
        Exception wrapped("");
        report(wrapped);
    }
}

void TApplication::ShowException(const Exception& E) {
    AnsiString text = E.Message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text.c_str(), Title().c_str(), MB_OK | MB_ICONSTOP);
}

Integer TApplication::MessageBox(const char* Text, const char* Caption, UINT Flags) {
    const HWND active = GetActiveWindow();
    const Integer result = MessageBoxA(Handle(), Text, Caption, Flags);
    if (active && IsWindow(active)) SetActiveWindow(active);
    return result;
}

// ---- TApplication: hints --------------------------------------------------------------------

AnsiString TApplication::CurrentHelpFile() const {
    const TCustomForm* form = Screen->ActiveForm();
    return form && !form->HelpFile().empty() ? form->HelpFile() : helpFile_;
}

bool TApplication::HelpContext(Integer Context) {
    return HelpCommand(HELP_CONTEXT, Context);
}

bool TApplication::HelpCommand(Word Command, Integer Data) {
    bool callHelp = true;
    return OnHelp && OnHelp(Command, Data, callHelp);
}

void TApplication::SetHint(const AnsiString& Value) {
    if (hint_ == Value) return;
    hint_ = Value;
    if (OnHint) {
        OnHint(this);
        return;
    }
    // Without a handler the hint goes out as an action, which a status bar
    // with AutoHint takes.
    THintAction action(nullptr);
    action.SetHint(Value);
    action.Execute();
}

void TApplication::SetShowHint(bool Value) {
    if (showHint_ == Value) return;
    showHint_ = Value;
    if (!Value) {
        CancelHint();
        delete hintWindow_;
        hintWindow_ = nullptr;
    }
}

void TApplication::startHintTimer(UINT_PTR Timer, Integer Milliseconds) {
    SetTimer(Handle(), Timer, static_cast<UINT>(std::max(Milliseconds, 1)), nullptr);
}

void TApplication::stopHintTimer(UINT_PTR Timer) {
    if (handle_) KillTimer(handle_, Timer);
}

void TApplication::hintTimerExpired(UINT_PTR Timer) {
    stopHintTimer(Timer);
    if (Timer == HintShowTimer) {
        POINT pos;
        GetCursorPos(&pos);
        ActivateHint(pos);
    } else if (Timer == HintHideTimer) {
        HideHint();
    }
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
    if (ComponentState().Contains(csDestroying)) return;
    if (Message.Msg != WM_MOUSEMOVE) {
        if (Message.Msg > WM_MOUSEMOVE && Message.Msg <= WM_MBUTTONDBLCLK) CancelHint();
        return;
    }
    if (!Control->Parent() && !dynamic_cast<TWinControl*>(Control)) return;
    const TPoint screenPos = Control->ClientToScreen(TWMMouse(Message).Pos());
    TControl* target = hintControlOf(FindDragTarget(screenPos, true));
    if (!showHint_ || !target) {
        CancelHint();
        return;
    }
    if (target == hintControl_ && pointInRect(hintCursorRect_, screenPos)) return;
    const bool wasShowing = hintActive_;
    HideHint();
    hintControl_ = target;
    startHintTimer(HintShowTimer, wasShowing ? hintShortPause_ : hintPause_);
}

// A control whose action has a shortcut shows it after its hint: "Open (Ctrl+O)".
void TApplication::addShortCutToHint(THintInfo& Info) const {
    if (!hintShortCuts_ || Info.HintStr.empty()) return;
    auto* action = Info.HintControl ? dynamic_cast<TCustomAction*>(Info.HintControl->Action()) : nullptr;
    if (action && action->ShortCut() != scNone)
        Info.HintStr = Format("%s (%s)", {Info.HintStr, ShortCutToText(action->ShortCut())});
}

THintWindow* TApplication::hintWindowOfClass(TClass Class) {
    if (hintWindow_ && ClassTypeOf(hintWindow_) != Class) {
        delete hintWindow_;
        hintWindow_ = nullptr;
    }
    if (!hintWindow_) hintWindow_ = dynamic_cast<THintWindow*>(Class->CreateComponent(this));
    return hintWindow_;
}

// The control may change the hint's text, place, colour and window class (CM_HINTSHOW); a non-zero answer or
// an empty text shows none.
void TApplication::ActivateHint(const TPoint& CursorPos) {
    stopHintTimer(HintShowTimer);
    if (!hintControl_) return;
    THintInfo info;
    info.HintControl = hintControl_;
    info.HintWindowClass = HintWindowClass ? HintWindowClass : ClassOf<THintWindow>();
    info.HintPos = {CursorPos.x, CursorPos.y + GetSystemMetrics(SM_CYCURSOR)};
    info.HintMaxWidth = Screen->Width();
    info.HintColor = hintColor_;
    info.CursorRect = hintControl_->ClientRect();
    info.CursorPos = hintControl_->ScreenToClient(CursorPos);
    info.HideTimeout = hintHidePause_;
    info.HintStr = GetShortHint(hintOf(hintControl_));
    const bool show = hintControl_->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    addShortCutToHint(info);
    const TPoint origin = hintControl_->ClientToScreen({info.CursorRect.Left, info.CursorRect.Top});
    hintCursorRect_ = {origin.x, origin.y, origin.x + info.CursorRect.Width(),
                       origin.y + info.CursorRect.Height()};
    if (!show || info.HintStr.empty()) {
        HideHint();
        return;
    }
    THintWindow* window = hintWindowOfClass(info.HintWindowClass);
    if (!window) return;
    window->SetColor(info.HintColor);
    TRect rect = window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    rect = {rect.Left + info.HintPos.x, rect.Top + info.HintPos.y, rect.Right + info.HintPos.x,
            rect.Bottom + info.HintPos.y};
    window->ActivateHintData(rect, info.HintStr, info.HintData);
    hintActive_ = true;
    if (info.HideTimeout > 0) startHintTimer(HintHideTimer, info.HideTimeout);
    if (info.ReshowTimeout > 0) startHintTimer(HintShowTimer, info.ReshowTimeout);
}

void TApplication::HideHint() {
    stopHintTimer(HintHideTimer);
    if (hintWindow_ && hintActive_) hintWindow_->ReleaseHandle();
    hintActive_ = false;
}

void TApplication::CancelHint() {
    stopHintTimer(HintShowTimer);
    HideHint();
    hintControl_ = nullptr;
}

// ---- The end of the program --------------------------------------------------------------------

void DoneApplication() {
    if (!applicationInstance) return;
    TApplication* application = applicationInstance;
    application->CancelHint();
    application->DestroyComponents();
}

// ---- Published properties ----------------------------------------------------------------------

namespace {

const TTypeInfo* const formStyleType =
    DefineEnum<TFormStyle>("TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
const TTypeInfo* const positionType = DefineEnum<TPosition>(
    "TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                  "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
const TTypeInfo* const windowStateType =
    DefineEnum<TWindowState>("TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"});
const TTypeInfo* const borderIconType =
    DefineEnum<TBorderIcon>("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
const TTypeInfo* const closeActionType =
    DefineEnum<TCloseAction>("TCloseAction", {"caNone", "caHide", "caFree", "caMinimize"});

const TClass customFormClass =
    DescribeClass<TCustomForm, TScrollingWinControl>([](TClassBuilder<TCustomForm>& c) {
        c.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
        c.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
            .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
        c.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
            .Default(bsSizeable);
        c.Property("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption);
        // Read, never written: Width and Height are what a written form keeps.
        c.Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight).Stored(false);
        c.Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth).Stored(false);
        c.Property("Color", &TCustomForm::Color, &TCustomForm::SetColor)
            .Type(TypeInfoColor())
            .Default(clBtnFace)
            .Stored(&TCustomForm::IsColorStored);
        c.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
        c.Property("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon);
        c.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
        c.Property("HelpFile", &TCustomForm::HelpFile, &TCustomForm::SetHelpFile);
        c.Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
        c.Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder)
            .Default(false);
        c.Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
        c.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
        c.Property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled).Default(true);
        c.Property("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight);
        c.Property("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible).Default(false);
        c.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
        c.Property("OnActivate", &TCustomForm::OnActivate, &TCustomForm::OnActivate);
        c.Property("OnClose", &TCustomForm::OnClose, &TCustomForm::OnClose);
        c.Property("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::OnCloseQuery);
        c.Property("OnCreate", &TCustomForm::OnCreate, &TCustomForm::OnCreate);
        c.Property("OnDeactivate", &TCustomForm::OnDeactivate, &TCustomForm::OnDeactivate);
        c.Property("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::OnDestroy);
        c.Property("OnHide", &TCustomForm::OnHide, &TCustomForm::OnHide);
        c.Property("OnPaint", &TCustomForm::OnPaint, &TCustomForm::OnPaint);
        c.Property("OnShortCut", &TCustomForm::OnShortCut, &TCustomForm::OnShortCut);
        c.Property("OnShow", &TCustomForm::OnShow, &TCustomForm::OnShow);
    });

const TClass formClass = DescribeClass<TForm, TCustomForm>();

} // namespace
