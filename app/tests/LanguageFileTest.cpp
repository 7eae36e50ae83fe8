#include "ScratchFolder.h"

#include "app/LanguageFile.h"
#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "unicode/TntClasses.h"

#include <map>
#include <set>

namespace {

std::vector<TLanguageEntry> entriesOf(const std::string& FileName) {
    TTntStringList lines;
    lines.LoadFromFile(AnsiToWide(FileName));
    std::vector<TLanguageEntry> entries;
    for (Integer i = 0; i < lines.Count(); ++i)
        entries.push_back(SplitLanguageLine(lines.Get(i)));
    return entries;
}

std::string utf16(const WideString& Text, bool BigEndian) {
    std::string bytes;
    for (char16_t c : Text) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        bytes += BigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

class LanguageFileTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    void TearDown() override { ResetLanguageTexts(); }
};

TEST_F(LanguageFileTest, ALineSplitsAtItsFirstEquals) {
    const struct {
        const char16_t* line;
        const char* key;
        const char16_t* value;
    } cases[] = {
        {u"lApplyWiz=Go", "lApplyWiz", u"Go"},
        {u"lApplyWiz =Go", "lApplyWiz ", u"Go"},
        {u"mFile=a=b = c", "mFile", u"a=b = c"},
        {u"mFile= spaced ", "mFile", u" spaced "},
        {u"mFile=", "mFile", u""},
        {u"no equals here", "", u""},
        {u"", "", u""},
        {u"=value without key", "", u"value without key"},
        {u"mHelp=Hilfe \u00fc\u4e2d", "mHelp", u"Hilfe \u00fc\u4e2d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(WideToAnsi(c.line));
        const TLanguageEntry entry = SplitLanguageLine(c.line);
        EXPECT_EQ(entry.Key, c.key);
        EXPECT_EQ(entry.Value, c.value);
    }
}

TEST_F(LanguageFileTest, EveryEncodingGivesTheSameEntries) {
    const WideString text = u"hHelp=H\u00e4lp \u20ac\r\nmFile=Datei\r\n";
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"8-bit without a mark", WideToAnsi(text)},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + UTF8Encode(text)},
        {"UTF-16 LE with its mark", "\xFF\xFE" + utf16(text, false)},
        {"UTF-16 BE with its mark", "\xFE\xFF" + utf16(text, true)},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        const std::string file = scratch / "x.lng";
        WriteFile(file, f.bytes);
        const std::vector<TLanguageEntry> entries = entriesOf(file);
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0].Key, "hHelp");
        EXPECT_EQ(entries[0].Value, u"H\u00e4lp \u20ac");
        EXPECT_EQ(entries[1].Key, "mFile");
    }
}

TEST_F(LanguageFileTest, HintsAndMessagesTakeTheirKeysInFileOrder) {
    EXPECT_EQ(HintTexts[9], u"Help");
    EXPECT_EQ(MessExportCap, u"Export");
    EXPECT_TRUE(ApplyLanguageText({"hHelp", u"first"}));
    EXPECT_TRUE(ApplyLanguageText({"hHelp", u"second"}));
    EXPECT_TRUE(ApplyLanguageText({"hZoom", u"Lupe"}));
    EXPECT_TRUE(ApplyLanguageText({"MessExport2", u"auch nach: "}));
    EXPECT_FALSE(ApplyLanguageText({"hhelp", u"case matters"}));
    EXPECT_FALSE(ApplyLanguageText({"hHelp ", u"a blank ends the key"}));
    EXPECT_FALSE(ApplyLanguageText({"mFile", u"a window's text"}));
    EXPECT_FALSE(ApplyLanguageText({"", u"no key"}));
    EXPECT_EQ(HintTexts[9], u"second");
    EXPECT_EQ(HintTexts[22], u"Lupe");
    EXPECT_EQ(MessExport2, u"auch nach: ");
    EXPECT_EQ(HintTexts[0], u"");
    for (Integer tag = 23; tag < HintCount; ++tag)
        EXPECT_EQ(HintTexts[tag], u"") << tag;
}

// The English file is what switching back restores: it names every text,
// and its hints and messages are the ones in force before any file is read.
TEST_F(LanguageFileTest, TheShippedFilesNameEveryKeyAndEnglishMatchesTheStartValues) {
    const std::string folder = ProgramFolder() + "/Lang/";
    const std::string english = ReadFile(folder + "English.lng");
    ASSERT_FALSE(english.empty());
    EXPECT_NE(english.substr(0, 2), "\xFF\xFE");
    EXPECT_NE(english.substr(0, 3), "\xEF\xBB\xBF");
    const std::array<WideString, HintCount> startHints = HintTexts;
    const std::vector<WideString> startMessages = {MessCopyTxtCap, MessCopyTxt1, MessCopyTxt2,
                                                   MessExportCap,  MessExport1,  MessExport2};
    std::set<AnsiString> englishKeys;
    for (const TLanguageEntry& entry : entriesOf(folder + "English.lng")) {
        englishKeys.insert(entry.Key);
        ApplyLanguageText(entry);
    }
    EXPECT_EQ(englishKeys.size(), 72u);
    EXPECT_EQ(HintTexts, startHints);
    EXPECT_EQ((std::vector<WideString>{MessCopyTxtCap, MessCopyTxt1, MessCopyTxt2, MessExportCap, MessExport1,
                                       MessExport2}),
              startMessages);

    EXPECT_EQ(ReadFile(folder + "German.lng").substr(0, 3), "\xEF\xBB\xBF");
    std::map<AnsiString, WideString> german;
    for (const TLanguageEntry& entry : entriesOf(folder + "German.lng"))
        german[entry.Key] = entry.Value;
    std::set<AnsiString> germanKeys;
    for (const auto& [key, value] : german)
        germanKeys.insert(key);
    EXPECT_EQ(germanKeys, englishKeys);
    EXPECT_EQ(german["lSaturate"], u"S\u00e4ttigung");
}

} // namespace
