// The wide rich edit: positions in the control's CR counting and the
// program's CR LF counting, with and without word wrap; RTF set as text;
// searching with the whole-word and match-case options.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntRichEdits.h"
#include "unicode/TntSystem.h"

namespace {

class RichEditsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TTntRichEdit* edit = child<TTntRichEdit>(form.get(), alNone, {0, 0, 380, 280});
    void SetUp() override {
        VisualTest::SetUp();
        form->Show();
    }
    void TearDown() override {
        form.reset();
        VisualTest::TearDown();
    }
};

TEST_F(RichEditsTest, TheWindowIsUnicodeAndCountsABreakAsOneCharacter) {
    EXPECT_EQ(TTntCustomRichEdit::LineBreakStyle(), tlbsCR);
    EXPECT_TRUE(IsWindowUnicode(edit->Handle()));
    edit->SetText(u"日本\r\n語");
    EXPECT_EQ(edit->Text(), u"日本\r\n語");
    EXPECT_EQ(GetWindowTextLengthW(edit->Handle()), 4);
}

TEST_F(RichEditsTest, PositionsConvertBetweenCrAndCrLfCounting) {
    struct Case {
        WideString text;
        std::vector<std::pair<Integer, Integer>> positions; // control's, program's
    };
    const Case cases[] = {
        {u"ab\r\ncd", {{0, 0}, {2, 2}, {3, 4}, {4, 5}, {5, 6}}},
        {u"a\r\n\r\n\r\nb", {{1, 1}, {2, 3}, {3, 5}, {4, 7}, {5, 8}}},
        {u"\r\nx\r\n", {{0, 0}, {1, 2}, {2, 3}, {3, 5}}},
        {u"без переносов", {{0, 0}, {6, 6}, {13, 13}}},
    };
    for (bool wrap : {false, true}) {
        edit->SetWordWrap(wrap);
        for (const Case& item : cases) {
            edit->SetText(item.text);
            for (const auto& [raw, emulated] : item.positions) {
                EXPECT_EQ(edit->EmulatedCharPos(raw), emulated) << UTF8Encode(item.text) << " wrap " << wrap;
                EXPECT_EQ(edit->RawWin32CharPos(emulated), raw) << UTF8Encode(item.text) << " wrap " << wrap;
            }
        }
    }
}

TEST_F(RichEditsTest, SoftLineEndsOfAWrappedTextAddNothing) {
    edit->SetWordWrap(true);
    edit->SetWidth(60);
    const WideString words = u"ааа ббб ввв ггг ддд";
    edit->SetText(words + u"\r\nx");
    ASSERT_GT(SendMessageW(edit->Handle(), EM_GETLINECOUNT, 0, 0), 2) << "the words wrap";
    const auto x = static_cast<Integer>(words.size()) + 1;
    EXPECT_EQ(edit->EmulatedCharPos(x), x + 1);
    for (Integer position = 0; position <= x + 1; ++position)
        EXPECT_EQ(edit->RawWin32CharPos(edit->EmulatedCharPos(position)), position);
    edit->SetSelStart(x + 1);
    EXPECT_EQ(edit->SelStart(), x + 1);
    edit->SetSelStart(0);
    edit->SetSelLength(x + 2);
    EXPECT_EQ(edit->SelLength(), x + 2);
    EXPECT_EQ(edit->WideSelText(), words + u"\r\nx");
}

TEST_F(RichEditsTest, AnRtfDocumentSetAsTextIsLoadedNotShown) {
    edit->SetText(u"{\\rtf1\\ansi {\\b \\'c4rger} und Fl\\u252?sse\\par Ende}");
    const WideString text = edit->Text();
    EXPECT_EQ(text.substr(0, 16), u"\u00C4rger und Fl\u00FCsse");
    EXPECT_EQ(text.find(u"rtf"), WideString::npos);
}

TEST_F(RichEditsTest, FindTextHonoursWholeWordAndMatchCaseInCrLfCounting) {
    edit->SetText(u"x\r\nWort wort Schwort");
    struct Case {
        TSearchTypes options;
        Integer found;
    };
    const Case cases[] = {
        {{}, 3},
        {{stMatchCase}, 8},
        {{stWholeWord}, 3},
        {{stWholeWord, stMatchCase}, 8},
    };
    for (const Case& item : cases)
        EXPECT_EQ(edit->FindText(u"wort", 0, 20, item.options), item.found);
    EXPECT_EQ(edit->FindText(u"wort", 9, 11, {stWholeWord}), -1) << "only \"Schwort\" is left";
    EXPECT_EQ(edit->FindText(u"wort", 9, 11, {}), 16);
}

} // namespace
