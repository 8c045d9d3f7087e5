#include "host/terminal/TerminalBackend.h"

#include "host/core/Exception.h"
#include "host/ui/App.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/MessageForm.h"
#include "host/ui/Screen.h"

#include <chrono>

namespace host::term {

namespace {

// How long the rest of an escape sequence may take to arrive before a lone
// Esc counts as the Escape key.
constexpr int kSequencePauseMs = 30;

long NowMs() {
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

TTerminalBackend::TTerminalBackend() { Resized(); }

TTerminalBackend::~TTerminalBackend() = default;

void TTerminalBackend::Resized() {
    // The last row is the status line; the forms live above it.
    Screen()->SetSize(FTerminal.Cols() * kCellWidth, std::max(FTerminal.Rows() - 1, 1) * kCellHeight);
    FScreen.Resize(FTerminal.Cols(), FTerminal.Rows());
    if (FOnResized) FOnResized();
    Redraw(true);
}

void TTerminalBackend::Redraw(bool full) {
    ComposeScreen(FScreen, StatusText());
    if (full || FScreen.HasChanges()) FTerminal.Present(FScreen, full);
}

std::string TTerminalBackend::StatusText() const {
    // A message box answers its own keys, whatever the program shows.
    if (auto* box = dynamic_cast<TMessageForm*>(TModalRuns::Innermost())) return box->KeysText();
    return FStatus ? FStatus() : std::string();
}

void TTerminalBackend::MessageBox(const std::string& caption, const std::string& text) {
    Owned<TMessageForm> box(TMessageForm::Make(caption, text, {mbOK}));
    box->ShowModal();
}

void TTerminalBackend::ShowMessage(const std::string& text) {
    MessageBox(Application()->Title().empty() ? "Message" : Application()->Title(), text);
}

void TTerminalBackend::ShowException(const std::string& message) { MessageBox("Error", message); }

void TTerminalBackend::AboutBox(const std::string& className, const std::string& version) {
    MessageBox("About " + className, className + "\n" + version);
}

void TTerminalBackend::RunModal(TCustomForm* form) {
    // The keys that opened the form are let go before the user acts in it.
    Keyboard().SetShiftState({});
    for (;;) {
        if (Application()->Terminated() && form->ModalResult() == mrNone) form->SetModalResult(mrCancel);
        if (form->ModalResult() != mrNone && form->CloseModal()) return;
        // A terminal that is gone can answer nothing more.
        if (!HandleInput(true)) form->SetModalResult(mrCancel);
    }
}

bool TTerminalBackend::DispatchPending(bool final) {
    while (!FPending.empty()) {
        const TDecoded decoded = DecodeInput(FPending, final);
        if (decoded.Length == 0) return false;
        FPending.erase(0, decoded.Length);
        if (decoded.Event.Kind == TInputKind::None) continue;
        // As the framework's loop does: an error of a handler is shown, and
        // the loop goes on.
        try {
            FDispatcher.Dispatch(decoded.Event, NowMs());
        } catch (const Exception& e) {
            ShowException(e.Message());
        } catch (const std::exception& e) {
            ShowException(e.what());
        }
        return true;
    }
    return false;
}

bool TTerminalBackend::HandleInput(bool wait) {
    Redraw();
    bool handled = DispatchPending(false);
    while (!handled) {
        const int timeout = !FPending.empty() ? kSequencePauseMs : (wait ? -1 : 0);
        switch (FTerminal.Read(FPending, timeout)) {
        case TTerminal::TWait::Input: handled = DispatchPending(false); break;
        case TTerminal::TWait::Resized:
            Resized();
            handled = true;
            break;
        case TTerminal::TWait::Woken:
            if (FOnWake) FOnWake();
            handled = true;
            break;
        case TTerminal::TWait::Timeout:
            if (FPending.empty()) return false;
            handled = DispatchPending(true);
            if (!handled && !wait) return false;
            break;
        case TTerminal::TWait::Closed:
            Application()->Terminate();
            return false;
        }
    }
    Redraw();
    return true;
}

} // namespace host::term
