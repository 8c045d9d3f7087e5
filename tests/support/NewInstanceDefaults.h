#pragma once
// A published property whose declared default a new instance does not hold
// loses a value on the way through a form file: set to the declared
// default, it is not written, and reading gives back the new instance's own
// value instead.

#include "host/core/Class.h"

#include <string>
#include <vector>

namespace host {

// The names of the properties of a new instance of Cls, a component class,
// made with Owner, that do not hold their declared default.
std::vector<std::string> DefaultsNotHeld(const TClass& cls, TComponent* owner);

} // namespace host
