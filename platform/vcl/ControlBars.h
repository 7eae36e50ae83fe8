// The framework's control bar: each child control sits on a band of its
// own, with a frame and a grabber at its left end, in rows of RowSize
// pixels. The user drags a band by its grabber to another place or row;
// OnBandMove may change where it goes and OnBandPaint how it is drawn.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/Pictures.h"

#include <memory>

enum TBandPaintOption { bpoGrabber, bpoFrame };
using TBandPaintOptions = TSet<TBandPaintOption>;
// ARect is the band's new rectangle in the bar's client coordinates.
using TBandMoveEvent = Closure<void(TObject* Sender, TControl* Control, TRect& ARect)>;
// The handler may draw the band itself and take options away.
using TBandPaintEvent = Closure<void(TObject* Sender, TControl* Control, TCanvas* Canvas, TRect& ARect,
                                     TBandPaintOptions& Options)>;

class TCustomControlBar : public TCustomControl {
public:
    explicit TCustomControlBar(TComponent* AOwner);
    ~TCustomControlBar() override;

    // Tiled over the bar's background.
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* Value) { picture_->Assign(Value); }
    // The height of a row of bands.
    Integer RowSize() const { return rowSize_; }
    void SetRowSize(Integer Value);
    // Bands take the whole height of their row.
    bool RowSnap() const { return rowSnap_; }
    void SetRowSnap(bool Value);
    // The band of a control, in client coordinates (its control inside the frame, right of the grabber).
    TRect BandRect(TControl* Control);

    TBandMoveEvent OnBandMove;
    TBandPaintEvent OnBandPaint;

protected:
    // The bands go in rows by their controls' tops, left to right in a row;
    // with AutoSize the bar is as high as its rows.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
    void Paint() override;
    virtual void PaintControlFrame(TCanvas* Canvas, TControl* Control, TRect& ARect);
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    std::vector<TControl*> bands() const;
    Integer rowCount() const;
    TControl* grabberAt(Integer X, Integer Y);
    void moveBand(TControl* Control, Integer X, Integer Y);
    void pictureChanged(TObject* Sender);

    std::unique_ptr<TPicture> picture_;
    Integer rowSize_ = 26;
    bool rowSnap_ = true;
    bool aligning_ = false;
    TControl* dragged_ = nullptr;
    TPoint dragOffset_;
};

class TControlBar : public TCustomControlBar {
public:
    using TCustomControlBar::TCustomControlBar;
};
