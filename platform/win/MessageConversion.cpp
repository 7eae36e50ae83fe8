// The conversions between ANSI and UTF-16 messages. Buffers the callee fills
// are allocated in its units and converted into the caller's buffer, cut to
// the caller's size.
#include "platform/win/MessageConversion.h"

#include "platform/core/CodePages.h"
#include "platform/win/WindowObjects.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char unmappableCharacter = '?';
constexpr LRESULT listError = -1;

WPARAM wideCharacterOf(WPARAM ansi) {
    char byte = static_cast<char>(LOBYTE(ansi));
    WideString wide = AnsiToWide(AnsiString(1, byte));
    return wide.empty() ? 0 : wide[0];
}

WPARAM ansiCharacterOf(WPARAM wide) {
    WCHAR unit = static_cast<WCHAR>(LOWORD(wide));
    if (unit >= 0xD800 && unit <= 0xDFFF) return static_cast<Byte>(unmappableCharacter);
    AnsiString ansi = WideToAnsi(WideString(1, unit));
    return ansi.empty() ? 0 : static_cast<Byte>(ansi[0]);
}

WPARAM convertCharacter(WPARAM character, CharSet from) {
    return from == CharSet::Ansi ? wideCharacterOf(character) : ansiCharacterOf(character);
}

// A string argument in the caller's charset, held in the callee's.
struct ConvertedString {
    AnsiString ansi;
    WideString wide;
    LPARAM pointer = 0;

    ConvertedString(LPARAM source, CharSet from) {
        if (!source) {
            return;
        } else if (from == CharSet::Ansi) {
            wide = AnsiToWide(reinterpret_cast<const char*>(source));
            pointer = reinterpret_cast<LPARAM>(wide.c_str());
        } else {
            ansi = WideToAnsi(reinterpret_cast<const WCHAR*>(source));
            pointer = reinterpret_cast<LPARAM>(ansi.c_str());
        }
    }
};

// Text the callee wrote, converted into the caller's buffer of `capacity`
// units (the terminator included when `terminate`); returns the units copied.
LRESULT copyIntoCaller(const void* calleeText, std::size_t calleeLength, CharSet from, LPARAM callerBuffer,
                       std::size_t capacity, bool terminate) {
    if (!callerBuffer || capacity == 0) return 0;
    std::size_t room = terminate ? capacity - 1 : capacity;
    std::size_t copied = 0;
    if (from == CharSet::Ansi) {
        AnsiString ansi = WideToAnsi(WideString(static_cast<const WCHAR*>(calleeText), calleeLength));
        copied = std::min(ansi.size(), room);
        char* target = reinterpret_cast<char*>(callerBuffer);
        std::memcpy(target, ansi.data(), copied);
        if (terminate) target[copied] = 0;
    } else {
        WideString wide = AnsiToWide(AnsiString(static_cast<const char*>(calleeText), calleeLength));
        copied = std::min(wide.size(), room);
        WCHAR* target = reinterpret_cast<WCHAR*>(callerBuffer);
        std::copy_n(wide.data(), copied, target);
        if (terminate) target[copied] = 0;
    }
    return static_cast<LRESULT>(copied);
}

// A buffer in the callee's units.
struct CalleeBuffer {
    std::vector<char> ansi;
    WideString wide;
    CharSet charSet;

    CalleeBuffer(CharSet calleeCharSet, std::size_t units) : charSet(calleeCharSet) {
        if (charSet == CharSet::Ansi)
            ansi.assign(units + 1, 0);
        else
            wide.assign(units + 1, 0);
    }
    LPARAM pointer() {
        return charSet == CharSet::Ansi ? reinterpret_cast<LPARAM>(ansi.data())
                                        : reinterpret_cast<LPARAM>(wide.data());
    }
    const void* data() const {
        return charSet == CharSet::Ansi ? static_cast<const void*>(ansi.data())
                                        : static_cast<const void*>(wide.data());
    }
    std::size_t lengthUpTo(std::size_t limit) const {
        std::size_t length = 0;
        if (charSet == CharSet::Ansi)
            while (length < limit && length < ansi.size() && ansi[length])
                ++length;
        else
            while (length < limit && length < wide.size() && wide[length])
                ++length;
        return length;
    }
    std::size_t convertedLength(std::size_t length) const {
        if (charSet == CharSet::Ansi) return AnsiToWide(AnsiString(ansi.data(), length)).size();
        return WideToAnsi(wide.substr(0, length)).size();
    }
};

LRESULT getText(CharSet from, CharSet to, HWND window, WPARAM size, LPARAM buffer, const MessageCall& call) {
    if (size == 0) return 0;
    CalleeBuffer text(to, size);
    LRESULT written = call(window, WM_GETTEXT, size, text.pointer());
    std::size_t length = text.lengthUpTo(static_cast<std::size_t>(std::max<LRESULT>(written, 0)));
    return copyIntoCaller(text.data(), length, from, buffer, size, true);
}

// The exact length in the caller's units: the callee's text is read whole and converted.
LRESULT convertedLength(CharSet to, HWND window, UINT lengthMessage, UINT textMessage, WPARAM item,
                        bool textTakesSize, const MessageCall& call) {
    LRESULT length = call(window, lengthMessage, item, 0);
    if (length <= 0) return length;
    CalleeBuffer text(to, static_cast<std::size_t>(length));
    WPARAM textArgument = textTakesSize ? static_cast<WPARAM>(length + 1) : item;
    LRESULT written = call(window, textMessage, textArgument, text.pointer());
    if (written < 0) return written;
    return static_cast<LRESULT>(text.convertedLength(text.lengthUpTo(static_cast<std::size_t>(length))));
}

LRESULT getItemText(CharSet from, CharSet to, HWND window, UINT lengthMessage, UINT textMessage, WPARAM item,
                    LPARAM buffer, const MessageCall& call) {
    LRESULT length = call(window, lengthMessage, item, 0);
    if (length < 0) return listError;
    CalleeBuffer text(to, static_cast<std::size_t>(length));
    LRESULT written = call(window, textMessage, item, text.pointer());
    if (written < 0) return written;
    std::size_t unitsWritten = text.lengthUpTo(static_cast<std::size_t>(length));
    std::size_t callerUnits = text.convertedLength(unitsWritten);
    return copyIntoCaller(text.data(), unitsWritten, from, buffer, callerUnits + 1, true);
}

LRESULT getLine(CharSet from, CharSet to, HWND window, WPARAM line, LPARAM buffer, const MessageCall& call) {
    if (!buffer) return 0;
    WORD capacity = *reinterpret_cast<const WORD*>(buffer);
    if (capacity == 0) return 0;
    CalleeBuffer text(to, std::max<std::size_t>(capacity, 2));
    if (to == CharSet::Ansi)
        std::memcpy(text.ansi.data(), &capacity, sizeof capacity);
    else
        text.wide[0] = capacity;
    LRESULT written = call(window, EM_GETLINE, line, text.pointer());
    std::size_t units = static_cast<std::size_t>(std::clamp<LRESULT>(written, 0, capacity));
    return copyIntoCaller(text.data(), units, from, buffer, capacity, false);
}

LRESULT withCreateStruct(CharSet from, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         const MessageCall& call) {
    if (!lParam) return call(window, message, wParam, lParam);
    if (from == CharSet::Ansi) {
        const auto& source = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
        CREATESTRUCTW target;
        std::memcpy(static_cast<void*>(&target), &source, sizeof target);
        WideString name = source.lpszName ? AnsiToWide(source.lpszName) : WideString();
        WideString className = source.lpszClass && !IS_INTRESOURCE(source.lpszClass)
                                   ? AnsiToWide(source.lpszClass)
                                   : WideString();
        target.lpszName = source.lpszName ? name.c_str() : nullptr;
        if (!IS_INTRESOURCE(source.lpszClass)) target.lpszClass = className.c_str();
        return call(window, message, wParam, reinterpret_cast<LPARAM>(&target));
    }
    const auto& source = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
    CREATESTRUCTA target;
    std::memcpy(static_cast<void*>(&target), &source, sizeof target);
    AnsiString name = source.lpszName ? WideToAnsi(source.lpszName) : AnsiString();
    AnsiString className =
        source.lpszClass && !IS_INTRESOURCE(source.lpszClass) ? WideToAnsi(source.lpszClass) : AnsiString();
    target.lpszName = source.lpszName ? name.c_str() : nullptr;
    if (!IS_INTRESOURCE(source.lpszClass)) target.lpszClass = className.c_str();
    return call(window, message, wParam, reinterpret_cast<LPARAM>(&target));
}

// Owner-drawn list and combo boxes without HASSTRINGS keep item data, not text.
bool listHoldsStrings(HWND window, bool comboBox) {
    Window* object = FindWindowObject(window);
    if (!object) return true;
    DWORD ownerDraw = comboBox ? (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)
                               : (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
    DWORD hasStrings = comboBox ? CBS_HASSTRINGS : LBS_HASSTRINGS;
    return !(object->style & ownerDraw) || (object->style & hasStrings);
}

LRESULT withStringArgument(CharSet from, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           const MessageCall& call) {
    ConvertedString text(lParam, from);
    return call(window, message, wParam, text.pointer);
}

bool isListStringMessage(UINT message) {
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING:
        return true;
    default:
        return false;
    }
}

bool isComboStringMessage(UINT message) {
    switch (message) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
        return true;
    default:
        return false;
    }
}

} // namespace

bool IsCharacterMessage(UINT message) {
    switch (message) {
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_SYSCHAR:
    case WM_SYSDEADCHAR:
    case WM_IME_CHAR:
        return true;
    default:
        return false;
    }
}

void ConvertQueuedMessage(MSG& msg, CharSet from, CharSet to) {
    if (from != to && IsCharacterMessage(msg.message)) msg.wParam = convertCharacter(msg.wParam, from);
}

LRESULT CallConverted(CharSet from, CharSet to, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      const MessageCall& call) {
    if (from == to) return call(window, message, wParam, lParam);
    if (IsCharacterMessage(message) || message == EM_SETPASSWORDCHAR)
        return call(window, message, convertCharacter(wParam, from), lParam);
    if (isListStringMessage(message) && !listHoldsStrings(window, false))
        return call(window, message, wParam, lParam);
    if (isComboStringMessage(message) && !listHoldsStrings(window, true))
        return call(window, message, wParam, lParam);
    switch (message) {
    case WM_SETTEXT:
    case WM_WININICHANGE:
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING:
    case LB_DIR:
    case LB_ADDFILE:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING:
    case CB_DIR:
        return withStringArgument(from, window, message, wParam, lParam, call);
    case WM_NCCREATE:
    case WM_CREATE:
        return withCreateStruct(from, window, message, wParam, lParam, call);
    case WM_GETTEXT:
        return getText(from, to, window, wParam, lParam, call);
    case WM_GETTEXTLENGTH:
        return convertedLength(to, window, WM_GETTEXTLENGTH, WM_GETTEXT, 0, true, call);
    case EM_GETLINE:
        return getLine(from, to, window, wParam, lParam, call);
    case LB_GETTEXT:
        if (!listHoldsStrings(window, false)) return call(window, message, wParam, lParam);
        return getItemText(from, to, window, LB_GETTEXTLEN, LB_GETTEXT, wParam, lParam, call);
    case LB_GETTEXTLEN:
        if (!listHoldsStrings(window, false)) return call(window, message, wParam, lParam);
        return convertedLength(to, window, LB_GETTEXTLEN, LB_GETTEXT, wParam, false, call);
    case CB_GETLBTEXT:
        if (!listHoldsStrings(window, true)) return call(window, message, wParam, lParam);
        return getItemText(from, to, window, CB_GETLBTEXTLEN, CB_GETLBTEXT, wParam, lParam, call);
    case CB_GETLBTEXTLEN:
        if (!listHoldsStrings(window, true)) return call(window, message, wParam, lParam);
        return convertedLength(to, window, CB_GETLBTEXTLEN, CB_GETLBTEXT, wParam, false, call);
    default:
        return call(window, message, wParam, lParam);
    }
}
