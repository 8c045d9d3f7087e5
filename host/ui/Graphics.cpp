#include "host/ui/Graphics.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/package/Resource.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>
#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>

namespace host {

HOST_IMPLEMENT_CLASS(TBitmap, TPersistent)

namespace {

// Guards against a size given by mistake allocating the whole memory.
constexpr int MaxSide = 32767;
constexpr long long MaxPixels = 1LL << 24;

int Bits(TPixelFormat format) {
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf24bit: return 24;
    case pf32bit: return 32;
    }
    throw EInvalidGraphic("Unknown pixel format");
}

std::vector<std::uint32_t> StandardPalette(int bits) {
    static const std::vector<std::uint32_t> sixteen = {
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    if (bits == 1) return {0x000000, 0xFFFFFF};
    std::vector<std::uint32_t> palette = sixteen;
    if (bits == 4) return palette;
    // The sixteen, a 6 x 6 x 6 colour cube, then 24 greys.
    for (std::uint32_t r = 0; r < 6; ++r)
        for (std::uint32_t g = 0; g < 6; ++g)
            for (std::uint32_t b = 0; b < 6; ++b) palette.push_back(r * 51 << 16 | g * 51 << 8 | b * 51);
    for (std::uint32_t i = 0; i < 24; ++i) {
        const std::uint32_t v = 8 + 10 * i;
        palette.push_back(v << 16 | v << 8 | v);
    }
    return palette;
}

std::uint32_t Distance(std::uint32_t a, std::uint32_t b) {
    std::uint32_t sum = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        sum += static_cast<std::uint32_t>(d * d);
    }
    return sum;
}

std::uint32_t NearestIndex(const std::vector<std::uint32_t>& palette, std::uint32_t color) {
    std::uint32_t best = 0;
    for (std::uint32_t i = 1; i < palette.size(); ++i)
        if (Distance(palette[i], color) < Distance(palette[best], color)) best = i;
    return best;
}

// The image's pixels as colours, whatever its format.
std::vector<std::uint32_t> Colors(const TBitmapImage& image) {
    if (!image.Indexed()) return image.Pixels;
    std::vector<std::uint32_t> colors(image.Pixels.size());
    std::transform(image.Pixels.begin(), image.Pixels.end(), colors.begin(),
                   [&](std::uint32_t index) { return image.Palette[index]; });
    return colors;
}

TBitmapImage Converted(const TBitmapImage& image, int bits) {
    TBitmapImage result = image;
    result.BitsPerPixel = bits;
    if (bits > 8) {
        result.Palette.clear();
        result.Pixels = Colors(image);
        return result;
    }
    if (image.Indexed() && image.Palette.size() <= (1u << bits)) return result;
    result.Palette = StandardPalette(bits);
    const std::vector<std::uint32_t> colors = Colors(image);
    std::transform(colors.begin(), colors.end(), result.Pixels.begin(),
                   [&](std::uint32_t color) { return NearestIndex(result.Palette, color); });
    return result;
}

} // namespace

void TBitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide ||
        static_cast<long long>(width) * height > MaxPixels)
        throw EInvalidGraphic("Invalid bitmap size " + std::to_string(width) + " x " + std::to_string(height));
    if (width == Width() && height == Height()) return;
    TBitmapImage image = FImage;
    image.Width = width;
    image.Height = height;
    image.Pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < std::min(height, Height()); ++y)
        for (int x = 0; x < std::min(width, Width()); ++x)
            image.Pixels[static_cast<std::size_t>(y) * width + x] = FImage.Pixels[PixelAt(x, y)];
    SetImage(std::move(image));
}

TPixelFormat TBitmap::PixelFormat() const {
    switch (FImage.BitsPerPixel) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 32: return pf32bit;
    default: return pf24bit;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    const int bits = Bits(value);
    if (bits == FImage.BitsPerPixel) return;
    SetImage(Converted(FImage, bits));
}

void TBitmap::SetPalette(const std::vector<std::uint32_t>& colors) {
    if (!FImage.Indexed())
        throw EInvalidGraphic("A " + std::to_string(FImage.BitsPerPixel) + "-bit bitmap has no palette");
    if (colors.empty() || colors.size() > (1u << FImage.BitsPerPixel))
        throw EInvalidGraphic("A " + std::to_string(FImage.BitsPerPixel) + "-bit palette cannot hold " +
                              std::to_string(colors.size()) + " colours");
    const auto highest = std::max_element(FImage.Pixels.begin(), FImage.Pixels.end());
    if (highest != FImage.Pixels.end() && *highest >= colors.size())
        throw EInvalidGraphic("The bitmap uses palette entry " + std::to_string(*highest));
    TBitmapImage image = FImage;
    image.Palette.clear();
    for (std::uint32_t color : colors) image.Palette.push_back(color & 0xFFFFFFu);
    SetImage(std::move(image));
}

std::size_t TBitmap::PixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        throw EInvalidOperation("Pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is outside the " +
                                std::to_string(Width()) + " x " + std::to_string(Height()) + " bitmap");
    return static_cast<std::size_t>(y) * Width() + x;
}

std::uint32_t TBitmap::Pixels(int x, int y) const {
    const std::uint32_t value = FImage.Pixels[PixelAt(x, y)];
    return FImage.Indexed() ? FImage.Palette[value] : value;
}

void TBitmap::SetPixel(int x, int y, std::uint32_t color) {
    const std::size_t at = PixelAt(x, y);
    color &= 0xFFFFFFu;
    FImage.Pixels[at] = FImage.Indexed() ? NearestIndex(FImage.Palette, color) : color;
    Changed();
}

int TBitmap::PaletteIndex(int x, int y) const {
    const std::size_t at = PixelAt(x, y);
    if (!FImage.Indexed()) throw EInvalidGraphic("A " + std::to_string(FImage.BitsPerPixel) + "-bit bitmap has no palette");
    return static_cast<int>(FImage.Pixels[at]);
}

void TBitmap::SetPaletteIndex(int x, int y, int index) {
    const std::size_t at = PixelAt(x, y);
    if (!FImage.Indexed()) throw EInvalidGraphic("A " + std::to_string(FImage.BitsPerPixel) + "-bit bitmap has no palette");
    if (index < 0 || static_cast<std::size_t>(index) >= FImage.Palette.size())
        throw EInvalidGraphic("Palette entry " + std::to_string(index) + " does not exist");
    FImage.Pixels[at] = static_cast<std::uint32_t>(index);
    Changed();
}

void TBitmap::LoadFromMemory(const void* data, std::size_t size) {
    if (size == 0) {
        SetImage(TBitmapImage{});
        return;
    }
    SetImage(DecodeBmp(static_cast<const unsigned char*>(data), size));
}

void TBitmap::LoadFromStream(std::istream& stream) {
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
    LoadFromMemory(bytes.data(), bytes.size());
}

void TBitmap::LoadFromFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw Exception("Cannot open file \"" + path + "\"");
    LoadFromStream(file);
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    const auto data = FindResource(instance, name, rtBitmap);
    if (!data) throw EResNotFound("Resource " + name + " not found");
    LoadFromMemory(data->data(), data->size());
}

std::vector<unsigned char> TBitmap::SaveToMemory() const {
    if (Empty()) return {};
    return EncodeBmp(FImage);
}

void TBitmap::SaveToStream(std::ostream& stream) const {
    const std::vector<unsigned char> bytes = SaveToMemory();
    stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void TBitmap::SaveToFile(const std::string& path) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) throw Exception("Cannot create file \"" + path + "\"");
    SaveToStream(file);
    file.close();
    if (!file) throw Exception("Cannot write file \"" + path + "\"");
}

void TBitmap::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TBitmap*>(source)) {
        if (other != this) SetImage(other->FImage);
        return;
    }
    inherited::Assign(source);
}

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}

void TBitmap::SetImage(TBitmapImage image) {
    FImage = std::move(image);
    Changed();
}

namespace {

std::vector<unsigned char> BitmapData(const TBitmap& bitmap) {
    if (bitmap.Empty()) return {};
    const std::vector<unsigned char> file = bitmap.SaveToMemory();
    std::vector<unsigned char> data(4 + file.size());
    const auto size = static_cast<std::uint32_t>(file.size());
    for (int i = 0; i < 4; ++i) data[static_cast<size_t>(i)] = static_cast<unsigned char>(size >> (8 * i));
    std::copy(file.begin(), file.end(), data.begin() + 4);
    return data;
}

void SetBitmapData(TBitmap& bitmap, const std::vector<unsigned char>& data) {
    if (data.empty()) {
        bitmap.LoadFromMemory(nullptr, 0);
        return;
    }
    if (data.size() < 4) throw EPropertyError("Invalid property value");
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i) size |= static_cast<std::uint32_t>(data[static_cast<size_t>(i)]) << (8 * i);
    if (size > data.size() - 4) throw EPropertyError("Invalid property value");
    bitmap.LoadFromMemory(data.data() + 4, size);
}

} // namespace

void TBitmap::DeclarePublished(TPublisher& publisher) {
    publisher.Of<TBitmap>().Binary("Data", &BitmapData, &SetBitmapData);
}

} // namespace host
