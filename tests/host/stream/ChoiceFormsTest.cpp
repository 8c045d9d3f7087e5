// A form with a data grid of given columns and combo boxes, as an
// application keeps it: read, written back the same, through binary too.

#include "host/core/Publisher.h"
#include "host/stream/FormBinary.h"
#include "host/stream/Reader.h"
#include "host/stream/StandardClasses.h"
#include "host/stream/Writer.h"
#include "host/ui/ComCtrls.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/Menus.h"
#include "host/ui/StdCtrls.h"

#include <gtest/gtest.h>

using namespace host;

namespace {

constexpr const char* kForm = R"(object OrderForm: TOrderForm
  Left = 0
  Top = 0
  Width = 400
  Height = 300
  Caption = 'Orders'
  object OrderGrid: TDBGrid
    Left = 0
    Top = 0
    Width = 400
    Height = 150
    Color = clWindow
    TabOrder = 0
    DataSource = Orders
    TitleFont.Charset = DEFAULT_CHARSET
    TitleFont.Color = clWindowText
    TitleFont.Height = -11
    TitleFont.Name = 'MS Sans Serif'
    TitleFont.Style = []
    Columns = <
      item
        FieldName = 'Customer'
        Title.Caption = 'Who'
        Width = 120
      end
      item
        Alignment = taCenter
        FieldName = 'Qty'
        ReadOnly = True
      end
      item
        FieldName = 'Note'
        Visible = False
      end>
  end
  object Shipping: TComboBox
    Left = 8
    Top = 160
    Width = 145
    Height = 21
    TabOrder = 1
    DropDownCount = 4
    ItemIndex = 1
    Style = csDropDownList
    Text = 'Rail'
    OnChange = ShippingChange
    Items.Strings = (
      'Air'
      'Rail'
      'Sea')
  end
  object Country: TDBComboBox
    Left = 8
    Top = 190
    Width = 145
    Height = 21
    TabOrder = 2
    DataField = 'Country'
    DataSource = Orders
    Sorted = True
    Items.Strings = (
      'France'
      'Norway')
  end
  object Priority: TRadioGroup
    Left = 200
    Top = 160
    Width = 185
    Height = 60
    Caption = 'Priority'
    Color = clBtnFace
    TabOrder = 3
    Columns = 2
    ItemIndex = 2
    Items.Strings = (
      'Low'
      'Normal'
      'High')
  end
  object Details: TPageControl
    Left = 0
    Top = 220
    Width = 400
    Height = 50
    TabOrder = 4
    ActivePage = NotesSheet
    object AddressSheet: TTabSheet
      Left = 0
      Top = 14
      Width = 400
      Height = 36
      Caption = '&Address'
      TabOrder = 0
      ExplicitTop = 0
      ExplicitWidth = 0
      ExplicitHeight = 0
      object Street: TEdit
        Left = 8
        Top = 8
        Width = 121
        Height = 21
        TabOrder = 0
      end
    end
    object NotesSheet: TTabSheet
      Left = 0
      Top = 14
      Width = 400
      Height = 36
      Caption = 'Notes'
      TabOrder = 1
      ExplicitTop = 0
      ExplicitWidth = 0
      ExplicitHeight = 0
    end
  end
  object Status: TStatusBar
    Left = 0
    Top = 281
    Width = 400
    Height = 19
    TabOrder = 5
    Panels = <
      item
        Text = 'Ready'
        Width = 120
      end
      item
        Alignment = taRightJustify
        Width = 50
      end>
  end
  object Orders: TDataSource
  end
  object MainMenu: TMainMenu
    object FileItem: TMenuItem
      Caption = '&File'
      object SaveItem: TMenuItem
        Caption = '&Save'
        ShortCut = 16467
        OnClick = ShippingChange
      end
      object QuitItem: TMenuItem
        Caption = '&Quit'
        Enabled = False
      end
    end
  end
end
)";

// The application's form class: a window that publishes its event handlers.
class TOrderForm : public TWinControl {
    HOST_CLASS(TOrderForm, TWinControl)
    static void DeclarePublished(TPublisher& publisher);
public:
    int Changes = 0;
    void ShippingChange(TObject*) { ++Changes; }

protected:
    explicit TOrderForm(TComponent* owner) : TWinControl(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TOrderForm, TWinControl)

void TOrderForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TOrderForm>();
    p.Method("ShippingChange", &TOrderForm::ShippingChange);
}

class ChoiceFormsTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterStandardClasses(); }

    // The form file read into a form of the application's class.
    Owned<TOrderForm> Read(const std::string& text) {
        Owned<TOrderForm> form(TOrderForm::Create(nullptr));
        ReadComponentText(form.get(), text);
        return form;
    }
};

} // namespace

TEST_F(ChoiceFormsTest, GridColumnsAndComboBoxesReadAndWriteBackAsTheyWere) {
    const std::string text = std::string(kForm);
    Owned<TOrderForm> form = Read(text);
    auto* grid = dynamic_cast<TDBGrid*>(form->FindComponent("OrderGrid"));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->Columns()->Count(), 3);
    const TColumn* who = grid->Columns()->Items(0);
    EXPECT_EQ(who->FieldName(), "Customer");
    EXPECT_EQ(who->Title()->Caption(), "Who");
    EXPECT_EQ(who->Width(), 120);
    const TColumn* qty = grid->Columns()->Items(1);
    EXPECT_EQ(qty->Alignment(), taCenter);
    EXPECT_TRUE(qty->ReadOnly());
    EXPECT_FALSE(qty->WidthAssigned());
    EXPECT_FALSE(qty->Title()->CaptionAssigned());
    EXPECT_FALSE(grid->Columns()->Items(2)->Visible());

    auto* shipping = dynamic_cast<TComboBox*>(form->FindComponent("Shipping"));
    ASSERT_NE(shipping, nullptr);
    // The index came before its items and still picks Rail.
    EXPECT_EQ(shipping->ItemIndex(), 1);
    EXPECT_EQ(shipping->Text(), "Rail");
    EXPECT_EQ(shipping->Style(), csDropDownList);
    EXPECT_EQ(shipping->DropDownCount(), 4);
    EXPECT_EQ(shipping->Items()->Count(), 3);
    ASSERT_TRUE(static_cast<bool>(shipping->OnChange));
    auto* country = dynamic_cast<TDBComboBox*>(form->FindComponent("Country"));
    ASSERT_NE(country, nullptr);
    EXPECT_EQ(country->DataSource(), form->FindComponent("Orders"));
    EXPECT_EQ(country->DataField(), "Country");
    EXPECT_TRUE(country->Sorted());

    auto* menu = dynamic_cast<TMainMenu*>(form->FindComponent("MainMenu"));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->Items()->Count(), 1);
    TMenuItem* file = menu->Items()->Items(0);
    ASSERT_EQ(file->Count(), 2);
    EXPECT_EQ(file->Items(0), form->FindComponent("SaveItem"));
    EXPECT_EQ(file->Items(0)->ShortCut(), ShortCut('S', {ssCtrl}));
    EXPECT_FALSE(file->Items(1)->Enabled());
    EXPECT_TRUE(menu->IsShortCut('S', {ssCtrl}));
    EXPECT_EQ(form->Changes, 1);

    auto* priority = dynamic_cast<TRadioGroup*>(form->FindComponent("Priority"));
    ASSERT_NE(priority, nullptr);
    EXPECT_EQ(priority->ItemIndex(), 2);
    EXPECT_EQ(priority->Columns(), 2);
    auto* details = dynamic_cast<TPageControl*>(form->FindComponent("Details"));
    ASSERT_NE(details, nullptr);
    ASSERT_EQ(details->PageCount(), 2);
    EXPECT_EQ(details->ActivePage(), form->FindComponent("NotesSheet"));
    EXPECT_FALSE(details->Pages(0)->Visible());
    EXPECT_EQ(details->Pages(0)->Caption(), "&Address");
    auto* status = dynamic_cast<TStatusBar*>(form->FindComponent("Status"));
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(status->Panels()->Count(), 2);
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Ready");
    EXPECT_EQ(status->Panels()->Items(1)->Alignment(), taRightJustify);

    const std::string written = WriteComponentText(form.get());
    EXPECT_EQ(written, text);
    // Binary and back gives the same form.
    const std::string binary = WriteComponentBinary(form.get());
    EXPECT_EQ(ObjectBinaryToText(binary), text);
    Owned<TOrderForm> again = Read(ObjectBinaryToText(binary));
    EXPECT_EQ(WriteComponentText(again.get()), text);
}

TEST_F(ChoiceFormsTest, ColumnsChangedInCodeAreWrittenAndAnEmptyCollectionIsNot) {
    Owned<TOrderForm> form = Read(kForm);
    auto* grid = dynamic_cast<TDBGrid*>(form->FindComponent("OrderGrid"));
    ASSERT_NE(grid, nullptr);
    grid->Columns()->Items(1)->Title()->SetCaption("How many");
    grid->Columns()->Items(2)->SetIndex(0);
    std::string written = WriteComponentText(form.get());
    EXPECT_NE(written.find("Title.Caption = 'How many'"), std::string::npos) << written;
    EXPECT_LT(written.find("FieldName = 'Note'"), written.find("FieldName = 'Customer'")) << written;

    grid->Columns()->Clear();
    written = WriteComponentText(form.get());
    EXPECT_EQ(written.find("Columns = <"), std::string::npos) << written;
    // A wrong value in an item is a clear error naming it.
    EXPECT_ANY_THROW(Read(std::string(kForm).replace(std::string(kForm).find("taCenter"), 8, "taSideways")));
}
