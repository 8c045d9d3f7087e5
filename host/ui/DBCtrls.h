#pragma once
// Data-aware controls. TDBEdit shows one field of a data source's current
// record and writes what is typed back into it.
// DeclarePublished in host/stream/PublishedControls.cpp.

#include "host/data/DataLink.h"
#include "host/data/DataSource.h"
#include "host/ui/StdCtrls.h"

namespace host {

class TDBEdit : public TCustomMaskEdit {
    HOST_CLASS(TDBEdit, TCustomMaskEdit)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    const std::string& DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const std::string& value);
    TField* Field() const { return FDataLink->Field(); }
    // Read-only here, or through the link (a read-only field or dataset does
    // not take typing either, since the link cannot edit).
    void SetReadOnly(bool value) override;
    TFieldDataLink* DataLink() const { return FDataLink.get(); }

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TDBEdit(TComponent* owner);
    void Destroy() override;

    bool EditCanModify() override;
    void Change() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void CMExit(TMessage& message) override;

private:
    void DataChange(TObject* sender);
    void UpdateData(TObject* sender);
    // Writes a pending change into the field.
    void UpdateRecord();

    Owned<TFieldDataLink> FDataLink;
    bool FShowing = false;  // the text is being set from the field
};

} // namespace host
