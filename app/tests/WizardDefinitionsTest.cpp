#include "app/WizardDefinitions.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* line;
    TWizardKind kind;
    Integer row;
    const char* defaultValue;
    const char* filter;
    const char* label;
};

TEST(WizardDefinitionsTest, LinesSplitAtTheirLastSeparators) {
    const LineCase cases[] = {
        {"#Text1#Happy Birthday!|Text", TWizardKind::Text, 1, "Happy Birthday!", "", "Text"},
        {"#Text1##top|Address", TWizardKind::Text, 1, "#top", "", "Address"},
        {"#Text6#a|b|c", TWizardKind::Text, 6, "a|b", "", "c"},
        {"#Color1#006600|Text colour", TWizardKind::Colour, 1, "#006600", "", "Text colour"},
        {"#Color7red|", TWizardKind::Colour, 7, "red", "", ""},
        {"#Int_1#90|Delay (ms)", TWizardKind::Number, 1, "90", "", "Delay (ms)"},
        {"#Int_6#|", TWizardKind::Number, 6, "", "", ""},
        {"#File1#tile.gif$Pictures|*.gif|All|*.*%Background", TWizardKind::File, 1, "tile.gif",
         "Pictures|*.gif|All|*.*", "Background"},
        {"#File3#a$b$c%d%e", TWizardKind::File, 3, "a$b", "c%d", "e"},
        // Separators missing or out of order.
        {"#Text2#no bar", TWizardKind::Text, 2, "", "", "#Text2#no bar"},
        {"#Text1#", TWizardKind::Text, 1, "", "", "#Text1#"},
        {"#File1#name.gif*.gif%Label", TWizardKind::File, 1, "", "#File1#name.gif*.gif", "Label"},
        {"#File1#x%y$z", TWizardKind::File, 1, "x%y", "", "y$z"},
        {"#File2#x$filter", TWizardKind::File, 2, "x", "", "#File2#x$filter"},
        {"#File1#$%", TWizardKind::File, 1, "", "", ""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        const std::optional<TWizardDefinition> definition = ParseWizardLine(c.line);
        ASSERT_TRUE(definition);
        EXPECT_EQ(definition->Kind, c.kind);
        EXPECT_EQ(definition->Row, c.row);
        EXPECT_EQ(definition->Key, AnsiString(c.line).substr(0, 7));
        EXPECT_EQ(definition->Default, c.defaultValue);
        EXPECT_EQ(definition->Filter, c.filter);
        EXPECT_EQ(definition->Label, c.label);
    }
}

TEST(WizardDefinitionsTest, OnlyTheTwentyFiveKeysAreKnown) {
    for (const char* line :
         {"", "#Text1", "#text1#x|y", "#Text7#x|y", "#Text0#x|y", "#Color8x|y", "#Color0x|y", "#Int_7#1|n",
          "#Int1##1|n", "#File7#a$b%c", " #Text1#x|y", "Text1#x|y"}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseWizardLine(line));
    }
    int known = 0;
    for (const char* prefix : {"#Text", "#Color", "#Int_", "#File"})
        for (int digit = 0; digit <= 9; ++digit) {
            const AnsiString key =
                prefix + std::to_string(digit) + (AnsiString(prefix) == "#Color" ? "" : "#");
            if (WizardKeyOf(key)) ++known;
        }
    EXPECT_EQ(known, 25);
}

TEST(WizardDefinitionsTest, OnlyTheFirstOccurrenceIsReplacedWhateverFollowsIt) {
    EXPECT_EQ(SubstituteFirst("color: #Color1; bg: #Color1;", "#Color1", "#FF0000"),
              "color: #FF0000; bg: #Color1;");
    EXPECT_EQ(PlaceholderOffset("color: #Color1;", "#Color1"), 7u);
    // A line break counts as its two characters.
    EXPECT_EQ(PlaceholderOffset("a\r\n#Text1#", "#Text1#"), 3u);
    EXPECT_EQ(SubstituteFirst("a\r\n#Text1#", "#Text1#", ""), "a\r\n");
    EXPECT_EQ(SubstituteFirst("#TEXT1#", "#Text1#", "x"), "#TEXT1#");
    EXPECT_EQ(PlaceholderOffset("abc", ""), AnsiString::npos);
    EXPECT_EQ(SubstituteFirst("abc", "", "x"), "abc");
    // A value holding its own key is not replaced again.
    EXPECT_EQ(SubstituteFirst("#Int_1#", "#Int_1#", "#Int_1##Int_1#"), "#Int_1##Int_1#");
}

} // namespace
