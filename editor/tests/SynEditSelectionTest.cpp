// The editor's caret and selection: where the caret may stand, the three
// selection modes, replacing the selection with its undo records, pasting,
// and the selection as character indexes.
#include "editor/SynEdit.h"
#include "editor/tests/SynEditTestSupport.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Cursors.h"
#include "platform/win/GlobalMemory.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct RecordedChange {
    TSynChangeReason Reason;
    TBufferCoord StartPos;
    TBufferCoord EndPos;
    AnsiString Text;
    TSynSelectionMode Mode;
    friend bool operator==(const RecordedChange&, const RecordedChange&) = default;
};

std::ostream& operator<<(std::ostream& Out, const RecordedChange& Change) {
    return Out << "{reason " << int(Change.Reason) << ", (" << Change.StartPos.Char << ","
               << Change.StartPos.Line << ")-(" << Change.EndPos.Char << "," << Change.EndPos.Line << "), \""
               << Change.Text << "\", mode " << int(Change.Mode) << "}";
}

class SynEditSelectionTest : public SynEditOnFormTest {
protected:
    void TearDown() override {
        edit->OnStatusChange = nullptr;
        emptyClipboard();
        VisualTest::TearDown();
    }

    void setText(const char* Text) {
        edit->Lines()->SetText(Text);
        edit->ClearUndo();
    }

    void options(std::initializer_list<TSynEditorOption> Included,
                 std::initializer_list<TSynEditorOption> Excluded) {
        TSynEditorOptions value = edit->Options();
        for (TSynEditorOption option : Included)
            value.Include(option);
        for (TSynEditorOption option : Excluded)
            value.Exclude(option);
        edit->SetOptions(value);
    }

    void select(TBufferCoord Anchor, TBufferCoord End) {
        edit->SetBlockBegin(Anchor);
        edit->SetBlockEnd(End);
    }

    std::vector<AnsiString> lines() const {
        std::vector<AnsiString> result;
        for (Integer i = 0; i < edit->Lines()->Count(); ++i)
            result.push_back(edit->Lines()->Get(i));
        return result;
    }

    std::vector<RecordedChange> undoItems() const {
        std::vector<RecordedChange> result;
        TSynEditUndoList* list = edit->UndoList();
        for (Integer i = 0; i < list->GetItemCount(); ++i) {
            const TSynEditUndoItem* item = list->GetItems(i);
            result.push_back(
                {item->Reason, item->StartPos, item->EndPos, item->ChangeText(), item->SelectionMode});
        }
        return result;
    }

    // Places the text and, when Block is given, the editor's own block beside it.
    static void putOnClipboard(const char* Text, const std::string* Block, UINT BlockFlags = GMEM_MOVEABLE) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, std::strlen(Text) + 1);
        std::memcpy(GlobalLock(text), Text, std::strlen(Text) + 1);
        GlobalUnlock(text);
        SetClipboardData(CF_TEXT, text);
        if (Block != nullptr) {
            HGLOBAL block = GlobalAlloc(BlockFlags, Block->size());
            if (!Block->empty()) std::memcpy(GlobalLock(block), Block->data(), Block->size());
            GlobalUnlock(block);
            SetClipboardData(TCustomSynEdit::SynEditClipboardFormat(), block);
        }
        CloseClipboard();
    }
};

// ---- Caret ----------------------------------------------------------------------------------

TEST_F(SynEditSelectionTest, CaretIsClampedByTheLineOrByMaxScrollWidth) {
    struct Case {
        std::initializer_list<TSynEditorOption> included;
        std::initializer_list<TSynEditorOption> excluded;
        TBufferCoord wanted;
        TBufferCoord placed;
    };
    const Case cases[] = {
        {{}, {eoScrollPastEol}, BufferCoord(100, 1), BufferCoord(6, 1)},
        {{eoScrollPastEol, eoAutoSizeMaxScrollWidth}, {}, BufferCoord(100, 1), BufferCoord(100, 1)},
        {{eoScrollPastEol}, {eoAutoSizeMaxScrollWidth}, BufferCoord(100, 1), BufferCoord(51, 1)},
        {{}, {eoScrollPastEol}, BufferCoord(3, 9), BufferCoord(3, 2)},
        {{}, {eoScrollPastEol}, BufferCoord(-4, 0), BufferCoord(1, 1)},
    };
    setText("abcde\r\nxyz");
    for (const Case& c : cases) {
        // Auto-sizing may have widened it for the case before.
        edit->SetMaxScrollWidth(50);
        options(c.included, c.excluded);
        edit->SetCaretXY(BufferCoord(1, 1));
        edit->SetCaretXY(c.wanted);
        EXPECT_EQ(edit->CaretXY(), c.placed) << c.wanted.Char << "," << c.wanted.Line;
    }
}

TEST_F(SynEditSelectionTest, EmptyBufferKeepsTheCaretOnTheFirstLine) {
    options({}, {eoScrollPastEol});
    edit->SetCaretXY(BufferCoord(5, 3));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
    options({eoScrollPastEol}, {});
    edit->SetCaretXY(BufferCoord(5, 3));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(5, 1));
}

TEST_F(SynEditSelectionTest, CaretSetterCollapsesTheSelectionAndTheInternalOneKeepsIt) {
    setText("abcdef\r\nghijkl");
    select(BufferCoord(2, 1), BufferCoord(4, 2));
    edit->InternalSetCaretXY(BufferCoord(3, 2));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 2));
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(2, 1));
    EXPECT_EQ(edit->BlockEnd(), BufferCoord(4, 2));
    edit->SetCaretXY(BufferCoord(5, 1));
    EXPECT_FALSE(edit->GetSelAvail());
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(5, 1));
    EXPECT_EQ(edit->BlockEnd(), BufferCoord(5, 1));
}

TEST_F(SynEditSelectionTest, CaretMovesAreReportedOnceAfterThePaintLock) {
    setText("abc\r\ndef");
    std::vector<TSynStatusChanges> reported;
    struct Recorder {
        std::vector<TSynStatusChanges>* changes;
        void Record(TObject*, TSynStatusChanges Changes) { changes->push_back(Changes); }
    } recorder{&reported};
    edit->OnStatusChange = TStatusChangeEvent(&recorder, &Recorder::Record);
    edit->SetCaretXY(BufferCoord(2, 2));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_TRUE(reported[0].Contains(scCaretX));
    EXPECT_TRUE(reported[0].Contains(scCaretY));
    EXPECT_TRUE(reported[0].Contains(scSelection));
}

// ---- Selection ------------------------------------------------------------------------------

TEST_F(SynEditSelectionTest, EndsOnOneColumnAreNoColumnSelection) {
    setText("abcdef\r\nabcdef\r\nabcdef\r\nabcdef");
    for (TSynSelectionMode mode : {smNormal, smLine, smColumn}) {
        edit->SetSelectionMode(mode);
        select(BufferCoord(3, 1), BufferCoord(3, 4));
        EXPECT_EQ(edit->GetSelAvail(), mode != smColumn) << int(mode);
    }
}

TEST_F(SynEditSelectionTest, NormalSelectionEndsStayWithinTheirLines) {
    setText("abc\r\nabcdef");
    select(BufferCoord(9, 1), BufferCoord(20, 7));
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(4, 1));
    EXPECT_EQ(edit->BlockEnd(), BufferCoord(7, 2));
    edit->SetSelectionMode(smColumn);
    select(BufferCoord(9, 1), BufferCoord(20, 2));
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(9, 1));
    EXPECT_EQ(edit->BlockEnd(), BufferCoord(20, 2));
}

TEST_F(SynEditSelectionTest, OrderedEndsAndActiveModeFollowTheSetters) {
    setText("abcdef\r\nabcdef");
    select(BufferCoord(5, 2), BufferCoord(2, 1));
    EXPECT_EQ(edit->GetBlockBegin(), BufferCoord(2, 1));
    EXPECT_EQ(edit->GetBlockEnd(), BufferCoord(5, 2));
    edit->SetActiveSelectionMode(smLine);
    EXPECT_EQ(edit->ActiveSelectionMode(), smLine);
    EXPECT_EQ(edit->SelectionMode(), smNormal);
    edit->SetBlockEnd(BufferCoord(3, 1));
    EXPECT_EQ(edit->ActiveSelectionMode(), smNormal);
}

TEST_F(SynEditSelectionTest, NoSelectionOptionKeepsTheEndAtTheAnchor) {
    setText("abcdef");
    options({eoNoSelection}, {});
    select(BufferCoord(1, 1), BufferCoord(4, 1));
    EXPECT_FALSE(edit->GetSelAvail());
}

TEST_F(SynEditSelectionTest, SelectAllSpansTheTextWithTheCaretAtItsEnd) {
    setText("ab\r\ncdef");
    edit->SelectAll();
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(1, 1));
    EXPECT_EQ(edit->BlockEnd(), BufferCoord(5, 2));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(5, 2));
    EXPECT_EQ(edit->GetSelText(), "ab\r\ncdef");
    edit->Clear();
    edit->SelectAll();
    EXPECT_FALSE(edit->GetSelAvail());
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
}

TEST_F(SynEditSelectionTest, WordSelectionStopsAtPunctuationAndBlanks) {
    setText("foo.bar_2 baz");
    struct Case {
        Integer at;
        const char* word;
    };
    for (const Case& c : {Case{6, "bar_2"}, Case{1, "foo"}, Case{11, "baz"}, Case{14, "baz"}}) {
        edit->SetWordBlock(BufferCoord(c.at, 1));
        EXPECT_EQ(edit->GetSelText(), c.word) << c.at;
    }
    edit->SetWordBlock(BufferCoord(40, 1));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(14, 1));
}

// The editor with its double-click handling open to the test.
class TDoubleClickEdit : public TSynEdit {
public:
    using TSynEdit::DblClick;
    using TSynEdit::TSynEdit;
};

TEST_F(SynEditSelectionTest, DoubleClickSelectsTheWordUnlessInTheGutter) {
    auto* clicked = new TDoubleClickEdit(form.get());
    clicked->SetBounds(0, 0, 400, 300);
    clicked->SetParent(form.get());
    clicked->Lines()->SetText("alpha beta");
    clicked->SetCaretXY(BufferCoord(8, 1));
    auto clickAt = [&](Integer X) {
        const TPoint screen = clicked->ClientToScreen(TPoint{X, 2});
        SetCursorPos(screen.x, screen.y);
        clicked->DblClick();
    };
    ASSERT_GT(clicked->GutterWidth(), 1);
    clickAt(1);
    EXPECT_FALSE(clicked->GetSelAvail());
    clickAt(clicked->GutterWidth() + 2);
    EXPECT_EQ(clicked->GetSelText(), "beta");
}

TEST_F(SynEditSelectionTest, PointInSelectionByMode) {
    setText("abcdef\r\nabcdef\r\nabcdef");
    struct Case {
        TSynSelectionMode mode;
        TBufferCoord point;
        bool inside;
    };
    const Case cases[] = {
        {smNormal, BufferCoord(2, 1), false}, {smNormal, BufferCoord(3, 1), true},
        {smNormal, BufferCoord(1, 2), true},  {smNormal, BufferCoord(5, 3), false},
        {smNormal, BufferCoord(4, 3), true},  {smLine, BufferCoord(1, 1), true},
        {smLine, BufferCoord(6, 3), true},    {smColumn, BufferCoord(2, 2), false},
        {smColumn, BufferCoord(3, 2), true},  {smColumn, BufferCoord(5, 2), false},
    };
    for (const Case& c : cases) {
        edit->SetSelectionMode(c.mode);
        select(BufferCoord(3, 1), BufferCoord(5, 3));
        EXPECT_EQ(edit->IsPointInSelection(c.point), c.inside)
            << int(c.mode) << " at " << c.point.Char << "," << c.point.Line;
    }
    edit->SetSelectionMode(smNormal);
    select(BufferCoord(3, 1), BufferCoord(3, 1));
    EXPECT_FALSE(edit->IsPointInSelection(BufferCoord(3, 1)));
}

// ---- Replacing the selection ----------------------------------------------------------------

TEST_F(SynEditSelectionTest, ReplacingANormalSelectionJoinsItsLines) {
    setText("abcdef\r\nghijkl\r\nmnopqr\r\nstu");
    select(BufferCoord(3, 1), BufferCoord(2, 3));
    edit->SetSelTextPrimitive("X");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"abXnopqr", "stu"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(4, 1));
    EXPECT_FALSE(edit->GetSelAvail());
    EXPECT_TRUE(undoItems().empty());
}

TEST_F(SynEditSelectionTest, InsertingLineBreaksSplitsTheLineAndMovesMarks) {
    setText("one\r\ntwo-three\r\nfour");
    auto* mark = new TSynEditMark(edit);
    mark->SetLine(3);
    edit->Marks()->Place(mark);
    edit->SetCaretXY(BufferCoord(4, 2));
    edit->SetSelTextPrimitive("a\r\nb");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"one", "twoa", "b-three", "four"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(2, 3));
    EXPECT_EQ(mark->Line(), 4);
}

TEST_F(SynEditSelectionTest, NormalInsertionPadsAShortLineAndAcceptsEveryLineBreak) {
    options({eoScrollPastEol}, {eoTrimTrailingSpaces});
    setText("ab");
    edit->SetCaretXY(BufferCoord(5, 1));
    edit->SetSelTextPrimitive("x\ry\nz");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"ab  x", "y", "z"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(2, 3));
}

// The caret stays where the typed blanks ended even though they were trimmed,
// but a tab counts as one character, not as its width on screen.
TEST_F(SynEditSelectionTest, TrimmedInsertionPutsTheCaretAfterTheInsertedCharacters) {
    options({eoScrollPastEol, eoTrimTrailingSpaces}, {});
    setText("");
    edit->SetSelTextPrimitive("ab  ");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"ab"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(5, 1));
    setText("");
    edit->SetSelTextPrimitive("\tx");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"\tx"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 1));
}

TEST_F(SynEditSelectionTest, ReplacingAColumnSelectionCutsEachLine) {
    setText("abcdef\r\nab\r\nabcdef");
    edit->SetSelectionMode(smColumn);
    select(BufferCoord(4, 3), BufferCoord(2, 1));
    edit->SetSelTextPrimitive("");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"adef", "a", "adef"}));
    EXPECT_TRUE(undoItems().empty());
}

// The replacement goes in at the block's left edge on the line where the
// selection was ended; a block of several lines takes the block's place.
TEST_F(SynEditSelectionTest, AColumnSelectionIsReplacedAtItsLeftEdge) {
    const char* text = "abcdefgh\r\nabcdefgh\r\nabcdefgh";
    setText(text);
    edit->SetSelectionMode(smColumn);
    select(BufferCoord(6, 1), BufferCoord(2, 3));
    edit->SetSelTextExternal("X");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"afgh", "afgh", "aXfgh"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 3));
    edit->Undo();
    EXPECT_EQ(edit->Text(), text);

    select(BufferCoord(2, 3), BufferCoord(6, 1));
    edit->SetSelTextPrimitive("X");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"aXfgh", "afgh", "afgh"}));

    setText(text);
    select(BufferCoord(6, 1), BufferCoord(2, 3));
    edit->SetSelTextPrimitiveEx(smColumn, "1\r\n2\r\n3", false);
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"a1fgh", "a2fgh", "a3fgh"}));
}

TEST_F(SynEditSelectionTest, ColumnInsertionBelowTheTextAppendsPaddedLinesAndRecordsThem) {
    setText("abc\r\nabc");
    edit->SetCaretXY(BufferCoord(3, 2));
    edit->SetSelTextPrimitiveEx(smColumn, "XY\r\nZ\r\nW", true);
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"abc", "abXYc", "  Z", "  W"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(4, 4));
    const std::vector<RecordedChange> expected{
        {crInsert, BufferCoord(3, 2), BufferCoord(5, 2), "", smNormal},
        {crLineBreak, BufferCoord(6, 2), BufferCoord(6, 2), "", smNormal},
        {crInsert, BufferCoord(3, 3), BufferCoord(4, 3), "", smNormal},
        {crLineBreak, BufferCoord(4, 3), BufferCoord(4, 3), "", smNormal},
        {crInsert, BufferCoord(3, 4), BufferCoord(4, 4), "", smNormal},
    };
    EXPECT_EQ(undoItems(), expected);
}

TEST_F(SynEditSelectionTest, ColumnInsertionWithoutRecordingLeavesTheUndoListAlone) {
    setText("abc\r\nabc");
    edit->SetCaretXY(BufferCoord(2, 1));
    edit->SetSelTextPrimitiveEx(smColumn, "1\r\n2\r\n", false);
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"a1bc", "a2bc"}));
    EXPECT_TRUE(undoItems().empty());
}

TEST_F(SynEditSelectionTest, ReplacingLineSelectionsRemovesWholeLines) {
    setText("one\r\ntwo\r\nthree\r\nfour");
    auto* mark = new TSynEditMark(edit);
    mark->SetLine(4);
    edit->Marks()->Place(mark);
    edit->SetSelectionMode(smLine);
    select(BufferCoord(2, 2), BufferCoord(1, 3));
    edit->SetSelTextPrimitive("");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"one", "four"}));
    EXPECT_EQ(mark->Line(), 2);
    select(BufferCoord(1, 1), BufferCoord(2, 2));
    edit->SetSelTextPrimitive("");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{""}));
}

TEST_F(SynEditSelectionTest, DeletingLinesLeavesTheCaretAtTheStartOfTheNextLine) {
    setText("abcd\r\nefgh\r\nijkl");
    edit->SetSelectionMode(smLine);
    select(BufferCoord(3, 1), BufferCoord(3, 2));
    edit->SetSelTextPrimitive("");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"ijkl"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
}

// A line-mode replacement puts its text in front of the next line; undoing it
// must take out only that text, not the line it joined.
TEST_F(SynEditSelectionTest, ALineReplacementIsUndoneWithoutTheLineItJoined) {
    struct Case {
        const char* Name;
        TBufferCoord Anchor;
        bool Paste;
    };
    for (const Case& c : {Case{"SelText", BufferCoord(1, 1), false},
                          Case{"SelText from the middle", BufferCoord(2, 1), false},
                          Case{"paste", BufferCoord(2, 1), true}}) {
        SCOPED_TRACE(c.Name);
        setText("ab\r\ncd\r\nef");
        edit->SetSelectionMode(smLine);
        select(c.Anchor, BufferCoord(3, 1));
        if (c.Paste) {
            putOnClipboard("XY", nullptr);
            edit->PasteFromClipboard();
        } else {
            edit->SetSelTextExternal("XY");
        }
        EXPECT_EQ(lines(), (std::vector<AnsiString>{"XYcd", "ef"}));
        const RecordedChange inserted = undoItems().at(c.Paste ? 2 : 1);
        EXPECT_EQ(inserted.StartPos, BufferCoord(1, 1));
        EXPECT_EQ(inserted.EndPos, BufferCoord(3, 1));
        EXPECT_EQ(inserted.Mode, smNormal);
        edit->Undo();
        EXPECT_EQ(lines(), (std::vector<AnsiString>{"ab", "cd", "ef"}));
        edit->Redo();
        EXPECT_EQ(lines(), (std::vector<AnsiString>{"XYcd", "ef"}));
    }
}

TEST_F(SynEditSelectionTest, ALineDroppedInLineModeIsUndoneWithoutTheLineItJoined) {
    setText("ab\r\ncd\r\nef");
    edit->SetSelectionMode(smLine);
    select(BufferCoord(1, 3), BufferCoord(2, 3));
    const TBufferCoord dropAt = BufferCoord(2, 1);
    edit->DragDrop(edit, edit->TextOffset() + (dropAt.Char - 1) * edit->CharWidth(),
                   (dropAt.Line - edit->TopLine()) * edit->LineHeight() + 1);
    ASSERT_EQ(lines(), (std::vector<AnsiString>{"efab", "cd", ""}));
    edit->Undo();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"ab", "cd", "ef"}));
}

// Deleting a column takes nothing from a line shorter than the block, so undo
// must put nothing back there, though the copied text is padded.
TEST_F(SynEditSelectionTest, AColumnDeletionRecordsOnlyWhatTheLinesHeld) {
    for (const bool paste : {false, true}) {
        SCOPED_TRACE(paste ? "paste" : "cut");
        setText("abc\r\nd\r\nefgh");
        edit->SetSelectionMode(smColumn);
        select(BufferCoord(2, 1), BufferCoord(4, 3));
        if (paste) {
            putOnClipboard("X", nullptr);
            edit->PasteFromClipboard();
        } else {
            edit->CutToClipboard();
            EXPECT_EQ(Clipboard()->AsText(), "bc\r\n  \r\nfg");
        }
        const RecordedChange deleted = undoItems().at(paste ? 1 : 0);
        EXPECT_EQ(deleted,
                  (RecordedChange{crDelete, BufferCoord(2, 1), BufferCoord(4, 3), "bc\r\n\r\nfg", smColumn}));
        edit->Undo();
        EXPECT_EQ(lines(), (std::vector<AnsiString>{"abc", "d", "efgh"}));
    }
}

TEST_F(SynEditSelectionTest, LineInsertionGoesBeforeTheCaretLine) {
    setText("l1\r\nl2\r\nl3");
    edit->SetCaretXY(BufferCoord(2, 3));
    edit->SetSelTextPrimitiveEx(smLine, "x\r\ny\r\n", false);
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"l1", "l2", "x", "y", "l3"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 5));
    edit->SetSelTextPrimitiveEx(smLine, "p\r\nq", false);
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"l1", "l2", "x", "y", "p", "ql3"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(2, 6));
}

TEST_F(SynEditSelectionTest, InsertBlockReplacesAColumnBlock) {
    setText("abcd\r\nabcd");
    edit->InsertBlock(BufferCoord(2, 1), BufferCoord(3, 2), "XX\r\nYY", false);
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"aXXcd", "aYYcd"}));
    EXPECT_EQ(edit->ActiveSelectionMode(), smColumn);
}

TEST_F(SynEditSelectionTest, DeletingTheSelectionRecordsItsDirection) {
    setText("abcdef");
    select(BufferCoord(5, 1), BufferCoord(2, 1));
    edit->DeleteSelectionAsUndoStep();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"aef"}));
    ASSERT_EQ(undoItems().size(), 1u);
    EXPECT_EQ(undoItems()[0],
              (RecordedChange{crDeleteAfterCursor, BufferCoord(5, 1), BufferCoord(2, 1), "bcd", smNormal}));
}

// ---- Pasting --------------------------------------------------------------------------------

TEST_F(SynEditSelectionTest, PastingPlainTextOverASelectionIsOneUndoStep) {
    setText("hello world");
    putOnClipboard("there", nullptr);
    select(BufferCoord(7, 1), BufferCoord(12, 1));
    edit->PasteFromClipboard();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"hello there"}));
    const std::vector<RecordedChange> expected{
        {crPasteBegin, BufferCoord(7, 1), BufferCoord(12, 1), "", smNormal},
        {crDelete, BufferCoord(7, 1), BufferCoord(12, 1), "world", smNormal},
        {crPaste, BufferCoord(7, 1), BufferCoord(12, 1), "", smNormal},
        {crPasteEnd, BufferCoord(12, 1), BufferCoord(12, 1), "", smNormal},
    };
    EXPECT_EQ(undoItems(), expected);
    edit->Undo();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"hello world"}));
    EXPECT_FALSE(edit->UndoList()->GetCanUndo());
}

TEST_F(SynEditSelectionTest, PastingTheEditorsColumnBlockInsertsAColumn) {
    setText("abc\r\nabc");
    const std::string block = std::string(1, char(smColumn)) + "12\r\n34" + '\0';
    putOnClipboard("not this", &block);
    edit->SetCaretXY(BufferCoord(2, 1));
    edit->PasteFromClipboard();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"a12bc", "a34bc"}));
    const std::vector<RecordedChange> items = undoItems();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items.front().Reason, crPasteBegin);
    EXPECT_EQ(items[1].Reason, crInsert);
    EXPECT_EQ(items.back().Reason, crPasteEnd);
}

TEST_F(SynEditSelectionTest, PastingTheEditorsLineBlockInsertsWholeLines) {
    setText("l1\r\nl2");
    const std::string block = std::string(1, char(smLine)) + "new\r\n" + '\0';
    putOnClipboard("new\r\n", &block);
    edit->SetCaretXY(BufferCoord(2, 2));
    edit->PasteFromClipboard();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"l1", "new", "l2"}));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 3));
    const std::vector<RecordedChange> items = undoItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1], (RecordedChange{crPaste, BufferCoord(1, 2), BufferCoord(edit->CharsInWindow(), 2), "",
                                        smLine}));
}

// The block may come from any program: its text is read no further than the
// block, and a block that is not the editor's own gives way to the plain text.
TEST_F(SynEditSelectionTest, ForeignPrivateBlocksAreReadSafely) {
    struct Case {
        std::string block;
        UINT flags;
        const char* pasted;
    };
    const Case cases[] = {
        {std::string(1, char(smNormal)) + "abc", GMEM_MOVEABLE, "abc"},
        {std::string(1, char(7)) + "abc" + '\0', GMEM_MOVEABLE, "plain"},
        {std::string(), GMEM_FIXED, "plain"},
    };
    for (const Case& c : cases) {
        setText("");
        putOnClipboard("plain", &c.block, c.flags);
        edit->PasteFromClipboard();
        EXPECT_EQ(lines(), (std::vector<AnsiString>{c.pasted})) << c.block.size();
    }
}

TEST_F(SynEditSelectionTest, UnreadablePrivateBlockFailsBeforeAnythingIsRecorded) {
    setText("abc");
    const std::string discarded;
    putOnClipboard("plain", &discarded);
    EXPECT_THROW(edit->PasteFromClipboard(), ESynEditError);
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"abc"}));
    EXPECT_TRUE(undoItems().empty());
    EXPECT_EQ(edit->UndoList()->GetBlockCount(), 0);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
}

TEST_F(SynEditSelectionTest, ReadOnlyEditorPastesNothing) {
    setText("abc");
    putOnClipboard("x", nullptr);
    edit->SetReadOnly(true);
    EXPECT_FALSE(edit->CanPaste());
    edit->PasteFromClipboard();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"abc"}));
    EXPECT_TRUE(undoItems().empty());
}

// Text put past the end of its line carries the line out with blanks; undo
// takes the blanks away with the text, in the same step, and redo brings both back.
TEST_F(SynEditSelectionTest, UndoTakesBackTheBlanksThatCarriedTextPastTheLineEnd) {
    struct Case {
        const char* name;
        const char* text;
        bool privateBlock;
        bool asSelText;
        const char* result;
    };
    const Case cases[] = {
        {"pasted text", "xy", false, false, "abc    xy\r\nlast"},
        {"pasted lines", "x\r\ny", false, false, "abc    x\r\ny\r\nlast"},
        {"the editor's block", "xy", true, false, "abc    xy\r\nlast"},
        {"text set as the selection", "xy", false, true, "abc    xy\r\nlast"},
    };
    options({eoScrollPastEol}, {});
    for (const Case& c : cases) {
        setText("abc\r\nlast");
        const std::string block = std::string(1, char(smNormal)) + c.text + '\0';
        putOnClipboard(c.text, c.privateBlock ? &block : nullptr);
        edit->SetCaretXY(BufferCoord(8, 1));
        if (c.asSelText)
            edit->SetSelTextExternal(c.text);
        else
            edit->PasteFromClipboard();
        EXPECT_EQ(edit->Text(), c.result) << c.name;
        const std::vector<RecordedChange> items = undoItems();
        EXPECT_NE(
            std::find(items.begin(), items.end(),
                      RecordedChange{crWhiteSpaceAdd, BufferCoord(8, 1), BufferCoord(4, 1), "", smNormal}),
            items.end())
            << c.name;
        edit->Undo();
        EXPECT_EQ(edit->Text(), "abc\r\nlast") << c.name;
        EXPECT_FALSE(edit->UndoList()->GetCanUndo()) << c.name;
        edit->Redo();
        EXPECT_EQ(edit->Text(), c.result) << c.name;
        edit->Undo();
        EXPECT_EQ(edit->Text(), "abc\r\nlast") << c.name;
    }
}

// Undo left the collapsed selection behind the caret: the text goes in at the
// caret, and its undo record has to start there too.
TEST_F(SynEditSelectionTest, TextReplacingNoSelectionIsRecordedAtTheCaret) {
    for (const bool asSelText : {false, true}) {
        setText("abc\r\ndef");
        putOnClipboard("X", nullptr);
        edit->SetCaretXY(BufferCoord(3, 1));
        edit->InternalSetCaretXY(BufferCoord(2, 2));
        if (asSelText)
            edit->SetSelTextExternal("X");
        else
            edit->PasteFromClipboard();
        EXPECT_EQ(edit->Text(), "abc\r\ndXef") << asSelText;
        edit->Undo();
        EXPECT_EQ(edit->Text(), "abc\r\ndef") << asSelText;
    }
}

// A column block put into lines too short for its column records their
// padding just before the piece that needed it.
TEST_F(SynEditSelectionTest, AColumnInsertRecordsThePaddingOfShortLines) {
    setText("abcdef\r\nab");
    edit->BeginUndoBlock();
    edit->InsertBlock(BufferCoord(5, 1), BufferCoord(5, 1), "12\r\n34", true);
    edit->EndUndoBlock();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"abcd12ef", "ab  34"}));
    const std::vector<RecordedChange> expected{
        {crInsert, BufferCoord(5, 1), BufferCoord(7, 1), "", smColumn},
        {crWhiteSpaceAdd, BufferCoord(5, 2), BufferCoord(3, 2), "", smNormal},
        {crInsert, BufferCoord(5, 2), BufferCoord(7, 2), "", smColumn},
    };
    EXPECT_EQ(undoItems(), expected);
    edit->Undo();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"abcdef", "ab"}));
    edit->Redo();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"abcd12ef", "ab  34"}));
}

// ---- Character-index selection --------------------------------------------------------------

TEST_F(SynEditSelectionTest, CharacterIndexesCountLineBreaksAsTwo) {
    setText("ab\r\ncd");
    struct Case {
        Integer index;
        TBufferCoord position;
    };
    for (const Case& c :
         {Case{0, BufferCoord(1, 1)}, Case{2, BufferCoord(3, 1)}, Case{3, BufferCoord(4, 1)},
          Case{4, BufferCoord(1, 2)}, Case{5, BufferCoord(2, 2)}, Case{8, BufferCoord(1, 3)}}) {
        EXPECT_EQ(edit->CharIndexToRowCol(c.index), c.position) << c.index;
    }
    EXPECT_EQ(edit->RowColToCharIndex(BufferCoord(2, 2)), 5);
    EXPECT_EQ(edit->RowColToCharIndex(BufferCoord(3, 9)), 6);
}

TEST_F(SynEditSelectionTest, SelStartPlacesTheCaret) {
    setText("ab\r\ncd");
    options({}, {eoScrollPastEol});
    edit->SetSelStart(4);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 2));
    edit->SetSelStart(2);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 1));
    edit->SetSelStart(3);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 1));
    options({eoScrollPastEol}, {});
    edit->SetSelStart(3);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(4, 1));
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(SynEditSelectionTest, SelLengthSelectsAcrossTheLineBreak) {
    setText("ab\r\ncd");
    edit->SetSelStart(1);
    edit->SetSelLength(4);
    EXPECT_EQ(edit->GetBlockBegin(), BufferCoord(2, 1));
    EXPECT_EQ(edit->GetBlockEnd(), BufferCoord(2, 2));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(2, 2));
    EXPECT_EQ(edit->GetSelText(), "b\r\nc");
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelEnd(), 5);
    EXPECT_EQ(edit->SelLength(), 4);
    edit->SetSelEnd(6);
    EXPECT_EQ(edit->GetSelText(), "b\r\ncd");
}

TEST_F(SynEditSelectionTest, NegativeSelLengthSelectsTowardsTheFront) {
    setText("ab\r\ncd");
    edit->SetSelStart(5);
    edit->SetSelLength(-3);
    EXPECT_EQ(edit->GetSelText(), "\r\nc");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 1));
    edit->SetSelStart(5);
    edit->SetSelLength(-40);
    EXPECT_EQ(edit->GetSelText(), "ab\r\nc");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
}

TEST_F(SynEditSelectionTest, SelTextReplacesTheSelectionAsOneUndoStep) {
    setText("one two three");
    edit->SetSelStart(4);
    edit->SetSelLength(3);
    edit->SetSelTextExternal("2\r\n2");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"one 2", "2 three"}));
    const std::vector<RecordedChange> items = undoItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], (RecordedChange{crDelete, BufferCoord(5, 1), BufferCoord(8, 1), "two", smNormal}));
    EXPECT_EQ(items[1], (RecordedChange{crInsert, BufferCoord(5, 1), BufferCoord(2, 2), "", smNormal}));
    EXPECT_EQ(edit->UndoList()->GetItems(0)->ChangeNumber, edit->UndoList()->GetItems(1)->ChangeNumber);
    edit->Undo();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"one two three"}));
}

TEST_F(SynEditSelectionTest, EmptySelTextRecordsOnlyWhatItDeletes) {
    setText("abc");
    edit->SetSelTextExternal("");
    EXPECT_TRUE(undoItems().empty());
    select(BufferCoord(1, 1), BufferCoord(3, 1));
    edit->ClearSelection();
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"c"}));
    ASSERT_EQ(undoItems().size(), 1u);
    EXPECT_EQ(undoItems()[0].Reason, crDelete);
}

TEST_F(SynEditSelectionTest, ClearLeavesAnEmptyUnmodifiedEditorWithNothingToUndo) {
    setText("abc\r\ndef");
    edit->SetCaretXY(BufferCoord(2, 2));
    edit->SetSelTextExternal("x");
    ASSERT_TRUE(edit->Modified());
    edit->Clear();
    EXPECT_EQ(edit->Lines()->Count(), 0);
    EXPECT_FALSE(edit->UndoList()->GetCanUndo());
    EXPECT_FALSE(edit->RedoList()->GetCanUndo());
    EXPECT_FALSE(edit->Modified());
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
}

TEST_F(SynEditSelectionTest, WholeTextAndCaretLineAreReplaced) {
    edit->SynSetText("a\nb\r\nc");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"a", "b", "c"}));
    edit->SetCaretXY(BufferCoord(1, 2));
    edit->SetLineText("B");
    EXPECT_EQ(lines(), (std::vector<AnsiString>{"a", "B", "c"}));
}

} // namespace
