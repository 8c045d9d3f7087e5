// The README's TLookupDialog sample: Ctrl+F1 in the order's customer edit
// opens the lookup form on what was typed, and Enter takes the customer.
#include "examples/readme/SampleForm.h"

#include "host/ui/Backend.h"
#include "host/ui/Keyboard.h"

// readme begin
#include "lookup/Ldlkpdlg.h"
// readme end

#include <iostream>

int main() {
    auto [shownForm, customerEdit, tables] = sample::MakeSampleForm();
    host::Owned<host::TForm> owner(shownForm);
    host::TForm* form = owner.get();
    auto [orders, customers, ordersSource, customersSource] = tables;

    // readme begin
    // form is a host::TForm holding TDBEdits and TDBGrids on ordersSource.
    veskar::TLookupDialog* lookup = veskar::TLookupDialog::Create(form);
    lookup->KeyFields()->SetCommaText("CustNo");          // destination key
    lookup->LookupKeyFields()->SetCommaText("CustNo");    // its partner
    lookup->SetDataSource(ordersSource);                  // captures the form's
    lookup->SetLookupDataSource(customersSource);         // CustNo edits and grids
    // readme end

    form->Show();
    customerEdit->SetFocus();
    host::Keyboard().Type("1351");
    host::HeadlessBackend()->QueueModalAnswer([](host::TCustomForm*) { host::Keyboard().Press(host::VK_RETURN); });
    host::Keyboard().Press(host::VK_F1, host::TShiftState{host::ssCtrl});
    std::cout << "CustNo " << orders->FieldByName("CustNo")->AsString() << "\n";
    (void)customers;
}
