#include "tests/host/ui/Probe.h"

namespace probe {

HOST_IMPLEMENT_COMPONENT(TProbe, TWinControl)

std::string MessageName(unsigned msg) {
    switch (msg) {
    case WM_CREATE: return "WM_CREATE";
    case WM_DESTROY: return "WM_DESTROY";
    case WM_SETFOCUS: return "WM_SETFOCUS";
    case WM_KILLFOCUS: return "WM_KILLFOCUS";
    case CM_ENTER: return "CM_ENTER";
    case CM_EXIT: return "CM_EXIT";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP: return "WM_SYSKEYUP";
    case WM_PARENTNOTIFY: return "WM_PARENTNOTIFY";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK: return "WM_LBUTTONDBLCLK";
    default: return std::to_string(msg);
    }
}

std::vector<TMessage> TProbe::Received(unsigned msg) const {
    std::vector<TMessage> result;
    for (const TMessage& m : Messages)
        if (m.Msg == msg) result.push_back(m);
    return result;
}

void TProbe::WndProc(TMessage& message) {
    Messages.push_back(message);
    if (Log) Log->push_back(Name() + ":" + MessageName(message.Msg));
    if (OnMessage) OnMessage(this, message);
    inherited::WndProc(message);
}

void TProbe::WMSetFocus(TMessage& message) {
    FocusedInSetFocus = Focused();
    inherited::WMSetFocus(message);
}

void TProbe::KeyPress(char& key) {
    inherited::KeyPress(key);
    if (key >= ' ') Typed += key;
}

} // namespace probe
