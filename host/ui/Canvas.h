#pragma once
// TCanvas: what controls paint with. Coordinates are pixels, as controls are
// laid out; the canvas maps them to the cells of its surface (see
// CellSurface.h for the cell size and the rounding).
//
// - Text: one cell per character, in the font's colour, bold and underlined
//   as the font's style says, on the brush's colour (or on what is there
//   when the brush is clear).
// - Lines and frames: box-drawing characters in the pen's colour. A line
//   drawn across another one joins it (a vertical across a horizontal
//   makes a cross), so grids and bevels meet cleanly. A frame one cell high
//   has no room for lines and shows as brackets at its ends.
// - Bitmaps: each cell a bitmap covers takes the colour most of its pixels
//   have, as its background.
//
// On a pixel device (PaintDevice.h) the same calls draw pixels: text in the
// font's face and size, measured by the device; lines and frames with the
// pen's width and style; bitmaps in true colour. The cell-only calls
// (PutChar, TextAttrs) draw the character as text there.
//
// Origin is where the canvas's (0, 0) lies on the surface, in pixels; the
// clip rectangle is in the canvas's coordinates. A control's PaintTo sets
// both for the control it paints.
// Code: Canvas.cpp (TCanvas), CanvasTools.cpp (TPen, TBrush).

#include "host/core/Export.h"
#include "host/core/Event.h"
#include "host/core/Object.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Colors.h"
#include "host/ui/Font.h"
#include "host/ui/Geometry.h"
#include "host/ui/PaintDevice.h"

#include <cstdint>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class TBitmap;

class TPen : public TPersistent {
    HOST_CLASS(TPen, TPersistent)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    TPen() = default;

private:
    void Changed();

    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
};

enum TBrushStyle { bsSolid, bsClear };

class TBrush : public TPersistent {
    HOST_CLASS(TBrush, TPersistent)
public:
    TColor Color() const { return FColor; }
    // Setting a colour makes a clear brush solid.
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    TBrush() = default;

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// Lines a box-drawing cell holds, as bits.
using TLineBits = std::uint8_t;
constexpr TLineBits lbUp = 1;
constexpr TLineBits lbDown = 2;
constexpr TLineBits lbLeft = 4;
constexpr TLineBits lbRight = 8;
// The box-drawing character for a set of lines (a space for none), and the
// lines a character holds (none for any other character).
char32_t LineChar(TLineBits bits);
TLineBits LineBitsOf(char32_t ch);

class TCanvas {
public:
    explicit TCanvas(TSurface& surface);
    explicit TCanvas(TPaintDevice& device);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // On a pixel device, an empty grid of cells.
    TSurface& Surface() const { return FSurface; }
    // The pixel device, or nil on cells.
    TPaintDevice* Device() const { return FDevice; }

    TPen* Pen() const { return FPen.get(); }
    TBrush* Brush() const { return FBrush.get(); }
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* value) { FFont->Assign(value); }
    // Attributes added to every cell text goes to (reverse video for a
    // selection where colours are scarce).
    TCellAttrs TextAttrs() const { return FTextAttrs; }
    void SetTextAttrs(TCellAttrs value) { FTextAttrs = value; }

    TPoint Origin() const { return FOrigin; }
    void SetOrigin(TPoint value) { FOrigin = value; }
    // In canvas coordinates; nothing is drawn outside it. At first the
    // whole surface.
    TRect ClipRect() const;
    void SetClipRect(const TRect& value);
    // Narrows the clip rectangle to its overlap with Rect.
    void IntersectClipRect(const TRect& rect);

    // What PaintTo saves and restores around a control.
    struct TState {
        TPoint Origin;
        TRect Clip;
    };
    TState SaveState() const { return TState{FOrigin, FClip}; }
    void RestoreState(const TState& state);

    TPoint PenPos() const { return FPenPos; }
    void MoveTo(int x, int y) { FPenPos = Point(x, y); }
    // A line from the pen position to (X, Y), which becomes the pen
    // position. Straight lines join the lines they cross; a slanted one is
    // drawn as dots.
    void LineTo(int x, int y);

    void TextOut(int x, int y, const std::string& text);
    // TextOut clipped to Rect, which the brush fills first (when solid).
    void TextRect(const TRect& rect, int x, int y, const std::string& text);
    // A character cell's worth per character; TextHeight is a cell high.
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;

    // Fills with the brush (a clear brush fills nothing).
    void FillRect(const TRect& rect);
    // A frame in the brush's colour, as the framework draws one.
    void FrameRect(const TRect& rect);
    // Filled with the brush, framed with the pen.
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // A frame in the pen's colour whose lines join those already there.
    void Frame(const TRect& rect) { DrawFrame(rect, FPen->Color()); }

    void Draw(int x, int y, const TBitmap* bitmap);
    // The bitmap scaled to Rect; on cells it is drawn unscaled, clipped to Rect.
    void StretchDraw(const TRect& rect, const TBitmap* bitmap);
    // Pixels of the Transparent colour (0x00RRGGBB) leave the surface as it is.
    void DrawTransparent(int x, int y, const TBitmap* bitmap, std::uint32_t transparent);
    // The Source part of a button glyph, its bottom left pixel's colour
    // taken as transparent.
    void DrawGlyph(int x, int y, const TBitmap* bitmap, const TRect& source);

    // One cell, at a pixel position (rounded as text is).
    void PutChar(int x, int y, char32_t ch, TColor fore, TColor back, TCellAttrs attrs = 0);
    // Shows the text cursor at a pixel position; hidden when outside the clip.
    void SetCaretPos(int x, int y);

    // The cells a rectangle of this canvas covers on the surface, unclipped.
    TRect CellRect(const TRect& rect) const;

private:
    VESKAR_LOCAL TRect ClipCells() const;
    VESKAR_LOCAL bool InClip(int column, int row) const;
    VESKAR_LOCAL void WriteCell(int column, int row, const TCell& cell);
    VESKAR_LOCAL void JoinLine(int column, int row, TLineBits bits, TColor color);
    void DrawFrame(const TRect& rect, TColor color);
    VESKAR_LOCAL void DrawBitmap(int x, int y, const TBitmap* bitmap, const TRect& source, bool transparent, std::uint32_t key);
    VESKAR_LOCAL TColor TextBack(int column, int row) const;
    VESKAR_LOCAL TCellAttrs FontAttrs() const;
    // Hands the device the clip in device pixels.
    VESKAR_LOCAL TPaintDevice& Pixels() const;
    VESKAR_LOCAL TRect ToDevice(const TRect& rect) const;

    TCellSurface FNoCells;  // what Surface() answers on a pixel device
    TPaintDevice* FDevice = nullptr;
    TSurface& FSurface;
    Owned<TPen> FPen;
    Owned<TBrush> FBrush;
    Owned<TFont> FFont;
    TCellAttrs FTextAttrs = 0;
    TPoint FOrigin;
    TRect FClip;  // surface pixels
    TPoint FPenPos;
};

} // namespace host

VESKAR_PUBLIC_END
