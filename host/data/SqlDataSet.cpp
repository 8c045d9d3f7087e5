#include "host/data/SqlDataSet.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"

#include <algorithm>
#include <cstdint>

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomSQLDataSet, TDataSet)

namespace {
// Statements kept per dataset; past this the cache starts again, which only
// costs preparing anew.
constexpr size_t kMaxStatements = 64;
} // namespace

void TCustomSQLDataSet::SetConnection(TSQLConnection* value) {
    if (value == FConnection) return;
    if (Active()) DatabaseError("Cannot change the connection of an open dataset");
    if (FConnection) FConnection->RemoveFreeNotification(this);
    FConnection = value;
    if (FConnection) FConnection->FreeNotification(this);
}

void TCustomSQLDataSet::SetWindowSize(int value) {
    if (value < 2) DatabaseError("WindowSize must be at least 2");
    FWindowSize = value;
    DropWindow();
}

void TCustomSQLDataSet::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FConnection) {
        // The connection closed us before it went.
        RegisterWithConnection(false);
        FStatements.clear();
        FConnection = nullptr;
    }
}

void TCustomSQLDataSet::Destroy() {
    Destroying();
    try {
        Close();
    } catch (...) {
        // A dataset that cannot close cleanly still goes.
    }
    FStatements.clear();
    SetConnection(nullptr);
    inherited::Destroy();
}

TSQLConnection& TCustomSQLDataSet::Conn() const {
    if (!FConnection) DatabaseError("Missing Connection");
    return *FConnection;
}

void TCustomSQLDataSet::RegisterWithConnection(bool add) {
    if (!FConnection) return;
    if (add)
        FConnection->RegisterClient(this);
    else
        FConnection->UnregisterClient(this);
}

// ---- opening ---------------------------------------------------------------

void TCustomSQLDataSet::InternalOpen() {
    TSQLConnection& connection = Conn();
    const TSQLOperationScope opening(connection, TStorageOperation::Open);
    connection.Open();
    RegisterWithConnection(true);
    try {
        FieldDefs().Clear();
        OpenSource();
        OpenWindow();
    } catch (...) {
        InternalClose();
        throw;
    }
}

void TCustomSQLDataSet::InternalClose() {
    CloseSource();
    DropWindow();
    FStatements.clear();
    FRecordCount = -1;
    RegisterWithConnection(false);
}

void TCustomSQLDataSet::OpenWindow() {
    DropWindow();
    FRecordCount = CountRecords();
    FStartKnown = FEndKnown = true;
}

void TCustomSQLDataSet::InternalRefresh() {
    DropWindow();
    FRecordCount = -1;
    OpenWindow();
}

int TCustomSQLDataSet::InternalRecordCount() const {
    if (FRecordCount < 0) const_cast<TCustomSQLDataSet*>(this)->OpenWindow();
    return FRecordCount;
}

int TCustomSQLDataSet::InternalRecNo(int record) const {
    const int shift = FShift;
    SettleStart();
    return record - (FShift - shift) + 1;
}

int TCustomSQLDataSet::InternalExactRecordCount() const {
    if (!FStartKnown || !FEndKnown) CountExactly();
    return FRecordCount;
}

void TCustomSQLDataSet::CountExactly() const {
    SettleStart();
    FRecordCount = CountRecords();
    FStartKnown = FEndKnown = true;
}

Variant TCustomSQLDataSet::InternalGetValue(int record, int field) const {
    if (!InWindow(record)) {
        if (record < 0 || record >= InternalRecordCount()) return Variant::Null();
        const int shift = FShift;
        const int asked = record;
        FetchWindow(record);
        record -= FShift - shift;
        if (record < 0 && asked < FRecordCount) {
            // Estimated numbers made exact on the way: no record bore the
            // number asked for, which now names one.
            record = asked;
            if (!InWindow(record)) FetchWindow(record);
        }
        if (!InWindow(record) && record >= 0 && record < FRecordCount) {
            // Fewer rows than counted, and where they end not found on the
            // way: count again and read there once more.
            // Numbered from the first record by the rows in hand, then counted.
            const int before = FShift;
            CountExactly();
            record -= FShift - before;
            DropWindow();
            if (record < FRecordCount) FetchWindow(record);
        }
        // Past the end the other writers left: no record there.
        if (!InWindow(record)) return Variant::Null();
    }
    Variant value = FRows[static_cast<size_t>(record - FWindowStart)][static_cast<size_t>(field)];
    const int end = FWindowStart + static_cast<int>(FRows.size());
    if (!FEndKnown && end > FRecordCount) NoteEnd(end, false);
    if (!FEndKnown && record == FRecordCount - 1 && record + 1 == end) {
        // The last record read, short of a known end: read on, so that
        // whoever goes by the count finds the records after it.
        FetchWindow(record + 1);
    }
    return value;
}

int TCustomSQLDataSet::InternalCheckMove(int& current, int& target) {
    const int count = InternalRecordCount();
    // The cursor coming to the last record read, short of a known end, reads
    // on, so that whoever goes by the count (a grid) finds the records after.
    if (!FEndKnown && target == count - 1 && target > current && InWindow(target)) {
        const int shift = FShift;
        InternalGetValue(target, 0);
        current -= FShift - shift;
        target -= FShift - shift;
    }
    // A move past the rows read reads on, a window at a time, until it
    // reaches its record or the end.
    while (!FEndKnown && target >= FRecordCount && FRecordCount > 0) {
        const int before = FRecordCount, shift = FShift;
        FetchWindow(FRecordCount);
        current -= FShift - shift;
        target -= FShift - shift;
        if (FRecordCount <= before && !FEndKnown) break;
    }
    const int known = InternalRecordCount();
    // Before record 0 there may be more when the numbers are estimated.
    if ((target < 0 && FStartKnown) || target > known || InWindow(target)) return known;
    const int shift = FShift;
    FetchWindow(target);
    current -= FShift - shift;
    target -= FShift - shift;
    if (!InWindow(target) && target >= 0 && target < FRecordCount) {
        // Read by position and found nothing there: the rows went.
        const int before = FShift;
        CountExactly();
        current -= FShift - before;
        target -= FShift - before;
        DropWindow();
    }
    return FRecordCount;
}

void TCustomSQLDataSet::NoteEnd(int end, bool exact) const {
    if (exact || end > FRecordCount) FRecordCount = end;
    if (exact) FEndKnown = true;
}

void TCustomSQLDataSet::Renumber(int shift) const {
    if (shift == 0) return;
    FWindowStart -= shift;
    if (FRecordCount >= 0) FRecordCount = std::max(0, FRecordCount - shift);
    FShift += shift;
    // Found while reading, which may be in the middle of showing a record:
    // the dataset's numbers change with the window's, nothing else does.
    const_cast<TCustomSQLDataSet*>(this)->RecordsRenumbered(shift);
}

void TCustomSQLDataSet::DropWindow() const {
    FRows.clear();
    FRows.shrink_to_fit();
    FWindowStart = 0;
}

// ---- searching -------------------------------------------------------------

Variant TCustomSQLDataSet::Lookup(const std::string& keyFields, const Variant& keyValues,
                                  const std::string& resultFields) {
    if (!FConnection) return inherited::Lookup(keyFields, keyValues, resultFields);
    const TSQLOperationScope lookingUp(*FConnection, TStorageOperation::Lookup);
    return inherited::Lookup(keyFields, keyValues, resultFields);
}

bool TCustomSQLDataSet::Locate(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) {
    if (!FConnection) return inherited::Locate(keyFields, keyValues, options);
    const TSQLOperationScope locating(*FConnection, TStorageOperation::Locate);
    return inherited::Locate(keyFields, keyValues, options);
}

// ---- statements --------------------------------------------------------------

TSQLStatement& TCustomSQLDataSet::Statement(const std::string& sql) const {
    auto found = FStatements.find(sql);
    if (found != FStatements.end()) return *found->second;
    TSQLStatementPtr prepared = Conn().Prepare(sql);
    if (FStatements.size() >= kMaxStatements) FStatements.clear();
    return *FStatements.emplace(sql, std::move(prepared)).first->second;
}

void TCustomSQLDataSet::DefineFields(const TSQLStatement& statement, int count, const std::vector<bool>& wide) {
    for (int i = 0; i < count; ++i) {
        TSQLColumnType type = statement.ColumnType(i);
        if (type.DataType == ftInteger && static_cast<size_t>(i) < wide.size() && wide[static_cast<size_t>(i)])
            type.DataType = ftLargeint;
        FieldDefs().Add(statement.ColumnName(i), type.DataType, type.DataType == ftString ? type.Size : 0);
    }
    FRowWidth = FReadWidth = count;
}

std::vector<bool> TCustomSQLDataSet::WideIntegers(const TSQLStatement& columns, const std::string& source,
                                                  const std::vector<Variant>& binds) const {
    if (!Conn().IntegersMayExceedDeclared()) return {};
    std::vector<int> integers;
    std::string tests;
    std::vector<Variant> all;
    for (int i = 0; i < columns.ColumnCount(); ++i) {
        if (columns.ColumnType(i).DataType != ftInteger) continue;
        // A name two columns share cannot be asked for outside the query:
        // such a column keeps its declared type.
        int named = 0;
        for (int j = 0; j < columns.ColumnCount(); ++j) named += SameText(columns.ColumnName(j), columns.ColumnName(i));
        if (named > 1) continue;
        const std::string column = Quote(columns.ColumnName(i));
        integers.push_back(i);
        tests += std::string(tests.empty() ? "" : ", ") + "MAX(CASE WHEN " + column + " < ? OR " + column +
                 " > ? THEN 1 ELSE 0 END)";
        all.push_back(Variant(int64_t{INT32_MIN}));
        all.push_back(Variant(int64_t{INT32_MAX}));
    }
    if (integers.empty()) return {};
    all.insert(all.end(), binds.begin(), binds.end());
    std::vector<bool> wide(static_cast<size_t>(columns.ColumnCount()), false);
    TSQLStatementPtr probe = Conn().Prepare("SELECT " + tests + " FROM " + source);
    probe->BindAll(all);
    probe->Execute();
    if (probe->Fetch())
        for (size_t i = 0; i < integers.size(); ++i) {
            const Variant found = probe->ColumnValue(static_cast<int>(i));
            wide[static_cast<size_t>(integers[i])] = !found.IsNull() && found.AsInteger() != 0;
        }
    return wide;
}

std::vector<Variant> TCustomSQLDataSet::ReadRow(const TSQLStatement& statement) const {
    std::vector<Variant> row;
    row.reserve(static_cast<size_t>(FReadWidth));
    for (int i = 0; i < FReadWidth; ++i) row.push_back(statement.ColumnValue(i));
    return row;
}

std::vector<TKeyMatcher> TCustomSQLDataSet::KeyMatchers(const std::string& keyFields, const Variant& keyValues,
                                                        TLocateOptions options) const {
    const std::vector<TField*> fields = GetFieldList(keyFields);
    std::vector<TKeyMatcher> keys;
    keys.reserve(fields.size());
    if (fields.size() == 1 && !keyValues.IsArray()) {
        keys.emplace_back(*fields[0], keyValues, options);
        return keys;
    }
    if (fields.empty()) return keys;
    if (!keyValues.IsArray()) DatabaseError("Number of key values does not match the key fields");
    const int low = keyValues.LowBound();
    if (keyValues.HighBound() - low + 1 < static_cast<int>(fields.size()))
        DatabaseError("Number of key values does not match the key fields");
    for (size_t i = 0; i < fields.size(); ++i) keys.emplace_back(*fields[i], keyValues[low + static_cast<int>(i)], options);
    return keys;
}

const TEnumInfo& UpdateModeTypeInfo() {
    static const TEnumInfo info{"TUpdateMode", {"upWhereAll", "upWhereChanged", "upWhereKeyOnly"}};
    return info;
}

void TCustomSQLDataSet::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TCustomSQLDataSet>();
    p.Component("Connection", &TCustomSQLDataSet::Connection, &TCustomSQLDataSet::SetConnection);
}

} // namespace host
