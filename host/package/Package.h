#pragma once
// Loading packages at run time: a package is a shared library that exports
// Initialize, Finalize and GetPackageInfoTable (host/package/PackageInfo.h).

#include "host/core/Export.h"
#include "host/core/Exception.h"
#include "host/package/Module.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

// A package that does not load or lacks an entry point.
class EPackageError : public Exception { using Exception::Exception; };

// Opens the package library and starts its units through its Initialize,
// after loading the packages it requires; answers its module (the module
// named in its unit table). Path is a file, or a package's name
// ("VeskarDesign"), which is looked for as lib<Name>.so in the folders of
// VESKAR_PACKAGE_PATH (colon-separated), then beside the host's own
// libraries (where installed packages are). Raises EPackageError when the
// file is missing, does not load, or lacks an entry point; the library is
// closed again then, and when Initialize raises.
// Loading a package that is loaded already counts one more load.
HMODULE LoadPackage(const std::string& path);

// Undoes one LoadPackage: the last one calls the package's Finalize before
// the library closes; the packages it required are unloaded once each. Raises EPackageError for a module that was not loaded
// by LoadPackage.
void UnloadPackage(HMODULE module);

// The address of a symbol the loaded package exports; nil when it has none
// or Module was not loaded by LoadPackage.
void* GetPackageProcAddress(HMODULE module, const char* name);

// The file a package name stands for, as LoadPackage finds it; a path
// (anything with a "/") is answered as it is. Empty when none is found.
std::string FindPackageFile(const std::string& nameOrPath);
// The package names the loaded package requires (from its unit table).
std::vector<std::string> PackageRequires(HMODULE module);
// How many LoadPackage calls on Module are not undone yet.
int PackageLoadCount(HMODULE module);

} // namespace host

VESKAR_PUBLIC_END
