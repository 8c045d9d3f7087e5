#pragma once
// The order-entry form and its data, shared by the run-time scene and the
// design-time scene: the form's class (its stored definition is
// examples/TORDERENTRYFORM.form) and the data module its form file refers
// to as Data.

#include "host/core/Component.h"
#include "host/core/Publisher.h"
#include "host/data/MemoryDataSet.h"
#include "host/data/SqlConnection.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"
#include "lookup/Lsdblkp.h"

#include <functional>

namespace demo {

class TOrderEntryForm : public host::TForm {
    HOST_CLASS(TOrderEntryForm, host::TForm)
    static void DeclarePublished(host::TPublisher& publisher);
public:
    host::TDBEdit* CustEdit = nullptr;
    host::TDBEdit* PartEdit = nullptr;
    host::TDBGrid* OrderGrid = nullptr;
    veskar::TSmartDBLookup* CustomerLookup = nullptr;
    veskar::TLookupDialog* PartLookup = nullptr;

    void CustomerNotFound(veskar::TLookupFill* sender, int fieldIndex);

    // The orders the form edits (nil before its data is there).
    host::TDataSet* Orders() const { return FOrders; }
    // The orders' BeforePost: an order whose customer is not on file is
    // refused with a message that says what to do; what was typed stays.
    void CheckCustomer(host::TDataSet* orders);
    // True when the order being edited holds changes not yet posted.
    bool Unsaved() const;
    // Asks "Save changes?" when there are unsaved changes: Yes posts them,
    // No drops them; true unless the clerk cancelled or the post failed.
    bool SaveOrDrop();
    // Drops the order half made, asking nobody (a quit by signal).
    void DropUnsaved();
    // The form closes only after SaveOrDrop agrees.
    bool CloseQuery() override;

    void Notification(host::TComponent* component, host::TOperation operation) override;

protected:
    explicit TOrderEntryForm(host::TComponent* owner) : TForm(owner) {}
    void DoCreate() override;
    void BeforeDestruction() override;

private:
    host::TDataSet* FOrders = nullptr;
};

// A navigator over the orders, for a person at the screen: beside the part
// number, and after the order grid in tab order.
host::TDBNavigator* AddOrderNavigator(TOrderEntryForm* form);

// Moves and, if need be, shrinks Form so that it lies wholly on the screen.
void FitToScreen(host::TCustomForm* form);

// The classes the form file names.
void RegisterOrderEntryClasses();

// Makes one empty table of the data module (tests put storage that fails
// here). Given one, MakeData keeps every table in memory: the customers the
// demo knows and its parts, instead of the database's.
using TTableMaker = std::function<host::TMemoryDataSet*(host::TComponent* owner)>;

// The connection a table of the database is read through, given the
// database's and the table's name ("Customers", "Parts"): the database's
// own unless told otherwise (tests put one that fails here).
using TTableConnection = std::function<host::TSQLConnection*(host::TSQLConnection* database, const char* table)>;

// The data module "Data": customers, parts and orders, tables of the
// database that examples/OrderData.h chooses (an SQLite file by default),
// each with its source (CustomersSource, PartsSource, OrdersSource), a new
// order begun (examples/OrderStore.h). With a TableMaker the orders are in
// memory too, one empty order current. Made in examples/OrderData.cpp.
host::TDataModule* MakeData(const TTableMaker& makeTable = {});
// The same with the database's tables read through what TableConnection
// gives for each.
host::TDataModule* MakeSqlData(const TTableConnection& tableConnection);

} // namespace demo
