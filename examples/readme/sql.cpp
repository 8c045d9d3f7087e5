// The README's SQL sample: a fill whose lookup table is a table of an
// SQLite file, made with two customers when it is missing.
#include "examples/readme/SampleTables.h"
#include "host/core/Component.h"

// readme begin
#include "host/data/DataSource.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "lookup/LkFill.h"
// readme end

#include <iostream>

int main() {
    host::Owned<host::TDataModule> module(host::TDataModule::Create(nullptr));
    host::TDataModule* form = module.get();
    host::TDataSource* ordersSource = sample::MakeSampleTables(form).ordersSource;

    // readme begin
    host::TSQLiteConnection* db = host::TSQLiteConnection::Create(form);
    db->SetDatabaseName("orders.db");                     // made when missing
    db->Open();
    db->ExecSQL("CREATE TABLE IF NOT EXISTS customer (CustNo INTEGER PRIMARY KEY, Company TEXT, City TEXT)");
    db->ExecSQL("INSERT OR IGNORE INTO customer VALUES (?, ?, ?)", {1231, "Unisco", "Freeport"});
    host::TSQLTable* customers = host::TSQLTable::Create(form);
    customers->SetConnection(db);
    customers->SetTableName("customer");
    customers->SetIndexFieldNames("Company");             // the order records come in
    customers->Open();
    host::TDataSource* customersSource = host::TDataSource::Create(form);
    customersSource->SetDataSet(customers);

    veskar::TLookupFill* fill = veskar::TLookupFill::Create(form);
    fill->KeyFields()->SetCommaText("CustNo");
    fill->LookupKeyFields()->SetCommaText("CustNo");
    fill->ResultFields()->SetCommaText("ShipTo");
    fill->LookupResultFields()->SetCommaText("Company");
    fill->SetDataSource(ordersSource);
    fill->SetLookupDataSource(customersSource);           // each key is one indexed query
    // readme end

    host::TDataSet* orders = ordersSource->DataSet();
    orders->Edit();
    orders->FieldByName("CustNo")->SetValue(1231);
    std::cout << "ShipTo " << orders->FieldByName("ShipTo")->AsString() << "\n";
}
