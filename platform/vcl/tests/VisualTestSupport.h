// What the tests of the visual units share: the headless backend they drive,
// installed once, and small controls that record what happens to them.
#pragma once

#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/vcl/Forms.h"
#include "platform/win/PixelSurface.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline const std::shared_ptr<HeadlessBackend>& HeadlessBackendInstalled() {
    static std::shared_ptr<HeadlessBackend> backend = [] {
        auto created = std::make_shared<HeadlessBackend>();
        InstallAsBackend(created);
        return created;
    }();
    return backend;
}

inline HeadlessBackend& Headless() {
    return *HeadlessBackendInstalled();
}

// The darker pixels of a window's client area: bold text has more of them.
inline int DarkPixels(HWND Window) {
    const auto image = Headless().Capture(Window, true);
    int dark = 0;
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x)
            if ((image->At(x, y) & 0xFF) < 0x60) ++dark;
    return dark;
}

// A windowed control that takes children and paints itself in its colour.
class TBox : public TCustomControl {
public:
    explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) {
        SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// A graphic control that paints itself in its colour.
class TMark : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

inline const TClass BoxClass = DescribeClass<TBox, TCustomControl>();
inline const TClass MarkClass = DescribeClass<TMark, TGraphicControl>();

// A form test: the headless backend, no hint timers in the way, and the
// windows of the test gone afterwards.
class VisualTest : public ::testing::Test {
protected:
    HeadlessBackend& backend = Headless();

    void SetUp() override { Application->SetShowHint(false); }
    void TearDown() override {
        backend.SetIdleHandler(nullptr);
        Application->ProcessMessages();
    }

    // A shown borderless form whose client area is its whole window.
    static std::unique_ptr<TForm> plainForm(Integer Width = 300, Integer Height = 200) {
        auto form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsNone);
        form->SetBounds(10, 10, Width, Height);
        return form;
    }

    struct Place {
        Integer left;
        Integer top;
        Integer width;
        Integer height;
    };

    template <typename T> static T* child(TWinControl* Parent, TAlign Align, Place Bounds) {
        auto* control = new T(Parent);
        control->SetBounds(Bounds.left, Bounds.top, Bounds.width, Bounds.height);
        control->SetParent(Parent);
        control->SetAlign(Align);
        return control;
    }
};

// Rectangles print as their four sides in failure messages.
inline void PrintTo(const TRect& Rect, std::ostream* Out) {
    *Out << "{" << Rect.Left << ", " << Rect.Top << ", " << Rect.Right << ", " << Rect.Bottom << "}";
}

// The pixel at a client point of a window as a colour value (0x00BBGGRR).
inline TColor PixelAt(HWND Window, TPoint Point) {
    std::shared_ptr<PixelSurface> pixels = Headless().Capture(Window, true);
    return static_cast<TColor>(ColorRefFromPixel(pixels->Row(Point.y)[Point.x] & PixelColourMask));
}
