// What the standard control tests share: a parent window that records the
// commands and owner-draw requests of its controls and answers them as a
// test asks, and a fixture that registers the control classes and reads pixels.
#pragma once

#include "WindowTestSupport.h"

#include "platform/win/Painting.h"
#include "platform/win/StandardControls.h"

#include <functional>

namespace standard_control_tests {

struct Command {
    UINT id = 0;
    WORD code = 0;
    HWND control = nullptr;
    friend bool operator==(const Command&, const Command&) = default;
};

struct ParentRecord {
    std::vector<Command> commands;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::vector<MEASUREITEMSTRUCT> measured;
    std::vector<DELETEITEMSTRUCT> deleted;
    int compared = 0;
    // The height WM_MEASUREITEM answers for an item (by itemID); unset leaves the record as it came.
    std::function<UINT(const MEASUREITEMSTRUCT&)> itemHeight;
    HBRUSH staticBrush = nullptr;
    std::function<void(HWND control, WORD code)> onCommand;
};

inline ParentRecord& Parent() {
    static ParentRecord record;
    return record;
}

inline std::vector<WORD> CodesOf(HWND control) {
    std::vector<WORD> codes;
    for (const Command& command : Parent().commands)
        if (command.control == control) codes.push_back(command.code);
    return codes;
}

inline LRESULT recordingParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ParentRecord& record = Parent();
    switch (message) {
    case WM_COMMAND: {
        Command command{LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)};
        record.commands.push_back(command);
        if (record.onCommand) record.onCommand(command.control, command.code);
        return 0;
    }
    case WM_DRAWITEM:
        record.drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (record.itemHeight) measure->itemHeight = record.itemHeight(*measure);
        record.measured.push_back(*measure);
        return TRUE;
    }
    case WM_DELETEITEM:
        record.deleted.push_back(*reinterpret_cast<DELETEITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMPAREITEM: {
        auto* compare = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
        ++record.compared;
        return compare->itemData1 < compare->itemData2 ? -1 : compare->itemData1 > compare->itemData2 ? 1 : 0;
    }
    case WM_CTLCOLORSTATIC:
        if (record.staticBrush) return reinterpret_cast<LRESULT>(record.staticBrush);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

constexpr const WCHAR* ParentClass = u"StandardControlParent";

// Text is drawn smoothed: its pixels are dark rather than exactly the text colour.
inline bool IsDark(COLORREF colour) {
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour) < 3 * 96;
}

class StandardControlTest : public window_tests::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        RegisterStandardControlClasses();
        static bool registered = [] {
            WNDCLASSEXW parentClass;
            parentClass.style = CS_DBLCLKS;
            parentClass.lpfnWndProc = WindowProcFromFunction(recordingParentProcedure);
            parentClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_BTNFACE + 1));
            parentClass.lpszClassName = ParentClass;
            return RegisterClassExW(&parentClass) != 0;
        }();
        (void)registered;
        Parent() = ParentRecord();
    }
    void TearDown() override {
        WindowTest::TearDown();
        Parent() = ParentRecord();
    }

    // A visible, active top-level window to hold the controls.
    HWND MakeParent(int width = 400, int height = 300) {
        HWND parent = CreateWindowExW(0, ParentClass, u"parent", WS_POPUP | WS_VISIBLE, 20, 20, width, height,
                                      nullptr, nullptr, nullptr, nullptr);
        SetActiveWindow(parent);
        return parent;
    }
    static HWND Control(const WCHAR* className, DWORD style, HWND parent, TRect rect, const WCHAR* text = u"",
                        int id = 7) {
        return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.Left, rect.Top,
                               rect.Width(), rect.Height(), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    static void Pump() { window_tests::ProcessMessages(); }
    static void Click(HWND window, POINT client) {
        window_tests::Click(window, client);
        Pump();
    }
    static void Press(UINT key, std::initializer_list<UINT> modifiers = {}) {
        window_tests::PressKey(key, modifiers);
        Pump();
    }
    // The client pixels of a window after it painted.
    static std::shared_ptr<PixelSurface> Pixels(HWND window) {
        UpdateWindow(GetAncestor(window, GA_ROOT));
        UpdateWindow(window);
        return CaptureWindowPixels(window, true);
    }
    static COLORREF PixelAt(const PixelSurface& pixels, int x, int y) {
        return ColorRefFromPixel(pixels.Row(y)[x] & PixelColourMask);
    }
    // The smallest rectangle holding the dark pixels of `area`.
    static TRect InkBounds(const PixelSurface& pixels, const TRect& area) {
        TRect ink{area.Right, area.Bottom, area.Left, area.Top};
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (IsDark(PixelAt(pixels, x, y))) {
                    ink.Left = std::min(ink.Left, x);
                    ink.Top = std::min(ink.Top, y);
                    ink.Right = std::max(ink.Right, x + 1);
                    ink.Bottom = std::max(ink.Bottom, y + 1);
                }
        return ink;
    }
};

} // namespace standard_control_tests
