// The README's headless modal sample: a queued answer moves the grid of a
// modal form a row and presses its Default button.
#include "examples/readme/SampleTables.h"

#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/StdCtrls.h"

#include <iostream>

// readme begin
#include "host/ui/Backend.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
// readme end

int main() {
    host::Owned<host::TForm> owner(host::TForm::Create(nullptr));
    host::TForm* form = owner.get();
    form->SetCaption("Customers");
    form->SetBounds(40, 30, 400, 240);
    sample::TSampleTables tables = sample::MakeSampleTables(form);
    host::TDBGrid* grid = host::TDBGrid::Create(form);
    grid->SetParent(form);
    grid->SetBounds(8, 8, 380, 160);
    grid->SetDataSource(tables.customersSource);
    host::TButton* ok = host::TButton::Create(form);
    ok->SetParent(form);
    ok->SetBounds(300, 180, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(host::mrOk);
    form->SetActiveControl(grid);

    // readme begin
    host::THeadlessBackend* ui = host::HeadlessBackend();
    ui->QueueModalAnswer([](host::TCustomForm* /*form*/) {
        host::Keyboard().Press(host::VK_DOWN);      // the focused grid moves a row
        host::Keyboard().Press(host::VK_RETURN);    // Enter clicks the Default button
    });
    int result = form->ShowModal();                 // host::mrOk
    // ui->Shown().back(): Kind ModalForm, Text the caption, Bounds where it was
    // readme end

    std::cout << (result == host::mrOk ? "mrOk" : "not mrOk") << " on "
              << tables.customers->FieldByName("Company")->AsString() << " in " << ui->Shown().back().Text << "\n";
}
