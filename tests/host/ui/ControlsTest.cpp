#include "host/core/Exception.h"
#include "host/ui/Controls.h"
#include "tests/host/ui/Probe.h"

#include <gtest/gtest.h>

using namespace host;
using probe::TProbe;

namespace {

TWinControl* MakeParent(int width, int height) {
    TWinControl* parent = TWinControl::Create(nullptr);
    parent->SetBounds(0, 0, width, height);
    return parent;
}

TControl* MakeChild(TWinControl* parent, TAlign align, int width, int height) {
    TControl* child = TGraphicControl::Create(nullptr);
    child->SetBounds(0, 0, width, height);
    child->SetAlign(align);
    child->SetParent(parent);
    return child;
}

} // namespace

TEST(Controls, OwnerAndParentAreIndependent) {
    Owned<TComponent> owner(TComponent::Create(nullptr));
    Owned<TWinControl> parent(TWinControl::Create(nullptr));
    TControl* child = TGraphicControl::Create(owner.get());
    child->SetParent(parent.get());
    ASSERT_EQ(parent->ControlCount(), 1);
    EXPECT_EQ(parent->Controls(0), child);
    EXPECT_EQ(child->Owner(), owner.get());
    EXPECT_EQ(parent->ComponentCount(), 0);

    // Freed by its owner, the child leaves its parent.
    owner.reset();
    EXPECT_EQ(parent->ControlCount(), 0);

    // Freed with its parent, a child leaves its owner.
    Owned<TComponent> owner2(TComponent::Create(nullptr));
    TControl* second = TGraphicControl::Create(owner2.get());
    second->SetParent(parent.get());
    parent.reset();
    EXPECT_EQ(owner2->ComponentCount(), 0);
    Owned<TWinControl> empty(TWinControl::Create(nullptr));
    EXPECT_THROW(empty->Controls(0), EListError);
    EXPECT_THROW(empty->Controls(-1), EListError);
}

TEST(Controls, WindowedParentFreesTheControlsItParentsAtEveryDepth) {
    Owned<TComponent> owner(TComponent::Create(nullptr));
    TWinControl* form = TWinControl::Create(nullptr);
    TWinControl* panel = TWinControl::Create(owner.get());
    TWinControl* edit = TWinControl::Create(owner.get());
    TControl* label = TGraphicControl::Create(owner.get());
    panel->SetParent(form);
    edit->SetParent(panel);
    label->SetParent(panel);
    edit->Handle();
    ASSERT_EQ(owner->ComponentCount(), 3);

    const TWindowHandle editHandle = edit->Handle();
    form->Free();
    EXPECT_EQ(owner->ComponentCount(), 0);
    EXPECT_EQ(FindControl(editHandle), nullptr);
}

TEST(Controls, SetParentRefusesCyclesAndMovesBetweenParents) {
    Owned<TWinControl> outer(TWinControl::Create(nullptr));
    Owned<TWinControl> other(TWinControl::Create(nullptr));
    TWinControl* inner = TWinControl::Create(nullptr);
    inner->SetParent(outer.get());
    EXPECT_THROW(outer->SetParent(inner), EInvalidOperation);
    EXPECT_THROW(inner->SetParent(inner), EInvalidOperation);
    EXPECT_EQ(outer->Parent(), nullptr);

    inner->SetParent(other.get());
    EXPECT_EQ(outer->ControlCount(), 0);
    EXPECT_EQ(other->ControlCount(), 1);
    EXPECT_TRUE(other->ContainsControl(inner));
    EXPECT_FALSE(outer->ContainsControl(inner));
}

TEST(Controls, ZOrderIsTheOrderOfControls) {
    Owned<TWinControl> parent(MakeParent(100, 100));
    TControl* a = MakeChild(parent.get(), alNone, 10, 10);
    TControl* b = MakeChild(parent.get(), alNone, 10, 10);
    TControl* c = MakeChild(parent.get(), alNone, 10, 10);
    a->BringToFront();
    EXPECT_EQ(parent->Controls(0), b);
    EXPECT_EQ(parent->Controls(1), c);
    EXPECT_EQ(parent->Controls(2), a);
    c->SendToBack();
    EXPECT_EQ(parent->Controls(0), c);
    EXPECT_EQ(parent->Controls(1), b);
    EXPECT_EQ(parent->Controls(2), a);
}

TEST(Controls, RightAlignedChildDocksAtTheRightEdgeWithinItsConstraints) {
    Owned<TWinControl> parent(MakeParent(200, 21));
    TControl* button = TGraphicControl::Create(nullptr);
    button->Constraints()->SetMaxHeight(19);
    button->Constraints()->SetMaxWidth(19);
    button->SetBounds(0, 0, 19, 19);
    button->SetAlign(alRight);
    button->SetParent(parent.get());
    EXPECT_EQ(button->BoundsRect(), Bounds(181, 0, 19, 19));

    // Without a height limit it takes the full client height.
    TControl* strip = MakeChild(parent.get(), alRight, 5, 3);
    EXPECT_EQ(strip->BoundsRect(), Bounds(176, 0, 5, 21));

    // The parent's resize lays them out again.
    parent->SetBounds(0, 0, 300, 40);
    EXPECT_EQ(button->BoundsRect(), Bounds(281, 0, 19, 19));
    EXPECT_EQ(strip->BoundsRect(), Bounds(276, 0, 5, 40));

    // A child that leaves, or hides, gives its room back.
    button->SetParent(nullptr);
    EXPECT_EQ(strip->Left(), 295);
    strip->SetVisible(false);
    TControl* third = MakeChild(parent.get(), alRight, 7, 1);
    EXPECT_EQ(third->Left(), 293);
    button->Free();
}

TEST(Controls, AlignmentsShareTheClientArea) {
    Owned<TWinControl> parent(MakeParent(100, 100));
    TControl* client = MakeChild(parent.get(), alClient, 1, 1);
    TControl* top = MakeChild(parent.get(), alTop, 1, 10);
    TControl* bottom = MakeChild(parent.get(), alBottom, 1, 20);
    TControl* left = MakeChild(parent.get(), alLeft, 30, 1);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 100, 10));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 80, 100, 20));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 10, 30, 70));
    EXPECT_EQ(client->BoundsRect(), Bounds(30, 10, 70, 70));

    // A docked child that changes size moves the others.
    top->SetHeight(25);
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 25, 30, 55));
    EXPECT_EQ(client->BoundsRect(), Bounds(30, 25, 70, 55));
    left->SetAlign(alNone);
    EXPECT_EQ(client->BoundsRect(), Bounds(0, 25, 100, 55));
}

TEST(Controls, ConstraintsClampTheSize) {
    Owned<TControl> c(TGraphicControl::Create(nullptr));
    c->SetBounds(5, 6, 50, 60);
    c->Constraints()->SetMaxWidth(40);
    EXPECT_EQ(c->Width(), 40);
    c->Constraints()->SetMinHeight(70);
    EXPECT_EQ(c->Height(), 70);
    c->SetBounds(5, 6, 10, 100);
    EXPECT_EQ(c->Width(), 10);
    EXPECT_EQ(c->Height(), 100);
    c->SetWidth(1000);
    EXPECT_EQ(c->Width(), 40);
    // A maximum below the minimum lowers the minimum.
    c->Constraints()->SetMaxHeight(30);
    EXPECT_EQ(c->Constraints()->MinHeight(), 30);
    EXPECT_EQ(c->Height(), 30);
    // 0 is no limit.
    c->Constraints()->SetMaxWidth(0);
    c->SetWidth(1000);
    EXPECT_EQ(c->Width(), 1000);
    EXPECT_EQ(c->Left(), 5);
    EXPECT_EQ(c->Top(), 6);
}

TEST(Controls, ClientOriginIsInScreenCoordinates) {
    Owned<TWinControl> form(MakeParent(400, 300));
    form->SetBounds(100, 50, 400, 300);
    TWinControl* panel = TWinControl::Create(nullptr);
    panel->SetBounds(10, 20, 200, 100);
    panel->SetParent(form.get());
    TControl* edit = MakeChild(panel, alNone, 50, 21);
    edit->SetBounds(3, 4, 50, 21);
    EXPECT_EQ(form->ClientOrigin(), Point(100, 50));
    EXPECT_EQ(edit->ClientOrigin(), Point(113, 74));
    EXPECT_EQ(edit->ClientToScreen(Point(1, 2)), Point(114, 76));
    EXPECT_EQ(edit->ScreenToClient(Point(114, 76)), Point(1, 2));
    EXPECT_EQ(edit->ClientWidth(), 50);
    edit->SetClientHeight(30);
    EXPECT_EQ(edit->Height(), 30);
}

TEST(Controls, PropertiesAndRepaintRequests) {
    Owned<TControl> c(TGraphicControl::Create(nullptr));
    EXPECT_TRUE(c->Visible());
    EXPECT_TRUE(c->Enabled());
    EXPECT_EQ(c->Cursor(), crDefault);
    EXPECT_TRUE(c->ControlStyle().Contains(csSetCaption));
    c->SetControlStyle(c->ControlStyle() + TControlStyle{csReplicatable});
    EXPECT_TRUE(c->ControlStyle().Contains(csReplicatable));
    c->SetCursor(crArrow);
    EXPECT_EQ(c->Cursor(), -2);

    const int before = c->InvalidateCount();
    c->Invalidate();
    EXPECT_EQ(c->InvalidateCount(), before + 1);
    c->SetCaption("Go");
    EXPECT_EQ(c->Text(), "Go");
    EXPECT_EQ(c->InvalidateCount(), before + 2);

    // A control whose text is its name follows a rename.
    Owned<TControl> named(TGraphicControl::Create(nullptr));
    named->SetName("Button1");
    EXPECT_EQ(named->Caption(), "Button1");
    named->SetCaption("OK");
    named->SetName("bOk");
    EXPECT_EQ(named->Caption(), "OK");
}

TEST(Controls, AnchoredControlsKeepTheirDistancesToTheAnchoredEdges) {
    Owned<TWinControl> parent(MakeParent(200, 100));
    auto anchored = [&](TAnchors anchors) {
        TControl* child = MakeChild(parent.get(), alNone, 40, 20);
        child->SetBounds(50, 30, 40, 20);
        child->SetAnchors(anchors);
        return child;
    };
    TControl* fixed = anchored(kDefaultAnchors);
    TControl* right = anchored({akTop, akRight});
    TControl* stretch = anchored({akLeft, akTop, akRight, akBottom});
    TControl* floating = anchored({});

    parent->SetBounds(0, 0, 300, 160);
    EXPECT_EQ(fixed->BoundsRect(), Bounds(50, 30, 40, 20));
    EXPECT_EQ(right->BoundsRect(), Bounds(150, 30, 40, 20));
    EXPECT_EQ(stretch->BoundsRect(), Bounds(50, 30, 140, 80));
    // The centre (70, 40) stays where it was in proportion: (105, 64).
    EXPECT_EQ(floating->BoundsRect(), Bounds(85, 54, 40, 20));

    // Shrinking goes back, and a stretched control never gets a negative size.
    parent->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(right->BoundsRect(), Bounds(150 - 100, 30, 40, 20));
    EXPECT_EQ(stretch->BoundsRect(), Bounds(50, 30, 40, 20));
    parent->SetBounds(0, 0, 60, 100);
    EXPECT_EQ(stretch->Width(), 0);

    // A control moved by the program keeps distances from where it was put.
    right->SetLeft(10);
    parent->SetBounds(0, 0, 100, 100);
    EXPECT_EQ(right->Left(), 50);
}
