// The README's search form sample: the dialog opens the lookup form that
// searches as the user types; "sig" finds no customer number, Ctrl+Right
// searches the company names instead, and Enter takes Sight Diver.
#include "examples/readme/SampleForm.h"

#include "host/ui/Backend.h"
#include "host/ui/Keyboard.h"

#include "lookup/Ldlkpdlg.h"
#include "lookup/Lddlg.h"

#include <iostream>

int main() {
    auto [shownForm, customerEdit, tables] = sample::MakeSampleForm();
    host::Owned<host::TForm> owner(shownForm);
    host::TForm* form = owner.get();
    auto [orders, customers, ordersSource, customersSource] = tables;

    veskar::TLookupDialog* lookup = veskar::TLookupDialog::Create(form);
    lookup->KeyFields()->SetCommaText("CustNo");
    lookup->LookupKeyFields()->SetCommaText("CustNo");
    lookup->SetDataSource(ordersSource);
    lookup->SetLookupDataSource(customersSource);
    // readme begin
    lookup->GetLookupFormClass = [](veskar::TLookupDialog*) -> veskar::TBaseLookupFormClass {
        return &host::ClassOf<veskar::TSearchLookupForm>();
    };
    // readme end

    form->Show();
    customerEdit->SetFocus();
    host::HeadlessBackend()->QueueModalAnswer([](host::TCustomForm*) {
        host::Keyboard().Type("sig");
        host::Keyboard().Press(host::VK_RIGHT, host::TShiftState{host::ssCtrl});
        host::Keyboard().Press(host::VK_RETURN);
    });
    host::Keyboard().Press(host::VK_F1, host::TShiftState{host::ssCtrl});
    std::cout << "CustNo " << orders->FieldByName("CustNo")->AsString() << "\n";
    (void)customers;
}
