#include "host/terminal/TerminalBackend.h"

namespace host::term {

namespace {

// The status line: the text from the start of the last row, cut at its
// end, shown reversed.
void ComposeStatus(TTermGrid& grid, const std::string& status) {
    if (grid.Rows == 0) return;
    const int y = grid.Rows - 1;
    int x = 0;
    for (std::size_t i = 0; i < status.size() && x < grid.Cols;) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(status[i]);
        if (lead >= 0xF0) length = 4;
        else if (lead >= 0xE0) length = 3;
        else if (lead >= 0xC0) length = 2;
        grid.At(x++, y).Text = status.substr(i, length);
        i += length;
    }
    for (x = 0; x < grid.Cols; ++x) grid.At(x, y).Reverse = true;
}

} // namespace

void ComposeScreen(TTermGrid& grid, int, const std::string& status, int& cursorX, int& cursorY) {
    cursorX = cursorY = -1;
    ComposeStatus(grid, status);
}

} // namespace host::term
