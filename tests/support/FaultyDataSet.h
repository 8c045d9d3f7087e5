#pragma once
// TFaultyDataSet: an in-memory dataset that can be told to fail one of its
// coming storage operations, so the code above it can be tried against
// storage that breaks in the middle of work. Every operation counts: open,
// fetch (reading a value), post (insert or update), delete, lookup, locate.

#include "host/data/MemoryDataSet.h"
#include "tests/support/StorageFaults.h"

#include <string>

namespace host {

class TFaultyDataSet : public TMemoryDataSet {
    HOST_CLASS(TFaultyDataSet, TMemoryDataSet)
public:
    // The Nth operation from now (1 the next one) raises EDatabaseError
    // "<name>: the storage failed to <operation>"; 0 fails none.
    void FailAt(int n) { FFaults.FailAt(n); }
    // Operations counted since FailAt.
    int Operations() const { return FFaults.Operations(); }
    // The failure asked for has happened.
    bool Failed() const { return FFaults.Failed(); }
    // Which operation failed, once one has.
    TStorageOperation FailedOperation() const { return FFaults.FailedOperation(); }

    Variant Lookup(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields) override;
    bool Locate(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) override;

protected:
    explicit TFaultyDataSet(TComponent* owner) : TMemoryDataSet(owner) {}

    void InternalOpen() override;
    Variant InternalGetValue(int record, int field) const override;
    int InternalInsert(int position, const std::vector<Variant>& values) override;
    void InternalUpdate(int record, const std::vector<Variant>& values) override;
    void InternalDelete(int record) override;

private:
    // Counts the operation and raises when it is the one to fail.
    void Count(TStorageOperation operation) const;

    // Reads count too, and they are const.
    mutable TStorageFaults FFaults;
};

} // namespace host
