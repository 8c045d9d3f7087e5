#include "tests/fuzz/FuzzSupport.h"

#include "host/ui/Backend.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void Check(bool condition, const std::string& what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

void ForgetShown() {
    if (auto* headless = host::HeadlessBackend()) headless->ClearShown();
}

} // namespace fuzz
