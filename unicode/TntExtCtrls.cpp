#include "unicode/TntExtCtrls.h"

#include "platform/win/ButtonControl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Painting.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowPlacement.h"
#include "unicode/TntGraphics.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

#include <algorithm>

void TTntCustomPanel::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

void TTntCustomPanel::Paint() {
    if (!Win32PlatformIsUnicode) {
        TCustomPanel::Paint();
        return;
    }
    TRect rect = PaintFrame();
    TCanvas* canvas = Canvas();
    const Integer fontHeight = WideCanvasTextHeight(canvas, u"W");
    rect.Top = (rect.Top + rect.Bottom - fontHeight) / 2;
    rect.Bottom = rect.Top + fontHeight;
    const WideString caption = Caption();
    canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    Tnt_DrawTextW(canvas->Handle(), caption.c_str(), -1, &rect, CaptionFormat());
}

// ---- Control bar -------------------------------------------------------------------------------------

void TTntCustomControlBar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

// ---- Radio group ---------------------------------------------------------------------------------------

namespace {

// Where the buttons sit in the frame: indented from its left edge, and the
// frame's two sides and its bottom line kept clear.
constexpr Integer ButtonIndent = 8;
constexpr Integer FrameSides = 10;
constexpr Integer FrameBottom = 5;
constexpr Integer MostColumns = 16;

Integer fontHeight(TFont* Font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, Font->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

} // namespace

TTntGroupButton::TTntGroupButton(TTntCustomRadioGroup* Group) : TTntRadioButton(Group), group_(Group) {
    group_->buttons_.push_back(this);
    SetVisible(false);
    SetEnabled(Group->Enabled());
    SetParentShowHint(false);
    OnClick = TNotifyEvent(Group, &TTntCustomRadioGroup::buttonClick);
    SetParent(Group);
}

TTntGroupButton::~TTntGroupButton() {
    std::erase(group_->buttons_, this);
}

// A click the window reports while one is handled, or while the group may
// not change, is not passed on.
void TTntGroupButton::Dispatch(TMessage& Message) {
    if (Message.Msg != CN_COMMAND) {
        TTntRadioButton::Dispatch(Message);
        return;
    }
    const WORD code = HIWORD(Message.WParam);
    if (inClick_ || (code != BN_CLICKED && code != BN_DOUBLECLICKED) || !group_->CanModify()) return;
    inClick_ = true;
    try {
        TTntRadioButton::Dispatch(Message);
    } catch (...) {
        inClick_ = false;
        throw;
    }
    inClick_ = false;
}

void TTntGroupButton::KeyPress(char& Key) {
    TTntRadioButton::KeyPress(Key);
    group_->KeyPress(Key);
    if ((Key == '\b' || Key == ' ') && !group_->CanModify()) Key = 0;
}

void TTntGroupButton::KeyDown(Word& Key, TShiftState Shift) {
    TTntRadioButton::KeyDown(Key, Shift);
    group_->KeyDown(Key, Shift);
}

TTntCustomRadioGroup::TTntCustomRadioGroup(TComponent* AOwner)
    : TTntCustomGroupBox(AOwner), items_(std::make_unique<TTntStringList>()) {
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    items_->OnChange = TNotifyEvent(this, &TTntCustomRadioGroup::itemsChange);
}

TTntCustomRadioGroup::~TTntCustomRadioGroup() {
    setButtonCount(0);
    items_->OnChange = nullptr;
}

TTntGroupButton* TTntCustomRadioGroup::Buttons(Integer Index) const {
    return buttons_.at(static_cast<std::size_t>(Index));
}

void TTntCustomRadioGroup::setButtonCount(Integer Count) {
    while (ButtonCount() < Count)
        new TTntGroupButton(this);
    while (ButtonCount() > Count)
        delete buttons_.back();
}

void TTntCustomRadioGroup::updateButtons() {
    setButtonCount(items_->Count());
    for (Integer i = 0; i < ButtonCount(); ++i)
        Buttons(i)->SetCaption(items_->Strings(i));
    if (itemIndex_ >= 0) {
        updating_ = true;
        Buttons(itemIndex_)->SetChecked(true);
        updating_ = false;
    }
    arrangeButtons();
    Invalidate();
}

// Needs the group's window: the buttons move as windows, all at once.
void TTntCustomRadioGroup::arrangeButtons() {
    if (buttons_.empty() || reading_ || !HandleAllocated()) return;
    const Integer textHeight = fontHeight(Font());
    const Integer perColumn = (ButtonCount() + columns_ - 1) / columns_;
    const Integer buttonWidth = (Width() - FrameSides) / columns_;
    const Integer space = Height() - textHeight - FrameBottom;
    const Integer buttonHeight = space / perColumn;
    const Integer topMargin = textHeight + 1 + (space % perColumn) / 2;
    HDWP positions = BeginDeferWindowPos(ButtonCount());
    for (Integer i = 0; i < ButtonCount(); ++i) {
        TTntGroupButton* button = Buttons(i);
        button->SetBiDiMode(BiDiMode());
        Integer left = (i / perColumn) * buttonWidth + ButtonIndent;
        if (UseRightToLeftAlignment()) left = ClientWidth() - left - buttonWidth;
        positions = DeferWindowPos(positions, button->Handle(), nullptr, left, (i % perColumn) * buttonHeight + topMargin,
                                   buttonWidth, buttonHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        button->SetVisible(true);
    }
    EndDeferWindowPos(positions);
}

void TTntCustomRadioGroup::buttonClick(TObject* Sender) {
    if (updating_) return;
    const auto found = std::find(buttons_.begin(), buttons_.end(), Sender);
    if (found == buttons_.end()) return;
    itemIndex_ = static_cast<Integer>(found - buttons_.begin());
    Changed();
    Click();
}

void TTntCustomRadioGroup::itemsChange(TObject*) {
    if (reading_) return;
    if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
    updateButtons();
}

void TTntCustomRadioGroup::SetItemIndex(Integer Value) {
    if (reading_) {
        itemIndex_ = Value;
        return;
    }
    Value = std::clamp(Value, -1, items_->Count() - 1);
    if (Value == itemIndex_) return;
    if (itemIndex_ >= 0) Buttons(itemIndex_)->SetChecked(false);
    itemIndex_ = Value;
    if (itemIndex_ >= 0) Buttons(itemIndex_)->SetChecked(true);
}

void TTntCustomRadioGroup::SetColumns(Integer Value) {
    Value = std::clamp(Value, 1, MostColumns);
    if (Value == columns_) return;
    columns_ = Value;
    arrangeButtons();
    Invalidate();
}

// The buttons belong to the items, not to the form resource.
void TTntCustomRadioGroup::GetChildren(const TGetChildProc&, TComponent*) {}

void TTntCustomRadioGroup::ReadState(TReader* Reader) {
    reading_ = true;
    try {
        TTntCustomGroupBox::ReadState(Reader);
    } catch (...) {
        reading_ = false;
        throw;
    }
    reading_ = false;
    updateButtons();
}

void TTntCustomRadioGroup::Loaded() {
    TTntCustomGroupBox::Loaded();
    arrangeButtons();
}

void TTntCustomRadioGroup::CreateWnd() {
    TTntCustomGroupBox::CreateWnd();
    arrangeButtons();
}

void TTntCustomRadioGroup::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
    case CM_FONTCHANGED:
        TTntCustomGroupBox::Dispatch(Message);
        arrangeButtons();
        break;
    case CM_ENABLEDCHANGED:
        TTntCustomGroupBox::Dispatch(Message);
        for (TTntGroupButton* button : buttons_)
            button->SetEnabled(Enabled());
        break;
    default:
        TTntCustomGroupBox::Dispatch(Message);
    }
}

// ---- Image ------------------------------------------------------------------------------------------

TTntImage::TTntImage(TComponent* AOwner) : TTntHintedGraphic(AOwner) {
    ReplacePicture(std::make_unique<TTntPicture>());
}

TTntPicture* TTntImage::Picture() const {
    return static_cast<TTntPicture*>(TImage::Picture());
}

namespace {
const TClass tntPanelClass = DescribeClass<TTntPanel, TCustomPanel>([](TClassBuilder<TTntPanel>& c) {
    c.Property("Caption", &TTntPanel::Caption, &TTntPanel::SetCaption).Stored(&TTntPanel::IsCaptionStored);
    c.Property("Hint", &TTntPanel::Hint, &TTntPanel::SetHint).Stored(&TTntPanel::IsHintStored);
});
const TClass tntControlBarClass =
    DescribeClass<TTntControlBar, TCustomControlBar>([](TClassBuilder<TTntControlBar>& c) {
        c.Property("Hint", &TTntControlBar::Hint, &TTntControlBar::SetHint)
            .Stored(&TTntControlBar::IsHintStored);
    });
const TClass tntRadioGroupClass =
    DescribeClass<TTntRadioGroup, TCustomGroupBox>([](TClassBuilder<TTntRadioGroup>& c) {
        c.Property("Caption", &TTntRadioGroup::Caption, &TTntRadioGroup::SetCaption)
            .Stored(&TTntRadioGroup::IsCaptionStored);
        c.Property("Hint", &TTntRadioGroup::Hint, &TTntRadioGroup::SetHint)
            .Stored(&TTntRadioGroup::IsHintStored);
        c.Property("Items", &TTntRadioGroup::Items, &TTntRadioGroup::SetItems);
        c.Property("Columns", &TTntRadioGroup::Columns, &TTntRadioGroup::SetColumns).Default(1);
        c.Property("ItemIndex", &TTntRadioGroup::ItemIndex, &TTntRadioGroup::SetItemIndex).Default(-1);
    });
const TClass tntShapeClass = DescribeClass<TTntShape, TShape>([](TClassBuilder<TTntShape>& c) {
    c.Property("Hint", &TTntShape::Hint, &TTntShape::SetHint).Stored(&TTntShape::IsHintStored);
});
const TClass tntPaintBoxClass = DescribeClass<TTntPaintBox, TPaintBox>([](TClassBuilder<TTntPaintBox>& c) {
    c.Property("Hint", &TTntPaintBox::Hint, &TTntPaintBox::SetHint).Stored(&TTntPaintBox::IsHintStored);
});
const TClass tntBevelClass = DescribeClass<TTntBevel, TBevel>([](TClassBuilder<TTntBevel>& c) {
    c.Property("Hint", &TTntBevel::Hint, &TTntBevel::SetHint).Stored(&TTntBevel::IsHintStored);
});
const TClass tntSplitterClass = DescribeClass<TTntSplitter, TSplitter>([](TClassBuilder<TTntSplitter>& c) {
    c.Property("Hint", &TTntSplitter::Hint, &TTntSplitter::SetHint).Stored(&TTntSplitter::IsHintStored);
});
const TClass tntImageClass = DescribeClass<TTntImage, TImage>([](TClassBuilder<TTntImage>& c) {
    c.Property("Hint", &TTntImage::Hint, &TTntImage::SetHint).Stored(&TTntImage::IsHintStored);
});
} // namespace
