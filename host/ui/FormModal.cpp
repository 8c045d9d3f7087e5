// Forms: showing and hiding, modal runs, closing, activation and the dialog
// keys.

#include "host/core/ComponentRef.h"
#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Menus.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>
#include <vector>

namespace host {

namespace {

// The first button of the form, at any depth, that Wanted accepts.
template <class Pred>
TButton* FindButton(const TWinControl* parent, Pred wanted) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (auto* button = dynamic_cast<TButton*>(child); button && wanted(button)) return button;
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            if (TButton* found = FindButton(windowed, wanted)) return found;
    }
    return nullptr;
}

// Alt and a letter or digit: each visible, enabled control of the form in
// turn (parents before their children) may take it as its access key.
bool OfferAccessKey(TWinControl* parent, std::uint16_t key) {
    const bool letterOrDigit = (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z');
    if (!letterOrDigit) return false;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (!control->Visible() || !control->Enabled()) continue;
        if (control->Perform(CM_DIALOGCHAR, key) != 0) return true;
        if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && OfferAccessKey(windowed, key))
            return true;
    }
    return false;
}

} // namespace

// --- modal runs in progress ----------------------------------------------------

std::vector<TCustomForm*>& TModalRuns::Forms() {
    static std::vector<TCustomForm*> forms;
    return forms;
}

TCustomForm* TModalRuns::Innermost() { return Forms().empty() ? nullptr : Forms().back(); }

TModalRuns::TScope::TScope(TCustomForm* form) : FForm(form) { Forms().push_back(form); }

TModalRuns::TScope::~TScope() {
    auto& forms = Forms();
    forms.erase(std::remove(forms.begin(), forms.end(), FForm), forms.end());
}

bool TModalRuns::TakesUserInput(const TControl* control) {
    TCustomForm* modal = Innermost();
    if (!modal) return true;
    return control == modal || control->HasParent(modal);
}

// --- showing and hiding --------------------------------------------------------

void TCustomForm::VisibleChanged() {
    inherited::VisibleChanged();
    if (FFormState.Contains(fsCreating) || ComponentState().Contains(csDestroying)) return;
    if (Visible()) {
        FFormState.Include(fsVisible);
        ApplyPosition();
        HandleNeeded();
        DoShow();
        return;
    }
    FFormState.Exclude(fsVisible);
    DoHide();
    Screen()->FormHidden(this);
    // A hidden form can no longer be answered by the user.
    if (Modal() && FModalResult == mrNone) FModalResult = mrCancel;
}

void TCustomForm::DoShow() {
    FFormState.Include(fsShowing);
    const TFinally showing([this] { FFormState.Exclude(fsShowing); });
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::SetActive(bool value) {
    if (value == Active()) return;
    if (value) {
        FFormState.Include(fsActivated);
        Activate();
    } else {
        FFormState.Exclude(fsActivated);
        Deactivate();
    }
    Invalidate();  // the caption shows it
}

void TCustomForm::Activate() {
    if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

// --- modal runs --------------------------------------------------------------------

TModalResult TCustomForm::ShowModal() {
    if (Visible() || Modal()) throw EInvalidOperation("Cannot make a visible window modal");
    // The control that had the focus may go during the run.
    TComponentRef<TWinControl> previous(FocusedControl());
    // From here a Free of the form waits until ShowModal is done with it.
    TKeepAlive alive(this);
    TModalRuns::TScope running(this);
    FFormState.Include(fsModal);
    FModalResult = mrNone;
    {
        const TFinally end([&] { EndModal(previous.Get()); });
        Show();
        FocusFirst();
        UIBackend().RunModal(this);
    }
    return FModalResult;
}

void TCustomForm::FocusFirst() {
    TWinControl* target = nullptr;
    if (FActiveControl && ContainsControl(FActiveControl) && FActiveControl->CanFocus()) target = FActiveControl;
    if (!target) target = FindNextControl(nullptr, true, true);
    if (!target && CanFocus()) target = this;
    if (target) target->SetFocus();
}

void TCustomForm::EndModal(TWinControl* previous) {
    FFormState.Exclude(fsModal);
    if (Visible()) Hide();
    if (previous && previous->CanFocus()) previous->SetFocus();
}

bool TCustomForm::CloseModal() {
    if (FModalResult == mrNone) return false;
    if (FreePending()) return true;
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone) {
        FModalResult = mrNone;
        return false;
    }
    if (action == caFree) Release();
    return true;
}

// --- closing -----------------------------------------------------------------------

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (Modal()) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    switch (action) {
    case caNone: break;
    case caHide:
    case caMinimize: Hide(); break;  // there is no minimized state: the form goes from view
    case caFree: Release(); break;
    }
}

// --- messages and keys ------------------------------------------------------------

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE: Close(); break;
    case WM_SYSCOMMAND:
        // The close box of the frame; a form without a frame has none.
        if ((message.WParam & 0xFFF0) == SC_CLOSE) {
            if (FBorderStyle != bsNone) Perform(WM_CLOSE);
            break;
        }
        inherited::WndProc(message);
        break;
    default: inherited::WndProc(message); break;
    }
}

void TCustomForm::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    // With the focus on the form itself no control sees the key first.
    if (key != 0 && DialogKey(key, shift)) key = 0;
}

bool TCustomForm::DialogKey(std::uint16_t& key, TShiftState shift) {
    // A shortcut of one of the form's menus comes before the dialog keys.
    if (MenusOfferShortCut(this, key, shift)) return true;
    if (key == VK_TAB && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        // A control without a tab stop inside one with it (a grid's cell
        // editor) is that control's part: Tab goes on from the whole.
        TWinControl* current = FocusedControl();
        while (current && !current->TabStop() && current->Parent() && current->Parent() != this &&
               current->Parent()->TabStop())
            current = current->Parent();
        TWinControl* next = FindNextControl(current, !shift.Contains(ssShift), true);
        if (next) next->SetFocus();
        return true;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && shift.Empty() && ClickDialogButton(key)) return true;
    if (shift.Contains(ssAlt) && !shift.Contains(ssCtrl) && OfferAccessKey(this, key)) return true;
    return inherited::DialogKey(key, shift);
}

bool TCustomForm::ClickDialogButton(std::uint16_t key) {
    TButton* target = nullptr;
    TWinControl* focused = FocusedControl();
    if (key == VK_RETURN && focused && ContainsControl(focused)) target = dynamic_cast<TButton*>(focused);
    if (!target) {
        auto usable = [](TButton* b) { return b->CanFocus(); };
        if (key == VK_RETURN)
            target = FindButton(this, [&](TButton* b) { return b->Default() && usable(b); });
        else
            target = FindButton(this, [&](TButton* b) { return b->Cancel() && usable(b); });
    }
    if (!target) return false;
    // As a message, so a click that frees the button ends it afterwards.
    target->Perform(BM_CLICK);
    return true;
}

} // namespace host
