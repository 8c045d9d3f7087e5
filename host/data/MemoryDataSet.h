#pragma once
// TMemoryDataSet: a dataset whose records live in memory, column by column.
// Define its fields in FieldDefs, open it, and add rows through the ordinary
// Append/Post path (or AppendRecord, which does the same).
//
// Lookup and Locate find their record through indexes the dataset builds on
// first use of a key field list and keeps up to date as records change (or
// drops, to build again when next needed). The answers are those of a scan
// from the first record; SetIndexed(false) keeps to that scan.
//
// RecNo and RecordCount cost nothing and are always exact. A bookmark is
// the record's number: it names another record once records are inserted
// or deleted before it.

#include "host/core/Export.h"
#include "host/data/DataSet.h"

#include <initializer_list>
#include <memory>
#include <vector>

VESKAR_PUBLIC_BEGIN

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

    // Searches itself; a class derived from it is asked through its Lookup,
    // which it may answer its own way.
    bool LookupValues(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields,
                      std::vector<Variant>& values) override;

protected:
    explicit TMemoryDataSet(TComponent* owner);
    ~TMemoryDataSet() override;

    void InternalOpen() override;
    void InternalClose() override;
    int InternalRecordCount() const override;
    Variant InternalGetValue(int record, int field) const override;
    int InternalInsert(int position, const std::vector<Variant>& values) override;
    void InternalUpdate(int record, const std::vector<Variant>& values) override;
    void InternalDelete(int record) override;
    int InternalFind(const std::vector<TKeyMatcher>& keys, int from) const override;

private:
    // The columns, what they hold and their indexes (MemoryDataSet.cpp):
    // kept out of this header, which applications include.
    struct TStore;
    void Count(size_t column, const Variant& value, int delta);
    VESKAR_LOCAL bool IndexFits(const TKeyMatcher& key) const;
    VESKAR_LOCAL int ScanFind(const std::vector<TKeyMatcher>& keys, int from, int to) const;
    VESKAR_LOCAL int FindByEquality(const std::vector<TKeyMatcher>& keys) const;
    VESKAR_LOCAL int FindByOrder(const std::vector<TKeyMatcher>& keys, const TKeyMatcher& ordered) const;
    VESKAR_LOCAL void DropIndexes();

    std::unique_ptr<TStore> FStore;
    int FRecordCount = 0;
    bool FIndexed = true;
};

} // namespace host

VESKAR_PUBLIC_END
