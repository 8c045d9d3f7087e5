#pragma once
// Keys of the windowing toolkit as the host's keyboard takes them: a GDK
// key value and modifiers turned into a virtual key code and a shift state,
// or into typed text, the way the terminal back end delivers them (a
// printable character without Ctrl or Alt is typed; anything else is a key
// press, offered to the application's shortcuts first).
// Code: GtkKeys.cpp.

#include "host/core/Export.h"
#include "host/ui/Keyboard.h"

#include <cstdint>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host::gtk {

struct TGtkKey {
    std::uint16_t Key = 0;      // a VK_ code; 0 when Text is set or the key is unknown
    TShiftState Shift;
    std::string Text;           // UTF-8, for a typed character
};

// Keyval and State as GDK gives them (guint keyval, GdkModifierType).
TGtkKey TranslateKey(unsigned keyval, unsigned state);
// Delivers a translated key: text typed, a key offered to the shortcuts and
// then pressed. Answers false for a key the host has no code for.
bool DeliverKey(const TGtkKey& key);

} // namespace host::gtk

VESKAR_PUBLIC_END
