// A combo box on a field: the field's text shows, the item picked goes into
// the field at once, text typed goes in on Enter or on leaving.

#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/PropertyTypes.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TDBComboBox, TCustomComboBox)

TDBComboBox::TDBComboBox(TComponent* owner) : TCustomComboBox(owner), FDataLink(TFieldDataLink::Create()) {
    FDataLink->SetControl(this);
    FDataLink->SetVisualControl(true);
    FDataLink->OnDataChange = [this](TObject* sender) { DataChange(sender); };
    FDataLink->OnUpdateData = [this](TObject* sender) { UpdateData(sender); };
    FDataLink->OnActiveChange = [this](TObject* sender) { DataChange(sender); };
}

void TDBComboBox::Destroy() {
    // The link goes first, so no notice reaches a half-ended control.
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnUpdateData = nullptr;
    FDataLink->OnActiveChange = nullptr;
    FDataLink->ReleaseFor(this);
    inherited::Destroy();
}

void TDBComboBox::SetDataSource(TDataSource* value) {
    if (!FDataLink->SetDataSourceFor(this, value)) return;
    DataChange(this);
}

void TDBComboBox::SetDataField(const std::string& value) {
    FDataLink->SetFieldName(value);
    DataChange(this);
}

void TDBComboBox::SetReadOnly(bool value) {
    inherited::SetReadOnly(value);
    FDataLink->SetReadOnly(value);
}

void TDBComboBox::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && FDataLink && component == FDataLink->DataSource()) {
        FDataLink->SetDataSource(nullptr);
        DataChange(this);
    }
}

void TDBComboBox::DataChange(TObject*) {
    TField* field = FDataLink->Field();
    const TScopedFlag scoped(FShowing);
    SetText(field ? field->Text() : std::string());
    SetModified(false);
}

bool TDBComboBox::EditCanModify() {
    if (ReadOnly()) return false;
    return inherited::EditCanModify() && FDataLink->Edit();
}

void TDBComboBox::Change() {
    if (!FShowing && FDataLink->Editing()) FDataLink->Modified();
    inherited::Change();
}

// A pick goes into the field at once; a field that cannot take it shows
// its own value again.
void TDBComboBox::Select() {
    const std::string picked = Text();
    if (ReadOnly() || !FDataLink->Edit()) {
        DataChange(this);
        return;
    }
    // Going into edit showed the field's value again: the pick comes back.
    if (Text() != picked) SetText(picked);
    FDataLink->Modified();
    FDataLink->UpdateRecord();
    inherited::Select();
}

void TDBComboBox::UpdateData(TObject*) {
    if (TField* field = FDataLink->Field()) field->SetText(Text());
}

void TDBComboBox::KeyDown(std::uint16_t& key, TShiftState shift) {
    const bool dropped = DroppedDown();
    inherited::KeyDown(key, shift);
    if (dropped || key == 0) return;
    if (key == VK_RETURN && FDataLink->Editing()) {
        FDataLink->UpdateRecord();
    } else if (key == VK_ESCAPE && FDataLink->Editing()) {
        FDataLink->Reset();
        key = 0;
    }
}

void TDBComboBox::CMExit(TMessage& message) {
    // A refused text keeps the focus here, with the text as typed.
    try {
        if (FDataLink->Editing()) FDataLink->UpdateRecord();
    } catch (...) {
        if (CanFocus()) SetFocus();
        throw;
    }
    inherited::CMExit(message);
}

void TDBComboBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBComboBox>();
    p.Redeclare("Cursor").Default(crDefault);
    p.String("DataField", &TDBComboBox::DataField, &TDBComboBox::SetDataField).Default("");
    p.Component("DataSource", &TDBComboBox::DataSource, &TDBComboBox::SetDataSource);
    p.Integer("DropDownCount", &TDBComboBox::DropDownCount, &TDBComboBox::SetDropDownCount).Default(8);
    p.Boolean("ReadOnly", &TDBComboBox::ReadOnly, &TDBComboBox::SetReadOnly).Default(false);
    p.Boolean("Sorted", &TDBComboBox::Sorted, &TDBComboBox::SetSorted).Default(false);
    p.Enumeration("Style", &TDBComboBox::Style, &TDBComboBox::SetStyle, ComboBoxStyleTypeInfo()).Default(csDropDown);
    p.Event("OnChange", &TDBComboBox::OnChange);
    p.Event("OnSelect", &TDBComboBox::OnSelect);
    p.Strings("Items", &TDBComboBox::Items);
}

} // namespace host
