// The lookup form that searches as the user types, chosen through the
// dialog's GetLookupFormClass and driven through the headless UI.

#include "host/ui/Mouse.h"
#include "tests/lookup/DialogFixture.h"

namespace dialog {
namespace {

class SearchFormTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        CustEdit = MakeEdit(Form, "CustEdit", "CustNo");
        LinkCustomers();
        Dialog->GetLookupFormClass = [](TLookupDialog*) -> TBaseLookupFormClass {
            return &ClassOf<TSearchLookupForm>();
        };
        Form->Show();
        CustEdit->SetFocus();
    }
    // Runs the lookup with Act as what the user does in the form.
    void Run(std::function<void(TSearchLookupForm*)> act) {
        HeadlessBackend()->QueueModalAnswer([act](TCustomForm* form) {
            auto* search = As<TSearchLookupForm>(form);
            ASSERT_NE(search, nullptr);
            act(search);
        });
        Keyboard().Press(VK_F1, TShiftState{ssCtrl});
    }
    std::string Current() const { return Customers->FieldByName("CustNo")->AsString(); }

    TDBEdit* CustEdit = nullptr;
};

TEST_F(SearchFormTest, EachKeystrokeFindsTheFirstRecordBeginningWithTheText) {
    Keyboard().Type("c");
    Run([&](TSearchLookupForm* form) {
        EXPECT_TRUE(form->eSearch->Focused());
        EXPECT_EQ(form->eSearch->Text(), "c") << "prefilled with what was typed";
        EXPECT_EQ(form->lSearch->Caption(), "CustNo:");
        EXPECT_EQ(Current(), "CD200");
        Keyboard().Type("E");
        EXPECT_EQ(Current(), "CE300") << "letter case is ignored";
        Keyboard().Type("9");
        EXPECT_TRUE(form->NoMatch());
        EXPECT_EQ(form->lMatch->Caption(), "no match");
        EXPECT_FALSE(form->bOk->Enabled()) << "nothing is taken blindly";
        Keyboard().Press(VK_RETURN);
        EXPECT_TRUE(form->Visible()) << "Enter takes nothing while nothing matches";
        Keyboard().Press(VK_BACK);
        EXPECT_FALSE(form->NoMatch());
        EXPECT_EQ(form->lMatch->Caption(), "");
        Keyboard().Press(VK_RETURN);
    });
    EXPECT_EQ(Orders->FieldByName("CustNo")->AsString(), "CE300");
}

TEST_F(SearchFormTest, TheArrowsMoveTheGridAndAnotherColumnCanBeSearched) {
    Run([&](TSearchLookupForm* form) {
        Keyboard().Press(VK_DOWN);
        EXPECT_TRUE(form->eSearch->Focused()) << "the search edit keeps the focus";
        EXPECT_EQ(Current(), "CD200");
        Keyboard().Press(VK_RIGHT, TShiftState{ssCtrl});
        EXPECT_EQ(form->lSearch->Caption(), "Company:");
        EXPECT_EQ(form->SearchField()->FieldName(), "Company");
        Keyboard().Type("celt");
        EXPECT_EQ(Current(), "CE300");
        Keyboard().Press(VK_UP);
        EXPECT_EQ(Current(), "CD200");
        Keyboard().Press(VK_LEFT, TShiftState{ssCtrl});
        EXPECT_EQ(form->SearchField()->FieldName(), "CustNo");
        EXPECT_TRUE(form->NoMatch()) << "\"celt\" begins no customer number";
        // A click on a column's title searches that column.
        const TRect title = form->lGrid->CellRect(2, 0);
        Mouse().Click(form->lGrid, Point(title.Left + 1, title.Top + 1));
        EXPECT_EQ(form->SearchField()->FieldName(), "Company");
        EXPECT_EQ(Current(), "CE300");
        EXPECT_TRUE(form->eSearch->Focused());
        Keyboard().Press(VK_ESCAPE);
    });
    EXPECT_EQ(Orders->FieldByName("CustNo")->AsString(), "") << "Esc takes nothing";
}

TEST_F(SearchFormTest, ATypedKeyThatMatchesNothingOpensOnNoMatch) {
    Keyboard().Type("zz");
    Run([&](TSearchLookupForm* form) {
        EXPECT_EQ(form->eSearch->Text(), "zz");
        EXPECT_TRUE(form->NoMatch()) << "the records stay where they were, and the form says so";
        EXPECT_FALSE(form->bOk->Enabled());
        Mouse().Click(form->bCancel);
    });
    EXPECT_EQ(CustEdit->Text(), "zz");
}

} // namespace
} // namespace dialog
