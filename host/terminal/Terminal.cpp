#include "host/terminal/Terminal.h"

#include <curses.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
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

void OnWinch(int) {
    // Wakes Read; only the pipe is touched here.
    const char c = 'w';
    if (gWakePipe[1] >= 0) [[maybe_unused]] auto n = ::write(gWakePipe[1], &c, 1);
}

void OnFatalSignal(int sig) {
    TTerminal::Restore();
    std::signal(sig, SIG_DFL);
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
    for (int sig : {SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGABRT, SIGBUS, SIGFPE}) std::signal(sig, OnFatalSignal);
    struct sigaction winch {};
    winch.sa_handler = OnWinch;
    sigemptyset(&winch.sa_mask);
    winch.sa_flags = SA_RESTART;
    sigaction(SIGWINCH, &winch, &gPreviousWinch);
}

} // namespace

void TTermGrid::Resize(int cols, int rows) {
    Cols = std::max(cols, 0);
    Rows = std::max(rows, 0);
    Cells.assign(static_cast<std::size_t>(Cols * Rows), TTermCell{});
}

TTerminal::TTerminal() {
    if (!::isatty(STDIN_FILENO) || !::isatty(STDOUT_FILENO))
        throw std::runtime_error("standard input and output must be a terminal");
    if (gActive.exchange(true)) throw std::runtime_error("the terminal is in use already");
    std::setlocale(LC_ALL, "");
    if (::pipe(gWakePipe) == 0) {
        for (int fd : gWakePipe) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    if (!initscr()) {
        gActive = false;
        throw std::runtime_error("the terminal cannot be set up (is TERM set?)");
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
    FShown.Resize(0, 0);
}

TTerminal::~TTerminal() { Restore(); }

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
            while (::read(gWakePipe[0], drain, sizeof drain) > 0) {
            }
            QuerySize();
            FShown.Resize(0, 0);
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

short TTerminal::PairOf(int fg, int bg) {
    if (FColorCount == 0) return 0;
    for (std::size_t i = 0; i < FPairs.size(); ++i)
        if (FPairs[i] == std::make_pair(fg, bg)) return static_cast<short>(i + 1);
    // Pairs are few (a form uses a handful); past the terminal's limit the
    // last pair is reused rather than failing.
    if (static_cast<int>(FPairs.size()) + 1 >= COLOR_PAIRS) return static_cast<short>(FPairs.size());
    FPairs.emplace_back(fg, bg);
    const auto pair = static_cast<short>(FPairs.size());
    init_pair(pair, static_cast<short>(fg), static_cast<short>(bg));
    return pair;
}

void TTerminal::Present(const TTermGrid& grid, bool full, int cursorX, int cursorY) {
    const bool sameSize = FShown.Cols == grid.Cols && FShown.Rows == grid.Rows;
    if (!sameSize || full) clearok(stdscr, TRUE);
    const int cols = std::min(grid.Cols, FCols);
    const int rows = std::min(grid.Rows, FRows);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < cols; ++x) {
            const TTermCell& cell = grid.At(x, y);
            if (sameSize && !full && FShown.At(x, y) == cell) continue;
            attr_t attrs = A_NORMAL;
            if (cell.Bold) attrs |= A_BOLD;
            if (cell.Underline) attrs |= A_UNDERLINE;
            if (cell.Reverse) attrs |= A_REVERSE;
            const short pair = PairOf(cell.Fg, cell.Bg);
            cchar_t ch{};
            wchar_t wide[2] = {L' ', 0};
            if (!cell.Text.empty()) {
                std::mbstate_t state{};
                const char* src = cell.Text.c_str();
                if (std::mbrtowc(&wide[0], src, cell.Text.size(), &state) > cell.Text.size()) wide[0] = L'?';
            }
            setcchar(&ch, wide, attrs, pair, nullptr);
            mvadd_wch(y, x, &ch);
        }
    }
    FShown = grid;
    if (cursorX >= 0 && cursorY >= 0 && cursorX < FCols && cursorY < FRows) {
        curs_set(1);
        move(cursorY, cursorX);
    } else {
        curs_set(0);
    }
    refresh();
}

} // namespace host::term
