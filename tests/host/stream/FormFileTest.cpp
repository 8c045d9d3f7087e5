// Form files as applications have them: the stock controls read and write,
// every read error names its place, tab orders survive a read.

#include "StreamClasses.h"

#include "host/stream/ClassRegistry.h"
#include "host/stream/Publisher.h"
#include "host/stream/Reader.h"
#include "host/stream/StreamErrors.h"
#include "host/stream/Writer.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

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

class FormFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterStreamTestClasses();
        RegisterClasses({&TListBox::ClassInfo(), &TTwiceDeclared::ClassInfo(), &TFaultySetter::ClassInfo()});
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

TEST_F(FormFileTest, AListBoxReadsAndWritesWithItsEvents) {
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

TEST_F(FormFileTest, EveryErrorLeavingAReadNamesItsPlace) {
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

TEST_F(FormFileTest, StoredTabOrdersApplyOnceAllSiblingsAreRead) {
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
