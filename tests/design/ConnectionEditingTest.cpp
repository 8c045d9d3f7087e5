// The three edit routines and the property editor of the field pairs.
#include "tests/design/DesignFixture.h"

#include "host/core/TypInfo.h"
#include "host/designer/DesignIntf.h"

namespace designtest {
namespace {

class ConnectionEditingTest : public DesignTest {
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

    // Pairs ShipTo with Company in the dialog, then presses OK.
    static void PairShipTo(TKeyLinkDlg* d) {
        ClickRow(d->LeftListBox, "ShipTo");
        ClickRow(d->RightListBox, "Company");
        Mouse().Click(d->bAdd);
        Mouse().Click(d->bOK);
    }
    std::string Shown(const std::string& name) {
        for (const auto& row : Designer->Inspector())
            if (row.Name == name) return row.Value;
        ADD_FAILURE() << name << " is not shown";
        return "";
    }
    std::unique_ptr<TPropertyEditor> ConnEditor(TComponent* component, const char* property) {
        return TConnPropEditor::ClassInfo().Create(Designer.get(), {{component, GetPropInfo(component, property)}});
    }

    std::unique_ptr<TFormDesigner> Designer;
};

TEST_F(ConnectionEditingTest, TheDialogComponentsKeyPairsAreEditedUnderTheStoredCaption) {
    TLookupDialog* lookup = MakeDialog("CustNo", "CustNo");
    std::string caption;
    Names middle;
    Answer([&](TKeyLinkDlg* d) {
        caption = d->Caption();
        middle = Rows(d->MiddleListBox);
        PairShipTo(d);
    });
    EXPECT_TRUE(EditLookupDialogConnections(lookup));
    EXPECT_EQ(caption, "Lookup Key Connection");
    EXPECT_EQ(middle, Names{"CustNo<->CustNo"});
    EXPECT_EQ(Rows(lookup->KeyFields()), (Names{"CustNo", "ShipTo"}));
    EXPECT_EQ(Rows(lookup->LookupKeyFields()), (Names{"CustNo", "Company"}));
    EXPECT_FALSE(EditLookupDialogConnections(nullptr));
    EXPECT_FALSE(EditLookupFillConnections(nullptr, true));
    EXPECT_FALSE(EditSmartDBLookupConnections(nullptr, false));
}

TEST_F(ConnectionEditingTest, TheFillsResultPairsGoThroughTheResultDialog) {
    TLookupFill* fill = MakeFill();
    std::string caption;
    Answer([&](TKeyLinkDlg* d) {
        caption = d->Caption();
        EXPECT_EQ(Rows(d->MiddleListBox), Names{"ShipTo<->Company"});
        ClickRow(d->LeftListBox, "City");
        ClickRow(d->RightListBox, "City");
        Mouse().Click(d->bAdd);
        Mouse().Click(d->bOK);
    });
    EXPECT_TRUE(EditLookupFillConnections(fill, false));
    EXPECT_EQ(caption, "Lookup Result Connection");
    EXPECT_EQ(Rows(fill->ResultFields()), (Names{"ShipTo", "City"}));
    EXPECT_EQ(Rows(fill->LookupResultFields()), (Names{"Company", "City"}));
    EXPECT_EQ(Rows(fill->KeyFields()), Names{"CustNo"});

    Answer([&](TKeyLinkDlg* d) {
        caption = d->Caption();
        Mouse().Click(d->bCancel);
    });
    EXPECT_FALSE(EditLookupFillConnections(fill, true));
    EXPECT_EQ(caption, "Lookup Key Connection");
}

TEST_F(ConnectionEditingTest, ASmartLookupsConnectionIsPrintedAfreshOnOKEvenUnchanged) {
    TSmartDBLookup* smart = MakeSmart(" CustNo , CustNo ", "ShipTo,Company");
    EXPECT_EQ(smart->ConnectionKey(), " CustNo , CustNo ");
    Answer([](TKeyLinkDlg* d) { Mouse().Click(d->bOK); });
    EXPECT_TRUE(EditSmartDBLookupConnections(smart, true));
    EXPECT_EQ(smart->ConnectionKey(), "CustNo,CustNo");

    Answer([](TKeyLinkDlg* d) {
        ClickRow(d->LeftListBox, "City");
        ClickRow(d->RightListBox, "City");
        Mouse().Click(d->bAdd);
        Mouse().Click(d->bOK);
    });
    EXPECT_TRUE(EditSmartDBLookupConnections(smart, false));
    EXPECT_EQ(smart->ConnectionResult(), "ShipTo,Company;City,City");
}

TEST_F(ConnectionEditingTest, AConnectionThatDoesNotParseIsReportedAndTheDialogStartsEmpty) {
    TSmartDBLookup* smart = MakeSmart("CustNo,CustNo", "ShipTo,Company");
    smart->SetKeyConnection("CustNo");
    Messages();
    Names middle{"not run"};
    Names before;
    Answer([&](TKeyLinkDlg* d) {
        before = Messages();
        middle = Rows(d->MiddleListBox);
        ClickRow(d->LeftListBox, "CustNo");
        ClickRow(d->RightListBox, "CustNo");
        Mouse().Click(d->bAdd);
        Mouse().Click(d->bOK);
    });
    EXPECT_TRUE(EditSmartDBLookupConnections(smart, true));
    EXPECT_TRUE(middle.empty());
    ASSERT_EQ(before.size(), 1u);  // the parse message, before the dialog showed
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(smart->ConnectionKey(), "CustNo,CustNo");
}

TEST_F(ConnectionEditingTest, TheInspectorShowsAndTakesThePairsAsText) {
    TLookupFill* fill = MakeFill();
    Designer->Select(fill);
    EXPECT_EQ(Shown("KeyFields"), "CustNo");
    Designer->SetPropertyText("KeyFields", "CustNo,OrderNo");
    EXPECT_EQ(Rows(fill->KeyFields()), (Names{"CustNo", "OrderNo"}));
    EXPECT_EQ(Shown("KeyFields"), "CustNo,OrderNo");
    Designer->SetPropertyText("LookupResultFields", "");
    EXPECT_EQ(Shown("LookupResultFields"), "");
    Designer->SetPropertyText("ResultFields", "\"Ship To\",City");
    EXPECT_EQ(Rows(fill->ResultFields()), (Names{"Ship To", "City"}));
    EXPECT_EQ(Shown("ResultFields"), "\"Ship To\",City");

    TSmartDBLookup* smart = MakeSmart("CustNo,CustNo", "ShipTo,Company");
    Designer->Select(smart);
    Designer->SetPropertyText("ConnectionResult", "ShipTo , Company;City,City");
    EXPECT_EQ(Shown("ConnectionResult"), "ShipTo , Company;City,City");
    EXPECT_EQ(Rows(smart->Fill()->LookupResultFields()), (Names{"Company", "City"}));

    TLookupDialog* dialog = MakeDialog("CustNo", "CustNo");
    Designer->Select(dialog);
    Designer->SetPropertyText("LookupKeyFields", "Code");
    EXPECT_EQ(Rows(dialog->LookupKeyFields()), Names{"Code"});
    EXPECT_EQ(Shown("KeyFields"), "CustNo");
    EXPECT_EQ(Shown("LookupShortCut"), "Ctrl+F1");
}

TEST_F(ConnectionEditingTest, BothListsOfADialogComponentOpenTheSameDialog) {
    TLookupDialog* dialog = MakeDialog("CustNo,City", "CustNo,City");
    Designer->Select(dialog);
    std::vector<Names> seen;
    for (const char* property : {"KeyFields", "LookupKeyFields"}) {
        Answer([&](TKeyLinkDlg* d) {
            seen.push_back(Rows(d->MiddleListBox));
            seen.back().push_back(d->Caption());
            Mouse().Click(d->bCancel);
        });
        Designer->EditProperty(property);
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (Names{"CustNo<->CustNo", "City<->City", "Lookup Key Connection"}));
    EXPECT_EQ(seen[1], seen[0]);
}

TEST_F(ConnectionEditingTest, AnotherPropertyShowsNotApplicableAndStoresNothing) {
    TLookupFill* fill = MakeFill();
    auto editor = ConnEditor(fill, "Name");
    EXPECT_EQ(editor->GetValue(), "(N/A)");
    editor->SetValue("Other");
    EXPECT_EQ(fill->Name(), "Fill");
    editor->Edit();  // opens nothing: no answer is queued
    TLookupDialog* dialog = MakeDialog("CustNo", "CustNo");
    EXPECT_EQ(ConnEditor(dialog, "Name")->GetValue(), "(N/A)");
    // A dialog component opens its key dialog whatever the property.
    Answer([](TKeyLinkDlg* d) { Mouse().Click(d->bCancel); });
    ConnEditor(dialog, "Name")->Edit();
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
}

TEST_F(ConnectionEditingTest, EveryPairPropertyOpensItsDialogAndOKMarksTheFormModified) {
    TLookupFill* fill = MakeFill();
    TLookupDialog* dialog = MakeDialog("CustNo", "CustNo");
    TSmartDBLookup* smart = MakeSmart();
    struct TCase {
        TComponent* Component;
        const char* Property;
        const char* Caption;
    };
    const TCase cases[] = {
        {dialog, "KeyFields", "Lookup Key Connection"},     {dialog, "LookupKeyFields", "Lookup Key Connection"},
        {fill, "KeyFields", "Lookup Key Connection"},       {fill, "LookupKeyFields", "Lookup Key Connection"},
        {fill, "ResultFields", "Lookup Result Connection"}, {fill, "LookupResultFields", "Lookup Result Connection"},
        {smart, "ConnectionKey", "Lookup Key Connection"},  {smart, "ConnectionResult", "Lookup Result Connection"},
    };
    for (const TCase& c : cases) {
        Designer->Select(c.Component);
        std::string caption;
        Answer([&](TKeyLinkDlg* d) {
            caption = d->Caption();
            Mouse().Click(d->bOK);
        });
        const int before = Designer->ModifiedCount();
        Designer->EditProperty(c.Property);
        EXPECT_EQ(caption, c.Caption) << c.Property;
        EXPECT_EQ(Designer->ModifiedCount(), before + 1) << c.Property;

        Answer([](TKeyLinkDlg* d) { Mouse().Click(d->bCancel); });
        Designer->EditProperty(c.Property);
        EXPECT_EQ(Designer->ModifiedCount(), before + 1) << c.Property;
    }
}

TEST_F(ConnectionEditingTest, AMissingDataSourceLeavesTheComponentUnchangedAndUnmodified) {
    TLookupFill* fill = MakeFill();
    fill->SetLookupDataSource(nullptr);
    Designer->Select(fill);
    EXPECT_EQ(RaisedMessage([&] { Designer->EditProperty("KeyFields"); }), "LookupDataSource missing");
    EXPECT_EQ(Designer->ModifiedCount(), 0);
    EXPECT_EQ(Rows(fill->KeyFields()), Names{"CustNo"});
    // No dialog is left on the screen.
    for (int i = 0; i < Screen()->FormCount(); ++i) EXPECT_EQ(dynamic_cast<TKeyLinkDlg*>(Screen()->Forms(i)), nullptr);
}

TEST_F(ConnectionEditingTest, CancelLeavesTheComponentsPairsEvenWhenTheRepairRemovedSome) {
    TLookupDialog* dialog = MakeDialog("CustNo,Gone", "CustNo,Company");
    Answer([](TKeyLinkDlg* d) {
        EXPECT_EQ(d->KeyFields()->Count(), 1);
        Keyboard().Press(VK_ESCAPE);
    });
    EXPECT_FALSE(EditLookupDialogConnections(dialog));
    EXPECT_EQ(Rows(dialog->KeyFields()), (Names{"CustNo", "Gone"}));
    EXPECT_EQ(Messages(), Names{"Gone Doesn't exist. Connection Gone->Company cleared"});
    Answer([](TKeyLinkDlg* d) { Mouse().ClickCloseBox(d); });
    EXPECT_FALSE(EditLookupDialogConnections(dialog));
    EXPECT_EQ(Rows(dialog->KeyFields()), (Names{"CustNo", "Gone"}));
    Messages();
    // OK takes the repaired pairs.
    Answer([](TKeyLinkDlg* d) { Mouse().Click(d->bOK); });
    EXPECT_TRUE(EditLookupDialogConnections(dialog));
    EXPECT_EQ(Rows(dialog->KeyFields()), Names{"CustNo"});
}

TEST_F(ConnectionEditingTest, TwoSelectedComponentsHideThePairEditor) {
    TLookupFill* fill = MakeFill();
    TLookupFill* other = TLookupFill::Create(Form);
    other->SetName("Fill2");
    Designer->SelectAll({fill, other});
    for (const auto& row : Designer->Inspector()) {
        EXPECT_NE(row.EditorClass, "TConnPropEditor") << row.Name;
        EXPECT_NE(row.Name, "KeyFields");
    }
    EXPECT_EQ(Designer->PropertyEditor("KeyFields"), nullptr);
    EXPECT_THROW(Designer->EditProperty("KeyFields"), EInvalidOperation);
    Designer->Select(fill);
    auto editor = Designer->PropertyEditor("KeyFields");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->ClassType().ClassName(), "TConnPropEditor");
    EXPECT_TRUE(editor->GetAttributes().Contains(paDialog));
    EXPECT_FALSE(editor->GetAttributes().Contains(paMultiSelect));
}

} // namespace
} // namespace designtest
