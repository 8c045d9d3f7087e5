#pragma once
// The host's RGB colours on a terminal's palette: the xterm 256-colour
// palette (its 6x6x6 cube and grey ramp) where the terminal has it, else
// the eight basic colours, each with a bright variant when the terminal has
// sixteen. Pure, so it is tested without a terminal.

#include "host/core/Export.h"

#include <cstdint>

VESKAR_PUBLIC_BEGIN

namespace host::term {

// The palette index nearest to the colour 0xRRGGBB given as R, G, B, for a
// terminal of ColorCount colours (8, 16, 256 or more).
int NearestTerminalColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, int colorCount);

} // namespace host::term

VESKAR_PUBLIC_END
