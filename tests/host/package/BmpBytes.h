#pragma once
// Builds BMP files field by field, so tests can make the odd and the broken
// ones that no drawing program writes.

#include <cstdint>
#include <vector>

namespace bmptest {

struct TBmpFields {
    std::int32_t Width = 1;
    std::int32_t Height = 1;
    std::uint16_t Bits = 24;
    std::uint16_t Planes = 1;
    std::uint32_t Compression = 0;
    std::uint32_t ColorsUsed = 0;          // written as given
    std::vector<std::uint32_t> Palette = {};  // 0x00RRGGBB, written after the header
    std::vector<std::uint32_t> Masks = {};    // written after the header, before the palette
    // Pixel rows in file order, each padded to 4 bytes when written.
    std::vector<std::vector<std::uint8_t>> Rows = {};
};

inline void Put(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

inline std::vector<unsigned char> MakeBmp(const TBmpFields& f) {
    const std::uint32_t offset =
        static_cast<std::uint32_t>(14 + 40 + 4 * f.Masks.size() + 4 * f.Palette.size());
    std::vector<unsigned char> out{'B', 'M'};
    Put(out, 0, 4);   // file size: readers do not rely on it
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(f.Width), 4);
    Put(out, static_cast<std::uint32_t>(f.Height), 4);
    Put(out, f.Planes, 2);
    Put(out, f.Bits, 2);
    Put(out, f.Compression, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    Put(out, f.ColorsUsed, 4);
    Put(out, 0, 4);
    for (std::uint32_t mask : f.Masks) Put(out, mask, 4);
    for (std::uint32_t color : f.Palette) Put(out, color, 4);
    for (const auto& row : f.Rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize(out.size() + (4 - row.size() % 4) % 4, 0);
    }
    return out;
}

} // namespace bmptest
