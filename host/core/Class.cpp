#include "host/core/Class.h"

#include "host/core/Exception.h"

namespace host {

TComponent* TComponentClass::Create(TComponent* owner) const {
    if (!FFactory) throw EInvalidOperation("Cannot create an instance of abstract class " + ClassName());
    return FFactory(owner);
}

TCollectionItem* TCollectionItemClass::Create(TCollection* collection) const {
    if (!FFactory) throw EInvalidOperation("Cannot create an instance of abstract class " + ClassName());
    return FFactory(collection);
}

} // namespace host
