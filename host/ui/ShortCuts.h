#pragma once
// Keyboard shortcuts: a key code in the low byte and modifier bits above it,
// with their text form ("Shift+Ctrl+F1").

#include "host/core/Export.h"
#include "host/ui/Keyboard.h"

#include <cstdint>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

using TShortCut = std::uint16_t;

constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// 0 for a key code that does not fit in the low byte.
TShortCut ShortCut(std::uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, std::uint16_t& key, TShiftState& shift);
// Modifiers in the order "Shift+", "Ctrl+", "Alt+", then the key's name; the
// empty text for 0 or for a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// Reads the text form, letter case ignored and modifiers in any order;
// 0 for a text it does not know.
TShortCut TextToShortCut(const std::string& text);

} // namespace host

VESKAR_PUBLIC_END
