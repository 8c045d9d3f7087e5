// Collections make items of their item class, own them, and let an item
// freed by itself leave.

#include "host/core/Collection.h"
#include "host/core/Exception.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

int LiveItems = 0;

class TCountedItem : public TCollectionItem {
    HOST_CLASS(TCountedItem, TCollectionItem)
public:
    int Value = 0;
    void Assign(const TPersistent* source) override {
        if (auto* other = dynamic_cast<const TCountedItem*>(source)) {
            Value = other->Value;
            return;
        }
        inherited::Assign(source);
    }

protected:
    explicit TCountedItem(TCollection* collection) : TCollectionItem(collection) { ++LiveItems; }
    void Destroy() override {
        --LiveItems;
        inherited::Destroy();
    }
};
HOST_IMPLEMENT_COLLECTION_ITEM(TCountedItem, TCollectionItem)

TEST(CollectionTest, ItemsAreOfTheItemClassAndFreedWithTheCollection) {
    LiveItems = 0;
    TCollection* items = TCollection::Create(TCountedItem::ClassInfo());
    auto* first = static_cast<TCountedItem*>(items->Add());
    items->Add();
    EXPECT_EQ(first->ClassName(), "TCountedItem");
    EXPECT_EQ(first->Collection(), items);
    EXPECT_EQ(items->Count(), 2);
    EXPECT_EQ(items->Items(1)->Index(), 1);
    EXPECT_THROW(items->Items(2), EListError);

    first->Free();
    EXPECT_EQ(items->Count(), 1);
    EXPECT_EQ(LiveItems, 1);
    items->Add();
    items->Clear();
    EXPECT_EQ(items->Count(), 0);
    EXPECT_EQ(LiveItems, 0);
    items->Add();
    items->Free();
    EXPECT_EQ(LiveItems, 0);
}

TEST(CollectionTest, AssignCopiesItemsAndIndexesMove) {
    Owned<TCollection> a(TCollection::Create(TCountedItem::ClassInfo()));
    Owned<TCollection> b(TCollection::Create(TCountedItem::ClassInfo()));
    for (int v : {10, 20, 30}) static_cast<TCountedItem*>(a->Add())->Value = v;
    b->Add();
    b->Assign(a.get());
    ASSERT_EQ(b->Count(), 3);
    EXPECT_EQ(static_cast<TCountedItem*>(b->Items(2))->Value, 30);

    a->Items(2)->SetIndex(0);
    EXPECT_EQ(static_cast<TCountedItem*>(a->Items(0))->Value, 30);
    EXPECT_EQ(a->FindItemID(a->Items(0)->ID()), a->Items(0));
    a->Delete(0);
    EXPECT_EQ(static_cast<TCountedItem*>(a->Items(0))->Value, 10);
}

TEST(CollectionTest, OnlyItemClassesMakeCollections) {
    EXPECT_THROW(TCollection::Create(TCollection::ClassInfo()), EInvalidOperation);
}

} // namespace
