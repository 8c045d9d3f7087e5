#pragma once
// Window messages: the record every message travels in, views that read it
// as a particular kind of message, and the message numbers and key codes.

#include "host/core/Export.h"

#include <cstdint>

VESKAR_PUBLIC_BEGIN

namespace host {

// A window's identity: a unique number, never reused; 0 is no window.
using TWindowHandle = std::uintptr_t;

struct TMessage {
    unsigned Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

constexpr std::uint16_t LoWord(std::uintptr_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }
constexpr std::uint16_t HiWord(std::uintptr_t value) { return static_cast<std::uint16_t>((value >> 16) & 0xFFFF); }
constexpr std::uintptr_t MakeWParam(std::uint16_t low, std::uint16_t high) {
    return static_cast<std::uintptr_t>(low) | (static_cast<std::uintptr_t>(high) << 16);
}
constexpr std::intptr_t MakeLParam(std::uint16_t low, std::uint16_t high) {
    return static_cast<std::intptr_t>(MakeWParam(low, high));
}

// Message numbers.
constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_ENABLE = 0x000A;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_SHOWWINDOW = 0x0018;
// A button clicks itself, as though the user had clicked it.
constexpr unsigned BM_CLICK = 0x00F5;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCHAR = 0x0106;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_PARENTNOTIFY = 0x0210;
// Messages a program defines for itself start here.
constexpr unsigned WM_USER = 0x0400;
// The framework's own messages. The focus entering and leaving a control
// within its form (the control and each parent it passes through), sent by
// the form, not by the window focus: another form taking the focus leaves
// the form's current control as it is.
constexpr unsigned CM_BASE = 0xB000;
// An access key (Alt and a letter) offered to every control of the form in
// turn: WParam the key's character; a control that takes it answers 1.
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
constexpr unsigned CM_ENTER = CM_BASE + 26;
constexpr unsigned CM_EXIT = CM_BASE + 27;

// System commands (WParam of WM_SYSCOMMAND): the close box of the frame.
constexpr std::uintptr_t SC_CLOSE = 0xF060;

// Mouse-message key flags (WParam of the button messages).
constexpr std::uintptr_t MK_LBUTTON = 0x0001;
constexpr std::uintptr_t MK_RBUTTON = 0x0002;
constexpr std::uintptr_t MK_SHIFT = 0x0004;
constexpr std::uintptr_t MK_CONTROL = 0x0008;
constexpr std::uintptr_t MK_MBUTTON = 0x0010;

// Key codes. Digits and letters are their upper-case character codes.
constexpr std::uint16_t VK_BACK = 0x08;
constexpr std::uint16_t VK_TAB = 0x09;
constexpr std::uint16_t VK_RETURN = 0x0D;
constexpr std::uint16_t VK_SHIFT = 0x10;
constexpr std::uint16_t VK_CONTROL = 0x11;
constexpr std::uint16_t VK_MENU = 0x12;
constexpr std::uint16_t VK_ESCAPE = 0x1B;
constexpr std::uint16_t VK_SPACE = 0x20;
constexpr std::uint16_t VK_PRIOR = 0x21;
constexpr std::uint16_t VK_NEXT = 0x22;
constexpr std::uint16_t VK_END = 0x23;
constexpr std::uint16_t VK_HOME = 0x24;
constexpr std::uint16_t VK_LEFT = 0x25;
constexpr std::uint16_t VK_UP = 0x26;
constexpr std::uint16_t VK_RIGHT = 0x27;
constexpr std::uint16_t VK_DOWN = 0x28;
constexpr std::uint16_t VK_INSERT = 0x2D;
constexpr std::uint16_t VK_DELETE = 0x2E;
constexpr std::uint16_t VK_F1 = 0x70;
constexpr std::uint16_t VK_F2 = 0x71;
constexpr std::uint16_t VK_F3 = 0x72;
constexpr std::uint16_t VK_F4 = 0x73;
constexpr std::uint16_t VK_F5 = 0x74;
constexpr std::uint16_t VK_F6 = 0x75;
constexpr std::uint16_t VK_F7 = 0x76;
constexpr std::uint16_t VK_F8 = 0x77;
constexpr std::uint16_t VK_F9 = 0x78;
constexpr std::uint16_t VK_F10 = 0x79;
constexpr std::uint16_t VK_F11 = 0x7A;
constexpr std::uint16_t VK_F12 = 0x7B;

// Bits of a key message's key data (LParam).
constexpr std::uint32_t KF_REPEATMASK = 0x0000FFFF;
constexpr std::uint32_t KF_ALTDOWN = 1u << 29;
constexpr std::uint32_t KF_PREVIOUS = 1u << 30;
constexpr std::uint32_t KF_UP = 1u << 31;

// Reads and writes a message as a key message (WM_KEYDOWN and its kin):
// the key code is the low 16 bits of WParam, the key data the whole LParam.
class TWMKey {
public:
    explicit TWMKey(TMessage& message) : FMessage(message) {}
    unsigned Msg() const { return FMessage.Msg; }
    std::uint16_t CharCode() const { return LoWord(FMessage.WParam); }
    void SetCharCode(std::uint16_t key) { FMessage.WParam = key; }
    std::int32_t KeyData() const { return static_cast<std::int32_t>(FMessage.LParam); }
    int RepeatCount() const { return static_cast<int>(static_cast<std::uint32_t>(KeyData()) & KF_REPEATMASK); }
    int ScanCode() const { return static_cast<int>((static_cast<std::uint32_t>(KeyData()) >> 16) & 0xFF); }
    bool AltDown() const { return (static_cast<std::uint32_t>(KeyData()) & KF_ALTDOWN) != 0; }
    std::intptr_t Result() const { return FMessage.Result; }
    void SetResult(std::intptr_t value) { FMessage.Result = value; }
    TMessage& Message() const { return FMessage; }

private:
    TMessage& FMessage;
};

// One notch of the mouse wheel, in a wheel message's distance.
constexpr int WHEEL_DELTA = 120;
// The rows a list scrolls by for one notch, as the system's setting has it.
constexpr int WHEEL_SCROLL_LINES = 3;

// Reads a wheel message: the key flags in the low word of WParam, the
// signed distance turned in its high word (WHEEL_DELTA a notch, positive
// away from the user), the mouse's screen point in LParam.
class TWMMouseWheel {
public:
    explicit TWMMouseWheel(TMessage& message) : FMessage(message) {}
    std::uintptr_t Keys() const { return LoWord(FMessage.WParam); }
    int WheelDelta() const { return static_cast<std::int16_t>(HiWord(FMessage.WParam)); }
    int XPos() const { return static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(FMessage.LParam))); }
    int YPos() const { return static_cast<std::int16_t>(HiWord(static_cast<std::uintptr_t>(FMessage.LParam))); }

private:
    TMessage& FMessage;
};

// Reads a mouse button message: the point in client coordinates in LParam
// (signed low and high words), the key flags in WParam.
class TWMMouse {
public:
    explicit TWMMouse(TMessage& message) : FMessage(message) {}
    int XPos() const { return static_cast<std::int16_t>(LoWord(static_cast<std::uintptr_t>(FMessage.LParam))); }
    int YPos() const { return static_cast<std::int16_t>(HiWord(static_cast<std::uintptr_t>(FMessage.LParam))); }
    std::uintptr_t Keys() const { return FMessage.WParam; }
    TMessage& Message() const { return FMessage; }

private:
    TMessage& FMessage;
};

// Reads WM_PARENTNOTIFY: the event (WM_CREATE or WM_DESTROY) in the low word
// of WParam, the child's handle in LParam.
class TWMParentNotify {
public:
    explicit TWMParentNotify(TMessage& message) : FMessage(message) {}
    unsigned Event() const { return LoWord(FMessage.WParam); }
    TWindowHandle ChildWnd() const { return static_cast<TWindowHandle>(FMessage.LParam); }
    TMessage& Message() const { return FMessage; }

private:
    TMessage& FMessage;
};

// Encodes a point as the LParam of a mouse message.
constexpr std::intptr_t PointToLParam(int x, int y) {
    return MakeLParam(static_cast<std::uint16_t>(static_cast<std::int16_t>(x)),
                      static_cast<std::uint16_t>(static_cast<std::int16_t>(y)));
}

} // namespace host

VESKAR_PUBLIC_END
