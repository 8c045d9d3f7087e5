// Takes the terminal through the terminal back end and then lets an
// exception leave main uncaught: the terminal must be restored all the
// same. The restore test runs it in tmux and looks at the terminal after.

#include "host/terminal/TerminalBackend.h"
#include "host/ui/Backend.h"

#include <memory>
#include <stdexcept>

int main() {
    host::SetUIBackend(std::make_unique<host::term::TTerminalBackend>());
    host::UIBackend().HandleInput(false);
    throw std::runtime_error("left uncaught on purpose");
}
