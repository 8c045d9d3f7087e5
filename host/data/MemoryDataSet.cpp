#include "host/data/MemoryDataSet.h"

#include "host/core/Exception.h"
#include "host/data/EqualityIndex.h"
#include "host/data/OrderedIndex.h"

#include <algorithm>
#include <typeinfo>

namespace host {

HOST_IMPLEMENT_COMPONENT(TMemoryDataSet, TDataSet)

namespace {
// Records appended after an ordered index was built are scanned; beyond
// this many (or an eighth of the indexed ones) the index is built again.
constexpr int kOrderedTail = 4096;

// Text and other non-null values a column holds: an index answers only when
// the key meets values of its own family, as a scan would compare a number
// with a text by converting it.
struct TColumnCounts {
    int Texts = 0;
    int Numbers = 0;
};

} // namespace

struct TMemoryDataSet::TStore {
    // One vector per field; records are kept across Close and Open, as long
    // as the field definitions do not change.
    std::vector<TColumn> Columns;
    std::vector<TColumnCounts> Counts;
    // Built by the const searches.
    std::vector<std::unique_ptr<TEqualityIndex>> EqualityIndexes;
    std::vector<std::unique_ptr<TOrderedIndex>> OrderedIndexes;
};

TMemoryDataSet::TMemoryDataSet(TComponent* owner) : TDataSet(owner), FStore(std::make_unique<TStore>()) {}

TMemoryDataSet::~TMemoryDataSet() = default;

void TMemoryDataSet::InternalOpen() {
    const auto columns = static_cast<size_t>(FieldDefs().Count());
    if (columns == 0) DatabaseError("No fields defined; cannot create dataset");
    if (FStore->Columns.size() != columns) {
        FStore->Columns.assign(columns, {});
        FStore->Counts.assign(columns, {});
        FRecordCount = 0;
    }
    DropIndexes();
}

void TMemoryDataSet::InternalClose() { DropIndexes(); }

int TMemoryDataSet::InternalRecordCount() const { return FRecordCount; }

Variant TMemoryDataSet::InternalGetValue(int record, int field) const {
    return FStore->Columns[static_cast<size_t>(field)][static_cast<size_t>(record)];
}

void TMemoryDataSet::Count(size_t column, const Variant& value, int delta) {
    switch (FamilyOf(value)) {
    case TValueFamily::Null: break;
    case TValueFamily::Text: FStore->Counts[column].Texts += delta; break;
    case TValueFamily::Number: FStore->Counts[column].Numbers += delta; break;
    }
}

int TMemoryDataSet::InternalInsert(int position, const std::vector<Variant>& values) {
    const bool appended = position == FRecordCount;
    for (size_t c = 0; c < FStore->Columns.size(); ++c) {
        Count(c, values[c], +1);
        if (appended)
            FStore->Columns[c].push_back(values[c]);
        else
            FStore->Columns[c].insert(FStore->Columns[c].begin() + position, values[c]);
    }
    ++FRecordCount;
    // Appended records wait for the next search; one stored before covered
    // ones moves them, and the indexes that cover them go.
    auto moves = [&](const auto& index) { return position < index->Covered(); };
    std::erase_if(FStore->EqualityIndexes, moves);
    std::erase_if(FStore->OrderedIndexes, moves);
    return position;
}

void TMemoryDataSet::InternalUpdate(int record, const std::vector<Variant>& values) {
    const auto at = static_cast<size_t>(record);
    std::vector<bool> changed(FStore->Columns.size());
    for (size_t c = 0; c < FStore->Columns.size(); ++c) changed[c] = !SameValue(FStore->Columns[c][at], values[c]);
    auto keyChanged = [&](const TEqualityIndex& index) {
        return std::any_of(index.Fields().begin(), index.Fields().end(),
                           [&](int f) { return changed[static_cast<size_t>(f)]; });
    };
    // A record that was the first of its old key leaves a gap the index
    // cannot fill without a scan: that index goes.
    auto covers = [&](const auto& index) { return record < index->Covered(); };
    std::erase_if(FStore->EqualityIndexes, [&](const auto& index) {
        return covers(index) && keyChanged(*index) && index->IsFirstOfKey(FStore->Columns, record);
    });
    std::erase_if(FStore->OrderedIndexes,
                  [&](const auto& index) { return covers(index) && changed[static_cast<size_t>(index->Field())]; });
    for (size_t c = 0; c < FStore->Columns.size(); ++c) {
        if (!changed[c]) continue;
        Count(c, FStore->Columns[c][at], -1);
        Count(c, values[c], +1);
        FStore->Columns[c][at] = values[c];
    }
    for (auto& index : FStore->EqualityIndexes)
        if (covers(index) && keyChanged(*index)) index->Add(FStore->Columns, record);
}

void TMemoryDataSet::InternalDelete(int record) {
    // Deleting an uncovered record moves only uncovered ones. The last
    // record goes from an equality index unless it was the first of its key.
    const bool last = record == FRecordCount - 1;
    std::erase_if(FStore->EqualityIndexes, [&](const auto& index) {
        return record < index->Covered() && !(last && index->RemoveLast(FStore->Columns, record));
    });
    std::erase_if(FStore->OrderedIndexes, [&](const auto& index) { return record < index->Covered(); });
    for (size_t c = 0; c < FStore->Columns.size(); ++c) {
        Count(c, FStore->Columns[c][static_cast<size_t>(record)], -1);
        FStore->Columns[c].erase(FStore->Columns[c].begin() + record);
    }
    --FRecordCount;
}

// ---- searching -----------------------------------------------------------

void TMemoryDataSet::SetIndexed(bool value) {
    FIndexed = value;
    if (!value) DropIndexes();
}

void TMemoryDataSet::DropIndexes() {
    FStore->EqualityIndexes.clear();
    FStore->OrderedIndexes.clear();
}

size_t TMemoryDataSet::IndexMemory() const {
    size_t bytes = 0;
    for (const auto& index : FStore->EqualityIndexes) bytes += index->MemoryBytes();
    for (const auto& index : FStore->OrderedIndexes) bytes += index->MemoryBytes();
    return bytes;
}

bool TMemoryDataSet::IndexFits(const TKeyMatcher& key) const {
    const TColumnCounts& counts = FStore->Counts[static_cast<size_t>(key.FieldIndex())];
    switch (FamilyOf(key.Value())) {
    case TValueFamily::Null: return counts.Texts == 0 || counts.Numbers == 0;
    case TValueFamily::Text: return counts.Numbers == 0;
    case TValueFamily::Number: return counts.Texts == 0;
    }
    return false;
}

int TMemoryDataSet::InternalFind(const std::vector<TKeyMatcher>& keys, int from) const {
    if (!FIndexed || from != 0 || FRecordCount == 0 || !std::all_of(keys.begin(), keys.end(), [&](const TKeyMatcher& k) {
            return IndexFits(k);
        }))
        return ScanFind(keys, from, FRecordCount);
    for (const TKeyMatcher& k : keys)
        if (k.Text() && (k.Partial() || k.CaseInsensitive()) && !k.Value().IsNull()) return FindByOrder(keys, k);
    return FindByEquality(keys);
}

int TMemoryDataSet::ScanFind(const std::vector<TKeyMatcher>& keys, int from, int to) const {
    // Scans the first key's column alone and checks the others only on a hit:
    // no value is copied on the way.
    const auto& first = FStore->Columns[static_cast<size_t>(keys[0].FieldIndex())];
    for (int r = from; r < to; ++r) {
        if (!keys[0].Matches(first[static_cast<size_t>(r)])) continue;
        bool all = true;
        for (size_t k = 1; k < keys.size() && all; ++k)
            all = keys[k].Matches(FStore->Columns[static_cast<size_t>(keys[k].FieldIndex())][static_cast<size_t>(r)]);
        if (all) return r;
    }
    return -1;
}

int TMemoryDataSet::FindByEquality(const std::vector<TKeyMatcher>& keys) const {
    auto sameFields = [&](const TEqualityIndex& index) {
        return std::equal(index.Fields().begin(), index.Fields().end(), keys.begin(), keys.end(),
                          [](int f, const TKeyMatcher& k) { return f == k.FieldIndex(); });
    };
    auto found = std::find_if(FStore->EqualityIndexes.begin(), FStore->EqualityIndexes.end(),
                              [&](const auto& index) { return sameFields(*index); });
    if (found == FStore->EqualityIndexes.end()) {
        std::vector<int> fields;
        for (const TKeyMatcher& k : keys) fields.push_back(k.FieldIndex());
        FStore->EqualityIndexes.push_back(std::make_unique<TEqualityIndex>(std::move(fields)));
        found = FStore->EqualityIndexes.end() - 1;
    }
    (*found)->CatchUp(FStore->Columns, FRecordCount);
    return (*found)->Find(FStore->Columns, keys);
}

int TMemoryDataSet::FindByOrder(const std::vector<TKeyMatcher>& keys, const TKeyMatcher& ordered) const {
    const int field = ordered.FieldIndex();
    const TColumn& column = FStore->Columns[static_cast<size_t>(field)];
    auto found = std::find_if(FStore->OrderedIndexes.begin(), FStore->OrderedIndexes.end(),
                              [&](const auto& index) { return index->Field() == field; });
    if (found == FStore->OrderedIndexes.end()) {
        FStore->OrderedIndexes.push_back(std::make_unique<TOrderedIndex>(field));
        found = FStore->OrderedIndexes.end() - 1;
        (*found)->Build(column, FRecordCount);
    }
    TOrderedIndex& index = **found;
    const int tail = FRecordCount - index.Covered();
    if (tail < 0 || tail > std::max(kOrderedTail, index.Covered() / 8)) index.Build(column, FRecordCount);
    auto accept = [&](int record) {
        return std::all_of(keys.begin(), keys.end(), [&](const TKeyMatcher& k) {
            return k.Matches(FStore->Columns[static_cast<size_t>(k.FieldIndex())][static_cast<size_t>(record)]);
        });
    };
    const int record = index.Find(column, ordered.Value().StringRef(), ordered.Partial(), accept);
    return record >= 0 ? record : ScanFind(keys, index.Covered(), FRecordCount);
}

bool TMemoryDataSet::LookupValues(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields,
                                  std::vector<Variant>& values) {
    if (typeid(*this) != typeid(TMemoryDataSet)) return inherited::LookupValues(keyFields, keyValues, resultFields, values);
    return FindLookupValues(keyFields, keyValues, resultFields, values);
}

// ---- loading -------------------------------------------------------------

void TMemoryDataSet::AppendRecord(std::initializer_list<Variant> values) { AppendRecord(std::vector<Variant>(values)); }

void TMemoryDataSet::AppendRecord(const std::vector<Variant>& values) {
    if (static_cast<int>(values.size()) > FieldCount()) DatabaseError("Too many values for the record");
    Append();
    try {
        for (size_t i = 0; i < values.size(); ++i) Fields(static_cast<int>(i))->SetValue(values[i]);
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void TMemoryDataSet::EmptyDataSet() {
    if (Active()) Cancel();
    for (auto& column : FStore->Columns) column.clear();
    std::fill(FStore->Counts.begin(), FStore->Counts.end(), TColumnCounts{});
    FRecordCount = 0;
    DropIndexes();
    if (Active()) First();
}

} // namespace host
