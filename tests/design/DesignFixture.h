#pragma once
// An orders table and a customers table on a form, the three components
// over them, and the user's hand in the key link dialog.

#include "design/Lddsgn.h"
#include "host/core/Exception.h"
#include "host/core/Strings.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/designer/Designer.h"
#include "host/ui/Backend.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"
#include "lookup/Lsdblkp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace designtest {

using namespace host;
using namespace veskar;
using Names = std::vector<std::string>;

inline Names Rows(const TStrings* list) {
    Names names;
    for (int i = 0; i < list->Count(); ++i) names.push_back(list->Strings(i));
    return names;
}
inline Names Rows(const TListBox* box) { return Rows(box->Items()); }

// Clicks the row of a list box that shows Text; fails the test when none does.
inline void ClickRow(TListBox* box, const std::string& text) {
    const int index = box->Items()->IndexOf(text);
    ASSERT_GE(index, 0) << text << " is not in " << box->Name();
    Mouse().ClickItem(box, index);
}

inline TKeyLinkDlg* Dlg(TCustomForm* form) {
    auto* dialog = dynamic_cast<TKeyLinkDlg*>(form);
    EXPECT_NE(dialog, nullptr);
    return dialog;
}

class DesignTest : public ::testing::Test {
protected:
    void SetUp() override {
        Ui()->ClearShown();
        Ui()->ClearModalAnswers();
        Form = TForm::Create(nullptr);
        Form->SetName("OrderForm");
        Orders = MakeTable("Orders", {{"OrderNo", ftInteger, 0}, {"CustNo", ftString, 10}, {"ShipTo", ftString, 30},
                                      {"City", ftString, 20}});
        Customers = MakeTable("Customers", {{"CustNo", ftString, 10}, {"Company", ftString, 30},
                                            {"City", ftString, 20}, {"Code", ftInteger, 0}});
        Orders->Open();
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
        return table;
    }
    TDataSource* MakeSource(const char* name, TDataSet* dataSet) {
        TDataSource* source = TDataSource::Create(Form);
        source->SetName(name);
        source->SetDataSet(dataSet);
        return source;
    }
    TLookupDialog* MakeDialog(const std::string& keys, const std::string& lookupKeys) {
        TLookupDialog* dialog = TLookupDialog::Create(Form);
        dialog->SetName("PartLookup");
        dialog->SetDataSource(OrdersSource);
        dialog->SetLookupDataSource(CustomersSource);
        dialog->KeyFields()->SetCommaText(keys);
        dialog->LookupKeyFields()->SetCommaText(lookupKeys);
        return dialog;
    }
    TLookupFill* MakeFill() {
        TLookupFill* fill = TLookupFill::Create(Form);
        fill->SetName("Fill");
        fill->SetDataSource(OrdersSource);
        fill->SetLookupDataSource(CustomersSource);
        fill->KeyFields()->SetCommaText("CustNo");
        fill->LookupKeyFields()->SetCommaText("CustNo");
        fill->ResultFields()->SetCommaText("ShipTo");
        fill->LookupResultFields()->SetCommaText("Company");
        return fill;
    }
    TSmartDBLookup* MakeSmart(const char* keys = "CustNo,CustNo", const char* results = "ShipTo,Company") {
        TSmartDBLookup* lookup = TSmartDBLookup::Create(Form);
        lookup->SetName("CustomerLookup");
        lookup->SetKeyConnection(keys);
        lookup->SetResultConnection(results);
        lookup->SetDataSource(OrdersSource);
        lookup->SetLookupDataSource(CustomersSource);
        return lookup;
    }

    // Queues what the user does in the next key link dialog.
    void Answer(std::function<void(TKeyLinkDlg*)> act) {
        Ui()->QueueModalAnswer([act](TCustomForm* form) { act(Dlg(form)); });
    }
    // Messages (ShowMessage) shown since the last call.
    Names Messages() {
        Names texts;
        for (const TShownItem& item : Ui()->Shown())
            if (item.Kind == TShownKind::Message || item.Kind == TShownKind::Exception) texts.push_back(item.Text);
        Ui()->ClearShown();
        return texts;
    }

    TForm* Form = nullptr;
    TMemoryDataSet* Orders = nullptr;
    TMemoryDataSet* Customers = nullptr;
    TDataSource* OrdersSource = nullptr;
    TDataSource* CustomersSource = nullptr;
};

template <class F>
std::string RaisedMessage(F&& f) {
    try {
        f();
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}

} // namespace designtest
