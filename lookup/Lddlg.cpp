#include "lookup/Lddlg.h"

#include "host/core/Publisher.h"

namespace veskar {

using namespace host;

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TBaseLookupForm, TForm)

HOST_IMPLEMENT_COMPONENT(TDefaultLookupForm, TBaseLookupForm)

void TDefaultLookupForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDefaultLookupForm>();
    p.Field("lGrid", &TDefaultLookupForm::lGrid);
    p.Field("Panel1", &TDefaultLookupForm::Panel1);
    p.Field("bOk", &TDefaultLookupForm::bOk);
    p.Field("bCancel", &TDefaultLookupForm::bCancel);
    p.Method("lGridDblClick", &TDefaultLookupForm::lGridDblClick);
}

TDataSource* TDefaultLookupForm::GetDataSource() { return lGrid ? lGrid->DataSource() : nullptr; }

void TDefaultLookupForm::SetDataSource(TDataSource* Value) {
    if (lGrid) lGrid->SetDataSource(Value);
}

void TDefaultLookupForm::lGridDblClick(TObject* /*Sender*/) { SetModalResult(mrOk); }

void TDefaultLookupForm::Loaded() {
    inherited::Loaded();
    if (!lGrid || lGrid->OnKeyDown) return;
    lGrid->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState shift) {
        if (key == VK_TAB && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && DialogKey(key, shift)) key = 0;
    };
}

namespace Lddlg {

void Initialization() {}
void Finalization() {}

} // namespace Lddlg

} // namespace veskar
