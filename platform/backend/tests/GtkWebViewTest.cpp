// What the web view is given to load, as the URI it hands the web engine.
#include "platform/backend/gtk/GtkWebView.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(WebViewUri, WebAddressesStayAndFileNamesBecomeFileUris) {
    EXPECT_EQ(UriOfTarget(u"https://example.org/a?b=c"), "https://example.org/a?b=c");
    EXPECT_EQ(UriOfTarget(u"about:blank"), "about:blank");
    EXPECT_EQ(UriOfTarget(u"/help pages/index.htm#Top"), "file:///help%20pages/index.htm#Top");
    EXPECT_EQ(UriOfTarget(u"\\help\\..\\Help\\page.htm"), "file:///Help/page.htm");
    std::string relative = "file://" + (std::filesystem::current_path() / "Help/page.htm").string();
    EXPECT_EQ(UriOfTarget(u"Help\\page.htm"), relative);
}

} // namespace
