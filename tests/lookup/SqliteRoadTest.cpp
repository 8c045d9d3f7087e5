// The smart lookup's whole road on tables of an SQLite database: the fill
// looks customers up in the database, the lookup form opens on what was
// typed and scrolls a table far larger than the rows it keeps, and the
// order the user completes is written back.

#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/ui/Grids.h"
#include "host/ui/Mouse.h"
#include "lookup/Lddlg.h"
#include "tests/lookup/SmartFixture.h"

namespace smart {
namespace {

class SqliteRoadTest : public SmartTest {
protected:
    void SetUp() override {
        SmartTest::SetUp();
        Connection = TSQLiteConnection::Create(Form);
        Connection->SetDatabaseName(":memory:");
        Connection->Open();
        // 3,000 customers, AA00001 to AA01500 and ZZ01501 to ZZ03000, with
        // CD200 and CE300 between the two halves.
        Connection->ExecuteDirect(
            "CREATE TABLE customer (CustNo VARCHAR(10) PRIMARY KEY, Company VARCHAR(30), City VARCHAR(20));"
            "CREATE INDEX customer_nocase ON customer (CustNo COLLATE NOCASE);"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
            " INSERT INTO customer SELECT printf('%s%05d', CASE WHEN i <= 1500 THEN 'AA' ELSE 'ZZ' END, i),"
            " 'Company ' || i, 'City ' || (i % 50) FROM n;"
            "INSERT INTO customer VALUES ('CD200', 'Cedar Works', 'Dunmore'), ('CE300', 'Celtic Dive', 'Eastbay');"
            "CREATE TABLE orders (OrderNo INTEGER PRIMARY KEY, CustNo VARCHAR(10), ShipTo VARCHAR(30), City VARCHAR(20));"
            "INSERT INTO orders VALUES (1001, NULL, NULL, NULL)");
        SqlCustomers = Table("SqlCustomers", "customer");
        SqlCustomers->SetWindowSize(8);
        SqlOrders = Table("SqlOrders", "orders");
        CustomersSource->SetDataSet(SqlCustomers);
        OrdersSource->SetDataSet(SqlOrders);
        SqlCustomers->Open();
        SqlOrders->Open();
        CustEdit = MakeEdit("CustEdit", "CustNo");
        Form->Show();
    }
    TSQLTable* Table(const char* name, const char* table) {
        TSQLTable* t = TSQLTable::Create(Form);
        t->SetName(name);
        t->SetConnection(Connection);
        t->SetTableName(table);
        return t;
    }
    Variant Stored(const char* sql) {
        TSQLStatementPtr statement = Connection->Prepare(sql);
        statement->Execute();
        return statement->Fetch() ? statement->ColumnValue(0) : Variant();
    }

    TSQLiteConnection* Connection = nullptr;
    TSQLTable* SqlCustomers = nullptr;
    TSQLTable* SqlOrders = nullptr;
    TDBEdit* CustEdit = nullptr;
};

TEST_F(SqliteRoadTest, TheFillLooksCustomersUpInTheDatabase) {
    ActiveSmart();
    SqlOrders->Edit();
    SqlOrders->FieldByName("CustNo")->SetValue("CE300");
    EXPECT_EQ(Text(SqlOrders, "ShipTo"), "Celtic Dive");
    EXPECT_EQ(Text(SqlOrders, "City"), "Eastbay");
    EXPECT_EQ(RaisedMessage([&] { SqlOrders->FieldByName("CustNo")->SetValue("ZZ999"); }),
              "TLookupFill: Key not found");
    EXPECT_EQ(Text(SqlOrders, "ShipTo"), "") << "not found: the results are cleared";
    SqlOrders->Cancel();
    EXPECT_EQ(SqlCustomers->RecNo(), 1) << "the fill never moves the lookup table";
}

TEST_F(SqliteRoadTest, ALookupRunOpensOnWhatWasTypedAndWritesTheOrderBack) {
    ActiveSmart();
    CustEdit->SetFocus();
    Keyboard().Type("cd");
    std::string shownOn;
    int shownAt = 0;
    Ui()->QueueModalAnswer([&](TCustomForm* form) {
        shownOn = Text(SqlCustomers, "CustNo");
        shownAt = SqlCustomers->RecNo();
        Keyboard().Press(VK_DOWN);
        Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
    });
    EXPECT_TRUE(Keyboard().Press(VK_F1, TShiftState{ssCtrl}));
    EXPECT_EQ(shownOn, "CD200") << "opened on the first key beginning with what was typed";
    EXPECT_EQ(shownAt, static_cast<int>(Stored("SELECT COUNT(*) FROM customer WHERE CustNo < 'CD200'").AsInteger()) + 1);
    EXPECT_EQ(Text(SqlOrders, "CustNo"), "CE300");
    EXPECT_EQ(Text(SqlOrders, "ShipTo"), "Celtic Dive");
    EXPECT_EQ(Text(SqlOrders, "City"), "Eastbay");
    EXPECT_TRUE(ShownErrors().empty());
    SqlOrders->Post();
    EXPECT_EQ(Stored("SELECT ShipTo FROM orders WHERE OrderNo = 1001"), Variant("Celtic Dive"));
    EXPECT_LE(SqlCustomers->CachedRows(), 8) << "the lookup table kept a window only";
}

TEST_F(SqliteRoadTest, TheLookupGridScrollsAcrossWindows) {
    ActiveSmart();
    CustEdit->SetFocus();
    std::vector<std::string> down, up;
    Ui()->QueueModalAnswer([&](TCustomForm* form) {
        for (int i = 0; i < 40; ++i) {
            down.push_back(Text(SqlCustomers, "CustNo"));
            Keyboard().Press(VK_DOWN);
        }
        for (int i = 0; i < 40; ++i) {
            up.push_back(Text(SqlCustomers, "CustNo"));
            Keyboard().Press(VK_UP);
        }
        Mouse().Click(As<TDefaultLookupForm>(form)->bCancel);
    });
    EXPECT_TRUE(Keyboard().Press(VK_F1, TShiftState{ssCtrl}));
    std::vector<std::string> expected;
    TSQLStatementPtr statement = Connection->Prepare("SELECT CustNo FROM customer ORDER BY CustNo LIMIT 41");
    statement->Execute();
    while (statement->Fetch()) expected.push_back(statement->ColumnValue(0).AsString());
    EXPECT_EQ(down, std::vector<std::string>(expected.begin(), expected.end() - 1));
    EXPECT_EQ(up, std::vector<std::string>(expected.rbegin(), expected.rend() - 1));
    EXPECT_EQ(Text(SqlOrders, "CustNo"), "") << "Cancel copies nothing";
    EXPECT_LE(SqlCustomers->CachedRows(), 8);
}

TEST_F(SqliteRoadTest, AJoinViewServesAsTheLookupTable) {
    // The customers' cities in a table of their own, joined back in a view
    // that no key identifies.
    Connection->ExecuteDirect(
        "CREATE TABLE city (CityNo INTEGER PRIMARY KEY, Name VARCHAR(20));"
        "INSERT INTO city SELECT DISTINCT NULL, City FROM customer ORDER BY City;"
        "CREATE TABLE client (CustNo VARCHAR(10) PRIMARY KEY, Company VARCHAR(30), CityNo INTEGER);"
        "INSERT INTO client SELECT c.CustNo, c.Company, city.CityNo FROM customer c JOIN city ON city.Name = c.City;"
        "CREATE VIEW client_city AS SELECT client.CustNo, client.Company, city.Name AS City"
        " FROM client JOIN city ON city.CityNo = client.CityNo");
    SqlCustomers->Close();
    SqlCustomers->SetTableName("client_city");
    SqlCustomers->Open();
    EXPECT_FALSE(SqlCustomers->CanModify());

    ActiveSmart();
    SqlOrders->Edit();
    SqlOrders->FieldByName("CustNo")->SetValue("CE300");
    EXPECT_EQ(Text(SqlOrders, "ShipTo"), "Celtic Dive");
    EXPECT_EQ(Text(SqlOrders, "City"), "Eastbay");
    EXPECT_EQ(RaisedMessage([&] { SqlOrders->FieldByName("CustNo")->SetValue("ZZ999"); }),
              "TLookupFill: Key not found");
    SqlOrders->Cancel();

    CustEdit->SetFocus();
    Keyboard().Type("zz0297");
    std::string shownOn;
    int shownAt = 0;
    std::vector<std::string> down;
    Ui()->QueueModalAnswer([&](TCustomForm* form) {
        shownOn = Text(SqlCustomers, "CustNo");
        shownAt = SqlCustomers->RecNo();
        for (int i = 0; i < 20; ++i) {
            down.push_back(Text(SqlCustomers, "CustNo"));
            Keyboard().Press(VK_DOWN);
        }
        Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
    });
    EXPECT_TRUE(Keyboard().Press(VK_F1, TShiftState{ssCtrl}));
    EXPECT_EQ(shownOn, "ZZ02970") << "opened on the first key beginning with what was typed, letter case ignored";
    EXPECT_EQ(shownAt, static_cast<int>(Stored("SELECT COUNT(*) FROM customer WHERE CustNo < 'ZZ02970'").AsInteger()) + 1);
    std::vector<std::string> expected;
    TSQLStatementPtr statement =
        Connection->Prepare("SELECT CustNo FROM client_city WHERE CustNo >= 'ZZ02970' ORDER BY CustNo LIMIT 20");
    statement->Execute();
    while (statement->Fetch()) expected.push_back(statement->ColumnValue(0).AsString());
    EXPECT_EQ(down, expected);
    EXPECT_EQ(Text(SqlOrders, "CustNo"), "ZZ02990") << "the record twenty rows on";
    EXPECT_EQ(Text(SqlOrders, "City"), Stored("SELECT City FROM customer WHERE CustNo = 'ZZ02990'").AsString());
    EXPECT_TRUE(ShownErrors().empty());
    EXPECT_LE(SqlCustomers->CachedRows(), 8) << "the view too is read in windows";
}

} // namespace
} // namespace smart
