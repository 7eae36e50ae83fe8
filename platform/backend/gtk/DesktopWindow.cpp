// GtkWindow, overlay and drawing areas behind one of our top-level windows,
// with the input method that turns its keys into text.
#include "platform/backend/gtk/DesktopWindow.h"

#include <gtk/gtk.h>

#include <cmath>
#include <map>
#include <utility>

struct DesktopWindow::Parts {
    Parts(DesktopWindowKind kind, DesktopWindowListener& listener) : kind(kind), listener(listener) {}

    DesktopWindowKind kind;
    DesktopWindowListener& listener;
    GtkWidget* window = nullptr;
    GtkWidget* overlay = nullptr;
    GtkWidget* canvas = nullptr;
    GtkIMContext* input = nullptr;
    cairo_surface_t* image = nullptr;
    DesktopPixels pixels;
    DesktopPoint origin;
    bool resizable = true;
    bool keepAbove = false;
    bool minimised = false;
    bool maximised = false;
    // Text the input method committed while it looked at the key being pressed.
    bool inKeyPress = false;
    std::string committed;
    bool composing = false;
    double wheelTurn = 0;
    // Keys reported pressed, by hardware code, so that each gets its release.
    std::map<unsigned, DesktopKey> pressedKeys;
    std::map<GtkWidget*, DesktopRect> overlays;
    // Drawing areas showing the window's own pixels above an overlay, by the
    // overlay they lie over; and where each lies.
    std::map<GtkWidget*, std::vector<GtkWidget*>> coversOf;
    std::map<GtkWidget*, DesktopRect> covers;
    std::shared_ptr<DesktopCursor> cursor;
};

namespace {

using Parts = DesktopWindow::Parts;

constexpr int leftButton = 1;
constexpr int rightButton = 3;
constexpr GdkEventMask pointerEvents =
    static_cast<GdkEventMask>(GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                              GDK_SCROLL_MASK | GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
constexpr GdkEventMask canvasEvents = static_cast<GdkEventMask>(pointerEvents | GDK_KEY_PRESS_MASK |
                                                                GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK);

// Pointer themes that lack a CSS name still have the X cursor font's shapes.
const std::map<std::string, GdkCursorType>& fallbackCursors() {
    static const std::map<std::string, GdkCursorType> shapes{
        {"default", GDK_LEFT_PTR},
        {"text", GDK_XTERM},
        {"wait", GDK_WATCH},
        {"progress", GDK_WATCH},
        {"crosshair", GDK_CROSSHAIR},
        {"sb_up_arrow", GDK_SB_UP_ARROW},
        {"nwse-resize", GDK_BOTTOM_RIGHT_CORNER},
        {"nesw-resize", GDK_BOTTOM_LEFT_CORNER},
        {"ew-resize", GDK_SB_H_DOUBLE_ARROW},
        {"ns-resize", GDK_SB_V_DOUBLE_ARROW},
        {"move", GDK_FLEUR},
        {"not-allowed", GDK_X_CURSOR},
        {"pointer", GDK_HAND2},
        {"help", GDK_QUESTION_ARROW},
        {"none", GDK_BLANK_CURSOR},
    };
    return shapes;
}

// A point of `widget`, the canvas or a cover, in the content's coordinates.
DesktopPoint pointAt(const Parts& parts, GtkWidget* widget, double x, double y) {
    DesktopPoint point{static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y))};
    auto cover = parts.covers.find(widget);
    if (cover == parts.covers.end()) return point;
    return {point.x + cover->second.x, point.y + cover->second.y};
}

GdkSeat* defaultSeat() {
    return gdk_display_get_default_seat(gdk_display_get_default());
}

DesktopKey keyOf(const GdkEventKey* event) {
    DesktopKey key{event->keyval, event->keyval, event->hardware_keycode};
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(event->window));
    guint base = 0;
    if (gdk_keymap_translate_keyboard_state(keymap, event->hardware_keycode, static_cast<GdkModifierType>(0),
                                            event->group, &base, nullptr, nullptr, nullptr))
        key.baseKeysym = base;
    return key;
}

void pressKey(Parts& parts, GdkEventKey* event) {
    DesktopKey key = keyOf(event);
    parts.inKeyPress = true;
    parts.committed.clear();
    bool kept = gtk_im_context_filter_keypress(parts.input, event);
    parts.inKeyPress = false;
    if (kept && parts.committed.empty()) return;
    parts.pressedKeys[key.hardwareCode] = key;
    parts.listener.KeyPressed(key, parts.committed);
}

void releaseKey(Parts& parts, GdkEventKey* event) {
    gtk_im_context_filter_keypress(parts.input, event);
    auto pressed = parts.pressedKeys.find(event->hardware_keycode);
    if (pressed == parts.pressedKeys.end()) return;
    DesktopKey key = pressed->second;
    parts.pressedKeys.erase(pressed);
    parts.listener.KeyReleased(key);
}

// Keys held when the focus leaves would otherwise stay down for good.
void releaseAllKeys(Parts& parts) {
    std::map<unsigned, DesktopKey> pressed;
    pressed.swap(parts.pressedKeys);
    for (const auto& [code, key] : pressed)
        parts.listener.KeyReleased(key);
}

// Alt, Alt with a key and F10 work the window's menu bar, as they do from
// any of the window's controls.
bool isMenuKey(const GdkEventKey* event) {
    switch (event->keyval) {
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
    case GDK_KEY_Meta_L:
    case GDK_KEY_Meta_R:
    case GDK_KEY_F10:
        return true;
    default:
        return (event->state & GDK_MOD1_MASK) != 0;
    }
}

// A web view with the focus takes its keys through GTK, all but those that
// belong to the window: menu keys, every key while a menu is tracked, and the
// release of a key whose press the window had.
bool keyForWindow(Parts& parts, const GdkEventKey* event) {
    if (event->type == GDK_KEY_RELEASE && parts.pressedKeys.count(event->hardware_keycode)) return true;
    return isMenuKey(event) || parts.listener.TakesEveryKey();
}

gboolean keyChanged(GtkWidget* window, GdkEventKey* event, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
    if (focus && focus != parts.canvas && !keyForWindow(parts, event)) return FALSE;
    if (event->type == GDK_KEY_PRESS)
        pressKey(parts, event);
    else
        releaseKey(parts, event);
    return TRUE;
}

void textCommitted(GtkIMContext*, const gchar* text, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    if (parts.inKeyPress)
        parts.committed += text;
    else
        parts.listener.TextCommitted(text, parts.composing);
}

void compositionStarted(GtkIMContext*, gpointer data) {
    static_cast<Parts*>(data)->composing = true;
}

void compositionEnded(GtkIMContext*, gpointer data) {
    static_cast<Parts*>(data)->composing = false;
}

gboolean focusChanged(GtkWidget*, GdkEventFocus* event, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    if (event->in) {
        gtk_im_context_focus_in(parts.input);
    } else {
        gtk_im_context_focus_out(parts.input);
        releaseAllKeys(parts);
    }
    parts.listener.FocusChanged(event->in);
    return FALSE;
}

gboolean buttonChanged(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    // Double clicks are recognised by the window system from the presses.
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) return TRUE;
    int button = static_cast<int>(event->button);
    if (button < leftButton || button > rightButton) return FALSE;
    bool down = event->type == GDK_BUTTON_PRESS;
    parts.listener.ButtonChanged(button, down, pointAt(parts, widget, event->x, event->y));
    return TRUE;
}

gboolean pointerMoved(GtkWidget* widget, GdkEventMotion* event, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    parts.listener.PointerMoved(pointAt(parts, widget, event->x, event->y));
    return TRUE;
}

gboolean pointerCrossed(GtkWidget* widget, GdkEventCrossing* event, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    DesktopPoint point = pointAt(parts, widget, event->x, event->y);
    if (event->type == GDK_ENTER_NOTIFY)
        parts.listener.PointerMoved(point);
    else if (event->mode == GDK_CROSSING_NORMAL)
        parts.listener.PointerLeft(point);
    return FALSE;
}

gboolean wheelTurned(GtkWidget* widget, GdkEventScroll* event, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    DesktopPoint point = pointAt(parts, widget, event->x, event->y);
    switch (event->direction) {
    case GDK_SCROLL_UP:
        parts.listener.WheelTurned(1, point);
        break;
    case GDK_SCROLL_DOWN:
        parts.listener.WheelTurned(-1, point);
        break;
    case GDK_SCROLL_SMOOTH: {
        // Smooth deltas grow downwards, a notch at a time.
        parts.wheelTurn -= event->delta_y;
        int notches = static_cast<int>(std::trunc(parts.wheelTurn));
        parts.wheelTurn -= notches;
        if (notches) parts.listener.WheelTurned(notches, point);
        break;
    }
    default:
        break;
    }
    return TRUE;
}

// Set while GTK draws a window, when drawing another at once must wait.
bool drawingNow = false;

// Paints the buffer from the content's point `from` on.
void paintPixels(const Parts& parts, cairo_t* painter, DesktopPoint from) {
    if (!parts.image) return;
    cairo_set_source_surface(painter, parts.image, -parts.origin.x - from.x, -parts.origin.y - from.y);
    cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
    cairo_paint(painter);
}

gboolean drawPixels(GtkWidget*, cairo_t* painter, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    const bool wasDrawing = std::exchange(drawingNow, true);
    paintPixels(parts, painter, {0, 0});
    parts.listener.Drawn();
    drawingNow = wasDrawing;
    return FALSE;
}

gboolean windowPlaced(GtkWidget* window, GdkEventConfigure* event, gpointer data) {
    DesktopRect content{0, 0, event->width, event->height};
    gdk_window_get_origin(gtk_widget_get_window(window), &content.x, &content.y);
    static_cast<Parts*>(data)->listener.Placed(content);
    return FALSE;
}

gboolean windowStateChanged(GtkWidget*, GdkEventWindowState* event, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    if (!(event->changed_mask & (GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_MAXIMIZED))) return FALSE;
    parts.minimised = event->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
    parts.maximised = event->new_window_state & GDK_WINDOW_STATE_MAXIMIZED;
    parts.listener.StateChanged(parts.minimised, parts.maximised);
    return FALSE;
}

gboolean closeRequested(GtkWidget*, GdkEvent*, gpointer data) {
    static_cast<Parts*>(data)->listener.CloseRequested();
    return TRUE;
}

void windowRealized(GtkWidget* window, gpointer data) {
    gtk_im_context_set_client_window(static_cast<Parts*>(data)->input, gtk_widget_get_window(window));
}

gboolean drawCover(GtkWidget* cover, cairo_t* painter, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    auto found = parts.covers.find(cover);
    if (found != parts.covers.end()) paintPixels(parts, painter, {found->second.x, found->second.y});
    return FALSE;
}

void applyCursor(GtkWidget* widget, const Parts& parts) {
    GdkWindow* surface = gtk_widget_get_window(widget);
    if (surface) gdk_window_set_cursor(surface, parts.cursor ? parts.cursor->Handle() : nullptr);
}

void applyCursor(const Parts& parts) {
    applyCursor(parts.canvas, parts);
    for (const auto& [cover, place] : parts.covers)
        applyCursor(cover, parts);
}

void contentRealized(GtkWidget* widget, gpointer data) {
    applyCursor(widget, *static_cast<Parts*>(data));
}

bool anyOverlayShown(const Parts& parts) {
    for (const auto* placed : {&parts.overlays, &parts.covers})
        for (const auto& [widget, place] : *placed)
            if (gtk_widget_get_mapped(widget)) return true;
    return false;
}

gboolean placeOverlay(GtkOverlay*, GtkWidget* widget, GdkRectangle* allocation, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    for (const auto* placed : {&parts.overlays, &parts.covers}) {
        auto found = placed->find(widget);
        if (found == placed->end()) continue;
        const DesktopRect& place = found->second;
        *allocation = {place.x, place.y, std::max(place.width, 1), std::max(place.height, 1)};
        return TRUE;
    }
    return FALSE;
}

// The pointer over the canvas or a cover is the pointer over the content.
void connectPointer(Parts& parts, GtkWidget* widget) {
    gtk_widget_add_events(widget, pointerEvents);
    g_signal_connect(widget, "realize", G_CALLBACK(contentRealized), &parts);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(buttonChanged), &parts);
    g_signal_connect(widget, "button-release-event", G_CALLBACK(buttonChanged), &parts);
    g_signal_connect(widget, "motion-notify-event", G_CALLBACK(pointerMoved), &parts);
    g_signal_connect(widget, "enter-notify-event", G_CALLBACK(pointerCrossed), &parts);
    g_signal_connect(widget, "leave-notify-event", G_CALLBACK(pointerCrossed), &parts);
    g_signal_connect(widget, "scroll-event", G_CALLBACK(wheelTurned), &parts);
}

void connectInput(Parts& parts) {
    parts.input = gtk_im_multicontext_new();
    g_signal_connect(parts.input, "commit", G_CALLBACK(textCommitted), &parts);
    g_signal_connect(parts.input, "preedit-start", G_CALLBACK(compositionStarted), &parts);
    g_signal_connect(parts.input, "preedit-end", G_CALLBACK(compositionEnded), &parts);
    g_signal_connect(parts.window, "realize", G_CALLBACK(windowRealized), &parts);
    g_signal_connect(parts.window, "key-press-event", G_CALLBACK(keyChanged), &parts);
    g_signal_connect(parts.window, "key-release-event", G_CALLBACK(keyChanged), &parts);
    g_signal_connect(parts.window, "focus-in-event", G_CALLBACK(focusChanged), &parts);
    g_signal_connect(parts.window, "focus-out-event", G_CALLBACK(focusChanged), &parts);
}

void connectCanvas(Parts& parts) {
    gtk_widget_add_events(parts.canvas, canvasEvents);
    gtk_widget_set_can_focus(parts.canvas, TRUE);
    g_signal_connect(parts.canvas, "draw", G_CALLBACK(drawPixels), &parts);
    connectPointer(parts, parts.canvas);
}

void connectWindow(Parts& parts) {
    g_signal_connect(parts.window, "configure-event", G_CALLBACK(windowPlaced), &parts);
    g_signal_connect(parts.window, "window-state-event", G_CALLBACK(windowStateChanged), &parts);
    g_signal_connect(parts.window, "delete-event", G_CALLBACK(closeRequested), &parts);
    g_signal_connect(parts.overlay, "get-child-position", G_CALLBACK(placeOverlay), &parts);
}

GtkWidget* addCover(Parts& parts, const DesktopRect& place) {
    GtkWidget* cover = gtk_drawing_area_new();
    parts.covers[cover] = place;
    g_signal_connect(cover, "draw", G_CALLBACK(drawCover), &parts);
    connectPointer(parts, cover);
    gtk_overlay_add_overlay(GTK_OVERLAY(parts.overlay), cover);
    gtk_widget_show(cover);
    return cover;
}

void placeCover(Parts& parts, GtkWidget* cover, const DesktopRect& place) {
    DesktopRect& placed = parts.covers[cover];
    if (placed == place) return;
    placed = place;
    gtk_widget_queue_resize(cover);
    gtk_widget_queue_draw(cover);
}

void removeCover(Parts& parts, GtkWidget* cover) {
    parts.covers.erase(cover);
    gtk_container_remove(GTK_CONTAINER(parts.overlay), cover);
}

void invalidateCovers(Parts& parts, const DesktopRect& content) {
    for (const auto& [cover, place] : parts.covers) {
        const int left = std::max(content.x, place.x), top = std::max(content.y, place.y);
        const int right = std::min(content.x + content.width, place.x + place.width);
        const int bottom = std::min(content.y + content.height, place.y + place.height);
        if (left < right && top < bottom)
            gtk_widget_queue_draw_area(cover, left - place.x, top - place.y, right - left, bottom - top);
    }
}

} // namespace

// ---- Cursors ----

std::shared_ptr<DesktopCursor> DesktopCursor::Named(const std::string& name) {
    GdkDisplay* display = gdk_display_get_default();
    GdkCursor* cursor = gdk_cursor_new_from_name(display, name.c_str());
    auto fallback = fallbackCursors().find(name);
    if (!cursor && fallback != fallbackCursors().end())
        cursor = gdk_cursor_new_for_display(display, fallback->second);
    return cursor ? std::make_shared<DesktopCursor>(cursor) : nullptr;
}

std::shared_ptr<DesktopCursor> DesktopCursor::FromImage(const std::vector<std::uint32_t>& pixels, int width,
                                                        int height, DesktopPoint hotSpot) {
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * height) return nullptr;
    GdkPixbuf* image = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, width, height);
    guchar* bytes = gdk_pixbuf_get_pixels(image);
    int stride = gdk_pixbuf_get_rowstride(image);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = pixels[static_cast<std::size_t>(y) * width + x];
            guchar* target = bytes + y * stride + x * 4;
            target[0] = static_cast<guchar>(pixel >> 16);
            target[1] = static_cast<guchar>(pixel >> 8);
            target[2] = static_cast<guchar>(pixel);
            target[3] = static_cast<guchar>(pixel >> 24);
        }
    GdkCursor* cursor = gdk_cursor_new_from_pixbuf(gdk_display_get_default(), image, hotSpot.x, hotSpot.y);
    g_object_unref(image);
    return cursor ? std::make_shared<DesktopCursor>(cursor) : nullptr;
}

DesktopCursor::~DesktopCursor() {
    g_object_unref(cursor_);
}

// ---- Windows ----

DesktopWindow::DesktopWindow(DesktopWindowKind kind, DesktopWindowListener& listener)
    : kind_(kind), parts_(std::make_unique<Parts>(kind, listener)) {
    Parts& parts = *parts_;
    parts.window = gtk_window_new(kind == DesktopWindowKind::PopUp ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(parts.window);
    if (kind == DesktopWindowKind::Plain) gtk_window_set_decorated(window, FALSE);
    // The position given is the content's, whatever frame the desktop adds.
    if (kind == DesktopWindowKind::Framed) gtk_window_set_gravity(window, GDK_GRAVITY_STATIC);
    parts.overlay = gtk_overlay_new();
    parts.canvas = gtk_drawing_area_new();
    gtk_container_add(GTK_CONTAINER(parts.overlay), parts.canvas);
    gtk_container_add(GTK_CONTAINER(parts.window), parts.overlay);
    gtk_widget_show(parts.canvas);
    gtk_widget_show(parts.overlay);
    connectInput(parts);
    connectCanvas(parts);
    connectWindow(parts);
    gtk_widget_grab_focus(parts.canvas);
}

DesktopWindow::~DesktopWindow() {
    Parts& parts = *parts_;
    for (const auto& [widget, place] : std::map<GtkWidget*, DesktopRect>(parts.overlays))
        RemoveOverlay(widget);
    gtk_im_context_set_client_window(parts.input, nullptr);
    g_object_unref(parts.input);
    gtk_widget_destroy(parts.window);
    if (parts.image) cairo_surface_destroy(parts.image);
}

void DesktopWindow::SetTitle(const std::string& title) {
    gtk_window_set_title(GTK_WINDOW(parts_->window), title.c_str());
}

void DesktopWindow::SetOwner(DesktopWindow* owner) {
    gtk_window_set_transient_for(GTK_WINDOW(parts_->window),
                                 owner ? GTK_WINDOW(owner->parts_->window) : nullptr);
}

void DesktopWindow::SetKeepAbove(bool above) {
    if (above == parts_->keepAbove) return;
    parts_->keepAbove = above;
    gtk_window_set_keep_above(GTK_WINDOW(parts_->window), above);
}

void DesktopWindow::SetResizable(bool resizable) {
    // Without a frame the user cannot resize, but the program still must.
    parts_->resizable = resizable || kind_ != DesktopWindowKind::Framed;
    gtk_window_set_resizable(GTK_WINDOW(parts_->window), parts_->resizable);
}

void DesktopWindow::SetSizeLimits(DesktopSize minimum, DesktopSize maximum) {
    GdkGeometry limits{};
    limits.min_width = std::max(minimum.width, 1);
    limits.min_height = std::max(minimum.height, 1);
    limits.max_width = std::max(maximum.width, limits.min_width);
    limits.max_height = std::max(maximum.height, limits.min_height);
    gtk_window_set_geometry_hints(GTK_WINDOW(parts_->window), nullptr, &limits,
                                  static_cast<GdkWindowHints>(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE));
}

void DesktopWindow::Place(const DesktopRect& content) {
    Parts& parts = *parts_;
    GtkWindow* window = GTK_WINDOW(parts.window);
    int width = std::max(content.width, 1), height = std::max(content.height, 1);
    gtk_window_move(window, content.x, content.y);
    if (parts.resizable) {
        gtk_widget_set_size_request(parts.canvas, 1, 1);
        gtk_window_resize(window, width, height);
    } else {
        gtk_widget_set_size_request(parts.canvas, width, height);
    }
}

void DesktopWindow::Show(bool visible) {
    if (visible)
        gtk_widget_show(parts_->window);
    else
        gtk_widget_hide(parts_->window);
}

void DesktopWindow::SetMinimised(bool minimised) {
    if (minimised == parts_->minimised) return;
    if (minimised)
        gtk_window_iconify(GTK_WINDOW(parts_->window));
    else
        gtk_window_deiconify(GTK_WINDOW(parts_->window));
}

void DesktopWindow::SetMaximised(bool maximised) {
    if (maximised == parts_->maximised) return;
    if (maximised)
        gtk_window_maximize(GTK_WINDOW(parts_->window));
    else
        gtk_window_unmaximize(GTK_WINDOW(parts_->window));
}

void DesktopWindow::Raise() {
    GdkWindow* surface = gtk_widget_get_window(parts_->window);
    if (kind_ == DesktopWindowKind::PopUp) {
        if (surface) gdk_window_raise(surface);
        return;
    }
    gtk_window_present(GTK_WINDOW(parts_->window));
}

bool DesktopWindow::HasFocus() const {
    return gtk_window_is_active(GTK_WINDOW(parts_->window));
}

void DesktopWindow::SetShape(const std::vector<DesktopRect>* parts) {
    cairo_region_t* region = nullptr;
    if (parts) {
        region = cairo_region_create();
        for (const DesktopRect& part : *parts) {
            cairo_rectangle_int_t rectangle{part.x, part.y, part.width, part.height};
            cairo_region_union_rectangle(region, &rectangle);
        }
    }
    gtk_widget_shape_combine_region(parts_->window, region);
    gtk_widget_input_shape_combine_region(parts_->window, region);
    if (region) cairo_region_destroy(region);
}

void DesktopWindow::ShowPixels(const DesktopPixels& pixels, DesktopPoint origin) {
    Parts& parts = *parts_;
    bool sameBuffer = parts.image && pixels.firstRow == parts.pixels.firstRow &&
                      pixels.width == parts.pixels.width && pixels.height == parts.pixels.height &&
                      pixels.rowStride == parts.pixels.rowStride;
    bool sameOrigin = origin.x == parts.origin.x && origin.y == parts.origin.y;
    if (sameBuffer && sameOrigin) return;
    parts.origin = origin;
    if (!sameBuffer) {
        if (parts.image) cairo_surface_destroy(parts.image);
        parts.pixels = pixels;
        parts.image = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(pixels.firstRow), CAIRO_FORMAT_RGB24, pixels.width,
            pixels.height, static_cast<int>(pixels.rowStride * sizeof(std::uint32_t)));
    }
    gtk_widget_queue_draw(parts.canvas);
    for (const auto& [cover, place] : parts.covers)
        gtk_widget_queue_draw(cover);
}

void DesktopWindow::Invalidate(const DesktopRect& content) {
    Parts& parts = *parts_;
    if (!parts.image) return;
    cairo_surface_mark_dirty_rectangle(parts.image, content.x + parts.origin.x, content.y + parts.origin.y,
                                       content.width, content.height);
    gtk_widget_queue_draw_area(parts.canvas, content.x, content.y, content.width, content.height);
    invalidateCovers(parts, content);
}

void DesktopWindow::DrawNow() {
    Parts& parts = *parts_;
    GdkWindow* surface = gtk_widget_get_window(parts.canvas);
    if (drawingNow || !parts.image || !surface || !gtk_widget_get_mapped(parts.canvas)) return;
    // Widgets laid over the buffer are drawn by GTK's own drawing alone: a
    // frame drawn beside it covers a web view, or leaves it undrawn, until
    // the page changes. Such a window waits for the main loop.
    if (anyOverlayShown(parts)) return;
    // GTK draws a window only when its main loop runs; this draws the
    // buffer straight onto the window, as the draw handler would.
    GtkAllocation canvas;
    gtk_widget_get_allocation(parts.canvas, &canvas);
    const cairo_rectangle_int_t area{canvas.x, canvas.y, canvas.width, canvas.height};
    cairo_region_t* region = cairo_region_create_rectangle(&area);
    GdkDrawingContext* context = gdk_window_begin_draw_frame(surface, region);
    cairo_t* painter = gdk_drawing_context_get_cairo_context(context);
    cairo_translate(painter, canvas.x, canvas.y);
    cairo_rectangle(painter, 0, 0, canvas.width, canvas.height);
    cairo_clip(painter);
    cairo_set_source_surface(painter, parts.image, -parts.origin.x, -parts.origin.y);
    cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
    cairo_paint(painter);
    gdk_window_end_draw_frame(surface, context);
    cairo_region_destroy(region);
    gdk_display_flush(gdk_window_get_display(surface));
}

void DesktopWindow::SetCursor(std::shared_ptr<DesktopCursor> cursor) {
    if (cursor == parts_->cursor) return;
    parts_->cursor = std::move(cursor);
    applyCursor(*parts_);
}

bool DesktopWindow::GrabPointer() {
    GdkWindow* surface = gtk_widget_get_window(parts_->canvas);
    if (!surface || !gtk_widget_get_mapped(parts_->canvas)) return false;
    return gdk_seat_grab(defaultSeat(), surface, GDK_SEAT_CAPABILITY_ALL_POINTING, TRUE, nullptr, nullptr,
                         nullptr, nullptr) == GDK_GRAB_SUCCESS;
}

void DesktopWindow::ReleasePointer() {
    gdk_seat_ungrab(defaultSeat());
}

void DesktopWindow::AddOverlay(GtkWidget* widget, const DesktopRect& content) {
    parts_->overlays[widget] = content;
    GtkOverlay* overlay = GTK_OVERLAY(parts_->overlay);
    gtk_overlay_add_overlay(overlay, widget);
    // The window's pixels stay above every widget laid over it.
    for (const auto& [cover, place] : parts_->covers)
        gtk_overlay_reorder_overlay(overlay, cover, -1);
}

void DesktopWindow::PlaceOverlay(GtkWidget* widget, const DesktopRect& content) {
    auto found = parts_->overlays.find(widget);
    if (found == parts_->overlays.end() || found->second == content) return;
    found->second = content;
    gtk_widget_queue_resize(widget);
}

void DesktopWindow::RemoveOverlay(GtkWidget* widget) {
    if (!parts_->overlays.count(widget)) return;
    CoverOverlay(widget, {});
    parts_->overlays.erase(widget);
    gtk_container_remove(GTK_CONTAINER(parts_->overlay), widget);
}

void DesktopWindow::CoverOverlay(GtkWidget* widget, const std::vector<DesktopRect>& places) {
    Parts& parts = *parts_;
    if (!parts.overlays.count(widget)) return;
    std::vector<GtkWidget*>& covers = parts.coversOf[widget];
    for (; covers.size() > places.size(); covers.pop_back())
        removeCover(parts, covers.back());
    for (std::size_t index = 0; index < places.size(); ++index) {
        if (index < covers.size())
            placeCover(parts, covers[index], places[index]);
        else
            covers.push_back(addCover(parts, places[index]));
    }
    if (covers.empty()) parts.coversOf.erase(widget);
}

void DesktopWindow::FocusContent() {
    if (gtk_window_get_focus(GTK_WINDOW(parts_->window)) != parts_->canvas)
        gtk_widget_grab_focus(parts_->canvas);
}

GtkWidget* DesktopWindow::Widget() const {
    return parts_->window;
}
