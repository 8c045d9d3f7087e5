#include "host/data/EqualityIndex.h"

#include "host/data/DataSet.h"

#include <bit>

namespace host {

namespace {
constexpr size_t kMinSlots = 16;
constexpr uint32_t Short(uint64_t hash) { return static_cast<uint32_t>(hash ^ (hash >> 32)); }
} // namespace

uint64_t TEqualityIndex::RowHash(const std::vector<TColumn>& columns, int record) const {
    uint64_t h = 0;
    for (int f : FFields) h = CombineHash(h, HashValue(columns[static_cast<size_t>(f)][static_cast<size_t>(record)]));
    return h;
}

bool TEqualityIndex::SameKey(const std::vector<TColumn>& columns, int a, int b) const {
    for (int f : FFields) {
        const TColumn& column = columns[static_cast<size_t>(f)];
        if (!SameValue(column[static_cast<size_t>(a)], column[static_cast<size_t>(b)])) return false;
    }
    return true;
}

void TEqualityIndex::Build(const std::vector<TColumn>& columns, int count) {
    // Half full at most, so that probes stay short.
    const size_t wanted = std::bit_ceil(std::max(kMinSlots, static_cast<size_t>(count) * 2));
    FSlots.assign(wanted, TSlot{0, -1});
    FUsed = 0;
    for (int r = 0; r < count; ++r) Add(columns, r);
}

size_t TEqualityIndex::SlotOf(const std::vector<TColumn>& columns, int record, uint32_t hash) const {
    const size_t mask = FSlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const TSlot& slot = FSlots[i];
        if (slot.Record < 0) return i;
        if (slot.Hash == hash && SameKey(columns, slot.Record, record)) return i;
    }
}

void TEqualityIndex::Add(const std::vector<TColumn>& columns, int record) {
    if ((FUsed + 1) * 2 > FSlots.size()) Grow();
    const uint32_t hash = Short(RowHash(columns, record));
    TSlot& slot = FSlots[SlotOf(columns, record, hash)];
    if (slot.Record < 0) {
        slot = {hash, record};
        ++FUsed;
    } else if (record < slot.Record) {
        slot.Record = record;
    }
}

bool TEqualityIndex::IsFirstOfKey(const std::vector<TColumn>& columns, int record) const {
    if (FSlots.empty()) return false;
    return FSlots[SlotOf(columns, record, Short(RowHash(columns, record)))].Record == record;
}

void TEqualityIndex::Grow() {
    std::vector<TSlot> old = std::move(FSlots);
    FSlots.assign(std::max(kMinSlots, old.size() * 2), TSlot{0, -1});
    const size_t mask = FSlots.size() - 1;
    for (const TSlot& slot : old) {
        if (slot.Record < 0) continue;
        size_t i = slot.Hash & mask;
        while (FSlots[i].Record >= 0) i = (i + 1) & mask;
        FSlots[i] = slot;
    }
}

int TEqualityIndex::Find(const std::vector<TColumn>& columns, const std::vector<TKeyMatcher>& keys) const {
    if (FSlots.empty()) return -1;
    uint64_t h = 0;
    for (const TKeyMatcher& k : keys) h = CombineHash(h, HashValue(k.Value()));
    const uint32_t hash = Short(h);
    const size_t mask = FSlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const TSlot& slot = FSlots[i];
        if (slot.Record < 0) return -1;
        if (slot.Hash != hash) continue;
        bool all = true;
        for (size_t k = 0; k < keys.size() && all; ++k)
            all = keys[k].Matches(columns[static_cast<size_t>(FFields[k])][static_cast<size_t>(slot.Record)]);
        if (all) return slot.Record;
    }
}

} // namespace host
