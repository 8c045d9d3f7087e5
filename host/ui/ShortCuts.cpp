#include "host/ui/ShortCuts.h"

#include "host/core/TextUtils.h"
#include "host/ui/Messages.h"

#include <array>
#include <string_view>

namespace host {

namespace {

struct TKeyName {
    std::uint16_t Key;
    const char* Name;
};

constexpr std::array<TKeyName, 15> kKeyNames{{
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},
    {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
}};

struct TModifierName {
    TShortCut Bit;
    const char* Prefix;
};

// The order the text form writes them in.
constexpr std::array<TModifierName, 3> kModifiers{{{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}}};

std::string KeyName(std::uint16_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
    for (const TKeyName& k : kKeyNames)
        if (k.Key == key) return k.Name;
    return {};
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// The key whose name is Name, letter case ignored; 0 when none.
std::uint16_t KeyOfName(std::string_view name) {
    if (name.empty()) return 0;
    for (std::uint16_t key = 1; key <= 0xFF; ++key) {
        const std::string known = KeyName(key);
        if (!known.empty() && SameText(known, name)) return key;
    }
    return 0;
}

} // namespace

TShortCut ShortCut(std::uint16_t key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift)) result |= scShift;
    if (shift.Contains(ssCtrl)) result |= scCtrl;
    if (shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, std::uint16_t& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = {};
    if (shortCut & scShift) shift.Include(ssShift);
    if (shortCut & scCtrl) shift.Include(ssCtrl);
    if (shortCut & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
    const std::string name = KeyName(shortCut & 0xFF);
    if (name.empty()) return {};
    std::string text;
    for (const TModifierName& m : kModifiers)
        if (shortCut & m.Bit) text += m.Prefix;
    return text + name;
}

TShortCut TextToShortCut(const std::string& text) {
    std::string_view rest = text;
    TShortCut modifiers = 0;
    for (bool more = true; more;) {
        more = false;
        for (const TModifierName& m : kModifiers)
            if (StartsWithText(rest, m.Prefix)) {
                modifiers |= m.Bit;
                rest.remove_prefix(std::string_view(m.Prefix).size());
                more = true;
            }
    }
    const std::uint16_t key = KeyOfName(rest);
    return key == 0 ? scNone : static_cast<TShortCut>(key | modifiers);
}

} // namespace host
