#include "ScratchFolder.h"

#include "app/Settings.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Idents.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    ScratchFolder folder;
    std::string iniName = folder / "Quorvane.ini";

    TQuorvaneSettings read(const std::string& Text) {
        WriteFile(iniName, Text);
        return ReadSettings(TIniFile(iniName));
    }
};

TEST_F(SettingsTest, WithoutAFileEveryKeyHasItsDefault) {
    const TQuorvaneSettings s = ReadSettings(TIniFile(folder / "missing.ini"));
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Left, 100);
    EXPECT_EQ(s.Height, 600);
    EXPECT_EQ(s.Width, 700);
    EXPECT_EQ(s.LangFile, "English.lng");
    EXPECT_EQ(s.LastDBase, "demo.zelk");
    EXPECT_EQ(s.Opera, "Opera");
    EXPECT_EQ(s.FireFox, "FireFox");
    EXPECT_EQ(s.Event, clRed);
    EXPECT_EQ(s.Identifier, clBlue);
    EXPECT_EQ(s.Key, clGreen);
    EXPECT_EQ(s.NonReserved, clBlack);
    EXPECT_EQ(s.Number, clBlack);
    EXPECT_EQ(s.String, clBlack);
    EXPECT_EQ(s.Symbol, clBlack);
    EXPECT_EQ(s.Back, clWindow);
    EXPECT_TRUE(s.ShowExport && s.InfoPanel && s.Wrap && s.Highlight);
}

TEST_F(SettingsTest, IntegersAreDecimalOrHexadecimalAndAnythingElseGivesTheDefault) {
    struct Case {
        const char* text;
        Integer top;
    } cases[] = {{"250", 250},    {"-7", -7}, {"0x1F", 31}, {"0X10", 16},
                 {"twelve", 100}, {"", 100},  {"12px", 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(read(std::string("[Form]\nTop=") + c.text + "\n").Top, c.top);
    }
}

TEST_F(SettingsTest, BooleansAreIntegersTrueWhenNotZero) {
    const TQuorvaneSettings s = read("[Form]\nShowExport=0\nInfoPanel=2\nWrap=0x0\nHighlight=no\n");
    EXPECT_FALSE(s.ShowExport);
    EXPECT_TRUE(s.InfoPanel);
    EXPECT_FALSE(s.Wrap);
    EXPECT_TRUE(s.Highlight);
}

TEST_F(SettingsTest, ColoursAreReadByNameOrByNumber) {
    const TQuorvaneSettings s =
        read("[Color]\nEvent=255\nIdentifier=clRed\nkey=CLNAVY\nBack=-2147483643\nNumber=0x00FF00\n");
    EXPECT_EQ(s.Event, 255);
    EXPECT_EQ(s.Identifier, clRed);
    EXPECT_EQ(s.Key, clNavy);
    EXPECT_EQ(s.Back, clWindow);
    EXPECT_EQ(s.Number, 0x00FF00);
}

TEST_F(SettingsTest, AMalformedValueReadsAsItsKeysDefaultAndTheOthersStillApply) {
    const std::string text = "[Form]\nTop=high\nLeft=20\nWrap=maybe\nInfoPanel=0\n"
                             "[Color]\nSymbol=reddish\nEvent=clNavy\nBack=0x\n";
    const TQuorvaneSettings s = read(text);
    EXPECT_EQ(s.Top, 100);
    EXPECT_EQ(s.Left, 20);
    EXPECT_TRUE(s.Wrap);
    EXPECT_FALSE(s.InfoPanel);
    EXPECT_EQ(s.Symbol, clBlack);
    EXPECT_EQ(s.Event, clNavy);
    EXPECT_EQ(s.Back, clWindow);
    EXPECT_EQ(ReadFile(iniName), text);
}

TEST_F(SettingsTest, ClosingWritesBoundsLanguageAndDatabaseAndKeepsTheOtherLines) {
    WriteFile(iniName, "[Form]\nWrap=0\nTop=1\n[Path]\nOpera=/usr/bin/opera\n");
    TIniFile ini(iniName);
    WriteClosingSettings(ini, Rect(30, 40, 830, 640), "Deutsch.lng", "mine.zelk");
    const TQuorvaneSettings s = ReadSettings(ini);
    EXPECT_EQ(s.Left, 30);
    EXPECT_EQ(s.Top, 40);
    EXPECT_EQ(s.Width, 800);
    EXPECT_EQ(s.Height, 600);
    EXPECT_EQ(s.LangFile, "Deutsch.lng");
    EXPECT_EQ(s.LastDBase, "mine.zelk");
    EXPECT_FALSE(s.Wrap);
    EXPECT_EQ(s.Opera, "/usr/bin/opera");
}

} // namespace
