#include "host/ui/Keyboard.h"

#include "host/core/Guards.h"
#include "host/ui/Controls.h"
#include "host/ui/Focus.h"

#include <array>

namespace host {

namespace {

constexpr TShiftState kModifiers{ssShift, ssAlt, ssCtrl};

// Punctuation keys of the usual layout: key code, plain and shifted character.
struct TPunctKey {
    std::uint16_t Key;
    char Plain;
    char Shifted;
};
constexpr std::array<TPunctKey, 11> kPunctuation{{
    {0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'},
    {0xBE, '.', '>'}, {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'},
    {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'},
}};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

bool IsLetter(std::uint16_t key) { return key >= 'A' && key <= 'Z'; }
bool IsDigit(std::uint16_t key) { return key >= '0' && key <= '9'; }

} // namespace

TKeyboard& Keyboard() {
    static TKeyboard keyboard;
    return keyboard;
}

void TKeyboard::SetShiftState(TShiftState shift) { FShift = shift * kModifiers; }

void TKeyboard::Hold(TShiftStateFlag modifier) { SetShiftState(FShift + TShiftState{modifier}); }

void TKeyboard::Release(TShiftStateFlag modifier) { FShift.Exclude(modifier); }

std::int32_t TKeyboard::KeyData(std::uint16_t key, bool up) const {
    std::uint32_t data = 1;
    data |= static_cast<std::uint32_t>(KeyScanCode(key) & 0xFF) << 16;
    if (FShift.Contains(ssAlt)) data |= KF_ALTDOWN;
    if (up) data |= KF_PREVIOUS | KF_UP;
    return static_cast<std::int32_t>(data);
}

void TKeyboard::Send(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
    if (TWinControl* target = FocusedControl()) target->Perform(msg, wparam, lparam);
}

bool TKeyboard::Press(std::uint16_t key, TShiftState shift) {
    TWinControl* target = FocusedControl();
    if (!target) return false;
    const TShiftState held = FShift;
    SetShiftState(held + shift);
    const TFinally release([this, held] { FShift = held; });
    const bool alt = FShift.Contains(ssAlt);
    const auto lparam = [&](bool up) { return static_cast<std::intptr_t>(static_cast<std::uint32_t>(KeyData(key, up))); };
    TMessage down{alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lparam(false), 0};
    target->WindowProc(down);
    // A consumed key types nothing, and neither does one whose control
    // lost the focus while handling it.
    const char ch = alt ? '\0' : KeyToChar(key, FShift);
    if (ch != '\0' && LoWord(down.WParam) != 0 && FocusedControl() == target)
        Send(WM_CHAR, static_cast<unsigned char>(ch), lparam(false));
    Send(alt ? WM_SYSKEYUP : WM_KEYUP, key, lparam(true));
    return true;
}

bool TKeyboard::Type(const std::string& text) {
    if (!FocusedControl()) return false;
    for (char ch : text) {
        std::uint16_t key = 0;
        TShiftState shift;
        CharToKey(ch, key, shift);
        if (key != 0)
            Press(key, shift);
        else
            Send(WM_CHAR, static_cast<unsigned char>(ch), 0);
    }
    return true;
}

TShiftState KeyDataToShiftState(std::int32_t keyData) {
    TShiftState result = Keyboard().ShiftState() * TShiftState{ssShift, ssCtrl};
    if (static_cast<std::uint32_t>(keyData) & KF_ALTDOWN) result.Include(ssAlt);
    return result;
}

TShiftState KeysToShiftState(std::uintptr_t keys) {
    TShiftState result;
    if (keys & MK_SHIFT) result.Include(ssShift);
    if (keys & MK_CONTROL) result.Include(ssCtrl);
    if (keys & MK_LBUTTON) result.Include(ssLeft);
    if (keys & MK_RBUTTON) result.Include(ssRight);
    if (keys & MK_MBUTTON) result.Include(ssMiddle);
    if (Keyboard().ShiftState().Contains(ssAlt)) result.Include(ssAlt);
    return result;
}

char KeyToChar(std::uint16_t key, TShiftState shift) {
    if (shift.Contains(ssAlt)) return '\0';
    const bool ctrl = shift.Contains(ssCtrl);
    const bool upper = shift.Contains(ssShift);
    if (IsLetter(key)) {
        if (ctrl) return static_cast<char>(key - 'A' + 1);
        return static_cast<char>(upper ? key : key - 'A' + 'a');
    }
    if (ctrl) {
        if (key == VK_RETURN) return '\n';
        if (key == VK_BACK) return '\x7F';
        if (key == VK_ESCAPE) return '\x1B';
        return '\0';
    }
    if (IsDigit(key)) return upper ? kShiftedDigits[key - '0'] : static_cast<char>(key);
    switch (key) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return '\x1B';
    default: break;
    }
    for (const TPunctKey& p : kPunctuation)
        if (p.Key == key) return upper ? p.Shifted : p.Plain;
    return '\0';
}

void CharToKey(char ch, std::uint16_t& key, TShiftState& shift) {
    key = 0;
    shift = {};
    if (ch >= 'a' && ch <= 'z') {
        key = static_cast<std::uint16_t>(ch - 'a' + 'A');
        return;
    }
    if (ch >= 'A' && ch <= 'Z') {
        key = static_cast<std::uint16_t>(ch);
        shift = {ssShift};
        return;
    }
    if (ch >= '0' && ch <= '9') {
        key = static_cast<std::uint16_t>(ch);
        return;
    }
    for (int d = 0; d < 10; ++d)
        if (kShiftedDigits[d] == ch) {
            key = static_cast<std::uint16_t>('0' + d);
            shift = {ssShift};
            return;
        }
    switch (ch) {
    case ' ': key = VK_SPACE; return;
    case '\r': key = VK_RETURN; return;
    case '\b': key = VK_BACK; return;
    case '\t': key = VK_TAB; return;
    case '\x1B': key = VK_ESCAPE; return;
    default: break;
    }
    for (const TPunctKey& p : kPunctuation) {
        if (p.Plain == ch) {
            key = p.Key;
            return;
        }
        if (p.Shifted == ch) {
            key = p.Key;
            shift = {ssShift};
            return;
        }
    }
}

int KeyScanCode(std::uint16_t key) {
    // Letters in keyboard rows, as the scan codes run.
    static constexpr char kRows[] = "QWERTYUIOP\0\0\0\0ASDFGHJKL\0\0\0\0\0ZXCVBNM";
    if (IsLetter(key)) {
        for (int i = 0; i < static_cast<int>(sizeof kRows); ++i)
            if (kRows[i] == static_cast<char>(key)) return 0x10 + i;
    }
    if (key >= '1' && key <= '9') return 0x02 + (key - '1');
    if (key == '0') return 0x0B;
    if (key >= VK_F1 && key <= VK_F10) return 0x3B + (key - VK_F1);
    switch (key) {
    case VK_ESCAPE: return 0x01;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_RETURN: return 0x1C;
    case VK_CONTROL: return 0x1D;
    case VK_SHIFT: return 0x2A;
    case VK_MENU: return 0x38;
    case VK_SPACE: return 0x39;
    case VK_F11: return 0x57;
    case VK_F12: return 0x58;
    case VK_HOME: return 0x47;
    case VK_UP: return 0x48;
    case VK_PRIOR: return 0x49;
    case VK_LEFT: return 0x4B;
    case VK_RIGHT: return 0x4D;
    case VK_END: return 0x4F;
    case VK_DOWN: return 0x50;
    case VK_NEXT: return 0x51;
    case VK_INSERT: return 0x52;
    case VK_DELETE: return 0x53;
    default: return 0;
    }
}

} // namespace host
