// The demo's orders in its database, on SQLite and on the PostgreSQL test
// server: every way of adding an order gets its number from the database
// once posted, from 1001 on, and the orders and the numbering are there
// again after a restart.

#include "examples/OrderStore.h"
#include "host/core/Exception.h"
#include "tests/host/data/PgTestServer.h"
#include "tests/host/data/SqlTestDatabase.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace host;
using namespace demo;
using host::testing::TSqlTestDatabase;

class OrderStoreTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "Postgres") VESKAR_NEED_PG();
        Database.emplace(GetParam() == "Postgres");
    }
    // The program starting: a connection, the table made if missing, the
    // orders open.
    TSQLTable* Start() {
        Owner.reset(TComponent::Create(nullptr));
        TSQLConnection* connection = Database->Connect(Owner.get());
        CreateOrderTable(connection);
        return OpenOrders(Owner.get(), connection);
    }
    static void Type(TDataSet* orders, const char* customer) { orders->FieldByName("CustNo")->SetValue(customer); }
    std::vector<std::string> OnFile() {
        return Database->Query("SELECT \"OrderNo\", \"CustNo\" FROM orders ORDER BY \"OrderNo\"");
    }

    std::optional<TSqlTestDatabase> Database;
    Owned<TComponent> Owner;
};

TEST_P(OrderStoreTest, EveryNewOrderIsNumberedByTheDatabaseAndKept) {
    TSQLTable* orders = Start();
    BeginNewOrder(orders);
    EXPECT_EQ(orders->State(), dsInsert);
    EXPECT_EQ(orders->RecordCount(), 0) << "an untouched new order is not stored";
    EXPECT_TRUE(orders->FieldByName("OrderNo")->IsNull());
    EXPECT_THROW(orders->FieldByName("OrderNo")->SetValue(7), EDatabaseError) << "the number is the database's";
    orders->Close();
    orders->Open();
    EXPECT_TRUE(orders->FieldByName("OrderNo")->ReadOnly()) << "opened again";

    BeginNewOrder(orders);
    Type(orders, "AB1221");
    BeginNewOrder(orders);  // Ctrl+N: the order typed is posted first
    Type(orders, "CE1354");
    orders->Post();
    EXPECT_EQ(orders->FieldByName("OrderNo")->Value(), Variant(1002)) << "shown once posted";
    orders->First();
    orders->Insert();  // the grid's Insert and the navigator's +
    Type(orders, "FR1380");
    orders->Post();
    EXPECT_EQ(orders->FieldByName("OrderNo")->Value(), Variant(1003));
    orders->Delete();

    // Started again: the table is kept, and no number is given twice.
    orders = Start();
    EXPECT_EQ(orders->RecordCount(), 2);
    BeginNewOrder(orders);
    Type(orders, "CD1231");
    orders->Post();
    EXPECT_EQ(OnFile(), (std::vector<std::string>{"1001|AB1221", "1002|CE1354", "1004|CD1231"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, OrderStoreTest, ::testing::Values("Sqlite", "Postgres"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
