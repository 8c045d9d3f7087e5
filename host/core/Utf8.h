#pragma once
// Stepping through UTF-8 text by characters (code points). A character is
// a lead byte with the continuation bytes it announces; a byte that is no
// part of such a sequence counts as one character of its own, so every
// position these functions return lies on a character's start.

#include "host/core/Export.h"

#include <cstddef>
#include <string>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

inline bool Utf8IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
// The length of the sequence a lead byte announces; 0 for a byte that leads none.
std::size_t Utf8SequenceLength(unsigned char lead);
// The start of the character after, or before, byte position Pos.
std::size_t Utf8Next(std::string_view text, std::size_t pos);
std::size_t Utf8Prev(std::string_view text, std::size_t pos);
// Pos moved back to the start of the character it lies in.
std::size_t Utf8Floor(std::string_view text, std::size_t pos);
// The number of characters.
int Utf8Length(std::string_view text);
// The characters before byte position Pos.
int Utf8CharsBefore(std::string_view text, std::size_t pos);
// The byte position of character N (the text's size past its end).
std::size_t Utf8Offset(std::string_view text, int n);
// The first N characters, whole.
std::string Utf8Truncate(std::string_view text, int n);

} // namespace host

VESKAR_PUBLIC_END
