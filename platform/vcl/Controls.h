// The framework's controls: TControl (a rectangle on its parent that handles
// messages through WindowProc, WndProc, Dispatch and DefaultHandler),
// TWinControl (a control with a window of its own, its children, their
// alignment and the keyboard focus), TGraphicControl and TCustomControl
// (controls that paint on a canvas), the hint window, the mouse and the drag
// manager, with the framework's CM_ and CN_ messages.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Idents.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/win/WinUser.h"

#include <memory>
#include <new>
#include <vector>

class TControl;
class TWinControl;
class TDragObject;
class TBasicAction;
class TControlActionLink;
class TControlActionLinkClassInfo;
// The class of a control's action link (the framework's TControlActionLinkClass).
using TControlActionLinkClass = const TControlActionLinkClassInfo*;

// ---- The framework's messages ---------------------------------------------------

constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;

// Notifications a parent window receives about a child control come back to
// that control as CN_BASE plus the message number.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + WM_CHARTOITEM;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_COMPAREITEM = CN_BASE + WM_COMPAREITEM;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORDLG = CN_BASE + WM_CTLCOLORDLG;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_DELETEITEM = CN_BASE + WM_DELETEITEM;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;
constexpr UINT CN_VKEYTOITEM = CN_BASE + WM_VKEYTOITEM;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;

// Typed views of the messages whose parameters the framework splits.

// WM_KEYDOWN, WM_KEYUP, WM_CHAR, their CN_ forms, CM_DIALOGKEY, CM_DIALOGCHAR:
// the key or character in the low word of WParam, the key data in LParam.
class TWMKey {
public:
    explicit TWMKey(TMessage& Message) : message_(Message) {}
    Word CharCode() const { return LOWORD(message_.WParam); }
    // Keeps the high word of WParam.
    void SetCharCode(Word Value) { message_.WParam = (message_.WParam & ~WPARAM(0xFFFF)) | Value; }
    LongInt KeyData() const { return static_cast<LongInt>(message_.LParam); }
    LRESULT& Result() { return message_.Result; }

private:
    TMessage& message_;
};

// The client-area mouse messages: the key flags in WParam, the position in LParam.
class TWMMouse {
public:
    explicit TWMMouse(const TMessage& Message) : message_(Message) {}
    WPARAM Keys() const { return message_.WParam; }
    Integer XPos() const { return GET_X_LPARAM(message_.LParam); }
    Integer YPos() const { return GET_Y_LPARAM(message_.LParam); }
    TPoint Pos() const { return {XPos(), YPos()}; }

private:
    const TMessage& message_;
};

// ---- Types ---------------------------------------------------------------------

// Controls take the newer look (flat borders, the system's menu font): so
// from start-up here; control sets that also know the older look test it.
inline bool NewStyleControls = true;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
// A scroll bar across (sbHorizontal) or down (sbVertical).
enum TScrollBarKind { sbHorizontal, sbVertical };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
constexpr TAnchors DefaultAnchors{akLeft, akTop};

enum TControlStateFlag {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
using TControlState = TSet<TControlStateFlag>;

enum TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents
};
using TControlStyle = TSet<TControlStyleFlag>;

// The modifier keys and mouse buttons held during an input event; ssDouble
// marks the press of a double click.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// A control's own border: bsNone or bsSingle.
using TBorderStyle = TFormBorderStyle;

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
enum TDragKind { dkDrag, dkDock };
// What CM_DRAG asks of a control (WParam), with a TDragRec in LParam.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };

using TCaption = AnsiString;

// What a modal form answers with.
using TModalResult = Integer;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

using TKeyEvent = Closure<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = Closure<void(TObject* Sender, char& Key)>;
using TMouseEvent =
    Closure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = Closure<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TMouseWheelEvent =
    Closure<void(TObject* Sender, TShiftState Shift, Integer WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    Closure<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TDragOverEvent =
    Closure<void(TObject* Sender, TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept)>;
using TDragDropEvent = Closure<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TStartDragEvent = Closure<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = Closure<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;
using TCanResizeEvent = Closure<void(TObject* Sender, Integer& NewWidth, Integer& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent = Closure<void(TObject* Sender, Integer& MinWidth, Integer& MinHeight,
                                             Integer& MaxWidth, Integer& MaxHeight)>;
using TContextPopupEvent = Closure<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// The shift state of the MK_ flags of a mouse message and of the keys held now.
TShiftState KeysToShiftState(WPARAM Keys);
// The shift state of a key message's data (Alt from its context bit) and of the keys held now.
TShiftState KeyDataToShiftState(LongInt KeyData);

// ---- Size constraints -------------------------------------------------------------

// Limits of a control's size; 0 means no limit.
class TSizeConstraints : public TPersistent {
public:
    explicit TSizeConstraints(TControl* Control) : control_(Control) {}
    void Assign(TPersistent* Source) override;
    TControl* Control() const { return control_; }
    Integer MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(Integer Value);
    Integer MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(Integer Value);
    Integer MinHeight() const { return minHeight_; }
    void SetMinHeight(Integer Value);
    Integer MinWidth() const { return minWidth_; }
    void SetMinWidth(Integer Value);
    TNotifyEvent OnChange;

private:
    void change();
    TControl* control_;
    Integer maxHeight_ = 0;
    Integer maxWidth_ = 0;
    Integer minHeight_ = 0;
    Integer minWidth_ = 0;
};

// ---- Drag and drop -----------------------------------------------------------------

// What is being dragged. The drag manager keeps it while the mouse moves and
// tells targets about it with CM_DRAG.
class TDragObject : public TObject {
public:
    // The cursor shown over a target that accepts (or not) the drop.
    virtual TCursor GetDragCursor(bool Accepted, Integer X, Integer Y);
    // Called when the drag ends, on a target or cancelled.
    virtual void Finished(TObject* Target, Integer X, Integer Y, bool Accepted);
    // The object targets are told of (the dragged control, for a control drag).
    virtual TObject* Source() { return this; }
    TControl* DragTarget() const { return dragTarget_; }
    TPoint DragPos() const { return dragPos_; }
    HWND DragTargetHandle() const { return dragHandle_; }
    bool Cancelling() const { return cancelling_; }
    bool Dropped() const { return dropped_; }

private:
    friend class DragManager;
    TControl* dragTarget_ = nullptr;
    TPoint dragPos_;
    HWND dragHandle_ = nullptr;
    bool cancelling_ = false;
    bool dropped_ = false;
};

// The drag of a control: targets are told of the control.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TControl* AControl) : control_(AControl) {}
    TControl* Control() const { return control_; }
    TObject* Source() override;
    TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
    void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override;

private:
    TControl* control_;
};

// The drag of a control into a dock site (CM_DOCKCLIENT's WParam): the
// control and the rectangle it is to take there (screen coordinates).
class TDragDockObject : public TDragControlObject {
public:
    using TDragControlObject::TDragControlObject;
    TRect DockRect;
};

// A message a docked control received, told to its dock site
// (CM_DOCKNOTIFICATION: WParam the control, LParam this record).
struct TDockNotifyRec {
    UINT ClientMsg = 0;
    WPARAM MsgWParam = 0;
    LPARAM MsgLParam = 0;
    LRESULT MsgResult = 0;
};

// CM_DRAG's record.
struct TDragRec {
    TPoint Pos;
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
    bool Docking = false;
};

// ---- Hints -----------------------------------------------------------------------------

// What a control may change of the hint about to be shown (CM_HINTSHOW, LParam).
struct THintInfo {
    TControl* HintControl = nullptr;
    // The class of the hint window, THintWindow or a descendant.
    TClass HintWindowClass = nullptr;
    TPoint HintPos;
    Integer HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;
    TPoint CursorPos;
    Integer ReshowTimeout = 0;
    Integer HideTimeout = 0;
    AnsiString HintStr;
    void* HintData = nullptr;
};

// The part of a hint before "|" (the whole hint without one), and the part after it.
AnsiString GetShortHint(const AnsiString& Hint);
AnsiString GetLongHint(const AnsiString& Hint);

// ---- The control canvas ------------------------------------------------------------

// A canvas on a control's client area: it asks the control for a device
// context when one is needed and gives it back after the message that used it.
class TControlCanvas : public TCanvas {
public:
    ~TControlCanvas() override;
    TControl* Control() const { return control_; }
    void SetControl(TControl* AControl);
    void FreeHandle();
    // The text flags that the control's reading order asks for.
    void UpdateTextFlags();

protected:
    void CreateHandle() override;

private:
    TControl* control_ = nullptr;
    HDC deviceContext_ = nullptr;
    HWND windowHandle_ = nullptr;
};

// Gives back the device contexts of every control canvas not locked by a thread.
void FreeDeviceContexts();

// ---- TControl --------------------------------------------------------------------------

// Shows a control's popup menu (a component of the menu unit, which installs
// the hook) at a screen point; true when it did. Without a hook right clicks
// show no menu.
using TPopupMenuHook = bool (*)(TComponent* Menu, TControl* Control, TPoint ScreenPos);
extern TPopupMenuHook PopupMenuHook;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    // `delete` runs BeforeDestruction first, while the whole object still
    // exists, so that a descendant's handlers see its own state to the end.
    void operator delete(TControl* Control, std::destroying_delete_t);
    // The allocation that goes with that delete, and the release of the
    // memory of a control whose constructor failed.
    static void* operator new(std::size_t Size);
    void operator delete(void* Memory);
    // Leaves the parent and (for a windowed control) destroys the window.
    virtual void BeforeDestruction();

    // ---- Messages ----
    // Hands the message to WindowProc and returns its Result.
    LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
    // The first stop of every message: WndProc unless someone put another
    // method there (that method passes the messages it does not take on to
    // the one it replaced).
    TWndMethod WindowProc;
    // Calls the handler of the message's number; messages without one go to DefaultHandler.
    virtual void Dispatch(TMessage& Message);
    // What happens to a message nobody handled: text messages keep the
    // control's text; everything else answers 0.
    virtual void DefaultHandler(TMessage& Message);

    // ---- Place ----
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);
    // The dock site the control was docked into, while it still sits there.
    TWinControl* HostDockSite() const;
    // Docks the control into NewDockSite at ARect: the site places it
    // (DoAddDockClient) and hears of its caption and visibility changes.
    void Dock(TWinControl* NewDockSite, const TRect& ARect);
    Integer Left() const { return left_; }
    void SetLeft(Integer Value) { SetBounds(Value, top_, width_, height_); }
    Integer Top() const { return top_; }
    void SetTop(Integer Value) { SetBounds(left_, Value, width_, height_); }
    Integer Width() const { return width_; }
    void SetWidth(Integer Value) { SetBounds(left_, top_, Value, height_); }
    Integer Height() const { return height_; }
    void SetHeight(Integer Value) { SetBounds(left_, top_, width_, Value); }
    // Within the constraints (and what OnCanResize allows); the parent
    // realigns its children afterwards.
    virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
    TRect BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    void SetBoundsRect(const TRect& Rect) { SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height()); }
    TRect ClientRect() { return GetClientRect(); }
    Integer ClientWidth() { return ClientRect().Right; }
    void SetClientWidth(Integer Value);
    Integer ClientHeight() { return ClientRect().Bottom; }
    void SetClientHeight(Integer Value);
    // The screen position of the client area's top-left corner.
    TPoint ClientOrigin() { return GetClientOrigin(); }
    TPoint ClientToScreen(const TPoint& Point);
    TPoint ScreenToClient(const TPoint& Point);
    TAlign Align() const { return align_; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors Value);
    TSizeConstraints* Constraints() const { return constraints_.get(); }
    void SetConstraints(TSizeConstraints* Value) { constraints_->Assign(Value); }
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool Value);
    void BringToFront();
    void SendToBack();

    // ---- Looks ----
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    void Show();
    void Hide();
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool Value);
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool Value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool Value);
    bool IsRightToLeft() const { return biDiMode_ != bdLeftToRight; }
    bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
    // Flags adds the DrawText reading-order flags the control's BiDiMode asks for.
    Integer DrawTextBiDiModeFlags(Integer Flags) const;
    Integer DrawTextBiDiModeFlagsReadingOnly() const;
    virtual void Invalidate();
    // Paints what is invalid now.
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // ---- Text, the caption of most controls (WM_GETTEXT and WM_SETTEXT) ----
    AnsiString Text();
    // Sends CM_TEXTCHANGED when the text changed.
    void SetText(const AnsiString& Value);
    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    Integer GetTextLen();
    Integer GetTextBuf(char* Buffer, Integer BufSize);
    void SetTextBuf(const char* Buffer);

    // ---- Hints ----
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& Value) { hint_ = Value; }
    // The help topic of the control, handed to what it shows on its behalf
    // (a dialog's Help button asks the application for it).
    Integer HelpContext() const { return helpContext_; }
    void SetHelpContext(Integer Value) { helpContext_ = Value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool Value);

    // ---- State ----
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState Value) { controlState_ = Value; }
    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }
    bool MouseCapture();
    void SetMouseCapture(bool Value);
    // The action the control shows and runs (its caption, enabled state, hint,
    // visibility and click); null unlinks it.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* Value);
    TControlActionLink* ActionLink() const { return actionLink_.get(); }
    // Lets the action update the control (its OnUpdate), as the idle time does.
    void InitiateAction();
    // The popup menu, held as a component: the menu unit sits above this one.
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* Value);

    // ---- Dragging ----
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode Value) { dragMode_ = Value; }
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor Value) { dragCursor_ = Value; }
    TDragKind DragKind() const { return dragKind_; }
    void SetDragKind(TDragKind Value) { dragKind_ = Value; }
    // At once, or when the mouse has moved Threshold pixels (Mouse's
    // DragThreshold for a negative one) with the left button held.
    void BeginDrag(bool Immediate, Integer Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;
    // A drop on this control: OnDragDrop.
    virtual void DragDrop(TObject* Source, Integer X, Integer Y);

    // ---- Streaming ----
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void SetName(const AnsiString& NewName) override;
    void ReadState(TReader* Reader) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // ---- Events ----
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;
    TConstrainedResizeEvent OnConstrainedResize;
    TContextPopupEvent OnContextPopup;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    // Stored tests of the published properties: values taken from the parent are not written.
    bool IsColorStored() const { return !parentColor_; }
    bool IsFontStored() const { return !parentFont_; }
    bool IsShowHintStored() const { return !parentShowHint_; }
    bool IsBiDiModeStored() const { return !parentBiDiMode_; }

    // The framework's internal ways in; the window procedures call them.
    virtual void WndProc(TMessage& Message);
    // The control's own popup menu, or its parent's when it has none.
    virtual TComponent* GetPopupMenu();
    // The device context of the control's client area and the window it belongs to.
    virtual HDC GetDeviceContext(HWND& WindowHandle);
    // Tells every other control (the form's and the capture control) to leave
    // a mode such as an open drop-down.
    void SendCancelMode(TControl* Sender);
    // CM_DRAG: the drag manager asks whether the control accepts a drop.
    virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
    void DoEndDrag(TObject* Target, Integer X, Integer Y);
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DragCanceled() {}
    // Realigns the parent's children because this one changed.
    virtual void RequestAlign();
    // Records the anchored distances to the parent's edges.
    void UpdateAnchorRules();

protected:
    virtual TRect GetClientRect();
    virtual TPoint GetClientOrigin();
    // What the control takes from its action when linked (Sender is the
    // action): with CheckDefaults only what is still at its default.
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    // The class of link SetAction makes for the control's kind.
    virtual TControlActionLinkClass GetActionLinkClass();
    // Invalidates the control's rectangle on its parent.
    void InvalidateControl();
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void DoContextPopup(TPoint MousePos, bool& Handled);
    virtual void Resize();
    virtual bool CanResize(Integer& NewWidth, Integer& NewHeight);
    // The size AutoSize asks for; false leaves the size alone.
    virtual bool CanAutoSize(Integer& NewWidth, Integer& NewHeight);
    virtual void ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth,
                                   Integer& MaxHeight);
    virtual void AdjustSize();
    virtual void VisibleChanging() {}
    // Keeps the bounds of a window that moved by itself.
    void UpdateBoundsRect(const TRect& R);
    void Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }
    // Whether BeforeDestruction has run (the destructors call it for controls not made with new).
    bool DestructionPrepared() const { return beforeDestructionDone_; }

    // Handlers of the messages TControl takes.
    void WMMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
    void WMMouseUp(TMessage& Message, TMouseButton Button);
    void WMMouseMove(TMessage& Message);
    void WMCancelMode(TMessage& Message);
    void WMContextMenu(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMParentFontChanged(TMessage& Message);
    void CMParentColorChanged(TMessage& Message);
    void CMParentShowHintChanged(TMessage& Message);
    void CMParentBiDiModeChanged(TMessage& Message);
    void CMHitTest(TMessage& Message);
    void CMMouseWheel(TMessage& Message);
    void CMDrag(TMessage& Message);

    TWinControl* parent_ = nullptr;
    TWinControl* hostDockSite_ = nullptr;
    Integer left_ = 0;
    Integer top_ = 0;
    Integer width_ = 0;
    Integer height_ = 0;
    TControlStyle controlStyle_;
    TControlState controlState_;
    bool visible_ = true;
    bool enabled_ = true;
    // The text of a control without a window (and of a windowed control
    // while it has none).
    AnsiString text_;

private:
    friend class TWinControl;
    friend class DragManager;
    void FontChanged(TObject* Sender);
    void ConstraintsChanged(TObject* Sender);
    void applyConstraints(Integer& NewWidth, Integer& NewHeight);
    bool checkNewSize(Integer& NewWidth, Integer& NewHeight);
    // Moves the control as its anchors ask for the parent's client size.
    void applyAnchors();

    TAlign align_ = alNone;
    TAnchors anchors_ = DefaultAnchors;
    // The size of the parent and this control's distances when the anchors were last recorded.
    TPoint anchorRules_;
    TPoint originalParentSize_;
    bool anchorMove_ = false;
    std::unique_ptr<TSizeConstraints> constraints_;
    bool autoSize_ = false;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    TCursor cursor_ = crDefault;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool parentBiDiMode_ = true;
    AnsiString hint_;
    Integer helpContext_ = 0;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TComponent* popupMenu_ = nullptr;
    std::unique_ptr<TControlActionLink> actionLink_;
    TDragMode dragMode_ = dmManual;
    TCursor dragCursor_ = crDrag;
    TDragKind dragKind_ = dkDrag;
    Integer wheelAccumulator_ = 0;
    bool beforeDestructionDone_ = false;
};

// ---- TWinControl ------------------------------------------------------------------------

// What CreateWindowHandle makes the window from.
struct TCreateParams {
    AnsiString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    Integer X = 0;
    Integer Y = 0;
    Integer Width = 0;
    Integer Height = 0;
    HWND WndParent = nullptr;
    LPVOID Param = nullptr;
    WNDCLASSA WindowClass;
    // The name the window class is registered under (the control's class name).
    AnsiString WinClassName;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    // ---- The window ----
    // Makes the window (and its parents' windows) when there is none.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // The handle as it is, without making one.
    HWND WindowHandle() const { return handle_; }
    void SetWindowHandle(HWND Value) { handle_ = Value; }
    // A window outside the framework to sit in, for a control without parent.
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND Value);
    // The window procedure that messages nobody handled go to: DefWindowProc,
    // or the original procedure of a subclassed standard control.
    WNDPROC DefWndProc() const { return defWndProc_; }
    void SetDefWndProc(WNDPROC Value) { defWndProc_ = Value; }
    // Destroys the window; the control makes a new one when it is needed.
    void RecreateWnd();
    // Visible, and every parent showing.
    bool Showing() const { return showing_; }
    // Makes AControl (a child) visible to the user: a container that shows
    // one child at a time (a page) brings it forward.
    virtual void ShowControl(TControl* AControl);
    // The window procedure: WindowProc, with exceptions reported by the application.
    void MainWndProc(TMessage& Message);
    // The procedure every framework window class is registered with: the
    // first message of a new window gives CreationControl its handle and
    // puts the control's object instance in its place.
    static WNDPROC InitialWindowProc();

    // ---- Children ----
    Integer ControlCount() const {
        return static_cast<Integer>(graphicControls_.size() + winControls_.size());
    }
    TControl* Controls(Integer Index) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    // The visible (and enabled unless AllowDisabled) child under Pos (client coordinates).
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
    TControl* FindChildControl(const AnsiString& ControlName) const;
    // Hands Message to every child until one answers non-zero.
    void Broadcast(TMessage& Message);
    void DisableAlign();
    // Realigns the children when the last DisableAlign is undone.
    void EnableAlign();
    bool AlignDisabled() const { return alignLevel_ != 0; }
    void Realign();
    // Realigns the children because Control changed.
    void AlignControl(TControl* AControl);
    // Moves every child by DeltaX, DeltaY, scrolling the window's pixels with them.
    void ScrollBy(Integer DeltaX, Integer DeltaY);
    // Paints the control and its windowed children into another DC, at X, Y.
    void PaintTo(HDC DC, Integer X, Integer Y);

    // ---- Focus and tab order ----
    virtual bool CanFocus();
    bool Focused();
    virtual void SetFocus();
    // The position among the parent's windowed children in tab order; -1 without a parent.
    Integer TabOrder() const;
    void SetTabOrder(Integer Value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool Value);
    // The windowed children in tab order, each followed by its own children.
    void GetTabOrderList(std::vector<TWinControl*>& List);
    // The next (or previous) focusable control after CurControl among the
    // descendants, wrapping around; with CheckTabStop only tab stops.
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    void SelectFirst();

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool Value);
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool Value) { doubleBuffered_ = Value; }
    TBrush* Brush() const { return brush_.get(); }
    bool IsCtl3DStored() const { return !parentCtl3D_; }

    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void SetParent(TWinControl* AParent) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void WndProc(TMessage& Message) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void ReadState(TReader* Reader) override;
    void Loaded() override;
    HDC GetDeviceContext(HWND& WindowHandle) override;
    // Makes the window when the control is showing, shows or hides it.
    void UpdateControlState();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // The key handling steps (the form's KeyPreview first, then the
    // control's own events); true when the key was consumed.
    bool DoKeyDown(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    bool DoKeyPress(TMessage& Message);

protected:
    // A control docking in becomes a child here.
    virtual void DoAddDockClient(TControl* Client, const TRect& ARect);
    TControlActionLinkClass GetActionLinkClass() override;
    // The window's styles, class and place. A descendant adds its own.
    virtual void CreateParams(TCreateParams& Params);
    // Fills Params, registers the class and makes the window.
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    // Keeps the text and destroys the window.
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void CreateHandle();
    // Destroys the children's windows first.
    void DestroyHandle();
    // Makes the control a subclass of a standard control class: its window
    // procedure becomes the default one, the class name the control's.
    void CreateSubClass(TCreateParams& Params, LPCSTR ControlClassName);
    // Positions the children by their Align and Anchors inside Rect.
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    // The part of the client area that aligned children share.
    virtual void AdjustClientRect(TRect& Rect);
    TRect GetClientRect() override;
    TPoint GetClientOrigin() override;
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // WM_PAINT: the window's own painting, then the graphic children.
    void PaintHandler(TMessage& Message);
    virtual void PaintWindow(HDC DC);
    void PaintControls(HDC DC, TControl* First);
    void SetZOrderOf(TControl* Control, bool TopMost);
    // The window a new child window goes after, to keep the children's order.
    HWND PrecedingWindow(TControl* Control) const;

    // Handlers of the messages TWinControl takes.
    void WMPaint(TMessage& Message);
    void WMEraseBkgnd(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMMove(TMessage& Message);
    void WMWindowPosChanging(TMessage& Message);
    void WMGetMinMaxInfo(TMessage& Message);
    void WMWindowPosChanged(TMessage& Message);
    void WMSetCursor(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMKeyDown(TMessage& Message);
    void WMKeyUp(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMNCDestroy(TMessage& Message);
    void WMMouseWheel(TMessage& Message);
    void WMContextMenu(TMessage& Message);
    void CNKeyDown(TMessage& Message);
    void CNChar(TMessage& Message);
    void CNSysChar(TMessage& Message);
    void CMDialogKey(TMessage& Message);
    void CMShowingChanged(TMessage& Message);
    void CMEnter(TMessage& Message);
    void CMExit(TMessage& Message);
    void CMRecreateWnd(TMessage& Message);
    void CMEnabledChanged(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    void CMColorChanged(TMessage& Message);
    void CMVisibleChanged(TMessage& Message);
    void CMCtl3DChanged(TMessage& Message);
    void CMParentCtl3DChanged(TMessage& Message);
    void CMCursorChanged(TMessage& Message);
    void CMInvalidate(TMessage& Message);

private:
    friend class TControl;
    // The first window procedure of every framework window class: it gives
    // CreationControl its handle and hands the window to its object instance.
    static LRESULT InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
    // Notifications that a parent window gets about a child: sent to the child as CN_.
    bool reflectToChild(HWND Child, TMessage& Message);
    // Mouse messages over a graphic child go to it.
    bool isControlMouseMessage(TMessage& Message);
    void insertChild(TControl* AControl);
    void removeChild(TControl* AControl);
    void updateShowing();
    void updateBounds();
    void registerWindowClass(TCreateParams& Params);
    void createWindow();
    void notifyControls(UINT Msg);
    void fixupTabList();
    bool isMenuKey(TMessage& Message);
    std::vector<TControl*> alignedChildren(TAlign Align, TControl* AControl) const;

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    WNDPROC objectInstance_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    // Graphic children lie below the windowed ones; each list in z-order, the topmost last.
    std::vector<TControl*> graphicControls_;
    std::vector<TWinControl*> winControls_;
    std::vector<TWinControl*> tabList_;
    // A TabOrder read from a form resource, applied once the siblings are all there.
    Integer pendingTabOrder_ = -1;
    std::unique_ptr<TBrush> brush_;
    Integer alignLevel_ = 0;
    bool showing_ = false;
    bool tabStop_ = false;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    bool doubleBuffered_ = false;
};

// The control whose window is being made right now: the initial window
// procedure of every framework class gives it its handle.
extern TWinControl* CreationControl;

// ---- TGraphicControl and TCustomControl -------------------------------------------------

// A control without a window that its parent paints (WM_PAINT with the
// parent's device context moved to the control).
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }
    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }
    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// ---- The hint window ------------------------------------------------------------------------

// The small window a hint shows in, over everything else.
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* AOwner);
    // Shows Hint at Rect (screen coordinates).
    virtual void ActivateHint(TRect Rect, const AnsiString& AHint);
    virtual void ActivateHintData(TRect Rect, const AnsiString& AHint, void* AData);
    // The size Hint needs when it wraps at MaxWidth.
    virtual TRect CalcHintRect(Integer MaxWidth, const AnsiString& AHint, void* AData);
    // Whether a message should hide the hint (input, and the mouse leaving it).
    virtual bool IsHintMsg(const MSG& Msg);
    // Hides the window.
    void ReleaseHandle();
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    bool activating_ = false;
};

// ---- The mouse -------------------------------------------------------------------------------

class TMouse : public TObject {
public:
    TPoint CursorPos() const;
    void SetCursorPos(const TPoint& Value);
    HWND Capture() const;
    void SetCapture(HWND Value);
    bool MousePresent() const { return true; }
    bool WheelPresent() const { return true; }
    Integer WheelScrollLines() const;
    bool DragImmediate() const { return dragImmediate_; }
    void SetDragImmediate(bool Value) { dragImmediate_ = Value; }
    Integer DragThreshold() const { return dragThreshold_; }
    void SetDragThreshold(Integer Value) { dragThreshold_ = Value; }

private:
    bool dragImmediate_ = true;
    Integer dragThreshold_ = 5;
};

extern TMouse* Mouse;

// ---- Finding controls ---------------------------------------------------------------------

// The window properties (named after the process, and after the module and
// thread) that tie a framework window to its control.
ATOM ControlAtom();
ATOM WindowAtom();
// The control a framework window belongs to, or null.
TWinControl* FindControl(HWND Handle);
bool IsVCLControl(HWND Handle);
// The windowed control under a screen point.
TWinControl* FindVCLWindow(const TPoint& Pos);
// The control (windowed or not) under a screen point.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// The control that has the mouse captured, windowed or graphic.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
void CancelDrag();
