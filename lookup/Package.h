#pragma once
// The run-time package Veskar as a loadable library: its entry points, which
// the host finds by name, and its own module, which carries its resources.
// Its design-time partner, VeskarDesign, is in design/.

#include "host/core/Export.h"
#include "host/package/Module.h"
#include "host/package/PackageInfo.h"

VESKAR_PUBLIC_BEGIN

namespace veskar {

inline constexpr const char* PackageName = "Veskar";

// The package's own module: the lookup button's glyph, the palette images,
// the stored forms and the description are found through it.
host::HINSTANCE HInstance();

// Makes every class a form file of an application may name known by name:
// the host's standard classes (host::RegisterStandardClasses), the SQL
// connections and datasets (host::RegisterSQLClasses) and this package's
// TLookupFill, TLookupDialog and TSmartDBLookup. A form class of one's own
// is registered beside them with host::RegisterClasses. Safe to call more
// than once.
void RegisterFormClasses();

} // namespace veskar

extern "C" {
// Starts the five units in order; a second call before Finalize does nothing.
void Initialize();
// Stops the units in reverse order; nothing when they are not started.
void Finalize();
// The units in start order, with their start-up and shut-down routines.
const host::TPackageInfoTable* GetPackageInfoTable();
// The units' Register procedures by unit name, for the designer.
const host::TPackageRegisterTable* GetPackageRegisterTable();
}

VESKAR_PUBLIC_END
