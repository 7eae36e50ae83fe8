// The wide rich edit: positions in the control's CR counting and the
// program's CR LF counting, with and without word wrap; RTF set as text;
// searching with the whole-word and match-case options; the wide lines,
// their files and printing.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/vcl/Printers.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntRichEdits.h"
#include "unicode/TntSystem.h"
#include "unicode/tests/TemporaryFolder.h"

#include <fstream>
#include <iterator>

namespace {

class TEventCounter : public TObject {
public:
    Integer count = 0;
    void Count(TObject*) { ++count; }
};

std::string fileBytes(const WideString& Name) {
    std::ifstream file(NativeFileName(Name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

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
                EXPECT_EQ(edit->CharPosToGet(raw), emulated);
                EXPECT_EQ(edit->CharPosToSet(emulated), raw);
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

class TMaskWatcher : public TObject {
public:
    HWND window = nullptr;
    std::vector<bool> changeReported;
    void Changed(TObject*) { changeReported.push_back(SendMessageW(window, EM_GETEVENTMASK, 0, 0) & ENM_CHANGE); }
};

TEST_F(RichEditsTest, LinesTakeTheControlsBreaksAndAreSetWithoutChangeNotifications) {
    TMaskWatcher watcher;
    watcher.window = edit->Handle();
    edit->OnChange = TNotifyEvent(&watcher, &TMaskWatcher::Changed);
    edit->Lines()->SetText(u"日本\r\n語\rx");
    EXPECT_EQ(watcher.changeReported, std::vector<bool>{false});
    EXPECT_EQ(GetWindowTextLengthW(edit->Handle()), 6);
    EXPECT_EQ(edit->Lines()->Count(), 3);
    edit->Lines()->Add(u"конец");
    edit->Lines()->Insert(0, u"начало");
    EXPECT_EQ(edit->Text(), u"начало\r\n日本\r\n語\r\nx\r\nконец");
    EXPECT_EQ(edit->Lines()->Text(), edit->Text() + u"\r\n");
    EXPECT_EQ(watcher.changeReported, (std::vector<bool>{false, true, true})) << "the mask is back afterwards";
}

TEST_F(RichEditsTest, AddingLinesReportsNoSelectionChangeUntilItIsDone) {
    TEventCounter selections;
    edit->OnSelectionChange = TNotifyEvent(&selections, &TEventCounter::Count);
    TTntStringList added;
    added.Add(u"один");
    added.Add(u"два");
    edit->Lines()->AddStrings(&added);
    EXPECT_EQ(selections.count, 0);
    EXPECT_EQ(edit->Lines()->Get(1), u"два");
    edit->SetSelStart(2);
    EXPECT_EQ(selections.count, 1);
}

TEST_F(RichEditsTest, PlainTextFilesAreWideAndOthersRtf) {
    test::TemporaryFolder folder;
    const WideString plain = folder.Path() + u"/простой.txt";
    edit->SetPlainText(true);
    edit->SetText(u"日本語\r\nÄrger");
    edit->Lines()->SaveToFile(plain);
    EXPECT_EQ(fileBytes(plain).substr(0, 2), "\xFF\xFE");
    edit->SetText(u"");
    edit->Lines()->LoadFromFile(plain);
    EXPECT_EQ(edit->Text(), u"日本語\r\nÄrger\r\n");

    const WideString rich = folder.Path() + u"/rich.rtf";
    edit->SetPlainText(false);
    edit->Lines()->SaveToFile(rich);
    EXPECT_EQ(fileBytes(rich).substr(0, 5), "{\\rtf");
    edit->SetText(u"");
    edit->Lines()->LoadFromFile(rich);
    EXPECT_EQ(edit->Text().substr(0, 8), u"日本語\r\nÄrg");

    TTntMemoryStream stream;
    edit->SetText(u"x");
    edit->Lines()->SaveToStream(&stream);
    EXPECT_GT(stream.Size(), 5) << "RTF, not the one character";
}

TEST_F(RichEditsTest, PrintingEndsWhereTheControlsTextEnds) {
    Printer()->ClearDocuments();
    // Set with CR LF breaks, the window's text length counts two per break.
    const WideString text = u"ab\r\ncd";
    SendMessageW(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ASSERT_EQ(GetWindowTextLengthW(edit->Handle()), 6);
    edit->Print("Notes");
    ASSERT_EQ(Printer()->Documents().size(), 1u);
    const TPrintedDocument& document = Printer()->Documents()[0];
    EXPECT_EQ(document.Title, "Notes");
    EXPECT_EQ(document.Pages, 1) << "no empty page after the text";
    ASSERT_EQ(document.Ranges.size(), 1u);
    EXPECT_EQ(document.Ranges[0].First, 0);
    EXPECT_EQ(document.Ranges[0].Last, 5);
    EXPECT_EQ(GetWindowTextLengthW(edit->Handle()), 6) << "the override ends with the printing";
}

TEST_F(RichEditsTest, ALongTextPrintsOnPagesThatFollowOneAnother) {
    Printer()->ClearDocuments();
    TTntStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.Add(u"строка " + UTF8Decode(std::to_string(i)));
    edit->Lines()->Assign(&lines);
    edit->Print("long");
    const TPrintedDocument& document = Printer()->Documents().at(0);
    ASSERT_GT(document.Pages, 1);
    Integer expected = 0;
    for (const TPrintedRange& range : document.Ranges) {
        EXPECT_EQ(range.First, expected);
        expected = range.Last;
    }
    EXPECT_EQ(expected, GetWindowTextLengthW(edit->Handle()));
    EXPECT_EQ(document.Ranges.back().Page, document.Pages);
}

} // namespace
