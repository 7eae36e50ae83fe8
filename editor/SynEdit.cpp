// The editor control: construction with its defaults, the property setters,
// the paint lock with its deferred status changes, invalidation of lines and
// gutter lines, and painting of the gutter and of the text rows token by token.
#include "editor/SynEdit.h"

#include "editor/SynEditMiscProcs.h"
#include "editor/SynEditWordWrap.h"
#include "platform/core/Exceptions.h"
#include "platform/vcl/Idents.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/win/Caret.h"
#include "platform/win/DropFiles.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Painting.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/TextOut.h"

#include <algorithm>
#include <climits>

namespace {

constexpr Integer DefaultHeight = 150;
constexpr Integer DefaultWidth = 200;
constexpr Integer DefaultFontSize = 10;
constexpr const char* DefaultFontName = "Courier New";
constexpr const char* WrapGlyphResource = "SynEditWrapped";
constexpr const char* InternalImagesResource = "SynEditInternalImages";
constexpr Integer InternalImageCount = 10;
constexpr Integer MinimumTokenCapacity = 128;
constexpr UINT DefaultWheelScrollLines = 3;
// The system's wheel setting for "one screen per notch".
constexpr Integer WheelScrollsPages = -1;
constexpr Integer TokenCapacityMargin = 32;
constexpr char SpaceGlyph = '\xB7';
constexpr char TabGlyph = '\xBB';
constexpr char LineEndGlyph = '\xB6';

bool onlySpaces(const AnsiString& Text) {
    return std::all_of(Text.begin(), Text.end(), [](char c) { return c == ' '; });
}

bool isEmpty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

} // namespace

// ---- Construction ---------------------------------------------------------------------------

TCustomSynEdit::TCustomSynEdit(TComponent* AOwner) : TCustomControl(AOwner) {
    ownLines_ = std::make_unique<TSynEditStringList>();
    lines_ = ownLines_.get();
    lines_->OnChange = TNotifyEvent(this, &TCustomSynEdit::LinesChanged);
    lines_->OnChanging = TNotifyEvent(this, &TCustomSynEdit::LinesChanging);
    lines_->OnCleared = TNotifyEvent(this, &TCustomSynEdit::ListCleared);
    lines_->OnDeleted = TStringListChangeEvent(this, &TCustomSynEdit::ListDeleted);
    lines_->OnInserted = TStringListChangeEvent(this, &TCustomSynEdit::ListInserted);
    lines_->OnPutted = TStringListChangeEvent(this, &TCustomSynEdit::ListPutted);
    constructionFont_ = std::make_unique<TFont>();
    undoList_ = std::make_unique<TSynEditUndoList>();
    undoList_->OnAddedUndo = TNotifyEvent(this, &TCustomSynEdit::UndoRedoAdded);
    redoList_ = std::make_unique<TSynEditUndoList>();
    redoList_->OnAddedUndo = TNotifyEvent(this, &TCustomSynEdit::UndoRedoAdded);
    selectedColor_ = std::make_unique<TSynSelectedColor>();
    selectedColor_->OnChange = TNotifyEvent(this, &TCustomSynEdit::SelectedColorsChanged);
    bookMarkOptions_ = std::make_unique<TSynBookMarkOpt>(this);
    bookMarkOptions_->OnChange = TNotifyEvent(this, &TCustomSynEdit::BookMarkOptionsChanged);
    gutter_ = std::make_unique<TSynGutter>();
    gutter_->OnChange = TNotifyEvent(this, &TCustomSynEdit::GutterChanged);
    gutterWidth_ = gutter_->Width();
    wordWrapGlyph_ = std::make_unique<TSynGlyph>(HInstance(), WrapGlyphResource, clLime);
    wordWrapGlyph_->OnChange = TNotifyEvent(this, &TCustomSynEdit::WordWrapGlyphChange);
    textOffset_ = gutterWidth_ + TextMargin;
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csSetCaption});
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
    SetCursor(crIBeam);
    SetColor(clWindow);
    constructionFont_->SetName(DefaultFontName);
    constructionFont_->SetSize(DefaultFontSize);
    constructionFont_->SetCharset(DEFAULT_CHARSET);
    textDrawer_ = std::make_unique<TheTextDrawer>(TFontStyles{fsBold}, constructionFont_.get());
    Font()->Assign(constructionFont_.get());
    Font()->OnChange = TNotifyEvent(this, &TCustomSynEdit::SynFontChanged);
    SetParentFont(false);
    SetParentColor(false);
    SetTabStop(true);
    kbdHandler_ = std::make_unique<TSynEditKbdHandler>();
    keystrokes_ = std::make_unique<TSynEditKeyStrokes>(this);
    markList_ = std::make_unique<TSynEditMarkList>(this);
    markList_->OnChange = TNotifyEvent(this, &TCustomSynEdit::MarkListChange);
    SetDefaultKeystrokes();
    createScrollTimer();
    lines_->SetTabWidth(tabWidth_);
    SynFontChanged(nullptr);
}

TCustomSynEdit::~TCustomSynEdit() {
    SetHighlighter(nullptr);
    if (chainedEditor_ != nullptr || lines_ != ownLines_.get()) RemoveLinesPointer();
    // Editors showing this one's buffer must let go of it while it still exists.
    Destroying();
    RemoveFreeNotifications();
    Font()->OnChange = nullptr;
    lines_->OnChange = nullptr;
    lines_->OnChanging = nullptr;
    lines_->OnCleared = nullptr;
    lines_->OnDeleted = nullptr;
    lines_->OnInserted = nullptr;
    lines_->OnPutted = nullptr;
    // Each plug-in takes itself out of the list as it goes.
    while (!plugins_.empty())
        delete plugins_.back();
    markList_->OnChange = nullptr;
}

void TCustomSynEdit::Loaded() {
    TCustomControl::Loaded();
    GutterChanged(this);
    UpdateScrollBars();
}

// Components the editor refers to but does not own are let go before they are freed.
void TCustomSynEdit::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent == nullptr) return;
    if (AComponent == searchEngine_) SetSearchEngine(nullptr);
    if (AComponent == highlighter_) SetHighlighter(nullptr);
    if (AComponent == chainedEditor_) RemoveLinesPointer();
    if (AComponent == bookMarkOptions_->BookmarkImages()) {
        bookMarkOptions_->SetBookmarkImages(nullptr);
        InvalidateGutterLines(-1, -1);
    }
}

void TCustomSynEdit::CreateWnd() {
    TCustomControl::CreateWnd();
    if (options_.Contains(eoDropFiles) && !ComponentState().Contains(csDesigning))
        DragAcceptFiles(Handle(), TRUE);
    SizeOrFontChanged(true);
    UpdateScrollBars();
}

void TCustomSynEdit::DestroyWnd() {
    if (options_.Contains(eoDropFiles) && !ComponentState().Contains(csDesigning))
        DragAcceptFiles(Handle(), FALSE);
    TCustomControl::DestroyWnd();
}

// The editor paints every pixel itself, so resizing redraws nothing by itself;
// a single border becomes the sunken client edge with 3D controls.
void TCustomSynEdit::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Caption.clear();
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
    Params.Style |= WS_CLIPCHILDREN;
    if (borderStyle_ == bsSingle) {
        if (Ctl3D()) {
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        } else {
            Params.Style |= WS_BORDER;
        }
    }
}

void TCustomSynEdit::Resize() {
    TCustomControl::Resize();
    SizeOrFontChanged(false);
}

// ---- Window messages -----------------------------------------------------------------------

void TCustomSynEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_IME_COMPOSITION:
        WMImeComposition(Message);
        break;
    case WM_IME_NOTIFY:
        WMImeNotify(Message);
        break;
    case WM_MOUSEWHEEL:
        TCustomControl::Dispatch(Message);
        if (!ComponentState().Contains(csDesigning)) WMMouseWheel(Message);
        break;
    default:
        if (!dispatchScrollingMessage(Message)) TCustomControl::Dispatch(Message);
    }
}

// Whole notches scroll; what is left of a notch waits for the next turn.
void TCustomSynEdit::WMMouseWheel(const TMessage& Message) {
    Integer linesPerClick;
    if ((Message.WParamLo() & MK_CONTROL) != 0) {
        linesPerClick = options_.Contains(eoHalfPageScroll) ? linesInWindow_ / 2 : linesInWindow_;
    } else {
        UINT systemLines = DefaultWheelScrollLines;
        SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &systemLines, 0);
        linesPerClick = static_cast<Integer>(systemLines);
    }
    mouseWheelAccumulator_ += GET_WHEEL_DELTA_WPARAM(Message.WParam);
    const Integer clicks = mouseWheelAccumulator_ / WHEEL_DELTA;
    mouseWheelAccumulator_ %= WHEEL_DELTA;
    if (linesPerClick == WheelScrollsPages || linesPerClick > linesInWindow_) linesPerClick = linesInWindow_;
    SetTopLine(topLine_ - linesPerClick * clicks);
    Update();
    if (OnScroll) OnScroll(this, sbVertical);
}

// ---- Metrics --------------------------------------------------------------------------------

void TCustomSynEdit::SynFontChanged(TObject*) {
    RecalcCharExtent();
    SizeOrFontChanged(true);
}

void TCustomSynEdit::RecalcCharExtent() {
    const TFontStyles combinations[] = {{}, {fsItalic}, {fsBold}, {fsBold, fsItalic}};
    bool used[std::size(combinations)] = {};
    auto markUsed = [&](TFontStyles Style) {
        used[(Style.Contains(fsItalic) ? 1 : 0) + (Style.Contains(fsBold) ? 2 : 0)] = true;
    };
    if (highlighter_ != nullptr && highlighter_->GetAttribCount() > 0) {
        for (Integer i = 0; i < highlighter_->GetAttribCount(); ++i)
            markUsed(highlighter_->GetAttribute(i)->Style());
    } else {
        markUsed(Font()->Style());
    }
    charWidth_ = 0;
    Integer height = 0;
    textDrawer_->SetBaseFont(Font());
    for (std::size_t i = 0; i < std::size(combinations); ++i) {
        if (!used[i]) continue;
        textDrawer_->SetBaseStyle(combinations[i]);
        height = std::max(height, textDrawer_->GetCharHeight());
        charWidth_ = std::max(charWidth_, textDrawer_->GetCharWidth());
    }
    lineHeight_ = height + extraLineSpacing_;
    updateTextOffset();
}

void TCustomSynEdit::SizeOrFontChanged(bool bFont) {
    if (!HandleAllocated() || charWidth_ == 0) return;
    charsInWindow_ = safeDiv(std::max(ClientWidth() - gutterWidth_ - TextMargin, 0), charWidth_);
    linesInWindow_ = safeDiv(ClientHeight(), lineHeight_);
    if (wordWrapPlugin_) {
        wordWrapPlugin_->DisplayChanged();
        Invalidate();
    }
    if (bFont) {
        if (gutter_->ShowLineNumbers())
            GutterChanged(this);
        else
            UpdateScrollBars();
        InitializeCaret();
        stateFlags_.Exclude(sfCaretChanged);
        Invalidate();
    } else {
        UpdateScrollBars();
    }
    stateFlags_.Exclude(sfScrollbarChanged);
    if (!options_.Contains(eoScrollPastEol)) SetLeftChar(leftChar_);
    if (!options_.Contains(eoScrollPastEof)) SetTopLine(topLine_);
}

void TCustomSynEdit::GutterChanged(TObject*) {
    if (ComponentState().Contains(csLoading)) return;
    if (gutter_->ShowLineNumbers() && gutter_->AutoSize()) gutter_->AutoSizeDigitCount(lines_->Count());
    Integer width;
    if (gutter_->UseFontStyle()) {
        textDrawer_->SetBaseFont(gutter_->Font());
        width = gutter_->RealGutterWidth(textDrawer_->GetCharWidth());
        textDrawer_->SetBaseFont(Font());
    } else {
        width = gutter_->RealGutterWidth(charWidth_);
    }
    if (width == gutterWidth_)
        InvalidateGutter();
    else
        SetGutterWidth(width);
}

void TCustomSynEdit::SetGutterWidth(Integer Value) {
    Value = std::max(Value, 0);
    if (gutterWidth_ == Value) return;
    gutterWidth_ = Value;
    updateTextOffset();
    if (HandleAllocated()) {
        charsInWindow_ = safeDiv(std::max(ClientWidth() - gutterWidth_ - TextMargin, 0), charWidth_);
        if (wordWrapPlugin_) wordWrapPlugin_->DisplayChanged();
        UpdateScrollBars();
        Invalidate();
    }
}

void TCustomSynEdit::updateTextOffset() {
    textOffset_ = gutterWidth_ + TextMargin - (leftChar_ - 1) * charWidth_;
}

// ---- Property setters -----------------------------------------------------------------------

void TCustomSynEdit::SetActiveLineColor(TColor Value) {
    if (activeLineColor_ == Value) return;
    activeLineColor_ = Value;
    InvalidateLine(caretY_);
}

void TCustomSynEdit::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    if (HandleAllocated()) RecreateWnd();
}

void TCustomSynEdit::SetExtraLineSpacing(Integer Value) {
    extraLineSpacing_ = Value;
    SynFontChanged(this);
}

void TCustomSynEdit::SetHideSelection(bool Value) {
    if (hideSelection_ == Value) return;
    hideSelection_ = Value;
    InvalidateSelection();
}

void TCustomSynEdit::HighlighterAttrChanged(TObject* Sender) {
    RecalcCharExtent();
    if (dynamic_cast<TSynCustomHighlighter*>(Sender) != nullptr) {
        lines_->BeginUpdate();
        try {
            ScanRanges();
        } catch (...) {
            lines_->EndUpdate();
            throw;
        }
        lines_->EndUpdate();
    } else {
        Invalidate();
    }
    SizeOrFontChanged(true);
}

void TCustomSynEdit::SetOptions(TSynEditorOptions Value) {
    if (Value == options_) return;
    const TSynEditorOptions changed = (Value - options_) + (options_ - Value);
    if (!options_.Contains(eoScrollPastEol)) SetLeftChar(leftChar_);
    if (!options_.Contains(eoScrollPastEof)) SetTopLine(topLine_);
    const TSynEditorOptions scrollBarOptions{eoDisableScrollArrows, eoHideShowScrollbars, eoScrollPastEof,
                                             eoScrollPastEol};
    options_ = Value;
    InternalSetCaretXY(CaretXY());
    if (options_.Contains(eoScrollPastEol)) {
        const TBufferCoord first = GetBlockBegin();
        const TBufferCoord last = GetBlockEnd();
        SetBlockBegin(first);
        SetBlockEnd(last);
    }
    if (changed.Contains(eoDropFiles) && HandleAllocated() && !ComponentState().Contains(csDesigning))
        DragAcceptFiles(Handle(), options_.Contains(eoDropFiles) ? TRUE : FALSE);
    if (changed.Contains(eoShowSpecialChars)) {
        showSpecialChars_ = options_.Contains(eoShowSpecialChars);
        Invalidate();
    }
    if (!(changed * scrollBarOptions).Empty()) UpdateScrollBars();
}

void TCustomSynEdit::SetAlwaysShowCaret(bool Value) {
    if (alwaysShowCaret_ == Value) return;
    alwaysShowCaret_ = Value;
    if (ComponentState().Contains(csDestroying) || Focused()) return;
    if (Value) {
        InitializeCaret();
    } else {
        HideCaret();
        ::DestroyCaret();
    }
}

void TCustomSynEdit::SetReadOnly(bool Value) {
    if (readOnly_ == Value) return;
    readOnly_ = Value;
    StatusChanged(TSynStatusChanges{scReadOnly});
}

void TCustomSynEdit::SelectedColorsChanged(TObject*) {
    InvalidateSelection();
}

void TCustomSynEdit::BookMarkOptionsChanged(TObject*) {
    InvalidateGutter();
}

void TCustomSynEdit::WordWrapGlyphChange(TObject*) {
    if (!ComponentState().Contains(csLoading)) InvalidateGutter();
}

// ---- Paint lock and notifications -----------------------------------------------------------

void TCustomSynEdit::DecPaintLock() {
    if (paintLock_ <= 0) throw EAssertionFailed("Assertion failure (SynEdit)");
    --paintLock_;
    if (paintLock_ > 0 || !HandleAllocated()) return;
    if (stateFlags_.Contains(sfScrollbarChanged)) UpdateScrollBars();
    if (wordWrapPlugin_ && (statusChanges_.Contains(scCaretX) || statusChanges_.Contains(scCaretY)))
        keepCaretInItsRow();
    if (stateFlags_.Contains(sfCaretChanged)) UpdateCaret();
    if (!statusChanges_.Empty()) DoOnStatusChange(statusChanges_);
}

// A wrapped caret beyond the text area's width belongs at the end of its row:
// a vertical move brings it there; one placed there on purpose may stay once.
void TCustomSynEdit::keepCaretInItsRow() {
    TDisplayCoord caret = GetDisplayXY();
    if (charsInWindow_ <= 0 || caret.Column <= charsInWindow_ + 1) return;
    if (caretAtEOL_) {
        caretAtEOL_ = false;
    } else if (statusChanges_.Contains(scCaretY)) {
        caret.Column = charsInWindow_ + 1;
        caretX_ = DisplayToBufferPos(caret).Char;
        statusChanges_.Include(scCaretX);
        UpdateLastCaretX();
    }
    stateFlags_.Include(sfCaretChanged);
}

void TCustomSynEdit::StatusChanged(TSynStatusChanges Changes) {
    statusChanges_ = statusChanges_ + Changes;
    if (paintLock_ == 0) DoOnStatusChange(statusChanges_);
}

void TCustomSynEdit::DoOnStatusChange(TSynStatusChanges Changes) {
    if (OnStatusChange) OnStatusChange(this, Changes);
    statusChanges_ = TSynStatusChanges{};
}

void TCustomSynEdit::DoChange() {
    if (OnChange) OnChange(this);
}

void TCustomSynEdit::LinesChanging(TObject*) {
    stateFlags_.Include(sfLinesChanging);
}

void TCustomSynEdit::LinesChanged(TObject*) {
    stateFlags_.Exclude(sfLinesChanging);
    if (!HandleAllocated()) return;
    UpdateScrollBars();
    const TSynSelectionMode selectionMode = activeSelectionMode_;
    SetBlockBegin(CaretXY());
    activeSelectionMode_ = selectionMode;
    if (!isEmpty(invalidateRect_)) {
        InvalidateRect(invalidateRect_, false);
        invalidateRect_ = TRect{};
    }
    if (gutter_->ShowLineNumbers() && gutter_->AutoSize()) GutterChanged(this);
    if (!options_.Contains(eoScrollPastEof)) SetTopLine(topLine_);
}

// ---- Invalidation ---------------------------------------------------------------------------

void TCustomSynEdit::InvalidateRect(const TRect& aRect, bool aErase) {
    ::InvalidateRect(Handle(), &aRect, aErase);
}

// The rectangle of buffer lines FirstLine..LastLine between Left and Right;
// empty when none of them is visible.
TRect TCustomSynEdit::linesRectangle(Integer FirstLine, Integer LastLine, Integer Left, Integer Right,
                                     bool AllRowsOfLastLine) const {
    FirstLine = std::max(FirstLine, 1);
    LastLine = std::max(LastLine, 1);
    if (FirstLine > LastLine) std::swap(FirstLine, LastLine);
    const bool toBottom = LastLine >= lines_->Count();
    if (wordWrapPlugin_) {
        FirstLine = LineToRow(FirstLine);
        if (!toBottom) LastLine = AllRowsOfLastLine ? LineToRow(LastLine + 1) - 1 : LineToRow(LastLine);
    }
    if (toBottom) LastLine = INT_MAX - 1;
    FirstLine = std::max(FirstLine, topLine_);
    LastLine = std::min(LastLine, topLine_ + linesInWindow_);
    if (LastLine < FirstLine) return TRect{};
    return TRect{Left, (FirstLine - topLine_) * lineHeight_, Right, (LastLine - topLine_ + 1) * lineHeight_};
}

void TCustomSynEdit::InvalidateLines(Integer FirstLine, Integer LastLine) {
    if (!Visible() || !HandleAllocated()) return;
    TRect rect = FirstLine == -1 && LastLine == -1
                     ? TRect{gutterWidth_, 0, ClientWidth(), ClientHeight()}
                     : linesRectangle(FirstLine, LastLine, gutterWidth_, ClientWidth(), true);
    if (isEmpty(rect)) return;
    if (stateFlags_.Contains(sfLinesChanging))
        addToPendingInvalidation(rect);
    else
        InvalidateRect(rect, false);
}

void TCustomSynEdit::addToPendingInvalidation(const TRect& Rect) {
    invalidateRect_ = isEmpty(invalidateRect_) ? Rect
                                               : TRect{std::min(invalidateRect_.Left, Rect.Left),
                                                       std::min(invalidateRect_.Top, Rect.Top),
                                                       std::max(invalidateRect_.Right, Rect.Right),
                                                       std::max(invalidateRect_.Bottom, Rect.Bottom)};
}

void TCustomSynEdit::InvalidateLine(Integer Line) {
    if (!HandleAllocated() || Line < 1 || Line > lines_->Count() || !Visible()) return;
    if (wordWrapPlugin_) {
        InvalidateLines(Line, Line);
        return;
    }
    if (Line < topLine_ || Line > topLine_ + linesInWindow_) return;
    const TRect rect{gutterWidth_, (Line - topLine_) * lineHeight_, ClientWidth(),
                     (Line - topLine_ + 1) * lineHeight_};
    if (stateFlags_.Contains(sfLinesChanging))
        addToPendingInvalidation(rect);
    else
        InvalidateRect(rect, false);
}

void TCustomSynEdit::InvalidateGutterLines(Integer FirstLine, Integer LastLine) {
    if (!Visible() || !HandleAllocated()) return;
    TRect rect = FirstLine == -1 && LastLine == -1
                     ? TRect{0, 0, gutterWidth_, ClientHeight()}
                     : linesRectangle(FirstLine, LastLine, 0, gutterWidth_, false);
    if (!isEmpty(rect)) InvalidateRect(rect, false);
}

void TCustomSynEdit::InvalidateGutterLine(Integer aLine) {
    if (aLine < 1 || aLine > lines_->Count()) return;
    InvalidateGutterLines(aLine, aLine);
}

void TCustomSynEdit::InvalidateSelection() {
    InvalidateLines(blockBegin_.Line, blockEnd_.Line);
}

// ---- Painting -------------------------------------------------------------------------------

void TCustomSynEdit::Paint() {
    const TRect clip = Canvas()->ClipRect();
    const Integer cellWidth = std::max(charWidth_, 1);
    const Integer rowHeight = std::max(lineHeight_, 1);
    const Integer firstCol = clip.Left > gutterWidth_ + TextMargin
                                 ? leftChar_ + safeDiv(clip.Left - gutterWidth_ - TextMargin, cellWidth)
                                 : leftChar_;
    // A clip ending inside the text margin paints no column but must not
    // ask for one before the first.
    const Integer lastCol = std::max(
        leftChar_ + safeDiv(clip.Right - gutterWidth_ - TextMargin + cellWidth - 1, cellWidth), firstCol);
    const Integer firstRow = std::max(topLine_ + safeDiv(clip.Top, rowHeight), topLine_);
    const Integer lastRow = std::clamp(topLine_ + safeDiv(clip.Bottom + rowHeight - 1, rowHeight), 1,
                                       std::max(DisplayLineCount(), 1));
    HideCaret();
    if (clip.Left < gutterWidth_) {
        TRect gutterClip = clip;
        gutterClip.Right = gutterWidth_;
        PaintGutter(gutterClip, firstRow, lastRow);
    }
    if (clip.Right > gutterWidth_) {
        TRect textClip = clip;
        textClip.Left = std::max(textClip.Left, gutterWidth_);
        PaintTextLines(textClip, firstRow, lastRow, firstCol, lastCol);
    }
    PluginsAfterPaint(Canvas(), clip, firstRow, lastRow);
    DoOnPaint();
    DoOnPaintTransient(ttAfter);
    UpdateCaret();
}

void TCustomSynEdit::DoOnPaint() {
    if (!OnPaint) return;
    Canvas()->Font()->Assign(Font());
    Canvas()->Brush()->SetColor(Color());
    OnPaint(this, Canvas());
}

void TCustomSynEdit::DoOnPaintTransient(TTransientType TransientType) {
    DoOnPaintTransientEx(TransientType, false);
}

void TCustomSynEdit::DoOnPaintTransientEx(TTransientType TransientType, bool Lock) {
    bool due = paintTransientLock_ == 0;
    if (Lock) {
        if (TransientType == ttBefore) {
            ++paintTransientLock_;
        } else {
            --paintTransientLock_;
            due = paintTransientLock_ == 0;
        }
    }
    if (!due || !OnPaintTransient) return;
    Canvas()->Font()->Assign(Font());
    Canvas()->Brush()->SetColor(Color());
    HideCaret();
    try {
        OnPaintTransient(this, Canvas(), TransientType);
    } catch (...) {
        ShowCaret();
        throw;
    }
    ShowCaret();
}

bool TCustomSynEdit::DoOnSpecialLineColors(Integer Line, TColor& Foreground, TColor& Background) {
    bool special = false;
    if (OnSpecialLineColors) OnSpecialLineColors(this, Line, special, Foreground, Background);
    return special;
}

TColor TCustomSynEdit::editorBackground(bool caretLine) const {
    if (activeLineColor_ != clNone && caretLine) return activeLineColor_;
    if (highlighter_ != nullptr) {
        TSynHighlighterAttributes* whitespace = highlighter_->GetDefaultAttribute(SYN_ATTR_WHITESPACE);
        if (whitespace != nullptr && whitespace->Background() != clNone) return whitespace->Background();
    }
    return Color();
}

void TCustomSynEdit::PaintGutter(TRect AClip, Integer aFirstRow, Integer aLastRow) {
    const Integer firstLine = RowToLine(aFirstRow);
    // An empty editor still numbers its one row.
    const Integer lastLine = std::min(RowToLine(aLastRow), std::max(lines_->Count(), 1));
    if (gutter_->Gradient())
        SynDrawGradient(Canvas(), gutter_->GradientStartColor(), gutter_->GradientEndColor(),
                        gutter_->GradientSteps(), TRect{0, 0, gutterWidth_, ClientHeight()}, true);
    Canvas()->Brush()->SetColor(gutter_->Color());
    if (gutter_->ShowLineNumbers())
        paintGutterLineNumbers(AClip, firstLine, lastLine);
    else if (!gutter_->Gradient())
        Canvas()->FillRect(AClip);
    if (wordWrapPlugin_ && wordWrapGlyph_->Visible()) paintWrapGlyphs(aFirstRow, aLastRow);
    paintGutterBorder(AClip);
    if (bookMarkOptions_->GlyphsVisible() && markList_->Count() > 0 && lastLine >= firstLine) {
        paintMarks(firstLine, lastLine, aFirstRow);
    } else if (OnGutterPaint) {
        for (Integer line = firstLine; line <= lastLine; ++line)
            OnGutterPaint(this, line, 0, (LineToRow(line) - topLine_) * lineHeight_);
    }
}

// Draws the visible marks of the painted lines, the kind that DrawBookmarksFirst
// names first, each further mark of a row to the right of the one before.
void TCustomSynEdit::paintMarks(Integer FirstLine, Integer LastLine, Integer aFirstRow) {
    std::vector<Integer> offsets(static_cast<std::size_t>(LastLine - FirstLine + 1), 0);
    auto drawKind = [&](bool Bookmarks) {
        bool otherKind = false;
        for (Integer i = 0; i < markList_->Count(); ++i) {
            TSynEditMark& mark = *markList_->Items(i);
            if (!mark.Visible() || mark.Line() < FirstLine || mark.Line() > LastLine) continue;
            if (mark.IsBookmark() != Bookmarks) {
                otherKind = true;
                continue;
            }
            const Integer row = LineToRow(mark.Line());
            if (row >= aFirstRow)
                drawMark(mark, offsets[static_cast<std::size_t>(mark.Line() - FirstLine)], row);
        }
        return otherKind;
    };
    const bool bookmarksFirst = bookMarkOptions_->DrawBookmarksFirst();
    if (drawKind(bookmarksFirst)) drawKind(!bookmarksFirst);
    if (!OnGutterPaint) return;
    for (Integer line = FirstLine; line <= LastLine; ++line)
        OnGutterPaint(this, line, offsets[static_cast<std::size_t>(line - FirstLine)],
                      (LineToRow(line) - topLine_) * lineHeight_);
}

void TCustomSynEdit::drawMark(TSynEditMark& Mark, Integer& Offset, Integer Row) {
    const Integer y = (Row - topLine_) * lineHeight_;
    TImageList* images = bookMarkOptions_->BookmarkImages();
    if (images != nullptr && !Mark.InternalImage()) {
        if (Mark.ImageIndex() >= images->Count()) return;
        if (Mark.IsBookmark() == bookMarkOptions_->DrawBookmarksFirst())
            Offset = 0;
        else if (Offset == 0)
            Offset = bookMarkOptions_->Xoffset();
        images->Draw(Canvas(), bookMarkOptions_->LeftMargin() + Offset, y, Mark.ImageIndex());
        Offset += bookMarkOptions_->Xoffset();
        return;
    }
    if (Mark.ImageIndex() < 0 || Mark.ImageIndex() >= InternalImageCount) return;
    if (Offset == 0) {
        if (!internalBookmarkImage_)
            internalBookmarkImage_ =
                std::make_unique<TSynInternalImage>(HInstance(), InternalImagesResource, InternalImageCount);
        internalBookmarkImage_->Draw(Canvas(), Mark.ImageIndex(), bookMarkOptions_->LeftMargin() + Offset, y,
                                     lineHeight_);
    }
    Offset += bookMarkOptions_->Xoffset();
}

void TCustomSynEdit::paintGutterLineNumbers(const TRect& AClip, Integer FirstLine, Integer LastLine) {
    const bool ownFont = gutter_->UseFontStyle();
    if (ownFont) {
        textDrawer_->SetBaseFont(gutter_->Font());
    } else {
        textDrawer_->SetBaseStyle(TFontStyles{});
    }
    HDC dc = Canvas()->Handle();
    textDrawer_->BeginDrawing(dc);
    textDrawer_->SetForeColor(ColorToRGB(ownFont ? gutter_->Font()->Color() : Font()->Color()));
    textDrawer_->SetBackColor(ColorToRGB(gutter_->Color()));
    TRect rect{AClip.Left, 0, std::max(AClip.Right, gutterWidth_ - 2), 0};
    for (Integer line = FirstLine; line <= LastLine; ++line) {
        const Integer previousBottom = rect.Bottom;
        rect.Top = (LineToRow(line) - topLine_) * lineHeight_;
        if (wordWrapPlugin_ && !gutter_->Gradient() && rect.Top > previousBottom) {
            // The continuation rows of the line before carry no number.
            const TRect gap{rect.Left, previousBottom, rect.Right, rect.Top};
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &gap, nullptr, 0, nullptr);
        }
        rect.Bottom = rect.Top + lineHeight_;
        AnsiString text = gutter_->FormatLineNumber(line);
        if (OnGutterGetText) OnGutterGetText(this, line, text);
        SIZE extent{};
        GetTextExtentPoint32A(dc, text.data(), static_cast<Integer>(text.size()), &extent);
        const Integer x = gutterWidth_ - gutter_->RightOffset() - 2 - extent.cx;
        const Integer y = rect.Top + (lineHeight_ - extent.cy) / 2;
        if (gutter_->Gradient()) {
            SetBkMode(dc, TRANSPARENT);
            ExtTextOutA(dc, x, y, 0, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
            SetBkMode(dc, OPAQUE);
        } else {
            ExtTextOutA(dc, x, y, ETO_OPAQUE, &rect, text.data(), static_cast<UINT>(text.size()), nullptr);
        }
    }
    if (!gutter_->Gradient()) {
        TRect below{AClip.Left, std::max(rect.Bottom, AClip.Top), AClip.Right, AClip.Bottom};
        if (FirstLine > LastLine) below.Top = AClip.Top;
        if (!isEmpty(below)) ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &below, nullptr, 0, nullptr);
    }
    textDrawer_->EndDrawing();
    Canvas()->Refresh();
    if (ownFont)
        textDrawer_->SetBaseFont(Font());
    else
        textDrawer_->SetBaseStyle(Font()->Style());
}

// Rows that continue a wrapped line show the wrap glyph in place of a number.
void TCustomSynEdit::paintWrapGlyphs(Integer aFirstRow, Integer aLastRow) {
    if (gutter_->Gradient()) Canvas()->Brush()->SetStyle(bsClear);
    const Integer x = gutterWidth_ - gutter_->RightOffset() - 2 - wordWrapGlyph_->Width();
    for (Integer row = aFirstRow; row <= aLastRow; ++row)
        if (LineToRow(RowToLine(row)) != row)
            wordWrapGlyph_->Draw(Canvas(), x, (row - topLine_) * lineHeight_, lineHeight_);
    if (gutter_->Gradient()) Canvas()->Brush()->SetStyle(bsSolid);
}

void TCustomSynEdit::paintGutterBorder(const TRect& AClip) {
    if (gutter_->BorderStyle() == gbsNone || AClip.Right < gutterWidth_ - 2) return;
    Canvas()->Pen()->SetColor(gutter_->BorderColor());
    Canvas()->Pen()->SetWidth(1);
    if (gutter_->BorderStyle() == gbsMiddle) {
        Canvas()->MoveTo(gutterWidth_ - 2, AClip.Top);
        Canvas()->LineTo(gutterWidth_ - 2, AClip.Bottom);
        Canvas()->Pen()->SetColor(gutter_->Color());
    }
    Canvas()->MoveTo(gutterWidth_ - 1, AClip.Top);
    Canvas()->LineTo(gutterWidth_ - 1, AClip.Bottom);
}

// ---- Text rows ------------------------------------------------------------------------------

// Paints one call's rows: it keeps the selection of the painted range, the
// colours of the current line and the accumulated run of tokens that share a look.
class TCustomSynEdit::TextPainter {
public:
    // A RightEdgeX below 0 draws no right edge.
    TextPainter(TCustomSynEdit& Editor, const TRect& Clip, Integer FirstCol, Integer LastCol,
                Integer RightEdgeX)
        : editor_(Editor), clip_(Clip), firstCol_(FirstCol), lastCol_(LastCol), rightEdgeX_(RightEdgeX),
          drawer_(*Editor.textDrawer_), cellWidth_(std::max(Editor.charWidth_, 1)) {
        token_.reserve(std::max(MinimumTokenCapacity, Editor.charsInWindow_));
    }

    void computeSelection(Integer FirstLine, Integer LastLine);
    void paintLine(Integer Line, Integer FirstRow, Integer LastRow);

private:
    struct Look {
        TColor foreground;
        TColor background;
        TFontStyles style;
    };

    Integer columnToX(Integer Column) const { return editor_.textOffset_ + (Column - 1) * cellWidth_; }
    void rowSelection(Integer Row);
    void rowCharacters(Integer Row);
    void paintPlainRow(const AnsiString& Text);
    void paintHighlightedRow(const AnsiString& Text);
    void addToken(const AnsiString& Text, Integer ColumnsBefore, Look TokenLook);
    void flushToken(bool FillToEnd);
    void paintPiece(const AnsiString& Text, Integer ColumnsBefore, Integer First, Integer Last, Integer Right,
                    bool Selected);
    void paintTabGlyphs(const AnsiString& Text, Integer ColumnsBefore, Integer First, Integer Last);
    void fillTo(Integer Right, bool Selected);
    // From tokenRect_.Left to the row's right edge, in the line's background.
    void fillRestOfRow();
    void setColours(bool Selected);
    Look lineLook() const { return Look{lineForeground_, lineBackground_, editor_.Font()->Style()}; }

    TCustomSynEdit& editor_;
    TRect clip_;
    Integer firstCol_;
    Integer lastCol_;
    Integer rightEdgeX_;
    TheTextDrawer& drawer_;
    Integer cellWidth_;

    bool anySelection_ = false;
    TDisplayCoord selectionStart_{};
    TDisplayCoord selectionEnd_{};
    bool caretLine_ = false;
    bool specialLine_ = false;
    TColor lineForeground_ = clBlack;
    TColor lineBackground_ = clWhite;
    TColor selectedForeground_ = clBlack;
    TColor selectedBackground_ = clWhite;
    TColor currentForeground_ = clBlack;
    TColor currentBackground_ = clWhite;

    // The characters of the expanded line that the current row shows, the last one excluded.
    Integer firstChar_ = 0;
    Integer lastChar_ = 0;
    Integer rowSelectionStart_ = 0;
    Integer rowSelectionEnd_ = 0;
    bool complexRow_ = false;
    bool wholeRowSelected_ = false;
    TRect rowRect_{};
    TRect tokenRect_{};

    AnsiString token_;
    Integer tokenColumnsBefore_ = 0;
    Look tokenLook_{};
};

void TCustomSynEdit::TextPainter::computeSelection(Integer FirstLine, Integer LastLine) {
    if (editor_.hideSelection_ && !editor_.Focused()) return;
    TBufferCoord start = editor_.blockBegin_;
    TBufferCoord end = editor_.blockEnd_;
    if (end.Line < start.Line || (end.Line == start.Line && end.Char < start.Char)) std::swap(start, end);
    if (start == end || start.Line > LastLine || end.Line < FirstLine) return;
    anySelection_ = true;
    selectionStart_ = editor_.BufferToDisplayPos(start);
    selectionEnd_ = editor_.BufferToDisplayPos(end);
    if (editor_.activeSelectionMode_ == smColumn && selectionStart_.Column > selectionEnd_.Column)
        std::swap(selectionStart_.Column, selectionEnd_.Column);
}

void TCustomSynEdit::TextPainter::rowSelection(Integer Row) {
    rowSelectionStart_ = 0;
    rowSelectionEnd_ = 0;
    complexRow_ = false;
    if (anySelection_ && Row >= selectionStart_.Row && Row <= selectionEnd_.Row) {
        rowSelectionStart_ = firstCol_;
        rowSelectionEnd_ = lastCol_ + 1;
        const bool column = editor_.activeSelectionMode_ == smColumn;
        if (column || (editor_.activeSelectionMode_ == smNormal && Row == selectionStart_.Row)) {
            if (selectionStart_.Column > lastCol_) {
                rowSelectionStart_ = 0;
                rowSelectionEnd_ = 0;
            } else if (selectionStart_.Column > firstCol_) {
                rowSelectionStart_ = selectionStart_.Column;
                complexRow_ = true;
            }
        }
        if (rowSelectionStart_ > 0 &&
            (column || (editor_.activeSelectionMode_ == smNormal && Row == selectionEnd_.Row))) {
            if (selectionEnd_.Column < firstCol_) {
                rowSelectionStart_ = 0;
                rowSelectionEnd_ = 0;
                complexRow_ = false;
            } else if (selectionEnd_.Column < lastCol_) {
                rowSelectionEnd_ = selectionEnd_.Column;
                complexRow_ = true;
            }
        }
    }
    wholeRowSelected_ = !complexRow_ && rowSelectionStart_ > 0;
}

void TCustomSynEdit::TextPainter::paintLine(Integer Line, Integer FirstRow, Integer LastRow) {
    const AnsiString text = editor_.lines_->GetExpandedString(Line - 1);
    caretLine_ = Line == editor_.caretY_;
    lineForeground_ = editor_.Font()->Color();
    lineBackground_ = editor_.editorBackground(caretLine_);
    specialLine_ = editor_.DoOnSpecialLineColors(Line, lineForeground_, lineBackground_);
    selectedForeground_ = specialLine_ ? lineBackground_ : editor_.selectedColor_->Foreground();
    selectedBackground_ = specialLine_ ? lineForeground_ : editor_.selectedColor_->Background();
    TSynCustomHighlighter* highlighter = editor_.highlighter_;
    const bool highlighted = highlighter != nullptr && highlighter->Enabled();
    // The rows of a wrapped line take the line's tokens in turn, so the line is scanned once.
    if (highlighted) {
        if (Line == 1)
            highlighter->ResetRange();
        else
            highlighter->SetRange(editor_.lines_->GetRange(Line - 2));
        highlighter->SetLine(text, Line - 1);
    }
    const Integer first = std::max(editor_.LineToRow(Line), FirstRow);
    const Integer last = std::min(editor_.LineToRow(Line + 1) - 1, LastRow);
    for (Integer row = first; row <= last; ++row) {
        rowCharacters(row);
        rowSelection(row);
        rowRect_ = TRect{clip_.Left, (row - editor_.topLine_) * editor_.lineHeight_, clip_.Right,
                         (row - editor_.topLine_ + 1) * editor_.lineHeight_};
        tokenRect_ = rowRect_;
        if (highlighted)
            paintHighlightedRow(text);
        else
            paintPlainRow(text);
        if (rightEdgeX_ >= 0) {
            editor_.Canvas()->MoveTo(rightEdgeX_, rowRect_.Top);
            editor_.Canvas()->LineTo(rightEdgeX_, rowRect_.Bottom + 1);
        }
    }
}

// A wrapped row shows a part of the expanded line; otherwise the line is
// indexed by display column.
void TCustomSynEdit::TextPainter::rowCharacters(Integer Row) {
    ISynEditBufferPlugin* wrap = editor_.wordWrapPlugin_.get();
    if (wrap == nullptr) {
        firstChar_ = firstCol_;
        lastChar_ = lastCol_;
        return;
    }
    const Integer firstColumn = editor_.highlighter_ != nullptr ? firstCol_ : 1;
    firstChar_ = wrap->DisplayToBufferPos(DisplayCoord(firstColumn, Row)).Char;
    lastChar_ = wrap->DisplayToBufferPos(DisplayCoord(lastCol_, Row)).Char;
}

void TCustomSynEdit::TextPainter::paintPlainRow(const AnsiString& Text) {
    const auto length = static_cast<Integer>(Text.size());
    AnsiString shown;
    if (firstChar_ == firstCol_ && lastChar_ == lastCol_)
        shown = Text;
    else if (firstChar_ <= length)
        shown = Text.substr(static_cast<std::size_t>(std::max(firstChar_ - 1, 0)),
                            static_cast<std::size_t>(std::max(lastChar_ - firstChar_, 0)));
    if (editor_.showSpecialChars_ && length < lastChar_) shown += LineEndGlyph;
    tokenLook_ = lineLook();
    drawer_.SetStyle(tokenLook_.style);
    if (complexRow_) {
        const Integer selectionStartX = std::min(columnToX(rowSelectionStart_), rowRect_.Right);
        const Integer selectionEndX = std::min(columnToX(rowSelectionEnd_), rowRect_.Right);
        tokenRect_.Left = std::max(columnToX(firstCol_), rowRect_.Left);
        paintPiece(shown, 0, firstCol_, rowSelectionStart_ - 1, selectionStartX, false);
        tokenRect_.Left = std::max(selectionEndX, rowRect_.Left);
        paintPiece(shown, 0, rowSelectionEnd_, lastCol_, rowRect_.Right, false);
        tokenRect_.Left = std::max(selectionStartX, rowRect_.Left);
        paintPiece(shown, 0, rowSelectionStart_, rowSelectionEnd_ - 1, selectionEndX, true);
    } else {
        tokenRect_.Left = rowRect_.Left;
        paintPiece(shown, 0, firstCol_, lastCol_, rowRect_.Right, wholeRowSelected_);
    }
}

// Continues the line's token stream where the previous row of the line left
// it: a token that runs on past this row stays current for the next one.
void TCustomSynEdit::TextPainter::paintHighlightedRow(const AnsiString& Text) {
    TSynCustomHighlighter& highlighter = *editor_.highlighter_;
    token_.clear();
    const Integer firstChar = firstChar_;
    const Integer lastChar = lastChar_;
    const Integer shift = firstChar - firstCol_;
    TSynHighlighterAttributes* lastAttribute = nullptr;
    bool stoppedEarly = false;
    while (!highlighter.GetEol()) {
        const Integer position = highlighter.GetTokenPos();
        AnsiString tokenText = highlighter.GetToken();
        const auto length = static_cast<Integer>(tokenText.size());
        if (position + length >= firstChar) {
            if (position >= lastChar) {
                stoppedEarly = true;
                break;
            }
            const bool runsOn = position + length >= lastChar;
            if (runsOn) tokenText.resize(static_cast<std::size_t>(std::max(lastChar - position - 1, 0)));
            TSynHighlighterAttributes* attribute = highlighter.GetTokenAttribute();
            lastAttribute = attribute;
            const Look look = attribute != nullptr
                                  ? Look{attribute->Foreground(), attribute->Background(), attribute->Style()}
                                  : lineLook();
            addToken(tokenText, position - shift, look);
            if (runsOn) {
                stoppedEarly = true;
                break;
            }
        }
        highlighter.Next();
    }
    if (!stoppedEarly) {
        TSynHighlighterAttributes* comment = highlighter.GetDefaultAttribute(SYN_ATTR_COMMENT);
        TSynHighlighterAttributes* rest = lastAttribute != nullptr && lastAttribute == comment
                                              ? comment
                                              : highlighter.GetDefaultAttribute(SYN_ATTR_WHITESPACE);
        const Look restLook = rest != nullptr ? Look{rest->Foreground(), rest->Background(), TFontStyles{}}
                                              : Look{lineForeground_, lineBackground_, TFontStyles{}};
        // A highlighter that stops before the end of the line leaves the rest untokenized.
        const Integer from = std::max(highlighter.GetTokenPos(), firstChar - 1);
        const Integer to = std::min(static_cast<Integer>(Text.size()), lastChar - 1);
        if (to > from)
            addToken(Text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)),
                     from - shift, restLook);
        if (editor_.showSpecialChars_ && static_cast<Integer>(Text.size()) <= lastChar)
            addToken(AnsiString(1, LineEndGlyph), static_cast<Integer>(Text.size()) - shift, restLook);
    }
    flushToken(true);
}

void TCustomSynEdit::TextPainter::addToken(const AnsiString& Text, Integer ColumnsBefore, Look TokenLook) {
    if (TokenLook.background == clNone || (caretLine_ && editor_.activeLineColor_ != clNone))
        TokenLook.background = editor_.editorBackground(caretLine_);
    if (TokenLook.foreground == clNone) TokenLook.foreground = editor_.Font()->Color();
    if (!token_.empty()) {
        const bool spaces = onlySpaces(Text);
        bool canAppend =
            TokenLook.style == tokenLook_.style ||
            (!TokenLook.style.Contains(fsUnderline) && !tokenLook_.style.Contains(fsUnderline) && spaces);
        if (canAppend &&
            !((specialLine_ && !editor_.options_.Contains(eoSpecialLineDefaultFg)) || wholeRowSelected_))
            canAppend = TokenLook.background == tokenLook_.background &&
                        (TokenLook.foreground == tokenLook_.foreground || spaces);
        if (canAppend && tokenColumnsBefore_ + static_cast<Integer>(token_.size()) == ColumnsBefore) {
            token_ += Text;
            return;
        }
        flushToken(false);
    }
    if (token_.capacity() < Text.size()) token_.reserve(Text.size() + TokenCapacityMargin);
    token_ = Text;
    tokenColumnsBefore_ = ColumnsBefore;
    tokenLook_ = TokenLook;
}

void TCustomSynEdit::TextPainter::setColours(bool Selected) {
    currentForeground_ = Selected ? selectedForeground_ : tokenLook_.foreground;
    currentBackground_ = Selected ? selectedBackground_ : tokenLook_.background;
    drawer_.SetForeColor(ColorToRGB(currentForeground_));
    drawer_.SetBackColor(ColorToRGB(currentBackground_));
    editor_.Canvas()->Brush()->SetColor(currentBackground_);
}

void TCustomSynEdit::TextPainter::flushToken(bool FillToEnd) {
    const Integer c1 = std::max(firstCol_, tokenColumnsBefore_ + 1);
    const Integer c2 = std::min(lastCol_, tokenColumnsBefore_ + static_cast<Integer>(token_.size()) + 1);
    // A styled last character may reach past its cell (an italic's overhang): the rest
    // of the row is filled first, so the character is drawn over the fill and every
    // pixel up to the right edge is painted.
    const bool fillFirst = FillToEnd && !token_.empty() && !tokenLook_.style.Empty();
    if (fillFirst) {
        const Look look = tokenLook_;
        const TRect rect = tokenRect_;
        tokenRect_.Left = columnToX(c2);
        fillRestOfRow();
        tokenLook_ = look;
        tokenRect_ = rect;
    }
    if (!token_.empty()) {
        if (specialLine_) {
            if (editor_.options_.Contains(eoSpecialLineDefaultFg)) {
                tokenLook_.background = lineBackground_;
            } else {
                tokenLook_.foreground = lineForeground_;
                tokenLook_.background = lineBackground_;
            }
        }
        drawer_.SetStyle(tokenLook_.style);
        if (complexRow_ && rowSelectionEnd_ > c1 && rowSelectionStart_ <= c2) {
            if (rowSelectionStart_ > c1)
                paintPiece(token_, tokenColumnsBefore_, c1, rowSelectionStart_ - 1,
                           columnToX(rowSelectionStart_), false);
            const Integer selectedFirst = std::max(rowSelectionStart_, c1);
            const Integer selectedLast = std::min(rowSelectionEnd_, c2);
            paintPiece(token_, tokenColumnsBefore_, selectedFirst, selectedLast - 1, columnToX(selectedLast),
                       true);
            if (rowSelectionEnd_ <= c2)
                paintPiece(token_, tokenColumnsBefore_, rowSelectionEnd_, c2 - 1, columnToX(c2), false);
        } else {
            const bool selected = complexRow_ ? false : wholeRowSelected_;
            paintPiece(token_, tokenColumnsBefore_, c1, c2 - 1, columnToX(c2), selected);
        }
        token_.clear();
    }
    if (FillToEnd && !fillFirst) fillRestOfRow();
}

void TCustomSynEdit::TextPainter::fillRestOfRow() {
    if (tokenRect_.Left >= rowRect_.Right) return;
    // A special line's colour holds also where no token was drawn on the row.
    tokenLook_.background = specialLine_ ? lineBackground_ : editor_.editorBackground(caretLine_);
    if (complexRow_) {
        fillTo(columnToX(rowSelectionStart_), false);
        fillTo(columnToX(rowSelectionEnd_), true);
        fillTo(rowRect_.Right, false);
    } else {
        fillTo(rowRect_.Right, wholeRowSelected_);
    }
}

void TCustomSynEdit::TextPainter::fillTo(Integer Right, bool Selected) {
    Right = std::min(Right, rowRect_.Right);
    if (tokenRect_.Left >= Right) return;
    tokenRect_.Right = Right;
    setColours(Selected);
    editor_.Canvas()->FillRect(tokenRect_);
    tokenRect_.Left = Right;
}

void TCustomSynEdit::TextPainter::paintPiece(const AnsiString& Text, Integer ColumnsBefore, Integer First,
                                             Integer Last, Integer Right, bool Selected) {
    tokenRect_.Right = std::min(Right, rowRect_.Right);
    if (Last >= First && !isEmpty(tokenRect_)) {
        AnsiString shown = Text;
        bool hasTabs = false;
        for (char& c : shown) {
            if (c == '\t') {
                c = ' ';
                hasTabs = true;
            } else if (c == ' ' && editor_.showSpecialChars_) {
                c = SpaceGlyph;
            }
        }
        setColours(Selected);
        const Integer firstIndex = First - ColumnsBefore - 1;
        const Integer available = static_cast<Integer>(shown.size()) - firstIndex;
        const Integer count = firstIndex < 0 || available <= 0 ? 0 : std::min(Last - First + 1, available);
        drawer_.ExtTextOut(columnToX(First), tokenRect_.Top, ETO_OPAQUE, tokenRect_,
                           count > 0 ? shown.data() + firstIndex : "", count);
        if (hasTabs && editor_.showSpecialChars_) paintTabGlyphs(Text, ColumnsBefore, First, Last);
    }
    tokenRect_.Left = std::max(tokenRect_.Left, tokenRect_.Right);
}

// Expanded tabs are runs of TAB characters up to the tab stop; each run shows
// one glyph near its middle.
void TCustomSynEdit::TextPainter::paintTabGlyphs(const AnsiString& Text, Integer ColumnsBefore, Integer First,
                                                 Integer Last) {
    const Integer tabWidth = std::max(editor_.tabWidth_, 1);
    const Integer end = std::min(Last - ColumnsBefore, static_cast<Integer>(Text.size()));
    for (Integer position = std::max(First - ColumnsBefore, 1); position <= end; ++position) {
        if (Text[static_cast<std::size_t>(position - 1)] != '\t') continue;
        Integer span = 1;
        while ((position + ColumnsBefore + span - 1) % tabWidth != 0)
            ++span;
        const Integer x = columnToX(ColumnsBefore + position + span / 2 - 1) +
                          (span % 2 == 0 ? cellWidth_ / 2 : cellWidth_);
        const TRect glyphRect{x, tokenRect_.Top, x + drawer_.GetCharWidth(), tokenRect_.Bottom};
        drawer_.ExtTextOut(x, tokenRect_.Top, ETO_OPAQUE, glyphRect, &TabGlyph, 1);
        position += span - 1;
    }
}

void TCustomSynEdit::PaintTextLines(TRect AClip, Integer aFirstRow, Integer aLastRow, Integer FirstCol,
                                    Integer LastCol) {
    const Integer firstLine = RowToLine(aFirstRow);
    const Integer lastLine = std::min(RowToLine(aLastRow), lines_->Count());
    const Integer rightEdgeX = textOffset_ + rightEdge_ * charWidth_;
    const bool drawRightEdge = rightEdge_ > 0 && rightEdgeX >= AClip.Left && rightEdgeX <= AClip.Right;
    if (drawRightEdge) {
        Canvas()->Pen()->SetColor(rightEdgeColor_);
        Canvas()->Pen()->SetWidth(1);
    }
    if (AClip.Left < gutterWidth_ + TextMargin) {
        Canvas()->Brush()->SetColor(editorBackground(false));
        Canvas()->FillRect(
            TRect{std::max(AClip.Left, gutterWidth_), AClip.Top, gutterWidth_ + TextMargin, AClip.Bottom});
        AClip.Left = gutterWidth_ + TextMargin;
    }
    if (lastLine >= firstLine) {
        TextPainter painter(*this, AClip, FirstCol, LastCol, drawRightEdge ? rightEdgeX : -1);
        painter.computeSelection(firstLine, lastLine);
        textDrawer_->SetStyle(Font()->Style());
        textDrawer_->BeginDrawing(Canvas()->Handle());
        try {
            for (Integer line = firstLine; line <= lastLine; ++line)
                painter.paintLine(line, aFirstRow, aLastRow);
        } catch (...) {
            textDrawer_->EndDrawing();
            throw;
        }
        textDrawer_->EndDrawing();
        // Ending the drawing restores the context's objects behind the canvas's back.
        Canvas()->Refresh();
    }
    const Integer lastPaintedRow =
        lastLine >= firstLine ? std::min(aLastRow, LineToRow(lastLine + 1) - 1) : aFirstRow - 1;
    const Integer bottomOfText = (lastPaintedRow - topLine_ + 1) * lineHeight_;
    const TRect below{AClip.Left, std::max(bottomOfText, AClip.Top), AClip.Right, AClip.Bottom};
    if (!isEmpty(below)) {
        Canvas()->Brush()->SetColor(editorBackground(false));
        Canvas()->FillRect(below);
        if (drawRightEdge) {
            Canvas()->MoveTo(rightEdgeX, below.Top);
            Canvas()->LineTo(rightEdgeX, AClip.Bottom + 1);
        }
    }
}

// ---- Notifications and hooks ----------------------------------------------------------------

void TCustomSynEdit::MarkListChange(TObject*) {
    InvalidateGutter();
}

void TCustomSynEdit::LockUndo() {
    undoList_->Lock();
    redoList_->Lock();
}

void TCustomSynEdit::UnlockUndo() {
    undoList_->Unlock();
    redoList_->Unlock();
}

void TCustomSynEdit::SetModified(bool Value) {
    if (modified_ == Value) return;
    modified_ = Value;
    if (!Value && options_.Contains(eoGroupUndo) && undoList_->GetCanUndo()) undoList_->AddGroupBreak();
    undoList_->SetInitialState(!Value);
    StatusChanged(TSynStatusChanges{scModified});
}

void TCustomSynEdit::UpdateModifiedStatus() {
    SetModified(!undoList_->GetInitialState());
}

void TCustomSynEdit::UndoRedoAdded(TObject* Sender) {
    UpdateModifiedStatus();
    auto* list = static_cast<TSynEditUndoList*>(Sender);
    if (list == undoList_.get() && !list->GetInsideRedo() && list->PeekItem() != nullptr &&
        list->PeekItem()->Reason != crGroupBreak)
        redoList_->Clear();
    if (list->GetBlockCount() == 0) DoChange();
}

Integer TCustomSynEdit::findHookedCommandEvent(const THookedCommandEvent& AHandlerProc) const {
    for (Integer i = GetHookedCommandHandlersCount() - 1; i >= 0; --i)
        if (hookedCommandHandlers_[static_cast<std::size_t>(i)].Event == AHandlerProc) return i;
    return -1;
}

void TCustomSynEdit::RegisterCommandHandler(const THookedCommandEvent& AHandlerProc, void* AHandlerData) {
    if (!AHandlerProc || findHookedCommandEvent(AHandlerProc) >= 0) return;
    hookedCommandHandlers_.push_back(THookedCommandHandlerEntry{AHandlerProc, AHandlerData});
}

void TCustomSynEdit::UnregisterCommandHandler(const THookedCommandEvent& AHandlerProc) {
    if (!AHandlerProc) return;
    const Integer index = findHookedCommandEvent(AHandlerProc);
    if (index >= 0) hookedCommandHandlers_.erase(hookedCommandHandlers_.begin() + index);
}

void TCustomSynEdit::NotifyHookedCommandHandlers(bool AfterProcessing, TSynEditorCommand& Command,
                                                 char& AChar, void* Data) {
    bool handled = false;
    // A handler may register or unregister others, so the entries are copied first.
    const std::vector<THookedCommandHandlerEntry> entries = hookedCommandHandlers_;
    for (const THookedCommandHandlerEntry& entry : entries)
        entry.Event(this, AfterProcessing, handled, Command, AChar, Data, entry.Data);
    if (handled) Command = ecNone;
}

void TCustomSynEdit::RemoveFocusControl(TWinControl* aControl) {
    auto found = std::find(focusControls_.rbegin(), focusControls_.rend(), aControl);
    if (found != focusControls_.rend()) focusControls_.erase(std::next(found).base());
}

void TCustomSynEdit::SetFocus() {
    if (focusControls_.empty())
        TCustomControl::SetFocus();
    else
        focusControls_.back()->SetFocus();
}

void TCustomSynEdit::DoLinesInserted(Integer FirstLine, Integer Count) {
    for (Integer i = 0; i < markList_->Count(); ++i) {
        TSynEditMark* mark = markList_->Items(i);
        if (mark->Line() >= FirstLine) mark->SetLine(mark->Line() + Count);
    }
    for (TSynEditPlugin* plugin : std::vector<TSynEditPlugin*>(plugins_))
        plugin->LinesInserted(FirstLine, Count);
}

void TCustomSynEdit::DoLinesDeleted(Integer FirstLine, Integer Count) {
    for (Integer i = 0; i < markList_->Count(); ++i) {
        TSynEditMark* mark = markList_->Items(i);
        if (mark->Line() >= FirstLine + Count)
            mark->SetLine(mark->Line() - Count);
        else if (mark->Line() > FirstLine)
            mark->SetLine(FirstLine);
    }
    for (TSynEditPlugin* plugin : std::vector<TSynEditPlugin*>(plugins_))
        plugin->LinesDeleted(FirstLine, Count);
}

void TCustomSynEdit::PluginsAfterPaint(TCanvas* ACanvas, const TRect& AClip, Integer FirstLine,
                                       Integer LastLine) {
    for (TSynEditPlugin* plugin : std::vector<TSynEditPlugin*>(plugins_))
        plugin->AfterPaint(ACanvas, AClip, FirstLine, LastLine);
}

bool TCustomSynEdit::GetBookMark(Integer BookMark, Integer& X, Integer& Y) const {
    for (Integer i = 0; i < markList_->Count(); ++i) {
        const TSynEditMark* mark = markList_->Items(i);
        if (mark->IsBookmark() && mark->BookmarkNumber() == BookMark) {
            X = mark->Char();
            Y = mark->Line();
            return true;
        }
    }
    return false;
}

bool TCustomSynEdit::IsBookmark(Integer BookMark) const {
    Integer x = 0;
    Integer y = 0;
    return GetBookMark(BookMark, x, y);
}

void TCustomSynEdit::DoOnPlaceMark(TSynEditMark*& Mark) {
    if (OnPlaceBookmark) OnPlaceBookmark(this, Mark);
}

void TCustomSynEdit::DoOnClearBookmark(TSynEditMark*& Mark) {
    if (OnClearBookmark) OnClearBookmark(this, Mark);
}

// ---- Marks ----------------------------------------------------------------------------------

TSynEditMark::TSynEditMark(TCustomSynEdit* AOwner) : edit_(AOwner) {}

TCustomSynEdit* TSynEditMark::GetEdit() {
    if (edit_ != nullptr && edit_->Marks()->IndexOf(this) < 0) edit_ = nullptr;
    return edit_;
}

void TSynEditMark::invalidateGutterLine() {
    if (edit_ != nullptr && line_ > 0) edit_->InvalidateGutterLines(line_, line_);
}

void TSynEditMark::SetLine(Integer Value) {
    if (visible_ && edit_ != nullptr) {
        invalidateGutterLine();
        line_ = Value;
        invalidateGutterLine();
    } else {
        line_ = Value;
    }
}

void TSynEditMark::SetImage(Integer Value) {
    imageIndex_ = Value;
    if (visible_) invalidateGutterLine();
}

void TSynEditMark::SetInternalImage(bool Value) {
    internalImage_ = Value;
    if (visible_) invalidateGutterLine();
}

void TSynEditMark::SetVisible(bool Value) {
    if (visible_ == Value) return;
    visible_ = Value;
    invalidateGutterLine();
}

TSynEditMarkList::~TSynEditMarkList() {
    Clear();
}

void TSynEditMarkList::Notify(void* Ptr, TListNotification Action) {
    TList::Notify(Ptr, Action);
    if (Action == lnDeleted) {
        auto* mark = static_cast<TSynEditMark*>(Ptr);
        // Clearing the list also takes bookmarks; their numbers must not point at them.
        if (edit_ != nullptr) edit_->forgetBookmark(mark);
        delete mark;
    }
    if (OnChange) OnChange(this);
}

void TSynEditMarkList::ClearLine(Integer Line) {
    for (Integer i = Count() - 1; i >= 0; --i)
        if (!Items(i)->IsBookmark() && Items(i)->Line() == Line) Delete(i);
}

void TSynEditMarkList::GetMarksForLine(Integer Line, TSynEditMarks& Marks) const {
    Marks.fill(nullptr);
    std::size_t found = 0;
    for (Integer i = 0; i < Count() && found < Marks.size(); ++i)
        if (Items(i)->Line() == Line) Marks[found++] = Items(i);
}

void TSynEditMarkList::Place(TSynEditMark* Mark) {
    if (edit_ != nullptr && edit_->OnPlaceBookmark) edit_->OnPlaceBookmark(edit_, Mark);
    if (Mark != nullptr) Add(Mark);
}

// ---- Plug-ins -------------------------------------------------------------------------------

TSynEditPlugin::TSynEditPlugin(TCustomSynEdit* AOwner) : owner_(AOwner) {
    if (owner_ != nullptr) owner_->plugins_.push_back(this);
}

TSynEditPlugin::~TSynEditPlugin() {
    if (owner_ == nullptr) return;
    auto& plugins = owner_->plugins_;
    plugins.erase(std::remove(plugins.begin(), plugins.end(), this), plugins.end());
}

// ---- Published properties -------------------------------------------------------------------

namespace {

// The memo's unit defines the scroll-bar style too, but it need not be linked in;
// the first definition of a type is the one kept.
const TTypeInfo* const scrollStyleType =
    DefineEnum<TScrollStyle>("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
const TTypeInfo* const caretType = DefineEnum<TSynEditCaretType>(
    "TSynEditCaretType", {"ctVerticalLine", "ctHorizontalLine", "ctHalfBlock", "ctBlock"});
const TTypeInfo* const scrollHintFormatType =
    DefineEnum<TScrollHintFormat>("TScrollHintFormat", {"shfTopLineOnly", "shfTopToBottom"});
const TTypeInfo* const selectionModeType =
    DefineEnum<TSynSelectionMode>("TSynSelectionMode", {"smNormal", "smLine", "smColumn"});
const TTypeInfo* const optionType =
    DefineEnum<TSynEditorOption>("TSynEditorOption", {"eoAltSetsColumnMode",
                                                      "eoAutoIndent",
                                                      "eoAutoSizeMaxScrollWidth",
                                                      "eoDisableScrollArrows",
                                                      "eoDragDropEditing",
                                                      "eoDropFiles",
                                                      "eoEnhanceHomeKey",
                                                      "eoEnhanceEndKey",
                                                      "eoGroupUndo",
                                                      "eoHalfPageScroll",
                                                      "eoHideShowScrollbars",
                                                      "eoKeepCaretX",
                                                      "eoNoCaret",
                                                      "eoNoSelection",
                                                      "eoRightMouseMovesCursor",
                                                      "eoScrollByOneLess",
                                                      "eoScrollHintFollows",
                                                      "eoScrollPastEof",
                                                      "eoScrollPastEol",
                                                      "eoShowScrollHint",
                                                      "eoShowSpecialChars",
                                                      "eoSmartTabDelete",
                                                      "eoSmartTabs",
                                                      "eoSpecialLineDefaultFg",
                                                      "eoTabIndent",
                                                      "eoTabsToSpaces",
                                                      "eoTrimTrailingSpaces"});

constexpr Integer DefaultMaxScrollWidth = 1024;
constexpr Integer DefaultMaxUndo = 1024;
constexpr Integer DefaultRightEdge = 80;
constexpr Integer DefaultTabWidth = 8;

using E = TCustomSynEdit;

const TClass customSynEditClass = DescribeClass<TCustomSynEdit, TCustomControl>();

const TClass synEditClass = DescribeClass<TSynEdit, TCustomSynEdit>([](TClassBuilder<TSynEdit>& c) {
    c.Property("Color", &E::Color, &E::SetColor).Type(TypeInfoColor()).Default(clWindow);
    c.Property("ParentColor", &E::ParentColor, &E::SetParentColor).Default(false);
    c.Property("ParentFont", &E::ParentFont, &E::SetParentFont).Default(false);
    c.Property("Cursor", &E::Cursor, &E::SetCursor).Type(TypeInfoCursor()).Default(crIBeam);
    c.Property("TabStop", &E::TabStop, &E::SetTabStop).Default(true);
    c.Property("ActiveLineColor", &E::ActiveLineColor, &E::SetActiveLineColor)
        .Type(TypeInfoColor())
        .Default(clNone);
    c.Property("BookMarkOptions", &E::BookMarkOptions);
    c.Property("BorderStyle", &E::BorderStyle, &E::SetBorderStyle).Default(bsSingle);
    c.Property("ExtraLineSpacing", &E::ExtraLineSpacing, &E::SetExtraLineSpacing).Default(0);
    c.Property("Gutter", &E::Gutter, &E::SetGutter);
    c.Property("HideSelection", &E::HideSelection, &E::SetHideSelection).Default(false);
    c.Property("Highlighter", &E::Highlighter, &E::SetHighlighter);
    c.Property("InsertCaret", &E::InsertCaret, &E::SetInsertCaret).Default(ctVerticalLine);
    c.Property("InsertMode", &E::InsertMode, &E::SetInsertMode).Default(true);
    c.Property("Keystrokes", &E::Keystrokes, &E::SetKeystrokes).Stored(false);
    c.Property("Lines", [](E& Edit) -> TStrings* { return Edit.Lines(); });
    c.Property("MaxScrollWidth", &E::MaxScrollWidth, &E::SetMaxScrollWidth).Default(DefaultMaxScrollWidth);
    c.Property("MaxUndo", &E::MaxUndo, &E::SetMaxUndo).Default(DefaultMaxUndo);
    c.Property("Options", &E::Options, &E::SetOptions).Default(SYNEDIT_DEFAULT_OPTIONS);
    c.Property("OverwriteCaret", &E::OverwriteCaret, &E::SetOverwriteCaret).Default(ctBlock);
    c.Property("ReadOnly", &E::ReadOnly, &E::SetReadOnly).Default(false);
    c.Property("RightEdge", &E::RightEdge, &E::SetRightEdge).Default(DefaultRightEdge);
    c.Property("RightEdgeColor", &E::RightEdgeColor, &E::SetRightEdgeColor)
        .Type(TypeInfoColor())
        .Default(clSilver);
    c.Property("ScrollHintColor", &E::ScrollHintColor, &E::SetScrollHintColor)
        .Type(TypeInfoColor())
        .Default(clInfoBk);
    c.Property("ScrollHintFormat", &E::ScrollHintFormat, &E::SetScrollHintFormat).Default(shfTopLineOnly);
    c.Property("ScrollBars", &E::ScrollBars, &E::SetScrollBars).Default(ssBoth);
    c.Property("SearchEngine", &E::SearchEngine, &E::SetSearchEngine);
    c.Property("SelectedColor", &E::SelectedColor);
    c.Property("SelectionMode", &E::SelectionMode, &E::SetSelectionMode).Default(smNormal);
    c.Property("TabWidth", &E::TabWidth, &E::SetTabWidth).Default(DefaultTabWidth);
    c.Property("WantReturns", &E::WantReturns, &E::SetWantReturns).Default(true);
    c.Property("WantTabs", &E::WantTabs, &E::SetWantTabs).Default(false);
    c.Property("WordWrap", &E::WordWrap, &E::SetWordWrap).Default(false);
    c.Property("WordWrapGlyph", &E::WordWrapGlyph);
    c.Property("OnChange", &E::OnChange, &E::OnChange);
    c.Property("OnClearBookmark", &E::OnClearBookmark, &E::OnClearBookmark);
    c.Property("OnCommandProcessed", &E::OnCommandProcessed, &E::OnCommandProcessed);
    c.Property("OnContextHelp", &E::OnContextHelp, &E::OnContextHelp);
    c.Property("OnDropFiles", &E::OnDropFiles, &E::OnDropFiles);
    c.Property("OnGutterClick", &E::OnGutterClick, &E::OnGutterClick);
    c.Property("OnGutterGetText", &E::OnGutterGetText, &E::OnGutterGetText);
    c.Property("OnGutterPaint", &E::OnGutterPaint, &E::OnGutterPaint);
    c.Property("OnMouseCursor", &E::OnMouseCursor, &E::OnMouseCursor);
    c.Property("OnPaint", &E::OnPaint, &E::OnPaint);
    c.Property("OnPaintTransient", &E::OnPaintTransient, &E::OnPaintTransient);
    c.Property("OnPlaceBookmark", &E::OnPlaceBookmark, &E::OnPlaceBookmark);
    c.Property("OnProcessCommand", &E::OnProcessCommand, &E::OnProcessCommand);
    c.Property("OnProcessUserCommand", &E::OnProcessUserCommand, &E::OnProcessUserCommand);
    c.Property("OnReplaceText", &E::OnReplaceText, &E::OnReplaceText);
    c.Property("OnScroll", &E::OnScroll, &E::OnScroll);
    c.Property("OnSpecialLineColors", &E::OnSpecialLineColors, &E::OnSpecialLineColors);
    c.Property("OnStatusChange", &E::OnStatusChange, &E::OnStatusChange);
});

// Form resources name the editor by its class.
struct RegisterSynEditClass {
    RegisterSynEditClass() { RegisterClass(ClassOf<TSynEdit>()); }
} registerSynEditClass;

} // namespace

// ---- Key map ----

void TCustomSynEdit::SetKeystrokes(TSynEditKeyStrokes* Value) {
    if (Value)
        keystrokes_->Assign(Value);
    else
        keystrokes_->Clear();
}

void TCustomSynEdit::SetDefaultKeystrokes() {
    keystrokes_->ResetDefaults();
}
