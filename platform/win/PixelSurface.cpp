// The pixel rectangle under every device context.
#include "platform/win/PixelSurface.h"

#include <algorithm>
#include <new>

namespace {

Pixel* zeroedPixels(std::size_t count) {
    static_assert(PixelBlack == 0);
    if (count == 0) return nullptr;
    auto* pixels = static_cast<Pixel*>(std::calloc(count, sizeof(Pixel)));
    if (!pixels) throw std::bad_alloc();
    return pixels;
}

} // namespace

PixelSurface::PixelSurface(int width, int height, bool monochrome)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), monochrome_(monochrome),
      storage_(zeroedPixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_))),
      firstRow_(storage_.get()), rowStride_(width_) {}

PixelSurface::PixelSurface(int width, int height, Pixel* firstRow, std::ptrdiff_t rowStride)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), monochrome_(false), firstRow_(firstRow),
      rowStride_(rowStride) {}

void PixelSurface::Fill(Pixel pixel) {
    for (int y = 0; y < height_; ++y)
        std::fill_n(Row(y), width_, pixel);
}

std::shared_ptr<PixelSurface> PixelSurface::Copy() const {
    auto copy = std::make_shared<PixelSurface>(width_, height_, monochrome_);
    for (int y = 0; y < height_; ++y)
        std::copy_n(Row(y), width_, copy->Row(y));
    return copy;
}
