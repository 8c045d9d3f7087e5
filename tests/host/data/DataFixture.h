#pragma once
// A small customers table and a data link that logs what it hears.

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "host/data/DataLink.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace host::testing {

class TLoggingLink : public TFieldDataLink {
    HOST_CLASS(TLoggingLink, TFieldDataLink)
public:
    std::vector<std::string> Heard;

protected:
    TLoggingLink() = default;
    void ActiveChanged() override {
        Heard.push_back(Active() ? "active" : "inactive");
        inherited::ActiveChanged();
    }
    void EditingChanged() override {
        Heard.push_back(TDataLink::Editing() ? "editing" : "browsing");
        inherited::EditingChanged();
    }
    void RecordChanged(TField* field) override {
        Heard.push_back(field ? "record:" + field->FieldName() : "record");
        inherited::RecordChanged(field);
    }
};

// Logs the notices a link hears by their own names.
class TNoticeLink : public TDataLink {
    HOST_CLASS(TNoticeLink, TDataLink)
public:
    std::vector<std::string> Heard;

protected:
    TNoticeLink() = default;
    void DataSetChanged() override { Heard.push_back("changed"); }
    void DataSetScrolled(int distance) override { Heard.push_back("scrolled " + std::to_string(distance)); }
    void RecordChanged(TField* field) override { Heard.push_back(field ? "record:" + field->FieldName() : "record"); }
    void CheckBrowseMode() override { Heard.push_back("check"); }
    void UpdateData() override { Heard.push_back("update"); }
};

class DataTest : public ::testing::Test {
protected:
    void SetUp() override {
        Module = TDataModule::Create(nullptr);
        Customers = TMemoryDataSet::Create(Module);
        Customers->FieldDefs().Add("CustNo", ftInteger);
        Customers->FieldDefs().Add("Company", ftString, 12);
        Customers->FieldDefs().Add("Rating", ftFloat);
        Customers->FieldDefs().Add("Active", ftBoolean);
        Customers->Open();
        Customers->AppendRecord({1221, "Kauai Dive", 4.5, true});
        Customers->AppendRecord({1231, "Unisco", 3, false});
        Customers->AppendRecord({1351, "Sight Diver", Variant::Null(), true});
        Customers->AppendRecord({1354, "Cayman Dive", 2.25, Variant::Null()});
        Customers->First();
        Source = TDataSource::Create(Module);
        Source->SetDataSet(Customers);
    }
    void TearDown() override { Free(Module); }

    Variant Value(const char* field) const { return Customers->FieldByName(field)->Value(); }

    TDataModule* Module = nullptr;
    TMemoryDataSet* Customers = nullptr;
    TDataSource* Source = nullptr;
};

} // namespace host::testing
