// The published properties of the host's data-access classes.

#include "host/data/DataSet.h"
#include "host/data/DataSource.h"
#include "host/data/PostgresConnection.h"
#include "host/data/SqlConnection.h"
#include "host/data/SqlQuery.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/core/Strings.h"
#include "host/stream/Publisher.h"

namespace host {

void TDataSet::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDataSet>();
    // Read while loading, the dataset opens in Loaded.
    p.Boolean("Active", &TDataSet::Active, &TDataSet::SetActive).Default(false);
}

void TDataSource::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDataSource>();
    p.Boolean("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit).Default(true);
    p.Component("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
    p.Boolean("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(true);
}

void TSQLConnection::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLConnection>();
    // Read while loading, the connection opens in Loaded.
    p.Boolean("Connected", &TSQLConnection::Connected, &TSQLConnection::SetConnected).Default(false);
}

void TSQLiteConnection::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLiteConnection>();
    p.String("DatabaseName", &TSQLiteConnection::DatabaseName, &TSQLiteConnection::SetDatabaseName).Default("");
}

void TCustomSQLDataSet::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TCustomSQLDataSet>();
    p.Component("Connection", &TCustomSQLDataSet::Connection, &TCustomSQLDataSet::SetConnection);
}

void TSQLTable::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLTable>();
    p.String("TableName", &TSQLTable::TableName, &TSQLTable::SetTableName).Default("");
    p.String("IndexFieldNames", &TSQLTable::IndexFieldNames, &TSQLTable::SetIndexFieldNames).Default("");
    p.String("KeyFields", &TSQLTable::KeyFields, &TSQLTable::SetKeyFields).Default("");
}

void TSQLQuery::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSQLQuery>();
    p.Strings("SQL", &TSQLQuery::SQL);
}

void TPostgresConnection::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TPostgresConnection>();
    p.String("ConnectionString", &TPostgresConnection::ConnectionString, &TPostgresConnection::SetConnectionString).Default("");
    p.String("DatabaseName", &TPostgresConnection::DatabaseName, &TPostgresConnection::SetDatabaseName).Default("");
    p.String("HostName", &TPostgresConnection::HostName, &TPostgresConnection::SetHostName).Default("");
    p.String("Password", &TPostgresConnection::Password, &TPostgresConnection::SetPassword).Default("");
    p.Integer("Port", &TPostgresConnection::Port, &TPostgresConnection::SetPort).Default(0);
    p.String("UserName", &TPostgresConnection::UserName, &TPostgresConnection::SetUserName).Default("");
}

} // namespace host
