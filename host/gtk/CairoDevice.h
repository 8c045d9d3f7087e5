#pragma once
// TCairoDevice: a pixel paint device over a Cairo context, text laid out and
// measured by Pango. A window's draw handler makes one for its context; a
// test or a benchmark makes one over an image surface.
// Fonts: the font's name and size in points (at 96 pixels an inch, as the
// forms are laid out), bold, italic and underline map to a Pango font
// description; a name Pango does not know falls back to a sans face.
// Code: CairoDevice.cpp; text in CairoText.cpp.

#include "host/core/Export.h"
#include "host/ui/PaintDevice.h"

#include <optional>

// Opaque here, so the header needs neither library's headers.
typedef struct _cairo cairo_t;
typedef struct _PangoLayout PangoLayout;

VESKAR_PUBLIC_BEGIN

namespace host::gtk {

class TCairoDevice : public TPaintDevice {
public:
    // Draws on Context, Width x Height pixels; the context is not owned.
    TCairoDevice(cairo_t* context, int width, int height);
    ~TCairoDevice() override;
    TCairoDevice(const TCairoDevice&) = delete;
    TCairoDevice& operator=(const TCairoDevice&) = delete;

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetClip(const TRect& clip) override;
    void FillRect(const TRect& rect, TColor color) override;
    void FrameRect(const TRect& rect, TColor color, int width) override;
    void Line(TPoint from, TPoint to, const TLinePen& pen) override;
    void Text(int x, int y, const std::string& text, const TFont& font, bool opaque, TColor back) override;
    TPoint TextExtent(const std::string& text, const TFont& font) override;
    void Image(const TRect& dest, const TBitmap& bitmap, const TRect& source, bool transparent,
               std::uint32_t key) override;
    void SetCaret(int x, int y, int height) override;
    void HideCaret() override;

    // Where the caret was last put, if it shows; a window draws it last.
    std::optional<TRect> Caret() const { return FCaret; }

private:
    VESKAR_LOCAL void SetColor(TColor color);
    // A layout of Text in Font's face, reused between calls.
    VESKAR_LOCAL PangoLayout* Layout(const std::string& text, const TFont& font);

    cairo_t* FContext;
    int FWidth;
    int FHeight;
    PangoLayout* FLayout = nullptr;
    std::optional<TRect> FCaret;
};

// The RGB parts (0 to 1) of a colour, system colours through ColorToRGB.
struct TRGB {
    double R, G, B;
};
TRGB RGBOf(TColor color);

} // namespace host::gtk

VESKAR_PUBLIC_END
