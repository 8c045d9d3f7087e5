#pragma once
// TApplication: the program's forms and its message loop. CreateForm makes
// the forms the application owns (the first form made is the main form);
// Run shows the main form and handles the user's input through the UI back
// end until the main form closes or Terminate is called; ProcessMessages
// handles what input is waiting and returns. Modal forms run their own
// loop, nested in Run, through the same back end.
//
// A back end that has no more input to give (the headless one once its
// queued input is used up) ends Run as Terminate would, so a scripted run
// cannot hang.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/ui/Keyboard.h"

#include <cstdint>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCustomForm;
class TApplication;

// Asked for every key the user presses before the focused control sees it;
// setting Handled keeps the key from the control.
using TShortCutEvent = TEvent<void(std::uint16_t Key, TShiftState Shift, bool& Handled)>;

TApplication* Application();

class TApplication : public TComponent {
    HOST_CLASS(TApplication, TComponent)
public:
    // Makes a component of the class, owned by the application. The first
    // form made this way becomes the main form. Raises EInvalidOperation
    // for an abstract class.
    TComponent* CreateForm(const TComponentClass& componentClass);
    template <class T>
    void CreateForm(T*& reference) {
        reference = dynamic_cast<T*>(CreateForm(ClassOf<T>()));
    }

    TCustomForm* MainForm() const { return FMainForm; }
    // The form Run shows; nil is allowed.
    void SetMainForm(TCustomForm* form);

    // Shows the main form and handles input until the main form is closed,
    // freed or hidden, or Terminate is called. Without a main form it
    // returns at once. Not reentrant: raises EInvalidOperation when called
    // while it runs.
    void Run();
    // Waits for one piece of input and handles it; answers false when the
    // back end has no more input to give (the run then ends).
    bool HandleMessage();
    // Handles every piece of input already waiting, without waiting.
    void ProcessMessages();
    // Ends Run at its next turn; modal runs in progress end with mrCancel.
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Running() const { return FRunning; }

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }

    // Offers a key the user pressed to OnShortCut; true when it was taken.
    bool IsShortCut(std::uint16_t key, TShiftState shift);

    void Notification(TComponent* component, TOperation operation) override;

    TShortCutEvent OnShortCut;

protected:
    explicit TApplication(TComponent* owner) : TComponent(owner) {}

private:
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FRunning = false;
    std::string FTitle;
};

} // namespace host

VESKAR_PUBLIC_END
