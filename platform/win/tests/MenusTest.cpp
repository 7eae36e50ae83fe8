// Menus: building and querying items in both charsets and record sizes, a
// pop-up menu driven by keys and by the mouse with the messages its owner
// receives, owner-drawn items, and a window's menu bar with its mnemonics.
#include "platform/win/Menus.h"
#include "WindowTestSupport.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>

using namespace window_tests;

namespace {

constexpr UINT idOpen = 101;
constexpr UINT idSave = 102;
constexpr UINT idExit = 103;
constexpr UINT idCut = 201;
constexpr UINT idRed = 301;
constexpr UINT idGreen = 302;

MENUITEMINFOW textItem(UINT id, const WCHAR* text, UINT state = 0) {
    MENUITEMINFOW info;
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.wID = id;
    info.fState = state;
    info.dwTypeData = const_cast<WCHAR*>(text);
    return info;
}

COLORREF pixelOf(HWND window, POINT screen) {
    std::shared_ptr<PixelSurface> pixels = CaptureWindowPixels(window, false);
    RECT bounds;
    GetWindowRect(window, &bounds);
    return ColorRefFromPixel(pixels->At(screen.x - bounds.Left, screen.y - bounds.Top) & PixelColourMask);
}

POINT centreOf(const RECT& rect) {
    return {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
}

HWND openPopup() {
    return FindWindowW(PopupMenuClassName, nullptr);
}

// ---- Building and querying ----

TEST(MenuItems, TextIsKeptAsUtf16AndReadInEitherCharset) {
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOA ansi;
    ansi.fMask = MIIM_ID | MIIM_STRING;
    ansi.wID = 7;
    char cafe[] = "Caf\xe9\tCtrl+K";
    ansi.dwTypeData = cafe;
    ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &ansi));

    WCHAR wide[32];
    EXPECT_EQ(GetMenuStringW(menu, 7, wide, 32, MF_BYCOMMAND), 11);
    EXPECT_EQ(WideString(wide), u"Caf\u00e9\tCtrl+K");
    EXPECT_EQ(GetMenuStringW(menu, 0, nullptr, 0, MF_BYPOSITION), 11);
    EXPECT_EQ(GetMenuStringW(menu, 0, wide, 4, MF_BYPOSITION), 3);
    EXPECT_EQ(WideString(wide), u"Caf");

    MENUITEMINFOW query;
    query.fMask = MIIM_STRING;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 7, FALSE, &query));
    EXPECT_EQ(query.cch, 11u);
    WCHAR buffer[5];
    query.dwTypeData = buffer;
    query.cch = 5;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 7, FALSE, &query));
    EXPECT_EQ(WideString(buffer), u"Caf\u00e9");
    EXPECT_EQ(query.cch, 4u);
    DestroyMenu(menu);
}

TEST(MenuItems, BothRecordSizesAreAcceptedAndOthersRefused) {
    HMENU menu = CreatePopupMenu();
    HBITMAP picture = CreateBitmap(8, 8, 1, 32, nullptr);
    MENUITEMINFOW info = textItem(1, u"One");
    info.fMask |= MIIM_BITMAP;
    info.hbmpItem = picture;
    info.cbSize = MENUITEMINFO_SIZE_VERSION_400W;
    ASSERT_TRUE(InsertMenuItemW(menu, 0, TRUE, &info));
    info.cbSize = sizeof info;
    info.wID = 2;
    ASSERT_TRUE(InsertMenuItemW(menu, 1, TRUE, &info));

    for (UINT position : {0u, 1u}) {
        MENUITEMINFOW read;
        read.fMask = MIIM_BITMAP | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &read));
        // The older record has no bitmap field, so the first item never got one.
        EXPECT_EQ(read.hbmpItem, position == 0 ? nullptr : picture);
    }
    MENUITEMINFOA old;
    old.cbSize = MENUITEMINFO_SIZE_VERSION_400A;
    old.fMask = MIIM_TYPE;
    EXPECT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &old));
    EXPECT_EQ(old.fType & (MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW), 0u);

    info.cbSize = 20;
    SetLastError(0);
    EXPECT_FALSE(InsertMenuItemW(menu, 0, TRUE, &info));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DestroyMenu(menu);
    DeleteObject(picture);
}

TEST(MenuItems, CommandsAreFoundInSubMenus) {
    HMENU bar = CreateMenu();
    HMENU edit = CreatePopupMenu();
    AppendMenuW(edit, MF_STRING, idCut, u"Cu&t");
    AppendMenuW(bar, MF_STRING, idOpen, u"&Open");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), u"&Edit");

    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetSubMenu(bar, 1), edit);
    EXPECT_EQ(GetMenuItemID(bar, 0), idOpen);
    EXPECT_EQ(GetMenuItemID(bar, 1), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuState(bar, 1, MF_BYPOSITION), (1u << 8) | MF_POPUP);

    EXPECT_EQ(CheckMenuItem(bar, idCut, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(bar, idCut, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(bar, idCut, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
    EXPECT_EQ(GetMenuState(edit, 0, MF_BYPOSITION), MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(bar, idCut, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
    EXPECT_EQ(CheckMenuItem(bar, 999, MF_BYCOMMAND), static_cast<DWORD>(-1));
    EXPECT_EQ(EnableMenuItem(bar, 999, MF_BYCOMMAND), -1);

    ASSERT_TRUE(InsertMenuW(bar, idCut, MF_BYCOMMAND | MF_STRING, idSave, u"&Copy"));
    EXPECT_EQ(GetMenuItemID(edit, 0), idSave);
    ASSERT_TRUE(ModifyMenuW(bar, idSave, MF_BYCOMMAND | MF_STRING | MF_DEFAULT, idSave, u"C&opy"));
    EXPECT_EQ(GetMenuDefaultItem(edit, FALSE, 0), idSave);
    WCHAR text[16];
    GetMenuStringW(bar, idSave, text, 16, MF_BYCOMMAND);
    EXPECT_EQ(WideString(text), u"C&opy");
    DestroyMenu(bar);
    EXPECT_FALSE(IsMenu(edit));
}

TEST(MenuItems, ReplacingOrDeletingAnItemDestroysTheSubMenuItOpened) {
    HMENU menu = CreatePopupMenu();
    HMENU first = CreatePopupMenu();
    HMENU second = CreatePopupMenu();
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(first), u"First");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(second), u"Second");
    ASSERT_TRUE(ModifyMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 5, u"Plain"));
    EXPECT_FALSE(IsMenu(first));
    ASSERT_TRUE(RemoveMenu(menu, 1, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(second));
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(second), u"Second");
    ASSERT_TRUE(DeleteMenu(menu, 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(second));
    EXPECT_EQ(GetMenuItemCount(menu), 1);

    SetLastError(0);
    EXPECT_EQ(GetMenuItemCount(second), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_FALSE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(second), u"Gone"));
    DestroyMenu(menu);
}

TEST(MenuItems, RadioItemsCheckOneOfARange) {
    HMENU menu = CreatePopupMenu();
    for (UINT id : {idRed, idGreen, idExit})
        AppendMenuW(menu, MF_STRING | MF_CHECKED, id, u"Colour");
    ASSERT_TRUE(CheckMenuRadioItem(menu, idRed, idGreen, idGreen, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(menu, idRed, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(GetMenuState(menu, idGreen, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuState(menu, idExit, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    MENUITEMINFOW info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, idGreen, FALSE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    DestroyMenu(menu);
}

// ---- Tracking ----

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

bool isMenuNotification(UINT message) {
    switch (message) {
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_MENUCHAR:
    case WM_COMMAND:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        return true;
    default:
        return false;
    }
}

class MenuTrackingTest : public WindowTest {
protected:
    std::vector<Seen> seen;
    // Lets a test answer a message itself.
    std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> answer;
    // One step runs each time the open menu waits for input; with none left the menu is closed.
    std::deque<std::function<void()>> idleSteps;
    WNDPROC procedure = nullptr;
    HWND owner = nullptr;

    void SetUp() override {
        WindowTest::SetUp();
        procedure = CreateWindowProcObject([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return ownerProcedure(window, message, wParam, lParam);
        });
    }
    void TearDown() override {
        WindowTest::TearDown();
        FreeWindowProcObject(procedure);
    }

    HWND makeOwner(DWORD style = WS_POPUP | WS_VISIBLE, TRect rect = {100, 100, 400, 300}) {
        owner = Create("owner", style, nullptr, rect);
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
        SetForegroundWindow(owner);
        SetFocus(owner);
        return owner;
    }

    LRESULT ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (isMenuNotification(message)) seen.push_back({message, wParam, lParam});
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            if (idleSteps.empty()) {
                EndMenu();
            } else {
                auto step = std::move(idleSteps.front());
                idleSteps.pop_front();
                step();
            }
            return 0;
        }
        if (answer)
            if (std::optional<LRESULT> result = answer(message, wParam, lParam)) return *result;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    std::vector<Seen> seenOf(UINT message) const {
        std::vector<Seen> found;
        for (const Seen& each : seen)
            if (each.message == message) found.push_back(each);
        return found;
    }

    static HMENU fileMenu() {
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, idOpen, u"&Open...\tCtrl+O");
        AppendMenuW(menu, MF_STRING, idSave, u"&Save\tCtrl+S");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, idExit, u"E&xit");
        return menu;
    }

    static void pointAt(HMENU menu, UINT position) {
        RECT item;
        ASSERT_TRUE(GetMenuItemRect(nullptr, menu, position, &item));
        DeliverMouseMove(centreOf(item));
    }

    static void clickAt(POINT screen) {
        DeliverMouseMove(screen);
        DeliverMouseButton(MouseButton::Left, true, screen);
        DeliverMouseButton(MouseButton::Left, false, screen);
    }
};

TEST_F(MenuTrackingTest, KeysMoveOverSeparatorsAndEnterChoosesWithTheOwnerToldOfEachStep) {
    makeOwner();
    HMENU menu = fileMenu();
    for (UINT key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        PressKey(key);
    BOOL chosen = TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
    EXPECT_EQ(chosen, static_cast<BOOL>(idExit));
    EXPECT_EQ(openPopup(), nullptr);

    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_ENTERMENULOOP));
    EXPECT_EQ(seen[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(seen[1].message, static_cast<UINT>(WM_INITMENU));
    EXPECT_EQ(seen[2].message, static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(seen[2].wParam, reinterpret_cast<WPARAM>(menu));
    std::vector<Seen> selections = seenOf(WM_MENUSELECT);
    ASSERT_EQ(selections.size(), 4u);
    EXPECT_EQ(LOWORD(selections[0].wParam), idOpen);
    EXPECT_EQ(LOWORD(selections[1].wParam), idSave);
    EXPECT_EQ(LOWORD(selections[2].wParam), idExit);
    EXPECT_TRUE(HIWORD(selections[2].wParam) & MF_HILITE);
    EXPECT_EQ(selections[3].wParam, MAKEWPARAM(0, 0xFFFF));
    EXPECT_EQ(seen.back().message, static_cast<UINT>(WM_EXITMENULOOP));
    ProcessMessages();
    EXPECT_TRUE(seenOf(WM_COMMAND).empty());
    DestroyMenu(menu);
}

TEST_F(MenuTrackingTest, AChosenItemPostsItsCommandAndEscapeChoosesNothing) {
    makeOwner();
    HMENU menu = fileMenu();
    PressKey('S');
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 150, 150, 0, owner, nullptr));
    EXPECT_TRUE(seenOf(WM_COMMAND).empty());
    ProcessMessages();
    ASSERT_EQ(seenOf(WM_COMMAND).size(), 1u);
    EXPECT_EQ(seenOf(WM_COMMAND)[0].wParam, MAKEWPARAM(idSave, 0));

    seen.clear();
    PressKey(VK_DOWN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 0);
    ProcessMessages();
    EXPECT_TRUE(seenOf(WM_COMMAND).empty());
    DestroyMenu(menu);
}

TEST_F(MenuTrackingTest, SubMenusOpenWithRightAndCloseWithLeft) {
    makeOwner();
    HMENU colours = CreatePopupMenu();
    AppendMenuW(colours, MF_STRING, idRed, u"&Red");
    AppendMenuW(colours, MF_STRING, idGreen, u"&Green");
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(colours), u"&Colours");
    AppendMenuW(menu, MF_STRING, idExit, u"E&xit");
    std::vector<int> popupsOpen;
    auto countPopups = [&] {
        int count = 0;
        for (HWND popup = FindWindowW(PopupMenuClassName, nullptr); popup;
             popup = FindWindowExW(nullptr, popup, PopupMenuClassName, nullptr))
            if (IsWindowVisible(popup)) ++count;
        popupsOpen.push_back(count);
    };
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
    idleSteps = {[&] {
                     countPopups();
                     PressKey(VK_LEFT);
                 },
                 [&] {
                     countPopups();
                     PressKey(VK_RIGHT);
                     PressKey(VK_DOWN);
                     PressKey(VK_RETURN);
                 }};
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), static_cast<BOOL>(idGreen));
    EXPECT_EQ(popupsOpen, (std::vector<int>{2, 1}));
    std::vector<Seen> inits = seenOf(WM_INITMENUPOPUP);
    ASSERT_EQ(inits.size(), 3u);
    EXPECT_EQ(inits[1].wParam, reinterpret_cast<WPARAM>(colours));
    EXPECT_EQ(inits[1].lParam, MAKELPARAM(0, FALSE));
    DestroyMenu(menu);
}

TEST_F(MenuTrackingTest, AnUnknownCharacterAsksTheOwner) {
    makeOwner();
    HMENU menu = fileMenu();
    answer = [](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_MENUCHAR && LOWORD(wParam) == u'q')
            return static_cast<LRESULT>(MAKELONG(3, MNC_EXECUTE));
        return std::nullopt;
    };
    PressKey('Q');
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), static_cast<BOOL>(idExit));
    std::vector<Seen> asked = seenOf(WM_MENUCHAR);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(HIWORD(asked[0].wParam), MF_POPUP);
    EXPECT_EQ(asked[0].lParam, reinterpret_cast<LPARAM>(menu));
    DestroyMenu(menu);
}

TEST_F(MenuTrackingTest, TheMouseChoosesOnReleaseAndAClickElsewhereCloses) {
    makeOwner();
    HMENU menu = fileMenu();
    idleSteps = {[&] {
        RECT item;
        ASSERT_TRUE(GetMenuItemRect(nullptr, menu, 1, &item));
        clickAt(centreOf(item));
    }};
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), static_cast<BOOL>(idSave));
    EXPECT_TRUE(HIWORD(seenOf(WM_MENUSELECT)[0].wParam) & MF_MOUSESELECT);

    idleSteps = {[&] { clickAt({10, 10}); }};
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr), 0);
    EXPECT_EQ(openPopup(), nullptr);
    DestroyMenu(menu);
}

TEST_F(MenuTrackingTest, PlacementFollowsTheAlignmentFlagsAndStaysOnTheScreen) {
    makeOwner();
    HMENU menu = fileMenu();
    SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    struct Case {
        UINT flags;
        POINT point;
        bool rightOfPoint;
        bool belowPoint;
    };
    for (Case test :
         {Case{TPM_LEFTALIGN, {200, 200}, true, true}, Case{TPM_RIGHTALIGN, {500, 200}, false, true},
          Case{TPM_BOTTOMALIGN, {200, 500}, true, false},
          Case{TPM_LEFTALIGN, {screen.cx - 5, screen.cy - 5}, false, false}}) {
        RECT bounds{};
        idleSteps = {[&] { GetWindowRect(openPopup(), &bounds); }};
        TrackPopupMenu(menu, test.flags | TPM_RETURNCMD, test.point.x, test.point.y, 0, owner, nullptr);
        EXPECT_EQ(test.rightOfPoint ? bounds.Left : bounds.Right, test.point.x) << test.flags;
        EXPECT_EQ(test.belowPoint ? bounds.Top : bounds.Bottom, test.point.y) << test.flags;
    }
    DestroyMenu(menu);
}

TEST_F(MenuTrackingTest, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirStates) {
    makeOwner();
    constexpr COLORREF plain = RGB(0, 128, 0);
    constexpr COLORREF selected = RGB(200, 0, 0);
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_OWNERDRAW, idRed, reinterpret_cast<LPCWSTR>(UINT_PTR{11}));
    AppendMenuW(menu, MF_OWNERDRAW | MF_GRAYED | MF_CHECKED, idGreen,
                reinterpret_cast<LPCWSTR>(UINT_PTR{22}));
    std::vector<DRAWITEMSTRUCT> drawn;
    answer = [&](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_MEASUREITEM) {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            EXPECT_EQ(measure->CtlType, ODT_MENU);
            measure->itemWidth = 90;
            measure->itemHeight = 24;
            return TRUE;
        }
        if (message == WM_DRAWITEM) {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            drawn.push_back(*draw);
            HBRUSH brush = CreateSolidBrush((draw->itemState & ODS_SELECTED) ? selected : plain);
            FillRect(draw->hDC, &draw->rcItem, brush);
            DeleteObject(brush);
            return TRUE;
        }
        return std::nullopt;
    };
    COLORREF before = 0;
    COLORREF after = 0;
    PressKey(VK_DOWN);
    idleSteps = {[&] {
        RECT item;
        GetMenuItemRect(nullptr, menu, 0, &item);
        after = pixelOf(openPopup(), centreOf(item));
        EXPECT_EQ(item.Bottom - item.Top, 24);
        EXPECT_EQ(item.Right - item.Left, 90 + GetSystemMetrics(SM_CXMENUCHECK) - 1);
        GetMenuItemRect(nullptr, menu, 1, &item);
        before = pixelOf(openPopup(), centreOf(item));
    }};
    TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
    EXPECT_EQ(after, selected);
    EXPECT_EQ(before, plain);
    EXPECT_EQ(seenOf(WM_MEASUREITEM).size(), 2u);
    ASSERT_GE(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(drawn[0].itemData, 11u);
    EXPECT_EQ(drawn[0].hwndItem, reinterpret_cast<HWND>(menu));
    EXPECT_EQ(drawn[1].itemState, ODS_GRAYED | ODS_CHECKED);
    EXPECT_EQ(drawn[2].itemAction, static_cast<UINT>(ODA_SELECT));
    EXPECT_EQ(drawn[2].itemState, static_cast<UINT>(ODS_SELECTED));
    DestroyMenu(menu);
}

TEST_F(MenuTrackingTest, OnlyOneMenuIsOpenAtATime) {
    makeOwner();
    HMENU menu = fileMenu();
    BOOL nested = TRUE;
    DWORD error = 0;
    idleSteps = {[&] {
        nested = TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr);
        error = GetLastError();
    }};
    TrackPopupMenu(menu, TPM_RETURNCMD, 150, 150, 0, owner, nullptr);
    EXPECT_FALSE(nested);
    EXPECT_EQ(error, ERROR_POPUP_ALREADY_ACTIVE);
    DestroyMenu(menu);
}

// ---- The menu bar ----

class MenuBarTest : public MenuTrackingTest {
protected:
    HMENU bar = nullptr;
    HMENU file = nullptr;
    HMENU edit = nullptr;

    void makeFrame(TRect rect = {50, 50, 450, 350}) {
        makeOwner(WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect);
        file = fileMenu();
        edit = CreatePopupMenu();
        AppendMenuW(edit, MF_STRING, idCut, u"Cu&t\tCtrl+X");
        bar = CreateMenu();
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), u"&File");
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), u"&Edit");
        AppendMenuW(bar, MF_STRING, idExit, u"&Quit");
    }

    RECT barItem(UINT position) const {
        RECT item{};
        EXPECT_TRUE(GetMenuItemRect(owner, bar, position, &item));
        return item;
    }
};

TEST_F(MenuBarTest, TheBarTakesARowOfTheFrameAndWrapsWhenNarrow) {
    makeFrame();
    RECT before;
    GetClientRect(owner, &before);
    ASSERT_TRUE(SetMenu(owner, bar));
    EXPECT_EQ(GetMenu(owner), bar);
    RECT after;
    GetClientRect(owner, &after);
    EXPECT_EQ(before.Bottom - after.Bottom, GetSystemMetrics(SM_CYMENU));

    RECT file = barItem(0);
    RECT quit = barItem(2);
    EXPECT_EQ(file.Top, quit.Top);
    EXPECT_GT(quit.Left, file.Right);
    POINT onBar = centreOf(file);
    EXPECT_EQ(SendMessageW(owner, WM_NCHITTEST, 0, MAKELPARAM(onBar.x, onBar.y)), HTMENU);
    ProcessMessages();
    EXPECT_EQ(pixelOf(owner, {file.Left + 1, file.Top + 1}), GetSysColor(COLOR_MENU));

    AppendMenuW(bar, MF_STRING, idRed, u"&Window");
    AppendMenuW(bar, MF_STRING, idGreen, u"&Help");
    DrawMenuBar(owner);
    SetWindowPos(owner, nullptr, 0, 0, 130, 300, SWP_NOMOVE | SWP_NOZORDER);
    RECT window;
    GetWindowRect(owner, &window);
    RECT wrapped;
    GetClientRect(owner, &wrapped);
    NonClientLayout frame =
        LayoutNonClient(WS_OVERLAPPEDWINDOW, 0, window.Right - window.Left, window.Bottom - window.Top);
    EXPECT_EQ(frame.client.Height() - wrapped.Bottom, 2 * GetSystemMetrics(SM_CYMENU));
    EXPECT_GT(barItem(4).Top, barItem(0).Top);

    HWND child = Create("child", WS_CHILD | WS_VISIBLE, owner);
    SetLastError(0);
    EXPECT_FALSE(SetMenu(child, bar));
    EXPECT_EQ(GetLastError(), ERROR_CHILD_WINDOW_MENU);
    ASSERT_TRUE(SetMenu(owner, nullptr));
    GetClientRect(owner, &after);
    EXPECT_EQ(after.Bottom, frame.client.Height());
    DestroyMenu(bar);
}

TEST_F(MenuBarTest, AltAndAMnemonicOpenThatItemsMenuWithItsFirstItemSelected) {
    makeFrame();
    SetMenu(owner, bar);
    COLORREF fileItem = 0;
    idleSteps = {[&] {
                     RECT item = barItem(0);
                     fileItem = pixelOf(owner, {item.Left + 1, item.Top + 1});
                     PressKey(VK_DOWN);
                 },
                 [&] { PressKey(VK_RETURN); }};
    PressKey('F', {VK_MENU});
    ProcessMessages();
    EXPECT_EQ(fileItem, GetSysColor(COLOR_HIGHLIGHT));
    ASSERT_EQ(seenOf(WM_COMMAND).size(), 1u);
    EXPECT_EQ(seenOf(WM_COMMAND)[0].wParam, MAKEWPARAM(idSave, 0));
    EXPECT_EQ(seenOf(WM_ENTERMENULOOP)[0].wParam, static_cast<WPARAM>(FALSE));
    RECT item = barItem(0);
    EXPECT_EQ(pixelOf(owner, {item.Left + 1, item.Top + 1}), GetSysColor(COLOR_MENU));
}

TEST_F(MenuBarTest, F10SelectsTheBarAndArrowsWalkAlongIt) {
    makeFrame();
    SetMenu(owner, bar);
    idleSteps = {[&] {
                     PressKey(VK_RIGHT);
                     PressKey(VK_DOWN);
                 },
                 [&] {
                     PressKey(VK_RIGHT);
                     PressKey(VK_RIGHT);
                     PressKey(VK_RETURN);
                 }};
    PressKey(VK_F10);
    ProcessMessages();
    std::vector<Seen> inits = seenOf(WM_INITMENUPOPUP);
    ASSERT_EQ(inits.size(), 2u);
    EXPECT_EQ(inits[0].wParam, reinterpret_cast<WPARAM>(edit));
    EXPECT_EQ(inits[1].wParam, reinterpret_cast<WPARAM>(file));
    ASSERT_EQ(seenOf(WM_COMMAND).size(), 1u);
    EXPECT_EQ(seenOf(WM_COMMAND)[0].wParam, MAKEWPARAM(idOpen, 0));
}

TEST_F(MenuBarTest, AClickOnTheBarOpensItsMenuAndACommandOnTheBarIsChosenDirectly) {
    makeFrame();
    SetMenu(owner, bar);
    idleSteps = {[&] {
        ASSERT_NE(openPopup(), nullptr);
        RECT cut;
        ASSERT_TRUE(GetMenuItemRect(nullptr, edit, 0, &cut));
        clickAt(centreOf(cut));
    }};
    clickAt(centreOf(barItem(1)));
    ProcessMessages();
    ASSERT_EQ(seenOf(WM_COMMAND).size(), 1u);
    EXPECT_EQ(seenOf(WM_COMMAND)[0].wParam, MAKEWPARAM(idCut, 0));

    seen.clear();
    clickAt(centreOf(barItem(2)));
    ProcessMessages();
    ASSERT_EQ(seenOf(WM_COMMAND).size(), 1u);
    EXPECT_EQ(seenOf(WM_COMMAND)[0].wParam, MAKEWPARAM(idExit, 0));
}

TEST_F(MenuBarTest, AnOpenMenuIsSavedAsAPicture) {
    makeFrame();
    SetWindowTextW(owner, u"Menus");
    SetMenu(owner, bar);
    CheckMenuItem(file, idSave, MF_CHECKED);
    EnableMenuItem(file, idExit, MF_GRAYED);
    std::shared_ptr<PixelSurface> screen;
    idleSteps = {[&] { PressKey(VK_DOWN); },
                 [&] {
                     RECT frame;
                     GetWindowRect(owner, &frame);
                     screen = std::make_shared<PixelSurface>(frame.Right + 20, frame.Bottom + 20);
                     ComposeScreen({0, 0, screen->Width(), screen->Height()}, *screen);
                 }};
    PressKey('F', {VK_MENU});
    ProcessMessages();
    ASSERT_TRUE(screen);
    std::string path = std::string(QUORVANE_TEST_OUTPUT_DIR) + "/win-open-menu.png";
    EXPECT_TRUE(WritePngFile(*screen, path));
    EXPECT_TRUE(std::filesystem::exists(path));
}

} // namespace
