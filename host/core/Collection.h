#pragma once
// TCollection and TCollectionItem: an owned, ordered set of items of one
// item class. The collection frees its items; an item freed by itself leaves
// its collection.

#include "host/core/Export.h"
#include "host/core/Object.h"

#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCollection;

class TCollectionItem : public TPersistent {
    HOST_CLASS(TCollectionItem, TPersistent)
public:
    TCollection* Collection() const { return FCollection; }
    // Moves the item to another collection (or out of any, with nil).
    void SetCollection(TCollection* value);
    int Index() const;
    void SetIndex(int value);
    int ID() const { return FID; }
    virtual std::string DisplayName() const;

protected:
    explicit TCollectionItem(TCollection* collection) : FPendingCollection(collection) {}
    void Constructed() override;
    void Destroy() override;
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FPendingCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

class TCollection : public TPersistent {
    HOST_CLASS(TCollection, TPersistent)
public:
    const TCollectionItemClass& ItemClass() const { return FItemClass; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raise EListError for an index out of range.
    TCollectionItem* Items(int index) const;
    // Makes a new item of the item class at the end.
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    // Frees every item, last first.
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    void Assign(const TPersistent* source) override;

protected:
    explicit TCollection(const TClass& itemClass);
    void Destroy() override;
    // Called when items change; Item is nil when several did.
    virtual void Update(TCollectionItem* item);
    void Changed();

private:
    friend class TCollectionItem;
    VESKAR_LOCAL void InsertItem(TCollectionItem* item);
    VESKAR_LOCAL void RemoveItem(TCollectionItem* item);

    const TCollectionItemClass& FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
};

} // namespace host

VESKAR_PUBLIC_END
