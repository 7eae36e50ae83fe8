// The framework's tool bar over the system's ToolbarWindow32 class: TToolBar
// holds TToolButton controls, each mirrored as a button of the window, which
// draws them and reports their clicks. A click reaches the button's OnClick
// while Down still holds its state from before the click; Down then follows
// the window (a handler may set Down itself, and that state is kept). A
// button may stand for a menu item, and a drop-down button's arrow shows its
// pop-up menu.
#pragma once

#include "platform/vcl/ComCtrls.h"

#include <vector>

class TToolBar;
class TMenuItem;
class TPopupMenu;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* AOwner);
    ~TToolButton() override;
    void BeforeDestruction() override;

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle Value);
    // A check button's checked state; a plain button's pressed state.
    bool Down() const { return down_; }
    void SetDown(bool Value);
    // One of a run of grouped check buttons, of which one at a time is down.
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool Value);
    // A grouped button that is down comes up when clicked again.
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool Value) { allowAllUp_ = Value; }
    Integer ImageIndex() const { return imageIndex_; }
    void SetImageIndex(Integer Value);
    bool Indeterminate() const { return indeterminate_; }
    void SetIndeterminate(bool Value);
    bool Marked() const { return marked_; }
    void SetMarked(bool Value);
    // The next button starts a new row.
    bool Wrap() const { return wrap_; }
    void SetWrap(bool Value);
    // The position on the tool bar, -1 when on none.
    Integer Index() const;
    TToolBar* ToolBar() const { return toolBar_; }
    // The menu item the button stands for: setting it copies the item's
    // action, caption, check, enabled state, hint, image and visibility; a
    // click of the button then runs the item's Click too (unless an action
    // of the button does the work).
    TMenuItem* MenuItem() const { return menuItem_; }
    virtual void SetMenuItem(TMenuItem* Value);
    // Shown below a drop-down button when its arrow is pressed.
    TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* Value);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    void SetParent(TWinControl* AParent) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
    void Dispatch(TMessage& Message) override;
    // Mouse messages go on to the tool bar's window, which presses the buttons.
    void DefaultHandler(TMessage& Message) override;
    void Click() override;

protected:
    TControlActionLinkClass GetActionLinkClass() override;

private:
    friend class TToolBar;
    BYTE windowState() const;
    BYTE windowStyle() const;
    bool isSeparator() const { return style_ == tbsSeparator || style_ == tbsDivider; }
    // Takes the place the window gives the button.
    void placeAt(const TRect& Rect);
    void changed();
    void stateChanged();

    TToolBar* toolBar_ = nullptr;
    TToolButtonStyle style_ = tbsButton;
    bool down_ = false;
    bool grouped_ = false;
    bool allowAllUp_ = false;
    Integer imageIndex_ = -1;
    bool indeterminate_ = false;
    bool marked_ = false;
    bool wrap_ = false;
    Integer command_ = 0;
    bool placing_ = false;
    TMenuItem* menuItem_ = nullptr;
    TPopupMenu* dropdownMenu_ = nullptr;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* AOwner);
    ~TToolBar() override;
    void BeforeDestruction() override;

    Integer ButtonCount() const { return static_cast<Integer>(buttons_.size()); }
    // EListError for an index outside the buttons.
    TToolButton* Buttons(Integer Index) const;
    Integer ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(Integer Value);
    Integer ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(Integer Value);
    TCustomImageList* Images() const { return images_.List(); }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* HotImages() const { return hotImages_.List(); }
    void SetHotImages(TCustomImageList* Value);
    TCustomImageList* DisabledImages() const { return disabledImages_.List(); }
    void SetDisabledImages(TCustomImageList* Value);
    bool Flat() const { return flat_; }
    void SetFlat(bool Value);
    // Captions to the right of the images instead of below them.
    bool List() const { return list_; }
    void SetList(bool Value);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool Value);
    bool Wrapable() const { return wrapable_; }
    void SetWrapable(bool Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);
    Integer Indent() const { return indent_; }
    void SetIndent(Integer Value);

    void Dispatch(TMessage& Message) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
    // The buttons sit where the window puts them.
    void AlignControls(TControl* AControl, TRect& Rect) override;

private:
    friend class TToolButton;
    void insertButton(TToolButton* Button);
    void removeButton(TToolButton* Button);
    // Sends the button to the window again (after a change of caption, style or image).
    void updateButton(TToolButton* Button);
    void updateButtonState(TToolButton* Button);
    void sendButton(TToolButton* Button, Integer Index);
    void sendAllButtons();
    void repositionButtons();
    TToolButton* buttonByCommand(Integer Command) const;
    void syncDownStates();
    void cnCommand(TMessage& Message);
    void cnNotify(TMessage& Message);
    void imagesChanged(TObject* Sender);
    void sendImages();
    void setImageList(TControlImages& Images, TCustomImageList* Value);

    std::vector<TToolButton*> buttons_;
    Integer nextCommand_ = 1;
    Integer buttonWidth_ = 23;
    Integer buttonHeight_ = 22;
    bool flat_ = false;
    bool list_ = false;
    bool showCaptions_ = false;
    bool wrapable_ = true;
    bool transparent_ = false;
    Integer indent_ = 0;
    TControlImages images_;
    TControlImages hotImages_;
    TControlImages disabledImages_;
};
