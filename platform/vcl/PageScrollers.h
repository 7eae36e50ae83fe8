// The framework's page scroller over the system's pager class: one child
// control, wider (or taller) than the scroller, shown part by part with a
// scroll button at either end.
#pragma once

#include "platform/vcl/Controls.h"

enum TPageScrollerOrientation { soHorizontal, soVertical };
// Delta is the distance of the scroll about to happen; the handler may change it.
using TPageScrollEvent = Closure<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y,
                                      TPageScrollerOrientation Orientation, Integer& Delta)>;

class TPageScroller : public TWinControl {
public:
    explicit TPageScroller(TComponent* AOwner);

    // The scrolled control; it becomes the scroller's child.
    TWinControl* Control() const { return control_; }
    void SetControl(TWinControl* Value);
    TPageScrollerOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPageScrollerOrientation Value);
    Integer ButtonSize() const { return buttonSize_; }
    void SetButtonSize(Integer Value);
    // The border around the control, in pixels.
    Integer Margin() const { return margin_; }
    void SetMargin(Integer Value);
    // How far the control is scrolled.
    Integer Position();
    void SetPosition(Integer Value);

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TPageScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // The window's notifications reflected back (PGN_CALCSIZE, PGN_SCROLL).
    virtual void CNNotify(TMessage& Message);

private:
    void sendChild();

    TWinControl* control_ = nullptr;
    TPageScrollerOrientation orientation_ = soHorizontal;
    Integer buttonSize_ = 12;
    Integer margin_ = 0;
    Integer position_ = 0;
};
