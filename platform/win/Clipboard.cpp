// One clipboard for the process, guarded by a mutex. Text formats made from
// the other are kept once made, until the formats change. The desktop's text
// is compared with the last text exchanged with it whenever the clipboard is
// about to be read while closed.
#include "platform/win/Clipboard.h"

#include "platform/core/CodePages.h"
#include "platform/win/Gdi.h"
#include "platform/win/LastError.h"
#include "platform/win/SystemInfo.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr UINT FirstRegisteredFormat = 0xC000;
constexpr UINT LastRegisteredFormat = 0xFFFF;
constexpr std::size_t MaxFormatNameLength = 255;

class MemorySystemClipboard : public SystemClipboard {
public:
    std::optional<WideString> GetText() override { return text_; }
    void SetText(const WideString& text) override { text_ = text; }
    void Clear() override { text_.reset(); }

private:
    std::optional<WideString> text_;
};

struct PlacedFormat {
    UINT format = 0;
    HANDLE data = nullptr;
};

// ---- Global memory holding text ---------------------------------------------------

// The bytes of a block up to its first terminating zero unit.
template <typename Text> std::optional<Text> readText(HANDLE block) {
    using Unit = typename Text::value_type;
    const auto* units = static_cast<const Unit*>(GlobalLock(block));
    if (!units) return std::nullopt;
    const std::size_t capacity = GlobalSize(block) / sizeof(Unit);
    const Text text(units, std::find(units, units + capacity, Unit{0}));
    GlobalUnlock(block);
    return text;
}

template <typename Text> HANDLE textBlock(const Text& text) {
    using Unit = typename Text::value_type;
    HANDLE block = GlobalAlloc(GHND, (text.size() + 1) * sizeof(Unit));
    if (auto* units = static_cast<Unit*>(GlobalLock(block))) {
        std::copy(text.begin(), text.end(), units);
        units[text.size()] = 0;
        GlobalUnlock(block);
    }
    return block;
}

HANDLE localeBlock(LCID locale) {
    HANDLE block = GlobalAlloc(GHND, sizeof(LCID));
    if (void* memory = GlobalLock(block)) {
        std::memcpy(memory, &locale, sizeof locale);
        GlobalUnlock(block);
    }
    return block;
}

// What the clipboard does with data it lets go of.
void freeFormatData(UINT format, HANDLE data) {
    if (format == CF_BITMAP) {
        DeleteObject(data);
        return;
    }
    // The private and GDI-object ranges hold values the program frees itself.
    const bool ownedByProgram = (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
                                (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
    if (!ownedByProgram) GlobalFree(data);
}

// ---- The clipboard ------------------------------------------------------------------

class ClipboardState {
public:
    std::mutex mutex;

    bool openedByCaller() const { return open_ && openThread_ == std::this_thread::get_id(); }

    BOOL open(HWND window) {
        if (open_) {
            if (openedByCaller() && openWindow_ == window) return TRUE;
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        takeOverDesktopText();
        open_ = true;
        openWindow_ = window;
        openThread_ = std::this_thread::get_id();
        changed_ = false;
        return TRUE;
    }

    void close() {
        if (changed_) {
            addLocaleToText();
            giveTextToDesktop();
        }
        open_ = false;
        openWindow_ = nullptr;
    }

    void empty() {
        freeAll();
        owner_ = openWindow_;
        changed_ = true;
    }

    void set(UINT format, HANDLE data) {
        forgetMadeFormats();
        auto placed = findPlaced(format);
        if (placed != placed_.end()) {
            if (placed->data != data) freeFormatData(format, placed->data);
            placed->data = data;
        } else {
            placed_.push_back({format, data});
        }
        changed_ = true;
    }

    HANDLE get(UINT format) {
        if (auto placed = findPlaced(format); placed != placed_.end()) return placed->data;
        if (auto made = madeFormats_.find(format); made != madeFormats_.end()) return made->second;
        HANDLE data = makeFormat(format);
        if (data) madeFormats_[format] = data;
        return data;
    }

    // Placed formats in order, then those that can be made from them.
    std::vector<UINT> formats() const {
        std::vector<UINT> result;
        for (const PlacedFormat& placed : placed_)
            result.push_back(placed.format);
        for (UINT format : {CF_UNICODETEXT, CF_TEXT})
            if (!isPlaced(format) && sourceOf(format)) result.push_back(format);
        return result;
    }

    // Called while the clipboard is closed, before its contents are looked at.
    void takeOverDesktopText() {
        if (open_) return;
        std::optional<WideString> text = system().GetText();
        if (desktopTextKnown_ && text == desktopText_) return;
        desktopTextKnown_ = true;
        desktopText_ = text;
        freeAll();
        owner_ = nullptr;
        if (!text) return;
        placed_.push_back({CF_UNICODETEXT, textBlock(*text)});
        addLocaleToText();
    }

    HWND owner() const { return owner_; }
    HWND openWindow() const { return open_ ? openWindow_ : nullptr; }

    // Null while the default (in memory) is in use.
    std::shared_ptr<SystemClipboard> installedSystem() const { return system_; }

    void setSystem(std::shared_ptr<SystemClipboard> clipboard) {
        system_ = std::move(clipboard);
        desktopTextKnown_ = false;
    }

    UINT registerFormat(const WideString& name) {
        const WideString key = upperCase(name);
        auto found = std::find(formatKeys_.begin(), formatKeys_.end(), key);
        if (found != formatKeys_.end())
            return FirstRegisteredFormat + static_cast<UINT>(found - formatKeys_.begin());
        if (FirstRegisteredFormat + formatKeys_.size() > LastRegisteredFormat) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        formatKeys_.push_back(key);
        return FirstRegisteredFormat + static_cast<UINT>(formatKeys_.size() - 1);
    }

private:
    static WideString upperCase(WideString text) {
        std::transform(text.begin(), text.end(), text.begin(), WideCharUpper);
        return text;
    }

    SystemClipboard& system() {
        if (!system_) system_ = std::make_shared<MemorySystemClipboard>();
        return *system_;
    }

    std::vector<PlacedFormat>::iterator findPlaced(UINT format) {
        return std::find_if(placed_.begin(), placed_.end(),
                            [&](const PlacedFormat& p) { return p.format == format; });
    }
    bool isPlaced(UINT format) const {
        return std::any_of(placed_.begin(), placed_.end(),
                           [&](const PlacedFormat& p) { return p.format == format; });
    }
    HANDLE placedData(UINT format) const {
        for (const PlacedFormat& placed : placed_)
            if (placed.format == format) return placed.data;
        return nullptr;
    }

    // The placed format another one is made from.
    HANDLE sourceOf(UINT format) const {
        if (format == CF_UNICODETEXT) return placedData(CF_TEXT);
        if (format == CF_TEXT) return placedData(CF_UNICODETEXT);
        return nullptr;
    }

    // Windows converts between the two through the ANSI code page.
    HANDLE makeFormat(UINT format) const {
        HANDLE source = sourceOf(format);
        if (!source) return nullptr;
        if (format == CF_UNICODETEXT) {
            std::optional<AnsiString> text = readText<AnsiString>(source);
            return text ? textBlock(AnsiToWide(*text)) : nullptr;
        }
        std::optional<WideString> text = readText<WideString>(source);
        return text ? textBlock(WideToAnsi(*text)) : nullptr;
    }

    std::optional<WideString> text() const {
        if (HANDLE wide = placedData(CF_UNICODETEXT)) return readText<WideString>(wide);
        if (HANDLE ansi = placedData(CF_TEXT)) {
            std::optional<AnsiString> text = readText<AnsiString>(ansi);
            if (text) return AnsiToWide(*text);
        }
        return std::nullopt;
    }

    void addLocaleToText() {
        if ((isPlaced(CF_TEXT) || isPlaced(CF_UNICODETEXT)) && !isPlaced(CF_LOCALE)) {
            const auto language = static_cast<LANGID>(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)));
            placed_.push_back({CF_LOCALE, localeBlock(language)});
        }
    }

    void giveTextToDesktop() {
        std::optional<WideString> current = text();
        if (current)
            system().SetText(*current);
        else
            system().Clear();
        desktopTextKnown_ = true;
        desktopText_ = current;
    }

    void forgetMadeFormats() {
        for (const auto& [format, data] : madeFormats_)
            freeFormatData(format, data);
        madeFormats_.clear();
    }

    void freeAll() {
        forgetMadeFormats();
        for (const PlacedFormat& placed : placed_)
            freeFormatData(placed.format, placed.data);
        placed_.clear();
    }

    bool open_ = false;
    HWND openWindow_ = nullptr;
    std::thread::id openThread_;
    HWND owner_ = nullptr;
    bool changed_ = false;
    std::vector<PlacedFormat> placed_;
    std::map<UINT, HANDLE> madeFormats_;
    std::shared_ptr<SystemClipboard> system_;
    bool desktopTextKnown_ = false;
    std::optional<WideString> desktopText_;
    std::vector<WideString> formatKeys_;
};

ClipboardState& clipboard() {
    static ClipboardState state;
    return state;
}

// Runs `action` when the caller has the clipboard open, else reports why not.
template <typename Result, typename Action> Result whenOpenedByCaller(Result failure, Action action) {
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    if (!state.openedByCaller()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return failure;
    }
    return action(state);
}

UINT registerFormat(const WideString& name) {
    if (name.empty() || name.size() > MaxFormatNameLength) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    return state.registerFormat(name);
}

} // namespace

BOOL OpenClipboard(HWND newOwner) {
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    return state.open(newOwner);
}

BOOL CloseClipboard() {
    return whenOpenedByCaller(FALSE, [](ClipboardState& state) {
        state.close();
        return TRUE;
    });
}

BOOL EmptyClipboard() {
    return whenOpenedByCaller(FALSE, [](ClipboardState& state) {
        state.empty();
        return TRUE;
    });
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    if (format == 0 || !data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return whenOpenedByCaller<HANDLE>(nullptr, [&](ClipboardState& state) {
        state.set(format, data);
        return data;
    });
}

HANDLE GetClipboardData(UINT format) {
    return whenOpenedByCaller<HANDLE>(nullptr, [&](ClipboardState& state) { return state.get(format); });
}

UINT EnumClipboardFormats(UINT format) {
    return whenOpenedByCaller(0u, [&](ClipboardState& state) {
        const std::vector<UINT> formats = state.formats();
        auto next = format == 0 ? formats.begin() : std::find(formats.begin(), formats.end(), format);
        if (format != 0 && next != formats.end()) ++next;
        SetLastError(ERROR_SUCCESS);
        return next == formats.end() ? 0u : *next;
    });
}

BOOL IsClipboardFormatAvailable(UINT format) {
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    state.takeOverDesktopText();
    const std::vector<UINT> formats = state.formats();
    return std::find(formats.begin(), formats.end(), format) != formats.end() ? TRUE : FALSE;
}

int CountClipboardFormats() {
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    state.takeOverDesktopText();
    return static_cast<int>(state.formats().size());
}

HWND GetClipboardOwner() {
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    return state.owner();
}

HWND GetOpenClipboardWindow() {
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    return state.openWindow();
}

UINT RegisterClipboardFormatA(LPCSTR name) {
    return registerFormat(name ? AnsiToWide(name) : WideString());
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
    return registerFormat(name ? WideString(name) : WideString());
}

void OfferSelectedText(const WideString& text) {
    std::shared_ptr<SystemClipboard> desktop;
    {
        ClipboardState& state = clipboard();
        std::lock_guard lock(state.mutex);
        desktop = state.installedSystem();
    }
    if (desktop) desktop->OfferSelection(text);
}

void SetSystemClipboard(std::shared_ptr<SystemClipboard> desktop) {
    ClipboardState& state = clipboard();
    std::lock_guard lock(state.mutex);
    state.setSystem(std::move(desktop));
}
