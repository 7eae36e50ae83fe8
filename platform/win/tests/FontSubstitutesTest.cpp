#include "platform/win/Profile.h"

#include "TestCanvas.h"
#include "platform/core/tests/TestFolder.h"
#include "platform/win/Fonts.h"
#include "platform/win/TextOut.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr const char* testFace = "Quorvane Dialog";
constexpr BYTE centralEuropeanCharSet = 238;

class FontSubstitutesTest : public ::testing::Test {
protected:
    void SetUp() override { SetProfileFile(folder / "win.ini"); }
    void TearDown() override { SetProfileFile(""); }

    // A sample drawn in a font made now, as a picture of its pixels.
    static std::string drawn(const char* face, BYTE charSet = ANSI_CHARSET) {
        LOGFONTA logFont{};
        logFont.lfHeight = -13;
        logFont.lfCharSet = charSet;
        std::strcpy(logFont.lfFaceName, face);
        TestCanvas canvas(80, 18);
        Selected font(canvas.DC, CreateFontIndirectA(&logFont));
        TextOutA(canvas.DC, 1, 1, "Wily iW", 7);
        return canvas.Picture({{RGB(255, 255, 255), '.'}}, {0, 0, 80, 18});
    }

    static void substitute(const char* face, const char* by) {
        ASSERT_TRUE(WriteProfileStringA("FontSubstitutes", face, by));
    }

    TestFolder folder;
};

TEST_F(FontSubstitutesTest, AFaceWithASubstituteDrawsAsTheSubstituteAndFollowsItsChanges) {
    const std::string sans = drawn("Arial"), mono = drawn("Courier New"), serif = drawn("Times New Roman");
    ASSERT_NE(mono, sans);
    ASSERT_NE(serif, sans);
    EXPECT_EQ(drawn(testFace), sans);

    substitute(testFace, "Courier New");
    EXPECT_EQ(drawn(testFace), mono);
    substitute(testFace, "Times New Roman");
    EXPECT_EQ(drawn(testFace), serif);
    ASSERT_TRUE(WriteProfileStringA("FontSubstitutes", testFace, nullptr));
    EXPECT_EQ(drawn(testFace), sans);

    // A known face is renamed too.
    substitute("Arial", "Courier New");
    EXPECT_EQ(drawn("Arial"), mono);
}

TEST_F(FontSubstitutesTest, AnEntryForACharacterSetTakesFontsOfThatSetFirst) {
    const std::string sans = drawn("Arial"), mono = drawn("Courier New"), serif = drawn("Times New Roman");
    substitute((std::string(testFace) + ",238").c_str(), "Courier New,238");
    EXPECT_EQ(drawn(testFace, centralEuropeanCharSet), mono);
    EXPECT_EQ(drawn(testFace), sans);
    substitute(testFace, "Times New Roman");
    EXPECT_EQ(drawn(testFace, centralEuropeanCharSet), mono);
    EXPECT_EQ(drawn(testFace), serif);
}

} // namespace
