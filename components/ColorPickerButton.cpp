// The colour picker button: its properties, painting (frame, glyph and
// caption, colour indicator, drop-down arrow), the speed-button rules of its
// main part, the drop-down of its popup and the capture window that feeds
// the popup while it is shown.
#include "components/ColorPickerButton.h"
#include "components/ColorPickerSupport.h"

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Edges.h"
#include "platform/win/Mouse.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"

#include <algorithm>

using namespace ColorPickerButton;

namespace {

constexpr Integer DefaultDropDownWidth = 15;
constexpr Integer DefaultWidth = 45;
constexpr Integer DefaultHeight = 22;
constexpr Integer HiddenPopupLeft = -1000;
constexpr Integer ArrowSize = 5;
constexpr Integer MaxNumGlyphs = 4;
constexpr UINT PushButtonFrame = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
// Mouse messages from WM_MOUSEFIRST on that the capture window hands to the popup.
constexpr UINT ForwardedMouseMessages = 10;

bool isPressed(TButtonState State) {
    return State == bsDown || State == bsExclusive;
}

// A downward triangle, Size rounded up to even: Size wide and Size / 2 high.
void drawTriangle(TCanvas* Canvas, Integer Top, Integer Left, Integer Size) {
    if (Size % 2 != 0) ++Size;
    Canvas->Polygon({TPoint{Left, Top}, TPoint{Left + Size, Top}, TPoint{Left + Size / 2, Top + Size / 2}});
}

// The one-pixel checkerboard of a down button of a group.
void fillCheckerboard(TCanvas* Canvas, const TRect& R) {
    TBitmap pattern;
    pattern.SetSize(8, 8);
    for (Integer y = 0; y < 8; ++y)
        for (Integer x = 0; x < 8; ++x)
            pattern.Canvas()->SetPixels(x, y, (x + y) % 2 == 0 ? clBtnFace : clBtnHighlight);
    Canvas->Brush()->SetBitmap(&pattern);
    Canvas->FillRect(R);
    Canvas->Brush()->SetBitmap(nullptr);
}

} // namespace

// ---- Construction ------------------------------------------------------------------------------------

TColorPickerButton::TColorPickerButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    selectionColor_ = clBlack;
    colorPopup_ = new TColorPopup(this);
    colorPopup_->SetLeft(HiddenPopupLeft);
    popupWnd_ = AllocateHWnd(TWndMethod(this, &TColorPickerButton::PopupWndProc));
    glyph_ = std::make_unique<TButtonGlyph>();
    glyph_->OnChange = TNotifyEvent(this, &TColorPickerButton::GlyphChanged);
    SetBounds(0, 0, DefaultWidth, DefaultHeight);
    dropDownWidth_ = DefaultDropDownWidth;
    SetControlStyle({csCaptureMouse, csDoubleClicks});
    SetParentFont(true);
    SetColor(clBtnFace);
    spacing_ = 4;
    margin_ = -1;
    layout_ = blGlyphLeft;
    transparent_ = true;
    indicatorBorder_ = ibFlat;
}

TColorPickerButton::~TColorPickerButton() {
    DeallocateHWnd(popupWnd_);
    glyph_.reset();
}

void TColorPickerButton::Loaded() {
    TGraphicControl::Loaded();
    glyph_->CreateButtonGlyph(Enabled() ? bsUp : bsDisabled);
}

// The image is drawn over fuchsia, which the glyph then leaves out.
void TColorPickerButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action || !Glyph()->Empty() || !action->ActionList()) return;
    TCustomImageList* images = action->ActionList()->Images();
    if (!images || action->ImageIndex() < 0 || action->ImageIndex() >= images->Count()) return;
    TBitmap glyph;
    glyph.SetSize(images->Width(), images->Height());
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect({0, 0, images->Width(), images->Height()});
    images->Draw(glyph.Canvas(), 0, 0, action->ImageIndex());
    SetGlyph(&glyph);
}

// ---- Colour and drop-down ----------------------------------------------------------------------------

void TColorPickerButton::SetSelectionColor(TColor Value) {
    if (Value == selectionColor_) return;
    selectionColor_ = Value;
    Invalidate();
    if (droppedDown_) colorPopup_->SelectColor(Value);
    if (OnChange) OnChange(this);
}

void TColorPickerButton::SetDroppedDown(bool Value) {
    if (Value == droppedDown_) return;
    bool allowed = true;
    if (OnDropChanging) OnDropChanging(this, allowed);
    if (!allowed) return;
    droppedDown_ = Value;
    if (droppedDown_) {
        state_ = bsDown;
        colorPopup_->SetSelectedColor(selectionColor_);
        colorPopup_->ShowPopup();
        SetCapture(popupWnd_);
    } else {
        state_ = bsUp;
        ReleaseCapture();
        ShowWindow(colorPopup_->Handle(), SW_HIDE);
    }
    if (OnDropChanged) OnDropChanged(this);
    Invalidate();
}

void TColorPickerButton::DoDefaultEvent() {
    if (OnDefaultSelect) OnDefaultSelect(this);
}

// While the popup is shown this window holds the mouse: every mouse message
// reaches the popup in its own client coordinates, and the framework hands
// the key-downs to the capture window.
void TColorPickerButton::PopupWndProc(TMessage& Message) {
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSEFIRST + ForwardedMouseMessages) {
        POINT point{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
        MapWindowPoints(popupWnd_, colorPopup_->Handle(), &point, 1);
        Message.LParam = MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
        colorPopup_->WindowProc(Message);
    } else if (Message.Msg == CN_KEYDOWN || Message.Msg == CN_SYSKEYDOWN) {
        colorPopup_->WindowProc(Message);
    } else {
        Message.Result = DefWindowProcA(popupWnd_, Message.Msg, Message.WParam, Message.LParam);
    }
}

// ---- Properties kept by the popup --------------------------------------------------------------------

void TColorPickerButton::afterPopupTextChange() {
    colorPopup_->AdjustWindow();
    if (droppedDown_) {
        colorPopup_->Invalidate();
        colorPopup_->ShowPopup();
    }
}

void TColorPickerButton::SetCustomText(const AnsiString& Value) {
    if (Value == colorPopup_->CustomText()) return;
    colorPopup_->SetCustomText(Value);
    if (Value.empty()) colorPopup_->DeselectCustomEntry();
    afterPopupTextChange();
}

void TColorPickerButton::SetDefaultText(const AnsiString& Value) {
    if (Value == colorPopup_->DefaultText()) return;
    colorPopup_->SetDefaultText(Value);
    afterPopupTextChange();
}

void TColorPickerButton::SetShowSystemColors(bool Value) {
    if (Value == colorPopup_->ShowSystemColors()) return;
    colorPopup_->SetShowSystemColors(Value);
    afterPopupTextChange();
}

// ---- Simple properties -------------------------------------------------------------------------------

void TColorPickerButton::SetDropDownArrowColor(TColor Value) {
    dropDownArrowColor_ = Value;
    Invalidate();
}

void TColorPickerButton::SetDropDownWidth(Integer Value) {
    dropDownWidth_ = Value;
    Invalidate();
}

void TColorPickerButton::SetLayout(TButtonLayout Value) {
    if (Value == layout_) return;
    layout_ = Value;
    Invalidate();
}

void TColorPickerButton::SetIndicatorBorder(TIndicatorBorder Value) {
    if (Value == indicatorBorder_) return;
    indicatorBorder_ = Value;
    Invalidate();
}

void TColorPickerButton::SetMargin(Integer Value) {
    if (Value == margin_ || Value < -1) return;
    margin_ = Value;
    Invalidate();
}

void TColorPickerButton::SetSpacing(Integer Value) {
    if (Value == spacing_) return;
    spacing_ = Value;
    Invalidate();
}

// A flat or transparent button lets its parent show through.
void TColorPickerButton::SetFlat(bool Value) {
    if (Value == flat_) return;
    flat_ = Value;
    SetControlStyle(Value ? ControlStyle() - TControlStyle{csOpaque} : ControlStyle() + TControlStyle{csOpaque});
    Invalidate();
}

void TColorPickerButton::SetTransparent(bool Value) {
    if (Value == transparent_) return;
    transparent_ = Value;
    SetControlStyle(Value ? ControlStyle() - TControlStyle{csOpaque} : ControlStyle() + TControlStyle{csOpaque});
    Invalidate();
}

void TColorPickerButton::SetGroupIndex(Integer Value) {
    if (Value == groupIndex_) return;
    groupIndex_ = Value;
    UpdateExclusive();
}

void TColorPickerButton::SetAllowAllUp(bool Value) {
    if (Value == allowAllUp_) return;
    allowAllUp_ = Value;
    UpdateExclusive();
}

void TColorPickerButton::SetGlyph(TBitmap* Value) {
    glyph_->SetGlyph(Value);
    Invalidate();
}

// The holder takes 1 to 4 images.
void TColorPickerButton::SetNumGlyphs(Integer Value) {
    Value = std::clamp(Value, 1, MaxNumGlyphs);
    if (Value == glyph_->NumGlyphs()) return;
    glyph_->SetNumGlyphs(Value);
    Invalidate();
}

void TColorPickerButton::GlyphChanged(TObject*) {
    Invalidate();
}

// ---- Groups ------------------------------------------------------------------------------------------

void TColorPickerButton::SetDown(bool Value) {
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    // A down button of a group is raised by pressing another one.
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    if (Value) {
        if (state_ == bsUp) Invalidate();
        state_ = bsExclusive;
        UpdateExclusive();
    } else {
        state_ = bsUp;
        Repaint();
    }
}

void TColorPickerButton::UpdateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TColorPickerButton::cmButtonPressed(TMessage& Message) {
    if (Message.WParam != static_cast<WPARAM>(groupIndex_)) return;
    auto* sender = dynamic_cast<TColorPickerButton*>(reinterpret_cast<TControl*>(Message.LParam));
    if (!sender || sender == this) return;
    if (sender->Down() && down_) {
        down_ = false;
        state_ = bsUp;
        Invalidate();
    }
    allowAllUp_ = sender->AllowAllUp();
}

// ---- Painting ----------------------------------------------------------------------------------------

void TColorPickerButton::refreshState() {
    if (!Enabled()) {
        state_ = bsDisabled;
        dragging_ = false;
    } else if (state_ == bsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? bsExclusive : bsUp;
    }
}

void TColorPickerButton::Paint() {
    refreshState();
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    TRect buttonRect{0, 0, Width(), Height()};
    if (flat_)
        drawFlatFrame(buttonRect);
    else
        drawFrame(buttonRect);
    TPoint offset{0, 0};
    if (isPressed(state_) && !dropDownZone_) {
        offset = {1, 1};
        if (state_ == bsExclusive && (!flat_ || !mouseInControl_)) fillCheckerboard(canvas, buttonRect);
    }
    const TRect indicator = glyph_->Draw(canvas, buttonRect, offset, Caption(), layout_, margin_, spacing_, state_,
                                         transparent_, dropDownWidth_, DrawTextBiDiModeFlags(0));
    drawIndicator(indicator);
    drawArrow();
}

void TColorPickerButton::drawFrame(TRect& ButtonRect) {
    HDC dc = Canvas()->Handle();
    TRect arrowRect{Width() - dropDownWidth_, 0, Width(), Height()};
    if (dropDownZone_ && droppedDown_) {
        DrawFrameControl(dc, &ButtonRect, DFC_BUTTON, PushButtonFrame);
        DrawFrameControl(dc, &arrowRect, DFC_BUTTON, PushButtonFrame | DFCS_PUSHED);
    } else if (dropDownZone_) {
        DrawFrameControl(dc, &ButtonRect, DFC_BUTTON, PushButtonFrame);
        DrawFrameControl(dc, &arrowRect, DFC_BUTTON, PushButtonFrame);
        drawSeparator(false);
    } else {
        DrawFrameControl(dc, &ButtonRect, DFC_BUTTON, PushButtonFrame | (isPressed(state_) ? DFCS_PUSHED : 0));
        drawSeparator(isPressed(state_));
    }
}

void TColorPickerButton::drawFlatFrame(TRect& ButtonRect) {
    const bool edges = isPressed(state_) || (mouseInControl_ && state_ != bsDisabled) ||
                       ComponentState().Contains(csDesigning);
    if (edges) {
        HDC dc = Canvas()->Handle();
        const UINT flags = BF_RECT | (transparent_ ? 0 : BF_MIDDLE);
        TRect arrowRect{Width() - dropDownWidth_, 0, Width(), Height()};
        TRect buttonEdge = ButtonRect;
        if (dropDownZone_ && droppedDown_) {
            DrawEdge(dc, &buttonEdge, BDR_RAISEDINNER, flags);
            DrawEdge(dc, &arrowRect, BDR_SUNKENOUTER, flags);
        } else if (dropDownZone_) {
            DrawEdge(dc, &buttonEdge, BDR_RAISEDINNER, flags);
            DrawEdge(dc, &arrowRect, BDR_RAISEDINNER, flags);
            drawSeparator(false);
        } else {
            DrawEdge(dc, &buttonEdge, isPressed(state_) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, flags);
            drawSeparator(isPressed(state_));
        }
    } else if (!transparent_) {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ButtonRect);
    }
    ButtonRect = InflatedRect(ButtonRect, -1, -1);
}

void TColorPickerButton::drawSeparator(bool Sunken) {
    TCanvas* canvas = Canvas();
    const Integer D = Width() - dropDownWidth_;
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetStyle(psSolid);
    auto line = [&](TColor Color, Integer X, Integer Top, Integer Bottom) {
        canvas->Pen()->SetColor(Color);
        canvas->Rectangle(X, Top, X + 1, Bottom);
    };
    if (Sunken) {
        line(clBtnHighlight, D + 1, 2, Height() - 2);
        line(clBtnShadow, D, 2, Height() - 2);
    } else {
        line(clBtnHighlight, D, 1, Height() - 1);
        line(clBtnShadow, D - 1, 1, Height() - 1);
    }
}

void TColorPickerButton::drawIndicator(TRect R) {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(selectionColor_);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetColor(clBtnShadow);
    switch (indicatorBorder_) {
    case ibNone:
        canvas->FillRect(R);
        break;
    case ibFlat:
        canvas->Rectangle(R);
        break;
    case ibSunken:
    case ibRaised:
        DrawEdge(canvas->Handle(), &R, indicatorBorder_ == ibSunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        R = InflatedRect(R, -1, -1);
        canvas->FillRect(R);
        break;
    }
}

void TColorPickerButton::drawArrow() {
    TCanvas* canvas = Canvas();
    if (state_ == bsDisabled) {
        canvas->Pen()->SetStyle(psClear);
        canvas->Brush()->SetColor(clBtnShadow);
    } else {
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetColor(dropDownArrowColor_);
        canvas->Brush()->SetColor(dropDownArrowColor_);
    }
    const Integer arrowX = Width() - dropDownWidth_ + (dropDownWidth_ + 5) / 2 - 6;
    const bool pushed = (dropDownZone_ && droppedDown_) || (state_ == bsDown && !dropDownZone_);
    const Integer shift = pushed ? 1 : 0;
    drawTriangle(canvas, Height() / 2 + shift, arrowX + shift, ArrowSize);
}

// ---- Mouse -------------------------------------------------------------------------------------------

void TColorPickerButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    dropDownZone_ = X > Width() - dropDownWidth_;
    if (dropDownZone_) {
        if (!droppedDown_) {
            Update();
            SetDroppedDown(true);
        }
        dragging_ = false;
    } else {
        if (!down_) {
            state_ = bsDown;
            Invalidate();
        }
        dragging_ = true;
    }
}

void TColorPickerButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    TButtonState newState = down_ ? bsExclusive : bsUp;
    if (X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight()) newState = down_ ? bsExclusive : bsDown;
    if (newState == state_) return;
    state_ = newState;
    Invalidate();
}

void TColorPickerButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!dragging_) return;
    dragging_ = false;
    // The row just below the button counts as inside.
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseInControl_ = false;
        if (inside) Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_) Repaint();
    } else {
        if (down_) state_ = bsExclusive;
        Repaint();
    }
    if (inside) Click();
    UpdateTracking();
}

void TColorPickerButton::UpdateTracking() {
    if (!flat_ || !Enabled()) return;
    POINT cursor;
    GetCursorPos(&cursor);
    const bool over = FindDragTarget({cursor.x, cursor.y}, true) == this;
    // Preset to the opposite so that the handler changes it.
    mouseInControl_ = !over;
    Perform(over ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

// ---- Messages ----------------------------------------------------------------------------------------

void TColorPickerButton::wmLButtonDblClk(TMessage& Message) {
    TGraphicControl::Dispatch(Message);
    if (down_) DblClick();
}

void TColorPickerButton::cmEnabledChanged(TMessage&) {
    glyph_->CreateButtonGlyph(Enabled() ? bsUp : bsDisabled);
    UpdateTracking();
    Repaint();
}

void TColorPickerButton::cmDialogChar(TMessage& Message) {
    if (IsAccel(TWMKey(Message).CharCode(), Caption()) && Enabled() && Visible() && Parent() &&
        Parent()->Showing()) {
        Click();
        Message.Result = 1;
    } else {
        TGraphicControl::Dispatch(Message);
    }
}

void TColorPickerButton::cmSysColorChange(TMessage&) {
    glyph_->Invalidate();
    glyph_->CreateButtonGlyph(state_);
}

void TColorPickerButton::cmMouseEnter(TMessage& Message) {
    TGraphicControl::Dispatch(Message);
    if (flat_ && !mouseInControl_ && Enabled()) {
        mouseInControl_ = true;
        Repaint();
    }
}

void TColorPickerButton::cmMouseLeave(TMessage& Message) {
    TGraphicControl::Dispatch(Message);
    if (flat_ && mouseInControl_ && Enabled() && !dragging_) {
        mouseInControl_ = false;
        Invalidate();
    }
}

void TColorPickerButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
        wmLButtonDblClk(Message);
        break;
    case CM_ENABLEDCHANGED:
        cmEnabledChanged(Message);
        break;
    case CM_BUTTONPRESSED:
        cmButtonPressed(Message);
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case CM_SYSCOLORCHANGE:
        cmSysColorChange(Message);
        break;
    case CM_MOUSEENTER:
        cmMouseEnter(Message);
        break;
    case CM_MOUSELEAVE:
        cmMouseLeave(Message);
        break;
    default:
        TGraphicControl::Dispatch(Message);
    }
}

// ---- Published properties ----------------------------------------------------------------------------

namespace {

const TTypeInfo* const buttonLayoutType =
    DefineEnum<TButtonLayout>("TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
const TTypeInfo* const indicatorBorderType =
    DefineEnum<TIndicatorBorder>("TIndicatorBorder", {"ibNone", "ibFlat", "ibSunken", "ibRaised"});

const TClass colorPickerButtonClass =
    DescribeClass<TColorPickerButton, TGraphicControl>([](TClassBuilder<TColorPickerButton>& c) {
        using B = TColorPickerButton;
        c.Property("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp).Default(false);
        c.Property("Caption", &B::Caption, &B::SetCaption);
        c.Property("CustomText", &B::CustomText, &B::SetCustomText);
        c.Property("DefaultText", &B::DefaultText, &B::SetDefaultText);
        c.Property("Down", &B::Down, &B::SetDown).Default(false);
        c.Property("DropDownArrowColor", &B::DropDownArrowColor, &B::SetDropDownArrowColor)
            .Type(TypeInfoColor())
            .Default(clBlack);
        c.Property("DropDownWidth", &B::DropDownWidth, &B::SetDropDownWidth).Default(DefaultDropDownWidth);
        c.Property("Flat", &B::Flat, &B::SetFlat).Default(false);
        c.Property("Glyph", &B::Glyph, &B::SetGlyph);
        c.Property("GroupIndex", &B::GroupIndex, &B::SetGroupIndex).Default(0);
        c.Property("IndicatorBorder", &B::IndicatorBorder, &B::SetIndicatorBorder).Default(ibFlat);
        c.Property("Layout", &B::Layout, &B::SetLayout).Default(blGlyphLeft);
        c.Property("Margin", &B::Margin, &B::SetMargin).Default(-1);
        c.Property("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs).Default(1);
        c.Property("PopupSpacing", &B::PopupSpacing, &B::SetPopupSpacing);
        c.Property("SelectionColor", &B::SelectionColor, &B::SetSelectionColor)
            .Type(TypeInfoColor())
            .Default(clBlack);
        c.Property("ShowSystemColors", &B::ShowSystemColors, &B::SetShowSystemColors);
        c.Property("Spacing", &B::Spacing, &B::SetSpacing).Default(4);
        c.Property("Transparent", &B::Transparent, &B::SetTransparent).Default(true);
        c.Property("OnChange", &B::OnChange, &B::OnChange);
        c.Property("OnDefaultSelect", &B::OnDefaultSelect, &B::OnDefaultSelect);
        c.Property("OnDropChanged", &B::OnDropChanged, &B::OnDropChanged);
        c.Property("OnDropChanging", &B::OnDropChanging, &B::OnDropChanging);
        c.Property("OnHint", &B::OnHint, &B::OnHint);
    });

struct RegisterColorPickerButton {
    RegisterColorPickerButton() { RegisterClass(colorPickerButtonClass); }
} registerColorPickerButton;

} // namespace
