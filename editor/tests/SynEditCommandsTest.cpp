// The editor's commands: what each does to text, caret and selection, which
// undo records it leaves, what read-only refuses, and a long random run of
// editing, undo and redo checked against a plain model of the text.
#include "editor/SynEdit.h"
#include "editor/tests/SynEditTestSupport.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Cursors.h"

#include <random>
#include <string>
#include <vector>

// Failure messages show positions as (character, line) and reasons as numbers.
static std::ostream& operator<<(std::ostream& Out, const TBufferCoord& P) {
    return Out << "(" << P.Char << ", " << P.Line << ")";
}

static void PrintTo(TSynChangeReason Reason, std::ostream* Out) {
    *Out << "reason " << static_cast<int>(Reason);
}

namespace {

using SynEditKeyCmds::ecLowerCase;
using SynEditKeyCmds::ecUpperCase;

// Lines separated by "\n" in the tables; the editor joins them with CR LF.
AnsiString crlf(const char* Text) {
    AnsiString result;
    for (const char* p = Text; *p; ++p) {
        if (*p == '\n')
            result += "\r\n";
        else
            result += *p;
    }
    return result;
}

constexpr TBufferCoord NoSelection{0, 0};

// One row of a command table: the situation, the command, and what it must leave.
struct CommandCase {
    CommandCase(const char* AName, const char* AText, TBufferCoord ACaret, TSynEditorCommand ACommand,
                const char* AExpectedText, TBufferCoord AExpectedCaret)
        : Name(AName), Text(AText), Caret(ACaret), Command(ACommand), ExpectedText(AExpectedText),
          ExpectedCaret(AExpectedCaret) {}

    CommandCase undo(std::vector<TSynChangeReason> Reasons) const {
        CommandCase c = *this;
        c.Undo = std::move(Reasons);
        return c;
    }
    CommandCase from(TBufferCoord AAnchor) const {
        CommandCase c = *this;
        c.Anchor = AAnchor;
        return c;
    }
    CommandCase selects(TBufferCoord Begin, TBufferCoord End) const {
        CommandCase c = *this;
        c.SelBegin = Begin;
        c.SelEnd = End;
        return c;
    }
    CommandCase typing(char AChar) const {
        CommandCase c = *this;
        c.Char = AChar;
        return c;
    }
    CommandCase with(TSynEditorOptions Options) const {
        CommandCase c = *this;
        c.Add = Options;
        return c;
    }
    CommandCase without(TSynEditorOptions Options) const {
        CommandCase c = *this;
        c.Remove = Options;
        return c;
    }
    CommandCase inMode(TSynSelectionMode AMode) const {
        CommandCase c = *this;
        c.Mode = AMode;
        return c;
    }
    CommandCase readOnly() const {
        CommandCase c = *this;
        c.ReadOnly = true;
        return c;
    }
    CommandCase wrapped() const {
        CommandCase c = *this;
        c.WordWrap = true;
        return c;
    }
    CommandCase overwriting() const {
        CommandCase c = *this;
        c.Overwrite = true;
        return c;
    }

    const char* Name;
    const char* Text;
    TBufferCoord Caret;
    TSynEditorCommand Command;
    const char* ExpectedText;
    TBufferCoord ExpectedCaret;
    std::vector<TSynChangeReason> Undo;
    TBufferCoord Anchor = NoSelection;
    TBufferCoord SelBegin = NoSelection;
    TBufferCoord SelEnd = NoSelection;
    char Char = '\0';
    TSynEditorOptions Add;
    TSynEditorOptions Remove;
    TSynSelectionMode Mode = smNormal;
    bool ReadOnly = false;
    bool WordWrap = false;
    bool Overwrite = false;
};

class SynEditCommandsTest : public SynEditOnFormTest {
protected:
    void SetUp() override {
        SynEditOnFormTest::SetUp();
        edit->SetTabWidth(4);
    }

    void TearDown() override {
        edit->OnContextHelp = nullptr;
        edit->OnStatusChange = nullptr;
        emptyClipboard();
        VisualTest::TearDown();
    }

    void setText(const char* Text) {
        edit->Lines()->SetText(crlf(Text));
        edit->ClearUndo();
        edit->SetCaretXY(BufferCoord(1, 1));
    }

    void setOptions(TSynEditorOptions Add, TSynEditorOptions Remove = {}) {
        edit->SetOptions((SYNEDIT_DEFAULT_OPTIONS + Add) - Remove);
    }

    void run(TSynEditorCommand Command, char AChar = '\0', void* Data = nullptr) {
        edit->ExecuteCommand(Command, AChar, Data);
    }

    std::vector<TSynChangeReason> undoReasons() const {
        std::vector<TSynChangeReason> result;
        TSynEditUndoList* list = edit->UndoList();
        for (Integer i = 0; i < list->GetItemCount(); ++i)
            if (list->GetItems(i)->Reason != crGroupBreak) result.push_back(list->GetItems(i)->Reason);
        return result;
    }

    void prepare(const CommandCase& Case) {
        edit->SetReadOnly(false);
        edit->SetWordWrap(false);
        setOptions(Case.Add, Case.Remove);
        setText(Case.Text);
        edit->SetWordWrap(Case.WordWrap);
        edit->SetInsertMode(!Case.Overwrite);
        edit->SetSelectionMode(Case.Mode);
        if (Case.Anchor == NoSelection)
            edit->SetCaretXY(Case.Caret);
        else
            edit->SetCaretAndSelection(Case.Caret, Case.Anchor, Case.Caret);
        edit->SetReadOnly(Case.ReadOnly);
    }

    void check(const CommandCase& Case) {
        SCOPED_TRACE(Case.Name);
        prepare(Case);
        run(Case.Command, Case.Char);
        EXPECT_EQ(edit->Text(), crlf(Case.ExpectedText));
        EXPECT_EQ(edit->CaretXY(), Case.ExpectedCaret);
        if (Case.SelBegin == NoSelection) {
            EXPECT_FALSE(edit->SelAvail());
        } else {
            EXPECT_EQ(edit->GetBlockBegin(), Case.SelBegin);
            EXPECT_EQ(edit->GetBlockEnd(), Case.SelEnd);
        }
        EXPECT_EQ(undoReasons(), Case.Undo);
        if (Case.Undo.empty()) return;
        run(ecUndo);
        EXPECT_EQ(edit->Text(), crlf(Case.Text)) << "after undo";
        run(ecRedo);
        EXPECT_EQ(edit->Text(), crlf(Case.ExpectedText)) << "after redo";
    }

    void checkAll(const std::vector<CommandCase>& Cases) {
        for (const CommandCase& c : Cases)
            check(c);
    }
};

using C = CommandCase;
const TSynEditorOptions NoPastEol{eoScrollPastEol};

TEST_F(SynEditCommandsTest, MovementCommands) {
    checkAll({
        C("left at the start stays", "ab", {1, 1}, ecLeft, "ab", {1, 1}),
        C("left at column 1 goes up", "ab\ncd", {1, 2}, ecLeft, "ab\ncd", {3, 1}).without(NoPastEol),
        C("left at column 1 stays past the line end", "ab\ncd", {1, 2}, ecLeft, "ab\ncd", {1, 2}),
        C("right at the line end goes down", "ab\ncd", {3, 1}, ecRight, "ab\ncd", {1, 2}).without(NoPastEol),
        C("right at the line end goes beyond it", "ab\ncd", {3, 1}, ecRight, "ab\ncd", {4, 1}),
        C("right at the end of the text stays", "ab\ncd", {3, 2}, ecRight, "ab\ncd", {3, 2})
            .without(NoPastEol),
        C("selecting right", "abc", {1, 1}, ecSelRight, "abc", {2, 1}).selects({1, 1}, {2, 1}),
        C("selecting left extends from the anchor", "abcd", {3, 1}, ecSelLeft, "abcd", {2, 1})
            .from({4, 1})
            .selects({2, 1}, {4, 1}),
        C("plain move collapses the selection", "abcd", {3, 1}, ecRight, "abcd", {4, 1}).from({1, 1}),
        C("down onto a shorter line", "abcdef\nab", {5, 1}, ecDown, "abcdef\nab", {3, 2}).without(NoPastEol),
        C("up on the first line stays", "abc\ndef", {2, 1}, ecUp, "abc\ndef", {2, 1}),
        C("word right stops after the dot", "abc.def", {1, 1}, ecWordRight, "abc.def", {5, 1}),
        C("word right from the last character", "ab cd\nef", {5, 1}, ecWordRight, "ab cd\nef", {1, 2}),
        C("word left from column 1", "ab cd\nef", {1, 2}, ecWordLeft, "ab cd\nef", {6, 1}),
        C("word left to the word start", "ab cd", {6, 1}, ecWordLeft, "ab cd", {4, 1}),
        C("selecting word right", "ab cd", {1, 1}, ecSelWordRight, "ab cd", {4, 1}).selects({1, 1}, {4, 1}),
        C("home goes to the first non-blank", "    abcdef", {10, 1}, ecLineStart, "    abcdef", {5, 1})
            .with({eoEnhanceHomeKey}),
        C("home again goes to column 1", "    abcdef", {5, 1}, ecLineStart, "    abcdef", {1, 1})
            .with({eoEnhanceHomeKey}),
        C("home from column 1 goes to the text", "    abcdef", {1, 1}, ecLineStart, "    abcdef", {5, 1})
            .with({eoEnhanceHomeKey}),
        C("plain home", "    abcdef", {10, 1}, ecLineStart, "    abcdef", {1, 1}),
        C("end stops after the last non-blank", "ab  ", {1, 1}, ecLineEnd, "ab  ", {3, 1}),
        C("end again goes to the line end", "ab  ", {3, 1}, ecLineEnd, "ab  ", {5, 1}),
        C("plain end", "ab  ", {1, 1}, ecLineEnd, "ab  ", {5, 1}).without({eoEnhanceEndKey}),
        C("selecting end", "abc", {1, 1}, ecSelLineEnd, "abc", {4, 1}).selects({1, 1}, {4, 1}),
        C("editor top", "ab\ncd", {2, 2}, ecEditorTop, "ab\ncd", {1, 1}),
        C("editor bottom", "ab\ncde", {1, 1}, ecEditorBottom, "ab\ncde", {4, 2}),
        C("selecting editor bottom", "ab\ncde", {2, 1}, ecSelEditorBottom, "ab\ncde", {4, 2})
            .selects({2, 1}, {4, 2}),
        C("editor bottom of an empty text", "", {1, 1}, ecEditorBottom, "", {1, 1}).without(NoPastEol),
        C("matching bracket forwards", "f(a, (b))", {2, 1}, ecMatchBracket, "f(a, (b))", {9, 1}),
        C("matching bracket backwards", "f(a, (b))", {9, 1}, ecMatchBracket, "f(a, (b))", {2, 1}),
        C("unmatched bracket keeps the caret", "x\nf(a", {2, 2}, ecMatchBracket, "x\nf(a", {2, 2}),
        C("select word", "abc def", {5, 1}, ecSelWord, "abc def", {8, 1}).selects({5, 1}, {8, 1}),
        C("select all", "ab\ncde", {1, 1}, ecSelectAll, "ab\ncde", {4, 2}).selects({1, 1}, {4, 2}),
        C("word right under word wrap", "abc def", {1, 1}, ecWordRight, "abc def", {5, 1}).wrapped(),
        C("home under word wrap in an empty text", "", {1, 1}, ecLineStart, "", {1, 1})
            .with({eoEnhanceHomeKey})
            .wrapped(),
        C("end under word wrap in an empty text", "", {1, 1}, ecLineEnd, "", {1, 1}).wrapped(),
        C("read-only still moves", "abc", {1, 1}, ecRight, "abc", {2, 1}).readOnly(),
    });
}

TEST_F(SynEditCommandsTest, TypingAndLineBreaks) {
    checkAll({
        C("typing inserts", "abc", {2, 1}, ecChar, "axbc", {3, 1}).typing('x').undo({crInsert}),
        C("typing over a selection", "abcdef", {4, 1}, ecChar, "aXdef", {3, 1})
            .from({2, 1})
            .typing('X')
            .undo({crDelete, crInsert}),
        C("typing over a column", "abc\ndef", {3, 2}, ecChar, "ac\ndXf", {3, 2})
            .from({2, 1})
            .inMode(smColumn)
            .typing('X')
            .undo({crDelete, crInsert}),
        C("read-only refuses typing", "abc", {2, 1}, ecChar, "abc", {2, 1}).typing('x').readOnly(),
        C("control characters are not typed", "abc", {2, 1}, ecChar, "abc", {2, 1}).typing('\t'),
        C("the delete character is not typed", "abc", {2, 1}, ecChar, "abc", {2, 1}).typing('\x7f'),
        C("typing past the line end pads", "abc", {6, 1}, ecChar, "abc  x", {7, 1})
            .typing('x')
            .undo({crWhiteSpaceAdd, crInsert}),
        C("typing into an empty line pads with tabs", "ab\n\ncd", {30, 2}, ecChar, "ab\n\t\t\t\t\t\t\t z\ncd",
          {10, 2})
            .typing('z')
            .without({eoTabsToSpaces})
            .undo({crWhiteSpaceAdd, crInsert}),
        C("overwrite replaces", "abc", {2, 1}, ecChar, "aXc", {3, 1})
            .typing('X')
            .overwriting()
            .undo({crDelete, crInsert}),
        C("overwrite at the line end appends", "abc", {4, 1}, ecChar, "abcX", {5, 1})
            .typing('X')
            .overwriting()
            .undo({crInsert}),
        C("typing under word wrap", "abc", {2, 1}, ecChar, "axbc", {3, 1})
            .typing('x')
            .wrapped()
            .undo({crInsert}),
        C("line break keeps the indent", "    abc", {7, 1}, ecLineBreak, "    ab\n    c", {5, 2})
            .undo({crLineBreak}),
        C("line break at the end copies a tab", "\tab", {4, 1}, ecLineBreak, "\tab\n\t", {2, 2})
            .undo({crLineBreak}),
        C("line break without auto indent", "    abc", {7, 1}, ecLineBreak, "    ab\nc", {1, 2})
            .without({eoAutoIndent})
            .undo({crLineBreak}),
        C("line break past the line end", "  ab", {7, 1}, ecLineBreak, "  ab\n  ", {3, 2})
            .undo({crLineBreak}),
        C("line break at column 1", "abc", {1, 1}, ecLineBreak, "\nabc", {1, 2}).undo({crLineBreak}),
        C("line break in an empty text", "", {1, 1}, ecLineBreak, "\n", {1, 2}).undo({crLineBreak}),
        C("line break in an empty line indents as above", "  ab\n\ncd", {1, 2}, ecLineBreak, "  ab\n\n\ncd",
          {3, 3})
            .undo({crLineBreak}),
        C("insert line leaves the caret", "abcd", {3, 1}, ecInsertLine, "ab\ncd", {3, 1}).undo({crLineBreak}),
        C("line break over a selection", "abcdef", {4, 1}, ecLineBreak, "a\ndef", {1, 2})
            .from({2, 1})
            .undo({crDelete, crLineBreak}),
        C("read-only refuses line breaks", "abc", {2, 1}, ecLineBreak, "abc", {2, 1}).readOnly(),
    });
}

TEST_F(SynEditCommandsTest, DeletingCommands) {
    checkAll({
        C("backspace at the start does nothing", "abc", {1, 1}, ecDeleteLastChar, "abc", {1, 1}),
        C("backspace", "abc", {3, 1}, ecDeleteLastChar, "ac", {2, 1}).undo({crSilentDelete}),
        C("backspace joins lines", "ab\ncd", {1, 2}, ecDeleteLastChar, "abcd", {3, 1}).undo({crSilentDelete}),
        C("backspace unindents to the line above", "  x\n    y", {5, 2}, ecDeleteLastChar, "  x\n  y", {3, 2})
            .undo({crSilentDelete}),
        C("backspace unindents to the tab stop", "        x", {9, 1}, ecDeleteLastChar, "    x", {5, 1})
            .without({eoSmartTabDelete})
            .undo({crSilentDelete}),
        C("backspace past the line end jumps to it", "abc", {7, 1}, ecDeleteLastChar, "abc", {4, 1})
            .undo({crSilentDelete}),
        C("backspace past the line end steps left", "abc", {7, 1}, ecDeleteLastChar, "abc", {6, 1})
            .without({eoSmartTabDelete})
            .undo({crSilentDelete}),
        C("backspace deletes the selection", "abcdef", {4, 1}, ecDeleteLastChar, "adef", {2, 1})
            .from({2, 1})
            .undo({crDelete}),
        C("backspace deletes a backwards selection", "abcdef", {2, 1}, ecDeleteLastChar, "adef", {2, 1})
            .from({4, 1})
            .undo({crDeleteAfterCursor}),
        C("read-only refuses backspace", "abc", {3, 1}, ecDeleteLastChar, "abc", {3, 1}).readOnly(),
        C("delete", "abc", {2, 1}, ecDeleteChar, "ac", {2, 1}).undo({crSilentDeleteAfterCursor}),
        C("delete at the end of the text does nothing", "ab", {3, 1}, ecDeleteChar, "ab", {3, 1}),
        C("delete at the line end joins", "ab\ncd", {3, 1}, ecDeleteChar, "abcd", {3, 1})
            .undo({crSilentDeleteAfterCursor}),
        C("delete past the line end pads first", "ab\ncd", {5, 1}, ecDeleteChar, "ab  cd", {5, 1})
            .undo({crWhiteSpaceAdd, crSilentDeleteAfterCursor}),
        C("delete word past the line end pads first", "ab\n  cd", {5, 1}, ecDeleteWord, "ab  cd", {5, 1})
            .undo({crWhiteSpaceAdd, crSilentDeleteAfterCursor}),
        C("delete word and the blanks after it", "abc def", {1, 1}, ecDeleteWord, "def", {1, 1})
            .undo({crSilentDeleteAfterCursor}),
        C("delete word on punctuation in the last line", "a.b", {2, 1}, ecDeleteWord, "ab", {2, 1})
            .undo({crSilentDeleteAfterCursor}),
        C("delete word at the line end joins", "ab\n  cd", {3, 1}, ecDeleteWord, "abcd", {3, 1})
            .undo({crSilentDeleteAfterCursor}),
        C("delete to the line end", "abcdef", {3, 1}, ecDeleteEOL, "ab", {3, 1})
            .undo({crSilentDeleteAfterCursor}),
        C("delete to the end past the end does nothing", "ab", {5, 1}, ecDeleteEOL, "ab", {5, 1}),
        C("delete last word", "abc def", {8, 1}, ecDeleteLastWord, "abc ", {5, 1}).undo({crSilentDelete}),
        C("delete to the line start", "abcdef", {4, 1}, ecDeleteBOL, "def", {1, 1}).undo({crSilentDelete}),
        C("delete line", "a\nb\nc", {1, 2}, ecDeleteLine, "a\nc", {1, 2}).undo({crSilentDeleteAfterCursor}),
        C("delete the last line empties it", "a\nb", {2, 2}, ecDeleteLine, "a\n", {1, 2})
            .undo({crSilentDeleteAfterCursor}),
        C("delete the only empty line does nothing", "", {1, 1}, ecDeleteLine, "", {1, 1}),
        C("clear all leaves nothing to undo", "abc\ndef", {2, 2}, ecClearAll, "", {1, 1}),
        C("read-only refuses delete line", "a\nb", {1, 1}, ecDeleteLine, "a\nb", {1, 1}).readOnly(),
    });
}

TEST_F(SynEditCommandsTest, TabIndentAndCaseCommands) {
    const TSynEditorOptions noSmart{eoSmartTabs};
    const TSynEditorOptions realTabs{eoSmartTabs, eoTabsToSpaces};
    const std::vector<TSynChangeReason> caseRecords{crSelection, crCaret, crDelete, crInsert};
    checkAll({
        C("tab on a tab stop", "abcd", {5, 1}, ecTab, "abcd    ", {9, 1}).without(noSmart).undo({crInsert}),
        C("tab to the next stop", "abcde", {6, 1}, ecTab, "abcde   ", {9, 1})
            .without(noSmart)
            .undo({crInsert}),
        C("smart tab reaches the word above", "abcdefgh  xyz\n\nq", {1, 2}, ecTab,
          "abcdefgh  xyz\n          \nq", {11, 2})
            .undo({crInsert}),
        C("tab past the line end", "ab", {6, 1}, ecTab, "ab      ", {9, 1})
            .without(noSmart)
            .undo({crWhiteSpaceAdd, crInsert}),
        C("tab as a tab character", "ab", {3, 1}, ecTab, "ab\t", {4, 1}).without(realTabs).undo({crInsert}),
        C("tab in line mode goes in at the caret", "abcd", {3, 1}, ecTab, "ab  cd", {5, 1})
            .inMode(smLine)
            .without(noSmart)
            .undo({crInsert}),
        C("tab replaces a line selection", "ab\ncd\nef", {2, 2}, ecTab, "ab\n    ef", {5, 2})
            .from({1, 2})
            .inMode(smLine)
            .without(noSmart)
            .undo({crDelete, crInsert}),
        C("tab replaces the selection", "abcdef", {4, 1}, ecTab, "a   def", {5, 1})
            .from({2, 1})
            .without(noSmart)
            .undo({crDelete, crInsert}),
        C("tab indents a block", "ab\ncd\nef", {2, 2}, ecTab, "    ab\n    cd\nef", {6, 2})
            .from({1, 1})
            .with({eoTabIndent})
            .selects({5, 1}, {6, 2})
            .undo({crInsert, crInsert, crIndent, crIndent}),
        C("tab keeps whole selected lines whole", "ab\ncd\nef", {3, 2}, ecTab, "    ab\n    cd\nef", {7, 2})
            .from({1, 1})
            .with({eoTabIndent})
            .selects({1, 1}, {7, 2})
            .undo({crInsert, crInsert, crIndent, crIndent}),
        C("smart tab with tab characters", "abcdefgh  xyz\n\nq", {1, 2}, ecTab, "abcdefgh  xyz\n\t\t  \nq",
          {5, 2})
            .without({eoTabsToSpaces})
            .undo({crInsert}),
        C("shift tab back to the tab stop", "        x", {9, 1}, ecShiftTab, "    x", {5, 1})
            .without(noSmart)
            .undo({crSilentDelete}),
        C("shift tab at the line end keeps the text", "    abc", {8, 1}, ecShiftTab, "    abc", {8, 1})
            .without(noSmart),
        C("shift tab removes trailing blanks", "ab      ", {9, 1}, ecShiftTab, "ab  ", {5, 1})
            .without(noSmart)
            .undo({crSilentDelete}),
        C("shift tab goes to the word above", "abc def\nabc    x", {8, 2}, ecShiftTab, "abc def\nabc x",
          {5, 2})
            .undo({crSilentDelete}),
        C("shift tab never removes text", "abc def\nabcdefgx", {8, 2}, ecShiftTab, "abc def\nabcdefgx",
          {8, 2}),
        C("block indent of whole lines", "a\nb\nc\nd", {1, 4}, ecBlockIndent, "\ta\n\tb\n\tc\nd", {1, 4})
            .from({1, 1})
            .without(realTabs)
            .selects({2, 1}, {1, 4})
            .undo({crInsert, crInsert, crInsert, crIndent, crIndent}),
        C("block indent without a selection does nothing", "a", {1, 1}, ecBlockIndent, "a", {1, 1}),
        C("block unindent of blanks and a tab", "  \ta\n  \tb", {5, 2}, ecBlockUnindent, "a\nb", {2, 2})
            .from({1, 1})
            .selects({1, 1}, {2, 2})
            .undo({crUnindent}),
        C("shift tab unindents a block", "    ab\n    cd", {7, 2}, ecShiftTab, "ab\ncd", {3, 2})
            .from({1, 1})
            .with({eoTabIndent})
            .selects({1, 1}, {3, 2})
            .undo({crUnindent}),
        C("title case", "hELLO", {2, 1}, ecTitleCase, "Hello", {2, 1}).undo(caseRecords),
        C("toggle case", "aBc", {1, 1}, ecToggleCase, "AbC", {1, 1}).undo(caseRecords),
        C("upper case of the word at the caret", "ab cd", {5, 1}, ecUpperCase, "ab CD", {5, 1})
            .undo(caseRecords),
        C("lower case block keeps the selection", "ABCDEF", {4, 1}, ecLowerCaseBlock, "AbcDEF", {4, 1})
            .from({2, 1})
            .selects({2, 1}, {4, 1})
            .undo(caseRecords),
        C("upper case block takes one character", "abc", {1, 1}, ecUpperCaseBlock, "Abc", {2, 1})
            .undo(caseRecords),
        C("block indent of a column", "abc\ndef", {3, 2}, ecBlockIndent, "a    bc\nd    ef", {7, 2})
            .from({2, 1})
            .inMode(smColumn)
            .selects({6, 1}, {7, 2})
            .undo({crInsert, crInsert, crIndent, crIndent}),
        C("block unindent of a column", "a    bc\nd    ef", {6, 2}, ecBlockUnindent, "abc\ndef", {6, 2})
            .from({2, 1})
            .inMode(smColumn)
            .selects({2, 1}, {6, 2})
            .undo({crUnindent}),
        C("read-only refuses case changes", "abc", {1, 1}, ecUpperCase, "abc", {1, 1}).readOnly(),
        C("read-only refuses tabs", "abc", {1, 1}, ecTab, "abc", {1, 1}).readOnly(),
    });
}

// A column block takes nothing from a line shorter than the block, and the text that
// replaces it goes in at its left edge on the line where the selection was ended.
TEST_F(SynEditCommandsTest, ColumnSelectionsReplacedByCommands) {
    const char* longLines = "abcdefgh\nabcdefgh\nabcdefgh";
    const char* shortMiddle = "abc\nd\nefgh";
    checkAll({
        C("typing over a column made right to left", longLines, {2, 3}, ecChar, "afgh\nafgh\naXfgh", {3, 3})
            .from({6, 1})
            .inMode(smColumn)
            .typing('X')
            .undo({crDelete, crInsert}),
        C("typing over a column ended on its first line", longLines, {2, 1}, ecChar, "aXfgh\nafgh\nafgh",
          {3, 1})
            .from({6, 3})
            .inMode(smColumn)
            .typing('X')
            .undo({crDelete, crInsert}),
        C("typing over a short line", shortMiddle, {4, 3}, ecChar, "a\nd\neXh", {3, 3})
            .from({2, 1})
            .inMode(smColumn)
            .typing('X')
            .undo({crDelete, crInsert}),
        C("deleting over a short line", shortMiddle, {4, 3}, ecDeleteChar, "a\nd\neh", {2, 3})
            .from({2, 1})
            .inMode(smColumn)
            .undo({crDelete}),
        C("tab over a short line", shortMiddle, {4, 3}, ecTab, "a\nd\ne   h", {5, 3})
            .from({2, 1})
            .inMode(smColumn)
            .without({eoSmartTabs})
            .undo({crDelete, crInsert}),
        C("line break over a short line", shortMiddle, {4, 3}, ecLineBreak, "a\nd\ne\nh", {1, 4})
            .from({2, 1})
            .inMode(smColumn)
            .without({eoAutoIndent})
            .undo({crDelete, crLineBreak}),
        C("upper case over a short line", shortMiddle, {4, 3}, ecUpperCaseBlock, "aBC\nd\neFGh", {4, 3})
            .from({2, 1})
            .inMode(smColumn)
            .selects({2, 1}, {4, 3})
            .undo({crSelection, crCaret, crDelete, crInsert, crInsert}),
        // The padding that carries the tab out to the caret goes in first and comes out last.
        C("tab past the line end after a column", "abcdefgh\nab", {6, 2}, ecTab, "abcfgh\nab \t", {5, 2})
            .from({4, 1})
            .inMode(smColumn)
            .without({eoSmartTabs, eoTabsToSpaces})
            .undo({crDelete, crWhiteSpaceAdd, crInsert}),
    });
}

// A line-mode replacement puts its text in front of the next line; undo takes out only that text.
TEST_F(SynEditCommandsTest, CaseChangesInLineModeAreUndoneWithoutTheNextLine) {
    const std::vector<TSynChangeReason> caseRecords{crSelection, crCaret, crDelete, crInsert};
    checkAll({
        C("upper case of the first word", "ab cd\nef", {1, 1}, ecUpperCase, "AB CD\nef", {1, 1})
            .inMode(smLine)
            .undo(caseRecords),
        C("upper case of a later word", "ab cd\nef", {4, 1}, ecUpperCase, "AB CD\nef", {4, 1})
            .inMode(smLine)
            .undo(caseRecords),
    });
}

TEST_F(SynEditCommandsTest, PageStepsFollowTheHalfPageAndOneLessOptions) {
    AnsiString text;
    for (int i = 1; i <= 200; ++i)
        text += "line\r\n";
    struct Step {
        TSynEditorOptions Options;
        Integer Lines;
    };
    const Integer page = edit->LinesInWindow();
    ASSERT_GT(page, 4);
    for (const Step& step : {Step{{}, page}, Step{{eoHalfPageScroll}, page >> 1},
                             Step{{eoHalfPageScroll, eoScrollByOneLess}, (page >> 1) - 1}}) {
        setOptions(step.Options);
        edit->Lines()->SetText(text);
        edit->SetTopLine(1);
        edit->SetCaretXY(BufferCoord(1, 1));
        run(ecPageDown);
        EXPECT_EQ(edit->CaretY(), 1 + step.Lines);
        EXPECT_EQ(edit->TopLine(), 1 + step.Lines);
        run(ecSelPageUp);
        EXPECT_EQ(edit->CaretY(), 1);
        EXPECT_EQ(edit->GetBlockEnd(), BufferCoord(1, 1 + step.Lines));
    }
}

TEST_F(SynEditCommandsTest, PageBottomInAWindowLowerThanALineStaysOnTheTopRow) {
    setText("one\ntwo\nthree");
    edit->SetBounds(0, 0, 400, 2);
    ASSERT_EQ(edit->LinesInWindow(), 0);
    for (const bool wrapped : {false, true}) {
        edit->SetWordWrap(wrapped);
        edit->SetCaretXY(BufferCoord(2, 1));
        run(ecSelPageBottom);
        EXPECT_EQ(edit->CaretXY(), BufferCoord(2, 1)) << wrapped;
    }
}

TEST_F(SynEditCommandsTest, ShiftTabAtTheLineStartWithTabWidthOneStaysThere) {
    setText("x");
    edit->SetTabWidth(1);
    edit->SetCaretXY(BufferCoord(1, 1));
    run(ecShiftTab);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
    EXPECT_EQ(edit->Lines()->Get(0), "x");
}

TEST_F(SynEditCommandsTest, EnhancedHomeUnderWordWrapInAWindowNarrowerThanACharacter) {
    setText("  word");
    setOptions({eoEnhanceHomeKey});
    edit->SetWordWrap(true);
    edit->SetBounds(0, 0, 0, 300);
    ASSERT_EQ(edit->CharsInWindow(), 0);
    edit->SetCaretXY(BufferCoord(1, 1));
    run(ecSelLineStart);
    EXPECT_GE(edit->CaretX(), 1);
    EXPECT_EQ(edit->CaretY(), 1);
}

TEST_F(SynEditCommandsTest, VerticalMovesKeepTheRememberedColumn) {
    setOptions({eoKeepCaretX}, NoPastEol);
    setText("abcdefgh\nab\nabcdefgh");
    edit->SetCaretXY(BufferCoord(7, 1));
    run(ecDown);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 2));
    run(ecDown);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(7, 3));
    run(ecDown);
    run(ecUp);
    run(ecUp);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(7, 1));
}

TEST_F(SynEditCommandsTest, ScrollingKeepsTheCaretInView) {
    AnsiString text;
    for (int i = 1; i <= 200; ++i)
        text += "line\r\n";
    edit->Lines()->SetText(text);
    edit->SetTopLine(10);
    edit->SetCaretXY(BufferCoord(1, 10));
    run(ecScrollDown);
    EXPECT_EQ(edit->TopLine(), 11);
    EXPECT_EQ(edit->CaretY(), 11);
    run(ecScrollUp);
    EXPECT_EQ(edit->TopLine(), 10);
    EXPECT_EQ(edit->CaretY(), 11);
    run(ecScrollRight);
    EXPECT_EQ(edit->LeftChar(), 2);
    run(ecScrollLeft);
    EXPECT_EQ(edit->LeftChar(), 1);
}

TEST_F(SynEditCommandsTest, TypingPastTheRightEdgeScrollsTheView) {
    setText("");
    const Integer visible = edit->CharsInWindow();
    ASSERT_GT(visible, 26);
    for (Integer i = 1; i < visible; ++i)
        run(ecChar, 'a');
    EXPECT_EQ(edit->LeftChar(), 1);
    run(ecChar, 'a');
    EXPECT_EQ(edit->LeftChar(), 1 + 25);
}

TEST_F(SynEditCommandsTest, GotoMovesOrSelectsToTheGivenPosition) {
    setText("abc\ndefg");
    TBufferCoord target{3, 2};
    run(ecGotoXY, '\0', &target);
    EXPECT_EQ(edit->CaretXY(), target);
    target = BufferCoord(2, 1);
    run(ecSelGotoXY, '\0', &target);
    EXPECT_EQ(edit->GetBlockBegin(), BufferCoord(2, 1));
    EXPECT_EQ(edit->GetBlockEnd(), BufferCoord(3, 2));
    run(ecGotoXY);
    EXPECT_EQ(edit->CaretXY(), target);
}

TEST_F(SynEditCommandsTest, SetMarkerTogglesOnItsLineAndMovesElsewhere) {
    setText("a\nb\nc");
    Integer x = 0;
    Integer y = 0;
    edit->SetCaretXY(BufferCoord(1, 2));
    run(ecSetMarker3);
    ASSERT_TRUE(edit->GetBookMark(3, x, y));
    EXPECT_EQ(y, 2);
    edit->SetCaretXY(BufferCoord(1, 3));
    run(ecSetMarker3);
    ASSERT_TRUE(edit->GetBookMark(3, x, y));
    EXPECT_EQ(y, 3);
    run(ecSetMarker3);
    EXPECT_FALSE(edit->GetBookMark(3, x, y));
    TBufferCoord given{1, 1};
    run(ecSetMarker3, '\0', &given);
    ASSERT_TRUE(edit->GetBookMark(3, x, y));
    EXPECT_EQ(y, 1);
    run(ecGotoMarker3);
    EXPECT_EQ(edit->CaretXY(), BufferCoord(1, 1));
    edit->BookMarkOptions()->SetEnableKeys(false);
    run(ecSetMarker3);
    EXPECT_TRUE(edit->GetBookMark(3, x, y));
}

TEST_F(SynEditCommandsTest, ModeCommandsAndUserCommands) {
    setText("abc");
    run(ecToggleMode);
    EXPECT_FALSE(edit->InsertMode());
    run(ecToggleMode);
    EXPECT_TRUE(edit->InsertMode());
    run(ecOverwriteMode);
    EXPECT_FALSE(edit->InsertMode());
    run(ecInsertMode);
    EXPECT_TRUE(edit->InsertMode());
    run(ecColumnSelect);
    EXPECT_EQ(edit->SelectionMode(), smColumn);
    run(ecLineSelect);
    EXPECT_EQ(edit->SelectionMode(), smLine);
    run(ecNormalSelect);
    EXPECT_EQ(edit->SelectionMode(), smNormal);
    run(ecUserFirst, 'x');
    run(ecString, 'x');
    run(ecCommentBlock, 'x');
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(edit->UndoList()->GetItemCount(), 0);
}

TEST_F(SynEditCommandsTest, ContextHelpReceivesTheWordAtTheCaret) {
    struct Listener : TObject {
        AnsiString Word;
        int Calls = 0;
        void help(TObject*, AnsiString AWord) {
            Word = AWord;
            ++Calls;
        }
    } listener;
    setText("alpha beta");
    edit->SetCaretXY(BufferCoord(8, 1));
    run(ecContextHelp);
    EXPECT_EQ(listener.Calls, 0);
    edit->OnContextHelp = TCustomSynEdit::TContextHelpEvent(&listener, &Listener::help);
    run(ecContextHelp);
    EXPECT_EQ(listener.Calls, 1);
    EXPECT_EQ(listener.Word, "beta");
}

TEST_F(SynEditCommandsTest, InputMethodStringsInsertOverwriteAndReplace) {
    setText("abcdef");
    edit->SetCaretXY(BufferCoord(2, 1));
    char text[] = "XY";
    run(ecImeStr, '\0', text);
    EXPECT_EQ(edit->Text(), "aXYbcdef");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(4, 1));
    edit->SetInsertMode(false);
    run(ecImeStr, '\0', text);
    EXPECT_EQ(edit->Text(), "aXYXYdef");
    edit->SetCaretAndSelection(BufferCoord(3, 1), BufferCoord(1, 1), BufferCoord(3, 1));
    run(ecImeStr, '\0', text);
    EXPECT_EQ(edit->Text(), "XYYXYdef");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(3, 1));
    edit->SetInsertMode(true);
    edit->SetCaretXY(BufferCoord(11, 1));
    run(ecImeStr, '\0', text);
    EXPECT_EQ(edit->Text(), "XYYXYdef  XY");
    EXPECT_EQ(edit->CaretXY(), BufferCoord(13, 1));
    for (int i = 0; i < 4; ++i)
        run(ecUndo);
    EXPECT_EQ(edit->Text(), "abcdef");
    for (int i = 0; i < 4; ++i)
        run(ecRedo);
    EXPECT_EQ(edit->Text(), "XYYXYdef  XY");
    edit->SetReadOnly(true);
    run(ecImeStr, '\0', text);
    EXPECT_EQ(edit->Text(), "XYYXYdef  XY");
}

TEST_F(SynEditCommandsTest, RecordsHoldTheChangedRanges) {
    setText("abc");
    edit->SetCaretXY(BufferCoord(6, 1));
    run(ecChar, 'x');
    const TSynEditUndoItem* padding = edit->UndoList()->GetItems(0);
    const TSynEditUndoItem* typed = edit->UndoList()->GetItems(1);
    EXPECT_EQ(padding->Reason, crWhiteSpaceAdd);
    EXPECT_EQ(padding->StartPos, BufferCoord(6, 1));
    EXPECT_EQ(padding->EndPos, BufferCoord(4, 1));
    EXPECT_EQ(typed->Reason, crInsert);
    EXPECT_EQ(typed->StartPos, BufferCoord(6, 1));
    EXPECT_EQ(typed->EndPos, BufferCoord(7, 1));
    EXPECT_EQ(padding->ChangeNumber, typed->ChangeNumber);

    setText("ab\ncd");
    edit->SetCaretXY(BufferCoord(2, 1));
    run(ecLineBreak);
    const TSynEditUndoItem* lineBreak = edit->UndoList()->GetItems(0);
    EXPECT_EQ(lineBreak->StartPos, BufferCoord(2, 1));
    EXPECT_EQ(lineBreak->EndPos, BufferCoord(2, 1));
    EXPECT_EQ(lineBreak->ChangeText(), "b");

    setText("a\nb\nc");
    edit->SetCaretXY(BufferCoord(1, 2));
    run(ecDeleteLine);
    const TSynEditUndoItem* deletedLine = edit->UndoList()->GetItems(0);
    EXPECT_EQ(deletedLine->StartPos, BufferCoord(1, 2));
    EXPECT_EQ(deletedLine->EndPos, BufferCoord(1, 3));
    EXPECT_EQ(deletedLine->ChangeText(), "b\r\n");
}

TEST_F(SynEditCommandsTest, LineBreaksMoveTheMarksBelow) {
    setText("a\nbc\nd");
    edit->SetBookMark(1, 1, 2);
    edit->SetBookMark(2, 1, 3);
    edit->SetCaretXY(BufferCoord(2, 2));
    run(ecInsertLine);
    Integer x = 0;
    Integer y = 0;
    ASSERT_TRUE(edit->GetBookMark(1, x, y));
    EXPECT_EQ(y, 2);
    ASSERT_TRUE(edit->GetBookMark(2, x, y));
    EXPECT_EQ(y, 4);
    edit->SetCaretXY(BufferCoord(1, 2));
    run(ecLineBreak);
    ASSERT_TRUE(edit->GetBookMark(1, x, y));
    EXPECT_EQ(y, 3);
}

TEST_F(SynEditCommandsTest, WordsFollowTheHighlighterCharacterSets) {
    class DottedNames : public TSynJScriptSyn {
    public:
        using TSynJScriptSyn::TSynJScriptSyn;
        TSynIdentChars GetIdentChars() const override {
            TSynIdentChars chars = TSynJScriptSyn::GetIdentChars();
            chars.Include('.');
            return chars;
        }
    } highlighter(nullptr);
    setText("abc.def x");
    EXPECT_EQ(edit->NextWordPosEx(BufferCoord(1, 1)), BufferCoord(5, 1));
    EXPECT_EQ(edit->GetWordAtRowCol(BufferCoord(6, 1)), "def");
    highlighter.SetWordBreakChars(TSynIdentChars());
    edit->SetHighlighter(&highlighter);
    EXPECT_EQ(edit->NextWordPosEx(BufferCoord(1, 1)), BufferCoord(9, 1));
    EXPECT_EQ(edit->GetWordAtRowCol(BufferCoord(6, 1)), "abc.def");
    EXPECT_EQ(edit->WordStartEx(BufferCoord(6, 1)), BufferCoord(1, 1));
    EXPECT_EQ(edit->WordEndEx(BufferCoord(2, 1)), BufferCoord(8, 1));
    EXPECT_EQ(edit->GetWordAtRowCol(BufferCoord(8, 1)), "");
    EXPECT_EQ(edit->NextWordPosEx(BufferCoord(1, 5)), BufferCoord(1, 5));
    edit->SetHighlighter(nullptr);
}

TEST_F(SynEditCommandsTest, BracketsInStringsAndCommentsDoNotCount) {
    TSynJScriptSyn highlighter(nullptr);
    edit->SetHighlighter(&highlighter);
    setText("f(a, \")\", /* ) */ b)\n");
    EXPECT_EQ(edit->GetMatchingBracketEx(BufferCoord(2, 1)), BufferCoord(20, 1));
    EXPECT_EQ(edit->GetMatchingBracketEx(BufferCoord(20, 1)), BufferCoord(2, 1));
    EXPECT_EQ(edit->GetMatchingBracketEx(BufferCoord(1, 1)), BufferCoord(0, 0));
    AnsiString token;
    Integer kind = 0;
    Integer start = 0;
    TSynHighlighterAttributes* attri = nullptr;
    ASSERT_TRUE(edit->GetHighlighterAttriAtRowColEx(BufferCoord(7, 1), token, kind, start, attri));
    EXPECT_EQ(token, "\")\"");
    EXPECT_EQ(start, 6);
    EXPECT_EQ(attri, highlighter.GetDefaultAttribute(SYN_ATTR_STRING));
    EXPECT_FALSE(edit->GetHighlighterAttriAtRowColEx(BufferCoord(30, 1), token, kind, start, attri));
    EXPECT_FALSE(edit->GetHighlighterAttriAtRowColEx(BufferCoord(1, 9), token, kind, start, attri));
    setText("{\n  x[1]\n}");
    EXPECT_EQ(edit->GetMatchingBracketEx(BufferCoord(1, 1)), BufferCoord(1, 3));
    EXPECT_EQ(edit->GetMatchingBracketEx(BufferCoord(1, 3)), BufferCoord(1, 1));
    EXPECT_EQ(edit->GetMatchingBracketEx(BufferCoord(5, 2)), BufferCoord(0, 0));
    edit->SetHighlighter(nullptr);
}

TEST_F(SynEditCommandsTest, LineEndUnderWordWrapStopsAtTheRowEnd) {
    AnsiString text;
    while (static_cast<Integer>(text.size()) < 3 * edit->CharsInWindow())
        text += "word ";
    edit->Lines()->SetText(text);
    edit->SetWordWrap(true);
    edit->SetCaretXY(BufferCoord(1, 1));
    run(ecLineEnd);
    EXPECT_EQ(edit->CaretY(), 1);
    EXPECT_GT(edit->CaretX(), 1);
    EXPECT_EQ(edit->GetDisplayXY().Row, 1);
    run(ecRight);
    EXPECT_EQ(edit->GetDisplayXY(), DisplayCoord(1, 2));
    run(ecLeft);
    EXPECT_EQ(edit->GetDisplayXY().Row, 1);
    run(ecDown);
    EXPECT_EQ(edit->GetDisplayXY().Row, 2);
    run(ecLineStart);
    EXPECT_EQ(edit->GetDisplayXY(), DisplayCoord(1, 2));
}

TEST_F(SynEditCommandsTest, ClipboardCommandsAndReadOnly) {
    setText("abcdef");
    edit->SetCaretAndSelection(BufferCoord(4, 1), BufferCoord(2, 1), BufferCoord(4, 1));
    edit->SetReadOnly(true);
    run(ecCut);
    EXPECT_EQ(edit->Text(), "abcdef");
    run(ecCopy);
    edit->SetReadOnly(false);
    edit->SetCaretXY(BufferCoord(7, 1));
    run(ecPaste);
    EXPECT_EQ(edit->Text(), "abcdefbc");
    edit->SetReadOnly(true);
    run(ecPaste);
    run(ecUndo);
    EXPECT_EQ(edit->Text(), "abcdefbc");
    edit->SetReadOnly(false);
    edit->SetCaretAndSelection(BufferCoord(1, 1), BufferCoord(1, 1), BufferCoord(4, 1));
    run(ecCut);
    EXPECT_EQ(edit->Text(), "defbc");
    run(ecCut);
    EXPECT_EQ(edit->Text(), "defbc");
    run(ecUndo);
    EXPECT_EQ(edit->Text(), "abcdefbc");
}

TEST_F(SynEditCommandsTest, OneCommandReportsItsStatusChangesOnce) {
    struct Recorder : TObject {
        std::vector<TSynStatusChanges> Calls;
        void changed(TObject*, TSynStatusChanges Changes) { Calls.push_back(Changes); }
    } recorder;
    setText("abc\ndef");
    edit->OnStatusChange = TStatusChangeEvent(&recorder, &Recorder::changed);
    run(ecSelEditorBottom);
    ASSERT_EQ(recorder.Calls.size(), 1u);
    EXPECT_TRUE(recorder.Calls[0].Contains(scCaretX));
    EXPECT_TRUE(recorder.Calls[0].Contains(scCaretY));
    EXPECT_TRUE(recorder.Calls[0].Contains(scSelection));
}

TEST_F(SynEditCommandsTest, CaseChangeRejectsOtherCommands) {
    setText("abc");
    EXPECT_THROW(edit->DoCaseChange(ecChar), EAssertionFailed);
    EXPECT_THROW(edit->DoCaseChange(ecString), EAssertionFailed);
    EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(SynEditCommandsTest, WordUnderTheMouse) {
    setText("alpha beta");
    const TPoint inBeta =
        edit->ClientToScreen(TPoint{edit->TextOffset() + 7 * edit->CharWidth() + 1, edit->LineHeight() / 2});
    SetCursorPos(inBeta.x, inBeta.y);
    TBufferCoord position;
    ASSERT_TRUE(edit->GetPositionOfMouse(position));
    EXPECT_EQ(position, BufferCoord(8, 1));
    EXPECT_EQ(edit->GetWordAtMouse(), "beta");
    const TPoint outside = edit->ClientToScreen(TPoint{-5, 5});
    SetCursorPos(outside.x, outside.y);
    EXPECT_FALSE(edit->GetPositionOfMouse(position));
    EXPECT_EQ(edit->GetWordAtMouse(), "");
}

// ---- Random commands against a plain text model ------------------------------------------------

// The text as plain lines, with the edits whose outcome is simple to state.
class TextModel {
public:
    explicit TextModel(const AnsiString& Text) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = Text.find("\r\n", start);
            lines_.push_back(Text.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start));
            if (end == AnsiString::npos) break;
            start = end + 2;
        }
    }

    AnsiString text() const {
        AnsiString result;
        for (std::size_t i = 0; i < lines_.size(); ++i)
            result += (i > 0 ? "\r\n" : "") + lines_[i];
        return result;
    }
    Integer count() const { return static_cast<Integer>(lines_.size()); }
    Integer length(Integer Line) const { return static_cast<Integer>(line(Line).size()); }

    void erase(TBufferCoord From, TBufferCoord To) {
        line(From.Line) = line(From.Line).substr(0, static_cast<std::size_t>(From.Char - 1)) +
                          line(To.Line).substr(static_cast<std::size_t>(To.Char - 1));
        lines_.erase(lines_.begin() + From.Line, lines_.begin() + To.Line);
    }
    // Fills the line with blanks up to a position past its end, as typing there does.
    TextModel& pad(TBufferCoord At) {
        AnsiString& target = line(At.Line);
        if (static_cast<Integer>(target.size()) < At.Char - 1)
            target.resize(static_cast<std::size_t>(At.Char - 1), ' ');
        return *this;
    }
    void insert(TBufferCoord At, const AnsiString& Text) {
        AnsiString& target = line(At.Line);
        const AnsiString rest = target.substr(static_cast<std::size_t>(At.Char - 1));
        target.erase(static_cast<std::size_t>(At.Char - 1));
        target += Text;
        target += rest;
    }
    void split(TBufferCoord At) {
        const AnsiString rest = line(At.Line).substr(static_cast<std::size_t>(At.Char - 1));
        line(At.Line).erase(static_cast<std::size_t>(At.Char - 1));
        lines_.insert(lines_.begin() + At.Line, rest);
    }
    void deleteLine(Integer Line) {
        if (Line == count())
            line(Line).clear();
        else
            lines_.erase(lines_.begin() + (Line - 1));
    }

private:
    AnsiString& line(Integer Line) { return lines_[static_cast<std::size_t>(Line - 1)]; }
    const AnsiString& line(Integer Line) const { return lines_[static_cast<std::size_t>(Line - 1)]; }

    std::vector<AnsiString> lines_;
};

class SynEditCommandsModelTest : public SynEditCommandsTest {
protected:
    static constexpr Integer Sessions = 100;
    static constexpr Integer CommandsPerSession = 1000;
    static constexpr const char* ImeText = "xy";
    static constexpr const char* PlainTexts[] = {"pq", "p\r\nq", "\r\n", "  r", "s\r\n"};

    std::mt19937 random{20261210};
    std::vector<AnsiString> undone;
    std::vector<AnsiString> redone;
    std::vector<std::string> history;
    bool indenting = false;
    // Copies and cuts in these sessions take the selection as a column block.
    bool columnCopies = false;
    // What a paste inserts, when the model can tell: plain text or a normal block.
    AnsiString clipboardText;
    bool clipboardPredictable = false;

    Integer pick(Integer Count) { return std::uniform_int_distribution<Integer>(0, Count - 1)(random); }

    TSynEditorCommand randomCommand() {
        // Weighted by repetition: typing and undo come up most often.
        // clang-format off
        static const std::vector<TSynEditorCommand> commands = {
            ecLeft, ecRight, ecUp, ecDown, ecWordLeft, ecWordRight, ecLineStart, ecLineEnd,
            ecSelLeft, ecSelRight, ecSelUp, ecSelDown, ecSelWordLeft, ecSelWordRight, ecSelLineStart,
            ecSelLineEnd, ecEditorTop, ecSelEditorBottom, ecPageDown, ecSelPageUp,
            ecChar, ecChar, ecChar, ecChar, ecChar, ecChar, ecLineBreak, ecLineBreak, ecInsertLine,
            ecDeleteLastChar, ecDeleteLastChar, ecDeleteChar, ecDeleteChar, ecDeleteWord, ecDeleteLastWord,
            ecDeleteEOL, ecDeleteBOL, ecDeleteLine, ecTab, ecShiftTab, ecBlockIndent, ecBlockUnindent,
            ecUpperCaseBlock, ecToggleCaseBlock, ecTitleCase, ecLowerCase, ecSelWord,
            ecToggleMode, ecImeStr, ecCut, ecCopy, ecCopy, ecPaste, ecPaste, ecUndo, ecUndo, ecUndo, ecRedo, ecRedo};
        // clang-format on
        return commands[static_cast<std::size_t>(pick(static_cast<Integer>(commands.size())))];
    }

    char randomChar() {
        static const char chars[] = "abcXYZ  .(";
        return chars[pick(sizeof(chars) - 1)];
    }

    // The expected text after a command whose outcome the model knows; other
    // commands are taken as the editor leaves them and checked through undo and redo.
    bool predict(TSynEditorCommand Command, char AChar, TextModel& Model) {
        const TBufferCoord caret = edit->CaretXY();
        const bool selected = edit->SelAvail();
        const TBufferCoord first = edit->GetBlockBegin();
        const TBufferCoord last = edit->GetBlockEnd();
        const auto eraseSelection = [&] {
            if (selected) Model.erase(first, last);
            return selected ? first : caret;
        };
        // Indenting options decide what line breaks, tabs and backspaces do.
        if (indenting && (Command == ecLineBreak || Command == ecInsertLine || Command == ecTab ||
                          Command == ecDeleteLastChar))
            return false;
        switch (Command) {
        case ecChar:
        case ecImeStr: {
            const AnsiString text = Command == ecChar ? AnsiString(1, AChar) : AnsiString(ImeText);
            const TBufferCoord at = eraseSelection();
            Model.pad(at);
            if (!selected && !edit->InsertMode()) {
                const Integer overwritten =
                    std::min(static_cast<Integer>(text.size()), Model.length(at.Line) + 1 - at.Char);
                Model.erase(at, BufferCoord(at.Char + overwritten, at.Line));
            }
            Model.insert(at, text);
            return true;
        }
        case ecLineBreak:
        case ecInsertLine: {
            const TBufferCoord at = eraseSelection();
            Model.split(BufferCoord(std::min(at.Char, Model.length(at.Line) + 1), at.Line));
            return true;
        }
        case ecTab: {
            const TBufferCoord at = eraseSelection();
            Model.pad(at).insert(at, AnsiString(static_cast<std::size_t>(4 - (at.Char - 1) % 4), ' '));
            return true;
        }
        case ecDeleteLastChar:
            if (!selected && caret.Char > Model.length(caret.Line) + 1) return false;
            if (selected)
                Model.erase(first, last);
            else if (caret.Char > 1)
                Model.erase(BufferCoord(caret.Char - 1, caret.Line), caret);
            else if (caret.Line > 1)
                Model.erase(BufferCoord(Model.length(caret.Line - 1) + 1, caret.Line - 1), caret);
            return true;
        case ecDeleteChar:
            if (selected)
                Model.erase(first, last);
            else if (caret.Char <= Model.length(caret.Line))
                Model.erase(caret, BufferCoord(caret.Char + 1, caret.Line));
            else if (caret.Line < Model.count())
                Model.pad(caret).erase(caret, BufferCoord(1, caret.Line + 1));
            return true;
        case ecDeleteEOL:
            if (caret.Char <= Model.length(caret.Line) + 1)
                Model.erase(caret, BufferCoord(Model.length(caret.Line) + 1, caret.Line));
            return true;
        case ecDeleteBOL:
            Model.erase(BufferCoord(1, caret.Line),
                        BufferCoord(std::min(caret.Char, Model.length(caret.Line) + 1), caret.Line));
            return true;
        case ecDeleteLine:
            Model.deleteLine(caret.Line);
            return true;
        case ecPaste: {
            if (!clipboardPredictable) return false;
            const TBufferCoord at = eraseSelection();
            Model.pad(at).insert(at, clipboardText);
            return true;
        }
        default:
            return false;
        }
    }

    // Line breaks shown as \n keep a history entry on one line.
    static std::string oneLine(const AnsiString& Text) {
        std::string result;
        for (char c : Text) {
            if (c == '\n')
                result += "\\n";
            else if (c != '\r')
                result += c;
        }
        return result;
    }

    // Some pastes take plain text put on the clipboard from outside: half of
    // them, or a quarter where column blocks are copied, so that those get pasted.
    void prepareClipboard(TSynEditorCommand Command) {
        if (Command == ecPaste && pick(columnCopies ? 4 : 2) == 0) {
            clipboardText = PlainTexts[pick(std::size(PlainTexts))];
            clipboardPredictable = true;
            Clipboard()->SetAsText(clipboardText);
        }
        if ((Command == ecCopy || Command == ecCut) && edit->SelAvail()) {
            if (columnCopies) edit->SetActiveSelectionMode(smColumn);
            clipboardText = edit->GetSelText();
            clipboardPredictable = edit->ActiveSelectionMode() == smNormal;
        }
    }

    void step() {
        const TSynEditorCommand command = randomCommand();
        const char c = command == ecChar ? randomChar() : '\0';
        prepareClipboard(command);
        history.push_back(std::to_string(command) + (c ? std::string(" '") + c + "'" : std::string()) +
                          " at (" + std::to_string(edit->CaretX()) + "," + std::to_string(edit->CaretY()) +
                          ") selection " + std::to_string(edit->SelAvail()) + " in \"" +
                          oneLine(edit->Text()) + "\" clipboard \"" + oneLine(clipboardText) + "\"");
        const AnsiString before = edit->Text();
        const Integer itemsBefore = edit->UndoList()->GetItemCount();
        TextModel model(before);
        const bool predicted = predict(command, c, model);
        AnsiString imeText = ImeText;
        run(command, c, command == ecImeStr ? imeText.data() : nullptr);
        // The model predicts the other commands for a normal selection.
        if (columnCopies) edit->SetActiveSelectionMode(smNormal);
        const AnsiString after = edit->Text();
        if (command == ecUndo) {
            if (undone.empty()) {
                ASSERT_EQ(after, before);
                return;
            }
            ASSERT_EQ(after, undone.back()) << "undo";
            undone.pop_back();
            redone.push_back(before);
        } else if (command == ecRedo) {
            if (redone.empty()) {
                ASSERT_EQ(after, before);
                return;
            }
            ASSERT_EQ(after, redone.back()) << "redo";
            redone.pop_back();
            undone.push_back(before);
        } else {
            if (predicted) {
                ASSERT_EQ(after, model.text());
            }
            if (edit->UndoList()->GetItemCount() == itemsBefore) {
                ASSERT_EQ(after, before) << "a change that cannot be undone";
                return;
            }
            undone.push_back(before);
            redone.clear();
        }
        const Integer lineCount = std::max<Integer>(1, edit->Lines()->Count());
        ASSERT_GE(edit->CaretY(), 1);
        ASSERT_LE(edit->CaretY(), lineCount);
        ASSERT_GE(edit->CaretX(), 1);
        // A line break may leave the caret at its indentation on an empty line; undo and redo
        // bring it back within the line.
        const bool replayed = command == ecUndo || command == ecRedo;
        if (replayed && !edit->Options().Contains(eoScrollPastEol) &&
            edit->CaretY() <= edit->Lines()->Count()) {
            const auto lineLength = static_cast<Integer>(edit->Lines()->Get(edit->CaretY() - 1).size());
            ASSERT_LE(edit->CaretX(), lineLength + 1) << "the caret past a line end";
        }
    }
};

TEST_F(SynEditCommandsModelTest, RandomCommandsWithUndoAndRedoMatchAPlainTextModel) {
    edit->SetMaxUndo(1000000);
    for (Integer session = 0; session < Sessions; ++session) {
        // Sessions take turns to indent automatically with smart tabs and smart
        // backspace, to let the caret go past line ends, and to copy and cut column blocks.
        const TSynEditorOptions indentOptions{eoAutoIndent, eoSmartTabs, eoSmartTabDelete};
        indenting = session % 4 >= 2;
        columnCopies = session % 16 >= 8;
        TSynEditorOptions options = SYNEDIT_DEFAULT_OPTIONS - indentOptions -
                                    TSynEditorOptions{eoGroupUndo, eoEnhanceEndKey, eoScrollPastEol};
        if (indenting) options = options + indentOptions;
        if (session % 8 >= 4) options.Include(eoScrollPastEol);
        edit->SetOptions(options);
        // Every other session wraps its lines, on a narrow editor so that they do wrap.
        edit->SetWordWrap(false);
        edit->SetWidth(session % 2 == 0 ? 400 : 110);
        setText("alpha beta\n  gamma.delta(x)\n\nend");
        edit->SetWordWrap(session % 2 == 1);
        undone.clear();
        redone.clear();
        history.clear();
        for (Integer i = 0; i < CommandsPerSession; ++i) {
            try {
                step();
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
            if (HasFailure()) {
                for (std::size_t h = history.size() > 12 ? history.size() - 12 : 0; h < history.size(); ++h)
                    ADD_FAILURE() << "session " << session << " command " << h << ": " << history[h];
                return;
            }
        }
    }
}

} // namespace
