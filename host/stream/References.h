#pragma once
// Private to host/stream: not installed.
// Component references of form texts: finding the component a name stands
// for, and the references that wait for a root that does not exist yet.

#include <string>
#include <string_view>

namespace host {

class TComponent;
class TObject;
class TPropInfo;

// Name is Component (owned by Root, or Root itself, or a global root) or
// Root.Component, where Root is Root itself, one of its components or a
// global root; deeper paths go on through owned components. Nil when
// nothing answers.
TComponent* FindReferencedComponent(TComponent* root, std::string_view name);

// A reference read by Holder (the component whose properties were read;
// Instance is it or one of its sub-objects) under Root.
struct TPendingReference {
    TComponent* Root = nullptr;
    TComponent* Holder = nullptr;
    TObject* Instance = nullptr;
    const TPropInfo* Prop = nullptr;
    std::string Name;
};

void AddPendingReference(TPendingReference reference);
// Sets each waiting reference whose component exists now. A reference that
// cannot be set (a component of the wrong class, a setter that raises) is
// dropped.
void ResolvePendingReferences();
int PendingReferenceCount();

} // namespace host
