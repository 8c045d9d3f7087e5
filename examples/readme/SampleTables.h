#pragma once
// What the README's samples take as given: an orders table and a customers
// table in memory, each with its data source, owned by the caller's form or
// data module.

#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"

namespace sample {

struct TSampleTables {
    host::TMemoryDataSet* orders;
    host::TMemoryDataSet* customers;
    host::TDataSource* ordersSource;
    host::TDataSource* customersSource;
};

inline host::TDataSource* SourceOf(host::TComponent* owner, const char* name, host::TDataSet* dataSet) {
    host::TDataSource* source = host::TDataSource::Create(owner);
    source->SetName(name);
    source->SetDataSet(dataSet);
    return source;
}

inline TSampleTables MakeSampleTables(host::TComponent* owner) {
    using namespace host;
    TMemoryDataSet* customers = TMemoryDataSet::Create(owner);
    customers->SetName("Customers");
    customers->FieldDefs().Add("CustNo", ftInteger);
    customers->FieldDefs().Add("Company", ftString, 30);
    customers->FieldDefs().Add("City", ftString, 20);
    customers->Open();
    customers->AppendRecord({1221, "Kauai Dive Shoppe", "Kapaa"});
    customers->AppendRecord({1231, "Unisco", "Freeport"});
    customers->AppendRecord({1351, "Sight Diver", "Kato Paphos"});
    customers->First();

    TMemoryDataSet* orders = TMemoryDataSet::Create(owner);
    orders->SetName("Orders");
    orders->FieldDefs().Add("OrderNo", ftInteger);
    orders->FieldDefs().Add("CustNo", ftInteger);
    orders->FieldDefs().Add("ShipTo", ftString, 30);
    orders->FieldDefs().Add("ShipToName", ftString, 30);
    orders->FieldDefs().Add("ShipToCity", ftString, 20);
    orders->FieldDefs().Add("ShipCity", ftString, 20);
    orders->Open();
    orders->AppendRecord({1001, Variant(), "", "", "", ""});

    return {orders, customers, SourceOf(owner, "OrdersSource", orders), SourceOf(owner, "CustomersSource", customers)};
}

} // namespace sample
