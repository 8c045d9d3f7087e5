// Menu items chosen by their shortcuts from anywhere on the form.

#include "host/core/Exception.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Menus.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace host;

class MenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard().SetShiftState({});
        Menu = TMainMenu::Create(Form.get());
        File = Item(Menu->Items(), "&File", 0);
        Save = Item(File, "&Save", ShortCut('S', {ssCtrl}));
        Export = Item(File, "&Export", 0);
        Pdf = Item(Export, "&PDF", ShortCut(VK_F9, {}));
        Edit = TEdit::Create(Form.get());
        Edit->SetParent(Form.get());
        Form->Show();
        Edit->SetFocus();
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Keyboard().SetShiftState({});
    }

    TMenuItem* Item(TMenuItem* parent, const char* caption, TShortCut shortCut) {
        TMenuItem* item = TMenuItem::Create(Form.get());
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        item->OnClick = [this](TObject* sender) { Chosen.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
        parent->Add(item);
        return item;
    }

    Owned<TForm> Form{TForm::Create(nullptr)};
    TMainMenu* Menu = nullptr;
    TMenuItem* File = nullptr;
    TMenuItem* Save = nullptr;
    TMenuItem* Export = nullptr;
    TMenuItem* Pdf = nullptr;
    TEdit* Edit = nullptr;
    std::vector<std::string> Chosen;
};

} // namespace

TEST_F(MenusTest, ShortcutsChooseItemsAtAnyDepthFromTheFocusedControl) {
    Keyboard().Press('S', {ssCtrl});
    Keyboard().Press(VK_F9);
    EXPECT_EQ(Chosen, (std::vector<std::string>{"&Save", "&PDF"}));
    // The edit still types; its own keys are not shortcuts.
    Keyboard().Type("s");
    EXPECT_EQ(Edit->Text(), "s");

    // A disabled item, or one under a hidden item, is not chosen.
    Save->SetEnabled(false);
    Export->SetVisible(false);
    Keyboard().Press('S', {ssCtrl});
    Keyboard().Press(VK_F9);
    EXPECT_EQ(Chosen.size(), 2u);
    Export->SetVisible(true);

    // An item freed leaves its parent; one moved goes with its new parent.
    Pdf->Free();
    EXPECT_EQ(Export->Count(), 0);
    Export->Add(Save);
    EXPECT_EQ(File->Count(), 1);
    EXPECT_EQ(Save->Parent(), Export);
    EXPECT_THROW(Save->Add(Export), EInvalidOperation);
}
