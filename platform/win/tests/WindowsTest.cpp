#include "WindowTestSupport.h"

#include "platform/win/Atoms.h"
#include "platform/win/Props.h"
#include "platform/win/Regions.h"

using namespace window_tests;
using Strings = std::vector<std::string>;

namespace {

class WindowLifeTest : public WindowTest {};

TEST_F(WindowLifeTest, CreationSendsItsMessagesInWindowsOrder) {
    HWND main = Create("main", WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(main);
    // WM_GETMINMAXINFO comes before WM_NCCREATE names the window in the log.
    EXPECT_EQ(Log(), (Strings{"?:WM_GETMINMAXINFO", "main:WM_NCCREATE", "main:WM_NCCALCSIZE",
                              "main:WM_CREATE", "main:WM_SIZE", "main:WM_MOVE"}));
    Log().clear();
    HWND child = Create("child", WS_CHILD | WS_VISIBLE, main, {5, 5, 55, 35});
    ASSERT_TRUE(child);
    EXPECT_EQ(Log(), (Strings{"child:WM_NCCREATE", "child:WM_NCCALCSIZE", "child:WM_CREATE", "child:WM_SIZE",
                              "child:WM_MOVE", "main:WM_PARENTNOTIFY", "child:WM_SHOWWINDOW",
                              "child:WM_WINDOWPOSCHANGING", "child:WM_WINDOWPOSCHANGED"}));
}

TEST_F(WindowLifeTest, DestructionReachesChildrenBeforeTheParentIsFreed) {
    HWND main = Create("main", WS_OVERLAPPEDWINDOW);
    Create("first", WS_CHILD, main);
    HWND second = Create("second", WS_CHILD, main);
    Create("inner", WS_CHILD, second);
    Log().clear();
    ASSERT_TRUE(DestroyWindow(main));
    EXPECT_EQ(Log(), (Strings{"main:WM_DESTROY", "first:WM_DESTROY", "first:WM_NCDESTROY",
                              "second:WM_DESTROY", "inner:WM_DESTROY", "inner:WM_NCDESTROY",
                              "second:WM_NCDESTROY", "main:WM_NCDESTROY"}));
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(second));
}

// A procedure that reads the text in WM_DESTROY and hands the rest of the
// messages to another procedure, which must see WM_NCDESTROY.
WideString textSeenAtDestroy;
bool laterProcedureSawNcDestroy = false;

LRESULT laterProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) laterProcedureSawNcDestroy = true;
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT destroyWatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        WCHAR text[32] = {};
        GetWindowTextW(window, text, 32);
        textSeenAtDestroy = text;
        SetWindowLongPtrW(window, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(WindowProcFromFunction(laterProcedure)));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowLifeTest, DestroyKeepsTheTextAndFollowsAProcedureChangedOnTheWay) {
    HWND window = CreateWindowExW(0, RecordingClass, u"kept", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(WindowProcFromFunction(destroyWatcher)));
    DestroyWindow(window);
    EXPECT_EQ(textSeenAtDestroy, u"kept");
    EXPECT_TRUE(laterProcedureSawNcDestroy);
}

LRESULT refuseNcCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(window, message);
    return message == WM_NCCREATE ? FALSE : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT refuseCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowNames()[window] = "refused";
    Record(window, message);
    return message == WM_CREATE ? -1 : DefWindowProcW(window, message, wParam, lParam);
}

HWND createWith(WindowProcFunction procedure, const WCHAR* className) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = WindowProcFromFunction(procedure);
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(WindowLifeTest, RefusingCreationGivesNoWindow) {
    EXPECT_EQ(createWith(refuseNcCreate, u"RefusesNcCreate"), nullptr);
    EXPECT_EQ(createWith(refuseCreate, u"RefusesCreate"), nullptr);
    EXPECT_EQ(LogOf("refused"), (Strings{"refused:WM_NCCREATE", "refused:WM_NCCALCSIZE", "refused:WM_CREATE",
                                         "refused:WM_DESTROY", "refused:WM_NCDESTROY"}));
    EXPECT_FALSE(UnregisterClassW(u"NoSuchClass", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

// The first message goes to the class procedure; a change made there applies to WM_CREATE at once.
int createSeenBySubclass = 0;

LRESULT subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) ++createSeenBySubclass;
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT subclassingClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(WindowProcFromFunction(subclassProcedure)));
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowLifeTest, AProcedureChangedInTheFirstMessageTakesEffectAtOnce) {
    HWND window = createWith(subclassingClassProcedure, u"SubclassesItself");
    ASSERT_TRUE(window);
    EXPECT_EQ(createSeenBySubclass, 1);
}

TEST_F(WindowLifeTest, UnregisteringFailsWhileWindowsOfTheClassExist) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = WindowProcFromFunction(DefWindowProcW);
    windowClass.lpszClassName = u"Busy";
    ASSERT_TRUE(RegisterClassW(&windowClass));
    EXPECT_FALSE(RegisterClassW(&windowClass));
    HWND window = CreateWindowExW(0, u"BUSY", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    EXPECT_FALSE(UnregisterClassW(u"Busy", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassW(u"Busy", nullptr));
}

TEST_F(WindowLifeTest, SystemClassesAreFoundFromAnyInstance) {
    WNDCLASSEXW windowClass;
    windowClass.lpfnWndProc = WindowProcFromFunction(DefWindowProcW);
    windowClass.lpszClassName = u"SharedControl";
    ASSERT_TRUE(RegisterSystemClassW(&windowClass));
    WNDCLASSW found;
    EXPECT_TRUE(GetClassInfoW(reinterpret_cast<HINSTANCE>(0x1234), u"sharedcontrol", &found));
    EXPECT_EQ(found.lpfnWndProc, windowClass.lpfnWndProc);
}

TEST_F(WindowLifeTest, MessageOnlyWindowsAreFoundOnlyUnderTheMessageRoot) {
    HWND hidden = CreateWindowExW(0, RecordingClass, u"mailbox", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(hidden);
    EXPECT_EQ(FindWindowW(RecordingClass, u"mailbox"), nullptr);
    EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, RecordingClass, u"mailbox"), hidden);
    ShowWindow(hidden, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_TRUE(PostMessageW(hidden, WM_USER, 1, 2));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, hidden, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);
}

// ---- Slots and the ANSI/wide procedure rules ----

class ProcedureSlotTest : public WindowTest {};

std::string lastAnsiText;
WPARAM lastAnsiCharacter = 0;

LRESULT ansiProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && lParam) lastAnsiText = reinterpret_cast<const char*>(lParam);
    if (message == WM_CHAR) lastAnsiCharacter = wParam;
    return DefWindowProcA(window, message, wParam, lParam);
}

WideString lastWideText;
WPARAM lastWideCharacter = 0;
WNDPROC wideSubclassPrevious = nullptr;

LRESULT wideSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && lParam) lastWideText = reinterpret_cast<const WCHAR*>(lParam);
    if (message == WM_CHAR) lastWideCharacter = wParam;
    return CallWindowProcW(wideSubclassPrevious, window, message, wParam, lParam);
}

HWND createAnsiWindow() {
    static bool registered = [] {
        WNDCLASSA windowClass;
        windowClass.lpfnWndProc = WindowProcFromFunction(ansiProcedure);
        windowClass.lpszClassName = "AnsiWindow";
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
    return CreateWindowExA(0, "AnsiWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(ProcedureSlotTest, ReadingThroughTheOtherCharsetGivesAConversionHandle) {
    HWND window = createAnsiWindow();
    WNDPROC token = WindowProcFromFunction(ansiProcedure);
    EXPECT_FALSE(IsWindowUnicode(window));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), token);
    auto handle = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    EXPECT_NE(handle, token);
    EXPECT_EQ(handle, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)));

    // Installing the handle through the wide call brings back the token with its ANSI charset.
    SetWindowLongPtrW(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(WindowProcFromFunction(DefWindowProcW)));
    EXPECT_TRUE(IsWindowUnicode(window));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(handle));
    EXPECT_FALSE(IsWindowUnicode(window));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), token);
}

TEST_F(ProcedureSlotTest, AnAnsiWindowSubclassedWithAWideProcedureConvertsBothWays) {
    HWND window = createAnsiWindow();
    wideSubclassPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcFromFunction(wideSubclass))));
    EXPECT_TRUE(IsWindowUnicode(window));

    SetWindowTextA(window, "caf\xE9 \x80");
    EXPECT_EQ(lastWideText, u"caf\u00E9 \u20AC");
    EXPECT_EQ(lastAnsiText, "caf\xE9 \x80");
    WCHAR wide[16] = {};
    EXPECT_EQ(GetWindowTextW(window, wide, 16), 6);
    EXPECT_EQ(WideString(wide), u"caf\u00E9 \u20AC");

    SendMessageA(window, WM_CHAR, 0x80, 0);
    EXPECT_EQ(lastWideCharacter, 0x20ACu);
    EXPECT_EQ(lastAnsiCharacter, 0x80u);
    SendMessageW(window, WM_CHAR, 0x4E2D, 0);
    EXPECT_EQ(lastWideCharacter, 0x4E2Du);
    EXPECT_EQ(lastAnsiCharacter, static_cast<WPARAM>('?'));
}

WPARAM ansiSubclassCharacter = 0;
std::string ansiSubclassText;
WNDPROC ansiSubclassPrevious = nullptr;

LRESULT ansiSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) ansiSubclassCharacter = wParam;
    if (message == WM_SETTEXT && lParam) ansiSubclassText = reinterpret_cast<const char*>(lParam);
    return CallWindowProcA(ansiSubclassPrevious, window, message, wParam, lParam);
}

TEST_F(ProcedureSlotTest, AWideWindowSubclassedWithAnAnsiProcedureConvertsBothWays) {
    HWND window = Create("wide", WS_POPUP);
    ansiSubclassPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProcFromFunction(ansiSubclass))));
    EXPECT_FALSE(IsWindowUnicode(window));
    EXPECT_NE(ansiSubclassPrevious, WindowProcFromFunction(RecordingProcedureW));

    SetWindowTextW(window, u"\u00E9t\u00E9 \u4E2D");
    EXPECT_EQ(ansiSubclassText, "\xE9t\xE9 ?");
    SendMessageW(window, WM_CHAR, 0x00E9, 0);
    EXPECT_EQ(ansiSubclassCharacter, 0xE9u);
    // The text came back to the wide procedure converted from the ANSI form.
    WCHAR wide[16] = {};
    GetWindowTextW(window, wide, 16);
    EXPECT_EQ(WideString(wide), u"\u00E9t\u00E9 ?");
}

TEST_F(ProcedureSlotTest, CallWindowProcConvertsOnlyThroughAConversionHandle) {
    HWND window = createAnsiWindow();
    auto handle = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    CallWindowProcW(handle, window, WM_CHAR, 0x20AC, 0);
    EXPECT_EQ(lastAnsiCharacter, 0x80u);
    // The token itself is called as it is, whatever the caller's charset.
    CallWindowProcW(WindowProcFromFunction(ansiProcedure), window, WM_CHAR, 0x20AC, 0);
    EXPECT_EQ(lastAnsiCharacter, 0x20ACu);
}

TEST_F(ProcedureSlotTest, TextLengthsAndBuffersAreCountedInTheCallersUnits) {
    HWND window = Create("wide", WS_POPUP);
    SetWindowTextW(window, u"\u00E9\u00E8\u00E0\U0001F600");
    char ansi[3] = {};
    EXPECT_EQ(GetWindowTextA(window, ansi, 3), 2);
    EXPECT_EQ(std::string(ansi), "\xE9\xE8");
    EXPECT_EQ(GetWindowTextLengthA(window),
              static_cast<int>(WideToAnsi(u"\u00E9\u00E8\u00E0\U0001F600").size()));
    EXPECT_EQ(GetWindowTextLengthW(window), 5);
}

WideString createdName;

LRESULT nameWatcher(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) createdName = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpszName;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(ProcedureSlotTest, CreationNamesReachAWideProcedureConverted) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = WindowProcFromFunction(nameWatcher);
    windowClass.lpszClassName = u"NameWatcher";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExA(0, "NameWatcher", "na\xEFve", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(createdName, u"na\u00EFve");
    WCHAR text[8] = {};
    GetWindowTextW(window, text, 8);
    EXPECT_EQ(WideString(text), u"na\u00EFve");
}

TEST_F(ProcedureSlotTest, SlotsHoldIdsUserDataAndExtraBytes) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = WindowProcFromFunction(DefWindowProcW);
    windowClass.cbWndExtra = 2 * sizeof(LONG_PTR);
    windowClass.lpszClassName = u"WithExtra";
    RegisterClassW(&windowClass);
    HWND parent = Create("parent", WS_POPUP);
    auto id = static_cast<LONG_PTR>(0x123456789ABLL);
    HWND child = CreateWindowExW(0, u"WithExtra", u"", WS_CHILD, 0, 0, 5, 5, parent,
                                 reinterpret_cast<HMENU>(id), nullptr, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(child, GWLP_ID), id);
    EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongPtrW(child, GWLP_HWNDPARENT)), parent);
    SetWindowLongPtrW(child, GWLP_USERDATA, 77);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), 77);
    EXPECT_EQ(SetWindowLongPtrW(child, static_cast<int>(sizeof(LONG_PTR)), 5), 0);
    EXPECT_EQ(GetWindowLongPtrW(child, static_cast<int>(sizeof(LONG_PTR))), 5);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(child, static_cast<int>(2 * sizeof(LONG_PTR))), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

    HWND owned = Create("owned", WS_POPUP, parent);
    EXPECT_EQ(GetParent(owned), parent);
    SetWindowLongA(owned, GWLP_HWNDPARENT, 0);
    EXPECT_EQ(GetParent(owned), nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), nullptr);
}

// ---- Tree, geometry and properties ----

class WindowTreeTest : public WindowTest {};

TEST_F(WindowTreeTest, CoordinatesMapThroughFramesAndParents) {
    HWND main = Create("main", WS_POPUP | WS_BORDER | WS_VISIBLE, nullptr, {100, 50, 300, 250});
    HWND child = Create("child", WS_CHILD | WS_VISIBLE, main, {20, 30, 70, 80});
    POINT point{0, 0};
    ClientToScreen(child, &point);
    EXPECT_EQ(point, (POINT{100 + 1 + 20, 50 + 1 + 30}));
    POINT mapped{5, 5};
    MapWindowPoints(child, main, &mapped, 1);
    EXPECT_EQ(mapped, (POINT{25, 35}));
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client, (RECT{0, 0, 198, 198}));
    EXPECT_EQ(WindowFromPoint({125, 85}), child);
    EXPECT_EQ(WindowFromPoint({110, 60}), main);
    EXPECT_EQ(ChildWindowFromPoint(main, {25, 35}), child);
    EXPECT_EQ(GetAncestor(child, GA_ROOT), main);
    EXPECT_EQ(GetWindow(main, GW_CHILD), child);
}

TEST_F(WindowTreeTest, AWindowRegionShapesHitTesting) {
    HWND main = Create("main", WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    SetWindowRgn(main, CreateEllipticRgn(0, 0, 100, 100), TRUE);
    EXPECT_EQ(WindowFromPoint({50, 50}), main);
    EXPECT_EQ(WindowFromPoint({2, 2}), nullptr);
}

int enumerated = 0;
BOOL countWindows(HWND, LPARAM) {
    ++enumerated;
    return TRUE;
}

TEST_F(WindowTreeTest, EnumerationAndSearchWalkTheTree) {
    HWND main = Create("main", WS_POPUP);
    HWND child = Create("child", WS_CHILD, main);
    Create("grandchild", WS_CHILD, child);
    SetWindowTextW(child, u"found");
    EXPECT_EQ(FindWindowExW(main, nullptr, nullptr, u"found"), child);
    EXPECT_EQ(FindWindowExA(main, child, nullptr, "found"), nullptr);
    EnumChildWindows(main, countWindows, 0);
    EXPECT_EQ(enumerated, 2);
}

TEST_F(WindowTreeTest, PropertiesAreSetByNameOrAtomAndGoWithTheWindow) {
    HWND window = Create("main", WS_POPUP);
    auto value = reinterpret_cast<HANDLE>(0x1234);
    ASSERT_TRUE(SetPropW(window, u"ControlOfs", value));
    EXPECT_EQ(GetPropA(window, "controlofs"), value);
    ATOM atom = GlobalFindAtomA("ControlOfs");
    ASSERT_NE(atom, 0);
    EXPECT_EQ(GetPropW(window, MAKEINTATOM(atom)), value);
    EXPECT_EQ(RemovePropA(window, "ControlOfs"), value);
    EXPECT_EQ(GetPropW(window, u"ControlOfs"), nullptr);
    EXPECT_EQ(GlobalFindAtomA("ControlOfs"), 0);

    SetPropA(window, "Delphi0001", value);
    DestroyWindow(window);
    EXPECT_EQ(GlobalFindAtomA("Delphi0001"), 0);
}

TEST_F(WindowTreeTest, ShowingMaximisingAndRestoringChangeTheRectangle) {
    HWND main = Create("main", WS_OVERLAPPEDWINDOW, nullptr, {10, 10, 210, 160});
    EXPECT_FALSE(ShowWindow(main, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(main));
    ShowWindow(main, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(main));
    RECT maximised;
    GetWindowRect(main, &maximised);
    EXPECT_GT(maximised.Width(), 200);
    ShowWindow(main, SW_RESTORE);
    RECT restored;
    GetWindowRect(main, &restored);
    EXPECT_EQ(restored, (RECT{10, 10, 210, 160}));
    EXPECT_TRUE(ShowWindow(main, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(main));
}

TEST_F(WindowTreeTest, ZOrderFollowsSetWindowPos) {
    HWND first = Create("first", WS_POPUP | WS_VISIBLE);
    HWND second = Create("second", WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(GetTopWindow(nullptr), second);
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    SetWindowPos(second, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), second);
}

} // namespace
