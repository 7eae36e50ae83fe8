#include "editor/SynEditMiscClasses.h"

#include "platform/vcl/Resources.h"
#include "platform/vcl/TypInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Counts the OnChange events of one option object.
struct ChangeCounter : TObject {
    void Changed(TObject* sender) {
        ++count;
        lastSender = sender;
    }
    TNotifyEvent handler() { return TNotifyEvent(this, &ChangeCounter::Changed); }
    int count = 0;
    TObject* lastSender = nullptr;
};

// One setter call and the number of OnChange events it must fire.
template <typename Options> struct Setting {
    const char* what;
    std::function<void(Options&)> apply;
    int events;
};

template <typename Options>
void expectEvents(Options& options, const std::vector<Setting<Options>>& settings) {
    ChangeCounter counter;
    options.OnChange = counter.handler();
    for (const auto& setting : settings) {
        counter.count = 0;
        setting.apply(options);
        EXPECT_EQ(counter.count, setting.events) << setting.what;
        if (setting.events > 0) {
            EXPECT_EQ(counter.lastSender, &options) << setting.what;
        }
    }
}

// A component that records which components told it they are going.
struct Watcher : TComponent {
    using TComponent::TComponent;
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove) removed.push_back(AComponent);
    }
    std::vector<TComponent*> removed;
};

// A canvas to draw pictures on, filled with one colour.
struct Paper {
    Paper(Integer width, Integer height, TColor colour) {
        bitmap.SetSize(width, height);
        canvas()->Brush()->SetColor(colour);
        canvas()->FillRect(Rect(0, 0, width, height));
    }
    TCanvas* canvas() { return bitmap.Canvas(); }
    TColor at(Integer x, Integer y) { return canvas()->Pixels(x, y); }
    TBitmap bitmap;
};

} // namespace

// ---- Defaults -------------------------------------------------------------------------

TEST(OptionDefaults, Gutter) {
    TSynGutter gutter;
    EXPECT_FALSE(gutter.AutoSize());
    EXPECT_EQ(gutter.BorderStyle(), gbsMiddle);
    EXPECT_EQ(gutter.Color(), clBtnFace);
    EXPECT_EQ(gutter.BorderColor(), clWindow);
    EXPECT_EQ(gutter.Cursor(), crDefault);
    EXPECT_EQ(gutter.DigitCount(), 4);
    EXPECT_EQ(gutter.AutoSizeDigitCount(), 4);
    EXPECT_EQ(gutter.Font()->Name(), "Courier New");
    EXPECT_EQ(gutter.Font()->Size(), 8);
    EXPECT_TRUE(gutter.Font()->Style().Empty());
    EXPECT_FALSE(gutter.LeadingZeros());
    EXPECT_EQ(gutter.LeftOffset(), 16);
    EXPECT_EQ(gutter.RightOffset(), 2);
    EXPECT_FALSE(gutter.ShowLineNumbers());
    EXPECT_TRUE(gutter.UseFontStyle());
    EXPECT_TRUE(gutter.Visible());
    EXPECT_EQ(gutter.Width(), 30);
    EXPECT_FALSE(gutter.ZeroStart());
    EXPECT_EQ(gutter.LineNumberStart(), 1);
    EXPECT_FALSE(gutter.Gradient());
    EXPECT_EQ(gutter.GradientStartColor(), clWindow);
    EXPECT_EQ(gutter.GradientEndColor(), clBtnFace);
    EXPECT_EQ(gutter.GradientSteps(), 48);
    EXPECT_FALSE(gutter.OnChange);
}

TEST(OptionDefaults, SelectionBookmarksAndGlyph) {
    TSynSelectedColor selection;
    EXPECT_EQ(selection.Background(), clHighlight);
    EXPECT_EQ(selection.Foreground(), clHighlightText);

    TSynBookMarkOpt bookmarks(nullptr);
    EXPECT_EQ(bookmarks.BookmarkImages(), nullptr);
    EXPECT_TRUE(bookmarks.DrawBookmarksFirst());
    EXPECT_TRUE(bookmarks.EnableKeys());
    EXPECT_TRUE(bookmarks.GlyphsVisible());
    EXPECT_EQ(bookmarks.LeftMargin(), 2);
    EXPECT_EQ(bookmarks.Xoffset(), 12);

    TSynGlyph glyph(nullptr, "", clLime);
    EXPECT_TRUE(glyph.Glyph()->Empty());
    EXPECT_EQ(glyph.MaskColor(), clNone);
    EXPECT_TRUE(glyph.Visible());
    EXPECT_EQ(glyph.Width(), 0);
    EXPECT_EQ(glyph.Height(), 0);
}

TEST(OptionDefaults, PublishedDefaultsAreTheValuesOfANewObject) {
    TSynGutter gutter;
    TSynSelectedColor selection;
    TSynGlyph glyph(nullptr, "", clNone);
    for (TObject* options : std::initializer_list<TObject*>{&gutter, &selection, &glyph}) {
        for (const TPropInfo* property : GetPropList(options)) {
            if (property->PropType->Kind == tkClass) continue;
            ASSERT_TRUE(property->Default.has_value()) << options->ClassName() << "." << property->Name;
            EXPECT_EQ(GetOrdProp(options, property), *property->Default)
                << options->ClassName() << "." << property->Name;
        }
    }
}

// ---- Change notifications ---------------------------------------------------------------

TEST(OptionChanges, GutterFiresOnlyOnRealChanges) {
    TSynGutter gutter;
    using S = Setting<TSynGutter>;
    expectEvents<TSynGutter>(
        gutter, {
                    S{"AutoSize", [](TSynGutter& g) { g.SetAutoSize(true); }, 1},
                    S{"AutoSize again", [](TSynGutter& g) { g.SetAutoSize(true); }, 0},
                    S{"BorderStyle", [](TSynGutter& g) { g.SetBorderStyle(gbsRight); }, 1},
                    S{"BorderStyle again still fires", [](TSynGutter& g) { g.SetBorderStyle(gbsRight); }, 1},
                    S{"Color", [](TSynGutter& g) { g.SetColor(clRed); }, 1},
                    S{"Color again", [](TSynGutter& g) { g.SetColor(clRed); }, 0},
                    S{"BorderColor", [](TSynGutter& g) { g.SetBorderColor(clRed); }, 1},
                    S{"Cursor", [](TSynGutter& g) { g.SetCursor(crHandPoint); }, 0},
                    S{"DigitCount", [](TSynGutter& g) { g.SetDigitCount(6); }, 1},
                    S{"DigitCount clamped to the same", [](TSynGutter& g) { g.SetDigitCount(6); }, 0},
                    S{"Font name", [](TSynGutter& g) { g.Font()->SetName("Arial"); }, 1},
                    S{"Font style", [](TSynGutter& g) { g.Font()->SetStyle({fsBold}); }, 1},
                    S{"LeadingZeros", [](TSynGutter& g) { g.SetLeadingZeros(true); }, 1},
                    S{"LeftOffset", [](TSynGutter& g) { g.SetLeftOffset(3); }, 1},
                    S{"RightOffset", [](TSynGutter& g) { g.SetRightOffset(3); }, 1},
                    S{"RightOffset again", [](TSynGutter& g) { g.SetRightOffset(3); }, 0},
                    S{"ShowLineNumbers", [](TSynGutter& g) { g.SetShowLineNumbers(true); }, 1},
                    S{"UseFontStyle", [](TSynGutter& g) { g.SetUseFontStyle(false); }, 1},
                    S{"Visible", [](TSynGutter& g) { g.SetVisible(false); }, 1},
                    S{"Width", [](TSynGutter& g) { g.SetWidth(40); }, 1},
                    S{"ZeroStart", [](TSynGutter& g) { g.SetZeroStart(true); }, 1},
                    S{"LineNumberStart", [](TSynGutter& g) { g.SetLineNumberStart(3); }, 1},
                    S{"Gradient", [](TSynGutter& g) { g.SetGradient(true); }, 1},
                    S{"GradientStartColor", [](TSynGutter& g) { g.SetGradientStartColor(clRed); }, 1},
                    S{"GradientEndColor", [](TSynGutter& g) { g.SetGradientEndColor(clRed); }, 1},
                    S{"GradientSteps", [](TSynGutter& g) { g.SetGradientSteps(10); }, 1},
                    S{"GradientSteps again", [](TSynGutter& g) { g.SetGradientSteps(10); }, 0},
                });
}

TEST(OptionChanges, SelectionBookmarksAndGlyphFireOnlyOnRealChanges) {
    TSynSelectedColor selection;
    using SC = Setting<TSynSelectedColor>;
    expectEvents<TSynSelectedColor>(
        selection, {
                       SC{"Background", [](TSynSelectedColor& s) { s.SetBackground(clRed); }, 1},
                       SC{"Background again", [](TSynSelectedColor& s) { s.SetBackground(clRed); }, 0},
                       SC{"Foreground", [](TSynSelectedColor& s) { s.SetForeground(clRed); }, 1},
                   });

    TSynBookMarkOpt bookmarks(nullptr);
    TImageList images(16, 16);
    using SB = Setting<TSynBookMarkOpt>;
    expectEvents<TSynBookMarkOpt>(
        bookmarks,
        {
            SB{"BookmarkImages", [&](TSynBookMarkOpt& b) { b.SetBookmarkImages(&images); }, 1},
            SB{"BookmarkImages again", [&](TSynBookMarkOpt& b) { b.SetBookmarkImages(&images); }, 0},
            SB{"DrawBookmarksFirst", [](TSynBookMarkOpt& b) { b.SetDrawBookmarksFirst(false); }, 1},
            SB{"EnableKeys", [](TSynBookMarkOpt& b) { b.SetEnableKeys(false); }, 0},
            SB{"GlyphsVisible", [](TSynBookMarkOpt& b) { b.SetGlyphsVisible(false); }, 1},
            SB{"LeftMargin", [](TSynBookMarkOpt& b) { b.SetLeftMargin(5); }, 1},
            SB{"Xoffset", [](TSynBookMarkOpt& b) { b.SetXoffset(5); }, 1},
            SB{"Xoffset again", [](TSynBookMarkOpt& b) { b.SetXoffset(5); }, 0},
        });
    EXPECT_FALSE(bookmarks.EnableKeys());

    TSynGlyph glyph(nullptr, "", clNone);
    TBitmap picture;
    picture.SetSize(3, 2);
    using SG = Setting<TSynGlyph>;
    expectEvents<TSynGlyph>(glyph, {
                                       SG{"MaskColor", [](TSynGlyph& g) { g.SetMaskColor(clRed); }, 1},
                                       SG{"MaskColor again", [](TSynGlyph& g) { g.SetMaskColor(clRed); }, 0},
                                       SG{"Visible", [](TSynGlyph& g) { g.SetVisible(false); }, 1},
                                       SG{"Glyph", [&](TSynGlyph& g) { g.SetGlyph(&picture); }, 1},
                                   });
    EXPECT_EQ(glyph.Width(), 3);
    EXPECT_NE(glyph.Glyph(), &picture) << "the glyph keeps its own copy";
}

TEST(OptionChanges, AssignCopiesEverythingThenFiresOnce) {
    TSynGutter source;
    source.SetAutoSize(true);
    source.SetBorderStyle(gbsRight);
    source.SetColor(clRed);
    source.SetBorderColor(clBlue);
    source.SetCursor(crHandPoint);
    source.SetDigitCount(7);
    source.Font()->SetName("Arial");
    source.Font()->SetSize(12);
    source.SetLeadingZeros(true);
    source.SetLeftOffset(5);
    source.SetRightOffset(6);
    source.SetShowLineNumbers(true);
    source.SetUseFontStyle(false);
    source.SetWidth(50);
    source.SetLineNumberStart(0);
    source.SetGradient(true);
    source.SetGradientStartColor(clLime);
    source.SetGradientEndColor(clNavy);
    source.SetGradientSteps(9);
    source.AutoSizeDigitCount(123456789);

    TSynGutter gutter;
    ChangeCounter counter;
    gutter.OnChange = counter.handler();
    gutter.Assign(&source);
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(gutter.AutoSize());
    EXPECT_EQ(gutter.BorderStyle(), gbsRight);
    EXPECT_EQ(gutter.Color(), clRed);
    EXPECT_EQ(gutter.BorderColor(), clBlue);
    EXPECT_EQ(gutter.Cursor(), crDefault) << "not copied";
    EXPECT_EQ(gutter.DigitCount(), 7);
    EXPECT_EQ(gutter.AutoSizeDigitCount(), 9);
    EXPECT_EQ(gutter.Font()->Name(), "Arial");
    EXPECT_EQ(gutter.Font()->Size(), 12);
    EXPECT_TRUE(gutter.LeadingZeros());
    EXPECT_EQ(gutter.LeftOffset(), 5);
    EXPECT_EQ(gutter.RightOffset(), 6);
    EXPECT_TRUE(gutter.ShowLineNumbers());
    EXPECT_FALSE(gutter.UseFontStyle());
    EXPECT_EQ(gutter.Width(), 50);
    EXPECT_TRUE(gutter.ZeroStart());
    EXPECT_EQ(gutter.LineNumberStart(), 0);
    EXPECT_TRUE(gutter.Gradient());
    EXPECT_EQ(gutter.GradientStartColor(), clLime);
    EXPECT_EQ(gutter.GradientEndColor(), clNavy);
    EXPECT_EQ(gutter.GradientSteps(), 9);
    EXPECT_EQ(gutter.OnChange, counter.handler()) << "the own handler stays";
    gutter.Font()->SetColor(clRed);
    EXPECT_EQ(counter.count, 2) << "the font still reports to its gutter";

    TSynSelectedColor selectionSource, selection;
    selectionSource.SetBackground(clRed);
    selectionSource.SetForeground(clBlue);
    selection.OnChange = counter.handler();
    counter.count = 0;
    selection.Assign(&selectionSource);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(selection.Background(), clRed);
    EXPECT_EQ(selection.Foreground(), clBlue);

    TImageList images(16, 16);
    TSynBookMarkOpt bookmarkSource(nullptr), bookmarks(nullptr);
    bookmarkSource.SetBookmarkImages(&images);
    bookmarkSource.SetDrawBookmarksFirst(false);
    bookmarkSource.SetEnableKeys(false);
    bookmarkSource.SetGlyphsVisible(false);
    bookmarkSource.SetLeftMargin(7);
    bookmarkSource.SetXoffset(8);
    bookmarks.OnChange = counter.handler();
    counter.count = 0;
    bookmarks.Assign(&bookmarkSource);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(bookmarks.BookmarkImages(), &images);
    EXPECT_FALSE(bookmarks.DrawBookmarksFirst());
    EXPECT_FALSE(bookmarks.EnableKeys());
    EXPECT_FALSE(bookmarks.GlyphsVisible());
    EXPECT_EQ(bookmarks.LeftMargin(), 7);
    EXPECT_EQ(bookmarks.Xoffset(), 8);

    TSynGlyph glyphSource(nullptr, "SynEditWrapped", clLime), glyph(nullptr, "", clNone);
    TBitmap picture;
    picture.SetSize(4, 5);
    glyphSource.SetGlyph(&picture);
    glyphSource.SetMaskColor(clRed);
    glyphSource.SetVisible(false);
    glyph.OnChange = counter.handler();
    counter.count = 0;
    glyph.Assign(&glyphSource);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(glyph.Width(), 4);
    EXPECT_EQ(glyph.MaskColor(), clRed);
    EXPECT_FALSE(glyph.Visible());
    glyph.SetGlyph(nullptr);
    EXPECT_EQ(glyph.Width(), 15) << "the copied built-in picture shows without a user picture";

    EXPECT_THROW(gutter.Assign(&selection), EConvertError);
}

// ---- Gutter digits and width ----------------------------------------------------------------

TEST(GutterNumbers, LimitsOfTheSettings) {
    TSynGutter gutter;
    struct Case {
        const char* what;
        std::function<void()> apply;
        std::function<Integer()> read;
        Integer expected;
    };
    const Case cases[] = {
        {"DigitCount 1", [&] { gutter.SetDigitCount(1); }, [&] { return gutter.DigitCount(); }, 2},
        {"DigitCount 20", [&] { gutter.SetDigitCount(20); }, [&] { return gutter.DigitCount(); }, 12},
        {"digits in effect follow", [] {}, [&] { return gutter.AutoSizeDigitCount(); }, 12},
        {"LeftOffset -3", [&] { gutter.SetLeftOffset(-3); }, [&] { return gutter.LeftOffset(); }, 0},
        {"RightOffset -3", [&] { gutter.SetRightOffset(-3); }, [&] { return gutter.RightOffset(); }, 0},
        {"Width -3", [&] { gutter.SetWidth(-3); }, [&] { return gutter.Width(); }, 0},
        {"GradientSteps 1", [&] { gutter.SetGradientSteps(1); }, [&] { return gutter.GradientSteps(); }, 2},
        {"LineNumberStart -4", [&] { gutter.SetLineNumberStart(-4); },
         [&] { return gutter.LineNumberStart(); }, 0},
        {"ZeroStart at 0", [] {}, [&] { return Integer(gutter.ZeroStart()); }, 1},
        {"LineNumberStart 5", [&] { gutter.SetLineNumberStart(5); },
         [&] { return Integer(gutter.ZeroStart()); }, 0},
    };
    for (const Case& c : cases) {
        c.apply();
        EXPECT_EQ(c.read(), c.expected) << c.what;
    }
}

TEST(GutterNumbers, LineNumbersAreShiftedPaddedAndSized) {
    struct Case {
        Integer lineNumberStart;
        bool zeroStart, leadingZeros;
        Integer digits, line;
        AnsiString text;
    };
    const Case cases[] = {
        {1, false, false, 4, 7, "   7"}, {1, false, true, 4, 7, "0007"},
        {5, false, false, 4, 1, "   5"}, {1, true, false, 4, 1, "   0"},
        {1, true, true, 4, 1, "0000"},   {1, false, true, 2, 12345, "12345"},
        {3, false, true, 3, 10, "012"},  {1, false, false, 2, 100, "100"},
    };
    for (const Case& c : cases) {
        TSynGutter gutter;
        gutter.SetLineNumberStart(c.lineNumberStart);
        if (c.zeroStart) gutter.SetZeroStart(true);
        gutter.SetLeadingZeros(c.leadingZeros);
        gutter.SetDigitCount(c.digits);
        EXPECT_EQ(gutter.FormatLineNumber(c.line), c.text) << c.line;
    }
}

TEST(GutterNumbers, AutoSizeWidensToTheLastLineNumber) {
    TSynGutter gutter;
    ChangeCounter counter;
    gutter.OnChange = counter.handler();
    gutter.AutoSizeDigitCount(12345);
    EXPECT_EQ(gutter.AutoSizeDigitCount(), 4) << "without AutoSize and line numbers";
    gutter.SetAutoSize(true);
    gutter.SetShowLineNumbers(true);
    counter.count = 0;
    gutter.AutoSizeDigitCount(12345);
    EXPECT_EQ(gutter.AutoSizeDigitCount(), 5);
    EXPECT_EQ(gutter.FormatLineNumber(7), "    7");
    gutter.AutoSizeDigitCount(54321);
    EXPECT_EQ(counter.count, 1) << "fires only when the count changes";
    gutter.AutoSizeDigitCount(12);
    EXPECT_EQ(gutter.AutoSizeDigitCount(), 4) << "never below DigitCount";
    gutter.SetLineNumberStart(100);
    gutter.AutoSizeDigitCount(9901);
    EXPECT_EQ(gutter.AutoSizeDigitCount(), 5) << "the shifted number counts";
    gutter.SetAutoSize(false);
    counter.count = 0;
    gutter.AutoSizeDigitCount(9901);
    EXPECT_EQ(gutter.AutoSizeDigitCount(), 4);
    EXPECT_EQ(counter.count, 0);
}

TEST(GutterNumbers, RealWidth) {
    TSynGutter gutter;
    EXPECT_EQ(gutter.RealGutterWidth(8), 30);
    gutter.SetShowLineNumbers(true);
    EXPECT_EQ(gutter.RealGutterWidth(8), 4 * 8 + 16 + 2 + 2);
    gutter.SetVisible(false);
    EXPECT_EQ(gutter.RealGutterWidth(8), 0);
}

// ---- Bookmark image list ------------------------------------------------------------------

TEST(BookmarkOptions, TheOwnerHearsWhenTheImageListGoes) {
    Watcher owner(nullptr);
    TSynBookMarkOpt bookmarks(&owner);
    auto images = std::make_unique<TImageList>(11, 14);
    TImageList* freed = images.get();
    bookmarks.SetBookmarkImages(images.get());
    images.reset();
    ASSERT_EQ(owner.removed.size(), 1u);
    EXPECT_EQ(owner.removed[0], freed);

    auto copied = std::make_unique<TImageList>(11, 14);
    TSynBookMarkOpt source(nullptr), other(&owner);
    source.SetBookmarkImages(copied.get());
    other.Assign(&source);
    freed = copied.get();
    copied.reset();
    ASSERT_EQ(owner.removed.size(), 2u) << "an assigned list is watched too";
    EXPECT_EQ(owner.removed[1], freed);
}

// ---- Pictures -------------------------------------------------------------------------------

TEST(Glyph, TheWrapGlyphIsCentredWithItsMaskShowingTheBrush) {
    TSynGlyph glyph(nullptr, "SynEditWrapped", clLime);
    EXPECT_EQ(glyph.Width(), 15);
    EXPECT_EQ(glyph.Height(), 14);

    Paper paper(20, 20, clWhite);
    paper.canvas()->Brush()->SetColor(clYellow);
    glyph.Draw(paper.canvas(), 2, 1, 18);
    // Drawn at y = 1 + (18 - 14) / 2 = 3, from x = 2 to 16.
    EXPECT_EQ(paper.at(2, 2), clWhite);
    EXPECT_EQ(paper.at(2, 3), clYellow) << "lime shows the brush";
    EXPECT_EQ(paper.at(12, 4), clNavy) << "the arrow's stem";
    EXPECT_EQ(paper.at(16, 3), clYellow);
    EXPECT_EQ(paper.at(17, 3), clWhite);
    EXPECT_EQ(paper.at(2, 16), clYellow);
    EXPECT_EQ(paper.at(2, 17), clWhite);
}

TEST(Glyph, ATallerGlyphShowsItsMiddleRows) {
    TBitmap picture;
    picture.SetSize(2, 8);
    for (Integer y = 0; y < 8; ++y)
        for (Integer x = 0; x < 2; ++x)
            picture.Canvas()->SetPixels(x, y, RGB(0, 0, 10 * y));
    TSynGlyph glyph(nullptr, "SynEditWrapped", clLime);
    glyph.SetGlyph(&picture);
    EXPECT_EQ(glyph.Height(), 8) << "the user's picture wins";

    Paper paper(4, 10, clWhite);
    glyph.Draw(paper.canvas(), 1, 2, 4);
    EXPECT_EQ(paper.at(1, 1), clWhite);
    for (Integer row = 0; row < 4; ++row)
        EXPECT_EQ(paper.at(1, 2 + row), TColor(RGB(0, 0, 10 * (2 + row)))) << row;
    EXPECT_EQ(paper.at(1, 6), clWhite);
}

TEST(Glyph, AMissingResourceFails) {
    EXPECT_THROW(TSynGlyph(nullptr, "NoSuchBitmap", clNone), EResNotFound);
    EXPECT_THROW(TSynInternalImage(nullptr, "NoSuchBitmap", 3), EResNotFound);
}

namespace {

// The colours of one picture of the bookmark strip, read from the resource itself.
TColor stripPixel(Integer number, Integer x, Integer y) {
    TBitmap strip;
    strip.LoadFromResourceName(nullptr, "SynEditInternalImages");
    return strip.Canvas()->Pixels(number * 11 + x, y);
}

} // namespace

TEST(InternalImage, BookmarkPicturesAreCopiedOpaque) {
    TSynInternalImage images(nullptr, "SynEditInternalImages", 10);
    EXPECT_EQ(images.Width(), 11);
    EXPECT_EQ(images.Height(), 14);

    Paper paper(30, 20, clWhite);
    images.Draw(paper.canvas(), 3, 5, 1, 18);
    for (Integer y = 0; y < 14; ++y)
        for (Integer x = 0; x < 11; ++x)
            ASSERT_EQ(paper.at(5 + x, 3 + y), stripPixel(3, x, y)) << x << "," << y;
    EXPECT_EQ(paper.at(5, 2), clWhite);
    EXPECT_EQ(paper.at(16, 3), clWhite);

    Paper clipped(12, 10, clWhite);
    images.Draw(clipped.canvas(), 0, 0, 0, 10);
    for (Integer y = 0; y < 10; ++y)
        EXPECT_EQ(clipped.at(5, y), stripPixel(0, 5, y + 2)) << "the middle rows, from row 2: " << y;
}

TEST(InternalImage, NumbersOutsideTheStripDrawNothing) {
    TSynInternalImage images(nullptr, "SynEditInternalImages", 10);
    Paper paper(30, 20, clWhite);
    for (Integer number : {-1, 10, 99})
        images.Draw(paper.canvas(), number, 0, 0, 14);
    for (Integer y = 0; y < 20; ++y)
        for (Integer x = 0; x < 30; ++x)
            ASSERT_EQ(paper.at(x, y), clWhite);
}

TEST(InternalImage, TransparentDrawingLeavesTheBackgroundColour) {
    TSynInternalImage images(nullptr, "SynEditInternalImages", 10);
    Paper paper(11, 14, clRed);
    paper.canvas()->Brush()->SetColor(clBlue);
    images.DrawTransparent(paper.canvas(), 7, 0, 0, 14, clSilver);
    EXPECT_EQ(paper.at(0, 0), clRed) << "silver corner left out";
    EXPECT_EQ(paper.at(1, 1), stripPixel(7, 1, 1)) << "the outline is drawn";
    EXPECT_EQ(paper.canvas()->Brush()->Color(), clBlue);
    EXPECT_EQ(paper.canvas()->Brush()->Style(), bsSolid);
}

TEST(InternalImage, StripsOfOneResourceShareItsBitmap) {
    auto first = std::make_unique<TSynInternalImage>(nullptr, "SynEditInternalImages", 10);
    TSynInternalImage second(nullptr, "synedITinternalimages", 10);
    first.reset();
    Paper paper(11, 14, clWhite);
    second.Draw(paper.canvas(), 9, 0, 0, 14);
    EXPECT_EQ(paper.at(5, 5), stripPixel(9, 5, 5)) << "the bitmap outlives the first strip";
}
