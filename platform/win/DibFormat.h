// Device-independent bitmap layouts: reading an info header with its colour
// table, decoding scan lines (1, 4, 8, 16, 24 and 32 bits, run-length encoded
// 4 and 8 bits) into a surface, and encoding a surface's rows again. Shared by
// the bitmap calls and the bitmap files.
#pragma once

#include "platform/win/PixelSurface.h"

#include <array>
#include <cstddef>
#include <vector>

struct DibLayout {
    int width = 0;
    // Always positive; `topDown` tells the row order.
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    DWORD compression = BI_RGB;
    std::vector<Pixel> colours;
    std::array<DWORD, 3> masks{};
    // Bytes of header, masks and colour table before the pixel data would start.
    std::size_t headerBytes = 0;
};

// Bytes per scan line: rows are padded to four bytes.
std::size_t DibStride(int width, int bitCount);

// Reads a BITMAPCOREHEADER, BITMAPINFOHEADER or one of its longer successors
// and what follows it; false for a damaged or unsupported header.
bool ReadDibLayout(const Byte* info, std::size_t available, DibLayout& layout);

// Decodes `lineCount` scan lines from scan line `firstLine` (in DIB order: the
// bottom row first unless top-down) into the surface; run-length encoded data
// is always decoded whole. False when the data is too short or malformed.
bool DecodeDibScanLines(const DibLayout& layout, const Byte* bits, std::size_t size, int firstLine,
                        int lineCount, PixelSurface& target);

// The surface's rows in DIB order at 1, 4, 8, 24 or 32 bits; images of up to 8
// bits index `palette` (nearest colour). Empty for another bit count.
std::vector<Byte> EncodeDibScanLines(const PixelSurface& source, int bitCount, bool topDown,
                                     const std::vector<Pixel>& palette);
