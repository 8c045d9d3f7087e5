#pragma once
// Private to host/ui: not installed.
// What the controls' Paint methods share: access keys in captions, the row
// a line of text sits on, frames and bevels in cells.
// Code: PaintTools.cpp.

#include "host/ui/Canvas.h"
#include "host/ui/Controls.h"

#include <string>

namespace host {

// "&" marks the next character as the access key; "&&" is an "&".
// The caption without the marks.
std::string StripAccelChars(const std::string& caption);
// The access key's character, upper case; 0 when there is none.
char AccelCharOf(const std::string& caption);
// True when Key (a key code: letters and digits are their upper-case
// characters) is the caption's access key.
bool IsAccel(std::uint16_t key, const std::string& caption);
// Draws a caption at (X, Y) with the canvas's font, its access key
// underlined (marks shown as they are when ShowAccel is off).
void DrawAccelText(TCanvas& canvas, int x, int y, const std::string& caption, bool showAccel = true);
// The width in pixels of what DrawAccelText draws.
int AccelTextWidth(const TCanvas& canvas, const std::string& caption, bool showAccel = true);

// A control's bounds in the pixels of the top of its parent chain (a
// form's client area): what the cells it paints are rounded from.
TRect TopLevelBounds(const TControl* control);
// The cells a control's picture covers there.
TRect TopLevelCells(const TControl* control);

// The top of one line of text centred in a height.
int CenteredTextTop(int height);
// The X at which a text of Width sits in Area by Alignment.
int AlignedTextLeft(int areaLeft, int areaWidth, int width, TAlignment alignment);

// The frame of a box (a panel's bevels, a group box): all round when the
// box is three cells high or more, a line along its top when two, none
// when one. On a pixel device, an etched frame all round whatever its size.
void DrawBoxFrame(TCanvas& canvas, const TRect& rect, TColor color);

// The cells of a control's rectangle as seen from the canvas.
int CellColumns(const TCanvas& canvas, const TRect& rect);

} // namespace host
