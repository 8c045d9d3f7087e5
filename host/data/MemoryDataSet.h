#pragma once
// TMemoryDataSet: a dataset whose records live in memory, column by column.
// Define its fields in FieldDefs, open it, and add rows through the ordinary
// Append/Post path (or AppendRecord, which does the same).
//
// Lookup and Locate find their record through indexes the dataset builds on
// first use of a key field list and keeps up to date as records change (or
// drops, to build again when next needed). The answers are those of a scan
// from the first record; SetIndexed(false) keeps to that scan.

#include "host/data/DataSet.h"
#include "host/data/EqualityIndex.h"
#include "host/data/OrderedIndex.h"

#include <initializer_list>
#include <memory>
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

    bool Indexed() const { return FIndexed; }
    void SetIndexed(bool value);
    // Bytes the indexes built so far take.
    size_t IndexMemory() const;

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
    // Text and other non-null values a column holds: an index answers only
    // when the key meets values of its own family, as a scan would compare
    // a number with a text by converting it.
    struct TColumnCounts {
        int Texts = 0;
        int Numbers = 0;
    };
    void Count(size_t column, const Variant& value, int delta);
    bool IndexFits(const TKeyMatcher& key) const;
    int ScanFind(const std::vector<TKeyMatcher>& keys, int from, int to) const;
    int FindByEquality(const std::vector<TKeyMatcher>& keys) const;
    int FindByOrder(const std::vector<TKeyMatcher>& keys, const TKeyMatcher& ordered) const;
    void DropIndexes();

    // One vector per field; records are kept across Close and Open, as long
    // as the field definitions do not change.
    std::vector<TColumn> FColumns;
    std::vector<TColumnCounts> FCounts;
    int FRecordCount = 0;
    bool FIndexed = true;
    // Built by the const searches, hence mutable.
    mutable std::vector<std::unique_ptr<TEqualityIndex>> FEqualityIndexes;
    mutable std::vector<std::unique_ptr<TOrderedIndex>> FOrderedIndexes;
};

} // namespace host
