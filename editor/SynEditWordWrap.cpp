// Word wrap: rows are kept as one byte-sized length per row and one cumulative
// row count per line, so a change re-wraps only the lines it touched and
// shifts what follows with block moves.
#include "editor/SynEditWordWrap.h"

#include "platform/core/CodePages.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

#include <algorithm>
#include <limits>

namespace {

constexpr Integer RowLengthLimit = std::numeric_limits<TRowLength>::max();
constexpr Integer LineCapacityStep = 256;
constexpr Integer RowCapacityStep = 512;
constexpr const char* SOwnerMissing = "TSynWordWrapPlugin must be owned by TCustomSynEdit";

bool isBlank(char C) {
    return C == ' ' || C == '\t';
}

// Always above Needed and a multiple of Step, so that growth is rare.
Integer grownCapacity(Integer Needed, Integer Step) {
    return Needed + Step - Needed % Step;
}

template <typename Entry>
void moveEntries(std::vector<Entry>& Entries, Integer Start, Integer By, Integer Count) {
    Assert(By != 0 && Start + By >= 0 && Start + By + Count <= static_cast<Integer>(Entries.size()));
    const auto first = Entries.begin() + Start;
    if (By < 0)
        std::copy(first, first + Count, first + By);
    else
        std::copy_backward(first, first + Count, first + Count + By);
}

void addToEach(std::vector<TRowIndex>& Offsets, Integer From, Integer To, Integer By) {
    std::for_each(Offsets.begin() + From, Offsets.begin() + To, [By](TRowIndex& Offset) { Offset += By; });
}

TSynIdentChars complementOf(const TSynIdentChars& Chars) {
    TSynIdentChars complement;
    for (Integer code = 0; code <= RowLengthLimit; ++code) {
        const char c = static_cast<char>(code);
        if (!Chars.Contains(c)) complement.Include(c);
    }
    return complement;
}

struct TRowBreakRules {
    Integer MaxRowLength;
    Integer MinRowLength;
    const TSynIdentChars& BreakChars;
    Integer TabWidth;
};

// Cuts one tab-expanded line into rows. Offsets are 0-based; a row runs from
// its start up to, not including, its end.
template <typename LeadByteTest> class TLineBreaker {
public:
    TLineBreaker(const AnsiString& Text, const TRowBreakRules& Rules, LeadByteTest IsLeadByte)
        : text_(Text), length_(static_cast<Integer>(Text.size())), rules_(Rules), isLeadByte_(IsLeadByte) {}

    void AppendRows(std::vector<TRowLength>& Rows) const {
        Integer start = 0;
        while (start + rules_.MaxRowLength < length_) {
            const Integer end = endOfRow(start);
            Rows.push_back(static_cast<TRowLength>(end - start));
            start = end;
        }
        // A cut that fell exactly on the end leaves no empty row behind; an empty line still has one.
        if (start < length_ || length_ == 0) Rows.push_back(static_cast<TRowLength>(length_ - start));
    }

private:
    Integer endOfRow(Integer Start) const {
        Integer end = Start + rules_.MaxRowLength;
        end = isBlank(text_[end]) ? afterBlanks(end) : afterLastBreak(Start, end);
        end = withinRowLengthLimit(Start, end);
        return keepingDoubleByteCharactersWhole(Start, end);
    }

    // Blanks at a cut end the row, so the next row starts with text.
    Integer afterBlanks(Integer End) const {
        while (End < length_ && isBlank(text_[End]))
            ++End;
        return End;
    }

    // Breaks are sought only after the row's first MinRowLength characters,
    // so a row is not left nearly empty; without one the row is cut hard.
    Integer afterLastBreak(Integer Start, Integer End) const {
        for (Integer k = End - 1; k > Start + rules_.MinRowLength; --k)
            if (rules_.BreakChars.Contains(text_[k])) return k + 1;
        return End;
    }

    // Row lengths are single bytes. A long run of blanks is cut back to a tab
    // stop rather than in the middle of a tab's padding.
    Integer withinRowLengthLimit(Integer Start, Integer End) const {
        if (End - Start <= RowLengthLimit) return End;
        End = Start + RowLengthLimit;
        const Integer tabStop = Start + RowLengthLimit - RowLengthLimit % std::max(rules_.TabWidth, 1);
        while (text_[End] == '\t' && End > tabStop)
            --End;
        return End;
    }

    // A cut inside a double-byte character moves before it; when that
    // character starts the row, the row takes it whole instead, so every row
    // holds at least one character and wrapping always advances.
    Integer keepingDoubleByteCharactersWhole(Integer Start, Integer End) const {
        if (!isSecondByte(Start, End)) return End;
        return End - 1 > Start ? End - 1 : End + 1;
    }

    // Whether Index falls on the second byte of a double-byte character,
    // classifying the bytes from Start on.
    bool isSecondByte(Integer Start, Integer Index) const {
        if (Index >= length_) return false;
        Integer position = Start;
        while (position < Index) {
            if (isLeadByte_(text_[position]) && position + 1 < length_) {
                if (position + 1 == Index) return true;
                position += 2;
            } else {
                ++position;
            }
        }
        return false;
    }

    const AnsiString& text_;
    Integer length_;
    const TRowBreakRules& rules_;
    LeadByteTest isLeadByte_;
};

} // namespace

TSynWordWrapPlugin::TSynWordWrapPlugin(TCustomSynEdit* AOwner) : editor_(AOwner) {
    if (AOwner == nullptr) throw Exception(SOwnerMissing);
    Reset();
}

bool TSynWordWrapPlugin::IsLeadByte(char C) const {
    return IsDBCSLeadByte(static_cast<Byte>(C));
}

// ---- Position mapping -------------------------------------------------------------------------

TDisplayCoord TSynWordWrapPlugin::BufferToDisplayPos(const TBufferCoord& Pos) {
    Assert(Pos.Char >= 1 && Pos.Line >= 1);
    if (Pos.Line > lineCount_) return {Pos.Char, RowCount() + Pos.Line - lineCount_};
    const TRowIndex last = lineOffsets_[Pos.Line - 1];
    Integer total = 0;
    for (TRowIndex row = firstRowOfLine(Pos.Line - 1); row < last; ++row) {
        total += rowLengths_[row];
        if (Pos.Char <= total) return {Pos.Char - total + rowLengths_[row], row + 1};
    }
    // Past the end of the line: its last row, with the column growing beyond the row.
    return {Pos.Char - total + rowLengths_[last - 1], last};
}

TBufferCoord TSynWordWrapPlugin::DisplayToBufferPos(const TDisplayCoord& Pos) {
    Assert(Pos.Column >= 1 && Pos.Row >= 1);
    if (Pos.Row > RowCount()) return {Pos.Column, Pos.Row - RowCount() + lineCount_};
    const auto offsets = lineOffsets_.begin();
    const TLineIndex line =
        static_cast<TLineIndex>(std::lower_bound(offsets, offsets + lineCount_, Pos.Row) - offsets);
    const TRowIndex row = Pos.Row - 1;
    const bool isLastRowOfLine = Pos.Row == lineOffsets_[line];
    Integer character = std::min(Pos.Column, (isLastRowOfLine ? maxRowLength_ : rowLengths_[row]) + 1);
    for (TRowIndex before = firstRowOfLine(line); before < row; ++before)
        character += rowLengths_[before];
    return {character, line + 1};
}

Integer TSynWordWrapPlugin::RowCount() {
    return lineCount_ < 1 ? 0 : lineOffsets_[lineCount_ - 1];
}

Integer TSynWordWrapPlugin::GetRowLength(Integer Row) {
    if (Row < 1 || Row > RowCount()) throw EListError(Format(SListIndexError, {Row}));
    return rowLengths_[Row - 1];
}

// ---- Buffer notifications ---------------------------------------------------------------------

Integer TSynWordWrapPlugin::LinesInserted(Integer Index, Integer Count) {
    if (maxRowLength_ == 0) return 0;
    Assert(Index >= 0 && Count >= 1 && Index <= lineCount_);
    GrowLines(lineCount_ + Count);
    const Integer oldLineCount = lineCount_;
    lineCount_ += Count;
    if (Index < oldLineCount) MoveLines(Index, Count);
    // The new lines start with no rows; wrapping them adds their rows.
    std::fill_n(lineOffsets_.begin() + Index, Count, firstRowOfLine(Index));
    Integer rowsAdded = 0;
    for (TLineIndex line = Index; line < Index + Count; ++line)
        rowsAdded += ReWrapLine(line);
    return rowsAdded;
}

Integer TSynWordWrapPlugin::LinesDeleted(Integer Index, Integer Count) {
    if (maxRowLength_ == 0) return 0;
    checkLineRange(Index, Count);
    const TRowIndex start = firstRowOfLine(Index);
    const TRowIndex end = lineOffsets_[Index + Count - 1];
    const Integer rowsRemoved = end - start;
    if (end < RowCount()) MoveRows(end, -rowsRemoved);
    if (Index + Count < lineCount_) MoveLines(Index + Count, -Count);
    lineCount_ -= Count;
    addToEach(lineOffsets_, Index, lineCount_, -rowsRemoved);
    return rowsRemoved;
}

Integer TSynWordWrapPlugin::LinesPutted(Integer Index, Integer Count) {
    if (maxRowLength_ == 0) return 0;
    checkLineRange(Index, Count);
    Integer rowsAdded = 0;
    for (TLineIndex line = Index; line < Index + Count; ++line)
        rowsAdded += ReWrapLine(line);
    return rowsAdded;
}

void TSynWordWrapPlugin::DisplayChanged() {
    if (widthInCharacters() != maxRowLength_) Reset();
}

void TSynWordWrapPlugin::Reset() {
    const Integer width = widthInCharacters();
    Assert(width >= 0);
    maxRowLength_ = static_cast<TRowLength>(width);
    minRowLength_ = static_cast<TRowLength>(std::max(width - width / 3, 1));
    breakChars_ = complementOf(editor_->IdentChars());
    WrapLines();
}

// ---- Wrapping ---------------------------------------------------------------------------------

void TSynWordWrapPlugin::WrapLines() {
    const Integer count = editor_->Lines()->Count();
    if (count == 0 || maxRowLength_ == 0) {
        SetEmpty();
        return;
    }
    GrowLines(count);
    TRowIndex rows = 0;
    for (TLineIndex line = 0; line < count; ++line) {
        breakLine(line);
        const Integer rowsOfLine = static_cast<Integer>(rowsOfLine_.size());
        GrowRows(rows + rowsOfLine);
        std::copy(rowsOfLine_.begin(), rowsOfLine_.end(), rowLengths_.begin() + rows);
        rows += rowsOfLine;
        lineOffsets_[line] = rows;
    }
    lineCount_ = count;
}

Integer TSynWordWrapPlugin::ReWrapLine(TLineIndex Index) {
    breakLine(Index);
    const TRowIndex first = firstRowOfLine(Index);
    const TRowIndex last = lineOffsets_[Index];
    const TRowIndex oldRowCount = RowCount();
    const Integer delta = static_cast<Integer>(rowsOfLine_.size()) - (last - first);
    if (delta > 0) {
        GrowRows(oldRowCount + delta);
        addToEach(lineOffsets_, Index, lineCount_, delta);
        if (last < oldRowCount) MoveRows(last, delta);
    } else if (delta < 0) {
        if (last < oldRowCount) MoveRows(last, delta);
        addToEach(lineOffsets_, Index, lineCount_, delta);
    }
    std::copy(rowsOfLine_.begin(), rowsOfLine_.end(), rowLengths_.begin() + first);
    return delta;
}

void TSynWordWrapPlugin::breakLine(TLineIndex Index) {
    rowsOfLine_.clear();
    const AnsiString text = editor_->Lines()->GetExpandedString(Index);
    const TRowBreakRules rules{maxRowLength_, minRowLength_, breakChars_, editor_->TabWidth()};
    TLineBreaker breaker(text, rules, [this](char C) { return IsLeadByte(C); });
    breaker.AppendRows(rowsOfLine_);
}

// ---- Arrays -----------------------------------------------------------------------------------

void TSynWordWrapPlugin::GrowLines(Integer Min) {
    Assert(Min >= 1);
    if (Min > static_cast<Integer>(lineOffsets_.size()))
        lineOffsets_.resize(grownCapacity(Min, LineCapacityStep));
}

void TSynWordWrapPlugin::GrowRows(Integer Min) {
    Assert(Min >= 1);
    if (Min > static_cast<Integer>(rowLengths_.size()))
        rowLengths_.resize(grownCapacity(Min, RowCapacityStep));
}

void TSynWordWrapPlugin::MoveLines(TLineIndex Start, Integer By) {
    moveEntries(lineOffsets_, Start, By, lineCount_ - Start - std::max(By, 0));
}

void TSynWordWrapPlugin::MoveRows(TRowIndex Start, Integer By) {
    moveEntries(rowLengths_, Start, By, RowCount() - Start - std::max(By, 0));
}

void TSynWordWrapPlugin::SetEmpty() {
    lineCount_ = 0;
    TrimArrays();
}

void TSynWordWrapPlugin::TrimArrays() {
    rowLengths_.resize(RowCount());
    rowLengths_.shrink_to_fit();
    lineOffsets_.resize(lineCount_);
    lineOffsets_.shrink_to_fit();
}

// ---- Helpers ----------------------------------------------------------------------------------

Integer TSynWordWrapPlugin::widthInCharacters() const {
    return std::min(editor_->CharsInWindow(), RowLengthLimit);
}

// 0-based: the index of the line's first row, which is the row count before the line.
TRowIndex TSynWordWrapPlugin::firstRowOfLine(TLineIndex Index) const {
    return Index == 0 ? 0 : lineOffsets_[Index - 1];
}

void TSynWordWrapPlugin::checkLineRange(TLineIndex Index, Integer Count) const {
    Assert(Index >= 0 && Count >= 1 && Count <= lineCount_ - Index);
}
