#include "unicode/TntClipBrd.h"

#include "platform/core/CodePages.h"

#include <gtest/gtest.h>

namespace {

TEST(TntClipboard, WideTextReadsBackExactlyBesideItsAnsiForm) {
    TTntClipboard* clipboard = TntClipboard();
    EXPECT_EQ(clipboard, TntClipboard());
    const WideString text = u"\u0416\u0418\u0412 caf\u00E9 \U0001F600";
    clipboard->SetAsWideText(text);
    EXPECT_EQ(clipboard->AsWideText(), text);
    EXPECT_EQ(clipboard->AsText(), WideToAnsi(text));
    EXPECT_EQ(clipboard->AsText().substr(0, 8), "??? caf\xE9");
    EXPECT_TRUE(clipboard->HasFormat(CF_TEXT));
    EXPECT_TRUE(clipboard->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(clipboard->Formats(0), CF_TEXT);
    EXPECT_EQ(clipboard->Formats(1), CF_UNICODETEXT);
}

TEST(TntClipboard, AnsiTextReadsBackWidened) {
    TTntClipboard* clipboard = TntClipboard();
    clipboard->SetAsText("na\xEFve \x80");
    EXPECT_EQ(clipboard->GetAsWideText(), u"na\u00EFve \u20AC");
    clipboard->Clear();
    EXPECT_EQ(clipboard->GetAsWideText(), u"");
}

TEST(TntClipboard, PlacesItsTextAsOneChangeOfTheClipboard) {
    TTntClipboard* clipboard = TntClipboard();
    clipboard->SetAsWideText(u"first");
    clipboard->Open();
    clipboard->SetAsWideText(u"\u0416");
    EXPECT_EQ(clipboard->GetAsWideText(), u"\u0416");
    clipboard->Close();
    EXPECT_EQ(clipboard->AsText(), "?");
}

} // namespace
