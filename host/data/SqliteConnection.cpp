#include "host/data/SqliteConnection.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <vector>

namespace host {

HOST_IMPLEMENT_COMPONENT(TSQLiteConnection, TSQLConnection)

namespace {

// The engine's message, and what it means where the bare words do not say:
// a lock another connection held past the busy timeout.
std::string EngineMessage(sqlite3* db) {
    std::string message = sqlite3_errmsg(db);
    if (sqlite3_errcode(db) == SQLITE_BUSY)
        message += " (another connection kept it locked for longer than the busy timeout)";
    return message;
}

// "(n)" after the type's name, or 0.
int DeclaredLength(const std::string& declared) {
    const size_t open = declared.find('(');
    if (open == std::string::npos) return 0;
    return std::atoi(declared.c_str() + open + 1);
}

// The host field type a declared column type names, by the words SQLite's
// own type affinity looks for, plus Boolean and date-time.
TSQLColumnType TypeFromDeclared(const std::string& declared) {
    const std::string t = UpperCase(declared);
    auto has = [&](const char* word) { return t.find(word) != std::string::npos; };
    if (has("BOOL")) return {ftBoolean, 0};
    if (has("DATE") || has("TIME")) return {ftDateTime, 0};
    // SQLite stores every integer in up to 64 bits; the names that say so
    // ask for a large integer field, the others get a 32-bit one unless
    // their values say otherwise (TSQLConnection::IntegersMayExceedDeclared).
    if (has("BIGINT") || has("INT8") || (has("BIG") && has("INT"))) return {ftLargeint, 0};
    if (has("INT")) return {ftInteger, 0};
    if (has("CHAR") || has("CLOB") || has("TEXT")) {
        const int size = DeclaredLength(t);
        return {ftString, size > 0 ? size : DefaultStringSize};
    }
    if (has("REAL") || has("FLOA") || has("DOUB") || has("NUM") || has("DEC")) return {ftFloat, 0};
    return {ftString, DefaultStringSize};
}

// The type a value stored without a declared type shows: an integer beyond
// 32 bits asks for a large integer field.
TSQLColumnType TypeFromStorage(int storage, int64_t integer) {
    switch (storage) {
    case SQLITE_INTEGER: return {integer == static_cast<int32_t>(integer) ? ftInteger : ftLargeint, 0};
    case SQLITE_FLOAT: return {ftFloat, 0};
    default: return {ftString, DefaultStringSize};
    }
}

class TSQLiteStatement final : public TSQLStatement {
public:
    // The engine keeps a closed connection until its last statement goes, so
    // a statement kept past its connection component still ends safely.
    TSQLiteStatement(const TSQLiteConnection& connection, sqlite3_stmt* statement)
        : FDb(connection.Handle()), FPrefix(connection.Name().empty() ? "" : connection.Name() + ": "),
          FStatement(statement) {}
    ~TSQLiteStatement() override { sqlite3_finalize(FStatement); }

    int ParamCount() const override { return sqlite3_bind_parameter_count(FStatement); }

    void Bind(int index, const Variant& value) override {
        // The engine binds only to a statement that is not running.
        if (FStepped) Reset();
        const int at = index + 1;
        int rc = SQLITE_OK;
        switch (value.VarType()) {
        case varEmpty:
        case varNull: rc = sqlite3_bind_null(FStatement, at); break;
        case varBoolean: rc = sqlite3_bind_int(FStatement, at, value.AsBoolean() ? 1 : 0); break;
        case varInteger: rc = sqlite3_bind_int64(FStatement, at, value.AsInteger()); break;
        case varDouble: rc = sqlite3_bind_double(FStatement, at, value.AsFloat()); break;
        case varString: {
            const std::string& text = value.StringRef();
            rc = sqlite3_bind_text64(FStatement, at, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        case varDate: {
            const std::string text = value.AsString();
            rc = sqlite3_bind_text64(FStatement, at, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        default: throw EDatabaseError("Cannot bind a value of this type to parameter " + std::to_string(at));
        }
        if (rc != SQLITE_OK) Fail();
    }

    void DoExecute() override {
        sqlite3_reset(FStatement);
        FPending = false;
        FStepped = true;
        const int rc = sqlite3_step(FStatement);
        if (rc == SQLITE_ROW) {
            FPending = true;
        } else if (rc != SQLITE_DONE) {
            Fail();
        }
        FChanges = sqlite3_changes64(FDb);
        FRunning = rc == SQLITE_ROW;
    }

    bool Fetch() override {
        if (FPending) {
            FPending = false;
            return true;
        }
        if (!FRunning) return false;
        const int rc = sqlite3_step(FStatement);
        if (rc == SQLITE_ROW) return true;
        FRunning = false;
        if (rc != SQLITE_DONE) Fail();
        return false;
    }

    void Reset() override {
        sqlite3_reset(FStatement);
        FPending = FRunning = FStepped = false;
    }

    int ColumnCount() const override { return sqlite3_column_count(FStatement); }

    std::string ColumnName(int column) const override {
        const char* name = sqlite3_column_name(FStatement, column);
        return name ? name : "";
    }

    TSQLColumnType ColumnType(int column) const override {
        if (FDeclared.empty()) {
            // Read once: every value read converts by it.
            FDeclared.resize(static_cast<size_t>(ColumnCount()));
            for (int i = 0; i < ColumnCount(); ++i) {
                const char* declared = sqlite3_column_decltype(FStatement, i);
                FDeclared[static_cast<size_t>(i)] = declared ? TypeFromDeclared(declared) : TSQLColumnType{ftUnknown, 0};
            }
        }
        const TSQLColumnType& type = FDeclared.at(static_cast<size_t>(column));
        if (type.DataType != ftUnknown) return type;
        // An expression: its value's own type, once a row shows one.
        if (FRunning) {
            const int storage = sqlite3_column_type(FStatement, column);
            // Read as a number only when it is one: a conversion would change the value's type.
            return TypeFromStorage(storage, storage == SQLITE_INTEGER ? sqlite3_column_int64(FStatement, column) : 0);
        }
        return {ftString, DefaultStringSize};
    }

    Variant ColumnValue(int column) const override {
        const int storage = sqlite3_column_type(FStatement, column);
        if (storage == SQLITE_NULL) return Variant::Null();
        Variant value = StoredValue(column, storage);
        switch (ColumnType(column).DataType) {
        case ftBoolean: return storage == SQLITE_TEXT ? value : Variant(value.AsInteger() != 0);
        case ftDateTime: return Convert(value, [](const Variant& v) { return Variant::FromDateTime(v.AsDateTime()); });
        case ftInteger:
        case ftLargeint: return storage == SQLITE_FLOAT ? value : Convert(value, [](const Variant& v) { return Variant(v.AsInteger()); });
        case ftFloat: return Convert(value, [](const Variant& v) { return Variant(v.AsFloat()); });
        case ftString: return storage == SQLITE_TEXT ? value : Variant(value.AsString());
        case ftUnknown: break;
        }
        return value;
    }

    int64_t RowsAffected() const override { return FChanges; }

private:
    Variant StoredValue(int column, int storage) const {
        switch (storage) {
        case SQLITE_INTEGER: return Variant(static_cast<int64_t>(sqlite3_column_int64(FStatement, column)));
        case SQLITE_FLOAT: return Variant(sqlite3_column_double(FStatement, column));
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStatement, column));
            const int size = sqlite3_column_bytes(FStatement, column);
            return Variant(std::string(text ? text : "", static_cast<size_t>(size)));
        }
        }
    }

    // A value stored against its column's type (SQLite keeps what it is
    // given) is handed over as it is rather than failing the whole read.
    template <class F>
    static Variant Convert(const Variant& value, F convert) {
        try {
            return convert(value);
        } catch (const Exception&) {
            return value;
        }
    }

    [[noreturn]] void Fail() {
        const std::string message = FPrefix + EngineMessage(FDb);
        // Ready for the next run: a failed statement must be reset first.
        sqlite3_reset(FStatement);
        FPending = FRunning = FStepped = false;
        throw EDatabaseError(message);
    }

    sqlite3* FDb;
    std::string FPrefix;  // the connection's name and ": ", if it has one
    sqlite3_stmt* FStatement;
    bool FPending = false;  // Execute read the first row already
    bool FRunning = false;  // rows may follow
    bool FStepped = false;  // run since the last reset
    mutable std::vector<TSQLColumnType> FDeclared;  // ftUnknown: no declared type
    int64_t FChanges = 0;
};

bool OnlyBlanks(const char* text) {
    while (*text)
        if (!std::isspace(static_cast<unsigned char>(*text++))) return false;
    return true;
}

} // namespace

// ---- connecting ------------------------------------------------------------

void TSQLiteConnection::SetDatabaseName(const std::string& value) {
    if (Connected()) DatabaseError("Cannot change the database of an open connection");
    FDatabaseName = value;
}

void TSQLiteConnection::SetBusyTimeout(int milliseconds) {
    FBusyTimeout = milliseconds;
    if (FHandle) sqlite3_busy_timeout(FHandle, milliseconds);
}

void TSQLiteConnection::DoConnect() {
    if (FDatabaseName.empty()) DatabaseError("Missing DatabaseName");
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(FDatabaseName.c_str(), &handle,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, nullptr);
    FHandle = handle;
    try {
        if (rc != SQLITE_OK) EngineError(FDatabaseName);
        sqlite3_busy_timeout(FHandle, FBusyTimeout);
        sqlite3_extended_result_codes(FHandle, 0);
        // Opening is lazy: read the schema now so a file that is no database
        // fails here, not at the first query.
        if (sqlite3_exec(FHandle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
            EngineError(FDatabaseName);
    } catch (...) {
        sqlite3_close_v2(FHandle);
        FHandle = nullptr;
        throw;
    }
}

void TSQLiteConnection::DoDisconnect() {
    // Statements still prepared keep the engine's connection until they go.
    sqlite3_close_v2(FHandle);
    FHandle = nullptr;
}

void TSQLiteConnection::DoStartTransaction() {
    CheckFileInPlace();
    // The write lock is taken at the start, waiting up to BusyTimeout for
    // it: a transaction that read first and then found another writer
    // before it would fail at once instead of waiting.
    // A read-only database has no write lock to take.
    ExecuteDirect(sqlite3_db_readonly(FHandle, "main") == 1 ? "BEGIN" : "BEGIN IMMEDIATE");
}

void TSQLiteConnection::DoCommit() {
    CheckFileInPlace();
    ExecuteDirect("COMMIT");
}

void TSQLiteConnection::CheckFileInPlace() const {
    // A file deleted or renamed under an open connection still takes
    // writes, into a file no one will open again.
    int moved = 0;
    if (sqlite3_file_control(FHandle, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved)
        DatabaseError("The database file " + FDatabaseName + " was moved or deleted: nothing was written");
}

void TSQLiteConnection::EngineError(const std::string& context) const {
    std::string message = FHandle ? EngineMessage(FHandle) : "out of memory";
    if (!context.empty()) message += " (" + context + ")";
    DatabaseError(message);
}

// ---- statements --------------------------------------------------------------

TSQLStatementPtr TSQLiteConnection::DoPrepare(const std::string& sql) {
    CheckConnected();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(FHandle, sql.c_str(), static_cast<int>(sql.size()) + 1, &statement, &tail) != SQLITE_OK)
        EngineError();
    if (!statement) DatabaseError("No statement in the SQL text");
    auto prepared = std::make_unique<TSQLiteStatement>(*this, statement);
    if (tail && !OnlyBlanks(tail)) DatabaseError("One statement expected in the SQL text");
    return prepared;
}

void TSQLiteConnection::DoExecuteDirect(const std::string& sql) {
    CheckConnected();
    char* error = nullptr;
    if (sqlite3_exec(FHandle, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = sqlite3_errcode(FHandle) == SQLITE_BUSY || !error ? EngineMessage(FHandle) : error;
        sqlite3_free(error);
        DatabaseError(message);
    }
}

std::vector<std::string> TSQLiteConnection::PrimaryKeyFields(const std::string& tableName) {
    TSQLStatementPtr statement = Prepare("SELECT name FROM pragma_table_info(?) WHERE pk > 0 ORDER BY pk");
    statement->Bind(0, Variant(tableName));
    statement->Execute();
    std::vector<std::string> fields;
    while (statement->Fetch()) fields.push_back(statement->ColumnValue(0).AsString());
    return fields;
}

std::string TSQLiteConnection::RowIdColumn(const std::string& tableName) {
    // A view answers "rowid" with NULLs rather than failing, so the catalogue
    // decides: only a table has one. A temporary relation hides a main one
    // of the same name.
    TSQLStatementPtr statement = Prepare(
        "SELECT type FROM sqlite_temp_schema WHERE name = ?1 COLLATE NOCASE"
        " UNION ALL SELECT type FROM sqlite_schema WHERE name = ?1 COLLATE NOCASE");
    statement->Bind(0, Variant(tableName));
    statement->Execute();
    const bool table = statement->Fetch() && statement->ColumnValue(0).AsString() == "table";
    return table ? "rowid" : "";
}

int64_t TSQLiteConnection::EstimatedRowCount(const std::string& tableName) {
    if (RowIdColumn(tableName).empty()) return -1;
    // Each bound alone is one step down the table's tree.
    const std::string table = QuoteIdentifier(tableName);
    TSQLStatementPtr statement =
        Prepare("SELECT (SELECT max(rowid) FROM " + table + ") - (SELECT min(rowid) FROM " + table + ") + 1");
    statement->Execute();
    const Variant span = statement->Fetch() ? statement->ColumnValue(0) : Variant::Null();
    return span.IsNull() ? 0 : span.AsInteger();
}

// ---- the dialect -------------------------------------------------------------

TSQLConnection::TCondition TSQLiteConnection::PrefixRange(const std::string& quotedColumn, const std::string& prefix,
                                                          bool caseInsensitive) const {
    const std::string column = caseInsensitive ? quotedColumn + " COLLATE NOCASE" : quotedColumn;
    // NOCASE compares the lower-case forms; the bound is made in that form.
    std::string low = caseInsensitive ? LowerCase(prefix) : prefix;
    std::string high = low;
    while (!high.empty() && static_cast<unsigned char>(high.back()) == 0xFF) high.pop_back();
    TCondition condition{column + " >= ?", {Variant(low)}};
    if (high.empty()) return condition;
    auto& last = reinterpret_cast<unsigned char&>(high.back());
    ++last;
    // An upper-case letter would compare as its lower-case form: step past
    // the letters instead (the caller checks the prefix exactly).
    if (caseInsensitive && last >= 'A' && last <= 'Z') last = '[';
    condition.Text += " AND " + column + " < ?";
    condition.Values.push_back(Variant(high));
    return condition;
}

std::string TSQLiteConnection::EqualsIgnoreCase(const std::string& quotedColumn) const {
    return quotedColumn + " COLLATE NOCASE = ?";
}

std::string TSQLiteConnection::OrderTerm(const std::string& quotedColumn, bool descending) const {
    // SQLite puts NULL first in ascending order already.
    return descending ? quotedColumn + " DESC" : quotedColumn;
}

std::string TSQLiteConnection::NullSafeEquals(const std::string& quotedColumn) const { return quotedColumn + " IS ?"; }

void TSQLiteConnection::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLiteConnection>();
    p.String("DatabaseName", &TSQLiteConnection::DatabaseName, &TSQLiteConnection::SetDatabaseName).Default("");
}

} // namespace host
