#include "host/ui/Buttons.h"
#include "host/ui/Canvas.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

std::vector<std::string> Lines(const TCellSurface& surface) {
    std::vector<std::string> lines;
    for (int r = 0; r < surface.Rows(); ++r) lines.push_back(surface.RowText(r));
    return lines;
}

Owned<TForm> MakeForm(TFormBorderStyle style, const std::string& caption, int clientWidth, int clientHeight) {
    Owned<TForm> form(TForm::Create(nullptr));
    form->SetBorderStyle(style);
    form->SetCaption(caption);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    return form;
}

} // namespace

TEST(FormPaint, FrameAndCaptionFollowTheBorderStyle) {
    auto single = MakeForm(bsSingle, "Orders", 10 * kCellWidth, 2 * kCellHeight);
    EXPECT_TRUE(single->PaintInvalid());
    EXPECT_EQ(Lines(single->Surface()), (std::vector<std::string>{
                                            "┌─ Orders ─┐",
                                            "│          │",
                                            "│          │",
                                            "└──────────┘",
                                        }));
    EXPECT_EQ(single->ClientCells(), Rect(1, 1, 11, 3));
    EXPECT_EQ(single->SurfaceCellToClient(Point(1, 1)), Point(4, 7));
    // Nothing changed: nothing painted.
    EXPECT_FALSE(single->PaintInvalid());

    auto dialog = MakeForm(bsDialog, "A caption too long to fit", 8 * kCellWidth, 1 * kCellHeight);
    dialog->PaintInvalid();
    EXPECT_EQ(Lines(dialog->Surface()), (std::vector<std::string>{
                                            "╔═ A ca ═╗",
                                            "║        ║",
                                            "╚════════╝",
                                        }));
    // 8 x 1 cells of client: the frame comes around it.
    EXPECT_EQ(dialog->Surface().Columns(), 10);

    auto bare = MakeForm(bsNone, "Hidden", 3 * kCellWidth, 1 * kCellHeight);
    bare->PaintInvalid();
    EXPECT_EQ(Lines(bare->Surface()), (std::vector<std::string>{"   "}));
}

// --- the controls' pictures ---------------------------------------------------

namespace {

// A borderless form of the given size in cells, shown, with a surface that
// starts out clean.
class PaintTest : public ::testing::Test {
protected:
    void SetUp() override { Form = MakeForm(bsNone, "", 20 * kCellWidth, 6 * kCellHeight); }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Form.reset();
    }

    template <class T>
    T* Add(int column, int row, int columns, int rows, TWinControl* parent = nullptr) {
        T* control = T::Create(Form.get());
        control->SetParent(parent ? parent : Form.get());
        control->SetBounds(column * kCellWidth, row * kCellHeight, columns * kCellWidth, rows * kCellHeight);
        return control;
    }

    std::vector<std::string> Picture() {
        Form->PaintInvalid();
        return Lines(Form->Surface());
    }

    Owned<TForm> Form;
};

} // namespace

TEST_F(PaintTest, StandardControlsDrawTheirTextFramesAndMarks) {
    auto* name = Add<TLabel>(0, 0, 5, 1);
    name->SetCaption("&Name");
    auto* edit = Add<TEdit>(6, 0, 14, 1);
    edit->SetText("Ada");
    auto* ok = Add<TButton>(0, 2, 8, 1);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    auto* paid = Add<TCheckBox>(10, 2, 10, 1);
    paid->SetCaption("&Paid");
    paid->SetChecked(true);
    auto* group = Add<TGroupBox>(0, 3, 20, 3);
    group->SetCaption("Ship");
    auto* city = Add<TStaticText>(1, 1, 18, 1, group);
    city->SetCaption("Lima");

    EXPECT_EQ(Picture(), (std::vector<std::string>{
                             "Name  [Ada         ]",
                             "                    ",
                             "[  OK  ]  [x] Paid  ",
                             "┌─ Ship ───────────┐",
                             "│Lima              │",
                             "└──────────────────┘",
                         }));
    // The label fitted its width to its caption; its access key is underlined.
    EXPECT_EQ(name->Width(), 4 * kCellWidth);
    EXPECT_EQ(Form->Surface().CellAt(0, 0).Attrs, caUnderline);
    EXPECT_EQ(Form->Surface().CellAt(1, 0).Attrs, 0);
    // The default button's caption is bold; a checked box's mark sits in it.
    EXPECT_EQ(Form->Surface().CellAt(3, 2).Attrs, caBold);
    EXPECT_EQ(Form->Surface().CellAt(14, 2).Attrs, caUnderline);
    EXPECT_EQ(Form->Surface().CellAt(0, 2).Back, clBtnFace);

    // Greyed and unchecked, disabled grey.
    paid->SetAllowGrayed(true);
    paid->SetState(cbGrayed);
    EXPECT_EQ(Picture()[2], "[  OK  ]  [-] Paid  ");
    ok->SetEnabled(false);
    Picture();
    EXPECT_EQ(Form->Surface().CellAt(3, 2).Fore, clGrayText);
}

TEST_F(PaintTest, EditsShowCaretSelectionAndReadOnlyLook) {
    Form->Show();
    auto* edit = Add<TEdit>(0, 0, 8, 1);
    edit->SetText("abcdefghij");
    auto* memo = Add<TMemo>(0, 2, 10, 4);
    memo->Lines()->Add("one");
    memo->Lines()->Add("two");

    // Not focused: the text from its start, no caret.
    EXPECT_EQ(Picture()[0], "[abcdef]            ");
    EXPECT_FALSE(Form->Surface().CaretVisible());

    // Focused: scrolled so the caret (at the end) shows.
    edit->SetFocus();
    EXPECT_EQ(Picture()[0], "[fghij ]            ");
    EXPECT_EQ(Form->Surface().Caret(), Point(6, 0));

    // Home, then Shift+Right twice selects "ab", shown highlighted.
    edit->Perform(WM_KEYDOWN, VK_HOME);
    Keyboard().Press(VK_RIGHT, TShiftState{ssShift});
    Keyboard().Press(VK_RIGHT, TShiftState{ssShift});
    EXPECT_EQ(edit->SelText(), "ab");
    EXPECT_EQ(Picture()[0], "[abcdef]            ");
    EXPECT_EQ(Form->Surface().CellAt(1, 0).Back, clHighlight);
    EXPECT_EQ(Form->Surface().CellAt(3, 0).Back, clWindow);
    EXPECT_EQ(Form->Surface().Caret(), Point(3, 0));
    // Typing replaces the selection; Delete takes the character after the caret.
    Keyboard().Type("X");
    edit->Perform(WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(edit->Text(), "Xdefghij");
    EXPECT_EQ(edit->CaretPos(), 1);

    // Read-only: the face colour, and typing changes nothing.
    edit->SetReadOnly(true);
    Keyboard().Type("Q");
    EXPECT_EQ(edit->Text(), "Xdefghij");
    Picture();
    EXPECT_EQ(Form->Surface().CellAt(2, 0).Back, clBtnFace);

    // The memo: framed lines; Enter breaks the line at the caret.
    memo->SetFocus();
    memo->Perform(WM_KEYDOWN, VK_UP);
    Keyboard().Press(VK_RETURN);
    Keyboard().Type("3");
    EXPECT_EQ(memo->Lines()->Count(), 3);
    EXPECT_EQ(memo->Lines()->Get(1), "3");
    EXPECT_EQ(memo->Text(), "one\r\n3\r\ntwo");
    const auto picture = Picture();
    EXPECT_EQ(picture[2], "┌────────┐          ");
    EXPECT_EQ(picture[3], "│one     │          ");
    EXPECT_EQ(picture[4], "│3       │          ");
    EXPECT_EQ(picture[5], "└────────┘          ");
    EXPECT_EQ(Form->Surface().Caret(), Point(2, 4));
}

TEST_F(PaintTest, AnEmptyUnfocusedEditShowsItsTextHintInGrey) {
    Form->Show();
    auto* edit = Add<TEdit>(0, 0, 8, 1);
    Add<TEdit>(0, 1, 8, 1)->SetFocus();
    edit->SetTextHint("Search here");
    EXPECT_EQ(Picture()[0], "[Search]            ");
    EXPECT_EQ(Form->Surface().CellAt(1, 0).Fore, clGrayText);
    // Focused or holding text, the box shows its text alone.
    edit->SetFocus();
    EXPECT_EQ(Picture()[0], "[      ]            ");
    FocusManager().SetFocus(nullptr);
    edit->SetText("ab");
    EXPECT_EQ(Picture()[0], "[ab    ]            ");
}

TEST_F(PaintTest, AMemoWrapsWordsIntoTheRowsBelowAndTheKeysFollowTheRows) {
    Form->Show();
    auto* memo = Add<TMemo>(0, 0, 10, 5);  // eight characters by three rows inside the frame
    EXPECT_TRUE(memo->WordWrap());
    memo->SetText("The quick brown fox jumps\r\nabcdefghijkl");
    memo->SetFocus();
    memo->SetSelStart(0);
    auto rows = [&](int from, int to) {
        const auto picture = Picture();
        std::vector<std::string> texts;
        for (int r = from; r <= to; ++r) {
            // The memo's ten columns; the frame's characters take several bytes.
            std::string text;
            for (char32_t ch : DecodeUtf8(picture[static_cast<size_t>(r)]).substr(0, 10)) AppendUtf8(text, ch);
            texts.push_back(text);
        }
        return texts;
    };
    EXPECT_EQ(rows(0, 4), (std::vector<std::string>{"┌────────┐", "│The     │", "│quick   │", "│brown   │",
                                                    "└────────┘"}));
    EXPECT_EQ(Form->Surface().Caret(), Point(1, 1));
    // Down goes a row at a time through the wrapped line, the view with it.
    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(rows(1, 3), (std::vector<std::string>{"│quick   │", "│brown   │", "│fox     │"}));
    EXPECT_EQ(Form->Surface().Caret(), Point(1, 3));
    // End stops before the break's space, so the caret stays on its row;
    // Down keeps the column.
    Keyboard().Press(VK_END);
    EXPECT_EQ(memo->CaretPos(), 19);
    Picture();
    EXPECT_EQ(Form->Surface().Caret(), Point(4, 3));
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(memo->CaretPos(), 23);
    Keyboard().Press(VK_HOME);
    EXPECT_EQ(memo->CaretPos(), 20);
    // A word wider than the memo is cut at the edge.
    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(rows(1, 3), (std::vector<std::string>{"│jumps   │", "│abcdefgh│", "│ijkl    │"}));
    // End there goes after the row's last character, and typing goes on
    // from it.
    Keyboard().Press(VK_UP);
    Keyboard().Press(VK_END);
    Picture();
    EXPECT_EQ(Form->Surface().Caret(), Point(8, 2));
    Keyboard().Type("!");
    EXPECT_EQ(memo->Lines()->Get(1), "abcdefgh!ijkl");
    EXPECT_EQ(rows(1, 3), (std::vector<std::string>{"│jumps   │", "│abcdefgh│", "│!ijkl   │"}));
    // Typing at a break rewraps; the lines stay as they were written.
    for (int i = 0; i < 3; ++i) Keyboard().Press(VK_UP);
    Keyboard().Press(VK_END);
    Keyboard().Type("es");
    EXPECT_EQ(rows(1, 3), (std::vector<std::string>{"│foxes   │", "│jumps   │", "│abcdefgh│"}));
    Keyboard().Type(" and");
    EXPECT_EQ(rows(1, 3), (std::vector<std::string>{"│foxes   │", "│and     │", "│jumps   │"}));
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Get(0), "The quick brown foxes and jumps");

    // Without word wrap a long line is cut, and the caret's line scrolls.
    memo->SetWordWrap(false);
    memo->SetText("The quick brown fox jumps");
    memo->SetSelStart(25);
    EXPECT_EQ(rows(1, 2), (std::vector<std::string>{"│x jumps │", "│        │"}));
    Keyboard().Press(VK_HOME);
    EXPECT_EQ(rows(1, 1), (std::vector<std::string>{"│The quic│"}));
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(memo->CaretPos(), 0);
}

namespace {

// A label that counts how often it was painted.
class TCountingLabel : public TLabel {
    HOST_CLASS(TCountingLabel, TLabel)
public:
    int Paints = 0;

protected:
    explicit TCountingLabel(TComponent* owner) : TLabel(owner) {}
    void Paint() override {
        ++Paints;
        TLabel::Paint();
    }
};
HOST_IMPLEMENT_COMPONENT(TCountingLabel, TLabel)

} // namespace

TEST_F(PaintTest, OnlyWhatChangedIsPaintedAgain) {
    auto* first = Add<TCountingLabel>(0, 0, 10, 1);
    first->SetCaption("First");
    auto* second = Add<TCountingLabel>(0, 2, 10, 1);
    second->SetCaption("Second");
    auto* edit = Add<TEdit>(0, 4, 10, 1);
    EXPECT_TRUE(Form->PaintInvalid());
    EXPECT_EQ(first->Paints, 1);
    EXPECT_EQ(second->Paints, 1);
    Form->Surface().ClearDirty();

    // Nothing changed: nothing painted, nothing to write out.
    EXPECT_FALSE(Form->PaintInvalid());
    EXPECT_FALSE(Form->Surface().HasChanges());

    // One control's text: that control alone, and only its cells change.
    edit->SetText("x");
    EXPECT_TRUE(Form->PaintInvalid());
    EXPECT_EQ(first->Paints, 1);
    EXPECT_EQ(second->Paints, 1);
    const auto& dirty = Form->Surface().DirtyRows();
    for (int row = 0; row < Form->Surface().Rows(); ++row)
        EXPECT_EQ(dirty[static_cast<size_t>(row)].Empty(), row != 4) << "row " << row;
    EXPECT_EQ(dirty[4], (TDirtySpan{1, 2}));

    // A control painted again covers the ones above it that it overlaps.
    second->SetTop(0);  // moved over the first label: the form repaints
    Form->Surface().ClearDirty();
    Form->PaintInvalid();
    EXPECT_EQ(Lines(Form->Surface())[0], "Second              ");
    EXPECT_EQ(Lines(Form->Surface())[2], "                    ");
    const int firstPaints = first->Paints;
    const int secondPaints = second->Paints;
    first->Invalidate();
    Form->PaintInvalid();
    EXPECT_EQ(first->Paints, firstPaints + 1);
    EXPECT_EQ(second->Paints, secondPaints + 1);
    EXPECT_EQ(Lines(Form->Surface())[0], "Second              ");

    // Hidden: the parent paints over where it was.
    second->Hide();
    Form->PaintInvalid();
    EXPECT_EQ(Lines(Form->Surface())[0], "First               ");
}

TEST_F(PaintTest, AltAndTheAccessKeyFocusesTheLabelledControl) {
    Form->Show();
    auto* nameLabel = Add<TLabel>(0, 0, 5, 1);
    nameLabel->SetCaption("&Name");
    auto* name = Add<TEdit>(6, 0, 10, 1);
    nameLabel->SetFocusControl(name);
    auto* cityLabel = Add<TLabel>(0, 1, 5, 1);
    cityLabel->SetCaption("&City");
    auto* city = Add<TEdit>(6, 1, 10, 1);
    cityLabel->SetFocusControl(city);
    auto* save = Add<TButton>(0, 3, 8, 1);
    save->SetCaption("&Save");
    int saves = 0;
    save->OnClick = [&](TObject*) { ++saves; };

    name->SetFocus();
    Keyboard().Press('C', TShiftState{ssAlt});
    EXPECT_TRUE(city->Focused());
    // The letter typed with Alt is not typed into the edit.
    EXPECT_EQ(city->Text(), "");
    Keyboard().Press('n', TShiftState{ssAlt});
    Keyboard().Press('N', TShiftState{ssAlt});
    EXPECT_TRUE(name->Focused());
    // A button's access key clicks it.
    Keyboard().Press('S', TShiftState{ssAlt});
    EXPECT_EQ(saves, 1);
    // A letter no caption marks does nothing; a label whose control is
    // gone forgets it.
    Keyboard().Press('Q', TShiftState{ssAlt});
    EXPECT_TRUE(name->Focused());
    city->Free();
    EXPECT_EQ(cityLabel->FocusControl(), nullptr);
    Keyboard().Press('C', TShiftState{ssAlt});
    EXPECT_TRUE(name->Focused());
}

TEST_F(PaintTest, ButtonsPanelsAndListBoxesShowTheirStates) {
    auto* panel = Add<TPanel>(0, 0, 20, 3);
    panel->SetCaption("Totals");
    auto* glyph = Add<TBitBtn>(0, 3, 10, 1);
    glyph->SetCaption("OK");
    Owned<TBitmap> check(TBitmap::Create());
    check->SetSize(16, 14);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x) check->SetPixel(x, y, x >= 4 && x < 12 ? 0x00FF00 : 0xC0C0C0);
    glyph->SetGlyph(check.get());
    auto* speed = Add<TSpeedButton>(11, 3, 3, 1);
    speed->SetCaption("...");
    auto* list = Add<TListBox>(15, 3, 5, 3);
    for (const char* item : {"one", "two", "three", "four"}) list->Items()->Add(item);
    list->SetItemIndex(3);

    const auto picture = Picture();
    EXPECT_EQ(picture[0], "┌──────────────────┐");
    EXPECT_EQ(picture[1], "│      Totals      │");
    EXPECT_EQ(picture[2], "└──────────────────┘");
    // The glyph's green middle shows in the cells it covers, beside the caption.
    EXPECT_EQ(picture[3], "[  ▓▓ OK ] ... two  ");
    EXPECT_EQ(Form->Surface().CellAt(3, 3).Fore, clLime);
    // The list box scrolled to keep its selected item in view.
    EXPECT_EQ(picture[5].substr(15), "four ");
    EXPECT_EQ(Form->Surface().CellAt(15, 5).Back, clHighlight);

    // Held down, the button's caption moves; the speed button reverses.
    glyph->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
    speed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
    const std::string held = "[   ▓▓ OK] ... ";
    EXPECT_EQ(Picture()[3].substr(0, held.size()), held);
    EXPECT_EQ(Form->Surface().CellAt(12, 3).Attrs & caReverse, caReverse);
    glyph->Perform(WM_LBUTTONUP, 0, PointToLParam(2, 2));
    const std::string up = "[  ▓▓ OK ] ";
    EXPECT_EQ(Picture()[3].substr(0, up.size()), up);
}

TEST_F(PaintTest, AButtonTakesOneRowAndShowsItsGlyphOnlyWhereThereIsRoom) {
    auto* panel = Add<TPanel>(0, 0, 20, 3);
    auto* button = Add<TBitBtn>(2, 0, 8, 3, panel);
    button->SetCaption("Cancel");
    Owned<TBitmap> cross(TBitmap::Create());
    cross->SetSize(16, 14);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x) cross->SetPixel(x, y, x >= 4 && x < 12 ? 0x0000FF : 0xC0C0C0);
    button->SetGlyph(cross.get());
    // The panel's edge above and below the caption's row stays whole; the
    // caption fills the narrow button alone.
    auto picture = Picture();
    EXPECT_EQ(picture[0], "┌──────────────────┐");
    EXPECT_EQ(picture[1], "│ [Cancel]         │");
    EXPECT_EQ(picture[2], "└──────────────────┘");
    button->SetWidth(12 * kCellWidth);
    EXPECT_EQ(Picture()[1], "│ [ ▓▓ Cancel]     │");
}
