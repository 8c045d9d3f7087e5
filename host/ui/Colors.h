#pragma once
// Colours as the framework encodes them: a 32-bit value holding either an
// RGB colour (0x00BBGGRR: red in the low byte) or, with the top bit set, a
// system colour (0xFF000000 plus the index of a colour of the user's
// scheme), which ColorToRGB turns into the scheme's RGB value.

#include "host/core/Export.h"

#include <cstdint>
#include <functional>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

using TColor = std::int32_t;

constexpr TColor MakeColor(std::uint32_t value) { return static_cast<TColor>(value); }
// The TColor of an RGB colour.
constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return MakeColor(static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
                     (static_cast<std::uint32_t>(b) << 16));
}

// RGB colours.
constexpr TColor clBlack = MakeColor(0x000000);
constexpr TColor clMaroon = MakeColor(0x000080);
constexpr TColor clGreen = MakeColor(0x008000);
constexpr TColor clOlive = MakeColor(0x008080);
constexpr TColor clNavy = MakeColor(0x800000);
constexpr TColor clPurple = MakeColor(0x800080);
constexpr TColor clTeal = MakeColor(0x808000);
constexpr TColor clGray = MakeColor(0x808080);
constexpr TColor clSilver = MakeColor(0xC0C0C0);
constexpr TColor clRed = MakeColor(0x0000FF);
constexpr TColor clLime = MakeColor(0x00FF00);
constexpr TColor clYellow = MakeColor(0x00FFFF);
constexpr TColor clBlue = MakeColor(0xFF0000);
constexpr TColor clFuchsia = MakeColor(0xFF00FF);
constexpr TColor clAqua = MakeColor(0xFFFF00);
constexpr TColor clWhite = MakeColor(0xFFFFFF);
constexpr TColor clLtGray = clSilver;
constexpr TColor clDkGray = clGray;
constexpr TColor clMoneyGreen = MakeColor(0xC0DCC0);
constexpr TColor clSkyBlue = MakeColor(0xF0CAA6);
constexpr TColor clCream = MakeColor(0xF0FBFF);
constexpr TColor clMedGray = MakeColor(0xA4A0A0);
// No colour at all, and the control's default colour.
constexpr TColor clNone = MakeColor(0x1FFFFFFF);
constexpr TColor clDefault = MakeColor(0x20000000);

// System colours.
constexpr std::uint32_t kSystemColor = 0xFF000000u;
constexpr TColor clScrollBar = MakeColor(kSystemColor | 0);
constexpr TColor clBackground = MakeColor(kSystemColor | 1);
constexpr TColor clActiveCaption = MakeColor(kSystemColor | 2);
constexpr TColor clInactiveCaption = MakeColor(kSystemColor | 3);
constexpr TColor clMenu = MakeColor(kSystemColor | 4);
constexpr TColor clWindow = MakeColor(kSystemColor | 5);
constexpr TColor clWindowFrame = MakeColor(kSystemColor | 6);
constexpr TColor clMenuText = MakeColor(kSystemColor | 7);
constexpr TColor clWindowText = MakeColor(kSystemColor | 8);
constexpr TColor clCaptionText = MakeColor(kSystemColor | 9);
constexpr TColor clActiveBorder = MakeColor(kSystemColor | 10);
constexpr TColor clInactiveBorder = MakeColor(kSystemColor | 11);
constexpr TColor clAppWorkSpace = MakeColor(kSystemColor | 12);
constexpr TColor clHighlight = MakeColor(kSystemColor | 13);
constexpr TColor clHighlightText = MakeColor(kSystemColor | 14);
constexpr TColor clBtnFace = MakeColor(kSystemColor | 15);
constexpr TColor clBtnShadow = MakeColor(kSystemColor | 16);
constexpr TColor clGrayText = MakeColor(kSystemColor | 17);
constexpr TColor clBtnText = MakeColor(kSystemColor | 18);
constexpr TColor clInactiveCaptionText = MakeColor(kSystemColor | 19);
constexpr TColor clBtnHighlight = MakeColor(kSystemColor | 20);
constexpr TColor cl3DDkShadow = MakeColor(kSystemColor | 21);
constexpr TColor cl3DLight = MakeColor(kSystemColor | 22);
constexpr TColor clInfoText = MakeColor(kSystemColor | 23);
constexpr TColor clInfoBk = MakeColor(kSystemColor | 24);
constexpr TColor clHotLight = MakeColor(kSystemColor | 26);
constexpr TColor clGradientActiveCaption = MakeColor(kSystemColor | 27);
constexpr TColor clGradientInactiveCaption = MakeColor(kSystemColor | 28);
constexpr TColor clMenuHighlight = MakeColor(kSystemColor | 29);
constexpr TColor clMenuBar = MakeColor(kSystemColor | 30);

// The top bit alone marks a system colour, so values written with an older
// 0x80000000 base still paint as theirs.
constexpr bool IsSystemColor(TColor color) { return (static_cast<std::uint32_t>(color) & 0x80000000u) != 0; }

// The RGB value (0x00BBGGRR) of a colour: system colours through the
// standard scheme, clNone and clDefault as black, RGB colours as they are.
TColor ColorToRGB(TColor color);
// The same colour as 0x00RRGGBB, the order bitmaps keep their pixels in.
std::uint32_t ColorToPixel(TColor color);

// The identifier of a colour that has one ("clBtnFace"); false otherwise.
bool ColorToIdent(TColor color, std::string& ident);
// The colour an identifier names, letter case ignored; false when none.
bool IdentToColor(const std::string& ident, TColor& color);
// Calls Func with each colour identifier and its colour, in a fixed order.
void EnumColorIdents(const std::function<void(const char* ident, TColor color)>& func);
// The identifier, or "$" and eight hexadecimal digits.
std::string ColorToString(TColor color);
// An identifier or a number (decimal or "$" hexadecimal); raises
// EConvertError for anything else.
TColor StringToColor(const std::string& text);

} // namespace host

VESKAR_PUBLIC_END
