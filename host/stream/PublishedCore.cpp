// The published properties of the host's core classes.

#include "host/core/Component.h"
#include "host/stream/Publisher.h"

namespace host {

void TComponent::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TComponent>();
    // The object line carries the name.
    p.String("Name", &TComponent::Name, &TComponent::SetName, "TComponentName").Stored(false);
    p.Integer("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

} // namespace host
