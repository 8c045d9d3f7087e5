#include "host/ui/Backend.h"

#include "host/core/Exception.h"
#include "host/ui/MessageForm.h"

#include <algorithm>

namespace host {

void TUIBackend::AboutBox(const std::string& className, const std::string& version) {
    ShowMessage(className + "\n" + version);
}

TModalResult TUIBackend::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    Owned<TMessageForm> box(TMessageForm::Make(MsgDlgCaption(type), text, buttons));
    box->ShowModal();
    return box->Answer();
}

TModalResult THeadlessBackend::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    Record({TShownKind::MessageDlg, text, MsgDlgCaption(type)});
    if (buttons.Empty()) buttons = {mbOK};
    std::vector<TModalResult> offered;
    for (int b = mbYes; b <= mbYesToAll; ++b)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) offered.push_back(MsgDlgButtonResult(static_cast<TMsgDlgBtn>(b)));
    if (offered.size() == 1) return offered.front();
    if (FMessageAnswers.empty()) throw EInvalidOperation("Message dialog \"" + text + "\" was left without an answer");
    const TModalResult answer = FMessageAnswers.front();
    FMessageAnswers.pop_front();
    if (std::find(offered.begin(), offered.end(), answer) == offered.end())
        throw EInvalidOperation("Message dialog \"" + text + "\" has no button for the answer " + std::to_string(answer));
    return answer;
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
