// The wide string list's behaviour that does not depend on its storage.
#include "unicode/TntWideStrings.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/TypInfo.h"
#include "unicode/TntClasses.h"
#include "unicode/TntSysUtils.h"
#include "unicode/TntWideStrUtils.h"
#include "unicode/TntWindows.h"

#include <algorithm>

namespace {

const TClass describedWideStrings = DescribeClass<TWideStrings, TPersistent>();

constexpr WideChar LineSeparator = 0x2028;
constexpr WideChar DefaultDelimiter = u',';
constexpr WideChar DefaultQuoteChar = u'"';

// Brackets a block of changes with BeginUpdate/EndUpdate, also when it throws.
class Update {
public:
    explicit Update(TWideStrings& strings) : strings_(strings) { strings_.BeginUpdate(); }
    ~Update() { strings_.EndUpdate(); }
    Update(const Update&) = delete;
    Update& operator=(const Update&) = delete;

private:
    TWideStrings& strings_;
};

// The text before the first U+0000: nothing after one is read.
std::size_t textEnd(const WideString& text) {
    const std::size_t nul = text.find(u'\0');
    return nul == WideString::npos ? text.size() : nul;
}

bool isBlank(WideChar c) {
    return c >= 0x01 && c <= 0x20;
}

bool needsQuotes(const WideString& s, WideChar quote, WideChar delimiter) {
    return std::any_of(s.begin(), s.end(),
                       [&](WideChar c) { return c <= u' ' || c == quote || c == delimiter; });
}

// The quoted value starting at text[position]; position moves past it.
WideString quotedValueAt(const WideString& text, std::size_t& position, std::size_t end, WideChar quote) {
    WideString value;
    for (++position; position < end; ++position) {
        if (text[position] == quote) {
            if (position + 1 >= end || text[position + 1] != quote) {
                ++position;
                break;
            }
            ++position;
        }
        value += text[position];
    }
    return value;
}

} // namespace

// ---- Enumerator ----------------------------------------------------------------------

bool TWideStringsEnumerator::MoveNext() {
    if (index_ >= strings_->Count() - 1) return false;
    ++index_;
    return true;
}

WideString TWideStringsEnumerator::GetCurrent() const {
    return strings_->Get(index_);
}

// ---- Storage protocol ------------------------------------------------------------------

TWideStrings::~TWideStrings() {
    SetStringsAdapter(nullptr);
}

Integer TWideStrings::GetCapacity() const {
    return GetCount();
}

TObject* TWideStrings::GetObject(Integer) const {
    return nullptr;
}

WideString TWideStrings::GetTextStr() const {
    const Integer count = GetCount();
    std::size_t length = 0;
    for (Integer i = 0; i < count; ++i)
        length += Get(i).size() + 2;
    WideString text;
    text.reserve(length);
    for (Integer i = 0; i < count; ++i)
        text.append(Get(i)).append(u"\r\n");
    return text;
}

void TWideStrings::Put(Integer Index, const WideString& S) {
    TObject* object = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, object);
}

void TWideStrings::PutObject(Integer, TObject*) {}

void TWideStrings::SetCapacity(Integer) {}

void TWideStrings::SetTextStr(const WideString& Value) {
    Update update(*this);
    Clear();
    const std::size_t end = textEnd(Value);
    std::size_t position = 0;
    while (position < end) {
        const std::size_t start = position;
        while (position < end && Value[position] != u'\n' && Value[position] != u'\r' &&
               Value[position] != LineSeparator)
            ++position;
        Add(Value.substr(start, position - start));
        if (position < end && Value[position] == u'\r') ++position;
        if (position < end && Value[position] == u'\n') ++position;
        if (position < end && Value[position] == LineSeparator) ++position;
    }
}

Integer TWideStrings::CompareStrings(const WideString& S1, const WideString& S2) const {
    return Tnt_CompareStringW(LOCALE_USER_DEFAULT, kernel32::NORM_IGNORECASE, S1.data(),
                              static_cast<int>(S1.size()), S2.data(), static_cast<int>(S2.size())) -
           kernel32::CSTR_EQUAL;
}

// ---- Operations ---------------------------------------------------------------------------

Integer TWideStrings::Add(const WideString& S) {
    const Integer index = GetCount();
    Insert(index, S);
    return index;
}

Integer TWideStrings::AddObject(const WideString& S, TObject* AObject) {
    const Integer index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TWideStrings::Append(const WideString& S) {
    Add(S);
}

void TWideStrings::AddStrings(TStrings* Strings) {
    Update update(*this);
    for (Integer i = 0; i < Strings->Count(); ++i)
        AddObject(AnsiToWide(Strings->Get(i)), Strings->GetObject(i));
}

void TWideStrings::AddStrings(TWideStrings* Strings) {
    Update update(*this);
    for (Integer i = 0; i < Strings->Count(); ++i)
        AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TWideStrings::Assign(TPersistent* Source) {
    if (auto* wide = dynamic_cast<TWideStrings*>(Source)) {
        Update update(*this);
        Clear();
        defined_ = wide->defined_;
        delimiter_ = wide->delimiter_;
        quoteChar_ = wide->quoteChar_;
        AddStrings(wide);
        return;
    }
    if (auto* ansi = dynamic_cast<TStrings*>(Source)) {
        Update update(*this);
        Clear();
        SetDelimiter(AnsiToWide(AnsiString(1, ansi->Delimiter()))[0]);
        SetQuoteChar(AnsiToWide(AnsiString(1, ansi->QuoteChar()))[0]);
        AddStrings(ansi);
        return;
    }
    TPersistent::Assign(Source);
}

void TWideStrings::AssignTo(TPersistent* Dest) {
    if (auto* wide = dynamic_cast<TWideStrings*>(Dest)) {
        wide->Assign(this);
        return;
    }
    if (auto* ansi = dynamic_cast<TStrings*>(Dest)) {
        ansi->BeginUpdate();
        try {
            ansi->Clear();
            ansi->SetQuoteChar(static_cast<char>(QuoteChar() & 0xFF));
            ansi->SetDelimiter(static_cast<char>(Delimiter() & 0xFF));
            for (Integer i = 0; i < Count(); ++i)
                ansi->AddObject(WideToAnsi(Get(i)), GetObject(i));
        } catch (...) {
            ansi->EndUpdate();
            throw;
        }
        ansi->EndUpdate();
        return;
    }
    TPersistent::AssignTo(Dest);
}

void TWideStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TWideStrings::EndUpdate() {
    --updateCount_;
    if (updateCount_ == 0) SetUpdateState(false);
}

void TWideStrings::SetUpdateState(bool) {}

void TWideStrings::Exchange(Integer Index1, Integer Index2) {
    Update update(*this);
    const WideString first = Get(Index1);
    TObject* firstObject = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, first);
    PutObject(Index2, firstObject);
}

WideChar* TWideStrings::GetTextW() const {
    return WStrNew(GetTextStr().c_str());
}

Integer TWideStrings::IndexOf(const WideString& S) const {
    for (Integer i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

Integer TWideStrings::IndexOfName(const WideString& Name) const {
    for (Integer i = 0; i < GetCount(); ++i) {
        const WideString s = Get(i);
        const std::size_t separator = s.find(NameValueSeparator());
        if (separator != WideString::npos && CompareStrings(s.substr(0, separator), Name) == 0) return i;
    }
    return -1;
}

Integer TWideStrings::IndexOfObject(TObject* AObject) const {
    for (Integer i = 0; i < GetCount(); ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

void TWideStrings::InsertObject(Integer Index, const WideString& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TWideStrings::LoadFromFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TWideStrings::LoadFromStream(TStream* Stream) {
    LoadUtf16FromStream(Stream, false);
}

void TWideStrings::LoadUtf16FromStream(TStream* Stream, bool SwapBytes) {
    Update update(*this);
    const Int64 remaining = std::max<Int64>(Stream->Size() - Stream->Position(), 0);
    // The bytes are read whole and an odd last one dropped afterwards, so
    // the buffer is never overrun.
    AnsiString bytes(static_cast<std::size_t>(remaining), '\0');
    bytes.resize(
        static_cast<std::size_t>(std::max(Stream->Read(bytes.data(), static_cast<Integer>(remaining)), 0)));
    WideString text = UCS2ToWideString(bytes);
    if (SwapBytes)
        for (WideChar& c : text)
            c = static_cast<WideChar>((c >> 8) | (c << 8));
    SetTextStr(text);
}

void TWideStrings::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex) return;
    Update update(*this);
    const WideString s = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, s, object);
}

void TWideStrings::SaveToFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TWideStrings::SaveToStream(TStream* Stream) {
    const AnsiString bytes = WideStringToUCS2(GetTextStr());
    Stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
}

void TWideStrings::SetTextW(const WideChar* Text) {
    SetTextStr(WStrPas(Text));
}

bool TWideStrings::Equals(const TWideStrings* Strings) const {
    if (GetCount() != Strings->GetCount()) return false;
    for (Integer i = 0; i < GetCount(); ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

std::unique_ptr<TWideStringsEnumerator> TWideStrings::GetEnumerator() const {
    return std::make_unique<TWideStringsEnumerator>(this);
}

// ---- Form resources -------------------------------------------------------------------------

bool TWideStrings::StringsToBeWritten(TFiler* Filer) const {
    if (TObject* ancestor = Filer->Ancestor()) {
        const auto* strings = dynamic_cast<const TWideStrings*>(ancestor);
        return !strings || !strings->Equals(this);
    }
    return GetCount() > 0;
}

void TWideStrings::DefineProperties(TFiler* Filer) {
    Filer->DefineProperty("Strings", TReaderProc(this, &TWideStrings::ReadData),
                          TWriterProc(this, &TWideStrings::WriteData), StringsToBeWritten(Filer));
}

void TWideStrings::ReadData(TReader* Reader) {
    switch (Reader->NextValue()) {
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
        SetTextStr(Reader->ReadWideString());
        return;
    default:
        break;
    }
    Reader->ReadListBegin();
    {
        Update update(*this);
        Clear();
        while (!Reader->EndOfList())
            Add(Reader->ReadWideString());
    }
    Reader->ReadListEnd();
}

void TWideStrings::WriteData(TWriter* Writer) {
    Writer->WriteListBegin();
    for (Integer i = 0; i < GetCount(); ++i)
        Writer->WriteWideString(Get(i));
    Writer->WriteListEnd();
}

// ---- Properties -------------------------------------------------------------------------------

WideString TWideStrings::DelimitedText() const {
    const WideChar quote = QuoteChar(), delimiter = Delimiter();
    if (GetCount() == 1 && Get(0).empty()) return WideString(2, quote);
    WideString result;
    for (Integer i = 0; i < GetCount(); ++i) {
        const WideString s = Get(i);
        result += needsQuotes(s, quote, delimiter) ? WideQuotedStr(s, quote) : s;
        result += delimiter;
    }
    if (!result.empty()) result.pop_back();
    return result;
}

void TWideStrings::SetDelimitedText(const WideString& Value) {
    const WideChar quote = QuoteChar(), delimiter = Delimiter();
    Update update(*this);
    Clear();
    // Reading stops at the first U+0000, as it does for Text: one inside the
    // text would otherwise never be stepped over.
    const std::size_t end = textEnd(Value);
    std::size_t position = 0;
    auto skipBlanks = [&] {
        while (position < end && isBlank(Value[position]))
            ++position;
    };
    skipBlanks();
    while (position < end) {
        if (Value[position] == quote) {
            Add(quotedValueAt(Value, position, end, quote));
        } else {
            const std::size_t start = position;
            while (position < end && Value[position] > u' ' && Value[position] != delimiter)
                ++position;
            Add(Value.substr(start, position - start));
        }
        skipBlanks();
        if (position < end && Value[position] == delimiter) {
            if (position + 1 == end) Add(WideString());
            ++position;
            skipBlanks();
        }
    }
}

WideString TWideStrings::CommaText() const {
    const Byte savedDefined = defined_;
    const WideChar savedDelimiter = delimiter_, savedQuote = quoteChar_;
    defined_ |= DelimiterDefined | QuoteCharDefined;
    delimiter_ = DefaultDelimiter;
    quoteChar_ = DefaultQuoteChar;
    const WideString text = DelimitedText();
    defined_ = savedDefined;
    delimiter_ = savedDelimiter;
    quoteChar_ = savedQuote;
    return text;
}

void TWideStrings::SetCommaText(const WideString& Value) {
    SetDelimiter(DefaultDelimiter);
    SetQuoteChar(DefaultQuoteChar);
    SetDelimitedText(Value);
}

WideChar TWideStrings::Delimiter() const {
    if (!(defined_ & DelimiterDefined)) {
        delimiter_ = DefaultDelimiter;
        defined_ |= DelimiterDefined;
    }
    return delimiter_;
}

void TWideStrings::SetDelimiter(WideChar Value) {
    delimiter_ = Value;
    defined_ |= DelimiterDefined;
}

WideChar TWideStrings::QuoteChar() const {
    if (!(defined_ & QuoteCharDefined)) {
        quoteChar_ = DefaultQuoteChar;
        defined_ |= QuoteCharDefined;
    }
    return quoteChar_;
}

void TWideStrings::SetQuoteChar(WideChar Value) {
    quoteChar_ = Value;
    defined_ |= QuoteCharDefined;
}

WideString TWideStrings::Names(Integer Index) const {
    const WideString s = Get(Index);
    const std::size_t separator = s.find(NameValueSeparator());
    return separator == WideString::npos ? WideString() : s.substr(0, separator);
}

WideString TWideStrings::Values(const WideString& Name) const {
    const Integer index = IndexOfName(Name);
    if (index < 0) return {};
    const WideString s = Get(index);
    return s.substr(s.find(NameValueSeparator()) + 1);
}

void TWideStrings::SetValues(const WideString& Name, const WideString& Value) {
    const Integer index = IndexOfName(Name);
    if (Value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    const WideString line = Name + NameValueSeparator() + Value;
    // A new line is added whole, so that a sorted list files it in its place
    // (adding an empty line first and then changing it would not work there).
    if (index < 0)
        Add(line);
    else
        Put(index, line);
}

WideString TWideStrings::ValueFromIndex(Integer Index) const {
    if (Index < 0) return {};
    return Get(Index).substr(std::min(Names(Index).size() + 1, Get(Index).size()));
}

void TWideStrings::SetValueFromIndex(Integer Index, const WideString& Value) {
    if (Value.empty()) {
        if (Index >= 0) Delete(Index);
        return;
    }
    if (Index < 0)
        Add(NameValueSeparator() + Value);
    else
        Put(Index, Names(Index) + NameValueSeparator() + Value);
}

void TWideStrings::SetStringsAdapter(std::shared_ptr<IWideStringsAdapter> Value) {
    if (adapter_) adapter_->ReleaseStrings();
    adapter_ = std::move(Value);
    if (adapter_) adapter_->ReferenceStrings(this);
}

void TWideStrings::Error(const char* Message, Integer Data) const {
    throw EStringListError(Format(Message, {Data}));
}

void TWideStrings::Error(PResStringRec Message, Integer Data) const {
    throw EStringListError(Format(WideToAnsi(WideLoadResString(Message)), {Data}));
}
