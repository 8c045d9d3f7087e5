// TCairoDevice's text: Pango layouts in the font's face.

#include "host/gtk/CairoDevice.h"

#include "host/ui/Font.h"

#include <pango/pangocairo.h>

namespace host::gtk {

namespace {

PangoFontDescription* Describe(const TFont& font) {
    PangoFontDescription* description = pango_font_description_new();
    // A list, so a face the machine lacks falls back to a sans one.
    const std::string family = font.Name().empty() ? std::string("Sans") : font.Name() + ",Sans";
    pango_font_description_set_family(description, family.c_str());
    // Forms are laid out at 96 pixels an inch: a point is 4/3 of a pixel.
    const int points = font.Size() > 0 ? font.Size() : 8;
    pango_font_description_set_absolute_size(description, points * 96.0 / 72.0 * PANGO_SCALE);
    if (font.Style().Contains(fsBold)) pango_font_description_set_weight(description, PANGO_WEIGHT_BOLD);
    if (font.Style().Contains(fsItalic)) pango_font_description_set_style(description, PANGO_STYLE_ITALIC);
    return description;
}

} // namespace

PangoLayout* TCairoDevice::Layout(const std::string& text, const TFont& font) {
    if (!FLayout) FLayout = pango_cairo_create_layout(FContext);
    PangoFontDescription* description = Describe(font);
    pango_layout_set_font_description(FLayout, description);
    pango_font_description_free(description);
    PangoAttrList* attrs = pango_attr_list_new();
    if (font.Style().Contains(fsUnderline)) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.Style().Contains(fsStrikeOut)) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(FLayout, attrs);
    pango_attr_list_unref(attrs);
    // Invalid UTF-8 would be refused whole: such bytes show as U+FFFD.
    gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
    pango_layout_set_text(FLayout, valid, -1);
    g_free(valid);
    return FLayout;
}

TPoint TCairoDevice::TextExtent(const std::string& text, const TFont& font) {
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(Layout(text, font), &width, &height);
    return Point(width, height);
}

void TCairoDevice::Text(int x, int y, const std::string& text, const TFont& font, bool opaque, TColor back) {
    PangoLayout* layout = Layout(text, font);
    if (opaque) {
        int width = 0;
        int height = 0;
        pango_layout_get_pixel_size(layout, &width, &height);
        FillRect(Bounds(x, y, width, height), back);
    }
    SetColor(font.Color());
    cairo_move_to(FContext, x, y);
    pango_cairo_show_layout(FContext, layout);
}

} // namespace host::gtk
