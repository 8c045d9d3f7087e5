#pragma once
// Private to host/stream: not installed.
// The tokens of a form text: identifiers (dotted), integers, floats,
// strings (quoted parts and #nn codes run together) and one-character
// symbols. A #nn code is a character's code point, kept as UTF-8; a pair of
// UTF-16 surrogate codes is one character.

#include "host/core/StreamErrors.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// Scoped: the data types of fields (ftInteger, ftString...) share the namespace.
enum class TFormTokenKind { End, Ident, Integer, Float, String, Symbol };

struct TFormToken {
    TFormTokenKind Kind = TFormTokenKind::End;
    std::string Text;  // an identifier's name, a string's value
    std::int64_t Integer = 0;
    double Float = 0;
    // A float's suffix, lower case: 's' single, 'c' currency (the text holds
    // the value times 10,000), 'd' date; 0 for none.
    char FloatType = 0;
    char Symbol = 0;
    TTextPos Pos;
};

class TFormLexer {
public:
    explicit TFormLexer(std::string_view text);

    const TFormToken& Token() const { return FToken; }
    // Moves to the next token; raises EParserError for a string or a number
    // that does not read.
    void Next();
    // With the current token "{": reads hex pairs up to "}" and moves past it.
    std::vector<unsigned char> ReadBinary();

    bool IsSymbol(char c) const { return FToken.Kind == TFormTokenKind::Symbol && FToken.Symbol == c; }
    bool IsKeyword(std::string_view word) const;
    // How the current token is named in a message ("Integer", "end of file", "=").
    std::string Describe() const;

private:
    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek(size_t ahead = 0) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }
    void Advance();
    void SkipBlanks();
    void ReadIdent();
    void ReadNumber();
    void ReadString();
    std::uint32_t ReadCharCode();
    bool AtNegativeInfinity() const;

    std::string_view FText;
    size_t FPos = 0;
    TTextPos FHere;
    TFormToken FToken;
};

} // namespace host
