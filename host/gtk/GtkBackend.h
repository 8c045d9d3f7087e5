#pragma once
// TGtkBackend: the UI back end in windows (GTK 4). Each visible form is a
// top-level window whose client area a drawing area paints through the
// pixel canvas (TCairoDevice), sized from the form's client size; the window
// manager draws the frame and the caption. Modal forms are modal and
// transient for the window below them. The close box asks the form to
// close (OnCloseQuery decides); a resized window resizes the form, which
// realigns its controls. Keys, typed text and the mouse go to the host as
// the terminal back end delivers them. A window repaints only when a
// control of its form was invalidated.
// Message boxes and questions are the host's own message form, drawn by the
// same canvas.
// Code: GtkBackend.cpp; windows in FormWindow.cpp; keys in GtkKeys.cpp.

#include "host/core/Export.h"
#include "host/ui/Backend.h"

#include <memory>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host::gtk {

struct TFormWindow;

class TGtkBackend : public TUIBackend {
public:
    // Opens the display; raises std::runtime_error when none can be opened.
    TGtkBackend();
    ~TGtkBackend() override;

    void ShowMessage(const std::string& text) override;
    void ShowException(const std::string& message) override;
    void AboutBox(const std::string& className, const std::string& version) override;
    void RunModal(TCustomForm* form) override;
    bool HandleInput(bool wait) override;

    // Brings the windows in line with the forms: opens one for each newly
    // visible form, closes those of hidden or freed forms, updates captions
    // and asks for a repaint where something was invalidated.
    void Sync();
    // True when a display is at hand (checked without opening windows).
    static bool DisplayAvailable();

    // Called from the windows' handlers.
    VESKAR_LOCAL void Delivered() { FDelivered = true; }
    VESKAR_LOCAL void Report(const std::string& message);

private:
    VESKAR_LOCAL TFormWindow* WindowOf(const TCustomForm* form) const;
    VESKAR_LOCAL void Open(TCustomForm* form);

    std::vector<std::unique_ptr<TFormWindow>> FWindows;
    // Closed windows whose handlers may still be on the stack: freed when
    // no handler runs.
    std::vector<std::unique_ptr<TFormWindow>> FClosed;
    int FDepth = 0;
    bool FDelivered = false;
};

} // namespace host::gtk

VESKAR_PUBLIC_END
