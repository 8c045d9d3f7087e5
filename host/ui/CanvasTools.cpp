#include "host/ui/Canvas.h"

namespace host {

HOST_IMPLEMENT_CLASS(TPen, TPersistent)
HOST_IMPLEMENT_CLASS(TBrush, TPersistent)

void TPen::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TPen::SetWidth(int value) {
    if (value < 1) value = 1;
    if (value == FWidth) return;
    FWidth = value;
    Changed();
}

void TPen::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TPen*>(source)) {
        if (other == this) return;
        if (other->FColor == FColor && other->FStyle == FStyle && other->FWidth == FWidth) return;
        FColor = other->FColor;
        FStyle = other->FStyle;
        FWidth = other->FWidth;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TPen::Changed() {
    if (OnChange) OnChange(this);
}

void TBrush::SetColor(TColor value) {
    if (value == FColor && FStyle == bsSolid) return;
    FColor = value;
    FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TBrush::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TBrush*>(source)) {
        if (other == this) return;
        if (other->FColor == FColor && other->FStyle == FStyle) return;
        FColor = other->FColor;
        FStyle = other->FStyle;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TBrush::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace host
