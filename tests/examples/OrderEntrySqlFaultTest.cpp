// The demo's order entry on its SQLite database (made and filled as the demo
// makes it, 200,000 customers) whose storage fails in the middle of work:
// the customers and the parts are each read through a connection that fails
// its Nth step, for every N until the clerk's road (tests/examples/
// ClerksRoad.h) no longer reaches the failure. Each time the error reaches
// the clerk once (a failed search that only positions a lookup table is
// kept quiet), what the clerk typed stays, the database is as it was but
// for the order the clerk saved (the orders are kept there), the controls
// hear again, the lookup form is gone, nothing is saved that the
// clerk was not told about, and the tables work on.

#include "examples/OrderData.h"
#include "examples/OrderEntry.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Screen.h"
#include "tests/examples/ClerksRoad.h"
#include "tests/support/FaultyConnection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace host;
using namespace demo;
using namespace demo::testing;

class OrderEntrySqlFaultTest : public ::testing::Test {
protected:
    // One database for the suite: filling it is the slow part.
    static void SetUpTestSuite() {
        File = (std::filesystem::temp_directory_path() / ("veskar-orders-" + std::to_string(getpid()) + ".db")).string();
        Earlier = OrderDatabase();
        SetOrderDatabase({File, ""});
        Owned<TComponent> owner(TComponent::Create(nullptr));
        OpenOrderDatabase(owner.get());
    }
    static void TearDownTestSuite() {
        SetOrderDatabase(Earlier);
        std::filesystem::remove(File);
    }
    void SetUp() override { RegisterOrderEntryClasses(); }
    void TearDown() override { Close(); }

    // The demo's data module, each lookup table read through a faulty
    // connection of its own ("CustomersStorage", "PartsStorage") with a
    // small window, an order saved earlier and the numbering after it, and
    // the demo's form.
    void Open() {
        HeadlessBackend()->ClearShown();
        Execute("DELETE FROM orders");
        Execute("UPDATE sqlite_sequence SET seq = 1000 WHERE name = 'orders'");
        Execute("INSERT INTO orders VALUES (1000, 'AB1221', 'Abbey Road Divers', 'Avonmouth', 'England', '900')");
        Data.reset(MakeSqlData([&](TSQLConnection* database, const char* table) -> TSQLConnection* {
            TFaultyConnection* storage = TFaultyConnection::Create(database->Owner());
            storage->SetName(std::string(table) + "Storage");
            storage->SetTarget(database);
            Storage[table] = storage;
            return storage;
        }));
        for (const char* table : {"Customers", "Parts"}) As<TSQLTable>(Data->FindComponent(table))->SetWindowSize(8);
        Orders = As<TDataSet>(Data->FindComponent("Orders"));
        Parts = As<TDataSet>(Data->FindComponent("Parts"));
        Form.reset(TOrderEntryForm::Create(nullptr));
        Form->Show();
    }
    void Close() {
        FocusManager().SetFocus(nullptr);
        Keyboard().SetShiftState({});
        Form.reset();
        Data.reset();
        Storage.clear();
        HeadlessBackend()->ClearShown();
        HeadlessBackend()->ClearModalAnswers();
    }

    // Runs Sql through a connection of its own; each row as "a|b|...".
    static std::vector<std::string> Query(const std::string& sql, const std::vector<Variant>& params = {}) {
        Owned<TSQLiteConnection> connection(TSQLiteConnection::Create(nullptr));
        connection->SetDatabaseName(File);
        connection->Open();
        TSQLStatementPtr statement = connection->Prepare(sql);
        statement->BindAll(params);
        statement->Execute();
        std::vector<std::string> rows;
        while (statement->Fetch()) {
            std::string row;
            for (int c = 0; c < statement->ColumnCount(); ++c) {
                const Variant value = statement->ColumnValue(c);
                row += (c ? "|" : "") + (value.IsNull() ? std::string() : value.AsString());
            }
            rows.push_back(row);
        }
        return rows;
    }
    static void Execute(const std::string& sql) {
        Owned<TSQLiteConnection> connection(TSQLiteConnection::Create(nullptr));
        connection->SetDatabaseName(File);
        connection->Open();
        connection->ExecuteDirect(sql);
    }
    // What the database holds, in short: every part, the customers' count
    // and the customers the clerk meets. (That nothing else changed, the
    // demo's connection tells: it wrote nothing.)
    static std::vector<std::string> OnFile() {
        std::vector<std::string> rows = Query("SELECT * FROM part ORDER BY rowid");
        for (const std::string& row : Query("SELECT COUNT(*) FROM customer")) rows.push_back(row);
        for (const std::string& row : Query("SELECT * FROM customer WHERE CustNo LIKE 'C%' ORDER BY CustNo LIMIT 4"))
            rows.push_back(row);
        return rows;
    }
    // The order as it is saved for a customer on file: with its name and
    // city (the country is not taken); "" for no such customer.
    static std::string OrderFor(const std::string& customer, const std::string& part) {
        const auto rows = Query("SELECT CustNo, Company, City FROM customer WHERE CustNo = ?", {Variant(customer)});
        return rows.empty() ? std::string() : "1001|" + rows[0] + "||" + part + "|";
    }
    // The order the clerk worked on, as the data module holds it.
    std::string OrderInHand() const {
        for (int r = 0; r < Orders->DisplayRowCount(); ++r) {
            if (Orders->DisplayValue(r, *Orders->Fields(0)).AsInteger() != 1001) continue;
            std::string order;
            for (int f = 0; f < Orders->FieldCount(); ++f) {
                const Variant value = Orders->DisplayValue(r, *Orders->Fields(f));
                order += (value.IsNull() ? std::string() : value.AsString()) + "|";
            }
            return order;
        }
        return "(missing)";
    }

    static inline std::string File;
    static inline TOrderDatabase Earlier;
    Owned<TDataModule> Data;
    Owned<TOrderEntryForm> Form;
    std::map<std::string, TFaultyConnection*> Storage;
    TDataSet* Orders = nullptr;
    TDataSet* Parts = nullptr;
};

TEST_F(OrderEntrySqlFaultTest, TheRoadOverFailingStorage) {
    Open();
    const std::vector<std::string> onFile = OnFile();
    Close();
    for (const char* table : {"Customers", "Parts"}) {
        int reached = 0;
        for (int n = 1; n < 5000; ++n) {
            const std::string where = std::string(table) + " fails at " + std::to_string(n);
            SCOPED_TRACE(where);
            Open();
            TFaultyConnection* storage = Storage.at(table);
            storage->FailAt(n);
            const std::vector<std::string> seen = ClerksRoad(Form.get(), Orders, Parts);
            const bool failed = storage->Failed();
            const TStorageOperation operation = storage->FailedOperation();
            storage->FailAt(0);

            const bool quiet = failed && operation == TStorageOperation::Locate;
            const auto errors = Shown(TShownKind::Exception);
            // An order for a customer not on file is refused each time it is
            // posted, what the clerk typed kept.
            const std::string typed = seen.back();
            const bool unknown = !typed.empty() && !!OrderFor(typed, "").empty();
            const size_t refused = unknown ? 1 : 0;
            ASSERT_EQ(errors.size(), (failed && !quiet ? 1u : 0u) + refused) << (errors.empty() ? "" : errors.back());
            if (unknown) {
                EXPECT_EQ(errors.back(), "Customer " + typed + " is not on file: the order is not posted.\nPick a customer with Ctrl+F1.");
                EXPECT_NE(Orders->State(), dsBrowse);
                EXPECT_EQ(Form->CustEdit->Text(), typed);
            }
            if (errors.size() > refused) {
                EXPECT_EQ(errors[0], storage->Name() + ": the storage failed to " + StorageOperationVerb(operation));
            }
            for (const char* name : {"Orders", "Customers", "Parts"})
                EXPECT_FALSE(As<TDataSet>(Data->FindComponent(name))->ControlsDisabled()) << name;
            EXPECT_EQ(Screen()->FormCount(), 1) << "the lookup form is gone";

            // What the clerk typed stays on the screen: an event adds to it
            // or puts a whole customer number on file in its place.
            for (size_t i = 1; i < seen.size(); ++i) {
                const bool grew = seen[i].rfind(seen[i - 1], 0) == 0;
                EXPECT_TRUE(grew || !OrderFor(seen[i], "").empty()) << "the customer edit showed " << Road(seen);
            }
            const std::string part = Form->PartEdit->Text();
            EXPECT_TRUE(part.empty() || part == "1313" || part == "900") << "part: " << part;

            // Saved again once the storage works: the order is what the
            // clerk sees, and one saved without a word of error is whole.
            if (Orders->State() != dsBrowse) {
                Act([&] { Orders->Post(); });
                EXPECT_EQ(Shown(TShownKind::Exception).size(), errors.size() + refused) << "saved on the second try";
            }
            // A refused order never reaches the database; any other is there
            // as the clerk sees it, the rest as it was, and the tables read it
            // still.
            std::vector<std::string> stored{"1000|AB1221|Abbey Road Divers|Avonmouth|England|900"};
            if (!unknown) {
                const std::string order = OrderInHand();
                EXPECT_EQ(order.substr(0, order.find('|', 5) + 1), "1001|" + typed + "|") << order;
                if (errors.empty()) {
                    EXPECT_EQ(order, OrderFor(typed, part)) << "saved without a word";
                }
                if (!failed) {
                    EXPECT_EQ(order, "1001|CE1354|Cayman Eastside Dive|George Town||900|");
                }
                EXPECT_EQ(Orders->RecordCount(), 2);
                EXPECT_EQ(Orders->Lookup("OrderNo", 1000, "CustNo"), Variant("AB1221")) << "the order saved before";
                stored.push_back(order.substr(0, order.size() - 1));
            }
            EXPECT_EQ(Query("SELECT * FROM orders ORDER BY OrderNo"), stored);
            EXPECT_EQ(OnFile(), onFile);
            {
                TSQLStatementPtr changes = As<TSQLConnection>(Data->FindComponent("Database"))->Prepare("SELECT total_changes()");
                changes->Execute();
                EXPECT_TRUE(changes->Fetch() && changes->ColumnValue(0).AsInteger() == (unknown ? 0 : 1))
                    << "the order written, nothing else";
            }
            TDataSet* customers = As<TDataSet>(Data->FindComponent("Customers"));
            EXPECT_EQ(customers->Lookup("CustNo", "CE1351", "Company"), Variant("Celtic Sight Diver"));
            EXPECT_TRUE(customers->Locate("CustNo", "fr", TLocateOptions{loCaseInsensitive, loPartialKey}));
            EXPECT_EQ(customers->FieldByName("CustNo")->AsString(), "FR1380");
            Parts->Last();
            EXPECT_EQ(Parts->FieldByName("PartNo")->AsString(), "1313");
            Close();
            if (!failed) {
                reached = n;
                break;
            }
        }
        // Every table takes part in several steps of the road.
        EXPECT_GE(reached, 10) << table;
    }
}

} // namespace
