#include "editor/SynEditTextBuffer.h"

#include <gtest/gtest.h>

namespace {

struct AddedCounter : TObject {
    int added = 0;
    void Added(TObject*) { ++added; }
};

struct UndoListTest : testing::Test {
    UndoListTest() { list.OnAddedUndo = TNotifyEvent(&counter, &AddedCounter::Added); }

    void change(TSynChangeReason reason = crInsert, const AnsiString& text = AnsiString()) {
        list.AddChange(reason, BufferCoord(1, 1), BufferCoord(2, 1), text, smNormal);
    }
    Integer newestNumber() { return list.PeekItem()->ChangeNumber; }

    AddedCounter counter;
    TSynEditUndoList list;
};

} // namespace

TEST_F(UndoListTest, EmptyListIsTheInitialStateWithNothingToUndo) {
    EXPECT_FALSE(list.GetCanUndo());
    EXPECT_EQ(list.LastChangeReason(), crNothing);
    EXPECT_EQ(list.PeekItem(), nullptr);
    EXPECT_EQ(list.PopItem(), nullptr);
    EXPECT_TRUE(list.GetInitialState());
    EXPECT_EQ(list.GetMaxUndoActions(), 1024);
}

TEST_F(UndoListTest, RecordsEveryFieldOfAChange) {
    list.AddChange(crDelete, BufferCoord(3, 4), BufferCoord(5, 6), "gone", smColumn);
    const TSynEditUndoItem* item = list.PeekItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Reason, crDelete);
    EXPECT_EQ(item->StartPos, BufferCoord(3, 4));
    EXPECT_EQ(item->EndPos, BufferCoord(5, 6));
    EXPECT_EQ(item->ChangeText(), "gone");
    EXPECT_EQ(item->SelectionMode, smColumn);
    EXPECT_EQ(item->ChangeNumber, 1);
    EXPECT_EQ(counter.added, 1);
}

TEST_F(UndoListTest, BlockGivesItsItemsOneNumberAndFiresOnceMoreWhenClosed) {
    change();
    const Integer before = newestNumber();
    list.BeginBlock();
    change();
    change();
    change();
    EXPECT_EQ(counter.added, 4);
    list.EndBlock();
    EXPECT_EQ(counter.added, 5);
    ASSERT_EQ(list.GetItemCount(), 4);
    for (Integer i = 1; i < 4; ++i)
        EXPECT_EQ(list.GetItems(i)->ChangeNumber, before + 1);
    change();
    EXPECT_EQ(newestNumber(), before + 2);
}

TEST_F(UndoListTest, OnlyTheOutermostEndBlockClosesTheBlock) {
    list.BeginBlock();
    change();
    list.BeginBlock();
    change();
    list.EndBlock();
    EXPECT_EQ(counter.added, 2);
    EXPECT_EQ(list.GetBlockCount(), 1);
    change();
    list.EndBlock();
    EXPECT_EQ(counter.added, 4);
    EXPECT_EQ(list.GetItems(0)->ChangeNumber, list.GetItems(2)->ChangeNumber);
    list.EndBlock(); // unmatched: ignored
    EXPECT_EQ(list.GetBlockCount(), 0);
    EXPECT_EQ(counter.added, 4);
}

TEST_F(UndoListTest, EmptyBlockStillUsesUpANumberButFiresNothing) {
    list.BeginBlock();
    list.EndBlock();
    EXPECT_EQ(counter.added, 0);
    change();
    EXPECT_EQ(newestNumber(), 2);
}

TEST_F(UndoListTest, GroupBreaksNeverFollowEachOtherAndFireNothing) {
    list.AddGroupBreak();
    list.AddGroupBreak();
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.LastChangeReason(), crGroupBreak);
    change();
    list.AddGroupBreak();
    list.AddGroupBreak();
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(counter.added, 1);
}

TEST_F(UndoListTest, LockedListRecordsNothing) {
    list.Lock();
    list.Lock();
    change();
    list.AddGroupBreak();
    list.Unlock();
    change();
    EXPECT_EQ(list.GetItemCount(), 0);
    list.Unlock();
    list.Unlock(); // unmatched: ignored
    change();
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(counter.added, 1);
}

TEST_F(UndoListTest, FullListDropsTheOldestItems) {
    list.SetMaxUndoActions(2);
    change(crInsert, "1");
    change(crInsert, "2");
    EXPECT_FALSE(list.GetFullUndoImpossible());
    change(crInsert, "3");
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItems(0)->ChangeText(), "2");
    EXPECT_TRUE(list.GetFullUndoImpossible());
    list.SetMaxUndoActions(1);
    EXPECT_EQ(list.GetItems(0)->ChangeText(), "3");
    list.Clear();
    EXPECT_FALSE(list.GetFullUndoImpossible());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(UndoListTest, NegativeMaximumMeansZeroAndDropsEveryChange) {
    list.SetMaxUndoActions(-5);
    EXPECT_EQ(list.GetMaxUndoActions(), 0);
    change();
    change();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(list.GetFullUndoImpossible());
}

TEST_F(UndoListTest, InitialStateFollowsTheMarkedChange) {
    change();
    EXPECT_FALSE(list.GetInitialState());
    list.SetInitialState(true);
    EXPECT_TRUE(list.GetInitialState());
    change();
    EXPECT_FALSE(list.GetInitialState());
    list.PopItem();
    EXPECT_TRUE(list.GetInitialState());

    list.SetInitialState(false);
    EXPECT_FALSE(list.GetInitialState());
    list.PopItem();
    EXPECT_FALSE(list.GetInitialState()); // no point of the history is initial any more
    list.SetInitialState(true);
    EXPECT_TRUE(list.GetInitialState());
}

TEST_F(UndoListTest, PoppedItemsBelongToTheCallerAndCanBePushedBack) {
    change(crInsert, "a");
    change(crDelete, "b");
    std::unique_ptr<TSynEditUndoItem> item = list.PopItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->ChangeText(), "b");
    EXPECT_EQ(list.GetItemCount(), 1);
    const int addedBefore = counter.added;
    list.PushItem(std::move(item));
    list.PushItem(nullptr);
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.LastChangeReason(), crDelete);
    EXPECT_EQ(counter.added, addedBefore + 1);
}

TEST_F(UndoListTest, IndexedAccessReplacesAndDeletes) {
    change(crInsert, "a");
    change(crInsert, "b");
    change(crInsert, "c");
    TSynEditUndoItem replacement;
    replacement.Reason = crPaste;
    replacement.SetChangeText("x");
    list.SetItems(1, replacement);
    EXPECT_EQ(list.GetItems(1)->Reason, crPaste);
    EXPECT_EQ(list.GetItems(1)->ChangeText(), "x");
    list.DeleteItem(0);
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItems(0)->ChangeText(), "x");
    try {
        list.GetItems(5);
        FAIL() << "no index error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (5)");
    }
    EXPECT_THROW(list.DeleteItem(-1), EListError);
}

TEST_F(UndoListTest, AssignCopiesItemsAndStateButNotTheInitialMark) {
    list.SetMaxUndoActions(10);
    change(crInsert, "a");
    list.BeginBlock();
    change(crDelete, "b");
    list.SetInsideRedo(true);
    list.SetInitialState(true);

    TSynEditUndoList copy;
    copy.Assign(&list);
    ASSERT_EQ(copy.GetItemCount(), 2);
    EXPECT_EQ(copy.GetItems(1)->ChangeText(), "b");
    EXPECT_EQ(copy.GetItems(1)->ChangeNumber, list.GetItems(1)->ChangeNumber);
    EXPECT_EQ(copy.GetMaxUndoActions(), 10);
    EXPECT_EQ(copy.GetBlockCount(), 1);
    EXPECT_EQ(copy.GetBlockChangeNumber(), list.GetBlockChangeNumber());
    EXPECT_TRUE(copy.GetInsideRedo());
    EXPECT_FALSE(copy.GetInitialState());
    copy.PopItem();
    EXPECT_EQ(list.GetItemCount(), 2); // the copies are independent

    TStringList strings;
    try {
        copy.Assign(&strings);
        FAIL() << "assigned a string list to an undo list";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "Cannot assign a TStringList to a TSynEditUndoList");
    }
}

TEST_F(UndoListTest, ItemAssignCopiesEveryField) {
    TSynEditUndoItem source;
    source.Reason = crLineBreak;
    source.SelectionMode = smLine;
    source.StartPos = BufferCoord(1, 2);
    source.EndPos = BufferCoord(3, 4);
    source.SetChangeText("text");
    source.ChangeNumber = 42;
    TSynEditUndoItem target;
    target.Assign(&source);
    EXPECT_EQ(target.Reason, crLineBreak);
    EXPECT_EQ(target.SelectionMode, smLine);
    EXPECT_EQ(target.StartPos, BufferCoord(1, 2));
    EXPECT_EQ(target.EndPos, BufferCoord(3, 4));
    EXPECT_EQ(target.ChangeText(), "text");
    EXPECT_EQ(target.ChangeNumber, 42);
}

TEST_F(UndoListTest, ListenerFailureKeepsTheRecordedItem) {
    struct Failing : TObject {
        void Added(TObject*) { throw EAbort("listener failed"); }
    } failing;
    list.OnAddedUndo = TNotifyEvent(&failing, &Failing::Added);
    EXPECT_THROW(change(crInsert, "kept"), EAbort);
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.PeekItem()->ChangeText(), "kept");
}
