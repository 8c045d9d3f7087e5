#include "host/core/Exception.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace host;

namespace {

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { Screen()->SetSize(1024, 768); }
    void TearDown() override { Screen()->SetSize(1024, 768); }
};

// A form class with a definition of its own, to see the construction steps
// run on the whole object and in order.
class TDefinedForm : public TForm {
    HOST_CLASS(TDefinedForm, TForm)
public:
    static std::vector<std::string>* Steps;
    TEdit* Field = nullptr;

protected:
    explicit TDefinedForm(TComponent* owner) : TForm(owner) {}
    void LoadDefinition() override {
        if (Steps) Steps->push_back("definition " + ClassName() + (Owner() ? " in owner" : ""));
        SetCaption("Defined");
        Field = TEdit::Create(this);
        Field->SetName("Field");
        Field->SetParent(this);
        OnCreate = [](TObject* sender) {
            if (Steps) Steps->push_back("OnCreate " + static_cast<TComponent*>(sender)->ClassName());
        };
    }
};
std::vector<std::string>* TDefinedForm::Steps = nullptr;
HOST_IMPLEMENT_COMPONENT(TDefinedForm, TForm)

class TRefusingOwner : public TComponent {
    HOST_CLASS(TRefusingOwner, TComponent)
protected:
    explicit TRefusingOwner(TComponent* owner) : TComponent(owner) {}
    void ValidateInsert(TComponent*) override { throw EComponentError("no forms here"); }
};
HOST_IMPLEMENT_COMPONENT(TRefusingOwner, TComponent)

} // namespace

TEST_F(FormsTest, ClassReferenceMakesTheMostDerivedFormWithItsDefinitionBeforeOnCreate) {
    std::vector<std::string> steps;
    TDefinedForm::Steps = &steps;
    Owned<TComponent> owner(TComponent::Create(nullptr));
    const TComponentClass& formClass = ClassOf<TDefinedForm>();
    TCustomForm* form = CreateForm(formClass, owner.get());
    TDefinedForm::Steps = nullptr;

    ASSERT_NE(dynamic_cast<TDefinedForm*>(form), nullptr);
    EXPECT_EQ(steps, (std::vector<std::string>{"definition TDefinedForm in owner", "OnCreate TDefinedForm"}));
    EXPECT_EQ(form->Owner(), owner.get());
    EXPECT_EQ(form->Caption(), "Defined");
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->FormState().Contains(fsCreating));
    EXPECT_EQ(form->Color(), clBtnFace);

    // Only form classes make forms.
    EXPECT_THROW(CreateForm(ClassOf<TEdit>(), owner.get()), EInvalidOperation);
    EXPECT_EQ(owner->ComponentCount(), 1);
}

TEST_F(FormsTest, TheScreenListsEveryFormWhileItExists) {
    const int before = Screen()->FormCount();
    Owned<TForm> first(TForm::Create(nullptr));
    TForm* second = TForm::Create(nullptr);
    ASSERT_EQ(Screen()->FormCount(), before + 2);
    EXPECT_EQ(Screen()->Forms(before), first.get());
    EXPECT_EQ(Screen()->Forms(before + 1), second);
    second->Free();
    EXPECT_EQ(Screen()->FormCount(), before + 1);
    EXPECT_THROW(Screen()->Forms(before + 1), EListError);

    // A form refused by its owner leaves no trace on the screen.
    Owned<TRefusingOwner> refusing(TRefusingOwner::Create(nullptr));
    EXPECT_THROW(TForm::Create(refusing.get()), EComponentError);
    EXPECT_EQ(Screen()->FormCount(), before + 1);

    first.reset();
    EXPECT_EQ(Screen()->FormCount(), before);
}

TEST_F(FormsTest, TheScreenFollowsTheFocusToTheActiveFormAndControl) {
    // The screen does not depend on the focus manager's OnChange slot.
    FocusManager().OnChange.Clear();
    Owned<TForm> a(TForm::Create(nullptr));
    Owned<TForm> b(TForm::Create(nullptr));
    TEdit* inA = TEdit::Create(a.get());
    inA->SetParent(a.get());
    TEdit* inB = TEdit::Create(b.get());
    inB->SetParent(b.get());
    std::vector<std::string> events;
    a->OnActivate = [&](TObject*) { events.push_back("activate a"); };
    a->OnDeactivate = [&](TObject*) { events.push_back("deactivate a"); };
    b->OnActivate = [&](TObject*) { events.push_back("activate b"); };
    a->Show();
    b->Show();

    inA->SetFocus();
    EXPECT_EQ(Screen()->ActiveForm(), a.get());
    EXPECT_EQ(Screen()->ActiveControl(), inA);
    EXPECT_EQ(a->ActiveControl(), inA);
    EXPECT_TRUE(a->Active());

    inB->SetFocus();
    EXPECT_EQ(Screen()->ActiveForm(), b.get());
    EXPECT_EQ(Screen()->ActiveControl(), inB);
    // The form that lost the focus still knows which control had it.
    EXPECT_EQ(a->ActiveControl(), inA);
    EXPECT_EQ(events, (std::vector<std::string>{"activate a", "deactivate a", "activate b"}));

    // Hiding the active form leaves no active form or control.
    b->Hide();
    EXPECT_EQ(Screen()->ActiveForm(), nullptr);
    EXPECT_EQ(Screen()->ActiveControl(), nullptr);

    // A freed active control is cleared from its form.
    inA->SetFocus();
    inA->Free();
    EXPECT_EQ(a->ActiveControl(), nullptr);
    EXPECT_EQ(Screen()->ActiveControl(), nullptr);
    a.reset();
    EXPECT_EQ(Screen()->ActiveForm(), nullptr);
}

TEST_F(FormsTest, FrameAndCaptionSurroundTheClientAreaByBorderStyle) {
    Owned<TForm> form(TForm::Create(nullptr));
    form->SetBounds(100, 50, 400, 300);
    struct Case {
        TFormBorderStyle Style;
        int Frame;
        int Caption;
    };
    for (Case c : {Case{bsNone, 0, 0}, Case{bsSingle, 3, 19}, Case{bsSizeable, 4, 19}, Case{bsDialog, 3, 19},
                   Case{bsToolWindow, 3, 15}, Case{bsSizeToolWin, 4, 15}}) {
        SCOPED_TRACE(c.Style);
        form->SetBorderStyle(c.Style);
        // The outer bounds stay; the client area is what the frame leaves.
        EXPECT_EQ(form->Width(), 400);
        EXPECT_EQ(form->ClientWidth(), 400 - 2 * c.Frame);
        EXPECT_EQ(form->ClientHeight(), 300 - 2 * c.Frame - c.Caption);
        EXPECT_EQ(form->ClientOrigin(), Point(100 + c.Frame, 50 + c.Frame + c.Caption));
    }

    // Setting the client size sets the outer size around it.
    form->SetBorderStyle(bsDialog);
    form->SetClientWidth(445);
    form->SetClientHeight(243);
    EXPECT_EQ(form->Width(), 451);
    EXPECT_EQ(form->Height(), 268);

    // A nested control's ClientOrigin is on the screen, through the frame.
    TPanel* panel = TPanel::Create(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 210, 445, 33);
    TButton* button = TButton::Create(form.get());
    button->SetParent(panel);
    button->SetBounds(285, 4, 75, 25);
    EXPECT_EQ(button->ClientOrigin(), Point(100 + 3 + 285, 50 + 22 + 210 + 4));
    EXPECT_EQ(button->ClientToScreen(Point(1, 1)), Point(389, 287));

    // Aligned children share the client area, not the frame.
    panel->SetAlign(alBottom);
    EXPECT_EQ(panel->BoundsRect(), Rect(0, 243 - 33, 445, 243));
}

TEST_F(FormsTest, ClientSizeReadFromAStoredFormHoldsWhateverTheReadingOrder) {
    Owned<TForm> form(TForm::Create(nullptr));
    TLoadingSession session;
    session.Add(form.get());
    // The client size comes before the border style, as a stored form has it.
    form->SetClientWidth(445);
    form->SetClientHeight(243);
    form->SetBorderStyle(bsDialog);
    session.Finish();
    EXPECT_EQ(form->ClientWidth(), 445);
    EXPECT_EQ(form->ClientHeight(), 243);
    EXPECT_EQ(form->Width(), 451);

    // Outside reading, a later border style change keeps the outer size.
    form->SetBorderStyle(bsNone);
    EXPECT_EQ(form->ClientWidth(), 451);
}

TEST_F(FormsTest, PositionIsAppliedWhenTheFormIsShown) {
    Screen()->SetSize(800, 600);
    Owned<TForm> form(TForm::Create(nullptr));
    form->SetBounds(287, 259, 451, 265);

    form->SetPosition(poDesigned);
    form->Show();
    EXPECT_EQ(form->BoundsRect(), Bounds(287, 259, 451, 265));
    form->Hide();

    // Setting the position does nothing until the form is shown.
    form->SetPosition(poScreenCenter);
    EXPECT_EQ(form->Left(), 287);
    form->Show();
    EXPECT_EQ(form->BoundsRect(), Bounds((800 - 451) / 2, (600 - 265) / 2, 451, 265));
    form->Hide();

    // The system's size keeps the position; the system's position the size.
    form->SetBounds(10, 20, 451, 265);
    form->SetPosition(poDefaultSizeOnly);
    form->Show();
    EXPECT_EQ(form->BoundsRect(), Bounds(10, 20, 600, 450));
    form->Hide();
    form->SetBounds(10, 20, 451, 265);
    form->SetPosition(poDefaultPosOnly);
    form->Show();
    const TPoint first = Point(form->Left(), form->Top());
    form->Hide();
    form->Show();
    EXPECT_EQ(form->Width(), 451);
    // The cascade moves on, or starts over when the form would leave the screen.
    const int next = first.X + 24 + 451 <= 800 && first.Y + 24 + 265 <= 600 ? first.X + 24 : 24;
    EXPECT_EQ(Point(form->Left(), form->Top()), Point(next, next));
    EXPECT_EQ(first.X, first.Y);
    form->Hide();
}

TEST_F(FormsTest, OwnerFormCenteringStaysOnTheScreen) {
    Owned<TForm> owner(TForm::Create(nullptr));
    owner->SetBounds(100, 100, 400, 300);
    TForm* child = TForm::Create(owner.get());
    child->SetBounds(0, 0, 200, 100);
    child->SetPosition(poOwnerFormCenter);
    child->Show();
    EXPECT_EQ(child->BoundsRect(), Bounds(200, 200, 200, 100));
    child->Hide();

    // An owner near the corner: the centred form is pulled back onto the screen.
    owner->SetBounds(-150, 720, 100, 100);
    child->Show();
    EXPECT_EQ(Point(child->Left(), child->Top()), Point(0, 768 - 100));
    owner->SetBounds(-150, 700, 100, 100);
    child->Hide();

    // Without an owner form, poOwnerFormCenter centres on the main form
    // (the oldest one), kept on the screen likewise.
    Owned<TForm> loose(TForm::Create(nullptr));
    ASSERT_EQ(Screen()->MainForm(), owner.get());
    loose->SetBounds(0, 0, 24, 8);
    loose->SetPosition(poOwnerFormCenter);
    loose->Show();
    EXPECT_EQ(Point(loose->Left(), loose->Top()), Point(0, 746));
    loose->Hide();

    // The main form itself, centred on the main form, is centred on the screen.
    owner->SetBounds(0, 0, 24, 8);
    owner->SetPosition(poMainFormCenter);
    owner->Show();
    EXPECT_EQ(owner->BoundsRect(), Bounds(500, 380, 24, 8));
}

TEST_F(FormsTest, ActiveControlMustBeOnTheFormAndTakesTheFocusOnAVisibleOne) {
    Owned<TForm> form(TForm::Create(nullptr));
    Owned<TForm> other(TForm::Create(nullptr));
    TEdit* mine = TEdit::Create(form.get());
    mine->SetParent(form.get());
    TEdit* theirs = TEdit::Create(other.get());
    theirs->SetParent(other.get());

    EXPECT_THROW(form->SetActiveControl(theirs), EInvalidOperation);
    form->SetActiveControl(mine);
    EXPECT_EQ(form->ActiveControl(), mine);
    EXPECT_FALSE(mine->Focused());

    form->SetActiveControl(nullptr);
    form->Show();
    form->SetActiveControl(mine);
    EXPECT_TRUE(mine->Focused());
    form->Hide();
}
