#include "host/core/GlobalRoots.h"

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "host/core/TextUtils.h"

#include <algorithm>
#include <vector>

namespace host {

namespace {

std::vector<TComponent*>& Roots() {
    static std::vector<TComponent*> roots;
    return roots;
}

} // namespace

void AddGlobalRoot(TComponent* root) {
    auto& roots = Roots();
    if (root && std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
}

void RemoveGlobalRoot(TComponent* root) { std::erase(Roots(), root); }

TComponent* FindGlobalRoot(std::string_view name) {
    if (name.empty()) return nullptr;
    for (TComponent* root : Roots())
        if (SameText(root->Name(), name)) return root;
    return nullptr;
}

int GlobalRootCount() { return static_cast<int>(Roots().size()); }

TComponent* GlobalRoots(int index) {
    if (index < 0 || index >= GlobalRootCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return Roots()[static_cast<size_t>(index)];
}

} // namespace host
