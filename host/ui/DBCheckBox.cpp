#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/PublishLabels.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TDBCheckBox, TCustomCheckBox)

namespace {

// The first of a ";"-separated list of values.
std::string FirstValue(const std::string& values) { return values.substr(0, values.find(';')); }

bool InValues(const std::string& text, const std::string& values) {
    size_t start = 0;
    while (start <= values.size()) {
        size_t end = values.find(';', start);
        if (end == std::string::npos) end = values.size();
        if (SameText(values.substr(start, end - start), text)) return true;
        start = end + 1;
    }
    return false;
}

} // namespace

TDBCheckBox::TDBCheckBox(TComponent* owner) : TCustomCheckBox(owner), FDataLink(TFieldDataLink::Create()) {
    SetState(cbUnchecked);
    FDataLink->SetControl(this);
    FDataLink->SetVisualControl(true);
    FDataLink->OnDataChange = [this](TObject* sender) { DataChange(sender); };
    FDataLink->OnUpdateData = [this](TObject* sender) { UpdateData(sender); };
    FDataLink->OnActiveChange = [this](TObject* sender) { DataChange(sender); };
}

void TDBCheckBox::Destroy() {
    FDataLink->OnDataChange = nullptr;
    FDataLink->OnUpdateData = nullptr;
    FDataLink->OnActiveChange = nullptr;
    FDataLink->ReleaseFor(this);
    inherited::Destroy();
}

void TDBCheckBox::SetDataSource(TDataSource* value) {
    if (!FDataLink->SetDataSourceFor(this, value)) return;
    DataChange(this);
}

void TDBCheckBox::SetDataField(const std::string& value) {
    FDataLink->SetFieldName(value);
    DataChange(this);
}

void TDBCheckBox::SetValueChecked(const std::string& value) {
    FValueChecked = value;
    DataChange(this);
}

void TDBCheckBox::SetValueUnchecked(const std::string& value) {
    FValueUnchecked = value;
    DataChange(this);
}

void TDBCheckBox::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && FDataLink && component == FDataLink->DataSource()) {
        FDataLink->SetDataSource(nullptr);
        DataChange(this);
    }
}

TCheckBoxState TDBCheckBox::FieldState() const {
    TField* field = FDataLink->Field();
    if (!field) return cbUnchecked;
    if (field->IsNull()) return cbGrayed;
    if (field->DataType() == ftBoolean) return field->AsBoolean() ? cbChecked : cbUnchecked;
    const std::string text = field->Text();
    if (InValues(text, FValueChecked)) return cbChecked;
    if (InValues(text, FValueUnchecked)) return cbUnchecked;
    return cbGrayed;
}

void TDBCheckBox::DataChange(TObject*) {
    const TScopedFlag showing(FShowing);
    SetState(FieldState());
}

// A toggle by the user goes into the field at once; a field that cannot be
// edited keeps the box as the field says.
void TDBCheckBox::Toggle() {
    if (!FDataLink->Edit()) return;
    const TCheckBoxState next = State() == cbChecked ? cbUnchecked : cbChecked;
    SetState(next);
    FDataLink->Modified();
    FDataLink->UpdateRecord();
}

void TDBCheckBox::UpdateData(TObject*) {
    TField* field = FDataLink->Field();
    if (!field) return;
    if (State() == cbGrayed) {
        field->Clear();
    } else if (field->DataType() == ftBoolean) {
        field->SetValue(Variant(State() == cbChecked));
    } else {
        field->SetText(FirstValue(State() == cbChecked ? FValueChecked : FValueUnchecked));
    }
}

void TDBCheckBox::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBCheckBox>();
    // What a new one is, is not written.
    p.Redeclare("TabStop").Default(true);
    DeclareCheckBox(p);
    p.String("DataField", &TDBCheckBox::DataField, &TDBCheckBox::SetDataField).Default("");
    p.Component("DataSource", &TDBCheckBox::DataSource, &TDBCheckBox::SetDataSource);
    p.Boolean("ReadOnly", &TDBCheckBox::ReadOnly, &TDBCheckBox::SetReadOnly).Default(false);
    p.String("ValueChecked", &TDBCheckBox::ValueChecked, &TDBCheckBox::SetValueChecked).Default("True");
    p.String("ValueUnchecked", &TDBCheckBox::ValueUnchecked, &TDBCheckBox::SetValueUnchecked).Default("False");
}

} // namespace host
