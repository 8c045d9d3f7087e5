#pragma once
// Data links: how a control or component hears of a data source's changes.
//
// A link may be freed from inside a notice it is handling (a handler that
// rebuilds its links). Freeing it then only detaches it; the memory goes
// when its notice returns, so the code still running on it stays valid.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/data/DataSet.h"

VESKAR_PUBLIC_BEGIN

namespace host {

class TDataSource;

class TDataLink : public TPersistent {
    HOST_CLASS(TDataLink, TPersistent)
public:
    TDataSource* DataSource() const { return FDataSource; }
    void SetDataSource(TDataSource* value);
    // For the component that keeps the link: the source tells Holder of its
    // removal, and the free notification moves along with the source.
    // Answers false when Value is the source already.
    bool SetDataSourceFor(TComponent* holder, TDataSource* value);
    // Leaves the source and its notices to Holder, as Holder ends.
    void ReleaseFor(TComponent* holder) { SetDataSourceFor(holder, nullptr); }
    TDataSet* DataSet() const;
    bool Active() const { return FActive; }
    bool Editing() const { return FEditing; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // True for links of visual controls.
    bool VisualControl() const { return FVisualControl; }
    void SetVisualControl(bool value) { FVisualControl = value; }
    // Puts the dataset into edit state through the data source when it can;
    // answers Editing.
    virtual bool Edit();
    // Asks the link to write its pending value into the field.
    void UpdateRecord();

protected:
    TDataLink() = default;
    void Destroy() override;
    // Leaves the data source without the notices a deactivation would send:
    // the owner is letting the link go and does not want to hear of it.
    void Detach() override;

    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int /*distance*/) { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* /*field*/) {}
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}
    virtual void FocusControl(TField* /*field*/) {}

private:
    friend class TDataSource;
    void DataEvent(TDataEvent event, const void* info);
    VESKAR_LOCAL void UpdateState();
    void SetActive(bool value);
    VESKAR_LOCAL void SetEditing(bool value);

    TDataSource* FDataSource = nullptr;
    bool FActive = false;
    bool FEditing = false;
    bool FReadOnly = false;
    bool FUpdating = false;
    bool FVisualControl = false;
};

class TFieldDataLink : public TDataLink {
    HOST_CLASS(TFieldDataLink, TDataLink)
public:
    const std::string& FieldName() const { return FFieldName; }
    // Resolves the name against the open dataset: raises EDatabaseError for
    // a name it does not know; no field while the dataset is closed.
    void SetFieldName(const std::string& value);
    TField* Field() const { return FField; }
    TComponent* Control() const { return FControl; }
    void SetControl(TComponent* value) { FControl = value; }
    bool Editing() const { return FEditing; }
    bool CanModify() const;
    bool Edit() override;
    // A control calls it when its text changed, so the next update writes.
    void Modified() { FModified = true; }
    void Reset();

    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;
    TNotifyEvent OnActiveChange;

protected:
    TFieldDataLink() = default;
    void ActiveChanged() override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;
    void LayoutChanged() override;

private:
    VESKAR_LOCAL void UpdateField();
    VESKAR_LOCAL void SetField(TField* value);
    VESKAR_LOCAL void SetEditingState(bool value);

    TField* FField = nullptr;
    std::string FFieldName;
    TComponent* FControl = nullptr;
    bool FEditing = false;
    bool FModified = false;
};

} // namespace host

VESKAR_PUBLIC_END
