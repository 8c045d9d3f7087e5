#include "host/core/ClassRegistry.h"

#include "host/core/StreamErrors.h"
#include "host/core/TextUtils.h"

#include <algorithm>
#include <vector>

namespace host {

namespace {

std::vector<const TClass*>& Registry() {
    static std::vector<const TClass*> classes;
    return classes;
}

} // namespace

void RegisterClass(const TClass& cls) {
    if (const TClass* known = GetClass(cls.ClassName())) {
        if (known == &cls) return;
        throw EInvalidOperation("A class named " + cls.ClassName() + " already exists");
    }
    Registry().push_back(&cls);
}

void RegisterClasses(std::initializer_list<const TClass*> classes) {
    for (const TClass* cls : classes)
        if (cls) RegisterClass(*cls);
}

void UnRegisterClass(const TClass& cls) { std::erase(Registry(), &cls); }

const TClass* GetClass(std::string_view name) {
    for (const TClass* cls : Registry())
        if (SameText(cls->ClassName(), name)) return cls;
    return nullptr;
}

const TClass& FindClass(std::string_view name) {
    if (const TClass* cls = GetClass(name)) return *cls;
    throw EClassNotFound("Class " + std::string(name) + " not found");
}

} // namespace host
