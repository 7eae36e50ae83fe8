// The editor's input and its way back out: keys and input-method results as
// commands, mouse selection with auto-scroll, the selected text in each mode,
// the clipboard copy in both formats, and undo and redo.
#include "editor/SynEdit.h"
#include "editor/tests/SynEditTestSupport.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Focus.h"
#include "platform/win/GlobalMemory.h"

#include <cctype>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

struct ProcessedCommand {
    TSynEditorCommand Command;
    char Char;
    friend bool operator==(const ProcessedCommand&, const ProcessedCommand&) = default;
};

std::ostream& operator<<(std::ostream& Out, const ProcessedCommand& Processed) {
    return Out << "{" << Processed.Command << ", " << int(Processed.Char) << "}";
}

struct CommandRecorder {
    std::vector<ProcessedCommand> commands;
    void Processed(TObject*, TSynEditorCommand& Command, char& AChar, void*) {
        commands.push_back({Command, AChar});
    }
};

// Fails the next caret placement it sees, once.
struct FailingTransient {
    bool armed = true;
    void Transient(TObject*, TCanvas*, TTransientType) {
        if (!std::exchange(armed, false)) return;
        throw std::runtime_error("transient paint failed");
    }
};

struct GutterClickRecorder {
    std::vector<Integer> lines;
    std::vector<TSynEditMark*> marks;
    void Clicked(TObject*, TMouseButton, Integer, Integer, Integer Line, TSynEditMark* Mark) {
        lines.push_back(Line);
        marks.push_back(Mark);
    }
};

class SynEditInputTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TSynEdit* edit = nullptr;

    void SetUp() override {
        VisualTest::SetUp();
        edit = placeEditor(*form, 0, 0, 400, 150);
        form->Show();
        edit->SetFocus();
        HeadlessBackend::ProcessMessages();
    }

    void TearDown() override {
        edit->OnProcessCommand = nullptr;
        edit->OnPaintTransient = nullptr;
        edit->OnGutterClick = nullptr;
        backend.UseSteppedTime(false);
        emptyClipboard();
        VisualTest::TearDown();
    }

    void setText(const char* Text) {
        edit->Lines()->SetText(Text);
        edit->ClearUndo();
    }

    void setOption(TSynEditorOption Option, bool On) {
        TSynEditorOptions value = edit->Options();
        if (On)
            value.Include(Option);
        else
            value.Exclude(Option);
        edit->SetOptions(value);
    }

    AnsiString line(Integer Index) { return edit->Lines()->Get(Index - 1); }

    // A point in the left half of the cell of a buffer position (no tabs, no
    // scrolling), so that the nearest column boundary is the cell's own.
    POINT pointOf(Integer Char, Integer Line) {
        return {edit->TextOffset() + (Char - 1) * edit->CharWidth() + 1,
                (Line - edit->TopLine()) * edit->LineHeight() + edit->LineHeight() / 2};
    }

    void type(UINT VirtualKey, const WideString& Characters) {
        backend.KeyDown(VirtualKey, Characters);
        backend.KeyUp(VirtualKey);
        HeadlessBackend::ProcessMessages();
    }

    void typeText(const char* Text) {
        for (const char* c = Text; *c != '\0'; ++c)
            type(static_cast<UINT>(std::toupper(static_cast<unsigned char>(*c))), WideString(1, WCHAR(*c)));
    }

    void press(UINT VirtualKey, std::initializer_list<UINT> Modifiers = {}) {
        backend.PressKey(VirtualKey, Modifiers);
        HeadlessBackend::ProcessMessages();
    }

    void click(POINT Point) {
        backend.Click(edit->Handle(), Point);
        HeadlessBackend::ProcessMessages();
    }

    void drag(POINT From, POINT To) {
        backend.MouseDown(edit->Handle(), From);
        backend.MoveMouse(edit->Handle(), To);
        backend.MouseUp(edit->Handle(), To);
        HeadlessBackend::ProcessMessages();
    }

    // Runs Action with the modifier key held down.
    template <typename Action> void holding(UINT Modifier, Action action) {
        backend.KeyDown(Modifier);
        HeadlessBackend::ProcessMessages();
        action();
        backend.KeyUp(Modifier);
        HeadlessBackend::ProcessMessages();
    }

    void tick() {
        backend.AdvanceTime(100);
        HeadlessBackend::ProcessMessages();
    }

    TTimer* scrollTimer() {
        for (Integer i = 0; i < edit->ComponentCount(); ++i)
            if (auto* timer = dynamic_cast<TTimer*>(edit->Components(i))) return timer;
        return nullptr;
    }

    // The bytes placed under Format, or nothing when the format is absent.
    static std::optional<std::string> clipboardBytes(UINT Format) {
        std::optional<std::string> bytes;
        if (!OpenClipboard(nullptr)) return bytes;
        if (HANDLE data = GetClipboardData(Format)) {
            const auto* memory = static_cast<const char*>(GlobalLock(data));
            bytes = std::string(memory, GlobalSize(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return bytes;
    }

    static std::vector<UINT> clipboardFormats() {
        std::vector<UINT> formats;
        OpenClipboard(nullptr);
        for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
            formats.push_back(format);
        CloseClipboard();
        return formats;
    }

    static void putPlainText(const std::string& Text) {
        OpenClipboard(nullptr);
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
        std::memcpy(GlobalLock(memory), Text.c_str(), Text.size() + 1);
        GlobalUnlock(memory);
        SetClipboardData(CF_TEXT, memory);
        CloseClipboard();
    }

    void select(TBufferCoord Anchor, TBufferCoord End, TSynSelectionMode Mode = smNormal) {
        edit->SetSelectionMode(Mode);
        edit->SetBlockBegin(Anchor);
        edit->SetBlockEnd(End);
    }
};

// ---- Keys and the input method ----

TEST_F(SynEditInputTest, KeysBecomeCommandsAndTheirCharactersAreSwallowed) {
    CommandRecorder recorder;
    edit->OnProcessCommand = TProcessCommandEvent(&recorder, &CommandRecorder::Processed);
    typeText("ab");
    press(VK_BACK);
    typeText("c");
    EXPECT_EQ(edit->Text(), "ac");
    // Backspace maps to a command, so its character message never becomes
    // ecChar; a letter maps to none and arrives as ecChar.
    EXPECT_EQ(recorder.commands, (std::vector<ProcessedCommand>{
                                     {ecChar, 'a'}, {ecChar, 'b'}, {ecDeleteLastChar, '\0'}, {ecChar, 'c'}}));
}

TEST_F(SynEditInputTest, AnInputMethodResultIsInsertedOnceAndItsCharactersSkipped) {
    CommandRecorder recorder;
    edit->OnProcessCommand = TProcessCommandEvent(&recorder, &CommandRecorder::Processed);
    DeliverComposition(u"xyz");
    HeadlessBackend::ProcessMessages();
    typeText("q");
    EXPECT_EQ(edit->Text(), "xyzq");
    EXPECT_EQ(recorder.commands, (std::vector<ProcessedCommand>{{ecImeStr, '\0'}, {ecChar, 'q'}}));
}

// ---- Mouse ----

TEST_F(SynEditInputTest, ClickPlacesTheCaretAndDragSelects) {
    setText("hello world\nsecond line");
    click(pointOf(3, 2));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 2));
    EXPECT_FALSE(edit->SelAvail());

    drag(pointOf(2, 1), pointOf(5, 2));
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(2, 1));
    EXPECT_EQ(edit->BlockEnd(), BufferCoord(5, 2));
    EXPECT_EQ(edit->CaretXY(), BufferCoord(5, 2));
    EXPECT_EQ(edit->SelText(), "ello world\r\nseco");
    EXPECT_EQ(backend.SelectionText(), u"ello world\r\nseco") << "offered for the middle button";
}

TEST_F(SynEditInputTest, DoubleClickSelectsTheWord) {
    setText("hello world");
    backend.DoubleClick(edit->Handle(), pointOf(8, 1));
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(edit->SelText(), "world");
    EXPECT_EQ(backend.SelectionText(), u"world");
}

TEST_F(SynEditInputTest, ShiftClickExtendsTheSelection) {
    setText("hello world\nsecond line");
    click(pointOf(2, 1));
    holding(VK_SHIFT, [&] { click(pointOf(4, 2)); });
    EXPECT_EQ(edit->SelText(), "ello world\r\nsec");
}

TEST_F(SynEditInputTest, AltDragSelectsAColumnWhenTheOptionAllowsIt) {
    setText("hello world\nsecond line\nthird");
    setOption(eoAltSetsColumnMode, true);
    holding(VK_MENU, [&] { drag(pointOf(2, 1), pointOf(4, 3)); });
    EXPECT_EQ(edit->SelectionMode(), smColumn);
    EXPECT_EQ(edit->SelText(), "el\r\nec\r\nhi");

    // Elsewhere than the last press, so that it is no double click.
    drag(pointOf(3, 1), pointOf(4, 2));
    EXPECT_EQ(edit->SelectionMode(), smNormal);
}

TEST_F(SynEditInputTest, AClickInsideTheSelectionThatIsNoDragCollapsesIt) {
    setText("hello world");
    select(BufferCoord(1, 1), BufferCoord(10, 1));
    click(pointOf(4, 1));
    EXPECT_FALSE(edit->SelAvail());
    EXPECT_EQ(edit->CaretXY(), BufferCoord(4, 1));
}

TEST_F(SynEditInputTest, PullingTheSelectionPastTheDragDistanceStartsADrag) {
    setText("hello world");
    select(BufferCoord(1, 1), BufferCoord(10, 1));
    backend.MouseDown(edit->Handle(), pointOf(3, 1));
    backend.MoveMouse(edit->Handle(), pointOf(8, 1));
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(edit->Dragging());
    EXPECT_EQ(edit->SelText(), "hello wor");
    backend.MouseUp(edit->Handle(), pointOf(8, 1));
    HeadlessBackend::ProcessMessages();
    EXPECT_FALSE(edit->Dragging());
}

TEST_F(SynEditInputTest, TheRightButtonMovesTheCaretOnlyWhenTheOptionSaysSo) {
    setText("hello world");
    auto* other = new TSynEdit(form.get());
    other->SetBounds(0, 160, 400, 100);
    other->SetParent(form.get());
    other->SetFocus();
    HeadlessBackend::ProcessMessages();

    click(pointOf(1, 1));
    other->SetFocus();
    backend.Click(edit->Handle(), pointOf(5, 1), MouseButton::Right);
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
    EXPECT_EQ(GetFocus(), other->Handle());

    setOption(eoRightMouseMovesCursor, true);
    backend.Click(edit->Handle(), pointOf(5, 1), MouseButton::Right);
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(edit->CaretXY(), BufferCoord(5, 1));
    EXPECT_EQ(GetFocus(), edit->Handle());
}

TEST_F(SynEditInputTest, AGutterClickNamesTheLineAndTheMarkUnderThePointer) {
    setText("one\ntwo\nthree");
    GutterClickRecorder recorder;
    edit->OnGutterClick = TGutterClickEvent(&recorder, &GutterClickRecorder::Clicked);
    auto* mark = new TSynEditMark(edit);
    mark->SetLine(2);
    edit->Marks()->Add(mark);
    click(POINT{2, pointOf(1, 2).y});
    click(POINT{2, pointOf(1, 3).y});
    // Below the last line there is nothing to click.
    click(POINT{2, pointOf(1, 5).y});
    EXPECT_EQ(recorder.lines, (std::vector<Integer>{2, 3}));
    EXPECT_EQ(recorder.marks, (std::vector<TSynEditMark*>{mark, nullptr}));
}

// ---- Auto-scroll ----

class SynEditAutoScrollTest : public SynEditInputTest {
protected:
    void SetUp() override {
        SynEditInputTest::SetUp();
        std::string text;
        for (int i = 1; i <= 500; ++i)
            text += "line " + std::to_string(i) + "\n";
        setText(text.c_str());
        backend.UseSteppedTime(true);
    }

    // Inside the text columns, two rows below the editor's bottom edge.
    POINT belowTheEditor() { return {pointOf(3, 1).x, edit->Height() + 2 * edit->LineHeight()}; }

    // Presses at the first line and holds the button below the editor.
    void pressAndPullBelow() {
        backend.MouseDown(edit->Handle(), pointOf(2, 1));
        backend.MoveMouse(edit->Handle(), belowTheEditor());
        HeadlessBackend::ProcessMessages();
    }
};

TEST_F(SynEditAutoScrollTest, PullingPastTheBottomScrollsEveryTickUntilRelease) {
    pressAndPullBelow();
    ASSERT_TRUE(scrollTimer()->Enabled());
    EXPECT_EQ(scrollTimer()->Interval(), 100u);
    EXPECT_EQ(edit->TopLine(), 1);

    tick();
    const Integer step = edit->TopLine() - 1;
    ASSERT_GT(step, 0);
    tick();
    EXPECT_EQ(edit->TopLine(), 1 + 2 * step);
    // The caret and the selection end follow to the last visible row.
    EXPECT_EQ(edit->CaretY(), edit->TopLine() + edit->LinesInWindow() - 1);
    EXPECT_EQ(edit->BlockEnd(), edit->CaretXY());
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(2, 1));

    backend.MouseUp(edit->Handle(), belowTheEditor());
    HeadlessBackend::ProcessMessages();
    EXPECT_FALSE(scrollTimer()->Enabled());
    const Integer top = edit->TopLine();
    tick();
    EXPECT_EQ(edit->TopLine(), top);
}

TEST_F(SynEditAutoScrollTest, ShiftScrollsAPagePerTick) {
    pressAndPullBelow();
    tick();
    const Integer step = edit->TopLine() - 1;
    holding(VK_SHIFT, [&] { tick(); });
    EXPECT_EQ(edit->TopLine(), 1 + step + step * edit->LinesInWindow());
    backend.MouseUp(edit->Handle(), belowTheEditor());
    HeadlessBackend::ProcessMessages();
}

TEST_F(SynEditAutoScrollTest, ThePointerBackInsideStopsTheTimer) {
    pressAndPullBelow();
    backend.MoveMouse(edit->Handle(), pointOf(3, 2));
    HeadlessBackend::ProcessMessages();
    EXPECT_FALSE(scrollTimer()->Enabled());
    backend.MouseUp(edit->Handle(), pointOf(3, 2));
    HeadlessBackend::ProcessMessages();
}

// ---- Selected text ----

TEST_F(SynEditInputTest, SelectedTextFollowsTheSelectionMode) {
    setText("abcdef\nxy\nlast");
    struct Case {
        TSynSelectionMode mode;
        TBufferCoord anchor;
        TBufferCoord end;
        const char* text;
    };
    const Case cases[] = {
        {smNormal, {5, 3}, {3, 1}, "cdef\r\nxy\r\nlast"},
        {smNormal, {2, 1}, {4, 1}, "bc"},
        {smLine, {2, 1}, {1, 2}, "abcdef\r\nxy\r\n"},
        // No break follows the buffer's last line.
        {smLine, {2, 2}, {1, 3}, "xy\r\nlast"},
        // Short lines are padded to the block's width.
        {smColumn, {2, 1}, {5, 3}, "bcd\r\ny  \r\nast"},
        // Ends on different lines in the same column select nothing.
        {smColumn, {3, 1}, {3, 3}, ""},
    };
    for (const Case& c : cases) {
        select(c.anchor, c.end, c.mode);
        EXPECT_EQ(edit->SelText(), c.text) << "mode " << int(c.mode) << " from " << c.anchor.Char << ","
                                           << c.anchor.Line << " to " << c.end.Char << "," << c.end.Line;
    }
}

TEST_F(SynEditInputTest, IndentationHelpers) {
    setOption(eoAutoIndent, true);
    edit->SetTabWidth(4);
    EXPECT_EQ(edit->LeftSpaces("  \tx "), 3);
    EXPECT_EQ(edit->LeftSpacesEx("  \tx ", true), 6);
    EXPECT_EQ(edit->LeftSpaces("   "), 3);
    setOption(eoTabsToSpaces, false);
    EXPECT_EQ(edit->GetLeftSpacing(9, true), "\t\t ");
    EXPECT_EQ(edit->GetLeftSpacing(3, true), "   ");
    EXPECT_EQ(edit->GetLeftSpacing(9, false), "         ");
    setOption(eoTabsToSpaces, true);
    EXPECT_EQ(edit->GetLeftSpacing(9, true), "         ");
    EXPECT_EQ(TCustomSynEdit::TrimTrailingBlanks("a b \t "), "a b");
    setOption(eoAutoIndent, false);
    EXPECT_EQ(edit->LeftSpaces("  x"), 0);
}

TEST_F(SynEditInputTest, PixelsAndPositions) {
    setText("hello");
    const Integer width = edit->CharWidth();
    const Integer height = edit->LineHeight();
    const Integer right = edit->TextOffset() + 2 * width - 1;
    // The cell under the point, and the column boundary nearest to it.
    EXPECT_EQ(edit->PixelsToRowColumn(right, 0), DisplayCoord(2, 1));
    EXPECT_EQ(edit->PixelsToNearestRowColumn(right, 0), DisplayCoord(3, 1));
    EXPECT_EQ(edit->PixelsToRowColumn(0, 0), DisplayCoord(1, 1));
    // A partly visible last row is not offered as the nearest one.
    const Integer belowWholeRows = edit->LinesInWindow() * height + 1;
    EXPECT_EQ(edit->PixelsToRowColumn(0, belowWholeRows).Row, edit->LinesInWindow() + 1);
    EXPECT_EQ(edit->PixelsToNearestRowColumn(0, belowWholeRows).Row, edit->LinesInWindow());
    EXPECT_EQ(edit->RowColumnToPixels(DisplayCoord(3, 2)), (TPoint{edit->TextOffset() + 2 * width, height}));
}

TEST_F(SynEditInputTest, TheWordAtTheCursorLeavesTheSelectionAlone) {
    setText("hello world");
    edit->SetCaretXY(BufferCoord(8, 1));
    select(BufferCoord(2, 1), BufferCoord(4, 1));
    EXPECT_EQ(edit->WordAtCursor(), "world");
    EXPECT_EQ(edit->BlockBegin(), BufferCoord(2, 1));
    EXPECT_EQ(edit->BlockEnd(), BufferCoord(4, 1));
}

// ---- Clipboard ----

TEST_F(SynEditInputTest, CopyPlacesPlainTextFirstAndThePrivateBlockAfterIt) {
    setText("hello world");
    select(BufferCoord(2, 1), BufferCoord(5, 1));
    edit->CopyToClipboard();
    const UINT format = TCustomSynEdit::SynEditClipboardFormat();
    EXPECT_EQ(format, RegisterClipboardFormatA("SynEdit Control Block Type"));
    EXPECT_EQ(clipboardBytes(CF_TEXT), std::string("ell\0", 4));
    EXPECT_EQ(clipboardBytes(format), std::string("\0ell\0", 5));
    const std::vector<UINT> formats = clipboardFormats();
    ASSERT_GE(formats.size(), 2u);
    EXPECT_EQ(formats[0], CF_TEXT);
    EXPECT_EQ(formats[1], format);
}

TEST_F(SynEditInputTest, CopyingNothingLeavesTheClipboardAlone) {
    putPlainText("kept");
    setText("hello");
    edit->CopyToClipboard();
    EXPECT_EQ(clipboardBytes(CF_TEXT), std::string("kept\0", 5));
}

TEST_F(SynEditInputTest, AColumnTravelsAsAColumnThroughThePrivateFormat) {
    setText("abcd\nef\nghij\n\n");
    select(BufferCoord(2, 1), BufferCoord(4, 3), smColumn);
    setOption(eoTrimTrailingSpaces, true);
    // The selected text is trimmed, the clipboard's copy is padded.
    EXPECT_EQ(edit->SelText(), "bc\r\nf\r\nhi");
    edit->CopyToClipboard();
    EXPECT_EQ(clipboardBytes(TCustomSynEdit::SynEditClipboardFormat()),
              std::string("\2bc\r\nf \r\nhi\0", 12));
    setOption(eoTrimTrailingSpaces, false);

    edit->SetSelectionMode(smNormal);
    edit->SetCaretXY(BufferCoord(5, 1));
    edit->PasteFromClipboard();
    EXPECT_EQ(line(1), "abcdbc");
    EXPECT_EQ(line(2), "ef  f ");
    EXPECT_EQ(line(3), "ghijhi");
    edit->Undo();
    // The blanks that carried the block out to its column go with it.
    EXPECT_EQ(edit->Text(), "abcd\r\nef\r\nghij\r\n");
    edit->Redo();
    EXPECT_EQ(edit->Text(), "abcdbc\r\nef  f \r\nghijhi\r\n");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abcd\r\nef\r\nghij\r\n");
}

TEST_F(SynEditInputTest, UndoingALinePasteTakesTheWholeLinesAway) {
    setText("one\ntwo\nthree");
    select(BufferCoord(2, 2), BufferCoord(3, 2), smLine);
    edit->CopyToClipboard();
    edit->SetSelectionMode(smNormal);
    edit->SetCaretXY(BufferCoord(2, 1));
    edit->PasteFromClipboard();
    ASSERT_EQ(edit->Text(), "two\r\none\r\ntwo\r\nthree");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "one\r\ntwo\r\nthree");
    edit->Redo();
    EXPECT_EQ(edit->Text(), "two\r\none\r\ntwo\r\nthree");
}

TEST_F(SynEditInputTest, TypingOverALineSelectionIsUndoneWhole) {
    setText("one\ntwo\nthree");
    edit->SetSelectionMode(smLine);
    select(BufferCoord(2, 2), BufferCoord(3, 2), smLine);
    edit->CommandProcessor(ecChar, 'x', nullptr);
    // The whole line goes; the character starts the line that moved up.
    ASSERT_EQ(edit->Text(), "one\r\nxthree");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "one\r\ntwo\r\nthree");
    edit->Redo();
    EXPECT_EQ(edit->Text(), "one\r\nxthree");
}

TEST_F(SynEditInputTest, PlainTextFromElsewherePastesAsNormalText) {
    setText("abcd\nef");
    putPlainText("X\r\nY");
    edit->SetCaretXY(BufferCoord(2, 1));
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), "aX\r\nYbcd\r\nef");
}

TEST_F(SynEditInputTest, CutRemovesTheSelectionAsOneUndoStep) {
    setText("hello world");
    select(BufferCoord(1, 1), BufferCoord(7, 1));
    edit->CutToClipboard();
    EXPECT_EQ(edit->Text(), "world");
    EXPECT_EQ(clipboardBytes(CF_TEXT), std::string("hello \0", 7));
    edit->Undo();
    EXPECT_EQ(edit->Text(), "hello world");
}

// The middle line is shorter than the block: redoing the cut must record only what it held.
TEST_F(SynEditInputTest, ARedoneColumnCutIsUndoneToTheLinesAsTheyWere) {
    setText("abc\nd\nefgh");
    select(BufferCoord(2, 1), BufferCoord(4, 3), smColumn);
    edit->CutToClipboard();
    edit->Undo();
    edit->Redo();
    ASSERT_EQ(edit->Text(), "a\r\nd\r\neh");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abc\r\nd\r\nefgh");
}

TEST_F(SynEditInputTest, AClipboardHeldElsewhereFailsTheCopyAndKeepsTheText) {
    setText("hello world");
    select(BufferCoord(1, 1), BufferCoord(6, 1));
    ASSERT_TRUE(OpenClipboard(form->Handle()));
    EXPECT_THROW(
        {
            try {
                edit->CutToClipboard();
            } catch (const ESynEditError& error) {
                EXPECT_STREQ(error.what(), "Clipboard copy operation failed");
                throw;
            }
        },
        ESynEditError);
    CloseClipboard();
    EXPECT_EQ(edit->Text(), "hello world");
    EXPECT_EQ(edit->SelText(), "hello");
}

// ---- Undo and redo ----

TEST_F(SynEditInputTest, TypedCharactersAreUndoneTogetherOnlyWithGroupUndo) {
    typeText("abc");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "");
    edit->Redo();
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(4, 1));

    setText("");
    setOption(eoGroupUndo, false);
    typeText("abc");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "ab");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "a");
    edit->Redo();
    EXPECT_EQ(edit->Text(), "ab");
}

TEST_F(SynEditInputTest, TypingAfterUndoEmptiesTheRedoListButRedoingDoesNot) {
    setOption(eoGroupUndo, false);
    typeText("abc");
    edit->Undo();
    edit->Undo();
    edit->Redo();
    EXPECT_TRUE(edit->CanRedo());
    typeText("x");
    EXPECT_FALSE(edit->CanRedo());
    EXPECT_EQ(edit->Text(), "abx");
}

TEST_F(SynEditInputTest, UndoingALineBreakJoinsTheLinesAndPutsTheCaretBack) {
    typeText("ab");
    press(VK_LEFT);
    press(VK_RETURN);
    EXPECT_EQ(edit->Text(), "a\r\nb");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(2, 1));
    edit->Redo();
    EXPECT_EQ(edit->Text(), "a\r\nb");
}

TEST_F(SynEditInputTest, UndoingALineBreakGivesBackTheBlanksTrimmingTook) {
    setOption(eoTrimTrailingSpaces, true);
    setText("\tfoo");
    edit->SetCaretXY(BufferCoord(2, 1));
    press(VK_RETURN);
    edit->Undo();
    EXPECT_EQ(edit->Text(), "\tfoo");
    edit->Redo();
    EXPECT_EQ(line(1), "");
}

TEST_F(SynEditInputTest, DeletedCharactersComeBackAndGoAgain) {
    setOption(eoGroupUndo, false);
    setText("abcd");
    edit->SetCaretXY(BufferCoord(2, 1));
    press(VK_DELETE);
    edit->SetCaretXY(BufferCoord(3, 1));
    press(VK_BACK);
    EXPECT_EQ(edit->Text(), "ad");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "acd");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 1));
    edit->Undo();
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(2, 1));
    edit->Redo();
    EXPECT_EQ(edit->Text(), "acd");
    edit->Redo();
    EXPECT_EQ(edit->Text(), "ad");
}

TEST_F(SynEditInputTest, BlockIndentsAreUndoneOneAtATimeEvenWithGroupUndo) {
    setText("one\ntwo\nthree");
    edit->SetTabWidth(2);
    select(BufferCoord(1, 1), BufferCoord(2, 2));
    edit->CommandProcessor(ecBlockIndent, '\0', nullptr);
    edit->CommandProcessor(ecBlockIndent, '\0', nullptr);
    const AnsiString twice = edit->Text();
    edit->Undo();
    const AnsiString once = edit->Text();
    EXPECT_NE(once, twice);
    EXPECT_NE(once, "one\r\ntwo\r\nthree");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "one\r\ntwo\r\nthree");
    edit->Redo();
    EXPECT_EQ(edit->Text(), once);
    edit->Redo();
    EXPECT_EQ(edit->Text(), twice);

    edit->CommandProcessor(ecBlockUnindent, '\0', nullptr);
    EXPECT_EQ(edit->Text(), once);
    edit->Undo();
    EXPECT_EQ(edit->Text(), twice);
    edit->Redo();
    EXPECT_EQ(edit->Text(), once);
}

TEST_F(SynEditInputTest, APasteOverASelectionIsUndoneAndRedoneAsOneStep) {
    setText("hello world");
    putPlainText("there");
    select(BufferCoord(7, 1), BufferCoord(12, 1));
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), "hello there");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "hello world");
    EXPECT_FALSE(edit->CanUndo());
    edit->Redo();
    EXPECT_EQ(edit->Text(), "hello there");
    EXPECT_FALSE(edit->CanRedo());
}

TEST_F(SynEditInputTest, ATrailingGroupBreakMovesBetweenTheLists) {
    typeText("ab");
    edit->SetModified(false);
    ASSERT_EQ(edit->UndoList()->LastChangeReason(), crGroupBreak);
    edit->Undo();
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(edit->RedoList()->GetItems(0)->Reason, crGroupBreak);
    edit->Redo();
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(edit->UndoList()->LastChangeReason(), crGroupBreak);
    EXPECT_FALSE(edit->CanRedo());
}

TEST_F(SynEditInputTest, ReadOnlyEditorsAndEmptyListsDoNothing) {
    edit->Undo();
    edit->Redo();
    typeText("ab");
    edit->SetReadOnly(true);
    EXPECT_FALSE(edit->CanUndo());
    edit->Undo();
    EXPECT_EQ(edit->Text(), "ab");
}

TEST_F(SynEditInputTest, MaxUndoIsSetOnBothListsAndMinusOneIsIgnored) {
    edit->SetMaxUndo(-1);
    EXPECT_EQ(edit->MaxUndo(), 1024);
    edit->SetMaxUndo(0);
    EXPECT_EQ(edit->MaxUndo(), 0);
    EXPECT_EQ(edit->RedoList()->GetMaxUndoActions(), 0);
    typeText("a");
    EXPECT_FALSE(edit->CanUndo());
}

TEST_F(SynEditInputTest, AFailingUndoStepKeepsItsItem) {
    setOption(eoGroupUndo, false);
    typeText("ab");
    FailingTransient failing;
    edit->OnPaintTransient = TPaintTransient(&failing, &FailingTransient::Transient);
    EXPECT_THROW(edit->Undo(), std::runtime_error);
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(edit->UndoList()->GetItemCount(), 2);
    EXPECT_FALSE(edit->CanRedo());

    edit->Undo();
    EXPECT_EQ(edit->Text(), "a");
    failing.armed = true;
    EXPECT_THROW(edit->Redo(), std::runtime_error);
    EXPECT_TRUE(edit->CanRedo());
    edit->Redo();
    EXPECT_EQ(edit->Text(), "ab");
}

} // namespace
