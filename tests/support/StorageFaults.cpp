#include "tests/support/StorageFaults.h"

namespace host {

const char* StorageOperationVerb(TStorageOperation operation) {
    switch (operation) {
    case TStorageOperation::Open: return "open";
    case TStorageOperation::Fetch: return "fetch";
    case TStorageOperation::Post: return "post";
    case TStorageOperation::Delete: return "delete";
    case TStorageOperation::Lookup: return "look up";
    case TStorageOperation::Locate: return "locate";
    }
    return "work";
}

std::string TStorageFaults::Message() const {
    return std::string("the storage failed to ") + StorageOperationVerb(FFailedOperation);
}

} // namespace host
