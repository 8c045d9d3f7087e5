#include "tests/support/FaultyDataSet.h"

#include "host/core/Exception.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TFaultyDataSet, TMemoryDataSet)

void TFaultyDataSet::Count(TStorageOperation operation) const {
    if (FFaults.Strike(operation)) throw EDatabaseError(Name() + ": " + FFaults.Message());
}

Variant TFaultyDataSet::Lookup(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields) {
    Count(TStorageOperation::Lookup);
    return inherited::Lookup(keyFields, keyValues, resultFields);
}

bool TFaultyDataSet::Locate(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) {
    Count(TStorageOperation::Locate);
    return inherited::Locate(keyFields, keyValues, options);
}

void TFaultyDataSet::InternalOpen() {
    Count(TStorageOperation::Open);
    inherited::InternalOpen();
}

Variant TFaultyDataSet::InternalGetValue(int record, int field) const {
    Count(TStorageOperation::Fetch);
    return inherited::InternalGetValue(record, field);
}

int TFaultyDataSet::InternalInsert(int position, const std::vector<Variant>& values) {
    Count(TStorageOperation::Post);
    return inherited::InternalInsert(position, values);
}

void TFaultyDataSet::InternalUpdate(int record, const std::vector<Variant>& values) {
    Count(TStorageOperation::Post);
    inherited::InternalUpdate(record, values);
}

void TFaultyDataSet::InternalDelete(int record) {
    Count(TStorageOperation::Delete);
    inherited::InternalDelete(record);
}

} // namespace host
