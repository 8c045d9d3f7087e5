#pragma once
// TTerminal: the terminal the program runs in, owned through ncurses for as
// long as the object lives. It puts the terminal in raw mode with the
// keypad and mouse reports on, reads the bytes the user's keys and clicks
// send (the caller decodes them), notices resizes, and shows a surface of
// cells, writing only the cells it marks changed.
// The terminal is restored when the object goes, at exit, on a fatal
// signal and when an exception leaves the program uncaught.
// Code: Terminal.cpp.

#include "host/core/Export.h"
#include "host/ui/CellSurface.h"

#include <map>
#include <string>
#include <utility>

VESKAR_PUBLIC_BEGIN

namespace host::term {

class TTerminal {
public:
    // Raises std::runtime_error when standard input or output is no
    // terminal, the terminal type is unknown, or another TTerminal lives.
    TTerminal();
    ~TTerminal();
    TTerminal(const TTerminal&) = delete;
    TTerminal& operator=(const TTerminal&) = delete;

    int Cols() const { return FCols; }
    int Rows() const { return FRows; }
    // Colours the terminal can show (8, 16, 256...); 0 without colour.
    int ColorCount() const { return FColorCount; }

    enum class TWait { Input, Resized, Woken, Timeout, Closed };
    // Waits up to TimeoutMs (-1: for ever) for bytes, a resize or a Wake.
    // Bytes read are appended to Into. After Resized, Cols and Rows are new.
    TWait Read(std::string& into, int timeoutMs);

    // Makes a waiting (or the next) Read return Woken. Safe in a signal
    // handler: it only writes to a pipe.
    static void Wake();

    // Shows the screen's changed cells (its dirty rows) and its caret, and
    // clears its record of changes. Full writes every cell again.
    void Present(TCellSurface& screen, bool full = false);

    // Puts the terminal back as it was; safe to call more than once.
    static void Restore();

private:
    VESKAR_LOCAL void QuerySize();
    VESKAR_LOCAL short PairOf(TColor fore, TColor back);
    VESKAR_LOCAL void WriteCell(int column, int row, const TCell& cell);

    int FCols = 80;
    int FRows = 24;
    int FColorCount = 0;
    std::map<std::pair<int, int>, short> FPairs;
};

} // namespace host::term

VESKAR_PUBLIC_END
