// The framework's rich edit: a memo over the system's rich edit class.
#include "platform/vcl/RichEdits.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Printers.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"

#include <algorithm>
#include <cstring>

namespace {

// The rich edit takes far more than an edit's default limit.
constexpr LPARAM richTextLimit = 0x7FFFFFF0;

struct StreamText {
    AnsiString bytes;
    std::size_t read = 0;
};

DWORD streamOut(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) {
    reinterpret_cast<StreamText*>(cookie)->bytes.append(reinterpret_cast<const char*>(buffer),
                                                        static_cast<std::size_t>(count));
    *done = count;
    return 0;
}

DWORD streamIn(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) {
    auto* text = reinterpret_cast<StreamText*>(cookie);
    const std::size_t left = text->bytes.size() - text->read;
    const std::size_t given = std::min(left, static_cast<std::size_t>(count));
    std::memcpy(buffer, text->bytes.data() + text->read, given);
    text->read += given;
    *done = static_cast<LONG>(given);
    return 0;
}

} // namespace

void TRichEditStrings::LoadFromStream(TStream* Stream) {
    const Int64 size = Stream->Size() - Stream->Position();
    AnsiString bytes(static_cast<std::size_t>(std::max<Int64>(size, 0)), '\0');
    if (!bytes.empty()) Stream->ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    richEdit_->SetRichText(bytes);
}

void TRichEditStrings::SaveToStream(TStream* Stream) {
    const AnsiString bytes = richEdit_->RichText();
    if (!bytes.empty()) Stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
}

void TRichEditStrings::SetUpdateState(bool Updating) {
    if (Updating)
        memoLines_->BeginUpdate();
    else
        memoLines_->EndUpdate();
}

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TCustomMemo(AOwner), richLines_(std::make_unique<TRichEditStrings>(this, TCustomMemo::Lines())) {
    RegisterCommonControlClasses();
}

TCustomRichEdit::~TCustomRichEdit() = default;

// Page after page until the window has laid out as much as WM_GETTEXTLENGTH
// says there is; a page that takes nothing more ends the document too.
void TCustomRichEdit::Print(const AnsiString& Caption) {
    TPrinter* printer = Printer();
    const Integer textLength = GetTextLen();
    HDC dc = printer->Canvas()->Handle();
    FORMATRANGE range;
    range.hdc = dc;
    range.hdcTarget = dc;
    const auto twips = [dc](Integer pixels, int index) {
        return static_cast<LONG>(static_cast<long long>(pixels) * 1440 / GetDeviceCaps(dc, index));
    };
    range.rc = Rect(0, 0, twips(printer->PageWidth(), LOGPIXELSX), twips(printer->PageHeight(), LOGPIXELSY));
    range.rcPage = range.rc;
    range.chrg = {0, -1};
    printer->SetTitle(Caption);
    printer->BeginDoc();
    LONG last = 0;
    while (true) {
        range.chrg.cpMin = last;
        last = static_cast<LONG>(SendMessageA(Handle(), EM_FORMATRANGE, 1, reinterpret_cast<LPARAM>(&range)));
        if (last > range.chrg.cpMin) printer->RecordPrinted(range.chrg.cpMin, last);
        if (last >= textLength || last <= range.chrg.cpMin) break;
        printer->NewPage();
    }
    SendMessageA(Handle(), EM_FORMATRANGE, 0, 0);
    printer->EndDoc();
}

void TCustomRichEdit::SetHideScrollBars(bool Value) {
    if (hideScrollBars_ == Value) return;
    hideScrollBars_ = Value;
    RecreateWnd();
}

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
    TCustomMemo::CreateParams(Params);
    CreateSubClass(Params, RICHEDIT_CLASSA);
}

// The framework hears of changes and selection changes; the rest of the mask is the program's to add.
void TCustomRichEdit::CreateWnd() {
    TCustomMemo::CreateWnd();
    SendMessageA(Handle(), EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED);
    if (MaxLength() == 0) SendMessageA(Handle(), EM_EXLIMITTEXT, 0, richTextLimit);
    applyColor();
}

AnsiString TCustomRichEdit::GetSelText() {
    CHARRANGE range{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    AnsiString selected(static_cast<std::size_t>(std::max(range.cpMax - range.cpMin, 0)) + 1, '\0');
    const auto length = SendMessageA(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
    return selected;
}

// The rich edit paints its own background rather than asking its parent.
void TCustomRichEdit::applyColor() {
    SendMessageA(Handle(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

Integer TCustomRichEdit::FindText(const AnsiString& SearchStr, Integer StartPos, Integer Length,
                                  TSearchTypes Options) {
    FINDTEXTA find;
    find.chrg = {StartPos, StartPos + Length};
    find.lpstrText = SearchStr.c_str();
    UINT flags = FR_DOWN;
    if (Options.Contains(stWholeWord)) flags |= FR_WHOLEWORD;
    if (Options.Contains(stMatchCase)) flags |= FR_MATCHCASE;
    return static_cast<Integer>(SendMessageA(Handle(), EM_FINDTEXT, flags, reinterpret_cast<LPARAM>(&find)));
}

AnsiString TCustomRichEdit::RichText() {
    StreamText text;
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
    stream.pfnCallback = &streamOut;
    SendMessageA(Handle(), EM_STREAMOUT, plainText_ ? SF_TEXT : SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return text.bytes;
}

void TCustomRichEdit::SetRichText(const AnsiString& Value) {
    StreamText text;
    text.bytes = Value;
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
    stream.pfnCallback = &streamIn;
    SendMessageA(Handle(), EM_STREAMIN, plainText_ ? SF_TEXT : SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void TCustomRichEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        cnNotify(Message);
        return;
    }
    TCustomMemo::Dispatch(Message);
    if (Message.Msg == CM_COLORCHANGED && HandleAllocated()) applyColor();
}

void TCustomRichEdit::cnNotify(TMessage& Message) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (header->code == EN_SELCHANGE) SelectionChange();
}

void TCustomRichEdit::SelectionChange() {
    if (OnSelectionChange) OnSelectionChange(this);
}

// ---- Published properties -----------------------------------------------------------------

namespace {

const TClass customRichEditClass = DescribeClass<TCustomRichEdit, TCustomMemo>();

const TClass richEditClass = DescribeClass<TRichEdit, TCustomRichEdit>([](TClassBuilder<TRichEdit>& c) {
    c.Property("HideScrollBars", &TRichEdit::HideScrollBars, &TRichEdit::SetHideScrollBars).Default(true);
    c.Property("PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText).Default(false);
    c.Property("OnSelectionChange", &TRichEdit::OnSelectionChange, &TRichEdit::OnSelectionChange);
});

struct RegisterRichEditClasses {
    RegisterRichEditClasses() { RegisterClass(richEditClass); }
} registerRichEditClasses;

} // namespace
