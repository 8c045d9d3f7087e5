#include "host/ui/BmpFormat.h"

#include <bit>
#include <limits>
#include <string>

namespace host {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;

[[noreturn]] void Invalid(const std::string& why) { throw EInvalidGraphic("Invalid bitmap: " + why); }

// Little-endian reads that never leave the buffer.
class TByteReader {
public:
    TByteReader(const unsigned char* data, std::size_t size) : FData(data), FSize(size) {}
    std::size_t Size() const { return FSize; }
    const unsigned char* At(std::size_t offset, std::size_t count) const {
        if (offset > FSize || count > FSize - offset) Invalid("data is truncated");
        return FData + offset;
    }
    std::uint16_t U16(std::size_t offset) const {
        const unsigned char* p = At(offset, 2);
        return static_cast<std::uint16_t>(p[0] | p[1] << 8);
    }
    std::uint32_t U32(std::size_t offset) const {
        const unsigned char* p = At(offset, 4);
        return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    }
    std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

private:
    const unsigned char* FData;
    std::size_t FSize;
};

// The fields of the info header that decide how the pixels read.
struct TDibHeader {
    std::uint32_t HeaderSize = 0;
    std::int64_t Width = 0;
    std::int64_t Height = 0;   // negative: top row first
    int BitsPerPixel = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t ColorsUsed = 0;
    std::size_t PaletteEntrySize = 4;
};

TDibHeader ReadDibHeader(const TByteReader& in) {
    TDibHeader h;
    h.HeaderSize = in.U32(FileHeaderSize);
    if (h.HeaderSize != CoreHeaderSize && h.HeaderSize < InfoHeaderSize)
        Invalid("unknown header size " + std::to_string(h.HeaderSize));
    in.At(FileHeaderSize, h.HeaderSize);
    const std::size_t at = FileHeaderSize + 4;
    int planes = 0;
    if (h.HeaderSize == CoreHeaderSize) {
        h.Width = in.U16(at);
        h.Height = in.U16(at + 2);
        planes = in.U16(at + 4);
        h.BitsPerPixel = in.U16(at + 6);
        h.PaletteEntrySize = 3;
    } else {
        h.Width = in.I32(at);
        h.Height = in.I32(at + 4);
        planes = in.U16(at + 8);
        h.BitsPerPixel = in.U16(at + 10);
        h.Compression = in.U32(at + 12);
        h.ColorsUsed = in.U32(at + 28);
    }
    if (planes != 1) Invalid(std::to_string(planes) + " colour planes");
    if (h.Width <= 0 || h.Height == 0 || h.Width > std::numeric_limits<int>::max() ||
        h.Height == std::numeric_limits<std::int32_t>::min())
        Invalid("size " + std::to_string(h.Width) + " x " + std::to_string(h.Height));
    switch (h.BitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: Invalid(std::to_string(h.BitsPerPixel) + " bits per pixel");
    }
    const bool masked = h.Compression == BI_BITFIELDS && (h.BitsPerPixel == 16 || h.BitsPerPixel == 32);
    if (h.Compression != BI_RGB && !masked) Invalid("compression " + std::to_string(h.Compression) + " is not supported");
    return h;
}

// One colour channel taken from a pixel by its mask, scaled to 8 bits.
class TChannel {
public:
    explicit TChannel(std::uint32_t mask)
        : FMask(mask), FShift(mask ? std::countr_zero(mask) : 0), FBits(std::popcount(mask)) {
        if (mask && std::popcount(mask >> FShift) != std::countr_one(mask >> FShift)) Invalid("colour mask is not contiguous");
    }
    std::uint32_t Get(std::uint32_t pixel) const {
        if (!FMask) return 0;
        const std::uint32_t v = (pixel & FMask) >> FShift;
        if (FBits >= 8) return v >> (FBits - 8);
        return v * 255u / ((1u << FBits) - 1u);
    }

private:
    std::uint32_t FMask;
    int FShift;
    int FBits;
};

struct TColorMasks {
    TChannel Red, Green, Blue;
    std::uint32_t Color(std::uint32_t pixel) const { return Red.Get(pixel) << 16 | Green.Get(pixel) << 8 | Blue.Get(pixel); }
};

// Where the masks of a BI_BITFIELDS image are: inside a long header, else
// right after a 40-byte one. Answers the offset just past them.
std::size_t ReadMasks(const TByteReader& in, const TDibHeader& h, std::uint32_t (&masks)[3]) {
    const std::size_t headerEnd = FileHeaderSize + h.HeaderSize;
    if (h.Compression != BI_BITFIELDS) {
        const bool wide = h.BitsPerPixel == 32;
        masks[0] = wide ? 0xFF0000u : 0x7C00u;
        masks[1] = wide ? 0x00FF00u : 0x03E0u;
        masks[2] = wide ? 0x0000FFu : 0x001Fu;
        return headerEnd;
    }
    const std::size_t at = h.HeaderSize >= 52 ? FileHeaderSize + InfoHeaderSize : headerEnd;
    for (int i = 0; i < 3; ++i) masks[i] = in.U32(at + 4 * i);
    return h.HeaderSize >= 52 ? headerEnd : headerEnd + 12;
}

std::vector<std::uint32_t> ReadPalette(const TByteReader& in, const TDibHeader& h, std::size_t at) {
    const std::uint32_t capacity = 1u << h.BitsPerPixel;
    const std::uint32_t count = h.ColorsUsed ? h.ColorsUsed : capacity;
    if (count > capacity)
        Invalid(std::to_string(count) + " palette colours for " + std::to_string(h.BitsPerPixel) + " bits per pixel");
    const unsigned char* p = in.At(at, std::size_t(count) * h.PaletteEntrySize);
    std::vector<std::uint32_t> palette(count);
    for (std::uint32_t i = 0; i < count; ++i, p += h.PaletteEntrySize)
        palette[i] = std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    return palette;
}

std::uint32_t IndexAt(const unsigned char* row, std::int64_t x, int bits) {
    const std::int64_t bit = x * bits;
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    return (row[bit / 8] >> shift) & ((1u << bits) - 1u);
}

std::uint32_t ColorAt(const unsigned char* row, std::int64_t x, int bits, const TColorMasks& masks) {
    const unsigned char* p = row + x * (bits / 8);
    switch (bits) {
    case 16: return masks.Color(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8);
    case 24: return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
    default: return masks.Color(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
    }
}

std::size_t Stride(std::int64_t width, int bits) { return static_cast<std::size_t>((width * bits + 31) / 32 * 4); }

} // namespace

TBitmapImage DecodeBmp(const unsigned char* data, std::size_t size) {
    if (!data) Invalid("no data");
    const TByteReader in(data, size);
    const unsigned char* magic = in.At(0, FileHeaderSize);
    if (magic[0] != 'B' || magic[1] != 'M') Invalid("not a BMP file");
    const std::uint32_t pixelOffset = in.U32(10);
    const TDibHeader h = ReadDibHeader(in);

    TBitmapImage image;
    image.Width = static_cast<int>(h.Width);
    image.Height = static_cast<int>(h.Height < 0 ? -h.Height : h.Height);
    image.BitsPerPixel = h.BitsPerPixel == 16 ? 24 : h.BitsPerPixel;
    std::uint32_t masks[3];
    const std::size_t tablesEnd = ReadMasks(in, h, masks);
    std::size_t headersEnd = tablesEnd;
    if (image.Indexed()) {
        image.Palette = ReadPalette(in, h, tablesEnd);
        headersEnd += image.Palette.size() * h.PaletteEntrySize;
    }
    if (pixelOffset < headersEnd) Invalid("pixel data overlaps the headers");
    if (pixelOffset > size) Invalid("data is truncated");

    const std::size_t stride = Stride(h.Width, h.BitsPerPixel);
    const std::size_t available = size - pixelOffset;
    const auto rows = static_cast<std::size_t>(image.Height);
    if (stride > available || rows > available / stride) Invalid("data is truncated");

    const TColorMasks colorMasks{TChannel(masks[0]), TChannel(masks[1]), TChannel(masks[2])};
    image.Pixels.resize(rows * static_cast<std::size_t>(image.Width));
    const bool topDown = h.Height < 0;
    for (std::size_t r = 0; r < rows; ++r) {
        const unsigned char* row = data + pixelOffset + r * stride;
        std::uint32_t* out = image.Pixels.data() + (topDown ? r : rows - 1 - r) * image.Width;
        for (std::int64_t x = 0; x < h.Width; ++x) {
            if (!image.Indexed()) {
                out[x] = ColorAt(row, x, h.BitsPerPixel, colorMasks);
                continue;
            }
            out[x] = IndexAt(row, x, h.BitsPerPixel);
            if (out[x] >= image.Palette.size())
                Invalid("pixel colour " + std::to_string(out[x]) + " is outside the " +
                        std::to_string(image.Palette.size()) + "-colour palette");
        }
    }
    return image;
}

namespace {

void PutU16(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void PutU32(std::vector<unsigned char>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFFu);
    PutU16(out, v >> 16);
}

void PutRow(std::vector<unsigned char>& out, const std::uint32_t* pixels, int width, int bits, std::size_t stride) {
    const std::size_t start = out.size();
    out.resize(start + stride, 0);
    unsigned char* row = out.data() + start;
    for (int x = 0; x < width; ++x) {
        const std::uint32_t v = pixels[x];
        if (bits <= 8) {
            const int bit = x * bits;
            row[bit / 8] |= static_cast<unsigned char>(v << (8 - bits - bit % 8));
            continue;
        }
        unsigned char* p = row + static_cast<std::size_t>(x) * (bits / 8);
        p[0] = static_cast<unsigned char>(v);
        p[1] = static_cast<unsigned char>(v >> 8);
        p[2] = static_cast<unsigned char>(v >> 16);
    }
}

} // namespace

std::vector<unsigned char> EncodeBmp(const TBitmapImage& image) {
    const int bits = image.BitsPerPixel;
    const std::size_t paletteSize = image.Indexed() ? image.Palette.size() * 4 : 0;
    const std::size_t stride = Stride(image.Width, bits);
    const std::size_t pixelOffset = FileHeaderSize + InfoHeaderSize + paletteSize;
    const std::size_t imageSize = stride * static_cast<std::size_t>(image.Height);
    if (pixelOffset + imageSize > std::numeric_limits<std::uint32_t>::max())
        throw EInvalidGraphic("Bitmap too large for a BMP file");

    std::vector<unsigned char> out;
    out.reserve(pixelOffset + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(pixelOffset + imageSize));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(pixelOffset));
    PutU32(out, InfoHeaderSize);
    PutU32(out, static_cast<std::uint32_t>(image.Width));
    PutU32(out, static_cast<std::uint32_t>(image.Height));
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(bits));
    PutU32(out, BI_RGB);
    PutU32(out, static_cast<std::uint32_t>(imageSize));
    PutU32(out, 2835);   // 72 dots per inch, both ways
    PutU32(out, 2835);
    PutU32(out, image.Indexed() ? static_cast<std::uint32_t>(image.Palette.size()) : 0);
    PutU32(out, 0);
    if (image.Indexed())
        for (std::uint32_t color : image.Palette) PutU32(out, color & 0xFFFFFFu);
    for (int y = image.Height - 1; y >= 0; --y)
        PutRow(out, image.Pixels.data() + static_cast<std::size_t>(y) * image.Width, image.Width, bits, stride);
    return out;
}

} // namespace host
