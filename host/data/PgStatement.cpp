#include "host/data/PgStatement.h"

#include "host/core/Exception.h"
#include "host/data/PgValues.h"
#include "host/data/PostgresConnection.h"

namespace host::pg {

namespace {

bool IsIdentChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Index just past the quoted text starting at Pos (the opening quote);
// a doubled quote stays inside, and so does a backslash-escaped one in an
// E'...' string.
size_t SkipQuoted(const std::string& sql, size_t pos, char quote, bool backslashes) {
    for (++pos; pos < sql.size(); ++pos) {
        if (backslashes && sql[pos] == '\\') {
            ++pos;
        } else if (sql[pos] == quote) {
            if (pos + 1 < sql.size() && sql[pos + 1] == quote) ++pos;
            else return pos + 1;
        }
    }
    return sql.size();
}

size_t SkipBlockComment(const std::string& sql, size_t pos) {
    int depth = 0;
    while (pos + 1 < sql.size()) {
        if (sql[pos] == '/' && sql[pos + 1] == '*') {
            ++depth;
            pos += 2;
        } else if (sql[pos] == '*' && sql[pos + 1] == '/') {
            pos += 2;
            if (--depth == 0) return pos;
        } else {
            ++pos;
        }
    }
    return sql.size();
}

// $tag$ ... $tag$ starting at Pos; npos when Pos is no dollar quote (a
// parameter like $1 or a dollar inside a name).
size_t SkipDollarQuoted(const std::string& sql, size_t pos) {
    if (pos > 0 && IsIdentChar(sql[pos - 1])) return std::string::npos;
    size_t end = pos + 1;
    while (end < sql.size() && IsIdentChar(sql[end]) && !(end == pos + 1 && sql[end] >= '0' && sql[end] <= '9'))
        ++end;
    if (end >= sql.size() || sql[end] != '$') return std::string::npos;
    const std::string tag = sql.substr(pos, end - pos + 1);
    size_t close = sql.find(tag, end + 1);
    return close == std::string::npos ? sql.size() : close + tag.size();
}

} // namespace

std::string TranslatePlaceholders(const std::string& sql, int& count) {
    count = 0;
    std::string out;
    out.reserve(sql.size() + 8);
    size_t pos = 0;
    while (pos < sql.size()) {
        const char c = sql[pos];
        size_t next = pos + 1;
        if (c == '\'') {
            const bool escapes = pos > 0 && (sql[pos - 1] == 'E' || sql[pos - 1] == 'e') &&
                                 (pos < 2 || !IsIdentChar(sql[pos - 2]));
            next = SkipQuoted(sql, pos, '\'', escapes);
        } else if (c == '"') {
            next = SkipQuoted(sql, pos, '"', false);
        } else if (c == '-' && pos + 1 < sql.size() && sql[pos + 1] == '-') {
            next = sql.find('\n', pos);
            if (next == std::string::npos) next = sql.size();
        } else if (c == '/' && pos + 1 < sql.size() && sql[pos + 1] == '*') {
            next = SkipBlockComment(sql, pos);
        } else if (c == '$') {
            const size_t end = SkipDollarQuoted(sql, pos);
            if (end != std::string::npos) next = end;
        } else if (c == '?') {
            out += '$';
            out += std::to_string(++count);
            pos = next;
            continue;
        }
        out.append(sql, pos, next - pos);
        pos = next;
    }
    return out;
}

TPgStatement::TPgStatement(std::shared_ptr<TPgLink> link, std::string sql, std::shared_ptr<const TPgPrepared> prepared)
    : FLink(std::move(link)), FSql(std::move(sql)), FPrepared(std::move(prepared)),
      FPlanEachRun(FSql.find("~>=~") != std::string::npos), FParams(static_cast<size_t>(FPrepared->ParamCount)) {}

TPostgresConnection& TPgStatement::Connection() const {
    TPostgresConnection* connection = FLink->Connection;
    if (!connection || !connection->Connected()) throw EDatabaseError("Database is not connected");
    return *connection;
}

void TPgStatement::Bind(int index, const Variant& value) {
    if (index < 0 || index >= ParamCount())
        throw EDatabaseError("Parameter index " + std::to_string(index) + " out of range");
    FParams[static_cast<size_t>(index)] = value;
}

TPgStatement::~TPgStatement() { Reset(); }

TPgSession* TPgStatement::ReadingSession() const {
    if (!FReading || !FLink->Connection || FLink->Session != FReadSession || !FLink->Connection->Connected())
        return nullptr;
    return &FLink->Connection->Session();
}

void TPgStatement::DoExecute() {
    TPostgresConnection& connection = Connection();
    // A statement made before a reconnect (this one's included: a lost
    // session is replaced here) prepares itself again.
    connection.Session();
    if (FPrepared->Session != FLink->Session) FPrepared = connection.Prepared(FSql, ParamCount());
    TPgParams params;
    for (const Variant& value : FParams) {
        std::optional<std::string> text = ParamText(value);
        if (text) params.AddText(std::move(*text));
        else params.AddNull();
    }
    Reset();
    if (FSmall && !FPlanEachRun) {
        FWhole = connection.Session().ExecPrepared(FPrepared->Name, params);
        FHasResult = true;
        FWholeNext = 0;
        FRowsAffected = FWhole.Rows() > 0 ? 0 : FWhole.AffectedRows();
        return;
    }
    TPgResult first = FPlanEachRun ? connection.Session().StartRowsOfText(FSql, params, [this] { TakeRest(); })
                                   : connection.Session().StartRows(FPrepared->Name, params, [this] { TakeRest(); });
    FHasResult = true;
    if (first.IsRow()) {
        FFirst = std::move(first);
        FReading = true;
        FReadSession = FLink->Session;
        FRowsAffected = 0;
    } else {
        FRowsAffected = first.AffectedRows();
    }
}

void TPgStatement::TakeRest() noexcept {
    TPgSession* session = ReadingSession();
    FReading = false;
    if (!session) return;
    try {
        for (;;) {
            TPgResult next = session->NextRow();
            if (!next.IsRow()) break;
            FRest.push_back(std::move(next));
        }
    } catch (const Exception& e) {
        FRestError = e.Message();
    } catch (...) {
        FRestError = "Out of memory while reading rows";
    }
}

bool TPgStatement::Fetch() {
    FRow = TPgResult();
    FRowAt = 0;
    if (!FHasResult) return false;
    if (FWhole) {
        if (FWholeNext >= FWhole.Rows()) {
            FWhole = TPgResult();
            FHasResult = false;
            return false;
        }
        // The row is read in place: the current row shares the result.
        FRowAt = FWholeNext++;
        return true;
    }
    if (FFirst) {
        FRow = std::move(FFirst);
        return true;
    }
    if (!FRest.empty()) {
        FRow = std::move(FRest.front());
        FRest.pop_front();
        return true;
    }
    if (!FRestError.empty()) {
        const std::string message = std::move(FRestError);
        FRestError.clear();
        FHasResult = false;
        throw EDatabaseError(message);
    }
    if (!FReading) return false;
    TPgSession* session = ReadingSession();
    if (!session) {
        FReading = false;
        throw EDatabaseError("Database is not connected");
    }
    TPgResult next;
    try {
        next = session->NextRow();
    } catch (...) {
        FReading = false;
        throw;
    }
    if (next.IsRow()) {
        FRow = std::move(next);
        return true;
    }
    FReading = false;
    return false;
}

void TPgStatement::Reset() {
    if (TPgSession* session = ReadingSession()) session->AbandonRows();
    FReading = false;
    FRow = TPgResult();
    FRowAt = 0;
    FWhole = TPgResult();
    FFirst = TPgResult();
    FRest.clear();
    FRestError.clear();
    FHasResult = false;
}

const TPgColumn& TPgStatement::Column(int column) const {
    if (column < 0 || column >= ColumnCount())
        throw EDatabaseError("Column index " + std::to_string(column) + " out of range");
    return FPrepared->Columns[static_cast<size_t>(column)];
}

std::string TPgStatement::ColumnName(int column) const { return Column(column).Name; }

TSQLColumnType TPgStatement::ColumnType(int column) const { return Column(column).FieldType; }

Variant TPgStatement::ColumnValue(int column) const {
    const TPgColumn& info = Column(column);
    const TPgResult& row = FWhole ? FWhole : FRow;
    if (!row || row.Rows() <= FRowAt || (FWhole && FWholeNext == 0)) throw EDatabaseError("No current row");
    if (row.IsNull(FRowAt, column)) return Variant::Null();
    return ValueFromText(info.Type, row.Text(FRowAt, column));
}

} // namespace host::pg
