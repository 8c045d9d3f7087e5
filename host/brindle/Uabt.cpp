#include "host/brindle/Uabt.h"

#include "host/ui/Backend.h"

namespace host {

void ShowAboutBoxE(const std::string& className, const std::string& version) {
    UIBackend().AboutBox(className, version);
}

} // namespace host
