// The Rx controls' shared routines: small text and file-name helpers,
// command-line words, and the bitmap drawing that the buttons, the slider and
// the menus build on.
#include "rx/RXCtrls.h"

#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Cursors.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowTree.h"

#include <mutex>

namespace {

const char* const Ellipsis = "...";
const char* const IconClipboardFormatName = "Delphi Icon";
UINT iconClipboardFormat = 0;

// What a file name may not hold.
const AnsiString InvalidFileNameCharacters = "<>\"[]|";

bool isBlankOrControl(char C) {
    const auto code = static_cast<unsigned char>(C);
    return code >= 1 && code <= 32;
}

bool emptyQuotePairAt(const AnsiString& Text, std::size_t Position) {
    return Position + 1 < Text.size() && Text[Position] == '"' && Text[Position + 1] == '"';
}

// A one-component change of a colour: start + (end - start) * step / steps, kept in a byte.
Byte bandComponent(Integer Start, Integer End, Integer Step, Integer Steps) {
    return static_cast<Byte>(Start + MulDiv(Step, End - Start, Steps));
}

TColor bandColor(TColor Start, TColor End, Integer Step, Integer Steps) {
    return static_cast<TColor>(RGB(bandComponent(GetRValue(Start), GetRValue(End), Step, Steps),
                                   bandComponent(GetGValue(Start), GetGValue(End), Step, Steps),
                                   bandComponent(GetBValue(Start), GetBValue(End), Step, Steps)));
}

struct ThreadWindowSearch {
    HWND active;
    bool found;
};

BOOL findActiveWindow(HWND Window, LPARAM Param) {
    auto* search = reinterpret_cast<ThreadWindowSearch*>(Param);
    if (Window != search->active) return TRUE;
    search->found = true;
    return FALSE;
}

// A memory DC with a bitmap selected, freed together.
class MemoryBitmap {
public:
    MemoryBitmap(HDC Compatible, Integer Width, Integer Height, bool Monochrome)
        : dc_(CreateCompatibleDC(Compatible)),
          bitmap_(Monochrome ? CreateBitmap(Width, Height, 1, 1, nullptr)
                             : CreateCompatibleBitmap(Compatible, Width, Height)) {
        if (!dc_ || !bitmap_) {
            release();
            throw EOutOfResources("Out of system resources");
        }
        old_ = SelectObject(dc_, bitmap_);
    }
    ~MemoryBitmap() { release(); }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;
    HDC DC() const { return dc_; }

private:
    void release() {
        if (dc_ && old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_ = nullptr;
};

} // namespace

// ---- Screen cursors and the clipboard format ------------------------------------

void RegisterRxResources() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        Screen->SetCursors(crHand, LoadCursorA(nullptr, "RX_HANDCUR"));
        Screen->SetCursors(crDragHand, LoadCursorA(nullptr, "RX_DRAGCUR"));
        iconClipboardFormat = RegisterClipboardFormatA(IconClipboardFormatName);
        TPicture::RegisterClipboardFormat<TIcon>(static_cast<Word>(iconClipboardFormat));
    });
}

UINT CF_ICON() {
    RegisterRxResources();
    return iconClipboardFormat;
}

// ---- Small routines ---------------------------------------------------------------

Integer RectWidth(const TRect& Rect) {
    return Rect.Right - Rect.Left;
}

Integer RectHeight(const TRect& Rect) {
    return Rect.Bottom - Rect.Top;
}

bool PointInRect(const TPoint& P, const TRect& R) {
    return P.x >= R.Left && P.x <= R.Right && P.y >= R.Top && P.y <= R.Bottom;
}

Integer Max(Integer A, Integer B) {
    return A > B ? A : B;
}

Integer Min(Integer A, Integer B) {
    return A < B ? A : B;
}

void KillMessage(HWND Wnd, UINT Msg) {
    MSG message;
    if (PeekMessageA(&message, Wnd, Msg, Msg, PM_REMOVE) && message.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(message.wParam));
}

bool IsForegroundTask() {
    ThreadWindowSearch search{GetActiveWindow(), false};
    if (!search.active) return false;
    EnumThreadWindows(GetCurrentThreadId(), &findActiveWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

AnsiString ShortenText(const AnsiString& Text, TCanvas* Canvas, Integer MaxWidth) {
    if (Canvas->TextWidth(Text) <= MaxWidth) return Text;
    for (std::size_t cut = 2; cut <= Text.size(); ++cut) {
        AnsiString candidate = Text.substr(0, Text.size() - cut) + Ellipsis;
        if (Canvas->TextWidth(candidate) <= MaxWidth) return candidate;
    }
    return Ellipsis;
}

AnsiString DelChars(const AnsiString& Text, char Chr) {
    AnsiString result;
    for (char c : Text)
        if (c != Chr) result += c;
    return result;
}

Integer ScreenCharacterHeight(HFONT Font) {
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, Font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

// ---- File names and command lines ---------------------------------------------------

bool DirExists(const AnsiString& Name) {
    return !Name.empty() && DirectoryExists(Name);
}

bool ValidFileName(const AnsiString& FileName) {
    return !FileName.empty() && FileName.find_first_of(InvalidFileNameCharacters) == AnsiString::npos;
}

AnsiString LongFileName(const AnsiString& FileName) {
    return FileExists(FileName) || DirExists(FileName) ? FileName : AnsiString();
}

AnsiString ShortFileName(const AnsiString& FileName) {
    return LongFileName(FileName);
}

std::size_t ExtractParam(const AnsiString& Text, std::size_t Position, AnsiString& Word) {
    Word.clear();
    while (Position < Text.size()) {
        if (isBlankOrControl(Text[Position]))
            ++Position;
        else if (emptyQuotePairAt(Text, Position))
            Position += 2;
        else
            break;
    }
    while (Position < Text.size() && Text[Position] != '\0') {
        const char c = Text[Position];
        if (c == '"') {
            const std::size_t closing = Text.find('"', Position + 1);
            const std::size_t end = closing == AnsiString::npos ? Text.size() : closing;
            Word.append(Text, Position + 1, end - Position - 1);
            Position = closing == AnsiString::npos ? end : closing + 1;
            continue;
        }
        if (static_cast<unsigned char>(c) < 33) break;
        Word += c;
        ++Position;
    }
    return Position;
}

namespace {

// Calls Visit with each word of Text until it answers false.
template <typename Visitor> void forEachParam(const AnsiString& Text, Visitor Visit) {
    std::size_t position = 0;
    AnsiString word;
    while (position < Text.size()) {
        position = ExtractParam(Text, position, word);
        if (word.empty() && position >= Text.size()) return;
        if (!Visit(word)) return;
    }
}

} // namespace

Integer ParamCountOf(const AnsiString& Text) {
    Integer count = 0;
    forEachParam(Text, [&](const AnsiString&) {
        ++count;
        return true;
    });
    return count;
}

AnsiString ParamStrOf(const AnsiString& Text, Integer Index) {
    AnsiString result;
    Integer current = 0;
    forEachParam(Text, [&](const AnsiString& word) {
        if (current++ != Index) return true;
        result = word;
        return false;
    });
    return result;
}

void SplitCommandLine(const AnsiString& CmdLine, AnsiString& ExeName, AnsiString& Params) {
    ExeName.clear();
    Params.clear();
    bool first = true;
    forEachParam(CmdLine, [&](const AnsiString& word) {
        if (first) {
            ExeName = word;
            first = false;
            return true;
        }
        if (!Params.empty()) Params += ' ';
        Params += word.find(' ') != AnsiString::npos ? "\"" + word + "\"" : word;
        return true;
    });
}

// ---- Drawing --------------------------------------------------------------------------

TColor PaletteColor(TColor Color) {
    return ColorToRGB(Color | 0x02000000) & 0x00FFFFFF;
}

void StretchBltTransparent(HDC DstDC, Integer DstX, Integer DstY, Integer DstW, Integer DstH, HDC SrcDC,
                           Integer SrcX, Integer SrcY, Integer SrcW, Integer SrcH, TColor TransparentColor) {
    MemoryBitmap mask(DstDC, SrcW, SrcH, true);
    MemoryBitmap inverse(DstDC, SrcW, SrcH, true);
    MemoryBitmap work(DstDC, DstW, DstH, false);
    MemoryBitmap copy(DstDC, SrcW, SrcH, false);
    SetMapMode(copy.DC(), GetMapMode(DstDC));
    BitBlt(copy.DC(), 0, 0, SrcW, SrcH, SrcDC, SrcX, SrcY, SRCCOPY);
    // Pixels of the copy's background colour become white in the mask.
    const COLORREF background = SetBkColor(copy.DC(), static_cast<COLORREF>(PaletteColor(TransparentColor)));
    BitBlt(mask.DC(), 0, 0, SrcW, SrcH, copy.DC(), 0, 0, SRCCOPY);
    SetBkColor(copy.DC(), background);
    BitBlt(inverse.DC(), 0, 0, SrcW, SrcH, mask.DC(), 0, 0, NOTSRCCOPY);
    BitBlt(work.DC(), 0, 0, DstW, DstH, DstDC, DstX, DstY, SRCCOPY);
    StretchBlt(work.DC(), 0, 0, DstW, DstH, mask.DC(), 0, 0, SrcW, SrcH, SRCAND);
    BitBlt(copy.DC(), 0, 0, SrcW, SrcH, inverse.DC(), 0, 0, SRCAND);
    StretchBlt(work.DC(), 0, 0, DstW, DstH, copy.DC(), 0, 0, SrcW, SrcH, SRCPAINT);
    BitBlt(DstDC, DstX, DstY, DstW, DstH, work.DC(), 0, 0, SRCCOPY);
}

void DrawTransparentBitmapRect(TCanvas* Dest, Integer DstX, Integer DstY, Integer DstW, Integer DstH,
                               TBitmap* Bitmap, TRect SrcRect, TColor TransparentColor) {
    if (RectWidth(SrcRect) < 1 || RectHeight(SrcRect) < 1) SrcRect = {0, 0, Bitmap->Width(), Bitmap->Height()};
    if (DstW < 1 || DstH < 1) {
        DstW = RectWidth(SrcRect);
        DstH = RectHeight(SrcRect);
    }
    TCanvas* source = Bitmap->Canvas();
    if (TransparentColor == clDefault) TransparentColor = source->Pixels(0, Bitmap->Height() - 1);
    if (Bitmap->Monochrome()) TransparentColor = clWhite;
    HDC destination = Dest->Handle();
    if (TransparentColor == clNone) {
        StretchBlt(destination, DstX, DstY, DstW, DstH, source->Handle(), SrcRect.Left, SrcRect.Top,
                   RectWidth(SrcRect), RectHeight(SrcRect), static_cast<DWORD>(Dest->CopyMode()));
        return;
    }
    if (!Bitmap->Monochrome()) SetStretchBltMode(destination, COLORONCOLOR);
    source->Lock();
    TNotifyEvent onChange = Bitmap->OnChange;
    Bitmap->OnChange = nullptr;
    try {
        StretchBltTransparent(destination, DstX, DstY, DstW, DstH, source->Handle(), SrcRect.Left, SrcRect.Top,
                              RectWidth(SrcRect), RectHeight(SrcRect), TransparentColor);
    } catch (...) {
        Bitmap->OnChange = onChange;
        source->Unlock();
        throw;
    }
    Bitmap->OnChange = onChange;
    source->Unlock();
}

void DrawTransparentBitmap(TCanvas* Dest, Integer DstX, Integer DstY, TBitmap* Bitmap,
                           TColor TransparentColor) {
    DrawTransparentBitmapRect(Dest, DstX, DstY, Bitmap->Width(), Bitmap->Height(), Bitmap,
                              {0, 0, Bitmap->Width(), Bitmap->Height()}, TransparentColor);
}

void StretchBitmapRectTransparent(TCanvas* Dest, Integer DstX, Integer DstY, TColor TransparentColor,
                                  TBitmap* Bitmap, const TRect& SrcRect) {
    DrawTransparentBitmapRect(Dest, DstX, DstY, RectWidth(SrcRect), RectHeight(SrcRect), Bitmap, SrcRect,
                              TransparentColor);
}

void AssignBitmapCell(TGraphic* Source, TBitmap* Dest, Integer Cols, Integer Rows, Integer Index) {
    Cols = Max(Cols, 1);
    Rows = Max(Rows, 1);
    Index = Max(Index, 0);
    const Integer cellWidth = Source->Width() / Cols;
    const Integer cellHeight = Source->Height() / Rows;
    Dest->SetSize(cellWidth, cellHeight);
    const TPoint origin{(Index % Cols) * cellWidth, (Index / Cols) * cellHeight};
    const TRect cell{0, 0, cellWidth, cellHeight};
    if (auto* bitmap = dynamic_cast<TBitmap*>(Source)) {
        Dest->Canvas()->CopyRect(cell, bitmap->Canvas(),
                                 {origin.x, origin.y, origin.x + cellWidth, origin.y + cellHeight});
        Dest->SetTransparentColor(bitmap->TransparentColor() & ~0x02000000);
    } else {
        Dest->Canvas()->Brush()->SetColor(clSilver);
        Dest->Canvas()->FillRect(cell);
        Dest->Canvas()->Draw(-origin.x, -origin.y, Source);
    }
    Dest->SetTransparent(Source->Transparent());
}

namespace {

// Stamps the canvas's brush where Mono is white (text black, background white).
void stampMonochrome(HDC Target, Integer X, Integer Y, Integer Width, Integer Height, HDC Mono, HBRUSH Brush,
                     COLORREF Text, COLORREF Background) {
    const HGDIOBJ oldBrush = SelectObject(Target, Brush);
    const COLORREF oldText = SetTextColor(Target, Text);
    const COLORREF oldBackground = SetBkColor(Target, Background);
    BitBlt(Target, X, Y, Width, Height, Mono, 0, 0, ROP_DSPDxax);
    SetTextColor(Target, oldText);
    SetBkColor(Target, oldBackground);
    SelectObject(Target, oldBrush);
}

void stampInColor(HDC Target, TPoint At, SIZE Size, HDC Mono, TColor Color, COLORREF Text, COLORREF Background) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
    stampMonochrome(Target, At.x, At.y, Size.cx, Size.cy, Mono, brush, Text, Background);
    DeleteObject(brush);
}

} // namespace

std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* FOriginal, TColor MaskColor, TColor BackColor,
                                              bool Highlight, TColor GrayColor, TColor HighlightColor) {
    auto result = std::make_unique<TBitmap>();
    result->SetSize(FOriginal->Width(), FOriginal->Height());
    TBitmap mono;
    mono.Assign(FOriginal);
    mono.SetHandleType(bmDDB);
    if (mono.Monochrome()) mono.SetMonochrome(false);
    mono.Canvas()->Brush()->SetColor(MaskColor);
    mono.SetMonochrome(true);
    TCanvas* canvas = result->Canvas();
    canvas->Brush()->SetColor(BackColor);
    canvas->FillRect({0, 0, result->Width(), result->Height()});
    const SIZE size{result->Width(), result->Height()};
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    if (Highlight) stampInColor(canvas->Handle(), {1, 1}, size, mono.Canvas()->Handle(), HighlightColor, black, white);
    stampInColor(canvas->Handle(), {0, 0}, size, mono.Canvas()->Handle(), GrayColor, black, white);
    return result;
}

std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap* FOriginal, TColor MaskColor) {
    return CreateDisabledBitmap(FOriginal, MaskColor, clBtnFace, true, clBtnShadow, clBtnHighlight);
}

void ImageListDrawDisabled(TCustomImageList* Images, TCanvas* Canvas, Integer X, Integer Y, Integer Index,
                           TColor HighlightColor, TColor GrayColor, bool DrawHighlight) {
    TBitmap mono;
    mono.SetSize(Images->Width(), Images->Height());
    mono.Canvas()->Brush()->SetColor(clWhite);
    mono.Canvas()->FillRect({0, 0, Images->Width(), Images->Height()});
    Images->DrawEx(mono.Canvas()->Handle(), Index, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    mono.SetMonochrome(true);
    const TColor brushColor = Canvas->Brush()->Color();
    const SIZE size{Images->Width(), Images->Height()};
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF white = RGB(255, 255, 255);
    HDC target = Canvas->Handle();
    if (DrawHighlight) stampInColor(target, {X + 1, Y + 1}, size, mono.Canvas()->Handle(), HighlightColor, white, black);
    stampInColor(target, {X, Y}, size, mono.Canvas()->Handle(), GrayColor, white, black);
    Canvas->Brush()->SetColor(brushColor);
}

void GradientFillRect(TCanvas* Canvas, const TRect& ARect, TColor StartColor, TColor EndColor,
                      TFillDirection Direction, Byte Colors) {
    if (ARect.Right <= ARect.Left || ARect.Bottom <= ARect.Top) return;
    if (Colors < 2) {
        Canvas->Brush()->SetColor(StartColor);
        Canvas->FillRect(ARect);
        return;
    }
    const bool reversed = Direction == fdBottomToTop || Direction == fdRightToLeft;
    const bool vertical = Direction == fdTopToBottom || Direction == fdBottomToTop;
    const TColor from = ColorToRGB(reversed ? EndColor : StartColor);
    const TColor to = ColorToRGB(reversed ? StartColor : EndColor);
    const Integer extent = vertical ? RectHeight(ARect) : RectWidth(ARect);
    const Integer steps = Max(2, Min(Colors, extent));
    const Integer band = extent / steps;
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetMode(pmCopy);
    auto bandRect = [&](Integer Start, Integer Thickness) {
        return vertical ? TRect{ARect.Left, Start, ARect.Right, Start + Thickness}
                        : TRect{Start, ARect.Top, Start + Thickness, ARect.Bottom};
    };
    const Integer origin = vertical ? ARect.Top : ARect.Left;
    if (band > 0) {
        for (Integer i = 0; i < steps; ++i) {
            Canvas->Brush()->SetColor(bandColor(from, to, i, steps - 1));
            Canvas->FillRect(bandRect(origin + i * band, band));
        }
    }
    const Integer rest = extent % steps;
    if (rest > 0) {
        Canvas->Brush()->SetColor(to);
        Canvas->FillRect(bandRect(origin + extent - rest, rest));
    }
}

namespace {

// The parent's own painting without its graphic children, which the
// framework keeps protected.
struct ParentPainting : TWinControl {
    using TWinControl::PaintWindow;
};

bool overlaps(const TRect& A, const TRect& B) {
    return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

// Paints a sibling into DC with its point Origin at the DC's origin.
void paintSiblingShifted(TControl* Painted, HDC DC, TPoint Origin, const TRect& Clip) {
    const int saved = SaveDC(DC);
    POINT previous;
    GetWindowOrgEx(DC, &previous);
    SetWindowOrgEx(DC, previous.x + Origin.x, previous.y + Origin.y, nullptr);
    IntersectClipRect(DC, Clip.Left, Clip.Top, Clip.Right, Clip.Bottom);
    Painted->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, saved);
}

} // namespace

void CopyParentImage(TControl* Control, TCanvas* Dest) {
    if (!Control || !Control->Parent()) return;
    TWinControl* parent = Control->Parent();
    const HDC dc = Dest->Handle();
    const TRect bounds = Control->BoundsRect();
    struct PaintCopyMark {
        TControl* control;
        explicit PaintCopyMark(TControl* Marked) : control(Marked) {
            control->SetControlState(control->ControlState().Include(csPaintCopy));
        }
        ~PaintCopyMark() { control->SetControlState(control->ControlState().Exclude(csPaintCopy)); }
    };
    {
        PaintCopyMark mark(parent);
        const int saved = SaveDC(dc);
        POINT previous;
        GetWindowOrgEx(dc, &previous);
        SetWindowOrgEx(dc, previous.x + bounds.Left, previous.y + bounds.Top, nullptr);
        IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        (parent->*&ParentPainting::PaintWindow)(dc);
        RestoreDC(dc, saved);
    }
    for (Integer i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (sibling == Control) break;
        if (!dynamic_cast<TGraphicControl*>(sibling) || !sibling->Visible()) continue;
        const TRect siblingBounds = sibling->BoundsRect();
        if (!overlaps(siblingBounds, bounds)) continue;
        PaintCopyMark mark(sibling);
        paintSiblingShifted(sibling, dc, {bounds.Left - siblingBounds.Left, bounds.Top - siblingBounds.Top},
                            {0, 0, sibling->Width(), sibling->Height()});
    }
}
