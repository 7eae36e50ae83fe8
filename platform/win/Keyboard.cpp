// Keys and characters. The layout tables are those of the United States
// keyboard, which the backends fall back on when they do not say what a key types.
#include "platform/win/Keyboard.h"

#include "platform/win/BackendInterface.h"
#include "platform/win/Cursors.h"
#include "platform/win/Hooks.h"
#include "platform/win/Messages.h"

#include <array>
#include <mutex>

namespace {

constexpr BYTE keyDownBit = 0x80;
constexpr BYTE keyToggledBit = 0x01;
constexpr SHORT asyncDownBit = static_cast<SHORT>(0x8000);
constexpr SHORT asyncPressedBit = 0x0001;
constexpr int scanCodeShift = 16;
constexpr WCHAR deleteCharacter = 0x7F;
constexpr WCHAR lineFeed = 0x0A;

struct AsyncState {
    std::mutex mutex;
    std::array<bool, 256> down{};
    std::array<bool, 256> pressedSinceQuery{};
};

AsyncState& asyncState() {
    static AsyncState state;
    return state;
}

// The unshifted and shifted characters of the United States layout's punctuation keys.
struct PunctuationKey {
    UINT key;
    WCHAR plain;
    WCHAR shifted;
};
constexpr PunctuationKey punctuationKeys[] = {
    {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},    {VK_SPACE, ' ', ' '},
};
constexpr char shiftedDigits[] = ")!@#$%^&*(";

// Control characters that Ctrl with a key types besides Ctrl+letter.
struct ControlKey {
    UINT key;
    WCHAR character;
};
constexpr ControlKey controlKeys[] = {
    {VK_OEM_4, 0x1B},      {VK_OEM_5, 0x1C}, {VK_OEM_6, 0x1D},  {VK_BACK, deleteCharacter},
    {VK_RETURN, lineFeed}, {VK_SPACE, ' '},  {VK_ESCAPE, 0x1B}, {VK_CANCEL, 0x03},
};

// Scan codes of the United States layout, by virtual key.
struct ScanCode {
    UINT key;
    UINT scan;
};
constexpr ScanCode scanCodes[] = {
    {VK_ESCAPE, 0x01},    {'1', 0x02},           {'2', 0x03},         {'3', 0x04},        {'4', 0x05},
    {'5', 0x06},          {'6', 0x07},           {'7', 0x08},         {'8', 0x09},        {'9', 0x0A},
    {'0', 0x0B},          {VK_OEM_MINUS, 0x0C},  {VK_OEM_PLUS, 0x0D}, {VK_BACK, 0x0E},    {VK_TAB, 0x0F},
    {'Q', 0x10},          {'W', 0x11},           {'E', 0x12},         {'R', 0x13},        {'T', 0x14},
    {'Y', 0x15},          {'U', 0x16},           {'I', 0x17},         {'O', 0x18},        {'P', 0x19},
    {VK_OEM_4, 0x1A},     {VK_OEM_6, 0x1B},      {VK_RETURN, 0x1C},   {VK_CONTROL, 0x1D}, {'A', 0x1E},
    {'S', 0x1F},          {'D', 0x20},           {'F', 0x21},         {'G', 0x22},        {'H', 0x23},
    {'J', 0x24},          {'K', 0x25},           {'L', 0x26},         {VK_OEM_1, 0x27},   {VK_OEM_7, 0x28},
    {VK_OEM_3, 0x29},     {VK_SHIFT, 0x2A},      {VK_OEM_5, 0x2B},    {'Z', 0x2C},        {'X', 0x2D},
    {'C', 0x2E},          {'V', 0x2F},           {'B', 0x30},         {'N', 0x31},        {'M', 0x32},
    {VK_OEM_COMMA, 0x33}, {VK_OEM_PERIOD, 0x34}, {VK_OEM_2, 0x35},    {VK_MENU, 0x38},    {VK_SPACE, 0x39},
    {VK_CAPITAL, 0x3A},   {VK_F1, 0x3B},         {VK_F2, 0x3C},       {VK_F3, 0x3D},      {VK_F4, 0x3E},
    {VK_F5, 0x3F},        {VK_F6, 0x40},         {VK_F7, 0x41},       {VK_F8, 0x42},      {VK_F9, 0x43},
    {VK_F10, 0x44},       {VK_HOME, 0x47},       {VK_UP, 0x48},       {VK_PRIOR, 0x49},   {VK_LEFT, 0x4B},
    {VK_RIGHT, 0x4D},     {VK_END, 0x4F},        {VK_DOWN, 0x50},     {VK_NEXT, 0x51},    {VK_INSERT, 0x52},
    {VK_DELETE, 0x53},    {VK_F11, 0x57},        {VK_F12, 0x58},
};

UINT scanCodeOf(UINT key) {
    for (const ScanCode& entry : scanCodes)
        if (entry.key == key) return entry.scan;
    return 0;
}

// VK_LSHIFT and its kin arrive as VK_SHIFT, VK_CONTROL and VK_MENU in messages.
UINT genericKey(UINT key) {
    switch (key) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return key;
    }
}

bool isDown(const ThreadState& thread, UINT key) {
    return thread.keyState[key] & keyDownBit;
}

bool isToggled(const ThreadState& thread, UINT key) {
    return thread.keyState[key] & keyToggledBit;
}

WideString plainCharacters(UINT key, bool shift, bool capsLock) {
    if (key >= 'A' && key <= 'Z') {
        bool upper = shift != capsLock;
        return WideString(1, static_cast<WCHAR>(upper ? key : key - 'A' + 'a'));
    }
    if (key >= '0' && key <= '9')
        return WideString(1, static_cast<WCHAR>(shift ? shiftedDigits[key - '0'] : key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return WideString(1, static_cast<WCHAR>('0' + key - VK_NUMPAD0));
    for (const PunctuationKey& entry : punctuationKeys)
        if (entry.key == key) return WideString(1, shift ? entry.shifted : entry.plain);
    switch (key) {
    case VK_BACK:
        return u"\b";
    case VK_TAB:
        return u"\t";
    case VK_RETURN:
        return u"\r";
    case VK_ESCAPE:
        return u"\x1B";
    case VK_MULTIPLY:
        return u"*";
    case VK_ADD:
        return u"+";
    case VK_SUBTRACT:
        return u"-";
    case VK_DECIMAL:
        return u".";
    case VK_DIVIDE:
        return u"/";
    default:
        return {};
    }
}

WideString controlCharacters(UINT key, bool shift) {
    if (key >= 'A' && key <= 'Z') return WideString(1, static_cast<WCHAR>(key - 'A' + 1));
    if (shift && key == '6') return u"\x1E";
    if (shift && key == VK_OEM_MINUS) return u"\x1F";
    for (const ControlKey& entry : controlKeys)
        if (entry.key == key) return WideString(1, entry.character);
    return {};
}

// What the key types on the United States layout with the thread's key state.
WideString layoutCharacters(const ThreadState& thread, UINT key) {
    bool shift = isDown(thread, VK_SHIFT);
    bool control = isDown(thread, VK_CONTROL);
    bool alt = isDown(thread, VK_MENU);
    if (control && alt) return {};
    if (control) return controlCharacters(key, shift);
    return plainCharacters(key, shift, isToggled(thread, VK_CAPITAL));
}

void updateThreadKeyState(ThreadState& thread, UINT key, bool down) {
    auto apply = [&](UINT each) {
        BYTE& state = thread.keyState[each];
        if (down) {
            if (!(state & keyDownBit)) state ^= keyToggledBit;
            state |= keyDownBit;
        } else {
            state &= ~keyDownBit;
        }
    };
    apply(key);
    UINT generic = genericKey(key);
    if (generic != key) apply(generic);
}

LPARAM keyData(UINT key, bool down, bool wasDown, bool extended) {
    LPARAM data = 1 | static_cast<LPARAM>(scanCodeOf(genericKey(key)) << scanCodeShift);
    if (extended) data |= KF_EXTENDED_BIT;
    if (IsAsyncKeyDown(VK_MENU)) data |= KF_ALTDOWN_BIT;
    if (wasDown) data |= KF_REPEAT_BIT;
    if (!down) data |= KF_UP_BIT;
    return data;
}

void queueKey(UINT key, bool down, const WideString& characters, bool extended) {
    bool wasDown = IsAsyncKeyDown(key);
    SetAsyncKeyDown(key, down);
    if (genericKey(key) != key) SetAsyncKeyDown(genericKey(key), down);
    InputEvent event;
    event.kind = InputEvent::Kind::Key;
    event.message = down ? WM_KEYDOWN : WM_KEYUP;
    event.wParam = key;
    event.lParam = keyData(key, down, wasDown, extended);
    event.characters = characters;
    event.time = CurrentMilliseconds();
    QueueInput(std::move(event));
}

bool isSystemKey(const ThreadState& thread, UINT key, LPARAM data) {
    bool alt = data & KF_ALTDOWN_BIT;
    if (genericKey(key) == VK_F10 || !thread.focus) return true;
    return alt && !IsAsyncKeyDown(VK_CONTROL);
}

bool sameMessage(const MSG& a, const MSG& b) {
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

} // namespace

// ---- Key state ----

void SetAsyncKeyDown(UINT virtualKey, bool down) {
    AsyncState& state = asyncState();
    std::lock_guard lock(state.mutex);
    BYTE key = static_cast<BYTE>(virtualKey);
    if (down && !state.down[key]) state.pressedSinceQuery[key] = true;
    state.down[key] = down;
}

bool IsAsyncKeyDown(UINT virtualKey) {
    AsyncState& state = asyncState();
    std::lock_guard lock(state.mutex);
    return state.down[static_cast<BYTE>(virtualKey)];
}

SHORT GetKeyState(int virtualKey) {
    BYTE state = CurrentThread().keyState[static_cast<BYTE>(virtualKey)];
    SHORT result = (state & keyDownBit) ? asyncDownBit : 0;
    return static_cast<SHORT>(result | ((state & keyToggledBit) ? 1 : 0));
}

SHORT GetAsyncKeyState(int virtualKey) {
    AsyncState& state = asyncState();
    std::lock_guard lock(state.mutex);
    BYTE key = static_cast<BYTE>(virtualKey);
    SHORT result = state.down[key] ? asyncDownBit : 0;
    if (state.pressedSinceQuery[key]) result |= asyncPressedBit;
    state.pressedSinceQuery[key] = false;
    return result;
}

BOOL GetKeyboardState(BYTE* state) {
    if (!state) return FALSE;
    const auto& keys = CurrentThread().keyState;
    std::copy(keys.begin(), keys.end(), state);
    return TRUE;
}

BOOL SetKeyboardState(const BYTE* state) {
    if (!state) return FALSE;
    auto& keys = CurrentThread().keyState;
    std::copy(state, state + keys.size(), keys.begin());
    return TRUE;
}

void keybd_event(BYTE virtualKey, BYTE, DWORD flags, ULONG_PTR) {
    queueKey(virtualKey, !(flags & KEYEVENTF_KEYUP), {}, flags & KEYEVENTF_EXTENDEDKEY);
}

UINT MapVirtualKeyW(UINT code, UINT mapType) {
    switch (mapType) {
    case MAPVK_VK_TO_VSC:
        return scanCodeOf(genericKey(code));
    case MAPVK_VSC_TO_VK:
        for (const ScanCode& entry : scanCodes)
            if (entry.scan == code) return entry.key;
        return 0;
    case MAPVK_VK_TO_CHAR: {
        WideString typed = plainCharacters(code, false, false);
        return typed.empty() ? 0 : static_cast<UINT>(code >= 'A' && code <= 'Z' ? code : typed[0]);
    }
    default:
        return 0;
    }
}

UINT MapVirtualKeyA(UINT code, UINT mapType) {
    return MapVirtualKeyW(code, mapType);
}

SHORT VkKeyScanW(WCHAR character) {
    constexpr SHORT shiftState = 0x0100;
    constexpr SHORT controlState = 0x0200;
    for (UINT key = 1; key < 256; ++key) {
        if (plainCharacters(key, false, false) == WideString(1, character)) return static_cast<SHORT>(key);
        if (plainCharacters(key, true, false) == WideString(1, character))
            return static_cast<SHORT>(shiftState | key);
    }
    for (UINT key = 'A'; key <= 'Z'; ++key)
        if (controlCharacters(key, false) == WideString(1, character))
            return static_cast<SHORT>(controlState | key);
    return -1;
}

SHORT VkKeyScanA(CHAR character) {
    return VkKeyScanW(static_cast<WCHAR>(static_cast<Byte>(character)));
}

// ---- Queue side ----

bool ResolveKeyboardInput(ThreadState& thread, InputEvent& event) {
    event.resolved = true;
    event.msg.time = event.time;
    GetCursorPosition(event.msg.pt);
    if (event.kind == InputEvent::Kind::Characters) {
        if (!thread.focus) return false;
        event.msg.hwnd = thread.focus;
        event.msg.message = WM_CHAR;
        event.msg.wParam = event.wParam;
        event.msg.lParam = 1;
        return true;
    }
    HWND target = thread.focus ? thread.focus : thread.active;
    if (!target) return false;
    bool system = isSystemKey(thread, static_cast<UINT>(event.wParam), event.lParam);
    bool down = event.message == WM_KEYDOWN;
    event.msg.hwnd = target;
    event.msg.message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : event.message;
    event.msg.wParam = genericKey(static_cast<UINT>(event.wParam));
    event.msg.lParam = event.lParam;
    return true;
}

bool AcceptKeyboardInput(ThreadState& thread, InputEvent& event, bool removing) {
    if (event.kind == InputEvent::Kind::Key && RunKeyboardHooks(removing, event.msg.wParam, event.msg.lParam))
        return false;
    if (!removing || event.kind != InputEvent::Kind::Key) return true;
    bool down = event.message == WM_KEYDOWN;
    updateThreadKeyState(thread, static_cast<UINT>(event.wParam), down);
    if (down) {
        thread.lastKeyDown = event.msg;
        thread.lastKeyDownCharacters = event.characters;
    }
    return true;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg) return FALSE;
    bool system = msg->message == WM_SYSKEYDOWN;
    if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP) return TRUE;
    if (msg->message != WM_KEYDOWN && !system) return FALSE;
    ThreadState& thread = CurrentThread();
    WideString characters = sameMessage(*msg, thread.lastKeyDown) && !thread.lastKeyDownCharacters.empty()
                                ? thread.lastKeyDownCharacters
                                : layoutCharacters(thread, static_cast<UINT>(msg->wParam));
    for (WCHAR unit : characters)
        PostFrom(CharSet::Wide, msg->hwnd, system ? WM_SYSCHAR : WM_CHAR, unit, msg->lParam);
    return TRUE;
}

// ---- Input from the backend ----

void DeliverKey(UINT virtualKey, bool down, const WideString& characters, bool extended) {
    queueKey(virtualKey, down, characters, extended);
}

void DeliverCharacters(const WideString& text) {
    for (WCHAR unit : text) {
        InputEvent event;
        event.kind = InputEvent::Kind::Characters;
        event.message = WM_CHAR;
        event.wParam = unit;
        event.time = CurrentMilliseconds();
        QueueInput(std::move(event));
    }
}
