#pragma once
// Global roots: the forms and data modules that live now, found by name. A
// form file refers to a component of another root as Root.Component; the
// reader finds Root here.

#include "host/core/Export.h"

#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponent;

// Joining twice keeps one entry; leaving when not joined does nothing.
void AddGlobalRoot(TComponent* root);
void RemoveGlobalRoot(TComponent* root);
// The root of that name, letter case ignored; the first one joined wins.
// Nil when none is named so.
TComponent* FindGlobalRoot(std::string_view name);
int GlobalRootCount();
// Raises EListError for an index out of range.
TComponent* GlobalRoots(int index);

} // namespace host

VESKAR_PUBLIC_END
