#include "host/package/Resource.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"

#include <algorithm>
#include <vector>

namespace host {

namespace {

struct TResourceEntry {
    const TResourceRegistration* Owner;
    HINSTANCE Module;
    std::string Name;
    TResourceType Type;
    TResourceData Data;
};

std::vector<TResourceEntry>& Entries() {
    static std::vector<TResourceEntry> entries;
    return entries;
}

} // namespace

TResourceRegistration::TResourceRegistration(const char* module, const char* name, TResourceType type,
                                             const unsigned char* data, std::size_t size) {
    Entries().push_back({this, ModuleHandle(module), name, type, TResourceData(data, size)});
}

TResourceRegistration::~TResourceRegistration() {
    std::erase_if(Entries(), [this](const TResourceEntry& e) { return e.Owner == this; });
}

std::optional<TResourceData> FindResource(HINSTANCE module, std::string_view name, TResourceType type) {
    if (!module) return std::nullopt;
    // The latest registration of a name wins, so a module can replace a
    // resource for as long as the replacement is registered.
    const auto& entries = Entries();
    for (auto e = entries.rbegin(); e != entries.rend(); ++e)
        if (e->Module == module && e->Type == type && SameText(e->Name, name)) return e->Data;
    return std::nullopt;
}

HINSTANCE FindResourceModule(std::string_view name, TResourceType type) {
    HINSTANCE found = nullptr;
    EnumModules([&](HINSTANCE module) {
        if (FindResource(module, name, type)) found = module;
        return found == nullptr;
    });
    return found;
}

std::string LoadTextResource(HINSTANCE module, std::string_view name) {
    const auto data = FindResource(module, name, rtText);
    if (!data) throw EResNotFound("Resource " + std::string(name) + " not found");
    std::string text(data->begin(), data->end());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

} // namespace host
