// What the gl widget tests share: the headless form test, reading colours
// back from windows and device contexts, and where pictures for a person go.
#pragma once

#include "platform/core/SysUtils.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/tests/VisualTestSupport.h"

#include <filesystem>
#include <set>

using GlVisualTest = VisualTest;

// The distinct colours of a window's client pixels within Rect.
inline std::set<TColor> colorsIn(HWND Window, const TRect& Rect) {
    std::shared_ptr<PixelSurface> pixels = Headless().Capture(Window, true);
    std::set<TColor> colors;
    for (Integer y = Rect.Top; y < Rect.Bottom; ++y)
        for (Integer x = Rect.Left; x < Rect.Right; ++x)
            colors.insert(static_cast<TColor>(ColorRefFromPixel(pixels->Row(y)[x] & PixelColourMask)));
    return colors;
}

// build/screenshots: the tests run from the build folder's bin folder.
inline std::filesystem::path screenshotFolder() {
    std::filesystem::path folder = std::filesystem::path(ProgramFolder()).parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}
