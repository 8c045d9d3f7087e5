// A form painted through the pixel canvas, as a window paints it, and the
// keys of the windowing toolkit as the host takes them. No display needed.

#include "host/gtk/CairoDevice.h"
#include "host/gtk/FormPicture.h"
#include "host/gtk/GtkKeys.h"
#include "host/ui/Canvas.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

#include <cairo.h>
#include <gdk/gdk.h>
#include <gtest/gtest.h>

using namespace host;
using namespace host::gtk;

namespace {

std::uint32_t RGBPixel(TColor color) {
    const auto bgr = static_cast<std::uint32_t>(ColorToRGB(color));
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

struct TImage {
    TImage(int width, int height) : Surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)) {}
    ~TImage() { cairo_surface_destroy(Surface); }
    std::uint32_t At(int x, int y) const {
        cairo_surface_flush(Surface);
        const unsigned char* data = cairo_image_surface_get_data(Surface);
        return *reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(Surface) + x * 4) &
               0xFFFFFF;
    }
    int CountNot(const TRect& r, std::uint32_t rgb) const {
        int count = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) count += At(x, y) != rgb;
        return count;
    }
    void Paint(TCustomForm* form) {
        cairo_t* cr = cairo_create(Surface);
        {
            TCairoDevice device(cr, cairo_image_surface_get_width(Surface), cairo_image_surface_get_height(Surface));
            TCanvas canvas(device);
            PaintFormClient(form, canvas);
        }
        cairo_destroy(cr);
    }
    cairo_surface_t* Surface;
};

} // namespace

TEST(GtkFormPaint, ControlsPaintInPixelsAndInvalidationIsSeen) {
    Owned<TForm> form(TForm::Create(nullptr));
    form->SetClientWidth(200);
    form->SetClientHeight(80);
    TEdit* edit = TEdit::Create(form.get());
    edit->SetBounds(10, 10, 120, 21);
    edit->SetParent(form.get());
    TButton* button = TButton::Create(form.get());
    button->SetBounds(10, 45, 75, 25);
    button->SetCaption("OK");
    button->SetParent(form.get());
    EXPECT_TRUE(FormPaintPending(form.get()));

    TImage image(200, 80);
    image.Paint(form.get());
    EXPECT_FALSE(FormPaintPending(form.get()));
    // The form's colour around the controls, the edit's inside it.
    EXPECT_EQ(image.At(190, 5), RGBPixel(form->Color()));
    EXPECT_EQ(image.At(60, 20), RGBPixel(edit->Color()));
    // The button's caption is drawn as glyphs: ink inside the button.
    EXPECT_GT(image.CountNot(Rect(12, 47, 83, 68), RGBPixel(button->Color())), 10);

    const int blank = image.CountNot(Rect(12, 12, 128, 29), RGBPixel(edit->Color()));
    edit->SetText("Hello");
    EXPECT_TRUE(FormPaintPending(form.get()));
    image.Paint(form.get());
    EXPECT_GT(image.CountNot(Rect(12, 12, 128, 29), RGBPixel(edit->Color())), blank + 20);
}

TEST(GtkKeys, KeysMapAsTheTerminalDeliversThem) {
    // Printable characters are typed, Unicode included.
    EXPECT_EQ(TranslateKey(GDK_KEY_c, 0).Text, "c");
    EXPECT_EQ(TranslateKey(GDK_KEY_C, GDK_SHIFT_MASK).Text, "C");
    EXPECT_EQ(TranslateKey(GDK_KEY_eacute, 0).Text, "\xC3\xA9");
    EXPECT_EQ(TranslateKey(GDK_KEY_space, 0).Text, " ");
    // With Ctrl or Alt a letter is a key press, offered to the shortcuts.
    const TGtkKey quit = TranslateKey(GDK_KEY_q, GDK_CONTROL_MASK);
    EXPECT_TRUE(quit.Text.empty());
    EXPECT_EQ(quit.Key, 'Q');
    EXPECT_EQ(quit.Shift, TShiftState{ssCtrl});
    const TGtkKey lookup = TranslateKey(GDK_KEY_F1, GDK_CONTROL_MASK);
    EXPECT_EQ(lookup.Key, VK_F1);
    EXPECT_EQ(lookup.Shift, TShiftState{ssCtrl});
    EXPECT_EQ(TranslateKey(GDK_KEY_c, GDK_ALT_MASK).Shift, TShiftState{ssAlt});
    // Keys that type nothing.
    EXPECT_EQ(TranslateKey(GDK_KEY_Return, 0).Key, VK_RETURN);
    EXPECT_EQ(TranslateKey(GDK_KEY_KP_Down, 0).Key, VK_DOWN);
    EXPECT_EQ(TranslateKey(GDK_KEY_Escape, 0).Key, VK_ESCAPE);
    EXPECT_EQ(TranslateKey(GDK_KEY_BackSpace, 0).Key, VK_BACK);
    const TGtkKey back = TranslateKey(GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK);
    EXPECT_EQ(back.Key, VK_TAB);
    EXPECT_EQ(back.Shift, TShiftState{ssShift});
    // A key the host has no code for is neither.
    const TGtkKey none = TranslateKey(GDK_KEY_Shift_L, GDK_SHIFT_MASK);
    EXPECT_EQ(none.Key, 0);
    EXPECT_TRUE(none.Text.empty());
    EXPECT_FALSE(DeliverKey(none));
}
