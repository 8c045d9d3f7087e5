#include "host/core/Collection.h"

#include "host/core/Exception.h"
#include "host/core/Guards.h"

#include <algorithm>
#include <string>

namespace host {

HOST_IMPLEMENT_COLLECTION_ITEM(TCollectionItem, TPersistent)
HOST_IMPLEMENT_CLASS(TCollection, TPersistent)

namespace {
[[noreturn]] void IndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

const TCollectionItemClass& CheckItemClass(const TClass& cls) {
    auto* itemClass = dynamic_cast<const TCollectionItemClass*>(&cls);
    if (!itemClass || !cls.InheritsFrom(TCollectionItem::ClassInfo()))
        throw EInvalidOperation(cls.ClassName() + " is not a collection item class");
    return *itemClass;
}
} // namespace

// ---- TCollectionItem ---------------------------------------------------

void TCollectionItem::Constructed() {
    inherited::Constructed();
    SetCollection(FPendingCollection);
    FPendingCollection = nullptr;
}

void TCollectionItem::Destroy() {
    SetCollection(nullptr);
    inherited::Destroy();
}

void TCollectionItem::SetCollection(TCollection* value) {
    if (FCollection == value) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (value) value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    const auto& items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int value) {
    const int current = Index();
    if (current < 0 || current == value) return;
    auto& items = FCollection->FItems;
    if (value < 0 || value >= static_cast<int>(items.size())) IndexError(value);
    items.erase(items.begin() + current);
    items.insert(items.begin() + value, this);
    Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::Changed(bool allItems) {
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

// ---- TCollection -------------------------------------------------------

TCollection::TCollection(const TClass& itemClass) : FItemClass(CheckItemClass(itemClass)) {}

void TCollection::Destroy() {
    FUpdateCount = 1;  // no change notices while going
    Clear();
    inherited::Destroy();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() { return FItemClass.Create(this); }

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count()) IndexError(index);
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) { Items(index)->Free(); }

void TCollection::Clear() {
    if (FItems.empty()) return;
    const TUpdateGuard update(*this);
    while (!FItems.empty()) FItems.back()->Free();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TCollection*>(source)) {
        if (other == this) return;
        const TUpdateGuard update(*this);
        Clear();
        for (TCollectionItem* item : other->FItems) Add()->Assign(item);
        return;
    }
    inherited::Assign(source);
}

void TCollection::InsertItem(TCollectionItem* item) {
    if (!item->InheritsFrom(FItemClass))
        throw EInvalidOperation(item->ClassName() + " does not belong in a collection of " + FItemClass.ClassName());
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it != FItems.end()) FItems.erase(it);
    item->FCollection = nullptr;
    Changed();
}

} // namespace host
