#include "platform/vcl/FormText.h"

#include <gtest/gtest.h>

using namespace formtext;

namespace {

const char* const CanonicalText = "object Form1: TForm1\n"
                                  "  Left = -3\n"
                                  "  Big = 5000000000\n"
                                  "  Scale = 0.25\n"
                                  "  Huge = 1.0E20\n"
                                  "  Caption = 'Say ''hi'''#9'now'\n"
                                  "  Wide = 'x'#1046#233\n"
                                  "  Empty = ''\n"
                                  "  Flags = [a, b]\n"
                                  "  None = []\n"
                                  "  Enabled = False\n"
                                  "  Target = nil\n"
                                  "  Font.Name = Courier\n"
                                  "  Lines.Strings = (\n"
                                  "    'one'\n"
                                  "    2\n"
                                  "    (\n"
                                  "      x))\n"
                                  "  NoLines = ()\n"
                                  "  Data = {\n"
                                  "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
                                  "    FF}\n"
                                  "  NoData = {}\n"
                                  "  Items = <\n"
                                  "    item\n"
                                  "      Width = 1\n"
                                  "    end\n"
                                  "    item\n"
                                  "    end>\n"
                                  "  NoItems = <>\n"
                                  "  object Panel: TPanel\n"
                                  "  end\n"
                                  "  inherited Button1: TButton [2]\n"
                                  "    object TLabel\n"
                                  "    end\n"
                                  "  end\n"
                                  "end\n";

const FormValue& valueOf(const FormObject& object, const char* name) {
    for (const FormProperty& property : object.Properties)
        if (property.Name == name) return property.Value;
    throw std::runtime_error(std::string("no property ") + name);
}

} // namespace

TEST(FormText, CanonicalTextPrintsBackUnchanged) {
    FormObject form = ParseFormText(CanonicalText);
    EXPECT_EQ(PrintFormText(form), CanonicalText);
}

TEST(FormText, ValuesHaveTheirKinds) {
    FormObject form = ParseFormText(CanonicalText);
    EXPECT_EQ(valueOf(form, "Left").Type, vaInt8);
    EXPECT_EQ(valueOf(form, "Big").Type, vaInt64);
    EXPECT_EQ(valueOf(form, "Scale").Type, vaExtended);
    EXPECT_EQ(valueOf(form, "Caption").Text, "Say 'hi'\tnow");
    EXPECT_EQ(valueOf(form, "Caption").Type, vaString);
    EXPECT_EQ(valueOf(form, "Wide").Type, vaWString);
    EXPECT_EQ(valueOf(form, "Wide").Wide, u"x\u0416\u00e9");
    EXPECT_EQ(valueOf(form, "Enabled").Type, vaFalse);
    EXPECT_EQ(valueOf(form, "Target").Type, vaNil);
    EXPECT_EQ(valueOf(form, "Font.Name").Type, vaIdent);
    EXPECT_EQ(valueOf(form, "Data").Text.size(), 33u);
    EXPECT_EQ(valueOf(form, "Items").Items.size(), 2u);
    ASSERT_EQ(form.Children.size(), 2u);
    EXPECT_EQ(form.Children[1].Kind, ObjectKind::Inherited);
    EXPECT_EQ(form.Children[1].Position, 2);
    EXPECT_EQ(form.Children[1].Children[0].ClassName, "TLabel");
    EXPECT_EQ(form.Children[1].Children[0].Name, "");
}

TEST(FormText, OtherSpellingsReadAsTheirCanonicalForm) {
    struct Case {
        const char* value;
        const char* canonical;
    };
    const Case cases[] = {
        {"$FF", "255"},
        {"-$10", "-16"},
        {"2.50", "2.5"},
        {"3.", "3.0"},
        {"1e3", "1000.0"},
        {"1.5s", "1.5s"},
        {"'a' +\n    'b' + #65", "'abA'"},
        {"'caf\xE9'", "'caf'#233"},
        {"#$41#66", "'AB'"},
        {"true", "True"},
        {"[ a ,b ]", "[a, b]"},
    };
    for (const Case& c : cases) {
        AnsiString text = AnsiString("object A: TA\n  P = ") + c.value + "\nend\n";
        AnsiString expected = AnsiString("object A: TA\n  P = ") + c.canonical + "\nend\n";
        EXPECT_EQ(PrintFormText(ParseFormText(text)), expected) << c.value;
    }
}

TEST(FormText, LongStringsAreSplitIntoChunksOfSixtyFour) {
    FormObject form;
    form.ClassName = "TA";
    form.Properties.push_back({"Short", StringValue(AnsiString(64, 'a'))});
    form.Properties.push_back({"Long", StringValue(AnsiString(65, 'b'))});
    FormValue list;
    list.Type = vaList;
    list.List.push_back(StringValue(AnsiString(70, 'c')));
    form.Properties.push_back({"Lines", list});
    AnsiString text = PrintFormText(form);
    EXPECT_EQ(text, "object TA\n"
                    "  Short = '" +
                        AnsiString(64, 'a') +
                        "'\n"
                        "  Long =\n"
                        "    '" +
                        AnsiString(64, 'b') +
                        "' +\n"
                        "    'b'\n"
                        "  Lines = (\n"
                        "    '" +
                        AnsiString(64, 'c') +
                        "' +\n"
                        "    'cccccc')\n"
                        "end\n");
    EXPECT_EQ(PrintFormText(ParseFormText(text)), text);
    EXPECT_EQ(StringValue(AnsiString(256, 'x')).Type, vaLString);
}

TEST(FormText, SyntaxErrorsNameTheLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object A: TA\n  P = 'open\nend\n", "Unterminated string on line 2"},
        {"object A: TA\n  P 1\nend\n", "'=' expected on line 2"},
        {"object A: TA\n  P = {0G}\nend\n", "Invalid binary value on line 2"},
        {"object A: TA\n\n  P = [a b]\nend\n", "']' expected on line 3"},
        {"object A: TA\n  P = <\n  thing\n  end>\nend\n", "'item' expected on line 3"},
        {"object A: TA\n  P = 'a' +\nend\n", "String expected on line 3"},
        {"object A: TA\n  P = #70000\nend\n", "Invalid string constant on line 2"},
        {"object A: TA\n  P = 1\n", "Identifier expected on line 3"},
        {"thing A: TA\nend\n", "'object' expected on line 1"},
        {"object A: TA\nend\nmore", "Invalid stream format on line 3"},
        {"object A: TA\n  P = )\nend\n", "Invalid property value on line 2"},
    };
    for (const Case& c : cases) {
        try {
            ParseFormText(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const EParserError& error) {
            EXPECT_EQ(error.Message, c.message) << c.text;
        }
    }
}

// The reader recurses once a level: nesting without end would overflow its stack.
TEST(FormText, NestingIsLimitedWithAnErrorNamingTheLine) {
    const auto nested = [](int Depth, const std::string& Open, const std::string& Close) {
        std::string text;
        for (int level = 0; level < Depth; ++level)
            text += Open;
        for (int level = 0; level < Depth; ++level)
            text += Close;
        return text;
    };
    const std::string lists = "object A: TA\n  P = " + nested(20000, "(", ")") + "\nend\n";
    const std::string objects = nested(300, "object A: TA\n", "end\n");
    const std::string items = "object A: TA\n  P = " + nested(300, "<item Q = ", " end>") + "\nend\n";
    for (const std::string& text : {lists, objects, items}) {
        try {
            ParseFormText(text);
            ADD_FAILURE() << "no error";
        } catch (const EParserError& error) {
            EXPECT_TRUE(error.Message.starts_with("Form is nested too deeply on line ")) << error.Message;
        }
    }
    EXPECT_EQ(ParseFormText(nested(200, "object A: TA\n", "end\n")).Children.size(), 1u);
    const std::string deepList = "object A: TA\n  P = " + nested(200, "(", ")") + "\nend\n";
    EXPECT_EQ(ParseFormText(deepList).Properties.size(), 1u);
}

TEST(FormText, TopClassNameNeedsOnlyTheFirstLine) {
    EXPECT_EQ(TopClassName("inherited Main: TMainForm\n  Broken = \n"), "TMainForm");
    EXPECT_EQ(TopClassName("object TAnonymous\nend\n"), "TAnonymous");
    EXPECT_EQ(TopClassName("BM\x00\x01"), "");
}
