// UTF-16 text on canvases, drawn and measured through the wide drawing calls,
// and a picture that loads and saves by UTF-16 file names.
#pragma once

#include "platform/vcl/Graphics.h"

// Draws Text at (X, Y) with the canvas's font, brush and text flags, and
// leaves the pen at the end of the text.
void WideCanvasTextOut(TCanvas* Canvas, Integer X, Integer Y, const WideString& Text);
// The same clipped to Rect, whose background the brush fills unless it is clear;
// the pen stays where it was.
void WideCanvasTextRect(TCanvas* Canvas, const TRect& Rect, Integer X, Integer Y, const WideString& Text);
TSize WideDCTextExtent(HDC DC, const WideString& Text);
TSize WideCanvasTextExtent(TCanvas* Canvas, const WideString& Text);
Integer WideCanvasTextWidth(TCanvas* Canvas, const WideString& Text);
Integer WideCanvasTextHeight(TCanvas* Canvas, const WideString& Text);

// A picture whose files may have any UTF-16 name, although the picture
// loader takes ANSI names.
class TTntPicture : public TPicture {
public:
    using TPicture::LoadFromFile;
    using TPicture::SaveToFile;
    void LoadFromFile(const WideString& FileName);
    // Writes the graphic into a new file beside the target and renames it
    // over the target; nothing without a graphic. When a step fails (EOSError,
    // or the stream's error) the old file stays and the new one is removed.
    void SaveToFile(const WideString& FileName);
};
