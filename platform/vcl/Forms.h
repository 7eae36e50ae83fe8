// Forms and the program around them: TCustomForm/TForm (top-level windows
// built from their form resources, shown plainly or modally), TApplication
// (the message loop, hints, exceptions and the hidden application window)
// and TScreen (cursors, fonts, the active form).
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/ScrollBoxes.h"

#include <exception>
#include <map>
#include <new>
#include <utility>
#include <vector>

class TCustomForm;
class TForm;
class TMainMenu;

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TCloseEvent = Closure<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = Closure<void(TObject* Sender, bool& CanClose)>;
// A key the form may take as a shortcut before its controls see it (a CN_KEYDOWN message).
using TShortCutEvent = Closure<void(TMessage& Msg, bool& Handled)>;

// A top-level window with controls on it, scrolling them with its own bars
// when they reach past its client area (AutoScroll). Made with its constructor alone
// (the framework's CreateNew) it is empty; NewForm and
// TApplication::CreateForm also read its form resource and run OnCreate, as
// the framework's constructor does.
class TCustomForm : public TScrollingWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    // Reads the form resource unless the constructor did, then OnCreate; a
    // form resource that says Visible shows the form after that.
    void AfterConstruction();
    // Hides the form and runs OnDestroy before any of it goes.
    void BeforeDestruction() override;

    // ---- Showing and closing ----
    // Visible, and in front of the other windows.
    void Show();
    void Hide() { SetVisible(false); }
    // While the form resource is read, Visible only marks the form to be
    // shown once it is made.
    void SetVisible(bool Value);
    // Shows the form and runs a message loop until ModalResult is set (or the
    // application terminates); the other windows of the program are disabled
    // meanwhile. EInvalidOperation "Cannot make a visible window modal" for a
    // visible or disabled form.
    Integer ShowModal();
    // OnCloseQuery, then OnClose; the main form's closing ends the program. A
    // modal form is given mrCancel instead.
    void Close();
    bool CloseQuery();
    // Frees the form once the messages already waiting have been handled.
    void Release();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }
    TFormState FormState() const { return formState_; }

    // ---- Looks ----
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value);
    // Where the form goes when it is shown.
    TPosition Position() const { return position_; }
    void SetPosition(TPosition Value) { position_ = Value; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState Value);
    TCanvas* Canvas() const { return canvas_.get(); }
    // The menu bar in the form's frame (the menu unit's SetFormMenu).
    TMainMenu* Menu() const;
    void SetMenu(TMainMenu* Value);
    // The window's icon (WM_SETICON); an empty one leaves the window without.
    TIcon* Icon() const { return icon_.get(); }
    void SetIcon(TIcon* Value) { icon_->Assign(Value); }
    // Kept as the form resource gives them; forms are not scaled.
    bool Scaled() const { return scaled_; }
    void SetScaled(bool Value) { scaled_ = Value; }
    Integer PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(Integer Value) { pixelsPerInch_ = Value; }
    Integer TextHeight() const { return textHeight_; }
    void SetTextHeight(Integer Value) { textHeight_ = Value; }
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool Value) { oldCreateOrder_ = Value; }
    // Before the window exists, the client size of a form being read is kept
    // and applied when reading ends.
    void SetClientWidth(Integer Value);
    void SetClientHeight(Integer Value);

    // ---- Focus and keys ----
    TWinControl* ActiveControl() const { return activeControl_; }
    // EInvalidOperation "Cannot focus a disabled or invisible window" for a
    // control that is not on this form or cannot take the focus.
    void SetActiveControl(TWinControl* Control);
    bool Active() const { return active_; }
    // The form sees its controls' keys first (OnKeyDown, OnKeyPress, OnKeyUp).
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool Value) { keyPreview_ = Value; }
    // The help file of the form's topics; the application's while empty.
    AnsiString HelpFile() const { return helpFile_; }
    void SetHelpFile(const AnsiString& Value) { helpFile_ = Value; }
    void FocusControl(TWinControl* Control);
    void SetFocus() override;
    bool CanFocus() override { return Visible() && Enabled(); }
    // The focus moved to Control: CM_EXIT up from the old one, CM_ENTER down
    // to the new one, then CM_FOCUSCHANGED to every control. False when a
    // handler moved the focus elsewhere meanwhile.
    bool SetFocusedControl(TWinControl* Control);
    // Control (Removing: and its children) gives up the focus.
    void DefocusControl(TWinControl* Control, bool Removing);
    // Whether Message (a CN_KEYDOWN) is a shortcut the form takes: OnShortCut.
    virtual bool IsShortCut(TMessage& Message);
    // Tells the active control to leave a mode (CM_CANCELMODE) for Sender.
    void SendCancelMode(TControl* Sender);
    // Hands a wheel turn (CM_MOUSEWHEEL's parameters) to the focused control.
    LRESULT MouseWheelHandler(WPARAM WParam, LPARAM LParam);
    // Called while the program is idle for every visible, enabled form: the
    // actions of the form, of its menu bar's top items and of its visible
    // controls update their state (OnUpdate).
    virtual void UpdateActions();

    void Dispatch(TMessage& Message) override;
    void Loaded() override;
    // The components without a parent (timers, menus) first, then the controls.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    // Builds the controls from the form resource of this class (and of its
    // ancestors below TForm); a constructor that needs its controls calls it
    // first. EResNotFound "Resource %s not found" when there is none.
    void LoadFormResource();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow(HDC DC) override;
    TRect GetClientRect() override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    virtual void Activate();
    virtual void Deactivate();
    virtual void Paint();
    // A highlighted item of the form's menu bar: its long hint becomes the
    // application's hint (empty when the menu closes or the item is not the
    // menu's). A form class that shows hints its own way overrides it.
    virtual void WMMenuSelect(TMessage& Message);

private:
    void CMShowingChanged(TMessage& Message);
    void CMDialogKey(TMessage& Message);
    void WMActivate(TMessage& Message);
    void WMClose(TMessage& Message);
    void setActive(bool Value);
    void iconChanged(TObject* Sender);
    TRect clientRectOfStyle();
    void setWindowFocus();
    void placeWindow();
    void closeModal();
    int showCommand() const;

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TFormStyle formStyle_ = fsNormal;
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    TFormState formState_;
    TModalResult modalResult_ = mrNone;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    std::unique_ptr<TControlCanvas> canvas_;
    std::unique_ptr<TIcon> icon_;
    bool scaled_ = true;
    Integer pixelsPerInch_ = 96;
    Integer textHeight_ = 13;
    Integer pendingClientWidth_ = 0;
    Integer pendingClientHeight_ = 0;
    bool oldCreateOrder_ = false;
    bool keyPreview_ = false;
    AnsiString helpFile_;
    bool active_ = false;
    bool resourceLoaded_ = false;
    bool constructionFinished_ = false;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

// Makes a form as the framework's constructor does: T's constructor, then
// its form resource and OnCreate (AfterConstruction). A form class whose
// constructor takes more than the owner gets the rest after it.
template <typename T, typename... Arguments> T* NewForm(TComponent* AOwner, Arguments&&... More) {
    T* form = new T(AOwner, std::forward<Arguments>(More)...);
    try {
        form->AfterConstruction();
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}

// The form a control sits on (the control itself for a form), or null.
TCustomForm* GetParentForm(TControl* Control);
// The same, raising EInvalidOperation "Control '%s' has no parent window" when there is none.
TCustomForm* ValidParentForm(TControl* Control);

// ---- TScreen ------------------------------------------------------------------------------

// The screen object also makes LoadCursor find the program's cursor files
// (resources/*.cur) by name, for the cursors a program registers in Cursors.

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* AOwner);
    ~TScreen() override;

    // crDefault lets every control show its own cursor; any other cursor is shown everywhere.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    // The cursor handles by number: the standard ones and those a program
    // registers (with positive numbers). An unknown number gives the default cursor.
    HCURSOR Cursors(Integer Index) const;
    // A null handle removes the cursor (for crDefault: back to the arrow).
    void SetCursors(Integer Index, HCURSOR Handle);

    Integer Width() const;
    Integer Height() const;
    Integer PixelsPerInch() const { return 96; }
    // The names of the fonts text can be drawn in, sorted.
    TStrings* Fonts();
    TFont* HintFont() const { return hintFont_.get(); }
    void SetHintFont(TFont* Value) { hintFont_->Assign(Value); }
    TFont* MenuFont() const { return menuFont_.get(); }
    void SetMenuFont(TFont* Value) { menuFont_->Assign(Value); }
    TFont* IconFont() const { return iconFont_.get(); }

    // The form that has (or last had) the focus, and the control that has it.
    TCustomForm* ActiveCustomForm() const { return activeCustomForm_; }
    TForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeControl_; }
    Integer CustomFormCount() const { return static_cast<Integer>(customForms_.size()); }
    TCustomForm* CustomForms(Integer Index) const;
    Integer FormCount() const;
    TForm* Forms(Integer Index) const;

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    friend class TApplication;
    void addForm(TCustomForm* Form);
    void removeForm(TCustomForm* Form);
    void setFocusedForm(TCustomForm* Form, TWinControl* Control);
    void loadStandardCursors();

    TCursor cursor_ = crDefault;
    HCURSOR defaultCursor_ = nullptr;
    std::map<Integer, HCURSOR> cursors_;
    std::unique_ptr<TStringList> fonts_;
    std::unique_ptr<TFont> hintFont_;
    std::unique_ptr<TFont> menuFont_;
    std::unique_ptr<TFont> iconFont_;
    std::vector<TCustomForm*> customForms_;
    TCustomForm* activeCustomForm_ = nullptr;
    TForm* activeForm_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    // The form that was told CM_ACTIVATE last.
    TCustomForm* focusedForm_ = nullptr;
};

// ---- TApplication ---------------------------------------------------------------------------

using TExceptionEvent = Closure<void(TObject* Sender, Exception& E)>;
using TMessageEvent = Closure<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = Closure<void(TObject* Sender, bool& Done)>;
// Sees the application window's messages first; true stops their handling.
using TWindowHook = Closure<bool(TMessage& Message)>;
// A help request (HELP_CONTEXT and the context number, for instance); the
// answer is whether help was shown. CallHelp asks for the help viewer too.
using THelpEvent = Closure<bool(Word Command, Integer Data, bool& CallHelp)>;

// The class of the hint windows the application makes: THintWindow when null.
extern TClass HintWindowClass;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    // The hidden application window, made on first use: forms are its owned
    // windows, and its text is the title.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void Initialize();
    // Makes a form as NewForm does, Reference being set before its
    // constructor runs; the first form made becomes the main form.
    template <typename T> void CreateForm(T*& Reference);
    // Shows the main form and handles messages until the program terminates;
    // an exception that reaches the loop is shown and the loop goes on.
    void Run();
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Handles one message, or (when none waits) does the idle work and waits for one.
    void HandleMessage();
    // Ends the message loop (WM_QUIT).
    void Terminate();
    bool Terminated() const { return terminated_; }
    bool Active() const { return active_; }
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool Value) { showMainForm_ = Value; }
    AnsiString Title();
    void SetTitle(const AnsiString& Value);
    AnsiString ExeName() const;
    // A dialog window whose messages the loop hands to IsDialogMessage before
    // dispatching them, so its keys move the focus and press its buttons.
    HWND DialogHandle() const { return dialogHandle_; }
    void SetDialogHandle(HWND Value) { dialogHandle_ = Value; }
    void BringToFront();

    // ---- Exceptions ----
    // Called inside a catch block: EAbort is dropped, anything else goes to
    // OnException or, without one, to the error box (ShowException).
    void HandleException(TObject* Sender);
    // The error box: the message (with a full stop added) under the title.
    void ShowException(const Exception& E);
    Integer MessageBox(const char* Text, const char* Caption, UINT Flags);
    TExceptionEvent OnException;

    // ---- Hints ----
    const AnsiString& Hint() const { return hint_; }
    // OnHint fires when the hint changes; without a handler, a THintAction
    // carrying the hint is executed (a status bar with AutoHint shows it).
    void SetHint(const AnsiString& Value);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value);
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor Value) { hintColor_ = Value; }
    Integer HintPause() const { return hintPause_; }
    void SetHintPause(Integer Value) { hintPause_ = Value; }
    Integer HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(Integer Value) { hintShortPause_ = Value; }
    // A control whose action has a shortcut shows it after its hint: "Open (Ctrl+O)".
    bool HintShortCuts() const { return hintShortCuts_; }
    void SetHintShortCuts(bool Value) { hintShortCuts_ = Value; }
    Integer HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(Integer Value) { hintHidePause_ = Value; }
    // The hint window showing now, or null.
    THintWindow* HintWindow() const { return hintActive_ ? hintWindow_ : nullptr; }
    // Shows the hint of the control under CursorPos now.
    void ActivateHint(const TPoint& CursorPos);
    void CancelHint();
    void HideHint();
    // Every control's mouse messages: hints start after a pause over a
    // control that shows one and end with a press or when the mouse leaves.
    void HintMouseMessage(TControl* Control, TMessage& Message);
    // The control under the mouse, as the idle work last found it.
    TControl* MouseControl() const { return mouseControl_; }
    TNotifyEvent OnHint;

    // The reading order of what follows the application rather than a
    // control (a right-to-left menu opened where no control is).
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode Value) { biDiMode_ = Value; }

    // ---- Help ----
    AnsiString HelpFile() const { return helpFile_; }
    void SetHelpFile(const AnsiString& Value) { helpFile_ = Value; }
    // The help file a help request is for: the active form's, else the application's.
    AnsiString CurrentHelpFile() const;
    // Help on a topic: HelpCommand(HELP_CONTEXT, Context).
    bool HelpContext(Integer Context);
    // OnHelp answers; there is no help viewer behind it on this system, so
    // without a handler the answer is false.
    bool HelpCommand(Word Command, Integer Data);
    THelpEvent OnHelp;

    // ---- The loop ----
    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    void HookMainWindow(TWindowHook Hook);
    void UnhookMainWindow(TWindowHook Hook);
    // The loop's key step: a key or character message goes first to the
    // framework control that would get it, as a CN_ message with the same
    // parameters (a character keeps its 16 bits); true when the control used it.
    bool IsKeyMsg(MSG& Msg);
    // A control goes: the application forgets it.
    void ControlDestroyed(TControl* Control);
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TCustomForm;
    // The application window's class procedure: the first message puts the
    // application's object instance in its place.
    static LRESULT InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
    void createHandle();
    void WndProc(TMessage& Message);
    void wakeMainThread(TObject* Sender);
    bool processMessage(MSG& Msg);
    bool isDialogMessage(MSG& Msg);
    void idle();
    void updateActions();
    void trackMouseControl();
    void hintTimerExpired(UINT_PTR Timer);
    void startHintTimer(UINT_PTR Timer, Integer Milliseconds);
    void stopHintTimer(UINT_PTR Timer);
    THintWindow* hintWindowOfClass(TClass Class);
    void addShortCutToHint(THintInfo& Info) const;
    void registerMainForm(TCustomForm* Form);
    void handleException(TObject* Sender, std::exception_ptr Error);

    HWND handle_ = nullptr;
    TBiDiMode biDiMode_ = bdLeftToRight;
    WNDPROC objectInstance_ = nullptr;
    AnsiString title_;
    AnsiString helpFile_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool running_ = false;
    bool active_ = true;
    bool showMainForm_ = true;
    HWND dialogHandle_ = nullptr;
    std::vector<TWindowHook> windowHooks_;
    AnsiString hint_;
    bool showHint_ = true;
    TColor hintColor_ = clInfoBk;
    Integer hintPause_ = 500;
    Integer hintShortPause_ = 50;
    Integer hintHidePause_ = 2500;
    bool hintShortCuts_ = true;
    THintWindow* hintWindow_ = nullptr;
    TControl* hintControl_ = nullptr;
    TRect hintCursorRect_;
    bool hintActive_ = false;
    TControl* mouseControl_ = nullptr;
};

// The program's application and screen objects, made on first use so that
// any unit's start-up code may reach them. They live to the end of the
// program; DoneApplication frees the forms before it ends.
struct TApplicationAccess {
    TApplication* operator->() const { return get(); }
    operator TApplication*() const { return get(); }
    TApplication* get() const;
};
struct TScreenAccess {
    TScreen* operator->() const { return get(); }
    operator TScreen*() const { return get(); }
    TScreen* get() const;
};
inline constexpr TApplicationAccess Application;
inline constexpr TScreenAccess Screen;

// Frees the application's forms (running their OnDestroy) and its window, as
// the framework does when the program ends; the program's entry calls it
// after Run.
void DoneApplication();

template <typename T> void TApplication::CreateForm(T*& Reference) {
    void* memory = T::operator new(sizeof(T));
    Reference = static_cast<T*>(memory);
    T* instance;
    try {
        instance = ::new (memory) T(this);
    } catch (...) {
        T::operator delete(memory);
        Reference = nullptr;
        throw;
    }
    try {
        instance->AfterConstruction();
    } catch (...) {
        Reference = nullptr;
        delete instance;
        throw;
    }
    if constexpr (std::is_base_of_v<TCustomForm, T>) registerMainForm(instance);
}
