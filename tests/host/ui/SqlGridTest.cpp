// A data grid over an SQL table larger than its window: it never counts the
// table, its cursor goes down past the rows read, and after a jump by key
// its row stands where the key stands in the key order.

#include "host/data/DataSource.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/ui/Grids.h"

#include <gtest/gtest.h>

namespace {

using namespace host;

class SqlGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        Module = TDataModule::Create(nullptr);
        Connection = TSQLiteConnection::Create(Module);
        Connection->SetDatabaseName(":memory:");
        Connection->Open();
        Connection->ExecuteDirect(
            "CREATE TABLE item (id INTEGER PRIMARY KEY, name VARCHAR(10));"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000)"
            " INSERT INTO item SELECT i, 'i' || i FROM n");
        Items = TSQLTable::Create(Module);
        Items->SetConnection(Connection);
        Items->SetTableName("item");
        Items->Open();
        Source = TDataSource::Create(Module);
        Source->SetDataSet(Items);
        Form = TWinControl::Create(nullptr);
        Grid = TDBGrid::Create(Form);
        Grid->SetParent(Form);
        Grid->SetDataSource(Source);
        Connection->StatementLog().SetActive(true);
        Connection->StatementLog().Clear();
    }
    void TearDown() override {
        Free(Form);
        Free(Module);
    }

    // The grid's row over its rows, 0 at the first record, 1 at the last.
    double Position() const {
        const int titles = Grid->FixedRows();
        return static_cast<double>(Grid->Row() - titles) / static_cast<double>(Grid->RowCount() - titles - 1);
    }
    int Id() const { return static_cast<int>(Items->FieldByName("id")->AsInteger()); }

    TDataModule* Module = nullptr;
    TSQLiteConnection* Connection = nullptr;
    TSQLTable* Items = nullptr;
    TDataSource* Source = nullptr;
    TWinControl* Form = nullptr;
    TDBGrid* Grid = nullptr;
};

TEST_F(SqlGridTest, GridNeverCountsAndPlacesItsRowByTheKeyOrder) {
    const int titles = Grid->FixedRows();
    for (int i = 0; i < 300; ++i) Grid->Perform(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Id(), 301) << "the cursor goes down past the rows read";
    EXPECT_EQ(Grid->Row() - titles, 300);

    ASSERT_TRUE(Items->Locate("id", 15000, {}));
    EXPECT_EQ(Id(), 15000);
    EXPECT_NEAR(Position(), 0.75, 0.02) << "row " << Grid->Row() << " of " << Grid->RowCount();
    ASSERT_TRUE(Items->Locate("name", "i2500", {}));
    EXPECT_NEAR(Position(), 0.125, 0.02) << "row " << Grid->Row() << " of " << Grid->RowCount();
    Grid->Perform(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(Id(), 2501) << "steps on from the record found";

    Items->Last();
    EXPECT_EQ(Id(), 20000);
    EXPECT_NEAR(Position(), 1.0, 0.001);
    Items->First();
    EXPECT_EQ(Grid->Row(), titles);
    EXPECT_EQ(Connection->StatementLog().CountContaining("COUNT("), 0);
}

} // namespace
