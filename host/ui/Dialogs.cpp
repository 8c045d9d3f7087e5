#include "host/ui/Dialogs.h"

#include "host/core/Exception.h"
#include "host/ui/App.h"
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

namespace host {

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return UIBackend().MessageDlg(text, type, buttons.Empty() ? TMsgDlgButtons{mbOK} : buttons);
}

std::string MsgDlgButtonCaption(TMsgDlgBtn button) {
    switch (button) {
    case mbYes: return "&Yes";
    case mbNo: return "&No";
    case mbOK: return "OK";
    case mbCancel: return "Cancel";
    case mbAbort: return "&Abort";
    case mbRetry: return "&Retry";
    case mbIgnore: return "&Ignore";
    case mbAll: return "&All";
    case mbNoToAll: return "N&o to All";
    case mbYesToAll: return "Yes to &All";
    }
    return {};
}

TModalResult MsgDlgButtonResult(TMsgDlgBtn button) {
    switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    }
    return mrNone;
}

std::string MsgDlgCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
    }
    return Application()->Title().empty() ? "Message" : Application()->Title();
}

TMsgDlgBtn MsgDlgDefaultButton(TMsgDlgButtons buttons) {
    if (buttons.Contains(mbOK) || buttons.Empty()) return mbOK;
    if (buttons.Contains(mbYes)) return mbYes;
    for (int b = mbYes; b <= mbYesToAll; ++b)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) return static_cast<TMsgDlgBtn>(b);
    return mbOK;
}

bool MsgDlgCancelButton(TMsgDlgButtons buttons, TMsgDlgBtn& cancel) {
    if (buttons.Empty()) buttons = {mbOK};
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
        if (buttons.Contains(b)) {
            cancel = b;
            return true;
        }
    return false;
}

} // namespace host
