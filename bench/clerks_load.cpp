// Many clerks at once on one database, each a process of its own doing the
// order entry's road through the components themselves, headless: a
// customer number typed and filled, the lookup form opened on it and OK, a
// part typed, the order posted, a new one begun. Every other clerk also
// edits one of two shared customers now and then, so their writes meet.
//
// It reports orders per second and the median and 99th percentile of each
// step, then checks the database: every order a clerk was told was saved
// is there exactly once, and the writes to the shared customers form one
// chain from the value before the run to the value after it (a write that
// silently replaced another would start from a value someone else had
// already replaced). On PostgreSQL it runs pgbench with the same
// statements on the same server for the same time, beside the clerks.
//
//   clerks_load --pg CONNINFO [--clerks 1,8,32] [--seconds 10]
//   clerks_load --db FILE [--clerks 4] [--seconds 10] [--wal]
//   clerks_load --pg CONNINFO --statements [--rounds 3]
//
// With --statements one clerk runs a few rounds in this process and prints
// the statements each step ran, the same ones once with their number.
//
// The database is the demo's (made and filled on first use); use one of
// its own, as the run adds orders and renames two customers.

#include "examples/OrderData.h"
#include "examples/OrderEntry.h"
#include "examples/OrderStore.h"
#include "host/core/Exception.h"
#include "host/data/PostgresConnection.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Keyboard.h"
#include "lookup/Lsdblkp.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace host;
using Clock = std::chrono::steady_clock;

namespace {

struct TOptions {
    demo::TOrderDatabase Database;
    std::vector<int> Clerks;
    int Seconds = 10;
    bool Wal = false;
    int StatementRounds = 0;  // --statements: rounds of one clerk whose statements are printed
};

enum TStep { stCustomer, stLookup, stPart, stPost, stShared, kSteps };
const char* const kStepNames[kSteps] = {"customer typed, filled", "lookup form, OK", "part typed", "post",
                                        "shared customer edit"};
constexpr int kSharedCustomers = 2;
// How long a clerk looks at a shared customer before posting the change,
// so that two clerks' edits meet now and then.
constexpr auto kThinkTime = std::chrono::milliseconds(10);

// The number of generated customer I, as the demo's database makes them.
std::string GeneratedCustomer(int i) {
    static const char kInitials[] = "ABCDEFGHIJKLMNOPQRSTUVWY";
    return std::string{kInitials[i % 24], kInitials[(i / 24) % 24]} + std::to_string(200000 + i);
}

// What one clerk did, as it writes it for the parent: one fact a line.
struct TClerkReport {
    std::vector<long long> Orders;
    std::array<std::vector<double>, kSteps> Millis;
    struct TSharedWrite {
        std::string Customer, Old, New;
    };
    std::vector<TSharedWrite> SharedWrites;
    int Refused = 0;
    int LockedEarly = 0;  // "database is locked" after less than the busy timeout
    std::vector<std::string> Errors;
};

std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

void Write(const TClerkReport& report, const std::string& file) {
    std::ofstream out(file);
    for (long long order : report.Orders) out << "order\t" << order << "\n";
    for (int step = 0; step < kSteps; ++step)
        for (double ms : report.Millis[static_cast<size_t>(step)]) out << "ms\t" << step << "\t" << ms << "\n";
    for (const auto& w : report.SharedWrites) out << "shared\t" << w.Customer << "\t" << w.Old << "\t" << w.New << "\n";
    out << "refused\t" << report.Refused << "\nlocked\t" << report.LockedEarly << "\n";
    for (const auto& e : report.Errors) out << "error\t" << OneLine(e) << "\n";
}

void Read(const std::string& file, TClerkReport& into) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        std::getline(fields, kind, '\t');
        std::string a, b, c;
        std::getline(fields, a, '\t');
        std::getline(fields, b, '\t');
        std::getline(fields, c, '\t');
        if (kind == "order") into.Orders.push_back(std::stoll(a));
        else if (kind == "ms") into.Millis[static_cast<size_t>(std::stoi(a))].push_back(std::stod(b));
        else if (kind == "shared") into.SharedWrites.push_back({a, b, c});
        else if (kind == "refused") into.Refused += std::stoi(a);
        else if (kind == "locked") into.LockedEarly += std::stoi(a);
        else if (kind == "error") into.Errors.push_back(a);
    }
}

// ---- a clerk ---------------------------------------------------------------

class TClerk {
public:
    // Tag marks the values this run writes, unlike any an earlier run wrote.
    TClerk(int number, const std::string& tag, TClerkReport& report)
        : FNumber(number), FTag(tag), FReport(report), FRandom(number * 7919u + 1) {
        demo::RegisterOrderEntryClasses();
        FData.reset(demo::MakeData());
        FOrders = As<TSQLTable>(FData->FindComponent("Orders"));
        FConnection = FOrders->Connection();
        FForm.reset(demo::TOrderEntryForm::Create(nullptr));
        FForm->Show();
        FShared = TSQLTable::Create(FData.get());
        FShared->SetConnection(FConnection);
        FShared->SetTableName("customer");
        FShared->Open();
    }
    ~TClerk() {
        FocusManager().SetFocus(nullptr);
        FForm.reset();
        FData.reset();
    }

    // Rounds of the road with every statement printed, step by step.
    void PrintRounds(int rounds) {
        FConnection->StatementLog().SetActive(true);
        for (int round = 0; round < rounds; ++round) {
            std::printf("-- round %d\n", round + 1);
            Order();
            EditShared();
        }
        FConnection->StatementLog().SetActive(false);
        for (const auto& e : FReport.Errors) std::printf("  error: %s\n", e.c_str());
    }

    void Run(Clock::time_point until) {
        for (int round = 0; Clock::now() < until; ++round) {
            Order();
            if (FNumber % 2 == 0) EditShared();
        }
    }

private:
    // Runs one step, timed; what it raises or shows is an error of the clerk.
    template <class F>
    bool Timed(TStep step, F act) {
        TSQLStatementLog& log = FConnection->StatementLog();
        log.Clear();
        const auto start = Clock::now();
        std::string error;
        try {
            act();
        } catch (const std::exception& e) {
            error = e.what();
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        FReport.Millis[step].push_back(ms);
        if (log.Active()) PrintStatements(step, log);
        // The lookup form itself is shown too; messages and errors are the clerk's trouble.
        for (const TShownItem& item : HeadlessBackend()->Shown())
            if (item.Kind != TShownKind::ModalForm) error += (error.empty() ? "" : "; ") + item.Text;
        HeadlessBackend()->ClearShown();
        HeadlessBackend()->ClearModalAnswers();
        if (error.empty()) return true;
        const auto* sqlite = dynamic_cast<const TSQLiteConnection*>(FConnection);
        if (error.find("database is locked") != std::string::npos && sqlite && ms < sqlite->BusyTimeout())
            ++FReport.LockedEarly;
        FReport.Errors.push_back(std::string(kStepNames[step]) + ": " + error);
        return false;
    }

    static void PrintStatements(TStep step, const TSQLStatementLog& log) {
        std::printf("%s: %lld statements\n", kStepNames[step], static_cast<long long>(log.Count()));
        std::vector<std::pair<std::string, int>> seen;
        for (const std::string& text : log.Texts()) {
            auto same = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == text; });
            if (same == seen.end()) seen.emplace_back(text, 1);
            else ++same->second;
        }
        for (const auto& [text, n] : seen) std::printf("  %dx %s\n", n, text.c_str());
    }

    void Order() {
        const std::string customer = GeneratedCustomer(static_cast<int>(FRandom() % (demo::DemoCustomerCount - 10)) + 8);
        bool ok = Timed(stCustomer, [&] {
            FForm->CustEdit->SetFocus();
            Keyboard().Type(customer);
            FForm->PartEdit->SetFocus();  // leaving the edit fills
        });
        ok = ok && Timed(stLookup, [&] {
            FForm->CustEdit->SetFocus();
            HeadlessBackend()->QueueModalAnswer([](TCustomForm*) { Keyboard().Press(VK_RETURN); });
            Keyboard().Press(VK_F1, TShiftState{ssCtrl});
        });
        ok = ok && Timed(stPart, [&] {
            FForm->PartEdit->SetFocus();
            Keyboard().Type("900");
            FocusManager().SetFocus(nullptr);
        });
        ok = ok && Timed(stPost, [&] { FOrders->Post(); });
        if (ok && FOrders->FieldByName("CustNo")->AsString() == customer)
            FReport.Orders.push_back(FOrders->FieldByName("OrderNo")->AsInteger());
        else if (ok)
            FReport.Errors.push_back("the order was saved for " + FOrders->FieldByName("CustNo")->AsString() +
                                     ", not " + customer);
        try {
            if (!ok && FOrders->State() != dsBrowse) FOrders->Cancel();
            demo::BeginNewOrder(FOrders);
        } catch (const std::exception& e) {
            FReport.Errors.push_back(std::string("new order: ") + e.what());
        }
    }

    void EditShared() {
        const std::string customer = GeneratedCustomer(static_cast<int>(FRandom() % kSharedCustomers));
        std::string old;
        const std::string mine = "Clerk " + std::to_string(FNumber) + " #" + std::to_string(++FWrites) + " " + FTag;
        Timed(stShared, [&] {
            if (!FShared->Locate("CustNo", customer, {})) throw Exception("no customer " + customer);
            FShared->RefreshRecord();
            old = FShared->FieldByName("Company")->AsString();
            FShared->Edit();
            FShared->FieldByName("Company")->SetValue(mine);
            std::this_thread::sleep_for(kThinkTime);
            try {
                FShared->Post();
                FReport.SharedWrites.push_back({customer, old, mine});
            } catch (const EDatabaseError& e) {
                FShared->Cancel();
                // Refused, never silent: another clerk wrote it first.
                if (e.Message().find("changed by another user") == std::string::npos) throw;
                ++FReport.Refused;
            }
        });
    }

    int FNumber;
    std::string FTag;
    TClerkReport& FReport;
    std::minstd_rand FRandom;
    Owned<TDataModule> FData;
    Owned<demo::TOrderEntryForm> FForm;
    TSQLTable* FOrders = nullptr;
    TSQLTable* FShared = nullptr;
    TSQLConnection* FConnection = nullptr;
    int FWrites = 0;
};

// ---- the parent ------------------------------------------------------------

// Rows of Sql on a connection of the parent's own, each "a|b".
std::vector<std::string> Query(const std::string& sql) {
    Owned<TComponent> owner(TComponent::Create(nullptr));
    TSQLStatementPtr statement = demo::OpenOrderDatabase(owner.get())->Prepare(sql);
    statement->Execute();
    std::vector<std::string> rows;
    while (statement->Fetch()) {
        std::string row;
        for (int c = 0; c < statement->ColumnCount(); ++c)
            row += (c ? "|" : "") + statement->ColumnValue(c).AsString();
        rows.push_back(row);
    }
    return rows;
}

std::map<std::string, std::string> SharedCompanies() {
    std::map<std::string, std::string> companies;
    for (int i = 0; i < kSharedCustomers; ++i) {
        const auto rows = Query("SELECT \"Company\" FROM customer WHERE \"CustNo\" = '" + GeneratedCustomer(i) + "'");
        companies[GeneratedCustomer(i)] = rows.empty() ? "" : rows.front();
    }
    return companies;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())))];
}

// The problems of a run: orders missing or twice, shared writes that do not
// form one chain from Before to After.
std::vector<std::string> Check(const TClerkReport& all, const std::map<std::string, std::string>& before,
                               const std::map<std::string, std::string>& after) {
    std::vector<std::string> problems;
    std::set<long long> told;
    for (long long order : all.Orders)
        if (!told.insert(order).second) problems.push_back("order " + std::to_string(order) + " told twice");
    std::map<long long, int> stored;
    for (const std::string& row : Query("SELECT \"OrderNo\" FROM orders")) ++stored[std::stoll(row)];
    for (long long order : told)
        if (stored[order] != 1)
            problems.push_back("order " + std::to_string(order) + " is on file " + std::to_string(stored[order]) + " times");
    std::set<long long> misfilled;
    for (const std::string& row : Query("SELECT o.\"OrderNo\" FROM orders o JOIN customer c ON c.\"CustNo\" = o.\"CustNo\""
                                        " WHERE o.\"ShipTo\" IS DISTINCT FROM c.\"Company\""))
        misfilled.insert(std::stoll(row));
    for (long long order : told)
        if (misfilled.count(order)) problems.push_back("order " + std::to_string(order) + " has another ship-to");
    for (const auto& [customer, first] : before) {
        std::map<std::string, std::string> next;  // old value -> the write that replaced it
        for (const auto& w : all.SharedWrites) {
            if (w.Customer != customer) continue;
            if (!next.emplace(w.Old, w.New).second)
                problems.push_back("lost update on " + customer + ": two writes replaced '" + w.Old + "'");
        }
        std::string value = first;
        size_t steps = 0;
        while (next.count(value) && steps <= next.size()) value = next[value], ++steps;
        if (value != after.at(customer) || steps != next.size())
            problems.push_back("the writes to " + customer + " do not lead from '" + first + "' to '" +
                               after.at(customer) + "'");
    }
    return problems;
}

// The clerk's road as pgbench runs it: per round the statements one clerk's
// statement log shows (clerks_load --statements), in the same order, with
// the same think time before a shared customer's edit, which only clients
// of an even number make, as only clerks of an even number do. pgbench runs
// them prepared, as the components do, and reads every row they answer.
std::string PgBenchScript() {
    const std::string initials = "'ABCDEFGHIJKLMNOPQRSTUVWY'";
    auto number = [&](const std::string& n) {
        return "(substr(" + initials + ", " + n + " % 24 + 1, 1) || substr(" + initials + ", (" + n +
               " / 24) % 24 + 1, 1) || (200000 + " + n + ")::text)";
    };
    const std::string customer = number(":n"), shared = number(":s");
    const std::string columns = "SELECT \"CustNo\", \"Company\", \"City\", \"Country\" FROM \"customer\"";
    const std::string orders =
        "SELECT \"OrderNo\", \"CustNo\", \"ShipTo\", \"ShipCity\", \"ShipCountry\", \"PartNo\" FROM \"orders\"";
    const std::string lowered = "lower(\"CustNo\" COLLATE \"C\")";
    auto window = [&](const std::string& key) {
        return columns + " WHERE \"CustNo\" >= " + key + " ORDER BY \"CustNo\" ASC LIMIT 128;\n" + columns +
               " WHERE \"CustNo\" < " + key + " ORDER BY \"CustNo\" DESC LIMIT 128;\n";
    };
    return "\\set n random(8, " + std::to_string(demo::DemoCustomerCount - 3) + ")\n"
           // The customer typed, filled.
           + columns + " WHERE \"CustNo\" = " + customer + " ORDER BY \"CustNo\" ASC;\n"
           // The lookup form: its dataset refreshed, positioned on the typed
           // key, and the key copied back and filled.
           "SELECT 1 FROM \"customer\" WHERE \"CustNo\" IS NULL LIMIT 1;\n"
           + columns + " WHERE \"CustNo\" = " + customer + ";\n"
           + columns + " WHERE " + lowered + " ~>=~ lower(" + customer + ") AND " + lowered + " ~<~ lower(left(" +
           customer + ", -1) || chr(ascii(right(" + customer + ", 1)) + 1)) ORDER BY \"CustNo\" ASC;\n"
           + window(customer)
           + columns + " WHERE \"CustNo\" = " + customer + " ORDER BY \"CustNo\" ASC;\n"
           // The order posted, and placed in its dataset.
           + columns + " WHERE \"CustNo\" = " + customer + " ORDER BY \"CustNo\" ASC;\n"
           "BEGIN;\n"
           "INSERT INTO \"orders\" (\"CustNo\", \"ShipTo\", \"ShipCity\", \"PartNo\") VALUES (" + customer +
           ", 'Abbey Road Divers', 'Avonmouth', '900') RETURNING \"OrderNo\" AS order_no \\gset\n"
           "COMMIT;\n"
           + orders + " WHERE \"OrderNo\" >= :order_no ORDER BY \"OrderNo\" ASC LIMIT 128;\n"
           + orders + " WHERE \"OrderNo\" < :order_no ORDER BY \"OrderNo\" DESC LIMIT 128;\n"
           // A shared customer located, read again, thought about, written.
           "\\if :client_id % 2 = 0\n"
           "\\set s random(0, " + std::to_string(kSharedCustomers - 1) + ")\n"
           + columns + " WHERE \"CustNo\" = " + shared + " ORDER BY \"CustNo\" ASC;\n"
           + window(shared)
           + "SELECT \"Company\" AS old FROM \"customer\" WHERE \"CustNo\" = " + shared + " \\gset\n"
           "\\sleep " + std::to_string(kThinkTime.count()) + " ms\n"
           "BEGIN;\n"
           "UPDATE \"customer\" SET \"Company\" = 'pgbench ' || :client_id WHERE \"CustNo\" = " + shared +
           " AND \"Company\" IS NOT DISTINCT FROM :old;\n"
           "COMMIT;\n"
           + columns + " WHERE \"CustNo\" >= " + shared + " ORDER BY \"CustNo\" ASC LIMIT 128;\n"
           "\\endif\n";
}

// Transactions per second of pgbench running the clerk's road for Seconds
// with Clients.
double PgBench(const std::string& conninfo, int clients, int seconds) {
    const std::string script = (std::filesystem::temp_directory_path() / "veskar-clerks.pgbench").string();
    std::ofstream(script) << PgBenchScript();
    std::string bin = "pgbench";
    for (const auto& dir : std::filesystem::directory_iterator("/usr/lib/postgresql"))
        if (std::filesystem::exists(dir.path() / "bin/pgbench")) bin = (dir.path() / "bin/pgbench").string();
    // The connection string goes through the environment, so the shell
    // never reads its quotes.
    setenv("VESKAR_CLERKS_PG", conninfo.c_str(), 1);
    const std::string command = bin + " -n -M prepared -f " + script + " -c " + std::to_string(clients) + " -j 2 -T " +
                                std::to_string(seconds) + " \"$VESKAR_CLERKS_PG\" 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    double tps = 0;
    char line[512];
    while (pipe && fgets(line, sizeof line, pipe)) {
        if (std::sscanf(line, "tps = %lf", &tps) == 1) break;
        // A script the server refuses is told, not taken for a slow run.
        const std::string text = line;
        if (text.find("ERROR") != std::string::npos || text.find("aborted") != std::string::npos)
            std::printf("  pgbench: %s", line);
    }
    if (pipe) pclose(pipe);
    return tps;
}

int RunClerks(const TOptions& options, int count) {
    const auto before = SharedCompanies();
    const std::string base = (std::filesystem::temp_directory_path() / ("veskar-clerk-" + std::to_string(getpid()))).string();
    std::vector<pid_t> children;
    // The clerks start together once all are ready: each says so on Ready,
    // then waits until Go is closed.
    std::array<int, 2> ready{}, go{};
    if (pipe(ready.data()) != 0 || pipe(go.data()) != 0) throw Exception("no pipe for the clerks");
    std::fflush(nullptr);  // or the children write what is buffered again
    for (int clerk = 0; clerk < count; ++clerk) {
        const pid_t child = fork();
        if (child == 0) {
            close(go[1]);
            TClerkReport report;
            try {
                TClerk worker(clerk, std::to_string(getppid()) + "." + std::to_string(count), report);
                char byte = 'R';
                (void)!write(ready[1], &byte, 1);
                (void)!read(go[0], &byte, 1);
                worker.Run(Clock::now() + std::chrono::seconds(options.Seconds));
            } catch (const std::exception& e) {
                report.Errors.push_back(std::string("the clerk could not start: ") + e.what());
                char byte = 'E';
                (void)!write(ready[1], &byte, 1);
            }
            Write(report, base + "-" + std::to_string(clerk));
            std::fflush(nullptr);
            _exit(0);
        }
        children.push_back(child);
    }
    for (int clerk = 0; clerk < count; ++clerk) {
        char byte = 0;
        (void)!read(ready[0], &byte, 1);
    }
    close(go[1]);
    for (pid_t child : children) waitpid(child, nullptr, 0);
    for (int fd : {ready[0], ready[1], go[0]}) close(fd);
    TClerkReport all;
    for (int clerk = 0; clerk < count; ++clerk) {
        const std::string file = base + "-" + std::to_string(clerk);
        Read(file, all);
        std::filesystem::remove(file);
    }
    const auto problems = Check(all, before, SharedCompanies());

    const double perSecond = static_cast<double>(all.Orders.size()) / options.Seconds;
    std::printf("%d clerk%s: %zu orders in %d s, %.1f orders/s; %zu shared writes, %d refused as changed by another"
                " user; %zu errors\n",
                count, count == 1 ? "" : "s", all.Orders.size(), options.Seconds, perSecond, all.SharedWrites.size(),
                all.Refused, all.Errors.size());
    for (int step = 0; step < kSteps; ++step) {
        const auto& ms = all.Millis[static_cast<size_t>(step)];
        if (!ms.empty())
            std::printf("  %-24s median %7.2f ms  p99 %7.2f ms  (%zu)\n", kStepNames[step], Percentile(ms, 0.5),
                        Percentile(ms, 0.99), ms.size());
    }
    std::map<std::string, int> kinds;
    for (const auto& e : all.Errors) ++kinds[e.substr(0, 120)];
    for (const auto& [text, n] : kinds) std::printf("  error x%d: %s\n", n, text.c_str());
    int failed = 0;
    for (const auto& p : problems) std::printf("  PROBLEM: %s\n", p.c_str()), ++failed;
    if (all.LockedEarly)
        std::printf("  PROBLEM: %d times \"database is locked\" before the busy timeout\n", all.LockedEarly), ++failed;
    if (!options.Database.Server.empty()) {
        const double tps = PgBench(options.Database.Server, count, options.Seconds);
        std::printf("  pgbench, the same statements, %d clients: %.1f orders/s; the clerks make %.0f%% of it\n", count,
                    tps, tps > 0 ? 100 * perSecond / tps : 0.0);
    }
    std::fflush(stdout);
    return failed;
}

TOptions ParseOptions(int argc, char** argv) {
    TOptions options;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw Exception(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--clerks") {
            std::stringstream list(value());
            for (std::string n; std::getline(list, n, ',');) options.Clerks.push_back(std::stoi(n));
        } else if (arg == "--seconds") {
            options.Seconds = std::stoi(value());
        } else if (arg == "--statements") {
            options.StatementRounds = std::max(options.StatementRounds, 3);
        } else if (arg == "--rounds") {
            options.StatementRounds = std::stoi(value());
        } else if (arg == "--wal") {
            options.Wal = true;
        } else {
            rest.push_back(argv[i]);
        }
    }
    options.Database = demo::ParseDatabaseOptions(static_cast<int>(rest.size()), rest.data());
    if (options.Clerks.empty()) options.Clerks = options.Database.Server.empty() ? std::vector<int>{4} : std::vector<int>{1, 8, 32};
    if (options.Seconds <= 0) throw Exception("--seconds must be positive");
    for (int n : options.Clerks)
        if (n <= 0 || n > 64) throw Exception("--clerks takes counts from 1 to 64");
    return options;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const TOptions options = ParseOptions(argc, argv);
        demo::SetOrderDatabase(options.Database);
        {
            // Made and filled once, before the clerks start.
            Owned<TComponent> owner(TComponent::Create(nullptr));
            TSQLConnection* db = demo::OpenOrderDatabase(owner.get());
            if (options.Wal) db->ExecuteDirect("PRAGMA journal_mode=WAL");
        }
        std::printf("clerks_load on %s\n", demo::DescribeOrderDatabase().c_str());
        if (options.StatementRounds > 0) {
            TClerkReport report;
            TClerk(0, std::to_string(getpid()) + ".log", report).PrintRounds(options.StatementRounds);
            if (!options.Database.Server.empty()) std::printf("-- pgbench's script\n%s", PgBenchScript().c_str());
            return report.Errors.empty() ? 0 : 1;
        }
        int failed = 0;
        for (int count : options.Clerks) failed += RunClerks(options, count);
        return failed ? 1 : 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "clerks_load: %s\n", e.what());
        return 2;
    }
}
