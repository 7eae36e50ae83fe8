// The colour gradient behind the splash window and the About box: red grows
// across, green down, and blue down faster, wrapping past 255.
#pragma once

#include "platform/core/Types.h"

class TCanvas;

// The colour at (X, Y) of a Width x Height area; BlueFactor says how much
// faster than green the blue grows.
TColor GradientColor(Integer X, Integer Y, Integer Width, Integer Height, Integer BlueFactor);

// Fills a bitmap of the area pixel by pixel and draws it at (0, 0).
void PaintGradient(TCanvas* Canvas, Integer Width, Integer Height, Integer BlueFactor);
