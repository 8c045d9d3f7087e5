// Which editor serves which property and component, and the palette.
#include "tests/host/designer/DesignClasses.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Exception.h"
#include "host/core/TypInfo.h"
#include "host/designer/DesignIntf.h"
#include "host/package/Module.h"

#include <gtest/gtest.h>

using namespace host;
using namespace designtest;

namespace {

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override { ClearRegistrations(); }
    void TearDown() override {
        ClearRegistrations();
        SetRegisteringModule(nullptr);
    }

    static std::string EditorOf(const TClass& cls, const char* property) {
        const TPropInfo* prop = GetPropInfo(cls, property);
        EXPECT_NE(prop, nullptr) << property;
        return prop ? GetPropertyEditorClass(cls, *prop).ClassName() : "";
    }
};

TEST_F(RegistrationTest, WithoutRegistrationsEachKindGetsItsDefaultEditor) {
    const TClass& gadget = TGadget::ClassInfo();
    EXPECT_EQ(EditorOf(gadget, "Caption"), "TStringProperty");
    EXPECT_EQ(EditorOf(gadget, "Count"), "TIntegerProperty");
    EXPECT_EQ(EditorOf(gadget, "Enabled"), "TBoolProperty");
    EXPECT_EQ(EditorOf(gadget, "Mode"), "TEnumProperty");
    EXPECT_EQ(EditorOf(gadget, "Modes"), "TSetProperty");
    EXPECT_EQ(EditorOf(gadget, "Partner"), "TComponentProperty");
    EXPECT_EQ(EditorOf(gadget, "OnPing"), "TMethodProperty");
    EXPECT_EQ(EditorOf(gadget, "Lines"), "TStringListProperty");
    // A shortcut is an integer until its editor is registered.
    EXPECT_EQ(EditorOf(gadget, "Key"), "TIntegerProperty");
}

TEST_F(RegistrationTest, ARegistrationCoversDescendantsAndTheCloserClassWins) {
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "", TEditorA::ClassInfo());
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Caption"), "TEditorA");
    EXPECT_EQ(EditorOf(THugeGadget::ClassInfo(), "Caption"), "TEditorA");
    // Other types are not touched.
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Count"), "TIntegerProperty");

    // A registration for the closer class wins, even an earlier one and
    // even against a named one for the farther class.
    ClearRegistrations();
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TBigGadget::ClassInfo(), "", TEditorB::ClassInfo());
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "Caption", TEditorA::ClassInfo());
    EXPECT_EQ(EditorOf(THugeGadget::ClassInfo(), "Caption"), "TEditorB");
    EXPECT_EQ(EditorOf(TBigGadget::ClassInfo(), "Caption"), "TEditorB");
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Caption"), "TEditorA");
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Note"), "TStringProperty");
}

TEST_F(RegistrationTest, NamedBeatsUnnamedAndTheLaterOfEqualsWins) {
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "caption", TEditorA::ClassInfo());
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "", TEditorB::ClassInfo());
    // The name is matched ignoring letter case and beats the later unnamed.
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Caption"), "TEditorA");
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Note"), "TEditorB");

    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "Caption", TEditorC::ClassInfo());
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "", TEditorD::ClassInfo());
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Caption"), "TEditorC");
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Note"), "TEditorD");
    EXPECT_EQ(RegisteredPropertyEditorCount(), 4);
}

TEST_F(RegistrationTest, AnUnrestrictedRegistrationComesAfterEveryClassRegistration) {
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "", TEditorA::ClassInfo());
    RegisterPropertyEditor(PropertyTypeNamed("string"), nullptr, "Hint", TEditorB::ClassInfo());
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "", TEditorC::ClassInfo());
    EXPECT_EQ(EditorOf(TBigGadget::ClassInfo(), "Caption"), "TEditorC");
    // For a class no other registration covers, the unrestricted one serves;
    // a caption is of its own type, which "string" does not cover.
    EXPECT_EQ(EditorOf(TForm::ClassInfo(), "Hint"), "TEditorB");
    EXPECT_EQ(EditorOf(TForm::ClassInfo(), "Caption"), "TStringProperty");
}

TEST_F(RegistrationTest, AClassTypeCoversItsDescendantTypesAndAnOtherTypeNeverMatches) {
    RegisterPropertyEditor(PropertyTypeOf(TStrings::ClassInfo()), &TGadget::ClassInfo(), "Lines",
                           TEditorA::ClassInfo());
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Lines"), "TEditorA");
    RegisterPropertyEditor(PropertyTypeNamed("string"), &TGadget::ClassInfo(), "Count", TEditorB::ClassInfo());
    EXPECT_EQ(EditorOf(TGadget::ClassInfo(), "Count"), "TIntegerProperty");
    RegisterPropertyEditor(PropertyTypeNamed("TShortCut"), &TGadget::ClassInfo(), "Key",
                           TShortCutProperty::ClassInfo());
    EXPECT_EQ(EditorOf(TBigGadget::ClassInfo(), "Key"), "TShortCutProperty");
}

TEST_F(RegistrationTest, ComponentEditorsFollowTheClassesAndTheLaterOfEqualsWins) {
    EXPECT_EQ(GetComponentEditorClass(TGadget::ClassInfo()).ClassName(), "TDefaultEditor");
    RegisterComponentEditor(TGadget::ClassInfo(), TGadgetEditor::ClassInfo());
    EXPECT_EQ(GetComponentEditorClass(THugeGadget::ClassInfo()).ClassName(), "TGadgetEditor");
    RegisterComponentEditor(TBigGadget::ClassInfo(), TBigGadgetEditor::ClassInfo());
    RegisterComponentEditor(TGadget::ClassInfo(), TOtherGadgetEditor::ClassInfo());
    EXPECT_EQ(GetComponentEditorClass(THugeGadget::ClassInfo()).ClassName(), "TBigGadgetEditor");
    EXPECT_EQ(GetComponentEditorClass(TGadget::ClassInfo()).ClassName(), "TOtherGadgetEditor");
    EXPECT_EQ(GetComponentEditorClass(TForm::ClassInfo()).ClassName(), "TDefaultEditor");
    EXPECT_EQ(RegisteredComponentEditorCount(), 3);
}

TEST_F(RegistrationTest, PalettePagesKeepTheOrderOfFirstUseAndTheRegisteringModule) {
    RegisterComponents("Tools", {&ClassOf<TGadget>()});
    SetRegisteringModule(ModuleHandle("GadgetKit"));
    RegisterComponents("Extra", {&ClassOf<TBigGadget>()});
    RegisterComponents("tools", {&ClassOf<THugeGadget>(), &ClassOf<TGadget>()});

    const auto& pages = PalettePages();
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].Name, "Tools");
    EXPECT_EQ(pages[1].Name, "Extra");
    ASSERT_EQ(pages[0].Items.size(), 2u);
    EXPECT_EQ(pages[0].Items[0].Class, &ClassOf<TGadget>());
    EXPECT_EQ(pages[0].Items[1].Class, &ClassOf<THugeGadget>());
    EXPECT_EQ(pages[0].Items[0].Module, MainInstance());
    EXPECT_EQ(pages[0].Items[1].Module, FindModule("gadgetkit"));

    EXPECT_EQ(FindPalettePage("EXTRA"), &pages[1]);
    EXPECT_EQ(FindPalettePage("None"), nullptr);
    ASSERT_NE(FindPaletteItem("tbiggadget"), nullptr);
    EXPECT_EQ(FindPaletteItem("tbiggadget")->Class, &ClassOf<TBigGadget>());
    EXPECT_EQ(FindPaletteItem("TForm"), nullptr);
    // A palette class can be read from form files.
    EXPECT_EQ(GetClass("THugeGadget"), &THugeGadget::ClassInfo());

    EXPECT_THROW(RegisterComponents("", {&ClassOf<TGadget>()}), EInvalidOperation);
    EXPECT_THROW(RegisterComponents("Tools", {nullptr}), EInvalidOperation);
    EXPECT_EQ(pages[0].Items.size(), 2u);
}

} // namespace
