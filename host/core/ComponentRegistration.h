#pragma once
// Putting component classes on the form designer's palette. A unit's
// Register procedure calls RegisterComponents; the call goes on to the
// designer (host/designer), which sets the handler when its library loads.
// Run-time code never registers anything, so without a designer the call is
// refused with EComponentError "Invalid component registration".

#include "host/core/Export.h"
#include "host/core/Class.h"

#include <initializer_list>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

void RegisterComponents(const std::string& page, std::initializer_list<const TComponentClass*> classes);
void RegisterComponents(const std::string& page, const std::vector<const TComponentClass*>& classes);

using TRegisterComponentsProc = void (*)(const std::string& page, const std::vector<const TComponentClass*>& classes);
void SetRegisterComponentsProc(TRegisterComponentsProc proc);

} // namespace host

VESKAR_PUBLIC_END
