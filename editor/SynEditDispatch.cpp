// The editor's bookmarks, dragging text within and between editors, one
// editor showing another's buffer and undo history, the road of a command
// from a key to its execution, search and replace through a pluggable engine,
// and the key map stored in form resources as differences from the default.
#include "editor/SynEdit.h"

#include "platform/core/Exceptions.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Idents.h"
#include "platform/win/Keyboard.h"

#include <algorithm>
#include <utility>

namespace {

// Keys from VK_ACCEPT to VK_SCROLL may start a two-key binding.
constexpr Word FirstSequenceKey = 0x1E;
constexpr Word LastSequenceKey = VK_SCROLL;

constexpr const char* NoSearchEngineMessage = "No search engine has been assigned";

bool isBookmarkNumber(Integer BookMark) {
    return BookMark >= 0 && BookMark < TCustomSynEdit::BookmarkCount;
}

bool keyHeld(int VirtualKey) {
    return GetKeyState(VirtualKey) < 0;
}

[[noreturn]] void failAssertion() {
    throw EAssertionFailed("Assertion failure (SynEdit)");
}

// Holds an undo block of the editor open for a scope.
class UndoBlock {
public:
    explicit UndoBlock(TCustomSynEdit& Editor) : editor_(Editor) { editor_.BeginUndoBlock(); }
    ~UndoBlock() { editor_.EndUndoBlock(); }
    UndoBlock(const UndoBlock&) = delete;
    UndoBlock& operator=(const UndoBlock&) = delete;

private:
    TCustomSynEdit& editor_;
};

// Keeps the undo and redo lists from recording for a scope.
class UndoLock {
public:
    explicit UndoLock(TCustomSynEdit& Editor) : editor_(Editor) { editor_.LockUndo(); }
    ~UndoLock() { editor_.UnlockUndo(); }
    UndoLock(const UndoLock&) = delete;
    UndoLock& operator=(const UndoLock&) = delete;

private:
    TCustomSynEdit& editor_;
};

// Includes an option for a scope, taking it out again only if it was not set before.
class OptionIncluded {
public:
    OptionIncluded(TCustomSynEdit& Editor, TSynEditorOption Option)
        : editor_(Editor), option_(Option), wasSet_(Editor.Options().Contains(Option)) {
        if (!wasSet_) editor_.SetOptions(editor_.Options() + TSynEditorOptions{option_});
    }
    ~OptionIncluded() {
        if (!wasSet_) editor_.SetOptions(editor_.Options() - TSynEditorOptions{option_});
    }
    OptionIncluded(const OptionIncluded&) = delete;
    OptionIncluded& operator=(const OptionIncluded&) = delete;

private:
    TCustomSynEdit& editor_;
    TSynEditorOption option_;
    bool wasSet_;
};

// Keeps word wrap off for a scope and restores it afterwards.
class WordWrapPause {
public:
    explicit WordWrapPause(TCustomSynEdit& Editor) : editor_(Editor), wrapped_(Editor.GetWordWrap()) {
        if (wrapped_) editor_.SetWordWrap(false);
    }
    ~WordWrapPause() {
        if (wrapped_) editor_.SetWordWrap(true);
    }
    WordWrapPause(const WordWrapPause&) = delete;
    WordWrapPause& operator=(const WordWrapPause&) = delete;

private:
    TCustomSynEdit& editor_;
    bool wrapped_;
};

bool sameBinding(TSynEditKeyStroke* A, TSynEditKeyStroke* B) {
    return A->ShortCut() == B->ShortCut() && A->ShortCut2() == B->ShortCut2() && A->Command() == B->Command();
}

// Whether Bindings holds Binding: the same shortcut pair bound to the same command.
Integer indexOfBinding(TSynEditKeyStrokes& Bindings, TSynEditKeyStroke* Binding) {
    const Integer index = Bindings.FindShortcut2(Binding->ShortCut(), Binding->ShortCut2());
    if (index < 0 || Bindings.Items(index)->Command() != Binding->Command()) return -1;
    return index;
}

// The framework's test of equal collections: the same count and the same items.
bool sameBindings(TSynEditKeyStrokes& A, TSynEditKeyStrokes& B) {
    if (A.Count() != B.Count()) return false;
    for (Integer i = 0; i < A.Count(); ++i)
        if (!sameBinding(A.Items(i), B.Items(i))) return false;
    return true;
}

} // namespace

// ---- Bookmarks ------------------------------------------------------------------------------

void TCustomSynEdit::SetBookMark(Integer BookMark, Integer X, Integer Y) {
    if (!isBookmarkNumber(BookMark) || Y < 1 || Y > std::max(1, lines_->Count())) return;
    auto created = std::make_unique<TSynEditMark>(this);
    created->SetLine(Y);
    created->SetChar(X);
    created->SetImage(BookMark);
    created->SetBookmarkNumber(BookMark);
    created->SetVisible(true);
    created->SetInternalImage(bookMarkOptions_->BookmarkImages() == nullptr);
    TSynEditMark* mark = created.get();
    // The placement handler may put a mark of its own in place of ours, or none.
    DoOnPlaceMark(mark);
    if (mark == nullptr) return;
    ClearBookMark(BookMark);
    bookmarks_[static_cast<std::size_t>(BookMark)] = mark;
    markList_->Add(mark == created.get() ? created.release() : mark);
}

void TCustomSynEdit::ClearBookMark(Integer BookMark) {
    if (!isBookmarkNumber(BookMark)) return;
    TSynEditMark*& slot = bookmarks_[static_cast<std::size_t>(BookMark)];
    if (slot == nullptr) return;
    DoOnClearBookmark(slot);
    if (slot != nullptr) {
        markList_->Extract(slot);
        delete slot;
    }
    slot = nullptr;
}

void TCustomSynEdit::forgetBookmark(const TSynEditMark* Mark) {
    for (TSynEditMark*& slot : bookmarks_)
        if (slot == Mark) slot = nullptr;
}

void TCustomSynEdit::GotoBookMark(Integer BookMark) {
    if (!isBookmarkNumber(BookMark)) return;
    const TSynEditMark* mark = bookmarks_[static_cast<std::size_t>(BookMark)];
    if (mark == nullptr || mark->Line() > lines_->Count()) return;
    SetCaretXYEx(false, BufferCoord(mark->Char(), mark->Line()));
    EnsureCursorPosVisibleEx(true);
    if (SelAvail()) InvalidateSelection();
    blockBegin_ = CaretXY();
    blockEnd_ = blockBegin_;
}

void TCustomSynEdit::GotoLineAndCenter(Integer ALine) {
    SetCaretXYEx(false, BufferCoord(1, ALine));
    if (SelAvail()) InvalidateSelection();
    blockBegin_ = CaretXY();
    blockEnd_ = blockBegin_;
    EnsureCursorPosVisibleEx(true);
}

// ---- Drag and drop --------------------------------------------------------------------------

void TCustomSynEdit::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
    TCustomControl::DragOver(Source, X, Y, State, Accept);
    if (dynamic_cast<TCustomSynEdit*>(Source) == nullptr || ReadOnly()) return;
    Accept = true;
    SetDragCursor(keyHeld(VK_CONTROL) ? crMultiDrag : crDrag);
    if (!Dragging()) {
        ComputeCaret(X, Y);
        return;
    }
    if (State == dsDragLeave) {
        ComputeCaret(mouseDownX_, mouseDownY_);
        return;
    }
    TDisplayCoord position = PixelsToNearestRowColumn(X, Y);
    position.Column =
        std::clamp(position.Column, leftChar_, std::max(leftChar_ + charsInWindow_ - 1, leftChar_));
    position.Row = std::clamp(position.Row, topLine_, std::max(topLine_ + linesInWindow_ - 1, topLine_));
    InternalSetCaretXY(DisplayToBufferPos(position));
    ComputeScroll(X, Y);
}

void TCustomSynEdit::DragDrop(TObject* Source, Integer X, Integer Y) {
    auto* source = dynamic_cast<TCustomSynEdit*>(Source);
    if (ReadOnly() || source == nullptr || !source->SelAvail()) {
        TCustomControl::DragDrop(Source, X, Y);
        return;
    }
    WithPaintLock([&] {
        TCustomControl::DragDrop(Source, X, Y);
        ComputeCaret(X, Y);
        // A read-only source gives a copy: cutting from it would change text its
        // owner has protected.
        const bool moving =
            !source->ReadOnly() && (source == this ? !keyHeld(VK_CONTROL) : keyHeld(VK_SHIFT));
        dropText(*source, moving);
    });
}

// Within one editor a drop inside the dragged selection does nothing; after
// it, the drop point is where it stands once the moved text is gone.
void TCustomSynEdit::dropText(TCustomSynEdit& Source, bool Moving) {
    TBufferCoord dropPosition = CaretXY();
    const TBufferCoord first = Source.GetBlockBegin();
    const TBufferCoord last = Source.GetBlockEnd();
    const bool sameEditor = &Source == this;
    // A line selection takes whole lines: a drop anywhere on them falls inside it.
    const bool wholeLines = Source.ActiveSelectionMode() == smLine;
    bool dropAfter = false;
    if (sameEditor) {
        const bool dropBefore = wholeLines ? dropPosition.Line < first.Line
                                : Moving   ? isBefore(dropPosition, first)
                                           : !isBefore(first, dropPosition);
        dropAfter = wholeLines ? dropPosition.Line > last.Line
                    : Moving   ? isBefore(last, dropPosition)
                               : !isBefore(dropPosition, last);
        if (!dropAfter && !dropBefore) return;
    }
    UndoBlock undoBlock(*this);
    const AnsiString text = Source.SelText();
    if (Moving) {
        Source.SetSelTextExternal(AnsiString());
        if (sameEditor && dropAfter && wholeLines) {
            dropPosition.Line -= last.Line - first.Line + 1;
        } else if (sameEditor && dropAfter) {
            // The joined line keeps first.Char - 1 characters before what followed the selection.
            if (dropPosition.Line == last.Line) dropPosition.Char -= last.Char - first.Char;
            dropPosition.Line -= last.Line - first.Line;
        }
    }
    insertDroppedText(dropPosition, text);
    recordInsertion(sameEditor ? crDragDropInsert : crInsert, dropPosition, blockEnd_, SelText());
    SetBlockEnd(CaretXY());
    CommandProcessor(ecSelGotoXY, '\0', &dropPosition);
}

// The drop point may lie beyond the end of its line.
void TCustomSynEdit::insertDroppedText(TBufferCoord DropPosition, const AnsiString& Text) {
    OptionIncluded pastEol(*this, eoScrollPastEol);
    InternalSetCaretXY(DropPosition);
    SetBlockBegin(DropPosition);
    // The caller records the insertion as one item of its own kind.
    UndoLock undoLock(*this);
    SetSelTextExternal(Text);
}

void TCustomSynEdit::DragCanceled() {
    if (scrollTimer_ != nullptr) scrollTimer_->SetEnabled(false);
    TCustomControl::DragCanceled();
}

// ---- Shared buffers -------------------------------------------------------------------------

// While it lives, the shown buffer and lists report to their owner first and
// then to this editor, and the editor's own lists wait here.
class TCustomSynEdit::TextBufferHook {
public:
    TextBufferHook(TCustomSynEdit& Editor, TSynEditStringList& Buffer, TSynEditUndoList& Undo,
                   TSynEditUndoList& Redo)
        : editor_(Editor), buffer_(Buffer), undo_(Undo), redo_(Redo) {
        chainBuffer();
        chainLists();
        ownUndo_ = std::move(editor_.undoList_);
        ownRedo_ = std::move(editor_.redoList_);
        editor_.undoList_.reset(&undo_);
        editor_.redoList_.reset(&redo_);
        editor_.lines_ = &buffer_;
    }

    ~TextBufferHook() {
        if (!abandoned_) unchain();
        // The shown lists belong to the other editor: let go of them, do not free them.
        (void)editor_.undoList_.release();
        (void)editor_.redoList_.release();
        editor_.undoList_ = std::move(ownUndo_);
        editor_.redoList_ = std::move(ownRedo_);
        editor_.lines_ = editor_.ownLines_.get();
    }

    TextBufferHook(const TextBufferHook&) = delete;
    TextBufferHook& operator=(const TextBufferHook&) = delete;

    // The buffer's owner is going and takes the buffer with it: nothing to give back.
    void Abandon() { abandoned_ = true; }

private:
    void chainBuffer() {
        savedCleared_ = std::exchange(buffer_.OnCleared, TNotifyEvent(this, &TextBufferHook::cleared));
        savedDeleted_ =
            std::exchange(buffer_.OnDeleted, TStringListChangeEvent(this, &TextBufferHook::deleted));
        savedInserted_ =
            std::exchange(buffer_.OnInserted, TStringListChangeEvent(this, &TextBufferHook::inserted));
        savedPutted_ = std::exchange(buffer_.OnPutted, TStringListChangeEvent(this, &TextBufferHook::putted));
        savedChanging_ = std::exchange(buffer_.OnChanging, TNotifyEvent(this, &TextBufferHook::changing));
        savedChange_ = std::exchange(buffer_.OnChange, TNotifyEvent(this, &TextBufferHook::changed));
    }

    void chainLists() {
        savedUndoAdded_ = std::exchange(undo_.OnAddedUndo, TNotifyEvent(this, &TextBufferHook::undoAdded));
        savedRedoAdded_ = std::exchange(redo_.OnAddedUndo, TNotifyEvent(this, &TextBufferHook::redoAdded));
    }

    void unchain() {
        buffer_.OnCleared = savedCleared_;
        buffer_.OnDeleted = savedDeleted_;
        buffer_.OnInserted = savedInserted_;
        buffer_.OnPutted = savedPutted_;
        buffer_.OnChanging = savedChanging_;
        buffer_.OnChange = savedChange_;
        undo_.OnAddedUndo = savedUndoAdded_;
        redo_.OnAddedUndo = savedRedoAdded_;
    }

    TSynEditStringList& own() const { return *editor_.ownLines_; }

    void cleared(TObject* Sender) {
        if (savedCleared_) savedCleared_(Sender);
        if (own().OnCleared) own().OnCleared(Sender);
    }
    void deleted(TObject* Sender, Integer Index, Integer Count) {
        if (savedDeleted_) savedDeleted_(Sender, Index, Count);
        if (own().OnDeleted) own().OnDeleted(Sender, Index, Count);
    }
    void inserted(TObject* Sender, Integer Index, Integer Count) {
        if (savedInserted_) savedInserted_(Sender, Index, Count);
        if (own().OnInserted) own().OnInserted(Sender, Index, Count);
    }
    void putted(TObject* Sender, Integer Index, Integer Count) {
        if (savedPutted_) savedPutted_(Sender, Index, Count);
        if (own().OnPutted) own().OnPutted(Sender, Index, Count);
    }
    void changing(TObject* Sender) {
        if (savedChanging_) savedChanging_(Sender);
        if (own().OnChanging) own().OnChanging(Sender);
    }
    void changed(TObject* Sender) {
        if (savedChange_) savedChange_(Sender);
        if (own().OnChange) own().OnChange(Sender);
    }
    void undoAdded(TObject* Sender) {
        if (savedUndoAdded_) savedUndoAdded_(Sender);
        if (ownUndo_->OnAddedUndo) ownUndo_->OnAddedUndo(Sender);
    }
    void redoAdded(TObject* Sender) {
        if (savedRedoAdded_) savedRedoAdded_(Sender);
        if (ownRedo_->OnAddedUndo) ownRedo_->OnAddedUndo(Sender);
    }

    TCustomSynEdit& editor_;
    TSynEditStringList& buffer_;
    TSynEditUndoList& undo_;
    TSynEditUndoList& redo_;
    std::unique_ptr<TSynEditUndoList> ownUndo_;
    std::unique_ptr<TSynEditUndoList> ownRedo_;
    TNotifyEvent savedCleared_;
    TStringListChangeEvent savedDeleted_;
    TStringListChangeEvent savedInserted_;
    TStringListChangeEvent savedPutted_;
    TNotifyEvent savedChanging_;
    TNotifyEvent savedChange_;
    TNotifyEvent savedUndoAdded_;
    TNotifyEvent savedRedoAdded_;
    bool abandoned_ = false;
};

void TCustomSynEdit::TextBufferHookDeleter::operator()(TextBufferHook* Hook) const {
    delete Hook;
}

void TCustomSynEdit::SetLinesPointer(TCustomSynEdit* ASynEdit) {
    HookTextBuffer(ASynEdit->Lines(), ASynEdit->UndoList(), ASynEdit->RedoList());
    chainedEditor_ = ASynEdit;
    ASynEdit->FreeNotification(this);
}

void TCustomSynEdit::RemoveLinesPointer() {
    if (chainedEditor_ != nullptr) {
        // Removal notifications come after the going editor has freed its
        // buffer; there is nothing left to give back to it.
        if (chainedEditor_->ComponentState().Contains(csDestroying) && textBufferHook_)
            textBufferHook_->Abandon();
        chainedEditor_->RemoveFreeNotification(this);
    }
    chainedEditor_ = nullptr;
    UnHookTextBuffer();
}

void TCustomSynEdit::HookTextBuffer(TSynEditStringList* ABuffer, TSynEditUndoList* AUndo,
                                    TSynEditUndoList* ARedo) {
    // Hooking the own buffer would chain its handlers to themselves.
    if (lines_ != ownLines_.get() || ABuffer == ownLines_.get()) failAssertion();
    WordWrapPause pause(*this);
    textBufferHook_.reset(new TextBufferHook(*this, *ABuffer, *AUndo, *ARedo));
    LinesHookChanged();
}

void TCustomSynEdit::UnHookTextBuffer() {
    if (chainedEditor_ != nullptr) failAssertion();
    if (lines_ == ownLines_.get()) return;
    WordWrapPause pause(*this);
    textBufferHook_.reset();
    LinesHookChanged();
}

void TCustomSynEdit::LinesHookChanged() {
    Invalidate();
    if (options_.Contains(eoAutoSizeMaxScrollWidth)) {
        const Integer longest = lines_->GetLengthOfLongestLine();
        if (longest > maxScrollWidth_) SetMaxScrollWidth(longest);
    }
    UpdateScrollBars();
}

// ---- Command dispatch -----------------------------------------------------------------------

TSynEditorCommand TCustomSynEdit::TranslateKeyCode(Word Code, TShiftState Shift, void*& Data) {
    // No binding of the key map carries data of its own.
    Data = nullptr;
    TSynEditorCommand command = ecNone;
    Integer index = Keystrokes()->FindKeycode2(lastKey_, lastShiftState_, Code, Shift);
    if (index < 0) index = Keystrokes()->FindKeycode(Code, Shift);
    if (index >= 0) command = Keystrokes()->Items(index)->Command();
    if (command == ecNone && Code >= FirstSequenceKey && Code <= LastSequenceKey) {
        lastKey_ = Code;
        lastShiftState_ = Shift;
    } else {
        lastKey_ = 0;
        lastShiftState_ = TShiftState{};
    }
    return command;
}

void TCustomSynEdit::CommandProcessor(TSynEditorCommand Command, char AChar, void* Data) {
    DoOnProcessCommand(Command, AChar, Data);
    if (Command != ecNone) {
        NotifyHookedCommandHandlers(false, Command, AChar, Data);
        if (Command != ecNone && Command < ecUserFirst) ExecuteCommand(Command, AChar, Data);
        if (Command != ecNone) NotifyHookedCommandHandlers(true, Command, AChar, Data);
    }
    DoOnCommandProcessed(Command, AChar, Data);
}

void TCustomSynEdit::DoOnProcessCommand(TSynEditorCommand& Command, char& AChar, void* Data) {
    if (Command < ecUserFirst) {
        if (OnProcessCommand) OnProcessCommand(this, Command, AChar, Data);
    } else if (OnProcessUserCommand) {
        OnProcessUserCommand(this, Command, AChar, Data);
    }
}

void TCustomSynEdit::DoOnCommandProcessed(TSynEditorCommand& Command, char& AChar, void* Data) {
    if (OnCommandProcessed) OnCommandProcessed(this, Command, AChar, Data);
}

// ---- Search and replace ---------------------------------------------------------------------

// One call of SearchReplace: the range searched, where the search stands and
// what it has locked and opened on the way.
class TCustomSynEdit::SearchRun {
public:
    SearchRun(TCustomSynEdit& Editor, const AnsiString& Search, const AnsiString& Replacement,
              TSynSearchOptions Options)
        : editor_(Editor), engine_(*Editor.searchEngine_), search_(Search), replacement_(Replacement),
          options_(Options) {
        if (!editor_.SelAvail()) options_.Exclude(ssoSelectedOnly);
        backwards_ = options_.Contains(ssoBackwards);
        replace_ = options_.Contains(ssoReplace);
        replaceAll_ = options_.Contains(ssoReplaceAll);
        prompt_ = options_.Contains(ssoPrompt);
        selectedOnly_ = options_.Contains(ssoSelectedOnly);
    }

    Integer Execute() {
        chooseRange();
        current_ = backwards_ ? end_ : start_;
        engine_.SetOptions(options_);
        engine_.SetPattern(search_);
        editor_.DoOnPaintTransient(ttBefore);
        try {
            if (replaceAll_ && !prompt_) enterReplaceAllWithoutPrompt();
            searchLines();
        } catch (...) {
            finish();
            throw;
        }
        finish();
        return count_;
    }

private:
    void chooseRange() {
        if (selectedOnly_) {
            start_ = editor_.GetBlockBegin();
            end_ = editor_.GetBlockEnd();
            if (editor_.activeSelectionMode_ == smLine) {
                start_.Char = 1;
                end_.Char = lineLength(end_.Line) + 1;
            } else if (editor_.activeSelectionMode_ == smColumn && start_.Char > end_.Char) {
                std::swap(start_.Char, end_.Char);
            }
            return;
        }
        const Integer lineCount = editor_.lines_->Count();
        start_ = BufferCoord(1, 1);
        end_ = BufferCoord(lineLength(lineCount) + 1, lineCount);
        if (options_.Contains(ssoEntireScope)) return;
        if (backwards_)
            end_ = editor_.CaretXY();
        else
            start_ = editor_.CaretXY();
    }

    Integer lineLength(Integer Line) const {
        return static_cast<Integer>(editor_.lines_->Get(Line - 1).size());
    }

    void searchLines() {
        while (current_.Line >= start_.Line && current_.Line <= end_.Line) {
            if (!searchLine()) return;
            current_.Line += backwards_ ? -1 : 1;
        }
    }

    // False when the search is over.
    bool searchLine() {
        const Integer found = engine_.FindAll(editor_.lines_->Get(current_.Line - 1));
        Integer offset = 0;
        Integer index = backwards_ ? engine_.GetResultCount() - 1 : 0;
        for (Integer i = 0; i < found; ++i) {
            const Integer column = engine_.GetResult(index) + offset;
            const Integer length = engine_.GetLength(index);
            index += backwards_ ? -1 : 1;
            if (!inRange(column, column + length)) continue;
            ++count_;
            selectMatch(column, length);
            if (!replace_ && !replaceAll_) return false;
            if (!handleMatch(column, length, offset)) return false;
            if (!replaceAll_) return false;
        }
        return true;
    }

    bool inRange(Integer First, Integer Last) const {
        if (selectedOnly_ && editor_.activeSelectionMode_ == smLine) return true;
        if (selectedOnly_ && editor_.activeSelectionMode_ == smColumn)
            return (start_.Char <= First && end_.Char >= Last) || end_.Char - start_.Char < 1;
        if (current_.Line == start_.Line && start_.Char > First) return false;
        if (current_.Line != end_.Line) return true;
        return end_.Char >= Last;
    }

    void selectMatch(Integer Column, Integer Length) {
        editor_.SetBlockBegin(BufferCoord(Column, current_.Line));
        editor_.SetCaretXYEx(false, BufferCoord(1, current_.Line));
        editor_.EnsureCursorPosVisibleEx(true);
        editor_.SetBlockEnd(BufferCoord(Column + Length, current_.Line));
        editor_.InternalSetCaretXY(backwards_ ? editor_.BlockBegin() : editor_.BlockEnd());
    }

    // False when the handler cancelled.
    bool handleMatch(Integer Column, Integer Length, Integer& Offset) {
        TSynReplaceAction action = raReplace;
        if (prompt_ && editor_.OnReplaceText) {
            action = editor_.DoOnReplaceText(search_, replacement_, current_.Line, Column);
            if (action == raCancel) return false;
        }
        if (action == raReplaceAll) switchToReplaceAll();
        if (action != raSkip) replaceMatch(Column);
        if (!backwards_) {
            editor_.SetCaretX(Column + replacementLength_);
            if (action != raSkip && replacementLength_ != Length)
                shiftRestOfLine(replacementLength_ - Length, Offset);
        }
        return true;
    }

    void switchToReplaceAll() {
        if (!replaceAll_ || prompt_) enterReplaceAllWithoutPrompt();
        replaceAll_ = true;
        prompt_ = false;
    }

    void enterReplaceAllWithoutPrompt() {
        if (!paintLocked_) {
            editor_.IncPaintLock();
            paintLocked_ = true;
        }
        if (!undoBlockOpen_) {
            editor_.BeginUndoBlock();
            undoBlockOpen_ = true;
        }
    }

    void replaceMatch(Integer Column) {
        editor_.SetSelTextExternal(engine_.Replace(editor_.SelText(), replacement_));
        replacementLength_ = editor_.CaretX() - Column;
    }

    // Later results of the line were found in the text before the replacement.
    void shiftRestOfLine(Integer Growth, Integer& Offset) {
        Offset += Growth;
        if (editor_.activeSelectionMode_ == smColumn || editor_.CaretY() != end_.Line) return;
        end_.Char += Growth;
        editor_.SetBlockEnd(end_);
    }

    void finish() {
        if (paintLocked_) editor_.DecPaintLock();
        if (undoBlockOpen_) editor_.EndUndoBlock();
        editor_.DoOnPaintTransient(ttAfter);
    }

    TCustomSynEdit& editor_;
    TSynEditSearchCustom& engine_;
    AnsiString search_;
    AnsiString replacement_;
    TSynSearchOptions options_;
    bool backwards_ = false;
    bool replace_ = false;
    bool replaceAll_ = false;
    bool prompt_ = false;
    bool selectedOnly_ = false;
    TBufferCoord start_;
    TBufferCoord end_;
    TBufferCoord current_;
    Integer count_ = 0;
    Integer replacementLength_ = 0;
    bool paintLocked_ = false;
    bool undoBlockOpen_ = false;
};

void TCustomSynEdit::SetSearchEngine(TSynEditSearchCustom* Value) {
    searchEngine_ = Value;
    if (searchEngine_ != nullptr) searchEngine_->FreeNotification(this);
}

Integer TCustomSynEdit::SearchReplace(const AnsiString& ASearch, const AnsiString& AReplace,
                                      TSynSearchOptions AOptions) {
    if (searchEngine_ == nullptr) throw ESynEditError(NoSearchEngineMessage);
    if (ASearch.empty()) return 0;
    return SearchRun(*this, ASearch, AReplace, AOptions).Execute();
}

TSynReplaceAction TCustomSynEdit::DoOnReplaceText(const AnsiString& ASearch, const AnsiString& AReplace,
                                                  Integer Line, Integer Column) {
    TSynReplaceAction action = raCancel;
    if (OnReplaceText) OnReplaceText(this, ASearch, AReplace, Line, Column, action);
    return action;
}

// ---- Keystroke streaming --------------------------------------------------------------------

namespace {

// The map the stored differences are taken against: the ancestor form's
// editor's, or the default map.
std::unique_ptr<TSynEditKeyStrokes> referenceKeystrokes(TCustomSynEdit& Editor, TFiler& Filer) {
    auto reference = std::make_unique<TSynEditKeyStrokes>(&Editor);
    if (auto* ancestor = dynamic_cast<TCustomSynEdit*>(Filer.Ancestor()))
        reference->Assign(ancestor->Keystrokes());
    else
        reference->ResetDefaults();
    return reference;
}

} // namespace

void TCustomSynEdit::DefineProperties(TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    const bool changed = keystrokesDifferFromReference(Filer);
    Filer->DefineProperty("RemovedKeystrokes", TReaderProc(this, &TCustomSynEdit::ReadRemovedKeystrokes),
                          TWriterProc(this, &TCustomSynEdit::WriteRemovedKeystrokes), changed);
    Filer->DefineProperty("AddedKeystrokes", TReaderProc(this, &TCustomSynEdit::ReadAddedKeystrokes),
                          TWriterProc(this, &TCustomSynEdit::WriteAddedKeystrokes), changed);
}

bool TCustomSynEdit::keystrokesDifferFromReference(TFiler* Filer) {
    return !sameBindings(*Keystrokes(), *referenceKeystrokes(*this, *Filer));
}

void TCustomSynEdit::WriteAddedKeystrokes(TWriter* Writer) {
    const std::unique_ptr<TSynEditKeyStrokes> reference = referenceKeystrokes(*this, *Writer);
    TSynEditKeyStrokes added(this);
    for (Integer i = 0; i < Keystrokes()->Count(); ++i) {
        TSynEditKeyStroke* binding = Keystrokes()->Items(i);
        if (indexOfBinding(*reference, binding) < 0) added.Add()->Assign(binding);
    }
    Writer->WriteCollection(&added);
}

void TCustomSynEdit::WriteRemovedKeystrokes(TWriter* Writer) {
    const std::unique_ptr<TSynEditKeyStrokes> reference = referenceKeystrokes(*this, *Writer);
    for (Integer i = 0; i < Keystrokes()->Count(); ++i) {
        const Integer index = indexOfBinding(*reference, Keystrokes()->Items(i));
        if (index >= 0) reference->Delete(index);
    }
    Writer->WriteCollection(reference.get());
}

void TCustomSynEdit::ReadAddedKeystrokes(TReader* Reader) {
    if (Reader->NextValue() != vaCollection) return;
    TSynEditKeyStrokes added(this);
    Reader->ReadCollection(&added);
    for (Integer i = 0; i < added.Count(); ++i)
        Keystrokes()->Add()->Assign(added.Items(i));
}

void TCustomSynEdit::ReadRemovedKeystrokes(TReader* Reader) {
    if (Reader->NextValue() != vaCollection) return;
    TSynEditKeyStrokes removed(this);
    Reader->ReadCollection(&removed);
    for (Integer i = 0; i < removed.Count(); ++i) {
        const Integer index = indexOfBinding(*Keystrokes(), removed.Items(i));
        if (index >= 0) Keystrokes()->Delete(index);
    }
}

void TCustomSynEdit::AddKey(TSynEditorCommand Command, Word Key1, TShiftState SS1, Word Key2,
                            TShiftState SS2) {
    TSynEditKeyStroke* binding = Keystrokes()->Add();
    binding->SetCommand(Command);
    binding->SetKey(Key1);
    binding->SetShift(SS1);
    binding->SetKey2(Key2);
    binding->SetShift2(SS2);
}
