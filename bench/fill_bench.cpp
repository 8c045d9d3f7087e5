// The fill's path from a key change to written result fields, and the
// dataset searches under it, over lookup tables of growing size.

#include "host/core/Component.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "lookup/LkFill.h"

#include <benchmark/benchmark.h>

using namespace host;

namespace {

struct World {
    Owned<TDataModule> Module{TDataModule::Create(nullptr)};
    TMemoryDataSet* Orders = nullptr;
    TMemoryDataSet* Customers = nullptr;
    veskar::TLookupFill* Fill = nullptr;
    int Rows = 0;

    explicit World(int rows) : Rows(rows) {
        Customers = TMemoryDataSet::Create(Module.get());
        Customers->FieldDefs().Add("CustNo", ftInteger);
        Customers->FieldDefs().Add("Company", ftString, 30);
        Customers->FieldDefs().Add("City", ftString, 20);
        Customers->Open();
        Customers->DisableControls();
        for (int i = 0; i < rows; ++i)
            Customers->AppendRecord({i, "Company " + std::to_string(i), "City " + std::to_string(i % 97)});
        Customers->EnableControls();
        Customers->First();

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
    }
};

// Keys spread over the table so that the average search covers half of it.
int KeyAt(int i, int rows) { return static_cast<int>((static_cast<long long>(i) * 7919) % rows); }

void BM_FillKeyChange(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)));
    TField* key = world.Orders->FieldByName("CustNo");
    int i = 0;
    for (auto _ : state) key->SetValue(KeyAt(i++, world.Rows));
    benchmark::DoNotOptimize(world.Orders->FieldByName("Name")->Value());
}

void BM_Lookup(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(world.Customers->Lookup("CustNo", KeyAt(i++, world.Rows), "Company;City"));
}

void BM_Locate(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(world.Customers->Locate("Company", "company " + std::to_string(KeyAt(i++, world.Rows)),
                                                         {loCaseInsensitive}));
}

} // namespace

BENCHMARK(BM_FillKeyChange)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lookup)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Locate)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
