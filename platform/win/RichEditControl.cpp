// The rich edit: an EDIT underneath holds and shows the text with CR LF line
// breaks; this layer counts a break as one CR for its callers, adds the rich
// edit's messages, streams, searching, link detection and notifications.
#include "platform/win/RichEditControl.h"

#include "platform/core/CodePages.h"
#include "platform/win/AnsiText.h"
#include "platform/win/Clipboard.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/EditControl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/MessageConversion.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/TextOut.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr WCHAR carriageReturn = u'\r';
constexpr WCHAR lineFeed = u'\n';
// The code page that names UTF-16 in the rich edit's GETTEXTEX and SETTEXTEX.
constexpr UINT unicodeCodePage = 1200;
constexpr int streamChunk = 4096;
constexpr COLORREF linkColour = RGB(0, 0, 255);
constexpr DWORD defaultLimit = 0x7FFFFFFE;
constexpr int twipsPerPoint = 20;
constexpr int twipsPerInch = 1440;
constexpr UINT defaultUndoLimit = 100;
constexpr SHORT maxTabStops = 32;
constexpr DWORD charEffectsMask =
    CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK;
constexpr DWORD paraFormatMask =
    PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET | PFM_ALIGNMENT | PFM_TABSTOPS | PFM_NUMBERING;

PARAFORMAT defaultParaFormat() {
    PARAFORMAT format;
    format.wAlignment = PFA_LEFT;
    return format;
}

const char* const urlPrefixes[] = {"http://", "https://", "ftp://", "mailto:", "file:", "news:", "www."};

WNDPROC editProcedure() {
    static const WNDPROC procedure = [] {
        RegisterStandardControlClasses();
        WNDCLASSEXW info;
        GetClassInfoExW(nullptr, EditClassName, &info);
        return info.lpfnWndProc;
    }();
    return procedure;
}

// CR LF, a lone CR and a lone LF each become CR LF, as the EDIT underneath keeps them.
WideString withCrLf(const WideString& text) {
    WideString result;
    result.reserve(text.size());
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

WideString withCr(const WideString& text) {
    WideString result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == carriageReturn && i + 1 < text.size() && text[i + 1] == lineFeed) ++i;
        result += text[i] == lineFeed ? carriageReturn : text[i];
    }
    return result;
}

bool endsUrl(WCHAR c) {
    return c <= u' ' || c == u'<' || c == u'>' || c == u'"' || c == u'{' || c == u'}' || c == u'|' ||
           c == u'\\' || c == u'^' || c == u'`';
}

bool trailingPunctuation(WCHAR c) {
    return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?' || c == u')' ||
           c == u'\'';
}

bool startsWithIgnoringCase(const WideString& text, std::size_t at, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    if (at + length > text.size()) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (WideCharLower(text[at + i]) != static_cast<WCHAR>(prefix[i])) return false;
    return true;
}

// The addresses in a text: a known scheme or "www." at the start of a word, up to a space or delimiter.
std::vector<CHARRANGE> findUrls(const WideString& text) {
    std::vector<CHARRANGE> links;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at > 0 && !endsUrl(text[at - 1]) && text[at - 1] != u'(') continue;
        bool found = false;
        for (const char* prefix : urlPrefixes)
            if (startsWithIgnoringCase(text, at, prefix)) found = true;
        if (!found) continue;
        std::size_t end = at;
        while (end < text.size() && !endsUrl(text[end]))
            ++end;
        while (end > at && trailingPunctuation(text[end - 1]))
            --end;
        links.push_back({static_cast<LONG>(at), static_cast<LONG>(end)});
        at = end;
    }
    return links;
}

// ---- RTF ----

bool isDestinationToSkip(const AnsiString& word) {
    static const char* const skipped[] = {
        "fonttbl",   "colortbl",          "stylesheet", "info",      "pict",      "header",
        "footer",    "headerl",           "headerr",    "footerl",   "footerr",   "object",
        "listtable", "listoverridetable", "rsidtbl",    "generator", "themedata", "xmlnstbl"};
    return std::any_of(std::begin(skipped), std::end(skipped),
                       [&](const char* name) { return word == name; });
}

class RtfReader {
public:
    explicit RtfReader(const AnsiString& rtf) : rtf_(rtf) {}

    WideString Read() {
        std::vector<Group> groups{Group{}};
        while (at_ < rtf_.size()) {
            const char c = rtf_[at_++];
            if (c == '{') {
                groups.push_back(groups.back());
                groups.back().starDestination = false;
            } else if (c == '}') {
                if (groups.size() > 1) groups.pop_back();
            } else if (c == '\\') {
                controlWord(groups.back());
            } else if (c != '\r' && c != '\n') {
                emit(groups.back(), WideFromAnsiChar(static_cast<Byte>(c)));
            }
        }
        if (!text_.empty() && text_.back() == carriageReturn) text_.pop_back();
        return text_;
    }

private:
    struct Group {
        bool skip = false;
        bool starDestination = false;
        int unicodeSkip = 1;
    };

    void emit(const Group& group, WCHAR c) {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (!group.skip) text_ += c;
    }

    void controlWord(Group& group) {
        if (at_ >= rtf_.size()) return;
        const char first = rtf_[at_];
        if (first == '\\' || first == '{' || first == '}') {
            ++at_;
            emit(group, static_cast<WCHAR>(first));
            return;
        }
        if (first == '*') {
            ++at_;
            group.starDestination = true;
            group.skip = true;
            return;
        }
        if (first == '\'') {
            ++at_;
            const AnsiString hex = rtf_.substr(at_, 2);
            at_ += hex.size();
            emit(group, WideFromAnsiChar(static_cast<Byte>(std::strtol(hex.c_str(), nullptr, 16))));
            return;
        }
        if (!std::isalpha(static_cast<unsigned char>(first))) {
            ++at_;
            if (first == '~') emit(group, u'\u00A0');
            return;
        }
        AnsiString word;
        while (at_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[at_])))
            word += rtf_[at_++];
        std::optional<long> parameter;
        if (at_ < rtf_.size() && (rtf_[at_] == '-' || std::isdigit(static_cast<unsigned char>(rtf_[at_])))) {
            const std::size_t start = at_++;
            while (at_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[at_])))
                ++at_;
            parameter = std::strtol(rtf_.substr(start, at_ - start).c_str(), nullptr, 10);
        }
        if (at_ < rtf_.size() && rtf_[at_] == ' ') ++at_;
        apply(group, word, parameter);
    }

    void apply(Group& group, const AnsiString& word, std::optional<long> parameter) {
        if (isDestinationToSkip(word)) {
            group.skip = true;
        } else if (word == "par" || word == "line") {
            emit(group, carriageReturn);
        } else if (word == "tab") {
            emit(group, u'\t');
        } else if (word == "uc" && parameter) {
            group.unicodeSkip = static_cast<int>(*parameter);
        } else if (word == "u" && parameter) {
            long value = *parameter;
            if (value < 0) value += 0x10000;
            emit(group, static_cast<WCHAR>(value));
            pendingSkip_ = group.unicodeSkip;
        } else if (word == "emdash") {
            emit(group, u'\u2014');
        } else if (word == "endash") {
            emit(group, u'\u2013');
        } else if (word == "bullet") {
            emit(group, u'\u2022');
        }
    }

    const AnsiString& rtf_;
    std::size_t at_ = 0;
    WideString text_;
    int pendingSkip_ = 0;
};

// A minimal RTF document of a text in one font.
AnsiString rtfOf(const WideString& text, const AnsiString& face, int points) {
    AnsiString rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 " + face + ";}}\\f0\\fs" +
                     std::to_string(points * 2) + " ";
    for (WCHAR c : text) {
        if (c == carriageReturn)
            rtf += "\\par\r\n";
        else if (c == u'\t')
            rtf += "\\tab ";
        else if (c == u'\\' || c == u'{' || c == u'}')
            rtf += AnsiString("\\") + static_cast<char>(c);
        else if (c < 0x80)
            rtf += static_cast<char>(c);
        else {
            const AnsiString ansi = WideToAnsi(WideString(1, c));
            if (ansi != "?") {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned>(static_cast<Byte>(ansi[0])));
                rtf += hex;
            } else {
                rtf += "\\u" + std::to_string(static_cast<short>(c)) + "?";
            }
        }
    }
    return rtf + "}";
}

class RichEdit : public CommonControl {
public:
    RichEdit(HWND window, bool ansiClass) : CommonControl(window), ansiClass_(ansiClass) {}

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (const std::optional<LRESULT> filtered = messageFilter(message, wParam, lParam)) return *filtered;
        if (const std::optional<LRESULT> link = linkMessage(message, wParam, lParam)) return *link;
        const CHARRANGE before = selection();
        const LRESULT result = richMessage(message, wParam, lParam);
        if (changesSelection(message)) notifySelectionChange(before);
        if (undoLimit_ == 0) edit(EM_EMPTYUNDOBUFFER, 0, 0);
        return result;
    }

private:
    LRESULT edit(UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcW(editProcedure(), Window(), message, wParam, lParam);
    }

    LRESULT richMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        // The rich edit has no menu of its own, unlike the edit: the request goes on to the parent.
        case WM_CONTEXTMENU:
            return DefWindowProcW(Window(), message, wParam, lParam);
        case WM_NCCREATE: {
            const LRESULT created = edit(message, wParam, lParam);
            if (created) {
                PaintEditBackgroundItself(Window(), std::nullopt);
                // The rich edit reports text changes only when its event mask asks for them.
                FilterEditNotifications(Window(), [this](WORD code) {
                    if (code == EN_CHANGE) return (eventMask_ & ENM_CHANGE) != 0;
                    if (code == EN_UPDATE) return (eventMask_ & ENM_UPDATE) != 0;
                    return true;
                });
            }
            return created;
        }
        // ---- Text ----
        case WM_SETTEXT: {
            // A text that is an RTF document is read for the text it holds.
            WideString incoming = TextOf(reinterpret_cast<const WCHAR*>(lParam));
            const bool rtf = IsRtf(WideToAnsi(incoming));
            if (rtf) incoming = PlainTextOfRtf(WideToAnsi(incoming));
            const WideString text = withCrLf(incoming);
            const LRESULT result = edit(WM_SETTEXT, wParam, reinterpret_cast<LPARAM>(text.c_str()));
            exactText_ = rtf ? std::nullopt : std::optional<WideString>(incoming);
            return result;
        }
        case WM_GETTEXT:
            return CopyText(textAsSet(), reinterpret_cast<WCHAR*>(lParam), static_cast<int>(wParam));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(textAsSet().size());
        case EM_REPLACESEL: {
            const WideString incoming = TextOf(reinterpret_cast<const WCHAR*>(lParam));
            std::optional<WideString> exact = exactAfterReplacing(incoming);
            const WideString text = withCrLf(incoming);
            const LRESULT result = edit(EM_REPLACESEL, wParam, reinterpret_cast<LPARAM>(text.c_str()));
            exactText_ = std::move(exact);
            return result;
        }
        case EM_GETTEXTEX:
            return getTextEx(reinterpret_cast<const GETTEXTEX*>(wParam), lParam);
        case EM_GETTEXTLENGTHEX:
            return getTextLengthEx(reinterpret_cast<const GETTEXTLENGTHEX*>(wParam));
        case EM_SETTEXTEX:
            return setTextEx(reinterpret_cast<const SETTEXTEX*>(wParam), lParam);
        case EM_GETSELTEXT:
            return copyOut(selectedText(), lParam, std::numeric_limits<int>::max());
        case EM_GETTEXTRANGE:
            return getTextRange(lParam);
        case EM_STREAMIN:
            return streamIn(static_cast<UINT>(wParam), reinterpret_cast<EDITSTREAM*>(lParam));
        case EM_STREAMOUT:
            return streamOut(static_cast<UINT>(wParam), reinterpret_cast<EDITSTREAM*>(lParam));
        case EM_FINDTEXT:
            return ansiClass_ ? findText(reinterpret_cast<const FINDTEXTA*>(lParam),
                                         static_cast<UINT>(wParam), nullptr)
                              : findText(reinterpret_cast<const FINDTEXTW*>(lParam),
                                         static_cast<UINT>(wParam), nullptr);
        case EM_FINDTEXTW:
            return findText(reinterpret_cast<const FINDTEXTW*>(lParam), static_cast<UINT>(wParam), nullptr);
        case EM_FINDTEXTEX:
        case EM_FINDTEXTEXW:
            return findTextEx(message, static_cast<UINT>(wParam), lParam);
        // ---- Positions, counted with one CR per break ----
        case EM_EXGETSEL:
            if (lParam) *reinterpret_cast<CHARRANGE*>(lParam) = selection();
            return 0;
        case EM_EXSETSEL: {
            if (!lParam) return 0;
            const CHARRANGE range = *reinterpret_cast<const CHARRANGE*>(lParam);
            setSelection(range.cpMin, range.cpMax);
            return selection().cpMax;
        }
        case EM_GETSEL: {
            const CHARRANGE range = selection();
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(range.cpMin);
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(range.cpMax);
            return MAKELONG(static_cast<WORD>(range.cpMin), static_cast<WORD>(range.cpMax));
        }
        case EM_SETSEL:
            setSelection(static_cast<LONG>(wParam), static_cast<LONG>(lParam));
            return 0;
        case EM_LINEINDEX: {
            const LRESULT index = edit(EM_LINEINDEX, wParam, 0);
            return index < 0 ? index : toRich(static_cast<LONG>(index));
        }
        case EM_LINEFROMCHAR:
        case EM_EXLINEFROMCHAR: {
            const auto position =
                static_cast<LONG>(message == EM_EXLINEFROMCHAR ? lParam : static_cast<LPARAM>(wParam));
            return edit(EM_LINEFROMCHAR,
                        position < 0 ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(toEdit(position)), 0);
        }
        case EM_LINELENGTH: {
            const auto position = static_cast<LONG>(wParam);
            return edit(EM_LINELENGTH,
                        position < 0 ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(toEdit(position)), 0);
        }
        case EM_POSFROMCHAR: {
            // The rich edit's form: the point in wParam, the character in lParam.
            if (!wParam) return 0;
            const LRESULT packed =
                edit(EM_POSFROMCHAR, static_cast<WPARAM>(toEdit(static_cast<LONG>(lParam))), 0);
            *reinterpret_cast<POINT*>(wParam) = {static_cast<SHORT>(LOWORD(packed)),
                                                 static_cast<SHORT>(HIWORD(packed))};
            return 0;
        }
        case EM_CHARFROMPOS: {
            if (!lParam) return 0;
            const POINT point = *reinterpret_cast<const POINT*>(lParam);
            const LRESULT packed =
                edit(EM_CHARFROMPOS, 0, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
            return toRich(LOWORD(packed));
        }
        case EM_EXLIMITTEXT:
            return edit(EM_LIMITTEXT, static_cast<WPARAM>(lParam ? lParam : defaultLimit), 0);
        case EM_SELECTIONTYPE: {
            const CHARRANGE range = selection();
            return range.cpMin == range.cpMax ? SEL_EMPTY : SEL_TEXT;
        }
        // ---- Settings ----
        case EM_GETEVENTMASK:
            return eventMask_;
        case EM_SETEVENTMASK:
            return std::exchange(eventMask_, static_cast<DWORD>(lParam));
        case EM_AUTOURLDETECT:
            autoUrlDetect_ = wParam != 0;
            Invalidate();
            return 0;
        case EM_GETAUTOURLDETECT:
            return autoUrlDetect_;
        case EM_SETEDITSTYLE: {
            editStyle_ = (editStyle_ & ~static_cast<DWORD>(lParam)) |
                         (static_cast<DWORD>(wParam) & static_cast<DWORD>(lParam));
            return editStyle_;
        }
        case EM_GETEDITSTYLE:
            return editStyle_;
        case EM_SETTEXTMODE:
            textMode_ = static_cast<int>(wParam);
            return 0;
        case EM_GETTEXTMODE:
            return textMode_;
        case EM_SETBKGNDCOLOR:
            return setBackground(wParam != 0, static_cast<COLORREF>(lParam));
        case EM_HIDESELECTION:
            ShowEditSelection(Window(), wParam == 0);
            return 0;
        // Formats are kept and handed back; the text shows in the control's font.
        case EM_SETCHARFORMAT:
            return setCharFormat(lParam);
        case EM_GETCHARFORMAT:
            return getCharFormat(reinterpret_cast<CHARFORMATW*>(lParam));
        case EM_SETPARAFORMAT:
            return setParaFormat(reinterpret_cast<const PARAFORMAT*>(lParam));
        case EM_GETPARAFORMAT:
            return getParaFormat(reinterpret_cast<PARAFORMAT*>(lParam));
        case EM_SETTARGETDEVICE:
            setWordWrap(lParam == 0);
            return TRUE;
        case EM_FORMATRANGE:
            return lParam ? formatRange(wParam != 0, *reinterpret_cast<const FORMATRANGE*>(lParam)) : 0;
        case EM_CANPASTE:
            return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
        case EM_CANREDO:
        case EM_REDO:
            return FALSE;
        // Undo keeps one step; a limit of 0 turns it off.
        case EM_SETUNDOLIMIT:
            undoLimit_ = static_cast<UINT>(wParam);
            return static_cast<LRESULT>(undoLimit_);
        // ---- Window messages ----
        case WM_PAINT:
            edit(message, wParam, lParam);
            paintLinks();
            return 0;
        default:
            return edit(message, wParam, lParam);
        }
    }

    // ---- Text and positions ----

    WideString editText() {
        const auto length = static_cast<int>(edit(WM_GETTEXTLENGTH, 0, 0));
        WideString text(static_cast<std::size_t>(length) + 1, u'\0');
        edit(WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        return text;
    }

    WideString text() { return withCr(editText()); }

    // Lays whole lines of the range out from the top of the rectangle (in
    // twips) in the control's font, as many as fit and at least one; draws
    // them when asked to. The position after the last character laid out.
    // Long lines are cut at the rectangle's edge, not wrapped.
    LRESULT formatRange(bool render, const FORMATRANGE& range) {
        const WideString all = text();
        const auto length = static_cast<LONG>(all.size());
        const LONG end = range.chrg.cpMax < 0 ? length : std::min(range.chrg.cpMax, length);
        LONG at = std::clamp<LONG>(range.chrg.cpMin, 0, length);
        if (at >= end) return at;
        HDC dc = range.hdc;
        const HGDIOBJ previousFont = SelectObject(dc, Font());
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        const int lineHeight = std::max<int>(metrics.tmHeight, 1);
        const auto pixels = [&](LONG twips, int index) {
            return static_cast<int>(static_cast<long long>(twips) * GetDeviceCaps(dc, index) / twipsPerInch);
        };
        const RECT area{pixels(range.rc.Left, LOGPIXELSX), pixels(range.rc.Top, LOGPIXELSY),
                        pixels(range.rc.Right, LOGPIXELSX), pixels(range.rc.Bottom, LOGPIXELSY)};
        int y = area.Top;
        do {
            const std::size_t lineEnd = std::min<std::size_t>(all.find(carriageReturn, static_cast<std::size_t>(at)),
                                                              static_cast<std::size_t>(end));
            if (render)
                ExtTextOutW(dc, area.Left, y, ETO_CLIPPED, &area, all.c_str() + at,
                            static_cast<UINT>(lineEnd - static_cast<std::size_t>(at)), nullptr);
            at = static_cast<LONG>(std::min<std::size_t>(lineEnd + 1, static_cast<std::size_t>(end)));
            y += lineHeight;
        } while (at < end && y + lineHeight <= area.Bottom);
        SelectObject(dc, previousFont);
        return at;
    }

    // The text exactly as it was set, while the window's text still is that
    // text (no edit since changed it); null once it is not.
    const WideString* exactText() {
        if (exactText_ && withCrLf(*exactText_) != editText()) exactText_.reset();
        return exactText_ ? &*exactText_ : nullptr;
    }

    // What the text messages hand back: the text as set, else one CR per break.
    WideString textAsSet() {
        const WideString* exact = exactText();
        return exact ? *exact : text();
    }

    // Where a position counted with one character per break lies in the text as set.
    static std::size_t exactOffset(const WideString& exact, LONG position) {
        std::size_t at = 0;
        for (LONG rich = 0; at < exact.size() && rich < position; ++rich)
            at += exact.compare(at, 2, u"\r\n") == 0 ? 2 : 1;
        return at;
    }

    // The text as set with the selection replaced, when there is one to keep.
    std::optional<WideString> exactAfterReplacing(const WideString& incoming) {
        const WideString* exact = exactText();
        if (!exact) return std::nullopt;
        const CHARRANGE range = selection();
        const std::size_t start = exactOffset(*exact, range.cpMin);
        const std::size_t end = exactOffset(*exact, range.cpMax);
        return exact->substr(0, start) + incoming + exact->substr(end);
    }

    // A position counting CR LF as two (the EDIT's) from one counting it as one, and back.
    LONG toEdit(LONG position) {
        const WideString text = editText();
        LONG rich = 0;
        std::size_t at = 0;
        while (at < text.size() && rich < position) {
            at += text.compare(at, 2, u"\r\n") == 0 ? 2 : 1;
            ++rich;
        }
        return static_cast<LONG>(at);
    }

    LONG toRich(LONG position) {
        const WideString text = editText();
        LONG rich = 0;
        for (std::size_t at = 0; at < text.size() && static_cast<LONG>(at) < position;) {
            at += text.compare(at, 2, u"\r\n") == 0 ? 2 : 1;
            ++rich;
        }
        return rich;
    }

    CHARRANGE selection() {
        DWORD start = 0;
        DWORD end = 0;
        edit(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {toRich(static_cast<LONG>(start)), toRich(static_cast<LONG>(end))};
    }

    // -1 as the end selects to the end of the text; a start of -1 removes the selection.
    void setSelection(LONG start, LONG end) {
        const auto length = static_cast<LONG>(text().size());
        if (start < 0) {
            const CHARRANGE current = selection();
            start = end = current.cpMax;
        }
        if (end < 0) end = length;
        start = std::clamp<LONG>(start, 0, length);
        end = std::clamp<LONG>(end, 0, length);
        edit(EM_SETSEL, static_cast<WPARAM>(toEdit(start)), toEdit(end));
    }

    WideString selectedText() {
        const CHARRANGE range = selection();
        return text().substr(static_cast<std::size_t>(range.cpMin),
                             static_cast<std::size_t>(range.cpMax - range.cpMin));
    }

    // Copies into an ANSI or UTF-16 buffer as the class speaks; no size given means as long as the text.
    LRESULT copyOut(const WideString& text, LPARAM buffer, int size) {
        if (!buffer) return 0;
        const int room = size == std::numeric_limits<int>::max() ? static_cast<int>(text.size()) + 1 : size;
        return ansiClass_ ? CopyText(text, reinterpret_cast<char*>(buffer), room)
                          : CopyText(text, reinterpret_cast<WCHAR*>(buffer), room);
    }

    LRESULT getTextRange(LPARAM lParam) {
        if (!lParam) return 0;
        const auto* range = reinterpret_cast<const TEXTRANGEW*>(lParam);
        const WideString whole = text();
        const auto length = static_cast<LONG>(whole.size());
        const LONG start = std::clamp<LONG>(range->chrg.cpMin, 0, length);
        const LONG end = range->chrg.cpMax < 0 ? length : std::clamp<LONG>(range->chrg.cpMax, start, length);
        return copyOut(whole.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)),
                       reinterpret_cast<LPARAM>(range->lpstrText), std::numeric_limits<int>::max());
    }

    LRESULT getTextEx(const GETTEXTEX* request, LPARAM buffer) {
        if (!request || !buffer || request->cb == 0) return 0;
        WideString result = (request->flags & GT_SELECTION) ? selectedText() : textAsSet();
        if (request->flags & GT_USECRLF) result = withCrLf(result);
        if (request->codepage == unicodeCodePage)
            return CopyText(result, reinterpret_cast<WCHAR*>(buffer),
                            static_cast<int>(request->cb / sizeof(WCHAR)));
        return CopyText(result, reinterpret_cast<char*>(buffer), static_cast<int>(request->cb));
    }

    LRESULT getTextLengthEx(const GETTEXTLENGTHEX* request) {
        WideString result = textAsSet();
        if (request && (request->flags & GTL_USECRLF)) result = withCrLf(result);
        if (request && (request->flags & GTL_NUMBYTES) && request->codepage == unicodeCodePage)
            return static_cast<LRESULT>(result.size() * sizeof(WCHAR));
        return static_cast<LRESULT>(result.size());
    }

    // RTF is read as the plain text it holds; anything else is text in the code page given.
    LRESULT setTextEx(const SETTEXTEX* request, LPARAM lParam) {
        const UINT codePage = request ? request->codepage : CP_ACP;
        WideString incoming;
        if (lParam) {
            if (codePage == unicodeCodePage) {
                incoming = reinterpret_cast<const WCHAR*>(lParam);
            } else {
                const AnsiString bytes = reinterpret_cast<const char*>(lParam);
                incoming = IsRtf(bytes) ? PlainTextOfRtf(bytes) : CodePageToWide(bytes, codePage);
            }
        }
        const bool rtf = IsRtf(codePage == unicodeCodePage
                                   ? WideToAnsi(incoming)
                                   : AnsiString(lParam ? reinterpret_cast<const char*>(lParam) : ""));
        if (codePage == unicodeCodePage && rtf) incoming = PlainTextOfRtf(WideToAnsi(incoming));
        const bool selectionOnly = request && (request->flags & ST_SELECTION);
        std::optional<WideString> exact = rtf             ? std::nullopt
                                          : selectionOnly ? exactAfterReplacing(incoming)
                                                          : std::optional<WideString>(incoming);
        putText(incoming, selectionOnly);
        exactText_ = std::move(exact);
        return 1;
    }

    void putText(const WideString& incoming, bool selectionOnly) {
        const WideString text = withCrLf(incoming);
        if (selectionOnly)
            edit(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        else
            edit(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    LRESULT streamIn(UINT format, EDITSTREAM* stream) {
        if (!stream || !stream->pfnCallback) return 0;
        AnsiString bytes;
        std::vector<BYTE> chunk(streamChunk);
        for (;;) {
            LONG done = 0;
            stream->dwError = stream->pfnCallback(stream->dwCookie, chunk.data(), streamChunk, &done);
            if (stream->dwError != 0 || done <= 0) break;
            bytes.append(reinterpret_cast<const char*>(chunk.data()), static_cast<std::size_t>(done));
        }
        WideString incoming;
        if ((format & SF_RTF) || IsRtf(bytes)) {
            incoming = PlainTextOfRtf(bytes);
        } else if (format & SF_UNICODE) {
            incoming.assign(reinterpret_cast<const WCHAR*>(bytes.data()), bytes.size() / sizeof(WCHAR));
        } else {
            incoming = AnsiToWide(bytes);
        }
        putText(incoming, (format & SFF_SELECTION) != 0);
        return static_cast<LRESULT>(withCr(incoming).size());
    }

    LRESULT streamOut(UINT format, EDITSTREAM* stream) {
        if (!stream || !stream->pfnCallback) return 0;
        const WideString source = (format & SFF_SELECTION) ? selectedText() : text();
        AnsiString bytes;
        if (format & SF_RTF) {
            LOGFONTW font{};
            GetObjectW(Font(), sizeof font, &font);
            bytes = rtfOf(source, WideToAnsi(font.lfFaceName),
                          std::max(1, static_cast<int>(std::abs(font.lfHeight) * 72 / 96)));
        } else if (format & SF_UNICODE) {
            const WideString lines = withCrLf(source);
            bytes.assign(reinterpret_cast<const char*>(lines.data()), lines.size() * sizeof(WCHAR));
        } else {
            bytes = WideToAnsi(withCrLf(source));
        }
        std::size_t written = 0;
        while (written < bytes.size()) {
            LONG done = 0;
            const auto count = static_cast<LONG>(std::min<std::size_t>(streamChunk, bytes.size() - written));
            stream->dwError = stream->pfnCallback(
                stream->dwCookie, reinterpret_cast<BYTE*>(bytes.data() + written), count, &done);
            if (stream->dwError != 0 || done <= 0) break;
            written += static_cast<std::size_t>(done);
        }
        return static_cast<LRESULT>(source.size());
    }

    template <typename Char> LRESULT findText(const FINDTEXT_T<Char>* request, UINT flags, CHARRANGE* found) {
        if (!request || !request->lpstrText) return -1;
        const WideString wanted = TextOf(request->lpstrText);
        const WideString whole = text();
        if (wanted.empty()) return -1;
        const auto length = static_cast<LONG>(whole.size());
        const bool down = (flags & FR_DOWN) != 0;
        LONG from = std::clamp<LONG>(request->chrg.cpMin, 0, length);
        LONG to =
            request->chrg.cpMax < 0 ? (down ? length : 0) : std::clamp<LONG>(request->chrg.cpMax, 0, length);
        const LONG low = std::min(from, to);
        const LONG high = std::max(from, to);
        const auto last = high - static_cast<LONG>(wanted.size());
        for (LONG step = 0; step <= last - low; ++step) {
            const LONG at = down ? low + step : last - step;
            if (!matchesAt(whole, wanted, at, flags)) continue;
            if (found) *found = {at, at + static_cast<LONG>(wanted.size())};
            return at;
        }
        return -1;
    }

    static bool isWordCharacter(WCHAR c) {
        return (WideCharType(c, CT_CTYPE1) & (C1_ALPHA | C1_DIGIT)) != 0 || c == u'_';
    }

    static bool matchesAt(const WideString& whole, const WideString& wanted, LONG at, UINT flags) {
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            WCHAR a = whole[static_cast<std::size_t>(at) + i];
            WCHAR b = wanted[i];
            if (!(flags & FR_MATCHCASE)) {
                a = WideCharLower(a);
                b = WideCharLower(b);
            }
            if (a != b) return false;
        }
        if (!(flags & FR_WHOLEWORD)) return true;
        const std::size_t end = static_cast<std::size_t>(at) + wanted.size();
        return (at == 0 || !isWordCharacter(whole[static_cast<std::size_t>(at) - 1])) &&
               (end >= whole.size() || !isWordCharacter(whole[end]));
    }

    LRESULT findTextEx(UINT message, UINT flags, LPARAM lParam) {
        if (!lParam) return -1;
        if (message == EM_FINDTEXTEX && ansiClass_) {
            auto* request = reinterpret_cast<FINDTEXTEXA*>(lParam);
            FINDTEXTA plain{request->chrg, request->lpstrText};
            return findText(&plain, flags, &request->chrgText);
        }
        auto* request = reinterpret_cast<FINDTEXTEXW*>(lParam);
        FINDTEXTW plain{request->chrg, request->lpstrText};
        return findText(&plain, flags, &request->chrgText);
    }

    // The colour given, or the system's window colour (wParam non-zero); the previous one back.
    LRESULT setBackground(bool systemColour, COLORREF colour) {
        const COLORREF previous = backgroundColour_.value_or(GetSysColor(COLOR_WINDOW));
        backgroundColour_ = systemColour ? std::nullopt : std::optional<COLORREF>(colour);
        PaintEditBackgroundItself(Window(), backgroundColour_);
        return static_cast<LRESULT>(previous);
    }

    // The fields the mask names replace the kept ones (for SCF_DEFAULT,
    // SCF_SELECTION and SCF_ALL alike: there are no runs of their own here).
    LRESULT setCharFormat(LPARAM lParam) {
        if (!lParam) return FALSE;
        const auto* given = reinterpret_cast<const CHARFORMATW*>(lParam);
        const DWORD mask = given->dwMask;
        const DWORD effects = mask & charEffectsMask;
        keptChar_.dwEffects = (keptChar_.dwEffects & ~effects) | (given->dwEffects & effects);
        if (mask & CFM_COLOR) {
            keptChar_.dwEffects = (keptChar_.dwEffects & ~CFE_AUTOCOLOR) | (given->dwEffects & CFE_AUTOCOLOR);
            keptChar_.crTextColor = given->crTextColor;
        }
        if (mask & CFM_SIZE) keptChar_.yHeight = given->yHeight;
        if (mask & CFM_OFFSET) keptChar_.yOffset = given->yOffset;
        if (mask & CFM_CHARSET) keptChar_.bCharSet = given->bCharSet;
        if (mask & CFM_FACE) {
            keptFace_ = ansiClass_ ? AnsiToWide(reinterpret_cast<const CHARFORMATA*>(given)->szFaceName)
                                   : WideString(given->szFaceName);
            keptChar_.bPitchAndFamily = given->bPitchAndFamily;
        }
        keptChar_.dwMask |= mask;
        return TRUE;
    }

    LRESULT setParaFormat(const PARAFORMAT* given) {
        if (!given) return FALSE;
        const DWORD mask = given->dwMask;
        if (mask & PFM_NUMBERING) keptPara_.wNumbering = given->wNumbering;
        if (mask & PFM_STARTINDENT) keptPara_.dxStartIndent = given->dxStartIndent;
        if (mask & PFM_OFFSETINDENT) keptPara_.dxStartIndent += given->dxStartIndent;
        if (mask & PFM_RIGHTINDENT) keptPara_.dxRightIndent = given->dxRightIndent;
        if (mask & PFM_OFFSET) keptPara_.dxOffset = given->dxOffset;
        if (mask & PFM_ALIGNMENT) keptPara_.wAlignment = given->wAlignment;
        if (mask & PFM_TABSTOPS) {
            keptPara_.cTabCount = std::clamp<SHORT>(given->cTabCount, 0, maxTabStops);
            std::copy_n(given->rgxTabs, keptPara_.cTabCount, keptPara_.rgxTabs);
        }
        keptPara_.dwMask |= mask & ~PFM_OFFSETINDENT;
        return TRUE;
    }

    LRESULT getParaFormat(PARAFORMAT* format) {
        if (!format) return 0;
        const UINT size = format->cbSize;
        *format = keptPara_;
        format->cbSize = size;
        format->dwMask = paraFormatMask;
        return paraFormatMask;
    }

    // The control's font, with the kept fields over it.
    LRESULT getCharFormat(CHARFORMATW* format) {
        if (!fontCharFormat(format)) return 0;
        const DWORD kept = keptChar_.dwMask;
        const DWORD effects = kept & charEffectsMask;
        format->dwEffects = (format->dwEffects & ~effects) | (keptChar_.dwEffects & effects);
        if (kept & CFM_COLOR) {
            format->dwEffects = (format->dwEffects & ~CFE_AUTOCOLOR) | (keptChar_.dwEffects & CFE_AUTOCOLOR);
            format->crTextColor = keptChar_.crTextColor;
        }
        if (kept & CFM_SIZE) format->yHeight = keptChar_.yHeight;
        if (kept & CFM_OFFSET) format->yOffset = keptChar_.yOffset;
        if (kept & CFM_CHARSET) format->bCharSet = keptChar_.bCharSet;
        if (kept & CFM_FACE) {
            format->bPitchAndFamily = keptChar_.bPitchAndFamily;
            putFace(format, keptFace_);
        }
        format->dwMask |= kept;
        return format->dwMask;
    }

    // The face name sits where both layouts put it; an ANSI caller gets it in its form.
    void putFace(CHARFORMATW* format, const WideString& face) {
        if (ansiClass_)
            CopyText(face, reinterpret_cast<CHARFORMATA*>(format)->szFaceName, LF_FACESIZE);
        else
            CopyText(face, format->szFaceName, LF_FACESIZE);
    }

    bool fontCharFormat(CHARFORMATW* format) {
        if (!format) return false;
        LOGFONTW font{};
        GetObjectW(Font(), sizeof font, &font);
        format->dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_SIZE | CFM_FACE | CFM_COLOR;
        format->dwEffects = CFE_AUTOCOLOR | (font.lfWeight >= FW_BOLD ? CFE_BOLD : 0) |
                            (font.lfItalic ? CFE_ITALIC : 0) | (font.lfUnderline ? CFE_UNDERLINE : 0);
        format->yHeight = std::abs(font.lfHeight) * 72 / 96 * twipsPerPoint;
        format->crTextColor = GetSysColor(COLOR_WINDOWTEXT);
        putFace(format, font.lfFaceName);
        return true;
    }

    void setWordWrap(bool wrap) {
        const DWORD style = Style();
        const DWORD updated = wrap ? style & ~(ES_AUTOHSCROLL | WS_HSCROLL) : style | ES_AUTOHSCROLL;
        if (updated != style) SetWindowLongW(Window(), GWL_STYLE, static_cast<LONG>(updated));
    }

    // ---- Notifications ----

    static bool changesSelection(UINT message) {
        switch (message) {
        case WM_KEYDOWN:
        case WM_CHAR:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDBLCLK:
        case WM_SETTEXT:
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case EM_SETSEL:
        case EM_EXSETSEL:
        case EM_REPLACESEL:
        case EM_SETTEXTEX:
        case EM_STREAMIN:
            return true;
        default:
            return false;
        }
    }

    void notifySelectionChange(const CHARRANGE& before) {
        if (!(eventMask_ & ENM_SELCHANGE)) return;
        const CHARRANGE after = selection();
        if (after.cpMin == before.cpMin && after.cpMax == before.cpMax) return;
        SELCHANGE change;
        change.chrg = after;
        change.seltyp = after.cpMin == after.cpMax ? SEL_EMPTY : SEL_TEXT;
        Notify(change.nmhdr, EN_SELCHANGE);
    }

    // Keys and mouse messages offered to the parent first (EN_MSGFILTER); an answer other than 0 eats them.
    std::optional<LRESULT> messageFilter(UINT message, WPARAM wParam, LPARAM lParam) {
        const bool key = message >= WM_KEYFIRST && message <= WM_KEYLAST;
        const bool mouse = message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
        if (!((key && (eventMask_ & ENM_KEYEVENTS)) || (mouse && (eventMask_ & ENM_MOUSEEVENTS))))
            return std::nullopt;
        MSGFILTER filter;
        filter.msg = message;
        filter.wParam = wParam;
        filter.lParam = lParam;
        if (Notify(filter.nmhdr, EN_MSGFILTER)) return 0;
        return std::nullopt;
    }

    const std::vector<CHARRANGE>& links() {
        const WideString current = text();
        if (current != linkedText_) {
            linkedText_ = current;
            links_ = findUrls(current);
        }
        return links_;
    }

    // The link under a client point, if any.
    std::optional<CHARRANGE> linkAt(POINT point) {
        if (!autoUrlDetect_) return std::nullopt;
        const std::vector<CHARRANGE>& all = links();
        if (all.empty()) return std::nullopt;
        const LRESULT packed =
            edit(EM_CHARFROMPOS, 0, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
        const LONG editPosition = LOWORD(packed);
        const LRESULT start = edit(EM_POSFROMCHAR, static_cast<WPARAM>(editPosition), 0);
        const LRESULT next = edit(EM_POSFROMCHAR, static_cast<WPARAM>(editPosition + 1), 0);
        const int left = static_cast<SHORT>(LOWORD(start));
        const int top = static_cast<SHORT>(HIWORD(start));
        const int right =
            static_cast<SHORT>(HIWORD(next)) == top ? static_cast<SHORT>(LOWORD(next)) : left + FontHeight();
        if (point.x < left || point.x >= right || point.y < top || point.y >= top + FontHeight())
            return std::nullopt;
        const LONG position = toRich(editPosition);
        for (const CHARRANGE& link : all)
            if (position >= link.cpMin && position < link.cpMax) return link;
        return std::nullopt;
    }

    // The mouse over a link is reported (EN_LINK); an answer other than 0 keeps the message from the text.
    std::optional<LRESULT> linkMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        const bool mouse = message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                           message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
                           message == WM_RBUTTONUP || message == WM_SETCURSOR;
        if (!mouse || !autoUrlDetect_ || !(eventMask_ & ENM_LINK)) return std::nullopt;
        POINT point = PointFromLParam(lParam);
        if (message == WM_SETCURSOR) {
            if (reinterpret_cast<HWND>(wParam) != Window() || LOWORD(lParam) != HTCLIENT) return std::nullopt;
            GetCursorPos(&point);
            ScreenToClient(Window(), &point);
        }
        const std::optional<CHARRANGE> link = linkAt(point);
        if (!link) return std::nullopt;
        ENLINK info;
        info.msg = message;
        info.wParam = wParam;
        info.lParam = lParam;
        info.chrg = *link;
        if (Notify(info.nmhdr, EN_LINK)) return message == WM_SETCURSOR ? TRUE : 0;
        if (message != WM_SETCURSOR) return std::nullopt;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }

    // Links are drawn over the text the EDIT painted: blue and underlined, except where selected.
    void paintLinks() {
        if (!autoUrlDetect_ || links().empty()) return;
        const CHARRANGE selected = selection();
        LOGFONTW logFont{};
        GetObjectW(Font(), sizeof logFont, &logFont);
        logFont.lfUnderline = TRUE;
        HFONT underlined = CreateFontIndirectW(&logFont);
        HDC dc = GetDC(Window());
        RECT format;
        edit(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
        IntersectClipRect(dc, format.Left, format.Top, format.Right, format.Bottom);
        HGDIOBJ previous = SelectObject(dc, underlined);
        SetTextColor(dc, linkColour);
        SetBkColor(dc, GetSysColor(Enabled() ? COLOR_WINDOW : COLOR_BTNFACE));
        const WideString whole = text();
        for (const CHARRANGE& link : links_) {
            if (link.cpMax > selected.cpMin && link.cpMin < selected.cpMax) continue;
            const LRESULT packed = edit(EM_POSFROMCHAR, static_cast<WPARAM>(toEdit(link.cpMin)), 0);
            const int x = static_cast<SHORT>(LOWORD(packed));
            const int y = static_cast<SHORT>(HIWORD(packed));
            const WideString piece = whole.substr(static_cast<std::size_t>(link.cpMin),
                                                  static_cast<std::size_t>(link.cpMax - link.cpMin));
            ExtTextOutW(dc, x, y, ETO_OPAQUE, nullptr, piece.c_str(), static_cast<UINT>(piece.size()),
                        nullptr);
        }
        SelectObject(dc, previous);
        ReleaseDC(Window(), dc);
        DeleteObject(underlined);
    }

    bool ansiClass_;
    DWORD eventMask_ = ENM_NONE;
    bool autoUrlDetect_ = false;
    DWORD editStyle_ = 0;
    int textMode_ = TM_RICHTEXT;
    WideString linkedText_;
    std::vector<CHARRANGE> links_;
    std::optional<WideString> exactText_;
    std::optional<COLORREF> backgroundColour_;
    UINT undoLimit_ = defaultUndoLimit;
    CHARFORMATW keptChar_;
    WideString keptFace_;
    PARAFORMAT keptPara_ = defaultParaFormat();
};

class WideRichEdit : public RichEdit {
public:
    explicit WideRichEdit(HWND window) : RichEdit(window, false) {}
};

class AnsiRichEdit : public RichEdit {
public:
    explicit AnsiRichEdit(HWND window) : RichEdit(window, true) {}
};

// The ANSI class hears ANSI texts in the standard messages and hands them on in UTF-16.
LRESULT ansiRichEditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallConverted(CharSet::Ansi, CharSet::Wide, window, message, wParam, lParam,
                         [](HWND w, UINT m, WPARAM wp, LPARAM lp) {
                             return CommonControlProcedure<AnsiRichEdit>(w, m, wp, lp);
                         });
}

} // namespace

bool IsRtf(const AnsiString& Text) {
    return Text.rfind("{\\rtf", 0) == 0;
}

WideString PlainTextOfRtf(const AnsiString& Rtf) {
    return RtfReader(Rtf).Read();
}

void RegisterRichEditClasses() {
    editProcedure();
    WNDCLASSEXW wide;
    wide.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wide.lpfnWndProc = WindowProcFromFunction(&CommonControlProcedure<WideRichEdit>);
    wide.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wide.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
    wide.lpszClassName = RICHEDIT_CLASSW;
    RegisterSystemClassW(&wide);
    WNDCLASSEXA ansi;
    ansi.style = CS_DBLCLKS | CS_GLOBALCLASS;
    ansi.lpfnWndProc = WindowProcFromFunction(&ansiRichEditProcedure);
    ansi.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    ansi.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
    ansi.lpszClassName = RICHEDIT_CLASSA;
    RegisterSystemClassA(&ansi);
}
