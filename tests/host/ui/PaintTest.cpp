#include "host/ui/Canvas.h"
#include "host/ui/Forms.h"

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
