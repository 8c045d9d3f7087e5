// The context menus of the three components.
#include "tests/design/DesignFixture.h"

#include "host/designer/DesignIntf.h"

namespace designtest {
namespace {

// A fill of the developer's own: it gets the fill's editors.
class TMyFill : public TLookupFill {
    HOST_CLASS(TMyFill, TLookupFill)
protected:
    explicit TMyFill(TComponent* owner) : TLookupFill(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TMyFill, TLookupFill)

class ComponentEditorTest : public DesignTest {
protected:
    void SetUp() override {
        DesignTest::SetUp();
        ClearRegistrations();
        Lddsgn::Register();
        Designer = std::make_unique<TFormDesigner>(Form);
    }
    void TearDown() override {
        Designer.reset();
        ClearRegistrations();
        DesignTest::TearDown();
    }
    Names Menu(TComponent* component) {
        Names captions;
        for (const auto& item : Designer->ContextMenu(component)) captions.push_back(item.Caption);
        return captions;
    }
    // The about boxes shown since the last call, as "class, version".
    Names AboutBoxes() {
        Names boxes;
        for (const TShownItem& item : Ui()->Shown())
            if (item.Kind == TShownKind::AboutBox) boxes.push_back(item.Text + ", " + item.Detail);
        Ui()->ClearShown();
        return boxes;
    }

    std::unique_ptr<TFormDesigner> Designer;
};

TEST_F(ComponentEditorTest, EachComponentOffersItsVerbsInOrder) {
    EXPECT_EQ(Menu(MakeDialog("CustNo", "CustNo")), (Names{"&Key Connections", "A&bout"}));
    EXPECT_EQ(Menu(MakeFill()), (Names{"&Key Connections", "&Result Connections", "A&bout"}));
    TSmartDBLookup* smart = MakeSmart();
    EXPECT_EQ(Menu(smart), (Names{"&Key Connections", "&Result Connections", "A&bout"}));
    auto editor = GetComponentEditorClass(smart->ClassType()).Create(smart, Designer.get());
    EXPECT_EQ(editor->ClassType().ClassName(), "TSDBLEditor");
    EXPECT_EQ(editor->GetVerb(3), "");
    EXPECT_EQ(editor->GetVerb(-1), "");
    editor->ExecuteVerb(3);  // nothing
    EXPECT_EQ(Designer->ModifiedCount(), 0);
    EXPECT_TRUE(Ui()->Shown().empty());
}

TEST_F(ComponentEditorTest, AboutNamesTheClassAndVersionWithoutAnyDataSource) {
    TLookupDialog* dialog = TLookupDialog::Create(Form);
    TLookupFill* fill = TLookupFill::Create(Form);
    TSmartDBLookup* smart = TSmartDBLookup::Create(Form);
    Designer->ExecuteVerb(dialog, "A&bout");
    Designer->ExecuteVerb(fill, "A&bout");
    Designer->ExecuteVerb(smart, "A&bout");
    EXPECT_EQ(AboutBoxes(), (Names{"TLookupDialog, Version 1.1", "TLookupFill, Version 1.1",
                                   "TSmartDBLookup, Version 1.0"}));
    EXPECT_EQ(Designer->ModifiedCount(), 0);
}

TEST_F(ComponentEditorTest, OKMarksTheFormModifiedEvenWithoutChangesAndCancelDoesNot) {
    TSmartDBLookup* smart = MakeSmart();
    Answer([](TKeyLinkDlg* d) { Mouse().Click(d->bCancel); });
    Designer->ExecuteVerb(smart, "&Result Connections");
    EXPECT_EQ(Designer->ModifiedCount(), 0);
    EXPECT_FALSE(Designer->IsModified());

    std::string caption;
    Answer([&](TKeyLinkDlg* d) {
        caption = d->Caption();
        Mouse().Click(d->bOK);
    });
    Designer->ExecuteVerb(smart, "&Result Connections");
    EXPECT_EQ(caption, "Lookup Result Connection");
    EXPECT_EQ(Designer->ModifiedCount(), 1);
    EXPECT_TRUE(Designer->IsModified());
    EXPECT_EQ(smart->ConnectionResult(), "ShipTo,Company");

    // A double click runs the first verb.
    Answer([&](TKeyLinkDlg* d) {
        caption = d->Caption();
        Mouse().Click(d->bOK);
    });
    Designer->EditComponent(MakeDialog("CustNo", "CustNo"));
    EXPECT_EQ(caption, "Lookup Key Connection");
    EXPECT_EQ(Designer->ModifiedCount(), 2);
}

TEST_F(ComponentEditorTest, AFailedDialogLeavesTheFormUnmodified) {
    TLookupFill* fill = MakeFill();
    fill->SetDataSource(nullptr);
    EXPECT_EQ(RaisedMessage([&] { Designer->ExecuteVerb(fill, "&Key Connections"); }), "DataSource missing");
    EXPECT_EQ(Designer->ModifiedCount(), 0);
    EXPECT_EQ(Rows(fill->KeyFields()), Names{"CustNo"});
}

TEST_F(ComponentEditorTest, AnEditorGivenAnotherClassRunsNoConnectionVerb) {
    TLookupFill* fill = MakeFill();
    auto editor = TLDialogEditor::ClassInfo().Create(fill, Designer.get());
    editor->ExecuteVerb(0);
    editor->Edit();
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
    EXPECT_EQ(Designer->ModifiedCount(), 0);
    editor->ExecuteVerb(1);  // the about box needs no component of its class
    EXPECT_EQ(AboutBoxes(), Names{"TLookupDialog, Version 1.1"});
}

TEST_F(ComponentEditorTest, ADescendantGetsTheSameEditors) {
    TMyFill* mine = TMyFill::Create(Form);
    mine->SetName("Mine");
    EXPECT_EQ(GetComponentEditorClass(mine->ClassType()).ClassName(), "TLFillEditor");
    Designer->Select(mine);
    for (const char* property : {"KeyFields", "LookupKeyFields", "ResultFields", "LookupResultFields"})
        EXPECT_EQ(Designer->PropertyEditor(property)->ClassType().ClassName(), "TConnPropEditor") << property;
    EXPECT_EQ(Designer->PropertyEditor("Active")->ClassType().ClassName(), "TBoolProperty");
    EXPECT_EQ(Menu(mine).size(), 3u);
}

} // namespace
} // namespace designtest
