#include "VisualTestSupport.h"

#include "platform/vcl/Clipbrd.h"
#include "platform/win/GlobalMemory.h"

namespace {

// The clipboard's own memory stands in for the desktop's: these tests are
// about what the program places and takes, not about sharing it.
class ClipbrdTest : public VisualTest {
protected:
    void SetUp() override {
        VisualTest::SetUp();
        SetSystemClipboard(nullptr);
        Clipboard()->Clear();
    }
    void TearDown() override {
        InstallAsBackend(HeadlessBackendInstalled());
        VisualTest::TearDown();
    }
};

std::unique_ptr<TBitmap> paintedBitmap() {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(6, 4);
    bitmap->Canvas()->Brush()->SetColor(clLime);
    bitmap->Canvas()->FillRect({0, 0, 6, 4});
    bitmap->Canvas()->SetPixels(2, 1, clRed);
    return bitmap;
}

} // namespace

TEST_F(ClipbrdTest, TextGoesOnAndComesBack) {
    Clipboard()->SetAsText("Caf\xe9 on the clipboard");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard()->AsText(), "Caf\xe9 on the clipboard");

    Clipboard()->SetTextBuf("short");
    char buffer[4];
    EXPECT_EQ(Clipboard()->GetTextBuf(buffer, sizeof(buffer)), 3);
    EXPECT_STREQ(buffer, "sho");
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->AsText(), "");
}

TEST_F(ClipbrdTest, FormatsPlacedWhileOpenJoinEachOther) {
    const UINT privateFormat = RegisterClipboardFormatA("Quorvane Test Format");
    Clipboard()->SetAsText("old");
    Clipboard()->Open();
    Clipboard()->SetAsText("text");
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 1);
    Clipboard()->SetAsHandle(static_cast<Word>(privateFormat), data);
    Clipboard()->Close();
    EXPECT_EQ(Clipboard()->AsText(), "text");
    EXPECT_TRUE(Clipboard()->HasFormat(static_cast<Word>(privateFormat)));

    // Outside Open each placing starts afresh.
    Clipboard()->SetAsText("alone");
    EXPECT_FALSE(Clipboard()->HasFormat(static_cast<Word>(privateFormat)));
}

TEST_F(ClipbrdTest, ABitmapGoesOnAndComesBackAsAPicture) {
    std::unique_ptr<TBitmap> original = paintedBitmap();
    Clipboard()->Assign(original.get());
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));

    TPicture picture;
    picture.Assign(Clipboard());
    ASSERT_NE(picture.Bitmap(), nullptr);
    EXPECT_EQ(picture.Width(), 6);
    EXPECT_EQ(picture.Height(), 4);
    EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(2, 1), clRed);
    EXPECT_EQ(picture.Bitmap()->Canvas()->Pixels(0, 0), clLime);

    // The clipboard holds its own copy.
    original->Canvas()->SetPixels(0, 0, clBlue);
    TBitmap again;
    again.Assign(Clipboard());
    EXPECT_EQ(again.Canvas()->Pixels(0, 0), clLime);
}

TEST_F(ClipbrdTest, PicturesTheClipboardCannotTakeOrGiveAreReported) {
    TIcon icon;
    try {
        Clipboard()->Assign(&icon);
        ADD_FAILURE() << "an icon went on the clipboard";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message, "Clipboard does not support Icons");
    }
    Clipboard()->SetAsText("no picture");
    TBitmap bitmap;
    try {
        bitmap.Assign(Clipboard());
        ADD_FAILURE() << "a bitmap came from text";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message, "Unsupported clipboard format");
    }
}

// A format announced for a graphic class makes a picture take it: the
// class then reads the data (an icon refuses, as icons do).
TEST_F(ClipbrdTest, AFormatAnnouncedForAGraphicClassIsReadByThatClass) {
    const auto iconFormat = static_cast<Word>(RegisterClipboardFormatA("Picture test icon"));
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(iconFormat));
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, 4);
    Clipboard()->SetAsHandle(iconFormat, data);
    TPicture picture;
    try {
        picture.Assign(Clipboard());
        ADD_FAILURE() << "a picture came from a format nobody announced";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message, "Unsupported clipboard format");
    }
    TPicture::RegisterClipboardFormat<TIcon>(iconFormat);
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(iconFormat));
    try {
        picture.Assign(Clipboard());
        ADD_FAILURE() << "an icon came from the clipboard";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message, "Clipboard does not support Icons");
    }
}
