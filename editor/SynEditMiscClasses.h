// The editor's small persistent parts: multicast events (a chain of methods
// all called when it fires), the option objects of the gutter, selection and
// bookmarks that announce their changes, the pictures of the gutter and the
// abstract search engine.
#pragma once

#include "editor/SynEditTypes.h"
#include "platform/core/Exceptions.h"
#include "platform/core/System.h"
#include "platform/vcl/Components.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/ImgList.h"
#include "platform/win/WinUser.h"

#include <memory>
#include <vector>

class ESynMethodChain : public Exception {
public:
    using Exception::Exception;
};

// Called with the chain and the exception a listener raised; leaving
// DoContinue true lets the chain go on with the next listener.
using TSynExceptionEvent = Closure<void(TObject* Sender, Exception& E, bool& DoContinue)>;

template <typename Event> class TSynMethodChain : public TObject {
public:
    // Subscribes a method; the same method may be subscribed more than once.
    void Add(const Event& AEvent) {
        if (!AEvent)
            throw ESynMethodChain(ClassName() + ".Entry : the parameter `AEvent' must be specified.");
        entries_.push_back(AEvent);
    }

    // Unsubscribes every occurrence of the method.
    void Remove(const Event& AEvent) {
        if (!AEvent)
            throw ESynMethodChain(ClassName() + ".Remove: the parameter `AEvent' must be specified.");
        for (std::size_t i = entries_.size(); i-- > 0;)
            if (entries_[i] == AEvent) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    }

    // Calls every listener in order, including listeners subscribed while firing.
    void Fire() {
        for (std::size_t position = 0; position < entries_.size(); ++position) {
            // A copy: the listener may change the chain while it runs.
            const Event entry = entries_[position];
            try {
                DoFire(entry);
            } catch (Exception& e) {
                if (!DoHandleException(e)) return;
            }
        }
    }

    TSynExceptionEvent ExceptionHandler;

protected:
    virtual void DoFire(const Event& AEvent) = 0;

    // Runs inside Fire's handler for E: without an ExceptionHandler E passes
    // on, otherwise the handler decides whether the chain goes on.
    virtual bool DoHandleException(Exception& E) {
        if (!ExceptionHandler) throw;
        bool doContinue = true;
        try {
            ExceptionHandler(this, E, doContinue);
        } catch (...) {
            throw ESynMethodChain(
                ClassName() +
                ".DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
        }
        return doContinue;
    }

private:
    std::vector<Event> entries_;
};

// A chain of notify events, each called with the chain's current Sender.
class TSynNotifyEventChain : public TSynMethodChain<TNotifyEvent> {
public:
    explicit TSynNotifyEventChain(TObject* ASender = nullptr) : Sender(ASender) {}

    TObject* Sender;

protected:
    void DoFire(const TNotifyEvent& AEvent) override;
};

// ---- Option objects ----------------------------------------------------------------
// Each setter stores the value and fires OnChange only when it differs, unless
// noted; Assign from the same class copies everything, then fires once.

class TSynSelectedColor : public TPersistent {
public:
    void Assign(TPersistent* Source) override;

    TColor Background() const { return background_; }
    void SetBackground(TColor Value);
    TColor Foreground() const { return foreground_; }
    void SetForeground(TColor Value);

    TNotifyEvent OnChange;

private:
    void changed();

    TColor background_ = clHighlight;
    TColor foreground_ = clHighlightText;
};

enum TSynGutterBorderStyle { gbsNone, gbsMiddle, gbsRight };

class TSynGutter : public TPersistent {
public:
    TSynGutter();
    ~TSynGutter() override;

    // Copies everything but Cursor and OnChange.
    void Assign(TPersistent* Source) override;
    // Widens the digit count in effect to the number of the last of LinesCount
    // lines when the gutter sizes itself; otherwise goes back to DigitCount.
    void AutoSizeDigitCount(Integer LinesCount);
    // The digit count in effect.
    Integer AutoSizeDigitCount() const { return autoSizeDigitCount_; }
    // The text shown for a 1-based line: right-aligned in the digit count in effect.
    AnsiString FormatLineNumber(Integer Line) const;
    // The width in pixels for characters of CharWidth pixels.
    Integer RealGutterWidth(Integer CharWidth) const;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    TSynGutterBorderStyle BorderStyle() const { return borderStyle_; }
    // Fires OnChange even when the style does not change.
    void SetBorderStyle(TSynGutterBorderStyle Value);
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value);
    // A plain value: no event.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value) { cursor_ = Value; }
    Integer DigitCount() const { return digitCount_; }
    // Limited to 2..12; also resets the digit count in effect.
    void SetDigitCount(Integer Value);
    // The gutter's own font; any change of it fires OnChange.
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    bool LeadingZeros() const { return leadingZeros_; }
    void SetLeadingZeros(bool Value);
    // Offsets and Width: negative values become 0.
    Integer LeftOffset() const { return leftOffset_; }
    void SetLeftOffset(Integer Value);
    Integer RightOffset() const { return rightOffset_; }
    void SetRightOffset(Integer Value);
    bool ShowLineNumbers() const { return showLineNumbers_; }
    void SetShowLineNumbers(bool Value);
    bool UseFontStyle() const { return useFontStyle_; }
    void SetUseFontStyle(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    Integer Width() const { return width_; }
    void SetWidth(Integer Value);
    bool ZeroStart() const { return zeroStart_; }
    void SetZeroStart(bool Value);
    Integer LineNumberStart() const { return lineNumberStart_; }
    // Negative values become 0; ZeroStart is on exactly when the value is 0.
    void SetLineNumberStart(Integer Value);
    bool Gradient() const { return gradient_; }
    void SetGradient(bool Value);
    TColor GradientStartColor() const { return gradientStartColor_; }
    void SetGradientStartColor(TColor Value);
    TColor GradientEndColor() const { return gradientEndColor_; }
    void SetGradientEndColor(TColor Value);
    Integer GradientSteps() const { return gradientSteps_; }
    // Values below 2 become 2.
    void SetGradientSteps(Integer Value);

    TNotifyEvent OnChange;

private:
    void changed();
    void FontChanged(TObject* Sender);
    template <typename V> void update(V& field, V value) {
        if (field == value) return;
        field = value;
        changed();
    }
    Integer shiftedLineNumber(Integer Line) const;

    std::unique_ptr<TFont> font_;
    bool autoSize_ = false;
    TSynGutterBorderStyle borderStyle_ = gbsMiddle;
    TColor color_ = clBtnFace;
    TColor borderColor_ = clWindow;
    TCursor cursor_ = crDefault;
    Integer digitCount_;
    Integer autoSizeDigitCount_;
    bool leadingZeros_ = false;
    Integer leftOffset_;
    Integer rightOffset_;
    bool showLineNumbers_ = false;
    bool useFontStyle_ = true;
    bool visible_ = true;
    Integer width_;
    bool zeroStart_ = false;
    Integer lineNumberStart_ = 1;
    bool gradient_ = false;
    TColor gradientStartColor_ = clWindow;
    TColor gradientEndColor_ = clBtnFace;
    Integer gradientSteps_;
};

class TSynBookMarkOpt : public TPersistent {
public:
    // AOwner hears when the bookmark image list goes away.
    explicit TSynBookMarkOpt(TComponent* AOwner);

    void Assign(TPersistent* Source) override;

    // Not owned.
    TImageList* BookmarkImages() const { return bookmarkImages_; }
    void SetBookmarkImages(TImageList* Value);
    bool DrawBookmarksFirst() const { return drawBookmarksFirst_; }
    void SetDrawBookmarksFirst(bool Value);
    // A plain value: no event.
    bool EnableKeys() const { return enableKeys_; }
    void SetEnableKeys(bool Value) { enableKeys_ = Value; }
    bool GlyphsVisible() const { return glyphsVisible_; }
    void SetGlyphsVisible(bool Value);
    Integer LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(Integer Value);
    Integer Xoffset() const { return xoffset_; }
    void SetXoffset(Integer Value);

    TNotifyEvent OnChange;

private:
    void changed();
    void watchImages();
    template <typename V> void update(V& field, V value) {
        if (field == value) return;
        field = value;
        changed();
    }

    TComponent* owner_;
    TImageList* bookmarkImages_ = nullptr;
    bool drawBookmarksFirst_ = true;
    bool enableKeys_ = true;
    bool glyphsVisible_ = true;
    Integer leftMargin_;
    Integer xoffset_;
};

// A picture of the gutter: the user's Glyph when there is one, else the
// built-in picture loaded from a bitmap resource.
class TSynGlyph : public TPersistent {
public:
    // With an empty resource name there is no built-in picture.
    TSynGlyph(HINSTANCE aModule, const AnsiString& aName, TColor aMaskColor);
    ~TSynGlyph() override;

    // Takes the other glyph's visibility, mask colours and pictures (as copies).
    void Assign(TPersistent* Source) override;
    // Centred in a line of LineHeight pixels, or cut to its middle rows when
    // taller; the mask colour shows the canvas's brush.
    void Draw(TCanvas* aCanvas, Integer aX, Integer aY, Integer aLineHeight);

    TBitmap* Glyph() const { return glyph_.get(); }
    // Copies Value into the owned bitmap.
    void SetGlyph(TBitmap* Value);
    TColor MaskColor() const { return maskColor_; }
    void SetMaskColor(TColor Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    Integer Width() const;
    Integer Height() const;

    TNotifyEvent OnChange;

private:
    void changed();
    void GlyphChange(TObject* Sender);
    // The picture in use and its mask colour; null when there is none.
    TBitmap* pictureInUse(TColor& maskColor) const;

    std::unique_ptr<TBitmap> internalGlyph_;
    TColor internalMaskColor_;
    std::unique_ptr<TBitmap> glyph_;
    TColor maskColor_ = clNone;
    bool visible_ = true;
};

// A strip of equally wide pictures from one bitmap resource. Strips of the
// same resource share one bitmap, however many editors draw them.
class TSynInternalImage : public TObject {
public:
    // EResNotFound when the resource is missing.
    TSynInternalImage(HINSTANCE aModule, const AnsiString& Name, Integer Count);
    ~TSynInternalImage() override;

    // Picture Number (0 to Count - 1) copied opaquely, centred in a line of
    // LineHeight pixels or cut to its middle rows; nothing for other numbers.
    void Draw(TCanvas* ACanvas, Integer Number, Integer X, Integer Y, Integer LineHeight);
    // The same with TransparentColor left out.
    void DrawTransparent(TCanvas* ACanvas, Integer Number, Integer X, Integer Y, Integer LineHeight,
                         TColor TransparentColor);

    Integer Width() const { return width_; }
    Integer Height() const { return height_; }
    Integer Count() const { return count_; }

private:
    // The part of the strip to draw and where it goes; false when Number is out of range.
    bool placePicture(Integer Number, Integer X, Integer Y, Integer LineHeight, TRect& Dest,
                      TRect& Source) const;

    TBitmap* images_;
    Integer width_;
    Integer height_;
    Integer count_;
};

// A search engine the editor's search and replace can be given.
class TSynEditSearchCustom : public TComponent {
public:
    using TComponent::TComponent;

    virtual AnsiString GetPattern() = 0;
    virtual void SetPattern(const AnsiString& Value) = 0;
    // The length and position of each match of the last search, and their number.
    virtual Integer GetLength(Integer Index) = 0;
    virtual Integer GetResult(Integer Index) = 0;
    virtual Integer GetResultCount() = 0;
    virtual void SetOptions(TSynSearchOptions Value) = 0;
    // The number of matches in NewText.
    virtual Integer FindAll(const AnsiString& NewText) = 0;
    virtual AnsiString Replace(const AnsiString& aOccurrence, const AnsiString& aReplacement) = 0;
};
