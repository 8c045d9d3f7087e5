// The lookup button: its construction with and without an owner, its glyph,
// and the glyph's absence.

#include "host/core/Exception.h"
#include "host/package/Resource.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"
#include "lookup/Ldcapt.h"
#include "lookup/Package.h"

#include <gtest/gtest.h>

namespace {

using namespace host;
using namespace veskar;

constexpr std::uint32_t S = 0xC0C0C0, K = 0x000000, W = 0xFFFFFF;

TEST(LookupButtonTest, WithoutOwnerKeepsTheButtonSizeAndShowsTheGlass) {
    Owned<TLookupButton> button(TLookupButton::Create(nullptr));
    EXPECT_EQ(button->Width(), 23);
    EXPECT_EQ(button->Height(), 22);
    EXPECT_EQ(button->Constraints()->MaxHeight(), 0);
    EXPECT_EQ(button->Constraints()->MaxWidth(), 0);
    EXPECT_EQ(button->Align(), alRight);
    EXPECT_EQ(button->Cursor(), crArrow);
    EXPECT_EQ(button->Hint(), "Lookup");
    EXPECT_TRUE(button->ShowHint());
    EXPECT_TRUE(button->ControlStyle().Contains(csReplicatable));
    EXPECT_TRUE(button->Visible());
    EXPECT_FALSE(button->Flat());
    EXPECT_EQ(button->Caption(), "");
    EXPECT_FALSE(button->OnClick.Assigned());

    const TBitmap* glyph = button->Glyph();
    ASSERT_EQ(glyph->Width(), 8);
    ASSERT_EQ(glyph->Height(), 8);
    const std::uint32_t rows[8][8] = {
        {S, S, S, S, S, S, S, S}, {S, S, S, S, K, K, S, S}, {S, S, S, K, W, W, K, S},
        {S, S, S, K, W, W, K, S}, {S, S, S, K, K, K, S, S}, {S, S, K, K, S, S, S, S},
        {S, K, K, S, S, S, S, S}, {S, S, S, S, S, S, S, S},
    };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(glyph->Pixels(x, y), rows[y][x]) << x << "," << y;
}

TEST(LookupButtonTest, OwnedByAWindowedControlIsASquareJustInsideIt) {
    Owned<TWinControl> control(TWinControl::Create(nullptr));
    control->SetBounds(0, 0, 121, 21);
    TLookupButton* button = TLookupButton::Create(control.get());
    EXPECT_EQ(button->Owner(), control.get());
    EXPECT_EQ(button->Parent(), nullptr) << "the link sets the parent";
    EXPECT_EQ(button->Width(), 19);
    EXPECT_EQ(button->Height(), 19);
    EXPECT_EQ(button->Constraints()->MaxHeight(), 19);
    EXPECT_EQ(button->Constraints()->MaxWidth(), 19);
    button->SetHeight(30);
    EXPECT_EQ(button->Height(), 19) << "the constraint holds";

    // Inside its parent it docks to the right edge.
    button->SetParent(control.get());
    EXPECT_EQ(button->Left(), 121 - 19);
    EXPECT_EQ(button->Top(), 0);
}

TEST(LookupButtonTest, RefusesAnOwnerThatIsNotAWindowedControl) {
    Owned<TComponent> owner(TDataModule::Create(nullptr));
    try {
        TLookupButton::Create(owner.get());
        FAIL() << "no button may result";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "TLookupButton: Owner must be TWinControl");
    }
    EXPECT_EQ(owner->ComponentCount(), 0);

    // Moving an existing button into such an owner is refused the same way.
    Owned<TLookupButton> button(TLookupButton::Create(nullptr));
    EXPECT_THROW(owner->InsertComponent(button.get()), Exception);
    EXPECT_EQ(button->Owner(), nullptr);
}

TEST(LookupButtonTest, WithoutItsGlyphShowsDotsAndWorksTheSame) {
    // An unreadable LENZ shadows the package's own while it is registered.
    static const unsigned char broken[] = {'B', 'M', 0};
    const TResourceRegistration shadow(ModuleName(HInstance()).c_str(), "LENZ", rtBitmap, broken, sizeof broken);
    Owned<TWinControl> control(TWinControl::Create(nullptr));
    control->SetBounds(0, 0, 100, 25);
    TLookupButton* button = TLookupButton::Create(control.get());
    EXPECT_EQ(button->Caption(), "...");
    EXPECT_TRUE(button->Glyph()->Empty());
    EXPECT_EQ(button->Width(), 23);
    EXPECT_EQ(button->Height(), 23);
    EXPECT_EQ(button->Align(), alRight);
    EXPECT_EQ(button->Hint(), "Lookup");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->Click();
    EXPECT_EQ(clicks, 1);
}

} // namespace

namespace {

TEST(LookupButtonTest, PaintsItsGlassInsideTheRightEndOfItsControl) {
    Owned<TForm> form(TForm::Create(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetClientWidth(30 * kCellWidth);
    form->SetClientHeight(3 * kCellHeight);
    TEdit* edit = TEdit::Create(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(96, 12, 121, 21);
    edit->SetText("1351");
    TLookupButton* button = TLookupButton::Create(edit);
    button->SetParent(edit);
    form->PaintInvalid();
    // The edit spans columns 12 to 26; the button takes its last two, the
    // glass drawn in the first of them on the button's face.
    EXPECT_EQ(form->Surface().RowText(1), "            [1351        \u2592    ");
    EXPECT_EQ(form->Surface().CellAt(26, 1).Back, clBtnFace);
    EXPECT_EQ(form->Surface().CellAt(25, 1).Fore, clBlack);

    // Held down, it shows pressed; released, as before.
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(2, 2));
    form->PaintInvalid();
    EXPECT_EQ(form->Surface().CellAt(26, 1).Attrs & caReverse, caReverse);
    button->Perform(WM_LBUTTONUP, 0, PointToLParam(40, 2));
    form->PaintInvalid();
    EXPECT_EQ(form->Surface().CellAt(26, 1).Attrs, 0);
}

} // namespace
