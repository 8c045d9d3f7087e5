#pragma once
// Modules: the main program and every library that carries resources or runs
// as a package. A module is known by its instance handle, an opaque pointer
// that stays valid for the life of the process (a module whose library is
// unloaded keeps its record, with no resources), and by its name, letter case
// ignored.
//
// Everything here runs on the user-interface thread; libraries register
// their resources while they load, on the thread that loads them.

#include "host/core/Export.h"

#include <functional>
#include <string>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

struct TModule;
using HINSTANCE = TModule*;
using HMODULE = HINSTANCE;

// The main program's module. Its name is empty; resources registered under
// the empty module name belong to it.
HINSTANCE MainInstance();

// The module of that name, letter case ignored; nil when none is known.
HINSTANCE FindModule(std::string_view name);
// The module of that name, made when it is not known yet.
HINSTANCE ModuleHandle(std::string_view name);

// The module's name; empty for the main program and for a nil handle.
const std::string& ModuleName(HINSTANCE module);

// Calls Func for each module, the main program first, then in the order they
// became known, until Func answers false.
using TEnumModuleFunc = std::function<bool(HINSTANCE module)>;
void EnumModules(const TEnumModuleFunc& func);

} // namespace host

VESKAR_PUBLIC_END
