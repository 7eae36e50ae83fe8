// Fonts are created per style only when first asked for, measured once on the
// screen's device context, and kept in the shared cache while any font stock
// holds them; drawing passes one distance per character so that every font,
// proportional or not, lines up in the editor's cells.
#include "editor/SynTextDrawer.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/TextOut.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr const char* SBaseFontMissing = "SetBaseFont: 'Value' must be specified.";
constexpr const char* SDeactivateFontsInfoFirst = "Call DeactivateFontsInfo before calling this.";

// The character whose width is the width of a cell.
constexpr UINT MeasuringCharacter = 'M';
// A double-byte font's own widths are trusted only in this character set, and
// then only when these two full-width characters agree.
constexpr BYTE ShiftJisCharset = 128;
constexpr UINT FullWidthCharacter = 0x8201;
constexpr UINT FullWidthHiragana = 0x82A0;
constexpr double FullWidthMinimumRatio = 1.5;

// The pitch-and-family bit that marks a TrueType font.
constexpr BYTE TrueTypeFamilyBit = 4;

// The distance buffer grows in steps of this many characters.
constexpr Integer DistanceBufferStep = 64;

Integer styleSetIndex(TFontStyles Style) {
    return static_cast<Integer>(Style.Bits());
}

Integer sumOf(const ABC& widths) {
    return widths.abcA + static_cast<Integer>(widths.abcB) + widths.abcC;
}

bool measureCharacter(HDC DC, UINT Character, Integer& Width) {
    ABC widths{};
    if (!GetCharABCWidthsA(DC, Character, Character, &widths)) return false;
    Width = sumOf(widths);
    return true;
}

bool isDoubleByteFont(HFONT Font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, Font);
    DWORD info = GetFontLanguageInfo(screen);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return info != GDI_ERROR && (info & GCP_DBCS) != 0;
}

} // namespace

// ---- TheFontsInfoManager ------------------------------------------------------

TheFontsInfoManager::TheFontsInfoManager() {
    // Touching the graphics layer first makes its tables outlive this cache,
    // which deletes its font handles when the program ends.
    GetStockObject(SYSTEM_FONT);
}

TheFontsInfoManager::~TheFontsInfoManager() {
    for (auto& entry : entries_)
        DestroyFontHandles(entry.get());
}

void TheFontsInfoManager::LockFontsInfo(PheSharedFontsInfo pFontsInfo) {
    Assert(pFontsInfo != nullptr);
    ++pFontsInfo->LockCount;
}

void TheFontsInfoManager::UnLockFontsInfo(PheSharedFontsInfo pFontsInfo) {
    Assert(pFontsInfo != nullptr);
    if (--pFontsInfo->LockCount == 0) DestroyFontHandles(pFontsInfo);
}

PheSharedFontsInfo TheFontsInfoManager::GetFontsInfo(TFont* ABaseFont) {
    Assert(ABaseFont != nullptr);
    LOGFONTA key;
    RetrieveLogFontForComparison(ABaseFont, key);
    PheSharedFontsInfo info = FindFontsInfo(key);
    if (!info) info = CreateFontsInfo(ABaseFont, key);
    ++info->RefCount;
    return info;
}

void TheFontsInfoManager::ReleaseFontsInfo(PheSharedFontsInfo pFontsInfo) {
    Assert(pFontsInfo != nullptr);
    Assert(pFontsInfo->LockCount < pFontsInfo->RefCount, SDeactivateFontsInfoFirst);
    if (--pFontsInfo->RefCount > 0) return;
    std::erase_if(entries_, [pFontsInfo](const auto& entry) { return entry.get() == pFontsInfo; });
}

PheSharedFontsInfo TheFontsInfoManager::FindFontsInfo(const LOGFONTA& LF) const {
    for (const auto& entry : entries_)
        if (std::memcmp(&entry->BaseLF, &LF, sizeof(LOGFONTA)) == 0) return entry.get();
    return nullptr;
}

PheSharedFontsInfo TheFontsInfoManager::CreateFontsInfo(TFont* ABaseFont, const LOGFONTA& LF) {
    auto entry = std::make_unique<TheSharedFontsInfo>();
    entry->BaseFont = std::make_unique<TFont>();
    entry->BaseFont->Assign(ABaseFont);
    entry->BaseLF = LF;
    entry->IsTrueType = (LF.lfPitchAndFamily & TrueTypeFamilyBit) != 0;
    entry->IsDBCSFont = isDoubleByteFont(ABaseFont->Handle());
    entries_.push_back(std::move(entry));
    return entries_.back().get();
}

void TheFontsInfoManager::DestroyFontHandles(PheSharedFontsInfo pFontsInfo) {
    for (TheFontData& data : pFontsInfo->FontsData) {
        if (data.Handle) DeleteObject(data.Handle);
        data = TheFontData{};
    }
}

void TheFontsInfoManager::RetrieveLogFontForComparison(TFont* ABaseFont, LOGFONTA& LF) const {
    LF = LOGFONTA{};
    GetObjectA(ABaseFont->Handle(), sizeof(LOGFONTA), &LF);
    LF.lfItalic = 0;
    LF.lfUnderline = 0;
    LF.lfStrikeOut = 0;
    // Whatever follows the name's NUL must not make equal fonts differ.
    std::size_t nameLength = strnlen(LF.lfFaceName, LF_FACESIZE);
    std::fill(LF.lfFaceName + nameLength, LF.lfFaceName + LF_FACESIZE, '\0');
}

TheFontsInfoManager* GetFontsInfoManager() {
    static TheFontsInfoManager manager;
    return &manager;
}

// ---- TheFontStock -------------------------------------------------------------

TheFontStock::TheFontStock(TFont* InitialFont) {
    SetBaseFont(InitialFont);
}

TheFontStock::~TheFontStock() {
    releaseFontsInfo();
}

HDC TheFontStock::InternalGetDC() {
    if (dcRefCount_++ == 0) dc_ = GetDC(nullptr);
    return dc_;
}

void TheFontStock::InternalReleaseDC(HDC Value) {
    Assert(Value == dc_ && dcRefCount_ > 0);
    if (--dcRefCount_ > 0) return;
    ReleaseDC(nullptr, dc_);
    dc_ = nullptr;
}

HFONT TheFontStock::InternalCreateFont(TFontStyles Style) {
    LOGFONTA logFont = baseLF_;
    logFont.lfWeight = Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = Style.Contains(fsItalic) ? 1 : 0;
    logFont.lfUnderline = Style.Contains(fsUnderline) ? 1 : 0;
    logFont.lfStrikeOut = Style.Contains(fsStrikeOut) ? 1 : 0;
    return CreateFontIndirectA(&logFont);
}

Integer TheFontStock::CalcFontAdvance(HDC DC, Integer* pCharHeight, Integer* pDBCharAdvance) {
    TEXTMETRICA metrics{};
    GetTextMetricsA(DC, &metrics);
    Integer measured = 0;
    bool hasABCWidths = measureCharacter(DC, MeasuringCharacter, measured);
    Integer advance = (hasABCWidths ? measured : metrics.tmAveCharWidth) + metrics.tmOverhang;
    if (pCharHeight) *pCharHeight = std::abs(metrics.tmHeight);
    if (pDBCharAdvance) {
        *pDBCharAdvance = std::numeric_limits<Integer>::max();
        Integer fullWidth = 0, hiragana = 0;
        if (hasABCWidths && GetIsDBCSFont() && metrics.tmCharSet == ShiftJisCharset &&
            measureCharacter(DC, FullWidthCharacter, fullWidth) &&
            measureCharacter(DC, FullWidthHiragana, hiragana) &&
            fullWidth > advance * FullWidthMinimumRatio && fullWidth == hiragana)
            *pDBCharAdvance = fullWidth;
    }
    return advance;
}

Integer TheFontStock::GetCharAdvance() const {
    return pCrntFontData_ ? pCrntFontData_->CharAdv : 0;
}

Integer TheFontStock::GetCharHeight() const {
    return pCrntFontData_ ? pCrntFontData_->CharHeight : 0;
}

Integer TheFontStock::GetDBCharAdvance() const {
    return pCrntFontData_ ? pCrntFontData_->DBCharAdv : 0;
}

PheFontData TheFontStock::GetFontData(Integer idx) {
    Assert(idx >= 0 && idx < FontStyleSetCount);
    return &pInfo_->FontsData[static_cast<std::size_t>(idx)];
}

TFont* TheFontStock::GetBaseFont() const {
    return pInfo_->BaseFont.get();
}

bool TheFontStock::GetIsDBCSFont() const {
    return pInfo_->IsDBCSFont;
}

bool TheFontStock::GetIsTrueType() const {
    return pInfo_->IsTrueType;
}

void TheFontStock::SetBaseFont(TFont* Value) {
    if (!Value) throw EheFontStockException(SBaseFontMissing);
    PheSharedFontsInfo info = GetFontsInfoManager()->GetFontsInfo(Value);
    if (info == pInfo_) {
        GetFontsInfoManager()->ReleaseFontsInfo(info);
        return;
    }
    releaseFontsInfo();
    pInfo_ = info;
    baseLF_ = info->BaseLF;
    SetStyle(Value->Style());
}

void TheFontStock::SetStyle(TFontStyles Value) {
    const Integer index = styleSetIndex(Value);
    Assert(index < FontStyleSetCount);
    useFontHandles();
    style_ = Value;
    PheFontData data = GetFontData(index);
    if (data == pCrntFontData_) return;
    pCrntFontData_ = data;
    if (!data->Handle) measureInto(*data, InternalCreateFont(Value));
    crntFont_ = data->Handle;
}

void TheFontStock::ReleaseFontHandles() {
    if (!usingFontHandles_) return;
    GetFontsInfoManager()->UnLockFontsInfo(pInfo_);
    usingFontHandles_ = false;
    // The handles may be gone now: the next SetStyle makes them again.
    pCrntFontData_ = nullptr;
    crntFont_ = nullptr;
}

void TheFontStock::useFontHandles() {
    if (usingFontHandles_) return;
    GetFontsInfoManager()->LockFontsInfo(pInfo_);
    usingFontHandles_ = true;
}

void TheFontStock::releaseFontsInfo() {
    if (!pInfo_) return;
    TheFontStock::ReleaseFontHandles();
    GetFontsInfoManager()->ReleaseFontsInfo(pInfo_);
    pInfo_ = nullptr;
}

void TheFontStock::measureInto(TheFontData& data, HFONT font) {
    HDC dc = InternalGetDC();
    HGDIOBJ previous = SelectObject(dc, font);
    data.CharAdv = CalcFontAdvance(dc, &data.CharHeight, GetIsDBCSFont() ? &data.DBCharAdv : nullptr);
    SelectObject(dc, previous);
    InternalReleaseDC(dc);
    data.Handle = font;
}

// ---- TheTextDrawer ------------------------------------------------------------

TheTextDrawer::TheTextDrawer(TFontStyles CalcExtentBaseStyle, TFont* BaseFont)
    : fontStock_(std::make_unique<TheFontStock>(BaseFont)), calcExtentBaseStyle_(CalcExtentBaseStyle),
      color_(clWindowText), bkColor_(clWindow) {
    TheTextDrawer::SetBaseFont(BaseFont);
}

TheTextDrawer::~TheTextDrawer() = default;

Integer TheTextDrawer::GetCharWidth() const {
    return baseCharWidth_ + charExtra_;
}

Integer TheTextDrawer::GetCharHeight() const {
    return baseCharHeight_;
}

void TheTextDrawer::BeginDrawing(HDC DC) {
    if (DC && DC == dc_) {
        ++drawingCount_;
        return;
    }
    Assert(dc_ == nullptr && DC != nullptr && drawingCount_ == 0);
    dc_ = DC;
    saveDC_ = SaveDC(DC);
    if (crntFont_) SelectObject(DC, crntFont_);
    SetTextColor(DC, ColorToRGB(color_));
    SetBkColor(DC, ColorToRGB(bkColor_));
    DoSetCharExtra(charExtra_);
    drawingCount_ = 1;
}

void TheTextDrawer::EndDrawing() {
    Assert(drawingCount_ >= 1);
    if (--drawingCount_ > 0) return;
    if (saveDC_) RestoreDC(dc_, saveDC_);
    saveDC_ = 0;
    dc_ = nullptr;
}

void TheTextDrawer::TextOut(Integer X, Integer Y, const char* Text, Integer Length) {
    TextOutA(dc_, X, Y, Text, Length);
}

void TheTextDrawer::ExtTextOut(Integer X, Integer Y, UINT fuOptions, const TRect& ARect, const char* Text,
                               Integer Length) {
    ensureETODist(Length);
    ExtTextOutA(dc_, X, Y, fuOptions, &ARect, Text, static_cast<UINT>(std::max(Length, 0)), etoDist_.data());
}

void TheTextDrawer::SetBaseFont(TFont* Value) {
    if (!Value) throw EheTextDrawerException(SBaseFontMissing);
    ReleaseETODist();
    fontStock_->SetBaseFont(Value);
    takeBaseMeasurements();
    SetStyle(Value->Style());
}

void TheTextDrawer::SetBaseStyle(TFontStyles Value) {
    if (calcExtentBaseStyle_ == Value) return;
    calcExtentBaseStyle_ = Value;
    ReleaseETODist();
    takeBaseMeasurements();
}

void TheTextDrawer::SetStyle(TFontStyles Value) {
    fontStock_->SetStyle(Value);
    crntFont_ = fontStock_->FontHandle();
    AfterStyleSet();
}

void TheTextDrawer::SetForeColor(TColor Value) {
    if (color_ == Value) return;
    color_ = Value;
    if (dc_) SetTextColor(dc_, ColorToRGB(Value));
}

void TheTextDrawer::SetBackColor(TColor Value) {
    if (bkColor_ == Value) return;
    bkColor_ = Value;
    if (dc_) SetBkColor(dc_, ColorToRGB(Value));
}

void TheTextDrawer::SetCharExtra(Integer Value) {
    if (charExtra_ == Value) return;
    charExtra_ = Value;
    // The distances hold the old cell width.
    ReleaseETODist();
    DoSetCharExtra(Value);
}

void TheTextDrawer::ReleaseTemporaryResources() {
    fontStock_->ReleaseFontHandles();
    crntFont_ = nullptr;
}

void TheTextDrawer::ReleaseETODist() {
    etoDist_.clear();
    etoDist_.shrink_to_fit();
}

void TheTextDrawer::AfterStyleSet() {
    if (dc_ && crntFont_) SelectObject(dc_, crntFont_);
}

void TheTextDrawer::DoSetCharExtra(Integer Value) {
    if (dc_) SetTextCharacterExtra(dc_, Value);
}

void TheTextDrawer::ensureETODist(Integer Length) {
    if (Length <= etoDistCount()) return;
    const Integer size = (Length & ~(DistanceBufferStep - 1)) + DistanceBufferStep;
    etoDist_.resize(static_cast<std::size_t>(size), GetCharWidth());
}

void TheTextDrawer::takeBaseMeasurements() {
    fontStock_->SetStyle(calcExtentBaseStyle_);
    baseCharWidth_ = fontStock_->GetCharAdvance();
    baseCharHeight_ = fontStock_->GetCharHeight();
}

// ---- TheTextDrawer2 -----------------------------------------------------------

void TheTextDrawer2::SetStyle(TFontStyles Value) {
    const Integer index = styleSetIndex(Value);
    Assert(index < FontStyleSetCount);
    HFONT& remembered = fonts_[static_cast<std::size_t>(index)];
    if (remembered) {
        crntFont_ = remembered;
        AfterStyleSet();
        return;
    }
    TheTextDrawer::SetStyle(Value);
    remembered = crntFont_;
}

void TheTextDrawer2::SetBaseFont(TFont* Value) {
    fonts_.fill(nullptr);
    TheTextDrawer::SetBaseFont(Value);
}

void TheTextDrawer2::ReleaseTemporaryResources() {
    fonts_.fill(nullptr);
    TheTextDrawer::ReleaseTemporaryResources();
}

// ---- TheTextDrawerEx ----------------------------------------------------------

void TheTextDrawerEx::ExtTextOut(Integer X, Integer Y, UINT fuOptions, const TRect& ARect, const char* Text,
                                 Integer Length) {
    switch (output_) {
    case Output::Plain:
        TextOutOrExtTextOut(X, Y, fuOptions, ARect, Text, Length);
        break;
    case Output::Fixed:
        ExtTextOutFixed(X, Y, fuOptions, ARect, Text, Length);
        break;
    case Output::WithDistances:
        ExtTextOutWithETO(X, Y, fuOptions, ARect, Text, Length);
        break;
    case Output::DoubleByte:
        ExtTextOutForDBCS(X, Y, fuOptions, ARect, Text, Length);
        break;
    }
}

void TheTextDrawerEx::AfterStyleSet() {
    TheTextDrawer::AfterStyleSet();
    crntDx_ = baseCharWidth_ - fontStock_->GetCharAdvance();
    chooseOutput();
    applyCharExtra();
}

void TheTextDrawerEx::DoSetCharExtra(Integer) {
    chooseOutput();
    applyCharExtra();
}

// A run that starts at the rectangle's corner, is as high as it and reaches
// its right edge paints the whole rectangle with its own background.
void TheTextDrawerEx::TextOutOrExtTextOut(Integer X, Integer Y, UINT fuOptions, const TRect& ARect,
                                          const char* Text, Integer Length) {
    const bool fillsRectangle = X == ARect.Left && Y == ARect.Top && ARect.Height() == GetCharHeight() &&
                                X + Length * GetCharWidth() >= ARect.Right;
    if (fillsRectangle)
        TextOutA(dc_, X, Y, Text, Length);
    else
        ExtTextOutA(dc_, X, Y, fuOptions | ETO_CLIPPED, &ARect, Text, static_cast<UINT>(std::max(Length, 0)),
                    nullptr);
}

void TheTextDrawerEx::ExtTextOutFixed(Integer X, Integer Y, UINT fuOptions, const TRect& ARect,
                                      const char* Text, Integer Length) {
    ExtTextOutA(dc_, X, Y, fuOptions, &ARect, Text, static_cast<UINT>(std::max(Length, 0)), nullptr);
}

void TheTextDrawerEx::ExtTextOutWithETO(Integer X, Integer Y, UINT fuOptions, const TRect& ARect,
                                        const char* Text, Integer Length) {
    TheTextDrawer::ExtTextOut(X, Y, fuOptions, ARect, Text, Length);
}

// Single-byte and double-byte stretches each get the spacing that fits their
// characters to one and two cells.
void TheTextDrawerEx::ExtTextOutForDBCS(Integer X, Integer Y, UINT fuOptions, const TRect& ARect,
                                        const char* Text, Integer Length) {
    Integer x = X;
    for (Integer start = 0; start < Length;) {
        const bool doubleByte = IsDBCSLeadByte(static_cast<Byte>(Text[start]));
        Integer end = start;
        while (end < Length && IsDBCSLeadByte(static_cast<Byte>(Text[end])) == doubleByte)
            end += doubleByte ? 2 : 1;
        end = std::min(end, Length);
        const Integer extra = doubleByte ? 2 * GetCharWidth() - fontStock_->GetDBCharAdvance()
                                         : GetCharWidth() - fontStock_->GetCharAdvance();
        SetTextCharacterExtra(dc_, extra);
        TRect stretch = ARect;
        stretch.Left = std::max(ARect.Left, x);
        ExtTextOutA(dc_, x, Y, fuOptions, &stretch, Text + start, static_cast<UINT>(end - start), nullptr);
        x += (end - start) * GetCharWidth();
        start = end;
    }
}

// Italic glyphs lean out of their advance, so they keep the per-character
// distances; upright ones only need the spacing that fits them to the cell.
void TheTextDrawerEx::chooseOutput() {
    if (fontStock_->GetIsDBCSFont())
        output_ = Output::DoubleByte;
    else if (fontStock_->Style().Contains(fsItalic))
        output_ = Output::WithDistances;
    else if (crntDx_ == 0 && charExtra_ == 0)
        output_ = Output::Plain;
    else
        output_ = Output::Fixed;
}

void TheTextDrawerEx::applyCharExtra() {
    if (dc_ && !fontStock_->GetIsDBCSFont()) SetTextCharacterExtra(dc_, charExtra_ + crntDx_);
}
