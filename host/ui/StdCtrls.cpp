#include "host/ui/StdCtrls.h"

#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomEdit, TWinControl)
HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomMaskEdit, TCustomEdit)
HOST_IMPLEMENT_COMPONENT(TEdit, TCustomEdit)

namespace {

bool Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

} // namespace

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetCursor(crIBeam);
    SetColor(clWindow);
}

int TCustomEdit::Clamp(int pos) const {
    const int size = static_cast<int>(Text().size());
    pos = std::clamp(pos, 0, size);
    while (pos > 0 && pos < size && Continuation(Text()[static_cast<size_t>(pos)])) --pos;
    return pos;
}

int TCustomEdit::PrevCharPos(int pos) const {
    if (pos <= 0) return 0;
    --pos;
    while (pos > 0 && Continuation(Text()[static_cast<size_t>(pos)])) --pos;
    return pos;
}

int TCustomEdit::NextCharPos(int pos) const {
    const int size = static_cast<int>(Text().size());
    if (pos >= size) return size;
    ++pos;
    while (pos < size && Continuation(Text()[static_cast<size_t>(pos)])) ++pos;
    return pos;
}

std::string TCustomEdit::SelText() const {
    return Text().substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void TCustomEdit::SetSelStart(int value) {
    value = Clamp(value);
    if (value == FAnchor && value == FCaret) return;
    FAnchor = FCaret = value;
    Invalidate();
}

void TCustomEdit::SetSelLength(int value) {
    const int start = SelStart();
    const int end = Clamp(start + std::max(value, 0));
    if (FAnchor == start && FCaret == end) return;
    FAnchor = start;
    FCaret = end;
    Invalidate();
}

void TCustomEdit::SelectAll() {
    FAnchor = 0;
    FCaret = static_cast<int>(Text().size());
    Invalidate();
}

void TCustomEdit::MoveCaret(int pos, bool extend) {
    FCaret = Clamp(pos);
    if (!extend) FAnchor = FCaret;
    Invalidate();
}

void TCustomEdit::ReplaceSelection(const std::string& text) {
    const int start = SelStart();
    std::string changed = Text();
    changed.replace(static_cast<size_t>(start), static_cast<size_t>(SelLength()), text);
    {
        const TScopedFlag typing(FTyping);
        FAnchor = FCaret = start;
        SetText(changed);
    }
    FAnchor = FCaret = Clamp(start + static_cast<int>(text.size()));
    FModified = true;
    Invalidate();
}

void TCustomEdit::WMChar(TMessage& message) {
    // KeyPress (and OnKeyPress) may change or consume the key first.
    inherited::WMChar(message);
    const auto key = static_cast<unsigned char>(message.WParam & 0xFF);
    const bool printable = key >= 0x20 && key != 0x7F;
    if (!printable && key != VK_BACK) return;
    if (key == VK_BACK && SelLength() == 0 && FCaret == 0) return;
    if (key != VK_BACK && SelLength() == 0 && FMaxLength > 0 && static_cast<int>(Text().size()) >= FMaxLength)
        return;
    if (!EditCanModify()) return;
    if (key == VK_BACK) {
        if (SelLength() == 0) FAnchor = PrevCharPos(FCaret);
        ReplaceSelection("");
    } else {
        ReplaceSelection(std::string(1, static_cast<char>(key)));
    }
}

void TCustomEdit::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (key != 0) EditKey(key, shift);
}

void TCustomEdit::EditKey(std::uint16_t& key, TShiftState shift) {
    const bool extend = shift.Contains(ssShift);
    switch (key) {
    case VK_LEFT: MoveCaret(PrevCharPos(FCaret), extend); break;
    case VK_RIGHT: MoveCaret(NextCharPos(FCaret), extend); break;
    case VK_HOME: MoveCaret(0, extend); break;
    case VK_END: MoveCaret(static_cast<int>(Text().size()), extend); break;
    case VK_DELETE:
        if (SelLength() == 0 && FCaret >= static_cast<int>(Text().size())) break;
        if (!EditCanModify()) break;
        if (SelLength() == 0) FAnchor = NextCharPos(FCaret);
        ReplaceSelection("");
        break;
    default: return;
    }
    key = 0;
}

void TCustomEdit::TextChanged() {
    // Text set by the program: the caret goes to its end.
    if (!FTyping) FAnchor = FCaret = static_cast<int>(Text().size());
    inherited::TextChanged();
    Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::DeclarePublished(TPublisher& publisher) {
    // An edit's caption is its text: stored as Text where it is stored at all.
    auto p = publisher.Of<TCustomEdit>();
    p.Redeclare("Caption").Stored(false);
    // What a new edit is: a text cursor, its own window colour, a tab stop.
    p.Redeclare("Cursor").Default(crIBeam);
    p.Redeclare("Color").Default(clWindow);
    p.Redeclare("ParentColor").Default(false);
    p.Redeclare("TabStop").Default(true);
}

void TEdit::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TEdit>();
    p.Boolean("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly).Default(false);
    p.String("Text", &TEdit::Text, &TEdit::SetText, "TCaption").Default("");
    p.String("TextHint", &TEdit::TextHint, &TEdit::SetTextHint).Default("");
}

} // namespace host
