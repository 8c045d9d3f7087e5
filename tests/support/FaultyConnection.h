#pragma once
// TFaultyConnection: a connection that hands everything to another one, its
// Target, and can be told to fail its Nth step at the engine's boundary:
// connecting, preparing a statement, running one, reading one of its rows,
// running SQL text, starting or committing a transaction. The failing step
// raises EDatabaseError "<Name>: the storage failed to <verb>", the verb
// naming the storage operation its dataset was running (TSQLOperationScope),
// and leaves the statement reset and, on an engine that gives up a
// transaction on any failure, the open transaction given up, as an engine's
// error would: the datasets' own error paths run for real, rollbacks and all.
//
// Several may share one target, one for each dataset, so that each
// dataset's storage can fail in turn. Connecting opens the target;
// disconnecting leaves it open for whoever else uses it.

#include "host/data/SqlConnection.h"
#include "tests/support/StorageFaults.h"

#include <memory>
#include <string>
#include <vector>

namespace host {

class TFaultyConnection : public TSQLConnection {
    HOST_CLASS(TFaultyConnection, TSQLConnection)
public:
    TSQLConnection* Target() const { return FTarget; }
    // Raises while connected: close first.
    void SetTarget(TSQLConnection* value);

    // The Nth step from now (1 the next one) fails; 0 fails none.
    void FailAt(int n);
    // Steps counted since FailAt.
    int Operations() const;
    // The failure asked for has happened.
    bool Failed() const;
    // The operation the failed step belonged to, once one has failed.
    TStorageOperation FailedOperation() const;

    TSQLStatementPtr DoPrepare(const std::string& sql) override;
    void DoExecuteDirect(const std::string& sql) override;
    std::vector<std::string> PrimaryKeyFields(const std::string& tableName) override;

    // The target's dialect.
    std::string QuoteIdentifier(const std::string& name) const override;
    std::string OrderTerm(const std::string& quotedColumn, bool descending) const override;
    std::string NullSafeEquals(const std::string& quotedColumn) const override;
    TCondition PrefixRange(const std::string& quotedColumn, const std::string& prefix,
                           bool caseInsensitive) const override;
    bool BinaryTextOrder() const override;
    std::string EqualsIgnoreCase(const std::string& quotedColumn) const override;
    std::string LimitClause(int64_t limit, int64_t offset = 0) const override;
    std::string RowIdColumn(const std::string& tableName) override;
    bool IntegersMayExceedDeclared() const override;

    // Shared with the statements it prepared, which may outlive it.
    struct TState;

protected:
    explicit TFaultyConnection(TComponent* owner);
    void Destroy() override;
    void Notification(TComponent* component, TOperation operation) override;

    void DoConnect() override;
    void DoDisconnect() override {}
    void DoStartTransaction() override;
    void DoCommit() override;
    void DoRollback() override;

private:
    // Raises "Missing Target" without one.
    TSQLConnection& Real() const;
    // Counts one step; raises when it is the one to fail.
    void Step();
    // Raises the failure, as the engine would.
    [[noreturn]] void Fail() const;

    TSQLConnection* FTarget = nullptr;
    std::shared_ptr<TState> FState;
};

} // namespace host
