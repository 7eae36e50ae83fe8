// The tree view with UTF-16 node texts. Each node keeps its wide text beside
// the framework's ANSI one; a Unicode window asks for the wide texts, form
// resources carry them as UTF-8 in "Items.Utf8Data", and trees load from and
// save to indented wide text.
#pragma once

#include "platform/vcl/TreeViews.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntStdCtrls.h"

class TTntCustomTreeView;

class TTntTreeNodes;

// The framework's navigation answers wide nodes here (EInvalidCast for a node that is not wide).
class TTntTreeNode : public TTreeNode {
public:
    using TTreeNode::TTreeNode;
    TTntTreeNode* Parent() const;
    TTntTreeNode* Item(Integer Index) const;
    TTntTreeNode* getFirstChild() const;
    TTntTreeNode* GetLastChild() const;
    TTntTreeNode* getNextSibling() const;
    TTntTreeNode* getPrevSibling() const;
    TTntTreeNode* GetNextChild(TTreeNode* Value) const;
    TTntTreeNode* GetPrevChild(TTreeNode* Value) const;
    TTntTreeNode* GetNext() const;
    TTntTreeNode* GetPrev() const;
    TTntTreeNode* GetNextVisible() const;
    TTntTreeNode* GetPrevVisible() const;
    TTntTreeNodes* Owner() const;
    TTntCustomTreeView* TreeView() const;

    // The wide text while the ANSI text is still its ANSI form.
    WideString Text();
    void SetText(const WideString& Value);
    // Equal wide texts and data.
    bool IsEqual(TTntTreeNode* Node);
    // The framework's, then the wide text of a wide node (unless this one is going).
    void Assign(TPersistent* Source) override;

private:
    void setAnsiText(const AnsiString& Value) { TTreeNode::SetText(Value); }
    WideString text_;
};

class TTntTreeNodes : public TTreeNodes {
public:
    using TTreeNodes::Add;
    using TTreeNodes::AddChild;
    using TTreeNodes::AddChildFirst;
    using TTreeNodes::AddChildObject;
    using TTreeNodes::AddChildObjectFirst;
    using TTreeNodes::AddFirst;
    using TTreeNodes::AddNode;
    using TTreeNodes::AddObject;
    using TTreeNodes::AddObjectFirst;
    using TTreeNodes::Insert;
    using TTreeNodes::InsertObject;
    using TTreeNodes::TTreeNodes;

    // A node by Relative as Mode says, with the wide text S.
    TTntTreeNode* AddNode(TTreeNode* Relative, const WideString& S, void* Ptr, TNodeAttachMode Mode);
    TTntTreeNode* Add(TTreeNode* Sibling, const WideString& S) { return AddNode(Sibling, S, nullptr, naAdd); }
    TTntTreeNode* AddObject(TTreeNode* Sibling, const WideString& S, void* Ptr) {
        return AddNode(Sibling, S, Ptr, naAdd);
    }
    TTntTreeNode* AddFirst(TTreeNode* Sibling, const WideString& S) {
        return AddNode(Sibling, S, nullptr, naAddFirst);
    }
    TTntTreeNode* AddObjectFirst(TTreeNode* Sibling, const WideString& S, void* Ptr) {
        return AddNode(Sibling, S, Ptr, naAddFirst);
    }
    TTntTreeNode* AddChild(TTreeNode* Parent, const WideString& S) {
        return AddNode(Parent, S, nullptr, naAddChild);
    }
    TTntTreeNode* AddChildObject(TTreeNode* Parent, const WideString& S, void* Ptr) {
        return AddNode(Parent, S, Ptr, naAddChild);
    }
    TTntTreeNode* AddChildFirst(TTreeNode* Parent, const WideString& S) {
        return AddNode(Parent, S, nullptr, naAddChildFirst);
    }
    TTntTreeNode* AddChildObjectFirst(TTreeNode* Parent, const WideString& S, void* Ptr) {
        return AddNode(Parent, S, Ptr, naAddChildFirst);
    }
    TTntTreeNode* Insert(TTreeNode* Sibling, const WideString& S) {
        return AddNode(Sibling, S, nullptr, naInsert);
    }
    TTntTreeNode* InsertObject(TTreeNode* Sibling, const WideString& S, void* Ptr) {
        return AddNode(Sibling, S, Ptr, naInsert);
    }
    TTntTreeNode* GetFirstNode() const;
    // EListError for an index outside the nodes.
    TTntTreeNode* Item(Integer Index) const;

    // From other wide nodes through the "Utf8Data" form; else the framework's.
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    // The nodes in the "Utf8Data" form: the number of top-level nodes, then
    // each node (before its children) as a record of its indexes, data,
    // child count and marked UTF-8 text of at most 255 bytes.
    void WriteData(TStream* Stream);
    // EReadError "Stream read error" for records that do not fit the data,
    // leaving no nodes.
    void ReadData(TStream* Stream);

private:
    bool dataToBeWritten(TFiler* Filer);
};

using TTntTVEditedEvent = Closure<void(TObject* Sender, TTntTreeNode* Node, WideString& S)>;

class TTntCustomTreeView : public TTntHinted<TCustomTreeView> {
public:
    explicit TTntCustomTreeView(TComponent* AOwner);
    ~TTntCustomTreeView() override;
    TTntTreeNodes* Items() const;
    void SetItems(TTntTreeNodes* Value) { Items()->Assign(Value); }
    TTntTreeNode* Selected();
    TTntTreeNode* TopItem();
    TTntTreeNode* DropTarget();
    TTntTreeNode* GetNodeAt(Integer X, Integer Y);
    TTntTreeNode* FindNextToSelect() override;
    // The node an item names: its lParam with TVIF_PARAM, else its handle.
    TTntTreeNode* GetNodeFromItem(const TVITEMW& Item);

    // The tree as wide text: a line per node, a tab per level before its text.
    // ETreeViewError «Invalid level (%d) for item "%s"» for a line more than
    // one level deeper than the one before.
    void LoadFromFile(const WideString& FileName);
    void LoadFromStream(TStream* Stream);
    void SaveToFile(const WideString& FileName);
    void SaveToStream(TStream* Stream);

    // Sorts by the framework's own caption order come back here and are done
    // by the wide texts instead.
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    TTntTVEditedEvent OnEdited;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    TTreeNode* CreateNode() override;
    TTreeNodes* CreateNodes() override;

private:
    void cnNotify(TMessage& Message);
    void dispatchAs(TMessage& Message, UINT AnsiCode);
    void getDispInfo(TMessage& Message);
    void beginLabelEdit(TMessage& Message);
    void endLabelEdit(TMessage& Message);
    void editorWndProc(TMessage& Message);
    void sortChildren(TMessage& Message);
    static int wideCompare(LPARAM First, LPARAM Second, LPARAM SortParam);

    bool capturingDefaultSort_ = false;
    HWND editor_ = nullptr;
    WNDPROC editorInstance_ = nullptr;
    WNDPROC editorPrevious_ = nullptr;
};

class TTntTreeView : public TTntCustomTreeView {
public:
    using TTntCustomTreeView::TTntCustomTreeView;
};
