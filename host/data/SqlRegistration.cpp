#include "host/data/SqlRegistration.h"

#include "host/core/ClassRegistry.h"
#include "host/data/PostgresConnection.h"
#include "host/data/SqlQuery.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"

namespace host {

void RegisterSQLClasses() {
    RegisterClasses({&TSQLiteConnection::ClassInfo(), &TPostgresConnection::ClassInfo(), &TSQLTable::ClassInfo(),
                     &TSQLQuery::ClassInfo()});
}

} // namespace host
