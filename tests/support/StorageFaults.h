#pragma once
// TStorageFaults counts a dataset's storage operations and says which one
// is to fail: the plan shared by the datasets and connections that can be
// told to fail (TFaultyDataSet, TFaultyConnection), so code above them can
// be tried against storage that breaks in the middle of work. Test support:
// built for the tests and benchmarks, never part of the product.

#include "host/data/StorageOperation.h"

#include <string>

namespace host {

// "open", "fetch", "post", "delete", "look up", "locate".
const char* StorageOperationVerb(TStorageOperation operation);

class TStorageFaults {
public:
    // The Nth operation from now (1 the next one) is to fail; 0 fails none.
    void FailAt(int n) {
        FFailAt = n;
        FCount = 0;
        FFailed = false;
    }
    // Counts one operation: true when it is the one to fail, which is then
    // remembered.
    bool Strike(TStorageOperation operation) {
        if (++FCount != FFailAt) return false;
        FFailed = true;
        FFailedOperation = operation;
        return true;
    }
    // Operations counted since FailAt.
    int Operations() const { return FCount; }
    // The failure asked for has happened.
    bool Failed() const { return FFailed; }
    // Which operation failed, once one has.
    TStorageOperation FailedOperation() const { return FFailedOperation; }
    // "the storage failed to <verb>" for the failed operation.
    std::string Message() const;

private:
    int FFailAt = 0;
    int FCount = 0;
    bool FFailed = false;
    TStorageOperation FFailedOperation = TStorageOperation::Open;
};

} // namespace host
