// The syntax-highlighting source editor control. The class is large, so its
// implementation is split by topic: SynEdit.cpp (construction, properties,
// painting, notifications), SynEditSelection.cpp, SynEditScrolling.cpp,
// SynEditInput.cpp, SynEditCommands.cpp and SynEditDispatch.cpp, each named in
// the section of the class it implements.
#pragma once

#include "editor/SynEditKbdHandler.h"
#include "editor/SynEditKeyCmds.h"
#include "editor/SynEditMiscClasses.h"
#include "editor/SynEditTextBuffer.h"
#include "editor/SynEditTypes.h"
#include "editor/SynTextDrawer.h"
#include "highlighters/SynEditHighlighter.h"
#include "platform/vcl/Controls.h"
#include "platform/vcl/EditCtrls.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

enum TSynEditorOption {
    eoAltSetsColumnMode,
    eoAutoIndent,
    eoAutoSizeMaxScrollWidth,
    eoDisableScrollArrows,
    eoDragDropEditing,
    eoDropFiles,
    eoEnhanceHomeKey,
    eoEnhanceEndKey,
    eoGroupUndo,
    eoHalfPageScroll,
    eoHideShowScrollbars,
    eoKeepCaretX,
    eoNoCaret,
    eoNoSelection,
    eoRightMouseMovesCursor,
    eoScrollByOneLess,
    eoScrollHintFollows,
    eoScrollPastEof,
    eoScrollPastEol,
    eoShowScrollHint,
    eoShowSpecialChars,
    eoSmartTabDelete,
    eoSmartTabs,
    eoSpecialLineDefaultFg,
    eoTabIndent,
    eoTabsToSpaces,
    eoTrimTrailingSpaces
};
using TSynEditorOptions = TSet<TSynEditorOption>;
constexpr TSynEditorOptions SYNEDIT_DEFAULT_OPTIONS = TSynEditorOptions::FromBits(0x026C0192);

enum TSynStateFlag {
    sfCaretChanged,
    sfScrollbarChanged,
    sfLinesChanging,
    sfIgnoreNextChar,
    sfCaretVisible,
    sfDblClicked,
    sfPossibleGutterClick,
    sfWaitForDragging,
    sfGutterDragging
};
using TSynStateFlags = TSynSet<TSynStateFlag>;

enum TSynStatusChange {
    scAll,
    scCaretX,
    scCaretY,
    scLeftChar,
    scTopLine,
    scInsertMode,
    scModified,
    scSelection,
    scReadOnly
};
using TSynStatusChanges = TSynSet<TSynStatusChange>;

enum TSynEditCaretType { ctVerticalLine, ctHorizontalLine, ctHalfBlock, ctBlock };
enum TTransientType { ttBefore, ttAfter };
enum TScrollHintFormat { shfTopLineOnly, shfTopToBottom };

class TCustomSynEdit;
class TSynEditMark;
class ISynEditBufferPlugin;

using TPaintEvent = Closure<void(TObject* Sender, TCanvas* ACanvas)>;
using TPaintTransient = Closure<void(TObject* Sender, TCanvas* Canvas, TTransientType TransientType)>;
using TSpecialLineColorsEvent =
    Closure<void(TObject* Sender, Integer Line, bool& Special, TColor& FG, TColor& BG)>;
// The framework's scroll bar has an OnScroll of another shape under the same name.
namespace SynEdit {
using TScrollEvent = Closure<void(TObject* Sender, TScrollBarKind ScrollBar)>;
}
using TDropFilesEvent = Closure<void(TObject* Sender, Integer X, Integer Y, TStrings* AFiles)>;
using TGutterClickEvent = Closure<void(TObject* Sender, TMouseButton Button, Integer X, Integer Y,
                                       Integer Line, TSynEditMark* Mark)>;
using TStatusChangeEvent = Closure<void(TObject* Sender, TSynStatusChanges Changes)>;
using TGutterGetTextEvent = Closure<void(TObject* Sender, Integer aLine, AnsiString& aText)>;
using TGutterPaintEvent = Closure<void(TObject* Sender, Integer aLine, Integer X, Integer Y)>;
using TPlaceMarkEvent = Closure<void(TObject* Sender, TSynEditMark*& Mark)>;
using THookedCommandEvent =
    Closure<void(TObject* Sender, bool AfterProcessing, bool& Handled, TSynEditorCommand& Command,
                 char& AChar, void* Data, void* HandlerData)>;
using TProcessCommandEvent =
    Closure<void(TObject* Sender, TSynEditorCommand& Command, char& AChar, void* Data)>;
enum TSynReplaceAction { raCancel, raSkip, raReplace, raReplaceAll };
using TReplaceTextEvent = Closure<void(TObject* Sender, const AnsiString& ASearch, const AnsiString& AReplace,
                                       Integer Line, Integer Column, TSynReplaceAction& Action)>;

// The editor's own failures (a search without an engine, the clipboard refusing the text).
class ESynEditError : public Exception {
public:
    using Exception::Exception;
};

// A bookmark or another mark shown in the gutter beside a line.
class TSynEditMark : public TObject {
public:
    explicit TSynEditMark(TCustomSynEdit* AOwner);

    // The owning editor, or none once the mark has left the editor's mark list.
    virtual TCustomSynEdit* GetEdit();
    Integer Line() const { return line_; }
    virtual void SetLine(Integer Value);
    Integer Char() const { return char_; }
    virtual void SetChar(Integer Value) { char_ = Value; }
    Integer ImageIndex() const { return imageIndex_; }
    virtual void SetImage(Integer Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    bool InternalImage() const { return internalImage_; }
    void SetInternalImage(bool Value);
    Integer BookmarkNumber() const { return bookmarkNumber_; }
    void SetBookmarkNumber(Integer Value) { bookmarkNumber_ = Value; }
    bool IsBookmark() const { return bookmarkNumber_ >= 0; }

private:
    void invalidateGutterLine();

    Integer line_ = 0;
    Integer char_ = 0;
    Integer imageIndex_ = 0;
    TCustomSynEdit* edit_;
    bool visible_ = false;
    bool internalImage_ = false;
    Integer bookmarkNumber_ = -1;
};

constexpr Integer MaxMarksPerLine = 16;
using TSynEditMarks = std::array<TSynEditMark*, MaxMarksPerLine>;

// The editor's marks in insertion order; the list owns them.
class TSynEditMarkList : public TList {
public:
    explicit TSynEditMarkList(TCustomSynEdit* AOwner) : edit_(AOwner) {}
    ~TSynEditMarkList() override;

    TSynEditMark* Items(Integer Index) const { return static_cast<TSynEditMark*>(Get(Index)); }
    TSynEditMark* First() const { return Items(0); }
    TSynEditMark* Last() const { return Items(Count() - 1); }
    // Deletes the marks of the line that are not bookmarks.
    void ClearLine(Integer Line);
    // The first marks of the line in list order; the rest of the array is empty.
    void GetMarksForLine(Integer Line, TSynEditMarks& Marks) const;
    // Lets the editor's OnPlaceBookmark replace or drop the mark, then adds what remains.
    void Place(TSynEditMark* Mark);

    TNotifyEvent OnChange;

protected:
    void Notify(void* Ptr, TListNotification Action) override;

private:
    TCustomSynEdit* edit_;
};

// An extension that registers itself with an editor to hear about painting
// and about inserted and deleted lines.
class TSynEditPlugin : public TObject {
public:
    explicit TSynEditPlugin(TCustomSynEdit* AOwner);
    ~TSynEditPlugin() override;

    virtual void AfterPaint(TCanvas* ACanvas, const TRect& AClip, Integer FirstLine, Integer LastLine) = 0;
    virtual void LinesInserted(Integer FirstLine, Integer Count) = 0;
    virtual void LinesDeleted(Integer FirstLine, Integer Count) = 0;

protected:
    TCustomSynEdit* Owner() const { return owner_; }

private:
    TCustomSynEdit* owner_;
};

class TCustomSynEdit : public TCustomControl {
public:
    explicit TCustomSynEdit(TComponent* AOwner);
    ~TCustomSynEdit() override;

    // ---- Text and buffer ----
    TSynEditStringList* Lines() const { return lines_; }
    AnsiString Text() const { return lines_->Text(); }
    TSynEditUndoList* UndoList() const { return undoList_.get(); }
    TSynEditUndoList* RedoList() const { return redoList_.get(); }
    Integer MaxUndo() const;
    void SetMaxUndo(Integer Value);
    bool Modified() const { return modified_; }

    // ---- Metrics ----
    Integer CharWidth() const { return charWidth_; }
    Integer LineHeight() const { return lineHeight_; }
    Integer CharsInWindow() const { return charsInWindow_; }
    Integer LinesInWindow() const { return linesInWindow_; }
    Integer GutterWidth() const { return gutterWidth_; }
    Integer TextOffset() const { return textOffset_; }
    Integer DisplayLineCount() const { return GetDisplayLineCount(); }

    // ---- Position and selection ----
    Integer TopLine() const { return topLine_; }
    void SetTopLine(Integer Value);
    Integer LeftChar() const { return leftChar_; }
    void SetLeftChar(Integer Value);
    Integer CaretX() const { return caretX_; }
    Integer CaretY() const { return caretY_; }
    TBufferCoord BlockBegin() const { return blockBegin_; }
    TBufferCoord BlockEnd() const { return blockEnd_; }

    // ---- Published properties ----
    TColor ActiveLineColor() const { return activeLineColor_; }
    void SetActiveLineColor(TColor Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    Integer ExtraLineSpacing() const { return extraLineSpacing_; }
    void SetExtraLineSpacing(Integer Value);
    TSynGutter* Gutter() const { return gutter_.get(); }
    void SetGutter(TSynGutter* Value) { gutter_->Assign(Value); }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    TSynCustomHighlighter* Highlighter() const { return highlighter_; }
    void SetHighlighter(TSynCustomHighlighter* Value);
    TSynEditCaretType InsertCaret() const { return insertCaret_; }
    void SetInsertCaret(TSynEditCaretType Value);
    TSynEditCaretType OverwriteCaret() const { return overwriteCaret_; }
    void SetOverwriteCaret(TSynEditCaretType Value);
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool Value);
    Integer MaxScrollWidth() const { return maxScrollWidth_; }
    void SetMaxScrollWidth(Integer Value);
    TSynEditorOptions Options() const { return GetOptions(); }
    virtual TSynEditorOptions GetOptions() const { return options_; }
    virtual void SetOptions(TSynEditorOptions Value);
    bool ReadOnly() const { return GetReadOnly(); }
    virtual bool GetReadOnly() const { return readOnly_; }
    virtual void SetReadOnly(bool Value);
    Integer RightEdge() const { return rightEdge_; }
    void SetRightEdge(Integer Value);
    TColor RightEdgeColor() const { return rightEdgeColor_; }
    void SetRightEdgeColor(TColor Value);
    TColor ScrollHintColor() const { return scrollHintColor_; }
    void SetScrollHintColor(TColor Value) { scrollHintColor_ = Value; }
    TScrollHintFormat ScrollHintFormat() const { return scrollHintFormat_; }
    void SetScrollHintFormat(TScrollHintFormat Value) { scrollHintFormat_ = Value; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    TSynSelectedColor* SelectedColor() const { return selectedColor_.get(); }
    TSynBookMarkOpt* BookMarkOptions() const { return bookMarkOptions_.get(); }
    TSynSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TSynSelectionMode Value);
    TSynSelectionMode ActiveSelectionMode() const { return activeSelectionMode_; }
    Integer TabWidth() const { return tabWidth_; }
    // Clamped to 1..256: tab stops are computed by division.
    void SetTabWidth(Integer Value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool Value) { wantReturns_ = Value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool Value) { wantTabs_ = Value; }
    bool WordWrap() const { return GetWordWrap(); }
    TSynGlyph* WordWrapGlyph() const { return wordWrapGlyph_.get(); }
    bool AlwaysShowCaret() const { return alwaysShowCaret_; }
    void SetAlwaysShowCaret(bool Value);

    // ---- Paint lock and invalidation ----
    void IncPaintLock() { ++paintLock_; }
    void DecPaintLock();
    // Runs Action inside the paint lock, closing the lock also when an exception passes.
    template <typename Action> void WithPaintLock(Action&& action) {
        IncPaintLock();
        try {
            action();
        } catch (...) {
            DecPaintLock();
            throw;
        }
        DecPaintLock();
    }
    virtual void InvalidateRect(const TRect& aRect, bool aErase);
    void InvalidateLines(Integer FirstLine, Integer LastLine);
    void InvalidateLine(Integer Line);
    void InvalidateGutterLines(Integer FirstLine, Integer LastLine);
    void InvalidateGutterLine(Integer aLine);
    void InvalidateGutter() { InvalidateGutterLines(-1, -1); }
    void InvalidateSelection();

    // ---- Notifications and hooks ----
    void BeginUpdate() { IncPaintLock(); }
    void EndUpdate() { DecPaintLock(); }
    void BeginUndoBlock() { undoList_->BeginBlock(); }
    void EndUndoBlock() { undoList_->EndBlock(); }
    void LockUndo();
    void UnlockUndo();
    void SetModified(bool Value);
    void RegisterCommandHandler(const THookedCommandEvent& AHandlerProc, void* AHandlerData);
    void UnregisterCommandHandler(const THookedCommandEvent& AHandlerProc);
    Integer GetHookedCommandHandlersCount() const {
        return static_cast<Integer>(hookedCommandHandlers_.size());
    }
    virtual void NotifyHookedCommandHandlers(bool AfterProcessing, TSynEditorCommand& Command, char& AChar,
                                             void* Data);
    void AddKeyUpHandler(const TKeyEvent& Handler) { kbdHandler_->AddKeyUpHandler(Handler); }
    void RemoveKeyUpHandler(const TKeyEvent& Handler) { kbdHandler_->RemoveKeyUpHandler(Handler); }
    void AddKeyDownHandler(const TKeyEvent& Handler) { kbdHandler_->AddKeyDownHandler(Handler); }
    void RemoveKeyDownHandler(const TKeyEvent& Handler) { kbdHandler_->RemoveKeyDownHandler(Handler); }
    void AddKeyPressHandler(const TKeyPressEvent& Handler) { kbdHandler_->AddKeyPressHandler(Handler); }
    void RemoveKeyPressHandler(const TKeyPressEvent& Handler) { kbdHandler_->RemoveKeyPressHandler(Handler); }
    void AddMouseDownHandler(const TMouseEvent& Handler) { kbdHandler_->AddMouseDownHandler(Handler); }
    void RemoveMouseDownHandler(const TMouseEvent& Handler) { kbdHandler_->RemoveMouseDownHandler(Handler); }
    void AddMouseUpHandler(const TMouseEvent& Handler) { kbdHandler_->AddMouseUpHandler(Handler); }
    void RemoveMouseUpHandler(const TMouseEvent& Handler) { kbdHandler_->RemoveMouseUpHandler(Handler); }
    void AddMouseCursorHandler(const TMouseCursorEvent& Handler) {
        kbdHandler_->AddMouseCursorHandler(Handler);
    }
    void RemoveMouseCursorHandler(const TMouseCursorEvent& Handler) {
        kbdHandler_->RemoveMouseCursorHandler(Handler);
    }
    TSynEditKbdHandler* KbdHandler() const { return kbdHandler_.get(); }
    void AddFocusControl(TWinControl* aControl) { focusControls_.push_back(aControl); }
    void RemoveFocusControl(TWinControl* aControl);
    void SetFocus() override;
    void DoLinesInserted(Integer FirstLine, Integer Count);
    void DoLinesDeleted(Integer FirstLine, Integer Count);
    void PluginsAfterPaint(TCanvas* ACanvas, const TRect& AClip, Integer FirstLine, Integer LastLine);
    TSynEditMarkList* Marks() const { return markList_.get(); }
    bool GetBookMark(Integer BookMark, Integer& X, Integer& Y) const;
    bool IsBookmark(Integer BookMark) const;
    virtual void DoOnPlaceMark(TSynEditMark*& Mark);
    virtual void DoOnClearBookmark(TSynEditMark*& Mark);
    virtual void DoOnPaintTransientEx(TTransientType TransientType, bool Lock);

    // ---- Events ----
    TNotifyEvent OnChange;
    TPlaceMarkEvent OnPlaceBookmark;
    TPlaceMarkEvent OnClearBookmark;
    SynEdit::TScrollEvent OnScroll;
    TGutterGetTextEvent OnGutterGetText;
    TGutterPaintEvent OnGutterPaint;
    TPaintEvent OnPaint;
    TPaintTransient OnPaintTransient;
    TSpecialLineColorsEvent OnSpecialLineColors;
    TStatusChangeEvent OnStatusChange;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Resize() override;
    void CreateWnd() override;
    void CreateParams(TCreateParams& Params) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DestroyWnd() override;
    virtual void PaintGutter(TRect AClip, Integer aFirstRow, Integer aLastRow);
    virtual void PaintTextLines(TRect AClip, Integer aFirstRow, Integer aLastRow, Integer FirstCol,
                                Integer LastCol);
    virtual void LinesChanging(TObject* Sender);
    virtual void LinesChanged(TObject* Sender);
    virtual void DoOnPaint();
    virtual void DoOnPaintTransient(TTransientType TransientType);
    virtual bool DoOnSpecialLineColors(Integer Line, TColor& Foreground, TColor& Background);
    virtual void DoOnStatusChange(TSynStatusChanges Changes);
    virtual void DoChange();

    void StatusChanged(TSynStatusChanges Changes);
    void SizeOrFontChanged(bool bFont);
    void RecalcCharExtent();

private:
    class TextPainter;
    friend class TextPainter;
    friend class TSynEditPlugin;
    friend class TSynEditMarkList;

    struct THookedCommandHandlerEntry {
        THookedCommandEvent Event;
        void* Data;
    };

    void SynFontChanged(TObject* Sender);
    void WMMouseWheel(const TMessage& Message);
    void GutterChanged(TObject* Sender);
    void SelectedColorsChanged(TObject* Sender);
    void BookMarkOptionsChanged(TObject* Sender);
    void WordWrapGlyphChange(TObject* Sender);
    void HighlighterAttrChanged(TObject* Sender);
    void MarkListChange(TObject* Sender);
    void UndoRedoAdded(TObject* Sender);
    void UpdateModifiedStatus();
    Integer findHookedCommandEvent(const THookedCommandEvent& AHandlerProc) const;
    void paintMarks(Integer FirstLine, Integer LastLine, Integer aFirstRow);
    void drawMark(TSynEditMark& Mark, Integer& Offset, Integer Row);
    void SetGutterWidth(Integer Value);
    void updateTextOffset();
    TColor editorBackground(bool caretLine) const;
    void addToPendingInvalidation(const TRect& Rect);
    // With word wrap, the rectangle ends with the first row of LastLine unless AllRowsOfLastLine.
    TRect linesRectangle(Integer FirstLine, Integer LastLine, Integer Left, Integer Right,
                         bool AllRowsOfLastLine) const;
    void paintGutterLineNumbers(const TRect& AClip, Integer FirstLine, Integer LastLine);
    void paintGutterBorder(const TRect& AClip);
    void paintWrapGlyphs(Integer aFirstRow, Integer aLastRow);

    TSynEditStringList* lines_ = nullptr;
    std::unique_ptr<TSynEditStringList> ownLines_;
    std::unique_ptr<TFont> constructionFont_;
    std::unique_ptr<TSynEditUndoList> undoList_;
    std::unique_ptr<TSynEditUndoList> redoList_;
    std::unique_ptr<TSynSelectedColor> selectedColor_;
    std::unique_ptr<TSynBookMarkOpt> bookMarkOptions_;
    std::unique_ptr<TSynGutter> gutter_;
    std::unique_ptr<TSynGlyph> wordWrapGlyph_;
    std::unique_ptr<TheTextDrawer> textDrawer_;
    std::unique_ptr<TSynEditKbdHandler> kbdHandler_;
    std::unique_ptr<TSynEditMarkList> markList_;
    std::unique_ptr<TSynInternalImage> internalBookmarkImage_;
    std::vector<TWinControl*> focusControls_;
    std::vector<THookedCommandHandlerEntry> hookedCommandHandlers_;
    std::vector<TSynEditPlugin*> plugins_;
    Integer paintTransientLock_ = 0;
    Integer mouseWheelAccumulator_ = 0;

    bool alwaysShowCaret_ = false;
    TBufferCoord blockBegin_{1, 1};
    TBufferCoord blockEnd_{1, 1};
    Integer caretX_ = 1;
    Integer lastCaretX_ = 1;
    Integer caretY_ = 1;
    Integer charsInWindow_ = 0;
    Integer charWidth_ = 0;
    bool insertMode_ = true;
    Integer linesInWindow_ = 0;
    Integer leftChar_ = 1;
    Integer maxScrollWidth_ = 1024;
    Integer paintLock_ = 0;
    bool readOnly_ = false;
    Integer rightEdge_ = 80;
    TColor rightEdgeColor_ = clSilver;
    TColor scrollHintColor_ = clInfoBk;
    TScrollHintFormat scrollHintFormat_ = shfTopLineOnly;
    TScrollStyle scrollBars_ = ssBoth;
    Integer lineHeight_ = 0;
    Integer textOffset_ = 0;
    Integer topLine_ = 1;
    TSynCustomHighlighter* highlighter_ = nullptr;
    TColor activeLineColor_ = clNone;
    TBorderStyle borderStyle_ = bsSingle;
    bool hideSelection_ = false;
    TSynEditCaretType overwriteCaret_ = ctBlock;
    TSynEditCaretType insertCaret_ = ctVerticalLine;
    bool modified_ = false;
    Integer extraLineSpacing_ = 0;
    TSynSelectionMode selectionMode_ = smNormal;
    TSynSelectionMode activeSelectionMode_ = smNormal;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    Integer tabWidth_ = 8;
    TRect invalidateRect_{};
    TSynStateFlags stateFlags_;
    TSynEditorOptions options_ = SYNEDIT_DEFAULT_OPTIONS;
    TSynStatusChanges statusChanges_;
    bool showSpecialChars_ = false;
    Integer gutterWidth_ = 0;
    // The strip between the gutter and the first text column.
    static constexpr Integer TextMargin = 2;

    // ==== Caret, selection and text replacement; character-index selection (SynEditSelection.cpp) ====
public:
    // Every caret placement goes through here: the position is clamped to the
    // text (and past line ends only as the options allow).
    virtual void SetCaretXYEx(bool CallEnsureCursorPos, TBufferCoord Value);
    // Places the caret and collapses the selection at it.
    virtual void SetCaretXY(const TBufferCoord& Value);
    // Places the caret and leaves the selection as it is.
    virtual void InternalSetCaretXY(const TBufferCoord& Value);
    TBufferCoord CaretXY() const { return GetCaretXY(); }
    TBufferCoord GetCaretXY() const { return BufferCoord(caretX_, caretY_); }
    void SetCaretX(Integer Value);
    void SetCaretY(Integer Value);
    void InternalSetCaretX(Integer Value);
    void InternalSetCaretY(Integer Value);
    TDisplayCoord DisplayXY() { return GetDisplayXY(); }
    TDisplayCoord GetDisplayXY();
    Integer GetDisplayX();
    Integer GetDisplayY();
    // Remembers the caret's display column for vertical moves.
    void UpdateLastCaretX();
    bool CaretInView();
    // Sets the anchor and collapses the selection at it.
    void SetBlockBegin(TBufferCoord Value);
    // Moves the selection end, leaving the anchor.
    void SetBlockEnd(TBufferCoord Value);
    void SelectAll();
    // Selects the word at Value.
    void SetWordBlock(TBufferCoord Value);
    // Replaces the selection in the active selection mode; the caller records the undo items.
    void SetSelTextPrimitive(const AnsiString& Value);
    // Deletes the selection and inserts Value (NUL-terminated, may be null) in PasteMode.
    // Only a column insertion records its own undo items, and only with AddToUndoList.
    void SetSelTextPrimitiveEx(TSynSelectionMode PasteMode, const char* Value, bool AddToUndoList);
    // Deletes the selection and records that as one undo item.
    void DeleteSelectionAsUndoStep();
    // Inserts ChangeStr as a column block at BB.
    void InsertBlock(TBufferCoord BB, TBufferCoord BE, const char* ChangeStr, bool AddToUndoList);
    // Replaces the whole text; clearing the buffer empties the undo and redo lists.
    void SynSetText(const AnsiString& Value);
    void SetText(const AnsiString& Value) { SynSetText(Value); }
    void SetLines(TStrings* Value);
    // Replaces the caret's line.
    void SetLineText(const AnsiString& Value);
    bool CanPaste() const { return GetCanPaste(); }
    bool GetCanPaste() const;
    // Inserts the clipboard's text at the caret or over the selection as one undo step.
    void PasteFromClipboard();

    // Character indexes count every line break as two characters (CR LF).
    TBufferCoord CharIndexToRowCol(Integer Index) const;
    Integer RowColToCharIndex(TBufferCoord RowCol) const;
    Integer SelStart() const { return GetSelStart(); }
    Integer GetSelStart() const;
    void SetSelStart(Integer Value);
    Integer SelEnd() const { return GetSelEnd(); }
    Integer GetSelEnd() const;
    void SetSelEnd(Integer Value);
    Integer SelLength() const { return GetSelLength(); }
    Integer GetSelLength() const;
    void SetSelLength(Integer Value);
    // Replaces the selection as one undo step.
    void SetSelTextExternal(const AnsiString& Value);
    void ClearSelection();
    // Empties the editor; nothing of it can be undone.
    void Clear() { ClearAll(); }
    void ClearAll();
    void ClearUndo();
    void SetSelWord();
    void SetActiveSelectionMode(TSynSelectionMode Value);
    bool IsPointInSelection(const TBufferCoord& Value) const;
    // Moves a column bound that falls on a double-byte trail byte one to the right.
    void MBCSGetSelRangeInLineWhenColumnSelectionMode(const AnsiString& Line, Integer& ColFrom,
                                                      Integer& ColTo) const;

protected:
    void DblClick() override;

private:
    bool caretAtEOL_ = false;
    bool doubleByteStepAside_ = false;

    // The editor's own clipboard block: the selection mode it was copied in and its text.
    struct TSynEditBlock {
        TSynSelectionMode Mode = smNormal;
        AnsiString Text;
    };

    // The characters of a line that a column block covers: From up to, not including, To.
    struct TColumnRange {
        Integer From;
        Integer To;
    };

    // Returns where the caret goes after the deletion.
    TBufferCoord deleteSelection(TBufferCoord BB, TBufferCoord BE);
    void deleteNormalSelection(TBufferCoord BB, TBufferCoord BE);
    void deleteColumnSelection(TBufferCoord BB, TBufferCoord BE);
    void deleteLineSelection(TBufferCoord BB, TBufferCoord BE);
    TColumnRange columnRangeInLine(const AnsiString& Line, Integer FirstColumn, Integer SecondColumn) const;
    // The selected text as deleting the selection removes it: what undo must put back.
    AnsiString selectedTextInBuffer() const;
    // Records an insertion in the active mode; a line-mode one as the plain text it is.
    void recordInsertion(TSynChangeReason Reason, TBufferCoord Start, TBufferCoord End,
                         const AnsiString& Text);
    // RecordPadding: the caller records the normal-mode insertion, and with it its padding.
    void replaceSelection(TSynSelectionMode PasteMode, const char* Value, bool AddToUndoList,
                          bool RecordPadding);
    void insertText(TSynSelectionMode PasteMode, const char* Value, bool AddToUndoList, bool RecordPadding);
    void recordInsertionPadding(TBufferCoord LineEnd, TBufferCoord InsertedAt);
    Integer insertNormal(const std::vector<AnsiString>& Pieces, TBufferCoord& Caret);
    Integer insertColumn(const std::vector<AnsiString>& Pieces, TBufferCoord& Caret, bool AddToUndoList);
    void recordColumnInsert(Integer Column, Integer Line, const AnsiString& Piece, bool AddToUndoList);
    Integer insertLines(const std::vector<AnsiString>& Pieces, TBufferCoord& Caret);
    TBufferCoord clampBlockPosition(TBufferCoord Value) const;
    bool readPrivateBlock(TSynEditBlock& Block);
    void recordPasteStart();
    void recordPasteEnd();
    void orderSelectionEnds();
    TBufferCoord replacementStart() const;
    void pastePrivateBlock(const TSynEditBlock& Block);
    void pastePlainText(const AnsiString& Text);
    void updateScrollBarsDespitePaintLock();

    // ==== Caret display, scrolling, window messages, range scanning, display positions and word wrap
    // (SynEditScrolling.cpp) ====
public:
    void InitializeCaret();
    void UpdateCaret();
    void ShowCaret();
    void HideCaret();
    void EnsureCursorPosVisible() { EnsureCursorPosVisibleEx(false); }
    void EnsureCursorPosVisibleEx(bool ForceToMiddle);
    void UpdateScrollBars();

    // Rescans from line Index (0-based) until a line ends in the state stored
    // for it; returns the last line scanned.
    Integer ScanFrom(Integer Index);
    void ScanRanges();

    TDisplayCoord BufferToDisplayPos(const TBufferCoord& p) const;
    TBufferCoord DisplayToBufferPos(const TDisplayCoord& p) const;
    Integer LineToRow(Integer aLine) const;
    Integer RowToLine(Integer aRow) const;
    Integer GetDisplayLineCount() const;
    bool GetWordWrap() const { return wordWrapPlugin_ != nullptr; }
    void SetWordWrap(bool Value);
    void SetWordWrapGlyph(TSynGlyph* Value) { wordWrapGlyph_->Assign(Value); }
    // Takes the font's fixed-pitch form when its characters differ in width.
    void SetFont(TFont* Value);
    ISynEditBufferPlugin* WordWrapPlugin() const { return wordWrapPlugin_.get(); }

    virtual void UpdateMouseCursor();

    TDropFilesEvent OnDropFiles;
    TMouseCursorEvent OnMouseCursor;

protected:
    void WndProc(TMessage& Message) override;

private:
    void ListCleared(TObject* Sender);
    void ListDeleted(TObject* Sender, Integer Index, Integer aCount);
    void ListInserted(TObject* Sender, Integer Index, Integer aCount);
    void ListPutted(TObject* Sender, Integer Index, Integer aCount);
    void autoSizeMaxScrollWidth(Integer Index);
    Integer expandedColumn(const AnsiString& Line, Integer Char) const;
    void keepCaretInItsRow();

    void WMHScroll(TMessage& Message);
    void WMVScroll(TMessage& Message);
    void WMDropFiles(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    void WMGetText(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMSetCursor(TMessage& Message);
    // Handles the messages of this section; false leaves the message to the framework.
    bool dispatchScrollingMessage(TMessage& Message);
    void showScrollHint();
    Integer horizontalExtent();
    Integer longestLineLength();
    SCROLLINFO scrollInfoRequest() const;
    void updateHorizontalScrollBar();
    void updateVerticalScrollBar();
    Integer greatestTopLine() const;
    Integer greatestLeftChar();
    TRect textAreaRect();

    std::unique_ptr<ISynEditBufferPlugin> wordWrapPlugin_;
    TPoint caretOffset_{0, 0};
    // A scroll-bar thumb is being dragged.
    bool isScrolling_ = false;

    // ==== Keyboard, mouse, clipboard, undo and redo (SynEditInput.cpp) ====
public:
    // The identifier of the private clipboard format "SynEdit Control Block Type":
    // a selection-mode byte, then the text and a NUL.
    static UINT SynEditClipboardFormat();

    TDisplayCoord PixelsToRowColumn(Integer aX, Integer aY) const;
    TDisplayCoord PixelsToNearestRowColumn(Integer aX, Integer aY) const;
    TPoint RowColumnToPixels(const TDisplayCoord& aRowCol) const;
    // Puts the caret at the text position nearest to the point.
    void ComputeCaret(Integer X, Integer Y);
    // Sets the auto-scroll deltas from a point outside the text area and runs the timer while they are not 0.
    void ComputeScroll(Integer X, Integer Y);
    void ScrollTimerHandler(TObject* Sender);
    virtual void DoOnGutterClick(TMouseButton Button, Integer X, Integer Y);

    void CopyToClipboard();
    void CutToClipboard();
    // Places the text as plain text and, after it, in the private format.
    void DoCopyToClipboard(const AnsiString& SText);

    // The earlier and the later of the two selection ends.
    TBufferCoord GetBlockBegin() const;
    TBufferCoord GetBlockEnd() const;
    bool SelAvail() const { return GetSelAvail(); }
    bool GetSelAvail() const;
    bool GetSelTabBlock() const;
    bool GetSelTabLine() const;
    AnsiString SelText() const { return GetSelText(); }
    AnsiString GetSelText() const;
    AnsiString SynGetText() const { return lines_->Text(); }
    AnsiString LineText() const { return GetLineText(); }
    AnsiString GetLineText() const;
    AnsiString WordAtCursor() { return GetWordAtCursor(); }
    AnsiString GetWordAtCursor();

    Integer LeftSpaces(const AnsiString& Line) const { return LeftSpacesEx(Line, false); }
    Integer LeftSpacesEx(const AnsiString& Line, bool WantTabs) const;
    // Indentation of CharCount columns, in tabs as far as the options allow.
    AnsiString GetLeftSpacing(Integer CharCount, bool WantTabs) const;
    static AnsiString TrimTrailingBlanks(const AnsiString& S);

    void Undo();
    void Redo();
    void UndoItem();
    void RedoItem();
    bool CanUndo() const { return GetCanUndo(); }
    bool GetCanUndo() const;
    bool CanRedo() const { return GetCanRedo(); }
    bool GetCanRedo() const;

    TGutterClickEvent OnGutterClick;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    // The input method's composition result and its open-status notification.
    void WMImeComposition(TMessage& Message);
    void WMImeNotify(TMessage& Message);

private:
    void createScrollTimer();
    void startOrExtendSelection(TShiftState Shift);
    Integer clampedRow(Integer Row) const;
    AnsiString normalSelText(TBufferCoord First, TBufferCoord Last) const;
    AnsiString lineSelText(TBufferCoord First, TBufferCoord Last) const;
    AnsiString columnSelText(TBufferCoord First, TBufferCoord Last) const;
    void undoOrRedoStep(TSynEditUndoList& From, TSynEditUndoList& To, bool Undoing);
    void undoItemByReason(TSynEditUndoItem& Item);
    void redoItemByReason(TSynEditUndoItem& Item);
    void undoDeletion(TSynEditUndoItem& Item);
    void undoLineBreak(TSynEditUndoItem& Item);
    void undoUnindent(TSynEditUndoItem& Item);
    void redoInsertion(TSynEditUndoItem& Item);
    void redoDeletion(TSynEditUndoItem& Item, TBufferCoord CaretTarget);
    void redoUnindent(TSynEditUndoItem& Item);
    void recordCaretOrSelection(TSynEditUndoList& List, TSynEditUndoItem& Item);
    void selectRecordedRange(const TSynEditUndoItem& Item);
    void leaveScrollPastEol();

    // Owned as a component of the editor, which frees it.
    class TTimer* scrollTimer_ = nullptr;
    Integer scrollDeltaX_ = 0;
    Integer scrollDeltaY_ = 0;
    Integer mouseDownX_ = 0;
    Integer mouseDownY_ = 0;
    // Character messages that still belong to an input-method result already inserted.
    Integer imeCount_ = 0;

    // ==== Key map (SynEdit.cpp) ====
public:
    TSynEditKeyStrokes* Keystrokes() const { return keystrokes_.get(); }
    // None empties the key map; any other collection is copied into it.
    void SetKeystrokes(TSynEditKeyStrokes* Value);
    // Fills the key map with the default bindings when the editor is created.
    virtual void SetDefaultKeystrokes();

private:
    std::unique_ptr<TSynEditKeyStrokes> keystrokes_;

    // ==== Command execution, caret movement, words and brackets, tabs, indent and case (SynEditCommands.cpp)
    // ====
public:
    // The characters that make up words: the highlighter's, or every printable one without a highlighter.
    TSynIdentChars IdentChars() const;
    // Word characters less the word breaks, and their complement among the non-NUL characters.
    void PrepareIdentChars(TSynIdentChars& IdentChars, TSynIdentChars& WhiteChars) const;

    using TContextHelpEvent = Closure<void(TObject* Sender, AnsiString Word)>;

    // Carries out one editor command; user commands (ecUserFirst and above) and unknown ones do nothing.
    virtual void ExecuteCommand(TSynEditorCommand Command, char AChar, void* Data);
    // Stores the line at the 0-based Index, without its trailing blanks when eoTrimTrailingSpaces is set.
    void ProperSetLine(Integer Index, const AnsiString& ALineText);

    void MoveCaretHorz(Integer DX, bool Selecting);
    void MoveCaretVert(Integer DY, bool Selecting);
    // Moves the caret to ptAfter; selecting extends the selection from ptBefore, otherwise it collapses.
    void MoveCaretAndSelection(TBufferCoord ptBefore, TBufferCoord ptAfter, bool Selecting);
    void SetCaretAndSelection(TBufferCoord ptCaret, TBufferCoord ptBefore, TBufferCoord ptAfter);
    // Home and End; with the enhanced options they alternate between the text's edge and the line's.
    void DoHomeKey(bool Selection);
    void DoEndKey(bool Selection);
    void SetInternalDisplayXY(const TDisplayCoord& aPos);

    virtual TBufferCoord NextWordPos();
    virtual TBufferCoord NextWordPosEx(const TBufferCoord& XY);
    virtual TBufferCoord WordStart();
    virtual TBufferCoord WordStartEx(const TBufferCoord& XY);
    virtual TBufferCoord WordEnd();
    virtual TBufferCoord WordEndEx(const TBufferCoord& XY);
    virtual TBufferCoord PrevWordPos();
    virtual TBufferCoord PrevWordPosEx(const TBufferCoord& XY);
    AnsiString GetWordAtRowCol(const TBufferCoord& XY) const;
    AnsiString GetWordAtMouse();
    bool GetPositionOfMouse(TBufferCoord& XY);
    // The partner of the bracket at APoint, skipping brackets in strings and comments; (0, 0) when none.
    virtual TBufferCoord GetMatchingBracketEx(const TBufferCoord& APoint);
    virtual TBufferCoord GetMatchingBracket();
    virtual void FindMatchingBracket();
    bool GetHighlighterAttriAtRowCol(const TBufferCoord& XY, AnsiString& Token,
                                     TSynHighlighterAttributes*& Attri);
    bool GetHighlighterAttriAtRowColEx(const TBufferCoord& XY, AnsiString& Token, Integer& TokenType,
                                       Integer& Start, TSynHighlighterAttributes*& Attri);

    void DoTabKey();
    void DoShiftTabKey();
    void DoBlockIndent();
    void DoBlockUnindent();
    // Cmd is one of the case commands, ecUpperCase to ecToggleCaseBlock.
    void DoCaseChange(TSynEditorCommand Cmd);

    TContextHelpEvent OnContextHelp;

private:
    Integer pageStep(bool Up) const;
    void scrollOneLine(bool Up);
    void toggleBookmark(Integer BookMark, const TBufferCoord* Data);
    void typeChar(char AChar);
    void replaceSelectionByTyping(const AnsiString& Text);
    void typeCharInLine(char AChar);
    void insertImeString(const char* Value);
    void recordPadding(TBufferCoord Start, TBufferCoord End);
    void recordReplacement(TBufferCoord Start, TBufferCoord End, const AnsiString& Replaced);
    void lineBreak(bool MoveCaret);
    void deleteLastChar();
    void deleteChar();
    void deleteToWordEndOrLineEnd(TSynEditorCommand Command);
    void deleteToWordStartOrLineStart(TSynEditorCommand Command);
    void deleteLine();
    AnsiString backspaceAtCaret();
    Integer smartBackspaceColumn(const AnsiString& Line) const;
    Integer unindentCount(const AnsiString& Line, Integer Indent) const;
    TBufferCoord deleteWordEnd();
    void selectNormalRange(TBufferCoord From, TBufferCoord To);
    void recordPaddedDeletion(Integer PaddedFrom, TBufferCoord End, const AnsiString& Removed);
    void scrollRightWhenPastEdge();
    void placeTypedCaret(Integer X);
    bool executeMovement(TSynEditorCommand Command, void* Data);
    bool executeEdit(TSynEditorCommand Command, char AChar, void* Data);
    void executeOther(TSynEditorCommand Command, void* Data);
    struct SmartTab {
        Integer Width = 0;
        // The display column the tab reaches in the line above.
        Integer TargetColumn = 0;
    };
    SmartTab smartTab();
    AnsiString tabText(const SmartTab& Smart, Integer& NewCaretX);
    AnsiString fillToColumn(Integer From, Integer To) const;
    Integer shiftTabColumn() const;
    Integer smartShiftTabColumn() const;
    void markCaretChanged();
    bool stepAcrossRowEnd(Integer DX);
    Integer wrappedRowLength(Integer Row);
    Integer caretRowEnd();
    bool onLastRowOfLine();
    bool inStringOrComment(const TBufferCoord& XY);
    Integer blockUnindentAmount(const AnsiString& Line, Integer Column) const;

    // ==== Bookmarks, drag and drop, shared buffers, command dispatch, search and keystroke streaming
    // (SynEditDispatch.cpp) ====
public:
    static constexpr Integer BookmarkCount = 10;

    // Numbers outside 0..9 and lines outside the text are ignored.
    void SetBookMark(Integer BookMark, Integer X, Integer Y);
    void ClearBookMark(Integer BookMark);
    void GotoBookMark(Integer BookMark);
    void GotoLineAndCenter(Integer ALine);

    // Text dragged from any editor is accepted unless this one is read-only.
    void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
    // Moves or copies the source editor's selection to the drop point as one undo step.
    void DragDrop(TObject* Source, Integer X, Integer Y) override;
    void DragCanceled() override;

    // Shows and edits another editor's buffer and undo history until RemoveLinesPointer.
    void SetLinesPointer(TCustomSynEdit* ASynEdit);
    void RemoveLinesPointer();
    void HookTextBuffer(TSynEditStringList* ABuffer, TSynEditUndoList* AUndo, TSynEditUndoList* ARedo);
    void UnHookTextBuffer();

    // The command bound to the key, remembering an unbound key as the first of a two-key binding.
    TSynEditorCommand TranslateKeyCode(Word Code, TShiftState Shift, void*& Data);
    // Runs one command through OnProcessCommand, the hooked handlers and ExecuteCommand.
    virtual void CommandProcessor(TSynEditorCommand Command, char AChar, void* Data);
    virtual void DoOnProcessCommand(TSynEditorCommand& Command, char& AChar, void* Data);
    virtual void DoOnCommandProcessed(TSynEditorCommand& Command, char& AChar, void* Data);

    TSynEditSearchCustom* SearchEngine() const { return searchEngine_; }
    void SetSearchEngine(TSynEditSearchCustom* Value);
    // The number of matches found (and, when replacing, handled).
    Integer SearchReplace(const AnsiString& ASearch, const AnsiString& AReplace, TSynSearchOptions AOptions);
    virtual TSynReplaceAction DoOnReplaceText(const AnsiString& ASearch, const AnsiString& AReplace,
                                              Integer Line, Integer Column);

    // The key map is stored as its differences from the default map.
    void DefineProperties(TFiler* Filer) override;
    void AddKey(TSynEditorCommand Command, Word Key1, TShiftState SS1, Word Key2, TShiftState SS2);

    TProcessCommandEvent OnProcessCommand;
    TProcessCommandEvent OnProcessUserCommand;
    TProcessCommandEvent OnCommandProcessed;
    TReplaceTextEvent OnReplaceText;

protected:
    void LinesHookChanged();

private:
    // The state of showing another editor's buffer; freeing it gives the buffer back.
    class TextBufferHook;
    struct TextBufferHookDeleter {
        void operator()(TextBufferHook* Hook) const;
    };
    class SearchRun;

    void WriteAddedKeystrokes(TWriter* Writer);
    void WriteRemovedKeystrokes(TWriter* Writer);
    void ReadAddedKeystrokes(TReader* Reader);
    void ReadRemovedKeystrokes(TReader* Reader);
    bool keystrokesDifferFromReference(TFiler* Filer);
    void dropText(TCustomSynEdit& Source, bool Moving);
    // Empties the bookmark number that refers to Mark, which is being deleted.
    void forgetBookmark(const TSynEditMark* Mark);
    void insertDroppedText(TBufferCoord DropPosition, const AnsiString& Text);

    std::array<TSynEditMark*, BookmarkCount> bookmarks_{};
    TSynEditSearchCustom* searchEngine_ = nullptr;
    Word lastKey_ = 0;
    TShiftState lastShiftState_;
    TCustomSynEdit* chainedEditor_ = nullptr;
    // Declared after the buffer and lists it swaps, so that it goes first and gives them back.
    std::unique_ptr<TextBufferHook, TextBufferHookDeleter> textBufferHook_;
};

// The same control with its properties published for form resources.
class TSynEdit : public TCustomSynEdit {
public:
    using TCustomSynEdit::TCustomSynEdit;
};
