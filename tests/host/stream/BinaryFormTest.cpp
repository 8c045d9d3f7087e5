// Binary form files: read as texts are, written and converted both ways
// with the same values, references and events; malformed data raises a read
// error naming its offset.

#include "SampleForm.h"
#include "StreamClasses.h"

#include "host/core/StreamErrors.h"
#include "host/stream/FormBinary.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"

#include <gtest/gtest.h>

#include <random>

using namespace host;
using namespace streamtest;

namespace {

class BinaryFormTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterStreamTestClasses(); }
};

std::string Bytes(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
}

// A text with every kind of value the formats know.
std::string EveryValueText() {
    return "object F: TProbeForm\n"
           "  Caption = 'Gr'#252#223'e '#55357#56832\n"
           "  object P: TProbe [2]\n"
           "    Tag = -70000\n"
           "    Count = 300\n"
           "    Color = clRed\n"
           "    Ratio = 1.5E300\n"
           "    Title = 'a''b'#13#10'c'\n"
           "    Side = alClient\n"
           "    Styles = [psBold, psUnderline]\n"
           "    Keys.Strings = (\n"
           "      'one'\n"
           "      'two')\n"
           "    Blob = {\n"
           "      00FF10}\n"
           "    Active = False\n"
           "    ShortCut = 16496\n"
           "    Source = Source\n"
           "    Items = <\n"
           "      item\n"
           "        Caption = 'x'\n"
           "        Width = 10\n"
           "      end\n"
           "      item\n"
           "      end>\n"
           "    OnChange = GridDblClick\n"
           "    OnValue = ProbeValue\n"
           "    Left = 24\n"
           "  end\n"
           "  inherited Q: TProbe\n"
           "    Big = 9000000000\n"
           "    S = 1.5s\n"
           "    C = 12345c\n"
           "    D = 45000.5d\n"
           "    Long = '" + std::string(300, 'L') + "'\n"
           "    Nothing = nil\n"
           "    Yes = True\n"
           "  end\n"
           "end\n";
}

} // namespace

TEST_F(BinaryFormTest, TheFormatIsTheFrameworksOwn) {
    const std::string binary = ObjectTextToBinary("object P: TProbe\n  Count = 5\n  Title = 'x'\n  Active = True\nend");
    EXPECT_EQ(binary, "TPF0" + Bytes({6}) + "TProbe" + Bytes({1}) + "P" + Bytes({5}) + "Count" + Bytes({2, 5, 5}) +
                          "Title" + Bytes({6, 1}) + "x" + Bytes({6}) + "Active" + Bytes({9, 0, 0}));
    // Flags for inherited and indexed objects; integers by size; wide text.
    const std::string flagged = ObjectTextToBinary("inherited P: TProbe [3]\n  Tag = 300\n  Title = #233\nend");
    EXPECT_EQ(flagged, "TPF0" + Bytes({0xF3, 2, 3, 6}) + "TProbe" + Bytes({1}) + "P" + Bytes({3}) + "Tag" +
                           Bytes({3, 0x2C, 0x01, 5}) + "Title" + Bytes({18, 1, 0, 0, 0, 0xE9, 0, 0, 0}));
    EXPECT_TRUE(IsBinaryForm(binary));
    EXPECT_FALSE(IsBinaryForm("object P: TProbe\nend"));
}

TEST_F(BinaryFormTest, TextAndBinaryConvertBothWaysWithEveryValue) {
    const std::string text = EveryValueText();
    const std::string binary = ObjectTextToBinary(text);
    EXPECT_EQ(ObjectBinaryToText(binary), FormTreeText(ParseFormText(text)));
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary);
    // A resource header in front is passed over.
    const std::string resource = Bytes({0xFF, 0x0A, 0x00}) + "TF" + Bytes({0, 0x30, 0x10}) +
                                 Bytes({static_cast<int>(binary.size() & 0xFF), static_cast<int>(binary.size() >> 8), 0, 0}) +
                                 binary;
    EXPECT_EQ(ObjectBinaryToText(resource), ObjectBinaryToText(binary));
}

TEST_F(BinaryFormTest, ABinaryFormReadsAsItsTextAndWritesBack) {
    const std::string text = SampleFormText();
    Owned<TComponent> fromText(CreateComponentFromText(text));
    const std::string written = WriteComponentText(fromText.get());
    const std::string binary = WriteComponentBinary(fromText.get());
    Owned<TComponent> fromBinary(CreateComponentFromText(binary));
    EXPECT_EQ(WriteComponentText(fromBinary.get()), written);
    auto* form = static_cast<TProbeForm*>(fromBinary.get());
    ASSERT_NE(form->Grid, nullptr);
    EXPECT_EQ(form->Grid->DataSource(), form->Source);
    form->Grid->DblClick();
    EXPECT_EQ(form->Calls, std::vector<std::string>{"GridDblClick:Grid"});
    // Into an existing root too.
    Owned<TProbeForm> existing(TProbeForm::Create(nullptr));
    ReadComponentText(existing.get(), binary);
    EXPECT_EQ(WriteComponentText(existing.get()), written);
}

TEST_F(BinaryFormTest, AnItemsPropertiesNamedLikeObjectWordsConvertBothWays) {
    // Inside an item a text reads every word but "end" as a property name.
    const std::string items = "object P: TProbe\n  Items = <\n    item\n      Object = 1\n      Inherited = 2\n"
                              "      Inline = 3\n    end>\nend\n";
    const std::string binary = ObjectTextToBinary(items);
    EXPECT_EQ(ObjectBinaryToText(binary), FormTreeText(ParseFormText(items)));
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary);
}

TEST_F(BinaryFormTest, NonFiniteSinglesAndDatesConvertToTextThatReadsBack) {
    const std::string head = "TPF0" + Bytes({6}) + "TProbe" + Bytes({1}) + "P" + Bytes({5}) + "Ratio";
    // A single NaN, a single minus infinity, a date plus infinity.
    const std::pair<std::string, std::string> cases[] = {{Bytes({15, 0, 0, 0xC0, 0x7F}), "NAN"},
                                                         {Bytes({15, 0, 0, 0x80, 0xFF}), "-INF"},
                                                         {Bytes({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x7F}), "INF"}};
    for (const auto& [value, number] : cases) {
        const std::string text = ObjectBinaryToText(head + value + Bytes({0, 0}));
        EXPECT_NE(text.find("Ratio = " + number + "\n"), std::string::npos) << text;
        for (const std::string& data : {text, ObjectTextToBinary(text)}) {
            Owned<TComponent> read(CreateComponentFromText(data));
            EXPECT_EQ(FormFloatText(static_cast<TProbe*>(read.get())->Ratio), number);
        }
    }
}

TEST_F(BinaryFormTest, MalformedDataRaisesAReadErrorNamingItsOffset) {
    struct TCase {
        std::string Data;
        std::string Message;
    };
    const std::string head = "TPF0" + Bytes({6}) + "TProbe" + Bytes({1}) + "P";
    const std::vector<TCase> cases = {
        {Bytes({0xFF, 0x0A, 0x00, 'A', 0, 0x30, 0x10, 4, 0, 0, 0}) + "TPF1", "Invalid stream format at offset 11"},
        {"TPF0", "Unexpected end of binary form at offset 4"},
        {head + Bytes({5}) + "Title" + Bytes({12, 0xFF, 0xFF, 0xFF, 0xFF}) + "ab",
         "Unexpected end of binary form at offset 24"},
        {head + Bytes({5}) + "Title" + Bytes({18, 0xFF, 0xFF, 0xFF, 0x7F}), "Unexpected end of binary form at offset 24"},
        {head + Bytes({5}) + "Count" + Bytes({99}), "Invalid value type 99 at offset 19"},
        {head + Bytes({5}) + "Count" + Bytes({6, 1}) + "x" + Bytes({0, 0}), "Invalid property value at offset 19"},
        // An unknown set element is named by its own offset.
        {head + Bytes({6}) + "Styles" + Bytes({11, 6}) + "psBold" + Bytes({6}) + "psNone" + Bytes({0, 0, 0}),
         "Invalid property value at offset 28"},
        // Identifiers a form text could not hold back.
        {head + Bytes({5}) + "Count" + Bytes({7, 0, 0, 0}), "Identifier expected at offset 21"},
        {head + Bytes({5}) + "Count" + Bytes({7, 2}) + "1a" + Bytes({0, 0}), "Invalid identifier at offset 20"},
        {head + Bytes({5}) + "Count" + Bytes({7, 2}) + "a." + Bytes({0, 0}), "Invalid identifier at offset 20"},
        {head + Bytes({4}) + "a..b" + Bytes({2, 1, 0, 0}), "Invalid property name at offset 13"},
        // Words a form text reads as the start or the end of an object.
        {head + Bytes({3}) + "End" + Bytes({2, 1, 0, 0}), "Invalid property name at offset 13"},
        {head + Bytes({6}) + "object" + Bytes({2, 1, 0, 0}), "Invalid property name at offset 13"},
        {head + Bytes({5}) + "Items" + Bytes({14, 1, 3}) + "End" + Bytes({2, 1, 0, 0, 0, 0}),
         "Invalid property name at offset 21"},
        {Bytes({0xFF, 0x0A, 0x00, 'A', 0, 0x30, 0x10, 0xFF, 0xFF, 0, 0}) + "TPF0", "Resource size beyond the data at offset 11"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Message);
        try {
            Owned<TComponent> read(CreateComponentFromText(c.Data));
            ADD_FAILURE() << "read without an error";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
    }
    // Deep nesting ends before the stack does.
    std::string deep = head + Bytes({5}) + "Items";
    for (int i = 0; i < 100000; ++i) deep += Bytes({1});
    EXPECT_THROW(CreateComponentFromText(deep), EReadError);

    // Every prefix and random changes: a read or a read error, nothing else.
    const std::string good = ObjectTextToBinary(SampleFormText());
    auto attempt = [](const std::string& data) {
        try {
            Owned<TComponent> read(CreateComponentFromText(data));
        } catch (const EReadError&) {
        }
    };
    for (size_t length = 4; length < good.size(); ++length) attempt(good.substr(0, length));
    std::mt19937 random(20261208);
    for (int round = 0; round < 500; ++round) {
        std::string data = good;
        for (int i = 0, n = 1 + static_cast<int>(random() % 4); i < n; ++i)
            data[4 + random() % (data.size() - 4)] = static_cast<char>(random() % 256);
        attempt(data);
    }
}
