// TglGroupBox: a group box whose caption is a clickable bar. A click on the
// caption collapses the box to the caption's height and a second click
// expands it to the remembered full height. The box paints its frame, fill
// or gradient, a bevelled caption box with an optional glyph per state and
// the caption in one of six text styles; boxes sharing a GroupIndex can be
// kept mutually exclusive.
#pragma once

#include "gl/glTypes.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <vector>

class TglBevel;
class TGradient;
class TglGrBoxColors;
class TIllumination;
class TPointClass;
class TReader;
class TWriter;

enum TCaptionAlignment { fcaNone, fcaLeft, fcaRight, fcaCenter, fcaWidth };

enum TglGrBoxOptions_ {
    // A click on the caption toggles the state; Collapsed cannot become true without it.
    fgoCanCollapse,
    // Expanding collapses the other boxes of the same non-zero GroupIndex.
    fgoCollapseOther,
    // The caption box is filled with the state's caption colour.
    fgoFilledCaption,
    // Stored only: collapsing and expanding resize at once.
    fgoFluentlyCollapse,
    fgoFluentlyExpand,
    // The parent's height changes by as much as the box's.
    fgoResizeParent,
    fgoHideChildrenWhenCollapsed,
    // Caption clicks and the drag-to-scroll gesture are off.
    fgoIgnoreMouse,
    // The caption is outlined and its box 2 pixels taller.
    fgoDelineatedText,
    // Stored only.
    fgoBufferedDraw,
    // The last expanded box of its group cannot be collapsed.
    fgoOneAlwaysExpanded,
    // The focused child is remembered on collapsing and focused again on expanding.
    fgoSaveChildFocus
};
using TglGrBoxOptions = TSet<TglGrBoxOptions_>;
constexpr TglGrBoxOptions DefaultGroupBoxOptions{
    fgoCanCollapse,   fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, fgoHideChildrenWhenCollapsed,
    fgoSaveChildFocus};

class TglGroupBox : public TCustomGroupBox {
public:
    explicit TglGroupBox(TComponent* AOwner);
    ~TglGroupBox() override;

    // Collapses (true) or expands (false) as a caption click does: with the
    // group rules, and OnCollapsed or OnExpanded once the new height, the
    // children's visibility and the focus are in place.
    void Collapse(bool ACollapse);
    // The resize itself, with the children and the focus; no event.
    void Collapse_(bool ACollapse);

    TglBevel* Border() const { return border_.get(); }
    TglBevel* CaptionBorder() const { return captionBorder_.get(); }
    TGradient* Gradient() const { return gradient_.get(); }
    TGradient* CaptionGradient() const { return captionGradient_.get(); }
    TglGrBoxColors* Colors() const { return colors_.get(); }
    TIllumination* Illumination() const { return illumination_.get(); }
    TPointClass* CaptionShift() const { return captionShift_.get(); }

    TCaptionAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TCaptionAlignment Value);
    TglTextStyle CaptionTextStyle() const { return captionTextStyle_; }
    void SetCaptionTextStyle(TglTextStyle Value);
    bool Collapsed() const { return collapsed_; }
    // No event and no group rule; refused for true without fgoCanCollapse.
    void SetCollapsed(bool Value);
    TglGrBoxOptions Options() const { return options_; }
    void SetOptions(TglGrBoxOptions Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    bool TransparentCaption() const { return transparentCaption_; }
    void SetTransparentCaption(bool Value);
    Integer GroupIndex() const { return groupIndex_; }
    // An expanded box joining a group collapses the group's other boxes.
    void SetGroupIndex(Integer Value);
    // Made empty on first use.
    TBitmap* GlyphCollapsed();
    void SetGlyphCollapsed(TBitmap* Value);
    TBitmap* GlyphExpanded();
    void SetGlyphExpanded(TBitmap* Value);
    bool HasGlyphCollapsed() const { return glyphCollapsed_ != nullptr; }
    bool HasGlyphExpanded() const { return glyphExpanded_ != nullptr; }
    // Disables or enables the direct child controls as well.
    void SetEnabled(bool Value) override;

    // The height the box returns to on expanding.
    Integer FullHeight() const { return fullHeight_; }
    // The caption box as the last paint laid it out, in client coordinates.
    const TRect& CaptionRect() const { return captionRect_; }

    TNotifyEvent AfterPaint;
    TNotifyEvent OnCollapsed;
    TNotifyEvent OnExpanded;

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void DefineProperties(TFiler* Filer) override;
    void AdjustClientRect(TRect& Rect) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    void SmthChanged(TObject* Sender);
    void ReadFullHeight(TReader* Reader);
    void WriteFullHeight(TWriter* Writer);
    bool loading() const;
    // The other group boxes among the owner's components with this box's group index.
    std::vector<TglGroupBox*> groupMates() const;
    // The controls among the owner's components that lie on this box.
    std::vector<TControl*> ownedChildren() const;
    void rememberFocusedChild(TControl* Child);
    void focusRememberedChild();
    TRect layOutCaption(HDC DC, const AnsiString& Caption, Integer TextHeight, Integer GlyphWidth);
    void paintCaption(HDC DC, const AnsiString& Caption, Integer TextHeight);
    void paintGlyph(HDC DC, const TRect& Inner);
    void mouseDown(TMessage& Message);
    void mouseMove(TMessage& Message);
    void mouseUp(TMessage& Message);
    void setGlyph(std::unique_ptr<TBitmap>& Glyph, TBitmap* Value);

    std::unique_ptr<TglBevel> border_;
    std::unique_ptr<TglBevel> captionBorder_;
    std::unique_ptr<TGradient> gradient_;
    std::unique_ptr<TGradient> captionGradient_;
    std::unique_ptr<TglGrBoxColors> colors_;
    std::unique_ptr<TIllumination> illumination_;
    std::unique_ptr<TPointClass> captionShift_;
    std::unique_ptr<TBitmap> glyphCollapsed_;
    std::unique_ptr<TBitmap> glyphExpanded_;
    TCaptionAlignment captionAlignment_ = fcaNone;
    TglTextStyle captionTextStyle_ = fstNone;
    bool collapsed_ = false;
    TglGrBoxOptions options_ = DefaultGroupBoxOptions;
    bool transparent_ = false;
    bool transparentCaption_ = false;
    Integer groupIndex_ = 0;
    Integer fullHeight_ = 0;
    TRect captionRect_;
    TWinControl* focusedChild_ = nullptr;
    Integer dragOriginY_ = 0;
    bool dragging_ = false;
};
