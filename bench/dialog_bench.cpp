// The lookup dialog's costs that a user waits for: building the default
// lookup form from its stored definition, and a whole lookup run (form made,
// lookup table positioned on the typed prefix, shown, answered, keys copied,
// form freed) over lookup tables of growing size.

#include "BenchRatio.h"

#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"
#include "lookup/Lddlg.h"
#include "lookup/Ldlkpdlg.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace host;
using namespace veskar;

namespace {

void BM_StoredLookupForm(benchmark::State& state) {
    for (auto _ : state) {
        Owned<TDefaultLookupForm> form(TDefaultLookupForm::Create(nullptr));
        benchmark::DoNotOptimize(form->lGrid);
    }
}
BENCHMARK(BM_StoredLookupForm)->Unit(benchmark::kMicrosecond);

struct World {
    Owned<TForm> Form{TForm::Create(nullptr)};
    TMemoryDataSet* Orders = nullptr;
    TMemoryDataSet* Customers = nullptr;
    TDBEdit* Edit = nullptr;
    TLookupDialog* Dialog = nullptr;

    explicit World(int rows) {
        Customers = Table("CustNo");
        Customers->DisableControls();
        for (int i = 0; i < rows; ++i) Customers->AppendRecord({"K" + std::to_string(i)});
        Customers->EnableControls();
        Orders = Table("CustNo");
        Orders->AppendRecord({""});
        Orders->Edit();
        Edit = TDBEdit::Create(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetDataSource(Source(Orders));
        Edit->SetDataField("CustNo");
        Dialog = TLookupDialog::Create(Form.get());
        Dialog->KeyFields()->SetCommaText("CustNo");
        Dialog->LookupKeyFields()->SetCommaText("CustNo");
        Dialog->SetDataSource(Edit->DataSource());
        Dialog->SetLookupDataSource(Source(Customers));
    }
    TMemoryDataSet* Table(const char* key) {
        TMemoryDataSet* table = TMemoryDataSet::Create(Form.get());
        table->FieldDefs().Add(key, ftString, 12);
        table->Open();
        return table;
    }
    TDataSource* Source(TDataSet* dataSet) {
        TDataSource* source = TDataSource::Create(Form.get());
        source->SetDataSet(dataSet);
        return source;
    }
};

void BM_LookupRun(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    World world(rows);
    // The typed prefix names a record in the middle of the table.
    world.Edit->SetText("k" + std::to_string(rows / 2));
    auto run = [&] {
        HeadlessBackend()->QueueModalAnswer([](TCustomForm* form) {
            HeadlessBackend()->ClearShown();  // the record of shown forms would only grow
            form->SetModalResult(mrOk);
        });
        world.Dialog->GoLookupDialog(world.Edit, world.Orders->FieldByName("CustNo"), nullptr);
    };
    // P6's baseline: the same run positioning the table by a scan.
    world.Customers->SetIndexed(false);
    const double scan = bench::MedianMicros(3, run);
    world.Customers->SetIndexed(true);
    run();  // builds the index outside the timed loop
    bench::TLoopClock clock;
    for (auto _ : state) run();
    clock.Report(state, scan, true);
    HeadlessBackend()->ClearShown();
}
BENCHMARK(BM_LookupRun)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
