#include "host/ui/App.h"

#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/ui/Backend.h"
#include "host/ui/Forms.h"

namespace host {

HOST_IMPLEMENT_CLASS(TApplication, TComponent)

TApplication* Application() {
    // Never freed, like the screen: forms may outlive any static owner. A
    // program frees its forms with DestroyComponents before it ends.
    static TApplication* application = TApplication::Create(nullptr);
    return application;
}

TComponent* TApplication::CreateForm(const TComponentClass& componentClass) {
    TComponent* made = componentClass.Create(this);
    if (auto* form = dynamic_cast<TCustomForm*>(made); form && !FMainForm) SetMainForm(form);
    return made;
}

void TApplication::SetMainForm(TCustomForm* form) {
    if (FMainForm == form) return;
    if (FMainForm) FMainForm->RemoveFreeNotification(this);
    FMainForm = form;
    if (FMainForm) FMainForm->FreeNotification(this);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FMainForm) FMainForm = nullptr;
}

namespace {

// The control a shown form starts with: its active control, else the first
// in tab order.
void FocusFirstControl(TCustomForm* form) {
    TWinControl* target = form->ActiveControl();
    if (!target || !target->CanFocus()) target = form->FindNextControl(nullptr, true, true);
    if (target && target->CanFocus()) target->SetFocus();
}

} // namespace

void TApplication::Run() {
    if (FRunning) throw EInvalidOperation("The application is running already");
    FRunning = true;
    const TFinally done([this] { FRunning = false; });
    if (!FMainForm || FTerminated) return;
    FMainForm->Show();
    FocusFirstControl(FMainForm);
    // Closing the main form ends the application, whatever closed it.
    while (!FTerminated) {
        if (!FMainForm || !FMainForm->Visible()) {
            FTerminated = true;
            break;
        }
        if (!HandleMessage()) FTerminated = true;
    }
}

bool TApplication::HandleMessage() { return UIBackend().HandleInput(true); }

void TApplication::ProcessMessages() {
    while (UIBackend().HandleInput(false)) {
    }
}

bool TApplication::IsShortCut(std::uint16_t key, TShiftState shift) {
    bool handled = false;
    if (OnShortCut) OnShortCut(key, shift, handled);
    return handled;
}

} // namespace host
