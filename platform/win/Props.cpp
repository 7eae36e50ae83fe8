// Properties keyed by atom; names go through the global atom table.
#include "platform/win/Props.h"

#include "platform/win/Atoms.h"

#include <algorithm>

namespace {

ATOM integerAtom(const void* name) {
    return static_cast<ATOM>(reinterpret_cast<UINT_PTR>(name));
}

// The atom of a name that is looked up, not added.
template <typename Char> ATOM existingAtom(const Char* name) {
    if (IsIntegerAtomName(name)) return integerAtom(name);
    if constexpr (sizeof(Char) == 1)
        return GlobalFindAtomA(name);
    else
        return GlobalFindAtomW(name);
}

template <typename Char> ATOM addedAtom(const Char* name) {
    if constexpr (sizeof(Char) == 1)
        return GlobalAddAtomA(name);
    else
        return GlobalAddAtomW(name);
}

auto findProperty(Window& window, ATOM atom) {
    return std::find_if(window.properties.begin(), window.properties.end(),
                        [&](const WindowProperty& property) { return property.atom == atom; });
}

template <typename Char> BOOL setProp(HWND handle, const Char* name, HANDLE value) {
    Window* window = WindowOrError(handle);
    if (!window || !name) {
        if (window) SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    bool byName = !IsIntegerAtomName(name);
    ATOM atom = byName ? addedAtom(name) : integerAtom(name);
    if (!atom) return FALSE;
    auto existing = findProperty(*window, atom);
    if (existing != window->properties.end()) {
        existing->value = value;
        // The property holds its name's atom once, however often it is set.
        if (byName && existing->ownsAtom) GlobalDeleteAtom(atom);
        existing->ownsAtom = existing->ownsAtom || byName;
        return TRUE;
    }
    window->properties.push_back({atom, value, byName});
    return TRUE;
}

template <typename Char> HANDLE getProp(HWND handle, const Char* name) {
    Window* window = WindowOrError(handle);
    if (!window || !name) return nullptr;
    ATOM atom = existingAtom(name);
    if (!atom) return nullptr;
    auto found = findProperty(*window, atom);
    return found == window->properties.end() ? nullptr : found->value;
}

template <typename Char> HANDLE removeProp(HWND handle, const Char* name) {
    Window* window = WindowOrError(handle);
    if (!window || !name) return nullptr;
    ATOM atom = existingAtom(name);
    auto found = atom ? findProperty(*window, atom) : window->properties.end();
    if (found == window->properties.end()) return nullptr;
    WindowProperty removed = *found;
    window->properties.erase(found);
    if (removed.ownsAtom) GlobalDeleteAtom(removed.atom);
    return removed.value;
}

} // namespace

BOOL SetPropA(HWND window, LPCSTR name, HANDLE value) {
    return setProp(window, name, value);
}
BOOL SetPropW(HWND window, LPCWSTR name, HANDLE value) {
    return setProp(window, name, value);
}
HANDLE GetPropA(HWND window, LPCSTR name) {
    return getProp(window, name);
}
HANDLE GetPropW(HWND window, LPCWSTR name) {
    return getProp(window, name);
}
HANDLE RemovePropA(HWND window, LPCSTR name) {
    return removeProp(window, name);
}
HANDLE RemovePropW(HWND window, LPCWSTR name) {
    return removeProp(window, name);
}

void RemoveAllProperties(Window& window) {
    for (const WindowProperty& property : window.properties)
        if (property.ownsAtom) GlobalDeleteAtom(property.atom);
    window.properties.clear();
}
