#pragma once
// The small modal forms a back end shows for a message, an error or an
// about box: the lines of text over an OK button that Enter and Esc press,
// centred on the screen, sized for a character-cell screen (CellWidth and
// CellHeight pixels a cell). Code: MessageForm.cpp.

#include "host/ui/Forms.h"

#include <string>

namespace host::term {

// A new hidden form without an owner; the caller frees it.
TForm* MakeMessageForm(const std::string& caption, const std::string& text, int cellWidth, int cellHeight);

} // namespace host::term
