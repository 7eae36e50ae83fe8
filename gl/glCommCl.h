// The gl widgets' style objects: small persistent objects a control owns and
// publishes as object properties (gradients, bevels, colour sets, a shadow
// setting, a point). Each setter stores its value and then calls the object's
// change notification, which the owner points at its own repaint.
//
// A class that adds a notification of its own keeps its base class's as well:
// the base class's setters call the base notification, the class's own
// setters call its own, so an owner that hooks one hears only those setters.
#pragma once

#include "gl/glTypes.h"
#include "platform/vcl/ExtCtrls.h"

class TglCustomLabelColors;

// A pair of colours; the RGB value of each is taken when it is set.
class TTwainColors : public TPersistent {
public:
    TColor FromColor() const { return fromColor_; }
    void SetFromColor(TColor Value);
    TColor ToColor() const { return toColor_; }
    void SetToColor(TColor Value);
    TNotifyEvent OnChanged;

protected:
    void changed();
    // The RGB values of FromColor and ToColor as they were when set.
    TColor fromRGB_ = ColorToRGB(clGray);
    TColor toRGB_ = ColorToRGB(clBlack);

private:
    TColor fromColor_ = clGray;
    TColor toColor_ = clBlack;
};

class TCustomGradient : public TTwainColors {
public:
    bool Active() const { return active_; }
    void SetActive(bool Value);
    // Draws through an off-screen bitmap; the pixels are the same.
    bool BufferedDraw() const { return bufferedDraw_; }
    void SetBufferedDraw(bool Value) { bufferedDraw_ = Value; }
    TglGradientDir Orientation() const { return orientation_; }
    // Notifies only while the gradient is active.
    void SetOrientation(TglGradientDir Value);
    Integer Steps() const { return steps_; }
    // Clamped to 1..255.
    void SetSteps(Integer Value);
    TglPercent PercentFilling() const { return percentFilling_; }
    void SetPercentFilling(TglPercent Value);
    TBrushStyle BrushStyle() const { return brushStyle_; }
    void SetBrushStyle(TBrushStyle Value);

    // Paints the gradient into Rect: nothing when inactive, with one step, when
    // gradients are switched off or on a device of fewer than 16 bits per pixel.
    void Draw(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth);
    // Draws Text at (X, Y) in the gradient's colours, one pixel strip of Rect at a time.
    void TextOut(HDC DC, const AnsiString& Text, const TRect& Rect, Integer X, Integer Y);
    // The colour at Position along a gradient of Length pixels; FromColor for a zero length.
    TColor GetColorFromGradientLine(Word Length, Word Position) const;

protected:
    bool active_ = false;
    TglGradientDir orientation_ = fgdHorizontal;

private:
    void drawBands(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth);
    void drawConvergent(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth);
    void drawBiasBand(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth, TColor Color,
                      Integer Lines, TPoint& A, TPoint& B);

    bool bufferedDraw_ = false;
    Integer steps_ = 255;
    TglPercent percentFilling_ = 100;
    TBrushStyle brushStyle_ = bsSolid;
};

class TGradient : public TCustomGradient {};

// A gradient with a depth, for the 3D gradient controls.
class TThreeDGradient : public TCustomGradient {
public:
    TThreeDGradient();
    Word Depth() const { return depth_; }
    void SetDepth(Word Value);
    TThreeDGradientType GType() const { return gType_; }
    void SetGType(TThreeDGradientType Value);

private:
    Word depth_ = 16;
    TThreeDGradientType gType_ = fgtFlat;
};

// The shape of a bevelled box, as DrawBoxEx draws it.
class TglBevel : public TPersistent {
public:
    TBevelCut Inner() const { return inner_; }
    void SetInner(TBevelCut Value);
    TBevelCut Outer() const { return outer_; }
    void SetOuter(TBevelCut Value);
    TglSides Sides() const { return sides_; }
    void SetSides(TglSides Value);
    bool Bold() const { return bold_; }
    void SetBold(bool Value);
    // One pixel per cut present for each of the left and right (top and bottom) sides present.
    Integer BordersWidth() const;
    Integer BordersHeight() const;
    TNotifyEvent OnChanged;

protected:
    void changed();

private:
    Integer bordersAcross(TglSide First, TglSide Second) const;

    TBevelCut inner_ = bvNone;
    TBevelCut outer_ = bvNone;
    TglSides sides_ = AllSides;
    bool bold_ = false;
};

class TglExtBevel : public TglBevel {
public:
    bool Active() const { return active_; }
    void SetActive(bool Value);
    TPenStyle BevelPenStyle() const { return bevelPenStyle_; }
    void SetBevelPenStyle(TPenStyle Value);
    Word BevelPenWidth() const { return bevelPenWidth_; }
    void SetBevelPenWidth(Word Value);
    Word InteriorOffset() const { return interiorOffset_; }
    void SetInteriorOffset(Word Value);

private:
    bool active_ = true;
    TPenStyle bevelPenStyle_ = psSolid;
    Word bevelPenWidth_ = 1;
    Word interiorOffset_ = 0;
};

class T2DAlign : public TPersistent {
public:
    TglHorAlign Horizontal() const { return horizontal_; }
    void SetHorizontal(TglHorAlign Value);
    TglVertAlign Vertical() const { return vertical_; }
    void SetVertical(TglVertAlign Value);
    TNotifyEvent OnChanged;

private:
    TglHorAlign horizontal_ = fhaLeft;
    TglVertAlign vertical_ = fvaTop;
};

// The offset of the shadowed and volumetric text styles.
class TIllumination : public T2DAlign {
public:
    Integer ShadowDepth() const { return shadowDepth_; }
    // Negative depths become 0.
    void SetShadowDepth(Integer Value);
    TNotifyEvent OnShadowChanged;

private:
    Integer shadowDepth_ = 2;
};

class TPointClass : public TPersistent {
public:
    Integer X() const { return x_; }
    void SetX(Integer Value);
    Integer Y() const { return y_; }
    void SetY(Integer Value);
    TNotifyEvent OnChanged;

private:
    Integer x_ = 0;
    Integer y_ = 0;
};

class TglLabelTextStyles : public TPersistent {
public:
    TglTextStyle Passive() const { return passive_; }
    void SetPassive(TglTextStyle Value);
    TglTextStyle Active() const { return active_; }
    void SetActive(TglTextStyle Value);
    TglTextStyle Disabled() const { return disabled_; }
    void SetDisabled(TglTextStyle Value);
    TNotifyEvent OnChanged;

private:
    void set(TglTextStyle& Field, TglTextStyle Value);

    TglTextStyle passive_ = fstRaised;
    TglTextStyle active_ = fstRaised;
    TglTextStyle disabled_ = fstPushed;
};

class TglCustomTextColors : public TPersistent {
public:
    TColor Text() const { return text_; }
    void SetText(TColor Value) { set(text_, Value); }
    TColor TextDisabled() const { return textDisabled_; }
    void SetTextDisabled(TColor Value) { set(textDisabled_, Value); }
    TColor Delineate() const { return delineate_; }
    void SetDelineate(TColor Value) { set(delineate_, Value); }
    TColor Background() const { return background_; }
    void SetBackground(TColor Value) { set(background_, Value); }
    TColor Highlight() const { return highlight_; }
    void SetHighlight(TColor Value) { set(highlight_, Value); }
    TColor Shadow() const { return shadow_; }
    void SetShadow(TColor Value) { set(shadow_, Value); }
    TNotifyEvent OnChanged;

private:
    // CalcShadowAndHighlightColors writes the automatic colours without notifying.
    friend void CalcShadowAndHighlightColors(TColor BaseColor, TglCustomLabelColors* Colors);
    void set(TColor& Field, TColor Value);

    TColor text_ = 0;
    TColor textDisabled_ = 0x808080;
    TColor delineate_ = 0xFFFFFF;
    TColor background_ = clBtnFace;
    TColor highlight_ = clBtnHighlight;
    TColor shadow_ = clBtnShadow;
};

class TglSimleLabelColors : public TglCustomTextColors {};

class TglCustomLabelColors : public TglCustomTextColors {
public:
    TColor TextActive() const { return textActive_; }
    void SetTextActive(TColor Value) { set(textActive_, Value); }
    TColor DelineateActive() const { return delineateActive_; }
    void SetDelineateActive(TColor Value) { set(delineateActive_, Value); }
    bool AutoHighlight() const { return autoHighlight_; }
    void SetAutoHighlight(bool Value);
    bool AutoShadow() const { return autoShadow_; }
    void SetAutoShadow(bool Value);
    Integer ColorHighlightShift() const { return colorHighlightShift_; }
    void SetColorHighlightShift(Integer Value);
    Integer ColorShadowShift() const { return colorShadowShift_; }
    void SetColorShadowShift(Integer Value);
    TColor BackgroundActive() const { return backgroundActive_; }
    void SetBackgroundActive(TColor Value) { set(backgroundActive_, Value); }
    TNotifyEvent OnLabelChanged;

protected:
    void labelChanged();

private:
    template <typename V> void set(V& Field, V Value) {
        if (Field == Value) return;
        Field = Value;
        labelChanged();
    }

    TColor textActive_ = 0;
    TColor delineateActive_ = 0xFFFFFF;
    bool autoHighlight_ = false;
    bool autoShadow_ = false;
    Integer colorHighlightShift_ = 40;
    Integer colorShadowShift_ = 60;
    TColor backgroundActive_ = clBtnFace;
};

class TglLabelColors : public TglCustomLabelColors {};

// The group box's colours: the collapsed state uses Text, Caption, Client and
// Delineate, the expanded state their Active counterparts.
class TglGrBoxColors : public TglCustomLabelColors {
public:
    TColor Caption() const { return caption_; }
    void SetCaption(TColor Value) { store(caption_, Value); }
    TColor CaptionActive() const { return captionActive_; }
    void SetCaptionActive(TColor Value) { store(captionActive_, Value); }
    TColor Client() const { return client_; }
    void SetClient(TColor Value) { store(client_, Value); }
    TColor ClientActive() const { return clientActive_; }
    void SetClientActive(TColor Value) { store(clientActive_, Value); }

private:
    // These setters notify even when the value is unchanged.
    void store(TColor& Field, TColor Value);

    TColor caption_ = clBtnFace;
    TColor captionActive_ = clBtnFace;
    TColor client_ = clBtnFace;
    TColor clientActive_ = clBtnFace;
};

// The looks of one kind of list-box item; HighlightColor and ShadowColor are
// derived from Color.
class TglCustomListBoxItemStyle : public TPersistent {
public:
    TglCustomListBoxItemStyle();
    ~TglCustomListBoxItemStyle() override;
    // Stores the notification and passes it to the owned bevel (and, in
    // descendants, to the owned gradient).
    virtual void SetOnChanged(const TNotifyEvent& Value);
    const TNotifyEvent& OnChanged() const { return onChanged_; }

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TColor DelineateColor() const { return delineateColor_; }
    void SetDelineateColor(TColor Value);
    TFont* Font() const { return font_.get(); }
    // Copies Value.
    void SetFont(TFont* Value);
    TglBevel* Bevel() const { return bevel_.get(); }
    TglTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TglTextStyle Value);
    TColor HighlightColor() const;
    TColor ShadowColor() const;

protected:
    void changed();

private:
    TNotifyEvent onChanged_;
    TColor color_ = clBtnFace;
    TColor delineateColor_ = 0xFFFFFF;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TglBevel> bevel_;
    TglTextStyle textStyle_ = fstNone;
};

class TglListBoxItemStyle : public TglCustomListBoxItemStyle {
public:
    TglListBoxItemStyle();
    ~TglListBoxItemStyle() override;
    void SetOnChanged(const TNotifyEvent& Value) override;
    TGradient* Gradient() const { return gradient_.get(); }

protected:
    // A second gradient that TglSpeedButtonStyle publishes; it does not share the notification.
    TGradient* secondGradient() const { return secondGradient_.get(); }

private:
    std::unique_ptr<TGradient> gradient_;
    std::unique_ptr<TGradient> secondGradient_;
};

class TglHintStyle : public TglListBoxItemStyle {};

class TglSpeedButtonStyle : public TglListBoxItemStyle {
public:
    TGradient* TextGradient() const { return secondGradient(); }
};

class TglAskListBoxItemStyle : public TglCustomListBoxItemStyle {
public:
    TglAskListBoxItemStyle();
    ~TglAskListBoxItemStyle() override;
    TColor BtnColor() const { return btnColor_; }
    void SetBtnColor(TColor Value);
    TFont* BtnFont() const { return btnFont_.get(); }
    // Copies Value.
    void SetBtnFont(TFont* Value);
    TglTextStyle BtnTextStyle() const { return btnTextStyle_; }
    void SetBtnTextStyle(TglTextStyle Value);

private:
    TColor btnColor_ = clBtnFace;
    std::unique_ptr<TFont> btnFont_;
    TglTextStyle btnTextStyle_ = fstNone;
};

// A bevel with the pen and colours it is drawn with.
class TglCustomBoxStyle : public TglBevel {
public:
    TPenStyle PenStyle() const { return penStyle_; }
    void SetPenStyle(TPenStyle Value) { store(penStyle_, Value); }
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor Value) { store(highlightColor_, Value); }
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor Value) { store(shadowColor_, Value); }
    TNotifyEvent OnBoxChanged;

protected:
    template <typename V> void store(V& Field, V Value) {
        Field = Value;
        if (OnBoxChanged) OnBoxChanged(this);
    }

private:
    TPenStyle penStyle_ = psSolid;
    TColor highlightColor_ = clBtnHighlight;
    TColor shadowColor_ = clBtnShadow;
};

class TglCustomTextBoxStyle : public TglCustomBoxStyle {
public:
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor Value) { store(textColor_, Value); }
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor Value) { store(backgroundColor_, Value); }

private:
    TColor textColor_ = 0;
    TColor backgroundColor_ = clWindow;
};

class TglTextBoxStyle : public TglCustomTextBoxStyle {};

// Parallel bevelled lines across a control.
class TglBevelLines : public TPersistent {
public:
    Cardinal Count() const { return count_; }
    void SetCount(Cardinal Value) { store(count_, Value); }
    Cardinal Step() const { return step_; }
    void SetStep(Cardinal Value) { store(step_, Value); }
    TglOrigin Origin() const { return origin_; }
    void SetOrigin(TglOrigin Value) { store(origin_, Value); }
    TBevelCut Style() const { return style_; }
    void SetStyle(TBevelCut Value) { store(style_, Value); }
    bool Bold() const { return bold_; }
    void SetBold(bool Value) { store(bold_, Value); }
    Byte Thickness() const { return thickness_; }
    void SetThickness(Byte Value) { store(thickness_, Value); }
    bool IgnoreBorder() const { return ignoreBorder_; }
    void SetIgnoreBorder(bool Value) { store(ignoreBorder_, Value); }
    TNotifyEvent OnChanged;

private:
    template <typename V> void store(V& Field, V Value) {
        Field = Value;
        if (OnChanged) OnChanged(this);
    }

    Cardinal count_ = 0;
    Cardinal step_ = 0;
    TglOrigin origin_ = forLeftTop;
    TBevelCut style_ = bvLowered;
    bool bold_ = false;
    Byte thickness_ = 1;
    bool ignoreBorder_ = false;
};
