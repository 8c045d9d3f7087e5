// Order entry in a terminal: the order-entry form (read from its form file,
// on the same data as the scripted session) run by the application's loop
// on the terminal back end, for a person at the keyboard and the mouse.
// Beside the form's own keys and the lookup shortcut, the application
// takes a few keys of its own: post, cancel, a new order, quit; the status
// line says which. A navigator beside the part number moves through the
// orders and deletes one after asking.

#include "examples/OrderEntry.h"
#include "examples/OrderStore.h"
#include "examples/Scenes.h"
#include "host/core/Guards.h"
#include "host/data/DataSet.h"
#include "host/terminal/TerminalBackend.h"
#include "host/ui/App.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Messages.h"
#include "host/ui/StdCtrls.h"

#include <memory>
#include <string>
#include <utility>

using namespace host;
using namespace demo;

namespace {

const char* kKeys = "Ctrl+F1 lookup  Tab/Alt+C/Alt+P move  ^S post  ^Z cancel  ^N new order  ^Q quit";
const char* kModalKeys = "Arrows PgUp PgDn move  Enter OK  Esc cancel  double-click picks";

class TInteractiveSession {
public:
    TInteractiveSession(TOrderEntryForm* form, TDataSet* orders) : FForm(form), FOrders(orders) {}

    // The application's own keys; every other key goes to the form.
    void ShortCut(std::uint16_t key, TShiftState shift, bool& handled) {
        if (shift != TShiftState{ssCtrl}) return;
        // A lookup form or a message box answers first; only quitting goes.
        if (TModalRuns::Innermost() && key != 'Q') return;
        switch (key) {
        case 'Q': Application()->Terminate(); break;
        case 'S': Post(); break;
        case 'Z': Cancel(); break;
        case 'N': NewOrder(); break;
        default: return;
        }
        handled = true;
    }

    std::string Status() const {
        // A lookup form is up: its keys (a message box shows its own).
        if (TModalRuns::Innermost()) return kModalKeys;
        std::string state;
        switch (FOrders->State()) {
        case dsEdit: state = "editing"; break;
        case dsInsert: state = "new"; break;
        default: state = "saved"; break;
        }
        // The database numbers an order when it is posted.
        const TField* number = FOrders->FieldByName("OrderNo");
        std::string text = number->IsNull() ? std::string("New order") : "Order " + number->AsString() + " (" + state + ")";
        if (!FNote.empty()) text += " - " + FNote;
        return text + " | " + kKeys;
    }

private:
    bool Editing() const { return FOrders->State() == dsEdit || FOrders->State() == dsInsert; }

    void Post() {
        // What the edits hold counts as typed; a new order left untouched
        // is not stored as an empty numbered one.
        if (Editing()) FOrders->UpdateRecord();
        if (!Editing() || (FOrders->State() == dsInsert && !FOrders->Modified())) {
            FNote = "nothing to post";
            return;
        }
        FOrders->Post();
        FNote = "posted";
    }

    void Cancel() {
        if (!Editing()) return;
        FOrders->Cancel();
        FNote = "changes dropped";
    }

    void NewOrder() {
        BeginNewOrder(FOrders);
        FNote.clear();
        FForm->CustEdit->SetFocus();
    }

    TOrderEntryForm* FForm;
    TDataSet* FOrders;
    std::string FNote;
};

// Captions for the edits, made here for the person at the screen (the
// scripted session reads the form without them); Alt and the marked letter
// moves to the edit.
void AddLabels(TOrderEntryForm* form) {
    const std::pair<const char*, const char*> labels[] = {
        {"CustEdit", "&Customer"}, {"ShipToEdit", "Ship to"}, {"PartEdit", "&Part"}};
    for (const auto& [editName, caption] : labels) {
        auto* edit = dynamic_cast<TWinControl*>(form->FindComponent(editName));
        if (!edit) continue;
        TLabel* label = TLabel::Create(form);
        label->SetCaption(caption);
        label->SetFocusControl(edit);
        label->SetBounds(8, edit->Top() + 2, 80, 17);
        label->SetParent(edit->Parent());
    }
}

// A navigator over the orders beside the part number, for the person at
// the screen: move, insert, delete (after a question), edit, post, cancel.
void AddNavigator(TOrderEntryForm* form) {
    auto* cust = dynamic_cast<TDBEdit*>(form->FindComponent("CustEdit"));
    auto* part = dynamic_cast<TWinControl*>(form->FindComponent("PartEdit"));
    if (!cust || !part) return;
    TDBNavigator* navigator = TDBNavigator::Create(form);
    navigator->SetName("OrderNavigator");
    navigator->SetBounds(236, part->Top(), 168, 21);
    navigator->SetDataSource(cust->DataSource());
    navigator->SetParent(part->Parent());
}

} // namespace

void RunInteractive() {
    RegisterOrderEntryClasses();
    Owned<TDataModule> data(MakeData());
    auto* orders = As<TDataSet>(data->FindComponent("Orders"));

    auto terminal = std::make_unique<term::TTerminalBackend>();
    term::TTerminalBackend* tui = terminal.get();
    std::unique_ptr<TUIBackend> previous = SetUIBackend(std::move(terminal));

    Application()->SetTitle("Order entry");
    TOrderEntryForm* form = nullptr;
    Application()->CreateForm(form);
    AddLabels(form);
    AddNavigator(form);
    TInteractiveSession session(form, orders);
    Application()->OnShortCut = [&](std::uint16_t key, TShiftState shift, bool& handled) {
        session.ShortCut(key, shift, handled);
    };
    tui->SetStatusLine([&] { return session.Status(); });
    // The forms refer to the data and the session: they go first, then the
    // terminal is given back, however the run ends.
    const TFinally cleanup([&] {
        Application()->OnShortCut = nullptr;
        FocusManager().SetFocus(nullptr);
        Application()->DestroyComponents();
        SetUIBackend(std::move(previous));
    });
    Application()->Run();
}
