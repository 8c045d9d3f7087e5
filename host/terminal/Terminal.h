#pragma once
// TTerminal: the terminal the program runs in, owned through ncurses for as
// long as the object lives. It puts the terminal in raw mode with the
// keypad and mouse reports on, reads the bytes the user's keys and clicks
// send (the caller decodes them), notices resizes, and shows a grid of
// cells, writing only the cells that differ from what it last showed.
// The terminal is restored when the object goes, at exit, on a fatal
// signal and when an exception leaves the program uncaught.
// Code: Terminal.cpp.

#include <string>
#include <vector>

namespace host::term {

// One character cell as the terminal shows it: a UTF-8 character (empty
// for a blank), palette colours (-1 the terminal's own) and attributes.
struct TTermCell {
    std::string Text;
    int Fg = -1;
    int Bg = -1;
    bool Bold = false;
    bool Underline = false;
    bool Reverse = false;

    bool operator==(const TTermCell&) const = default;
};

struct TTermGrid {
    int Cols = 0;
    int Rows = 0;
    std::vector<TTermCell> Cells;  // row by row

    void Resize(int cols, int rows);
    TTermCell& At(int x, int y) { return Cells[static_cast<std::size_t>(y * Cols + x)]; }
    const TTermCell& At(int x, int y) const { return Cells[static_cast<std::size_t>(y * Cols + x)]; }
};

class TTerminal {
public:
    // Raises std::runtime_error when standard input or output is no
    // terminal, or when another TTerminal lives.
    TTerminal();
    ~TTerminal();
    TTerminal(const TTerminal&) = delete;
    TTerminal& operator=(const TTerminal&) = delete;

    int Cols() const { return FCols; }
    int Rows() const { return FRows; }
    // Colours the terminal can show (8, 16, 256...); 0 without colour.
    int ColorCount() const { return FColorCount; }

    enum class TWait { Input, Resized, Timeout, Closed };
    // Waits up to TimeoutMs (-1: for ever) for bytes or a resize. Bytes
    // read are appended to Into. After Resized, Cols and Rows are new.
    TWait Read(std::string& into, int timeoutMs);

    // Shows the grid (of the terminal's size), writing the changed cells
    // only; Full writes every cell again. The cursor is hidden unless
    // CursorX is not negative.
    void Present(const TTermGrid& grid, bool full = false, int cursorX = -1, int cursorY = -1);

    // Puts the terminal back as it was; safe to call more than once.
    static void Restore();

private:
    void QuerySize();
    short PairOf(int fg, int bg);

    int FCols = 80;
    int FRows = 24;
    int FColorCount = 0;
    TTermGrid FShown;
    std::vector<std::pair<int, int>> FPairs;
};

} // namespace host::term
