#pragma once
// A windowed control that writes down every message its window procedure
// handles, into a log that several probes may share.

#include "host/ui/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace probe {

using namespace host;

// "Name:WM_SETFOCUS" style entries; unknown messages by number.
std::string MessageName(unsigned msg);

class TProbe : public TWinControl {
    HOST_CLASS(TProbe, TWinControl)
public:
    std::vector<std::string>* Log = nullptr;
    std::vector<TMessage> Messages;
    // Runs inside WndProc, before the control's own handling.
    std::function<void(TProbe*, TMessage&)> OnMessage;
    // Focused() as the control saw it while handling its last WM_SETFOCUS.
    bool FocusedInSetFocus = false;
    std::string Typed;

    // The messages of one number, in order.
    std::vector<TMessage> Received(unsigned msg) const;

protected:
    explicit TProbe(TComponent* owner) : TWinControl(owner) {}
    void WndProc(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void KeyPress(char& key) override;
};

} // namespace probe
