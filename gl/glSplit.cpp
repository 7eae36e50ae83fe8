// The gl splitter's face, neighbour lookup and double click.
#include "gl/glSplit.h"

#include "gl/glUtils.h"

#include <array>
#include <span>

namespace {

constexpr Integer DefaultWidth = 6;
constexpr Integer DotStep = 4;
constexpr Integer DotSize = 3;
constexpr Integer SecondDotOffset = 3;
constexpr TColor HotArrowColor = 0x808080;
constexpr TColor ColdArrowColor = 0xFFFFFF;
// Where the arrows start before and after the dots, along the splitter.
constexpr Integer ArrowsBefore = 30;
constexpr Integer ArrowsAfter = 23;
constexpr Integer ArrowLength = 6;
constexpr Integer ArrowMiddle = 3;

bool horizontalBar(TAlign Align) {
    return Align == alTop || Align == alBottom;
}

} // namespace

TglSplitter::TglSplitter(TComponent* AOwner) : TSplitter(AOwner) {
    SetWidth(DefaultWidth);
}

void TglSplitter::SetTrackCount(Integer Value) {
    trackCount_ = Value;
    Invalidate();
}

void TglSplitter::SetDisplace(bool Value) {
    displace_ = Value;
    Invalidate();
}

// ---- Face -----------------------------------------------------------------------------------------

void TglSplitter::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    paintDots();
    if (!displace_) return;
    TPoint first[3];
    TPoint second[3];
    if (!PrepareMarcs(Align(), first, second)) return;
    canvas->Brush()->SetColor(mouseOver_ ? HotArrowColor : ColdArrowColor);
    canvas->Polygon(std::span<const TPoint>(first));
    canvas->Polygon(std::span<const TPoint>(second));
}

void TglSplitter::paintDots() {
    const Integer span = DotStep * trackCount_;
    const bool horizontal = horizontalBar(Align());
    TPoint first = horizontal ? TPoint{(Width() - span) / 2, 0} : TPoint{0, (Height() - span) / 2};
    TPoint second = horizontal ? TPoint{first.x, SecondDotOffset} : TPoint{SecondDotOffset, first.y};
    const TColor bottom = mouseOver_ && hotTrack_ ? clBlack : clBtnShadow;
    for (Integer pair = 0; pair < trackCount_; ++pair) {
        for (const TPoint& corner : {first, second}) {
            TRect dot{corner.x, corner.y, corner.x + DotSize, corner.y + DotSize};
            Frame3D(Canvas(), dot, clBtnHighlight, bottom, 1);
        }
        (horizontal ? first.x : first.y) += DotStep;
        (horizontal ? second.x : second.y) += DotStep;
    }
}

bool TglSplitter::PrepareMarcs(TAlign Alignment, TPoint (&First)[3], TPoint (&Second)[3]) {
    const Integer span = DotStep * trackCount_;
    const Integer start = ((horizontalBar(Alignment) ? Width() : Height()) - span) / 2;
    const Integer a = start - ArrowsBefore;
    const Integer b = start + span + ArrowsAfter;
    auto arrows = [&](auto Triangle) {
        for (int point = 0; point < 3; ++point) {
            First[point] = Triangle(a)[point];
            Second[point] = Triangle(b)[point];
        }
    };
    using Triangle = std::array<TPoint, 3>;
    switch (Alignment) {
    case alTop:
        arrows([](Integer at) { return Triangle{{{at, 4}, {at + ArrowLength, 4}, {at + ArrowMiddle, 1}}}; });
        return true;
    case alBottom:
        arrows([](Integer at) { return Triangle{{{at, 1}, {at + ArrowLength, 1}, {at + ArrowMiddle, 4}}}; });
        return true;
    case alLeft:
        arrows([](Integer at) { return Triangle{{{3, at}, {3, at + ArrowLength}, {0, at + ArrowMiddle}}}; });
        return true;
    case alRight:
        arrows([](Integer at) { return Triangle{{{1, at}, {1, at + ArrowLength}, {4, at + ArrowMiddle}}}; });
        return true;
    default:
        return false;
    }
}

// ---- Neighbour --------------------------------------------------------------------------------------

TControl* TglSplitter::FindControl() {
    TPoint probe{Left(), Top()};
    switch (Align()) {
    case alTop:
        probe.y -= 1;
        break;
    case alBottom:
        probe.y += Height();
        break;
    case alLeft:
        probe.x -= 1;
        break;
    case alRight:
        probe.x += Width();
        break;
    default:
        return nullptr;
    }
    if (!Parent()) return nullptr;
    // A control of no width or height is widened by a pixel towards the splitter's side.
    const bool towardsStart = Align() == alTop || Align() == alLeft;
    for (Integer index = 0; index < Parent()->ControlCount(); ++index) {
        TControl* control = Parent()->Controls(index);
        if (!control->Visible() || !control->Enabled()) continue;
        TRect bounds = control->BoundsRect();
        if (bounds.Width() == 0) (towardsStart ? bounds.Left : bounds.Right) += towardsStart ? -1 : 1;
        if (bounds.Height() == 0) (towardsStart ? bounds.Top : bounds.Bottom) += towardsStart ? -1 : 1;
        if (RectContains(bounds, probe)) return control;
    }
    return nullptr;
}

void TglSplitter::UpdateControlSize() {
    TControl* neighbour = FindControl();
    if (!neighbour) return;
    switch (Align()) {
    case alTop:
        neighbour->SetHeight(0);
        break;
    case alLeft:
        neighbour->SetWidth(0);
        break;
    case alBottom:
    case alRight: {
        // The neighbour moves to its far edge and shrinks there in one step.
        Parent()->DisableAlign();
        try {
            if (Align() == alBottom) {
                neighbour->SetTop(neighbour->Top() + neighbour->Height());
                neighbour->SetHeight(0);
            } else {
                neighbour->SetLeft(neighbour->Left() + neighbour->Width());
                neighbour->SetWidth(0);
            }
        } catch (...) {
            Parent()->EnableAlign();
            throw;
        }
        Parent()->EnableAlign();
        break;
    }
    default:
        break;
    }
    Update();
    if (OnMoved) OnMoved(this);
}

// ---- Messages ---------------------------------------------------------------------------------------

void TglSplitter::mouseOverChanged(TMessage& Message, bool Over) {
    TSplitter::Dispatch(Message);
    mouseOver_ = Over;
    Paint();
}

void TglSplitter::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        return mouseOverChanged(Message, true);
    case CM_MOUSELEAVE:
        return mouseOverChanged(Message, false);
    case WM_LBUTTONDBLCLK:
        if (displace_) UpdateControlSize();
        return;
    default:
        return TSplitter::Dispatch(Message);
    }
}

namespace {

const TClass splitterClass = DescribeClass<TglSplitter, TSplitter>([](TClassBuilder<TglSplitter>& c) {
    c.Property("HotTrack", &TglSplitter::HotTrack, &TglSplitter::SetHotTrack).Default(true);
    c.Property("TrackCount", &TglSplitter::TrackCount, &TglSplitter::SetTrackCount).Default(20);
    c.Property("Displace", &TglSplitter::Displace, &TglSplitter::SetDisplace).Default(true);
});

struct RegisterSplitter {
    RegisterSplitter() { RegisterClass(splitterClass); }
} registerSplitter;

} // namespace
