#pragma once
// An order form over an orders table, with a customers table and a parts
// table to look up in; the dialog under test sits on the form.

#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"
#include "lookup/Lddlg.h"
#include "lookup/Ldlkpdlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dialog {

using namespace host;
using namespace veskar;

// An in-memory table that writes down how it is searched and refreshed.
class TRecordingTable : public TMemoryDataSet {
    HOST_CLASS(TRecordingTable, TMemoryDataSet)
public:
    struct TLocateCall {
        std::string Fields;
        Variant Values;
    };
    std::vector<TLocateCall> Locates;
    int Refreshes = 0;
    bool FailRefresh = false;

    bool Locate(const std::string& keyFields, const Variant& keyValues, TLocateOptions options) override {
        Locates.push_back({keyFields, keyValues});
        EXPECT_EQ(options, (TLocateOptions{loCaseInsensitive, loPartialKey}));
        return inherited::Locate(keyFields, keyValues, options);
    }

protected:
    explicit TRecordingTable(TComponent* owner) : TMemoryDataSet(owner) {}
    void InternalRefresh() override {
        ++Refreshes;
        if (FailRefresh) throw EDatabaseError("the table went away");
    }
};

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessBackend()->ClearShown();
        Form = TForm::Create(nullptr);
        Form->SetName("OrderForm");
        Form->SetBounds(100, 80, 600, 420);
        Orders = MakeTable("Orders", {{"OrderNo", ftInteger, 0}, {"CustNo", ftString, 10}, {"PartNo", ftString, 10},
                                      {"Company", ftString, 30}});
        Orders->AppendRecord({1, "", "", ""});
        Orders->First();
        Customers = MakeTable("Customers", {{"CustNo", ftString, 10}, {"Company", ftString, 30}, {"PartNo", ftString, 10}});
        Customers->AppendRecord({"AB100", "Abbey Road", "P1"});
        Customers->AppendRecord({"CD200", "Cedar Works", "P2"});
        Customers->AppendRecord({"CE300", "Celtic Dive", "P3"});
        Customers->First();
        OrdersSource = MakeSource("OrdersSource", Orders);
        CustomersSource = MakeSource("CustomersSource", Customers);
        Dialog = TLookupDialog::Create(Form);
        Dialog->SetName("CustomerLookup");
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Keyboard().SetShiftState({});
        Free(Form);
        HeadlessBackend()->ClearShown();
    }

    struct TColumn {
        const char* Name;
        TFieldType Type;
        int Size;
    };
    TRecordingTable* MakeTable(const char* name, std::vector<TColumn> columns) {
        TRecordingTable* table = TRecordingTable::Create(Form);
        table->SetName(name);
        for (const TColumn& c : columns) table->FieldDefs().Add(c.Name, c.Type, c.Size);
        table->Open();
        return table;
    }
    TDataSource* MakeSource(const char* name, TDataSet* dataSet) {
        TDataSource* source = TDataSource::Create(Form);
        source->SetName(name);
        source->SetDataSet(dataSet);
        return source;
    }
    TDBEdit* MakeEdit(TWinControl* parent, const char* name, const char* field, TDataSource* source = nullptr) {
        TDBEdit* edit = TDBEdit::Create(Form);
        edit->SetName(name);
        edit->SetParent(parent);
        edit->SetBounds(10, 10 + 30 * parent->ControlCount(), 121, 21);
        edit->SetDataSource(source ? source : OrdersSource);
        edit->SetDataField(field);
        return edit;
    }
    TPanel* MakePanel(TWinControl* parent, const char* name) {
        TPanel* panel = TPanel::Create(Form);
        panel->SetName(name);
        panel->SetParent(parent);
        panel->SetBounds(5, 5, 300, 200);
        return panel;
    }
    TDBGrid* MakeGrid(TWinControl* parent, const char* name) {
        TDBGrid* grid = TDBGrid::Create(Form);
        grid->SetName(name);
        grid->SetParent(parent);
        grid->SetBounds(10, 200, 400, 150);
        grid->SetOptions(grid->Options() + TDBGridOptions{dgEditing});
        grid->SetDataSource(OrdersSource);
        return grid;
    }
    // Keys CustNo paired, both sources set: the dialog is active and linked.
    void LinkCustomers(const char* keys = "CustNo", const char* lookupKeys = "CustNo") {
        Dialog->KeyFields()->SetCommaText(keys);
        Dialog->LookupKeyFields()->SetCommaText(lookupKeys);
        Dialog->SetDataSource(OrdersSource);
        Dialog->SetLookupDataSource(CustomersSource);
    }
    std::vector<std::string> CapturedNames() const {
        std::vector<std::string> names;
        for (int i = 0; i < Dialog->ControlsList()->Count(); ++i) {
            TWinControl* control = Dialog->ControlsList()->Controls(i);
            names.push_back(control ? control->Name() : "nil");
        }
        return names;
    }
    static bool CtrlF1() { return Keyboard().Press(VK_F1, TShiftState{ssCtrl}); }
    std::string Text(TDataSet* table, const char* field) const { return table->FieldByName(field)->AsString(); }

    TForm* Form = nullptr;
    TRecordingTable* Orders = nullptr;
    TRecordingTable* Customers = nullptr;
    TDataSource* OrdersSource = nullptr;
    TDataSource* CustomersSource = nullptr;
    TLookupDialog* Dialog = nullptr;
};

using Names = std::vector<std::string>;

} // namespace dialog
