// Bookmarks, dragging text within and between editors, one editor showing
// another's buffer, the command road from key to execution, search and
// replace through a test engine, and the key map in form resources.
#include "editor/SynEdit.h"
#include "editor/tests/SynEditTestSupport.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Painting.h"

#include <cctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// Finds every occurrence of the pattern in a line, whole words only with
// ssoWholeWord and ignoring case without ssoMatchCase.
class TTestSearch : public TSynEditSearchCustom {
public:
    using TSynEditSearchCustom::TSynEditSearchCustom;

    AnsiString GetPattern() override { return pattern_; }
    void SetPattern(const AnsiString& Value) override { pattern_ = Value; }
    Integer GetLength(Integer) override { return static_cast<Integer>(pattern_.size()); }
    Integer GetResult(Integer Index) override { return results_.at(static_cast<std::size_t>(Index)); }
    Integer GetResultCount() override { return static_cast<Integer>(results_.size()); }
    void SetOptions(TSynSearchOptions Value) override { options_ = Value; }
    Integer FindAll(const AnsiString& NewText) override {
        results_.clear();
        const AnsiString text = folded(NewText);
        const AnsiString pattern = folded(pattern_);
        for (std::size_t at = text.find(pattern); at != AnsiString::npos; at = text.find(pattern, at + 1))
            if (!options_.Contains(ssoWholeWord) || isWholeWord(text, at, pattern.size()))
                results_.push_back(static_cast<Integer>(at) + 1);
        return GetResultCount();
    }
    AnsiString Replace(const AnsiString&, const AnsiString& aReplacement) override { return aReplacement; }

private:
    AnsiString folded(AnsiString Text) const {
        if (!options_.Contains(ssoMatchCase))
            for (char& c : Text)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return Text;
    }
    static bool isWholeWord(const AnsiString& Text, std::size_t At, std::size_t Length) {
        auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
        return (At == 0 || !word(Text[At - 1])) && (At + Length >= Text.size() || !word(Text[At + Length]));
    }

    AnsiString pattern_;
    TSynSearchOptions options_;
    std::vector<Integer> results_;
};

// What the editors' events reported, and how the handlers answer.
struct EventRecorder {
    std::vector<Integer> clearedLines;
    std::map<TObject*, Integer> changes;
    std::vector<TSynReplaceAction> answers;
    std::vector<Integer> askedColumns;

    void bookmarkCleared(TObject*, TSynEditMark*& Mark) { clearedLines.push_back(Mark->Line()); }
    void refuseMark(TObject*, TSynEditMark*& Mark) { Mark = nullptr; }
    void changed(TObject* Sender) { ++changes[Sender]; }
    void replaceText(TObject*, const AnsiString&, const AnsiString&, Integer, Integer Column,
                     TSynReplaceAction& Action) {
        askedColumns.push_back(Column);
        Action = answers.at(askedColumns.size() - 1);
    }
};

class SynEditDispatchTest : public VisualTest {
protected:
    // Declared first so that the editors, which may still report, go before it.
    EventRecorder events;
    std::unique_ptr<TForm> form = plainForm(820, 300);
    TSynEdit* first = nullptr;
    TSynEdit* second = nullptr;

    void SetUp() override {
        VisualTest::SetUp();
        first = placeEditor(*form, 0);
        second = placeEditor(*form, 410);
        form->Show();
    }

    void TearDown() override {
        holdKeys({});
        VisualTest::TearDown();
    }

    // The keyboard state that GetKeyState reports: exactly these keys down.
    static void holdKeys(std::initializer_list<BYTE> Keys) {
        BYTE state[256] = {};
        for (BYTE key : Keys)
            state[key] = 0x80;
        SetKeyboardState(state);
    }

    // The client point of a buffer position (word wrap off, no scrolling).
    static TPoint pointOf(TSynEdit& Edit, TBufferCoord Position) {
        return TPoint{Edit.TextOffset() + (Position.Char - 1) * Edit.CharWidth(),
                      (Position.Line - Edit.TopLine()) * Edit.LineHeight() + 1};
    }

    static POINT at(TSynEdit& Edit, TBufferCoord Position) {
        const TPoint point = pointOf(Edit, Position);
        return POINT{point.x, point.y};
    }

    static void select(TSynEdit& Edit, TBufferCoord Anchor, TBufferCoord End) {
        Edit.SetCaretXY(End);
        Edit.SetBlockBegin(Anchor);
        Edit.SetBlockEnd(End);
    }

    static void drop(TSynEdit& Target, TSynEdit& Source, TBufferCoord At) {
        const TPoint point = pointOf(Target, At);
        Target.DragDrop(&Source, point.x, point.y);
    }

    static std::vector<AnsiString> linesOf(TSynEdit& Edit) {
        std::vector<AnsiString> lines;
        for (Integer i = 0; i < Edit.Lines()->Count(); ++i)
            lines.push_back(Edit.Lines()->Get(i));
        return lines;
    }
};

using Lines = std::vector<AnsiString>;

// ---- Bookmarks ------------------------------------------------------------------------------

TEST_F(SynEditDispatchTest, BookmarksArePlacedMovedAndCleared) {
    first->SetText("one\r\ntwo\r\nthree\r\nfour");
    first->OnClearBookmark = TPlaceMarkEvent(&events, &EventRecorder::bookmarkCleared);
    first->SetBookMark(3, 2, 2);
    first->SetBookMark(3, 1, 4);
    EXPECT_EQ(events.clearedLines, std::vector<Integer>{2}) << "setting it again clears the first mark";
    EXPECT_EQ(first->Marks()->Count(), 1);
    Integer x = 0;
    Integer y = 0;
    ASSERT_TRUE(first->GetBookMark(3, x, y));
    EXPECT_EQ(BufferCoord(x, y), BufferCoord(1, 4));
    const TSynEditMark* mark = first->Marks()->First();
    EXPECT_TRUE(mark->Visible());
    EXPECT_TRUE(mark->InternalImage()) << "no image list";
    EXPECT_EQ(mark->ImageIndex(), 3);

    first->ClearBookMark(3);
    EXPECT_EQ(events.clearedLines, (std::vector<Integer>{2, 4}));
    EXPECT_FALSE(first->IsBookmark(3));
    EXPECT_EQ(first->Marks()->Count(), 0);

    first->SetBookMark(3, 1, 2);
    first->ClearAll();
    EXPECT_FALSE(first->IsBookmark(3)) << "clearing the text takes the bookmarks";
    first->SetText("one\r\ntwo");
    first->SetBookMark(3, 1, 2);
    first->GotoBookMark(3);
    EXPECT_EQ(first->CaretXY(), BufferCoord(1, 2));
}

TEST_F(SynEditDispatchTest, BookmarksOutsideTheirRangeAreIgnored) {
    first->SetText("one\r\ntwo");
    struct Case {
        Integer number;
        Integer line;
    };
    for (Case c : {Case{-1, 1}, Case{10, 1}, Case{0, 0}, Case{0, 3}}) {
        first->SetBookMark(c.number, 1, c.line);
        EXPECT_EQ(first->Marks()->Count(), 0) << c.number << " at line " << c.line;
    }
    TSynEdit empty(nullptr);
    empty.SetBookMark(0, 1, 1);
    EXPECT_TRUE(empty.IsBookmark(0)) << "an empty editor has room for line 1";
}

TEST_F(SynEditDispatchTest, PlacementHandlerMayRefuseTheMark) {
    first->SetText("one");
    first->OnPlaceBookmark = TPlaceMarkEvent(&events, &EventRecorder::refuseMark);
    first->SetBookMark(1, 1, 1);
    EXPECT_FALSE(first->IsBookmark(1));
    EXPECT_EQ(first->Marks()->Count(), 0);
}

TEST_F(SynEditDispatchTest, GotoBookMarkAndGotoLineMoveTheCaretAndCollapseTheSelection) {
    first->SetText("one\r\ntwo\r\nthree\r\nfour");
    first->SetBookMark(5, 3, 3);
    select(*first, BufferCoord(1, 1), BufferCoord(3, 2));
    first->GotoBookMark(5);
    EXPECT_EQ(first->CaretXY(), BufferCoord(3, 3));
    EXPECT_EQ(first->BlockBegin(), BufferCoord(3, 3));
    EXPECT_EQ(first->BlockEnd(), BufferCoord(3, 3));

    first->SetBookMark(6, 2, 4);
    first->Lines()->Delete(3);
    first->SetCaretXY(BufferCoord(1, 1));
    first->GotoBookMark(6);
    EXPECT_EQ(first->CaretXY(), BufferCoord(1, 1)) << "the bookmark's line is gone";

    select(*first, BufferCoord(2, 1), BufferCoord(3, 2));
    first->GotoLineAndCenter(3);
    EXPECT_EQ(first->CaretXY(), BufferCoord(1, 3));
    EXPECT_FALSE(first->SelAvail());
}

// ---- Command dispatch -----------------------------------------------------------------------

// Records what each stage of the command road saw.
struct CommandLog {
    std::vector<std::string> entries;

    void processing(TObject*, TSynEditorCommand& Command, char&, void*) {
        entries.push_back("process " + std::to_string(Command));
        if (Command == cancelled) Command = ecNone;
    }
    void processingUser(TObject*, TSynEditorCommand& Command, char&, void*) {
        entries.push_back("user " + std::to_string(Command));
    }
    void processed(TObject*, TSynEditorCommand& Command, char&, void*) {
        entries.push_back("processed " + std::to_string(Command));
    }
    void hooked(TObject*, bool AfterProcessing, bool&, TSynEditorCommand& Command, char&, void*, void*) {
        entries.push_back((AfterProcessing ? "after " : "before ") + std::to_string(Command));
    }

    TSynEditorCommand cancelled = ecNone;
};

class CommandDispatchTest : public SynEditDispatchTest {
protected:
    CommandLog log;

    void SetUp() override {
        SynEditDispatchTest::SetUp();
        first->OnProcessCommand = TProcessCommandEvent(&log, &CommandLog::processing);
        first->OnProcessUserCommand = TProcessCommandEvent(&log, &CommandLog::processingUser);
        first->OnCommandProcessed = TProcessCommandEvent(&log, &CommandLog::processed);
        first->RegisterCommandHandler(THookedCommandEvent(&log, &CommandLog::hooked), nullptr);
    }

    // Losing the focus as the form goes is a command too; the log goes first.
    void TearDown() override {
        first->OnProcessCommand = nullptr;
        first->OnProcessUserCommand = nullptr;
        first->OnCommandProcessed = nullptr;
        first->UnregisterCommandHandler(THookedCommandEvent(&log, &CommandLog::hooked));
        SynEditDispatchTest::TearDown();
    }
};

TEST_F(CommandDispatchTest, CommandPassesEventsHooksAndExecution) {
    first->SetText("abc");
    TBufferCoord target = BufferCoord(3, 1);
    first->CommandProcessor(ecGotoXY, '\0', &target);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"process 17", "before 17", "after 17", "processed 17"}));
    EXPECT_EQ(first->CaretXY(), target);
}

TEST_F(CommandDispatchTest, CancelledCommandStillReachesCommandProcessed) {
    first->SetText("abc");
    log.cancelled = ecGotoXY;
    TBufferCoord target = BufferCoord(3, 1);
    first->CommandProcessor(ecGotoXY, '\0', &target);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"process 17", "processed 0"}));
    EXPECT_EQ(first->CaretXY(), BufferCoord(1, 1));
}

TEST_F(CommandDispatchTest, UserCommandReachesHooksButIsNotExecuted) {
    first->SetText("abc");
    const AnsiString before = first->Text();
    first->CommandProcessor(ecUserFirst + 5, 'x', nullptr);
    EXPECT_EQ(log.entries,
              (std::vector<std::string>{"user 1006", "before 1006", "after 1006", "processed 1006"}));
    EXPECT_EQ(first->Text(), before);
}

TEST_F(SynEditDispatchTest, TwoKeyBindingsNeedBothKeysInSequence) {
    constexpr TSynEditorCommand command = ecUserFirst + 1;
    first->AddKey(command, 'K', TShiftState{ssCtrl}, 'B', TShiftState{});
    void* data = nullptr;
    EXPECT_EQ(first->TranslateKeyCode('K', TShiftState{ssCtrl}, data), ecNone);
    EXPECT_EQ(first->TranslateKeyCode('B', TShiftState{}, data), command);
    EXPECT_EQ(first->TranslateKeyCode('B', TShiftState{}, data), ecNone) << "the sequence was used up";

    EXPECT_EQ(first->TranslateKeyCode('K', TShiftState{ssCtrl}, data), ecNone);
    EXPECT_EQ(first->TranslateKeyCode(VK_SHIFT, TShiftState{ssShift}, data), ecNone);
    EXPECT_EQ(first->TranslateKeyCode('B', TShiftState{}, data), ecNone) << "a key below 30 breaks it";

    EXPECT_EQ(first->TranslateKeyCode('Z', TShiftState{ssCtrl}, data), ecUndo);
    EXPECT_EQ(data, nullptr);
}

// ---- Shared buffers -------------------------------------------------------------------------

TEST_F(SynEditDispatchTest, EditorShowingAnotherBufferEditsItAndItsUndoHistory) {
    first->SetText("shared");
    second->SetText("own");
    second->SetLinesPointer(first);
    EXPECT_EQ(second->Text(), "shared");
    EXPECT_EQ(second->UndoList(), first->UndoList());

    first->OnChange = TNotifyEvent(&events, &EventRecorder::changed);
    second->OnChange = TNotifyEvent(&events, &EventRecorder::changed);
    second->SetCaretXY(BufferCoord(7, 1));
    first->Update();
    second->Update();
    second->SetSelTextExternal("!");
    EXPECT_EQ(first->Text(), "shared!");
    RECT dirty{};
    EXPECT_TRUE(GetUpdateRect(first->Handle(), &dirty, FALSE)) << "both editors repaint";
    EXPECT_TRUE(GetUpdateRect(second->Handle(), &dirty, FALSE));
    EXPECT_EQ(events.changes[first], 1);
    EXPECT_EQ(events.changes[second], 1);
    EXPECT_TRUE(first->Modified());
    EXPECT_TRUE(second->Modified());

    first->Undo();
    EXPECT_EQ(second->Text(), "shared");

    second->RemoveLinesPointer();
    EXPECT_EQ(second->Text(), "own");
    EXPECT_NE(second->UndoList(), first->UndoList());
    first->Lines()->Add("more");
    EXPECT_EQ(second->Text(), "own") << "the first editor's buffer no longer reports to the second";
}

TEST_F(SynEditDispatchTest, HookingMisuseFailsAnAssertion) {
    second->SetLinesPointer(first);
    EXPECT_THROW(second->HookTextBuffer(first->Lines(), first->UndoList(), first->RedoList()),
                 EAssertionFailed);
    EXPECT_THROW(second->UnHookTextBuffer(), EAssertionFailed) << "the chained editor is still set";
    second->RemoveLinesPointer();
    EXPECT_THROW(first->HookTextBuffer(first->Lines(), first->UndoList(), first->RedoList()),
                 EAssertionFailed);
}

TEST_F(SynEditDispatchTest, FreeingEitherSharingEditorLeavesTheOtherWorking) {
    first->SetText("shared");
    second->SetText("own");
    second->SetLinesPointer(first);
    delete second;
    first->Lines()->Add("more");
    EXPECT_EQ(first->Lines()->Count(), 2);

    TSynEdit* third = placeEditor(*form, 410);
    third->SetText("third");
    third->SetLinesPointer(first);
    third->SetWordWrap(true);
    delete first;
    EXPECT_EQ(third->Text(), "third") << "the removal of the shown editor ends the sharing";
    third->Lines()->Add("more");
    EXPECT_EQ(third->Lines()->Count(), 2);
}

// ---- Drag and drop --------------------------------------------------------------------------

TEST_F(SynEditDispatchTest, DraggingWithinAnEditorMovesAndOneUndoRestores) {
    first->SetText("line one\r\nline two\r\nthree\r\nfour\r\nfive");
    const AnsiString before = first->Text();
    select(*first, BufferCoord(1, 2), BufferCoord(9, 2));
    drop(*first, *first, BufferCoord(5, 5));
    EXPECT_EQ(linesOf(*first), (Lines{"line one", "", "three", "four", "fiveline two"}));
    EXPECT_EQ(first->SelText(), "line two") << "the dropped text is left selected";
    EXPECT_EQ(first->CaretXY(), BufferCoord(5, 5));

    first->Undo();
    EXPECT_EQ(first->Text(), before);
}

TEST_F(SynEditDispatchTest, DraggingWholeLinesMovesThemBeforeTheDropLine) {
    first->SetText("one\r\ntwo\r\nthree\r\nfour");
    first->SetSelectionMode(smLine);
    select(*first, BufferCoord(1, 1), BufferCoord(2, 1));
    drop(*first, *first, BufferCoord(2, 3));
    EXPECT_EQ(linesOf(*first), (Lines{"two", "one", "three", "four"}));
    first->Undo();
    EXPECT_EQ(linesOf(*first), (Lines{"one", "two", "three", "four"}));

    select(*first, BufferCoord(1, 2), BufferCoord(2, 2));
    drop(*first, *first, BufferCoord(3, 2));
    EXPECT_EQ(linesOf(*first), (Lines{"one", "two", "three", "four"}))
        << "a drop on the dragged line does nothing";
}

TEST_F(SynEditDispatchTest, DraggingWithCtrlCopiesEvenOntoTheSelectionEnd) {
    first->SetText("abc def");
    select(*first, BufferCoord(1, 1), BufferCoord(4, 1));
    holdKeys({VK_CONTROL});
    drop(*first, *first, BufferCoord(4, 1));
    EXPECT_EQ(first->Text(), "abcabc def");
    EXPECT_EQ(first->SelText(), "abc");
}

TEST_F(SynEditDispatchTest, DropInsideTheDraggedSelectionChangesNothing) {
    first->SetText("abcdef");
    select(*first, BufferCoord(2, 1), BufferCoord(5, 1));
    drop(*first, *first, BufferCoord(3, 1));
    EXPECT_EQ(first->Text(), "abcdef");
    EXPECT_FALSE(first->CanUndo());
}

TEST_F(SynEditDispatchTest, MovingLinesOntoTheirOwnLastLineLandsAtTheDropPoint) {
    first->SetText("abCDEF\r\nghIJKL\r\nxyz");
    select(*first, BufferCoord(3, 1), BufferCoord(3, 2));
    drop(*first, *first, BufferCoord(5, 2));
    EXPECT_EQ(linesOf(*first), (Lines{"abIJCDEF", "ghKL", "xyz"})) << "dropped before the K";
    EXPECT_EQ(first->SelText(), "CDEF\r\ngh");
}

TEST_F(SynEditDispatchTest, DraggingBetweenEditorsCopiesUnlessShiftIsHeld) {
    struct Case {
        bool shift;
        bool sourceReadOnly;
        AnsiString sourceAfter;
    };
    for (Case c :
         {Case{false, false, "take this"}, Case{true, false, "take "}, Case{true, true, "take this"}}) {
        first->SetText("take this");
        first->SetReadOnly(c.sourceReadOnly);
        second->SetText("into ");
        select(*first, BufferCoord(6, 1), BufferCoord(10, 1));
        holdKeys(c.shift ? std::initializer_list<BYTE>{VK_SHIFT} : std::initializer_list<BYTE>{});
        drop(*second, *first, BufferCoord(6, 1));
        EXPECT_EQ(second->Text(), "into this") << "shift " << c.shift << ", read-only " << c.sourceReadOnly;
        EXPECT_EQ(second->SelText(), "this");
        EXPECT_EQ(first->Text(), c.sourceAfter) << "shift " << c.shift << ", read-only " << c.sourceReadOnly;
        EXPECT_EQ(second->UndoList()->GetItems(0)->Reason, crInsert);
        second->Undo();
        EXPECT_EQ(second->Text(), "into ");
    }
}

TEST_F(SynEditDispatchTest, MouseDragCarriesTheSelectionIntoAnotherEditor) {
    first->SetText("take this");
    second->SetText("into ");
    select(*first, BufferCoord(6, 1), BufferCoord(10, 1));
    backend.MouseDown(first->Handle(), at(*first, BufferCoord(7, 1)));
    backend.MoveMouse(first->Handle(), at(*first, BufferCoord(10, 1)));
    HeadlessBackend::ProcessMessages();
    ASSERT_TRUE(first->Dragging());
    backend.MoveMouse(second->Handle(), at(*second, BufferCoord(6, 1)));
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(second->CaretXY(), BufferCoord(6, 1)) << "the caret follows the mouse";
    backend.MouseUp(second->Handle(), at(*second, BufferCoord(6, 1)));
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(second->Text(), "into this");
    EXPECT_EQ(first->Text(), "take this");
}

TEST_F(SynEditDispatchTest, MouseDragWithinAnEditorFollowsTheMouseAndComesBackWhenItLeaves) {
    first->SetText("take this\r\nsecond line");
    select(*first, BufferCoord(6, 1), BufferCoord(10, 1));
    backend.MouseDown(first->Handle(), at(*first, BufferCoord(7, 1)));
    backend.MoveMouse(first->Handle(), at(*first, BufferCoord(10, 1)));
    backend.MoveMouse(first->Handle(), at(*first, BufferCoord(4, 2)));
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(first->CaretXY(), BufferCoord(4, 2));
    backend.MoveMouse(second->Handle(), at(*second, BufferCoord(1, 1)));
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(first->CaretXY(), BufferCoord(7, 1)) << "back at the mouse-down point";
    backend.MoveMouse(first->Handle(), at(*first, BufferCoord(1, 2)));
    backend.MouseUp(first->Handle(), at(*first, BufferCoord(1, 2)));
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(linesOf(*first), (Lines{"take ", "thissecond line"}));
}

TEST_F(SynEditDispatchTest, ReadOnlyEditorsRefuseDraggedText) {
    first->SetText("take this");
    second->SetText("into ");
    second->SetReadOnly(true);
    select(*first, BufferCoord(6, 1), BufferCoord(10, 1));
    const TPoint point = pointOf(*second, BufferCoord(6, 1));
    bool accept = true;
    second->DragOver(first, point.x, point.y, dsDragMove, accept);
    EXPECT_FALSE(accept);
    second->DragDrop(first, point.x, point.y);
    EXPECT_EQ(second->Text(), "into ");

    second->SetReadOnly(false);
    holdKeys({VK_CONTROL});
    second->DragOver(first, point.x, point.y, dsDragMove, accept);
    EXPECT_TRUE(accept);
    EXPECT_EQ(second->DragCursor(), crMultiDrag);
    EXPECT_EQ(second->CaretXY(), BufferCoord(6, 1)) << "the caret follows the mouse";
    holdKeys({});
    second->DragOver(first, point.x, point.y, dsDragMove, accept);
    EXPECT_EQ(second->DragCursor(), crDrag);
    second->DragOver(form.get(), point.x, point.y, dsDragMove, accept);
    EXPECT_FALSE(accept) << "only editors are a source";
}

// ---- Search and replace ---------------------------------------------------------------------

class SearchReplaceTest : public SynEditDispatchTest {
protected:
    TTestSearch* engine = nullptr;

    void SetUp() override {
        SynEditDispatchTest::SetUp();
        engine = new TTestSearch(form.get());
        first->SetSearchEngine(engine);
    }
};

TEST_F(SearchReplaceTest, WithoutAnEngineSearchingFails) {
    second->SetText("text");
    try {
        second->SearchReplace("text", "", TSynSearchOptions{});
        FAIL() << "no exception";
    } catch (const ESynEditError& error) {
        EXPECT_STREQ(error.what(), "No search engine has been assigned");
    }
}

TEST_F(SearchReplaceTest, EmptyPatternFindsNothingAndMovesNothing) {
    first->SetText("abc abc");
    first->SetCaretXY(BufferCoord(3, 1));
    EXPECT_EQ(first->SearchReplace("", "x", TSynSearchOptions{ssoEntireScope}), 0);
    EXPECT_EQ(first->CaretXY(), BufferCoord(3, 1));
    EXPECT_FALSE(first->SelAvail());
}

TEST_F(SearchReplaceTest, SearchSelectsTheFirstMatchInItsDirection) {
    struct Case {
        TSynSearchOptions options;
        TBufferCoord caret;
        TBufferCoord begin;
        TBufferCoord caretAfter;
    };
    const Case cases[] = {
        {{}, BufferCoord(2, 1), BufferCoord(5, 1), BufferCoord(8, 1)},
        {{ssoEntireScope}, BufferCoord(2, 2), BufferCoord(1, 1), BufferCoord(4, 1)},
        {{ssoBackwards}, BufferCoord(2, 2), BufferCoord(5, 1), BufferCoord(5, 1)},
        {{ssoMatchCase}, BufferCoord(1, 1), BufferCoord(1, 2), BufferCoord(4, 2)},
    };
    for (const Case& c : cases) {
        first->SetText("abc abc\r\nABC");
        first->SetCaretXY(c.caret);
        const bool matchCase = c.options.Contains(ssoMatchCase);
        EXPECT_EQ(first->SearchReplace(matchCase ? "ABC" : "abc", "", c.options), 1);
        EXPECT_EQ(first->GetBlockBegin(), c.begin) << c.options.Bits();
        EXPECT_EQ(first->GetBlockEnd(), BufferCoord(c.begin.Char + 3, c.begin.Line)) << c.options.Bits();
        EXPECT_EQ(first->CaretXY(), c.caretAfter) << c.options.Bits();
    }
}

TEST_F(SearchReplaceTest, ReplaceAllShiftsLaterMatchesOfTheLineAndUndoesAtOnce) {
    first->SetText("aaa\r\nxa");
    EXPECT_EQ(first->SearchReplace("a", "bb", TSynSearchOptions{ssoEntireScope, ssoReplaceAll}), 4);
    EXPECT_EQ(linesOf(*first), (Lines{"bbbbbb", "xbb"}));
    first->Undo();
    EXPECT_EQ(linesOf(*first), (Lines{"aaa", "xa"}));

    EXPECT_EQ(first->SearchReplace("a", "bb", TSynSearchOptions{ssoEntireScope, ssoReplaceAll, ssoBackwards}),
              4);
    EXPECT_EQ(linesOf(*first), (Lines{"bbbbbb", "xbb"})) << "backwards needs no shifting";
}

TEST_F(SearchReplaceTest, ReplaceWithoutReplaceAllHandlesOneMatch) {
    first->SetText("a a a");
    EXPECT_EQ(first->SearchReplace("a", "b", TSynSearchOptions{ssoEntireScope, ssoReplace}), 1);
    EXPECT_EQ(first->Text(), "b a a");
}

TEST_F(SearchReplaceTest, PromptedReplacementFollowsTheHandler) {
    first->SetText("a a a a");
    events.answers = {raSkip, raReplace, raCancel};
    first->OnReplaceText = TReplaceTextEvent(&events, &EventRecorder::replaceText);
    EXPECT_EQ(first->SearchReplace("a", "b", TSynSearchOptions{ssoEntireScope, ssoReplaceAll, ssoPrompt}), 3);
    EXPECT_EQ(first->Text(), "a b a a");
    EXPECT_EQ(events.askedColumns, (std::vector<Integer>{1, 3, 5}));

    events.askedColumns.clear();
    events.answers = {raReplaceAll};
    first->SetText("a a a a");
    EXPECT_EQ(first->SearchReplace("a", "b", TSynSearchOptions{ssoEntireScope, ssoReplaceAll, ssoPrompt}), 4);
    EXPECT_EQ(first->Text(), "b b b b");
    EXPECT_EQ(events.askedColumns.size(), 1u) << "replacing all stops the questions";
    first->Undo();
    EXPECT_EQ(first->Text(), "a a a a") << "everything from the answer on is one undo block";
}

TEST_F(SearchReplaceTest, SelectedOnlyKeepsToTheSelection) {
    first->SetText("a a a a");
    select(*first, BufferCoord(3, 1), BufferCoord(6, 1));
    EXPECT_EQ(first->SearchReplace("a", "b", TSynSearchOptions{ssoSelectedOnly, ssoReplaceAll}), 2);
    EXPECT_EQ(first->Text(), "a b b a");
}

TEST_F(SearchReplaceTest, EngineIsForgottenWhenFreed) {
    delete engine;
    EXPECT_EQ(first->SearchEngine(), nullptr);
}

// ---- Keystroke streaming --------------------------------------------------------------------

// The text between "Name = <" and its closing ">", and how many items it holds.
Integer streamedItems(const AnsiString& Text, const std::string& Name) {
    const std::size_t start = Text.find(Name + " = <");
    if (start == AnsiString::npos) return -1;
    const std::size_t end = Text.find('>', start);
    Integer items = 0;
    for (std::size_t at = Text.find("item", start); at < end; at = Text.find("item", at + 1))
        ++items;
    return items;
}

AnsiString formWithEditor(const std::function<void(TSynEdit&)>& Prepare) {
    TForm form(nullptr);
    form.SetName("Main");
    auto* edit = new TSynEdit(&form);
    edit->SetName("HeadEdit");
    edit->SetParent(&form);
    Prepare(*edit);
    return WriteComponentText(&form);
}

TEST(SynEditKeystrokeStreaming, DefaultKeyMapIsNotWritten) {
    HeadlessBackendInstalled();
    const AnsiString text = formWithEditor([](TSynEdit&) {});
    EXPECT_EQ(text.find("Keystrokes"), AnsiString::npos) << text;
}

TEST(SynEditKeystrokeStreaming, RebindingIsWrittenAsOneRemovedAndOneAddedBinding) {
    HeadlessBackendInstalled();
    const AnsiString text = formWithEditor([](TSynEdit& Edit) {
        TSynEditKeyStrokes* keys = Edit.Keystrokes();
        keys->Items(keys->FindKeycode('Z', TShiftState{ssCtrl}))
            ->SetShortCut(ShortCut('Q', TShiftState{ssCtrl}));
    });
    EXPECT_EQ(streamedItems(text, "RemovedKeystrokes"), 1) << text;
    EXPECT_EQ(streamedItems(text, "AddedKeystrokes"), 1) << text;
    EXPECT_LT(text.find("RemovedKeystrokes"), text.find("AddedKeystrokes"));

    TForm read(nullptr);
    ReadComponentText(text, &read);
    auto* edit = static_cast<TSynEdit*>(read.FindComponent("HeadEdit"));
    ASSERT_NE(edit, nullptr);
    TSynEditKeyStrokes* keys = edit->Keystrokes();
    EXPECT_EQ(keys->Count(), 82);
    EXPECT_EQ(keys->FindKeycode('Z', TShiftState{ssCtrl}), -1);
    const Integer moved = keys->FindKeycode('Q', TShiftState{ssCtrl});
    ASSERT_GE(moved, 0);
    EXPECT_EQ(keys->Items(moved)->Command(), ecUndo);
}

TEST(SynEditKeystrokeStreaming, InheritedFormsStoreDifferencesFromTheAncestorsMap) {
    HeadlessBackendInstalled();
    auto rebind = [](TSynEdit& Edit) {
        TSynEditKeyStrokes* keys = Edit.Keystrokes();
        keys->Items(keys->FindKeycode('Z', TShiftState{ssCtrl}))
            ->SetShortCut(ShortCut('Q', TShiftState{ssCtrl}));
    };
    auto formWith = [](TForm& Form, const std::function<void(TSynEdit&)>& Prepare) {
        Form.SetName("Main");
        auto* edit = new TSynEdit(&Form);
        edit->SetName("HeadEdit");
        edit->SetParent(&Form);
        Prepare(*edit);
    };
    TForm ancestor(nullptr);
    formWith(ancestor, rebind);
    TForm same(nullptr);
    formWith(same, rebind);
    TWriter sameWriter;
    sameWriter.WriteDescendent(&same, &ancestor);
    EXPECT_EQ(sameWriter.Text().find("Keystrokes"), AnsiString::npos) << sameWriter.Text();

    TForm plain(nullptr);
    formWith(plain, [](TSynEdit&) {});
    TWriter plainWriter;
    plainWriter.WriteDescendent(&plain, &ancestor);
    EXPECT_EQ(streamedItems(plainWriter.Text(), "RemovedKeystrokes"), 1) << plainWriter.Text();
    EXPECT_EQ(streamedItems(plainWriter.Text(), "AddedKeystrokes"), 1) << plainWriter.Text();
}

TEST(SynEditKeystrokeStreaming, RemovedBindingNotInTheDefaultMapIsIgnored) {
    HeadlessBackendInstalled();
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  object HeadEdit: TSynEdit\n"
                      "    RemovedKeystrokes = <\n"
                      "      item\n        Command = ecUndo\n        ShortCut = 16465\n      end\n"
                      "      item\n        Command = ecCopy\n        ShortCut = 16451\n      end>\n"
                      "    AddedKeystrokes = <>\n"
                      "  end\n"
                      "end\n",
                      &read);
    auto* edit = static_cast<TSynEdit*>(read.FindComponent("HeadEdit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Keystrokes()->Count(), 81) << "Ctrl+Q was never bound; Ctrl+C is gone";
    EXPECT_EQ(edit->Keystrokes()->FindKeycode('C', TShiftState{ssCtrl}), -1);
}

} // namespace
