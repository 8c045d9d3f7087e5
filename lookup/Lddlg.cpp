#include "lookup/Lddlg.h"

namespace veskar {

using namespace host;

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TBaseLookupForm, TForm)

HOST_IMPLEMENT_COMPONENT(TDefaultLookupForm, TBaseLookupForm)

TDataSource* TDefaultLookupForm::GetDataSource() { return lGrid ? lGrid->DataSource() : nullptr; }

void TDefaultLookupForm::SetDataSource(TDataSource* Value) {
    if (lGrid) lGrid->SetDataSource(Value);
}

void TDefaultLookupForm::lGridDblClick(TObject* /*Sender*/) { SetModalResult(mrOk); }

namespace Lddlg {

void Initialization() {}
void Finalization() {}

} // namespace Lddlg

} // namespace veskar
