// The control bar: bands in rows, drawn with a raised frame and grabber, dragged by the grabber.
#include "platform/vcl/ControlBars.h"

#include "platform/win/Edges.h"

#include <algorithm>

namespace {

// A band's frame around its control: the grabber's room on the left, the
// raised edge on the other sides.
constexpr Integer BandLeftMargin = 11;
constexpr Integer BandMargin = 2;
// The grabber: a raised bar three pixels wide, inside the band's frame.
constexpr Integer GrabberOffset = 3;
constexpr Integer GrabberWidth = 3;

TRect bandOf(TControl* Control) {
    return {Control->Left() - BandLeftMargin, Control->Top() - BandMargin, Control->Left() + Control->Width() + BandMargin,
            Control->Top() + Control->Height() + BandMargin};
}

} // namespace

TCustomControlBar::TCustomControlBar(TComponent* AOwner)
    : TCustomControl(AOwner), picture_(std::make_unique<TPicture>()) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetBounds(Left(), Top(), 100, 50);
    picture_->OnChange = TNotifyEvent(this, &TCustomControlBar::pictureChanged);
}

TCustomControlBar::~TCustomControlBar() {
    picture_->OnChange = nullptr;
}

void TCustomControlBar::SetRowSize(Integer Value) {
    if (Value == rowSize_ || Value <= 0) return;
    rowSize_ = Value;
    Realign();
    Invalidate();
}

void TCustomControlBar::SetRowSnap(bool Value) {
    if (Value == rowSnap_) return;
    rowSnap_ = Value;
    Realign();
    Invalidate();
}

void TCustomControlBar::pictureChanged(TObject*) {
    Invalidate();
}

TRect TCustomControlBar::BandRect(TControl* Control) {
    return bandOf(Control);
}

// A band belongs to the row its top is nearest to.
std::vector<TControl*> TCustomControlBar::bands() const {
    std::vector<TControl*> result;
    for (Integer i = 0; i < ControlCount(); ++i)
        if (Controls(i)->Visible()) result.push_back(Controls(i));
    const Integer rowSize = rowSize_;
    auto rowOf = [rowSize](TControl* c) { return std::max(0, (bandOf(c).Top + rowSize / 2) / rowSize); };
    std::stable_sort(result.begin(), result.end(), [&](TControl* a, TControl* b) {
        return rowOf(a) != rowOf(b) ? rowOf(a) < rowOf(b) : a->Left() < b->Left();
    });
    return result;
}

Integer TCustomControlBar::rowCount() const {
    Integer rows = 0;
    for (TControl* control : bands())
        rows = std::max(rows, bandOf(control).Top / rowSize_ + 1);
    return rows;
}

void TCustomControlBar::AlignControls(TControl*, TRect&) {
    if (aligning_) return;
    aligning_ = true;
    Integer row = -1;
    Integer nextLeft = 0;
    Integer rowIndex = -1;
    for (TControl* control : bands()) {
        const Integer controlRow = std::max(0, (bandOf(control).Top + rowSize_ / 2) / rowSize_);
        if (controlRow != row) {
            row = controlRow;
            ++rowIndex;
            nextLeft = 0;
        }
        const Integer bandLeft = std::max(nextLeft, bandOf(control).Left);
        const Integer height = rowSnap_ ? rowSize_ - 2 * BandMargin : control->Height();
        control->SetBounds(bandLeft + BandLeftMargin, rowIndex * rowSize_ + BandMargin, control->Width(), height);
        nextLeft = bandOf(control).Right;
    }
    aligning_ = false;
    if (AutoSize()) AdjustSize();
}

bool TCustomControlBar::CanAutoSize(Integer&, Integer& NewHeight) {
    NewHeight = std::max(1, rowCount()) * rowSize_;
    return true;
}

void TCustomControlBar::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (TGraphic* graphic = picture_->Graphic(); graphic && graphic->Width() > 0 && graphic->Height() > 0) {
        for (Integer y = 0; y < client.Bottom; y += graphic->Height())
            for (Integer x = 0; x < client.Right; x += graphic->Width())
                canvas->Draw(x, y, graphic);
    } else {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    for (TControl* control : bands()) {
        TRect band = bandOf(control);
        PaintControlFrame(canvas, control, band);
    }
}

// OnBandPaint first; what it leaves of the frame and the grabber is drawn after it.
void TCustomControlBar::PaintControlFrame(TCanvas* Canvas, TControl* Control, TRect& ARect) {
    TBandPaintOptions options{bpoGrabber, bpoFrame};
    if (OnBandPaint) OnBandPaint(this, Control, Canvas, ARect, options);
    Canvas->RequiredState({csHandleValid});
    if (options.Contains(bpoFrame)) {
        RECT frame = ARect;
        DrawEdge(Canvas->Handle(), &frame, BDR_RAISEDINNER, BF_RECT);
    }
    if (options.Contains(bpoGrabber)) {
        RECT grabber{ARect.Left + GrabberOffset, ARect.Top + BandMargin, ARect.Left + GrabberOffset + GrabberWidth,
                     ARect.Bottom - BandMargin};
        DrawEdge(Canvas->Handle(), &grabber, BDR_RAISEDINNER, BF_RECT);
    }
}

TControl* TCustomControlBar::grabberAt(Integer X, Integer Y) {
    for (TControl* control : bands()) {
        const TRect band = bandOf(control);
        if (X >= band.Left && X < band.Left + BandLeftMargin && Y >= band.Top && Y < band.Bottom) return control;
    }
    return nullptr;
}

void TCustomControlBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    dragged_ = grabberAt(X, Y);
    if (!dragged_) return;
    const TRect band = bandOf(dragged_);
    dragOffset_ = {X - band.Left, Y - band.Top};
}

void TCustomControlBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (dragged_) moveBand(dragged_, X, Y);
}

void TCustomControlBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    dragged_ = nullptr;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// The band goes to the row under the pointer (one below the last makes a
// new row), never left of the bar; OnBandMove may place it elsewhere.
void TCustomControlBar::moveBand(TControl* Control, Integer X, Integer Y) {
    const TRect old = bandOf(Control);
    const Integer row = std::clamp((Y - dragOffset_.y + rowSize_ / 2) / rowSize_, 0, rowCount());
    const Integer left = std::max(0, X - dragOffset_.x);
    TRect band{left, row * rowSize_, left + (old.Right - old.Left), row * rowSize_ + (old.Bottom - old.Top)};
    if (OnBandMove) OnBandMove(this, Control, band);
    Control->SetBounds(band.Left + BandLeftMargin, band.Top + BandMargin, Control->Width(), Control->Height());
    Realign();
    Invalidate();
}

namespace {
const TClass customControlBarClass =
    DescribeClass<TCustomControlBar, TCustomControl>([](TClassBuilder<TCustomControlBar>& c) {
        c.Property("AutoSize", &TCustomControlBar::AutoSize, &TCustomControlBar::SetAutoSize).Default(false);
        c.Property("Color", &TCustomControlBar::Color, &TCustomControlBar::SetColor);
        c.Property("Picture", &TCustomControlBar::Picture, &TCustomControlBar::SetPicture);
        c.Property("RowSize", &TCustomControlBar::RowSize, &TCustomControlBar::SetRowSize).Default(26);
        c.Property("RowSnap", &TCustomControlBar::RowSnap, &TCustomControlBar::SetRowSnap).Default(true);
        c.Property("OnBandMove", &TCustomControlBar::OnBandMove, &TCustomControlBar::OnBandMove);
        c.Property("OnBandPaint", &TCustomControlBar::OnBandPaint, &TCustomControlBar::OnBandPaint);
    });
const TClass controlBarClass = DescribeClass<TControlBar, TCustomControlBar>();
} // namespace
