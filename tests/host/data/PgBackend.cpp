// The dataset contract on a table of the PostgreSQL test server, read
// through a window so small that every test crosses windows. Each dataset
// gets a schema of its own, dropped when its owner goes.

#include "ContractBackend.h"
#include "ContractFixture.h"
#include "SqlContractTable.h"
#include "PgTestServer.h"

#include "host/data/SqlTable.h"

namespace host::testing {

// Keeps a scratch schema for as long as its owner lives.
class TPgSchemaHolder : public TComponent {
    HOST_CLASS(TPgSchemaHolder, TComponent)
public:
    std::optional<TPgScratch> Scratch;

protected:
    explicit TPgSchemaHolder(TComponent* owner) : TComponent(owner) {}
};

HOST_IMPLEMENT_COMPONENT(TPgSchemaHolder, TComponent)

namespace {

class TPgBackend : public TContractBackend {
public:
    std::string Name() const override { return "Postgres"; }
    std::string Unavailable() const override { return PgConnInfo() ? std::string() : PgMissingMessage(); }
    bool Required() const override { return PgRequired(); }
    TDataSet* Make(TComponent* owner, const std::vector<TRowValues>& rows) override {
        // Made first, freed last: the schema outlives the connection.
        TPgSchemaHolder* holder = TPgSchemaHolder::Create(owner);
        TPostgresConnection* connection = TPostgresConnection::Create(owner);
        connection->SetConnectionString(*PgConnInfo());
        connection->Open();
        holder->Scratch.emplace(*connection);
        connection->ExecuteDirect(
            "CREATE TABLE customer (\"CustNo\" integer PRIMARY KEY, \"Company\" varchar(12),"
            " \"Rating\" double precision, \"Active\" boolean, \"Since\" timestamp);"
            "CREATE INDEX customer_company ON customer (\"Company\");"
            "CREATE INDEX customer_company_prefix ON customer (\"Company\" text_pattern_ops);"
            "CREATE INDEX customer_company_ci ON customer (lower(\"Company\" COLLATE \"C\") text_pattern_ops);");
        return FillContractTable(owner, connection, rows);
    }
};

INSTANTIATE_TEST_SUITE_P(Postgres, DataSetContract, ::testing::Values(std::make_shared<TPgBackend>()), BackendName());

} // namespace
} // namespace host::testing
