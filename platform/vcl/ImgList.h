// Image lists: images of one size, each with an optional mask, drawn by
// index normally, transparently, blended, as their mask or disabled, and the
// change links through which controls hear when a list changes.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/Graphics.h"

#include <memory>
#include <vector>

// The drawing styles of the common controls' ImageList_Draw.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = ILD_BLEND50;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;
// Background and blend colours: none, or the list's own (the highlight colour for blending).
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList;

// Tells its owner (OnChange) when the list it is registered with changes.
class TChangeLink : public TObject {
public:
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return sender_; }
    virtual void Change();
    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* sender_ = nullptr;
};

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    // A list without an owner whose images are AWidth x AHeight.
    TCustomImageList(Integer AWidth, Integer AHeight);
    ~TCustomImageList() override;

    // Adds Image cut into pieces of the list's width (at least one); Mask,
    // when given, is white where the image is transparent. The index of the
    // first piece, or -1 for an empty image.
    Integer Add(TBitmap* Image, TBitmap* Mask);
    // The same with the pixels of MaskColor transparent (clDefault: the
    // image's TransparentColor; clNone: none).
    Integer AddMasked(TBitmap* Image, TColor MaskColor);
    void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
    void ReplaceMasked(Integer Index, TBitmap* NewImage, TColor MaskColor);
    // EInvalidOperation "Invalid ImageList Index"; -1 deletes every image.
    void Delete(Integer Index);
    void Clear();
    Integer Count() const { return static_cast<Integer>(images_.size()); }

    // In DrawingStyle and ImageType; disabled images are embossed in the
    // button highlight and shadow colours. Nothing for an unknown index.
    void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
    void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
              TImageType AImageType, bool Enabled = true);
    // What ImageList_DrawEx does with the list: Style is a combination of
    // ILD_ flags; Background and Foreground are colours, CLR_NONE or CLR_DEFAULT.
    bool DrawEx(HDC DC, Integer Index, Integer X, Integer Y, COLORREF Background, COLORREF Foreground,
                UINT Style);
    // Sizes Image to the list's images and draws image Index on it.
    void GetBitmap(Integer Index, TBitmap* Image);

    void RegisterChanges(TChangeLink* Value);
    void UnRegisterChanges(TChangeLink* Value);

    Integer Width() const { return width_; }
    // A new size clears the list; EInvalidOperation "Invalid image size" below 1.
    void SetWidth(Integer Value) { setSize(Value, height_); }
    Integer Height() const { return height_; }
    void SetHeight(Integer Value) { setSize(width_, Value); }
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor Value);
    TColor BlendColor() const { return blendColor_; }
    void SetBlendColor(TColor Value);
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TDrawingStyle Value);
    TImageType ImageType() const { return imageType_; }
    void SetImageType(TImageType Value);
    // An unmasked list draws every image opaque.
    bool Masked() const { return masked_; }
    void SetMasked(bool Value);

    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    struct Image {
        std::shared_ptr<PixelSurface> colour;
        // White where transparent; null in an unmasked list.
        std::shared_ptr<PixelSurface> mask;
    };

    void setSize(Integer AWidth, Integer AHeight);
    std::vector<Image> cut(TBitmap* image, TBitmap* mask, bool keyed, Pixel key) const;
    std::vector<Image> cutMasked(TBitmap* image, TColor maskColor) const;
    Integer append(std::vector<Image> pieces);
    void replace(Integer Index, std::vector<Image> pieces);
    void checkIndex(Integer Index) const;
    void drawDisabled(HDC dc, const Image& image, Integer X, Integer Y);

    Integer width_;
    Integer height_;
    TColor bkColor_ = clNone;
    TColor blendColor_ = clNone;
    TDrawingStyle drawingStyle_ = dsNormal;
    TImageType imageType_ = itImage;
    bool masked_ = true;
    std::vector<Image> images_;
    std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};
