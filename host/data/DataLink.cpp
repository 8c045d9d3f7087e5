#include "host/data/DataLink.h"

#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/data/DataSource.h"

namespace host {

HOST_IMPLEMENT_CLASS(TDataLink, TPersistent)
HOST_IMPLEMENT_CLASS(TFieldDataLink, TDataLink)

// ---- TDataLink -----------------------------------------------------------

TDataSet* TDataLink::DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }

void TDataLink::Detach() {
    FActive = false;
    FEditing = false;
    if (FDataSource) {
        FDataSource->RemoveDataLink(this);
        FDataSource = nullptr;
    }
}

void TDataLink::Destroy() {
    Detach();
    inherited::Destroy();
}

bool TDataLink::SetDataSourceFor(TComponent* holder, TDataSource* value) {
    TDataSource* old = FDataSource;
    if (old == value) return false;
    if (old) old->RemoveFreeNotification(holder);
    SetDataSource(value);
    if (value) value->FreeNotification(holder);
    return true;
}

void TDataLink::SetDataSource(TDataSource* value) {
    if (FDataSource == value) return;
    TKeepAlive alive(this);
    if (FDataSource) FDataSource->RemoveDataLink(this);
    FDataSource = value;
    if (FDataSource) FDataSource->AddDataLink(this);
    UpdateState();
}

void TDataLink::SetReadOnly(bool value) {
    if (FReadOnly == value) return;
    FReadOnly = value;
    TKeepAlive alive(this);
    UpdateState();
}

void TDataLink::UpdateState() {
    if (FreePending()) return;
    TKeepAlive alive(this);
    const bool active = FDataSource && FDataSource->State() != dsInactive;
    SetActive(active);
    const TDataSetState state = FDataSource ? FDataSource->State() : dsInactive;
    SetEditing(active && (state == dsEdit || state == dsInsert) && !FReadOnly);
}

void TDataLink::SetActive(bool value) {
    if (FActive == value) return;
    FActive = value;
    if (!value) SetEditing(false);
    ActiveChanged();
}

void TDataLink::SetEditing(bool value) {
    if (FEditing == value || FreePending()) return;
    FEditing = value;
    EditingChanged();
}

bool TDataLink::Edit() {
    if (!FReadOnly && FDataSource) FDataSource->Edit();
    return FEditing;
}

void TDataLink::UpdateRecord() {
    const TScopedFlag updating(FUpdating);
    UpdateData();
}

void TDataLink::DataEvent(TDataEvent event, const void* info) {
    if (!FActive || FreePending()) return;
    TKeepAlive alive(this);
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!FUpdating) RecordChanged(const_cast<TField*>(static_cast<const TField*>(info)));
        break;
    case deDataSetChange: DataSetChanged(); break;
    case deDataSetScroll: DataSetScrolled(info ? *static_cast<const int*>(info) : 0); break;
    case deLayoutChange: LayoutChanged(); break;
    case deUpdateRecord: UpdateRecord(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    case deFocusControl: FocusControl(const_cast<TField*>(static_cast<const TField*>(info))); break;
    case deUpdateState: UpdateState(); break;
    }
}

// ---- TFieldDataLink ------------------------------------------------------

void TFieldDataLink::SetFieldName(const std::string& value) {
    if (FFieldName == value) return;
    FFieldName = value;
    UpdateField();
}

void TFieldDataLink::UpdateField() {
    if (Active() && !FFieldName.empty()) {
        FField = nullptr;
        SetField(DataSet()->FieldByName(FFieldName));
    } else {
        SetField(nullptr);
    }
}

void TFieldDataLink::SetField(TField* value) {
    if (FField == value) return;
    FField = value;
    EditingChanged();
    RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const { return !ReadOnly() && FField && FField->CanModify(); }

bool TFieldDataLink::Edit() {
    if (CanModify()) TDataLink::Edit();
    return FEditing;
}

void TFieldDataLink::Reset() { RecordChanged(nullptr); }

void TFieldDataLink::ActiveChanged() {
    UpdateField();
    if (OnActiveChange) OnActiveChange(this);
}

void TFieldDataLink::EditingChanged() { SetEditingState(TDataLink::Editing() && CanModify()); }

void TFieldDataLink::SetEditingState(bool value) {
    if (FEditing == value) return;
    FEditing = value;
    FModified = false;
    if (OnEditingChange) OnEditingChange(this);
}

void TFieldDataLink::RecordChanged(TField* field) {
    if (!field || field == FField) {
        if (OnDataChange) OnDataChange(this);
        FModified = false;
    }
}

void TFieldDataLink::UpdateData() {
    if (!FModified) return;
    if (FField && OnUpdateData) OnUpdateData(this);
    FModified = false;
}

void TFieldDataLink::LayoutChanged() { UpdateField(); }

} // namespace host
