// A fill that has run once allocates nothing for the next keys: the
// lookup's lists, the search's matchers and the values found are reused,
// and short texts are copied within their variants.

#include "host/core/Component.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "lookup/LkFill.h"
#include "tests/limits/AllocationMeter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace host;

class FillAllocationTest : public ::testing::Test {
protected:
    static constexpr int Rows = 100;

    void SetUp() override {
        Customers = TMemoryDataSet::Create(Module.get());
        Customers->FieldDefs().Add("CustNo", ftInteger);
        Customers->FieldDefs().Add("Company", ftString, 30);
        Customers->FieldDefs().Add("City", ftString, 20);
        Customers->Open();
        for (int i = 0; i < Rows; ++i) Customers->AppendRecord({i, "Company " + std::to_string(i), "City " + std::to_string(i % 7)});

        Orders = TMemoryDataSet::Create(Module.get());
        Orders->FieldDefs().Add("CustNo", ftInteger);
        Orders->FieldDefs().Add("Name", ftString, 30);
        Orders->FieldDefs().Add("City", ftString, 20);
        Orders->Open();
        Orders->Append();

        Fill = veskar::TLookupFill::Create(Module.get());
        Fill->KeyFields()->SetCommaText("CustNo");
        Fill->LookupKeyFields()->SetCommaText("CustNo");
        Fill->ResultFields()->SetCommaText("Name,City");
        Fill->LookupResultFields()->SetCommaText("Company,City");
        TDataSource* orders = TDataSource::Create(Module.get());
        orders->SetDataSet(Orders);
        TDataSource* customers = TDataSource::Create(Module.get());
        customers->SetDataSet(Customers);
        Fill->SetDataSource(orders);
        Fill->SetLookupDataSource(customers);
        Key = Orders->FieldByName("CustNo");
    }

    Owned<TDataModule> Module{TDataModule::Create(nullptr)};
    TMemoryDataSet* Customers = nullptr;
    TMemoryDataSet* Orders = nullptr;
    veskar::TLookupFill* Fill = nullptr;
    TField* Key = nullptr;
};

TEST_F(FillAllocationTest, KeysWrittenAfterTheFirstFillAllocateNothing) {
    // The first fill builds the index and the lists it keeps.
    Key->SetValue(1);
    ASSERT_EQ(Orders->FieldByName("Name")->AsString(), "Company 1");

    const limits::TAllocationMeter meter;
    for (int i = 0; i < 3 * Rows; ++i) Key->SetValue((i * 37) % Rows);
    EXPECT_EQ(meter.Allocations(), 0u);
    // The fills did run: the last key's record is in the fields.
    const int last = ((3 * Rows - 1) * 37) % Rows;
    EXPECT_EQ(Orders->FieldByName("Name")->AsString(), "Company " + std::to_string(last));
    EXPECT_EQ(Orders->FieldByName("City")->AsString(), "City " + std::to_string(last % 7));
}

} // namespace
