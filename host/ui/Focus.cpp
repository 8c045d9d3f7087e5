#include "host/ui/Focus.h"

#include "host/ui/Controls.h"

namespace host {

TFocusManager& FocusManager() {
    static TFocusManager manager;
    return manager;
}

TWinControl* FocusedControl() { return FocusManager().Focused(); }

void TFocusManager::SetFocus(TWinControl* control) {
    if (control == FFocused) return;
    TWinControl* old = FFocused;
    const TWindowHandle oldHandle = old && old->HandleAllocated() ? old->Handle() : 0;
    const TWindowHandle newHandle = control ? control->Handle() : 0;
    const unsigned move = ++FMoves;
    FFocused = control;
    if (old) old->Perform(WM_KILLFOCUS, newHandle, 0);
    // A handler of the kill message may have moved the focus again (or freed
    // the control): that later move stands.
    if (move != FMoves) return;
    if (control) control->Perform(WM_SETFOCUS, oldHandle, 0);
    // A listener may add or remove listeners: tell the ones there are now.
    const std::vector<TListener> listeners = FListeners;
    for (const TListener& listener : listeners) {
        if (move != FMoves) return;
        listener.Call(control);
    }
    if (move == FMoves && OnChange) OnChange(control);
}

int TFocusManager::AddListener(std::function<void(TWinControl*)> listener) {
    const int id = FNextListener++;
    FListeners.push_back({id, std::move(listener)});
    return id;
}

void TFocusManager::RemoveListener(int id) {
    std::erase_if(FListeners, [id](const TListener& l) { return l.Id == id; });
}

void TFocusManager::RemoveFocusFrom(TControl* control) {
    if (!FFocused || !control) return;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (FFocused == control || (windowed && FFocused->HasParent(windowed))) SetFocus(nullptr);
}

} // namespace host
