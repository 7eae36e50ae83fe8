// The syntax-highlighting source editor control: its state and defaults, the
// published properties, and how it paints its text rows and its gutter
// through the canvas and the text drawer.
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
// Which scroll bar moved; the framework's kind, which the platform layer does not define yet.
enum TScrollBarKind { sbHorizontal, sbVertical };

class TCustomSynEdit;
class TSynEditMark;

using TPaintEvent = Closure<void(TObject* Sender, TCanvas* ACanvas)>;
using TPaintTransient = Closure<void(TObject* Sender, TCanvas* Canvas, TTransientType TransientType)>;
using TSpecialLineColorsEvent =
    Closure<void(TObject* Sender, Integer Line, bool& Special, TColor& FG, TColor& BG)>;
using TScrollEvent = Closure<void(TObject* Sender, TScrollBarKind ScrollBar)>;
using TStatusChangeEvent = Closure<void(TObject* Sender, TSynStatusChanges Changes)>;
using TGutterGetTextEvent = Closure<void(TObject* Sender, Integer aLine, AnsiString& aText)>;
using TGutterPaintEvent = Closure<void(TObject* Sender, Integer aLine, Integer X, Integer Y)>;
using TPlaceMarkEvent = Closure<void(TObject* Sender, TSynEditMark*& Mark)>;
using THookedCommandEvent =
    Closure<void(TObject* Sender, bool AfterProcessing, bool& Handled, TSynEditorCommand& Command,
                 char& AChar, void* Data, void* HandlerData)>;

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
    Integer DisplayLineCount() const { return lines_->Count(); }
    Integer LineToRow(Integer aLine) const { return aLine; }
    Integer RowToLine(Integer aRow) const { return aRow; }

    // ---- Position and selection ----
    Integer TopLine() const { return topLine_; }
    void SetTopLine(Integer Value);
    Integer LeftChar() const { return leftChar_; }
    void SetLeftChar(Integer Value);
    Integer CaretX() const { return caretX_; }
    Integer CaretY() const { return caretY_; }
    TBufferCoord BlockBegin() const { return blockBegin_; }
    TBufferCoord BlockEnd() const { return blockEnd_; }
    // Sets the selection from anchor to end as given and repaints the lines it touched.
    void SetSelection(TBufferCoord Anchor, TBufferCoord End);

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
    void SetInsertCaret(TSynEditCaretType Value) { insertCaret_ = Value; }
    TSynEditCaretType OverwriteCaret() const { return overwriteCaret_; }
    void SetOverwriteCaret(TSynEditCaretType Value) { overwriteCaret_ = Value; }
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
    void SetScrollBars(TScrollStyle Value) { scrollBars_ = Value; }
    TSynSelectedColor* SelectedColor() const { return selectedColor_.get(); }
    TSynBookMarkOpt* BookMarkOptions() const { return bookMarkOptions_.get(); }
    TSynSelectionMode SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(TSynSelectionMode Value);
    TSynSelectionMode ActiveSelectionMode() const { return activeSelectionMode_; }
    Integer TabWidth() const { return tabWidth_; }
    // Widths below 1 become 1: tab stops are computed by division.
    void SetTabWidth(Integer Value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool Value) { wantReturns_ = Value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool Value) { wantTabs_ = Value; }
    bool WordWrap() const { return false; }
    TSynGlyph* WordWrapGlyph() const { return wordWrapGlyph_.get(); }
    bool AlwaysShowCaret() const { return alwaysShowCaret_; }

    // ---- Paint lock and invalidation ----
    void IncPaintLock() { ++paintLock_; }
    void DecPaintLock();
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
    TScrollEvent OnScroll;
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
    void scanRanges();
    TColor editorBackground(bool caretLine) const;
    void addToPendingInvalidation(const TRect& Rect);
    TRect linesRectangle(Integer FirstLine, Integer LastLine, Integer Left, Integer Right) const;
    void paintGutterLineNumbers(const TRect& AClip, Integer FirstLine, Integer LastLine);
    void paintGutterBorder(const TRect& AClip);

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
    bool scanningRanges_ = false;
    Integer gutterWidth_ = 0;
};

// The same control with its properties published for form resources.
class TSynEdit : public TCustomSynEdit {
public:
    using TCustomSynEdit::TCustomSynEdit;
};
