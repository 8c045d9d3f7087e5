#pragma once
// The dataset contract's fixture: a customers dataset from the back end
// under test, a data source and a link that logs what it hears.

#include "ContractBackend.h"
#include "DataFixture.h"

#include <gtest/gtest.h>

namespace host::testing {

class DataSetContract : public ::testing::TestWithParam<TBackendPtr> {
protected:
    void SetUp() override {
        const TBackendPtr& backend = GetParam();
        if (const std::string why = backend->Unavailable(); !why.empty()) {
            if (backend->Required()) FAIL() << backend->Name() << " is required here but unavailable: " << why;
            GTEST_SKIP() << backend->Name() << " skipped: " << why;
        }
        Module = TDataModule::Create(nullptr);
        Customers = backend->Make(Module, {
            {1221, "Kauai Dive", 4.5, true, Variant::FromDateTime(40000.0)},
            {1231, "Unisco", 3, false, Variant::FromDateTime(40001.5)},
            {1351, "Sight Diver", Variant::Null(), true, Variant::Null()},
            {1354, "Cayman Dive", 2.25, Variant::Null(), Variant::FromDateTime(39000.25)},
            {1356, "kauai surf", 1.0, false, Variant::FromDateTime(41000.0)},
        });
        Customers->Open();
        Source = TDataSource::Create(Module);
        Source->SetDataSet(Customers);
    }
    void TearDown() override { Free(Module); }

    Variant Value(const char* field) const { return Customers->FieldByName(field)->Value(); }
    std::vector<int64_t> CustNos() {
        std::vector<int64_t> seen;
        for (Customers->First(); !Customers->Eof(); Customers->Next()) seen.push_back(Value("CustNo").AsInteger());
        return seen;
    }

    TDataModule* Module = nullptr;
    TDataSet* Customers = nullptr;
    TDataSource* Source = nullptr;
};

} // namespace host::testing
