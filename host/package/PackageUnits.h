#pragma once
// The host's package run-time: a package's Initialize and Finalize hand their
// unit table to it, and it runs the units' routines in order, once. Every
// unit started or stopped is written to a trace ("start Ldcapt",
// "stop Ldcapt") that the host and its tests can read.

#include "host/core/Export.h"
#include "host/package/PackageInfo.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

// Starts the table's units in order. A package already started is left as
// it is. If a unit's start-up raises, the units started before it are
// stopped again, last first, and the exception goes on.
void InitializePackage(const TPackageInfoTable* table);
// Stops the table's units in reverse order; a package not started is left as
// it is. Every unit is stopped even if one raises; the first exception goes
// on afterwards.
void FinalizePackage(const TPackageInfoTable* table);
// True between InitializePackage and FinalizePackage of that table.
bool PackageStarted(const TPackageInfoTable* table);

// What the run-time did, oldest first.
const std::vector<std::string>& PackageUnitTrace();
void ClearPackageUnitTrace();

} // namespace host

VESKAR_PUBLIC_END
