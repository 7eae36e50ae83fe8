// What the common control tests share: parent windows (with a UTF-16 or an
// ANSI procedure) that record the notifications, commands and scroll
// messages their controls send and let a test answer them, and a fixture
// that registers the control classes.
#pragma once

#include "WindowTestSupport.h"

#include "platform/win/CommCtrl.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Painting.h"

#include <functional>

namespace control_tests {

// What a parent heard, in order.
struct Heard {
    UINT message = 0;
    // The notification code (WM_NOTIFY), the command code (WM_COMMAND) or the scroll code.
    UINT code = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

inline std::vector<Heard>& HeardLog() {
    static std::vector<Heard> log;
    return log;
}

// Answers WM_NOTIFY; the default answers 0.
inline std::function<LRESULT(NMHDR*)>& NotifyAnswer() {
    static std::function<LRESULT(NMHDR*)> answer;
    return answer;
}

// Runs for each WM_DRAWITEM.
inline std::function<void(DRAWITEMSTRUCT*)>& DrawItemHandler() {
    static std::function<void(DRAWITEMSTRUCT*)> handler;
    return handler;
}

// Runs for each WM_MEASUREITEM.
inline std::function<void(MEASUREITEMSTRUCT*)>& MeasureItemHandler() {
    static std::function<void(MEASUREITEMSTRUCT*)> handler;
    return handler;
}

// Runs for each WM_COMMAND.
inline std::function<void(WPARAM, LPARAM)>& CommandHandler() {
    static std::function<void(WPARAM, LPARAM)> handler;
    return handler;
}

inline bool Records(UINT message) {
    return message == WM_NOTIFY || message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL ||
           message == WM_DRAWITEM;
}

inline LRESULT answer(UINT message, WPARAM wParam, LPARAM lParam) {
    Heard heard{message, 0, wParam, lParam};
    if (message == WM_NOTIFY) heard.code = reinterpret_cast<NMHDR*>(lParam)->code;
    if (message == WM_COMMAND) heard.code = HIWORD(wParam);
    if (message == WM_HSCROLL || message == WM_VSCROLL) heard.code = LOWORD(wParam);
    HeardLog().push_back(heard);
    if (message == WM_NOTIFY && NotifyAnswer()) return NotifyAnswer()(reinterpret_cast<NMHDR*>(lParam));
    if (message == WM_COMMAND && CommandHandler()) CommandHandler()(wParam, lParam);
    if (message == WM_DRAWITEM && DrawItemHandler())
        DrawItemHandler()(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return 0;
}

inline bool measured(UINT message, LPARAM lParam) {
    if (message != WM_MEASUREITEM || !MeasureItemHandler()) return false;
    MeasureItemHandler()(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    return true;
}

inline LRESULT WideParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Records(message)) return answer(message, wParam, lParam);
    if (measured(message, lParam)) return TRUE;
    return DefWindowProcW(window, message, wParam, lParam);
}

inline LRESULT AnsiParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Records(message)) return answer(message, wParam, lParam);
    if (measured(message, lParam)) return TRUE;
    return DefWindowProcA(window, message, wParam, lParam);
}

constexpr const WCHAR* WideParentClass = u"ControlParentW";
constexpr const char* AnsiParentClass = "ControlParentA";

inline void RegisterParentClasses() {
    static bool done = [] {
        WNDCLASSEXW wide;
        wide.lpfnWndProc = WindowProcFromFunction(WideParentProcedure);
        wide.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_BTNFACE + 1));
        wide.lpszClassName = WideParentClass;
        RegisterClassExW(&wide);
        WNDCLASSEXA ansi;
        ansi.lpfnWndProc = WindowProcFromFunction(AnsiParentProcedure);
        ansi.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_BTNFACE + 1));
        ansi.lpszClassName = AnsiParentClass;
        RegisterClassExA(&ansi);
        return true;
    }();
    (void)done;
}

inline std::vector<UINT> NotificationCodes() {
    std::vector<UINT> codes;
    for (const Heard& heard : HeardLog())
        if (heard.message == WM_NOTIFY) codes.push_back(heard.code);
    return codes;
}

inline std::vector<Heard> HeardOf(UINT message) {
    std::vector<Heard> found;
    for (const Heard& heard : HeardLog())
        if (heard.message == message) found.push_back(heard);
    return found;
}

// Text is drawn smoothed: its pixels are dark rather than exactly the text colour.
inline bool IsDark(COLORREF colour) {
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 96;
}

class ControlTest : public window_tests::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        RegisterCommonControlClasses();
        RegisterParentClasses();
        HeardLog().clear();
        NotifyAnswer() = nullptr;
        DrawItemHandler() = nullptr;
        MeasureItemHandler() = nullptr;
        CommandHandler() = nullptr;
    }
    void TearDown() override {
        NotifyAnswer() = nullptr;
        DrawItemHandler() = nullptr;
        MeasureItemHandler() = nullptr;
        CommandHandler() = nullptr;
        WindowTest::TearDown();
        HeardLog().clear();
    }

    HWND WideParent(int width = 400, int height = 300) {
        return CreateWindowExW(0, WideParentClass, u"parent", WS_POPUP | WS_VISIBLE, 20, 20, width, height,
                               nullptr, nullptr, nullptr, nullptr);
    }
    HWND AnsiParent(int width = 400, int height = 300) {
        return CreateWindowExA(0, AnsiParentClass, "parent", WS_POPUP | WS_VISIBLE, 20, 20, width, height,
                               nullptr, nullptr, nullptr, nullptr);
    }
    static HWND Control(const WCHAR* className, DWORD style, HWND parent, TRect rect, int id = 7) {
        return CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, rect.Left, rect.Top,
                               rect.Width(), rect.Height(), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    // The colour of a client pixel after the window painted.
    static COLORREF Pixel(HWND window, POINT client) {
        UpdateWindow(window);
        std::shared_ptr<PixelSurface> pixels = CaptureWindowPixels(window, true);
        return ColorRefFromPixel(pixels->Row(client.y)[client.x] & PixelColourMask);
    }
};

} // namespace control_tests
