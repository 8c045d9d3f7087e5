#pragma once
// What labels and check boxes publish alike, data-aware ones included.
// Private to host/ui: not installed.

#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"
#include "host/ui/StdCtrls.h"

namespace host {

// What every label declares, a data-aware one included.
template <class L>
void DeclareLabel(TClassPublisher<L>& p, bool autoSize) {
    p.Enumeration("Alignment", &L::Alignment, &L::SetAlignment, AlignmentTypeInfo()).Default(taLeftJustify);
    p.Boolean("AutoSize", &L::AutoSize, &L::SetAutoSize).Default(autoSize);
    p.Enumeration("Layout", &L::Layout, &L::SetLayout, TextLayoutTypeInfo()).Default(tlTop);
    p.Boolean("Transparent", &L::Transparent, &L::SetTransparent).Default(false);
    p.Boolean("WordWrap", &L::WordWrap, &L::SetWordWrap).Default(false);
}

template <class C>
void DeclareCheckBox(TClassPublisher<C>& p) {
    p.Enumeration("Alignment", &C::Alignment, &C::SetAlignment, AlignmentTypeInfo()).Default(taRightJustify);
    p.Boolean("AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed).Default(false);
}

} // namespace host
