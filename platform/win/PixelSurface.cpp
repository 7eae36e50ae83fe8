// The pixel rectangle under every device context.
#include "platform/win/PixelSurface.h"

#include <algorithm>

PixelSurface::PixelSurface(int width, int height, bool monochrome)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), monochrome_(monochrome),
      storage_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), PixelBlack),
      firstRow_(storage_.data()), rowStride_(width_) {}

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
