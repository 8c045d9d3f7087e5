#include "host/package/PackageUnits.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"

#include <algorithm>
#include <exception>

namespace host {

namespace {

// A started package, by name: a library loaded a second time has a new
// table address but is the same package.
std::vector<std::string>& StartedPackages() {
    static std::vector<std::string> started;
    return started;
}

std::vector<std::string>& Trace() {
    static std::vector<std::string> trace;
    return trace;
}

std::vector<std::string>::iterator FindStarted(const TPackageInfoTable* table) {
    auto& started = StartedPackages();
    return std::find_if(started.begin(), started.end(),
                        [table](const std::string& name) { return SameText(name, table->PackageName); });
}

void CheckTable(const TPackageInfoTable* table) {
    if (!table || !table->PackageName || table->UnitCount < 0 || (table->UnitCount > 0 && !table->Units))
        throw Exception("Invalid package unit table");
    for (int i = 0; i < table->UnitCount; ++i)
        if (!table->Units[i].Name) throw Exception("Invalid package unit table");
}

void StopUnit(const TPackageUnitEntry& unit) {
    Trace().push_back(std::string("stop ") + unit.Name);
    if (unit.Finalization) unit.Finalization();
}

// Stops units [0, count) last first; answers the first failure.
std::exception_ptr StopUnits(const TPackageInfoTable* table, int count) {
    std::exception_ptr first;
    for (int i = count - 1; i >= 0; --i) {
        try {
            StopUnit(table->Units[i]);
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    return first;
}

} // namespace

void InitializePackage(const TPackageInfoTable* table) {
    CheckTable(table);
    if (PackageStarted(table)) return;
    int started = 0;
    try {
        for (; started < table->UnitCount; ++started) {
            const TPackageUnitEntry& unit = table->Units[started];
            Trace().push_back(std::string("start ") + unit.Name);
            if (unit.Initialization) unit.Initialization();
        }
    } catch (...) {
        StopUnits(table, started);
        throw;
    }
    StartedPackages().push_back(table->PackageName);
}

void FinalizePackage(const TPackageInfoTable* table) {
    CheckTable(table);
    const auto it = FindStarted(table);
    if (it == StartedPackages().end()) return;
    StartedPackages().erase(it);
    if (std::exception_ptr failure = StopUnits(table, table->UnitCount)) std::rethrow_exception(failure);
}

bool PackageStarted(const TPackageInfoTable* table) {
    return table && table->PackageName && FindStarted(table) != StartedPackages().end();
}

const std::vector<std::string>& PackageUnitTrace() { return Trace(); }
void ClearPackageUnitTrace() { Trace().clear(); }

} // namespace host
