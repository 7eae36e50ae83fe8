// The edit controls: the window's styles from the properties, the properties
// that live in the window, OnChange from EN_CHANGE, and the memo's lines as
// EM_ messages on its window.
#include "platform/vcl/EditCtrls.h"

#include "platform/vcl/TypInfo.h"
#include "platform/win/EditControl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

constexpr Integer DefaultEditWidth = 121;
constexpr Integer DefaultEditHeight = 25;
constexpr Integer DefaultMemoWidth = 185;
constexpr Integer DefaultMemoHeight = 89;
// The borders an edit's height adds to its font's, in SM_CYBORDER units.
constexpr int BordersOf3DEdit = 8;
constexpr int BordersOfFlatEdit = 6;
constexpr WORD LongestLine = 0xFFFF;
constexpr const char* SInvalidMemoSize = "Text exceeds memo capacity";
constexpr const char* LineBreak = "\r\n";

DWORD charCaseStyle(TEditCharCase CharCase) {
    switch (CharCase) {
    case ecUpperCase:
        return ES_UPPERCASE;
    case ecLowerCase:
        return ES_LOWERCASE;
    default:
        return 0;
    }
}

DWORD alignmentStyle(TAlignment Alignment) {
    switch (Alignment) {
    case taRightJustify:
        return ES_RIGHT;
    case taCenter:
        return ES_CENTER;
    default:
        return ES_LEFT;
    }
}

DWORD scrollBarStyle(TScrollStyle ScrollBars) {
    switch (ScrollBars) {
    case ssHorizontal:
        return WS_HSCROLL;
    case ssVertical:
        return WS_VSCROLL;
    case ssBoth:
        return WS_HSCROLL | WS_VSCROLL;
    default:
        return 0;
    }
}

// Every line break (CR, LF or CR LF) becomes CR LF.
AnsiString adjustLineBreaks(const AnsiString& Text) {
    AnsiString result;
    result.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        if (Text[i] != '\r' && Text[i] != '\n') {
            result += Text[i];
            continue;
        }
        result += LineBreak;
        if (Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n') ++i;
    }
    return result;
}

// The memo's Lines: each operation asks the memo's window.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* Memo) : memo_(Memo) {}

    AnsiString Get(Integer Index) const override;
    Integer GetCount() const override;
    void Put(Integer Index, const AnsiString& S) override;
    void Insert(Integer Index, const AnsiString& S) override;
    void Delete(Integer Index) override;
    void Clear() override { memo_->Clear(); }
    AnsiString GetTextStr() const override { return memo_->Text(); }
    void SetTextStr(const AnsiString& Value) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    LRESULT send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
        return SendMessageA(memo_->Handle(), Msg, WParam, LParam);
    }
    Integer lineStart(Integer Index) const { return static_cast<Integer>(send(EM_LINEINDEX, Index, 0)); }
    Integer lineLength(Integer Start) const { return static_cast<Integer>(send(EM_LINELENGTH, Start, 0)); }
    void replace(Integer Start, Integer End, const AnsiString& Text) const {
        send(EM_SETSEL, Start, End);
        send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Text.c_str()));
    }

    TCustomMemo* memo_;
};

// EM_GETLINE's buffer starts with its size in 16 bits; lines longer than that size are cut.
AnsiString TMemoStrings::Get(Integer Index) const {
    Integer start = lineStart(Index);
    if (start < 0) return {};
    Integer length = std::min<Integer>(lineLength(start), LongestLine);
    if (length == 0) return {};
    AnsiString line(std::max<std::size_t>(static_cast<std::size_t>(length), sizeof(WORD)), '\0');
    WORD size = static_cast<WORD>(length);
    std::copy_n(reinterpret_cast<const char*>(&size), sizeof size, line.data());
    LRESULT copied = send(EM_GETLINE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return line;
}

Integer TMemoStrings::GetCount() const {
    if (!memo_->HandleAllocated() && memo_->GetTextLen() == 0) return 0;
    Integer count = static_cast<Integer>(send(EM_GETLINECOUNT, 0, 0));
    if (count > 0 && lineLength(lineStart(count - 1)) == 0) --count;
    return count;
}

void TMemoStrings::Put(Integer Index, const AnsiString& S) {
    Integer start = lineStart(Index);
    if (start >= 0) replace(start, start + lineLength(start), S);
}

// A line inserted where no line starts goes after the last line, unless that line is empty.
void TMemoStrings::Insert(Integer Index, const AnsiString& S) {
    if (Index < 0) return;
    Integer start = lineStart(Index);
    AnsiString text = S + LineBreak;
    if (start < 0) {
        start = lineStart(Index - 1);
        if (start < 0) return;
        Integer length = lineLength(start);
        if (length == 0) return;
        start += length;
        text = LineBreak + S;
    }
    replace(start, start, text);
}

void TMemoStrings::Delete(Integer Index) {
    Integer start = lineStart(Index);
    if (start < 0) return;
    Integer end = lineStart(Index + 1);
    if (end < 0) end = start + lineLength(start);
    replace(start, end, {});
}

void TMemoStrings::SetTextStr(const AnsiString& Value) {
    AnsiString text = adjustLineBreaks(Value);
    if (text == memo_->Text()) return;
    if (!send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
        throw EInvalidOperation(SInvalidMemoSize);
    memo_->Perform(CM_TEXTCHANGED, 0, 0);
}

// Updates are drawn once, at the end, and tell of the change then.
void TMemoStrings::SetUpdateState(bool Updating) {
    if (!memo_->HandleAllocated()) return;
    send(WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
    if (Updating) return;
    memo_->Refresh();
    memo_->Perform(CM_TEXTCHANGED, 0, 0);
}

} // namespace

// ---- TCustomEdit ----------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(TControlStyle{csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(Left(), Top(), DefaultEditWidth, DefaultEditHeight);
    SetTabStop(true);
    SetParentColor(false);
    SetAutoSize(true);
}

void TCustomEdit::SetAutoSize(bool Value) {
    if (AutoSize() == Value) return;
    TWinControl::SetAutoSize(Value);
    updateHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    updateHeight();
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
    if (charCase_ == Value) return;
    charCase_ = Value;
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (hideSelection_ == Value) return;
    hideSelection_ = Value;
    RecreateWnd();
}

void TCustomEdit::SetOEMConvert(bool Value) {
    if (oemConvert_ == Value) return;
    oemConvert_ = Value;
    RecreateWnd();
}

void TCustomEdit::SetMaxLength(Integer Value) {
    maxLength_ = Value;
    if (HandleAllocated()) SendMessageA(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomEdit::SetPasswordChar(char Value) {
    if (passwordChar_ == Value) return;
    passwordChar_ = Value;
    if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETPASSWORDCHAR, static_cast<Byte>(Value), 0);
}

void TCustomEdit::SetReadOnly(bool Value) {
    if (readOnly_ == Value) return;
    readOnly_ = Value;
    if (HandleAllocated()) SendMessageA(WindowHandle(), EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

bool TCustomEdit::Modified() {
    return HandleAllocated() ? SendMessageA(WindowHandle(), EM_GETMODIFY, 0, 0) != 0 : modified_;
}

void TCustomEdit::SetModified(bool Value) {
    if (HandleAllocated())
        SendMessageA(WindowHandle(), EM_SETMODIFY, Value ? TRUE : FALSE, 0);
    else
        modified_ = Value;
}

bool TCustomEdit::CanUndo() {
    return HandleAllocated() && SendMessageA(WindowHandle(), EM_CANUNDO, 0, 0) != 0;
}

Integer TCustomEdit::GetSelStart() {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<Integer>(start);
}

void TCustomEdit::SetSelStart(Integer Value) {
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(Value), Value);
}

Integer TCustomEdit::GetSelLength() {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<Integer>(end - start);
}

void TCustomEdit::SetSelLength(Integer Value) {
    Integer start = GetSelStart();
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + Value);
    SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

AnsiString TCustomEdit::GetSelText() {
    AnsiString text = Text();
    auto start =
        static_cast<std::size_t>(std::clamp<Integer>(GetSelStart(), 0, static_cast<Integer>(text.size())));
    return text.substr(start, static_cast<std::size_t>(std::max<Integer>(GetSelLength(), 0)));
}

void TCustomEdit::SetSelText(const AnsiString& Value) {
    SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

Integer TCustomEdit::GetSelTextBuf(char* Buffer, Integer BufSize) {
    if (!Buffer || BufSize <= 0) return 0;
    AnsiString selected = GetSelText();
    std::size_t copied = std::min(selected.size(), static_cast<std::size_t>(BufSize - 1));
    std::copy_n(selected.data(), copied, Buffer);
    Buffer[copied] = 0;
    return static_cast<Integer>(copied);
}

void TCustomEdit::SetSelTextBuf(const char* Buffer) {
    SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Buffer));
}

// Through the text property, so that a memo tells of the change too.
void TCustomEdit::Clear() {
    SetText({});
}

void TCustomEdit::ClearSelection() {
    SendMessageA(Handle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard() {
    SendMessageA(Handle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() {
    SendMessageA(Handle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard() {
    SendMessageA(Handle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Undo() {
    SendMessageA(Handle(), EM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
    SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::SelectAll() {
    SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    RegisterEditControlClass();
    CreateSubClass(Params, "EDIT");
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | charCaseStyle(charCase_);
    if (borderStyle_ == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    if (readOnly_) Params.Style |= ES_READONLY;
    if (!hideSelection_) Params.Style |= ES_NOHIDESEL;
    if (oemConvert_) Params.Style |= ES_OEMCONVERT;
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// The limit, the modified flag and the password character live in the
// window; a new window takes them from the control.
void TCustomEdit::CreateWnd() {
    creating_ = true;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
    HWND window = WindowHandle();
    SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageA(window, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    if (passwordChar_) SendMessageA(window, EM_SETPASSWORDCHAR, static_cast<Byte>(passwordChar_), 0);
    updateHeight();
}

void TCustomEdit::DestroyWnd() {
    modified_ = Modified();
    creating_ = true;
    try {
        TWinControl::DestroyWnd();
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
}

void TCustomEdit::AdjustSize() {
    if (AutoSize() && borderStyle_ == bsSingle && !ComponentState().Contains(csLoading))
        adjustHeight();
    else
        TWinControl::AdjustSize();
}

void TCustomEdit::updateHeight() {
    if (AutoSize() && borderStyle_ == bsSingle) {
        SetControlStyle(ControlStyle() + TControlStyle{csFixedHeight});
        adjustHeight();
    } else {
        SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
    }
}

// The font's height and the borders: a three-dimensional edge takes more room.
void TCustomEdit::adjustHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, Font()->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    int borders = GetSystemMetrics(SM_CYBORDER) * (Ctl3D() ? BordersOf3DEdit : BordersOfFlatEdit);
    SetHeight(metrics.tmHeight + borders);
}

void TCustomEdit::Change() {
    Changed();
    if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_COMMAND:
        CNCommand(Message);
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
        CNCtlColor(Message);
        break;
    case CM_ENTER:
        CMEnter(Message);
        break;
    case CM_TEXTCHANGED:
        CMTextChanged(Message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        break;
    case WM_SETFONT:
        WMSetFont(Message);
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

void TCustomEdit::CNCommand(TMessage& Message) {
    if (HIWORD(Message.WParam) == EN_CHANGE && !creating_) Change();
}

// The edit's colours are its font's and its own.
void TCustomEdit::CNCtlColor(TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Brush()->Color())));
    Message.Result = reinterpret_cast<LRESULT>(Brush()->Handle());
}

// Entering a single line by the keyboard selects its text.
void TCustomEdit::CMEnter(TMessage& Message) {
    if (autoSelect_ && !ControlState().Contains(csLButtonDown) &&
        !(GetWindowLongA(Handle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    TWinControl::CMEnter(Message);
}

// A multi-line window does not report text set from outside, so the control does.
void TCustomEdit::CMTextChanged(TMessage& Message) {
    TWinControl::Dispatch(Message);
    if (!HandleAllocated() || (GetWindowLongA(WindowHandle(), GWL_STYLE) & ES_MULTILINE)) Change();
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
    TWinControl::CMFontChanged(Message);
    if (ControlStyle().Contains(csFixedHeight)) adjustHeight();
}

// A single line's text starts at the window's edges.
void TCustomEdit::WMSetFont(TMessage& Message) {
    DefaultHandler(Message);
    if (HandleAllocated() && !(GetWindowLongA(WindowHandle(), GWL_STYLE) & ES_MULTILINE))
        SendMessageA(WindowHandle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
}

// ---- TCustomMemo ----------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(this)) {
    SetAutoSize(false);
    SetBounds(Left(), Top(), DefaultMemoWidth, DefaultMemoHeight);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    if (scrollBars_ == Value) return;
    scrollBars_ = Value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
    if (wordWrap_ == Value) return;
    wordWrap_ = Value;
    RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    if (wordWrap_) Params.Style &= ~ES_AUTOHSCROLL;
    Params.Style |= ES_MULTILINE | alignmentStyle(alignment_) | scrollBarStyle(scrollBars_);
}

void TCustomMemo::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETDLGCODE)
        WMGetDlgCode(Message);
    else
        TCustomEdit::Dispatch(Message);
}

void TCustomMemo::WMGetDlgCode(TMessage& Message) {
    TCustomEdit::Dispatch(Message);
    if (wantTabs_)
        Message.Result |= DLGC_WANTTAB;
    else
        Message.Result &= ~DLGC_WANTTAB;
    if (!wantReturns_) Message.Result &= ~DLGC_WANTALLKEYS;
}

void TCustomMemo::KeyPress(char& Key) {
    TCustomEdit::KeyPress(Key);
    if (Key == '\r' && !wantReturns_) Key = 0;
}

// ---- Streaming ------------------------------------------------------------------------------

namespace {

const TTypeInfo* const charCaseType =
    DefineEnum<TEditCharCase>("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
const TTypeInfo* const scrollStyleType =
    DefineEnum<TScrollStyle>("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
const TTypeInfo* const alignmentType =
    DefineEnum<TAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});

const TClass customEditClass = DescribeClass<TCustomEdit, TWinControl>([](TClassBuilder<TCustomEdit>& c) {
    c.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true);
    c.Property("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize).Default(true);
    c.Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle);
    c.Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal);
    c.Property("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection).Default(true);
    c.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0);
    c.Property("OEMConvert", &TCustomEdit::OEMConvert, &TCustomEdit::SetOEMConvert).Default(false);
    c.Property("ParentColor", &TCustomEdit::ParentColor, &TCustomEdit::SetParentColor).Default(false);
    c.Property("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar).Default(char(0));
    c.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false);
    c.Property("TabStop", &TCustomEdit::TabStop, &TCustomEdit::SetTabStop).Default(true);
    c.Property("Text", &TCustomEdit::Text, &TCustomEdit::SetText);
    c.Property("OnChange", &TCustomEdit::OnChange, &TCustomEdit::OnChange);
});

const TClass editClass = DescribeClass<TEdit, TCustomEdit>();

const TClass customMaskEditClass =
    DescribeClass<TCustomMaskEdit, TCustomEdit>([](TClassBuilder<TCustomMaskEdit>& c) {
        c.Property("EditMask", &TCustomMaskEdit::EditMask, &TCustomMaskEdit::SetEditMask);
    });

const TClass maskEditClass = DescribeClass<TMaskEdit, TCustomMaskEdit>();

// A memo streams its Lines rather than its Text.
const TClass customMemoClass = DescribeClass<TCustomMemo, TCustomEdit>([](TClassBuilder<TCustomMemo>& c) {
    c.Property("Alignment", &TCustomMemo::Alignment, &TCustomMemo::SetAlignment).Default(taLeftJustify);
    c.Property("AutoSize", &TCustomMemo::AutoSize, &TCustomMemo::SetAutoSize).Default(false);
    c.Property("Lines", &TCustomMemo::Lines);
    c.Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone);
    c.Property("Text", &TCustomMemo::Text, &TCustomMemo::SetText).Stored(false);
    c.Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).Default(true);
    c.Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false);
    c.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true);
});

const TClass memoClass = DescribeClass<TMemo, TCustomMemo>();

struct RegisterEditClasses {
    RegisterEditClasses() { RegisterClasses({ClassOf<TEdit>(), ClassOf<TMaskEdit>(), ClassOf<TMemo>()}); }
} registerEditClasses;

} // namespace
