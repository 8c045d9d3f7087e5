#include "examples/QuitSignals.h"

#include "host/terminal/Terminal.h"

namespace demo {

namespace {

volatile std::sig_atomic_t gReceived = 0;

void OnQuitSignal(int sig) {
    gReceived = sig;
    host::term::TTerminal::Wake();
}

} // namespace

TQuitSignals::TQuitSignals() {
    gReceived = 0;
    struct sigaction quit {};
    quit.sa_handler = OnQuitSignal;
    sigemptyset(&quit.sa_mask);
    quit.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &quit, &FPreviousTerm);
    sigaction(SIGHUP, &quit, &FPreviousHup);
}

TQuitSignals::~TQuitSignals() {
    sigaction(SIGTERM, &FPreviousTerm, nullptr);
    sigaction(SIGHUP, &FPreviousHup, nullptr);
}

int TQuitSignals::Received() { return gReceived; }

} // namespace demo
