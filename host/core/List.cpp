#include "host/core/List.h"

#include "host/core/Exception.h"

#include <algorithm>
#include <string>

namespace host {

HOST_IMPLEMENT_CLASS(TList, TObject)

void TList::Destroy() {
    Clear();
    inherited::Destroy();
}

void TList::Check(int index, int count) const {
    if (index < 0 || index >= count)
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TList::Put(int index, void* item) {
    Check(index, Count());
    FItems[static_cast<size_t>(index)] = item;
}

void TList::Insert(int index, void* item) {
    Check(index, Count() + 1);
    FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(int index) {
    Check(index, Count());
    FItems.erase(FItems.begin() + index);
}

int TList::Remove(void* item) {
    const int i = IndexOf(item);
    if (i >= 0) FItems.erase(FItems.begin() + i);
    return i;
}

int TList::IndexOf(const void* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

} // namespace host
