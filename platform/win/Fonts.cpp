// Font handles and the measuring calls over the selected font's face.
#include "platform/win/Fonts.h"

#include "platform/win/AnsiText.h"
#include "platform/win/FontFace.h"
#include "platform/win/GdiObjects.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr UINT largestCharacter = 0xFFFF;

LOGFONTW wideLogFont(const LOGFONTA& narrow) {
    LOGFONTW wide{};
    CopyLogFontMetrics(wide, narrow);
    for (int i = 0; i < LF_FACESIZE - 1 && narrow.lfFaceName[i]; ++i)
        wide.lfFaceName[i] = WideFromAnsiChar(static_cast<Byte>(narrow.lfFaceName[i]));
    return wide;
}

template <typename Action> BOOL withFace(HDC dcHandle, Action action) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    return action(*dc, FaceOfDC(*dc));
}

BOOL textExtent(HDC dcHandle, const WideString& text, SIZE* size) {
    if (!size) return FALSE;
    return withFace(dcHandle, [&](DeviceContext& dc, FontFace& face) {
        long width = 0;
        for (WCHAR character : text)
            width += face.Advance(character) + dc.state.characterExtra;
        *size = {static_cast<LONG>(width), face.Metrics().tmHeight};
        return TRUE;
    });
}

template <typename Value, typename Measure>
BOOL characterRange(HDC dcHandle, UINT first, UINT last, Value* out, bool ansi, Measure measure) {
    if (!out || first > last || last > (ansi ? 0xFFu : largestCharacter)) return FALSE;
    return withFace(dcHandle, [&](DeviceContext&, FontFace& face) {
        for (UINT code = first; code <= last; ++code) {
            WCHAR character = ansi ? WideFromAnsiChar(static_cast<Byte>(code)) : static_cast<WCHAR>(code);
            out[code - first] = measure(face.Glyph(character));
        }
        return TRUE;
    });
}

} // namespace

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
    if (!logFont) return nullptr;
    auto font = std::make_unique<FontObject>();
    font->logFont = *logFont;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(InsertObject(std::move(font)));
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    if (!logFont) return nullptr;
    LOGFONTW wide = wideLogFont(*logFont);
    return CreateFontIndirectW(&wide);
}

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
    if (!metrics) return FALSE;
    return withFace(dc, [&](DeviceContext&, FontFace& face) {
        *metrics = face.Metrics();
        return TRUE;
    });
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
    TEXTMETRICW wide;
    if (!metrics || !GetTextMetricsW(dc, &wide)) return FALSE;
    metrics->tmHeight = wide.tmHeight;
    metrics->tmAscent = wide.tmAscent;
    metrics->tmDescent = wide.tmDescent;
    metrics->tmInternalLeading = wide.tmInternalLeading;
    metrics->tmExternalLeading = wide.tmExternalLeading;
    metrics->tmAveCharWidth = wide.tmAveCharWidth;
    metrics->tmMaxCharWidth = wide.tmMaxCharWidth;
    metrics->tmWeight = wide.tmWeight;
    metrics->tmOverhang = wide.tmOverhang;
    metrics->tmDigitizedAspectX = wide.tmDigitizedAspectX;
    metrics->tmDigitizedAspectY = wide.tmDigitizedAspectY;
    constexpr BYTE lastAnsiCharacter = 0xFF;
    metrics->tmFirstChar = static_cast<BYTE>(wide.tmFirstChar);
    metrics->tmLastChar = lastAnsiCharacter;
    metrics->tmDefaultChar = static_cast<BYTE>(wide.tmDefaultChar);
    metrics->tmBreakChar = static_cast<BYTE>(wide.tmBreakChar);
    metrics->tmItalic = wide.tmItalic;
    metrics->tmUnderlined = wide.tmUnderlined;
    metrics->tmStruckOut = wide.tmStruckOut;
    metrics->tmPitchAndFamily = wide.tmPitchAndFamily;
    metrics->tmCharSet = wide.tmCharSet;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size) {
    if (!text || count < 0) return FALSE;
    return textExtent(dc, WideFromAnsi(text, count), size);
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size) {
    if (!text || count < 0) return FALSE;
    return textExtent(dc, WideString(text, static_cast<std::size_t>(count)), size);
}

BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, int* widths) {
    return characterRange(dc, first, last, widths, true,
                          [](const GlyphImage& glyph) { return glyph.advance; });
}

BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, int* widths) {
    return characterRange(dc, first, last, widths, false,
                          [](const GlyphImage& glyph) { return glyph.advance; });
}

BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths) {
    return characterRange(dc, first, last, widths, true, [](const GlyphImage& glyph) { return glyph.abc; });
}

BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, ABC* widths) {
    return characterRange(dc, first, last, widths, false, [](const GlyphImage& glyph) { return glyph.abc; });
}

DWORD GetFontLanguageInfo(HDC dc) {
    return LookupDC(dc) ? 0 : GDI_ERROR;
}

int GetTextFaceW(HDC dcHandle, int count, LPWSTR name) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return 0;
    const LOGFONTW& logFont = FontOfDC(*dc).logFont;
    int length = 0;
    while (length < LF_FACESIZE && logFont.lfFaceName[length])
        ++length;
    if (!name) return length + 1;
    int copied = std::clamp(count - 1, 0, length);
    std::copy_n(logFont.lfFaceName, copied, name);
    if (count > 0) name[copied] = 0;
    return copied;
}

int GetTextFaceA(HDC dc, int count, LPSTR name) {
    WCHAR wide[LF_FACESIZE + 1] = {};
    int length = GetTextFaceW(dc, LF_FACESIZE + 1, wide);
    if (!name) return length + 1;
    int copied = std::clamp(count - 1, 0, length);
    for (int i = 0; i < copied; ++i)
        name[i] = wide[i] < 0x100 ? static_cast<char>(wide[i]) : '?';
    if (count > 0) name[copied] = 0;
    return copied;
}
