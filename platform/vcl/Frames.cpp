// Frames: where a frame's controls come from, and what it writes and owns
// inside a form resource.
#include "platform/vcl/Frames.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Resources.h"

namespace {

constexpr const char* SResNotFound = "Resource %s not found";
constexpr Integer DefaultFrameWidth = 320;
constexpr Integer DefaultFrameHeight = 240;

} // namespace

TCustomFrame::TCustomFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    SetControlStyle(
        TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), DefaultFrameWidth, DefaultFrameHeight);
}

void TCustomFrame::AfterConstruction() {
    if (resourceLoaded_) return;
    resourceLoaded_ = true;
    if (ClassTypeOf(this) == ClassOf<TFrame>()) return;
    if (!InitInheritedComponent(this, ClassOf<TFrame>()))
        throw EResNotFound(Format(SResNotFound, {ClassName()}));
}

void TCustomFrame::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    TScrollingWinControl::GetChildren(Proc, Root);
    if (Root != this) return;
    for (Integer i = 0; i < ComponentCount(); ++i)
        if (!Components(i)->HasParent()) Proc(Components(i));
}

TComponent* TCustomFrame::GetChildOwner() {
    return ComponentState().Contains(csInline) ? this : nullptr;
}

namespace {

const TClass customFrameClass =
    DescribeClass<TCustomFrame, TScrollingWinControl>([](TClassBuilder<TCustomFrame>& c) {
        c.AfterCreate(
            [](TComponent* Component) { static_cast<TCustomFrame*>(Component)->AfterConstruction(); });
    });

const TClass frameClass = DescribeClass<TFrame, TCustomFrame>();

struct RegisterFrames {
    RegisterFrames() { RegisterClass(ClassOf<TFrame>()); }
} registerFrames;

} // namespace
