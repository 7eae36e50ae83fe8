#include "app/PageComposition.h"

#include <gtest/gtest.h>

namespace {

TEST(PageCompositionTest, ThePartsGoInWholeBetweenTheFixedItems) {
    const auto items =
        ComposePage("<script>\r\nvar a;\r\n</script>", "onload=\"go()\"", "<p>x</p>\r\n<p>y</p>");
    EXPECT_EQ(PageText(items), "<html>\r\n<head>\r\n<script>\r\nvar a;\r\n</script>\r\n</head>\r\n"
                               "<body onload=\"go()\">\r\n<p>x</p>\r\n<p>y</p>\r\n</body>\r\n</html>");
}

TEST(PageCompositionTest, WithEveryPartEmptyTheBodyTagStillHasItsBlank) {
    EXPECT_EQ(PageText(ComposePage("", "", "")),
              "<html>\r\n<head>\r\n\r\n</head>\r\n<body >\r\n\r\n</body>\r\n</html>");
}

TEST(PageCompositionTest, TheErrorTextBecomesARedHeadingWithItsMarkupEscaped) {
    EXPECT_EQ(ErrorPageBody("OK"), "<h1 align=\"center\"><font color=\"#FF0000\"><br><br>OK!!!</font></h1>");
    EXPECT_EQ(ErrorPageBody("near \"<\": a & b > c"),
              "<h1 align=\"center\"><font color=\"#FF0000\"><br><br>near \"&lt;\": a &amp; b &gt; "
              "c!!!</font></h1>");
}

} // namespace
