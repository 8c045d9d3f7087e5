#pragma once
// TBitmap: a picture in memory that reads and writes the BMP file format, as
// a file, a block of memory, a stream or a module's bitmap resource. Colours
// are 0x00RRGGBB. Every change of the picture calls OnChange.

#include "host/core/Export.h"
#include "host/core/Event.h"
#include "host/core/Object.h"
#include "host/package/Module.h"
#include "host/ui/BmpFormat.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

enum TPixelFormat { pf1bit, pf4bit, pf8bit, pf24bit, pf32bit };

class TBitmap : public TPersistent {
    HOST_CLASS(TBitmap, TPersistent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    int Width() const { return FImage.Width; }
    int Height() const { return FImage.Height; }
    bool Empty() const { return FImage.Width == 0 || FImage.Height == 0; }
    // Keeps the pixels that stay inside; new ones are black (palette entry 0
    // in a palette format). Raises EInvalidGraphic for a negative or huge size.
    void SetSize(int width, int height);
    void SetWidth(int value) { SetSize(value, Height()); }
    void SetHeight(int value) { SetSize(Width(), value); }

    // A new bitmap is 24 bits per pixel.
    TPixelFormat PixelFormat() const;
    // Converts the pixels, keeping their colours as closely as the new format
    // allows. A palette format gets the standard palette of its size unless
    // the current palette fits in it.
    void SetPixelFormat(TPixelFormat value);
    int BitsPerPixel() const { return FImage.BitsPerPixel; }

    // Empty for 24 and 32 bits per pixel.
    const std::vector<std::uint32_t>& Palette() const { return FImage.Palette; }
    // Only for palette formats; raises EInvalidGraphic when Colors is empty,
    // larger than the format allows, or smaller than a pixel needs.
    void SetPalette(const std::vector<std::uint32_t>& colors);

    // Raise EInvalidOperation for a pixel outside the bitmap.
    std::uint32_t Pixels(int x, int y) const;
    // In a palette format the pixel takes the nearest palette colour.
    void SetPixel(int x, int y, std::uint32_t color);
    // The palette entry of a pixel; raise EInvalidGraphic in a format without
    // a palette or for an entry the palette lacks.
    int PaletteIndex(int x, int y) const;
    void SetPaletteIndex(int x, int y, int index);

    // Zero bytes make an empty bitmap; anything else must be a whole BMP file
    // or EInvalidGraphic is raised and the bitmap stays as it was.
    void LoadFromMemory(const void* data, std::size_t size);
    // Reads the stream to its end.
    void LoadFromStream(std::istream& stream);
    // Raises Exception "Cannot open file X" for a file that does not open.
    void LoadFromFile(const std::string& path);
    // Raises EResNotFound "Resource X not found" when the module carries no
    // bitmap of that name (letter case ignored).
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);

    // A BMP file; no bytes at all for an empty bitmap.
    std::vector<unsigned char> SaveToMemory() const;
    void SaveToStream(std::ostream& stream) const;
    void SaveToFile(const std::string& path) const;

    // Copies another bitmap's picture (not its OnChange).
    void Assign(const TPersistent* source) override;
    bool SamePicture(const TBitmap& other) const { return FImage == other.FImage; }

    TNotifyEvent OnChange;

protected:
    TBitmap() = default;
    virtual void Changed();

private:
    VESKAR_LOCAL std::size_t PixelAt(int x, int y) const;
    VESKAR_LOCAL void SetImage(TBitmapImage image);

    TBitmapImage FImage;
};

} // namespace host

VESKAR_PUBLIC_END
