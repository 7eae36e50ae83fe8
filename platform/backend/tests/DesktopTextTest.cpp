#include "platform/backend/gtk/DesktopText.h"

#include <gtest/gtest.h>

TEST(DesktopText, LineEndsChangeOnTheWayOutAndBack) {
    struct Case {
        WideString program;
        WideString desktop;
    };
    const Case cases[] = {
        {u"", u""},
        {u"one\r\ntwo\r\n", u"one\ntwo\n"},
        {u"\r\n\r\n", u"\n\n"},
        {u"no break", u"no break"},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(ToDesktopLineEnds(each.program), each.desktop);
        EXPECT_EQ(FromDesktopLineEnds(each.desktop), each.program);
    }
    // A lone CR leaves as it is; a desktop text's CR LF stays one line end.
    EXPECT_EQ(ToDesktopLineEnds(u"a\rb"), u"a\rb");
    EXPECT_EQ(FromDesktopLineEnds(u"a\r\nb\nc"), u"a\r\nb\r\nc");
}
