#include "tests/support/FaultyConnection.h"

#include "host/core/Exception.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TFaultyConnection, TSQLConnection)

struct TFaultyConnection::TState {
    TStorageFaults Faults;
    // Cleared when the connection goes: its statements then only pass on.
    const TFaultyConnection* Connection = nullptr;

    // Counts one step of the connection's current operation; true when it
    // is the one to fail.
    bool Strike() { return Connection && Faults.Strike(Connection->Operation()); }
    [[noreturn]] void Fail() const { Connection->Fail(); }
};

namespace {

class TFaultyStatement final : public TSQLStatement {
public:
    TFaultyStatement(TSQLStatementPtr real, std::shared_ptr<TFaultyConnection::TState> state)
        : FReal(std::move(real)), FState(std::move(state)) {}

    int ParamCount() const override { return FReal->ParamCount(); }
    void Bind(int index, const Variant& value) override { FReal->Bind(index, value); }
    void DoExecute() override {
        Step();
        FReal->Execute();
    }
    bool Fetch() override {
        Step();
        return FReal->Fetch();
    }
    void Reset() override { FReal->Reset(); }
    int ColumnCount() const override { return FReal->ColumnCount(); }
    std::string ColumnName(int column) const override { return FReal->ColumnName(column); }
    TSQLColumnType ColumnType(int column) const override { return FReal->ColumnType(column); }
    Variant ColumnValue(int column) const override { return FReal->ColumnValue(column); }
    int64_t RowsAffected() const override { return FReal->RowsAffected(); }

private:
    void Step() {
        if (!FState->Strike()) return;
        // An engine leaves a failed statement reset, its read given up.
        FReal->Reset();
        FState->Fail();
    }

    TSQLStatementPtr FReal;
    std::shared_ptr<TFaultyConnection::TState> FState;
};

} // namespace

TFaultyConnection::TFaultyConnection(TComponent* owner)
    : TSQLConnection(owner), FState(std::make_shared<TState>()) {
    FState->Connection = this;
}

void TFaultyConnection::Destroy() {
    Destroying();
    try {
        Close();
    } catch (...) {
        // A connection that cannot close cleanly still goes.
    }
    FState->Connection = nullptr;
    if (FTarget) FTarget->RemoveFreeNotification(this);
    FTarget = nullptr;
    inherited::Destroy();
}

void TFaultyConnection::SetTarget(TSQLConnection* value) {
    if (value == FTarget) return;
    if (Connected()) DatabaseError("Cannot change the target of an open connection");
    if (value == this) DatabaseError("A connection cannot be its own target");
    if (FTarget) FTarget->RemoveFreeNotification(this);
    FTarget = value;
    if (FTarget) FTarget->FreeNotification(this);
}

void TFaultyConnection::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation != opRemove || component != FTarget) return;
    // Nothing is left to hand the work to: the datasets close first.
    try {
        Close();
    } catch (...) {
        // The target is going whatever its datasets say.
    }
    FTarget = nullptr;
}

TSQLConnection& TFaultyConnection::Real() const {
    if (!FTarget) DatabaseError("Missing Target");
    return *FTarget;
}

void TFaultyConnection::FailAt(int n) { FState->Faults.FailAt(n); }
int TFaultyConnection::Operations() const { return FState->Faults.Operations(); }
bool TFaultyConnection::Failed() const { return FState->Faults.Failed(); }
TStorageOperation TFaultyConnection::FailedOperation() const { return FState->Faults.FailedOperation(); }

void TFaultyConnection::Step() {
    if (FState->Strike()) Fail();
}

void TFaultyConnection::Fail() const {
    // The target is made to fail a statement of its own too: an engine that
    // gives up the open transaction on any failure (PostgreSQL) then does so
    // here as well, and what follows meets the engine's real state.
    if (FTarget && FTarget->Connected() && FTarget->InTransaction()) {
        try {
            FTarget->ExecuteDirect("SELECT 1 FROM " + FTarget->QuoteIdentifier("no table: a failed step"));
        } catch (const Exception&) {
            // Expected: it is the failure.
        }
    }
    DatabaseError(FState->Faults.Message());
}

// ---- connecting and transactions ---------------------------------------------

void TFaultyConnection::DoConnect() {
    TSQLConnection& real = Real();
    Step();
    real.Open();
}

void TFaultyConnection::DoStartTransaction() {
    Step();
    Real().StartTransaction();
}

void TFaultyConnection::DoCommit() {
    Step();
    Real().Commit();
}

void TFaultyConnection::DoRollback() {
    // Never fails of itself: it only ever runs after a failure.
    if (Real().InTransaction()) Real().Rollback();
}

// ---- statements --------------------------------------------------------------

TSQLStatementPtr TFaultyConnection::DoPrepare(const std::string& sql) {
    CheckConnected();
    Step();
    return std::make_unique<TFaultyStatement>(Real().Prepare(sql), FState);
}

void TFaultyConnection::DoExecuteDirect(const std::string& sql) {
    CheckConnected();
    Step();
    Real().ExecuteDirect(sql);
}

std::vector<std::string> TFaultyConnection::PrimaryKeyFields(const std::string& tableName) {
    CheckConnected();
    Step();
    return Real().PrimaryKeyFields(tableName);
}

// ---- the dialect -------------------------------------------------------------

std::string TFaultyConnection::QuoteIdentifier(const std::string& name) const { return Real().QuoteIdentifier(name); }

std::string TFaultyConnection::OrderTerm(const std::string& quotedColumn, bool descending) const {
    return Real().OrderTerm(quotedColumn, descending);
}

std::string TFaultyConnection::NullSafeEquals(const std::string& quotedColumn) const {
    return Real().NullSafeEquals(quotedColumn);
}

TSQLConnection::TCondition TFaultyConnection::PrefixRange(const std::string& quotedColumn, const std::string& prefix,
                                                          bool caseInsensitive) const {
    return Real().PrefixRange(quotedColumn, prefix, caseInsensitive);
}

bool TFaultyConnection::BinaryTextOrder() const { return Real().BinaryTextOrder(); }

std::string TFaultyConnection::EqualsIgnoreCase(const std::string& quotedColumn) const {
    return Real().EqualsIgnoreCase(quotedColumn);
}

std::string TFaultyConnection::LimitClause(int64_t limit, int64_t offset) const {
    return Real().LimitClause(limit, offset);
}

std::string TFaultyConnection::RowIdColumn(const std::string& tableName) {
    CheckConnected();
    Step();
    return Real().RowIdColumn(tableName);
}

bool TFaultyConnection::IntegersMayExceedDeclared() const { return Real().IntegersMayExceedDeclared(); }

} // namespace host
