// The README's capture sample: a controls list of one's own decides where
// the lookup button is offered and answers its click and the shortcut.
#include "examples/readme/SampleForm.h"

#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"

#include <iostream>

// readme begin
#include "lookup/Ldcapt.h"

class TMyList : public veskar::TLookupControlsList {
    HOST_CLASS(TMyList, veskar::TLookupControlsList)
public:
    // Where a button is offered (Field may be nil) ...
    bool CheckControlLookup(host::TWinControl* control, host::TField* field) override;
    // ... and what a click or the shortcut does.
    void LookupButtonClicked(host::TWinControl* control, host::TField* field) override;
protected:
    TMyList() = default;
};

HOST_IMPLEMENT_CLASS(TMyList, veskar::TLookupControlsList)   // in one source file
// readme end

bool TMyList::CheckControlLookup(host::TWinControl*, host::TField* field) {
    return field && field->FieldName() == "CustNo";
}

void TMyList::LookupButtonClicked(host::TWinControl* control, host::TField* field) {
    std::cout << "lookup asked in " << control->Name() << " for " << field->FieldName() << "\n";
}

int main() {
    auto [shownForm, customerEdit, tables] = sample::MakeSampleForm();
    host::Owned<host::TForm> form(shownForm);
    host::TDBGrid* orderGrid = host::TDBGrid::Create(form.get());
    orderGrid->SetParent(form.get());
    orderGrid->SetBounds(16, 60, 400, 150);
    orderGrid->SetDataSource(tables.ordersSource);

    // readme begin
    host::Owned<TMyList> list(TMyList::Create());
    list->AddLookupControl(customerEdit, true);   // a TDBEdit: button while focused
    list->AddLookupControl(orderGrid, true);      // a TDBGrid: button on its cell editor
    // readme end

    form->Show();
    customerEdit->SetFocus();
    host::Keyboard().Press(host::VK_F1, host::TShiftState{host::ssCtrl});
}
