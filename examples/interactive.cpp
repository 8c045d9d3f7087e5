// Order entry in a terminal: the order-entry form (read from its form file,
// on the same data as the scripted session) run by the application's loop
// on the terminal back end, for a person at the keyboard and the mouse.
// Beside the form's own keys and the lookup shortcut, the application
// takes a few keys of its own: post, cancel, a new order, quit; the status
// line says which. A navigator beside the part number moves through the
// orders and deletes one after asking. Quitting with changes not posted
// asks first; SIGTERM and SIGHUP drop them and quit cleanly.

#include "examples/OrderEntry.h"
#include "examples/OrderStore.h"
#include "examples/QuitSignals.h"
#include "examples/Scenes.h"
#include "host/core/Guards.h"
#include "host/data/DataSet.h"
#include "host/gtk/GtkBackend.h"
#include "host/terminal/TerminalBackend.h"
#include "host/ui/App.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Messages.h"
#include "host/ui/Screen.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>

using namespace host;
using namespace demo;

namespace {

// The keys, from the whole text down to the most important ones; the status
// line takes the longest that fits beside the order's state.
const char* const kKeys[] = {"Ctrl+F1 lookup  Tab/Alt+C/Alt+P move  ^S post  ^Z cancel  ^N new order  ^Q quit",
                             "Ctrl+F1 lookup  ^S post  ^Z cancel  ^N new order  ^Q quit",
                             "^F1 lookup ^S post ^Z cancel ^N new ^Q quit"};
const char* kModalKeys = "Arrows PgUp PgDn move  Enter OK  Esc cancel  double-click picks";

int ScreenColumns() { return Screen()->Width() / kCellWidth; }

class TInteractiveSession {
public:
    TInteractiveSession(TOrderEntryForm* form, TDataSet* orders) : FForm(form), FOrders(orders) {}

    // The application's own keys; every other key goes to the form.
    void ShortCut(std::uint16_t key, TShiftState shift, bool& handled) {
        if (shift != TShiftState{ssCtrl}) return;
        // A lookup form or a message box answers first; only quitting goes.
        if (TModalRuns::Innermost() && key != 'Q') return;
        switch (key) {
        case 'Q': Quit(); break;
        case 'S': Post(); break;
        case 'Z': Cancel(); break;
        case 'N': NewOrder(); break;
        default: return;
        }
        handled = true;
    }

    // A quit signal: nobody is asked, nothing half made is saved.
    void QuitBySignal() {
        FForm->DropUnsaved();
        Application()->Terminate();
    }

    // What the order holds, told on quitting (in a window nobody reads a
    // status line from outside).
    void SetReport(std::ostream* out) { FReport = out; }
    void Report(std::ostream& out) const {
        out << "order: " << StateName() << "\n";
        for (const char* name : {"CustEdit", "ShipToEdit", "PartEdit"})
            if (auto* edit = dynamic_cast<const TCustomEdit*>(FForm->FindComponent(name)))
                out << name << ": " << edit->Text() << "\n";
        out.flush();
    }

    std::string Status() const {
        // A lookup form is up: its keys (a message box shows its own).
        if (TModalRuns::Innermost()) return kModalKeys;
        // The database numbers an order when it is posted.
        const TField* number = FOrders->FieldByName("OrderNo");
        const std::string order = number->IsNull() ? std::string("New order") : "Order " + number->AsString() + " (" + StateName() + ")";
        std::string text = order;
        // A note tells what the last key did, while the order it was about
        // stays as that key left it.
        if (!FNote.empty() && NoteContext() == FNoteContext) text += " - " + FNote;
        const size_t columns = static_cast<size_t>(std::max(ScreenColumns(), 1));
        // Shorter keys first, then the note goes.
        for (const std::string& left : {text, order}) {
            for (const char* keys : kKeys) {
                const std::string line = left + " | " + keys;
                if (line.size() <= columns) return line;
            }
        }
        // Even the shortest keys do not fit: the state gives way, the keys stay.
        const std::string keys = std::string(" | ") + kKeys[std::size(kKeys) - 1];
        if (keys.size() >= columns) return keys.substr(3);
        return text.substr(0, columns - keys.size()) + keys;
    }

private:
    bool Editing() const { return FOrders->State() == dsEdit || FOrders->State() == dsInsert; }

    std::string StateName() const {
        switch (FOrders->State()) {
        case dsEdit: return "editing";
        case dsInsert: return "new";
        default: return "saved";
        }
    }
    std::string NoteContext() const { return FOrders->FieldByName("OrderNo")->AsString() + "/" + StateName(); }
    void Note(const char* note) {
        FNote = note;
        FNoteContext = NoteContext();
    }

    void Quit() {
        // One question at a time, even when Ctrl+Q is pressed in it.
        if (FAsking) return;
        if (FReport) Report(*FReport);
        bool quit = false;
        {
            const TScopedFlag asking(FAsking);
            quit = FForm->SaveOrDrop();
        }
        if (quit) Application()->Terminate();
    }

    void Post() {
        // What the edits hold counts as typed; a new order left untouched
        // is not stored as an empty numbered one.
        if (Editing()) FOrders->UpdateRecord();
        if (!Editing() || (FOrders->State() == dsInsert && !FOrders->Modified())) {
            Note("nothing to post");
            return;
        }
        Note("not posted");
        FOrders->Post();
        Note("posted");
    }

    void Cancel() {
        if (!Editing()) return;
        FOrders->Cancel();
        Note("dropped");
    }

    void NewOrder() {
        BeginNewOrder(FOrders);
        FNote.clear();
        FForm->CustEdit->SetFocus();
    }

    TOrderEntryForm* FForm;
    TDataSet* FOrders;
    std::string FNote;
    std::string FNoteContext;
    bool FAsking = false;
    std::ostream* FReport = nullptr;
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

// The same order entry in a window: no status line, the caption and the
// keys as they are; the default signals end it.
void RunWindowed() {
    RegisterOrderEntryClasses();
    Owned<TDataModule> data(MakeData());
    auto* orders = As<TDataSet>(data->FindComponent("Orders"));
    std::unique_ptr<TUIBackend> previous = SetUIBackend(std::make_unique<gtk::TGtkBackend>());

    Application()->SetTitle("Order entry");
    TOrderEntryForm* form = nullptr;
    Application()->CreateForm(form);
    AddLabels(form);
    AddOrderNavigator(form);
    TInteractiveSession session(form, orders);
    session.SetReport(&std::cout);
    Application()->OnShortCut = [&](std::uint16_t key, TShiftState shift, bool& handled) {
        session.ShortCut(key, shift, handled);
    };
    const TFinally cleanup([&] {
        Application()->OnShortCut = nullptr;
        FocusManager().SetFocus(nullptr);
        Application()->DestroyComponents();
        SetUIBackend(std::move(previous));
    });
    Application()->Run();
}

} // namespace

void RunInteractive(bool windowed) {
    if (windowed) return RunWindowed();
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
    AddOrderNavigator(form);
    FitToScreen(form);
    TInteractiveSession session(form, orders);
    Application()->OnShortCut = [&](std::uint16_t key, TShiftState shift, bool& handled) {
        session.ShortCut(key, shift, handled);
    };
    tui->SetStatusLine([&] { return session.Status(); });
    // The forms refer to the data and the session: they go first, then the
    // terminal is given back, however the run ends.
    const TFinally cleanup([&] {
        Application()->OnShortCut = nullptr;
        tui->SetOnResized(nullptr);
        tui->SetOnWake(nullptr);
        FocusManager().SetFocus(nullptr);
        Application()->DestroyComponents();
        SetUIBackend(std::move(previous));
    });
    // A terminal made smaller keeps the whole form.
    tui->SetOnResized([form] { FitToScreen(form); });
    tui->SetOnWake([&] {
        if (TQuitSignals::Received()) session.QuitBySignal();
    });
    // Gone before the terminal is given back.
    const TQuitSignals quitSignals;
    Application()->Run();
}
