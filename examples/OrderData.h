#pragma once
// Where the order-entry demo keeps its customers, parts and orders: an SQLite file,
// made and filled on first use (200,000 customers), or a PostgreSQL server
// named by a connection string. MakeData (examples/OrderEntry.h) builds the
// data module on the database chosen here.

#include "host/core/Component.h"
#include "host/data/SqlConnection.h"

#include <functional>
#include <string>

namespace demo {

struct TOrderDatabase {
    // The SQLite file; DefaultDatabaseFile() when empty.
    std::string File;
    // A libpq connection string ("host=/tmp dbname=orders"); when set, the
    // server is used instead of the file.
    std::string Server;
};

// $VESKAR_DEMO_DB, else $XDG_DATA_HOME/veskar/orders.db (XDG_DATA_HOME
// defaulting to ~/.local/share), else orders.db in the current folder.
std::string DefaultDatabaseFile();

// Reads "--db FILE" and "--pg CONNINFO" (also "--db=FILE", "--pg=CONNINFO");
// raises host::Exception naming an unknown option or a missing value.
TOrderDatabase ParseDatabaseOptions(int argc, char** argv);

// The database MakeData opens; the default file until set.
void SetOrderDatabase(const TOrderDatabase& database);
const TOrderDatabase& OrderDatabase();

// A connection to the chosen database, owned by Owner and open, its tables
// made (and customers and parts filled) if they were not there.
host::TSQLConnection* OpenOrderDatabase(host::TComponent* owner);

// "the SQLite database FILE" or "the PostgreSQL server at CONNINFO".
std::string DescribeOrderDatabase();

// Told how far the filling of a new database has come: the table being
// filled, and how many of its rows are in. Nil: nobody is told.
using TFillProgress = std::function<void(const std::string& table, int done, int total)>;
void SetFillProgress(TFillProgress progress);

// Customers the demo puts in a new database.
constexpr int DemoCustomerCount = 200000;

} // namespace demo
