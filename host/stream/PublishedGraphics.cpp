// The published data of bitmaps: a 4-byte little-endian size, then the BMP
// file.

#include "host/stream/Publisher.h"
#include "host/ui/Graphics.h"

namespace host {

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
