#include "highlighters/SynEditHighlighter.h"

#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"

#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace {

// A highlighter made of named attributes only, in the order given.
class NamedAttributesHighlighter : public TSynCustomHighlighter {
public:
    NamedAttributesHighlighter(std::initializer_list<const char*> names) : TSynCustomHighlighter(nullptr) {
        for (const char* name : names)
            AddAttribute(new TSynHighlighterAttributes(name));
        SetAttributesOnChange(TNotifyEvent(this, &NamedAttributesHighlighter::DefHighlightChange));
    }
    void Add(const char* name) { AddAttribute(new TSynHighlighterAttributes(name)); }
    TSynHighlighterAttributes* Named(const AnsiString& name) const {
        for (Integer i = 0; i < GetAttribCount(); ++i)
            if (GetAttribute(i)->Name() == name) return GetAttribute(i);
        return nullptr;
    }
};

// A highlighter that keeps the sample text it is given.
class SampleKeepingHighlighter : public NamedAttributesHighlighter {
public:
    SampleKeepingHighlighter() : NamedAttributesHighlighter({"Comment", "Reserved Word"}) {}
    AnsiString GetSampleSource() const override { return sample_; }
    void SetSampleSource(const AnsiString& Value) override { sample_ = Value; }

private:
    AnsiString sample_;
};

const TClass describedNamed = DescribeClass<NamedAttributesHighlighter, TSynCustomHighlighter>();
const TClass describedSampleKeeping = DescribeClass<SampleKeepingHighlighter, NamedAttributesHighlighter>();

// Stands for an editor hooked to a highlighter.
struct Editor : TObject {
    void AttrChanged(TObject* sender) { senders.push_back(sender); }
    TNotifyEvent handler() { return TNotifyEvent(this, &Editor::AttrChanged); }
    std::vector<TObject*> senders;
};

std::vector<AnsiString> attributeNames(const TSynCustomHighlighter& highlighter) {
    std::vector<AnsiString> names;
    for (Integer i = 0; i < highlighter.GetAttribCount(); ++i)
        names.push_back(highlighter.GetAttribute(i)->Name());
    return names;
}

TEST(HighlighterAttributes, StartWithoutColoursOrStyle) {
    TSynHighlighterAttributes attribute("Comment");
    EXPECT_EQ(attribute.Name(), "Comment");
    EXPECT_EQ(attribute.Background(), clNone);
    EXPECT_EQ(attribute.Foreground(), clNone);
    EXPECT_TRUE(attribute.Style().Empty());
}

TEST(HighlighterAttributes, StyleIntegerHasOneBitPerStyle) {
    TSynHighlighterAttributes attribute("Comment");
    const struct {
        Integer Value;
        TFontStyles Style;
    } cases[] = {{0, {}},
                 {1, {fsBold}},
                 {10, {fsItalic, fsStrikeOut}},
                 {15, {fsBold, fsItalic, fsUnderline, fsStrikeOut}},
                 {16 + 4, {fsUnderline}}};
    for (const auto& c : cases) {
        attribute.SetStyle({fsBold, fsItalic});
        attribute.SetStyleFromInt(c.Value);
        EXPECT_EQ(attribute.Style(), c.Style) << c.Value;
        EXPECT_EQ(attribute.GetStyleFromInt(), c.Value & 15);
    }
}

TEST(HighlighterAttributes, AssignCopiesNameColoursAndStyleWithOneChange) {
    TSynHighlighterAttributes source("String");
    source.SetForeground(clRed);
    source.SetBackground(clYellow);
    source.SetStyle({fsUnderline});
    TSynHighlighterAttributes target("Comment");
    Editor editor;
    target.OnChange = editor.handler();
    target.Assign(&source);
    EXPECT_EQ(target.Name(), "String");
    EXPECT_EQ(target.Foreground(), clRed);
    EXPECT_EQ(target.Background(), clYellow);
    EXPECT_EQ(target.Style(), TFontStyles{fsUnderline});
    EXPECT_EQ(editor.senders, std::vector<TObject*>{&target});
    target.Assign(&source);
    EXPECT_EQ(editor.senders.size(), 1u);

    TStringList notAnAttribute;
    EXPECT_THROW(target.Assign(&notAnAttribute), EConvertError);
}

TEST(HighlighterAttributes, DefaultsDecideWhatIsStored) {
    TSynJScriptSyn highlighter(nullptr);
    TSynHighlighterAttributes* comment = highlighter.CommentAttri();
    EXPECT_EQ(comment->StyleDefault(), TFontStyles{fsItalic});
    EXPECT_FALSE(comment->GetFontStyleStored());
    EXPECT_FALSE(comment->GetForegroundColorStored());
    comment->SetForeground(clGreen);
    comment->SetStyle({});
    EXPECT_TRUE(comment->GetForegroundColorStored());
    EXPECT_TRUE(comment->GetFontStyleStored());
    EXPECT_FALSE(comment->GetBackgroundColorStored());
}

TEST(HighlighterChanges, ReachEveryHookedEditorOnceWithTheAttribute) {
    TSynJScriptSyn highlighter(nullptr);
    Editor first, second;
    highlighter.HookAttrChangeEvent(first.handler());
    highlighter.HookAttrChangeEvent(second.handler());
    TSynHighlighterAttributes* key = highlighter.KeyAttri();

    key->SetForeground(key->Foreground());
    EXPECT_TRUE(first.senders.empty());

    key->SetForeground(clNavy);
    EXPECT_EQ(first.senders, std::vector<TObject*>{key});
    EXPECT_EQ(second.senders, std::vector<TObject*>{key});

    highlighter.UnhookAttrChangeEvent(first.handler());
    key->SetBackground(clSilver);
    EXPECT_EQ(first.senders.size(), 1u);
    EXPECT_EQ(second.senders.size(), 2u);
}

TEST(HighlighterChanges, AnUpdateFoldsChangesIntoOneAnnouncement) {
    TSynHTMLSyn highlighter(nullptr);
    Editor editor;
    highlighter.HookAttrChangeEvent(editor.handler());

    highlighter.BeginUpdate();
    highlighter.BeginUpdate();
    highlighter.TextAttri()->SetForeground(clRed);
    highlighter.ValueAttri()->SetForeground(clBlue);
    highlighter.KeyAttri()->SetStyle({});
    highlighter.EndUpdate();
    EXPECT_TRUE(editor.senders.empty());
    highlighter.EndUpdate();
    EXPECT_EQ(editor.senders, std::vector<TObject*>{nullptr});

    highlighter.BeginUpdate();
    highlighter.EndUpdate();
    highlighter.EndUpdate();
    EXPECT_EQ(editor.senders.size(), 1u);
}

TEST(HighlighterChanges, EnablingAndLoadingAnnounceWithoutSender) {
    TSynJScriptSyn highlighter(nullptr);
    Editor editor;
    highlighter.HookAttrChangeEvent(editor.handler());
    highlighter.SetEnabled(true);
    EXPECT_TRUE(editor.senders.empty());
    highlighter.SetEnabled(false);
    EXPECT_FALSE(highlighter.Enabled());
    highlighter.Loaded();
    EXPECT_EQ(editor.senders, (std::vector<TObject*>{nullptr, nullptr}));
}

TEST(HighlighterAttributeList, IsSortedByNameWhateverTheCreationOrder) {
    EXPECT_EQ(attributeNames(NamedAttributesHighlighter({"Comment", "Identifier", "Reserved Word"})),
              (std::vector<AnsiString>{"Comment", "Identifier", "Reserved Word"}));
    EXPECT_EQ(attributeNames(NamedAttributesHighlighter({"Symbol", "Comment", "identifier"})),
              (std::vector<AnsiString>{"Comment", "identifier", "Symbol"}));

    NamedAttributesHighlighter highlighter({"Comment"});
    EXPECT_EQ(highlighter.GetAttribute(-1), nullptr);
    EXPECT_EQ(highlighter.GetAttribute(highlighter.GetAttribCount()), nullptr);
    try {
        highlighter.Add("COMMENT");
        FAIL() << "a second attribute of the same name was accepted";
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message, "String list does not allow duplicates");
    }
    EXPECT_EQ(highlighter.GetAttribCount(), 1);
}

TEST(HighlighterBase, DefaultsAndAbstractOperations) {
    TSynCustomHighlighter highlighter(nullptr);
    EXPECT_EQ(TSynCustomHighlighter::GetLanguageName(), "<Unknown>");
    EXPECT_EQ(highlighter.GetCapabilitiesProp(), TSynHighlighterCapabilities{hcRegistry});
    EXPECT_TRUE(highlighter.Enabled());
    EXPECT_EQ(highlighter.GetDefaultFilter(), "");
    EXPECT_EQ(highlighter.GetSampleSource(), "");
    EXPECT_EQ(highlighter.GetRange(), 0);
    EXPECT_FALSE(highlighter.IsKeyword("if"));
    EXPECT_EQ(highlighter.WordBreakChars(), TSynIdentChars("!\"'()*+,-./:;=?[\\]^{|}"));
    const TSynIdentChars identChars = highlighter.IdentChars();
    EXPECT_FALSE(identChars.Contains(' '));
    EXPECT_TRUE(identChars.Contains('!'));
    EXPECT_TRUE(identChars.Contains('\xFF'));

    try {
        highlighter.SetLine("x", 0);
        FAIL() << "SetLine of the base class did not raise";
    } catch (const EAbstractError& e) {
        EXPECT_EQ(e.Message, "Abstract Error");
    }
    EXPECT_THROW(highlighter.GetEol(), EAbstractError);
    EXPECT_THROW(highlighter.GetDefaultAttribute(0), EAbstractError);
}

TEST(HighlighterBase, NextToEolStopsAtTheLineEnd) {
    TSynJScriptSyn highlighter(nullptr);
    highlighter.SetLine("var x = 1; // done", 0);
    highlighter.NextToEol();
    EXPECT_TRUE(highlighter.GetEol());
    EXPECT_EQ(highlighter.GetTokenPos(), 18);
}

TEST(HighlighterAssign, CopiesNamesakesBreakCharsFilterAndEnabledButNotAForeignSample) {
    TSynJScriptSyn source(nullptr);
    source.CommentAttri()->SetForeground(clMaroon);
    source.KeyAttri()->SetStyle({fsUnderline});
    source.SetDefaultFilter("Scripts|*.js");
    source.SetWordBreakChars(TSynIdentChars(";"));
    source.SetEnabled(false);

    SampleKeepingHighlighter target;
    target.SetSampleSource("mine");
    target.Assign(&source);
    EXPECT_EQ(target.Named("Comment")->Foreground(), clMaroon);
    EXPECT_EQ(target.Named("Comment")->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(target.Named("Reserved Word")->Style(), TFontStyles{fsUnderline});
    EXPECT_EQ(target.WordBreakChars(), TSynIdentChars(";"));
    EXPECT_EQ(target.GetDefaultFilter(), "Scripts|*.js");
    EXPECT_FALSE(target.Enabled());
    EXPECT_EQ(target.GetSampleSource(), "mine");

    SampleKeepingHighlighter sibling;
    sibling.SetSampleSource("theirs");
    target.Assign(&sibling);
    EXPECT_EQ(target.GetSampleSource(), "theirs");

    TStringList notAHighlighter;
    EXPECT_THROW(target.Assign(&notAHighlighter), EConvertError);
}

TEST(HighlighterList, HoldsTheBundledHighlightersOnce) {
    TSynHighlighterList* list = GetPlaceableHighlighters();
    const Integer javaScript = list->FindByName("JavaScript");
    const Integer html = list->FindByName("HTML");
    ASSERT_GE(javaScript, 0);
    ASSERT_GE(html, 0);
    EXPECT_EQ(list->FindByName("javascript"), -1);
    EXPECT_EQ(list->GetItem(javaScript), SynHighlighterClass<TSynJScriptSyn>());

    TSynHTMLSyn htmlHighlighter(nullptr);
    EXPECT_EQ(list->FindByClass(&htmlHighlighter), html);
    NamedAttributesHighlighter other({});
    EXPECT_EQ(list->FindByClass(&other), -1);

    const Integer count = list->Count();
    RegisterPlaceableHighlighter(SynHighlighterClass<TSynHTMLSyn>());
    EXPECT_EQ(list->Count(), count);
    EXPECT_THROW(list->GetItem(count), EListError);
}

TEST(HighlighterStreaming, FormResourcesCarryOnlyChangedValuesAndAnnounceOnceWhenLoaded) {
    TSynJScriptSyn written(nullptr);
    written.SetName("JScript");
    written.CommentAttri()->SetForeground(clGreen);
    written.KeyAttri()->SetStyle({fsBold, fsUnderline});
    written.SetEnabled(false);
    TWriter writer;
    writer.WriteRootComponent(&written);
    const AnsiString text = writer.Text();
    EXPECT_NE(text.find("CommentAttri.Foreground = clGreen"), AnsiString::npos) << text;
    EXPECT_NE(text.find("KeyAttri.Style = [fsBold, fsUnderline]"), AnsiString::npos) << text;
    EXPECT_NE(text.find("Enabled = False"), AnsiString::npos) << text;
    EXPECT_EQ(text.find("CommentAttri.Style"), AnsiString::npos) << text;
    EXPECT_EQ(text.find("DefaultFilter"), AnsiString::npos) << text;

    TSynJScriptSyn read(nullptr);
    Editor editor;
    read.HookAttrChangeEvent(editor.handler());
    TReader(text).ReadRootComponent(&read);
    EXPECT_EQ(read.CommentAttri()->Foreground(), clGreen);
    EXPECT_EQ(read.KeyAttri()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_FALSE(read.Enabled());
    EXPECT_EQ(editor.senders, std::vector<TObject*>{nullptr});
}

// ---- INI storage ---------------------------------------------------------------

class HighlighterIniFile : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("quorvane-highlighter-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        path = (folder / "colours.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void write(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path folder;
    std::string path;
};

TEST_F(HighlighterIniFile, SavedSettingsReadBackIntoAFreshHighlighter) {
    TSynHTMLSyn saved(nullptr);
    saved.KeyAttri()->SetForeground(clPurple);
    saved.TextAttri()->SetBackground(static_cast<TColor>(0x80000005));
    saved.CommentAttri()->SetStyle({fsItalic, fsUnderline});
    ASSERT_TRUE(saved.SaveToFile(path));

    const std::string text = read();
    EXPECT_NE(text.find("[Reserved Word]"), std::string::npos);
    EXPECT_NE(text.find("Foreground=8388736"), std::string::npos);
    // Colours are written as signed decimal numbers.
    EXPECT_NE(text.find("Background=-2147483643"), std::string::npos);
    EXPECT_NE(text.find("Background=536870911"), std::string::npos);

    TSynHTMLSyn loaded(nullptr);
    Editor editor;
    loaded.HookAttrChangeEvent(editor.handler());
    ASSERT_TRUE(loaded.LoadFromFile(path));
    for (Integer i = 0; i < saved.GetAttribCount(); ++i) {
        SCOPED_TRACE(saved.GetAttribute(i)->Name());
        EXPECT_EQ(loaded.GetAttribute(i)->Foreground(), saved.GetAttribute(i)->Foreground());
        EXPECT_EQ(loaded.GetAttribute(i)->Background(), saved.GetAttribute(i)->Background());
        EXPECT_EQ(loaded.GetAttribute(i)->Style(), saved.GetAttribute(i)->Style());
    }
    // One announcement per changed value: the style is set one member at a time.
    EXPECT_EQ(editor.senders.size(), 4u);
}

TEST_F(HighlighterIniFile, ASectionWithOnlyAStyleChangesOnlyTheStyle) {
    write("[comment]\r\nstyle=5\r\n");
    TSynJScriptSyn highlighter(nullptr);
    highlighter.CommentAttri()->SetForeground(clTeal);
    // Every other section is missing, so the load as a whole reports failure.
    EXPECT_FALSE(highlighter.LoadFromFile(path));
    EXPECT_EQ(highlighter.CommentAttri()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(highlighter.CommentAttri()->Foreground(), clTeal);
    EXPECT_EQ(highlighter.CommentAttri()->Background(), clNone);
    EXPECT_EQ(highlighter.KeyAttri()->Style(), TFontStyles{fsBold});
}

TEST_F(HighlighterIniFile, AMissingSectionOrFileChangesNothing) {
    write("[Other]\r\nStyle=1\r\n");
    TSynHighlighterAttributes attribute("Comment");
    attribute.SetForeground(clLime);
    TIniFile ini(path);
    EXPECT_FALSE(attribute.LoadFromFile(&ini));
    EXPECT_EQ(attribute.Foreground(), clLime);
    EXPECT_TRUE(attribute.Style().Empty());

    TSynJScriptSyn highlighter(nullptr);
    EXPECT_FALSE(highlighter.LoadFromFile((folder / "missing.ini").string()));
    EXPECT_EQ(highlighter.KeyAttri()->Style(), TFontStyles{fsBold});
}

TEST_F(HighlighterIniFile, SavingKeepsTheFilesOtherSections) {
    write("[Form]\r\nTop=10\r\n");
    TSynJScriptSyn highlighter(nullptr);
    ASSERT_TRUE(highlighter.SaveToFile(path));
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Form", "Top", 0), 10);
    EXPECT_EQ(ini.ReadInteger("Comment", "Style", 0), 2);
}

} // namespace
