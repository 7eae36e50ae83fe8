// The pie control, painted with the canvas's Pie: the radials run from the
// centre towards the points of the two angles on the ellipse.
#include "platform/vcl/Pie.h"

#include <cmath>
#include <numbers>

namespace {

constexpr Integer defaultSize = 100;
constexpr double degreesPerHalfTurn = 180.0;

// A point on the radial of `degrees`, far enough out to fix its direction.
TPoint radialPoint(const TRect& box, Integer degrees) {
    double radians = degrees * std::numbers::pi / degreesPerHalfTurn;
    double centreX = (box.Left + box.Right) / 2.0;
    double centreY = (box.Top + box.Bottom) / 2.0;
    double reach = std::max(box.Width(), box.Height());
    return {static_cast<Integer>(std::lround(centreX + reach * std::cos(radians))),
            static_cast<Integer>(std::lround(centreY - reach * std::sin(radians)))};
}

} // namespace

void TAngles::SetStart(Integer Value) {
    if (Value == startAngle_) return;
    startAngle_ = Value;
    changed();
}

void TAngles::SetEnd(Integer Value) {
    if (Value == endAngle_) return;
    endAngle_ = Value;
    changed();
}

void TAngles::Assign(TPersistent* Source) {
    auto* angles = dynamic_cast<TAngles*>(Source);
    if (!angles) return TPersistent::Assign(Source);
    startAngle_ = angles->startAngle_;
    endAngle_ = angles->endAngle_;
    changed();
}

void TAngles::changed() {
    if (OnChange) OnChange(this);
}

TPie::TPie(TComponent* AOwner)
    : TGraphicControl(AOwner), angles_(std::make_unique<TAngles>()), brush_(std::make_unique<TBrush>()),
      pen_(std::make_unique<TPen>()) {
    SetBounds(Left(), Top(), defaultSize, defaultSize);
    angles_->OnChange = TNotifyEvent(this, &TPie::styleChanged);
    brush_->OnChange = TNotifyEvent(this, &TPie::styleChanged);
    pen_->OnChange = TNotifyEvent(this, &TPie::styleChanged);
}

TPie::~TPie() {
    angles_->OnChange = nullptr;
    brush_->OnChange = nullptr;
    pen_->OnChange = nullptr;
}

void TPie::styleChanged(TObject*) {
    Invalidate();
}

void TPie::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetPen(pen_.get());
    canvas->SetBrush(brush_.get());
    TRect box{0, 0, Width(), Height()};
    TPoint start = radialPoint(box, angles_->StartAngle());
    TPoint end = radialPoint(box, angles_->EndAngle());
    canvas->Pie(box.Left, box.Top, box.Right, box.Bottom, start.x, start.y, end.x, end.y);
}

namespace {

const TClass anglesClass = DescribeClass<TAngles, TPersistent>([](TClassBuilder<TAngles>& c) {
    c.Property("StartAngle", &TAngles::StartAngle, &TAngles::SetStart).Default(0);
    c.Property("EndAngle", &TAngles::EndAngle, &TAngles::SetEnd).Default(90);
});

const TClass pieClass = DescribeClass<TPie, TGraphicControl>([](TClassBuilder<TPie>& c) {
    c.Property("Angles", &TPie::Angles);
    c.Property("Brush", &TPie::Brush);
    c.Property("Pen", &TPie::Pen);
});

struct RegisterPieClass {
    RegisterPieClass() { RegisterClass(ClassOf<TPie>()); }
} registerPieClass;

} // namespace
