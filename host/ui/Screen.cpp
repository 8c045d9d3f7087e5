#include "host/ui/Screen.h"

#include "host/core/Exception.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_CLASS(TScreen, TComponent)

TScreen* Screen() {
    // Never freed: forms may outlive any static that would own it.
    static TScreen* screen = [] {
        TScreen* s = TScreen::Create(nullptr);
        FocusManager().AddListener([s](TWinControl* focused) { s->FocusChanged(focused); });
        return s;
    }();
    return screen;
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

void TScreen::SetWidth(int value) { FWidth = std::max(value, 1); }

void TScreen::SetHeight(int value) { FHeight = std::max(value, 1); }

void TScreen::SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FForms[static_cast<size_t>(index)];
}

TPoint TScreen::NextDefaultPosition(int width, int height) {
    int offset = 24 * (FCascade + 1);
    if (offset + width > FWidth || offset + height > FHeight) {
        FCascade = 0;
        offset = 24;
    }
    ++FCascade;
    return Point(offset, offset);
}

void TScreen::AddForm(TCustomForm* form) {
    if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
    if (FActiveForm != form) return;
    // A form that is going is not deactivated any more; it is just no
    // longer the active one.
    FActiveForm = nullptr;
    if (OnActiveFormChange) OnActiveFormChange(this);
}

void TScreen::FormHidden(TCustomForm* form) {
    if (FActiveForm == form) SetActiveForm(nullptr);
}

void TScreen::FocusChanged(TWinControl* focused) {
    FActiveControl = focused;
    if (TCustomForm* form = focused ? GetParentForm(focused) : nullptr) {
        SetActiveForm(form);
        form->FocusChangedTo(focused);
    }
    if (OnActiveControlChange) OnActiveControlChange(this);
}

void TScreen::SetActiveForm(TCustomForm* form) {
    if (FActiveForm == form) return;
    TCustomForm* old = FActiveForm;
    FActiveForm = form;
    if (old) old->SetActive(false);
    if (form && FActiveForm == form) form->SetActive(true);
    if (OnActiveFormChange) OnActiveFormChange(this);
}

} // namespace host
