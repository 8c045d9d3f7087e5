#pragma once
// TMessageForm: the small modal form of a message box, an error report, an
// about box or a question (MessageDlg): the lines of text over a row of
// buttons, centred on the screen, sized in character cells. Enter presses
// the default button, Esc and the close box the cancel button, and with
// the focus on a button its underlined letter presses it, Alt or not.
// Code: MessageForm.cpp.

#include "host/core/Export.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TMessageForm : public TForm {
    HOST_CLASS(TMessageForm, TForm)
public:
    // A new hidden form without an owner; the caller frees it. No buttons
    // gives OK alone.
    static TMessageForm* Make(const std::string& caption, const std::string& text, TMsgDlgButtons buttons);

    TMsgDlgButtons Buttons() const { return FButtons; }
    // The button made for one of Buttons; nil for another.
    TButton* Button(TMsgDlgBtn button) const;
    // The keys the form answers, for a status line: "Enter OK" for a plain
    // message, "Y Yes  N No  Enter Yes  Esc No" for a question.
    std::string KeysText() const;
    // The result a run ended with, the close box's mrCancel turned into the
    // cancel button's result.
    TModalResult Answer() const;

protected:
    explicit TMessageForm(TComponent* owner) : TForm(owner) {}
    // Built in code, not from a stored definition.
    void LoadDefinition() override {}
    bool DialogKey(std::uint16_t& key, TShiftState shift) override;

private:
    void Build(const std::string& caption, const std::string& text, TMsgDlgButtons buttons);
    // The buttons in a row from a cell of the client area.
    VESKAR_LOCAL void AddButtons(int column, int row);

    TMsgDlgButtons FButtons;
    std::vector<std::pair<TMsgDlgBtn, TButton*>> FButtonControls;
};

} // namespace host

VESKAR_PUBLIC_END
