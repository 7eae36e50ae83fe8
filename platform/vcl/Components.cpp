// Assignment, ownership, naming and notification of components, and the
// item bookkeeping of collections.
#include "platform/vcl/Components.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filers.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* SInvalidName = "'%s' is not a valid component name";
constexpr const char* SDuplicateName = "A component named %s already exists";

[[noreturn]] void raiseIndexError(Integer index) {
    throw EListError(Format(SListIndexError, {index}));
}

template <typename Item> void eraseOne(std::vector<Item*>& list, Item* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found != list.end()) list.erase(found);
}

bool contains(const std::vector<TComponent*>& list, TComponent* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

const TClass describedPersistent = DescribeClass<TPersistent, TObject>();
const TClass describedComponent = DescribeClass<TComponent, TPersistent>([](TClassBuilder<TComponent>& c) {
    c.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
    c.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
});
const TClass describedCollection = DescribeClass<TCollection, TPersistent>();
const TClass describedCollectionItem = DescribeClass<TCollectionItem, TPersistent>();

} // namespace

bool IsValidIdent(const AnsiString& Ident) {
    auto isLetter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
    auto isLetterOrDigit = [&](char c) { return isLetter(c) || std::isdigit(static_cast<unsigned char>(c)); };
    return !Ident.empty() && isLetter(Ident[0]) &&
           std::all_of(Ident.begin() + 1, Ident.end(), isLetterOrDigit);
}

// --- TComponent -------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    RemoveFreeNotifications();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::RemoveFreeNotifications() {
    while (!freeNotifies_.empty()) {
        TComponent* listener = freeNotifies_.back();
        freeNotifies_.pop_back();
        eraseOne(listener->freeNotifies_, this);
        listener->Notification(this, opRemove);
    }
}

TComponent* TComponent::Components(Integer Index) const {
    if (Index < 0 || Index >= ComponentCount()) raiseIndexError(Index);
    return components_[static_cast<std::size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& siblings = owner_->components_;
    return static_cast<Integer>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
    if (!owner_) return;
    auto& siblings = owner_->components_;
    Integer current = ComponentIndex();
    Value = std::clamp(Value, 0, static_cast<Integer>(siblings.size()) - 1);
    siblings.erase(siblings.begin() + current);
    siblings.insert(siblings.begin() + Value, this);
}

void TComponent::SetName(const AnsiString& NewName) {
    if (name_ == NewName) return;
    if (!NewName.empty() && !IsValidIdent(NewName)) throw EComponentError(Format(SInvalidName, {NewName}));
    if (owner_)
        owner_->ValidateRename(this, name_, NewName);
    else
        ValidateRename(nullptr, name_, NewName);
    SetReference(false);
    name_ = NewName;
    SetReference(true);
}

void TComponent::SetSubComponent(bool IsSubComponent) {
    if (IsSubComponent)
        style_.Include(csSubComponent);
    else
        style_.Exclude(csSubComponent);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* component : components_)
        if (SameText(component->name_, AName)) return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    AComponent->ValidateContainer(this);
    ValidateRename(AComponent, {}, AComponent->name_);
    // A component has one owner: moving it takes it out of the old one's list.
    if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
    insert(AComponent);
    AComponent->SetReference(true);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (AComponent->owner_ != this) return;
    ValidateRename(AComponent, AComponent->name_, {});
    Notification(AComponent, opRemove);
    AComponent->SetReference(false);
    remove(AComponent);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* component = components_.back();
        // Taken out with notification first, so the remaining components can
        // drop their references to it before it goes.
        RemoveComponent(component);
        delete component;
    }
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    setState(csDestroying, true);
    for (TComponent* component : components_)
        component->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (!contains(freeNotifies_, AComponent)) freeNotifies_.push_back(AComponent);
    if (!contains(AComponent->freeNotifies_, this)) AComponent->freeNotifies_.push_back(this);
    setState(csFreeNotification, true);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    eraseOne(freeNotifies_, AComponent);
    eraseOne(AComponent->freeNotifies_, this);
}

AnsiString TComponent::GetNamePath() {
    return name_;
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::ReadState(TReader* Reader) {
    Reader->ReadData(this);
}

void TComponent::WriteState(TWriter* Writer) {
    Writer->WriteData(this);
}

void TComponent::Loaded() {
    setState(csLoading, false);
}

bool TComponent::ExecuteAction(TBasicAction* Action) {
    if (!Action->HandlesTarget(this)) return false;
    Action->ExecuteTarget(this);
    return true;
}

bool TComponent::UpdateAction(TBasicAction* Action) {
    if (!Action->HandlesTarget(this)) return false;
    Action->UpdateTarget(this);
    return true;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    // A notification may free or move components: walk a snapshot and skip
    // those no longer owned.
    std::vector<TComponent*> owned = components_;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        if (contains(components_, *it)) (*it)->Notification(AComponent, Operation);
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName,
                                const AnsiString& NewName) {
    if (!AComponent || SameText(CurName, NewName)) return;
    TComponent* existing = FindComponent(NewName);
    if (existing && existing != AComponent) throw EComponentError(Format(SDuplicateName, {NewName}));
}

void TComponent::ValidateContainer(TComponent* AComponent) {
    AComponent->ValidateInsert(this);
}

void TComponent::ValidateInsert(TComponent*) {}

void TComponent::SetReference(bool Enable) {
    if (!owner_ || name_.empty()) return;
    TClass ownerClass = FindClassOfType(typeid(*owner_));
    if (!ownerClass) return;
    if (const TFieldInfo* field = ownerClass->FindField(name_))
        field->Assign(owner_, Enable ? this : nullptr);
}

void TComponent::insert(TComponent* AComponent) {
    components_.push_back(AComponent);
    AComponent->owner_ = this;
}

void TComponent::remove(TComponent* AComponent) {
    eraseOne(components_, AComponent);
    AComponent->owner_ = nullptr;
}

void TComponent::setState(TComponentStateFlag Flag, bool On) {
    if (On)
        state_.Include(Flag);
    else
        state_.Exclude(Flag);
}

// --- TCollectionItem --------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) {
    if (Collection) Collection->insertItem(this);
}

TCollectionItem::~TCollectionItem() {
    if (collection_) collection_->removeItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (collection_ == Value) return;
    if (collection_) collection_->removeItem(this);
    if (Value) {
        Value->insertItem(this);
        Value->Changed();
    }
}

Integer TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    return static_cast<Integer>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
    Integer current = Index();
    if (current < 0 || current == Value) return;
    collection_->moveItem(current, Value);
    Changed(true);
}

AnsiString TCollectionItem::GetDisplayName() {
    return ClassName();
}

void TCollectionItem::SetDisplayName(const AnsiString&) {
    Changed(false);
}

AnsiString TCollectionItem::GetNamePath() {
    if (!collection_) return ClassName();
    return Format("%s[%d]", {collection_->GetNamePath(), Index()});
}

void TCollectionItem::Changed(bool AllItems) {
    if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() {
    return collection_;
}

// --- TCollection ------------------------------------------------------------

TCollection::TCollection(TClass ItemClass) : itemClass_(ItemClass) {}

TCollection::~TCollection() {
    // No updates while the collection itself is going.
    updateCount_ = 1;
    Clear();
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = itemClass_->CreateItem(this);
    // Announced only now: the item's own constructor has finished.
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(Integer Index) {
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(Integer Index) {
    delete Items(Index);
}

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty())
        delete items_.back();
    EndUpdate();
}

TCollectionItem* TCollection::Items(Integer Index) const {
    if (Index < 0 || Index >= Count()) raiseIndexError(Index);
    return items_[static_cast<std::size_t>(Index)];
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
    for (TCollectionItem* item : items_)
        if (item->id_ == ID) return item;
    return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TCollection*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : source->items_)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() {
    ++updateCount_;
}

void TCollection::EndUpdate() {
    --updateCount_;
    Changed();
}

AnsiString TCollection::GetNamePath() {
    TPersistent* owner = GetOwner();
    if (!owner) return ClassName();
    AnsiString ownerPath = owner->GetNamePath();
    if (ownerPath.empty()) return ClassName();
    AnsiString property = propertyNameInOwner();
    if (property.empty()) return ClassName();
    return ownerPath + "." + property;
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::SetItemName(TCollectionItem*) {}

void TCollection::insertItem(TCollectionItem* Item) {
    items_.push_back(Item);
    Item->collection_ = this;
    Item->id_ = nextId_++;
    SetItemName(Item);
}

void TCollection::removeItem(TCollectionItem* Item) {
    eraseOne(items_, Item);
    Item->collection_ = nullptr;
    Changed();
}

void TCollection::moveItem(Integer CurIndex, Integer NewIndex) {
    if (NewIndex < 0 || NewIndex >= Count()) raiseIndexError(NewIndex);
    TCollectionItem* item = items_[static_cast<std::size_t>(CurIndex)];
    items_.erase(items_.begin() + CurIndex);
    items_.insert(items_.begin() + NewIndex, item);
}

AnsiString TCollection::propertyNameInOwner() {
    TPersistent* owner = GetOwner();
    TClass ownerClass = FindClassOfType(typeid(*owner));
    if (!ownerClass) return {};
    for (const TPropInfo* property : ownerClass->Properties())
        if (property->PropType->Kind == tkClass && GetObjectProp(owner, property) == this)
            return property->Name;
    return {};
}

// ---- Component lists ----------------------------------------------------------------------

// Hears when an entry of the list is freed elsewhere.
class TComponentList::Nexus : public TComponent {
public:
    explicit Nexus(TComponentList* list) : TComponent(nullptr), list_(list) {}
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove) list_->forget(AComponent);
    }

private:
    TComponentList* list_;
};

TComponentList::TComponentList(bool AOwnsObjects)
    : ownsObjects_(AOwnsObjects), nexus_(std::make_unique<Nexus>(this)) {}

TComponentList::~TComponentList() {
    while (!items_.empty()) {
        TComponent* item = items_.back();
        items_.pop_back();
        item->RemoveFreeNotification(nexus_.get());
        if (ownsObjects_) delete item;
    }
}

TComponent* TComponentList::Items(Integer Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
    return items_[static_cast<std::size_t>(Index)];
}

Integer TComponentList::Add(TComponent* AComponent) {
    Insert(Count(), AComponent);
    return Count() - 1;
}

void TComponentList::Insert(Integer Index, TComponent* AComponent) {
    if (Index < 0 || Index > Count()) throw EListError(Format(SListIndexError, {Index}));
    items_.insert(items_.begin() + Index, AComponent);
    AComponent->FreeNotification(nexus_.get());
}

Integer TComponentList::IndexOf(TComponent* AComponent) const {
    const auto found = std::find(items_.begin(), items_.end(), AComponent);
    return found == items_.end() ? -1 : static_cast<Integer>(found - items_.begin());
}

TComponent* TComponentList::Extract(TComponent* AComponent) {
    if (IndexOf(AComponent) < 0) return nullptr;
    forget(AComponent);
    AComponent->RemoveFreeNotification(nexus_.get());
    return AComponent;
}

void TComponentList::forget(TComponent* AComponent) {
    std::erase(items_, AComponent);
}
