// The line buffer keeps its lines as records in one array with a gap at the
// place of the last change; a loaded file stays one block of text that the
// lines point into, so that big files load fast and take little memory.
#include "editor/SynEditTextBuffer.h"

#include "platform/core/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr Integer DefaultTabWidth = 8;
// Growth of the line array by one line: small lists by a fixed step, larger
// ones by a quarter.
constexpr Integer SmallListLimit = 64;
constexpr Integer SmallListGrowth = 16;
constexpr Integer LargeListGrowthDivisor = 4;
constexpr Integer AddStringsCapacityStep = 16;

Integer capacityAfterGrowth(Integer capacity) {
    const Int64 grown =
        Int64{capacity} + (capacity > SmallListLimit ? capacity / LargeListGrowthDivisor : SmallListGrowth);
    return static_cast<Integer>(std::min<Int64>(grown, INT_MAX));
}
constexpr std::size_t FileWriterBufferSize = 16384;
// Streams move at most this many bytes per call.
constexpr std::size_t StreamChunkSize = 1u << 30;
constexpr int TemporaryNameAttempts = 100;
constexpr mode_t NewFileMode = 0666;

constexpr const char* SInvalidStringListIndex = "Invalid stringlist index %d";
constexpr const char* SStringListCapacityError = "Stringlist capacity cannot be smaller than count";

// Runs body inside BeginUpdate/EndUpdate; EndUpdate runs also when body
// raises. (Not a destructor: EndUpdate fires OnChange, which may raise.)
template <typename Body> void insideUpdate(TStrings& strings, Body&& body) {
    strings.BeginUpdate();
    try {
        body();
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

} // namespace

// ---- Line storage -----------------------------------------------------------------

// One line. Records are moved as plain memory: the text is either owned by
// the record or part of the block of text a load read.
struct TSynEditStringRec {
    char* text;
    TObject* object;
    TSynRangeValue range;
    Cardinal length;
    // -1 while not known for the current tab width.
    Integer expandedLength;
};

// The records in one array with a gap at the place of the last insertion or
// deletion, so that a run of changes at one place moves no other record.
class TSynEditStringRecList {
public:
    TSynEditStringRecList() = default;
    TSynEditStringRecList(const TSynEditStringRecList&) = delete;
    TSynEditStringRecList& operator=(const TSynEditStringRecList&) = delete;
    ~TSynEditStringRecList() { clear(); }

    Integer count() const { return count_; }
    Integer capacity() const { return capacity_; }
    bool contains(Integer index) const { return index >= 0 && index < count_; }

    TSynEditStringRec& at(Integer index) { return records_[slotOf(index)]; }
    const TSynEditStringRec& at(Integer index) const { return records_[slotOf(index)]; }
    std::string_view textOf(Integer index) const {
        const TSynEditStringRec& line = at(index);
        return {line.text, line.length};
    }

    // A new line with its own copy of text.
    static TSynEditStringRec newLine(std::string_view text, TObject* object = nullptr) {
        return {copyOf(text), object, NullRange, static_cast<Cardinal>(text.size()), -1};
    }

    // A new line that is a slice of the block handed to adoptBlock.
    static TSynEditStringRec lineInBlock(const char* text, std::size_t length) {
        return {length == 0 ? nullptr : const_cast<char*>(text), nullptr, NullRange,
                static_cast<Cardinal>(length), -1};
    }

    // The caller has made room (capacity() - count() >= 1).
    void insert(Integer index, const TSynEditStringRec& line) {
        moveGapTo(index);
        records_[gapStart_++] = line;
        ++count_;
    }

    void erase(Integer index, Integer lines) {
        moveGapTo(index);
        const Integer first = index + gapLength();
        for (Integer slot = first; slot < first + lines; ++slot)
            freeText(records_[slot]);
        count_ -= lines;
    }

    void replaceText(Integer index, std::string_view text) {
        TSynEditStringRec& line = at(index);
        char* copy = copyOf(text);
        freeText(line);
        line.text = copy;
        line.length = static_cast<Cardinal>(text.size());
    }

    // Reallocates to exactly `capacity` records, which is at least count().
    void setCapacity(Integer capacity) {
        moveGapTo(count_);
        if (capacity == 0) {
            std::free(records_);
            records_ = nullptr;
        } else {
            void* moved =
                std::realloc(records_, sizeof(TSynEditStringRec) * static_cast<std::size_t>(capacity));
            if (moved == nullptr) throw EOutOfMemory(SOutOfMemory);
            records_ = static_cast<TSynEditStringRec*>(moved);
        }
        capacity_ = capacity;
    }

    // Lines added with lineInBlock point into this block; it is kept until clear().
    void adoptBlock(std::unique_ptr<char[]> block, std::size_t size) {
        block_ = std::move(block);
        blockSize_ = size;
    }

    void clear() {
        for (Integer index = 0; index < count_; ++index)
            freeText(at(index));
        count_ = 0;
        gapStart_ = 0;
        setCapacity(0);
        block_.reset();
        blockSize_ = 0;
    }

private:
    Integer gapLength() const { return capacity_ - count_; }
    Integer slotOf(Integer index) const { return index < gapStart_ ? index : index + gapLength(); }

    void moveGapTo(Integer index) {
        const Integer gap = gapLength();
        if (gap > 0 && index < gapStart_)
            std::memmove(records_ + index + gap, records_ + index,
                         sizeof(TSynEditStringRec) * (gapStart_ - index));
        else if (gap > 0 && index > gapStart_)
            std::memmove(records_ + gapStart_, records_ + gapStart_ + gap,
                         sizeof(TSynEditStringRec) * (index - gapStart_));
        gapStart_ = index;
    }

    static char* copyOf(std::string_view text) {
        if (text.empty()) return nullptr;
        char* copy = new char[text.size()];
        std::memcpy(copy, text.data(), text.size());
        return copy;
    }

    bool isInBlock(const char* text) const {
        const std::less_equal<const char*> notAfter;
        return block_ != nullptr && notAfter(block_.get(), text) &&
               !notAfter(block_.get() + blockSize_, text);
    }

    void freeText(TSynEditStringRec& line) {
        if (!isInBlock(line.text)) delete[] line.text;
        line.text = nullptr;
    }

    TSynEditStringRec* records_ = nullptr;
    Integer capacity_ = 0;
    Integer count_ = 0;
    Integer gapStart_ = 0;
    std::unique_ptr<char[]> block_;
    std::size_t blockSize_ = 0;
};

namespace {

// Calls onLine(start, length) for each line of the text: a line ends at CR,
// LF or the end; CR LF is one break, LF CR two. Notes which breaks were seen.
template <typename OnLine>
void splitLines(const char* text, std::size_t size, bool& sawCR, bool& sawLF, OnLine&& onLine) {
    const char* const end = text + size;
    // The next CR and LF (or the end); each is searched again only once passed,
    // so that a text with only one kind of break is still scanned once.
    const char* nextCR = nullptr;
    const char* nextLF = nullptr;
    const char* position = text;
    auto findFrom = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    while (position < end) {
        if (nextCR == nullptr || nextCR < position) nextCR = findFrom(position, CR);
        if (nextLF == nullptr || nextLF < position) nextLF = findFrom(position, LF);
        const char* lineEnd = std::min(nextCR, nextLF);
        onLine(static_cast<std::size_t>(position - text), static_cast<std::size_t>(lineEnd - position));
        position = lineEnd;
        if (position < end && *position == CR) {
            sawCR = true;
            ++position;
        }
        if (position < end && *position == LF) {
            sawLF = true;
            ++position;
        }
    }
}

std::unique_ptr<char[]> readWholeStream(TStream* stream, std::size_t size) {
    auto text = std::make_unique_for_overwrite<char[]>(size);
    for (std::size_t done = 0; done < size;) {
        const std::size_t chunk = std::min(size - done, StreamChunkSize);
        stream->ReadBuffer(text.get() + done, static_cast<Integer>(chunk));
        done += chunk;
    }
    return text;
}

void writeWhole(TStream* stream, const char* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const std::size_t chunk = std::min(size - done, StreamChunkSize);
        stream->WriteBuffer(data + done, static_cast<Integer>(chunk));
        done += chunk;
    }
}

// Collects lines in a buffer of 16384 bytes (or one line's size when a line
// is longer) and writes the buffer to the stream when it is full.
class TSynEditFileWriter {
public:
    explicit TSynEditFileWriter(TStream& stream) : stream_(stream), buffer_(FileWriterBufferSize) {}

    void WriteLine(std::string_view text, std::string_view lineBreak) {
        const std::size_t needed = text.size() + lineBreak.size();
        while (fill_ + needed > buffer_.size()) {
            Flush();
            if (needed > buffer_.size()) buffer_.resize(needed);
        }
        std::copy(text.begin(), text.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(fill_));
        std::copy(lineBreak.begin(), lineBreak.end(),
                  buffer_.begin() + static_cast<std::ptrdiff_t>(fill_ + text.size()));
        fill_ += needed;
    }

    // Must be called after the last line: a destructor can't report a failure.
    void Flush() {
        writeWhole(&stream_, buffer_.data(), fill_);
        fill_ = 0;
    }

private:
    TStream& stream_;
    std::vector<char> buffer_;
    std::size_t fill_ = 0;
};

[[noreturn]] void raiseCreateError(const AnsiString& fileName, int errorNumber) {
    throw EFCreateError(
        Format(SFCreateErrorEx, {ExpandFileName(fileName), SysErrorMessage(OSErrorFromErrno(errorNumber))}));
}

// The file a save replaces: a symbolic link is followed, so that the link
// stays and its target gets the new text.
std::string saveTarget(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    return resolved != nullptr ? std::string(resolved.get()) : path;
}

// A new, empty file beside `target` that disappears again unless it is
// renamed over the target with replaceTarget.
class TemporaryFileBeside {
public:
    TemporaryFileBeside(const std::string& target, const AnsiString& fileName) : target_(target) {
        const std::size_t slash = target.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
        const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
        std::random_device seed;
        std::mt19937 random(seed());
        int error = EEXIST;
        for (int attempt = 0; attempt < TemporaryNameAttempts && error == EEXIST; ++attempt) {
            path_ = folder + "." + name + "." + std::to_string(random()) + ".tmp";
            // O_EXCL: never reuse a file that someone else placed there.
            handle_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode);
            error = handle_ < 0 ? errno : 0;
        }
        if (handle_ < 0) raiseCreateError(fileName, error);
    }
    TemporaryFileBeside(const TemporaryFileBeside&) = delete;
    TemporaryFileBeside& operator=(const TemporaryFileBeside&) = delete;
    ~TemporaryFileBeside() {
        if (handle_ >= 0) ::close(handle_);
        if (!renamed_) ::unlink(path_.c_str());
    }

    int handle() const { return handle_; }

    // Gives the new file the permissions (and, where allowed, the owner) of
    // the file it replaces.
    void takeOverAttributes() {
        struct stat old {};
        if (::stat(target_.c_str(), &old) != 0) return; // a new file keeps the umask's mode
        // Both may fail (only a privileged user may give a file away); the
        // file then has the mode and owner of any file the user creates.
        [[maybe_unused]] const int modeKept = ::fchmod(handle_, old.st_mode & 07777);
        [[maybe_unused]] const int ownerKept = ::fchown(handle_, old.st_uid, old.st_gid);
    }

    void replaceTarget(const AnsiString& fileName) {
        if (::fsync(handle_) != 0) throw EWriteError(SWriteError);
        const int closed = ::close(handle_);
        handle_ = -1;
        if (closed != 0) throw EWriteError(SWriteError);
        if (::rename(path_.c_str(), target_.c_str()) != 0) raiseCreateError(fileName, errno);
        renamed_ = true;
    }

private:
    std::string target_;
    std::string path_;
    int handle_ = -1;
    bool renamed_ = false;
};

} // namespace

// ---- TSynEditStringList -----------------------------------------------------------------

TSynEditStringList::TSynEditStringList() : lines_(std::make_unique<TSynEditStringRecList>()) {
    SetTabWidth(DefaultTabWidth);
}

TSynEditStringList::~TSynEditStringList() {
    // No change event may reach a listener while the list is torn down.
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TSynEditStringList::checkIndex(Integer Index, Integer Last) const {
    if (Index < 0 || Index > Last) throw ESynEditStringList(Format(SInvalidStringListIndex, {Index}));
}

void TSynEditStringList::fireListChange(const TStringListChangeEvent& Event, Integer Index, Integer Count) {
    if (Event) Event(this, Index, Count);
}

void TSynEditStringList::SetUpdateState(bool Updating) {
    const TNotifyEvent& event = Updating ? OnChanging : OnChange;
    if (event) event(this);
}

AnsiString TSynEditStringList::Get(Integer Index) const {
    if (!lines_->contains(Index)) return AnsiString();
    return AnsiString(lines_->textOf(Index));
}

Integer TSynEditStringList::GetCount() const {
    return lines_->count();
}

TObject* TSynEditStringList::GetObject(Integer Index) const {
    return lines_->contains(Index) ? lines_->at(Index).object : nullptr;
}

Integer TSynEditStringList::GetCapacity() const {
    return lines_->capacity();
}

void TSynEditStringList::SetCapacity(Integer NewCapacity) {
    if (NewCapacity < GetCount()) throw EListError(SStringListCapacityError);
    lines_->setCapacity(NewCapacity);
}

AnsiString TSynEditStringList::GetTextStr() const {
    const Integer count = GetCount();
    std::size_t size = 0;
    for (Integer i = 0; i < count; ++i)
        size += lines_->textOf(i).size() + 2;
    AnsiString text;
    text.reserve(size);
    for (Integer i = 0; i < count; ++i) {
        if (i > 0) text += "\r\n";
        text += lines_->textOf(i);
    }
    return text;
}

void TSynEditStringList::grow() {
    makeRoomFor(GetCount() + 1);
}

// Grows geometrically, so that a run of insertions reallocates (and moves every line
// record) only now and then.
void TSynEditStringList::makeRoomFor(Integer lines) {
    const Integer capacity = GetCapacity();
    if (lines <= capacity) return;
    lines_->setCapacity(std::max(lines, capacityAfterGrowth(capacity)));
}

void TSynEditStringList::insertItem(Integer Index, const AnsiString& S) {
    const TSynEditStringRec line = TSynEditStringRecList::newLine(S);
    try {
        if (GetCount() == GetCapacity()) grow();
    } catch (...) {
        delete[] line.text;
        throw;
    }
    lines_->insert(Index, line);
    indexOfLongestLine_ = -1;
}

Integer TSynEditStringList::Add(const AnsiString& S) {
    const Integer index = GetCount();
    insideUpdate(*this, [&] {
        insertItem(index, S);
        fireListChange(OnInserted, index, 1);
    });
    return index;
}

void TSynEditStringList::Insert(Integer Index, const AnsiString& S) {
    checkIndex(Index, GetCount());
    insideUpdate(*this, [&] {
        insertItem(Index, S);
        fireListChange(OnInserted, Index, 1);
    });
}

void TSynEditStringList::Put(Integer Index, const AnsiString& S) {
    if (Index == GetCount()) {
        Add(S);
        return;
    }
    checkIndex(Index, GetCount() - 1);
    insideUpdate(*this, [&] {
        indexOfLongestLine_ = -1;
        lines_->replaceText(Index, S);
        lines_->at(Index).expandedLength = -1;
        fireListChange(OnPutted, Index, 1);
    });
}

void TSynEditStringList::PutObject(Integer Index, TObject* AObject) {
    checkIndex(Index, GetCount() - 1);
    insideUpdate(*this, [&] { lines_->at(Index).object = AObject; });
}

TSynRangeValue TSynEditStringList::GetRange(Integer Index) const {
    return lines_->contains(Index) ? lines_->at(Index).range : 0;
}

void TSynEditStringList::PutRange(Integer Index, TSynRangeValue Range) {
    checkIndex(Index, GetCount() - 1);
    insideUpdate(*this, [&] { lines_->at(Index).range = Range; });
}

void TSynEditStringList::Delete(Integer Index) {
    checkIndex(Index, GetCount() - 1);
    insideUpdate(*this, [&] {
        lines_->erase(Index, 1);
        indexOfLongestLine_ = -1;
        fireListChange(OnDeleted, Index, 1);
    });
}

void TSynEditStringList::Exchange(Integer Index1, Integer Index2) {
    checkIndex(Index1, GetCount() - 1);
    checkIndex(Index2, GetCount() - 1);
    insideUpdate(*this, [&] {
        std::swap(lines_->at(Index1), lines_->at(Index2));
        if (indexOfLongestLine_ == Index1)
            indexOfLongestLine_ = Index2;
        else if (indexOfLongestLine_ == Index2)
            indexOfLongestLine_ = Index1;
    });
}

void TSynEditStringList::InsertLines(Integer Index, Integer NumLines) {
    checkIndex(Index, GetCount());
    if (NumLines <= 0) return;
    insideUpdate(*this, [&] {
        makeRoomFor(GetCount() + NumLines);
        for (Integer i = 0; i < NumLines; ++i)
            lines_->insert(Index + i, TSynEditStringRecList::newLine({}));
        indexOfLongestLine_ = -1;
        fireListChange(OnInserted, Index, NumLines);
    });
}

void TSynEditStringList::InsertStrings(Integer Index, TStrings* Strings) {
    const Integer count = Strings->GetCount();
    if (count == 0) return;
    insideUpdate(*this, [&] {
        InsertLines(Index, count);
        for (Integer i = 0; i < count; ++i)
            Put(Index + i, Strings->Get(i));
    });
}

void TSynEditStringList::InsertText(Integer Index, const AnsiString& Text) {
    if (Text.empty()) return;
    TStringList lines;
    lines.SetTextStr(Text);
    InsertStrings(Index, &lines);
}

void TSynEditStringList::AddStrings(TStrings* Strings) {
    const Integer count = Strings->GetCount();
    if (count == 0) return;
    insideUpdate(*this, [&] {
        indexOfLongestLine_ = -1;
        const Integer first = GetCount();
        // A block of lines takes room in whole steps.
        const Integer needed = first + count;
        if (needed > GetCapacity())
            makeRoomFor((needed + AddStringsCapacityStep - 1) / AddStringsCapacityStep * AddStringsCapacityStep);
        for (Integer i = 0; i < count; ++i)
            lines_->insert(first + i, TSynEditStringRecList::newLine(Strings->Get(i), Strings->GetObject(i)));
        fireListChange(OnInserted, first, count);
    });
}

void TSynEditStringList::DeleteLines(Integer Index, Integer NumLines) {
    if (NumLines <= 0) return;
    checkIndex(Index, GetCount());
    const Integer removed = std::min(NumLines, GetCount() - Index);
    auto removeBlock = [&] { lines_->erase(Index, removed); };
    // Only moving the lines after the block counts as a change of the list.
    if (Index + removed < GetCount())
        insideUpdate(*this, removeBlock);
    else
        removeBlock();
    indexOfLongestLine_ = -1;
    fireListChange(OnDeleted, Index, removed);
}

void TSynEditStringList::Clear() {
    indexOfLongestLine_ = -1;
    if (GetCount() == 0) {
        lines_->clear();
        return;
    }
    insideUpdate(*this, [&] {
        lines_->clear();
        if (OnCleared) OnCleared(this);
    });
}

// ---- Tab expansion cache ---------------------------------------------------------------

AnsiString TSynEditStringList::expandString(Integer Index) {
    TSynEditStringRec& line = lines_->at(Index);
    const std::string_view text = lines_->textOf(Index);
    // Most lines hold no tab: they are their own expansion.
    if (text.find('\t') == std::string_view::npos) {
        line.expandedLength = static_cast<Integer>(text.size());
        return AnsiString(text);
    }
    bool hasTabs = false;
    AnsiString expanded = convertTabsProc_(AnsiString(text), tabWidth_, hasTabs);
    line.expandedLength = static_cast<Integer>(expanded.size());
    return expanded;
}

AnsiString TSynEditStringList::GetExpandedString(Integer Index) {
    return lines_->contains(Index) ? expandString(Index) : AnsiString();
}

Integer TSynEditStringList::GetExpandedStringLength(Integer Index) {
    if (!lines_->contains(Index)) return 0;
    TSynEditStringRec& line = lines_->at(Index);
    // The same length the expansion gives, without building the expanded text.
    if (line.expandedLength < 0) line.expandedLength = GetExpandedLength(lines_->textOf(Index), tabWidth_);
    return line.expandedLength;
}

Integer TSynEditStringList::GetLengthOfLongestLine() {
    if (indexOfLongestLine_ < 0) {
        Integer longest = 0;
        for (Integer i = 0; i < GetCount(); ++i) {
            const Integer length = GetExpandedStringLength(i);
            if (length <= longest) continue;
            longest = length;
            indexOfLongestLine_ = i;
        }
    }
    if (indexOfLongestLine_ < 0 || indexOfLongestLine_ >= GetCount()) return 0;
    return lines_->at(indexOfLongestLine_).expandedLength;
}

void TSynEditStringList::SetTabWidth(Integer Value) {
    if (Value == tabWidth_) return;
    tabWidth_ = Value;
    convertTabsProc_ = GetBestConvertTabsProcEx(Value);
    indexOfLongestLine_ = -1;
    for (Integer i = 0; i < GetCount(); ++i)
        lines_->at(i).expandedLength = -1;
}

// ---- Loading and saving -----------------------------------------------------------------

void TSynEditStringList::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    LoadFromStream(&stream);
}

void TSynEditStringList::LoadFromStream(TStream* Stream) {
    insideUpdate(*this, [&] {
        try {
            const auto size = static_cast<std::size_t>(std::max<Int64>(Stream->Size(), 0));
            Stream->SetPosition(0);
            std::unique_ptr<char[]> text = readWholeStream(Stream, size);
            Clear();
            loadText(std::move(text), size);
        } catch (...) {
            // Half a file must not pass for the whole of it.
            Clear();
            throw;
        }
    });
}

void TSynEditStringList::loadText(std::unique_ptr<char[]> Text, std::size_t Size) {
    const char* const text = Text.get();
    bool sawCR = false;
    bool sawLF = false;
    std::size_t lineCount = 0;
    splitLines(text, Size, sawCR, sawLF, [&](std::size_t, std::size_t) { ++lineCount; });
    const bool endsInBreak = Size > 0 && (text[Size - 1] == CR || text[Size - 1] == LF);
    const bool addEmptyLastLine = !trailingLineBreak_ && endsInBreak;
    if (lineCount + (addEmptyLastLine ? 1 : 0) > static_cast<std::size_t>(INT_MAX))
        throw EOutOfMemory(SOutOfMemory);

    // With room to grow: the first edit after loading a large file must not reallocate.
    lines_->setCapacity(capacityAfterGrowth(static_cast<Integer>(lineCount) + (addEmptyLastLine ? 1 : 0)));
    lines_->adoptBlock(std::move(Text), Size);
    splitLines(text, Size, sawCR, sawLF, [&](std::size_t start, std::size_t length) {
        const Integer index = GetCount();
        lines_->insert(index, TSynEditStringRecList::lineInBlock(text + start, length));
        fireListChange(OnInserted, index, 1);
    });
    if (addEmptyLastLine) Add(AnsiString());

    if (sawCR && !sawLF)
        fileFormat_ = sffMac;
    else if (sawLF && !sawCR)
        fileFormat_ = sffUnix;
    else
        fileFormat_ = sffDos;
}

AnsiString TSynEditStringList::lineBreak() const {
    switch (fileFormat_) {
    case sffUnix:
        return "\n";
    case sffMac:
        return "\r";
    case sffDos:
        break;
    }
    return "\r\n";
}

void TSynEditStringList::SaveToStream(TStream* Stream) {
    const Integer count = GetCount();
    const AnsiString separator = lineBreak();
    std::size_t size = 0;
    for (Integer i = 0; i < count; ++i)
        size += lines_->textOf(i).size() + separator.size();
    AnsiString text;
    text.reserve(size);
    for (Integer i = 0; i < count; ++i) {
        text += lines_->textOf(i);
        if (i + 1 < count || trailingLineBreak_) text += separator;
    }
    writeWhole(Stream, text.data(), text.size());
}

void TSynEditStringList::SaveToFile(const AnsiString& FileName) {
    TemporaryFileBeside file(saveTarget(NativeFileName(FileName)), FileName);
    file.takeOverAttributes();
    THandleStream stream(file.handle());
    TSynEditFileWriter writer(stream);
    const AnsiString separator = lineBreak();
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i)
        writer.WriteLine(lines_->textOf(i), i + 1 < count || trailingLineBreak_ ? separator : AnsiString());
    writer.Flush();
    file.replaceTarget(FileName);
}

// ---- Undo list --------------------------------------------------------------------------

namespace {

[[noreturn]] void raiseListIndexError(Integer index) {
    throw EListError(Format(SListIndexError, {index}));
}

} // namespace

TSynEditUndoItem::TSynEditUndoItem(const TSynEditUndoItem& Other) : TPersistent() {
    *this = Other;
}

TSynEditUndoItem::TSynEditUndoItem(TSynEditUndoItem&& Other) noexcept : TPersistent() {
    *this = std::move(Other);
}

TSynEditUndoItem& TSynEditUndoItem::operator=(const TSynEditUndoItem& Other) {
    if (this == &Other) return *this;
    SetChangeText(Other.ChangeText());
    StartPos = Other.StartPos;
    EndPos = Other.EndPos;
    ChangeNumber = Other.ChangeNumber;
    Reason = Other.Reason;
    SelectionMode = Other.SelectionMode;
    return *this;
}

TSynEditUndoItem& TSynEditUndoItem::operator=(TSynEditUndoItem&& Other) noexcept {
    text_ = std::move(Other.text_);
    textLength_ = std::exchange(Other.textLength_, 0);
    StartPos = Other.StartPos;
    EndPos = Other.EndPos;
    ChangeNumber = Other.ChangeNumber;
    Reason = Other.Reason;
    SelectionMode = Other.SelectionMode;
    return *this;
}

void TSynEditUndoItem::Assign(TPersistent* Source) {
    if (auto* item = dynamic_cast<TSynEditUndoItem*>(Source))
        *this = *item;
    else
        TPersistent::Assign(Source);
}

AnsiString TSynEditUndoItem::ChangeText() const {
    return AnsiString(text_.get(), textLength_);
}

void TSynEditUndoItem::SetChangeText(const AnsiString& Text) {
    std::unique_ptr<char[]> copy;
    if (!Text.empty()) {
        copy = std::make_unique_for_overwrite<char[]>(Text.size());
        std::memcpy(copy.get(), Text.data(), Text.size());
    }
    text_ = std::move(copy);
    textLength_ = static_cast<Cardinal>(Text.size());
}

TSynEditUndoList::TSynEditUndoList() = default;

TSynEditUndoList::~TSynEditUndoList() = default;

void TSynEditUndoList::advanceChangeNumber() {
    // Wraps round like the 32-bit number it is; 0 means "no block" and is skipped.
    nextChangeNumber_ = static_cast<Integer>(static_cast<Cardinal>(nextChangeNumber_) + 1);
    if (nextChangeNumber_ == 0) nextChangeNumber_ = 1;
}

void TSynEditUndoList::AddChange(TSynChangeReason Reason, const TBufferCoord& StartPos,
                                 const TBufferCoord& EndPos, const AnsiString& ChangeText,
                                 TSynSelectionMode SelectionMode) {
    if (lockCount_ != 0) return;
    auto item = std::make_unique<TSynEditUndoItem>();
    item->Reason = Reason;
    item->SelectionMode = SelectionMode;
    item->StartPos = StartPos;
    item->EndPos = EndPos;
    item->SetChangeText(ChangeText);
    if (blockChangeNumber_ != 0) {
        item->ChangeNumber = blockChangeNumber_;
    } else {
        item->ChangeNumber = nextChangeNumber_;
        if (blockCount_ == 0) advanceChangeNumber();
    }
    PushItem(std::move(item));
}

void TSynEditUndoList::BeginBlock() {
    ++blockCount_;
    blockChangeNumber_ = nextChangeNumber_;
}

void TSynEditUndoList::EndBlock() {
    if (blockCount_ == 0) return;
    if (--blockCount_ > 0) return;
    const Integer closedBlock = blockChangeNumber_;
    blockChangeNumber_ = 0;
    advanceChangeNumber();
    if (!items_.empty() && items_.back().ChangeNumber == closedBlock && OnAddedUndo) OnAddedUndo(this);
}

void TSynEditUndoList::AddGroupBreak() {
    if (LastChangeReason() == crGroupBreak) return;
    // A break's positions mean nothing.
    const TBufferCoord nowhere{};
    AddChange(crGroupBreak, nowhere, nowhere, AnsiString(), smNormal);
}

void TSynEditUndoList::PushItem(std::unique_ptr<TSynEditUndoItem> Item) {
    if (Item == nullptr) return;
    const TSynChangeReason reason = Item->Reason;
    items_.push_back(std::move(*Item));
    trim();
    if (reason != crGroupBreak && OnAddedUndo) OnAddedUndo(this);
}

std::unique_ptr<TSynEditUndoItem> TSynEditUndoList::PopItem() {
    if (items_.empty()) return nullptr;
    auto item = std::make_unique<TSynEditUndoItem>(std::move(items_.back()));
    items_.pop_back();
    return item;
}

TSynEditUndoItem* TSynEditUndoList::PeekItem() {
    return items_.empty() ? nullptr : &items_.back();
}

TSynChangeReason TSynEditUndoList::LastChangeReason() const {
    return items_.empty() ? crNothing : items_.back().Reason;
}

void TSynEditUndoList::Lock() {
    ++lockCount_;
}

void TSynEditUndoList::Unlock() {
    if (lockCount_ > 0) --lockCount_;
}

void TSynEditUndoList::Clear() {
    items_.clear();
    fullUndoImpossible_ = false;
}

TSynEditUndoItem& TSynEditUndoList::itemAt(Integer Index) {
    if (Index < 0 || Index >= GetItemCount()) raiseListIndexError(Index);
    return items_[static_cast<std::size_t>(Index)];
}

TSynEditUndoItem* TSynEditUndoList::GetItems(Integer Index) {
    return &itemAt(Index);
}

void TSynEditUndoList::SetItems(Integer Index, const TSynEditUndoItem& Item) {
    itemAt(Index) = Item;
}

void TSynEditUndoList::DeleteItem(Integer Index) {
    itemAt(Index); // raises for a bad index
    items_.erase(items_.begin() + Index);
}

void TSynEditUndoList::trim() {
    if (GetItemCount() <= maxUndoActions_) return;
    fullUndoImpossible_ = true;
    while (GetItemCount() > maxUndoActions_)
        items_.pop_front();
}

void TSynEditUndoList::SetMaxUndoActions(Integer Value) {
    Value = std::max(Value, 0);
    if (Value == maxUndoActions_) return;
    maxUndoActions_ = Value;
    trim();
}

bool TSynEditUndoList::GetInitialState() const {
    return items_.empty() ? initialChangeNumber_ == 0 : items_.back().ChangeNumber == initialChangeNumber_;
}

void TSynEditUndoList::SetInitialState(bool Value) {
    if (Value)
        initialChangeNumber_ = items_.empty() ? 0 : items_.back().ChangeNumber;
    else if (GetInitialState())
        initialChangeNumber_ = -1;
}

void TSynEditUndoList::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynEditUndoList*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    Clear();
    for (const TSynEditUndoItem& item : source->items_)
        items_.push_back(item);
    blockChangeNumber_ = source->blockChangeNumber_;
    blockCount_ = source->blockCount_;
    fullUndoImpossible_ = source->fullUndoImpossible_;
    lockCount_ = source->lockCount_;
    maxUndoActions_ = source->maxUndoActions_;
    nextChangeNumber_ = source->nextChangeNumber_;
    insideRedo_ = source->insideRedo_;
}
