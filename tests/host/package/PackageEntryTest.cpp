// The package's entry points and its own module, called directly by a
// program linked against the package.

#include "host/package/PackageUnits.h"
#include "host/package/Resource.h"
#include "lookup/Package.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

// The run-time package; the design-time unit Lddsgn is in VeskarDesign.
const std::vector<std::string> StartOrder = {"Ldcapt", "Lddlg", "Ldlkpdlg", "LkFill", "Lsdblkp"};

std::vector<std::string> Prefixed(const char* prefix, std::vector<std::string> units) {
    for (std::string& unit : units) unit = prefix + unit;
    return units;
}

} // namespace

TEST(PackageEntryTest, InfoTableListsTheRunTimeUnitsInStartOrder) {
    const TPackageInfoTable* table = GetPackageInfoTable();
    ASSERT_NE(table, nullptr);
    EXPECT_STREQ(table->PackageName, "Veskar");
    ASSERT_EQ(table->UnitCount, static_cast<int>(StartOrder.size()));
    for (int i = 0; i < table->UnitCount; ++i) {
        EXPECT_EQ(table->Units[i].Name, StartOrder[i]);
        EXPECT_NE(table->Units[i].Initialization, nullptr);
        EXPECT_NE(table->Units[i].Finalization, nullptr);
    }
}

TEST(PackageEntryTest, InitializeStartsOnceAndFinalizeStopsOnceInReverse) {
    ClearPackageUnitTrace();
    Finalize();   // not started: nothing to stop
    EXPECT_TRUE(PackageUnitTrace().empty());

    Initialize();
    Initialize();
    EXPECT_EQ(PackageUnitTrace(), Prefixed("start ", StartOrder));
    EXPECT_TRUE(PackageStarted(GetPackageInfoTable()));

    ClearPackageUnitTrace();
    Finalize();
    Finalize();
    std::vector<std::string> reverse(StartOrder.rbegin(), StartOrder.rend());
    EXPECT_EQ(PackageUnitTrace(), Prefixed("stop ", reverse));
    EXPECT_FALSE(PackageStarted(GetPackageInfoTable()));
}

TEST(PackageEntryTest, OwnModuleCarriesThePackageResources) {
    const HINSTANCE module = veskar::HInstance();
    ASSERT_NE(module, nullptr);
    EXPECT_NE(module, MainInstance());
    EXPECT_EQ(ModuleName(module), "Veskar");
    EXPECT_EQ(FindModule("veskar"), module);
    for (const char* name : {"LENZ", "TLOOKUPDIALOG", "TLOOKUPFILL", "TSMARTDBLOOKUP"})
        EXPECT_TRUE(FindResource(module, name, rtBitmap).has_value()) << name;
    EXPECT_TRUE(FindResource(module, "MAINICON", rtIcon).has_value());
    EXPECT_TRUE(FindResource(module, "DESCRIPTION", rtText).has_value());
    EXPECT_EQ(FindResourceModule("LENZ", rtBitmap), module);
}
