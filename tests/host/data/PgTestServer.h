#pragma once
// The PostgreSQL server the tests use: VESKAR_PG holds its libpq connection
// string (scripts/pg-cluster start prints one). Without it the tests skip,
// unless VESKAR_REQUIRE_PG=1 says a server must be there. Each test works
// in a schema of its own, dropped afterwards, so runs side by side do not
// meet.

#include "host/data/PostgresConnection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace host::testing {

// The connection string, or nothing when the tests are to skip: none is
// set, or the server does not answer (tried once).
std::optional<std::string> PgConnInfo();
// The reason to put in a skip or a failure.
std::string PgMissingMessage();
bool PgRequired();

// A schema made for one test and the search path set to it; dropped (with
// all in it) when the test ends.
class TPgScratch {
public:
    explicit TPgScratch(TPostgresConnection& connection);
    ~TPgScratch();
    TPgScratch(const TPgScratch&) = delete;
    TPgScratch& operator=(const TPgScratch&) = delete;
    const std::string& Schema() const { return FSchema; }
    // Points another connection at the same schema.
    void Use(TPostgresConnection& other) const;

private:
    std::string FConnInfo;
    std::string FSchema;
};

// Opens a connection on the test server in a fresh schema; skips or fails
// the test when there is no server.
class PgTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A second connection to the same server and schema.
    TPostgresConnection* Connect(TComponent* owner = nullptr);
    // Ends Victim's server session from another one, as an administrator
    // would, and waits until the server process is gone.
    void Terminate(TPostgresConnection& victim);

    TComponent* Owner = nullptr;
    TPostgresConnection* Conn = nullptr;
    std::optional<TPgScratch> Scratch;
};

} // namespace host::testing

// Skips the rest of a test (or fails it when a server is required) when no
// server is configured.
#define VESKAR_NEED_PG()                                                        \
    do {                                                                        \
        if (!::host::testing::PgConnInfo()) {                                   \
            if (::host::testing::PgRequired()) FAIL() << ::host::testing::PgMissingMessage(); \
            GTEST_SKIP() << ::host::testing::PgMissingMessage();                \
        }                                                                       \
    } while (0)
