#pragma once
// The orders of the order-entry demo, kept in the same database as its
// customers and parts: the table is made when missing (what is there stays),
// and the database numbers each order when it is first posted, from
// FirstOrderNo on (SQLite: AUTOINCREMENT, seeded; otherwise an identity
// column), so every way of adding an order gets its number the same way and
// a number is never given twice.

#include "host/core/Component.h"
#include "host/data/DataSet.h"
#include "host/data/SqlConnection.h"
#include "host/data/SqlTable.h"

namespace demo {

constexpr int FirstOrderNo = 1001;

// Makes the orders table on Database unless it is there; on SQLite also
// seeds its numbering, once, so that the first order gets FirstOrderNo.
void CreateOrderTable(host::TSQLConnection* database);

// The dataset "Orders" on the orders table through Connection, owned by
// Owner and open; its number is the database's to give, so it is read-only.
host::TSQLTable* OpenOrders(host::TComponent* owner, host::TSQLConnection* connection);

// Begins a new order after those on file: an order being entered is posted
// first, and a new one nobody has typed into yet is kept as it is.
void BeginNewOrder(host::TDataSet* orders);

} // namespace demo
