// The fill's path from a key change to written result fields, the dataset
// searches under it, and loading a lookup table, over tables of growing
// size. Every indexed figure is set beside the scan of the same table
// (SetIndexed(false)) measured in the same run.

#include "BenchRatio.h"

#include "host/core/Component.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "lookup/LkFill.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <string>
#include <unordered_map>
#include <vector>

using namespace host;

namespace {

// Keys scattered over the table, so that the average scan covers half of it
// and no two searches in a row touch the same memory.
int KeyAt(int i, int rows) { return static_cast<int>((static_cast<uint64_t>(i) * 2654435761u + 12345u) % static_cast<uint64_t>(rows)); }

void AddRow(TMemoryDataSet* table, int i) {
    table->Append();
    table->Fields(0)->SetValue(i);
    table->Fields(1)->SetValue("Company " + std::to_string(i));
    table->Fields(2)->SetValue("City " + std::to_string(i % 97));
    table->Post();
}

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
        for (int i = 0; i < rows; ++i) AddRow(Customers, i);
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

// The linear scan's time for Search, a few calls on the same table.
template <class F>
double ScanMicros(TMemoryDataSet* table, F search) {
    table->SetIndexed(false);
    int i = 0;
    const double micros = bench::MedianMicros(5, [&] { search(i++); });
    table->SetIndexed(true);
    search(0);  // builds the index outside the timed loop
    return micros;
}

// This thread's CPU time in nanoseconds: on a shared machine wall time says
// little, and the fill and its floor are compared alike.
double ThreadCpuNanos() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

// One key written, kept out of line so that a profiler can count exactly
// what one fill costs (valgrind --tool=callgrind --toggle-collect='*WriteKey*').
[[gnu::noinline]] void WriteKey(TField* key, int value) { key->SetValue(value); }

// The floor under the fill: the same table's keys in a bare hash map from
// key to row, and the two result strings assigned to a destination record,
// for the same key sequence. Answers nanoseconds per key.
double FloorNanos(int rows, int64_t keys) {
    std::unordered_map<int, int> rowOf;
    rowOf.reserve(static_cast<size_t>(rows));
    std::vector<std::string> company(static_cast<size_t>(rows)), city(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        rowOf.emplace(i, i);
        company[static_cast<size_t>(i)] = "Company " + std::to_string(i);
        city[static_cast<size_t>(i)] = "City " + std::to_string(i % 97);
    }
    struct {
        std::string Name, City;
    } order;
    const double start = ThreadCpuNanos();
    for (int64_t i = 0; i < keys; ++i) {
        const auto found = rowOf.find(KeyAt(static_cast<int>(i), rows));
        if (found == rowOf.end()) continue;
        order.Name = company[static_cast<size_t>(found->second)];
        order.City = city[static_cast<size_t>(found->second)];
        benchmark::DoNotOptimize(order);
    }
    return (ThreadCpuNanos() - start) / static_cast<double>(std::max<int64_t>(keys, 1));
}

// P1: a key written to the destination, the result fields filled; set
// beside the scan and beside the bare hash map's floor (counters floor_ns and
// vs_floor, the fill's CPU time over the floor's).
void BM_FillKeyChange(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)));
    TField* key = world.Orders->FieldByName("CustNo");
    const double scan = ScanMicros(world.Customers, [&](int i) { key->SetValue(KeyAt(i, world.Rows)); });
    int i = 0;
    const double start = ThreadCpuNanos();
    bench::TLoopClock clock;
    for (auto _ : state) WriteKey(key, KeyAt(i++, world.Rows));
    clock.Report(state, scan, true);
    const double fillNanos =
        (ThreadCpuNanos() - start) / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    const double floorNanos = FloorNanos(world.Rows, std::max<int64_t>(state.iterations(), 100000));
    state.counters["floor_ns"] = floorNanos;
    state.counters["vs_floor"] = fillNanos / floorNanos;
    if (world.Orders->FieldByName("Name")->Value() != world.Customers->Lookup("CustNo", key->Value(), "Company"))
        state.SkipWithError("the fill wrote the wrong company");
}

void BM_Lookup(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)));
    auto lookup = [&](int i) { return world.Customers->Lookup("CustNo", KeyAt(i, world.Rows), "Company;City"); };
    const double scan = ScanMicros(world.Customers, lookup);
    int i = 0;
    bench::TLoopClock clock;
    for (auto _ : state) benchmark::DoNotOptimize(lookup(i++));
    clock.Report(state, scan, true);
}

void BM_Locate(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)));
    auto locate = [&](int i) {
        return world.Customers->Locate("Company", "company " + std::to_string(KeyAt(i, world.Rows)), {loCaseInsensitive});
    };
    const double scan = ScanMicros(world.Customers, locate);
    int i = 0;
    bench::TLoopClock clock;
    for (auto _ : state) benchmark::DoNotOptimize(locate(i++));
    clock.Report(state, scan, true);
}

// P2: a typed beginning, letter case ignored, naming one of the last rows
// ("company 99999" matches rows 99,999 and 999,990 to 999,999) or none.
void BM_LocatePartial(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)));
    auto locate = [&](int i) {
        const std::string prefix = i % 2 ? "COMPANY " + std::to_string(world.Rows - 1 - i % 1000) : "company x" + std::to_string(i);
        return world.Customers->Locate("Company", prefix, {loCaseInsensitive, loPartialKey});
    };
    const double scan = ScanMicros(world.Customers, locate);
    int i = 0;
    bench::TLoopClock clock;
    for (auto _ : state) benchmark::DoNotOptimize(locate(i++));
    clock.Report(state, scan, true);
}

// P7: rows loaded one by one through Append, the fields and Post into a
// table no control watches; the baseline loads with indexes disabled. Also
// reports the first Lookup after the load, which takes the rows into the
// key's index, and what each index takes beside its key column (a column of
// variants; the texts here are short enough to live inside them).
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_Load(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    auto load = [&](bool indexed) {
        Owned<TDataModule> module(TDataModule::Create(nullptr));
        TMemoryDataSet* table = TMemoryDataSet::Create(module.get());
        table->FieldDefs().Add("CustNo", ftInteger);
        table->FieldDefs().Add("Company", ftString, 30);
        table->FieldDefs().Add("City", ftString, 20);
        table->Open();
        table->SetIndexed(indexed);
        const double cpu = CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        AddRow(table, 0);
        table->Lookup("CustNo", 0, "Company");  // the index exists while the rows come
        for (int i = 1; i < rows; ++i) AddRow(table, i);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (indexed) {
            state.counters["load_cpu_ms"] = (CpuSeconds() - cpu) * 1e3;
            state.counters["first_lookup_ms"] =
                bench::MedianMicros(1, [&] { table->Lookup("CustNo", rows / 2, "Company"); }) / 1e3;
            const double column = static_cast<double>(sizeof(Variant)) * rows;
            const auto hash = static_cast<double>(table->IndexMemory());
            state.counters["first_locate_ms"] = bench::MedianMicros(1, [&] {
                table->Locate("Company", "company 1", {loCaseInsensitive, loPartialKey});
            }) / 1e3;
            state.counters["hash_per_column"] = hash / column;
            state.counters["ordered_per_column"] = (static_cast<double>(table->IndexMemory()) - hash) / column;
        }
        return seconds;
    };
    const double scan = load(false) * 1e6;
    double total = 0;
    for (auto _ : state) {
        const double seconds = load(true);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["baseline_us"] = scan;
    state.counters["ratio"] = total * 1e6 / static_cast<double>(state.iterations()) / scan;
}

} // namespace

BENCHMARK(BM_FillKeyChange)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lookup)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Locate)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LocatePartial)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load)->Arg(1000000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
