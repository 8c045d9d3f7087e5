#include "host/data/EqualityIndex.h"

#include "host/data/DataSet.h"

#include <bit>

namespace host {

namespace {
constexpr size_t kMinSlots = 16;
constexpr uint32_t Short(uint64_t hash) { return static_cast<uint32_t>(hash ^ (hash >> 32)); }

// A record whose hash matches is nearly always the one sought, and the
// caller reads its other fields next: they are asked for while the key is
// confirmed, so that the misses overlap instead of following each other.
void PrefetchRecord(const std::vector<TColumn>& columns, int record) {
    constexpr size_t kMostColumns = 8;
    for (size_t c = 0; c < columns.size() && c < kMostColumns; ++c)
        __builtin_prefetch(columns[c].data() + record);
}
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

size_t TEqualityIndex::SlotOf(const std::vector<TColumn>& columns, int record, uint32_t hash) const {
    const size_t mask = FSlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const TSlot& slot = FSlots[i];
        if (slot.Record < 0) return i;
        if (slot.Hash == hash && SameKey(columns, slot.Record, record)) return i;
    }
}

void TEqualityIndex::Place(const std::vector<TColumn>& columns, int record, uint32_t hash) {
    TSlot& slot = FSlots[SlotOf(columns, record, hash)];
    if (slot.Record < 0) {
        slot = {hash, record};
        ++FUsed;
    } else if (record < slot.Record) {
        slot.Record = record;
    }
}

void TEqualityIndex::CatchUp(const std::vector<TColumn>& columns, int count) {
    if (FCovered >= count) return;
    // Half full at most, so that probes stay short; room for the whole
    // batch first, so that nothing is placed twice.
    const size_t wanted = std::bit_ceil(std::max(kMinSlots, (FUsed + static_cast<size_t>(count - FCovered)) * 2));
    if (wanted > FSlots.size()) Grow(wanted);
    // Hashes a few records ahead and asks for their slots early: the probes
    // then mostly find them in the cache.
    constexpr int kAhead = 8;
    const size_t mask = FSlots.size() - 1;
    uint32_t ahead[kAhead];
    const int first = FCovered;
    for (int r = first; r < count && r < first + kAhead; ++r) {
        ahead[(r - first) % kAhead] = Short(RowHash(columns, r));
        __builtin_prefetch(&FSlots[ahead[(r - first) % kAhead] & mask]);
    }
    for (int r = first; r < count; ++r) {
        const uint32_t hash = ahead[(r - first) % kAhead];
        if (r + kAhead < count) {
            const uint32_t next = Short(RowHash(columns, r + kAhead));
            ahead[(r - first) % kAhead] = next;
            __builtin_prefetch(&FSlots[next & mask]);
        }
        Place(columns, r, hash);
    }
    FCovered = count;
}

void TEqualityIndex::Add(const std::vector<TColumn>& columns, int record) {
    if ((FUsed + 1) * 2 > FSlots.size()) Grow(std::max(kMinSlots, FSlots.size() * 2));
    Place(columns, record, Short(RowHash(columns, record)));
}

bool TEqualityIndex::IsFirstOfKey(const std::vector<TColumn>& columns, int record) const {
    if (FSlots.empty()) return false;
    return FSlots[SlotOf(columns, record, Short(RowHash(columns, record)))].Record == record;
}

bool TEqualityIndex::RemoveLast(const std::vector<TColumn>& columns, int record) {
    if (IsFirstOfKey(columns, record)) return false;
    FCovered = record;
    return true;
}

void TEqualityIndex::Grow(size_t slots) {
    auto old = std::move(FSlots);
    FSlots.assign(slots, TSlot{0, -1});
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
        PrefetchRecord(columns, slot.Record);
        bool all = true;
        for (size_t k = 0; k < keys.size() && all; ++k)
            all = keys[k].Matches(columns[static_cast<size_t>(FFields[k])][static_cast<size_t>(slot.Record)]);
        if (all) return slot.Record;
    }
}

} // namespace host
