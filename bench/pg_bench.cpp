// The fill's path on a PostgreSQL table over the local socket: a key written
// to the destination, the lookup table's Lookup sent to the server as one
// prepared statement, the result fields filled. Beside each figure, in the
// same run: the same fill on the in-memory dataset (indexed) and the linear
// scan of it (SetIndexed(false)).
//
// Needs a server: VESKAR_PG holds its libpq connection string (see
// scripts/pg-cluster). Without one the program says so and runs nothing.
// The tables live in a schema of their own, dropped at the end.

#include "BenchRatio.h"

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/data/PostgresConnection.h"
#include "host/data/SqlTable.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"
#include "lookup/Lddlg.h"
#include "lookup/LkFill.h"

#include <benchmark/benchmark.h>

#include <chrono>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

using namespace host;

namespace {

int KeyAt(int i, int rows) {
    return static_cast<int>((static_cast<uint64_t>(i) * 2654435761u + 12345u) % static_cast<uint64_t>(rows));
}

std::string ConnInfo() {
    const char* text = std::getenv("VESKAR_PG");
    return text ? text : "";
}

// One connection for the whole run, in a schema of the run's own.
struct Server {
    Owned<TDataModule> Module{TDataModule::Create(nullptr)};
    TPostgresConnection* Conn = nullptr;
    std::string Schema = "veskar_bench_" + std::to_string(::getpid());
    std::set<int> Tables;

    Server() {
        Conn = TPostgresConnection::Create(Module.get());
        Conn->SetConnectionString(ConnInfo());
        Conn->Open();
        Conn->ExecuteDirect("CREATE SCHEMA " + Conn->QuoteIdentifier(Schema) + "; SET search_path TO " +
                            Conn->QuoteIdentifier(Schema));
    }
    ~Server() {
        try {
            Conn->ExecuteDirect("DROP SCHEMA " + Conn->QuoteIdentifier(Schema) + " CASCADE");
        } catch (const Exception& e) {
            std::fprintf(stderr, "pg_bench: could not drop schema %s: %s\n", Schema.c_str(), e.Message().c_str());
        }
    }
    // customer_N: N rows made on the server, with the indexes the README
    // recommends for the lookup table.
    std::string Table(int rows) {
        const std::string name = "customer_" + std::to_string(rows);
        if (Tables.insert(rows).second) {
            const std::string q = Conn->QuoteIdentifier(name);
            Conn->ExecuteDirect("CREATE TABLE " + q +
                                " (\"CustNo\" integer PRIMARY KEY, \"Company\" varchar(30), \"City\" varchar(20))");
            Conn->ExecSQL("INSERT INTO " + q +
                              " SELECT g, 'Company ' || g, 'City ' || (g % 97) FROM generate_series(0, ? - 1) g",
                          {Variant(rows)});
            Conn->ExecuteDirect("CREATE INDEX ON " + q + " (\"Company\" text_pattern_ops);"
                                "CREATE INDEX ON " + q + " (lower(\"Company\" COLLATE \"C\") text_pattern_ops);"
                                "ANALYZE " + q);
        }
        return name;
    }
};

std::unique_ptr<Server> gServer;

Server& TheServer() { return *gServer; }

// A destination record whose CustNo fills Name and City from Lookup.
struct FillWorld {
    Owned<TDataModule> Module{TDataModule::Create(nullptr)};
    TMemoryDataSet* Orders = nullptr;
    TField* Key = nullptr;

    explicit FillWorld(TDataSet* lookup) {
        Orders = TMemoryDataSet::Create(Module.get());
        Orders->FieldDefs().Add("CustNo", ftInteger);
        Orders->FieldDefs().Add("Name", ftString, 30);
        Orders->FieldDefs().Add("City", ftString, 20);
        Orders->Open();
        Orders->Append();
        Key = Orders->FieldByName("CustNo");
        veskar::TLookupFill* fill = veskar::TLookupFill::Create(Module.get());
        fill->KeyFields()->SetCommaText("CustNo");
        fill->LookupKeyFields()->SetCommaText("CustNo");
        fill->ResultFields()->SetCommaText("Name,City");
        fill->LookupResultFields()->SetCommaText("Company,City");
        TDataSource* orders = TDataSource::Create(Module.get());
        orders->SetDataSet(Orders);
        TDataSource* customers = TDataSource::Create(Module.get());
        customers->SetDataSet(lookup);
        fill->SetDataSource(orders);
        fill->SetLookupDataSource(customers);
    }
};

TMemoryDataSet* MemoryCustomers(TComponent* owner, int rows) {
    TMemoryDataSet* table = TMemoryDataSet::Create(owner);
    table->FieldDefs().Add("CustNo", ftInteger);
    table->FieldDefs().Add("Company", ftString, 30);
    table->FieldDefs().Add("City", ftString, 20);
    table->Open();
    table->DisableControls();
    for (int i = 0; i < rows; ++i)
        table->AppendRecord({Variant(i), Variant("Company " + std::to_string(i)), Variant("City " + std::to_string(i % 97))});
    table->EnableControls();
    table->First();
    return table;
}

// The in-memory figures for the same table: indexed fill, then the scan.
void MemoryBaselines(benchmark::State& state, int rows) {
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TMemoryDataSet* customers = MemoryCustomers(module.get(), rows);
    FillWorld world(customers);
    int i = 0;
    world.Key->SetValue(KeyAt(i++, rows));  // builds the index
    state.counters["memory_us"] = bench::MedianMicros(201, [&] { world.Key->SetValue(KeyAt(i++, rows)); });
    customers->SetIndexed(false);
    state.counters["scan_us"] = bench::MedianMicros(5, [&] { world.Key->SetValue(KeyAt(i++, rows)); });
}

// The fill's path on PostgreSQL.
void BM_PgFillKeyChange(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Server& server = TheServer();
    TSQLTable* customers = TSQLTable::Create(server.Module.get());
    customers->SetConnection(server.Conn);
    customers->SetTableName(server.Table(rows));
    customers->Open();
    FillWorld world(customers);
    TField* name = world.Orders->FieldByName("Name");
    int i = 0;
    for (int warm = 0; warm < 10; ++warm) world.Key->SetValue(KeyAt(i++, rows));
    for (auto _ : state) world.Key->SetValue(KeyAt(i++, rows));
    if (name->Value() != Variant("Company " + std::to_string(KeyAt(i - 1, rows))))
        state.SkipWithError("the fill wrote the wrong company");
    customers->Free();
    MemoryBaselines(state, rows);
}

// A partial, case-insensitive Locate on PostgreSQL (the lookup dialog's
// positioning), beside nothing: the in-memory figure is in fill_bench.
void BM_PgLocatePartial(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Server& server = TheServer();
    TSQLTable* customers = TSQLTable::Create(server.Module.get());
    customers->SetConnection(server.Conn);
    customers->SetTableName(server.Table(rows));
    customers->Open();
    int i = 0;
    for (auto _ : state) {
        const std::string prefix = "COMPANY " + std::to_string(rows - 1 - i++ % 1000);
        benchmark::DoNotOptimize(customers->Locate("Company", prefix, {loCaseInsensitive, loPartialKey}));
    }
    customers->Free();
}

// A keystroke in the search lookup form searching the company column: the
// search edit's text changed, the table positioned on the first customer
// (in key order) whose company begins with it, letter case ignored, and the
// grid's first screen read. Beside it the floor: the same two questions as
// bare prepared statements (the first key of a match, then a page from it)
// through the same server, same texts, same run (floor_us, vs_floor).
void BM_PgSearchKeystroke(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    Server& server = TheServer();
    const std::string table = server.Table(rows);
    Owned<TForm> owner(TForm::Create(nullptr));
    TSQLTable* customers = TSQLTable::Create(owner.get());
    customers->SetConnection(server.Conn);
    customers->SetTableName(table);
    customers->Open();
    TDataSource* source = TDataSource::Create(owner.get());
    source->SetDataSet(customers);
    veskar::TSearchLookupForm* form = veskar::TSearchLookupForm::Create(owner.get());
    form->SetDataSource(source);
    form->SetSearchColumn(1);
    // "company 12345": eleven rows begin with each (12345, 123450..123459).
    auto typed = [&](int i) { return "company " + std::to_string(KeyAt(i, rows) / 10 + 1); };
    auto screen = [&] {
        int moved = 0;
        for (int row = 0; row < 20 && !customers->Eof(); ++row) {
            benchmark::DoNotOptimize(customers->FieldByName("Company")->Value());
            moved += customers->MoveBy(1);
        }
        customers->MoveBy(-moved);
    };
    const std::string q = server.Conn->QuoteIdentifier(table);
    const std::string folded = "lower(\"Company\" COLLATE \"C\")";
    // min(): the matches come from the company index, then the least key.
    TSQLStatementPtr first = server.Conn->Prepare("SELECT min(\"CustNo\") FROM " + q + " WHERE " + folded +
                                                  " ~>=~ ? AND " + folded + " ~<~ ?");
    TSQLStatementPtr page = server.Conn->Prepare("SELECT \"CustNo\", \"Company\", \"City\" FROM " + q +
                                                 " WHERE \"CustNo\" >= ? ORDER BY \"CustNo\" LIMIT 20");
    int j = 0;
    const double floor = bench::MedianMicros(51, [&] {
        std::string low = typed(j++), high = low;
        high.back() = static_cast<char>(high.back() + 1);
        first->BindAll({Variant(low), Variant(high)});
        first->Execute();
        if (!first->Fetch()) std::abort();
        page->BindAll({first->ColumnValue(0)});
        first->Reset();
        page->Execute();
        while (page->Fetch()) benchmark::DoNotOptimize(page->ColumnValue(1));
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

} // namespace

BENCHMARK(BM_PgSearchKeystroke)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PgFillKeyChange)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PgLocatePartial)->Arg(1000000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (ConnInfo().empty()) {
        std::printf("pg_bench skipped: no PostgreSQL server; set VESKAR_PG (export VESKAR_PG=\"$(scripts/pg-cluster start)\")\n");
        return 0;
    }
    gServer = std::make_unique<Server>();
    benchmark::RunSpecifiedBenchmarks();
    gServer.reset();
    benchmark::Shutdown();
    return 0;
}
