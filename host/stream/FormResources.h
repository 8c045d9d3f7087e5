#pragma once
// Stored form definitions: form texts carried as RCDATA resources of a
// module, named by the upper-cased class name (TDEFAULTLOOKUPFORM), and read
// into an instance that is already constructed.

#include "host/core/Export.h"
#include "host/core/Class.h"

#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponent;

// Reads the stored definitions of Instance's classes into it, from the class
// just below RootAncestor down to Instance's own class, as one read: the
// references and events of all of them are resolved, then Loaded is called
// once on each component. Answers whether any definition was found. Read
// errors go on to the caller (the instance keeps what was read before).
// Forms reach it through InitInheritedComponent (host/core/InitComponent.h).
bool ReadInheritedComponent(TComponent* instance, const TClass& rootAncestor);

// Reads the definition named ResName into Instance and answers Instance;
// raises EResNotFound "Resource X not found" when no module carries one.
TComponent* ReadComponentRes(std::string_view resName, TComponent* instance);

} // namespace host

VESKAR_PUBLIC_END
