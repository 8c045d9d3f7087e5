// The README's TLookupFill sample: a customer number written into an order
// brings the customer's company and city.
#include "examples/readme/SampleTables.h"
#include "host/core/Component.h"

// readme begin
#include "host/data/DataSource.h"
#include "lookup/LkFill.h"
// readme end

#include <iostream>

int main() {
    host::Owned<host::TDataModule> module(host::TDataModule::Create(nullptr));
    host::TDataModule* form = module.get();
    auto [orders, customers, ordersSource, customersSource] = sample::MakeSampleTables(form);

    // readme begin
    // orders and customers are open datasets; ordersSource, customersSource
    // their data sources. The form (here a data module) owns the fill.
    veskar::TLookupFill* fill = veskar::TLookupFill::Create(form);
    fill->KeyFields()->SetCommaText("CustNo");            // destination key
    fill->LookupKeyFields()->SetCommaText("CustNo");      // its partner in the lookup table
    fill->ResultFields()->SetCommaText("ShipToName,ShipToCity");
    fill->LookupResultFields()->SetCommaText("Company,City");
    fill->SetDataSource(ordersSource);                    // links are built once both
    fill->SetLookupDataSource(customersSource);           // sources are set

    orders->Edit();
    orders->FieldByName("CustNo")->SetValue(1231);        // fills ShipToName and ShipToCity
    // readme end

    std::cout << orders->FieldByName("ShipToName")->AsString() << ", " << orders->FieldByName("ShipToCity")->AsString()
              << "\n";
    (void)customers;
}
