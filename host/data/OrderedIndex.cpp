#include "host/data/OrderedIndex.h"

#include "host/core/TextUtils.h"

#include <algorithm>
#include <bit>
#include <queue>

namespace host {

namespace {
constexpr int kBlock = 64;
// Ranges up to this size are scanned; larger ones are walked record by
// record in dataset order while few candidates are refused.
constexpr int kScanRange = 1024;
constexpr int kWalkBudget = 256;

std::string_view TextAt(const TColumn& column, int record) { return column[static_cast<size_t>(record)].StringRef(); }

// CompareText's order (letters folded to upper case, ASCII only), inline for
// the sort.
bool FoldedLess(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

} // namespace

void TOrderedIndex::Build(const TColumn& column, int count) {
    struct TEntry {
        std::string_view Text;
        int32_t Record;
    };
    std::vector<TEntry> entries;
    entries.reserve(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r)
        if (FamilyOf(column[static_cast<size_t>(r)]) == TValueFamily::Text) entries.push_back({TextAt(column, r), r});
    // Stable: equal texts stay in record order.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TEntry& a, const TEntry& b) { return FoldedLess(a.Text, b.Text); });
    FOrder.clear();
    FOrder.reserve(entries.size());
    for (const TEntry& e : entries) FOrder.push_back(e.Record);
    FCovered = count;
    BuildMinima();
}

void TOrderedIndex::BuildMinima() {
    const int entries = static_cast<int>(FOrder.size());
    const int blocks = (entries + kBlock - 1) / kBlock;
    FBlockMin.assign(static_cast<size_t>(blocks), 0);
    for (int b = 0; b < blocks; ++b) {
        const auto first = FOrder.begin() + b * kBlock;
        FBlockMin[static_cast<size_t>(b)] = *std::min_element(first, first + std::min(kBlock, entries - b * kBlock));
    }
    FSparse.clear();
    if (blocks == 0) return;
    std::vector<int32_t> level(static_cast<size_t>(blocks));
    for (int b = 0; b < blocks; ++b) level[static_cast<size_t>(b)] = b;
    FSparse.push_back(std::move(level));
    for (int span = 1; span * 2 <= blocks; span *= 2) {
        const std::vector<int32_t>& below = FSparse.back();
        std::vector<int32_t> next(static_cast<size_t>(blocks - span * 2 + 1));
        for (size_t b = 0; b < next.size(); ++b) {
            const int32_t x = below[b], y = below[b + static_cast<size_t>(span)];
            next[b] = FBlockMin[static_cast<size_t>(x)] <= FBlockMin[static_cast<size_t>(y)] ? x : y;
        }
        FSparse.push_back(std::move(next));
    }
}

size_t TOrderedIndex::MemoryBytes() const {
    size_t bytes = (FOrder.capacity() + FBlockMin.capacity()) * sizeof(int32_t);
    for (const auto& level : FSparse) bytes += level.capacity() * sizeof(int32_t);
    return bytes;
}

int TOrderedIndex::MinEntryScan(int lo, int hi) const {
    int best = lo;
    for (int i = lo + 1; i < hi; ++i)
        if (FOrder[static_cast<size_t>(i)] < FOrder[static_cast<size_t>(best)]) best = i;
    return best;
}

int TOrderedIndex::MinEntry(int lo, int hi) const {
    const int firstBlock = lo / kBlock + (lo % kBlock != 0 ? 1 : 0);
    const int endBlock = hi / kBlock;
    if (firstBlock >= endBlock) return MinEntryScan(lo, hi);
    auto better = [&](int a, int b) { return FOrder[static_cast<size_t>(b)] < FOrder[static_cast<size_t>(a)] ? b : a; };
    int best = -1;
    if (lo < firstBlock * kBlock) best = MinEntryScan(lo, firstBlock * kBlock);
    if (hi > endBlock * kBlock) {
        const int tail = MinEntryScan(endBlock * kBlock, hi);
        best = best < 0 ? tail : better(best, tail);
    }
    // Whole blocks: two overlapping spans of the sparse table.
    const int level = std::bit_width(static_cast<unsigned>(endBlock - firstBlock)) - 1;
    const std::vector<int32_t>& row = FSparse[static_cast<size_t>(level)];
    const int32_t x = row[static_cast<size_t>(firstBlock)];
    const int32_t y = row[static_cast<size_t>(endBlock - (1 << level))];
    const int block = FBlockMin[static_cast<size_t>(x)] <= FBlockMin[static_cast<size_t>(y)] ? x : y;
    const int inBlock = MinEntryScan(block * kBlock, block * kBlock + kBlock);
    return best < 0 ? inBlock : better(best, inBlock);
}

std::pair<int, int> TOrderedIndex::Range(const TColumn& column, std::string_view key, bool partial) const {
    const auto lo = std::partition_point(FOrder.begin(), FOrder.end(),
                                         [&](int32_t r) { return CompareText(TextAt(column, r), key) < 0; });
    const auto hi = std::partition_point(lo, FOrder.end(), [&](int32_t r) {
        std::string_view text = TextAt(column, r);
        if (partial && text.size() > key.size()) text = text.substr(0, key.size());
        return CompareText(text, key) == 0;
    });
    return {static_cast<int>(lo - FOrder.begin()), static_cast<int>(hi - FOrder.begin())};
}

int TOrderedIndex::Find(const TColumn& column, std::string_view key, bool partial,
                        const std::function<bool(int)>& accept) const {
    const auto [lo, hi] = Range(column, key, partial);
    if (lo >= hi) return -1;
    if (hi - lo > kScanRange) {
        // Candidates in dataset order: the smallest record of a range, then
        // the ranges either side of it.
        struct TPart {
            int32_t Record;
            int Entry, Lo, Hi;
            bool operator>(const TPart& o) const { return Record > o.Record; }
        };
        std::priority_queue<TPart, std::vector<TPart>, std::greater<>> parts;
        auto push = [&](int l, int h) {
            if (l >= h) return;
            const int e = MinEntry(l, h);
            parts.push({FOrder[static_cast<size_t>(e)], e, l, h});
        };
        push(lo, hi);
        for (int tries = 0; tries < kWalkBudget && !parts.empty(); ++tries) {
            const TPart part = parts.top();
            parts.pop();
            if (accept(part.Record)) return part.Record;
            push(part.Lo, part.Entry);
            push(part.Entry + 1, part.Hi);
        }
        if (parts.empty()) return -1;
    }
    // Few candidates, or many refused: look at each once.
    int best = -1;
    for (int i = lo; i < hi; ++i) {
        const int32_t r = FOrder[static_cast<size_t>(i)];
        if ((best < 0 || r < best) && accept(r)) best = r;
    }
    return best;
}

} // namespace host
