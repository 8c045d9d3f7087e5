#pragma once
// The host's own control classes, registered by name for form files in one
// call, so a program that reads forms need not list them.
// Code: StandardClasses.cpp.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {

// Registers the forms, panels, edits, buttons, labels, group boxes, check
// boxes, memos, list boxes, static text, speed buttons, grids, the
// data-aware controls, data modules, data sources and the in-memory dataset.
// Safe to call more than once.
void RegisterStandardClasses();

} // namespace host

VESKAR_PUBLIC_END
