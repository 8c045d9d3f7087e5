#include "host/core/Object.h"

#include "host/core/Exception.h"

namespace host {

const TClass& TObject::ClassInfo() {
    static const TClass info("TObject", nullptr);
    return info;
}

void TObject::Free() {
    if (FFreeing || FFreePending) return;
    if (FKeepAlive > 0) {
        FFreePending = true;
        Detach();
        return;
    }
    FFreeing = true;
    struct Release {
        TObject* self;
        ~Release() { delete self; }
    } release{this};
    BeforeDestruction();
    Destroy();
}

void TKeepAlive::FinishFree() {
    FObject->FFreePending = false;
    FObject->Free();
}

void TObject::DestroyFailed() noexcept {
    FFreeing = true;
    try {
        Destroy();
    } catch (...) {
        // The construction's own exception is the one the caller sees.
    }
    delete this;
}

HOST_IMPLEMENT_CLASS(TPersistent, TObject)

void TPersistent::Assign(const TPersistent* source) {
    if (!source) throw EConvertError("Cannot assign a nil to a " + ClassName());
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const {
    const std::string target = dest ? dest->ClassName() : std::string("nil");
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + target);
}

} // namespace host
