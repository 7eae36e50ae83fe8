#include "platform/vcl/ExtCtrls.h"

#include "platform/vcl/Forms.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Painting.h"
#include "platform/win/Blit.h"
#include "platform/win/Timers.h"

#include <algorithm>

namespace {

constexpr const char* SNoTimers = "Not enough timers available";
constexpr UINT_PTR TimerId = 1;

} // namespace

TTimer::TTimer(TComponent* AOwner)
    : TComponent(AOwner), windowHandle_(AllocateHWnd(TWndMethod(this, &TTimer::WndProc))) {}

TTimer::~TTimer() {
    enabled_ = false;
    KillTimer(windowHandle_, TimerId);
    DeallocateHWnd(windowHandle_);
}

void TTimer::SetEnabled(bool Value) {
    if (enabled_ == Value) return;
    enabled_ = Value;
    updateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
    if (interval_ == Value) return;
    interval_ = Value;
    updateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
    onTimer_ = Value;
    updateTimer();
}

void TTimer::updateTimer() {
    KillTimer(windowHandle_, TimerId);
    if (interval_ != 0 && enabled_ && onTimer_ && !SetTimer(windowHandle_, TimerId, interval_, nullptr))
        throw EOutOfResources(SNoTimers);
}

void TTimer::Timer() {
    if (onTimer_) onTimer_(this);
}

// A handler's exception is shown and the timer keeps running.
void TTimer::WndProc(TMessage& Message) {
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProcA(windowHandle_, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        Timer();
    } catch (...) {
        Application->HandleException(this);
    }
}

namespace {

const TClass timerClass = DescribeClass<TTimer, TComponent>([](TClassBuilder<TTimer>& c) {
    c.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    c.Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
    c.Property("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
});

struct RegisterTimerClass {
    RegisterTimerClass() { RegisterClass(ClassOf<TTimer>()); }
} registerTimerClass;

} // namespace

// ---- TCustomPanel ------------------------------------------------------------------------

namespace {

constexpr Integer MaximumColumns = 16;
// The radio group's buttons sit this far in from the left and share the width less this.
constexpr Integer GroupButtonIndent = 8;
constexpr Integer GroupButtonMargin = 10;
constexpr Integer GroupBottomMargin = 5;

UINT panelTextFormat(TAlignment Alignment) {
    switch (Alignment) {
    case taLeftJustify:
        return DT_LEFT;
    case taRightJustify:
        return DT_RIGHT;
    default:
        return DT_CENTER;
    }
}

// Top and bottom colours of a bevel: a lowered one has the shadow on top.
std::pair<TColor, TColor> bevelColours(TBevelCut Cut) {
    if (Cut == bvLowered) return {clBtnShadow, clBtnHighlight};
    return {clBtnHighlight, clBtnShadow};
}

} // namespace

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                                  csDoubleClicks, csReplicatable});
    SetBounds(Left(), Top(), 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
    if (bevelInner_ == Value) return;
    bevelInner_ = Value;
    changed();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
    if (bevelOuter_ == Value) return;
    bevelOuter_ = Value;
    changed();
}

void TCustomPanel::SetBevelWidth(Integer Value) {
    if (bevelWidth_ == Value) return;
    bevelWidth_ = Value;
    changed();
}

void TCustomPanel::SetBorderWidth(Integer Value) {
    if (borderWidth_ == Value) return;
    borderWidth_ = Value;
    changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (borderStyle_ == bsSingle) {
        if (Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// A panel that sizes itself wraps its visible children; aligned to an edge it
// keeps the length the alignment gives it and fits only across.
bool TCustomPanel::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
    if (Align() == alClient || ControlCount() == 0) return false;
    TRect content = ClientRect();
    AdjustClientRect(content);
    Integer right = content.Left;
    Integer bottom = content.Top;
    for (Integer i = 0; i < ControlCount(); ++i) {
        const TControl* child = Controls(i);
        if (!child->Visible()) continue;
        right = std::max(right, child->Left() + child->Width());
        bottom = std::max(bottom, child->Top() + child->Height());
    }
    if (Align() == alNone || Align() == alLeft || Align() == alRight) NewWidth = right + Width() - content.Right;
    if (Align() == alNone || Align() == alTop || Align() == alBottom) NewHeight = bottom + Height() - content.Bottom;
    return true;
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
    TCustomControl::AdjustClientRect(Rect);
    Integer inset = borderWidth_;
    if (bevelOuter_ != bvNone) inset += bevelWidth_;
    if (bevelInner_ != bvNone) inset += bevelWidth_;
    Rect = {Rect.Left + inset, Rect.Top + inset, Rect.Right - inset, Rect.Bottom - inset};
}

TRect TCustomPanel::PaintFrame() {
    TCanvas* canvas = TCustomControl::Canvas();
    TRect rect = ClientRect();
    if (bevelOuter_ != bvNone) {
        auto [top, bottom] = bevelColours(bevelOuter_);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, rect, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) {
        auto [top, bottom] = bevelColours(bevelInner_);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    return rect;
}

void TCustomPanel::Paint() {
    TCanvas* canvas = TCustomControl::Canvas();
    TRect rect = PaintFrame();
    Integer fontHeight = canvas->TextHeight("W");
    rect.Top = (rect.Top + rect.Bottom - fontHeight) / 2;
    rect.Bottom = rect.Top + fontHeight;
    AnsiString caption = Caption();
    canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(canvas->Handle(), caption.c_str(), -1, &rect, CaptionFormat());
}

UINT TCustomPanel::CaptionFormat() const {
    return static_cast<UINT>(DrawTextBiDiModeFlags(DT_EXPANDTABS | DT_VCENTER | panelTextFormat(alignment_)));
}

void TCustomPanel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    case CM_CTL3DCHANGED:
        TCustomControl::Dispatch(Message);
        if (borderStyle_ == bsSingle) RecreateWnd();
        break;
    default:
        TCustomControl::Dispatch(Message);
    }
}

// ---- TBevel ------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(Left(), Top(), 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    if (shape_ == Value) return;
    shape_ = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = TGraphicControl::Canvas();
    TColor dark = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor light = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    Integer right = Width() - 1;
    Integer bottom = Height() - 1;
    auto line = [canvas](TColor Colour, TPoint From, TPoint To) {
        canvas->Pen()->SetColor(Colour);
        canvas->MoveTo(From.x, From.y);
        canvas->LineTo(To.x, To.y);
    };
    // Top and left in one colour, bottom and right in the other.
    auto box = [&](TRect Box, TColor TopLeft, TColor BottomRight) {
        canvas->Pen()->SetColor(TopLeft);
        canvas->Polyline({{Box.Left, Box.Bottom}, {Box.Left, Box.Top}, {Box.Right, Box.Top}});
        canvas->Pen()->SetColor(BottomRight);
        canvas->Polyline({{Box.Right, Box.Top}, {Box.Right, Box.Bottom}, {Box.Left - 1, Box.Bottom}});
    };
    canvas->Pen()->SetWidth(1);
    switch (shape_) {
    case bsBox:
        box({0, 0, right, bottom}, dark, light);
        break;
    case bsFrame:
        box({1, 1, right, bottom}, light, light);
        box({0, 0, right - 1, bottom - 1}, dark, dark);
        break;
    case bsTopLine:
        line(dark, {0, 0}, {Width(), 0});
        line(light, {0, 1}, {Width(), 1});
        break;
    case bsBottomLine:
        line(dark, {0, bottom - 1}, {Width(), bottom - 1});
        line(light, {0, bottom}, {Width(), bottom});
        break;
    case bsLeftLine:
        line(dark, {0, 0}, {0, Height()});
        line(light, {1, 0}, {1, Height()});
        break;
    case bsRightLine:
        line(dark, {right - 1, 0}, {right - 1, Height()});
        line(light, {right, 0}, {right, Height()});
        break;
    case bsSpacer:
        break;
    }
}

// ---- TShape ------------------------------------------------------------------------------

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(Left(), Top(), 65, 65);
    pen_->OnChange = TNotifyEvent(this, &TShape::styleChanged);
    brush_->OnChange = TNotifyEvent(this, &TShape::styleChanged);
}

TShape::~TShape() {
    pen_->OnChange = nullptr;
    brush_->OnChange = nullptr;
}

void TShape::styleChanged(TObject*) {
    Invalidate();
}

void TShape::SetShape(TShapeType Value) {
    if (shape_ == Value) return;
    shape_ = Value;
    Invalidate();
}

// The pen's width lies inside the control; squares and circles take the
// shorter side and sit in the middle.
void TShape::Paint() {
    TCanvas* canvas = TGraphicControl::Canvas();
    canvas->SetPen(pen_.get());
    canvas->SetBrush(brush_.get());
    Integer penWidth = pen_->Width();
    Integer x = penWidth / 2;
    Integer y = x;
    Integer width = Width() - penWidth + 1;
    Integer height = Height() - penWidth + 1;
    if (penWidth == 0) {
        --width;
        --height;
    }
    Integer side = std::min(width, height);
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        x += (width - side) / 2;
        y += (height - side) / 2;
        width = side;
        height = side;
    }
    switch (shape_) {
    case stRectangle:
    case stSquare:
        canvas->Rectangle(x, y, x + width, y + height);
        break;
    case stRoundRect:
    case stRoundSquare:
        canvas->RoundRect(x, y, x + width, y + height, side / 4, side / 4);
        break;
    case stEllipse:
    case stCircle:
        canvas->Ellipse(x, y, x + width, y + height);
        break;
    }
}

// ---- TImage ------------------------------------------------------------------------------

namespace {
constexpr const char* SImageCanvasNeedsBitmap = "Can only modify an image if it contains a bitmap";
} // namespace

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(Left(), Top(), 105, 105);
    picture_->OnChange = TNotifyEvent(this, &TImage::pictureChanged);
}

TImage::~TImage() {
    picture_->OnChange = nullptr;
}

void TImage::ReplacePicture(std::unique_ptr<TPicture> Picture) {
    Picture->OnChange = picture_->OnChange;
    picture_->OnChange = nullptr;
    picture_ = std::move(Picture);
    Invalidate();
}

TCanvas* TImage::Canvas() {
    if (!picture_->Graphic()) {
        TBitmap bitmap;
        bitmap.SetSize(Width(), Height());
        picture_->SetGraphic(&bitmap);
    }
    if (!dynamic_cast<TBitmap*>(picture_->Graphic())) throw EInvalidOperation(SImageCanvasNeedsBitmap);
    return picture_->Bitmap()->Canvas();
}

void TImage::SetCenter(bool Value) {
    if (center_ == Value) return;
    center_ = Value;
    Invalidate();
}

void TImage::SetStretch(bool Value) {
    if (stretch_ == Value) return;
    stretch_ = Value;
    Invalidate();
}

void TImage::SetProportional(bool Value) {
    if (proportional_ == Value) return;
    proportional_ = Value;
    Invalidate();
}

void TImage::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    pictureChanged(this);
}

TRect TImage::DestRect() {
    Integer width = picture_->Width();
    Integer height = picture_->Height();
    Integer clientWidth = ClientWidth();
    Integer clientHeight = ClientHeight();
    bool tooLarge = width > clientWidth || height > clientHeight;
    if (stretch_ || (proportional_ && tooLarge)) {
        if (proportional_ && width > 0 && height > 0) {
            double scale = std::min(static_cast<double>(clientWidth) / width,
                                    static_cast<double>(clientHeight) / height);
            width = static_cast<Integer>(width * scale);
            height = static_cast<Integer>(height * scale);
        } else {
            width = clientWidth;
            height = clientHeight;
        }
    }
    TRect rect{0, 0, width, height};
    if (center_) {
        Integer dx = (clientWidth - width) / 2;
        Integer dy = (clientHeight - height) / 2;
        rect = {dx, dy, dx + width, dy + height};
    }
    return rect;
}

void TImage::Paint() {
    if (TGraphic* graphic = picture_->Graphic(); graphic && !graphic->Empty())
        TGraphicControl::Canvas()->StretchDraw(DestRect(), graphic);
}

bool TImage::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
    if (picture_->Width() <= 0 || picture_->Height() <= 0) return false;
    NewWidth = picture_->Width();
    NewHeight = picture_->Height();
    return true;
}

void TImage::pictureChanged(TObject*) {
    if (AutoSize() && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    if (TGraphic* graphic = picture_->Graphic()) graphic->SetTransparent(transparent_);
    Invalidate();
}

// ---- TPaintBox ----------------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetBounds(Left(), Top(), 105, 105);
}

void TPaintBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    if (OnPaint) OnPaint(this);
}

// ---- TCustomRadioGroup ------------------------------------------------------------------------

// One button of a radio group: its clicks choose the group's item, its keys
// reach the group, and a group that may not change keeps its choice.
class TCustomRadioGroup::GroupButton : public TRadioButton {
public:
    explicit GroupButton(TCustomRadioGroup* Group) : TRadioButton(Group), group_(Group) {
        group_->buttons_.push_back(this);
        SetVisible(false);
        SetEnabled(Group->Enabled());
        SetParentShowHint(false);
        OnClick = TNotifyEvent(Group, &TCustomRadioGroup::buttonClick);
        SetParent(Group);
    }
    ~GroupButton() override { std::erase(group_->buttons_, this); }

    void Dispatch(TMessage& Message) override {
        if (Message.Msg != CN_COMMAND) {
            TRadioButton::Dispatch(Message);
            return;
        }
        WORD code = HIWORD(Message.WParam);
        if (inClick_ || (code != BN_CLICKED && code != BN_DOUBLECLICKED) || !group_->CanModify()) return;
        inClick_ = true;
        try {
            TRadioButton::Dispatch(Message);
        } catch (...) {
            inClick_ = false;
            throw;
        }
        inClick_ = false;
    }

protected:
    void KeyPress(char& Key) override {
        TRadioButton::KeyPress(Key);
        group_->KeyPress(Key);
        if ((Key == '\b' || Key == ' ') && !group_->CanModify()) Key = 0;
    }
    void KeyDown(Word& Key, TShiftState Shift) override {
        TRadioButton::KeyDown(Key, Shift);
        group_->KeyDown(Key, Shift);
    }

private:
    TCustomRadioGroup* group_;
    bool inClick_ = false;
};

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), items_(std::make_unique<TStringList>()) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    items_->OnChange = TNotifyEvent(this, &TCustomRadioGroup::itemsChange);
}

TCustomRadioGroup::~TCustomRadioGroup() {
    setButtonCount(0);
    items_->OnChange = nullptr;
}

TRadioButton* TCustomRadioGroup::Buttons(Integer Index) const {
    return buttons_.at(static_cast<std::size_t>(Index));
}

void TCustomRadioGroup::setButtonCount(Integer Count) {
    while (ButtonCount() < Count)
        new GroupButton(this);
    while (ButtonCount() > Count)
        delete buttons_.back();
}

void TCustomRadioGroup::updateButtons() {
    setButtonCount(items_->Count());
    for (Integer i = 0; i < ButtonCount(); ++i)
        buttons_[static_cast<std::size_t>(i)]->SetCaption(items_->Strings(i));
    if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) {
        updating_ = true;
        buttons_[static_cast<std::size_t>(itemIndex_)]->SetChecked(true);
        updating_ = false;
    }
    arrangeButtons();
    Invalidate();
}

// The buttons fill the frame below the caption in Columns columns.
void TCustomRadioGroup::arrangeButtons() {
    if (buttons_.empty() || reading_) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, Font()->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    Integer perColumn = (ButtonCount() + columns_ - 1) / columns_;
    Integer buttonWidth = (Width() - GroupButtonMargin) / columns_;
    Integer space = Height() - metrics.tmHeight - GroupBottomMargin;
    Integer buttonHeight = space / perColumn;
    Integer topMargin = metrics.tmHeight + 1 + (space % perColumn) / 2;
    for (Integer i = 0; i < ButtonCount(); ++i) {
        GroupButton* button = buttons_[static_cast<std::size_t>(i)];
        Integer left = (i / perColumn) * buttonWidth + GroupButtonIndent;
        if (UseRightToLeftAlignment()) left = ClientWidth() - left - buttonWidth;
        button->SetBiDiMode(BiDiMode());
        button->SetBounds(left, (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
        button->SetVisible(true);
    }
}

void TCustomRadioGroup::buttonClick(TObject* Sender) {
    if (updating_) return;
    auto found = std::find(buttons_.begin(), buttons_.end(), Sender);
    if (found == buttons_.end()) return;
    itemIndex_ = static_cast<Integer>(found - buttons_.begin());
    Changed();
    Click();
}

void TCustomRadioGroup::itemsChange(TObject*) {
    if (reading_) return;
    if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
    updateButtons();
}

void TCustomRadioGroup::SetItemIndex(Integer Value) {
    if (reading_) {
        itemIndex_ = Value;
        return;
    }
    Value = std::clamp(Value, -1, items_->Count() - 1);
    if (Value == itemIndex_) return;
    if (itemIndex_ >= 0) buttons_[static_cast<std::size_t>(itemIndex_)]->SetChecked(false);
    itemIndex_ = Value;
    if (itemIndex_ >= 0) buttons_[static_cast<std::size_t>(itemIndex_)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(Integer Value) {
    Value = std::clamp(Value, 1, MaximumColumns);
    if (Value == columns_) return;
    columns_ = Value;
    arrangeButtons();
    Invalidate();
}

// The buttons belong to the items, not to the form resource.
void TCustomRadioGroup::GetChildren(const TGetChildProc&, TComponent*) {}

void TCustomRadioGroup::ReadState(TReader* Reader) {
    reading_ = true;
    try {
        TCustomGroupBox::ReadState(Reader);
    } catch (...) {
        reading_ = false;
        throw;
    }
    reading_ = false;
    updateButtons();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    arrangeButtons();
}

void TCustomRadioGroup::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
        TCustomGroupBox::Dispatch(Message);
        arrangeButtons();
        break;
    case CM_ENABLEDCHANGED:
        TCustomGroupBox::Dispatch(Message);
        for (GroupButton* button : buttons_)
            button->SetEnabled(Enabled());
        break;
    default:
        TCustomGroupBox::Dispatch(Message);
    }
}

// ---- TSplitter ----------------------------------------------------------------------------------

namespace {

constexpr Integer SplitterThickness = 3;
constexpr Integer SplitterLength = 100;
constexpr Integer PatternSide = 8;

} // namespace

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(Left(), Top(), SplitterThickness, SplitterLength);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

TSplitter::~TSplitter() {
    releaseLineDC();
}

void TSplitter::SetMinSize(Integer Value) {
    if (Value > 0) minSize_ = Value;
}

void TSplitter::SetBeveled(bool Value) {
    if (beveled_ == Value) return;
    beveled_ = Value;
    Repaint();
}

// The cursor follows the alignment unless the program chose another one.
void TSplitter::RequestAlign() {
    TGraphicControl::RequestAlign();
    if (Cursor() != crVSplit && Cursor() != crHSplit) return;
    SetCursor(Align() == alTop || Align() == alBottom ? crVSplit : crHSplit);
}

void TSplitter::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
    if (beveled_) {
        if (vertical())
            rect = {rect.Left + 1 + 1, rect.Top - 2 + 1, rect.Right - 1 + 1, rect.Bottom + 2 + 1};
        else
            rect = {rect.Left - 2 + 1, rect.Top + 1 + 1, rect.Right + 2 + 1, rect.Bottom - 1 + 1};
        canvas->Brush()->SetColor(clBtnHighlight);
        canvas->FrameRect(rect);
        rect = {rect.Left - 2, rect.Top - 2, rect.Right - 2, rect.Bottom - 2};
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FrameRect(rect);
    }
    if (OnPaint) OnPaint(this);
}

TControl* TSplitter::findControl() {
    if (!Parent()) return nullptr;
    TPoint point{Left(), Top()};
    switch (Align()) {
    case alLeft:
        --point.x;
        break;
    case alRight:
        point.x += Width();
        break;
    case alTop:
        --point.y;
        break;
    case alBottom:
        point.y += Height();
        break;
    default:
        return nullptr;
    }
    const bool nearSide = Align() == alLeft || Align() == alTop;
    for (Integer i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* control = Parent()->Controls(i);
        if (!control->Visible() || !control->Enabled()) continue;
        TRect bounds = control->BoundsRect();
        // A control shut to nothing is still found just beside the splitter.
        if (bounds.Width() == 0) (nearSide ? bounds.Left : bounds.Right) += nearSide ? -1 : 1;
        if (bounds.Height() == 0) (nearSide ? bounds.Top : bounds.Bottom) += nearSide ? -1 : 1;
        if (point.x >= bounds.Left && point.x < bounds.Right && point.y >= bounds.Top && point.y < bounds.Bottom)
            return control;
    }
    return nullptr;
}

bool TSplitter::CanResize(Integer& NewSize) {
    bool accept = true;
    if (OnCanResize) OnCanResize(this, NewSize, accept);
    return accept;
}

bool TSplitter::doCanResize(Integer& NewSize) {
    const bool accepted = CanResize(NewSize);
    if (accepted && NewSize <= minSize_ && autoSnap_) NewSize = 0;
    return accepted;
}

// The neighbour's size for the mouse at X, Y, within MinSize and the room the
// other aligned controls leave; Split is how far the splitter moves.
void TSplitter::calcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split) {
    Split = vertical() ? X - downPos_.x : Y - downPos_.y;
    Integer size = 0;
    switch (Align()) {
    case alLeft:
        size = control_->Width() + Split;
        break;
    case alRight:
        size = control_->Width() - Split;
        break;
    case alTop:
        size = control_->Height() + Split;
        break;
    case alBottom:
        size = control_->Height() - Split;
        break;
    default:
        break;
    }
    NewSize = std::clamp(size, minSize_, std::max(minSize_, maxSize_));
    if (size != NewSize) Split += (Align() == alRight || Align() == alBottom) ? size - NewSize : NewSize - size;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    control_ = findControl();
    downPos_ = {X, Y};
    if (!control_) return;
    const bool across = vertical();
    maxSize_ = (across ? Parent()->ClientWidth() : Parent()->ClientHeight()) - minSize_;
    for (Integer i = 0; i < Parent()->ControlCount(); ++i) {
        TControl* sibling = Parent()->Controls(i);
        if (!sibling->Visible()) continue;
        if (across && (sibling->Align() == alLeft || sibling->Align() == alRight)) maxSize_ -= sibling->Width();
        if (!across && (sibling->Align() == alTop || sibling->Align() == alBottom)) maxSize_ -= sibling->Height();
    }
    maxSize_ += across ? control_->Width() : control_->Height();
    calcSplitSize(X, Y, newSize_, split_);
    allocateLineDC();
    if (TCustomForm* form = GetParentForm(this); form && form->ActiveControl()) {
        activeControl_ = form->ActiveControl();
        oldKeyDown_ = activeControl_->OnKeyDown;
        activeControl_->OnKeyDown = TKeyEvent(this, &TSplitter::focusKeyDown);
    }
    if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) drawLine();
}

void TSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!Shift.Contains(ssLeft) || !control_) return;
    Integer newSize = 0;
    Integer split = 0;
    calcSplitSize(X, Y, newSize, split);
    if (!doCanResize(newSize)) return;
    const bool line = resizeStyle_ == rsLine || resizeStyle_ == rsPattern;
    if (line) drawLine();
    newSize_ = newSize;
    split_ = split;
    if (resizeStyle_ == rsUpdate) updateControlSize();
    if (line) drawLine();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!control_) return;
    if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) drawLine();
    updateControlSize();
    stopSizing();
}

// A neighbour on the far side keeps its far edge: it moves as it resizes.
void TSplitter::updateControlSize() {
    if (newSize_ == oldSize_) return;
    switch (Align()) {
    case alLeft:
        control_->SetWidth(newSize_);
        break;
    case alTop:
        control_->SetHeight(newSize_);
        break;
    case alRight:
        Parent()->DisableAlign();
        control_->SetLeft(control_->Left() + control_->Width() - newSize_);
        control_->SetWidth(newSize_);
        Parent()->EnableAlign();
        break;
    case alBottom:
        Parent()->DisableAlign();
        control_->SetTop(control_->Top() + control_->Height() - newSize_);
        control_->SetHeight(newSize_);
        Parent()->EnableAlign();
        break;
    default:
        break;
    }
    Update();
    if (OnMoved) OnMoved(this);
    oldSize_ = newSize_;
}

void TSplitter::allocateLineDC() {
    lineDC_ = GetDCEx(Parent()->Handle(), nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (resizeStyle_ != rsPattern) return;
    if (!lineBrush_) {
        linePattern_ = std::make_unique<TBitmap>();
        linePattern_->SetSize(PatternSide, PatternSide);
        for (Integer y = 0; y < PatternSide; ++y)
            for (Integer x = 0; x < PatternSide; ++x)
                linePattern_->Canvas()->SetPixels(x, y, (x + y) % 2 == 0 ? clBlack : clWhite);
        lineBrush_ = std::make_unique<TBrush>();
        lineBrush_->SetBitmap(linePattern_.get());
    }
    previousBrush_ = SelectObject(lineDC_, lineBrush_->Handle());
}

void TSplitter::releaseLineDC() {
    if (!lineDC_) return;
    if (previousBrush_) SelectObject(lineDC_, previousBrush_);
    previousBrush_ = nullptr;
    ReleaseDC(Parent() ? Parent()->Handle() : nullptr, lineDC_);
    lineDC_ = nullptr;
}

// Inverts the splitter-sized strip where the splitter would go; a second
// call puts the pixels back.
void TSplitter::drawLine() {
    lineVisible_ = !lineVisible_;
    TPoint point{Left(), Top()};
    if (vertical())
        point.x += split_;
    else
        point.y += split_;
    PatBlt(lineDC_, point.x, point.y, Width(), Height(), PATINVERT);
}

void TSplitter::stopSizing() {
    if (!control_) return;
    if (lineVisible_) drawLine();
    control_ = nullptr;
    releaseLineDC();
    if (activeControl_) {
        activeControl_->OnKeyDown = oldKeyDown_;
        activeControl_ = nullptr;
    }
}

// Escape during a drag leaves the neighbour as it was.
void TSplitter::focusKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    if (Key == VK_ESCAPE)
        stopSizing();
    else if (oldKeyDown_)
        oldKeyDown_(Sender, Key, Shift);
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const bevelCutType =
    DefineEnum<TBevelCut>("TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"});
const TTypeInfo* const bevelShapeType =
    DefineEnum<TBevelShape>("TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
                                            "bsRightLine", "bsSpacer"});
const TTypeInfo* const bevelStyleType = DefineEnum<TBevelStyle>("TBevelStyle", {"bsLowered", "bsRaised"});
const TTypeInfo* const shapeTypeType = DefineEnum<TShapeType>(
    "TShapeType", {"stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"});

const TClass customPanelClass =
    DescribeClass<TCustomPanel, TCustomControl>([](TClassBuilder<TCustomPanel>& c) {
        c.Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment).Default(taCenter);
        c.Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner).Default(bvNone);
        c.Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised);
        c.Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
        c.Property("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle).Default(bsNone);
        c.Property("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
        c.Property("Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption);
        c.Property("Color", &TCustomPanel::Color, &TCustomPanel::SetColor)
            .Type(TypeInfoColor())
            .Default(clBtnFace)
            .Stored(&TCustomPanel::IsColorStored);
        c.Property("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
        c.Property("ParentColor", &TCustomPanel::ParentColor, &TCustomPanel::SetParentColor).Default(false);
    });
const TClass panelClass = DescribeClass<TPanel, TCustomPanel>();

const TClass bevelClass = DescribeClass<TBevel, TGraphicControl>([](TClassBuilder<TBevel>& c) {
    c.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
    c.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
});

const TClass shapeClass = DescribeClass<TShape, TGraphicControl>([](TClassBuilder<TShape>& c) {
    c.Property("Brush", &TShape::Brush);
    c.Property("Pen", &TShape::Pen);
    c.Property("Shape", &TShape::Shape, &TShape::SetShape).Default(stRectangle);
});

const TClass imageClass = DescribeClass<TImage, TGraphicControl>([](TClassBuilder<TImage>& c) {
    c.Property("Center", &TImage::Center, &TImage::SetCenter).Default(false);
    c.Property("Picture", &TImage::Picture);
    c.Property("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(false);
    c.Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(false);
    c.Property("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(false);
});

const TClass paintBoxClass = DescribeClass<TPaintBox, TGraphicControl>(
    [](TClassBuilder<TPaintBox>& c) { c.Property("OnPaint", &TPaintBox::OnPaint, &TPaintBox::OnPaint); });

const TClass customRadioGroupClass =
    DescribeClass<TCustomRadioGroup, TCustomGroupBox>([](TClassBuilder<TCustomRadioGroup>& c) {
        c.Property("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns).Default(1);
        c.Property("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex).Default(-1);
        c.Property("Items", &TCustomRadioGroup::Items);
    });
const TClass radioGroupClass = DescribeClass<TRadioGroup, TCustomRadioGroup>();

const TTypeInfo* const resizeStyleType =
    DefineEnum<TResizeStyle>("TResizeStyle", {"rsNone", "rsLine", "rsUpdate", "rsPattern"});

const TClass splitterClass = DescribeClass<TSplitter, TGraphicControl>([](TClassBuilder<TSplitter>& c) {
    c.Property("AutoSnap", &TSplitter::AutoSnap, &TSplitter::SetAutoSnap).Default(true);
    c.Property("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled).Default(false);
    c.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
    c.Property("ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle).Default(rsPattern);
    c.Property("OnCanResize", &TSplitter::OnCanResize, &TSplitter::OnCanResize);
    c.Property("OnMoved", &TSplitter::OnMoved, &TSplitter::OnMoved);
    c.Property("OnPaint", &TSplitter::OnPaint, &TSplitter::OnPaint);
});

struct RegisterExtendedControls {
    RegisterExtendedControls() {
        RegisterClasses({ClassOf<TPanel>(), ClassOf<TBevel>(), ClassOf<TShape>(), ClassOf<TImage>(),
                         ClassOf<TPaintBox>(), ClassOf<TRadioGroup>(), ClassOf<TSplitter>()});
    }
} registerExtendedControls;

} // namespace
