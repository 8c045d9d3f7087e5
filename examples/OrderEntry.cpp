#include "examples/OrderEntry.h"

#include "examples/LookupForms.h"
#include "host/core/ClassRegistry.h"
#include "host/core/Exception.h"
#include "host/ui/Dialogs.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Grids.h"
#include "host/ui/Screen.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>
#include <string>

using namespace host;
using namespace veskar;

namespace demo {

HOST_IMPLEMENT_COMPONENT(TOrderEntryForm, TForm)

void TOrderEntryForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TOrderEntryForm>();
    p.Field("CustEdit", &TOrderEntryForm::CustEdit);
    p.Field("PartEdit", &TOrderEntryForm::PartEdit);
    p.Field("OrderGrid", &TOrderEntryForm::OrderGrid);
    p.Field("CustomerLookup", &TOrderEntryForm::CustomerLookup);
    p.Field("PartLookup", &TOrderEntryForm::PartLookup);
    p.Method("CustomerNotFound", &TOrderEntryForm::CustomerNotFound);
}

void TOrderEntryForm::CustomerNotFound(TLookupFill*, int) { ShowMessage("No customer has that number."); }

void TOrderEntryForm::DoCreate() {
    // The lookup forms say what they pick.
    if (CustomerLookup) CustomerLookup->SetGetLookupFormClass(&CustomerLookupForm);
    if (PartLookup) PartLookup->GetLookupFormClass = &PartLookupForm;
    TDataSource* source = CustEdit ? CustEdit->DataSource() : nullptr;
    FOrders = source ? source->DataSet() : nullptr;
    if (FOrders) {
        FOrders->FreeNotification(this);
        FOrders->BeforePost = TDataSetNotifyEvent::Method(this, &TOrderEntryForm::CheckCustomer);
    }
    inherited::DoCreate();
}

void TOrderEntryForm::BeforeDestruction() {
    // The orders may outlive the form: they must not call it any more.
    if (FOrders) {
        FOrders->BeforePost = nullptr;
        FOrders->RemoveFreeNotification(this);
        FOrders = nullptr;
    }
    inherited::BeforeDestruction();
}

void TOrderEntryForm::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FOrders) FOrders = nullptr;
}

void TOrderEntryForm::CheckCustomer(TDataSet* orders) {
    const TField* customer = orders->FindField("CustNo");
    if (!customer || customer->IsNull() || customer->AsString().empty()) return;
    TDataSource* lookupSource = CustomerLookup ? CustomerLookup->LookupDataSource() : nullptr;
    TDataSet* customers = lookupSource ? lookupSource->DataSet() : nullptr;
    if (!customers) return;
    const std::string number = customer->AsString();
    // Lookup leaves the customer table where the clerk left it.
    if (!customers->Lookup("CustNo", number, "CustNo").IsNull()) return;
    throw Exception("Customer " + number + " is not on file: the order is not posted.\nPick a customer with Ctrl+F1.");
}

bool TOrderEntryForm::Unsaved() const {
    if (!FOrders || (FOrders->State() != dsEdit && FOrders->State() != dsInsert)) return false;
    if (FOrders->Modified()) return true;
    // Typing not yet written to the record: it is in an edit until the
    // edit is left.
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* edit = dynamic_cast<const TCustomEdit*>(Components(i)); edit && edit->Modified()) return true;
    const TCustomEdit* cell = OrderGrid ? OrderGrid->InplaceEditor() : nullptr;
    return cell && cell->Modified();
}

bool TOrderEntryForm::SaveOrDrop() {
    if (!Unsaved()) return true;
    switch (MessageDlg("Save changes?", mtConfirmation, {mbYes, mbNo, mbCancel})) {
    case mrYes:
        try {
            FOrders->Post();
        } catch (const std::exception& e) {
            // Refused: the clerk stays with the order and is told why.
            ShowException(e);
            return false;
        }
        return true;
    case mrNo: FOrders->Cancel(); return true;
    default: return false;
    }
}

void TOrderEntryForm::DropUnsaved() {
    if (FOrders && (FOrders->State() == dsEdit || FOrders->State() == dsInsert)) FOrders->Cancel();
}

bool TOrderEntryForm::CloseQuery() { return inherited::CloseQuery() && SaveOrDrop(); }

TDBNavigator* AddOrderNavigator(TOrderEntryForm* form) {
    if (!form->CustEdit || !form->PartEdit) return nullptr;
    TDBNavigator* navigator = TDBNavigator::Create(form);
    navigator->SetName("OrderNavigator");
    // A child of the form, not of the header it is drawn over, so Tab
    // reaches it after the order grid.
    const TControl* header = form->PartEdit->Parent();
    navigator->SetBounds(header->Left() + 236, header->Top() + form->PartEdit->Top(), 168, 21);
    navigator->SetDataSource(form->CustEdit->DataSource());
    navigator->SetTabStop(true);
    navigator->SetParent(form);
    navigator->BringToFront();
    return navigator;
}

void FitToScreen(TCustomForm* form) {
    // In whole cells, as the form is drawn: its frame's cells from its
    // top left cell on.
    const int screenColumns = Screen()->Width() / kCellWidth;
    const int screenRows = Screen()->Height() / kCellHeight;
    auto extent = [form] {
        const TRect client = form->ClientCells();
        return Point(client.Right + client.Left, client.Bottom + client.Top);
    };
    if (const TPoint size = extent(); size.X > screenColumns || size.Y > screenRows) {
        form->SetWidth(form->Width() - std::max(size.X - screenColumns, 0) * kCellWidth);
        form->SetHeight(form->Height() - std::max(size.Y - screenRows, 0) * kCellHeight);
    }
    const TPoint size = extent();
    const TPoint at = form->SurfaceOrigin();
    const int right = std::min(screenColumns - (at.X + size.X), 0);
    const int down = std::min(screenRows - (at.Y + size.Y), 0);
    // Moved back so that the right and bottom edges are on the screen, then
    // so that the top left corner is.
    const int dx = std::max(right, -at.X);
    const int dy = std::max(down, -at.Y);
    form->SetBounds(form->Left() + dx * kCellWidth, form->Top() + dy * kCellHeight, form->Width(), form->Height());
}

void RegisterOrderEntryClasses() {
    RegisterClasses({&TOrderEntryForm::ClassInfo(), &TPanel::ClassInfo(), &TDBEdit::ClassInfo(), &TDBGrid::ClassInfo(),
                     &TSmartDBLookup::ClassInfo(), &TLookupDialog::ClassInfo()});
}

} // namespace demo
