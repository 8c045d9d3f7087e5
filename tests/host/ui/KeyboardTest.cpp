#include "host/ui/Controls.h"
#include "host/ui/Focus.h"
#include "host/ui/Keyboard.h"
#include "host/ui/ShortCuts.h"
#include "tests/host/ui/Probe.h"

#include <gtest/gtest.h>

using namespace host;
using probe::TProbe;

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        Keyboard().SetShiftState({});
        form->SetName("Form");
        edit = TProbe::Create(nullptr);
        edit->SetName("Edit");
        edit->Log = &log;
        edit->SetParent(form.get());
        edit->SetFocus();
        edit->Messages.clear();
        log.clear();
    }
    void TearDown() override { Keyboard().SetShiftState({}); }

    std::vector<std::string> log;
    Owned<TProbe> form{TProbe::Create(nullptr)};
    TProbe* edit = nullptr;
};

// A form that takes Enter for itself, as a dialog does.
class TDialogParent : public TWinControl {
    HOST_CLASS(TDialogParent, TWinControl)
public:
    int Enters = 0;

protected:
    explicit TDialogParent(TComponent* owner) : TWinControl(owner) {}
    bool DialogKey(std::uint16_t& key, TShiftState) override {
        if (key != VK_RETURN) return false;
        ++Enters;
        return true;
    }
};
HOST_IMPLEMENT_COMPONENT(TDialogParent, TWinControl)

} // namespace

TEST(ShortCuts, TextAndBack) {
    EXPECT_EQ(ShortCut(VK_F1, {ssCtrl}), 0x4070);
    EXPECT_EQ(ShortCutToText(0x4070), "Ctrl+F1");
    EXPECT_EQ(TextToShortCut("Ctrl+F1"), 0x4070);
    EXPECT_EQ(TextToShortCut("cTRL+f1"), 0x4070);

    const TShortCut shiftCtrl = ShortCut(VK_F1, {ssShift, ssCtrl});
    EXPECT_EQ(shiftCtrl, 0x6070);
    EXPECT_EQ(ShortCutToText(shiftCtrl), "Shift+Ctrl+F1");
    EXPECT_EQ(TextToShortCut("Shift+Ctrl+F1"), shiftCtrl);
    EXPECT_EQ(TextToShortCut("ctrl+SHIFT+f1"), shiftCtrl);
    EXPECT_NE(shiftCtrl, TextToShortCut("Ctrl+F1"));

    const TShortCut all = ShortCut('A', {ssAlt, ssCtrl, ssShift});
    EXPECT_EQ(all, 0xE041);
    EXPECT_EQ(ShortCutToText(all), "Shift+Ctrl+Alt+A");

    EXPECT_EQ(TextToShortCut("Ctrl+Foo"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+F1"), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut(""), 0);
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(0x4000), "");
    EXPECT_EQ(ShortCut(0x170, {}), 0);

    std::uint16_t key = 0;
    TShiftState shift;
    ShortCutToKey(0x6070, key, shift);
    EXPECT_EQ(key, VK_F1);
    EXPECT_EQ(shift, (TShiftState{ssShift, ssCtrl}));
}

TEST(ShortCuts, EveryKeyNameReadsBack) {
    const std::vector<std::pair<std::uint16_t, std::string>> named{
        {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
        {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},
        {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"},
        {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}, {VK_F12, "F12"},
        {VK_F10, "F10"}, {'Z', "Z"}, {'7', "7"},
    };
    for (const auto& [k, name] : named) {
        EXPECT_EQ(ShortCutToText(k), name);
        EXPECT_EQ(TextToShortCut(name), k) << name;
        EXPECT_EQ(TextToShortCut("Alt+" + name), k | scAlt) << name;
    }
    // Every key with a name survives the round trip.
    for (std::uint16_t k = 1; k <= 0xFF; ++k) {
        const std::string text = ShortCutToText(ShortCut(k, {ssCtrl}));
        if (!text.empty()) {
            EXPECT_EQ(TextToShortCut(text), ShortCut(k, {ssCtrl})) << text;
        }
    }
    EXPECT_EQ(ShortCutToText(0x90), "");
}

TEST_F(KeyboardTest, KeyDataToShiftStateTakesAltFromTheKeyData) {
    EXPECT_TRUE(KeyDataToShiftState(0).Empty());
    Keyboard().SetShiftState({ssShift, ssCtrl});
    EXPECT_EQ(KeyDataToShiftState(1), (TShiftState{ssShift, ssCtrl}));
    EXPECT_EQ(KeyDataToShiftState(static_cast<std::int32_t>(KF_ALTDOWN | 1)), (TShiftState{ssShift, ssCtrl, ssAlt}));
    // A held Alt does not count without bit 29.
    Keyboard().SetShiftState({ssAlt});
    EXPECT_TRUE(KeyDataToShiftState(1).Empty());
    Keyboard().SetShiftState({ssAlt, ssLeft});
    EXPECT_EQ(Keyboard().ShiftState(), TShiftState{ssAlt});
}

TEST_F(KeyboardTest, PressSendsKeyDownCharAndKeyUpToTheFocusedControl) {
    ASSERT_TRUE(Keyboard().Press('A'));
    EXPECT_EQ(log, (std::vector<std::string>{"Edit:WM_KEYDOWN", "Edit:WM_CHAR", "Edit:WM_KEYUP"}));
    const TMessage& down = edit->Messages[0];
    EXPECT_EQ(down.WParam, 'A');
    const auto data = static_cast<std::uint32_t>(down.LParam);
    EXPECT_EQ(data & 0xFFFF, 1u);
    EXPECT_EQ((data >> 16) & 0xFF, 0x1Eu);
    EXPECT_EQ(data & KF_ALTDOWN, 0u);
    EXPECT_EQ(edit->Messages[1].WParam, static_cast<std::uintptr_t>('a'));
    const auto up = static_cast<std::uint32_t>(edit->Messages[2].LParam);
    EXPECT_EQ(up & (KF_PREVIOUS | KF_UP), KF_PREVIOUS | KF_UP);

    // Modifiers are held for the press only, and Ctrl+F1 types nothing.
    TShiftState seen;
    edit->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState shift) { seen = shift; };
    log.clear();
    Keyboard().Press(VK_F1, {ssCtrl});
    EXPECT_EQ(seen, TShiftState{ssCtrl});
    EXPECT_EQ(log, (std::vector<std::string>{"Edit:WM_KEYDOWN", "Edit:WM_KEYUP"}));
    EXPECT_TRUE(Keyboard().ShiftState().Empty());
    const TMessage f1 = edit->Received(WM_KEYDOWN).back();
    EXPECT_EQ(ShortCut(LoWord(f1.WParam), seen), TextToShortCut("Ctrl+F1"));

    Keyboard().Type("Ab 1!");
    EXPECT_EQ(edit->Typed, "aAb 1!");
}

TEST_F(KeyboardTest, KeysPressedWithAltArriveAsSystemKeys) {
    TShiftState seen;
    edit->OnKeyDown = [&](TObject*, std::uint16_t&, TShiftState shift) { seen = shift; };
    Keyboard().Press(VK_F1, {ssAlt, ssCtrl});
    EXPECT_EQ(log, (std::vector<std::string>{"Edit:WM_SYSKEYDOWN", "Edit:WM_SYSKEYUP"}));
    const auto data = static_cast<std::uint32_t>(edit->Messages[0].LParam);
    EXPECT_EQ(data & KF_ALTDOWN, KF_ALTDOWN);
    EXPECT_EQ(seen, (TShiftState{ssAlt, ssCtrl}));
    EXPECT_TRUE(edit->Received(WM_KEYDOWN).empty());

    // Held from outside the press, Alt counts the same.
    log.clear();
    Keyboard().Hold(ssAlt);
    Keyboard().Press('X');
    EXPECT_EQ(log, (std::vector<std::string>{"Edit:WM_SYSKEYDOWN", "Edit:WM_SYSKEYUP"}));
    EXPECT_EQ(Keyboard().ShiftState(), TShiftState{ssAlt});
}

TEST_F(KeyboardTest, UnconsumedKeysGoToTheParentsAsDialogKeys) {
    Owned<TDialogParent> dialog(TDialogParent::Create(nullptr));
    TProbe* field = TProbe::Create(nullptr);
    field->SetParent(dialog.get());
    field->SetFocus();
    Keyboard().Press(VK_RETURN);
    EXPECT_EQ(dialog->Enters, 1);
    // A consumed key types no character.
    EXPECT_TRUE(field->Received(WM_CHAR).empty());

    // A key the control consumes itself never reaches the parent.
    field->OnKeyDown = [](TObject*, std::uint16_t& key, TShiftState) { key = 0; };
    Keyboard().Press(VK_RETURN);
    EXPECT_EQ(dialog->Enters, 1);

    dialog.reset();
    EXPECT_FALSE(Keyboard().Press('A'));
}
