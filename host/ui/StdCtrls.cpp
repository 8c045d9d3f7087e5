#include "host/ui/StdCtrls.h"

#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/core/Utf8.h"
#include "host/ui/PropertyTypes.h"

#include <utility>

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

int TCustomEdit::Clamp(int pos) const {
    return static_cast<int>(Utf8Floor(Text(), static_cast<size_t>(std::max(pos, 0))));
}

int TCustomEdit::PrevCharPos(int pos) const {
    return static_cast<int>(Utf8Prev(Text(), static_cast<size_t>(std::max(pos, 0))));
}

int TCustomEdit::NextCharPos(int pos) const {
    return static_cast<int>(Utf8Next(Text(), static_cast<size_t>(std::max(pos, 0))));
}

int TCustomEdit::SelStart() const { return Utf8CharsBefore(Text(), static_cast<size_t>(SelStartByte())); }

int TCustomEdit::SelLength() const {
    return Utf8CharsBefore(Text(), static_cast<size_t>(SelEndByte())) - SelStart();
}

int TCustomEdit::CaretPos() const { return Utf8CharsBefore(Text(), static_cast<size_t>(FCaret)); }

std::string TCustomEdit::SelText() const {
    return Text().substr(static_cast<size_t>(SelStartByte()), static_cast<size_t>(SelEndByte() - SelStartByte()));
}

void TCustomEdit::SetSelStart(int value) {
    value = static_cast<int>(Utf8Offset(Text(), std::max(value, 0)));
    if (value == FAnchor && value == FCaret) return;
    FAnchor = FCaret = value;
    Invalidate();
}

void TCustomEdit::SetSelLength(int value) {
    const int start = SelStartByte();
    const std::string_view rest = std::string_view(Text()).substr(static_cast<size_t>(start));
    const int end = start + static_cast<int>(Utf8Offset(rest, std::max(value, 0)));
    if (FAnchor == start && FCaret == end) return;
    FAnchor = start;
    FCaret = end;
    Invalidate();
}

void TCustomEdit::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
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
    const int start = SelStartByte();
    std::string changed = Text();
    changed.replace(static_cast<size_t>(start), static_cast<size_t>(SelEndByte() - start), text);
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
    // A character beyond ASCII comes a byte at a time: it is typed whole.
    if (key >= 0x80) {
        if (CollectByte(key)) TypeChar(std::exchange(FPendingChar, std::string()));
        return;
    }
    FPendingChar.clear();
    const bool printable = key >= 0x20 && key != 0x7F;
    if (!printable && key != VK_BACK) return;
    if (key != VK_BACK) {
        TypeChar(std::string(1, static_cast<char>(key)));
        return;
    }
    if (FAnchor == FCaret && FCaret == 0) return;
    if (!EditCanModify()) return;
    if (FAnchor == FCaret) FAnchor = PrevCharPos(FCaret);
    ReplaceSelection("");
}

bool TCustomEdit::CollectByte(unsigned char byte) {
    if (!Utf8IsContinuation(static_cast<char>(byte)))
        FPendingChar.assign(1, static_cast<char>(byte));
    else if (!FPendingChar.empty())
        FPendingChar.push_back(static_cast<char>(byte));
    else
        return false;  // a stray continuation byte types nothing
    const size_t length = Utf8SequenceLength(static_cast<unsigned char>(FPendingChar[0]));
    if (length == 0 || FPendingChar.size() > length) {
        FPendingChar.clear();
        return false;
    }
    return FPendingChar.size() == length;
}

void TCustomEdit::TypeChar(const std::string& ch) {
    // A selection makes room for what replaces it.
    if (FAnchor == FCaret && FMaxLength > 0 && Utf8Length(Text()) >= FMaxLength) return;
    if (!EditCanModify()) return;
    ReplaceSelection(ch);
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
        if (FAnchor == FCaret && FCaret >= static_cast<int>(Text().size())) break;
        if (!EditCanModify()) break;
        if (FAnchor == FCaret) FAnchor = NextCharPos(FCaret);
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
