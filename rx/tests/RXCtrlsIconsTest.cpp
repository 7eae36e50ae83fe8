// Icons at the system size: which image of an icon file suits the screen,
// the chosen image read and stretched, and damaged files giving the
// standard application icon.
#include "rx/RXCtrls.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/ResourceImages.h"

#include <vector>

namespace {

void putWord(std::vector<Byte>& Bytes, unsigned Value) {
    Bytes.push_back(static_cast<Byte>(Value));
    Bytes.push_back(static_cast<Byte>(Value >> 8));
}

void putDword(std::vector<Byte>& Bytes, unsigned Value) {
    putWord(Bytes, Value & 0xFFFF);
    putWord(Bytes, Value >> 16);
}

struct ImageSpec {
    unsigned size;
    Byte colorCount;
    // 0x00RRGGBB of every opaque pixel, at 32 bits per pixel.
    unsigned colour;
    // Where the directory says the image is, past the real data when set.
    bool pointsPastTheEnd = false;
};

// An icon file of square 32-bit images, each opaque but for its top-left pixel.
std::vector<Byte> iconFile(const std::vector<ImageSpec>& Images) {
    std::vector<std::vector<Byte>> images;
    for (const ImageSpec& spec : Images) {
        std::vector<Byte> image;
        putDword(image, 40);
        putDword(image, spec.size);
        putDword(image, spec.size * 2);
        putWord(image, 1);
        putWord(image, 32);
        for (int i = 0; i < 6; ++i)
            putDword(image, 0);
        for (unsigned y = 0; y < spec.size; ++y)
            for (unsigned x = 0; x < spec.size; ++x)
                putDword(image, spec.colour);
        const unsigned maskStride = (spec.size + 31) / 32 * 4;
        for (unsigned y = 0; y < spec.size; ++y)
            for (unsigned b = 0; b < maskStride; ++b)
                // Rows go bottom up: the last row written is the top one.
                image.push_back(y == spec.size - 1 && b == 0 ? 0x80 : 0x00);
        images.push_back(image);
    }
    std::vector<Byte> file;
    putWord(file, 0);
    putWord(file, 1);
    putWord(file, static_cast<unsigned>(Images.size()));
    unsigned offset = 6 + 16 * static_cast<unsigned>(Images.size());
    for (std::size_t i = 0; i < Images.size(); ++i) {
        file.push_back(static_cast<Byte>(Images[i].size));
        file.push_back(static_cast<Byte>(Images[i].size));
        file.push_back(Images[i].colorCount);
        file.push_back(0);
        putWord(file, 1);
        putWord(file, 32);
        putDword(file, static_cast<unsigned>(images[i].size()));
        putDword(file, Images[i].pointsPastTheEnd ? 100000 : offset);
        offset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images)
        file.insert(file.end(), image.begin(), image.end());
    return file;
}

std::unique_ptr<TIcon> loadedIcon(const std::vector<Byte>& File) {
    auto icon = std::make_unique<TIcon>();
    TMemoryStream stream;
    stream.WriteBuffer(File.data(), static_cast<Integer>(File.size()));
    stream.SetPosition(0);
    icon->LoadFromStream(&stream);
    return icon;
}

TEST(IconEntryForDepth, TakesTheScreensCountElseTheRichestNotAboveIt) {
    const std::vector<Byte> counts = {16, 0, 2};
    struct Case {
        Integer bits;
        Integer entry;
    };
    // 16 bits give a count of 0 (1 shl 16 in 16 bits), 24 bits too, 32 bits 1.
    for (const Case& c : {Case{4, 0}, Case{16, 1}, Case{24, 1}, Case{1, 2}, Case{32, 2}})
        EXPECT_EQ(IconEntryForDepth(counts, c.bits), c.entry) << c.bits;
    EXPECT_EQ(IconEntryForDepth(std::vector<Byte>{16, 16}, 1), 0) << "nothing fits: the first";
}

TEST(CreateRealSizeIcon, StretchesTheChosenImageToTheSystemSize) {
    auto icon = loadedIcon(iconFile({{16, 0, 0x00FF0000}}));
    HICON result = CreateRealSizeIcon(icon.get());
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(GetIconSize(result), (TPoint{32, 32}));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(result, &info));
    auto colour = BitmapSurface(info.hbmColor);
    auto mask = BitmapSurface(info.hbmMask);
    EXPECT_EQ(colour->At(20, 20) & PixelColourMask, 0x00FF0000u);
    EXPECT_EQ(mask->At(0, 0), PixelWhite) << "the transparent corner, two pixels wide now";
    EXPECT_EQ(mask->At(1, 1), PixelWhite);
    EXPECT_EQ(mask->At(2, 2), PixelBlack);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(result);
}

TEST(CreateRealSizeIcon, AnImageOutsideTheFileGivesTheStandardIcon) {
    // The 32 x 32 image loads; the 16-colour one the screen would take points past the end.
    auto icon = loadedIcon(iconFile({{32, 0, 0x000000FF}, {16, 16, 0x0000FF00, true}}));
    EXPECT_EQ(CreateRealSizeIcon(icon.get()), LoadIconA(nullptr, IDI_APPLICATION));
}

} // namespace
