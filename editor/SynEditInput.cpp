// How the editor takes input and gives text back: keys, input-method results
// and the mouse turned into commands, caret moves and selections (with
// auto-scroll while a selection is dragged past the edge), the selected text
// and the clipboard copy, and undo and redo over the two change lists.
#include "editor/SynEdit.h"

#include "editor/SynEditMiscProcs.h"
#include "platform/core/CodePages.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Cursors.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/Ime.h"
#include "platform/win/Keyboard.h"
#include "platform/win/SystemInfo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr const char* ClipboardFormatName = "SynEdit Control Block Type";
constexpr Cardinal ScrollTimerInterval = 100;
// The text rectangle of a borderless editor keeps clear of its edge.
constexpr Integer BorderlessScrollInset = 2;
constexpr const char* LineBreak = "\r\n";
constexpr const char* CopyFailed = "Clipboard copy operation failed";

// The format is registered when the program starts, as the editor's set-up,
// so that it is known before the first copy or paste.
[[maybe_unused]] const UINT registeredAtStartUp = TCustomSynEdit::SynEditClipboardFormat();

// Characters First .. First + Count - 1 (1-based) of Line, as far as the line reaches.
AnsiString charactersOf(const AnsiString& Line, Integer First, Integer Count) {
    const auto start = static_cast<std::size_t>(std::max(First, 1) - 1);
    if (Count <= 0 || start >= Line.size()) return {};
    return Line.substr(start, static_cast<std::size_t>(Count));
}

// Places Bytes and a NUL on the open clipboard; false when the clipboard refused them.
bool placeOnClipboard(UINT Format, const AnsiString& Bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Bytes.size() + 1);
    if (memory == nullptr) return false;
    auto* target = static_cast<char*>(GlobalLock(memory));
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, Bytes.data(), Bytes.size());
    target[Bytes.size()] = '\0';
    GlobalUnlock(memory);
    if (SetClipboardData(Format, memory) == nullptr) {
        // The clipboard took no ownership of a block it refused.
        GlobalFree(memory);
        return false;
    }
    return true;
}

// The begin and end markers that bracket a group of undo items.
struct TMarkerPair {
    TSynChangeReason Begin;
    TSynChangeReason End;
};
constexpr TMarkerPair MarkerPairs[] = {{crAutoCompleteBegin, crAutoCompleteEnd},
                                       {crPasteBegin, crPasteEnd},
                                       {crSpecial1Begin, crSpecial1End},
                                       {crSpecial2Begin, crSpecial2End}};

// The marker that closes the group opened by Reason (or opens the group it
// closes): Undo meets end markers first, Redo begin markers. crNothing when
// Reason is no marker of that side.
TSynChangeReason matchingMarker(TSynChangeReason Reason, bool Undoing) {
    for (const TMarkerPair& pair : MarkerPairs) {
        if (Undoing && Reason == pair.End) return pair.Begin;
        if (!Undoing && Reason == pair.Begin) return pair.End;
    }
    return crNothing;
}

// Puts an item back where it came from without the list's added event: it is
// no new change, so the redo list must not be emptied for it.
void putBack(TSynEditUndoList& List, std::unique_ptr<TSynEditUndoItem> Item) {
    const TNotifyEvent added = List.OnAddedUndo;
    List.OnAddedUndo = nullptr;
    List.PushItem(std::move(Item));
    List.OnAddedUndo = added;
}

// Whether a list gained an item since Before was taken (the newest item is
// another one even when trimming kept the count).
struct TListMark {
    Integer Count;
    const TSynEditUndoItem* Newest;
};
TListMark markOf(TSynEditUndoList& List) {
    return {List.GetItemCount(), List.PeekItem()};
}
bool changedSince(TSynEditUndoList& List, const TListMark& Before) {
    return List.GetItemCount() != Before.Count || List.PeekItem() != Before.Newest;
}

} // namespace

UINT TCustomSynEdit::SynEditClipboardFormat() {
    static const UINT format = RegisterClipboardFormatA(ClipboardFormatName);
    return format;
}

// ---- Keys and the input method -------------------------------------------------------------

void TCustomSynEdit::KeyDown(Word& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    kbdHandler_->ExecuteKeyDown(this, Key, Shift);
    void* data = nullptr;
    const TSynEditorCommand command = TranslateKeyCode(Key, Shift, data);
    if (command != ecNone) {
        Key = 0;
        // The character message of this key belongs to the command.
        stateFlags_.Include(sfIgnoreNextChar);
        CommandProcessor(command, '\0', data);
    } else {
        stateFlags_.Exclude(sfIgnoreNextChar);
    }
}

void TCustomSynEdit::KeyUp(Word& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    kbdHandler_->ExecuteKeyUp(this, Key, Shift);
}

void TCustomSynEdit::KeyPress(char& Key) {
    if (imeCount_ >= 1) {
        --imeCount_;
        return;
    }
    if (stateFlags_.Contains(sfIgnoreNextChar)) {
        stateFlags_.Exclude(sfIgnoreNextChar);
        return;
    }
    TCustomControl::KeyPress(Key);
    kbdHandler_->ExecuteKeyPress(this, Key);
    CommandProcessor(ecChar, Key, nullptr);
}

// The result is inserted at once as one string; the character messages the
// framework then makes of it are already in the text and are skipped.
void TCustomSynEdit::WMImeComposition(TMessage& Message) {
    if ((static_cast<DWORD>(Message.LParam) & GCS_RESULTSTR) != 0) {
        if (HIMC context = ImmGetContext(Handle()); context != nullptr) {
            const LONG length =
                std::max<LONG>(ImmGetCompositionStringA(context, GCS_RESULTSTR, nullptr, 0), 0);
            std::vector<char> result(static_cast<std::size_t>(length) + 1, '\0');
            ImmGetCompositionStringA(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(length));
            imeCount_ = length;
            CommandProcessor(ecImeStr, '\0', result.data());
            ImmReleaseContext(Handle(), context);
        }
    }
    TCustomControl::Dispatch(Message);
}

// The composition window writes in the editor's font.
void TCustomSynEdit::WMImeNotify(TMessage& Message) {
    if (Message.WParam == IMN_SETOPENSTATUS) {
        if (HIMC context = ImmGetContext(Handle()); context != nullptr) {
            LOGFONTA font{};
            GetObjectA(Font()->Handle(), sizeof(font), &font);
            ImmSetCompositionFontA(context, &font);
            ImmReleaseContext(Handle(), context);
        }
    }
    TCustomControl::Dispatch(Message);
}

// ---- Mouse ----------------------------------------------------------------------------------

void TCustomSynEdit::createScrollTimer() {
    scrollTimer_ = new TTimer(this);
    scrollTimer_->SetEnabled(false);
    scrollTimer_->SetInterval(ScrollTimerInterval);
    scrollTimer_->SetOnTimer(TNotifyEvent(this, &TCustomSynEdit::ScrollTimerHandler));
}

void TCustomSynEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    const TBufferCoord oldAnchor = blockBegin_;
    const TBufferCoord oldEnd = blockEnd_;
    const bool hadSelection = Button == mbLeft && GetSelAvail();
    if (hadSelection) {
        mouseDownX_ = X;
        mouseDownY_ = Y;
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
    // DblClick has already selected the word.
    if (Button == mbLeft && Shift.Contains(ssDouble)) return;
    kbdHandler_->ExecuteMouseDown(this, Button, Shift, X, Y);
    bool mayDrag = false;
    if (Button == mbRight) {
        if (!options_.Contains(eoRightMouseMovesCursor)) return;
        if (GetSelAvail() && IsPointInSelection(DisplayToBufferPos(PixelsToRowColumn(X, Y)))) return;
        InvalidateSelection();
        blockEnd_ = blockBegin_;
        ComputeCaret(X, Y);
    } else if (Button == mbLeft) {
        ComputeCaret(X, Y);
        // The selection stays as it was: the click may start dragging it.
        blockBegin_ = oldAnchor;
        blockEnd_ = oldEnd;
        SetMouseCapture(true);
        stateFlags_.Exclude(sfWaitForDragging);
        mayDrag = hadSelection && options_.Contains(eoDragDropEditing) && X >= gutterWidth_ + TextMargin &&
                  selectionMode_ == smNormal &&
                  IsPointInSelection(DisplayToBufferPos(PixelsToRowColumn(X, Y)));
    }
    if (mayDrag) {
        stateFlags_.Include(sfWaitForDragging);
    } else if (!stateFlags_.Contains(sfDblClicked)) {
        startOrExtendSelection(Shift);
    }
    if (X < gutterWidth_) stateFlags_.Include(sfPossibleGutterClick);
    if (stateFlags_.Contains(sfPossibleGutterClick) && Button == mbRight) DoOnGutterClick(Button, X, Y);
    SetFocus();
    ::SetFocus(Handle());
}

void TCustomSynEdit::startOrExtendSelection(TShiftState Shift) {
    if (Shift.Contains(ssShift)) {
        SetBlockEnd(CaretXY());
        return;
    }
    if (options_.Contains(eoAltSetsColumnMode) && activeSelectionMode_ != smLine)
        SetSelectionMode(Shift.Contains(ssAlt) ? smColumn : smNormal);
    SetBlockBegin(CaretXY());
}

void TCustomSynEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (MouseCapture() && stateFlags_.Contains(sfWaitForDragging)) {
        if (std::abs(mouseDownX_ - X) >= GetSystemMetrics(SM_CXDRAG) ||
            std::abs(mouseDownY_ - Y) >= GetSystemMetrics(SM_CYDRAG)) {
            stateFlags_.Exclude(sfWaitForDragging);
            BeginDrag(true, -1);
        }
    } else if (Shift.Contains(ssLeft) && MouseCapture()) {
        ComputeScroll(X, Y);
        TDisplayCoord position = PixelsToNearestRowColumn(X, Y);
        position.Row = clampedRow(position.Row);
        // While the view scrolls along an axis, the timer moves the caret on it.
        if (scrollDeltaX_ != 0) position.Column = GetDisplayX();
        if (scrollDeltaY_ != 0) position.Row = GetDisplayY();
        InternalSetCaretXY(DisplayToBufferPos(position));
        SetBlockEnd(CaretXY());
        if (stateFlags_.Contains(sfPossibleGutterClick) && caretY_ != blockBegin_.Line)
            stateFlags_.Include(sfGutterDragging);
    }
}

void TCustomSynEdit::ComputeScroll(Integer X, Integer Y) {
    if (!MouseCapture() && !Dragging()) {
        scrollTimer_->SetEnabled(false);
        return;
    }
    TRect textArea{gutterWidth_, 0, gutterWidth_ + charsInWindow_ * charWidth_, linesInWindow_ * lineHeight_};
    if (borderStyle_ == bsNone) {
        textArea.Left += BorderlessScrollInset;
        textArea.Top += BorderlessScrollInset;
        textArea.Right -= BorderlessScrollInset;
        textArea.Bottom -= BorderlessScrollInset;
    }
    auto deltaOf = [](Integer Value, Integer Low, Integer High, Integer Step) {
        if (Value < Low) return safeDiv(Value - Low, Step) - 1;
        if (Value >= High) return safeDiv(Value - High, Step) + 1;
        return 0;
    };
    scrollDeltaX_ = deltaOf(X, textArea.Left, textArea.Right, charWidth_);
    scrollDeltaY_ = deltaOf(Y, textArea.Top, textArea.Bottom, lineHeight_);
    scrollTimer_->SetEnabled(scrollDeltaX_ != 0 || scrollDeltaY_ != 0);
}

void TCustomSynEdit::ScrollTimerHandler(TObject*) {
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint client = ScreenToClient(TPoint{screen.x, screen.y});
    TDisplayCoord position = PixelsToRowColumn(client.x, client.y);
    position.Row = clampedRow(position.Row);
    if (scrollDeltaX_ != 0) {
        SetLeftChar(leftChar_ + scrollDeltaX_);
        position.Column = leftChar_;
        if (scrollDeltaX_ > 0) position.Column += charsInWindow_;
    }
    if (scrollDeltaY_ != 0) {
        // Shift scrolls a page per tick.
        const bool byPage = GetKeyState(VK_SHIFT) < 0;
        SetTopLine(topLine_ + (byPage ? scrollDeltaY_ * linesInWindow_ : scrollDeltaY_));
        position.Row = topLine_;
        if (scrollDeltaY_ > 0) position.Row += linesInWindow_ - 1;
        position.Row = clampedRow(position.Row);
    }
    const TBufferCoord target = DisplayToBufferPos(position);
    if (!(CaretXY() == target)) {
        IncPaintLock();
        try {
            InternalSetCaretXY(target);
            if (MouseCapture()) SetBlockEnd(CaretXY());
        } catch (...) {
            DecPaintLock();
            throw;
        }
        DecPaintLock();
    }
    ComputeScroll(client.x, client.y);
}

void TCustomSynEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    kbdHandler_->ExecuteMouseUp(this, Button, Shift, X, Y);
    scrollTimer_->SetEnabled(false);
    // The popup menu comes up on this release.
    if (Button == mbRight && Shift == TShiftState{ssRight} && PopupMenu() != nullptr) return;
    SetMouseCapture(false);
    if (stateFlags_.Contains(sfPossibleGutterClick) && !stateFlags_.Contains(sfGutterDragging) &&
        X < gutterWidth_ && Button != mbRight) {
        DoOnGutterClick(Button, X, Y);
    } else if (stateFlags_.Contains(sfWaitForDragging) && !stateFlags_.Contains(sfDblClicked)) {
        // A click inside the selection that did not become a drag.
        ComputeCaret(X, Y);
        if (!Shift.Contains(ssShift)) SetBlockBegin(CaretXY());
        SetBlockEnd(CaretXY());
        stateFlags_.Exclude(sfWaitForDragging);
    }
    stateFlags_.Exclude(sfDblClicked);
    stateFlags_.Exclude(sfPossibleGutterClick);
    stateFlags_.Exclude(sfGutterDragging);
    // What the mouse selected goes to the desktop's middle-button paste.
    if (Button == mbLeft && SelAvail()) OfferSelectedText(AnsiToWide(SelText()));
}

void TCustomSynEdit::DoOnGutterClick(TMouseButton Button, Integer X, Integer Y) {
    if (!OnGutterClick) return;
    const Integer line = RowToLine(PixelsToRowColumn(X, Y).Row);
    if (line > lines_->Count()) return;
    TSynEditMarks marks{};
    markList_->GetMarksForLine(line, marks);
    TSynEditMark* clicked = nullptr;
    Integer offset = 0;
    for (TSynEditMark* mark : marks) {
        if (mark == nullptr) break;
        offset += bookMarkOptions_->Xoffset();
        if (X < offset) {
            clicked = mark;
            break;
        }
    }
    OnGutterClick(this, Button, X, Y, line, clicked);
}

// ---- Selected text ------------------------------------------------------------------------

TBufferCoord TCustomSynEdit::GetBlockBegin() const {
    return isBefore(blockEnd_, blockBegin_) ? blockEnd_ : blockBegin_;
}

TBufferCoord TCustomSynEdit::GetBlockEnd() const {
    return isBefore(blockEnd_, blockBegin_) ? blockBegin_ : blockEnd_;
}

bool TCustomSynEdit::GetSelAvail() const {
    return blockBegin_.Char != blockEnd_.Char ||
           (blockBegin_.Line != blockEnd_.Line && activeSelectionMode_ != smColumn);
}

bool TCustomSynEdit::GetSelTabBlock() const {
    return blockBegin_.Line != blockEnd_.Line && activeSelectionMode_ != smColumn;
}

bool TCustomSynEdit::GetSelTabLine() const {
    return GetBlockBegin().Char <= 1 && GetBlockEnd().Char > static_cast<Integer>(GetLineText().size()) &&
           GetSelAvail();
}

AnsiString TCustomSynEdit::GetLineText() const {
    if (caretY_ < 1 || caretY_ > lines_->Count()) return {};
    return lines_->Get(caretY_ - 1);
}

AnsiString TCustomSynEdit::GetWordAtCursor() {
    const TBufferCoord anchor = blockBegin_;
    const TBufferCoord end = blockEnd_;
    SetBlockBegin(WordStart());
    SetBlockEnd(WordEnd());
    AnsiString word = GetSelText();
    SetBlockBegin(anchor);
    SetBlockEnd(end);
    return word;
}

AnsiString TCustomSynEdit::GetSelText() const {
    if (!GetSelAvail()) return {};
    const TBufferCoord first = GetBlockBegin();
    const TBufferCoord last = GetBlockEnd();
    switch (activeSelectionMode_) {
    case smLine:
        return lineSelText(first, last);
    case smColumn:
        return columnSelText(first, last);
    case smNormal:
        break;
    }
    return normalSelText(first, last);
}

AnsiString TCustomSynEdit::normalSelText(TBufferCoord First, TBufferCoord Last) const {
    if (First.Line == Last.Line)
        return charactersOf(lines_->Get(First.Line - 1), First.Char, Last.Char - First.Char);
    const AnsiString firstLine = lines_->Get(First.Line - 1);
    AnsiString text = charactersOf(firstLine, First.Char, static_cast<Integer>(firstLine.size()));
    text += LineBreak;
    for (Integer line = First.Line + 1; line < Last.Line; ++line) {
        text += lines_->Get(line - 1);
        text += LineBreak;
    }
    text += charactersOf(lines_->Get(Last.Line - 1), 1, Last.Char - 1);
    return text;
}

AnsiString TCustomSynEdit::lineSelText(TBufferCoord First, TBufferCoord Last) const {
    AnsiString text;
    for (Integer line = First.Line; line <= Last.Line; ++line) {
        text += lines_->Get(line - 1);
        if (line != lines_->Count()) text += LineBreak;
    }
    return text;
}

AnsiString TCustomSynEdit::columnSelText(TBufferCoord First, TBufferCoord Last) const {
    const TDisplayCoord firstPos = BufferToDisplayPos(First);
    const TDisplayCoord lastPos = BufferToDisplayPos(Last);
    const Integer leftColumn = std::min(firstPos.Column, lastPos.Column);
    const Integer rightColumn = std::max(firstPos.Column, lastPos.Column);
    AnsiString text;
    for (Integer row = firstPos.Row; row <= lastPos.Row; ++row) {
        const TBufferCoord start = DisplayToBufferPos(DisplayCoord(leftColumn, row));
        Integer startChar = start.Char;
        Integer endChar = DisplayToBufferPos(DisplayCoord(rightColumn, row)).Char;
        const AnsiString line = lines_->Get(start.Line - 1);
        MBCSGetSelRangeInLineWhenColumnSelectionMode(line, startChar, endChar);
        AnsiString piece = charactersOf(line, startChar, endChar - startChar);
        const auto width = static_cast<std::size_t>(std::max(endChar - startChar, 0));
        if (!options_.Contains(eoTrimTrailingSpaces) && piece.size() < width) piece.resize(width, ' ');
        text += piece;
        if (row < lastPos.Row) text += LineBreak;
    }
    return text;
}

// ---- Indentation ----------------------------------------------------------------------------

Integer TCustomSynEdit::LeftSpacesEx(const AnsiString& Line, bool WantTabs) const {
    if (Line.empty() || !options_.Contains(eoAutoIndent)) return 0;
    Integer count = 0;
    for (char c : Line) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 1 || code > ' ') break;
        count += (c == '\t' && WantTabs) ? tabWidth_ : 1;
    }
    return count;
}

AnsiString TCustomSynEdit::GetLeftSpacing(Integer CharCount, bool WantTabs) const {
    if (WantTabs && !options_.Contains(eoTabsToSpaces) && CharCount >= tabWidth_)
        return AnsiString(static_cast<std::size_t>(CharCount / tabWidth_), '\t') +
               AnsiString(static_cast<std::size_t>(CharCount % tabWidth_), ' ');
    return AnsiString(static_cast<std::size_t>(std::max(CharCount, 0)), ' ');
}

AnsiString TCustomSynEdit::TrimTrailingBlanks(const AnsiString& S) {
    const std::size_t end = S.find_last_not_of(" \t");
    return end == AnsiString::npos ? AnsiString() : S.substr(0, end + 1);
}

// ---- Pixels and positions -------------------------------------------------------------------

TDisplayCoord TCustomSynEdit::PixelsToRowColumn(Integer aX, Integer aY) const {
    return DisplayCoord(std::max(1, leftChar_ + safeDiv(aX - gutterWidth_ - TextMargin, charWidth_)),
                        std::max(1, topLine_ + safeDiv(aY, lineHeight_)));
}

TDisplayCoord TCustomSynEdit::PixelsToNearestRowColumn(Integer aX, Integer aY) const {
    const double columns =
        static_cast<double>(aX - gutterWidth_ - TextMargin) / static_cast<double>(std::max(charWidth_, 1));
    // A partly visible last row is not a place to put the caret.
    const Integer wholeRowsHeight = linesInWindow_ * lineHeight_;
    if (aY >= wholeRowsHeight) aY = std::max(wholeRowsHeight - 1, 0);
    // nearbyint rounds halves to the even neighbour.
    return DisplayCoord(std::max(1, leftChar_ + static_cast<Integer>(std::nearbyint(columns))),
                        std::max(1, topLine_ + safeDiv(aY, lineHeight_)));
}

TPoint TCustomSynEdit::RowColumnToPixels(const TDisplayCoord& aRowCol) const {
    return TPoint{(aRowCol.Column - 1) * charWidth_ + textOffset_, (aRowCol.Row - topLine_) * lineHeight_};
}

Integer TCustomSynEdit::clampedRow(Integer Row) const {
    return MinMax(Row, 1, DisplayLineCount());
}

void TCustomSynEdit::ComputeCaret(Integer X, Integer Y) {
    TDisplayCoord position = PixelsToNearestRowColumn(X, Y);
    position.Row = clampedRow(position.Row);
    SetInternalDisplayXY(position);
}

// ---- Clipboard ------------------------------------------------------------------------------

void TCustomSynEdit::DoCopyToClipboard(const AnsiString& SText) {
    if (SText.empty()) return;
    bool placed = false;
    if (OpenClipboard(HandleAllocated() ? Handle() : nullptr)) {
        // The plain text goes first: readers that know only text find it, and
        // the private copy is placed only beside a text that got there.
        EmptyClipboard();
        placed = placeOnClipboard(CF_TEXT, SText) &&
                 placeOnClipboard(SynEditClipboardFormat(),
                                  AnsiString(1, static_cast<char>(activeSelectionMode_)) + SText);
        CloseClipboard();
    }
    if (!placed) throw ESynEditError(CopyFailed);
}

void TCustomSynEdit::CopyToClipboard() {
    if (!GetSelAvail()) return;
    // Column text keeps its padding on the clipboard, so that pasting it as a
    // column rebuilds the same block.
    const bool untrimmed = activeSelectionMode_ == smColumn && options_.Contains(eoTrimTrailingSpaces);
    if (untrimmed) options_.Exclude(eoTrimTrailingSpaces);
    AnsiString text;
    try {
        text = GetSelText();
    } catch (...) {
        if (untrimmed) options_.Include(eoTrimTrailingSpaces);
        throw;
    }
    if (untrimmed) options_.Include(eoTrimTrailingSpaces);
    DoCopyToClipboard(text);
}

void TCustomSynEdit::CutToClipboard() {
    if (ReadOnly() || !GetSelAvail()) return;
    BeginUndoBlock();
    try {
        DoCopyToClipboard(GetSelText());
        SetSelTextExternal(AnsiString());
    } catch (...) {
        EndUndoBlock();
        throw;
    }
    EndUndoBlock();
}

// ---- Undo and redo --------------------------------------------------------------------------

bool TCustomSynEdit::GetCanUndo() const {
    return !ReadOnly() && UndoList()->GetCanUndo();
}

bool TCustomSynEdit::GetCanRedo() const {
    return !ReadOnly() && RedoList()->GetCanUndo();
}

Integer TCustomSynEdit::MaxUndo() const {
    return UndoList()->GetMaxUndoActions();
}

void TCustomSynEdit::SetMaxUndo(Integer Value) {
    if (Value <= -1) return;
    UndoList()->SetMaxUndoActions(Value);
    RedoList()->SetMaxUndoActions(Value);
}

void TCustomSynEdit::Undo() {
    if (ReadOnly()) return;
    TSynEditUndoList& undoList = *UndoList();
    TSynEditUndoList& redoList = *RedoList();
    // A trailing group break moves across first, so that undo and redo keep
    // the same group boundaries.
    if (undoList.LastChangeReason() == crGroupBreak) {
        const Integer savedNumber = redoList.GetBlockChangeNumber();
        const std::unique_ptr<TSynEditUndoItem> groupBreak = undoList.PopItem();
        redoList.SetBlockChangeNumber(groupBreak->ChangeNumber);
        redoList.AddGroupBreak();
        redoList.SetBlockChangeNumber(savedNumber);
    }
    undoOrRedoStep(undoList, redoList, true);
}

void TCustomSynEdit::Redo() {
    if (ReadOnly()) return;
    TSynEditUndoList& undoList = *UndoList();
    TSynEditUndoList& redoList = *RedoList();
    undoOrRedoStep(redoList, undoList, false);
    if (redoList.LastChangeReason() == crGroupBreak) {
        const Integer savedNumber = undoList.GetBlockChangeNumber();
        const std::unique_ptr<TSynEditUndoItem> groupBreak = redoList.PopItem();
        undoList.SetBlockChangeNumber(groupBreak->ChangeNumber);
        undoList.AddGroupBreak();
        undoList.SetBlockChangeNumber(savedNumber);
        UpdateModifiedStatus();
    }
}

// One step: the newest item and those that belong with it, either a
// bracketed group up to its other marker, or the items of one change number
// (with eoGroupUndo also the following items of the same reason).
void TCustomSynEdit::undoOrRedoStep(TSynEditUndoList& From, TSynEditUndoList& To, bool Undoing) {
    TSynChangeReason lastReason = From.LastChangeReason();
    const TSynChangeReason closingMarker = matchingMarker(lastReason, Undoing);
    const bool bracketed = closingMarker != crNothing;
    const TSynEditUndoItem* item = From.PeekItem();
    if (item == nullptr) return;
    const Integer stepNumber = item->ChangeNumber;
    const Integer savedNumber = To.GetBlockChangeNumber();
    // Every item recorded during the step shares its number, so that the
    // reverse is taken back as one step too.
    To.SetBlockChangeNumber(stepNumber);
    auto processItem = [&] { Undoing ? UndoItem() : RedoItem(); };
    try {
        bool keepGoing = true;
        while (keepGoing) {
            processItem();
            item = From.PeekItem();
            if (item == nullptr) break;
            if (bracketed)
                keepGoing = From.LastChangeReason() != closingMarker;
            else
                keepGoing = item->ChangeNumber == stepNumber ||
                            (options_.Contains(eoGroupUndo) && item->Reason == lastReason &&
                             lastReason != crIndent && lastReason != crUnindent);
            lastReason = item->Reason;
        }
        if (bracketed && From.LastChangeReason() == closingMarker) {
            processItem();
            UpdateModifiedStatus();
        }
    } catch (...) {
        To.SetBlockChangeNumber(savedNumber);
        throw;
    }
    To.SetBlockChangeNumber(savedNumber);
}

void TCustomSynEdit::UndoItem() {
    const bool pastEolWasOff = !options_.Contains(eoScrollPastEol);
    TSynEditUndoList& undoList = *UndoList();
    TSynEditUndoList& redoList = *RedoList();
    std::unique_ptr<TSynEditUndoItem> item = undoList.PopItem();
    if (item == nullptr) return;
    SetActiveSelectionMode(item->SelectionMode);
    IncPaintLock();
    // Positions past a line's end must be restorable as they were recorded.
    options_.Include(eoScrollPastEol);
    auto finish = [&] {
        if (pastEolWasOff) leaveScrollPastEol();
        DecPaintLock();
    };
    const TListMark redoBefore = markOf(redoList);
    try {
        undoItemByReason(*item);
    } catch (...) {
        // A step that failed before its reverse was recorded has not
        // happened; the item stays where it can be undone again.
        if (!changedSince(redoList, redoBefore)) putBack(undoList, std::move(item));
        finish();
        throw;
    }
    finish();
}

void TCustomSynEdit::RedoItem() {
    const bool pastEolWasOff = !options_.Contains(eoScrollPastEol);
    TSynEditUndoList& undoList = *UndoList();
    TSynEditUndoList& redoList = *RedoList();
    std::unique_ptr<TSynEditUndoItem> item = redoList.PopItem();
    if (item == nullptr) return;
    SetActiveSelectionMode(item->SelectionMode);
    IncPaintLock();
    options_.Include(eoScrollPastEol);
    // Recording the replay is no new change: the redo list stays.
    undoList.SetInsideRedo(true);
    auto finish = [&] {
        undoList.SetInsideRedo(false);
        if (pastEolWasOff) leaveScrollPastEol();
        DecPaintLock();
    };
    const TListMark undoBefore = markOf(undoList);
    try {
        redoItemByReason(*item);
    } catch (...) {
        if (!changedSince(undoList, undoBefore)) putBack(redoList, std::move(item));
        finish();
        throw;
    }
    finish();
}

void TCustomSynEdit::undoItemByReason(TSynEditUndoItem& Item) {
    TSynEditUndoList& redoList = *RedoList();
    switch (Item.Reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert: {
        selectRecordedRange(Item);
        const AnsiString inserted = GetSelText();
        SetSelTextPrimitiveEx(Item.SelectionMode, Item.ChangeText().c_str(), false);
        redoList.AddChange(Item.Reason, Item.StartPos, Item.EndPos, inserted, Item.SelectionMode);
        InternalSetCaretXY(Item.StartPos);
        break;
    }
    case crDeleteAfterCursor:
    case crDelete:
    case crSilentDelete:
    case crSilentDeleteAfterCursor:
    case crDeleteAll:
        undoDeletion(Item);
        break;
    case crLineBreak:
        undoLineBreak(Item);
        break;
    case crIndent:
        redoList.AddChange(Item.Reason, Item.StartPos, Item.EndPos, Item.ChangeText(), Item.SelectionMode);
        SetCaretAndSelection(Item.EndPos, Item.StartPos, Item.EndPos);
        break;
    case crUnindent:
        undoUnindent(Item);
        break;
    case crCaret:
    case crSelection:
        recordCaretOrSelection(redoList, Item);
        break;
    case crWhiteSpaceAdd: {
        selectRecordedRange(Item);
        const AnsiString added = GetSelText();
        redoList.AddChange(Item.Reason, Item.StartPos, Item.EndPos, added, Item.SelectionMode);
        SetSelTextPrimitiveEx(Item.SelectionMode, Item.ChangeText().c_str(), true);
        InternalSetCaretXY(Item.StartPos);
        break;
    }
    default:
        // Markers and breaks carry no change; the item is dropped.
        break;
    }
}

void TCustomSynEdit::undoDeletion(TSynEditUndoItem& Item) {
    const bool afterCursor = Item.Reason == crDeleteAfterCursor || Item.Reason == crSilentDeleteAfterCursor;
    const bool silent = Item.Reason == crSilentDelete || Item.Reason == crSilentDeleteAfterCursor;
    TBufferCoord insertAt;
    if (Item.SelectionMode == smColumn)
        insertAt = BufferCoord(std::min(Item.StartPos.Char, Item.EndPos.Char),
                               std::min(Item.StartPos.Line, Item.EndPos.Line));
    else
        insertAt = isBefore(Item.EndPos, Item.StartPos) ? Item.EndPos : Item.StartPos;
    if (afterCursor && insertAt.Line > lines_->Count()) {
        InternalSetCaretXY(BufferCoord(1, lines_->Count()));
        lines_->Add(AnsiString());
    }
    SetCaretXY(insertAt);
    SetSelTextPrimitiveEx(Item.SelectionMode, Item.ChangeText().c_str(), false);
    const TBufferCoord caretTarget = afterCursor ? Item.StartPos : Item.EndPos;
    if (silent)
        InternalSetCaretXY(caretTarget);
    else
        SetCaretAndSelection(caretTarget, Item.StartPos, Item.EndPos);
    RedoList()->AddChange(Item.Reason, Item.StartPos, Item.EndPos, AnsiString(), Item.SelectionMode);
    if (Item.Reason == crDeleteAll) {
        InternalSetCaretXY(BufferCoord(1, 1));
        blockEnd_ = BufferCoord(1, 1);
    }
    EnsureCursorPosVisible();
}

void TCustomSynEdit::undoLineBreak(TSynEditUndoItem& Item) {
    SetCaretXY(Item.StartPos);
    RedoList()->AddChange(Item.Reason, Item.StartPos, Item.EndPos, AnsiString(), Item.SelectionMode);
    AnsiString joined = lines_->Get(caretY_ - 1);
    const AnsiString rest = Item.ChangeText();
    // The break may have been typed past the line's end; the rest of the
    // line then starts where the caret stood.
    if (static_cast<Integer>(joined.size()) < caretX_ - 1 && LeftSpaces(rest) == 0)
        joined.resize(static_cast<std::size_t>(caretX_ - 1), ' ');
    ProperSetLine(caretY_ - 1, joined + rest);
    lines_->Delete(Item.EndPos.Line);
    DoLinesDeleted(caretY_ + 1, 1);
}

void TCustomSynEdit::undoUnindent(TSynEditUndoItem& Item) {
    RedoList()->AddChange(Item.Reason, Item.StartPos, Item.EndPos, Item.ChangeText(), Item.SelectionMode);
    const Integer column =
        Item.SelectionMode == smColumn ? std::min(Item.StartPos.Char, Item.EndPos.Char) : 1;
    InsertBlock(BufferCoord(column, Item.StartPos.Line), BufferCoord(column, Item.EndPos.Line),
                Item.ChangeText().c_str(), false);
    SetCaretAndSelection(Item.StartPos, Item.StartPos, Item.EndPos);
}

// A replayed position may lie past a line end, which only the replay allowed;
// the caret is brought back within the line as every other placement is.
void TCustomSynEdit::leaveScrollPastEol() {
    options_.Exclude(eoScrollPastEol);
    InternalSetCaretXY(CaretXY());
}

// Selecting resets the active mode to SelectionMode; the recorded text is
// taken and replaced in the mode it was recorded in, or a line or column
// block would be handled as normal text.
void TCustomSynEdit::selectRecordedRange(const TSynEditUndoItem& Item) {
    SetCaretAndSelection(Item.StartPos, Item.StartPos, Item.EndPos);
    activeSelectionMode_ = Item.SelectionMode;
}

// The caret and selection items swap the current state for the recorded one.
void TCustomSynEdit::recordCaretOrSelection(TSynEditUndoList& List, TSynEditUndoItem& Item) {
    if (Item.Reason == crCaret) {
        List.AddChange(Item.Reason, CaretXY(), CaretXY(), AnsiString(), activeSelectionMode_);
        InternalSetCaretXY(Item.StartPos);
    } else {
        List.AddChange(Item.Reason, blockBegin_, blockEnd_, AnsiString(), activeSelectionMode_);
        SetCaretAndSelection(CaretXY(), Item.StartPos, Item.EndPos);
    }
}

void TCustomSynEdit::redoItemByReason(TSynEditUndoItem& Item) {
    TSynEditUndoList& undoList = *UndoList();
    switch (Item.Reason) {
    case crInsert:
    case crPaste:
    case crDragDropInsert:
        redoInsertion(Item);
        break;
    case crDeleteAfterCursor:
    case crSilentDeleteAfterCursor:
        redoDeletion(Item, Item.EndPos);
        break;
    case crDelete:
    case crSilentDelete:
        redoDeletion(Item, Item.StartPos);
        break;
    case crLineBreak:
        SetCaretXY(Item.StartPos);
        CommandProcessor(ecLineBreak, '\r', nullptr);
        break;
    case crIndent:
        undoList.AddChange(Item.Reason, Item.StartPos, Item.EndPos, Item.ChangeText(), Item.SelectionMode);
        SetCaretAndSelection(Item.EndPos, Item.StartPos, Item.EndPos);
        break;
    case crUnindent:
        redoUnindent(Item);
        break;
    case crCaret:
    case crSelection:
        recordCaretOrSelection(undoList, Item);
        break;
    case crWhiteSpaceAdd:
        undoList.AddChange(Item.Reason, Item.StartPos, Item.EndPos, AnsiString(), Item.SelectionMode);
        SetCaretXY(Item.EndPos);
        SetSelTextPrimitiveEx(Item.SelectionMode, Item.ChangeText().c_str(), true);
        InternalSetCaretXY(Item.StartPos);
        break;
    default:
        // Markers, breaks and a whole-text deletion are not replayed.
        break;
    }
}

void TCustomSynEdit::redoInsertion(TSynEditUndoItem& Item) {
    SetCaretXY(Item.StartPos);
    SetSelTextPrimitiveEx(Item.SelectionMode, Item.ChangeText().c_str(), false);
    InternalSetCaretXY(Item.EndPos);
    UndoList()->AddChange(Item.Reason, Item.StartPos, Item.EndPos, GetSelText(), Item.SelectionMode);
    if (Item.Reason == crDragDropInsert) SetCaretAndSelection(Item.StartPos, Item.StartPos, Item.EndPos);
}

void TCustomSynEdit::redoDeletion(TSynEditUndoItem& Item, TBufferCoord CaretTarget) {
    selectRecordedRange(Item);
    UndoList()->AddChange(Item.Reason, Item.StartPos, Item.EndPos, selectedTextInBuffer(),
                          Item.SelectionMode);
    SetSelTextPrimitiveEx(Item.SelectionMode, Item.ChangeText().c_str(), false);
    InternalSetCaretXY(CaretTarget);
}

// The unindent's text holds what was removed from each line, one piece per
// line; removing the pieces again replays it.
void TCustomSynEdit::redoUnindent(TSynEditUndoItem& Item) {
    UndoList()->AddChange(Item.Reason, Item.StartPos, Item.EndPos, Item.ChangeText(), Item.SelectionMode);
    InternalSetCaretY(Item.StartPos.Line);
    const Integer column =
        Item.SelectionMode == smColumn ? std::min(Item.StartPos.Char, Item.EndPos.Char) : 1;
    const AnsiString removed = Item.ChangeText();
    Integer line = Item.StartPos.Line;
    Integer lastPieceLength = 0;
    std::size_t position = 0;
    while (position < removed.size()) {
        const std::size_t pieceEnd = std::min(removed.find_first_of("\r\n", position), removed.size());
        lastPieceLength = static_cast<Integer>(pieceEnd - position);
        if (lastPieceLength > 0) {
            AnsiString text = lines_->Get(line - 1);
            if (static_cast<std::size_t>(column - 1) < text.size())
                text.erase(static_cast<std::size_t>(column - 1), static_cast<std::size_t>(lastPieceLength));
            lines_->Put(line - 1, text);
        }
        position = pieceEnd;
        if (position < removed.size()) {
            // CR LF, a lone CR or a lone LF each end one line's piece.
            position += removed.compare(position, 2, LineBreak) == 0 ? 2 : 1;
            ++line;
        }
    }
    if (Item.SelectionMode == smColumn) {
        SetCaretAndSelection(Item.StartPos, Item.StartPos, Item.EndPos);
    } else {
        const TBufferCoord anchor = BufferCoord(Item.StartPos.Char - tabWidth_, Item.StartPos.Line);
        SetCaretAndSelection(anchor, anchor,
                             BufferCoord(Item.EndPos.Char - lastPieceLength, Item.EndPos.Line));
    }
}
