#pragma once
// The application's user-interface back end: every message box, exception
// report and modal run goes through it, so the same program can run
// headless, in a terminal or in a window. The headless back end is the
// default: it records what was shown, in order, and answers modal forms with
// the answers a test or a demo script queued for them.
// Code: Backend.cpp; the modal runs (RunModal) in ModalRun.cpp.

#include "host/core/Export.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Geometry.h"
#include "host/ui/ModalResult.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCustomForm;

enum class TShownKind { Message, Exception, AboutBox, ModalForm, MessageDlg };

struct TShownItem {
    TShownKind Kind;
    std::string Text;      // the message, the exception's message, the form's caption
    std::string Detail;    // extra text (the about box's second line, the form's class,
                           // a message dialog's caption)
    TRect Bounds{};        // a modal form's outer bounds on the screen
};

class TUIBackend {
public:
    virtual ~TUIBackend() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowException(const std::string& message) = 0;
    // The about box of a component class. A back end without a box of its
    // own shows the two texts as a message.
    virtual void AboutBox(const std::string& className, const std::string& version);
    // A question (MessageDlg): the text with the buttons, answered with the
    // modal result of the button pressed. The base shows a TMessageForm
    // modally, so a back end with a modal loop asks through it.
    virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
    // The loop of a modal form, called by ShowModal once the form is shown
    // and focused. It returns when the form's CloseModal answers true, or
    // raises; ShowModal hides the form either way. A back end without a loop
    // of its own cannot let a user answer: it raises EInvalidOperation.
    virtual void RunModal(TCustomForm* form);
    // Handles the user's next piece of input (a key, a click, a resize),
    // waiting for it when Wait is set. Answers false when there was nothing
    // to handle: without Wait, nothing was waiting; with Wait, the back end
    // will never have input again. The base has none.
    virtual bool HandleInput(bool wait);
};

// What a user does with a modal form, given the form while it is shown and
// focused: clicks, keys, the grid's row, the close box.
using TModalAnswer = std::function<void(TCustomForm* form)>;

class THeadlessBackend : public TUIBackend {
public:
    void ShowMessage(const std::string& text) override;
    void ShowException(const std::string& message) override;
    // Records an AboutBox item: Text the class name, Detail the version.
    void AboutBox(const std::string& className, const std::string& version) override;
    // Records a MessageDlg item (Text the text, Detail the caption) and
    // answers the oldest queued message answer. A dialog of one button
    // needs none: that button is pressed. An answer that is none of the
    // buttons, or none queued, raises EInvalidOperation (a script that
    // forgot the question fails instead of going on with a made-up answer).
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    // Records a ModalForm item (caption, class name, screen bounds), then
    // gives the form the oldest queued answer. A run normally takes one; when
    // the form refuses to close on the result the answer gave (OnCloseQuery,
    // caNone), the next answer gets a turn. An answer that sets no result,
    // or a run that finds no answer queued, raises
    // EInvalidOperation "Modal form X was left without an answer" (X the
    // form's name, else its class name), so a forgotten answer fails the
    // script instead of hanging it. An answer that raises ends the run with
    // its exception.
    void RunModal(TCustomForm* form) override;
    // Runs the oldest queued input, if any.
    bool HandleInput(bool wait) override;

    // Input for the application's loop (Run, ProcessMessages), oldest first:
    // what the user does while no modal form is shown.
    void QueueInput(std::function<void()> input) { FInput.push_back(std::move(input)); }
    int PendingInput() const { return static_cast<int>(FInput.size()); }
    void ClearInput() { FInput.clear(); }

    // Answers for the coming modal runs, oldest first. An answer given to a
    // run that opens another modal form leaves the next ones to that form.
    void QueueModalAnswer(TModalAnswer answer) { FAnswers.push_back(std::move(answer)); }
    int PendingModalAnswers() const { return static_cast<int>(FAnswers.size()); }
    void ClearModalAnswers() { FAnswers.clear(); }

    // Answers for the coming message dialogs (the modal result of the
    // button the user presses: mrYes, mrNo ...), oldest first.
    void QueueMessageAnswer(TModalResult answer) { FMessageAnswers.push_back(answer); }
    int PendingMessageAnswers() const { return static_cast<int>(FMessageAnswers.size()); }
    void ClearMessageAnswers() { FMessageAnswers.clear(); }

    // What was shown, oldest first.
    const std::vector<TShownItem>& Shown() const { return FShown; }
    void ClearShown() { FShown.clear(); }
    // Records an item; other kinds of dialog (about box) come through here.
    void Record(TShownItem item) { FShown.push_back(std::move(item)); }

private:
    std::vector<TShownItem> FShown;
    std::deque<TModalAnswer> FAnswers;
    std::deque<TModalResult> FMessageAnswers;
    std::deque<std::function<void()>> FInput;
};

// The back end in use. Never null: a headless one is made on first use.
TUIBackend& UIBackend();
// Installs another back end; answers the one it replaces.
std::unique_ptr<TUIBackend> SetUIBackend(std::unique_ptr<TUIBackend> backend);
// The back end in use when it is the headless one, else nil.
THeadlessBackend* HeadlessBackend();

} // namespace host

VESKAR_PUBLIC_END
