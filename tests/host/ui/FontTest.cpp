#include "host/core/Exception.h"
#include "host/core/Strings.h"
#include "host/ui/Colors.h"
#include "host/ui/Controls.h"
#include "host/ui/Font.h"
#include "host/ui/Grids.h"

#include <gtest/gtest.h>

using namespace host;

TEST(Font, SizeFollowsHeightAtNinetySixPixelsPerInch) {
    Owned<TFont> font(TFont::Create());
    EXPECT_EQ(font->Height(), -11);
    EXPECT_EQ(font->Size(), 8);
    font->SetSize(10);
    EXPECT_EQ(font->Height(), -13);
    font->SetSize(12);
    EXPECT_EQ(font->Height(), -16);
    EXPECT_EQ(font->Size(), 12);
    // A positive height counts the internal leading; its size is negative.
    font->SetHeight(16);
    EXPECT_EQ(font->Size(), -12);

    EXPECT_EQ(MulDiv(-11, 72, 96), -8);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 5, 0), 0);
}

TEST(Font, AssignCopiesEverythingButTheHandlerAndTellsOnce) {
    Owned<TFont> source(TFont::Create());
    Owned<TFont> target(TFont::Create());
    int sourceChanges = 0;
    int targetChanges = 0;
    source->OnChange = [&](TObject*) { ++sourceChanges; };
    target->OnChange = [&](TObject*) { ++targetChanges; };

    source->SetName("Courier New");
    source->SetColor(clRed);
    source->SetStyle({fsBold, fsItalic});
    source->SetCharset(RUSSIAN_CHARSET);
    source->SetPitch(fpFixed);
    source->SetHeight(-15);
    EXPECT_EQ(sourceChanges, 6);

    target->Assign(source.get());
    EXPECT_EQ(targetChanges, 1);
    EXPECT_TRUE(target->SameAs(*source));
    EXPECT_EQ(target->Name(), "Courier New");
    EXPECT_EQ(target->Color(), clRed);
    EXPECT_TRUE(target->Style().Contains(fsItalic));
    EXPECT_EQ(target->Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(target->Height(), -15);

    // The target kept its own handler: changing it does not reach the source's.
    target->SetColor(clBlue);
    EXPECT_EQ(targetChanges, 2);
    EXPECT_EQ(sourceChanges, 6);
    // Assigning what it already holds tells nothing; setting the same value neither.
    target->SetColor(clRed);
    targetChanges = 0;
    target->Assign(source.get());
    target->SetName("Courier New");
    EXPECT_EQ(targetChanges, 0);

    Owned<TStringList> notAFont(TStringList::Create());
    EXPECT_THROW(target->Assign(notAFont.get()), EConvertError);
}

TEST(Colors, SystemAndRgbColoursAsTheFrameworkEncodesThem) {
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(clWindowText), 0xFF000008u);
    EXPECT_EQ(clRed, 0x0000FF);
    EXPECT_EQ(RGBColor(0x12, 0x34, 0x56), 0x563412);
    EXPECT_TRUE(IsSystemColor(clWindow));
    EXPECT_FALSE(IsSystemColor(clSilver));

    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clGreen), clGreen);
    EXPECT_EQ(ColorToPixel(clRed), 0xFF0000u);

    std::string ident;
    ASSERT_TRUE(ColorToIdent(clBtnFace, ident));
    EXPECT_EQ(ident, "clBtnFace");
    TColor color = clNone;
    ASSERT_TRUE(IdentToColor("CLWINDOWTEXT", color));
    EXPECT_EQ(color, clWindowText);
    EXPECT_FALSE(IdentToColor("clChartreuse", color));
    EXPECT_EQ(ColorToString(RGBColor(1, 2, 3)), "$00030201");
    EXPECT_EQ(StringToColor("$00030201"), RGBColor(1, 2, 3));
    EXPECT_EQ(StringToColor("clWhite"), clWhite);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_THROW(StringToColor("reddish"), EConvertError);

    TFontCharset charset = 0;
    ASSERT_TRUE(IdentToCharset("default_charset", charset));
    EXPECT_EQ(charset, DEFAULT_CHARSET);
    ASSERT_TRUE(CharsetToIdent(OEM_CHARSET, ident));
    EXPECT_EQ(ident, "OEM_CHARSET");
}

TEST(Colors, EveryNameTheFrameworkHasWithItsValueAndAColourToPaint) {
    const std::pair<const char*, std::uint32_t> named[] = {
        {"clMoneyGreen", 0xC0DCC0},       {"clSkyBlue", 0xF0CAA6},          {"clCream", 0xF0FBFF},
        {"clMedGray", 0xA4A0A0},          {"clNone", 0x1FFFFFFF},           {"clDefault", 0x20000000},
        {"clScrollBar", 0xFF000000},      {"clInfoBk", 0xFF000018},         {"clHotLight", 0xFF00001A},
        {"clGradientActiveCaption", 0xFF00001B}, {"clGradientInactiveCaption", 0xFF00001C},
        {"clMenuHighlight", 0xFF00001D},  {"clMenuBar", 0xFF00001E}};
    for (const auto& [name, value] : named) {
        TColor color = clBlack;
        ASSERT_TRUE(IdentToColor(name, color)) << name;
        EXPECT_EQ(static_cast<std::uint32_t>(color), value) << name;
        EXPECT_EQ(ColorToString(color), name) << "written back by name";
    }
    // The new system colours take the scheme's colours of their kind.
    EXPECT_EQ(ColorToRGB(clMenuHighlight), ColorToRGB(clHighlight));
    EXPECT_EQ(ColorToRGB(clMenuBar), ColorToRGB(clMenu));
    EXPECT_EQ(ColorToRGB(clHotLight), clNavy);
    EXPECT_EQ(ColorToRGB(clGradientActiveCaption), RGBColor(16, 132, 208));
    // A system colour written with the older base still paints as its own.
    EXPECT_EQ(ColorToRGB(MakeColor(0x80000005)), ColorToRGB(clWindow));
    EXPECT_EQ(ColorToString(StringToColor("$FF00000F")), "clBtnFace");
}

TEST(ControlLook, ChildrenFollowTheParentsFontAndColourUntilGivenTheirOwn) {
    Owned<TWinControl> parent(TWinControl::Create(nullptr));
    parent->SetColor(clTeal);
    parent->Font()->SetName("Arial");
    TWinControl* middle = TWinControl::Create(nullptr);
    TControl* leaf = TControl::Create(nullptr);
    leaf->SetParent(middle);
    middle->SetParent(parent.get());

    // Taking a parent copies its look, down the chain.
    EXPECT_EQ(middle->Font()->Name(), "Arial");
    EXPECT_EQ(leaf->Font()->Name(), "Arial");
    EXPECT_EQ(middle->Color(), clTeal);
    EXPECT_EQ(leaf->Color(), clTeal);
    EXPECT_TRUE(leaf->ParentFont());

    parent->Font()->SetSize(14);
    parent->SetColor(clNavy);
    EXPECT_EQ(leaf->Font()->Size(), 14);
    EXPECT_EQ(leaf->Color(), clNavy);

    // Changing the middle's own font ends its following; the leaf follows the middle.
    middle->Font()->SetStyle({fsBold});
    EXPECT_FALSE(middle->ParentFont());
    EXPECT_TRUE(leaf->Font()->Style().Contains(fsBold));
    parent->Font()->SetName("Tahoma");
    EXPECT_EQ(middle->Font()->Name(), "Arial");
    EXPECT_EQ(leaf->Font()->Name(), "Arial");

    // Turning ParentFont back on takes the parent's font at once.
    middle->SetParentFont(true);
    EXPECT_EQ(middle->Font()->Name(), "Tahoma");
    EXPECT_FALSE(middle->Font()->Style().Contains(fsBold));
    EXPECT_EQ(leaf->Font()->Name(), "Tahoma");

    leaf->SetColor(clRed);
    EXPECT_FALSE(leaf->ParentColor());
    parent->SetColor(clLime);
    EXPECT_EQ(middle->Color(), clLime);
    EXPECT_EQ(leaf->Color(), clRed);
}

TEST(ControlLook, GridTitleFontFollowsTheGridFontUntilChangedByItself) {
    Owned<TWinControl> form(TWinControl::Create(nullptr));
    form->Font()->SetName("Verdana");
    TDBGrid* grid = TDBGrid::Create(nullptr);
    grid->SetParent(form.get());
    EXPECT_EQ(grid->Color(), clWindow);
    EXPECT_EQ(grid->Font()->Name(), "Verdana");
    EXPECT_EQ(grid->TitleFont()->Name(), "Verdana");

    form->Font()->SetHeight(-13);
    EXPECT_EQ(grid->TitleFont()->Height(), -13);

    grid->TitleFont()->SetStyle({fsBold});
    form->Font()->SetName("Georgia");
    EXPECT_EQ(grid->Font()->Name(), "Georgia");
    EXPECT_EQ(grid->TitleFont()->Name(), "Verdana");
    EXPECT_TRUE(grid->TitleFont()->Style().Contains(fsBold));
}
