// The extended controls with UTF-16 text: the panel, which paints its wide
// caption; the radio group, whose buttons are wide radio buttons made from
// wide items; the control bar and the graphic controls, which gain a wide
// hint; the image, whose picture saves and loads by UTF-16 file names.
#pragma once

#include "platform/vcl/ControlBars.h"
#include "platform/vcl/ExtCtrls.h"
#include "unicode/TntGraphics.h"
#include "unicode/TntStdCtrls.h"

#include <memory>
#include <vector>

class TTntCustomPanel : public TTntCaptioned<TCustomPanel> {
public:
    using TTntCaptioned::TTntCaptioned;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    // The framework's bevels and background, then the wide caption centred on the height of "W".
    void Paint() override;
};

class TTntPanel : public TTntCustomPanel {
public:
    using TTntCustomPanel::TTntCustomPanel;
};

class TTntCustomControlBar : public TTntHinted<TCustomControlBar> {
public:
    using TTntHinted::TTntHinted;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntControlBar : public TTntCustomControlBar {
public:
    using TTntCustomControlBar::TTntCustomControlBar;
};

// ---- Radio group ------------------------------------------------------------------------------------

class TTntCustomRadioGroup;

// One button of a radio group: a click while the group may be changed picks its item.
class TTntGroupButton : public TTntRadioButton {
public:
    explicit TTntGroupButton(TTntCustomRadioGroup* Group);
    ~TTntGroupButton() override;
    void Dispatch(TMessage& Message) override;

protected:
    void KeyPress(char& Key) override;
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    TTntCustomRadioGroup* group_;
    bool inClick_ = false;
};

// A group box of wide radio buttons made from Items; ItemIndex is the
// checked one (-1 for none), and the user's pick fires OnClick.
class TTntCustomRadioGroup : public TTntCustomGroupBox {
public:
    explicit TTntCustomRadioGroup(TComponent* AOwner);
    ~TTntCustomRadioGroup() override;

    TTntStrings* Items() const { return items_.get(); }
    void SetItems(TTntStrings* Value) { items_->Assign(Value); }
    Integer ItemIndex() const { return itemIndex_; }
    // Kept within -1 .. the last item (unchecked while the form resource is read).
    void SetItemIndex(Integer Value);
    // 1 to 16 columns of buttons.
    Integer Columns() const { return columns_; }
    void SetColumns(Integer Value);
    Integer ButtonCount() const { return static_cast<Integer>(buttons_.size()); }
    TTntGroupButton* Buttons(Integer Index) const;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void ReadState(TReader* Reader) override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

protected:
    // Whether the user may change the choice; a group that answers false keeps it.
    virtual bool CanModify() { return true; }
    void CreateWnd() override;

private:
    friend class TTntGroupButton;
    void itemsChange(TObject* Sender);
    void buttonClick(TObject* Sender);
    void setButtonCount(Integer Count);
    void updateButtons();
    // The buttons fill the frame below the caption, column by column, in one deferred move.
    void arrangeButtons();

    std::unique_ptr<TTntStringList> items_;
    std::vector<TTntGroupButton*> buttons_;
    Integer itemIndex_ = -1;
    Integer columns_ = 1;
    bool reading_ = false;
    bool updating_ = false;
};

class TTntRadioGroup : public TTntCustomRadioGroup {
public:
    using TTntCustomRadioGroup::TTntCustomRadioGroup;
};

// ---- Graphic controls with a wide hint ----------------------------------------------------------

// A graphic control of the layer: the wide hint, shown by the layer's hint window.
template <typename Base> class TTntHintedGraphic : public TTntHinted<Base> {
public:
    using TTntHinted<Base>::TTntHinted;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(Message);
        Base::Dispatch(Message);
    }
};

class TTntShape : public TTntHintedGraphic<TShape> {
public:
    using TTntHintedGraphic::TTntHintedGraphic;
};

class TTntPaintBox : public TTntHintedGraphic<TPaintBox> {
public:
    using TTntHintedGraphic::TTntHintedGraphic;
};

class TTntBevel : public TTntHintedGraphic<TBevel> {
public:
    using TTntHintedGraphic::TTntHintedGraphic;
};

class TTntSplitter : public TTntHintedGraphic<TSplitter> {
public:
    using TTntHintedGraphic::TTntHintedGraphic;
};

// An image whose picture is a TTntPicture (wide file names).
class TTntImage : public TTntHintedGraphic<TImage> {
public:
    explicit TTntImage(TComponent* AOwner);
    TTntPicture* Picture() const;
    void SetPicture(TPicture* Value) { TImage::SetPicture(Value); }
};
