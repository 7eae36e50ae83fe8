// The scrolling text panel of the Rx controls.
#include "rx/RXCtrls.h"
#include "rx/RxTimer.h"

#include "platform/core/Classes.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/Blit.h"
#include "platform/win/DrawText.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Regions.h"

#include <algorithm>

namespace {

// Posted by a step on the worker: the memory image is ready for the screen.
constexpr UINT WM_SHOWSTEP = WM_APP + 0x105;

bool isBlank(const AnsiString& Line) {
    return Trim(Line).empty();
}

UINT alignmentFormat(TAlignment Alignment) {
    switch (Alignment) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

} // namespace

TSecretPanel::TSecretPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), lines_(std::make_unique<TStringList>()), timer_(std::make_unique<TRxTimer>(nullptr)),
      glyph_(std::make_unique<TBitmap>()) {
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    SetBevelOuter(bvLowered);
    lines_->OnChange = TNotifyEvent(this, &TSecretPanel::LinesChanged);
    glyph_->OnChange = TNotifyEvent(this, &TSecretPanel::GlyphChanged);
    timer_->SetEnabled(false);
    timer_->SetOnTimer(TNotifyEvent(this, &TSecretPanel::TimerExpired));
    timer_->SetInterval(30);
    timer_->SetSyncEvent(false);
}

// The timer goes first: once it is gone no step runs, so the image and the
// lines can follow.
TSecretPanel::~TSecretPanel() {
    timer_.reset();
    lines_->OnChange = nullptr;
    glyph_->OnChange = nullptr;
}

void TSecretPanel::SetAsyncDrawing(bool Value) {
    asyncDrawing_ = Value;
    timer_->SetSyncEvent(!Value);
}

Cardinal TSecretPanel::Interval() const {
    return timer_->Interval();
}

void TSecretPanel::SetInterval(Cardinal Value) {
    timer_->SetInterval(Value);
}

Integer TSecretPanel::ScrollCount() const {
    std::lock_guard lock(imageLock_);
    return scrollCount_;
}

bool TSecretPanel::StepDue() const {
    return timer_->TickDue();
}

void TSecretPanel::SetActive(bool Value) {
    if (active_ == Value) return;
    if (Value) {
        active_ = true;
        try {
            {
                std::lock_guard lock(imageLock_);
                scrollCount_ = 0;
            }
            prepareImage();
            timer_->SetEnabled(true);
            StartPlay();
        } catch (...) {
            active_ = false;
            timer_->SetEnabled(false);
            throw;
        }
    } else {
        // The timer stops before the image goes: a step in progress on the
        // worker ends first, and none starts afterwards.
        timer_->SetEnabled(false);
        {
            std::lock_guard lock(imageLock_);
            scrollCount_ = 0;
            image_.reset();
        }
        active_ = false;
        StopPlay();
    }
    if (ComponentState().Contains(csDestroying)) return;
    if (active_)
        hideChildren();
    else
        showChildren();
    Invalidate();
}

void TSecretPanel::hideChildren() {
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (!child->Visible()) continue;
        hiddenControls_.push_back(child);
        if (!ComponentState().Contains(csDesigning)) child->SetVisible(false);
    }
}

void TSecretPanel::showChildren() {
    for (TControl* child : hiddenControls_) {
        child->SetVisible(true);
        child->Invalidate();
    }
    hiddenControls_.clear();
}

// The steps draw with the alignment of the latest preparation.
void TSecretPanel::SetAlignment(TAlignment Value) {
    if (Alignment() == Value) return;
    TCustomPanel::SetAlignment(Value);
    rebuildWhileActive();
}

bool TSecretPanel::Cycled() const {
    std::lock_guard lock(imageLock_);
    return cycled_;
}

void TSecretPanel::SetCycled(bool Value) {
    std::lock_guard lock(imageLock_);
    cycled_ = Value;
}

void TSecretPanel::SetTextStyle(TBevelCut Value) {
    if (textStyle_ == Value) return;
    textStyle_ = Value;
    rebuildWhileActive();
    Invalidate();
}

void TSecretPanel::SetGlyphLayout(TGlyphLayout Value) {
    if (glyphLayout_ == Value) return;
    glyphLayout_ = Value;
    rebuildWhileActive();
    Invalidate();
}

void TSecretPanel::SetScrollDirection(TScrollDirection Value) {
    if (scrollDirection_ == Value) return;
    scrollDirection_ = Value;
    if (active_) {
        {
            std::lock_guard lock(imageLock_);
            scrollCount_ = 0;
        }
        prepareImage();
    }
    Invalidate();
}

void TSecretPanel::SetLines(TStringList* Value) {
    lines_->Assign(Value);
}

void TSecretPanel::LinesChanged(TObject*) {
    if (active_) {
        {
            std::lock_guard lock(imageLock_);
            scrollCount_ = 0;
        }
        prepareImage();
    }
    Invalidate();
}

void TSecretPanel::SetGlyph(TBitmap* Value) {
    glyph_->Assign(Value);
}

void TSecretPanel::GlyphChanged(TObject*) {
    rebuildWhileActive();
    Invalidate();
}

void TSecretPanel::rebuildWhileActive() {
    if (active_) prepareImage();
}

void TSecretPanel::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
        TCustomPanel::Dispatch(Message);
        rebuildWhileActive();
        Invalidate();
        break;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        TCustomPanel::Dispatch(Message);
        rebuildWhileActive();
        break;
    case WM_SHOWSTEP:
        copyImageToScreen();
        break;
    default:
        TCustomPanel::Dispatch(Message);
    }
}

void TSecretPanel::AlignControls(TControl* AControl, TRect& Rect) {
    TCustomPanel::AlignControls(AControl, Rect);
    if (!AControl) rebuildWhileActive();
}

Integer TSecretPanel::borderSize() {
    Integer border = BorderWidth();
    if (BevelInner() != bvNone) border += BevelWidth();
    if (BevelOuter() != bvNone) border += BevelWidth();
    return border;
}

void TSecretPanel::recalcRects() {
    const Integer border = borderSize();
    const TRect client = ClientRect();
    paintRect_ = Rect(client.Left + border, client.Top + border, client.Right - border, client.Bottom - border);
    textRect_ = Rect(paintRect_.Left + 3, paintRect_.Top + 3, paintRect_.Right - 3, paintRect_.Bottom - 3);
    layoutGlyph(border);
    if (scrollDirection_ == sdHorizontal) centreLinesVertically();
    if (textRect_.Width() <= 0 || textRect_.Height() <= 0) textRect_ = TRect{};
}

void TSecretPanel::layoutGlyph(Integer Border) {
    const Integer width = glyph_->Width();
    const Integer height = glyph_->Height();
    const Integer middleY = std::max((textRect_.Top + textRect_.Bottom - height) / 2, textRect_.Top);
    const Integer middleX = std::max((textRect_.Left + textRect_.Right - width) / 2, textRect_.Left);
    switch (glyphLayout_) {
    case glGlyphLeft:
        glyphOrigin_ = {textRect_.Left + (width > 0 ? 3 : 0), middleY};
        textRect_.Left = glyphOrigin_.x + width + Border + 3;
        break;
    case glGlyphRight:
        glyphOrigin_ = {std::max(textRect_.Right - width - (width > 0 ? 3 : 0), textRect_.Left), middleY};
        textRect_.Right = glyphOrigin_.x - (Border + 3);
        break;
    case glGlyphTop:
        glyphOrigin_ = {middleX, textRect_.Top + (height > 0 ? 3 : 0)};
        textRect_.Top = glyphOrigin_.y + height + Border + 6;
        break;
    case glGlyphBottom:
        glyphOrigin_ = {middleX, std::max(textRect_.Bottom - height - (height > 0 ? 3 : 0), textRect_.Top)};
        textRect_.Bottom = glyphOrigin_.y - (Border + 6);
        break;
    }
}

// The lines from the first to the last that is not blank sit in the middle.
// Lines taller than the text area take the margin and the glyph's room, up
// to the paint rectangle, rather than lose their lower part: a panel one
// line high shows that line whole.
void TSecretPanel::centreLinesVertically() {
    Integer lastLine = lines_->Count() - 1;
    while (lastLine >= firstLine_ && isBlank(lines_->Strings(lastLine))) --lastLine;
    const Integer needed = (lastLine - firstLine_ + 1) * lineHeight_;
    const Integer spare = textRect_.Height() - needed;
    if (spare > 0) {
        textRect_.Top += spare / 2;
        textRect_.Bottom -= spare / 2;
    } else if (spare < 0) {
        textRect_.Top = std::max(paintRect_.Top, textRect_.Top + (spare - 1) / 2);
        textRect_.Bottom = std::min(paintRect_.Bottom, textRect_.Top + needed);
    }
}

void TSecretPanel::prepareImage() {
    std::lock_guard lock(imageLock_);
    if (!image_) image_ = std::make_unique<TBitmap>();
    TCanvas* canvas = image_->Canvas();
    canvas->SetFont(Font());
    firstLine_ = 0;
    while (firstLine_ < lines_->Count() && isBlank(lines_->Strings(firstLine_))) ++firstLine_;
    TEXTMETRICA metrics{};
    GetTextMetricsA(canvas->Handle(), &metrics);
    lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading + (textStyle_ != bvNone ? 1 : 0);
    recalcRects();
    shownLines_.clear();
    Integer widest = 0;
    for (Integer i = firstLine_; i < lines_->Count(); ++i) {
        shownLines_.push_back(lines_->Strings(i));
        widest = std::max(widest, canvas->TextWidth(shownLines_.back()));
    }
    if (scrollDirection_ == sdVertical)
        maxScroll_ = textRect_.Height() + static_cast<Integer>(shownLines_.size()) * lineHeight_;
    else
        maxScroll_ = widest + textRect_.Width();
    image_->SetSize(textRect_.Width(), textRect_.Height());
    canvas = image_->Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    SetBkMode(canvas->Handle(), TRANSPARENT);
    shownWindow_ = HandleAllocated() ? Handle() : nullptr;
    style_.colour = Color();
    style_.fontColour = Font()->Color();
    style_.format = alignmentFormat(Alignment()) | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX |
                    static_cast<UINT>(DrawTextBiDiModeFlagsReadingOnly());
    style_.textStyle = textStyle_;
    style_.rightToLeft = UseRightToLeftReading();
    style_.direction = scrollDirection_;
}

TRect TSecretPanel::LineRect(Integer ScrollCount) const {
    const Integer width = textRect_.Width();
    const Integer height = textRect_.Height();
    TRect line = Rect(0, 0, width, height);
    if (style_.direction == sdVertical) {
        line.Top = height - ScrollCount;
    } else if (!style_.rightToLeft) {
        line.Left = width - ScrollCount;
        line.Right = line.Left + maxScroll_ - width;
    } else {
        line.Right = ScrollCount;
        line.Left = line.Right - (maxScroll_ - width);
    }
    line.Bottom = line.Top + lineHeight_;
    return line;
}

void TSecretPanel::TimerExpired(TObject*) {
    {
        std::lock_guard lock(imageLock_);
        if (!image_) return;
        if (scrollCount_ < maxScroll_ || cycled_) {
            scrollCount_ = scrollCount_ < maxScroll_ ? scrollCount_ + 1 : 0;
            paintText();
            return;
        }
    }
    // Nothing of the panel is touched after this: the call may free it.
    timer_->SynchronizedCall(TThreadMethod(this, &TSecretPanel::stopAtEnd));
}

void TSecretPanel::stopAtEnd() {
    SetActive(false);
}

// Under the image lock, on the timer's thread.
void TSecretPanel::paintText() {
    if (shownLines_.empty() || textRect_.Width() <= 0 || !shownWindow_) return;
    TCanvas* canvas = image_->Canvas();
    POINT origin;
    SetViewportOrgEx(canvas->Handle(), -textRect_.Left, -textRect_.Top, &origin);
    canvas->Brush()->SetColor(style_.colour);
    PaintClient(canvas, paintRect_);
    SetViewportOrgEx(canvas->Handle(), origin.x, origin.y, nullptr);
    drawLines(canvas);
    if (IsMainThread())
        blitImage();
    else
        PostMessageA(shownWindow_, WM_SHOWSTEP, 0, 0);
}

void TSecretPanel::drawLines(TCanvas* Canvas) {
    const UINT format = style_.format;
    const HDC dc = Canvas->Handle();
    TRect line = LineRect(scrollCount_);
    // One blank line past the last keeps the end of the text clear.
    for (size_t i = 0; i <= shownLines_.size() && line.Top < textRect_.Height(); ++i) {
        if (line.Bottom > 0 && i < shownLines_.size()) {
            const AnsiString& text = shownLines_[i];
            if (style_.textStyle != bvNone) {
                const Integer offset = style_.textStyle == bvLowered ? 1 : -1;
                RECT shadow = {line.Left + offset, line.Top + offset, line.Right + offset, line.Bottom + offset};
                SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
                DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
            }
            RECT where = {line.Left, line.Top, line.Right, line.Bottom};
            SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(style_.fontColour)));
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &where, format);
        }
        line.Top += lineHeight_;
        line.Bottom += lineHeight_;
    }
}

// On the main thread: the image of the latest step goes to the screen.
void TSecretPanel::copyImageToScreen() {
    std::lock_guard lock(imageLock_);
    blitImage();
}

// Under the image lock, on the main thread.
void TSecretPanel::blitImage() {
    if (!image_ || !HandleAllocated() || textRect_.Width() <= 0) return;
    const HDC dc = GetDC(Handle());
    BitBlt(dc, textRect_.Left, textRect_.Top, textRect_.Width(), textRect_.Height(), image_->Canvas()->Handle(), 0, 0,
           SRCCOPY);
    ReleaseDC(Handle(), dc);
    RECT validated = {textRect_.Left, textRect_.Top, textRect_.Right, textRect_.Bottom};
    ValidateRect(Handle(), &validated);
}

void TSecretPanel::Paint() {
    TCanvas* canvas = TCustomControl::Canvas();
    TRect rect = ClientRect();
    if (BevelOuter() != bvNone) {
        const bool lowered = BevelOuter() == bvLowered;
        Frame3D(canvas, rect, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                BevelWidth());
    }
    Frame3D(canvas, rect, Color(), Color(), BorderWidth());
    if (BevelInner() != bvNone) {
        const bool lowered = BevelInner() == bvLowered;
        Frame3D(canvas, rect, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                BevelWidth());
    }
    const HRGN clip = CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
    SelectClipRgn(canvas->Handle(), clip);
    canvas->Brush()->SetColor(Color());
    PaintClient(canvas, rect);
    SelectClipRgn(canvas->Handle(), nullptr);
    DeleteObject(clip);
    if (active_ && !glyph_->Empty()) {
        std::lock_guard lock(imageLock_);
        DrawTransparentBitmap(canvas, glyphOrigin_.x, glyphOrigin_.y, glyph_.get(), glyph_->TransparentColor());
    }
}

void TSecretPanel::PaintClient(TCanvas* Canvas, TRect Rect) {
    if (OnPaintClient)
        OnPaintClient(this, Canvas, Rect);
    else
        Canvas->FillRect(Rect);
}

void TSecretPanel::StartPlay() {
    if (OnStartPlay) OnStartPlay(this);
}

void TSecretPanel::StopPlay() {
    if (OnStopPlay) OnStopPlay(this);
}

namespace {

const TTypeInfo* const scrollDirectionType =
    DefineEnum<TScrollDirection>("TScrollDirection", {"sdVertical", "sdHorizontal"});
const TTypeInfo* const glyphLayoutType =
    DefineEnum<TGlyphLayout>("TGlyphLayout", {"glGlyphLeft", "glGlyphRight", "glGlyphTop", "glGlyphBottom"});

const TClass secretPanelClass = DescribeClass<TSecretPanel, TCustomPanel>([](TClassBuilder<TSecretPanel>& c) {
    using T = TSecretPanel;
    c.Property("AsyncDrawing", &T::AsyncDrawing, &T::SetAsyncDrawing).Default(true);
    c.Property("Active", &T::Active, &T::SetActive).Default(false);
    c.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taCenter);
    c.Property("Cycled", &T::Cycled, &T::SetCycled).Default(false);
    c.Property("Glyph", &T::Glyph, &T::SetGlyph);
    c.Property("GlyphLayout", &T::GlyphLayout, &T::SetGlyphLayout).Default(glGlyphLeft);
    c.Property("Interval", &T::Interval, &T::SetInterval).Default(30);
    c.Property("Lines", &T::Lines, &T::SetLines);
    c.Property("ScrollDirection", &T::ScrollDirection, &T::SetScrollDirection).Default(sdVertical);
    c.Property("TextStyle", &T::TextStyle, &T::SetTextStyle).Default(bvNone);
    c.Property("BevelOuter", &T::BevelOuter, &T::SetBevelOuter).Default(bvLowered);
    c.Property("OnPaintClient", &T::OnPaintClient, &T::OnPaintClient);
    c.Property("OnStartPlay", &T::OnStartPlay, &T::OnStartPlay);
    c.Property("OnStopPlay", &T::OnStopPlay, &T::OnStopPlay);
});

struct RegisterSecretPanelClass {
    RegisterSecretPanelClass() { RegisterClasses({ClassOf<TSecretPanel>()}); }
} registerSecretPanelClass;

} // namespace
