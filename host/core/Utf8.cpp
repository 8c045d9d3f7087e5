#include "host/core/Utf8.h"

#include <algorithm>

namespace host {

std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

std::size_t Utf8Next(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return text.size();
    const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[pos]));
    std::size_t next = pos + 1;
    while (next < text.size() && next < pos + length && Utf8IsContinuation(text[next])) ++next;
    return next;
}

std::size_t Utf8Floor(std::string_view text, std::size_t pos) {
    pos = std::min(pos, text.size());
    if (pos == text.size() || !Utf8IsContinuation(text[pos])) return pos;
    // At most three continuation bytes belong to one lead byte.
    const std::size_t from = pos >= 3 ? pos - 3 : 0;
    for (std::size_t start = pos; start-- > from;)
        if (!Utf8IsContinuation(text[start])) return Utf8Next(text, start) > pos ? start : pos;
    return pos;
}

std::size_t Utf8Prev(std::string_view text, std::size_t pos) {
    pos = std::min(pos, text.size());
    return pos == 0 ? 0 : Utf8Floor(text, pos - 1);
}

int Utf8Length(std::string_view text) { return Utf8CharsBefore(text, text.size()); }

int Utf8CharsBefore(std::string_view text, std::size_t pos) {
    int chars = 0;
    for (std::size_t at = 0; at < pos && at < text.size(); at = Utf8Next(text, at)) ++chars;
    return chars;
}

std::size_t Utf8Offset(std::string_view text, int n) {
    std::size_t at = 0;
    for (int i = 0; i < n && at < text.size(); ++i) at = Utf8Next(text, at);
    return at;
}

std::string Utf8Truncate(std::string_view text, int n) {
    return std::string(text.substr(0, Utf8Offset(text, std::max(n, 0))));
}

} // namespace host
