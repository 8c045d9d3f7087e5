#include "host/core/InitComponent.h"

#include "host/core/Exception.h"

namespace host {

namespace {

TInitComponentHandler Handler = nullptr;

} // namespace

bool InitInheritedComponent(TComponent* instance, const TClass& rootAncestor) {
    if (!Handler) throw EInvalidOperation("Stored forms cannot be read: the form-file library (veskar-stream) is not loaded");
    return Handler(instance, rootAncestor);
}

void SetInitComponentHandler(TInitComponentHandler handler) { Handler = handler; }

} // namespace host
