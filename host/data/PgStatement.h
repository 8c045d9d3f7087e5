#pragma once
// The PostgreSQL statement behind TPostgresConnection::Prepare, and the
// session-bound facts it shares with the connection. Internal to host/data;
// code lives in PgStatement.cpp.

#include "host/core/Export.h"
#include "host/data/PgClient.h"
#include "host/data/SqlConnection.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace host {
class TPostgresConnection;
}

namespace host::pg {

struct TPgColumn {
    std::string Name;
    Oid Type = 0;
    TSQLColumnType FieldType;
};

// A statement prepared on the server in one session.
struct TPgPrepared {
    std::string Name;
    int ParamCount = 0;
    std::vector<TPgColumn> Columns;
    uint64_t Session = 0;
};

// What a statement knows of its connection: cleared when the connection
// goes, its session number moved on at each connect.
struct TPgLink {
    TPostgresConnection* Connection = nullptr;
    uint64_t Session = 0;
};

// Writes each "?" outside quotes, quoted names, dollar-quoted text and
// comments as $1, $2, ... and answers how many there were. Unterminated
// quotes or comments are copied as they are (the server reports them).
std::string TranslatePlaceholders(const std::string& sql, int& count);

// Rows are read one at a time as Fetch asks for them, so a large result
// never sits in memory whole; a read left early is abandoned cheaply. Should
// another command need the session meanwhile, the rest of the rows are taken
// into memory first. A statement told its results are small reads each in
// one piece instead (one result, not one per row).
class TPgStatement : public TSQLStatement {
public:
    TPgStatement(std::shared_ptr<TPgLink> link, std::string sql, std::shared_ptr<const TPgPrepared> prepared);
    ~TPgStatement() override;

    int ParamCount() const override { return FPrepared->ParamCount; }
    void Bind(int index, const Variant& value) override;
    void DoExecute() override;
    bool Fetch() override;
    void Reset() override;
    void SetSmallResults(bool value) override { FSmall = value; }
    int ColumnCount() const override { return static_cast<int>(FPrepared->Columns.size()); }
    std::string ColumnName(int column) const override;
    TSQLColumnType ColumnType(int column) const override;
    Variant ColumnValue(int column) const override;
    int64_t RowsAffected() const override { return FRowsAffected; }

private:
    const TPgColumn& Column(int column) const;
    TPostgresConnection& Connection() const;
    // The session this statement's read runs in, if it still does.
    VESKAR_LOCAL TPgSession* ReadingSession() const;
    // Called by the session before another command: keeps the rest.
    VESKAR_LOCAL void TakeRest() noexcept;

    std::shared_ptr<TPgLink> FLink;
    std::string FSql;
    std::shared_ptr<const TPgPrepared> FPrepared;
    // Sent as text and planned for its values each run: a plan made once
    // for any value guesses a prefix range to match many rows and walks
    // the key's index instead of the column's, hundreds of times slower.
    bool FPlanEachRun = false;
    std::vector<Variant> FParams;
    TPgResult FRow;                 // the current row
    TPgResult FFirst;               // the first row, read by Execute
    std::deque<TPgResult> FRest;    // rows taken when the session was wanted
    std::string FRestError;         // what the server said while they were taken
    bool FHasResult = false;
    bool FReading = false;          // rows still come from the session
    uint64_t FReadSession = 0;
    int64_t FRowsAffected = 0;
    bool FSmall = false;            // results read whole
    TPgResult FWhole;               // such a result
    int FWholeNext = 0;             // its row Fetch gives next
    int FRowAt = 0;                 // the current row's index in FRow
};

} // namespace host::pg
