// The README's form-file sample: OrderData.form read as a data module; its
// connection opens the SQLite file and its fill takes an order's ship-to
// name from the customer table.
#include "host/core/Component.h"
#include "host/data/DataSet.h"
#include "host/data/SqliteConnection.h"
#include "host/stream/Reader.h"
#include "lookup/Package.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

// The tables the form file opens, made here so the sample runs anywhere.
void MakeTables() {
    host::Owned<host::TSQLiteConnection> db(host::TSQLiteConnection::Create(nullptr));
    db->SetDatabaseName("orders.db");
    db->Open();
    db->ExecSQL("CREATE TABLE IF NOT EXISTS customer (CustNo INTEGER PRIMARY KEY, Company TEXT, City TEXT)");
    db->ExecSQL("INSERT OR IGNORE INTO customer VALUES (?, ?, ?)", {1231, "Unisco", "Freeport"});
    db->ExecSQL("CREATE TABLE IF NOT EXISTS orders (OrderNo INTEGER PRIMARY KEY, CustNo INTEGER, ShipTo TEXT)");
    db->ExecSQL("DELETE FROM orders");
}

std::string ReadFile(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

int main() {
    MakeTables();
    veskar::RegisterFormClasses();
    host::Owned<host::TComponent> data(host::CreateComponentFromText(ReadFile(SAMPLE_DIR "/OrderData.form")));
    auto* orders = static_cast<host::TDataSet*>(data->FindComponent("Orders"));
    orders->Append();
    orders->FieldByName("OrderNo")->SetValue(1001);
    orders->FieldByName("CustNo")->SetValue(1231);
    orders->Post();
    std::cout << "ShipTo " << orders->FieldByName("ShipTo")->AsString() << "\n";
}
