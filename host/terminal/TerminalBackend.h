#pragma once
// TTerminalBackend: the UI back end a person can see and drive in a
// terminal. It owns the terminal while it is installed, draws the visible
// forms in character cells (a fixed cell size maps the forms' pixel layout
// to cells, so stored forms keep their design), the active form on top,
// with a status line on the last row, and writes only the cells that
// changed. Keys, text and mouse clicks are decoded and delivered to the
// host; the screen's size follows the terminal's. Message boxes, exception
// reports, the about box and questions are small modal forms; a modal run is a loop
// of its own, nested in the application's.
// Code: TerminalBackend.cpp; drawing in ScreenCompose.cpp.

#include "host/core/Export.h"
#include "host/terminal/InputDispatch.h"
#include "host/terminal/Terminal.h"
#include "host/ui/Backend.h"

#include <functional>
#include <memory>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host::term {

class TTerminalBackend : public TUIBackend {
public:
    // Takes the terminal; raises std::runtime_error when there is none.
    TTerminalBackend();
    ~TTerminalBackend() override;

    void ShowMessage(const std::string& text) override;
    void ShowException(const std::string& message) override;
    void AboutBox(const std::string& className, const std::string& version) override;
    void RunModal(TCustomForm* form) override;
    bool HandleInput(bool wait) override;

    // The text of the status line at the bottom; a function, so it can
    // follow what the user is doing. While a message box or a question
    // (MessageDlg) is up, the line shows the box's own keys instead.
    void SetStatusLine(std::function<std::string()> text) { FStatus = std::move(text); }

    // Run on the loop, outside any signal handler, after TTerminal::Wake
    // woke it: a signal handler's way to have the program act.
    void SetOnWake(std::function<void()> handler) { FOnWake = std::move(handler); }
    // Run when the terminal's size changed, the screen's size new, before
    // the screen is drawn again (a program may move its forms onto it).
    void SetOnResized(std::function<void()> handler) { FOnResized = std::move(handler); }

    // Draws what changed since the last call.
    void Redraw(bool full = false);

private:
    // A message box with a caption, the text and OK, run modally.
    VESKAR_LOCAL void MessageBox(const std::string& caption, const std::string& text);
    VESKAR_LOCAL std::string StatusText() const;
    // Handles one event waiting in FPending; false when none is whole yet.
    VESKAR_LOCAL bool DispatchPending(bool final);
    VESKAR_LOCAL void Resized();

    TTerminal FTerminal;
    TInputDispatcher FDispatcher;
    std::string FPending;
    std::function<std::string()> FStatus;
    std::function<void()> FOnWake;
    std::function<void()> FOnResized;
    TCellSurface FScreen;
};

// Brings Screen up to date with what the terminal should show: each
// visible form paints what became invalid on its own picture, and the
// pictures are stacked bottom to top, each with its close box, over the
// desktop; the status line takes the last row, and the caret shows where
// the focused control put it unless a form above covers it. Only cells
// that differ from what Screen held are marked changed.
void ComposeScreen(TCellSurface& screen, const std::string& status);

} // namespace host::term

VESKAR_PUBLIC_END
