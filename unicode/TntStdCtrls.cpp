#include "unicode/TntStdCtrls.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/EditControl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Windows.h"
#include "unicode/TntSysUtils.h"

#include "unicode/TntForms.h"
#include "unicode/TntGraphics.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"
#include <algorithm>

namespace {

// The distance of a group box's caption from the frame's end.
constexpr Integer GroupCaptionIndent = 8;

bool matchesHotkey(const TMessage& Message, TControl* Control) {
    return IsWideCharAccel(LOWORD(Message.WParam), TntControl_GetText(Control));
}

void drawWideText(TCanvas* Canvas, const WideString& Text, TRect& Rect, UINT Flags) {
    Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    Tnt_DrawTextW(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &Rect, Flags);
}

TRect offset(const TRect& Rect, Integer Dx, Integer Dy) {
    return {Rect.Left + Dx, Rect.Top + Dy, Rect.Right + Dx, Rect.Bottom + Dy};
}

} // namespace

// ---- What the edit-like controls share --------------------------------------------------------

namespace {

constexpr char SubstitutePasswordChar = '*';

bool unicodeRoad() {
    return Win32PlatformIsUnicode;
}

Integer byteLength(const WideString& Text, Integer From, Integer Count) {
    const auto size = static_cast<Integer>(Text.size());
    From = std::clamp(From, 0, size);
    Count = std::clamp(Count, 0, size - From);
    return static_cast<Integer>(
        WideToAnsi(Text.substr(static_cast<std::size_t>(From), static_cast<std::size_t>(Count))).size());
}

// The framework's selected text asks the (overridden) selection length, so
// the ANSI road reads the window's byte selection itself.
AnsiString ansiSelectedText(TCustomEdit* Edit) {
    DWORD start = 0, end = 0;
    SendMessageA(Edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const AnsiString text = Edit->Text();
    start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
    end = std::clamp<DWORD>(end, start, static_cast<DWORD>(text.size()));
    return text.substr(start, end - start);
}

} // namespace

// A read-only ANSI edit of a Far-East system is created writable and made
// read-only once its window exists, as the system's edit there expects.
void TntCustomEdit_CreateWindowHandle(TCustomEdit* Edit, const TCreateParams& Params) {
    if (!SysLocaleFarEast || unicodeRoad() || (Params.Style & ES_READONLY) == 0) {
        CreateUnicodeHandle(Edit, Params, u"EDIT");
        return;
    }
    TCreateParams writable = Params;
    writable.Style &= ~ES_READONLY;
    CreateUnicodeHandle(Edit, writable, u"EDIT");
    if (Edit->HandleAllocated()) SendMessageA(Edit->Handle(), EM_SETREADONLY, 1, 0);
}

void TntCustomEdit_AfterInherited_CreateWnd(TCustomEdit* Edit, WideChar PasswordChar) {
    if (unicodeRoad()) SendMessageW(Edit->Handle(), EM_SETPASSWORDCHAR, PasswordChar, 0);
}

// On the ANSI road the window counts bytes of the ANSI text; the wide
// positions are those of the same text in UTF-16.
Integer TntCustomEdit_GetSelStart(TCustomEdit* Edit) {
    const Integer bytes = Edit->TCustomEdit::GetSelStart();
    if (unicodeRoad()) return bytes;
    const AnsiString text = Edit->Text();
    return static_cast<Integer>(
        AnsiToWide(text.substr(0, static_cast<std::size_t>(std::clamp<Integer>(bytes, 0, text.size())))).size());
}

void TntCustomEdit_SetSelStart(TCustomEdit* Edit, Integer Value) {
    if (unicodeRoad())
        Edit->TCustomEdit::SetSelStart(Value);
    else
        Edit->TCustomEdit::SetSelStart(byteLength(TntControl_GetText(Edit), 0, Value));
}

Integer TntCustomEdit_GetSelLength(TCustomEdit* Edit) {
    if (unicodeRoad()) return Edit->TCustomEdit::GetSelLength();
    return static_cast<Integer>(TntCustomEdit_GetSelText(Edit).size());
}

void TntCustomEdit_SetSelLength(TCustomEdit* Edit, Integer Value) {
    if (unicodeRoad())
        Edit->TCustomEdit::SetSelLength(Value);
    else
        Edit->TCustomEdit::SetSelLength(
            byteLength(TntControl_GetText(Edit), TntCustomEdit_GetSelStart(Edit), Value));
}

WideString TntCustomEdit_GetSelText(TCustomEdit* Edit) {
    if (!unicodeRoad()) return AnsiToWide(ansiSelectedText(Edit));
    const WideString text = TntControl_GetText(Edit);
    const auto start = static_cast<std::size_t>(
        std::clamp<Integer>(Edit->TCustomEdit::GetSelStart(), 0, static_cast<Integer>(text.size())));
    return text.substr(start, static_cast<std::size_t>(std::max<Integer>(Edit->TCustomEdit::GetSelLength(), 0)));
}

void TntCustomEdit_SetSelText(TCustomEdit* Edit, const WideString& Value) {
    if (unicodeRoad())
        SendMessageW(Edit->Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
    else
        Edit->TCustomEdit::SetSelText(WideToAnsi(Value));
}

char TntPasswordCharSubstitute(WideChar Value) {
    return Value < 256 ? static_cast<char>(Value) : SubstitutePasswordChar;
}

void WithWindowHandleHidden(TWinControl* Control, const std::function<void()>& Setter) {
    const HWND window = Control->WindowHandle();
    Control->SetWindowHandle(nullptr);
    try {
        Setter();
    } catch (...) {
        Control->SetWindowHandle(window);
        throw;
    }
    Control->SetWindowHandle(window);
}

// ---- Edit ---------------------------------------------------------------------------------------

void TTntCustomEdit::CreateWindowHandle(const TCreateParams& Params) {
    TntCustomEdit_CreateWindowHandle(this, Params);
}

void TTntCustomEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    TntCustomEdit_AfterInherited_CreateWnd(this, PasswordChar());
}

WideChar TTntCustomEdit::PasswordChar() {
    const char ansi = TCustomEdit::PasswordChar();
    if (TntPasswordCharSubstitute(passwordChar_) != ansi)
        passwordChar_ = ansi ? AnsiCharToWide(ansi) : WideChar(0);
    return passwordChar_;
}

// With a Unicode window the framework's setter only records the ANSI form;
// the window gets the wide character.
void TTntCustomEdit::SetPasswordChar(WideChar Value) {
    if (Value == PasswordChar()) return;
    passwordChar_ = Value;
    const char ansi = TntPasswordCharSubstitute(Value);
    if (!unicodeRoad() || !HandleAllocated()) {
        TCustomEdit::SetPasswordChar(ansi);
        return;
    }
    WithWindowHandleHidden(this, [&] { TCustomEdit::SetPasswordChar(ansi); });
    SendMessageW(WindowHandle(), EM_SETPASSWORDCHAR, Value, 0);
    Invalidate();
}

// ---- Memo ---------------------------------------------------------------------------------------

namespace {

constexpr const char* SLineTooLong = "Line too long";
constexpr Integer LongestLine = 65535;
const WideString LineBreak = u"\r\n";

LRESULT sendWide(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return SendMessageW(Window, Msg, WParam, LParam);
}

void replaceRange(HWND Window, Integer Start, Integer End, const WideString& Text) {
    sendWide(Window, EM_SETSEL, static_cast<WPARAM>(Start), End);
    sendWide(Window, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Text.c_str()));
}

} // namespace

bool TTntMemoStrings::unicodeWindow() const {
    return Win32PlatformIsUnicode && IsWindowUnicode(window());
}

Integer TntMemo_LineStart(HWND Handle, Integer Index) {
    Assert(Win32PlatformIsUnicode);
    return static_cast<Integer>(SendMessageW(Handle, EM_LINEINDEX, static_cast<WPARAM>(Index), 0));
}

Integer TntMemo_LineLength(HWND Handle, Integer Index, Integer StartPos) {
    Assert(Win32PlatformIsUnicode);
    const Integer start = StartPos == -1 ? TntMemo_LineStart(Handle, Index) : StartPos;
    return start < 0
               ? 0
               : static_cast<Integer>(SendMessageW(Handle, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
}

Integer TTntMemoStrings::GetCount() const {
    return memo_->Lines()->Count();
}

WideString TTntMemoStrings::Get(Integer Index) const {
    if (!unicodeWindow()) return AnsiToWide(memo_->Lines()->Strings(Index));
    const Integer length = TntMemo_LineLength(window(), Index);
    if (length > LongestLine) throw EOutOfResources(SLineTooLong);
    if (length <= 0) return {};
    // EM_GETLINE finds the buffer's size in its first character.
    WideString line(static_cast<std::size_t>(length) + 1, u'\0');
    line[0] = static_cast<WideChar>(length);
    const auto copied =
        sendWide(window(), EM_GETLINE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return line;
}

void TTntMemoStrings::Put(Integer Index, const WideString& S) {
    if (!unicodeWindow()) {
        memo_->Lines()->Put(Index, WideToAnsi(S));
        return;
    }
    const Integer start = TntMemo_LineStart(window(), Index);
    if (start >= 0) replaceRange(window(), start, start + TntMemo_LineLength(window(), Index, start), S);
}

void TTntMemoStrings::Insert(Integer Index, const WideString& S) {
    if (!unicodeWindow()) {
        memo_->Lines()->Insert(Index, WideToAnsi(S));
        return;
    }
    if (Index < 0) return;
    Integer position = TntMemo_LineStart(window(), Index);
    WideString text = S + LineBreak;
    if (position < 0) {
        // After the last line: a break goes first, and only a line with text gets one.
        const Integer previous = TntMemo_LineStart(window(), Index - 1);
        const Integer previousLength = TntMemo_LineLength(window(), Index - 1, previous);
        if (previous < 0 || previousLength == 0) return;
        position = previous + previousLength;
        text = LineBreak + S;
    }
    if (richEditMode_ && lineBreakStyle_ != tlbsCRLF)
        insertRichText(position, text);
    else
        replaceRange(window(), position, position, text);
}

// A lone CR goes in as CR LF, which the rich edit takes as one break.
void TTntMemoStrings::insertRichText(Integer Position, const WideString& Text) {
    WideString adjusted = TntAdjustLineBreaks(Text, lineBreakStyle_);
    if (lineBreakStyle_ == tlbsCR) adjusted = TntAdjustLineBreaks(adjusted, tlbsCRLF);
    replaceRange(window(), Position, Position, adjusted);
    CHARRANGE range;
    sendWide(window(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (range.cpMax != Position + TntAdjustLineBreaksLength(Text, lineBreakStyle_))
        throw EOutOfResources("RichEdit line insertion error");
}

void TTntMemoStrings::Delete(Integer Index) {
    memo_->Lines()->Delete(Index);
}

void TTntMemoStrings::Clear() {
    memo_->Lines()->Clear();
}

void TTntMemoStrings::SetUpdateState(bool Updating) {
    if (Updating)
        memo_->Lines()->BeginUpdate();
    else
        memo_->Lines()->EndUpdate();
}

WideString TTntMemoStrings::GetTextStr() const {
    return richEditMode_ ? TTntStrings::GetTextStr() : TntControl_GetText(memo_);
}

void TTntMemoStrings::SetTextStr(const WideString& Value) {
    const WideString text = TntAdjustLineBreaks(Value, lineBreakStyle_);
    if (text == GetTextStr()) return;
    memo_->HandleNeeded();
    TntControl_SetText(memo_, text);
}

TTntCustomMemo::TTntCustomMemo(TComponent* AOwner)
    : TTntHinted(AOwner), lines_(std::make_unique<TTntMemoStrings>(this)) {}

TTntCustomMemo::~TTntCustomMemo() {
    lines_.reset();
}

void TTntCustomMemo::CreateWindowHandle(const TCreateParams& Params) {
    TntCustomEdit_CreateWindowHandle(this, Params);
}

// ---- Label ---------------------------------------------------------------------------------------

void TTntCustomLabel::DoDrawText(TRect& Rect, Integer Flags) {
    if (!Win32PlatformIsUnicode) {
        TCustomLabel::DoDrawText(Rect, Flags);
        return;
    }
    WideString text = GetWideLabelText();
    // A measured empty text (or a lone hot-key mark) is one line high.
    if ((Flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == u"&"))) text += u' ';
    if (!ShowAccelChar()) Flags |= DT_NOPREFIX;
    const auto flags = static_cast<UINT>(DrawTextBiDiModeFlags(Flags));
    Canvas()->SetFont(Font());
    if (Enabled()) {
        drawWideText(Canvas(), text, Rect, flags);
        return;
    }
    TRect shadow = offset(Rect, 1, 1);
    Canvas()->Font()->SetColor(clBtnHighlight);
    drawWideText(Canvas(), text, shadow, flags);
    Canvas()->Font()->SetColor(clBtnShadow);
    drawWideText(Canvas(), text, Rect, flags);
}

void TTntCustomLabel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_HINTSHOW:
        ProcessCMHintShowMsg(Message);
        TCustomLabel::Dispatch(Message);
        return;
    case CM_DIALOGCHAR:
        if (FocusControl() && Enabled() && ShowAccelChar() && matchesHotkey(Message, this) &&
            FocusControl()->CanFocus()) {
            FocusControl()->SetFocus();
            Message.Result = 1;
        }
        return;
    default:
        TCustomLabel::Dispatch(Message);
    }
}

// ---- Button and check box ---------------------------------------------------------------------------

void TTntButton::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"BUTTON");
}

// The framework's ANSI hot-key test is left out: the wide caption decides.
void TTntButton::Dispatch(TMessage& Message) {
    if (Message.Msg != CM_DIALOGCHAR) {
        TButton::Dispatch(Message);
        return;
    }
    if (matchesHotkey(Message, this) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TWinControl::Dispatch(Message);
}

void TTntCustomCheckBox::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"BUTTON");
}

void TTntCustomCheckBox::Dispatch(TMessage& Message) {
    if (Message.Msg != CM_DIALOGCHAR) {
        TCustomCheckBox::Dispatch(Message);
        return;
    }
    if (matchesHotkey(Message, this) && CanFocus()) {
        SetFocus();
        if (Focused()) Toggle();
        Message.Result = 1;
        return;
    }
    TWinControl::Dispatch(Message);
}

// ---- Radio button and scroll bar ---------------------------------------------------------------------

void TTntRadioButton::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"BUTTON");
}

void TTntRadioButton::Dispatch(TMessage& Message) {
    if (Message.Msg != CM_DIALOGCHAR) {
        TRadioButton::Dispatch(Message);
        return;
    }
    if (matchesHotkey(Message, this) && CanFocus()) {
        SetFocus();
        Message.Result = 1;
        return;
    }
    TWinControl::Dispatch(Message);
}

void TTntScrollBar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"SCROLLBAR");
}

// ---- Group box -------------------------------------------------------------------------------------

void TTntCustomGroupBox::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

void TTntCustomGroupBox::Dispatch(TMessage& Message) {
    if (Message.Msg != CM_DIALOGCHAR) {
        TCustomGroupBox::Dispatch(Message);
        return;
    }
    if (matchesHotkey(Message, this) && CanFocus()) {
        SelectFirst();
        Message.Result = 1;
        return;
    }
    TWinControl::Dispatch(Message);
}

void TTntCustomGroupBox::Paint() {
    if (!Win32PlatformIsUnicode) {
        TCustomGroupBox::Paint();
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    const Integer height = WideCanvasTextHeight(canvas, u"0");
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
    const WideString caption = Caption();
    if (caption.empty()) return;
    TRect place{GroupCaptionIndent, 0, 0, height};
    if (UseRightToLeftAlignment())
        place = {frame.Right - WideCanvasTextWidth(canvas, caption) - GroupCaptionIndent, 0, 0, height};
    const auto flags = static_cast<UINT>(DrawTextBiDiModeFlags(DT_SINGLELINE));
    drawWideText(canvas, caption, place, flags | DT_CALCRECT);
    canvas->Brush()->SetColor(Color());
    drawWideText(canvas, caption, place, flags);
}

// ---- Static text -----------------------------------------------------------------------------------

namespace {
// The static text's frame: two borders' width on each side of the text.
constexpr Integer StaticTextBorders = 4;
} // namespace

// The framework's constructor sized the text before this class was there.
TTntCustomStaticText::TTntCustomStaticText(TComponent* AOwner) : TTntCaptioned(AOwner) {
    AdjustBounds();
}

void TTntCustomStaticText::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"STATIC");
}

void TTntCustomStaticText::AdjustBounds() {
    if (ComponentState().Contains(csReading) || ComponentState().Contains(csLoading) || !AutoSize()) return;
    const WideString caption = Caption();
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, Font()->Handle());
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    SetBounds(Left(), Top(), extent.cx + StaticTextBorders * GetSystemMetrics(SM_CXBORDER),
              extent.cy + StaticTextBorders * GetSystemMetrics(SM_CYBORDER));
}

void TTntCustomStaticText::Dispatch(TMessage& Message) {
    if (Message.Msg != CM_DIALOGCHAR) {
        TCustomStaticText::Dispatch(Message);
        return;
    }
    if (FocusControl() && Enabled() && ShowAccelChar() && matchesHotkey(Message, this) &&
        FocusControl()->CanFocus()) {
        FocusControl()->SetFocus();
        Message.Result = 1;
    }
}

namespace {
const TClass tntMemoClass = DescribeClass<TTntMemo, TCustomMemo>([](TClassBuilder<TTntMemo>& c) {
    c.Property("Lines", &TTntMemo::Lines, &TTntMemo::SetLines);
    c.Property("Hint", &TTntMemo::Hint, &TTntMemo::SetHint).Stored(&TTntMemo::IsHintStored);
});
const TClass tntEditClass = DescribeClass<TTntEdit, TCustomEdit>([](TClassBuilder<TTntEdit>& c) {
    c.Property("Text", &TTntEdit::Text, &TTntEdit::SetText);
    c.Property("Hint", &TTntEdit::Hint, &TTntEdit::SetHint).Stored(&TTntEdit::IsHintStored);
    c.Property("PasswordChar", &TTntEdit::PasswordChar, &TTntEdit::SetPasswordChar).Default(WideChar(0));
});
const TClass tntLabelClass = DescribeClass<TTntLabel, TCustomLabel>([](TClassBuilder<TTntLabel>& c) {
    c.Property("Caption", &TTntLabel::Caption, &TTntLabel::SetCaption).Stored(&TTntLabel::IsCaptionStored);
    c.Property("Hint", &TTntLabel::Hint, &TTntLabel::SetHint).Stored(&TTntLabel::IsHintStored);
});
const TClass tntButtonClass = DescribeClass<TTntButton, TButton>([](TClassBuilder<TTntButton>& c) {
    c.Property("Caption", &TTntButton::Caption, &TTntButton::SetCaption).Stored(&TTntButton::IsCaptionStored);
    c.Property("Hint", &TTntButton::Hint, &TTntButton::SetHint).Stored(&TTntButton::IsHintStored);
});
const TClass tntCheckBoxClass =
    DescribeClass<TTntCheckBox, TCustomCheckBox>([](TClassBuilder<TTntCheckBox>& c) {
        c.Property("Caption", &TTntCheckBox::Caption, &TTntCheckBox::SetCaption)
            .Stored(&TTntCheckBox::IsCaptionStored);
        c.Property("Hint", &TTntCheckBox::Hint, &TTntCheckBox::SetHint).Stored(&TTntCheckBox::IsHintStored);
    });
const TClass tntRadioButtonClass =
    DescribeClass<TTntRadioButton, TRadioButton>([](TClassBuilder<TTntRadioButton>& c) {
        c.Property("Caption", &TTntRadioButton::Caption, &TTntRadioButton::SetCaption)
            .Stored(&TTntRadioButton::IsCaptionStored);
        c.Property("Hint", &TTntRadioButton::Hint, &TTntRadioButton::SetHint)
            .Stored(&TTntRadioButton::IsHintStored);
    });
const TClass tntScrollBarClass =
    DescribeClass<TTntScrollBar, TScrollBar>([](TClassBuilder<TTntScrollBar>& c) {
        c.Property("Hint", &TTntScrollBar::Hint, &TTntScrollBar::SetHint)
            .Stored(&TTntScrollBar::IsHintStored);
    });
const TClass tntStaticTextClass =
    DescribeClass<TTntStaticText, TCustomStaticText>([](TClassBuilder<TTntStaticText>& c) {
        c.Property("Caption", &TTntStaticText::Caption, &TTntStaticText::SetCaption)
            .Stored(&TTntStaticText::IsCaptionStored);
        c.Property("Hint", &TTntStaticText::Hint, &TTntStaticText::SetHint)
            .Stored(&TTntStaticText::IsHintStored);
    });
const TClass tntGroupBoxClass =
    DescribeClass<TTntGroupBox, TCustomGroupBox>([](TClassBuilder<TTntGroupBox>& c) {
        c.Property("Caption", &TTntGroupBox::Caption, &TTntGroupBox::SetCaption)
            .Stored(&TTntGroupBox::IsCaptionStored);
        c.Property("Hint", &TTntGroupBox::Hint, &TTntGroupBox::SetHint).Stored(&TTntGroupBox::IsHintStored);
    });
} // namespace
