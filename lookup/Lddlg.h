#pragma once
// Lddlg: the lookup forms. TBaseLookupForm is what the lookup dialog works
// with: a form that shows the records of a data source it is given.
// TDefaultLookupForm is the one used when no other is chosen: a read-only
// grid over the lookup records with OK and Cancel buttons, built from its
// stored form definition.

#include "host/core/Export.h"
#include "host/data/DataSource.h"
#include "host/ui/Buttons.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"

VESKAR_PUBLIC_BEGIN

namespace veskar {

class TBaseLookupForm : public host::TForm {
    HOST_CLASS(TBaseLookupForm, host::TForm)
public:
    // The data source whose records the form shows.
    virtual host::TDataSource* GetDataSource() = 0;
    virtual void SetDataSource(host::TDataSource* Value) = 0;

protected:
    explicit TBaseLookupForm(host::TComponent* AOwner) : TForm(AOwner) {}
};

// A class reference to TBaseLookupForm or a descendant; nil for none.
using TBaseLookupFormClass = const host::TComponentClass*;

class TDefaultLookupForm : public TBaseLookupForm {
    HOST_CLASS(TDefaultLookupForm, TBaseLookupForm)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // The components of the stored form.
    host::TDBGrid* lGrid = nullptr;
    host::TPanel* Panel1 = nullptr;
    host::TBitBtn* bOk = nullptr;
    host::TBitBtn* bCancel = nullptr;

    host::TDataSource* GetDataSource() override;
    void SetDataSource(host::TDataSource* Value) override;
    // The grid's OnDblClick: accepts the record under the cursor.
    void lGridDblClick(host::TObject* Sender);

protected:
    explicit TDefaultLookupForm(host::TComponent* AOwner) : TBaseLookupForm(AOwner) {}
    // The grid only browses: Tab and Shift+Tab leave it for the buttons
    // rather than step across its columns.
    void Loaded() override;
};

namespace Lddlg {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace Lddlg

} // namespace veskar

VESKAR_PUBLIC_END
