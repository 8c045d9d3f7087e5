// A form file holding two smart lookups, one on and one off: read,
// activated once everything is read, its events bound by name to the form,
// written with the smart lookups' own properties only, and read back the
// same.

#include "host/core/ClassRegistry.h"
#include "host/core/Publisher.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Forms.h"
#include "lookup/Lsdblkp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace host;
using namespace veskar;

class TSmartOrderForm : public TForm {
    HOST_CLASS(TSmartOrderForm, TForm)
    static void DeclarePublished(TPublisher& publisher) {
        auto p = publisher.Of<TSmartOrderForm>();
        p.Method("ChooseForm", &TSmartOrderForm::ChooseForm);
        p.Method("SyncCustomers", &TSmartOrderForm::SyncCustomers);
        p.Method("BeforeCustomer", &TSmartOrderForm::BeforeCustomer);
        p.Method("AfterCustomer", &TSmartOrderForm::AfterCustomer);
        p.Method("CustomerNotFound", &TSmartOrderForm::CustomerNotFound);
    }

public:
    std::vector<std::string> Calls;  // handler and sender's class
    TBaseLookupFormClass ChooseForm(TLookupDialog* dialog) {
        Calls.push_back("ChooseForm " + dialog->ClassName());
        return nullptr;
    }
    void SyncCustomers(TObject* sender) { Calls.push_back("SyncCustomers " + sender->ClassName()); }
    void BeforeCustomer(TLookupFill* sender, bool&) { Calls.push_back("BeforeCustomer " + sender->ClassName()); }
    void AfterCustomer(TLookupFill* sender, bool&) { Calls.push_back("AfterCustomer " + sender->ClassName()); }
    void CustomerNotFound(TLookupFill* sender, int code) {
        Calls.push_back("CustomerNotFound " + sender->ClassName() + " " + std::to_string(code));
    }

protected:
    explicit TSmartOrderForm(TComponent* owner) : TForm(owner) {}
    void LoadDefinition() override {}
};
HOST_IMPLEMENT_COMPONENT(TSmartOrderForm, TForm)

const char* const CustomerLookupText = R"(  object CustomerLookup: TSmartDBLookup
    Active = True
    DataSource = Data.OrdersSource
    LookupDataSource = LocalSource
    ConnectionKey = ' CustNo , CustNo '
    ConnectionResult = 'ShipTo,Company;City,City'
    LookupShortCut = 16460
    GetLookupFormClass = ChooseForm
    OnSyncLookupDataSource = SyncCustomers
    NullOnKeyNotFound = False
    ErrorOnKeyNotFound = True
    BeforeLookup = BeforeCustomer
    AfterLookup = AfterCustomer
    OnLookupError = CustomerNotFound
  end
)";

const char* const SleepingLookupText = R"(  object SleepingLookup: TSmartDBLookup
    Active = False
    DataSource = Data.OrdersSource
    LookupDataSource = Data.CustomersSource
    ConnectionKey = 'CustNo,CustNo'
    ConnectionResult = 'ShipTo,Company'
    LookupShortCut = 16496
    NullOnKeyNotFound = True
    ErrorOnKeyNotFound = True
  end
)";

std::string OrderFormText() {
    return std::string(R"(object OrderForm: TSmartOrderForm
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
)") + CustomerLookupText +
           SleepingLookupText + R"(  object LocalSource: TDataSource
    DataSet = Data.Customers
  end
end
)";
}

class SmartFormFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessBackend()->ClearShown();
        RegisterClasses({&TSmartOrderForm::ClassInfo(), &TSmartDBLookup::ClassInfo(), &TDBEdit::ClassInfo(),
                         &TDataSource::ClassInfo()});
        Data = TDataModule::Create(nullptr);
        Data->SetName("Data");
        Orders = Table("Orders", "OrdersSource", {"CustNo", "ShipTo", "City"});
        Customers = Table("Customers", "CustomersSource", {"CustNo", "Company", "City"});
        Customers->AppendRecord({"C1", "Cedar", "Dunmore"});
        Orders->AppendRecord({"", "", ""});
    }
    void TearDown() override {
        Free(Data);
        HeadlessBackend()->ClearShown();
    }

    TMemoryDataSet* Table(const char* name, const char* sourceName, std::vector<const char*> columns) {
        TMemoryDataSet* table = TMemoryDataSet::Create(Data);
        table->SetName(name);
        for (const char* column : columns) table->FieldDefs().Add(column, ftString, 20);
        table->Open();
        TDataSource* source = TDataSource::Create(Data);
        source->SetName(sourceName);
        source->SetDataSet(table);
        return table;
    }
    static Owned<TSmartOrderForm> Read(const std::string& text) {
        return Owned<TSmartOrderForm>(As<TSmartOrderForm>(CreateComponentFromText(text)));
    }

    TDataModule* Data = nullptr;
    TMemoryDataSet* Orders = nullptr;
    TMemoryDataSet* Customers = nullptr;
};

TEST_F(SmartFormFileTest, ReadingActivatesTheInnerComponentsOnceEverythingIsRead) {
    Owned<TSmartOrderForm> form = Read(OrderFormText());
    auto* lookup = As<TSmartDBLookup>(form->FindComponent("CustomerLookup"));
    ASSERT_NE(lookup, nullptr);
    TLookupDialog* dialog = lookup->Dialog();
    TLookupFill* fill = lookup->Fill();

    EXPECT_TRUE(lookup->Active() && dialog->Active() && fill->Active());
    EXPECT_EQ(lookup->ConnectionKey(), " CustNo , CustNo ");
    // The forward reference was resolved before the push.
    EXPECT_EQ(dialog->LookupDataSource(), form->FindComponent("LocalSource"));
    EXPECT_EQ(fill->LookupDataSource(), form->FindComponent("LocalSource"));
    EXPECT_EQ(dialog->Connections()->Count(), 1);
    ASSERT_EQ(dialog->ControlsList()->Count(), 1);
    EXPECT_EQ(dialog->ControlsList()->Controls(0)->Name(), "CustEdit");
    EXPECT_EQ(fill->KeyLinks()->Count(), 1);
    EXPECT_EQ(fill->ResultLinks()->Count(), 2);
    EXPECT_EQ(dialog->LookupShortCut(), 16460);
    EXPECT_FALSE(fill->NullOnKeyNotFound());
    EXPECT_EQ(lookup->BeforeLookup().MethodName(), "BeforeCustomer");
    EXPECT_EQ(fill->BeforeLookup.MethodName(), "BeforeCustomer");
    EXPECT_EQ(dialog->GetLookupFormClass.MethodName(), "ChooseForm");
    EXPECT_TRUE(HeadlessBackend()->Shown().empty()) << "both connections parsed";

    // The form's methods are called by the inner components.
    Orders->Edit();
    Orders->FieldByName("CustNo")->SetValue("C1");
    EXPECT_EQ(Orders->FieldByName("City")->AsString(), "Dunmore");
    Orders->FieldByName("CustNo")->SetValue("C2");
    dialog->GetLookupFormClass(dialog);
    dialog->OnSyncLookupDataSource(dialog);
    EXPECT_EQ(form->Calls, (std::vector<std::string>{
                               "BeforeCustomer TLookupFill", "AfterCustomer TLookupFill", "BeforeCustomer TLookupFill",
                               "CustomerNotFound TLookupFill 1", "AfterCustomer TLookupFill",
                               "ChooseForm TLookupDialog", "SyncCustomers TLookupDialog"}));

    auto* sleeping = As<TSmartDBLookup>(form->FindComponent("SleepingLookup"));
    ASSERT_NE(sleeping, nullptr);
    EXPECT_FALSE(sleeping->Active() || sleeping->Dialog()->Active() || sleeping->Fill()->Active());
    EXPECT_EQ(sleeping->DataSource(), Data->FindComponent("OrdersSource"));
    EXPECT_EQ(sleeping->Dialog()->DataSource(), nullptr);
    EXPECT_EQ(sleeping->Fill()->LookupDataSource(), nullptr);
    EXPECT_EQ(sleeping->Fill()->KeyFields()->Count() + sleeping->Fill()->ResultFields()->Count(), 0);
    EXPECT_EQ(sleeping->Dialog()->KeyFields()->Count(), 0);
    EXPECT_EQ(sleeping->Dialog()->LookupShortCut(), 16496) << "the shortcut reaches the dialog while reading";
}

TEST_F(SmartFormFileTest, WritingKeepsOnlyTheSmartLookupsOwnPropertiesAndReadsBackTheSame) {
    Owned<TSmartOrderForm> form = Read(OrderFormText());
    const std::string written = WriteComponentText(form.get());
    EXPECT_NE(written.find(CustomerLookupText), std::string::npos) << written;
    EXPECT_NE(written.find(SleepingLookupText), std::string::npos) << written;
    for (const char* inner : {"TLookupDialog", "TLookupFill", "KeyFields", "Connections"})
        EXPECT_EQ(written.find(inner), std::string::npos) << inner << " in\n" << written;

    form.reset();
    Owned<TSmartOrderForm> again = Read(written);
    EXPECT_EQ(WriteComponentText(again.get()), written);
    EXPECT_EQ(As<TSmartDBLookup>(again->FindComponent("CustomerLookup"))->Fill()->ResultLinks()->Count(), 2);

    // Written on its own, as the root, it holds none of its parts either:
    // reading it back makes them again, once.
    const std::string alone = WriteComponentText(again->FindComponent("CustomerLookup"));
    for (const char* inner : {"TLookupDialog", "TLookupFill"})
        EXPECT_EQ(alone.find(inner), std::string::npos) << inner << " in\n" << alone;
}

TEST_F(SmartFormFileTest, AMalformedConnectionIsKeptAndShownWhenActivated) {
    std::string text = OrderFormText();
    const std::string good = "ConnectionResult = 'ShipTo,Company;City,City'";
    text.replace(text.find(good), good.size(), "ConnectionResult = 'ShipTo;Company'");
    Owned<TSmartOrderForm> form = Read(text);
    auto* lookup = As<TSmartDBLookup>(form->FindComponent("CustomerLookup"));
    const auto& shown = HeadlessBackend()->Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Text, "FieldPairParser: Comma expected!");
    EXPECT_TRUE(lookup->Fill()->Active());
    EXPECT_EQ(lookup->Fill()->ResultLinks()->Count(), 0);
    EXPECT_NE(WriteComponentText(form.get()).find("ConnectionResult = 'ShipTo;Company'"), std::string::npos)
        << "written back as it was read";
}

} // namespace
