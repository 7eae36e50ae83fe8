#include "CommonControlTestSupport.h"

#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/RichEditControl.h"
#include "platform/win/SysColors.h"

#include <algorithm>
#include <cstring>

using namespace control_tests;
using namespace window_tests;

namespace {

class RichEditTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND rich = nullptr;
    void SetUp() override {
        ControlTest::SetUp();
        parent = WideParent(400, 300);
        rich = Control(RICHEDIT_CLASSW, ES_MULTILINE | WS_VSCROLL, parent, {10, 10, 310, 160});
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(rich, message, wParam, lParam);
    }
    void setText(const WCHAR* text) { send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }
    WideString text() {
        WCHAR buffer[256] = {};
        send(WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    WideString selectedText() {
        WCHAR buffer[256] = {};
        send(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    void select(LONG start, LONG end) {
        CHARRANGE range{start, end};
        send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
};

// Hands a string to EM_STREAMIN and collects what EM_STREAMOUT gives.
struct StreamBuffer {
    std::string bytes;
    std::size_t read = 0;
    static DWORD In(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) {
        auto* self = reinterpret_cast<StreamBuffer*>(cookie);
        const auto n = static_cast<LONG>(
            std::min<std::size_t>(static_cast<std::size_t>(count), self->bytes.size() - self->read));
        std::memcpy(buffer, self->bytes.data() + self->read, static_cast<std::size_t>(n));
        self->read += static_cast<std::size_t>(n);
        *done = n;
        return 0;
    }
    static DWORD Out(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done) {
        reinterpret_cast<StreamBuffer*>(cookie)->bytes.append(reinterpret_cast<const char*>(buffer),
                                                              static_cast<std::size_t>(count));
        *done = count;
        return 0;
    }
};

TEST_F(RichEditTest, ABreakCountsAsOneCarriageReturn) {
    setText(u"ab\r\ncd\nef");
    select(3, 4);
    EXPECT_EQ(selectedText(), u"c");
    CHARRANGE range;
    send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.cpMin, 3);
    EXPECT_EQ(range.cpMax, 4);
    EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 4), 1);
    EXPECT_EQ(send(EM_LINEINDEX, 2), 6);
    WCHAR buffer[32] = {};
    GETTEXTEX request;
    request.cb = sizeof buffer;
    request.flags = GT_USECRLF;
    request.codepage = 1200;
    EXPECT_EQ(send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(buffer)), 10);
    EXPECT_EQ(WideString(buffer), u"ab\r\ncd\r\nef");
    GETTEXTLENGTHEX length;
    length.flags = GTL_USECRLF;
    EXPECT_EQ(send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)), 10);
    select(0, -1);
    EXPECT_EQ(selectedText(), u"ab\rcd\ref");
    select(-1, -1);
    send(WM_CHAR, 'x');
    EXPECT_EQ(text(), u"ab\rcd\refx") << "once edited, one CR per break";
    EXPECT_EQ(send(WM_GETTEXTLENGTH), 9);
}

// The program keeps database text in hidden rich edits: what was set, and
// not edited since, comes back exactly, its line breaks included.
TEST_F(RichEditTest, ASetTextComesBackByteForByteUntilEdited) {
    const WideString mixed = u"lone\rcr\nlf\r\ncrlf\n\r\r\n";
    setText(mixed.c_str());
    EXPECT_EQ(text(), mixed);
    EXPECT_EQ(send(WM_GETTEXTLENGTH), static_cast<LRESULT>(mixed.size()));
    WCHAR buffer[64] = {};
    GETTEXTEX request;
    request.cb = sizeof buffer;
    request.codepage = 1200;
    send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(WideString(buffer), mixed);

    // A replaced selection is spliced into the text as set: "cr" is the fifth character.
    select(5, 7);
    send(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"CR\n"));
    EXPECT_EQ(text(), u"lone\rCR\n\nlf\r\ncrlf\n\r\r\n");
    SETTEXTEX set;
    set.codepage = 1200;
    send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(u"a\n\nb\r"));
    EXPECT_EQ(text(), u"a\n\nb\r");

    select(0, 1);
    send(WM_CHAR, 'z');
    EXPECT_EQ(text(), u"z\r\rb\r");
}

TEST_F(RichEditTest, RtfIsReadAsTheTextItHolds) {
    const AnsiString rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
        "{\\*\\generator Writer;}\\f0\\b Bold\\b0  caf\\'e9\\par \\u1078?x \\{braces\\}\\tab end}";
    EXPECT_TRUE(IsRtf(rtf));
    EXPECT_EQ(PlainTextOfRtf(rtf), u"Bold caf\u00E9\r\u0436x {braces}\tend");
    SETTEXTEX request;
    request.codepage = 0;
    send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(rtf.c_str()));
    EXPECT_EQ(text(), u"Bold caf\u00E9\r\u0436x {braces}\tend");
    select(0, 4);
    request.flags = ST_SELECTION;
    request.codepage = 1200;
    send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(u"Plain"));
    EXPECT_EQ(text().substr(0, 6), u"Plain ");
}

TEST_F(RichEditTest, StreamsCarryPlainTextAndRtf) {
    StreamBuffer in;
    in.bytes = "one\r\ntwo \x80";
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&in);
    stream.pfnCallback = &StreamBuffer::In;
    EXPECT_EQ(send(EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream)), 9);
    EXPECT_EQ(text(), u"one\rtwo \u20AC");

    StreamBuffer out;
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&out);
    stream.pfnCallback = &StreamBuffer::Out;
    send(EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    EXPECT_EQ(out.bytes, "one\r\ntwo \x80");

    StreamBuffer rtf;
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    send(EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    EXPECT_TRUE(IsRtf(rtf.bytes));
    setText(u"");
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    stream.pfnCallback = &StreamBuffer::In;
    send(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    EXPECT_EQ(text(), u"one\rtwo \u20AC");
}

TEST_F(RichEditTest, FindingTextWithTheSearchFlags) {
    setText(u"Find the cat in the category\r\nCat");
    FINDTEXTW find{{0, -1}, u"cat"};
    EXPECT_EQ(send(EM_FINDTEXTW, FR_DOWN, reinterpret_cast<LPARAM>(&find)), 9);
    EXPECT_EQ(send(EM_FINDTEXTW, FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find)), 9);
    find.chrg = {10, -1};
    EXPECT_EQ(send(EM_FINDTEXTW, FR_DOWN | FR_WHOLEWORD, reinterpret_cast<LPARAM>(&find)), 29);
    EXPECT_EQ(send(EM_FINDTEXTW, FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find)), -1);
    FINDTEXTEXW extended{{0, -1}, u"category", {}};
    EXPECT_EQ(send(EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&extended)), 20);
    EXPECT_EQ(extended.chrgText.cpMax, 28);
    find.chrg = {28, 0};
    EXPECT_EQ(send(EM_FINDTEXTW, 0, reinterpret_cast<LPARAM>(&find)), 20);
}

TEST_F(RichEditTest, TheEventMaskDecidesWhatTheParentHears) {
    EXPECT_EQ(send(EM_SETEVENTMASK, 0, ENM_CHANGE), ENM_NONE);
    EXPECT_EQ(send(EM_GETEVENTMASK), ENM_CHANGE);
    setText(u"some text");
    select(1, 3);
    EXPECT_TRUE(NotificationCodes().empty());
    send(EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    std::vector<CHARRANGE> changes;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        if (header->code == EN_SELCHANGE) changes.push_back(reinterpret_cast<SELCHANGE*>(header)->chrg);
        return 0;
    };
    select(2, 5);
    select(2, 5);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].cpMin, 2);
    EXPECT_EQ(changes[0].cpMax, 5);
}

TEST_F(RichEditTest, AClickOnADetectedAddressIsReportedAsALink) {
    send(EM_SETEVENTMASK, 0, send(EM_GETEVENTMASK) | ENM_LINK);
    send(EM_AUTOURLDETECT, TRUE);
    setText(u"Visit\r\nwww.example.com/scripts. Thanks");
    std::vector<ENLINK> links;
    WideString opened;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        if (header->code != EN_LINK) return 0;
        auto* link = reinterpret_cast<ENLINK*>(header);
        links.push_back(*link);
        // What the program does: select the address and read it back.
        if (link->msg == WM_LBUTTONDOWN) {
            send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&link->chrg));
            opened = selectedText();
        }
        return 0;
    };
    POINT start;
    send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&start), 10);
    Click(rich, {start.x + 2, start.y + 4});
    ProcessMessages();
    ASSERT_FALSE(links.empty());
    std::vector<UINT> messages;
    for (const ENLINK& link : links)
        messages.push_back(link.msg);
    EXPECT_NE(std::find(messages.begin(), messages.end(), WM_LBUTTONDOWN), messages.end());
    EXPECT_EQ(links.front().chrg.cpMin, 6);
    EXPECT_EQ(links.front().chrg.cpMax, 29);
    EXPECT_EQ(opened, u"www.example.com/scripts");

    // Away from the address, or without the mask bit, nothing is reported.
    links.clear();
    Click(rich, {3, 4});
    send(EM_SETEVENTMASK, 0, ENM_NONE);
    Click(rich, {start.x + 2, start.y + 4});
    ProcessMessages();
    EXPECT_TRUE(links.empty());
}

TEST_F(RichEditTest, TheAnsiClassSpeaksAnsi) {
    HWND ansi = CreateWindowExA(0, RICHEDIT_CLASSA, "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 170, 200, 60,
                                parent, nullptr, nullptr, nullptr);
    ASSERT_NE(ansi, nullptr);
    SendMessageA(ansi, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("caf\xE9\r\nna\xEFve"));
    CHARRANGE range{0, 4};
    SendMessageA(ansi, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    char selected[16] = {};
    EXPECT_EQ(SendMessageA(ansi, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(selected)), 4);
    EXPECT_STREQ(selected, "caf\xE9");
    char all[32] = {};
    GetWindowTextA(ansi, all, 32);
    EXPECT_STREQ(all, "caf\xE9\r\nna\xEFve");
    WCHAR wide[32] = {};
    GetWindowTextW(ansi, wide, 32);
    EXPECT_EQ(WideString(wide), u"caf\u00E9\r\nna\u00EFve");

    AnsiString everyByte;
    for (int byte = 1; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    SendMessageA(ansi, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(everyByte.c_str()));
    AnsiString back(everyByte.size() + 1, '\0');
    GetWindowTextA(ansi, back.data(), static_cast<int>(back.size()));
    back.resize(everyByte.size());
    EXPECT_EQ(back, everyByte);
}

TEST_F(RichEditTest, TheBackgroundColourAndTheHiddenSelectionShow) {
    setText(u"WWWWWWWW");
    const POINT ground{300, 140};
    EXPECT_EQ(Pixel(rich, ground), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(send(EM_SETBKGNDCOLOR, 0, RGB(255, 255, 0)), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(Pixel(rich, ground), RGB(255, 255, 0));
    EXPECT_EQ(send(EM_SETBKGNDCOLOR, 1, 0), static_cast<LRESULT>(RGB(255, 255, 0)));
    EXPECT_EQ(Pixel(rich, ground), GetSysColor(COLOR_WINDOW));

    select(0, -1);
    const POINT inText{3, 5};
    EXPECT_NE(Pixel(rich, inText), GetSysColor(COLOR_HIGHLIGHT)) << "not focused";
    send(EM_HIDESELECTION, FALSE);
    EXPECT_EQ(Pixel(rich, inText), GetSysColor(COLOR_HIGHLIGHT));
    SetFocus(rich);
    send(EM_HIDESELECTION, TRUE);
    EXPECT_NE(Pixel(rich, inText), GetSysColor(COLOR_HIGHLIGHT)) << "hidden though focused";
}

TEST_F(RichEditTest, AnUndoLimitOfZeroTurnsUndoOff) {
    setText(u"abc");
    select(3, 3);
    send(WM_CHAR, 'd');
    EXPECT_TRUE(send(EM_CANUNDO));
    EXPECT_EQ(send(EM_SETUNDOLIMIT, 0), 0);
    send(WM_CHAR, 'e');
    EXPECT_FALSE(send(EM_CANUNDO));
    EXPECT_FALSE(send(EM_UNDO));
    EXPECT_EQ(text(), u"abcde");
    send(EM_SETUNDOLIMIT, 100);
    send(WM_CHAR, 'f');
    EXPECT_TRUE(send(EM_UNDO));
    EXPECT_EQ(text(), u"abcde");
}

TEST_F(RichEditTest, FormatsAreKeptAndHandedBack) {
    CHARFORMATW given;
    given.dwMask = CFM_BOLD | CFM_COLOR | CFM_FACE | CFM_SIZE;
    given.dwEffects = CFE_BOLD;
    given.crTextColor = RGB(0, 0, 128);
    given.yHeight = 200;
    std::copy_n(u"Courier New", 12, given.szFaceName);
    EXPECT_TRUE(send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&given)));
    CHARFORMATW italic;
    italic.dwMask = CFM_ITALIC;
    italic.dwEffects = CFE_ITALIC;
    send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&italic));
    CHARFORMATW back;
    send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(back.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_AUTOCOLOR),
              CFE_BOLD | CFE_ITALIC);
    EXPECT_EQ(back.crTextColor, RGB(0, 0, 128));
    EXPECT_EQ(back.yHeight, 200);
    EXPECT_EQ(WideString(back.szFaceName), u"Courier New");

    PARAFORMAT paragraph;
    paragraph.dwMask = PFM_ALIGNMENT | PFM_STARTINDENT | PFM_TABSTOPS;
    paragraph.wAlignment = PFA_CENTER;
    paragraph.dxStartIndent = 360;
    paragraph.cTabCount = 2;
    paragraph.rgxTabs[0] = 720;
    paragraph.rgxTabs[1] = 1440;
    send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    PARAFORMAT paragraphBack;
    send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraphBack));
    EXPECT_EQ(paragraphBack.wAlignment, PFA_CENTER);
    EXPECT_EQ(paragraphBack.dxStartIndent, 360);
    EXPECT_EQ(paragraphBack.cTabCount, 2);
    EXPECT_EQ(paragraphBack.rgxTabs[1], 1440);
}

} // namespace
