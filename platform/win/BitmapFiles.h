// Bitmap files: reading BMP (1, 4, 8, 16, 24 and 32 bits, bottom-up and
// top-down, run-length encoded 4 and 8 bits) and writing BMP (1, 4, 8, 24 and
// 32 bits) and PNG, so that tests and tools can save any surface.
#pragma once

#include "platform/win/PixelSurface.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

// A monochrome surface for a 1-bit image whose two colours are black and
// white, a colour surface otherwise; null for a damaged or unsupported file.
std::shared_ptr<PixelSurface> DecodeBmp(const Byte* data, std::size_t size);
HBITMAP LoadBmpFromMemory(const Byte* data, std::size_t size);
HBITMAP LoadBmpFile(const std::string& path);

// Empty when the image has more colours than `bitCount` can index (1, 4 or 8
// bits) or the bit count is not one of 1, 4, 8, 24 and 32.
std::vector<Byte> EncodeBmp(const PixelSurface& surface, int bitCount, bool topDown = false);
bool WriteBmpFile(const PixelSurface& surface, const std::string& path, int bitCount, bool topDown = false);
bool WriteBmpFile(HBITMAP bitmap, const std::string& path, int bitCount, bool topDown = false);
bool WritePngFile(const PixelSurface& surface, const std::string& path);
bool WritePngFile(HBITMAP bitmap, const std::string& path);
