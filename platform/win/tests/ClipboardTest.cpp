#include "platform/win/Clipboard.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Gdi.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

class DesktopClipboard : public SystemClipboard {
public:
    std::optional<WideString> GetText() override { return text; }
    void SetText(const WideString& newText) override { text = newText; }
    void Clear() override { text.reset(); }

    std::optional<WideString> text;
};

HWND const Window = reinterpret_cast<HWND>(0x1000);
HWND const OtherWindow = reinterpret_cast<HWND>(0x2000);

template <typename Text> HGLOBAL textBlock(const Text& text) {
    using Unit = typename Text::value_type;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, (text.size() + 1) * sizeof(Unit));
    std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(Unit));
    GlobalUnlock(block);
    return block;
}

template <typename Text> Text clipboardText(UINT format) {
    HANDLE data = GetClipboardData(format);
    const auto* units = static_cast<const typename Text::value_type*>(GlobalLock(data));
    Text text = units ? Text(units) : Text();
    GlobalUnlock(data);
    return text;
}

std::vector<UINT> formatsInOrder() {
    std::vector<UINT> formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        formats.push_back(format);
    return formats;
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { SetSystemClipboard(desktop); }
    void TearDown() override { SetSystemClipboard(nullptr); }

    void place(UINT format, HGLOBAL data) {
        ASSERT_TRUE(OpenClipboard(Window));
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_EQ(SetClipboardData(format, data), data);
        ASSERT_TRUE(CloseClipboard());
    }

    std::shared_ptr<DesktopClipboard> desktop = std::make_shared<DesktopClipboard>();
};

} // namespace

TEST_F(ClipboardTest, AnsiTextIsOfferedAsUnicodeText) {
    place(CF_TEXT, textBlock(std::string("Caf\xE9 \x80")));
    EXPECT_EQ(desktop->text, u"Caf\u00E9 \u20AC");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));

    ASSERT_TRUE(OpenClipboard(Window));
    EXPECT_EQ(formatsInOrder(), (std::vector<UINT>{CF_TEXT, CF_LOCALE, CF_UNICODETEXT}));
    EXPECT_EQ(clipboardText<std::u16string>(CF_UNICODETEXT), u"Caf\u00E9 \u20AC");
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), GetClipboardData(CF_UNICODETEXT));
    DWORD locale = 0;
    std::memcpy(&locale, GlobalLock(GetClipboardData(CF_LOCALE)), sizeof locale);
    EXPECT_EQ(locale, 0x0409u);
    CloseClipboard();
}

TEST_F(ClipboardTest, UnicodeTextIsOfferedAsAnsiText) {
    place(CF_UNICODETEXT, textBlock(std::u16string(u"\u03A9mega \u00E9\u20AC")));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(clipboardText<std::string>(CF_TEXT), "?mega \xE9\x80");
    EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
    CloseClipboard();
    EXPECT_EQ(desktop->text, u"\u03A9mega \u00E9\u20AC");
}

TEST_F(ClipboardTest, PrivateFormatsTravelBesideTheText) {
    const UINT format = RegisterClipboardFormatA("Editor Block");
    EXPECT_GE(format, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormatW(u"EDITOR block"), format);
    EXPECT_NE(RegisterClipboardFormatA("Picture Format"), format);
    EXPECT_EQ(RegisterClipboardFormatA(""), 0u);

    ASSERT_TRUE(OpenClipboard(Window));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, textBlock(std::string("block")));
    SetClipboardData(format, textBlock(std::string("\x02"
                                                   "block")));
    CloseClipboard();

    EXPECT_EQ(CountClipboardFormats(), 4);
    EXPECT_TRUE(IsClipboardFormatAvailable(format));
    EXPECT_EQ(GetClipboardOwner(), Window);
    ASSERT_TRUE(OpenClipboard(Window));
    EXPECT_EQ(formatsInOrder(), (std::vector<UINT>{CF_TEXT, format, CF_LOCALE, CF_UNICODETEXT}));
    EXPECT_EQ(clipboardText<std::string>(format), "\x02"
                                                  "block");
    CloseClipboard();

    // Another program copying text takes the clipboard over.
    desktop->text = u"from elsewhere";
    EXPECT_FALSE(IsClipboardFormatAvailable(format));
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    ASSERT_TRUE(OpenClipboard(Window));
    EXPECT_EQ(clipboardText<std::string>(CF_TEXT), "from elsewhere");
    CloseClipboard();
}

TEST_F(ClipboardTest, OnlyTheOpenerMayChangeIt) {
    HGLOBAL block = textBlock(std::string("x"));
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(EnumClipboardFormats(0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);

    ASSERT_TRUE(OpenClipboard(Window));
    EXPECT_TRUE(OpenClipboard(Window));
    EXPECT_FALSE(OpenClipboard(OtherWindow));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetOpenClipboardWindow(), Window);
    bool otherThreadOpened = true;
    std::thread([&] { otherThreadOpened = OpenClipboard(Window); }).join();
    EXPECT_FALSE(otherThreadOpened);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // The clipboard frees what it owns: replaced data and everything emptied.
    HGLOBAL replacement = textBlock(std::string("y"));
    SetClipboardData(CF_TEXT, block);
    SetClipboardData(CF_TEXT, replacement);
    EXPECT_EQ(GlobalSize(block), 0u);
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, nullptr);
    SetClipboardData(CF_BITMAP, bitmap);
    EXPECT_EQ(GetClipboardData(CF_BITMAP), bitmap);
    EmptyClipboard();
    EXPECT_EQ(GlobalSize(replacement), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_FALSE(desktop->text.has_value());
}

TEST(GlobalMemory, MovableBlocksCountTheirLocks) {
    HGLOBAL block = GlobalAlloc(GHND, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 10u);
    auto* memory = static_cast<BYTE*>(GlobalLock(block));
    ASSERT_NE(memory, nullptr);
    EXPECT_NE(static_cast<void*>(memory), block);
    EXPECT_EQ(std::count(memory, memory + 10, 0), 10);
    EXPECT_EQ(GlobalLock(block), memory);
    EXPECT_TRUE(GlobalUnlock(block));
    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), NO_ERROR);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GlobalFree(block), block);
}

TEST(GlobalMemory, FixedAndEmptyBlocks) {
    HGLOBAL fixed = GlobalAlloc(GPTR, 4);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_FALSE(GlobalUnlock(fixed));
    GlobalFree(fixed);

    // A movable block of no bytes has no memory to lock.
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalLock(empty), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_DISCARDED);
    GlobalFree(empty);
}
