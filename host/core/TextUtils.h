#pragma once
// Text helpers of the host's run-time library.

#include <string>
#include <string_view>

namespace host {

// Compares ignoring the letter case of ASCII letters; <0, 0 or >0.
int CompareText(std::string_view a, std::string_view b);
// Compares byte by byte; <0, 0 or >0.
int CompareStr(std::string_view a, std::string_view b);
inline bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
std::string Trim(std::string_view s);
// True when S begins with Prefix, letter case ignored.
bool StartsText(std::string_view prefix, std::string_view s);

} // namespace host
