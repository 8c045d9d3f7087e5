// The README's TSmartDBLookup sample: one component drives both the dialog
// and the fill; the customer picked in the lookup form brings its company
// and city.
#include "examples/readme/SampleForm.h"

#include "host/ui/Backend.h"
#include "host/ui/Keyboard.h"

// readme begin
#include "lookup/Lsdblkp.h"
// readme end

#include <iostream>

int main() {
    auto [shownForm, customerEdit, tables] = sample::MakeSampleForm();
    host::Owned<host::TForm> owner(shownForm);
    host::TForm* form = owner.get();
    auto [orders, customers, ordersSource, customersSource] = tables;

    // readme begin
    // form is a host::TForm (a smart lookup sits on a form, or on nothing).
    veskar::TSmartDBLookup* lookup = veskar::TSmartDBLookup::Create(form);
    lookup->SetKeyConnection("CustNo,CustNo");                     // destination,lookup
    lookup->SetResultConnection("ShipTo,Company;ShipCity,City");   // pairs joined by ";"
    lookup->SetDataSource(ordersSource);
    lookup->SetLookupDataSource(customersSource);
    lookup->SetErrorOnKeyNotFound(false);
    // A new smart lookup reads Active true but its inner dialog and fill idle
    // until it is switched on: this pushes sources and pairs, then starts the
    // dialog and then the fill.
    lookup->SetActive(false);
    lookup->SetActive(true);
    // readme end

    form->Show();
    customerEdit->SetFocus();
    host::Keyboard().Type("12");
    host::HeadlessBackend()->QueueModalAnswer([](host::TCustomForm*) {
        host::Keyboard().Press(host::VK_DOWN);  // from Kauai Dive Shoppe to Unisco
        host::Keyboard().Press(host::VK_RETURN);
    });
    host::Keyboard().Press(host::VK_F1, host::TShiftState{host::ssCtrl});
    std::cout << orders->FieldByName("CustNo")->AsString() << " ships to " << orders->FieldByName("ShipTo")->AsString()
              << " in " << orders->FieldByName("ShipCity")->AsString() << "\n";
    (void)customers;
}
