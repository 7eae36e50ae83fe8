// The list view with UTF-16 item captions, sub-item texts and column
// captions. Every wide text sits beside the framework's ANSI copy; a Unicode
// window asks for the wide texts through its UTF-16 callbacks, sorts and
// finds by them, and hands an in-place edit back wide. Text the framework
// writes in ANSI form only replaces a wide text whose ANSI form it changes.
#pragma once

#include "platform/vcl/ListViews.h"
#include "unicode/TntClasses.h"
#include "unicode/TntStdCtrls.h"

#include <functional>
#include <memory>

class TTntCustomListView;
class TTntListItem;

class TTntListColumn : public TListColumn {
public:
    using TListColumn::TListColumn;
    WideString Caption();
    void SetCaption(const WideString& Value);
    // The framework's, then the wide caption of a wide column (another's ANSI one widened).
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TTntCustomListView;
    void setAnsiCaption(const AnsiString& Value) { TListColumn::SetCaption(Value); }
    WideString caption_;
};

class TTntListColumns : public TListColumns {
public:
    explicit TTntListColumns(TCustomListView* AOwner);
    TTntListColumn* Add();
    // EListError outside the columns; EInvalidCast for a column that is not wide.
    TTntListColumn* Items(Integer Index) const;
};

// The wide sub-item texts of an item. Each change is made in the item's ANSI
// sub-items too (unless the list is being reloaded from them); the objects
// live in the ANSI list.
class TWideSubItems : public TTntStringList {
public:
    explicit TWideSubItems(TTntListItem* Owner) : owner_(Owner) {}
    TObject* GetObject(Integer Index) const override;
    void Put(Integer Index, const WideString& S) override;
    void PutObject(Integer Index, TObject* AObject) override;
    Integer AddObject(const WideString& S, TObject* AObject) override;
    void Clear() override;
    void Delete(Integer Index) override;
    void InsertObject(Integer Index, const WideString& S, TObject* AObject) override;
    void Exchange(Integer Index1, Integer Index2) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    friend class TTntListItem;
    TStrings* ansiSubItems() const;
    // A change of both lists, made as one wide change of the list view.
    void mirrored(const std::function<void()>& Wide, const std::function<void()>& Ansi);

    TTntListItem* owner_;
    bool ignoreAnsi_ = false;
};

class TTntListItem : public TListItem {
public:
    explicit TTntListItem(TListItems* AOwner);
    ~TTntListItem() override;
    WideString Caption();
    void SetCaption(const WideString& Value);
    TTntStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(TTntStrings* Value) { subItems_->Assign(Value); }
    // From a wide item: wide caption, data, images (overlay too), indent, wide sub-items
    // and check state; else the framework's.
    void Assign(TPersistent* Source) override;

private:
    friend class TTntCustomListView;
    void setAnsiCaption(const AnsiString& Value) { TListItem::SetCaption(Value); }
    // The wide texts the ANSI ones no longer stand for give way to them.
    void followAnsiCaption();
    void followAnsiSubItems();

    WideString caption_;
    std::unique_ptr<TWideSubItems> subItems_;
};

class TTntListItems : public TListItems {
public:
    using TListItems::TListItems;
    TTntListItem* Add();
    TTntListItem* Insert(Integer Index);
    TTntListItem* AddItem(TListItem* Item, Integer Index = -1);
    // EListError outside the items; EInvalidCast for an item that is not wide.
    TTntListItem* Item(Integer Index) const;
};

// The wide window procedure of a list or tree view's in-place editor: its
// keys go through View's key handling (a character beyond ANSI carried
// through the ANSI handlers safely), the control's own key messages
// (CN_KEYDOWN, CN_CHAR, CN_SYSKEYDOWN, CN_SYSCHAR) to View's WndProc, and
// the rest to the editor's Previous procedure.
void TntLabelEditor_WndProc(TWinControl* View, HWND Editor, WNDPROC Previous, TMessage& Message);

using TTntLVEditedEvent = Closure<void(TObject* Sender, TTntListItem* Item, WideString& S)>;
using TTntLVOwnerDataFindEvent =
    Closure<void(TObject* Sender, TItemFind Find, const WideString& FindString, const TPoint& FindPosition,
                 void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap, Integer& Index)>;

class TTntCustomListView : public TTntHinted<TCustomListView> {
public:
    explicit TTntCustomListView(TComponent* AOwner);
    ~TTntCustomListView() override;

    TTntListItems* Items() const;
    TTntListColumns* Columns() const;
    TTntListItem* Selected();
    TTntListItem* ItemFocused();
    TTntListItem* TopItem();
    TTntListColumn* ColumnFromIndex(Integer Index) const { return Columns()->Items(Index); }
    TTntListItem* FindCaption(Integer StartIndex, const WideString& Value, bool Partial, bool Inclusive,
                              bool Wrap);
    Integer StringWidth(const WideString& S);
    // The incremental search text the user is typing, or empty.
    WideString GetSearchString();
    TTntListItem* AddItem(const WideString& Caption, TObject* Data);
    // The wide captions and data of the selected items go to Destination.
    void CopySelection(TCustomListControl* Destination);

    // Changes of wide texts in progress, during which the framework's ANSI
    // writes do not touch the wide texts.
    void BeginChangingWideItem() { ++wideChanges_; }
    void EndChangingWideItem();

    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    TTntLVEditedEvent OnEdited;
    // An owner-data list's find request with the wide text; the framework's
    // OnDataFind (with the ANSI text) serves while it is not assigned.
    TTntLVOwnerDataFindEvent OnDataFind;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    // An item of the class OnCreateItemClass names, TTntListItem without it;
    // ETntInternalError for a class that is not a wide item's.
    TListItem* CreateListItem() override;
    TListItems* CreateListItems() override;
    TListColumns* CreateListColumns() override;
    // Clears the wide texts the reused owner-data item held before OnData.
    bool OwnerDataFetch(TListItem* Item) override;
    // The framework's find request, with the wide text the window asked for.
    Integer OwnerDataFind(TItemFind Find, const AnsiString& FindString, const TPoint& FindPosition,
                          void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap) override;
    virtual Integer OwnerDataFindW(TItemFind Find, const WideString& FindString, const TPoint& FindPosition,
                                   void* FindData, Integer StartIndex, TSearchDirection Direction, bool Wrap);
    // OnDrawItem when assigned, else the row filled with the brush and the wide caption.
    void DrawItem(TListItem* Item, const TRect& Rect, TOwnerDrawState State) override;

private:
    TTntListItem* itemAt(Integer Index, LPARAM Param);
    void ansiItemTextSet(const TMessage& Message);
    void ansiItemUpdated(const TMessage& Message);
    void ansiColumnSet(TMessage& Message);
    void sortItems(TMessage& Message);
    void cnNotify(TMessage& Message);
    void dispatchAs(TMessage& Message, UINT AnsiCode);
    void getDispInfo(TMessage& Message);
    void beginLabelEdit(TMessage& Message);
    void endLabelEdit(TMessage& Message);
    void ownerDataFindW(TMessage& Message);
    void getInfoTipW(TMessage& Message);
    void editorWndProc(TMessage& Message);
    static int wideCompare(LPARAM First, LPARAM Second, LPARAM SortParam);

    HWND editor_ = nullptr;
    WNDPROC editorInstance_ = nullptr;
    WNDPROC editorPrevious_ = nullptr;
    bool capturingDefaultSort_ = false;
    Integer wideChanges_ = 0;
    // The wide text of the owner-data find request being answered.
    WideString findText_;
    bool findingWide_ = false;
};

class TTntListView : public TTntCustomListView {
public:
    using TTntCustomListView::TTntCustomListView;
    void SetColumns(TTntListColumns* Value) { Columns()->Assign(Value); }
};
