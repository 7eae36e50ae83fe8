// The framework's extra controls unit. Here: TTimer, a component whose
// OnTimer fires every Interval milliseconds on the main thread, from a window
// timer of a hidden window of its own.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <vector>

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    // Milliseconds; 0 stops the timer.
    Cardinal Interval() const { return interval_; }
    void SetInterval(Cardinal Value);
    TNotifyEvent OnTimer() const { return onTimer_; }
    // A timer without a handler does not run.
    void SetOnTimer(TNotifyEvent Value);

protected:
    virtual void Timer();

private:
    void WndProc(TMessage& Message);
    // Stops the window timer and starts it again when the properties ask for
    // it; EOutOfResources "Not enough timers available" when none is left.
    void updateTimer();

    bool enabled_ = true;
    Cardinal interval_ = 1000;
    TNotifyEvent onTimer_;
    HWND windowHandle_;
};

// ---- Panels, bevels, shapes, images and radio groups ------------------------------------

// The cut of a bevel: sunk into, raised from, or level with its surroundings.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;

// A raised (or lowered) area that holds controls, with a caption in its middle.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* AOwner);

    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel Value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel Value);
    Integer BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(Integer Value);
    // Room between the bevels, in the panel's colour.
    Integer BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(Integer Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool Value) { fullRepaint_ = Value; }
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AdjustClientRect(TRect& Rect) override;
    bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
    // The bevels, border and background; the rest of the client area, where the caption goes.
    TRect PaintFrame();
    // The DrawText flags of the caption: the alignment and the reading order.
    UINT CaptionFormat() const;
    void Paint() override;

private:
    void changed();

    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    Integer bevelWidth_ = 1;
    Integer borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    bool fullRepaint_ = true;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// A sunken or raised line, box or frame.
class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* AOwner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape Value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A rectangle, square, rounded rectangle or square, ellipse or circle drawn with Pen and Brush.
class TShape : public TGraphicControl {
public:
    explicit TShape(TComponent* AOwner);
    ~TShape() override;
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType Value);

protected:
    void Paint() override;

private:
    void styleChanged(TObject* Sender);

    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    TShapeType shape_ = stRectangle;
};

// A picture shown in its own size, stretched or centred.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(TPicture* Value) { picture_->Assign(Value); }
    // The picture's bitmap canvas; an empty picture becomes a bitmap of the
    // control's size. EInvalidOperation when the picture is another kind of graphic.
    TCanvas* Canvas();
    bool Center() const { return center_; }
    void SetCenter(bool Value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool Value);
    // Stretching keeps the picture's proportions (a small picture keeps its size).
    bool Proportional() const { return proportional_; }
    void SetProportional(bool Value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool Value);

protected:
    void Paint() override;
    bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
    // Where the picture goes in the client area.
    TRect DestRect();
    // Puts a picture object (of a descendant class) in place of the image's
    // own, which goes; the change event moves to the new one.
    void ReplacePicture(std::unique_ptr<TPicture> Picture);

private:
    void pictureChanged(TObject* Sender);

    std::unique_ptr<TPicture> picture_;
    bool center_ = false;
    bool stretch_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
};

// An area the program paints in OnPaint.
class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// A group box of radio buttons made from Items; ItemIndex is the checked one
// (-1 for none) and setting it, by the user or the program, fires OnClick.
class TCustomRadioGroup : public TCustomGroupBox {
public:
    explicit TCustomRadioGroup(TComponent* AOwner);
    ~TCustomRadioGroup() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    Integer ItemIndex() const { return itemIndex_; }
    void SetItemIndex(Integer Value);
    // 1 to 16 columns of buttons.
    Integer Columns() const { return columns_; }
    void SetColumns(Integer Value);
    Integer ButtonCount() const { return static_cast<Integer>(buttons_.size()); }
    TRadioButton* Buttons(Integer Index) const;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void ReadState(TReader* Reader) override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

protected:
    // Whether the user may change the choice; a group that answers false keeps it.
    virtual bool CanModify() { return true; }

private:
    class GroupButton;
    friend class GroupButton;
    void itemsChange(TObject* Sender);
    void buttonClick(TObject* Sender);
    void setButtonCount(Integer Count);
    void updateButtons();
    void arrangeButtons();

    std::unique_ptr<TStringList> items_;
    std::vector<GroupButton*> buttons_;
    Integer itemIndex_ = -1;
    Integer columns_ = 1;
    bool reading_ = false;
    bool updating_ = false;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};

// ---- Splitter -----------------------------------------------------------------------------------

// How a splitter shows a drag: a line drawn with PATINVERT (rsLine, or a
// checked pattern, rsPattern), the neighbour resized live (rsUpdate), or
// nothing until the button goes up (rsNone).
enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
// The framework's splitter event goes by the name of the controls' own
// OnCanResize type; here it has a name of its own.
using TSplitterCanResizeEvent = Closure<void(TObject* Sender, Integer& NewSize, bool& Accept)>;

// A bar aligned to an edge that the user drags to resize the control aligned
// just before it on the same edge.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* AOwner);
    ~TSplitter() override;

    // The smallest size the neighbour may have.
    Integer MinSize() const { return minSize_; }
    void SetMinSize(Integer Value);
    // A neighbour dragged below MinSize snaps shut (size 0).
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool Value) { autoSnap_ = Value; }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle Value) { resizeStyle_ = Value; }
    // A raised line down the bar's middle.
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool Value);
    void RequestAlign() override;

    TSplitterCanResizeEvent OnCanResize;
    TNotifyEvent OnMoved;
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    // The splitter's own question (the neighbour's new size) beside the
    // control's (a new width and height), which it keeps.
    using TGraphicControl::CanResize;
    virtual bool CanResize(Integer& NewSize);

private:
    // The visible, enabled sibling the splitter touches on its aligned side.
    TControl* findControl();
    bool vertical() const { return Align() == alLeft || Align() == alRight; }
    void calcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split);
    bool doCanResize(Integer& NewSize);
    void updateControlSize();
    void allocateLineDC();
    void releaseLineDC();
    void drawLine();
    void stopSizing();
    void focusKeyDown(TObject* Sender, Word& Key, TShiftState Shift);

    TControl* control_ = nullptr;
    TPoint downPos_;
    Integer minSize_ = 30;
    Integer maxSize_ = 0;
    Integer newSize_ = 0;
    Integer oldSize_ = -1;
    Integer split_ = 0;
    bool autoSnap_ = true;
    bool beveled_ = false;
    bool lineVisible_ = false;
    TResizeStyle resizeStyle_ = rsPattern;
    HDC lineDC_ = nullptr;
    std::unique_ptr<TBrush> lineBrush_;
    std::unique_ptr<TBitmap> linePattern_;
    HGDIOBJ previousBrush_ = nullptr;
    // The focused control's key handler, borrowed during a drag so Escape cancels it.
    TWinControl* activeControl_ = nullptr;
    TKeyEvent oldKeyDown_;
};
