// Rectangle, rounding and accelerator helpers that the parts of the colour picker share.
#pragma once

#include "platform/core/CodePages.h"
#include "platform/core/Types.h"
#include "platform/vcl/Menus.h"

#include <cmath>

// Scoped by the unit: the window layer and the Rx set have helpers of these names.
namespace ColorPickerButton {

// Left and top edges inside, right and bottom outside.
inline bool PointInRect(const TRect& R, const TPoint& P) {
    return P.x >= R.Left && P.x < R.Right && P.y >= R.Top && P.y < R.Bottom;
}

// Grown by DX on the left and right and DY on the top and bottom (shrunk when negative).
inline TRect InflatedRect(const TRect& R, Integer DX, Integer DY) {
    return {R.Left - DX, R.Top - DY, R.Right + DX, R.Bottom + DY};
}

inline TRect MovedRect(const TRect& R, Integer DX, Integer DY) {
    return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

// To the nearest integer, ties to even.
inline Integer RoundToEven(long double Value) {
    return static_cast<Integer>(std::nearbyint(Value));
}

// Whether Key is the letter after the "&" of Text, in either case.
inline bool IsAccel(Word Key, const AnsiString& Text) {
    const AnsiString hotkey = GetHotkey(Text);
    return !hotkey.empty() && AnsiCharUpper(hotkey[0]) == AnsiCharUpper(static_cast<char>(Key));
}

} // namespace ColorPickerButton
