#pragma once
// SIGTERM and SIGHUP as requests to quit: while a TQuitSignals lives, the
// signal is only noted and the terminal's loop woken; the loop then asks
// Received and quits in its own time, so the program ends cleanly (its
// data in order, the terminal given back) instead of dying mid-work.

#include <csignal>

namespace demo {

class TQuitSignals {
public:
    TQuitSignals();
    ~TQuitSignals();
    TQuitSignals(const TQuitSignals&) = delete;
    TQuitSignals& operator=(const TQuitSignals&) = delete;

    // The signal received (SIGTERM or SIGHUP), 0 while none was.
    static int Received();

private:
    struct sigaction FPreviousTerm {};
    struct sigaction FPreviousHup {};
};

} // namespace demo
