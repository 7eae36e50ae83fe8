#include <gtest/gtest.h>
// The word-wrap plug-in on a headless editor: how lines break into rows, how
// positions map between buffer and display, and that keeping the rows in step
// with line changes gives what wrapping everything afresh gives.
#include "editor/SynEditWordWrap.h"
#include "editor/tests/SynEditTestSupport.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/core/Exceptions.h"
#include "platform/vcl/tests/VisualTestSupport.h"

#include <random>
#include <string>
#include <vector>

namespace {

// Bytes from 0x81 on lead a double-byte character, as in a far-eastern code page.
class TDoubleByteWordWrapPlugin : public TSynWordWrapPlugin {
public:
    explicit TDoubleByteWordWrapPlugin(TCustomSynEdit* AOwner) : TSynWordWrapPlugin(AOwner) { Reset(); }

protected:
    bool IsLeadByte(char C) const override { return static_cast<unsigned char>(C) >= 0x81; }
};

class SynWordWrapTest : public SynEditOnFormTest {
protected:
    void setCharsInWindow(Integer Count) {
        edit->SetWidth(edit->Width() + (Count - edit->CharsInWindow()) * edit->CharWidth());
        ASSERT_EQ(edit->CharsInWindow(), Count);
    }

    void setLines(const std::vector<AnsiString>& Lines) {
        edit->Lines()->Clear();
        for (const AnsiString& line : Lines)
            edit->Lines()->Add(line);
    }

    static std::vector<Integer> rowLengths(TSynWordWrapPlugin& Plugin) {
        std::vector<Integer> lengths;
        for (Integer row = 1; row <= Plugin.RowCount(); ++row)
            lengths.push_back(Plugin.GetRowLength(row));
        return lengths;
    }

    // The rows of a one-line text at a given width.
    std::vector<Integer> rowsOf(const AnsiString& Line, Integer Width) {
        setCharsInWindow(Width);
        setLines({Line});
        TSynWordWrapPlugin plugin(edit);
        return rowLengths(plugin);
    }

    // Everything the plug-in holds: the row lengths and the first row of every line.
    std::vector<Integer> layoutOf(TSynWordWrapPlugin& Plugin) {
        std::vector<Integer> layout = rowLengths(Plugin);
        for (Integer line = 1; line <= edit->Lines()->Count(); ++line)
            layout.push_back(Plugin.BufferToDisplayPos(BufferCoord(1, line)).Row);
        return layout;
    }
};

TEST_F(SynWordWrapTest, MissingOwnerIsRefused) {
    try {
        TSynWordWrapPlugin plugin(nullptr);
        FAIL() << "no exception";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message, "TSynWordWrapPlugin must be owned by TCustomSynEdit");
    }
}

struct BreakCase {
    const char* name;
    AnsiString line;
    Integer width;
    std::vector<Integer> rows;
};

TEST_F(SynWordWrapTest, BreaksLinesIntoRows) {
    const AnsiString letters = "abcdefghijklmnopqrstuvwxyz";
    const std::vector<BreakCase> cases = {
        {"empty line", "", 10, {0}},
        {"exactly the width", letters.substr(0, 10), 10, {10}},
        {"twice the width, no empty row after", letters.substr(0, 20), 10, {10, 10}},
        {"break in the last two places", "abcdefgh abcdefghij", 10, {9, 10}},
        {"break before the ninth character is not used", "abcdefg hijklmnop", 10, {10, 7}},
        {"hard cut of a long word", letters.substr(0, 25), 10, {10, 10, 5}},
        {"identifier characters are no breaks", "abcdefgh.ijklmnop", 10, {10, 7}},
        {"blanks at a cut end the row", letters.substr(0, 10) + "     klm", 10, {15, 3}},
        {"tab padding at a cut ends the row", "abcdefgh\tijklm", 10, {16, 5}},
        {"width one", "abc", 1, {1, 1, 1}},
        {"row length limit", std::string(600, 'x'), 300, {255, 255, 90}},
        {"blanks stop at the limit", letters.substr(0, 10) + std::string(300, ' ') + "z", 10, {255, 55, 1}},
        {"tab runs are cut at a tab stop",
         letters.substr(0, 10) + std::string(40, '\t') + "z",
         10,
         {248, 80, 1}},
    };
    for (const BreakCase& c : cases)
        EXPECT_EQ(rowsOf(c.line, c.width), c.rows) << c.name;
}

TEST_F(SynWordWrapTest, HighlighterDecidesTheBreakCharacters) {
    TSynJScriptSyn highlighter(nullptr);
    edit->SetHighlighter(&highlighter);
    EXPECT_EQ(rowsOf("abcdefgh.ijklmnop", 10), (std::vector<Integer>{9, 8}));
    edit->SetHighlighter(nullptr);
}

TEST_F(SynWordWrapTest, DoubleByteCharactersStayWhole) {
    const AnsiString pair = "\x82\xA0";
    setCharsInWindow(4);
    setLines({"abc" + pair + "de"});
    TDoubleByteWordWrapPlugin beforeTheCharacter(edit);
    EXPECT_EQ(rowLengths(beforeTheCharacter), (std::vector<Integer>{3, 4}));

    // One column cannot hold a double-byte character; its row takes it whole and wrapping goes on.
    setCharsInWindow(1);
    setLines({pair + pair + "a"});
    TDoubleByteWordWrapPlugin narrow(edit);
    EXPECT_EQ(rowLengths(narrow), (std::vector<Integer>{2, 2, 1}));
}

TEST_F(SynWordWrapTest, MapsPositionsBetweenBufferAndDisplay) {
    setCharsInWindow(10);
    setLines({"abcdefgh abcdefghij", "xyz"});
    TSynWordWrapPlugin plugin(edit);
    ASSERT_EQ(layoutOf(plugin), (std::vector<Integer>{9, 10, 3, 1, 3}));

    const std::vector<std::pair<TBufferCoord, TDisplayCoord>> toDisplay = {
        {{1, 1}, {1, 1}},   {{9, 1}, {9, 1}}, {{10, 1}, {1, 2}}, {{19, 1}, {10, 2}},
        {{25, 1}, {16, 2}}, {{1, 2}, {1, 3}}, {{8, 2}, {8, 3}},  {{5, 4}, {5, 5}},
    };
    for (const auto& [buffer, display] : toDisplay)
        EXPECT_EQ(plugin.BufferToDisplayPos(buffer), display) << buffer.Char << "," << buffer.Line;

    const std::vector<std::pair<TDisplayCoord, TBufferCoord>> toBuffer = {
        {{1, 2}, {10, 1}},  {{15, 1}, {10, 1}}, {{15, 2}, {20, 1}},
        {{30, 3}, {11, 2}}, {{2, 3}, {2, 2}},   {{7, 5}, {7, 4}},
    };
    for (const auto& [display, buffer] : toBuffer)
        EXPECT_EQ(plugin.DisplayToBufferPos(display), buffer) << display.Column << "," << display.Row;

    for (Integer character = 1; character <= 20; ++character)
        EXPECT_EQ(plugin.DisplayToBufferPos(plugin.BufferToDisplayPos({character, 1})),
                  BufferCoord(character, 1));
}

TEST_F(SynWordWrapTest, ZeroWidthWrapsNothing) {
    setCharsInWindow(0);
    setLines({"abcdefgh abcdefghij", "xyz"});
    TSynWordWrapPlugin plugin(edit);
    EXPECT_EQ(plugin.RowCount(), 0);
    EXPECT_EQ(plugin.BufferToDisplayPos({7, 2}), DisplayCoord(7, 2));
    EXPECT_EQ(plugin.DisplayToBufferPos({7, 2}), BufferCoord(7, 2));
    EXPECT_EQ(plugin.LinesInserted(0, 1), 0);
    EXPECT_EQ(plugin.LinesPutted(0, 1), 0);
    EXPECT_EQ(plugin.LinesDeleted(0, 1), 0);
    EXPECT_EQ(plugin.RowCount(), 0);
}

TEST_F(SynWordWrapTest, RowOutsideTheRowsIsAListIndexError) {
    setCharsInWindow(10);
    setLines({"abc"});
    TSynWordWrapPlugin plugin(edit);
    for (Integer row : {0, 2}) {
        try {
            plugin.GetRowLength(row);
            FAIL() << "no exception for row " << row;
        } catch (const EListError& error) {
            EXPECT_EQ(error.Message, "List index out of bounds (" + std::to_string(row) + ")");
        }
    }
}

TEST_F(SynWordWrapTest, NotificationBeyondTheLinesFailsAnAssertion) {
    setCharsInWindow(10);
    setLines({"abc"});
    TSynWordWrapPlugin plugin(edit);
    try {
        plugin.LinesDeleted(1, 1);
        FAIL() << "no exception";
    } catch (const EAssertionFailed& error) {
        EXPECT_NE(error.Message.find("SynEditWordWrap"), AnsiString::npos) << error.Message;
    }
}

TEST_F(SynWordWrapTest, DisplayChangedRewrapsOnlyForANewWidth) {
    setCharsInWindow(10);
    setLines({std::string(25, 'x')});
    TSynWordWrapPlugin plugin(edit);
    edit->Lines()->Put(0, std::string(5, 'x')); // not reported to the plug-in

    plugin.DisplayChanged();
    EXPECT_EQ(rowLengths(plugin), (std::vector<Integer>{10, 10, 5}));

    setCharsInWindow(4);
    plugin.DisplayChanged();
    EXPECT_EQ(rowLengths(plugin), (std::vector<Integer>{4, 1}));
}

// Random texts of letters, blanks, tabs and break characters, changed at random;
// after each change the plug-in must hold what a fresh wrap gives.
class SynWordWrapStepTest : public SynWordWrapTest {
protected:
    std::mt19937 random{20261210};

    Integer below(Integer Bound) { return std::uniform_int_distribution<Integer>(0, Bound - 1)(random); }

    AnsiString randomLine() {
        static const AnsiString alphabet = "abcdefghij      \t,;(";
        AnsiString line;
        for (Integer length = below(70); length > 0; --length)
            line += alphabet[below(static_cast<Integer>(alphabet.size()))];
        return line;
    }

    // Applies one random change to the buffer, reports it, and returns the rows it says it added.
    Integer changeAtRandom(TSynWordWrapPlugin& Plugin) {
        TSynEditStringList* lines = edit->Lines();
        const Integer count = lines->Count();
        switch (count == 0 ? 0 : below(4)) {
        case 0: {
            const Integer index = below(count + 1);
            const Integer added = 1 + below(3);
            lines->InsertLines(index, added);
            Integer rows = Plugin.LinesInserted(index, added);
            for (Integer line = index; line < index + added; ++line) {
                lines->Put(line, randomLine());
                rows += Plugin.LinesPutted(line, 1);
            }
            return rows;
        }
        case 1: {
            const Integer index = below(count + 1);
            lines->Insert(index, randomLine());
            return Plugin.LinesInserted(index, 1);
        }
        case 2: {
            const Integer index = below(count);
            const Integer removed = 1 + below(std::min(3, count - index));
            lines->DeleteLines(index, removed);
            return -Plugin.LinesDeleted(index, removed);
        }
        default: {
            const Integer index = below(count);
            lines->Put(index, randomLine());
            return Plugin.LinesPutted(index, 1);
        }
        }
    }
};

TEST_F(SynWordWrapStepTest, ChangesKeepTheRowsOfAFreshWrap) {
    edit->SetTabWidth(4);
    for (Integer width : {1, 7, 10, 33}) {
        setCharsInWindow(width);
        setLines({});
        TSynWordWrapPlugin plugin(edit);
        for (Integer step = 0; step < 300; ++step) {
            const Integer rowsBefore = plugin.RowCount();
            const Integer rowsAdded = changeAtRandom(plugin);
            TSynWordWrapPlugin fresh(edit);
            ASSERT_EQ(layoutOf(plugin), layoutOf(fresh)) << "width " << width << ", step " << step;
            ASSERT_EQ(plugin.RowCount(), rowsBefore + rowsAdded) << "width " << width << ", step " << step;
        }
    }
}

} // namespace
