#include "host/ui/Backend.h"

namespace host {

void TUIBackend::AboutBox(const std::string& className, const std::string& version) {
    ShowMessage(className + "\n" + version);
}

void THeadlessBackend::AboutBox(const std::string& className, const std::string& version) {
    Record({TShownKind::AboutBox, className, version});
}

void THeadlessBackend::ShowMessage(const std::string& text) { Record({TShownKind::Message, text, {}}); }

void THeadlessBackend::ShowException(const std::string& message) { Record({TShownKind::Exception, message, {}}); }

bool TUIBackend::HandleInput(bool /*wait*/) { return false; }

bool THeadlessBackend::HandleInput(bool /*wait*/) {
    if (FInput.empty()) return false;
    auto input = std::move(FInput.front());
    FInput.pop_front();
    input();
    return true;
}

namespace {
std::unique_ptr<TUIBackend>& Current() {
    static std::unique_ptr<TUIBackend> backend = std::make_unique<THeadlessBackend>();
    return backend;
}
} // namespace

TUIBackend& UIBackend() {
    auto& current = Current();
    if (!current) current = std::make_unique<THeadlessBackend>();
    return *current;
}

std::unique_ptr<TUIBackend> SetUIBackend(std::unique_ptr<TUIBackend> backend) {
    auto old = std::move(Current());
    Current() = backend ? std::move(backend) : std::make_unique<THeadlessBackend>();
    return old;
}

THeadlessBackend* HeadlessBackend() { return dynamic_cast<THeadlessBackend*>(&UIBackend()); }

} // namespace host
