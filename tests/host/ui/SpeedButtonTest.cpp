#include "host/ui/Mouse.h"
#include "host/ui/SpeedButton.h"

#include <gtest/gtest.h>

using namespace host;

TEST(SpeedButton, Defaults) {
    Owned<TSpeedButton> b(TSpeedButton::Create(nullptr));
    EXPECT_EQ(b->Width(), 23);
    EXPECT_EQ(b->Height(), 22);
    EXPECT_FALSE(b->Flat());
    EXPECT_TRUE(b->Visible());
    EXPECT_TRUE(b->Caption().empty());
    ASSERT_NE(b->Glyph(), nullptr);
    EXPECT_TRUE(b->Glyph()->Empty());
    EXPECT_FALSE(b->OnClick.Assigned());
    EXPECT_TRUE(Is<TGraphicControl>(b.get()));
}

TEST(SpeedButton, ClickRunsOnClickAndSoDoesAMouseClickInside) {
    Owned<TWinControl> parent(TWinControl::Create(nullptr));
    TSpeedButton* b = TSpeedButton::Create(nullptr);
    b->SetParent(parent.get());
    int clicks = 0;
    TObject* sender = nullptr;
    b->OnClick = [&](TObject* s) {
        ++clicks;
        sender = s;
    };
    b->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, b);

    Mouse().Click(b);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(b->Pressed());
    // Released outside the button: no click.
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
    EXPECT_TRUE(b->Pressed());
    b->Perform(WM_LBUTTONUP, 0, PointToLParam(40, 3));
    EXPECT_EQ(clicks, 2);
    // Disabled or hidden buttons take no clicks.
    b->SetEnabled(false);
    Mouse().Click(b);
    b->SetEnabled(true);
    parent->SetVisible(false);
    Mouse().Click(b);
    EXPECT_EQ(clicks, 2);
}

TEST(SpeedButton, GlyphIsTheButtonsOwnCopy) {
    Owned<TSpeedButton> b(TSpeedButton::Create(nullptr));
    Owned<TBitmap> picture(TBitmap::Create());
    picture->SetSize(8, 8);
    const int before = b->InvalidateCount();
    b->SetGlyph(picture.get());
    EXPECT_EQ(b->Glyph()->Width(), 8);
    EXPECT_NE(b->Glyph(), picture.get());
    EXPECT_GT(b->InvalidateCount(), before);
    picture->SetSize(2, 2);
    EXPECT_EQ(b->Glyph()->Height(), 8);
}

TEST(SpeedButton, ButtonFreedByItsOwnClickEndsAfterTheClick) {
    Owned<TWinControl> parent(TWinControl::Create(nullptr));
    TSpeedButton* b = TSpeedButton::Create(nullptr);
    b->SetParent(parent.get());
    bool clicked = false;
    b->OnClick = [&](TObject* s) {
        clicked = true;
        static_cast<TControl*>(s)->Free();
    };
    Mouse().Click(b);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(parent->ControlCount(), 0);
}
