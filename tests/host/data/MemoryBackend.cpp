// The dataset contract on the in-memory dataset.

#include "ContractBackend.h"
#include "ContractFixture.h"

#include "host/data/MemoryDataSet.h"

namespace host::testing {
namespace {

class TMemoryBackend : public TContractBackend {
public:
    std::string Name() const override { return "Memory"; }
    TDataSet* Make(TComponent* owner, const std::vector<TRowValues>& rows) override {
        TMemoryDataSet* data = TMemoryDataSet::Create(owner);
        data->FieldDefs().Add("CustNo", ftInteger);
        data->FieldDefs().Add("Company", ftString, 12);
        data->FieldDefs().Add("Rating", ftFloat);
        data->FieldDefs().Add("Active", ftBoolean);
        data->FieldDefs().Add("Since", ftDateTime);
        data->Open();
        for (const TRowValues& row : rows) data->AppendRecord(row);
        data->Close();
        return data;
    }
};

INSTANTIATE_TEST_SUITE_P(Memory, DataSetContract, ::testing::Values(std::make_shared<TMemoryBackend>()), BackendName());

} // namespace
} // namespace host::testing
