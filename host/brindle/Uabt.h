#pragma once
// Uabt: the about box of a component, shown through the UI back end.

#include <string>

namespace host {

// Shows an about box naming a component class and its version.
void ShowAboutBoxE(const std::string& className, const std::string& version);

} // namespace host
