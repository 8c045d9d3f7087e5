// The README's design-time sample: the design package loaded by name, a
// form with a smart lookup read into the designer, its result pairs set in
// the inspector and confirmed in the key link dialog, and the form saved.
#include "examples/readme/SampleTables.h"

#include "host/core/Component.h"
#include "host/ui/Backend.h"
#include "host/ui/Keyboard.h"
#include "lookup/Package.h"

#include <iostream>

namespace {

const char* const formText = R"(object OrderForm: TForm
  Caption = 'Orders'
  object CustomerLookup: TSmartDBLookup
    DataSource = Data.OrdersSource
    LookupDataSource = Data.CustomersSource
    ConnectionKey = 'CustNo,CustNo'
  end
end
)";

} // namespace

// readme begin
#include "host/designer/Designer.h"
// readme end

int main() {
    host::Owned<host::TDataModule> data(host::TDataModule::Create(nullptr));
    data->SetName("Data");
    sample::MakeSampleTables(data.get());
    veskar::RegisterFormClasses();
    // The key link dialog is modal: Enter presses its OK.
    host::HeadlessBackend()->QueueModalAnswer([](host::TCustomForm*) { host::Keyboard().Press(host::VK_RETURN); });

    // readme begin
    host::LoadDesignPackage("VeskarDesign");
    auto designer = host::TFormDesigner::ReadFormText(formText);  // or TFormDesigner(existingForm)
    host::TComponent* lookup = designer->Root()->FindComponent("CustomerLookup");
    designer->Select(lookup);
    designer->Inspector();                        // rows: name, text, editor, attributes
    designer->SetPropertyText("ConnectionResult", "ShipTo,Company;ShipCity,City");
    designer->ExecuteVerb(lookup, "&Result Connections");   // the key link dialog
    designer->IsModified();                       // true after OK, even without changes
    std::string text = designer->SaveFormText();  // non-visual components keep Left/Top
    // readme end

    std::cout << text;
}
