// The colour and the font of controls, and how children follow their
// parent's.

#include "host/ui/Controls.h"

#include "host/core/Guards.h"

namespace host {

void TControl::SetColor(TColor value) {
    FParentColor = false;
    if (FColor == value) return;
    FColor = value;
    ColorChanged();
}

void TControl::SetParentColor(bool value) {
    if (FParentColor == value) return;
    FParentColor = value;
    if (value) TakeParentColor();
}

void TControl::TakeParentColor() {
    if (!FParent || FColor == FParent->FColor) return;
    FColor = FParent->FColor;
    ColorChanged();
}

void TControl::ColorChanged() {
    Invalidate();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < self->ControlCount(); ++i)
            if (TControl* child = self->Controls(i); child->FParentColor) child->TakeParentColor();
}

void TControl::SetParentFont(bool value) {
    if (FParentFont == value) return;
    FParentFont = value;
    if (value) TakeParentFont();
}

void TControl::TakeParentFont() {
    if (!FParent) return;
    const TScopedFlag scoped(FTakingParentFont);
    FFont->Assign(FParent->FFont.get());
}

void TControl::FontChange(TObject*) {
    // A change made to this control's own font ends following the parent.
    if (!FTakingParentFont) FParentFont = false;
    FontChanged();
}

void TControl::FontChanged() {
    Invalidate();
    if (auto* self = dynamic_cast<TWinControl*>(this))
        for (int i = 0; i < self->ControlCount(); ++i)
            if (TControl* child = self->Controls(i); child->FParentFont) child->TakeParentFont();
}

} // namespace host
