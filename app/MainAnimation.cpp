// The main window's opening and closing: its caption flies out of the
// window's centre when the window is shown, and back into it when it closes.
#include "app/Main.h"

#include "platform/win/WindowPlacement.h"

namespace {

// The empty rectangle at the centre point of Bounds.
TRect centreOf(const TRect& Bounds) {
    const Integer x = Bounds.Left + Bounds.Width() / 2;
    const Integer y = Bounds.Top + Bounds.Height() / 2;
    return TRect{x, y, x, y};
}

} // namespace

void TMainForm::FormShow(TObject*) {
    const TRect bounds = BoundsRect();
    const TRect centre = centreOf(bounds);
    DrawAnimatedRects(Handle(), IDANI_CAPTION, &centre, &bounds);
}

void TMainForm::animateClosing() {
    const TRect bounds = BoundsRect();
    const TRect centre = centreOf(bounds);
    DrawAnimatedRects(Handle(), IDANI_CAPTION, &bounds, &centre);
}
