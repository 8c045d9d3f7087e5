#include "host/terminal/TermInput.h"
#include "host/ui/ShortCuts.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace host;
using namespace host::term;

namespace host::term {
void PrintTo(const TInputEvent& e, std::ostream* os) {
    *os << "{kind " << static_cast<int>(e.Kind) << ", key " << e.Key << ", shift " << e.Shift.Bits() << ", text '"
        << e.Text << "', mouse " << static_cast<int>(e.Button) << (e.Pressed ? " down" : " up") << " at " << e.X
        << "," << e.Y << "}";
}
} // namespace host::term

namespace {

TInputEvent Key(std::uint16_t key, TShiftState shift = {}) {
    TInputEvent e;
    e.Kind = TInputKind::Key;
    e.Key = key;
    e.Shift = shift;
    return e;
}

// Decodes a whole input as one event; fails when it takes fewer bytes.
TInputEvent One(const std::string& input, bool final = false) {
    TDecoded d = DecodeInput(input, final);
    EXPECT_EQ(d.Length, input.size()) << "for input of " << input.size() << " bytes";
    return d.Event;
}

TEST(TermInput, PlainTextAndControlCharacters) {
    TInputEvent a = One("a");
    EXPECT_EQ(a.Kind, TInputKind::Text);
    EXPECT_EQ(a.Text, "a");
    EXPECT_EQ(One("\t"), Key(VK_TAB));
    EXPECT_EQ(One("\r"), Key(VK_RETURN));
    EXPECT_EQ(One("\x7F"), Key(VK_BACK));
    EXPECT_EQ(One("\x11"), Key('Q', {ssCtrl}));
    // One character of UTF-8 text, whole; only its first byte waits.
    EXPECT_EQ(One("\xC3\xA9").Text, "\xC3\xA9");
    EXPECT_EQ(One("\xE2\x82\xAC").Text, "\xE2\x82\xAC");
    EXPECT_EQ(DecodeInput("\xE2\x82", false).Length, 0u);
    EXPECT_EQ(DecodeInput("\xE2\x82", true).Event.Kind, TInputKind::None);
    EXPECT_EQ(DecodeInput("ab", false).Length, 1u);
    // A stray continuation byte is skipped.
    EXPECT_EQ(DecodeInput("\x82x", false).Event.Kind, TInputKind::None);
}

TEST(TermInput, CursorAndEditingKeysInEveryEncoding) {
    EXPECT_EQ(One("\x1B[A"), Key(VK_UP));
    EXPECT_EQ(One("\x1B[B"), Key(VK_DOWN));
    EXPECT_EQ(One("\x1BOC"), Key(VK_RIGHT));
    EXPECT_EQ(One("\x1BOD"), Key(VK_LEFT));
    EXPECT_EQ(One("\x1B[H"), Key(VK_HOME));
    EXPECT_EQ(One("\x1B[F"), Key(VK_END));
    EXPECT_EQ(One("\x1B[1~"), Key(VK_HOME));
    EXPECT_EQ(One("\x1B[4~"), Key(VK_END));
    EXPECT_EQ(One("\x1B[2~"), Key(VK_INSERT));
    EXPECT_EQ(One("\x1B[3~"), Key(VK_DELETE));
    EXPECT_EQ(One("\x1B[5~"), Key(VK_PRIOR));
    EXPECT_EQ(One("\x1B[6~"), Key(VK_NEXT));
    EXPECT_EQ(One("\x1B[Z"), Key(VK_TAB, {ssShift}));
    EXPECT_EQ(One("\x1BOP"), Key(VK_F1));
    EXPECT_EQ(One("\x1B[24~"), Key(VK_F12));
    EXPECT_EQ(One("\x1B[[A"), Key(VK_F1));
}

TEST(TermInput, ModifiersAsTheTerminalReportsThem) {
    // Ctrl+F1 as xterm and tmux send it is the lookup shortcut.
    TInputEvent ctrlF1 = One("\x1B[1;5P");
    EXPECT_EQ(ctrlF1, Key(VK_F1, {ssCtrl}));
    EXPECT_EQ(ShortCut(ctrlF1.Key, ctrlF1.Shift), TextToShortCut("Ctrl+F1"));
    EXPECT_EQ(One("\x1BO5P"), Key(VK_F1, {ssCtrl}));
    EXPECT_EQ(One("\x1B[11^"), Key(VK_F1, {ssCtrl}));
    EXPECT_EQ(One("\x1B[1;2A"), Key(VK_UP, {ssShift}));
    EXPECT_EQ(One("\x1B[1;3D"), Key(VK_LEFT, {ssAlt}));
    EXPECT_EQ(One("\x1B[15;5~"), Key(VK_F5, {ssCtrl}));
    EXPECT_EQ(One("\x1B[3;8~"), Key(VK_DELETE, {ssShift, ssAlt, ssCtrl}));
    EXPECT_EQ(One("\x1B[3$"), Key(VK_DELETE, {ssShift}));
    // Esc before a character is that character with Alt.
    EXPECT_EQ(One("\x1Bx"), Key('X', {ssAlt}));
    EXPECT_EQ(One("\x1BX"), Key('X', {ssShift, ssAlt}));
    EXPECT_EQ(One("\x1B\x1B[A"), Key(VK_UP, {ssAlt}));
    EXPECT_EQ(ModifierParam(1), TShiftState{});
    EXPECT_EQ(ModifierParam(6), (TShiftState{ssShift, ssCtrl}));
}

TEST(TermInput, EscapeAloneWaitsForThePauseAndUnfinishedSequencesGiveItUp) {
    EXPECT_EQ(DecodeInput("\x1B", false).Length, 0u);
    EXPECT_EQ(DecodeInput("\x1B[1;5", false).Length, 0u);
    EXPECT_EQ(DecodeInput("\x1B[<0;3", false).Length, 0u);
    EXPECT_EQ(One("\x1B", true), Key(VK_ESCAPE));
    TDecoded cut = DecodeInput("\x1B[1;5", true);
    EXPECT_EQ(cut.Event, Key(VK_ESCAPE));
    EXPECT_EQ(cut.Length, 1u);
    // A pause after "Esc O" is Alt+O, not half a keypad key.
    EXPECT_EQ(One("\x1BO", true), Key('O', {ssShift, ssAlt}));
    // Unknown but whole sequences are skipped whole.
    TDecoded unknown = DecodeInput("\x1B[99xrest", false);
    EXPECT_EQ(unknown.Event.Kind, TInputKind::None);
    EXPECT_EQ(unknown.Length, 5u);
    EXPECT_EQ(DecodeInput("\x1B[99~", false).Event.Kind, TInputKind::None);
}

TEST(TermInput, MouseReportsInBothEncodings) {
    TInputEvent press = One("\x1B[<0;10;5M");
    EXPECT_EQ(press.Kind, TInputKind::Mouse);
    EXPECT_EQ(press.Button, TMouseButtonCode::Left);
    EXPECT_TRUE(press.Pressed);
    EXPECT_EQ(press.X, 9);
    EXPECT_EQ(press.Y, 4);
    TInputEvent release = One("\x1B[<0;10;5m");
    EXPECT_FALSE(release.Pressed);
    TInputEvent ctrlRight = One("\x1B[<18;1;1M");
    EXPECT_EQ(ctrlRight.Button, TMouseButtonCode::Right);
    EXPECT_EQ(ctrlRight.Shift, TShiftState{ssCtrl});
    EXPECT_EQ(One("\x1B[<65;3;3M").Button, TMouseButtonCode::WheelDown);
    EXPECT_TRUE(One("\x1B[<32;3;3M").Motion);
    // A bad parameter count is skipped, not misread.
    EXPECT_EQ(One("\x1B[<0;3M").Kind, TInputKind::None);

    TInputEvent x10 = One(std::string("\x1B[M") + char(32) + char(32 + 10) + char(32 + 5));
    EXPECT_EQ(x10.Button, TMouseButtonCode::Left);
    EXPECT_TRUE(x10.Pressed);
    EXPECT_EQ(x10.X, 9);
    EXPECT_EQ(x10.Y, 4);
    EXPECT_FALSE(One(std::string("\x1B[M") + char(32 + 3) + char(33) + char(33)).Pressed);
    EXPECT_EQ(DecodeInput("\x1B[M !", false).Length, 0u);
}

TEST(TermInput, EveryInputIsDecodedToItsEnd) {
    // Random bytes with escape characters and sequence bytes mixed in: at a
    // pause every call takes at least one byte and never more than given.
    std::mt19937 random(7);
    const std::string alphabet = "\x1B[O<;~M0159aZ\x7F\xC3\xA9\x01";
    for (int round = 0; round < 2000; ++round) {
        std::string input;
        const int length = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) input += alphabet[random() % alphabet.size()];
        std::string_view rest = input;
        int steps = 0;
        while (!rest.empty()) {
            TDecoded d = DecodeInput(rest, true);
            ASSERT_GE(d.Length, 1u);
            ASSERT_LE(d.Length, rest.size());
            rest.remove_prefix(d.Length);
            ASSERT_LT(++steps, 100);
        }
    }
}

TEST(TermInput, DoubleClicksAreTwoPressesOnOneCellInTime) {
    TClickTracker clicks(400);
    EXPECT_FALSE(clicks.Press(3, 4, 1000));
    EXPECT_TRUE(clicks.Press(3, 4, 1300));
    // The press after a double click starts over.
    EXPECT_FALSE(clicks.Press(3, 4, 1400));
    EXPECT_FALSE(clicks.Press(5, 4, 1500));
    EXPECT_FALSE(clicks.Press(5, 4, 2000));
    EXPECT_TRUE(clicks.Press(5, 4, 2100));
}

} // namespace
