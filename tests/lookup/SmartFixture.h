#pragma once
// An order form over an orders table and a customers table; the smart
// lookup under test sits on the form and takes the customer's number, name
// and city into the order.

#include "host/core/Exception.h"
#include "host/core/Strings.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Backend.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "lookup/Lsdblkp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace smart {

using namespace host;
using namespace veskar;
using Names = std::vector<std::string>;

inline Names Items(const TStrings* list) {
    Names names;
    for (int i = 0; i < list->Count(); ++i) names.push_back(list->Get(i));
    return names;
}

class SmartTest : public ::testing::Test {
protected:
    void SetUp() override {
        Ui()->ClearShown();
        Form = TForm::Create(nullptr);
        Form->SetName("OrderForm");
        Form->SetBounds(100, 80, 600, 420);
        Orders = MakeTable("Orders", {{"OrderNo", ftInteger, 0}, {"CustNo", ftString, 10}, {"ShipTo", ftString, 30},
                                      {"City", ftString, 20}});
        Orders->AppendRecord({1001, "", "", ""});
        Orders->First();
        Customers = MakeTable("Customers", {{"CustNo", ftString, 10}, {"Company", ftString, 30}, {"City", ftString, 20}});
        Customers->AppendRecord({"AB100", "Abbey Road", "Avonmouth"});
        Customers->AppendRecord({"CD200", "Cedar Works", "Dunmore"});
        Customers->AppendRecord({"CE300", "Celtic Dive", "Eastbay"});
        Customers->First();
        OrdersSource = MakeSource("OrdersSource", Orders);
        CustomersSource = MakeSource("CustomersSource", Customers);
    }
    void TearDown() override {
        FocusManager().SetFocus(nullptr);
        Keyboard().SetShiftState({});
        Free(Form);
        Ui()->ClearShown();
        Ui()->ClearModalAnswers();
    }

    static THeadlessBackend* Ui() { return HeadlessBackend(); }

    struct TColumn {
        const char* Name;
        TFieldType Type;
        int Size;
    };
    TMemoryDataSet* MakeTable(const char* name, std::vector<TColumn> columns) {
        TMemoryDataSet* table = TMemoryDataSet::Create(Form);
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
    TDBEdit* MakeEdit(const char* name, const char* field) {
        TDBEdit* edit = TDBEdit::Create(Form);
        edit->SetName(name);
        edit->SetParent(Form);
        edit->SetBounds(10, 10 + 30 * Form->ControlCount(), 121, 21);
        edit->SetDataSource(OrdersSource);
        edit->SetDataField(field);
        return edit;
    }

    // The customer's number as key, name and city as results; both sources
    // set. Not yet switched on: a new smart lookup's inner components idle.
    TSmartDBLookup* MakeSmart(const char* keys = "CustNo,CustNo", const char* results = "ShipTo,Company;City,City") {
        TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
        lookup->SetName("CustomerLookup");
        lookup->SetKeyConnection(keys);
        lookup->SetResultConnection(results);
        lookup->SetDataSource(OrdersSource);
        lookup->SetLookupDataSource(CustomersSource);
        return lookup;
    }
    // Switched off and on: pushed, the dialog linked, the fill linked.
    TSmartDBLookup* ActiveSmart(const char* keys = "CustNo,CustNo", const char* results = "ShipTo,Company;City,City") {
        TSmartDBLookup* lookup = MakeSmart(keys, results);
        lookup->SetActive(false);
        lookup->SetActive(true);
        return lookup;
    }

    // Exception messages shown since the last call.
    std::vector<std::string> ShownErrors() {
        std::vector<std::string> texts;
        for (const TShownItem& item : Ui()->Shown())
            if (item.Kind == TShownKind::Exception) texts.push_back(item.Text);
        Ui()->ClearShown();
        return texts;
    }
    std::string Text(TDataSet* table, const char* field) const { return table->FieldByName(field)->AsString(); }

    TForm* Form = nullptr;
    TMemoryDataSet* Orders = nullptr;
    TMemoryDataSet* Customers = nullptr;
    TDataSource* OrdersSource = nullptr;
    TDataSource* CustomersSource = nullptr;
};

// Runs F and answers the message of the host Exception it raised ("" if none).
template <class F>
std::string RaisedMessage(F&& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}

} // namespace smart
