// SQL text with named parameters: the translation ends on every input,
// finds every name once (a translated text has none left and translates to
// itself), and what it makes goes to SQLite's parser without harm: only
// prepared, never run, so no input touches a file.

#include "host/core/Exception.h"
#include "host/data/SqlParams.h"
#include "host/data/SqliteConnection.h"
#include "tests/fuzz/FuzzSupport.h"

#include <algorithm>

using namespace host;

namespace {

TSQLiteConnection& Database() {
    static TSQLiteConnection* db = [] {
        TSQLiteConnection* made = TSQLiteConnection::Create(nullptr);
        made->SetDatabaseName(":memory:");
        made->Open();
        made->ExecuteDirect("CREATE TABLE t (a INTEGER, b VARCHAR(10))");
        return made;
    }();
    return *db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string sql(reinterpret_cast<const char*>(data), size);
    const TParsedSQL parsed = ParseSQLParams(sql);
    fuzz::Check(parsed.Text.size() <= sql.size(), "the translation grew");
    for (const std::string& name : parsed.Names)
        fuzz::Check(!name.empty() && sql.find(":" + name) != std::string::npos, "a name not in the text: " + name);
    const TParsedSQL again = ParseSQLParams(parsed.Text);
    fuzz::Check(again.Names.empty() && again.Text == parsed.Text, "a translated text translates again: " + parsed.Text);

    if (parsed.Text.find('\0') != std::string::npos) return 0;
    try {
        TSQLStatementPtr statement = Database().Prepare(parsed.Text);
        fuzz::Check(statement->ParamCount() >= 0, "a negative parameter count");
        for (int i = 0; i < std::min(statement->ColumnCount(), 8); ++i) {
            statement->ColumnName(i);
            statement->ColumnType(i);
        }
    } catch (const EDatabaseError&) {
        // Text the engine refuses is refused with its message.
    }
    return 0;
}
