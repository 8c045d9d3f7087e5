#include "host/ui/StdCtrls.h"

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomEdit, TWinControl)
HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomMaskEdit, TCustomEdit)
HOST_IMPLEMENT_COMPONENT(TEdit, TCustomEdit)

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetCursor(crIBeam);
    SetColor(clWindow);
}

void TCustomEdit::WMChar(TMessage& message) {
    // KeyPress (and OnKeyPress) may change or consume the key first.
    inherited::WMChar(message);
    const auto key = static_cast<unsigned char>(message.WParam & 0xFF);
    const bool printable = key >= 0x20 && key != 0x7F;
    if (!printable && key != VK_BACK) return;
    if (key == VK_BACK && Text().empty()) return;
    if (key != VK_BACK && FMaxLength > 0 && static_cast<int>(Text().size()) >= FMaxLength) return;
    if (!EditCanModify()) return;
    std::string text = Text();
    if (key == VK_BACK)
        text.pop_back();
    else
        text.push_back(static_cast<char>(key));
    SetText(text);
    FModified = true;
}

void TCustomEdit::TextChanged() {
    inherited::TextChanged();
    Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

} // namespace host
