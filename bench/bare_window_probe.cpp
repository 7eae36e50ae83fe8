// The floor under the program's start-up on the desktop: a bare 800 by 600
// GTK window, nothing of ours in it, that writes "painted" at its first draw
// and ends. GDK probes no OpenGL, as with the program's backend.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int width = 800;
constexpr int height = 600;

gboolean firstDraw(GtkWidget*, cairo_t*, gpointer) {
    std::printf("painted\n");
    std::fflush(stdout);
    std::_Exit(0);
}

} // namespace

int main() {
    g_setenv("GDK_GL", "disable", FALSE);
    if (!gtk_init_check(nullptr, nullptr)) return 1;
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), width, height);
    g_signal_connect(window, "draw", G_CALLBACK(firstDraw), nullptr);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
