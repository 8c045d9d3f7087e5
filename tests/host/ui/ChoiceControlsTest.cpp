// A data grid showing the columns it was given, and combo boxes picked from
// by keys and mouse, painted on the form's cells.

#include "host/core/Utf8.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Canvas.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace host;

// Count characters of a painted line from a cell column on.
std::string Cut(const std::string& line, int from, int count) {
    const size_t start = Utf8Offset(line, from);
    return line.substr(start, Utf8Offset(line, from + count) - start);
}

class ChoiceControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard().SetShiftState({});
        Module = TDataModule::Create(nullptr);
        Parts = TMemoryDataSet::Create(Module);
        Parts->FieldDefs().Add("No", ftInteger);
        Parts->FieldDefs().Add("Part", ftString, 8);
        Parts->Open();
        const char* names[] = {"Bolt", "Nut", "Gear"};
        for (int i = 0; i < 3; ++i) Parts->AppendRecord({i + 1, names[i]});
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
        Keyboard().SetShiftState({});
        Form.reset();
        Free(Module);
    }

    std::vector<std::string> Picture() {
        Form->PaintInvalid();
        std::vector<std::string> lines;
        for (int r = 0; r < Form->Surface().Rows(); ++r) lines.push_back(Form->Surface().RowText(r));
        return lines;
    }

    TDBGrid* Grid() {
        TDBGrid* grid = TDBGrid::Create(Form.get());
        grid->SetParent(Form.get());
        grid->SetBounds(0, 0, 24 * kCellWidth, 6 * kCellHeight);
        grid->SetDataSource(Source);
        return grid;
    }

    TComboBox* Combo(TComboBoxStyle style) {
        TComboBox* combo = TComboBox::Create(Form.get());
        combo->SetParent(Form.get());
        combo->SetBounds(0, 0, 12 * kCellWidth, kCellHeight);
        combo->Items()->SetCommaText("Ant,Bee,Cat,Cow");
        combo->SetStyle(style);
        combo->OnChange = [this](TObject*) { ++Changes; };
        combo->OnSelect = [this](TObject*) { ++Selects; };
        Form->Show();
        combo->SetFocus();
        return combo;
    }

    TDataModule* Module = nullptr;
    TMemoryDataSet* Parts = nullptr;
    TDataSource* Source = nullptr;
    Owned<TForm> Form;
    int Changes = 0;
    int Selects = 0;
};

} // namespace

TEST_F(ChoiceControlsTest, AGridShowsItsGivenColumnsInTheirOrderWidthsAndTitles) {
    TDBGrid* grid = Grid();
    const std::vector<std::string> fieldsOwn = Picture();
    EXPECT_EQ(fieldsOwn[0], " │No        │Part       ");

    TColumn* part = grid->Columns()->Add();
    part->SetFieldName("Part");
    part->SetWidth(6 * kCellWidth);
    part->Title()->SetCaption("Name");
    TColumn* no = grid->Columns()->Add();
    no->SetFieldName("No");
    no->SetAlignment(taLeftJustify);
    TColumn* missing = grid->Columns()->Add();
    missing->SetFieldName("Weight");  // no such field: no column

    ASSERT_EQ(grid->FieldCount(), 2);
    EXPECT_EQ(grid->Fields(0), Parts->FieldByName("Part"));
    EXPECT_EQ(grid->Fields(1), Parts->FieldByName("No"));
    EXPECT_EQ(Picture(), (std::vector<std::string>{
                             " │Name │No              ",
                             "─┼─────┼───────────     ",
                             "▶│Bolt │1               ",
                             " │Nut  │2               ",
                             " │Gear │3               ",
                             "                        ",
                         }));

    // A hidden column goes; its field stays hidden while columns are given.
    no->SetVisible(false);
    ASSERT_EQ(grid->FieldCount(), 1);
    EXPECT_EQ(Picture()[0], " │Name                  ");
    // Moved columns show in their new order.
    no->SetVisible(true);
    no->SetIndex(0);
    EXPECT_EQ(grid->Fields(0), Parts->FieldByName("No"));
    // No columns given: every visible field again, as before.
    grid->Columns()->Clear();
    EXPECT_EQ(Picture(), fieldsOwn);
}

TEST_F(ChoiceControlsTest, AReadOnlyColumnTakesNoTypingWhileItsNeighbourDoes) {
    TDBGrid* grid = Grid();
    grid->Columns()->Add()->SetFieldName("No");
    TColumn* part = grid->Columns()->Add();
    part->SetFieldName("Part");
    grid->Columns()->Items(0)->SetReadOnly(true);
    Form->Show();
    grid->SetFocus();

    grid->SetSelectedIndex(0);
    Keyboard().Type("7");
    EXPECT_EQ(Parts->State(), dsBrowse);
    EXPECT_EQ(Parts->FieldByName("No")->AsInteger(), 1);

    grid->SetSelectedIndex(1);
    Keyboard().Type("Rivet");
    Keyboard().Press(VK_RETURN);
    EXPECT_EQ(Parts->FieldByName("Part")->AsString(), "Rivet");
}

TEST_F(ChoiceControlsTest, AListOnlyComboPicksByArrowsAndLettersAndTypesNothingElse) {
    TComboBox* combo = Combo(csDropDownList);
    EXPECT_EQ(combo->ItemIndex(), -1);

    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "Ant");
    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_UP);
    EXPECT_EQ(combo->Text(), "Bee");
    EXPECT_EQ(Selects, 4);
    EXPECT_EQ(Changes, 4);
    // At the first item Up stays there, and tells nothing.
    Keyboard().Press(VK_UP);
    Keyboard().Press(VK_UP);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(Selects, 5);

    // A letter picks the next item starting with it, round the list.
    Keyboard().Type("c");
    EXPECT_EQ(combo->Text(), "Cat");
    Keyboard().Type("C");
    EXPECT_EQ(combo->Text(), "Cow");
    Keyboard().Type("c");
    EXPECT_EQ(combo->Text(), "Cat");
    // A letter no item starts with changes nothing.
    Keyboard().Type("x");
    EXPECT_EQ(combo->Text(), "Cat");
    EXPECT_EQ(combo->ItemIndex(), 2);

    // The program's own choice tells nothing.
    const int selects = Selects;
    combo->SetItemIndex(3);
    EXPECT_EQ(combo->Text(), "Cow");
    EXPECT_EQ(Selects, selects);
    combo->SetItemIndex(9);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->Text(), "");
}

TEST_F(ChoiceControlsTest, AnEditComboTakesTypingAndFindsTheItemOfItsText) {
    TComboBox* combo = Combo(csDropDown);
    Keyboard().Type("Be");
    EXPECT_EQ(combo->Text(), "Be");
    EXPECT_EQ(combo->ItemIndex(), -1);
    Keyboard().Type("e");
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(Selects, 0);  // typed, not picked
    EXPECT_EQ(Changes, 3);
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(combo->Text(), "Cat");
    EXPECT_EQ(Selects, 1);
}

TEST_F(ChoiceControlsTest, TheDroppedListLiesOverTheFormAndTakesKeysAndClicks) {
    TEdit* below = TEdit::Create(Form.get());
    below->SetParent(Form.get());
    below->SetBounds(0, kCellHeight, 12 * kCellWidth, kCellHeight);
    below->SetText("under");
    TComboBox* combo = Combo(csDropDownList);
    combo->SetItemIndex(0);
    std::vector<std::string> closed = Picture();
    EXPECT_EQ(Cut(closed[0], 10, 1), "▼");
    EXPECT_NE(closed[1].find("under"), std::string::npos) << closed[1];

    // Alt+Down drops it below the box, over the edit, the item marked.
    Keyboard().Press(VK_DOWN, {ssAlt});
    ASSERT_TRUE(combo->DroppedDown());
    TCustomListBox* list = combo->DropList();
    EXPECT_EQ(list->Parent(), Form.get());
    EXPECT_EQ(list->Top(), combo->Top() + combo->Height());
    EXPECT_EQ(list->ItemIndex(), 0);
    std::vector<std::string> dropped = Picture();
    EXPECT_NE(dropped[1].find("Ant"), std::string::npos) << dropped[1];
    EXPECT_EQ(dropped[1].find("under"), std::string::npos) << dropped[1];
    EXPECT_NE(dropped[4].find("Cow"), std::string::npos) << dropped[4];
    // Down moves in the list only; Enter takes it and closes.
    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 0);
    Keyboard().Press(VK_RETURN);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Cat");
    EXPECT_EQ(Selects, 1);
    EXPECT_NE(Picture()[1].find("under"), std::string::npos);

    // F4 drops it, Escape closes it leaving the choice.
    Keyboard().Press(VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    Keyboard().Press(VK_UP);
    Keyboard().Press(VK_ESCAPE);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Cat");

    // A click on the button drops it, a click on an item takes it.
    Mouse().Click(combo, Point(combo->Width() - kCellWidth - 2, 3));
    ASSERT_TRUE(combo->DroppedDown());
    Mouse().ClickItem(combo->DropList(), 1);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->Text(), "Bee");
    EXPECT_EQ(Selects, 2);

    // Leaving the box closes the list.
    Keyboard().Press(VK_F4);
    ASSERT_TRUE(combo->DroppedDown());
    below->SetFocus();
    EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(ChoiceControlsTest, ADataComboShowsItsFieldAndWritesThePickBack) {
    TDBComboBox* combo = TDBComboBox::Create(Form.get());
    combo->SetParent(Form.get());
    combo->SetBounds(0, 0, 12 * kCellWidth, kCellHeight);
    combo->Items()->SetCommaText("Bolt,Gear,Nut,Rivet");
    combo->SetStyle(csDropDownList);
    combo->SetDataSource(Source);
    combo->SetDataField("Part");
    EXPECT_EQ(combo->Text(), "Bolt");
    EXPECT_EQ(combo->ItemIndex(), 0);
    Parts->Next();
    EXPECT_EQ(combo->Text(), "Nut");

    Form->Show();
    combo->SetFocus();
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(Parts->FieldByName("Part")->AsString(), "Rivet");
    EXPECT_EQ(Parts->State(), dsEdit);
    Parts->Post();
    Parts->First();
    EXPECT_EQ(combo->Text(), "Bolt");
    Parts->Next();
    EXPECT_EQ(combo->Text(), "Rivet");

    // Read-only, a pick shows the field's value again.
    combo->SetReadOnly(true);
    Keyboard().Type("g");
    EXPECT_EQ(combo->Text(), "Rivet");
    EXPECT_EQ(Parts->State(), dsBrowse);
}
