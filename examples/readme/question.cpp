// The README's question sample: the navigator's Delete asks first, and the
// queued No keeps the record.
#include "examples/readme/SampleTables.h"

#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"

#include <iostream>

int main() {
    host::Owned<host::TForm> form(host::TForm::Create(nullptr));
    sample::TSampleTables tables = sample::MakeSampleTables(form.get());
    host::TDBNavigator* navigator = host::TDBNavigator::Create(form.get());
    navigator->SetParent(form.get());
    navigator->SetDataSource(tables.customersSource);
    host::THeadlessBackend* ui = host::HeadlessBackend();

    // readme begin
    ui->QueueMessageAnswer(host::mrNo);
    navigator->BtnClick(host::nbDelete);            // asks "Delete record?": No keeps it
    // ui->Shown().back(): Kind MessageDlg, Text the question, Detail "Confirm"
    // readme end

    std::cout << ui->Shown().back().Text << " " << tables.customers->RecordCount() << " customers\n";
}
