#pragma once
// Reading a component's stored definitions. The reader belongs to the
// form-file layer (host/stream), which sets the handler when its library
// loads; a form's construction calls InitInheritedComponent here and so
// never reaches up to that layer.

#include "host/core/Export.h"
#include "host/core/Class.h"

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponent;

// Reads the stored definitions of Instance's classes into it, from the class
// just below RootAncestor down to Instance's own class; answers whether any
// was found. Raises EInvalidOperation when no reader is set.
bool InitInheritedComponent(TComponent* instance, const TClass& rootAncestor);

using TInitComponentHandler = bool (*)(TComponent* instance, const TClass& rootAncestor);
void SetInitComponentHandler(TInitComponentHandler handler);

} // namespace host

VESKAR_PUBLIC_END
