// veskar-designer: designs a form file in a terminal.
//
//     veskar-designer [--package NAME] FILE
//
// FILE is a text or binary form file; one that does not exist yet is a new
// empty form, written as form text on the first save. The components and
// their editors come from the design package (VeskarDesign unless NAME is
// given), loaded as the designer loads packages, and from the host's
// standard components.

#include "host/core/Guards.h"
#include "host/designer/Designer.h"
#include "host/designer/StdReg.h"
#include "host/terminal/TerminalBackend.h"
#include "host/ui/App.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Focus.h"
#include "tools/designer/DesignerWindow.h"

#include <iostream>
#include <memory>
#include <string>

using namespace host;
using namespace designer;

namespace {

int Usage() {
    std::cerr << "usage: veskar-designer [--package NAME] FILE\n";
    return 2;
}

int Design(TDesignDocument& document) {
    auto terminal = std::make_unique<term::TTerminalBackend>();
    term::TTerminalBackend* tui = terminal.get();
    std::unique_ptr<TUIBackend> previous = SetUIBackend(std::move(terminal));
    Owned<TDesignerWindow> window(TDesignerWindow::Make(document));
    const TFinally cleanup([&] {
        FocusManager().SetFocus(nullptr);
        window.reset();
        SetUIBackend(std::move(previous));
    });
    tui->SetStatusLine([] { return std::string("Tab next  Shift+F10 verbs  Enter default verb  Del delete  ^S save  ^Q quit"); });
    Application()->SetTitle("veskar-designer");
    Application()->SetMainForm(window.get());
    if (!document.MissingClasses().empty()) {
        window->Show();
        ShowMessage(window->Status());
    }
    Application()->Run();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string package = "VeskarDesign";
    int arg = 1;
    if (argc > arg + 1 && std::string(argv[arg]) == "--package") {
        package = argv[arg + 1];
        arg += 2;
    }
    if (argc - arg != 1) return Usage();
    const std::string path = argv[arg];
    try {
        RegisterStandardComponents();
        LoadDesignPackage(package);
        // Read before the terminal is taken: a file that does not read is
        // reported plainly and nothing is written.
        TDesignDocument document(path);
        return Design(document);
    } catch (const std::exception& e) {
        std::cerr << "veskar-designer: " << e.what() << "\n";
        return 1;
    }
}
