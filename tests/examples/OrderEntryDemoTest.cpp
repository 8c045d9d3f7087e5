// The demo's order form as a clerk meets it: the tab order, an order for a
// customer not on file, the lookup forms' captions and place on a small
// screen, the question before the form closes with changes.

#include "examples/OrderEntry.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Screen.h"
#include "tests/examples/ClerksRoad.h"

#include <gtest/gtest.h>

namespace {

using namespace host;
using namespace veskar;
using namespace demo;
using namespace demo::testing;

const char* const kRefusal = "Customer ZZ9 is not on file: the order is not posted.\nPick a customer with Ctrl+F1.";

class OrderEntryDemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterOrderEntryClasses();
        Ui()->ClearShown();
        Ui()->ClearModalAnswers();
        Ui()->ClearMessageAnswers();
        Data.reset(MakeData([](TComponent* owner) { return TMemoryDataSet::Create(owner); }));
        Form.reset(TOrderEntryForm::Create(nullptr));
        Orders = Form->Orders();
        Form->Show();
        Form->CustEdit->SetFocus();
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Form.reset();
        Data.reset();
        Screen()->SetSize(ScreenWidth, ScreenHeight);
        Ui()->ClearModalAnswers();
        Ui()->ClearMessageAnswers();
    }
    static THeadlessBackend* Ui() { return HeadlessBackend(); }
    void TypeCustomer(const char* text) {
        Act([&] {
            Form->CustEdit->SetFocus();
            Form->CustEdit->SelectAll();
            Keyboard().Type(text);
        });
    }
    // The form's picture on a screen of cells: its top left cell and size.
    static TRect CellsOf(const TCustomForm* form) {
        const TPoint at = form->SurfaceOrigin();
        const TRect client = form->ClientCells();
        return Rect(at.X, at.Y, at.X + client.Right + client.Left, at.Y + client.Bottom + client.Top);
    }

    const int ScreenWidth = Screen()->Width();
    const int ScreenHeight = Screen()->Height();
    Owned<TDataModule> Data;
    Owned<TOrderEntryForm> Form;
    TDataSet* Orders = nullptr;
};

TEST_F(OrderEntryDemoTest, TabGoesCustomerPartGridNavigatorAndSkipsTheResults) {
    TDBNavigator* navigator = AddOrderNavigator(Form.get());
    for (TWinControl* next : {static_cast<TWinControl*>(Form->PartEdit), static_cast<TWinControl*>(Form->OrderGrid)}) {
        Keyboard().Press(VK_TAB);
        EXPECT_EQ(FocusManager().Focused(), next) << "focused: " << FocusManager().Focused()->Name();
    }
    // Where Tab goes once it leaves the grid, and back round.
    EXPECT_EQ(Form->FindNextControl(Form->OrderGrid, true, true), navigator);
    EXPECT_EQ(Form->FindNextControl(navigator, true, true), Form->CustEdit);
    Form->CustEdit->SetFocus();
    Keyboard().Press(VK_TAB, TShiftState{ssShift});
    EXPECT_EQ(FocusManager().Focused(), navigator);
}

TEST_F(OrderEntryDemoTest, AnOrderForAnUnknownCustomerIsRefusedAndKept) {
    Ui()->QueueModalAnswer([](TCustomForm*) {});
    TypeCustomer("ZZ9");
    Act([&] { Orders->Post(); });
    ASSERT_EQ(Shown(TShownKind::Exception), std::vector<std::string>{kRefusal});
    EXPECT_EQ(Orders->State(), dsEdit);
    EXPECT_EQ(Form->CustEdit->Text(), "ZZ9");
    EXPECT_EQ(Orders->FieldByName("CustNo")->AsString(), "ZZ9");

    // A customer on file goes through, with its name.
    Act([&] { Orders->FieldByName("CustNo")->SetValue("CE1354"); });
    Act([&] { Orders->Post(); });
    EXPECT_EQ(Shown(TShownKind::Exception).size(), 1u);
    EXPECT_EQ(Orders->State(), dsBrowse);
    EXPECT_EQ(Orders->FieldByName("ShipTo")->AsString(), "Cayman Eastside Dive");
}

TEST_F(OrderEntryDemoTest, TheLookupFormsSayWhatTheyPickAndFitASmallScreen) {
    // 80 columns by 24 rows, the last the status line.
    Screen()->SetSize(80 * kCellWidth, 23 * kCellHeight);
    FitToScreen(Form.get());
    const TRect screen = Rect(0, 0, 80, 23);
    const TRect main = CellsOf(Form.get());
    EXPECT_TRUE(main.Left >= 0 && main.Top >= 0 && main.Right <= 80 && main.Bottom <= 23);

    for (TDBEdit* edit : {Form->CustEdit, Form->PartEdit}) {
        Act([&] { edit->SetFocus(); });
        TRect lookup{};
        Ui()->QueueModalAnswer([&](TCustomForm* form) {
            lookup = CellsOf(form);
            form->SetModalResult(mrCancel);
        });
        Act([&] { Keyboard().Press(VK_F1, TShiftState{ssCtrl}); });
        const TPoint at = edit->ClientOrigin();
        const TRect editCells = Rect(at.X / kCellWidth, at.Y / kCellHeight, (at.X + edit->Width()) / kCellWidth,
                                     at.Y / kCellHeight + 1);
        SCOPED_TRACE(edit->Name());
        EXPECT_TRUE(lookup.Left >= screen.Left && lookup.Top >= screen.Top && lookup.Right <= screen.Right &&
                    lookup.Bottom <= screen.Bottom);
        EXPECT_TRUE(lookup.Top >= editCells.Bottom || lookup.Left >= editCells.Right) << "the edit stays in sight";
    }
    EXPECT_EQ(Shown(TShownKind::ModalForm), (std::vector<std::string>{"Customers", "Parts"}));
    EXPECT_TRUE(Shown(TShownKind::Exception).empty());

    // A screen smaller than the form: the form shrinks onto it.
    Screen()->SetSize(40 * kCellWidth, 12 * kCellHeight);
    FitToScreen(Form.get());
    const TRect small = CellsOf(Form.get());
    EXPECT_TRUE(small.Left >= 0 && small.Top >= 0 && small.Right <= 40 && small.Bottom <= 12);
}

TEST_F(OrderEntryDemoTest, ClosingWithChangesAsksFirst) {
    TypeCustomer("CE1354");
    ASSERT_TRUE(Form->Unsaved());
    Ui()->QueueMessageAnswer(mrCancel);
    Form->Close();
    EXPECT_TRUE(Form->Visible());
    EXPECT_EQ(Orders->State(), dsEdit) << "Cancel keeps the work";

    Ui()->QueueMessageAnswer(mrYes);
    Form->Close();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Orders->State(), dsBrowse);
    EXPECT_EQ(Orders->FieldByName("CustNo")->AsString(), "CE1354") << "Yes saves it";
    EXPECT_EQ(Shown(TShownKind::MessageDlg), std::vector<std::string>(2, "Save changes?"));

    Form->Show();
    TypeCustomer("ZZ9");
    Ui()->QueueModalAnswer([](TCustomForm*) {});
    Ui()->QueueMessageAnswer(mrYes);
    Act([&] { Form->Close(); });
    EXPECT_TRUE(Form->Visible()) << "a save that is refused keeps the form";
    EXPECT_EQ(Shown(TShownKind::Exception), std::vector<std::string>{kRefusal});

    Ui()->QueueMessageAnswer(mrNo);
    Form->Close();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Orders->FieldByName("CustNo")->AsString(), "CE1354") << "No drops the change";

    // Nothing unsaved: no question.
    Form->Show();
    Form->Close();
    EXPECT_EQ(Shown(TShownKind::MessageDlg).size(), 4u);
}

} // namespace
