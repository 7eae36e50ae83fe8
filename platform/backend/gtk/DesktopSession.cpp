// GTK's display, main loop, clipboard, screen, pointer and keyboard state for
// the gtk backend.
#include "platform/backend/gtk/DesktopSession.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <memory>
#include <thread>

namespace {

std::thread::id desktopThread;

// Windows are placed in screen coordinates and the screen is read back, which
// only X11 allows; Wayland stays the choice where there is no X server.
constexpr const char* preferredBackends = "x11,*";
// The X server's keyboard state: one bit for each of the 256 key codes.
constexpr unsigned KeymapBytes = 32;

gboolean markTimedOut(gpointer timedOut) {
    *static_cast<bool*>(timedOut) = true;
    return G_SOURCE_REMOVE;
}

gboolean runWork(gpointer work) {
    (*static_cast<std::function<void()>*>(work))();
    return G_SOURCE_REMOVE;
}

void deleteWork(gpointer work) {
    delete static_cast<std::function<void()>*>(work);
}

GtkClipboard* clipboard() {
    return gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
}

void provideNothing(GtkClipboard*, GtkSelectionData*, guint, gpointer) {}
void forgetNothing(GtkClipboard*, gpointer) {}

GdkDevice* pointerDevice() {
    GdkDisplay* display = gdk_display_get_default();
    GdkSeat* seat = display ? gdk_display_get_default_seat(display) : nullptr;
    return seat ? gdk_seat_get_pointer(seat) : nullptr;
}

// Cairo leaves the unused top byte of a pixel undefined; ours is always 0.
void clearTopBytes(std::uint32_t* firstRow, std::ptrdiff_t rowStride, int width, int height) {
    constexpr std::uint32_t colourBits = 0x00FFFFFF;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = firstRow + y * rowStride;
        for (int x = 0; x < width; ++x)
            row[x] &= colourBits;
    }
}

// How an X pixel holds its red, green and blue, whatever the screen's depth.
class ChannelShifts {
public:
    ChannelShifts(unsigned long red, unsigned long green, unsigned long blue)
        : red_(red), green_(green), blue_(blue) {}

    // The pixel as 0x00RRGGBB.
    std::uint32_t Colour(unsigned long pixel) const {
        return red_.Byte(pixel) << 16 | green_.Byte(pixel) << 8 | blue_.Byte(pixel);
    }

private:
    struct Channel {
        explicit Channel(unsigned long bits) : mask(bits) {
            while (bits && !(bits & 1)) {
                bits >>= 1;
                ++shift;
            }
            maximum = bits;
        }
        // The channel scaled to 0..255.
        std::uint32_t Byte(unsigned long pixel) const {
            if (!maximum) return 0;
            return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / maximum);
        }
        unsigned long mask;
        int shift = 0;
        unsigned long maximum = 0;
    };
    Channel red_, green_, blue_;
};

// The X server is asked for the pixels each time: a cairo surface of the
// root window keeps the copy it read first and hands that out again, a stale
// screen, and under a window manager not even that.
void readX11Screen(GdkDisplay* display, const GdkRectangle& area, std::uint32_t* start,
                   std::ptrdiff_t rowStride) {
    Display* server = gdk_x11_display_get_xdisplay(display);
    gdk_x11_display_error_trap_push(display);
    XImage* image = XGetImage(server, gdk_x11_window_get_xid(gdk_get_default_root_window()), area.x, area.y,
                              static_cast<unsigned>(area.width), static_cast<unsigned>(area.height), AllPlanes,
                              ZPixmap);
    gdk_x11_display_error_trap_pop_ignored(display);
    if (!image) return;
    const ChannelShifts shifts{image->red_mask, image->green_mask, image->blue_mask};
    for (int row = 0; row < area.height; ++row) {
        std::uint32_t* target = start + row * rowStride;
        for (int column = 0; column < area.width; ++column)
            target[column] = shifts.Colour(XGetPixel(image, column, row));
    }
    XDestroyImage(image);
}

// Where the display is not an X server, GDK's own reading serves.
void readScreenThroughCairo(const GdkRectangle& area, std::uint32_t* start, std::ptrdiff_t rowStride) {
    cairo_surface_t* target =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(start), CAIRO_FORMAT_RGB24,
                                            area.width, area.height,
                                            static_cast<int>(rowStride * sizeof(std::uint32_t)));
    cairo_t* painter = cairo_create(target);
    gdk_cairo_set_source_window(painter, gdk_get_default_root_window(), -area.x, -area.y);
    cairo_set_operator(painter, CAIRO_OPERATOR_SOURCE);
    cairo_paint(painter);
    cairo_destroy(painter);
    cairo_surface_flush(target);
    cairo_surface_destroy(target);
    clearTopBytes(start, rowStride, area.width, area.height);
}

} // namespace

bool StartDesktop() {
    gdk_set_allowed_backends(preferredBackends);
    // Our windows are drawn in software: without this GDK probes OpenGL as it
    // opens the display, loading the GL drivers (a compiler among them) for
    // nothing, a third of the program's start. A user's own setting stays.
    g_setenv("GDK_GL", "disable", FALSE);
    if (!gtk_init_check(nullptr, nullptr)) return false;
    desktopThread = std::this_thread::get_id();
    return true;
}

bool OnDesktopThread() {
    return std::this_thread::get_id() == desktopThread;
}

void RunDesktopUntil(const std::function<bool()>& finished, int timeoutMilliseconds) {
    GMainContext* context = g_main_context_default();
    while (g_main_context_iteration(context, FALSE))
        if (finished()) return;
    if (finished() || timeoutMilliseconds == 0) return;
    bool timedOut = false;
    guint timer = timeoutMilliseconds > 0
                      ? g_timeout_add(static_cast<guint>(timeoutMilliseconds), markTimedOut, &timedOut)
                      : 0;
    while (!finished() && !timedOut)
        g_main_context_iteration(context, TRUE);
    if (timer && !timedOut) g_source_remove(timer);
}

void WakeDesktop() {
    g_main_context_wakeup(g_main_context_default());
}

void RunOnDesktopThread(std::function<void()> work) {
    auto* owned = new std::function<void()>(std::move(work));
    g_main_context_invoke_full(g_main_context_default(), G_PRIORITY_DEFAULT, runWork, owned, deleteWork);
}

void SetDesktopClipboardText(const std::optional<std::string>& text) {
    if (text) {
        gtk_clipboard_set_text(clipboard(), text->c_str(), static_cast<gint>(text->size()));
        return;
    }
    gtk_clipboard_set_with_data(clipboard(), nullptr, 0, provideNothing, forgetNothing, nullptr);
}

void SetDesktopSelectionText(const std::string& text) {
    gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_PRIMARY), text.c_str(),
                           static_cast<gint>(text.size()));
}

std::optional<std::string> DesktopClipboardText() {
    gchar* text = gtk_clipboard_wait_for_text(clipboard());
    if (!text) return std::nullopt;
    std::string result(text);
    g_free(text);
    return result;
}

DesktopSize DesktopScreenSize() {
    GdkWindow* root = gdk_get_default_root_window();
    return {gdk_window_get_width(root), gdk_window_get_height(root)};
}

void ReadDesktopScreen(int x, int y, int width, int height, std::uint32_t* firstRow,
                       std::ptrdiff_t rowStride) {
    DesktopSize screen = DesktopScreenSize();
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = std::min(x + width, screen.width), bottom = std::min(y + height, screen.height);
    if (left >= right || top >= bottom || rowStride <= 0) return;
    std::uint32_t* start = firstRow + (top - y) * rowStride + (left - x);
    GdkDisplay* display = gdk_display_get_default();
    if (GDK_IS_X11_DISPLAY(display))
        readX11Screen(display, {left, top, right - left, bottom - top}, start, rowStride);
    else
        readScreenThroughCairo({left, top, right - left, bottom - top}, start, rowStride);
}

std::optional<DesktopPoint> DesktopPointerPosition() {
    GdkDevice* pointer = pointerDevice();
    if (!pointer) return std::nullopt;
    DesktopPoint point;
    gdk_device_get_position(pointer, nullptr, &point.x, &point.y);
    return point;
}

void MoveDesktopPointer(DesktopPoint screen) {
    if (GdkDevice* pointer = pointerDevice())
        gdk_device_warp(pointer, gdk_screen_get_default(), screen.x, screen.y);
}

std::optional<std::vector<HeldKey>> DesktopKeysHeld() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return std::nullopt;
    char keyBits[KeymapBytes];
    XQueryKeymap(gdk_x11_display_get_xdisplay(display), keyBits);
    GdkKeymap* keymap = gdk_keymap_get_for_display(display);
    std::vector<HeldKey> held;
    for (unsigned code = 0; code < KeymapBytes * 8; ++code) {
        if (!(keyBits[code / 8] & (1 << (code % 8)))) continue;
        guint* keysyms = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keycode(keymap, code, nullptr, &keysyms, &count) && count > 0)
            held.push_back({keysyms[0], code});
        g_free(keysyms);
    }
    return held;
}

bool OpenWithDesktop(const std::string& uri) {
    GError* error = nullptr;
    bool opened = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
    if (error) g_error_free(error);
    return opened;
}

std::string FileUriOf(const std::string& absolutePath) {
    gchar* uri = g_filename_to_uri(absolutePath.c_str(), nullptr, nullptr);
    if (!uri) return "file://" + absolutePath;
    std::string result(uri);
    g_free(uri);
    return result;
}
