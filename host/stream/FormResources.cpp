#include "host/stream/FormResources.h"

#include "host/core/Component.h"
#include "host/core/InitComponent.h"
#include "host/core/TextUtils.h"
#include "host/package/Resource.h"
#include "host/stream/Reader.h"

#include <optional>
#include <string>
#include <vector>

namespace host {

namespace {

std::optional<std::string_view> StoredForm(std::string_view name) {
    const HINSTANCE module = FindResourceModule(name, rtRCData);
    const auto data = FindResource(module, name, rtRCData);
    if (!data) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(data->data()), data->size());
}

} // namespace

bool ReadInheritedComponent(TComponent* instance, const TClass& rootAncestor) {
    // From the instance's class up to, not including, the root ancestor (or
    // TComponent, which has no stored definition).
    std::vector<const TClass*> chain;
    for (const TClass* cls = &instance->ClassType(); cls && cls != &rootAncestor && cls != &TComponent::ClassInfo();
         cls = cls->ClassParent())
        chain.push_back(cls);
    TReader reader;
    bool found = false;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const auto text = StoredForm(UpperCase((*it)->ClassName()));
        if (!text) continue;
        reader.ReadRoot(instance, *text);
        found = true;
    }
    if (found) reader.Finish();
    return found;
}

namespace {

// Forms read their stored definitions through this library from the moment
// it is loaded.
const bool HandlerSet = (SetInitComponentHandler(&ReadInheritedComponent), true);

} // namespace

TComponent* ReadComponentRes(std::string_view resName, TComponent* instance) {
    const auto text = StoredForm(resName);
    if (!text) throw EResNotFound("Resource " + std::string(resName) + " not found");
    ReadComponentText(instance, *text);
    return instance;
}

} // namespace host
