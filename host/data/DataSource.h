#pragma once
// TDataSource: the connection between a dataset and the data links of the
// controls and components that show or watch it.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/NotifyList.h"
#include "host/data/DataSet.h"

#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TDataLink;

class TDataSource : public TComponent {
    HOST_CLASS(TDataSource, TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TDataSet* DataSet() const { return FDataSet; }
    void SetDataSet(TDataSet* value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool AutoEdit() const { return FAutoEdit; }
    void SetAutoEdit(bool value) { FAutoEdit = value; }
    // The dataset's state as the links see it (inactive while disabled).
    TDataSetState State() const { return FState; }
    // Puts a browsing dataset into edit state when AutoEdit allows it.
    void Edit();
    int DataLinkCount() const { return FDataLinks.Count(); }
    TDataLink* DataLinks(int index) const;

    TNotifyEvent OnStateChange;
    TEvent<void(TObject* Sender, TField* Field)> OnDataChange;

protected:
    explicit TDataSource(TComponent* owner) : TComponent(owner) {}
    void Destroy() override;

private:
    friend class TDataSet;
    friend class TDataLink;
    VESKAR_LOCAL void AddDataLink(TDataLink* link);
    VESKAR_LOCAL void RemoveDataLink(TDataLink* link);
    void DataEvent(TDataEvent event, const void* info);
    VESKAR_LOCAL void UpdateState();
    VESKAR_LOCAL void NotifyDataLinks();

    TDataSet* FDataSet = nullptr;
    // A link that leaves (or is freed) while a notice runs is skipped, one
    // that joins is not told.
    TNotifyList<TDataLink> FDataLinks;
    TDataSetState FState = dsInactive;
    bool FEnabled = true;
    bool FAutoEdit = true;
};

} // namespace host

VESKAR_PUBLIC_END
