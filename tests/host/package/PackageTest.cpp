// Loading the package library at run time, and the host's package run-time
// that starts and stops units.

#include "host/package/Package.h"
#include "host/package/PackageUnits.h"
#include "host/package/Resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace host;

namespace {

const std::vector<std::string> StartOrder = {"Ldcapt", "Lddlg", "Ldlkpdlg", "LkFill", "Lsdblkp"};
const std::vector<std::string> DesignStartOrder = {"Ldcapt", "Lddlg", "Ldlkpdlg", "LkFill", "Lsdblkp", "Lddsgn"};

std::vector<std::string> Trace(const char* verb, std::vector<std::string> units, bool reverse = false) {
    if (reverse) std::reverse(units.begin(), units.end());
    for (std::string& unit : units) unit = verb + (" " + unit);
    return units;
}

std::string MessageOf(auto action) {
    try {
        action();
    } catch (const EPackageError& e) {
        return e.Message();
    }
    return "(nothing raised)";
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Frees the package again when a test stops half way.
struct TLoadedPackage {
    HMODULE Module = LoadPackage(VESKAR_PACKAGE_FILE);
    ~TLoadedPackage() {
        if (Module) UnloadPackage(Module);
    }
    void Unload() { UnloadPackage(std::exchange(Module, nullptr)); }
};

} // namespace

TEST(PackageTest, LoadingStartsTheUnitsInOrderAndUnloadingStopsThemInReverse) {
    ClearPackageUnitTrace();
    TLoadedPackage package;
    ASSERT_NE(package.Module, nullptr);
    EXPECT_EQ(ModuleName(package.Module), "Veskar");
    EXPECT_EQ(FindModule("VESKAR"), package.Module);
    EXPECT_EQ(PackageLoadCount(package.Module), 1);
    EXPECT_EQ(PackageUnitTrace(), Trace("start", StartOrder));

    ClearPackageUnitTrace();
    package.Unload();
    EXPECT_EQ(PackageUnitTrace(), Trace("stop", StartOrder, true));
}

TEST(PackageTest, TheDesignPackageIsFoundByNameAndStartsAfterThePackageItRequires) {
    ClearPackageUnitTrace();
    const HMODULE design = LoadPackage("VeskarDesign");
    EXPECT_EQ(ModuleName(design), "VeskarDesign");
    EXPECT_EQ(PackageRequires(design), std::vector<std::string>{"Veskar"});
    EXPECT_EQ(PackageLoadCount(FindModule("Veskar")), 1);
    EXPECT_EQ(PackageUnitTrace(), Trace("start", DesignStartOrder));

    ClearPackageUnitTrace();
    UnloadPackage(design);
    EXPECT_EQ(PackageUnitTrace(), Trace("stop", DesignStartOrder, true));
    EXPECT_EQ(PackageLoadCount(FindModule("Veskar")), 0);
    EXPECT_EQ(MessageOf([] { LoadPackage("NoSuchPackage"); }), "Package file NoSuchPackage not found");
}

TEST(PackageTest, LoadingTwiceStartsOnceAndTheLastUnloadStops) {
    ClearPackageUnitTrace();
    TLoadedPackage first;
    TLoadedPackage second;
    EXPECT_EQ(first.Module, second.Module);
    EXPECT_EQ(PackageLoadCount(first.Module), 2);
    EXPECT_EQ(PackageUnitTrace(), Trace("start", StartOrder));

    ClearPackageUnitTrace();
    second.Unload();
    EXPECT_TRUE(PackageUnitTrace().empty());
    EXPECT_TRUE(FindResource(first.Module, "LENZ", rtBitmap).has_value());
    first.Unload();
    EXPECT_EQ(PackageUnitTrace(), Trace("stop", StartOrder, true));
    EXPECT_EQ(PackageLoadCount(FindModule("Veskar")), 0);
}

TEST(PackageTest, PackageResourcesAreFoundByNameIgnoringCase) {
    TLoadedPackage package;
    for (const char* name : {"LENZ", "lenz", "TLookupDialog", "tlookupfill", "TSMARTDBLOOKUP"})
        EXPECT_TRUE(FindResource(package.Module, name, rtBitmap).has_value()) << name;
    EXPECT_FALSE(FindResource(package.Module, "LENZ", rtIcon).has_value());

    // The embedded bytes are the resource files' bytes.
    const auto glyph = FindResource(package.Module, "Lenz", rtBitmap);
    ASSERT_TRUE(glyph.has_value());
    EXPECT_EQ(std::string(glyph->begin(), glyph->end()), FileText(VESKAR_RESOURCE_DIR "/LENZ.bmp"));

    const auto icon = FindResource(package.Module, "mainicon", rtIcon);
    ASSERT_TRUE(icon.has_value());
    ASSERT_GE(icon->size(), 22u);
    const auto& i = *icon;
    EXPECT_EQ(i[0] | i[1] << 8, 0);   // reserved
    EXPECT_EQ(i[2] | i[3] << 8, 1);   // an icon
    EXPECT_GE(i[4] | i[5] << 8, 1);   // images
    EXPECT_EQ(i[6], 32);              // width
    EXPECT_EQ(i[7], 32);              // height
}

TEST(PackageTest, DescriptionIsOneLineNamingTheComponentSet) {
    TLoadedPackage package;
    const std::string description = LoadTextResource(package.Module, "description");
    std::string file = FileText(VESKAR_RESOURCE_DIR "/DESCRIPTION.txt");
    while (!file.empty() && (file.back() == '\n' || file.back() == '\r')) file.pop_back();
    EXPECT_EQ(description, file);
    EXPECT_EQ(description.find('\n'), std::string::npos);
    EXPECT_NE(description.find("Veskar"), std::string::npos);
}

TEST(PackageTest, LoadFailuresRaiseClearErrorsAndLeaveNothingLoaded) {
    const std::string missing = "/nonexistent/libNothing.so";
    EXPECT_EQ(MessageOf([&] { LoadPackage(missing); }), "Package file " + missing + " not found");

    const std::string notLibrary = (std::filesystem::temp_directory_path() / "veskar_not_a_library.so").string();
    std::ofstream(notLibrary) << "not a library\n";
    EXPECT_EQ(MessageOf([&] { LoadPackage(notLibrary); }).rfind("Cannot load package " + notLibrary + ": ", 0), 0u);
    std::filesystem::remove(notLibrary);

    // A library that is not a package: the host itself has no entry points.
    EXPECT_EQ(MessageOf([] { LoadPackage(HOST_LIBRARY_FILE); }),
              std::string("Package ") + HOST_LIBRARY_FILE + " has no entry point Initialize");

    EXPECT_EQ(MessageOf([] { UnloadPackage(MainInstance()); }), "Module of the main program was not loaded as a package");
    const HINSTANCE never = ModuleHandle("NeverLoaded");
    EXPECT_EQ(MessageOf([&] { UnloadPackage(never); }), "Module NeverLoaded was not loaded as a package");
}

namespace {

std::vector<std::string> UnitLog;
bool FailStart = false;
bool FailStop = false;

void StartA() { UnitLog.push_back("A up"); }
void StopA() { UnitLog.push_back("A down"); }
void StartB() {
    if (FailStart) throw std::runtime_error("B will not start");
    UnitLog.push_back("B up");
}
void StopB() {
    UnitLog.push_back("B down");
    if (FailStop) throw std::runtime_error("B will not stop");
}

constexpr TPackageUnitEntry TestUnits[] = {{"A", StartA, StopA}, {"B", StartB, StopB}, {"C", nullptr, nullptr}};
constexpr TPackageInfoTable TestTable{"RuntimeTestPackage", 3, TestUnits};

class PackageRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override {
        UnitLog.clear();
        FailStart = FailStop = false;
        ClearPackageUnitTrace();
    }
    void TearDown() override {
        FailStop = false;
        FinalizePackage(&TestTable);
    }
};

} // namespace

TEST_F(PackageRuntimeTest, RoutinesRunOnceInOrderAndStopInReverse) {
    FinalizePackage(&TestTable);
    EXPECT_TRUE(UnitLog.empty());
    InitializePackage(&TestTable);
    InitializePackage(&TestTable);
    EXPECT_EQ(UnitLog, (std::vector<std::string>{"A up", "B up"}));
    EXPECT_EQ(PackageUnitTrace(), (std::vector<std::string>{"start A", "start B", "start C"}));
    EXPECT_TRUE(PackageStarted(&TestTable));

    FinalizePackage(&TestTable);
    FinalizePackage(&TestTable);
    EXPECT_EQ(UnitLog, (std::vector<std::string>{"A up", "B up", "B down", "A down"}));
    EXPECT_FALSE(PackageStarted(&TestTable));
}

TEST_F(PackageRuntimeTest, FailedStartStopsTheUnitsAlreadyStarted) {
    FailStart = true;
    EXPECT_THROW(InitializePackage(&TestTable), std::runtime_error);
    EXPECT_EQ(UnitLog, (std::vector<std::string>{"A up", "A down"}));
    EXPECT_FALSE(PackageStarted(&TestTable));
    FailStart = false;
    InitializePackage(&TestTable);
    EXPECT_TRUE(PackageStarted(&TestTable));
}

TEST_F(PackageRuntimeTest, FailedStopStillStopsTheOthersThenRaises) {
    InitializePackage(&TestTable);
    UnitLog.clear();
    FailStop = true;
    EXPECT_THROW(FinalizePackage(&TestTable), std::runtime_error);
    EXPECT_EQ(UnitLog, (std::vector<std::string>{"B down", "A down"}));
    EXPECT_FALSE(PackageStarted(&TestTable));
}

TEST_F(PackageRuntimeTest, BrokenTablesAreRefused) {
    static constexpr TPackageUnitEntry unnamed[] = {{nullptr, StartA, StopA}};
    constexpr TPackageInfoTable noName{nullptr, 0, nullptr};
    constexpr TPackageInfoTable noUnits{"Broken", 2, nullptr};
    constexpr TPackageInfoTable unnamedUnit{"Broken", 1, unnamed};
    EXPECT_THROW(InitializePackage(nullptr), Exception);
    EXPECT_THROW(InitializePackage(&noName), Exception);
    EXPECT_THROW(InitializePackage(&noUnits), Exception);
    EXPECT_THROW(InitializePackage(&unnamedUnit), Exception);
    EXPECT_TRUE(UnitLog.empty());
}
