// A few lines of an application that uses an installed Veskar: a fill takes
// a customer's company and city into an order as its number is entered.
// With --terminal the result is shown in a message box on the terminal back
// end instead of printed.

#include "host/core/Component.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/terminal/TerminalBackend.h"
#include "host/ui/Dialogs.h"
#include "lookup/LkFill.h"

#include <iostream>
#include <memory>
#include <string_view>

using namespace host;

int main(int argc, char** argv) {
    Owned<TDataModule> module(TDataModule::Create(nullptr));

    TMemoryDataSet* customers = TMemoryDataSet::Create(module.get());
    customers->FieldDefs().Add("CustNo", ftInteger);
    customers->FieldDefs().Add("Company", ftString, 30);
    customers->FieldDefs().Add("City", ftString, 20);
    customers->Open();
    customers->AppendRecord({1221, "Kauai Dive Shoppe", "Kapaa"});
    customers->AppendRecord({1231, "Unisco", "Freeport"});

    TMemoryDataSet* orders = TMemoryDataSet::Create(module.get());
    orders->FieldDefs().Add("OrderNo", ftInteger);
    orders->FieldDefs().Add("CustNo", ftInteger);
    orders->FieldDefs().Add("ShipToName", ftString, 30);
    orders->FieldDefs().Add("ShipToCity", ftString, 20);
    orders->Open();

    TDataSource* ordersSource = TDataSource::Create(module.get());
    ordersSource->SetDataSet(orders);
    TDataSource* customersSource = TDataSource::Create(module.get());
    customersSource->SetDataSet(customers);

    veskar::TLookupFill* fill = veskar::TLookupFill::Create(module.get());
    fill->KeyFields()->SetCommaText("CustNo");
    fill->LookupKeyFields()->SetCommaText("CustNo");
    fill->ResultFields()->SetCommaText("ShipToName,ShipToCity");
    fill->LookupResultFields()->SetCommaText("Company,City");
    fill->SetDataSource(ordersSource);
    fill->SetLookupDataSource(customersSource);

    orders->Append();
    orders->FieldByName("OrderNo")->SetValue(1);
    orders->FieldByName("CustNo")->SetValue(1231);
    orders->Post();

    const std::string result = "order " + orders->FieldByName("OrderNo")->AsString() + " ships to " +
                               orders->FieldByName("ShipToName")->AsString() + " in " +
                               orders->FieldByName("ShipToCity")->AsString();
    if (argc > 1 && std::string_view(argv[1]) == "--terminal") {
        SetUIBackend(std::make_unique<term::TTerminalBackend>());
        ShowMessage(result);
        SetUIBackend(nullptr);
    } else {
        std::cout << result << "\n";
    }
    return orders->FieldByName("ShipToName")->AsString() == "Unisco" ? 0 : 1;
}
