#pragma once
// Errors of form files: a text that does not read at some place, and a class
// name that no class answers to.

#include "host/core/Export.h"
#include "host/core/Exception.h"

#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

// Where in a form text: 1-based line and column. In a binary form Line is
// 0 and Column the byte offset.
struct TTextPos {
    int Line = 1;
    int Column = 1;
};

// A form text that does not read at Pos. The message is the reason followed
// by " at line L, column C".
class EParserError : public EReadError {
public:
    EParserError(std::string reason, TTextPos pos);
    const std::string& Reason() const { return FReason; }
    int Line() const { return FPos.Line; }
    int Column() const { return FPos.Column; }

private:
    std::string FReason;
    TTextPos FPos;
};

// "Class X not found" (from FindClass; the reader adds where).
class EClassNotFound : public EReadError { using EReadError::EReadError; };

std::string PositionText(TTextPos pos);

} // namespace host

VESKAR_PUBLIC_END
