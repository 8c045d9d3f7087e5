#include "host/core/Exception.h"
#include "host/ui/Buttons.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

class StdControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard().SetShiftState({});
        form->Show();
    }
    void TearDown() override { Keyboard().SetShiftState({}); }

    template <class T>
    T* Add(TWinControl* parent = nullptr) {
        T* control = T::Create(form.get());
        control->SetParent(parent ? parent : form.get());
        return control;
    }

    Owned<TForm> form{TForm::Create(nullptr)};
};

std::vector<int> SelectedItems(const TCustomListBox* list) {
    std::vector<int> result;
    for (int i = 0; i < list->Count(); ++i)
        if (list->Selected(i)) result.push_back(i);
    return result;
}

} // namespace

TEST_F(StdControlsTest, ABitButtonGivesItsResultToItsFormByMouseAndBySpace) {
    TPanel* panel = Add<TPanel>();
    TBitBtn* button = Add<TBitBtn>(panel);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };

    // No result: the form's result is left as it is.
    form->SetModalResult(mrRetry);
    Mouse().Click(button);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), mrRetry);
    // The mouse left the button focused.
    EXPECT_TRUE(button->Focused());

    button->SetModalResult(mrAbort);
    Keyboard().Press(VK_SPACE);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(form->ModalResult(), mrAbort);
    EXPECT_FALSE(button->Pressed());

    // A click released outside the button, or on a disabled one, is no click.
    Mouse().Click(button, Point(-5, 5));
    button->SetEnabled(false);
    Mouse().Click(button);
    EXPECT_EQ(button->Perform(BM_CLICK), 0);
    EXPECT_EQ(clicks, 2);

    // Space pressed on the button and released after the focus left clicks nothing.
    button->SetEnabled(true);
    TEdit* edit = Add<TEdit>();
    button->SetFocus();
    button->OnKeyDown = [&](TObject*, std::uint16_t& key, TShiftState) {
        if (key == VK_SPACE) edit->SetFocus();
    };
    Keyboard().Press(VK_SPACE);
    EXPECT_EQ(clicks, 2);

    // Off any form a button still clicks.
    Owned<TBitBtn> loose(TBitBtn::Create(nullptr));
    loose->SetModalResult(mrOk);
    loose->OnClick = [&](TObject*) { ++clicks; };
    loose->Perform(BM_CLICK);
    EXPECT_EQ(clicks, 3);
}

TEST_F(StdControlsTest, ABitButtonKindSetsUpAStockButton) {
    TBitBtn* button = Add<TBitBtn>();
    button->SetKind(bkOK);
    EXPECT_EQ(button->Caption(), "OK");
    EXPECT_EQ(button->ModalResult(), mrOk);
    EXPECT_TRUE(button->Default());
    EXPECT_FALSE(button->Cancel());
    button->SetKind(bkNo);
    EXPECT_EQ(button->Caption(), "&No");
    EXPECT_EQ(button->ModalResult(), mrNo);
    EXPECT_FALSE(button->Default());
    EXPECT_TRUE(button->Cancel());

    // While read from a stored form only the kind is kept.
    TBitBtn* stored = Add<TBitBtn>();
    stored->SetCaption("Stored");
    TLoadingSession session;
    session.Add(stored);
    stored->SetKind(bkCancel);
    session.Finish();
    EXPECT_EQ(stored->Kind(), bkCancel);
    EXPECT_EQ(stored->Caption(), "Stored");
    EXPECT_EQ(stored->ModalResult(), mrNone);

    // A close button closes its form, without its OnClick.
    bool clicked = false;
    TBitBtn* closer = Add<TBitBtn>();
    closer->SetKind(bkClose);
    closer->OnClick = [&](TObject*) { clicked = true; };
    Mouse().Click(closer);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(clicked);

    // The glyph is the button's own copy.
    Owned<TBitmap> picture(TBitmap::Create());
    picture->SetSize(16, 16);
    button->SetGlyph(picture.get());
    picture->SetSize(4, 4);
    EXPECT_EQ(button->Glyph()->Width(), 16);
    button->SetNumGlyphs(9);
    EXPECT_EQ(button->NumGlyphs(), 4);
}

TEST_F(StdControlsTest, AListBoxSelectsByMouseAndKeysAndTellsOnClick) {
    TListBox* list = Add<TListBox>();
    list->SetBounds(0, 0, 100, kCellHeight * 3);  // three rows in view
    list->Items()->SetCommaText("Ant,Bee,Cat,Dog,Eel");
    int clicks = 0;
    int dblClicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->OnDblClick = [&](TObject*) { ++dblClicks; };
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(list->SelCount(), 0);

    Mouse().Click(list, Point(10, kCellHeight + 2));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_TRUE(list->Selected(1));
    EXPECT_TRUE(list->Focused());
    EXPECT_EQ(clicks, 1);

    Keyboard().Press(VK_DOWN);
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->TopIndex(), 1);  // scrolled to keep it in view
    EXPECT_EQ(clicks, 3);
    Keyboard().Press(VK_END);
    Keyboard().Press(VK_DOWN);  // at the end: no move, no click
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(clicks, 4);
    Keyboard().Press(VK_HOME);
    Keyboard().Press(VK_UP);
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->TopIndex(), 0);
    Keyboard().Type("d");
    EXPECT_EQ(list->ItemIndex(), 3);

    // A click below the items selects nothing; a double click tells OnDblClick.
    list->SetHeight(kCellHeight * 10);
    Mouse().Click(list, Point(10, kCellHeight * 8));
    EXPECT_EQ(list->ItemIndex(), 3);
    Mouse().DblClick(list, Point(10, 2));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(dblClicks, 1);

    // Changes of the items keep the selection on its item.
    list->Items()->Insert(0, "Aardvark");
    EXPECT_EQ(list->ItemIndex(), 1);
    list->Items()->Delete(1);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(2);
    list->Items()->Delete(0);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Items()->Get(1), "Cat");
    list->SetItemIndex(99);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_THROW(list->Selected(9), EListError);
    list->SetItemIndex(0);
    list->Clear();
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(StdControlsTest, TheWheelScrollsAListBoxThreeRowsANotchAndLeavesTheSelection) {
    TListBox* list = Add<TListBox>();
    list->SetBounds(0, 0, 100, kCellHeight * 10);
    for (int i = 0; i < 30; ++i) list->Items()->Add("Item " + std::to_string(i));
    list->SetItemIndex(2);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    Mouse().Wheel(list, -1);
    EXPECT_EQ(list->TopIndex(), 3);
    Mouse().Wheel(list, -2);
    EXPECT_EQ(list->TopIndex(), 9);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(clicks, 0);
    // A click after the scroll picks the item now under it.
    Mouse().Click(list, Point(10, kCellHeight + 2));
    EXPECT_EQ(list->ItemIndex(), 10);
    // The ends hold: the last page, then the first.
    Mouse().Wheel(list, -50);
    EXPECT_EQ(list->TopIndex(), 30 - list->VisibleRows());
    Mouse().Wheel(list, 50);
    EXPECT_EQ(list->TopIndex(), 0);
    // A disabled list takes no wheel.
    list->SetEnabled(false);
    Mouse().Wheel(list, -1);
    EXPECT_EQ(list->TopIndex(), 0);
}

TEST_F(StdControlsTest, AMultiSelectListBoxSelectsRangesAndToggles) {
    TListBox* list = Add<TListBox>();
    list->Items()->SetCommaText("a,b,c,d,e");
    list->SetItemIndex(1);
    list->SetMultiSelect(true);
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{1}));

    // Extended: a click selects one, Shift a range from it, Ctrl toggles one.
    Mouse().Click(list, Point(5, kCellHeight * 3 + 1));
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{3}));
    Keyboard().Hold(ssShift);
    Mouse().Click(list, Point(5, 1));
    Keyboard().Release(ssShift);
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{0, 1, 2, 3}));
    Keyboard().Hold(ssCtrl);
    Mouse().Click(list, Point(5, kCellHeight * 2 + 1));
    Keyboard().Release(ssCtrl);
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_EQ(list->ItemIndex(), 2);
    Keyboard().Press(VK_DOWN, {ssShift});
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{2, 3}));

    // Not extended: clicks toggle; the arrows move the caret and Space toggles.
    list->SetExtendedSelect(false);
    list->ClearSelection();
    Mouse().Click(list, Point(5, 1));
    Mouse().Click(list, Point(5, kCellHeight * 4 + 1));
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{0, 4}));
    Keyboard().Press(VK_UP);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{0, 4}));
    Keyboard().Press(VK_SPACE);
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{0, 3, 4}));
    list->SelectAll();
    EXPECT_EQ(list->SelCount(), 5);

    // Back to one selection: only the caret's item stays selected.
    list->SetMultiSelect(false);
    EXPECT_EQ(SelectedItems(list), (std::vector<int>{3}));
    list->SelectAll();
    EXPECT_EQ(list->SelCount(), 1);
}

TEST_F(StdControlsTest, ASortedListBoxKeepsItsItemsAndSelectionInOrder) {
    TListBox* list = Add<TListBox>();
    list->Items()->SetCommaText("pear,Apple,fig");
    list->SetItemIndex(0);  // pear
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->CommaText(), "Apple,fig,pear");
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()->Add("banana"), 1);
    EXPECT_EQ(list->ItemIndex(), 3);
    list->Items()->Put(1, "zucchini");
    EXPECT_EQ(list->Items()->CommaText(), "Apple,fig,pear,zucchini");
    EXPECT_EQ(list->ItemIndex(), 2);

    // Items assigned from another list keep their objects.
    Owned<TStringList> source(TStringList::Create());
    source->AddObject("one", list);
    list->SetItems(source.get());
    EXPECT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Items()->Objects(0), list);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(StdControlsTest, StaticTextAndPanelHoldTheirLook) {
    TStaticText* text = Add<TStaticText>();
    text->SetCaption("&Name && address");
    EXPECT_EQ(text->DisplayText(), "Name & address");
    text->SetShowAccelChar(false);
    EXPECT_EQ(text->DisplayText(), "&Name && address");
    EXPECT_EQ(text->Alignment(), taLeftJustify);
    EXPECT_FALSE(text->TabStop());
    // Its colour is the form's.
    EXPECT_EQ(text->Color(), clBtnFace);

    TEdit* edit = Add<TEdit>();
    text->SetFocusControl(edit);
    EXPECT_EQ(text->FocusControl(), edit);
    edit->Free();
    EXPECT_EQ(text->FocusControl(), nullptr);

    TPanel* panel = Add<TPanel>();
    EXPECT_EQ(panel->Alignment(), taCenter);
    EXPECT_EQ(panel->BevelOuter(), bvRaised);
    panel->SetBounds(0, 0, 200, 100);
    TButton* filler = Add<TButton>(panel);
    filler->SetAlign(alClient);
    EXPECT_EQ(filler->BoundsRect(), Rect(1, 1, 199, 99));
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    panel->SetBorderStyle(bsDialog);
    EXPECT_EQ(panel->BorderStyle(), bsSingle);
    EXPECT_EQ(filler->BoundsRect(), Rect(8, 8, 192, 92));
    // A control placed by its own bounds stays where it is.
    TButton* placed = Add<TButton>(panel);
    placed->SetBounds(0, 0, 10, 10);
    panel->Realign();
    EXPECT_EQ(placed->BoundsRect(), Rect(0, 0, 10, 10));
}
