#include "host/data/SqlConnection.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/data/DataSet.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TSQLConnection, TComponent)

void TSQLStatement::BindAll(const std::vector<Variant>& values) {
    for (size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i), values[i]);
}

void TSQLStatement::Execute() {
    if (FLog) FLog->Note(FText);
    DoExecute();
}

// ---- the statement log -------------------------------------------------------

void TSQLStatementLog::Note(const std::string& text) {
    ++FCount;
    if (FActive) FTexts.push_back(text);
}

void TSQLStatementLog::Clear() {
    FCount = 0;
    FTexts.clear();
}

int TSQLStatementLog::CountContaining(const std::string& fragment) const {
    const std::string wanted = UpperCase(fragment);
    return static_cast<int>(std::count_if(FTexts.begin(), FTexts.end(), [&](const std::string& text) {
        return UpperCase(text).find(wanted) != std::string::npos;
    }));
}

// ---- statements ----------------------------------------------------------------

TSQLStatementPtr TSQLConnection::Prepare(const std::string& sql) {
    TSQLStatementPtr statement = DoPrepare(sql);
    statement->FLog = FLog;
    statement->FText = sql;
    return statement;
}

void TSQLConnection::ExecuteDirect(const std::string& sql) {
    FLog->Note(sql);
    DoExecuteDirect(sql);
}

// ---- connecting ------------------------------------------------------------

void TSQLConnection::SetConnected(bool value) {
    if (ComponentState().Contains(csLoading)) {
        FStreamedConnected = value;
        return;
    }
    if (value == FConnected) return;
    const TKeepAlive alive(this);
    if (value) {
        if (BeforeConnect) BeforeConnect(this);
        DoConnect();
        FConnected = true;
        FInTransaction = false;
        if (!FreePending() && AfterConnect) AfterConnect(this);
    } else {
        if (BeforeDisconnect) BeforeDisconnect(this);
        CloseClients();
        FConnected = false;
        FInTransaction = false;
        DoDisconnect();
        if (!FreePending() && AfterDisconnect) AfterDisconnect(this);
    }
}

void TSQLConnection::Loaded() {
    inherited::Loaded();
    if (FStreamedConnected) {
        FStreamedConnected = false;
        SetConnected(true);
    }
}

void TSQLConnection::Destroy() {
    Destroying();
    try {
        Close();
    } catch (...) {
        // A connection that cannot close cleanly still goes.
    }
    // A dataset that could not close must not keep a pointer to us.
    while (!FClients.empty()) UnregisterClient(FClients.back());
    inherited::Destroy();
}

void TSQLConnection::CloseClients() {
    // A dataset leaves the list while it closes; walk a copy.
    const std::vector<TDataSet*> clients = FClients;
    for (TDataSet* client : clients)
        if (std::find(FClients.begin(), FClients.end(), client) != FClients.end()) client->Close();
}

void TSQLConnection::RegisterClient(TDataSet* dataSet) {
    if (std::find(FClients.begin(), FClients.end(), dataSet) == FClients.end()) FClients.push_back(dataSet);
}

void TSQLConnection::UnregisterClient(TDataSet* dataSet) { std::erase(FClients, dataSet); }

void TSQLConnection::DatabaseError(const std::string& message) const {
    throw EDatabaseError(Name().empty() ? message : Name() + ": " + message);
}

void TSQLConnection::CheckConnected() const {
    if (!FConnected) DatabaseError("Database is not connected");
}

// ---- transactions ----------------------------------------------------------

void TSQLConnection::StartTransaction() {
    CheckConnected();
    if (FInTransaction) DatabaseError("A transaction is already active");
    DoStartTransaction();
    FInTransaction = true;
}

void TSQLConnection::Commit() {
    CheckConnected();
    if (!FInTransaction) DatabaseError("No transaction is active");
    DoCommit();
    FInTransaction = false;
}

void TSQLConnection::Rollback() {
    CheckConnected();
    if (!FInTransaction) DatabaseError("No transaction is active");
    // Whatever the engine says, the transaction is over for us.
    FInTransaction = false;
    DoRollback();
}

int64_t TSQLConnection::ExecSQL(const std::string& sql, const std::vector<Variant>& params) {
    TSQLStatementPtr statement = Prepare(sql);
    statement->BindAll(params);
    statement->Execute();
    return statement->RowsAffected();
}

// ---- the dialect -------------------------------------------------------------

std::string TSQLConnection::QuoteIdentifier(const std::string& name) const {
    // SQL text ends at a NUL byte: such a name could not be quoted whole.
    if (name.find('\0') != std::string::npos) DatabaseError("Invalid identifier: it holds a NUL character");
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string TSQLConnection::OrderTerm(const std::string& quotedColumn, bool descending) const {
    return descending ? quotedColumn + " DESC NULLS LAST" : quotedColumn + " ASC NULLS FIRST";
}

std::string TSQLConnection::NullSafeEquals(const std::string& quotedColumn) const {
    return quotedColumn + " IS NOT DISTINCT FROM ?";
}

std::string TSQLConnection::LimitClause(int64_t limit, int64_t offset) const {
    std::string text = " LIMIT " + std::to_string(limit);
    if (offset > 0) text += " OFFSET " + std::to_string(offset);
    return text;
}

void TSQLConnection::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLConnection>();
    // Read while loading, the connection opens in Loaded.
    p.Boolean("Connected", &TSQLConnection::Connected, &TSQLConnection::SetConnected).Default(false);
}

} // namespace host
