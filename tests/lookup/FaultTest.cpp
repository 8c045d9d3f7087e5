// Storage that fails in the middle of work: the smart lookup's fill and its
// lookup run over tables told to fail their Nth storage operation, for every
// N until a run no longer reaches the failure. Each time the error reaches
// the user once, the typed key and the saved records are intact, the
// controls hear again, and a key is copied whole or not at all.

#include "host/ui/Mouse.h"
#include "lookup/Lddlg.h"
#include "tests/lookup/SmartFixture.h"
#include "tests/support/FaultyDataSet.h"

namespace smart {
namespace {

class FaultTest : public SmartTest {
protected:
    void SetUp() override {
        SmartTest::SetUp();
        // The fixture's tables give way to faulty ones of the same shape.
        Free(OrdersSource);
        Free(CustomersSource);
        Free(Orders);
        Free(Customers);
        FaultyOrders = MakeFaulty("Orders", {{"OrderNo", ftInteger, 0}, {"CustNo", ftString, 10},
                                             {"ShipTo", ftString, 30}, {"City", ftString, 20}});
        FaultyOrders->AppendRecord({1001, "", "", ""});
        FaultyOrders->AppendRecord({1002, "AB100", "Abbey Road", "Avonmouth"});
        FaultyOrders->First();
        FaultyCustomers =
            MakeFaulty("Customers", {{"CustNo", ftString, 10}, {"Company", ftString, 30}, {"City", ftString, 20}});
        FaultyCustomers->AppendRecord({"AB100", "Abbey Road", "Avonmouth"});
        FaultyCustomers->AppendRecord({"CD200", "Cedar Works", "Dunmore"});
        FaultyCustomers->AppendRecord({"CE300", "Celtic Dive", "Eastbay"});
        FaultyCustomers->First();
        Orders = FaultyOrders;
        Customers = FaultyCustomers;
        OrdersSource = MakeSource("OrdersSource", Orders);
        CustomersSource = MakeSource("CustomersSource", Customers);
        CustEdit = MakeEdit("CustEdit", "CustNo");
        Form->Show();
        ActiveSmart();
    }
    TFaultyDataSet* MakeFaulty(const char* name, std::vector<TColumn> columns) {
        TFaultyDataSet* table = TFaultyDataSet::Create(Form);
        table->SetName(name);
        for (const TColumn& c : columns) table->FieldDefs().Add(c.Name, c.Type, c.Size);
        table->Open();
        return table;
    }

    // Errors that reached the user: shown, or raised to the caller.
    int Reported(bool raised) { return static_cast<int>(ShownErrors().size()) + (raised ? 1 : 0); }

    // The records saved before the run, as text.
    std::string Saved(TFaultyDataSet* table) {
        std::string all;
        table->FailAt(0);
        for (int i = 1; i <= table->RecordCount(); ++i) {
            table->SetRecNo(i);
            for (int f = 0; f < table->FieldCount(); ++f) all += table->Fields(f)->AsString() + '|';
        }
        return all;
    }

    void CheckCalm(const std::string& where) {
        EXPECT_FALSE(Orders->ControlsDisabled()) << where;
        EXPECT_FALSE(Customers->ControlsDisabled()) << where;
    }

    TFaultyDataSet* FaultyOrders = nullptr;
    TFaultyDataSet* FaultyCustomers = nullptr;
    TDBEdit* CustEdit = nullptr;
    // For each table, the first N that no longer failed.
    std::vector<int> Steps;
};

TEST_F(FaultTest, TheFillOverFailingStorage) {
    for (TFaultyDataSet* faulty : {FaultyCustomers, FaultyOrders}) {
        for (int n = 1;; ++n) {
            const std::string where = faulty->Name() + " fails at " + std::to_string(n);
            SCOPED_TRACE(where);
            Orders->Cancel();
            Orders->First();
            const std::string customers = Saved(FaultyCustomers);
            faulty->FailAt(n);
            bool raised = false;
            try {
                Orders->Edit();
                Orders->FieldByName("CustNo")->SetValue("CD200");
            } catch (const Exception& e) {
                raised = true;
                EXPECT_NE(e.Message().find("failed"), std::string::npos) << e.Message();
            }
            const bool failed = faulty->Failed();
            faulty->FailAt(0);
            EXPECT_EQ(Reported(raised), failed ? 1 : 0);
            if (Orders->State() == dsEdit) {
                EXPECT_EQ(Text(Orders, "CustNo"), "CD200") << "the typed key stays";
                if (!failed) {
                    EXPECT_EQ(Text(Orders, "ShipTo"), "Cedar Works");
                }
            }
            EXPECT_EQ(Saved(FaultyCustomers), customers);
            CheckCalm(where);
            if (!failed) {
                Steps.push_back(n);
                break;
            }
        }
    }
    // Look up, fetch the results, write them: several steps on each table.
    EXPECT_GE(Steps.at(0), 3);
    EXPECT_GE(Steps.at(1), 3);
}

TEST_F(FaultTest, TheLookupRunAndCopyOverFailingStorage) {
    for (TFaultyDataSet* faulty : {FaultyCustomers, FaultyOrders}) {
        for (int n = 1;; ++n) {
            const std::string where = faulty->Name() + " fails at " + std::to_string(n);
            SCOPED_TRACE(where);
            Orders->Cancel();
            Orders->First();
            const std::string customers = Saved(FaultyCustomers);
            CustEdit->SetFocus();
            Ui()->QueueModalAnswer([&](TCustomForm* form) {
                Customers->Last();
                Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
            });
            faulty->FailAt(n);
            bool raised = false;
            try {
                Keyboard().Press(VK_F1, TShiftState{ssCtrl});
            } catch (const Exception&) {
                raised = true;
            }
            const bool failed = faulty->Failed();
            faulty->FailAt(0);
            Ui()->ClearModalAnswers();
            // Positioning the lookup table is a courtesy: when its search
            // fails the form opens where the table stands, without a word.
            const bool quiet = failed && faulty == FaultyCustomers &&
                               faulty->FailedOperation() == TStorageOperation::Locate;
            EXPECT_EQ(Reported(raised), failed && !quiet ? 1 : 0);
            const std::string key = Text(Orders, "CustNo");
            EXPECT_TRUE(key == "" || key == "CE300") << "no half-copied key: " << key;
            if (key == "CE300" && !failed) {
                EXPECT_EQ(Text(Orders, "ShipTo"), "Celtic Dive");
            }
            EXPECT_EQ(Saved(FaultyCustomers), customers);
            CheckCalm(where);
            FocusManager().SetFocus(nullptr);
            if (!failed) {
                Steps.push_back(n);
                break;
            }
        }
    }
    // The run opens, positions, shows and copies: several steps on each table.
    EXPECT_GE(Steps.at(0), 4);
    EXPECT_GE(Steps.at(1), 4);
}

TEST_F(FaultTest, AChosenRecordThatCannotBeReadLeavesWhatWasTyped) {
    CustEdit->SetFocus();
    Keyboard().Type("ce");
    Ui()->QueueModalAnswer([&](TCustomForm* form) {
        Customers->Last();
        // The next read of the customers' storage, the chosen number, fails.
        FaultyCustomers->FailAt(1);
        Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
    });
    Keyboard().Press(VK_F1, TShiftState{ssCtrl});
    ASSERT_TRUE(FaultyCustomers->Failed());
    EXPECT_EQ(FaultyCustomers->FailedOperation(), TStorageOperation::Fetch);
    EXPECT_EQ(ShownErrors(), Names{"Customers: the storage failed to fetch"});
    EXPECT_EQ(CustEdit->Text(), "ce") << "the typed letters stay in the edit";
    EXPECT_EQ(Text(Orders, "CustNo"), "") << "nothing copied";
    EXPECT_EQ(Text(Orders, "ShipTo"), "");
    CheckCalm("after the failed copy");
    // Enter still writes what was typed, and the fill hears of it.
    EXPECT_TRUE(CustEdit->Focused());
    EXPECT_EQ(RaisedMessage([] { Keyboard().Press(VK_RETURN); }), "TLookupFill: Key not found");
    EXPECT_EQ(Text(Orders, "CustNo"), "ce");
}

TEST_F(FaultTest, AKeyOfTwoFieldsIsCopiedWholeOrNotAtAll) {
    Free(Form->FindComponent("CustomerLookup"));
    ActiveSmart("CustNo,CustNo;City,City", "ShipTo,Company");
    for (int n = 1;; ++n) {
        SCOPED_TRACE("Customers fails at " + std::to_string(n));
        Orders->Cancel();
        Orders->First();
        CustEdit->SetFocus();
        Ui()->QueueModalAnswer([&](TCustomForm* form) {
            Customers->Last();
            FaultyCustomers->FailAt(n);
            Mouse().Click(As<TDefaultLookupForm>(form)->bOk);
        });
        bool raised = false;
        try {
            Keyboard().Press(VK_F1, TShiftState{ssCtrl});
        } catch (const Exception&) {
            raised = true;
        }
        const bool failed = FaultyCustomers->Failed();
        FaultyCustomers->FailAt(0);
        Ui()->ClearModalAnswers();
        EXPECT_EQ(Reported(raised), failed ? 1 : 0);
        const std::string key = Text(Orders, "CustNo") + "/" + Text(Orders, "City");
        EXPECT_TRUE(key == "/" || key == "CE300/Eastbay") << "no half-copied key: " << key;
        CheckCalm("two keys");
        FocusManager().SetFocus(nullptr);
        if (!failed) {
            EXPECT_EQ(key, "CE300/Eastbay");
            EXPECT_EQ(Text(Orders, "ShipTo"), "Celtic Dive");
            break;
        }
    }
}

} // namespace
} // namespace smart
