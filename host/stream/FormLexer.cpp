#include "host/stream/FormLexer.h"

#include "host/core/TextUtils.h"

#include <charconv>
#include <limits>

namespace host {

namespace {

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool IsHighSurrogate(std::uint32_t code) { return code >= 0xD800 && code <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t code) { return code >= 0xDC00 && code <= 0xDFFF; }

// A surrogate without its partner is no character: it reads as U+FFFD.
constexpr std::uint32_t Replacement = 0xFFFD;

std::string SymbolText(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > ' ' && byte < 127) return std::string(1, c);
    return "#" + std::to_string(byte);
}

} // namespace

TFormLexer::TFormLexer(std::string_view text) : FText(text) {
    // A byte order mark is not part of the text.
    if (FText.substr(0, 3) == "\xEF\xBB\xBF") FPos = 3;
    Next();
}

void TFormLexer::Advance() {
    if (FText[FPos] == '\n') {
        ++FHere.Line;
        FHere.Column = 1;
    } else {
        ++FHere.Column;
    }
    ++FPos;
}

void TFormLexer::SkipBlanks() {
    while (!AtEnd() && IsBlank(Peek())) Advance();
}

bool TFormLexer::IsKeyword(std::string_view word) const {
    return FToken.Kind == TFormTokenKind::Ident && SameText(FToken.Text, word);
}

std::string TFormLexer::Describe() const {
    switch (FToken.Kind) {
    case TFormTokenKind::End: return "end of file";
    case TFormTokenKind::Ident: return "Identifier";
    case TFormTokenKind::Integer: return "Integer";
    case TFormTokenKind::Float: return "Float";
    case TFormTokenKind::String: return "String";
    case TFormTokenKind::Symbol: return SymbolText(FToken.Symbol);
    }
    return "?";
}

void TFormLexer::Next() {
    SkipBlanks();
    FToken = TFormToken();
    FToken.Pos = FHere;
    if (AtEnd()) return;
    const char c = Peek();
    if (IsAlpha(c)) {
        ReadIdent();
    } else if (IsDigit(c) || c == '$' || (c == '-' && (IsDigit(Peek(1)) || Peek(1) == '$'))) {
        ReadNumber();
    } else if (AtNegativeInfinity()) {
        // The writer's text for minus infinity.
        FToken.Kind = TFormTokenKind::Float;
        FToken.Float = -std::numeric_limits<double>::infinity();
        for (int i = 0; i < 4; ++i) Advance();
    } else if (c == '\'' || c == '#') {
        ReadString();
    } else {
        FToken.Kind = TFormTokenKind::Symbol;
        FToken.Symbol = c;
        Advance();
    }
}

bool TFormLexer::AtNegativeInfinity() const {
    return Peek() == '-' && SameText(FText.substr(FPos + 1, 3), "INF") && !IsAlpha(Peek(4)) && !IsDigit(Peek(4));
}

void TFormLexer::ReadIdent() {
    FToken.Kind = TFormTokenKind::Ident;
    const size_t start = FPos;
    for (;;) {
        while (!AtEnd() && (IsAlpha(Peek()) || IsDigit(Peek()))) Advance();
        if (Peek() != '.' || !IsAlpha(Peek(1))) break;
        Advance();
    }
    FToken.Text.assign(FText.substr(start, FPos - start));
}

void TFormLexer::ReadNumber() {
    const TTextPos pos = FHere;
    const bool negative = Peek() == '-';
    if (negative) Advance();
    if (Peek() == '$') {
        Advance();
        std::uint64_t value = 0;
        int digits = 0;
        while (!AtEnd() && IsHex(Peek())) {
            if (value > (std::numeric_limits<std::uint64_t>::max() >> 4)) throw EParserError("Integer out of range", pos);
            value = value * 16 + static_cast<unsigned>(HexValue(Peek()));
            ++digits;
            Advance();
        }
        if (digits == 0) throw EParserError("Invalid hexadecimal number", pos);
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            throw EParserError("Integer out of range", pos);
        FToken.Kind = TFormTokenKind::Integer;
        FToken.Integer = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
        return;
    }
    const size_t start = FPos - (negative ? 1 : 0);
    bool isFloat = false;
    while (!AtEnd() && IsDigit(Peek())) Advance();
    // Digits after the point may be left out: "1." is 1.0.
    if (Peek() == '.') {
        isFloat = true;
        Advance();
        while (!AtEnd() && IsDigit(Peek())) Advance();
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
        isFloat = true;
        Advance();
        if (Peek() == '+' || Peek() == '-') Advance();
        while (!AtEnd() && IsDigit(Peek())) Advance();
    }
    const char* first = FText.data() + start;
    const char* last = FText.data() + FPos;
    // A suffix makes any number a float of that type.
    const char suffix = static_cast<char>(Peek() | 0x20);
    if (suffix == 's' || suffix == 'c' || suffix == 'd') {
        isFloat = true;
        FToken.FloatType = suffix;
        Advance();
    }
    if (isFloat) {
        FToken.Kind = TFormTokenKind::Float;
        const auto [end, error] = std::from_chars(first, last, FToken.Float);
        if (error != std::errc() || end != last) throw EParserError("Invalid floating point number", pos);
        if (FToken.FloatType == 'c') FToken.Float /= 10000;
    } else {
        FToken.Kind = TFormTokenKind::Integer;
        const auto [end, error] = std::from_chars(first, last, FToken.Integer);
        if (error != std::errc() || end != last) throw EParserError("Integer out of range", pos);
    }
}

void TFormLexer::ReadString() {
    FToken.Kind = TFormTokenKind::String;
    std::uint32_t high = 0;  // a high surrogate waiting for its partner
    auto endPair = [&] {
        if (high) AppendUtf8(FToken.Text, Replacement);
        high = 0;
    };
    for (;;) {
        if (Peek() == '#') {
            const std::uint32_t code = ReadCharCode();
            if (high && IsLowSurrogate(code)) {
                AppendUtf8(FToken.Text, 0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00));
                high = 0;
                continue;
            }
            endPair();
            if (IsHighSurrogate(code))
                high = code;
            else
                AppendUtf8(FToken.Text, IsLowSurrogate(code) ? Replacement : code);
            continue;
        }
        endPair();
        if (Peek() == '\'') {
            const TTextPos start = FHere;
            Advance();
            for (;;) {
                if (AtEnd() || Peek() == '\n' || Peek() == '\r') throw EParserError("Unterminated string", start);
                if (Peek() == '\'') {
                    Advance();
                    if (Peek() != '\'') break;
                }
                FToken.Text += Peek();
                Advance();
            }
        } else {
            return;
        }
    }
}

std::uint32_t TFormLexer::ReadCharCode() {
    const TTextPos pos = FHere;
    Advance();
    const bool hex = Peek() == '$';
    if (hex) Advance();
    std::uint32_t code = 0;
    int digits = 0;
    while (!AtEnd() && (hex ? IsHex(Peek()) : IsDigit(Peek()))) {
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(hex ? HexValue(Peek()) : Peek() - '0');
        if (code > 0x10FFFF) throw EParserError("Invalid character code", pos);
        ++digits;
        Advance();
    }
    // A bare "#" is character 0; "#$" promises hexadecimal digits.
    if (digits == 0 && hex) throw EParserError("Invalid character code", pos);
    return code;
}

std::vector<unsigned char> TFormLexer::ReadBinary() {
    const TTextPos start = FToken.Pos;
    std::vector<unsigned char> bytes;
    int high = -1;
    for (;;) {
        SkipBlanks();
        if (AtEnd()) throw EParserError("Unterminated binary value", start);
        const char c = Peek();
        if (c == '}') break;
        if (!IsHex(c)) throw EParserError("Invalid binary value", FHere);
        if (high < 0) {
            high = HexValue(c);
        } else {
            bytes.push_back(static_cast<unsigned char>(high * 16 + HexValue(c)));
            high = -1;
        }
        Advance();
    }
    if (high >= 0) throw EParserError("Invalid binary value", FHere);
    Advance();
    Next();
    return bytes;
}

} // namespace host
