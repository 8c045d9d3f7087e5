#pragma once
// TCustomSQLDataSet: the common part of the datasets that read a database
// through a TSQLConnection (TSQLTable, TSQLQuery). Rows are read in windows
// of WindowSize rows: only the window is in memory, whatever the size of the
// table, and a record outside it is fetched when asked for.
//
// Numbers. The records are numbered from where the dataset last read: a
// derived dataset that reads by key (TSQLTable) need not know how many
// records lie before or after its window, and its count is then an estimate
// that reading corrects (see its header). RecNo and RecordCount stay exact:
// when the numbers are estimated, asking for either counts (once; the
// numbers are then exact until the next jump by key). A dataset that cannot
// read by key (TSQLQuery) counts its rows on opening and numbers them from
// the first.
//
// Other writers. A window is a snapshot: each fetch shows its rows as the
// database held them when it read them, and a row changed or deleted
// elsewhere afterwards still shows as read until it is read again. Moving
// past a window's edge reads on from the edge row by the dataset's order
// (the next rows now, not the next positions), so scrolling shows every row
// once, in order, and none twice: rows inserted ahead show up, rows deleted
// ahead are passed over. Reading on finds where the records really end;
// the count is then set to it, and the records are numbered anew when the
// first record turns out to stand elsewhere than counted (the cursor's
// number moves with them, never its record). Refresh reads again the
// whole dataset, RefreshRecord the current record.

#include "host/core/Export.h"
#include "host/core/Exception.h"
#include "host/core/TypInfo.h"
#include "host/data/DataSet.h"
#include "host/data/SqlConnection.h"

#include <unordered_map>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

// Which columns the WHERE of a posted UPDATE or DELETE compares with the
// values the record had when it was read: none but the key's, the key's
// and the changed ones (the default), or all. A record that no longer
// matches is refused with "Record changed by another user" (or "deleted").
enum TUpdateMode { upWhereAll, upWhereChanged, upWhereKeyOnly };
const TEnumInfo& UpdateModeTypeInfo();

class TCustomSQLDataSet : public TDataSet {
    HOST_CLASS(TCustomSQLDataSet, TDataSet)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TSQLConnection* Connection() const { return FConnection; }
    // Raises while open: close first.
    void SetConnection(TSQLConnection* value);
    // Rows kept in memory at most.
    int WindowSize() const { return FWindowSize; }
    void SetWindowSize(int value);
    // Rows in memory now, and statements prepared and kept.
    int CachedRows() const { return static_cast<int>(FRows.size()); }
    int CachedStatements() const { return static_cast<int>(FStatements.size()); }

    // Marked on the connection as lookups and locates (TSQLOperationScope).
    Variant Lookup(const std::string& keyFields, const Variant& keyValues, const std::string& resultFields) override;
    bool Locate(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) override;

protected:
    explicit TCustomSQLDataSet(TComponent* owner) : TDataSet(owner) {}
    void Destroy() override;
    void Notification(TComponent* component, TOperation operation) override;

    void InternalOpen() override;
    void InternalClose() override;
    int InternalRecordCount() const override;
    Variant InternalGetValue(int record, int field) const override;
    void InternalRefresh() override;
    int InternalCheckMove(int& current, int& target) override;
    int InternalRecNo(int record) const override;
    int InternalExactRecordCount() const override;

    // ---- what a derived dataset provides -----------------------------------
    // Prepares the source and fills FieldDefs (and FRowWidth).
    virtual void OpenSource() = 0;
    virtual void CloseSource() {}
    virtual int CountRecords() const = 0;
    // Fills the window so that it holds Record (0 <= Record < count).
    virtual void FetchWindow(int record) const = 0;
    // Sets the count (an estimate or exact) and the window on opening and
    // after Refresh; by default counts, numbering from the first record.
    virtual void OpenWindow();
    // Makes the numbers count from the first record (FStartKnown), at the
    // cost of a count; the numbers of a dataset that always numbers from
    // the first are exact already.
    virtual void SettleStart() const {}
    // Makes the numbers and the count exact: counts.
    void CountExactly() const;

    // ---- helpers -------------------------------------------------------------
    TSQLConnection& Conn() const;
    std::string Quote(const std::string& name) const { return Conn().QuoteIdentifier(name); }
    // A prepared statement for the text, kept for the next time.
    TSQLStatement& Statement(const std::string& sql) const;
    // Field definitions from a statement's first Count columns; an integer
    // column whose entry in Wide is true gets a large integer field.
    void DefineFields(const TSQLStatement& statement, int count, const std::vector<bool>& wide = {});
    // The integer columns of Columns holding a value beyond 32 bits in
    // Source (a table, or a query in parentheses with its Binds), read in
    // one pass, when the engine lets a column hold such values; an empty
    // list says none.
    std::vector<bool> WideIntegers(const TSQLStatement& columns, const std::string& source,
                                   const std::vector<Variant>& binds) const;
    // Reads the current row's first FReadWidth columns.
    std::vector<Variant> ReadRow(const TSQLStatement& statement) const;
    // Runs a write whole or not at all: in a transaction of its own, or,
    // when one is open, within a savepoint.
    template <class F>
    void WriteInTransaction(F write);
    // Runs F within a savepoint of the open transaction, so that F failing
    // half-way (say, after its row went in) undoes F alone and leaves the
    // transaction as it was: an engine may otherwise give all of it up.
    template <class F>
    void InSavepoint(F f) const;
    // Answers Find(), or Otherwise should it fail: for a search whose failure
    // costs no more than where the cursor stands. Inside a transaction it
    // runs in a savepoint, so its failure leaves the transaction as it was.
    template <class F>
    int Courtesy(int otherwise, F find) const;
    void DropWindow() const;
    bool InWindow(int record) const {
        return record >= FWindowStart && record < FWindowStart + static_cast<int>(FRows.size());
    }
    // Reading on found the records' end at End: exactly there (Exact), or
    // at least there.
    void NoteEnd(int end, bool exact) const;
    // The first record stands Shift places after where it was counted:
    // numbers the window, the count and the dataset's cursor anew (FShift
    // keeps the sum, so a caller holding a number can follow).
    void Renumber(int shift) const;
    // The matchers of a Lookup or Locate, as the dataset's search builds them.
    std::vector<TKeyMatcher> KeyMatchers(const std::string& keyFields, const Variant& keyValues,
                                         TLocateOptions options) const;

    // The window: FRows[i] is record FWindowStart + i; each row holds the
    // fields' values and then any hidden columns a derived class reads.
    mutable std::vector<std::vector<Variant>> FRows;
    mutable int FWindowStart = 0;
    mutable int FRecordCount = -1;
    mutable int FShift = 0;
    // Record 0 is the first record (else the numbers are estimated), and the
    // count is where the records end in these numbers.
    mutable bool FStartKnown = true;
    mutable bool FEndKnown = true;
    int FRowWidth = 0;   // the fields
    int FReadWidth = 0;  // the fields and the hidden columns

private:
    VESKAR_LOCAL void RegisterWithConnection(bool add);

    TSQLConnection* FConnection = nullptr;
    int FWindowSize = 256;
    mutable std::unordered_map<std::string, TSQLStatementPtr> FStatements;
};

template <class F>
void TCustomSQLDataSet::InSavepoint(F f) const {
    TSQLConnection& connection = Conn();
    connection.ExecuteDirect("SAVEPOINT dataset_step");
    try {
        f();
        connection.ExecuteDirect("RELEASE SAVEPOINT dataset_step");
    } catch (...) {
        try {
            connection.ExecuteDirect("ROLLBACK TO SAVEPOINT dataset_step");
            connection.ExecuteDirect("RELEASE SAVEPOINT dataset_step");
        } catch (...) {
            // The step's own error says more than the rollback's.
        }
        throw;
    }
}

template <class F>
int TCustomSQLDataSet::Courtesy(int otherwise, F find) const {
    try {
        if (!Conn().InTransaction()) return find();
        int at = otherwise;
        InSavepoint([&] { at = find(); });
        return at;
    } catch (const Exception&) {
        DropWindow();
        return otherwise;
    }
}

template <class F>
void TCustomSQLDataSet::WriteInTransaction(F write) {
    TSQLConnection& connection = Conn();
    if (connection.InTransaction()) {
        InSavepoint(write);
        return;
    }
    connection.StartTransaction();
    try {
        write();
        connection.Commit();
    } catch (...) {
        if (connection.InTransaction()) {
            try {
                connection.Rollback();
            } catch (...) {
                // The write's own error says more than the rollback's.
            }
        }
        throw;
    }
}

} // namespace host

VESKAR_PUBLIC_END
