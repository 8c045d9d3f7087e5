#include "host/terminal/InputDispatch.h"
#include "host/terminal/TermColors.h"
#include "host/ui/App.h"
#include "host/ui/Backend.h"
#include "host/ui/ExtCtrls.h"
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

// A form with an edit and a button, painted, so its picture is on the
// screen's cells.
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
        form->PaintInvalid();
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
    void Click(TPoint cell, long time) { Click(cell.X, cell.Y, time); }
    // The screen cell of a pixel of the form's client area.
    TPoint Cell(int x, int y) {
        const TPoint origin = form->SurfaceOrigin();
        const TRect client = form->ClientCells();
        return Point(origin.X + client.Left + PixelToColumn(x), origin.Y + client.Top + PixelToRow(y));
    }
    // The cell one in from a control's top left corner.
    TPoint Inside(TControl* control) { return Cell(control->Left() + kCellWidth, control->Top() + 1); }

    Owned<TForm> form{TForm::Create(nullptr)};
    TEdit* edit = nullptr;
    TButton* button = nullptr;
    std::vector<std::string> log;
    TInputDispatcher dispatcher;
};

TEST_F(InputDispatchTest, ClicksFindTheControlUnderTheCellFocusItAndClickIt) {
    const THit onEdit = HitTest(Inside(edit));
    EXPECT_EQ(onEdit.Form, form.get());
    EXPECT_EQ(onEdit.Control, edit);
    EXPECT_TRUE(edit->ClientRect().Contains(onEdit.Point));
    EXPECT_EQ(HitTest(Inside(button)).Control, button);
    EXPECT_EQ(HitTest(Cell(300, 150)).Control, form.get());
    // The frame is the form's, and beside the form there is nothing.
    const TPoint origin = form->SurfaceOrigin();
    EXPECT_EQ(HitTest(origin).Control, form.get());
    EXPECT_EQ(HitTest(Point(origin.X - 1, origin.Y)).Control, nullptr);
    Click(Inside(edit), 1000);
    EXPECT_EQ(FocusedControl(), edit);
    EXPECT_TRUE(log.empty());
    Click(Inside(button), 2000);
    EXPECT_EQ(FocusedControl(), button);
    EXPECT_EQ(log, (std::vector<std::string>{"click"}));
    // A release elsewhere than the press is no click.
    dispatcher.Dispatch(MouseAt(Inside(button).X, Inside(button).Y, true), 3000);
    dispatcher.Dispatch(MouseAt(Cell(300, 150).X, Cell(300, 150).Y, false), 3010);
    EXPECT_EQ(log.size(), 1u);
    // A graphic control inside an edit (the lookup button's kind) is found.
    TSpeedButton* inner = TSpeedButton::Create(edit);
    inner->SetBounds(100, 0, 19, 19);
    inner->SetParent(edit);
    EXPECT_EQ(HitTest(Cell(16 + 100 + 8, 17)).Control, inner);
    EXPECT_EQ(HitTest(Inside(edit)).Control, edit);
}

TEST_F(InputDispatchTest, AClickOnAListBoxRowSelectsTheItemPaintedThere) {
    // Panels at every offset from the cell rows, the list box inside: the
    // rows of a list start on the cell row its top rounds to.
    TPanel* panel = TPanel::Create(form.get());
    panel->SetBevelOuter(bvNone);
    panel->SetParent(form.get());
    TListBox* list = TListBox::Create(form.get());
    list->SetParent(panel);
    for (int i = 0; i < 30; ++i) list->Items()->Add("Item " + std::to_string(i));
    long time = 1000;
    for (int offset = 0; offset < kCellHeight; ++offset) {
        SCOPED_TRACE("offset " + std::to_string(offset));
        panel->SetBounds(150, offset, 200, 12 * kCellHeight);
        list->SetBounds(0, 3, 180, 10 * kCellHeight + offset / 2);
        list->SetTopIndex(offset % 3 == 0 ? 0 : 12);
        form->PaintInvalid();
        const TPoint origin = form->SurfaceOrigin();
        int painted = 0;
        for (int row = 0; row < form->Surface().Rows(); ++row) {
            const std::string text = form->Surface().RowText(row);
            const auto at = text.find("Item ");
            if (at == std::string::npos) continue;
            const int item = std::stoi(text.substr(at + 5));
            ++painted;
            // Columns, not bytes: the row holds box-drawing characters.
            const int column = static_cast<int>(DecodeUtf8(text.substr(0, at)).size());
            Click(origin.X + column + 1, origin.Y + row, time += 1000);
            EXPECT_EQ(list->ItemIndex(), item) << "row " << row;
            // The item's rectangle is that row; its middle hits it.
            const TRect r = list->ItemRect(item);
            EXPECT_EQ(list->ItemAtPos(Point(r.Left + 4, r.Top + r.Height() / 2), true), item);
            EXPECT_EQ(r.Height(), list->ItemHeight());
        }
        // Every row shown is an item that scrolling keeps in view whole.
        EXPECT_EQ(painted, list->VisibleRows());
    }
    // The ten rows hold ten items: the last in view is under the last row.
    list->SetTopIndex(0);
    EXPECT_EQ(list->ItemHeight(), kCellHeight);
    list->SetItemIndex(25);
    EXPECT_EQ(list->TopIndex(), 25 - list->VisibleRows() + 1);
}

TEST_F(InputDispatchTest, TheWheelReachesTheControlUnderTheMouse) {
    TListBox* list = TListBox::Create(form.get());
    list->SetParent(form.get());
    list->SetBounds(200, 0, 120, 5 * kCellHeight);
    for (int i = 0; i < 20; ++i) list->Items()->Add("Item " + std::to_string(i));
    auto wheel = [&](TPoint cell, bool down) {
        const std::string report = "\x1b[<" + std::string(down ? "65;" : "64;") + std::to_string(cell.X + 1) + ";" +
                                   std::to_string(cell.Y + 1) + "M";
        const TDecoded decoded = DecodeInput(report, true);
        ASSERT_EQ(decoded.Length, report.size());
        dispatcher.Dispatch(decoded.Event, 1000);
    };
    wheel(Inside(list), true);
    wheel(Inside(list), true);
    EXPECT_EQ(list->TopIndex(), 6);
    wheel(Inside(list), false);
    EXPECT_EQ(list->TopIndex(), 3);
    // The edit has focus and is not under the mouse: it sees nothing.
    EXPECT_EQ(list->ItemIndex(), -1);
    // Over a control that takes no wheel nothing moves; beside every form
    // the wheel finds nothing.
    wheel(Inside(button), true);
    EXPECT_EQ(list->TopIndex(), 3);
    // Beside every form the wheel finds nothing.
    wheel(Point(form->SurfaceOrigin().X - 1, 0), true);
    EXPECT_EQ(list->TopIndex(), 3);
}

TEST_F(InputDispatchTest, TwoQuickPressesOnOneCellAreADoubleClick) {
    const TPoint cell = Inside(edit);
    Click(cell, 1000);
    Click(cell, 1200);
    EXPECT_EQ(log, (std::vector<std::string>{"double"}));
    Click(cell, 3000);
    Click(cell.X + 1, cell.Y, 3100);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(InputDispatchTest, AModalRunKeepsClicksOnItsOwnFormAndStaysOnTop) {
    Owned<TForm> dialog(TForm::Create(nullptr));
    dialog->SetBounds(500, 300, 200, 100);
    dialog->Show();
    dialog->PaintInvalid();
    TModalRuns::TScope running(dialog.get());
    std::vector<TCustomForm*> order = FormsInZOrder();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order.back(), dialog.get());
    // The form under the dialog is active (it has the focus) and still below.
    edit->SetFocus();
    EXPECT_EQ(FormsInZOrder().back(), dialog.get());
    Click(Inside(button), 1000);
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
    EXPECT_EQ(edit->Text(), "aB");
    key.Key = VK_TAB;
    dispatcher.Dispatch(key, 0);
    EXPECT_EQ(FocusedControl(), button);
    key.Shift = {ssShift};
    dispatcher.Dispatch(key, 0);
    EXPECT_EQ(FocusedControl(), edit);
}

TEST_F(InputDispatchTest, TheCloseBoxClosesTheForm) {
    // The three cells before the top right corner of the picture.
    const TPoint origin = form->SurfaceOrigin();
    const int right = origin.X + form->Surface().Columns() - 1;
    EXPECT_TRUE(InCloseBox(form.get(), Point(right - 1 - origin.X, 0)));
    EXPECT_FALSE(InCloseBox(form.get(), Point(right - origin.X, 0)));
    EXPECT_FALSE(InCloseBox(form.get(), Point(right - 1 - origin.X, 1)));
    Click(right - 6, origin.Y, 1000);
    EXPECT_TRUE(form->Visible());
    Click(right - 2, origin.Y, 2000);
    EXPECT_FALSE(form->Visible());
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
