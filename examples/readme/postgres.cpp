// The README's PostgreSQL sample: a connection opened from a libpq
// connection string (here the test server's when VESKAR_PG names one).
#include "host/core/Component.h"

#include <cstdlib>
#include <iostream>

// readme begin
#include "host/data/PostgresConnection.h"
// readme end

int main() {
    if (!std::getenv("VESKAR_PG")) {
        std::cout << "skipped: VESKAR_PG names no server\n";
        return 0;
    }
    host::Owned<host::TDataModule> module(host::TDataModule::Create(nullptr));
    host::TDataModule* form = module.get();
    // readme begin
    host::TPostgresConnection* db = host::TPostgresConnection::Create(form);
    db->SetConnectionString("host=/run/postgresql dbname=shop user=clerk");
    if (const char* server = std::getenv("VESKAR_PG")) db->SetConnectionString(server);   // readme hide
    db->Open();      // EDatabaseError with libpq's or the server's message on failure
    // readme end
    std::cout << (db->Connected() ? "connected" : "not connected") << "\n";
}
