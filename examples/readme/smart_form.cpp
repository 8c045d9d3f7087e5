// The README's stored-form sample: a form class whose stored definition
// (TORDERFORM.form, compiled in by veskar_embed_resources) holds a smart
// lookup on the data module Data; an unknown customer number reaches the
// form's published handler.
#include "examples/readme/SampleTables.h"

#include "host/core/Component.h"
#include "host/ui/Keyboard.h"

#include <iostream>

// readme begin
#include "host/core/ClassRegistry.h"
#include "host/core/Publisher.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"
#include "lookup/LkFill.h"
#include "lookup/Package.h"

class TOrderForm : public host::TForm {
    HOST_CLASS(TOrderForm, host::TForm)
    static void DeclarePublished(host::TPublisher& publisher);
public:
    host::TDBEdit* CustomerEdit = nullptr;             // set from the form file
    void CustomerNotFound(veskar::TLookupFill* sender, int fieldIndex);
protected:
    explicit TOrderForm(host::TComponent* owner) : TForm(owner) {}
};

HOST_IMPLEMENT_COMPONENT(TOrderForm, host::TForm)

void TOrderForm::DeclarePublished(host::TPublisher& publisher) {
    auto p = publisher.Of<TOrderForm>();
    p.Field("CustomerEdit", &TOrderForm::CustomerEdit);
    p.Method("CustomerNotFound", &TOrderForm::CustomerNotFound);   // OnLookupError's handler
}

void TOrderForm::CustomerNotFound(veskar::TLookupFill*, int) {
    std::cout << "no customer has that number\n";
}
// readme end

int main() {
    host::Owned<host::TDataModule> data(host::TDataModule::Create(nullptr));
    data->SetName("Data");
    sample::TSampleTables tables = sample::MakeSampleTables(data.get());

    // readme begin
    veskar::RegisterFormClasses();                        // the host's, the SQL and the lookup classes
    host::RegisterClasses({&TOrderForm::ClassInfo()});
    host::Owned<TOrderForm> form(TOrderForm::Create(nullptr));   // reads its stored definition
    // readme end

    form->Show();
    form->CustomerEdit->SetFocus();
    host::Keyboard().Type("1351");
    tables.orders->Post();                                // the edit's text goes to CustNo first
    std::cout << "ShipTo " << tables.orders->FieldByName("ShipTo")->AsString() << "\n";
    tables.orders->Edit();
    tables.orders->FieldByName("CustNo")->SetValue(9999);
}
