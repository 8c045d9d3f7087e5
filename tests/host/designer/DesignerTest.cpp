// The designer model: placing, selecting, moving, the inspector's rows,
// the context menu, the change count, and saving and reading back.
#include "tests/host/designer/DesignClasses.h"

#include "host/core/Exception.h"
#include "host/designer/Designer.h"
#include "host/stream/Writer.h"

#include <gtest/gtest.h>

using namespace host;
using namespace designtest;

namespace {

class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearRegistrations();
        RegisterTestClasses();
        EditorLog.clear();
        RegisterComponents("Gadgets", {&ClassOf<TGadget>(), &ClassOf<TBigGadget>()});
        form.reset(TBenchForm::Create(nullptr));
        form->SetName("Bench");
        designer = std::make_unique<TFormDesigner>(form.get());
    }
    void TearDown() override {
        designer.reset();
        form.reset();
        ClearRegistrations();
    }

    std::vector<std::string> RowNames() const {
        std::vector<std::string> names;
        for (const auto& row : designer->Inspector()) names.push_back(row.Name);
        return names;
    }
    static bool Has(const std::vector<std::string>& names, const char* name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    Owned<TBenchForm> form;
    std::unique_ptr<TFormDesigner> designer;
};

TEST_F(DesignerTest, ANewComponentGetsTheFirstFreeNameIsSelectedAndCounted) {
    EXPECT_TRUE(form->ComponentState().Contains(csDesigning));
    TComponent* first = designer->AddComponent("tgadget");
    TComponent* second = designer->AddComponent("TGadget");
    EXPECT_EQ(first->Name(), "Gadget1");
    EXPECT_EQ(second->Name(), "Gadget2");
    EXPECT_TRUE(second->ComponentState().Contains(csDesigning));
    EXPECT_EQ(second->Owner(), form.get());
    EXPECT_EQ(designer->Selection(), std::vector<TComponent*>{second});
    EXPECT_EQ(designer->ModifiedCount(), 2);
    EXPECT_TRUE(designer->IsModified());

    // A freed name is taken again.
    first->Free();
    EXPECT_EQ(designer->UniqueName("TGadget"), "Gadget1");
    EXPECT_EQ(designer->AddComponent("TBigGadget")->Name(), "BigGadget1");
    EXPECT_THROW(designer->AddComponent("TForm"), EInvalidOperation);
    EXPECT_THROW(designer->AddComponent("TNothing"), EInvalidOperation);
    EXPECT_EQ(form->ComponentCount(), 2);
}

TEST_F(DesignerTest, TheSelectionForgetsFreedComponentsAndFallsBackToTheForm) {
    TComponent* a = designer->AddComponent("TGadget");
    TComponent* b = designer->AddComponent("TGadget");
    designer->SelectAll({a, b});
    EXPECT_EQ(designer->Selection().size(), 2u);
    a->Free();
    EXPECT_EQ(designer->Selection(), std::vector<TComponent*>{b});
    b->Free();
    EXPECT_EQ(designer->Selection(), std::vector<TComponent*>{form.get()});
    EXPECT_TRUE(Has(RowNames(), "Caption"));
}

TEST_F(DesignerTest, SeveralSelectedShowOnlyTheirCommonMultiSelectProperties) {
    TComponent* a = designer->AddComponent("TGadget");
    TComponent* b = designer->AddComponent("TBigGadget");
    designer->Select(a);
    auto one = RowNames();
    EXPECT_TRUE(Has(one, "Name"));
    EXPECT_TRUE(Has(one, "OnPing"));
    EXPECT_EQ(one.front(), "Name");

    designer->SelectAll({a, b});
    auto both = RowNames();
    EXPECT_FALSE(Has(both, "Name"));
    EXPECT_FALSE(Has(both, "OnPing"));  // events are not edited for several
    EXPECT_TRUE(Has(both, "Caption"));
    EXPECT_TRUE(Has(both, "Partner"));
    EXPECT_EQ(designer->PropertyEditor("OnPing"), nullptr);
    EXPECT_THROW(designer->SetPropertyText("OnPing", "GadgetPing"), EInvalidOperation);

    // With the form in the selection only what the form has too is shown.
    designer->SelectAll({a, form.get()});
    auto mixed = RowNames();
    EXPECT_FALSE(Has(mixed, "Count"));
    // The form's caption is of its own type, the gadget's a plain string.
    EXPECT_FALSE(Has(mixed, "Caption"));
    EXPECT_TRUE(Has(mixed, "Tag"));
    // Each class's own property is read and written, one name for both.
    EXPECT_TRUE(Has(mixed, "Enabled"));
    designer->SetPropertyText("Enabled", "False");
    EXPECT_FALSE(static_cast<TGadget*>(a)->Enabled());
    EXPECT_FALSE(form->Enabled());
    designer->SetPropertyText("Tag", "5");
    EXPECT_EQ(a->Tag(), 5);
    EXPECT_EQ(form->Tag(), 5);
}

TEST_F(DesignerTest, TheContextMenuShowsTheEditorsVerbsAndADoubleClickRunsTheFirst) {
    TComponent* gadget = designer->AddComponent("TGadget");
    EXPECT_TRUE(designer->ContextMenu(gadget).empty());
    designer->EditComponent(gadget);  // the default editor has nothing to do
    EXPECT_TRUE(EditorLog.empty());

    RegisterComponentEditor(TGadget::ClassInfo(), TGadgetEditor::ClassInfo());
    const auto menu = designer->ContextMenu(gadget);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].Caption, "&First");
    EXPECT_TRUE(menu[0].Enabled);
    EXPECT_EQ(menu[1].Caption, "&Second");
    EXPECT_FALSE(menu[1].Enabled);  // PrepareItem had its say

    const int before = designer->ModifiedCount();
    designer->EditComponent(gadget);
    designer->ExecuteVerb(gadget, "&Second");
    EXPECT_EQ(EditorLog, (std::vector<std::string>{"verb 0 of Gadget1", "verb 1 of Gadget1"}));
    EXPECT_EQ(designer->ModifiedCount(), before + 2);
    EXPECT_THROW(designer->ExecuteVerb(gadget, "Third"), EInvalidOperation);

    auto editor = GetComponentEditorClass(gadget->ClassType()).Create(gadget, designer.get());
    EXPECT_EQ(editor->Component(), gadget);
    EXPECT_EQ(editor->Designer(), designer.get());
    EXPECT_EQ(editor->GetDesigner(), designer.get());
    EXPECT_EQ(editor->GetVerb(7), "");
}

TEST_F(DesignerTest, ANonVisualComponentsPlaceIsSavedAndReadBack) {
    auto* gadget = static_cast<TGadget*>(designer->AddComponent("TGadget"));
    designer->MoveComponent(gadget, 40, 300);
    EXPECT_EQ(DesignLeft(gadget), 40);
    EXPECT_EQ(DesignTop(gadget), 300);
    designer->SetPropertyText("Caption", "moved");

    const std::string text = designer->SaveFormText();
    EXPECT_FALSE(designer->IsModified());
    EXPECT_NE(text.find("  object Gadget1: TGadget\n    Caption = 'moved'\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    Left = 40\n    Top = 300\n  end"), std::string::npos) << text;

    auto copy = TFormDesigner::ReadFormText(text);
    TComponent* root = copy->Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ClassType().ClassName(), "TBenchForm");
    EXPECT_TRUE(root->ComponentState().Contains(csDesigning));
    auto* read = dynamic_cast<TGadget*>(root->FindComponent("Gadget1"));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->ComponentState().Contains(csDesigning));
    EXPECT_EQ(read->Caption(), "moved");
    EXPECT_EQ(DesignLeft(read), 40);
    EXPECT_EQ(DesignTop(read), 300);
    EXPECT_EQ(copy->SaveFormText(), text);
    EXPECT_FALSE(copy->IsModified());
}

TEST_F(DesignerTest, AComponentNeverMovedWritesNoPlaceAndAControlMovesItself) {
    designer->AddComponent("TGadget");
    const std::string text = WriteComponentText(form.get());
    EXPECT_EQ(text.find("    Left ="), std::string::npos) << text;
    designer->MoveComponent(form.get(), 12, 34);
    EXPECT_EQ(form->Left(), 12);
    EXPECT_EQ(form->Top(), 34);
    EXPECT_EQ(form->DesignInfo(), 0);
}

TEST_F(DesignerTest, ADialogIsOnlyRunForAnEditorThatHasOne) {
    designer->AddComponent("TGadget");
    EXPECT_THROW(designer->EditProperty("Caption"), EInvalidOperation);
    EXPECT_THROW(designer->EditProperty("NoSuchProperty"), EInvalidOperation);
}

TEST_F(DesignerTest, ClosingTheDesignerTakesTheFormOutOfIt) {
    TComponent* gadget = designer->AddComponent("TGadget");
    designer.reset();
    EXPECT_FALSE(form->ComponentState().Contains(csDesigning));
    EXPECT_FALSE(gadget->ComponentState().Contains(csDesigning));
}

TEST_F(DesignerTest, ADesignerOutlivingItsFormRefusesToWork) {
    Owned<TBenchForm> doomed(TBenchForm::Create(nullptr));
    TFormDesigner other(doomed.get());
    doomed.reset();
    EXPECT_EQ(other.Root(), nullptr);
    EXPECT_THROW(other.AddComponent("TGadget"), EInvalidOperation);
    EXPECT_THROW(other.SaveFormText(), EInvalidOperation);
    EXPECT_TRUE(other.Inspector().empty());
}

} // namespace
