// The in-memory dataset's indexes answer Lookup and Locate exactly as a scan
// from the first record does, through random edits of every kind.

#include "DataFixture.h"

#include <random>
#include <sstream>
#include <typeinfo>

namespace host::testing {
namespace {

// The same records in two datasets, one searching by index and one by scan,
// driven by the same random steps.
class IndexDifferential : public ::testing::Test {
protected:
    void SetUp() override {
        Module = TDataModule::Create(nullptr);
        Indexed = MakeTable();
        Scanned = MakeTable();
        Scanned->SetIndexed(false);
    }
    void TearDown() override { Free(Module); }

    TMemoryDataSet* MakeTable() {
        TMemoryDataSet* table = TMemoryDataSet::Create(Module);
        table->FieldDefs().Add("Id", ftInteger);
        table->FieldDefs().Add("Name", ftString, 6);
        table->FieldDefs().Add("Amount", ftFloat);
        table->FieldDefs().Add("Flag", ftBoolean);
        table->FieldDefs().Add("Any", ftUnknown);
        table->Open();
        return table;
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }

    Variant Name() {
        static const char* const names[] = {"ab", "AB", "Ab", "abc", "aBcd", "b", "B", "ba", "", "abz", "zz"};
        return Pick(8) == 0 ? Variant::Null() : Variant(names[Pick(11)]);
    }
    // Whole and fractional numbers, as integers and as floats.
    Variant Number() {
        switch (Pick(6)) {
        case 0: return Variant::Null();
        case 1: return Variant(Pick(8) + 0.5);
        case 2: return Variant(static_cast<double>(Pick(8)));
        case 3: return Variant(-0.0);
        default: return Variant(Pick(8));
        }
    }
    Variant Flag() { return Pick(4) == 0 ? Variant::Null() : Variant(Pick(2) == 1); }
    // A column of no type: numbers, texts and Nulls side by side.
    Variant Any() {
        switch (Pick(4)) {
        case 0: return Variant::Null();
        case 1: return Variant(std::to_string(Pick(4)));
        default: return Variant(Pick(4));
        }
    }
    Variant ValueFor(int field) {
        switch (field) {
        case 0: return Number();
        case 1: return Name();
        case 2: return Number();
        case 3: return Flag();
        default: return Any();
        }
    }
    Variant KeyFor(int field) {
        if (field == 1 && Pick(6) == 0) return Variant(std::to_string(Pick(3)));
        if (field == 0 && Pick(8) == 0) return Variant(std::to_string(Pick(8)));
        if (field == 4 && Pick(8) == 0) return Variant("x");
        return ValueFor(field);
    }

    // Applies one step to both tables.
    void Both(const std::function<void(TMemoryDataSet*)>& step) {
        step(Indexed);
        step(Scanned);
    }
    void WriteRecord(TMemoryDataSet* table, const std::vector<Variant>& values) {
        for (int f = 0; f < 5; ++f) table->Fields(f)->SetValue(values[static_cast<size_t>(f)]);
    }
    std::vector<Variant> RandomRecord() {
        std::vector<Variant> values;
        for (int f = 0; f < 5; ++f) values.push_back(ValueFor(f));
        return values;
    }

    // What a search answered, or what it raised.
    template <class F>
    static std::string Outcome(TMemoryDataSet* table, F search) {
        std::ostringstream out;
        try {
            out << search(table);
        } catch (const std::exception& e) {
            out << "raised " << typeid(e).name() << ": " << e.what();
        }
        out << " at " << table->RecNo();
        return out.str();
    }

    void Edit() {
        const int step = Pick(10);
        const int count = Indexed->RecordCount();
        if (step < 3 || count == 0) {
            const auto values = RandomRecord();
            Both([&](TMemoryDataSet* t) {
                t->Append();
                WriteRecord(t, values);
                t->Post();
            });
        } else if (step == 3) {
            const int at = Pick(count) + 1;
            const auto values = RandomRecord();
            Both([&](TMemoryDataSet* t) {
                t->SetRecNo(at);
                t->Insert();
                WriteRecord(t, values);
                t->Post();
            });
        } else if (step == 4) {
            const int at = Pick(count) + 1;
            Both([&](TMemoryDataSet* t) {
                t->SetRecNo(at);
                t->Delete();
            });
        } else if (step <= 7) {
            const int at = Pick(count) + 1;
            const int field = Pick(5);
            const Variant value = ValueFor(field);
            const bool cancel = step == 7;
            Both([&](TMemoryDataSet* t) {
                t->SetRecNo(at);
                t->Edit();
                t->Fields(field)->SetValue(value);
                cancel ? t->Cancel() : t->Post();
            });
        } else if (step == 8) {
            Both([&](TMemoryDataSet* t) { t->Last(); t->Delete(); });
        } else {
            Both([&](TMemoryDataSet* t) { t->Close(); t->Open(); });
        }
    }

    void Search() {
        static const char* const tuples[] = {"Id", "Name", "Amount", "Flag", "Any", "Id;Name", "Name;Flag", "Amount;Id"};
        const std::string keys = tuples[Pick(8)];
        const std::vector<TField*> fields = Indexed->GetFieldList(keys);
        Variant values;
        if (fields.size() == 1) {
            values = KeyFor(fields[0]->Index());
        } else {
            values = VarArrayCreate(0, static_cast<int>(fields.size()) - 1);
            for (size_t i = 0; i < fields.size(); ++i) values[static_cast<int>(i)] = KeyFor(fields[i]->Index());
        }
        if (Pick(2) == 0) {
            auto lookup = [&](TMemoryDataSet* t) { return t->Lookup(keys, values, "Id;Name;Amount;Any"); };
            ASSERT_EQ(Outcome(Indexed, lookup), Outcome(Scanned, lookup)) << "Lookup " << keys << " " << values;
        } else {
            TLocateOptions options;
            if (Pick(2)) options.Include(loCaseInsensitive);
            if (Pick(2)) options.Include(loPartialKey);
            auto locate = [&](TMemoryDataSet* t) { return t->Locate(keys, values, options) ? "found" : "none"; };
            ASSERT_EQ(Outcome(Indexed, locate), Outcome(Scanned, locate)) << "Locate " << keys << " " << values;
        }
    }

    std::mt19937 Random{20261208};
    TDataModule* Module = nullptr;
    TMemoryDataSet* Indexed = nullptr;
    TMemoryDataSet* Scanned = nullptr;
};

TEST_F(IndexDifferential, AnswersAsTheScanThroughRandomEdits) {
    for (int round = 0; round < 6000; ++round) {
        if (Pick(3) == 0) Edit();
        for (int q = 0; q < 3; ++q) {
            Search();
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GT(Indexed->RecordCount(), 20) << "the edits must leave records to search";
}

TEST_F(IndexDifferential, AnswersAsTheScanOverABulkLoadAndLaterAppends) {
    // Ordered indexes leave appended records to a scan until they rebuild.
    for (int i = 0; i < 12000; ++i) {
        const auto values = RandomRecord();
        Both([&](TMemoryDataSet* t) { t->AppendRecord(values); });
        if (i % 1500 == 0 || i > 11990)
            for (int q = 0; q < 20; ++q) {
                Search();
                if (HasFatalFailure()) return;
            }
    }
    EXPECT_GT(Indexed->IndexMemory(), 0u);
}

TEST_F(DataTest, IndexedSearchKeepsTheCursorAndSeesEveryEdit) {
    Customers->Next();
    EXPECT_EQ(Customers->Lookup("CustNo", 1354.0, "Company"), Variant("Cayman Dive")) << "5 = 5.0";
    EXPECT_EQ(Customers->RecNo(), 2) << "Lookup does not move";
    Customers->AppendRecord({1354, "Second", 1, true});
    Customers->Last();
    Customers->Edit();
    Customers->FieldByName("CustNo")->SetValue(7);
    Customers->Post();
    EXPECT_EQ(Customers->Lookup("CustNo", 7, "Company"), Variant("Second")) << "a changed key is found";
    EXPECT_EQ(Customers->Lookup("CustNo", 1354, "Company"), Variant("Cayman Dive"));
    Customers->SetRecNo(4);
    Customers->Delete();
    EXPECT_EQ(Customers->Lookup("CustNo", 1354, "Company"), Variant::Null()) << "a deleted record is gone";
    Customers->First();
    Customers->Insert();
    Customers->FieldByName("CustNo")->SetValue(7);
    Customers->FieldByName("Company")->SetValue("First");
    Customers->Post();
    EXPECT_EQ(Customers->Lookup("CustNo", 7, "Company"), Variant("First")) << "first in dataset order";
    EXPECT_TRUE(Customers->Locate("Company", "SIGHT", {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(Value("CustNo"), Variant(1351));
    EXPECT_FALSE(Customers->Locate("Company", "nowhere", {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(Value("CustNo"), Variant(1351)) << "no move when nothing is found";
    EXPECT_TRUE(Customers->Locate("Company", "", {loPartialKey}));
    EXPECT_EQ(Customers->RecNo(), 1) << "an empty beginning matches the first record";
}

} // namespace
} // namespace host::testing

namespace host::testing {
namespace {

TEST(LargeColumns, TablesBeyondAFewMegabytesGrowShrinkAndSearch) {
    // 80,000 variants take more than the block asked of the kernel in huge
    // pages: the columns and the key's index cross that size as they grow.
    Owned<TMemoryDataSet> table(TMemoryDataSet::Create(nullptr));
    table->FieldDefs().Add("Id", ftInteger);
    table->FieldDefs().Add("Name", ftString, 12);
    table->Open();
    table->DisableControls();
    for (int i = 0; i < 80000; ++i) table->AppendRecord({i, "n" + std::to_string(i)});
    table->EnableControls();
    EXPECT_EQ(table->Lookup("Id", 79999, "Name"), Variant("n79999"));
    EXPECT_EQ(table->Lookup("Id", 0, "Name"), Variant("n0"));
    EXPECT_GE(table->IndexMemory(), size_t{2} << 20);
    EXPECT_TRUE(table->Locate("Name", "N7999", {loCaseInsensitive, loPartialKey}));
    EXPECT_EQ(table->FieldByName("Id")->Value(), Variant(7999));

    table->First();
    table->Delete();
    EXPECT_TRUE(VarIsNull(table->Lookup("Id", 0, "Name")));
    EXPECT_EQ(table->RecordCount(), 79999);
    table->EmptyDataSet();
    EXPECT_EQ(table->RecordCount(), 0);
    table->AppendRecord({1, "again"});
    EXPECT_EQ(table->Lookup("Id", 1, "Name"), Variant("again"));
}

} // namespace
} // namespace host::testing
