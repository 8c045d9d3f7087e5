#include "design/Package.h"

#include "design/Lddsgn.h"
#include "host/package/PackageUnits.h"
#include "lookup/Package.h"

#include <iterator>

namespace {

using namespace veskar;

constexpr host::TPackageUnitEntry Units[] = {
    {"Lddsgn", Lddsgn::Initialization, Lddsgn::Finalization},
};

constexpr host::TPackageRegisterEntry RegisterProcs[] = {
    {"Lddsgn", Lddsgn::Register},
};

constexpr const char* Requires[] = {PackageName};

constexpr host::TPackageRegisterTable RegisterTable{static_cast<int>(std::size(RegisterProcs)), RegisterProcs};

constexpr host::TPackageInfoTable InfoTable{DesignPackageName, static_cast<int>(std::size(Units)), Units,
                                            static_cast<int>(std::size(Requires)), Requires};

} // namespace

// The entry points of this library; the run-time package's of the same
// names stay its own, as the host asks each library for its own.
extern "C" {

void Initialize() { host::InitializePackage(&InfoTable); }
void Finalize() { host::FinalizePackage(&InfoTable); }
const host::TPackageInfoTable* GetPackageInfoTable() { return &InfoTable; }
const host::TPackageRegisterTable* GetPackageRegisterTable() { return &RegisterTable; }

}
