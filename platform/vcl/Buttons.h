// The framework's buttons unit. Here: TSpeedButton, a graphic control that
// looks like a push button with a glyph and a caption; buttons of one
// GroupIndex on one parent latch and release each other like radio buttons.
#pragma once

#include "platform/vcl/Controls.h"

#include <memory>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// The state a speed button is drawn in; it also picks the glyph image:
// up, disabled, pressed, latched down, in that order in a multi-image glyph.
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using TNumGlyphs = Integer;

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    // Buttons of the same non-zero GroupIndex on one parent form a group:
    // at most one is Down. With GroupIndex 0 the button never stays down.
    Integer GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(Integer Value);
    bool Down() const { return down_; }
    // Ignored with GroupIndex 0, and when releasing a button the group does
    // not allow to be all up.
    void SetDown(bool Value);
    // Whether clicking the down button of a group releases it; shared by the group.
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value);
    // A flat button shows its border only while the mouse is over it (or it is down).
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    // A transparent flat button leaves its parent showing through, except
    // where it draws its edge, glyph and caption (only flat buttons are
    // see-through; the raised face is always filled).
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    // Up to four images side by side (up, disabled, pressed, down); the
    // bottom-left pixel's colour is transparent. A glyph whose width is 2 to
    // 4 times its height sets NumGlyphs. Without a disabled image the
    // disabled look is made from the up image's black pixels.
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value);
    TNumGlyphs NumGlyphs() const { return numGlyphs_; }
    // 1 to 4; other values are ignored.
    void SetNumGlyphs(TNumGlyphs Value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout Value);
    // Pixels from the edge the layout names to the glyph; -1 centres glyph and text.
    Integer Margin() const { return margin_; }
    void SetMargin(Integer Value);
    // Pixels between glyph and text; -1 spreads the free room evenly.
    Integer Spacing() const { return spacing_; }
    void SetSpacing(Integer Value);
    // What the button is drawn as right now.
    TButtonState State() const { return state_; }

    // Where the glyph's top-left corner and the caption go within Client
    // (without the pressed offset), as the button lays them out.
    struct TButtonLayoutResult {
        TPoint GlyphPos;
        TRect TextBounds;
    };
    TButtonLayoutResult CalcButtonLayout(TCanvas* ACanvas, const TRect& Client);

    void Dispatch(TMessage& Message) override;
    void Loaded() override;

protected:
    // The button joins the action's group and is down with a checked action.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TControlActionLinkClass GetActionLinkClass() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    void glyphChanged(TObject* Sender);
    // Tells the siblings of the group that this button went down (CM_BUTTONPRESSED).
    void updateExclusive();
    void buttonPressed(TMessage& Message);
    bool pointInside(Integer X, Integer Y);
    void paintFrame(TRect& PaintRect);
    void drawGlyph(const TPoint& Pos);
    void drawCaption(const TRect& TextBounds);
    // The image the state shows: its own part of the glyph, or one made for it.
    std::unique_ptr<TBitmap> glyphImage(TButtonState State);

    Integer groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool transparent_ = true;
    bool dragging_ = false;
    bool mouseInControl_ = false;
    std::unique_ptr<TBitmap> glyph_;
    TNumGlyphs numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    Integer margin_ = -1;
    Integer spacing_ = 4;
    TButtonState state_ = bsUp;
};
