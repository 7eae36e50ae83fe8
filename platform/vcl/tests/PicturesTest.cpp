#include "platform/vcl/Pictures.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Resources.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

std::unique_ptr<TBitmap> filledBitmap(Integer width, Integer height, TColor color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// A fuchsia bitmap with a red square from (1, 1) to (3, 3).
std::unique_ptr<TBitmap> keyedGlyph() {
    auto glyph = filledBitmap(4, 4, clFuchsia);
    glyph->Canvas()->Brush()->SetColor(clRed);
    glyph->Canvas()->FillRect(Rect(1, 1, 3, 3));
    return glyph;
}

void expectSamePixels(TBitmap* expected, TBitmap* actual) {
    ASSERT_EQ(actual->Width(), expected->Width());
    ASSERT_EQ(actual->Height(), expected->Height());
    for (Integer y = 0; y < expected->Height(); ++y)
        for (Integer x = 0; x < expected->Width(); ++x)
            ASSERT_EQ(actual->Canvas()->Pixels(x, y), expected->Canvas()->Pixels(x, y)) << x << "," << y;
}

AnsiString tempFileName(const char* name) {
    return GetTempFolder() + "pictures-test-" + IntToStr(getpid()) + "-" + name;
}

class TImageHolder : public TComponent {
public:
    using TComponent::TComponent;
    TBitmap* Glyph() { return &glyph_; }
    TPicture* Picture() { return &picture_; }

private:
    TBitmap glyph_;
    TPicture picture_;
};

const TClass describedImageHolder =
    DescribeClass<TImageHolder, TComponent>([](TClassBuilder<TImageHolder>& c) {
        c.Property("Glyph", &TImageHolder::Glyph);
        c.Property("Picture", &TImageHolder::Picture);
    });

class TChangeCounter : public TObject {
public:
    void Count(TObject*) { ++changes; }
    int changes = 0;
};

} // namespace

TEST(Bitmap, SavesAndLoadsTheSameImageAtItsPixelFormat) {
    struct Case {
        TPixelFormat format;
        bool monochrome;
    };
    const Case cases[] = {
        {pfDevice, false}, {pf24bit, false}, {pf32bit, false}, {pf8bit, false}, {pf1bit, true}};
    for (const Case& c : cases) {
        auto original = filledBitmap(5, 3, clWhite);
        original->Canvas()->SetPixels(0, 0, clBlack);
        original->Canvas()->SetPixels(4, 2, clBlack);
        if (!c.monochrome) original->Canvas()->SetPixels(2, 1, 0x123456);
        original->SetPixelFormat(c.format);
        TMemoryStream stream;
        original->SaveToStream(&stream);
        stream.SetPosition(0);
        TBitmap loaded;
        loaded.LoadFromStream(&stream);
        EXPECT_EQ(loaded.Monochrome(), c.monochrome) << c.format;
        EXPECT_EQ(loaded.PixelFormat(), c.format == pfDevice ? pf24bit : c.format);
        expectSamePixels(original.get(), &loaded);
    }
}

TEST(Bitmap, FilesAndResourcesLoadByName) {
    AnsiString fileName = tempFileName("round.bmp");
    auto original = keyedGlyph();
    original->SaveToFile(fileName);
    TPicture picture;
    picture.LoadFromFile(fileName);
    DeleteFile(fileName);
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    expectSamePixels(original.get(), picture.Bitmap());

    TBitmap checker;
    checker.LoadFromResourceName(nullptr, "CHECKER");
    ASSERT_EQ(checker.Width(), 4);
    ASSERT_EQ(checker.Height(), 2);
    EXPECT_EQ(checker.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(checker.Canvas()->Pixels(2, 0), clBlue);
    EXPECT_EQ(checker.TransparentColor(), clFuchsia | 0x02000000)
        << "the bottom-left pixel, palette-relative";
}

TEST(Bitmap, UnreadableDataRaisesTheFrameworkErrors) {
    TBitmap bitmap;
    TStringStream notABitmap("hello, world");
    try {
        bitmap.LoadFromStream(&notABitmap);
        FAIL();
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message, "Bitmap image is not valid");
    }
    EXPECT_THROW(bitmap.LoadFromResourceName(nullptr, "TESTGLYPH"), EInvalidGraphic)
        << "a header and nothing else";
    EXPECT_THROW(bitmap.LoadFromResourceName(nullptr, "NOWHERE"), EResNotFound);
    TPicture picture;
    try {
        picture.LoadFromFile("photo.jpeg");
        FAIL();
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message, "Unknown picture file extension (.jpeg)");
    }
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, DrawsTransparentlyThroughItsMask) {
    auto glyph = keyedGlyph();
    glyph->SetTransparent(true);
    auto target = filledBitmap(10, 10, clBlue);
    target->Canvas()->Draw(1, 1, glyph.get());
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clBlue) << "the bottom-left colour is left out";
    EXPECT_EQ(target->Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(target->Canvas()->Pixels(4, 4), clBlue);

    target->Canvas()->StretchDraw(Rect(2, 2, 10, 10), glyph.get());
    EXPECT_EQ(target->Canvas()->Pixels(5, 5), clRed);
    EXPECT_EQ(target->Canvas()->Pixels(9, 9), clBlue);

    glyph->SetTransparentColor(clRed);
    EXPECT_EQ(glyph->TransparentMode(), tmFixed);
    auto second = filledBitmap(4, 4, clBlue);
    second->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(second->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(second->Canvas()->Pixels(1, 1), clBlue);

    glyph->SetTransparent(false);
    second->Canvas()->Draw(0, 0, glyph.get());
    EXPECT_EQ(second->Canvas()->Pixels(1, 1), clRed);

    glyph->SetTransparentMode(tmAuto);
    std::shared_ptr<PixelSurface> mask = BitmapSurface(glyph->MaskHandle());
    ASSERT_TRUE(mask && mask->IsMonochrome());
    EXPECT_EQ(mask->At(0, 0), PixelWhite);
    EXPECT_EQ(mask->At(1, 1), PixelBlack);
}

TEST(Bitmap, SizeChangesKeepTheImageAndNewAreaIsWhite) {
    auto bitmap = filledBitmap(2, 2, clRed);
    TChangeCounter counter;
    bitmap->OnChange = TNotifyEvent(&counter, &TChangeCounter::Count);
    bitmap->SetWidth(4);
    bitmap->SetHeight(3);
    EXPECT_EQ(counter.changes, 2);
    EXPECT_EQ(bitmap->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(bitmap->Canvas()->Pixels(3, 1), clWhite);
    EXPECT_EQ(bitmap->Canvas()->Pixels(1, 2), clWhite);
    bitmap->Canvas()->SetPixels(0, 0, clBlue);
    EXPECT_EQ(counter.changes, 3) << "drawing on the canvas changes the bitmap";
    bitmap->SetHeight(0);
    EXPECT_TRUE(bitmap->Empty());
    EXPECT_EQ(bitmap->TransparentColor(), clDefault);
}

TEST(Bitmap, HandlesCanBeReleasedAndMadeDormantWithoutLosingTheImage) {
    auto bitmap = filledBitmap(3, 3, clGreen);
    HBITMAP released = bitmap->ReleaseHandle();
    ASSERT_NE(released, nullptr);
    bitmap->Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(bitmap->Canvas()->Pixels(1, 1), clGreen);
    EXPECT_EQ(BitmapSurface(released)->At(0, 0), PixelFromColorRef(clGreen))
        << "the released handle is the caller's";
    DeleteObject(released);

    bitmap->Dormant();
    EXPECT_FALSE(bitmap->HandleAllocated());
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), clRed);
    EXPECT_TRUE(bitmap->HandleAllocated());
}

TEST(Bitmap, MonochromeConversionWhitensTheBrushColour) {
    auto bitmap = filledBitmap(2, 1, clGreen);
    bitmap->Canvas()->SetPixels(0, 0, clRed);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->SetMonochrome(true);
    EXPECT_EQ(bitmap->PixelFormat(), pf1bit);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(bitmap->Canvas()->Pixels(1, 0), clBlack);
    EXPECT_EQ(bitmap->TransparentColor(), clWhite | 0x02000000);
}

TEST(Canvas, BrushCopyPaintsTheKeyColourWithTheBrush) {
    auto glyph = keyedGlyph();
    auto target = filledBitmap(4, 4, clBlue);
    target->Canvas()->Brush()->SetColor(clYellow);
    target->Canvas()->BrushCopy(Rect(0, 0, 4, 4), glyph.get(), Rect(0, 0, 4, 4), clFuchsia);
    EXPECT_EQ(target->Canvas()->Pixels(0, 0), clYellow);
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clRed);

    auto clear = filledBitmap(4, 4, clBlue);
    clear->Canvas()->Brush()->SetStyle(bsClear);
    clear->Canvas()->BrushCopy(Rect(0, 0, 2, 2), glyph.get(), Rect(0, 0, 2, 2), clFuchsia);
    EXPECT_EQ(clear->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(clear->Canvas()->Pixels(1, 1), clRed);
}

TEST(Icon, RoundTripsThroughAnIconFileAndDrawsThroughItsMask) {
    // As in every icon, the colour image is black where the mask is white.
    auto colour = filledBitmap(4, 4, clRed);
    colour->Canvas()->SetPixels(0, 0, clBlack);
    auto mask = filledBitmap(4, 4, clBlack);
    mask->Canvas()->SetPixels(0, 0, clWhite);
    mask->Canvas()->Brush()->SetColor(clWhite);
    mask->SetMonochrome(true);
    ICONINFO info{TRUE, 0, 0, mask->Handle(), colour->Handle()};
    TIcon icon;
    icon.SetHandle(CreateIconIndirect(&info));
    EXPECT_EQ(icon.Width(), 4);

    TMemoryStream file;
    icon.SaveToStream(&file);
    file.SetPosition(0);
    TPicture picture;
    picture.Icon()->LoadFromStream(&file);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_TRUE(picture.Graphic()->Transparent());
    EXPECT_THROW(picture.Icon()->SetWidth(8), EInvalidGraphicOperation);

    auto target = filledBitmap(6, 6, clBlue);
    target->Canvas()->Draw(1, 1, picture.Graphic());
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(target->Canvas()->Pixels(2, 2), clRed);
    EXPECT_EQ(target->Canvas()->Pixels(5, 5), clBlue);

    TStringStream garbage("not an icon");
    EXPECT_THROW(icon.LoadFromStream(&garbage), EInvalidGraphic);
}

TEST(Streaming, BitmapsAndPicturesTravelAsData) {
    TImageHolder holder(nullptr);
    holder.SetName("Holder");
    holder.Glyph()->Assign(keyedGlyph().get());
    holder.Picture()->Assign(keyedGlyph().get());
    AnsiString text = WriteComponentText(&holder);
    EXPECT_NE(text.find("  Glyph.Data = {\n"), AnsiString::npos) << text;
    EXPECT_NE(text.find("  Picture.Data = {\n    07544269746D6170"), AnsiString::npos)
        << "the class name first";

    TImageHolder copy(nullptr);
    ReadComponentText(text, &copy);
    expectSamePixels(holder.Glyph(), copy.Glyph());
    expectSamePixels(holder.Glyph(), copy.Picture()->Bitmap());
    EXPECT_EQ(WriteComponentText(&copy), text);

    TImageHolder empty(nullptr);
    empty.SetName("Empty");
    EXPECT_EQ(WriteComponentText(&empty), "object Empty: TImageHolder\nend\n");
}
