// The framework's common controls over the system's control classes: the tab
// control, the page control and its tab sheets, the status bar with its
// panels, the progress bar, the track bar and the up-down control. Each
// subclasses its system class and talks to it in the ANSI messages the
// framework sends; notifications come back as CN_NOTIFY.
#pragma once

#include "platform/vcl/Controls.h"
// TAlignment, with the edit controls.
#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/ImgList.h"
#include "platform/win/CommCtrl.h"

#include <memory>
#include <vector>

// ---- Shared by the common control classes -----------------------------------------------

// A framework image list as the system's controls draw it (their HIMAGELIST).
class TImageListHandle : public ImageListSource {
public:
    explicit TImageListHandle(TCustomImageList* List) : list_(List) {}
    int ImageCount() const override;
    SIZE ImageSize() const override;
    void DrawImage(HDC dc, int index, int x, int y, UINT style) override;
    void DrawDisabledImage(HDC dc, int index, int x, int y) override;

private:
    TCustomImageList* list_;
};

// Keeps a control's image list: the handle the window draws with, and a
// change link that tells the control when the list changes.
class TControlImages {
public:
    explicit TControlImages(TNotifyEvent OnChange);
    ~TControlImages();
    TCustomImageList* List() const { return list_; }
    // The list or null; the owner also watches for the list's destruction (FreeNotification).
    void Set(TCustomImageList* Value);
    HIMAGELIST Handle() const { return handle_.get(); }

private:
    TCustomImageList* list_ = nullptr;
    std::unique_ptr<TImageListHandle> handle_;
    // The handle replaced last: the window may hold it until the control gives it the new one.
    std::unique_ptr<TImageListHandle> retired_;
    std::unique_ptr<TChangeLink> link_;
};

// ---- Tab controls ------------------------------------------------------------------------

class TCustomTabControl;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = Closure<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent =
    Closure<void(TCustomTabControl* Control, Integer TabIndex, const TRect& Rect, bool Active)>;
using TTabGetImageEvent = Closure<void(TObject* Sender, Integer TabIndex, Integer& ImageIndex)>;

// A strip of tabs over a display area. The user picks a tab; OnChanging may
// refuse the change and OnChange tells of it.
class TCustomTabControl : public TWinControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;

    // The tab captions, with an object each.
    TStrings* Tabs() const;
    void SetTabs(TStrings* Value);
    // -1 when no tab is selected. Setting it fires no event.
    Integer TabIndex();
    void SetTabIndex(Integer Value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool Value);
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition Value);
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle Value);
    // 0 sizes the tabs to their captions.
    Integer TabHeight() const { return tabHeight_; }
    void SetTabHeight(Integer Value);
    Integer TabWidth() const { return tabWidth_; }
    void SetTabWidth(Integer Value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool Value);
    bool RaggedRight() const { return raggedRight_; }
    void SetRaggedRight(bool Value);
    bool ScrollOpposite() const { return scrollOpposite_; }
    void SetScrollOpposite(bool Value);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool Value);
    TCustomImageList* Images() const { return images_.List(); }
    void SetImages(TCustomImageList* Value);
    TCanvas* Canvas() const { return canvas_.get(); }

    // The client area that the tabs leave for the pages (client coordinates).
    TRect DisplayRect();
    TRect TabRect(Integer Index);
    // The tab under a client point, or -1.
    Integer IndexOfTabAt(Integer X, Integer Y);
    Integer RowCount();

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;
    TTabGetImageEvent OnGetImageIndex;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void AdjustClientRect(TRect& Rect) override;
    // OnChanging's answer.
    virtual bool CanChange();
    // Whether a tab may be picked (by its accelerator); always for a tab control.
    virtual bool CanShowTab(Integer TabIndex);
    // The selection changed: OnChange.
    virtual void Change();
    virtual void DrawTab(Integer TabIndex, const TRect& Rect, bool Active);
    // The image of tab TabIndex: TabIndex itself, or what OnGetImageIndex answers.
    virtual Integer GetImageIndex(Integer TabIndex);
    // Gives every tab its image again.
    void UpdateTabImages();
    // The tabs changed: the pages' area may have moved.
    void TabsChanged();

private:
    // The tab captions, kept here and mirrored in the window while it exists.
    class TabList;
    void imagesChanged(TObject* Sender);
    void cnNotify(TMessage& Message);
    void cnDrawItem(TMessage& Message);
    void cmDialogChar(TMessage& Message);
    void cmFontChanged(TMessage& Message);
    void applyTabSize();

    std::unique_ptr<TabList> tabs_;
    Integer savedTabIndex_ = -1;
    bool multiLine_ = false;
    TTabPosition tabPosition_ = tpTop;
    TTabStyle style_ = tsTabs;
    Integer tabHeight_ = 0;
    Integer tabWidth_ = 0;
    bool hotTrack_ = false;
    bool raggedRight_ = false;
    bool scrollOpposite_ = false;
    bool ownerDraw_ = false;
    TControlImages images_;
    std::unique_ptr<TCanvas> canvas_;
};

class TTabControl : public TCustomTabControl {
public:
    using TCustomTabControl::TCustomTabControl;
};

class TPageControl;

// One page of a page control: a panel shown while its tab is selected.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    void BeforeDestruction() override;

    TPageControl* PageControl() const { return pageControl_; }
    // Moves the sheet to another page control (or out of any).
    void SetPageControl(TPageControl* Value);
    // The position among the page control's pages.
    Integer PageIndex() const;
    void SetPageIndex(Integer Value);
    // The position among the visible tabs; -1 when the tab is hidden.
    Integer TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool Value);
    Integer ImageIndex() const { return imageIndex_; }
    void SetImageIndex(Integer Value);
    bool Highlighted() const { return highlighted_; }
    void SetHighlighted(bool Value);

    // A sheet given a page control as its parent joins its pages.
    void SetParent(TWinControl* AParent) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    virtual void DoShow();
    virtual void DoHide();

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    bool tabShowing_ = false;
    Integer imageIndex_ = 0;
    bool highlighted_ = false;
};

// Tab sheets one above the other, the tabs choosing the one shown.
class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    void BeforeDestruction() override;

    Integer PageCount() const { return static_cast<Integer>(pages_.size()); }
    // EListError for an index outside the pages.
    TTabSheet* Pages(Integer Index) const;
    TTabSheet* ActivePage() const { return activePage_; }
    // Shows the page and selects its tab; fires neither OnChanging nor OnChange.
    void SetActivePage(TTabSheet* Page);
    Integer ActivePageIndex() const;
    void SetActivePageIndex(Integer Value);
    // The next (or previous) page after CurPage, wrapping around; with
    // CheckTabVisible only pages whose tab shows.
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible);
    // What Ctrl+Tab does: asks OnChanging, then moves on and fires OnChange.
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    void ShowControl(TControl* AControl) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWnd() override;
    void Loaded() override;
    bool CanShowTab(Integer TabIndex) override;
    void Change() override;
    Integer GetImageIndex(Integer TabIndex) override;
    // A control docking in goes onto the sheet made for it.
    void DoAddDockClient(TControl* Client, const TRect& ARect) override;
    // The page a docked control sits on, or null.
    TTabSheet* GetPageFromDockClient(TControl* Client) const;
    // The sheet a control docking in goes onto, not yet in the control.
    virtual std::unique_ptr<TTabSheet> NewDockSheet(TControl* Client);

private:
    friend class TTabSheet;
    void insertPage(TTabSheet* Page);
    void removePage(TTabSheet* Page);
    void movePage(TTabSheet* Page, Integer NewIndex);
    void changeActivePage(TTabSheet* Page);
    // The tab of a sheet follows its caption, visibility and place.
    void updateTab(TTabSheet* Page);
    void updateTabShowing(TTabSheet* Page);
    TTabSheet* pageForTab(Integer TabIndex) const;
    void cmDialogKey(TMessage& Message);
    void cmDialogChar(TMessage& Message);
    // A control docks in on a new sheet of its own.
    void cmDockClient(TMessage& Message);
    // A docked control's caption and visibility become its page's.
    void cmDockNotification(TMessage& Message);

    std::vector<TTabSheet*> pages_;
    // The sheet made for the control docking in, while it docks.
    TTabSheet* newDockSheet_ = nullptr;
    TTabSheet* activePage_ = nullptr;
    // The page a form resource named active, applied once every page is there.
    TTabSheet* pendingActivePage_ = nullptr;
};

// ---- Status bar ----------------------------------------------------------------------------

class TCustomStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

// One panel of a status bar: a text in a box of a given width.
class TStatusPanel : public TCollectionItem {
public:
    explicit TStatusPanel(TCollection* Collection);
    void Assign(TPersistent* Source) override;
    AnsiString GetDisplayName() override;

    const AnsiString& Text() const { return text_; }
    void SetText(const AnsiString& Value);
    Integer Width() const { return width_; }
    void SetWidth(Integer Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel Value);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle Value);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool Value);
    bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
    bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }

private:
    AnsiString text_;
    Integer width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
    TStatusPanelStyle style_ = psText;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool parentBiDiMode_ = true;
};

class TStatusPanels : public TCollection {
public:
    TStatusPanels(TCustomStatusBar* StatusBar, TClass PanelClass);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* AddItem(TStatusPanel* Item, Integer Index);
    TStatusPanel* Insert(Integer Index) { return static_cast<TStatusPanel*>(TCollection::Insert(Index)); }
    TStatusPanel* Items(Integer Index) const { return static_cast<TStatusPanel*>(TCollection::Items(Index)); }
    TPersistent* GetOwner() override;
    TCustomStatusBar* StatusBar() const { return statusBar_; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TCustomStatusBar* statusBar_;
};

using TDrawPanelEvent = Closure<void(TCustomStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect)>;
using TStatusPanelClass = TClass;
using TSBCreatePanelClassEvent = Closure<void(TCustomStatusBar* Sender, TStatusPanelClass& PanelClass)>;

// A bar of panels along the bottom of a form, or one simple text.
class TCustomStatusBar : public TWinControl {
public:
    explicit TCustomStatusBar(TComponent* AOwner);
    ~TCustomStatusBar() override;

    TStatusPanels* Panels() const;
    void SetPanels(TStatusPanels* Value) { panels_->Assign(Value); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool Value);
    const AnsiString& SimpleText() const { return simpleText_; }
    void SetSimpleText(const AnsiString& Value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool Value);
    bool UseSystemFont() const { return useSystemFont_; }
    void SetUseSystemFont(bool Value);
    // With AutoHint the application's hint shows in the bar (the simple
    // text, or the first panel when there are panels), unless OnHint takes it.
    bool AutoHint() const { return autoHint_; }
    void SetAutoHint(bool Value) { autoHint_ = Value; }
    TCanvas* Canvas() const { return canvas_.get(); }

    // Sends the panels' widths and texts to the window.
    void UpdatePanels(bool UpdateRects, bool UpdateText);
    void UpdatePanel(Integer Index, bool Repaint);

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnHint;
    TDrawPanelEvent OnDrawPanel;
    TSBCreatePanelClassEvent OnCreatePanelClass;

    // With AutoHint a hint action's hint shows in panel 0 (or as the simple
    // text); an assigned OnHint is called instead and the action goes on.
    bool ExecuteAction(TBasicAction* Action) override;

protected:
    // OnHint when assigned (true), else false.
    virtual bool DoHint();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // The panel collection and its item class; a descendant may use its own.
    virtual TStatusPanels* CreatePanels();
    virtual TStatusPanelClass GetPanelClass();
    virtual void DrawPanel(TStatusPanel* Panel, const TRect& Rect);

private:
    void cnDrawItem(TMessage& Message);
    void applySystemFont();
    void panelsChanged();

    mutable std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    AnsiString simpleText_;
    bool sizeGrip_ = true;
    bool useSystemFont_ = true;
    bool autoHint_ = false;
    std::unique_ptr<TCanvas> canvas_;
};

class TStatusBar : public TCustomStatusBar {
public:
    using TCustomStatusBar::TCustomStatusBar;
};

// ---- Progress bar ---------------------------------------------------------------------------

enum TProgressBarOrientation { pbHorizontal, pbVertical };

// The published properties of a status bar class T (for the form resources).
template <typename T> void DescribeStatusBarProperties(TClassBuilder<T>& c) {
    c.Property("AutoHint", &T::AutoHint, &T::SetAutoHint).Default(false);
    c.Property("Panels", &T::Panels);
    c.Property("SimplePanel", &T::SimplePanel, &T::SetSimplePanel).Default(false);
    c.Property("SimpleText", &T::SimpleText, &T::SetSimpleText);
    c.Property("SizeGrip", &T::SizeGrip, &T::SetSizeGrip).Default(true);
    c.Property("UseSystemFont", &T::UseSystemFont, &T::SetUseSystemFont).Default(true);
    c.Property("OnCreatePanelClass", &T::OnCreatePanelClass, &T::OnCreatePanelClass);
    c.Property("OnDrawPanel", &T::OnDrawPanel, &T::OnDrawPanel);
    c.Property("OnHint", &T::OnHint, &T::OnHint);
}

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);

    Integer Min() const { return min_; }
    void SetMin(Integer Value);
    Integer Max() const { return max_; }
    void SetMax(Integer Value);
    Integer Position();
    void SetPosition(Integer Value);
    Integer Step() const { return step_; }
    void SetStep(Integer Value);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool Value);
    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation Value);
    // Moves by Step, starting over past Max.
    void StepIt();
    // Moves by Delta (PBM_DELTAPOS), within Min and Max.
    void StepBy(Integer Delta);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    void sendRange();

    Integer min_ = 0;
    Integer max_ = 100;
    Integer position_ = 0;
    Integer step_ = 10;
    bool smooth_ = false;
    TProgressBarOrientation orientation_ = pbHorizontal;
};

// ---- Track bar -----------------------------------------------------------------------------

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

// A thumb on a scale; OnChange fires for every move the user makes.
class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* AOwner);

    Integer Min() const { return min_; }
    void SetMin(Integer Value);
    Integer Max() const { return max_; }
    void SetMax(Integer Value);
    Integer Position();
    void SetPosition(Integer Value);
    Integer LineSize() const { return lineSize_; }
    void SetLineSize(Integer Value);
    Integer PageSize() const { return pageSize_; }
    void SetPageSize(Integer Value);
    Integer Frequency() const { return frequency_; }
    void SetFrequency(Integer Value);
    Integer SelStart() const { return selStart_; }
    void SetSelStart(Integer Value);
    Integer SelEnd() const { return selEnd_; }
    void SetSelEnd(Integer Value);
    Integer ThumbLength() const { return thumbLength_; }
    void SetThumbLength(Integer Value);
    bool SliderVisible() const { return sliderVisible_; }
    void SetSliderVisible(bool Value);
    // A new orientation turns the control: width and height change places.
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation Value);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark Value);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle Value);
    // A tick at Value (with tsManual ticks).
    void SetTick(Integer Value);

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Changed();

private:
    void sendRange();
    void sendSelection();

    Integer min_ = 0;
    Integer max_ = 10;
    Integer position_ = 0;
    Integer lineSize_ = 1;
    Integer pageSize_ = 2;
    Integer frequency_ = 1;
    Integer selStart_ = 0;
    Integer selEnd_ = 0;
    Integer thumbLength_ = 20;
    bool sliderVisible_ = true;
    TTrackBarOrientation orientation_ = trHorizontal;
    TTickMark tickMarks_ = tmBottomRight;
    TTickStyle tickStyle_ = tsAuto;
};

// ---- Up-down -------------------------------------------------------------------------------

enum TUDAlignButton { udLeft, udRight };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
enum TUpDownDirection { updNone, updUp, updDown };
using TUDClickEvent = Closure<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = Closure<void(TObject* Sender, bool& AllowChange)>;
using TUDChangingEventEx =
    Closure<void(TObject* Sender, bool& AllowChange, SmallInt NewValue, TUpDownDirection Direction)>;

// Two arrows that step Position, shown in an associated control's text.
class TCustomUpDown : public TWinControl {
public:
    explicit TCustomUpDown(TComponent* AOwner);

    // The control beside the arrows that shows the position.
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* Value);
    TUDAlignButton AlignButton() const { return alignButton_; }
    void SetAlignButton(TUDAlignButton Value);
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool Value);
    Integer Increment() const { return increment_; }
    void SetIncrement(Integer Value);
    SmallInt Min() const { return min_; }
    void SetMin(SmallInt Value);
    SmallInt Max() const { return max_; }
    void SetMax(SmallInt Value);
    SmallInt Position();
    void SetPosition(SmallInt Value);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation Value);
    bool Thousands() const { return thousands_; }
    void SetThousands(bool Value);
    bool Wrap() const { return wrap_; }
    void SetWrap(bool Value);

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;
    TUDChangingEventEx OnChangingEx;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    // Asks OnChanging and OnChangingEx whether the position may become NewValue.
    virtual bool DoCanChange(SmallInt NewValue, Integer Delta);
    // A click on an arrow; the control's plain Click stays reachable beside it.
    using TWinControl::Click;
    virtual void Click(TUDBtnType Button);

private:
    void cnNotify(TMessage& Message);
    void cnScroll(TMessage& Message);
    void sendBuddy();

    TWinControl* associate_ = nullptr;
    TUDAlignButton alignButton_ = udRight;
    bool arrowKeys_ = true;
    Integer increment_ = 1;
    SmallInt min_ = 0;
    SmallInt max_ = 100;
    SmallInt position_ = 0;
    TUDOrientation orientation_ = udVertical;
    bool thousands_ = true;
    bool wrap_ = false;
    // The direction of the step the window asked about last.
    Integer lastDelta_ = 0;
};

class TUpDown : public TCustomUpDown {
public:
    using TCustomUpDown::TCustomUpDown;
};
