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
    // What the desktop said at the last query, so that a key held since
    // then is not a new press.
    std::array<bool, 256> heldOnDesktop{};
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


// ---- Key names ----

constexpr LONG ScanCodeShift = 16;
constexpr LONG ExtendedKeyBit = 1 << 24;
constexpr LONG DontCareBit = 1 << 25;
constexpr UINT RightShiftScan = 0x36;
constexpr UINT ControlScan = 0x1D;
constexpr UINT AltScan = 0x38;
constexpr UINT LeftShiftScan = 0x2A;

struct KeyName {
    UINT scan;
    bool extended;
    const char* name;
};

constexpr KeyName keyNames[] = {
    {0x01, false, "Esc"},         {0x02, false, "1"},           {0x03, false, "2"},
    {0x04, false, "3"},           {0x05, false, "4"},           {0x06, false, "5"},
    {0x07, false, "6"},           {0x08, false, "7"},           {0x09, false, "8"},
    {0x0A, false, "9"},           {0x0B, false, "0"},           {0x0C, false, "-"},
    {0x0D, false, "="},           {0x0E, false, "Backspace"},   {0x0F, false, "Tab"},
    {0x10, false, "Q"},           {0x11, false, "W"},           {0x12, false, "E"},
    {0x13, false, "R"},           {0x14, false, "T"},           {0x15, false, "Y"},
    {0x16, false, "U"},           {0x17, false, "I"},           {0x18, false, "O"},
    {0x19, false, "P"},           {0x1A, false, "["},           {0x1B, false, "]"},
    {0x1C, false, "Enter"},       {0x1D, false, "Ctrl"},        {0x1E, false, "A"},
    {0x1F, false, "S"},           {0x20, false, "D"},           {0x21, false, "F"},
    {0x22, false, "G"},           {0x23, false, "H"},           {0x24, false, "J"},
    {0x25, false, "K"},           {0x26, false, "L"},           {0x27, false, ";"},
    {0x28, false, "'"},           {0x29, false, "`"},           {0x2A, false, "Shift"},
    {0x2B, false, "\\"},          {0x2C, false, "Z"},           {0x2D, false, "X"},
    {0x2E, false, "C"},           {0x2F, false, "V"},           {0x30, false, "B"},
    {0x31, false, "N"},           {0x32, false, "M"},           {0x33, false, ","},
    {0x34, false, "."},           {0x35, false, "/"},           {0x36, false, "Right Shift"},
    {0x37, false, "Num *"},       {0x38, false, "Alt"},         {0x39, false, "Space"},
    {0x3A, false, "Caps Lock"},   {0x3B, false, "F1"},          {0x3C, false, "F2"},
    {0x3D, false, "F3"},          {0x3E, false, "F4"},          {0x3F, false, "F5"},
    {0x40, false, "F6"},          {0x41, false, "F7"},          {0x42, false, "F8"},
    {0x43, false, "F9"},          {0x44, false, "F10"},         {0x45, false, "Pause"},
    {0x46, false, "Scroll Lock"}, {0x47, false, "Num 7"},       {0x48, false, "Num 8"},
    {0x49, false, "Num 9"},       {0x4A, false, "Num -"},       {0x4B, false, "Num 4"},
    {0x4C, false, "Num 5"},       {0x4D, false, "Num 6"},       {0x4E, false, "Num +"},
    {0x4F, false, "Num 1"},       {0x50, false, "Num 2"},       {0x51, false, "Num 3"},
    {0x52, false, "Num 0"},       {0x53, false, "Num Del"},     {0x54, false, "Sys Req"},
    {0x57, false, "F11"},         {0x58, false, "F12"},         {0x1C, true, "Num Enter"},
    {0x1D, true, "Right Ctrl"},   {0x35, true, "Num /"},        {0x37, true, "Prnt Scrn"},
    {0x38, true, "Right Alt"},    {0x45, true, "Num Lock"},     {0x47, true, "Home"},
    {0x48, true, "Up"},           {0x49, true, "Page Up"},      {0x4B, true, "Left"},
    {0x4D, true, "Right"},        {0x4F, true, "End"},          {0x50, true, "Down"},
    {0x51, true, "Page Down"},    {0x52, true, "Insert"},       {0x53, true, "Delete"},
    {0x5B, true, "Left Windows"}, {0x5C, true, "Right Windows"}, {0x5D, true, "Application"},
};

const char* keyNameOf(LONG keyData) {
    UINT scan = (static_cast<ULONG>(keyData) >> ScanCodeShift) & 0xFF;
    bool extended = keyData & ExtendedKeyBit;
    if (keyData & DontCareBit) {
        if (scan == RightShiftScan) scan = LeftShiftScan;
        if (scan == ControlScan || scan == AltScan) extended = false;
    }
    for (const KeyName& entry : keyNames)
        if (entry.scan == scan && entry.extended == extended) return entry.name;
    return nullptr;
}

template <typename Char> int copyKeyName(LONG keyData, Char* buffer, int size) {
    const char* name = keyNameOf(keyData);
    if (!buffer || size <= 0) return 0;
    int copied = 0;
    for (; name && name[copied] && copied < size - 1; ++copied)
        buffer[copied] = static_cast<Char>(name[copied]);
    buffer[copied] = 0;
    return copied;
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

// The desktop is asked as well: on Windows the state is the whole system's,
// so a key pressed while another program has the keyboard counts too.
SHORT GetAsyncKeyState(int virtualKey) {
    BYTE key = static_cast<BYTE>(virtualKey);
    const std::optional<bool> heldOnDesktop = CurrentBackend().KeyHeldOnDesktop(key);
    AsyncState& state = asyncState();
    std::lock_guard lock(state.mutex);
    if (heldOnDesktop) {
        if (*heldOnDesktop && !state.heldOnDesktop[key]) state.pressedSinceQuery[key] = true;
        state.heldOnDesktop[key] = *heldOnDesktop;
    }
    SHORT result = state.down[key] || state.heldOnDesktop[key] ? asyncDownBit : 0;
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

int GetKeyNameTextW(LONG keyData, LPWSTR buffer, int size) {
    return copyKeyName(keyData, buffer, size);
}

int GetKeyNameTextA(LONG keyData, LPSTR buffer, int size) {
    return copyKeyName(keyData, buffer, size);
}
