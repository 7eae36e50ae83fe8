#include "unicode/TntGraphics.h"

#include "platform/core/CodePages.h"
#include "unicode/TntClasses.h"
#include "unicode/TntSysUtils.h"
#include "unicode/tests/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

using test::TemporaryFolder;

std::unique_ptr<TBitmap> whiteBitmap(Integer width, Integer height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    return bitmap;
}

Integer pixelsOf(TCanvas* canvas, const TRect& area, TColor color) {
    Integer count = 0;
    for (Integer y = area.Top; y < area.Bottom; ++y)
        for (Integer x = area.Left; x < area.Right; ++x)
            count += canvas->Pixels(x, y) == color;
    return count;
}

class TChangeCounter : public TObject {
public:
    void Count(TObject*) { ++changes; }
    int changes = 0;
};

TEST(WideCanvasText, LeavesThePenAtTheEndOfTheText) {
    auto bitmap = whiteBitmap(120, 30);
    TCanvas* canvas = bitmap->Canvas();
    TChangeCounter counter;
    canvas->OnChange = TNotifyEvent(&counter, &TChangeCounter::Count);
    const WideString text = u"\u0416\u0418\u0412 ok";
    const Integer width = WideCanvasTextWidth(canvas, text);
    EXPECT_GT(width, 0);
    WideCanvasTextOut(canvas, 5, 4, text);
    EXPECT_EQ(canvas->PenPos(), Point(5 + width, 4));
    EXPECT_GT(counter.changes, 0);
    EXPECT_GT(pixelsOf(canvas, Rect(5, 4, 5 + width, 4 + WideCanvasTextHeight(canvas, text)), clWhite), 0);
    EXPECT_LT(pixelsOf(canvas, Rect(5, 4, 5 + width, 4 + WideCanvasTextHeight(canvas, text)), clWhite),
              width * WideCanvasTextHeight(canvas, text));
}

TEST(WideCanvasText, MeasuresAsTheAnsiCallsDoForAnsiText) {
    auto bitmap = whiteBitmap(10, 10);
    TCanvas* canvas = bitmap->Canvas();
    EXPECT_EQ(WideCanvasTextWidth(canvas, u"Measure me"), canvas->TextWidth("Measure me"));
    EXPECT_EQ(WideCanvasTextHeight(canvas, u"Wg"), canvas->TextHeight("Wg"));
}

TEST(WideCanvasText, TextRectClipsAndFillsWithASolidBrush) {
    auto bitmap = whiteBitmap(120, 30);
    TCanvas* canvas = bitmap->Canvas();
    canvas->MoveTo(1, 2);
    canvas->Brush()->SetColor(clYellow);
    const TRect box = Rect(10, 5, 40, 25);
    WideCanvasTextRect(canvas, box, 12, 6, u"\u0416\u0416\u0416\u0416\u0416\u0416\u0416\u0416");
    EXPECT_EQ(canvas->PenPos(), Point(1, 2));
    EXPECT_GT(pixelsOf(canvas, box, clYellow), 0);
    EXPECT_EQ(pixelsOf(canvas, Rect(40, 0, 120, 30), clWhite), 80 * 30);

    canvas->Brush()->SetStyle(bsClear);
    const TRect clear = Rect(60, 5, 90, 25);
    WideCanvasTextRect(canvas, clear, 62, 6, u"\u0416");
    EXPECT_EQ(pixelsOf(canvas, clear, clYellow), 0);
}

TEST(TntPicture, SavesAndLoadsUnderWideNames) {
    TemporaryFolder folder;
    const WideString name = folder.Path() + u"\\\u0416\u0418\u0412.bmp";
    TTntPicture picture;
    picture.SaveToFile(name);
    EXPECT_FALSE(WideFileExists(name));

    auto bitmap = whiteBitmap(7, 5);
    bitmap->Canvas()->SetPixels(2, 3, clRed);
    picture.SetGraphic(bitmap.get());
    picture.SaveToFile(name);
    bitmap->SetSize(3, 3);
    picture.SetGraphic(bitmap.get());
    picture.SaveToFile(name);

    TTntPicture loaded;
    loaded.LoadFromFile(name);
    EXPECT_EQ(loaded.Width(), 3);
    EXPECT_EQ(loaded.Height(), 3);
    TSearchRecW entries;
    Integer files = 0;
    for (Integer result = WideFindFirst(folder.Path() + u"\\*", 0, entries); result == 0;
         result = WideFindNext(entries))
        ++files;
    WideFindClose(entries);
    EXPECT_EQ(files, 1);

    const WideString plain = folder.Path() + u"\\plain.BMP";
    bitmap->SetSize(4, 2);
    picture.SetGraphic(bitmap.get());
    picture.SaveToFile(plain);
    loaded.LoadFromFile(plain);
    EXPECT_EQ(loaded.Width(), 4);
    EXPECT_THROW(loaded.LoadFromFile(folder.Path() + u"\\\u0416missing.bmp"), EFOpenError);
}

// The rename that puts the new picture in place fails (a folder holds the
// name): the old one stays and no temporary file is left behind.
TEST(TntPicture, AFailedSaveKeepsTheOldFileAndRemovesTheNewOne) {
    TemporaryFolder folder;
    const WideString target = folder.Path() + u"\\\u0416.bmp";
    ASSERT_TRUE(WideCreateDir(target));
    TTntPicture picture;
    auto bitmap = whiteBitmap(3, 3);
    picture.SetGraphic(bitmap.get());
    EXPECT_THROW(picture.SaveToFile(target), EOSError);
    EXPECT_TRUE(WideDirectoryExists(target));
    TSearchRecW entries;
    Integer names = 0;
    for (Integer result = WideFindFirst(folder.Path() + u"\\*.bmp", faAnyFile, entries); result == 0;
         result = WideFindNext(entries))
        ++names;
    WideFindClose(entries);
    EXPECT_EQ(names, 1);
}

} // namespace
