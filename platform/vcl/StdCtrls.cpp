// The standard controls. The windowed ones make their windows from the
// system's classes (CreateSubClass) and answer the reflected CN_ messages;
// labels and group boxes paint themselves on a canvas.
#include "platform/vcl/StdCtrls.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/ScrollBarControl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Messages.h"
#include "platform/win/StandardControls.h"
#include "platform/win/StaticControl.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr const char* SInsertLineError = "Unable to insert a line";
constexpr const char* SCountOfVirtualList = "Only a virtual list box is given its number of items";
constexpr Integer ItemTextIndent = 2;
constexpr Integer StaticTextBorders = 4;
constexpr Integer GroupCaptionIndent = 8;
// Keys typed into a drop-down list within this time make one search text.
constexpr DWORD IncrementalSearchPause = 500;
constexpr WPARAM WholeFieldSelection = 0xFFFF;

// A character code of a key message as one byte of the ANSI code page:
// codes below 256 are such bytes; a 16-bit character (a Unicode window's)
// is its byte there, or 0 when it has none, never its low byte.
AnsiChar ansiCharOfKey(Word Key) {
    if (Key < 256) return static_cast<AnsiChar>(Key);
    const WideString wide(1, static_cast<WideChar>(Key));
    const AnsiString ansi = WideToAnsi(wide);
    return ansi.size() == 1 && AnsiToWide(ansi) == wide ? ansi[0] : '\0';
}

// Whether Key is the letter after the (single) "&" of Caption.
bool isAccelerator(Word Key, const AnsiString& Caption) {
    for (std::size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&') continue;
        if (Caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return AnsiCharUpper(Caption[i + 1]) == AnsiCharUpper(ansiCharOfKey(Key));
    }
    return false;
}

UINT alignmentFormat(TAlignment Alignment) {
    switch (Alignment) {
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// The canvas's device context with its font, pen and brush selected, for
// drawing calls made on the handle directly.
HDC readyHandle(TCanvas* Canvas) {
    Canvas->RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
    return Canvas->Handle();
}

void drawCanvasText(TCanvas* Canvas, const AnsiString& Text, TRect& Rect, UINT Flags) {
    DrawTextA(readyHandle(Canvas), Text.c_str(), static_cast<int>(Text.size()), &Rect, Flags);
}

// The parent's WM_CTLCOLOR... comes back as CN_CTLCOLOR...: the control's font colour and brush.
void answerControlColours(TWinControl* Control, TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Control->Font()->Color())));
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Control->Brush()->Color())));
    Message.Result = reinterpret_cast<LRESULT>(Control->Brush()->Handle());
}

bool isControlColourMessage(UINT Msg) {
    return Msg >= CN_CTLCOLORMSGBOX && Msg <= CN_CTLCOLORSTATIC;
}

SIZE textExtent(TFont* Font, const AnsiString& Text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, Font->Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, Text.c_str(), static_cast<int>(Text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

TRect offset(TRect Rect, Integer Dx, Integer Dy) {
    return {Rect.Left + Dx, Rect.Top + Dy, Rect.Right + Dx, Rect.Bottom + Dy};
}

TRect inflated(TRect Rect, Integer By) {
    return {Rect.Left - By, Rect.Top - By, Rect.Right + By, Rect.Bottom + By};
}

bool isOwnerDrawStyle(TComboBoxStyle Style) {
    return Style == csOwnerDrawFixed || Style == csOwnerDrawVariable;
}

// An owner-drawn item the framework draws itself: the selection colours,
// the handler (or the default drawing), the focus rectangle.
template <typename DrawFunction>
void drawOwnerItem(TWinControl* Control, TCanvas* Canvas, const DRAWITEMSTRUCT& Item, DrawFunction Draw) {
    TOwnerDrawState state = OwnerDrawStateOf(Item.itemState);
    Canvas->SetHandle(Item.hDC);
    Canvas->SetFont(Control->Font());
    Canvas->SetBrush(Control->Brush());
    const auto index = static_cast<Integer>(Item.itemID);
    try {
        if (index >= 0 && state.Contains(odSelected)) {
            Canvas->Brush()->SetColor(clHighlight);
            Canvas->Font()->SetColor(clHighlightText);
        }
        if (index >= 0)
            Draw(index, Item.rcItem, state);
        else
            Canvas->FillRect(Item.rcItem);
        if (state.Contains(odFocused)) DrawFocusRect(Item.hDC, &Item.rcItem);
    } catch (...) {
        Canvas->SetHandle(nullptr);
        throw;
    }
    Canvas->SetHandle(nullptr);
}

void drawItemText(TCanvas* Canvas, const AnsiString& Text, TRect Rect) {
    Rect.Left += ItemTextIndent;
    drawCanvasText(Canvas, Text, Rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

} // namespace

TOwnerDrawState OwnerDrawStateOf(UINT ItemState) {
    // The ODS_ bits are the set's elements in order.
    constexpr UINT knownStates = 0x1FFF;
    return TOwnerDrawState::FromBits(ItemState & knownStates);
}

// ---- TCustomLabel ------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
    SetBounds(Left(), Top(), 65, 17);
    SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
    if (layout_ == Value) return;
    layout_ = Value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
    if (wordWrap_ == Value) return;
    wordWrap_ = Value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
    if (showAccelChar_ == Value) return;
    showAccelChar_ = Value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
    if (Transparent() == Value) return;
    if (Value)
        SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
    else
        SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

AnsiString TCustomLabel::GetLabelText() {
    return Caption();
}

Integer TCustomLabel::textFlags() const {
    return static_cast<Integer>(DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | alignmentFormat(alignment_));
}

void TCustomLabel::DoDrawText(TRect& Rect, Integer Flags) {
    AnsiString text = GetLabelText();
    // An empty (or lone accelerator) text still measures one line high.
    if ((Flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
    if (!showAccelChar_) Flags |= DT_NOPREFIX;
    Flags = DrawTextBiDiModeFlags(Flags);
    Canvas()->SetFont(Font());
    auto format = static_cast<UINT>(Flags);
    if (Enabled() || (Flags & DT_CALCRECT)) {
        drawCanvasText(Canvas(), text, Rect, format);
        return;
    }
    Rect = offset(Rect, 1, 1);
    Canvas()->Font()->SetColor(clBtnHighlight);
    drawCanvasText(Canvas(), text, Rect, format);
    Rect = offset(Rect, -1, -1);
    Canvas()->Font()->SetColor(clBtnShadow);
    drawCanvasText(Canvas(), text, Rect, format);
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
    }
    canvas->Brush()->SetStyle(bsClear);
    TRect rect = ClientRect();
    if (layout_ != tlTop) {
        TRect measured = rect;
        DoDrawText(measured, textFlags() | DT_CALCRECT);
        Integer spare = Height() - measured.Bottom;
        rect = offset(rect, 0, layout_ == tlBottom ? spare : spare / 2);
    }
    DoDrawText(rect, textFlags());
}

void TCustomLabel::AdjustSize() {
    AdjustBounds();
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !AutoSize()) return;
    HDC dc = GetDC(nullptr);
    Canvas()->SetHandle(dc);
    TRect rect = ClientRect();
    DoDrawText(rect, static_cast<Integer>(DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0)));
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    Integer left = Left();
    if (alignment_ == taRightJustify) left += Width() - rect.Right;
    if (alignment_ == taCenter) left += (Width() - rect.Right) / 2;
    SetBounds(left, Top(), rect.Right, rect.Bottom);
}

void TCustomLabel::cmDialogChar(TMessage& Message) {
    if (focusControl_ && Enabled() && showAccelChar_ && isAccelerator(LOWORD(Message.WParam), Caption()) &&
        focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        Message.Result = 1;
    }
}

void TCustomLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustBounds();
        break;
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(Message);
        AdjustBounds();
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    default:
        TGraphicControl::Dispatch(Message);
    }
}

// ---- TButtonControl ------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TButtonControl::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    RegisterStandardControlClasses();
    CreateSubClass(Params, "BUTTON");
}

void TButtonControl::WndProc(TMessage& Message) {
    bool press = Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK;
    if (press && !ComponentState().Contains(csDesigning) && !Focused()) {
        clicksDisabled_ = true;
        ::SetFocus(Handle());
        clicksDisabled_ = false;
        if (!Focused()) return;
    }
    TWinControl::WndProc(Message);
}

void TButtonControl::cnCtlColor(TMessage& Message) {
    answerControlColours(this, Message);
}

void TButtonControl::Dispatch(TMessage& Message) {
    if (isControlColourMessage(Message.Msg))
        cnCtlColor(Message);
    else
        TWinControl::Dispatch(Message);
}

// ---- TButton ----------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), 75, 25);
    SetTabStop(true);
}

void TButton::CreateParams(TCreateParams& Params) {
    TButtonControl::CreateParams(Params);
    Params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
    TButtonControl::CreateWnd();
    active_ = default_;
}

void TButton::setButtonStyle(bool IsDefault) {
    if (!HandleAllocated()) return;
    DWORD style = IsDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & BS_TYPEMASK) != style)
        SendMessageA(Handle(), BM_SETSTYLE, style, 1);
}

void TButton::SetDefault(bool Value) {
    default_ = Value;
    if (!HandleAllocated()) return;
    if (TCustomForm* form = GetParentForm(this))
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

// While a button has the focus it is the one Enter clicks; otherwise the default button is.
void TButton::cmFocusChanged(TMessage& Message) {
    auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
    active_ = dynamic_cast<TButton*>(focused) ? focused == this : default_;
    setButtonStyle(active_);
    TButtonControl::Dispatch(Message);
}

void TButton::cmDialogKey(TMessage& Message) {
    TWMKey key(Message);
    Word code = key.CharCode();
    bool wanted = (code == VK_RETURN && active_) || (code == VK_ESCAPE && cancel_);
    if (wanted && KeyDataToShiftState(key.KeyData()).Empty() && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::Dispatch(Message);
}

void TButton::cmDialogChar(TMessage& Message) {
    if (isAccelerator(LOWORD(Message.WParam), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::Dispatch(Message);
}

void TButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED) Click();
        break;
    case CM_DIALOGKEY:
        cmDialogKey(Message);
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    case CM_FOCUSCHANGED:
        cmFocusChanged(Message);
        break;
    default:
        TButtonControl::Dispatch(Message);
    }
}

// ---- TCustomCheckBox ------------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), 97, 17);
    SetTabStop(true);
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    RecreateWnd();
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_3STATE | (alignment_ == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
    if (state_ == Value) return;
    state_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
    if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked:
        SetState(allowGrayed_ ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

// The accelerator focuses the box and toggles it once it has the focus.
void TCustomCheckBox::cmDialogChar(TMessage& Message) {
    if (isAccelerator(LOWORD(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        Message.Result = 1;
        return;
    }
    TButtonControl::Dispatch(Message);
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    default:
        TButtonControl::Dispatch(Message);
    }
}

// ---- TRadioButton ------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), 113, 17);
}

void TRadioButton::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& Params) {
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_RADIOBUTTON | (alignment_ == taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool Value) {
    if (checked_ == Value) return;
    checked_ = Value;
    SetTabStop(Value);
    if (HandleAllocated()) SendMessageA(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!Value) return;
    uncheckSiblings();
    if (!ClicksDisabled()) Click();
}

void TRadioButton::uncheckSiblings() {
    if (!Parent()) return;
    for (Integer i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); sibling && sibling != this)
            sibling->SetChecked(false);
}

void TRadioButton::cmDialogChar(TMessage& Message) {
    if (isAccelerator(LOWORD(Message.WParam), Caption()) && CanFocus()) {
        SetFocus();
        Message.Result = 1;
        return;
    }
    TButtonControl::Dispatch(Message);
}

void TRadioButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED) SetChecked(true);
        if (HIWORD(Message.WParam) == BN_DOUBLECLICKED) DblClick();
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    default:
        TButtonControl::Dispatch(Message);
    }
}

// ---- TCustomGroupBox ------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csDoubleClicks, csReplicatable});
    SetBounds(Left(), Top(), 185, 105);
}

void TCustomGroupBox::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// The children lie inside the frame, below the caption's line.
void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    Rect.Top += textExtent(Font(), "0").cy;
    Rect = inflated(Rect, Ctl3D() ? -2 : -1);
}

void TCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    Integer height = canvas->TextHeight("0");
    TRect frame{0, height / 2 - 1, Width(), Height()};
    if (Ctl3D()) {
        ++frame.Left;
        ++frame.Top;
        canvas->Brush()->SetColor(clBtnHighlight);
        canvas->FrameRect(frame);
        frame = offset(frame, -1, -1);
        canvas->Brush()->SetColor(clBtnShadow);
    } else {
        canvas->Brush()->SetColor(clWindowFrame);
    }
    canvas->FrameRect(frame);
    AnsiString caption = Text();
    if (caption.empty()) return;
    TRect place{GroupCaptionIndent, 0, 0, height};
    if (UseRightToLeftAlignment())
        place = {frame.Right - canvas->TextWidth(caption) - GroupCaptionIndent, 0, 0, height};
    UINT flags = static_cast<UINT>(DrawTextBiDiModeFlags(DT_SINGLELINE));
    drawCanvasText(canvas, caption, place, flags | DT_CALCRECT);
    canvas->Brush()->SetColor(Color());
    drawCanvasText(canvas, caption, place, flags);
}

void TCustomGroupBox::cmDialogChar(TMessage& Message) {
    if (isAccelerator(LOWORD(Message.WParam), Caption()) && CanFocus()) {
        SelectFirst();
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        Realign();
        break;
    case CM_FONTCHANGED:
    case CM_CTL3DCHANGED:
        TCustomControl::Dispatch(Message);
        Invalidate();
        Realign();
        break;
    default:
        TCustomControl::Dispatch(Message);
    }
}

// ---- TCustomStaticText ------------------------------------------------------------------------

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(
        TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csReplicatable, csDoubleClicks});
    SetBounds(Left(), Top(), 65, 17);
    SetAutoSize(true);
}

void TCustomStaticText::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    RegisterStandardControlClasses();
    CreateSubClass(Params, "STATIC");
    DWORD alignment = alignment_ == taRightJustify ? SS_RIGHT : alignment_ == taCenter ? SS_CENTER : SS_LEFT;
    DWORD border = borderStyle_ == sbsSingle ? WS_BORDER : borderStyle_ == sbsSunken ? SS_SUNKEN : 0;
    Params.Style |= SS_NOTIFY | alignment | border | (showAccelChar_ ? 0 : SS_NOPREFIX);
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    RecreateWnd();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
    if (showAccelChar_ == Value) return;
    showAccelChar_ = Value;
    RecreateWnd();
    AdjustBounds();
}

void TCustomStaticText::SetFocusControl(TWinControl* Value) {
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TCustomStaticText::Loaded() {
    TWinControl::Loaded();
    AdjustBounds();
}

void TCustomStaticText::AdjustSize() {
    AdjustBounds();
}

void TCustomStaticText::AdjustBounds() {
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !AutoSize()) return;
    SIZE extent = textExtent(Font(), Caption());
    SetBounds(Left(), Top(), extent.cx + StaticTextBorders * GetSystemMetrics(SM_CXBORDER),
              extent.cy + StaticTextBorders * GetSystemMetrics(SM_CYBORDER));
}

void TCustomStaticText::cmDialogChar(TMessage& Message) {
    if (focusControl_ && Enabled() && showAccelChar_ && isAccelerator(LOWORD(Message.WParam), Caption()) &&
        focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        Message.Result = 1;
    }
}

void TCustomStaticText::Dispatch(TMessage& Message) {
    if (isControlColourMessage(Message.Msg)) {
        answerControlColours(this, Message);
        return;
    }
    switch (Message.Msg) {
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    case CM_TEXTCHANGED:
        TWinControl::Dispatch(Message);
        AdjustBounds();
        break;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(Message);
        AdjustBounds();
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

// ---- TCustomListBox ------------------------------------------------------------------------

// The items of a list box, read from and written to its window.
class TCustomListBox::ListBoxStrings : public TStrings {
public:
    explicit ListBoxStrings(TCustomListBox* ListBox) : listBox_(ListBox) {}

    AnsiString Get(Integer Index) const override {
        LRESULT length = send(LB_GETTEXTLEN, static_cast<WPARAM>(Index));
        if (length == LB_ERR) Error(SListIndexError, Index);
        AnsiString text(static_cast<std::size_t>(length) + 1, '\0');
        send(LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        return text;
    }
    Integer GetCount() const override { return static_cast<Integer>(send(LB_GETCOUNT)); }
    TObject* GetObject(Integer Index) const override {
        LRESULT data = send(LB_GETITEMDATA, static_cast<WPARAM>(Index));
        if (data == LB_ERR) Error(SListIndexError, Index);
        return reinterpret_cast<TObject*>(data);
    }
    void PutObject(Integer Index, TObject* AObject) override {
        if (send(LB_SETITEMDATA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject)) == LB_ERR)
            Error(SListIndexError, Index);
    }
    // The window keeps a sorted list in order.
    Integer Add(const AnsiString& S) override {
        return inserted(send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str())));
    }
    void Insert(Integer Index, const AnsiString& S) override {
        inserted(send(LB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str())));
    }
    // The line goes and comes back with its item data and the selection kept.
    void Put(Integer Index, const AnsiString& S) override {
        Integer selected = listBox_->ItemIndex();
        TObject* data = GetObject(Index);
        PutObject(Index, nullptr);
        Delete(Index);
        Insert(Index, S);
        PutObject(Index, data);
        listBox_->SetItemIndex(selected);
    }
    void Delete(Integer Index) override { send(LB_DELETESTRING, static_cast<WPARAM>(Index)); }
    void Clear() override { send(LB_RESETCONTENT); }
    Integer IndexOf(const AnsiString& S) const override {
        LRESULT found =
            send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str()));
        return found == LB_ERR ? -1 : static_cast<Integer>(found);
    }

protected:
    void SetUpdateState(bool Updating) override {
        send(WM_SETREDRAW, Updating ? FALSE : TRUE);
        if (!Updating) listBox_->Refresh();
    }

private:
    LRESULT send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) const {
        return SendMessageA(listBox_->Handle(), Msg, WParam, LParam);
    }
    Integer inserted(LRESULT Index) {
        if (Index < 0) throw EOutOfResources(SInsertLineError);
        return static_cast<Integer>(Index);
    }

    TCustomListBox* listBox_;
};

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TCustomListControl(AOwner), items_(std::make_unique<ListBoxStrings>(this)),
      canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csOpaque});
    SetBounds(Left(), Top(), 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    RegisterStandardControlClasses();
    CreateSubClass(Params, "LISTBOX");
    DWORD style = WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY;
    if (IsVirtual())
        style |= LBS_OWNERDRAWFIXED | LBS_NODATA;
    else
        style |= LBS_HASSTRINGS | (sorted_ ? LBS_SORT : 0);
    if (style_ == lbOwnerDrawFixed) style |= LBS_OWNERDRAWFIXED;
    if (style_ == lbOwnerDrawVariable) style |= LBS_OWNERDRAWVARIABLE;
    if (multiSelect_) style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (!integralHeight_) style |= LBS_NOINTEGRALHEIGHT;
    Params.Style |= style;
    if (borderStyle_ == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
    TCustomListControl::CreateWnd();
    if (style_ != lbStandard && style_ != lbOwnerDrawVariable)
        SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
    if (IsVirtual() && savedCount_ > 0) SetCount(std::exchange(savedCount_, 0));
    if (savedItems_) {
        std::unique_ptr<TStringList> saved = std::move(savedItems_);
        items_->Assign(saved.get());
    }
    SetTopIndex(std::exchange(savedTopIndex_, 0));
    SetItemIndex(std::exchange(savedItemIndex_, -1));
}

void TCustomListBox::DestroyWnd() {
    if (!ComponentState().Contains(csDestroying) && Count() > 0) {
        if (IsVirtual()) {
            savedCount_ = Count();
        } else {
            savedItems_ = std::make_unique<TStringList>();
            savedItems_->Assign(items_.get());
        }
        savedTopIndex_ = TopIndex();
        savedItemIndex_ = ItemIndex();
    }
    TCustomListControl::DestroyWnd();
}

Integer TCustomListBox::Count() {
    return IsVirtual() ? static_cast<Integer>(SendMessageA(Handle(), LB_GETCOUNT, 0, 0)) : items_->Count();
}

void TCustomListBox::SetCount(Integer Value) {
    if (!IsVirtual()) throw EListError(SCountOfVirtualList);
    SendMessageA(Handle(), LB_SETCOUNT, static_cast<WPARAM>(Value), 0);
}

AnsiString TCustomListBox::DoGetData(Integer Index) {
    AnsiString data;
    if (OnData) OnData(this, Index, data);
    return data;
}

// Indexes outside the list, or no OnData, get LB_ERR.
void TCustomListBox::virtualText(TMessage& Message) {
    auto index = static_cast<Integer>(Message.WParam);
    if (!OnData || index < 0 || index >= Count()) {
        Message.Result = LB_ERR;
        return;
    }
    AnsiString text = DoGetData(index);
    if (Message.Msg == LB_GETTEXT && Message.LParam)
        std::memcpy(reinterpret_cast<char*>(Message.LParam), text.c_str(), text.size() + 1);
    Message.Result = static_cast<LRESULT>(text.size());
}

void TCustomListBox::AddItem(const AnsiString& Item, TObject* AObject) {
    items_->AddObject(Item, AObject);
}

void TCustomListBox::ClearSelection() {
    if (multiSelect_)
        SendMessageA(Handle(), LB_SETSEL, FALSE, -1);
    else
        SetItemIndex(-1);
}

void TCustomListBox::CopySelection(TCustomListControl* Destination) {
    for (Integer i = 0; i < items_->Count(); ++i)
        if (Selected(i)) Destination->AddItem(items_->Strings(i), items_->Objects(i));
}

void TCustomListBox::DeleteSelected() {
    for (Integer i = items_->Count() - 1; i >= 0; --i)
        if (Selected(i)) items_->Delete(i);
}

void TCustomListBox::SelectAll() {
    if (multiSelect_) SendMessageA(Handle(), LB_SETSEL, TRUE, -1);
}

Integer TCustomListBox::ItemIndex() {
    return static_cast<Integer>(SendMessageA(Handle(), multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(Integer Value) {
    if (ItemIndex() == Value) return;
    if (multiSelect_)
        SendMessageA(Handle(), LB_SETCARETINDEX, static_cast<WPARAM>(Value), 0);
    else
        SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

bool TCustomListBox::Selected(Integer Index) {
    LRESULT selected = SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(Index), 0);
    if (selected == LB_ERR) throw EListError(Format(SListIndexError, {Index}));
    return selected != 0;
}

void TCustomListBox::SetSelected(Integer Index, bool Value) {
    if (multiSelect_) {
        if (SendMessageA(Handle(), LB_SETSEL, Value ? TRUE : FALSE, Index) == LB_ERR)
            throw EListError(Format(SListIndexError, {Index}));
    } else if (Value) {
        SetItemIndex(Index);
    } else if (ItemIndex() == Index) {
        SetItemIndex(-1);
    }
}

Integer TCustomListBox::SelCount() {
    return static_cast<Integer>(SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0));
}

Integer TCustomListBox::TopIndex() {
    return static_cast<Integer>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(Integer Value) {
    if (TopIndex() != Value) SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

void TCustomListBox::Clear() {
    items_->Clear();
}

Integer TCustomListBox::ItemAtPos(const TPoint& Pos, bool Existing) {
    LRESULT found = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(Pos.x, Pos.y));
    if (HIWORD(found) != 0 && Existing) return -1;
    Integer index = LOWORD(found);
    return HIWORD(found) != 0 && index == items_->Count() - 1 ? index + 1 : index;
}

TRect TCustomListBox::ItemRect(Integer Index) {
    TRect rect;
    if (SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&rect)) ==
        LB_ERR)
        return {};
    return rect;
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    RecreateWnd();
}

void TCustomListBox::SetSorted(bool Value) {
    if (sorted_ == Value) return;
    sorted_ = Value;
    RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool Value) {
    if (multiSelect_ == Value) return;
    multiSelect_ = Value;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool Value) {
    if (extendedSelect_ == Value) return;
    extendedSelect_ = Value;
    RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool Value) {
    if (integralHeight_ == Value) return;
    integralHeight_ = Value;
    RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    RecreateWnd();
}

Integer TCustomListBox::ItemHeight() {
    if (style_ == lbStandard && HandleAllocated())
        return static_cast<Integer>(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0));
    return itemHeight_;
}

void TCustomListBox::SetItemHeight(Integer Value) {
    if (Value <= 0 || itemHeight_ == Value) return;
    itemHeight_ = Value;
    RecreateWnd();
}

void TCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    canvas_->FillRect(Rect);
    if (IsVirtual())
        drawItemText(canvas_.get(), DoGetData(Index), Rect);
    else if (Index < items_->Count())
        drawItemText(canvas_.get(), items_->Strings(Index), Rect);
}

void TCustomListBox::MeasureItem(Integer Index, Integer& Height) {
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::cnCommand(TMessage& Message) {
    switch (HIWORD(Message.WParam)) {
    case LBN_SELCHANGE:
        Click();
        break;
    case LBN_DBLCLK:
        DblClick();
        break;
    }
}

void TCustomListBox::cnDrawItem(TMessage& Message) {
    drawOwnerItem(
        this, canvas_.get(), *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam),
        [this](Integer Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
    Message.Result = 1;
}

void TCustomListBox::cnMeasureItem(TMessage& Message) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    Integer height = itemHeight_;
    if (style_ == lbOwnerDrawVariable) MeasureItem(static_cast<Integer>(item->itemID), height);
    item->itemHeight = static_cast<UINT>(height);
    Message.Result = 1;
}

void TCustomListBox::cnCtlColor(TMessage& Message) {
    answerControlColours(this, Message);
}

void TCustomListBox::Dispatch(TMessage& Message) {
    if (isControlColourMessage(Message.Msg)) {
        cnCtlColor(Message);
        return;
    }
    switch (Message.Msg) {
    case CN_COMMAND:
        cnCommand(Message);
        break;
    case CN_DRAWITEM:
        cnDrawItem(Message);
        break;
    case CN_MEASUREITEM:
        cnMeasureItem(Message);
        break;
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
        if (IsVirtual())
            virtualText(Message);
        else
            TCustomListControl::Dispatch(Message);
        break;
    default:
        TCustomListControl::Dispatch(Message);
    }
}

// ---- TCustomComboBox ------------------------------------------------------------------------

// The items of a combo box, read from and written to its window.
class TCustomComboBox::ComboBoxStrings : public TStrings {
public:
    explicit ComboBoxStrings(TCustomComboBox* ComboBox) : comboBox_(ComboBox) {}

    AnsiString Get(Integer Index) const override {
        LRESULT length = send(CB_GETLBTEXTLEN, static_cast<WPARAM>(Index));
        if (length == CB_ERR) Error(SListIndexError, Index);
        AnsiString text(static_cast<std::size_t>(length) + 1, '\0');
        send(CB_GETLBTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(std::strlen(text.c_str()));
        return text;
    }
    Integer GetCount() const override { return static_cast<Integer>(send(CB_GETCOUNT)); }
    TObject* GetObject(Integer Index) const override {
        LRESULT data = send(CB_GETITEMDATA, static_cast<WPARAM>(Index));
        if (data == CB_ERR) Error(SListIndexError, Index);
        return reinterpret_cast<TObject*>(data);
    }
    void PutObject(Integer Index, TObject* AObject) override {
        if (send(CB_SETITEMDATA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject)) == CB_ERR)
            Error(SListIndexError, Index);
    }
    Integer Add(const AnsiString& S) override {
        return inserted(send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str())));
    }
    void Insert(Integer Index, const AnsiString& S) override {
        inserted(send(CB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str())));
    }
    void Delete(Integer Index) override { send(CB_DELETESTRING, static_cast<WPARAM>(Index)); }
    // The window clears its text with its items; the text stays.
    void Clear() override {
        AnsiString text = comboBox_->Text();
        send(CB_RESETCONTENT);
        comboBox_->SetText(text);
        comboBox_->Update();
    }
    Integer IndexOf(const AnsiString& S) const override {
        LRESULT found =
            send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str()));
        return found == CB_ERR ? -1 : static_cast<Integer>(found);
    }

protected:
    void SetUpdateState(bool Updating) override {
        send(WM_SETREDRAW, Updating ? FALSE : TRUE);
        if (!Updating) comboBox_->Refresh();
    }

private:
    LRESULT send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) const {
        return SendMessageA(comboBox_->Handle(), Msg, WParam, LParam);
    }
    Integer inserted(LRESULT Index) {
        if (Index < 0) throw EOutOfResources(SInsertLineError);
        return static_cast<Integer>(Index);
    }

    TCustomComboBox* comboBox_;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomListControl(AOwner), items_(std::make_unique<ComboBoxStrings>(this)),
      canvas_(std::make_unique<TCanvas>()),
      editInstance_(MakeObjectInstance(TWndMethod(this, &TCustomComboBox::editWndProc))),
      listInstance_(MakeObjectInstance(TWndMethod(this, &TCustomComboBox::listWndProc))) {
    // The window follows the mouse itself while its list is dropped; the
    // framework taking the capture would close the list.
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight, csReplicatable});
    SetBounds(Left(), Top(), 145, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() {
    // The window goes first, so that its children no longer call the instances.
    DestroyHandle();
    FreeObjectInstance(editInstance_);
    FreeObjectInstance(listInstance_);
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    RegisterStandardControlClasses();
    CreateSubClass(Params, "COMBOBOX");
    DWORD style = WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
    switch (style_) {
    case csDropDown:
        style |= CBS_DROPDOWN;
        break;
    case csSimple:
        style |= CBS_SIMPLE;
        break;
    case csDropDownList:
        style |= CBS_DROPDOWNLIST;
        break;
    case csOwnerDrawFixed:
        style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
        break;
    case csOwnerDrawVariable:
        style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE;
        break;
    }
    if (sorted_) style |= CBS_SORT;
    Params.Style |= style;
}

void TCustomComboBox::CreateWnd() {
    AnsiString text = Text();
    TWinControl::CreateWnd();
    SendMessageA(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    subclassChildren();
    if (isOwnerDrawStyle(style_)) {
        SendMessageA(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), MAKELPARAM(itemHeight_, 0));
        SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
    }
    if (savedItems_) {
        std::unique_ptr<TStringList> saved = std::move(savedItems_);
        items_->Assign(saved.get());
        if (savedItemIndex_ >= 0) SetItemIndex(std::min(savedItemIndex_, items_->Count() - 1));
    }
    if (!text.empty()) SetText(text);
}

void TCustomComboBox::DestroyWnd() {
    if (!ComponentState().Contains(csDestroying) && items_->Count() > 0) {
        savedItems_ = std::make_unique<TStringList>();
        savedItems_->Assign(items_.get());
        savedItemIndex_ = ItemIndex();
    }
    editHandle_ = nullptr;
    listHandle_ = nullptr;
    TWinControl::DestroyWnd();
}

void TCustomComboBox::subclassChildren() {
    COMBOBOXINFO info;
    if (!GetComboBoxInfo(Handle(), &info)) return;
    editHandle_ = info.hwndItem;
    listHandle_ = info.hwndList;
    if (editHandle_) {
        defaultEditProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(editHandle_, GWLP_WNDPROC));
        SetWindowLongPtrA(editHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editInstance_));
    }
    if (listHandle_) {
        defaultListProc_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(listHandle_, GWLP_WNDPROC));
        SetWindowLongPtrA(listHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listInstance_));
    }
}

void TCustomComboBox::editWndProc(TMessage& Message) {
    HWND edit = editHandle_;
    ComboWndProc(Message, edit, defaultEditProc_);
}

void TCustomComboBox::listWndProc(TMessage& Message) {
    HWND list = listHandle_;
    ComboWndProc(Message, list, defaultListProc_);
}

void TCustomComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) return;
        break;
    case WM_KILLFOCUS:
        if (ControlState().Contains(csFocusing)) return;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(Message)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (DoKeyUp(Message)) return;
        break;
    case WM_CHAR:
        if (DoKeyPress(Message)) return;
        break;
    }
    Message.Result = CallWindowProcA(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
}

bool TCustomComboBox::Focused() {
    if (!HandleAllocated()) return false;
    HWND focus = GetFocus();
    return focus && (focus == Handle() || focus == editHandle_);
}

Integer TCustomComboBox::ItemIndex() {
    return static_cast<Integer>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(Integer Value) {
    if (ItemIndex() != Value) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomComboBox::Clear() {
    SetText("");
    items_->Clear();
}

void TCustomComboBox::AddItem(const AnsiString& Item, TObject* AObject) {
    items_->AddObject(Item, AObject);
}

void TCustomComboBox::CopySelection(TCustomListControl* Destination) {
    Integer selected = ItemIndex();
    if (selected >= 0) Destination->AddItem(items_->Strings(selected), items_->Objects(selected));
}

void TCustomComboBox::DeleteSelected() {
    Integer selected = ItemIndex();
    if (selected >= 0) items_->Delete(selected);
}

bool TCustomComboBox::DroppedDown() {
    return SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool Value) {
    SendMessageA(Handle(), CB_SHOWDROPDOWN, Value ? TRUE : FALSE, 0);
}

Integer TCustomComboBox::SelStart() {
    return LOWORD(static_cast<UINT_PTR>(SendMessageA(Handle(), CB_GETEDITSEL, 0, 0)));
}

void TCustomComboBox::SetSelStart(Integer Value) {
    SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(Value, Value));
}

Integer TCustomComboBox::SelLength() {
    auto selection = static_cast<UINT_PTR>(SendMessageA(Handle(), CB_GETEDITSEL, 0, 0));
    return HIWORD(selection) - LOWORD(selection);
}

void TCustomComboBox::SetSelLength(Integer Value) {
    Integer start = SelStart();
    SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + Value));
}

AnsiString TCustomComboBox::SelText() {
    AnsiString text = Text();
    auto start = static_cast<std::size_t>(SelStart());
    if (start >= text.size()) return {};
    return text.substr(start, static_cast<std::size_t>(SelLength()));
}

void TCustomComboBox::SetSelText(const AnsiString& Value) {
    if (!HandleAllocated() || !editHandle_) return;
    SendMessageA(editHandle_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomComboBox::SelectAll() {
    SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, WholeFieldSelection));
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    RecreateWnd();
}

void TCustomComboBox::SetSorted(bool Value) {
    if (sorted_ == Value) return;
    sorted_ = Value;
    RecreateWnd();
}

void TCustomComboBox::SetMaxLength(Integer Value) {
    maxLength_ = std::max(Value, 0);
    if (HandleAllocated()) SendMessageA(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

Integer TCustomComboBox::ItemHeight() {
    if (isOwnerDrawStyle(style_) || !HandleAllocated()) return itemHeight_;
    return static_cast<Integer>(SendMessageA(Handle(), CB_GETITEMHEIGHT, 0, 0));
}

void TCustomComboBox::SetItemHeight(Integer Value) {
    if (Value <= 0 || Value == itemHeight_) return;
    itemHeight_ = Value;
    if (isOwnerDrawStyle(style_)) RecreateWnd();
}

void TCustomComboBox::Change() {
    if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    canvas_->FillRect(Rect);
    if (Index >= 0 && Index < items_->Count())
        canvas_->TextOut(Rect.Left + ItemTextIndent, Rect.Top, items_->Strings(Index));
}

void TCustomComboBox::MeasureItem(Integer Index, Integer& Height) {
    if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

// The dropped list shows DropDownCount items at most (the combo box takes
// the height it is given as its height when dropped).
void TCustomComboBox::adjustDropDown() {
    Integer count = std::clamp(items_->Count(), 1, std::max(dropDownCount_, 1));
    SetWindowPos(Handle(), nullptr, 0, 0, Width(), ItemHeight() * count + Height() + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

// Typing completes the text (edit styles) or searches the items (list styles).
bool TCustomComboBox::completeTyping(char Key) {
    auto code = static_cast<Byte>(Key);
    if (code == VK_TAB && autoDropDown_ && DroppedDown()) SetDroppedDown(false);
    if (code < ' ') return false;
    if (autoDropDown_ && !DroppedDown()) SetDroppedDown(true);
    AnsiString search;
    bool editStyle = style_ == csDropDown || style_ == csSimple;
    if (editStyle) {
        AnsiString text = Text();
        if (static_cast<std::size_t>(SelStart() + SelLength()) < text.size()) return false;
        search = text.substr(0, static_cast<std::size_t>(SelStart())) + Key;
    } else {
        DWORD now = GetTickCount();
        if (now - searchTime_ >= IncrementalSearchPause) searchText_.clear();
        searchTime_ = now;
        search = searchText_ + Key;
    }
    LRESULT found = SendMessageA(Handle(), CB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(search.c_str()));
    if (found == CB_ERR) return false;
    bool changed = ItemIndex() != static_cast<Integer>(found);
    SetItemIndex(static_cast<Integer>(found));
    if (editStyle) {
        SendMessageA(Handle(), CB_SETEDITSEL, 0,
                     MAKELPARAM(static_cast<WORD>(search.size()), WholeFieldSelection));
    } else {
        searchText_ = search;
    }
    if (changed) {
        Click();
        Change();
    }
    return true;
}

void TCustomComboBox::KeyPress(char& Key) {
    TWinControl::KeyPress(Key);
    if (autoComplete_ && Key != 0 && completeTyping(Key)) Key = 0;
}

void TCustomComboBox::cnCommand(TMessage& Message) {
    switch (HIWORD(Message.WParam)) {
    case CBN_DBLCLK:
        DblClick();
        break;
    case CBN_EDITCHANGE:
        Change();
        break;
    case CBN_DROPDOWN:
        DropDown();
        adjustDropDown();
        break;
    case CBN_SELCHANGE: {
        Integer selected = ItemIndex();
        if (selected >= 0) SetText(items_->Strings(selected));
        Click();
        Select();
        break;
    }
    case CBN_CLOSEUP:
        CloseUp();
        break;
    }
}

void TCustomComboBox::cnDrawItem(TMessage& Message) {
    drawOwnerItem(
        this, canvas_.get(), *reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam),
        [this](Integer Index, const TRect& Rect, TOwnerDrawState State) { DrawItem(Index, Rect, State); });
    Message.Result = 1;
}

void TCustomComboBox::cnMeasureItem(TMessage& Message) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
    Integer height = itemHeight_;
    if (style_ == csOwnerDrawVariable && static_cast<Integer>(item->itemID) >= 0)
        MeasureItem(static_cast<Integer>(item->itemID), height);
    item->itemHeight = static_cast<UINT>(height);
    Message.Result = 1;
}

void TCustomComboBox::cnCtlColor(TMessage& Message) {
    answerControlColours(this, Message);
}

void TCustomComboBox::Dispatch(TMessage& Message) {
    if (isControlColourMessage(Message.Msg)) {
        cnCtlColor(Message);
        return;
    }
    switch (Message.Msg) {
    case CN_COMMAND:
        cnCommand(Message);
        break;
    case CN_DRAWITEM:
        cnDrawItem(Message);
        break;
    case CN_MEASUREITEM:
        cnMeasureItem(Message);
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

// ---- TScrollBar --------------------------------------------------------------------------------

namespace {

constexpr Integer ScrollBarLength = 121;
constexpr const char* SScrollBarRange = "Scrollbar property out of range";

} // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(Left(), Top(), ScrollBarLength, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
    SetControlStyle(TControlStyle{csFramed, csDoubleClicks, csOpaque});
}

void TScrollBar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    RegisterStandardControlClasses();
    CreateSubClass(Params, "SCROLLBAR");
    Params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT | SBS_RIGHTALIGN;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    SetScrollRange(Handle(), SB_CTL, min_, max_, FALSE);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE;
    info.nPage = static_cast<UINT>(pageSize_);
    SetScrollInfo(Handle(), SB_CTL, &info, FALSE);
    SetScrollPos(Handle(), SB_CTL, position_, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
    if (kind_ == Value) return;
    kind_ = Value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
    if (AMax < AMin || AMax < pageSize_) throw EInvalidOperation(SScrollBarRange);
    APosition = std::clamp(APosition, AMin, AMax);
    if (min_ != AMin || max_ != AMax) {
        min_ = AMin;
        max_ = AMax;
        if (HandleAllocated()) SetScrollRange(Handle(), SB_CTL, AMin, AMax, position_ == APosition);
    }
    if (position_ == APosition) return;
    position_ = APosition;
    if (HandleAllocated()) SetScrollPos(Handle(), SB_CTL, position_, TRUE);
    Change();
}

// A page larger than Max is refused, as the bar could not show it.
void TScrollBar::SetPageSize(Integer Value) {
    if (pageSize_ == Value || Value > max_) return;
    pageSize_ = Value;
    if (!HandleAllocated()) return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE;
    info.nPage = static_cast<UINT>(Value);
    SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::Change() {
    Changed();
    if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, Integer& ScrollPos) {
    if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::doScroll(TMessage& Message) {
    const auto code = static_cast<TScrollCode>(LOWORD(Message.WParam));
    Integer scrollPos = position_;
    switch (code) {
    case scLineUp:
        scrollPos -= smallChange_;
        break;
    case scLineDown:
        scrollPos += smallChange_;
        break;
    case scPageUp:
        scrollPos -= largeChange_;
        break;
    case scPageDown:
        scrollPos += largeChange_;
        break;
    case scPosition:
    case scTrack: {
        // The 32-bit track position: the message carries only 16 bits.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(Handle(), SB_CTL, &info);
        scrollPos = info.nTrackPos;
        break;
    }
    case scTop:
        scrollPos = min_;
        break;
    case scBottom:
        scrollPos = max_;
        break;
    default:
        break;
    }
    scrollPos = std::clamp(scrollPos, min_, max_);
    Scroll(code, scrollPos);
    SetPosition(scrollPos);
}

void TScrollBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        doScroll(Message);
        break;
    case WM_ERASEBKGND:
        DefaultHandler(Message);
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

// ---- Published properties ----------------------------------------------------------------------

namespace {

const TTypeInfo* const textLayoutType =
    DefineEnum<TTextLayout>("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
const TTypeInfo* const checkBoxStateType =
    DefineEnum<TCheckBoxState>("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
const TTypeInfo* const staticBorderType =
    DefineEnum<TStaticBorderStyle>("TStaticBorderStyle", {"sbsNone", "sbsSingle", "sbsSunken"});
const TTypeInfo* const listBoxStyleType =
    DefineEnum<TListBoxStyle>("TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable",
                                                "lbVirtual", "lbVirtualOwnerDraw"});
const TTypeInfo* const comboBoxStyleType =
    DefineEnum<TComboBoxStyle>("TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList",
                                                  "csOwnerDrawFixed", "csOwnerDrawVariable"});
const TTypeInfo* const ownerDrawStateType = DefineEnum<TOwnerDrawStateItem>(
    "TOwnerDrawStateItem",
    {"odSelected", "odGrayed", "odDisabled", "odChecked", "odFocused", "odDefault", "odHotLight",
     "odInactive", "odNoAccel", "odNoFocusRect", "odReserved1", "odReserved2", "odComboBoxEdit"});

template <typename T> void captionProperty(TClassBuilder<T>& c) {
    c.Property("Caption", &T::Caption, &T::SetCaption);
}

const TClass customLabelClass =
    DescribeClass<TCustomLabel, TGraphicControl>([](TClassBuilder<TCustomLabel>& c) {
        c.Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
        c.Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
        captionProperty(c);
        c.Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
        c.Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop);
        c.Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
            .Default(true);
        c.Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false);
        c.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
    });
const TClass labelClass = DescribeClass<TLabel, TCustomLabel>();

const TClass buttonControlClass = DescribeClass<TButtonControl, TWinControl>();

const TClass buttonClass = DescribeClass<TButton, TButtonControl>([](TClassBuilder<TButton>& c) {
    c.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
    captionProperty(c);
    c.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
    c.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
    c.Property("TabStop", &TButton::TabStop, &TButton::SetTabStop).Default(true);
});

const TClass customCheckBoxClass =
    DescribeClass<TCustomCheckBox, TButtonControl>([](TClassBuilder<TCustomCheckBox>& c) {
        c.Property("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment)
            .Default(taRightJustify);
        c.Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed)
            .Default(false);
        captionProperty(c);
        c.Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked).Stored(false);
        c.Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState).Default(cbUnchecked);
        c.Property("TabStop", &TCustomCheckBox::TabStop, &TCustomCheckBox::SetTabStop).Default(true);
    });
const TClass checkBoxClass = DescribeClass<TCheckBox, TCustomCheckBox>();

const TClass radioButtonClass =
    DescribeClass<TRadioButton, TButtonControl>([](TClassBuilder<TRadioButton>& c) {
        c.Property("Alignment", &TRadioButton::Alignment, &TRadioButton::SetAlignment)
            .Default(taRightJustify);
        captionProperty(c);
        c.Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    });

const TClass customGroupBoxClass = DescribeClass<TCustomGroupBox, TCustomControl>(
    [](TClassBuilder<TCustomGroupBox>& c) { captionProperty(c); });
const TClass groupBoxClass = DescribeClass<TGroupBox, TCustomGroupBox>();

const TClass customStaticTextClass =
    DescribeClass<TCustomStaticText, TWinControl>([](TClassBuilder<TCustomStaticText>& c) {
        c.Property("Alignment", &TCustomStaticText::Alignment, &TCustomStaticText::SetAlignment)
            .Default(taLeftJustify);
        c.Property("AutoSize", &TCustomStaticText::AutoSize, &TCustomStaticText::SetAutoSize).Default(true);
        c.Property("BorderStyle", &TCustomStaticText::BorderStyle, &TCustomStaticText::SetBorderStyle)
            .Default(sbsNone);
        captionProperty(c);
        c.Property("FocusControl", &TCustomStaticText::FocusControl, &TCustomStaticText::SetFocusControl);
        c.Property("ShowAccelChar", &TCustomStaticText::ShowAccelChar, &TCustomStaticText::SetShowAccelChar)
            .Default(true);
    });
const TClass staticTextClass = DescribeClass<TStaticText, TCustomStaticText>();

const TClass customListControlClass = DescribeClass<TCustomListControl, TWinControl>();

const TClass customListBoxClass = DescribeClass<TCustomListBox,
                                                TCustomListControl>([](TClassBuilder<TCustomListBox>& c) {
    c.Property("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle)
        .Default(bsSingle);
    c.Property("Color", &TCustomListBox::Color, &TCustomListBox::SetColor)
        .Type(TypeInfoColor())
        .Default(clWindow)
        .Stored(&TCustomListBox::IsColorStored);
    c.Property("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect)
        .Default(true);
    c.Property("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight)
        .Default(false);
    c.Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).Default(16);
    c.Property("Items", &TCustomListBox::Items);
    c.Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
    c.Property("ParentColor", &TCustomListBox::ParentColor, &TCustomListBox::SetParentColor).Default(false);
    c.Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
    c.Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard);
    c.Property("TabStop", &TCustomListBox::TabStop, &TCustomListBox::SetTabStop).Default(true);
    c.Property("OnDrawItem", &TCustomListBox::OnDrawItem, &TCustomListBox::OnDrawItem);
    c.Property("OnData", &TCustomListBox::OnData, &TCustomListBox::OnData);
    c.Property("OnMeasureItem", &TCustomListBox::OnMeasureItem, &TCustomListBox::OnMeasureItem);
});
const TClass listBoxClass = DescribeClass<TListBox, TCustomListBox>();

const TClass customComboBoxClass =
    DescribeClass<TCustomComboBox, TCustomListControl>([](TClassBuilder<TCustomComboBox>& c) {
        c.Property("AutoComplete", &TCustomComboBox::AutoComplete, &TCustomComboBox::SetAutoComplete)
            .Default(true);
        c.Property("AutoDropDown", &TCustomComboBox::AutoDropDown, &TCustomComboBox::SetAutoDropDown)
            .Default(false);
        c.Property("Color", &TCustomComboBox::Color, &TCustomComboBox::SetColor)
            .Type(TypeInfoColor())
            .Default(clWindow)
            .Stored(&TCustomComboBox::IsColorStored);
        c.Property("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount)
            .Default(8);
        c.Property("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight).Default(16);
        c.Property("Items", &TCustomComboBox::Items);
        c.Property("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength).Default(0);
        c.Property("ParentColor", &TCustomComboBox::ParentColor, &TCustomComboBox::SetParentColor)
            .Default(false);
        c.Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false);
        c.Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle).Default(csDropDown);
        c.Property("TabStop", &TCustomComboBox::TabStop, &TCustomComboBox::SetTabStop).Default(true);
        c.Property("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText);
        c.Property("OnChange", &TCustomComboBox::OnChange, &TCustomComboBox::OnChange);
        c.Property("OnCloseUp", &TCustomComboBox::OnCloseUp, &TCustomComboBox::OnCloseUp);
        c.Property("OnDrawItem", &TCustomComboBox::OnDrawItem, &TCustomComboBox::OnDrawItem);
        c.Property("OnDropDown", &TCustomComboBox::OnDropDown, &TCustomComboBox::OnDropDown);
        c.Property("OnMeasureItem", &TCustomComboBox::OnMeasureItem, &TCustomComboBox::OnMeasureItem);
        c.Property("OnSelect", &TCustomComboBox::OnSelect, &TCustomComboBox::OnSelect);
    });
const TClass comboBoxClass = DescribeClass<TComboBox, TCustomComboBox>();
const TClass comboBoxExClass = DescribeClass<TComboBoxEx, TCustomComboBox>();

const TTypeInfo* const scrollBarKindType = DefineEnum<TScrollBarKind>("TScrollBarKind", {"sbHorizontal", "sbVertical"});

const TClass scrollBarClass = DescribeClass<TScrollBar, TWinControl>([](TClassBuilder<TScrollBar>& c) {
    c.Property("Kind", &TScrollBar::Kind, &TScrollBar::SetKind).Default(sbHorizontal);
    c.Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1);
    c.Property("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100);
    c.Property("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0);
    c.Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize).Default(0);
    c.Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0);
    c.Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1);
    c.Property("OnChange", &TScrollBar::OnChange, &TScrollBar::OnChange);
    c.Property("OnScroll", &TScrollBar::OnScroll, &TScrollBar::OnScroll);
});

struct RegisterStandardControls {
    RegisterStandardControls() {
        RegisterClasses({ClassOf<TLabel>(), ClassOf<TButton>(), ClassOf<TCheckBox>(), ClassOf<TRadioButton>(),
                         ClassOf<TGroupBox>(), ClassOf<TStaticText>(), ClassOf<TListBox>(),
                         ClassOf<TComboBox>(), ClassOf<TScrollBar>()});
    }
} registerStandardControls;

} // namespace
