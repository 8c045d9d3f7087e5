// Edit boxes, the data-aware edit and the grids, driven through messages.

#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace host;

void Type(TWinControl* control, const std::string& text) {
    for (char c : text) control->Perform(WM_CHAR, static_cast<unsigned char>(c));
}

void Press(TWinControl* control, std::uint16_t key) { control->Perform(WM_KEYDOWN, key); }

// Writes down the messages a control's window procedure sees.
class TMessageLog : public TObject, public TWndProcHook {
public:
    TMessageLog() : TWndProcHook(this) {}
    std::vector<TMessage> Seen;
    void BeforeWndProc(TMessage& message) override { Seen.push_back(message); }
    void AfterWndProc(TMessage&) override {}
    void ControlDestroyed(TControl*) override {}
    std::vector<TMessage> Of(unsigned msg) const {
        std::vector<TMessage> out;
        for (const auto& m : Seen)
            if (m.Msg == msg) out.push_back(m);
        return out;
    }
};

class DataControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Module = TDataModule::Create(nullptr);
        People = TMemoryDataSet::Create(Module);
        People->FieldDefs().Add("Id", ftInteger);
        People->FieldDefs().Add("Name", ftString, 20);
        People->FieldDefs().Add("City", ftString, 20);
        People->Open();
        People->AppendRecord({1, "Ada", "Oslo"});
        People->AppendRecord({2, "Bo", "Rome"});
        People->AppendRecord({3, "Cy", "Lima"});
        People->First();
        Source = TDataSource::Create(Module);
        Source->SetDataSet(People);
        Form = TWinControl::Create(nullptr);
        Other = TEdit::Create(Form);
        Other->SetParent(Form);
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Free(Form);
        Free(Module);
    }

    std::string Name() const { return People->FieldByName("Name")->AsString(); }

    TDataModule* Module = nullptr;
    TMemoryDataSet* People = nullptr;
    TDataSource* Source = nullptr;
    TWinControl* Form = nullptr;
    TEdit* Other = nullptr;
};

// --- edit boxes --------------------------------------------------------------

TEST_F(DataControlsTest, EditTypesAtTheEndAndBackspaceRemoves) {
    TEdit* edit = TEdit::Create(Form);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("ab");
    Type(edit, "c\x01");  // a control character is not text
    EXPECT_EQ(edit->Text(), "abc");
    Type(edit, "\b\b");
    EXPECT_EQ(edit->Text(), "a");
    Type(edit, "\b\b");
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(changes, 5);

    edit->OnKeyPress = [](TObject*, char& key) { if (key == 'x') key = 0; else if (key == 'l') key = 'L'; };
    Type(edit, "xlx");
    EXPECT_EQ(edit->Text(), "L");

    EXPECT_TRUE(edit->Modified());
    edit->SetModified(false);
    edit->SetText("by program");
    EXPECT_FALSE(edit->Modified());

    edit->SetText("L");
    edit->SetMaxLength(2);
    Type(edit, "mn");
    EXPECT_EQ(edit->Text(), "Lm");
    Type(edit, "\bo");
    EXPECT_EQ(edit->Text(), "Lo");
    edit->SetMaxLength(0);

    edit->SetText("L");
    edit->SetModified(false);
    edit->SetReadOnly(true);
    Type(edit, "zz\b");
    EXPECT_EQ(edit->Text(), "L");
    EXPECT_FALSE(edit->Modified());
    edit->SetText("set");  // the program still may
    EXPECT_EQ(edit->Text(), "set");
}

// --- TDBEdit -----------------------------------------------------------------

TEST_F(DataControlsTest, DBEditShowsTheFieldAndFollowsTheCursor) {
    TDBEdit* edit = TDBEdit::Create(Form);
    edit->SetParent(Form);
    edit->SetDataSource(Source);
    edit->SetDataField("Name");
    EXPECT_EQ(edit->Field(), People->FieldByName("Name"));
    EXPECT_EQ(edit->Text(), "Ada");
    People->Next();
    EXPECT_EQ(edit->Text(), "Bo");
    edit->SetDataField("City");
    EXPECT_EQ(edit->Text(), "Rome");
    People->Close();
    EXPECT_EQ(edit->Field(), nullptr);
    EXPECT_EQ(edit->Text(), "");
    People->Open();
    EXPECT_EQ(edit->Field(), People->FieldByName("City"));
    EXPECT_EQ(edit->Text(), "Oslo");
}

TEST_F(DataControlsTest, DBEditTypingEditsTheDataSetAndEnterWritesTheField) {
    TDBEdit* edit = TDBEdit::Create(Form);
    edit->SetParent(Form);
    edit->SetDataSource(Source);
    edit->SetDataField("Name");
    ASSERT_EQ(People->State(), dsBrowse);

    Type(edit, "x");
    EXPECT_EQ(People->State(), dsEdit);
    EXPECT_EQ(edit->Text(), "Adax");
    EXPECT_EQ(Name(), "Ada") << "the field is written on Enter or exit, not per key";
    Press(edit, VK_RETURN);
    EXPECT_EQ(Name(), "Adax");
    People->Post();
    EXPECT_EQ(People->FieldByName("Name")->AsString(), "Adax");

    // Leaving the control writes too.
    edit->SetFocus();
    Type(edit, "\b\bm");
    EXPECT_EQ(People->State(), dsEdit);
    Other->SetFocus();
    EXPECT_EQ(Name(), "Adm");

    // No more than the string field's size.
    Type(edit, std::string(30, 'w'));
    EXPECT_EQ(edit->Text().size(), 20u);
    Press(edit, VK_RETURN);
    EXPECT_EQ(Name(), "Adm" + std::string(17, 'w'));
    People->Cancel();
    EXPECT_EQ(Name(), "Adax");

    // Escape takes the field's value back.
    EXPECT_EQ(edit->Text(), "Adax");
    Type(edit, "q");
    Press(edit, VK_ESCAPE);
    EXPECT_EQ(edit->Text(), "Adax");
}

TEST_F(DataControlsTest, DBEditShowsAndWritesLargeIntegers) {
    TMemoryDataSet* ids = TMemoryDataSet::Create(Module);
    ids->FieldDefs().Add("Id", ftLargeint);
    ids->Open();
    ids->AppendRecord({int64_t{9007199254740993}});
    TDataSource* source = TDataSource::Create(Module);
    source->SetDataSet(ids);
    TDBEdit* edit = TDBEdit::Create(Form);
    edit->SetParent(Form);
    edit->SetDataSource(source);
    edit->SetDataField("Id");
    EXPECT_EQ(edit->Text(), "9007199254740993");

    Type(edit, "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b-9223372036854775808");
    Press(edit, VK_RETURN);
    EXPECT_EQ(ids->FieldByName("Id")->Value(), Variant(INT64_MIN));
    ids->Post();
    EXPECT_EQ(edit->Text(), "-9223372036854775808");
}

// The edit writes its text when the focus moves on within its form; another
// form (a lookup form, a message) taking the focus leaves the text unwritten.
TEST_F(DataControlsTest, DBEditWritesWhenLeftWithinItsFormOnly) {
    TDBEdit* edit = TDBEdit::Create(Form);
    edit->SetParent(Form);
    edit->SetDataSource(Source);
    edit->SetDataField("Name");
    Owned<TWinControl> elsewhere(TWinControl::Create(nullptr));
    TEdit* there = TEdit::Create(elsewhere.get());
    there->SetParent(elsewhere.get());
    int exits = 0;
    edit->OnExit = [&](TObject*) { ++exits; };

    edit->SetFocus();
    Type(edit, "z");
    there->SetFocus();
    EXPECT_EQ(Name(), "Ada") << "another form took the focus";
    EXPECT_EQ(exits, 0);
    edit->SetFocus();
    EXPECT_EQ(edit->Text(), "Adaz");
    Other->SetFocus();
    EXPECT_EQ(Name(), "Adaz");
    EXPECT_EQ(exits, 1);

    // A text the field refuses keeps the focus in the edit, as typed.
    edit->SetDataField("Id");
    edit->SetFocus();
    Type(edit, "ce");
    EXPECT_THROW(Other->SetFocus(), EConvertError);
    EXPECT_EQ(FocusedControl(), edit);
    EXPECT_EQ(edit->Text(), "1ce");
    EXPECT_EQ(People->FieldByName("Id")->AsInteger(), 1);
    EXPECT_EQ(exits, 1);
    Type(edit, "\b\b5");
    Other->SetFocus();
    EXPECT_EQ(People->FieldByName("Id")->AsInteger(), 15);
}

TEST_F(DataControlsTest, DBEditThatCannotModifyTakesNoTyping) {
    TDBEdit* edit = TDBEdit::Create(Form);
    edit->SetDataSource(Source);
    edit->SetDataField("Name");

    edit->SetReadOnly(true);
    Type(edit, "zz\b");
    EXPECT_EQ(edit->Text(), "Ada");
    EXPECT_EQ(People->State(), dsBrowse);

    edit->SetReadOnly(false);
    People->FieldByName("Name")->SetReadOnly(true);
    Type(edit, "z");
    EXPECT_EQ(edit->Text(), "Ada");
    EXPECT_EQ(People->State(), dsBrowse);

    People->FieldByName("Name")->SetReadOnly(false);
    Source->SetAutoEdit(false);
    Type(edit, "z");
    EXPECT_EQ(edit->Text(), "Ada");
    EXPECT_EQ(People->State(), dsBrowse);

    Source->SetAutoEdit(true);
    Type(edit, "z");
    EXPECT_EQ(edit->Text(), "Adaz");
}

TEST_F(DataControlsTest, DBEditForgetsADataSourceThatIsFreed) {
    TDBEdit* edit = TDBEdit::Create(Form);
    edit->SetDataSource(Source);
    edit->SetDataField("Name");
    Free(Source);
    Source = nullptr;
    EXPECT_EQ(edit->DataSource(), nullptr);
    EXPECT_EQ(edit->Field(), nullptr);
    Type(edit, "a");  // nothing to edit: the text stays
    EXPECT_EQ(edit->Text(), "");
    Press(edit, VK_RETURN);
}

// --- TCustomGrid -------------------------------------------------------------

TEST_F(DataControlsTest, GridMakesItsEditorAtTheFirstEditOnly) {
    TStringGrid* grid = TStringGrid::Create(Form);
    grid->SetParent(Form);
    TMessageLog log;
    grid->AddWndProcHook(&log);
    grid->HandleNeeded();
    grid->SetFocus();
    grid->SetCells(1, 1, "one");

    grid->ShowEditor();  // editing is off
    Type(grid, "a");
    EXPECT_EQ(grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(log.Of(WM_PARENTNOTIFY).empty());

    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    EXPECT_EQ(grid->InplaceEditor(), nullptr);
    grid->SetEditorMode(true);
    TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Owner(), grid);
    EXPECT_EQ(editor->Parent(), grid);
    EXPECT_EQ(editor->Grid(), grid);
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(editor->Text(), "one");
    auto notices = log.Of(WM_PARENTNOTIFY);
    ASSERT_EQ(notices.size(), 1u);
    TWMParentNotify notice(notices[0]);
    EXPECT_EQ(notice.Event(), WM_CREATE);
    EXPECT_EQ(notice.ChildWnd(), editor->Handle());

    // Later edits reuse the editor.
    grid->HideEditor();
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_TRUE(grid->Focused());
    grid->ShowEditor();
    EXPECT_EQ(grid->InplaceEditor(), editor);
    EXPECT_EQ(log.Of(WM_PARENTNOTIFY).size(), 1u);
    grid->RemoveWndProcHook(&log);
}

TEST_F(DataControlsTest, GridEditorWritesTheCellAndFocusGoesIntoIt) {
    TStringGrid* grid = TStringGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetCells(1, 1, "a");
    grid->SetCells(2, 1, "b");
    grid->SetFocus();
    Type(grid, "x");  // a character on the grid starts the edit, replacing the cell's text
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    TInplaceEdit* editor = grid->InplaceEditor();
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(editor->Text(), "x");
    EXPECT_EQ(grid->Cells(1, 1), "a");
    Press(editor, VK_RETURN);
    EXPECT_EQ(grid->Cells(1, 1), "x");

    Type(editor, "y");
    Other->SetFocus();  // leaving writes
    EXPECT_EQ(grid->Cells(1, 1), "xy");

    grid->SetFocus();
    EXPECT_TRUE(editor->Focused()) << "the grid passes the focus on while editing";
    Type(editor, "z");
    grid->SetCol(2);  // moving writes the old cell and loads the new one
    EXPECT_EQ(grid->Cells(1, 1), "xyz");
    EXPECT_EQ(editor->Text(), "b");
    Type(editor, "q");
    Press(editor, VK_ESCAPE);
    EXPECT_EQ(editor->Text(), "b");
    grid->HideEditor();
    EXPECT_EQ(grid->Cells(2, 1), "b");
}

TEST_F(DataControlsTest, GridKeepsTheCurrentCellInTheScrollingPart) {
    TStringGrid* grid = TStringGrid::Create(Form);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SetCol(0);
    grid->SetRow(99);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 3);
    Press(grid, VK_UP);
    EXPECT_EQ(grid->Row(), 2);
    grid->SetRowCount(2);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_THROW(grid->SetFixedRows(2), EInvalidOperation);
}

// --- TDBGrid -----------------------------------------------------------------

TEST_F(DataControlsTest, DBGridColumnsAndSelectedField) {
    People->FieldByName("Id")->SetVisible(false);
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    ASSERT_EQ(grid->ColumnCount(), 2);
    EXPECT_EQ(grid->Fields(0), People->FieldByName("Name"));
    EXPECT_EQ(grid->Fields(1), People->FieldByName("City"));
    EXPECT_EQ(grid->ColCount(), 3);  // the indicator column and two fields
    EXPECT_EQ(grid->RowCount(), 4);  // titles and three records
    EXPECT_EQ(grid->SelectedIndex(), 0);
    EXPECT_EQ(grid->SelectedField(), People->FieldByName("Name"));
    grid->SetCol(2);
    EXPECT_EQ(grid->SelectedField(), People->FieldByName("City"));
    grid->SetSelectedField(People->FieldByName("Name"));
    EXPECT_EQ(grid->Col(), 1);
    grid->SetSelectedField(People->FieldByName("Id"));  // no column
    EXPECT_EQ(grid->Col(), 1);

    grid->SetOptions(grid->Options() - TDBGridOptions{dgIndicator});
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->SelectedField(), People->FieldByName("Name"));
    Free(Source);
    Source = nullptr;
    EXPECT_EQ(grid->DataSource(), nullptr);
    EXPECT_EQ(grid->ColumnCount(), 0);
    EXPECT_EQ(grid->SelectedField(), nullptr);
}

TEST_F(DataControlsTest, DBGridRowAndCursorMoveTogether) {
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetDataSource(Source);
    EXPECT_EQ(grid->Row(), 1);
    grid->SetRow(3);
    EXPECT_EQ(People->RecNo(), 3);
    Press(grid, VK_UP);
    EXPECT_EQ(People->RecNo(), 2);
    People->First();
    EXPECT_EQ(grid->Row(), 1);
    People->Last();
    EXPECT_EQ(grid->Row(), 3);
    People->AppendRecord({4, "Di", "Kyiv"});
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->Row(), 4);
}

// Jumps reach the grid as a changed dataset and steps as a scroll; either
// way its row is the cursor's.
TEST_F(DataControlsTest, DBGridRowFollowsJumpsAndSteps) {
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetDataSource(Source);
    People->AppendRecord({4, "Di", "Kyiv"});
    People->AppendRecord({5, "Ed", "Baku"});
    auto rowIsCursor = [&](const char* what) {
        EXPECT_EQ(grid->Row(), People->RecNo()) << what;
    };
    People->First();
    rowIsCursor("First");
    People->MoveBy(3);
    rowIsCursor("MoveBy");
    People->Locate("Name", "Bo", {});
    rowIsCursor("Locate");
    People->Next();
    rowIsCursor("Next");
    People->Last();
    rowIsCursor("Last");
    People->Next();
    rowIsCursor("Next at the end");
    People->SetRecNo(2);
    rowIsCursor("RecNo");
    People->Delete();
    rowIsCursor("Delete");
    People->Refresh();
    rowIsCursor("Refresh");
    EXPECT_EQ(grid->RowCount(), 5);
    grid->SetRow(4);
    EXPECT_EQ(People->RecNo(), 4);
}

// Page keys move by what the grid shows and stop at the ends; Ctrl+Home
// and Ctrl+End go to the first and last record; the cursor follows.
TEST_F(DataControlsTest, DBGridPagesAndJumpsToTheEnds) {
    for (int i = 4; i <= 20; ++i) People->AppendRecord({i, "N" + std::to_string(i), "X"});
    People->First();
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    grid->SetHeight(100);
    const int page = grid->VisibleRowCount();
    ASSERT_GT(page, 1);
    ASSERT_LT(page, 10);
    Press(grid, VK_NEXT);
    EXPECT_EQ(People->RecNo(), 1 + page);
    EXPECT_EQ(grid->Row(), People->RecNo());
    Press(grid, VK_PRIOR);
    EXPECT_EQ(People->RecNo(), 1);
    Press(grid, VK_PRIOR);  // at the top: stays
    EXPECT_EQ(People->RecNo(), 1);
    grid->Perform(WM_KEYDOWN, VK_END);  // without Ctrl: the last column, same record
    EXPECT_EQ(People->RecNo(), 1);
    EXPECT_EQ(grid->Col(), grid->ColCount() - 1);
    Keyboard().Hold(ssCtrl);
    Press(grid, VK_END);
    Keyboard().Release(ssCtrl);
    EXPECT_EQ(People->RecNo(), 20);
    EXPECT_EQ(grid->Row(), 20);
    Press(grid, VK_NEXT);  // at the end: stays
    EXPECT_EQ(People->RecNo(), 20);
    Keyboard().Hold(ssCtrl);
    Press(grid, VK_HOME);
    Keyboard().Release(ssCtrl);
    EXPECT_EQ(People->RecNo(), 1);
}

TEST_F(DataControlsTest, DBGridEditorWritesTheSelectedField) {
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    grid->SetFocus();
    grid->SetSelectedField(People->FieldByName("City"));
    EXPECT_EQ(grid->InplaceEditor(), nullptr);
    Press(grid, VK_F2);
    TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Text(), "Oslo");
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_EQ(editor->SelText(), "Oslo") << "the editor enters a cell with its text selected";
    Press(editor, VK_END);
    Type(editor, "!");
    EXPECT_EQ(People->State(), dsEdit);
    Other->SetFocus();
    EXPECT_EQ(People->FieldByName("City")->AsString(), "Oslo!");

    // Moving the row writes, then posts through the dataset's move.
    grid->SetFocus();
    Type(editor, "?");
    grid->SetRow(2);
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_EQ(People->RecNo(), 2);
    EXPECT_EQ(editor->Text(), "Rome");
    People->First();
    EXPECT_EQ(People->FieldByName("City")->AsString(), "Oslo!?");

    grid->SetReadOnly(true);
    EXPECT_FALSE(grid->EditorMode());
    grid->ShowEditor();
    Type(grid, "k");
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(People->State(), dsBrowse);
}

void PressCtrl(TWinControl* control, std::uint16_t key) {
    Keyboard().Hold(ssCtrl);
    Press(control, key);
    Keyboard().Release(ssCtrl);
}

std::vector<std::string> Names(TDataSet* dataSet) {
    std::vector<std::string> names;
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) names.push_back(dataSet->FieldByName("Name")->AsString());
    return names;
}

TEST_F(DataControlsTest, DBGridInsertsDeletesAndCancelsRecordsByKey) {
    HeadlessBackend()->ClearMessageAnswers();
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    grid->SetFocus();
    grid->SetSelectedField(People->FieldByName("Name"));

    // Insert, type, Escape drops the typing, Escape again the new record.
    Press(grid, VK_INSERT);
    EXPECT_EQ(People->State(), dsInsert);
    Type(grid, "D");
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    Type(grid->InplaceEditor(), "i");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "Di");
    Press(grid->InplaceEditor(), VK_ESCAPE);
    EXPECT_EQ(grid->InplaceEditor()->Text(), "");
    EXPECT_EQ(People->State(), dsInsert);
    Press(grid->InplaceEditor(), VK_ESCAPE);
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_EQ(People->RecordCount(), 3);
    EXPECT_EQ(Name(), "Ada");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "Ada");

    // Ctrl+Delete asks; No keeps the record, Yes deletes it. In the editor,
    // Delete alone deletes a character.
    HeadlessBackend()->QueueMessageAnswer(mrNo);
    PressCtrl(grid->InplaceEditor(), VK_DELETE);
    EXPECT_EQ(People->RecordCount(), 3);
    HeadlessBackend()->QueueMessageAnswer(mrYes);
    PressCtrl(grid, VK_DELETE);
    EXPECT_EQ(HeadlessBackend()->PendingMessageAnswers(), 0);
    EXPECT_EQ(Names(People), (std::vector<std::string>{"Bo", "Cy"}));
    People->First();
    Press(grid->InplaceEditor(), VK_HOME);
    Press(grid->InplaceEditor(), VK_DELETE);
    EXPECT_EQ(People->RecordCount(), 2);
    EXPECT_EQ(grid->InplaceEditor()->Text(), "o");

    // Without dgConfirmDelete nothing is asked (an unanswered question would
    // raise); the edit in progress goes with its record.
    grid->SetOptions(grid->Options() - TDBGridOptions{dgConfirmDelete});
    PressCtrl(grid, VK_DELETE);
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_EQ(Names(People), (std::vector<std::string>{"Cy"}));
}

TEST_F(DataControlsTest, ARecordKeyAGridCannotHonourIsLeftToTheForm) {
    HeadlessBackend()->ClearMessageAnswers();
    HeadlessBackend()->ClearShown();
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    grid->SetFocus();
    // True when the grid passed the key on (a form's Cancel button would
    // take an Escape).
    auto passedOn = [&](std::uint16_t key, bool ctrl) {
        TMessage message{WM_KEYDOWN, key, 0, 0};
        if (ctrl) Keyboard().Hold(ssCtrl);
        grid->WindowProc(message);
        if (ctrl) Keyboard().Release(ssCtrl);
        return message.WParam != 0;
    };
    EXPECT_TRUE(passedOn(VK_ESCAPE, false)) << "nothing to cancel";
    People->Edit();
    EXPECT_FALSE(passedOn(VK_ESCAPE, false));
    EXPECT_EQ(People->State(), dsBrowse);

    grid->SetReadOnly(true);
    EXPECT_TRUE(passedOn(VK_INSERT, false));
    EXPECT_TRUE(passedOn(VK_DELETE, true));
    People->Edit();
    EXPECT_TRUE(passedOn(VK_ESCAPE, false)) << "a read-only grid cancels nothing";
    EXPECT_EQ(People->State(), dsEdit);
    People->Cancel();
    grid->SetReadOnly(false);
    People->SetReadOnly(true);
    EXPECT_TRUE(passedOn(VK_INSERT, false));
    EXPECT_TRUE(passedOn(VK_DELETE, true));
    People->SetReadOnly(false);
    EXPECT_TRUE(passedOn(VK_DELETE, false)) << "Delete without Ctrl";
    EXPECT_EQ(People->RecordCount(), 3);
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_TRUE(HeadlessBackend()->Shown().empty()) << "nothing was asked";
}

TEST_F(DataControlsTest, DBGridRowStaysWithTheCursorWhenThePostFails) {
    People->BeforePost = [](TDataSet* dataSet) { dataSet->DatabaseError("refused"); };
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    grid->SetFocus();
    grid->SetSelectedField(People->FieldByName("Name"));
    grid->SetEditorMode(true);
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    Press(grid->InplaceEditor(), VK_END);
    Type(grid->InplaceEditor(), "\bx");
    EXPECT_THROW(grid->SetRow(2), EDatabaseError);
    EXPECT_EQ(People->RecNo(), 1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(People->State(), dsEdit);
    EXPECT_EQ(Name(), "Adx");
    People->Cancel();
    EXPECT_EQ(grid->InplaceEditor()->Text(), "Ada");
}

TEST_F(DataControlsTest, DBGridDoubleClick) {
    TDBGrid* grid = TDBGrid::Create(Form);
    int clicks = 0;
    grid->OnDblClick = [&](TObject* sender) {
        EXPECT_EQ(sender, grid);
        ++clicks;
    };
    grid->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(5, 5));
    grid->DblClick();
    EXPECT_EQ(clicks, 2);
}

} // namespace

namespace {

std::string Euros(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "€";
    return text;
}

} // namespace

TEST_F(DataControlsTest, TextIsTypedEditedAndCutByWholeCharacters) {
    // Twelve euro signs (three bytes each) into room for ten: ten whole ones.
    TEdit* edit = TEdit::Create(Form);
    edit->SetParent(Form);
    edit->SetMaxLength(10);
    Type(edit, Euros(12));
    EXPECT_EQ(edit->Text(), Euros(10));
    EXPECT_EQ(edit->CaretPos(), 10);

    // The caret, the selection and the deleting keys count characters.
    Press(edit, VK_LEFT);
    EXPECT_EQ(edit->CaretPos(), 9);
    Type(edit, "\b");
    EXPECT_EQ(edit->Text(), Euros(9));
    edit->SetSelStart(2);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->SelText(), Euros(3));
    Type(edit, "a");
    EXPECT_EQ(edit->Text(), Euros(2) + "a" + Euros(4));
    Press(edit, VK_DELETE);
    EXPECT_EQ(edit->Text(), Euros(2) + "a" + Euros(3));

    // A stray continuation byte, or a character cut short, types nothing.
    edit->SetText("");
    Type(edit, "\x82\xE2\x82" "b");
    EXPECT_EQ(edit->Text(), "b");

    // A string field of size 20 holds twenty characters, each whole, and
    // the grid's editor takes no more.
    People->Edit();
    People->FieldByName("Name")->SetAsString(Euros(25));
    EXPECT_EQ(Name(), Euros(20));
    People->Cancel();
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    grid->SetFocus();
    grid->SetSelectedField(People->FieldByName("Name"));
    grid->ShowEditor();
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    Type(grid->InplaceEditor(), Euros(25));
    grid->HideEditor();
    EXPECT_EQ(Name(), Euros(20));
}

TEST_F(DataControlsTest, DBGridClickOnTheNewRecordEditsIt) {
    TDBGrid* grid = TDBGrid::Create(Form);
    grid->SetParent(Form);
    grid->SetDataSource(Source);
    Other->SetFocus();
    People->Last();
    People->Append();
    // The new record shows below the three stored ones; a click on its Name
    // cell and typing edit it.
    const TRect first = grid->CellRect(2, 1);
    const int x = first.Left + 2;
    const int y = first.Top + 3 * first.Height() + 2;
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(x, y));
    grid->Perform(WM_LBUTTONUP, 0, PointToLParam(x, y));
    EXPECT_EQ(People->State(), dsInsert);
    EXPECT_EQ(grid->SelectedField(), People->FieldByName("Name"));
    Type(grid, "D");
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    EXPECT_TRUE(grid->EditorMode());
    Type(grid->InplaceEditor(), "i");
    EXPECT_EQ(grid->InplaceEditor()->Text(), "Di");
    Press(grid->InplaceEditor(), VK_RETURN);
    EXPECT_EQ(Name(), "Di");
    EXPECT_EQ(People->State(), dsInsert);

    // Up from the new record posts it and goes to the row above; an empty
    // new record is dropped and Up lands on the last stored one.
    Press(grid->InplaceEditor(), VK_UP);
    EXPECT_EQ(People->RecordCount(), 4);
    EXPECT_EQ(Name(), "Cy");
    People->Append();
    EXPECT_EQ(grid->Row(), 5);
    Press(grid, VK_UP);
    EXPECT_EQ(People->State(), dsBrowse);
    EXPECT_EQ(People->RecordCount(), 4);
    EXPECT_EQ(Name(), "Di");
    EXPECT_EQ(grid->Row(), 4);
}
