#pragma once
// Message boxes of the host, shown through the application's UI back end.
// MessageDlg asks the user a question and answers the modal result of the
// button pressed; the form it shows is a TMessageForm (MessageForm.h).

#include "host/core/Export.h"
#include "host/core/Set.h"
#include "host/ui/ModalResult.h"

#include <exception>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

void ShowMessage(const std::string& text);
// Shows the message of a host Exception, or a generic text for anything else.
void ShowException(const std::exception& error);
// Shows the exception in flight; call from a catch block.
void ShowCurrentException();

// The kind of a message dialog, which gives its caption: "Warning",
// "Error", "Information", "Confirm"; mtCustom takes the application's title.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
// The dialog's buttons, shown in this order whatever order they are given in.
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Shows Text with the buttons (OK alone when none is given) and answers the
// modal result of the one pressed (mrYes, mrNo, mrOk ...). Closing the
// dialog presses its cancel button: Cancel, else No, else OK.
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// What a button shows and answers, and the caption of a dialog type.
std::string MsgDlgButtonCaption(TMsgDlgBtn button);
TModalResult MsgDlgButtonResult(TMsgDlgBtn button);
std::string MsgDlgCaption(TMsgDlgType type);
// The button Enter presses (OK, else Yes, else the first) and the one Esc
// and the close box press (Cancel, else No, else OK, else none).
TMsgDlgBtn MsgDlgDefaultButton(TMsgDlgButtons buttons);
bool MsgDlgCancelButton(TMsgDlgButtons buttons, TMsgDlgBtn& cancel);

} // namespace host

VESKAR_PUBLIC_END
