// Connection strings: parsing text into two paired field lists, printing
// them back, and what a malformed text shows and leaves behind.

#include "host/core/Strings.h"
#include "host/ui/Backend.h"
#include "lookup/Lsdblkp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace host;
using namespace veskar;
using Names = std::vector<std::string>;

Names Items(const TStrings& list) {
    Names names;
    for (int i = 0; i < list.Count(); ++i) names.push_back(list.Get(i));
    return names;
}

class ConnectionStringTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessBackend()->ClearShown();
        // Left-overs of an earlier parse must go.
        First->Add("stale");
        Second->Add("stale");
    }
    void TearDown() override { HeadlessBackend()->ClearShown(); }

    struct TParsed {
        Names First, Second;
        std::vector<std::string> Shown;  // exception messages, in order
    };
    TParsed Parse(const std::string& text) {
        HeadlessBackend()->ClearShown();
        String2Lists(text, *First, *Second);
        TParsed parsed{Items(*First), Items(*Second), {}};
        for (const TShownItem& item : HeadlessBackend()->Shown()) {
            EXPECT_EQ(item.Kind, TShownKind::Exception) << item.Text;
            parsed.Shown.push_back(item.Text);
        }
        return parsed;
    }
    std::string Print(const Names& first, const Names& second) {
        Owned<TStringList> a(TStringList::Create()), b(TStringList::Create());
        for (const std::string& s : first) a->Add(s);
        for (const std::string& s : second) b->Add(s);
        std::string text = "not touched";
        Lists2String(*a, *b, text);
        return text;
    }

    Owned<TStringList> First{TStringList::Create()};
    Owned<TStringList> Second{TStringList::Create()};
};

TEST_F(ConnectionStringTest, WellFormedTextsGiveTheirPairsInOrder) {
    struct TCase {
        std::string Text;
        Names First, Second;
    };
    const TCase cases[] = {
        {"", {}, {}},
        {"CustNo,CustNo", {"CustNo"}, {"CustNo"}},
        {"CustNo,CustNo;ShipTo,Company", {"CustNo", "ShipTo"}, {"CustNo", "Company"}},
        // Spaces go wherever they stand, inside names too.
        {"  Cust No , Cust No ;  Ship To,Com pany  ", {"CustNo", "ShipTo"}, {"CustNo", "Company"}},
        // Only code 32 is a space: a tab stays part of the name.
        {"Cust\tNo,\tCustNo", {"Cust\tNo"}, {"\tCustNo"}},
        {"a,b;", {"a"}, {"b"}},
        // A stray "," after a pair ends the parse quietly.
        {"a,b,c;d,e", {"a"}, {"b"}},
        {"a,b;c,d,", {"a", "c"}, {"b", "d"}},
        {"a,b;a,b", {"a", "a"}, {"b", "b"}},
        {"é,ü;x.y,[z]", {"é", "x.y"}, {"ü", "[z]"}},
    };
    for (const TCase& c : cases) {
        const TParsed parsed = Parse(c.Text);
        EXPECT_EQ(parsed.First, c.First) << "'" << c.Text << "'";
        EXPECT_EQ(parsed.Second, c.Second) << "'" << c.Text << "'";
        EXPECT_TRUE(parsed.Shown.empty()) << "'" << c.Text << "' showed " << parsed.Shown.front();
    }
}

TEST_F(ConnectionStringTest, AMalformedTextShowsOneMessageAndLeavesBothListsEmpty) {
    const std::string comma = "FieldPairParser: Comma expected!";
    const std::string field = "FieldPairParser: Field missing!";
    const std::string key = "FieldPairParser: PairParser: KeyField missing!";
    struct TCase {
        std::string Text;
        std::string Message;
    };
    const TCase cases[] = {
        {"   ", comma},
        {"CustNo", comma},
        {";a,b", comma},  // the comma test comes before the empty-name test
        {"a,b;;c,d", comma},
        {"a,b;c", comma},
        {"a,b; ", comma},
        {",b", field},
        {"   ,b", field},
        {"a,b;,d", field},
        {"a,", key},
        {"a,  ", key},
        {"a, ;c,d", key},
        {"a,b;c,d;e,", key},
    };
    for (const TCase& c : cases) {
        const TParsed parsed = Parse(c.Text);
        EXPECT_EQ(parsed.Shown, std::vector<std::string>{c.Message}) << "'" << c.Text << "'";
        EXPECT_TRUE(parsed.First.empty() && parsed.Second.empty())
            << "'" << c.Text << "': pairs read before the error are removed too";
    }
}

TEST_F(ConnectionStringTest, PrintingJoinsThePairsOrGivesNothingForUnequalLists) {
    EXPECT_EQ(Print({}, {}), "");
    EXPECT_EQ(Print({"CustNo"}, {"CustNo"}), "CustNo,CustNo");
    EXPECT_EQ(Print({"CustNo", "ShipTo"}, {"CustNo", "Company"}), "CustNo,CustNo;ShipTo,Company");
    EXPECT_EQ(Print({"a", "b"}, {"c"}), "");
    EXPECT_EQ(Print({}, {"c"}), "");
    // Nothing is added or quoted.
    EXPECT_EQ(Print({"a b"}, {"c"}), "a b,c");
}

TEST_F(ConnectionStringTest, PrintingThenParsingGivesTheListsBack) {
    const Names first{"CustNo", "Ship_To", "x"}, second{"Cust.No", "Company", "x"};
    const TParsed parsed = Parse(Print(first, second));
    EXPECT_EQ(parsed.First, first);
    EXPECT_EQ(parsed.Second, second);

    // An empty entry prints a pair that does not parse.
    const TParsed broken = Parse(Print({"", "b"}, {"a", "c"}));
    EXPECT_EQ(broken.Shown, std::vector<std::string>{"FieldPairParser: Field missing!"});
}

TEST_F(ConnectionStringTest, ParsingAndPrintingNormalisesAText) {
    const std::pair<std::string, std::string> cases[] = {
        {" Cust No , CustNo ; ShipTo , Company ;", "CustNo,CustNo;ShipTo,Company"},
        {"a,b;c,d,junk;more", "a,b;c,d"},
        {"a,b;", "a,b"},
        {"", ""},
    };
    for (const auto& [text, normal] : cases) {
        Parse(text);
        std::string printed;
        Lists2String(*First, *Second, printed);
        EXPECT_EQ(printed, normal) << "'" << text << "'";
    }
}

} // namespace
