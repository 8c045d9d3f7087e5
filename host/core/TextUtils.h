#pragma once
// Text helpers of the host's run-time library.

#include "host/core/Export.h"

#include <string>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

// Compares ignoring the letter case of ASCII letters; <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
// Compares byte by byte; <0, 0 or >0.
int CompareStr(std::string_view a, std::string_view b);
// Case folding keeps the length: texts of different lengths differ at once.
// Texts alike byte for byte, the usual case, need no folding.
inline bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a == b || CompareText(a, b) == 0);
}

// A code point as UTF-8; one that is none (a surrogate, beyond U+10FFFF)
// as U+FFFD, so the text stays valid UTF-8.
void AppendUtf8(std::string& out, char32_t ch);

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
std::string Trim(std::string_view s);
// True when S begins with Prefix, letter case ignored.
bool StartsText(std::string_view prefix, std::string_view s);

// A floating value as text in the general format with 15 significant
// digits: plain notation while the decimal exponent lies between -3 and 15
// (0.0001, 123456789012345), else one digit, the fraction and "E" with the
// exponent (1E-5, 1.23456789012346E15). No trailing zeros, no point without
// a fraction; "NAN", "INF", "-INF".
std::string FloatToStr(double value);

} // namespace host

VESKAR_PUBLIC_END
