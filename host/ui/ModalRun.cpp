// Modal runs through the back ends.

#include "host/core/Exception.h"
#include "host/ui/Backend.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Forms.h"

namespace host {

namespace {

std::string FormTitle(const TCustomForm* form) { return form->Name().empty() ? form->ClassName() : form->Name(); }

} // namespace

void TUIBackend::RunModal(TCustomForm* form) {
    throw EInvalidOperation("The user interface cannot run the modal form " + FormTitle(form));
}

void THeadlessBackend::RunModal(TCustomForm* form) {
    Record({TShownKind::ModalForm, form->Caption(), form->ClassName(), form->BoundsRect()});
    // The user lets go of the keys that opened the form (a shortcut is
    // still held down while its key is handled) before acting in it; the
    // press that held them restores them when it ends.
    Keyboard().SetShiftState({});
    while (!FAnswers.empty()) {
        TModalAnswer answer = std::move(FAnswers.front());
        FAnswers.pop_front();
        answer(form);
        // An answer that set no result is a forgotten one; only a refused
        // close (OnCloseQuery, caNone) lets the next answer have a turn.
        if (form->ModalResult() == mrNone) break;
        if (form->CloseModal()) return;
    }
    throw EInvalidOperation("Modal form " + FormTitle(form) + " was left without an answer");
}

} // namespace host
