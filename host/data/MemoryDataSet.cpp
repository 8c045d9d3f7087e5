#include "host/data/MemoryDataSet.h"

#include "host/core/Exception.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TMemoryDataSet, TDataSet)

void TMemoryDataSet::InternalOpen() {
    const auto columns = static_cast<size_t>(FieldDefs().Count());
    if (columns == 0) DatabaseError("No fields defined; cannot create dataset");
    if (FColumns.size() != columns) {
        FColumns.assign(columns, {});
        FRecordCount = 0;
    }
}

void TMemoryDataSet::InternalClose() {}

int TMemoryDataSet::InternalRecordCount() const { return FRecordCount; }

Variant TMemoryDataSet::InternalGetValue(int record, int field) const {
    return FColumns[static_cast<size_t>(field)][static_cast<size_t>(record)];
}

int TMemoryDataSet::InternalInsert(int position, const std::vector<Variant>& values) {
    for (size_t c = 0; c < FColumns.size(); ++c) FColumns[c].insert(FColumns[c].begin() + position, values[c]);
    ++FRecordCount;
    return position;
}

void TMemoryDataSet::InternalUpdate(int record, const std::vector<Variant>& values) {
    for (size_t c = 0; c < FColumns.size(); ++c) FColumns[c][static_cast<size_t>(record)] = values[c];
}

void TMemoryDataSet::InternalDelete(int record) {
    for (auto& column : FColumns) column.erase(column.begin() + record);
    --FRecordCount;
}

int TMemoryDataSet::InternalFind(const std::vector<TKeyMatcher>& keys, int from) const {
    // Scans the first key's column alone and checks the others only on a hit:
    // no value is copied on the way.
    const auto& first = FColumns[static_cast<size_t>(keys[0].FieldIndex())];
    for (int r = from; r < FRecordCount; ++r) {
        if (!keys[0].Matches(first[static_cast<size_t>(r)])) continue;
        bool all = true;
        for (size_t k = 1; k < keys.size() && all; ++k)
            all = keys[k].Matches(FColumns[static_cast<size_t>(keys[k].FieldIndex())][static_cast<size_t>(r)]);
        if (all) return r;
    }
    return -1;
}

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
    if (!Active()) {
        for (auto& column : FColumns) column.clear();
        FRecordCount = 0;
        return;
    }
    Cancel();
    for (auto& column : FColumns) column.clear();
    FRecordCount = 0;
    First();
}

} // namespace host
