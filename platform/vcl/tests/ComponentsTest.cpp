#include "platform/vcl/Components.h"

#include <gtest/gtest.h>

namespace {

// Holds a reference to another component and forgets it when that one goes.
class THolder : public TComponent {
public:
    using TComponent::TComponent;
    TComponent* held = nullptr;
    std::vector<std::pair<TComponent*, TOperation>> heard;

    void Hold(TComponent* target) {
        held = target;
        if (target) target->FreeNotification(this);
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        heard.emplace_back(AComponent, Operation);
        if (Operation == opRemove && AComponent == held) held = nullptr;
    }
};

// An owner with a published field for its component named "Part".
class TOwnerWithField : public TComponent {
public:
    using TComponent::TComponent;
    THolder* Part = nullptr;
};

const TClass ownerWithFieldClass = DescribeClass<TOwnerWithField, TComponent>(
    [](TClassBuilder<TOwnerWithField>& c) { c.Field("Part", &TOwnerWithField::Part); });

class TNamedItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString Label;
    void Assign(TPersistent* Source) override {
        if (auto* item = dynamic_cast<TNamedItem*>(Source))
            Label = item->Label;
        else
            TCollectionItem::Assign(Source);
    }
};

const TClass namedItemClass = DescribeClass<TNamedItem, TCollectionItem>();

// Counts the collection's updates: null means "everything changed".
class TCountingCollection : public TCollection {
public:
    TCountingCollection() : TCollection(ClassOf<TNamedItem>()) {}
    std::vector<TCollectionItem*> updates;

protected:
    void Update(TCollectionItem* Item) override { updates.push_back(Item); }
};

TNamedItem* addItem(TCollection& collection, const AnsiString& label) {
    auto* item = static_cast<TNamedItem*>(collection.Add());
    item->Label = label;
    return item;
}

std::vector<AnsiString> labelsOf(const TCollection& collection) {
    std::vector<AnsiString> labels;
    for (Integer i = 0; i < collection.Count(); ++i)
        labels.push_back(static_cast<TNamedItem*>(collection.Items(i))->Label);
    return labels;
}

TEST(ComponentList, DropsFreedEntriesAndFreesThemOnlyWhenOwning) {
    auto* kept = new TComponent(nullptr);
    auto* freedElsewhere = new TComponent(nullptr);
    {
        TComponentList borrowed(false);
        borrowed.Add(kept);
        borrowed.Add(freedElsewhere);
        delete freedElsewhere;
        EXPECT_EQ(borrowed.Count(), 1);
        EXPECT_EQ(borrowed.Items(0), kept);
    }
    TComponentList owning;
    owning.Add(kept);
    EXPECT_EQ(owning.Extract(kept), kept);
    EXPECT_EQ(owning.Count(), 0);
    owning.Insert(0, kept);
    EXPECT_THROW(owning.Items(1), EListError);
}

} // namespace

TEST(Component, OwnerFreesWhatItOwnsAndFreedComponentsLeaveEveryHolder) {
    auto* owner = new TOwnerWithField(nullptr);
    auto* part = new THolder(owner);
    part->SetName("Part");
    auto* sibling = new THolder(owner);
    THolder outsider(nullptr);
    outsider.Hold(part);
    sibling->Hold(part);
    EXPECT_EQ(owner->Part, part);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(part->ComponentIndex(), 0);

    delete part;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), sibling);
    EXPECT_EQ(owner->Part, nullptr);
    EXPECT_EQ(outsider.held, nullptr);
    EXPECT_EQ(sibling->held, nullptr);

    // The outsider asked to hear about the sibling; freeing the owner frees
    // the sibling, and the outsider's list no longer names it afterwards.
    outsider.Hold(sibling);
    delete owner;
    EXPECT_EQ(outsider.held, nullptr);
    THolder later(nullptr);
    outsider.Hold(&later);
}

TEST(Component, FreeNotificationWorksBothWaysAndCanBeRemoved) {
    THolder a(nullptr);
    auto* b = new THolder(nullptr);
    a.Hold(b);
    b->Hold(&a);
    EXPECT_TRUE(a.ComponentState().Contains(csFreeNotification));
    a.RemoveFreeNotification(b);
    delete b;
    EXPECT_EQ(a.held, b) << "no notification after RemoveFreeNotification";
    EXPECT_TRUE(a.heard.empty());
}

TEST(Component, OwnerPassesInsertAndRemoveOnToItsComponents) {
    THolder owner(nullptr);
    auto* listener = new THolder(&owner);
    auto* newcomer = new THolder(&owner);
    ASSERT_EQ(listener->heard.size(), 1u);
    EXPECT_EQ(listener->heard[0], std::make_pair(static_cast<TComponent*>(newcomer), opInsert));
    owner.RemoveComponent(newcomer);
    EXPECT_EQ(newcomer->Owner(), nullptr);
    EXPECT_EQ(listener->heard.back(), std::make_pair(static_cast<TComponent*>(newcomer), opRemove));
    delete newcomer;
}

TEST(Component, NamesAreValidatedAndUniqueAmongTheOwnersComponents) {
    TComponent owner(nullptr);
    auto* first = new TComponent(&owner);
    auto* second = new TComponent(&owner);
    first->SetName("Button1");
    struct Case {
        const char* name;
        const char* error;
    };
    const Case cases[] = {
        {"1Button", "'1Button' is not a valid component name"},
        {"Button 2", "'Button 2' is not a valid component name"},
        {"button1", "A component named button1 already exists"},
        {"_Button2", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        try {
            second->SetName(c.name);
            EXPECT_EQ(c.error, nullptr) << c.name;
            EXPECT_EQ(second->Name(), c.name);
        } catch (const EComponentError& error) {
            ASSERT_NE(c.error, nullptr) << c.name;
            EXPECT_EQ(error.Message, c.error);
        }
    }
    first->SetName("BUTTON1");
    EXPECT_EQ(owner.FindComponent("button1"), first);
    EXPECT_EQ(owner.FindComponent(""), nullptr);

    TComponent stranger(nullptr);
    stranger.SetName("Button1");
    EXPECT_THROW(owner.InsertComponent(&stranger), EComponentError);
    EXPECT_EQ(stranger.Owner(), nullptr);
}

TEST(Component, MovingToAnotherOwnerLeavesTheFirst) {
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* moved = new TComponent(&first);
    second.InsertComponent(moved);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(moved->Owner(), &second);
    EXPECT_THROW(first.Components(0), EListError);
}

TEST(Component, DestroyingMarksOwnedComponents) {
    TComponent owner(nullptr);
    auto* owned = new TComponent(&owner);
    owner.Destroying();
    EXPECT_TRUE(owned->ComponentState().Contains(csDestroying));
}

TEST(Persistent, AssignWithoutAWayToCopyRaisesConvertError) {
    TComponent a(nullptr);
    TCountingCollection b;
    try {
        a.Assign(&b);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message, "Cannot assign a TCountingCollection to a TComponent");
    }
    try {
        b.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message, "Cannot assign a nil to a TCountingCollection");
    }
}

TEST(Collection, AddsInsertsMovesAndDeletesItemsKeepingTheirIDs) {
    TCountingCollection collection;
    addItem(collection, "a");
    TNamedItem* b = addItem(collection, "b");
    auto* inserted = static_cast<TNamedItem*>(collection.Insert(0));
    inserted->Label = "first";
    EXPECT_EQ(labelsOf(collection), (std::vector<AnsiString>{"first", "a", "b"}));
    EXPECT_EQ(b->Index(), 2);
    EXPECT_EQ(inserted->ID(), 2);
    EXPECT_EQ(collection.FindItemID(1), b);

    b->SetIndex(0);
    EXPECT_EQ(labelsOf(collection), (std::vector<AnsiString>{"b", "first", "a"}));
    EXPECT_THROW(b->SetIndex(3), EListError);
    collection.Delete(1);
    EXPECT_EQ(labelsOf(collection), (std::vector<AnsiString>{"b", "a"}));
    delete b;
    EXPECT_EQ(labelsOf(collection), (std::vector<AnsiString>{"a"}));
    EXPECT_THROW(collection.Items(1), EListError);
    EXPECT_THROW(collection.Delete(-1), EListError);
    EXPECT_EQ(collection.Items(0)->DisplayName(), "TNamedItem");
}

TEST(Collection, UpdatesWaitForTheLastEndUpdate) {
    TCountingCollection collection;
    TNamedItem* item = addItem(collection, "a");
    collection.updates.clear();
    collection.BeginUpdate();
    collection.BeginUpdate();
    addItem(collection, "b");
    collection.Clear();
    collection.EndUpdate();
    EXPECT_TRUE(collection.updates.empty());
    collection.EndUpdate();
    EXPECT_EQ(collection.updates, std::vector<TCollectionItem*>{nullptr});
    EXPECT_EQ(collection.Count(), 0);
    (void)item;
}

TEST(Collection, AssignCopiesEveryItemOnce) {
    TCountingCollection source;
    addItem(source, "x");
    addItem(source, "y");
    TCountingCollection target;
    addItem(target, "old");
    target.updates.clear();
    target.Assign(&source);
    EXPECT_EQ(labelsOf(target), (std::vector<AnsiString>{"x", "y"}));
    EXPECT_EQ(target.updates, std::vector<TCollectionItem*>{nullptr});
    TComponent notACollection(nullptr);
    EXPECT_THROW(target.Assign(&notACollection), EConvertError);
}
