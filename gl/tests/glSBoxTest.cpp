// The scroll box with a wallpaper: pattern, tiles that follow the scroll
// position, and the erase event with or without a background.
#include "gl/glSBox.h"
#include "gl/tests/glDrawingSupport.h"
#include "gl/tests/glTestSupport.h"

namespace {

constexpr TColor Marker = 0x010203;

struct EraseLog : TObject {
    std::vector<HDC> erased;
    void Erased(TObject*, HDC DC) { erased.push_back(DC); }
};

// Every pixel tells where in the bitmap it lies: red is x, green is y.
void fillWithCoordinates(TBitmap& Bitmap, Integer Width, Integer Height) {
    Bitmap.SetSize(Width, Height);
    for (Integer y = 0; y < Height; ++y)
        for (Integer x = 0; x < Width; ++x)
            Bitmap.Canvas()->SetPixels(x, y, RGB(x, y, 7));
}

class ScrollBoxTest : public GlVisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 200);
    EraseLog log;

    TglScrollBox* scrollBox() {
        auto* box = child<TglScrollBox>(form.get(), alNone, {0, 0, 250, 150});
        box->SetBorderStyle(bsNone);
        box->SetOnEraseBkgndEvent(TOnEraseBkgndEvent(&log, &EraseLog::Erased));
        return box;
    }
    TColor pixel(TglScrollBox* Box, Integer X, Integer Y) { return PixelAt(Box->Handle(), {X, Y}); }
};

TEST_F(ScrollBoxTest, ANarrowBackgroundIsLaidAsAPattern) {
    TglScrollBox* box = scrollBox();
    TBitmap pattern;
    fillWithCoordinates(pattern, 4, 4);
    box->SetBackground(&pattern);
    form->Show();
    Application->ProcessMessages();
    for (auto [x, y] : {std::pair{0, 0}, {5, 2}, {103, 77}, {249, 149}})
        EXPECT_EQ(pixel(box, x, y), RGB(x % 4, y % 4, 7)) << x << "," << y;
    EXPECT_FALSE(log.erased.empty());
}

TEST_F(ScrollBoxTest, AWideBackgroundIsTiledFromTheScrollPosition) {
    TglScrollBox* box = scrollBox();
    child<TMark>(box, alNone, {600, 10, 10, 10})->SetColor(clRed);
    TBitmap wallpaper;
    fillWithCoordinates(wallpaper, 100, 50);
    box->SetBackground(&wallpaper);
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(pixel(box, 0, 0), RGB(0, 0, 7));
    EXPECT_EQ(pixel(box, 130, 60), RGB(30, 10, 7));
    box->HorzScrollBar()->SetPosition(30);
    box->Invalidate();
    Application->ProcessMessages();
    ASSERT_EQ(box->HorzScrollBar()->Position(), 30);
    EXPECT_EQ(pixel(box, 0, 0), RGB(30, 0, 7));
    EXPECT_EQ(pixel(box, 69, 0), RGB(99, 0, 7));
    EXPECT_EQ(pixel(box, 70, 0), RGB(0, 0, 7));
}

TEST_F(ScrollBoxTest, WithoutABackgroundNothingIsPaintedButTheEventComes) {
    TglScrollBox* box = scrollBox();
    form->Show();
    Application->ProcessMessages();
    Surface target(10, 10, Marker);
    log.erased.clear();
    box->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), 0);
    // Reading the background makes an empty one, which paints nothing either.
    box->Background();
    box->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.DC()), 0);
    EXPECT_EQ(target.Picture({{Marker, '.'}}).find_first_not_of(".|"), std::string::npos);
    EXPECT_EQ(log.erased, (std::vector<HDC>{target.DC(), target.DC()}));
}

} // namespace
