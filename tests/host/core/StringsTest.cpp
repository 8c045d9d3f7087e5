// String lists: comma text both ways, the framework's defaults, index errors.

#include "host/core/Exception.h"
#include "host/core/List.h"
#include "host/core/Strings.h"
#include "host/core/Utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

Owned<TStringList> ListOf(std::vector<std::string> items) {
    Owned<TStringList> list(TStringList::Create());
    for (const auto& s : items) list->Add(s);
    return list;
}

std::vector<std::string> Items(const TStrings& list) {
    std::vector<std::string> r;
    for (int i = 0; i < list.Count(); ++i) r.push_back(list.Get(i));
    return r;
}

std::vector<std::string> Parse(const std::string& text) {
    Owned<TStringList> list(TStringList::Create());
    list->SetCommaText(text);
    return Items(*list);
}

using V = std::vector<std::string>;

TEST(StringsTest, CommaTextQuotesWhatNeedsIt) {
    EXPECT_EQ(ListOf({"a b", "c"})->CommaText(), "\"a b\",c");
    EXPECT_EQ(ListOf({"x\"y"})->CommaText(), "\"x\"\"y\"");
    EXPECT_EQ(ListOf({"a", ""})->CommaText(), "a,");
    EXPECT_EQ(ListOf({""})->CommaText(), "\"\"");
    EXPECT_EQ(ListOf({})->CommaText(), "");
    EXPECT_EQ(ListOf({"CustNo", "OrderNo"})->CommaText(), "CustNo,OrderNo");
    EXPECT_EQ(ListOf({"a,b", "tab\there"})->CommaText(), "\"a,b\",\"tab\there\"");
}

TEST(StringsTest, CommaTextReadsItemsBlanksAndQuotes) {
    EXPECT_EQ(Parse("CustNo, OrderNo"), (V{"CustNo", "OrderNo"}));
    EXPECT_EQ(Parse("a b"), (V{"a", "b"}));
    EXPECT_EQ(Parse("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(Parse(","), (V{"", ""}));
    EXPECT_EQ(Parse("a,"), (V{"a", ""}));
    EXPECT_EQ(Parse("\"a b\",c"), (V{"a b", "c"}));
    EXPECT_EQ(Parse("\"x\"\"y\""), (V{"x\"y"}));
    EXPECT_EQ(Parse(""), V{});
    EXPECT_EQ(Parse("   lead ,  trail  "), (V{"lead", "trail"}));
    EXPECT_EQ(Parse("\"unterminated"), (V{"unterminated"}));
    // What is written reads back the same.
    const V tricky{"", "a b", "q\"", ",", " "};
    EXPECT_EQ(Parse(ListOf(tricky)->CommaText()), tricky);
}

// A character 0 ends the text that is read, wherever it stands; nothing
// after it becomes an item.
TEST(StringsTest, ReadingStopsAtACharacterZero) {
    using namespace std::string_literals;
    EXPECT_EQ(Parse("a\0b,c"s), (V{"a"}));
    EXPECT_EQ(Parse("a,\0,b"s), (V{"a", ""}));
    EXPECT_EQ(Parse("\0"s), V{});
    EXPECT_EQ(Parse("\"x\0y\",z"s), (V{"x"}));
    EXPECT_EQ(Parse("a \0"s), (V{"a"}));
    auto list = ListOf({});
    list->SetDelimiter(';');
    list->SetStrictDelimiter(true);
    list->SetDelimitedText("p q;\0r;s"s);
    EXPECT_EQ(Items(*list), (V{"p q", ""}));
    list->SetText("one\r\ntwo\0three\n"s);
    EXPECT_EQ(Items(*list), (V{"one", "two"}));
}

TEST(StringsTest, DelimiterSettingsDoNotChangeCommaText) {
    auto list = ListOf({"a", "b c"});
    list->SetDelimiter(';');
    list->SetStrictDelimiter(true);
    EXPECT_EQ(list->DelimitedText(), "a;b c");
    EXPECT_EQ(list->CommaText(), "a,\"b c\"");
    list->SetDelimitedText("x y;z");
    EXPECT_EQ(Items(*list), (V{"x y", "z"}));
}

TEST(StringsTest, EmptyItemsSurviveABlankDelimiter) {
    // Read back, a blank delimiter is skipped as a blank: an empty item
    // between two of them must be quoted or it is lost.
    auto list = ListOf({"", "x", "", "y"});
    list->SetDelimiter(' ');
    EXPECT_EQ(list->DelimitedText(), "\"\" x \"\" y");
    auto again = ListOf({});
    again->SetDelimiter(' ');
    again->SetDelimitedText(list->DelimitedText());
    EXPECT_EQ(Items(*again), (V{"", "x", "", "y"}));
    list->SetDelimiter(',');
    EXPECT_EQ(list->DelimitedText(), ",x,,y") << "other delimiters write empty items bare";
}

TEST(StringsTest, DefaultsAndAssign) {
    auto list = ListOf({"Alpha", "beta"});
    EXPECT_EQ(list->IndexOf("ALPHA"), 0);
    EXPECT_EQ(list->IndexOf("gamma"), -1);
    list->Add("Alpha");
    EXPECT_EQ(list->Count(), 3) << "duplicates allowed";
    list->SetCaseSensitive(true);
    EXPECT_EQ(list->IndexOf("ALPHA"), -1);

    TObject* marker = list.get();
    list->PutObject(1, marker);
    auto copy = ListOf({"old"});
    copy->Assign(list.get());
    EXPECT_EQ(Items(*copy), (V{"Alpha", "beta", "Alpha"}));
    EXPECT_EQ(copy->Objects(1), marker);
    list->Clear();
    EXPECT_EQ(copy->Count(), 3) << "Assign copies, it does not share";
    EXPECT_THROW(copy->Assign(nullptr), EConvertError);
}

TEST(StringsTest, SortedListsKeepOrderAndHonourDuplicates) {
    auto list = ListOf({"pear", "apple", "fig"});
    list->SetSorted(true);
    EXPECT_EQ(Items(*list), (V{"apple", "fig", "pear"}));
    list->Add("banana");
    EXPECT_EQ(list->Get(1), "banana");
    list->SetDuplicates(dupIgnore);
    list->Add("FIG");
    EXPECT_EQ(list->Count(), 4);
    list->SetDuplicates(dupError);
    EXPECT_THROW(list->Add("pear"), EListError);
    EXPECT_THROW(list->Insert(0, "zzz"), EListError);
    EXPECT_EQ(list->IndexOf("PEAR"), 3);
}

TEST(StringsTest, ExchangeSwapsTwoItemsEvenInASortedList) {
    auto list = ListOf({"pear", "apple", "fig"});
    auto tag = ListOf({});
    list->PutObject(0, tag.get());
    list->SetSorted(true);
    int changes = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    list->Exchange(0, 2);
    EXPECT_EQ(Items(*list), (V{"pear", "fig", "apple"}));
    EXPECT_EQ(list->Objects(0), tag.get()) << "the object goes with its string";
    EXPECT_EQ(list->Objects(2), nullptr);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(list->Exchange(0, 3), EListError);
    EXPECT_EQ(Items(*list), (V{"pear", "fig", "apple"})) << "a refused exchange changes nothing";
}

TEST(StringsTest, ChangeEventsAreBatchedByUpdates) {
    auto list = ListOf({});
    int changes = 0;
    list->OnChange = [&](TObject*) { ++changes; };
    list->Add("a");
    EXPECT_EQ(changes, 1);
    list->SetCommaText("x,y,z");
    EXPECT_EQ(changes, 2) << "one notice for the whole text";
    list->Delete(0);
    EXPECT_EQ(changes, 3);
}

TEST(StringsTest, IndexErrorsNameTheIndex) {
    auto list = ListOf({"only"});
    try {
        list->Get(3);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list->Delete(-1), EListError);
    EXPECT_THROW(list->Insert(2, "x"), EListError);
    list->Insert(1, "end");
    EXPECT_EQ(list->Get(1), "end");
    EXPECT_EQ(list->StringRef(1), "end");
    EXPECT_THROW(list->StringRef(2), EListError);
    EXPECT_THROW(list->StringRef(-1), EListError);

    Owned<TList> pointers(TList::Create());
    int a = 0, b = 0;
    pointers->Add(&a);
    pointers->Add(&b);
    EXPECT_EQ(pointers->Remove(&a), 0);
    EXPECT_EQ(pointers->Remove(&a), -1);
    EXPECT_EQ(pointers->Items(0), &b);
    EXPECT_THROW(pointers->Items(-1), EListError);
    try {
        pointers->Items(1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (1)");
    }
    try {
        pointers->Delete(1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (1)");
    }
}

TEST(StringsTest, TextAndNameValuePairs) {
    auto list = ListOf({});
    list->SetText("one\r\ntwo\nthree");
    EXPECT_EQ(Items(*list), (V{"one", "two", "three"}));
    EXPECT_EQ(list->Text(), "one\ntwo\nthree\n");
    list->SetCommaText("Key=Value,Other=2");
    EXPECT_EQ(list->Values("key"), "Value");
    EXPECT_EQ(list->Names(1), "Other");
    EXPECT_EQ(list->Values("missing"), "");
}

} // namespace

TEST(Utf8Test, StepsCountsAndCutsByWholeCharacters) {
    const std::string text = "a€\xF0\x9F\x98\x80" "b";  // 1, 3, 4 and 1 bytes
    EXPECT_EQ(Utf8Length(text), 4);
    EXPECT_EQ(Utf8Offset(text, 2), 4u);
    EXPECT_EQ(Utf8Offset(text, 9), text.size());
    EXPECT_EQ(Utf8CharsBefore(text, 4), 2);
    EXPECT_EQ(Utf8Next(text, 1), 4u);
    EXPECT_EQ(Utf8Prev(text, 8), 4u);
    EXPECT_EQ(Utf8Floor(text, 6), 4u);
    EXPECT_EQ(Utf8Truncate(text, 2), "a€");
    EXPECT_EQ(Utf8Truncate("€€", 0), "");
    // A stray byte is a character of its own; a sequence cut short is one.
    EXPECT_EQ(Utf8Length("\x82" "a"), 2);
    EXPECT_EQ(Utf8Prev("\x82\x82", 2), 1u);
    EXPECT_EQ(Utf8Length("\xE2\x82" "a"), 2);
    EXPECT_EQ(Utf8Truncate("\xE2\x82" "a", 1), "\xE2\x82");
}
