#include "platform/vcl/Graphics.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/win/Gdi.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// A white bitmap to draw on.
std::unique_ptr<TBitmap> whiteBitmap(Integer width, Integer height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    return bitmap;
}

bool hasPixelOf(TCanvas* canvas, const TRect& area, TColor color) {
    for (Integer y = area.Top; y < area.Bottom; ++y)
        for (Integer x = area.Left; x < area.Right; ++x)
            if (canvas->Pixels(x, y) == color) return true;
    return false;
}

class TChangeCounter : public TObject {
public:
    void Count(TObject*) { ++changes; }
    TNotifyEvent Event() { return TNotifyEvent(this, &TChangeCounter::Count); }
    int changes = 0;
};

// A component with a canvas's three objects, streamed as sub-properties.
class TSwatch : public TComponent {
public:
    using TComponent::TComponent;
    TFont* Font() { return &font_; }
    TPen* Pen() { return &pen_; }
    TBrush* Brush() { return &brush_; }

private:
    TFont font_;
    TPen pen_;
    TBrush brush_;
};

const TClass describedSwatch = DescribeClass<TSwatch, TComponent>([](TClassBuilder<TSwatch>& c) {
    c.Property("Font", &TSwatch::Font);
    c.Property("Pen", &TSwatch::Pen);
    c.Property("Brush", &TSwatch::Brush);
});

} // namespace

TEST(Canvas, DrawingFollowsEveryChangeOfPenBrushAndFont) {
    auto bitmap = whiteBitmap(60, 30);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(Rect(0, 0, 60, 30));
    EXPECT_EQ(canvas->Pixels(5, 5), clRed);

    canvas->Pen()->SetColor(clBlue);
    canvas->MoveTo(0, 10);
    canvas->LineTo(60, 10);
    canvas->Pen()->SetColor(clLime);
    canvas->MoveTo(0, 12);
    canvas->LineTo(60, 12);
    EXPECT_EQ(canvas->Pixels(5, 10), clBlue);
    EXPECT_EQ(canvas->Pixels(5, 12), clLime);
    EXPECT_EQ(canvas->PenPos(), Point(60, 12));

    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetMode(pmXor);
    canvas->MoveTo(0, 10);
    canvas->LineTo(60, 10);
    EXPECT_EQ(canvas->Pixels(5, 10), clYellow) << "blue XOR white";
    canvas->Pen()->SetMode(pmCopy);

    canvas->Brush()->SetColor(clBlack);
    canvas->Font()->SetColor(clWhite);
    canvas->TextOut(0, 14, "W");
    TSize cell = canvas->TextExtent("W");
    TRect textCell = Rect(0, 14, cell.cx, 14 + cell.cy);
    EXPECT_EQ(canvas->Pixels(0, 14), clBlack) << "an opaque brush fills the text's background";
    EXPECT_TRUE(hasPixelOf(canvas, textCell, clWhite));
    EXPECT_EQ(canvas->PenPos(), Point(cell.cx, 14));

    canvas->Font()->SetColor(clAqua);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(0, 14, "W");
    EXPECT_TRUE(hasPixelOf(canvas, textCell, clAqua));
    EXPECT_EQ(canvas->Pixels(0, 14), clBlack) << "a clear brush leaves the background";

    canvas->SetPixels(59, 29, clNavy);
    EXPECT_EQ(canvas->Pixels(59, 29), clNavy);
    EXPECT_EQ(canvas->Pixels(60, 29), -1) << "outside the bitmap";
}

TEST(Canvas, ShapesUseThePenOutlineAndTheBrushFill) {
    auto bitmap = whiteBitmap(20, 20);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Pen()->SetColor(clRed);
    canvas->Brush()->SetColor(clBlue);
    canvas->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(canvas->Pixels(2, 2), clRed);
    EXPECT_EQ(canvas->Pixels(9, 9), clRed);
    EXPECT_EQ(canvas->Pixels(5, 5), clBlue);
    EXPECT_EQ(canvas->Pixels(10, 10), clWhite) << "right and bottom edges are exclusive";

    canvas->Pen()->SetStyle(psClear);
    canvas->Brush()->SetColor(clLime);
    canvas->Polygon({Point(12, 12), Point(19, 12), Point(19, 19)});
    EXPECT_EQ(canvas->Pixels(17, 13), clLime);
    EXPECT_EQ(canvas->Pixels(12, 18), clWhite);

    canvas->Brush()->SetColor(clBlack);
    canvas->FrameRect(Rect(0, 12, 8, 20));
    EXPECT_EQ(canvas->Pixels(0, 12), clBlack);
    EXPECT_EQ(canvas->Pixels(4, 16), clWhite);
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode) {
    auto source = whiteBitmap(2, 2);
    source->Canvas()->SetPixels(0, 0, clRed);
    auto target = whiteBitmap(4, 4);
    target->Canvas()->CopyRect(Rect(0, 0, 4, 4), source->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(target->Canvas()->Pixels(2, 2), clWhite);

    target->Canvas()->SetCopyMode(cmNotSrcCopy);
    target->Canvas()->CopyRect(Rect(0, 0, 4, 4), source->Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(target->Canvas()->Pixels(1, 1), clAqua);
    EXPECT_EQ(target->Canvas()->Pixels(2, 2), clBlack);
}

TEST(Canvas, WithoutAHandleItRefusesToDraw) {
    TCanvas canvas;
    try {
        canvas.FillRect(Rect(0, 0, 1, 1));
        FAIL();
    } catch (const EInvalidOperation& error) {
        EXPECT_EQ(error.Message, "Canvas does not allow drawing");
    }
}

TEST(Canvas, DrawsOnAHandleGivenToIt) {
    auto bitmap = whiteBitmap(4, 4);
    HDC dc = bitmap->Canvas()->Handle();
    TCanvas canvas;
    TChangeCounter changing, changed;
    canvas.OnChanging = changing.Event();
    canvas.OnChange = changed.Event();
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clGreen);
    canvas.FillRect(Rect(0, 0, 4, 4));
    canvas.SetHandle(nullptr);
    EXPECT_EQ(bitmap->Canvas()->Pixels(3, 3), clGreen);
    EXPECT_EQ(changing.changes, 1);
    EXPECT_EQ(changed.changes, 1);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(HOLLOW_BRUSH))
        << "letting go of the handle deselects the canvas's brush";
}

TEST(Canvas, LockKeepsOtherThreadsOut) {
    TCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    bool lockedElsewhere = true;
    std::thread([&] { lockedElsewhere = canvas.TryLock(); }).join();
    EXPECT_FALSE(lockedElsewhere);
    canvas.Unlock();
    canvas.Unlock();
    std::thread([&] {
        lockedElsewhere = canvas.TryLock();
        if (lockedElsewhere) canvas.Unlock();
    }).join();
    EXPECT_TRUE(lockedElsewhere);
    EXPECT_EQ(canvas.LockCount(), 0);
}

TEST(Font, HandleIsMadeAgainAfterAChangeAndTheCanvasSelectsIt) {
    auto bitmap = whiteBitmap(4, 4);
    TCanvas* canvas = bitmap->Canvas();
    TFont* font = canvas->Font();
    font->SetName("Arial");
    Integer smallWidth = canvas->TextWidth("Hello");
    ASSERT_TRUE(font->HandleAllocated());

    font->SetStyle({fsBold, fsItalic});
    font->SetSize(16);
    EXPECT_FALSE(font->HandleAllocated()) << "a change frees the handle";
    LOGFONTA logFont{};
    ASSERT_EQ(GetObjectA(font->Handle(), sizeof(logFont), &logFont), static_cast<int>(sizeof(logFont)));
    EXPECT_EQ(logFont.lfHeight, -21);
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    EXPECT_TRUE(logFont.lfItalic);
    EXPECT_FALSE(logFont.lfUnderline);
    EXPECT_STREQ(logFont.lfFaceName, "Arial");
    EXPECT_GT(canvas->TextWidth("Hello"), 2 * smallWidth - 2);
}

TEST(Font, SizeAndHeightFollowThePixelsPerInch) {
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);

    TFont printerFont;
    printerFont.SetPixelsPerInch(600);
    printerFont.Assign(&font);
    EXPECT_EQ(printerFont.Size(), 12) << "a copy at another resolution keeps the point size";
    EXPECT_EQ(printerFont.Height(), -100);
}

TEST(GraphicsObjects, OnChangeFiresForRealChangesOnly) {
    TChangeCounter counter;
    TFont font;
    font.OnChange = counter.Event();
    font.SetName("Courier New");
    font.SetName("Courier New");
    font.SetName("");
    font.SetStyle({fsUnderline});
    font.SetColor(clRed);
    EXPECT_EQ(counter.changes, 3);
    EXPECT_EQ(font.Name(), "Courier New");

    TFont other;
    other.Assign(&font);
    counter.changes = 0;
    font.Assign(&other);
    EXPECT_EQ(counter.changes, 1) << "Assign announces once";

    TPen pen;
    pen.OnChange = counter.Event();
    counter.changes = 0;
    pen.SetWidth(-1);
    pen.SetWidth(3);
    pen.SetMode(pmNot);
    pen.SetColor(clBlack);
    EXPECT_EQ(counter.changes, 2);
    EXPECT_EQ(pen.Width(), 3);

    TBrush brush;
    brush.OnChange = counter.Event();
    counter.changes = 0;
    brush.SetStyle(bsClear);
    brush.SetColor(clWhite);
    EXPECT_EQ(counter.changes, 2);
    EXPECT_EQ(brush.Style(), bsSolid) << "a colour makes a clear brush solid";

    EXPECT_THROW(brush.Assign(&pen), EConvertError);
}

TEST(Frame3D, DrawsRingsAndShrinksTheRectangle) {
    auto bitmap = whiteBitmap(10, 10);
    TCanvas* canvas = bitmap->Canvas();
    TRect rect = Rect(0, 0, 10, 10);
    Frame3D(canvas, rect, clRed, clBlue, 2);
    EXPECT_EQ(rect, Rect(2, 2, 8, 8));
    struct Case {
        Integer x, y;
        TColor color;
    };
    const Case cases[] = {
        {0, 0, clRed},  {8, 0, clRed},  {0, 8, clRed},  {9, 0, clBlue},  {0, 9, clBlue},
        {9, 9, clBlue}, {5, 9, clBlue}, {9, 5, clBlue}, {1, 1, clRed},   {7, 1, clRed},
        {8, 1, clBlue}, {1, 8, clBlue}, {8, 8, clBlue}, {2, 2, clWhite}, {7, 7, clWhite},
    };
    for (const Case& c : cases)
        EXPECT_EQ(canvas->Pixels(c.x, c.y), c.color) << c.x << "," << c.y;
    EXPECT_EQ(canvas->Pen()->Color(), clBlue);
}

TEST(Colors, SystemColoursAndTheirNames) {
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
    EXPECT_EQ(ColorToRGB(clHighlight), 0x800000);
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clNone), clNone);

    struct Case {
        TColor color;
        const char* text;
    };
    const Case cases[] = {
        {clBtnFace, "clBtnFace"},  {clWhite, "clWhite"},      {clNone, "clNone"},
        {clDefault, "clDefault"},  {0x00123456, "$00123456"}, {clSystemColor | 99, "$80000063"},
        {0x02FF00FF, "$02FF00FF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToString(c.color), c.text);
        EXPECT_EQ(StringToColor(c.text), c.color) << c.text;
    }
    AnsiString ident;
    ASSERT_TRUE(CharsetToIdent(204, ident));
    EXPECT_EQ(ident, "RUSSIAN_CHARSET");
    Integer charset = 0;
    EXPECT_TRUE(IdentToCharset("oem_charset", charset));
    EXPECT_EQ(charset, 255);
}

TEST(Streaming, FontPenAndBrushTravelThroughAFormResource) {
    const AnsiString text = "object Swatch: TSwatch\n"
                            "  Font.Charset = RUSSIAN_CHARSET\n"
                            "  Font.Color = clRed\n"
                            "  Font.Height = -13\n"
                            "  Font.Name = 'Courier New'\n"
                            "  Font.Style = [fsBold, fsUnderline]\n"
                            "  Pen.Color = clBtnShadow\n"
                            "  Pen.Mode = pmXor\n"
                            "  Pen.Width = 2\n"
                            "  Brush.Style = bsClear\n"
                            "end\n";
    TSwatch swatch(nullptr);
    ReadComponentText(text, &swatch);
    EXPECT_EQ(swatch.Font()->Charset(), 204);
    EXPECT_EQ(swatch.Font()->Color(), clRed);
    EXPECT_EQ(swatch.Font()->Size(), 10);
    EXPECT_EQ(swatch.Font()->Name(), "Courier New");
    EXPECT_EQ(swatch.Font()->Style(), (TFontStyles{fsBold, fsUnderline}));
    EXPECT_EQ(swatch.Pen()->Color(), clBtnShadow);
    EXPECT_EQ(swatch.Pen()->Mode(), pmXor);
    EXPECT_EQ(swatch.Brush()->Style(), bsClear);
    EXPECT_EQ(WriteComponentText(&swatch), text);
}
