// BMP loading: only EInvalidGraphic escapes, a refused file leaves the bitmap
// as it was, a picture that loads saves and loads back as the same picture,
// and no header makes the bitmap larger than a small multiple of its file.

#include "host/ui/Graphics.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace host;

namespace {

// A picture the load must leave alone when it refuses a file.
void PaintKnown(TBitmap& bitmap) {
    bitmap.SetSize(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) bitmap.SetPixel(x, y, static_cast<std::uint32_t>(0x102030 * (x + 3 * y + 1)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Owned<TBitmap> bitmapOwned(TBitmap::Create());
    TBitmap& bitmap = *bitmapOwned;
    PaintKnown(bitmap);
    Owned<TBitmap> beforeOwned(TBitmap::Create());
    TBitmap& before = *beforeOwned;
    before.Assign(&bitmap);
    try {
        bitmap.LoadFromMemory(data, size);
    } catch (const EInvalidGraphic&) {
        fuzz::Check(bitmap.SamePicture(before), "a refused file changed the bitmap");
        return 0;
    }
    // Every pixel of a file takes at least one bit of it.
    const std::size_t pixels = static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height());
    fuzz::Check(pixels <= size * 8, "more pixels than bits in the file");

    const std::vector<unsigned char> saved = bitmap.SaveToMemory();
    Owned<TBitmap> reloadedOwned(TBitmap::Create());
    TBitmap& reloaded = *reloadedOwned;
    reloaded.LoadFromMemory(saved.data(), saved.size());
    fuzz::Check(reloaded.SamePicture(bitmap), "save and load gives another picture");
    fuzz::Check(reloaded.SaveToMemory() == saved, "saving again differs");
    return 0;
}
