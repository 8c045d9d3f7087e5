#pragma once
// Private to host/stream: not installed.
// Holds components that may end while they are held: each one's free
// notification takes it out (and tells OnGone), so what is left is alive.

#include "host/core/Component.h"

#include <functional>
#include <unordered_set>
#include <vector>

namespace host {

class TComponentTracker {
public:
    TComponentTracker() = default;
    TComponentTracker(const TComponentTracker&) = delete;
    TComponentTracker& operator=(const TComponentTracker&) = delete;

    // Adding one twice keeps one entry.
    void Add(TComponent* component);
    void Remove(TComponent* component);
    bool Contains(const TComponent* component) const;
    // The live components, in the order they were added.
    const std::vector<TComponent*>& Items() const { return FItems; }

    // Told of a held component that is ending (already out of Items).
    std::function<void(TComponent*)> OnGone;

private:
    void Gone(TComponent* component);

    std::vector<TComponent*> FItems;
    std::unordered_set<const TComponent*> FHeld;  // FItems, to answer Contains at once
    TComponentWatch FWatch{[this](TComponent* component) { Gone(component); }};
};

} // namespace host
