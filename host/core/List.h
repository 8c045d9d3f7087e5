#pragma once
// TList: the framework's list of untyped pointers. Descendants that own
// their items override Clear; freeing the list runs Clear first.

#include "host/core/Export.h"
#include "host/core/Object.h"

#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TList : public TObject {
    HOST_CLASS(TList, TObject)
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raise EListError "List index out of bounds (n)" for a bad index.
    // Inline: walks over many items read them one by one.
    void* Items(int index) const {
        if (static_cast<size_t>(index) >= FItems.size()) Check(index, Count());
        return FItems[static_cast<size_t>(index)];
    }
    void* operator[](int index) const { return Items(index); }
    void Put(int index, void* item);
    template <class T>
    T* Get(int index) const { return static_cast<T*>(Items(index)); }

    int Add(void* item) {
        FItems.push_back(item);
        return Count() - 1;
    }
    void Insert(int index, void* item);
    void Delete(int index);
    // Removes the first occurrence; answers its index, -1 when absent.
    int Remove(void* item);
    int IndexOf(const void* item) const;
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    virtual void Clear() { FItems.clear(); }

protected:
    TList() = default;
    void Destroy() override;

private:
    void Check(int index, int count) const;
    std::vector<void*> FItems;
};

} // namespace host

VESKAR_PUBLIC_END
