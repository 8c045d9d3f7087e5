#pragma once
// Decoding what a terminal sends when the user types or clicks: the bytes
// of keys (plain, control characters, escape sequences of the xterm family
// with their modifier parameter, the Linux console's function keys, UTF-8
// text) and mouse reports (SGR and the older X10 encoding) become input
// events in the host's terms: virtual key codes and shift states.
// Pure functions, so they are tested without a terminal.

#include "host/core/Export.h"
#include "host/ui/Keyboard.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host::term {

enum class TInputKind {
    None,   // bytes that mean nothing here (an unknown sequence); skipped
    Key,    // Key with Shift
    Text,   // one printable character, UTF-8 encoded, in Text
    Mouse,  // a button pressed or released, or the wheel turned
};

enum class TMouseButtonCode { Left, Middle, Right, None, WheelUp, WheelDown };

struct TInputEvent {
    TInputKind Kind = TInputKind::None;
    std::uint16_t Key = 0;
    TShiftState Shift;
    std::string Text;
    TMouseButtonCode Button = TMouseButtonCode::None;
    bool Pressed = false;  // mouse: pressed (true) or released
    bool Motion = false;   // mouse: moved with the button held
    int X = 0;             // mouse: cell column, from 0
    int Y = 0;             // mouse: cell row, from 0

    bool operator==(const TInputEvent&) const = default;
};

struct TDecoded {
    TInputEvent Event;
    // Bytes the event took; 0 when the input so far is the start of a
    // sequence that needs more bytes.
    std::size_t Length = 0;
};

// Decodes the first event at the start of Input. With Final set no more
// bytes will come soon (the terminal paused), so a lone Esc is the Escape
// key and an unfinished sequence gives up its first byte as Escape; without
// it an unfinished sequence answers Length 0. Input must not be empty.
TDecoded DecodeInput(std::string_view input, bool final);

// The xterm modifier parameter (1 + Shift 1, Alt 2, Ctrl 4, Meta 8) as a
// shift state.
TShiftState ModifierParam(int param);

// Tells a double click from two clicks: a press at the same cell as the
// previous press and within Interval milliseconds of it.
class TClickTracker {
public:
    explicit TClickTracker(long intervalMs = 400) : FInterval(intervalMs) {}
    // Records a press; answers true when it makes a double click (the press
    // after a double click starts over).
    bool Press(int x, int y, long timeMs);

private:
    long FInterval;
    bool FHavePress = false;
    int FX = 0, FY = 0;
    long FTime = 0;
};

} // namespace host::term

VESKAR_PUBLIC_END
