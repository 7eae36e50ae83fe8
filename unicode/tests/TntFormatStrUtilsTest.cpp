#include "unicode/TntFormatStrUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(CanonicalFormat, GivesEverySpecifierItsIndex) {
    struct Case {
        WideString format, expected;
    };
    const Case cases[] = {
        {u"%s and %d", u"%0:s and %1:d"},
        {u"%1:s %0:s", u"%1:s %0:s"},
        {u"100%%", u"100%%"},
        {u"only %s", u"only %s"},
        {u"%-10s|%5.2f|%x", u"%0:-10s|%1:5.2f|%2:x"},
        {u"%1:s %s", u"%1:s %2:s"},
        {u"% d %s %d", u"% d %0:s %1:d"},
        {u"%*d %s", u"%0:*d %2:s"},
        {u"\u0416 %s \u0417 %u", u"\u0416 %0:s \u0417 %1:u"},
        {u"trailing %", u"trailing %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetCanonicalFormatStr(c.format), c.expected);
}

TEST(CanonicalFormat, RejectsMalformedSpecifiers) {
    for (const WideString format : {u"%q", u"%s %1234567d", u"%5", u"%.x"}) {
        EXPECT_THROW(GetCanonicalFormatStr(format), EFormatSpecError);
    }
    try {
        GetCanonicalFormatStr(u"a %s b %q c");
        ADD_FAILURE();
    } catch (const EFormatSpecError& error) {
        EXPECT_EQ(error.Message, "Invalid Format Specifier: a %0:s b %1:q c");
    }
}

TEST(CompareFormat, AcceptsTheSameArgumentsInAnotherOrder) {
    EXPECT_NO_THROW(CompareFormatStrings(u"%s=%d", u"%1:d is %0:s"));
    EXPECT_NO_THROW(CompareFormatStrings(u"%d%%", u"%u percent"));
    EXPECT_NO_THROW(CompareFormatStrings(u"%f", u"%1.3g"));
}

TEST(CompareFormat, RejectsOtherKindsOrCounts) {
    try {
        CompareFormatStrings(u"%s", u"%d");
        ADD_FAILURE();
    } catch (const EFormatSpecError& error) {
        EXPECT_EQ(error.Message, "Argument types for index 0 do not match. (%s <> %d)");
    }
    try {
        CompareFormatStrings(u"%s %s", u"%s");
        ADD_FAILURE();
    } catch (const EFormatSpecError& error) {
        EXPECT_EQ(error.Message, "Number of format specifiers do not match.");
    }
    try {
        CompareFormatStrings(u"%0:s %0:d", u"%s");
        ADD_FAILURE();
    } catch (const EFormatSpecError& error) {
        EXPECT_EQ(error.Message, "Argument types for index 0 do not match. (%0:s <> %0:d)");
    }
}

TEST(WideFormat, KeepsWideStringsAndFormatsTheRest) {
    EXPECT_EQ(Tnt_WideFormat(u"%s: %d, %.2f%%", {WideString(u"\u0416\u0418"), 42, 3.14159}),
              u"\u0416\u0418: 42, 3.14%");
    EXPECT_EQ(Tnt_WideFormat(u"%.1f then %s", {2.25, WideString(u"\u65E5")}), u"2.3 then \u65E5");
    EXPECT_EQ(
        Tnt_WideFormat(u"[%-4s][%4s][%.1s]", {WideString(u"\u0416"), AnsiString("ab"), WideString(u"xyz")}),
        u"[\u0416   ][  ab][x]");
    EXPECT_EQ(Tnt_WideFormat(u"%1:s %0:s", {WideString(u"a"), WideString(u"b")}), u"b a");
    EXPECT_THROW(Tnt_WideFormat(u"%s %s", {WideString(u"only one")}), EConvertError);
    EXPECT_THROW(Tnt_WideFormat(u"%s", {42}), EConvertError);
}

TEST(WideFormat, GrowsForLongResults) {
    const WideString longText(5000, u'\u0416');
    WideString result;
    Tnt_WideFmtStr(result, u"<%s>", {longText});
    EXPECT_EQ(result, u"<" + longText + u">");
    WideChar buffer[4];
    const WideString format = u"%s";
    EXPECT_EQ(Tnt_WideFormatBuf(buffer, 3, format.data(), 2, {WideString(u"abcdef")}), 3u);
    EXPECT_EQ(WideString(buffer, 3), u"abc");
}

TEST(WideFormat, FloatingArgumentsAreFormattedInPlace) {
    EXPECT_EQ(ReplaceFloatingArgumentsInFormatString(u"%f %s %g", {1.5, WideString(u"x"), 0.25}),
              u"1.50 %1:s 0.25");
}

} // namespace
