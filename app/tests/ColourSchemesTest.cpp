// The eight harmony schemes against a model of their rules: for grey,
// saturated and dark source colours and several offsets, every grid panel's
// colour, caption and caption font, and the preview for every output choice.
#include "ColourPageFixture.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"

namespace {

struct Swatch {
    TColor color = 0;
    AnsiString caption;
    TColor font = 0;
    bool operator==(const Swatch&) const = default;
};
using Grid = std::array<Swatch, 24>;

void PrintTo(const Swatch& S, std::ostream* Out) {
    *Out << "{" << std::hex << S.color << " " << S.caption << " font " << S.font << std::dec << "}";
}

TColor fromHSV(unsigned int H, Byte S, Byte V) {
    Byte r = 0, g = 0, b = 0;
    CalcHSV2RGB(r, g, b, H, S, V);
    return static_cast<TColor>(r | g << 8 | b << 16);
}

Swatch swatch(unsigned int H, Byte S, Byte V, bool White) {
    const TColor color = fromHSV(H, S, V);
    return {color, Color2Hex(color), White ? TColor(0xFFFFFF) : TColor(0)};
}

// "V below 160 gives white captions".
Swatch byValue(unsigned int H, Byte S, Byte V) {
    return swatch(H, S, V, V < 160);
}

Byte times(Byte Value, double Factor) {
    return static_cast<Byte>(static_cast<long double>(Value) * Factor);
}

struct Hsv {
    unsigned int h;
    Byte s, v;
};

// The source's HSV; the hue variable starts as the colour value itself.
Hsv sourceOf(TColor Source) {
    Hsv hsv{static_cast<unsigned int>(Source), 0, 0};
    CalcRGB2HSV(hsv.h, hsv.s, hsv.v, Source & 0xFF, (Source >> 8) & 0xFF, (Source >> 16) & 0xFF);
    return hsv;
}

void monochromatic(Grid& g, TColor Source) {
    const Hsv h0 = sourceOf(Source);
    const Byte stepS = h0.s / 8, stepV = h0.v / 9;
    Byte v = h0.v;
    for (int k = 0; k < 6; ++k) {
        v -= stepV;
        g[k] = swatch(h0.h, h0.s, v, Byte(v - stepV) < 160);
    }
    Hsv h1{h0.h, 0, 0};
    const TColor sixth = g[5].color;
    CalcRGB2HSV(h1.h, h1.s, h1.v, sixth & 0xFF, (sixth >> 8) & 0xFF, (sixth >> 16) & 0xFF);
    Byte s = h1.s;
    for (int k = 0; k < 6; ++k) {
        s -= stepS;
        g[6 + k] = swatch(h1.h, s, h1.v, Byte(s - stepS) > 180);
    }
}

void analogic(Grid& g, TColor Source, unsigned int Off) {
    const Hsv h0 = sourceOf(Source);
    const unsigned int hues[] = {h0.h + 360 - Off, h0.h + Off};
    for (int row = 0; row < 2; ++row) {
        const unsigned int h = hues[row];
        const Byte s8 = times(h0.s, 0.8);
        g[row * 6 + 0] = byValue(h, h0.s, h0.v);
        g[row * 6 + 1] = byValue(h, h0.s, times(h0.v, 0.8));
        g[row * 6 + 2] = byValue(h, h0.s, times(times(h0.v, 0.8), 0.8));
        g[row * 6 + 3] = byValue(h, s8, h0.v);
        g[row * 6 + 4] = byValue(h, times(s8, 0.7), h0.v);
        g[row * 6 + 5] = byValue(h, times(times(s8, 0.7), 0.7), h0.v);
    }
}

void complementary(Grid& g, TColor Source) {
    const Hsv h0 = sourceOf(Source);
    Byte v = h0.v;
    Byte s = h0.s;
    for (int k = 0; k < 6; ++k) {
        g[k] = byValue(h0.h + 180, h0.s, v);
        v = times(v, 0.9);
        s = times(s, 0.8);
        g[6 + k] = byValue(h0.h + 180, s, h0.v);
    }
}

// Columns (1-based) a and a+1: top-left, bottom-left, top-right, bottom-right.
void columnPair(Grid& g, int A, unsigned int H, const Hsv& h0) {
    g[A - 1] = byValue(H, h0.s, h0.v);
    g[A + 5] = byValue(H, h0.s, times(h0.v, 0.8));
    g[A] = byValue(H, times(h0.s, 0.8), h0.v);
    g[A + 6] = byValue(H, times(times(h0.s, 0.8), 0.8), h0.v);
}

void fourPanel(Grid& g, TColor Source, unsigned int Off, bool Double) {
    const Hsv h0 = sourceOf(Source);
    columnPair(g, 1, h0.h + 180, h0);
    columnPair(g, 5, Double ? h0.h + Off : h0.h + 180 - Off, h0);
    columnPair(g, 3, Double ? h0.h + 240 - Off : h0.h + 180 + Off, h0);
}

void threeColumns(Grid& g, TColor Source, unsigned int Off, bool Triadic) {
    const Hsv h0 = sourceOf(Source);
    const unsigned int hues[] = {Triadic ? h0.h + 120 : h0.h + 180 - Off,
                                 Triadic ? h0.h + 240 : h0.h + 180 + Off};
    for (int half = 0; half < 2; ++half) {
        const int c = half * 3;
        const unsigned int h = hues[half];
        Byte v = h0.v;
        Byte s = h0.s;
        for (int k = 0; k < 3; ++k) {
            g[c + k] = byValue(h, h0.s, v);
            v = times(v, 0.8);
            s = times(s, 0.8);
            g[c + 6 + k] = byValue(h, s, h0.v);
        }
    }
}

void achromatic(Grid& g, Integer Green) {
    const TColor fixed[] = {0x000000, 0x333333, 0x666666, 0x999999, 0xCCCCCC, 0xFFFFFF};
    for (int k = 0; k < 6; ++k)
        g[18 + k] = {fixed[k], Color2Hex(fixed[k]), k < 3 ? TColor(0xFFFFFF) : TColor(0)};
    auto grey = [](Integer v) {
        const TColor c = static_cast<TColor>(v | v << 8 | v << 16);
        return Swatch{c, Color2Hex(c), v < 160 ? TColor(0xFFFFFF) : TColor(0)};
    };
    Integer v = Green;
    for (int k = 0; k < 6; ++k)
        g[k] = grey(v += (255 - Green) / 6);
    v = Green;
    for (int k = 0; k < 6; ++k)
        g[6 + k] = grey(v -= Green / 6);
}

void mirrorAndSafeRows(Grid& g) {
    const int mirrors[] = {6, 4, 1, 9, 7, 12};
    for (int k = 0; k < 6; ++k) {
        g[12 + k] = g[mirrors[k] - 1];
        const TColor safe = WebSafeColor(g[12 + k].color);
        g[18 + k] = {safe, Color2Hex(safe), g[12 + k].font};
    }
}

Grid model(Integer Scheme, TColor Source, unsigned int Offset, Integer Green) {
    Grid g;
    switch (Scheme) {
    case 0:
        achromatic(g, Green);
        return g;
    case 1:
        monochromatic(g, Source);
        break;
    case 2:
        analogic(g, Source, Offset);
        break;
    case 3:
        complementary(g, Source);
        break;
    case 4:
        fourPanel(g, Source, Offset, false);
        break;
    case 5:
        threeColumns(g, Source, Offset, false);
        break;
    case 6:
        fourPanel(g, Source, Offset, true);
        break;
    case 7:
        threeColumns(g, Source, Offset, true);
        break;
    }
    mirrorAndSafeRows(g);
    return g;
}

// The preview panels' sources (1-based grid panels) for each output choice.
constexpr int PreviewSources[4][6] = {
    {1, 2, 4, 3, 5, 6}, {7, 8, 9, 10, 11, 12}, {13, 14, 15, 16, 17, 18}, {19, 20, 21, 22, 23, 24}};

class ColourSchemesTest : public ColourPageTest {
protected:
    std::array<TPanel*, 24> gridPanels() const {
        TMainForm& f = *form;
        return {f.ClPanel1,  f.ClPanel2,  f.ClPanel3,  f.ClPanel4,  f.ClPanel5,  f.ClPanel6,
                f.ClPanel7,  f.ClPanel8,  f.ClPanel9,  f.ClPanel10, f.ClPanel11, f.ClPanel12,
                f.ClPanel13, f.ClPanel14, f.ClPanel15, f.ClPanel16, f.ClPanel17, f.ClPanel18,
                f.ClPanel19, f.ClPanel20, f.ClPanel21, f.ClPanel22, f.ClPanel23, f.ClPanel24};
    }
    Grid shown() const {
        Grid g;
        const auto panels = gridPanels();
        for (std::size_t k = 0; k < 24; ++k)
            g[k] = {panels[k]->Color(), panels[k]->Caption(), panels[k]->Font()->Color()};
        return g;
    }
    void build(Integer Scheme, TColor Source, Integer Offset) {
        form->ColorShemeRdoGr->SetItemIndex(Scheme);
        form->OffsetSlider->SetValue(Offset);
        form->SourceColorPanel->SetColor(Source);
        form->ColorCalculation();
    }
};

TEST_F(ColourSchemesTest, EverySchemeMatchesItsRulesForEachSourceOffsetAndOutput) {
    const TColor sources[] = {0x808080, 0x0000FF, 0x563412, 0x0A0514, 0xF0F0FF, 0x2B00FF, 0x000000};
    const Integer offsets[] = {1, 30, 60};
    for (Integer scheme = 0; scheme < 8; ++scheme)
        for (TColor source : sources)
            for (Integer offset : offsets) {
                build(scheme, source, offset);
                const Grid expected =
                    model(scheme, source, static_cast<unsigned int>(offset), form->GSlider->Value());
                const Grid actual = shown();
                for (std::size_t k = 0; k < 24; ++k) {
                    if (scheme == 0 && k >= 12 && k < 18) continue; // the hidden mirror row stays as it was
                    EXPECT_EQ(actual[k], expected[k])
                        << "scheme " << scheme << " source " << std::hex << source << std::dec << " offset "
                        << offset << " panel " << k + 1;
                }
                const std::array<TPanel*, 6> previews = {form->PrePanel1, form->PrePanel2, form->PrePanel3,
                                                         form->PrePanel4, form->PrePanel5, form->PrePanel6};
                for (Integer output = 0; output < 4; ++output) {
                    form->ColPalRdoGr->SetItemIndex(output);
                    form->ColPalRdoGrClick(form->ColPalRdoGr);
                    for (std::size_t p = 0; p < 6; ++p)
                        EXPECT_EQ(previews[p]->Color(), actual[PreviewSources[output][p] - 1].color)
                            << "scheme " << scheme << " output " << output << " preview " << p + 1;
                }
                form->ColPalRdoGr->SetItemIndex(3);
            }
}

TEST_F(ColourSchemesTest, EdgeValuesOfTheRules) {
    // Complementary of pure red: brightness 255, 229, 206, 185, 166, 149; the last caption white.
    build(3, 0x0000FF, 30);
    const Byte values[] = {255, 229, 206, 185, 166, 149};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(gridPanels()[k]->Color(), fromHSV(180, 255, values[k])) << k;
    EXPECT_EQ(form->ClPanel5->Font()->Color(), TColor(0));
    EXPECT_EQ(form->ClPanel6->Font()->Color(), TColor(0xFFFFFF));

    // Analogic with saturation 10: the fifth panel has 5, the sixth 3.
    build(2, 0xF5F5FF, 30);
    Hsv source = sourceOf(0xF5F5FF);
    ASSERT_EQ(source.s, 10);
    EXPECT_EQ(form->ClPanel5->Color(), fromHSV(source.h + 330, 5, 255));
    EXPECT_EQ(form->ClPanel6->Color(), fromHSV(source.h + 330, 3, 255));

    // Analogic, offset 60, hue 350: hues 290 and 50.
    build(2, 0x2A00FF, 60);
    source = sourceOf(0x2A00FF);
    ASSERT_EQ(source.h, 350u);
    EXPECT_EQ(form->ClPanel1->Color(), fromHSV(290, 255, 255));
    EXPECT_EQ(form->ClPanel7->Color(), fromHSV(50, 255, 255));

    // Output 0 puts the fourth panel into the third preview and the third into the fourth.
    form->ColPalRdoGr->SetItemIndex(0);
    EXPECT_EQ(form->PrePanel3->Color(), form->ClPanel4->Color());
    EXPECT_EQ(form->PrePanel4->Color(), form->ClPanel3->Color());
}

TEST_F(ColourSchemesTest, AchromaticAtFullGreenIsWhiteThenStepsDownBy42) {
    setRGB(255, 255, 255);
    form->ColorShemeRdoGr->SetItemIndex(0);
    ASSERT_EQ(form->GSlider->Value(), 255);
    for (TPanel* panel :
         {form->ClPanel1, form->ClPanel2, form->ClPanel3, form->ClPanel4, form->ClPanel5, form->ClPanel6})
        EXPECT_EQ(panel->Color(), TColor(0xFFFFFF));
    const TPanel* second[] = {form->ClPanel7,  form->ClPanel8,  form->ClPanel9,
                              form->ClPanel10, form->ClPanel11, form->ClPanel12};
    const Integer greys[] = {213, 171, 129, 87, 45, 3};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(second[k]->Color(), static_cast<TColor>(greys[k] * 0x010101)) << k;
    EXPECT_EQ(form->ClPanel19->Caption(), "000000");
    EXPECT_EQ(form->ClPanel24->Font()->Color(), TColor(0));
}

} // namespace
