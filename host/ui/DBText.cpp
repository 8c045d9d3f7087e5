#include "host/core/Publisher.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/PublishLabels.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TDBText, TCustomLabel)

TDBText::TDBText(TComponent* owner) : TCustomLabel(owner), FDataLink(TFieldDataLink::Create()) {
    SetAutoSize(false);
    SetShowAccelChar(false);
    FDataLink->SetControl(this);
    FDataLink->SetVisualControl(true);
    FDataLink->OnDataChange = [this](TObject* sender) { DataChange(sender); };
    FDataLink->OnActiveChange = [this](TObject* sender) { DataChange(sender); };
}

void TDBText::Destroy() {
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnActiveChange = nullptr;
    FDataLink->ReleaseFor(this);
    inherited::Destroy();
}

void TDBText::SetDataSource(TDataSource* value) {
    if (!FDataLink->SetDataSourceFor(this, value)) return;
    DataChange(this);
}

void TDBText::SetDataField(const std::string& value) {
    FDataLink->SetFieldName(value);
    DataChange(this);
}

void TDBText::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && FDataLink && component == FDataLink->DataSource()) {
        FDataLink->SetDataSource(nullptr);
        DataChange(this);
    }
}

std::string TDBText::GetLabelText() const {
    if (TField* field = FDataLink->Field()) return field->DisplayText();
    return ComponentState().Contains(csDesigning) ? Name() : std::string();
}

// The text shown changed: repaint, and fit the width when AutoSize is on.
void TDBText::DataChange(TObject*) {
    AdjustBounds();
    Invalidate();
}

void TDBText::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBText>();
    DeclareLabel(p, false);
    p.String("DataField", &TDBText::DataField, &TDBText::SetDataField).Default("");
    p.Component("DataSource", &TDBText::DataSource, &TDBText::SetDataSource);
}

} // namespace host
