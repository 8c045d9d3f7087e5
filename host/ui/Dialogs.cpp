#include "host/ui/Dialogs.h"

#include "host/core/Exception.h"
#include "host/ui/Backend.h"

namespace host {

void ShowMessage(const std::string& text) { UIBackend().ShowMessage(text); }

void ShowException(const std::exception& error) {
    if (auto* e = dynamic_cast<const Exception*>(&error))
        UIBackend().ShowException(e->Message());
    else
        UIBackend().ShowException(error.what());
}

void ShowCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        UIBackend().ShowException("Unknown exception");
    }
}

} // namespace host
