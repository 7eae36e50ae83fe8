// Text in fixed-width cells: the drawer wraps a device context while the
// editor paints and advances every character by the same cell width; behind
// it, font stocks create and measure the style variants of one base font, and
// a process-wide cache shares those fonts between every editor that uses the
// same base font.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/System.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/WinTypes.h"

#include <array>
#include <memory>
#include <vector>

class EheFontStockException : public Exception {
public:
    using Exception::Exception;
};

class EheTextDrawerException : public Exception {
public:
    using Exception::Exception;
};

// One style variant of a base font: its handle (none until first used) and its measurements.
struct TheFontData {
    HFONT Handle = nullptr;
    Integer CharAdv = 0;
    Integer DBCharAdv = 0;
    Integer CharHeight = 0;
};
using PheFontData = TheFontData*;

// Bold 1, italic 2, underline 4, strike-out 8, summed: one record per style set.
constexpr Integer FontStyleSetCount = 16;
using TheFontsData = std::array<TheFontData, FontStyleSetCount>;

// What the cache shares for one base font.
struct TheSharedFontsInfo {
    // The font stocks using this entry, and those of them holding its handles.
    Integer RefCount = 0;
    Integer LockCount = 0;
    std::unique_ptr<TFont> BaseFont;
    // The cache key: the base font's logical font without italic, underline
    // and strike-out, and with nothing after the face name's NUL.
    LOGFONTA BaseLF{};
    bool IsDBCSFont = false;
    bool IsTrueType = false;
    TheFontsData FontsData{};
};
using PheSharedFontsInfo = TheSharedFontsInfo*;

class TheFontsInfoManager : public TObject {
public:
    TheFontsInfoManager();
    ~TheFontsInfoManager() override;

    void LockFontsInfo(PheSharedFontsInfo pFontsInfo);
    // At the last unlock every font handle of the entry is deleted.
    void UnLockFontsInfo(PheSharedFontsInfo pFontsInfo);
    // The shared entry for the font, made on first request; one more reference.
    PheSharedFontsInfo GetFontsInfo(TFont* ABaseFont);
    // One reference less; the last one frees the entry.
    void ReleaseFontsInfo(PheSharedFontsInfo pFontsInfo);

protected:
    PheSharedFontsInfo FindFontsInfo(const LOGFONTA& LF) const;
    PheSharedFontsInfo CreateFontsInfo(TFont* ABaseFont, const LOGFONTA& LF);
    void DestroyFontHandles(PheSharedFontsInfo pFontsInfo);
    void RetrieveLogFontForComparison(TFont* ABaseFont, LOGFONTA& LF) const;

private:
    std::vector<std::unique_ptr<TheSharedFontsInfo>> entries_;
};

// The process's font cache, made on first request and freed at exit.
TheFontsInfoManager* GetFontsInfoManager();

// The style variants of one base font, created and measured on first use.
class TheFontStock : public TObject {
public:
    explicit TheFontStock(TFont* InitialFont);
    ~TheFontStock() override;

    virtual void SetBaseFont(TFont* Value);
    virtual void SetStyle(TFontStyles Value);
    TFontStyles Style() const { return style_; }
    // Lets the cache delete this stock's font handles once no stock uses them.
    virtual void ReleaseFontHandles();

    virtual Integer GetCharAdvance() const;
    virtual Integer GetCharHeight() const;
    virtual Integer GetDBCharAdvance() const;
    virtual PheFontData GetFontData(Integer idx);
    TFont* GetBaseFont() const;
    bool GetIsDBCSFont() const;
    bool GetIsTrueType() const;
    HFONT FontHandle() const { return crntFont_; }

protected:
    virtual HDC InternalGetDC();
    virtual void InternalReleaseDC(HDC Value);
    virtual HFONT InternalCreateFont(TFontStyles Style);
    // The advance of one cell in the font selected into DC; the height and,
    // when asked, the advance of a double-byte character go to the pointers.
    virtual Integer CalcFontAdvance(HDC DC, Integer* pCharHeight, Integer* pDBCharAdvance);

private:
    void useFontHandles();
    void releaseFontsInfo();
    void measureInto(TheFontData& data, HFONT font);

    HDC dc_ = nullptr;
    Integer dcRefCount_ = 0;
    PheSharedFontsInfo pInfo_ = nullptr;
    bool usingFontHandles_ = false;
    HFONT crntFont_ = nullptr;
    PheFontData pCrntFontData_ = nullptr;
    TFontStyles style_;
    LOGFONTA baseLF_{};
};

class TheTextDrawer : public TObject {
public:
    // CalcExtentBaseStyle is the style whose advance gives the cell width.
    TheTextDrawer(TFontStyles CalcExtentBaseStyle, TFont* BaseFont);
    ~TheTextDrawer() override;

    virtual Integer GetCharWidth() const;
    virtual Integer GetCharHeight() const;
    // Nested calls on the same context need as many EndDrawing calls.
    virtual void BeginDrawing(HDC DC);
    virtual void EndDrawing();
    virtual void TextOut(Integer X, Integer Y, const char* Text, Integer Length);
    // Every character advances exactly GetCharWidth pixels.
    virtual void ExtTextOut(Integer X, Integer Y, UINT fuOptions, const TRect& ARect, const char* Text,
                            Integer Length);
    virtual void SetBaseFont(TFont* Value);
    virtual void SetBaseStyle(TFontStyles Value);
    virtual void SetStyle(TFontStyles Value);
    virtual void SetForeColor(TColor Value);
    virtual void SetBackColor(TColor Value);
    virtual void SetCharExtra(Integer Value);
    virtual void ReleaseTemporaryResources();

    TFontStyles BaseStyle() const { return calcExtentBaseStyle_; }
    TColor ForeColor() const { return color_; }
    TColor BackColor() const { return bkColor_; }
    Integer CharExtra() const { return charExtra_; }
    TFont* BaseFont() const { return fontStock_->GetBaseFont(); }

protected:
    virtual void ReleaseETODist();
    virtual void AfterStyleSet();
    virtual void DoSetCharExtra(Integer Value);
    Integer etoDistCount() const { return static_cast<Integer>(etoDist_.size()); }

    HDC dc_ = nullptr;
    std::unique_ptr<TheFontStock> fontStock_;
    Integer baseCharWidth_ = 0;
    Integer baseCharHeight_ = 0;
    HFONT crntFont_ = nullptr;
    Integer charExtra_ = 0;

private:
    void ensureETODist(Integer Length);
    void takeBaseMeasurements();

    int saveDC_ = 0;
    TFontStyles calcExtentBaseStyle_;
    std::vector<INT> etoDist_;
    TColor color_;
    TColor bkColor_;
    Integer drawingCount_ = 0;
};

// A drawer that remembers the font handle of each style set it has used.
class TheTextDrawer2 : public TheTextDrawer {
public:
    using TheTextDrawer::TheTextDrawer;

    void SetStyle(TFontStyles Value) override;
    void SetBaseFont(TFont* Value) override;
    void ReleaseTemporaryResources() override;

private:
    std::array<HFONT, FontStyleSetCount> fonts_{};
};

// A drawer that fits each style's own advance to the cell with extra
// character spacing and picks the cheapest way to output a run.
class TheTextDrawerEx : public TheTextDrawer {
public:
    using TheTextDrawer::TheTextDrawer;

    void ExtTextOut(Integer X, Integer Y, UINT fuOptions, const TRect& ARect, const char* Text,
                    Integer Length) override;

protected:
    void AfterStyleSet() override;
    void DoSetCharExtra(Integer Value) override;
    virtual void TextOutOrExtTextOut(Integer X, Integer Y, UINT fuOptions, const TRect& ARect,
                                     const char* Text, Integer Length);
    virtual void ExtTextOutFixed(Integer X, Integer Y, UINT fuOptions, const TRect& ARect, const char* Text,
                                 Integer Length);
    virtual void ExtTextOutWithETO(Integer X, Integer Y, UINT fuOptions, const TRect& ARect, const char* Text,
                                   Integer Length);
    virtual void ExtTextOutForDBCS(Integer X, Integer Y, UINT fuOptions, const TRect& ARect, const char* Text,
                                   Integer Length);

private:
    enum class Output { Plain, Fixed, WithDistances, DoubleByte };
    void chooseOutput();
    void applyCharExtra();

    Output output_ = Output::WithDistances;
    // The cell width less the current style's own advance.
    Integer crntDx_ = 0;
};
