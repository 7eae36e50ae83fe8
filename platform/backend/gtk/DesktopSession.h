// The desktop as the gtk backend reaches it through GTK: opening the display,
// running GTK's main loop for a while, the clipboard, the screen's pixels, the
// pointer and the keys held down, and the desktop's handlers for web
// addresses and documents.
// Only plain types cross this header, so GTK's headers and the window
// system's never meet in one translation unit (both name TRUE and FALSE).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Opens the display the environment names; false when there is none. The
// calling thread becomes the desktop thread, the only one that may use GTK.
bool StartDesktop();
bool OnDesktopThread();

// Runs GTK's main loop on the desktop thread until `finished` says so, or
// `timeoutMilliseconds` pass (negative: no limit). Events already waiting are
// handled first, even with a time-out of 0.
void RunDesktopUntil(const std::function<bool()>& finished, int timeoutMilliseconds);
// Makes a RunDesktopUntil in progress look at `finished` again; any thread.
void WakeDesktop();
// Runs `work` on the desktop thread from its main loop; any thread.
void RunOnDesktopThread(std::function<void()> work);

// The clipboard's text in UTF-8; setting no text takes the clipboard over
// with nothing on it, so the desktop's last text is gone too.
void SetDesktopClipboardText(const std::optional<std::string>& text);
std::optional<std::string> DesktopClipboardText();
// The primary selection's text in UTF-8 (pasted elsewhere with the middle button).
void SetDesktopSelectionText(const std::string& text);

struct DesktopSize {
    int width = 0;
    int height = 0;
};
DesktopSize DesktopScreenSize();
// Copies the screen's pixels of the rectangle at (x, y) into `firstRow` as
// 0x00RRGGBB, `rowStride` pixels from one row to the next. Pixels off the
// screen are left as they are.
void ReadDesktopScreen(int x, int y, int width, int height, std::uint32_t* firstRow,
                       std::ptrdiff_t rowStride);
struct DesktopPoint {
    int x = 0;
    int y = 0;
};
std::optional<DesktopPoint> DesktopPointerPosition();
void MoveDesktopPointer(DesktopPoint screen);
// A key held down on the desktop: its meaning without modifiers and its X key code.
struct HeldKey {
    unsigned baseKeysym = 0;
    unsigned hardwareCode = 0;
};
// The keys held down now, whichever program has the keyboard; none where the
// display cannot tell (a Wayland session).
std::optional<std::vector<HeldKey>> DesktopKeysHeld();

// Hands a URI to the desktop's default handler; false when none took it.
bool OpenWithDesktop(const std::string& uri);
// An absolute file name as a file:// URI, with the characters a URI may not
// hold escaped.
std::string FileUriOf(const std::string& absolutePath);
