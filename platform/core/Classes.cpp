// TPersistent, TList, TStrings/TStringList and the streams, following the
// framework's protocol so that other layers can derive their own lists and
// streams from them.
#include "platform/core/Classes.h"

#include "platform/core/QuickSort.h"

#include "platform/core/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

// Keeps a BeginUpdate/EndUpdate bracket balanced when an exception passes.
class UpdateBracket {
public:
    explicit UpdateBracket(TStrings& strings) : strings_(strings) { strings_.BeginUpdate(); }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;
    ~UpdateBracket() { strings_.EndUpdate(); }

private:
    TStrings& strings_;
};

// The framework's growth steps for lists.
Integer growthFor(Integer capacity) {
    if (capacity > 64) return capacity / 4;
    if (capacity > 8) return 16;
    return 4;
}

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
bool isSeparatorBlank(char c) {
    return c != '\0' && isBlankOrControl(c);
}

constexpr Integer CopyBufferSize = 65536;

} // namespace

// ---- TPersistent -------------------------------------------------------------------

void TPersistent::Assign(TPersistent* Source) {
    if (Source == nullptr) AssignError(nullptr);
    Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source) {
    const AnsiString sourceName = Source != nullptr ? Source->ClassName() : AnsiString("nil");
    throw EConvertError(Format(SAssignError, {sourceName, ClassName()}));
}

// ---- TList ---------------------------------------------------------------------------

TList::~TList() = default;

void TList::Error(const char* Message, Integer Data) {
    throw EListError(Format(Message, {Data}));
}

void TList::checkIndex(Integer Index) const {
    if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
}

Integer TList::Add(void* Item) {
    const Integer index = Count();
    Insert(index, Item);
    return index;
}

void TList::Clear() {
    SetCount(0);
    SetCapacity(0);
}

void TList::Delete(Integer Index) {
    checkIndex(Index);
    void* item = items_[Index];
    items_.erase(items_.begin() + Index);
    if (item != nullptr) Notify(item, lnDeleted);
}

void TList::Exchange(Integer Index1, Integer Index2) {
    checkIndex(Index1);
    checkIndex(Index2);
    std::swap(items_[Index1], items_[Index2]);
}

TList* TList::Expand() {
    if (Count() == capacity_) Grow();
    return this;
}

void* TList::Extract(void* Item) {
    const Integer index = IndexOf(Item);
    if (index < 0) return nullptr;
    items_.erase(items_.begin() + index);
    Notify(Item, lnExtracted);
    return Item;
}

void* TList::First() const {
    return Get(0);
}
void* TList::Last() const {
    return Get(Count() - 1);
}

Integer TList::IndexOf(void* Item) const {
    const auto found = std::find(items_.begin(), items_.end(), Item);
    return found == items_.end() ? -1 : static_cast<Integer>(found - items_.begin());
}

void TList::Insert(Integer Index, void* Item) {
    if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
    if (Count() == capacity_) Grow();
    items_.insert(items_.begin() + Index, Item);
    if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex) return;
    checkIndex(NewIndex);
    void* item = Get(CurIndex);
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, item);
}

Integer TList::Remove(void* Item) {
    const Integer index = IndexOf(Item);
    if (index >= 0) Delete(index);
    return index;
}

void TList::Pack() {
    for (Integer i = Count() - 1; i >= 0; --i)
        if (items_[i] == nullptr) items_.erase(items_.begin() + i);
}

void TList::Sort(TListSortCompare Compare) {
    std::stable_sort(items_.begin(), items_.end(), [Compare](void* a, void* b) { return Compare(a, b) < 0; });
}

void* TList::Get(Integer Index) const {
    checkIndex(Index);
    return items_[Index];
}

void TList::Put(Integer Index, void* Item) {
    checkIndex(Index);
    void* old = items_[Index];
    if (Item == old) return;
    items_[Index] = Item;
    if (old != nullptr) Notify(old, lnDeleted);
    if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::SetCount(Integer NewCount) {
    if (NewCount < 0) Error(SListCountError, NewCount);
    if (NewCount > capacity_) SetCapacity(NewCount);
    if (NewCount > Count()) {
        items_.resize(NewCount, nullptr);
        return;
    }
    for (Integer i = Count() - 1; i >= NewCount; --i)
        Delete(i);
}

void TList::SetCapacity(Integer NewCapacity) {
    if (NewCapacity < Count()) Error(SListCapacityError, NewCapacity);
    capacity_ = NewCapacity;
    items_.reserve(static_cast<std::size_t>(NewCapacity));
}

void TList::Notify(void* Ptr, TListNotification Action) {
    (void)Ptr;
    (void)Action;
}

void TList::Grow() {
    SetCapacity(capacity_ + growthFor(capacity_));
}

// ---- TBits ------------------------------------------------------------------------------

void TBits::indexError() {
    throw EBitsError(SBitsIndexError);
}

void TBits::SetSize(Integer Value) {
    if (Value < 0) indexError();
    bits_.resize(static_cast<std::size_t>(Value), false);
}

bool TBits::Bits(Integer Index) const {
    if (Index < 0 || Index >= Size()) indexError();
    return bits_[static_cast<std::size_t>(Index)];
}

void TBits::SetBits(Integer Index, bool Value) {
    if (Index < 0) indexError();
    if (Index >= Size()) SetSize(Index + 1);
    bits_[static_cast<std::size_t>(Index)] = Value;
}

Integer TBits::OpenBit() const {
    const auto clear = std::find(bits_.begin(), bits_.end(), false);
    return static_cast<Integer>(clear - bits_.begin());
}

// ---- TStrings --------------------------------------------------------------------------

TObject* TStrings::GetObject(Integer Index) const {
    (void)Index;
    return nullptr;
}

void TStrings::Put(Integer Index, const AnsiString& S) {
    TObject* object = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, object);
}

void TStrings::PutObject(Integer Index, TObject* AObject) {
    (void)Index;
    (void)AObject;
}

Integer TStrings::GetCapacity() const {
    return GetCount();
}

void TStrings::SetCapacity(Integer NewCapacity) {
    (void)NewCapacity;
}

AnsiString TStrings::GetTextStr() const {
    const Integer count = GetCount();
    AnsiString text;
    for (Integer i = 0; i < count; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetTextStr(const AnsiString& Value) {
    UpdateBracket update(*this);
    Clear();
    const std::size_t end = std::min(Value.find('\0'), Value.size());
    std::size_t position = 0;
    while (position < end) {
        const std::size_t lineEnd = std::min(Value.find_first_of("\r\n", position), end);
        Add(Value.substr(position, lineEnd - position));
        position = lineEnd;
        if (position < end && Value[position] == '\r') ++position;
        if (position < end && Value[position] == '\n') ++position;
    }
}

Integer TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
    return AnsiCompareText(S1, S2);
}

Integer TStrings::Add(const AnsiString& S) {
    const Integer index = GetCount();
    Insert(index, S);
    return index;
}

Integer TStrings::AddObject(const AnsiString& S, TObject* AObject) {
    const Integer index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::Append(const AnsiString& S) {
    Add(S);
}

void TStrings::AddStrings(TStrings* Strings) {
    UpdateBracket update(*this);
    const Integer count = Strings->GetCount();
    for (Integer i = 0; i < count; ++i)
        AddObject(Strings->Get(i), Strings->GetObject(i));
}

void TStrings::Assign(TPersistent* Source) {
    auto* strings = dynamic_cast<TStrings*>(Source);
    if (strings == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    UpdateBracket update(*this);
    Clear();
    delimiter_ = strings->delimiter_;
    quoteChar_ = strings->quoteChar_;
    AddStrings(strings);
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    --updateCount_;
    if (updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
    UpdateBracket update(*this);
    const AnsiString string1 = Get(Index1);
    TObject* object1 = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, string1);
    PutObject(Index2, object1);
}

Integer TStrings::IndexOf(const AnsiString& S) const {
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

Integer TStrings::IndexOfName(const AnsiString& Name) const {
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i) {
        const AnsiString line = Get(i);
        const std::size_t separator = line.find(NameValueSeparator());
        if (separator != AnsiString::npos && CompareStrings(line.substr(0, separator), Name) == 0) return i;
    }
    return -1;
}

Integer TStrings::IndexOfObject(TObject* AObject) const {
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

void TStrings::InsertObject(Integer Index, const AnsiString& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex) return;
    UpdateBracket update(*this);
    const AnsiString string = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, string, object);
}

bool TStrings::Equals(const TStrings* Strings) const {
    const Integer count = GetCount();
    if (Strings == nullptr || count != Strings->GetCount()) return false;
    for (Integer i = 0; i < count; ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::LoadFromStream(TStream* Stream) {
    UpdateBracket update(*this);
    const Int64 size = Stream->Size() - Stream->Position();
    AnsiString text(static_cast<std::size_t>(std::max<Int64>(size, 0)), '\0');
    // Only what the stream really delivers becomes text.
    text.resize(
        static_cast<std::size_t>(std::max(0, Stream->Read(text.data(), static_cast<Integer>(text.size())))));
    SetTextStr(text);
}

void TStrings::SaveToFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TStrings::SaveToStream(TStream* Stream) {
    const AnsiString text = GetTextStr();
    Stream->WriteBuffer(text.data(), static_cast<Integer>(text.size()));
}

AnsiString TStrings::delimitedTextWith(char delimiter, char quote) const {
    const Integer count = GetCount();
    if (count == 1 && Get(0).empty()) return AnsiString(2, quote);
    AnsiString text;
    for (Integer i = 0; i < count; ++i) {
        const AnsiString item = Get(i);
        const bool plain = std::none_of(item.begin(), item.end(), [&](char c) {
            return isBlankOrControl(c) || c == quote || c == delimiter;
        });
        text += plain ? item : AnsiQuotedStr(item, quote);
        text.push_back(delimiter);
    }
    if (!text.empty()) text.pop_back();
    return text;
}

AnsiString TStrings::DelimitedText() const {
    return delimitedTextWith(delimiter_, quoteChar_);
}

void TStrings::SetDelimitedText(const AnsiString& Value) {
    UpdateBracket update(*this);
    Clear();
    const std::size_t end = std::min(Value.find('\0'), Value.size());
    std::size_t position = 0;
    auto skipBlanks = [&] {
        while (position < end && isSeparatorBlank(Value[position]))
            ++position;
    };
    skipBlanks();
    while (position < end) {
        if (Value[position] == quoteChar_) {
            Add(AnsiExtractQuotedStr(Value.substr(0, end), position, quoteChar_));
        } else {
            const std::size_t start = position;
            while (position < end && !isBlankOrControl(Value[position]) && Value[position] != delimiter_)
                ++position;
            Add(Value.substr(start, position - start));
        }
        skipBlanks();
        if (position < end && Value[position] == delimiter_) {
            if (position + 1 >= end) Add("");
            ++position;
            skipBlanks();
        }
    }
}

AnsiString TStrings::CommaText() const {
    return delimitedTextWith(',', '"');
}

void TStrings::SetCommaText(const AnsiString& Value) {
    delimiter_ = ',';
    quoteChar_ = '"';
    SetDelimitedText(Value);
}

AnsiString TStrings::ExtractName(const AnsiString& S) const {
    const std::size_t separator = S.find(NameValueSeparator());
    return separator == AnsiString::npos ? AnsiString() : S.substr(0, separator);
}

AnsiString TStrings::Names(Integer Index) const {
    return ExtractName(Get(Index));
}

AnsiString TStrings::Values(const AnsiString& Name) const {
    const Integer index = IndexOfName(Name);
    return index >= 0 ? ValueFromIndex(index) : AnsiString();
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value) {
    Integer index = IndexOfName(Name);
    if (Value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    if (index < 0) index = Add("");
    Put(index, Name + NameValueSeparator() + Value);
}

AnsiString TStrings::ValueFromIndex(Integer Index) const {
    if (Index < 0) return {};
    const AnsiString line = Get(Index);
    return line.substr(std::min(line.size(), ExtractName(line).size() + 1));
}

void TStrings::SetValueFromIndex(Integer Index, const AnsiString& Value) {
    if (Value.empty()) {
        if (Index >= 0) Delete(Index);
        return;
    }
    if (Index < 0) Index = Add("");
    Put(Index, Names(Index) + NameValueSeparator() + Value);
}

void TStrings::SetUpdateState(bool Updating) {
    (void)Updating;
}

void TStrings::Error(const char* Message, Integer Data) const {
    throw EStringListError(Format(Message, {Data}));
}

// ---- TStringList -------------------------------------------------------------------------

TStringList::~TStringList() {
    // No change events while the list goes away.
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TStringList::checkIndex(Integer Index) const {
    if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

AnsiString TStringList::Get(Integer Index) const {
    checkIndex(Index);
    return items_[Index].string;
}

Integer TStringList::GetCount() const {
    return static_cast<Integer>(items_.size());
}

TObject* TStringList::GetObject(Integer Index) const {
    checkIndex(Index);
    return items_[Index].object;
}

void TStringList::Put(Integer Index, const AnsiString& S) {
    if (sorted_) Error(SSortedListError, 0);
    checkIndex(Index);
    Changing();
    items_[Index].string = S;
    Changed();
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
    checkIndex(Index);
    Changing();
    items_[Index].object = AObject;
    Changed();
}

Integer TStringList::GetCapacity() const {
    return capacity_;
}

void TStringList::SetCapacity(Integer NewCapacity) {
    if (NewCapacity < GetCount()) throw EListError(Format(SListCapacityError, {NewCapacity}));
    capacity_ = NewCapacity;
    items_.reserve(static_cast<std::size_t>(NewCapacity));
}

Integer TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
    return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

Integer TStringList::Add(const AnsiString& S) {
    return AddObject(S, nullptr);
}

Integer TStringList::AddObject(const AnsiString& S, TObject* AObject) {
    Integer index = GetCount();
    if (sorted_ && Find(S, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) Error(SDuplicateString, 0);
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    SetCapacity(0);
    Changed();
}

void TStringList::Delete(Integer Index) {
    checkIndex(Index);
    Changing();
    items_.erase(items_.begin() + Index);
    Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
    checkIndex(Index1);
    checkIndex(Index2);
    Changing();
    std::swap(items_[Index1], items_[Index2]);
    Changed();
}

bool TStringList::Find(const AnsiString& S, Integer& Index) const {
    bool found = false;
    Integer low = 0, high = GetCount() - 1;
    while (low <= high) {
        const Integer probe = (low + high) / 2;
        const Integer order = CompareStrings(items_[probe].string, S);
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

Integer TStringList::IndexOf(const AnsiString& S) const {
    if (!sorted_) return TStrings::IndexOf(S);
    Integer index;
    return Find(S, index) ? index : -1;
}

void TStringList::Insert(Integer Index, const AnsiString& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(Integer Index, const AnsiString& S, TObject* AObject) {
    if (sorted_) Error(SSortedListError, 0);
    if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(Integer Index, const AnsiString& S, TObject* AObject) {
    Changing();
    if (GetCount() == capacity_) grow();
    items_.insert(items_.begin() + Index, Item{S, AObject});
    Changed();
}

void TStringList::grow() {
    SetCapacity(capacity_ + growthFor(capacity_));
}

namespace {
Integer compareByListOrder(TStringList* list, Integer index1, Integer index2) {
    return list->CompareStrings(list->Get(index1), list->Get(index2));
}
} // namespace

void TStringList::Sort() {
    CustomSort(compareByListOrder);
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
    if (sorted_ || GetCount() < 2) return;
    Changing();
    quickSort(Compare);
    Changed();
}

void TStringList::quickSort(TStringListSortCompare Compare) {
    FrameworkQuickSort(
        0, GetCount() - 1, [&](Integer A, Integer B) { return Compare(this, A, B); },
        [&](Integer A, Integer B) { std::swap(items_[A], items_[B]); });
}

void TStringList::SetSorted(bool Value) {
    if (Value == sorted_) return;
    if (Value) Sort();
    sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == caseSensitive_) return;
    caseSensitive_ = Value;
    if (!sorted_ || GetCount() < 2) return;
    Changing();
    quickSort(compareByListOrder);
    Changed();
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

// ---- TStream -----------------------------------------------------------------------------

void TStream::ReadBuffer(void* Buffer, Integer Count) {
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError(SWriteError);
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min<Int64>(Count, CopyBufferSize)));
    for (Int64 left = Count; left > 0;) {
        const auto chunk = static_cast<Integer>(std::min<Int64>(left, CopyBufferSize));
        Source->ReadBuffer(buffer.data(), chunk);
        WriteBuffer(buffer.data(), chunk);
        left -= chunk;
    }
    return Count;
}

Int64 TStream::Size() {
    const Int64 position = Seek(0, soFromCurrent);
    const Int64 size = Seek(0, soFromEnd);
    Seek(position, soFromBeginning);
    return size;
}

void TStream::SetSize(Int64 NewSize) {
    (void)NewSize;
}

// ---- THandleStream and TFileStream ---------------------------------------------------------

Integer THandleStream::Read(void* Buffer, Integer Count) {
    if (Count <= 0) return 0;
    return std::max(0, FileRead(handle_, Buffer, static_cast<Cardinal>(Count)));
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
    if (Count <= 0) return 0;
    return std::max(0, FileWrite(handle_, Buffer, static_cast<Cardinal>(Count)));
}

Int64 THandleStream::Seek(Int64 Offset, Word Origin) {
    return FileSeek(handle_, Offset, Origin);
}

void THandleStream::SetSize(Int64 NewSize) {
    Seek(NewSize, soFromBeginning);
    if (::ftruncate(static_cast<int>(handle_), NewSize) != 0) RaiseLastOSError(OSErrorFromErrno(errno));
}

TFileStream::TFileStream(const AnsiString& FileName, Word Mode)
    : THandleStream(InvalidHandle), fileName_(FileName) {
    const bool create = (Mode & fmCreate) == fmCreate;
    handle_ = create ? FileCreate(FileName) : FileOpen(FileName, Mode);
    if (handle_ != InvalidHandle) return;
    const AnsiString reason = SysErrorMessage(GetLastOSError());
    if (create) throw EFCreateError(Format(SFCreateErrorEx, {ExpandFileName(FileName), reason}));
    throw EFOpenError(Format(SFOpenErrorEx, {ExpandFileName(FileName), reason}));
}

TFileStream::~TFileStream() {
    FileClose(handle_);
}

// ---- Memory streams -------------------------------------------------------------------------

void TCustomMemoryStream::SetPointer(void* Ptr, Int64 Size) {
    memory_ = static_cast<char*>(Ptr);
    size_ = Size;
}

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
    if (position_ < 0 || Count <= 0 || position_ >= size_) return 0;
    const auto moved = static_cast<Integer>(std::min<Int64>(Count, size_ - position_));
    std::memcpy(Buffer, memory_ + position_, static_cast<std::size_t>(moved));
    position_ += moved;
    return moved;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, Word Origin) {
    switch (Origin) {
    case soFromBeginning:
        position_ = Offset;
        break;
    case soFromCurrent:
        position_ += Offset;
        break;
    case soFromEnd:
        position_ = size_ + Offset;
        break;
    default:
        break;
    }
    return position_;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
    if (size_ > 0) Stream->WriteBuffer(memory_, static_cast<Integer>(size_));
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
    if (position_ < 0 || Count <= 0) return 0;
    const Int64 end = position_ + Count;
    if (end > Size()) resize(end);
    std::memcpy(storage_.data() + position_, Buffer, static_cast<std::size_t>(Count));
    position_ = end;
    return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
    resize(NewSize);
    if (position_ > NewSize) position_ = NewSize;
}

void TMemoryStream::Clear() {
    storage_.clear();
    storage_.shrink_to_fit();
    SetPointer(nullptr, 0);
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    const Int64 size = Stream->Size();
    resize(size);
    position_ = 0;
    if (size > 0) Stream->ReadBuffer(storage_.data(), static_cast<Integer>(size));
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TMemoryStream::resize(Int64 NewSize) {
    try {
        storage_.resize(static_cast<std::size_t>(std::max<Int64>(NewSize, 0)));
    } catch (const std::bad_alloc&) {
        throw EStreamError(SMemoryStreamError);
    }
    SetPointer(storage_.data(), static_cast<Int64>(storage_.size()));
}

// ---- TStringStream ---------------------------------------------------------------------------

Integer TStringStream::Read(void* Buffer, Integer Count) {
    const Int64 available = static_cast<Int64>(data_.size()) - position_;
    const auto moved = static_cast<Integer>(std::clamp<Int64>(Count, 0, std::max<Int64>(available, 0)));
    if (moved > 0) std::memcpy(Buffer, data_.data() + position_, static_cast<std::size_t>(moved));
    position_ += moved;
    return moved;
}

Integer TStringStream::Write(const void* Buffer, Integer Count) {
    if (Count <= 0) return 0;
    const std::size_t end = static_cast<std::size_t>(position_) + static_cast<std::size_t>(Count);
    if (end > data_.size()) data_.resize(end);
    std::memcpy(data_.data() + position_, Buffer, static_cast<std::size_t>(Count));
    position_ = static_cast<Int64>(end);
    return Count;
}

Int64 TStringStream::Seek(Int64 Offset, Word Origin) {
    Int64 position = position_;
    switch (Origin) {
    case soFromBeginning:
        position = Offset;
        break;
    case soFromCurrent:
        position += Offset;
        break;
    case soFromEnd:
        position = static_cast<Int64>(data_.size()) + Offset;
        break;
    default:
        break;
    }
    position_ = std::clamp<Int64>(position, 0, static_cast<Int64>(data_.size()));
    return position_;
}

void TStringStream::SetSize(Int64 NewSize) {
    data_.resize(static_cast<std::size_t>(std::max<Int64>(NewSize, 0)));
    position_ = std::min(position_, static_cast<Int64>(data_.size()));
}

AnsiString TStringStream::ReadString(Integer Count) {
    AnsiString text(static_cast<std::size_t>(std::max(Count, 0)), '\0');
    text.resize(static_cast<std::size_t>(Read(text.data(), static_cast<Integer>(text.size()))));
    return text;
}

void TStringStream::WriteString(const AnsiString& AString) {
    Write(AString.data(), static_cast<Integer>(AString.size()));
}
