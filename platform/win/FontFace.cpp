// Finding, sizing and rendering fonts with fontconfig and FreeType. The
// profile's font substitutes rename a face first, as on Windows; Windows
// face names map to the metric-compatible Liberation families, so that text
// keeps the widths the layouts were made for; the metrics follow the Windows
// rules for TrueType fonts (ascent and descent from the OS/2 table's Windows
// values, heights at 96 dots per inch).
#include "platform/win/FontFace.h"

#include "platform/core/CodePages.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Profile.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include FT_ADVANCES_H

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>
#include <optional>
#include <tuple>

namespace {

constexpr int defaultPixelsPerEm = 12;
constexpr int digitizedAspect = 96;
constexpr double tenthsOfDegreePerRadian = 1800.0 / std::numbers::pi;
constexpr double fixedPointOne = 65536.0;
constexpr WCHAR firstCharacter = 0x1E;
constexpr WCHAR lastCharacter = 0xFFFC;
constexpr WCHAR defaultCharacter = 0x1F;
constexpr WCHAR breakCharacter = 0x20;
constexpr std::size_t faceCacheLimit = 512;

std::size_t& renderCounter() {
    static std::size_t count = 0;
    return count;
}

FT_Library freeType() {
    static FT_Library library = [] {
        FT_Library created = nullptr;
        FT_Init_FreeType(&created);
        return created;
    }();
    return library;
}

// ---- Face names ----

enum class Design { Sans, Serif, Mono };

struct FaceAlias {
    const char* windowsName;
    Design design;
};

constexpr FaceAlias faceAliases[] = {
    {"courier new", Design::Mono},
    {"courier", Design::Mono},
    {"fixedsys", Design::Mono},
    {"terminal", Design::Mono},
    {"arial", Design::Sans},
    {"ms sans serif", Design::Sans},
    {"microsoft sans serif", Design::Sans},
    {"ms shell dlg", Design::Sans},
    {"ms shell dlg 2", Design::Sans},
    {"tahoma", Design::Sans},
    {"system", Design::Sans},
    {"times new roman", Design::Serif},
    {"times", Design::Serif},
    {"ms serif", Design::Serif},
};

const char* familyOf(Design design) {
    switch (design) {
    case Design::Mono:
        return "Liberation Mono";
    case Design::Serif:
        return "Liberation Serif";
    default:
        return "Liberation Sans";
    }
}

BYTE familyBitsOf(Design design) {
    switch (design) {
    case Design::Mono:
        return FF_MODERN;
    case Design::Serif:
        return FF_ROMAN;
    default:
        return FF_SWISS;
    }
}

std::string lowerCaseFaceName(const LOGFONTW& logFont) {
    std::string name;
    for (int i = 0; i < LF_FACESIZE && logFont.lfFaceName[i]; ++i) {
        WCHAR c = logFont.lfFaceName[i];
        name.push_back(c < 0x80 ? static_cast<char>(std::tolower(c)) : '?');
    }
    return name;
}

std::string utf8FaceName(const LOGFONTW& logFont) {
    std::string name;
    for (int i = 0; i < LF_FACESIZE && logFont.lfFaceName[i]; ++i) {
        char32_t c = logFont.lfFaceName[i];
        if (c < 0x80) {
            name.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            name.push_back(static_cast<char>(0xC0 | (c >> 6)));
            name.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            name.push_back(static_cast<char>(0xE0 | (c >> 12)));
            name.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            name.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return name;
}

Design designByPitch(const LOGFONTW& logFont) {
    BYTE family = logFont.lfPitchAndFamily & 0xF0;
    if (family == FF_MODERN || (logFont.lfPitchAndFamily & 0x03) == FIXED_PITCH) return Design::Mono;
    return family == FF_ROMAN ? Design::Serif : Design::Sans;
}

// ---- fontconfig ----

struct FontFile {
    std::string path;
    int index = 0;
    std::string family;
};

// Fontconfig's best match for the pattern in the weight and slant asked for;
// the caller destroys both.
FcPattern* bestMatch(FcPattern* pattern, bool bold, bool italic) {
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    return FcFontMatch(nullptr, pattern, &result);
}

std::optional<FontFile> fileOf(FcPattern* match) {
    FcChar8* path = nullptr;
    if (!match || FcPatternGetString(match, FC_FILE, 0, &path) != FcResultMatch) return std::nullopt;
    FontFile file{reinterpret_cast<const char*>(path), 0, ""};
    FcPatternGetInteger(match, FC_INDEX, 0, &file.index);
    return file;
}

std::optional<FontFile> matchFontFile(const std::string& family, bool bold, bool italic) {
    static bool initialised = FcInit() == FcTrue;
    if (!initialised) return std::nullopt;
    static std::map<std::tuple<std::string, bool, bool>, std::optional<FontFile>> matches;
    auto key = std::make_tuple(family, bold, italic);
    if (auto found = matches.find(key); found != matches.end()) return found->second;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPattern* match = bestMatch(pattern, bold, italic);
    std::optional<FontFile> file = fileOf(match);
    FcChar8* matchedFamily = nullptr;
    if (file && FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch)
        file->family = reinterpret_cast<const char*>(matchedFamily);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    matches.emplace(key, file);
    return file;
}

// The font fontconfig offers for a character the chosen face lacks, as the
// system links fonts for the scripts a face does not cover.
std::optional<FontFile> fallbackFontFile(WCHAR character, bool bold, bool italic) {
    static bool initialised = FcInit() == FcTrue;
    if (!initialised) return std::nullopt;
    static std::map<std::tuple<WCHAR, bool, bool>, std::optional<FontFile>> matches;
    auto key = std::make_tuple(character, bold, italic);
    if (auto found = matches.find(key); found != matches.end()) return found->second;
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, character);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcPattern* match = bestMatch(pattern, bold, italic);
    std::optional<FontFile> file;
    FcCharSet* covered = nullptr;
    if (match && FcPatternGetCharSet(match, FC_CHARSET, 0, &covered) == FcResultMatch &&
        FcCharSetHasChar(covered, character))
        file = fileOf(match);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcCharSetDestroy(wanted);
    matches.emplace(key, file);
    return file;
}

bool sameFamily(const std::string& first, const std::string& second) {
    return std::equal(first.begin(), first.end(), second.begin(), second.end(),
                      [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

struct ChosenFont {
    std::optional<FontFile> file;
    Design design = Design::Sans;
    // One of the metric-compatible stand-ins rather than the family asked for.
    bool standIn = true;
};

// Known Windows names use their Liberation counterpart; another name is used
// when that family is installed; anything else falls back by pitch and family.
ChosenFont chooseFont(const LOGFONTW& logFont) {
    bool bold = logFont.lfWeight >= FW_SEMIBOLD, italic = logFont.lfItalic != 0;
    std::string name = lowerCaseFaceName(logFont);
    for (const FaceAlias& alias : faceAliases)
        if (name == alias.windowsName)
            return {matchFontFile(familyOf(alias.design), bold, italic), alias.design};
    if (!name.empty()) {
        std::string requested = utf8FaceName(logFont);
        auto file = matchFontFile(requested, bold, italic);
        if (file && sameFamily(file->family, requested)) return {file, designByPitch(logFont), false};
    }
    Design design = designByPitch(logFont);
    return {matchFontFile(familyOf(design), bold, italic), design};
}

int roundedScale(double units, double scale) {
    return static_cast<int>(std::lround(units * scale));
}

// The average character width of the original TrueType definition: lower-case
// letters and the blank weighted by their frequency in English. The Windows
// fonts carry this value, the stand-ins a plain average of all their glyphs,
// so the stand-ins' value is computed here from their (identical) widths.
double weightedAverageWidth(FT_Face face) {
    static constexpr std::array<int, 26> letterWeights = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6, 35, 20,
                                                          56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
    constexpr int blankWeight = 166;
    constexpr double weightTotal = 1000.0;
    auto advanceOf = [face](char character) {
        FT_Fixed advance = 0;
        FT_Get_Advance(face, FT_Get_Char_Index(face, static_cast<FT_ULong>(character)), FT_LOAD_NO_SCALE,
                       &advance);
        return static_cast<double>(advance);
    };
    double sum = blankWeight * advanceOf(' ');
    for (std::size_t i = 0; i < letterWeights.size(); ++i)
        sum += letterWeights[i] * advanceOf(static_cast<char>('a' + i));
    return sum / weightTotal;
}

// ---- Substitutes ----

constexpr const char* fontSubstitutesSection = "FontSubstitutes";

struct FaceAndCharSet {
    AnsiString face;
    std::optional<int> charSet;
};

// "Name" or "Name,charset".
FaceAndCharSet splitSubstitute(const AnsiString& entry) {
    const std::size_t comma = entry.find(',');
    if (comma == AnsiString::npos) return {entry, std::nullopt};
    const AnsiString number = entry.substr(comma + 1);
    char* end = nullptr;
    const long charSet = std::strtol(number.c_str(), &end, 10);
    if (end == number.c_str() || charSet < 0 || charSet > 0xFF) return {entry.substr(0, comma), std::nullopt};
    return {entry.substr(0, comma), static_cast<int>(charSet)};
}

// The profile's substitute for the face, as the system's font mapper takes
// it before it looks for a font: an entry for the face in the font's
// character set comes before one for the face in any.
LOGFONTW withSubstitute(const LOGFONTW& logFont) {
    const WCHAR* nameEnd = std::find(logFont.lfFaceName, logFont.lfFaceName + LF_FACESIZE, WCHAR(0));
    const AnsiString face = WideToAnsi(WideString(logFont.lfFaceName, nameEnd));
    if (face.empty()) return logFont;
    std::optional<AnsiString> entry =
        ProfileValue(fontSubstitutesSection, face + "," + std::to_string(logFont.lfCharSet));
    if (!entry) entry = ProfileValue(fontSubstitutesSection, face);
    if (!entry) return logFont;
    const FaceAndCharSet substitute = splitSubstitute(*entry);
    const WideString name = AnsiToWide(substitute.face).substr(0, LF_FACESIZE - 1);
    if (name.empty()) return logFont;
    LOGFONTW result = logFont;
    std::fill(std::begin(result.lfFaceName), std::end(result.lfFaceName), WCHAR(0));
    std::copy(name.begin(), name.end(), result.lfFaceName);
    if (substitute.charSet) result.lfCharSet = static_cast<BYTE>(*substitute.charSet);
    return result;
}

// The key of faces that draw alike: underline and strike-out are drawn by the text output.
std::string faceKey(const LOGFONTW& logFont) {
    bool antialiased = logFont.lfQuality != NONANTIALIASED_QUALITY;
    return std::to_string(logFont.lfHeight) + "/" + std::to_string(logFont.lfWidth) + "/" +
           std::to_string(logFont.lfEscapement) + "/" + std::to_string(logFont.lfWeight >= FW_SEMIBOLD) +
           "/" + std::to_string(logFont.lfItalic != 0) + "/" + std::to_string(logFont.lfPitchAndFamily) +
           "/" + std::to_string(antialiased) + "/" + utf8FaceName(logFont) + "/" + lowerCaseFaceName(logFont);
}

} // namespace

struct FontFace::FreeTypeFace {
    ~FreeTypeFace() {
        if (face) FT_Done_Face(face);
    }
    FT_Face face = nullptr;
    Design design = Design::Sans;
    bool standIn = true;
};

FontObject& FontOfDC(DeviceContext& dc) {
    FontObject* font = LookupFont(dc.state.font);
    return font ? *font : *LookupFont(StockObject(SYSTEM_FONT));
}

FontFace& FaceOfDC(DeviceContext& dc) {
    FontObject& font = FontOfDC(dc);
    if (!font.face) font.face = FontFace::ForLogFont(font.logFont);
    return *font.face;
}

std::size_t GlyphRenderCount() {
    GdiLock lock(GdiMutex());
    return renderCounter();
}

std::shared_ptr<FontFace> FontFace::ForLogFont(const LOGFONTW& requested) {
    // Faces are cached by the face they draw, so a changed substitute takes
    // effect for the fonts made after it.
    const LOGFONTW logFont = withSubstitute(requested);
    GdiLock lock(GdiMutex());
    static std::map<std::string, std::shared_ptr<FontFace>> faces;
    std::string key = faceKey(logFont);
    if (auto found = faces.find(key); found != faces.end()) return found->second;
    // Fonts still in use keep their faces alive; the cache only saves work.
    if (faces.size() >= faceCacheLimit) faces.clear();
    std::shared_ptr<FontFace> face(new FontFace(logFont));
    faces.emplace(key, face);
    return face;
}

FontFace::FontFace(const LOGFONTW& logFont) {
    antialiased_ = logFont.lfQuality != NONANTIALIASED_QUALITY;
    escapement_ = logFont.lfEscapement / tenthsOfDegreePerRadian;
    load(logFont);
}

FontFace::~FontFace() = default;

void FontFace::load(const LOGFONTW& logFont) {
    ChosenFont chosen = chooseFont(logFont);
    face_ = std::make_unique<FreeTypeFace>();
    face_->design = chosen.design;
    face_->standIn = chosen.standIn;
    if (!chosen.file || !freeType() ||
        FT_New_Face(freeType(), chosen.file->path.c_str(), chosen.file->index, &face_->face) != 0) {
        face_->face = nullptr;
        measureWithoutFont(logFont, logFont.lfHeight < 0   ? -logFont.lfHeight
                                    : logFont.lfHeight > 0 ? logFont.lfHeight
                                                           : defaultPixelsPerEm);
        return;
    }
    filePath_ = chosen.file->path;
    FT_Face face = face_->face;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    double unitsPerEm = face->units_per_EM ? face->units_per_EM : 2048;
    double cellUnits = os2 ? os2->usWinAscent + os2->usWinDescent : face->ascender - face->descender;
    int pixelsPerEm = defaultPixelsPerEm;
    if (logFont.lfHeight < 0)
        pixelsPerEm = -logFont.lfHeight;
    else if (logFont.lfHeight > 0)
        pixelsPerEm = std::max(1, static_cast<int>(std::lround(logFont.lfHeight * unitsPerEm / cellUnits)));
    int horizontalPixelsPerEm = pixelsPerEm;
    double averageWidth = face_->standIn ? weightedAverageWidth(face) : (os2 ? os2->xAvgCharWidth : 0);
    if (logFont.lfWidth > 0 && averageWidth > 0)
        horizontalPixelsPerEm =
            std::max(1, static_cast<int>(std::lround(logFont.lfWidth * unitsPerEm / averageWidth)));
    FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(horizontalPixelsPerEm), static_cast<FT_UInt>(pixelsPerEm));
    if (logFont.lfEscapement % 3600 != 0) {
        FT_Matrix rotation{static_cast<FT_Fixed>(std::lround(std::cos(escapement_) * fixedPointOne)),
                           static_cast<FT_Fixed>(std::lround(-std::sin(escapement_) * fixedPointOne)),
                           static_cast<FT_Fixed>(std::lround(std::sin(escapement_) * fixedPointOne)),
                           static_cast<FT_Fixed>(std::lround(std::cos(escapement_) * fixedPointOne))};
        FT_Set_Transform(face, &rotation, nullptr);
    }
    measure(logFont, pixelsPerEm);
}

void FontFace::measure(const LOGFONTW& logFont, int pixelsPerEm) {
    FT_Face face = face_->face;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* horizontal = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const auto* postscript = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
    double unitsPerEm = face->units_per_EM ? face->units_per_EM : 2048;
    double scale = pixelsPerEm / unitsPerEm;
    double horizontalScale = face->size->metrics.x_ppem / unitsPerEm;
    double winAscent = os2 ? os2->usWinAscent : face->ascender;
    double winDescent = os2 ? os2->usWinDescent : -face->descender;

    TEXTMETRICW& m = metrics_;
    m.tmAscent = std::max(1, roundedScale(winAscent, scale));
    m.tmDescent = std::max(0, roundedScale(winDescent, scale));
    m.tmHeight = m.tmAscent + m.tmDescent;
    m.tmInternalLeading = std::max(0, m.tmHeight - pixelsPerEm);
    if (horizontal) {
        double typographicHeight = horizontal->Ascender - horizontal->Descender;
        double gap = horizontal->Line_Gap - ((winAscent + winDescent) - typographicHeight);
        m.tmExternalLeading = std::max(0, roundedScale(gap, scale));
        m.tmMaxCharWidth = std::max(1, roundedScale(horizontal->advance_Width_Max, horizontalScale));
    }
    double averageWidth = face_->standIn ? weightedAverageWidth(face) : (os2 ? os2->xAvgCharWidth : 0);
    m.tmAveCharWidth = averageWidth > 0 ? roundedScale(averageWidth, horizontalScale) : Advance(u'x');
    m.tmAveCharWidth = std::max<LONG>(1, m.tmAveCharWidth);
    m.tmMaxCharWidth = std::max(m.tmMaxCharWidth, m.tmAveCharWidth);
    m.tmWeight = logFont.lfWeight >= FW_SEMIBOLD ? FW_BOLD : FW_NORMAL;
    m.tmOverhang = 0;
    m.tmDigitizedAspectX = m.tmDigitizedAspectY = digitizedAspect;
    m.tmFirstChar = firstCharacter;
    m.tmLastChar = lastCharacter;
    m.tmDefaultChar = defaultCharacter;
    m.tmBreakChar = breakCharacter;
    m.tmItalic = logFont.lfItalic ? 1 : 0;
    m.tmUnderlined = logFont.lfUnderline ? 1 : 0;
    m.tmStruckOut = logFont.lfStrikeOut ? 1 : 0;
    bool fixedPitch = FT_IS_FIXED_WIDTH(face);
    m.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (fixedPitch ? 0 : TMPF_FIXED_PITCH) |
                                           familyBitsOf(face_->design));
    m.tmCharSet = logFont.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : logFont.lfCharSet;

    if (postscript) {
        lines_.underlineThickness = std::max(1, roundedScale(postscript->underlineThickness, scale));
        lines_.underlineOffset = std::max(1, roundedScale(-postscript->underlinePosition, scale));
    }
    // The underline stays inside the character cell.
    lines_.underlineOffset =
        std::clamp(lines_.underlineOffset, 0, std::max(0, m.tmDescent - lines_.underlineThickness));
    if (os2) {
        lines_.strikeoutThickness = std::max(1, roundedScale(os2->yStrikeoutSize, scale));
        lines_.strikeoutOffset = std::max(1, roundedScale(os2->yStrikeoutPosition, scale));
    } else {
        lines_.strikeoutOffset = std::max(1, m.tmAscent / 3);
    }
}

void FontFace::measureWithoutFont(const LOGFONTW& logFont, int pixelsPerEm) {
    constexpr double ascentShare = 0.8;
    TEXTMETRICW& m = metrics_;
    m.tmAscent = std::max(1, static_cast<int>(std::lround(pixelsPerEm * ascentShare)));
    m.tmDescent = std::max(1, pixelsPerEm - m.tmAscent);
    m.tmHeight = m.tmAscent + m.tmDescent;
    m.tmAveCharWidth = std::max(1, pixelsPerEm / 2);
    m.tmMaxCharWidth = std::max(1, pixelsPerEm);
    m.tmWeight = logFont.lfWeight >= FW_SEMIBOLD ? FW_BOLD : FW_NORMAL;
    m.tmDigitizedAspectX = m.tmDigitizedAspectY = digitizedAspect;
    m.tmFirstChar = firstCharacter;
    m.tmLastChar = lastCharacter;
    m.tmDefaultChar = defaultCharacter;
    m.tmBreakChar = breakCharacter;
    m.tmItalic = logFont.lfItalic ? 1 : 0;
    m.tmUnderlined = logFont.lfUnderline ? 1 : 0;
    m.tmStruckOut = logFont.lfStrikeOut ? 1 : 0;
    m.tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE;
    lines_.strikeoutOffset = std::max(1, m.tmAscent / 3);
}

const GlyphImage& FontFace::Glyph(WCHAR character) {
    if (character < directGlyphCount) {
        auto& slot = directGlyphs_[character];
        if (!slot) slot = std::make_unique<GlyphImage>(render(character));
        return *slot;
    }
    auto found = otherGlyphs_.find(character);
    if (found == otherGlyphs_.end()) found = otherGlyphs_.emplace(character, render(character)).first;
    return found->second;
}

// A face of another font for a character this one lacks, opened at this
// face's size and slant; null when no installed font has the character.
FontFace::FreeTypeFace* FontFace::linkedFaceFor(WCHAR character) {
    auto file = fallbackFontFile(character, metrics_.tmWeight >= FW_BOLD, metrics_.tmItalic != 0);
    if (!file || file->path == filePath_) return nullptr;
    const std::string key = file->path + "#" + std::to_string(file->index);
    if (auto found = linkedFaces_.find(key); found != linkedFaces_.end()) return found->second.get();
    auto linked = std::make_unique<FreeTypeFace>();
    if (FT_New_Face(freeType(), file->path.c_str(), file->index, &linked->face) != 0) {
        linked->face = nullptr;
        return nullptr;
    }
    const FT_Size_Metrics& size = face_->face->size->metrics;
    FT_Set_Pixel_Sizes(linked->face, size.x_ppem, size.y_ppem);
    FT_Matrix transform;
    FT_Vector delta;
    FT_Get_Transform(face_->face, &transform, &delta);
    FT_Set_Transform(linked->face, &transform, &delta);
    return linkedFaces_.emplace(key, std::move(linked)).first->second.get();
}

GlyphImage FontFace::render(WCHAR character) {
    GlyphImage glyph;
    glyph.advance = metrics_.tmAveCharWidth;
    glyph.abc = {0, static_cast<UINT>(glyph.advance), 0};
    FT_Face face = face_->face;
    if (!face) return glyph;
    if (FT_Get_Char_Index(face, character) == 0)
        if (FreeTypeFace* linked = linkedFaceFor(character)) face = linked->face;
    FT_Int32 flags =
        FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | (antialiased_ ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Char(face, character, flags) != 0 ||
        FT_Render_Glyph(face->glyph, antialiased_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
        return glyph;
    ++renderCounter();
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->metrics.horiAdvance + 32) >> 6);
    int blackLeft = static_cast<int>(std::floor(slot->metrics.horiBearingX / 64.0));
    int blackRight = static_cast<int>(std::ceil((slot->metrics.horiBearingX + slot->metrics.width) / 64.0));
    int blackWidth = std::max(1, blackRight - blackLeft);
    glyph.abc = {blackLeft, static_cast<UINT>(blackWidth), glyph.advance - blackLeft - blackWidth};
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height));
    bool monochrome = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
        Byte* out = glyph.coverage.data() + static_cast<std::size_t>(y) * glyph.width;
        for (int x = 0; x < glyph.width; ++x)
            out[x] = monochrome ? (((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0) : row[x];
    }
    return glyph;
}
