// The framework's tool bar and tool buttons over the system's tool bar window.
#include "platform/vcl/ToolBars.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Menus.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Messages.h"

#include <algorithm>

namespace {

constexpr Integer defaultToolBarHeight = 29;
constexpr Integer defaultButtonWidth = 23;
constexpr Integer defaultButtonHeight = 22;
constexpr Integer defaultSeparatorWidth = 8;
constexpr SIZE defaultImageSize{16, 16};

bool isMouseMessage(UINT Msg) {
    return Msg >= WM_MOUSEFIRST && Msg <= WM_MOUSELAST && Msg != WM_MOUSEWHEEL;
}

} // namespace

// ---- TToolButton --------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    // Clicks come from the tool bar's window, not from the framework's mouse handling.
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), defaultButtonWidth, defaultButtonHeight);
}

TToolButton::~TToolButton() {
    if (!DestructionPrepared()) BeforeDestruction();
}

void TToolButton::BeforeDestruction() {
    if (toolBar_) toolBar_->removeButton(this);
    TGraphicControl::BeforeDestruction();
}

void TToolButton::SetParent(TWinControl* AParent) {
    if (AParent == Parent()) return;
    if (toolBar_) toolBar_->removeButton(this);
    TGraphicControl::SetParent(AParent);
    if (auto* toolBar = dynamic_cast<TToolBar*>(AParent)) toolBar->insertButton(this);
}

// A separator's width is its size on the bar; other buttons take the place the bar gives them.
void TToolButton::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    const bool widthChanged = AWidth != Width();
    TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (!placing_ && toolBar_ && isSeparator() && widthChanged) changed();
}

void TToolButton::placeAt(const TRect& Rect) {
    placing_ = true;
    TGraphicControl::SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    placing_ = false;
}

Integer TToolButton::Index() const {
    if (!toolBar_) return -1;
    const auto& buttons = toolBar_->buttons_;
    return static_cast<Integer>(std::find(buttons.begin(), buttons.end(), this) - buttons.begin());
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
    if (style_ == Value) return;
    const bool separatorChanged = isSeparator() != (Value == tbsSeparator || Value == tbsDivider);
    style_ = Value;
    if (separatorChanged && !ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), isSeparator() ? defaultSeparatorWidth : defaultButtonWidth, Height());
    changed();
}

void TToolButton::SetDown(bool Value) {
    down_ = Value;
    // Sent even when unchanged: a click has turned the window's button over already.
    stateChanged();
}

void TToolButton::SetGrouped(bool Value) {
    if (grouped_ == Value) return;
    grouped_ = Value;
    changed();
}

void TToolButton::SetImageIndex(Integer Value) {
    if (imageIndex_ == Value) return;
    imageIndex_ = Value;
    changed();
}

void TToolButton::SetIndeterminate(bool Value) {
    if (indeterminate_ == Value) return;
    indeterminate_ = Value;
    stateChanged();
}

void TToolButton::SetMarked(bool Value) {
    if (marked_ == Value) return;
    marked_ = Value;
    stateChanged();
}

void TToolButton::SetWrap(bool Value) {
    if (wrap_ == Value) return;
    wrap_ = Value;
    stateChanged();
}

void TToolButton::changed() {
    if (toolBar_) toolBar_->updateButton(this);
}

void TToolButton::stateChanged() {
    if (toolBar_) toolBar_->updateButtonState(this);
}

BYTE TToolButton::windowState() const {
    BYTE state = 0;
    if (Enabled()) state |= TBSTATE_ENABLED;
    if (!Visible()) state |= TBSTATE_HIDDEN;
    if (down_) state |= style_ == tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
    if (indeterminate_) state |= TBSTATE_INDETERMINATE;
    if (marked_) state |= TBSTATE_MARKED;
    if (wrap_) state |= TBSTATE_WRAP;
    return state;
}

BYTE TToolButton::windowStyle() const {
    switch (style_) {
    case tbsCheck:
        return grouped_ ? TBSTYLE_CHECKGROUP : TBSTYLE_CHECK;
    case tbsDropDown:
        return TBSTYLE_DROPDOWN;
    case tbsSeparator:
    case tbsDivider:
        return TBSTYLE_SEP;
    default:
        return TBSTYLE_BUTTON;
    }
}

void TToolButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
        TGraphicControl::Dispatch(Message);
        changed();
        break;
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
        TGraphicControl::Dispatch(Message);
        stateChanged();
        break;
    default:
        TGraphicControl::Dispatch(Message);
    }
}

void TToolButton::DefaultHandler(TMessage& Message) {
    if (!toolBar_ || !isMouseMessage(Message.Msg)) {
        TGraphicControl::DefaultHandler(Message);
        return;
    }
    const TPoint pos{GET_X_LPARAM(Message.LParam) + Left(), GET_Y_LPARAM(Message.LParam) + Top()};
    TMessage onBar{Message.Msg, Message.WParam,
                   MAKELPARAM(static_cast<WORD>(pos.x), static_cast<WORD>(pos.y)), 0};
    toolBar_->DefaultHandler(onBar);
    Message.Result = onBar.Result;
}

void TToolButton::Click() {
    TGraphicControl::Click();
    if (menuItem_ && !ActionLink()) menuItem_->Click();
}

void TToolButton::SetMenuItem(TMenuItem* Value) {
    if (Value) {
        if (Value != menuItem_) Value->FreeNotification(this);
        if (Value->Action()) SetAction(Value->Action());
        SetCaption(Value->Caption());
        SetDown(Value->Checked());
        SetEnabled(Value->Enabled());
        SetHint(Value->Hint());
        SetImageIndex(Value->ImageIndex());
        SetVisible(Value->Visible());
    }
    menuItem_ = Value;
}

void TToolButton::SetDropdownMenu(TPopupMenu* Value) {
    if (Value == dropdownMenu_) return;
    dropdownMenu_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == menuItem_) menuItem_ = nullptr;
    if (AComponent == dropdownMenu_) dropdownMenu_ = nullptr;
}

// ---- TToolBar -----------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* AOwner)
    : TWinControl(AOwner), images_(TNotifyEvent(this, &TToolBar::imagesChanged)),
      hotImages_(TNotifyEvent(this, &TToolBar::imagesChanged)),
      disabledImages_(TNotifyEvent(this, &TToolBar::imagesChanged)) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks});
    SetBounds(Left(), Top(), Width(), defaultToolBarHeight);
    SetAlign(alTop);
    RegisterCommonControlClasses();
}

TToolBar::~TToolBar() {
    if (!DestructionPrepared()) BeforeDestruction();
}

void TToolBar::BeforeDestruction() {
    for (TToolButton* button : buttons_)
        button->toolBar_ = nullptr;
    buttons_.clear();
    TWinControl::BeforeDestruction();
}

TToolButton* TToolBar::Buttons(Integer Index) const {
    if (Index < 0 || Index >= ButtonCount()) throw EListError(Format(SListIndexError, {Index}));
    return buttons_[static_cast<std::size_t>(Index)];
}

void TToolBar::SetButtonWidth(Integer Value) {
    if (buttonWidth_ == Value) return;
    buttonWidth_ = Value;
    if (HandleAllocated())
        SendMessageA(Handle(), TB_SETBUTTONSIZE, 0,
                     MAKELPARAM(static_cast<WORD>(buttonWidth_), static_cast<WORD>(buttonHeight_)));
    repositionButtons();
}

void TToolBar::SetButtonHeight(Integer Value) {
    if (buttonHeight_ == Value) return;
    buttonHeight_ = Value;
    if (HandleAllocated())
        SendMessageA(Handle(), TB_SETBUTTONSIZE, 0,
                     MAKELPARAM(static_cast<WORD>(buttonWidth_), static_cast<WORD>(buttonHeight_)));
    repositionButtons();
}

void TToolBar::setImageList(TControlImages& Images, TCustomImageList* Value) {
    if (Images.List() == Value) return;
    if (Images.List()) Images.List()->RemoveFreeNotification(this);
    Images.Set(Value);
    if (Value) Value->FreeNotification(this);
    imagesChanged(Value);
}

void TToolBar::SetImages(TCustomImageList* Value) {
    setImageList(images_, Value);
}

void TToolBar::SetHotImages(TCustomImageList* Value) {
    setImageList(hotImages_, Value);
}

void TToolBar::SetDisabledImages(TCustomImageList* Value) {
    setImageList(disabledImages_, Value);
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == images_.List()) SetImages(nullptr);
    if (AComponent == hotImages_.List()) SetHotImages(nullptr);
    if (AComponent == disabledImages_.List()) SetDisabledImages(nullptr);
}

void TToolBar::imagesChanged(TObject*) {
    if (!HandleAllocated()) return;
    sendImages();
    repositionButtons();
    Invalidate();
}

void TToolBar::sendImages() {
    const SIZE size = images_.Handle() ? images_.Handle()->ImageSize() : defaultImageSize;
    SendMessageA(Handle(), TB_SETBITMAPSIZE, 0,
                 MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)));
    SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Handle()));
    SendMessageA(Handle(), TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_.Handle()));
    SendMessageA(Handle(), TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImages_.Handle()));
}

void TToolBar::SetFlat(bool Value) {
    if (flat_ == Value) return;
    flat_ = Value;
    RecreateWnd();
}

void TToolBar::SetList(bool Value) {
    if (list_ == Value) return;
    list_ = Value;
    RecreateWnd();
}

void TToolBar::SetShowCaptions(bool Value) {
    if (showCaptions_ == Value) return;
    showCaptions_ = Value;
    RecreateWnd();
}

void TToolBar::SetWrapable(bool Value) {
    if (wrapable_ == Value) return;
    wrapable_ = Value;
    RecreateWnd();
}

void TToolBar::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    RecreateWnd();
}

void TToolBar::SetIndent(Integer Value) {
    if (indent_ == Value) return;
    indent_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TB_SETINDENT, static_cast<WPARAM>(Value), 0);
    repositionButtons();
}

void TToolBar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, TOOLBARCLASSNAMEA);
    // The framework places the bar and its buttons itself.
    Params.Style |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
    if (flat_) Params.Style |= TBSTYLE_FLAT;
    if (list_) Params.Style |= TBSTYLE_LIST;
    if (wrapable_) Params.Style |= TBSTYLE_WRAPABLE;
    if (transparent_) Params.Style |= TBSTYLE_TRANSPARENT;
}

void TToolBar::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(Handle(), TB_SETMAXTEXTROWS, showCaptions_ ? 1 : 0, 0);
    sendImages();
    SendMessageA(Handle(), TB_SETBUTTONSIZE, 0,
                 MAKELPARAM(static_cast<WORD>(buttonWidth_), static_cast<WORD>(buttonHeight_)));
    SendMessageA(Handle(), TB_SETINDENT, static_cast<WPARAM>(indent_), 0);
    sendAllButtons();
    repositionButtons();
}

void TToolBar::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (TToolButton* button : buttons_)
        if (button->Owner() == Root) Proc(button);
    for (Integer i = 0; i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (!dynamic_cast<TToolButton*>(control) && control->Owner() == Root) Proc(control);
    }
}

bool TToolBar::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
    (void)NewWidth;
    Integer bottom = 0;
    for (TToolButton* button : buttons_)
        if (button->Visible()) bottom = std::max(bottom, button->Top() + button->Height());
    if (bottom == 0) bottom = buttonHeight_;
    NewHeight = bottom + (Height() - ClientHeight());
    return true;
}

void TToolBar::AlignControls(TControl* AControl, TRect& Rect) {
    (void)AControl;
    (void)Rect;
    repositionButtons();
}

// In the order of the bar; a form resource's buttons by their place from left to right.
void TToolBar::insertButton(TToolButton* Button) {
    Button->toolBar_ = this;
    Button->command_ = nextCommand_++;
    auto position = buttons_.end();
    if (ComponentState().Contains(csLoading) || Button->ComponentState().Contains(csLoading))
        position = std::find_if(buttons_.begin(), buttons_.end(), [Button](TToolButton* other) {
            return other->Top() > Button->Top() ||
                   (other->Top() == Button->Top() && other->Left() > Button->Left());
        });
    const auto index = static_cast<Integer>(position - buttons_.begin());
    buttons_.insert(position, Button);
    if (!HandleAllocated()) return;
    sendButton(Button, index);
    repositionButtons();
}

void TToolBar::removeButton(TToolButton* Button) {
    const Integer index = Button->Index();
    Button->toolBar_ = nullptr;
    if (index < 0 || index >= ButtonCount()) return;
    buttons_.erase(buttons_.begin() + index);
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
    repositionButtons();
}

void TToolBar::updateButton(TToolButton* Button) {
    if (!HandleAllocated()) return;
    const Integer index = Button->Index();
    SendMessageA(Handle(), TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
    sendButton(Button, index);
    repositionButtons();
}

void TToolBar::updateButtonState(TToolButton* Button) {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), TB_SETSTATE, static_cast<WPARAM>(Button->command_),
                 MAKELPARAM(Button->windowState(), 0));
    if (Button->style_ == tbsCheck && Button->down_) syncDownStates();
    repositionButtons();
}

// The caption reaches the window as a string of its list when captions show.
void TToolBar::sendButton(TToolButton* Button, Integer Index) {
    TBBUTTON info;
    info.iBitmap = Button->isSeparator() ? Button->Width() : Button->imageIndex_;
    info.idCommand = Button->command_;
    info.fsState = Button->windowState();
    info.fsStyle = Button->windowStyle();
    info.dwData = reinterpret_cast<DWORD_PTR>(Button);
    info.iString = -1;
    if (showCaptions_ && !Button->isSeparator()) {
        // A list of one string: the caption, its NUL and the list's closing NUL.
        const AnsiString caption = Button->Caption() + AnsiString(1, '\0');
        info.iString = SendMessageA(Handle(), TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(caption.c_str()));
    }
    SendMessageA(Handle(), TB_INSERTBUTTONA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&info));
}

void TToolBar::sendAllButtons() {
    for (Integer i = 0; i < ButtonCount(); ++i)
        sendButton(buttons_[static_cast<std::size_t>(i)], i);
}

void TToolBar::repositionButtons() {
    if (!HandleAllocated()) return;
    for (Integer i = 0; i < ButtonCount(); ++i) {
        TRect rect;
        if (SendMessageA(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect)))
            buttons_[static_cast<std::size_t>(i)]->placeAt(rect);
    }
    if (AutoSize()) AdjustSize();
}

TToolButton* TToolBar::buttonByCommand(Integer Command) const {
    for (TToolButton* button : buttons_)
        if (button->command_ == Command) return button;
    return nullptr;
}

void TToolBar::syncDownStates() {
    for (TToolButton* button : buttons_)
        if (button->style_ == tbsCheck)
            button->down_ =
                SendMessageA(Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(button->command_), 0) != 0;
}

void TToolBar::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_COMMAND)
        cnCommand(Message);
    else if (Message.Msg == CN_NOTIFY)
        cnNotify(Message);
    else
        TWinControl::Dispatch(Message);
}

// A drop-down button's menu shows below the button, which it pops up for.
void TToolBar::cnNotify(TMessage& Message) {
    const auto& info = *reinterpret_cast<const NMTOOLBARA*>(Message.LParam);
    if (info.hdr.code != TBN_DROPDOWN) {
        TWinControl::Dispatch(Message);
        return;
    }
    Message.Result = TBDDRET_DEFAULT;
    TToolButton* button = buttonByCommand(info.iItem);
    if (!button || !button->dropdownMenu_) return;
    const TPoint below = button->ClientToScreen(TPoint{0, button->Height()});
    button->dropdownMenu_->SetPopupComponent(button);
    button->dropdownMenu_->Popup(below.x, below.y);
}

// OnClick runs while Down still holds its state from before the click; then
// Down takes the window's new state. A grouped button that allows all up and
// was down comes up.
void TToolBar::cnCommand(TMessage& Message) {
    Message.Result = 0;
    const Integer command = LOWORD(Message.WParam);
    TToolButton* button = buttonByCommand(command);
    if (!button) return;
    const bool wasDown = button->down_;
    button->Click();
    // The handler may have freed the button or changed the bar.
    button = buttonByCommand(command);
    if (!button || !HandleAllocated()) return;
    syncDownStates();
    if (button->style_ == tbsCheck && button->grouped_ && button->allowAllUp_ && wasDown && button->down_)
        button->SetDown(false);
}

// ---- Published properties -----------------------------------------------------------------

namespace {

const TTypeInfo* const toolButtonStyleType = DefineEnum<TToolButtonStyle>(
    "TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"});

const TClass toolButtonClass = DescribeClass<TToolButton, TGraphicControl>([](TClassBuilder<TToolButton>& c) {
    c.Property("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
    c.Property("Caption", &TToolButton::Caption, &TToolButton::SetCaption);
    c.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
    c.Property("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu);
    c.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
    c.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
    c.Property("Indeterminate", &TToolButton::Indeterminate, &TToolButton::SetIndeterminate).Default(false);
    c.Property("Marked", &TToolButton::Marked, &TToolButton::SetMarked).Default(false);
    c.Property("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
    c.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
    c.Property("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap).Default(false);
});

const TClass toolBarClass = DescribeClass<TToolBar, TWinControl>([](TClassBuilder<TToolBar>& c) {
    c.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
    c.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
    c.Property("Caption", &TToolBar::Caption, &TToolBar::SetCaption);
    c.Property("DisabledImages", &TToolBar::DisabledImages, &TToolBar::SetDisabledImages);
    c.Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
    c.Property("HotImages", &TToolBar::HotImages, &TToolBar::SetHotImages);
    c.Property("Images", &TToolBar::Images, &TToolBar::SetImages);
    c.Property("Indent", &TToolBar::Indent, &TToolBar::SetIndent).Default(0);
    c.Property("List", &TToolBar::List, &TToolBar::SetList).Default(false);
    c.Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
    c.Property("Transparent", &TToolBar::Transparent, &TToolBar::SetTransparent).Default(false);
    c.Property("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable).Default(true);
});

struct RegisterToolBarClasses {
    RegisterToolBarClasses() { RegisterClasses({toolBarClass, toolButtonClass}); }
} registerToolBarClasses;

} // namespace
