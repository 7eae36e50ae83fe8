// The colour tab's arithmetic: worked values, every input of the quantisers
// and every RGB colour through both conversions, checked against a second,
// independently written version of the conversion rules.
#include "colour/ColorConvert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <sstream>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb hsvToRgb(unsigned int h, int s, int v) {
    Byte r = 0, g = 0, b = 0;
    CalcHSV2RGB(r, g, b, h, static_cast<Byte>(s), static_cast<Byte>(v));
    return {r, g, b};
}

struct Hsv {
    unsigned int h;
    int s, v;
    friend bool operator==(const Hsv&, const Hsv&) = default;
};

std::ostream& operator<<(std::ostream& out, const Hsv& c) {
    return out << "(" << c.h << ", " << c.s << ", " << c.v << ")";
}

constexpr unsigned int UntouchedHue = 12345;

Hsv rgbToHsv(int r, int g, int b) {
    Hsv result{UntouchedHue, -1, -1};
    Byte s = 0, v = 0;
    CalcRGB2HSV(result.h, s, v, static_cast<Byte>(r), static_cast<Byte>(g), static_cast<Byte>(b));
    result.s = s;
    result.v = v;
    return result;
}

// ---- The conversion rules once more, written from their description. ----

// RGB to HSV: the hue is 60 degrees per sector; the sector starts at 0, 2 or 4
// for red, green or blue as the (first) maximum, and the offset within it is
// the distance of the channel before the maximum minus that of the one after.
Hsv referenceRgbToHsv(int r, int g, int b, unsigned int previousHue) {
    const int channels[3] = {r, g, b};
    const int v = std::max({r, g, b});
    const int lowest = std::min({r, g, b});
    const int s = v == 0 ? 0 : (v - lowest) * 255 / v;
    if (s == 0) return {previousHue, s, v};
    const int top = std::find(channels, channels + 3, v) - channels;
    const double span = v - lowest;
    auto distance = [&](int channel) { return (v - channels[channel]) / span; };
    const long double exactSector = 2 * top + static_cast<long double>(distance((top + 2) % 3)) -
                                    static_cast<long double>(distance((top + 1) % 3));
    double degrees = static_cast<double>(exactSector) * 60;
    if (degrees < 0) degrees += 360;
    return {static_cast<unsigned int>(std::trunc(degrees)) % 360, s, v};
}

// HSV to RGB in the extended format with 1/60 and 1/255 rounded up to 64-bit
// mantissas (built here from their mantissas and exponents).
Rgb referenceHsvToRgb(unsigned int h, int s, int v) {
    if (s == 0) return {v, v, v};
    while (h >= 360)
        h -= 360;
    const long double sixtieth = std::ldexp(static_cast<long double>(0x8888888888888889ULL), -63 - 6);
    const long double twoFiftyFifth = std::ldexp(static_cast<long double>(0x8080808080808081ULL), -63 - 8);
    const long double position = h * sixtieth;
    const int sector = static_cast<int>(position);
    const double fraction = static_cast<double>(position) - sector;
    auto shaded = [&](long double weight) {
        long double x = s * weight;
        x = 255 - x;
        x = x * v;
        x = x * twoFiftyFifth;
        return static_cast<int>(x);
    };
    enum { Full, Low, Falling, Rising };
    const int values[4] = {v, (255 - s) * v / 255, shaded(fraction),
                           shaded(1 - static_cast<long double>(fraction))};
    static const int channelsBySector[6][3] = {{Full, Rising, Low}, {Falling, Full, Low},
                                               {Low, Full, Rising}, {Low, Falling, Full},
                                               {Rising, Low, Full}, {Full, Low, Falling}};
    const int* roles = channelsBySector[sector];
    return {values[roles[0]], values[roles[1]], values[roles[2]]};
}

// Collects the first few mismatches of an exhaustive run, so that a fault
// shows its examples without flooding the output.
class MismatchLog {
public:
    template <typename Input, typename Value>
    void check(const Input& input, const Value& actual, const Value& expected) {
        if (actual == expected) return;
        if (++count_ <= MaxShown) {
            std::ostringstream line;
            line << "  " << input << ": got " << actual << ", expected " << expected << "\n";
            examples_ += line.str();
        }
    }
    void expectNone() const { EXPECT_EQ(count_, 0) << "first mismatches:\n" << examples_; }

private:
    static constexpr int MaxShown = 10;
    long count_ = 0;
    std::string examples_;
};

// ---- Colour text ----

TEST(ColorText, SixDigitsRedGreenBlue) {
    const struct {
        TColor color;
        const char* text;
    } cases[] = {
        {0, "000000"},
        {0xFFFFFF, "FFFFFF"},
        {0x00563412, "123456"},
        {0x0000FF, "FF0000"},
        {0xFF0000, "0000FF"},
        {0xABCDEF, "EFCDAB"},
        {static_cast<TColor>(0x8000000F), "000080"}, // a system colour is not resolved
        {0x1FFFFFFF, "FFFF1F"},                      // clNone: the same places of "1fffffff"
    };
    for (const auto& c : cases)
        EXPECT_EQ(Color2Hex(c.color), c.text) << std::hex << c.color;
}

// ---- Quantisers ----

TEST(Quantisers, SmartChannelThresholds) {
    const int cases[][2] = {{0, 0},     {7, 0},     {8, 17},      {24, 17},      {25, 34},
                            {126, 119}, {127, 136}, {245, 238},   {246, 255},    {255, 255},
                            {-1, 0},    {256, 255}, {INT_MIN, 0}, {INT_MAX, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(SmartChannel(c[0]), c[1]) << c[0];
}

TEST(Quantisers, SmartChannelEveryValue) {
    for (int v = -1000; v <= 1000; ++v) {
        int expected = 0;
        for (int k = 1; k <= 15; ++k)
            if (v >= 17 * k - 9) expected = 17 * k;
        ASSERT_EQ(SmartChannel(v), expected) << v;
        if (v >= 0 && v <= 255) {
            ASSERT_EQ(SmartChannel(v), 17 * ((v + 9) / 17)) << v;
        }
    }
}

TEST(Quantisers, SafeChannelThresholds) {
    const int cases[][2] = {{0, 0},     {24, 0},    {25, 51},     {75, 51},      {76, 102},  {125, 102},
                            {126, 153}, {176, 153}, {177, 204},   {227, 204},    {228, 255}, {255, 255},
                            {-5, 0},    {300, 255}, {INT_MIN, 0}, {INT_MAX, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(SafeChannel(c[0]), c[1]) << c[0];
}

int expectedSafeLevel(int v) {
    if (v < 25) return 0;
    if (v <= 75) return 51;
    if (v <= 125) return 102;
    if (v <= 176) return 153;
    if (v <= 227) return 204;
    return 255;
}

TEST(Quantisers, SafeChannelEveryValue) {
    for (int v = -1000; v <= 1000; ++v)
        ASSERT_EQ(SafeChannel(v), expectedSafeLevel(v)) << v;
}

TEST(Quantisers, WebSafeColorEveryColour) {
    MismatchLog log;
    for (TColor color = 0; color <= 0xFFFFFF; ++color) {
        const TColor expected = expectedSafeLevel(color & 0xFF) |
                                expectedSafeLevel((color >> 8) & 0xFF) << 8 |
                                expectedSafeLevel((color >> 16) & 0xFF) << 16;
        log.check(color, WebSafeColor(color), expected);
    }
    log.expectNone();
}

TEST(Quantisers, WebSafeColorDropsTheTopByte) {
    EXPECT_EQ(WebSafeColor(static_cast<TColor>(0x80FF8040)), 0xFF9933);
    EXPECT_EQ(WebSafeColor(0x1FFFFFFF), 0xFFFFFF);
    EXPECT_EQ(WebSafeColor(static_cast<TColor>(0x8000000F)), 0);
}

// ---- HSV to RGB ----

TEST(HsvToRgb, WorkedValues) {
    const struct {
        unsigned int h;
        int s, v;
        Rgb rgb;
    } cases[] = {
        {0, 255, 255, {255, 0, 0}},     {20, 255, 255, {255, 84, 0}}, // t is 84.99999999999999
        {30, 255, 255, {255, 127, 0}},  {60, 255, 255, {255, 255, 0}}, {200, 128, 200, {99, 166, 200}},
        {300, 100, 50, {50, 30, 50}},   {359, 255, 255, {255, 0, 4}},  {120, 255, 255, {0, 255, 0}},
        {180, 255, 128, {0, 128, 128}}, {240, 255, 255, {0, 0, 255}},  {300, 255, 255, {255, 0, 255}},
        {77, 0, 200, {200, 200, 200}},  {0, 255, 0, {0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hsvToRgb(c.h, c.s, c.v), c.rgb) << c.h << " " << c.s << " " << c.v;
}

TEST(HsvToRgb, HuesOfAFullCircleOrMoreAreReduced) {
    const unsigned int cases[][2] = {
        {360, 0}, {380, 20}, {719, 359}, {1000, 280}, {UINT_MAX, UINT_MAX % 360}};
    for (const auto& c : cases)
        EXPECT_EQ(hsvToRgb(c[0], 200, 180), hsvToRgb(c[1], 200, 180)) << c[0];
    EXPECT_EQ(hsvToRgb(380, 255, 255), (Rgb{255, 84, 0}));
}

// ---- RGB to HSV ----

TEST(RgbToHsv, WorkedValues) {
    const struct {
        Rgb rgb;
        Hsv hsv;
    } cases[] = {
        {{255, 128, 0}, {30, 255, 255}}, {{18, 52, 86}, {210, 201, 86}}, {{200, 100, 100}, {0, 127, 200}},
        {{255, 0, 1}, {359, 255, 255}},  {{255, 84, 0}, {19, 255, 255}}, {{0, 1, 6}, {230, 255, 6}},
        {{0, 255, 0}, {120, 255, 255}},  {{0, 0, 255}, {240, 255, 255}}, {{255, 0, 255}, {300, 255, 255}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rgbToHsv(c.rgb.r, c.rgb.g, c.rgb.b), c.hsv) << c.rgb;
}

TEST(RgbToHsv, AchromaticColoursKeepTheCallersHue) {
    EXPECT_EQ(rgbToHsv(128, 128, 128), (Hsv{UntouchedHue, 0, 128}));
    EXPECT_EQ(rgbToHsv(0, 0, 0), (Hsv{UntouchedHue, 0, 0}));
    EXPECT_EQ(rgbToHsv(255, 255, 255), (Hsv{UntouchedHue, 0, 255}));
    // The smallest spread is already chromatic.
    EXPECT_EQ(rgbToHsv(255, 255, 254), (Hsv{60, 1, 255}));
}

TEST(RgbToHsv, TruncationsDoNotRoundTrip) {
    const Rgb rgb = hsvToRgb(20, 255, 255);
    EXPECT_EQ(rgbToHsv(rgb.r, rgb.g, rgb.b), (Hsv{19, 255, 255}));
}

// ---- Status indicator ----

class RecordingIndicator : public ColorStatusIndicator {
public:
    void ShowColorStatus(ColorStatus status) override { shown.push_back(status); }
    std::vector<ColorStatus> shown;
};

class StatusIndicator : public ::testing::Test {
protected:
    void SetUp() override { SetColorStatusIndicator(&indicator); }
    void TearDown() override { SetColorStatusIndicator(nullptr); }
    RecordingIndicator indicator;
};

TEST_F(StatusIndicator, ChromaticAndAchromaticResults) {
    rgbToHsv(255, 128, 0);
    rgbToHsv(90, 90, 90);
    rgbToHsv(0, 0, 0);
    EXPECT_EQ(indicator.shown,
              (std::vector<ColorStatus>{ColorStatus::ColorOk, ColorStatus::Achroma, ColorStatus::Achroma}));
}

TEST_F(StatusIndicator, OnlyTheRgbToHsvDirectionReports) {
    hsvToRgb(30, 255, 255);
    EXPECT_TRUE(indicator.shown.empty());
}

TEST(StatusCaption, Texts) {
    EXPECT_EQ(ColorStatusCaption(ColorStatus::ColorOk), "Color OK");
    EXPECT_EQ(ColorStatusCaption(ColorStatus::Achroma), "Achroma");
    EXPECT_EQ(ColorStatusCaption(ColorStatus::Grey), "Grey");
}

TEST(StatusCaption, ConversionWithoutAnIndicatorReportsNothing) {
    EXPECT_EQ(rgbToHsv(255, 128, 0), (Hsv{30, 255, 255}));
}

// ---- Every input ----

TEST(ExhaustiveConversion, EveryRgbColourToHsvAndBack) {
    MismatchLog toHsv, back;
    int largestDrift = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const Rgb rgb{r, g, b};
                const Hsv hsv = rgbToHsv(r, g, b);
                toHsv.check(rgb, hsv, referenceRgbToHsv(r, g, b, UntouchedHue));
                const Rgb returned = hsvToRgb(hsv.h, hsv.s, hsv.v);
                back.check(hsv, returned, referenceHsvToRgb(hsv.h, hsv.s, hsv.v));
                largestDrift = std::max({largestDrift, std::abs(returned.r - r), std::abs(returned.g - g),
                                         std::abs(returned.b - b)});
            }
    toHsv.expectNone();
    back.expectNone();
    // Up to a degree of hue is lost (255 / 60 channel steps at full
    // saturation) and the channels are truncated: no channel moves more than 5.
    EXPECT_LE(largestDrift, 5);
}

TEST(ExhaustiveConversion, EveryHsvTripleToRgb) {
    MismatchLog log;
    for (unsigned int h = 0; h < 360; ++h)
        for (int s = 0; s < 256; ++s)
            for (int v = 0; v < 256; ++v)
                log.check(Hsv{h, s, v}, hsvToRgb(h, s, v), referenceHsvToRgb(h, s, v));
    log.expectNone();
}

} // namespace
