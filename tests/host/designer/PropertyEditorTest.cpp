// The default property editors: the text each shows, the text each takes,
// their value lists, and what they refuse.
#include "tests/host/designer/DesignClasses.h"

#include "host/core/Exception.h"
#include "host/core/GlobalRoots.h"
#include "host/core/TypInfo.h"
#include "host/designer/Designer.h"

#include <gtest/gtest.h>

using namespace host;
using namespace designtest;

namespace {

using Values = std::vector<std::string>;

class PropertyEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearRegistrations();
        form.reset(TBenchForm::Create(nullptr));
        form->SetName("Bench");
        gadget = TGadget::Create(form.get());
        gadget->SetName("Gadget1");
        other = TBigGadget::Create(form.get());
        other->SetName("Gadget2");
        designer = std::make_unique<TFormDesigner>(form.get());
        designer->Select(gadget);
    }
    void TearDown() override {
        designer.reset();
        form.reset();
        ClearRegistrations();
    }

    std::string Shown(const std::string& name) const {
        for (const auto& row : designer->Inspector())
            if (row.Name == name) return row.Value;
        ADD_FAILURE() << name << " is not shown";
        return "";
    }

    Owned<TBenchForm> form;
    TGadget* gadget = nullptr;
    TBigGadget* other = nullptr;
    std::unique_ptr<TFormDesigner> designer;
};

TEST_F(PropertyEditorTest, StringsIntegersAndFloatsShowAndTakeText) {
    designer->SetPropertyText("Caption", "Hello, 'world'");
    EXPECT_EQ(gadget->Caption(), "Hello, 'world'");
    EXPECT_EQ(Shown("Caption"), "Hello, 'world'");

    designer->SetPropertyText("Count", " 42 ");
    EXPECT_EQ(gadget->Count(), 42);
    designer->SetPropertyText("Count", "-$10");
    EXPECT_EQ(gadget->Count(), -16);
    EXPECT_EQ(Shown("Count"), "-16");
    // A refused text stores nothing and counts no change.
    const int before = designer->ModifiedCount();
    EXPECT_THROW(designer->SetPropertyText("Count", "12x"), EConvertError);
    EXPECT_THROW(designer->SetPropertyText("Count", ""), EConvertError);
    EXPECT_THROW(designer->SetPropertyText("Count", "99999999999"), EPropertyError);
    EXPECT_EQ(gadget->Count(), -16);
    EXPECT_EQ(designer->ModifiedCount(), before);
}

TEST_F(PropertyEditorTest, BooleansEnumerationsAndSetsUseTheirValueNames) {
    EXPECT_EQ(designer->PropertyValues("Enabled"), (Values{"False", "True"}));
    designer->SetPropertyText("Enabled", "true");
    EXPECT_TRUE(gadget->Enabled());
    EXPECT_EQ(Shown("Enabled"), "True");
    EXPECT_THROW(designer->SetPropertyText("Enabled", "Yes"), EPropertyError);

    EXPECT_EQ(designer->PropertyValues("Mode"), (Values{"gmOff", "gmSlow", "gmFast"}));
    designer->SetPropertyText("Mode", "gmFast");
    EXPECT_EQ(gadget->Mode(), gmFast);
    EXPECT_THROW(designer->SetPropertyText("Mode", "gmWarp"), EPropertyError);
    EXPECT_EQ(gadget->Mode(), gmFast);

    designer->SetPropertyText("Modes", "[gmSlow, gmFast]");
    EXPECT_EQ(gadget->Modes(), (TGadgetModes{gmSlow, gmFast}));
    EXPECT_EQ(Shown("Modes"), GetEnumProp(gadget, *GetPropInfo(gadget, "Modes")));
    EXPECT_THROW(designer->SetPropertyText("Modes", "[gmSlow, gmWarp]"), EPropertyError);
    EXPECT_THROW(designer->SetPropertyText("Modes", "gmSlow"), EPropertyError);
    EXPECT_THROW(designer->SetPropertyText("Modes", "[gmSlow,]"), EPropertyError);
    EXPECT_EQ(gadget->Modes(), (TGadgetModes{gmSlow, gmFast}));
}

TEST_F(PropertyEditorTest, ReferencesOfferTheFittingComponentsOfTheFormAndOfDataModules) {
    Owned<TDataModule> data(TDataModule::Create(nullptr));
    data->SetName("Data");
    TGadget* remote = TGadget::Create(data.get());
    remote->SetName("Remote");

    const Values values = designer->PropertyValues("Partner");
    EXPECT_NE(std::find(values.begin(), values.end(), "Gadget1"), values.end());
    EXPECT_NE(std::find(values.begin(), values.end(), "Gadget2"), values.end());
    EXPECT_NE(std::find(values.begin(), values.end(), "Data.Remote"), values.end());
    EXPECT_EQ(std::find(values.begin(), values.end(), "Bench"), values.end());

    designer->SetPropertyText("Partner", "gadget2");
    EXPECT_EQ(gadget->Partner(), other);
    EXPECT_EQ(Shown("Partner"), "Gadget2");
    designer->SetPropertyText("Partner", "Data.Remote");
    EXPECT_EQ(gadget->Partner(), remote);
    EXPECT_EQ(Shown("Partner"), "Data.Remote");
    EXPECT_THROW(designer->SetPropertyText("Partner", "Nobody"), EPropertyError);
    EXPECT_EQ(gadget->Partner(), remote);
    designer->SetPropertyText("Partner", "");
    EXPECT_EQ(gadget->Partner(), nullptr);
}

TEST_F(PropertyEditorTest, EventsBindTheFormsMethodsByName) {
    EXPECT_EQ(designer->PropertyValues("OnPing"), (Values{"GadgetPing", "OtherPing"}));
    designer->SetPropertyText("OnPing", "GadgetPing");
    EXPECT_EQ(Shown("OnPing"), "GadgetPing");
    ASSERT_TRUE(gadget->OnPing.Assigned());
    gadget->OnPing(gadget);
    EXPECT_EQ(form->Pings, 1);
    EXPECT_THROW(designer->SetPropertyText("OnPing", "NoSuchMethod"), EPropertyError);
    designer->SetPropertyText("OnPing", "");
    EXPECT_FALSE(gadget->OnPing.Assigned());
}

TEST_F(PropertyEditorTest, StringListsShowTheirClassAndTakeLinesAsAWhole) {
    gadget->Lines()->Add("one");
    EXPECT_EQ(Shown("Lines"), "(TStrings)");
    auto editor = designer->PropertyEditor("Lines");
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->GetAttributes().Contains(paReadOnly));
    EXPECT_THROW(designer->SetPropertyText("Lines", "x"), EInvalidOperation);
    const int before = designer->ModifiedCount();
    dynamic_cast<TStringListProperty&>(*editor).SetLines({"a", "b"});
    EXPECT_EQ(gadget->Lines()->CommaText(), "a,b");
    EXPECT_EQ(designer->ModifiedCount(), before + 1);
}

TEST_F(PropertyEditorTest, ShortCutsReadAndWriteAsText) {
    RegisterPropertyEditor(PropertyTypeNamed("TShortCut"), &TGadget::ClassInfo(), "Key",
                           TShortCutProperty::ClassInfo());
    EXPECT_EQ(Shown("Key"), "(None)");
    designer->SetPropertyText("Key", "ctrl+f1");
    EXPECT_EQ(gadget->Key(), 0x4070);
    EXPECT_EQ(Shown("Key"), "Ctrl+F1");
    designer->SetPropertyText("Key", "Shift+Ctrl+Del");
    EXPECT_EQ(Shown("Key"), "Shift+Ctrl+Del");
    EXPECT_THROW(designer->SetPropertyText("Key", "Ctrl+Banana"), EPropertyError);
    EXPECT_EQ(Shown("Key"), "Shift+Ctrl+Del");
    designer->SetPropertyText("Key", "(None)");
    EXPECT_EQ(gadget->Key(), 0);

    const Values values = designer->PropertyValues("Key");
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(values.front(), "(None)");
    EXPECT_NE(std::find(values.begin(), values.end(), "Ctrl+F1"), values.end());
    // Every offered text is a shortcut the editor takes back.
    for (const auto& text : values) {
        designer->SetPropertyText("Key", text);
        EXPECT_EQ(Shown("Key"), text);
    }
}

TEST_F(PropertyEditorTest, AnEditorWorksOnEveryOneOfItsPropertiesAndKnowsWhenTheyDiffer) {
    designer->SelectAll({gadget, other});
    auto editor = designer->PropertyEditor("Caption");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->PropCount(), 2);
    EXPECT_EQ(editor->GetComponent(1), other);
    EXPECT_THROW(editor->GetComponent(2), EListError);
    gadget->SetCaption("a");
    EXPECT_FALSE(editor->AllEqual());
    EXPECT_EQ(Shown("Caption"), "");
    designer->SetPropertyText("Caption", "same");
    EXPECT_EQ(gadget->Caption(), "same");
    EXPECT_EQ(other->Caption(), "same");
    EXPECT_TRUE(designer->PropertyEditor("Caption")->AllEqual());
    EXPECT_EQ(Shown("Caption"), "same");
}

} // namespace
