#pragma once
// TPaintDevice: a surface of pixels a canvas can draw on instead of a grid of
// character cells (a window, an image). TCanvas keeps the pen, brush, font,
// origin and clip; it hands the device finished requests in device pixels,
// each already clipped by the rectangle the device was last given. Colours
// arrive as controls give them (system colours included): a device turns
// them to RGB with ColorToRGB, so every back end shares one palette.
// The device for Cairo and Pango lives in host/gtk, so the ui library needs
// no graphics library.

#include "host/core/Export.h"
#include "host/ui/Colors.h"
#include "host/ui/Geometry.h"

#include <cstdint>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

class TBitmap;
class TFont;
enum TPenStyle { psSolid, psDash, psDot, psClear };

struct TLinePen {
    TColor Color;
    int Width;
    TPenStyle Style;
};

class TPaintDevice {
public:
    virtual ~TPaintDevice() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // Nothing is drawn outside Clip (device pixels) until the next call.
    virtual void SetClip(const TRect& clip) = 0;
    virtual void FillRect(const TRect& rect, TColor color) = 0;
    // A frame one pixel wide (Width wide with a pen) inside Rect.
    virtual void FrameRect(const TRect& rect, TColor color, int width) = 0;
    // From one pixel to another, the end pixel excluded.
    virtual void Line(TPoint from, TPoint to, const TLinePen& pen) = 0;
    // Text with its top left at (X, Y); the box it takes is filled with
    // Back first when Opaque.
    virtual void Text(int x, int y, const std::string& text, const TFont& font, bool opaque, TColor back) = 0;
    // The pixels Text would take: width and height.
    virtual TPoint TextExtent(const std::string& text, const TFont& font) = 0;
    // The Source part of Bitmap at (X, Y), scaled to Size; pixels of the
    // Key colour (0x00RRGGBB) are left out when Transparent.
    virtual void Image(const TRect& dest, const TBitmap& bitmap, const TRect& source, bool transparent,
                       std::uint32_t key) = 0;
    // The text cursor: a bar Height pixels high at (X, Y); one per device.
    virtual void SetCaret(int x, int y, int height) = 0;
    virtual void HideCaret() = 0;
};

} // namespace host

VESKAR_PUBLIC_END
