#include "host/data/DataSource.h"

#include "host/core/Exception.h"
#include "host/data/DataLink.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TDataSource, TComponent)

namespace {
unsigned long NextSerial() {
    static unsigned long serial = 0;
    return ++serial;
}
} // namespace

void TDataSource::Destroy() {
    Destroying();
    while (!FDataLinks.empty()) FDataLinks.back().Link->SetDataSource(nullptr);
    SetDataSet(nullptr);
    inherited::Destroy();
}

TDataLink* TDataSource::DataLinks(int index) const {
    if (index < 0 || index >= DataLinkCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FDataLinks[static_cast<size_t>(index)].Link;
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

void TDataSource::AddDataLink(TDataLink* link) { FDataLinks.push_back({link, NextSerial()}); }

void TDataSource::RemoveDataLink(TDataLink* link) {
    FDataLinks.erase(std::remove_if(FDataLinks.begin(), FDataLinks.end(), [&](const Entry& e) { return e.Link == link; }),
                     FDataLinks.end());
}

std::vector<TDataSource::Entry> TDataSource::Snapshot() const { return FDataLinks; }

bool TDataSource::StillLinked(const Entry& entry) const {
    return std::any_of(FDataLinks.begin(), FDataLinks.end(),
                       [&](const Entry& e) { return e.Link == entry.Link && e.Serial == entry.Serial; });
}

void TDataSource::UpdateState() {
    const TDataSetState state = (FEnabled && FDataSet) ? FDataSet->State() : dsInactive;
    if (state == FState) return;
    FState = state;
    NotifyDataLinks();
    if (OnStateChange) OnStateChange(this);
}

void TDataSource::NotifyDataLinks() {
    for (const Entry& entry : Snapshot())
        if (StillLinked(entry)) entry.Link->UpdateState();
}

void TDataSource::DataEvent(TDataEvent event, const void* info) {
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (FState == dsInactive) return;
    for (const Entry& entry : Snapshot())
        if (StillLinked(entry)) entry.Link->DataEvent(event, info);
    if (OnDataChange && (event == deFieldChange || event == deRecordChange || event == deDataSetChange ||
                         event == deDataSetScroll || event == deLayoutChange))
        OnDataChange(this, event == deFieldChange ? const_cast<TField*>(static_cast<const TField*>(info)) : nullptr);
}

} // namespace host
