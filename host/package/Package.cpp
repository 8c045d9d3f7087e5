#include "host/package/Package.h"

#include "host/core/Guards.h"
#include "host/package/PackageInfo.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
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
    // Copied: the table goes with the library.
    std::vector<std::string> Requires;
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

namespace {

// The folder this library was loaded from: installed packages live beside
// the host's libraries.
std::filesystem::path HostLibraryFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&HostLibraryFolder), &info) || !info.dli_fname) return {};
    return std::filesystem::path(info.dli_fname).parent_path();
}

std::vector<std::filesystem::path> PackageFolders() {
    std::vector<std::filesystem::path> folders;
    if (const char* list = std::getenv("VESKAR_PACKAGE_PATH")) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const auto colon = rest.find(':');
            if (colon != 0) folders.emplace_back(rest.substr(0, colon));
            if (colon == std::string_view::npos) break;
            rest.remove_prefix(colon + 1);
        }
    }
    folders.push_back(HostLibraryFolder());
    return folders;
}

bool IsFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void UnloadRequired(const std::vector<std::string>& required, size_t count) {
    for (size_t i = count; i-- > 0;) {
        const HMODULE module = FindModule(required[i]);
        if (PackageLoadCount(module) > 0) UnloadPackage(module);
    }
}

} // namespace

std::string FindPackageFile(const std::string& nameOrPath) {
    if (nameOrPath.find('/') != std::string::npos) return nameOrPath;
    const std::string file = nameOrPath.ends_with(".so") ? nameOrPath : "lib" + nameOrPath + ".so";
    for (const auto& folder : PackageFolders())
        if (IsFile(folder / file)) return (folder / file).string();
    return {};
}

HMODULE LoadPackage(const std::string& nameOrPath) {
    const std::string path = FindPackageFile(nameOrPath);
    if (path.empty() || !IsFile(path)) throw EPackageError("Package file " + nameOrPath + " not found");
    // An absolute path, so the library is not looked for on the search path.
    std::error_code error;
    TOpenLibrary library(std::filesystem::absolute(path, error).string());
    const auto initialize = EntryPoint<TPackageInitProc>(library, InitializeEntryName, path);
    const auto finalize = EntryPoint<TPackageFinalizeProc>(library, FinalizeEntryName, path);
    const auto infoTable = EntryPoint<TGetPackageInfoTableProc>(library, GetPackageInfoTableEntryName, path);
    const TPackageInfoTable* table = infoTable();
    if (!table || !table->PackageName || !*table->PackageName)
        throw EPackageError("Package " + path + " has no unit table");
    const HMODULE module = ModuleHandle(table->PackageName);
    // What it requires starts first, and is let go again if this one fails.
    std::vector<std::string> required;
    TFinally release([&] { UnloadRequired(required, required.size()); });
    for (int i = 0; i < table->RequiresCount; ++i) {
        LoadPackage(table->Requires[i]);
        required.emplace_back(table->Requires[i]);
    }
    initialize();
    LoadedPackages().push_back({library.Keep(), module, finalize, required});
    required.clear();
    return module;
}

void UnloadPackage(HMODULE module) {
    const auto it = FindLoaded(module);
    if (it == LoadedPackages().end())
        throw EPackageError("Module " + (ModuleName(module).empty() ? std::string("of the main program") : ModuleName(module)) +
                            " was not loaded as a package");
    const TLoadedPackage package = *it;
    LoadedPackages().erase(it);
    {
        // The library closes whatever Finalize does.
        const TFinally close([&package] { dlclose(package.Library); });
        if (PackageLoadCount(module) == 0) package.Finalize();
    }
    UnloadRequired(package.Requires, package.Requires.size());
}

std::vector<std::string> PackageRequires(HMODULE module) {
    const auto it = FindLoaded(module);
    if (it == LoadedPackages().end()) return {};
    return it->Requires;
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
