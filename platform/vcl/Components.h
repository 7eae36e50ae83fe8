// The component model on top of the core's TPersistent: components that own
// and name each other and tell each other when they go, and collections of
// persistent items.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/TypInfo.h"

#include <functional>
#include <memory>
#include <vector>

class TBasicAction;
class TReader;
class TWriter;

class EComponentError : public Exception {
public:
    using Exception::Exception;
};

enum TComponentStateFlag {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateFlag>;

enum TComponentStyleFlag { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleFlag>;

enum TOperation { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent* Child)>;

// A named persistent object with an owner. The owner frees what it owns;
// components that asked for a free notification hear when another goes.
class TBasicAction;

class TComponent : public TPersistent {
public:
    // Owner may be null; otherwise it takes the new component into its list.
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    Integer ComponentCount() const { return static_cast<Integer>(components_.size()); }
    // EListError "List index out of bounds (%d)" when Index is outside the list.
    TComponent* Components(Integer Index) const;
    // The position in the owner's list, -1 without an owner.
    Integer ComponentIndex() const;
    void SetComponentIndex(Integer Value);

    const AnsiString& Name() const { return name_; }
    // Raises EComponentError "'%s' is not a valid component name" or "A
    // component named %s already exists" (among the owner's components).
    virtual void SetName(const AnsiString& NewName);
    Integer Tag() const { return tag_; }
    void SetTag(Integer Value) { tag_ = Value; }
    TComponentState ComponentState() const { return state_; }
    TComponentStyle ComponentStyle() const { return style_; }
    void SetSubComponent(bool IsSubComponent);

    // The owned component of that name (case-insensitive), or null.
    TComponent* FindComponent(const AnsiString& AName) const;
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    // Frees every owned component, last first. ~TComponent does it too, but by
    // then a descendant's overrides (Notification) are no longer reached: a
    // descendant that must hear of its components going calls it itself.
    void DestroyComponents();
    // Marks the component (and what it owns) as being destroyed.
    void Destroying();

    // AComponent hears (Notification with opRemove) when this component is
    // freed, and this one when AComponent is.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);
    // Tells every listener that this component goes, and forgets them.
    // ~TComponent does it too, but by then a descendant's state is gone: a
    // descendant whose listeners still call it while letting go calls it first.
    void RemoveFreeNotifications();

    AnsiString GetNamePath() override;

    // Parent and children in a form resource (controls nest in their parents).
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* Value);
    // Calls Proc for each component that is written nested in this one.
    virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
    // Where the components nested in this one in a form resource go: their
    // parent (this one by default) and owner (the root when null).
    virtual TComponent* GetChildParent() { return this; }
    virtual TComponent* GetChildOwner() { return nullptr; }

    // Reads and writes this component's properties through a filer.
    virtual void ReadState(TReader* Reader);
    virtual void WriteState(TWriter* Writer);
    // Called once the whole form resource has been read and its references fixed.
    virtual void Loaded();
    // An action looking for a target offers itself: true when this component
    // is one the action handles and it executed (updated) the action here.
    virtual bool ExecuteAction(TBasicAction* Action);
    virtual bool UpdateAction(TBasicAction* Action);
    // Another component was inserted or removed: by default passed on to
    // every owned component, and an opRemove ends a free notification.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

protected:
    virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName);
    virtual void ValidateContainer(TComponent* AComponent);
    virtual void ValidateInsert(TComponent* AComponent);
    // Sets (or clears) the owner's published field of this component's name.
    void SetReference(bool Enable);

public:
    TPersistent* GetOwner() override { return owner_; }

private:
    friend class TReader;
    friend class TWriter;
    void insert(TComponent* AComponent);
    void remove(TComponent* AComponent);
    void setState(TComponentStateFlag Flag, bool On);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    AnsiString name_;
    Integer tag_ = 0;
    TComponentState state_;
    TComponentStyle style_{csInheritable};
};

class TCollection;

// One item of a collection; freeing it takes it out of its collection.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* Value);
    // Unique within its collection, kept when other items move.
    Integer ID() const { return id_; }
    Integer Index() const;
    virtual void SetIndex(Integer Value);
    AnsiString DisplayName() { return GetDisplayName(); }
    virtual AnsiString GetDisplayName();
    virtual void SetDisplayName(const AnsiString& Value);
    AnsiString GetNamePath() override;

protected:
    // Tells the collection (Update) that this item, or with AllItems every item, changed.
    void Changed(bool AllItems);

public:
    TPersistent* GetOwner() override;

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    Integer id_ = 0;
};

// An ordered list of items of one class; it owns them.
class TCollection : public TPersistent {
public:
    explicit TCollection(TClass ItemClass);
    ~TCollection() override;

    TClass ItemClass() const { return itemClass_; }
    TCollectionItem* Add();
    TCollectionItem* Insert(Integer Index);
    void Delete(Integer Index);
    void Clear();
    Integer Count() const { return static_cast<Integer>(items_.size()); }
    // EListError "List index out of bounds (%d)" when Index is outside the list.
    TCollectionItem* Items(Integer Index) const;
    void SetItem(Integer Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }
    TCollectionItem* FindItemID(Integer ID) const;
    void Assign(TPersistent* Source) override;
    virtual void BeginUpdate();
    virtual void EndUpdate();
    Integer UpdateCount() const { return updateCount_; }
    AnsiString GetNamePath() override;

protected:
    // Called when the items change and no update is in progress; Item is the
    // changed item, or null when the whole collection changed.
    virtual void Update(TCollectionItem* Item);
    void Changed();
    virtual void SetItemName(TCollectionItem* Item);

private:
    friend class TCollectionItem;
    void insertItem(TCollectionItem* Item);
    void removeItem(TCollectionItem* Item);
    void moveItem(Integer CurIndex, Integer NewIndex);
    AnsiString propertyNameInOwner();

    TClass itemClass_;
    std::vector<TCollectionItem*> items_;
    Integer updateCount_ = 0;
    Integer nextId_ = 0;
};

// A collection that knows its owner (for GetOwner and GetNamePath).
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* AOwner, TClass ItemClass) : TCollection(ItemClass), owner_(AOwner) {}
    TPersistent* GetOwner() override { return owner_; }

private:
    TPersistent* owner_;
};

// Whether Ident is a valid component name: a letter or underscore, then
// letters, digits and underscores.
bool IsValidIdent(const AnsiString& Ident);

// A list of components that hears when an entry is freed elsewhere and
// drops it. With OwnsObjects (the default) freeing the list frees the entries.
class TComponentList : public TObject {
public:
    explicit TComponentList(bool AOwnsObjects = true);
    ~TComponentList() override;

    bool OwnsObjects() const { return ownsObjects_; }
    Integer Count() const { return static_cast<Integer>(items_.size()); }
    TComponent* Items(Integer Index) const;
    Integer Add(TComponent* AComponent);
    void Insert(Integer Index, TComponent* AComponent);
    Integer IndexOf(TComponent* AComponent) const;
    // Takes the entry out without freeing it.
    TComponent* Extract(TComponent* AComponent);

private:
    class Nexus;
    void forget(TComponent* AComponent);

    bool ownsObjects_;
    std::vector<TComponent*> items_;
    std::unique_ptr<Nexus> nexus_;
};
