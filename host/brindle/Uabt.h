#pragma once
// Uabt: the about box of a component, shown through the UI back end.

#include "host/core/Export.h"

#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

// Shows an about box naming a component class and its version.
void ShowAboutBoxE(const std::string& className, const std::string& version);

} // namespace host

VESKAR_PUBLIC_END
