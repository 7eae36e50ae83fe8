// The editor's view of its text: the system caret it shows, scrolling by rows
// and columns with the window's own scroll bars and the scroll hint, the
// window messages it answers itself, the per-line highlighter ranges kept
// current as the buffer changes, and the mapping between buffer positions
// and display positions with tabs and word wrap.
#include "editor/SynEdit.h"

#include "editor/SynEditKeyCmds.h"
#include "editor/SynEditStrConst.h"
#include "editor/SynEditWordWrap.h"
#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Caret.h"
#include "platform/win/Cursors.h"
#include "platform/win/DropFiles.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Ime.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SystemInfo.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// Scroll bars take 16-bit positions; larger ranges are scaled into this one.
constexpr Integer MaxScrollBarValue = 32767;
constexpr Integer MinTabWidth = 1;
constexpr Integer MaxTabWidth = 256;
constexpr Integer VerticalLineCaretWidth = 2;
constexpr Integer HorizontalLineCaretHeight = 2;
// The caret leaves this much of the row height free.
constexpr Integer CaretHeightMargin = 2;
constexpr std::size_t MaxScrollHintLength = 255;
constexpr Integer ScrollHintMaxWidth = 200;
constexpr Integer ScrollHintRightMargin = 4;
constexpr Integer ScrollHintTop = 10;
constexpr UINT MaxDroppedFileName = 260;
// Alt held down with a key, in a key message's long parameter.
constexpr LPARAM AltKeyFlag = 1 << 29;

// The one hint window of all editors, owned by the application.
THintWindow* scrollHintWindow() {
    static THintWindow* window = nullptr;
    if (window == nullptr) {
        const TClass hintClass = HintWindowClass != nullptr ? HintWindowClass : ClassOf<THintWindow>();
        window = dynamic_cast<THintWindow*>(hintClass->CreateComponent(Application));
    }
    return window;
}

template <typename Action> void insidePaintLock(TCustomSynEdit& Editor, Action&& Do) {
    Editor.IncPaintLock();
    try {
        Do();
    } catch (...) {
        Editor.DecPaintLock();
        throw;
    }
    Editor.DecPaintLock();
}

// Range, page and position of one bar, scaled when the extent exceeds what a bar holds.
void setBarValues(SCROLLINFO& Info, Integer Extent, Integer Page, Integer Position) {
    if (Extent <= MaxScrollBarValue) {
        Info.nMin = 1;
        Info.nMax = Extent;
        Info.nPage = static_cast<UINT>(std::max(Page, 0));
        Info.nPos = Position;
    } else {
        Info.nMin = 0;
        Info.nMax = MaxScrollBarValue;
        Info.nPage = static_cast<UINT>(std::max(MulDiv(MaxScrollBarValue, Page, Extent), 0));
        Info.nPos = MulDiv(MaxScrollBarValue, Position, Extent);
    }
}

} // namespace

// ---- Caret ----------------------------------------------------------------------------------

void TCustomSynEdit::InitializeCaret() {
    const Integer cellWidth = charWidth_;
    const Integer rowHeight = lineHeight_;
    Integer width = cellWidth;
    Integer height = rowHeight - CaretHeightMargin;
    switch (insertMode_ ? insertCaret_ : overwriteCaret_) {
    case ctVerticalLine:
        width = VerticalLineCaretWidth;
        caretOffset_ = TPoint{-1, 0};
        break;
    case ctHorizontalLine:
        height = HorizontalLineCaretHeight;
        caretOffset_ = TPoint{0, rowHeight - CaretHeightMargin};
        break;
    case ctHalfBlock:
        height = (rowHeight - CaretHeightMargin) / 2;
        caretOffset_ = TPoint{0, height};
        break;
    case ctBlock:
        caretOffset_ = TPoint{0, 0};
        break;
    }
    stateFlags_.Exclude(sfCaretVisible);
    if (!HandleAllocated() || !(Focused() || alwaysShowCaret_)) return;
    ::CreateCaret(Handle(), nullptr, width, height);
    UpdateCaret();
}

void TCustomSynEdit::UpdateCaret() {
    if (paintLock_ != 0 || !HandleAllocated() || !(Focused() || alwaysShowCaret_)) {
        stateFlags_.Include(sfCaretChanged);
        return;
    }
    stateFlags_.Exclude(sfCaretChanged);
    TDisplayCoord caret = GetDisplayXY();
    if (wordWrapPlugin_ && caret.Column > charsInWindow_ + 1) caret.Column = charsInWindow_ + 1;
    TPoint position = RowColumnToPixels(caret);
    position.x += caretOffset_.x;
    position.y += caretOffset_.y + 1;
    ::SetCaretPos(position.x, position.y);
    const TRect client = ClientRect();
    if (position.x >= client.Left + gutterWidth_ && position.x < client.Right && position.y >= client.Top &&
        position.y < client.Bottom)
        ShowCaret();
    else
        HideCaret();
    HIMC context = ImmGetContext(Handle());
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_POINT;
    form.ptCurrentPos = POINT{position.x, position.y};
    ImmSetCompositionWindow(context, &form);
    ImmReleaseContext(Handle(), context);
}

void TCustomSynEdit::ShowCaret() {
    if (options_.Contains(eoNoCaret) || stateFlags_.Contains(sfCaretVisible)) return;
    if (::ShowCaret(Handle())) stateFlags_.Include(sfCaretVisible);
}

void TCustomSynEdit::HideCaret() {
    if (stateFlags_.Contains(sfCaretVisible) && ::HideCaret(Handle())) stateFlags_.Exclude(sfCaretVisible);
}

void TCustomSynEdit::SetInsertMode(bool Value) {
    if (insertMode_ == Value) return;
    insertMode_ = Value;
    if (!ComponentState().Contains(csDesigning)) InitializeCaret();
    StatusChanged(TSynStatusChanges{scInsertMode});
}

void TCustomSynEdit::SetInsertCaret(TSynEditCaretType Value) {
    if (insertCaret_ == Value) return;
    insertCaret_ = Value;
    InitializeCaret();
}

void TCustomSynEdit::SetOverwriteCaret(TSynEditCaretType Value) {
    if (overwriteCaret_ == Value) return;
    overwriteCaret_ = Value;
    InitializeCaret();
}

// ---- Scrolling ------------------------------------------------------------------------------

Integer TCustomSynEdit::greatestTopLine() const {
    const Integer rows = GetDisplayLineCount();
    return options_.Contains(eoScrollPastEof) ? rows : rows - linesInWindow_ + 1;
}

void TCustomSynEdit::SetTopLine(Integer Value) {
    Value = std::max(std::min(Value, greatestTopLine()), 1);
    if (Value == topLine_) return;
    const Integer distance = topLine_ - Value;
    topLine_ = Value;
    if (HandleAllocated() && std::abs(distance) < linesInWindow_)
        ::ScrollWindow(Handle(), 0, distance * lineHeight_, nullptr, nullptr);
    else
        Invalidate();
    UpdateScrollBars();
    StatusChanged(TSynStatusChanges{scTopLine});
}

Integer TCustomSynEdit::longestLineLength() {
    return lines_->GetLengthOfLongestLine();
}

Integer TCustomSynEdit::greatestLeftChar() {
    if (options_.Contains(eoScrollPastEol)) {
        if (options_.Contains(eoAutoSizeMaxScrollWidth)) return INT_MAX - charsInWindow_;
        return maxScrollWidth_ - charsInWindow_ + 1;
    }
    const Integer longest = longestLineLength();
    return longest > charsInWindow_ ? longest - charsInWindow_ + 1 : 1;
}

void TCustomSynEdit::SetLeftChar(Integer Value) {
    if (wordWrapPlugin_) Value = 1;
    Value = std::max(std::min(Value, greatestLeftChar()), 1);
    if (Value == leftChar_) return;
    const Integer distance = leftChar_ - Value;
    leftChar_ = Value;
    updateTextOffset();
    if (HandleAllocated() && std::abs(distance) < charsInWindow_) {
        const TRect textArea = textAreaRect();
        ::ScrollWindow(Handle(), distance * charWidth_, 0, &textArea, &textArea);
    } else {
        InvalidateLines(-1, -1);
    }
    if (options_.Contains(eoScrollPastEol) && options_.Contains(eoAutoSizeMaxScrollWidth) &&
        leftChar_ + charsInWindow_ > maxScrollWidth_)
        SetMaxScrollWidth(leftChar_ + charsInWindow_);
    else
        UpdateScrollBars();
    StatusChanged(TSynStatusChanges{scLeftChar});
}

TRect TCustomSynEdit::textAreaRect() {
    const TRect client = ClientRect();
    return TRect{gutterWidth_ + TextMargin, client.Top, client.Right, client.Bottom};
}

void TCustomSynEdit::EnsureCursorPosVisibleEx(bool ForceToMiddle) {
    insidePaintLock(*this, [&] {
        const TDisplayCoord caret = GetDisplayXY();
        if (caret.Column < leftChar_)
            SetLeftChar(caret.Column);
        else if (charsInWindow_ > 0 && caret.Column >= leftChar_ + charsInWindow_)
            SetLeftChar(caret.Column - charsInWindow_ + 1);
        else
            SetLeftChar(leftChar_);
        if (!ForceToMiddle) {
            if (caret.Row < topLine_)
                SetTopLine(caret.Row);
            else if (caret.Row > topLine_ + std::max(1, linesInWindow_) - 1)
                SetTopLine(caret.Row - (linesInWindow_ - 1));
            else
                SetTopLine(topLine_);
        } else if (caret.Row < topLine_ - 1) {
            SetTopLine(std::max(caret.Row - linesInWindow_ / 2 + 1, 1));
        } else if (caret.Row > topLine_ + linesInWindow_ - 2) {
            SetTopLine(caret.Row - (linesInWindow_ - 1) + linesInWindow_ / 2);
        }
    });
}

void TCustomSynEdit::SetMaxScrollWidth(Integer Value) {
    Value = std::clamp(Value, 1, INT_MAX - 1);
    if (maxScrollWidth_ == Value) return;
    maxScrollWidth_ = Value;
    if (options_.Contains(eoScrollPastEol)) UpdateScrollBars();
}

void TCustomSynEdit::SetScrollBars(TScrollStyle Value) {
    if (scrollBars_ == Value) return;
    scrollBars_ = Value;
    UpdateScrollBars();
    Invalidate();
}

// ---- Scroll bars ----------------------------------------------------------------------------

Integer TCustomSynEdit::horizontalExtent() {
    return options_.Contains(eoScrollPastEol) ? maxScrollWidth_ : std::max(longestLineLength(), 1);
}

// Showing or hiding a bar resizes the client area at once, and the size
// handling updates the bars again; so every value is read afresh here.
void TCustomSynEdit::UpdateScrollBars() {
    if (!HandleAllocated() || paintLock_ != 0) {
        stateFlags_.Include(sfScrollbarChanged);
        return;
    }
    stateFlags_.Exclude(sfScrollbarChanged);
    if (scrollBars_ == ssNone) {
        ::ShowScrollBar(Handle(), SB_BOTH, FALSE);
        return;
    }
    updateHorizontalScrollBar();
    updateVerticalScrollBar();
}

SCROLLINFO TCustomSynEdit::scrollInfoRequest() const {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!options_.Contains(eoHideShowScrollbars)) info.fMask |= SIF_DISABLENOSCROLL;
    return info;
}

void TCustomSynEdit::updateHorizontalScrollBar() {
    if ((scrollBars_ != ssHorizontal && scrollBars_ != ssBoth) || wordWrapPlugin_) {
        ::ShowScrollBar(Handle(), SB_HORZ, FALSE);
        return;
    }
    const Integer extent = horizontalExtent();
    SCROLLINFO info = scrollInfoRequest();
    setBarValues(info, extent, charsInWindow_, leftChar_);
    ::SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
    const bool shown =
        !options_.Contains(eoHideShowScrollbars) || info.nMin == 0 || info.nMax > charsInWindow_;
    ::ShowScrollBar(Handle(), SB_HORZ, shown);
    if (!options_.Contains(eoDisableScrollArrows) && extent > charsInWindow_) {
        ::EnableScrollBar(Handle(), SB_HORZ, ESB_ENABLE_BOTH);
        return;
    }
    const bool atStart = leftChar_ <= 1;
    const bool atEnd = leftChar_ + charsInWindow_ - 1 >= extent;
    if (atStart && atEnd) {
        ::EnableScrollBar(Handle(), SB_HORZ, ESB_DISABLE_BOTH);
        return;
    }
    ::EnableScrollBar(Handle(), SB_HORZ, ESB_ENABLE_BOTH);
    if (atStart)
        ::EnableScrollBar(Handle(), SB_HORZ, ESB_DISABLE_LEFT);
    else if (atEnd)
        ::EnableScrollBar(Handle(), SB_HORZ, ESB_DISABLE_RIGHT);
}

void TCustomSynEdit::updateVerticalScrollBar() {
    if (scrollBars_ != ssVertical && scrollBars_ != ssBoth) {
        ::ShowScrollBar(Handle(), SB_VERT, FALSE);
        return;
    }
    const Integer rows = GetDisplayLineCount();
    const Integer extent = options_.Contains(eoScrollPastEof) ? rows + linesInWindow_ - 1 : rows;
    SCROLLINFO info = scrollInfoRequest();
    setBarValues(info, std::max(extent, 1), linesInWindow_, topLine_);
    ::SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    const bool shown =
        !options_.Contains(eoHideShowScrollbars) || info.nMin == 0 || info.nMax > linesInWindow_;
    ::ShowScrollBar(Handle(), SB_VERT, shown);
    if (!options_.Contains(eoDisableScrollArrows) && extent > linesInWindow_) {
        ::EnableScrollBar(Handle(), SB_VERT, ESB_ENABLE_BOTH);
        return;
    }
    const bool atTop = topLine_ <= 1;
    if (atTop && extent <= linesInWindow_) {
        ::EnableScrollBar(Handle(), SB_VERT, ESB_DISABLE_BOTH);
        return;
    }
    ::EnableScrollBar(Handle(), SB_VERT, ESB_ENABLE_BOTH);
    if (atTop)
        ::EnableScrollBar(Handle(), SB_VERT, ESB_DISABLE_UP);
    else if (rows - topLine_ - linesInWindow_ + 1 == 0)
        ::EnableScrollBar(Handle(), SB_VERT, ESB_DISABLE_DOWN);
}

void TCustomSynEdit::WMHScroll(TMessage& Message) {
    const Integer page = options_.Contains(eoScrollByOneLess) ? charsInWindow_ - 1 : charsInWindow_;
    const Integer position = HIWORD(Message.WParam);
    switch (LOWORD(Message.WParam)) {
    case SB_LINELEFT:
        SetLeftChar(leftChar_ - 1);
        break;
    case SB_LINERIGHT:
        SetLeftChar(leftChar_ + 1);
        break;
    case SB_PAGELEFT:
        SetLeftChar(leftChar_ - page);
        break;
    case SB_PAGERIGHT:
        SetLeftChar(leftChar_ + page);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        isScrolling_ = true;
        const Integer extent = horizontalExtent();
        SetLeftChar(extent > MaxScrollBarValue ? MulDiv(extent, position, MaxScrollBarValue) : position);
        break;
    }
    case SB_LEFT:
        SetLeftChar(1);
        break;
    case SB_RIGHT:
        SetLeftChar(options_.Contains(eoScrollPastEol) ? maxScrollWidth_ - charsInWindow_ + 1
                                                       : longestLineLength());
        break;
    case SB_ENDSCROLL:
        isScrolling_ = false;
        break;
    default:
        break;
    }
    Message.Result = 0;
    if (OnScroll) OnScroll(this, sbHorizontal);
}

void TCustomSynEdit::WMVScroll(TMessage& Message) {
    const Integer page = options_.Contains(eoScrollByOneLess) ? linesInWindow_ - 1 : linesInWindow_;
    const Integer position = HIWORD(Message.WParam);
    switch (LOWORD(Message.WParam)) {
    case SB_LINEUP:
        SetTopLine(topLine_ - 1);
        break;
    case SB_LINEDOWN:
        SetTopLine(topLine_ + 1);
        break;
    case SB_PAGEUP:
        SetTopLine(topLine_ - page);
        break;
    case SB_PAGEDOWN:
        SetTopLine(topLine_ + page);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        isScrolling_ = true;
        const Integer rows = GetDisplayLineCount();
        SetTopLine(rows > MaxScrollBarValue ? MulDiv(rows + linesInWindow_ - 1, position, MaxScrollBarValue)
                                            : position);
        if (options_.Contains(eoShowScrollHint)) showScrollHint();
        break;
    }
    case SB_TOP:
        SetTopLine(1);
        break;
    case SB_BOTTOM:
        SetTopLine(GetDisplayLineCount());
        break;
    case SB_ENDSCROLL:
        isScrolling_ = false;
        if (options_.Contains(eoShowScrollHint)) scrollHintWindow()->ReleaseHandle();
        break;
    default:
        break;
    }
    Message.Result = 0;
    Update();
    if (OnScroll) OnScroll(this, sbVertical);
}

void TCustomSynEdit::showScrollHint() {
    THintWindow* hint = scrollHintWindow();
    hint->SetColor(scrollHintColor_);
    AnsiString text =
        scrollHintFormat_ == shfTopToBottom
            ? Format(SYNS_ScrollInfoFmt,
                     {RowToLine(topLine_),
                      RowToLine(topLine_ + std::min(linesInWindow_, GetDisplayLineCount() - topLine_))})
            : Format(SYNS_ScrollInfoFmtTop, {RowToLine(topLine_)});
    if (text.size() > MaxScrollHintLength) text.resize(MaxScrollHintLength);
    TRect rect = hint->CalcHintRect(ScrollHintMaxWidth, text, nullptr);
    const Integer width = rect.Right - rect.Left;
    const Integer height = rect.Bottom - rect.Top;
    Integer top = ScrollHintTop;
    if (options_.Contains(eoScrollHintFollows)) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        ::GetScrollInfo(Handle(), SB_VERT, &info);
        const Integer arrowHeight = GetSystemMetrics(SM_CYVSCROLL);
        const double track =
            static_cast<double>(ClientHeight() - 2 * arrowHeight) * info.nTrackPos / std::max(info.nMax, 1);
        top = static_cast<Integer>(std::lround(track)) + height / 2 + arrowHeight;
    }
    const TPoint origin = ClientToScreen(TPoint{ClientWidth() - width - ScrollHintRightMargin, top});
    rect = TRect{origin.x, origin.y, origin.x + width, origin.y + height};
    hint->ActivateHint(rect, text);
    hint->Update();
}

// ---- Window messages ------------------------------------------------------------------------

void TCustomSynEdit::WndProc(TMessage& Message) {
    // Alt+Backspace is a command of the key map; left alone it would beep.
    if (Message.Msg == WM_SYSCHAR && Message.WParam == VK_BACK && (Message.LParam & AltKeyFlag) != 0)
        Message.Msg = 0;
    TCustomControl::WndProc(Message);
}

bool TCustomSynEdit::dispatchScrollingMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_HSCROLL:
        WMHScroll(Message);
        return true;
    case WM_VSCROLL:
        WMVScroll(Message);
        return true;
    case WM_CAPTURECHANGED:
        if (scrollTimer_ != nullptr) scrollTimer_->SetEnabled(false);
        return false;
    case WM_CLEAR:
        if (!ReadOnly()) SetSelTextExternal("");
        return true;
    case WM_COPY:
        CopyToClipboard();
        Message.Result = 1;
        return true;
    case WM_CUT:
        if (!ReadOnly()) CutToClipboard();
        Message.Result = 1;
        return true;
    case WM_PASTE:
        if (!ReadOnly()) PasteFromClipboard();
        Message.Result = 1;
        return true;
    case WM_UNDO:
        Undo();
        return true;
    case WM_DROPFILES:
        WMDropFiles(Message);
        return true;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return true;
    case WM_GETDLGCODE:
        WMGetDlgCode(Message);
        return true;
    case WM_GETTEXT:
        WMGetText(Message);
        return true;
    case WM_GETTEXTLENGTH:
        Message.Result = ControlState().Contains(csDocking) ? 0 : static_cast<LRESULT>(SynGetText().size());
        return true;
    case WM_SETTEXT:
        SynSetText(Message.LParam != 0 ? AnsiString(reinterpret_cast<const char*>(Message.LParam)) : "");
        Message.Result = -1;
        return true;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return true;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        return true;
    case WM_SETCURSOR:
        WMSetCursor(Message);
        return true;
    case WM_CANCELMODE:
        return true;
    default:
        return false;
    }
}

void TCustomSynEdit::WMDropFiles(TMessage& Message) {
    auto* drop = reinterpret_cast<HDROP>(Message.WParam);
    if (OnDropFiles) {
        TStringList files;
        const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        char name[MaxDroppedFileName + 1];
        for (UINT i = 0; i < count; ++i) {
            const UINT length = DragQueryFileA(drop, i, name, sizeof(name));
            files.Add(AnsiString(name, std::min(length, MaxDroppedFileName)));
        }
        POINT point{};
        DragQueryPoint(drop, &point);
        OnDropFiles(this, point.x, point.y, &files);
    }
    Message.Result = 0;
    DragFinish(drop);
}

void TCustomSynEdit::WMGetDlgCode(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (wantTabs_) Message.Result |= DLGC_WANTTAB;
    if (wantReturns_) Message.Result |= DLGC_WANTALLKEYS;
}

void TCustomSynEdit::WMGetText(TMessage& Message) {
    auto* buffer = reinterpret_cast<char*>(Message.LParam);
    const auto size = static_cast<std::size_t>(Message.WParam);
    if (buffer == nullptr || size == 0) {
        Message.Result = 0;
        return;
    }
    const AnsiString text = SynGetText();
    const std::size_t copied = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    Message.Result = static_cast<LRESULT>(copied);
}

void TCustomSynEdit::WMSetFocus(TMessage&) {
    CommandProcessor(ecGotFocus, '\0', nullptr);
    InitializeCaret();
    if (hideSelection_ && SelAvail()) InvalidateSelection();
}

void TCustomSynEdit::WMKillFocus(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    CommandProcessor(ecLostFocus, '\0', nullptr);
    if (Focused() || alwaysShowCaret_) return;
    HideCaret();
    ::DestroyCaret();
    if (hideSelection_ && SelAvail()) InvalidateSelection();
}

void TCustomSynEdit::WMSetCursor(TMessage& Message) {
    if (reinterpret_cast<HWND>(Message.WParam) == Handle() &&
        static_cast<SHORT>(LOWORD(Message.LParam)) == HTCLIENT && !ComponentState().Contains(csDesigning)) {
        UpdateMouseCursor();
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}

void TCustomSynEdit::UpdateMouseCursor() {
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint mouse = ScreenToClient(TPoint{screen.x, screen.y});
    TCursor cursor = gutter_->Cursor();
    if (mouse.x >= gutterWidth_) {
        const TBufferCoord position = DisplayToBufferPos(PixelsToRowColumn(mouse.x, mouse.y));
        cursor = options_.Contains(eoDragDropEditing) && !MouseCapture() && IsPointInSelection(position)
                     ? crArrow
                     : Cursor();
        if (OnMouseCursor) OnMouseCursor(this, position, cursor);
        kbdHandler_->ExecuteMouseCursor(this, position, cursor);
    }
    ::SetCursor(Screen->Cursors(cursor));
}

// ---- Highlighter ranges ---------------------------------------------------------------------

Integer TCustomSynEdit::ScanFrom(Integer Index) {
    Integer line = Index;
    if (line >= lines_->Count()) return line;
    if (line == 0)
        highlighter_->ResetRange();
    else
        highlighter_->SetRange(lines_->GetRange(line - 1));
    for (;;) {
        highlighter_->SetLine(lines_->Get(line), line);
        highlighter_->NextToEol();
        const TSynRangeValue range = highlighter_->GetRange();
        if (lines_->GetRange(line) == range) return line;
        lines_->PutRange(line, range);
        if (++line == lines_->Count()) return line - 1;
    }
}

void TCustomSynEdit::ScanRanges() {
    if (highlighter_ == nullptr || lines_->Count() == 0) return;
    highlighter_->ResetRange();
    for (Integer line = 0; line < lines_->Count(); ++line) {
        highlighter_->SetLine(lines_->Get(line), line);
        highlighter_->NextToEol();
        lines_->PutRange(line, highlighter_->GetRange());
    }
}

void TCustomSynEdit::ListInserted(TObject*, Integer Index, Integer aCount) {
    // A scan may stop on an inserted line whose unscanned value happens to
    // match; every inserted line still needs its own range.
    if (highlighter_ != nullptr && lines_->Count() > 0) {
        Integer line = Index;
        while (line < Index + aCount)
            line = ScanFrom(line) + 1;
    }
    if (wordWrapPlugin_) wordWrapPlugin_->LinesInserted(Index, aCount);
    InvalidateLines(Index + 1, INT_MAX);
    InvalidateGutterLines(Index + 1, INT_MAX);
    autoSizeMaxScrollWidth(Index);
}

void TCustomSynEdit::ListDeleted(TObject*, Integer Index, Integer aCount) {
    if (highlighter_ != nullptr && lines_->Count() > 0) ScanFrom(Index);
    if (wordWrapPlugin_) wordWrapPlugin_->LinesDeleted(Index, aCount);
    InvalidateLines(Index + 1, INT_MAX);
    InvalidateGutterLines(Index + 1, INT_MAX);
}

void TCustomSynEdit::ListPutted(TObject*, Integer Index, Integer aCount) {
    Integer lastLine = Index + 1;
    if (wordWrapPlugin_) {
        if (wordWrapPlugin_->LinesPutted(Index, aCount) != 0) lastLine = INT_MAX;
        InvalidateGutterLines(Index + 1, lastLine);
    }
    if (highlighter_ != nullptr) {
        lastLine = std::max(lastLine, ScanFrom(Index) + 1);
        // The buffer's owner may have rescanned already, so the scan above
        // proves nothing about the lines below.
        if (lines_ != ownLines_.get()) lastLine = INT_MAX;
    }
    InvalidateLines(Index + 1, lastLine);
    autoSizeMaxScrollWidth(Index);
}

void TCustomSynEdit::ListCleared(TObject*) {
    if (wordWrapPlugin_) wordWrapPlugin_->Reset();
    ClearUndo();
    invalidateRect_ = TRect{};
    Invalidate();
    SetCaretXY(BufferCoord(1, 1));
    SetTopLine(1);
    SetLeftChar(1);
    statusChanges_.Include(scAll);
}

void TCustomSynEdit::autoSizeMaxScrollWidth(Integer Index) {
    if (!options_.Contains(eoAutoSizeMaxScrollWidth)) return;
    const Integer length = lines_->GetExpandedStringLength(Index);
    if (length > maxScrollWidth_) SetMaxScrollWidth(length);
}

void TCustomSynEdit::SetHighlighter(TSynCustomHighlighter* Value) {
    if (highlighter_ == Value) return;
    const TNotifyEvent attrChanged(this, &TCustomSynEdit::HighlighterAttrChanged);
    if (highlighter_ != nullptr) {
        highlighter_->UnhookAttrChangeEvent(attrChanged);
        highlighter_->RemoveFreeNotification(this);
    }
    if (Value != nullptr) {
        Value->HookAttrChangeEvent(attrChanged);
        Value->FreeNotification(this);
    }
    highlighter_ = Value;
    if (!ComponentState().Contains(csDestroying)) HighlighterAttrChanged(highlighter_);
}

// ---- Display positions and word wrap --------------------------------------------------------

TDisplayCoord TCustomSynEdit::BufferToDisplayPos(const TBufferCoord& p) const {
    TDisplayCoord result = DisplayCoord(p.Char, p.Line);
    // The first character is the first column whatever the line holds, so
    // line-to-row lookups need not read the line.
    if (p.Char > 1 && p.Line >= 1 && p.Line <= lines_->Count())
        result.Column = expandedColumn(lines_->Get(p.Line - 1), p.Char);
    if (wordWrapPlugin_) result = wordWrapPlugin_->BufferToDisplayPos(BufferCoord(result.Column, p.Line));
    return result;
}

// The display column of character Char of Line, one column for each
// character beyond its end.
Integer TCustomSynEdit::expandedColumn(const AnsiString& Line, Integer Char) const {
    const auto length = static_cast<Integer>(Line.size());
    const std::string_view before(Line.data(), static_cast<std::size_t>(std::min(Char - 1, length)));
    if (before.find('\t') == std::string_view::npos) return Char;
    Integer x = 0;
    for (Integer i = 1; i < Char; ++i) {
        if (i <= length && Line[static_cast<std::size_t>(i - 1)] == '\t')
            x += tabWidth_ - x % tabWidth_;
        else
            ++x;
    }
    return x + 1;
}

TBufferCoord TCustomSynEdit::DisplayToBufferPos(const TDisplayCoord& p) const {
    TBufferCoord result =
        wordWrapPlugin_ ? wordWrapPlugin_->DisplayToBufferPos(p) : BufferCoord(p.Column, p.Row);
    if (result.Line < 1 || result.Line > lines_->Count()) return result;
    const AnsiString line = lines_->Get(result.Line - 1);
    const auto length = static_cast<Integer>(line.size());
    Integer i = result.Char;
    if (line.find('\t') != AnsiString::npos) {
        // Every column inside a tab's expansion belongs to the tab.
        Integer x = 0;
        i = 0;
        while (result.Char > x) {
            ++i;
            if (i <= length && line[static_cast<std::size_t>(i - 1)] == '\t')
                x += tabWidth_ - x % tabWidth_;
            else
                ++x;
        }
    }
    result.Char = i;
    if (i >= 1 && i <= length && ByteType(line, i) == mbTrailByte) ++result.Char;
    return result;
}

Integer TCustomSynEdit::LineToRow(Integer aLine) const {
    return wordWrapPlugin_ ? BufferToDisplayPos(BufferCoord(1, aLine)).Row : aLine;
}

// Tabs move characters within their line only, so the plug-in alone knows the line.
Integer TCustomSynEdit::RowToLine(Integer aRow) const {
    return wordWrapPlugin_ ? wordWrapPlugin_->DisplayToBufferPos(DisplayCoord(1, aRow)).Line : aRow;
}

Integer TCustomSynEdit::GetDisplayLineCount() const {
    if (!wordWrapPlugin_) return lines_->Count();
    return lines_->Count() == 0 ? 0 : wordWrapPlugin_->RowCount();
}

void TCustomSynEdit::SetWordWrap(bool Value) {
    if (Value == GetWordWrap()) return;
    Invalidate();
    const bool caretWasInView = CaretInView();
    const Integer topBufferLine = RowToLine(topLine_);
    if (Value) {
        wordWrapPlugin_ = std::make_unique<TSynWordWrapPlugin>(this);
        SetLeftChar(1);
    } else {
        wordWrapPlugin_.reset();
    }
    SetTopLine(LineToRow(topBufferLine));
    UpdateScrollBars();
    if (options_.Contains(eoScrollPastEol)) {
        InternalSetCaretXY(CaretXY());
        const TBufferCoord first = GetBlockBegin();
        const TBufferCoord last = GetBlockEnd();
        SetBlockBegin(first);
        SetBlockEnd(last);
    }
    if (caretWasInView) EnsureCursorPosVisible();
}

void TCustomSynEdit::SetTabWidth(Integer Value) {
    Value = std::clamp(Value, MinTabWidth, MaxTabWidth);
    if (tabWidth_ == Value) return;
    tabWidth_ = Value;
    lines_->SetTabWidth(Value);
    Invalidate();
    if (wordWrapPlugin_) {
        wordWrapPlugin_->Reset();
        InvalidateGutter();
    }
}

// ---- View property setters ------------------------------------------------------------------

// Text is drawn in cells of one width, so a proportional font is asked for
// in its fixed-pitch form.
void TCustomSynEdit::SetFont(TFont* Value) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, Value->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    if (metrics.tmAveCharWidth == metrics.tmMaxCharWidth) {
        Font()->Assign(Value);
    } else {
        TFont fixed;
        fixed.SetColor(Value->Color());
        fixed.SetSize(Value->Size());
        fixed.SetStyle(Value->Style());
        fixed.SetName(Value->Name());
        fixed.SetPitch(fpFixed);
        Font()->Assign(&fixed);
    }
    if (gutter_->ShowLineNumbers()) GutterChanged(this);
}

void TCustomSynEdit::SetRightEdge(Integer Value) {
    if (rightEdge_ == Value) return;
    rightEdge_ = Value;
    Invalidate();
}

void TCustomSynEdit::SetRightEdgeColor(TColor Value) {
    if (rightEdgeColor_ == Value) return;
    rightEdgeColor_ = Value;
    if (!HandleAllocated()) return;
    const Integer x = textOffset_ + rightEdge_ * charWidth_;
    InvalidateRect(TRect{x - 1, 0, x + 1, Height()}, false);
}
