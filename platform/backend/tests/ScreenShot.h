// The whole screen of an X display, read from the server as any X client
// would: for the tests that check what a program shows on a real display.
#pragma once

#include <gdk/gdk.h>

#include <string>

// Null when the display cannot be opened; the caller unrefs the picture.
inline GdkPixbuf* ScreenShot(const std::string& display) {
    GdkDisplay* connection = gdk_display_open(display.c_str());
    if (!connection) return nullptr;
    GdkWindow* root = gdk_screen_get_root_window(gdk_display_get_default_screen(connection));
    GdkPixbuf* shot =
        gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root), gdk_window_get_height(root));
    gdk_display_close(connection);
    return shot;
}
