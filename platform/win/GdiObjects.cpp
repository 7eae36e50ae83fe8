// The handle table, the stock objects and the coordinate and clip arithmetic
// of a device context.
#include "platform/win/GdiObjects.h"

#include "platform/win/SysColors.h"

#include <array>
#include <unordered_map>

namespace {

// Handle values start well above the system colour indexes that brush
// parameters also accept, and are never reused.
constexpr std::uintptr_t firstHandleValue = 0x10000;

struct HandleTable {
    std::unordered_map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
    std::uintptr_t nextValue = firstHandleValue;
};

HandleTable& handleTable() {
    static HandleTable table;
    return table;
}

HGDIOBJ insertStock(std::unique_ptr<GdiObject> object) {
    object->stock = true;
    return InsertObject(std::move(object));
}

HGDIOBJ stockBrush(UINT style, COLORREF colour) {
    auto brush = std::make_unique<BrushObject>();
    brush->logBrush = {style, colour, 0};
    return insertStock(std::move(brush));
}

HGDIOBJ stockPen(UINT style, COLORREF colour) {
    auto pen = std::make_unique<PenObject>();
    pen->logPen = {style, {1, 0}, colour};
    return insertStock(std::move(pen));
}

HGDIOBJ stockFont(const char* face, LONG height, LONG weight, BYTE pitchAndFamily) {
    auto font = std::make_unique<FontObject>();
    font->logFont.lfHeight = height;
    font->logFont.lfWeight = weight;
    font->logFont.lfCharSet = ANSI_CHARSET;
    font->logFont.lfPitchAndFamily = pitchAndFamily;
    for (int i = 0; face[i] && i < LF_FACESIZE - 1; ++i)
        font->logFont.lfFaceName[i] = static_cast<WCHAR>(face[i]);
    return insertStock(std::move(font));
}

// The twenty static colours of the default palette.
HGDIOBJ stockPalette() {
    static constexpr std::array<COLORREF, 20> colours = {
        RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
        RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
        RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
        RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
    auto palette = std::make_unique<PaletteObject>();
    for (COLORREF colour : colours)
        palette->entries.push_back({GetRValue(colour), GetGValue(colour), GetBValue(colour), 0});
    return insertStock(std::move(palette));
}

constexpr int stockObjectCount = DEFAULT_GUI_FONT + 1;

std::array<HGDIOBJ, stockObjectCount> makeStockObjects() {
    std::array<HGDIOBJ, stockObjectCount> stock{};
    stock[WHITE_BRUSH] = stockBrush(BS_SOLID, RGB(255, 255, 255));
    stock[LTGRAY_BRUSH] = stockBrush(BS_SOLID, RGB(192, 192, 192));
    stock[GRAY_BRUSH] = stockBrush(BS_SOLID, RGB(128, 128, 128));
    stock[DKGRAY_BRUSH] = stockBrush(BS_SOLID, RGB(64, 64, 64));
    stock[BLACK_BRUSH] = stockBrush(BS_SOLID, RGB(0, 0, 0));
    stock[NULL_BRUSH] = stockBrush(BS_NULL, 0);
    stock[WHITE_PEN] = stockPen(PS_SOLID, RGB(255, 255, 255));
    stock[BLACK_PEN] = stockPen(PS_SOLID, RGB(0, 0, 0));
    stock[NULL_PEN] = stockPen(PS_NULL, 0);
    stock[OEM_FIXED_FONT] = stockFont("Terminal", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    stock[ANSI_FIXED_FONT] = stockFont("Courier", 13, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    stock[ANSI_VAR_FONT] = stockFont("MS Sans Serif", 13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    stock[SYSTEM_FONT] = stockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    stock[DEVICE_DEFAULT_FONT] = stockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    stock[DEFAULT_PALETTE] = stockPalette();
    stock[SYSTEM_FIXED_FONT] = stockFont("Fixedsys", 15, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    stock[DEFAULT_GUI_FONT] = stockFont("MS Shell Dlg", -11, FW_NORMAL, DEFAULT_PITCH | FF_SWISS);
    return stock;
}

const std::array<HGDIOBJ, stockObjectCount>& stockObjects() {
    static const auto stock = makeStockObjects();
    return stock;
}

} // namespace

std::recursive_mutex& GdiMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

HGDIOBJ InsertObject(std::unique_ptr<GdiObject> object) {
    GdiLock lock(GdiMutex());
    HandleTable& table = handleTable();
    std::uintptr_t value = table.nextValue++;
    table.objects.emplace(value, std::move(object));
    return reinterpret_cast<HGDIOBJ>(value);
}

GdiObject* LookupObject(HGDIOBJ handle) {
    GdiLock lock(GdiMutex());
    auto& objects = handleTable().objects;
    auto found = objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == objects.end() ? nullptr : found->second.get();
}

void EraseObject(HGDIOBJ handle) {
    GdiLock lock(GdiMutex());
    handleTable().objects.erase(reinterpret_cast<std::uintptr_t>(handle));
}

BrushObject* LookupBrush(HGDIOBJ brush) {
    constexpr std::uintptr_t lastSystemColourPlusOne = COLOR_MENUBAR + 1;
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= lastSystemColourPlusOne) brush = GetSysColorBrush(static_cast<int>(value) - 1);
    return LookupObjectOf<BrushObject>(brush, GdiKind::Brush);
}

HGDIOBJ StockObject(int index) {
    GdiLock lock(GdiMutex());
    if (index < 0 || index >= stockObjectCount) return nullptr;
    return stockObjects()[static_cast<std::size_t>(index)];
}

HBITMAP DefaultBitmap() {
    GdiLock lock(GdiMutex());
    static const HBITMAP bitmap = [] {
        auto object = std::make_unique<BitmapObject>();
        object->surface = std::make_shared<PixelSurface>(1, 1, true);
        object->surface->Fill(PixelWhite);
        object->stock = true;
        return static_cast<HBITMAP>(InsertObject(std::move(object)));
    }();
    return bitmap;
}

HBITMAP InsertBitmap(std::shared_ptr<PixelSurface> surface) {
    auto object = std::make_unique<BitmapObject>();
    object->surface = std::move(surface);
    return static_cast<HBITMAP>(InsertObject(std::move(object)));
}

TPoint DeviceContext::ToDevice(TPoint logical) const {
    return {logical.x - state.windowOrigin.x + state.viewportOrigin.x,
            logical.y - state.windowOrigin.y + state.viewportOrigin.y};
}

TRect DeviceContext::ToDevice(const TRect& logical) const {
    TPoint topLeft = ToDevice(TPoint{logical.Left, logical.Top});
    return {topLeft.x, topLeft.y, topLeft.x + logical.Width(), topLeft.y + logical.Height()};
}

TPoint DeviceContext::ToLogical(TPoint device) const {
    return {device.x + state.windowOrigin.x - state.viewportOrigin.x,
            device.y + state.windowOrigin.y - state.viewportOrigin.y};
}

const Region& DeviceContext::EffectiveClip() {
    if (effectiveClip_) return *effectiveClip_;
    Region clip;
    if (surface) {
        clip = Region(surface->Bounds());
        clip.Offset(-surfaceOrigin.x, -surfaceOrigin.y);
    }
    if (visibleRegion) clip = clip.Intersect(*visibleRegion);
    if (state.clip) clip = clip.Intersect(*state.clip);
    effectiveClip_ = std::move(clip);
    return *effectiveClip_;
}
