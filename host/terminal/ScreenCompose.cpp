#include "host/terminal/TerminalBackend.h"

namespace host::term {

void ComposeScreen(TTermGrid&, int, const std::string&, int& cursorX, int& cursorY) {
    cursorX = cursorY = -1;
}

} // namespace host::term
