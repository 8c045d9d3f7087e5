#pragma once
// The order form the README's dialog samples take as given: a shown form
// with an edit on the order's customer number.

#include "examples/readme/SampleTables.h"

#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"

namespace sample {

struct TSampleForm {
    host::TForm* form;
    host::TDBEdit* customerEdit;
    TSampleTables tables;
};

inline TSampleForm MakeSampleForm() {
    host::TForm* form = host::TForm::Create(nullptr);
    form->SetName("OrderForm");
    form->SetBounds(100, 80, 480, 300);
    TSampleTables tables = MakeSampleTables(form);
    host::TDBEdit* edit = host::TDBEdit::Create(form);
    edit->SetName("CustomerEdit");
    edit->SetParent(form);
    edit->SetBounds(16, 16, 121, 21);
    edit->SetDataSource(tables.ordersSource);
    edit->SetDataField("CustNo");
    return {form, edit, tables};
}

} // namespace sample
