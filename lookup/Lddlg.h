#pragma once
// Lddlg: the lookup forms. TBaseLookupForm is what the lookup dialog works
// with: a form that shows the records of a data source it is given.
// TDefaultLookupForm is the one used when no other is chosen: a read-only
// grid over the lookup records with OK and Cancel buttons, built from its
// stored form definition. TSearchLookupForm is a ready alternative, chosen
// through the dialog's GetLookupFormClass: the same grid under a search edit
// that finds records as the user types.

#include "host/core/Export.h"
#include "host/data/DataSource.h"
#include "host/ui/Buttons.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/StdCtrls.h"

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

// A lookup form that searches as the user types. The search edit above the
// grid starts with what was typed into the control the lookup was opened
// from (the lookup records stay where the dialog put them); each change of
// its text moves to the first record whose searched column begins with it,
// letter case ignored, through the dataset's Locate (an index or a query
// where the dataset has one). The searched column is the grid's first until
// the user picks another: a click on its title, or Ctrl+Left and Ctrl+Right
// in the search edit. While nothing matches, the form says "no match" and
// OK is disabled, so a record is never taken blindly; Up, Down, Page Up and
// Page Down move the grid without leaving the search edit (and choose the
// record they land on), Enter takes it, Esc cancels.
class TSearchLookupForm : public TBaseLookupForm {
    HOST_CLASS(TSearchLookupForm, TBaseLookupForm)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // The components of the stored form.
    host::TPanel* SearchPanel = nullptr;
    host::TLabel* lSearch = nullptr;
    host::TEdit* eSearch = nullptr;
    host::TLabel* lMatch = nullptr;
    host::TDBGrid* lGrid = nullptr;
    host::TPanel* Panel1 = nullptr;
    host::TBitBtn* bOk = nullptr;
    host::TBitBtn* bCancel = nullptr;

    host::TDataSource* GetDataSource() override;
    void SetDataSource(host::TDataSource* Value) override;

    // The field searched (nil before a data source is set).
    host::TField* SearchField() const;
    // Searches the grid's column Index (counted from 0; out of range is
    // ignored) from now on, with the text already typed.
    void SetSearchColumn(int Index);
    // True while the search text matches no record.
    bool NoMatch() const { return FNoMatch; }

    // Handlers the stored form names.
    void eSearchChange(host::TObject* Sender);
    void eSearchKeyDown(host::TObject* Sender, std::uint16_t& Key, host::TShiftState Shift);
    void lGridDblClick(host::TObject* Sender);
    void lGridMouseDown(host::TObject* Sender, host::TMouseButton Button, host::TShiftState Shift, int X, int Y);

protected:
    explicit TSearchLookupForm(host::TComponent* AOwner) : TBaseLookupForm(AOwner) {}
    // Hooks the grid's title clicks and the search edit's changes, which
    // the stored form cannot name.
    void Loaded() override;

private:
    VESKAR_LOCAL void Search();
    VESKAR_LOCAL void ShowMatch(bool Matched);
    VESKAR_LOCAL void ShowSearchColumn();
    VESKAR_LOCAL void MoveGrid(int Distance);

    int FSearchColumn = 0;
    bool FNoMatch = false;
    bool FPrefilling = false;
};

namespace Lddlg {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace Lddlg

} // namespace veskar

VESKAR_PUBLIC_END
