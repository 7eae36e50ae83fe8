// Wide canvas text and the wide-named picture.
#include "unicode/TntGraphics.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Fonts.h"
#include "platform/win/TextOut.h"
#include "unicode/TntClasses.h"
#include "unicode/TntSysUtils.h"
#include "unicode/TntWindows.h"

#include <limits>
#include <random>

namespace {

// Brackets a drawing call with the canvas's change notification.
class CanvasChange {
public:
    explicit CanvasChange(TCanvas* canvas) : canvas_(canvas) { canvas_->Changing(); }
    ~CanvasChange() { canvas_->Changed(); }
    CanvasChange(const CanvasChange&) = delete;
    CanvasChange& operator=(const CanvasChange&) = delete;

private:
    TCanvas* canvas_;
};

bool isRightToLeft(TCanvas* canvas) {
    return canvas->CanvasOrientation() == coRightToLeft;
}

// A name in Folder not taken yet: a random number and Extension.
WideString unusedTemporaryName(const WideString& folder, const WideString& extension) {
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<Integer> number(0, std::numeric_limits<Integer>::max() - 1);
    WideString name;
    do
        name = folder + AnsiToWide(IntToStr(number(generator))) + extension;
    while (WideFileExists(name));
    return name;
}

// A new empty file in Folder that no other file had the name of: created
// exclusively, so nothing else is overwritten. Raises EOSError when the
// folder takes no new file.
WideString createdTemporaryFile(const WideString& folder, const WideString& extension) {
    for (;;) {
        const WideString name = unusedTemporaryName(folder, extension);
        HANDLE file = Tnt_CreateFileW(name.c_str(), kernel32::GENERIC_WRITE, 0, nullptr, kernel32::CREATE_NEW,
                                      kernel32::FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != kernel32::INVALID_HANDLE_VALUE) {
            kernel32::CloseHandle(file);
            return name;
        }
        if (GetLastError() != OSErrorCode::FileExists) RaiseLastOSError();
    }
}

// Deletes a staging copy when loading or saving ends, however it ends
// (after a successful rename there is nothing left to delete).
class StagingCopy {
public:
    explicit StagingCopy(WideString name) : name_(std::move(name)) {}
    ~StagingCopy() { WideDeleteFile(name_); }
    StagingCopy(const StagingCopy&) = delete;
    StagingCopy& operator=(const StagingCopy&) = delete;
    const WideString& Name() const { return name_; }

private:
    WideString name_;
};

WideString temporaryFolder() {
    WideChar buffer[kernel32::MAX_PATH + 1] = {};
    const DWORD length = Tnt_GetTempPathW(kernel32::MAX_PATH + 1, buffer);
    return length <= kernel32::MAX_PATH ? WideString(buffer, length) : WideString();
}

} // namespace

void WideCanvasTextOut(TCanvas* Canvas, Integer X, Integer Y, const WideString& Text) {
    CanvasChange change(Canvas);
    Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    const Integer width = WideCanvasTextWidth(Canvas, Text);
    if (isRightToLeft(Canvas)) X += width + 1;
    ExtTextOutW(Canvas->Handle(), X, Y, static_cast<UINT>(Canvas->TextFlags()), nullptr, Text.data(),
                static_cast<UINT>(Text.size()), nullptr);
    Canvas->MoveTo(X + width, Y);
}

void WideCanvasTextRect(TCanvas* Canvas, const TRect& Rect, Integer X, Integer Y, const WideString& Text) {
    CanvasChange change(Canvas);
    Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    UINT options = static_cast<UINT>(Canvas->TextFlags()) | ETO_CLIPPED;
    if (Canvas->Brush()->Style() != bsClear) options |= ETO_OPAQUE;
    if ((options & ETO_RTLREADING) && isRightToLeft(Canvas)) X += WideCanvasTextWidth(Canvas, Text) + 1;
    ExtTextOutW(Canvas->Handle(), X, Y, options, &Rect, Text.data(), static_cast<UINT>(Text.size()), nullptr);
}

TSize WideDCTextExtent(HDC DC, const WideString& Text) {
    TSize size{0, 0};
    GetTextExtentPoint32W(DC, Text.data(), static_cast<int>(Text.size()), &size);
    return size;
}

TSize WideCanvasTextExtent(TCanvas* Canvas, const WideString& Text) {
    Canvas->RequiredState({csHandleValid, csFontValid});
    return WideDCTextExtent(Canvas->Handle(), Text);
}

Integer WideCanvasTextWidth(TCanvas* Canvas, const WideString& Text) {
    return WideCanvasTextExtent(Canvas, Text).cx;
}

Integer WideCanvasTextHeight(TCanvas* Canvas, const WideString& Text) {
    return WideCanvasTextExtent(Canvas, Text).cy;
}

// The picture loader takes ANSI names, and names here have no short ANSI
// form: a name the ANSI code page cannot hold is read through a copy with a
// plain name and the same extension.
void TTntPicture::LoadFromFile(const WideString& FileName) {
    if (IsWideStringMappableToAnsi(FileName)) {
        TPicture::LoadFromFile(WideToAnsi(FileName));
        return;
    }
    TTntFileStream source(FileName, fmOpenRead | fmShareDenyWrite);
    StagingCopy copy(unusedTemporaryName(temporaryFolder(), WideExtractFileExt(FileName)));
    {
        TTntFileStream staged(copy.Name(), fmCreate);
        staged.CopyFrom(&source, 0);
    }
    TPicture::LoadFromFile(WideToAnsi(copy.Name()));
}

// The target is replaced in one rename, so a failure at any step leaves the
// old file as it was; the temporary file goes then.
void TTntPicture::SaveToFile(const WideString& FileName) {
    if (!Graphic()) return;
    const WideString target = WideExpandFileName(FileName);
    StagingCopy staged(createdTemporaryFile(WideExtractFilePath(target), WideExtractFileExt(target)));
    {
        TTntFileStream file(staged.Name(), fmOpenWrite | fmShareExclusive);
        Graphic()->SaveToStream(&file);
    }
    if (!Tnt_MoveFileExW(staged.Name().c_str(), target.c_str(), kernel32::MOVEFILE_REPLACE_EXISTING))
        RaiseLastOSError();
}
