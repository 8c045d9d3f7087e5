#include "examples/OrderEntry.h"

#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/stream/ClassRegistry.h"
#include "host/ui/Dialogs.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Grids.h"

#include <string>

using namespace host;
using namespace veskar;

namespace demo {

HOST_IMPLEMENT_COMPONENT(TOrderEntryForm, TForm)

void TOrderEntryForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TOrderEntryForm>();
    p.Field("CustEdit", &TOrderEntryForm::CustEdit);
    p.Field("PartEdit", &TOrderEntryForm::PartEdit);
    p.Field("CustomerLookup", &TOrderEntryForm::CustomerLookup);
    p.Field("PartLookup", &TOrderEntryForm::PartLookup);
    p.Method("CustomerNotFound", &TOrderEntryForm::CustomerNotFound);
}

void TOrderEntryForm::CustomerNotFound(TLookupFill*, int) { ShowMessage("No customer has that number."); }

void RegisterOrderEntryClasses() {
    RegisterClasses({&TOrderEntryForm::ClassInfo(), &TPanel::ClassInfo(), &TDBEdit::ClassInfo(), &TDBGrid::ClassInfo(),
                     &TSmartDBLookup::ClassInfo(), &TLookupDialog::ClassInfo()});
}

namespace {

TMemoryDataSet* Table(TDataModule* data, const char* name, std::initializer_list<std::pair<const char*, int>> columns) {
    TMemoryDataSet* table = TMemoryDataSet::Create(data);
    table->SetName(name);
    for (const auto& [column, size] : columns) table->FieldDefs().Add(column, size ? ftString : ftInteger, size);
    table->Open();
    TDataSource* source = TDataSource::Create(data);
    source->SetName(std::string(name) + "Source");
    source->SetDataSet(table);
    return table;
}

} // namespace

TDataModule* MakeData() {
    TDataModule* data = TDataModule::Create(nullptr);
    data->SetName("Data");
    TMemoryDataSet* customers =
        Table(data, "Customers", {{"CustNo", 10}, {"Company", 30}, {"City", 20}, {"Country", 20}});
    customers->AppendRecord({"AB1221", "Abbey Road Divers", "Avonmouth", "England"});
    customers->AppendRecord({"CD1231", "Cedar Bay Sports", "Dunmore", "Ireland"});
    customers->AppendRecord({"CE1351", "Celtic Sight Diver", "Kato Paphos", "Cyprus"});
    customers->AppendRecord({"CE1354", "Cayman Eastside Dive", "George Town", "Cayman Islands"});
    customers->AppendRecord({"FR1380", "Freeport Reef Club", "Freeport", "Bahamas"});
    customers->First();
    TMemoryDataSet* parts = Table(data, "Parts", {{"PartNo", 10}, {"Description", 30}});
    parts->AppendRecord({"900", "Dive kayak"});
    parts->AppendRecord({"912", "Underwater diver vehicle"});
    parts->AppendRecord({"1313", "Regulator system"});
    parts->First();
    TMemoryDataSet* orders = Table(
        data, "Orders",
        {{"OrderNo", 0}, {"CustNo", 10}, {"ShipTo", 30}, {"ShipCity", 20}, {"ShipCountry", 20}, {"PartNo", 10}});
    orders->AppendRecord({1001, "", "", "", "", ""});
    orders->First();
    return data;
}

} // namespace demo
