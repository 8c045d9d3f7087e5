#pragma once
// TSQLConnection: a connection to one SQL database, the base of one class per
// engine, and TSQLStatement, a prepared statement of such a connection. The
// SQL datasets talk to an engine only through these two classes, so an engine
// is added by deriving from both.
//
// SQL text handed to Prepare writes each parameter as "?" (outside quotes);
// an engine whose own syntax differs ($1, $2...) translates it. Values are
// always bound, names always quoted with QuoteIdentifier: no value or name is
// ever pasted into SQL text.
//
// Every failure the engine reports is raised as EDatabaseError carrying the
// engine's message.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/Variant.h"
#include "host/data/Field.h"
#include "host/data/StorageOperation.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TDataSet;

// A column's declared type as a host field type; Size is a string column's
// declared length (a string column without one gets DefaultStringSize).
struct TSQLColumnType {
    TFieldType DataType = ftString;
    int Size = 0;
};

constexpr int DefaultStringSize = 255;

// What a connection ran: every statement counted, and, while Active, its
// text kept, so that a test or a benchmark can tell what an action cost
// (which statements, whether one counted a table). Off, it costs one
// increment a statement.
class TSQLStatementLog {
public:
    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    // Statements run since the connection was made or the log cleared.
    int64_t Count() const { return FCount; }
    // The texts run while Active, oldest first.
    const std::vector<std::string>& Texts() const { return FTexts; }
    // The texts kept that contain Fragment (letter case ignored).
    int CountContaining(const std::string& fragment) const;
    void Clear();
    void Note(const std::string& text);

private:
    bool FActive = false;
    int64_t FCount = 0;
    std::vector<std::string> FTexts;
};

class TSQLStatement {
public:
    virtual ~TSQLStatement() = default;
    TSQLStatement(const TSQLStatement&) = delete;
    TSQLStatement& operator=(const TSQLStatement&) = delete;

    // Number of "?" parameters in the text.
    virtual int ParamCount() const = 0;
    // Binds parameter Index (0-based) by the value's type: Null and
    // unassigned as NULL, Boolean, integer, float, string and date-time as
    // themselves. Bindings stay until bound again.
    virtual void Bind(int index, const Variant& value) = 0;
    void BindAll(const std::vector<Variant>& values);
    // Runs the statement with the bound values; a statement run before
    // starts again. Rows, if any, are then read with Fetch. Counted in the
    // connection's statement log.
    void Execute();
    // Moves to the next row of the result: false when there is none more.
    virtual bool Fetch() = 0;
    // Ends the current result early; the statement stays prepared.
    virtual void Reset() = 0;
    // The statement's results are small (a window under a LIMIT): an engine
    // may read each whole in one piece rather than row by row.
    virtual void SetSmallResults(bool value) { (void)value; }

    // The result's columns, known once prepared.
    virtual int ColumnCount() const = 0;
    virtual std::string ColumnName(int column) const = 0;
    virtual TSQLColumnType ColumnType(int column) const = 0;
    // The current row's value, converted to the column's type; Null for NULL.
    virtual Variant ColumnValue(int column) const = 0;
    // Rows the last INSERT, UPDATE or DELETE changed.
    virtual int64_t RowsAffected() const = 0;

protected:
    TSQLStatement() = default;
    // The engine's run of the statement.
    virtual void DoExecute() = 0;

private:
    friend class TSQLConnection;
    // Shared: a statement kept past its connection still has a log.
    std::shared_ptr<TSQLStatementLog> FLog;
    std::string FText;
};

using TSQLStatementPtr = std::unique_ptr<TSQLStatement>;

class TSQLConnection : public TComponent {
    HOST_CLASS(TSQLConnection, TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // ---- connecting ------------------------------------------------------
    bool Connected() const { return FConnected; }
    // Read while loading, the connection opens in Loaded.
    void SetConnected(bool value);
    void Open() { SetConnected(true); }
    // Closes the datasets on the connection first.
    void Close() { SetConnected(false); }

    // ---- transactions ----------------------------------------------------
    // Raise EDatabaseError when not connected, or when one is already
    // active (StartTransaction) or none is (Commit, Rollback).
    void StartTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return FInTransaction; }

    // ---- statements ------------------------------------------------------
    // Prepares one statement; raises when not connected or the text does
    // not prepare.
    TSQLStatementPtr Prepare(const std::string& sql);
    // Runs SQL text without parameters, several statements allowed (DDL,
    // scripts).
    void ExecuteDirect(const std::string& sql);
    // The statements run on the connection.
    TSQLStatementLog& StatementLog() { return *FLog; }
    const TSQLStatementLog& StatementLog() const { return *FLog; }
    // Prepares, binds and runs one statement; answers the rows it changed.
    int64_t ExecSQL(const std::string& sql, const std::vector<Variant>& params = {});

    // ---- the dialect -----------------------------------------------------
    // Name in double quotes, quotes inside doubled; raises for a name
    // holding a NUL character.
    virtual std::string QuoteIdentifier(const std::string& name) const;
    // The order term of a column: ascending or descending, NULL first when
    // ascending, last when descending, on every engine.
    virtual std::string OrderTerm(const std::string& quotedColumn, bool descending) const;
    // "column equals ?" that holds for NULL = NULL too.
    virtual std::string NullSafeEquals(const std::string& quotedColumn) const;
    // A condition on a text column that an index can serve and that holds
    // for every value beginning with Prefix (letter case ignored for ASCII
    // when CaseInsensitive): text with "?" parameters and their values. It
    // may hold for more values; the caller checks the prefix exactly too.
    struct TCondition {
        std::string Text;
        std::vector<Variant> Values;
    };
    virtual TCondition PrefixRange(const std::string& quotedColumn, const std::string& prefix,
                                   bool caseInsensitive) const = 0;
    // True when text columns order and compare byte by byte (no locale
    // collation): a search may then add a byte range around a prefix that
    // ignores case, so that an index in the dataset's order serves it.
    virtual bool BinaryTextOrder() const { return false; }
    // "column equals ?" ignoring ASCII letter case, so an index can serve it.
    virtual std::string EqualsIgnoreCase(const std::string& quotedColumn) const = 0;
    // " LIMIT n" and " OFFSET m" (none when Offset is 0).
    virtual std::string LimitClause(int64_t limit, int64_t offset = 0) const;
    // A hidden column that identifies a row of a relation without a primary
    // key ("rowid"); empty when the engine has none to offer, or the
    // relation has none (a view).
    virtual std::string RowIdColumn(const std::string& tableName) {
        (void)tableName;
        return {};
    }
    // True when an integer column may hold values beyond its declared type's
    // 32 bits (SQLite keeps any integer in any integer column): a dataset
    // then asks the values before it settles on a 32-bit field.
    virtual bool IntegersMayExceedDeclared() const { return false; }
    // About how many rows a table holds, from what the engine knows without
    // reading it (statistics, the range of its row ids); -1 when it cannot
    // tell. Never a count: it may be far off.
    virtual int64_t EstimatedRowCount(const std::string& tableName) {
        (void)tableName;
        return -1;
    }
    // The primary key's columns of a table, in key order; empty when none.
    virtual std::vector<std::string> PrimaryKeyFields(const std::string& tableName) = 0;

    // ---- datasets on the connection ---------------------------------------
    // A dataset registers itself while it uses the connection; closing or
    // freeing the connection closes them first.
    void RegisterClient(TDataSet* dataSet);
    void UnregisterClient(TDataSet* dataSet);
    int ClientCount() const { return static_cast<int>(FClients.size()); }

    // ---- what its datasets are doing -----------------------------------------
    // The storage operation a dataset runs on the connection now, for whoever
    // watches its statements (a connection that decorates another): Fetch
    // unless a dataset says otherwise with a TSQLOperationScope.
    TStorageOperation Operation() const { return FOperation; }

    // "Name: message" when the connection has a name.
    [[noreturn]] void DatabaseError(const std::string& message) const;
    void CheckConnected() const;

    TNotifyEvent BeforeConnect, AfterConnect, BeforeDisconnect, AfterDisconnect;

protected:
    explicit TSQLConnection(TComponent* owner) : TComponent(owner) {}
    void Destroy() override;
    void Loaded() override;

    // The engine's statements, behind Prepare and ExecuteDirect.
    virtual TSQLStatementPtr DoPrepare(const std::string& sql) = 0;
    virtual void DoExecuteDirect(const std::string& sql) = 0;
    // The engine's own opening and closing.
    virtual void DoConnect() = 0;
    virtual void DoDisconnect() = 0;
    // The engine's transaction statements; by default BEGIN, COMMIT and
    // ROLLBACK through ExecuteDirect.
    virtual void DoStartTransaction() { ExecuteDirect("BEGIN"); }
    virtual void DoCommit() { ExecuteDirect("COMMIT"); }
    virtual void DoRollback() { ExecuteDirect("ROLLBACK"); }

private:
    friend class TSQLOperationScope;
    VESKAR_LOCAL void CloseClients();

    bool FConnected = false;
    bool FStreamedConnected = false;
    bool FInTransaction = false;
    std::vector<TDataSet*> FClients;
    TStorageOperation FOperation = TStorageOperation::Fetch;
    std::shared_ptr<TSQLStatementLog> FLog = std::make_shared<TSQLStatementLog>();
};

// Marks the statements a dataset runs on a connection, for as long as it
// lives, as parts of one storage operation; the mark before comes back
// after. Two stores: free for a connection nobody watches.
class TSQLOperationScope {
public:
    TSQLOperationScope(TSQLConnection& connection, TStorageOperation operation)
        : FConnection(connection), FOuter(connection.FOperation) {
        connection.FOperation = operation;
    }
    ~TSQLOperationScope() { FConnection.FOperation = FOuter; }
    TSQLOperationScope(const TSQLOperationScope&) = delete;
    TSQLOperationScope& operator=(const TSQLOperationScope&) = delete;

private:
    TSQLConnection& FConnection;
    TStorageOperation FOuter;
};

} // namespace host

VESKAR_PUBLIC_END
