// TCanvas on a pixel device: a Cairo image surface, no display needed.

#include "host/gtk/CairoDevice.h"
#include "host/ui/Canvas.h"
#include "host/ui/Graphics.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>

using namespace host;
using host::gtk::TCairoDevice;

namespace {

class PixelCanvas : public ::testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 60;

    PixelCanvas()
        : image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight)),
          context(cairo_create(image)),
          device(std::make_unique<TCairoDevice>(context, kWidth, kHeight)),
          canvas(std::make_unique<TCanvas>(*device)) {
        canvas->Brush()->SetColor(clWhite);
        canvas->FillRect(Rect(0, 0, kWidth, kHeight));
    }
    ~PixelCanvas() override {
        canvas.reset();
        device.reset();
        cairo_destroy(context);
        cairo_surface_destroy(image);
    }

    // 0x00RRGGBB of a pixel.
    std::uint32_t At(int x, int y) {
        cairo_surface_flush(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
    }
    // Pixels in a rectangle that are not white.
    int Ink(const TRect& r) {
        int count = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) count += At(x, y) != 0xFFFFFF;
        return count;
    }

    cairo_surface_t* image;
    cairo_t* context;
    std::unique_ptr<TCairoDevice> device;
    std::unique_ptr<TCanvas> canvas;
};

TEST_F(PixelCanvas, TextIsMeasuredAndDrawnWhereItsGlyphsAre) {
    canvas->Font()->SetName("DejaVu Sans");
    canvas->Font()->SetSize(10);
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    const int one = canvas->TextWidth("W");
    const int height = canvas->TextHeight("W");
    // Proportional, not a cell per character: an i is narrower than a W.
    EXPECT_GT(one, 0);
    EXPECT_LT(canvas->TextWidth("i"), one);
    EXPECT_GT(canvas->TextWidth("WW"), one);
    EXPECT_GE(height, 10);
    EXPECT_LE(height, 20);

    canvas->TextOut(20, 10, "W");
    EXPECT_GT(Ink(Bounds(20, 10, one, height)), 10);
    EXPECT_EQ(Ink(Rect(0, 0, 20, kHeight)), 0);
    EXPECT_EQ(Ink(Rect(21 + one, 0, kWidth, kHeight)), 0);
    EXPECT_EQ(canvas->PenPos(), Point(20 + one, 10));

    // Bold is wider; an opaque brush fills the text's box.
    canvas->Font()->SetStyle(TFontStyles{fsBold});
    EXPECT_GT(canvas->TextWidth("WWWW"), 4 * one);
    canvas->Brush()->SetColor(clRed);
    canvas->TextOut(80, 10, "W");
    EXPECT_EQ(At(80, 10), 0xFF0000u);
}

TEST_F(PixelCanvas, BitmapsKeepTrueColourAndLeaveOutTheTransparentOne) {
    Owned<TBitmap> bitmap(TBitmap::Create());
    bitmap->SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) bitmap->SetPixel(x, y, x == 1 && y == 1 ? 0x0000FF : 0x123456);
    canvas->Brush()->SetColor(clLime);
    canvas->FillRect(Rect(0, 0, 60, 20));

    canvas->Draw(0, 0, bitmap.get());
    EXPECT_EQ(At(0, 0), 0x123456u);
    EXPECT_EQ(At(1, 1), 0x0000FFu);
    EXPECT_EQ(At(4, 4), 0x00FF00u);

    canvas->DrawTransparent(10, 0, bitmap.get(), 0x0000FF);
    EXPECT_EQ(At(10, 0), 0x123456u);
    EXPECT_EQ(At(11, 1), 0x00FF00u);

    // A glyph takes its bottom left pixel as transparent.
    bitmap->SetPixel(0, 3, 0x0000FF);
    canvas->DrawGlyph(20, 0, bitmap.get(), Rect(0, 0, 4, 4));
    EXPECT_EQ(At(20, 3), 0x00FF00u);
    EXPECT_EQ(At(22, 2), 0x123456u);

    // Scaled twice: the one blue pixel becomes two by two.
    canvas->StretchDraw(Rect(30, 0, 38, 8), bitmap.get());
    EXPECT_EQ(At(32, 2), 0x0000FFu);
    EXPECT_EQ(At(33, 3), 0x0000FFu);
    EXPECT_EQ(At(34, 4), 0x123456u);
}

TEST_F(PixelCanvas, ClipAndOriginBoundWhatIsDrawn) {
    canvas->SetOrigin(Point(20, 10));
    canvas->SetClipRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(canvas->ClipRect(), Rect(0, 0, 10, 10));
    canvas->Brush()->SetColor(clBlack);
    canvas->FillRect(Rect(-100, -100, 100, 100));
    EXPECT_EQ(Ink(Rect(0, 0, kWidth, kHeight)), 100);
    EXPECT_EQ(At(20, 10), 0u);
    EXPECT_EQ(At(29, 19), 0u);
    EXPECT_EQ(At(30, 19), 0xFFFFFFu);

    // Text clipped by TextRect: nothing outside the rectangle.
    canvas->SetOrigin(Point(0, 0));
    canvas->SetClipRect(Rect(0, 0, kWidth, kHeight));
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(Rect(0, 0, kWidth, kHeight));
    canvas->Font()->SetColor(clBlack);
    canvas->TextRect(Rect(50, 20, 56, 40), 50, 20, "WWWW");
    EXPECT_GT(Ink(Rect(50, 20, 56, 40)), 0);
    EXPECT_EQ(Ink(Rect(56, 0, kWidth, kHeight)), 0);
}

TEST_F(PixelCanvas, PensFramesAndSystemColours) {
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(3);
    canvas->MoveTo(10, 10);
    canvas->LineTo(60, 10);
    // Three rows, the middle one through the line's pixels.
    EXPECT_EQ(Ink(Rect(0, 0, kWidth, kHeight)), 150);
    EXPECT_EQ(At(30, 9), 0u);
    EXPECT_EQ(At(30, 11), 0u);
    EXPECT_EQ(At(60, 10), 0xFFFFFFu);

    // A frame is one pixel wide, inside the rectangle, in the brush's colour.
    canvas->Brush()->SetColor(clHighlight);
    canvas->FrameRect(Rect(70, 20, 80, 30));
    const std::uint32_t bgr = static_cast<std::uint32_t>(ColorToRGB(clHighlight));
    const std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    EXPECT_EQ(At(70, 20), rgb);
    EXPECT_EQ(At(79, 29), rgb);
    EXPECT_EQ(At(75, 25), 0xFFFFFFu);
    EXPECT_EQ(At(80, 30), 0xFFFFFFu);

    // A dotted pen leaves gaps.
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psDot);
    canvas->MoveTo(0, 50);
    canvas->LineTo(40, 50);
    const int dots = Ink(Rect(0, 50, 40, 51));
    EXPECT_GT(dots, 10);
    EXPECT_LT(dots, 30);

    // The caret shows only inside the clip.
    canvas->SetCaretPos(5, 5);
    ASSERT_TRUE(device->Caret().has_value());
    canvas->SetClipRect(Rect(0, 0, 4, 4));
    canvas->SetCaretPos(5, 5);
    EXPECT_FALSE(device->Caret().has_value());
}

} // namespace
