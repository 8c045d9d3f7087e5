// The key link dialog: its stored form, reading the fields, the repair of
// the pairs, the three lists, Add and Remove, and the ways out.
#include "tests/design/DesignFixture.h"

#include "host/ui/Graphics.h"

namespace designtest {
namespace {

class KeyLinkDlgTest : public DesignTest {
protected:
    void SetUp() override {
        DesignTest::SetUp();
        Dialog.reset(TKeyLinkDlg::Create(nullptr));
    }
    void TearDown() override {
        Dialog.reset();
        DesignTest::TearDown();
    }

    void Pairs(const std::string& keys, const std::string& lookups) {
        Dialog->KeyFields()->SetCommaText(keys);
        Dialog->LookupFields()->SetCommaText(lookups);
    }
    void Sources() {
        Dialog->SetDataSource(OrdersSource);
        Dialog->SetLookupDataSource(CustomersSource);
    }
    // Shows the dialog, lets Act work in it, and answers its result.
    TModalResult Run(std::function<void(TKeyLinkDlg*)> act) {
        Answer(std::move(act));
        return Dialog->ShowModal();
    }

    Owned<TKeyLinkDlg> Dialog;
};

TEST_F(KeyLinkDlgTest, TheStoredFormBuildsTheDialog) {
    TKeyLinkDlg* d = Dialog.get();
    EXPECT_EQ(d->Caption(), "Lookup Key Connection");
    EXPECT_EQ(d->BorderStyle(), bsDialog);
    EXPECT_EQ(d->Position(), poScreenCenter);
    EXPECT_EQ(d->ClientWidth(), 435);
    EXPECT_EQ(d->ClientHeight(), 281);
    EXPECT_EQ(d->ActiveControl(), d->bOK);
    ASSERT_TRUE(d->bAdd && d->bRemove && d->bOK && d->bCancel && d->LeftListBox && d->RightListBox &&
                d->MiddleListBox && d->LeftLabel && d->RightLabel && d->MiddleLabel);
    EXPECT_EQ(d->bAdd->Caption(), "&Add");
    EXPECT_EQ(d->bRemove->Caption(), "&Remove");
    EXPECT_FALSE(d->bAdd->Enabled());
    EXPECT_FALSE(d->bRemove->Enabled());
    EXPECT_EQ(d->bAdd->Glyph()->Width(), 16);
    EXPECT_EQ(d->bRemove->Glyph()->Height(), 16);
    EXPECT_FALSE(d->bOK->Glyph()->Empty());
    EXPECT_FALSE(d->bCancel->Glyph()->Empty());
    EXPECT_TRUE(d->bOK->Default());
    EXPECT_EQ(d->bOK->ModalResult(), mrOk);
    EXPECT_TRUE(d->bCancel->Cancel());
    EXPECT_EQ(d->bCancel->ModalResult(), mrCancel);
    EXPECT_EQ(d->LeftLabel->Caption(), "Destination Fields");
    EXPECT_EQ(d->MiddleLabel->Caption(), "Connections");
    EXPECT_EQ(d->RightLabel->Caption(), "Lookup Fields");
    EXPECT_TRUE(d->LeftLabel->Font()->Style().Contains(fsBold));
    EXPECT_EQ(d->MiddleListBox->StoredItemHeight(), 13);
    EXPECT_EQ(d->MiddleListBox->ItemHeight(), kCellHeight);
    EXPECT_EQ(d->MiddleListBox->Left(), 135);
    EXPECT_EQ(d->MiddleListBox->Width(), 166);
    EXPECT_EQ(d->RightListBox->Height(), 211);
    EXPECT_EQ(d->bOK->TabOrder(), 6);
    EXPECT_EQ(d->bCancel->TabOrder(), 7);
    EXPECT_TRUE(d->MiddleListBox->OnExit.Assigned());
    // The dialog's own lists start empty, without sources.
    EXPECT_EQ(d->KeyFields()->Count(), 0);
    EXPECT_EQ(d->DestinationItems()->Count(), 0);
    EXPECT_EQ(d->DataSource(), nullptr);
    EXPECT_EQ(d->LookupDataSource(), nullptr);
    auto* item = static_cast<TFieldItem*>(d->LookupItems()->Add());
    EXPECT_EQ(item->FieldName, "");
    EXPECT_EQ(static_cast<int>(item->DataType), 0);
    EXPECT_EQ(item->DataSize, 0);
}

TEST_F(KeyLinkDlgTest, SettingADataSourceReadsItsFieldsAndLeavesTheDatasetAsItWas) {
    ASSERT_FALSE(Customers->Active());
    Sources();
    EXPECT_TRUE(Orders->Active());
    EXPECT_FALSE(Customers->Active());  // opened to read, closed again
    ASSERT_EQ(Dialog->LookupItems()->Count(), 4);
    auto* company = static_cast<TFieldItem*>(Dialog->LookupItems()->Items(1));
    EXPECT_EQ(company->FieldName, "Company");
    EXPECT_EQ(company->DataType, ftString);
    EXPECT_EQ(company->DataSize, 31);  // a string field's size and its terminator
    EXPECT_EQ(static_cast<TFieldItem*>(Dialog->DestinationItems()->Items(0))->DataType, ftInteger);

    // The same source again reads nothing: the collection stays as it is.
    Dialog->LookupItems()->Clear();
    Dialog->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(Dialog->LookupItems()->Count(), 0);
    // A source without a dataset, and no source, give no fields.
    TDataSource* empty = MakeSource("Empty", nullptr);
    Dialog->SetLookupDataSource(empty);
    EXPECT_EQ(Dialog->LookupItems()->Count(), 0);
    Dialog->SetDataSource(nullptr);
    EXPECT_EQ(Dialog->DestinationItems()->Count(), 0);
    EXPECT_EQ(Dialog->DataSource(), nullptr);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(KeyLinkDlgTest, ADatasetThatWillNotOpenIsReportedAndTheEditGoesOn) {
    Customers->BeforeOpen = [](TDataSet*) { throw EDatabaseError("Customers: cannot open"); };
    Sources();
    EXPECT_EQ(Messages(), Names{"Customers: cannot open"});
    EXPECT_EQ(Dialog->LookupItems()->Count(), 0);
    EXPECT_EQ(Dialog->LookupDataSource(), CustomersSource);
    // Every pair is then missing on the lookup side and is repaired away.
    Pairs("CustNo", "CustNo");
    EXPECT_EQ(Run([](TKeyLinkDlg* d) { Mouse().Click(d->bOK); }), mrOk);
    EXPECT_EQ(Messages(), Names{"CustNo Doesn't exist. Connection CustNo->CustNo cleared"});
    EXPECT_EQ(Dialog->KeyFields()->Count(), 0);
}

TEST_F(KeyLinkDlgTest, MissingDataSourcesStopTheDialogBeforeItShows) {
    EXPECT_EQ(RaisedMessage([&] { Dialog->ShowModal(); }), "DataSource missing");
    EXPECT_FALSE(Dialog->Visible());
    Dialog->SetLookupDataSource(CustomersSource);
    EXPECT_EQ(RaisedMessage([&] { Dialog->ShowModal(); }), "DataSource missing");
    Dialog->SetLookupDataSource(nullptr);
    Dialog->SetDataSource(OrdersSource);
    EXPECT_EQ(RaisedMessage([&] { Dialog->ShowModal(); }), "LookupDataSource missing");
    EXPECT_FALSE(Dialog->Visible());
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
}

TEST_F(KeyLinkDlgTest, ARepairReportsEachBrokenPairOnceAndIgnoresLetterCase) {
    Sources();
    Pairs("custno,Gone,Missing,ShipTo,Lost", "CUSTNO,Company,Vanished,Away,Away2");
    EXPECT_EQ(Run([](TKeyLinkDlg* d) {
                  // custno pairs with the field CustNo, so CustNo is not
                  // offered; ShipTo's pair was cleared, so it is.
                  EXPECT_EQ(Rows(d->LeftListBox), (Names{"OrderNo", "ShipTo", "City"}));
                  EXPECT_EQ(Rows(d->MiddleListBox), (Names{"custno<->CUSTNO"}));
                  EXPECT_EQ(Rows(d->RightListBox), (Names{"Company", "City", "Code"}));
                  Mouse().Click(d->bCancel);
              }),
              mrCancel);
    EXPECT_EQ(Messages(), (Names{"Gone Doesn't exist. Connection Gone->Company cleared",
                                 "Missing Doesn't exist. Connection Missing->Vanished cleared",
                                 "Lost Doesn't exist. Connection Lost->Away2 cleared",
                                 "Away Doesn't exist. Connection ShipTo->Away cleared"}));
    // The repair changed the dialog's own lists.
    EXPECT_EQ(Rows(Dialog->KeyFields()), Names{"custno"});
}

TEST_F(KeyLinkDlgTest, PairListsOfUnequalLengthAreCleared) {
    Sources();
    Pairs("CustNo,ShipTo", "CustNo");
    Run([](TKeyLinkDlg* d) {
        EXPECT_EQ(d->MiddleListBox->Count(), 0);
        EXPECT_EQ(Rows(d->LeftListBox), (Names{"OrderNo", "CustNo", "ShipTo", "City"}));
        Mouse().Click(d->bOK);
    });
    EXPECT_EQ(Messages(), Names{"Inconsistencies! Connections cleared."});
    EXPECT_EQ(Dialog->KeyFields()->Count(), 0);
    EXPECT_EQ(Dialog->LookupFields()->Count(), 0);

    // Met by the middle list itself, lists of unequal length show nothing.
    Pairs("CustNo", "");
    Dialog->PopulateMiddle();
    EXPECT_EQ(Messages(), Names{"Connection mismatch!"});
    EXPECT_EQ(Dialog->MiddleListBox->Count(), 0);
}

TEST_F(KeyLinkDlgTest, AFieldPairedTwiceShowsTwoRowsAndIsOfferedNoMore) {
    Sources();
    Pairs("CustNo,CustNo", "CustNo,Company");
    Run([](TKeyLinkDlg* d) {
        EXPECT_EQ(Rows(d->MiddleListBox), (Names{"CustNo<->CustNo", "CustNo<->Company"}));
        EXPECT_EQ(Rows(d->LeftListBox), (Names{"OrderNo", "ShipTo", "City"}));
        Mouse().Click(d->bOK);
    });
}

TEST_F(KeyLinkDlgTest, AddIsEnabledOnlyForFieldsOfOneTypeThatFit) {
    Sources();
    Run([](TKeyLinkDlg* d) {
        // Without pairs every field is offered and the middle is empty.
        EXPECT_EQ(Rows(d->LeftListBox), (Names{"OrderNo", "CustNo", "ShipTo", "City"}));
        EXPECT_EQ(Rows(d->RightListBox), (Names{"CustNo", "Company", "City", "Code"}));
        EXPECT_EQ(d->MiddleListBox->Count(), 0);
        // Nothing selected, nothing to add.
        EXPECT_FALSE(d->bAdd->Enabled());
        ClickRow(d->LeftListBox, "ShipTo");  // string 30
        EXPECT_FALSE(d->bAdd->Enabled());
        ClickRow(d->RightListBox, "City");  // string 20 into 30
        EXPECT_TRUE(d->bAdd->Enabled());
        ClickRow(d->LeftListBox, "City");  // string 20 takes string 20
        EXPECT_TRUE(d->bAdd->Enabled());
        ClickRow(d->RightListBox, "Company");  // string 30 into 20
        EXPECT_FALSE(d->bAdd->Enabled());
        ClickRow(d->LeftListBox, "OrderNo");  // integer and string
        EXPECT_FALSE(d->bAdd->Enabled());
        ClickRow(d->RightListBox, "Code");  // integer and integer
        EXPECT_TRUE(d->bAdd->Enabled());
        ClickRow(d->LeftListBox, "CustNo");  // string and integer
        EXPECT_FALSE(d->bAdd->Enabled());
        Keyboard().Press(VK_ESCAPE);
    });
}

TEST_F(KeyLinkDlgTest, AddAppendsThePairAndClearsEverySelection) {
    Sources();
    Pairs("CustNo", "CustNo");
    Run([](TKeyLinkDlg* d) {
        ClickRow(d->LeftListBox, "ShipTo");
        ClickRow(d->RightListBox, "Company");
        Mouse().Click(d->bAdd);
        EXPECT_EQ(Rows(d->MiddleListBox), (Names{"CustNo<->CustNo", "ShipTo<->Company"}));
        EXPECT_EQ(Rows(d->LeftListBox), (Names{"OrderNo", "City"}));
        EXPECT_EQ(Rows(d->RightListBox), (Names{"City", "Code"}));
        EXPECT_EQ(d->LeftListBox->ItemIndex(), -1);
        EXPECT_EQ(d->RightListBox->ItemIndex(), -1);
        EXPECT_EQ(d->MiddleListBox->ItemIndex(), -1);
        // Add keeps its state; a press with nothing selected does nothing.
        EXPECT_TRUE(d->bAdd->Enabled());
        Mouse().Click(d->bAdd);
        EXPECT_EQ(d->MiddleListBox->Count(), 2);
        ClickRow(d->LeftListBox, "City");
        Mouse().Click(d->bAdd);
        EXPECT_EQ(d->MiddleListBox->Count(), 2);
        Mouse().Click(d->bOK);
    });
    EXPECT_EQ(Rows(Dialog->KeyFields()), (Names{"CustNo", "ShipTo"}));
    EXPECT_EQ(Rows(Dialog->LookupFields()), (Names{"CustNo", "Company"}));
}

TEST_F(KeyLinkDlgTest, TheMiddleListSelectsPairsForRemoval) {
    Sources();
    Pairs("CustNo,City", "CustNo,City");
    Run([](TKeyLinkDlg* d) {
        ClickRow(d->LeftListBox, "ShipTo");
        ClickRow(d->RightListBox, "Company");
        ASSERT_TRUE(d->bAdd->Enabled());
        ClickRow(d->MiddleListBox, "City<->City");
        EXPECT_EQ(d->LeftListBox->ItemIndex(), -1);
        EXPECT_EQ(d->RightListBox->ItemIndex(), -1);
        EXPECT_FALSE(d->bAdd->Enabled());
        EXPECT_TRUE(d->bRemove->Enabled());
        // A side click clears the middle selection but leaves Remove to the
        // middle list's focus.
        ClickRow(d->LeftListBox, "ShipTo");
        EXPECT_EQ(d->MiddleListBox->ItemIndex(), -1);
        EXPECT_FALSE(d->bRemove->Enabled());  // the middle list lost the focus
        Mouse().Click(d->bCancel);
    });
}

TEST_F(KeyLinkDlgTest, RemoveGivesTheFieldsBackInTheirPlacesAndTheFocusToOK) {
    Sources();
    Pairs("CustNo,City,CustNo", "CustNo,City,Company");
    Run([](TKeyLinkDlg* d) {
        ClickRow(d->MiddleListBox, "CustNo<->CustNo");
        Mouse().Click(d->bRemove);
        EXPECT_EQ(Rows(d->MiddleListBox), (Names{"City<->City", "CustNo<->Company"}));
        // CustNo is still named by another pair; the lookup CustNo is back
        // at its place.
        EXPECT_EQ(Rows(d->LeftListBox), (Names{"OrderNo", "ShipTo"}));
        EXPECT_EQ(Rows(d->RightListBox), (Names{"CustNo", "Code"}));
        EXPECT_EQ(d->MiddleListBox->ItemIndex(), -1);
        EXPECT_EQ(d->LeftListBox->ItemIndex(), -1);
        EXPECT_EQ(d->RightListBox->ItemIndex(), -1);
        EXPECT_TRUE(d->bOK->Focused());
        EXPECT_FALSE(d->bRemove->Enabled());
        // Remove with nothing selected only moves the focus.
        d->MiddleListBox->SetFocus();
        d->bRemoveClick(d->bRemove);
        EXPECT_EQ(d->MiddleListBox->Count(), 2);
        EXPECT_TRUE(d->bOK->Focused());
        Keyboard().Press(VK_RETURN);
    });
    EXPECT_EQ(Rows(Dialog->KeyFields()), (Names{"City", "CustNo"}));
    EXPECT_EQ(Rows(Dialog->LookupFields()), (Names{"City", "Company"}));
}

TEST_F(KeyLinkDlgTest, EscAndTheCloseBoxEndTheRunWithoutOK) {
    Sources();
    EXPECT_EQ(Run([](TKeyLinkDlg*) { Keyboard().Press(VK_ESCAPE); }), mrCancel);
    EXPECT_EQ(Run([](TKeyLinkDlg* d) { Mouse().ClickCloseBox(d); }), mrCancel);
    EXPECT_EQ(Run([](TKeyLinkDlg*) { Keyboard().Press(VK_RETURN); }), mrOk);
}

TEST_F(KeyLinkDlgTest, ADataSourceFreedBeforeTheDialogIsForgotten) {
    Sources();
    CustomersSource->Free();
    CustomersSource = nullptr;
    EXPECT_EQ(Dialog->LookupDataSource(), nullptr);
    EXPECT_EQ(Dialog->LookupItems()->Count(), 0);
    EXPECT_EQ(RaisedMessage([&] { Dialog->ShowModal(); }), "LookupDataSource missing");
}

TEST_F(KeyLinkDlgTest, NamesAreFoundWithOrWithoutLetterCase) {
    Sources();
    EXPECT_EQ(Dialog->FindInCollectionList("company", Dialog->LookupItems(), false), 1);
    EXPECT_EQ(Dialog->FindInCollectionList("company", Dialog->LookupItems(), true), -1);
    EXPECT_EQ(Dialog->FindInCollectionList("Company", Dialog->LookupItems(), true), 1);
    EXPECT_EQ(Dialog->FindInCollectionList("Company", nullptr, false), -1);
    Pairs("a,B", "x,y");
    EXPECT_EQ(Dialog->FindInStringList("b", Dialog->KeyFields(), false), 1);
    EXPECT_EQ(Dialog->FindInStringList("B", Dialog->KeyFields(), true), 1);
    EXPECT_EQ(Dialog->FindInStringList("c", Dialog->KeyFields(), false), -1);
    EXPECT_EQ(Dialog->FindInStringList("a", nullptr, true), -1);
}

} // namespace
} // namespace designtest
