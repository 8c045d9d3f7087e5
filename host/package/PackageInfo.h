#pragma once
// The contract between the host and a package library: the table of the
// package's units that GetPackageInfoTable answers, and the three entry
// points every package exports with C linkage.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {

using TUnitRoutine = void (*)();

// One unit: its name and its start-up and shut-down routines (either may be
// nil).
struct TPackageUnitEntry {
    const char* Name;
    TUnitRoutine Initialization;
    TUnitRoutine Finalization;
};

// The package's units in start order, and the packages it needs loaded
// first (by name, found as LoadPackage finds a name).
struct TPackageInfoTable {
    const char* PackageName;
    int UnitCount;
    const TPackageUnitEntry* Units;
    int RequiresCount = 0;
    const char* const* Requires = nullptr;
};

// The designer's view of a package: each unit's Register procedure, by the
// unit's name. A package that registers nothing with the designer need not
// export the table; an application that loads the package never calls them.
struct TPackageRegisterEntry {
    const char* UnitName;
    TUnitRoutine Register;
};

struct TPackageRegisterTable {
    int Count;
    const TPackageRegisterEntry* Entries;
};

// The entry points' signatures and the names they are exported under.
using TPackageInitProc = void (*)();
using TPackageFinalizeProc = void (*)();
using TGetPackageInfoTableProc = const TPackageInfoTable* (*)();

inline constexpr const char* InitializeEntryName = "Initialize";
inline constexpr const char* FinalizeEntryName = "Finalize";
inline constexpr const char* GetPackageInfoTableEntryName = "GetPackageInfoTable";
// Optional: the units' Register procedures.
using TGetPackageRegisterTableProc = const TPackageRegisterTable* (*)();
inline constexpr const char* GetPackageRegisterTableEntryName = "GetPackageRegisterTable";

} // namespace host

VESKAR_PUBLIC_END
