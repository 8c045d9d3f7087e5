#pragma once
// Writing components as form text.
//
// The root is written with the components it owns, each control nested in
// its parent (in z-order), the other components after the root's controls;
// sub-components (parts a component makes for itself) are left out.
// Each object writes its published properties in declaration order: Name
// on the object line, a property with a declared default only when it
// differs from it, one without always; references, events, lists,
// collections and binary data when they hold something. References name a
// component of another root as Root.Component; events name the root's
// method.

#include "host/core/Export.h"
#include "host/core/FormTree.h"

#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponent;

std::string WriteComponentText(const TComponent* root);

// A tree as read from a form text or a binary form, as form text.
std::string FormTreeText(const TFormObject& tree);

// A float as a form text writes a value of the type named (Single, Currency,
// TDateTime or any other): always a number that reads back as Value.
std::string FormFloatText(double value, const std::string& typeName = "Double");

} // namespace host

VESKAR_PUBLIC_END
