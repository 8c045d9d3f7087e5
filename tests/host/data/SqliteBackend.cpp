// The dataset contract on a table of an SQLite database, read through a
// window so small that every test crosses windows.

#include "ContractBackend.h"
#include "ContractFixture.h"
#include "SqlContractTable.h"

#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"

namespace host::testing {
namespace {

class TSqliteBackend : public TContractBackend {
public:
    std::string Name() const override { return "Sqlite"; }
    TDataSet* Make(TComponent* owner, const std::vector<TRowValues>& rows) override {
        TSQLiteConnection* connection = TSQLiteConnection::Create(owner);
        connection->SetDatabaseName(":memory:");
        connection->Open();
        connection->ExecuteDirect(
            "CREATE TABLE customer (CustNo INTEGER PRIMARY KEY, Company VARCHAR(12), Rating REAL,"
            " Active BOOLEAN, Since DATETIME);"
            "CREATE INDEX customer_company ON customer (Company);"
            "CREATE INDEX customer_company_nocase ON customer (Company COLLATE NOCASE);");
        return FillContractTable(owner, connection, rows);
    }
};

INSTANTIATE_TEST_SUITE_P(Sqlite, DataSetContract, ::testing::Values(std::make_shared<TSqliteBackend>()), BackendName());

} // namespace
} // namespace host::testing
