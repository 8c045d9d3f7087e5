#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/SpeedButton.h"

namespace host {

HOST_IMPLEMENT_COMPONENT(TSpeedButton, TGraphicControl)

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), FGlyph(TBitmap::Create()) {
    SetBounds(0, 0, 23, 22);
    // The button makes its own click from the mouse, so the plain control
    // click is off.
    SetControlStyle({csCaptureMouse, csDoubleClicks});
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
}

void TSpeedButton::SetGlyph(const TBitmap* value) { FGlyph->Assign(value); }

void TSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TSpeedButton::SetFlat(bool value) {
    if (FFlat == value) return;
    FFlat = value;
    Invalidate();
}

void TSpeedButton::Click() { inherited::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        FPressed = true;
        Invalidate();
    }
    inherited::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool wasPressed = FPressed;
    if (button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    inherited::MouseUp(button, shift, x, y);
    if (wasPressed && ClientRect().Contains(Point(x, y))) Click();
}

void TSpeedButton::EnabledChanged() {
    inherited::EnabledChanged();
    FPressed = false;
}

void TSpeedButton::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSpeedButton>();
    p.Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
    p.Object("Glyph", &TSpeedButton::Glyph);
}

} // namespace host
