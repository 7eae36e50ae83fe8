#include "highlighters/SynEditHighlighter.h"

#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "highlighters/SynHighlighterMulti.h"

#include "platform/vcl/Idents.h"
#include "platform/vcl/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

constexpr const char* SettingsKey = "Software\\Marrowind\\Quorvane\\Highlighters";

// Stands for an editor hooked to a highlighter.
struct Editor : TObject {
    void AttrChanged(TObject* sender) { senders.push_back(sender); }
    TNotifyEvent handler() { return TNotifyEvent(this, &Editor::AttrChanged); }
    std::vector<TObject*> senders;
};

// Each test keeps its registry in a file of its own.
class HighlighterRegistry : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("quorvane-highlighter-registry-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        path = (folder / "registry").string();
        SetRegistryFile(path);
    }
    void TearDown() override {
        SetRegistryFile("");
        std::filesystem::remove_all(folder);
    }
    // Replaces the registry with the keys and values of Lines.
    void writeRegistry(const std::string& lines) {
        std::ofstream(path, std::ios::binary) << "Quorvane registry 1\n" << lines;
        reloadFromFile();
    }
    // Forgets what was read, so that what follows sees only what reached the file.
    void reloadFromFile() { SetRegistryFile(path); }
    Integer integerValue(const AnsiString& key, const AnsiString& name) {
        TRegistry registry;
        if (!registry.OpenKeyReadOnly(key)) return -1;
        EXPECT_EQ(registry.GetDataType(name), rdInteger) << key << " " << name;
        return registry.ReadInteger(name);
    }
    bool keyExists(const AnsiString& key) { return TRegistry().KeyExists(key); }

    std::filesystem::path folder;
    std::string path;
};

void expectSameAttributes(const TSynCustomHighlighter& loaded, const TSynCustomHighlighter& saved) {
    ASSERT_EQ(loaded.GetAttribCount(), saved.GetAttribCount());
    for (Integer i = 0; i < saved.GetAttribCount(); ++i) {
        SCOPED_TRACE(saved.GetAttribute(i)->Name());
        EXPECT_EQ(loaded.GetAttribute(i)->Foreground(), saved.GetAttribute(i)->Foreground());
        EXPECT_EQ(loaded.GetAttribute(i)->Background(), saved.GetAttribute(i)->Background());
        EXPECT_EQ(loaded.GetAttribute(i)->Style(), saved.GetAttribute(i)->Style());
    }
}

// ---- Attributes and highlighters -------------------------------------------

TEST_F(HighlighterRegistry, SavedSettingsReadBackIntoAFreshHighlighter) {
    TSynHTMLSyn saved(nullptr);
    saved.KeyAttri()->SetForeground(clPurple);
    saved.TextAttri()->SetBackground(clWindow);
    saved.CommentAttri()->SetStyle({fsItalic, fsUnderline});
    ASSERT_TRUE(saved.SaveToRegistry(HKEY_CURRENT_USER, SettingsKey));
    reloadFromFile();

    const AnsiString key = SettingsKey;
    EXPECT_EQ(integerValue(key + "\\Reserved Word", "Foreground"), clPurple);
    EXPECT_EQ(integerValue(key + "\\Reserved Word", "Style"), 1);
    EXPECT_EQ(integerValue(key + "\\Text", "Background"), clWindow);
    EXPECT_EQ(integerValue(key + "\\Comment", "Background"), clNone);
    EXPECT_EQ(integerValue(key + "\\Comment", "Style"), 6);

    TSynHTMLSyn loaded(nullptr);
    Editor editor;
    loaded.HookAttrChangeEvent(editor.handler());
    ASSERT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, SettingsKey));
    expectSameAttributes(loaded, saved);
    // One announcement per changed value: the style is set one member at a time.
    EXPECT_EQ(editor.senders.size(), 4u);
}

TEST_F(HighlighterRegistry, AnAttributeTakesOnlyTheValuesThereAndLeavesTheKeyAsItFoundIt) {
    writeRegistry("[Software\\Colours\\Comment]\n\"style\" = dword:10\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Colours", false));

    TSynHighlighterAttributes comment("Comment");
    comment.SetForeground(clTeal);
    EXPECT_TRUE(comment.LoadFromRegistry(&registry));
    EXPECT_EQ(comment.Style(), (TFontStyles{fsItalic, fsStrikeOut}));
    EXPECT_EQ(comment.Foreground(), clTeal);
    EXPECT_EQ(comment.Background(), clNone);
    EXPECT_EQ(registry.CurrentPath(), "Software\\Colours");

    TSynHighlighterAttributes symbol("Symbol");
    symbol.SetStyle({fsBold});
    EXPECT_FALSE(symbol.LoadFromRegistry(&registry));
    EXPECT_EQ(symbol.Style(), TFontStyles{fsBold});
    EXPECT_EQ(registry.CurrentPath(), "Software\\Colours");

    TRegistry writer;
    ASSERT_TRUE(writer.OpenKey("Software\\Colours", false));
    EXPECT_TRUE(symbol.SaveToRegistry(&writer));
    EXPECT_EQ(writer.CurrentPath(), "Software\\Colours");
    EXPECT_EQ(integerValue("Software\\Colours\\Symbol", "Style"), 1);
}

TEST_F(HighlighterRegistry, AMissingKeyLeavesTheDefaults) {
    writeRegistry("[Software\\Colours\\Comment]\n\"Foreground\" = dword:255\n");
    TSynJScriptSyn highlighter(nullptr);
    EXPECT_FALSE(highlighter.LoadFromRegistry(HKEY_CURRENT_USER, "Software\\Nowhere"));
    EXPECT_EQ(highlighter.CommentAttri()->Foreground(), clNone);

    // The attributes that have a key are loaded, the others keep their defaults.
    EXPECT_FALSE(highlighter.LoadFromRegistry(HKEY_CURRENT_USER, "Software\\Colours"));
    EXPECT_EQ(highlighter.CommentAttri()->Foreground(), 255);
    EXPECT_EQ(highlighter.CommentAttri()->Style(), TFontStyles{fsItalic});
    EXPECT_EQ(highlighter.KeyAttri()->Style(), TFontStyles{fsBold});
}

TEST_F(HighlighterRegistry, AValueOfTheWrongTypeReachesTheCaller) {
    writeRegistry("[Software\\Colours\\Comment]\n\"Foreground\" = sz:\"red\"\n");
    TSynJScriptSyn highlighter(nullptr);
    try {
        highlighter.LoadFromRegistry(HKEY_CURRENT_USER, "Software\\Colours");
        FAIL() << "no exception";
    } catch (const ERegistryException& error) {
        EXPECT_EQ(error.Message, "Invalid data type for 'Foreground'");
    }
}

TEST_F(HighlighterRegistry, SavingWhereNoKeyCanBeCreatedFails) {
    TSynJScriptSyn highlighter(nullptr);
    EXPECT_FALSE(highlighter.SaveToRegistry(HKEY_LOCAL_MACHINE, SettingsKey));
}

// ---- The multi-language highlighter ---------------------------------------------

// A page with an embedded script, as the settings of a multi-language
// highlighter are stored.
struct Page {
    Page() {
        multi.SetDefaultHighlighter(&html);
        script = static_cast<TScheme*>(multi.Schemes()->Add());
        script->SetSchemeName("Script");
        script->SetHighlighter(&javaScript);
    }
    TSynHTMLSyn html{nullptr};
    TSynJScriptSyn javaScript{nullptr};
    TSynMultiSyn multi{nullptr};
    TScheme* script = nullptr;
};

TEST_F(HighlighterRegistry, AMultiLanguageHighlighterStoresEveryHighlighterAndMarker) {
    Page saved;
    saved.html.KeyAttri()->SetForeground(clRed);
    saved.javaScript.StringAttri()->SetBackground(clSilver);
    saved.script->MarkerAttri()->SetForeground(clBlue);
    ASSERT_TRUE(saved.multi.SaveToRegistry(HKEY_CURRENT_USER, SettingsKey));
    reloadFromFile();

    const AnsiString key = SettingsKey;
    EXPECT_EQ(integerValue(key + "\\DefaultHighlighter\\Reserved Word", "Foreground"), clRed);
    EXPECT_EQ(integerValue(key + "\\Script\\String", "Background"), clSilver);
    EXPECT_EQ(integerValue(key + "\\Script\\Marker", "Foreground"), clBlue);
    EXPECT_EQ(integerValue(key + "\\Script\\Marker", "Style"), 1);

    Page loaded;
    ASSERT_TRUE(loaded.multi.LoadFromRegistry(HKEY_CURRENT_USER, SettingsKey));
    expectSameAttributes(loaded.multi, saved.multi);
    EXPECT_EQ(loaded.script->MarkerAttri()->Foreground(), clBlue);
}

TEST_F(HighlighterRegistry, AMultiLanguageHighlighterReportsWhatItCouldNotStore) {
    struct Case {
        const char* name;
        void (*spoil)(Page&);
        bool markerStored;
    };
    const Case cases[] = {
        {"no default highlighter", [](Page& page) { page.multi.SetDefaultHighlighter(nullptr); }, true},
        {"scheme without highlighter", [](Page& page) { page.script->SetHighlighter(nullptr); }, true},
        {"scheme without name", [](Page& page) { page.script->SetSchemeName(""); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRegistry().DeleteKey(SettingsKey);
        Page page;
        c.spoil(page);
        EXPECT_FALSE(page.multi.SaveToRegistry(HKEY_CURRENT_USER, SettingsKey));
        EXPECT_EQ(keyExists(AnsiString(SettingsKey) + "\\Script\\Marker"), c.markerStored);
        EXPECT_FALSE(page.multi.LoadFromRegistry(HKEY_CURRENT_USER, SettingsKey));
    }

    // A scheme whose key is missing loads nothing and fails the load.
    Page page;
    ASSERT_TRUE(page.multi.SaveToRegistry(HKEY_CURRENT_USER, SettingsKey));
    auto* extra = static_cast<TScheme*>(page.multi.Schemes()->Add());
    extra->SetSchemeName("Style");
    extra->SetHighlighter(&page.javaScript);
    extra->MarkerAttri()->SetForeground(clGreen);
    EXPECT_FALSE(page.multi.LoadFromRegistry(HKEY_CURRENT_USER, SettingsKey));
    EXPECT_EQ(extra->MarkerAttri()->Foreground(), clGreen);
}

// ---- Import of an outside development environment's colours --------------------

// Its settings as it keeps them: one comma-separated string per attribute in
// the old layout, a key per attribute in the new.
constexpr const char* OutsideSettings = R"([Software\Studio\Highlight]
"Comment" = sz:"x,y,BIU,0,0,9,15"
"Defaults" = sz:"x,y,bius,1,1"
"Garbled" = sz:"0,0,B,0,0,nine,0"
"Short" = sz:"0,0,B,0"
"Outside" = sz:"0,0,B,0,0,16,0"
"Number" = dword:3
[Software\Studio\Editor\Highlight\Comment]
"Foreground Color" = dword:12
"Foreground Color New" = sz:"clRed"
"Background Color New" = sz:"clYellow"
"Bold" = sz:"True"
"Italic" = sz:"false"
"Underline" = sz:"1"
"Default Foreground" = sz:"FALSE"
"Default Background" = sz:"0"
[Software\Studio\Editor\Highlight\Text]
"Foreground Color New" = sz:"$00123456"
"Background Color New" = sz:"255"
"Bold" = sz:"0"
"Italic" = sz:"False"
"Underline" = sz:"0"
"Default Foreground" = sz:"0"
"Default Background" = sz:"false"
[Software\Studio\Editor\Highlight\Defaults]
"Foreground Color" = dword:1
"Background Color" = dword:0
"Bold" = sz:"0"
"Italic" = sz:"yes"
"Underline" = sz:"False"
"Default Foreground" = sz:"True"
"Default Background" = sz:"-1"
[Software\Studio\Editor\Highlight\No Underline]
"Foreground Color" = dword:1
"Background Color" = dword:0
"Bold" = sz:"0"
"Italic" = sz:"0"
"Default Foreground" = sz:"0"
"Default Background" = sz:"0"
[Software\Studio\Editor\Highlight\No Foreground]
"Background Color" = dword:0
"Bold" = sz:"0"
"Italic" = sz:"0"
"Underline" = sz:"0"
"Default Foreground" = sz:"0"
"Default Background" = sz:"0"
[Software\Studio\Editor\Highlight\Text Index]
"Foreground Color" = sz:"1"
"Background Color" = dword:0
"Bold" = sz:"0"
"Italic" = sz:"0"
"Underline" = sz:"0"
"Default Foreground" = sz:"0"
"Default Background" = sz:"0"
[Software\Studio\Editor\Highlight\Outside]
"Foreground Color" = dword:16
"Background Color" = dword:0
"Bold" = sz:"0"
"Italic" = sz:"0"
"Underline" = sz:"0"
"Default Foreground" = sz:"0"
"Default Background" = sz:"0"
)";

TEST_F(HighlighterRegistry, ImportsAnOutsideEnvironmentsColours) {
    writeRegistry(OutsideSettings);
    const char* const oldKey = "Software\\Studio\\Highlight";
    const char* const newKey = "Software\\Studio\\Editor\\Highlight";
    struct Case {
        const char* key;
        const char* name;
        bool oldStyle;
        bool imported;
        TColor foreground;
        TColor background;
        TFontStyles style;
    };
    // What the attribute holds before an import; a failed one keeps it.
    const TColor foreground = clLime;
    const TColor background = clNavy;
    const TFontStyles style{fsStrikeOut};
    const Case cases[] = {
        {oldKey, "Comment", true, true, 0x0000FF, 0xFFFFFF, {fsBold, fsItalic, fsUnderline}},
        // Default colours need no palette index; the letters count in upper case only.
        {oldKey, "Defaults", true, true, clWindowText, clWindow, {}},
        {oldKey, "Garbled", true, false, foreground, background, style},
        {oldKey, "Short", true, false, foreground, background, style},
        {oldKey, "Outside", true, false, foreground, background, style},
        {oldKey, "Number", true, false, foreground, background, style},
        {oldKey, "Missing", true, false, foreground, background, style},
        {"Software\\Nowhere", "Comment", true, false, foreground, background, style},
        // The palette index goes before the colour text.
        {newKey, "Comment", false, true, 0xFF0000, clYellow, {fsBold, fsUnderline}},
        {newKey, "Text", false, true, 0x123456, 255, {}},
        {newKey, "Defaults", false, true, clWindowText, clWindow, {fsItalic}},
        {newKey, "No Underline", false, false, foreground, background, style},
        {newKey, "No Foreground", false, false, foreground, background, style},
        {newKey, "Text Index", false, false, foreground, background, style},
        {newKey, "Outside", false, false, foreground, background, style},
        {newKey, "Missing", false, false, foreground, background, style},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.oldStyle ? " (old layout)" : " (new layout)"));
        TSynHighlighterAttributes attribute("Comment");
        attribute.SetForeground(foreground);
        attribute.SetBackground(background);
        attribute.SetStyle(style);
        EXPECT_EQ(attribute.LoadFromBorlandRegistry(HKEY_CURRENT_USER, c.key, c.name, c.oldStyle),
                  c.imported);
        EXPECT_EQ(attribute.Foreground(), c.foreground);
        EXPECT_EQ(attribute.Background(), c.background);
        EXPECT_EQ(attribute.Style(), c.style);
    }
}

} // namespace
