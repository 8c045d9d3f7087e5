#include "host/terminal/Terminal.h"

#include "host/terminal/TermColors.h"

#include <curses.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>
#include <fcntl.h>

namespace host::term {

namespace {

// Mouse reports of presses and releases in the SGR encoding; both are
// turned off again on restore.
constexpr char kMouseOn[] = "\x1B[?1000h\x1B[?1006h";
constexpr char kMouseOff[] = "\x1B[?1006l\x1B[?1000l";

std::atomic<bool> gActive{false};
SCREEN* gScreen = nullptr;
int gWakePipe[2] = {-1, -1};
std::terminate_handler gPreviousTerminate = nullptr;
struct sigaction gPreviousWinch {};

void WriteAll(const char* text, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, text, size);
        if (n <= 0) return;
        text += n;
        size -= static_cast<std::size_t>(n);
    }
}

constexpr int kFatalSignals[] = {SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE};
// The handlers that were there before, by signal number, so a fatal signal
// still reaches them (a sanitizer's report, say) after the restore.
void (*gPreviousFatal[NSIG])(int) = {};

// What a byte on the wake pipe asks of Read.
constexpr char kResizedByte = 'w';
constexpr char kWakeByte = 'k';

void WriteWake(char c) {
    // Only the pipe is touched here: this runs in signal handlers.
    if (gWakePipe[1] >= 0) {
        const ssize_t written = ::write(gWakePipe[1], &c, 1);
        (void)written;  // a full pipe has a wake-up waiting already
    }
}

void OnWinch(int) { WriteWake(kResizedByte); }

void OnFatalSignal(int sig) {
    TTerminal::Restore();
    auto previous = gPreviousFatal[sig];
    std::signal(sig, previous == SIG_ERR || previous == nullptr ? SIG_DFL : previous);
    std::raise(sig);
}

[[noreturn]] void OnTerminate() {
    TTerminal::Restore();
    if (gPreviousTerminate) gPreviousTerminate();
    std::abort();
}

void RestoreAtExit() { TTerminal::Restore(); }

void InstallHandlers() {
    static bool once = false;
    if (!once) {
        once = true;
        std::atexit(RestoreAtExit);
    }
    gPreviousTerminate = std::set_terminate(OnTerminate);
    for (int sig : kFatalSignals) {
        auto previous = std::signal(sig, OnFatalSignal);
        if (previous != OnFatalSignal) gPreviousFatal[sig] = previous;
    }
    struct sigaction winch {};
    winch.sa_handler = OnWinch;
    sigemptyset(&winch.sa_mask);
    winch.sa_flags = SA_RESTART;
    sigaction(SIGWINCH, &winch, &gPreviousWinch);
}

} // namespace

TTerminal::TTerminal() {
    if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO))
        throw std::runtime_error("standard input and output must be a terminal");
    if (gActive.exchange(true)) throw std::runtime_error("the terminal is in use already");
    std::setlocale(LC_ALL, "");
    if (::pipe(gWakePipe) == 0) {
        for (int fd : gWakePipe) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    // newterm, unlike initscr, answers a terminal it does not know instead
    // of ending the program.
    gScreen = newterm(nullptr, stdout, stdin);
    if (!gScreen) {
        gActive = false;
        for (int& fd : gWakePipe) {
            if (fd >= 0) ::close(fd);
            fd = -1;
        }
        throw std::runtime_error("the terminal cannot be set up (is TERM set to a known terminal?)");
    }
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    // Pending input must not cut a screen update short: the bytes are ours.
    typeahead(-1);
    curs_set(0);
    if (has_colors()) {
        start_color();
        use_default_colors();
        FColorCount = COLORS;
    }
    InstallHandlers();
    WriteAll(kMouseOn, sizeof kMouseOn - 1);
    QuerySize();
}

TTerminal::~TTerminal() {
    Restore();
    // Not in Restore: a signal handler may call that, and this frees memory.
    if (gScreen) delscreen(gScreen);
    gScreen = nullptr;
}

void TTerminal::Restore() {
    if (!gActive.exchange(false)) return;
    WriteAll(kMouseOff, sizeof kMouseOff - 1);
    endwin();
    std::set_terminate(gPreviousTerminate);
    sigaction(SIGWINCH, &gPreviousWinch, nullptr);
    for (int& fd : gWakePipe) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

void TTerminal::QuerySize() {
    winsize ws{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
        FCols = ws.ws_col;
        FRows = ws.ws_row;
        resizeterm(FRows, FCols);
    } else {
        FCols = COLS;
        FRows = LINES;
    }
}

TTerminal::TWait TTerminal::Read(std::string& into, int timeoutMs) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {gWakePipe[0], POLLIN, 0}};
    const nfds_t count = gWakePipe[0] >= 0 ? 2 : 1;
    for (;;) {
        const int ready = ::poll(fds, count, timeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return TWait::Timeout;
        if (count == 2 && (fds[1].revents & POLLIN)) {
            char drain[64];
            bool resized = false, woken = false;
            for (ssize_t n; (n = ::read(gWakePipe[0], drain, sizeof drain)) > 0;) {
                for (ssize_t i = 0; i < n; ++i) (drain[i] == kResizedByte ? resized : woken) = true;
            }
            // A wake is not lost behind a resize: it is written back for
            // the next Read.
            if (resized && woken) WriteWake(kWakeByte);
            if (!resized) return TWait::Woken;
            QuerySize();
            return TWait::Resized;
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[512];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return TWait::Closed;
            into.append(buffer, static_cast<std::size_t>(n));
            return TWait::Input;
        }
    }
}

void TTerminal::Wake() { WriteWake(kWakeByte); }

short TTerminal::PairOf(TColor fore, TColor back) {
    if (FColorCount == 0) return 0;
    auto index = [this](TColor color) {
        const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
        return NearestTerminalColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, FColorCount);
    };
    const std::pair<int, int> key{index(fore), index(back)};
    if (auto it = FPairs.find(key); it != FPairs.end()) return it->second;
    // A form uses a handful of pairs; past the terminal's limit the last
    // one made is used again rather than failing.
    if (static_cast<int>(FPairs.size()) + 1 >= COLOR_PAIRS) return static_cast<short>(FPairs.size());
    const auto pair = static_cast<short>(FPairs.size() + 1);
    init_pair(pair, static_cast<short>(key.first), static_cast<short>(key.second));
    FPairs.emplace(key, pair);
    return pair;
}

void TTerminal::WriteCell(int column, int row, const TCell& cell) {
    attr_t attrs = A_NORMAL;
    if (cell.Attrs & caBold) attrs |= A_BOLD;
    if (cell.Attrs & caUnderline) attrs |= A_UNDERLINE;
    // Without colours the background cannot set a selection off.
    if ((cell.Attrs & caReverse) || (FColorCount == 0 && cell.Back == clHighlight)) attrs |= A_REVERSE;
    wchar_t wide[2] = {static_cast<wchar_t>(cell.Ch), 0};
    if (wide[0] < 0x20 || (wide[0] >= 0x7F && wide[0] < 0xA0)) wide[0] = L'?';
    cchar_t ch{};
    setcchar(&ch, wide, attrs, PairOf(cell.Fore, cell.Back), nullptr);
    mvadd_wch(row, column, &ch);
}

void TTerminal::Present(TCellSurface& screen, bool full) {
    if (full) {
        clearok(stdscr, TRUE);
        screen.MarkAllDirty();
    }
    const int rows = std::min(screen.Rows(), FRows);
    const int cols = std::min(screen.Columns(), FCols);
    const auto& dirty = screen.DirtyRows();
    for (int y = 0; y < rows; ++y) {
        const TDirtySpan span = dirty[static_cast<std::size_t>(y)];
        for (int x = std::max(span.Left, 0); x < std::min(span.Right, cols); ++x) WriteCell(x, y, screen.CellAt(x, y));
    }
    if (screen.CaretVisible() && screen.Caret().X < cols && screen.Caret().Y < rows) {
        curs_set(1);
        move(screen.Caret().Y, screen.Caret().X);
    } else {
        curs_set(0);
    }
    screen.ClearDirty();
    refresh();
}

} // namespace host::term
