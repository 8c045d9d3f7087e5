#include "host/stream/References.h"

#include "host/core/Component.h"
#include "host/core/GlobalRoots.h"
#include "host/core/TextUtils.h"
#include "host/core/TypInfo.h"
#include "host/stream/ComponentTracker.h"
#include "host/stream/Reader.h"

#include <algorithm>
#include <vector>

namespace host {

namespace {

TComponent* FindFirst(TComponent* root, std::string_view name) {
    if (root && SameText(root->Name(), name)) return root;
    if (root)
        if (TComponent* owned = root->FindComponent(std::string(name))) return owned;
    return FindGlobalRoot(name);
}

struct TPendingStore {
    TComponentTracker Tracker;
    std::vector<TPendingReference> Items;

    TPendingStore() {
        Tracker.OnGone = [this](TComponent* gone) {
            std::erase_if(Items, [gone](const TPendingReference& r) { return r.Holder == gone || r.Root == gone; });
        };
    }
    void Forget(const TPendingReference& reference) {
        const bool rootUsed = std::any_of(Items.begin(), Items.end(), [&](const TPendingReference& r) {
            return r.Root == reference.Root || r.Holder == reference.Root;
        });
        const bool holderUsed = std::any_of(Items.begin(), Items.end(), [&](const TPendingReference& r) {
            return r.Root == reference.Holder || r.Holder == reference.Holder;
        });
        if (!rootUsed) Tracker.Remove(reference.Root);
        if (!holderUsed) Tracker.Remove(reference.Holder);
    }
};

TPendingStore& Store() {
    static TPendingStore store;
    return store;
}

} // namespace

TComponent* FindReferencedComponent(TComponent* root, std::string_view name) {
    size_t dot = name.find('.');
    TComponent* found = FindFirst(root, name.substr(0, dot));
    while (found && dot != std::string_view::npos) {
        name.remove_prefix(dot + 1);
        dot = name.find('.');
        found = found->FindComponent(std::string(name.substr(0, dot)));
    }
    return found;
}

void AddPendingReference(TPendingReference reference) {
    TPendingStore& store = Store();
    store.Tracker.Add(reference.Root);
    store.Tracker.Add(reference.Holder);
    store.Items.push_back(std::move(reference));
}

void ResolvePendingReferences() {
    TPendingStore& store = Store();
    for (size_t i = 0; i < store.Items.size();) {
        TPendingReference reference = store.Items[i];
        TComponent* target = FindReferencedComponent(reference.Root, reference.Name);
        if (!target) {
            ++i;
            continue;
        }
        store.Items.erase(store.Items.begin() + static_cast<std::ptrdiff_t>(i));
        store.Forget(reference);
        if (!ReachesPublished(reference.Holder, reference.Instance)) continue;
        try {
            reference.Prop->SetComponent(reference.Instance, target);
        } catch (const Exception&) {
            // Set long after its text was read, nobody could be told where.
        }
        // A setter may have freed components, and with them waiting entries.
        i = std::min(i, store.Items.size());
    }
}

int PendingReferenceCount() { return static_cast<int>(Store().Items.size()); }

} // namespace host
