#pragma once
// The keyboard: which modifier keys are held, and key presses delivered to
// the control that has the focus, as the window messages a real keyboard
// would produce.

#include "host/core/Export.h"
#include "host/core/Set.h"
#include "host/ui/Messages.h"

#include <cstdint>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

class TKeyboard {
public:
    // The modifier keys held now (only ssShift, ssAlt and ssCtrl).
    TShiftState ShiftState() const { return FShift; }
    // Holds exactly the modifiers in Shift; mouse flags are ignored.
    void SetShiftState(TShiftState shift);
    void Hold(TShiftStateFlag modifier);
    void Release(TShiftStateFlag modifier);

    // Presses and releases Key with Shift held in addition to what is held
    // already, and restores the held state afterwards. The focused control
    // receives WM_KEYDOWN (WM_SYSKEYDOWN while Alt is held), then WM_CHAR
    // when the key types a character (not while Alt is held), then WM_KEYUP
    // (WM_SYSKEYUP). Answers false when no control has the focus.
    bool Press(std::uint16_t key, TShiftState shift = {});
    // Presses the key of each character of Text, with Shift for the
    // characters that need it. A character without a key arrives as WM_CHAR
    // alone.
    bool Type(const std::string& text);

    // Key data of a key message for Key: repeat count 1, the scan code, bit
    // 29 while Alt is held; for a key up, the previous-state and transition
    // bits as well.
    std::int32_t KeyData(std::uint16_t key, bool up) const;

private:
    VESKAR_LOCAL void Send(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
    TShiftState FShift;
};

// The keyboard of the application.
TKeyboard& Keyboard();

// Shift and Ctrl as the keyboard holds them now; Alt from bit 29 of KeyData.
TShiftState KeyDataToShiftState(std::int32_t keyData);
// The shift state of a mouse message's key flags, Alt from the keyboard.
TShiftState KeysToShiftState(std::uintptr_t keys);
// The character Key types with Shift (Ctrl with a letter gives its control
// character), or 0 when it types none.
char KeyToChar(std::uint16_t key, TShiftState shift);
// The key and the Shift state that type Ch; Key 0 when no key types it.
void CharToKey(char ch, std::uint16_t& key, TShiftState& shift);
// The scan code of a key (the usual PC layout), or 0 for a key without one.
int KeyScanCode(std::uint16_t key);

} // namespace host

VESKAR_PUBLIC_END
