// A form file holding a fill and two dialogs over a data module's sources:
// read, activated after loading, written, and read back the same.

#include "host/core/ClassRegistry.h"
#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"
#include "lookup/Lsdblkp.h"
#include "tests/support/NewInstanceDefaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace host;
using namespace veskar;

// A form built from text in the test, with handlers for the events.
class TOrderForm : public TForm {
    HOST_CLASS(TOrderForm, TForm)
    static void DeclarePublished(TPublisher& publisher) {
        auto p = publisher.Of<TOrderForm>();
        p.Method("FillLookupError", &TOrderForm::FillLookupError);
        p.Method("SyncCustomers", &TOrderForm::SyncCustomers);
    }

public:
    int Errors = 0;
    int Syncs = 0;
    void FillLookupError(TLookupFill*, int) { ++Errors; }
    void SyncCustomers(TObject*) { ++Syncs; }

protected:
    explicit TOrderForm(TComponent* owner) : TForm(owner) {}
    void LoadDefinition() override {}
};
HOST_IMPLEMENT_COMPONENT(TOrderForm, TForm)

const char* const OrderFormText = R"(object OrderForm: TOrderForm
  Left = 40
  Top = 30
  Caption = 'Orders'
  ClientHeight = 200
  ClientWidth = 300
  object CustEdit: TDBEdit
    Left = 8
    Top = 8
    Width = 121
    Height = 21
    DataField = 'CustNo'
    DataSource = Data.OrdersSource
  end
  object CustomerFill: TLookupFill
    Active = True
    DataSource = Data.OrdersSource
    LookupDataSource = Data.CustomersSource
    KeyFields.Strings = (
      'CustNo')
    LookupKeyFields.Strings = (
      'CustNo')
    ResultFields.Strings = (
      'Company')
    LookupResultFields.Strings = (
      'Company')
    NullOnKeyNotFound = False
    ErrorOnKeyNotFound = True
    OnLookupError = FillLookupError
  end
  object CustomerLookup: TLookupDialog
    DataSource = Data.OrdersSource
    LookupDataSource = LocalSource
    KeyFields.Strings = (
      'custno')
    LookupKeyFields.Strings = (
      'CustNo')
    Active = True
    LookupShortCut = 16460
    OnSyncLookupDataSource = SyncCustomers
  end
  object SleepingLookup: TLookupDialog
    DataSource = Data.OrdersSource
    LookupDataSource = Data.CustomersSource
    KeyFields.Strings = (
      'CustNo')
    LookupKeyFields.Strings = (
      'CustNo')
    Active = False
    LookupShortCut = 16496
  end
  object LocalSource: TDataSource
    DataSet = Data.Customers
  end
end
)";

class FormFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterClasses({&TOrderForm::ClassInfo(), &TLookupFill::ClassInfo(), &TLookupDialog::ClassInfo(),
                         &TDBEdit::ClassInfo(), &TDataSource::ClassInfo()});
        Data = TDataModule::Create(nullptr);
        Data->SetName("Data");
        Orders = Table("Orders", "OrdersSource");
        Customers = Table("Customers", "CustomersSource");
        Customers->AppendRecord({"C1", "Cedar"});
    }
    void TearDown() override { Free(Data); }

    TMemoryDataSet* Table(const char* name, const char* sourceName) {
        TMemoryDataSet* table = TMemoryDataSet::Create(Data);
        table->SetName(name);
        table->FieldDefs().Add("CustNo", ftString, 10);
        table->FieldDefs().Add("Company", ftString, 20);
        table->Open();
        TDataSource* source = TDataSource::Create(Data);
        source->SetName(sourceName);
        source->SetDataSet(table);
        return table;
    }
    static Owned<TOrderForm> Read(const std::string& text) {
        return Owned<TOrderForm>(As<TOrderForm>(CreateComponentFromText(text)));
    }

    TDataModule* Data = nullptr;
    TMemoryDataSet* Orders = nullptr;
    TMemoryDataSet* Customers = nullptr;
};

TEST_F(FormFileTest, ReadingActivatesAfterEverythingIsReadAndResolved) {
    Owned<TOrderForm> form = Read(OrderFormText);
    ASSERT_NE(form, nullptr);
    auto* fill = As<TLookupFill>(form->FindComponent("CustomerFill"));
    auto* dialog = As<TLookupDialog>(form->FindComponent("CustomerLookup"));
    auto* sleeping = As<TLookupDialog>(form->FindComponent("SleepingLookup"));
    ASSERT_TRUE(fill && dialog && sleeping);

    EXPECT_EQ(fill->DataSource(), Data->FindComponent("OrdersSource"));
    EXPECT_FALSE(fill->NullOnKeyNotFound());
    EXPECT_EQ(fill->KeyLinks()->Count(), 1) << "links built by Loaded, after the lists were read";
    EXPECT_EQ(fill->OnLookupError.MethodName(), "FillLookupError");

    // The forward reference to LocalSource was resolved before Loaded ran.
    EXPECT_EQ(dialog->LookupDataSource(), form->FindComponent("LocalSource"));
    EXPECT_EQ(dialog->Connections()->Count(), 1);
    EXPECT_EQ(dialog->LookupShortCut(), TextToShortCut("Ctrl+L"));
    ASSERT_EQ(dialog->ControlsList()->Count(), 1);
    EXPECT_EQ(dialog->ControlsList()->Controls(0)->Name(), "CustEdit");
    dialog->OnSyncLookupDataSource(dialog);
    EXPECT_EQ(form->Syncs, 1);

    EXPECT_FALSE(sleeping->Active());
    EXPECT_EQ(sleeping->Connections()->Count(), 0);
    EXPECT_EQ(sleeping->ControlsList()->Count(), 0);
}

TEST_F(FormFileTest, WritingKeepsEveryPropertyAndReadsBackTheSame) {
    Owned<TOrderForm> form = Read(OrderFormText);
    const std::string written = WriteComponentText(form.get());
    // Properties without a default are written whatever their values.
    for (const char* line : {"Active = True", "Active = False", "LookupShortCut = 16460", "LookupShortCut = 16496",
                             "NullOnKeyNotFound = False", "ErrorOnKeyNotFound = True",
                             "LookupDataSource = Data.CustomersSource", "LookupDataSource = LocalSource",
                             "OnLookupError = FillLookupError", "OnSyncLookupDataSource = SyncCustomers", "'custno'"})
        EXPECT_NE(written.find(line), std::string::npos) << line << " in\n" << written;

    // What a new edit or form already is, is not written.
    for (const char* line : {"Cursor = crIBeam", "TabStop = True", "Color = clWindow\n", "Visible = False"})
        EXPECT_EQ(written.find(line), std::string::npos) << line << " in\n" << written;

    form.reset();
    Owned<TOrderForm> again = Read(written);
    EXPECT_EQ(WriteComponentText(again.get()), written);
    // What is not written reads back as what a new component is.
    for (const TClass* cls : {&TLookupFill::ClassInfo(), &TLookupDialog::ClassInfo(), &TSmartDBLookup::ClassInfo()})
        EXPECT_EQ(DefaultsNotHeld(*cls, again.get()), std::vector<std::string>{}) << cls->ClassName();
    auto* dialog = As<TLookupDialog>(again->FindComponent("CustomerLookup"));
    EXPECT_EQ(dialog->KeyFields()->Strings(0), "custno");
    EXPECT_EQ(dialog->ControlsList()->Count(), 1);
}

TEST_F(FormFileTest, AMalformedValueNamesItsLine) {
    std::string text = OrderFormText;
    const std::size_t at = text.find("Active = False");
    text.replace(at, 14, "Active = Maybe");
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');
    try {
        Read(text);
        FAIL() << "the read must fail";
    } catch (const EReadError& e) {
        EXPECT_NE(e.Message().find("line " + std::to_string(line)), std::string::npos) << e.Message();
    }
    EXPECT_EQ(Screen()->FormCount(), 0) << "the half-read form is freed";
}

} // namespace
