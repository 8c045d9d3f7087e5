#pragma once
// Private to host/data: not installed.
// An equality index over a tuple of an in-memory dataset's columns: one slot
// per distinct key holding the first record (in dataset order) with that
// key. Keys are read from the columns, never copied. Records appended after
// the index covered them are taken in at the next search, many at a time,
// which costs the appending nothing. Code in EqualityIndex.cpp.

#include "host/data/IndexKey.h"

#include <cstdint>
#include <vector>

namespace host {

class TKeyMatcher;

class TEqualityIndex {
public:
    explicit TEqualityIndex(std::vector<int> fields) : FFields(std::move(fields)) {}
    const std::vector<int>& Fields() const { return FFields; }

    // Records 0..Covered()-1 are indexed; the dataset keeps the others from
    // moving them.
    int Covered() const { return FCovered; }
    // Takes in records Covered()..count-1.
    void CatchUp(const std::vector<TColumn>& columns, int count);
    // The first record every matcher accepts; -1 when none. Matchers go in
    // the order of Fields and compare exactly. Covers every record.
    int Find(const std::vector<TColumn>& columns, const std::vector<TKeyMatcher>& keys) const;
    // A covered record's key changed: it becomes the first of its new key
    // when it precedes the one known.
    void Add(const std::vector<TColumn>& columns, int record);
    // The last record, covered, went; false when it was the first of its key
    // (the index is then to be dropped).
    bool RemoveLast(const std::vector<TColumn>& columns, int record);
    // Whether Record is the first of its key (it would have to be replaced by
    // the next one, which the index does not know).
    bool IsFirstOfKey(const std::vector<TColumn>& columns, int record) const;
    size_t MemoryBytes() const { return FSlots.capacity() * sizeof(TSlot); }

private:
    struct TSlot {
        uint32_t Hash;
        int32_t Record;  // -1 for an empty slot
    };
    uint64_t RowHash(const std::vector<TColumn>& columns, int record) const;
    bool SameKey(const std::vector<TColumn>& columns, int a, int b) const;
    // The slot holding Record's key, or the empty slot where it would go.
    size_t SlotOf(const std::vector<TColumn>& columns, int record, uint32_t hash) const;
    void Grow(size_t slots);
    void Place(const std::vector<TColumn>& columns, int record, uint32_t hash);

    std::vector<int> FFields;
    std::vector<TSlot, TLargePageAllocator<TSlot>> FSlots;
    size_t FUsed = 0;
    int FCovered = 0;
};

} // namespace host
