#pragma once
// Lddsgn: design-time support. The key link dialog in which field pairs are
// made, the routines and the property editor that edit the pairs of the
// three components with it or as text, the components' context-menu editors,
// and Register, which the designer calls after loading the package.
//
// TKeyLinkDlg's code is in design/KeyLinkDlg.cpp, the rest in Lddsgn.cpp.

#include "host/core/Export.h"
#include "host/core/Collection.h"
#include "host/core/Strings.h"
#include "host/data/DataSource.h"
#include "host/data/Field.h"
#include "host/designer/CompEdit.h"
#include "host/designer/PropEdit.h"
#include "host/ui/Buttons.h"
#include "host/ui/Forms.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"

#include <cstdint>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace veskar {

class TLookupDialog;
class TLookupFill;
class TSmartDBLookup;

// One field of a dataset as the key link dialog knows it.
class TFieldItem : public host::TCollectionItem {
    HOST_CLASS(TFieldItem, host::TCollectionItem)
public:
    std::string FieldName;
    host::TFieldType DataType = static_cast<host::TFieldType>(0);
    std::int32_t DataSize = 0;

protected:
    explicit TFieldItem(host::TCollection* Collection) : TCollectionItem(Collection) {}
};

// The three-column dialog that pairs destination fields with lookup fields.
// Built from its stored form TKEYLINKDLG; used once per edit and freed by
// its caller.
class TKeyLinkDlg : public host::TForm {
    HOST_CLASS(TKeyLinkDlg, host::TForm)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // The components of the stored form.
    host::TSpeedButton* bAdd = nullptr;
    host::TSpeedButton* bRemove = nullptr;
    host::TBitBtn* bOK = nullptr;
    host::TBitBtn* bCancel = nullptr;
    host::TStaticText* LeftLabel = nullptr;
    host::TStaticText* RightLabel = nullptr;
    host::TStaticText* MiddleLabel = nullptr;
    host::TListBox* LeftListBox = nullptr;
    host::TListBox* RightListBox = nullptr;
    host::TListBox* MiddleListBox = nullptr;

    // The pairs: entry n of KeyFields (destination side) with entry n of
    // LookupFields. Callers fill them before and read them after the run.
    host::TStringList* KeyFields() const { return FKeyFields.get(); }
    host::TStringList* LookupFields() const { return FLookupFields.get(); }
    // The fields of the two datasets, in their field order.
    host::TCollection* DestinationItems() const { return FDestinationItems.get(); }
    host::TCollection* LookupItems() const { return FLookupItems.get(); }

    host::TDataSource* DataSource() const { return FDataSource; }
    host::TDataSource* LookupDataSource() const { return FLookupDataSource; }
    // A new data source reads its dataset's fields at once.
    void SetDataSource(host::TDataSource* Value);
    void SetLookupDataSource(host::TDataSource* Value);
    void SetKeyFields(const host::TStrings* Value) { FKeyFields->Assign(Value); }
    void SetLookupFields(const host::TStrings* Value) { FLookupFields->Assign(Value); }

    // The dialog's steps.
    void GetFieldsList(host::TDataSource* DataSource, host::TCollection* Collection);
    int FindInCollectionList(const std::string& Name, const host::TCollection* Collection, bool CaseSensitive) const;
    int FindInStringList(const std::string& Name, const host::TStrings* Strings, bool CaseSensitive) const;
    void PopulateLeft();
    void PopulateRight();
    void PopulateMiddle();
    void MatchLeftRight();

    // The stored form's event handlers.
    void LeftListBoxClick(host::TObject* Sender);
    void RightListBoxClick(host::TObject* Sender);
    void MiddleListBoxClick(host::TObject* Sender);
    void MiddleListBoxExit(host::TObject* Sender);
    void bAddClick(host::TObject* Sender);
    void bRemoveClick(host::TObject* Sender);

    void Notification(host::TComponent* AComponent, host::TOperation Operation) override;

protected:
    explicit TKeyLinkDlg(host::TComponent* AOwner);
    void Destroy() override;
    // Checks the data sources, repairs the pairs and fills the three lists.
    void DoShow() override;

private:
    VESKAR_LOCAL void RepairPairs();
    // Deletes the pairs whose Side entry is not among Items, one message each.
    VESKAR_LOCAL void DropMissing(host::TStrings* Side, const host::TCollection* Items);
    VESKAR_LOCAL void Populate(host::TListBox* ListBox, const host::TCollection* Items, const host::TStrings* Used);
    VESKAR_LOCAL TFieldItem* SelectedItem(const host::TListBox* ListBox, const host::TCollection* Items) const;

    host::Owned<host::TStringList> FKeyFields;
    host::Owned<host::TStringList> FLookupFields;
    host::Owned<host::TCollection> FDestinationItems;
    host::Owned<host::TCollection> FLookupItems;
    host::TDataSource* FDataSource = nullptr;
    host::TDataSource* FLookupDataSource = nullptr;
};

// The edit routines: run the key link dialog for a component's key pairs
// (KeyConnection true) or result pairs, and write the pairs back on OK.
// True exactly when OK was pressed and the component written; false for a
// nil component. The caller tells the designer of the change.
bool EditLookupDialogConnections(TLookupDialog* LookupDialog);
bool EditLookupFillConnections(TLookupFill* LookupFill, bool KeyConnection);
bool EditSmartDBLookupConnections(TSmartDBLookup* SmartDBLookup, bool KeyConnection);

// The object inspector's editor of every field-pair property: the pairs as
// text, typed text stored, the key link dialog behind "...". Works on the
// first selected component; not offered for several.
class TConnPropEditor : public host::TPropertyEditor {
    HOST_PROPERTY_EDITOR(TConnPropEditor)
public:
    void Edit() override;
    host::TPropertyAttributes GetAttributes() const override;
    std::string GetValue() const override;
    void SetValue(const std::string& Value) override;

private:
    VESKAR_LOCAL bool IsProperty(const char* Name) const;
};

// The context-menu editors of the three components.
class TLDialogEditor : public host::TComponentEditor {
    HOST_COMPONENT_EDITOR(TLDialogEditor)
public:
    void ExecuteVerb(int Index) override;
    std::string GetVerb(int Index) override;
    int GetVerbCount() override;
};

class TLFillEditor : public host::TComponentEditor {
    HOST_COMPONENT_EDITOR(TLFillEditor)
public:
    void ExecuteVerb(int Index) override;
    std::string GetVerb(int Index) override;
    int GetVerbCount() override;
};

class TSDBLEditor : public host::TComponentEditor {
    HOST_COMPONENT_EDITOR(TSDBLEditor)
public:
    void ExecuteVerb(int Index) override;
    std::string GetVerb(int Index) override;
    int GetVerbCount() override;
};

namespace Lddsgn {

// Registers the editors of the three components with the designer.
void Register();

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace Lddsgn

} // namespace veskar

VESKAR_PUBLIC_END
