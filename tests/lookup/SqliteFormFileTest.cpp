// A data module in a form file: an SQLite connection, two table datasets
// and a fill between them, read, opened after loading, used and written
// back the same.

#include "host/core/ClassRegistry.h"
#include "host/core/Strings.h"
#include "host/data/DataSource.h"
#include "host/data/SqlRegistration.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"
#include "lookup/LkFill.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

using namespace host;
using namespace veskar;

std::string ModuleText(const std::string& file) {
    return R"(object OrderData: TDataModule
  object Database: TSQLiteConnection
    DatabaseName = ')" + file + R"('
    Connected = True
  end
  object Customers: TSQLTable
    Active = True
    Connection = Database
    TableName = 'customer'
    IndexFieldNames = 'Company'
  end
  object CustomersSource: TDataSource
    DataSet = Customers
  end
  object Orders: TSQLTable
    Active = True
    Connection = Database
    TableName = 'orders'
    UpdateMode = upWhereKeyOnly
  end
  object OrdersSource: TDataSource
    DataSet = Orders
  end
  object CustomerFill: TLookupFill
    Active = True
    DataSource = OrdersSource
    LookupDataSource = CustomersSource
    KeyFields.Strings = (
      'CustNo')
    LookupKeyFields.Strings = (
      'CustNo')
    ResultFields.Strings = (
      'ShipTo')
    LookupResultFields.Strings = (
      'Company')
  end
end
)";
}

class SqliteFormFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterSQLClasses();
        RegisterClasses({&TDataModule::ClassInfo(), &TDataSource::ClassInfo(), &TLookupFill::ClassInfo()});
        File = (std::filesystem::temp_directory_path() / ("veskar-form-" + std::to_string(getpid()) + ".db")).string();
        std::filesystem::remove(File);
        Owned<TDataModule> setup(TDataModule::Create(nullptr));
        TSQLiteConnection* db = TSQLiteConnection::Create(setup.get());
        db->SetDatabaseName(File);
        db->Open();
        db->ExecuteDirect(
            "CREATE TABLE customer (CustNo INTEGER PRIMARY KEY, Company VARCHAR(30));"
            "CREATE INDEX customer_company ON customer (Company);"
            "INSERT INTO customer VALUES (1221, 'Kauai Dive Shoppe'), (1231, 'Unisco');"
            "CREATE TABLE orders (OrderNo INTEGER PRIMARY KEY, CustNo INTEGER, ShipTo VARCHAR(30));"
            "INSERT INTO orders VALUES (1001, NULL, NULL)");
    }
    void TearDown() override { std::filesystem::remove(File); }

    static Owned<TDataModule> Read(const std::string& text) {
        return Owned<TDataModule>(As<TDataModule>(CreateComponentFromText(text)));
    }

    std::string File;
};

TEST_F(SqliteFormFileTest, ReadsOpensFillsAndWritesBack) {
    Owned<TDataModule> module = Read(ModuleText(File));
    ASSERT_NE(module, nullptr);
    auto* database = As<TSQLiteConnection>(module->FindComponent("Database"));
    auto* customers = As<TSQLTable>(module->FindComponent("Customers"));
    auto* orders = As<TSQLTable>(module->FindComponent("Orders"));
    ASSERT_TRUE(database && customers && orders);
    EXPECT_TRUE(database->Connected());
    EXPECT_TRUE(customers->Active()) << "opened once the connection was read";
    EXPECT_EQ(customers->Connection(), database);
    EXPECT_EQ(customers->FieldByName("Company")->Value(), Variant("Kauai Dive Shoppe")) << "in Company order";

    orders->Edit();
    orders->FieldByName("CustNo")->SetValue(1231);
    EXPECT_EQ(orders->FieldByName("ShipTo")->Value(), Variant("Unisco"));
    orders->Post();

    const std::string written = WriteComponentText(module.get());
    for (const char* line : {"DatabaseName = '", "Connected = True", "Connection = Database", "TableName = 'customer'",
                             "IndexFieldNames = 'Company'", "DataSet = Customers", "UpdateMode = upWhereKeyOnly"})
        EXPECT_NE(written.find(line), std::string::npos) << line << " in\n" << written;
    EXPECT_EQ(written.find("KeyFields = "), std::string::npos) << "an empty key list is the default";
    EXPECT_EQ(written.find("UpdateMode = upWhereChanged"), std::string::npos) << "the default update mode";
    EXPECT_EQ(orders->UpdateMode(), upWhereKeyOnly);
    EXPECT_EQ(customers->UpdateMode(), upWhereChanged);
    module.reset();

    Owned<TDataModule> again = Read(written);
    auto* reread = As<TSQLTable>(again->FindComponent("Orders"));
    ASSERT_NE(reread, nullptr);
    EXPECT_EQ(reread->FieldByName("ShipTo")->Value(), Variant("Unisco")) << "the post reached the file";
    EXPECT_EQ(reread->UpdateMode(), upWhereKeyOnly);
    EXPECT_EQ(WriteComponentText(again.get()), written);
}

} // namespace
