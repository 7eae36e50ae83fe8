// A logical font made real: the font file that fontconfig finds for the
// Windows face name, sized at 96 dots per inch, its Windows-style metrics and
// a cache of rendered glyphs. Shared by every font handle with the same look.
#pragma once

#include "platform/win/WinTypes.h"

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct GlyphImage {
    // Unrotated advance in pixels.
    int advance = 0;
    ABC abc{};
    // Bitmap position relative to the pen on the baseline: x + left, y - top.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // width x height coverage values, 0 (none) to 255 (full).
    std::vector<Byte> coverage;
};

struct FaceLines {
    // Pixels below the baseline where the underline starts, and its thickness.
    int underlineOffset = 1;
    int underlineThickness = 1;
    // Pixels above the baseline where the strike-out line starts (its top edge), and its thickness.
    int strikeoutOffset = 1;
    int strikeoutThickness = 1;
};

class FontFace {
public:
    static std::shared_ptr<FontFace> ForLogFont(const LOGFONTW& logFont);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    const TEXTMETRICW& Metrics() const { return metrics_; }
    const FaceLines& Lines() const { return lines_; }
    // Counter-clockwise rotation of the baseline in radians.
    double Escapement() const { return escapement_; }
    bool Antialiased() const { return antialiased_; }
    // The font file in use, empty when no font could be loaded.
    const std::string& FilePath() const { return filePath_; }

    const GlyphImage& Glyph(WCHAR character);
    int Advance(WCHAR character) { return Glyph(character).advance; }

private:
    struct FreeTypeFace;
    explicit FontFace(const LOGFONTW& logFont);
    void load(const LOGFONTW& logFont);
    void measure(const LOGFONTW& logFont, int pixelsPerEm);
    void measureWithoutFont(const LOGFONTW& logFont, int pixelsPerEm);
    GlyphImage render(WCHAR character);
    FreeTypeFace* linkedFaceFor(WCHAR character);

    std::unique_ptr<FreeTypeFace> face_;
    TEXTMETRICW metrics_{};
    FaceLines lines_;
    double escapement_ = 0.0;
    bool antialiased_ = true;
    std::string filePath_;
    static constexpr std::size_t directGlyphCount = 256;
    std::array<std::unique_ptr<GlyphImage>, directGlyphCount> directGlyphs_;
    std::unordered_map<WCHAR, GlyphImage> otherGlyphs_;
    // Faces of other fonts for the characters this one lacks, by file.
    std::unordered_map<std::string, std::unique_ptr<FreeTypeFace>> linkedFaces_;
};

struct DeviceContext;
struct FontObject;
// The font selected into a device context (the system font when the handle is
// gone) and its face, made real on first use.
FontObject& FontOfDC(DeviceContext& dc);
FontFace& FaceOfDC(DeviceContext& dc);

// How many glyphs have been rendered by FreeType so far: drawing a glyph a
// second time in the same font renders nothing.
std::size_t GlyphRenderCount();
