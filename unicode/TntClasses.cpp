// Synchronised wide strings, the wide form-resource properties, component side
// objects, wide-named streams, character buffers and the wide string lists.
#include "unicode/TntClasses.h"

#include "platform/core/QuickSort.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Resources.h"
#include "platform/win/SystemInfo.h"
#include "unicode/TntSysUtils.h"
#include "unicode/TntWindows.h"

#include <algorithm>
#include <cstring>

bool RuntimeUTFStreaming = false;

namespace {

// The ANSI view is published for the class library's editors, never stored:
// the wide strings themselves are.
const TClass describedTntStrings =
    DescribeClass<TTntStrings, TWideStrings>([](TClassBuilder<TTntStrings>& c) {
        c.Property("AnsiStrings", &TTntStrings::AnsiStrings, &TTntStrings::SetAnsiStrings).Stored(false);
    });
const TClass describedTntStringList = DescribeClass<TTntStringList, TTntStrings>();

constexpr const char* SHelperCreateError =
    "TNT Internal Error: TWideComponentHelper.Create should never be encountered.";
constexpr const char* SHelperIndexError = "TNT Internal Error: FindWideComponentHelperIndex failed.";
constexpr const char* SCannotCreateFile = "Cannot create file %s";
constexpr const char* SCannotOpenFile = "Cannot open file %s";
constexpr const char* SResourceNotFound = "Resource %s not found";
constexpr const char* SCantWriteResourceStream = "Can't write to a read-only resource stream";
constexpr const char* SCannotWrite = "Internal Error: class can not write.";
constexpr const char* SInvalidPropertyValue = "Invalid property value";

constexpr const char* Utf8Mark = "\xEF\xBB\xBF";
constexpr Byte Utf16LittleEndianMark[] = {0xFF, 0xFE};
constexpr Word Utf16Mark = 0xFEFF;
constexpr Word Utf16SwappedMark = 0xFFFE;
constexpr Cardinal Utf8CodePage = 65001;
constexpr Integer WideBufferGrowthMinimum = 32;
constexpr Integer WideBufferGrowthMaximum = 256;
constexpr Integer AnsiBufferGrowthMinimum = 8;

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

// Whether text is read back as it was when written as UTF-8 and read as
// ANSI: true exactly for text of ASCII characters, which needs no UTF-7 copy.
bool survivesUtf8AsAnsi(const WideString& text) {
    return AnsiToWide(WideStringToUTF8(text)) == text;
}

bool survivesAnsi(const WideString& text) {
    const WideString back = AnsiToWide(WideToAnsi(text));
    return Tnt_CompareStringW(LOCALE_USER_DEFAULT, 0, text.data(), static_cast<int>(text.size()), back.data(),
                              static_cast<int>(back.size())) == kernel32::CSTR_EQUAL;
}

// Wide values read from the extra properties count only while the owner is
// designed or when run-time streaming is on.
bool appliesWideValues(TReader* reader) {
    TComponent* owner = reader->Owner();
    return owner && (owner->ComponentState().Contains(csDesigning) || RuntimeUTFStreaming);
}

AnsiString remainingBytesOf(TStream* stream) {
    const Int64 remaining = std::max<Int64>(stream->Size() - stream->Position(), 0);
    AnsiString bytes(static_cast<std::size_t>(remaining), '\0');
    bytes.resize(
        static_cast<std::size_t>(std::max(stream->Read(bytes.data(), static_cast<Integer>(remaining)), 0)));
    return bytes;
}

// ---- Property filers ------------------------------------------------------------------

// The property of the same name in the filer's ancestor, when it has one.
const TPropInfo* ancestorProperty(TFiler* filer, const TPropInfo* property) {
    TObject* ancestor = filer->Ancestor();
    if (!ancestor || !FindClassOfType(typeid(*ancestor))) return nullptr;
    return GetPropInfo(ancestor, property->Name);
}

class TTntWideStringPropertyFiler : public TObject {
public:
    void DefineProperties(TFiler* Filer, TPersistent* Instance, const TPropInfo* PropInfo) {
        instance_ = Instance;
        propInfo_ = PropInfo;
        Filer->DefineProperty(PropInfo->Name + "W",
                              TReaderProc(this, &TTntWideStringPropertyFiler::ReadDataUTF8), nullptr, false);
        Filer->DefineProperty(PropInfo->Name + "_UTF7",
                              TReaderProc(this, &TTntWideStringPropertyFiler::ReadDataUTF7),
                              TWriterProc(this, &TTntWideStringPropertyFiler::WriteDataUTF7), hasData(Filer));
    }

private:
    bool hasData(TFiler* filer) const {
        if (!IsStoredProp(instance_, propInfo_)) return false;
        const WideString value = GetWideStrProp(instance_, propInfo_);
        if (const TPropInfo* inAncestor = ancestorProperty(filer, propInfo_))
            if (GetWideStrProp(filer->Ancestor(), inAncestor) == value) return false;
        return !value.empty() && !survivesUtf8AsAnsi(value);
    }

    void ReadDataUTF8(TReader* Reader) {
        const AnsiString bytes = Reader->ReadString();
        if (appliesWideValues(Reader)) SetWideStrProp(instance_, propInfo_, UTF8ToWideString(bytes));
    }

    void ReadDataUTF7(TReader* Reader) {
        const AnsiString bytes = Reader->ReadString();
        if (appliesWideValues(Reader)) SetWideStrProp(instance_, propInfo_, UTF7ToWideString(bytes));
    }

    void WriteDataUTF7(TWriter* Writer) {
        Writer->WriteString(WideStringToUTF7(GetWideStrProp(instance_, propInfo_)));
    }

    TPersistent* instance_ = nullptr;
    const TPropInfo* propInfo_ = nullptr;
};

class TTntWideCharPropertyFiler : public TObject {
public:
    void DefineProperties(TFiler* Filer, TPersistent* Instance, const TPropInfo* PropInfo) {
        instance_ = Instance;
        propInfo_ = PropInfo;
        writer_ = dynamic_cast<TWriter*>(Filer);
        Filer->DefineProperty(PropInfo->Name + "W", TReaderProc(this, &TTntWideCharPropertyFiler::ReadData_W),
                              TWriterProc(this, &TTntWideCharPropertyFiler::WriteData_W), hasData(Filer));
        Filer->DefineProperty(PropInfo->Name + "_UTF7",
                              TReaderProc(this, &TTntWideCharPropertyFiler::ReadDataUTF7), nullptr, false);
    }

private:
    WideChar value() const { return static_cast<WideChar>(GetOrdProp(instance_, propInfo_)); }

    bool isDefault(TFiler* filer) const {
        if (!propInfo_->Getter || !propInfo_->Setter) return true;
        if (const TPropInfo* inAncestor = ancestorProperty(filer, propInfo_))
            return GetOrdProp(filer->Ancestor(), inAncestor) == value();
        return propInfo_->Default && *propInfo_->Default == value();
    }

    bool hasData(TFiler* filer) const {
        if (!IsStoredProp(instance_, propInfo_)) return false;
        if (const TPropInfo* inAncestor = ancestorProperty(filer, propInfo_))
            if (GetOrdProp(filer->Ancestor(), inAncestor) == value()) return false;
        return !writer_ || !isDefault(filer);
    }

    void setValue(const WideString& text) { SetOrdProp(instance_, propInfo_, text.empty() ? 0 : text[0]); }

    void ReadData_W(TReader* Reader) {
        WideString text;
        switch (Reader->NextValue()) {
        case vaString:
            text = AnsiToWide(Reader->ReadString());
            break;
        case vaWString:
            text = Reader->ReadWideString();
            break;
        default:
            throw EReadError(SInvalidPropertyValue);
        }
        if (text.size() > 1) throw EReadError(SInvalidPropertyValue);
        setValue(text);
    }

    void WriteData_W(TWriter* Writer) { Writer->WriteWideString(WideString(1, value())); }

    void ReadDataUTF7(TReader* Reader) { setValue(UTF7ToWideString(Reader->ReadString())); }

    TPersistent* instance_ = nullptr;
    const TPropInfo* propInfo_ = nullptr;
    TWriter* writer_ = nullptr;
};

// ---- Component side objects -------------------------------------------------------------

Integer compareListStrings(TTntStringList* list, Integer index1, Integer index2) {
    return list->CompareStrings(list->Get(index1), list->Get(index2));
}

Integer compareComponentAddress(TObject* item, const void* target) {
    const auto* component = static_cast<const TWideComponentHelper*>(item)->Component();
    const auto address = reinterpret_cast<UINT_PTR>(component), wanted = reinterpret_cast<UINT_PTR>(target);
    return address < wanted ? -1 : address > wanted ? 1 : 0;
}

} // namespace

// ---- Synchronised wide strings -----------------------------------------------------------

WideString GetSyncedWideString(WideString& WideStr, const AnsiString& AnsiStr) {
    if (WideToAnsi(WideStr) != AnsiStr) WideStr = AnsiToWide(AnsiStr);
    return WideStr;
}

void SetSyncedWideString(const WideString& Value, WideString& WideStr, const AnsiString& AnsiStr,
                         TSetAnsiStrEvent SetAnsiStr) {
    const WideString old = GetSyncedWideString(WideStr, AnsiStr);
    if (Value == old) return;
    const AnsiString ansi = WideToAnsi(Value);
    if (!survivesAnsi(Value) && ansi == AnsiStr) SetAnsiStr(AnsiString());
    WideStr = Value;
    SetAnsiStr(ansi);
}

// ---- Form-resource additions ------------------------------------------------------------------

void TntPersistent_AfterInherited_DefineProperties(TFiler* Filer, TPersistent* Instance) {
    TTntWideStringPropertyFiler wideStringFiler;
    TTntWideCharPropertyFiler wideCharFiler;
    for (const TPropInfo* property : GetPropList(Instance)) {
        if (property->PropType->Kind == tkWString)
            wideStringFiler.DefineProperties(Filer, Instance, property);
        else if (property->PropType->Kind == tkWChar)
            wideCharFiler.DefineProperties(Filer, Instance, property);
    }
}

// ---- Component side objects ----------------------------------------------------------------------

TWideComponentHelper::TWideComponentHelper(TComponent* AOwner) : TComponent(AOwner) {
    throw ETntInternalError(SHelperCreateError);
}

TWideComponentHelper::TWideComponentHelper(TComponent* AOwner, TComponentList* ComponentHelperList)
    : TComponent(nullptr), component_(AOwner) {
    AOwner->FreeNotification(this);
    Integer index = 0;
    FindSortedListByTarget(ComponentHelperList, &compareComponentAddress, AOwner, index);
    ComponentHelperList->Insert(index, this);
}

void TWideComponentHelper::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (AComponent == component_ && Operation == opRemove) {
        component_ = nullptr;
        delete this;
    }
}

TWideComponentHelper* FindWideComponentHelper(TComponentList* ComponentHelperList, TComponent* Component) {
    Integer index = 0;
    if (!FindSortedListByTarget(ComponentHelperList, &compareComponentAddress, Component, index))
        return nullptr;
    auto* helper = static_cast<TWideComponentHelper*>(ComponentHelperList->Items(index));
    Assert(helper->Component() == Component, SHelperIndexError);
    return helper;
}

bool FindSortedListByTarget(TComponentList* List, TListTargetCompare TargetCompare, const void* Target,
                            Integer& Index) {
    bool found = false;
    Integer low = 0, high = List->Count() - 1;
    while (low <= high) {
        const Integer probe = (low + high) / 2;
        const Integer order = TargetCompare(List->Items(probe), Target);
        if (order < 0) {
            low = probe + 1;
        } else {
            high = probe - 1;
            if (order == 0) {
                found = true;
                low = probe;
            }
        }
    }
    Index = low;
    return found;
}

// ---- Streams --------------------------------------------------------------------------------------

namespace {

THandle openFileHandle(const WideString& fileName, Word mode) {
    if (mode == fmCreate) {
        const THandle handle = WideFileCreate(fileName);
        if (handle == InvalidHandle)
            throw EFCreateError(Format(SCannotCreateFile, {WideToAnsi(WideExpandFileName(fileName))}));
        return handle;
    }
    const THandle handle = WideFileOpen(fileName, mode);
    if (handle == InvalidHandle)
        throw EFOpenError(Format(SCannotOpenFile, {WideToAnsi(WideExpandFileName(fileName))}));
    return handle;
}

constexpr UINT_PTR RT_CURSOR = 1;
constexpr UINT_PTR RT_BITMAP = 2;
constexpr UINT_PTR RT_ICON = 3;
constexpr UINT_PTR RT_GROUP_CURSOR = 12;
constexpr UINT_PTR RT_GROUP_ICON = 14;

const TResourceFile* findResourceOfType(const AnsiString& name, LPCWSTR resType) {
    if (Tnt_Is_IntResource(resType)) {
        switch (reinterpret_cast<UINT_PTR>(resType)) {
        case RT_CURSOR:
        case RT_GROUP_CURSOR:
            return FindResource(name, rkCursor);
        case RT_BITMAP:
            return FindResource(name, rkBitmap);
        case RT_ICON:
        case RT_GROUP_ICON:
            return FindResource(name, rkIcon);
        default:
            break;
        }
    }
    // Form resources are data resources too, as the class library stores them.
    const TResourceFile* data = FindResource(name, rkData);
    return data ? data : FindResource(name, rkForm);
}

} // namespace

TTntFileStream::TTntFileStream(const WideString& FileName, Word Mode)
    : THandleStream(openFileHandle(FileName, Mode)) {}

TTntFileStream::~TTntFileStream() {
    if (handle_ != InvalidHandle) FileClose(handle_);
}

void TTntMemoryStream::LoadFromFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TTntMemoryStream::SaveToFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

TTntResourceStream::TTntResourceStream(HINSTANCE, const WideString& ResName, LPCWSTR ResType) {
    initialize(WideToAnsi(ResName), ResType);
}

TTntResourceStream::TTntResourceStream(HINSTANCE, Integer ResID, LPCWSTR ResType) {
    initialize("#" + IntToStr(ResID), ResType);
}

void TTntResourceStream::initialize(const AnsiString& Name, LPCWSTR ResType) {
    const TResourceFile* resource = findResourceOfType(Name, ResType);
    if (!resource) throw EResNotFound(Format(SResourceNotFound, {Name}));
    // Resources are part of the program and never written.
    SetPointer(const_cast<Byte*>(resource->Data.data()), static_cast<Int64>(resource->Data.size()));
}

Integer TTntResourceStream::Write(const void*, Integer) {
    throw EStreamError(SCantWriteResourceStream);
}

void TTntResourceStream::SaveToFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

TBufferedStreamReader::TBufferedStreamReader(TStream* Stream, Integer BufferSize)
    : source_(Stream), sourceSize_(Stream->Size()),
      buffer_(static_cast<std::size_t>(std::max(BufferSize, 1))),
      bufferStart_(-static_cast<Int64>(buffer_.size())) {}

Integer TBufferedStreamReader::Read(void* Buffer, Integer Count) {
    if (position_ < 0 || Count < 0 || position_ >= sourceSize_) return 0;
    auto* out = static_cast<Byte*>(Buffer);
    const auto bufferSize = static_cast<Int64>(buffer_.size());
    Int64 remaining = std::min<Int64>(Count, sourceSize_ - position_);
    const Int64 total = remaining;
    const Int64 windowEnd = std::min(bufferStart_ + bufferSize, sourceSize_);
    if (position_ >= bufferStart_ && position_ < windowEnd) {
        const Int64 fromWindow = std::min(remaining, windowEnd - position_);
        std::memcpy(out, buffer_.data() + (position_ - bufferStart_), static_cast<std::size_t>(fromWindow));
        out += fromWindow;
        position_ += fromWindow;
        remaining -= fromWindow;
    }
    const Int64 direct = remaining / bufferSize * bufferSize;
    if (direct > 0) {
        source_->Seek(position_, soFromBeginning);
        source_->ReadBuffer(out, static_cast<Integer>(direct));
        out += direct;
        position_ += direct;
        remaining -= direct;
    }
    if (remaining > 0) {
        fillBufferAt(position_);
        std::memcpy(out, buffer_.data(), static_cast<std::size_t>(remaining));
        position_ += remaining;
    }
    return static_cast<Integer>(total);
}

void TBufferedStreamReader::fillBufferAt(Int64 Position) {
    bufferStart_ = Position;
    source_->Seek(Position, soFromBeginning);
    source_->ReadBuffer(buffer_.data(), static_cast<Integer>(std::min<Int64>(
                                            static_cast<Int64>(buffer_.size()), sourceSize_ - Position)));
}

Integer TBufferedStreamReader::Write(const void*, Integer) {
    throw ETntInternalError(SCannotWrite);
}

Int64 TBufferedStreamReader::Seek(Int64 Offset, Word Origin) {
    switch (Origin) {
    case soFromBeginning:
        position_ = Offset;
        break;
    case soFromCurrent:
        position_ += Offset;
        break;
    default:
        position_ = sourceSize_ + Offset;
        break;
    }
    return position_;
}

// ---- Growable character buffers -------------------------------------------------------------------

void TBufferedWideString::Clear() {
    count_ = 0;
    std::fill(buffer_.begin(), buffer_.end(), u'\0');
}

void TBufferedWideString::AddChar(WideChar C) {
    ++count_;
    if (static_cast<Integer>(buffer_.size()) < count_) {
        const Integer size = static_cast<Integer>(buffer_.size());
        buffer_.resize(buffer_.size() +
                           static_cast<std::size_t>(
                               std::min(std::max(WideBufferGrowthMinimum, size), WideBufferGrowthMaximum)),
                       u'\0');
    }
    buffer_[static_cast<std::size_t>(count_ - 1)] = C;
}

void TBufferedWideString::AddString(const WideString& S) {
    for (const WideChar c : S)
        AddChar(c);
}

void TBufferedWideString::AddBuffer(const WideChar* Buff, Cardinal MaxLen) {
    for (Cardinal i = 0; i < MaxLen && Buff[i]; ++i)
        AddChar(Buff[i]);
}

WideString TBufferedWideString::Value() const {
    return WideString(buffer_.c_str());
}

void TBufferedAnsiString::Clear() {
    count_ = 0;
    std::fill(buffer_.begin(), buffer_.end(), '\0');
}

void TBufferedAnsiString::AddChar(AnsiChar C) {
    ++count_;
    if (static_cast<Integer>(buffer_.size()) < count_) {
        const Integer size = static_cast<Integer>(buffer_.size());
        buffer_.resize(buffer_.size() +
                           static_cast<std::size_t>(
                               std::min(std::max(WideBufferGrowthMinimum, size), WideBufferGrowthMaximum)),
                       '\0');
    }
    buffer_[static_cast<std::size_t>(count_ - 1)] = C;
}

void TBufferedAnsiString::AddString(const AnsiString& S) {
    const auto needed = static_cast<std::size_t>(count_) + S.size();
    if (buffer_.size() < needed) {
        const std::size_t step = std::max<std::size_t>(AnsiBufferGrowthMinimum, buffer_.size() / 2);
        buffer_.resize(buffer_.size() + (needed - buffer_.size() + step - 1) / step * step, '\0');
    }
    std::copy(S.begin(), S.end(), buffer_.begin() + count_);
    count_ += static_cast<Integer>(S.size());
}

void TBufferedAnsiString::AddBuffer(const AnsiChar* Buff, Cardinal MaxLen) {
    for (Cardinal i = 0; i < MaxLen && Buff[i]; ++i)
        AddChar(Buff[i]);
}

AnsiString TBufferedAnsiString::Value() const {
    return AnsiString(buffer_.c_str());
}

// ---- Character-set detection ------------------------------------------------------------------------

TTntStreamCharSet AutoDetectCharacterSet(TStream* Stream) {
    auto remaining = [&] { return Stream->Size() - Stream->Position(); };
    if (remaining() >= 2) {
        Byte mark[2] = {};
        const Integer read = Stream->Read(mark, 2);
        const Word value = static_cast<Word>(mark[0] | (mark[1] << 8));
        if (read == 2 && value == Utf16Mark) return csUnicode;
        if (read == 2 && value == Utf16SwappedMark) return csUnicodeSwapped;
        Stream->Seek(-read, soFromCurrent);
    }
    if (remaining() >= 3) {
        char mark[3] = {};
        const Integer read = Stream->Read(mark, 3);
        if (read == 3 && std::memcmp(mark, Utf8Mark, 3) == 0) return csUtf8;
        Stream->Seek(-read, soFromCurrent);
    }
    return csAnsi;
}

// ---- ANSI views ----------------------------------------------------------------------------------------

void TAnsiStrings::LoadFromFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TAnsiStrings::SaveToFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TAnsiStrings::LoadFromFileEx(const WideString& FileName, Cardinal CodePage) {
    TTntFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStreamEx(&stream, CodePage);
}

void TAnsiStrings::SaveToFileEx(const WideString& FileName, Cardinal CodePage) {
    TTntFileStream stream(FileName, fmCreate);
    if (CodePage == Utf8CodePage) stream.WriteBuffer(Utf8Mark, 3);
    SaveToStreamEx(&stream, CodePage);
}

TAnsiStringsForWideStringsAdapter::TAnsiStringsForWideStringsAdapter(TTntStrings* WideStrings,
                                                                     Cardinal AdapterCodePage)
    : wideStrings_(WideStrings), codePage_(AdapterCodePage) {}

Cardinal TAnsiStringsForWideStringsAdapter::AdapterCodePage() const {
    return codePage_ == 0 ? DefaultSystemCodePage() : codePage_;
}

AnsiString TAnsiStringsForWideStringsAdapter::Get(Integer Index) const {
    return WideStringToStringEx(wideStrings_->Get(Index), AdapterCodePage());
}

Integer TAnsiStringsForWideStringsAdapter::GetCount() const {
    return wideStrings_->GetCount();
}

TObject* TAnsiStringsForWideStringsAdapter::GetObject(Integer Index) const {
    return wideStrings_->GetObject(Index);
}

void TAnsiStringsForWideStringsAdapter::Put(Integer Index, const AnsiString& S) {
    wideStrings_->Put(Index, StringToWideStringEx(S, AdapterCodePage()));
}

void TAnsiStringsForWideStringsAdapter::PutObject(Integer Index, TObject* AObject) {
    wideStrings_->PutObject(Index, AObject);
}

void TAnsiStringsForWideStringsAdapter::Clear() {
    wideStrings_->Clear();
}

void TAnsiStringsForWideStringsAdapter::Delete(Integer Index) {
    wideStrings_->Delete(Index);
}

void TAnsiStringsForWideStringsAdapter::Insert(Integer Index, const AnsiString& S) {
    wideStrings_->Insert(Index, StringToWideStringEx(S, AdapterCodePage()));
}

void TAnsiStringsForWideStringsAdapter::SetUpdateState(bool Updating) {
    if (Updating)
        wideStrings_->BeginUpdate();
    else
        wideStrings_->EndUpdate();
}

void TAnsiStringsForWideStringsAdapter::LoadFromStreamEx(TStream* Stream, Cardinal CodePage) {
    Update update(*wideStrings_);
    wideStrings_->SetTextStr(StringToWideStringEx(remainingBytesOf(Stream), CodePage));
}

void TAnsiStringsForWideStringsAdapter::SaveToStreamEx(TStream* Stream, Cardinal CodePage) {
    const AnsiString bytes = WideStringToStringEx(wideStrings_->GetTextStr(), CodePage);
    Stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
}

// ---- TTntStrings
// -------------------------------------------------------------------------------------------

TTntStrings::TTntStrings() : ansiStrings_(std::make_unique<TAnsiStringsForWideStringsAdapter>(this)) {}

TTntStrings::~TTntStrings() = default;

void TTntStrings::LoadFromStream_BOM(TStream* Stream, bool WithBOM) {
    Update update(*this);
    const TTntStreamCharSet charSet = WithBOM ? AutoDetectCharacterSet(Stream) : csUnicode;
    switch (charSet) {
    case csUnicode:
    case csUnicodeSwapped:
        LoadUtf16FromStream(Stream, charSet == csUnicodeSwapped);
        break;
    case csAnsi:
        SetTextStr(StringToWideStringEx(remainingBytesOf(Stream), DefaultSystemCodePage()));
        break;
    case csUtf8:
        // One bad byte becomes U+FFFD; the strict decoder would drop every line.
        SetTextStr(UTF8Decode(remainingBytesOf(Stream)));
        break;
    }
}

void TTntStrings::SaveToStream_BOM(TStream* Stream, bool WithBOM) {
    if (WithBOM) Stream->WriteBuffer(Utf16LittleEndianMark, sizeof Utf16LittleEndianMark);
    TWideStrings::SaveToStream(Stream);
}

void TTntStrings::LoadFromFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    detectedFileCharSet_ = AutoDetectCharacterSet(&stream);
    stream.SetPosition(0);
    LoadFromStream(&stream);
}

void TTntStrings::LoadFromStream(TStream* Stream) {
    LoadFromStream_BOM(Stream, true);
}

void TTntStrings::SaveToFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TTntStrings::SaveToStream(TStream* Stream) {
    SaveToStream_BOM(Stream, true);
}

void TTntStrings::SetAnsiStrings(TAnsiStrings* Value) {
    ansiStrings_->Assign(Value);
}

void TTntStrings::DefineProperties(TFiler* Filer) {
    TWideStrings::DefineProperties(Filer);
    Filer->DefineProperty("WideStrings", TReaderProc(this, &TTntStrings::ReadData), nullptr, false);
    Filer->DefineProperty("WideStringsW", TReaderProc(this, &TTntStrings::readUtf8Strings), nullptr, false);
    Filer->DefineProperty("WideStrings_UTF7", TReaderProc(this, &TTntStrings::readUtf7Strings),
                          TWriterProc(this, &TTntStrings::writeUtf7Strings), utf7ToBeWritten(Filer));
}

bool TTntStrings::utf7ToBeWritten(TFiler* Filer) const {
    if (!StringsToBeWritten(Filer)) return false;
    for (Integer i = 0; i < GetCount(); ++i) {
        const WideString s = Get(i);
        if (!s.empty() && !survivesUtf8AsAnsi(s)) return true;
    }
    return false;
}

void TTntStrings::readUtf8Strings(TReader* Reader) {
    readEncodedStrings(Reader, true, &UTF8ToWideString);
}

void TTntStrings::readUtf7Strings(TReader* Reader) {
    readEncodedStrings(Reader, false, &UTF7ToWideString);
}

void TTntStrings::readEncodedStrings(TReader* Reader, bool AlsoWhenEmpty,
                                     WideString (*Decode)(const AnsiString&)) {
    Reader->ReadListBegin();
    if (appliesWideValues(Reader) || (AlsoWhenEmpty && GetCount() == 0)) {
        Update update(*this);
        Clear();
        while (!Reader->EndOfList())
            Add(Decode(Reader->ReadString()));
    } else {
        while (!Reader->EndOfList())
            Reader->ReadString();
    }
    Reader->ReadListEnd();
}

void TTntStrings::writeUtf7Strings(TWriter* Writer) {
    Writer->WriteListBegin();
    for (Integer i = 0; i < GetCount(); ++i)
        Writer->WriteString(WideStringToUTF7(Get(i)));
    Writer->WriteListEnd();
}

// ---- TTntStringList
// ------------------------------------------------------------------------------------------

TTntStringList::~TTntStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TTntStringList::checkIndex(Integer Index) const {
    if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

WideString TTntStringList::Get(Integer Index) const {
    checkIndex(Index);
    return items_[static_cast<std::size_t>(Index)].FString;
}

Integer TTntStringList::GetCapacity() const {
    return capacity_;
}

Integer TTntStringList::GetCount() const {
    return static_cast<Integer>(items_.size());
}

TObject* TTntStringList::GetObject(Integer Index) const {
    checkIndex(Index);
    return items_[static_cast<std::size_t>(Index)].FObject;
}

void TTntStringList::Put(Integer Index, const WideString& S) {
    if (sorted_) Error(SSortedListError, 0);
    checkIndex(Index);
    Changing();
    items_[static_cast<std::size_t>(Index)].FString = S;
    Changed();
}

void TTntStringList::PutObject(Integer Index, TObject* AObject) {
    checkIndex(Index);
    Changing();
    items_[static_cast<std::size_t>(Index)].FObject = AObject;
    Changed();
}

void TTntStringList::SetCapacity(Integer NewCapacity) {
    if (NewCapacity < GetCount()) Error(SListCapacityError, NewCapacity);
    capacity_ = NewCapacity;
    items_.reserve(static_cast<std::size_t>(capacity_));
}

void TTntStringList::grow() {
    const Integer delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

Integer TTntStringList::CompareStrings(const WideString& S1, const WideString& S2) const {
    if (!caseSensitive_) return TTntStrings::CompareStrings(S1, S2);
    return Tnt_CompareStringW(LOCALE_USER_DEFAULT, 0, S1.data(), static_cast<int>(S1.size()), S2.data(),
                              static_cast<int>(S2.size())) -
           kernel32::CSTR_EQUAL;
}

Integer TTntStringList::Add(const WideString& S) {
    return AddObject(S, nullptr);
}

Integer TTntStringList::AddObject(const WideString& S, TObject* AObject) {
    Integer index = GetCount();
    if (sorted_ && Find(S, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) Error(SDuplicateString, 0);
    }
    InsertItem(index, S, AObject);
    return index;
}

void TTntStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    items_.shrink_to_fit();
    capacity_ = 0;
    Changed();
}

void TTntStringList::Delete(Integer Index) {
    checkIndex(Index);
    Changing();
    items_.erase(items_.begin() + Index);
    Changed();
}

void TTntStringList::Exchange(Integer Index1, Integer Index2) {
    checkIndex(Index1);
    checkIndex(Index2);
    Changing();
    std::swap(items_[static_cast<std::size_t>(Index1)], items_[static_cast<std::size_t>(Index2)]);
    Changed();
}

bool TTntStringList::Find(const WideString& S, Integer& Index) const {
    bool found = false;
    Integer low = 0, high = GetCount() - 1;
    while (low <= high) {
        const Integer probe = (low + high) / 2;
        const Integer order = CompareStrings(items_[static_cast<std::size_t>(probe)].FString, S);
        if (order < 0) {
            low = probe + 1;
        } else {
            high = probe - 1;
            if (order == 0) {
                found = true;
                if (duplicates_ != dupAccept) low = probe;
            }
        }
    }
    Index = low;
    return found;
}

Integer TTntStringList::IndexOf(const WideString& S) const {
    if (!sorted_) return TTntStrings::IndexOf(S);
    Integer index = 0;
    return Find(S, index) ? index : -1;
}

Integer TTntStringList::IndexOfName(const WideString& Name) const {
    if (!sorted_) return TTntStrings::IndexOfName(Name);
    const WideString key = Name + NameValueSeparator();
    Integer index = 0;
    Find(key, index);
    if (index < 0 || index >= GetCount()) return -1;
    const WideString& candidate = items_[static_cast<std::size_t>(index)].FString;
    return CompareStrings(key, candidate.substr(0, key.size())) == 0 ? index : -1;
}

void TTntStringList::Insert(Integer Index, const WideString& S) {
    InsertObject(Index, S, nullptr);
}

void TTntStringList::InsertObject(Integer Index, const WideString& S, TObject* AObject) {
    if (sorted_) Error(SSortedListError, 0);
    if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
    InsertItem(Index, S, AObject);
}

void TTntStringList::InsertItem(Integer Index, const WideString& S, TObject* AObject) {
    Changing();
    if (GetCount() == capacity_) grow();
    items_.insert(items_.begin() + Index, TWideStringItem{S, AObject});
    Changed();
}

void TTntStringList::Move(Integer CurIndex, Integer NewIndex) {
    // Moving deletes and inserts again; on a sorted list the insertion would
    // fail after the deletion and lose the item.
    if (sorted_ && CurIndex != NewIndex) Error(SSortedListError, 0);
    TTntStrings::Move(CurIndex, NewIndex);
}

void TTntStringList::Sort() {
    CustomSort(&compareListStrings);
}

void TTntStringList::CustomSort(TWideStringListSortCompare Compare) {
    if (!sorted_ && GetCount() > 1) sortItems(Compare);
}

void TTntStringList::sortItems(TWideStringListSortCompare Compare) {
    Changing();
    FrameworkQuickSort(
        0, GetCount() - 1, [&](Integer A, Integer B) { return Compare(this, A, B); },
        [&](Integer A, Integer B) {
            std::swap(items_[static_cast<std::size_t>(A)], items_[static_cast<std::size_t>(B)]);
        });
    Changed();
}

void TTntStringList::SetSorted(bool Value) {
    if (Value == sorted_) return;
    if (Value) Sort();
    sorted_ = Value;
}

void TTntStringList::SetCaseSensitive(bool Value) {
    if (Value == caseSensitive_) return;
    caseSensitive_ = Value;
    if (sorted_ && GetCount() > 1) sortItems(&compareListStrings);
}

void TTntStringList::Changed() {
    if (!updating_ && OnChange) OnChange(this);
}

void TTntStringList::Changing() {
    if (!updating_ && OnChanging) OnChanging(this);
}

void TTntStringList::SetUpdateState(bool Updating) {
    updating_ = Updating;
    if (Updating)
        Changing();
    else
        Changed();
}
