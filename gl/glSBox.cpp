// The scroll box with a wallpaper: its background erase.
#include "gl/glSBox.h"

#include "gl/glUtils.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/Blit.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"

namespace {

// Bitmaps up to this width are laid as a brush pattern, wider ones as tiles.
constexpr Integer PatternWidthLimit = 8;

} // namespace

TglScrollBox::TglScrollBox(TComponent* AOwner) : TScrollBox(AOwner) {}

TglScrollBox::~TglScrollBox() = default;

TBitmap* TglScrollBox::Background() {
    if (!background_) background_ = std::make_unique<TBitmap>();
    return background_.get();
}

void TglScrollBox::SetBackground(TBitmap* Value) {
    background_ = std::make_unique<TBitmap>();
    background_->Assign(Value);
    Invalidate();
}

void TglScrollBox::fillWithPattern(HDC DC, const TRect& Client) {
    TCanvas canvas;
    canvas.SetHandle(DC);
    canvas.Brush()->SetBitmap(background_.get());
    canvas.FillRect(Client);
    canvas.SetHandle(nullptr);
}

// Tiles that follow the scroll position: the first column and row start
// inside the bitmap where the scrolled-away part ends.
void TglScrollBox::tile(HDC DC, const TRect& Client) {
    const Integer width = background_->Width();
    const Integer height = background_->Height();
    HDC source = background_->Canvas()->Handle();
    Integer sourceX = HorzScrollBar()->Position() % width;
    const Integer firstSourceY = VertScrollBar()->Position() % height;
    for (Integer x = Client.Left; x < Client.Right; x += width - sourceX, sourceX = 0) {
        Integer sourceY = firstSourceY;
        for (Integer y = Client.Top; y < Client.Bottom; y += height - sourceY, sourceY = 0)
            BitBlt(DC, x, y, width - sourceX, height - sourceY, source, sourceX, sourceY, SRCCOPY);
    }
}

void TglScrollBox::eraseBackground(TMessage& Message) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    // An empty bitmap, made by merely reading Background, paints nothing, as no bitmap does.
    if (IsItAFilledBitmap(background_.get())) {
        const TRect client = ClientRect();
        if (background_->Width() <= PatternWidthLimit) {
            fillWithPattern(dc, client);
            Message.Result = 1;
        } else {
            tile(dc, client);
        }
    }
    if (onEraseBkgnd_) onEraseBkgnd_(this, dc);
}

void TglScrollBox::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) return eraseBackground(Message);
    TScrollBox::Dispatch(Message);
}

namespace {

const TClass scrollBoxClass = DescribeClass<TglScrollBox, TScrollBox>([](TClassBuilder<TglScrollBox>& c) {
    c.Property("Background", &TglScrollBox::Background, &TglScrollBox::SetBackground)
        .Stored(&TglScrollBox::HasBackground);
    c.Property("OnEraseBkgndEvent", &TglScrollBox::OnEraseBkgndEvent, &TglScrollBox::SetOnEraseBkgndEvent);
});

struct RegisterScrollBox {
    RegisterScrollBox() { RegisterClass(scrollBoxClass); }
} registerScrollBox;

} // namespace
