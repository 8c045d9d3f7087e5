#include "tests/support/NewInstanceDefaults.h"

#include "host/core/Component.h"
#include "host/core/TypInfo.h"

namespace host {

std::vector<std::string> DefaultsNotHeld(const TClass& cls, TComponent* owner) {
    Owned<TComponent> instance(static_cast<const TComponentClass&>(cls).Create(owner));
    std::vector<std::string> names;
    const TTypeData& data = GetTypeData(cls);
    for (int i = 0; i < data.PropCount(); ++i) {
        const TPropInfo& prop = data.Props(i);
        if (prop.HasDefault && prop.Stored && !prop.IsDefault(instance.get())) names.push_back(prop.Name);
    }
    return names;
}

} // namespace host
