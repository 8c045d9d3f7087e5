// TBitmap: the BMP format read and written, the package's bitmaps, and the
// picture's own operations.

#include "host/core/Exception.h"
#include "host/core/Strings.h"
#include "host/package/Resource.h"
#include "host/ui/Graphics.h"
#include "lookup/Package.h"
#include "tests/host/package/BmpBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace host;
using bmptest::MakeBmp;
using bmptest::TBmpFields;

namespace {

constexpr std::uint32_t Silver = 0xC0C0C0, Black = 0x000000, White = 0xFFFFFF;

Owned<TBitmap> NewBitmap() { return MakeOwned<TBitmap>(); }

Owned<TBitmap> Loaded(const std::vector<unsigned char>& bytes) {
    auto bitmap = NewBitmap();
    bitmap->LoadFromMemory(bytes.data(), bytes.size());
    return bitmap;
}

std::vector<unsigned char> PackageBitmap(const char* name) {
    const auto data = FindResource(veskar::HInstance(), name, rtBitmap);
    if (!data) return {};
    return {data->begin(), data->end()};
}

// Every pixel's colour, top row first.
std::vector<std::uint32_t> Colors(const TBitmap& b) {
    std::vector<std::uint32_t> colors;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) colors.push_back(b.Pixels(x, y));
    return colors;
}

// A picture in the given format with many different colours.
Owned<TBitmap> Pattern(TPixelFormat format, int width, int height) {
    auto b = NewBitmap();
    b->SetPixelFormat(format);
    b->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (b->Palette().empty())
                b->SetPixel(x, y, static_cast<std::uint32_t>(x * 37 + y * 91) << 8 ^ static_cast<std::uint32_t>(x * y * 13));
            else
                b->SetPaletteIndex(x, y, (x * 3 + y * 5) % static_cast<int>(b->Palette().size()));
        }
    return b;
}

} // namespace

TEST(BitmapTest, LenzGlyphReadsAsTheMagnifyingGlassTable) {
    const char* rows[8] = {"SSSSSSSS", "SSSSKKSS", "SSSKWWKS", "SSSKWWKS",
                           "SSSKKKSS", "SSKKSSSS", "SKKSSSSS", "SSSSSSSS"};
    auto glyph = NewBitmap();
    glyph->LoadFromResourceName(veskar::HInstance(), "LENZ");
    ASSERT_EQ(glyph->Width(), 8);
    ASSERT_EQ(glyph->Height(), 8);
    EXPECT_EQ(glyph->PixelFormat(), pf4bit);
    EXPECT_EQ(glyph->BitsPerPixel(), 4);
    EXPECT_EQ(glyph->Palette().size(), 16u);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const char ink = rows[y][x];
            const std::uint32_t expected = ink == 'S' ? Silver : ink == 'K' ? Black : White;
            EXPECT_EQ(glyph->Pixels(x, y), expected) << "pixel " << x << ", " << y;
        }
}

TEST(BitmapTest, PaletteImagesAre24By24In16ColoursAndDistinct) {
    const char* names[] = {"TLOOKUPDIALOG", "TLOOKUPFILL", "TSMARTDBLOOKUP"};
    std::vector<Owned<TBitmap>> images;
    for (const char* name : names) {
        auto b = NewBitmap();
        b->LoadFromResourceName(veskar::HInstance(), name);
        EXPECT_EQ(b->Width(), 24) << name;
        EXPECT_EQ(b->Height(), 24) << name;
        EXPECT_EQ(b->PixelFormat(), pf4bit) << name;
        EXPECT_EQ(b->Palette().size(), 16u) << name;
        images.push_back(std::move(b));
    }
    EXPECT_FALSE(images[0]->SamePicture(*images[1]));
    EXPECT_FALSE(images[0]->SamePicture(*images[2]));
    EXPECT_FALSE(images[1]->SamePicture(*images[2]));
}

TEST(BitmapTest, FileAndStreamReadTheSamePictureAsTheResource) {
    auto fromResource = Loaded(PackageBitmap("LENZ"));
    auto fromFile = NewBitmap();
    fromFile->LoadFromFile(std::string(VESKAR_RESOURCE_DIR) + "/LENZ.bmp");
    EXPECT_TRUE(fromFile->SamePicture(*fromResource));

    std::stringstream stream;
    fromFile->SaveToStream(stream);
    auto fromStream = NewBitmap();
    fromStream->LoadFromStream(stream);
    EXPECT_TRUE(fromStream->SamePicture(*fromResource));

    try {
        fromFile->LoadFromFile("/nonexistent/dir/none.bmp");
        FAIL() << "a missing file loaded";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find("/nonexistent/dir/none.bmp"), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(fromFile->SamePicture(*fromResource));
}

TEST(BitmapTest, SaveToFileWritesABmpThatReadsBack) {
    auto original = Pattern(pf8bit, 5, 3);
    const std::string path = (std::filesystem::temp_directory_path() / "veskar_bitmap_test.bmp").string();
    original->SaveToFile(path);
    auto back = NewBitmap();
    back->LoadFromFile(path);
    std::remove(path.c_str());
    EXPECT_TRUE(back->SamePicture(*original));
}

TEST(BitmapTest, EveryWrittenFormatReadsBackUnchanged) {
    // Odd widths so that rows need padding and 1 and 4-bit rows end inside a byte.
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit})
        for (int width : {1, 7, 9, 13}) {
            auto original = Pattern(format, width, 3);
            const std::vector<unsigned char> bytes = original->SaveToMemory();
            ASSERT_GE(bytes.size(), 54u);
            EXPECT_EQ(bytes[0], 'B');
            EXPECT_EQ(bytes[1], 'M');
            auto back = Loaded(bytes);
            EXPECT_EQ(back->PixelFormat(), format);
            EXPECT_EQ(back->Palette(), original->Palette());
            EXPECT_EQ(Colors(*back), Colors(*original)) << "format " << format << ", width " << width;
        }
}

TEST(BitmapTest, TopDownAndBottomUpRowsReadAsTheSamePicture) {
    // Two rows of two 24-bit pixels; file pixels are blue, green, red.
    const std::vector<std::uint8_t> top{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00};      // red, green
    const std::vector<std::uint8_t> bottom{0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF};   // blue, white
    TBmpFields bottomUp{.Width = 2, .Height = 2, .Rows = {bottom, top}};
    TBmpFields topDown{.Width = 2, .Height = -2, .Rows = {top, bottom}};
    const std::vector<std::uint32_t> expected{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    EXPECT_EQ(Colors(*Loaded(MakeBmp(bottomUp))), expected);
    EXPECT_EQ(Colors(*Loaded(MakeBmp(topDown))), expected);

    // The same with a 4-bit palette image: the high nibble is the left pixel.
    TBmpFields indexed{.Width = 3, .Height = -2, .Bits = 4, .ColorsUsed = 3,
                       .Palette = {0x112233, 0x445566, 0x778899}, .Rows = {{0x01, 0x20}, {0x21, 0x00}}};
    auto b = Loaded(MakeBmp(indexed));
    EXPECT_EQ(b->Palette().size(), 3u);
    EXPECT_EQ(Colors(*b), (std::vector<std::uint32_t>{0x112233, 0x445566, 0x778899, 0x778899, 0x445566, 0x112233}));
    EXPECT_EQ(b->PaletteIndex(2, 0), 2);
}

TEST(BitmapTest, SixteenAndThirtyTwoBitPixelsReadThroughTheirMasks) {
    // 5-6-5 masks.
    TBmpFields masked{.Width = 4, .Height = 1, .Bits = 16, .Compression = 3,
                      .Masks = {0xF800, 0x07E0, 0x001F},
                      .Rows = {{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF}}};
    auto b = Loaded(MakeBmp(masked));
    EXPECT_EQ(b->PixelFormat(), pf24bit);
    EXPECT_EQ(Colors(*b), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));

    // Without masks 16 bits are 5-5-5.
    TBmpFields plain{.Width = 2, .Height = 1, .Bits = 16, .Rows = {{0x00, 0x7C, 0x1F, 0x00}}};
    EXPECT_EQ(Colors(*Loaded(MakeBmp(plain))), (std::vector<std::uint32_t>{0xFF0000, 0x0000FF}));

    // 32 bits: the fourth byte is not part of the colour.
    TBmpFields wide{.Width = 1, .Height = 1, .Bits = 32, .Rows = {{0x33, 0x22, 0x11, 0xEE}}};
    auto w = Loaded(MakeBmp(wide));
    EXPECT_EQ(w->PixelFormat(), pf32bit);
    EXPECT_EQ(w->Pixels(0, 0), 0x112233u);
}

TEST(BitmapTest, MalformedDataRaisesAndLeavesThePictureAsItWas) {
    const TBmpFields good{.Width = 2, .Height = 2, .Bits = 4, .ColorsUsed = 2,
                          .Palette = {0x000000, 0xFFFFFF}, .Rows = {{0x01}, {0x10}}};
    ASSERT_NO_THROW(Loaded(MakeBmp(good)));
    auto mutate = [&](auto change) {
        TBmpFields f = good;
        change(f);
        return MakeBmp(f);
    };
    std::vector<std::pair<const char*, std::vector<unsigned char>>> broken = {
        {"no colour planes", mutate([](TBmpFields& f) { f.Planes = 0; })},
        {"7 bits per pixel", mutate([](TBmpFields& f) { f.Bits = 7; })},
        {"run-length compressed", mutate([](TBmpFields& f) { f.Compression = 2; })},
        {"masks on a palette image", mutate([](TBmpFields& f) { f.Compression = 3; })},
        {"17 colours in 4 bits", mutate([](TBmpFields& f) { f.ColorsUsed = 17; })},
        {"palette past the end", mutate([](TBmpFields& f) { f.ColorsUsed = 16; })},
        {"pixel beyond its palette", mutate([](TBmpFields& f) { f.Rows = {{0x02}, {0x10}}; })},
        {"zero width", mutate([](TBmpFields& f) { f.Width = 0; })},
        {"negative width", mutate([](TBmpFields& f) { f.Width = -2; })},
        {"zero height", mutate([](TBmpFields& f) { f.Height = 0; })},
        {"lowest height", mutate([](TBmpFields& f) { f.Height = INT32_MIN; })},
        {"huge size", mutate([](TBmpFields& f) { f.Width = 0x7FFFFFFF; f.Height = 0x7FFFFFFF; })},
        {"more rows than bytes", mutate([](TBmpFields& f) { f.Height = 3; })},
        {"split colour mask", mutate([](TBmpFields& f) {
             f.Bits = 16; f.Compression = 3; f.Palette.clear(); f.ColorsUsed = 0;
             f.Masks = {0xF00F, 0x07E0, 0x001F}; f.Rows = {{0, 0, 0, 0}, {0, 0, 0, 0}};
         })},
    };
    std::vector<unsigned char> badMagic = MakeBmp(good);
    badMagic[0] = 'X';
    broken.push_back({"not BM", badMagic});
    std::vector<unsigned char> offsetPastEnd = MakeBmp(good);
    offsetPastEnd[10] = 0xFF;
    offsetPastEnd[11] = 0xFF;
    broken.push_back({"pixels past the end", offsetPastEnd});
    std::vector<unsigned char> offsetInHeader = MakeBmp(good);
    offsetInHeader[10] = 20;
    broken.push_back({"pixels inside the header", offsetInHeader});
    std::vector<unsigned char> hugeHeader = MakeBmp(good);
    hugeHeader[14 + 3] = 0x7F;
    broken.push_back({"header longer than the data", hugeHeader});
    std::vector<unsigned char> oddHeader = MakeBmp(good);
    oddHeader[14] = 20;
    broken.push_back({"unknown header size", oddHeader});

    auto kept = Loaded(PackageBitmap("LENZ"));
    auto reference = Loaded(PackageBitmap("LENZ"));
    int changes = 0;
    kept->OnChange = [&](TObject*) { ++changes; };
    for (const auto& [what, bytes] : broken)
        EXPECT_THROW(kept->LoadFromMemory(bytes.data(), bytes.size()), EInvalidGraphic) << what;
    EXPECT_THROW(kept->LoadFromMemory(nullptr, 10), EInvalidGraphic);
    EXPECT_TRUE(kept->SamePicture(*reference));
    EXPECT_EQ(changes, 0);
}

TEST(BitmapTest, EveryTruncationOfAFileRaises) {
    for (const char* name : {"LENZ", "TLOOKUPFILL"}) {
        const std::vector<unsigned char> whole = PackageBitmap(name);
        ASSERT_FALSE(whole.empty()) << name;
        for (std::size_t size = 1; size < whole.size(); ++size) {
            // A copy of exactly Size bytes, so a read past it is a fault the sanitizer sees.
            const std::vector<unsigned char> part(whole.begin(), whole.begin() + static_cast<long>(size));
            auto b = NewBitmap();
            EXPECT_THROW(b->LoadFromMemory(part.data(), part.size()), EInvalidGraphic) << name << " cut at " << size;
        }
    }
}

TEST(BitmapTest, CorruptedFilesRaiseOnlyTheGraphicError) {
    std::vector<std::vector<unsigned char>> seeds = {PackageBitmap("LENZ"), PackageBitmap("TSMARTDBLOOKUP"),
                                                     Pattern(pf1bit, 9, 3)->SaveToMemory(),
                                                     Pattern(pf32bit, 3, 2)->SaveToMemory()};
    std::mt19937 random(20240611);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<unsigned char> bytes = seeds[round % seeds.size()];
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i) {
            // Headers are where the damage matters; hit them most.
            const std::size_t limit = random() % 4 ? std::min<std::size_t>(bytes.size(), 70) : bytes.size();
            bytes[random() % limit] = static_cast<unsigned char>(random());
        }
        if (random() % 3 == 0) bytes.resize(1 + random() % bytes.size());
        auto b = NewBitmap();
        try {
            b->LoadFromMemory(bytes.data(), bytes.size());
            ++loaded;
            EXPECT_EQ(Colors(*b).size(), static_cast<std::size_t>(b->Width()) * b->Height());
        } catch (const EInvalidGraphic&) {
            ++refused;
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

TEST(BitmapTest, MissingResourceRaisesResourceNotFound) {
    auto b = Loaded(PackageBitmap("LENZ"));
    auto reference = Loaded(PackageBitmap("LENZ"));
    try {
        b->LoadFromResourceName(veskar::HInstance(), "NOSUCHGLYPH");
        FAIL() << "a missing resource loaded";
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), "Resource NOSUCHGLYPH not found");
    }
    // A resource of that name that is not a bitmap does not count.
    EXPECT_THROW(b->LoadFromResourceName(veskar::HInstance(), "DESCRIPTION"), EResNotFound);
    EXPECT_THROW(b->LoadFromResourceName(MainInstance(), "LENZ"), EResNotFound);
    EXPECT_THROW(b->LoadFromResourceName(nullptr, "LENZ"), EResNotFound);
    EXPECT_TRUE(b->SamePicture(*reference));
    EXPECT_NO_THROW(b->LoadFromResourceName(veskar::HInstance(), "lenz"));
}

TEST(BitmapTest, AssignCopiesThePictureAndReportsTheChange) {
    auto source = Loaded(PackageBitmap("TLOOKUPDIALOG"));
    auto target = NewBitmap();
    std::vector<TObject*> senders;
    target->OnChange = [&](TObject* sender) { senders.push_back(sender); };
    target->Assign(source.get());
    EXPECT_TRUE(target->SamePicture(*source));
    EXPECT_EQ(senders, std::vector<TObject*>{target.get()});
    EXPECT_FALSE(source->OnChange.Assigned());

    // The copy is its own: changing it leaves the source alone.
    target->SetPixel(0, 0, 0xFF0000);
    EXPECT_NE(source->Pixels(0, 0), target->Pixels(0, 0));

    auto strings = MakeOwned<TStringList>();
    EXPECT_THROW(target->Assign(strings.get()), EConvertError);
    EXPECT_THROW(target->Assign(nullptr), EConvertError);
}

TEST(BitmapTest, SizeAndPixelsKeepWhatFitsAndRefuseWhatDoesNot) {
    auto b = NewBitmap();
    EXPECT_TRUE(b->Empty());
    EXPECT_TRUE(b->SaveToMemory().empty());
    int changes = 0;
    b->OnChange = [&](TObject*) { ++changes; };
    b->SetSize(3, 2);
    EXPECT_FALSE(b->Empty());
    b->SetPixel(2, 1, 0x123456);
    b->SetSize(4, 4);
    EXPECT_EQ(b->Pixels(2, 1), 0x123456u);
    EXPECT_EQ(b->Pixels(3, 3), Black);
    EXPECT_EQ(changes, 3);
    b->SetSize(4, 4);
    EXPECT_EQ(changes, 3);

    EXPECT_THROW(b->Pixels(4, 0), EInvalidOperation);
    EXPECT_THROW(b->Pixels(0, -1), EInvalidOperation);
    EXPECT_THROW(b->SetPixel(-1, 0, White), EInvalidOperation);
    EXPECT_THROW(b->SetSize(-1, 3), EInvalidGraphic);
    EXPECT_THROW(b->SetSize(100000, 100000), EInvalidGraphic);
    EXPECT_THROW(b->PaletteIndex(0, 0), EInvalidGraphic);
    EXPECT_THROW(b->SetPalette({White}), EInvalidGraphic);
    EXPECT_EQ(b->Width(), 4);

    b->LoadFromMemory(nullptr, 0);
    EXPECT_TRUE(b->Empty());
}

TEST(BitmapTest, PixelFormatChangesKeepColoursAsFarAsThePaletteAllows) {
    auto b = NewBitmap();
    b->SetSize(3, 1);
    b->SetPixel(0, 0, 0xC0C0C0);
    b->SetPixel(1, 0, 0xFE0101);   // nearest standard colour: red
    b->SetPixel(2, 0, 0x0000FF);
    b->SetPixelFormat(pf4bit);
    EXPECT_EQ(b->Palette().size(), 16u);
    EXPECT_EQ(Colors(*b), (std::vector<std::uint32_t>{0xC0C0C0, 0xFF0000, 0x0000FF}));

    // A palette that fits a larger palette format is kept, with its entries.
    const int silverEntry = b->PaletteIndex(0, 0);
    b->SetPixelFormat(pf8bit);
    EXPECT_EQ(b->Palette().size(), 16u);
    EXPECT_EQ(b->PaletteIndex(0, 0), silverEntry);

    // Black and white: silver is nearer white, pure red and blue nearer black.
    b->SetPixelFormat(pf1bit);
    EXPECT_EQ(Colors(*b), (std::vector<std::uint32_t>{White, Black, Black}));

    // Back to 4 bits: the two-colour palette fits and stays, so a new palette
    // recolours the pixels through their entries.
    b->SetPixelFormat(pf4bit);
    EXPECT_EQ(b->Palette().size(), 2u);
    b->SetPalette({0x010203, 0x040506});
    EXPECT_EQ(Colors(*b), (std::vector<std::uint32_t>{0x040506, 0x010203, 0x010203}));
    EXPECT_THROW(b->SetPalette({}), EInvalidGraphic);
    EXPECT_THROW(b->SetPalette(std::vector<std::uint32_t>(17, 0)), EInvalidGraphic);
    EXPECT_THROW(b->SetPalette({0x010203}), EInvalidGraphic);   // entry 1 is in use
    EXPECT_THROW(b->SetPaletteIndex(0, 0, 2), EInvalidGraphic);

    b->SetPixelFormat(pf24bit);
    EXPECT_TRUE(b->Palette().empty());
    EXPECT_EQ(Colors(*b), (std::vector<std::uint32_t>{0x040506, 0x010203, 0x010203}));
}
