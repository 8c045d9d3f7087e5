// Order entry, the fill: an orders table takes the customer's name and city
// from a customers table as soon as a customer number is entered.

#include "host/core/Component.h"
#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "examples/OrderData.h"
#include "examples/Scenes.h"
#include "host/gtk/GtkBackend.h"
#include "lookup/LkFill.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

using namespace host;
using veskar::TLookupFill;

namespace {

TMemoryDataSet* MakeCustomers(TComponent* owner) {
    TMemoryDataSet* customers = TMemoryDataSet::Create(owner);
    customers->SetName("Customers");
    customers->FieldDefs().Add("CustNo", ftInteger);
    customers->FieldDefs().Add("Company", ftString, 30);
    customers->FieldDefs().Add("City", ftString, 20);
    customers->Open();
    customers->AppendRecord({1221, "Kauai Dive Shoppe", "Kapaa"});
    customers->AppendRecord({1231, "Unisco", "Freeport"});
    customers->AppendRecord({1351, "Sight Diver", "Kato Paphos"});
    return customers;
}

TMemoryDataSet* MakeOrders(TComponent* owner) {
    TMemoryDataSet* orders = TMemoryDataSet::Create(owner);
    orders->SetName("Orders");
    orders->FieldDefs().Add("OrderNo", ftInteger);
    orders->FieldDefs().Add("CustNo", ftInteger);
    orders->FieldDefs().Add("ShipToName", ftString, 30);
    orders->FieldDefs().Add("ShipToCity", ftString, 20);
    orders->Open();
    return orders;
}

TDataSource* MakeSource(TComponent* owner, TDataSet* dataSet) {
    TDataSource* source = TDataSource::Create(owner);
    source->SetDataSet(dataSet);
    return source;
}

std::string Show(const TField* field) { return field->IsNull() ? "(empty)" : field->AsString(); }

void PrintOrder(TDataSet* orders) {
    std::cout << "    order " << Show(orders->FieldByName("OrderNo")) << ": customer "
              << Show(orders->FieldByName("CustNo")) << ", ship to " << Show(orders->FieldByName("ShipToName"))
              << " in " << Show(orders->FieldByName("ShipToCity")) << "\n";
}

void EnterCustomer(TDataSet* orders, int custNo) {
    std::cout << "  The clerk enters customer number " << custNo << ".\n";
    try {
        orders->FieldByName("CustNo")->SetValue(custNo);
    } catch (const Exception& e) {
        std::cout << "  The fill reports: \"" << e.Message() << "\"\n";
    }
    PrintOrder(orders);
}

} // namespace

void RunFillScene() {
    Owned<TDataModule> module(TDataModule::Create(nullptr));
    TMemoryDataSet* customers = MakeCustomers(module.get());
    TMemoryDataSet* orders = MakeOrders(module.get());

    TLookupFill* fill = TLookupFill::Create(module.get());
    fill->SetName("CustomerFill");
    fill->KeyFields()->SetCommaText("CustNo");
    fill->LookupKeyFields()->SetCommaText("CustNo");
    fill->ResultFields()->SetCommaText("ShipToName,ShipToCity");
    fill->LookupResultFields()->SetCommaText("Company,City");
    fill->SetDataSource(MakeSource(module.get(), orders));
    fill->SetLookupDataSource(MakeSource(module.get(), customers));

    std::cout << "Veskar order entry\n\nPart one: the fill\n\n"
              << "Customers on file: " << customers->RecordCount() << ". The fill links "
              << fill->KeyLinks()->Count() << " key field and " << fill->ResultLinks()->Count()
              << " result fields.\n\n";

    std::cout << "1. A new order is started.\n";
    orders->Append();
    orders->FieldByName("OrderNo")->SetValue(1001);
    PrintOrder(orders);

    std::cout << "\n2. A known customer fills name and city.\n";
    EnterCustomer(orders, 1231);

    std::cout << "\n3. Another customer replaces them.\n";
    EnterCustomer(orders, 1351);

    std::cout << "\n4. An unknown number, with the default policies: the result fields are cleared\n"
                 "   and the fill raises an error.\n";
    EnterCustomer(orders, 4711);

    std::cout << "\n5. An unknown number, with an error handler instead: fields cleared, no exception.\n";
    fill->OnLookupError = [](TLookupFill* sender, int code) {
        std::cout << "  OnLookupError from " << sender->Name() << " with code " << code << "\n";
    };
    EnterCustomer(orders, 4712);

    std::cout << "\n6. An unknown number with both policies off: the fields keep what they had.\n";
    fill->OnLookupError = nullptr;
    fill->SetNullOnKeyNotFound(false);
    fill->SetErrorOnKeyNotFound(false);
    EnterCustomer(orders, 1221);
    EnterCustomer(orders, 4713);

    orders->FieldByName("CustNo")->SetValue(1221);
    orders->Post();
    std::cout << "\nThe order is posted; the orders table holds " << orders->RecordCount() << " record.\n";
}

namespace {

void PrintUsage(std::ostream& out) {
    out << "Usage: veskar_demo [--gui | --tui | --script] [--db FILE | --pg CONNINFO]\n"
           "The Veskar order entry: in a window when a display is set (DISPLAY or\n"
           "WAYLAND_DISPLAY), else in a terminal a person enters orders; otherwise, or with\n"
           "--script, a scripted session plays.\n\n"
           "Options:\n"
           "  --gui           the order entry in a window\n"
           "  --tui           the order entry in the terminal, even with a display\n"
           "  --script        play the scripted session even in a terminal\n"
           "  --db FILE       the SQLite database, made and filled on first use\n"
           "                  (default: $VESKAR_DEMO_DB, else "
        << demo::DefaultDatabaseFile()
        << ")\n"
           "  --pg CONNINFO   a PostgreSQL server instead, as a libpq connection string\n"
           "                  (\"host=/tmp dbname=orders\")\n"
           "  -h, --help      show this text and exit\n";
}

// A bar on the terminal while a new database is filled: it takes seconds,
// and the form only shows once it is done.
void ShowFillProgress(int fd, const std::string& table, int done, int total) {
    constexpr int kWidth = 30;
    const int filled = total > 0 ? static_cast<int>(static_cast<long long>(done) * kWidth / total) : kWidth;
    std::string line = "\rMaking the database: " + table + " " + std::to_string(done) + " of " +
                       std::to_string(total) + " [" + std::string(static_cast<size_t>(filled), '#') +
                       std::string(static_cast<size_t>(kWidth - filled), '.') + "]";
    if (done >= total) line += "\n";
    for (size_t at = 0; at < line.size();) {
        const ssize_t n = ::write(fd, line.data() + at, line.size() - at);
        if (n <= 0) return;
        at += static_cast<size_t>(n);
    }
}

} // namespace

int main(int argc, char** argv) {
    // --script plays the scripted session even in a terminal; the other
    // options choose the database.
    std::vector<char*> args(argv, argv + argc);
    const auto isHelp = [](const char* arg) { return std::string_view(arg) == "--help" || std::string_view(arg) == "-h"; };
    if (std::find_if(args.begin() + 1, args.end(), isHelp) != args.end()) {
        PrintUsage(std::cout);
        return 0;
    }
    // The last of --gui, --tui and --script chooses; none: a display, else a
    // terminal, else the script.
    std::string_view mode;
    const auto isMode = [](const char* arg) {
        const std::string_view a(arg);
        return a == "--script" || a == "--gui" || a == "--tui";
    };
    for (auto it = args.begin() + 1; it != args.end(); ++it)
        if (isMode(*it)) mode = *it;
    if (argc > 1) args.erase(std::remove_if(args.begin() + 1, args.end(), isMode), args.end());
    const bool script = mode == "--script";
    try {
        demo::SetOrderDatabase(demo::ParseDatabaseOptions(static_cast<int>(args.size()), args.data()));
    } catch (const std::exception& e) {
        std::cerr << "veskar_demo: " << e.what() << "\n";
        PrintUsage(std::cerr);
        return 2;
    }
    const bool windowed = mode == "--gui" || (mode.empty() && host::gtk::TGtkBackend::DisplayAvailable());
    const bool interactive =
        windowed || mode == "--tui" || (!script && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO));
    const int progressFd = isatty(STDOUT_FILENO) ? STDOUT_FILENO : isatty(STDERR_FILENO) ? STDERR_FILENO : -1;
    if (progressFd >= 0) {
        std::cout.flush();
        demo::SetFillProgress([progressFd](const std::string& table, int done, int total) {
            ShowFillProgress(progressFd, table, done, total);
        });
    }
    try {
        if (interactive) {
            RunInteractive(windowed);
            return 0;
        }
        RunFillScene();
        RunCaptureScene();
        RunEntryScene();
        RunDesignScene();
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "veskar_demo: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
