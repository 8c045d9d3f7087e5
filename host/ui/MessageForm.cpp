#include "host/ui/MessageForm.h"

#include "host/ui/CellSurface.h"
#include "host/ui/Focus.h"
#include "host/ui/Messages.h"
#include "host/ui/PaintTools.h"

#include <algorithm>
#include <sstream>

namespace host {

HOST_IMPLEMENT_COMPONENT(TMessageForm, TForm)

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

// Characters on the screen: a UTF-8 sequence counts once.
int Columns(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

constexpr int kButtonCols = 8;  // "[  OK  ]": a caption of up to six cells in brackets
constexpr int kButtonGap = 2;

int ButtonCols(TMsgDlgBtn button) {
    return std::max(kButtonCols, Columns(StripAccelChars(MsgDlgButtonCaption(button))) + 4);
}

// The buttons side by side, each wide enough for its caption.
int ButtonRowCols(TMsgDlgButtons buttons) {
    int cols = -kButtonGap;
    for (int b = mbYes; b <= mbYesToAll; ++b)
        if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) cols += ButtonCols(static_cast<TMsgDlgBtn>(b)) + kButtonGap;
    return cols;
}

} // namespace

TMessageForm* TMessageForm::Make(const std::string& caption, const std::string& text, TMsgDlgButtons buttons) {
    Owned<TMessageForm> form(TMessageForm::Create(nullptr));
    form->Build(caption, text, buttons.Empty() ? TMsgDlgButtons{mbOK} : buttons);
    return form.release();
}

void TMessageForm::Build(const std::string& caption, const std::string& text, TMsgDlgButtons buttons) {
    FButtons = buttons;
    const std::vector<std::string> lines = Lines(text);
    int widest = std::max(Columns(caption) + 6, ButtonRowCols(buttons) + 4);
    for (const std::string& line : lines) widest = std::max(widest, Columns(line) + 4);
    // Never wider than the screen; a longer line is cut by its control.
    const int cols = std::clamp(widest, 24, std::max(24, Screen()->Width() / kCellWidth - 4));
    const int rows = static_cast<int>(lines.size());

    SetBorderStyle(bsDialog);
    SetCaption(caption);
    SetPosition(poScreenCenter);
    SetClientWidth(cols * kCellWidth);
    SetClientHeight((rows + 4) * kCellHeight);
    for (int i = 0; i < rows; ++i) {
        TStaticText* label = TStaticText::Create(this);
        label->SetShowAccelChar(false);
        label->SetCaption(lines[static_cast<std::size_t>(i)]);
        label->SetBounds(2 * kCellWidth, (1 + i) * kCellHeight, (cols - 4) * kCellWidth, kCellHeight);
        label->SetParent(this);
    }
    AddButtons(std::max(0, (cols - ButtonRowCols(buttons)) / 2), rows + 2);
}

void TMessageForm::AddButtons(int column, int row) {
    const TMsgDlgBtn defaultButton = MsgDlgDefaultButton(FButtons);
    TMsgDlgBtn cancelButton = mbCancel;
    const bool hasCancel = MsgDlgCancelButton(FButtons, cancelButton);
    for (int b = mbYes; b <= mbYesToAll; ++b) {
        const auto kind = static_cast<TMsgDlgBtn>(b);
        if (!FButtons.Contains(kind)) continue;
        TButton* button = TButton::Create(this);
        button->SetCaption(MsgDlgButtonCaption(kind));
        button->SetModalResult(MsgDlgButtonResult(kind));
        button->SetDefault(kind == defaultButton);
        button->SetCancel(hasCancel && kind == cancelButton);
        button->SetBounds(column * kCellWidth, row * kCellHeight, ButtonCols(kind) * kCellWidth, kCellHeight);
        button->SetParent(this);
        column += ButtonCols(kind) + kButtonGap;
        FButtonControls.emplace_back(kind, button);
        if (kind == defaultButton) SetActiveControl(button);
    }
    // The plain message's one button keeps the name a script looks for.
    if (FButtons == TMsgDlgButtons{mbOK}) FButtonControls.front().second->SetName("OK");
}

TButton* TMessageForm::Button(TMsgDlgBtn button) const {
    for (const auto& [kind, control] : FButtonControls)
        if (kind == button) return control;
    return nullptr;
}

std::string TMessageForm::KeysText() const {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : "  ") + part; };
    if (FButtonControls.size() > 1)
        for (const auto& [kind, control] : FButtonControls)
            if (const char key = AccelCharOf(control->Caption()))
                add(std::string(1, key) + " " + StripAccelChars(control->Caption()));
    const std::string enter = StripAccelChars(MsgDlgButtonCaption(MsgDlgDefaultButton(FButtons)));
    TMsgDlgBtn cancel = mbCancel;
    if (!MsgDlgCancelButton(FButtons, cancel)) {
        add("Enter " + enter);
        return text;
    }
    const std::string esc = StripAccelChars(MsgDlgButtonCaption(cancel));
    add(enter == esc ? "Enter/Esc " + enter : "Enter " + enter + "  Esc " + esc);
    return text;
}

TModalResult TMessageForm::Answer() const {
    TMsgDlgBtn cancel = mbCancel;
    if (ModalResult() == mrCancel && MsgDlgCancelButton(FButtons, cancel)) return MsgDlgButtonResult(cancel);
    return ModalResult();
}

bool TMessageForm::DialogKey(std::uint16_t& key, TShiftState shift) {
    // A button takes no typed text: with the focus on one, a plain letter
    // is the access key it would be with Alt.
    if (shift.Empty() && dynamic_cast<TButton*>(FocusedControl()))
        for (const auto& [kind, control] : FButtonControls)
            if (IsAccel(key, control->Caption()) && control->CanFocus()) {
                control->Perform(BM_CLICK);
                return true;
            }
    return inherited::DialogKey(key, shift);
}

} // namespace host
