#include "host/core/ComponentRegistration.h"

#include "host/core/Exception.h"

namespace host {

namespace {

TRegisterComponentsProc RegisterComponentsProc = nullptr;

} // namespace

void RegisterComponents(const std::string& page, std::initializer_list<const TComponentClass*> classes) {
    RegisterComponents(page, std::vector<const TComponentClass*>(classes));
}

void RegisterComponents(const std::string& page, const std::vector<const TComponentClass*>& classes) {
    if (!RegisterComponentsProc) throw EComponentError("Invalid component registration");
    RegisterComponentsProc(page, classes);
}

void SetRegisterComponentsProc(TRegisterComponentsProc proc) { RegisterComponentsProc = proc; }

} // namespace host
