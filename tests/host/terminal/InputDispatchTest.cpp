#include "host/terminal/InputDispatch.h"
#include "host/terminal/MessageForm.h"
#include "host/terminal/TermColors.h"
#include "host/ui/App.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;
using namespace host::term;

namespace {

// Cells of 8 x 16 pixels. The form's client area starts at 83, 54; the
// edit covers cells 12 to 26 of rows 4 and 5, the button cells 13 to 21 of
// row 7.
class InputDispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Screen()->SetSize(800, 480);
        Keyboard().SetShiftState({});
        form->SetName("Main");
        form->SetBorderStyle(bsSingle);
        form->SetBounds(80, 32, 406, 225);
        edit = TEdit::Create(form.get());
        edit->SetName("Edit");
        edit->SetText("");
        edit->SetBounds(16, 16, 120, 21);
        edit->SetParent(form.get());
        button = TButton::Create(form.get());
        button->SetName("Button");
        button->SetBounds(16, 64, 80, 25);
        button->SetParent(form.get());
        button->OnClick = [this](TObject*) { log.push_back("click"); };
        edit->OnDblClick = [this](TObject*) { log.push_back("double"); };
        form->Show();
    }
    void TearDown() override {
        Application()->OnShortCut = nullptr;
        FocusManager().SetFocus(nullptr);
    }

    TInputEvent MouseAt(int x, int y, bool pressed) {
        TInputEvent e;
        e.Kind = TInputKind::Mouse;
        e.Button = TMouseButtonCode::Left;
        e.Pressed = pressed;
        e.X = x;
        e.Y = y;
        return e;
    }
    void Click(int x, int y, long time) {
        dispatcher.Dispatch(MouseAt(x, y, true), time);
        dispatcher.Dispatch(MouseAt(x, y, false), time + 10);
    }

    Owned<TForm> form{TForm::Create(nullptr)};
    TEdit* edit = nullptr;
    TButton* button = nullptr;
    std::vector<std::string> log;
    TInputDispatcher dispatcher{8, 16};
};

TEST_F(InputDispatchTest, ClicksFindTheControlUnderTheCellFocusItAndClickIt) {
    EXPECT_EQ(ControlAtScreen(dispatcher.CellCentre(12, 4)), edit);
    EXPECT_EQ(ControlAtScreen(dispatcher.CellCentre(13, 7)), button);
    EXPECT_EQ(ControlAtScreen(dispatcher.CellCentre(40, 10)), form.get());
    EXPECT_EQ(ControlAtScreen(dispatcher.CellCentre(5, 5)), nullptr);
    Click(12, 4, 1000);
    EXPECT_EQ(FocusedControl(), edit);
    EXPECT_TRUE(log.empty());
    Click(13, 7, 2000);
    EXPECT_EQ(FocusedControl(), button);
    EXPECT_EQ(log, (std::vector<std::string>{"click"}));
    // A release elsewhere than the press is no click.
    dispatcher.Dispatch(MouseAt(13, 7, true), 3000);
    dispatcher.Dispatch(MouseAt(50, 20, false), 3010);
    EXPECT_EQ(log.size(), 1u);
    // A graphic control inside an edit (the lookup button's kind) is found.
    TSpeedButton* inner = TSpeedButton::Create(edit);
    inner->SetBounds(100, 0, 19, 19);
    inner->SetParent(edit);
    EXPECT_EQ(ControlAtScreen(dispatcher.CellCentre(25, 4)), inner);
    EXPECT_EQ(ControlAtScreen(dispatcher.CellCentre(13, 4)), edit);
}

TEST_F(InputDispatchTest, TwoQuickPressesOnOneCellAreADoubleClick) {
    Click(14, 4, 1000);
    Click(14, 4, 1200);
    EXPECT_EQ(log, (std::vector<std::string>{"double"}));
    Click(14, 4, 3000);
    Click(15, 4, 3100);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(InputDispatchTest, AModalRunKeepsClicksOnItsOwnFormAndStaysOnTop) {
    Owned<TForm> dialog(TForm::Create(nullptr));
    dialog->SetBounds(400, 200, 200, 100);
    dialog->Show();
    TModalRuns::TScope running(dialog.get());
    std::vector<TCustomForm*> order = FormsInZOrder();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order.back(), dialog.get());
    // The form under the dialog is active (it has the focus) and still below.
    edit->SetFocus();
    EXPECT_EQ(FormsInZOrder().back(), dialog.get());
    Click(13, 7, 1000);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(FocusedControl(), edit);
}

TEST_F(InputDispatchTest, KeysPassTheShortCutHookThenReachTheFocusedControl) {
    edit->SetFocus();
    std::vector<std::uint16_t> taken;
    Application()->OnShortCut = [&](std::uint16_t key, TShiftState shift, bool& handled) {
        if (shift == TShiftState{ssCtrl} && key == 'Q') {
            taken.push_back(key);
            handled = true;
        }
    };
    TInputEvent text;
    text.Kind = TInputKind::Text;
    for (const char* piece : {"a", "B", "\xC3\xA9"}) {
        text.Text = piece;
        dispatcher.Dispatch(text, 0);
    }
    TInputEvent key;
    key.Kind = TInputKind::Key;
    key.Key = 'Q';
    key.Shift = {ssCtrl};
    dispatcher.Dispatch(key, 0);
    EXPECT_EQ(taken, (std::vector<std::uint16_t>{'Q'}));
    EXPECT_EQ(edit->Text(), "aB\xC3\xA9");
    key.Key = VK_BACK;
    key.Shift = {};
    dispatcher.Dispatch(key, 0);
    EXPECT_EQ(edit->Text(), "aB\xC3");
    key.Key = VK_TAB;
    dispatcher.Dispatch(key, 0);
    EXPECT_EQ(FocusedControl(), button);
    key.Shift = {ssShift};
    dispatcher.Dispatch(key, 0);
    EXPECT_EQ(FocusedControl(), edit);
}

TEST_F(InputDispatchTest, TheCloseBoxClosesTheForm) {
    // The caption bar spans rows 2 and 3; its last three cells (of 8) are the box.
    const int right = (80 + 406) / 8;
    EXPECT_TRUE(InCloseBox(form.get(), dispatcher.CellCentre(right - 1, 2), 8));
    EXPECT_FALSE(InCloseBox(form.get(), dispatcher.CellCentre(right - 8, 2), 8));
    EXPECT_FALSE(InCloseBox(form.get(), dispatcher.CellCentre(right - 1, 6), 8));
    Click(right - 6, 2, 1000);
    EXPECT_TRUE(form->Visible());
    Click(right - 1, 2, 2000);
    EXPECT_FALSE(form->Visible());
}

TEST(MessageForm, TextOverAnOkButtonThatEnterAndEscPress) {
    Screen()->SetSize(800, 480);
    Owned<TForm> box(MakeMessageForm("Order entry", "No customer has that number.\nSecond line", 8, 16));
    EXPECT_EQ(box->Caption(), "Order entry");
    EXPECT_EQ(box->Position(), poScreenCenter);
    std::vector<std::string> texts;
    TButton* ok = nullptr;
    for (int i = 0; i < box->ControlCount(); ++i) {
        if (auto* label = dynamic_cast<TStaticText*>(box->Controls(i))) texts.push_back(label->Caption());
        if (auto* button = dynamic_cast<TButton*>(box->Controls(i))) ok = button;
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"No customer has that number.", "Second line"}));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->Default());
    EXPECT_TRUE(ok->Cancel());
    EXPECT_EQ(ok->ModalResult(), mrOk);
    // Wide enough for the longest line with a margin, and on the screen.
    EXPECT_GE(box->ClientWidth(), (28 + 4) * 8);
    EXPECT_LE(box->Width(), 800);
    HeadlessBackend()->QueueModalAnswer([](TCustomForm*) { Keyboard().Press(VK_ESCAPE); });
    EXPECT_EQ(box->ShowModal(), mrOk);
    HeadlessBackend()->ClearShown();
}

TEST(TermColors, NearestPaletteColours) {
    EXPECT_EQ(NearestTerminalColor(0, 0, 0, 8), 0);
    EXPECT_EQ(NearestTerminalColor(255, 255, 255, 8), 7);
    EXPECT_EQ(NearestTerminalColor(255, 255, 255, 16), 15);
    EXPECT_EQ(NearestTerminalColor(0, 0, 128, 8), 4);
    EXPECT_EQ(NearestTerminalColor(192, 192, 192, 256), 250);
    EXPECT_EQ(NearestTerminalColor(0, 0, 128, 256), 18);
    EXPECT_EQ(NearestTerminalColor(255, 0, 0, 256), 9);
}

} // namespace
