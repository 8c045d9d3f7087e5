#include "host/gtk/CairoDevice.h"

#include "host/ui/Graphics.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <vector>

namespace host::gtk {

TRGB RGBOf(TColor color) {
    const TColor rgb = ColorToRGB(color);  // 0x00BBGGRR
    return TRGB{(rgb & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, ((rgb >> 16) & 0xFF) / 255.0};
}

TCairoDevice::TCairoDevice(cairo_t* context, int width, int height)
    : FContext(context), FWidth(width), FHeight(height) {
    cairo_save(FContext);
}

TCairoDevice::~TCairoDevice() {
    if (FLayout) g_object_unref(FLayout);
    cairo_restore(FContext);
}

void TCairoDevice::SetColor(TColor color) {
    const TRGB c = RGBOf(color);
    cairo_set_source_rgb(FContext, c.R, c.G, c.B);
}

void TCairoDevice::SetClip(const TRect& clip) {
    cairo_reset_clip(FContext);
    cairo_rectangle(FContext, clip.Left, clip.Top, std::max(clip.Width(), 0), std::max(clip.Height(), 0));
    cairo_clip(FContext);
}

void TCairoDevice::FillRect(const TRect& rect, TColor color) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    SetColor(color);
    cairo_rectangle(FContext, rect.Left, rect.Top, rect.Width(), rect.Height());
    cairo_fill(FContext);
}

void TCairoDevice::FrameRect(const TRect& rect, TColor color, int width) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    // Four bands inside the rectangle: whole pixels, no antialiased edges.
    const int w = std::min({std::max(width, 1), (rect.Width() + 1) / 2, (rect.Height() + 1) / 2});
    FillRect(Rect(rect.Left, rect.Top, rect.Right, rect.Top + w), color);
    FillRect(Rect(rect.Left, rect.Bottom - w, rect.Right, rect.Bottom), color);
    FillRect(Rect(rect.Left, rect.Top + w, rect.Left + w, rect.Bottom - w), color);
    FillRect(Rect(rect.Right - w, rect.Top + w, rect.Right, rect.Bottom - w), color);
}

void TCairoDevice::Line(TPoint from, TPoint to, const TLinePen& pen) {
    if (pen.Style == psClear || from == to) return;
    SetColor(pen.Color);
    const double width = std::max(pen.Width, 1);
    cairo_set_line_width(FContext, width);
    cairo_set_line_cap(FContext, CAIRO_LINE_CAP_BUTT);
    const double dash[] = {pen.Style == psDot ? width : 3 * width, width};
    cairo_set_dash(FContext, dash, pen.Style == psSolid ? 0 : 2, 0);
    // Straight lines cover whole pixels: along the line from pixel edge to
    // pixel edge (the end pixel left out), across it centred on the pixels
    // when the width is odd.
    const double across = pen.Width % 2 != 0 ? 0.5 : 0.0;
    const double ox = from.Y == to.Y ? 0.0 : from.X == to.X ? across : 0.5;
    const double oy = from.X == to.X ? 0.0 : from.Y == to.Y ? across : 0.5;
    cairo_move_to(FContext, from.X + ox, from.Y + oy);
    cairo_line_to(FContext, to.X + ox, to.Y + oy);
    cairo_stroke(FContext);
    cairo_set_dash(FContext, nullptr, 0, 0);
}

void TCairoDevice::Image(const TRect& dest, const TBitmap& bitmap, const TRect& source, bool transparent,
                         std::uint32_t key) {
    if (source.Width() <= 0 || source.Height() <= 0 || dest.Width() <= 0 || dest.Height() <= 0) return;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, source.Width(), source.Height());
    const int stride = cairo_image_surface_get_stride(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    cairo_surface_flush(image);
    for (int y = 0; y < source.Height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint32_t rgb = bitmap.Pixels(source.Left + x, source.Top + y) & 0xFFFFFF;
            // Premultiplied ARGB: a left-out pixel is all zero.
            row[x] = transparent && rgb == (key & 0xFFFFFF) ? 0 : 0xFF000000u | rgb;
        }
    }
    cairo_surface_mark_dirty(image);
    cairo_save(FContext);
    cairo_translate(FContext, dest.Left, dest.Top);
    cairo_scale(FContext, static_cast<double>(dest.Width()) / source.Width(),
                static_cast<double>(dest.Height()) / source.Height());
    cairo_set_source_surface(FContext, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(FContext), CAIRO_FILTER_NEAREST);
    cairo_rectangle(FContext, 0, 0, source.Width(), source.Height());
    cairo_fill(FContext);
    cairo_restore(FContext);
    cairo_surface_destroy(image);
}

void TCairoDevice::SetCaret(int x, int y, int height) { FCaret = Bounds(x, y, 1, height); }

void TCairoDevice::HideCaret() { FCaret.reset(); }

} // namespace host::gtk
