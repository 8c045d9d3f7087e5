#include "examples/OrderData.h"

#include "examples/OrderEntry.h"
#include "examples/OrderStore.h"
#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/data/PostgresConnection.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

using namespace host;

namespace demo {

namespace {

TOrderDatabase& Chosen() {
    static TOrderDatabase database;
    return database;
}

TFillProgress& FillProgress() {
    static TFillProgress progress;
    return progress;
}

void Tell(const char* table, int done, int total) {
    if (FillProgress()) FillProgress()(table, done, total);
}

TSQLConnection* MakeServerConnection(TComponent* owner, const std::string& conninfo) {
    TPostgresConnection* server = TPostgresConnection::Create(owner);
    server->SetName("Database");
    server->SetConnectionString(conninfo);
    return server;
}

// The five customers the scripted clerk works with, then generated ones
// whose numbers (two letters and six digits from 200000) sort after them
// within each pair of letters.
const char* const kKnownCustomers[][4] = {
    {"AB1221", "Abbey Road Divers", "Avonmouth", "England"},
    {"CD1231", "Cedar Bay Sports", "Dunmore", "Ireland"},
    {"CE1351", "Celtic Sight Diver", "Kato Paphos", "Cyprus"},
    {"CE1354", "Cayman Eastside Dive", "George Town", "Cayman Islands"},
    {"FR1380", "Freeport Reef Club", "Freeport", "Bahamas"},
};

const char* const kParts[][2] = {{"900", "Dive kayak"}, {"912", "Underwater diver vehicle"}, {"1313", "Regulator system"}};

const char* const kWords[] = {"Anchor", "Blue", "Coral", "Deep", "Eastern", "Fathom", "Golden", "Harbour",
                              "Island", "Jetty", "Kelp", "Lagoon", "Marlin", "North", "Ocean", "Pearl",
                              "Quay", "Reef", "Sea", "Tide", "Under", "Vista", "Wave", "Yacht"};
const char* const kTrades[] = {"Divers", "Sports", "Dive Shop", "Marine", "Outfitters", "Club", "Supply"};
const char* const kPlaces[][2] = {{"Avonmouth", "England"}, {"Dunmore", "Ireland"}, {"Kato Paphos", "Cyprus"},
                                  {"George Town", "Cayman Islands"}, {"Freeport", "Bahamas"}, {"Kapaa", "USA"},
                                  {"Bergen", "Norway"}, {"Split", "Croatia"}, {"Cairns", "Australia"},
                                  {"Dahab", "Egypt"}};

template <class T, size_t N>
constexpr size_t Count(const T (&)[N]) { return N; }

void CreateTables(TSQLConnection* db) {
    // Quoted, so a server that folds names keeps their letter case.
    db->ExecuteDirect(
        "CREATE TABLE IF NOT EXISTS customer (\"CustNo\" VARCHAR(10) PRIMARY KEY, \"Company\" VARCHAR(30),"
        " \"City\" VARCHAR(20), \"Country\" VARCHAR(20))");
    // No key: the parts keep the order they were entered in.
    db->ExecuteDirect("CREATE TABLE IF NOT EXISTS part (\"PartNo\" VARCHAR(10), \"Description\" VARCHAR(30))");
    // The lookup form positions on a typed beginning, letter case ignored.
    if (Is<TSQLiteConnection>(db))
        db->ExecuteDirect("CREATE INDEX IF NOT EXISTS customer_custno_nocase ON customer (CustNo COLLATE NOCASE)");
    if (Is<TPostgresConnection>(db))
        db->ExecuteDirect(
            "CREATE INDEX IF NOT EXISTS customer_custno_prefix ON customer (\"CustNo\" text_pattern_ops);"
            "CREATE INDEX IF NOT EXISTS customer_custno_ci ON customer"
            " (lower(\"CustNo\" COLLATE \"C\") text_pattern_ops)");
}

bool Empty(TSQLConnection* db) {
    TSQLStatementPtr count = db->Prepare("SELECT COUNT(*) FROM customer");
    count->Execute();
    return !count->Fetch() || count->ColumnValue(0).AsInteger() == 0;
}

void FillTables(TSQLConnection* db) {
    db->StartTransaction();
    try {
        TSQLStatementPtr insert = db->Prepare("INSERT INTO customer VALUES (?, ?, ?, ?)");
        auto add = [&](const std::string& no, const std::string& company, const char* city, const char* country) {
            insert->BindAll({no, company, city, country});
            insert->Execute();
        };
        for (const auto& c : kKnownCustomers) add(c[0], c[1], c[2], c[3]);
        const int known = static_cast<int>(Count(kKnownCustomers));
        for (int i = 0; i < DemoCustomerCount - known; ++i) {
            if (i % 2000 == 0) Tell("customers", known + i, DemoCustomerCount);
            const char* first = kWords[i % Count(kWords)];
            const char* second = kWords[(i / Count(kWords)) % Count(kWords)];
            const std::string company = std::string(first) + " " + second + " " + kTrades[i % Count(kTrades)];
            const std::string no = std::string{first[0], second[0]} + std::to_string(200000 + i);
            const auto& place = kPlaces[(i / 7) % Count(kPlaces)];
            add(no, company, place[0], place[1]);
        }
        Tell("customers", DemoCustomerCount, DemoCustomerCount);
        TSQLStatementPtr part = db->Prepare("INSERT INTO part VALUES (?, ?)");
        for (const auto& [no, text] : kParts) {
            part->BindAll({no, text});
            part->Execute();
        }
        Tell("parts", static_cast<int>(Count(kParts)), static_cast<int>(Count(kParts)));
        db->Commit();
    } catch (...) {
        db->Rollback();
        throw;
    }
}

TSQLTable* Table(TDataModule* data, TSQLConnection* db, const char* name, const char* table) {
    TSQLTable* dataSet = TSQLTable::Create(data);
    dataSet->SetName(name);
    dataSet->SetConnection(db);
    dataSet->SetTableName(table);
    dataSet->Open();
    TDataSource* source = TDataSource::Create(data);
    source->SetName(std::string(name) + "Source");
    source->SetDataSet(dataSet);
    return dataSet;
}

// The connection string as it may be shown: a password's value hidden.
std::string WithoutPassword(std::string conninfo) {
    for (size_t at = conninfo.find("password"); at != std::string::npos; at = conninfo.find("password", at + 1)) {
        size_t value = conninfo.find_first_not_of(' ', at + 8);
        if (value == std::string::npos || conninfo[value] != '=') continue;
        value = conninfo.find_first_not_of(' ', value + 1);
        if (value == std::string::npos) break;
        size_t end = value;
        if (conninfo[value] == '\'') {
            for (++end; end < conninfo.size() && conninfo[end] != '\''; ++end)
                if (conninfo[end] == '\\') ++end;
            end = std::min(end + 1, conninfo.size());
        } else {
            end = conninfo.find(' ', value);
            if (end == std::string::npos) end = conninfo.size();
        }
        conninfo.replace(value, end - value, "***");
    }
    return conninfo;
}

// The known customers and the parts in tables MakeTable gives, with their
// sources, in place of the database's.
void MemoryTables(TDataModule* data, const TTableMaker& makeTable) {
    auto table = [&](const char* name, std::initializer_list<std::pair<const char*, int>> columns) {
        TMemoryDataSet* dataSet = makeTable(data);
        dataSet->SetName(name);
        for (const auto& [column, size] : columns) dataSet->FieldDefs().Add(column, ftString, size);
        dataSet->Open();
        TDataSource* source = TDataSource::Create(data);
        source->SetName(std::string(name) + "Source");
        source->SetDataSet(dataSet);
        return dataSet;
    };
    TMemoryDataSet* customers = table("Customers", {{"CustNo", 10}, {"Company", 30}, {"City", 20}, {"Country", 20}});
    for (const auto& c : kKnownCustomers) customers->AppendRecord({c[0], c[1], c[2], c[3]});
    customers->First();
    TMemoryDataSet* parts = table("Parts", {{"PartNo", 10}, {"Description", 30}});
    for (const auto& [no, text] : kParts) parts->AppendRecord({no, text});
    parts->First();
}

} // namespace

std::string DefaultDatabaseFile() {
    if (const char* file = std::getenv("VESKAR_DEMO_DB"); file && *file) return file;
    std::filesystem::path folder;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        folder = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = std::filesystem::path(home) / ".local" / "share";
    else
        return "orders.db";
    return (folder / "veskar" / "orders.db").string();
}

TOrderDatabase ParseDatabaseOptions(int argc, char** argv) {
    TOrderDatabase database;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string* target = nullptr;
        std::string_view name;
        for (const auto& [option, field] : {std::pair{std::string_view("--db"), &database.File},
                                            std::pair{std::string_view("--pg"), &database.Server}}) {
            if (arg == option || (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=')) {
                target = field;
                name = option;
            }
        }
        if (!target) throw Exception("Unknown option '" + std::string(arg) + "' (options: --db FILE, --pg CONNINFO)");
        if (arg.size() > name.size()) {
            *target = std::string(arg.substr(name.size() + 1));
        } else {
            if (i + 1 >= argc) throw Exception("Option " + std::string(name) + " needs a value");
            *target = argv[++i];
        }
    }
    return database;
}

void SetOrderDatabase(const TOrderDatabase& database) { Chosen() = database; }

void SetFillProgress(TFillProgress progress) { FillProgress() = std::move(progress); }

const TOrderDatabase& OrderDatabase() { return Chosen(); }

std::string DescribeOrderDatabase() {
    const TOrderDatabase& db = OrderDatabase();
    if (!db.Server.empty()) return "the PostgreSQL server at '" + WithoutPassword(db.Server) + "'";
    return "the SQLite database " + (db.File.empty() ? DefaultDatabaseFile() : db.File);
}

TSQLConnection* OpenOrderDatabase(TComponent* owner) {
    const TOrderDatabase& chosen = OrderDatabase();
    TSQLConnection* db = nullptr;
    if (!chosen.Server.empty()) {
        db = MakeServerConnection(owner, chosen.Server);
    } else {
        const std::string file = chosen.File.empty() ? DefaultDatabaseFile() : chosen.File;
        const std::filesystem::path folder = std::filesystem::path(file).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder);
        TSQLiteConnection* sqlite = TSQLiteConnection::Create(owner);
        sqlite->SetName("Database");
        sqlite->SetDatabaseName(file);
        db = sqlite;
    }
    db->Open();
    CreateTables(db);
    if (Empty(db)) FillTables(db);
    CreateOrderTable(db);
    return db;
}

namespace {

TDataModule* BuildData(const TTableMaker& makeTable, const TTableConnection& tableConnection) {
    Owned<TDataModule> data(TDataModule::Create(nullptr));
    data->SetName("Data");
    if (!makeTable) {
        TSQLConnection* db = OpenOrderDatabase(data.get());
        auto through = [&](const char* table) { return tableConnection ? tableConnection(db, table) : db; };
        Table(data.get(), through("Customers"), "Customers", "customer");
        Table(data.get(), through("Parts"), "Parts", "part");
        // The orders on file, and a new one begun after them for the clerk.
        TSQLTable* orders = OpenOrders(data.get(), db);
        TDataSource* source = TDataSource::Create(data.get());
        source->SetName("OrdersSource");
        source->SetDataSet(orders);
        BeginNewOrder(orders);
        return data.release();
    }
    MemoryTables(data.get(), makeTable);
    // In memory the orders start with one empty order, numbered as the
    // database numbers the first.
    TMemoryDataSet* orders = makeTable(data.get());
    orders->SetName("Orders");
    orders->FieldDefs().Add("OrderNo", ftInteger);
    for (const auto& [column, size] : {std::pair{"CustNo", 10}, std::pair{"ShipTo", 30}, std::pair{"ShipCity", 20},
                                       std::pair{"ShipCountry", 20}, std::pair{"PartNo", 10}})
        orders->FieldDefs().Add(column, ftString, size);
    orders->Open();
    orders->AppendRecord({FirstOrderNo, "", "", "", "", ""});
    orders->First();
    TDataSource* source = TDataSource::Create(data.get());
    source->SetName("OrdersSource");
    source->SetDataSet(orders);
    return data.release();
}

} // namespace

TDataModule* MakeData(const TTableMaker& makeTable) { return BuildData(makeTable, {}); }

TDataModule* MakeSqlData(const TTableConnection& tableConnection) { return BuildData({}, tableConnection); }

} // namespace demo
