#include "platform/vcl/Controls.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Atoms.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/Props.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <mutex>

TPopupMenuHook PopupMenuHook = nullptr;
TWinControl* CreationControl = nullptr;

namespace {

constexpr const char* SParentRequired = "Control '%s' has no parent window";
constexpr const char* SControlParentSetToSelf = "A control cannot have itself as its parent";
constexpr const char* SCannotDragForm = "Cannot drag a form";
constexpr const char* SWindowDCError = "Error creating window device context";

// Key data bit of a key message: the Alt key was held.
constexpr LongInt AltKeyDataMask = 0x20000000;
// The position WM_CANCELMODE reports a pending button release at: outside every control.
constexpr LPARAM OutsidePosition = -1;

// The graphic control that has the mouse: the window capture is its parent's.
TControl* captureControl = nullptr;

bool isMouseMessage(UINT Msg) {
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST;
}

bool isKeyMessage(UINT Msg) {
    return Msg >= WM_KEYFIRST && Msg <= WM_KEYLAST;
}

bool isButtonMessage(UINT Msg) {
    return Msg > WM_MOUSEMOVE && Msg <= WM_MBUTTONDBLCLK;
}

TAnchors anchorsOfAlign(TAlign Align) {
    switch (Align) {
    case alTop:
        return {akLeft, akTop, akRight};
    case alBottom:
        return {akLeft, akRight, akBottom};
    case alLeft:
        return {akLeft, akTop, akBottom};
    case alRight:
        return {akRight, akTop, akBottom};
    case alClient:
        return {akLeft, akTop, akRight, akBottom};
    default:
        return DefaultAnchors;
    }
}

// Whether A goes before B among the children aligned the same way.
bool alignsBefore(const TControl* A, const TControl* B, TAlign Align) {
    switch (Align) {
    case alTop:
        return A->Top() < B->Top();
    case alBottom:
        return A->Top() + A->Height() >= B->Top() + B->Height();
    case alLeft:
        return A->Left() < B->Left();
    case alRight:
        return A->Left() + A->Width() >= B->Left() + B->Width();
    default:
        return false;
    }
}

TPoint pointOf(LPARAM Param) {
    return {GET_X_LPARAM(Param), GET_Y_LPARAM(Param)};
}

LPARAM paramOf(TPoint Point) {
    return MAKELPARAM(static_cast<WORD>(Point.x), static_cast<WORD>(Point.y));
}

bool pointInRect(const TRect& Rect, const TPoint& Point) {
    return Point.x >= Rect.Left && Point.x < Rect.Right && Point.y >= Rect.Top && Point.y < Rect.Bottom;
}

// The fields of the notification records through which a notification names its control.
struct NotifyHeader {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

// The control an owner-draw request is about: the draw, delete and compare
// records name its window; the measure record only its id (and menus have none).
HWND ownerDrawnControl(HWND Parent, const TMessage& Message) {
    if (!Message.LParam) return nullptr;
    switch (Message.Msg) {
    case WM_DRAWITEM:
        return reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam)->hwndItem;
    case WM_DELETEITEM:
        return reinterpret_cast<const DELETEITEMSTRUCT*>(Message.LParam)->hwndItem;
    case WM_COMPAREITEM:
        return reinterpret_cast<const COMPAREITEMSTRUCT*>(Message.LParam)->hwndItem;
    default: {
        const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
        return measure->CtlType == ODT_MENU ? nullptr : GetDlgItem(Parent, static_cast<int>(measure->CtlID));
    }
    }
}

// ---- Control canvases ----

std::mutex& canvasListMutex() {
    static std::mutex mutex;
    return mutex;
}
std::vector<TControlCanvas*>& canvasList() {
    static std::vector<TControlCanvas*> list;
    return list;
}

} // namespace

// ---- Shift states and hints -----------------------------------------------------------

TShiftState KeysToShiftState(WPARAM Keys) {
    TShiftState state;
    if (Keys & MK_SHIFT) state.Include(ssShift);
    if (Keys & MK_CONTROL) state.Include(ssCtrl);
    if (Keys & MK_LBUTTON) state.Include(ssLeft);
    if (Keys & MK_RBUTTON) state.Include(ssRight);
    if (Keys & MK_MBUTTON) state.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) state.Include(ssAlt);
    return state;
}

TShiftState KeyDataToShiftState(LongInt KeyData) {
    TShiftState state;
    if (GetKeyState(VK_SHIFT) < 0) state.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) state.Include(ssCtrl);
    if (KeyData & AltKeyDataMask) state.Include(ssAlt);
    return state;
}

AnsiString GetShortHint(const AnsiString& Hint) {
    const auto bar = Hint.find('|');
    return bar == AnsiString::npos ? Hint : Hint.substr(0, bar);
}

AnsiString GetLongHint(const AnsiString& Hint) {
    const auto bar = Hint.find('|');
    return bar == AnsiString::npos ? Hint : Hint.substr(bar + 1);
}

// ---- TSizeConstraints ----------------------------------------------------------------------

void TSizeConstraints::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSizeConstraints*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    minHeight_ = source->minHeight_;
    maxHeight_ = source->maxHeight_;
    minWidth_ = source->minWidth_;
    maxWidth_ = source->maxWidth_;
    change();
}

// A maximum below the minimum lowers the minimum, and the other way round.
void TSizeConstraints::SetMaxHeight(Integer Value) {
    if (Value == maxHeight_) return;
    maxHeight_ = std::max(Value, 0);
    if (maxHeight_ > 0 && minHeight_ > maxHeight_) minHeight_ = maxHeight_;
    change();
}

void TSizeConstraints::SetMaxWidth(Integer Value) {
    if (Value == maxWidth_) return;
    maxWidth_ = std::max(Value, 0);
    if (maxWidth_ > 0 && minWidth_ > maxWidth_) minWidth_ = maxWidth_;
    change();
}

void TSizeConstraints::SetMinHeight(Integer Value) {
    if (Value == minHeight_) return;
    minHeight_ = std::max(Value, 0);
    if (maxHeight_ > 0 && minHeight_ > maxHeight_) maxHeight_ = minHeight_;
    change();
}

void TSizeConstraints::SetMinWidth(Integer Value) {
    if (Value == minWidth_) return;
    minWidth_ = std::max(Value, 0);
    if (maxWidth_ > 0 && minWidth_ > maxWidth_) maxWidth_ = minWidth_;
    change();
}

void TSizeConstraints::change() {
    if (OnChange) OnChange(this);
}

// ---- TControlCanvas -------------------------------------------------------------------------

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* AControl) {
    if (control_ == AControl) return;
    FreeHandle();
    control_ = AControl;
}

void TControlCanvas::CreateHandle() {
    if (!control_) return;
    if (!deviceContext_) {
        // Making the context may make the window, whose messages free contexts.
        deviceContext_ = control_->GetDeviceContext(windowHandle_);
        std::lock_guard lock(canvasListMutex());
        canvasList().push_back(this);
    }
    SetHandle(deviceContext_);
    UpdateTextFlags();
}

void TControlCanvas::FreeHandle() {
    if (!deviceContext_) return;
    SetHandle(nullptr);
    ReleaseDC(windowHandle_, deviceContext_);
    deviceContext_ = nullptr;
    windowHandle_ = nullptr;
    std::lock_guard lock(canvasListMutex());
    std::erase(canvasList(), this);
}

void TControlCanvas::UpdateTextFlags() {
    if (!control_) return;
    SetTextFlags(control_->UseRightToLeftReading() ? TextFlags() | ETO_RTLREADING
                                                   : TextFlags() & ~static_cast<Integer>(ETO_RTLREADING));
}

void FreeDeviceContexts() {
    std::vector<TControlCanvas*> canvases;
    {
        std::lock_guard lock(canvasListMutex());
        canvases = canvasList();
    }
    for (TControlCanvas* canvas : canvases) {
        // A canvas that some code holds (this thread's or a worker's) keeps its context.
        if (canvas->LockCount() != 0 || !canvas->TryLock()) continue;
        canvas->FreeHandle();
        canvas->Unlock();
    }
}

// ---- The drag manager -------------------------------------------------------------------

TCursor TDragObject::GetDragCursor(bool Accepted, Integer, Integer) {
    return Accepted ? crDrag : crNoDrop;
}

void TDragObject::Finished(TObject*, Integer, Integer, bool) {}

TObject* TDragControlObject::Source() {
    return control_;
}

TCursor TDragControlObject::GetDragCursor(bool Accepted, Integer, Integer) {
    return Accepted ? control_->DragCursor() : crNoDrop;
}

void TDragControlObject::Finished(TObject* Target, Integer X, Integer Y, bool Accepted) {
    if (!Accepted) {
        control_->DragCanceled();
        Target = nullptr;
    }
    control_->DoEndDrag(Target, X, Y);
}

// One drag at a time: the dragged control, the object that describes it, and a
// hidden window that holds the mouse capture while the mouse moves. Targets
// hear of it through CM_DRAG.
class DragManager {
public:
    static bool Active() { return object_ != nullptr; }
    static TControl* Control() { return control_; }

    static void Begin(TControl* Control, bool Immediate, Integer Threshold) {
        TDragObject* object = nullptr;
        Control->DoStartDrag(object);
        ownsObject_ = object == nullptr;
        if (!object) object = new TDragControlObject(Control);
        control_ = Control;
        object_ = object;
        threshold_ = Threshold;
        GetCursorPos(&startPos_);
        object_->dragPos_ = startPos_;
        savedCursor_ = GetCursor();
        captureWindow_ = AllocateHWnd(TWndMethod(&receiver_, &Receiver::WndProc));
        SetCapture(captureWindow_);
        dragging_ = Immediate;
        if (Immediate) MoveTo(startPos_);
    }

    static void MoveTo(TPoint Pos) {
        if (!dragging_) {
            if (std::abs(Pos.x - startPos_.x) < threshold_ && std::abs(Pos.y - startPos_.y) < threshold_)
                return;
            dragging_ = true;
        }
        TControl* target = FindDragTarget(Pos, false);
        if (target != object_->dragTarget_) {
            if (object_->dragTarget_) tell(dmDragLeave);
            object_->dragTarget_ = target;
            object_->dragHandle_ = target ? WindowFromPoint(Pos) : nullptr;
            object_->dragPos_ = Pos;
            if (target) tell(dmDragEnter);
        }
        object_->dragPos_ = Pos;
        const bool accepted = target && tell(dmDragMove) != 0;
        const TPoint local = target ? target->ScreenToClient(Pos) : Pos;
        ::SetCursor(Screen->Cursors(object_->GetDragCursor(accepted, local.x, local.y)));
    }

    // The target's answer to the last dmDragLeave decides whether a drop is accepted.
    static void Done(bool Drop) {
        if (!object_) return;
        TDragObject* object = object_;
        const bool ownsObject = ownsObject_;
        TControl* target = dragging_ ? object->dragTarget_ : nullptr;
        object_ = nullptr;
        control_ = nullptr;
        releaseCapture();
        bool accepted = false;
        TPoint targetPos;
        if (target) {
            object_ = object;
            accepted = tell(dmDragLeave) != 0 && Drop;
            targetPos = target->ScreenToClient(object->dragPos_);
            if (accepted) {
                object->dropped_ = true;
                tell(dmDragDrop);
            } else {
                object->cancelling_ = true;
                tell(dmDragCancel);
            }
            object_ = nullptr;
        }
        ::SetCursor(savedCursor_);
        try {
            object->Finished(accepted ? target : nullptr, targetPos.x, targetPos.y, accepted);
        } catch (...) {
            if (ownsObject) delete object;
            throw;
        }
        if (ownsObject) delete object;
    }

    // The dragged control goes: the drag ends without a drop.
    static void ControlDestroyed(TControl* Control) {
        if (control_ == Control) Done(false);
    }

private:
    struct Receiver : TObject {
        void WndProc(TMessage& Message) {
            switch (Message.Msg) {
            case WM_MOUSEMOVE: {
                TPoint pos = pointOf(Message.LParam);
                ClientToScreen(captureWindow_, &pos);
                MoveTo(pos);
                break;
            }
            case WM_LBUTTONUP:
                Done(true);
                break;
            case WM_RBUTTONDOWN:
            case WM_CAPTURECHANGED:
                Done(false);
                break;
            case CN_KEYDOWN:
                if (Message.WParam == VK_ESCAPE) {
                    Done(false);
                    Message.Result = 1;
                }
                break;
            default:
                Message.Result = DefWindowProcA(captureWindow_, Message.Msg, Message.WParam, Message.LParam);
            }
        }
    };

    static LRESULT tell(TDragMessage Message) {
        TDragRec record;
        record.Pos = object_->dragPos_;
        record.Source = object_;
        record.Target = object_->dragTarget_;
        return record.Target->Perform(CM_DRAG, Message, reinterpret_cast<LPARAM>(&record));
    }

    static void releaseCapture() {
        HWND window = captureWindow_;
        captureWindow_ = nullptr;
        if (!window) return;
        if (GetCapture() == window) ReleaseCapture();
        DeallocateHWnd(window);
    }

    static inline TControl* control_ = nullptr;
    static inline TDragObject* object_ = nullptr;
    static inline bool ownsObject_ = false;
    static inline bool dragging_ = false;
    static inline Integer threshold_ = 0;
    static inline TPoint startPos_;
    static inline HCURSOR savedCursor_ = nullptr;
    static inline HWND captureWindow_ = nullptr;
    static inline Receiver receiver_;
};

void CancelDrag() {
    DragManager::Done(false);
}

// ---- Finding controls --------------------------------------------------------------------

ATOM ControlAtom() {
    static const ATOM atom = [] {
        const auto instance = static_cast<UInt64>(reinterpret_cast<UINT_PTR>(HInstance())) & 0xFFFFFFFF;
        return GlobalAddAtomA(
            ("ControlOfs" + IntToHex(instance, 8) + IntToHex(static_cast<UInt64>(GetCurrentThreadId()), 8))
                .c_str());
    }();
    return atom;
}

ATOM WindowAtom() {
    static const ATOM atom =
        GlobalAddAtomA(("Delphi" + IntToHex(static_cast<UInt64>(GetCurrentProcessId()), 8)).c_str());
    return atom;
}

TWinControl* FindControl(HWND Handle) {
    if (!Handle) return nullptr;
    return static_cast<TWinControl*>(GetPropA(Handle, MAKEINTATOM(ControlAtom())));
}

bool IsVCLControl(HWND Handle) {
    return FindControl(Handle) != nullptr;
}

TWinControl* FindVCLWindow(const TPoint& Pos) {
    HWND window = WindowFromPoint(Pos);
    while (window) {
        if (TWinControl* control = FindControl(window)) return control;
        window = GetParent(window);
    }
    return nullptr;
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
    TWinControl* window = FindVCLWindow(Pos);
    if (!window) return nullptr;
    if (TControl* child = window->ControlAtPos(window->ScreenToClient(Pos), AllowDisabled)) return child;
    return window;
}

TControl* GetCaptureControl() {
    TWinControl* window = FindControl(GetCapture());
    if (window && captureControl && captureControl->Parent() == window) return captureControl;
    return window;
}

void SetCaptureControl(TControl* Control) {
    ReleaseCapture();
    captureControl = nullptr;
    if (!Control) return;
    auto* windowed = dynamic_cast<TWinControl*>(Control);
    if (!windowed) {
        if (!Control->Parent()) return;
        captureControl = Control;
        windowed = Control->Parent();
    }
    SetCapture(windowed->Handle());
}

// ---- TControl: life --------------------------------------------------------------------

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks},
      constraints_(std::make_unique<TSizeConstraints>(this)), font_(std::make_unique<TFont>()) {
    WindowProc = TWndMethod(this, &TControl::WndProc);
    font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
    constraints_->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
}

TControl::~TControl() {
    // Without effect after the destroying delete; controls not made with new
    // (members of other objects) come here first.
    WindowProc = TWndMethod(this, &TControl::WndProc);
    TControl::BeforeDestruction();
}

TBasicAction* TControl::Action() const {
    return actionLink_ ? actionLink_->Action() : nullptr;
}

// While the control is read, the action fills in only what the resource left at its defaults.
void TControl::SetAction(TBasicAction* Value) {
    if (!Value) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_.reset(GetActionLinkClass()->Create(this));
    actionLink_->SetAction(Value);
    ActionChange(Value, ComponentState().Contains(csLoading));
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
    ControlActionChange(this, dynamic_cast<TBasicAction*>(Sender), CheckDefaults);
}

TControlActionLinkClass TControl::GetActionLinkClass() {
    return ActionLinkClassOf<TControlActionLink>();
}

void TControl::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void* TControl::operator new(std::size_t Size) {
    return ::operator new(Size);
}

void TControl::operator delete(void* Memory) {
    ::operator delete(Memory);
}

void TControl::operator delete(TControl* Control, std::destroying_delete_t) {
    Control->BeforeDestruction();
    Control->~TControl();
    ::operator delete(Control);
}

void TControl::BeforeDestruction() {
    if (beforeDestructionDone_) return;
    beforeDestructionDone_ = true;
    Destroying();
    DragManager::ControlDestroyed(this);
    if (captureControl == this) SetCaptureControl(nullptr);
    Application->ControlDestroyed(this);
    SetParent(nullptr);
}

// ---- TControl: messages ------------------------------------------------------------------

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
    TMessage message{Msg, WParam, LParam, 0};
    WindowProc(message);
    return message.Result;
}

namespace {

// What a docked control tells its dock site.
bool toldToDockSite(UINT Msg) {
    return Msg == WM_SETTEXT || Msg == CM_VISIBLECHANGED;
}

} // namespace

void TControl::WndProc(TMessage& Message) {
    if (isMouseMessage(Message.Msg)) {
        // A control that takes no double clicks sees a second press instead.
        if (!controlStyle_.Contains(csDoubleClicks) &&
            (Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK ||
             Message.Msg == WM_MBUTTONDBLCLK))
            Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
        if (Message.Msg == WM_LBUTTONDOWN && dragMode_ == dmAutomatic && dragKind_ == dkDrag &&
            !ComponentState().Contains(csDesigning)) {
            BeginDrag(Mouse->DragImmediate(), Mouse->DragThreshold());
            return;
        }
        if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)
            controlState_.Include(csLButtonDown);
        else if (Message.Msg == WM_LBUTTONUP)
            controlState_.Exclude(csLButtonDown);
        Application->HintMouseMessage(this, Message);
    } else if (isKeyMessage(Message.Msg) && DragManager::Active()) {
        if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_ESCAPE) CancelDrag();
        return;
    }
    Dispatch(Message);
    if (TWinControl* site = toldToDockSite(Message.Msg) ? HostDockSite() : nullptr) {
        TDockNotifyRec notice{Message.Msg, Message.WParam, Message.LParam, Message.Result};
        site->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&notice));
    }
}

// Kept only while the site is still among the control's parents: a site
// that went is never reached through it.
TWinControl* TControl::HostDockSite() const {
    for (TWinControl* parent = parent_; parent; parent = parent->Parent())
        if (parent == hostDockSite_) return hostDockSite_;
    return nullptr;
}

void TControl::Dock(TWinControl* NewDockSite, const TRect& ARect) {
    controlState_.Include(csDocking);
    try {
        if (NewDockSite) NewDockSite->DoAddDockClient(this, ARect);
    } catch (...) {
        controlState_.Exclude(csDocking);
        throw;
    }
    hostDockSite_ = NewDockSite;
    controlState_.Exclude(csDocking);
}

void TWinControl::DoAddDockClient(TControl* Client, const TRect&) {
    Client->SetParent(this);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        WMMouseDown(Message, mbLeft, {});
        break;
    case WM_RBUTTONDOWN:
        WMMouseDown(Message, mbRight, {});
        break;
    case WM_MBUTTONDOWN:
        WMMouseDown(Message, mbMiddle, {});
        break;
    case WM_LBUTTONDBLCLK:
        WMMouseDown(Message, mbLeft, {ssDouble});
        break;
    case WM_RBUTTONDBLCLK:
        WMMouseDown(Message, mbRight, {ssDouble});
        break;
    case WM_MBUTTONDBLCLK:
        WMMouseDown(Message, mbMiddle, {ssDouble});
        break;
    case WM_LBUTTONUP:
        WMMouseUp(Message, mbLeft);
        break;
    case WM_RBUTTONUP:
        WMMouseUp(Message, mbRight);
        break;
    case WM_MBUTTONUP:
        WMMouseUp(Message, mbMiddle);
        break;
    case WM_MOUSEMOVE:
        WMMouseMove(Message);
        break;
    case WM_CANCELMODE:
        WMCancelMode(Message);
        break;
    case WM_CONTEXTMENU:
        WMContextMenu(Message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(Message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(Message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(Message);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(Message);
        break;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(Message);
        break;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(Message);
        break;
    case CM_PARENTBIDIMODECHANGED:
        CMParentBiDiModeChanged(Message);
        break;
    case CM_HITTEST:
        CMHitTest(Message);
        break;
    case CM_MOUSEWHEEL:
        CMMouseWheel(Message);
        break;
    case CM_DRAG:
        CMDrag(Message);
        break;
    default:
        DefaultHandler(Message);
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(Message.LParam);
        const auto capacity = static_cast<std::size_t>(Message.WParam);
        if (!buffer || capacity == 0) {
            Message.Result = 0;
            break;
        }
        const std::size_t count = std::min(text_.size(), capacity - 1);
        std::memcpy(buffer, text_.data(), count);
        buffer[count] = '\0';
        Message.Result = static_cast<LRESULT>(count);
        break;
    }
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(text_.size());
        break;
    case WM_SETTEXT: {
        const auto* text = reinterpret_cast<const char*>(Message.LParam);
        text_ = text ? text : "";
        Message.Result = 1;
        break;
    }
    default:
        break;
    }
}

void TControl::WMMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
    SendCancelMode(this);
    DefaultHandler(Message);
    if (Button == mbLeft) {
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (controlStyle_.Contains(csClickEvents)) {
            if (Shift.Contains(ssDouble))
                DblClick();
            else
                controlState_.Include(csClicked);
        }
    }
    if (controlStyle_.Contains(csNoStdEvents)) return;
    const TWMMouse mouse(Message);
    MouseDown(Button, KeysToShiftState(mouse.Keys()) + Shift, mouse.XPos(), mouse.YPos());
}

void TControl::WMMouseUp(TMessage& Message, TMouseButton Button) {
    DefaultHandler(Message);
    const TWMMouse mouse(Message);
    if (Button == mbLeft) {
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (controlState_.Contains(csClicked)) {
            controlState_.Exclude(csClicked);
            if (Message.LParam != OutsidePosition && pointInRect(ClientRect(), mouse.Pos())) Click();
        }
    }
    if (controlStyle_.Contains(csNoStdEvents)) return;
    MouseUp(Button, KeysToShiftState(mouse.Keys()), mouse.XPos(), mouse.YPos());
}

void TControl::WMMouseMove(TMessage& Message) {
    DefaultHandler(Message);
    if (controlStyle_.Contains(csNoStdEvents)) return;
    const TWMMouse mouse(Message);
    MouseMove(KeysToShiftState(mouse.Keys()), mouse.XPos(), mouse.YPos());
}

// Another window took the mouse: a press in progress ends without a click.
void TControl::WMCancelMode(TMessage& Message) {
    DefaultHandler(Message);
    if (!MouseCapture()) return;
    SetMouseCapture(false);
    if (controlState_.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, OutsidePosition);
}

void TControl::WMContextMenu(TMessage& Message) {
    if (Message.Result != 0) return;
    TPoint screenPos = pointOf(Message.LParam);
    const bool fromKeyboard = screenPos.x == -1 && screenPos.y == -1;
    bool handled = false;
    DoContextPopup(fromKeyboard ? screenPos : ScreenToClient(screenPos), handled);
    if (handled) {
        Message.Result = 1;
        return;
    }
    TComponent* menu = GetPopupMenu();
    if (menu && PopupMenuHook) {
        SendCancelMode(nullptr);
        if (fromKeyboard) screenPos = ClientToScreen({0, 0});
        if (PopupMenuHook(menu, this, screenPos)) Message.Result = 1;
    }
    if (Message.Result == 0) DefaultHandler(Message);
}

void TControl::CMVisibleChanged(TMessage&) {
    if (parent_ && parent_->HandleAllocated()) {
        const TRect bounds = BoundsRect();
        InvalidateRect(parent_->WindowHandle(), &bounds, TRUE);
    }
}

void TControl::CMEnabledChanged(TMessage&) {
    Invalidate();
}

void TControl::CMFontChanged(TMessage&) {
    Invalidate();
}

void TControl::CMColorChanged(TMessage&) {
    Invalidate();
}

// The parent font and colour messages carry the new value in LParam when WParam is set.
void TControl::CMParentFontChanged(TMessage& Message) {
    if (!parentFont_) return;
    if (Message.WParam)
        SetFont(reinterpret_cast<TFont*>(Message.LParam));
    else if (parent_)
        SetFont(parent_->Font());
    parentFont_ = true;
}

void TControl::CMParentColorChanged(TMessage& Message) {
    if (!parentColor_) return;
    if (Message.WParam)
        SetColor(static_cast<TColor>(Message.LParam));
    else if (parent_)
        SetColor(parent_->Color());
    parentColor_ = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!parentShowHint_ || !parent_) return;
    SetShowHint(parent_->ShowHint());
    parentShowHint_ = true;
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (!parentBiDiMode_ || !parent_) return;
    SetBiDiMode(parent_->BiDiMode());
    parentBiDiMode_ = true;
}

void TControl::CMHitTest(TMessage& Message) {
    Message.Result = HTCLIENT;
}

// WParam: the shift state in the low word, the wheel delta in the high word; LParam: the screen position.
void TControl::CMMouseWheel(TMessage& Message) {
    const TShiftState shift = TShiftState::FromBits(Message.WParamLo());
    const auto delta = static_cast<SmallInt>(Message.WParamHi());
    Message.Result = 0;
    if (DoMouseWheel(shift, delta, pointOf(Message.LParam)))
        Message.Result = 1;
    else if (parent_)
        Message.Result = parent_->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::CMDrag(TMessage& Message) {
    auto* record = reinterpret_cast<TDragRec*>(Message.LParam);
    const TPoint pos = ScreenToClient(record->Pos);
    TObject* source = record->Source->Source();
    switch (Message.WParam) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        const TDragState state = Message.WParam == dmDragEnter   ? dsDragEnter
                                 : Message.WParam == dmDragLeave ? dsDragLeave
                                                                 : dsDragMove;
        bool accept = false;
        DragOver(source, pos.x, pos.y, state, accept);
        Message.Result = accept ? 1 : 0;
        break;
    }
    case dmDragDrop:
        DragDrop(source, pos.x, pos.y);
        break;
    case dmFindTarget:
        Message.Result = reinterpret_cast<LRESULT>(this);
        break;
    default:
        break;
    }
}

// ---- TControl: place -----------------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
    if (parent_ == AParent) return;
    if (AParent == this) throw EInvalidOperation(SControlParentSetToSelf);
    if (parent_) parent_->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        UpdateAnchorRules();
    }
}

TComponent* TControl::GetParentComponent() const {
    return parent_;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* parent = dynamic_cast<TWinControl*>(Value); parent && parent != parent_) SetParent(parent);
}

void TControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    if (!checkNewSize(AWidth, AHeight)) return;
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    InvalidateControl();
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

bool TControl::checkNewSize(Integer& NewWidth, Integer& NewHeight) {
    Integer width = NewWidth;
    Integer height = NewHeight;
    if (!CanResize(width, height)) return false;
    applyConstraints(width, height);
    if (autoSize_ && CanAutoSize(width, height)) applyConstraints(width, height);
    NewWidth = width;
    NewHeight = height;
    return true;
}

void TControl::applyConstraints(Integer& NewWidth, Integer& NewHeight) {
    Integer minWidth = constraints_->MinWidth();
    Integer minHeight = constraints_->MinHeight();
    Integer maxWidth = constraints_->MaxWidth();
    Integer maxHeight = constraints_->MaxHeight();
    ConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
    if (maxWidth > 0 && NewWidth > maxWidth)
        NewWidth = maxWidth;
    else if (minWidth > 0 && NewWidth < minWidth)
        NewWidth = minWidth;
    if (maxHeight > 0 && NewHeight > maxHeight)
        NewHeight = maxHeight;
    else if (minHeight > 0 && NewHeight < minHeight)
        NewHeight = minHeight;
}

bool TControl::CanResize(Integer& NewWidth, Integer& NewHeight) {
    bool resize = true;
    if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, resize);
    return resize;
}

bool TControl::CanAutoSize(Integer&, Integer&) {
    return false;
}

void TControl::ConstrainedResize(Integer& MinWidth, Integer& MinHeight, Integer& MaxWidth,
                                 Integer& MaxHeight) {
    if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::AdjustSize() {
    if (ComponentState().Contains(csLoading)) return;
    Integer width = width_;
    Integer height = height_;
    if (checkNewSize(width, height) && (width != width_ || height != height_))
        SetBounds(left_, top_, width, height);
}

void TControl::ConstraintsChanged(TObject*) {
    AdjustSize();
}

void TControl::SetAutoSize(bool Value) {
    if (autoSize_ == Value) return;
    autoSize_ = Value;
    if (Value) AdjustSize();
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

TRect TControl::GetClientRect() {
    return {0, 0, width_, height_};
}

void TControl::SetClientWidth(Integer Value) {
    SetBounds(left_, top_, width_ - ClientRect().Right + Value, height_);
}

void TControl::SetClientHeight(Integer Value) {
    SetBounds(left_, top_, width_, height_ - ClientRect().Bottom + Value);
}

TPoint TControl::GetClientOrigin() {
    if (!parent_) throw EInvalidOperation(Format(SParentRequired, {Name()}));
    const TPoint origin = parent_->ClientOrigin();
    return {origin.x + left_, origin.y + top_};
}

TPoint TControl::ClientToScreen(const TPoint& Point) {
    const TPoint origin = ClientOrigin();
    return {Point.x + origin.x, Point.y + origin.y};
}

TPoint TControl::ScreenToClient(const TPoint& Point) {
    const TPoint origin = ClientOrigin();
    return {Point.x - origin.x, Point.y - origin.y};
}

void TControl::SetAlign(TAlign Value) {
    if (align_ == Value) return;
    const TAlign old = align_;
    align_ = Value;
    anchors_ = anchorsOfAlign(Value);
    // Turning between the vertical and horizontal edges swaps the size, so
    // that a control keeps its thickness across the edge it now sits on.
    const bool wasVertical = old == alTop || old == alBottom;
    const bool isHorizontal = Value == alLeft || Value == alRight;
    const bool edgeToEdge = old != alNone && old != alClient && old != alCustom && Value != alNone &&
                            Value != alClient && Value != alCustom;
    if (!ComponentState().Contains(csLoading) && edgeToEdge && wasVertical == isHorizontal)
        SetBounds(left_, top_, height_, width_);
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
    if (anchors_ == Value) return;
    anchors_ = Value;
    if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::RequestAlign() {
    if (parent_) parent_->AlignControl(this);
}

// What the anchors keep when the parent resizes: with both opposite anchors
// the size, with only the far one the near position, with neither the centre.
void TControl::UpdateAnchorRules() {
    if (anchorMove_ || ComponentState().Contains(csLoading)) return;
    if (anchors_ == DefaultAnchors) {
        originalParentSize_ = {0, 0};
        return;
    }
    if (anchors_.Contains(akRight))
        anchorRules_.x = anchors_.Contains(akLeft) ? width_ : left_;
    else
        anchorRules_.x = left_ + width_ / 2;
    if (anchors_.Contains(akBottom))
        anchorRules_.y = anchors_.Contains(akTop) ? height_ : top_;
    else
        anchorRules_.y = top_ + height_ / 2;
    if (!parent_) return;
    // A parent without a window yet (a form being read) answers the client
    // area its frame will leave, so the control keeps the distances it was
    // designed with once the window exists.
    const TRect client = parent_->ClientRect();
    originalParentSize_ = {client.Right, client.Bottom};
}

void TControl::BringToFront() {
    if (parent_) parent_->SetZOrderOf(this, true);
}

void TControl::SendToBack() {
    if (parent_) parent_->SetZOrderOf(this, false);
}

void TControl::UpdateBoundsRect(const TRect& R) {
    left_ = R.Left;
    top_ = R.Top;
    width_ = R.Width();
    height_ = R.Height();
    UpdateAnchorRules();
}

// ---- TControl: looks -----------------------------------------------------------------------

void TControl::SetVisible(bool Value) {
    if (visible_ == Value) return;
    VisibleChanging();
    visible_ = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
    RequestAlign();
}

void TControl::Show() {
    if (parent_) parent_->ShowControl(this);
    SetVisible(true);
}

void TControl::Hide() {
    SetVisible(false);
}

void TControl::SetEnabled(bool Value) {
    if (enabled_ == Value) return;
    enabled_ = Value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
    if (color_ == Value) return;
    color_ = Value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
    if (parentColor_ == Value) return;
    parentColor_ = Value;
    if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::FontChanged(TObject*) {
    parentFont_ = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
    if (parentFont_ == Value) return;
    parentFont_ = Value;
    if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
    if (cursor_ == Value) return;
    cursor_ = Value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode Value) {
    if (biDiMode_ == Value) return;
    biDiMode_ = Value;
    parentBiDiMode_ = false;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
    if (parentBiDiMode_ == Value) return;
    parentBiDiMode_ = Value;
    if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

Integer TControl::DrawTextBiDiModeFlags(Integer Flags) const {
    return UseRightToLeftReading() ? Flags | static_cast<Integer>(DT_RTLREADING) : Flags;
}

Integer TControl::DrawTextBiDiModeFlagsReadingOnly() const {
    return UseRightToLeftReading() ? static_cast<Integer>(DT_RTLREADING) : 0;
}

void TControl::SetShowHint(bool Value) {
    if (showHint_ == Value) return;
    showHint_ = Value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
    if (parentShowHint_ == Value) return;
    parentShowHint_ = Value;
    if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::Invalidate() {
    InvalidateControl();
}

void TControl::InvalidateControl() {
    if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
    const TRect bounds = BoundsRect();
    const bool opaque = controlStyle_.Contains(csOpaque) || parent_->ControlStyle().Contains(csOpaque);
    InvalidateRect(parent_->WindowHandle(), &bounds, opaque ? FALSE : TRUE);
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

// ---- TControl: text ------------------------------------------------------------------------

Integer TControl::GetTextLen() {
    return static_cast<Integer>(Perform(WM_GETTEXTLENGTH, 0, 0));
}

Integer TControl::GetTextBuf(char* Buffer, Integer BufSize) {
    return static_cast<Integer>(
        Perform(WM_GETTEXT, static_cast<WPARAM>(BufSize), reinterpret_cast<LPARAM>(Buffer)));
}

void TControl::SetTextBuf(const char* Buffer) {
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Buffer));
    Perform(CM_TEXTCHANGED, 0, 0);
}

AnsiString TControl::Text() {
    const Integer length = GetTextLen();
    if (length <= 0) return AnsiString();
    AnsiString text(static_cast<std::size_t>(length) + 1, '\0');
    const Integer copied = GetTextBuf(text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
    return text;
}

void TControl::SetText(const AnsiString& Value) {
    if (Text() != Value) SetTextBuf(Value.c_str());
}

// A control still called as it was named takes its new name as caption.
void TControl::SetName(const AnsiString& NewName) {
    auto* ownerControl = dynamic_cast<TControl*>(Owner());
    const bool followName = controlStyle_.Contains(csSetCaption) && !ComponentState().Contains(csLoading) &&
                            Name() == Text() &&
                            !(ownerControl && ownerControl->ComponentState().Contains(csLoading));
    TComponent::SetName(NewName);
    if (followName) SetText(NewName);
}

// ---- TControl: state, capture, popup, drag ----------------------------------------------------

bool TControl::MouseCapture() {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (MouseCapture() == Value) return;
    SetCaptureControl(Value ? this : nullptr);
}

void TControl::SetPopupMenu(TComponent* Value) {
    popupMenu_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupMenu_) popupMenu_ = nullptr;
}

TComponent* TControl::GetPopupMenu() {
    if (popupMenu_) return popupMenu_;
    return parent_ ? parent_->GetPopupMenu() : nullptr;
}

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
    if (dynamic_cast<TCustomForm*>(this) && dragKind_ != dkDock) throw EInvalidOperation(SCannotDragForm);
    if (DragManager::Active()) return;
    DragManager::Begin(this, Immediate, Threshold < 0 ? Mouse->DragThreshold() : Threshold);
}

void TControl::EndDrag(bool Drop) {
    if (Dragging()) DragManager::Done(Drop);
}

bool TControl::Dragging() const {
    return DragManager::Control() == this;
}

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
    Accept = false;
    if (!OnDragOver) return;
    Accept = true;
    OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) {
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) {
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

// ---- TControl: events ---------------------------------------------------------------------

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

// Unhandled turns are collected until they make whole notches, each told as one step down or up.
bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled) return true;
    wheelAccumulator_ += WheelDelta;
    while (std::abs(wheelAccumulator_) >= WHEEL_DELTA) {
        if (wheelAccumulator_ < 0) {
            wheelAccumulator_ += WHEEL_DELTA;
            handled = DoMouseWheelDown(Shift, MousePos);
        } else {
            wheelAccumulator_ -= WHEEL_DELTA;
            handled = DoMouseWheelUp(Shift, MousePos);
        }
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
    if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::SendCancelMode(TControl* Sender) {
    for (TControl* control = this; control; control = control->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(control)) form->SendCancelMode(Sender);
}

HDC TControl::GetDeviceContext(HWND& WindowHandle) {
    if (!parent_) throw EInvalidOperation(Format(SParentRequired, {Name()}));
    HDC dc = parent_->GetDeviceContext(WindowHandle);
    SetViewportOrgEx(dc, left_, top_, nullptr);
    IntersectClipRect(dc, 0, 0, width_, height_);
    return dc;
}

// ---- TControl: streaming ------------------------------------------------------------------

void TControl::ReadState(TReader* Reader) {
    controlState_.Include(csReadingState);
    if (auto* parent = dynamic_cast<TWinControl*>(Reader->Parent())) SetParent(parent);
    TComponent::ReadState(Reader);
    controlState_.Exclude(csReadingState);
    if (!parent_) return;
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

void TControl::Loaded() {
    TComponent::Loaded();
    UpdateAnchorRules();
}

// ---- TWinControl: life ---------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner), objectInstance_(MakeObjectInstance(TWndMethod(this, &TWinControl::MainWndProc))),
      defWndProc_(WindowProcFromFunction(&DefWindowProcA)), brush_(std::make_unique<TBrush>()) {
    brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
    WindowProc = TWndMethod(this, &TControl::WndProc);
    TWinControl::BeforeDestruction();
    FreeObjectInstance(objectInstance_);
}

// The window goes while the whole object still answers its messages; the
// children go with their parent, whoever owns them.
void TWinControl::BeforeDestruction() {
    if (DestructionPrepared()) return;
    Destroying();
    if (parent_)
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, true);
    if (handle_) DestroyHandle();
    while (ControlCount() > 0) {
        TControl* child = Controls(ControlCount() - 1);
        delete child;
        // A child that did not leave (it was not made with new) is let go here.
        if (ControlCount() > 0 && Controls(ControlCount() - 1) == child) removeChild(child);
    }
    TControl::BeforeDestruction();
}

// ---- TWinControl: the window ------------------------------------------------------------------

HWND TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded() {
    if (handle_) return;
    if (parent_) parent_->HandleNeeded();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
    if (parentWindow_ == Value || parent_) return;
    if (handle_ && Value) {
        ::SetParent(handle_, Value);
    } else {
        DestroyHandle();
    }
    parentWindow_ = Value;
    UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params = TCreateParams();
    Params.Caption = text_;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (controlStyle_.Contains(csAcceptsControls)) {
        Params.Style |= WS_CLIPCHILDREN;
        Params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!Enabled()) Params.Style |= WS_DISABLED;
    if (tabStop_) Params.Style |= WS_TABSTOP;
    Params.X = left_;
    Params.Y = top_;
    Params.Width = width_;
    Params.Height = height_;
    Params.WndParent = parent_ ? parent_->Handle() : parentWindow_;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = WindowProcFromFunction(&DefWindowProcA);
    Params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    Params.WindowClass.hInstance = HInstance();
    Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, LPCSTR ControlClassName) {
    const HINSTANCE instance = HInstance();
    if (GetClassInfoA(instance, ControlClassName, &Params.WindowClass) ||
        GetClassInfoA(nullptr, ControlClassName, &Params.WindowClass)) {
        Params.WindowClass.hInstance = instance;
        Params.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    }
}

void TWinControl::registerWindowClass(TCreateParams& Params) {
    const WNDPROC initial = InitialWindowProc();
    WNDCLASSA existing;
    if (GetClassInfoA(Params.WindowClass.hInstance, Params.WinClassName.c_str(), &existing)) {
        if (existing.lpfnWndProc == initial) return;
        UnregisterClassA(Params.WinClassName.c_str(), Params.WindowClass.hInstance);
    }
    WNDCLASSA windowClass = Params.WindowClass;
    windowClass.lpfnWndProc = initial;
    windowClass.lpszClassName = Params.WinClassName.c_str();
    if (!RegisterClassA(&windowClass)) RaiseLastOSError();
}

WNDPROC TWinControl::InitialWindowProc() {
    return WindowProcFromFunction(&TWinControl::InitWndProc);
}

LRESULT TWinControl::InitWndProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    TWinControl* control = CreationControl;
    // A window of a framework class made by someone else gets no control.
    if (!control) return DefWindowProcA(Window, Msg, WParam, LParam);
    CreationControl = nullptr;
    control->handle_ = Window;
    SetWindowLongPtrA(Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->objectInstance_));
    if ((GetWindowLongA(Window, GWL_STYLE) & WS_CHILD) && GetWindowLongPtrA(Window, GWLP_ID) == 0)
        SetWindowLongPtrA(Window, GWLP_ID, reinterpret_cast<LONG_PTR>(Window));
    SetPropA(Window, MAKEINTATOM(ControlAtom()), control);
    SetPropA(Window, MAKEINTATOM(WindowAtom()), control);
    return CallWindowProcA(control->objectInstance_, Window, Msg, WParam, LParam);
}

// csCreating marks the control while its window is being made.
void TWinControl::CreateWnd() {
    controlState_.Include(csCreating);
    try {
        createWindow();
    } catch (...) {
        controlState_.Exclude(csCreating);
        throw;
    }
    controlState_.Exclude(csCreating);
}

void TWinControl::createWindow() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation(Format(SParentRequired, {Name()}));
    defWndProc_ = params.WindowClass.lpfnWndProc;
    registerWindowClass(params);
    CreationControl = this;
    try {
        CreateWindowHandle(params);
    } catch (...) {
        CreationControl = nullptr;
        throw;
    }
    CreationControl = nullptr;
    if (!handle_) RaiseLastOSError();
    // The window holds the text from now on.
    text_.clear();
    updateBounds();
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
    if (AutoSize()) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
    handle_ = CreateWindowExA(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                              Params.Style, Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent,
                              nullptr, Params.WindowClass.hInstance, Params.Param);
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    CreateWnd();
    SetPropA(handle_, MAKEINTATOM(ControlAtom()), this);
    SetPropA(handle_, MAKEINTATOM(WindowAtom()), this);
    if (parent_)
        SetWindowPos(handle_, parent_->PrecedingWindow(this), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (Integer i = 0; i < ControlCount(); ++i)
        Controls(i)->UpdateAnchorRules();
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TWinControl* child : winControls_)
        child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    // The control keeps the window's text until the next window.
    const AnsiString text = Text();
    FreeDeviceContexts();
    DestroyWindowHandle();
    text_ = text;
}

void TWinControl::DestroyWindowHandle() {
    controlState_.Include(csDestroyingHandle);
    const BOOL destroyed = DestroyWindow(handle_);
    controlState_.Exclude(csDestroyingHandle);
    if (!destroyed) RaiseLastOSError();
    handle_ = nullptr;
    showing_ = false;
}

void TWinControl::RecreateWnd() {
    if (handle_) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&) {
    const bool wasFocused = Focused();
    DestroyHandle();
    UpdateControlState();
    if (wasFocused && handle_) ::SetFocus(handle_);
}

void TWinControl::MainWndProc(TMessage& Message) {
    try {
        WindowProc(Message);
    } catch (...) {
        FreeDeviceContexts();
        Application->HandleException(this);
        return;
    }
    FreeDeviceContexts();
}

HDC TWinControl::GetDeviceContext(HWND& WindowHandle) {
    HDC dc = GetDC(Handle());
    if (!dc) throw EOutOfResources(SWindowDCError);
    WindowHandle = handle_;
    return dc;
}

void TWinControl::updateBounds() {
    RECT rect;
    GetWindowRect(handle_, &rect);
    if (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) {
        if (HWND parentWindow = GetParent(handle_))
            MapWindowPoints(nullptr, parentWindow, reinterpret_cast<LPPOINT>(&rect), 2);
    }
    UpdateBoundsRect(rect);
}

// ---- TWinControl: showing ------------------------------------------------------------------

// Only a control whose chain of parents ends in a form, or in a window outside
// the framework, can show.
void TWinControl::UpdateControlState() {
    TWinControl* top = this;
    while (top->parent_) {
        top = top->parent_;
        if (!top->showing_) return;
    }
    if (dynamic_cast<TCustomForm*>(top) || top->parentWindow_) updateShowing();
}

void TWinControl::updateShowing() {
    const bool show =
        (Visible() || ComponentState().Contains(csDesigning)) && !controlState_.Contains(csReadingState);
    if (show) {
        HandleNeeded();
        for (TWinControl* child : std::vector<TWinControl*>(winControls_))
            child->updateShowing();
    }
    if (!handle_ || showing_ == show) return;
    showing_ = show;
    try {
        Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
        showing_ = !show;
        throw;
    }
}

void TWinControl::CMShowingChanged(TMessage&) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
    if (!Visible() && parent_)
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    TControl::CMVisibleChanged(Message);
    UpdateControlState();
}

void TWinControl::ShowControl(TControl*) {
    if (parent_) parent_->ShowControl(this);
}

// ---- TWinControl: children ------------------------------------------------------------------

TControl* TWinControl::Controls(Integer Index) const {
    const auto graphicCount = static_cast<Integer>(graphicControls_.size());
    if (Index < 0 || Index >= ControlCount()) throw EListError(Format(SListIndexError, {Index}));
    return Index < graphicCount ? graphicControls_[static_cast<std::size_t>(Index)]
                                : winControls_[static_cast<std::size_t>(Index - graphicCount)];
}

void TWinControl::insertChild(TControl* AControl) {
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        winControls_.push_back(windowed);
        tabList_.push_back(windowed);
    } else {
        graphicControls_.push_back(AControl);
    }
    AControl->parent_ = this;
}

void TWinControl::removeChild(TControl* AControl) {
    std::erase(graphicControls_, AControl);
    std::erase_if(winControls_, [AControl](TWinControl* c) { return c == AControl; });
    std::erase_if(tabList_, [AControl](TWinControl* c) { return c == AControl; });
    AControl->parent_ = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
    insertChild(AControl);
    if (!AControl->ComponentState().Contains(csReading)) {
        AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
        if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
            windowed->Perform(CM_PARENTCTL3DCHANGED, 0, 0);
            windowed->UpdateControlState();
        } else if (handle_) {
            AControl->Invalidate();
        }
        AlignControl(AControl);
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
    if (auto* windowed = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* form = GetParentForm(windowed)) form->DefocusControl(windowed, true);
        windowed->DestroyHandle();
    } else {
        AControl->InvalidateControl();
    }
    removeChild(AControl);
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), 0);
    Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const {
    while (Control && Control != this)
        Control = Control->Parent();
    return Control != nullptr;
}

// The topmost child under Pos that answers CM_HITTEST: windowed children lie above graphic ones.
TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
    auto hits = [&](TControl* control) {
        if (!control->Visible() || (!control->Enabled() && !AllowDisabled)) return false;
        if (!pointInRect(control->BoundsRect(), Pos)) return false;
        const TPoint local{Pos.x - control->Left(), Pos.y - control->Top()};
        return control->Perform(CM_HITTEST, 0, paramOf(local)) != 0;
    };
    if (AllowWinControls)
        for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it)
            if (hits(*it)) return *it;
    for (auto it = graphicControls_.rbegin(); it != graphicControls_.rend(); ++it)
        if (hits(*it)) return *it;
    return nullptr;
}

TControl* TWinControl::FindChildControl(const AnsiString& ControlName) const {
    for (Integer i = 0; i < ControlCount(); ++i)
        if (SameText(Controls(i)->Name(), ControlName)) return Controls(i);
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
    for (Integer i = 0; i < ControlCount(); ++i) {
        Controls(i)->WindowProc(Message);
        if (Message.Result != 0) return;
    }
}

// The control and its windowed children paint into DC with the control's
// top-left corner at X, Y; csPaintCopy tells them the DC is not their own.
void TWinControl::PaintTo(HDC DC, Integer X, Integer Y) {
    controlState_.Include(csPaintCopy);
    const int saved = SaveDC(DC);
    try {
        POINT origin;
        GetWindowOrgEx(DC, &origin);
        SetWindowOrgEx(DC, origin.x - X, origin.y - Y, nullptr);
        IntersectClipRect(DC, 0, 0, width_, height_);
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        for (TWinControl* child : winControls_)
            if (child->Visible()) child->PaintTo(DC, child->left_, child->top_);
    } catch (...) {
        RestoreDC(DC, saved);
        controlState_.Exclude(csPaintCopy);
        throw;
    }
    RestoreDC(DC, saved);
    controlState_.Exclude(csPaintCopy);
}

// A visible window scrolls its pixels and child windows at once; the
// children without a window (or all of them, while it is hidden) move here.
void TWinControl::ScrollBy(Integer DeltaX, Integer DeltaY) {
    const bool visible = handle_ && IsWindowVisible(handle_);
    if (visible) ScrollWindow(handle_, DeltaX, DeltaY, nullptr, nullptr);
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        auto* windowed = dynamic_cast<TWinControl*>(control);
        if (!windowed || !windowed->handle_) {
            control->left_ += DeltaX;
            control->top_ += DeltaY;
        } else if (!visible) {
            SetWindowPos(windowed->handle_, nullptr, windowed->left_ + DeltaX, windowed->top_ + DeltaY,
                         windowed->width_, windowed->height_, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    Realign();
}

void TWinControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (Integer i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Owner() == Root) Proc(Controls(i));
}

HWND TWinControl::PrecedingWindow(TControl* Control) const {
    auto it = std::find(winControls_.begin(), winControls_.end(), Control);
    if (it != winControls_.end())
        for (++it; it != winControls_.end(); ++it)
            if ((*it)->handle_) return (*it)->handle_;
    return HWND_TOP;
}

void TWinControl::SetZOrderOf(TControl* Control, bool TopMost) {
    if (auto* windowed = dynamic_cast<TWinControl*>(Control)) {
        std::erase(winControls_, windowed);
        winControls_.insert(TopMost ? winControls_.end() : winControls_.begin(), windowed);
        if (windowed->handle_)
            SetWindowPos(windowed->handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        std::erase(graphicControls_, Control);
        graphicControls_.insert(TopMost ? graphicControls_.end() : graphicControls_.begin(), Control);
        Control->Invalidate();
    }
}

// ---- TWinControl: alignment --------------------------------------------------------------

void TWinControl::DisableAlign() {
    ++alignLevel_;
}

void TWinControl::EnableAlign() {
    --alignLevel_;
    if (alignLevel_ == 0 && controlState_.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

// Children are placed only while the window exists: its client area is what they share.
void TWinControl::AlignControl(TControl* AControl) {
    if (!handle_ || ComponentState().Contains(csDestroying)) return;
    if (alignLevel_ != 0) {
        controlState_.Include(csAlignmentNeeded);
        return;
    }
    DisableAlign();
    try {
        TRect rect = GetClientRect();
        AlignControls(AControl, rect);
    } catch (...) {
        controlState_.Exclude(csAlignmentNeeded);
        EnableAlign();
        throw;
    }
    controlState_.Exclude(csAlignmentNeeded);
    EnableAlign();
}

void TWinControl::AdjustClientRect(TRect&) {}

namespace {

// Places the children of one alignment in Rect, which shrinks by what they take.
class ChildAligner {
public:
    explicit ChildAligner(TRect& Rect) : rect_(Rect) {}

    void place(TControl* Control, TAlign Align) {
        Integer width = Align == alLeft || Align == alRight || Align == alCustom || rect_.Width() < 0
                            ? Control->Width()
                            : rect_.Width();
        Integer height = Align == alTop || Align == alBottom || Align == alCustom || rect_.Height() < 0
                             ? Control->Height()
                             : rect_.Height();
        Integer left = rect_.Left;
        Integer top = rect_.Top;
        switch (Align) {
        case alTop:
            rect_.Top += height;
            break;
        case alBottom:
            rect_.Bottom -= height;
            top = rect_.Bottom;
            break;
        case alLeft:
            rect_.Left += width;
            break;
        case alRight:
            rect_.Right -= width;
            left = rect_.Right;
            break;
        case alCustom:
            left = Control->Left();
            top = Control->Top();
            break;
        default:
            break;
        }
        Control->SetBounds(left, top, width, height);
        // A control that kept another size (its constraints) takes what it took.
        const Integer extraWidth = width - Control->Width();
        const Integer extraHeight = height - Control->Height();
        switch (Align) {
        case alTop:
            rect_.Top -= extraHeight;
            break;
        case alBottom:
            rect_.Bottom += extraHeight;
            break;
        case alLeft:
            rect_.Left -= extraWidth;
            break;
        case alRight:
            rect_.Right += extraWidth;
            break;
        default:
            break;
        }
    }

private:
    TRect& rect_;
};

} // namespace

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    const bool anyToPlace =
        std::any_of(graphicControls_.begin(), graphicControls_.end(),
                    [](TControl* c) { return c->Align() != alNone || c->Anchors() != DefaultAnchors; }) ||
        std::any_of(winControls_.begin(), winControls_.end(),
                    [](TControl* c) { return c->Align() != alNone || c->Anchors() != DefaultAnchors; });
    if (anyToPlace) {
        AdjustClientRect(Rect);
        ChildAligner aligner(Rect);
        for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone})
            for (TControl* control : alignedChildren(align, AControl)) {
                control->anchorMove_ = true;
                try {
                    if (align == alNone || control->Anchors() != anchorsOfAlign(align))
                        control->applyAnchors();
                    if (align != alNone) aligner.place(control, align);
                } catch (...) {
                    control->anchorMove_ = false;
                    throw;
                }
                control->anchorMove_ = false;
            }
    }
    if (Showing()) AdjustSize();
}

// The visible children of one alignment in the order they take their places:
// by position along the edge, the control that changed winning a tie.
std::vector<TControl*> TWinControl::alignedChildren(TAlign Align, TControl* AControl) const {
    std::vector<TControl*> list;
    auto qualifies = [Align](TControl* c) {
        return c->Align() == Align && (Align == alNone || c->Visible());
    };
    if (AControl && AControl->Parent() == this && qualifies(AControl)) list.push_back(AControl);
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (control == AControl || !qualifies(control)) continue;
        auto position = list.begin();
        while (position != list.end() && !alignsBefore(control, *position, Align))
            ++position;
        list.insert(position, control);
    }
    return list;
}

// Moves the control as its anchors ask, for the parent's current client size.
void TControl::applyAnchors() {
    if (originalParentSize_.x == 0 || originalParentSize_.y == 0 || !parent_) return;
    TPoint parentSize{parent_->Width(), parent_->Height()};
    if (parent_->HandleAllocated()) {
        const TRect client = parent_->ClientRect();
        parentSize = {client.Right, client.Bottom};
    }
    Integer left = left_;
    Integer top = top_;
    Integer width = width_;
    Integer height = height_;
    if (anchors_.Contains(akRight)) {
        if (anchors_.Contains(akLeft))
            width = parentSize.x - (originalParentSize_.x - anchorRules_.x);
        else
            left = parentSize.x - (originalParentSize_.x - anchorRules_.x);
    } else if (!anchors_.Contains(akLeft)) {
        left = MulDiv(anchorRules_.x, parentSize.x, originalParentSize_.x) - width / 2;
    }
    if (anchors_.Contains(akBottom)) {
        if (anchors_.Contains(akTop))
            height = parentSize.y - (originalParentSize_.y - anchorRules_.y);
        else
            top = parentSize.y - (originalParentSize_.y - anchorRules_.y);
    } else if (!anchors_.Contains(akTop)) {
        top = MulDiv(anchorRules_.y, parentSize.y, originalParentSize_.y) - height / 2;
    }
    SetBounds(left, top, width, height);
}

// ---- TWinControl: bounds --------------------------------------------------------------------

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    if (!checkNewSize(AWidth, AHeight)) return;
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
    if (handle_ && !IsIconic(handle_)) {
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        left_ = ALeft;
        top_ = ATop;
        width_ = AWidth;
        height_ = AHeight;
    }
    UpdateAnchorRules();
    RequestAlign();
}

TRect TWinControl::GetClientRect() {
    if (!handle_) return TControl::GetClientRect();
    RECT rect;
    ::GetClientRect(handle_, &rect);
    return rect;
}

TPoint TWinControl::GetClientOrigin() {
    TPoint origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    return origin;
}

void TWinControl::SetParent(TWinControl* AParent) {
    if (parent_ == AParent) return;
    // A top-level window becoming a child (or the reverse) is made anew.
    if (!parent_ && !parentWindow_ && handle_) DestroyHandle();
    TControl::SetParent(AParent);
}

// ---- TWinControl: messages -------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) return;
        break;
    case WM_KILLFOCUS:
        if (controlState_.Contains(csFocusing)) return;
        break;
    case WM_NCHITTEST:
        TControl::WndProc(Message);
        if (Message.Result == HTTRANSPARENT && ControlAtPos(ScreenToClient(pointOf(Message.LParam)), false))
            Message.Result = HTCLIENT;
        return;
    case WM_CANCELMODE:
        if (handle_ && GetCapture() == handle_ && captureControl && captureControl->Parent() == this)
            captureControl->Perform(WM_CANCELMODE, 0, 0);
        break;
    default:
        if (isMouseMessage(Message.Msg) && Message.Msg != WM_MOUSEWHEEL && isControlMouseMessage(Message)) {
            if (Message.Result == 0 && handle_)
                DefWindowProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
            return;
        }
        if (isKeyMessage(Message.Msg) && DragManager::Active()) return;
    }
    TControl::WndProc(Message);
}

// The capture control, or else the graphic child under the mouse, takes the message.
bool TWinControl::isControlMouseMessage(TMessage& Message) {
    TControl* control = nullptr;
    if (handle_ && GetCapture() == handle_) {
        if (captureControl && captureControl->Parent() == this) control = captureControl;
    } else {
        control = ControlAtPos(pointOf(Message.LParam), false);
    }
    if (!control) return false;
    const TPoint pos = pointOf(Message.LParam);
    Message.Result = control->Perform(Message.Msg, Message.WParam,
                                      paramOf({pos.x - control->Left(), pos.y - control->Top()}));
    return true;
}

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        WMPaint(Message);
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        break;
    case WM_SIZE:
        WMSize(Message);
        break;
    case WM_MOVE:
        WMMove(Message);
        break;
    case WM_WINDOWPOSCHANGING:
        WMWindowPosChanging(Message);
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(Message);
        break;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(Message);
        break;
    case WM_SETCURSOR:
        WMSetCursor(Message);
        break;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        WMKeyDown(Message);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        WMKeyUp(Message);
        break;
    case WM_CHAR:
        WMChar(Message);
        break;
    case WM_NCDESTROY:
        WMNCDestroy(Message);
        break;
    case WM_MOUSEWHEEL:
        WMMouseWheel(Message);
        break;
    case WM_CONTEXTMENU:
        WMContextMenu(Message);
        break;
    case WM_COMMAND:
        if (!reflectToChild(reinterpret_cast<HWND>(Message.LParam), Message)) TControl::Dispatch(Message);
        break;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NotifyHeader*>(Message.LParam);
        if (!header || !reflectToChild(header->hwndFrom, Message)) TControl::Dispatch(Message);
        break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        if (!Message.LParam || !reflectToChild(reinterpret_cast<HWND>(Message.LParam), Message))
            TControl::Dispatch(Message);
        break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM: {
        HWND child = HandleAllocated() ? ownerDrawnControl(handle_, Message) : nullptr;
        if (!child || !reflectToChild(child, Message)) TControl::Dispatch(Message);
        break;
    }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        CNKeyDown(Message);
        break;
    case CN_CHAR:
        CNChar(Message);
        break;
    case CN_SYSCHAR:
        CNSysChar(Message);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(Message);
        break;
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
    case CM_SYSCOLORCHANGE:
    case CM_WININICHANGE:
    case CM_FONTCHANGE:
    case CM_TIMECHANGE:
    case CM_SYSFONTCHANGED:
        Broadcast(Message);
        break;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(Message);
        break;
    case CM_ENTER:
        CMEnter(Message);
        break;
    case CM_EXIT:
        CMExit(Message);
        break;
    case CM_RECREATEWND:
        CMRecreateWnd(Message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(Message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(Message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(Message);
        break;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(Message);
        break;
    case CM_PARENTCTL3DCHANGED:
        CMParentCtl3DChanged(Message);
        break;
    case CM_SHOWHINTCHANGED:
        notifyControls(CM_PARENTSHOWHINTCHANGED);
        break;
    case CM_BIDIMODECHANGED:
        notifyControls(CM_PARENTBIDIMODECHANGED);
        break;
    case CM_CURSORCHANGED:
        CMCursorChanged(Message);
        break;
    case CM_INVALIDATE:
        CMInvalidate(Message);
        break;
    default:
        TControl::Dispatch(Message);
    }
}

void TWinControl::DefaultHandler(TMessage& Message) {
    if (!handle_) {
        TControl::DefaultHandler(Message);
        return;
    }
    if (Message.Msg >= WM_CTLCOLORMSGBOX && Message.Msg <= WM_CTLCOLORSTATIC) {
        // The child control answers for its own colours.
        Message.Result = SendMessageA(reinterpret_cast<HWND>(Message.LParam), CN_BASE + Message.Msg,
                                      Message.WParam, Message.LParam);
        return;
    }
    Message.Result = CallWindowProcA(defWndProc_, handle_, Message.Msg, Message.WParam, Message.LParam);
}

bool TWinControl::reflectToChild(HWND Child, TMessage& Message) {
    TWinControl* control = FindControl(Child);
    if (!control) return false;
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

void TWinControl::notifyControls(UINT Msg) {
    TMessage message{Msg, 0, 0, 0};
    Broadcast(message);
}

void TWinControl::WMNCDestroy(TMessage& Message) {
    DefaultHandler(Message);
    handle_ = nullptr;
    showing_ = false;
}

void TWinControl::WMWindowPosChanging(TMessage& Message) {
    auto* position = reinterpret_cast<WINDOWPOS*>(Message.LParam);
    if (position && !(position->flags & SWP_NOSIZE) && !ComponentState().Contains(csReading) &&
        !ComponentState().Contains(csDestroying)) {
        Integer width = position->cx;
        Integer height = position->cy;
        if (!checkNewSize(width, height))
            position->flags |= SWP_NOSIZE;
        else {
            position->cx = width;
            position->cy = height;
        }
    }
    DefaultHandler(Message);
}

// The window's constraints are the sizes the user may drag it to.
void TWinControl::WMGetMinMaxInfo(TMessage& Message) {
    DefaultHandler(Message);
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    if (!info || ComponentState().Contains(csReading)) return;
    Integer minWidth = constraints_->MinWidth();
    Integer minHeight = constraints_->MinHeight();
    Integer maxWidth = constraints_->MaxWidth();
    Integer maxHeight = constraints_->MaxHeight();
    if (minWidth > 0) info->ptMinTrackSize.x = minWidth;
    if (minHeight > 0) info->ptMinTrackSize.y = minHeight;
    if (maxWidth > 0) info->ptMaxTrackSize.x = maxWidth;
    if (maxHeight > 0) info->ptMaxTrackSize.y = maxHeight;
    ConstrainedResize(info->ptMinTrackSize.x, info->ptMinTrackSize.y, info->ptMaxTrackSize.x,
                      info->ptMaxTrackSize.y);
}

void TWinControl::WMWindowPosChanged(TMessage& Message) {
    if (!controlState_.Contains(csDestroyingHandle)) updateBounds();
    DefaultHandler(Message);
}

void TWinControl::WMSize(TMessage& Message) {
    updateBounds();
    DefaultHandler(Message);
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& Message) {
    DefaultHandler(Message);
    updateBounds();
}

void TWinControl::WMSetCursor(TMessage& Message) {
    if (reinterpret_cast<HWND>(Message.WParam) == handle_ &&
        static_cast<SHORT>(LOWORD(Message.LParam)) == HTCLIENT) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
            POINT pos;
            GetCursorPos(&pos);
            if (TControl* child = ControlAtPos(ScreenToClient(pos), false)) cursor = child->Cursor();
            if (cursor == crDefault) cursor = Cursor();
        }
        if (cursor != crDefault) {
            ::SetCursor(Screen->Cursors(cursor));
            Message.Result = 1;
            return;
        }
    }
    DefaultHandler(Message);
}

void TWinControl::CMCursorChanged(TMessage&) {
    if (!handle_ || GetCapture()) return;
    POINT pos;
    GetCursorPos(&pos);
    if (FindDragTarget(pos, false) == this)
        Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(handle_), HTCLIENT);
}

void TWinControl::CMInvalidate(TMessage&) {
    if (handle_) InvalidateRect(handle_, nullptr, controlStyle_.Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::WMMouseWheel(TMessage& Message) {
    const TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
    const WPARAM wheel = MAKEWPARAM(static_cast<WORD>(shift.Bits()), HIWORD(Message.WParam));
    TCustomForm* form = GetParentForm(this);
    if (form && form != this)
        Message.Result = form->MouseWheelHandler(wheel, Message.LParam);
    else
        Message.Result = Perform(CM_MOUSEWHEEL, wheel, Message.LParam);
    if (Message.Result == 0) DefaultHandler(Message);
}

void TWinControl::WMContextMenu(TMessage& Message) {
    if (Message.Result != 0) return;
    if (TControl* child = ControlAtPos(ScreenToClient(pointOf(Message.LParam)), false))
        Message.Result = child->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle_), Message.LParam);
    if (Message.Result == 0) TControl::WMContextMenu(Message);
}

void TWinControl::CMEnabledChanged(TMessage& Message) {
    if (!Enabled() && parent_)
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, false);
    if (handle_) EnableWindow(handle_, Enabled() ? TRUE : FALSE);
    TControl::CMEnabledChanged(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
    TControl::CMFontChanged(Message);
    if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    notifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
    TControl::CMColorChanged(Message);
    brush_->SetColor(Color());
    notifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::SetCtl3D(bool Value) {
    if (ctl3D_ == Value) return;
    ctl3D_ = Value;
    parentCtl3D_ = false;
    Perform(CM_CTL3DCHANGED, 0, 0);
}

void TWinControl::SetParentCtl3D(bool Value) {
    if (parentCtl3D_ == Value) return;
    parentCtl3D_ = Value;
    if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
    notifyControls(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMParentCtl3DChanged(TMessage&) {
    if (!parentCtl3D_ || !parent_) return;
    SetCtl3D(parent_->Ctl3D());
    parentCtl3D_ = true;
}

// ---- TWinControl: focus and tab order ------------------------------------------------------

bool TWinControl::CanFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (TControl* control = this; control != form; control = control->Parent())
        if (!control->Visible() || !control->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this)) {
        form->FocusControl(this);
    } else if (parentWindow_) {
        ::SetFocus(Handle());
    } else {
        throw EInvalidOperation(Format(SParentRequired, {Name()}));
    }
}

Integer TWinControl::TabOrder() const {
    if (!parent_) return -1;
    const auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

// While the parent is being read, the orders are kept and sorted out once all children are there.
void TWinControl::SetTabOrder(Integer Value) {
    if (controlState_.Contains(csReadingState) || ComponentState().Contains(csReading)) {
        pendingTabOrder_ = Value;
        return;
    }
    if (!parent_) return;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    const auto position =
        static_cast<std::size_t>(std::clamp<Integer>(Value, 0, static_cast<Integer>(list.size())));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), this);
}

void TWinControl::fixupTabList() {
    std::vector<TWinControl*> pending;
    for (TWinControl* child : tabList_)
        if (child->pendingTabOrder_ >= 0) pending.push_back(child);
    std::stable_sort(pending.begin(), pending.end(), [](TWinControl* a, TWinControl* b) {
        return a->pendingTabOrder_ < b->pendingTabOrder_;
    });
    for (TWinControl* child : pending) {
        const Integer order = child->pendingTabOrder_;
        child->pendingTabOrder_ = -1;
        child->SetTabOrder(order);
    }
}

void TWinControl::SetTabStop(bool Value) {
    if (tabStop_ == Value) return;
    tabStop_ = Value;
    if (handle_) {
        const LONG style = GetWindowLongA(handle_, GWL_STYLE);
        SetWindowLongA(handle_, GWL_STYLE,
                       Value ? style | static_cast<LONG>(WS_TABSTOP)
                             : style & ~static_cast<LONG>(WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
    for (TWinControl* child : tabList_) {
        List.push_back(child);
        child->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const auto count = static_cast<Integer>(list.size());
    auto found = std::find(list.begin(), list.end(), CurControl);
    const Integer start = found != list.end() ? static_cast<Integer>(found - list.begin())
                          : GoForward         ? count - 1
                                              : 0;
    Integer index = start;
    do {
        index = GoForward ? (index + 1) % count : (index + count - 1) % count;
        TWinControl* candidate = list[static_cast<std::size_t>(index)];
        if (candidate->CanFocus() && (!CheckTabStop || candidate->TabStop()) &&
            (!CheckParent || candidate->Parent() == this))
            return candidate;
    } while (index != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
        next->SetFocus();
}

void TWinControl::SelectFirst() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    TWinControl* first = FindNextControl(nullptr, true, true, false);
    if (!first) first = FindNextControl(nullptr, true, false, false);
    if (first) form->SetActiveControl(first);
}

void TWinControl::WMSetFocus(TMessage& Message) {
    DefaultHandler(Message);
}

void TWinControl::WMKillFocus(TMessage& Message) {
    DefaultHandler(Message);
}

void TWinControl::CMEnter(TMessage&) {
    DoEnter();
}

void TWinControl::CMExit(TMessage&) {
    DoExit();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

// ---- TWinControl: keys ----------------------------------------------------------------------

bool TWinControl::DoKeyDown(TMessage& Message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyDown(Message)) return true;
    if (controlStyle_.Contains(csNoStdEvents)) return false;
    TWMKey key(Message);
    Word code = key.CharCode();
    KeyDown(code, KeyDataToShiftState(key.KeyData()));
    key.SetCharCode(code);
    return code == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyUp(Message)) return true;
    if (controlStyle_.Contains(csNoStdEvents)) return false;
    TWMKey key(Message);
    Word code = key.CharCode();
    KeyUp(code, KeyDataToShiftState(key.KeyData()));
    key.SetCharCode(code);
    return code == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->DoKeyPress(Message)) return true;
    if (controlStyle_.Contains(csNoStdEvents)) return false;
    TWMKey key(Message);
    char character = static_cast<char>(key.CharCode());
    KeyPress(character);
    key.SetCharCode(static_cast<Byte>(character));
    return character == 0;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TMessage& Message) {
    if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
    if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
    if (!DoKeyPress(Message)) DefaultHandler(Message);
}

// A key the window does not want (WM_GETDLGCODE) is offered to the form as a
// dialog key: Tab and the arrows move the focus, Enter and Esc reach the
// default and cancel buttons. Result 1 means the key was used.
void TWinControl::CNKeyDown(TMessage& Message) {
    Message.Result = 1;
    if (isMenuKey(Message)) return;
    if (Message.Msg == CN_KEYDOWN) {
        const TWMKey key(Message);
        LRESULT wanted = 0;
        switch (key.CharCode()) {
        case VK_TAB:
            wanted = DLGC_WANTTAB;
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            wanted = DLGC_WANTARROWS;
            break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
            wanted = DLGC_WANTALLKEYS;
            break;
        default:
            break;
        }
        TCustomForm* form = GetParentForm(this);
        if (wanted != 0 && Perform(CM_WANTSPECIALKEY, key.CharCode(), 0) == 0 &&
            (Perform(WM_GETDLGCODE, 0, 0) & wanted) == 0 && form &&
            form->Perform(CM_DIALOGKEY, key.CharCode(), static_cast<LPARAM>(key.KeyData())) != 0)
            return;
    }
    Message.Result = 0;
}

// Characters the window does not want are the form's accelerators (CM_DIALOGCHAR).
void TWinControl::CNChar(TMessage& Message) {
    Message.Result = 1;
    const TWMKey key(Message);
    TCustomForm* form = GetParentForm(this);
    if ((Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 && form &&
        form->Perform(CM_DIALOGCHAR, key.CharCode(), static_cast<LPARAM>(key.KeyData())) != 0)
        return;
    Message.Result = 0;
}

void TWinControl::CNSysChar(TMessage& Message) {
    Message.Result = 1;
    const TWMKey key(Message);
    TCustomForm* form = GetParentForm(this);
    if (key.CharCode() != VK_SPACE && form &&
        form->Perform(CM_DIALOGCHAR, key.CharCode(), static_cast<LPARAM>(key.KeyData())) != 0)
        return;
    Message.Result = 0;
}

bool TWinControl::isMenuKey(TMessage& Message) {
    TCustomForm* form = GetParentForm(this);
    return form && form->IsShortCut(Message);
}

void TWinControl::CMDialogKey(TMessage& Message) {
    Broadcast(Message);
}

// ---- TWinControl: painting -------------------------------------------------------------------

void TWinControl::WMPaint(TMessage& Message) {
    if (!controlState_.Contains(csCustomPaint) && ControlCount() == 0)
        DefaultHandler(Message);
    else
        PaintHandler(Message);
}

// The window paints what its opaque graphic children leave uncovered, then the children paint.
void TWinControl::PaintHandler(TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    PAINTSTRUCT paint;
    if (!dc) dc = BeginPaint(Handle(), &paint);
    try {
        if (graphicControls_.empty()) {
            PaintWindow(dc);
        } else {
            const int saved = SaveDC(dc);
            int clip = SIMPLEREGION;
            for (TControl* child : graphicControls_)
                if (child->Visible() && child->ControlStyle().Contains(csOpaque)) {
                    clip = ExcludeClipRect(dc, child->Left(), child->Top(), child->Left() + child->Width(),
                                           child->Top() + child->Height());
                    if (clip == NULLREGION) break;
                }
            if (clip != NULLREGION) PaintWindow(dc);
            RestoreDC(dc, saved);
        }
        PaintControls(dc, nullptr);
    } catch (...) {
        if (!Message.WParam) EndPaint(handle_, &paint);
        throw;
    }
    if (!Message.WParam) EndPaint(handle_, &paint);
}

void TWinControl::PaintWindow(HDC DC) {
    TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    DefaultHandler(message);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
    auto it = graphicControls_.begin();
    if (First) it = std::find(graphicControls_.begin(), graphicControls_.end(), First);
    for (; it != graphicControls_.end(); ++it) {
        TControl* child = *it;
        const TRect bounds = child->BoundsRect();
        if (!child->Visible() || !RectVisible(DC, &bounds)) continue;
        const int saved = SaveDC(DC);
        POINT origin;
        GetWindowOrgEx(DC, &origin);
        SetWindowOrgEx(DC, origin.x - child->Left(), origin.y - child->Top(), nullptr);
        IntersectClipRect(DC, 0, 0, child->Width(), child->Height());
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        RestoreDC(DC, saved);
    }
}

// The background is filled whenever the system asks; a control that paints
// every pixel itself (csOpaque) avoids the request by invalidating without
// erasing. A double-buffered control is not erased unless it paints into
// memory (the message's two parameters equal).
void TWinControl::WMEraseBkgnd(TMessage& Message) {
    if (!doubleBuffered_ || Message.WParam == static_cast<WPARAM>(Message.LParam)) {
        const TRect client = ClientRect();
        FillRect(reinterpret_cast<HDC>(Message.WParam), &client, brush_->Handle());
    }
    Message.Result = 1;
}

void TWinControl::Invalidate() {
    Perform(CM_INVALIDATE, 0, 0);
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

// ---- TWinControl: streaming ------------------------------------------------------------------

void TWinControl::ReadState(TReader* Reader) {
    DisableAlign();
    try {
        TControl::ReadState(Reader);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
    fixupTabList();
    if (parent_) Perform(CM_PARENTCTL3DCHANGED, 0, 0);
    UpdateControlState();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

// ---- TGraphicControl and TCustomControl --------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
    canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() {
    canvas_->SetControl(nullptr);
}

// The parent's device context arrives moved to this control.
void TGraphicControl::Dispatch(TMessage& Message) {
    if (Message.Msg != WM_PAINT) {
        TControl::Dispatch(Message);
        return;
    }
    if (!Message.WParam) return;
    canvas_->Lock();
    canvas_->SetHandle(reinterpret_cast<HDC>(Message.WParam));
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

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
    canvas_->SetControl(this);
}

TCustomControl::~TCustomControl() {
    canvas_->SetControl(nullptr);
}

void TCustomControl::Dispatch(TMessage& Message) {
    if (Message.Msg != WM_PAINT) {
        TWinControl::Dispatch(Message);
        return;
    }
    controlState_.Include(csCustomPaint);
    try {
        TWinControl::Dispatch(Message);
    } catch (...) {
        controlState_.Exclude(csCustomPaint);
        throw;
    }
    controlState_.Exclude(csCustomPaint);
}

void TCustomControl::PaintWindow(HDC DC) {
    canvas_->Lock();
    canvas_->SetHandle(DC);
    try {
        canvas_->UpdateTextFlags();
        Paint();
    } catch (...) {
        canvas_->SetHandle(nullptr);
        canvas_->Unlock();
        throw;
    }
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
}

// ---- THintWindow -----------------------------------------------------------------------------

namespace {
// Room around the text: two pixels inside the border on the left and top, and the border itself.
constexpr Integer HintTextInset = 2;
constexpr Integer HintExtraWidth = 6;
constexpr Integer HintExtraHeight = 2;
constexpr Integer HintBorderHeight = 4;
} // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clInfoBk);
    Canvas()->SetFont(Screen->HintFont());
    Canvas()->Brush()->SetStyle(bsClear);
    visible_ = false;
}

void THintWindow::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.WindowClass.style |= CS_SAVEBITS;
    Params.ExStyle = WS_EX_TOOLWINDOW;
    Params.WndParent = Application->Handle();
}

void THintWindow::Paint() {
    TRect rect = ClientRect();
    rect.Left += HintTextInset;
    rect.Top += HintTextInset;
    Canvas()->Font()->SetColor(Screen->HintFont()->Color());
    const AnsiString text = Caption();
    DrawTextA(Canvas()->Handle(), text.c_str(), -1, &rect,
              DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | static_cast<UINT>(DrawTextBiDiModeFlagsReadingOnly()));
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const AnsiString& AHint, void*) {
    TRect rect{0, 0, MaxWidth, 0};
    DrawTextA(Canvas()->Handle(), AHint.c_str(), -1, &rect,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX |
                  static_cast<UINT>(DrawTextBiDiModeFlagsReadingOnly()));
    rect.Right += HintExtraWidth;
    rect.Bottom += HintExtraHeight;
    return rect;
}

// The window stays inside the screen and over every other window, without taking the focus.
void THintWindow::ActivateHint(TRect Rect, const AnsiString& AHint) {
    activating_ = true;
    try {
        SetCaption(AHint);
        Rect.Bottom += HintBorderHeight;
        UpdateBoundsRect(Rect);
        const TSize screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (Rect.Top + height_ > screen.cy) Rect.Top = screen.cy - height_;
        if (Rect.Left + width_ > screen.cx) Rect.Left = screen.cx - width_;
        Rect.Left = std::max(Rect.Left, 0);
        Rect.Top = std::max(Rect.Top, 0);
        SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, width_, height_,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE);
        Invalidate();
    } catch (...) {
        activating_ = false;
        throw;
    }
    activating_ = false;
}

void THintWindow::ActivateHintData(TRect Rect, const AnsiString& AHint, void*) {
    ActivateHint(Rect, AHint);
}

bool THintWindow::IsHintMsg(const MSG& Msg) {
    return isKeyMessage(Msg.message) || Msg.message == CM_ACTIVATE || Msg.message == CM_DEACTIVATE ||
           Msg.message == CM_APPKEYDOWN || Msg.message == CM_APPSYSCOMMAND || Msg.message == WM_COMMAND ||
           isButtonMessage(Msg.message) || Msg.message == WM_NCMOUSEMOVE;
}

void THintWindow::ReleaseHandle() {
    DestroyHandle();
}

void THintWindow::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCHITTEST:
        Message.Result = HTTRANSPARENT;
        break;
    case CM_TEXTCHANGED:
        TCustomControl::Dispatch(Message);
        // ActivateHint sizes the window itself.
        if (!activating_) {
            const AnsiString text = Caption();
            SetBounds(left_, top_, Canvas()->TextWidth(text) + HintExtraWidth,
                      Canvas()->TextHeight(text) + HintExtraWidth);
        }
        break;
    default:
        TCustomControl::Dispatch(Message);
    }
}

// ---- TMouse ------------------------------------------------------------------------------------

namespace {
TMouse mouseInstance;
} // namespace
TMouse* Mouse = &mouseInstance;

TPoint TMouse::CursorPos() const {
    POINT pos;
    GetCursorPos(&pos);
    return pos;
}

void TMouse::SetCursorPos(const TPoint& Value) {
    ::SetCursorPos(Value.x, Value.y);
}

HWND TMouse::Capture() const {
    return GetCapture();
}

void TMouse::SetCapture(HWND Value) {
    if (Value)
        ::SetCapture(Value);
    else
        ReleaseCapture();
}

Integer TMouse::WheelScrollLines() const {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return static_cast<Integer>(lines);
}

// ---- Published properties --------------------------------------------------------------------

namespace {

const TTypeInfo* const alignType = DefineEnum<TAlign>(
    "TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
const TTypeInfo* const anchorKindType =
    DefineEnum<TAnchorKind>("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});
const TTypeInfo* const borderStyleType = DefineEnum<TFormBorderStyle>(
    "TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
const TTypeInfo* const biDiModeType = DefineEnum<TBiDiMode>(
    "TBiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"});
const TTypeInfo* const dragModeType = DefineEnum<TDragMode>("TDragMode", {"dmManual", "dmAutomatic"});
const TTypeInfo* const dragKindType = DefineEnum<TDragKind>("TDragKind", {"dkDrag", "dkDock"});
const TTypeInfo* const mouseButtonType =
    DefineEnum<TMouseButton>("TMouseButton", {"mbLeft", "mbRight", "mbMiddle"});
const TTypeInfo* const shiftStateType = DefineEnum<TShiftStateItem>(
    "TShiftStateItem", {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"});

const TClass sizeConstraintsClass =
    DescribeClass<TSizeConstraints, TPersistent>([](TClassBuilder<TSizeConstraints>& c) {
        c.Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
        c.Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
        c.Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
        c.Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
    });

const TClass controlClass = DescribeClass<TControl, TComponent>([](TClassBuilder<TControl>& c) {
    c.Property("Left", &TControl::Left, &TControl::SetLeft);
    c.Property("Top", &TControl::Top, &TControl::SetTop);
    c.Property("Width", &TControl::Width, &TControl::SetWidth);
    c.Property("Height", &TControl::Height, &TControl::SetHeight);
    c.Property("Action", &TControl::Action, &TControl::SetAction);
    c.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    c.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(DefaultAnchors);
    c.Property("Constraints", &TControl::Constraints);
    c.Property("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize).Default(false);
    c.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode)
        .Default(bdLeftToRight)
        .Stored(&TControl::IsBiDiModeStored);
    c.Property("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
    c.Property("Color", &TControl::Color, &TControl::SetColor)
        .Type(TypeInfoColor())
        .Default(clWindow)
        .Stored(&TControl::IsColorStored);
    c.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
    c.Property("Font", &TControl::Font).Stored(&TControl::IsFontStored);
    c.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    c.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Type(TypeInfoCursor()).Default(crDefault);
    c.Property("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor)
        .Type(TypeInfoCursor())
        .Default(crDrag);
    c.Property("DragKind", &TControl::DragKind, &TControl::SetDragKind).Default(dkDrag);
    c.Property("DragMode", &TControl::DragMode, &TControl::SetDragMode).Default(dmManual);
    c.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    c.Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext).Default(0);
    c.Property("Hint", &TControl::Hint, &TControl::SetHint);
    c.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
    c.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    c.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    c.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    c.Property("OnCanResize", &TControl::OnCanResize, &TControl::OnCanResize);
    c.Property("OnClick", &TControl::OnClick, &TControl::OnClick);
    c.Property("OnConstrainedResize", &TControl::OnConstrainedResize, &TControl::OnConstrainedResize);
    c.Property("OnContextPopup", &TControl::OnContextPopup, &TControl::OnContextPopup);
    c.Property("OnDblClick", &TControl::OnDblClick, &TControl::OnDblClick);
    c.Property("OnDragDrop", &TControl::OnDragDrop, &TControl::OnDragDrop);
    c.Property("OnDragOver", &TControl::OnDragOver, &TControl::OnDragOver);
    c.Property("OnEndDrag", &TControl::OnEndDrag, &TControl::OnEndDrag);
    c.Property("OnMouseDown", &TControl::OnMouseDown, &TControl::OnMouseDown);
    c.Property("OnMouseMove", &TControl::OnMouseMove, &TControl::OnMouseMove);
    c.Property("OnMouseUp", &TControl::OnMouseUp, &TControl::OnMouseUp);
    c.Property("OnMouseWheel", &TControl::OnMouseWheel, &TControl::OnMouseWheel);
    c.Property("OnMouseWheelDown", &TControl::OnMouseWheelDown, &TControl::OnMouseWheelDown);
    c.Property("OnMouseWheelUp", &TControl::OnMouseWheelUp, &TControl::OnMouseWheelUp);
    c.Property("OnResize", &TControl::OnResize, &TControl::OnResize);
    c.Property("OnStartDrag", &TControl::OnStartDrag, &TControl::OnStartDrag);
});

const TClass winControlClass = DescribeClass<TWinControl, TControl>([](TClassBuilder<TWinControl>& c) {
    c.Property("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D).Stored(&TWinControl::IsCtl3DStored);
    c.Property("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D).Default(true);
    c.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
    c.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
    c.Property("OnEnter", &TWinControl::OnEnter, &TWinControl::OnEnter);
    c.Property("OnExit", &TWinControl::OnExit, &TWinControl::OnExit);
    c.Property("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::OnKeyDown);
    c.Property("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::OnKeyPress);
    c.Property("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::OnKeyUp);
});

const TClass graphicControlClass = DescribeClass<TGraphicControl, TControl>();
const TClass customControlClass = DescribeClass<TCustomControl, TWinControl>();
const TClass hintWindowClass = DescribeClass<THintWindow, TCustomControl>([](TClassBuilder<THintWindow>& c) {
    c.Property("Caption", &THintWindow::Caption, &THintWindow::SetCaption);
});

} // namespace
