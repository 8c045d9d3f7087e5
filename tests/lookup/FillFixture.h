#pragma once
// A destination (orders) and a lookup dataset (customers) on one data module,
// with a fill wired between them as an application would.

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "lookup/LkFill.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veskar::testing {

// Counts the three virtual operations, so tests can see that the fill's own
// calls reach a descendant.
class TCountingFill : public TLookupFill {
    HOST_CLASS(TCountingFill, TLookupFill)
public:
    int Creates = 0;
    int Destroys = 0;
    int Lookups = 0;
    int* DestroysAtEnd = nullptr;  // outlives the fill

    void CreateFieldLinks() override {
        ++Creates;
        inherited::CreateFieldLinks();
    }
    void DestroyFieldLinks() override {
        ++Destroys;
        if (DestroysAtEnd) ++*DestroysAtEnd;
        inherited::DestroyFieldLinks();
    }
    void DoLookup() override {
        ++Lookups;
        inherited::DoLookup();
    }

protected:
    explicit TCountingFill(host::TComponent* owner) : TLookupFill(owner) {}
};

// A lookup dataset that records what Lookup was asked, and can answer
// something other than its records.
class TRecordingDataSet : public host::TMemoryDataSet {
    HOST_CLASS(TRecordingDataSet, host::TMemoryDataSet)
public:
    struct Call {
        std::string KeyFields;
        host::Variant KeyValues;
        std::string ResultFields;
    };
    std::vector<Call> Calls;
    bool Override = false;
    host::Variant Answer;

    host::Variant Lookup(const std::string& keyFields, const host::Variant& keyValues,
                         const std::string& resultFields) override {
        Calls.push_back({keyFields, keyValues, resultFields});
        if (Override) return Answer;
        return inherited::Lookup(keyFields, keyValues, resultFields);
    }

protected:
    explicit TRecordingDataSet(host::TComponent* owner) : TMemoryDataSet(owner) {}
};

class FillTest : public ::testing::Test {
protected:
    void SetUp() override {
        Module = host::TDataModule::Create(nullptr);
        Orders = host::TMemoryDataSet::Create(Module);
        Orders->SetName("Orders");
        Orders->FieldDefs().Add("OrderNo", host::ftInteger);
        Orders->FieldDefs().Add("CustNo", host::ftInteger);
        Orders->FieldDefs().Add("Name", host::ftString, 30);
        Orders->FieldDefs().Add("City", host::ftString, 20);
        Orders->Open();
        Orders->AppendRecord({1001, host::Variant::Null(), "", ""});

        Customers = TRecordingDataSet::Create(Module);
        Customers->SetName("Customers");
        Customers->FieldDefs().Add("CustNo", host::ftInteger);
        Customers->FieldDefs().Add("Company", host::ftString, 30);
        Customers->FieldDefs().Add("City", host::ftString, 20);
        Customers->Open();
        Customers->AppendRecord({1221, "Kauai Dive Shoppe", "Kapaa"});
        Customers->AppendRecord({1231, "Unisco", "Freeport"});
        Customers->AppendRecord({1351, "Sight Diver", host::Variant::Null()});
        Customers->First();
        Customers->Calls.clear();

        OrdersSource = host::TDataSource::Create(Module);
        OrdersSource->SetDataSet(Orders);
        CustomersSource = host::TDataSource::Create(Module);
        CustomersSource->SetDataSet(Customers);
    }

    void TearDown() override { host::Free(Module); }

    // A fill on CustNo filling Name and City from Company and City.
    template <class T = TLookupFill>
    T* MakeFill() {
        T* fill = T::Create(Module);
        Configure(fill);
        fill->SetDataSource(OrdersSource);
        fill->SetLookupDataSource(CustomersSource);
        return fill;
    }

    static void Configure(TLookupFill* fill) {
        fill->KeyFields()->SetCommaText("CustNo");
        fill->LookupKeyFields()->SetCommaText("CustNo");
        fill->ResultFields()->SetCommaText("Name,City");
        fill->LookupResultFields()->SetCommaText("Company,City");
    }

    host::TField* Field(const char* name) const { return Orders->FieldByName(name); }
    host::Variant Value(const char* name) const { return Field(name)->Value(); }

    host::TDataModule* Module = nullptr;
    host::TMemoryDataSet* Orders = nullptr;
    TRecordingDataSet* Customers = nullptr;
    host::TDataSource* OrdersSource = nullptr;
    host::TDataSource* CustomersSource = nullptr;
};

// Runs F and answers the message of the host Exception it raised ("" if none).
template <class F>
std::string RaisedMessage(F&& f) {
    try {
        f();
    } catch (const host::Exception& e) {
        return e.Message();
    }
    return {};
}

} // namespace veskar::testing
