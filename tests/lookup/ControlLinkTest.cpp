// Control links driven through focus, keys and mouse: the button shown while
// a captured control has the focus, the shortcut, and the links' states.

#include "host/ui/Mouse.h"
#include "tests/lookup/CaptureFixture.h"

namespace capture {
namespace {

TEST_F(CaptureTest, LinkConstructionChecksControlFirstThenList) {
    auto message = [](auto make) {
        try {
            make();
        } catch (const Exception& e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { TLookupWinControlLink::Create(nullptr, List.get()); }), "Control is NIL.");
    EXPECT_EQ(message([&] { TLookupWinControlLink::Create(CustEdit, nullptr); }), "Owner is NIL.");
    EXPECT_EQ(message([&] { TLookupGridControlLink::Create(nullptr, nullptr); }), "Control is NIL.");
    EXPECT_EQ(message([&] { List->AddLookupControl(nullptr, true); }), "Control is NIL.");
    EXPECT_EQ(List->Count(), 0);

    // The plain component constructor makes an inert link.
    Owned<TLookupWinControlLink> plain(TLookupWinControlLink::Create(static_cast<TComponent*>(nullptr)));
    plain->Capture();
    EXPECT_FALSE(plain->Captured());
    EXPECT_EQ(plain->Control(), nullptr);
    EXPECT_EQ(plain->GetLookupShortCut(), 0x4070);
}

TEST_F(CaptureTest, FocusShowsTheButtonAtTheRightEdgeAndLeavingRemovesIt) {
    TLookupWinControlLink* link = Capture(CustEdit);
    EXPECT_TRUE(link->Captured());
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_TRUE(List->TakeLog().empty()) << "capturing an unfocused control reports nothing";

    CustEdit->SetFocus();
    EXPECT_EQ(List->TakeLog(), (Log{"begin:CustEdit", "check:CustEdit:CustNo"}));
    TLookupButton* button = link->Button();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Owner(), CustEdit);
    EXPECT_EQ(button->Parent(), CustEdit);
    EXPECT_EQ(button->Width(), 19);
    EXPECT_EQ(button->Height(), 19);
    EXPECT_EQ(button->Left() + button->Width(), CustEdit->ClientWidth());
    EXPECT_EQ(CustEdit->Controls(CustEdit->ControlCount() - 1), button) << "above the control's other children";
    EXPECT_EQ(button->Hint(), "Ctrl+F1 Lookup");

    NoteEdit->SetFocus();
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_EQ(CustEdit->ControlCount(), 0);
    EXPECT_EQ(List->TakeLog(), (Log{"end:CustEdit"}));

    // Each gain of focus asks again and builds a new button.
    CustEdit->SetFocus();
    EXPECT_NE(link->Button(), nullptr);
    EXPECT_EQ(List->TakeLog(), (Log{"begin:CustEdit", "check:CustEdit:CustNo"}));
}

TEST_F(CaptureTest, TheShortcutAndTheButtonReachTheList) {
    Capture(CustEdit);
    CustEdit->SetFocus();
    List->TakeLog();

    EXPECT_TRUE(CtrlF1());
    EXPECT_EQ(List->TakeLog(), (Log{"click:CustEdit:CustNo"}));

    Keyboard().Press(VK_F1, TShiftState{ssShift, ssCtrl});
    Keyboard().Press(VK_F1, TShiftState{ssCtrl, ssAlt});  // arrives as WM_SYSKEYDOWN
    Keyboard().Press(VK_F1, TShiftState{ssAlt});
    Keyboard().Press(VK_F1);
    EXPECT_TRUE(List->TakeLog().empty());

    Mouse().Click(List->Links(0)->Button());
    EXPECT_EQ(List->TakeLog(), (Log{"click:CustEdit:CustNo"}));

    // The key still reaches the control after the link looked at it.
    Keyboard().Type("9");
    EXPECT_EQ(CustEdit->Text(), "C19");

    // A new shortcut counts at once for keys; the shown button keeps its hint.
    List->SetLookupShortCut(TextToShortCut("Ctrl+L"));
    CtrlF1();
    EXPECT_TRUE(List->TakeLog().empty());
    Keyboard().Press('L', TShiftState{ssCtrl});
    EXPECT_EQ(List->TakeLog(), (Log{"click:CustEdit:CustNo"}));
    EXPECT_EQ(List->Links(0)->Button()->Hint(), "Ctrl+F1 Lookup");
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    EXPECT_EQ(List->Links(0)->Button()->Hint(), "Ctrl+L Lookup");

    // A shortcut of 0 matches no key.
    List->SetLookupShortCut(0);
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    EXPECT_EQ(List->Links(0)->Button()->Hint(), " Lookup");
    List->TakeLog();
    CustEdit->Perform(WM_KEYDOWN, 0x1FF);  // a code that makes no shortcut
    CustEdit->Perform(WM_KEYDOWN, 0);
    EXPECT_TRUE(List->TakeLog().empty());
}

TEST_F(CaptureTest, OnlyWritableVisibleDataEditsTheListAcceptsGetAButton) {
    TLookupWinControlLink* cust = Capture(CustEdit);
    TLookupWinControlLink* note = Capture(NoteEdit);
    TLookupWinControlLink* plain = Capture(Plain);
    List->Refused = {"Note"};

    NoteEdit->SetFocus();
    EXPECT_EQ(note->Button(), nullptr);
    CtrlF1();
    Plain->SetFocus();
    EXPECT_EQ(plain->Button(), nullptr);
    CtrlF1();
    EXPECT_EQ(List->TakeLog(), (Log{"begin:NoteEdit", "check:NoteEdit:Note", "end:NoteEdit", "begin:Plain"}))
        << "a plain edit reports its focus but is never checked";

    CustEdit->SetReadOnly(true);
    CustEdit->SetFocus();
    EXPECT_EQ(cust->Button(), nullptr);
    CtrlF1();
    EXPECT_EQ(List->TakeLog(), (Log{"end:Plain", "begin:CustEdit"}));

    // A hidden control (as a message would find it) is not offered one either.
    CustEdit->SetReadOnly(false);
    Plain->SetFocus();
    CustEdit->Hide();
    List->TakeLog();
    CustEdit->Perform(WM_SETFOCUS);
    EXPECT_EQ(cust->Button(), nullptr);
    EXPECT_EQ(List->TakeLog(), (Log{"begin:CustEdit"}));
}

TEST_F(CaptureTest, CaptureAndReleaseAreIdempotent) {
    CustEdit->SetFocus();
    List->AddLookupControl(CustEdit, false);
    TLookupWinControlLink* link = List->Links(0);
    EXPECT_FALSE(link->Captured());
    EXPECT_FALSE(IsSubclassRegistered(CustEdit, link->Subclass()));
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    EXPECT_TRUE(List->TakeLog().empty()) << "an uncaptured link hears nothing";

    link->Capture();  // the control has the focus: the button comes at once
    EXPECT_EQ(List->TakeLog(), (Log{"begin:CustEdit", "check:CustEdit:CustNo"}));
    TLookupButton* button = link->Button();
    ASSERT_NE(button, nullptr);
    link->Capture();
    EXPECT_EQ(link->Button(), button);
    EXPECT_TRUE(List->TakeLog().empty());

    link->UnCapture();
    EXPECT_FALSE(link->Captured());
    EXPECT_EQ(link->Button(), nullptr);
    link->UnCapture();
    NoteEdit->SetFocus();
    EXPECT_TRUE(List->TakeLog().empty());
}

TEST_F(CaptureTest, DestroyedControlsAndButtonsAreForgotten) {
    TLookupWinControlLink* link = Capture(CustEdit);
    Capture(NoteEdit);
    CustEdit->SetFocus();
    ASSERT_NE(link->Button(), nullptr);

    // A button freed from elsewhere: the next gain of focus makes a new one.
    Free(link->Button());
    EXPECT_EQ(link->Button(), nullptr);
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    EXPECT_NE(link->Button(), nullptr);

    // The control freed while focused: the capture and the button go with it.
    Free(CustEdit);
    EXPECT_EQ(link->Control(), nullptr);
    EXPECT_FALSE(link->Captured());
    EXPECT_EQ(link->Button(), nullptr);
    EXPECT_EQ(List->Count(), 2) << "the orphaned link stays in its list";
    EXPECT_EQ(List->Controls(0), nullptr);
    EXPECT_EQ(List->Controls(1), NoteEdit);
    EXPECT_EQ(List->IndexOfControl(nullptr), 0);
    EXPECT_EQ(List->RemoveLookupControl(nullptr), 0);
    EXPECT_EQ(List->Count(), 1);
    EXPECT_EQ(List->Controls(0), NoteEdit);
}

// During a click the button stays, whatever the focus does; a lookup's modal
// form takes the focus and gives it back while the click runs.
TEST_F(CaptureTest, TheClickedButtonSurvivesFocusChangesDuringItsClick) {
    TLookupWinControlLink* link = Capture(CustEdit);
    CustEdit->SetFocus();
    TLookupButton* button = link->Button();
    int repaintsBefore = 0;
    List->OnClicked = [&](TWinControl*, TField*) {
        EXPECT_TRUE(link->InButtonClick());
        NoteEdit->SetFocus();
        EXPECT_EQ(link->Button(), button) << "the end of edit frees nothing";
        repaintsBefore = button->InvalidateCount();
        CustEdit->SetFocus();
        EXPECT_EQ(link->Button(), button) << "the begin of edit only repaints";
        EXPECT_GT(button->InvalidateCount(), repaintsBefore);
        NoteEdit->SetFocus();  // the click ends with the focus elsewhere
    };
    CtrlF1();
    EXPECT_FALSE(link->InButtonClick());
    EXPECT_EQ(link->Button(), button) << "the kept button stays until the next focus round";
    CustEdit->SetFocus();
    EXPECT_NE(link->Button(), nullptr);
    NoteEdit->SetFocus();
    EXPECT_EQ(link->Button(), nullptr);

    // A hook that raises: the error goes on and the link is consistent.
    CustEdit->SetFocus();
    List->OnClicked = [](TWinControl*, TField*) { throw Exception("lookup failed"); };
    EXPECT_THROW(CtrlF1(), Exception);
    EXPECT_FALSE(link->InButtonClick());
    NoteEdit->SetFocus();
    EXPECT_EQ(link->Button(), nullptr);
}

// Freeing the links (or the list) from inside a click must not free the
// button or the link under the running click; run under AddressSanitizer.
TEST_F(CaptureTest, ALinkFreedDuringItsClickEndsAfterTheClick) {
    auto clearOnClick = [&] {
        List->OnClicked = [&](TWinControl*, TField*) {
            List->OnClicked = nullptr;
            List->Clear();
            NoteEdit->SetFocus();  // the control is released: no report comes
            CustEdit->SetFocus();
        };
    };
    // By the shortcut.
    Capture(CustEdit);
    CustEdit->SetFocus();
    clearOnClick();
    CtrlF1();
    EXPECT_EQ(List->Count(), 0);
    EXPECT_EQ(CustEdit->ControlCount(), 0) << "the button went after its click";
    NoteEdit->SetFocus();
    EXPECT_EQ(List->TakeLog(), (Log{"begin:CustEdit", "check:CustEdit:CustNo", "click:CustEdit:CustNo"}));

    // By the mouse, on the button's own message.
    Capture(CustEdit);
    CustEdit->SetFocus();
    clearOnClick();
    Mouse().Click(List->Links(0)->Button());
    EXPECT_EQ(List->Count(), 0);
    EXPECT_EQ(CustEdit->ControlCount(), 0);

    // By the button's Click called directly.
    Capture(CustEdit);
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    clearOnClick();
    List->Links(0)->Button()->Click();
    EXPECT_EQ(CustEdit->ControlCount(), 0);

    // The whole list freed, and the control too, from inside the click.
    Capture(CustEdit);
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    List->OnClicked = [&](TWinControl*, TField*) {
        List.reset();
        Free(CustEdit);
        CustEdit = nullptr;
    };
    CtrlF1();
    EXPECT_EQ(List, nullptr);
}

TEST_F(CaptureTest, TwoListsCaptureOneControlSideBySide) {
    Owned<TRecordingList> second(TRecordingList::Create());
    TLookupWinControlLink* first = Capture(CustEdit);
    TLookupWinControlLink* other = second->Links(second->AddLookupControl(CustEdit, true));
    CustEdit->SetFocus();
    ASSERT_NE(first->Button(), nullptr);
    ASSERT_NE(other->Button(), nullptr);
    EXPECT_EQ(CustEdit->ControlCount(), 2);
    CtrlF1();
    EXPECT_EQ(List->TakeLog().back(), "click:CustEdit:CustNo");
    EXPECT_EQ(second->TakeLog().back(), "click:CustEdit:CustNo");

    // Releasing one leaves the other in place.
    List->RemoveLookupControl(CustEdit);
    EXPECT_EQ(CustEdit->ControlCount(), 1);
    CtrlF1();
    EXPECT_TRUE(List->TakeLog().empty());
    EXPECT_EQ(second->TakeLog(), (Log{"click:CustEdit:CustNo"}));

    // One list holding a control twice: removing it once leaves one link.
    second->AddLookupControl(CustEdit, true);
    EXPECT_EQ(second->RemoveLookupControl(CustEdit), 0);
    EXPECT_EQ(second->Count(), 1);
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    EXPECT_NE(second->Links(0)->Button(), nullptr);
}

TEST_F(CaptureTest, ListOperationsOnIndexesAndControls) {
    EXPECT_EQ(List->Controls(0), nullptr);
    EXPECT_EQ(List->IndexOfControl(CustEdit), -1);
    EXPECT_EQ(List->RemoveLookupControl(CustEdit), -1);
    List->Clear();
    EXPECT_EQ(List->LookupShortCut(), 0x4070);

    Capture(CustEdit);
    Capture(NoteEdit);
    TLookupWinControlLink* note = List->GetLinkToControl(NoteEdit);
    EXPECT_EQ(List->IndexOfControl(NoteEdit), 1);
    EXPECT_EQ(note->Control(), NoteEdit);
    EXPECT_EQ(List->Controls(-1), nullptr);
    EXPECT_EQ(List->Controls(2), nullptr);
    try {
        List->DeleteLookupControl(2);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (2)");
    }
    EXPECT_EQ(List->Count(), 2);

    List->DeleteLookupControl(0);
    EXPECT_EQ(List->Controls(0), NoteEdit);
    EXPECT_FALSE(IsSubclassRegistered(CustEdit, nullptr));
    List->Clear();
    EXPECT_EQ(List->Count(), 0);
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    EXPECT_TRUE(List->TakeLog().empty()) << "released controls report nothing";
}

// A descendant reaches every slot: its own link class, made by its own
// AddLookupControl, offers the button on a plain edit.
class TPlainEditLink : public TLookupWinControlLink {
    HOST_CLASS(TPlainEditLink, TLookupWinControlLink)
public:
    bool CheckControlLookup() override { return OwnerList() && Is<TEdit>(Control()); }
    void LookupButtonClicked() override { OwnerList()->LookupButtonClicked(Control(), nullptr); }

protected:
    TPlainEditLink(TWinControl* control, TLookupControlsList* list) : TLookupWinControlLink(control, list) {}
};
HOST_IMPLEMENT_CLASS(TPlainEditLink, TLookupWinControlLink)

class TPlainEditList : public TRecordingList {
    HOST_CLASS(TPlainEditList, TRecordingList)
public:
    int AddLookupControl(TWinControl* control, bool capture) override {
        auto* link = TPlainEditLink::Create(control, this);
        const int index = Add(link);
        if (capture) link->Capture();
        return index;
    }

protected:
    TPlainEditList() = default;
};
HOST_IMPLEMENT_CLASS(TPlainEditList, TRecordingList)

TEST_F(CaptureTest, DescendantsReachTheVirtualSlots) {
    Owned<TPlainEditList> list(TPlainEditList::Create());
    list->AddLookupControl(Plain, true);
    Plain->SetFocus();
    ASSERT_NE(list->Links(0)->Button(), nullptr);
    CtrlF1();
    EXPECT_EQ(list->TakeLog(), (Log{"begin:Plain", "click:Plain:nil"}));
    list.reset();
    EXPECT_EQ(Plain->ControlCount(), 0) << "freeing the list releases its links";
}

} // namespace
} // namespace capture

namespace capture {
namespace {

// Registered after a link on the same control: notes, as each focus
// arrives, whether the link has shown its button already (it went first).
class TButtonProbe : public TControlSubclass {
    HOST_CLASS(TButtonProbe, TControlSubclass)
public:
    TLookupWinControlLink* Link = nullptr;
    std::vector<bool> LinkWentFirst;
    void BeforeWndProc(TMessage& message) override {
        if (message.Msg == WM_SETFOCUS) LinkWentFirst.push_back(Link && Link->Button());
    }

protected:
    TButtonProbe() = default;
};

} // namespace
} // namespace capture
HOST_IMPLEMENT_CLASS(capture::TButtonProbe, host::TControlSubclass)
namespace capture {
namespace {

TEST_F(CaptureTest, CapturingAgainKeepsTheLinksOfControlsFoundAgain) {
    TDBGrid* grid = MakeGrid();
    TLookupWinControlLink* cust = Capture(CustEdit);
    TLookupWinControlLink* note = Capture(NoteEdit);
    Capture(grid);
    Owned<TButtonProbe> probe(TButtonProbe::Create());
    probe->Link = note;
    RegisterSubclass(NoteEdit, probe.get());
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    TLookupButton* oldButton = cust->Button();
    ASSERT_NE(oldButton, nullptr);
    List->TakeLog();

    // Same controls, another order, the focused one among them.
    Owned<TList> controls(TList::Create());
    controls->Add(NoteEdit);
    controls->Add(CustEdit);
    controls->Add(grid);
    List->RecaptureControls(*controls);
    ASSERT_EQ(List->Count(), 3);
    EXPECT_EQ(List->Links(0), note) << "kept, in the new order";
    EXPECT_EQ(List->Links(1), cust);
    EXPECT_EQ(List->Controls(2), grid);
    EXPECT_TRUE(note->Captured());
    EXPECT_NE(cust->Button(), nullptr) << "the focused control has a button again";
    EXPECT_EQ(List->TakeLog(), (Log{"begin:CustEdit", "check:CustEdit:CustNo"}))
        << "as a new link on a focused control reports";
    EXPECT_EQ(CustEdit->ControlCount(), 1) << "the old button went";

    // The kept link's hook went behind the probe's, as a new link's would.
    NoteEdit->SetFocus();
    EXPECT_EQ(probe->LinkWentFirst, (std::vector<bool>{true, false}));
    List->TakeLog();

    // A control not found again loses its link; a new one gets one.
    controls->Clear();
    controls->Add(Plain);
    controls->Add(CustEdit);
    List->RecaptureControls(*controls);
    ASSERT_EQ(List->Count(), 2);
    EXPECT_EQ(List->Links(1), cust);
    EXPECT_EQ(List->Controls(0), Plain);
    EXPECT_EQ(List->GetLinkToControl(NoteEdit), nullptr);
    EXPECT_EQ(List->GetLinkToControl(grid), nullptr);
    EXPECT_TRUE(List->TakeLog().empty()) << "the freed link's button went without a report";
    EXPECT_EQ(NoteEdit->ControlCount(), 0);
    NoteEdit->SetFocus();
    CustEdit->SetFocus();
    EXPECT_EQ(List->TakeLog(), (Log{"begin:CustEdit", "check:CustEdit:CustNo"}));

    // Nothing found: as Clear.
    controls->Clear();
    List->RecaptureControls(*controls);
    EXPECT_EQ(List->Count(), 0);
    EXPECT_EQ(CustEdit->ControlCount(), 0);
    UnRegisterSubclass(NoteEdit, probe.get());
}

} // namespace
} // namespace capture
