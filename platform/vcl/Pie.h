// The pie control: a sector of the ellipse that fills the control, from a
// start angle to an end angle (degrees, counter-clockwise from three
// o'clock), outlined with its pen and filled with its brush.
#pragma once

#include "platform/vcl/Controls.h"

#include <memory>

// The two angles of a pie; OnChange fires after either changes.
class TAngles : public TPersistent {
public:
    Integer StartAngle() const { return startAngle_; }
    void SetStart(Integer Value);
    Integer EndAngle() const { return endAngle_; }
    void SetEnd(Integer Value);
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    void changed();

    Integer startAngle_ = 0;
    Integer endAngle_ = 90;
};

class TPie : public TGraphicControl {
public:
    explicit TPie(TComponent* AOwner);
    ~TPie() override;

    TAngles* Angles() const { return angles_.get(); }
    void SetAngles(TAngles* Value) { angles_->Assign(Value); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }

protected:
    void Paint() override;

private:
    void styleChanged(TObject* Sender);

    std::unique_ptr<TAngles> angles_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
};
