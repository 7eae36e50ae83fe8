// A top-level window on the desktop for the gtk backend: a GtkWindow whose
// overlay shows a buffer of 32-bit pixels, drawn straight from the buffer's
// memory, with other widgets (web views) placed over rectangles of it and
// parts of the buffer shown again above those widgets. The user's input and
// the desktop's changes go to a listener. Plain types only (see
// DesktopSession.h); every call belongs on the desktop thread.
#pragma once

#include "platform/backend/gtk/DesktopSession.h"

#include <memory>
#include <string>
#include <vector>

struct _GtkWidget;
struct _GdkCursor;

enum class DesktopWindowKind {
    // The desktop draws frame and caption; the window shows what lies inside them.
    Framed,
    // A window the desktop manages but does not frame.
    Plain,
    // Placed by the program above everything and never managed: menus,
    // drop-down lists, tips.
    PopUp,
};

struct DesktopRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const DesktopRect&, const DesktopRect&) = default;
};

// A buffer of 0x00RRGGBB pixels, `rowStride` (positive) pixels from one row to the next.
struct DesktopPixels {
    std::uint32_t* firstRow = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t rowStride = 0;
};

// A key as the desktop reports it.
struct DesktopKey {
    // What the key means with the modifiers held.
    unsigned keysym = 0;
    // What it means on the layout's lowest level, without modifiers.
    unsigned baseKeysym = 0;
    // The X key code (the evdev code plus 8).
    unsigned hardwareCode = 0;
};

class DesktopWindowListener {
public:
    virtual ~DesktopWindowListener() = default;
    // `typed` is what the input method made of the key (UTF-8), or empty when
    // it let the key through untouched. A key the input method keeps for a
    // composition is not reported at all.
    virtual void KeyPressed(const DesktopKey& key, const std::string& typed) = 0;
    virtual void KeyReleased(const DesktopKey& key) = 0;
    // Text the input method finished outside a key press; `composed` when the
    // user saw it being composed (an input-method editor).
    virtual void TextCommitted(const std::string& text, bool composed) = 0;
    // Points are in the window's content coordinates.
    virtual void PointerMoved(DesktopPoint point) = 0;
    virtual void PointerLeft(DesktopPoint point) = 0;
    // Button 1 is the left, 2 the middle, 3 the right.
    virtual void ButtonChanged(int button, bool down, DesktopPoint point) = 0;
    // Notches away from the user are positive.
    virtual void WheelTurned(int notches, DesktopPoint point) = 0;
    // The content now lies at this rectangle of the screen.
    virtual void Placed(const DesktopRect& content) = 0;
    virtual void CloseRequested() = 0;
    virtual void FocusChanged(bool focused) = 0;
    virtual void StateChanged(bool minimised, bool maximised) = 0;
    // The window's pixels reached the screen.
    virtual void Drawn() = 0;
    // Whether every key goes to the window now, also while a widget laid over
    // it has the focus (a menu is being tracked).
    virtual bool TakesEveryKey() = 0;
};

// A mouse pointer image, shared by the windows that show it.
class DesktopCursor {
public:
    // A shape of the pointer theme by its CSS name ("text", "wait", ...).
    static std::shared_ptr<DesktopCursor> Named(const std::string& name);
    // Non-premultiplied 0xAARRGGBB pixels, row after row.
    static std::shared_ptr<DesktopCursor> FromImage(const std::vector<std::uint32_t>& pixels, int width,
                                                    int height, DesktopPoint hotSpot);
    explicit DesktopCursor(_GdkCursor* cursor) : cursor_(cursor) {}
    DesktopCursor(const DesktopCursor&) = delete;
    DesktopCursor& operator=(const DesktopCursor&) = delete;
    ~DesktopCursor();
    _GdkCursor* Handle() const { return cursor_; }

private:
    _GdkCursor* cursor_;
};

class DesktopWindow {
public:
    DesktopWindow(DesktopWindowKind kind, DesktopWindowListener& listener);
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;
    ~DesktopWindow();

    DesktopWindowKind Kind() const { return kind_; }
    void SetTitle(const std::string& title);
    void SetOwner(DesktopWindow* owner);
    void SetKeepAbove(bool above);
    // Only a framed window can be resized by the user.
    void SetResizable(bool resizable);
    // The least and greatest content size the user may resize the window to.
    void SetSizeLimits(DesktopSize minimum, DesktopSize maximum);
    // The content's rectangle on the screen.
    void Place(const DesktopRect& content);
    void Show(bool visible);
    void SetMinimised(bool minimised);
    void SetMaximised(bool maximised);
    // Brings the window to the front and, unless it is a pop-up, gives it the focus.
    void Raise();
    bool HasFocus() const;
    // Keys go to the content again, not to a widget laid over it.
    void FocusContent();
    // The parts of the content the window consists of; none: all of it.
    void SetShape(const std::vector<DesktopRect>* parts);

    // The content shows `pixels` from `origin` on; the buffer must stay until
    // replaced or the window goes.
    void ShowPixels(const DesktopPixels& pixels, DesktopPoint origin);
    // The buffer changed inside this rectangle of the content.
    void Invalidate(const DesktopRect& content);
    // Draws what was invalidated now, without waiting for the main loop: a
    // program busy with work between two messages still shows its progress.
    // While a widget laid over the window is shown, the main loop draws the
    // window, so that the widget stays above the buffer.
    void DrawNow();

    void SetCursor(std::shared_ptr<DesktopCursor> cursor);
    // Pointer events anywhere on the screen come to this window until released.
    bool GrabPointer();
    static void ReleasePointer();

    // Widgets shown over a rectangle of the content.
    void AddOverlay(_GtkWidget* widget, const DesktopRect& content);
    void PlaceOverlay(_GtkWidget* widget, const DesktopRect& content);
    void RemoveOverlay(_GtkWidget* widget);
    // The window's own pixels show above `widget` in these rectangles of the
    // content, where windows of ours lie above it; the pointer there is over
    // the content, as anywhere else on it.
    void CoverOverlay(_GtkWidget* widget, const std::vector<DesktopRect>& places);
    _GtkWidget* Widget() const;

    struct Parts;

private:
    DesktopWindowKind kind_;
    std::unique_ptr<Parts> parts_;
};
