#include "platform/win/BitmapFiles.h"

#include "TestCanvas.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>

namespace {

std::shared_ptr<PixelSurface> sampleImage(int colours, bool monochrome = false) {
    auto surface = std::make_shared<PixelSurface>(13, 5, monochrome);
    const Pixel palette[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456,
                             0x808080, 0xC0C0C0, 0x800000, 0x008000, 0x000080, 0x808000,
                             0x800080, 0x008080, 0xFFFF00, 0x00FFFF, 0xFF00FF};
    for (int y = 0; y < surface->Height(); ++y)
        for (int x = 0; x < surface->Width(); ++x)
            surface->Set(x, y, palette[(x * 7 + y * 3) % colours]);
    return surface;
}

bool samePixels(const PixelSurface& a, const PixelSurface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if ((a.At(x, y) & PixelColourMask) != (b.At(x, y) & PixelColourMask)) return false;
    return true;
}

std::vector<Byte> bmpWithPixels(int width, int height, int bitCount, DWORD compression,
                                std::initializer_list<Pixel> colours, std::vector<Byte> pixels) {
    auto blank = std::make_shared<PixelSurface>(width, height);
    std::vector<Byte> file = EncodeBmp(*blank, 24);
    std::vector<Byte> header(file.begin(), file.begin() + 54);
    header[28] = static_cast<Byte>(bitCount);
    header[30] = static_cast<Byte>(compression);
    header[46] = static_cast<Byte>(colours.size());
    for (Pixel colour : colours)
        for (int shift = 0; shift < 32; shift += 8)
            header.push_back(static_cast<Byte>(colour >> shift));
    DWORD offset = static_cast<DWORD>(header.size());
    for (int i = 0; i < 4; ++i)
        header[10 + i] = static_cast<Byte>(offset >> (8 * i));
    header.insert(header.end(), pixels.begin(), pixels.end());
    return header;
}

} // namespace

TEST(BitmapFiles, BmpRoundTripsAtEveryDepthAndOrder) {
    struct Case {
        int bitCount, colours;
    };
    for (Case c : {Case{1, 2}, Case{4, 16}, Case{8, 17}, Case{24, 17}, Case{32, 17}})
        for (bool topDown : {false, true}) {
            auto image = sampleImage(c.colours);
            std::vector<Byte> file = EncodeBmp(*image, c.bitCount, topDown);
            ASSERT_FALSE(file.empty()) << c.bitCount;
            auto decoded = DecodeBmp(file.data(), file.size());
            ASSERT_NE(decoded, nullptr) << c.bitCount << " " << topDown;
            EXPECT_TRUE(samePixels(*image, *decoded)) << c.bitCount << " " << topDown;
            EXPECT_EQ(decoded->IsMonochrome(), c.bitCount == 1);
        }
    EXPECT_TRUE(EncodeBmp(*sampleImage(17), 4).empty()) << "17 colours do not fit 4 bits";
    EXPECT_TRUE(EncodeBmp(*sampleImage(2), 16).empty());
}

TEST(BitmapFiles, ReadsRunLengthEncodedImages) {
    // 8 bits: a run of three index 1, a literal run of 0, 2, 1, end of line, then a jump and a run.
    std::vector<Byte> rle8 = {3, 1, 0, 3, 0, 2, 1, 0, 0, 0, 0, 2, 2, 0, 2, 1, 0, 1};
    auto file = bmpWithPixels(6, 2, 8, BI_RLE8, {0x000000, 0xFF0000, 0x0000FF}, rle8);
    auto image = DecodeBmp(file.data(), file.size());
    ASSERT_NE(image, nullptr);
    // Bottom-up: the first line is the lower row.
    const Pixel expectedBottom[] = {0xFF0000, 0xFF0000, 0xFF0000, 0x000000, 0x0000FF, 0xFF0000};
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(image->At(x, 1), expectedBottom[x]) << x;
    EXPECT_EQ(image->At(2, 0), 0xFF0000u);
    EXPECT_EQ(image->At(3, 0), 0xFF0000u);
    EXPECT_EQ(image->At(1, 0), 0x000000u);

    // 4 bits: a run alternating indexes 1 and 2, then a literal of 2, 1, 0.
    std::vector<Byte> rle4 = {4, 0x12, 0, 3, 0x21, 0x00, 0, 1};
    file = bmpWithPixels(7, 1, 4, BI_RLE4, {0x000000, 0xFF0000, 0x0000FF}, rle4);
    image = DecodeBmp(file.data(), file.size());
    ASSERT_NE(image, nullptr);
    const Pixel expected4[] = {0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000, 0x000000};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(image->At(x, 0), expected4[x]) << x;
}

TEST(BitmapFiles, RefusesDamagedFiles) {
    std::vector<Byte> good = EncodeBmp(*sampleImage(17), 24);
    ASSERT_NE(DecodeBmp(good.data(), good.size()), nullptr);
    std::vector<Byte> truncated(good.begin(), good.end() - 10);
    EXPECT_EQ(DecodeBmp(truncated.data(), truncated.size()), nullptr);
    std::vector<Byte> wrongSignature = good;
    wrongSignature[0] = 'X';
    EXPECT_EQ(DecodeBmp(wrongSignature.data(), wrongSignature.size()), nullptr);
    std::vector<Byte> huge = good;
    huge[18] = huge[19] = huge[20] = 0xFF;
    huge[21] = 0x7F;
    EXPECT_EQ(DecodeBmp(huge.data(), huge.size()), nullptr);
    std::vector<Byte> unterminatedRun = bmpWithPixels(4, 1, 8, BI_RLE8, {0}, {2, 0, 0, 5, 1});
    EXPECT_EQ(DecodeBmp(unterminatedRun.data(), unterminatedRun.size()), nullptr);
    EXPECT_EQ(DecodeBmp(nullptr, 0), nullptr);
    EXPECT_EQ(LoadBmpFile("/nonexistent/none.bmp"), nullptr);
}

TEST(BitmapFiles, FilesRoundTripThroughBitmapHandles) {
    auto directory = std::filesystem::path(QUORVANE_TEST_OUTPUT_DIR) / "gdi-files";
    std::filesystem::create_directories(directory);
    HBITMAP bitmap = CreateBitmapFromSurface(sampleImage(17));
    std::string bmpPath = (directory / "sample.bmp").string();
    ASSERT_TRUE(WriteBmpFile(bitmap, bmpPath, 24));
    HBITMAP loaded = LoadBmpFile(bmpPath);
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(samePixels(*BitmapSurface(bitmap), *BitmapSurface(loaded)));

    std::string pngPath = (directory / "sample.png").string();
    ASSERT_TRUE(WritePngFile(bitmap, pngPath));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, pngPath.c_str()));
    image.format = PNG_FORMAT_BGRA;
    std::vector<Byte> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    PixelSurface read(static_cast<int>(image.width), static_cast<int>(image.height));
    std::memcpy(read.Row(0), pixels.data(), pixels.size());
    EXPECT_TRUE(samePixels(*BitmapSurface(bitmap), read));
    DeleteObject(bitmap);
    DeleteObject(loaded);
}
