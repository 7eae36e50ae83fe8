// The colour arithmetic of the colour tab. The HSV to RGB direction works in
// the x87 extended format with rounded-up reciprocals in place of divisions;
// the channel values the tab shows are defined by that arithmetic, so it is
// reproduced exactly rather than approximated with doubles.
#include "colour/ColorConvert.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>

namespace {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "the colour conversions need the 80-bit extended format (64-bit mantissa)");

// 1/60 and 1/255 rounded up to a 64-bit mantissa. Rounding up makes every
// multiple of 60 degrees land exactly on its sector and keeps V * 255 / 255
// from truncating to V - 1.
constexpr Extended ReciprocalOf60 = 0x8.888888888888889p-9L;
constexpr Extended ReciprocalOf255 = 0x8.080808080808081p-11L;

constexpr int ChannelMax = 255;
constexpr unsigned int DegreesInCircle = 360;
constexpr double DegreesPerSector = 60;
constexpr double GreenSectorStart = 2;
constexpr double BlueSectorStart = 4;

constexpr int SmartLevelStep = 17;
constexpr int SmartRoundingAllowance = 9;
constexpr int SmartFirstThreshold = SmartLevelStep - SmartRoundingAllowance;
constexpr int SmartTopThreshold = ChannelMax - SmartRoundingAllowance;

struct SafeLevel {
    int threshold;
    int level;
};
// The boundaries are not evenly spaced: 126, not 127, already gives 153.
constexpr std::array<SafeLevel, 5> SafeLevels = {{{25, 51}, {76, 102}, {126, 153}, {177, 204}, {228, 255}}};

constexpr int GreenShift = 8;
constexpr int BlueShift = 16;
constexpr TColor ChannelMask = 0xFF;

ColorStatusIndicator* registeredIndicator = nullptr;

void reportStatus(ColorStatus status) {
    if (registeredIndicator) registeredIndicator->ShowColorStatus(status);
}

TColor composeColor(int red, int green, int blue) {
    return red | green << GreenShift | blue << BlueShift;
}

// The three channel distances from the maximum are rounded to doubles; the
// sector sum is formed exactly in the extended format and rounded once, so
// that hues which are whole numbers (230 for 0, 1, 6) are not pushed just
// below them by an intermediate rounding.
double hueSector(Byte R, Byte G, Byte B, Byte max, Byte min) {
    const double span = max - min;
    const double redDistance = (max - R) / span;
    const double greenDistance = (max - G) / span;
    const double blueDistance = (max - B) / span;
    if (R == max) return blueDistance - greenDistance;
    if (G == max) return static_cast<double>(GreenSectorStart + Extended(redDistance) - blueDistance);
    return static_cast<double>(BlueSectorStart + Extended(greenDistance) - redDistance);
}

unsigned int hueDegrees(double sector) {
    double degrees = DegreesPerSector * sector;
    if (!(degrees >= 0)) degrees += DegreesInCircle;
    const auto hue = static_cast<unsigned int>(degrees);
    return hue == DegreesInCircle ? 0 : hue;
}

// trunc(((255 - S * weight) * V) / 255) with the rounded-up reciprocal, every
// step rounded to the extended format.
Byte shadedChannel(Byte S, Extended weight, Byte V) {
    const Extended shaded = (ChannelMax - S * weight) * V * ReciprocalOf255;
    return static_cast<Byte>(static_cast<int>(shaded));
}

} // namespace

AnsiString ColorStatusCaption(ColorStatus status) {
    switch (status) {
    case ColorStatus::ColorOk:
        return "Color OK";
    case ColorStatus::Achroma:
        return "Achroma";
    case ColorStatus::Grey:
        return "Grey";
    }
    return {};
}

void SetColorStatusIndicator(ColorStatusIndicator* indicator) {
    registeredIndicator = indicator;
}

AnsiString Color2Hex(TColor color) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06x", static_cast<unsigned int>(color));
    // The low byte (red) is the last pair of the text, blue the first of six.
    AnsiString text{digits[4], digits[5], digits[2], digits[3], digits[0], digits[1]};
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c; });
    return text;
}

int SmartChannel(int value) {
    if (value < SmartFirstThreshold) return 0;
    if (value >= SmartTopThreshold) return ChannelMax;
    // The highest level not above value + 9.
    return SmartLevelStep * ((value + SmartRoundingAllowance) / SmartLevelStep);
}

int SafeChannel(int value) {
    int level = 0;
    for (const SafeLevel& safe : SafeLevels)
        if (value >= safe.threshold) level = safe.level;
    return level;
}

TColor WebSafeColor(TColor color) {
    return composeColor(SafeChannel(color & ChannelMask), SafeChannel(color >> GreenShift & ChannelMask),
                        SafeChannel(color >> BlueShift & ChannelMask));
}

void CalcRGB2HSV(unsigned int& H, Byte& S, Byte& V, Byte R, Byte G, Byte B) {
    const Byte max = std::max({R, G, B});
    const Byte min = std::min({R, G, B});
    V = max;
    S = max == 0 ? 0 : static_cast<Byte>((max - min) * ChannelMax / max);
    if (S == 0) {
        // Achromatic: the hue is undefined and the caller keeps the one it had.
        reportStatus(ColorStatus::Achroma);
        return;
    }
    reportStatus(ColorStatus::ColorOk);
    H = hueDegrees(hueSector(R, G, B, max, min));
}

void CalcHSV2RGB(Byte& R, Byte& G, Byte& B, unsigned int H, Byte S, Byte V) {
    if (S == 0) {
        R = G = B = V;
        return;
    }
    const Extended position = (H % DegreesInCircle) * ReciprocalOf60;
    const int sector = static_cast<int>(position);
    const double fraction = static_cast<double>(position) - sector;
    const auto low = static_cast<Byte>((ChannelMax - S) * V / ChannelMax);
    const Byte falling = shadedChannel(S, fraction, V);
    const Byte rising = shadedChannel(S, 1 - Extended(fraction), V);
    switch (sector) {
    case 0:
        R = V, G = rising, B = low;
        break;
    case 1:
        R = falling, G = V, B = low;
        break;
    case 2:
        R = low, G = V, B = rising;
        break;
    case 3:
        R = low, G = falling, B = V;
        break;
    case 4:
        R = rising, G = low, B = V;
        break;
    case 5:
        R = V, G = low, B = falling;
        break;
    }
}
