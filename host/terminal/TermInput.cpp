#include "host/terminal/TermInput.h"

#include "host/core/Utf8.h"

#include <array>
#include <vector>

namespace host::term {

namespace {

constexpr char kEsc = '\x1B';

TDecoded KeyEvent(std::uint16_t key, TShiftState shift, std::size_t length) {
    TDecoded d;
    d.Event.Kind = TInputKind::Key;
    d.Event.Key = key;
    d.Event.Shift = shift;
    d.Length = length;
    return d;
}

TDecoded Skip(std::size_t length) {
    TDecoded d;
    d.Length = length;
    return d;
}

TDecoded NeedMore() { return TDecoded{}; }

// The control characters and the one-byte keys.
TDecoded ControlByte(unsigned char c) {
    switch (c) {
    case '\t': return KeyEvent(VK_TAB, {}, 1);
    case '\r':
    case '\n': return KeyEvent(VK_RETURN, {}, 1);
    case 0x7F:
    case 0x08: return KeyEvent(VK_BACK, {}, 1);
    case 0x00: return KeyEvent(VK_SPACE, {ssCtrl}, 1);
    default: break;
    }
    if (c >= 0x01 && c <= 0x1A) return KeyEvent(static_cast<std::uint16_t>('A' + c - 1), {ssCtrl}, 1);
    return Skip(1);
}

TDecoded TextEvent(std::string_view input, bool final) {
    const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(input[0]));
    if (length == 0) return Skip(1);
    if (input.size() < length) return final ? Skip(input.size()) : NeedMore();
    for (std::size_t i = 1; i < length; ++i)
        if (!Utf8IsContinuation(input[i])) return Skip(i);
    TDecoded d;
    d.Event.Kind = TInputKind::Text;
    d.Event.Text = std::string(input.substr(0, length));
    d.Length = length;
    return d;
}

// Keys named by the final letter of a CSI or SS3 sequence.
std::uint16_t LetterKey(char final) {
    switch (final) {
    case 'A': return VK_UP;
    case 'B': return VK_DOWN;
    case 'C': return VK_RIGHT;
    case 'D': return VK_LEFT;
    case 'H': return VK_HOME;
    case 'F': return VK_END;
    case 'P': return VK_F1;
    case 'Q': return VK_F2;
    case 'R': return VK_F3;
    case 'S': return VK_F4;
    default: return 0;
    }
}

// Keys named by the number of a "CSI n ~" sequence.
std::uint16_t TildeKey(int n) {
    switch (n) {
    case 1:
    case 7: return VK_HOME;
    case 2: return VK_INSERT;
    case 3: return VK_DELETE;
    case 4:
    case 8: return VK_END;
    case 5: return VK_PRIOR;
    case 6: return VK_NEXT;
    case 11: case 12: case 13: case 14: case 15: return static_cast<std::uint16_t>(VK_F1 + n - 11);
    case 17: case 18: case 19: case 20: case 21: return static_cast<std::uint16_t>(VK_F6 + n - 17);
    case 23: return VK_F11;
    case 24: return VK_F12;
    default: return 0;
    }
}

// Numbers of a parameter list "1;5"; an empty one counts as 0. Numbers are
// capped, so no input overflows them.
std::vector<int> Params(std::string_view text) {
    std::vector<int> result{0};
    for (char c : text) {
        if (c == ';') {
            result.push_back(0);
        } else if (c >= '0' && c <= '9') {
            int& n = result.back();
            if (n < 100000) n = n * 10 + (c - '0');
        }
    }
    return result;
}

TDecoded AltKey(std::string_view input, bool final);

TDecoded MouseEvent(int code, int x, int y, bool pressed, std::size_t length) {
    TDecoded d;
    d.Event.Kind = TInputKind::Mouse;
    d.Event.X = x;
    d.Event.Y = y;
    d.Event.Pressed = pressed;
    d.Event.Motion = (code & 32) != 0;
    if (code & 4) d.Event.Shift.Include(ssShift);
    if (code & 8) d.Event.Shift.Include(ssAlt);
    if (code & 16) d.Event.Shift.Include(ssCtrl);
    const int button = code & 3;
    if (code & 64)
        d.Event.Button = button == 0 ? TMouseButtonCode::WheelUp : TMouseButtonCode::WheelDown;
    else
        d.Event.Button = std::array{TMouseButtonCode::Left, TMouseButtonCode::Middle, TMouseButtonCode::Right,
                                    TMouseButtonCode::None}[static_cast<std::size_t>(button)];
    d.Length = length;
    return d;
}

// "ESC [ M b x y": each value plus 32, one byte each.
TDecoded X10Mouse(std::string_view input) {
    if (input.size() < 6) return NeedMore();
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(input[i]) - 32; };
    const int code = at(3);
    // A release carries button 3 and no word of which button it was.
    const bool release = (code & 3) == 3 && !(code & 64);
    return MouseEvent(code, at(4) - 1, at(5) - 1, !release, 6);
}

// "ESC [ < b ; x ; y M" (pressed) or "... m" (released).
TDecoded SgrMouse(std::string_view body, char final, std::size_t length) {
    const std::vector<int> p = Params(body);
    if (p.size() != 3) return Skip(length);
    return MouseEvent(p[0], p[1] - 1, p[2] - 1, final == 'M', length);
}

// A whole CSI sequence: "ESC [" parameters, then one final byte.
TDecoded Csi(std::string_view input) {
    std::size_t i = 2;
    if (input.size() > 2 && input[2] == 'M') return X10Mouse(input);
    // The Linux console's F1 to F5: "ESC [ [ A" to "ESC [ [ E".
    if (input.size() > 2 && input[2] == '[') {
        if (input.size() < 4) return NeedMore();
        const char c = input[3];
        if (c >= 'A' && c <= 'E') return KeyEvent(static_cast<std::uint16_t>(VK_F1 + (c - 'A')), {}, 4);
        return Skip(4);
    }
    const bool sgrMouse = input.size() > 2 && input[2] == '<';
    if (sgrMouse) ++i;
    while (i < input.size()) {
        const auto c = static_cast<unsigned char>(input[i]);
        // rxvt ends a Shift key's sequence with "$".
        if ((c >= 0x40 && c <= 0x7E) || c == '$') break;
        // Neither a parameter nor an intermediate byte: not a sequence.
        if (c < 0x20 || c > 0x3F) return Skip(i);
        ++i;
    }
    if (i >= input.size()) return NeedMore();
    const char last = input[i];
    const std::size_t length = i + 1;
    const std::string_view body = input.substr(sgrMouse ? 3 : 2, i - (sgrMouse ? 3 : 2));
    if (sgrMouse) return (last == 'M' || last == 'm') ? SgrMouse(body, last, length) : Skip(length);
    const std::vector<int> p = Params(body);
    const TShiftState mods = p.size() >= 2 ? ModifierParam(p[1]) : TShiftState{};
    if (last == 'Z') return KeyEvent(VK_TAB, {ssShift}, length);
    if (std::uint16_t key = LetterKey(last)) return KeyEvent(key, mods, length);
    // "~" in the xterm family; rxvt marks Shift with "$", Ctrl with "^".
    if (last == '~' || last == '$' || last == '^' || last == '@') {
        std::uint16_t key = TildeKey(p[0]);
        if (key == 0) return Skip(length);
        TShiftState shift = mods;
        if (last == '$' || last == '@') shift.Include(ssShift);
        if (last == '^' || last == '@') shift.Include(ssCtrl);
        return KeyEvent(key, shift, length);
    }
    return Skip(length);
}

// "ESC O" and one letter (keypad in application mode, F1 to F4); some
// terminals put a modifier digit before the letter.
TDecoded Ss3(std::string_view input, bool final) {
    if (input.size() < 3) return final ? AltKey(input, final) : NeedMore();
    std::size_t i = 2;
    TShiftState mods;
    if (input[i] >= '0' && input[i] <= '9') {
        mods = ModifierParam(input[i] - '0');
        ++i;
        if (input.size() <= i) return NeedMore();
    }
    if (std::uint16_t key = LetterKey(input[i])) return KeyEvent(key, mods, i + 1);
    if (input[i] == 'M') return KeyEvent(VK_RETURN, mods, i + 1);
    return Skip(i + 1);
}

// Esc and a character: that character typed with Alt held.
TDecoded AltKey(std::string_view input, bool final) {
    TDecoded inner = DecodeInput(input.substr(1), final);
    if (inner.Length == 0) return inner;
    if (inner.Event.Kind == TInputKind::Text && inner.Event.Text.size() == 1) {
        std::uint16_t key = 0;
        TShiftState shift;
        CharToKey(inner.Event.Text[0], key, shift);
        if (key == 0) return Skip(1 + inner.Length);
        shift.Include(ssAlt);
        return KeyEvent(key, shift, 1 + inner.Length);
    }
    if (inner.Event.Kind == TInputKind::Key) {
        inner.Event.Shift.Include(ssAlt);
        inner.Length += 1;
        return inner;
    }
    return Skip(1 + inner.Length);
}

} // namespace

TShiftState ModifierParam(int param) {
    TShiftState shift;
    if (param < 2) return shift;
    const int bits = param - 1;
    if (bits & 1) shift.Include(ssShift);
    if (bits & (2 | 8)) shift.Include(ssAlt);
    if (bits & 4) shift.Include(ssCtrl);
    return shift;
}

TDecoded DecodeInput(std::string_view input, bool final) {
    if (input.empty()) return NeedMore();
    const auto first = static_cast<unsigned char>(input[0]);
    if (first != static_cast<unsigned char>(kEsc)) {
        if (first < 0x20 || first == 0x7F) return ControlByte(first);
        return TextEvent(input, final);
    }
    if (input.size() == 1) return final ? KeyEvent(VK_ESCAPE, {}, 1) : NeedMore();
    TDecoded d;
    switch (input[1]) {
    case '[': d = Csi(input); break;
    case 'O': d = Ss3(input, final); break;
    case kEsc:
        // Esc twice and a sequence: some terminals send Alt that way.
        if (input.size() == 2) return final ? KeyEvent(VK_ESCAPE, {}, 1) : NeedMore();
        d = AltKey(input, final);
        break;
    default: d = AltKey(input, final); break;
    }
    // A sequence cut short by a pause: the Esc key alone, and the rest is
    // read again as typed.
    if (d.Length == 0 && final) return KeyEvent(VK_ESCAPE, {}, 1);
    return d;
}

bool TClickTracker::Press(int x, int y, long timeMs) {
    const bool isDouble = FHavePress && x == FX && y == FY && timeMs - FTime >= 0 && timeMs - FTime <= FInterval;
    FHavePress = !isDouble;
    FX = x;
    FY = y;
    FTime = timeMs;
    return isDouble;
}

} // namespace host::term
