// The tree view with UTF-16 node texts. Each node keeps its wide text beside
// the framework's ANSI one; a Unicode window asks for the wide texts, form
// resources carry them as UTF-8 in "Items.Utf8Data", and trees load from and
// save to indented wide text.
#pragma once

#include "platform/vcl/TreeViews.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"

class TTntCustomTreeView;

class TTntTreeNode : public TTreeNode {
public:
    using TTreeNode::TTreeNode;
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
    using TTreeNodes::TTreeNodes;
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

class TTntCustomTreeView : public TCustomTreeView {
public:
    using TCustomTreeView::TCustomTreeView;
    TTntTreeNodes* Items() const;
    void SetItems(TTntTreeNodes* Value) { Items()->Assign(Value); }
    TTntTreeNode* Selected();
    WideString Hint() { return TntControl_GetHint(this); }
    void SetHint(const WideString& Value) { TntControl_SetHint(this, Value); }
    // The node an item names: its lParam with TVIF_PARAM, else its handle.
    TTntTreeNode* GetNodeFromItem(const TVITEMW& Item);

    // The tree as wide text: a line per node, a tab per level before its text.
    // ETreeViewError «Invalid level (%d) for item "%s"» for a line more than
    // one level deeper than the one before.
    void LoadFromFile(const WideString& FileName);
    void LoadFromStream(TStream* Stream);
    void SaveToFile(const WideString& FileName);
    void SaveToStream(TStream* Stream);

    void Dispatch(TMessage& Message) override;
    void DefineProperties(TFiler* Filer) override;

    TTntTVEditedEvent OnEdited;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    TTreeNode* CreateNode() override;
    TTreeNodes* CreateNodes() override;

private:
    void cnNotify(TMessage& Message);
    void getDispInfo(TMessage& Message);
    void endLabelEdit(const NMTVDISPINFOW& Info);
};

class TTntTreeView : public TTntCustomTreeView {
public:
    using TTntCustomTreeView::TTntCustomTreeView;
};
