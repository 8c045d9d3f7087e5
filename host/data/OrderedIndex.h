#pragma once
// Private to host/data: not installed.
// An ordered index over one text column of an in-memory dataset, for
// searches that ignore letter case or match a beginning: the records sorted
// by their text folded as CompareText folds it, with the smallest record
// number of every range at hand, so that a search answers the first match in
// dataset order rather than the smallest text. Records appended after the
// index was built are left to a scan of that tail. Code in OrderedIndex.cpp.

#include "host/data/IndexKey.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace host {

class TOrderedIndex {
public:
    explicit TOrderedIndex(int field) : FField(field) {}
    int Field() const { return FField; }
    // Records 0..Covered()-1 are indexed.
    int Covered() const { return FCovered; }

    void Build(const TColumn& column, int count);
    // The first indexed record whose folded text begins with (Partial) or
    // equals the folded Key and that Accept takes; -1 when none.
    int Find(const TColumn& column, std::string_view key, bool partial,
             const std::function<bool(int)>& accept) const;
    size_t MemoryBytes() const;

private:
    // Entries [lo, hi) of FOrder whose text folds to Key or begins with it.
    std::pair<int, int> Range(const TColumn& column, std::string_view key, bool partial) const;
    // Index in FOrder of the smallest record among entries [lo, hi), lo < hi.
    int MinEntry(int lo, int hi) const;
    int MinEntryScan(int lo, int hi) const;
    void BuildMinima();

    int FField;
    int FCovered = 0;
    std::vector<int32_t> FOrder;  // non-null records by folded text, then record
    // Smallest record of each block of FOrder, and the block of the smallest
    // record over 2^level blocks from each block on.
    std::vector<int32_t> FBlockMin;
    std::vector<std::vector<int32_t>> FSparse;
};

} // namespace host
