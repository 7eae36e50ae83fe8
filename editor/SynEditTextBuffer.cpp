// The line buffer keeps its lines as records in chunks of about a thousand, so
// that a change moves one chunk at most; a loaded file stays one block of
// text that the lines point into, so that big files load fast and take
// little memory.
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
#include <vector>

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
// the record or part of the block of text a load read. The line's object
// lives apart (see TSynEditLineChunk), as most lists have none.
struct TSynEditStringRec {
    char* text;
    TSynRangeValue range;
    Cardinal length;
    // -1 while not known for the current tab width.
    Integer expandedLength;
};

namespace {

// A chunk never holds more lines than this, so an insertion or deletion
// moves at most this many records (24 KB), and splitting a full chunk
// takes only a few fresh pages of memory.
constexpr Integer ChunkLineLimit = 1024;
// Two neighbouring chunks that together hold no more than this are merged
// after a deletion, so that deleting does not leave a trail of tiny chunks.
constexpr Integer ChunkMergeLimit = ChunkLineLimit / 2;

// A run of consecutive lines with room for more: their records and, once
// one of them has an object, the objects of all of them.
class TSynEditLineChunk {
public:
    explicit TSynEditLineChunk(Integer capacity) { resize(capacity); }
    TSynEditLineChunk(TSynEditLineChunk&& other) noexcept { *this = std::move(other); }
    TSynEditLineChunk& operator=(TSynEditLineChunk&& other) noexcept {
        std::swap(records_, other.records_);
        std::swap(objects_, other.objects_);
        std::swap(capacity_, other.capacity_);
        first = other.first;
        count = other.count;
        return *this;
    }
    ~TSynEditLineChunk() {
        std::free(records_);
        delete[] objects_;
    }

    Integer capacity() const { return capacity_; }
    bool full() const { return count == capacity_; }
    TSynEditStringRec& record(Integer offset) { return records_[offset]; }
    const TSynEditStringRec& record(Integer offset) const { return records_[offset]; }
    TObject* object(Integer offset) const { return objects_ != nullptr ? objects_[offset] : nullptr; }
    void setObject(Integer offset, TObject* object) {
        if (objects_ == nullptr && object == nullptr) return;
        if (objects_ == nullptr) objects_ = new TObject* [static_cast<std::size_t>(capacity_)] {};
        objects_[offset] = object;
    }

    // Reallocates to exactly `capacity` records, which is at least count.
    void resize(Integer capacity) {
        void* moved = std::realloc(records_, sizeof(TSynEditStringRec) * static_cast<std::size_t>(capacity));
        if (moved == nullptr && capacity > 0) throw EOutOfMemory(SOutOfMemory);
        records_ = static_cast<TSynEditStringRec*>(moved);
        if (objects_ != nullptr) {
            auto* objects = new TObject* [static_cast<std::size_t>(capacity)] {};
            std::copy(objects_, objects_ + count, objects);
            delete[] objects_;
            objects_ = objects;
        }
        capacity_ = capacity;
    }

    // Opens a hole of `lines` records at offset; the caller fills it.
    void openAt(Integer offset, Integer lines) {
        moveWithin(offset, offset + lines, count - offset);
        count += lines;
    }
    // Closes the hole of `lines` records at offset, whose texts are freed.
    void closeAt(Integer offset, Integer lines) {
        moveWithin(offset + lines, offset, count - offset - lines);
        count -= lines;
    }

    // Moves the last `lines` records of this chunk to the end of `target`,
    // which has room for them.
    void moveTailTo(TSynEditLineChunk& target, Integer lines) {
        const Integer from = count - lines;
        std::memcpy(target.records_ + target.count, records_ + from, sizeof(TSynEditStringRec) * lines);
        for (Integer i = 0; i < lines; ++i)
            target.setObject(target.count + i, object(from + i));
        target.count += lines;
        count = from;
    }

    Integer first = 0;
    Integer count = 0;

private:
    void moveWithin(Integer from, Integer to, Integer lines) {
        if (lines <= 0) return;
        std::memmove(records_ + to, records_ + from, sizeof(TSynEditStringRec) * lines);
        if (objects_ != nullptr) std::memmove(objects_ + to, objects_ + from, sizeof(TObject*) * lines);
    }

    TSynEditStringRec* records_ = nullptr;
    TObject** objects_ = nullptr;
    Integer capacity_ = 0;
};

// Where a line is: its chunk and its place in the chunk.
struct LinePlace {
    std::size_t chunk;
    Integer offset;
};

} // namespace

// The lines in chunks of at most ChunkLineLimit records, so that a change
// moves the records of one chunk only and growing the list never copies the
// records it already has. Empty chunks stand only at the end, as room
// reserved for lines to come.
class TSynEditStringRecList {
public:
    TSynEditStringRecList() = default;
    TSynEditStringRecList(const TSynEditStringRecList&) = delete;
    TSynEditStringRecList& operator=(const TSynEditStringRecList&) = delete;
    ~TSynEditStringRecList() { clear(); }

    Integer count() const { return count_; }
    Integer capacity() const { return capacity_; }
    bool contains(Integer index) const { return index >= 0 && index < count_; }

    TSynEditStringRec& at(Integer index) {
        const LinePlace place = placeOf(index);
        return chunks_[place.chunk].record(place.offset);
    }
    const TSynEditStringRec& at(Integer index) const {
        const LinePlace place = placeOf(index);
        return chunks_[place.chunk].record(place.offset);
    }
    std::string_view textOf(Integer index) const {
        const TSynEditStringRec& line = at(index);
        return {line.text, line.length};
    }
    TObject* objectOf(Integer index) const {
        const LinePlace place = placeOf(index);
        return chunks_[place.chunk].object(place.offset);
    }
    void setObject(Integer index, TObject* object) {
        const LinePlace place = placeOf(index);
        chunks_[place.chunk].setObject(place.offset, object);
    }

    // A new line with its own copy of text.
    static TSynEditStringRec newLine(std::string_view text) {
        return {copyOf(text), NullRange, static_cast<Cardinal>(text.size()), -1};
    }

    // A new line that is a slice of the block handed to adoptBlock.
    static TSynEditStringRec lineInBlock(const char* text, std::size_t length) {
        return {length == 0 ? nullptr : const_cast<char*>(text), NullRange, static_cast<Cardinal>(length),
                -1};
    }

    // Takes the line's text over, also when making room fails.
    void insert(Integer index, const TSynEditStringRec& line, TObject* object = nullptr) {
        LinePlace place{};
        try {
            place = roomAt(index);
        } catch (...) {
            freeText(line);
            throw;
        }
        TSynEditLineChunk& chunk = chunks_[place.chunk];
        chunk.openAt(place.offset, 1);
        chunk.record(place.offset) = line;
        chunk.setObject(place.offset, object);
        ++count_;
        renumberFrom(place.chunk + 1);
    }

    // Empty lines in a block: the lines after them move once, not once per line.
    void insertEmptyLines(Integer index, Integer lines) {
        std::size_t chunk = chunkEndingAt(index);
        const std::size_t firstChanged = chunk;
        for (Integer i = 0; i < lines; ++i) {
            if (chunks_[chunk].full()) chunk = roomAfter(chunk);
            TSynEditLineChunk& target = chunks_[chunk];
            target.record(target.count) = newLine({});
            target.setObject(target.count, nullptr);
            ++target.count;
            ++count_;
        }
        renumberFrom(firstChanged);
    }

    void erase(Integer index, Integer lines) {
        if (lines <= 0) return;
        LinePlace place = placeOf(index);
        const std::size_t firstChunk = place.chunk;
        for (Integer left = lines; left > 0;) {
            TSynEditLineChunk& chunk = chunks_[place.chunk];
            const Integer taken = std::min(left, chunk.count - place.offset);
            for (Integer offset = place.offset; offset < place.offset + taken; ++offset)
                freeText(chunk.record(offset));
            chunk.closeAt(place.offset, taken);
            count_ -= taken;
            left -= taken;
            if (chunk.count == 0 && place.chunk + 1 < chunks_.size())
                removeChunk(place.chunk);
            else
                place = {place.chunk + 1, 0};
        }
        renumberFrom(firstChunk);
        mergeWithNext(firstChunk);
        if (firstChunk > 0) mergeWithNext(firstChunk - 1);
    }

    void replaceText(Integer index, std::string_view text) {
        TSynEditStringRec& line = at(index);
        char* copy = copyOf(text);
        freeText(line);
        line.text = copy;
        line.length = static_cast<Cardinal>(text.size());
    }

    void exchange(Integer index1, Integer index2) {
        std::swap(at(index1), at(index2));
        TObject* object1 = objectOf(index1);
        setObject(index1, objectOf(index2));
        setObject(index2, object1);
    }

    // Room for exactly `capacity` records in all, at least count(): spare
    // room is added at the end and given back from the end.
    void setCapacity(Integer capacity) {
        if (capacity >= capacity_)
            addRoom(capacity - capacity_);
        else
            giveBackRoom(capacity_ - capacity);
    }

    // Lines added with lineInBlock point into this block; it is kept until clear().
    void adoptBlock(std::unique_ptr<char[]> block, std::size_t size) {
        block_ = std::move(block);
        blockSize_ = size;
    }

    // Calls visit(record) for every line in order.
    template <typename Visit> void forEach(Visit&& visit) {
        for (TSynEditLineChunk& chunk : chunks_)
            for (Integer offset = 0; offset < chunk.count; ++offset)
                visit(chunk.record(offset));
    }

    void clear() {
        forEach([this](TSynEditStringRec& line) { freeText(line); });
        chunks_.clear();
        count_ = 0;
        capacity_ = 0;
        lastChunk_ = 0;
        block_.reset();
        blockSize_ = 0;
    }

private:
    // The index must be in the list.
    LinePlace placeOf(Integer index) const {
        if (!holds(lastChunk_, index)) {
            // Lines are mostly visited in order: try the next chunk before searching.
            if (holds(lastChunk_ + 1, index)) {
                ++lastChunk_;
            } else {
                auto after = std::upper_bound(
                    chunks_.begin(), chunks_.end(), index,
                    [](Integer line, const TSynEditLineChunk& chunk) { return line < chunk.first; });
                lastChunk_ = static_cast<std::size_t>(after - chunks_.begin()) - 1;
            }
        }
        return {lastChunk_, index - chunks_[lastChunk_].first};
    }

    bool holds(std::size_t chunk, Integer index) const {
        return chunk < chunks_.size() && index >= chunks_[chunk].first &&
               index < chunks_[chunk].first + chunks_[chunk].count;
    }

    // The place where a line inserted at index goes, with room made for it.
    LinePlace roomAt(Integer index) {
        if (chunks_.empty()) addChunk(0, 0);
        LinePlace place{0, 0};
        if (index == count_ && count_ > 0) {
            place = placeOf(index - 1);
            ++place.offset;
        } else if (index < count_) {
            place = placeOf(index);
        }
        // Between two chunks the line goes to the end of the first when it has room.
        if (place.offset == 0 && place.chunk > 0 && !chunks_[place.chunk - 1].full())
            place = {place.chunk - 1, chunks_[place.chunk - 1].count};
        return makeRoom(place);
    }

    LinePlace makeRoom(LinePlace place) {
        TSynEditLineChunk& chunk = chunks_[place.chunk];
        if (!chunk.full()) return place;
        if (place.offset == chunk.count || chunk.count < ChunkLineLimit) {
            const std::size_t target = roomAfter(place.chunk);
            return {target, target == place.chunk ? place.offset : 0};
        }
        // An insertion inside a full chunk splits it in two halves.
        const Integer half = chunk.count / 2;
        splitAfter(place.chunk, half, ChunkLineLimit);
        if (place.offset <= half) return place;
        return {place.chunk + 1, place.offset - half};
    }

    // The chunk that takes a line appended to chunk `full`: the chunk itself
    // once grown, else the room reserved after it, else a new chunk.
    std::size_t roomAfter(std::size_t full) {
        TSynEditLineChunk& chunk = chunks_[full];
        if (chunk.count < ChunkLineLimit) {
            growChunk(chunk, std::min(capacityAfterGrowth(chunk.capacity()), ChunkLineLimit));
            return full;
        }
        const std::size_t next = full + 1;
        if (next == chunks_.size() || chunks_[next].count > 0) addChunk(next, ChunkLineLimit);
        return next;
    }

    // Moves the lines from offset on into a new chunk after it.
    void splitAfter(std::size_t chunk, Integer offset, Integer newCapacity) {
        const Integer tail = chunks_[chunk].count - offset;
        addChunk(chunk + 1, std::max(newCapacity, tail));
        chunks_[chunk].moveTailTo(chunks_[chunk + 1], tail);
        renumberFrom(chunk + 1);
    }

    // The chunk to append to so that the lines appended come before the line
    // now at index: the lines from index on are moved out of its way.
    std::size_t chunkEndingAt(Integer index) {
        if (chunks_.empty() || (index == 0 && count_ > 0)) addChunk(0, 0);
        if (index == 0) return 0;
        const LinePlace last = placeOf(index - 1);
        if (last.offset + 1 < chunks_[last.chunk].count) splitAfter(last.chunk, last.offset + 1, 0);
        return last.chunk;
    }

    void growChunk(TSynEditLineChunk& chunk, Integer capacity) {
        const Integer before = chunk.capacity();
        chunk.resize(capacity);
        capacity_ += capacity - before;
    }

    void addChunk(std::size_t at, Integer capacity) {
        chunks_.emplace(chunks_.begin() + static_cast<std::ptrdiff_t>(at), capacity);
        capacity_ += capacity;
        renumberFrom(at);
    }

    void removeChunk(std::size_t at) {
        capacity_ -= chunks_[at].capacity();
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(at));
        lastChunk_ = 0;
        renumberFrom(at);
    }

    // Merges chunk `at` with the next one when both are small.
    void mergeWithNext(std::size_t at) {
        if (at + 1 >= chunks_.size()) return;
        TSynEditLineChunk& next = chunks_[at + 1];
        const Integer together = chunks_[at].count + next.count;
        if (chunks_[at].count == 0 || next.count == 0 || together > ChunkMergeLimit) return;
        if (chunks_[at].capacity() < together) growChunk(chunks_[at], together);
        next.moveTailTo(chunks_[at], next.count);
        removeChunk(at + 1);
    }

    void renumberFrom(std::size_t chunk) {
        for (; chunk < chunks_.size(); ++chunk)
            chunks_[chunk].first = chunk == 0 ? 0 : chunks_[chunk - 1].first + chunks_[chunk - 1].count;
    }

    void addRoom(Integer lines) {
        if (lines > 0 && !chunks_.empty()) {
            TSynEditLineChunk& last = chunks_.back();
            const Integer added = std::min(lines, std::max(ChunkLineLimit - last.capacity(), 0));
            growChunk(last, last.capacity() + added);
            lines -= added;
        }
        for (; lines > 0; lines -= ChunkLineLimit)
            addChunk(chunks_.size(), std::min(lines, ChunkLineLimit));
    }

    void giveBackRoom(Integer lines) {
        for (std::size_t chunk = chunks_.size(); chunk-- > 0 && lines > 0;) {
            TSynEditLineChunk& from = chunks_[chunk];
            const Integer given = std::min(lines, from.capacity() - from.count);
            lines -= given;
            if (given == from.capacity())
                removeChunk(chunk);
            else
                growChunk(from, from.capacity() - given);
        }
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

    void freeText(const TSynEditStringRec& line) const {
        if (!isInBlock(line.text)) delete[] line.text;
    }

    std::vector<TSynEditLineChunk> chunks_;
    Integer count_ = 0;
    Integer capacity_ = 0;
    // The chunk of the line found last.
    mutable std::size_t lastChunk_ = 0;
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
    return lines_->contains(Index) ? lines_->objectOf(Index) : nullptr;
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

void TSynEditStringList::insertItem(Integer Index, const AnsiString& S) {
    lines_->insert(Index, TSynEditStringRecList::newLine(S));
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
    insideUpdate(*this, [&] { lines_->setObject(Index, AObject); });
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
        lines_->exchange(Index1, Index2);
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
        lines_->insertEmptyLines(Index, NumLines);
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
            lines_->setCapacity((needed + AddStringsCapacityStep - 1) / AddStringsCapacityStep *
                                AddStringsCapacityStep);
        for (Integer i = 0; i < count; ++i)
            lines_->insert(first + i, TSynEditStringRecList::newLine(Strings->Get(i)), Strings->GetObject(i));
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
    lines_->forEach([](TSynEditStringRec& line) { line.expandedLength = -1; });
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
    // A line index is a 32-bit number.
    auto checkRoomForOneMore = [this] {
        if (GetCount() == INT_MAX) throw EOutOfMemory(SOutOfMemory);
    };
    lines_->adoptBlock(std::move(Text), Size);
    splitLines(text, Size, sawCR, sawLF, [&](std::size_t start, std::size_t length) {
        checkRoomForOneMore();
        const Integer index = GetCount();
        lines_->insert(index, TSynEditStringRecList::lineInBlock(text + start, length));
        fireListChange(OnInserted, index, 1);
    });
    const bool endsInBreak = Size > 0 && (text[Size - 1] == CR || text[Size - 1] == LF);
    if (!trailingLineBreak_ && endsInBreak) {
        checkRoomForOneMore();
        Add(AnsiString());
    }

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
