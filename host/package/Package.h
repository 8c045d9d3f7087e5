#pragma once
// Loading packages at run time: a package is a shared library that exports
// Initialize, Finalize and GetPackageInfoTable (host/package/PackageInfo.h).

#include "host/core/Exception.h"
#include "host/package/Module.h"

#include <string>

namespace host {

// A package that does not load or lacks an entry point.
class EPackageError : public Exception { using Exception::Exception; };

// Opens the library at Path, starts its units through its Initialize and
// answers its module (the module named in its unit table). Raises
// EPackageError when the file is missing, does not load, or lacks an entry
// point; the library is closed again then, and when Initialize raises.
// Loading a package that is loaded already counts one more load.
HMODULE LoadPackage(const std::string& path);

// Undoes one LoadPackage: the last one calls the package's Finalize before
// the library closes. Raises EPackageError for a module that was not loaded
// by LoadPackage.
void UnloadPackage(HMODULE module);

// The address of a symbol the loaded package exports; nil when it has none
// or Module was not loaded by LoadPackage.
void* GetPackageProcAddress(HMODULE module, const char* name);

// How many LoadPackage calls on Module are not undone yet.
int PackageLoadCount(HMODULE module);

} // namespace host
