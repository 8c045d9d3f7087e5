// The smart lookup at work: the fill's events and the dialog's events reach
// the handlers with the inner components as senders, and one lookup run,
// from the shortcut to OK, copies the key and fills the results.

#include "host/ui/Mouse.h"
#include "lookup/Lddlg.h"
#include "tests/lookup/SmartFixture.h"

namespace smart {
namespace {

class SmartRunTest : public SmartTest {
protected:
    void SetUp() override {
        SmartTest::SetUp();
        CustEdit = MakeEdit("CustEdit", "CustNo");
        Form->Show();
    }
    static bool CtrlF1() { return Keyboard().Press(VK_F1, TShiftState{ssCtrl}); }

    TDBEdit* CustEdit = nullptr;
    // Outlive the test body: leaving the edit at the end may still look up.
    std::vector<std::string> KeysLookedUp;
    std::vector<TObject*> Seen;
};

TEST_F(SmartRunTest, FillEventsReachTheHandlersWithTheInnerFillAsSender) {
    TSmartDBLookup* lookup = ActiveSmart();
    std::vector<TObject*> senders;
    std::vector<int> codes;
    lookup->SetBeforeLookup([&](TLookupFill* sender, bool&) { senders.push_back(sender); });
    lookup->SetAfterLookup([&](TLookupFill* sender, bool&) { senders.push_back(sender); });
    lookup->SetOnLookupError([&](TLookupFill* sender, int code) {
        senders.push_back(sender);
        codes.push_back(code);
    });

    Orders->Edit();
    Orders->FieldByName("CustNo")->SetValue("CD200");
    EXPECT_EQ(Text(Orders, "ShipTo"), "Cedar Works");
    Orders->FieldByName("CustNo")->SetValue("ZZ999");
    EXPECT_EQ(Text(Orders, "ShipTo"), "") << "not found: cleared, reported to the handler";
    EXPECT_EQ(codes, std::vector<int>{1});
    const std::vector<TObject*> expected(5, lookup->Fill());
    EXPECT_EQ(senders, expected) << "before, after; before, error, after; never the smart lookup";

    // Cleared, the handlers are gone from the fill as well.
    lookup->SetOnLookupError(nullptr);
    EXPECT_FALSE(lookup->Fill()->OnLookupError.Assigned());
    EXPECT_EQ(RaisedMessage([&] { Orders->FieldByName("CustNo")->SetValue("ZZ998"); }), "TLookupFill: Key not found");
}

TEST_F(SmartRunTest, DialogEventsReachTheHandlersWithTheInnerDialog) {
    TSmartDBLookup* lookup = ActiveSmart();
    lookup->SetGetLookupFormClass([this](TLookupDialog* dialog) -> TBaseLookupFormClass {
        Seen.push_back(dialog);
        return nullptr;  // the default form
    });
    lookup->SetOnSyncLookupDataSource([this](TObject* sender) {
        Seen.push_back(sender);
        Customers->Last();
    });
    CustEdit->SetFocus();
    std::string shownOn;
    Ui()->QueueModalAnswer([&](TCustomForm* form) {
        EXPECT_NE(As<TDefaultLookupForm>(form), nullptr);
        EXPECT_EQ(form->Owner(), lookup) << "the dialog's owner owns the lookup form";
        shownOn = Text(Customers, "CustNo");
        Mouse().Click(As<TDefaultLookupForm>(form)->bCancel);
    });
    EXPECT_TRUE(CtrlF1());
    EXPECT_EQ(Seen, (std::vector<TObject*>{lookup->Dialog(), lookup->Dialog()}));
    EXPECT_EQ(shownOn, "CE300") << "the sync handler positioned the lookup table";
    EXPECT_EQ(Text(Orders, "CustNo"), "") << "Cancel copies nothing";
    EXPECT_EQ(lookup->ComponentCount(), 2) << "the lookup form is gone";
}

TEST_F(SmartRunTest, ChoosingACustomerCopiesTheKeyAndFillsTheResultsInOneStep) {
    TSmartDBLookup* lookup = ActiveSmart();
    lookup->SetAfterLookup([this](TLookupFill*, bool&) { KeysLookedUp.push_back(Text(Orders, "CustNo")); });
    // What was typed stays in the edit while the lookup form has the focus:
    // only the copied key is looked up, so no "not found" stops the run.
    ASSERT_EQ(lookup->Dialog()->ControlsList()->Count(), 1);

    CustEdit->SetFocus();
    Keyboard().Type("cd");
    std::string shownOn;
    Ui()->QueueModalAnswer([&](TCustomForm* form) {
        shownOn = Text(Customers, "CustNo");
        Keyboard().Press(VK_DOWN);  // the user moves on to the next customer
        Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
    });
    EXPECT_TRUE(CtrlF1());
    EXPECT_EQ(shownOn, "CD200") << "opened on what was typed";
    EXPECT_EQ(Text(Orders, "CustNo"), "CE300");
    EXPECT_EQ(Text(Orders, "ShipTo"), "Celtic Dive");
    EXPECT_EQ(Text(Orders, "City"), "Eastbay");
    EXPECT_EQ(Orders->State(), dsEdit);
    EXPECT_EQ(KeysLookedUp, (std::vector<std::string>{"CE300"})) << "one fill after the copy";
    const std::size_t afterRun = KeysLookedUp.size();
    EXPECT_EQ(Ui()->PendingModalAnswers(), 0);
    EXPECT_TRUE(ShownErrors().empty());

    // The shortcut is the smart lookup's: another one opens the form, the
    // old one no longer does.
    lookup->SetLookupShortCut(TextToShortCut("Ctrl+L"));
    auto forms = [&] {
        int count = 0;
        for (const TShownItem& item : Ui()->Shown()) count += item.Kind == TShownKind::ModalForm ? 1 : 0;
        return count;
    };
    const int formsBefore = forms();
    CtrlF1();
    EXPECT_EQ(forms(), formsBefore);
    Ui()->QueueModalAnswer([](TCustomForm* form) { Mouse().Click(As<TDefaultLookupForm>(form)->bCancel); });
    Keyboard().Press('L', TShiftState{ssCtrl});
    EXPECT_EQ(forms(), formsBefore + 1);
    EXPECT_EQ(KeysLookedUp.size(), afterRun) << "Cancel starts no lookup";
}

} // namespace
} // namespace smart
