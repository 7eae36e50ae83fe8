// The EDIT class: its state lives beside the window (one EditState per
// window), laid out into visual lines on demand; every change of text or
// selection goes through a few routines that keep the caret, the scrolling,
// the scroll bars, the undo record and the parent's notifications in step.
#include "platform/win/EditControl.h"

#include "platform/core/CodePages.h"
#include "platform/win/Caret.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Drawing.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/TextOut.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <functional>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

// What the user may type before EM_LIMITTEXT is sent, and the limits EM_LIMITTEXT 0 gives.
constexpr UINT defaultTextLimit = 32767;
constexpr UINT unlimitedSingleLine = 0x7FFFFFFE;
constexpr UINT unlimitedMultiLine = 0xFFFFFFFF;
constexpr WCHAR defaultPasswordChar = u'*';
// Tab stops every 32 dialog units: eight average characters.
constexpr int averageCharactersPerTab = 8;
constexpr int caretWidth = 1;
// The lines a notch of the wheel scrolls when the system does not say.
constexpr UINT defaultWheelLines = 3;
constexpr LRESULT positionNotFound = -1;

constexpr WCHAR carriageReturn = u'\r';
constexpr WCHAR lineFeed = u'\n';
constexpr WCHAR tabCharacter = u'\t';
constexpr WCHAR backspaceCharacter = 0x08;
constexpr WCHAR deleteCharacter = 0x7F;
constexpr WCHAR firstPrintable = 0x20;
// The control characters Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z type.
constexpr WCHAR copyCharacter = 0x03;
constexpr WCHAR pasteCharacter = 0x16;
constexpr WCHAR cutCharacter = 0x18;
constexpr WCHAR undoCharacter = 0x1A;
constexpr WideString::size_type notFound = WideString::npos;

// ---- State ---------------------------------------------------------------------

struct VisualLine {
    int start = 0;
    // Without the line break.
    int length = 0;
    // 2 after a CR LF; 0 after a wrap and on the last line.
    int breakLength = 0;
    // In pixels, from the line's start.
    int width = 0;
    int end() const { return start + length; }
};

struct UndoRecord {
    WideString text;
    int anchor = 0;
    int caret = 0;
};

// How an edit enters the undo record: typing extends the record of the typing
// just before it; other edits start a new one; some empty the buffer.
enum class EditKind { Typing, Undoable, NotUndoable };

struct EditState {
    HWND window = nullptr;
    WideString text;
    // The selection runs from the anchor to the caret, in either order.
    int anchor = 0;
    int caret = 0;
    UINT limit = defaultTextLimit;
    bool modified = false;
    WCHAR passwordChar = 0;
    HFONT font = nullptr;
    // Measures text with the control's font; lives as long as the control.
    HDC measuring = nullptr;
    HGDIOBJ measuringDefaultFont = nullptr;
    int lineHeight = 0;
    int averageCharWidth = 0;
    // The widths of the characters measured so far: the first 256 in a table (-1 not yet known).
    std::array<int, 256> narrowWidths{};
    std::unordered_map<WCHAR, int> wideWidths;
    int leftMargin = 0;
    int rightMargin = 0;
    // Set by EM_SETRECT until the next resize; otherwise the client area less the margins.
    std::optional<TRect> givenFormatRect;
    int firstVisibleLine = 0;
    // Pixels the lines are scrolled to the left.
    int horizontalOffset = 0;
    bool focused = false;
    bool selecting = false;
    std::optional<UndoRecord> undo;
    bool typingRun = false;
    // Set by a control built on this one that paints its own background
    // (null: the system's window colour) instead of asking the parent.
    bool ownBackground = false;
    std::optional<COLORREF> backgroundColour;
    // Set by such a control to show or hide the selection whatever the focus.
    std::optional<bool> selectionShown;
    // Set by such a control that sends some notifications only when asked for.
    std::function<bool(WORD code)> notificationWanted;
    std::vector<VisualLine> lines;
    int widestLine = 0;
    bool layoutStale = true;
};

using StatePointer = std::shared_ptr<EditState>;

struct StateTable {
    std::mutex mutex;
    std::map<HWND, StatePointer> states;
};

StateTable& stateTable() {
    static StateTable table;
    return table;
}

// A message handler holds its state alive even if the window goes away meanwhile.
StatePointer stateOf(HWND window) {
    StateTable& table = stateTable();
    std::lock_guard lock(table.mutex);
    auto found = table.states.find(window);
    return found == table.states.end() ? nullptr : found->second;
}

DWORD styleOf(const EditState& state) {
    return static_cast<DWORD>(GetWindowLongPtrW(state.window, GWL_STYLE));
}

bool hasStyle(const EditState& state, DWORD bits) {
    return (styleOf(state) & bits) != 0;
}

bool isMultiLine(const EditState& state) {
    return hasStyle(state, ES_MULTILINE);
}

bool isReadOnly(const EditState& state) {
    return hasStyle(state, ES_READONLY);
}

bool isPassword(const EditState& state) {
    return !isMultiLine(state) && hasStyle(state, ES_PASSWORD) && state.passwordChar != 0;
}

// Multi-line text wraps at the format rectangle's width unless it scrolls horizontally.
bool wrapsWords(const EditState& state) {
    return isMultiLine(state) && !hasStyle(state, ES_AUTOHSCROLL | WS_HSCROLL);
}

int textLength(const EditState& state) {
    return static_cast<int>(state.text.size());
}

int selectionStart(const EditState& state) {
    return std::min(state.anchor, state.caret);
}

int selectionEnd(const EditState& state) {
    return std::max(state.anchor, state.caret);
}

// ---- Text positions --------------------------------------------------------------

bool isHighSurrogate(WCHAR unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(WCHAR unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

bool isLineBreakAt(const WideString& text, int position) {
    return position >= 0 && position + 1 < static_cast<int>(text.size()) &&
           text[position] == carriageReturn && text[position + 1] == lineFeed;
}

// A position never splits a surrogate pair or a CR LF.
bool splitsUnit(const WideString& text, int position) {
    if (position <= 0 || position >= static_cast<int>(text.size())) return false;
    return (isHighSurrogate(text[position - 1]) && isLowSurrogate(text[position])) ||
           isLineBreakAt(text, position - 1);
}

int previousPosition(const WideString& text, int position) {
    if (position <= 0) return 0;
    int previous = position - 1;
    return splitsUnit(text, previous) ? previous - 1 : previous;
}

int nextPosition(const WideString& text, int position) {
    int length = static_cast<int>(text.size());
    if (position >= length) return length;
    int next = position + 1;
    return splitsUnit(text, next) ? next + 1 : next;
}

// The default word-break rule: words are separated by white space.
bool isDelimiter(WCHAR unit) {
    return unit == u' ' || unit == tabCharacter || unit == carriageReturn || unit == lineFeed;
}

int nextWordStart(const WideString& text, int position) {
    int length = static_cast<int>(text.size());
    while (position < length && !isDelimiter(text[position]))
        ++position;
    while (position < length && isDelimiter(text[position]))
        ++position;
    return position;
}

int previousWordStart(const WideString& text, int position) {
    while (position > 0 && isDelimiter(text[position - 1]))
        --position;
    while (position > 0 && !isDelimiter(text[position - 1]))
        --position;
    return position;
}

// ---- Measuring -------------------------------------------------------------------

HGDIOBJ fontOf(const EditState& state) {
    return state.font ? static_cast<HGDIOBJ>(state.font) : GetStockObject(SYSTEM_FONT);
}

void forgetWidths(EditState& state) {
    state.narrowWidths.fill(-1);
    state.wideWidths.clear();
}

void loadFontMetrics(EditState& state) {
    SelectObject(state.measuring, fontOf(state));
    TEXTMETRICW metrics{};
    GetTextMetricsW(state.measuring, &metrics);
    state.lineHeight = std::max<int>(metrics.tmHeight, 1);
    state.averageCharWidth = std::max<int>(metrics.tmAveCharWidth, 1);
    forgetWidths(state);
    state.layoutStale = true;
}

// The margins EC_USEFONTINFO gives: a quarter of an average character.
int fontMargin(const EditState& state) {
    return std::max(state.averageCharWidth / 4, 1);
}

int measuredWidth(const EditState& state, WCHAR unit) {
    int width = 0;
    GetCharWidth32W(state.measuring, unit, unit, &width);
    return width;
}

int characterWidth(EditState& state, WCHAR unit) {
    if (unit < state.narrowWidths.size()) {
        int& known = state.narrowWidths[unit];
        if (known < 0) known = measuredWidth(state, unit);
        return known;
    }
    auto known = state.wideWidths.find(unit);
    if (known != state.wideWidths.end()) return known->second;
    return state.wideWidths.emplace(unit, measuredWidth(state, unit)).first->second;
}

int tabWidth(const EditState& state) {
    return averageCharactersPerTab * state.averageCharWidth;
}

// How text shows in the control (its own characters or the password
// character) and how far each one moves the pen. Made for one pass over the
// text, so that the window's style is read once.
class TextMeasure {
public:
    explicit TextMeasure(EditState& state)
        : state_(state), password_(isPassword(state)), expandsTabs_(isMultiLine(state)) {}

    WCHAR Shown(const WideString& text, int position) const {
        return password_ ? state_.passwordChar : text[static_cast<std::size_t>(position)];
    }
    // The advance of a character whose pen stands at `x` from the line's start.
    int Advance(WCHAR shown, int x) const {
        if (shown == tabCharacter && expandsTabs_) return (x / tabWidth(state_) + 1) * tabWidth(state_) - x;
        return characterWidth(state_, shown);
    }
    // The pen positions from the start of `text[start, end)`, one more than characters.
    std::vector<int> PenPositions(const WideString& text, int start, int end) const {
        std::vector<int> positions(static_cast<std::size_t>(end - start + 1), 0);
        int x = 0;
        for (int position = start; position < end; ++position) {
            x += Advance(Shown(text, position), x);
            positions[static_cast<std::size_t>(position - start + 1)] = x;
        }
        return positions;
    }
    int Width(const WideString& text, int start, int end) const {
        int x = 0;
        for (int position = start; position < end; ++position)
            x += Advance(Shown(text, position), x);
        return x;
    }

private:
    EditState& state_;
    bool password_;
    bool expandsTabs_;
};

// ---- Layout ----------------------------------------------------------------------

TRect clientRectOf(const EditState& state) {
    RECT client{};
    GetClientRect(state.window, &client);
    return client;
}

TRect defaultFormatRect(const EditState& state) {
    TRect rect = clientRectOf(state);
    rect.Left += state.leftMargin;
    rect.Right = std::max(rect.Left, rect.Right - state.rightMargin);
    // A single line sits one pixel below the top when there is room for it.
    if (!isMultiLine(state) && rect.Height() >= state.lineHeight + 2) rect.Top += 1;
    return rect;
}

TRect formatRectOf(const EditState& state) {
    return state.givenFormatRect ? *state.givenFormatRect : defaultFormatRect(state);
}

int formatWidth(const EditState& state) {
    return std::max(formatRectOf(state).Width(), 1);
}

int visibleLineCount(const EditState& state) {
    return std::max(formatRectOf(state).Height() / state.lineHeight, 1);
}

// Breaks `text[start, end)` into lines no wider than `width`, after the white
// space where there is some; a word wider than the line is broken anywhere.
void appendWrappedLines(const TextMeasure& measure, const WideString& text, int start, int end, int width,
                        std::vector<VisualLine>& lines) {
    int lineStart = start;
    for (;;) {
        int x = 0;
        int afterSpace = -1;
        int position = lineStart;
        for (; position < end; ++position) {
            int advance = measure.Advance(measure.Shown(text, position), x);
            if (x + advance > width && position > lineStart) break;
            x += advance;
            if (text[position] == u' ' || text[position] == tabCharacter) afterSpace = position + 1;
        }
        if (position >= end) {
            lines.push_back({lineStart, end - lineStart, 0});
            return;
        }
        int breakAt = position;
        if (text[position] == u' ') {
            // Spaces hang at the end of the line they follow.
            while (breakAt < end && text[breakAt] == u' ')
                ++breakAt;
        } else if (afterSpace > lineStart) {
            breakAt = afterSpace;
        } else if (splitsUnit(text, breakAt) && breakAt - 1 > lineStart) {
            --breakAt;
        }
        lines.push_back({lineStart, breakAt - lineStart, 0});
        if (breakAt >= end) return;
        lineStart = breakAt;
    }
}

// Lays out the whole paragraphs of `text[start, end)`, where `end` is the end
// of the text or, when `linesFollow`, the end of a CR LF after which the lines
// are laid out already.
void appendParagraphs(EditState& state, const WideString& text, int start, int end, bool linesFollow,
                      std::vector<VisualLine>& lines) {
    bool wrapping = wrapsWords(state);
    int width = formatWidth(state);
    TextMeasure measure(state);
    std::size_t firstNew = lines.size();
    int paragraphStart = start;
    for (;;) {
        auto lineBreak = text.find(u"\r\n", static_cast<std::size_t>(paragraphStart));
        bool broken = lineBreak != notFound && static_cast<int>(lineBreak) + 2 <= end;
        int paragraphEnd = broken ? static_cast<int>(lineBreak) : end;
        if (wrapping)
            appendWrappedLines(measure, text, paragraphStart, paragraphEnd, width, lines);
        else
            lines.push_back({paragraphStart, paragraphEnd - paragraphStart, 0});
        if (broken) lines.back().breakLength = 2;
        paragraphStart = paragraphEnd + 2;
        if (!broken || (linesFollow && paragraphStart >= end)) break;
    }
    for (std::size_t index = firstNew; index < lines.size(); ++index)
        lines[index].width = measure.Width(text, lines[index].start, lines[index].end());
}

std::vector<VisualLine> linesOf(EditState& state, const WideString& text) {
    std::vector<VisualLine> lines;
    int length = static_cast<int>(text.size());
    if (isMultiLine(state))
        appendParagraphs(state, text, 0, length, false, lines);
    else
        lines.push_back({0, length, 0, TextMeasure(state).Width(text, 0, length)});
    return lines;
}

void measureWidest(EditState& state) {
    state.widestLine = 0;
    for (const VisualLine& line : state.lines)
        state.widestLine = std::max(state.widestLine, line.width);
}

void ensureLayout(EditState& state) {
    if (!state.layoutStale) return;
    state.lines = linesOf(state, state.text);
    measureWidest(state);
    state.layoutStale = false;
}

int lineIndexOf(const std::vector<VisualLine>& lines, int position) {
    auto after = std::upper_bound(lines.begin(), lines.end(), position,
                                  [](int value, const VisualLine& line) { return value < line.start; });
    return std::max(static_cast<int>(after - lines.begin()) - 1, 0);
}

// After `removed` characters at `start` became `inserted` ones, only the
// paragraphs the change touched are laid out again; the lines after them move.
void layOutChange(EditState& state, int start, int removed, int inserted) {
    std::vector<VisualLine>& lines = state.lines;
    if (state.layoutStale || lines.empty() || !isMultiLine(state)) {
        state.layoutStale = true;
        return;
    }
    int first = lineIndexOf(lines, start);
    while (first > 0 && lines[static_cast<std::size_t>(first) - 1].breakLength == 0)
        --first;
    // The change ends inside the paragraph whose CR LF survives it.
    int last = first;
    while (last + 1 < static_cast<int>(lines.size()) &&
           !(lines[static_cast<std::size_t>(last)].breakLength == 2 &&
             lines[static_cast<std::size_t>(last)].end() >= start + removed))
        ++last;
    const VisualLine& lastLine = lines[static_cast<std::size_t>(last)];
    int delta = inserted - removed;
    std::vector<VisualLine> fresh;
    appendParagraphs(state, state.text, lines[static_cast<std::size_t>(first)].start,
                     lastLine.end() + lastLine.breakLength + delta, lastLine.breakLength != 0, fresh);
    for (auto line = lines.begin() + last + 1; line != lines.end(); ++line)
        line->start += delta;
    lines.erase(lines.begin() + first, lines.begin() + last + 1);
    lines.insert(lines.begin() + first, fresh.begin(), fresh.end());
    measureWidest(state);
}

void invalidateLayout(EditState& state) {
    state.layoutStale = true;
}

int lineCount(EditState& state) {
    ensureLayout(state);
    return static_cast<int>(state.lines.size());
}

// The line a caret at `position` shows on: the later one where a wrap makes two candidates.
int lineOfPosition(EditState& state, int position) {
    ensureLayout(state);
    return lineIndexOf(state.lines, position);
}

const VisualLine& lineAt(EditState& state, int index) {
    ensureLayout(state);
    return state.lines[static_cast<std::size_t>(index)];
}

int lineWidth(EditState& state, int index) {
    return lineAt(state, index).width;
}

// How far ES_CENTER and ES_RIGHT move a line that is narrower than the format rectangle.
int alignmentShift(EditState& state, int index) {
    DWORD style = styleOf(state);
    int room = formatWidth(state) - lineWidth(state, index);
    if (room <= 0) return 0;
    if (style & ES_CENTER) return room / 2;
    if (style & ES_RIGHT) return room - caretWidth;
    return 0;
}

int lineLeft(EditState& state, int index) {
    return formatRectOf(state).Left - state.horizontalOffset + alignmentShift(state, index);
}

int lineTop(EditState& state, int index) {
    return formatRectOf(state).Top + (index - state.firstVisibleLine) * state.lineHeight;
}

int xInLine(EditState& state, int index, int position) {
    const VisualLine& line = lineAt(state, index);
    return TextMeasure(state).Width(state.text, line.start, std::clamp(position, line.start, line.end()));
}

TPoint pointOfPosition(EditState& state, int position) {
    int index = lineOfPosition(state, position);
    return {lineLeft(state, index) + xInLine(state, index, position), lineTop(state, index)};
}

// The position nearest to `x` (client coordinates) on a line.
int positionAtX(EditState& state, int index, int x) {
    const VisualLine& line = lineAt(state, index);
    std::vector<int> pens = TextMeasure(state).PenPositions(state.text, line.start, line.end());
    int offset = x - lineLeft(state, index);
    for (int position = line.start; position < line.end(); ++position) {
        int left = pens[static_cast<std::size_t>(position - line.start)];
        int right = pens[static_cast<std::size_t>(position - line.start + 1)];
        if (offset < (left + right + 1) / 2)
            return splitsUnit(state.text, position) ? previousPosition(state.text, position) : position;
    }
    return line.end();
}

int lineAtY(EditState& state, int y) {
    int offset = y - formatRectOf(state).Top;
    int rows = offset < 0 ? (offset - state.lineHeight + 1) / state.lineHeight : offset / state.lineHeight;
    return std::clamp(state.firstVisibleLine + rows, 0, lineCount(state) - 1);
}

int positionFromPoint(EditState& state, POINT point) {
    return positionAtX(state, lineAtY(state, point.y), point.x);
}

// ---- Scrolling and the caret -------------------------------------------------------

int lastFirstLine(EditState& state) {
    return std::max(lineCount(state) - visibleLineCount(state), 0);
}

int widestHorizontalOffset(EditState& state) {
    ensureLayout(state);
    return std::max(state.widestLine + caretWidth - formatWidth(state), 0);
}

void updateScrollBars(EditState& state) {
    if (!isMultiLine(state)) return;
    DWORD style = styleOf(state);
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    if (style & WS_VSCROLL) {
        info.nMax = lineCount(state) - 1;
        info.nPage = static_cast<UINT>(visibleLineCount(state));
        info.nPos = state.firstVisibleLine;
        SetScrollInfo(state.window, SB_VERT, &info, TRUE);
    }
    if (style & WS_HSCROLL) {
        ensureLayout(state);
        info.nMax = state.widestLine + caretWidth;
        info.nPage = static_cast<UINT>(formatWidth(state));
        info.nPos = state.horizontalOffset;
        SetScrollInfo(state.window, SB_HORZ, &info, TRUE);
    }
}

void placeCaret(EditState& state) {
    if (!state.focused) return;
    TPoint point = pointOfPosition(state, state.caret);
    SetCaretPos(point.x, point.y);
}

void repaint(EditState& state) {
    InvalidateRect(state.window, nullptr, TRUE);
}

// Returns whether anything moved.
bool scrollTo(EditState& state, int firstLine, int horizontalOffset) {
    firstLine = std::clamp(firstLine, 0, lastFirstLine(state));
    horizontalOffset = wrapsWords(state) ? 0 : std::clamp(horizontalOffset, 0, widestHorizontalOffset(state));
    if (firstLine == state.firstVisibleLine && horizontalOffset == state.horizontalOffset) return false;
    state.firstVisibleLine = firstLine;
    state.horizontalOffset = horizontalOffset;
    repaint(state);
    placeCaret(state);
    updateScrollBars(state);
    return true;
}

int firstLineShowing(EditState& state, int line) {
    int first = state.firstVisibleLine;
    int visible = visibleLineCount(state);
    if (line < first) return line;
    if (line >= first + visible) return line - visible + 1;
    return first;
}

// A caret that leaves the view brings back three quarters of a view of text before it.
int offsetShowing(EditState& state, int x) {
    int width = formatWidth(state);
    int offset = std::min(state.horizontalOffset, widestHorizontalOffset(state));
    if (x < offset) return std::max(x - width / 4, 0);
    if (x >= offset + width) return x - width * 3 / 4;
    return offset;
}

void scrollCaretIntoView(EditState& state) {
    int line = lineOfPosition(state, state.caret);
    int x = alignmentShift(state, line) + xInLine(state, line, state.caret);
    if (!scrollTo(state, firstLineShowing(state, line), offsetShowing(state, x))) placeCaret(state);
}

// ---- Notifications -------------------------------------------------------------------

void notifyParent(EditState& state, WORD code) {
    if (state.notificationWanted && !state.notificationWanted(code)) return;
    NotifyParent(state.window, code);
}

// After a change of the text: the screen and the scroll bars follow, then the parent hears of it.
void textChanged(EditState& state, bool notify) {
    scrollCaretIntoView(state);
    updateScrollBars(state);
    repaint(state);
    if (!notify) return;
    notifyParent(state, EN_UPDATE);
    if (IsWindow(state.window)) notifyParent(state, EN_CHANGE);
}

// ---- Selection -------------------------------------------------------------------------

void select(EditState& state, int anchor, int caret) {
    bool hadSelection = state.anchor != state.caret;
    state.anchor = anchor;
    state.caret = caret;
    state.typingRun = false;
    if (hadSelection || anchor != caret) repaint(state);
}

void moveCaret(EditState& state, int position, bool extend) {
    select(state, extend ? state.anchor : position, position);
    scrollCaretIntoView(state);
}

// EM_SETSEL: -1 as the start removes the selection, -1 as the end means the end of the text.
void setSelection(EditState& state, int start, int end) {
    int length = textLength(state);
    if (start == -1) {
        select(state, state.caret, state.caret);
    } else {
        int last = end < 0 ? length : std::min(end, length);
        select(state, std::clamp(start, 0, length), last);
    }
    if (isMultiLine(state))
        placeCaret(state);
    else
        scrollCaretIntoView(state);
}

WideString selectedText(const EditState& state) {
    return state.text.substr(static_cast<std::size_t>(selectionStart(state)),
                             static_cast<std::size_t>(selectionEnd(state) - selectionStart(state)));
}

// ---- Editing ----------------------------------------------------------------------------

WideString convertedCase(const EditState& state, WideString text) {
    DWORD style = styleOf(state);
    if (style & ES_UPPERCASE)
        std::transform(text.begin(), text.end(), text.begin(), WideCharUpper);
    else if (style & ES_LOWERCASE)
        std::transform(text.begin(), text.end(), text.begin(), WideCharLower);
    return text;
}

// A cut never leaves half of a surrogate pair or of a CR LF behind.
WideString prefixOf(const WideString& text, std::size_t length) {
    if (length >= text.size()) return text;
    if (length > 0 && splitsUnit(text, static_cast<int>(length))) --length;
    return text.substr(0, length);
}

WideString textWithInsertion(const EditState& state, const WideString& insertion) {
    WideString result = state.text;
    result.replace(static_cast<std::size_t>(selectionStart(state)),
                   static_cast<std::size_t>(selectionEnd(state) - selectionStart(state)), insertion);
    return result;
}

// Without ES_AUTOHSCROLL a single line holds only what its width shows;
// without ES_AUTOVSCROLL a multi-line control only the lines it shows.
bool sizeLimitsText(const EditState& state) {
    DWORD style = styleOf(state);
    if (style & ES_MULTILINE) return !(style & (ES_AUTOVSCROLL | WS_VSCROLL));
    return !(style & ES_AUTOHSCROLL);
}

bool fitsTheControl(EditState& state, const WideString& candidate) {
    if (!isMultiLine(state))
        return TextMeasure(state).Width(candidate, 0, static_cast<int>(candidate.size())) + caretWidth <=
               formatWidth(state);
    return static_cast<int>(linesOf(state, candidate).size()) <= visibleLineCount(state);
}

// The longest start of `insertion` the text limit and the control's size allow.
WideString allowedInsertion(EditState& state, const WideString& insertion) {
    std::size_t kept =
        static_cast<std::size_t>(textLength(state) - (selectionEnd(state) - selectionStart(state)));
    std::size_t room = state.limit > kept ? state.limit - kept : 0;
    WideString allowed = prefixOf(insertion, room);
    if (!sizeLimitsText(state) || fitsTheControl(state, textWithInsertion(state, allowed))) return allowed;
    std::size_t low = 0, high = allowed.size();
    while (low < high) {
        std::size_t middle = (low + high + 1) / 2;
        if (fitsTheControl(state, textWithInsertion(state, prefixOf(allowed, middle))))
            low = middle;
        else
            high = middle - 1;
    }
    return prefixOf(allowed, low);
}

void recordUndo(EditState& state, EditKind kind) {
    if (kind == EditKind::NotUndoable) {
        state.undo.reset();
    } else if (kind == EditKind::Undoable || !state.typingRun) {
        state.undo = UndoRecord{state.text, state.anchor, state.caret};
    }
    state.typingRun = kind == EditKind::Typing;
}

// Replaces the selection as the user's edits do: the case style, the text
// limit and the control's size apply; EN_MAXTEXT tells of what did not fit.
bool replaceSelection(EditState& state, const WideString& text, EditKind kind) {
    WideString insertion = allowedInsertion(state, convertedCase(state, text));
    bool truncated = insertion.size() < text.size();
    if (truncated) {
        notifyParent(state, EN_MAXTEXT);
        if (!IsWindow(state.window)) return false;
    }
    if (insertion.empty() && state.anchor == state.caret) return false;
    recordUndo(state, kind);
    int start = selectionStart(state);
    int removed = selectionEnd(state) - start;
    int inserted = static_cast<int>(insertion.size());
    state.text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(removed), insertion);
    state.anchor = state.caret = start + inserted;
    state.modified = true;
    layOutChange(state, start, removed, inserted);
    textChanged(state, true);
    return true;
}

void deleteRange(EditState& state, int start, int end, EditKind kind) {
    if (start == end) return;
    state.anchor = start;
    state.caret = end;
    replaceSelection(state, {}, kind);
}

void undo(EditState& state) {
    if (!state.undo) return;
    UndoRecord current{state.text, state.anchor, state.caret};
    state.text = state.undo->text;
    state.anchor = state.undo->anchor;
    state.caret = state.undo->caret;
    state.undo = std::move(current);
    state.typingRun = false;
    state.modified = true;
    invalidateLayout(state);
    textChanged(state, true);
}

void setText(EditState& state, const WideString& text) {
    state.text = convertedCase(state, text);
    state.anchor = state.caret = 0;
    state.firstVisibleLine = 0;
    state.horizontalOffset = 0;
    state.undo.reset();
    state.typingRun = false;
    state.modified = false;
    invalidateLayout(state);
    // A multi-line control does not report text set from outside.
    textChanged(state, !isMultiLine(state));
}

// ---- Clipboard ---------------------------------------------------------------------------

void copySelection(EditState& state) {
    if (isPassword(state) || state.anchor == state.caret) return;
    WideString selected = selectedText(state);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (selected.size() + 1) * sizeof(WCHAR));
    if (!memory) return;
    auto* target = static_cast<WCHAR*>(GlobalLock(memory));
    std::copy(selected.begin(), selected.end(), target);
    target[selected.size()] = 0;
    GlobalUnlock(memory);
    if (!OpenClipboard(state.window)) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::optional<WideString> clipboardText(HWND window) {
    if (!OpenClipboard(window)) return std::nullopt;
    std::optional<WideString> text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        const auto* units = static_cast<const WCHAR*>(GlobalLock(memory));
        std::size_t capacity = GlobalSize(memory) / sizeof(WCHAR);
        if (units) text = WideString(units, std::find(units, units + capacity, WCHAR(0)));
        GlobalUnlock(memory);
    }
    CloseClipboard();
    return text;
}

// A single line takes the first line of the clipboard; a multi-line control
// takes every line break as CR LF, whatever the desktop used.
WideString pastedText(const EditState& state, const WideString& text) {
    if (!isMultiLine(state)) return text.substr(0, text.find_first_of(u"\r\n"));
    WideString result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == carriageReturn || text[i] == lineFeed) {
            result += u"\r\n";
            if (text[i] == carriageReturn && i + 1 < text.size() && text[i + 1] == lineFeed) ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

void paste(EditState& state) {
    if (isReadOnly(state)) return;
    std::optional<WideString> text = clipboardText(state.window);
    if (text) replaceSelection(state, pastedText(state, *text), EditKind::Undoable);
}

void clearSelection(EditState& state) {
    if (isReadOnly(state)) return;
    deleteRange(state, selectionStart(state), selectionEnd(state), EditKind::Undoable);
}

void cut(EditState& state) {
    if (isPassword(state)) return;
    copySelection(state);
    clearSelection(state);
}

// ---- Context menu --------------------------------------------------------------------------
// The system's own menu for an edit. Its commands carry the numbers of the messages
// that carry them out, as the system's do.

constexpr UINT SelectAllCommand = EM_SETSEL;
// lParam of a WM_CONTEXTMENU that came from the keyboard.
constexpr LPARAM KeyboardContextMenu = -1;

void appendCommand(HMENU menu, UINT command, const WCHAR* text, bool enabled) {
    AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), command, text);
}

HMENU buildContextMenu(const EditState& state) {
    const bool editable = !isReadOnly(state);
    const bool selected = state.anchor != state.caret;
    const bool everythingSelected = selectionStart(state) == 0 && selectionEnd(state) == textLength(state);
    HMENU menu = CreatePopupMenu();
    appendCommand(menu, WM_UNDO, u"&Undo", editable && state.undo);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    appendCommand(menu, WM_CUT, u"Cu&t", editable && selected && !isPassword(state));
    appendCommand(menu, WM_COPY, u"&Copy", selected && !isPassword(state));
    appendCommand(menu, WM_PASTE, u"&Paste", editable && IsClipboardFormatAvailable(CF_UNICODETEXT));
    appendCommand(menu, WM_CLEAR, u"&Delete", editable && selected);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    appendCommand(menu, SelectAllCommand, u"Select &All", !everythingSelected);
    return menu;
}

// At the pointer, or over the middle of the edit when the keyboard asked.
POINT contextMenuPoint(HWND window, LPARAM lParam) {
    if (lParam != KeyboardContextMenu)
        return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    GetClientRect(window, &client);
    POINT middle{(client.Left + client.Right) / 2, (client.Top + client.Bottom) / 2};
    ClientToScreen(window, &middle);
    return middle;
}

void showContextMenu(EditState& state, LPARAM lParam) {
    const HWND window = state.window;
    if (GetFocus() != window) SetFocus(window);
    const POINT at = contextMenuPoint(window, lParam);
    HMENU menu = buildContextMenu(state);
    const auto command =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                         at.x, at.y, 0, window, nullptr));
    DestroyMenu(menu);
    // The menu's own loop may have seen the edit go.
    if (command == 0 || !IsWindow(window)) return;
    if (command == SelectAllCommand)
        SendMessageW(window, EM_SETSEL, 0, -1);
    else
        SendMessageW(window, command, 0, 0);
}

// ---- Keyboard ------------------------------------------------------------------------------

bool keyHeld(int key) {
    return GetKeyState(key) < 0;
}

void beep() {
    MessageBeep(MB_OK);
}

int lineStartOfCaret(EditState& state) {
    return lineAt(state, lineOfPosition(state, state.caret)).start;
}

int lineEndOfCaret(EditState& state) {
    return lineAt(state, lineOfPosition(state, state.caret)).end();
}

// The position `rows` lines above (negative) or below the caret, as near to its column as the line allows.
int positionRowsAway(EditState& state, int rows) {
    int line = lineOfPosition(state, state.caret);
    int target = std::clamp(line + rows, 0, lineCount(state) - 1);
    if (target == line) return rows < 0 ? lineAt(state, line).start : lineAt(state, line).end();
    TPoint caret = pointOfPosition(state, state.caret);
    return positionAtX(state, target, caret.x);
}

void movePage(EditState& state, int direction, bool extend) {
    int page = visibleLineCount(state) * direction;
    int position = positionRowsAway(state, page);
    scrollTo(state, state.firstVisibleLine + page, state.horizontalOffset);
    moveCaret(state, position, extend);
}

// Left and Right without Shift close a selection at its near end.
void moveSideways(EditState& state, bool forward, bool byWord, bool extend) {
    if (!extend && state.anchor != state.caret && !byWord) {
        moveCaret(state, forward ? selectionEnd(state) : selectionStart(state), false);
        return;
    }
    const WideString& text = state.text;
    int position = byWord
                       ? (forward ? nextWordStart(text, state.caret) : previousWordStart(text, state.caret))
                       : (forward ? nextPosition(text, state.caret) : previousPosition(text, state.caret));
    moveCaret(state, position, extend);
}

void deleteForward(EditState& state) {
    if (isReadOnly(state)) {
        beep();
    } else if (keyHeld(VK_SHIFT)) {
        cut(state);
    } else if (state.anchor != state.caret) {
        clearSelection(state);
    } else {
        deleteRange(state, state.caret, nextPosition(state.text, state.caret), EditKind::Undoable);
    }
}

void keyDown(EditState& state, UINT key) {
    bool shift = keyHeld(VK_SHIFT);
    bool control = keyHeld(VK_CONTROL);
    bool multiLine = isMultiLine(state);
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        moveSideways(state, key == VK_RIGHT, control, shift);
        break;
    case VK_HOME:
        moveCaret(state, control && multiLine ? 0 : lineStartOfCaret(state), shift);
        break;
    case VK_END:
        moveCaret(state, control && multiLine ? textLength(state) : lineEndOfCaret(state), shift);
        break;
    case VK_UP:
    case VK_DOWN:
        if (multiLine)
            moveCaret(state, positionRowsAway(state, key == VK_UP ? -1 : 1), shift);
        else
            moveSideways(state, key == VK_DOWN, false, shift);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (multiLine) movePage(state, key == VK_PRIOR ? -1 : 1, shift);
        break;
    case VK_DELETE:
        deleteForward(state);
        break;
    case VK_INSERT:
        if (control)
            copySelection(state);
        else if (shift)
            paste(state);
        break;
    default:
        break;
    }
}

void backspace(EditState& state) {
    if (state.anchor != state.caret)
        deleteRange(state, selectionStart(state), selectionEnd(state), EditKind::Typing);
    else
        deleteRange(state, previousPosition(state.text, state.caret), state.caret, EditKind::Typing);
}

void typeCharacter(EditState& state, WCHAR character) {
    if (hasStyle(state, ES_NUMBER) && (character < u'0' || character > u'9')) {
        beep();
        return;
    }
    replaceSelection(state, WideString(1, character), EditKind::Typing);
}

// The clipboard and undo keys arrive as control characters.
bool commandCharacter(EditState& state, WCHAR character) {
    switch (character) {
    case copyCharacter:
        copySelection(state);
        return true;
    case pasteCharacter:
        paste(state);
        return true;
    case cutCharacter:
        if (!isReadOnly(state)) cut(state);
        return true;
    case undoCharacter:
        if (!isReadOnly(state)) undo(state);
        return true;
    default:
        return false;
    }
}

void handleCharacter(EditState& state, WCHAR character) {
    if (commandCharacter(state, character)) return;
    bool multiLine = isMultiLine(state);
    bool editing =
        character == backspaceCharacter || character >= firstPrintable ||
        (multiLine && (character == carriageReturn || character == lineFeed || character == tabCharacter));
    if (!editing || character == deleteCharacter) {
        if (character == carriageReturn && !multiLine) beep();
        return;
    }
    if (isReadOnly(state)) {
        beep();
    } else if (character == backspaceCharacter) {
        backspace(state);
    } else if (character == carriageReturn || character == lineFeed) {
        replaceSelection(state, u"\r\n", EditKind::Typing);
    } else {
        typeCharacter(state, character);
    }
}

// Edits keep the arrows and characters; a multi-line control wants every key
// but those that move around a dialog: Tab without Ctrl, Esc, and Enter
// unless ES_WANTRETURN asks for it.
LRESULT dialogCode(EditState& state, const MSG* message) {
    LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    if (!isMultiLine(state)) return code;
    code |= DLGC_WANTALLKEYS;
    if (!message || message->message != WM_KEYDOWN) return code;
    bool wanted = true;
    switch (message->wParam) {
    case VK_RETURN:
        wanted = hasStyle(state, ES_WANTRETURN) || keyHeld(VK_CONTROL);
        break;
    case VK_TAB:
        wanted = keyHeld(VK_CONTROL);
        break;
    case VK_ESCAPE:
        wanted = false;
        break;
    default:
        break;
    }
    return wanted ? code : code & ~DLGC_WANTALLKEYS;
}

// ---- Mouse ----------------------------------------------------------------------------------

POINT pointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void buttonDown(EditState& state, LPARAM lParam) {
    if (!state.focused) SetFocus(state.window);
    if (GetFocus() != state.window) return;
    moveCaret(state, positionFromPoint(state, pointOf(lParam)), keyHeld(VK_SHIFT));
    SetCapture(state.window);
    state.selecting = true;
}

void mouseMove(EditState& state, LPARAM lParam) {
    if (!state.selecting || GetCapture() != state.window) return;
    moveCaret(state, positionFromPoint(state, pointOf(lParam)), true);
}

// What the user selects is offered to the desktop's middle-button paste; a
// password never is.
void offerSelection(EditState& state) {
    if (isPassword(state) || state.anchor == state.caret) return;
    const int start = selectionStart(state);
    OfferSelectedText(state.text.substr(static_cast<std::size_t>(start),
                                        static_cast<std::size_t>(selectionEnd(state) - start)));
}

void buttonUp(EditState& state) {
    if (!state.selecting) return;
    state.selecting = false;
    if (GetCapture() == state.window) ReleaseCapture();
    offerSelection(state);
}

// A double click selects the word under the pointer with the spaces after it.
void selectWord(EditState& state, LPARAM lParam) {
    if (isPassword(state)) {
        select(state, 0, textLength(state));
        return;
    }
    int position = positionFromPoint(state, pointOf(lParam));
    const WideString& text = state.text;
    int length = textLength(state);
    int start = position, end = position;
    while (start > 0 && !isDelimiter(text[start - 1]))
        --start;
    while (end < length && !isDelimiter(text[end]))
        ++end;
    while (end < length && (text[end] == u' ' || text[end] == tabCharacter))
        ++end;
    select(state, start, end);
    scrollCaretIntoView(state);
}

// ---- Scroll bars ------------------------------------------------------------------------------

int scrollTarget(int current, WORD code, int line, int page, int track, int last) {
    switch (code) {
    case SB_LINEUP:
        return current - line;
    case SB_LINEDOWN:
        return current + line;
    case SB_PAGEUP:
        return current - page;
    case SB_PAGEDOWN:
        return current + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return track;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return last;
    default:
        return current;
    }
}

// Where the thumb is: while it is dragged the bar knows its full 32-bit
// position; once dropped the message carries it in 16 bits.
int thumbPosition(HWND window, int bar, WORD code, WPARAM wParam) {
    SCROLLINFO info;
    info.fMask = SIF_TRACKPOS;
    if (code == SB_THUMBTRACK && GetScrollInfo(window, bar, &info)) return info.nTrackPos;
    return HIWORD(wParam);
}

void verticalScroll(EditState& state, WORD code, int track) {
    int target =
        scrollTarget(state.firstVisibleLine, code, 1, visibleLineCount(state), track, lastFirstLine(state));
    scrollTo(state, target, state.horizontalOffset);
}

void horizontalScroll(EditState& state, WORD code, int track) {
    int target = scrollTarget(state.horizontalOffset, code, state.averageCharWidth, formatWidth(state), track,
                              widestHorizontalOffset(state));
    scrollTo(state, state.firstVisibleLine, target);
}

void scrollBarMessage(EditState& state, UINT message, WPARAM wParam) {
    bool vertical = message == WM_VSCROLL;
    WORD code = LOWORD(wParam);
    if (code == SB_ENDSCROLL) return;
    notifyParent(state, vertical ? EN_VSCROLL : EN_HSCROLL);
    if (!IsWindow(state.window)) return;
    int track = thumbPosition(state.window, vertical ? SB_VERT : SB_HORZ, code, wParam);
    if (vertical)
        verticalScroll(state, code, track);
    else
        horizontalScroll(state, code, track);
}

LRESULT mouseWheel(EditState& state, WPARAM wParam, LPARAM lParam) {
    if (!isMultiLine(state)) return DefWindowProcW(state.window, WM_MOUSEWHEEL, wParam, lParam);
    UINT linesPerNotch = defaultWheelLines;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
    int lines = -GET_WHEEL_DELTA_WPARAM(wParam) * static_cast<int>(linesPerNotch) / WHEEL_DELTA;
    scrollTo(state, state.firstVisibleLine + lines, state.horizontalOffset);
    return 0;
}

// ---- Painting -----------------------------------------------------------------------------------

// The parent chooses the colours: WM_CTLCOLORSTATIC for a read-only or disabled control.
HBRUSH backgroundBrush(EditState& state, HDC dc) {
    bool looksStatic = isReadOnly(state) || !IsWindowEnabled(state.window);
    return ControlColourBrush(state.window, dc, looksStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
}

void fillBackground(EditState& state, HDC dc, const RECT& client) {
    if (!state.ownBackground) {
        FillRect(dc, &client, backgroundBrush(state, dc));
        return;
    }
    HBRUSH brush = CreateSolidBrush(state.backgroundColour.value_or(GetSysColor(COLOR_WINDOW)));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
}

struct LineColours {
    COLORREF text = 0;
    bool showSelection = false;
};

void drawRun(HDC dc, const WideString& shown, int start, int end, int x, int top, int height, bool selected,
             const LineColours& colours, const std::vector<int>& pens, int lineStart) {
    int left = x + pens[static_cast<std::size_t>(start - lineStart)];
    if (selected) {
        RECT area{left, top, x + pens[static_cast<std::size_t>(end - lineStart)], top + height};
        FillRect(dc, &area, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colours.text);
    for (int position = start; position < end;) {
        int runEnd = position;
        while (runEnd < end && shown[static_cast<std::size_t>(runEnd - lineStart)] != tabCharacter)
            ++runEnd;
        if (runEnd > position)
            ExtTextOutW(dc, x + pens[static_cast<std::size_t>(position - lineStart)], top, 0, nullptr,
                        shown.data() + (position - lineStart), static_cast<UINT>(runEnd - position), nullptr);
        position = runEnd + 1;
    }
}

void drawLine(EditState& state, HDC dc, int index, const LineColours& colours) {
    const VisualLine& line = lineAt(state, index);
    TextMeasure measure(state);
    WideString shown(static_cast<std::size_t>(line.length), u' ');
    for (int position = line.start; position < line.end(); ++position)
        shown[static_cast<std::size_t>(position - line.start)] = measure.Shown(state.text, position);
    std::vector<int> pens = measure.PenPositions(state.text, line.start, line.end());
    int x = lineLeft(state, index), top = lineTop(state, index);
    int selectedFrom =
        colours.showSelection ? std::clamp(selectionStart(state), line.start, line.end()) : line.end();
    int selectedTo =
        colours.showSelection ? std::clamp(selectionEnd(state), line.start, line.end()) : line.end();
    drawRun(dc, shown, line.start, selectedFrom, x, top, state.lineHeight, false, colours, pens, line.start);
    drawRun(dc, shown, selectedFrom, selectedTo, x, top, state.lineHeight, true, colours, pens, line.start);
    drawRun(dc, shown, selectedTo, line.end(), x, top, state.lineHeight, false, colours, pens, line.start);
}

// Into the DC a parent hands over (a control with child windows paints
// itself that way), else into the window's own update region.
void paint(EditState& state, HDC given) {
    PAINTSTRUCT paintStruct;
    HDC dc = given ? given : BeginPaint(state.window, &paintStruct);
    if (!dc) return;
    const int saved = given ? SaveDC(dc) : 0;
    RECT client = clientRectOf(state);
    fillBackground(state, dc, client);
    bool enabled = IsWindowEnabled(state.window);
    const bool selectionShown = state.selectionShown.value_or(state.focused || hasStyle(state, ES_NOHIDESEL));
    LineColours colours{enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT), enabled && selectionShown};
    HGDIOBJ previousFont = SelectObject(dc, fontOf(state));
    SetBkMode(dc, TRANSPARENT);
    TRect format = formatRectOf(state);
    IntersectClipRect(dc, std::max(format.Left, client.Left), std::max(format.Top, client.Top),
                      std::min(format.Right, client.Right), std::min(format.Bottom, client.Bottom));
    for (int index = state.firstVisibleLine;
         index < lineCount(state) && lineTop(state, index) < client.Bottom; ++index)
        drawLine(state, dc, index, colours);
    SelectObject(dc, previousFont);
    if (given)
        RestoreDC(dc, saved);
    else
        EndPaint(state.window, &paintStruct);
}

// ---- Focus ----------------------------------------------------------------------------------------

void gainFocus(EditState& state) {
    state.focused = true;
    CreateCaret(state.window, nullptr, caretWidth, state.lineHeight);
    placeCaret(state);
    ShowCaret(state.window);
    if (state.anchor != state.caret) repaint(state);
    notifyParent(state, EN_SETFOCUS);
}

void loseFocus(EditState& state) {
    state.focused = false;
    buttonUp(state);
    DestroyCaret();
    if (state.anchor != state.caret) repaint(state);
    notifyParent(state, EN_KILLFOCUS);
}

void setFont(EditState& state, HFONT font, bool redraw) {
    state.font = font;
    loadFontMetrics(state);
    state.leftMargin = state.rightMargin = fontMargin(state);
    if (state.focused) {
        CreateCaret(state.window, nullptr, caretWidth, state.lineHeight);
        placeCaret(state);
        ShowCaret(state.window);
    }
    scrollCaretIntoView(state);
    updateScrollBars(state);
    if (redraw) repaint(state);
}

// ---- The EM_ messages --------------------------------------------------------------------------------

LRESULT getSelection(EditState& state, WPARAM wParam, LPARAM lParam) {
    DWORD start = static_cast<DWORD>(selectionStart(state));
    DWORD end = static_cast<DWORD>(selectionEnd(state));
    if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
    if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
    if (start > 0xFFFF || end > 0xFFFF) return -1;
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end)));
}

int caretLineOrGiven(EditState& state, WPARAM wParam) {
    int given = static_cast<int>(wParam);
    return given == -1 ? lineOfPosition(state, state.caret) : given;
}

LRESULT lineIndex(EditState& state, WPARAM wParam) {
    int line = caretLineOrGiven(state, wParam);
    if (line < 0 || line >= lineCount(state)) return -1;
    return lineAt(state, line).start;
}

// -1: the characters not selected on the lines the selection touches.
LRESULT lineLength(EditState& state, WPARAM wParam) {
    if (!isMultiLine(state)) return textLength(state);
    int position = static_cast<int>(wParam);
    if (position == -1) {
        const VisualLine& first = lineAt(state, lineOfPosition(state, selectionStart(state)));
        const VisualLine& last = lineAt(state, lineOfPosition(state, selectionEnd(state)));
        return (selectionStart(state) - first.start) + (last.end() - selectionEnd(state));
    }
    if (position < 0 || position > textLength(state)) return 0;
    return lineAt(state, lineOfPosition(state, position)).length;
}

// The first 16 bits of the buffer give its size; the line is copied without a terminator.
LRESULT getLine(EditState& state, WPARAM wParam, LPARAM lParam) {
    if (!lParam) return 0;
    auto* buffer = reinterpret_cast<WCHAR*>(lParam);
    std::size_t capacity = *reinterpret_cast<const WORD*>(buffer);
    int line = isMultiLine(state) ? static_cast<int>(wParam) : 0;
    if (line < 0 || line >= lineCount(state)) return 0;
    const VisualLine& found = lineAt(state, line);
    std::size_t copied = std::min(capacity, static_cast<std::size_t>(found.length));
    std::copy_n(state.text.begin() + found.start, copied, buffer);
    return static_cast<LRESULT>(copied);
}

LRESULT lineFromCharacter(EditState& state, WPARAM wParam) {
    int position = static_cast<int>(wParam);
    if (position == -1)
        return lineOfPosition(state, state.anchor != state.caret ? selectionStart(state) : state.caret);
    return lineOfPosition(state, std::clamp(position, 0, textLength(state)));
}

LRESULT setLimit(EditState& state, WPARAM wParam) {
    UINT limit = static_cast<UINT>(wParam);
    state.limit = limit ? limit : (isMultiLine(state) ? unlimitedMultiLine : unlimitedSingleLine);
    return 0;
}

void changeStyle(EditState& state, DWORD bits, bool on) {
    DWORD style = styleOf(state);
    DWORD changed = on ? style | bits : style & ~bits;
    if (changed != style) SetWindowLongPtrW(state.window, GWL_STYLE, static_cast<LONG_PTR>(changed));
}

LRESULT setPasswordCharacter(EditState& state, WPARAM wParam) {
    if (isMultiLine(state)) return 0;
    state.passwordChar = static_cast<WCHAR>(wParam);
    changeStyle(state, ES_PASSWORD, state.passwordChar != 0);
    forgetWidths(state);
    invalidateLayout(state);
    scrollCaretIntoView(state);
    repaint(state);
    return 0;
}

LRESULT setFormatRect(EditState& state, LPARAM lParam, bool redraw) {
    if (lParam)
        state.givenFormatRect = *reinterpret_cast<const RECT*>(lParam);
    else
        state.givenFormatRect.reset();
    invalidateLayout(state);
    scrollCaretIntoView(state);
    updateScrollBars(state);
    if (redraw) repaint(state);
    return 0;
}

LRESULT setMargins(EditState& state, WPARAM wParam, LPARAM lParam) {
    if (wParam == EC_USEFONTINFO) {
        state.leftMargin = state.rightMargin = fontMargin(state);
    } else {
        if (wParam & EC_LEFTMARGIN) state.leftMargin = LOWORD(static_cast<UINT_PTR>(lParam));
        if (wParam & EC_RIGHTMARGIN) state.rightMargin = HIWORD(static_cast<UINT_PTR>(lParam));
    }
    state.givenFormatRect.reset();
    invalidateLayout(state);
    scrollCaretIntoView(state);
    repaint(state);
    return 0;
}

LRESULT packedPoint(int x, int y) {
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
}

LRESULT positionFromCharacter(EditState& state, WPARAM wParam) {
    int position = static_cast<int>(wParam);
    if (position < 0 || position >= textLength(state)) return positionNotFound;
    TPoint point = pointOfPosition(state, position);
    return packedPoint(point.x, point.y);
}

LRESULT characterFromPosition(EditState& state, LPARAM lParam) {
    int line = lineAtY(state, GET_Y_LPARAM(lParam));
    int position = positionAtX(state, line, GET_X_LPARAM(lParam));
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(position), static_cast<WORD>(line)));
}

LRESULT firstVisible(EditState& state) {
    if (isMultiLine(state)) return state.firstVisibleLine;
    return positionAtX(state, 0, formatRectOf(state).Left);
}

LRESULT lineScroll(EditState& state, WPARAM wParam, LPARAM lParam) {
    if (!isMultiLine(state)) return FALSE;
    scrollTo(state, state.firstVisibleLine + static_cast<int>(lParam),
             state.horizontalOffset + static_cast<int>(wParam) * state.averageCharWidth);
    return TRUE;
}

LRESULT scrollByCode(EditState& state, WPARAM wParam) {
    if (!isMultiLine(state)) return FALSE;
    int before = state.firstVisibleLine;
    WORD code = static_cast<WORD>(wParam);
    if (code != SB_LINEUP && code != SB_LINEDOWN && code != SB_PAGEUP && code != SB_PAGEDOWN) return FALSE;
    verticalScroll(state, code, 0);
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(state.firstVisibleLine - before), TRUE));
}

LRESULT getText(EditState& state, WPARAM size, LPARAM buffer) {
    if (!buffer || size == 0) return 0;
    std::size_t copied = std::min(state.text.size(), static_cast<std::size_t>(size - 1));
    auto* target = reinterpret_cast<WCHAR*>(buffer);
    std::copy_n(state.text.begin(), copied, target);
    target[copied] = 0;
    return static_cast<LRESULT>(copied);
}

std::optional<LRESULT> editMessage(EditState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case EM_GETSEL:
        return getSelection(state, wParam, lParam);
    case EM_SETSEL:
        setSelection(state, static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case EM_REPLACESEL:
        replaceSelection(state, lParam ? WideString(reinterpret_cast<const WCHAR*>(lParam)) : WideString(),
                         wParam ? EditKind::Undoable : EditKind::NotUndoable);
        return 0;
    case EM_LINEINDEX:
        return lineIndex(state, wParam);
    case EM_LINELENGTH:
        return lineLength(state, wParam);
    case EM_GETLINE:
        return getLine(state, wParam, lParam);
    case EM_GETLINECOUNT:
        return lineCount(state);
    case EM_LINEFROMCHAR:
        return lineFromCharacter(state, wParam);
    case EM_SETREADONLY:
        changeStyle(state, ES_READONLY, wParam != 0);
        repaint(state);
        return TRUE;
    case EM_LIMITTEXT:
        return setLimit(state, wParam);
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(state.limit);
    case EM_GETMODIFY:
        return state.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
        state.modified = wParam != 0;
        return 0;
    case EM_CANUNDO:
        return state.undo ? TRUE : FALSE;
    case EM_UNDO:
    case WM_UNDO:
        if (!state.undo) return FALSE;
        undo(state);
        return TRUE;
    case EM_EMPTYUNDOBUFFER:
        state.undo.reset();
        state.typingRun = false;
        return 0;
    case EM_SETPASSWORDCHAR:
        return setPasswordCharacter(state, wParam);
    case EM_GETPASSWORDCHAR:
        return state.passwordChar;
    case EM_SETRECT:
    case EM_SETRECTNP:
        return setFormatRect(state, lParam, message == EM_SETRECT);
    case EM_GETRECT:
        if (lParam) *reinterpret_cast<RECT*>(lParam) = formatRectOf(state);
        return 0;
    case EM_SETMARGINS:
        return setMargins(state, wParam, lParam);
    case EM_GETMARGINS:
        return static_cast<LRESULT>(
            MAKELONG(static_cast<WORD>(state.leftMargin), static_cast<WORD>(state.rightMargin)));
    case EM_SCROLLCARET:
        scrollCaretIntoView(state);
        return TRUE;
    case EM_POSFROMCHAR:
        return positionFromCharacter(state, wParam);
    case EM_CHARFROMPOS:
        return characterFromPosition(state, lParam);
    case EM_GETFIRSTVISIBLELINE:
        return firstVisible(state);
    case EM_LINESCROLL:
        return lineScroll(state, wParam, lParam);
    case EM_SCROLL:
        return scrollByCode(state, wParam);
    default:
        return std::nullopt;
    }
}

// ---- The window procedure --------------------------------------------------------------------------

void createState(HWND window, const CREATESTRUCTW& create) {
    auto state = std::make_shared<EditState>();
    state->window = window;
    state->measuring = CreateCompatibleDC(nullptr);
    state->measuringDefaultFont = GetCurrentObject(state->measuring, OBJ_FONT);
    DWORD style = static_cast<DWORD>(create.style);
    if (!(style & ES_MULTILINE) && (style & ES_PASSWORD)) state->passwordChar = defaultPasswordChar;
    loadFontMetrics(*state);
    StateTable& table = stateTable();
    std::lock_guard lock(table.mutex);
    table.states[window] = std::move(state);
}

void destroyState(HWND window) {
    StatePointer state;
    {
        StateTable& table = stateTable();
        std::lock_guard lock(table.mutex);
        auto found = table.states.find(window);
        if (found == table.states.end()) return;
        state = std::move(found->second);
        table.states.erase(found);
    }
    SelectObject(state->measuring, state->measuringDefaultFont);
    DeleteDC(state->measuring);
}

LRESULT initialText(EditState& state, const CREATESTRUCTW& create) {
    if (create.lpszName && !IS_INTRESOURCE(create.lpszName)) {
        state.text = convertedCase(state, create.lpszName);
        invalidateLayout(state);
    }
    return TRUE;
}

std::optional<LRESULT> windowMessage(EditState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        updateScrollBars(state);
        return 0;
    case WM_SETTEXT:
        setText(state, lParam ? WideString(reinterpret_cast<const WCHAR*>(lParam)) : WideString());
        return TRUE;
    case WM_GETTEXT:
        return getText(state, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return textLength(state);
    case WM_SETFONT:
        setFont(state, reinterpret_cast<HFONT>(wParam), LOWORD(static_cast<UINT_PTR>(lParam)) != 0);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state.font);
    case WM_PAINT:
        paint(state, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // WM_PAINT fills the background with the brush the parent chooses.
        return 1;
    case WM_SIZE:
        state.givenFormatRect.reset();
        invalidateLayout(state);
        scrollTo(state, state.firstVisibleLine, state.horizontalOffset);
        updateScrollBars(state);
        repaint(state);
        return 0;
    case WM_SETFOCUS:
        gainFocus(state);
        return 0;
    case WM_KILLFOCUS:
        loseFocus(state);
        return 0;
    case WM_ENABLE:
    case WM_STYLECHANGED:
        invalidateLayout(state);
        repaint(state);
        return 0;
    case WM_KEYDOWN:
        keyDown(state, static_cast<UINT>(wParam));
        if (keyHeld(VK_SHIFT)) offerSelection(state);
        return 0;
    case WM_CHAR:
        handleCharacter(state, static_cast<WCHAR>(wParam));
        return 0;
    case WM_SYSCHAR:
        // Alt+Backspace undoes, as Ctrl+Z does.
        if (wParam != backspaceCharacter) return std::nullopt;
        if (!isReadOnly(state)) undo(state);
        return 0;
    case WM_GETDLGCODE:
        return dialogCode(state, reinterpret_cast<const MSG*>(lParam));
    case WM_LBUTTONDOWN:
        buttonDown(state, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        selectWord(state, lParam);
        offerSelection(state);
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(state, lParam);
        return 0;
    case WM_LBUTTONUP:
        buttonUp(state);
        return 0;
    case WM_CAPTURECHANGED:
        state.selecting = false;
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam) return std::nullopt;
        scrollBarMessage(state, message, wParam);
        return 0;
    case WM_MOUSEWHEEL:
        return mouseWheel(state, wParam, lParam);
    case WM_COPY:
        copySelection(state);
        return 0;
    case WM_CUT:
        if (!isReadOnly(state)) cut(state);
        return 0;
    case WM_PASTE:
        paste(state);
        return 0;
    case WM_CLEAR:
        clearSelection(state);
        return 0;
    case WM_CONTEXTMENU:
        showContextMenu(state, lParam);
        return 0;
    default:
        return editMessage(state, message, wParam, lParam);
    }
}

LRESULT editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        createState(window, create);
        if (!DefWindowProcW(window, message, wParam, lParam)) return FALSE;
        return initialText(*stateOf(window), create);
    }
    if (message == WM_NCDESTROY) {
        destroyState(window);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    StatePointer state = stateOf(window);
    if (state)
        if (std::optional<LRESULT> result = windowMessage(*state, message, wParam, lParam)) return *result;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void PaintEditBackgroundItself(HWND edit, std::optional<COLORREF> colour) {
    StatePointer state = stateOf(edit);
    if (!state) return;
    state->ownBackground = true;
    state->backgroundColour = colour;
    repaint(*state);
}

void FilterEditNotifications(HWND edit, std::function<bool(WORD code)> wanted) {
    StatePointer state = stateOf(edit);
    if (state) state->notificationWanted = std::move(wanted);
}

void ShowEditSelection(HWND edit, bool shown) {
    StatePointer state = stateOf(edit);
    if (!state) return;
    state->selectionShown = shown;
    repaint(*state);
}

void RegisterEditControlClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = WindowProcFromFunction(editProcedure);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
        windowClass.lpszClassName = EditClassName;
        return RegisterSystemClassW(&windowClass) != 0;
    }();
    (void)registered;
}
