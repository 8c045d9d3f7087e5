// Design time: the designer loads the package, whose Register procedures put
// the three components on the palette with their editors; the order-entry
// form is opened in the designer; a developer selects the smart customer
// lookup, reads the object inspector, types the result pairs as text, opens
// "&Result Connections" from its context menu, pairs one more field in the
// key link dialog and presses OK; the form is marked modified and saved.

#include "design/Lddsgn.h"
#include "examples/OrderEntry.h"
#include "examples/Scenes.h"
#include "host/designer/Designer.h"
#include "host/package/Resource.h"
#include "host/ui/Backend.h"
#include "host/ui/Graphics.h"
#include "host/ui/Mouse.h"
#include "lookup/Package.h"

#include <dlfcn.h>

#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace host;
using namespace veskar;
using namespace demo;

namespace {

// The package file this program runs with: the designer loads the same one.
std::string StoredDefinition(const char* name) {
    const auto data = FindResource(MainInstance(), name, rtRCData);
    if (!data) throw EResNotFound(std::string("Resource ") + name + " not found");
    return std::string(reinterpret_cast<const char*>(data->data()), data->size());
}

void PrintPalette() {
    for (const TPalettePage& page : PalettePages()) {
        std::cout << "  Palette page \"" << page.Name << "\":";
        for (const TPaletteItem& item : page.Items) {
            Owned<TBitmap> image(TBitmap::Create());
            LoadPaletteBitmap(item, image.get());
            std::cout << " " << item.Class->ClassName() << " (" << image->Width() << "x" << image->Height() << ")";
        }
        std::cout << "\n";
    }
}

void PrintInspector(const TFormDesigner& designer, std::initializer_list<const char*> only = {}) {
    for (const TInspectorRow& row : designer.Inspector()) {
        bool wanted = only.size() == 0;
        for (const char* name : only) wanted = wanted || row.Name == name;
        if (!wanted) continue;
        std::cout << "    " << row.Name << std::string(row.Name.size() < 20 ? 20 - row.Name.size() : 1, ' ')
                  << (row.Value.empty() ? "" : row.Value)
                  << (row.Attributes.Contains(paDialog) ? "  [...]" : "") << "\n";
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The lines of After that Before lacks, and the other way round.
void PrintChangedLines(const std::string& before, const std::string& after) {
    const auto old = Lines(before);
    const auto now = Lines(after);
    const std::multiset<std::string> oldSet(old.begin(), old.end());
    const std::multiset<std::string> newSet(now.begin(), now.end());
    for (const auto& line : old)
        if (!newSet.count(line)) std::cout << "    - " << line << "\n";
    for (const auto& line : now)
        if (!oldSet.count(line)) std::cout << "    + " << line << "\n";
}

void PrintMessages(std::size_t& seen) {
    const auto& shown = HeadlessBackend()->Shown();
    for (; seen < shown.size(); ++seen)
        if (shown[seen].Kind == TShownKind::Message || shown[seen].Kind == TShownKind::Exception)
            std::cout << "    [screen] \"" << shown[seen].Text << "\"\n";
}

std::string Joined(const TListBox* box) {
    std::string text;
    for (int i = 0; i < box->Count(); ++i) text += (i ? ", " : "") + box->Items()->Strings(i);
    return text.empty() ? "(none)" : text;
}

void PrintDialog(const TKeyLinkDlg* d) {
    std::cout << "    [screen] \"" << d->Caption() << "\": destination fields " << Joined(d->LeftListBox)
              << " | connections " << Joined(d->MiddleListBox) << " | lookup fields " << Joined(d->RightListBox)
              << "\n";
}

} // namespace

void RunDesignScene() {
    std::cout << "\nPart four: design time\n\n";
    THeadlessBackend* ui = HeadlessBackend();
    ui->ClearShown();
    std::size_t seen = 0;

    LoadDesignPackage("VeskarDesign");
    std::cout << "  The designer loads the design package (and the run-time package it requires) and calls its units' Register procedures.\n";
    PrintPalette();

    RegisterOrderEntryClasses();
    Owned<TDataModule> data(MakeData());
    auto designer = TFormDesigner::ReadFormText(StoredDefinition("TORDERENTRYFORM"));
    const std::string saved = designer->SaveFormText();
    auto* form = As<TOrderEntryForm>(designer->Root());
    std::cout << "  The order-entry form opens in the designer with " << form->ComponentCount()
              << " components; the smart lookup is "
              << (form->CustomerLookup->ComponentState().Contains(csDesigning) ? "in design mode" : "running")
              << " and captures no controls.\n";

    designer->Select(form->CustomerLookup);
    std::cout << "\n  The developer selects " << form->CustomerLookup->Name() << ". The object inspector:\n";
    PrintInspector(*designer);

    designer->MoveComponent(form->CustomerLookup, 320, 8);
    std::cout << "\n  The developer moves its icon to 320, 8 and types the result pairs as text:\n"
                 "    ConnectionResult := 'ShipTo , Company;ShipCity,City'\n";
    designer->SetPropertyText("ConnectionResult", "ShipTo , Company;ShipCity,City");
    PrintInspector(*designer, {"ConnectionResult"});

    std::cout << "\n  The context menu of " << form->CustomerLookup->Name() << ":";
    for (const TMenuItemInfo& item : designer->ContextMenu(form->CustomerLookup)) std::cout << " [" << item.Caption << "]";
    std::cout << "\n  The developer chooses \"&Result Connections\".\n";
    const int before = designer->ModifiedCount();
    ui->QueueModalAnswer([](TCustomForm* shown) {
        auto* d = As<TKeyLinkDlg>(shown);
        PrintDialog(d);
        std::cout << "    The developer clicks ShipCountry and Country (Add is "
                  << (d->bAdd->Enabled() ? "enabled" : "disabled") << " until both are chosen), presses Add:\n";
        Mouse().ClickItem(d->LeftListBox, d->LeftListBox->Items()->IndexOf("ShipCountry"));
        Mouse().ClickItem(d->RightListBox, d->RightListBox->Items()->IndexOf("Country"));
        Mouse().Click(d->bAdd);
        PrintDialog(d);
        std::cout << "    and presses OK.\n";
        Mouse().Click(d->bOK);
    });
    designer->ExecuteVerb(form->CustomerLookup, "&Result Connections");
    PrintMessages(seen);
    std::cout << "  The form is " << (designer->IsModified() ? "marked modified" : "unchanged") << " ("
              << designer->ModifiedCount() - before << " more change). The inspector now shows:\n";
    PrintInspector(*designer, {"ConnectionKey", "ConnectionResult"});

    std::cout << "\n  Saving the form; the lines that changed:\n";
    PrintChangedLines(saved, designer->SaveFormText());
    std::cout << "  The form is " << (designer->IsModified() ? "still modified" : "saved") << ".\n";
    designer.reset();
    ClearRegistrations();
}
