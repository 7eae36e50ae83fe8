// The caret and the selection of the editor control: where the caret may
// stand, the selection in its three modes, the one primitive that replaces
// the selection with a text, pasting, and the selection as character indexes.
#include "editor/SynEdit.h"
#include "editor/SynEditMiscProcs.h"
#include "editor/SynEditWordWrap.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/win/Cursors.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/Mouse.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

// A line break counts as CR LF in character indexes, whatever the file format.
constexpr Integer CharIndexLineBreak = 2;
// The private clipboard block: a selection-mode byte, then the text and its NUL.
constexpr SIZE_T BlockModeSize = 1;
constexpr Byte LastSelectionMode = smColumn;
constexpr const char* PasteFailedText = "Clipboard paste operation failed.";
constexpr const char* LineBreakText = "\r\n";

// Word groups of the character classification: characters of one group form a word.
enum TWordGroup {
    wgOther,
    wgHalfwidth,
    wgHalfwidthSymbol,
    wgHalfwidthKatakana,
    wgFullwidth,
    wgSymbol,
    wgKatakana,
    wgHiragana,
    wgIdeograph,
    wgPlainSymbol
};

// Cuts Value at CR LF, lone CR and lone LF: every piece but the last ended
// in a break, and the last is the text after the last break (possibly empty).
std::vector<AnsiString> splitAtLineBreaks(const char* Value) {
    std::vector<AnsiString> pieces;
    const char* start = Value;
    for (;;) {
        const char* end = GetEOL(start);
        pieces.emplace_back(start, static_cast<std::size_t>(end - start));
        if (*end == '\0') break;
        start = end + 1;
        if (*end == '\r' && *start == '\n') ++start;
    }
    return pieces;
}

TWordGroup wordGroupOf(Word Class) {
    constexpr Word halfwidthAlpha = C3_HALFWIDTH | C3_ALPHA;
    constexpr Word fullwidthAlpha = C3_FULLWIDTH | C3_ALPHA;
    if (Class == C3_HALFWIDTH || Class == halfwidthAlpha) return wgHalfwidth;
    if ((Class & C3_HALFWIDTH) != 0 && (Class & (C3_SYMBOL | C3_LEXICAL)) != 0) return wgHalfwidthSymbol;
    if ((Class & C3_HALFWIDTH) != 0 && (Class & C3_KATAKANA) != 0) return wgHalfwidthKatakana;
    if (Class == C3_FULLWIDTH || Class == fullwidthAlpha) return wgFullwidth;
    if (Class == C3_SYMBOL) return wgPlainSymbol;
    if ((Class & (C3_SYMBOL | C3_LEXICAL)) != 0) return wgSymbol;
    if ((Class & C3_KATAKANA) != 0) return wgKatakana;
    if ((Class & C3_HIRAGANA) != 0) return wgHiragana;
    if ((Class & C3_IDEOGRAPH) != 0) return wgIdeograph;
    return wgOther;
}

// Whether the character of class Class ends the word whose first character had ReferenceClass.
bool endsWord(char Character, Word Class, Word ReferenceClass, const TSynIdentChars& IdentChars) {
    switch (wordGroupOf(Class)) {
    case wgHalfwidth:
    case wgHalfwidthSymbol:
        return !IdentChars.Contains(Character);
    case wgSymbol:
    case wgPlainSymbol:
        return true;
    default:
        return Class != ReferenceClass;
    }
}

} // namespace

// ---- Caret ----------------------------------------------------------------------------------

void TCustomSynEdit::SetCaretXYEx(bool CallEnsureCursorPos, TBufferCoord Value) {
    caretAtEOL_ = false;
    const bool windowExists = HandleAllocated();
    if (windowExists) DoOnPaintTransient(ttBefore);
    const bool pastEol = options_.Contains(eoScrollPastEol);
    Integer maxX = WordWrap() ? INT_MAX : maxScrollWidth_ + 1;
    Value.Line = std::min(Value.Line, lines_->Count());
    if (Value.Line < 1) {
        Value.Line = 1;
        if (!pastEol) maxX = 1;
    } else if (!pastEol) {
        maxX = lengthOf(lines_->Get(Value.Line - 1)) + 1;
    }
    if (Value.Char > maxX && !(pastEol && options_.Contains(eoAutoSizeMaxScrollWidth))) Value.Char = maxX;
    Value.Char = std::max(Value.Char, 1);
    if (Value == GetCaretXY()) {
        UpdateLastCaretX();
    } else {
        WithPaintLock([&] {
            if (Value.Char != caretX_) {
                caretX_ = Value.Char;
                StatusChanged(TSynStatusChanges{scCaretX});
            }
            if (Value.Line != caretY_) {
                if (activeLineColor_ != clNone) {
                    InvalidateLine(Value.Line);
                    InvalidateLine(caretY_);
                }
                caretY_ = Value.Line;
                StatusChanged(TSynStatusChanges{scCaretY});
            }
            // Before the lock ends, so that a failing status handler leaves it consistent.
            UpdateLastCaretX();
            if (CallEnsureCursorPos) EnsureCursorPosVisible();
            stateFlags_.Include(sfCaretChanged);
            stateFlags_.Include(sfScrollbarChanged);
        });
    }
    if (windowExists) DoOnPaintTransient(ttAfter);
}

void TCustomSynEdit::SetCaretXY(const TBufferCoord& Value) {
    WithPaintLock([&] {
        statusChanges_.Include(scSelection);
        SetCaretXYEx(true, Value);
        if (GetSelAvail()) InvalidateSelection();
        blockBegin_ = GetCaretXY();
        blockEnd_ = blockBegin_;
    });
}

void TCustomSynEdit::InternalSetCaretXY(const TBufferCoord& Value) {
    SetCaretXYEx(true, Value);
}

void TCustomSynEdit::SetCaretX(Integer Value) {
    SetCaretXY(BufferCoord(Value, caretY_));
}

void TCustomSynEdit::SetCaretY(Integer Value) {
    SetCaretXY(BufferCoord(caretX_, Value));
}

void TCustomSynEdit::InternalSetCaretX(Integer Value) {
    InternalSetCaretXY(BufferCoord(Value, caretY_));
}

void TCustomSynEdit::InternalSetCaretY(Integer Value) {
    InternalSetCaretXY(BufferCoord(caretX_, Value));
}

TDisplayCoord TCustomSynEdit::GetDisplayXY() {
    TDisplayCoord result = BufferToDisplayPos(GetCaretXY());
    if (WordWrap() && caretAtEOL_) {
        if (result.Column == 1) {
            --result.Row;
            result.Column = WordWrapPlugin()->GetRowLength(result.Row) + 1;
        } else {
            caretAtEOL_ = false;
        }
    }
    return result;
}

Integer TCustomSynEdit::GetDisplayX() {
    return GetDisplayXY().Column;
}

Integer TCustomSynEdit::GetDisplayY() {
    return WordWrap() ? GetDisplayXY().Row : caretY_;
}

void TCustomSynEdit::UpdateLastCaretX() {
    doubleByteStepAside_ = false;
    lastCaretX_ = GetDisplayX();
}

bool TCustomSynEdit::CaretInView() {
    const TDisplayCoord caret = GetDisplayXY();
    return caret.Column >= leftChar_ && caret.Column <= leftChar_ + charsInWindow_ && caret.Row >= topLine_ &&
           caret.Row <= topLine_ + linesInWindow_;
}

// ---- Selection ------------------------------------------------------------------------------

// Steps 2 and 3 of placing an end of the selection: inside the text, and in
// normal mode not beyond the end of its line.
TBufferCoord TCustomSynEdit::clampBlockPosition(TBufferCoord Value) const {
    if (options_.Contains(eoScrollPastEol) && !WordWrap())
        Value.Char = MinMax(Value.Char, 1, maxScrollWidth_ + 1);
    else
        Value.Char = std::max(Value.Char, 1);
    Value.Line = MinMax(Value.Line, 1, lines_->Count());
    if (activeSelectionMode_ == smNormal) {
        Value.Char = Value.Line <= lines_->Count()
                         ? std::min(Value.Char, lengthOf(lines_->Get(Value.Line - 1)) + 1)
                         : 1;
    }
    return Value;
}

void TCustomSynEdit::SetBlockBegin(TBufferCoord Value) {
    activeSelectionMode_ = selectionMode_;
    Value = clampBlockPosition(Value);
    bool changed = true;
    if (GetSelAvail()) {
        InvalidateLines(std::min({blockBegin_.Line, blockEnd_.Line, Value.Line}),
                        std::max({blockBegin_.Line, blockEnd_.Line, Value.Line}));
    } else {
        changed = blockBegin_ != Value || blockEnd_ != Value;
    }
    blockBegin_ = Value;
    blockEnd_ = Value;
    if (changed) StatusChanged(TSynStatusChanges{scSelection});
}

void TCustomSynEdit::SetBlockEnd(TBufferCoord Value) {
    activeSelectionMode_ = selectionMode_;
    if (options_.Contains(eoNoSelection)) return;
    Value = clampBlockPosition(Value);
    if (Value == blockEnd_) return;
    if (Value.Line <= lines_->Count()) {
        const AnsiString line = lines_->Get(Value.Line - 1);
        if (Value.Char <= lengthOf(line) && ByteType(line, Value.Char) == mbTrailByte) {
            --Value.Char;
            if (Value == blockEnd_) return;
        }
    }
    if (activeSelectionMode_ == smColumn && Value.Char != blockEnd_.Char) {
        InvalidateLines(std::min({blockBegin_.Line, blockEnd_.Line, Value.Line}),
                        std::max({blockBegin_.Line, blockEnd_.Line, Value.Line}));
        blockEnd_ = Value;
    } else {
        const Integer oldLine = blockEnd_.Line;
        blockEnd_ = Value;
        if (activeSelectionMode_ != smColumn || blockBegin_.Char != blockEnd_.Char)
            InvalidateLines(oldLine, blockEnd_.Line);
    }
    StatusChanged(TSynStatusChanges{scSelection});
}

void TCustomSynEdit::SelectAll() {
    const Integer count = lines_->Count();
    const TBufferCoord last =
        count > 0 ? BufferCoord(lengthOf(lines_->Get(count - 1)) + 1, count) : BufferCoord(1, 1);
    SetCaretAndSelection(last, BufferCoord(1, 1), last);
    StatusChanged(TSynStatusChanges{scSelection});
}

// The word is a run of characters of one classification around Value; the
// platform's ANSI character classes stand in for the locale's tables.
void TCustomSynEdit::SetWordBlock(TBufferCoord Value) {
    if (options_.Contains(eoScrollPastEol) && !WordWrap())
        Value.Char = MinMax(Value.Char, 1, maxScrollWidth_ + 1);
    else
        Value.Char = std::max(Value.Char, 1);
    Value.Line = MinMax(Value.Line, 1, lines_->Count());
    const AnsiString line = lines_->Get(Value.Line - 1);
    const Integer length = lengthOf(line);
    if (Value.Char > length + 1) {
        InternalSetCaretXY(BufferCoord(length + 1, Value.Line));
        return;
    }
    TSynIdentChars identChars;
    TSynIdentChars whiteChars;
    PrepareIdentChars(identChars, whiteChars);
    auto classOf = [&](Integer Char) {
        return AnsiCharType(Char <= length ? line[Char - 1] : '\0', CT_CTYPE3);
    };
    Word reference = classOf(Value.Char);
    if ((reference & C3_SYMBOL) != 0 && Value.Char > 1) reference = classOf(Value.Char - 1);
    auto ends = [&](Integer Char) { return endsWord(line[Char - 1], classOf(Char), reference, identChars); };
    Integer wordEnd = Value.Char;
    while (wordEnd <= length && !ends(wordEnd))
        ++wordEnd;
    Integer wordStart = Value.Char - 1;
    while (wordStart >= 1 && !ends(wordStart))
        --wordStart;
    const TBufferCoord endPos = BufferCoord(wordEnd, Value.Line);
    SetCaretAndSelection(endPos, BufferCoord(wordStart + 1, Value.Line), endPos);
    InvalidateLine(Value.Line);
    StatusChanged(TSynStatusChanges{scSelection});
}

void TCustomSynEdit::DblClick() {
    TPoint pointer{};
    GetCursorPos(&pointer);
    pointer = ScreenToClient(pointer);
    if (pointer.x < gutterWidth_ + TextMargin) {
        TCustomControl::DblClick();
        return;
    }
    if (!options_.Contains(eoNoSelection)) SetWordBlock(GetCaretXY());
    TCustomControl::DblClick();
    stateFlags_.Include(sfDblClicked);
    ReleaseCapture();
}

// ---- Replacing the selection ----------------------------------------------------------------

void TCustomSynEdit::SetSelTextPrimitive(const AnsiString& Value) {
    SetSelTextPrimitiveEx(activeSelectionMode_, Value.c_str(), true);
}

void TCustomSynEdit::SetSelTextPrimitiveEx(TSynSelectionMode PasteMode, const char* Value,
                                           bool AddToUndoList) {
    replaceSelection(PasteMode, Value, AddToUndoList, false);
}

// The blanks that carry a normal-mode insertion out to a caret past the line
// end can only be measured between the deletion and the insertion, so the
// callers that record the insertion itself have them recorded here.
void TCustomSynEdit::replaceSelection(TSynSelectionMode PasteMode, const char* Value, bool AddToUndoList,
                                      bool RecordPadding) {
    WithPaintLock([&] {
        lines_->BeginUpdate();
        try {
            const TBufferCoord BB = GetBlockBegin();
            const TBufferCoord BE = GetBlockEnd();
            if (GetSelAvail()) {
                TBufferCoord caret = deleteSelection(BB, BE);
                // A block of several lines replacing a column block takes its place from the
                // top: started on the line of the selection's end it would push the text down.
                if (activeSelectionMode_ == smColumn && PasteMode == smColumn && Value != nullptr &&
                    *GetEOL(Value) != '\0')
                    caret.Line = BB.Line;
                InternalSetCaretXY(caret);
            }
            if (Value != nullptr && *Value != '\0')
                insertText(PasteMode, Value, AddToUndoList, RecordPadding);
            if (caretY_ < 1) InternalSetCaretY(1);
        } catch (...) {
            lines_->EndUpdate();
            throw;
        }
        lines_->EndUpdate();
    });
}

// Returns where the caret goes. A column block removes no line, so the caret
// stays on the line where the selection was ended, at the block's left edge;
// after whole lines it stands at the start of the line that follows them.
TBufferCoord TCustomSynEdit::deleteSelection(TBufferCoord BB, TBufferCoord BE) {
    const Integer endLine = blockEnd_.Line;
    switch (activeSelectionMode_) {
    case smNormal:
        deleteNormalSelection(BB, BE);
        break;
    case smColumn:
        deleteColumnSelection(BB, BE);
        return BufferCoord(std::min(BB.Char, BE.Char), endLine);
    case smLine:
        deleteLineSelection(BB, BE);
        return BufferCoord(1, BB.Line);
    }
    return BB;
}

void TCustomSynEdit::deleteNormalSelection(TBufferCoord BB, TBufferCoord BE) {
    if (lines_->Count() > 0) {
        const AnsiString first = lines_->Get(BB.Line - 1);
        const AnsiString last = lines_->Get(BE.Line - 1);
        AnsiString joined = first.substr(0, static_cast<std::size_t>(std::min(BB.Char - 1, lengthOf(first))));
        if (BE.Char - 1 < lengthOf(last)) joined += last.substr(static_cast<std::size_t>(BE.Char - 1));
        lines_->DeleteLines(BB.Line, BE.Line - BB.Line);
        if (options_.Contains(eoScrollPastEol) && options_.Contains(eoTrimTrailingSpaces))
            joined = TrimTrailingBlanks(joined);
        lines_->Put(BB.Line - 1, joined);
    }
    DoLinesDeleted(BB.Line, BE.Line - BB.Line);
}

void TCustomSynEdit::deleteColumnSelection(TBufferCoord BB, TBufferCoord BE) {
    for (Integer line = BB.Line; line <= std::min(BE.Line, lines_->Count()); ++line) {
        AnsiString text = lines_->Get(line - 1);
        const TColumnRange range = columnRangeInLine(text, BB.Char, BE.Char);
        if (range.From - 1 < lengthOf(text))
            text.erase(static_cast<std::size_t>(range.From - 1),
                       static_cast<std::size_t>(range.To - range.From));
        ProperSetLine(line - 1, text);
    }
}

// The characters a column block covers on one line, from the smaller to the
// larger of the two columns, never splitting a double-byte character.
TCustomSynEdit::TColumnRange TCustomSynEdit::columnRangeInLine(const AnsiString& Line, Integer FirstColumn,
                                                               Integer SecondColumn) const {
    TColumnRange range{std::min(FirstColumn, SecondColumn), std::max(FirstColumn, SecondColumn)};
    MBCSGetSelRangeInLineWhenColumnSelectionMode(Line, range.From, range.To);
    return range;
}

// What deleting the selection takes out of the buffer. The column text of
// GetSelText is padded for lines shorter than the block and measured in
// display columns; undo must put back only what was there.
AnsiString TCustomSynEdit::selectedTextInBuffer() const {
    if (activeSelectionMode_ != smColumn || !GetSelAvail()) return GetSelText();
    const TBufferCoord BB = GetBlockBegin();
    const TBufferCoord BE = GetBlockEnd();
    AnsiString text;
    for (Integer line = BB.Line; line <= std::min(BE.Line, lines_->Count()); ++line) {
        const AnsiString lineText = lines_->Get(line - 1);
        const TColumnRange range = columnRangeInLine(lineText, BB.Char, BE.Char);
        if (line > BB.Line) text += LineBreakText;
        if (range.From - 1 < lengthOf(lineText))
            text += lineText.substr(static_cast<std::size_t>(range.From - 1),
                                    static_cast<std::size_t>(range.To - range.From));
    }
    return text;
}

void TCustomSynEdit::deleteLineSelection(TBufferCoord BB, TBufferCoord BE) {
    if (BE.Line >= lines_->Count()) {
        lines_->Put(BE.Line - 1, AnsiString());
        lines_->DeleteLines(BB.Line - 1, BE.Line - BB.Line);
    } else {
        lines_->DeleteLines(BB.Line - 1, BE.Line - BB.Line + 1);
    }
    DoLinesDeleted(BB.Line, BE.Line - BB.Line + 1);
}

// Inserts Value at the caret in PasteMode and places the caret after it.
void TCustomSynEdit::insertText(TSynSelectionMode PasteMode, const char* Value, bool AddToUndoList,
                                bool RecordPadding) {
    const TBufferCoord start = GetCaretXY();
    const TBufferCoord lineEnd = BufferCoord(lengthOf(lines_->Get(start.Line - 1)) + 1, start.Line);
    const std::vector<AnsiString> pieces = splitAtLineBreaks(Value);
    TBufferCoord caret = start;
    Integer inserted = 0;
    switch (PasteMode) {
    case smNormal:
        inserted = insertNormal(pieces, caret);
        if (RecordPadding) recordInsertionPadding(lineEnd, start);
        break;
    case smColumn:
        inserted = insertColumn(pieces, caret, AddToUndoList);
        break;
    case smLine:
        inserted = insertLines(pieces, caret);
        break;
    }
    if (inserted > 0)
        DoLinesInserted(PasteMode == smNormal && start.Char >= 2 ? start.Line + 1 : start.Line, inserted);
    InternalSetCaretXY(caret);
}

Integer TCustomSynEdit::insertNormal(const std::vector<AnsiString>& Pieces, TBufferCoord& Caret) {
    const AnsiString line = lines_->Get(Caret.Line - 1);
    const std::size_t leftLength = static_cast<std::size_t>(Caret.Char - 1);
    AnsiString left = line.substr(0, std::min(leftLength, line.size()));
    left.resize(leftLength, ' ');
    const AnsiString right = leftLength < line.size() ? line.substr(leftLength) : AnsiString();
    const Integer breaks = static_cast<Integer>(Pieces.size()) - 1;
    AnsiString built;
    if (breaks == 0) {
        built = left + Pieces.front();
        ProperSetLine(Caret.Line - 1, built + right);
    } else {
        ProperSetLine(Caret.Line - 1, left + Pieces.front());
        lines_->InsertLines(Caret.Line, breaks);
        for (std::size_t i = 1; i < Pieces.size(); ++i) {
            ++Caret.Line;
            const bool lastPiece = i + 1 == Pieces.size();
            built = Pieces[i];
            ProperSetLine(Caret.Line - 1, lastPiece ? built + right : built);
        }
    }
    const Integer finalLength = lengthOf(lines_->Get(Caret.Line - 1));
    if (!options_.Contains(eoTrimTrailingSpaces))
        Caret.Char = finalLength + 1 - lengthOf(right);
    else if (!right.empty())
        Caret.Char = finalLength + 1 - lengthOf(TrimTrailingBlanks(right));
    else
        Caret.Char = lengthOf(built) + 1;
    return breaks;
}

Integer TCustomSynEdit::insertColumn(const std::vector<AnsiString>& Pieces, TBufferCoord& Caret,
                                     bool AddToUndoList) {
    const Integer insertColumn = Caret.Char;
    Integer inserted = 0;
    for (std::size_t i = 0; i < Pieces.size(); ++i) {
        const AnsiString& piece = Pieces[i];
        const bool lastPiece = i + 1 == Pieces.size();
        if (Caret.Line <= lines_->Count()) {
            if (!piece.empty()) {
                AnsiString line = lines_->Get(Caret.Line - 1);
                const TBufferCoord lineEnd = BufferCoord(lengthOf(line) + 1, Caret.Line);
                Integer column = insertColumn;
                if (lengthOf(line) < column - 1)
                    line.resize(static_cast<std::size_t>(column - 1), ' ');
                else if (column <= lengthOf(line) && ByteType(line, column) == mbTrailByte)
                    ++column;
                line.insert(static_cast<std::size_t>(column - 1), piece);
                ProperSetLine(Caret.Line - 1, line);
                if (AddToUndoList) recordInsertionPadding(lineEnd, BufferCoord(insertColumn, Caret.Line));
                recordColumnInsert(insertColumn, Caret.Line, piece, AddToUndoList);
            }
        } else if (!(lastPiece && piece.empty())) {
            // Below the last line the block grows the text by padded lines.
            lines_->Add(AnsiString());
            ++inserted;
            if (AddToUndoList) {
                const TBufferCoord lineEnd =
                    BufferCoord(lengthOf(lines_->Get(Caret.Line - 2)) + 1, Caret.Line - 1);
                UndoList()->AddChange(crLineBreak, lineEnd, lineEnd, AnsiString(), smNormal);
            }
            ProperSetLine(Caret.Line - 1,
                          AnsiString(static_cast<std::size_t>(insertColumn - 1), ' ') + piece);
            recordColumnInsert(insertColumn, Caret.Line, piece, AddToUndoList);
        }
        if (!lastPiece) ++Caret.Line;
    }
    Caret.Char = insertColumn + lengthOf(Pieces.back());
    return inserted;
}

void TCustomSynEdit::recordColumnInsert(Integer Column, Integer Line, const AnsiString& Piece,
                                        bool AddToUndoList) {
    if (!AddToUndoList) return;
    UndoList()->AddChange(crInsert, BufferCoord(Column, Line), BufferCoord(Column + lengthOf(Piece), Line),
                          AnsiString(), activeSelectionMode_);
}

// Blanks that carried an insertion out to a position past the line end are
// recorded, so that undo takes them out again. Trimming may already have
// taken them with a blank insertion; then there is nothing to record.
void TCustomSynEdit::recordInsertionPadding(TBufferCoord LineEnd, TBufferCoord InsertedAt) {
    const bool padded = LineEnd.Char < InsertedAt.Char;
    if (padded && lengthOf(lines_->Get(InsertedAt.Line - 1)) >= InsertedAt.Char - 1)
        recordPadding(LineEnd, InsertedAt);
}

Integer TCustomSynEdit::insertLines(const std::vector<AnsiString>& Pieces, TBufferCoord& Caret) {
    const bool trim = options_.Contains(eoTrimTrailingSpaces);
    auto trimmed = [trim](const AnsiString& Line) { return trim ? TrimTrailingBlanks(Line) : Line; };
    Caret.Char = 1;
    Integer inserted = 0;
    for (std::size_t i = 0; i + 1 < Pieces.size(); ++i) {
        lines_->Insert(Caret.Line - 1, trimmed(Pieces[i]));
        ++Caret.Line;
        ++inserted;
    }
    const AnsiString& last = Pieces.back();
    if (Caret.Line <= lines_->Count())
        lines_->Put(Caret.Line - 1, trimmed(last + lines_->Get(Caret.Line - 1)));
    else
        lines_->Add(trimmed(last));
    Caret.Char = lengthOf(last) + 1;
    return inserted;
}

void TCustomSynEdit::DeleteSelectionAsUndoStep() {
    const TBufferCoord anchor = blockBegin_;
    const TBufferCoord end = blockEnd_;
    const AnsiString text = selectedTextInBuffer();
    SetSelTextPrimitive(AnsiString());
    UndoList()->AddChange(isBefore(anchor, end) ? crDelete : crDeleteAfterCursor, anchor, end, text,
                          activeSelectionMode_);
}

void TCustomSynEdit::InsertBlock(TBufferCoord BB, TBufferCoord BE, const char* ChangeStr,
                                 bool AddToUndoList) {
    SetCaretAndSelection(BB, BB, BE);
    activeSelectionMode_ = smColumn;
    SetSelTextPrimitiveEx(smColumn, ChangeStr, AddToUndoList);
    StatusChanged(TSynStatusChanges{scSelection});
}

// ---- Whole text and lines -------------------------------------------------------------------

void TCustomSynEdit::SynSetText(const AnsiString& Value) {
    lines_->SetText(Value);
}

void TCustomSynEdit::SetLines(TStrings* Value) {
    lines_->Assign(Value);
}

void TCustomSynEdit::SetLineText(const AnsiString& Value) {
    if (caretY_ >= 1 && caretY_ <= std::max(1, lines_->Count())) lines_->Put(caretY_ - 1, Value);
}

// ---- Pasting --------------------------------------------------------------------------------

bool TCustomSynEdit::GetCanPaste() const {
    return !ReadOnly() &&
           (Clipboard()->HasFormat(CF_TEXT) || Clipboard()->HasFormat(SynEditClipboardFormat()));
}

void TCustomSynEdit::PasteFromClipboard() {
    if (!GetCanPaste()) return;
    TSynEditBlock block;
    const bool privateBlock = Clipboard()->HasFormat(SynEditClipboardFormat()) && readPrivateBlock(block);
    if (!privateBlock) {
        if (!Clipboard()->HasFormat(CF_TEXT)) return;
        block.Text = Clipboard()->AsText();
    }
    DoOnPaintTransient(ttBefore);
    BeginUndoBlock();
    try {
        recordPasteStart();
        if (privateBlock)
            pastePrivateBlock(block);
        else
            pastePlainText(block.Text);
    } catch (...) {
        recordPasteEnd();
        EndUndoBlock();
        throw;
    }
    recordPasteEnd();
    EndUndoBlock();
    if (options_.Contains(eoHideShowScrollbars)) updateScrollBarsDespitePaintLock();
    EnsureCursorPosVisible();
    StatusChanged(TSynStatusChanges{scSelection});
    DoOnPaintTransient(ttAfter);
}

void TCustomSynEdit::updateScrollBarsDespitePaintLock() {
    const Integer lockCount = paintLock_;
    paintLock_ = 0;
    try {
        UpdateScrollBars();
    } catch (...) {
        paintLock_ = lockCount;
        throw;
    }
    paintLock_ = lockCount;
}

// Reads the editor's own clipboard block. The block comes from any program,
// so the text is read no further than the block's size, and a block too small
// for its mode byte or with an unknown mode is not taken: the caller then
// pastes the plain text that is always placed beside it.
bool TCustomSynEdit::readPrivateBlock(TSynEditBlock& Block) {
    TClipboard* clipboard = Clipboard();
    clipboard->Open();
    try {
        HGLOBAL memory = clipboard->GetAsHandle(SynEditClipboardFormat());
        const auto* data = static_cast<const char*>(GlobalLock(memory));
        if (data == nullptr) throw ESynEditError(PasteFailedText);
        const SIZE_T size = GlobalSize(memory);
        const bool valid = size >= BlockModeSize && static_cast<Byte>(data[0]) <= LastSelectionMode;
        try {
            if (valid) {
                Block.Mode = static_cast<TSynSelectionMode>(data[0]);
                const char* text = data + BlockModeSize;
                Block.Text.assign(text, strnlen(text, size - BlockModeSize));
            }
        } catch (...) {
            GlobalUnlock(memory);
            throw;
        }
        GlobalUnlock(memory);
        clipboard->Close();
        return valid;
    } catch (...) {
        clipboard->Close();
        throw;
    }
}

void TCustomSynEdit::recordPasteStart() {
    UndoList()->AddChange(crPasteBegin, GetBlockBegin(), GetBlockEnd(), AnsiString(), smNormal);
    if (GetSelAvail())
        UndoList()->AddChange(crDelete, blockBegin_, blockEnd_, selectedTextInBuffer(), activeSelectionMode_);
}

void TCustomSynEdit::recordPasteEnd() {
    UndoList()->AddChange(crPasteEnd, GetBlockBegin(), GetBlockEnd(), AnsiString(), smNormal);
}

// The anchor and the end become the ordered begin and end, so the
// replacement and its undo items agree on where the selection starts.
void TCustomSynEdit::orderSelectionEnds() {
    const TBufferCoord begin = GetBlockBegin();
    blockEnd_ = GetBlockEnd();
    blockBegin_ = begin;
}

// Without a selection the text goes in at the caret, wherever an earlier
// selection left its collapsed ends; the undo record must start there too.
TBufferCoord TCustomSynEdit::replacementStart() const {
    return GetSelAvail() ? GetBlockBegin() : GetCaretXY();
}

void TCustomSynEdit::pastePrivateBlock(const TSynEditBlock& Block) {
    TBufferCoord start = GetCaretXY();
    if (GetSelAvail()) {
        start = GetBlockBegin();
        if (activeSelectionMode_ == smLine) start.Char = 1;
        orderSelectionEnds();
    }
    replaceSelection(Block.Mode, Block.Text.c_str(), true, true);
    const TBufferCoord end = GetCaretXY();
    switch (Block.Mode) {
    case smNormal:
        UndoList()->AddChange(crPaste, start, end, GetSelText(), smNormal);
        break;
    case smColumn:
        break;
    case smLine:
        if (caretX_ == 1)
            UndoList()->AddChange(crPaste, BufferCoord(1, start.Line),
                                  BufferCoord(charsInWindow_, end.Line - 1), GetSelText(), smLine);
        else
            UndoList()->AddChange(crPaste, BufferCoord(1, start.Line), end, GetSelText(), smNormal);
        break;
    }
}

void TCustomSynEdit::pastePlainText(const AnsiString& Text) {
    if (!GetSelAvail()) activeSelectionMode_ = selectionMode_;
    orderSelectionEnds();
    const TBufferCoord start = replacementStart();
    replaceSelection(activeSelectionMode_, Text.c_str(), true, true);
    if (activeSelectionMode_ != smColumn) recordInsertion(crPaste, start, GetCaretXY(), GetSelText());
}

// A line-mode insertion starts at the start of its line and puts its last
// piece in front of the line it ends on. Recorded as plain text, its undo
// takes out just that; as lines it would take the joined line with it.
void TCustomSynEdit::recordInsertion(TSynChangeReason Reason, TBufferCoord Start, TBufferCoord End,
                                     const AnsiString& Text) {
    TSynSelectionMode mode = activeSelectionMode_;
    if (mode == smLine) {
        Start.Char = 1;
        mode = smNormal;
    }
    UndoList()->AddChange(Reason, Start, End, Text, mode);
}

// ---- Character-index selection --------------------------------------------------------------

TBufferCoord TCustomSynEdit::CharIndexToRowCol(Integer Index) const {
    Integer counted = 0;
    for (Integer i = 0; i < lines_->Count(); ++i) {
        const Integer length = lengthOf(lines_->Get(i));
        if (counted + length + CharIndexLineBreak > Index) return BufferCoord(Index - counted + 1, i + 1);
        counted += length + CharIndexLineBreak;
    }
    return BufferCoord(1, lines_->Count() + 1);
}

Integer TCustomSynEdit::RowColToCharIndex(TBufferCoord RowCol) const {
    const Integer linesBefore = std::min(lines_->Count(), RowCol.Line) - 1;
    Integer index = 0;
    for (Integer i = 0; i < linesBefore; ++i)
        index += lengthOf(lines_->Get(i)) + CharIndexLineBreak;
    return index + RowCol.Char - 1;
}

Integer TCustomSynEdit::GetSelStart() const {
    return RowColToCharIndex(GetSelAvail() ? GetBlockBegin() : GetCaretXY());
}

Integer TCustomSynEdit::GetSelEnd() const {
    return RowColToCharIndex(GetSelAvail() ? GetBlockEnd() : GetCaretXY());
}

Integer TCustomSynEdit::GetSelLength() const {
    return GetSelAvail() ? RowColToCharIndex(GetBlockEnd()) - RowColToCharIndex(GetBlockBegin()) : 0;
}

void TCustomSynEdit::SetSelStart(Integer Value) {
    HandleNeeded();
    InternalSetCaretXY(CharIndexToRowCol(Value));
    SetBlockBegin(GetCaretXY());
}

void TCustomSynEdit::SetSelEnd(Integer Value) {
    HandleNeeded();
    SetBlockEnd(CharIndexToRowCol(Value));
}

// A negative length that reaches before the text selects from the start of
// the text: the selection grows towards the front as far as there is text.
void TCustomSynEdit::SetSelLength(Integer Value) {
    const TBufferCoord start = GetBlockBegin();
    const Integer target = RowColToCharIndex(start) + Value;
    if (Value < 0) {
        const TBufferCoord newStart = CharIndexToRowCol(std::max(target, 0));
        SetCaretAndSelection(newStart, newStart, start);
    } else {
        const TBufferCoord newEnd = CharIndexToRowCol(target);
        SetCaretAndSelection(newEnd, start, newEnd);
    }
}

void TCustomSynEdit::SetSelTextExternal(const AnsiString& Value) {
    BeginUndoBlock();
    try {
        if (GetSelAvail())
            UndoList()->AddChange(crDelete, blockBegin_, blockEnd_, selectedTextInBuffer(),
                                  activeSelectionMode_);
        else
            activeSelectionMode_ = selectionMode_;
        orderSelectionEnds();
        const TBufferCoord start = replacementStart();
        replaceSelection(activeSelectionMode_, Value.c_str(), true, true);
        if (!Value.empty() && activeSelectionMode_ != smColumn)
            recordInsertion(crInsert, start, GetCaretXY(), AnsiString());
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

void TCustomSynEdit::ClearSelection() {
    if (GetSelAvail()) SetSelTextExternal(AnsiString());
}

void TCustomSynEdit::ClearAll() {
    lines_->Clear();
    markList_->Clear();
    ClearUndo();
    SetModified(false);
}

void TCustomSynEdit::ClearUndo() {
    UndoList()->Clear();
    RedoList()->Clear();
}

void TCustomSynEdit::SetSelWord() {
    SetWordBlock(GetCaretXY());
}

void TCustomSynEdit::SetSelectionMode(TSynSelectionMode Value) {
    if (selectionMode_ == Value) return;
    selectionMode_ = Value;
    SetActiveSelectionMode(Value);
}

void TCustomSynEdit::SetActiveSelectionMode(TSynSelectionMode Value) {
    if (activeSelectionMode_ == Value) return;
    if (GetSelAvail()) InvalidateSelection();
    activeSelectionMode_ = Value;
    if (GetSelAvail()) InvalidateSelection();
    StatusChanged(TSynStatusChanges{scSelection});
}

bool TCustomSynEdit::IsPointInSelection(const TBufferCoord& Value) const {
    const TBufferCoord begin = GetBlockBegin();
    const TBufferCoord end = GetBlockEnd();
    if (!GetSelAvail() || Value.Line < begin.Line || Value.Line > end.Line) return false;
    switch (activeSelectionMode_) {
    case smLine:
        return true;
    case smColumn:
        return Value.Char >= std::min(begin.Char, end.Char) && Value.Char < std::max(begin.Char, end.Char);
    case smNormal:
        break;
    }
    return !(Value.Line == begin.Line && Value.Char < begin.Char) &&
           !(Value.Line == end.Line && Value.Char >= end.Char);
}

void TCustomSynEdit::MBCSGetSelRangeInLineWhenColumnSelectionMode(const AnsiString& Line, Integer& ColFrom,
                                                                  Integer& ColTo) const {
    auto stepOffTrailByte = [&Line](Integer& Column) {
        if (Column >= 1 && Column <= lengthOf(Line) && ByteType(Line, Column) == mbTrailByte) ++Column;
    };
    stepOffTrailByte(ColFrom);
    stepOffTrailByte(ColTo);
}
