// The stock icons and bitmaps are drawn here once, the first time they are
// asked for; the program's icon resources come from the framework's loader.
#include "platform/win/ResourceImages.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Icons.h"
#include "platform/win/LastError.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowObjects.h"

#include <map>
#include <mutex>

namespace {

constexpr int StockIconSize = 32;
constexpr int ComboArrowSize = 16;
// Paints the parts of a stock icon that stay transparent.
constexpr COLORREF TransparentKey = RGB(255, 0, 255);

struct StockImages {
    std::mutex mutex;
    std::map<WORD, HICON> icons;
    IconResourceLoader loader;
};

StockImages& stockImages() {
    static StockImages images;
    return images;
}

void drawSymbol(HDC dc, const TRect& box, const WCHAR* symbol, COLORREF colour) {
    RECT area = box;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, symbol, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void drawShape(HDC dc, const TRect& box, COLORREF fill, bool triangle) {
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    if (triangle) {
        POINT corners[] = {{(box.Left + box.Right) / 2, box.Top},
                           {box.Right - 1, box.Bottom - 1},
                           {box.Left, box.Bottom - 1}};
        Polygon(dc, corners, 3);
    } else {
        Ellipse(dc, box.Left, box.Top, box.Right, box.Bottom);
    }
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(brush);
}

WORD idOf(const void* name) {
    return static_cast<WORD>(reinterpret_cast<UINT_PTR>(name));
}

AnsiString nameOf(LPCSTR name) {
    return IS_INTRESOURCE(name) ? "#" + std::to_string(idOf(name)) : AnsiString(name);
}

AnsiString nameOf(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(idOf(name));
    AnsiString ansi;
    for (const WCHAR* each = name; *each; ++each)
        ansi.push_back(*each < 0x80 ? static_cast<char>(*each) : '?');
    return ansi;
}

bool isStockIcon(WORD id) {
    return id >= IDI_APPLICATION.id && id <= IDI_WINLOGO.id;
}

// The icon's picture over the key colour, then the key turned into the mask.
HICON makeStockIcon(WORD id) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP colour = CreateBitmap(StockIconSize, StockIconSize, 1, 32, nullptr);
    HGDIOBJ previous = SelectObject(dc, colour);
    HBRUSH key = CreateSolidBrush(TransparentKey);
    const TRect box{0, 0, StockIconSize, StockIconSize};
    FillRect(dc, &box, key);
    DeleteObject(key);
    DrawStockIcon(dc, id, box);
    SelectObject(dc, previous);
    DeleteDC(dc);
    HBITMAP mask = CreateBitmap(StockIconSize, StockIconSize, 1, 1, nullptr);
    std::shared_ptr<PixelSurface> image = BitmapSurface(colour);
    std::shared_ptr<PixelSurface> maskImage = BitmapSurface(mask);
    const Pixel keyPixel = PixelFromColorRef(TransparentKey);
    for (int y = 0; y < StockIconSize; ++y)
        for (int x = 0; x < StockIconSize; ++x) {
            const bool transparent = (image->At(x, y) & PixelColourMask) == keyPixel;
            maskImage->Set(x, y, transparent ? PixelFromColorRef(RGB(255, 255, 255)) : 0);
            if (transparent) image->Set(x, y, 0);
        }
    ICONINFO info{TRUE, StockIconSize / 2, StockIconSize / 2, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    GdiLock lock(GdiMutex());
    if (GdiObject* object = LookupObject(icon)) object->stock = true;
    return icon;
}

HICON stockIcon(WORD id) {
    StockImages& images = stockImages();
    std::lock_guard lock(images.mutex);
    HICON& icon = images.icons[id];
    if (!icon) icon = makeStockIcon(id);
    return icon;
}

HICON loadIcon(HINSTANCE instance, WORD id, bool integerName, const AnsiString& name) {
    if (!instance && integerName && isStockIcon(id)) return stockIcon(id);
    IconResourceLoader loader;
    {
        std::lock_guard lock(stockImages().mutex);
        loader = stockImages().loader;
    }
    HICON icon = loader ? loader(instance, name) : nullptr;
    if (!icon) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return icon;
}

// A black arrow pointing down, seven pixels wide, on the button face.
HBITMAP makeComboArrow() {
    HBITMAP bitmap = CreateBitmap(ComboArrowSize, ComboArrowSize, 1, 32, nullptr);
    std::shared_ptr<PixelSurface> image = BitmapSurface(bitmap);
    const Pixel face = PixelFromColorRef(GetSysColor(COLOR_BTNFACE));
    const Pixel arrow = PixelFromColorRef(GetSysColor(COLOR_BTNTEXT));
    constexpr int arrowWidth = 7;
    constexpr int arrowHeight = (arrowWidth + 1) / 2;
    const int left = (ComboArrowSize - arrowWidth) / 2;
    const int top = (ComboArrowSize - arrowHeight) / 2;
    for (int y = 0; y < ComboArrowSize; ++y)
        for (int x = 0; x < ComboArrowSize; ++x) {
            const int row = y - top;
            const bool inArrow = row >= 0 && row < arrowHeight && x >= left + row && x < left + arrowWidth - row;
            image->Set(x, y, inArrow ? arrow : face);
        }
    return bitmap;
}

HBITMAP loadBitmap(HINSTANCE instance, WORD id, bool integerName) {
    if (!instance && integerName && id == OBM_COMBO.id) return makeComboArrow();
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

} // namespace

void DrawStockIcon(HDC dc, WORD iconId, const TRect& box) {
    switch (iconId) {
    case IDI_HAND.id:
        drawShape(dc, box, RGB(255, 0, 0), false);
        drawSymbol(dc, box, u"X", RGB(255, 255, 255));
        break;
    case IDI_QUESTION.id:
        drawShape(dc, box, RGB(255, 255, 255), false);
        drawSymbol(dc, box, u"?", RGB(0, 0, 255));
        break;
    case IDI_EXCLAMATION.id:
        drawShape(dc, box, RGB(255, 255, 0), true);
        drawSymbol(dc, OffsetRectBy(box, 0, 3), u"!", RGB(0, 0, 0));
        break;
    case IDI_ASTERISK.id:
        drawShape(dc, box, RGB(255, 255, 255), false);
        drawSymbol(dc, box, u"i", RGB(0, 0, 255));
        break;
    default: {
        // A window: a blue title bar over a white client area, framed in black.
        const TRect frame{box.Left + 2, box.Top + 4, box.Right - 2, box.Bottom - 4};
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 128));
        HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
        FillRect(dc, &frame, white);
        const TRect title{frame.Left, frame.Top, frame.Right, frame.Top + 6};
        FillRect(dc, &title, blue);
        FrameRect(dc, &frame, black);
        DeleteObject(white);
        DeleteObject(blue);
        DeleteObject(black);
        break;
    }
    }
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    return loadIcon(instance, idOf(name), IS_INTRESOURCE(name), nameOf(name));
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    return loadIcon(instance, idOf(name), IS_INTRESOURCE(name), nameOf(name));
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name) {
    return loadBitmap(instance, idOf(name), IS_INTRESOURCE(name));
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name) {
    return loadBitmap(instance, idOf(name), IS_INTRESOURCE(name));
}

void SetIconResourceLoader(IconResourceLoader loader) {
    std::lock_guard lock(stockImages().mutex);
    stockImages().loader = std::move(loader);
}
