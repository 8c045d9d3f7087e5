#include "host/core/TextUtils.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace host {

void AppendUtf8(std::string& out, char32_t ch) {
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) ch = 0xFFFD;
    if (ch < 0x80) {
        out += static_cast<char>(ch);
    } else if (ch < 0x800) {
        out += static_cast<char>(0xC0 | (ch >> 6));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        out += static_cast<char>(0xE0 | (ch >> 12));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (ch >> 18));
        out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (ch & 0x3F));
    }
}

namespace {
inline unsigned char Fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = Fold(static_cast<unsigned char>(a[i])) - Fold(static_cast<unsigned char>(b[i]));
        if (d != 0) return d;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int CompareStr(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string UpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return r;
}

std::string LowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return r;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return std::string(s.substr(b, e - b));
}

bool StartsText(std::string_view prefix, std::string_view s) {
    return s.size() >= prefix.size() && CompareText(s.substr(0, prefix.size()), prefix) == 0;
}

namespace {

constexpr int kGeneralPrecision = 15;

// The significant digits of |Value| rounded to the precision, trailing zeros
// dropped, and the decimal exponent of the first: Value = 0.d1d2... x 10^Exponent.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
};

TDecimal ToDecimal(double value) {
    char buffer[40];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, kGeneralPrecision - 1)
            .ptr;
    TDecimal d;
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p)
        if (*p != '.') d.Digits += *p;
    d.Exponent = std::atoi(std::string(p + 1, end).c_str()) + 1;
    // Near the largest double, rounding up gives a text no double can hold:
    // one unit less in the last digit keeps the text readable.
    double back = 0;
    if (std::from_chars(buffer, end, back).ec == std::errc::result_out_of_range) {
        size_t i = d.Digits.size();
        while (i > 0 && d.Digits[i - 1] == '0') d.Digits[--i] = '9';
        if (i > 0) --d.Digits[i - 1];
    }
    while (d.Digits.size() > 1 && d.Digits.back() == '0') d.Digits.pop_back();
    return d;
}

} // namespace

std::string FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    const TDecimal d = ToDecimal(value);
    if (d.Digits == "0") return "0";
    std::string text = value < 0 ? "-" : "";
    const int digits = static_cast<int>(d.Digits.size());
    if (d.Exponent > kGeneralPrecision || d.Exponent < -3) {
        text += d.Digits[0];
        if (digits > 1) text += '.' + d.Digits.substr(1);
        return text + 'E' + std::to_string(d.Exponent - 1);
    }
    if (d.Exponent <= 0) return text + "0." + std::string(static_cast<size_t>(-d.Exponent), '0') + d.Digits;
    if (digits <= d.Exponent) return text + d.Digits + std::string(static_cast<size_t>(d.Exponent - digits), '0');
    return text + d.Digits.substr(0, static_cast<size_t>(d.Exponent)) + '.' + d.Digits.substr(static_cast<size_t>(d.Exponent));
}

} // namespace host
