#pragma once
// The contract's customer table on an SQL engine, once the engine's own
// CREATE statements have made it: the rows inserted with bound values and a
// table dataset over it, with windows of two rows so every test crosses them.

#include "ContractBackend.h"

#include "host/data/SqlConnection.h"
#include "host/data/SqlTable.h"

#include <vector>

namespace host::testing {

inline TSQLTable* FillContractTable(TComponent* owner, TSQLConnection* connection,
                                    const std::vector<TRowValues>& rows) {
    for (const TRowValues& row : rows)
        connection->ExecSQL("INSERT INTO customer VALUES (?, ?, ?, ?, ?)", row);
    TSQLTable* table = TSQLTable::Create(owner);
    table->SetConnection(connection);
    table->SetTableName("customer");
    table->SetWindowSize(2);
    return table;
}

} // namespace host::testing
