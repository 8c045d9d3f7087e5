#include "lookup/Package.h"

#include "host/core/ClassRegistry.h"
#include "host/data/SqlRegistration.h"
#include "host/package/PackageUnits.h"
#include "host/stream/StandardClasses.h"
#include "lookup/Ldcapt.h"
#include "lookup/Lddlg.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"
#include "lookup/Lsdblkp.h"

#include <iterator>

// Defined at the end of LkFill.cpp; LkFill.h is the fill component's own.
namespace veskar::LkFill {
void Initialization();
void Finalization();
void Register();
} // namespace veskar::LkFill

namespace {

using namespace veskar;

// Dependency order: each unit after the units it uses.
constexpr host::TPackageUnitEntry Units[] = {
    {"Ldcapt", Ldcapt::Initialization, Ldcapt::Finalization},
    {"Lddlg", Lddlg::Initialization, Lddlg::Finalization},
    {"Ldlkpdlg", Ldlkpdlg::Initialization, Ldlkpdlg::Finalization},
    {"LkFill", LkFill::Initialization, LkFill::Finalization},
    {"Lsdblkp", Lsdblkp::Initialization, Lsdblkp::Finalization},
};

// The units that put their component on the designer's palette; only the
// designer calls them (the design package VeskarDesign requires this one).
constexpr host::TPackageRegisterEntry RegisterProcs[] = {
    {"Ldlkpdlg", Ldlkpdlg::Register},
    {"LkFill", LkFill::Register},
    {"Lsdblkp", Lsdblkp::Register},
};

constexpr host::TPackageRegisterTable RegisterTable{static_cast<int>(std::size(RegisterProcs)), RegisterProcs};

constexpr host::TPackageInfoTable InfoTable{PackageName, static_cast<int>(std::size(Units)), Units};

} // namespace

namespace veskar {

host::HINSTANCE HInstance() { return host::ModuleHandle(PackageName); }

void RegisterFormClasses() {
    host::RegisterStandardClasses();
    host::RegisterSQLClasses();
    host::RegisterClasses({&TLookupFill::ClassInfo(), &TLookupDialog::ClassInfo(), &TSmartDBLookup::ClassInfo()});
}

} // namespace veskar

extern "C" {

void Initialize() { host::InitializePackage(&InfoTable); }
void Finalize() { host::FinalizePackage(&InfoTable); }
const host::TPackageInfoTable* GetPackageInfoTable() { return &InfoTable; }
const host::TPackageRegisterTable* GetPackageRegisterTable() { return &RegisterTable; }

}
