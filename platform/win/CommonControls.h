// The common controls: registering their window classes (InitCommonControlsEx
// in CommCtrl.h), and what every control class shares: its state kept with
// its window, the WM_NOTIFYFORMAT handshake and WM_NOTIFY to the parent, its
// font, and the ANSI and UTF-16 forms of the texts its messages carry.
#pragma once

#include "platform/core/CodePages.h"
#include "platform/win/CommCtrl.h"

#include <functional>
#include <memory>

// Registers every common control class once; later calls do nothing.
void RegisterCommonControlClasses();

// ---- For the control units ----

// One control window's state: made at WM_NCCREATE, released after WM_NCDESTROY.
class CommonControl {
public:
    explicit CommonControl(HWND window) : window_(window) {}
    virtual ~CommonControl() = default;
    CommonControl(const CommonControl&) = delete;
    CommonControl& operator=(const CommonControl&) = delete;

    HWND Window() const { return window_; }
    // The shared messages first (font, notification format), then Handle.
    LRESULT Receive(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The control's own messages; what it does not take goes to Default.
    virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The class's default processing: the system's default window procedure.
    virtual LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Fills in the header and sends WM_NOTIFY to the notify window (the
    // parent unless set otherwise); the answer of the parent.
    LRESULT Notify(NMHDR& header, UINT code) const;
    // Whether notifications carry UTF-16 text (their W codes).
    bool NotifiesUnicode() const { return unicodeNotify_; }
    HWND NotifyWindow() const;
    void SetNotifyWindow(HWND window) { notifyWindow_ = window; }
    // The control id as the parent knows it.
    UINT_PTR ControlId() const;
    // WM_COMMAND to the notify window with a code in the high word.
    void NotifyCommand(WORD code, WORD id) const;

    // The font set with WM_SETFONT, else the default GUI font.
    HFONT Font() const;
    DWORD Style() const;
    bool HasStyle(DWORD bits) const { return (Style() & bits) == bits; }
    bool Enabled() const;
    RECT ClientRect() const;
    void Invalidate() const;
    void InvalidateRect(const RECT& rect) const;
    // The height of a line of text in the control's font.
    int FontHeight() const;

private:
    void queryNotifyFormat();

    HWND window_;
    HWND notifyWindow_ = nullptr;
    HFONT font_ = nullptr;
    bool unicodeNotify_ = true;
    int version_ = 5;
};

// A control that draws the whole of its client area. Its default processing
// erases nothing and answers WM_PAINT and WM_PRINTCLIENT with Paint, on the
// device context the message gives, else on BeginPaint's.
class DrawnControl : public CommonControl {
public:
    using CommonControl::CommonControl;

protected:
    virtual void Paint(HDC dc) = 0;
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The window procedure of a control class: the state lives as long as its window.
LRESULT DispatchToCommonControl(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void AttachCommonControl(HWND window, std::shared_ptr<CommonControl> control);
bool HasCommonControl(HWND window);

template <typename Control>
LRESULT CommonControlProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE && !HasCommonControl(window))
        AttachCommonControl(window, std::make_shared<Control>(window));
    return DispatchToCommonControl(window, message, wParam, lParam);
}

// Registers a control class (found from every instance) with its UTF-16 procedure.
void RegisterControlClass(const WCHAR* name, WindowProcFunction procedure, UINT classStyle, int background);

// Copies at most size - 1 characters and a NUL; the number of characters copied.
int CopyText(const WideString& text, char* buffer, int size);
int CopyText(const WideString& text, WCHAR* buffer, int size);

// Rectangle arithmetic the controls share.
RECT InflatedRect(const RECT& rect, int dx, int dy);
bool PointInRect(const RECT& rect, POINT point);
POINT PointFromLParam(LPARAM lParam);

// Common drawing: a rectangle filled with a colour, and one line of text in a
// colour, clipped to `rect` with the DrawText format given.
void FillSolidRect(HDC dc, const RECT& rect, COLORREF colour);
void DrawTextIn(HDC dc, const WideString& text, RECT rect, UINT format, COLORREF colour);
SIZE TextExtent(HDC dc, const WideString& text);
// A screen DC with the control's font selected, for measuring.
class FontMeasure {
public:
    explicit FontMeasure(HFONT font);
    ~FontMeasure();
    FontMeasure(const FontMeasure&) = delete;
    FontMeasure& operator=(const FontMeasure&) = delete;
    HDC DC() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A WM_PAINT's device context: the one in wParam when the caller gives one
// (as the framework does, and WM_PRINTCLIENT), else BeginPaint's.
class ControlPaint {
public:
    ControlPaint(HWND window, WPARAM wParam);
    ~ControlPaint();
    ControlPaint(const ControlPaint&) = delete;
    ControlPaint& operator=(const ControlPaint&) = delete;
    HDC DC() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_;
    HDC dc_;
    bool began_;
};

// Draws a small filled triangle pointing in a direction, centred in `rect`.
enum class ArrowDirection { Up, Down, Left, Right };
void DrawArrowGlyph(HDC dc, const RECT& rect, ArrowDirection direction, COLORREF colour);

// An in-place editor for an item's label: an EDIT child over the label. It
// ends with Enter or a lost focus (accepted) or with Esc (cancelled); the
// owner then reads the text and closes it.
class LabelEditor {
public:
    explicit LabelEditor(std::function<void(bool accepted)> finished);
    ~LabelEditor();
    LabelEditor(const LabelEditor&) = delete;
    LabelEditor& operator=(const LabelEditor&) = delete;

    // The edit window over `rect` of `owner`, its text selected and focused.
    HWND Open(HWND owner, const RECT& rect, const WideString& text, HFONT font);
    void Close();
    HWND Window() const { return edit_; }
    WideString Text() const;

private:
    LRESULT editMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void end(bool accepted);

    std::function<void(bool)> finished_;
    // Kept for the owner's life, so that closing from inside the edit's own messages is safe.
    WNDPROC hook_ = nullptr;
    WNDPROC previous_ = nullptr;
    HWND edit_ = nullptr;
    bool ending_ = false;
};
