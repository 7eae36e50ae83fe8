#include "platform/vcl/ImgList.h"

#include "platform/win/Gdi.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TBitmap> filledBitmap(Integer width, Integer height, TColor color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// Two 4 x 4 images side by side on fuchsia: a red square (1, 1)-(3, 3) in
// the first, a black one in the second.
std::unique_ptr<TBitmap> twoGlyphs() {
    auto strip = filledBitmap(8, 4, clFuchsia);
    strip->Canvas()->Brush()->SetColor(clRed);
    strip->Canvas()->FillRect(Rect(1, 1, 3, 3));
    strip->Canvas()->Brush()->SetColor(clBlack);
    strip->Canvas()->FillRect(Rect(5, 1, 7, 3));
    return strip;
}

struct ImageListFixture : ::testing::Test {
    ImageListFixture() : list(4, 4) { EXPECT_EQ(list.AddMasked(twoGlyphs().get(), clFuchsia), 0); }
    TColor pixel(Integer x, Integer y) { return target->Canvas()->Pixels(x, y); }

    TImageList list;
    std::unique_ptr<TBitmap> target = filledBitmap(6, 6, clBlue);
};

class TChangeCounter : public TObject {
public:
    void Count(TObject* Sender) {
        ++changes;
        sender = Sender;
    }
    int changes = 0;
    TObject* sender = nullptr;
};

} // namespace

TEST_F(ImageListFixture, CutsAStripIntoImagesAndDrawsThemThroughTheMask) {
    EXPECT_EQ(list.Count(), 2);
    list.SetDrawingStyle(dsTransparent);
    list.SetBkColor(clYellow);
    list.Draw(target->Canvas(), 1, 1, 0);
    EXPECT_EQ(pixel(1, 1), clBlue) << "ILD_TRANSPARENT ignores the background colour";
    EXPECT_EQ(pixel(2, 2), clRed);

    ASSERT_TRUE(list.DrawEx(target->Canvas()->Handle(), 1, 0, 0, CLR_DEFAULT, CLR_NONE, ILD_NORMAL));
    EXPECT_EQ(pixel(0, 0), clYellow) << "ILD_NORMAL lays the image on the list's background colour";
    EXPECT_EQ(pixel(1, 1), clBlack);

    list.DrawEx(target->Canvas()->Handle(), 0, 2, 2, CLR_NONE, CLR_NONE, ILD_NORMAL);
    EXPECT_EQ(pixel(5, 5), clBlue) << "CLR_NONE draws transparently";
    EXPECT_EQ(pixel(3, 3), clRed);

    EXPECT_FALSE(list.DrawEx(target->Canvas()->Handle(), 2, 0, 0, CLR_NONE, CLR_NONE, ILD_NORMAL));
}

TEST_F(ImageListFixture, DrawsMasksAndBlendedImages) {
    // The mask lands in the context's text colour (opaque) and background colour (transparent).
    HDC dc = target->Canvas()->Handle();
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    list.DrawEx(dc, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    EXPECT_EQ(pixel(0, 0), clWhite);
    EXPECT_EQ(pixel(1, 1), clBlack);
    EXPECT_EQ(pixel(4, 4), clBlue);

    list.DrawEx(target->Canvas()->Handle(), 0, 0, 0, CLR_NONE, RGB(255, 255, 255),
                ILD_TRANSPARENT | ILD_BLEND50);
    EXPECT_EQ(pixel(1, 1), static_cast<TColor>(RGB(255, 127, 127)));
    EXPECT_EQ(pixel(0, 0), clWhite) << "transparent pixels are not blended";

    list.SetBlendColor(clWhite);
    list.Draw(target->Canvas(), 0, 0, 0, dsFocus, itImage);
    EXPECT_EQ(pixel(1, 1), static_cast<TColor>(RGB(255, 63, 63)));
}

TEST_F(ImageListFixture, DisabledImagesAreEmbossedInTheButtonColours) {
    list.Draw(target->Canvas(), 0, 0, 1, false);
    EXPECT_EQ(pixel(1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel(3, 3), ColorToRGB(clBtnHighlight)) << "the highlight one pixel down and right";
    EXPECT_EQ(pixel(0, 0), clBlue);

    list.Draw(target->Canvas(), 0, 0, 0, false);
    EXPECT_EQ(pixel(1, 1), ColorToRGB(clBtnShadow)) << "dark enough to be drawn";
}

TEST_F(ImageListFixture, GetBitmapAndTheListsOwnChanges) {
    TBitmap image;
    list.GetBitmap(1, &image);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(image.Canvas()->Pixels(0, 0), clWhite) << "transparent pixels keep the new bitmap's white";

    TChangeCounter counter;
    auto link = std::make_unique<TChangeLink>();
    link->OnChange = TNotifyEvent(&counter, &TChangeCounter::Count);
    list.RegisterChanges(link.get());
    EXPECT_EQ(list.Add(filledBitmap(4, 4, clGreen).get(), nullptr), 2);
    EXPECT_EQ(counter.changes, 1);
    EXPECT_EQ(counter.sender, &list);
    list.Draw(target->Canvas(), 0, 0, 2);
    EXPECT_EQ(pixel(0, 0), clGreen) << "no mask: every pixel is drawn";

    try {
        list.Delete(3);
        FAIL();
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.Message, "Invalid ImageList Index");
    }
    list.Delete(0);
    EXPECT_EQ(list.Count(), 2);
    link.reset();
    list.SetWidth(8);
    EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
    EXPECT_EQ(counter.changes, 2) << "a freed link no longer hears";
    EXPECT_THROW(list.SetHeight(0), EInvalidOperation);
    TBitmap empty;
    EXPECT_EQ(list.Add(&empty, nullptr), -1);
}

namespace {

// Lets go of the list in its free notification, as the controls that show one do.
class TImageListUser : public TComponent {
public:
    TImageListUser() : TComponent(nullptr) { link.OnChange = TNotifyEvent(this, &TImageListUser::Changed); }
    void Use(TCustomImageList* List) {
        List->FreeNotification(this);
        List->RegisterChanges(&link);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        senderWhenNotified = link.Sender();
        if (link.Sender()) link.Sender()->UnRegisterChanges(&link);
    }
    void Changed(TObject*) {}

    TChangeLink link;
    TCustomImageList* senderWhenNotified = nullptr;
};

} // namespace

TEST(ImageListLifetime, AFreedListIsStillWholeWhenItsUsersHear) {
    TImageListUser user;
    auto list = std::make_unique<TImageList>(4, 4);
    TCustomImageList* address = list.get();
    user.Use(address);
    list.reset();
    EXPECT_EQ(user.senderWhenNotified, address);
    EXPECT_EQ(user.link.Sender(), nullptr);
}
