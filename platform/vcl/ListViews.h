// The framework's list view over the system's SysListView32 class: TListView
// keeps its items (TListItems of TListItem, each with a caption, sub-items,
// images and data) and columns (TListColumns of TListColumn); the window
// shows them and asks for their texts and images (LVN_GETDISPINFO), and its
// selection and edits come back as the framework's events.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/StdCtrls.h"

#include <memory>
#include <vector>

class TCustomListView;
class TListItems;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType { stNone, stData, stText, stBoth };
enum TItemChange { ctText, ctImage, ctState };

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* Collection);
    ~TListColumn() override;
    void Assign(TPersistent* Source) override;
    AnsiString GetDisplayName() override;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    // The window's width once the column shows; the width kept before that.
    Integer Width();
    void SetWidth(Integer Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    Integer ImageIndex() const { return imageIndex_; }
    void SetImageIndex(Integer Value);

private:
    friend class TCustomListView;
    TCustomListView* listView() const;
    AnsiString caption_;
    Integer width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    Integer imageIndex_ = -1;
};

class TListColumns : public TCollection {
public:
    TListColumns(TCustomListView* AOwner, TClass ColumnClass);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(Integer Index) const { return static_cast<TListColumn*>(TCollection::Items(Index)); }
    TCustomListView* Owner() const { return owner_; }
    TPersistent* GetOwner() override;

protected:
    void Update(TCollectionItem* Item) override;

private:
    TCustomListView* owner_;
};

class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems* AOwner);
    ~TListItem() override;
    void Assign(TPersistent* Source) override;

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    // The texts of the columns after the first.
    TStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(TStrings* Value) { subItems_->Assign(Value); }
    Integer ImageIndex() const { return imageIndex_; }
    void SetImageIndex(Integer Value);
    Integer StateIndex() const { return stateIndex_; }
    void SetStateIndex(Integer Value);
    // The image of the image list's overlays drawn over the item's image; -1 for none.
    Integer OverlayIndex() const { return overlayIndex_; }
    void SetOverlayIndex(Integer Value);
    Integer Indent() const { return indent_; }
    void SetIndent(Integer Value);
    void* Data() const { return data_; }
    void SetData(void* Value) { data_ = Value; }
    bool Selected() const;
    void SetSelected(bool Value);
    bool Focused() const;
    void SetFocused(bool Value);
    bool Checked() const;
    void SetChecked(bool Value);
    Integer Index() const;
    TListItems* Owner() const { return owner_; }
    TCustomListView* ListView() const;
    void Delete();
    void MakeVisible(bool PartialOK);
    TRect DisplayRect(Integer Code) const;
    // Asks the window to draw the item anew.
    void Update();

private:
    friend class TListItems;
    friend class TCustomListView;
    void subItemsChanged(TObject* Sender);
    void setState(UINT State, UINT Mask);
    bool hasState(UINT State, UINT Mask) const;

    TListItems* owner_;
    AnsiString caption_;
    std::unique_ptr<TStringList> subItems_;
    Integer imageIndex_ = -1;
    Integer stateIndex_ = -1;
    Integer overlayIndex_ = -1;
    Integer indent_ = 0;
    void* data_ = nullptr;
    // The sub-items the window last heard of.
    Integer subItemCount_ = 0;
    // States set while there is no window, and kept while the window is made anew.
    UINT keptState_ = 0;
    UINT keptMask_ = 0;
    // The index an owner-data list view's item stands for while OnData fills it.
    Integer ownerDataIndex_ = -1;
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView* AOwner);
    ~TListItems() override;
    void Assign(TPersistent* Source) override;

    TListItem* Add();
    TListItem* Insert(Integer Index);
    TListItem* AddItem(TListItem* Item, Integer Index = -1);
    void Delete(Integer Index);
    void Clear();
    Integer Count() const;
    // EListError for an index outside the items.
    TListItem* Item(Integer Index) const;
    Integer IndexOf(const TListItem* Value) const;
    void BeginUpdate();
    void EndUpdate();
    TCustomListView* Owner() const { return owner_; }

private:
    friend class TCustomListView;
    friend class TListItem;
    void sendItem(Integer Index);
    void sendAll();
    void remove(TListItem* Item);
    // The items in the window's order (after the window sorted them).
    void followWindowOrder();

    TCustomListView* owner_;
    std::vector<std::unique_ptr<TListItem>> items_;
    Integer updateCount_ = 0;
};

using TLVChangeEvent = Closure<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent =
    Closure<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVColumnClickEvent = Closure<void(TObject* Sender, TListColumn* Column)>;
using TLVCompareEvent =
    Closure<void(TObject* Sender, TListItem* Item1, TListItem* Item2, Integer Data, Integer& Compare)>;
using TLVDeletedEvent = Closure<void(TObject* Sender, TListItem* Item)>;
using TLVEditingEvent = Closure<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = Closure<void(TObject* Sender, TListItem* Item, AnsiString& S)>;
using TLVSelectItemEvent = Closure<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVOwnerDataEvent = Closure<void(TObject* Sender, TListItem* Item)>;

// A class of list items: the class's record and how it makes an item of a list.
class TListItemClassInfo {
public:
    TListItemClassInfo(TClass Class, TListItem* (*Create)(TListItems* Owner))
        : class_(Class), create_(Create) {}
    TClass ClassType() const { return class_; }
    TListItem* Create(TListItems* Owner) const { return create_(Owner); }

private:
    TClass class_;
    TListItem* (*create_)(TListItems* Owner);
};
using TListItemClass = const TListItemClassInfo*;
template <typename Item> TListItemClass ListItemClassOf() {
    static const TListItemClassInfo info(ClassOf<Item>(),
                                         [](TListItems* Owner) -> TListItem* { return new Item(Owner); });
    return &info;
}
// Asked for the class of each item the list view makes.
using TLVCreateItemClassEvent = Closure<void(TObject* Sender, TListItemClass& ItemClass)>;
// An owner-drawn report row: the handler paints the whole row on the list view's Canvas.
using TLVDrawItemEvent =
    Closure<void(TCustomListView* Sender, TListItem* Item, const TRect& Rect, TOwnerDrawState State)>;
// The tip shown while the mouse rests over an item; it starts as the item's
// caption when the item shows it cut short, else empty.
using TLVInfoTipEvent = Closure<void(TObject* Sender, TListItem* Item, AnsiString& InfoTip)>;
// What an owner-data list view is asked to find: an item by its data, by
// the start of its caption, by its whole caption, or nearest to a point.
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
using TLVOwnerDataFindEvent =
    Closure<void(TObject* Sender, TItemFind Find, const AnsiString& FindString, const TPoint& FindPosition,
                 void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap, Integer& Index)>;

class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    // Made on first use (CreateListItems), so that descendants give their own.
    TListItems* Items() const;
    void SetItems(TListItems* Value) { items_->Assign(Value); }
    TListColumns* Columns() const;
    void SetColumns(TListColumns* Value) { Columns()->Assign(Value); }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle Value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool Value);
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool Value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool Value);
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool Value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool OwnerData() const { return ownerData_; }
    void SetOwnerData(bool Value);
    // In the report view the rows are drawn by DrawItem (OnDrawItem) on Canvas.
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool Value);
    TCanvas* Canvas() const { return canvas_.get(); }
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType Value);
    TCustomImageList* LargeImages() const;
    void SetLargeImages(TCustomImageList* Value);
    TCustomImageList* SmallImages() const;
    void SetSmallImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const;
    void SetStateImages(TCustomImageList* Value);

    // The first selected item, or null; setting it selects that item alone.
    TListItem* Selected();
    void SetSelected(TListItem* Value);
    TListItem* ItemFocused();
    void SetItemFocused(TListItem* Value);
    Integer SelCount();
    // The item (for owner data, the items in the window) count.
    Integer ItemCount();
    void SetItemCount(Integer Value);
    TListItem* TopItem();
    Integer VisibleRowCount();
    TListItem* GetItemAt(Integer X, Integer Y);
    TListItem* FindCaption(Integer StartIndex, const AnsiString& Value, bool Partial, bool Inclusive,
                           bool Wrap);
    TListItem* FindData(Integer StartIndex, void* Value, bool Inclusive, bool Wrap);
    // Sorts by caption (OnCompare when assigned).
    bool AlphaSort();
    bool CustomSort(PFNLVCOMPARE SortProc, LPARAM LParam);
    void Scroll(Integer DX, Integer DY);
    void UpdateItems(Integer FirstIndex, Integer LastIndex);
    bool IsEditing();
    Integer StringWidth(const AnsiString& S);

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;
    TLVSelectItemEvent OnSelectItem;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVCreateItemClassEvent OnCreateItemClass;
    TLVDrawItemEvent OnDrawItem;
    TLVInfoTipEvent OnInfoTip;

    // The item of an owner-data list view that stands for the index asked about.
    TListItem* OwnerDataItem(Integer Index);

protected:
    TControlActionLinkClass GetActionLinkClass() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    // An item of the class OnCreateItemClass names (TListItem without it).
    virtual TListItem* CreateListItem();
    virtual TListItems* CreateListItems();
    virtual TListColumns* CreateListColumns();
    virtual bool CanChange(TListItem* Item, TItemChange Change);
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual bool CanEdit(TListItem* Item);
    virtual void Edit(TListItem* Item, AnsiString& S);
    virtual void ColClick(TListColumn* Column);
    virtual void Delete(TListItem* Item);
    virtual void InsertItem(TListItem* Item);
    // OnDrawItem when assigned, else the row filled with the brush and the caption.
    virtual void DrawItem(TListItem* Item, const TRect& Rect, TOwnerDrawState State);
    virtual bool OwnerDataFetch(TListItem* Item);
    // The index OnDataFind answers for an owner-data list's find request; -1 without one.
    virtual Integer OwnerDataFind(TItemFind Find, const AnsiString& FindString, const TPoint& FindPosition,
                                  void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap);

private:
    friend class TListItems;
    friend class TListItem;
    friend class TListColumn;
    friend class TListColumns;
    void cnNotify(TMessage& Message);
    void getDispInfo(NMLVDISPINFOA& Info);
    void ownerDataFind(TMessage& Message, const NMLVFINDITEMA& Info);
    void itemChanging(TMessage& Message, const NMLISTVIEW& Change);
    void itemChanged(const NMLISTVIEW& Change);
    void endEdit(NMLVDISPINFOA& Info);
    void cnDrawItem(TMessage& Message);
    void getInfoTip(NMLVGETINFOTIPA& Info);
    TListItem* itemOf(Integer Index, LPARAM Param);
    void updateColumns();
    void updateColumn(Integer Index);
    void sendColumn(Integer Index, UINT Message);
    void sendExtendedStyle();
    void imagesChanged(TObject* Sender);
    void sendImages();
    void setImageList(TControlImages& Images, TCustomImageList* Value);
    static int defaultSort(LPARAM First, LPARAM Second, LPARAM SortParam);

    mutable std::unique_ptr<TListItems> items_;
    mutable std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TControlImages> largeImages_;
    std::unique_ptr<TControlImages> smallImages_;
    std::unique_ptr<TControlImages> stateImages_;
    TViewStyle viewStyle_ = vsIcon;
    bool multiSelect_ = false;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool gridLines_ = false;
    bool checkboxes_ = false;
    bool showColumnHeaders_ = true;
    bool columnClick_ = true;
    bool hideSelection_ = true;
    bool ownerData_ = false;
    bool ownerDraw_ = false;
    std::unique_ptr<TCanvas> canvas_;
    TSortType sortType_ = stNone;
    Integer ownerDataCount_ = 0;
    std::unique_ptr<TListItem> ownerDataItem_;
    bool editing_ = false;
};

// The published properties of a list view class T (for the form resources).
template <typename T> void DescribeListViewProperties(TClassBuilder<T>& c) {
    c.Property("Checkboxes", &T::Checkboxes, &T::SetCheckboxes).Default(false);
    c.Property("ColumnClick", &T::ColumnClick, &T::SetColumnClick).Default(true);
    c.Property("Columns", &T::Columns, &T::SetColumns);
    c.Property("GridLines", &T::GridLines, &T::SetGridLines).Default(false);
    c.Property("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
    c.Property("LargeImages", &T::LargeImages, &T::SetLargeImages);
    c.Property("MultiSelect", &T::MultiSelect, &T::SetMultiSelect).Default(false);
    c.Property("OwnerData", &T::OwnerData, &T::SetOwnerData).Default(false);
    c.Property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).Default(false);
    c.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(false);
    c.Property("RowSelect", &T::RowSelect, &T::SetRowSelect).Default(false);
    c.Property("ShowColumnHeaders", &T::ShowColumnHeaders, &T::SetShowColumnHeaders).Default(true);
    c.Property("SmallImages", &T::SmallImages, &T::SetSmallImages);
    c.Property("SortType", &T::SortType, &T::SetSortType).Default(stNone);
    c.Property("StateImages", &T::StateImages, &T::SetStateImages);
    c.Property("ViewStyle", &T::ViewStyle, &T::SetViewStyle).Default(vsIcon);
}

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};
