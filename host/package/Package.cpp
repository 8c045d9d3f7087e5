#include "host/package/Package.h"

#include "host/core/Guards.h"
#include "host/package/PackageInfo.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <utility>
#include <vector>

namespace host {

namespace {

struct TLoadedPackage {
    void* Library;
    HMODULE Module;
    TPackageFinalizeProc Finalize;
};

// Every LoadPackage not yet undone, oldest first.
std::vector<TLoadedPackage>& LoadedPackages() {
    static std::vector<TLoadedPackage> loaded;
    return loaded;
}

// An open library that closes again unless it is kept.
class TOpenLibrary {
public:
    explicit TOpenLibrary(const std::string& path) : FHandle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (!FHandle) {
            const char* reason = dlerror();
            throw EPackageError("Cannot load package " + path + ": " + (reason ? reason : "unknown error"));
        }
    }
    ~TOpenLibrary() {
        if (FHandle) dlclose(FHandle);
    }
    TOpenLibrary(const TOpenLibrary&) = delete;
    TOpenLibrary& operator=(const TOpenLibrary&) = delete;

    void* Handle() const { return FHandle; }
    void* Keep() { return std::exchange(FHandle, nullptr); }

private:
    void* FHandle;
};

template <class Proc>
Proc EntryPoint(const TOpenLibrary& library, const char* name, const std::string& path) {
    void* symbol = dlsym(library.Handle(), name);
    if (!symbol) throw EPackageError("Package " + path + " has no entry point " + name);
    return reinterpret_cast<Proc>(symbol);
}

std::vector<TLoadedPackage>::iterator FindLoaded(HMODULE module) {
    auto& loaded = LoadedPackages();
    const auto last = std::find_if(loaded.rbegin(), loaded.rend(),
                                   [module](const TLoadedPackage& p) { return p.Module == module; });
    return last == loaded.rend() ? loaded.end() : std::prev(last.base());
}

} // namespace

HMODULE LoadPackage(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw EPackageError("Package file " + path + " not found");
    // An absolute path, so the library is not looked for on the search path.
    TOpenLibrary library(std::filesystem::absolute(path, error).string());
    const auto initialize = EntryPoint<TPackageInitProc>(library, InitializeEntryName, path);
    const auto finalize = EntryPoint<TPackageFinalizeProc>(library, FinalizeEntryName, path);
    const auto infoTable = EntryPoint<TGetPackageInfoTableProc>(library, GetPackageInfoTableEntryName, path);
    const TPackageInfoTable* table = infoTable();
    if (!table || !table->PackageName || !*table->PackageName)
        throw EPackageError("Package " + path + " has no unit table");
    const HMODULE module = ModuleHandle(table->PackageName);
    initialize();
    LoadedPackages().push_back({library.Keep(), module, finalize});
    return module;
}

void UnloadPackage(HMODULE module) {
    const auto it = FindLoaded(module);
    if (it == LoadedPackages().end())
        throw EPackageError("Module " + (ModuleName(module).empty() ? std::string("of the main program") : ModuleName(module)) +
                            " was not loaded as a package");
    const TLoadedPackage package = *it;
    LoadedPackages().erase(it);
    // The library closes whatever Finalize does.
    const TFinally close([&package] { dlclose(package.Library); });
    if (PackageLoadCount(module) == 0) package.Finalize();
}

void* GetPackageProcAddress(HMODULE module, const char* name) {
    const auto it = FindLoaded(module);
    if (it == LoadedPackages().end() || !name) return nullptr;
    return dlsym(it->Library, name);
}

int PackageLoadCount(HMODULE module) {
    const auto& loaded = LoadedPackages();
    return static_cast<int>(std::count_if(loaded.begin(), loaded.end(),
                                          [module](const TLoadedPackage& p) { return p.Module == module; }));
}

} // namespace host
