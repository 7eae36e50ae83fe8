// Raster operations. A ternary raster operation (ROP3) is a truth table over
// the bits of pattern, source and destination: bits 16 to 23 of its Windows
// code, bit (P * 4 + S * 2 + D) giving the result. A mix mode (ROP2) is the
// same over pen and destination. Both are evaluated by one routine.
#pragma once

#include "platform/win/PixelSurface.h"

using RopTable = Byte;

constexpr RopTable RopTableOf(DWORD rop3) {
    return static_cast<RopTable>(rop3 >> 16);
}

// The table of a mix mode (R2_BLACK .. R2_WHITE) with the pen as pattern; an
// unknown mode behaves as R2_COPYPEN.
RopTable RopTableOfMixMode(int mixMode);

constexpr bool RopUsesSource(RopTable table) {
    return ((table >> 2) & 0x33) != (table & 0x33);
}
constexpr bool RopUsesPattern(RopTable table) {
    return ((table >> 4) & 0x0F) != (table & 0x0F);
}
constexpr bool RopUsesDestination(RopTable table) {
    return ((table >> 1) & 0x55) != (table & 0x55);
}

Pixel ApplyRop(RopTable table, Pixel pattern, Pixel source, Pixel destination);

// destination[i] = table(pattern[i], source[i], destination[i]); `source` and
// `pattern` may be null when the table does not use them.
void ApplyRopToRow(RopTable table, Pixel* destination, const Pixel* source, const Pixel* pattern, int count);
