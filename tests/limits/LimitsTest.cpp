// Reading a form file, a connection string or a bitmap holds no more memory
// at its peak than a bounded multiple of the input, whatever the input says
// about itself (a length, a size, a count); a form nested beyond any sane
// depth is refused with a clear error instead of running the stack out.

#include "host/core/Exception.h"
#include "host/core/FormTree.h"
#include "host/core/StreamErrors.h"
#include "host/core/Strings.h"
#include "host/stream/FormBinary.h"
#include "host/stream/Reader.h"
#include "host/ui/Backend.h"
#include "host/ui/BmpFormat.h"
#include "lookup/Lsdblkp.h"
#include "tests/fuzz/FuzzForms.h"
#include "tests/host/package/BmpBytes.h"
#include "tests/limits/AllocationMeter.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace host;
using limits::TAllocationMeter;

// The worst a form may cost per byte: one byte of a binary form can be a
// whole value of the form's tree (a list element), some 170 bytes, and the
// list holding it grows by doubling.
constexpr double FormFactor = 512;
// A pair of names costs two list items for as little as four bytes.
constexpr double ConnectionFactor = 64;
// A pixel of one bit becomes a 32-bit colour.
constexpr double BitmapFactor = 40;
// What reading anything may take besides: error messages, first-use tables.
constexpr std::size_t Slack = 64 * 1024;

std::string Repeat(const std::string& part, int count) {
    std::string all;
    for (int i = 0; i < count; ++i) all += part;
    return all;
}

// The most Work held at once, above what was held before it; the errors
// of the host it raises are what a reader may answer with.
std::size_t PeakOf(const std::function<void()>& work) {
    const TAllocationMeter meter;
    try {
        work();
    } catch (const Exception&) {
    }
    return meter.Peak();
}

std::string FormText(const std::string& body) { return "object F: TFuzzForm\n" + body + "end\n"; }

// A binary form whose root holds one property Tag with the value bytes given.
std::string BinaryForm(const std::string& value) {
    return std::string("TPF0\x09TFuzzForm\x01" "F\x03Tag", 20) + value + std::string("\0\0", 2);
}

const int Many = 20000;

TEST(LimitsTest, FormFilesHoldABoundedMultipleOfTheirSize) {
    fuzz::RegisterFormClasses();
    const std::vector<std::string> texts = {
        FormText(Repeat("  object TEdit\n  end\n", Many / 10)),
        FormText("  Tag = (" + Repeat(" 1", Many) + ")\n"),
        FormText("  Tag = (" + Repeat("True ", Many) + ")\n"),
        FormText("  Caption = " + Repeat("#65", Many) + "\n"),
        FormText("  Anchors = [" + Repeat("a,", Many) + "a]\n"),
        FormText("  Tag = <" + Repeat(" item end", Many) + ">\n"),
        FormText("  Tag = {" + Repeat("00", Many) + "}\n"),
        FormText("  object L: TListBox\n    Items.Strings = (" + Repeat("'' ", Many) + ")\n  end\n"),
    };
    std::vector<std::string> binaries = {
        BinaryForm("\x01" + Repeat("\x09", Many) + std::string(1, '\0')),  // a list of True
        BinaryForm(std::string("\x0C\xFF\xFF\xFF\xFF", 5)),                // a long string longer than the file
        BinaryForm(std::string("\x0A\xFF\xFF\xFF\x7F", 5)),                // binary data likewise
        BinaryForm(std::string("\x12\xFF\xFF\xFF\xFF", 5)),                // a wide string likewise
        BinaryForm("\x0B" + Repeat(std::string("\x01" "a", 2), Many)),     // a set never closed
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 80));
        EXPECT_LE(PeakOf([&] { ParseFormText(text); }), FormFactor * text.size() + Slack);
        EXPECT_LE(PeakOf([&] { Owned<TComponent>(CreateComponentFromText(text)); }), FormFactor * text.size() + Slack);
        binaries.push_back(ObjectTextToBinary(text));
    }
    for (const std::string& binary : binaries) {
        SCOPED_TRACE(binary.substr(0, 40));
        EXPECT_LE(PeakOf([&] { ParseFormBinary(binary); }), FormFactor * binary.size() + Slack);
    }
}

TEST(LimitsTest, ConnectionStringsHoldABoundedMultipleOfTheirSize) {
    for (const std::string& text : {Repeat("a,b;", Many), Repeat(";", Many), Repeat("a,", Many),
                                    Repeat("\"\",\"\";", Many), Repeat("\"", Many), Repeat("x", Many)}) {
        SCOPED_TRACE(text.substr(0, 20));
        EXPECT_LE(PeakOf([&] {
                      Owned<TStringList> keys(TStringList::Create()), lookups(TStringList::Create());
                      veskar::String2Lists(text, *keys, *lookups);
                      HeadlessBackend()->ClearShown();
                  }),
                  ConnectionFactor * text.size() + Slack);
    }
}

TEST(LimitsTest, BitmapsHoldABoundedMultipleOfTheirSize) {
    using bmptest::TBmpFields;
    // The most pixels for the bytes: one bit each.
    TBmpFields dense;
    dense.Width = 2048;
    dense.Height = 256;
    dense.Bits = 1;
    dense.Palette = {0x000000, 0xFFFFFF};
    dense.Rows.assign(256, std::vector<std::uint8_t>(256, 0x5A));
    std::vector<std::vector<unsigned char>> files = {bmptest::MakeBmp(dense)};
    // Headers that ask for far more than the file holds.
    for (auto [width, height, bits] : {std::tuple{0x7FFFFFFF, 1, 1}, {30000, 30000, 24}, {1, -0x7FFFFFFF, 32},
                                       {0x10000, 0x10000, 8}}) {
        TBmpFields huge;
        huge.Width = width;
        huge.Height = height;
        huge.Bits = static_cast<std::uint16_t>(bits);
        if (bits <= 8) huge.Palette.assign(2, 0);
        huge.Rows = {{1, 2, 3, 4}};
        files.push_back(bmptest::MakeBmp(huge));
    }
    TBmpFields colours;
    colours.Bits = 8;
    colours.ColorsUsed = 0xFFFFFFFF;
    files.push_back(bmptest::MakeBmp(colours));

    for (const auto& file : files) {
        SCOPED_TRACE(std::to_string(file.size()) + " bytes");
        EXPECT_LE(PeakOf([&] { DecodeBmp(file.data(), file.size()); }), BitmapFactor * file.size() + Slack);
    }
    EXPECT_NO_THROW(DecodeBmp(files[0].data(), files[0].size())) << "the dense picture is a good one";
    for (size_t i = 1; i < files.size(); ++i) EXPECT_THROW(DecodeBmp(files[i].data(), files[i].size()), EInvalidGraphic);
}

// Panels nested Depth deep in a form text.
std::string NestedPanels(int depth) {
    std::string text = "object F: TFuzzForm\n";
    for (int i = 0; i < depth; ++i) text += std::string(i + 2, ' ') + "object P" + std::to_string(i) + ": TPanel\n";
    for (int i = depth - 1; i >= 0; --i) text += std::string(i + 2, ' ') + "end\n";
    return text + "end\n";
}

TEST(LimitsTest, NestingBeyondASaneDepthIsRefusedWithItsPlace) {
    fuzz::RegisterFormClasses();
    // Deeper than forms are made, still read.
    EXPECT_NO_THROW(Owned<TComponent>(CreateComponentFromText(NestedPanels(60))));
    EXPECT_NO_THROW(ParseFormBinary(ObjectTextToBinary(NestedPanels(60))));

    const std::string deepText = NestedPanels(5000);
    try {
        ParseFormText(deepText);
        ADD_FAILURE() << "a text nested 5000 deep was read";
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Reason(), "Form text nested too deeply");
        EXPECT_GT(e.Line(), 200);
        EXPECT_NE(e.Message().find("line"), std::string::npos) << e.Message();
    }
    EXPECT_THROW(Owned<TComponent>(CreateComponentFromText(deepText)), EReadError);
    const std::string deepList = FormText("  Tag = " + Repeat("(", 5000) + Repeat(")", 5000) + "\n");
    try {
        ParseFormText(deepList);
        ADD_FAILURE() << "lists nested 5000 deep were read";
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Reason(), "Form text nested too deeply");
    }

    // Binary: objects in objects, and lists in lists.
    std::string objects = "TPF0";
    for (int i = 0; i < 5000; ++i) objects += std::string("\x06TPanel\x00\x00", 9);
    const std::string lists = BinaryForm(std::string(5000, '\x01') + std::string(5000, '\0'));
    for (const std::string& binary : {objects, lists}) {
        try {
            ParseFormBinary(binary);
            ADD_FAILURE() << "a binary form nested 5000 deep was read";
        } catch (const EParserError& e) {
            EXPECT_EQ(e.Reason(), "Form nested too deeply") << binary.substr(0, 30);
            EXPECT_NE(e.Message().find("offset"), std::string::npos) << e.Message();
        }
    }
}

} // namespace
