// One evaluation of any raster operation, with direct loops for the
// operations that copy, mask, merge or invert.
#include "platform/win/RasterOps.h"

#include <algorithm>
#include <array>

namespace {

constexpr RopTable tableBlackness = 0x00;
constexpr RopTable tableWhiteness = 0xFF;
constexpr RopTable tableSourceCopy = 0xCC;
constexpr RopTable tableNotSourceCopy = 0x33;
constexpr RopTable tableSourceAnd = 0x88;
constexpr RopTable tableSourcePaint = 0xEE;
constexpr RopTable tableSourceInvert = 0x66;
constexpr RopTable tablePatternCopy = 0xF0;
constexpr RopTable tablePatternInvert = 0x5A;
constexpr RopTable tableDestinationInvert = 0x55;
constexpr RopTable tableDestination = 0xAA;

// Each minterm's mask is all ones when the table holds a 1 for it.
struct Minterms {
    explicit Minterms(RopTable table) {
        for (int index = 0; index < 8; ++index)
            masks[index] = ((table >> index) & 1) ? ~Pixel{0} : Pixel{0};
    }
    Pixel Evaluate(Pixel p, Pixel s, Pixel d) const {
        Pixel np = ~p, ns = ~s, nd = ~d;
        return ((np & ns & nd & masks[0]) | (np & ns & d & masks[1]) | (np & s & nd & masks[2]) |
                (np & s & d & masks[3]) | (p & ns & nd & masks[4]) | (p & ns & d & masks[5]) |
                (p & s & nd & masks[6]) | (p & s & d & masks[7])) &
               PixelColourMask;
    }
    std::array<Pixel, 8> masks{};
};

template <typename Operation> void forEachPixel(Pixel* destination, int count, Operation operation) {
    for (int i = 0; i < count; ++i)
        destination[i] = operation(i, destination[i]) & PixelColourMask;
}

bool applyDirectLoop(RopTable table, Pixel* d, const Pixel* s, const Pixel* p, int count) {
    switch (table) {
    case tableBlackness:
        std::fill_n(d, count, PixelBlack);
        return true;
    case tableWhiteness:
        std::fill_n(d, count, PixelWhite);
        return true;
    case tableDestination:
        return true;
    case tableSourceCopy:
        std::copy_n(s, count, d);
        return true;
    case tablePatternCopy:
        std::copy_n(p, count, d);
        return true;
    case tableNotSourceCopy:
        forEachPixel(d, count, [s](int i, Pixel) { return ~s[i]; });
        return true;
    case tableSourceAnd:
        forEachPixel(d, count, [s](int i, Pixel dest) { return s[i] & dest; });
        return true;
    case tableSourcePaint:
        forEachPixel(d, count, [s](int i, Pixel dest) { return s[i] | dest; });
        return true;
    case tableSourceInvert:
        forEachPixel(d, count, [s](int i, Pixel dest) { return s[i] ^ dest; });
        return true;
    case tablePatternInvert:
        forEachPixel(d, count, [p](int i, Pixel dest) { return p[i] ^ dest; });
        return true;
    case tableDestinationInvert:
        forEachPixel(d, count, [](int, Pixel dest) { return ~dest; });
        return true;
    default:
        return false;
    }
}

} // namespace

RopTable RopTableOfMixMode(int mixMode) {
    if (mixMode < R2_BLACK || mixMode > R2_WHITE) mixMode = R2_COPYPEN;
    // A mix mode's four-bit table is its number minus one, bit (P * 2 + D).
    int mixTable = mixMode - 1;
    RopTable table = 0;
    for (int index = 0; index < 8; ++index) {
        int pen = (index >> 2) & 1, destination = index & 1;
        if ((mixTable >> (pen * 2 + destination)) & 1) table |= static_cast<RopTable>(1 << index);
    }
    return table;
}

Pixel ApplyRop(RopTable table, Pixel pattern, Pixel source, Pixel destination) {
    return Minterms(table).Evaluate(pattern, source, destination);
}

void ApplyRopToRow(RopTable table, Pixel* destination, const Pixel* source, const Pixel* pattern, int count) {
    if (count <= 0 || applyDirectLoop(table, destination, source, pattern, count)) return;
    Minterms minterms(table);
    for (int i = 0; i < count; ++i) {
        Pixel p = pattern ? pattern[i] : 0;
        Pixel s = source ? source[i] : 0;
        destination[i] = minterms.Evaluate(p, s, destination[i]);
    }
}
