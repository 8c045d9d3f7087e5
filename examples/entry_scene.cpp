// Order entry, the whole road: the order form is built from its form file
// (examples/TORDERENTRYFORM.form, carried by the program). One smart lookup
// serves the customer: its key pair and result pairs are connection strings,
// its inner dialog captures the customer edit, and a scripted clerk types
// part of a customer number, presses the shortcut, picks a customer in the
// lookup form and presses OK; the number, the ship-to name and the city
// arrive in one step. A lookup dialog serves the part number. What the
// clerk would have seen is printed from the UI back end's record.

#include "examples/OrderData.h"
#include "examples/OrderEntry.h"
#include "examples/Scenes.h"
#include "host/core/ClassRegistry.h"
#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Dialogs.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/Lddlg.h"
#include "lookup/LkFill.h"
#include "lookup/Lsdblkp.h"

#include <iostream>
#include <string>

using namespace host;
using namespace veskar;
using namespace demo;

namespace {

std::string Value(TDataSet* set, const char* field) {
    const TField* f = set->FieldByName(field);
    return f->IsNull() || f->AsString().empty() ? std::string("(empty)") : f->AsString();
}

void PrintOrder(const char* when, TDataSet* orders) {
    std::cout << "  Order " << when << ": number " << Value(orders, "OrderNo") << ", customer "
              << Value(orders, "CustNo") << ", ship to " << Value(orders, "ShipTo") << " in "
              << Value(orders, "ShipCity") << ", part "
              << Value(orders, "PartNo") << "\n";
}

// What appeared on the screen since the last call.
void PrintShown(std::size_t& seen) {
    const auto& shown = HeadlessBackend()->Shown();
    for (; seen < shown.size(); ++seen) {
        const TShownItem& item = shown[seen];
        switch (item.Kind) {
        case TShownKind::ModalForm:
            std::cout << "    [screen] the lookup form \"" << item.Text << "\" opens at " << item.Bounds.Left << ", "
                      << item.Bounds.Top << ", " << item.Bounds.Width() << " x " << item.Bounds.Height() << "\n";
            break;
        case TShownKind::Message:
            std::cout << "    [screen] a message: \"" << item.Text << "\"\n";
            break;
        case TShownKind::Exception:
            std::cout << "    [screen] an error: \"" << item.Text << "\"\n";
            break;
        case TShownKind::AboutBox:
            std::cout << "    [screen] an about box: " << item.Text << "\n";
            break;
        case TShownKind::MessageDlg:
            std::cout << "    [screen] a question (" << item.Detail << "): \"" << item.Text << "\"\n";
            break;
        }
    }
}

// The record under the lookup form's grid, as the clerk reads it.
void ReadRow(const char* what, TDataSet* lookup, const char* key, const char* text) {
    std::cout << "    " << what << ": " << Value(lookup, key) << "  " << Value(lookup, text) << "\n";
}

void PressShortcut(const TWinControl* control) {
    std::cout << "  The clerk presses Ctrl+F1 in " << control->Name() << ".\n";
    Keyboard().Press(VK_F1, TShiftState{ssCtrl});
}

// A slip in a connection string is shown when the text is parsed; the text
// is kept as written and the lists it would fill stay empty.
void ShowMalformedConnection(TSmartDBLookup* lookup, std::size_t& seen) {
    const std::string slip = "ShipTo,Company;ShipCity City";
    std::cout << "\n  A slip in the result pairs: '" << slip << "' (a comma missing).\n";
    lookup->SetResultConnection(slip);
    PrintShown(seen);
    std::cout << "  ConnectionResult still reads '" << lookup->ConnectionResult() << "'; the fill now has "
              << lookup->Fill()->ResultFields()->Count() << " result fields.\n";
    lookup->SetResultConnection("ShipTo,Company;ShipCity,City");
    lookup->SetActive(false);
    lookup->SetActive(true);
    std::cout << "  Put right and switched off and on, it fills " << lookup->Fill()->ResultLinks()->Count()
              << " result fields again.\n";
}

} // namespace

void RunEntryScene() {
    std::cout << "\nPart three: the order-entry form\n\n";
    // The classes the form file names; the program knows which it uses.
    RegisterOrderEntryClasses();
    Owned<TDataModule> data(MakeData());
    auto* orders = As<TDataSet>(data->FindComponent("Orders"));
    auto* customers = As<TDataSet>(data->FindComponent("Customers"));
    auto* parts = As<TDataSet>(data->FindComponent("Parts"));
    std::cout << "  Customers and parts come from " << DescribeOrderDatabase() << ": " << customers->RecordCount()
              << " customers, " << parts->RecordCount() << " parts.\n";
    THeadlessBackend* ui = HeadlessBackend();
    ui->ClearShown();
    std::size_t seen = 0;

    Owned<TOrderEntryForm> form(TOrderEntryForm::Create(nullptr));
    form->Show();
    std::cout << "  The form \"" << form->Caption() << "\" is read from its form file and shown at " << form->Left()
              << ", " << form->Top() << " (" << form->Width() << " x " << form->Height() << ").\n"
              << "  The smart customer lookup (keys '" << form->CustomerLookup->ConnectionKey() << "', results '"
              << form->CustomerLookup->ConnectionResult() << "')\n  captures "
              << form->CustomerLookup->Dialog()->ControlsList()->Count() << " controls, the part lookup "
              << form->PartLookup->ControlsList()->Count() << " (each its key edit and the order grid).\n\n";
    PrintOrder("before", orders);

    std::cout << "\n  The clerk clicks into the customer number and types \"ce\".\n";
    form->CustEdit->SetFocus();
    Keyboard().Type("ce");
    ui->QueueModalAnswer([&](TCustomForm* lookupForm) {
        // Leaving the edit for the lookup form posts "ce" to the field, and
        // the fill finds no such customer yet.
        PrintShown(seen);
        ReadRow("the lookup form opens on", customers, "CustNo", "Company");
        std::cout << "    The clerk presses Down and then Enter (OK).\n";
        (void)lookupForm;
        Keyboard().Press(VK_DOWN);
        ReadRow("the grid now stands on", customers, "CustNo", "Company");
        Keyboard().Press(VK_RETURN);
    });
    PressShortcut(form->CustEdit);
    PrintShown(seen);
    std::cout << "  In one step the dialog copied the number and the fill brought the ship-to name and city.\n";
    PrintOrder("now", orders);

    std::cout << "\n  The clerk moves to the part number and opens its lookup.\n";
    form->PartEdit->SetFocus();
    ui->QueueModalAnswer([&](TCustomForm* lookupForm) {
        PrintShown(seen);
        ReadRow("the lookup form opens on", parts, "PartNo", "Description");
        parts->Last();
        ReadRow("the clerk double-clicks", parts, "PartNo", "Description");
        Mouse().DblClick(As<TDefaultLookupForm>(lookupForm)->lGrid);
    });
    PressShortcut(form->PartEdit);
    PrintShown(seen);
    PrintOrder("now", orders);

    std::cout << "\n  Second thoughts: the customer lookup again, left with Esc.\n";
    form->CustEdit->SetFocus();
    ui->QueueModalAnswer([&](TCustomForm*) {
        PrintShown(seen);
        ReadRow("the lookup form opens on", customers, "CustNo", "Company");
        Keyboard().Press(VK_DOWN);
        std::cout << "    The clerk moves down, then presses Esc.\n";
        Keyboard().Press(VK_ESCAPE);
    });
    PressShortcut(form->CustEdit);
    PrintShown(seen);
    PrintOrder("still", orders);

    std::cout << "\n  A customer number typed in full that is not on file:\n";
    form->CustEdit->Clear();
    Keyboard().Type("ZZ9999");
    form->PartEdit->SetFocus();
    PrintShown(seen);
    PrintOrder("now", orders);

    orders->FieldByName("CustNo")->SetValue("FR1380");
    orders->Post();
    std::cout << "\n  The clerk corrects the number and the order is posted.\n";
    PrintOrder("posted", orders);
    FocusManager().SetFocus(nullptr);

    ShowMalformedConnection(form->CustomerLookup, seen);
}
