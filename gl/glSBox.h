// TglScrollBox: a scroll box that paints a wallpaper bitmap behind its
// contents, tiled so that it scrolls with them.
#pragma once

#include "platform/vcl/ScrollBoxes.h"

#include <memory>

using TOnEraseBkgndEvent = Closure<void(TObject* Sender, HDC DC)>;

class TglScrollBox : public TScrollBox {
public:
    explicit TglScrollBox(TComponent* AOwner);
    ~TglScrollBox() override;

    // Made empty on first use; an empty one paints nothing.
    TBitmap* Background();
    // Copies Value.
    void SetBackground(TBitmap* Value);
    bool HasBackground() const { return background_ != nullptr; }
    // Called after every background erase, with or without a background.
    const TOnEraseBkgndEvent& OnEraseBkgndEvent() const { return onEraseBkgnd_; }
    void SetOnEraseBkgndEvent(const TOnEraseBkgndEvent& Value) { onEraseBkgnd_ = Value; }

    void Dispatch(TMessage& Message) override;

private:
    void eraseBackground(TMessage& Message);
    void fillWithPattern(HDC DC, const TRect& Client);
    void tile(HDC DC, const TRect& Client);

    std::unique_ptr<TBitmap> background_;
    TOnEraseBkgndEvent onEraseBkgnd_;
};
