#include "host/package/Module.h"

#include "host/core/TextUtils.h"

#include <memory>
#include <vector>

namespace host {

struct TModule {
    std::string Name;
};

namespace {

// Records are never removed, so a handle once given out never dangles.
std::vector<std::unique_ptr<TModule>>& Modules() {
    static std::vector<std::unique_ptr<TModule>> modules = [] {
        std::vector<std::unique_ptr<TModule>> list;
        list.push_back(std::make_unique<TModule>());
        return list;
    }();
    return modules;
}

} // namespace

HINSTANCE MainInstance() { return Modules().front().get(); }

HINSTANCE FindModule(std::string_view name) {
    for (const auto& module : Modules())
        if (SameText(module->Name, name)) return module.get();
    return nullptr;
}

HINSTANCE ModuleHandle(std::string_view name) {
    if (HINSTANCE known = FindModule(name)) return known;
    auto& modules = Modules();
    modules.push_back(std::make_unique<TModule>(TModule{std::string(name)}));
    return modules.back().get();
}

const std::string& ModuleName(HINSTANCE module) {
    static const std::string none;
    return module ? module->Name : none;
}

void EnumModules(const TEnumModuleFunc& func) {
    // Index, not iterator: Func may make a module.
    auto& modules = Modules();
    for (size_t i = 0; i < modules.size(); ++i)
        if (!func(modules[i].get())) return;
}

} // namespace host
