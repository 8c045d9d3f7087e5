#include "host/ui/DBCtrls.h"

#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TDBEdit, TCustomMaskEdit)

TDBEdit::TDBEdit(TComponent* owner) : TCustomMaskEdit(owner), FDataLink(TFieldDataLink::Create()) {
    FDataLink->SetControl(this);
    FDataLink->SetVisualControl(true);
    FDataLink->OnDataChange = [this](TObject* sender) { DataChange(sender); };
    FDataLink->OnUpdateData = [this](TObject* sender) { UpdateData(sender); };
    FDataLink->OnActiveChange = [this](TObject* sender) { DataChange(sender); };
}

void TDBEdit::Destroy() {
    // The link goes first, so no notice reaches a half-ended control.
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnUpdateData = nullptr;
    FDataLink->OnActiveChange = nullptr;
    FDataLink->ReleaseFor(this);
    inherited::Destroy();
}

void TDBEdit::SetDataSource(TDataSource* value) {
    if (!FDataLink->SetDataSourceFor(this, value)) return;
    DataChange(this);
}

void TDBEdit::SetDataField(const std::string& value) {
    FDataLink->SetFieldName(value);
    DataChange(this);
}

void TDBEdit::SetReadOnly(bool value) {
    inherited::SetReadOnly(value);
    FDataLink->SetReadOnly(value);
}

void TDBEdit::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && FDataLink && component == FDataLink->DataSource())
        FDataLink->SetDataSource(nullptr);
}

void TDBEdit::DataChange(TObject*) {
    TField* field = FDataLink->Field();
    const TScopedFlag scoped(FShowing);
    // A string field takes no more than its size.
    SetMaxLength(field && field->DataType() == ftString ? field->Size() : 0);
    SetText(field ? field->Text() : std::string());
    SetModified(false);
}

bool TDBEdit::EditCanModify() {
    if (ReadOnly()) return false;
    // Puts the dataset into edit through the data source; false when it
    // cannot (no field, read-only field or dataset, AutoEdit off).
    return FDataLink->Edit();
}

void TDBEdit::Change() {
    if (!FShowing) FDataLink->Modified();
    inherited::Change();
}

void TDBEdit::UpdateData(TObject*) {
    if (TField* field = FDataLink->Field()) field->SetText(Text());
}

void TDBEdit::UpdateRecord() {
    if (!FDataLink->Editing()) return;
    FDataLink->UpdateRecord();
    // Shows the value as the field stored it.
    DataChange(this);
}

void TDBEdit::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (key == VK_RETURN) {
        UpdateRecord();
    } else if (key == VK_ESCAPE && FDataLink->Editing()) {
        // Takes the field's value back.
        FDataLink->Reset();
        key = 0;
    }
}

void TDBEdit::CMExit(TMessage& message) {
    // Leaving for another control of the form writes the text; a refused
    // text keeps the focus here, with the text as typed.
    try {
        UpdateRecord();
    } catch (...) {
        if (CanFocus()) SetFocus();
        throw;
    }
    inherited::CMExit(message);
}

void TDBEdit::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBEdit>();
    p.String("DataField", &TDBEdit::DataField, &TDBEdit::SetDataField).Default("");
    p.Component("DataSource", &TDBEdit::DataSource, &TDBEdit::SetDataSource);
    p.Boolean("ReadOnly", &TDBEdit::ReadOnly, &TDBEdit::SetReadOnly).Default(false);
}

} // namespace host
