#include "tests/host/data/SqlTestDatabase.h"

#include "host/data/SqliteConnection.h"

#include <filesystem>
#include <unistd.h>

namespace host::testing {

TSqlTestDatabase::TSqlTestDatabase(bool onServer) : FOnServer(onServer) {
    if (FOnServer) return;
    static int made = 0;
    FFile = (std::filesystem::temp_directory_path() /
             ("veskar-test-" + std::to_string(getpid()) + "-" + std::to_string(++made) + ".db"))
                .string();
}

TSqlTestDatabase::~TSqlTestDatabase() {
    FScratch.reset();
    if (!FFile.empty()) std::filesystem::remove(FFile);
}

TSQLConnection* TSqlTestDatabase::Connect(TComponent* owner) {
    if (!FOnServer) {
        TSQLiteConnection* connection = TSQLiteConnection::Create(owner);
        connection->SetDatabaseName(FFile);
        connection->Open();
        return connection;
    }
    TPostgresConnection* connection = TPostgresConnection::Create(owner);
    connection->SetConnectionString(*PgConnInfo());
    connection->Open();
    if (FScratch)
        FScratch->Use(*connection);
    else
        FScratch.emplace(*connection);
    return connection;
}

std::vector<std::string> TSqlTestDatabase::Query(const std::string& sql) {
    Owned<TComponent> owner(TComponent::Create(nullptr));
    TSQLStatementPtr read = Connect(owner.get())->Prepare(sql);
    read->Execute();
    std::vector<std::string> rows;
    while (read->Fetch()) {
        std::string row;
        for (int c = 0; c < read->ColumnCount(); ++c) {
            const Variant value = read->ColumnValue(c);
            row += (c ? "|" : "") + (value.IsNull() ? std::string() : value.AsString());
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace host::testing
