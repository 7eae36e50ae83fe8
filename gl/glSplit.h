// TglSplitter: the framework's splitter with its own face, a strip of raised
// grip dots that darken while the mouse is over it and, with Displace, two
// small arrows towards the neighbour, which a double click shrinks to nothing.
#pragma once

#include "platform/vcl/ExtCtrls.h"

class TglSplitter : public TSplitter {
public:
    explicit TglSplitter(TComponent* AOwner);

    // The dots darken while the mouse is over the splitter.
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool Value) { hotTrack_ = Value; }
    // The number of grip dot pairs.
    Integer TrackCount() const { return trackCount_; }
    void SetTrackCount(Integer Value);
    // Arrows on the face, and a double click that shrinks the neighbour.
    bool Displace() const { return displace_; }
    void SetDisplace(bool Value);

    // The two arrow triangles for an alignment; false for an alignment without arrows.
    bool PrepareMarcs(TAlign Alignment, TPoint (&First)[3], TPoint (&Second)[3]);
    // The visible, enabled control the splitter touches on its aligned side.
    TControl* FindControl();
    // Shrinks the neighbour to nothing and reports the move.
    void UpdateControlSize();
    bool MouseOver() const { return mouseOver_; }

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;

private:
    void paintDots();
    void mouseOverChanged(TMessage& Message, bool Over);

    bool hotTrack_ = true;
    Integer trackCount_ = 20;
    bool displace_ = true;
    bool mouseOver_ = false;
};
