#include "host/data/PostgresConnection.h"

#include "host/core/Exception.h"
#include "host/core/Object.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/core/Utf8.h"
#include "host/data/PgClient.h"
#include "host/data/PgStatement.h"
#include "host/data/PgValues.h"

#include <optional>

namespace host {

HOST_IMPLEMENT_COMPONENT(TPostgresConnection, TSQLConnection)

namespace {

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The length of the UTF-8 character that ends Text (1 for a stray byte).
size_t LastCharLength(const std::string& text) { return text.size() - Utf8Prev(text, text.size()); }

uint32_t DecodeChar(const std::string& bytes) {
    const auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])); };
    switch (bytes.size()) {
    case 2: return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3: return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4: return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default: return b(0);
    }
}

// The least valid UTF-8 text above every text that begins with Prefix, in
// byte order: its last character's successor. Nothing when no such text
// exists (an empty prefix, or one of nothing but the highest character).
std::optional<std::string> PrefixUpperBound(std::string prefix) {
    while (!prefix.empty()) {
        const size_t length = LastCharLength(prefix);
        const std::string last = prefix.substr(prefix.size() - length);
        prefix.resize(prefix.size() - length);
        uint32_t code = length == 1 ? static_cast<unsigned char>(last[0]) : DecodeChar(last);
        if (length == 1 && code >= 0x80) continue;  // a stray byte: bound by what precedes it
        ++code;
        if (code >= 0xD800 && code <= 0xDFFF) code = 0xE000;
        if (code > 0x10FFFF) continue;
        AppendUtf8(prefix, code);
        return prefix;
    }
    return std::nullopt;
}

} // namespace

TPostgresConnection::TPostgresConnection(TComponent* owner)
    : TSQLConnection(owner), FLink(std::make_shared<pg::TPgLink>()) {
    FLink->Connection = this;
}

void TPostgresConnection::Destroy() {
    inherited::Destroy();
    // Statements kept by others now answer "not connected".
    FLink->Connection = nullptr;
}

void TPostgresConnection::SetPort(int value) {
    if (value < 0 || value > 65535) DatabaseError("Invalid port number " + std::to_string(value));
    FPort = value;
}

void TPostgresConnection::DoConnect() {
    const pg::TPgKeywords keywords = {
        {"host", FHostName},
        {"port", FPort ? std::to_string(FPort) : std::string()},
        {"dbname", FDatabaseName},
        {"user", FUserName},
        {"password", FPassword},
        // Text passes through as UTF-8 bytes whatever the server's locale.
        {"client_encoding", "UTF8"},
    };
    std::unique_ptr<pg::TPgSession> session = pg::TPgSession::Connect(FConnectionString, keywords);
    // Dates as the value conversions read them.
    session->Exec("SET DateStyle TO ISO, YMD");
    FPrepared.clear();
    FSession = std::move(session);
    ++FLink->Session;
}

void TPostgresConnection::DoDisconnect() {
    FPrepared.clear();
    FStatementNumber = 0;
    FSession.reset();
    ++FLink->Session;
}

pg::TPgSession& TPostgresConnection::Session() {
    if (!FSession) DatabaseError("Database is not connected");
    if (!FSession->Alive()) {
        if (InTransaction())
            DatabaseError("Connection to the database server was lost: the transaction was rolled back");
        Reconnect();
    }
    return *FSession;
}

void TPostgresConnection::Reconnect() {
    // The dead session stays until a new one is made, so a server still
    // starting fails this statement and the next one tries again.
    const TKeepAlive alive(this);
    DoConnect();
    if (!FreePending() && AfterConnect) AfterConnect(this);
}

void TPostgresConnection::DoRollback() {
    if (FSession && !FSession->Alive()) return;
    inherited::DoRollback();
}

int TPostgresConnection::BackendPid() const { return FSession ? FSession->BackendPid() : 0; }

std::shared_ptr<const pg::TPgPrepared> TPostgresConnection::Prepared(const std::string& sql, int paramCount) {
    // First, so a lost session is replaced before its statements are found.
    pg::TPgSession& session = Session();
    if (auto found = FPrepared.find(sql); found != FPrepared.end()) return found->second;
    if (static_cast<int>(FPrepared.size()) >= KeptStatements) DropUnusedStatements();
    auto prepared = std::make_shared<pg::TPgPrepared>();
    prepared->Name = "veskar_" + std::to_string(++FStatementNumber);
    prepared->Session = FLink->Session;
    session.Prepare(prepared->Name, sql, 0);
    const pg::TPgResult description = session.Describe(prepared->Name);
    prepared->ParamCount = description.Params();
    // The server counts the parameters it found; a "?" it reads otherwise
    // (inside an operator, say) leaves a number we must not bind past.
    if (prepared->ParamCount != paramCount)
        DatabaseError("The statement has " + std::to_string(prepared->ParamCount) + " parameters where " +
                      std::to_string(paramCount) + " were written");
    for (int column = 0; column < description.Columns(); ++column) {
        const Oid type = description.ColumnType(column);
        prepared->Columns.push_back(
            {description.ColumnName(column), type, pg::FieldTypeOf(type, description.ColumnModifier(column))});
    }
    FPrepared.emplace(sql, prepared);
    return prepared;
}

void TPostgresConnection::DropUnusedStatements() {
    std::string sql;
    for (auto it = FPrepared.begin(); it != FPrepared.end();) {
        if (it->second.use_count() == 1) {
            sql += "DEALLOCATE " + QuoteIdentifier(it->second->Name) + ";";
            it = FPrepared.erase(it);
        } else {
            ++it;
        }
    }
    if (sql.empty()) return;
    try {
        FSession->Exec(sql);
    } catch (const EDatabaseError&) {
        // In a failed transaction they stay on the server until it ends the
        // session; their names are never given again.
    }
}

TSQLStatementPtr TPostgresConnection::DoPrepare(const std::string& sql) {
    CheckConnected();
    int count = 0;
    std::string translated = pg::TranslatePlaceholders(sql, count);
    std::shared_ptr<const pg::TPgPrepared> prepared = Prepared(translated, count);
    return std::make_unique<pg::TPgStatement>(FLink, std::move(translated), std::move(prepared));
}

void TPostgresConnection::DoCommit() {
    // A transaction in which a statement failed is over on the server: it
    // answers COMMIT with a rollback, not an error. Its work is lost, and
    // saying nothing would pass that off as saved.
    if (Session().Exec("COMMIT").CommandStatus() == "ROLLBACK")
        DatabaseError("The transaction was rolled back: a statement in it had failed");
}

void TPostgresConnection::DoExecuteDirect(const std::string& sql) {
    CheckConnected();
    Session().Exec(sql);
}

TSQLConnection::TCondition TPostgresConnection::PrefixRange(const std::string& quotedColumn,
                                                            const std::string& prefix,
                                                            bool caseInsensitive) const {
    // Byte-wise operators, so a text_pattern_ops index serves them whatever
    // the database's collation; lower() under "C" folds ASCII letters only,
    // as the dataset's comparison does.
    const std::string column = caseInsensitive ? "lower(" + quotedColumn + " COLLATE \"C\")" : quotedColumn;
    const std::string low = caseInsensitive ? AsciiLower(prefix) : prefix;
    TCondition condition{column + " ~>=~ ?", {Variant(low)}};
    if (std::optional<std::string> high = PrefixUpperBound(low)) {
        condition.Text += " AND " + column + " ~<~ ?";
        condition.Values.emplace_back(std::move(*high));
    }
    return condition;
}

std::string TPostgresConnection::EqualsIgnoreCase(const std::string& quotedColumn) const {
    return "lower(" + quotedColumn + " COLLATE \"C\") = lower(CAST(? AS text) COLLATE \"C\")";
}

std::vector<std::string> TPostgresConnection::PrimaryKeyFields(const std::string& tableName) {
    TSQLStatementPtr statement = Prepare(
        "SELECT a.attname FROM pg_index i"
        " JOIN pg_attribute a ON a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey)"
        " WHERE i.indrelid = to_regclass(?) AND i.indisprimary"
        " ORDER BY array_position(i.indkey::int2[], a.attnum)");
    // The name goes in quoted, so it is looked up as one identifier.
    statement->Bind(0, Variant(QuoteIdentifier(tableName)));
    statement->Execute();
    std::vector<std::string> fields;
    while (statement->Fetch()) fields.push_back(statement->ColumnValue(0).AsString());
    return fields;
}

int64_t TPostgresConnection::EstimatedRowCount(const std::string& tableName) {
    TSQLStatementPtr statement = Prepare("SELECT reltuples::bigint FROM pg_class WHERE oid = to_regclass(?)");
    statement->Bind(0, Variant(QuoteIdentifier(tableName)));
    statement->Execute();
    const Variant tuples = statement->Fetch() ? statement->ColumnValue(0) : Variant::Null();
    statement->Reset();
    // Never analysed, a table reads -1 (or 0 on an older server).
    return tuples.IsNull() || tuples.AsInteger() <= 0 ? -1 : tuples.AsInteger();
}

void TPostgresConnection::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TPostgresConnection>();
    p.String("ConnectionString", &TPostgresConnection::ConnectionString, &TPostgresConnection::SetConnectionString).Default("");
    p.String("DatabaseName", &TPostgresConnection::DatabaseName, &TPostgresConnection::SetDatabaseName).Default("");
    p.String("HostName", &TPostgresConnection::HostName, &TPostgresConnection::SetHostName).Default("");
    p.String("Password", &TPostgresConnection::Password, &TPostgresConnection::SetPassword).Default("");
    p.Integer("Port", &TPostgresConnection::Port, &TPostgresConnection::SetPort).Default(0);
    p.String("UserName", &TPostgresConnection::UserName, &TPostgresConnection::SetUserName).Default("");
}

} // namespace host
