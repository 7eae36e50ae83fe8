#include "unicode/TntRichEdits.h"

#include "platform/core/CodePages.h"
#include "platform/win/CommonDialogs.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntClasses.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

#include <algorithm>

namespace {

// Loaded once, the first time the Unicode platform asks.
HMODULE richEditLibrary() {
    static const HMODULE library = Tnt_LoadLibraryW(u"RICHED20.DLL");
    return library;
}

bool wideRoad() {
    return Win32PlatformIsUnicode && richEditLibrary();
}

} // namespace

// ---- Lines ----

TTntRichEditStrings::TTntRichEditStrings(TTntCustomRichEdit* RichEdit)
    : TTntMemoStrings(RichEdit), richEdit_(RichEdit) {
    SetRichEditMode(true);
    SetLineBreakStyle(TTntCustomRichEdit::LineBreakStyle());
}

void TTntRichEditStrings::SetTextStr(const WideString& Value) {
    HWND window = richEdit_->Handle();
    const auto mask = static_cast<LPARAM>(SendMessageW(window, EM_GETEVENTMASK, 0, 0));
    SendMessageW(window, EM_SETEVENTMASK, 0, mask & ~static_cast<LPARAM>(ENM_CHANGE));
    try {
        TTntMemoStrings::SetTextStr(Value);
    } catch (...) {
        SendMessageW(window, EM_SETEVENTMASK, 0, mask);
        throw;
    }
    SendMessageW(window, EM_SETEVENTMASK, 0, mask);
}

void TTntRichEditStrings::AddStrings(TWideStrings* Strings) {
    const TNotifyEvent selectionChange = richEdit_->OnSelectionChange;
    richEdit_->OnSelectionChange = nullptr;
    try {
        TTntMemoStrings::AddStrings(Strings);
    } catch (...) {
        richEdit_->OnSelectionChange = selectionChange;
        throw;
    }
    richEdit_->OnSelectionChange = selectionChange;
}

void TTntRichEditStrings::LoadFromFile(const WideString& FileName) {
    if (richEdit_->PlainText())
        TTntMemoStrings::LoadFromFile(FileName);
    else
        richEdit_->richLines()->LoadFromFile(WideToAnsi(FileName));
}

void TTntRichEditStrings::SaveToFile(const WideString& FileName) {
    if (richEdit_->PlainText())
        TTntMemoStrings::SaveToFile(FileName);
    else
        richEdit_->richLines()->SaveToFile(WideToAnsi(FileName));
}

void TTntRichEditStrings::LoadFromStream_BOM(TStream* Stream, bool WithBOM) {
    if (richEdit_->PlainText())
        TTntMemoStrings::LoadFromStream_BOM(Stream, WithBOM);
    else
        richEdit_->richLines()->LoadFromStream(Stream);
}

void TTntRichEditStrings::SaveToStream_BOM(TStream* Stream, bool WithBOM) {
    if (richEdit_->PlainText())
        TTntMemoStrings::SaveToStream_BOM(Stream, WithBOM);
    else
        richEdit_->richLines()->SaveToStream(Stream);
}

// ---- Window ----

TTntCustomRichEdit::TTntCustomRichEdit(TComponent* AOwner)
    : TTntHinted(AOwner), lines_(std::make_unique<TTntRichEditStrings>(this)) {}

TTntCustomRichEdit::~TTntCustomRichEdit() {
    lines_.reset();
}

TTntTextLineBreakStyle TTntCustomRichEdit::LineBreakStyle() {
    return wideRoad() ? tlbsCR : tlbsCRLF;
}

void TTntCustomRichEdit::CreateParams(TCreateParams& Params) {
    TCustomRichEdit::CreateParams(Params);
    if (WordWrap()) Params.Style &= ~static_cast<DWORD>(WS_HSCROLL);
}

void TTntCustomRichEdit::CreateWindowHandle(const TCreateParams& Params) {
    if (wideRoad())
        CreateUnicodeHandle(this, Params, RICHEDIT_CLASSW);
    else
        TCustomRichEdit::CreateWindowHandle(Params);
}

void TTntCustomRichEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_GETTEXTLENGTH && printingTextLength_ != 0) {
        Message.Result = printingTextLength_;
        return;
    }
    if (Message.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(Message);
    TCustomRichEdit::Dispatch(Message);
}

// ---- Positions ----

CHARRANGE TTntCustomRichEdit::selection() {
    CHARRANGE range;
    SendMessageW(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

Integer TTntCustomRichEdit::lineStart(Integer Line) {
    return static_cast<Integer>(SendMessageW(Handle(), EM_LINEINDEX, static_cast<WPARAM>(Line), 0));
}

Integer TTntCustomRichEdit::lineLength(Integer Line) {
    return static_cast<Integer>(
        SendMessageW(Handle(), EM_LINELENGTH, static_cast<WPARAM>(lineStart(Line)), 0));
}

// Each hard break before Pos is one character more in CR LF counting; the
// breaks are the gaps between a line's end and the next line's start.
Integer TTntCustomRichEdit::EmulatedCharPos(Integer Pos) {
    if (LineBreakStyle() == tlbsCRLF || Pos <= 0) return Pos;
    const auto line = static_cast<Integer>(SendMessageW(Handle(), EM_EXLINEFROMCHAR, 0, Pos));
    if (!WordWrap()) return Pos + line;
    Integer summed = 0;
    for (Integer i = 0; i < line; ++i)
        summed += lineLength(i);
    return Pos + (lineStart(line) - summed);
}

Integer TTntCustomRichEdit::RawWin32CharPos(Integer Pos) {
    if (LineBreakStyle() == tlbsCRLF || Pos <= 0) return Pos;
    const auto lines = static_cast<Integer>(SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0));
    Integer scanned = 0;
    Integer breaks = 0;
    Integer result = Pos;
    for (Integer i = 0; i < lines; ++i) {
        const Integer start = lineStart(i);
        if (start > scanned) ++breaks;
        if (start + breaks > Pos) break;
        result = Pos - breaks;
        scanned = start + lineLength(i);
    }
    return result;
}

Integer TTntCustomRichEdit::GetSelStart() {
    if (LineBreakStyle() == tlbsCRLF) return TCustomRichEdit::GetSelStart();
    return EmulatedCharPos(selection().cpMin);
}

void TTntCustomRichEdit::SetSelStart(Integer Value) {
    TCustomRichEdit::SetSelStart(RawWin32CharPos(Value));
}

Integer TTntCustomRichEdit::GetSelLength() {
    if (LineBreakStyle() == tlbsCRLF) return TCustomRichEdit::GetSelLength();
    const CHARRANGE range = selection();
    return EmulatedCharPos(range.cpMax) - EmulatedCharPos(range.cpMin);
}

void TTntCustomRichEdit::SetSelLength(Integer Value) {
    if (LineBreakStyle() == tlbsCRLF) {
        TCustomRichEdit::SetSelLength(Value);
        return;
    }
    const Integer start = GetSelStart();
    TCustomRichEdit::SetSelLength(RawWin32CharPos(start + Value) - RawWin32CharPos(start));
}

// ---- Texts ----

WideString TTntCustomRichEdit::Text() {
    const WideString text = TntControl_GetText(this);
    return LineBreakStyle() == tlbsCRLF ? text : TntAdjustLineBreaks(text, tlbsCRLF);
}

void TTntCustomRichEdit::SetText(const WideString& Value) {
    if (wideRoad() && IsRTF(Value)) {
        SetRTFText(ST_DEFAULT, WideToAnsi(Value));
        return;
    }
    if (Value != Text()) TntControl_SetText(this, TntAdjustLineBreaks(Value, LineBreakStyle()));
}

WideString TTntCustomRichEdit::WideSelText() {
    WideString text;
    if (Win32PlatformIsUnicode && IsWindowUnicode(Handle())) {
        const CHARRANGE range = selection();
        text.assign(static_cast<std::size_t>(std::max<LONG>(range.cpMax - range.cpMin, 0)) + 1, u'\0');
        const auto copied = SendMessageW(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
        text.resize(
            static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(text.size()))));
    } else {
        text = AnsiToWide(TCustomRichEdit::GetSelText());
    }
    return LineBreakStyle() == tlbsCRLF ? text : TntAdjustLineBreaks(text, tlbsCRLF);
}

void TTntCustomRichEdit::SetWideSelText(const WideString& Value) {
    if (wideRoad() && IsRTF(Value)) {
        SetRTFText(ST_SELECTION, WideToAnsi(Value));
        return;
    }
    const WideString text = TntAdjustLineBreaks(Value, LineBreakStyle());
    if (Win32PlatformIsUnicode)
        SendMessageW(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
    else
        TCustomRichEdit::SetSelText(WideToAnsi(text));
}

AnsiString TTntCustomRichEdit::GetSelText() {
    return WideToAnsi(WideSelText());
}

void TTntCustomRichEdit::Print(const AnsiString& Caption) {
    if (LineBreakStyle() != tlbsCRLF) printingTextLength_ = TntAdjustLineBreaksLength(Text(), LineBreakStyle());
    try {
        TCustomRichEdit::Print(Caption);
    } catch (...) {
        printingTextLength_ = 0;
        throw;
    }
    printingTextLength_ = 0;
}

void TTntCustomRichEdit::SetRTFText(DWORD Flags, const AnsiString& RTF) {
    SETTEXTEX setText;
    setText.flags = Flags;
    setText.codepage = CP_ACP;
    SendMessageW(Handle(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&setText),
                 reinterpret_cast<LPARAM>(RTF.c_str()));
}

Integer TTntCustomRichEdit::FindText(const WideString& SearchStr, Integer StartPos, Integer Length,
                                     TSearchTypes Options) {
    if (!Win32PlatformIsUnicode)
        return TCustomRichEdit::FindText(WideToAnsi(SearchStr), StartPos, Length, Options);
    FINDTEXTW find;
    find.chrg = {RawWin32CharPos(StartPos), RawWin32CharPos(StartPos + Length)};
    find.lpstrText = SearchStr.c_str();
    UINT flags = FR_DOWN;
    if (Options.Contains(stWholeWord)) flags |= FR_WHOLEWORD;
    if (Options.Contains(stMatchCase)) flags |= FR_MATCHCASE;
    const auto found =
        static_cast<Integer>(SendMessageW(Handle(), EM_FINDTEXTW, flags, reinterpret_cast<LPARAM>(&find)));
    return found < 0 ? found : EmulatedCharPos(found);
}

namespace {
const TClass tntRichEditClass =
    DescribeClass<TTntRichEdit, TCustomRichEdit>([](TClassBuilder<TTntRichEdit>& c) {
        c.Property("Hint", &TTntRichEdit::Hint, &TTntRichEdit::SetHint).Stored(&TTntRichEdit::IsHintStored);
    });
} // namespace
