// A table dataset over a view, on SQLite and on the PostgreSQL test server:
// a join view whose rows nothing identifies, copies of one row included
// (more of them than a window holds), read forward, backward and by jumps
// in the order of all its columns; it refuses writes; with KeyFields it is
// ordered by the key; Lookup and Locate answer as the in-memory dataset
// does on the same rows.

#include "PgTestServer.h"
#include "SqlTestDatabase.h"

#include "host/core/Exception.h"
#include "host/data/MemoryDataSet.h"
#include "host/data/SqlTable.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host::testing {
namespace {

using Rows = std::vector<std::string>;

class SqlViewTest : public ::testing::TestWithParam<std::string> {
protected:
    bool OnServer() const { return GetParam() == "Postgres"; }

    void SetUp() override {
        if (OnServer()) VESKAR_NEED_PG();
        Database.emplace(OnServer());
        Owner = TComponent::Create(nullptr);
        Conn = Database->Connect(Owner);
        Conn->ExecuteDirect(
            "CREATE TABLE city (\"CityNo\" INTEGER PRIMARY KEY, \"City\" VARCHAR(20));"
            "CREATE TABLE item (\"ItemNo\" INTEGER PRIMARY KEY, \"Name\" VARCHAR(20), \"Grade\" INTEGER,"
            " \"CityNo\" INTEGER);"
            "CREATE VIEW stock AS SELECT i.\"Name\", i.\"Grade\", c.\"City\" FROM item i"
            " LEFT JOIN city c ON c.\"CityNo\" = i.\"CityNo\";"
            "CREATE VIEW stock_keyed AS SELECT i.\"ItemNo\", i.\"Name\", c.\"City\" FROM item i"
            " LEFT JOIN city c ON c.\"CityNo\" = i.\"CityNo\"");
        Conn->ExecSQL("INSERT INTO city VALUES (1, 'North'), (2, 'south'), (3, 'East')");
        const std::vector<Variant> names = {"Bolt", "bolt", "Nut", Variant::Null(), "Washer", "Bo"};
        int no = 0;
        for (int i = 0; i < 36; ++i)
            Conn->ExecSQL("INSERT INTO item VALUES (?, ?, ?, ?)",
                          {++no, names[static_cast<size_t>(i % 6)], i % 5 == 4 ? Variant::Null() : Variant(i % 3),
                           i % 7 == 6 ? Variant::Null() : Variant(1 + i % 3)});
        // Seven copies of one row: more than the window of four holds.
        for (int i = 0; i < 7; ++i) Conn->ExecSQL("INSERT INTO item VALUES (?, 'Gear', 2, 1)", {++no});
        Conn->ExecSQL("INSERT INTO item VALUES (?, 'Gear', 2, 2), (?, 'Gear', 3, 1)", {no + 1, no + 2});
    }
    void TearDown() override {
        if (Owner) Owner->Free();
        Database.reset();
    }

    TSQLTable* View(const std::string& name, const std::string& order = {}, const std::string& key = {}) {
        TSQLTable* table = TSQLTable::Create(Owner);
        table->SetConnection(Conn);
        table->SetTableName(name);
        table->SetIndexFieldNames(order);
        table->SetKeyFields(key);
        table->SetWindowSize(4);
        table->Open();
        return table;
    }

    // The view's rows in the order given, NULL first, read by the engine.
    Rows Expected(const std::string& view, const std::string& columns, const std::vector<std::string>& order) {
        std::string by;
        for (const std::string& column : order) by += (by.empty() ? "" : ", ") + ("\"" + column + "\" NULLS FIRST");
        return Database->Query("SELECT " + columns + " FROM " + view + " ORDER BY " + by);
    }

    static std::string Current(const TDataSet* data) {
        std::string row;
        for (int f = 0; f < data->FieldCount(); ++f) row += (f ? "|" : "") + data->Fields(f)->AsString();
        return row;
    }
    static Rows Forward(TDataSet* data) {
        Rows rows;
        for (data->First(); !data->Eof(); data->Next()) rows.push_back(Current(data));
        return rows;
    }
    static Rows Backward(TDataSet* data) {
        Rows rows;
        for (data->Last(); !data->Bof(); data->Prior()) rows.insert(rows.begin(), Current(data));
        return rows;
    }
    static std::string ErrorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const Exception& e) {
            return e.Message();
        }
        return "(no error)";
    }

    std::optional<TSqlTestDatabase> Database;
    TComponent* Owner = nullptr;
    TSQLConnection* Conn = nullptr;
};

TEST_P(SqlViewTest, AViewBrowsesEveryCopyInTheOrderOfAllItsColumns) {
    TSQLTable* stock = View("stock");
    const Rows expected = Expected("stock", "\"Name\", \"Grade\", \"City\"", {"Name", "Grade", "City"});
    ASSERT_EQ(expected.size(), 45u);
    EXPECT_EQ(stock->RecordCount(), 45);
    EXPECT_EQ(Forward(stock), expected);
    EXPECT_EQ(Backward(stock), expected) << "back across windows and the copies";
    for (int at : {30, 1, 45, 12, 13, 44, 20, 2}) {
        stock->SetRecNo(at);
        EXPECT_EQ(Current(stock), expected[static_cast<size_t>(at - 1)]) << "jump to " << at;
    }
    stock->SetRecNo(9);
    for (int step : {3, -5, 4, 4, -2, 6}) {
        const int to = stock->RecNo() + step;
        stock->MoveBy(step);
        EXPECT_EQ(Current(stock), expected[static_cast<size_t>(to - 1)]) << "step " << step << " to " << to;
    }
    EXPECT_LE(stock->CachedRows(), 4);

    // The order asked for comes first; every column still follows.
    TSQLTable* byCity = View("stock", "City");
    EXPECT_EQ(Forward(byCity), Expected("stock", "\"Name\", \"Grade\", \"City\"", {"City", "Name", "Grade"}));
    EXPECT_EQ(Backward(byCity), Expected("stock", "\"Name\", \"Grade\", \"City\"", {"City", "Name", "Grade"}));
}

TEST_P(SqlViewTest, AViewWithoutAKeyRefusesWritesAndAKeyOrdersIt) {
    TSQLTable* stock = View("stock");
    EXPECT_FALSE(stock->CanModify());
    EXPECT_FALSE(stock->FieldByName("Name")->CanModify());
    EXPECT_EQ(ErrorOf([&] { stock->Edit(); }), "Cannot modify a read-only dataset");
    EXPECT_EQ(ErrorOf([&] { stock->Append(); }), "Cannot modify a read-only dataset");
    EXPECT_EQ(ErrorOf([&] { stock->Delete(); }), "Cannot modify a read-only dataset");
    EXPECT_EQ(stock->State(), dsBrowse);
    EXPECT_EQ(Database->Query("SELECT COUNT(*) FROM item"), Rows{"45"});
    EXPECT_EQ(ErrorOf([&] { View("stock", {}, "rowid"); }), "Field 'rowid' not found")
        << "a view has no row id to read";

    TSQLTable* keyed = View("stock_keyed", "City", "ItemNo");
    EXPECT_TRUE(keyed->CanModify()) << "the engine decides whether the view takes writes";
    const Rows expected =
        Expected("stock_keyed", "\"ItemNo\", \"Name\", \"City\"", {"City", "ItemNo"});
    EXPECT_EQ(Forward(keyed), expected);
    EXPECT_EQ(Backward(keyed), expected);
}

// A Lookup's or a Locate's answer as text: found or not, the record number
// and the record, or the values looked up.
std::string Answer(TDataSet* data, const std::string& fields, const Variant& values, TLocateOptions options) {
    std::string text = data->Locate(fields, values, options) ? "found " : "missing ";
    text += std::to_string(data->RecNo()) + ": ";
    for (int f = 0; f < data->FieldCount(); ++f) text += data->Fields(f)->AsString() + "|";
    if (options.Contains(loPartialKey)) return text;
    const Variant looked = data->Lookup(fields, values, "City;Grade;Name");
    text += " looked up ";
    if (!looked.IsArray()) return text + (looked.IsNull() ? "Null" : "?");
    for (int i = looked.LowBound(); i <= looked.HighBound(); ++i)
        text += (looked[i].IsNull() ? std::string("Null") : looked[i].AsString()) + ",";
    return text;
}

TEST_P(SqlViewTest, LookupAndLocateOnAViewAnswerAsInMemory) {
    TSQLTable* stock = View("stock", "City");
    TMemoryDataSet* memory = TMemoryDataSet::Create(Owner);
    memory->FieldDefs().Add("Name", ftString, 20);
    memory->FieldDefs().Add("Grade", ftInteger);
    memory->FieldDefs().Add("City", ftString, 20);
    memory->Open();
    for (stock->First(); !stock->Eof(); stock->Next())
        memory->AppendRecord({stock->Fields(0)->Value(), stock->Fields(1)->Value(), stock->Fields(2)->Value()});
    ASSERT_EQ(memory->RecordCount(), 45);

    struct Case {
        std::string Fields;
        Variant Values;
        TLocateOptions Options;
    };
    const std::vector<Case> cases = {
        {"Name", "bolt", {}},
        {"Name", "BOLT", {loCaseInsensitive}},
        {"Name", "Bo", {loPartialKey}},
        {"Name", "bo", {loPartialKey, loCaseInsensitive}},
        {"Name", "B", {loPartialKey}},
        {"Name", Variant::Null(), {}},
        {"Grade", 2.0, {}},
        {"Grade", 2.5, {}},
        {"Grade", "1", {}},
        {"Grade", Variant::Null(), {}},
        {"Name;Grade", VarArrayOf({"Gear", 2}), {}},
        {"City;Grade", VarArrayOf({Variant::Null(), 1}), {}},
        {"City;Name", VarArrayOf({"SOUTH", "nut"}), {loCaseInsensitive}},
        {"Name;Grade;City", VarArrayOf({"Gear", 3, "North"}), {}},
        {"Name", "Sprocket", {}},
        {"City", "Wes", {loPartialKey}},
    };
    for (const Case& c : cases) {
        memory->First();
        stock->First();
        EXPECT_EQ(Answer(stock, c.Fields, c.Values, c.Options), Answer(memory, c.Fields, c.Values, c.Options))
            << c.Fields;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SqlViewTest, ::testing::Values("Sqlite", "Postgres"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

} // namespace
} // namespace host::testing
