#pragma once
// A database for one test that several connections reach: a new SQLite
// file, removed afterwards, or a schema of its own on the PostgreSQL test
// server (PgTestServer.h), dropped afterwards. A test on the server checks
// first that there is one (VESKAR_NEED_PG).

#include "host/core/Component.h"
#include "host/data/SqlConnection.h"
#include "tests/host/data/PgTestServer.h"

#include <optional>
#include <string>
#include <vector>

namespace host::testing {

class TSqlTestDatabase {
public:
    explicit TSqlTestDatabase(bool onServer);
    ~TSqlTestDatabase();
    TSqlTestDatabase(const TSqlTestDatabase&) = delete;
    TSqlTestDatabase& operator=(const TSqlTestDatabase&) = delete;

    bool OnServer() const { return FOnServer; }
    // A connection of its own, owned by Owner and open.
    TSQLConnection* Connect(TComponent* owner);
    // The rows Sql answers, read through a connection of their own, each as
    // "value|value|..." (Null as nothing).
    std::vector<std::string> Query(const std::string& sql);

private:
    bool FOnServer;
    std::string FFile;
    std::optional<TPgScratch> FScratch;
};

} // namespace host::testing
