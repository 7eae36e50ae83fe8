#include "unicode/TntWideStrUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(WideBuffers, AllocatedBlocksKnowTheirSize) {
    WideChar* block = WStrAlloc(10);
    EXPECT_EQ(WStrBufSize(block), 10u);
    EXPECT_EQ(block[0], 0);
    WStrCopy(block, u"\u0416abc");
    WideChar* copy = WStrNew(block);
    EXPECT_EQ(WStrBufSize(copy), 5u);
    EXPECT_EQ(WStrPas(copy), u"\u0416abc");
    EXPECT_EQ(WStrNew(nullptr), nullptr);
    WStrDispose(copy);
    WStrDispose(block);
    WStrDispose(nullptr);
}

TEST(WideBuffers, CopyAndAppendWithinTheirLimits) {
    WideChar buffer[16] = {};
    EXPECT_EQ(WStrLen(WStrLCopy(buffer, u"abcdef", 3)), 3u);
    EXPECT_EQ(WStrPas(buffer), u"abc");
    EXPECT_EQ(WStrECopy(buffer, u"xy"), buffer + 2);
    WStrCat(buffer, u"z");
    EXPECT_EQ(WStrPas(buffer), u"xyz");
    WStrLCat(buffer, u"12345", 5);
    EXPECT_EQ(WStrPas(buffer), u"xyz12");
    WStrPCopy(buffer, "caf\xE9");
    EXPECT_EQ(WStrPas(buffer), u"caf\u00E9");
    WStrPLCopy(buffer, "abcdef", 2);
    EXPECT_EQ(WStrPas(buffer), u"ab");
    WStrMove(buffer + 1, buffer, 3);
    EXPECT_EQ(WStrPas(buffer), u"aab");
    EXPECT_EQ(WStrEnd(buffer), buffer + 3);
}

TEST(WideBuffers, AppendingToATextAlreadyPastTheLimitAddsNothing) {
    WideChar buffer[16] = {};
    WStrCopy(buffer, u"abcdef");
    buffer[10] = u'!';
    WStrLCat(buffer, u"xyz", 4);
    EXPECT_EQ(WStrPas(buffer), u"abcdef");
    EXPECT_EQ(buffer[10], u'!');
}

TEST(WideBuffers, CompareInTheLocalesOrder) {
    EXPECT_LT(WStrComp(u"a", u"b"), 0);
    EXPECT_LT(WStrComp(u"a", u"A"), 0);
    EXPECT_EQ(WStrIComp(u"\u0416x", u"\u0436X"), 0);
    EXPECT_EQ(WStrLComp(u"abcX", u"abcY", 3), 0);
    EXPECT_NE(WStrLComp(u"abcX", u"abcY", 4), 0);
    EXPECT_EQ(WStrLIComp(u"ABcX", u"abcY", 3), 0);
    EXPECT_EQ(StrCompW(u"same", u"same"), 0);
}

TEST(WideBuffers, SearchAndMapCase) {
    const WideChar* text = u"abcabc";
    EXPECT_EQ(WStrPos(text, u"ca"), text + 2);
    EXPECT_EQ(WStrPos(text, u"x"), nullptr);
    EXPECT_EQ(WStrPos(text, u""), nullptr);
    EXPECT_EQ(WStrPos(nullptr, u"a"), nullptr);
    EXPECT_EQ(WideStrScan(text, u'c'), text + 2);
    EXPECT_EQ(WideStrScan(text, u'z'), nullptr);
    EXPECT_EQ(WStrRScan(text, u'c'), text + 5);
    EXPECT_EQ(WStrRScan(text, 0), text + 6);
    EXPECT_EQ(WStrRScan(text, u'z'), nullptr);
    WideChar word[] = u"Caf\u00E9 \u0416";
    EXPECT_EQ(WStrPas(WStrUpper(word)), u"CAF\u00C9 \u0416");
    EXPECT_EQ(WStrPas(WStrLower(word)), u"caf\u00E9 \u0436");
}

} // namespace
