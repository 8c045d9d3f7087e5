#pragma once
// Ldlkpdlg: the lookup dialog. TLookupDialog pairs key fields of a
// destination dataset with key fields of a lookup dataset, captures the
// form's data-aware edits and grids that edit those keys, and on a click of
// the lookup button (or its shortcut) shows a modal grid over the lookup
// dataset and copies the chosen record's keys into the destination.

#include "host/core/Export.h"
#include "host/core/Collection.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/List.h"
#include "host/core/Strings.h"
#include "host/data/DataLink.h"
#include "host/data/DataSource.h"
#include "lookup/Ldcapt.h"

#include <optional>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace veskar {

class TLookupDialog;
// The lookup forms (lookup/Lddlg.h): a program that names them includes it.
class TBaseLookupForm;
using TBaseLookupFormClass = const host::TComponentClass*;

using TGetLookupFormClassEvent = host::TEvent<TBaseLookupFormClass(TLookupDialog* LDialog)>;
// True for a control that is to be collected.
using TConditionMethod = host::TEvent<bool(host::TWinControl* WControl)>;

// Collects Control and every windowed control below it (by parenthood,
// parent before children, children in index order) for which Condition
// holds. Clears List first; a nil list or an unassigned condition leaves it
// alone. An error while one child is visited skips that child; no error
// leaves the procedure.
void GetAllControlsInAList(host::TWinControl* Control, host::TList* List, const TConditionMethod& Condition);

// Lets a component that is not a form own a lookup dialog.
class TLookupContainer : public host::TComponent {
    HOST_CLASS(TLookupContainer, host::TComponent)
protected:
    explicit TLookupContainer(host::TComponent* AOwner) : TComponent(AOwner) {}
};

// One destination key field with its partner in the lookup dataset.
class TLookupFieldConnection : public host::TCollectionItem {
    HOST_CLASS(TLookupFieldConnection, host::TCollectionItem)
public:
    host::TFieldDataLink* KeyLink() const { return FKeyLink.get(); }
    host::TFieldDataLink* LookupLink() const { return FLookupLink.get(); }

protected:
    explicit TLookupFieldConnection(host::TCollection* Collection);

private:
    host::Owned<host::TFieldDataLink> FKeyLink;
    host::Owned<host::TFieldDataLink> FLookupLink;
};

// The dialog's controls list: its two deciding hooks ask the dialog.
class TLookupDialogControlsList : public TLookupControlsList {
    HOST_CLASS(TLookupDialogControlsList, TLookupControlsList)
public:
    TLookupDialog* OwnerDialog() const { return FOwnerDialog; }

    bool CheckControlLookup(host::TWinControl* Control, host::TField* Field) override;
    void LookupButtonClicked(host::TWinControl* Control, host::TField* Field) override;

protected:
    explicit TLookupDialogControlsList(TLookupDialog* OwnerDialog) : FOwnerDialog(OwnerDialog) {}

private:
    TLookupDialog* FOwnerDialog;
};

class TLookupDialog : public host::TComponent {
    HOST_CLASS(TLookupDialog, host::TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // Published.
    host::TDataSource* DataSource() const { return FDataSource; }
    virtual void SetDataSource(host::TDataSource* Value);
    host::TDataSource* LookupDataSource() const { return FLookupDataSource; }
    virtual void SetLookupDataSource(host::TDataSource* Value);
    host::TStrings* KeyFields() const { return FKeyFields.get(); }
    void SetKeyFields(const host::TStrings* Value) { FKeyFields->Assign(Value); }
    host::TStrings* LookupKeyFields() const { return FLookupKeyFields.get(); }
    void SetLookupKeyFields(const host::TStrings* Value) { FLookupKeyFields->Assign(Value); }
    bool Active() const { return FActive; }
    virtual void SetActive(bool Value);
    host::TShortCut GetShortCut() const;
    void SetShortCut(host::TShortCut Value);
    host::TShortCut LookupShortCut() const { return GetShortCut(); }
    void SetLookupShortCut(host::TShortCut Value) { SetShortCut(Value); }
    TGetLookupFormClassEvent GetLookupFormClass;
    host::TNotifyEvent OnSyncLookupDataSource;

    TLookupDialogControlsList* ControlsList() const { return FControlsList.get(); }
    host::TCollection* Connections() const { return FConnections.get(); }
    TLookupFieldConnection* Connection(int Index) const;

    // Capture: which controls, and whether one may offer the lookup now.
    virtual bool CheckControlLookup(host::TWinControl* Control, host::TField* Field);
    virtual void LookupButtonClicked(host::TWinControl* Control, host::TField* Field);
    bool IsControlLookupable(host::TWinControl* Control);
    void CaptureControls();
    void UnCaptureControls();

    // The lookup run.
    virtual void CopyLookupData();
    virtual void GoLookupDialog(host::TWinControl* Control, host::TField* Field, TBaseLookupFormClass FormClass);

    // The links.
    void CreateFieldLinks();
    void DestroyFieldLinks();
    void ActiveChanged(host::TObject* Sender);
    // The first connection whose destination key field is Field; -1 when
    // none is (and for nil).
    int FindKeyField(const host::TField* Field) const;

    // Accepts only a form or a lookup container as owner.
    void ValidateContainer(host::TComponent* AComponent) override;
    void Notification(host::TComponent* AComponent, host::TOperation Operation) override;

protected:
    explicit TLookupDialog(host::TComponent* AOwner);
    void Destroy() override;
    // Freed while its own lookup runs, the dialog lets go of its controls
    // and data sources at once and ends when the run returns.
    void Detach() override;
    void Loaded() override;

private:
    VESKAR_LOCAL host::TWinControl* FindForm() const;
    VESKAR_LOCAL TBaseLookupForm* CreateLookupForm(TBaseLookupFormClass FormClass);
    VESKAR_LOCAL void PositionLookupDataSet(host::TWinControl* Control, host::TField* Field);
    VESKAR_LOCAL void PlaceForm(TBaseLookupForm* Form, host::TWinControl* Control) const;

    bool FActive = true;
    host::TDataSource* FDataSource = nullptr;
    host::TDataSource* FLookupDataSource = nullptr;
    host::Owned<host::TStringList> FKeyFields;
    host::Owned<host::TStringList> FLookupKeyFields;
    host::Owned<TLookupDialogControlsList> FControlsList;
    host::Owned<host::TCollection> FConnections;
};

namespace Ldlkpdlg {

// Puts the unit's component on the designer's palette page "Dravik";
// called by the designer after it loads the package, never at run time.
void Register();

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace Ldlkpdlg

} // namespace veskar

VESKAR_PUBLIC_END
