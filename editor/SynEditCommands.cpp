// How the editor carries out its commands: caret movement, the editing
// commands with their undo records, words and brackets, tabs, block indent and
// case changes.
#include "editor/SynEdit.h"
#include "editor/SynEditMiscProcs.h"
#include "editor/SynEditWordWrap.h"
#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Cursors.h"

#include <algorithm>
#include <array>

namespace {

constexpr unsigned FirstPrintableChar = 33;
constexpr unsigned CharacterCount = 256;
constexpr unsigned char FirstTypedChar = 32;
constexpr unsigned char DeleteChar = 127;
// How far typing past the right edge scrolls the view at most.
constexpr Integer TypingScrollColumns = 25;
const AnsiString LineBreakText = "\r\n";
// Opening brackets at even indexes, each followed by its closing partner.
constexpr std::array<char, 8> Brackets = {'(', ')', '[', ']', '{', '}', '<', '>'};

char charOf(unsigned code) {
    return static_cast<char>(static_cast<unsigned char>(code));
}

// Used when no highlighter tells otherwise.
TSynIdentChars defaultIdentChars() {
    TSynIdentChars chars("_");
    chars.IncludeRange('0', '9');
    chars.IncludeRange('A', 'Z');
    chars.IncludeRange('a', 'z');
    chars.IncludeRange(charOf(192), charOf(255));
    chars.Exclude(charOf(215));
    chars.Exclude(charOf(247));
    return chars;
}

const TSynIdentChars& defaultWordBreakChars() {
    static const TSynIdentChars chars("!\"'()*+,-./:;=?[\\]^{|}");
    return chars;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Blank in the wider sense of indentation: every control character counts.
bool isWhite(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

AnsiString spaces(Integer Count) {
    return AnsiString(static_cast<std::size_t>(std::max(0, Count)), ' ');
}

bool isLeadByteAt(const AnsiString& S, Integer Index) {
    return Index >= 1 && Index <= lengthOf(S) && ByteType(S, Index) == mbLeadByte;
}

bool isTrailByteAt(const AnsiString& S, Integer Index) {
    return Index >= 1 && Index <= lengthOf(S) && ByteType(S, Index) == mbTrailByte;
}

// Brackets the undo items of one change so that they are undone as one step.
// When the list already hands out a step's number (redo replays a line break
// through its command), the items join that step: a block of their own would
// split it in two.
template <typename Action> void inUndoBlock(TCustomSynEdit& Edit, Action&& action) {
    if (Edit.UndoList()->GetBlockChangeNumber() != 0 && Edit.UndoList()->GetBlockCount() == 0) {
        action();
        return;
    }
    Edit.UndoList()->BeginBlock();
    try {
        action();
    } catch (...) {
        Edit.UndoList()->EndBlock();
        throw;
    }
    Edit.UndoList()->EndBlock();
}

// Switches an option on for a scope and restores it on the way out, also on failure.
class ScopedOption {
public:
    ScopedOption(TSynEditorOptions& Options, TSynEditorOption Option)
        : options_(Options), option_(Option), wasSet_(Options.Contains(Option)) {
        options_.Include(option_);
    }
    ~ScopedOption() {
        if (!wasSet_) options_.Exclude(option_);
    }
    ScopedOption(const ScopedOption&) = delete;
    ScopedOption& operator=(const ScopedOption&) = delete;

private:
    TSynEditorOptions& options_;
    TSynEditorOption option_;
    bool wasSet_;
};

AnsiString toggledCase(const AnsiString& S) {
    AnsiString result = S;
    for (char& c : result) {
        const char upper = AnsiCharUpper(c);
        c = upper == c ? AnsiCharLower(c) : upper;
    }
    return result;
}

AnsiString titleCase(const AnsiString& S) {
    AnsiString result = AnsiLowerCase(S);
    if (!result.empty()) result[0] = AnsiCharUpper(result[0]);
    return result;
}

AnsiString caseChanged(TSynEditorCommand Cmd, const AnsiString& S) {
    switch (Cmd) {
    case SynEditKeyCmds::ecUpperCase:
    case ecUpperCaseBlock:
        return AnsiUpperCase(S);
    case SynEditKeyCmds::ecLowerCase:
    case ecLowerCaseBlock:
        return AnsiLowerCase(S);
    case ecToggleCase:
    case ecToggleCaseBlock:
        return toggledCase(S);
    default:
        return titleCase(S);
    }
}

// Joins the pieces with CR LF between them.
AnsiString joinLines(const std::vector<AnsiString>& Pieces) {
    AnsiString result;
    for (std::size_t i = 0; i < Pieces.size(); ++i) {
        if (i > 0) result += LineBreakText;
        result += Pieces[i];
    }
    return result;
}

} // namespace

// ---- Command execution ----------------------------------------------------------------------

void TCustomSynEdit::ExecuteCommand(TSynEditorCommand Command, char AChar, void* Data) {
    WithPaintLock([&] {
        if (executeMovement(Command, Data)) return;
        if (executeEdit(Command, AChar, Data)) return;
        executeOther(Command, Data);
    });
}

bool TCustomSynEdit::executeMovement(TSynEditorCommand Command, void* Data) {
    const bool selecting = Command > ecSelection && Command <= ecSelGotoXY;
    const TSynEditorCommand plain =
        selecting ? static_cast<TSynEditorCommand>(Command - ecSelection) : Command;
    if (plain < ecLeft || plain > ecGotoXY) return false;
    switch (plain) {
    case ecLeft:
        MoveCaretHorz(-1, selecting);
        return true;
    case ecRight:
        MoveCaretHorz(1, selecting);
        return true;
    case ecWordLeft:
        MoveCaretAndSelection(GetCaretXY(), PrevWordPos(), selecting);
        return true;
    case ecWordRight:
        MoveCaretAndSelection(GetCaretXY(), NextWordPos(), selecting);
        return true;
    case ecLineStart:
        DoHomeKey(selecting);
        return true;
    case ecLineEnd:
        DoEndKey(selecting);
        return true;
    case ecUp:
    case ecDown:
        MoveCaretVert(plain == ecUp ? -1 : 1, selecting);
        break;
    case ecPageUp:
    case ecPageDown: {
        const Integer step = pageStep(plain == ecPageUp);
        SetTopLine(topLine_ + step);
        MoveCaretVert(step, selecting);
        break;
    }
    case ecPageLeft:
        MoveCaretHorz(-charsInWindow_, selecting);
        break;
    case ecPageRight:
        MoveCaretHorz(charsInWindow_, selecting);
        break;
    case ecPageTop:
    case ecPageBottom: {
        // A window too low for one whole line has its top row as its bottom one.
        const Integer row = plain == ecPageTop ? topLine_ : topLine_ + std::max(linesInWindow_ - 1, 0);
        MoveCaretAndSelection(GetCaretXY(), DisplayToBufferPos(DisplayCoord(GetDisplayX(), row)), selecting);
        break;
    }
    case ecEditorTop:
        MoveCaretAndSelection(GetCaretXY(), BufferCoord(1, 1), selecting);
        break;
    case ecEditorBottom: {
        const Integer count = lines_->Count();
        const Integer lastLength = count > 0 ? lengthOf(lines_->Get(count - 1)) : 0;
        MoveCaretAndSelection(GetCaretXY(), BufferCoord(lastLength + 1, count), selecting);
        break;
    }
    default: // ecGotoXY
        if (Data) MoveCaretAndSelection(GetCaretXY(), *static_cast<const TBufferCoord*>(Data), selecting);
        break;
    }
    Update();
    return true;
}

Integer TCustomSynEdit::pageStep(bool Up) const {
    Integer step = linesInWindow_;
    if (options_.Contains(eoHalfPageScroll)) step >>= 1;
    if (options_.Contains(eoScrollByOneLess)) --step;
    return Up ? -step : step;
}

bool TCustomSynEdit::executeEdit(TSynEditorCommand Command, char AChar, void* Data) {
    if (Command < ecDeleteLastChar || Command > ecToggleCaseBlock) return false;
    if (ReadOnly()) return true;
    switch (Command) {
    case ecDeleteLastChar:
        deleteLastChar();
        break;
    case ecDeleteChar:
        deleteChar();
        break;
    case ecDeleteWord:
    case ecDeleteEOL:
        deleteToWordEndOrLineEnd(Command);
        break;
    case ecDeleteLastWord:
    case ecDeleteBOL:
        deleteToWordStartOrLineStart(Command);
        break;
    case ecDeleteLine:
        deleteLine();
        break;
    case ecClearAll:
        ClearAll();
        break;
    case ecLineBreak:
    case ecInsertLine:
        lineBreak(Command == ecLineBreak);
        break;
    case ecChar:
        typeChar(AChar);
        break;
    case ecImeStr:
        if (Data) insertImeString(static_cast<const char*>(Data));
        break;
    case ecUndo:
        Undo();
        break;
    case ecRedo:
        Redo();
        break;
    case ecCut:
        if (GetSelAvail()) CutToClipboard();
        break;
    case ecPaste:
        PasteFromClipboard();
        break;
    case ecBlockIndent:
        DoBlockIndent();
        break;
    case ecBlockUnindent:
        DoBlockUnindent();
        break;
    case ecTab:
        DoTabKey();
        break;
    case ecShiftTab:
        DoShiftTabKey();
        break;
    case SynEditKeyCmds::ecUpperCase:
    case SynEditKeyCmds::ecLowerCase:
    case ecToggleCase:
    case ecTitleCase:
    case ecUpperCaseBlock:
    case ecLowerCaseBlock:
    case ecToggleCaseBlock:
        DoCaseChange(Command);
        break;
    default:
        break;
    }
    return true;
}

void TCustomSynEdit::executeOther(TSynEditorCommand Command, void* Data) {
    if (Command >= ecGotoMarker0 && Command <= ecGotoMarker9) {
        if (bookMarkOptions_->EnableKeys()) GotoBookMark(Command - ecGotoMarker0);
        return;
    }
    if (Command >= ecSetMarker0 && Command <= ecSetMarker9) {
        if (bookMarkOptions_->EnableKeys())
            toggleBookmark(Command - ecSetMarker0, static_cast<const TBufferCoord*>(Data));
        return;
    }
    switch (Command) {
    case ecSelWord:
        SetSelWord();
        break;
    case ecSelectAll:
        SelectAll();
        break;
    case ecCopy:
        CopyToClipboard();
        break;
    case ecScrollUp:
    case ecScrollDown:
        scrollOneLine(Command == ecScrollUp);
        break;
    case ecScrollLeft:
    case ecScrollRight:
        SetLeftChar(leftChar_ + (Command == ecScrollLeft ? -1 : 1));
        Update();
        break;
    case ecInsertMode:
    case ecOverwriteMode:
    case ecToggleMode:
        SetInsertMode(Command == ecInsertMode || (Command == ecToggleMode && !insertMode_));
        break;
    case ecNormalSelect:
        SetSelectionMode(smNormal);
        break;
    case ecColumnSelect:
        SetSelectionMode(smColumn);
        break;
    case ecLineSelect:
        SetSelectionMode(smLine);
        break;
    case ecMatchBracket:
        FindMatchingBracket();
        break;
    case ecContextHelp:
        if (OnContextHelp) OnContextHelp(this, GetWordAtCursor());
        break;
    default:
        break;
    }
}

void TCustomSynEdit::scrollOneLine(bool Up) {
    const Integer row = GetDisplayY();
    if (row < topLine_ || row >= topLine_ + linesInWindow_) {
        EnsureCursorPosVisible();
        return;
    }
    if (Up) {
        SetTopLine(topLine_ - 1);
        const Integer lastVisible = topLine_ + linesInWindow_ - 1;
        if (row > lastVisible) MoveCaretVert(lastVisible - row, false);
    } else {
        SetTopLine(topLine_ + 1);
        if (row < topLine_) MoveCaretVert(topLine_ - row, false);
    }
    EnsureCursorPosVisible();
    Update();
}

// The command on the bookmark's own line removes it; elsewhere it places or moves it.
void TCustomSynEdit::toggleBookmark(Integer BookMark, const TBufferCoord* Data) {
    const TBufferCoord position = Data ? *Data : GetCaretXY();
    Integer x = 0;
    Integer y = 0;
    if (GetBookMark(BookMark, x, y)) {
        ClearBookMark(BookMark);
        if (y != position.Line) SetBookMark(BookMark, position.Char, position.Line);
    } else {
        SetBookMark(BookMark, position.Char, position.Line);
    }
}

void TCustomSynEdit::ProperSetLine(Integer Index, const AnsiString& ALineText) {
    lines_->Put(Index, options_.Contains(eoTrimTrailingSpaces) ? TrimTrailingBlanks(ALineText) : ALineText);
}

// Typing that reaches the right edge scrolls by a good stretch at once, not
// column by column; only then is the caret brought into view.
void TCustomSynEdit::scrollRightWhenPastEdge() {
    if (charsInWindow_ > 0 && caretX_ >= leftChar_ + charsInWindow_)
        SetLeftChar(leftChar_ + std::min(TypingScrollColumns, charsInWindow_ - 1));
    EnsureCursorPosVisible();
}

void TCustomSynEdit::placeTypedCaret(Integer X) {
    SetCaretXYEx(false, BufferCoord(X, caretY_));
}

// ---- Typing ---------------------------------------------------------------------------------

void TCustomSynEdit::typeChar(char AChar) {
    const auto code = static_cast<unsigned char>(AChar);
    if (code < FirstTypedChar || code == DeleteChar) return;
    if (GetSelAvail()) {
        replaceSelectionByTyping(AnsiString(1, AChar));
        scrollRightWhenPastEdge();
    } else {
        typeCharInLine(AChar);
    }
    DoOnPaintTransient(ttAfter);
}

// Typed text replaces the selection as one undo step.
void TCustomSynEdit::replaceSelectionByTyping(const AnsiString& Text) {
    inUndoBlock(*this, [&] {
        const AnsiString removed = selectedTextInBuffer();
        const TSynSelectionMode mode = activeSelectionMode_;
        TBufferCoord start = GetBlockBegin();
        if (mode == smLine) start.Char = 1;
        UndoList()->AddChange(crDelete, blockBegin_, blockEnd_, removed, mode);
        SetSelTextPrimitive(Text);
        if (mode != smColumn) UndoList()->AddChange(crInsert, start, GetCaretXY(), AnsiString(), smNormal);
    });
}

// Typing at or past the end of a line in overwrite mode overwrites nothing, so it
// inserts: that way undoing it gives back the line exactly as it was.
void TCustomSynEdit::typeCharInLine(char AChar) {
    ScopedOption pastEol(options_, eoScrollPastEol);
    AnsiString line = GetLineText();
    const Integer oldLength = lengthOf(line);
    const TBufferCoord before = GetCaretXY();
    if (!insertMode_ && caretX_ <= oldLength) {
        const Integer width = isLeadByteAt(line, caretX_) ? 2 : 1;
        const AnsiString replaced =
            line.substr(static_cast<std::size_t>(caretX_ - 1), static_cast<std::size_t>(width));
        line[static_cast<std::size_t>(caretX_ - 1)] = AChar;
        if (width == 2 && caretX_ < oldLength) line[static_cast<std::size_t>(caretX_)] = ' ';
        const TBufferCoord after = BufferCoord(caretX_ + width, caretY_);
        inUndoBlock(*this, [&] {
            ProperSetLine(caretY_ - 1, line);
            recordReplacement(before, after, replaced);
            placeTypedCaret(caretX_ + 1);
        });
        scrollRightWhenPastEdge();
        return;
    }
    if (!GetWordWrap() && !options_.Contains(eoAutoSizeMaxScrollWidth) && caretX_ > maxScrollWidth_) return;
    AnsiString padding;
    if (oldLength < caretX_ - 1) {
        const Integer count = caretX_ - oldLength - 1;
        padding = oldLength > 0 ? spaces(count) : GetLeftSpacing(count, true);
    }
    line += padding;
    const Integer charColumn = std::min(caretX_, lengthOf(line) + 1);
    line.insert(static_cast<std::size_t>(charColumn - 1), 1, AChar);
    Integer newX = caretX_ + 1;
    if (options_.Contains(eoTrimTrailingSpaces) && isBlank(AChar) &&
        TrimTrailingBlanks(GetLineText()).empty())
        newX = GetExpandedLength(line, tabWidth_) + 1;
    else if (oldLength == 0)
        newX = lengthOf(line) + 1;
    inUndoBlock(*this, [&] {
        ProperSetLine(caretY_ - 1, line);
        placeTypedCaret(newX);
        if (!padding.empty())
            recordPadding(BufferCoord(oldLength + 1, caretY_), BufferCoord(charColumn, caretY_));
        const TBufferCoord charStart = padding.empty() ? before : BufferCoord(charColumn, caretY_);
        UndoList()->AddChange(crInsert, charStart, GetCaretXY(), AnsiString(), smNormal);
    });
    scrollRightWhenPastEdge();
}

// The padding is recorded from its end back to its start: redoing it inserts the blanks at the start.
void TCustomSynEdit::recordPadding(TBufferCoord Start, TBufferCoord End) {
    UndoList()->AddChange(crWhiteSpaceAdd, End, Start, AnsiString(), smNormal);
}

// Overwritten text is recorded as its own deletion, so that undo gives it back
// and redo takes it out again before the new text goes in.
void TCustomSynEdit::recordReplacement(TBufferCoord Start, TBufferCoord End, const AnsiString& Replaced) {
    if (!Replaced.empty())
        UndoList()->AddChange(crDelete, Start, BufferCoord(Start.Char + lengthOf(Replaced), Start.Line),
                              Replaced, smNormal);
    UndoList()->AddChange(crInsert, Start, End, AnsiString(), smNormal);
}

void TCustomSynEdit::insertImeString(const char* Value) {
    AnsiString text = Value;
    if (text.empty()) return;
    if (GetSelAvail()) {
        replaceSelectionByTyping(text);
        InvalidateGutter();
        return;
    }
    ScopedOption pastEol(options_, eoScrollPastEol);
    AnsiString line = GetLineText();
    const TBufferCoord before = GetCaretXY();
    const Integer padStart = lengthOf(line) + 1;
    const AnsiString padding = spaces(caretX_ - padStart);
    line += padding;
    AnsiString removed;
    if (!insertMode_) {
        const auto from = static_cast<std::size_t>(caretX_ - 1);
        removed = line.substr(from, text.size());
        line.erase(from, text.size());
        // A double-byte character must not lose only its lead byte.
        if (!removed.empty() && isTrailByteAt(line, caretX_)) {
            text += removed.back();
            removed.pop_back();
        }
    }
    line.insert(static_cast<std::size_t>(caretX_ - 1), text);
    inUndoBlock(*this, [&] {
        ProperSetLine(caretY_ - 1, line);
        placeTypedCaret(caretX_ + lengthOf(text));
        if (!padding.empty()) recordPadding(BufferCoord(padStart, caretY_), before);
        recordReplacement(before, GetCaretXY(), removed);
    });
    scrollRightWhenPastEdge();
}

// ---- Line breaks ----------------------------------------------------------------------------

void TCustomSynEdit::lineBreak(bool MoveCaret) {
    inUndoBlock(*this, [&] {
        if (GetSelAvail()) {
            const AnsiString removed = selectedTextInBuffer();
            const TBufferCoord anchor = blockBegin_;
            const TBufferCoord end = blockEnd_;
            const TSynSelectionMode mode = activeSelectionMode_;
            SetSelTextPrimitive(AnsiString());
            UndoList()->AddChange(crDelete, anchor, end, removed, mode);
        }
        ScopedOption pastEol(options_, eoScrollPastEol);
        const AnsiString line = GetLineText();
        const TBufferCoord caret = GetCaretXY();
        // Recorded at the line end when the caret stands past it: taking the break back
        // then joins the lines without blanks up to the caret.
        const TBufferCoord breakAt = BufferCoord(std::min(caret.Char, lengthOf(line) + 1), caret.Line);
        Integer insertedLine = caret.Line + 1;
        if (line.empty()) {
            if (lines_->Count() == 0) lines_->Add(AnsiString());
            Integer indent = 0;
            if (options_.Contains(eoAutoIndent)) {
                for (Integer i = caret.Line - 1; i >= 0; --i) {
                    const AnsiString above = lines_->Get(i);
                    if (above.empty()) continue;
                    indent = LeftSpacesEx(above, true);
                    break;
                }
            }
            lines_->Insert(caret.Line - 1, AnsiString());
            insertedLine = caret.Line;
            UndoList()->AddChange(crLineBreak, breakAt, breakAt, AnsiString(), smNormal);
            if (MoveCaret) InternalSetCaretXY(BufferCoord(indent + 1, caret.Line + 1));
        } else if (caret.Char > lengthOf(line)) {
            const Integer count = LeftSpaces(line);
            lines_->Insert(caret.Line, AnsiString());
            UndoList()->AddChange(crLineBreak, breakAt, breakAt, AnsiString(), smNormal);
            // Insert line indents the new line too, as it does when it splits a line: redo
            // replays every line break as a plain one and must give back the same text.
            if (count > 0) lines_->Put(caret.Line, line.substr(0, static_cast<std::size_t>(count)));
            if (MoveCaret) InternalSetCaretXY(BufferCoord(count + 1, caret.Line + 1));
        } else if (caret.Char == 1) {
            lines_->Insert(caret.Line - 1, AnsiString());
            insertedLine = caret.Line;
            UndoList()->AddChange(crLineBreak, breakAt, breakAt, line, smNormal);
            if (MoveCaret) InternalSetCaretY(caret.Line + 1);
        } else {
            const AnsiString left = line.substr(0, static_cast<std::size_t>(caret.Char - 1));
            const AnsiString right = line.substr(static_cast<std::size_t>(caret.Char - 1));
            ProperSetLine(caret.Line - 1, left);
            const AnsiString indent = GetLeftSpacing(LeftSpacesEx(left, true), true);
            lines_->Insert(caret.Line, indent + right);
            // Blanks that trimming took from the broken line's end travel with the rest of the
            // line, so that joining the lines again restores them as they were.
            const auto keptLength = static_cast<std::size_t>(lengthOf(lines_->Get(caret.Line - 1)));
            UndoList()->AddChange(crLineBreak, breakAt, breakAt, left.substr(keptLength) + right, smNormal);
            if (MoveCaret) InternalSetCaretXY(BufferCoord(lengthOf(indent) + 1, caret.Line + 1));
        }
        DoLinesInserted(insertedLine, 1);
        blockBegin_ = GetCaretXY();
        blockEnd_ = blockBegin_;
        EnsureCursorPosVisible();
        UpdateLastCaretX();
    });
}

// ---- Deleting -------------------------------------------------------------------------------

void TCustomSynEdit::deleteLastChar() {
    DoOnPaintTransientEx(ttBefore, true);
    try {
        if (GetSelAvail()) {
            DeleteSelectionAsUndoStep();
        } else {
            const TBufferCoord before = GetCaretXY();
            const AnsiString removed = backspaceAtCaret();
            if (GetCaretXY() != before)
                UndoList()->AddChange(crSilentDelete, GetCaretXY(), before, removed, smNormal);
            EnsureCursorPosVisible();
        }
    } catch (...) {
        DoOnPaintTransientEx(ttAfter, true);
        throw;
    }
    DoOnPaintTransientEx(ttAfter, true);
}

// Removes what backspace removes before the caret and moves the caret; returns the removed text.
AnsiString TCustomSynEdit::backspaceAtCaret() {
    ScopedOption pastEol(options_, eoScrollPastEol);
    AnsiString line = GetLineText();
    const Integer length = lengthOf(line);
    if (caretX_ > length + 1) {
        InternalSetCaretX(smartBackspaceColumn(line));
        return AnsiString();
    }
    if (caretX_ == 1) {
        if (caretY_ == 1) return AnsiString();
        const Integer joinedLine = caretY_ - 1;
        const AnsiString previous = lines_->Get(joinedLine - 1);
        const AnsiString moved = options_.Contains(eoTrimTrailingSpaces) ? TrimTrailingBlanks(line) : line;
        InternalSetCaretXY(BufferCoord(lengthOf(previous) + 1, joinedLine));
        lines_->Delete(joinedLine);
        DoLinesDeleted(joinedLine, 1);
        lines_->Put(joinedLine - 1, previous + moved);
        return LineBreakText;
    }
    const Integer indent = LeftSpaces(line);
    if (!isWhite(line[static_cast<std::size_t>(caretX_ - 2)]) || caretX_ - 1 != indent) {
        const Integer count = isLeadByteAt(line, caretX_ - 2) ? 2 : 1;
        const auto from = static_cast<std::size_t>(caretX_ - 1 - count);
        const AnsiString removed = line.substr(from, static_cast<std::size_t>(count));
        line.erase(from, static_cast<std::size_t>(count));
        Integer newX = caretX_ - count;
        const Integer displayBefore = CharIndex2CaretPos(newX, tabWidth_, line);
        ProperSetLine(caretY_ - 1, line);
        const AnsiString stored = lines_->Get(caretY_ - 1);
        if (stored != line) newX += displayBefore - CharIndex2CaretPos(newX, tabWidth_, stored);
        InternalSetCaretX(newX);
        return removed;
    }
    const Integer count = std::min(unindentCount(line, indent), caretX_ - 1);
    const auto from = static_cast<std::size_t>(caretX_ - 1 - count);
    const AnsiString removed = line.substr(from, static_cast<std::size_t>(count));
    line.erase(from, static_cast<std::size_t>(count));
    ProperSetLine(caretY_ - 1, line);
    InternalSetCaretX(caretX_ - count);
    return removed;
}

// Where backspace puts a caret that stands beyond the end of its line.
Integer TCustomSynEdit::smartBackspaceColumn(const AnsiString& Line) const {
    if (!options_.Contains(eoSmartTabDelete)) return caretX_ - 1;
    if (!Line.empty()) return lengthOf(Line) + 1;
    const bool trim = options_.Contains(eoTrimTrailingSpaces);
    for (Integer i = caretY_ - 1; i >= 1; --i) {
        const AnsiString above = lines_->Get(i - 1);
        const Integer width = trim ? LeftSpacesEx(above, true) : LeftSpaces(above);
        if (width < caretX_ - 1) return width + 1;
    }
    return 1;
}

// How many characters an unindenting backspace removes from the end of the leading white space.
Integer TCustomSynEdit::unindentCount(const AnsiString& Line, Integer Indent) const {
    if (options_.Contains(eoSmartTabDelete)) {
        for (Integer i = caretY_ - 1; i >= 1; --i) {
            const Integer above = LeftSpaces(lines_->Get(i - 1));
            if (above < Indent) return Indent - above;
        }
        return Indent;
    }
    const AnsiString expanded = ConvertTabs(Line, tabWidth_);
    const Integer column = CharIndex2CaretPos(caretX_, tabWidth_, Line);
    const Integer intoStop = (column - 1) % tabWidth_;
    const Integer stop = std::max(1, column - (intoStop == 0 ? tabWidth_ : intoStop));
    Integer count = 0;
    for (Integer i = stop; i < column && i <= lengthOf(expanded); ++i) {
        ++count;
        if (expanded[static_cast<std::size_t>(i - 1)] == '\t') break;
    }
    return count;
}

void TCustomSynEdit::deleteChar() {
    DoOnPaintTransient(ttBefore);
    if (GetSelAvail()) {
        DeleteSelectionAsUndoStep();
    } else {
        UpdateLastCaretX();
        AnsiString line = GetLineText();
        const Integer length = lengthOf(line);
        AnsiString removed;
        TBufferCoord end = GetCaretXY();
        Integer paddedFrom = caretX_;
        if (caretX_ > length) {
            if (caretY_ < lines_->Count()) {
                line += spaces(caretX_ - 1 - length);
                ProperSetLine(caretY_ - 1, line + lines_->Get(caretY_));
                lines_->Delete(caretY_);
                DoLinesDeleted(caretY_, 1);
                removed = LineBreakText;
                end = BufferCoord(1, caretY_ + 1);
                paddedFrom = length + 1;
            }
        } else {
            const Integer count = isLeadByteAt(line, caretX_) ? 2 : 1;
            removed = line.substr(static_cast<std::size_t>(caretX_ - 1), static_cast<std::size_t>(count));
            line.erase(static_cast<std::size_t>(caretX_ - 1), static_cast<std::size_t>(count));
            ProperSetLine(caretY_ - 1, line);
            end = BufferCoord(caretX_ + count, caretY_);
        }
        if (!removed.empty()) recordPaddedDeletion(paddedFrom, end, removed);
    }
    DoOnPaintTransient(ttAfter);
}

// The end of what delete-word removes: the rest of the word, or the character
// the caret stands on, and the spaces after it; a caret at the line end takes
// the line break.
TBufferCoord TCustomSynEdit::deleteWordEnd() {
    const AnsiString line = GetLineText();
    const Integer length = lengthOf(line);
    TBufferCoord end = WordEnd();
    if (end.Char <= caretX_) {
        if (end.Char > length) {
            if (caretY_ >= lines_->Count()) return GetCaretXY();
            end = BufferCoord(1, caretY_ + 1);
        } else if (line[static_cast<std::size_t>(end.Char - 1)] != ' ') {
            ++end.Char;
        }
    }
    const AnsiString endLine = lines_->Get(end.Line - 1);
    while (end.Char <= lengthOf(endLine) && endLine[static_cast<std::size_t>(end.Char - 1)] == ' ')
        ++end.Char;
    return end;
}

void TCustomSynEdit::deleteToWordEndOrLineEnd(TSynEditorCommand Command) {
    DoOnPaintTransient(ttBefore);
    const TBufferCoord caret = GetCaretXY();
    const TBufferCoord end =
        Command == ecDeleteEOL ? BufferCoord(lengthOf(GetLineText()) + 1, caretY_) : deleteWordEnd();
    if (end == caret) return;
    selectNormalRange(caret, end);
    const AnsiString removed = GetSelText();
    if (removed.empty()) {
        SetBlockBegin(GetCaretXY());
        return;
    }
    // A caret beyond the line end keeps its column: the gap is filled with spaces.
    const Integer lineEnd = GetBlockBegin().Char;
    SetSelTextPrimitive(spaces(caret.Char - lineEnd));
    recordPaddedDeletion(std::min(lineEnd, caret.Char), end, removed);
    ScopedOption pastEol(options_, eoScrollPastEol);
    SetCaretXY(caret);
}

// A deletion at a caret past the line end first filled the gap up to the caret
// with blanks; that padding is recorded too, so that undo takes it out again.
void TCustomSynEdit::recordPaddedDeletion(Integer PaddedFrom, TBufferCoord End, const AnsiString& Removed) {
    inUndoBlock(*this, [&] {
        if (PaddedFrom < caretX_) recordPadding(BufferCoord(PaddedFrom, caretY_), GetCaretXY());
        UndoList()->AddChange(crSilentDeleteAfterCursor, GetCaretXY(), End, Removed, smNormal);
    });
}

void TCustomSynEdit::deleteToWordStartOrLineStart(TSynEditorCommand Command) {
    DoOnPaintTransient(ttBefore);
    const TBufferCoord caret = GetCaretXY();
    const TBufferCoord start = Command == ecDeleteLastWord ? PrevWordPos() : BufferCoord(1, caretY_);
    if (start != caret) {
        selectNormalRange(start, caret);
        const AnsiString removed = GetSelText();
        SetSelTextPrimitive(AnsiString());
        UndoList()->AddChange(crSilentDelete, start, caret, removed, smNormal);
        InternalSetCaretXY(start);
    }
    DoOnPaintTransient(ttAfter);
}

// Deleting commands always take their range as plain text, whatever selection mode the user chose.
void TCustomSynEdit::selectNormalRange(TBufferCoord From, TBufferCoord To) {
    const TSynSelectionMode chosen = selectionMode_;
    selectionMode_ = smNormal;
    SetBlockBegin(From);
    SetBlockEnd(To);
    selectionMode_ = chosen;
}

void TCustomSynEdit::deleteLine() {
    const Integer count = lines_->Count();
    if (count == 0 || (caretY_ == count && GetLineText().empty())) return;
    DoOnPaintTransient(ttBefore);
    if (GetSelAvail()) SetBlockBegin(GetCaretXY());
    const AnsiString line = GetLineText();
    const Integer y = caretY_;
    if (y == count) {
        lines_->Put(y - 1, AnsiString());
        UndoList()->AddChange(crSilentDeleteAfterCursor, BufferCoord(1, y),
                              BufferCoord(lengthOf(line) + 1, y), line, smNormal);
    } else {
        lines_->Delete(y - 1);
        UndoList()->AddChange(crSilentDeleteAfterCursor, BufferCoord(1, y), BufferCoord(1, y + 1),
                              line + LineBreakText, smNormal);
        DoLinesDeleted(y, 1);
    }
    SetCaretXY(BufferCoord(1, y));
}

// ---- Caret movement -------------------------------------------------------------------------

void TCustomSynEdit::MoveCaretAndSelection(TBufferCoord ptBefore, TBufferCoord ptAfter, bool Selecting) {
    if (options_.Contains(eoGroupUndo) && UndoList()->GetCanUndo()) UndoList()->AddGroupBreak();
    WithPaintLock([&] {
        if (Selecting) {
            if (!GetSelAvail()) SetBlockBegin(ptBefore);
            SetBlockEnd(ptAfter);
        } else {
            SetBlockBegin(ptAfter);
        }
        InternalSetCaretXY(ptAfter);
    });
}

void TCustomSynEdit::SetCaretAndSelection(TBufferCoord ptCaret, TBufferCoord ptBefore, TBufferCoord ptAfter) {
    WithPaintLock([&] {
        InternalSetCaretXY(ptCaret);
        SetBlockBegin(ptBefore);
        SetBlockEnd(ptAfter);
        SetActiveSelectionMode(selectionMode_);
    });
}

void TCustomSynEdit::markCaretChanged() {
    WithPaintLock([&] { stateFlags_.Include(sfCaretChanged); });
}

// With word wrap the end of one row and the start of the next are the same
// buffer position; a horizontal step may only switch between the two.
bool TCustomSynEdit::stepAcrossRowEnd(Integer DX) {
    if (DX >= 1 && caretAtEOL_) {
        caretAtEOL_ = false;
        UpdateLastCaretX();
        markCaretChanged();
        return true;
    }
    if (DX < 1 && !caretAtEOL_ && caretX_ >= 2 && BufferToDisplayPos(GetCaretXY()).Column == 1) {
        caretAtEOL_ = true;
        UpdateLastCaretX();
        const TDisplayCoord shown = GetDisplayXY();
        if (shown.Column > charsInWindow_ + 1)
            SetInternalDisplayXY(DisplayCoord(charsInWindow_ + 1, shown.Row));
        else
            markCaretChanged();
        return true;
    }
    return false;
}

void TCustomSynEdit::MoveCaretHorz(Integer DX, bool Selecting) {
    if (GetWordWrap() && stepAcrossRowEnd(DX)) return;
    const TBufferCoord origin = GetCaretXY();
    TBufferCoord target = origin;
    const AnsiString line = GetLineText();
    const Integer length = lengthOf(line);
    const bool changeLine = !options_.Contains(eoScrollPastEol);
    if (changeLine && DX == -1 && origin.Char == 1 && origin.Line > 1) {
        target = BufferCoord(lengthOf(lines_->Get(origin.Line - 2)) + 1, origin.Line - 1);
    } else if (changeLine && DX == 1 && origin.Char > length && origin.Line < lines_->Count()) {
        target = BufferCoord(1, origin.Line + 1);
    } else {
        target.Char = std::max(1, origin.Char + DX);
        if (DX >= 1 && changeLine) target.Char = std::min(target.Char, length + 1);
        if (target.Char > 1 && isTrailByteAt(line, target.Char)) target.Char += DX > 0 ? 1 : -1;
    }
    MoveCaretAndSelection(blockBegin_, target, Selecting);
    if (GetWordWrap() && DX >= 1 && lengthOf(GetLineText()) > caretX_) {
        TDisplayCoord shown = BufferToDisplayPos(GetCaretXY());
        if (shown.Column == 1 && shown.Row != LineToRow(caretY_)) {
            caretAtEOL_ = true;
            UpdateLastCaretX();
        } else if (shown.Column > charsInWindow_ + 1) {
            shown = DisplayCoord(1, shown.Row + 1);
            InternalSetCaretXY(DisplayToBufferPos(shown));
        }
    }
}

void TCustomSynEdit::MoveCaretVert(Integer DY, bool Selecting) {
    const TDisplayCoord origin = GetDisplayXY();
    TDisplayCoord target = origin;
    target.Row += DY;
    if (DY >= 0) {
        if (RowToLine(target.Row) > lines_->Count()) target.Row = std::max(1, GetDisplayLineCount());
    } else {
        target.Row = std::max(target.Row, 1);
    }
    const bool rowChanged = target.Row != origin.Row;
    if (rowChanged && options_.Contains(eoKeepCaretX)) target.Column = lastCaretX_;
    TBufferCoord destination = DisplayToBufferPos(target);
    bool stepAside = doubleByteStepAside_;
    if (rowChanged) {
        if (stepAside && !options_.Contains(eoKeepCaretX)) ++destination.Char;
        stepAside = isTrailByteAt(lines_->Get(destination.Line - 1), destination.Char);
        if (stepAside) --destination.Char;
    }
    const Integer rememberedColumn = lastCaretX_;
    WithPaintLock([&] {
        MoveCaretAndSelection(blockBegin_, destination, Selecting);
        if (GetWordWrap()) {
            const TDisplayCoord shown = BufferToDisplayPos(destination);
            caretAtEOL_ = shown.Column == 1 && shown.Row != target.Row;
        }
    });
    doubleByteStepAside_ = stepAside;
    lastCaretX_ = rememberedColumn;
}

// Rows past the wrapped text (an empty buffer has none) hold nothing.
Integer TCustomSynEdit::wrappedRowLength(Integer Row) {
    ISynEditBufferPlugin* plugin = WordWrapPlugin();
    return Row >= 1 && Row <= plugin->RowCount() ? plugin->GetRowLength(Row) : 0;
}

// The buffer character that ends the caret's display row.
Integer TCustomSynEdit::caretRowEnd() {
    const TDisplayCoord caret = GetDisplayXY();
    const Integer rowLength = wrappedRowLength(caret.Row);
    // A window narrower than one character still has a first column to map.
    const Integer column = std::max(1, std::min(charsInWindow_, rowLength + 1));
    return DisplayToBufferPos(DisplayCoord(column, caret.Row)).Char - 1;
}

void TCustomSynEdit::DoHomeKey(bool Selection) {
    const bool wrap = GetWordWrap();
    Integer column = 1;
    if (options_.Contains(eoEnhanceHomeKey) && LineToRow(caretY_) == GetDisplayY()) {
        const AnsiString line = GetLineText();
        const Integer last = wrap ? std::min(caretRowEnd(), lengthOf(line)) : lengthOf(line);
        Integer indent = 0;
        while (indent < last && isBlank(line[static_cast<std::size_t>(indent)]))
            ++indent;
        column = caretX_ - 1 > indent || caretX_ == 1 ? indent + 1 : 1;
    }
    TBufferCoord target = BufferCoord(column, caretY_);
    if (wrap) target = DisplayToBufferPos(DisplayCoord(BufferToDisplayPos(target).Column, GetDisplayY()));
    MoveCaretAndSelection(GetCaretXY(), target, Selection);
}

bool TCustomSynEdit::onLastRowOfLine() {
    if (!GetWordWrap()) return true;
    const Integer lastRow = caretY_ < lines_->Count() ? LineToRow(caretY_ + 1) - 1 : GetDisplayLineCount();
    return GetDisplayY() >= lastRow;
}

void TCustomSynEdit::DoEndKey(bool Selection) {
    const bool wrap = GetWordWrap();
    const AnsiString line = GetLineText();
    const Integer length = lengthOf(line);
    const bool enhanced = options_.Contains(eoEnhanceEndKey) && onLastRowOfLine();
    Integer target = length + 1;
    if (enhanced) {
        const Integer rowStart = wrap ? DisplayToBufferPos(DisplayCoord(1, GetDisplayY())).Char : 1;
        Integer lastNonBlank = length;
        while (lastNonBlank >= rowStart && isBlank(line[static_cast<std::size_t>(lastNonBlank - 1)]))
            --lastNonBlank;
        if (caretX_ - 1 != lastNonBlank) target = lastNonBlank + 1;
    }
    if (!wrap) {
        MoveCaretAndSelection(GetCaretXY(), BufferCoord(target, caretY_), Selection);
        return;
    }
    const Integer row = GetDisplayY();
    Integer column =
        enhanced ? BufferToDisplayPos(BufferCoord(target, caretY_)).Column : wrappedRowLength(row) + 1;
    column = std::min(column, charsInWindow_ + 1);
    const TDisplayCoord position = DisplayCoord(column, row);
    MoveCaretAndSelection(GetCaretXY(), DisplayToBufferPos(position), Selection);
    SetInternalDisplayXY(position);
}

void TCustomSynEdit::SetInternalDisplayXY(const TDisplayCoord& aPos) {
    WithPaintLock([&] {
        InternalSetCaretXY(DisplayToBufferPos(aPos));
        if (GetWordWrap() && aPos.Row >= 1 && aPos.Row <= WordWrapPlugin()->RowCount()) {
            const bool pastRow = aPos.Column > WordWrapPlugin()->GetRowLength(aPos.Row);
            caretAtEOL_ = pastRow && GetDisplayY() != aPos.Row;
        } else {
            caretAtEOL_ = false;
        }
    });
    UpdateLastCaretX();
}

// ---- Words ----------------------------------------------------------------------------------

TSynIdentChars TCustomSynEdit::IdentChars() const {
    if (highlighter_) return highlighter_->IdentChars();
    TSynIdentChars chars;
    chars.IncludeRange(charOf(FirstPrintableChar), charOf(CharacterCount - 1));
    return chars;
}

void TCustomSynEdit::PrepareIdentChars(TSynIdentChars& IdentChars, TSynIdentChars& WhiteChars) const {
    const TSynIdentChars words = highlighter_ ? highlighter_->IdentChars() : defaultIdentChars();
    const TSynIdentChars& breaks = highlighter_ ? highlighter_->WordBreakChars() : defaultWordBreakChars();
    IdentChars = TSynIdentChars();
    WhiteChars = TSynIdentChars();
    for (unsigned code = 1; code < CharacterCount; ++code) {
        const char c = charOf(code);
        if (words.Contains(c) && !breaks.Contains(c))
            IdentChars.Include(c);
        else
            WhiteChars.Include(c);
    }
}

TBufferCoord TCustomSynEdit::NextWordPos() {
    return NextWordPosEx(GetCaretXY());
}

TBufferCoord TCustomSynEdit::WordStart() {
    return WordStartEx(GetCaretXY());
}

TBufferCoord TCustomSynEdit::WordEnd() {
    return WordEndEx(GetCaretXY());
}

TBufferCoord TCustomSynEdit::PrevWordPos() {
    return PrevWordPosEx(GetCaretXY());
}

// A multibyte character counts as a word of its own: the scan stops at its lead byte.
TBufferCoord TCustomSynEdit::NextWordPosEx(const TBufferCoord& XY) {
    if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
    TSynIdentChars ident;
    TSynIdentChars white;
    PrepareIdentChars(ident, white);
    Integer x = std::max(1, XY.Char);
    Integer y = XY.Line;
    AnsiString line = lines_->Get(y - 1);
    const Integer length = lengthOf(line);
    const auto limitByLeadByte = [](Integer Found, Integer Lead) {
        return Lead > 0 && (Found == 0 || Found > Lead) ? Lead : Found;
    };
    if (x < length) {
        const Integer lead = StrScanForMultiByteChar(line, x + 1);
        if (ident.Contains(line[static_cast<std::size_t>(x - 1)]) && ByteType(line, x) == mbSingleByte)
            x = StrScanForCharInSet(line, x, white);
        if (x > 0) x = StrScanForCharInSet(line, x, ident);
        x = limitByLeadByte(x, lead);
        if (x == 0) x = length + 1;
    } else if (y < lines_->Count()) {
        ++y;
        line = lines_->Get(y - 1);
        x = limitByLeadByte(StrScanForCharInSet(line, 1, ident), StrScanForMultiByteChar(line, 1));
        if (x == 0) x = 1;
    }
    return BufferCoord(x, y);
}

TBufferCoord TCustomSynEdit::PrevWordPosEx(const TBufferCoord& XY) {
    if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
    TSynIdentChars ident;
    TSynIdentChars white;
    PrepareIdentChars(ident, white);
    Integer y = XY.Line;
    const AnsiString line = lines_->Get(y - 1);
    Integer x = std::max(1, std::min(XY.Char, lengthOf(line) + 1));
    const auto endOfPreviousLine = [&] {
        --y;
        return BufferCoord(lengthOf(lines_->Get(y - 1)) + 1, y);
    };
    if (x <= 1) return y > 1 ? endOfPreviousLine() : BufferCoord(x, y);
    const Integer lead = StrRScanForMultiByteChar(line, x - 1);
    if (!ident.Contains(line[static_cast<std::size_t>(x - 2)]) && ByteType(line, x - 1) == mbSingleByte)
        x = StrRScanForCharInSet(line, x - 1, ident);
    if (x > 0) x = StrRScanForCharInSet(line, x - 1, white) + 1;
    if (lead > 0 && (x == 0 || x < lead)) x = lead;
    if (x == 0) return y > 1 ? endOfPreviousLine() : BufferCoord(1, y);
    return BufferCoord(x, y);
}

TBufferCoord TCustomSynEdit::WordStartEx(const TBufferCoord& XY) {
    if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
    TSynIdentChars ident;
    TSynIdentChars white;
    PrepareIdentChars(ident, white);
    const AnsiString line = lines_->Get(XY.Line - 1);
    Integer x = std::max(1, std::min(XY.Char, lengthOf(line) + 1));
    if (x > 1 && !white.Contains(line[static_cast<std::size_t>(x - 2)]))
        x = StrRScanForCharInSet(line, x - 1, white) + 1;
    return BufferCoord(x, XY.Line);
}

TBufferCoord TCustomSynEdit::WordEndEx(const TBufferCoord& XY) {
    if (XY.Line < 1 || XY.Line > lines_->Count()) return XY;
    TSynIdentChars ident;
    TSynIdentChars white;
    PrepareIdentChars(ident, white);
    const AnsiString line = lines_->Get(XY.Line - 1);
    Integer x = StrScanForCharInSet(line, std::max(1, XY.Char), white);
    if (x == 0) x = lengthOf(line) + 1;
    return BufferCoord(x, XY.Line);
}

AnsiString TCustomSynEdit::GetWordAtRowCol(const TBufferCoord& XY) const {
    if (XY.Line < 1 || XY.Line > lines_->Count()) return AnsiString();
    const AnsiString line = lines_->Get(XY.Line - 1);
    const Integer length = lengthOf(line);
    if (XY.Char < 1 || XY.Char > length) return AnsiString();
    const TSynIdentChars ident = highlighter_ ? highlighter_->IdentChars() : defaultIdentChars();
    const auto isIdent = [&](Integer Index) {
        return ident.Contains(line[static_cast<std::size_t>(Index - 1)]);
    };
    if (!isIdent(XY.Char)) return AnsiString();
    Integer first = XY.Char;
    while (first > 1 && isIdent(first - 1))
        --first;
    Integer last = XY.Char;
    while (last < length && isIdent(last + 1))
        ++last;
    return line.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

bool TCustomSynEdit::GetPositionOfMouse(TBufferCoord& XY) {
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint point = ScreenToClient(TPoint{screen.x, screen.y});
    if (point.x < 0 || point.y < 0 || point.x > Width() || point.y > Height()) return false;
    XY = DisplayToBufferPos(PixelsToRowColumn(point.x, point.y));
    return true;
}

AnsiString TCustomSynEdit::GetWordAtMouse() {
    TBufferCoord position;
    return GetPositionOfMouse(position) ? GetWordAtRowCol(position) : AnsiString();
}

// ---- Highlighter tokens and brackets --------------------------------------------------------

bool TCustomSynEdit::GetHighlighterAttriAtRowCol(const TBufferCoord& XY, AnsiString& Token,
                                                 TSynHighlighterAttributes*& Attri) {
    Integer kind = 0;
    Integer start = 0;
    return GetHighlighterAttriAtRowColEx(XY, Token, kind, start, Attri);
}

bool TCustomSynEdit::GetHighlighterAttriAtRowColEx(const TBufferCoord& XY, AnsiString& Token,
                                                   Integer& TokenType, Integer& Start,
                                                   TSynHighlighterAttributes*& Attri) {
    Token.clear();
    Attri = nullptr;
    TokenType = 0;
    Start = 0;
    const Integer index = XY.Line - 1;
    if (!highlighter_ || index < 0 || index >= lines_->Count()) return false;
    const AnsiString line = lines_->Get(index);
    if (index == 0)
        highlighter_->ResetRange();
    else
        highlighter_->SetRange(lines_->GetRange(index - 1));
    highlighter_->SetLine(line, index);
    if (XY.Char < 1 || XY.Char > lengthOf(line)) return false;
    while (!highlighter_->GetEol()) {
        const Integer tokenStart = highlighter_->GetTokenPos() + 1;
        const AnsiString token = highlighter_->GetToken();
        if (XY.Char >= tokenStart && XY.Char < tokenStart + lengthOf(token)) {
            Token = token;
            Start = tokenStart;
            Attri = highlighter_->GetTokenAttribute();
            TokenType = highlighter_->GetTokenKind();
            return true;
        }
        highlighter_->Next();
    }
    return false;
}

bool TCustomSynEdit::inStringOrComment(const TBufferCoord& XY) {
    AnsiString token;
    TSynHighlighterAttributes* attri = nullptr;
    if (!GetHighlighterAttriAtRowCol(XY, token, attri) || !attri) return false;
    return attri == highlighter_->GetDefaultAttribute(SYN_ATTR_STRING) ||
           attri == highlighter_->GetDefaultAttribute(SYN_ATTR_COMMENT);
}

TBufferCoord TCustomSynEdit::GetMatchingBracketEx(const TBufferCoord& APoint) {
    const TBufferCoord none = BufferCoord(0, 0);
    if (APoint.Line < 1 || APoint.Line > lines_->Count()) return none;
    AnsiString line = lines_->Get(APoint.Line - 1);
    if (APoint.Char < 1 || APoint.Char > lengthOf(line)) return none;
    const auto found =
        std::find(Brackets.begin(), Brackets.end(), line[static_cast<std::size_t>(APoint.Char - 1)]);
    if (found == Brackets.end()) return none;
    const auto index = static_cast<std::size_t>(found - Brackets.begin());
    const char bracket = Brackets[index];
    const char partner = Brackets[index ^ 1];
    const bool forwards = index % 2 == 0;
    Integer level = 1;
    Integer y = APoint.Line;
    Integer x = APoint.Char;
    for (;;) {
        x += forwards ? 1 : -1;
        if (x < 1 || x > lengthOf(line)) {
            y += forwards ? 1 : -1;
            if (y < 1 || y > lines_->Count()) return none;
            line = lines_->Get(y - 1);
            x = forwards ? 0 : lengthOf(line) + 1;
            continue;
        }
        const char c = line[static_cast<std::size_t>(x - 1)];
        if (ByteType(line, x) != mbSingleByte || (c != bracket && c != partner)) continue;
        if (inStringOrComment(BufferCoord(x, y))) continue;
        level += c == bracket ? 1 : -1;
        if (level == 0) return BufferCoord(x, y);
    }
}

TBufferCoord TCustomSynEdit::GetMatchingBracket() {
    return GetMatchingBracketEx(GetCaretXY());
}

// Without a partner the caret stays where it is instead of jumping to the top of the text.
void TCustomSynEdit::FindMatchingBracket() {
    const TBufferCoord match = GetMatchingBracket();
    if (match.Line > 0) InternalSetCaretXY(match);
}

// ---- Tab and Shift+Tab ----------------------------------------------------------------------

// With smart tabs a tab reaches the start of the next word in the nearest line
// above that is long enough; no such line, no smart width.
TCustomSynEdit::SmartTab TCustomSynEdit::smartTab() {
    SmartTab result;
    if (!options_.Contains(eoSmartTabs) || caretY_ <= 1 || caretY_ > lines_->Count()) return result;
    const Integer column = GetDisplayX();
    for (Integer y = caretY_ - 1; y >= 1; --y) {
        const AnsiString line = lines_->Get(y - 1);
        const Integer from = DisplayToBufferPos(DisplayCoord(column, LineToRow(y))).Char;
        if (lengthOf(line) < from) continue;
        Integer to = from;
        while (to <= lengthOf(line) && !isBlank(line[static_cast<std::size_t>(to - 1)]))
            ++to;
        while (to <= lengthOf(line) && isBlank(line[static_cast<std::size_t>(to - 1)]))
            ++to;
        result.Width = to - from;
        result.TargetColumn =
            column + CharIndex2CaretPos(to, tabWidth_, line) - CharIndex2CaretPos(from, tabWidth_, line);
        return result;
    }
    return result;
}

// Tabs first, as far as whole tab stops fit before the target column, then spaces.
AnsiString TCustomSynEdit::fillToColumn(Integer From, Integer To) const {
    AnsiString text;
    Integer column = From;
    const Integer nextStop = From + tabWidth_ - (From - 1) % tabWidth_;
    if (nextStop <= To) {
        text += '\t';
        column = nextStop;
        for (; column + tabWidth_ <= To; column += tabWidth_)
            text += '\t';
    }
    return text + spaces(To - column);
}

// What a tab inserts at the caret, and the caret column after it.
AnsiString TCustomSynEdit::tabText(const SmartTab& Smart, Integer& NewCaretX) {
    if (options_.Contains(eoTabsToSpaces)) {
        const Integer width = Smart.Width > 0 ? Smart.Width : tabWidth_ - (caretX_ - 1) % tabWidth_;
        NewCaretX = caretX_ + width;
        return spaces(width);
    }
    const AnsiString line = GetLineText();
    const Integer column = CharIndex2CaretPos(caretX_, tabWidth_, line);
    const bool trim = options_.Contains(eoTrimTrailingSpaces);
    if (trim && caretX_ > lengthOf(line)) {
        const Integer target =
            Smart.Width > 0 ? Smart.TargetColumn : column + tabWidth_ - (column - 1) % tabWidth_;
        NewCaretX = caretX_ + target - column;
        return AnsiString();
    }
    AnsiString text = "\t";
    if (Smart.Width > 0) {
        const AnsiString before =
            line.substr(0, static_cast<std::size_t>(std::min(caretX_ - 1, lengthOf(line))));
        if (std::all_of(before.begin(), before.end(), isWhite))
            text = fillToColumn(column, Smart.TargetColumn);
    }
    NewCaretX = caretX_ + lengthOf(text);
    if (trim && TrimTrailingBlanks(line).empty()) NewCaretX = caretX_ + GetExpandedLength(text, tabWidth_);
    return text;
}

void TCustomSynEdit::DoTabKey() {
    if (options_.Contains(eoTabIndent) && (GetSelTabBlock() || GetSelTabLine())) {
        const bool wholeLines = GetSelTabLine();
        DoBlockIndent();
        if (!wholeLines) return;
        // Whole lines stay whole: the selection takes in the new indent too.
        if (blockBegin_.Char >= blockEnd_.Char)
            blockEnd_.Char = 1;
        else
            blockBegin_.Char = 1;
        InvalidateLines(std::min(blockBegin_.Line, blockEnd_.Line),
                        std::max(blockBegin_.Line, blockEnd_.Line));
        return;
    }
    const SmartTab smart = smartTab();
    Integer newX = caretX_;
    inUndoBlock(*this, [&] {
        if (GetSelAvail()) {
            UndoList()->AddChange(crDelete, blockBegin_, blockEnd_, selectedTextInBuffer(),
                                  activeSelectionMode_);
            SetSelTextPrimitive(AnsiString());
        }
        const TBufferCoord start = GetCaretXY();
        const AnsiString text = tabText(smart, newX);
        const Integer lineEnd = lengthOf(GetLineText()) + 1;
        // A column insertion records its padding and itself, in that order. Any other tab
        // goes in at the caret as plain text (in line mode it would go to the line start),
        // and is recorded as such.
        if (activeSelectionMode_ == smColumn) {
            SetSelTextPrimitive(text);
            return;
        }
        SetSelTextPrimitiveEx(smNormal, text.c_str(), true);
        if (!text.empty() && lineEnd < start.Char) recordPadding(BufferCoord(lineEnd, start.Line), start);
        UndoList()->AddChange(crInsert, start, BufferCoord(newX, start.Line), AnsiString(), smNormal);
    });
    {
        ScopedOption pastEol(options_, eoScrollPastEol);
        InternalSetCaretX(newX);
    }
    EnsureCursorPosVisible();
}

// Shift+Tab goes back to the start of the word above (smart tabs) or to the
// previous tab stop, removing only the blanks it passes: text before the
// caret is never deleted by it.
Integer TCustomSynEdit::shiftTabColumn() const {
    const AnsiString line = GetLineText();
    const auto charBefore = [&](Integer X) { return line[static_cast<std::size_t>(X - 2)]; };
    const Integer smartTarget = smartShiftTabColumn();
    if (smartTarget < caretX_) {
        Integer newX = std::min(caretX_, std::max(smartTarget, lengthOf(line) + 1));
        while (newX > smartTarget && isBlank(charBefore(newX)))
            --newX;
        return newX;
    }
    // At column 1 with tab width 1 the stop would fall on column 0, left of the line's first character.
    const Integer previousStop = std::max(((caretX_ - 2) / tabWidth_) * tabWidth_ + 1, 1);
    Integer newX = std::min(caretX_, std::max(previousStop, lengthOf(line) + 1));
    if (newX > previousStop && charBefore(newX) == '\t') return newX - 1;
    while (newX > previousStop && charBefore(newX) == ' ')
        --newX;
    return newX;
}

// The start of the word left of the caret's column in the nearest line above that reaches it.
Integer TCustomSynEdit::smartShiftTabColumn() const {
    if (!options_.Contains(eoSmartTabs) || caretX_ == 1 || caretY_ <= 1 || caretY_ > lines_->Count())
        return caretX_;
    for (Integer y = caretY_ - 1; y >= 1; --y) {
        const AnsiString above = lines_->Get(y - 1);
        if (lengthOf(above) < caretX_ - 1) continue;
        Integer i = caretX_ - 1;
        while (i >= 1 && above[static_cast<std::size_t>(i - 1)] == ' ')
            --i;
        while (i >= 1 && above[static_cast<std::size_t>(i - 1)] != ' ')
            --i;
        return std::max(1, i + 1);
    }
    return caretX_;
}

void TCustomSynEdit::DoShiftTabKey() {
    if (options_.Contains(eoTabIndent) && (GetSelTabBlock() || GetSelTabLine())) {
        DoBlockUnindent();
        return;
    }
    const Integer newX = shiftTabColumn();
    if (newX == caretX_) return;
    const TBufferCoord caret = GetCaretXY();
    const TBufferCoord start = BufferCoord(newX, caretY_);
    selectNormalRange(start, caret);
    const AnsiString removed = GetSelText();
    SetSelTextPrimitive(AnsiString());
    UndoList()->AddChange(crSilentDelete, start, caret, removed, smNormal);
    ScopedOption pastEol(options_, eoScrollPastEol);
    InternalSetCaretX(newX);
}

// ---- Block indent ---------------------------------------------------------------------------

void TCustomSynEdit::DoBlockIndent() {
    if (!GetSelAvail()) return;
    const TSynSelectionMode mode = activeSelectionMode_;
    const TBufferCoord caret = GetCaretXY();
    const TBufferCoord first = GetBlockBegin();
    TBufferCoord last = GetBlockEnd();
    const bool toSpaces = options_.Contains(eoTabsToSpaces);
    const AnsiString indent = toSpaces ? spaces(tabWidth_) : AnsiString("\t");
    const Integer indentLength = lengthOf(indent);
    const Integer lastLine = last.Char == 1 ? last.Line - 1 : last.Line;
    const Integer newCaretX = last.Char == 1 ? 1 : caret.Char + indentLength;
    const std::vector<AnsiString> pieces(static_cast<std::size_t>(std::max(0, lastLine - first.Line + 1)),
                                         indent);
    const AnsiString text = joinLines(pieces);
    inUndoBlock(*this, [&] {
        const TBufferCoord at =
            BufferCoord(mode == smColumn ? std::min(first.Char, last.Char) : 1, first.Line);
        InsertBlock(at, at, text.c_str(), true);
        UndoList()->AddChange(crIndent, first, last, AnsiString(), smColumn);
        UndoList()->AddChange(crIndent, BufferCoord(first.Char + indentLength, first.Line),
                              BufferCoord(last.Char + indentLength, last.Line), AnsiString(), smColumn);
    });
    if (last.Char > 1) last.Char += indentLength;
    SetCaretAndSelection(BufferCoord(newCaretX, caret.Line),
                         BufferCoord(first.Char + indentLength, first.Line), last);
    SetActiveSelectionMode(mode);
}

// One tab, or the leading spaces up to a tab width and a tab right after them.
Integer TCustomSynEdit::blockUnindentAmount(const AnsiString& Line, Integer Column) const {
    const auto at = [&](Integer I) { return Line[static_cast<std::size_t>(I)]; };
    const Integer length = lengthOf(Line);
    if (Column >= length) return 0;
    if (at(Column) == '\t') return 1;
    Integer amount = 0;
    while (Column + amount < length && amount < tabWidth_ && at(Column + amount) == ' ')
        ++amount;
    if (amount < tabWidth_ && Column + amount < length && at(Column + amount) == '\t') ++amount;
    return amount;
}

void TCustomSynEdit::DoBlockUnindent() {
    if (!GetSelAvail()) return;
    const TSynSelectionMode mode = activeSelectionMode_;
    TBufferCoord first = GetBlockBegin();
    TBufferCoord last = GetBlockEnd();
    TBufferCoord caret = GetCaretXY();
    const Integer lastLine = last.Char == 1 ? last.Line - 1 : last.Line;
    std::vector<AnsiString> removed;
    std::vector<Integer> amounts;
    for (Integer y = first.Line; y <= lastLine; ++y) {
        const AnsiString line = lines_->Get(y - 1);
        const Integer column =
            mode == smColumn ? std::min({first.Char - 1, last.Char - 1, lengthOf(line)}) : 0;
        const Integer amount = blockUnindentAmount(line, column);
        amounts.push_back(amount);
        removed.push_back(
            line.substr(static_cast<std::size_t>(std::max(0, column)), static_cast<std::size_t>(amount)));
        if (y == caret.Line && caret.Char != 1) caret.Char = std::max(1, caret.Char - amount);
    }
    const auto firstCut = std::find_if(amounts.begin(), amounts.end(), [](Integer A) { return A > 0; });
    if (firstCut == amounts.end()) return;
    const Integer firstIndent = *firstCut;
    const Integer lastIndent =
        *std::find_if(amounts.rbegin(), amounts.rend(), [](Integer A) { return A > 0; });
    const Integer deleteColumn = mode == smColumn ? std::min(first.Char, last.Char) : 1;
    for (Integer y = first.Line; y <= lastLine; ++y) {
        const Integer amount = amounts[static_cast<std::size_t>(y - first.Line)];
        if (amount == 0) continue;
        AnsiString line = lines_->Get(y - 1);
        line.erase(static_cast<std::size_t>(deleteColumn - 1), static_cast<std::size_t>(amount));
        lines_->Put(y - 1, line);
    }
    UndoList()->AddChange(crUnindent, first, last, joinLines(removed), mode);
    if (mode == smColumn) {
        caret = GetCaretXY();
    } else {
        first.Char = std::max(1, first.Char - firstIndent);
        last.Char = std::max(1, last.Char - lastIndent);
    }
    SetCaretAndSelection(caret, first, last);
    SetActiveSelectionMode(mode);
}

// ---- Case change ----------------------------------------------------------------------------

void TCustomSynEdit::DoCaseChange(TSynEditorCommand Cmd) {
    if (Cmd < SynEditKeyCmds::ecUpperCase || Cmd > ecToggleCaseBlock)
        throw EAssertionFailed("Assertion failure (SynEdit)");
    const bool hadSelection = GetSelAvail();
    const TSynSelectionMode mode = activeSelectionMode_;
    const TBufferCoord anchor = blockBegin_;
    const TBufferCoord end = blockEnd_;
    const TBufferCoord first = GetBlockBegin();
    const TBufferCoord last = GetBlockEnd();
    const TBufferCoord caret = GetCaretXY();
    const bool wordCommand = Cmd < ecUpperCaseBlock;
    if (wordCommand) {
        SetSelWord();
        for (Integer attempt = 0; attempt < 2 && !GetSelAvail(); ++attempt) {
            InternalSetCaretXY(PrevWordPos());
            SetSelWord();
        }
    } else if (!hadSelection) {
        if (caretX_ > lengthOf(GetLineText()) && caretY_ < lines_->Count())
            InternalSetCaretXY(BufferCoord(1, caretY_ + 1));
        else
            MoveCaretHorz(1, true);
    }
    const AnsiString text = selectedTextInBuffer();
    if (!text.empty()) {
        inUndoBlock(*this, [&] {
            UndoList()->AddChange(crSelection, hadSelection ? first : caret, hadSelection ? last : caret,
                                  AnsiString(), activeSelectionMode_);
            UndoList()->AddChange(crCaret, caret, caret, AnsiString(), activeSelectionMode_);
            SetSelTextExternal(caseChanged(Cmd, text));
        });
    }
    if (wordCommand) {
        SetCaretXY(caret);
    } else if (hadSelection) {
        // The block stays selected, so that another case command can follow.
        SetCaretAndSelection(caret, anchor, end);
        SetActiveSelectionMode(mode);
    }
}
