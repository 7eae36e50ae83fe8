// The common controls' class registration and their shared state, notification and text handling.
#include "platform/win/CommonControls.h"

#include "platform/core/CodePages.h"
#include "platform/win/Cursors.h"
#include "platform/win/DateTimePickerControl.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/EditControl.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/ListViewControl.h"
#include "platform/win/Messages.h"
#include "platform/win/MonthCalendarControl.h"
#include "platform/win/PageScrollerControl.h"
#include "platform/win/Painting.h"
#include "platform/win/ProgressBarControl.h"
#include "platform/win/RichEditControl.h"
#include "platform/win/StatusBarControl.h"
#include "platform/win/TabControl.h"
#include "platform/win/TextOut.h"
#include "platform/win/ToolBarControl.h"
#include "platform/win/ToolTipControl.h"
#include "platform/win/TrackBarControl.h"
#include "platform/win/TreeViewControl.h"
#include "platform/win/UpDownControl.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

std::mutex& controlsMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<HWND, std::shared_ptr<CommonControl>>& controls() {
    static std::map<HWND, std::shared_ptr<CommonControl>> map;
    return map;
}

std::shared_ptr<CommonControl> findControl(HWND window) {
    std::lock_guard lock(controlsMutex());
    auto found = controls().find(window);
    return found == controls().end() ? nullptr : found->second;
}

void detachControl(HWND window) {
    std::shared_ptr<CommonControl> released;
    {
        std::lock_guard lock(controlsMutex());
        auto found = controls().find(window);
        if (found == controls().end()) return;
        released = std::move(found->second);
        controls().erase(found);
    }
}

} // namespace

// ---- Registration ----

void RegisterCommonControlClasses() {
    static const bool registered = [] {
        RegisterDateTimePickerClass();
        RegisterMonthCalendarClass();
        RegisterPageScrollerClass();
        RegisterProgressBarClass();
        RegisterRichEditClasses();
        RegisterStatusBarClass();
        RegisterListViewClass();
        RegisterTabControlClass();
        RegisterToolBarClass();
        RegisterToolTipClass();
        RegisterTrackBarClass();
        RegisterTreeViewClass();
        RegisterUpDownClass();
        return true;
    }();
    (void)registered;
}

void InitCommonControls() {
    RegisterCommonControlClasses();
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
    RegisterCommonControlClasses();
    return TRUE;
}

void RegisterControlClass(const WCHAR* name, WindowProcFunction procedure, UINT classStyle, int background) {
    WNDCLASSEXW windowClass;
    windowClass.style = classStyle | CS_GLOBALCLASS;
    windowClass.lpfnWndProc = WindowProcFromFunction(procedure);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(background + 1));
    windowClass.lpszClassName = name;
    RegisterSystemClassW(&windowClass);
}

// ---- The window procedure ----

LRESULT DispatchToCommonControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<CommonControl> control = findControl(window);
    if (!control) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = control->Receive(message, wParam, lParam);
    if (message == WM_NCDESTROY) detachControl(window);
    return result;
}

void AttachCommonControl(HWND window, std::shared_ptr<CommonControl> control) {
    std::lock_guard lock(controlsMutex());
    controls()[window] = std::move(control);
}

bool HasCommonControl(HWND window) {
    return findControl(window) != nullptr;
}

// ---- CommonControl ----

LRESULT CommonControl::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        queryNotifyFormat();
        break;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        break;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_NOTIFYFORMAT:
        if (lParam == NF_REQUERY) {
            queryNotifyFormat();
            return unicodeNotify_ ? NFR_UNICODE : NFR_ANSI;
        }
        // A child of the control asks: the control reads UTF-16.
        return NFR_UNICODE;
    case CCM_SETUNICODEFORMAT: {
        const bool previous = unicodeNotify_;
        unicodeNotify_ = wParam != 0;
        return previous;
    }
    case CCM_GETUNICODEFORMAT:
        return unicodeNotify_;
    case CCM_SETVERSION: {
        const int previous = version_;
        version_ = static_cast<int>(wParam);
        return previous;
    }
    case CCM_GETVERSION:
        return version_;
    case CCM_SETNOTIFYWINDOW: {
        HWND previous = NotifyWindow();
        notifyWindow_ = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    default:
        break;
    }
    return Handle(message, wParam, lParam);
}

LRESULT CommonControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT DrawnControl::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        ControlPaint paint(Window(), wParam);
        Paint(paint.DC());
        return 0;
    }
    default:
        return CommonControl::Default(message, wParam, lParam);
    }
}

void CommonControl::queryNotifyFormat() {
    HWND parent = NotifyWindow();
    if (!parent) return;
    unicodeNotify_ =
        SendMessageW(parent, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(window_), NF_QUERY) == NFR_UNICODE;
}

HWND CommonControl::NotifyWindow() const {
    return notifyWindow_ ? notifyWindow_ : GetParent(window_);
}

UINT_PTR CommonControl::ControlId() const {
    return static_cast<UINT_PTR>(GetWindowLongPtrW(window_, GWLP_ID));
}

LRESULT CommonControl::Notify(NMHDR& header, UINT code) const {
    header.hwndFrom = window_;
    header.idFrom = ControlId();
    header.code = code;
    HWND target = NotifyWindow();
    if (!target) return 0;
    return SendMessageW(target, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CommonControl::NotifyCommand(WORD code, WORD id) const {
    HWND target = NotifyWindow();
    if (target) SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(window_));
}

HFONT CommonControl::Font() const {
    return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

DWORD CommonControl::Style() const {
    return static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
}

bool CommonControl::Enabled() const {
    return IsWindowEnabled(window_) != FALSE;
}

RECT CommonControl::ClientRect() const {
    RECT rect;
    GetClientRect(window_, &rect);
    return rect;
}

void CommonControl::Invalidate() const {
    ::InvalidateRect(window_, nullptr, TRUE);
}

void CommonControl::InvalidateRect(const RECT& rect) const {
    ::InvalidateRect(window_, &rect, TRUE);
}

int CommonControl::FontHeight() const {
    FontMeasure measure(Font());
    TEXTMETRICW metrics{};
    GetTextMetricsW(measure.DC(), &metrics);
    return metrics.tmHeight;
}

// ---- Texts ----

int CopyText(const WideString& text, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    const AnsiString ansi = WideToAnsi(text);
    const int count = std::min(static_cast<int>(ansi.size()), size - 1);
    std::copy_n(ansi.data(), count, buffer);
    buffer[count] = '\0';
    return count;
}

int CopyText(const WideString& text, WCHAR* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    const int count = std::min(static_cast<int>(text.size()), size - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = u'\0';
    return count;
}

// ---- Rectangles ----

RECT InflatedRect(const RECT& rect, int dx, int dy) {
    return {rect.Left - dx, rect.Top - dy, rect.Right + dx, rect.Bottom + dy};
}

bool PointInRect(const RECT& rect, POINT point) {
    return point.x >= rect.Left && point.x < rect.Right && point.y >= rect.Top && point.y < rect.Bottom;
}

POINT PointFromLParam(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

// ---- Drawing ----

void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void DrawTextIn(HDC dc, const WideString& text, RECT rect, UINT format, COLORREF colour) {
    const COLORREF previousColour = SetTextColor(dc, colour);
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SetBkMode(dc, previousMode);
    SetTextColor(dc, previousColour);
}

SIZE TextExtent(HDC dc, const WideString& text) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

FontMeasure::FontMeasure(HFONT font) : dc_(CreateCompatibleDC(nullptr)), previous_(SelectObject(dc_, font)) {}

FontMeasure::~FontMeasure() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
}

ControlPaint::ControlPaint(HWND window, WPARAM wParam)
    : window_(window), dc_(reinterpret_cast<HDC>(wParam)), began_(wParam == 0) {
    if (began_) dc_ = BeginPaint(window_, &paint_);
}

ControlPaint::~ControlPaint() {
    if (began_) EndPaint(window_, &paint_);
}

void DrawArrowGlyph(HDC dc, const RECT& rect, ArrowDirection direction, COLORREF colour) {
    // A triangle of rows 1, 3, 5, ... pixels wide, as the classic arrows are drawn.
    const int size = std::max(2, std::min(rect.Width(), rect.Height()) / 3);
    const int centreX = rect.Left + rect.Width() / 2;
    const int centreY = rect.Top + rect.Height() / 2;
    HBRUSH brush = CreateSolidBrush(colour);
    for (int row = 0; row < size; ++row) {
        const int half = row;
        RECT line;
        switch (direction) {
        case ArrowDirection::Up:
            line = {centreX - half, centreY - size / 2 + row, centreX + half + 1,
                    centreY - size / 2 + row + 1};
            break;
        case ArrowDirection::Down:
            line = {centreX - half, centreY + size / 2 - row, centreX + half + 1,
                    centreY + size / 2 - row + 1};
            break;
        case ArrowDirection::Left:
            line = {centreX - size / 2 + row, centreY - half, centreX - size / 2 + row + 1,
                    centreY + half + 1};
            break;
        case ArrowDirection::Right:
            line = {centreX + size / 2 - row, centreY - half, centreX + size / 2 - row + 1,
                    centreY + half + 1};
            break;
        }
        FillRect(dc, &line, brush);
    }
    DeleteObject(brush);
}

// ---- Image lists ----

int ImageList_GetImageCount(HIMAGELIST list) {
    return list ? list->ImageCount() : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height) {
    if (!list || !width || !height) return FALSE;
    const SIZE size = list->ImageSize();
    *width = size.cx;
    *height = size.cy;
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    if (!list || index < 0 || index >= list->ImageCount()) return FALSE;
    list->DrawImage(dc, index, x, y, style);
    return TRUE;
}

// ---- Label editing ----

LabelEditor::LabelEditor(std::function<void(bool accepted)> finished)
    : finished_(std::move(finished)),
      hook_(CreateWindowProcObject([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
          return editMessage(window, message, wParam, lParam);
      })) {}

LabelEditor::~LabelEditor() {
    Close();
    FreeWindowProcObject(hook_);
}

HWND LabelEditor::Open(HWND owner, const RECT& rect, const WideString& text, HFONT font) {
    Close();
    RegisterStandardControlClasses();
    edit_ =
        CreateWindowExW(0, u"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                        rect.Left, rect.Top, rect.Width(), rect.Height(), owner, nullptr, nullptr, nullptr);
    if (!edit_) return nullptr;
    ending_ = false;
    previous_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook_)));
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    SetFocus(edit_);
    return edit_;
}

void LabelEditor::Close() {
    HWND edit = std::exchange(edit_, nullptr);
    if (edit && IsWindow(edit)) DestroyWindow(edit);
}

WideString LabelEditor::Text() const {
    if (!edit_) return {};
    const int length = GetWindowTextLengthW(edit_);
    WideString text(static_cast<std::size_t>(length) + 1, u'\0');
    GetWindowTextW(edit_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

LRESULT LabelEditor::editMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | CallWindowProcW(previous_, window, message, wParam, lParam);
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            end(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
        break;
    case WM_KILLFOCUS: {
        const LRESULT result = CallWindowProcW(previous_, window, message, wParam, lParam);
        end(true);
        return result;
    }
    default:
        break;
    }
    return CallWindowProcW(previous_, window, message, wParam, lParam);
}

void LabelEditor::end(bool accepted) {
    if (ending_ || !edit_) return;
    ending_ = true;
    finished_(accepted);
}
