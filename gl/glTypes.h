// Types the gl widgets share: the enumerations of their properties and
// drawing routines, the widget set's one global record, and two helper
// classes that open framework members to the utility routines.
#pragma once

#include "platform/vcl/Controls.h"

class Tgl3DLocalColors;

// The direction in which a gradient's colour changes.
enum TglGradientDir {
    fgdHorizontal,
    fgdVertical,
    fgdLeftBias,
    fgdRightBias,
    fgdRectangle,
    fgdHorzConvergent,
    fgdVertConvergent
};
enum TThreeDGradientType { fgtFlat, fgt3D };
enum TglHorAlign { fhaLeft, fhaCenter, fhaRight };
enum TglVertAlign { fvaTop, fvaCenter, fvaBottom };
enum TglTextStyle { fstNone, fstRaised, fstRecessed, fstPushed, fstShadow, fstVolumetric };
enum TglSide { fsdLeft, fsdTop, fsdRight, fsdBottom };
using TglSides = TSet<TglSide>;
constexpr TglSides AllSides{fsdLeft, fsdTop, fsdRight, fsdBottom};
enum TglOrigin { forLeftTop, forRightBottom };
enum TglWallpaperOption { fwoNone, fwoStretch, fwoPropStretch, fwoTile };
enum TglDrawState { fdsDefault, fdsDisabled, fdsDelicate };
enum TglBoxStyle {
    fbsFlat,
    fbsCtl3D,
    fbsStatusControl,
    fbsRecessed,
    fbsRaised,
    fbsRaisedFrame,
    fbsRecessedFrame
};
enum TglAutoTransparentColor {
    ftcUser,
    ftcLeftTopPixel,
    ftcLeftBottomPixel,
    ftcRightTopPixel,
    ftcRightBottomPixel
};
enum TglAlignment { ftaLeftJustify, ftaRightJustify, ftaCenter, ftaBroadwise };
enum TglFileType { fftUndefined, fftGif, fftJpeg, fftBmp };
// A percentage, 0 to 100.
using TglPercent = Byte;

// The widget set's global state.
struct TglGlobalData {
    // Switches every gradient off; nothing in the program sets it.
    bool IgnoreGradients = false;
    // The 3D colour set every bevel is drawn with; none means the system colours.
    Tgl3DLocalColors* GlobalColors = nullptr;
};
extern TglGlobalData glGlobalData;

// Makes the framework's PaintWindow and RecreateWnd callable from outside.
class TPublicWinControl : public TWinControl {
public:
    using TWinControl::PaintWindow;
    using TWinControl::RecreateWnd;
    using TWinControl::TWinControl;

    // Paints any windowed control, which need not be of this class: a member
    // pointer formed here reaches the protected routine without a miscast.
    static void PaintWindowOf(TWinControl* Control, HDC DC) { (Control->*&TPublicWinControl::PaintWindow)(DC); }
};

class TShowFont : public TControl {
public:
    using TControl::TControl;
};
