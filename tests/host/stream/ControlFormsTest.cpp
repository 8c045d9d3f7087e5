// The labels, group boxes, check boxes, memos and data-aware controls read
// from a form file and written back.

#include "host/core/ClassRegistry.h"
#include "host/stream/Reader.h"
#include "host/stream/StandardClasses.h"
#include "host/stream/Writer.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Grids.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"
#include "tests/support/NewInstanceDefaults.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

constexpr const char* kForm = R"(object EntryForm: TForm
  Caption = 'Entry'
  object NameLabel: TLabel
    Left = 8
    Top = 8
    Width = 40
    Height = 13
    Caption = '&Name'
    FocusControl = NameEdit
  end
  object NameEdit: TEdit
    Left = 56
    Top = 4
    Width = 121
    Height = 21
    TabOrder = 0
  end
  object Options: TGroupBox
    Left = 8
    Top = 32
    Width = 185
    Height = 60
    Caption = 'Options'
    TabOrder = 1
    object Rush: TCheckBox
      Left = 8
      Top = 16
      Width = 97
      Height = 17
      Caption = '&Rush'
      AllowGrayed = True
      State = cbGrayed
      TabOrder = 0
    end
  end
  object Notes: TMemo
    Left = 8
    Top = 96
    Width = 185
    Height = 89
    Lines.Strings = (
      'first'
      'second')
    TabOrder = 2
  end
  object Nav: TDBNavigator
    Left = 8
    Top = 190
    Width = 80
    Height = 25
    VisibleButtons = [nbFirst, nbNext]
    TabOrder = 3
  end
  object Total: TDBText
    Left = 100
    Top = 190
    Width = 60
    Height = 17
    DataField = 'Total'
  end
  object Paid: TDBCheckBox
    Left = 100
    Top = 210
    Width = 60
    Height = 17
    Caption = 'Paid'
    DataField = 'Paid'
    ValueChecked = 'Y;Yes'
    ValueUnchecked = 'N'
    TabOrder = 4
  end
end
)";

} // namespace

TEST(ControlForms, NewControlsReadTheirPropertiesAndWriteThemBack) {
    RegisterStandardClasses();
    RegisterStandardClasses();  // a second time changes nothing
    Owned<TComponent> root(CreateComponentFromText(kForm));
    auto* form = dynamic_cast<TForm*>(root.get());
    ASSERT_NE(form, nullptr);
    auto* label = dynamic_cast<TLabel*>(form->FindComponent("NameLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->FocusControl(), form->FindComponent("NameEdit"));
    // Fitted to its caption once read: four characters of a cell each.
    EXPECT_EQ(label->Width(), 32);
    auto* rush = dynamic_cast<TCheckBox*>(form->FindComponent("Rush"));
    ASSERT_NE(rush, nullptr);
    EXPECT_EQ(rush->State(), cbGrayed);
    EXPECT_EQ(rush->Parent(), form->FindComponent("Options"));
    auto* notes = dynamic_cast<TMemo*>(form->FindComponent("Notes"));
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->Text(), "first\r\nsecond");
    auto* nav = dynamic_cast<TDBNavigator*>(form->FindComponent("Nav"));
    ASSERT_NE(nav, nullptr);
    EXPECT_EQ(nav->VisibleButtons(), (TButtonSet{nbFirst, nbNext}));
    EXPECT_TRUE(nav->Buttons(nbNext)->Visible());
    EXPECT_FALSE(nav->Buttons(nbLast)->Visible());
    auto* paid = dynamic_cast<TDBCheckBox*>(form->FindComponent("Paid"));
    ASSERT_NE(paid, nullptr);
    EXPECT_EQ(paid->ValueChecked(), "Y;Yes");

    const std::string written = WriteComponentText(form);
    for (const char* line : {"FocusControl = NameEdit", "State = cbGrayed", "AllowGrayed = True",
                             "VisibleButtons = [nbFirst, nbNext]", "DataField = 'Total'", "ValueUnchecked = 'N'",
                             "'second')"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    // The navigator's own buttons are its business, not the form's.
    EXPECT_EQ(written.find("TNavButton"), std::string::npos);
    // What was written reads back the same.
    Owned<TComponent> again(CreateComponentFromText(written));
    EXPECT_EQ(WriteComponentText(again.get()), written);
}

TEST(ControlForms, EveryStandardClassHoldsItsDeclaredDefaultsWhenNew) {
    RegisterStandardClasses();
    Owned<TForm> form(TForm::Create(nullptr));
    for (const char* name : {"TForm", "TPanel", "TEdit", "TMemo", "TButton", "TBitBtn", "TSpeedButton", "TLabel",
                             "TGroupBox", "TCheckBox", "TListBox", "TComboBox", "TStaticText", "TDBEdit", "TDBText",
                             "TDBCheckBox", "TDBComboBox", "TRadioGroup", "TPageControl", "TTabSheet",
                             "TStatusBar", "TMainMenu", "TPopupMenu", "TMenuItem", "TDBNavigator", "TDBGrid",
                             "TDataModule", "TDataSource", "TMemoryDataSet"}) {
        EXPECT_EQ(DefaultsNotHeld(FindClass(name), form.get()), std::vector<std::string>{}) << name;
    }
    // The way such a value was lost: a grid told to take no Tab stop.
    const std::string text = "object F: TForm\n  object G: TDBGrid\n    TabStop = False\n  end\nend\n";
    Owned<TComponent> root(CreateComponentFromText(text));
    const std::string written = WriteComponentText(root.get());
    EXPECT_NE(written.find("TabStop = False"), std::string::npos) << written;
}

TEST(ControlForms, ExtendedColourNamesAndTitleOptionsReadAndWriteBack) {
    RegisterStandardClasses();
    const std::string text = "object F: TForm\n"
                             "  Color = clSkyBlue\n"
                             "  object P: TPanel\n"
                             "    Color = clMenuHighlight\n"
                             "    Font.Color = clMoneyGreen\n"
                             "  end\n"
                             "  object G: TDBGrid\n"
                             "    Color = clGradientInactiveCaption\n"
                             "    Options = [dgTitles, dgMultiSelect, dgTitleClick, dgTitleHotTrack]\n"
                             "  end\n"
                             "end\n";
    Owned<TComponent> root(CreateComponentFromText(text));
    auto* form = static_cast<TForm*>(root.get());
    auto* grid = dynamic_cast<TDBGrid*>(form->FindComponent("G"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(form->Color(), clSkyBlue);
    EXPECT_EQ(grid->Options(), (TDBGridOptions{dgTitles, dgMultiSelect, dgTitleClick, dgTitleHotTrack}));

    const std::string written = WriteComponentText(form);
    for (const char* line : {"Color = clSkyBlue", "Color = clMenuHighlight", "Font.Color = clMoneyGreen",
                             "Color = clGradientInactiveCaption",
                             "Options = [dgTitles, dgMultiSelect, dgTitleClick, dgTitleHotTrack]"})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    Owned<TComponent> again(CreateComponentFromText(written));
    EXPECT_EQ(WriteComponentText(again.get()), written);
}

TEST(ControlForms, AnchorsBorderIconsDesignSizeAndTextHintReadAndWriteBack) {
    RegisterStandardClasses();
    // The edit's position belongs to the client size read before it, not to
    // the kept DesignSize: it follows the right edge from there.
    const std::string text = "object F: TForm\n"
                             "  BorderIcons = [biSystemMenu, biHelp]\n"
                             "  ClientHeight = 100\n"
                             "  ClientWidth = 300\n"
                             "  DesignSize = (\n    200\n    100)\n"
                             "  object E: TEdit\n"
                             "    Left = 150\n"
                             "    Top = 8\n"
                             "    Width = 40\n"
                             "    Height = 21\n"
                             "    Anchors = [akTop, akRight]\n"
                             "    TextHint = 'Search'\n"
                             "  end\n"
                             "end\n";
    Owned<TComponent> root(CreateComponentFromText(text));
    auto* form = static_cast<TForm*>(root.get());
    auto* edit = dynamic_cast<TEdit*>(form->FindComponent("E"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(form->BorderIcons(), (TBorderIcons{biSystemMenu, biHelp}));
    EXPECT_EQ(form->DesignSize(), (TPoint{200, 100}));
    EXPECT_EQ(edit->Anchors(), (TAnchors{akTop, akRight}));
    EXPECT_EQ(edit->TextHint(), "Search");
    EXPECT_EQ(edit->Left(), 150);
    form->SetClientWidth(320);
    EXPECT_EQ(edit->Left(), 170);

    const std::string written = WriteComponentText(form);
    for (const char* line : {"BorderIcons = [biSystemMenu, biHelp]", "Anchors = [akTop, akRight]",
                             "TextHint = 'Search'", "DesignSize = ("})
        EXPECT_NE(written.find(line), std::string::npos) << line;
    Owned<TComponent> again(CreateComponentFromText(written));
    EXPECT_EQ(WriteComponentText(again.get()), written);
    // Defaults are not written.
    Owned<TForm> plain(TForm::Create(nullptr));
    EXPECT_EQ(WriteComponentText(plain.get()).find("BorderIcons"), std::string::npos);
}
