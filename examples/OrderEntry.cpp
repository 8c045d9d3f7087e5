#include "examples/OrderEntry.h"

#include "host/core/ClassRegistry.h"
#include "host/ui/Dialogs.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Grids.h"

#include <string>

using namespace host;
using namespace veskar;

namespace demo {

HOST_IMPLEMENT_COMPONENT(TOrderEntryForm, TForm)

void TOrderEntryForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TOrderEntryForm>();
    p.Field("CustEdit", &TOrderEntryForm::CustEdit);
    p.Field("PartEdit", &TOrderEntryForm::PartEdit);
    p.Field("CustomerLookup", &TOrderEntryForm::CustomerLookup);
    p.Field("PartLookup", &TOrderEntryForm::PartLookup);
    p.Method("CustomerNotFound", &TOrderEntryForm::CustomerNotFound);
}

void TOrderEntryForm::CustomerNotFound(TLookupFill*, int) { ShowMessage("No customer has that number."); }

void RegisterOrderEntryClasses() {
    RegisterClasses({&TOrderEntryForm::ClassInfo(), &TPanel::ClassInfo(), &TDBEdit::ClassInfo(), &TDBGrid::ClassInfo(),
                     &TSmartDBLookup::ClassInfo(), &TLookupDialog::ClassInfo()});
}

} // namespace demo
