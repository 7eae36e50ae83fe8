// The editor's view: scroll bars and scrolling, the caret it shows, the
// messages it answers, highlighter ranges kept as far as they change, display
// positions with tabs and word wrap, and the wrap glyph in the gutter.
#include "editor/SynEdit.h"
#include "editor/tests/SynEditTestSupport.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Caret.h"
#include "platform/win/Cursors.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Windows.h"

#include <climits>
#include <functional>

namespace {

AnsiString numberedLines(Integer Count, const AnsiString& Prefix = "line ") {
    AnsiString text;
    for (Integer i = 1; i <= Count; ++i) {
        if (i > 1) text += "\r\n";
        text += Prefix + IntToStr(i);
    }
    return text;
}

class SynEditScrollingTest : public SynEditOnFormTest {
protected:
    void TearDown() override {
        edit->OnScroll = nullptr;
        edit->OnDropFiles = nullptr;
        VisualTest::TearDown();
    }

    SCROLLINFO scrollInfo(int Bar) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        GetScrollInfo(edit->Handle(), Bar, &info);
        return info;
    }

    void scroll(UINT Message, WORD Request, WORD Position = 0) {
        edit->Perform(Message, MAKEWPARAM(Request, Position), 0);
    }

    bool hasBar(DWORD Style) { return (GetWindowLongA(edit->Handle(), GWL_STYLE) & Style) != 0; }

    TColor pixel(Integer X, Integer Y) { return PixelAt(edit->Handle(), TPoint{X, Y}); }

    void paint() {
        edit->Invalidate();
        edit->Update();
    }

    void focusElsewhere() {
        auto* other = new TSynEdit(form.get());
        other->SetBounds(0, 290, 10, 10);
        other->SetParent(form.get());
        other->SetFocus();
        ASSERT_FALSE(edit->Focused());
    }
};

TEST_F(SynEditScrollingTest, ShortTextGivesBarsInRowsAndColumns) {
    edit->Lines()->SetText(numberedLines(100));
    const SCROLLINFO vertical = scrollInfo(SB_VERT);
    EXPECT_EQ(vertical.nMin, 1);
    EXPECT_EQ(vertical.nMax, 100);
    EXPECT_EQ(vertical.nPage, static_cast<UINT>(edit->LinesInWindow()));
    EXPECT_EQ(vertical.nPos, 1);
    const SCROLLINFO horizontal = scrollInfo(SB_HORZ);
    EXPECT_EQ(horizontal.nMin, 1);
    EXPECT_EQ(horizontal.nMax, 1024) << "past line ends the extent is MaxScrollWidth";
    EXPECT_EQ(horizontal.nPage, static_cast<UINT>(edit->CharsInWindow()));
    edit->SetLeftChar(5);
    EXPECT_EQ(scrollInfo(SB_HORZ).nPos, 5);
}

TEST_F(SynEditScrollingTest, FortyThousandLinesAreScaledOntoTheBarAndItsEndShowsTheLastRows) {
    edit->Lines()->SetText(numberedLines(40000));
    SCROLLINFO vertical = scrollInfo(SB_VERT);
    EXPECT_EQ(vertical.nMin, 0);
    EXPECT_EQ(vertical.nMax, 32767);
    EXPECT_EQ(vertical.nPage, static_cast<UINT>(MulDiv(32767, edit->LinesInWindow(), 40000)));
    edit->SetTopLine(20000);
    EXPECT_EQ(scrollInfo(SB_VERT).nPos, MulDiv(32767, 20000, 40000));
    vertical = scrollInfo(SB_VERT);
    const auto end = static_cast<WORD>(vertical.nMax - static_cast<int>(vertical.nPage) + 1);
    scroll(WM_VSCROLL, SB_THUMBTRACK, end);
    EXPECT_EQ(edit->TopLine(), 40000 - edit->LinesInWindow() + 1);
    scroll(WM_VSCROLL, SB_ENDSCROLL);
}

TEST_F(SynEditScrollingTest, TopLineStopsAtTheLastPageUnlessPastEofIsAllowed) {
    edit->Lines()->SetText(numberedLines(100));
    edit->SetTopLine(1000);
    EXPECT_EQ(edit->TopLine(), 100 - edit->LinesInWindow() + 1);
    edit->SetOptions(edit->Options() + TSynEditorOptions{eoScrollPastEof});
    edit->SetTopLine(1000);
    EXPECT_EQ(edit->TopLine(), 100);
    edit->SetTopLine(-5);
    EXPECT_EQ(edit->TopLine(), 1);
}

TEST_F(SynEditScrollingTest, ScrollMessagesMoveByLinesPagesAndToTheEnds) {
    struct Recorder : TObject {
        std::vector<TScrollBarKind> bars;
        void Scrolled(TObject*, TScrollBarKind Bar) { bars.push_back(Bar); }
    } recorder;
    edit->OnScroll = SynEdit::TScrollEvent(&recorder, &Recorder::Scrolled);
    edit->Lines()->SetText(numberedLines(200));
    const Integer page = edit->LinesInWindow();
    scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(edit->TopLine(), 2);
    scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(edit->TopLine(), 2 + page);
    edit->SetOptions(edit->Options() + TSynEditorOptions{eoScrollByOneLess});
    scroll(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(edit->TopLine(), 3);
    scroll(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(edit->TopLine(), 200 - page + 1);
    scroll(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(edit->TopLine(), 1);
    scroll(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(edit->LeftChar(), 2);
    scroll(WM_HSCROLL, SB_THUMBTRACK, 40);
    EXPECT_EQ(edit->LeftChar(), 40);
    scroll(WM_HSCROLL, SB_RIGHT);
    EXPECT_EQ(edit->LeftChar(), 1024 - edit->CharsInWindow() + 1);
    scroll(WM_HSCROLL, SB_LEFT);
    EXPECT_EQ(edit->LeftChar(), 1);
    EXPECT_EQ(recorder.bars.size(), 9u);
    EXPECT_EQ(recorder.bars.back(), sbHorizontal);
    EXPECT_EQ(recorder.bars.front(), sbVertical);
}

TEST_F(SynEditScrollingTest, DraggingTheThumbShowsTheTopLineInAHint) {
    edit->Lines()->SetText(numberedLines(200));
    scroll(WM_VSCROLL, SB_THUMBTRACK, 21);
    THintWindow* hint = nullptr;
    for (Integer i = 0; i < Application->ComponentCount(); ++i)
        if (auto* window = dynamic_cast<THintWindow*>(Application->Components(i));
            window != nullptr && window->Caption().rfind("Top Line", 0) == 0)
            hint = window;
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->Caption(), "Top Line: 21");
    EXPECT_TRUE(IsWindowVisible(hint->Handle()));
    EXPECT_EQ(hint->Color(), clInfoBk);
    edit->SetScrollHintFormat(shfTopToBottom);
    scroll(WM_VSCROLL, SB_THUMBTRACK, 30);
    EXPECT_EQ(hint->Caption(), "30 - " + IntToStr(30 + edit->LinesInWindow()));
    scroll(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_FALSE(IsWindowVisible(hint->Handle()));
}

TEST_F(SynEditScrollingTest, TheMouseCursorFollowsGutterTextAndSelection) {
    struct Handler : TObject {
        void Cursor(TObject*, const TBufferCoord& Position, TCursor& Chosen) {
            if (Position.Char == 6) Chosen = crCross;
        }
    } handler;
    edit->OnMouseCursor = TMouseCursorEvent(&handler, &Handler::Cursor);
    edit->Lines()->SetText("abcdefgh");
    edit->SetBlockBegin(BufferCoord(1, 1));
    edit->SetBlockEnd(BufferCoord(4, 1));
    edit->Gutter()->SetCursor(crHandPoint);
    auto cursorOverColumn = [&](Integer Column) {
        const Integer x = Column == 0 ? 1 : edit->TextOffset() + (Column - 1) * edit->CharWidth() + 1;
        const TPoint screen = edit->ClientToScreen(TPoint{x, 2});
        SetCursorPos(screen.x, screen.y);
        edit->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(edit->Handle()),
                      MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorOverColumn(0), Screen->Cursors(crHandPoint));
    EXPECT_EQ(cursorOverColumn(2), Screen->Cursors(crArrow)) << "a selection can be dragged";
    EXPECT_EQ(cursorOverColumn(5), Screen->Cursors(crIBeam));
    EXPECT_EQ(cursorOverColumn(6), Screen->Cursors(crCross));
    edit->OnMouseCursor = nullptr;
}

TEST_F(SynEditScrollingTest, HiddenBarsAppearOnlyForTextThatDoesNotFit) {
    edit->Lines()->SetText("short");
    EXPECT_TRUE(hasBar(WS_VSCROLL)) << "without the option the bars stay, disabled";
    EXPECT_TRUE(hasBar(WS_HSCROLL));
    edit->SetOptions(edit->Options() - TSynEditorOptions{eoScrollPastEol} +
                     TSynEditorOptions{eoHideShowScrollbars});
    EXPECT_FALSE(hasBar(WS_VSCROLL));
    EXPECT_FALSE(hasBar(WS_HSCROLL));
    EXPECT_EQ(edit->ClientWidth(), 400);
    edit->Lines()->SetText(numberedLines(100));
    EXPECT_TRUE(hasBar(WS_VSCROLL));
    EXPECT_LT(edit->ClientWidth(), 400) << "the bar takes its room from the client area";
    EXPECT_EQ(edit->CharsInWindow(), (edit->ClientWidth() - edit->GutterWidth() - 2) / edit->CharWidth());
    edit->SetScrollBars(ssNone);
    EXPECT_FALSE(hasBar(WS_VSCROLL));
}

TEST_F(SynEditScrollingTest, SmallScrollsMoveThePixelsAndLargeOnesRepaintEverything) {
    edit->Lines()->SetText(numberedLines(200));
    edit->Update();
    RECT update{};
    ASSERT_FALSE(GetUpdateRect(edit->Handle(), &update, FALSE));
    edit->SetTopLine(3);
    ASSERT_TRUE(GetUpdateRect(edit->Handle(), &update, FALSE));
    EXPECT_GT(update.Top, 0) << "only the uncovered rows need painting";
    EXPECT_GE(update.Bottom - update.Top, 2 * edit->LineHeight());
    edit->Update();
    edit->SetTopLine(3 + edit->LinesInWindow());
    ASSERT_TRUE(GetUpdateRect(edit->Handle(), &update, FALSE));
    EXPECT_EQ(update.Top, 0);
    EXPECT_EQ(update.Bottom, edit->ClientHeight());
    edit->Update();
    edit->SetLeftChar(2);
    ASSERT_TRUE(GetUpdateRect(edit->Handle(), &update, FALSE));
    EXPECT_GT(update.Left, edit->GutterWidth()) << "columns scroll right of the gutter only";
}

TEST_F(SynEditScrollingTest, ScrolledPixelsMatchAFullRepaint) {
    edit->Lines()->SetText(numberedLines(100, "text of row "));
    edit->Update();
    edit->SetTopLine(4);
    edit->Update();
    const Integer y = 2 * edit->LineHeight() + edit->LineHeight() / 2;
    std::vector<TColor> scrolled;
    for (Integer x = 0; x < edit->ClientWidth(); ++x)
        scrolled.push_back(pixel(x, y));
    paint();
    for (Integer x = 0; x < edit->ClientWidth(); ++x)
        ASSERT_EQ(pixel(x, y), scrolled[static_cast<std::size_t>(x)]) << "x " << x;
}

TEST_F(SynEditScrollingTest, EnsureCursorPosVisibleBringsTheCaretIntoView) {
    edit->Lines()->SetText(numberedLines(300));
    edit->SetCaretXY(BufferCoord(150, 200));
    edit->EnsureCursorPosVisible();
    EXPECT_EQ(edit->TopLine(), 200 - edit->LinesInWindow() + 1);
    EXPECT_EQ(edit->LeftChar(), 150 - edit->CharsInWindow() + 1);
    EXPECT_TRUE(edit->CaretInView());
    edit->SetCaretXYEx(false, BufferCoord(1, 20));
    edit->EnsureCursorPosVisibleEx(true);
    EXPECT_EQ(edit->LeftChar(), 1);
    EXPECT_EQ(edit->TopLine(), 20 - edit->LinesInWindow() / 2 + 1);
}

TEST_F(SynEditScrollingTest, TheCaretShowsInTheShapeOfTheModeOnlyWithTheFocus) {
    const TColor white = ColorToRGB(clWindow);
    const Integer x = edit->TextOffset();
    focusElsewhere();
    paint();
    EXPECT_EQ(pixel(x - 1, 3), white) << "no caret without the focus";
    edit->SetFocus();
    paint();
    EXPECT_NE(pixel(x - 1, 3), white) << "a 2-pixel bar left of the first cell";
    EXPECT_NE(pixel(x, 3), white);
    EXPECT_EQ(pixel(x + 2, 3), white);
    edit->SetInsertMode(false);
    EXPECT_NE(pixel(x + edit->CharWidth() - 1, 3), white) << "a block one cell wide";
    EXPECT_EQ(pixel(x - 1, 3), white);
    EXPECT_EQ(pixel(x + edit->CharWidth(), 3), white);
}

TEST_F(SynEditScrollingTest, AlwaysShowCaretKeepsTheCaretWithoutTheFocus) {
    const TColor white = ColorToRGB(clWindow);
    const Integer x = edit->TextOffset();
    focusElsewhere();
    edit->SetAlwaysShowCaret(true);
    paint();
    EXPECT_NE(pixel(x - 1, 3), white);
    edit->SetAlwaysShowCaret(false);
    EXPECT_EQ(pixel(x - 1, 3), white);
}

TEST_F(SynEditScrollingTest, MessagesReadAndReplaceTheText) {
    EXPECT_NE(edit->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("one\r\ntwo")), 0);
    EXPECT_EQ(edit->Lines()->Count(), 2);
    EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH, 0, 0), 8);
    char buffer[6] = {};
    EXPECT_EQ(edit->Perform(WM_GETTEXT, sizeof(buffer), reinterpret_cast<LPARAM>(buffer)), 5);
    EXPECT_STREQ(buffer, "one\r\n");
    const LRESULT code = edit->Perform(WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(code & (DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS),
              DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS);
    EXPECT_EQ(code & DLGC_WANTTAB, 0);
    edit->SetWantTabs(true);
    EXPECT_NE(edit->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, 0);
    EXPECT_EQ(edit->Perform(WM_ERASEBKGND, 0, 0), 1);
}

// An editor that records the system commands its window receives.
class TSystemCommandSynEdit : public TSynEdit {
public:
    using TSynEdit::TSynEdit;
    std::vector<WPARAM> systemCommands;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_SYSCOMMAND) systemCommands.push_back(Message.WParam);
        TSynEdit::WndProc(Message);
    }
};

// Alt with a character asks the menu for it, which beeps when none answers.
TEST_F(SynEditScrollingTest, AltBackspaceGoesNoFurtherThanTheEditor) {
    auto* editor = new TSystemCommandSynEdit(form.get());
    editor->SetParent(form.get());
    constexpr LPARAM altDown = 1 << 29;
    editor->Perform(WM_SYSCHAR, 'q', altDown);
    ASSERT_EQ(editor->systemCommands.size(), 1u);
    editor->Perform(WM_SYSCHAR, VK_BACK, altDown);
    EXPECT_EQ(editor->systemCommands.size(), 1u);
}

TEST_F(SynEditScrollingTest, OptionsWithoutPastEolBringTheCaretAndViewBack) {
    edit->Lines()->SetText("abc");
    edit->SetCaretXY(BufferCoord(20, 1));
    edit->SetLeftChar(10);
    ASSERT_EQ(edit->CaretX(), 20);
    edit->SetOptions(edit->Options() - TSynEditorOptions{eoScrollPastEol});
    EXPECT_EQ(edit->CaretX(), 4) << "the end of the line";
    EXPECT_EQ(edit->LeftChar(), 1);
    EXPECT_EQ(scrollInfo(SB_HORZ).nMax, 3) << "the extent is the longest line";
}

TEST_F(SynEditScrollingTest, AProportionalFontIsAskedForInFixedPitch) {
    TFont font;
    font.SetName("Courier New");
    font.SetSize(12);
    edit->SetFont(&font);
    EXPECT_EQ(edit->Font()->Size(), 12);
    EXPECT_EQ(edit->Font()->Pitch(), fpDefault);
    font.SetName("Arial");
    font.SetColor(clRed);
    font.SetStyle(TFontStyles{fsItalic});
    edit->SetFont(&font);
    EXPECT_EQ(edit->Font()->Name(), "Arial");
    EXPECT_EQ(edit->Font()->Color(), clRed);
    EXPECT_EQ(edit->Font()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(edit->Font()->Pitch(), fpFixed);
}

TEST_F(SynEditScrollingTest, ClearAndCutRespectReadOnly) {
    edit->SetText("abcdef");
    edit->SetBlockBegin(BufferCoord(2, 1));
    edit->SetBlockEnd(BufferCoord(4, 1));
    edit->SetReadOnly(true);
    edit->Perform(WM_CLEAR, 0, 0);
    EXPECT_EQ(edit->Lines()->Get(0), "abcdef");
    edit->SetReadOnly(false);
    edit->Perform(WM_CLEAR, 0, 0);
    EXPECT_EQ(edit->Lines()->Get(0), "adef");
}

// ---- Highlighter ranges ---------------------------------------------------------------------

// A JavaScript highlighter that records the lines it is given.
class TRecordingJScriptSyn : public TSynJScriptSyn {
public:
    using TSynJScriptSyn::TSynJScriptSyn;
    std::vector<Integer> scanned;
    void SetLine(const AnsiString& NewValue, Integer LineNumber) override {
        scanned.push_back(LineNumber);
        TSynJScriptSyn::SetLine(NewValue, LineNumber);
    }
};

std::vector<Integer> run(Integer First, Integer Last) {
    std::vector<Integer> lines;
    for (Integer i = First; i <= Last; ++i)
        lines.push_back(i);
    return lines;
}

class SynEditRangeTest : public SynEditScrollingTest {
protected:
    TRecordingJScriptSyn highlighter{nullptr};

    void SetUp() override {
        SynEditScrollingTest::SetUp();
        edit->Lines()->SetText(numberedLines(100, "var x = "));
        edit->SetHighlighter(&highlighter);
        edit->Update();
        highlighter.scanned.clear();
    }

    void TearDown() override {
        edit->SetHighlighter(nullptr);
        SynEditScrollingTest::TearDown();
    }

    std::vector<Integer> scannedBy(const std::function<void()>& Change) {
        highlighter.scanned.clear();
        Change();
        return highlighter.scanned;
    }
};

TEST_F(SynEditRangeTest, AttachingScansEveryLine) {
    TRecordingJScriptSyn other(nullptr);
    edit->SetHighlighter(&other);
    EXPECT_EQ(other.scanned, run(0, 99));
    edit->SetHighlighter(&highlighter);
}

TEST_F(SynEditRangeTest, ChangesRescanExactlyAsFarAsTheEndStatesChange) {
    EXPECT_EQ(scannedBy([&] { edit->Lines()->Put(2, "var y = 2;"); }), run(2, 2));
    EXPECT_EQ(scannedBy([&] { edit->Lines()->Put(2, "var y = 2; /* open"); }), run(2, 99))
        << "an unclosed comment reaches the end of the text";
    EXPECT_EQ(scannedBy([&] { edit->Lines()->Put(2, "var y = 2; /* shut */"); }), run(2, 99));
    EXPECT_EQ(scannedBy([&] { edit->Lines()->Put(10, "/* open"); }), run(10, 99));
    EXPECT_EQ(scannedBy([&] { edit->Lines()->Put(20, "shut */"); }), run(20, 99));
    EXPECT_EQ(scannedBy([&] { edit->Lines()->Put(30, "var z = 3;"); }), run(30, 30));
}

TEST_F(SynEditRangeTest, InsertedLinesAreAllScannedAndDeletionsKeepTheRest) {
    edit->Lines()->Put(50, "/* open");
    EXPECT_EQ(scannedBy([&] { edit->Lines()->InsertLines(60, 3); }), run(60, 63))
        << "the line after them ends in the state it stored";
    EXPECT_EQ(scannedBy([&] { edit->Lines()->DeleteLines(50, 1); }), run(50, 101));
    for (Integer i = 50; i < edit->Lines()->Count(); ++i)
        ASSERT_EQ(edit->Lines()->GetRange(i), edit->Lines()->GetRange(0)) << "line " << i;
    EXPECT_TRUE(scannedBy([&] { edit->Lines()->DeleteLines(0, edit->Lines()->Count()); }).empty());
}

TEST_F(SynEditRangeTest, ReplacingALineRepaintsOnlyTheRescannedRows) {
    edit->Update();
    RECT update{};
    edit->Lines()->Put(2, "var y = 2;");
    ASSERT_TRUE(GetUpdateRect(edit->Handle(), &update, FALSE));
    EXPECT_EQ(update.Top, 2 * edit->LineHeight());
    EXPECT_EQ(update.Bottom, 3 * edit->LineHeight());
    edit->Update();
    edit->Lines()->Put(2, "/* open");
    ASSERT_TRUE(GetUpdateRect(edit->Handle(), &update, FALSE));
    EXPECT_EQ(update.Top, 2 * edit->LineHeight());
    EXPECT_GE(update.Bottom, edit->LinesInWindow() * edit->LineHeight());
}

TEST_F(SynEditRangeTest, AnEditorShowingAnotherBufferRepaintsToTheEnd) {
    auto* viewer = new TSynEdit(form.get());
    viewer->SetBounds(0, 0, 400, 300);
    viewer->SetBorderStyle(bsNone);
    viewer->SetParent(form.get());
    viewer->SetHighlighter(&highlighter);
    viewer->SetLinesPointer(edit);
    viewer->Update();
    edit->Update();
    edit->Lines()->Put(2, "var y = 2;");
    RECT own{};
    RECT shown{};
    ASSERT_TRUE(GetUpdateRect(edit->Handle(), &own, FALSE));
    ASSERT_TRUE(GetUpdateRect(viewer->Handle(), &shown, FALSE));
    EXPECT_EQ(own.Bottom, 3 * edit->LineHeight());
    EXPECT_EQ(shown.Top, 2 * viewer->LineHeight());
    EXPECT_GE(shown.Bottom, viewer->LinesInWindow() * viewer->LineHeight())
        << "the buffer's owner may have rescanned first";
    viewer->RemoveLinesPointer();
    viewer->SetHighlighter(nullptr);
}

TEST_F(SynEditRangeTest, DetachingStopsScanningAndFreeingDetaches) {
    edit->SetHighlighter(nullptr);
    EXPECT_TRUE(scannedBy([&] { edit->Lines()->Put(2, "/* open"); }).empty());
    {
        TSynJScriptSyn doomed(nullptr);
        edit->SetHighlighter(&doomed);
    }
    EXPECT_EQ(edit->Highlighter(), nullptr);
    edit->SetHighlighter(&highlighter);
}

TEST_F(SynEditRangeTest, ClearingResetsTheViewAndForgetsTheUndoHistory) {
    edit->SetCaretXY(BufferCoord(3, 50));
    edit->SetTopLine(40);
    edit->SetLeftChar(5);
    edit->Lines()->Put(0, "changed");
    edit->UndoList()->AddChange(crInsert, BufferCoord(1, 1), BufferCoord(2, 1), "x", smNormal);
    edit->Lines()->Clear();
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(1, 1));
    EXPECT_EQ(edit->TopLine(), 1);
    EXPECT_EQ(edit->LeftChar(), 1);
    EXPECT_FALSE(edit->UndoList()->GetCanUndo());
}

// ---- Display positions and word wrap --------------------------------------------------------

TEST_F(SynEditScrollingTest, TabsExpandToTheNextStop) {
    edit->SetTabWidth(4);
    edit->Lines()->SetText("a\tb");
    EXPECT_EQ(edit->BufferToDisplayPos(BufferCoord(3, 1)), DisplayCoord(5, 1));
    EXPECT_EQ(edit->BufferToDisplayPos(BufferCoord(6, 1)), DisplayCoord(8, 1))
        << "one column per character past the end";
    struct Case {
        Integer column;
        Integer character;
    };
    for (const Case c : {Case{1, 1}, Case{2, 2}, Case{3, 2}, Case{4, 2}, Case{5, 3}, Case{8, 6}})
        EXPECT_EQ(edit->DisplayToBufferPos(DisplayCoord(c.column, 1)), BufferCoord(c.character, 1))
            << "column " << c.column;
}

TEST_F(SynEditScrollingTest, TabWidthIsClamped) {
    edit->SetTabWidth(0);
    EXPECT_EQ(edit->TabWidth(), 1);
    edit->SetTabWidth(1000);
    EXPECT_EQ(edit->TabWidth(), 256);
    EXPECT_EQ(edit->Lines()->TabWidth(), 256);
}

class SynEditWrapTest : public SynEditScrollingTest {
protected:
    // Text lines twice as wide as the window, between short ones.
    void SetUp() override {
        SynEditScrollingTest::SetUp();
        AnsiString text;
        for (Integer i = 1; i <= 60; ++i) {
            if (i > 1) text += "\r\n";
            text +=
                i % 2 == 0 ? AnsiString(static_cast<std::size_t>(edit->CharsInWindow() * 2), 'w') : "short";
        }
        edit->Lines()->SetText(text);
    }
};

TEST_F(SynEditWrapTest, WrappedLinesTakeSeveralRows) {
    edit->SetWordWrap(true);
    ASSERT_TRUE(edit->WordWrap());
    EXPECT_GT(edit->DisplayLineCount(), 60);
    EXPECT_EQ(edit->LineToRow(1), 1);
    EXPECT_GT(edit->LineToRow(3), 3);
    EXPECT_EQ(edit->RowToLine(edit->LineToRow(3)), 3);
    EXPECT_EQ(edit->RowToLine(edit->LineToRow(3) - 1), 2) << "a continuation row belongs to its line";
    const TDisplayCoord secondRow = edit->BufferToDisplayPos(BufferCoord(edit->CharsInWindow() + 5, 2));
    EXPECT_EQ(secondRow.Row, 3);
    EXPECT_EQ(edit->DisplayToBufferPos(secondRow), BufferCoord(edit->CharsInWindow() + 5, 2));
    EXPECT_FALSE(hasBar(WS_HSCROLL)) << "wrapped text needs no horizontal bar";
    EXPECT_EQ(scrollInfo(SB_VERT).nMax, edit->DisplayLineCount());
}

TEST_F(SynEditWrapTest, SwitchingKeepsTheTopLineAndScrollsLeftCharBack) {
    edit->SetTopLine(21);
    edit->SetLeftChar(7);
    edit->SetWordWrap(true);
    EXPECT_EQ(edit->RowToLine(edit->TopLine()), 21);
    EXPECT_EQ(edit->LeftChar(), 1);
    edit->SetLeftChar(7);
    EXPECT_EQ(edit->LeftChar(), 1) << "wrapped text does not scroll sideways";
    edit->SetWordWrap(false);
    EXPECT_EQ(edit->TopLine(), 21);
}

TEST_F(SynEditWrapTest, TheCaretOfAVerticalMoveStopsAtTheEndOfAWrappedRow) {
    edit->SetWordWrap(true);
    edit->IncPaintLock();
    edit->SetCaretXY(BufferCoord(edit->CharsInWindow() + 40, 3));
    edit->DecPaintLock();
    EXPECT_EQ(edit->CaretX(), edit->CharsInWindow() + 1) << "a position past the row's end comes back to it";
    edit->SetFocus();
    paint();
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_LE(caret.x, edit->TextOffset() + edit->CharsInWindow() * edit->CharWidth());
}

TEST_F(SynEditWrapTest, TheGutterShowsTheWrapGlyphOnContinuationRows) {
    edit->Gutter()->SetColor(clAqua);
    edit->SetWordWrap(true);
    paint();
    const Integer glyphLeft =
        edit->GutterWidth() - edit->Gutter()->RightOffset() - 2 - edit->WordWrapGlyph()->Width();
    auto inkInGutterRow = [&](Integer Row) {
        const Integer top = (Row - edit->TopLine()) * edit->LineHeight();
        for (Integer y = top; y < top + edit->LineHeight(); ++y)
            for (Integer x = std::max(glyphLeft, 0); x < edit->GutterWidth() - 2; ++x)
                if (pixel(x, y) != ColorToRGB(clAqua)) return true;
        return false;
    };
    const Integer continuation = edit->LineToRow(2) + 1;
    EXPECT_FALSE(inkInGutterRow(1));
    EXPECT_FALSE(inkInGutterRow(edit->LineToRow(2)));
    EXPECT_TRUE(inkInGutterRow(continuation));
    edit->WordWrapGlyph()->SetVisible(false);
    paint();
    EXPECT_FALSE(inkInGutterRow(continuation));
}

TEST_F(SynEditWrapTest, WrappedRowsPaintTheirPartOfTheLine) {
    edit->SetWordWrap(true);
    paint();
    const TColor background = ColorToRGB(clWindow);
    auto cellHasInk = [&](Integer Column, Integer Row) {
        const Integer left = edit->TextOffset() + (Column - 1) * edit->CharWidth();
        const Integer top = (Row - edit->TopLine()) * edit->LineHeight();
        for (Integer y = top; y < top + edit->LineHeight(); ++y)
            for (Integer x = left; x < left + edit->CharWidth(); ++x)
                if (pixel(x, y) != background) return true;
        return false;
    };
    const Integer lastRowOfLine2 = edit->LineToRow(3) - 1;
    EXPECT_TRUE(cellHasInk(1, 2));
    EXPECT_TRUE(cellHasInk(1, lastRowOfLine2));
    EXPECT_FALSE(cellHasInk(6, 1)) << "after \"short\"";
    EXPECT_TRUE(cellHasInk(1, edit->LineToRow(3)));
}

TEST_F(SynEditScrollingTest, DroppedFilesReachTheHandlerInDropOrder) {
    edit->SetOptions(edit->Options() + TSynEditorOptions{eoDropFiles});
    struct Recorder : TObject {
        std::vector<AnsiString> files;
        TPoint point{};
        void Dropped(TObject*, Integer X, Integer Y, TStrings* AFiles) {
            point = TPoint{X, Y};
            for (Integer i = 0; i < AFiles->Count(); ++i)
                files.push_back(AFiles->Get(i));
        }
    } recorder;
    edit->OnDropFiles = TDropFilesEvent(&recorder, &Recorder::Dropped);
    backend.DropFiles(edit->Handle(), POINT{30, 40}, {u"C:\\one.txt", u"C:\\two.txt"});
    Application->ProcessMessages();
    EXPECT_EQ(recorder.files, (std::vector<AnsiString>{"C:\\one.txt", "C:\\two.txt"}));
    EXPECT_EQ(recorder.point, (TPoint{30, 40}));
}

} // namespace
