#include "tests/host/data/PgTestServer.h"

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "tests/host/data/ContractBackend.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <cstdlib>
#include <unistd.h>

namespace host::testing {

namespace {

struct TServerProbe {
    std::optional<std::string> ConnInfo;
    std::string Why;
};

// Tries the server once per run.
const TServerProbe& Probe() {
    static const TServerProbe probe = [] {
        TServerProbe result;
        const char* text = std::getenv("VESKAR_PG");
        if (!text || !*text) {
            result.Why = "No PostgreSQL server: set VESKAR_PG to a libpq connection string "
                         "(export VESKAR_PG=\"$(scripts/pg-cluster start)\")";
            return result;
        }
        TComponent* owner = TComponent::Create(nullptr);
        try {
            TPostgresConnection* connection = TPostgresConnection::Create(owner);
            connection->SetConnectionString(text);
            connection->Open();
            result.ConnInfo = text;
        } catch (const Exception& e) {
            result.Why = "The PostgreSQL server in VESKAR_PG does not answer: " + e.Message();
        }
        owner->Free();
        return result;
    }();
    return probe;
}

} // namespace

std::optional<std::string> PgConnInfo() { return Probe().ConnInfo; }

bool PgRequired() { return EnvironmentFlag("VESKAR_REQUIRE_PG"); }

std::string PgMissingMessage() { return Probe().Why; }

namespace {

std::string NewSchemaName() {
    static std::atomic<int> counter{0};
    return "veskar_t" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

} // namespace

TPgScratch::TPgScratch(TPostgresConnection& connection)
    : FConnInfo(connection.ConnectionString()), FSchema(NewSchemaName()) {
    const std::string quoted = connection.QuoteIdentifier(FSchema);
    connection.ExecuteDirect("CREATE SCHEMA " + quoted);
    Use(connection);
}

void TPgScratch::Use(TPostgresConnection& other) const {
    other.ExecuteDirect("SET search_path TO " + other.QuoteIdentifier(FSchema));
    // A session made again after the server lost the first one is pointed
    // at the schema again, as an application's AfterConnect would.
    other.AfterConnect = [schema = FSchema](TObject* sender) {
        auto* connection = static_cast<TPostgresConnection*>(sender);
        connection->ExecuteDirect("SET search_path TO " + connection->QuoteIdentifier(schema));
    };
}

TPgScratch::~TPgScratch() {
    // A connection of its own: the test's may be closed or broken by now.
    TComponent* owner = TComponent::Create(nullptr);
    try {
        TPostgresConnection* connection = TPostgresConnection::Create(owner);
        connection->SetConnectionString(FConnInfo);
        connection->Open();
        connection->ExecuteDirect("DROP SCHEMA IF EXISTS " + connection->QuoteIdentifier(FSchema) + " CASCADE");
    } catch (...) {
        // A schema left behind goes with the throwaway cluster.
    }
    owner->Free();
}

void PgTest::SetUp() {
    VESKAR_NEED_PG();
    Owner = TComponent::Create(nullptr);
    Conn = TPostgresConnection::Create(Owner);
    Conn->SetConnectionString(*PgConnInfo());
    Conn->Open();
    Scratch.emplace(*Conn);
}

void PgTest::TearDown() {
    if (Owner) Owner->Free();
    Owner = nullptr;
    Scratch.reset();
}

TPostgresConnection* PgTest::Connect(TComponent* owner) {
    TPostgresConnection* connection = TPostgresConnection::Create(owner ? owner : Owner);
    connection->SetConnectionString(*PgConnInfo());
    connection->Open();
    Scratch->Use(*connection);
    return connection;
}

void PgTest::Terminate(TPostgresConnection& victim) {
    TPostgresConnection* admin = Connect();
    const Variant pid(victim.BackendPid());
    admin->ExecSQL("SELECT pg_terminate_backend(?)", {pid});
    // The signal is taken asynchronously; bounded wait for the process to go.
    for (int i = 0; i < 500; ++i) {
        TSQLStatementPtr alive = admin->Prepare("SELECT count(*) FROM pg_stat_activity WHERE pid = ?");
        alive->Bind(0, pid);
        alive->Execute();
        if (alive->Fetch() && alive->ColumnValue(0).AsInteger() == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    admin->Free();
}

} // namespace host::testing
