// The pictures of the framework's graphics: the abstract graphic that draws
// itself on a canvas and reads and writes its file, bitmaps, icons, and the
// picture that holds one graphic of any class. Included by Graphics.h.
#pragma once

#include "platform/core/Classes.h"
#include "platform/win/PixelSurface.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WinUser.h"

#include <memory>
#include <vector>

class TCanvas;

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
public:
    using Exception::Exception;
};
class EOutOfResources : public EOutOfMemory {
public:
    using EOutOfMemory::EOutOfMemory;
};

// A picture that draws itself on a canvas and reads and writes its file
// format. Form resources store it as the binary property "Data".
class TGraphic : public TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual Integer Width() const = 0;
    virtual void SetWidth(Integer Value) = 0;
    virtual Integer Height() const = 0;
    virtual void SetHeight(Integer Value) = 0;
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool Value);
    bool Modified() const { return modified_; }
    void SetModified(bool Value);

    // Files are read with deny-write sharing and written with fmCreate.
    virtual void LoadFromFile(const AnsiString& FileName);
    virtual void SaveToFile(const AnsiString& FileName);
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    // A new graphic of the same class holding a copy of this one.
    virtual std::unique_ptr<TGraphic> Clone() = 0;
    // Whether Graphic is of the same class and saves to the same bytes.
    virtual bool Equals(TGraphic* Graphic);
    // Reads clipboard data of a format registered for the class (the data
    // stays the clipboard's); EInvalidGraphic "Unsupported clipboard format"
    // where the class reads none.
    virtual void LoadFromClipboardFormat(Word AFormat, HANDLE AData);

    void DefineProperties(TFiler* Filer) override;
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    friend class TPicture;
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    virtual void Changed(TObject* Sender);
    // The "Data" property's contents.
    virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
    virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }

    bool transparent_ = false;

private:
    bool modified_ = false;
};

enum TTransparentMode { tmAuto, tmFixed };
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };

// A bitmap in memory: colour (32 bits per pixel) or monochrome, with a canvas
// to draw on it. New area from a size change is white. Drawn transparently,
// the pixels of TransparentColor are left out through a monochrome mask.
class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    void Assign(TPersistent* Source) override;
    bool Empty() const override { return !image_; }
    Integer Width() const override { return width_; }
    void SetWidth(Integer Value) override { SetSize(Value, height_); }
    Integer Height() const override { return height_; }
    void SetHeight(Integer Value) override { SetSize(width_, Value); }
    // Keeps the image's top-left part; EOutOfResources when too large.
    void SetSize(Integer AWidth, Integer AHeight);

    TCanvas* Canvas();
    // The bitmap's handle, made on demand; the bitmap owns it.
    HBITMAP Handle();
    // Takes over the bitmap behind Value (and frees the old one).
    void SetHandle(HBITMAP Value);
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Gives the handle to the caller, who frees it; the bitmap keeps a copy of the image.
    HBITMAP ReleaseHandle();
    // A monochrome mask made from the current image: TransparentColor white,
    // every other pixel black. Owned by the bitmap until the next call.
    HBITMAP MaskHandle();
    // Frees the handle and its device context; the image stays in memory.
    void Dormant();
    // The image in memory is the handle's own pixels: nothing to free.
    void FreeImage() {}
    TBitmapHandleType HandleType() const { return handleType_; }
    void SetHandleType(TBitmapHandleType Value) { handleType_ = Value; }

    bool Monochrome() const { return monochrome_; }
    // To monochrome: pixels of the canvas's brush colour become white, all
    // others black. To colour: black and white stay so.
    void SetMonochrome(bool Value);
    TPixelFormat PixelFormat() const { return monochrome_ ? pf1bit : pixelFormat_; }
    void SetPixelFormat(TPixelFormat Value);
    // With tmAuto the bottom-left pixel (white for a monochrome bitmap, clDefault
    // when empty), with the palette-relative flag 0x02000000 added.
    TColor TransparentColor() const;
    // clDefault returns to tmAuto; any other colour sets tmFixed.
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode Value);

    // A bitmap resource embedded in the program, found by name; EResNotFound
    // when there is none. Instance is not used.
    void LoadFromResourceName(HINSTANCE Instance, const AnsiString& ResName);
    // A bitmap file (BITMAPFILEHEADER first); EInvalidGraphic "Bitmap image
    // is not valid" when it cannot be read.
    void LoadFromStream(TStream* Stream) override;
    // CF_BITMAP: a copy of the clipboard's bitmap.
    void LoadFromClipboardFormat(Word AFormat, HANDLE AData) override;
    // A bitmap file at the pixel format's depth (24 bits for pfDevice).
    void SaveToStream(TStream* Stream) override;
    std::unique_ptr<TGraphic> Clone() override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void Changed(TObject* Sender) override;
    // Form resources hold the file's size before the file.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

private:
    class TBitmapCanvas;
    void setImage(std::shared_ptr<PixelSurface> image, HBITMAP handle);
    void freeContext();
    void freeMask();
    Pixel maskKey() const;

    Integer width_ = 0;
    Integer height_ = 0;
    bool monochrome_ = false;
    TPixelFormat pixelFormat_ = pfDevice;
    TBitmapHandleType handleType_ = bmDIB;
    TTransparentMode transparentMode_ = tmAuto;
    TColor transparentColor_ = clDefault;
    std::shared_ptr<PixelSurface> image_;
    HBITMAP handle_ = nullptr;
    HBITMAP mask_ = nullptr;
    std::unique_ptr<TBitmapCanvas> canvas_;
};

// An icon: a colour image and an AND mask. Read from and written to icon
// files (the image nearest the system icon size is taken); always drawn
// transparently. An empty icon measures as the system icon size.
class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;

    void Assign(TPersistent* Source) override;
    bool Empty() const override { return !handle_; }
    Integer Width() const override;
    // EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(Integer Value) override;
    Integer Height() const override;
    void SetHeight(Integer Value) override;
    bool Transparent() const override { return true; }
    void SetTransparent(bool) override {}

    HICON Handle() const { return handle_; }
    // Takes over Value (and destroys the old icon).
    void SetHandle(HICON Value);
    // Gives the icon to the caller, who destroys it; the TIcon becomes empty.
    HICON ReleaseHandle();

    // EInvalidGraphic "Icon image is not valid" for anything but an icon file
    // with an uncompressed image.
    void LoadFromStream(TStream* Stream) override;
    // EInvalidGraphic "Clipboard does not support Icons", whatever the format.
    void LoadFromClipboardFormat(Word AFormat, HANDLE AData) override;
    // The file it was loaded from, or one 32-bit image of the icon.
    void SaveToStream(TStream* Stream) override;
    std::unique_ptr<TGraphic> Clone() override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    void destroyHandle();

    HICON handle_ = nullptr;
    SIZE size_{0, 0};
    std::vector<Byte> file_;
};

// Holds one graphic of any class: a bitmap, an icon, or none. Files are
// read by their extension (.bmp, .ico).
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;

    void Assign(TPersistent* Source) override;
    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of Value (none for null).
    void SetGraphic(TGraphic* Value);
    // The graphic as a bitmap, replacing any other kind by an empty bitmap.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
    TIcon* Icon();
    void SetIcon(TIcon* Value) { SetGraphic(Value); }
    Integer Width() const { return graphic_ ? graphic_->Width() : 0; }
    Integer Height() const { return graphic_ ? graphic_->Height() : 0; }

    // EInvalidGraphic "Unknown picture file extension (.xyz)" for other files.
    void LoadFromFile(const AnsiString& FileName);
    // Nothing without a graphic.
    void SaveToFile(const AnsiString& FileName);

    // The clipboard formats pictures read, each announced with the graphic
    // class that reads it (CF_BITMAP: TBitmap).
    template <typename G> static void RegisterClipboardFormat(Word AFormat) {
        registerClipboardFormat(AFormat, [] { return std::unique_ptr<TGraphic>(std::make_unique<G>()); });
    }
    static bool SupportsClipboardFormat(Word AFormat);
    // A new graphic of the format's class reads the data; EInvalidGraphic
    // "Unsupported clipboard format" for a format nobody announced.
    void LoadFromClipboardFormat(Word AFormat, HANDLE AData);

    void DefineProperties(TFiler* Filer) override;
    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* Dest) override;
    virtual void Changed(TObject* Sender);

private:
    static void registerClipboardFormat(Word AFormat, std::unique_ptr<TGraphic> (*Create)());
    void takeGraphic(std::unique_ptr<TGraphic> graphic);
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream);

    std::unique_ptr<TGraphic> graphic_;
};

// A dialog filter of the picture files TPicture reads: every format first
// ("All (*.bmp;*.ico)|*.bmp;*.ico"), then each format on its own.
AnsiString GraphicFilter();
