// The smart lookup's road on tables of an SQLite database, and of the
// PostgreSQL test server when there is one, whose storage fails in the
// middle of work: each table talks through a connection that
// fails its Nth step (a statement prepared, run or read, a transaction
// begun or committed), for every N until the road no longer reaches the
// failure. Each time the error reaches the user once (a failed search that
// only positions a table is kept quiet), the customers on file are
// untouched, the order on file holds a customer number with that
// customer's name and city, or what the user was told of, never a key
// copied in part, the controls hear again, and the tables work on.

#include "host/data/SqlTable.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Mouse.h"
#include "host/ui/Screen.h"
#include "lookup/Lddlg.h"
#include "tests/host/data/SqlTestDatabase.h"
#include "tests/lookup/SmartFixture.h"
#include "tests/support/FaultyConnection.h"

#include <functional>
#include <optional>

namespace smart {
namespace {

class SqlFaultTest : public SmartTest, public ::testing::WithParamInterface<std::string> {
protected:
    bool OnServer() const { return GetParam() == "Postgres"; }

    void SetUp() override {
        SmartTest::SetUp();
        if (OnServer()) VESKAR_NEED_PG();
        Database.emplace(OnServer());
        Real = Database->Connect(Form);
        // 200 customers around CD200, CE300 and CE310, so the lookup grid
        // reads its rows across windows. Names quoted: the lookup takes
        // their letter case as it is.
        Real->ExecuteDirect(
            "CREATE TABLE customer (\"CustNo\" VARCHAR(10) PRIMARY KEY, \"Company\" VARCHAR(30), \"City\" VARCHAR(20));" +
            std::string(OnServer()
                            ? "CREATE INDEX customer_prefix ON customer (\"CustNo\" text_pattern_ops);"
                              "CREATE INDEX customer_ci ON customer (lower(\"CustNo\" COLLATE \"C\") text_pattern_ops);"
                              "INSERT INTO customer SELECT CASE WHEN i <= 100 THEN 'AA' ELSE 'ZZ' END ||"
                              " lpad(i::text, 4, '0'), 'Company ' || i, 'City ' || i FROM generate_series(1, 200) AS i;"
                            : "CREATE INDEX customer_nocase ON customer (\"CustNo\" COLLATE NOCASE);"
                              "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200)"
                              " INSERT INTO customer SELECT printf('%s%04d', CASE WHEN i <= 100 THEN 'AA' ELSE 'ZZ' END, i),"
                              " 'Company ' || i, 'City ' || i FROM n;") +
            "INSERT INTO customer VALUES ('CD200', 'Cedar Works', 'Dunmore'), ('CE300', 'Celtic Dive', 'Eastbay'),"
            " ('CE310', 'Coral Edge', 'Eastport');"
            "CREATE TABLE orders (\"OrderNo\" INTEGER PRIMARY KEY, \"CustNo\" VARCHAR(10), \"ShipTo\" VARCHAR(30),"
            " \"City\" VARCHAR(20));"
            "INSERT INTO orders VALUES (1000, 'AB100', 'Abbey Road', 'Avonmouth'), (1001, NULL, NULL, NULL)");
        CustomerStorage = Through("CustomerStorage");
        OrderStorage = Through("OrderStorage");
        SqlCustomers = Table("SqlCustomers", CustomerStorage, "customer");
        SqlCustomers->SetWindowSize(4);
        SqlOrders = Table("SqlOrders", OrderStorage, "orders");
        CustomersSource->SetDataSet(SqlCustomers);
        OrdersSource->SetDataSet(SqlOrders);
        SqlCustomers->Open();
        SqlOrders->Open();
        CustEdit = MakeEdit("CustEdit", "CustNo");
        Form->Show();
        ActiveSmart();
        CustomersOnFile = Stored("customer");
    }
    void TearDown() override {
        SmartTest::TearDown();
        Database.reset();
    }
    TFaultyConnection* Through(const char* name) {
        TFaultyConnection* connection = TFaultyConnection::Create(Form);
        connection->SetName(name);
        connection->SetTarget(Real);
        return connection;
    }
    TSQLTable* Table(const char* name, TSQLConnection* connection, const char* table) {
        TSQLTable* t = TSQLTable::Create(Form);
        t->SetName(name);
        t->SetConnection(connection);
        t->SetTableName(table);
        return t;
    }

    // A table's rows as "value|value|value...", read through a connection
    // of their own.
    Names Stored(const std::string& table) { return Database->Query("SELECT * FROM " + table + " ORDER BY 1"); }
    // The order the user works on, as stored.
    std::string OrderOnFile() { return Stored("orders").at(1); }
    // The order as it is stored for Customer, with the customer's name and
    // city; "" when there is no such customer.
    std::string OrderFor(const std::string& customer) {
        for (const std::string& row : CustomersOnFile)
            if (row.rfind(customer + "|", 0) == 0) return "1001|" + row;
        return {};
    }

    // One road from the start: the order on file blank again, the tables
    // read anew, nothing focused. Then Road with Storage failing at its Nth
    // step; what escapes reaches the user as the application shows it.
    // Answers whether the failure happened.
    bool Run(TFaultyConnection* storage, int n, const std::function<void()>& road) {
        FocusManager().SetFocus(nullptr);
        SqlOrders->Cancel();
        Real->ExecuteDirect(
            "UPDATE orders SET \"CustNo\" = NULL, \"ShipTo\" = NULL, \"City\" = NULL WHERE \"OrderNo\" = 1001");
        SqlOrders->Refresh();
        SqlOrders->Last();
        SqlCustomers->Refresh();
        SqlCustomers->First();
        ShownErrors();
        storage->FailAt(n);
        try {
            road();
        } catch (const std::exception&) {
            ShowCurrentException();
        }
        const bool failed = storage->Failed();
        Failure = storage->FailedOperation();
        storage->FailAt(0);
        Ui()->ClearModalAnswers();
        return failed;
    }

    // What every road leaves, failed or not.
    void CheckAfter(TFaultyConnection* storage, bool failed, const std::string& where) {
        // Positioning a table on a typed beginning, or on the record just
        // written, is a courtesy: its failure is kept quiet.
        const bool quiet = failed && Failure == TStorageOperation::Locate;
        const Names errors = ShownErrors();
        EXPECT_EQ(errors.size(), failed && !quiet ? 1u : 0u) << where;
        if (!errors.empty()) {
            EXPECT_EQ(errors[0], storage->Name() + ": the storage failed to " + StorageOperationVerb(Failure)) << where;
        }
        EXPECT_EQ(Screen()->FormCount(), 1) << "the lookup form is gone: " << where;
        EXPECT_FALSE(SqlOrders->ControlsDisabled()) << where;
        EXPECT_FALSE(SqlCustomers->ControlsDisabled()) << where;
        EXPECT_EQ(Stored("customer"), CustomersOnFile) << where;
        EXPECT_EQ(Stored("orders").at(0), "1000|AB100|Abbey Road|Avonmouth") << "saved before: " << where;
        // What the user still has in hand is saved once the storage works,
        // unless it is letters typed that are no customer's number: the fill
        // says so, and they stay for the user to mend.
        const std::string left = RaisedMessage([] { FocusManager().SetFocus(nullptr); });
        EXPECT_TRUE(left.empty() || left == "TLookupFill: Key not found") << left << " " << where;
        const std::string posted = SqlOrders->State() == dsBrowse ? "" : RaisedMessage([&] { SqlOrders->Post(); });
        const std::string order = OrderOnFile();
        if (!posted.empty()) {
            EXPECT_EQ(posted, "TLookupFill: Key not found") << where;
            EXPECT_EQ(Text(SqlOrders, "CustNo"), CustEdit->Text()) << where;
            EXPECT_EQ(order, "1001|||") << "nothing saved: " << where;
            SqlOrders->Cancel();
        } else {
            EXPECT_EQ("1001|" + Text(SqlOrders, "CustNo") + "|" + Text(SqlOrders, "ShipTo") + "|" + Text(SqlOrders, "City"),
                      order)
                << "the order shown is the one on file: " << where;
        }
        if (errors.empty()) {
            EXPECT_TRUE(order == "1001|||" || order == OrderFor(Text(SqlOrders, "CustNo")))
                << "saved without a word: " << order << " " << where;
        }
        // The tables work on.
        EXPECT_EQ(SqlCustomers->Lookup("CustNo", "CD200", "Company"), Variant("Cedar Works")) << where;
        EXPECT_EQ(SqlCustomers->RecordCount(), static_cast<int>(CustomersOnFile.size())) << where;
        EXPECT_EQ(SqlOrders->RecordCount(), 2) << where;
    }

    // The run and copy road at every step; with CityIsKey the customer's
    // city is copied as a second key.
    void RunAndCopyAtEveryStep(bool cityIsKey, const std::string& openedOn, const std::string& saved);

    std::optional<host::testing::TSqlTestDatabase> Database;
    TSQLConnection* Real = nullptr;
    TFaultyConnection* CustomerStorage = nullptr;
    TFaultyConnection* OrderStorage = nullptr;
    TSQLTable* SqlCustomers = nullptr;
    TSQLTable* SqlOrders = nullptr;
    TDBEdit* CustEdit = nullptr;
    Names CustomersOnFile;  // as stored before any road
    TStorageOperation Failure = TStorageOperation::Open;
};

TEST_P(SqlFaultTest, TheFillAndTheSaveOverFailingStorage) {
    for (TFaultyConnection* storage : {CustomerStorage, OrderStorage}) {
        int reached = 0;
        for (int n = 1; n < 1000; ++n) {
            const std::string where = storage->Name() + " fails at " + std::to_string(n);
            SCOPED_TRACE(where);
            const bool failed = Run(storage, n, [&] {
                SqlOrders->Refresh();
                SqlOrders->Edit();
                SqlOrders->FieldByName("CustNo")->SetValue("CE300");
                SqlOrders->Post();
            });
            if (SqlOrders->State() == dsEdit) {
                EXPECT_EQ(Text(SqlOrders, "CustNo"), "CE300") << "the typed key stays";
            }
            CheckAfter(storage, failed, where);
            if (!failed) {
                EXPECT_EQ(OrderOnFile(), "1001|CE300|Celtic Dive|Eastbay");
                reached = n;
                break;
            }
        }
        // Look up and read the customer; read, write and place the order.
        EXPECT_GE(reached, 3) << storage->Name();
    }
}

// "ce" typed, the lookup run, down and up across windows to the row after
// the one it opened on, OK, the order saved: with each table failing at
// every step in turn.
void SqlFaultTest::RunAndCopyAtEveryStep(bool cityIsKey, const std::string& openedOn, const std::string& saved) {
    for (TFaultyConnection* storage : {CustomerStorage, OrderStorage}) {
        int reached = 0;
        for (int n = 1; n < 2000; ++n) {
            const std::string where = storage->Name() + " fails at " + std::to_string(n);
            SCOPED_TRACE(where);
            std::string shownOn;
            const bool failed = Run(storage, n, [&] {
                CustEdit->SetFocus();
                Keyboard().Type("ce");
                Ui()->QueueModalAnswer([&](TCustomForm* form) {
                    shownOn = Text(SqlCustomers, "CustNo");
                    // Reading each row on the way, as the grid shows it.
                    for (int i = 0; i < 9; ++i) {
                        Keyboard().Press(i < 5 ? VK_DOWN : VK_UP);
                        Text(SqlCustomers, "CustNo");
                    }
                    Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
                });
                Keyboard().Press(VK_F1, TShiftState{ssCtrl});
                FocusManager().SetFocus(nullptr);
                SqlOrders->Post();
            });
            // The edit shows what was typed, or a whole customer number.
            const std::string shown = CustEdit->Text();
            EXPECT_TRUE(shown.empty() || shown == "c" || shown == "ce" || !OrderFor(shown).empty())
                << "the customer edit shows " << shown;
            CheckAfter(storage, failed, where);
            const std::string order = OrderOnFile();
            const std::string whole = OrderFor(Text(SqlOrders, "CustNo"));
            if (cityIsKey && !whole.empty()) {
                EXPECT_EQ(order.substr(order.rfind('|')), whole.substr(whole.rfind('|'))) << "no half-copied key: " << order;
            }
            if (!failed) {
                EXPECT_EQ(shownOn, openedOn);
                EXPECT_EQ(order, saved);
                reached = n;
                break;
            }
        }
        // The run positions, shows rows across windows, copies and saves.
        EXPECT_GE(reached, storage == CustomerStorage ? 10 : 5) << storage->Name();
    }
}

TEST_P(SqlFaultTest, TheLookupRunAndCopyOverFailingStorage) {
    // Opened on the first key beginning with what was typed.
    RunAndCopyAtEveryStep(false, "CE300", "1001|CE310|Coral Edge|Eastport");
}

TEST_P(SqlFaultTest, AKeyOfTwoFieldsIsCopiedWholeOrNotAtAll) {
    Free(Form->FindComponent("CustomerLookup"));
    ActiveSmart("CustNo,CustNo;City,City", "ShipTo,Company");
    // No customer has the order's blank city: opened where the table stands.
    RunAndCopyAtEveryStep(true, "AA0001", "1001|AA0002|Company 2|City 2");
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlFaultTest, ::testing::Values("Sqlite", "Postgres"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace smart
