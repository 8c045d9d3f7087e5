#include "host/terminal/TerminalBackend.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>

using namespace host;
using namespace host::term;

namespace {

// The text of a row of the screen from a column on, Count characters.
std::string Text(const TCellSurface& screen, int column, int row, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) AppendUtf8(text, screen.CellAt(column + i, row).Ch);
    return text;
}

int DirtyCells(const TCellSurface& screen) {
    int count = 0;
    for (const TDirtySpan& span : screen.DirtyRows()) count += span.Empty() ? 0 : span.Right - span.Left;
    return count;
}

class ScreenComposeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Screen()->SetSize(60 * kCellWidth, 19 * kCellHeight);
        back->SetCaption("Back");
        back->SetBorderStyle(bsSingle);
        back->SetBounds(0, 0, 30 * kCellWidth, 10 * kCellHeight);
        front->SetCaption("Front");
        front->SetBorderStyle(bsSingle);
        front->SetBounds(20 * kCellWidth, 4 * kCellHeight, 30 * kCellWidth, 10 * kCellHeight);
        edit = TEdit::Create(back.get());
        edit->SetText("");
        edit->SetBounds(kCellWidth, kCellHeight, 8 * kCellWidth, 21);
        edit->SetParent(back.get());
        back->Show();
        front->Show();
    }
    void TearDown() override { FocusManager().SetFocus(nullptr); }

    Owned<TForm> back{TForm::Create(nullptr)};
    Owned<TForm> front{TForm::Create(nullptr)};
    TEdit* edit = nullptr;
    TCellSurface screen{60, 20};
};

TEST_F(ScreenComposeTest, FormsStackWithTheActiveOnTopAndTheStatusLineBelow) {
    ComposeScreen(screen, "Ctrl+Q quit");
    const TPoint frontOrigin = front->SurfaceOrigin();
    // The front form was made last: its frame covers the back form's right part.
    EXPECT_EQ(screen.CellAt(frontOrigin.X, frontOrigin.Y + 1).Ch, U'\u2502');
    EXPECT_NE(Text(screen, 0, back->SurfaceOrigin().Y, 12).find("Back"), std::string::npos);
    const int right = frontOrigin.X + front->Surface().Columns() - 1;
    EXPECT_EQ(Text(screen, right - 3, frontOrigin.Y, 3), "[x]");
    EXPECT_EQ(Text(screen, 0, 19, 11), "Ctrl+Q quit");
    EXPECT_TRUE(screen.CellAt(30, 19).Attrs & caReverse);

    // Focus in the back form makes it active: it comes to the top.
    edit->SetFocus();
    ComposeScreen(screen, "Ctrl+Q quit");
    const TPoint backOrigin = back->SurfaceOrigin();
    const int backRight = backOrigin.X + back->Surface().Columns() - 1;
    EXPECT_EQ(screen.CellAt(backRight, frontOrigin.Y + 1).Ch, U'\u2502') << screen.Text();
    EXPECT_EQ(Text(screen, backRight - 3, backOrigin.Y, 3), "[x]");
}

TEST_F(ScreenComposeTest, OnlyChangedCellsAreMarkedAndTheCaretFollowsTheFocus) {
    ComposeScreen(screen, "status");
    screen.ClearDirty();
    ComposeScreen(screen, "status");
    EXPECT_EQ(DirtyCells(screen), 0);
    EXPECT_FALSE(screen.HasChanges());
    ComposeScreen(screen, "statuS");
    EXPECT_EQ(DirtyCells(screen), 1);
    screen.ClearDirty();

    // The caret shows in the focused edit of the form on top...
    edit->SetFocus();
    ComposeScreen(screen, "statuS");
    ASSERT_TRUE(back->Surface().CaretVisible());
    EXPECT_TRUE(screen.CaretVisible());
    const TPoint origin = back->SurfaceOrigin();
    EXPECT_EQ(screen.Caret(), Point(origin.X + back->Surface().Caret().X, origin.Y + back->Surface().Caret().Y));
    // ...and not through a form over it.
    front->SetBounds(0, 0, 40 * kCellWidth, 12 * kCellHeight);
    Owned<TForm> cover(TForm::Create(nullptr));
    cover->SetBounds(0, 0, 40 * kCellWidth, 12 * kCellHeight);
    cover->Show();
    TModalRuns::TScope modal(cover.get());
    ComposeScreen(screen, "statuS");
    EXPECT_FALSE(screen.CaretVisible());
}

} // namespace
