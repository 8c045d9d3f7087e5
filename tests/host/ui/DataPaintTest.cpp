// Data-aware controls painted and driven: the data grid, the navigator,
// data-aware text and check boxes.

#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Canvas.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using namespace host;

// An in-memory dataset that writes down which records were read.
class TCountingDataSet : public TMemoryDataSet {
    HOST_CLASS(TCountingDataSet, TMemoryDataSet)
public:
    mutable std::set<int> Read;

protected:
    explicit TCountingDataSet(TComponent* owner) : TMemoryDataSet(owner) {}
    Variant InternalGetValue(int record, int field) const override {
        Read.insert(record);
        return TMemoryDataSet::InternalGetValue(record, field);
    }
};
HOST_IMPLEMENT_COMPONENT(TCountingDataSet, TMemoryDataSet)

std::vector<std::string> Lines(const TCellSurface& surface) {
    std::vector<std::string> lines;
    for (int r = 0; r < surface.Rows(); ++r) lines.push_back(surface.RowText(r));
    return lines;
}

class DataPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        Module = TDataModule::Create(nullptr);
        Parts = TCountingDataSet::Create(Module);
        Parts->FieldDefs().Add("No", ftInteger);
        Parts->FieldDefs().Add("Part", ftString, 8);
        Parts->Open();
        const char* names[] = {"Bolt", "Nut", "Gear", "Cog", "Pin", "Axle", "Cam", "Rod", "Hub", "Pad"};
        for (int i = 0; i < 10; ++i) Parts->AppendRecord({i + 1, names[i]});
        Parts->First();
        Source = TDataSource::Create(Module);
        Source->SetDataSet(Parts);
        Form = Owned<TForm>(TForm::Create(nullptr));
        Form->SetBorderStyle(bsNone);
        Form->SetClientWidth(24 * kCellWidth);
        Form->SetClientHeight(6 * kCellHeight);
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Form.reset();
        Free(Module);
    }

    std::vector<std::string> Picture() {
        Form->PaintInvalid();
        return Lines(Form->Surface());
    }

    TDataModule* Module = nullptr;
    TCountingDataSet* Parts = nullptr;
    TDataSource* Source = nullptr;
    Owned<TForm> Form;
};

} // namespace

TEST_F(DataPaintTest, GridShowsTitlesColumnsAndTheCurrentRecordReadingOnlyWhatShows) {
    TDBGrid* grid = TDBGrid::Create(Form.get());
    grid->SetParent(Form.get());
    grid->SetBounds(0, 0, 24 * kCellWidth, 6 * kCellHeight);
    grid->SetDataSource(Source);
    Parts->Read.clear();

    // Titles and their line, then four records; the indicator marks the
    // cursor's. Columns are as wide as their fields;
    // past the last one the grid is bare.
    EXPECT_EQ(Picture(), (std::vector<std::string>{
                             " │No        │Part       ",
                             "─┼──────────┼─────────  ",
                             "▶│         1│Bolt       ",
                             " │         2│Nut        ",
                             " │         3│Gear       ",
                             " │         4│Cog        ",
                         }));
    EXPECT_EQ(Parts->Read, (std::set<int>{0, 1, 2, 3}));

    // Moving the cursor past the last row in view scrolls it into view, and
    // reads only the rows now shown.
    Parts->Read.clear();
    Parts->MoveBy(6);
    auto picture = Picture();
    EXPECT_EQ(picture[2], " │         4│Cog        ");
    EXPECT_EQ(picture[5], "▶│         7│Cam        ");
    EXPECT_EQ(Parts->Read, (std::set<int>{3, 4, 5, 6}));
    // The mouse meets the rows as they are shown: a click on the first
    // record row picks record 4.
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3 * kCellWidth, 2 * kCellHeight + 3));
    EXPECT_EQ(Parts->RecNo(), 4);

    // Focused, the current cell is highlighted; an edit shows its mark.
    Form->Show();
    grid->SetFocus();
    grid->SetSelectedIndex(1);
    Picture();
    const TCell part = Form->Surface().CellAt(13, 2);
    EXPECT_EQ(part.Back, clHighlight);
    EXPECT_EQ(Form->Surface().CellAt(3, 2).Back, clWindow);
    Parts->Edit();
    EXPECT_EQ(Picture()[2].substr(0, 1), "I");

    // An insert shows the new record at its place, with its mark.
    Parts->Cancel();
    Parts->Insert();
    picture = Picture();
    EXPECT_EQ(picture[2], "*│          │           ");
    EXPECT_EQ(picture[3], " │         4│Cog        ");
    Parts->Cancel();
}

TEST_F(DataPaintTest, GridShowsLargeIntegersWholeAndRightAligned) {
    TMemoryDataSet* ids = TMemoryDataSet::Create(Module);
    ids->FieldDefs().Add("Id", ftLargeint);
    ids->Open();
    ids->AppendRecord({int64_t{9007199254740993}});
    ids->AppendRecord({7});
    ids->First();
    Source->SetDataSet(ids);
    TDBGrid* grid = TDBGrid::Create(Form.get());
    grid->SetParent(Form.get());
    grid->SetBounds(0, 0, 24 * kCellWidth, 4 * kCellHeight);
    grid->SetDataSource(Source);
    const std::vector<std::string> picture = Picture();
    EXPECT_EQ(picture[2], "▶│    9007199254740993  ") << "a column of 20: any value whole";
    EXPECT_EQ(picture[3], " │                   7  ");
}

TEST_F(DataPaintTest, GridEditorSitsOnTheCurrentCell) {
    TDBGrid* grid = TDBGrid::Create(Form.get());
    grid->SetParent(Form.get());
    grid->SetBounds(0, 0, 24 * kCellWidth, 6 * kCellHeight);
    grid->SetDataSource(Source);
    Form->Show();
    grid->SetFocus();
    grid->ShowEditor();
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    EXPECT_EQ(Picture()[2], "▶│         1│Bolt       ") << "a number stays right-aligned in the editor";
    grid->SetSelectedIndex(1);
    EXPECT_EQ(grid->InplaceEditor()->Alignment(), taLeftJustify);
    EXPECT_EQ(grid->InplaceEditor()->MaxLength(), 8) << "the field's size";
    Parts->Next();
    grid->ShowEditor();
    EXPECT_EQ(grid->InplaceEditor()->BoundsRect(), Rect(13 * kCellWidth, 3 * kCellHeight, 21 * kCellWidth, 4 * kCellHeight));
    Keyboard().Type("X");
    // Typing edits the record: the indicator says so. What is typed first
    // replaces the cell's text.
    EXPECT_EQ(Picture()[3], "I│         2│X          ");
    EXPECT_EQ(Form->Surface().Caret(), Point(14, 3));
}

TEST_F(DataPaintTest, NavigatorEnablesButtonsByStateAndPosition) {
    TDBNavigator* nav = TDBNavigator::Create(Form.get());
    nav->SetParent(Form.get());
    nav->SetBounds(0, 0, 20 * kCellWidth, kCellHeight);
    auto enabled = [&] {
        std::string marks;
        for (int i = nbFirst; i <= nbRefresh; ++i)
            marks += nav->Buttons(static_cast<TNavigateBtn>(i))->Enabled() ? '1' : '0';
        return marks;
    };
    // No data source: nothing to do.
    EXPECT_EQ(enabled(), "0000000000");
    nav->SetDataSource(Source);
    // On the first record: no way back; no edit to post or cancel.
    EXPECT_EQ(enabled(), "0011111001");
    Parts->Next();
    EXPECT_EQ(enabled(), "1111111001");
    Parts->Last();
    EXPECT_EQ(enabled(), "1100111001");
    // Editing: post and cancel; no edit, and no refresh that would post.
    Parts->Edit();
    EXPECT_EQ(enabled(), "1100110110");
    nav->BtnClick(nbCancel);
    EXPECT_EQ(Parts->State(), dsBrowse);
    // A read-only dataset moves but does not change.
    Parts->First();
    Parts->SetReadOnly(true);
    Source->DataSet()->Refresh();
    EXPECT_EQ(enabled(), "0011000001");
    // A disabled button does nothing; an enabled one acts and tells.
    std::vector<TNavigateBtn> clicked;
    nav->OnNavClick = [&](TObject*, TNavigateBtn button) { clicked.push_back(button); };
    nav->BtnClick(nbDelete);
    EXPECT_EQ(Parts->RecordCount(), 10);
    nav->BtnClick(nbLast);
    EXPECT_EQ(Parts->RecNo(), 10);
    EXPECT_EQ(clicked, (std::vector<TNavigateBtn>{nbLast}));
    // The buttons share the width and show their marks.
    EXPECT_EQ(Picture()[0].substr(0, 8), "|< < >>|");
    // A closed dataset disables them all.
    Parts->Close();
    EXPECT_EQ(enabled(), "0000000000");
}

TEST_F(DataPaintTest, NavigatorWorksFromTheKeyboardWhenFocused) {
    TDBNavigator* nav = TDBNavigator::Create(Form.get());
    nav->SetParent(Form.get());
    nav->SetBounds(0, 0, 20 * kCellWidth, kCellHeight);
    nav->SetDataSource(Source);
    nav->SetVisibleButtons({nbPrior, nbNext, nbLast, nbDelete});
    Form->Show();
    EXPECT_EQ(nav->FocusedButton(), nbPrior) << "a button that shows";
    nav->SetFocus();
    const auto reversed = [&](int column) { return (Form->Surface().CellAt(column, 0).Attrs & caReverse) != 0; };
    Picture();
    EXPECT_TRUE(reversed(0));
    EXPECT_FALSE(reversed(6));
    // Right passes the hidden First; Left stops at the first shown.
    Keyboard().Press(VK_RIGHT);
    Keyboard().Press(VK_RIGHT);
    EXPECT_EQ(nav->FocusedButton(), nbLast);
    Picture();
    EXPECT_FALSE(reversed(0));
    EXPECT_TRUE(reversed(10));
    Keyboard().Press(VK_SPACE);
    EXPECT_EQ(Parts->RecNo(), 10);
    Keyboard().Press(VK_LEFT);
    Keyboard().Press(VK_LEFT);
    Keyboard().Press(VK_LEFT);
    EXPECT_EQ(nav->FocusedButton(), nbPrior);
    Keyboard().Press(VK_SPACE);
    EXPECT_EQ(Parts->RecNo(), 9);
    // Without the focus no button shows as the keyboard's.
    FocusManager().SetFocus(nullptr);
    Picture();
    EXPECT_FALSE(reversed(0));
}

TEST_F(DataPaintTest, DataAwareTextAndCheckBoxFollowTheirField) {
    Parts->Close();
    Parts->FieldDefs().Add("Stock", ftBoolean);
    Parts->Open();
    Parts->AppendRecord({1, "Bolt", true});
    Parts->AppendRecord({2, "Nut", Variant::Null()});
    Parts->First();
    TDBText* text = TDBText::Create(Form.get());
    text->SetParent(Form.get());
    text->SetBounds(0, 0, 10 * kCellWidth, kCellHeight);
    text->SetDataSource(Source);
    text->SetDataField("Part");
    TDBCheckBox* stock = TDBCheckBox::Create(Form.get());
    stock->SetParent(Form.get());
    stock->SetBounds(0, kCellHeight, 10 * kCellWidth, kCellHeight);
    stock->SetCaption("Stock");
    stock->SetDataSource(Source);
    stock->SetDataField("Stock");

    EXPECT_EQ(Picture()[0].substr(0, 10), "Bolt      ");
    EXPECT_EQ(Picture()[1].substr(0, 10), "[x] Stock ");
    Parts->Next();
    EXPECT_EQ(stock->State(), cbGrayed);
    EXPECT_EQ(Picture()[0].substr(0, 10), "Nut       ");
    EXPECT_EQ(Picture()[1].substr(0, 10), "[-] Stock ");

    // Toggling writes the field, through an edit of the dataset.
    Form->Show();
    stock->SetFocus();
    Keyboard().Type(" ");
    EXPECT_EQ(Parts->State(), dsEdit);
    EXPECT_TRUE(Parts->FieldByName("Stock")->AsBoolean());
    Parts->Post();
    EXPECT_EQ(stock->State(), cbChecked);
    // A field written elsewhere shows at once.
    Parts->Edit();
    Parts->FieldByName("Part")->SetAsString("Washer");
    EXPECT_EQ(Picture()[0].substr(0, 10), "Washer    ");
    Parts->Cancel();
    // A read-only box keeps the field as it is.
    stock->SetReadOnly(true);
    Keyboard().Type(" ");
    EXPECT_EQ(Parts->State(), dsBrowse);
    EXPECT_EQ(stock->State(), cbChecked);
    EXPECT_TRUE(Parts->FieldByName("Stock")->AsBoolean());
}

TEST_F(DataPaintTest, TheWheelMovesTheDataGridsRecordAndTheGridsRowByOneANotch) {
    TDBGrid* grid = TDBGrid::Create(Form.get());
    grid->SetParent(Form.get());
    grid->SetBounds(0, 0, 24 * kCellWidth, 6 * kCellHeight);
    grid->SetDataSource(Source);
    grid->SetSelectedIndex(1);
    TEdit* other = TEdit::Create(Form.get());
    other->SetParent(Form.get());
    other->SetBounds(0, 6 * kCellHeight, 10 * kCellWidth, kCellHeight);
    Form->SetClientHeight(7 * kCellHeight);
    Form->Show();
    other->SetFocus();

    // Toward the user: down a record a notch; the grid takes the focus and
    // scrolls as the cursor goes, as with the arrow keys.
    Mouse().Wheel(grid, -1);
    EXPECT_EQ(Parts->RecNo(), 2);
    EXPECT_TRUE(grid->Focused());
    Mouse().Wheel(grid, -5);
    EXPECT_EQ(Parts->RecNo(), 7);
    EXPECT_EQ(Picture()[5], "▶│         7│Cam        ");
    Mouse().Wheel(grid, 2);
    EXPECT_EQ(Parts->RecNo(), 5);
    // A fine wheel turns half a notch at a time: two make one record.
    grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, static_cast<std::uint16_t>(-WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(Parts->RecNo(), 5);
    grid->Perform(WM_MOUSEWHEEL, MakeWParam(0, static_cast<std::uint16_t>(-WHEEL_DELTA / 2)), 0);
    EXPECT_EQ(Parts->RecNo(), 6);
    // Past the end it stays on the last record.
    Mouse().Wheel(grid, -20);
    EXPECT_EQ(Parts->RecNo(), 10);

    // Over the cell editor the wheel reaches the grid; what was typed goes
    // with its record.
    grid->ShowEditor();
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    Keyboard().Press(VK_END);
    Keyboard().Type("X");
    Mouse().Wheel(grid->InplaceEditor(), 1);
    EXPECT_EQ(Parts->RecNo(), 9);
    EXPECT_EQ(Parts->State(), dsBrowse);
    Parts->Next();
    EXPECT_EQ(Parts->FieldByName("Part")->AsString(), "PadX");

    // A grid without data moves its current row, one a notch.
    TStringGrid* plain = TStringGrid::Create(Form.get());
    plain->SetParent(Form.get());
    plain->SetRowCount(20);
    plain->SetBounds(0, 0, 10 * kCellWidth, 4 * kCellHeight);
    Mouse().Wheel(plain, -3);
    EXPECT_EQ(plain->Row(), 4);
    Mouse().Wheel(plain, 10);
    EXPECT_EQ(plain->Row(), 1);
}

TEST_F(DataPaintTest, TabCrossesAGridsColumnsOnlyWithTabsAndLeavesItPastTheEnds) {
    TEdit* before = TEdit::Create(Form.get());
    before->SetParent(Form.get());
    TDBGrid* grid = TDBGrid::Create(Form.get());
    grid->SetParent(Form.get());
    grid->SetBounds(0, kCellHeight, 24 * kCellWidth, 4 * kCellHeight);
    TEdit* after = TEdit::Create(Form.get());
    after->SetParent(Form.get());
    grid->SetDataSource(Source);
    Form->Show();

    // With dgTabs: across the columns, then out; Shift+Tab likewise back.
    grid->SetFocus();
    grid->SetSelectedIndex(0);
    Keyboard().Press(VK_TAB);
    EXPECT_EQ(grid->SelectedIndex(), 1);
    EXPECT_TRUE(grid->Focused());
    Keyboard().Press(VK_TAB);
    EXPECT_TRUE(after->Focused()) << "Tab past the last column leaves the grid";
    grid->SetFocus();
    grid->ShowEditor();  // from the cell's editor alike
    Keyboard().Press(VK_TAB, {ssShift});
    EXPECT_EQ(grid->SelectedIndex(), 0);
    Keyboard().Press(VK_TAB, {ssShift});
    EXPECT_TRUE(before->Focused()) << "Shift+Tab before the first column leaves the grid";

    // Without dgTabs Tab is the form's at once.
    grid->SetOptions(grid->Options() - TDBGridOptions{dgTabs});
    grid->SetFocus();
    Keyboard().Press(VK_TAB);
    EXPECT_TRUE(after->Focused());
    EXPECT_EQ(grid->SelectedIndex(), 0);
}
