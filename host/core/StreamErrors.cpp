#include "host/core/StreamErrors.h"

#include <utility>

namespace host {

EParserError::EParserError(std::string reason, TTextPos pos)
    : EReadError(reason + " " + PositionText(pos)), FReason(std::move(reason)), FPos(pos) {}

std::string PositionText(TTextPos pos) {
    if (pos.Line == 0) return "at offset " + std::to_string(pos.Column);
    return "at line " + std::to_string(pos.Line) + ", column " + std::to_string(pos.Column);
}

} // namespace host
