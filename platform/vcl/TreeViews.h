// The framework's tree view over the system's SysTreeView32 class: TTreeView
// keeps its nodes (TTreeNodes of TTreeNode, each with a text, images, data
// and children); the window shows them and asks for their texts and images
// (TVN_GETDISPINFO), and its selection, expanding and edits come back as the
// framework's events. A tree loads from and saves to text, one node a line,
// indented with a tab per level.
#pragma once

#include "platform/vcl/ComCtrls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ETreeViewError : public Exception {
public:
    using Exception::Exception;
};

class TTreeNodes;
class TCustomTreeView;

enum TNodeAttachMode { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

class TTreeNode : public TPersistent {
public:
    explicit TTreeNode(TTreeNodes* AOwner);
    ~TTreeNode() override;
    void Assign(TPersistent* Source) override;

    const AnsiString& Text() const { return text_; }
    void SetText(const AnsiString& Value);
    void* Data() const { return data_; }
    void SetData(void* Value) { data_ = Value; }
    Integer ImageIndex() const { return imageIndex_; }
    void SetImageIndex(Integer Value);
    Integer SelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(Integer Value);
    Integer StateIndex() const { return stateIndex_; }
    void SetStateIndex(Integer Value);
    HTREEITEM ItemId() const { return item_; }

    TTreeNode* Parent() const { return parent_; }
    Integer Count() const { return static_cast<Integer>(children_.size()); }
    // EListError for an index outside the children.
    TTreeNode* Item(Integer Index) const;
    TTreeNode* getFirstChild() const;
    TTreeNode* GetLastChild() const;
    TTreeNode* getNextSibling() const;
    TTreeNode* getPrevSibling() const;
    TTreeNode* GetNextChild(TTreeNode* Value) const { return Value ? Value->getNextSibling() : nullptr; }
    TTreeNode* GetPrevChild(TTreeNode* Value) const { return Value ? Value->getPrevSibling() : nullptr; }
    // The next and previous nodes in the order of the text form (a node, then its children).
    TTreeNode* GetNext() const;
    TTreeNode* GetPrev() const;
    TTreeNode* GetNextVisible() const;
    TTreeNode* GetPrevVisible() const;
    Integer Level() const;
    Integer Index() const;
    Integer AbsoluteIndex() const;
    bool HasChildren() const { return hasChildren_ || !children_.empty(); }
    void SetHasChildren(bool Value);
    bool Expanded() const;
    void SetExpanded(bool Value);
    bool Selected() const;
    void SetSelected(bool Value);
    bool Deleting() const { return deleting_; }
    // Visible when every parent is expanded.
    bool IsVisible() const;
    void Expand(bool Recurse);
    void Collapse(bool Recurse);
    void Delete();
    void DeleteChildren();
    void MakeVisible();
    bool EditText();
    TRect DisplayRect(bool TextOnly) const;
    // Detaches the node with its children and attaches it by Destination as Mode says.
    void MoveTo(TTreeNode* Destination, TNodeAttachMode Mode);
    TTreeNodes* Owner() const { return owner_; }
    TCustomTreeView* TreeView() const;

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    void update();
    std::vector<std::unique_ptr<TTreeNode>>& siblings() const;

    TTreeNodes* owner_;
    TTreeNode* parent_ = nullptr;
    std::vector<std::unique_ptr<TTreeNode>> children_;
    AnsiString text_;
    void* data_ = nullptr;
    Integer imageIndex_ = -1;
    Integer selectedIndex_ = -1;
    Integer stateIndex_ = -1;
    HTREEITEM item_ = nullptr;
    bool hasChildren_ = false;
    bool deleting_ = false;
    // Kept while the window is made anew.
    bool wasExpanded_ = false;
};

class TTreeNodes : public TPersistent {
public:
    explicit TTreeNodes(TCustomTreeView* AOwner);
    ~TTreeNodes() override;
    void Assign(TPersistent* Source) override;

    TTreeNode* Add(TTreeNode* Sibling, const AnsiString& S) { return AddObject(Sibling, S, nullptr); }
    TTreeNode* AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
    TTreeNode* AddFirst(TTreeNode* Sibling, const AnsiString& S) {
        return AddObjectFirst(Sibling, S, nullptr);
    }
    TTreeNode* AddObjectFirst(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
    TTreeNode* AddChild(TTreeNode* Parent, const AnsiString& S) { return AddChildObject(Parent, S, nullptr); }
    TTreeNode* AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr);
    TTreeNode* AddChildFirst(TTreeNode* Parent, const AnsiString& S) {
        return AddChildObjectFirst(Parent, S, nullptr);
    }
    TTreeNode* AddChildObjectFirst(TTreeNode* Parent, const AnsiString& S, void* Ptr);
    TTreeNode* Insert(TTreeNode* Sibling, const AnsiString& S) { return InsertObject(Sibling, S, nullptr); }
    TTreeNode* InsertObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr);
    // A new node by Relative as Mode says (naAdd with no relative: a last top-level node).
    TTreeNode* AddNode(TTreeNode* Relative, const AnsiString& S, void* Ptr, TNodeAttachMode Mode);
    void Clear();
    void Delete(TTreeNode* Node);
    // Every node, in the order of the text form.
    Integer Count() const;
    // EListError for an index outside the nodes.
    TTreeNode* Item(Integer Index) const;
    TTreeNode* GetFirstNode() const;
    TTreeNode* GetNode(HTREEITEM ItemId) const;
    void BeginUpdate();
    void EndUpdate();
    TCustomTreeView* Owner() const { return owner_; }

    // Form resources keep the nodes as the binary property "Data", written
    // when there is no ancestor and there are nodes, or when the nodes differ
    // from the ancestor's.
    void DefineProperties(TFiler* Filer) override;
    // The "Data" form: the number of top-level nodes, then each node (before
    // its children) as its record size N and N bytes: image, selected, state
    // and overlay index, data and child count (32-bit little-endian each),
    // then the text as a length byte and that many bytes (the ANSI text, cut
    // to 255).
    void WriteData(TStream* Stream);
    // EReadError "Stream read error" for records that do not fit the data
    // (sizes, lengths and counts beyond what is left, trees deeper than 1024
    // levels), leaving no nodes.
    void ReadData(TStream* Stream);

protected:
    // The record form with the text as the caller stores it (at most 255 bytes) and reads it back.
    using TRecordTextOf = std::function<std::string(TTreeNode* Node)>;
    using TSetRecordText = std::function<void(TTreeNode* Node, const std::string& Bytes)>;
    void WriteRecords(TStream* Stream, const TRecordTextOf& TextOf);
    void ReadRecords(TStream* Stream, const TSetRecordText& SetText);

private:
    bool dataToBeWritten(TFiler* Filer);

    friend class TTreeNode;
    friend class TCustomTreeView;
    std::vector<std::unique_ptr<TTreeNode>>& childrenOf(TTreeNode* Parent);
    TTreeNode* attach(std::unique_ptr<TTreeNode> Node, TTreeNode* Relative, TNodeAttachMode Mode);
    std::unique_ptr<TTreeNode> detach(TTreeNode* Node);
    void sendNode(TTreeNode* Node);
    void sendTree(TTreeNode* Parent);
    void forgetItems(TTreeNode* Parent);
    void notifyDeletion(TTreeNode* Node);

    TCustomTreeView* owner_;
    std::vector<std::unique_ptr<TTreeNode>> roots_;
    Integer updateCount_ = 0;
};

using TTVChangedEvent = Closure<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = Closure<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = Closure<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = Closure<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = Closure<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = Closure<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = Closure<void(TObject* Sender, TTreeNode* Node, AnsiString& S)>;
using TTVCompareEvent =
    Closure<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, Integer Data, Integer& Compare)>;

class TCustomTreeView : public TWinControl {
public:
    explicit TCustomTreeView(TComponent* AOwner);
    ~TCustomTreeView() override;
    void BeforeDestruction() override;

    // Made on first use, so that a descendant's CreateNodes is the one called.
    TTreeNodes* Items() const;
    void SetItems(TTreeNodes* Value) { Items()->Assign(Value); }
    TTreeNode* Selected();
    void SetSelected(TTreeNode* Value);
    TTreeNode* TopItem();
    TTreeNode* DropTarget();
    Integer Indent();
    void SetIndent(Integer Value);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool Value);
    bool ShowLines() const { return showLines_; }
    void SetShowLines(bool Value);
    bool ShowRoot() const { return showRoot_; }
    void SetShowRoot(bool Value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool Value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool Value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value);
    bool AutoExpand() const { return autoExpand_; }
    void SetAutoExpand(bool Value);
    bool ToolTips() const { return toolTips_; }
    void SetToolTips(bool Value);
    // Selected answers the right-clicked node while its context menu is asked for.
    bool RightClickSelect() const { return rightClickSelect_; }
    void SetRightClickSelect(bool Value) { rightClickSelect_ = Value; }
    TCustomImageList* Images() const { return images_.List(); }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* StateImages() const { return stateImages_.List(); }
    void SetStateImages(TCustomImageList* Value);

    TTreeNode* GetNodeAt(Integer X, Integer Y);
    bool IsEditing();
    void FullExpand();
    void FullCollapse();
    // Sorts every level by text (OnCompare when assigned).
    bool AlphaSort(bool Recurse = true);
    bool CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse = true);
    // The node that takes the selection when the selected one is deleted:
    // its next sibling, else its previous one, else its parent.
    virtual TTreeNode* FindNextToSelect();

    // The tree as text: a line per node, a tab per level before its text.
    void LoadFromFile(const AnsiString& FileName);
    void LoadFromStream(TStream* Stream);
    void SaveToFile(const AnsiString& FileName);
    void SaveToStream(TStream* Stream);

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TTVChangedEvent OnChange;
    TTVChangingEvent OnChanging;
    TTVExpandingEvent OnExpanding;
    TTVExpandedEvent OnExpanded;
    TTVCollapsingEvent OnCollapsing;
    TTVExpandedEvent OnCollapsed;
    TTVChangedEvent OnDeletion;
    TTVEditingEvent OnEditing;
    TTVEditedEvent OnEdited;
    TTVCompareEvent OnCompare;
    TTVExpandedEvent OnGetImageIndex;
    TTVExpandedEvent OnGetSelectedIndex;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual TTreeNode* CreateNode();
    virtual TTreeNodes* CreateNodes();
    virtual bool CanChange(TTreeNode* Node);
    virtual void Change(TTreeNode* Node);
    virtual bool CanExpand(TTreeNode* Node);
    virtual void Expand(TTreeNode* Node);
    virtual bool CanCollapse(TTreeNode* Node);
    virtual void Collapse(TTreeNode* Node);
    virtual bool CanEdit(TTreeNode* Node);
    virtual void Edit(TTreeNode* Node, AnsiString& S);
    virtual void Delete(TTreeNode* Node);

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    void cnNotify(TMessage& Message);
    LRESULT contextMenuOfRightClick();
    void getDispInfo(NMTVDISPINFOA& Info);
    void expanding(TMessage& Message, const NMTREEVIEWA& Info);
    void followWindowOrder(TTreeNode* Parent, bool Recurse);
    void imagesChanged(TObject* Sender);
    void setImageList(TControlImages& Images, TCustomImageList* Value);
    void sendStyle();
    static int defaultSort(LPARAM First, LPARAM Second, LPARAM SortParam);

    mutable std::unique_ptr<TTreeNodes> items_;
    TControlImages images_;
    TControlImages stateImages_;
    Integer indent_ = 19;
    bool showButtons_ = true;
    bool showLines_ = true;
    bool showRoot_ = true;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool rowSelect_ = false;
    bool autoExpand_ = false;
    bool toolTips_ = true;
    bool rightClickSelect_ = false;
    bool editing_ = false;
    TTreeNode* savedSelection_ = nullptr;
    TTreeNode* rightClickNode_ = nullptr;
};

class TTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
};
