// Radio groups, page controls and status bars driven by keys and mouse and
// painted on the form's cells.

#include "host/core/Utf8.h"
#include "host/ui/ComCtrls.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace host;

// Count characters of a painted line from a cell column on.
std::string Cut(const std::string& line, int from, int count) {
    const size_t start = Utf8Offset(line, from);
    return line.substr(start, Utf8Offset(line, from + count) - start);
}

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard().SetShiftState({});
        Form->SetBorderStyle(bsNone);
        Form->SetClientWidth(30 * kCellWidth);
        Form->SetClientHeight(8 * kCellHeight);
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Keyboard().SetShiftState({});
    }

    std::vector<std::string> Picture() {
        Form->PaintInvalid();
        std::vector<std::string> lines;
        for (int r = 0; r < Form->Surface().Rows(); ++r) lines.push_back(Form->Surface().RowText(r));
        return lines;
    }

    template <class T>
    T* Add(TWinControl* parent) {
        T* control = T::Create(Form.get());
        control->SetParent(parent);
        return control;
    }

    // Two sheets with an edit each.
    TPageControl* Pages() {
        TPageControl* pages = Add<TPageControl>(Form.get());
        pages->SetBounds(0, 0, 30 * kCellWidth, 6 * kCellHeight);
        for (const char* caption : {"&General", "Notes"}) {
            TTabSheet* sheet = Add<TTabSheet>(pages);
            sheet->SetCaption(caption);
            TEdit* edit = Add<TEdit>(sheet);
            edit->SetBounds(0, 0, 10 * kCellWidth, kCellHeight);
            edit->SetText(std::string("in ") + (caption[0] == '&' ? "one" : "two"));
        }
        pages->OnChange = [this](TObject*) { ++Changes; };
        return pages;
    }

    Owned<TForm> Form{TForm::Create(nullptr)};
    int Changes = 0;
};

} // namespace

TEST_F(PagesTest, ARadioGroupPicksByArrowsAndClicksAndShowsItsMark) {
    TRadioGroup* group = Add<TRadioGroup>(Form.get());
    group->SetBounds(0, 0, 30 * kCellWidth, 5 * kCellHeight);
    group->SetCaption("Ship");
    group->Items()->SetCommaText("Air,Rail,Sea,Road");
    group->SetColumns(2);
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    group->SetItemIndex(1);
    EXPECT_EQ(clicks, 0);

    // Two columns, filled top to bottom.
    const std::vector<std::string> picture = Picture();
    EXPECT_NE(picture[0].find(" Ship "), std::string::npos) << picture[0];
    EXPECT_EQ(Cut(picture[1], 1, 24), "( ) Air       ( ) Sea   ");
    EXPECT_EQ(Cut(picture[2], 1, 24), "(•) Rail      ( ) Road  ");

    Form->Show();
    group->SetFocus();
    Keyboard().Press(VK_DOWN);
    EXPECT_EQ(group->ItemIndex(), 2);
    Keyboard().Press(VK_RIGHT);
    Keyboard().Press(VK_RIGHT);  // at the last: stays, tells nothing
    EXPECT_EQ(group->ItemIndex(), 3);
    Keyboard().Press(VK_UP);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(clicks, 3);
    // A click on an item's text picks it.
    const TRect air = group->ItemRect(0);
    Mouse().Click(group, Point(air.Left + 5 * kCellWidth, air.Top + 3));
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(clicks, 4);
    EXPECT_EQ(Cut(Picture()[1], 1, 8), "(•) Air ");
    // Fewer items than the index: none picked.
    group->Items()->Delete(3);
    group->SetItemIndex(3);
    EXPECT_EQ(group->ItemIndex(), -1);
}

TEST_F(PagesTest, APageControlShowsOnlyItsActiveSheetAndSwitchesByTabsAndKeys) {
    TPageControl* pages = Pages();
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    std::vector<std::string> picture = Picture();
    EXPECT_EQ(Cut(picture[0], 0, 18), " General │ Notes │");
    EXPECT_NE(picture[1].find("in one"), std::string::npos) << picture[1];

    // Ctrl+Tab from a control on the sheet goes to the next page; the
    // focus leaves the hidden sheet.
    Form->Show();
    auto* first = dynamic_cast<TEdit*>(pages->Pages(0)->Controls(0));
    auto* second = dynamic_cast<TEdit*>(pages->Pages(1)->Controls(0));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    first->SetFocus();
    Keyboard().Press(VK_TAB, {ssCtrl});
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(Changes, 1);
    EXPECT_FALSE(first->Focused());
    EXPECT_FALSE(first->CanFocus());
    EXPECT_TRUE(second->CanFocus());
    EXPECT_NE(Picture()[1].find("in two"), std::string::npos);
    // Ctrl+Shift+Tab goes back, round the pages.
    Keyboard().Press(VK_TAB, {ssCtrl, ssShift});
    Keyboard().Press(VK_TAB, {ssCtrl, ssShift});
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(Changes, 3);

    // A click on a tab shows its page.
    const TRect general = pages->TabRect(0);
    Mouse().Click(pages, Point(general.Left + kCellWidth + 2, 3));
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(Changes, 4);
    // The program's change tells nothing; a freed sheet leaves the pages.
    pages->SetActivePage(pages->Pages(1));
    EXPECT_EQ(Changes, 4);
    pages->Pages(1)->Free();
    EXPECT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
    EXPECT_NE(Picture()[1].find("in one"), std::string::npos);
}

TEST_F(PagesTest, AStatusBarShowsItsPanelsOrItsSimpleText) {
    TStatusBar* bar = Add<TStatusBar>(Form.get());
    EXPECT_EQ(bar->Align(), alBottom);
    TStatusPanel* mode = bar->Panels()->Add();
    mode->SetText("INS");
    mode->SetWidth(6 * kCellWidth);
    TStatusPanel* count = bar->Panels()->Add();
    count->SetText("12 rows");
    count->SetAlignment(taRightJustify);
    std::vector<std::string> picture = Picture();
    EXPECT_EQ(picture.back(), "INS  │                 12 rows");

    bar->SetSimpleText("Saving...");
    bar->SetSimplePanel(true);
    EXPECT_EQ(Picture().back(), "Saving...                     ");
}
