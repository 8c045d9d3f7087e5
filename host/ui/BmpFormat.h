#pragma once
// The BMP file format: reading a file's bytes into a plain image and writing
// one back. Reading checks every header field and size against the bytes it
// is given and raises EInvalidGraphic for anything it cannot trust.
//
// Read: 1, 4 and 8 bits per pixel with a palette, 16, 24 and 32 bits without
// one (16 and 32 also with colour masks), rows bottom-up or top-down, with
// the 12-byte and the 40-byte-or-longer info headers. Compressed pixel data
// (run-length) is refused. Written: 1, 4, 8, 24 and 32 bits, bottom-up, with
// the 40-byte header.

#include "host/core/Export.h"
#include "host/core/Exception.h"

#include <cstddef>
#include <cstdint>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

// A picture that does not read, or an operation a picture cannot take.
class EInvalidGraphic : public Exception { using Exception::Exception; };

struct TBitmapImage {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 24;                // 1, 4, 8, 24 or 32
    std::vector<std::uint32_t> Palette;   // 0x00RRGGBB, for 1, 4 and 8 bits
    // One entry per pixel, the top row first: a palette index for 1, 4 and 8
    // bits, else the colour as 0x00RRGGBB.
    std::vector<std::uint32_t> Pixels;

    bool Indexed() const { return BitsPerPixel <= 8; }
    bool operator==(const TBitmapImage&) const = default;
};

// A 16 or 24-bit file reads as 24 bits.
TBitmapImage DecodeBmp(const unsigned char* data, std::size_t size);
// The image must be consistent (pixel count, palette size, indices).
std::vector<unsigned char> EncodeBmp(const TBitmapImage& image);

} // namespace host

VESKAR_PUBLIC_END
