#pragma once
// TMemoryDataSet: a dataset whose records live in memory, column by column.
// Define its fields in FieldDefs, open it, and add rows through the ordinary
// Append/Post path (or AppendRecord, which does the same).

#include "host/data/DataSet.h"

#include <initializer_list>
#include <vector>

namespace host {

class TMemoryDataSet : public TDataSet {
    HOST_CLASS(TMemoryDataSet, TDataSet)
public:
    // Appends and posts one record, values in field order.
    void AppendRecord(std::initializer_list<Variant> values);
    void AppendRecord(const std::vector<Variant>& values);
    // Drops every record (the dataset stays open).
    void EmptyDataSet();

protected:
    explicit TMemoryDataSet(TComponent* owner) : TDataSet(owner) {}

    void InternalOpen() override;
    void InternalClose() override;
    int InternalRecordCount() const override;
    Variant InternalGetValue(int record, int field) const override;
    int InternalInsert(int position, const std::vector<Variant>& values) override;
    void InternalUpdate(int record, const std::vector<Variant>& values) override;
    void InternalDelete(int record) override;
    int InternalFind(const std::vector<TKeyMatcher>& keys, int from) const override;

private:
    // One vector per field; records are kept across Close and Open, as long
    // as the field definitions do not change.
    std::vector<std::vector<Variant>> FColumns;
    int FRecordCount = 0;
};

} // namespace host
