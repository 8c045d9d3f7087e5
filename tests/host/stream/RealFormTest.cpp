// Form files as applications have them: the stock controls read and write,
// every read error names its place, tab orders survive a read.

#include "StreamClasses.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Publisher.h"
#include "host/core/StreamErrors.h"
#include "host/stream/FormBinary.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

using namespace host;
using namespace streamtest;

namespace {

// Publishes a name its parent already has: its table cannot be built.
class TTwiceDeclared : public TComponent {
    HOST_CLASS(TTwiceDeclared, TComponent)
    static void DeclarePublished(TPublisher& publisher) {
        publisher.Of<TTwiceDeclared>().Integer("Tag", &TTwiceDeclared::Tag, &TTwiceDeclared::SetTag);
    }

protected:
    explicit TTwiceDeclared(TComponent* owner) : TComponent(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TTwiceDeclared, TComponent)

// A setter that fails with an error that is not the host's own.
class TFaultySetter : public TComponent {
    HOST_CLASS(TFaultySetter, TComponent)
    static void DeclarePublished(TPublisher& publisher) {
        publisher.Of<TFaultySetter>().Integer(
            "Size", [](const TFaultySetter&) { return 0; },
            [](TFaultySetter&, int v) {
                if (v > 10) throw std::out_of_range("Size above 10");
            });
    }

protected:
    explicit TFaultySetter(TComponent* owner) : TComponent(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TFaultySetter, TComponent)

class RealFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterStreamTestClasses();
        RegisterClasses({&TListBox::ClassInfo(), &TDBNavigator::ClassInfo(), &TTwiceDeclared::ClassInfo(),
                         &TFaultySetter::ClassInfo()});
    }
};

std::string Edits(const std::vector<int>& tabOrders) {
    std::string text = "object F: TProbeForm\n";
    for (size_t i = 0; i < tabOrders.size(); ++i)
        text += "  object E" + std::to_string(i) + ": TEdit\n    TabOrder = " + std::to_string(tabOrders[i]) +
                "\n  end\n";
    return text + "end\n";
}

std::vector<int> TabOrders(const TProbeForm& form) {
    std::vector<int> orders;
    for (int i = 0; i < form.ControlCount(); ++i) orders.push_back(static_cast<TWinControl*>(form.Controls(i))->TabOrder());
    return orders;
}

} // namespace

TEST_F(RealFormTest, AListBoxReadsAndWritesWithItsEvents) {
    const std::string text = "object F: TProbeForm\n"
                             "  Left = 0\n"
                             "  Top = 0\n"
                             "  Width = 100\n"
                             "  Height = 100\n"
                             "  object L: TListBox\n"
                             "    Left = 1\n"
                             "    Top = 2\n"
                             "    Width = 50\n"
                             "    Height = 60\n"
                             "    OnClick = GridDblClick\n"
                             "    OnDblClick = GridDblClick\n"
                             "    TabOrder = 0\n"
                             "    Items.Strings = (\n"
                             "      'one'\n"
                             "      'two')\n"
                             "  end\n"
                             "end\n";
    Owned<TComponent> form(CreateComponentFromText(text));
    auto* list = static_cast<TListBox*>(form->FindComponent("L"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Items()->CommaText(), "one,two");
    list->Click();
    EXPECT_EQ(static_cast<TProbeForm*>(form.get())->Calls, std::vector<std::string>{"GridDblClick:L"});
    const std::string written = WriteComponentText(form.get());
    EXPECT_NE(written.find("    OnClick = GridDblClick\n"), std::string::npos) << written;
    Owned<TComponent> again(CreateComponentFromText(written));
    EXPECT_EQ(WriteComponentText(again.get()), written);
}

TEST_F(RealFormTest, ANavigatorReadsAndWritesItsButtonEventsAndConfirmDelete) {
    const std::string text = "object F: TProbeForm\n"
                             "  object N: TDBNavigator\n"
                             "    Left = 0\n"
                             "    Top = 0\n"
                             "    Width = 160\n"
                             "    Height = 14\n"
                             "    OnClick = NavClick\n"
                             "    TabOrder = 0\n"
                             "    BeforeAction = NavClick\n"
                             "    ConfirmDelete = False\n"
                             "  end\n"
                             "end\n";
    Owned<TComponent> form(CreateComponentFromText(text));
    auto* nav = static_cast<TDBNavigator*>(form->FindComponent("N"));
    ASSERT_NE(nav, nullptr);
    EXPECT_FALSE(nav->ConfirmDelete());
    ASSERT_TRUE(nav->OnNavClick.Assigned());
    ASSERT_TRUE(nav->BeforeAction.Assigned());
    EXPECT_FALSE(nav->OnClick.Assigned());
    nav->OnNavClick(nav, nbLast);
    nav->BeforeAction(nav, nbFirst);
    EXPECT_EQ(static_cast<TProbeForm*>(form.get())->Calls, (std::vector<std::string>{"NavClick:3", "NavClick:0"}));
    const std::string written = WriteComponentText(form.get());
    EXPECT_NE(written.find("    OnClick = NavClick\n"), std::string::npos) << written;
    EXPECT_NE(written.find("    BeforeAction = NavClick\n"), std::string::npos) << written;
    EXPECT_NE(written.find("    ConfirmDelete = False\n"), std::string::npos) << written;
    Owned<TComponent> again(CreateComponentFromText(written));
    EXPECT_EQ(WriteComponentText(again.get()), written);
    // The default confirmation is not written.
    nav->SetConfirmDelete(true);
    EXPECT_EQ(WriteComponentText(form.get()).find("ConfirmDelete"), std::string::npos);

    // A handler of the plain click's shape cannot take the navigator's.
    std::string plain = text;
    plain.replace(plain.find("OnClick = NavClick"), 18, "OnClick = GridDblClick");
    EXPECT_THROW(Owned<TComponent>(CreateComponentFromText(plain)), EParserError);
}

TEST_F(RealFormTest, EveryErrorLeavingAReadNamesItsPlace) {
    struct TCase {
        std::string Text;
        std::string Reason;
        int Line;
        int Column;
    };
    const std::vector<TCase> cases = {
        // A class whose published table is broken.
        {"object T: TTwiceDeclared\n  Tag = 1\nend", "Property Tag of TTwiceDeclared declared twice", 2, 3},
        {"object F: TProbeForm\n  object T: TTwiceDeclared\n    Tag = 1\n  end\nend",
         "Property Tag of TTwiceDeclared declared twice", 3, 5},
        // An error of another family than the host's.
        {"object S: TFaultySetter\n  Size = 11\nend", "Size above 10", 2, 10},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        try {
            Owned<TComponent> read(CreateComponentFromText(c.Text));
            ADD_FAILURE() << "read without an error";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Reason(), c.Reason);
            EXPECT_EQ(e.Line(), c.Line);
            EXPECT_EQ(e.Column(), c.Column);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "not a parser error: " << e.what();
        }
    }
}

TEST_F(RealFormTest, StoredTabOrdersApplyOnceAllSiblingsAreRead) {
    struct TCase {
        std::vector<int> Stored;
        std::vector<int> Read;
    };
    const std::vector<TCase> cases = {
        {{4, 3, 0, 2, 1}, {4, 3, 0, 2, 1}},
        {{1, 0}, {1, 0}},
        {{2, 0, 1}, {2, 0, 1}},
        // Out of range: the control keeps its place around the others.
        {{9, 0, 1}, {2, 0, 1}},
        // Two in one slot: the later one has it.
        {{0, 0, 1}, {2, 0, 1}},
    };
    for (const TCase& c : cases) {
        const std::string text = Edits(c.Stored);
        SCOPED_TRACE(text);
        Owned<TProbeForm> form(static_cast<TProbeForm*>(CreateComponentFromText(text)));
        EXPECT_EQ(TabOrders(*form), c.Read);
        Owned<TProbeForm> again(static_cast<TProbeForm*>(CreateComponentFromText(WriteComponentText(form.get()))));
        EXPECT_EQ(TabOrders(*again), c.Read);
    }
    // Outside a read the order moves at once.
    Owned<TProbeForm> form(static_cast<TProbeForm*>(CreateComponentFromText(Edits({0, 1, 2}))));
    static_cast<TWinControl*>(form->Controls(2))->SetTabOrder(0);
    EXPECT_EQ(TabOrders(*form), (std::vector<int>{1, 2, 0}));
}

namespace {

std::string ReadTitle(const std::string& value) {
    Owned<TComponent> read(CreateComponentFromText("object P: TProbe\n  Title = " + value + "\nend"));
    return static_cast<TProbe*>(read.get())->Title;
}

double ReadRatio(const std::string& value) {
    Owned<TComponent> read(CreateComponentFromText("object P: TProbe\n  Ratio = " + value + "\nend"));
    return static_cast<TProbe*>(read.get())->Ratio;
}

std::string WrittenTitle(const std::string& title) {
    Owned<TProbe> probe(TProbe::Create(nullptr));
    probe->Title = title;
    return WriteComponentText(probe.get());
}

} // namespace

TEST_F(RealFormTest, CharacterCodesAreCodePointsKeptAsUtf8) {
    EXPECT_EQ(ReadTitle("#200"), "\xC3\x88");
    EXPECT_EQ(ReadTitle("#160"), "\xC2\xA0");
    EXPECT_EQ(ReadTitle("#$C8'x'"), "\xC3\x88x");
    EXPECT_EQ(ReadTitle("'a'#65#127'b'"), "aA\x7F" "b");
    EXPECT_EQ(ReadTitle("#300"), "\xC4\xAC");
    EXPECT_EQ(ReadTitle("#8364"), "\xE2\x82\xAC");
    // A surrogate pair is one character; a half alone is none.
    EXPECT_EQ(ReadTitle("#55357#56832"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(ReadTitle("'<'#55357#56832'>'"), "<\xF0\x9F\x98\x80>");
    EXPECT_EQ(ReadTitle("#55357'x'"), "\xEF\xBF\xBDx");
    EXPECT_EQ(ReadTitle("#56832#55357"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    // Text in quotes keeps its bytes.
    EXPECT_EQ(ReadTitle("'Gr\xC3\xBC\xC3\x9F" "e'"), "Gr\xC3\xBC\xC3\x9F" "e");

    // Written as codes, read back as they were.
    EXPECT_NE(WrittenTitle("\xC3\x88t\xC3\xA9").find("Title = #200't'#233\n"), std::string::npos);
    EXPECT_NE(WrittenTitle("\xF0\x9F\x98\x80").find("Title = #55357#56832\n"), std::string::npos);
    std::string longText;
    for (int i = 0; i < 40; ++i) longText += "ab\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::vector<std::string> titles = {"\xC3\x88t\xC3\xA9", "\xF0\x9F\x98\x80", "a\tb\r\n'c'", "\xFF\xC3",
                                             "\xED\xA0\x80", "\xC0\xAF", std::string("a\0b", 3), longText};
    for (const std::string& title : titles) {
        SCOPED_TRACE(title);
        const std::string text = WrittenTitle(title);
        Owned<TComponent> read(CreateComponentFromText(text));
        EXPECT_EQ(static_cast<TProbe*>(read.get())->Title, title) << text;
    }
}

TEST_F(RealFormTest, FloatsWithATypeSuffixReadAsFloats) {
    EXPECT_EQ(ReadRatio("1.5s"), 1.5);
    EXPECT_EQ(ReadRatio("2S"), 2.0);
    // Currency is stored as its value times 10,000.
    EXPECT_EQ(ReadRatio("15000c"), 1.5);
    EXPECT_EQ(ReadRatio("-25C"), -0.0025);
    EXPECT_EQ(ReadRatio("45000.25d"), 45000.25);
    EXPECT_EQ(ReadRatio("1.5E2d"), 150.0);
    EXPECT_EQ(FormFloatText(1.5, "Single"), "1.5s");
    EXPECT_EQ(FormFloatText(0.1, "Single"), "0.1s");
    EXPECT_EQ(FormFloatText(1.5, "Currency"), "15000c");
    EXPECT_EQ(FormFloatText(45000.25, "TDateTime"), "45000.25d");
    EXPECT_EQ(ReadRatio(FormFloatText(-12.3456, "Currency")), -12.3456);
}

TEST_F(RealFormTest, APointWithoutDigitsAndAHashWithoutDigitsRead) {
    EXPECT_EQ(ReadRatio("1."), 1.0);
    EXPECT_EQ(ReadRatio("-2."), -2.0);
    EXPECT_EQ(ReadRatio("1.E2"), 100.0);
    EXPECT_EQ(ReadRatio("3.s"), 3.0);
    EXPECT_EQ(ReadTitle("#"), std::string(1, '\0'));
    EXPECT_EQ(ReadTitle("'a'#'b'"), std::string("a\0b", 3));
    EXPECT_THROW(ReadTitle("#$"), EParserError) << "a promised hexadecimal code needs its digits";
    EXPECT_THROW(ReadRatio("1.."), EParserError);

    // Through the binary form and the writer, the values stay.
    const std::string text = "object P: TProbe\n  Ratio = 7.\n  Title = #'x'#\nend\n";
    for (const std::string& data : {text, ObjectTextToBinary(text)}) {
        Owned<TComponent> read(CreateComponentFromText(data));
        Owned<TComponent> again(CreateComponentFromText(WriteComponentText(read.get())));
        for (const TComponent* c : {read.get(), again.get()}) {
            EXPECT_EQ(static_cast<const TProbe*>(c)->Ratio, 7.0);
            EXPECT_EQ(static_cast<const TProbe*>(c)->Title, std::string("\0x\0", 3));
        }
    }
}

TEST_F(RealFormTest, EveryWrittenFloatReadsBack) {
    EXPECT_EQ(FormFloatText(9223372036854775808.0), "9.223372036854776E18");
    EXPECT_EQ(FormFloatText(1e19), "1E19");
    EXPECT_EQ(FormFloatText(1e-7), "1E-7");
    EXPECT_EQ(FormFloatText(0.0001), "0.0001");
    EXPECT_EQ(FormFloatText(3.0), "3");
    EXPECT_EQ(FormFloatText(-2.5), "-2.5");
    EXPECT_EQ(FormFloatText(123456789012345678.0), "123456789012345680");
    const std::vector<double> values = {9223372036854775808.0, -9223372036854775808.0 * 4, 1e19, 1e300, -1e-300,
                                        5e-324, 1.7976931348623157e308, 1.0 / 3, 0.1, 1e17, 1e18 - 128, 3.0,
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity()};
    for (double value : values) {
        SCOPED_TRACE(value);
        Owned<TProbe> probe(TProbe::Create(nullptr));
        probe->Ratio = value;
        const std::string text = WriteComponentText(probe.get());
        Owned<TComponent> read(CreateComponentFromText(text));
        EXPECT_EQ(static_cast<TProbe*>(read.get())->Ratio, value) << text;
    }
    Owned<TProbe> probe(TProbe::Create(nullptr));
    probe->Ratio = std::numeric_limits<double>::quiet_NaN();
    Owned<TComponent> read(CreateComponentFromText(WriteComponentText(probe.get())));
    EXPECT_TRUE(std::isnan(static_cast<TProbe*>(read.get())->Ratio));
}

// A NUL byte anywhere in a text ends nothing early and loops nowhere: the
// text reads (a NUL in quotes is a character) or raises a read error.
TEST_F(RealFormTest, TextsWithNulBytesEnd) {
    const std::string good = "object P: TProbe\n  Title = 'ab' + #13'c'\n  Count = 12\n  Ratio = 1.5E3\n"
                             "  Keys.Strings = (\n    'x')\n  Blob = {0A0B}\nend\n";
    int read = 0;
    for (size_t at = 0; at <= good.size(); ++at) {
        std::string text = good;
        text.insert(at, 1, '\0');
        try {
            Owned<TComponent> component(CreateComponentFromText(text));
            ++read;
        } catch (const EReadError&) {
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_EQ(ReadTitle(std::string("'a\0b'", 5)), std::string("a\0b", 3));
}

TEST_F(RealFormTest, AControlReadInsideANonWindowedComponentWritesBackWhereItWasRead) {
    const std::string text = "object F: TProbeForm\n"
                             "  Left = 0\n"
                             "  Top = 0\n"
                             "  Width = 10\n"
                             "  Height = 10\n"
                             "  object P: TProbe\n"
                             "    Active = True\n"
                             "    ShortCut = 16496\n"
                             "    object Edit1: TEdit\n"
                             "      Left = 1\n"
                             "      Top = 2\n"
                             "      Width = 3\n"
                             "      Height = 4\n"
                             "      object Inner: TEdit\n"
                             "        Left = 5\n"
                             "        Top = 6\n"
                             "        Width = 7\n"
                             "        Height = 8\n"
                             "        TabOrder = 0\n"
                             "      end\n"
                             "    end\n"
                             "    object B: TSpeedButton\n"
                             "      Left = 0\n"
                             "      Top = 0\n"
                             "      Width = 23\n"
                             "      Height = 22\n"
                             "    end\n"
                             "  end\n"
                             "end\n";
    Owned<TProbeForm> form(static_cast<TProbeForm*>(CreateComponentFromText(text)));
    ASSERT_NE(form->Edit1, nullptr);
    EXPECT_EQ(form->Edit1->Parent(), nullptr);
    EXPECT_EQ(form->Edit1->GetParentComponent(), form->FindComponent("P"));
    EXPECT_EQ(WriteComponentText(form.get()), text);

    // Nested in itself, through another: refused.
    auto* button = static_cast<TControl*>(form->FindComponent("B"));
    EXPECT_THROW(form->FindComponent("Edit1")->SetParentComponent(form->FindComponent("Inner")), EInvalidOperation);
    auto* other = TSpeedButton::Create(form.get());
    button->SetParentComponent(other);
    EXPECT_THROW(other->SetParentComponent(button), EInvalidOperation);

    // A parent given later ends the nesting; the holder's end ends it too.
    form->Edit1->SetParent(form.get());
    EXPECT_EQ(form->Edit1->GetParentComponent(), form.get());
    other->Free();
    EXPECT_EQ(button->GetParentComponent(), nullptr);
    const std::string written = WriteComponentText(form.get());
    EXPECT_NE(written.find("\n  object B: TSpeedButton\n"), std::string::npos) << written;
}

TEST_F(RealFormTest, WhatTheDesignerKeepsReadsAndWritesBack) {
    const std::string text = "object F: TProbeForm\n"
                             "  Left = 0\n"
                             "  Top = 0\n"
                             "  Width = 300\n"
                             "  Height = 200\n"
                             "  object Panel: TWinControl\n"
                             "    Left = 0\n"
                             "    Top = 0\n"
                             "    Width = 300\n"
                             "    Height = 200\n"
                             "    Align = alClient\n"
                             "    TabOrder = 0\n"
                             "    DesignSize = (\n"
                             "      296\n"
                             "      196)\n"
                             "    ExplicitLeft = 8\n"
                             "    ExplicitTop = 16\n"
                             "    ExplicitWidth = 120\n"
                             "    ExplicitHeight = 90\n"
                             "  end\n"
                             "  object P: TProbe\n"
                             "    Active = True\n"
                             "    ShortCut = 16496\n"
                             "    Left = 24\n"
                             "    Top = -8\n"
                             "  end\n"
                             "  object Source: TDataSource\n"
                             "    Top = 40\n"
                             "  end\n"
                             "end\n";
    Owned<TProbeForm> form(static_cast<TProbeForm*>(CreateComponentFromText(text)));
    auto* panel = static_cast<TControl*>(form->FindComponent("Panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->DesignSize(), Point(296, 196));
    EXPECT_EQ(panel->ExplicitBounds(), Bounds(8, 16, 120, 90));
    EXPECT_EQ(form->FindComponent("P")->DesignInfo(), (0xFFF8L << 16) | 24);
    EXPECT_EQ(form->Source->DesignInfo(), 40L << 16);
    EXPECT_EQ(WriteComponentText(form.get()), text);

    // Bounds given by alignment leave the explicit ones; others replace them.
    form->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, 400, 300));
    EXPECT_EQ(panel->ExplicitBounds(), Bounds(8, 16, 120, 90));
    panel->SetAlign(alNone);
    panel->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(panel->ExplicitBounds(), Bounds(1, 2, 3, 4));
    EXPECT_EQ(WriteComponentText(panel).find("Explicit"), std::string::npos);

    const std::string module = "object D: TDataModule\n"
                               "  OldCreateOrder = True\n"
                               "  Height = 150\n"
                               "  Width = 215\n"
                               "  PixelsPerInch = 96\n"
                               "  object S: TDataSource\n"
                               "    Left = 16\n"
                               "    Top = 8\n"
                               "  end\n"
                               "end\n";
    Owned<TDataModule> data(static_cast<TDataModule*>(CreateComponentFromText(module)));
    EXPECT_TRUE(data->OldCreateOrder());
    EXPECT_EQ(data->DesignArea().Height, 150);
    EXPECT_EQ(data->DesignArea().Width, 215);
    EXPECT_EQ(WriteComponentText(data.get()), module);
    data->Free();
    data.release();

    // A place outside 16 bits does not fit.
    EXPECT_THROW(CreateComponentFromText("object S: TDataSource\n  Left = 70000\nend"), EParserError);
    EXPECT_THROW(CreateComponentFromText("object F: TProbeForm\n  DesignSize = (1)\nend"), EParserError);
}

// What makes reading and freeing grow with the square of the form: every
// component told of every other one made or freed, names looked for one by
// one. A component hears of what concerns it only.
TEST_F(RealFormTest, ReadingAndFreeingABigFormTellNoOneOfEveryComponent) {
    constexpr int Count = 300;
    std::string text = "object F: TProbeForm\n";
    for (int i = 0; i < Count; ++i) text += "  object P" + std::to_string(i) + ": TProbe\n    Source = Source\n  end\n";
    text += "  object Source: TDataSource\n  end\nend\n";
    TProbeForm* form = static_cast<TProbeForm*>(CreateComponentFromText(text));
    auto* first = static_cast<TProbe*>(form->FindComponent("p0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Source(), form->Source);
    EXPECT_LT(first->Notices, 10);  // a few, not one per sibling
    EXPECT_EQ(form->FindComponent("P299"), form->Components(Count - 1));

    // Names are found after renames and frees, letter case ignored.
    first->SetName("Renamed");
    EXPECT_EQ(form->FindComponent("P0"), nullptr);
    EXPECT_EQ(form->FindComponent("RENAMED"), first);
    form->FindComponent("P1")->Free();
    EXPECT_EQ(form->FindComponent("p1"), nullptr);
    EXPECT_NE(form->FindComponent("p2"), nullptr);

    // Each probe hears of its source's end, not of its siblings'.
    std::vector<int> before;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* probe = dynamic_cast<TProbe*>(form->Components(i))) before.push_back(probe->Notices);
    form->Source->Free();
    int heard = 0;
    for (int i = 0, j = 0; i < form->ComponentCount(); ++i)
        if (auto* probe = dynamic_cast<TProbe*>(form->Components(i))) {
            heard += probe->Notices - before[static_cast<size_t>(j++)];
            EXPECT_EQ(probe->Source(), nullptr);
        }
    // Once from the source, once through the owner.
    EXPECT_EQ(heard, 2 * (Count - 1));
    form->Free();
}
