// Grid links: the button lives on the grid's in-place editor, which may only
// appear after the grid was captured.

#include "tests/lookup/CaptureFixture.h"

namespace capture {
namespace {

TEST_F(CaptureTest, AGridGetsItsButtonOnTheEditorMadeAfterCapture) {
    TDBGrid* grid = MakeGrid();
    auto* link = As<TLookupGridControlLink>(Capture(grid));
    ASSERT_NE(link, nullptr) << "a grid gets a grid link";
    EXPECT_TRUE(link->Captured());
    EXPECT_EQ(link->InplaceEditor(), nullptr);

    grid->SetFocus();
    EXPECT_TRUE(List->TakeLog().empty()) << "the grid's own focus is not looked at";
    EXPECT_EQ(link->Button(), nullptr);
    CtrlF1();
    EXPECT_TRUE(List->TakeLog().empty());

    grid->SetSelectedIndex(1);
    grid->ShowEditor();  // made now, told to the grid, then focused
    TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(link->InplaceEditor(), editor);
    EXPECT_TRUE(editor->Focused());
    EXPECT_EQ(List->TakeLog(), (Log{"begin:Grid", "check:Grid:CustNo"}));
    TLookupButton* button = link->Button();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Parent(), editor);
    EXPECT_EQ(button->Owner(), editor);
    EXPECT_EQ(button->Height(), editor->Height() - 2);

    CtrlF1();
    EXPECT_EQ(List->TakeLog(), (Log{"click:Grid:CustNo"}));

    // A repeated notice for the captured editor changes nothing.
    grid->Perform(WM_PARENTNOTIFY, WM_CREATE);
    EXPECT_EQ(link->Button(), button);
    EXPECT_TRUE(List->TakeLog().empty());
}

TEST_F(CaptureTest, AGridDecidesAgainOnEveryColumnTheEditorIsPutOn) {
    TDBGrid* grid = MakeGrid();
    auto* link = As<TLookupGridControlLink>(Capture(grid));
    List->Refused = {"Note"};
    grid->SetFocus();
    grid->SetSelectedIndex(1);
    grid->ShowEditor();
    ASSERT_NE(link->Button(), nullptr);
    List->TakeLog();

    // The editor is put on the new column anew: a refused column has no
    // button, and the shortcut does nothing there.
    grid->SetSelectedIndex(2);
    EXPECT_TRUE(grid->InplaceEditor()->Focused());
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_EQ(List->TakeLog(), (Log{"end:Grid", "begin:Grid", "check:Grid:Note"}));
    CtrlF1();
    EXPECT_TRUE(List->TakeLog().empty());
    // By keyboard and by mouse alike.
    Keyboard().Press(VK_TAB, TShiftState{ssShift});
    ASSERT_NE(link->Button(), nullptr);
    EXPECT_EQ(List->TakeLog(), (Log{"end:Grid", "begin:Grid", "check:Grid:CustNo"}));
    const TRect note = grid->CellRect(grid->Col() + 1, grid->Row());
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(note.Left + 1, note.Top + 1));
    grid->Perform(WM_LBUTTONUP, 0, PointToLParam(note.Left + 1, note.Top + 1));
    EXPECT_EQ(link->Button(), nullptr);
    CtrlF1();
    EXPECT_EQ(List->TakeLog(), (Log{"end:Grid", "begin:Grid", "check:Grid:Note"}));

    // Leaving removes it; coming back in the refused column shows none.
    Plain->SetFocus();
    EXPECT_EQ(link->Button(), nullptr);
    grid->SetFocus();
    EXPECT_TRUE(grid->InplaceEditor()->Focused());
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_EQ(List->TakeLog(), (Log{"end:Grid", "begin:Grid", "check:Grid:Note"}));

    // A read-only grid is not offered one at all.
    Plain->SetFocus();
    grid->SetSelectedIndex(1);
    grid->SetReadOnly(true);
    List->TakeLog();
    grid->InplaceEditor()->Perform(WM_SETFOCUS);
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_EQ(List->TakeLog(), (Log{"begin:Grid"}));
}

TEST_F(CaptureTest, AGridWithAnEditorAlreadyFocusedShowsTheButtonAtCapture) {
    TDBGrid* grid = MakeGrid();
    grid->SetFocus();
    grid->SetSelectedIndex(1);
    grid->ShowEditor();
    auto* link = As<TLookupGridControlLink>(Capture(grid));
    EXPECT_EQ(link->InplaceEditor(), grid->InplaceEditor());
    EXPECT_NE(link->Button(), nullptr);
    EXPECT_EQ(List->TakeLog(), (Log{"begin:Grid", "check:Grid:CustNo"}));

    link->UnCapture();
    EXPECT_EQ(link->InplaceEditor(), nullptr);
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_FALSE(IsSubclassRegistered(grid, link->Subclass()));
}

TEST_F(CaptureTest, CapturingAGridAgainKeepsItsLinkAndItsEditor) {
    TDBGrid* grid = MakeGrid();
    auto* link = As<TLookupGridControlLink>(Capture(grid));
    grid->SetFocus();
    grid->SetSelectedIndex(1);
    grid->ShowEditor();
    TInplaceEdit* editor = grid->InplaceEditor();
    Plain->SetFocus();
    ASSERT_EQ(link->Button(), nullptr);
    List->TakeLog();

    Owned<TList> controls(TList::Create());
    controls->Add(grid);
    List->RecaptureControls(*controls);
    ASSERT_EQ(List->Count(), 1);
    EXPECT_EQ(List->Links(0), link);
    EXPECT_EQ(link->InplaceEditor(), editor);
    EXPECT_TRUE(IsSubclassRegistered(grid, link->Subclass()));
    EXPECT_TRUE(List->TakeLog().empty()) << "nothing focused, nothing reported";
    grid->SetFocus();
    EXPECT_NE(link->Button(), nullptr) << "the kept editor still answers";
    EXPECT_EQ(List->TakeLog(), (Log{"begin:Grid", "check:Grid:CustNo"}));

    // A focused editor refused a button is reported again, as a new link's.
    List->Refused = {"CustNo"};
    Plain->SetFocus();
    grid->SetFocus();
    ASSERT_EQ(link->Button(), nullptr);
    List->TakeLog();
    List->RecaptureControls(*controls);
    EXPECT_EQ(List->Links(0), link);
    EXPECT_EQ(List->TakeLog(), (Log{"begin:Grid", "check:Grid:CustNo"}));
}

TEST_F(CaptureTest, AGridThatShowsNoDataGetsALinkButNeverAButton) {
    TStringGrid* grid = TStringGrid::Create(Window);
    grid->SetName("Strings");
    grid->SetParent(Window);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    auto* link = As<TLookupGridControlLink>(Capture(grid));
    ASSERT_NE(link, nullptr);
    grid->SetFocus();
    grid->ShowEditor();
    EXPECT_EQ(link->InplaceEditor(), grid->InplaceEditor());
    EXPECT_EQ(link->Button(), nullptr);
    CtrlF1();
    Plain->SetFocus();
    EXPECT_EQ(List->TakeLog(), (Log{"begin:Strings", "end:Strings"}));
}

TEST_F(CaptureTest, ADestroyedGridLeavesAnOrphanedLink) {
    TDBGrid* grid = MakeGrid();
    TLookupWinControlLink* link = Capture(grid);
    grid->SetFocus();
    grid->SetSelectedIndex(1);
    grid->ShowEditor();
    ASSERT_NE(link->Button(), nullptr);
    Free(grid);
    EXPECT_EQ(link->Control(), nullptr);
    EXPECT_EQ(As<TLookupGridControlLink>(link)->InplaceEditor(), nullptr);
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_FALSE(link->Captured());
    EXPECT_EQ(List->Controls(0), nullptr);
}

} // namespace
} // namespace capture
