// The collapsible group box: painting, collapsing and the mouse.
#include "gl/glGrBox.h"

#include "gl/glCommCl.h"
#include "gl/glUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ScrollBoxes.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"

#include <algorithm>

namespace {

// The character set the box's font starts with. Our 8-bit text is always
// drawn through code page 1252, so a translated caption keeps its accented
// letters whatever the character set says.
constexpr TFontCharset RussianCharset = 204;
constexpr Integer DefaultCaptionShiftX = 8;
constexpr Integer DefaultShadowDepth = 2;
constexpr Integer GlyphTextGap = 2;
constexpr Integer BevelCutWidth = 2;
constexpr Integer DelineatedExtra = 2;
constexpr Integer StyledTextExtra = 2;

Integer captionBevelWidth(const TglBevel& Bevel) {
    Integer width = 0;
    for (TBevelCut cut : {Bevel.Inner(), Bevel.Outer()})
        if (cut != bvNone) width += BevelCutWidth + (Bevel.Bold() ? 1 : 0);
    return width;
}

} // namespace

TglGroupBox::TglGroupBox(TComponent* AOwner)
    : TCustomGroupBox(AOwner), border_(std::make_unique<TglBevel>()),
      captionBorder_(std::make_unique<TglBevel>()), gradient_(std::make_unique<TGradient>()),
      captionGradient_(std::make_unique<TGradient>()), colors_(std::make_unique<TglGrBoxColors>()),
      illumination_(std::make_unique<TIllumination>()), captionShift_(std::make_unique<TPointClass>()) {
    for (TglBevel* bevel : {border_.get(), captionBorder_.get()}) {
        bevel->SetInner(bvSpace);
        bevel->SetOuter(bvNone);
    }
    captionGradient_->SetFromColor(clGray);
    captionGradient_->SetToColor(clBlack);
    gradient_->SetFromColor(clBlack);
    gradient_->SetToColor(clGray);
    captionShift_->SetX(DefaultCaptionShiftX);
    captionShift_->SetY(0);
    illumination_->SetShadowDepth(DefaultShadowDepth);
    colors_->SetCaption(clBtnShadow);
    colors_->SetCaptionActive(clBtnShadow);
    colors_->SetText(clHighlightText);
    colors_->SetTextActive(clHighlightText);
    colors_->SetClient(clBtnFace);
    colors_->SetClientActive(clBtnFace);
    colors_->SetDelineate(clWhite);
    colors_->SetDelineateActive(clWhite);
    colors_->SetHighlight(clBtnHighlight);
    colors_->SetShadow(clBtnShadow);
    Font()->SetCharset(RussianCharset);
    const TNotifyEvent changed(this, &TglGroupBox::SmthChanged);
    border_->OnChanged = changed;
    captionBorder_->OnChanged = changed;
    gradient_->OnChanged = changed;
    captionGradient_->OnChanged = changed;
    colors_->OnLabelChanged = changed;
    illumination_->OnShadowChanged = changed;
    captionShift_->OnChanged = changed;
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

TglGroupBox::~TglGroupBox() = default;

bool TglGroupBox::loading() const {
    return ComponentState().Contains(csLoading);
}

void TglGroupBox::SmthChanged(TObject*) {
    Invalidate();
}

// ---- Properties -------------------------------------------------------------------------------

void TglGroupBox::SetCaptionAlignment(TCaptionAlignment Value) {
    if (captionAlignment_ == Value) return;
    captionAlignment_ = Value;
    Invalidate();
}

void TglGroupBox::SetCaptionTextStyle(TglTextStyle Value) {
    if (captionTextStyle_ == Value) return;
    captionTextStyle_ = Value;
    Invalidate();
}

void TglGroupBox::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    RecreateWnd();
}

void TglGroupBox::SetTransparentCaption(bool Value) {
    if (transparentCaption_ == Value) return;
    transparentCaption_ = Value;
    RecreateWnd();
}

void TglGroupBox::SetOptions(TglGrBoxOptions Value) {
    if (options_ == Value) return;
    options_ = Value;
    if (Parent()) CalcShadowAndHighlightColors(Parent()->Brush()->Color(), colors_.get());
    Invalidate();
}

void TglGroupBox::SetCollapsed(bool Value) {
    if (collapsed_ == Value) return;
    if (Value && !options_.Contains(fgoCanCollapse)) return;
    collapsed_ = Value;
    if (!loading()) Collapse_(Value);
}

void TglGroupBox::SetGroupIndex(Integer Value) {
    if (groupIndex_ == Value) return;
    groupIndex_ = Value;
    if (loading() || collapsed_ || Value == 0) return;
    for (TglGroupBox* mate : groupMates())
        mate->SetCollapsed(true);
}

void TglGroupBox::SetEnabled(bool Value) {
    TCustomGroupBox::SetEnabled(Value);
    for (Integer index = 0; index < ControlCount(); ++index)
        Controls(index)->SetEnabled(Value);
}

TBitmap* TglGroupBox::GlyphCollapsed() {
    if (!glyphCollapsed_) glyphCollapsed_ = std::make_unique<TBitmap>();
    return glyphCollapsed_.get();
}

TBitmap* TglGroupBox::GlyphExpanded() {
    if (!glyphExpanded_) glyphExpanded_ = std::make_unique<TBitmap>();
    return glyphExpanded_.get();
}

void TglGroupBox::setGlyph(std::unique_ptr<TBitmap>& Glyph, TBitmap* Value) {
    Glyph = std::make_unique<TBitmap>();
    Glyph->Assign(Value);
    Invalidate();
}

void TglGroupBox::SetGlyphCollapsed(TBitmap* Value) {
    setGlyph(glyphCollapsed_, Value);
}

void TglGroupBox::SetGlyphExpanded(TBitmap* Value) {
    setGlyph(glyphExpanded_, Value);
}

// ---- Streaming --------------------------------------------------------------------------------

void TglGroupBox::DefineProperties(TFiler* Filer) {
    TCustomGroupBox::DefineProperties(Filer);
    Filer->DefineProperty("FullHeight", TReaderProc(this, &TglGroupBox::ReadFullHeight),
                          TWriterProc(this, &TglGroupBox::WriteFullHeight), true);
}

void TglGroupBox::ReadFullHeight(TReader* Reader) {
    fullHeight_ = Reader->ReadInteger();
}

void TglGroupBox::WriteFullHeight(TWriter* Writer) {
    Writer->WriteInteger(fullHeight_);
}

// ---- Collapsing -------------------------------------------------------------------------------

std::vector<TglGroupBox*> TglGroupBox::groupMates() const {
    std::vector<TglGroupBox*> mates;
    if (!Owner()) return mates;
    for (Integer index = 0; index < Owner()->ComponentCount(); ++index) {
        auto* box = dynamic_cast<TglGroupBox*>(Owner()->Components(index));
        if (box && box != this && box->groupIndex_ == groupIndex_) mates.push_back(box);
    }
    return mates;
}

std::vector<TControl*> TglGroupBox::ownedChildren() const {
    std::vector<TControl*> children;
    if (!Owner()) return children;
    for (Integer index = 0; index < Owner()->ComponentCount(); ++index) {
        auto* control = dynamic_cast<TControl*>(Owner()->Components(index));
        if (control && control->Parent() == this) children.push_back(control);
    }
    return children;
}

void TglGroupBox::Collapse(bool ACollapse) {
    if (loading()) return;
    if (ACollapse) {
        if (Align() == alClient) return;
        if (groupIndex_ != 0 && options_.Contains(fgoOneAlwaysExpanded)) {
            auto mates = groupMates();
            if (std::none_of(mates.begin(), mates.end(), [](TglGroupBox* mate) { return !mate->collapsed_; }))
                return;
        }
    } else if (groupIndex_ != 0 && options_.Contains(fgoCollapseOther)) {
        for (TglGroupBox* mate : groupMates())
            mate->SetCollapsed(true);
    }
    Collapse_(ACollapse);
    const TNotifyEvent& event = ACollapse ? OnCollapsed : OnExpanded;
    if (event) event(this);
}

void TglGroupBox::Collapse_(bool ACollapse) {
    if (Align() == alClient) return;
    collapsed_ = ACollapse;
    const bool resizeParent = options_.Contains(fgoResizeParent) && Parent();
    const bool hideChildren = options_.Contains(fgoHideChildrenWhenCollapsed);
    if (ACollapse) {
        fullHeight_ = Height();
        if (resizeParent) Parent()->SetHeight(Parent()->Height() - (fullHeight_ - captionRect_.Bottom));
        SetHeight(captionRect_.Bottom + 1);
        if (!hideChildren && !options_.Contains(fgoSaveChildFocus)) return;
        for (TControl* child : ownedChildren()) {
            if (options_.Contains(fgoSaveChildFocus)) rememberFocusedChild(child);
            if (hideChildren) child->Hide();
        }
        return;
    }
    if (resizeParent) Parent()->SetHeight(Parent()->Height() + (fullHeight_ - captionRect_.Bottom));
    SetHeight(fullHeight_);
    if (hideChildren)
        for (TControl* child : ownedChildren())
            child->Show();
    focusRememberedChild();
}

void TglGroupBox::rememberFocusedChild(TControl* Child) {
    auto* windowed = dynamic_cast<TWinControl*>(Child);
    if (!windowed || !windowed->Focused()) return;
    focusedChild_ = windowed;
    // The child may go away while the box is collapsed.
    focusedChild_->FreeNotification(this);
}

void TglGroupBox::focusRememberedChild() {
    if (!focusedChild_) return;
    try {
        focusedChild_->SetFocus();
    } catch (const Exception&) {
        // A child that cannot take the focus (hidden, disabled, on a hidden
        // form) leaves the focus where it is; the box stays expanded.
    }
}

void TglGroupBox::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomGroupBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusedChild_) focusedChild_ = nullptr;
}

// ---- Window -----------------------------------------------------------------------------------

void TglGroupBox::AdjustClientRect(TRect& Rect) {
    TCustomGroupBox::AdjustClientRect(Rect);
    Rect.Top += 1;
}

void TglGroupBox::CreateParams(TCreateParams& Params) {
    TCustomGroupBox::CreateParams(Params);
    if (transparent_ || transparentCaption_) Params.ExStyle |= WS_EX_TRANSPARENT;
}

// ---- Painting ---------------------------------------------------------------------------------

void TglGroupBox::Paint() {
    const bool expanded = !collapsed_;
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    const AnsiString caption = Caption();
    const Integer textHeight = canvas->TextHeight(caption);
    canvas->RequiredState({csHandleValid, csFontValid});
    HDC dc = canvas->Handle();
    TRect frame{0, (textHeight - captionShift_->Y()) / 2, Width(), Height()};
    if (gradient_->Active()) GradientBox(dc, frame, gradient_.get(), PS_SOLID, 1);
    --frame.Right;
    --frame.Bottom;
    DrawBoxEx(dc, frame, border_->Sides(), border_->Inner(), border_->Outer(), border_->Bold(),
              expanded ? colors_->ClientActive() : colors_->Client(), gradient_->Active() || transparent_);
    if (!caption.empty()) paintCaption(dc, caption, textHeight);
    if (AfterPaint) AfterPaint(this);
}

TRect TglGroupBox::layOutCaption(HDC DC, const AnsiString& Caption, Integer TextHeight, Integer GlyphWidth) {
    TRect place{captionShift_->X(), 0, 0, TextHeight - captionShift_->Y()};
    DrawTextA(DC, Caption.c_str(), static_cast<int>(Caption.size()), &place, DT_CALCRECT | DT_SINGLELINE);
    place.Right += GlyphTextGap + GlyphWidth;
    const Integer bevelWidth = captionBevelWidth(*captionBorder_);
    place.Right += bevelWidth;
    place.Bottom += bevelWidth;
    const Integer width = place.Width();
    switch (captionAlignment_) {
    case fcaNone:
        break;
    case fcaLeft:
        place.Left = 0;
        place.Right = width;
        break;
    case fcaRight:
        place.Left = Width() - width - 1;
        place.Right = place.Left + width;
        break;
    case fcaCenter:
        place.Left = (Width() - width) / 2;
        place.Right = place.Left + width;
        break;
    case fcaWidth:
        place.Left = 0;
        place.Right = Width() - 1;
        break;
    }
    const bool delineated = options_.Contains(fgoDelineatedText);
    if (delineated) place.Bottom += DelineatedExtra;
    if (captionTextStyle_ == fstShadow)
        place.Bottom += illumination_->ShadowDepth() - (delineated ? DelineatedExtra : 0);
    else if (captionTextStyle_ != fstNone)
        place.Bottom += StyledTextExtra;
    return place;
}

void TglGroupBox::paintCaption(HDC DC, const AnsiString& Caption, Integer TextHeight) {
    const bool expanded = !collapsed_;
    Integer glyphWidth = 0;
    for (const auto* glyph : {glyphCollapsed_.get(), glyphExpanded_.get()})
        if (glyph) glyphWidth = std::max(glyphWidth, glyph->Width());
    const TRect place = layOutCaption(DC, Caption, TextHeight, glyphWidth);
    if (!transparentCaption_) {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colors_->Caption())));
        FillRect(DC, &place, brush);
        DeleteObject(brush);
    }
    GradientBox(DC, place, captionGradient_.get(), PS_SOLID, 1);
    captionRect_ = place;
    const TRect inner =
        DrawBoxEx(DC, place, captionBorder_->Sides(), captionBorder_->Inner(), captionBorder_->Outer(),
                  captionBorder_->Bold(), expanded ? colors_->CaptionActive() : colors_->Caption(),
                  transparentCaption_ || !options_.Contains(fgoFilledCaption));
    if (transparent_) SetBkMode(DC, TRANSPARENT);
    paintGlyph(DC, inner);
    ExtTextOutExt(DC, inner.Left + glyphWidth + GlyphTextGap, inner.Top, inner, Caption,
                  IIF(Enabled(), captionTextStyle_, fstPushed), options_.Contains(fgoDelineatedText), false,
                  expanded ? colors_->TextActive() : colors_->Text(),
                  expanded ? colors_->DelineateActive() : colors_->Delineate(), colors_->Highlight(),
                  colors_->Shadow(), illumination_.get(), nullptr, Canvas()->Font());
}

// Left-aligned in the caption's inner box and centred vertically, its own
// bottom-left pixel taken as transparent.
void TglGroupBox::paintGlyph(HDC DC, const TRect& Inner) {
    TBitmap* glyph = collapsed_ ? glyphCollapsed_.get() : glyphExpanded_.get();
    if (!glyph || glyph->Empty()) return;
    const TColor transparentColor = glyph->Canvas()->Pixels(0, glyph->Height() - 1);
    CreateBitmapExt(DC, glyph, Inner, 0, std::max(0, (Inner.Height() - glyph->Height()) / 2), fwoNone,
                    Enabled() ? fdsDefault : fdsDisabled, true, transparentColor, 0);
}

// ---- Mouse ------------------------------------------------------------------------------------

void TglGroupBox::mouseDown(TMessage& Message) {
    TCustomGroupBox::Dispatch(Message);
    if (options_.Contains(fgoIgnoreMouse)) return;
    const TPoint point = TWMMouse(Message).Pos();
    if (options_.Contains(fgoCanCollapse) && RectContains(captionRect_, point)) return Collapse(!collapsed_);
    Screen->SetCursor(crHandPoint);
    dragOriginY_ = point.y;
    dragging_ = true;
}

// Dragging below the caption scrolls a scroll box the box lies on.
void TglGroupBox::mouseMove(TMessage& Message) {
    auto* scrollBox = dynamic_cast<TScrollBox*>(Parent());
    if (dragging_ && scrollBox) {
        TControlScrollBar* bar = scrollBox->VertScrollBar();
        bar->SetPosition(bar->Position() + dragOriginY_ - TWMMouse(Message).YPos());
    }
    TCustomGroupBox::Dispatch(Message);
}

void TglGroupBox::mouseUp(TMessage& Message) {
    TCustomGroupBox::Dispatch(Message);
    if (options_.Contains(fgoIgnoreMouse)) return;
    dragging_ = false;
    Screen->SetCursor(crDefault);
}

void TglGroupBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        return mouseDown(Message);
    case WM_MOUSEMOVE:
        return mouseMove(Message);
    case WM_LBUTTONUP:
        return mouseUp(Message);
    default:
        return TCustomGroupBox::Dispatch(Message);
    }
}

// ---- Published properties ---------------------------------------------------------------------

namespace {

const TTypeInfo* const captionAlignmentType = DefineEnum<TCaptionAlignment>(
    "TCaptionAlignment", {"fcaNone", "fcaLeft", "fcaRight", "fcaCenter", "fcaWidth"});
const TTypeInfo* const optionType = DefineEnum<TglGrBoxOptions_>(
    "TglGrBoxOptions_",
    {"fgoCanCollapse", "fgoCollapseOther", "fgoFilledCaption", "fgoFluentlyCollapse", "fgoFluentlyExpand",
     "fgoResizeParent", "fgoHideChildrenWhenCollapsed", "fgoIgnoreMouse", "fgoDelineatedText",
     "fgoBufferedDraw", "fgoOneAlwaysExpanded", "fgoSaveChildFocus"});

const TClass groupBoxClass = DescribeClass<TglGroupBox, TCustomGroupBox>([](TClassBuilder<TglGroupBox>& c) {
    using T = TglGroupBox;
    c.Property("Border", &T::Border);
    c.Property("CaptionAlignment", &T::CaptionAlignment, &T::SetCaptionAlignment).Default(fcaNone);
    c.Property("CaptionBorder", &T::CaptionBorder);
    c.Property("CaptionGradient", &T::CaptionGradient);
    c.Property("CaptionShift", &T::CaptionShift);
    c.Property("CaptionTextStyle", &T::CaptionTextStyle, &T::SetCaptionTextStyle).Default(fstNone);
    c.Property("Collapsed", &T::Collapsed, &T::SetCollapsed).Default(false);
    c.Property("Colors", &T::Colors);
    c.Property("Gradient", &T::Gradient);
    c.Property("Illumination", &T::Illumination);
    c.Property("Options", &T::Options, &T::SetOptions);
    c.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(false);
    c.Property("TransparentCaption", &T::TransparentCaption, &T::SetTransparentCaption).Default(false);
    c.Property("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).Default(0);
    c.Property("GlyphCollapsed", &T::GlyphCollapsed, &T::SetGlyphCollapsed).Stored(&T::HasGlyphCollapsed);
    c.Property("GlyphExpanded", &T::GlyphExpanded, &T::SetGlyphExpanded).Stored(&T::HasGlyphExpanded);
    c.Property("AfterPaint", &T::AfterPaint, &T::AfterPaint);
    c.Property("OnCollapsed", &T::OnCollapsed, &T::OnCollapsed);
    c.Property("OnExpanded", &T::OnExpanded, &T::OnExpanded);
});

struct RegisterGroupBox {
    RegisterGroupBox() { RegisterClass(groupBoxClass); }
} registerGroupBox;

} // namespace
