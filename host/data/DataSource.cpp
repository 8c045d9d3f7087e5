#include "host/data/DataSource.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/data/DataLink.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TDataSource, TComponent)

void TDataSource::Destroy() {
    Destroying();
    while (!FDataLinks.Empty()) FDataLinks.Last()->SetDataSource(nullptr);
    SetDataSet(nullptr);
    inherited::Destroy();
}

TDataLink* TDataSource::DataLinks(int index) const {
    if (index < 0 || index >= DataLinkCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FDataLinks[index];
}

void TDataSource::SetDataSet(TDataSet* value) {
    if (FDataSet == value) return;
    if (FDataSet) FDataSet->RemoveDataSource(this);
    FDataSet = value;
    if (FDataSet) FDataSet->AddDataSource(this);
    UpdateState();
}

void TDataSource::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    UpdateState();
}

void TDataSource::Edit() {
    if (FAutoEdit && FState == dsBrowse && FDataSet) FDataSet->Edit();
}

void TDataSource::AddDataLink(TDataLink* link) { FDataLinks.Add(link); }

void TDataSource::RemoveDataLink(TDataLink* link) { FDataLinks.Remove(link); }

void TDataSource::UpdateState() {
    const TDataSetState state = (FEnabled && FDataSet) ? FDataSet->State() : dsInactive;
    if (state == FState) return;
    FState = state;
    NotifyDataLinks();
    if (OnStateChange) OnStateChange(this);
}

void TDataSource::NotifyDataLinks() {
    FDataLinks.ForEach([](TDataLink* link) { link->UpdateState(); });
}

void TDataSource::DataEvent(TDataEvent event, const void* info) {
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (FState == dsInactive) return;
    FDataLinks.ForEach([&](TDataLink* link) { link->DataEvent(event, info); });
    if (OnDataChange && (event == deFieldChange || event == deRecordChange || event == deDataSetChange ||
                         event == deDataSetScroll || event == deLayoutChange))
        OnDataChange(this, event == deFieldChange ? const_cast<TField*>(static_cast<const TField*>(info)) : nullptr);
}

void TDataSource::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDataSource>();
    p.Boolean("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit).Default(true);
    p.Component("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
    p.Boolean("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(true);
}

} // namespace host
