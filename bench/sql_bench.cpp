// The lookup components on an SQLite table beside the in-memory dataset:
// the fill's path from a key written to the result fields filled, a whole
// lookup run, scrolling the lookup grid by a page, and opening a table's
// dataset, over tables of growing size. The in-memory figures (indexed, and
// the linear scan with indexes disabled) are measured in the same run.
//
// The database files are made once in the temporary folder
// (veskar-bench-N.db) and kept for the next run.

#include "BenchRatio.h"

#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"
#include "lookup/Lddlg.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace host;
using namespace veskar;

namespace {

// Keys scattered over the table, so no two searches in a row touch the same
// pages.
int KeyAt(int i, int rows) { return static_cast<int>((static_cast<uint64_t>(i) * 2654435761u + 12345u) % static_cast<uint64_t>(rows)); }

std::string CustNo(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "K%07d", i);
    return text;
}

double ResidentMB() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Resident memory not backed by a file: a memory map's pages are the
// system's file cache, which other processes share.
double AnonymousMB() {
    double kb = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "RssAnon: %lf", &kb) == 1) break;
        std::fclose(status);
    }
    return kb / 1024.0;
}

// The customers table of Rows rows, CustNo "K0000000" on, in a file of its own.
std::string DatabaseFile(int rows) {
    const std::string file =
        (std::filesystem::temp_directory_path() / ("veskar-bench-" + std::to_string(rows) + ".db")).string();
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TSQLiteConnection* db = TSQLiteConnection::Create(module.get());
    db->SetDatabaseName(file);
    db->Open();
    // Write-ahead logging: a read takes no file lock and looks for no hot
    // journal, which is most of a small query's cost otherwise.
    db->ExecuteDirect("PRAGMA journal_mode=WAL");
    db->ExecuteDirect(
        "CREATE TABLE IF NOT EXISTS customer (CustNo VARCHAR(12) PRIMARY KEY, Company VARCHAR(30), City VARCHAR(20));"
        "CREATE INDEX IF NOT EXISTS customer_custno_nocase ON customer (CustNo COLLATE NOCASE);"
        "CREATE VIEW IF NOT EXISTS customer_view AS SELECT CustNo, Company, City FROM customer");
    TSQLStatementPtr count = db->Prepare("SELECT COUNT(*) FROM customer");
    count->Execute();
    if (count->Fetch() && count->ColumnValue(0).AsInteger() == rows) return file;
    count.reset();
    db->ExecuteDirect("DELETE FROM customer");
    db->StartTransaction();
    db->ExecSQL("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ? - 1)"
                " INSERT INTO customer SELECT printf('K%07d', i), 'Company ' || i, 'City ' || (i % 97) FROM n",
                {rows});
    db->Commit();
    return file;
}

// Reads through a memory map instead of the engine's page cache of 2 MB: a
// search on a large table then costs no system call for the pages it visits.
void MapDatabase(TSQLConnection* db) { db->ExecuteDirect("PRAGMA mmap_size = 1073741824"); }

struct World {
    Owned<TForm> Form{TForm::Create(nullptr)};
    TSQLiteConnection* Database = nullptr;
    TSQLTable* Customers = nullptr;
    TMemoryDataSet* Memory = nullptr;
    TMemoryDataSet* Orders = nullptr;
    TDataSource* OrdersSource = nullptr;
    int Rows;

    World(int rows, bool withMemory, bool mapped) : Rows(rows) {
        Database = TSQLiteConnection::Create(Form.get());
        Database->SetDatabaseName(DatabaseFile(rows));
        Database->Open();
        if (mapped) MapDatabase(Database);
        Customers = TSQLTable::Create(Form.get());
        Customers->SetConnection(Database);
        Customers->SetTableName("customer");
        Customers->Open();
        if (withMemory) {
            Memory = TMemoryDataSet::Create(Form.get());
            Memory->FieldDefs().Add("CustNo", ftString, 12);
            Memory->FieldDefs().Add("Company", ftString, 30);
            Memory->FieldDefs().Add("City", ftString, 20);
            Memory->Open();
            Memory->DisableControls();
            for (int i = 0; i < rows; ++i)
                Memory->AppendRecord({CustNo(i), "Company " + std::to_string(i), "City " + std::to_string(i % 97)});
            Memory->EnableControls();
            Memory->First();
        }
        Orders = TMemoryDataSet::Create(Form.get());
        Orders->FieldDefs().Add("CustNo", ftString, 12);
        Orders->FieldDefs().Add("Name", ftString, 30);
        Orders->FieldDefs().Add("City", ftString, 20);
        Orders->Open();
        Orders->AppendRecord({"", "", ""});
        Orders->Edit();
        OrdersSource = Source(Orders);
    }
    TDataSource* Source(TDataSet* dataSet) {
        TDataSource* source = TDataSource::Create(Form.get());
        source->SetDataSet(dataSet);
        return source;
    }
    TLookupFill* Fill(TDataSet* lookup) {
        TLookupFill* fill = TLookupFill::Create(Form.get());
        fill->KeyFields()->SetCommaText("CustNo");
        fill->LookupKeyFields()->SetCommaText("CustNo");
        fill->ResultFields()->SetCommaText("Name,City");
        fill->LookupResultFields()->SetCommaText("Company,City");
        fill->SetDataSource(OrdersSource);
        fill->SetLookupDataSource(Source(lookup));
        return fill;
    }
};

// A key written to the destination, the result fields filled from the
// SQLite table; beside it the same on the in-memory table, indexed and
// scanned.
void BM_SqlFill(benchmark::State& state) {
    World world(static_cast<int>(state.range(0)), true, state.range(1) != 0);
    TField* key = world.Orders->FieldByName("CustNo");
    auto write = [&](int i) { key->SetValue(CustNo(KeyAt(i, world.Rows))); };

    TLookupFill* memoryFill = world.Fill(world.Memory);
    world.Memory->SetIndexed(false);
    int i = 0;
    const double scan = bench::MedianMicros(5, [&] { write(i++); });
    world.Memory->SetIndexed(true);
    write(0);  // builds the index outside the timing
    const double memory = bench::MedianMicros(1001, [&] { write(i++); });
    Free(memoryFill);

    world.Fill(world.Customers);
    write(0);
    bench::TLoopClock clock;
    for (auto _ : state) write(i++);
    clock.Report(state, scan, true);
    state.counters["memory_us"] = memory;
    if (world.Orders->FieldByName("Name")->Value() != world.Customers->Lookup("CustNo", key->Value(), "Company"))
        state.SkipWithError("the fill wrote the wrong company");
}
// The second argument: 1 reads through a memory map.
BENCHMARK(BM_SqlFill)->ArgsProduct({{1000, 100000, 1000000}, {0, 1}})->Unit(benchmark::kMicrosecond);

// A whole lookup run: the lookup table opened, the form built, the table
// positioned on a typed beginning that matches late in the table, the first
// screen of the grid read, answered OK, the key copied, the form freed.
void BM_SqlLookupRun(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    World world(rows, false, state.range(1) != 0);
    TDBEdit* edit = TDBEdit::Create(world.Form.get());
    edit->SetParent(world.Form.get());
    edit->SetDataSource(world.OrdersSource);
    edit->SetDataField("CustNo");
    TLookupDialog* dialog = TLookupDialog::Create(world.Form.get());
    dialog->KeyFields()->SetCommaText("CustNo");
    dialog->LookupKeyFields()->SetCommaText("CustNo");
    dialog->SetDataSource(world.OrdersSource);
    dialog->SetLookupDataSource(world.Source(world.Customers));
    // Lower case: the run positions ignoring case. Matches ten rows.
    std::string typed = CustNo(rows - 10);
    typed[0] = 'k';
    typed.pop_back();
    std::string copied;
    auto run = [&] {
        world.Customers->Close();
        world.Customers->Open();
        edit->SetText(typed);
        HeadlessBackend()->QueueModalAnswer([&](TCustomForm* form) {
            HeadlessBackend()->ClearShown();
            TDataSet* table = world.Customers;
            // The grid's first screen: the record and the 19 after it.
            int moved = 0;
            for (int row = 0; row < 20 && !table->Eof(); ++row) {
                benchmark::DoNotOptimize(table->FieldByName("Company")->Value());
                moved += table->MoveBy(1);
            }
            table->MoveBy(-moved);
            form->SetModalResult(mrOk);
        });
        dialog->GoLookupDialog(edit, world.Orders->FieldByName("CustNo"), nullptr);
        copied = world.Orders->FieldByName("CustNo")->AsString();
    };
    run();
    bench::TLoopClock clock;
    for (auto _ : state) run();
    clock.Report(state, 0, true);
    state.counters.erase("speedup");
    state.counters.erase("baseline_us");
    if (copied.rfind(typed.substr(1), 1) != 1) state.SkipWithError(("copied " + copied).c_str());
}
BENCHMARK(BM_SqlLookupRun)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

// A keystroke in the search lookup form: the search edit's text changed,
// the table positioned on the first customer number beginning with it
// (letter case ignored) and the grid's first screen read. Beside it the
// floor: a bare prepared query for that first number through the same
// engine, same texts, same run (counters floor_us and vs_floor).
void BM_SqlSearchKeystroke(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    World world(rows, false, true);
    TSearchLookupForm* form = TSearchLookupForm::Create(world.Form.get());
    form->SetDataSource(world.Source(world.Customers));
    // Six characters, lower case: ten rows begin with each.
    auto typed = [&](int i) {
        std::string text = CustNo(KeyAt(i, rows)).substr(0, 7);
        text[0] = 'k';
        return text;
    };
    auto screen = [&] {
        TDataSet* table = world.Customers;
        int moved = 0;
        for (int row = 0; row < 20 && !table->Eof(); ++row) {
            benchmark::DoNotOptimize(table->FieldByName("Company")->Value());
            moved += table->MoveBy(1);
        }
        table->MoveBy(-moved);
    };
    TSQLStatementPtr bare = world.Database->Prepare(
        "SELECT CustNo, Company, City FROM customer WHERE CustNo >= ? COLLATE NOCASE ORDER BY CustNo COLLATE NOCASE LIMIT 20");
    int j = 0;
    const double floor = bench::MedianMicros(101, [&] {
        bare->Bind(0, typed(j++));
        bare->Execute();
        while (bare->Fetch()) benchmark::DoNotOptimize(bare->ColumnValue(1));
    });
    int i = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        form->eSearch->SetText(typed(i++));
        screen();
    }
    const double each = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
                        static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["floor_us"] = floor;
    state.counters["vs_floor"] = each / floor;
    if (form->NoMatch()) state.SkipWithError("the search found nothing");
}
BENCHMARK(BM_SqlSearchKeystroke)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Scrolling the lookup grid by a page of 20 rows and reading them, on the
// SQLite table and, as baseline, on the in-memory table.
void BM_SqlScrollPage(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    World world(rows, true, state.range(1) != 0);
    auto page = [](TDataSet* table) {
        if (table->Eof()) table->First();
        for (int row = 0; row < 20 && !table->Eof(); ++row, table->Next())
            benchmark::DoNotOptimize(table->FieldByName("Company")->Value());
    };
    const double memory = bench::MedianMicros(101, [&] { page(world.Memory); });
    world.Customers->First();
    bench::TLoopClock clock;
    for (auto _ : state) page(world.Customers);
    clock.Report(state, memory, false);
}
BENCHMARK(BM_SqlScrollPage)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMicrosecond);

// The same page on a view of the customers (mapped reads): without a key
// (Arg 1 = 0), ordered by all its columns after CustNo (IndexFieldNames);
// with KeyFields CustNo (1). Then a Locate of a key half-way, the cursor
// moved back to the start between runs.
void BM_SqlViewScrollPage(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TSQLiteConnection* db = TSQLiteConnection::Create(module.get());
    db->SetDatabaseName(DatabaseFile(rows));
    db->Open();
    MapDatabase(db);
    TSQLTable* view = TSQLTable::Create(module.get());
    view->SetConnection(db);
    view->SetTableName("customer_view");
    view->SetIndexFieldNames("CustNo");
    if (state.range(1)) view->SetKeyFields("CustNo");
    view->Open();
    const std::string middle = CustNo(rows / 2);
    const double locate = bench::MedianMicros(21, [&] {
        view->First();
        if (!view->Locate("CustNo", middle, {})) std::abort();
    });
    view->First();
    for (auto _ : state) {
        if (view->Eof()) view->First();
        for (int row = 0; row < 20 && !view->Eof(); ++row, view->Next())
            benchmark::DoNotOptimize(view->FieldByName("Company")->Value());
    }
    state.counters["locate_us"] = locate;
}
BENCHMARK(BM_SqlViewScrollPage)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMicrosecond);

// Opening a table's dataset on its own connection: time, and the resident
// memory it added.
void BM_SqlOpen(benchmark::State& state) {
    const std::string file = DatabaseFile(static_cast<int>(state.range(0)));
    const double before = ResidentMB();
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TSQLiteConnection* db = TSQLiteConnection::Create(module.get());
    db->SetDatabaseName(file);
    db->Open();
    if (state.range(1)) MapDatabase(db);
    TSQLTable* table = TSQLTable::Create(module.get());
    table->SetConnection(db);
    table->SetTableName("customer");
    for (auto _ : state) {
        table->Close();
        table->Open();
        benchmark::DoNotOptimize(table->RecordCount());
    }
    table->Last();
    state.counters["records"] = table->RecordCount();
    state.counters["added_rss_mb"] = ResidentMB() - before;
    state.counters["rss_mb"] = ResidentMB();
    state.counters["rss_anon_mb"] = AnonymousMB();
}
// Run alone (--benchmark_filter=BM_SqlOpen) for the process's own figure.
BENCHMARK(BM_SqlOpen)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

// The cursor's ordinary steps, none of which counts the table: opening and
// reading the first record (Arg 1 = 0), opening and jumping to the last
// record (1), and a grid's page of 20 rows read back from the last one (2).
void BM_SqlCursor(benchmark::State& state) {
    const std::string file = DatabaseFile(static_cast<int>(state.range(0)));
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TSQLiteConnection* db = TSQLiteConnection::Create(module.get());
    db->SetDatabaseName(file);
    db->Open();
    MapDatabase(db);
    TSQLTable* table = TSQLTable::Create(module.get());
    table->SetConnection(db);
    table->SetTableName("customer");
    table->Open();
    const int64_t action = state.range(1);
    for (auto _ : state) {
        if (action < 2) {
            table->Close();
            table->Open();
            if (action == 1) table->Last();
            // The fields are made anew with each opening.
            benchmark::DoNotOptimize(table->FieldByName("Company")->Value());
        } else {
            TField* company = table->FieldByName("Company");
            table->Last();
            for (int row = 0; row < 20; ++row, table->Prior()) benchmark::DoNotOptimize(company->Value());
        }
    }
    db->StatementLog().SetActive(true);
    table->Close();
    table->Open();
    table->Last();
    state.counters["counts"] = db->StatementLog().CountContaining("COUNT(");
}
BENCHMARK(BM_SqlCursor)->ArgsProduct({{10000, 1000000}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
