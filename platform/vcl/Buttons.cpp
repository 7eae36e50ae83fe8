// The speed button: its states, the group it latches in, and how it lays out
// and draws its glyph and caption.
#include "platform/vcl/Buttons.h"

#include "platform/win/DrawText.h"
#include "platform/win/Edges.h"

namespace {

constexpr Integer DefaultWidth = 23;
constexpr Integer DefaultHeight = 22;
constexpr Integer MaxGlyphs = 4;
// The side of the checked brush that fills a latched button.
constexpr Integer PatternSize = 8;
// Only the low three bytes of a transparent colour name the colour.
constexpr TColor ColourMask = 0x00FFFFFF;

// The brush of a latched button: face and highlight pixels alternating.
std::unique_ptr<TBitmap> latchedPattern() {
    auto pattern = std::make_unique<TBitmap>();
    pattern->SetSize(PatternSize, PatternSize);
    TCanvas* canvas = pattern->Canvas();
    for (Integer y = 0; y < PatternSize; ++y)
        for (Integer x = 0; x < PatternSize; ++x)
            canvas->SetPixels(x, y, (x + y) % 2 == 0 ? ColorToRGB(clBtnFace) : ColorToRGB(clBtnHighlight));
    return pattern;
}

TRect movedBy(const TRect& Rect, Integer DX, Integer DY) {
    return {Rect.Left + DX, Rect.Top + DY, Rect.Right + DX, Rect.Bottom + DY};
}

} // namespace

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), glyph_(std::make_unique<TBitmap>()) {
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
    SetControlStyle(TControlStyle{csCaptureMouse, csDoubleClicks});
    glyph_->OnChange = TNotifyEvent(this, &TSpeedButton::glyphChanged);
}

TSpeedButton::~TSpeedButton() {
    glyph_->OnChange = nullptr;
}

// ---- Properties ------------------------------------------------------------------------

void TSpeedButton::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    if (Value)
        SetControlStyle(ControlStyle() - TControlStyle{csOpaque});
    else
        SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    Invalidate();
}

void TSpeedButton::SetGroupIndex(Integer Value) {
    if (groupIndex_ == Value) return;
    groupIndex_ = Value;
    updateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    if (Value) {
        if (state_ == bsUp) Invalidate();
        state_ = bsExclusive;
    } else {
        state_ = bsUp;
        Repaint();
    }
    if (Value) updateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
    if (allowAllUp_ == Value) return;
    allowAllUp_ = Value;
    updateExclusive();
}

void TSpeedButton::SetFlat(bool Value) {
    if (flat_ == Value) return;
    flat_ = Value;
    Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* Value) {
    glyph_->Assign(Value);
    if (!Value || Value->Height() <= 0 || Value->Width() % Value->Height() != 0) return;
    const Integer glyphs = Value->Width() / Value->Height();
    SetNumGlyphs(glyphs > MaxGlyphs ? 1 : glyphs);
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
    if (Value < 1 || Value > MaxGlyphs || Value == numGlyphs_) return;
    numGlyphs_ = Value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
    if (layout_ == Value) return;
    layout_ = Value;
    Invalidate();
}

void TSpeedButton::SetMargin(Integer Value) {
    if (margin_ == Value || Value < -1) return;
    margin_ = Value;
    Invalidate();
}

void TSpeedButton::SetSpacing(Integer Value) {
    if (spacing_ == Value) return;
    spacing_ = Value;
    Invalidate();
}

void TSpeedButton::glyphChanged(TObject*) {
    Invalidate();
}

void TSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    state_ = Enabled() ? (down_ ? bsExclusive : bsUp) : bsDisabled;
}

// ---- The group ---------------------------------------------------------------------------

void TSpeedButton::updateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TSpeedButton::buttonPressed(TMessage& Message) {
    if (Message.WParam != static_cast<WPARAM>(groupIndex_)) return;
    auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
    if (sender == this) return;
    if (sender->Down() && down_) {
        down_ = false;
        state_ = bsUp;
        Invalidate();
    }
    allowAllUp_ = sender->AllowAllUp();
}

// ---- Mouse -----------------------------------------------------------------------------------

bool TSpeedButton::pointInside(Integer X, Integer Y) {
    return X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    if (!down_) {
        state_ = bsDown;
        Invalidate();
    }
    dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    TButtonState newState = down_ ? bsExclusive : bsUp;
    if (pointInside(X, Y)) newState = down_ ? bsExclusive : bsDown;
    if (newState == state_) return;
    state_ = newState;
    Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!dragging_) return;
    dragging_ = false;
    const bool doClick = pointInside(X, Y);
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseInControl_ = mouseInControl_ && doClick;
        Invalidate();
    } else if (doClick) {
        SetDown(!down_);
        if (down_) Repaint();
    } else {
        if (down_) state_ = bsExclusive;
        Repaint();
    }
    if (doClick) Click();
}

void TSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_BUTTONPRESSED:
        buttonPressed(Message);
        break;
    case WM_LBUTTONDBLCLK:
        TGraphicControl::Dispatch(Message);
        if (down_) DblClick();
        break;
    case CM_MOUSEENTER:
        TGraphicControl::Dispatch(Message);
        if (flat_ && !mouseInControl_ && Enabled() && !GetCaptureControl()) {
            mouseInControl_ = true;
            Repaint();
        }
        break;
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(Message);
        if (flat_ && mouseInControl_ && Enabled() && !dragging_) {
            mouseInControl_ = false;
            Invalidate();
        }
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_SYSCOLORCHANGE:
        TGraphicControl::Dispatch(Message);
        Invalidate();
        break;
    default:
        TGraphicControl::Dispatch(Message);
    }
}

// ---- Layout ---------------------------------------------------------------------------------

TSpeedButton::TButtonLayoutResult TSpeedButton::CalcButtonLayout(TCanvas* ACanvas, const TRect& Client) {
    const TPoint clientSize{Client.Width(), Client.Height()};
    TPoint glyphSize{0, 0};
    if (!glyph_->Empty()) glyphSize = {glyph_->Width() / numGlyphs_, glyph_->Height()};
    TPoint textSize{0, 0};
    const AnsiString caption = Caption();
    if (!caption.empty()) {
        TRect bounds{0, 0, clientSize.x, 0};
        ACanvas->RequiredState({csHandleValid, csFontValid});
        DrawTextA(ACanvas->Handle(), caption.c_str(), -1, &bounds,
                  static_cast<UINT>(DrawTextBiDiModeFlags(DT_CALCRECT)));
        textSize = {bounds.Width(), bounds.Height()};
    }
    const bool horizontal = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    TPoint glyphPos{0, 0};
    TPoint textPos{0, 0};
    if (horizontal) {
        glyphPos.y = (clientSize.y - glyphSize.y + 1) / 2;
        textPos.y = (clientSize.y - textSize.y + 1) / 2;
    } else {
        glyphPos.x = (clientSize.x - glyphSize.x + 1) / 2;
        textPos.x = (clientSize.x - textSize.x + 1) / 2;
    }
    // Spacing means nothing without both a glyph and a caption.
    Integer spacing = (textSize.x == 0 || glyphSize.x == 0) ? 0 : spacing_;
    Integer margin = margin_;
    const Integer room = horizontal ? clientSize.x : clientSize.y;
    const Integer glyphExtent = horizontal ? glyphSize.x : glyphSize.y;
    const Integer textExtent = horizontal ? textSize.x : textSize.y;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (room - glyphExtent - textExtent) / 3;
            spacing = margin;
        } else {
            margin = (room - glyphExtent - spacing - textExtent + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (room - margin - glyphExtent - textExtent) / 2;
    }
    switch (layout_) {
    case blGlyphLeft:
        glyphPos.x = margin;
        textPos.x = glyphPos.x + glyphSize.x + spacing;
        break;
    case blGlyphRight:
        glyphPos.x = clientSize.x - margin - glyphSize.x;
        textPos.x = glyphPos.x - spacing - textSize.x;
        break;
    case blGlyphTop:
        glyphPos.y = margin;
        textPos.y = glyphPos.y + glyphSize.y + spacing;
        break;
    case blGlyphBottom:
        glyphPos.y = clientSize.y - margin - glyphSize.y;
        textPos.y = glyphPos.y - spacing - textSize.y;
        break;
    }
    const Integer textLeft = textPos.x + Client.Left;
    const Integer textTop = textPos.y + Client.Top;
    return {{glyphPos.x + Client.Left, glyphPos.y + Client.Top},
            {textLeft, textTop, textLeft + textSize.x, textTop + textSize.y}};
}

// ---- Painting ---------------------------------------------------------------------------------

void TSpeedButton::Paint() {
    if (!Enabled()) {
        state_ = bsDisabled;
        dragging_ = false;
    } else if (state_ == bsDisabled) {
        state_ = (down_ && groupIndex_ != 0) ? bsExclusive : bsUp;
    }
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    TRect paintRect{0, 0, Width(), Height()};
    paintFrame(paintRect);
    const bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (state_ == bsExclusive && (!flat_ || !mouseInControl_)) {
        std::unique_ptr<TBitmap> pattern = latchedPattern();
        canvas->Brush()->SetBitmap(pattern.get());
        canvas->FillRect(paintRect);
        canvas->Brush()->SetBitmap(nullptr);
    }
    const TPoint offset = pressed ? TPoint{1, 1} : TPoint{0, 0};
    TButtonLayoutResult layout = CalcButtonLayout(canvas, paintRect);
    drawGlyph({layout.GlyphPos.x + offset.x, layout.GlyphPos.y + offset.y});
    drawCaption(movedBy(layout.TextBounds, offset.x, offset.y));
}

// The raised or pushed frame of a button, or a flat button's thin edge.
void TSpeedButton::paintFrame(TRect& PaintRect) {
    TCanvas* canvas = Canvas();
    const bool pressed = state_ == bsDown || state_ == bsExclusive;
    canvas->RequiredState({csHandleValid});
    if (!flat_) {
        UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (pressed) flags |= DFCS_PUSHED;
        DrawFrameControl(canvas->Handle(), &PaintRect, DFC_BUTTON, flags);
        return;
    }
    if (pressed || (mouseInControl_ && state_ != bsDisabled)) {
        TRect edge = PaintRect;
        const UINT fill = transparent_ ? 0 : BF_MIDDLE;
        DrawEdge(canvas->Handle(), &edge, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, fill | BF_RECT);
    } else if (!transparent_) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(PaintRect);
    }
    PaintRect = {PaintRect.Left + 1, PaintRect.Top + 1, PaintRect.Right - 1, PaintRect.Bottom - 1};
}

void TSpeedButton::drawGlyph(const TPoint& Pos) {
    if (glyph_->Empty()) return;
    std::unique_ptr<TBitmap> made = glyphImage(state_);
    TBitmap* source = made ? made.get() : glyph_.get();
    const Integer width = glyph_->Width() / numGlyphs_;
    const Integer height = glyph_->Height();
    Integer index = static_cast<Integer>(state_);
    if (made || index >= numGlyphs_) index = 0;
    const TColor transparent = made ? ColorToRGB(clBtnFace) : (glyph_->TransparentColor() & ColourMask);
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->BrushCopy({Pos.x, Pos.y, Pos.x + width, Pos.y + height}, source,
                      {index * width, 0, (index + 1) * width, height}, transparent);
}

// A disabled button without a disabled image shows the black pixels of its up
// image embossed: highlight one pixel down and right, shadow on top.
std::unique_ptr<TBitmap> TSpeedButton::glyphImage(TButtonState State) {
    if (State != bsDisabled || numGlyphs_ > 1) return nullptr;
    const Integer width = glyph_->Width();
    const Integer height = glyph_->Height();
    auto image = std::make_unique<TBitmap>();
    image->SetSize(width, height);
    TCanvas* target = image->Canvas();
    target->Brush()->SetColor(clBtnFace);
    target->FillRect({0, 0, width, height});
    TCanvas* original = glyph_->Canvas();
    const TColor highlight = ColorToRGB(clBtnHighlight);
    const TColor shadow = ColorToRGB(clBtnShadow);
    for (TColor colour : {highlight, shadow}) {
        const Integer shift = colour == highlight ? 1 : 0;
        for (Integer y = 0; y + shift < height; ++y)
            for (Integer x = 0; x + shift < width; ++x)
                if (original->Pixels(x, y) == clBlack) target->SetPixels(x + shift, y + shift, colour);
    }
    return image;
}

void TSpeedButton::drawCaption(const TRect& TextBounds) {
    const AnsiString caption = Caption();
    if (caption.empty()) return;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    const UINT flags = static_cast<UINT>(DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER));
    auto draw = [&](TRect bounds, TColor colour) {
        canvas->Font()->SetColor(colour);
        canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
        DrawTextA(canvas->Handle(), caption.c_str(), -1, &bounds, flags);
    };
    if (state_ == bsDisabled) {
        draw(movedBy(TextBounds, 1, 1), clBtnHighlight);
        draw(TextBounds, clBtnShadow);
    } else {
        draw(TextBounds, Font()->Color());
    }
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const buttonLayoutType = DefineEnum<TButtonLayout>(
    "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});

const TClass speedButtonClass =
    DescribeClass<TSpeedButton, TGraphicControl>([](TClassBuilder<TSpeedButton>& c) {
        c.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
        c.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
        c.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
        c.Property("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
        c.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
        c.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
        c.Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
        c.Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
        c.Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
        c.Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
        c.Property("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(true);
    });

struct RegisterButtons {
    RegisterButtons() { RegisterClass(ClassOf<TSpeedButton>()); }
} registerButtons;

} // namespace
